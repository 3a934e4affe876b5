// Top-level windows of other programs, found by class and title: how the
// module reaches a window of the program that loaded it.
//
// Functions in this file:
//   PostToTopLevelWindow   find a top-level window by class and title and post to it
#ifndef SETUP_FRAMEWORK_TOPLEVEL_H
#define SETUP_FRAMEWORK_TOPLEVEL_H

#include "framework/winapi.h"

namespace fw {

// Finds the first top-level window with this class and title and posts it the
// message; FALSE when there is no such window (nothing is posted).
BOOL PostToTopLevelWindow(LPCSTR lpszClassName, LPCSTR lpszWindowName, UINT message, WPARAM wParam,
                          LPARAM lParam);

}  // namespace fw

#endif
