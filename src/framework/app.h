// The application object and the framework's free functions: message boxes,
// cursors, system colours, and posting to another program's window.
//
// Classes and functions in this file:
//   CWinApp              the module's application object: its name
//   AfxGetApp, AfxGetAppName
//   AfxMessageBox        a message box captioned with the application's name
//   MessageBox           a message box with an explicit owner and caption
//   LoadStandardCursor, SetCursor
//   GetSysColor, GetSysColorBrush
//   PostToTopLevelWindow find a top-level window by class and title and post to it
//   ShellExecute         ask the shell to open a file, a link or a mail address
#ifndef SETUP_FRAMEWORK_APP_H
#define SETUP_FRAMEWORK_APP_H

#include <string>

#include "framework/winapi.h"

namespace fw {

class CWnd;

// The application's name captions the framework's own message boxes (the
// data-exchange messages, AfxMessageBox). Without an application object, or
// with one that names none, it is "Setup", the library's file name.
class CWinApp {
public:
    explicit CWinApp(const char* lpszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    const char* m_pszAppName;

    HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) const;
};

// The application object constructed last that still exists, or nullptr.
CWinApp* AfxGetApp();
const char* AfxGetAppName();

// A message box owned by the active window's top-level window, captioned
// with the application's name. Returns the button pressed (IDOK, IDYES...).
// The icon is the one nType names; none is added.
int AfxMessageBox(const std::string& text, UINT nType = MB_OK);
// A message box with an explicit owner (nullptr: none) and caption.
int MessageBox(CWnd* pOwner, const std::string& text, const std::string& caption, UINT nType);

// A system cursor (IDC_ARROW, IDC_HAND...).
HCURSOR LoadStandardCursor(LPCSTR lpszCursorName);
// Makes the cursor current; returns the previous one.
HCURSOR SetCursor(HCURSOR hCursor);

COLORREF GetSysColor(int nIndex);
HBRUSH GetSysColorBrush(int nIndex);

// Finds the first top-level window with this class and title and posts it the
// message; FALSE when there is no such window (nothing is posted).
BOOL PostToTopLevelWindow(LPCSTR lpszClassName, LPCSTR lpszWindowName, UINT message, WPARAM wParam,
                          LPARAM lParam);

// Asks the shell to run a verb (nullptr: the file's default verb) on a file,
// a link or a mail address. The result is the shell's: greater than 32 when
// the request was accepted.
HINSTANCE ShellExecute(CWnd* pOwner, LPCSTR lpszVerb, LPCSTR lpszFile, LPCSTR lpszParameters,
                       LPCSTR lpszDirectory, INT nShowCmd);

}  // namespace fw

#endif
