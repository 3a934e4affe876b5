// System colours: the colours the platform's theme gives window parts
// (COLOR_BTNFACE, COLOR_WINDOWTEXT...), and their shared brushes.
//
// Functions in this file:
//   GetSysColor        a system colour as 0x00BBGGRR
//   GetSysColorBrush   the system's own brush of that colour (never deleted)
#ifndef SETUP_FRAMEWORK_SYSCOLOR_H
#define SETUP_FRAMEWORK_SYSCOLOR_H

#include "framework/winapi.h"

namespace fw {

COLORREF GetSysColor(int nIndex);
HBRUSH GetSysColorBrush(int nIndex);

}  // namespace fw

#endif
