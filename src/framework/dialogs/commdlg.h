// The platform's common dialogs: open and save-as file dialogs and the colour
// dialog. Each runs modally, owned by the given parent or, without one, by the
// active window's top-level window, and returns IDOK or IDCANCEL.
//
// Classes in this file:
//   CFileDialog    open / save as: title, filter, initial directory, options
//   CColorDialog   a colour
//
// Both run with a hook procedure that marks the dialog window with the
// property "SetupCommonDialog" (1 colour, 2 open, 3 save as), by which a test
// driver recognises them.
#ifndef SETUP_FRAMEWORK_COMMDLG_H
#define SETUP_FRAMEWORK_COMMDLG_H

#include <string>

#include "framework/windows/object.h"
#include "framework/winapi.h"

namespace fw {

class CWnd;

class CFileDialog : public CObject {
public:
    // lpszFilter pairs names and patterns with bars and ends with two bars:
    // "Job Files (*.ini)|*.ini||". Without OFN_HIDEREADONLY the dialog shows a
    // read-only check box; OFN_OVERWRITEPROMPT asks before replacing a file.
    explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr,
                         LPCSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCSTR lpszFilter = nullptr, CWnd* pParentWnd = nullptr);

    // The structure passed to the platform; lpstrTitle and lpstrInitialDir may
    // be set directly (the strings must outlive DoModal) or with the setters.
    OPENFILENAME m_ofn;

    void SetTitle(const std::string& title);
    void SetInitialDir(const std::string& directory);

    virtual INT_PTR DoModal();

    // After IDOK: the full path chosen, its file name, extension and title.
    std::string GetPathName() const;
    std::string GetFileName() const;
    std::string GetFileExt() const;
    std::string GetFileTitle() const;

private:
    static UINT_PTR CALLBACK HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    BOOL m_bOpenFileDialog;
    CWnd* m_pParentWnd;
    std::string m_strDefExt;
    std::string m_strFilter;  // the bars of the filter turned into NULs
    std::string m_strTitle;
    std::string m_strInitialDir;
    char m_szFileName[MAX_PATH];
    char m_szFileTitle[64];
};

class CColorDialog : public CObject {
public:
    // clrInit 0 means no initial colour.
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);

    CHOOSECOLOR m_cc;

    virtual INT_PTR DoModal();
    // After IDOK: the chosen colour.
    COLORREF GetColor() const { return m_cc.rgbResult; }
    // The 16 custom colours, kept between runs (white at first).
    static COLORREF* GetSavedCustomColors();

private:
    static UINT_PTR CALLBACK HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    CWnd* m_pParentWnd;
};

// A filter with bars as the platform wants it: every '|' a NUL (the string's
// own terminator ends the list).
std::string FileDialogFilter(const char* lpszFilter);

}  // namespace fw

#endif
