#include "framework/dialogs/msgbox.h"

#include "framework/api.h"
#include "framework/windows/app.h"
#include "framework/windows/wnd.h"

namespace fw {

int AfxMessageBox(const std::string& text, UINT nType) {
    return api::MessageBox(CWnd::GetSafeOwner(nullptr), text.c_str(), AfxGetAppName(), nType);
}

int MessageBox(CWnd* pOwner, const std::string& text, const std::string& caption, UINT nType) {
    return api::MessageBox(pOwner != nullptr ? pOwner->m_hWnd : nullptr, text.c_str(),
                           caption.c_str(), nType);
}

}  // namespace fw
