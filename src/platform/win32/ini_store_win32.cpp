// The INI engine's file access on Windows.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "platform/ini_store.h"

namespace ini {
namespace store {

namespace {

// Files beyond this size are not read (a profile is never this large).
const DWORD kMaxFileSize = 512 * 1024 * 1024;

// 100 ns intervals from 1601-01-01 to 1970-01-01.
const int64_t kEpochOffset = 116444736000000000LL;

int64_t Nanoseconds(int64_t fileTime) {
    return (fileTime - kEpochOffset) * 100;
}

int64_t Nanoseconds(const FILETIME& t) {
    return Nanoseconds(
        static_cast<int64_t>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime));
}

// NtQueryFullAttributesFile gives, without opening the file, what
// GetFileAttributesEx gives plus the change time, which moves with every
// change of the file (even one that restores the last-write time). It has
// been in ntdll since Windows NT; GetFileAttributesEx itself is built on it.
struct NtUnicodeString {
    USHORT Length;
    USHORT MaximumLength;
    PWSTR Buffer;
};
struct NtObjectAttributes {
    ULONG Length;
    HANDLE RootDirectory;
    NtUnicodeString* ObjectName;
    ULONG Attributes;
    PVOID SecurityDescriptor;
    PVOID SecurityQualityOfService;
};
struct NtNetworkOpenInformation {
    LARGE_INTEGER CreationTime;
    LARGE_INTEGER LastAccessTime;
    LARGE_INTEGER LastWriteTime;
    LARGE_INTEGER ChangeTime;
    LARGE_INTEGER AllocationSize;
    LARGE_INTEGER EndOfFile;
    ULONG FileAttributes;
};
typedef LONG(WINAPI* QueryFullAttributesFn)(NtObjectAttributes*, NtNetworkOpenInformation*);
typedef BOOLEAN(WINAPI* DosPathToNtPathFn)(PCWSTR, NtUnicodeString*, PWSTR*, PVOID);
typedef VOID(WINAPI* FreeUnicodeStringFn)(NtUnicodeString*);

struct Ntdll {
    QueryFullAttributesFn query = nullptr;
    DosPathToNtPathFn toNtPath = nullptr;
    FreeUnicodeStringFn freeString = nullptr;

