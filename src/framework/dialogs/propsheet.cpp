#include "framework/dialogs/propsheet.h"

#include <cstring>
#include <exception>
#include <utility>

#include "framework/api.h"

namespace fw {

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

namespace {

// The property a test driver recognises the sheet by.
const char kSheetProperty[] = "SetupSheet";

// The sheet being run, innermost first: the platform's sheet callback has no
// pointer of its own to the sheet object.
struct SheetRun {
    CPropertySheet* sheet;
    PFNPROPSHEETCALLBACK userCallback;  // the one the sheet's header named, if any
    SheetRun* previous;
};

SheetRun* s_pRunning = nullptr;

bool IsPageNotification(UINT code) {
    // PSN_FIRST is (0U - 200U) and PSN_LAST (0U - 299U).
    return code <= static_cast<UINT>(PSN_FIRST) && code >= static_cast<UINT>(PSN_LAST);
}

}  // namespace

// --- CPropertyPage -----------------------------------------------------------------

CPropertyPage::CPropertyPage(UINT nIDTemplate, const std::string& caption) : CDialog(nIDTemplate) {
    CommonConstruct(caption);
}

CPropertyPage::CPropertyPage(std::vector<uint8_t> dialogTemplate, UINT nID,
                             std::vector<uint8_t> dialogInit, const std::string& caption) {
    InitModalIndirect(std::move(dialogTemplate), nullptr, std::move(dialogInit), nID);
    CommonConstruct(caption);
}

void CPropertyPage::CommonConstruct(const std::string& caption) {
    std::memset(&m_psp, 0, sizeof(m_psp));
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_DEFAULT;
    m_strCaption = caption;
}

INT_PTR CALLBACK CPropertyPage::AfxPageDlgProc(HWND hWnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    if (message != WM_INITDIALOG || FromHandlePermanent(hWnd) != nullptr) {
        return FALSE;
    }
    // A page's WM_INITDIALOG carries the platform's copy of its entry.
    const auto* entry = reinterpret_cast<const PROPSHEETPAGE*>(lParam);
    auto* pPage = entry != nullptr ? reinterpret_cast<CPropertyPage*>(entry->lParam) : nullptr;
    return pPage != nullptr ? pPage->StartDialog(hWnd, wParam, lParam) : FALSE;
}

BOOL CPropertyPage::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_INITDIALOG) {
        m_bFirstSetActive = TRUE;
    }
    return CDialog::OnWndMsg(message, wParam, lParam, pResult);
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && IsPageNotification(header->code)) {
        LRESULT result = 0;
        bool handled = true;
        switch (header->code) {
            case PSN_SETACTIVE:
                result = OnSetActive() ? 0 : -1;
                break;
            case PSN_KILLACTIVE:
                result = OnKillActive() ? FALSE : TRUE;
                break;
            case PSN_APPLY:
                result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
                break;
            case PSN_RESET:
                OnReset();
                break;
            case PSN_QUERYCANCEL:
                result = OnQueryCancel() ? FALSE : TRUE;
                break;
            default:
                handled = false;
                break;
        }
        if (handled) {
            if (pResult != nullptr) {
                *pResult = result;
            }
            return TRUE;
        }
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}

BOOL CPropertyPage::OnSetActive() {
    if (m_bFirstSetActive) {
        m_bFirstSetActive = FALSE;
    } else {
        UpdateData(FALSE);
    }
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply() {
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() {
    OnCancel();
}

BOOL CPropertyPage::OnQueryCancel() {
    return TRUE;
}

void CPropertyPage::OnOK() {}

void CPropertyPage::OnCancel() {}

// --- CPropertySheet ------------------------------------------------------------------

CPropertySheet::CPropertySheet() {
    CommonConstruct(std::string(), nullptr, 0);
}

CPropertySheet::CPropertySheet(const std::string& caption, CWnd* pParentWnd, UINT iSelectPage) {
    CommonConstruct(caption, pParentWnd, iSelectPage);
}

void CPropertySheet::CommonConstruct(const std::string& caption, CWnd* pParentWnd,
                                     UINT iSelectPage) {
    std::memset(&m_psh, 0, sizeof(m_psh));
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_PROPSHEETPAGE;
    m_psh.nStartPage = iSelectPage;
    m_strCaption = caption;
    m_psh.pszCaption = m_strCaption.c_str();
    m_pParentWnd = pParentWnd;
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
    if (pPage == nullptr) {
        return;
    }
    // Pages are added before DoModal: the page array is built when it runs.
    m_pages.push_back(pPage);
}

int CPropertySheet::GetPageCount() const {
    return static_cast<int>(m_pages.size());
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
    if (nPage < 0 || nPage >= GetPageCount()) {
        return nullptr;
    }
    return m_pages[static_cast<size_t>(nPage)];
}

BOOL CPropertySheet::SetActivePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount()) {
        return FALSE;
    }
    if (m_hWnd == nullptr) {
        m_psh.nStartPage = static_cast<UINT>(nPage);
        return TRUE;
    }
    return static_cast<BOOL>(SendMessage(PSM_SETCURSEL, static_cast<WPARAM>(nPage), 0));
}

CTabCtrl* CPropertySheet::GetTabControl() const {
    if (m_hWnd == nullptr) {
        return nullptr;
    }
    m_tabView.m_hWnd = reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL));
    return m_tabView.m_hWnd != nullptr ? &m_tabView : nullptr;
}

