// File operations on paths in the form the host gives them (Windows paths,
// doubled backslashes included).
#ifndef SETUP_PLATFORM_FILES_H
#define SETUP_PLATFORM_FILES_H

#include <string>

namespace files {

// CreateFileA(OPEN_EXISTING, GENERIC_READ, FILE_SHARE_READ) then CloseHandle.
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
