// The INI engine beyond the differential table: atomic replacement, reads
// that are never stale, encodings, and input that is not a proper INI file.
#include <cctype>
#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ini_test_support.h"
#include "platform/files.h"
#include "platform/ini.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace std::string_literals;
using initest::ReadBytes;
using initest::Show;
using initest::Utf16;
using initest::WriteBytes;
namespace fs = std::filesystem;

namespace {

std::string Read(const std::string& path, const char* section, const char* key,
                 uint32_t size = 260) {
    return ini::GetString(section, key, "<default>", path, size);
}

// Moves the file's modification time an hour back, so that the engine holds
// its cached copy as settled rather than possibly still being written.
void Age(const std::string& path) {
    fs::last_write_time(fs::path(path),
                        fs::last_write_time(fs::path(path)) - std::chrono::hours(1));
}

// A character in the narrow code page: UTF-8 natively, CP_ACP on Windows.
std::string Narrow(char16_t c) {
#ifdef _WIN32
    wchar_t wide = c;
    char narrow[8] = {};
    int n = ::WideCharToMultiByte(CP_ACP, 0, &wide, 1, narrow, sizeof narrow, nullptr, nullptr);
    return std::string(narrow, static_cast<size_t>(n));
#else
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
#endif
}

std::string NarrowEAcute() {
    return Narrow(0xE9);
}

// --- Atomic replacement ------------------------------------------------------

TEST(IniAtomicWrite, LeavesOnlyTheFileBehind) {
    initest::ScratchDir dir;
    std::string path = dir.File("job.ini");
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(ini::WriteInt("S", ("k" + std::to_string(i % 7)).c_str(), i, path));
    }
    EXPECT_EQ(1u, dir.Count());
    EXPECT_EQ(19u, ini::GetInt("S", "k5", 0, path.c_str()));
}

TEST(IniAtomicWrite, FailsOnADirectoryAndChangesNothing) {
    initest::ScratchDir dir;
    std::string sub = dir.File("sub");
    fs::create_directory(sub);
    EXPECT_FALSE(ini::WriteString("S", "k", "v", sub.c_str()));
    EXPECT_TRUE(fs::is_directory(sub));
    EXPECT_EQ(1u, dir.Count());
    EXPECT_EQ("<default>", Read(sub, "S", "k"));
}

TEST(IniAtomicWrite, ReadOnlyFileStaysUntilAttributesAreReset) {
    initest::ScratchDir dir;
    std::string path = dir.File("job.ini");
    WriteBytes(path, "[S]\r\nk=1\r\n");
    initest::SetReadOnly(path, true);
    EXPECT_FALSE(ini::WriteString("S", "k", "2", path.c_str()));
    EXPECT_FALSE(ini::WriteString("S", "k", nullptr, path.c_str()));
    EXPECT_EQ("[S]\r\nk=1\r\n", ReadBytes(path));
    EXPECT_EQ(1u, dir.Count());
    ASSERT_TRUE(files::SetNormalAttributes(path));
    EXPECT_TRUE(ini::WriteString("S", "k", "2", path.c_str()));
    EXPECT_EQ("2", Read(path, "S", "k"));
}

#ifdef _WIN32
TEST(IniAtomicWrite, FileThatCannotBeReadIsNotReplaced) {
    initest::ScratchDir dir;
    std::string path = dir.File("job.ini");
    WriteBytes(path, "[S]\r\nk=1\r\n");
    // Another program holds the file and lets no one read it (but would let
    // it be renamed over).
    HANDLE other = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    EXPECT_EQ("<default>", Read(path, "S", "k"));
    EXPECT_FALSE(ini::WriteString("S", "j", "2", path.c_str()));
    ::CloseHandle(other);
    EXPECT_EQ("[S]\r\nk=1\r\n", ReadBytes(path));
}

