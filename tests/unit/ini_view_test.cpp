// ini::ReadView, one look at a file for a run of reads: what it sees (the
// file when it was taken, held-back writes included), the names as the file
// spells them, and ini::ReadInteger, the integer read of one value. The view's
// reads follow the private-profile table of ini_differential_test.cpp.
#include <gtest/gtest.h>

#include <string>

#include "ini_test_support.h"
#include "platform/ini.h"

using initest::WriteBytes;

namespace {

TEST(IniReadView, SeesTheFileAsItWasWhenTaken) {
    initest::ScratchDir dir;
    const std::string path = dir.File("job.ini");
    WriteBytes(path, "[Flash]\r\nFlashNum=2\r\n");

    const ini::ReadView before(path);
    ASSERT_TRUE(ini::WriteString("Flash", "FlashNum", "4", path.c_str()));
    WriteBytes(dir.File("other.ini"), "[S]\r\nk=1\r\n");
    EXPECT_EQ(1u, ini::GetInt("S", "k", 0, dir.File("other.ini")));

    EXPECT_EQ(2u, before.GetInt("Flash", "FlashNum", 0)) << "a view keeps what it took";
    EXPECT_EQ(4u, ini::ReadView(path).GetInt("Flash", "FlashNum", 0))
        << "a new view sees the write";
    EXPECT_EQ(4u, ini::GetInt("Flash", "FlashNum", 0, path));

    // Rewritten behind the engine's back, same size, within the same tick.
    WriteBytes(path, "[Flash]\r\nFlashNum=1\r\n");
    EXPECT_EQ(1u, ini::ReadView(path).GetInt("Flash", "FlashNum", 0));
    EXPECT_EQ(2u, before.GetInt("Flash", "FlashNum", 0));
}

TEST(IniReadView, NoFileGivesTheDefaults) {
    initest::ScratchDir dir;
    for (const std::string& path : {dir.File("missing.ini"), dir.Path(), std::string()}) {
        const ini::ReadView view(path);
        EXPECT_EQ(7u, view.GetInt("S", "k", 7)) << path;
        EXPECT_EQ("dflt", view.GetString("S", "k", "dflt")) << path;
        ini::ReadView::Found found;
        EXPECT_FALSE(view.Find("S", "k", &found)) << path;
    }
}

// The import reloads the settings while the sheet holds its writes back: a
// view must see them as the plain reads do.
TEST(IniReadView, SeesWritesHeldBackByABatch) {
    initest::ScratchDir dir;
    const std::string path = dir.File("job.ini");
    WriteBytes(path, "[Setup]\r\nCTLType=1\r\nGone=x\r\n");
    ini::WriteBatch batch;
    ASSERT_TRUE(ini::WriteString("Setup", "CTLType", "3", path.c_str()));
    ASSERT_TRUE(ini::WriteString("Setup", "Gone", nullptr, path.c_str()));
    ASSERT_TRUE(ini::WriteString("BIN", "ShowBin", "1", dir.File("new.ini").c_str()));

    const ini::ReadView view(path);
    EXPECT_EQ(3u, view.GetInt("Setup", "CTLType", 0));
    EXPECT_EQ("-", view.GetString("Setup", "Gone", "-"));
    EXPECT_EQ("1", ini::ReadView(dir.File("new.ini")).GetString("BIN", "ShowBin", ""))
        << "a file the batch has not written yet";
    EXPECT_EQ(ini::GetString("Setup", "CTLType", "", path), view.GetString("Setup", "CTLType", ""));

    EXPECT_TRUE(batch.Commit().empty());
    EXPECT_EQ(3u, view.GetInt("Setup", "CTLType", 0)) << "the view outlives the held-back copy";
    EXPECT_EQ(3u, ini::ReadView(path).GetInt("Setup", "CTLType", 0));
}

TEST(IniReadView, FindGivesTheNamesAsTheFileSpellsThem) {
    initest::ScratchDir dir;
    const std::string path = dir.File("job.ini");
    WriteBytes(path,
               "[u3bin]\r\n  showU3Bin  =  \"12abc\" \r\nEmpty=\r\n"
               "[U3Bin]\r\nShowU3Bin=2\r\nOther=1\r\n");
    const ini::ReadView view(path);
    ini::ReadView::Found found;
    ASSERT_TRUE(view.Find(" U3Bin ", "SHOWU3BIN", &found));
    EXPECT_EQ("u3bin", found.section);
    EXPECT_EQ("showU3Bin", found.key);
    EXPECT_EQ("12abc", found.value) << "the value as the string read returns it";

    ASSERT_TRUE(view.Find("U3Bin", "empty", &found));
    EXPECT_EQ("", found.value);
    EXPECT_FALSE(view.Find("U3Bin", "Other", &found)) << "only the first of two sections is read";
    EXPECT_FALSE(view.Find("U3Bin", nullptr, &found));
    EXPECT_FALSE(view.Find(nullptr, "Other", &found));
}

struct IntCase {
    const char* text;
    uint32_t value;  // what GetInt returns
    int64_t number;  // before wrapping
    bool whole;
};

TEST(IniReadInteger, ValueNumberAndWhetherTheTextIsOneNumber) {
    const int64_t kHeld = int64_t(1) << 40;
    const IntCase cases[] = {
        {"12", 12, 12, true},
        {"+5", 5, 5, true},
        {"-1", 4294967295u, -1, true},
        {"-0", 0, 0, true},
        {"\t 7", 7, 7, true},  // leading blanks are skipped
        {"010", 10, 10, true},
        {"0x1F", 31, 31, true},
        {"-0x10", 4294967280u, -16, true},
        {"0b101", 5, 5, true},
        {"0o17", 15, 15, true},
        {"4294967297", 1, 4294967297, true},
        {"99999999999999999999", 1661992959u, kHeld, true},
        {"-99999999999999999999", 2632974337u, -kHeld, true},
        {"12abc", 12, 12, false},
        {"12 ", 12, 12, false},
        {"0X1F", 0, 0, false},  // only a lower-case prefix counts
        {"0x", 0, 0, false},
        {"0b2", 0, 0, false},
        {"abc", 0, 0, false},
        {"- 1", 0, 0, false},
        {"+-1", 0, 0, false},
        {"", 0, 0, false},
    };
    for (const IntCase& c : cases) {
        const ini::IntReading r = ini::ReadInteger(c.text);
        EXPECT_EQ(c.value, r.value) << "\"" << c.text << "\"";
        EXPECT_EQ(c.number, r.number) << "\"" << c.text << "\"";
        EXPECT_EQ(c.whole, r.whole) << "\"" << c.text << "\"";
    }
}

}  // namespace
