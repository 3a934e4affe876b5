// The INI engine's file access on POSIX systems.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/ini_store.h"

namespace ini {
namespace store {

namespace {

int64_t Nanoseconds(const struct timespec& t) {
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string Directory(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Name(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string CacheKey(const std::string& nativePath) {
    if (!nativePath.empty() && nativePath[0] == '/') {
        return nativePath;
    }
    char cwd[PATH_MAX];
    if (!::getcwd(cwd, sizeof cwd)) {
        return nativePath;
    }
    std::string key(cwd);
    key += '/';
    key += nativePath;
    return key;
}

bool StampFile(const std::string& nativePath, Stamp* stamp) {
    struct stat st;
    if (::stat(nativePath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    stamp->size = static_cast<uint64_t>(st.st_size);
    stamp->modified = Nanoseconds(st.st_mtim);
    stamp->changed = Nanoseconds(st.st_ctim);
    stamp->identity =
        static_cast<uint64_t>(st.st_ino) * 1000003u ^ static_cast<uint64_t>(st.st_dev);
    return true;
}

bool ReadWhole(const std::string& nativePath, std::string* bytes) {
    int fd = ::open(nativePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    // Closes the file however the read ends (a failed allocation included).
    const std::unique_ptr<int, void (*)(int*)> closer(&fd, [](int* f) { ::close(*f); });
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > files::kMaxReadSize) {
        return false;
    }
    // One byte more than the file had: a file that grew since fstat fills
    // it, and one that grew beyond the limit is not read.
    bytes->assign(static_cast<size_t>(st.st_size) + 1, '\0');
    size_t done = 0;
    for (;;) {
        if (done == bytes->size()) {
            if (bytes->size() > files::kMaxReadSize) {
                return false;
            }
            bytes->resize(std::min<size_t>(bytes->size() + 4096, files::kMaxReadSize + 1));
        }
        ssize_t n = ::read(fd, &(*bytes)[done], bytes->size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<size_t>(n);
    }
    bytes->resize(done);
    return true;
}

int64_t Now() {
    struct timespec t;
    ::clock_gettime(CLOCK_REALTIME, &t);
    return Nanoseconds(t);
}

namespace {

// The file a write replaces: path itself, or the file a symbolic link names.
// Fails on anything but a writable regular file; a missing one is fine
// (exists is then false).
bool Target(const std::string& path, std::string* target, struct stat* st, bool* exists) {
    *target = path;
    *exists = false;
    if (::lstat(path.c_str(), st) != 0) {
        return errno == ENOENT;
    }
    if (S_ISLNK(st->st_mode)) {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (!resolved) {
            return false;
        }
        *target = resolved;
        ::free(resolved);
        if (::stat(target->c_str(), st) != 0) {
            return false;
        }
    }
    // Read-only is the owner's write bit (what the read-only attribute
    // stands for); checked explicitly, since root may write anything.
    if (!S_ISREG(st->st_mode) || !(st->st_mode & S_IWUSR) || ::access(target->c_str(), W_OK) != 0) {
        return false;
    }
    *exists = true;
    return true;
}

// A save's temporary file is ".<name>.<pid>.<n>.tmp" beside the file, and
// the save holds an exclusive lock on it from just after its creation until
// it has been renamed over the file. One that can be locked belongs to a save
// that died (killed, or the machine went down) before its rename, unless it
// is still empty: then its save may be between the creation and the lock,
// and only the end of its process says that it died.
// A long name is cut in the temporary file's name, so that the name stays
// within the file system's limit of 255 bytes (the suffix takes at most 27).
std::string Stem(const std::string& name) {
    return name.substr(0, 255 - 27);
}

std::string TemporaryName(const std::string& name, unsigned number) {
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%ld.%u.tmp", static_cast<long>(::getpid()), number);
    return "." + Stem(name) + suffix;
}

bool IsDigits(const std::string& text, size_t begin, size_t end) {
    if (begin >= end) {
        return false;
    }
    for (size_t i = begin; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    return true;
}

// Whether entry is a temporary file of a save of the file called name; if
// so, the process ID in its name.
bool IsTemporaryOf(const std::string& entry, const std::string& name, pid_t* pid) {
    const std::string prefix = "." + Stem(name) + ".";
    const std::string suffix = ".tmp";
    if (entry.size() <= prefix.size() + suffix.size() || entry.compare(0, prefix.size(), prefix) ||
        entry.compare(entry.size() - suffix.size(), suffix.size(), suffix)) {
        return false;
    }
    const size_t end = entry.size() - suffix.size();
    const size_t dot = entry.find('.', prefix.size());
    if (dot >= end || !IsDigits(entry, prefix.size(), dot) || !IsDigits(entry, dot + 1, end) ||
        dot - prefix.size() > 9) {
        return false;
    }
    *pid = static_cast<pid_t>(::strtol(entry.c_str() + prefix.size(), nullptr, 10));
    return *pid > 0;
}

// Whether a process with this ID exists (it may be another user's).
bool ProcessExists(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Creates a new temporary file for a save of dir/name, locked; -1 when the
// directory does not take one.
int CreateTemporary(const std::string& dir, const std::string& name, std::string* temp) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        *temp = dir + "/" +
                TemporaryName(name, counter.fetch_add(1) + static_cast<unsigned>(attempt) * 7919u);
        int fd = ::open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno != EEXIST) {
                return -1;  // a missing or read-only directory
            }
            continue;
        }
        // Another save may be looking at the new file (it holds the lock for
        // that moment). Should the file be gone once the lock is ours, try
        // another name.
        struct stat opened, named;
        int locked;
        do {
            locked = ::flock(fd, LOCK_EX);
        } while (locked != 0 && errno == EINTR);
        if (locked == 0 && ::fstat(fd, &opened) == 0 && ::lstat(temp->c_str(), &named) == 0 &&
            SameFile(opened, named)) {
            return fd;
        }
        ::close(fd);
    }
    return -1;
}

// Removes the temporary files that dead saves of dir/name left behind. A
// file that a live save holds locked (or may be about to lock) is left
// alone, and so is anything that is not exactly such a temporary file.
void RemoveDeadTemporaries(const std::string& dir, const std::string& name) {
    DIR* listing = ::opendir(dir.c_str());
    if (!listing) {
        return;
    }
    std::vector<std::pair<std::string, pid_t>> found;
    while (const struct dirent* entry = ::readdir(listing)) {
        pid_t pid = 0;
        if (IsTemporaryOf(entry->d_name, name, &pid)) {
            found.emplace_back(entry->d_name, pid);
        }
    }
    ::closedir(listing);
    for (const auto& [entry, pid] : found) {
        const std::string path = dir + "/" + entry;
        int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        // Locked, and still the file of that name: no save can be writing it.
        struct stat opened, named;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
            S_ISREG(opened.st_mode) && ::lstat(path.c_str(), &named) == 0 &&
            SameFile(opened, named) && (opened.st_size > 0 || !ProcessExists(pid))) {
            ::unlink(path.c_str());
        }
        ::close(fd);
    }
}

}  // namespace

bool CanReplace(const std::string& nativePath) {
    std::string target;
    struct stat st;
    bool exists;
    return Target(nativePath, &target, &st, &exists) && exists;
}

bool ReplaceAtomically(const std::string& nativePath, const std::string& bytes) {
    std::string target;
    struct stat st;
    bool exists;
    if (!Target(nativePath, &target, &st, &exists)) {
        return false;
    }

    const std::string dir = Directory(target);
    const std::string name = Name(target);
    std::string temp;
    int fd = CreateTemporary(dir, name, &temp);
    if (fd < 0) {
        return false;
    }
    bool ok = WriteAll(fd, bytes);
    if (ok && exists) {
        ok = ::fchmod(fd, st.st_mode & 07777) == 0;
        if (ok && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
            // Keep the owner when allowed to; a plain user cannot, and the
            // file then becomes theirs, as any editor's save would make it.
            if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
                errno = 0;
            }
        }
    }
    // On disk before it takes the old file's place: a crash leaves either.
    ok = ok && ::fdatasync(fd) == 0;
    // The directory is not synced: should the rename itself be lost, the
    // old file is still whole. The lock is held until the temporary file is
    // gone under its own name.
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
    }
    ::close(fd);
    if (ok) {
        RemoveDeadTemporaries(dir, name);
    }
    return ok;
}

std::string ToNarrow(const char16_t* text, size_t length) {
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = '?';  // an unpaired surrogate
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string ToWide(const char* text, size_t length) {
    std::u16string out;
    out.reserve(length);
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < length) {
        uint32_t c = s[i];
        if (c < 0x80) {
            out += static_cast<char16_t>(c);
            ++i;
            continue;
        }
        size_t extra = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 0;
        uint32_t value = c & (0x3F >> extra);
        bool valid = extra > 0 && i + extra < length;
        for (size_t k = 1; valid && k <= extra; ++k) {
            valid = (s[i + k] & 0xC0) == 0x80;
            value = (value << 6) | (s[i + k] & 0x3F);
        }
        static const uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (valid &&
            (value < kMinimum[extra] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))) {
            valid = false;
        }
        if (!valid) {
            out += u'\xFFFD';  // a byte that starts no valid sequence
            ++i;
            continue;
        }
        if (value >= 0x10000) {
            value -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (value >> 10));
            out += static_cast<char16_t>(0xDC00 + (value & 0x3FF));
        } else {
            out += static_cast<char16_t>(value);
        }
        i += extra + 1;
    }
    return out;
}

std::string FoldNonAscii(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

std::string FoldWide(const char16_t* name, size_t length) {
    // As ToNarrow, but an unpaired surrogate keeps its own three bytes (not
    // '?'): a name holding one is not the name with a '?' in its place.
    std::string narrow;
    size_t done = 0;
    auto isHigh = [](char16_t u) { return u >= 0xD800 && u <= 0xDBFF; };
    auto isLow = [](char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
    for (size_t i = 0; i < length; ++i) {
        const char16_t c = name[i];
        const bool alone = isHigh(c) ? !(i + 1 < length && isLow(name[i + 1]))
                                     : isLow(c) && !(i > 0 && isHigh(name[i - 1]));
        if (alone) {
            narrow += ToNarrow(name + done, i - done);
            narrow += static_cast<char>(0xE0 | (c >> 12));
            narrow += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            narrow += static_cast<char>(0x80 | (c & 0x3F));
            done = i + 1;
        }
    }
    narrow += ToNarrow(name + done, length - done);
    return FoldNonAscii(narrow);
}

bool IsLeadByte(unsigned char) {
    return false;
}

}  // namespace store
}  // namespace ini
