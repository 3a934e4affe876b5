// What the INI engine needs from the operating system: identifying a file's
// current content without reading it, reading it whole, replacing it
// atomically, the clock, and the conversions between UTF-16 and the narrow
// code page. One implementation per platform (posix/, win32/).
#ifndef SETUP_PLATFORM_INI_STORE_H
#define SETUP_PLATFORM_INI_STORE_H

#include <cstdint>
#include <string>
#include <string_view>

namespace ini {
namespace store {

// What identifies a file's content without reading it. Two equal stamps
// taken at different times mean the file was not replaced, truncated or
// rewritten in between, except for a rewrite within the file system's
// timestamp granularity (see IsRacy).
struct Stamp {
    uint64_t size = 0;
    int64_t modified = 0;   // last write, nanoseconds since the Unix epoch
    int64_t changed = 0;    // status change (POSIX ctime; Windows ChangeTime)
    uint64_t identity = 0;  // inode and device, or the creation time
    bool operator==(const Stamp& o) const {
        return size == o.size && modified == o.modified && changed == o.changed &&
               identity == o.identity;
    }
    bool operator!=(const Stamp& o) const { return !(*this == o); }
};

// The key under which a file is cached: the path made absolute, so that a
// relative name means the same file only while the current directory stays.
std::string CacheKey(const std::string& nativePath);

// Stamps a regular file. False when it does not exist or is not a regular
// file (a directory, a device).
bool StampFile(const std::string& nativePath, Stamp* stamp);

// Reads a regular file whole. False when it cannot be opened or read.
bool ReadWhole(const std::string& nativePath, std::string* bytes);

// Wall-clock time in nanoseconds since the Unix epoch, the scale of Stamp.
int64_t Now();

// Replaces the file with bytes through a temporary file beside it and a
// rename over it, keeping the old file's permissions or attributes. Fails,
// changing nothing, when the directory is missing, the file is read-only or
// is not a regular file, or anything on the way fails.
bool ReplaceAtomically(const std::string& nativePath, const std::string& bytes);

// Whether ReplaceAtomically would be allowed to replace the existing file:
// a regular file that is not read-only.
bool CanReplace(const std::string& nativePath);

// UTF-16 (host order code units) to the narrow code page and back: CP_ACP on
// Windows, UTF-8 natively. Characters the code page cannot hold become '?'.
std::string ToNarrow(const char16_t* text, size_t length);
std::u16string ToWide(const char* text, size_t length);

// The key under which a name with bytes beyond ASCII is compared without
// regard to case: on Windows the name upper-cased in UTF-16 (as kernel32
// compares names); natively the name with ASCII letters folded only.
std::string FoldNonAscii(std::string_view name);
// The same key for a name given in UTF-16: equal to FoldNonAscii's for the
// name converted to the narrow code page, when the conversion is exact.
std::string FoldWide(const char16_t* name, size_t length);

// True when byte can start a two-byte character of the narrow code page (a
// DBCS lead byte on Windows; never natively, where UTF-8 continuation bytes
// cannot be mistaken for ASCII).
bool IsLeadByte(unsigned char byte);

}  // namespace store
}  // namespace ini

#endif
