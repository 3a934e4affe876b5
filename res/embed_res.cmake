# cmake -DINPUT=setup.res -DOUTPUT=setup_res_embed.cpp -P embed_res.cmake
# Writes a C++ source that holds the bytes of the compiled resources, as the
# headless backend of the framework reads them (fw::headless).
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
file(WRITE ${OUTPUT}.tmp
"// Generated from setup.res by res/embed_res.cmake; do not edit.
#include <cstddef>

namespace fw::headless {

extern const unsigned char kEmbeddedResources[];
extern const std::size_t kEmbeddedResourcesSize;

alignas(4) const unsigned char kEmbeddedResources[${size}] = {
    ${bytes}
};
const std::size_t kEmbeddedResourcesSize = ${size};

}  // namespace fw::headless
")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
