// The modal property sheet and its pages.
//
// Classes in this file:
//   CPropertyPage    a page: a dialog on its own template, created by the
//                    sheet when it is first shown
//   CPropertySheet   the sheet: the tab control, the pages and the standard
//                    buttons OK (IDOK), Cancel (IDCANCEL), Help (IDHELP) and
//                    Apply Now (ID_APPLY_NOW)
//
// Running a sheet (DoModal):
//   1. BuildPropPageArray fills m_psh with one entry per page, each on its own
//      copy of the page's template (PSP_DLGINDIRECT), which a derived sheet
//      may replace (ReplacePageTemplate), e.g. to give every page one font;
//   2. the platform creates the sheet window; a callback registered in m_psh
//      (PSH_USECALLBACK, pfnCallback) is called with PSCB_PRECREATE and the
//      sheet's own template, which it may rewrite in place within the
//      template's own size (no room after it is documented);
//   3. when the sheet window is initialized (PSCB_INITIALIZED), the object is
//      attached to it, the window gets the property "SetupSheet" = 1, and the
//      virtual OnInitDialog runs; from then on the sheet's messages go
//      through its message map, so a derived sheet may map IDOK to its own
//      handler and end the sheet with EndDialog;
//   4. a page is created when it is first activated; leaving a page runs its
//      OnKillActive (data exchange and validation), and a FALSE keeps it
//      active; Cancel and the close box end the sheet with IDCANCEL.
#ifndef SETUP_FRAMEWORK_PROPSHEET_H
#define SETUP_FRAMEWORK_PROPSHEET_H

#include <string>
#include <vector>

#include "framework/controls/controls.h"
#include "framework/dialogs/dialog.h"
#include "framework/templates/dlgtempl.h"

namespace fw {

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    // A page on the module's template; the tab shows the caption when one is
    // given, else the template's caption.
    explicit CPropertyPage(UINT nIDTemplate, const std::string& caption = std::string());
    // A page on a template held in memory (nID names it for identification).
    CPropertyPage(std::vector<uint8_t> dialogTemplate, UINT nID,
                  std::vector<uint8_t> dialogInit = {}, const std::string& caption = std::string());

    // The page's entry as the sheet passes it to the platform (flags,
    // title); the sheet fills in the template and the dialog procedure.
    PROPSHEETPAGE m_psp;

    // PSN_SETACTIVE: the page is being shown. The base puts the members into
    // the controls again on every activation but the first. FALSE: skip it.
    virtual BOOL OnSetActive();
    // PSN_KILLACTIVE: the page is being left. The base runs the data exchange
    // (UpdateData(TRUE)); FALSE keeps the page active.
    virtual BOOL OnKillActive();
    // PSN_APPLY (the platform's own OK or Apply Now): the base runs OnOK and
    // returns TRUE.
    virtual BOOL OnApply();
    // PSN_RESET (the sheet is cancelled): the base runs OnCancel.
    virtual void OnReset();
    // PSN_QUERYCANCEL: FALSE refuses the cancel.
    virtual BOOL OnQueryCancel();

protected:
    // A page does not end anything: the sheet's buttons do. The base does nothing.
    void OnOK() override;
    void OnCancel() override;

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    friend class CPropertySheet;

    static INT_PTR CALLBACK AfxPageDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void CommonConstruct(const std::string& caption);

    BOOL m_bFirstSetActive = TRUE;
    std::string m_strCaption;
    std::vector<uint8_t> m_sheetTemplate;  // what the sheet's entry for this page points at
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet();
    explicit CPropertySheet(const std::string& caption, CWnd* pParentWnd = nullptr,
                            UINT iSelectPage = 0);

    // The header passed to the platform. A derived sheet may set
    // PSH_USECALLBACK and pfnCallback (see the file comment) before DoModal.
    PROPSHEETHEADER m_psh;

    // Pages are shown as tabs in the order added; the sheet does not own them.
    void AddPage(CPropertyPage* pPage);
    int GetPageCount() const;
    CPropertyPage* GetPage(int nPage) const;
    // PSM_SETCURSEL: leaves the active page (which may refuse) and shows the
    // page, creating it on its first activation. Before the sheet is open, it
    // sets the start page.
    BOOL SetActivePage(int nPage);
    // PSM_GETTABCONTROL: the sheet's tab control, valid until the next call.
    CTabCtrl* GetTabControl() const;
    void SetTitle(const std::string& title);

    // Runs the sheet; returns the EndDialog result, IDCANCEL when cancelled,
    // -1 when it could not be created.
    virtual INT_PTR DoModal();
    // Ends the running sheet with nEndID as DoModal's result.
    void EndDialog(int nEndID);

    // Runs once the sheet window, its tab control and buttons exist.
    virtual BOOL OnInitDialog();

protected:
    // Fills m_psh.ppsp and m_psh.nPages with one PROPSHEETPAGE per page.
    virtual void BuildPropPageArray();
    // Makes the page entry pEntry (one of m_psh.ppsp) use the template,
    // stored with its page. FALSE when pEntry is not one of the entries.
    BOOL ReplacePageTemplate(LPCPROPSHEETPAGE pEntry, const CDialogTemplate& dlgTemplate);

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    static int CALLBACK AfxSheetCallback(HWND hWnd, UINT message, LPARAM lParam);
    void AttachSheet(HWND hWnd);
    void CommonConstruct(const std::string& caption, CWnd* pParentWnd, UINT iSelectPage);

    std::string m_strCaption;
    CWnd* m_pParentWnd = nullptr;
    std::vector<CPropertyPage*> m_pages;
    std::vector<PROPSHEETPAGE> m_pageEntries;
    mutable CTabCtrl m_tabView;  // wraps the tab control's handle, never attached
};

}  // namespace fw

#endif
