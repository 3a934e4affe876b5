#include "framework/windows/app.h"

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

const char* AfxGetAppName() {
    if (s_pApp != nullptr && s_pApp->m_pszAppName != nullptr) {
        return s_pApp->m_pszAppName;
    }
    return kDefaultAppName;
}

}  // namespace fw