    Ntdll() {
        HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
        if (!ntdll) {
            return;
        }
        query = reinterpret_cast<QueryFullAttributesFn>(
            reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtQueryFullAttributesFile")));
        toNtPath = reinterpret_cast<DosPathToNtPathFn>(
            reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlDosPathNameToNtPathName_U")));
        freeString = reinterpret_cast<FreeUnicodeStringFn>(
            reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlFreeUnicodeString")));
    }
    bool Available() const { return query && toNtPath && freeString; }
};

const Ntdll& TheNtdll() {
    static Ntdll ntdll;
    return ntdll;
}

bool StampThroughNtdll(const std::string& path, Stamp* stamp, bool* answered) {
    const Ntdll& nt = TheNtdll();
    *answered = false;
    if (!nt.Available()) {
        return false;
    }
    std::u16string wide = ToWide(path.c_str(), path.size());
    std::wstring wpath(wide.begin(), wide.end());
    NtUnicodeString ntPath = {0, 0, nullptr};
    if (!nt.toNtPath(wpath.c_str(), &ntPath, nullptr, nullptr)) {
        return false;
    }
    NtObjectAttributes attributes = {sizeof(NtObjectAttributes),      nullptr, &ntPath,
                                     0x40 /* OBJ_CASE_INSENSITIVE */, nullptr, nullptr};
    NtNetworkOpenInformation info;
    LONG status = nt.query(&attributes, &info);
    nt.freeString(&ntPath);
    *answered = true;
    if (status < 0 || (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    }
    stamp->size = static_cast<uint64_t>(info.EndOfFile.QuadPart);
    stamp->modified = Nanoseconds(info.LastWriteTime.QuadPart);
    stamp->changed = Nanoseconds(info.ChangeTime.QuadPart);
    stamp->identity = static_cast<uint64_t>(info.CreationTime.QuadPart);
    return true;
}

std::string Directory(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) {
        // "C:name" lives in the current directory of drive C.
        return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string(".");
    }
    return path.substr(0, slash + 1);
}

}  // namespace

std::string CacheKey(const std::string& nativePath) {
    char buffer[MAX_PATH];
    DWORD length = ::GetFullPathNameA(nativePath.c_str(), MAX_PATH, buffer, nullptr);
    if (length == 0 || length >= MAX_PATH) {
        return nativePath;
    }
    return std::string(buffer, length);
}

bool StampFile(const std::string& nativePath, Stamp* stamp) {
    bool answered = false;
    bool found = StampThroughNtdll(nativePath, stamp, &answered);
    if (answered) {
        return found;
    }
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(nativePath.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    }
    stamp->size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp->modified = Nanoseconds(data.ftLastWriteTime);
    stamp->changed = 0;
    stamp->identity = static_cast<uint64_t>(Nanoseconds(data.ftCreationTime));
    return true;
}

bool ReadWhole(const std::string& nativePath, std::string* bytes) {
    HANDLE file = ::CreateFileA(nativePath.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD high = 0;
    DWORD size = ::GetFileSize(file, &high);
    if ((size == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) || high != 0 ||
        size > kMaxFileSize) {
        ::CloseHandle(file);
        return false;
    }
    bytes->assign(size, '\0');
    DWORD done = 0;
    bool ok = true;
    for (;;) {
        if (done == bytes->size()) {
            // The file may have grown since: read on until the end.
            if (bytes->size() >= kMaxFileSize) {
                ok = false;
                break;
            }
            bytes->resize(bytes->size() + 4096);
        }
        DWORD n = 0;
        if (!::ReadFile(file, &(*bytes)[done], static_cast<DWORD>(bytes->size() - done), &n,
                        nullptr)) {
            ok = false;
            break;
        }
        if (n == 0) {
            break;
        }
        done += n;
    }
    ::CloseHandle(file);
    bytes->resize(done);
    return ok;
}

int64_t Now() {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    return Nanoseconds(now);
}

bool CanReplace(const std::string& nativePath) {
    DWORD attributes = ::GetFileAttributesA(nativePath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
}

bool ReplaceAtomically(const std::string& nativePath, const std::string& bytes) {
    WIN32_FILE_ATTRIBUTE_DATA old;
    bool exists = ::GetFileAttributesExA(nativePath.c_str(), GetFileExInfoStandard, &old) != 0;
    if (exists) {
        if (old.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) {
            return false;
        }
    } else if (::GetLastError() != ERROR_FILE_NOT_FOUND) {
        return false;  // a missing directory, a bad name, no access
    }

    static unsigned counter = 0;
    std::string dir = Directory(nativePath);
    std::string temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, "~ini%lx%x.tmp",
                      static_cast<unsigned long>(::GetCurrentProcessId()), ++counter);
        temp = dir;
        if (!temp.empty() && temp.back() != '\\' && temp.back() != '/' && temp.back() != ':') {
            temp += '\\';
        }
        temp += suffix;
        file = ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) {
            return false;
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = true;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        DWORD n = 0;
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        ok = ::WriteFile(file, bytes.data() + done, chunk, &n, nullptr) && n == chunk;
        done += n;
    }
    if (ok && exists) {
        // The replacement keeps the date the file was created.
        ::SetFileTime(file, &old.ftCreationTime, nullptr, nullptr);
    }
    // On disk before it takes the old file's place: a crash leaves either.
    ok = ok && ::FlushFileBuffers(file);
    ok = ::CloseHandle(file) && ok;
    if (ok && ::MoveFileExA(temp.c_str(), nativePath.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD kept =
            FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        if (exists && (old.dwFileAttributes & kept)) {
            ::SetFileAttributesA(nativePath.c_str(),
                                 (old.dwFileAttributes & kept) | FILE_ATTRIBUTE_ARCHIVE);
        }
        return true;
    }
    ::DeleteFileA(temp.c_str());
    return false;
}

std::string ToNarrow(const char16_t* text, size_t length) {
    if (length == 0) {
        return std::string();
    }
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text);
    int n = ::WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), nullptr, 0, nullptr,
                                  nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    if (n > 0) {
        ::WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), &out[0], n, nullptr,
                              nullptr);
    }
    return out;
}

std::u16string ToWide(const char* text, size_t length) {
    if (length == 0) {
        return std::u16string();
    }
    int n = ::MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(n) + 1);
    if (n > 0) {
        ::MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), wide.data(), n);
    }
    return std::u16string(reinterpret_cast<const char16_t*>(wide.data()), static_cast<size_t>(n));
}

std::string FoldNonAscii(std::string_view name) {
    std::u16string wide = ToWide(name.data(), name.size());
    if (!wide.empty()) {
        ::CharUpperBuffW(reinterpret_cast<wchar_t*>(&wide[0]), static_cast<DWORD>(wide.size()));
    }
    // Any byte form serves as a key; UTF-16 bytes keep every character.
    return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
}

bool IsLeadByte(unsigned char byte) {
    return byte >= 0x80 && ::IsDBCSLeadByte(byte);
}

}  // namespace store
}  // namespace ini
