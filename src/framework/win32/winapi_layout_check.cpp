// Compiles the headless build's own Win32 definitions (not the platform
// headers) with the Windows build's compiler and checks that in the 32-bit
// build their structures have the sizes and field offsets the platform gives
// them (winapi_layouts.inc, which winapi_check.cpp holds against the
// platform headers). A field of the wrong type or in the wrong place fails
// the Windows build here. Nothing in this file is linked.
#include <cstddef>

#include "framework/winapi_defs.h"

namespace {

constexpr bool Is32Bit = sizeof(void*) == 4;

}  // namespace

#define SETUP_WINAPI_STRUCT(type, size) \
    static_assert(!Is32Bit || sizeof(type) == (size), "the size of " #type);
#define SETUP_WINAPI_FIELD(type, field, offset) \
    static_assert(!Is32Bit || offsetof(type, field) == (offset), #type "::" #field);
#include "framework/winapi_layouts.inc"
#undef SETUP_WINAPI_STRUCT
#undef SETUP_WINAPI_FIELD
