// Compiles the headless build's own Win32 definitions (not the platform
// headers) with the Windows build's compiler and checks that in the 32-bit
// build their structures have the sizes and field offsets the platform gives
// them (winapi_layouts.inc, which winapi_check.cpp holds against the
// platform headers). A field of the wrong type or in the wrong place fails
// the Windows build here. Nothing in this file is linked.
#include "framework/winapi_defs.h"

#include "framework/win32/winapi_layout_asserts.h"
