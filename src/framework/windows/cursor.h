// Cursors: the system's standard cursors and the current one.
//
// Functions in this file:
//   LoadStandardCursor   a system cursor (IDC_ARROW, IDC_HAND...)
//   SetCursor            makes a cursor current
#ifndef SETUP_FRAMEWORK_CURSOR_H
#define SETUP_FRAMEWORK_CURSOR_H

#include "framework/winapi.h"

namespace fw {

// A system cursor (IDC_ARROW, IDC_HAND...); shared, never destroyed.
HCURSOR LoadStandardCursor(LPCSTR lpszCursorName);
// Makes the cursor current; returns the previous one.
HCURSOR SetCursor(HCURSOR hCursor);

}  // namespace fw

#endif
