// Helpers of the settings, entry, language and jobini tests: a fresh
// temporary directory per test, whole-file reads and writes, the read-only
// attribute.
#ifndef SETUP_TESTS_SETTINGS_TEST_SUPPORT_H
#define SETUP_TESTS_SETTINGS_TEST_SUPPORT_H

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/files.h"
#include "unit/ini_test_support.h"

namespace testsupport {

namespace fs = std::filesystem;

// A directory of its own, removed with everything in it (read-only files
// included) when the object goes.
class TempDir : public initest::ScratchDir {
public:
    TempDir() : ScratchDir("setup-test-") {}

    // The directory in the form a host passes it: with a trailing separator.
    std::string PathWithSeparator() const { return (fs::path(Path()) / "").string(); }

    // Writes the bytes to name (created or replaced) and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        const fs::path path(File(name));
        fs::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    // The names of everything directly in the directory, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(fs::path(Path()))) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(fs::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void MakeReadOnly(const std::string& path) {
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

inline bool IsReadOnly(const std::string& path) {
    return (fs::status(path).permissions() & fs::perms::owner_write) == fs::perms::none;
}

// Makes dir the current directory for the object's lifetime.
class CurrentDirectoryScope {
public:
    explicit CurrentDirectoryScope(const std::string& dir) : m_old(files::CurrentDirectory()) {
        files::ChangeDirectory(dir);
    }
    ~CurrentDirectoryScope() { files::ChangeDirectory(m_old); }
    CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
    CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

private:
    std::string m_old;
};

}  // namespace testsupport

#endif
