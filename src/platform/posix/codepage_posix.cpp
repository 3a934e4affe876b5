#include "platform/codepage.h"

namespace codepage {

// The native build's narrow text is UTF-8, where no byte of a multi-byte
// character is an ASCII character.
bool IsLeadByte(unsigned char /*byte*/) {
    return false;
}

}  // namespace codepage
