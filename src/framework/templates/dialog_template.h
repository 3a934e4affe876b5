// Compiled dialog resources as plain structures: dialog templates (the
// classic DLGTEMPLATE and DLGTEMPLATEEX), the initial list data of a dialog's
// controls (DLGINIT) and bitmaps. Both backends create their dialogs from
// these structures; the property sheet uses DialogTemplate to rewrite the
// font of its own template and of every page.
//
// Parsing never reads outside the given bytes: a truncated or malformed
// resource gives nullopt.
//
// Classes and functions in this file:
//   ControlClass                  atoms of the predefined control classes
//   DialogFont, DialogItemTemplate, DialogTemplate   a parsed template
//   ParseDialogTemplate, LoadDialogTemplate
//   DlgInitEntry, ParseDlgInit, LoadDlgInit
//   Bitmap, ParseBitmap, LoadBitmapResource
#ifndef SETUP_FRAMEWORK_DIALOG_TEMPLATE_H
#define SETUP_FRAMEWORK_DIALOG_TEMPLATE_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/templates/resources.h"

namespace fw {

// The window classes a template can name by atom instead of by name.
enum class ControlClass : uint16_t {
    Button = 0x0080,
    Edit = 0x0081,
    Static = 0x0082,
    ListBox = 0x0083,
    ScrollBar = 0x0084,
    ComboBox = 0x0085,
};

enum class TemplateFormat {
    Classic,   // DLGTEMPLATE / DLGITEMTEMPLATE
    Extended,  // DLGTEMPLATEEX / DLGITEMTEMPLATEEX
};

// Template styles the parser itself depends on.
constexpr uint32_t kDialogStyleSetFont = 0x40;  // DS_SETFONT: the template names a font
// A DS_SETFONT point size that means "the system's message-box font": no
// weight, italic, character set or face follow it.
constexpr uint16_t kMessageBoxFontPointSize = 0x7FFF;

struct DialogFont {
    uint16_t pointSize = 0;
    // Extended templates only; a classic template's font is FW_DONTCARE (0),
    // not italic, DEFAULT_CHARSET (1), as the dialog manager creates it.
    uint16_t weight = 0;
    bool italic = false;
    uint8_t charset = 1;
    std::u16string face;

    std::string Face() const { return NarrowFromWide(face); }
    bool operator==(const DialogFont& other) const {
        return pointSize == other.pointSize && weight == other.weight && italic == other.italic &&
               charset == other.charset && face == other.face;
    }
};

struct DialogItemTemplate {
    uint32_t helpId = 0;  // extended templates only
    uint32_t exStyle = 0;
    uint32_t style = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    // The control ID: a classic template stores a WORD (an unnamed static is
    // 65535 there), an extended one a DWORD (-1 for an unnamed static).
    int32_t id = 0;
    NameOrOrdinal windowClass;  // an atom (ControlClass) or a class name
    NameOrOrdinal title;        // the text, or a resource ordinal (a bitmap static's image)
    std::vector<uint8_t> creationData;

    bool Is(ControlClass controlClass) const {
        return windowClass.ordinal == static_cast<uint16_t>(controlClass);
    }
    // The title as narrow text; empty when the title is an ordinal.
    std::string Text() const { return NarrowFromWide(title.name); }
};

struct DialogTemplate {
    TemplateFormat format = TemplateFormat::Extended;
    uint32_t helpId = 0;  // extended templates only
    uint32_t exStyle = 0;
    uint32_t style = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::u16string caption;
    // Present exactly when the style has DS_SETFONT.
    std::optional<DialogFont> font;
    std::vector<DialogItemTemplate> items;

    std::string Caption() const { return NarrowFromWide(caption); }
    // The first item with this control ID, or nullptr.
    const DialogItemTemplate* FindItem(int32_t id) const;

    // Replaces the font's face and point size, keeping its weight, italic and
    // character set. A template without a font (or with the message-box font)
    // gets one, and DS_SETFONT, of default weight (FW_DONTCARE), not italic,
    // in the default character set.
    void SetFont(std::u16string_view face, uint16_t pointSize);
    void SetFont(std::string_view face, uint16_t pointSize) {
        SetFont(std::u16string_view(WideFromNarrow(face)), pointSize);
    }

    // The template as the dialog manager reads it, DWORD-aligned from the
    // first byte. Extended is the default; Classic drops what that format
    // cannot hold (help IDs, font weight, italic and character set) and keeps
    // only the low word of control IDs; a template whose style would read as
    // the extended format's signature (0xFFFF0001) is written extended. A
    // template of more than 65535 items cannot be written.
    std::vector<uint8_t> Serialize(TemplateFormat as = TemplateFormat::Extended) const;
};

// Parses a DLGTEMPLATE or DLGTEMPLATEEX. When `bytesUsed` is given it
// receives the length of the template (up to the end of its last item), so
// a caller holding a template in memory of unknown size can pass an upper
// bound. nullopt when the bytes are truncated or malformed.
std::optional<DialogTemplate> ParseDialogTemplate(ByteView bytes, size_t* bytesUsed = nullptr);

// The module's dialog template `id` (RT_DIALOG), parsed.
std::optional<DialogTemplate> LoadDialogTemplate(uint16_t id);

// Messages a DLGINIT entry can carry. They keep their 16-bit Windows numbers
// (WM_USER + 1 and + 3); the framework sends LB_ADDSTRING and CB_ADDSTRING.
constexpr uint16_t kDlgInitListBoxAddString = 0x0401;
constexpr uint16_t kDlgInitComboBoxAddString = 0x0403;

struct DlgInitEntry {
    uint16_t controlId = 0;
    uint16_t message = 0;
    std::vector<uint8_t> data;

    // The data up to its first NUL: the item's narrow text, used as stored.
    std::string Text() const;
};

// Parses DLGINIT data: entries of control ID (WORD), message (WORD), data
// length (DWORD) and data, ended by a 0 WORD. nullopt when an entry runs past
// the end or the end marker is missing.
std::optional<std::vector<DlgInitEntry>> ParseDlgInit(ByteView bytes);

// The initial list data stored under dialog `dialogId`: an empty list when
// the dialog has none, nullopt when it is malformed.
std::optional<std::vector<DlgInitEntry>> LoadDlgInit(uint16_t dialogId);

struct Bitmap {
    int32_t width = 0;
    int32_t height = 0;  // always positive; `topDown` says how the rows were stored
    bool topDown = false;
    uint16_t bitCount = 0;
    uint32_t colorsUsed = 0;  // entries in the colour table
    // One COLORREF (0x00BBGGRR) per pixel, rows from top to bottom.
    std::vector<uint32_t> pixels;

    uint32_t Pixel(int32_t x, int32_t y) const {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
};

// Parses a packed DIB as a BITMAP resource holds it: BITMAPINFOHEADER (or a
// later, longer header), the colour table, the pixels. Uncompressed 1, 4, 8,
// 16 (5-5-5), 24 and 32 bits per pixel are read; anything else is nullopt.
std::optional<Bitmap> ParseBitmap(ByteView bytes);

// The module's bitmap `id` (RT_BITMAP), parsed.
std::optional<Bitmap> LoadBitmapResource(uint16_t id);

}  // namespace fw

#endif
