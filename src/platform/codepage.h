// The process's narrow code page, as far as the module's text handling needs it.
#ifndef SETUP_PLATFORM_CODEPAGE_H
#define SETUP_PLATFORM_CODEPAGE_H

namespace codepage {

// Whether the byte starts a two-byte character (GBK, Big5...), whose second
// byte may look like an ASCII character such as a backslash.
bool IsLeadByte(unsigned char byte);

}  // namespace codepage

#endif
