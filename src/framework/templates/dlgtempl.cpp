#include "framework/templates/dlgtempl.h"

#include <cstring>

#include "framework/templates/resources.h"

namespace fw {

namespace {

// A template in memory of unknown length is read with this bound: the reader
// stops at the end of the last item, and no template of this module comes
// near it.
constexpr size_t kTemplateReadLimit = 1u << 20;

}  // namespace

size_t DialogTemplateSize(LPCDLGTEMPLATE pTemplate) {
    if (pTemplate == nullptr) {
        return 0;
    }
    size_t used = 0;
    auto parsed = ParseDialogTemplate(
        ByteView(reinterpret_cast<const uint8_t*>(pTemplate), kTemplateReadLimit), &used);
    return parsed ? used : 0;
}

CDialogTemplate::CDialogTemplate(LPCDLGTEMPLATE pTemplate) {
    size_t size = DialogTemplateSize(pTemplate);
    if (size != 0) {
        Parse(ByteView(reinterpret_cast<const uint8_t*>(pTemplate), size));
    }
}

BOOL CDialogTemplate::Load(UINT nIDResource) {
    std::optional<ByteView> bytes =
        LoadResourceBytes(ResourceType::Dialog, static_cast<uint16_t>(nIDResource));
    if (!bytes) {
        m_template.reset();
        m_bytes.clear();
        return FALSE;
    }
    return Parse(*bytes);
}

BOOL CDialogTemplate::SetTemplate(LPCDLGTEMPLATE pTemplate, UINT cb) {
    if (pTemplate == nullptr) {
        return FALSE;
    }
    return Parse(ByteView(reinterpret_cast<const uint8_t*>(pTemplate), cb));
}

BOOL CDialogTemplate::SetTemplate(const std::vector<uint8_t>& bytes) {
    return Parse(ByteView(bytes));
}

BOOL CDialogTemplate::Parse(ByteView bytes) {
    size_t used = 0;
    m_template = ParseDialogTemplate(bytes, &used);
    if (!m_template) {
        m_bytes.clear();
        return FALSE;
    }
    m_bytes.assign(bytes.data, bytes.data + used);
    return TRUE;
}

BOOL CDialogTemplate::SetFont(LPCSTR lpFaceName, WORD nFontSize) {
    if (!m_template || lpFaceName == nullptr) {
        return FALSE;
    }
    m_template->SetFont(std::string_view(lpFaceName), nFontSize);
    m_bytes = m_template->Serialize(m_template->format);
    return TRUE;
}

BOOL CDialogTemplate::RemoveCaption() {
    if (!m_template) {
        return FALSE;
    }
    m_template->caption.clear();
    m_bytes = m_template->Serialize(m_template->format);
    return TRUE;
}

BOOL CDialogTemplate::GetFont(std::string& faceName, WORD& nFontSize) const {
    if (!m_template || !m_template->font) {
        return FALSE;
    }
    faceName = m_template->font->Face();
    nFontSize = m_template->font->pointSize;
    return TRUE;
}

LPCDLGTEMPLATE CDialogTemplate::GetTemplate() const {
    return m_bytes.empty() ? nullptr : reinterpret_cast<LPCDLGTEMPLATE>(m_bytes.data());
}

BOOL CDialogTemplate::CopyTo(LPDLGTEMPLATE pDest, size_t cbRoom) const {
    if (pDest == nullptr || m_bytes.empty() || m_bytes.size() > cbRoom) {
        return FALSE;
    }
    std::memmove(pDest, m_bytes.data(), m_bytes.size());
    return TRUE;
}

}  // namespace fw
