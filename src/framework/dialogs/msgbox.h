// Message boxes: the platform's MessageBox, owned and captioned as the
// framework's callers need.
//
// Functions in this file:
//   AfxMessageBox   a message box captioned with the application's name
//   MessageBox      a message box with an explicit owner and caption
#ifndef SETUP_FRAMEWORK_MSGBOX_H
#define SETUP_FRAMEWORK_MSGBOX_H

#include <string>

#include "framework/winapi.h"

namespace fw {

class CWnd;

// A message box owned by the active window's top-level window, captioned
// with the application's name (AfxGetAppName). Returns the button pressed
// (IDOK, IDYES...). The icon is the one nType names; none is added.
int AfxMessageBox(const std::string& text, UINT nType = MB_OK);
// A message box with an explicit owner (nullptr: none) and caption.
int MessageBox(CWnd* pOwner, const std::string& text, const std::string& caption, UINT nType);

}  // namespace fw

#endif
