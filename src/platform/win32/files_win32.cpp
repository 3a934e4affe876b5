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
        return false;
    }
    ::CloseHandle(file);
    return true;
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
