#include <windows.h>

#include "platform/codepage.h"

namespace codepage {

bool IsLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

}  // namespace codepage
