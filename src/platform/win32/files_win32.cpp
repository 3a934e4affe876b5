// File operations on Windows: the host's paths go to the system unchanged.
#include <windows.h>

#include <vector>

#include "platform/files.h"

namespace files {

std::string NativePath(const std::string& path) {
    return path;
}

bool CanOpenForReading(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;  // a folder too: CreateFileA opens one only when asked to
    }
    // A device (COM1, NUL, CON) or a pipe opens as a file does; it is not one.
    bool ok = ::GetFileType(file) == FILE_TYPE_DISK;
    if (ok) {
        DWORD high = 0;
        const DWORD size = ::GetFileSize(file, &high);
        ok = !(size == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) && high == 0 &&
             size <= kMaxReadSize;
    }
    ::CloseHandle(file);
    return ok;
}

bool SetNormalAttributes(const std::string& path) {
    return ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL) != FALSE;
}

bool Remove(const std::string& path) {
    return ::DeleteFileA(path.c_str()) != FALSE;
}

std::string CurrentDirectory() {
    DWORD needed = ::GetCurrentDirectoryA(0, nullptr);
    if (needed == 0) {
        return std::string();
    }
    std::vector<char> buffer(needed);
    DWORD length = ::GetCurrentDirectoryA(needed, buffer.data());
    if (length == 0 || length >= needed) {
        return std::string();
    }
    return std::string(buffer.data(), length);
}

bool ChangeDirectory(const std::string& path) {
    return ::SetCurrentDirectoryA(path.c_str()) != FALSE;
}

}  // namespace files
