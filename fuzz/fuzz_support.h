// What the fuzz harnesses share: taking an input apart, a scratch folder for
// the files a harness has the module read, and the check that stops a run.
//
// Every harness defines LLVMFuzzerTestOneInput. The fuzz preset links it with
// libFuzzer's main (make fuzz); the native build links it with replay_main.cpp,
// which feeds it each file of the harness's committed corpus (make test).
#ifndef SETUP_FUZZ_FUZZ_SUPPORT_H
#define SETUP_FUZZ_FUZZ_SUPPORT_H

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fuzz {

// Reads an input front to back; past its end every read gives zeros and
// empty strings.
class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    // At most `max` bytes, as many as the next byte says.
    std::string Text(size_t max) {
        size_t length = Byte() % (max + 1);
        return Bytes(length);
    }
    std::string Bytes(size_t length) {
        length = std::min(length, m_size - m_pos);
        std::string text(reinterpret_cast<const char*>(m_data + m_pos), length);
        m_pos += length;
        return text;
    }
    std::string Rest() { return Bytes(m_size - m_pos); }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// A folder for the harness's files, made once per process and removed at
// its exit: in memory where the system has such a file system (the INI
// engine syncs every save to disk).
inline const std::string& ScratchFolder() {
    // Never destroyed: the removal at exit still needs it.
    static const std::string* folder = [] {
        std::string base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        auto* path = new std::string(base + "/setup-fuzz-" + std::to_string(::getpid()));
        if (::mkdir(path->c_str(), 0700) != 0 && errno != EEXIST) {
            std::fprintf(stderr, "fuzz: cannot make %s\n", path->c_str());
            std::abort();
        }
        std::atexit([] {
            std::error_code error;
            std::filesystem::remove_all(ScratchFolder(), error);
        });
        return path;
    }();
    return *folder;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Bytes in a readable form for a failure report.
inline std::string Printable(const std::string& bytes) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

// A broken promise: reported, then the run stops as on a crash, so that
// libFuzzer keeps the input and the corpus replay fails.
[[noreturn]] inline void Fail(const std::string& what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

#define FUZZ_CHECK(condition, what)                                           \
    do {                                                                      \
        if (!(condition)) {                                                   \
            ::fuzz::Fail(std::string(#condition) + ": " + std::string(what)); \
        }                                                                     \
    } while (0)

}  // namespace fuzz

#endif
