#include "platform/codepage.h"
#include "platform/posix/codepage_native.h"

namespace codepage {

namespace {

unsigned s_codePage = 65001;

}  // namespace

unsigned SelectNativeCodePage(unsigned codePage) {
    const unsigned previous = s_codePage;
    s_codePage = codePage;
    return previous;
}

// UTF-8 has no lead bytes: no byte of a multi-byte character is an ASCII
// character. GBK (936) and Big5 (950) lead bytes run from 0x81 to 0xFE.
bool IsLeadByte(unsigned char byte) {
    if (s_codePage == 936 || s_codePage == 950) {
        return byte >= 0x81 && byte <= 0xFE;
    }
    return false;
}

}  // namespace codepage
