// The INI engine's file access on Windows.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/ini_store.h"

namespace ini {
namespace store {

namespace {

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

std::string Name(const std::string& path) {
    size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A save's temporary file is "~ini<file>.<pid>.<n>.tmp" beside the file, all
// in hexadecimal, <file> a hash of the file's name (short, so that a path
// that fits MAX_PATH leaves room for it). The save holds it open without
// sharing until it is renamed over the file.
uint32_t NameHash(const std::string& path) {
    uint32_t hash = 2166136261u;  // FNV-1a, of the name upper-cased (ASCII)
    for (char c : Name(path)) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return hash;
}

std::string TemporaryPrefix(const std::string& dir, const std::string& path) {
    std::string prefix = dir;
    if (!prefix.empty() && prefix.back() != '\\' && prefix.back() != '/' && prefix.back() != ':') {
        prefix += '\\';
    }
    char hash[16];
    std::snprintf(hash, sizeof hash, "~ini%08x.", static_cast<unsigned>(NameHash(path)));
    return prefix + hash;
}

// Reads hexadecimal digits up to the next '.'; false when there are none or
// something else comes first.
bool HexField(const char*& text, unsigned long* value) {
    const char* start = text;
    *value = 0;
    for (; *text != '.'; ++text) {
        const char c = *text;
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0 || text - start >= 8) {
            return false;
        }
        *value = *value * 16 + static_cast<unsigned long>(digit);
    }
    return text != start;
}

// The process ID in "<pid>.<n>.tmp", 0 when the rest of the name is not that.
DWORD TemporaryOwner(const char* rest) {
    unsigned long pid = 0, number = 0;
    if (!HexField(rest, &pid) || !HexField(++rest, &number) || lstrcmpiA(rest, ".tmp") != 0) {
        return 0;
    }
    return static_cast<DWORD>(pid);
}

// Whether the process may still be writing: it runs, or it cannot be asked.
bool MayBeRunning(DWORD pid) {
    if (pid == ::GetCurrentProcessId()) {
        return true;
    }
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (process == NULL) {
        return ::GetLastError() != ERROR_INVALID_PARAMETER;  // no such process
    }
    const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    ::CloseHandle(process);
    return running;
}

// Removes the temporary files that dead saves of the file at path left
// behind: those whose process has ended. A file still open (a save between
// its creation and its rename) cannot be deleted and stays.
void RemoveDeadTemporaries(const std::string& dir, const std::string& path) {
    const std::string prefix = TemporaryPrefix(dir, path);
    const size_t folder = prefix.find_last_of("\\/:") + 1;
    const std::string namePrefix = prefix.substr(folder);
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((prefix + "*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    std::vector<std::string> dead;
    do {
        const std::string entry = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            entry.size() <= namePrefix.size() ||
            lstrcmpiA(entry.substr(0, namePrefix.size()).c_str(), namePrefix.c_str()) != 0) {
            continue;
        }
        const DWORD pid = TemporaryOwner(entry.c_str() + namePrefix.size());
        if (pid != 0 && !MayBeRunning(pid)) {
            dead.push_back(prefix.substr(0, folder) + entry);
        }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    for (const std::string& file : dead) {
        ::DeleteFileA(file.c_str());
    }
}

// A path as the wide functions take it beyond MAX_PATH: the full path in its
// "\\?\" form, which has no such limit. Only the folder (which fits, as
// the file's own path does) is made full; the name is added to it as it is.
std::wstring Extended(const std::string& path) {
    const size_t cut = path.find_last_of("\\/:") + 1;  // 0 when there is none
    const std::string folder = cut == 0 ? std::string(".") : path.substr(0, cut);
    const std::u16string wideFolder = ToWide(folder.c_str(), folder.size());
    const std::u16string wideName = ToWide(path.c_str() + cut, path.size() - cut);
    const std::wstring given(wideFolder.begin(), wideFolder.end());
    wchar_t full[MAX_PATH];
    const DWORD length = ::GetFullPathNameW(given.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) {
        return std::wstring();
    }
    std::wstring extended(full, length);
    if (extended.back() != L'\\') {
        extended += L'\\';
    }
    extended.append(wideName.begin(), wideName.end());
    if (extended.compare(0, 4, L"\\\\?\\") == 0 || extended.compare(0, 4, L"\\\\.\\") == 0) {
        return extended;  // already a path of that form, or a device's
    }
    if (extended.compare(0, 2, L"\\\\") == 0) {
        return L"\\\\?\\UNC\\" + extended.substr(2);
    }
    return L"\\\\?\\" + extended;
}

// The temporary file is named beside the file, so that a path that fits
// MAX_PATH may give a temporary path that does not: that one goes through
// the wide functions.
bool FitsAnsi(const std::string& path) {
    return path.size() < MAX_PATH;
}

HANDLE CreateTemporary(const std::string& temp) {
    if (FitsAnsi(temp)) {
        return ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    const std::wstring wide = Extended(temp);
    if (wide.empty()) {
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return INVALID_HANDLE_VALUE;
    }
    return ::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
}

bool Move(const std::string& temp, const std::string& path) {
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (FitsAnsi(temp)) {
        return ::MoveFileExA(temp.c_str(), path.c_str(), flags) != FALSE;
    }
    const std::wstring from = Extended(temp), to = Extended(path);
    return !from.empty() && !to.empty() && ::MoveFileExW(from.c_str(), to.c_str(), flags);
}

bool Delete(const std::string& temp) {
    if (FitsAnsi(temp)) {
        return ::DeleteFileA(temp.c_str()) != FALSE;
    }
    const std::wstring wide = Extended(temp);
    return !wide.empty() && ::DeleteFileW(wide.c_str());
}

// Whether an operation on a file that failed with this error may succeed a
// moment later: another process (a reader of the job, a virus scanner
// looking at a new file) has it open.
bool IsTransient(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

// Renames the temporary file over the file. A reader that has the file open
// at that moment (another process reading the job) makes the rename fail
// with a sharing or access error for as long as it reads: the rename is
// tried again for a while before the save counts as failed.
bool MoveOver(const std::string& temp, const std::string& path) {
    for (int attempt = 0;; ++attempt) {
        if (Move(temp, path)) {
            return true;
        }
        if (!IsTransient(::GetLastError()) || attempt == 40) {
            return false;
        }
        ::Sleep(5);
    }
}

// Deletes the temporary file of a save that failed. A scanner that opened
// the new file holds it for a moment: the deletion is tried again for as
// long as a rename would be.
void DeleteTemporary(const std::string& temp) {
    for (int attempt = 0; attempt <= 40; ++attempt) {
        if (Delete(temp) || !IsTransient(::GetLastError())) {
            return;
        }
        ::Sleep(5);
    }
}

// Whether the path opens as a device (NUL, COM1) or a pipe: no file that a
// save may replace. Opened for no access at all, which reads and writes
// nothing.
bool NamesDeviceOrPipe(const std::string& path) {
    HANDLE file =
        ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;  // missing, or a folder: the save's own checks follow
    }
    const DWORD type = ::GetFileType(file);
    ::CloseHandle(file);
    return type != FILE_TYPE_DISK;
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
    // Closes the file however the read ends (a failed allocation included).
    const std::unique_ptr<void, BOOL(WINAPI*)(HANDLE)> closer(file, ::CloseHandle);
    // A device or a pipe opens as a file does, but its read may wait for
    // input or never end: only a disk file is read.
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        return false;
    }
    DWORD high = 0;
    DWORD size = ::GetFileSize(file, &high);
    if ((size == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) || high != 0 ||
        size > files::kMaxReadSize) {
        return false;
    }
    // One byte more than the file had: a file that grew since fills it, and
    // one that grew beyond the limit is not read.
    bytes->assign(static_cast<size_t>(size) + 1, '\0');
    DWORD done = 0;
    for (;;) {
        if (done == bytes->size()) {
            if (bytes->size() > files::kMaxReadSize) {
                return false;
            }
            bytes->resize(std::min<size_t>(bytes->size() + 4096, files::kMaxReadSize + 1));
        }
        DWORD n = 0;
        if (!::ReadFile(file, &(*bytes)[done], static_cast<DWORD>(bytes->size() - done), &n,
                        nullptr)) {
            return false;
        }
        if (n == 0) {
            break;
        }
        done += n;
    }
    bytes->resize(done);
    return true;
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
    if (NamesDeviceOrPipe(nativePath)) {
        return false;
    }
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
    const std::string dir = Directory(nativePath);
    const std::string prefix = TemporaryPrefix(dir, nativePath);
    std::string temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, "%lx.%x.tmp",
                      static_cast<unsigned long>(::GetCurrentProcessId()), ++counter);
        temp = prefix + suffix;
        file = CreateTemporary(temp);
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
    if (ok && MoveOver(temp, nativePath)) {
        const DWORD kept =
            FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        if (exists && (old.dwFileAttributes & kept)) {
            ::SetFileAttributesA(nativePath.c_str(),
                                 (old.dwFileAttributes & kept) | FILE_ATTRIBUTE_ARCHIVE);
        }
        RemoveDeadTemporaries(dir, nativePath);
        return true;
    }
    DeleteTemporary(temp);
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

std::string FoldWide(const char16_t* name, size_t length) {
    std::u16string wide(name, length);
    if (!wide.empty()) {
        ::CharUpperBuffW(reinterpret_cast<wchar_t*>(&wide[0]), static_cast<DWORD>(wide.size()));
    }
    // Any byte form serves as a key; UTF-16 bytes keep every character.
    return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
}

std::string FoldNonAscii(std::string_view name) {
    const std::u16string wide = ToWide(name.data(), name.size());
    return FoldWide(wide.data(), wide.size());
}

bool IsLeadByte(unsigned char byte) {
    return byte >= 0x80 && ::IsDBCSLeadByte(byte);
}

}  // namespace store
}  // namespace ini
