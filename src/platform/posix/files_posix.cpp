// File operations natively: Windows paths map to POSIX ones, and the
// read-only attribute is the owner's write bit.
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"

namespace files {

std::string NativePath(const std::string& path) {
    std::string native;
    native.reserve(path.size());
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\') {
            if (i == 0 || path[i - 1] != '\\') {
                native += '/';
            }
        } else {
            native += path[i];
        }
    }
    return native;
}

bool CanOpenForReading(const std::string& path) {
    // O_NONBLOCK keeps a FIFO from blocking the caller until a writer comes;
    // only a regular file counts (no folder, FIFO or device).
    int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxReadSize;
    ::close(fd);
    return ok;
}

bool SetNormalAttributes(const std::string& path) {
    std::string native = NativePath(path);
    struct stat st;
    if (::stat(native.c_str(), &st) != 0) {
        return false;
    }
    if (st.st_mode & S_IWUSR) {
        return true;
    }
    return ::chmod(native.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

bool Remove(const std::string& path) {
    std::string native = NativePath(path);
    struct stat st;
    // DeleteFileA removes no directory and no read-only file.
    if (::lstat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) {
        return false;
    }
    if (!S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR)) {
        return false;
    }
    return ::unlink(native.c_str()) == 0;
}

std::string CurrentDirectory() {
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof buffer)) {
        return std::string();
    }
    return buffer;
}

bool ChangeDirectory(const std::string& path) {
    return ::chdir(NativePath(path).c_str()) == 0;
}

}  // namespace files
