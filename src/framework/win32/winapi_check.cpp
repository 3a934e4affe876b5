// Checks the shared Win32 vocabulary against the platform headers: every
// numeric constant that the headless build defines (winapi_constants.inc)
// must have the value and the signedness the headers give it, and in the
// 32-bit build every structure the headless build defines must have the
// platform's size and field offsets (winapi_layouts.inc). A wrong number
// fails the Windows build here. Nothing in this file is linked.
#include <cstddef>

#include "framework/winapi.h"

namespace {

// Compared as long long, so -1 and 0xFFFFFFFF differ.
template <typename Platform, typename Ours>
constexpr bool SameConstant(Platform platform, Ours ours) {
    return sizeof(Platform) == sizeof(Ours) &&
           static_cast<long long>(platform) == static_cast<long long>(ours);
}

}  // namespace

#define SETUP_WINAPI_CONSTANT(name, value) \
    static_assert(SameConstant(name, value), #name " differs from the platform's");
#include "framework/winapi_constants.inc"
#undef SETUP_WINAPI_CONSTANT

#include "framework/win32/winapi_layout_asserts.h"
