// The Win32 vocabulary of the framework and the module: handles, RECT,
// COLORREF, LOGFONT, the window, control and GDI constants and the message
// numbers. The Windows build takes them from the platform headers; the
// headless build defines the same names with the same values (winapi_defs.h),
// so module code reads as the Windows code it is on both. The Windows build
// checks those values against the headers (win32/winapi_check.cpp).
#ifndef SETUP_FRAMEWORK_WINAPI_H
#define SETUP_FRAMEWORK_WINAPI_H

#if defined(_WIN32)
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <prsht.h>
#else
#include "framework/winapi_defs.h"
#endif

#endif
