// The native build's narrow code page. Its text is UTF-8, where no byte is a
// lead byte; a test or fuzz harness can select one of the double-byte code
// pages of the Chinese language texts instead, to see the module's text
// handling as it runs under them on Windows. Native builds only.
#ifndef SETUP_PLATFORM_POSIX_CODEPAGE_NATIVE_H
#define SETUP_PLATFORM_POSIX_CODEPAGE_NATIVE_H

namespace codepage {

// 65001 (UTF-8, the start), 936 (GBK) or 950 (Big5): codepage::IsLeadByte
// then answers as Windows' IsDBCSLeadByte does under that code page. Returns
// the code page selected before.
unsigned SelectNativeCodePage(unsigned codePage);

}  // namespace codepage

#endif
