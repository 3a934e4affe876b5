// The static assertions of winapi_layouts.inc, for the structure definitions
// in scope where it is included (the platform's or the headless build's):
// in the 32-bit build each structure must have the listed size and offsets.
// Included once by each of the two checks.
#include <cstddef>

#define SETUP_WINAPI_STRUCT(type, size) \
    static_assert(sizeof(void*) != 4 || sizeof(type) == (size), "the size of " #type);
#define SETUP_WINAPI_FIELD(type, field, offset) \
    static_assert(sizeof(void*) != 4 || offsetof(type, field) == (offset), #type "::" #field);
#include "framework/winapi_layouts.inc"
#undef SETUP_WINAPI_STRUCT
#undef SETUP_WINAPI_FIELD