void CPropertySheet::SetTitle(const std::string& title) {
    m_strCaption = title;
    m_psh.pszCaption = m_strCaption.c_str();
    if (m_hWnd != nullptr) {
        SendMessage(PSM_SETTITLE, 0, reinterpret_cast<LPARAM>(m_strCaption.c_str()));
    }
}

void CPropertySheet::BuildPropPageArray() {
    m_pageEntries.clear();
    m_pageEntries.reserve(m_pages.size());
    for (CPropertyPage* pPage : m_pages) {
        pPage->m_sheetTemplate.clear();
        pPage->LoadTemplate(pPage->m_sheetTemplate);
        PROPSHEETPAGE entry = pPage->m_psp;
        entry.dwSize = sizeof(PROPSHEETPAGE);
        entry.dwFlags |= PSP_DLGINDIRECT;
        entry.hInstance = api::ModuleInstance();
        entry.pResource = pPage->m_sheetTemplate.empty()
                              ? nullptr
                              : reinterpret_cast<LPCDLGTEMPLATE>(pPage->m_sheetTemplate.data());
        entry.pfnDlgProc = &CPropertyPage::AfxPageDlgProc;
        entry.lParam = reinterpret_cast<LPARAM>(pPage);
        if (!pPage->m_strCaption.empty()) {
            entry.dwFlags |= PSP_USETITLE;
            entry.pszTitle = pPage->m_strCaption.c_str();
        }
        m_pageEntries.push_back(entry);
    }
    m_psh.dwFlags |= PSH_PROPSHEETPAGE;
    m_psh.nPages = static_cast<UINT>(m_pageEntries.size());
    m_psh.ppsp = m_pageEntries.data();
}

BOOL CPropertySheet::ReplacePageTemplate(LPCPROPSHEETPAGE pEntry,
                                         const CDialogTemplate& dlgTemplate) {
    if (!dlgTemplate.IsValid()) {
        return FALSE;
    }
    for (size_t i = 0; i < m_pageEntries.size(); ++i) {
        if (&m_pageEntries[i] == pEntry) {
            CPropertyPage* pPage = m_pages[i];
            pPage->m_sheetTemplate = dlgTemplate.GetBytes();
            m_pageEntries[i].pResource =
                reinterpret_cast<LPCDLGTEMPLATE>(pPage->m_sheetTemplate.data());
            return TRUE;
        }
    }
    return FALSE;
}

INT_PTR CPropertySheet::DoModal() {
    if (m_hWnd != nullptr || m_pages.empty()) {
        return -1;
    }
    BuildPropPageArray();

    // The platform gets a copy, so that the header keeps the derived sheet's
    // own callback for the next run.
    PROPSHEETHEADER header = m_psh;
    header.hwndParent = GetSafeOwner(m_pParentWnd);
    header.hInstance = api::ModuleInstance();
    header.dwFlags |= PSH_USECALLBACK;
    header.pfnCallback = &AfxSheetCallback;

    SheetRun run{this, (m_psh.dwFlags & PSH_USECALLBACK) != 0 ? m_psh.pfnCallback : nullptr,
                 s_pRunning};
    s_pRunning = &run;
    INT_PTR result = api::PropertySheet(&header);
    s_pRunning = run.previous;

    if (m_hWnd != nullptr) {
        // The window outlived the run; the object lets go of it.
        api::RemoveProp(m_hWnd, kSheetProperty);
        UnsubclassWindow();
    }
    return result;
}

int CALLBACK CPropertySheet::AfxSheetCallback(HWND hWnd, UINT message, LPARAM lParam) {
    SheetRun* run = s_pRunning;
    int result = 0;
    try {
        if (run != nullptr && run->userCallback != nullptr) {
            result = run->userCallback(hWnd, message, lParam);
        }
        if (message == PSCB_INITIALIZED && run != nullptr && hWnd != nullptr) {
            run->sheet->AttachSheet(hWnd);
        }
    } catch (const std::exception& e) {
        // Nothing crosses the platform's callback; the sheet runs on.
        ReportUnhandledException(std::string("exception in the sheet callback: ") + e.what(), hWnd);
    } catch (...) {
        ReportUnhandledException("unknown exception in the sheet callback", hWnd);
    }
    return result;
}

void CPropertySheet::AttachSheet(HWND hWnd) {
    if (m_hWnd != nullptr || !SubclassWindow(hWnd)) {
        return;
    }
    api::SetProp(hWnd, kSheetProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(1)));
    OnInitDialog();
}

BOOL CPropertySheet::OnInitDialog() {
    return TRUE;
}

void CPropertySheet::EndDialog(int nEndID) {
    api::EndDialog(m_hWnd, nEndID);
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (CWnd::OnCommand(wParam, lParam)) {
        return TRUE;
    }
    const UINT id = LOWORD(wParam);
    if ((id == IDOK || id == IDCANCEL) && HIWORD(wParam) == BN_CLICKED) {
        // The platform's handling of its standard button; when that closed
        // the sheet (it has no current page any more), the run ends with the
        // button's ID.
        Default();
        if (m_hWnd != nullptr && SendMessage(PSM_GETCURRENTPAGEHWND) == 0) {
            EndDialog(static_cast<int>(id));
        }
        return TRUE;
    }
    return FALSE;
}

BOOL CPropertySheet::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_NCDESTROY) {
        api::RemoveProp(m_hWnd, kSheetProperty);
    }
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

}  // namespace fw
