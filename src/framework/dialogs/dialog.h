// Dialogs created from templates, and data exchange between a dialog's
// controls and its members.
//
// Classes and functions in this file:
//   CDialog          a modal dialog (DoModal)
//   CDataExchange    the state of one UpdateData run
//   DDX_Control      binds a control object to a dialog item (subclassing)
//   DDX_Text         a string member and an edit's text
//   DDV_MaxChars     refuses a string longer than n characters
//
// Creating a dialog, in this order:
//   1. WM_INITDIALOG reaches the object; the window is attached to it and
//      from then on every message goes through its message map;
//   2. the window gets the property "SetupTemplateId" (the template ID), by
//      which a test driver recognises it;
//   3. the template's initial list data (DLGINIT) is added to its controls,
//      once per window;
//   4. the virtual OnInitDialog runs; CDialog's binds the controls and puts
//      the members into them (UpdateData(FALSE)), limiting the edits that
//      DDV_MaxChars checks, and returns TRUE.
// An object can run OnInitDialog again later (a page reloading); that does
// not add the initial list data again.
//
// IDOK runs the virtual OnOK (data exchange, then EndDialog(IDOK) when it
// succeeded) and IDCANCEL the virtual OnCancel (EndDialog(IDCANCEL)).
#ifndef SETUP_FRAMEWORK_DIALOG_H
#define SETUP_FRAMEWORK_DIALOG_H

#include <cstdint>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "framework/windows/wnd.h"

namespace fw {

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    // A dialog on the module's template nIDTemplate.
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // A dialog on a template held in memory, with its initial list data
    // (DLGINIT bytes) if any; nID names it for identification.
    BOOL InitModalIndirect(std::vector<uint8_t> dialogTemplate, CWnd* pParentWnd = nullptr,
                           std::vector<uint8_t> dialogInit = {}, UINT nID = 0);

    // Runs the dialog modally; returns the EndDialog result, or -1 when the
    // dialog could not be created (no template, or the object has a window).
    virtual INT_PTR DoModal();

    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();

protected:
    virtual void OnOK();
    virtual void OnCancel();

    // The template's bytes (resource or in memory); FALSE when there is none.
    BOOL LoadTemplate(std::vector<uint8_t>& bytes) const;
    // Adds the initial list data to the controls: TRUE when every item was added.
    BOOL ExecuteDlgInit();

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // Attaches the window and runs the creation steps of WM_INITDIALOG.
    static INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR StartDialog(HWND hWnd, WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    LRESULT HandleInitDialog();

    // The bitmaps that picture statics loaded from the template: Win32's
    // static control does not delete them when it is destroyed, so the
    // dialog does, as its window goes.
    void NoteTemplateBitmaps();
    void ReleaseTemplateBitmaps();

    std::vector<uint8_t> m_templateInMemory;
    std::vector<uint8_t> m_dialogInitInMemory;
    std::vector<std::pair<HWND, HANDLE>> m_templateBitmaps;
};

// Thrown by CDataExchange::Fail and caught by UpdateData.
class CUserException : public std::exception {
public:
    const char* what() const noexcept override { return "data exchange refused a value"; }
};

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;  // TRUE: controls to members (and validate)
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;  // the control the last DDX_ call prepared
    BOOL m_bEditLastControl = FALSE;   // ... and whether it is an edit box

    // The dialog item nIDC; a missing item is a programming error (throws).
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Gives the last control the focus (selecting an edit's text) and ends
    // the exchange: UpdateData returns FALSE.
    [[noreturn]] void Fail();
};

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
// On save, a value longer than nChars shows "Please enter no more than N
// characters." (OK, exclamation icon, owned by the dialog's top-level window,
// captioned with the application's name) and fails the exchange. On load,
// limits the edit that the preceding DDX_Text prepared to nChars (EM_LIMITTEXT).
void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars);

// The text DDV_MaxChars shows for a limit of nChars.
std::string MaxCharsPrompt(int nChars);

}  // namespace fw

#endif
