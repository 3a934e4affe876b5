// The file functions: the open-for-reading test, attributes, removal, the
// current directory, and the mapping of the host's Windows paths.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "ini_test_support.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

TEST(Files, NativePath) {
    struct Row {
        const char* given;
        const char* native;
    };
    static const Row rows[] = {
#ifdef _WIN32
        {"C:\\Tool\\\\DLL\\Language.dll", "C:\\Tool\\\\DLL\\Language.dll"},
        {"job.ini", "job.ini"},
#else
        {"C:\\Tool\\\\DLL\\Language.dll", "C:/Tool/DLL/Language.dll"},
        {"\\\\\\server\\share", "/server/share"},
        {"/tmp/a\\\\\\b/c", "/tmp/a/b/c"},
        {"dir\\", "dir/"},
        {"job.ini", "job.ini"},
        {"", ""},
#endif
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.native, files::NativePath(row.given)) << row.given;
    }
}

TEST(Files, CanOpenForReading) {
    initest::ScratchDir dir;
    std::string file = dir.File("a.ini");
    initest::WriteBytes(file, "x");
    EXPECT_TRUE(files::CanOpenForReading(file));
    initest::SetReadOnly(file, true);
    EXPECT_TRUE(files::CanOpenForReading(file));
    EXPECT_FALSE(files::CanOpenForReading(dir.File("missing.ini")));
    EXPECT_FALSE(files::CanOpenForReading(dir.Path()));
    EXPECT_FALSE(files::CanOpenForReading(""));
}

TEST(Files, SetNormalAttributesClearsReadOnly) {
    initest::ScratchDir dir;
    std::string file = dir.File("a.ini");
    initest::WriteBytes(file, "x");
    initest::SetReadOnly(file, true);
    ASSERT_TRUE(initest::IsReadOnly(file));
    EXPECT_TRUE(files::SetNormalAttributes(file));
    EXPECT_FALSE(initest::IsReadOnly(file));
    EXPECT_TRUE(files::SetNormalAttributes(file));
    EXPECT_FALSE(files::SetNormalAttributes(dir.File("missing.ini")));
}

TEST(Files, Remove) {
    initest::ScratchDir dir;
    std::string file = dir.File("HubProfile.cfg");
    initest::WriteBytes(file, "x");
    EXPECT_TRUE(files::Remove(file));
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(files::Remove(file));
    EXPECT_FALSE(files::Remove(dir.Path()));
    EXPECT_TRUE(fs::is_directory(dir.Path()));

    // DeleteFile refuses a read-only file.
    initest::WriteBytes(file, "x");
    initest::SetReadOnly(file, true);
    EXPECT_FALSE(files::Remove(file));
    EXPECT_TRUE(fs::exists(file));
}

TEST(Files, CurrentDirectory) {
    initest::ScratchDir dir;
    std::string old = files::CurrentDirectory();
    ASSERT_FALSE(old.empty());
    ASSERT_TRUE(files::ChangeDirectory(dir.Path()));
    std::string now = files::CurrentDirectory();
    initest::WriteBytes("here.ini", "x");
    EXPECT_FALSE(files::ChangeDirectory(dir.File("missing")));
    std::string still = files::CurrentDirectory();
    ASSERT_TRUE(files::ChangeDirectory(old));
    EXPECT_TRUE(fs::equivalent(fs::path(dir.Path()), fs::path(now)));
    EXPECT_EQ(now, still);
    EXPECT_TRUE(fs::exists(dir.File("here.ini")));
    EXPECT_EQ(old, files::CurrentDirectory());
}

#ifndef _WIN32
TEST(Files, WindowsPathsResolveNatively) {
    initest::ScratchDir dir;
    fs::create_directory(dir.File("DLL"));
    initest::WriteBytes(dir.File("DLL/Language.dll"), "x");
    // The host's form: its directory with a trailing separator, then a doubled one.
    std::string hostPath = dir.Path() + "\\\\DLL\\Language.dll";
    EXPECT_TRUE(files::CanOpenForReading(hostPath));
    std::string old = files::CurrentDirectory();
    EXPECT_TRUE(files::ChangeDirectory(dir.Path() + "\\DLL\\"));
    EXPECT_TRUE(files::CanOpenForReading("Language.dll"));
    files::ChangeDirectory(old);
}
#endif

}  // namespace
