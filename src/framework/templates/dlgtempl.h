// CDialogTemplate: a dialog template held in memory that can be loaded from
// the module's resources or from a template in memory, given another font,
// and written back. The property sheet forces one font on itself and on its
// pages with it.
//
// A template keeps the format it was read in (DLGTEMPLATE or DLGTEMPLATEEX);
// a new face name can make it longer, so writing it back over another
// template checks the room there (CopyTo): a template handed over by the
// platform is rewritten within its own size, and RemoveCaption makes room
// where the window's title comes from elsewhere.
#ifndef SETUP_FRAMEWORK_DLGTEMPL_H
#define SETUP_FRAMEWORK_DLGTEMPL_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/templates/dialog_template.h"
#include "framework/winapi.h"

namespace fw {

class CDialogTemplate {
public:
    CDialogTemplate() = default;
    // Reads the template at pTemplate; its size is found by reading it.
    explicit CDialogTemplate(LPCDLGTEMPLATE pTemplate);

    // The module's template nIDResource; FALSE when there is none.
    BOOL Load(UINT nIDResource);
    BOOL SetTemplate(LPCDLGTEMPLATE pTemplate, UINT cb);
    BOOL SetTemplate(const std::vector<uint8_t>& bytes);
    // TRUE when a well-formed template is held.
    BOOL IsValid() const { return m_template.has_value(); }

    // Replaces the face name and point size (weight, italic and character set
    // are kept); a template without a font gets DS_SETFONT and this one.
    BOOL SetFont(LPCSTR lpFaceName, WORD nFontSize);
    // FALSE when the template names no font.
    BOOL GetFont(std::string& faceName, WORD& nFontSize) const;
    // Empties the caption text (the template keeps its WS_CAPTION style), for
    // a window whose title is set otherwise: a property sheet takes its title
    // from its header (PROPSHEETHEADER pszCaption) once it is created.
    BOOL RemoveCaption();

    // The template's bytes as the dialog manager reads them.
    const std::vector<uint8_t>& GetBytes() const { return m_bytes; }
    LPCDLGTEMPLATE GetTemplate() const;
    size_t GetTemplateSize() const { return m_bytes.size(); }
    // Copies the template over the one at pDest when it fits in the cbRoom
    // bytes there; FALSE (and nothing written) when it does not.
    BOOL CopyTo(LPDLGTEMPLATE pDest, size_t cbRoom) const;

private:
    BOOL Parse(ByteView bytes);

    std::optional<DialogTemplate> m_template;
    std::vector<uint8_t> m_bytes;
};

// The length of the template at pTemplate, found by reading it; 0 when it is
// not a well-formed template.
size_t DialogTemplateSize(LPCDLGTEMPLATE pTemplate);

}  // namespace fw

#endif
