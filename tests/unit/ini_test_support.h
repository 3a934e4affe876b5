// Helpers of the INI engine and file tests: a scratch directory per test,
// whole-file bytes, the read-only attribute, and in the Windows build
// kernel32's own private-profile functions as the reference.
#ifndef SETUP_TESTS_INI_TEST_SUPPORT_H
#define SETUP_TESTS_INI_TEST_SUPPORT_H

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace initest {

namespace fs = std::filesystem;

// A fresh directory, removed with everything in it (read-only files
// included) when the object goes; its name begins with prefix.
class ScratchDir {
public:
    explicit ScratchDir(const char* prefix = "ini-test-") {
        static unsigned counter = 0;
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
            fs::path candidate = fs::temp_directory_path() /
                                 (prefix + std::to_string(random()) + "-" + std::to_string(tick) +
                                  "-" + std::to_string(++counter));
            std::error_code error;
            if (fs::create_directory(candidate, error)) {
                m_path = candidate;
                return;
            }
        }
        throw std::runtime_error("cannot create a scratch directory");
    }
    ~ScratchDir() {
        std::error_code error;
        for (auto it = fs::recursive_directory_iterator(m_path, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
        }
        fs::remove_all(m_path, error);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string Path() const { return m_path.string(); }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

    // Number of entries in the directory (to see that no temporary is left).
    size_t Count() const {
        size_t n = 0;
        for (auto it = fs::directory_iterator(m_path); it != fs::directory_iterator(); ++it) {
            ++n;
        }
        return n;
    }

private:
    fs::path m_path;
};

// UTF-16LE text with its byte order mark, as a file holds it.
inline std::string Utf16(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

// The marker for "no such file" where a test names file contents.
inline const std::string& NoFile() {
    static const std::string marker("<no file>");
    return marker;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(fs::path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The file's bytes, or NoFile() when it does not exist.
inline std::string ReadBytes(const std::string& path) {
    std::error_code error;
    if (!fs::exists(fs::path(path), error)) {
        return NoFile();
    }
    std::ifstream in(fs::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The read-only attribute on Windows; natively the write bits.
inline void SetReadOnly(const std::string& path, bool readOnly) {
    fs::permissions(fs::path(path),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    readOnly ? fs::perm_options::remove : fs::perm_options::add);
}

inline bool IsReadOnly(const std::string& path) {
    return (fs::status(fs::path(path)).permissions() & fs::perms::owner_write) == fs::perms::none;
}

// Printable form of bytes for failure messages.
inline std::string Show(const std::string& bytes) {
    static const char hex[] = "0123456789abcdef";
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\\' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

}  // namespace initest

#endif
