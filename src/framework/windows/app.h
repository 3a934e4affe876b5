// The application object: the name that captions the framework's own message
// boxes.
//
// Classes and functions in this file:
//   CWinApp          the module's application object: its name
//   AfxGetAppName    its name, or the library's
#ifndef SETUP_FRAMEWORK_APP_H
#define SETUP_FRAMEWORK_APP_H

#include "framework/winapi.h"

namespace fw {

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
};

// The name of the application object constructed last that still exists, or
// the library's.
const char* AfxGetAppName();

}  // namespace fw

#endif
