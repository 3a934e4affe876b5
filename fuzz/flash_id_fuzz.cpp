// The flash ID byte parser on any piece of text, against a reading of its
// rule written another way: the digits after the first 'x' or 'X' (or all
// of the piece without one) must all be hexadecimal, and then the value is
// that of their last eight, else 0. The whole [CheckFlash] FID list goes
// through the load in the settings harness.
//
// Input: the piece.
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "settings/JobSettings.h"

namespace {

uint32_t Expected(const std::string& piece) {
    const size_t x = piece.find_first_of("xX");
    const std::string digits = x == std::string::npos ? piece : piece.substr(x + 1);
    if (digits.empty() || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return 0;
    }
    const std::string last = digits.size() > 8 ? digits.substr(digits.size() - 8) : digits;
    return static_cast<uint32_t>(std::strtoul(last.c_str(), nullptr, 16));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string piece(reinterpret_cast<const char*>(data), size);
    const uint32_t value = CJobSettings::ParseFlashIdByte(piece);
    const uint32_t expected = Expected(piece);
    FUZZ_CHECK(value == expected, "\"" + fuzz::Printable(piece) + "\" gives " +
                                      std::to_string(value) + ", not " + std::to_string(expected));
    return 0;
}
