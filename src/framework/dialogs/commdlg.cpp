#include "framework/dialogs/commdlg.h"

#include <cstring>

#include "framework/api.h"
#include "framework/windows/wnd.h"

namespace fw {

namespace {

// The property a test driver recognises a common dialog by, and its values.
const char kCommonDialogProperty[] = "SetupCommonDialog";
constexpr UINT_PTR kColorDialogMark = 1;
constexpr UINT_PTR kOpenDialogMark = 2;
constexpr UINT_PTR kSaveDialogMark = 3;

HANDLE Mark(UINT_PTR value) {
    return reinterpret_cast<HANDLE>(value);
}

}  // namespace

std::string FileDialogFilter(const char* lpszFilter) {
    std::string filter = lpszFilter != nullptr ? lpszFilter : "";
    for (char& c : filter) {
        if (c == '|') {
            c = '\0';
        }
    }
    return filter;
}

// --- CFileDialog ------------------------------------------------------------------

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName,
                         DWORD dwFlags, LPCSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_pParentWnd(pParentWnd) {
    std::memset(&m_ofn, 0, sizeof(m_ofn));
    std::memset(m_szFileName, 0, sizeof(m_szFileName));
    std::memset(m_szFileTitle, 0, sizeof(m_szFileTitle));
    if (lpszFileName != nullptr) {
        std::strncpy(m_szFileName, lpszFileName, sizeof(m_szFileName) - 1);
    }
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof(m_szFileName);
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof(m_szFileTitle);
    m_ofn.Flags = dwFlags | OFN_ENABLEHOOK | OFN_EXPLORER;
    m_ofn.lpfnHook = &HookProc;
    m_ofn.lCustData = static_cast<LPARAM>(bOpenFileDialog ? kOpenDialogMark : kSaveDialogMark);
    if (lpszDefExt != nullptr) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt.c_str();
    }
    if (lpszFilter != nullptr) {
        m_strFilter = FileDialogFilter(lpszFilter);
        m_ofn.lpstrFilter = m_strFilter.c_str();
    }
}

void CFileDialog::SetTitle(const std::string& title) {
    m_strTitle = title;
    m_ofn.lpstrTitle = m_strTitle.c_str();
}

void CFileDialog::SetInitialDir(const std::string& directory) {
    m_strInitialDir = directory;
    m_ofn.lpstrInitialDir = m_strInitialDir.c_str();
}

INT_PTR CFileDialog::DoModal() {
    m_ofn.hwndOwner = CWnd::GetSafeOwner(m_pParentWnd);
    BOOL chosen = m_bOpenFileDialog ? api::GetOpenFileName(&m_ofn) : api::GetSaveFileName(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}

UINT_PTR CALLBACK CFileDialog::HookProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
    // An explorer-style dialog calls the hook for a child dialog of its own;
    // the mark goes on the file dialog, the child's parent.
    if (message == WM_INITDIALOG) {
        const auto* ofn = reinterpret_cast<const OPENFILENAME*>(lParam);
        HWND hWndDialog = api::GetParent(hWnd);
        if (ofn != nullptr && hWndDialog != nullptr) {
            api::SetProp(hWndDialog, kCommonDialogProperty,
                         Mark(static_cast<UINT_PTR>(ofn->lCustData)));
        }
    } else if (message == WM_DESTROY) {
        HWND hWndDialog = api::GetParent(hWnd);
        if (hWndDialog != nullptr) {
            api::RemoveProp(hWndDialog, kCommonDialogProperty);
        }
    }
    return 0;
}

std::string CFileDialog::GetPathName() const {
    return m_ofn.lpstrFile != nullptr ? std::string(m_ofn.lpstrFile) : std::string();
}

std::string CFileDialog::GetFileName() const {
    const std::string path = GetPathName();
    size_t separator = path.find_last_of("\\/:");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string CFileDialog::GetFileExt() const {
    const std::string name = GetFileName();
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string CFileDialog::GetFileTitle() const {
    const std::string name = GetFileName();
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// --- CColorDialog ------------------------------------------------------------------

COLORREF* CColorDialog::GetSavedCustomColors() {
    static COLORREF s_custom[16] = {
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
    return s_custom;
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd)
    : m_pParentWnd(pParentWnd) {
    std::memset(&m_cc, 0, sizeof(m_cc));
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.lpCustColors = GetSavedCustomColors();
    m_cc.Flags = dwFlags | CC_ENABLEHOOK;
    m_cc.lpfnHook = &HookProc;
    m_cc.rgbResult = clrInit;
    if (clrInit != 0) {
        m_cc.Flags |= CC_RGBINIT;
    }
}

INT_PTR CColorDialog::DoModal() {
    m_cc.hwndOwner = CWnd::GetSafeOwner(m_pParentWnd);
    return api::ChooseColor(&m_cc) ? IDOK : IDCANCEL;
}

UINT_PTR CALLBACK CColorDialog::HookProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        api::SetProp(hWnd, kCommonDialogProperty, Mark(kColorDialogMark));
        return TRUE;  // the default focus
    }
    if (message == WM_DESTROY) {
        api::RemoveProp(hWnd, kCommonDialogProperty);
    }
    return 0;
}

}  // namespace fw