TEST(IniAtomicWrite, KeepsHiddenAttribute) {
    initest::ScratchDir dir;
    std::string path = dir.File("job.ini");
    WriteBytes(path, "[S]\r\nk=1\r\n");
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(ini::WriteString("S", "k", "2", path.c_str()));
    EXPECT_TRUE(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ("[S]\r\nk=2\r\n", ReadBytes(path));
}
#else
TEST(IniAtomicWrite, KeepsPermissions) {
    initest::ScratchDir dir;
    std::string path = dir.File("job.ini");
    WriteBytes(path, "[S]\r\nk=1\r\n");
    ASSERT_EQ(0, ::chmod(path.c_str(), 0640));
    ASSERT_TRUE(ini::WriteString("S", "k", "2", path.c_str()));
    struct stat st;
    ASSERT_EQ(0, ::stat(path.c_str(), &st));
    EXPECT_EQ(0640u, st.st_mode & 07777);
}

TEST(IniAtomicWrite, WritesThroughASymbolicLink) {
    initest::ScratchDir dir;
    std::string target = dir.File("real.ini");
    std::string link = dir.File("link.ini");
    WriteBytes(target, "[S]\r\nk=1\r\n");
    ASSERT_EQ(0, ::symlink(target.c_str(), link.c_str()));
    ASSERT_TRUE(ini::WriteString("S", "k", "2", link.c_str()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ("[S]\r\nk=2\r\n", ReadBytes(target));
}
#endif

// --- Reads are never stale ---------------------------------------------------

TEST(IniFreshness, SameSizeRewritesInQuickSuccession) {
    initest::ScratchDir dir;
    std::string path = dir.File("job.ini");
    for (int i = 0; i < 20; ++i) {
        std::string value = std::to_string(i % 10);
        WriteBytes(path, "[S]\r\nk=" + value + "\r\n");
        ASSERT_EQ(value, Read(path, "S", "k")) << "after rewrite " << i;
    }
}

TEST(IniFreshness, RewriteThatRestoresTheModificationTime) {
    initest::ScratchDir dir;
    std::string path = dir.File("job.ini");
    WriteBytes(path, "[S]\r\nk=1\r\n");
    Age(path);
    auto aged = fs::last_write_time(path);
    ASSERT_EQ("1", Read(path, "S", "k"));
    ASSERT_EQ("1", Read(path, "S", "k"));  // now from the settled cache
    WriteBytes(path, "[S]\r\nk=2\r\n");
    fs::last_write_time(path, aged);
    EXPECT_EQ("2", Read(path, "S", "k"));
}

TEST(IniFreshness, FileReplacedByAnother) {
    initest::ScratchDir dir;
    std::string path = dir.File("job.ini");
    std::string other = dir.File("other.ini");
    WriteBytes(path, "[S]\r\nk=1\r\n");
    Age(path);
    ASSERT_EQ("1", Read(path, "S", "k"));
    WriteBytes(other, "[S]\r\nk=2\r\n");
    Age(other);
    fs::rename(other, path);
    EXPECT_EQ("2", Read(path, "S", "k"));
}

TEST(IniFreshness, DeletedAndRecreated) {
    initest::ScratchDir dir;
    std::string path = dir.File("job.ini");
    ASSERT_TRUE(ini::WriteString("S", "k", "1", path.c_str()));
    ASSERT_EQ("1", Read(path, "S", "k"));
    fs::remove(path);
    EXPECT_EQ("<default>", Read(path, "S", "k"));
    EXPECT_EQ(5u, ini::GetInt("S", "k", 5, path.c_str()));
    WriteBytes(path, "[S]\r\nk=3\r\n");
    EXPECT_EQ("3", Read(path, "S", "k"));
}

TEST(IniFreshness, RelativePathFollowsTheCurrentDirectory) {
    initest::ScratchDir one;
    initest::ScratchDir two;
    WriteBytes(one.File("TLMQW.ini"), "[S]\r\nk=one\r\n");
    WriteBytes(two.File("TLMQW.ini"), "[S]\r\nk=two\r\n");
    std::string old = files::CurrentDirectory();
    ASSERT_TRUE(files::ChangeDirectory(one.Path()));
    std::string first = Read("TLMQW.ini", "S", "k");
    ASSERT_TRUE(files::ChangeDirectory(two.Path()));
    std::string second = Read("TLMQW.ini", "S", "k");
    ASSERT_TRUE(ini::WriteString("S", "k", "written", "TLMQW.ini"));
    files::ChangeDirectory(old);
    EXPECT_EQ("one", first);
    EXPECT_EQ("two", second);
    EXPECT_EQ("[S]\r\nk=written\r\n", ReadBytes(two.File("TLMQW.ini")));
    EXPECT_EQ("[S]\r\nk=one\r\n", ReadBytes(one.File("TLMQW.ini")));
}

TEST(IniFreshness, WriteStartsFromTheFileOnDisk) {
    initest::ScratchDir dir;
    std::string path = dir.File("job.ini");
    ASSERT_TRUE(ini::WriteString("S", "a", "1", path.c_str()));
    WriteBytes(path, "[S]\r\na=1\r\nb=2\r\n");  // another program's change
    ASSERT_TRUE(ini::WriteString("S", "c", "3", path.c_str()));
    EXPECT_EQ("[S]\r\na=1\r\nb=2\r\nc=3\r\n", ReadBytes(path));
}

// --- Encodings ---------------------------------------------------------------

TEST(IniEncoding, Utf16ValuesInTheNarrowCodePage) {
    initest::ScratchDir dir;
    std::string path = dir.File("lang.ini");
    WriteBytes(path, Utf16(u"[ENU]\r\nIDS_X=caf\u00E9\r\n"));
    EXPECT_EQ("caf" + NarrowEAcute(), Read(path, "enu", "ids_x"));

    ASSERT_TRUE(ini::WriteString("ENU", "IDS_Y", ("n" + NarrowEAcute()).c_str(), path.c_str()));
    EXPECT_EQ(Show(Utf16(u"[ENU]\r\nIDS_X=caf\u00E9\r\nIDS_Y=n\u00E9\r\n")), Show(ReadBytes(path)));
}

TEST(IniEncoding, Utf16WriteKeepsWhatTheCodePageCannotHold) {
    initest::ScratchDir dir;
    std::string path = dir.File("lang.ini");
    // An unpaired surrogate has no narrow form anywhere; its line must
    // survive a write elsewhere in the file exactly, as must an odd last byte.
    std::u16string text = u"[A]\r\nx=?\r\n[B]\r\n";
    text[7] = 0xD800;
    WriteBytes(path, Utf16(text) + "\x41");
    ASSERT_TRUE(ini::WriteString("B", "k", "v", path.c_str()));
    std::u16string after = text + u"k=v\r\n";
    EXPECT_EQ(Show(Utf16(after) + "\x41"), Show(ReadBytes(path)));
}

#ifdef _WIN32
// Windows compares names in UTF-16 without regard to case, letters beyond
// ASCII included (Wine's kernel32 folds ASCII letters only, so it is not
// asked here).
TEST(IniEncoding, NamesBeyondAsciiIgnoreCase) {
    std::string upper = Narrow(0xC9), lower = Narrow(0xE9);
    if (upper == "?" || lower == "?" || upper == lower) {
        GTEST_SKIP() << "the ANSI code page has no E acute in both cases";
    }
    initest::ScratchDir dir;
    std::string path = dir.File("names.ini");
    WriteBytes(path, "[" + upper + "T" + upper + "]\r\nk" + upper + "=v\r\n");
    std::string section = lower + "t" + lower, key = "K" + lower;
    EXPECT_EQ("v", Read(path, section.c_str(), key.c_str()));
}
#endif

TEST(IniEncoding, ByteOrderMarkAloneStaysUtf16) {
    initest::ScratchDir dir;
    std::string path = dir.File("empty.ini");
    WriteBytes(path, "\xFF\xFE");
    ASSERT_TRUE(ini::WriteString("S", "k", "v", path.c_str()));
    EXPECT_EQ(Show(Utf16(u"\r\n[S]\r\nk=v\r\n")), Show(ReadBytes(path)));
}

TEST(IniEncoding, BytesWithoutMarkPassThrough) {
    initest::ScratchDir dir;
    std::string path = dir.File("gbk.ini");
    std::string before = "[CHS]\r\nIDS_A=\xD6\xD0\xCE\xC4\r\nIDS_B=\xFF\xFE\x80\r\n";
    WriteBytes(path, before);
    EXPECT_EQ("\xD6\xD0\xCE\xC4", Read(path, "CHS", "IDS_A"));
    ASSERT_TRUE(ini::WriteString("CHS", "IDS_C", "\xB0\xA1", path.c_str()));
    EXPECT_EQ(Show(before + "IDS_C=\xB0\xA1\r\n"), Show(ReadBytes(path)));
}

// --- Input that is not a proper INI file -----------------------------------

TEST(IniBadInput, RandomBytes) {
    initest::ScratchDir dir;
    std::mt19937 random(20240611);
    const char interesting[] = "[]=;\"' \t\r\n\0";
    for (int file = 0; file < 40; ++file) {
        std::string bytes(1500 + random() % 3000, '\0');
        for (char& c : bytes) {
            c = random() % 3 == 0 ? interesting[random() % (sizeof interesting)]
                                  : static_cast<char>(random() % 256);
        }
        std::string path = dir.File("random" + std::to_string(file) + ".ini");
        WriteBytes(path, bytes);
        SCOPED_TRACE("file " + std::to_string(file));

        std::vector<char> names(200000);
        uint32_t n = ini::GetString(nullptr, nullptr, "", names.data(),
                                    static_cast<uint32_t>(names.size()), path.c_str());
        ASSERT_LT(n, names.size());
        if (n > 0) {
            std::string first(names.data());
            Read(path, first.c_str(), nullptr, 5000);
            ini::GetInt(first.c_str(), "k", 0, path.c_str());
        }
        // A new section goes after everything that was there.
        ASSERT_TRUE(ini::WriteString("Unlikely Section", "key", "value", path.c_str()));
        std::string after = ReadBytes(path);
        ASSERT_EQ(0, after.compare(0, bytes.size(), bytes));
        EXPECT_EQ("value", Read(path, "Unlikely Section", "key"));
        ASSERT_TRUE(ini::WriteString("Unlikely Section", nullptr, nullptr, path.c_str()));
    }
}

// Names as a list read returns them (NUL-separated).
std::vector<std::string> Names(const std::string& path, const char* section) {
    std::vector<char> buffer(1 << 16);
    uint32_t n = ini::GetString(section, nullptr, "", buffer.data(),
                                static_cast<uint32_t>(buffer.size()), path.c_str());
    std::vector<std::string> names;
    if (section && n > 0 && buffer[n - 1] != '\0') {
        return names;  // the default, not a list
    }
    for (uint32_t at = 0; at < n; at += static_cast<uint32_t>(names.back().size()) + 1) {
        names.emplace_back(buffer.data() + at);
    }
    return names;
}

// Every section and key the file offers, with the value a read returns.
std::map<std::pair<std::string, std::string>, std::string> Snapshot(const std::string& path) {
    std::map<std::pair<std::string, std::string>, std::string> values;
    for (const std::string& section : Names(path, nullptr)) {
        for (const std::string& key : Names(path, section.c_str())) {
            values[{section, key}] = Read(path, section.c_str(), key.c_str(), 1 << 16);
        }
    }
    return values;
}

TEST(IniBadInput, EditsOfOddFilesTouchOnlyTheirKey) {
    initest::ScratchDir dir;
    std::mt19937 random(7);
    const char* pieces[] = {"[A]",     "[ b ]", "[c", "[]",   "k=1",   " K = 2 ",
                            "x=\"q\"", ";k=3",  "k",  "=4",   "y= 5 ", "\t[A]",
                            "z=a=b",   "",      " ",  "\x01", "[A]]"};
    const char* breaks[] = {"\r\n", "\n", "\r"};
    const char* names[] = {"A", "b", "c", "new", "k", "K", "y", "w"};
    for (int round = 0; round < 80; ++round) {
        std::string bytes;
        int lines = 1 + static_cast<int>(random() % 12);
        for (int i = 0; i < lines; ++i) {
            bytes += pieces[random() % (sizeof pieces / sizeof *pieces)];
            if (i + 1 < lines || random() % 2) {
                bytes += breaks[random() % 3];
            }
        }
        std::string path = dir.File("odd" + std::to_string(round) + ".ini");
        WriteBytes(path, bytes);
        auto before = Snapshot(path);
        std::string section = names[random() % 4];
        std::string key = names[4 + random() % 4];
        std::string value = "v" + std::to_string(round);
        SCOPED_TRACE(Show(bytes) + " [" + section + "] " + key);

        ASSERT_TRUE(ini::WriteString(section.c_str(), key.c_str(), value.c_str(), path.c_str()));
        EXPECT_EQ(value, Read(path, section.c_str(), key.c_str()));
        auto after = Snapshot(path);
        // Only the written key (names compare without regard to case) may
        // read differently now.
        auto same = [](std::string x, std::string y) {
            for (std::string* t : {&x, &y}) {
                for (char& c : *t) {
                    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                }
            }
            return x == y;
        };
        for (const auto& entry : before) {
            if (!same(entry.first.first, section) || !same(entry.first.second, key)) {
                EXPECT_EQ(entry.second, after[entry.first])
                    << "[" << entry.first.first << "] " << entry.first.second;
            }
        }
    }
}

TEST(IniBadInput, NulBytes) {
    initest::ScratchDir dir;
    std::string path = dir.File("zeros.ini");
    WriteBytes(path, "\0\0\r\n[S]\r\nk=a\0b\r\n\0=x\r\nj=\0\r\nn=12\0 3\r\n"s);
    EXPECT_EQ("a", Read(path, "S", "k"));
    EXPECT_EQ("", Read(path, "S", "j"));
    EXPECT_EQ(12u, ini::GetInt("S", "n", 0, path.c_str()));
    ASSERT_TRUE(ini::WriteString("S", "k", "c", path.c_str()));
    EXPECT_EQ(Show("\0\0\r\n[S]\r\nk=c\r\n\0=x\r\nj=\0\r\nn=12\0 3\r\n"s), Show(ReadBytes(path)));
}

TEST(IniBadInput, LongLineAndHugeValue) {
    initest::ScratchDir dir;
    std::string path = dir.File("long.ini");
    std::string line(100 * 1024, 'x');
    WriteBytes(path, "[S]\r\nk=" + line + "\r\nj=2\r\n" + line + "\r\n");
    EXPECT_EQ(std::string(259, 'x'), Read(path, "S", "k"));
    EXPECT_EQ(2u, ini::GetInt("S", "j", 0, path.c_str()));

    std::string huge(1 << 19, 'v');
    ASSERT_TRUE(ini::WriteString("S", "huge", huge.c_str(), path.c_str()));
    EXPECT_EQ(huge, Read(path, "S", "huge", (1 << 19) + 1));
    EXPECT_EQ(std::string(99, 'v'), Read(path, "S", "huge", 100));
}

TEST(IniBadInput, TenThousandSections) {
    initest::ScratchDir dir;
    std::string path = dir.File("many.ini");
    std::string bytes;
    for (int i = 0; i < 10000; ++i) {
        bytes += "[Section" + std::to_string(i) + "]\r\nKey=" + std::to_string(i) + "\r\n";
    }
    WriteBytes(path, bytes);
    EXPECT_EQ(9999u, ini::GetInt("section9999", "key", 0, path.c_str()));
    EXPECT_EQ(0u, ini::GetInt("Section0", "Key", 7, path.c_str()));
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(ini::WriteInt("Section5000", ("New" + std::to_string(i)).c_str(), i, path));
    }
    EXPECT_EQ(49u, ini::GetInt("Section5000", "New49", 0, path.c_str()));
    EXPECT_EQ(5001u, ini::GetInt("Section5001", "Key", 0, path.c_str()));
    std::vector<char> names(200000);
    uint32_t n = ini::GetString(nullptr, nullptr, "", names.data(),
                                static_cast<uint32_t>(names.size()), path.c_str());
    EXPECT_EQ(10u * 9 + 90u * 10 + 900u * 11 + 9000u * 12, n);  // "SectionN" and a NUL each
}

TEST(IniBadInput, PathOfThreeHundredCharacters) {
    initest::ScratchDir dir;
    std::string path = dir.Path();
    while (path.size() < 240) {
        path += "/" + std::string(40, 'd');
    }
    std::error_code error;
    fs::create_directories(path, error);
    path += "/" + std::string(300 - path.size() - 5, 'f') + ".ini";
    ASSERT_EQ(300u, path.size());
    bool written = ini::WriteString("S", "k", "v", path.c_str());
#ifndef _WIN32
    EXPECT_TRUE(written);
#endif
    // Where the system refuses such a path, the write says so and the read
    // gives the default; where it takes it, the value comes back.
    EXPECT_EQ(written ? "v" : "<default>", Read(path, "S", "k"));
}

TEST(IniBadInput, NoPath) {
    char buffer[8] = "x";
    EXPECT_EQ(1u, ini::GetString("S", "k", "d", buffer, sizeof buffer, nullptr));
    EXPECT_EQ(3u, ini::GetInt("S", "k", 3, ""));
    EXPECT_FALSE(ini::WriteString("S", "k", "v", nullptr));
    EXPECT_FALSE(ini::WriteString("S", "k", "v", ""));
}

}  // namespace
