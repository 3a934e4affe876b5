#include "framework/app.h"

#include "framework/api.h"
#include "framework/wnd.h"

namespace fw {

namespace {

CWinApp* s_pApp = nullptr;

const char kDefaultAppName[] = "Setup";

}  // namespace

CWinApp::CWinApp(const char* lpszAppName) : m_pszAppName(lpszAppName) {
    s_pApp = this;
}

CWinApp::~CWinApp() {
    if (s_pApp == this) {
        s_pApp = nullptr;
    }
}

HCURSOR CWinApp::LoadStandardCursor(LPCSTR lpszCursorName) const {
    return fw::LoadStandardCursor(lpszCursorName);
}

CWinApp* AfxGetApp() {
    return s_pApp;
}

const char* AfxGetAppName() {
    if (s_pApp != nullptr && s_pApp->m_pszAppName != nullptr) {
        return s_pApp->m_pszAppName;
    }
    return kDefaultAppName;
}

int AfxMessageBox(const std::string& text, UINT nType) {
    return api::MessageBox(CWnd::GetSafeOwner(nullptr), text.c_str(), AfxGetAppName(), nType);
}

int MessageBox(CWnd* pOwner, const std::string& text, const std::string& caption, UINT nType) {
    return api::MessageBox(pOwner != nullptr ? pOwner->m_hWnd : nullptr, text.c_str(),
                           caption.c_str(), nType);
}

HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) {
    return api::LoadCursor(nullptr, lpszCursorName);
}

HCURSOR SetCursor(HCURSOR hCursor) {
    return api::SetCursor(hCursor);
}

COLORREF GetSysColor(int nIndex) {
    return static_cast<COLORREF>(api::GetSysColor(nIndex));
}

HBRUSH GetSysColorBrush(int nIndex) {
    return api::GetSysColorBrush(nIndex);
}

BOOL PostToTopLevelWindow(LPCSTR lpszClassName, LPCSTR lpszWindowName, UINT message, WPARAM wParam,
                          LPARAM lParam) {
    HWND hWnd = api::FindWindow(lpszClassName, lpszWindowName);
    if (hWnd == nullptr) {
        return FALSE;
    }
    return api::PostMessage(hWnd, message, wParam, lParam);
}

HINSTANCE ShellExecute(CWnd* pOwner, LPCSTR lpszVerb, LPCSTR lpszFile, LPCSTR lpszParameters,
                       LPCSTR lpszDirectory, INT nShowCmd) {
    return api::ShellExecute(pOwner != nullptr ? pOwner->m_hWnd : nullptr, lpszVerb, lpszFile,
                             lpszParameters, lpszDirectory, nShowCmd);
}

}  // namespace fw
