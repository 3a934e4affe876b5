// File operations on paths in the form the host gives them (Windows paths,
// doubled backslashes included).
#ifndef SETUP_PLATFORM_FILES_H
#define SETUP_PLATFORM_FILES_H

#include <cstdint>
#include <string>

namespace files {

// The largest file the module reads. Job, language and hub files are a few
// kilobytes; a parsed file takes up to 32 times its size in memory, which a
// 32-bit station must find in one visit. A larger file is one that cannot be
// read, as a missing one.
const uint32_t kMaxReadSize = 1u << 20;

// CreateFileA(OPEN_EXISTING, GENERIC_READ, FILE_SHARE_READ), then true when
// it names a disk file (no folder, device or pipe) of at most kMaxReadSize
// bytes. Nothing is read.
bool CanOpenForReading(const std::string& path);

// SetFileAttributesA(FILE_ATTRIBUTE_NORMAL): clears read-only (and, on
// Windows, hidden, system and archive).
bool SetNormalAttributes(const std::string& path);

// DeleteFileA.
bool Remove(const std::string& path);

// GetCurrentDirectoryA / SetCurrentDirectoryA.
std::string CurrentDirectory();
bool ChangeDirectory(const std::string& path);

// The path as the operating system opens it: on Windows unchanged; natively
// every run of backslashes becomes one '/'.
std::string NativePath(const std::string& path);

}  // namespace files

#endif
