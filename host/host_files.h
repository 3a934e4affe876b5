// What the hosts share besides the dialog answers: the folder of the running
// program, a whole file read or written in one go through the platform's own
// calls, and the module's Show loaded from its library.
#ifndef SETUP_HOST_HOST_FILES_H
#define SETUP_HOST_HOST_FILES_H

#include <windows.h>

#include <cstdio>
#include <string>

#include "setup/host.h"

namespace hostfiles {

// The running program's folder, ending in a backslash.
inline std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string text(path, length);
    return text.substr(0, text.find_last_of('\\') + 1);
}

// The whole file at path into content; false when it cannot be opened.
inline bool ReadWhole(const std::string& path, std::string& content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    content.clear();
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        content.append(buffer, got);
    }
    CloseHandle(file);
    return true;
}

// The file at path made to hold exactly content; false when not all of it was written.
inline bool WriteWhole(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok =
        ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == content.size();
}

// Show of the library at dllPath, loaded into dll; nullptr, with the
// library freed and the reason printed, when it cannot be loaded or has no Show.
inline SetupShowFn LoadShow(const std::string& dllPath, HMODULE& dll) {
    dll = LoadLibraryA(dllPath.c_str());
    if (dll == nullptr) {
        std::printf("cannot load %s (error %lu)\n", dllPath.c_str(), GetLastError());
        return nullptr;
    }
    auto show =
        reinterpret_cast<SetupShowFn>(reinterpret_cast<void (*)()>(GetProcAddress(dll, "Show")));
    if (show == nullptr) {
        std::printf("%s exports no Show\n", dllPath.c_str());
        FreeLibrary(dll);
        dll = nullptr;
    }
    return show;
}

}  // namespace hostfiles

#endif
