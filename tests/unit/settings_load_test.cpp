// CJobSettings::Load: defaults, validations, low-byte and flag rules, the
// flash ID parser, the check-mode fix-up, the fallback file and the attribute
// reset.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/files.h"
#include "settings/JobSettings.h"
#include "unit/settings_test_support.h"

namespace {

using testsupport::TempDir;

std::string Member(const CJobSettings& settings, const std::string& name) {
    for (const JobSettingsLine& line : ListJobSettings(settings)) {
        if (line.name == name) {
            return line.value;
        }
    }
    return "<no member " + name + ">";
}

class SettingsLoadTest : public ::testing::Test {
protected:
    // The fallback file is looked up in the current directory: keep it ours.
    TempDir m_dir;
    testsupport::CurrentDirectoryScope m_cwd{m_dir.Path()};

    CJobSettings LoadText(const std::string& text) {
        CJobSettings settings;
        EXPECT_EQ(1, settings.Load(m_dir.Write("Job.ini", text))) << text;
        return settings;
    }
};

// What the record holds before any load, and after the load of an empty file
// (each key's default); nullptr where the test does not look.
struct Default {
    const char* member;
    const char* constructed;
    const char* loaded;
};
const Default kDefaults[] = {
    {"Setup.CTLType", nullptr, "0"},
    {"Flash.FlashIndex", "-1", "0"},
    {"CheckFlash.FlashIndex", "-1", "-1"},
    {"Flash.FlashName", nullptr, ""},
    {"Flash.FlashNum", "0", "1"},  // 0 is no valid chip count
    {"Flash.RWCycle", "5", "5"},
    {"Sorting.ScanMode", "1", "1"},
    {"Sorting.FlashCheck", "1", "1"},
    {"Sorting.ECC", "255", "0"},
    {"CheckFlash.CheckFlashMode", "2", "2"},
    {"CheckFlash.CheckLEDShort", "0", "1"},
    {"CheckID.Num", nullptr, "0"},
    {"BIN.BINCO1", "0", "32768"},
    {"U3Bin.SSDBinCo1", "0", "32768"},
    {"U3Bin.U3BinBgColor", "0", "32768"},
    {"U3Bin.ShowU2Bin", "1", "0"},
    {"U3Bin.SetU3BinBgColor", "1", "0"},
};

// Checks the members of s against one column of kDefaults.
void ExpectDefaults(const CJobSettings& s, const char* Default::*column) {
    for (const Default& d : kDefaults) {
        if (d.*column != nullptr) {
            EXPECT_EQ(d.*column, Member(s, d.member)) << d.member;
        }
    }
}

TEST_F(SettingsLoadTest, ConstructorValuesBeforeAnyLoad) {
    ExpectDefaults(CJobSettings(), &Default::constructed);
}

TEST_F(SettingsLoadTest, EmptyFileLoadsEveryDefault) {
    const CJobSettings s = LoadText("");
    ExpectDefaults(s, &Default::loaded);
    for (int i = 0; i < CJobSettings::kBins; ++i) {
        EXPECT_EQ(32768u, s.BIN.BINCO[i]) << i;
    }
    for (int i = 0; i < CJobSettings::kU3Bins; ++i) {
        EXPECT_EQ(32768u, s.U3Bin.U3BinCo[i]) << i;
    }
}

struct MemberCase {
    const char* file;
    const char* member;
    const char* expected;
};

// One job file each, and the member it should produce.
const MemberCase kMemberCases[] = {
    // Validations, at both sides of each limit.
    {"[Flash]\nFlashNum=3\n", "Flash.FlashNum", "1"},
    {"[Flash]\nFlashNum=4\n", "Flash.FlashNum", "4"},
    {"[Flash]\nFlashNum=2\n", "Flash.FlashNum", "2"},
    {"[Flash]\nFlashNum=260\n", "Flash.FlashNum", "4"},  // low byte 4
    {"[Sorting]\nECC=15\n", "Sorting.ECC", "15"},
    {"[Sorting]\nECC=16\n", "Sorting.ECC", "255"},
    {"[Sorting]\nECC=271\n", "Sorting.ECC", "15"},
    {"[Flash]\nRWCycle=7\n", "Flash.RWCycle", "7"},
    {"[Flash]\nRWCycle=8\n", "Flash.RWCycle", "5"},
    {"[Setup]\nCTLType=5\n", "Setup.CTLType", "5"},
    {"[Setup]\nCTLType=6\n", "Setup.CTLType", "0"},
    {"[Setup]\nCTLType=257\n", "Setup.CTLType", "1"},
    {"[Setup]\nDrivingLevel=300\n", "Setup.DrivingLevel", "44"},
    {"[U3Bin]\nEnhanceCheck=2\n", "U3Bin.EnhanceCheck", "2"},
    {"[U3Bin]\nEnhanceCheck=3\n", "U3Bin.EnhanceCheck", "0"},
    {"[Sorting]\nScanMode=2\n", "Sorting.ScanMode", "2"},
    {"[Sorting]\nScanMode=3\n", "Sorting.ScanMode", "1"},
    {"[Sorting]\nFlashCheck=5\n", "Sorting.FlashCheck", "5"},
    {"[Sorting]\nFlashCheck=6\n", "Sorting.FlashCheck", "1"},
    {"[Flash]\nChannelNum=-1\n", "Flash.ChannelNum", "255"},
    // Flags test the low byte, 8-bit and 32-bit alike.
    {"[Setup]\nShowTPCTLName=256\n", "Setup.ShowTPCTLName", "0"},
    {"[Setup]\nShowTPCTLName=257\n", "Setup.ShowTPCTLName", "1"},
    {"[Flash]\nUnAutoCheck=256\n", "Flash.UnAutoCheck", "0"},
    {"[Flash]\nUnAutoCheck=-1\n", "Flash.UnAutoCheck", "1"},
    {"[Sorting]\nReadAfterWroteAll=512\n", "Sorting.ReadAfterWroteAll", "0"},
    {"[U3Bin]\nShowU2Bin=2\n", "U3Bin.ShowU2Bin", "1"},
    {"[BIN]\nGrade0Base=1\n", "BIN.Grade0Base", "1"},
    {"[U3Bin]\nSSDColorBin=768\n", "U3Bin.SSDColorBin", "0"},
    // Signed and unsigned 32-bit members.
    {"[Flash]\nFlashIndex=-1\n", "Flash.FlashIndex", "-1"},
    {"[Flash]\nFlashIndex=4294967295\n", "Flash.FlashIndex", "-1"},
    {"[CheckFlash]\nFlashIndex=12\n", "CheckFlash.FlashIndex", "12"},
    {"[CheckFlash]\nCheckLEDShort=0\n", "CheckFlash.CheckLEDShort", "0"},
    {"[CheckFlash]\nLoopSel=-3\n", "CheckFlash.LoopSel", "-3"},
    {"[BIN]\nBINCO3=255\n", "BIN.BINCO3", "255"},
    {"[BIN]\nBINCO3=-1\n", "BIN.BINCO3", "4294967295"},
    {"[BIN]\nBinCap16=64\n", "BIN.BinCap16", "64"},
    {"[BIN]\nBinBB1=-7\n", "BIN.BinBB1", "-7"},
    {"[U3Bin]\nU3BinCo8=16711680\n", "U3Bin.U3BinCo8", "16711680"},
    {"[U3Bin]\nSSDBinCap1=128\nSSDBinCo1=255\n", "U3Bin.SSDBinCap1", "128"},
    {"[U3Bin]\nSSDBinCap1=128\nSSDBinCo1=255\n", "U3Bin.SSDBinCo1", "255"},
    {"[U3Bin]\nU3BinBgColor=65280\n", "U3Bin.U3BinBgColor", "65280"},
    // [CheckID] Num: more than 6, the top bit included, reads as 6.
    {"[CheckID]\nNum=7\nFID5=ab\n", "CheckID.Num", "6"},
    {"[CheckID]\nNum=7\nFID5=ab\n", "CheckID.FID5", "ab"},
    {"[CheckID]\nNum=-1\n", "CheckID.Num", "6"},
    {"[CheckID]\nNum=2\nFID0=98 3A\nCOLOR1=255\nFIDCOR1=3\n", "CheckID.FID0", "98 3A"},
    {"[CheckID]\nNum=2\nFID0=98 3A\nCOLOR1=255\nFIDCOR1=3\n", "CheckID.COLOR1", "255"},
    {"[CheckID]\nNum=2\nFID0=98 3A\nCOLOR1=255\nFIDCOR1=3\n", "CheckID.FIDCOR1", "3"},
    // Keys beyond Num are not read.
    {"[CheckID]\nNum=1\nFID1=98\n", "CheckID.FID1", ""},
    // CheckFlashMode fix-up.
    {"[CheckFlash]\nCheckFlashMode=0\n", "CheckFlash.CheckFlashMode", "2"},
    {"[CheckFlash]\nCheckFlashMode=0\nFlashIndex=-1\n", "CheckFlash.CheckFlashMode", "2"},
    {"[CheckFlash]\nCheckFlashMode=0\nFlashIndex=3\n", "CheckFlash.CheckFlashMode", "0"},
    {"[CheckFlash]\nCheckFlashMode=1\n", "CheckFlash.CheckFlashMode", "2"},
    {"[CheckFlash]\nCheckFlashMode=1\n[CheckID]\nNum=2\n", "CheckFlash.CheckFlashMode", "1"},
    {"[CheckFlash]\nCheckFlashMode=3\n", "CheckFlash.CheckFlashMode", "3"},
    {"[CheckFlash]\nCheckFlashMode=256\n", "CheckFlash.CheckFlashMode", "2"},  // byte 0
    // Texts and the file's own syntax.
    {"[Flash]\nFlashName=  FX29F64G08  \n", "Flash.FlashName", "FX29F64G08"},
    {"[flash]\nflashname=lower\n", "Flash.FlashName", "lower"},
    {"[U3BIN]\nSHOWU3BIN=1\n", "U3Bin.ShowU3Bin", "1"},
    {"[Flash]\r\nFlashNum=2\r\n", "Flash.FlashNum", "2"},
    {"[Flash]\nFlashNum=4\n[Flash]\nFlashNum=2\n", "Flash.FlashNum", "4"},
    {"[Flash]\nFlashNum=junk\n", "Flash.FlashNum", "1"},
};

TEST_F(SettingsLoadTest, MembersFromJobFileText) {
    for (const MemberCase& c : kMemberCases) {
        const CJobSettings s = LoadText(c.file);
        EXPECT_EQ(c.expected, Member(s, c.member)) << "file:\n" << c.file;
    }
}

TEST_F(SettingsLoadTest, LongTextsAreCutAt259Characters) {
    const CJobSettings s = LoadText("[Flash]\nFlashName=" + std::string(300, 'N') +
                                    "\n[CheckID]\nNum=1\nFID0=" + std::string(259, 'F') + "\n");
    EXPECT_EQ(std::string(259, 'N'), s.Flash.FlashName);
    EXPECT_EQ(std::string(259, 'F'), s.CheckID.FID[0]);
}

struct FlashIdCase {
    const char* piece;
    uint32_t value;
};

TEST(FlashIdByteParser, Pieces) {
    const FlashIdCase cases[] = {
        {"0x98", 0x98},
        {"98", 0x98},
        {"0X98", 0x98},
        {"AB0x98", 0x98},
        {" 0x98", 0x98},
        {" 98", 0},
        {"0x98 ", 0},
        {"", 0},
        {"0x", 0},
        {"x", 0},
        {"ab", 0xAB},
        {"fF", 0xFF},
        {"0x1234", 0x1234},
        {"0xg1", 0},
        {"xx12", 0},
        {"1x2x3", 0},
        {"0x-1", 0},
        {"+98", 0},
        {"123456789", 0x23456789u},
        {"0xFFFFFFFFF", 0xFFFFFFFFu},
    };
    for (const FlashIdCase& c : cases) {
        EXPECT_EQ(c.value, CJobSettings::ParseFlashIdByte(c.piece))
            << "piece \"" << c.piece << "\"";
    }
}

TEST_F(SettingsLoadTest, FlashIdListFillsOnlyTheBytesItNames) {
    CJobSettings s;
    ASSERT_EQ(1, s.Load(m_dir.Write("Full.ini", "[CheckFlash]\nFID=1,2,3,4,5,6,7\n")));
    const uint8_t full[] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(0, std::memcmp(full, s.CheckFlash.FID, 6));

    ASSERT_EQ(1, s.Load(m_dir.Write("Part.ini", "[CheckFlash]\nFID=0x98,0x3A,,0xD7\n")));
    const uint8_t part[] = {0x98, 0x3A, 0xD7, 4, 5, 6};
    EXPECT_EQ(0, std::memcmp(part, s.CheckFlash.FID, 6));

    ASSERT_EQ(1, s.Load(m_dir.Write("Odd.ini", "[CheckFlash]\nFID=,,0x1234,zz,0x9 ,AB0xEC\n")));
    const uint8_t odd[] = {0x34, 0, 0, 0xEC, 5, 6};
    EXPECT_EQ(0, std::memcmp(odd, s.CheckFlash.FID, 6));
}

TEST_F(SettingsLoadTest, CheckIdElementsBeyondNumKeepEarlierValues) {
    CJobSettings s;
    ASSERT_EQ(1, s.Load(m_dir.Write("Three.ini",
                                    "[CheckID]\nNum=3\nFID0=A\nFID1=B\nFID2=C\n"
                                    "COLOR0=10\nCOLOR1=11\nCOLOR2=12\n"
                                    "FIDCOR0=20\nFIDCOR1=21\nFIDCOR2=22\n")));
    ASSERT_EQ(1, s.Load(m_dir.Write("One.ini", "[CheckID]\nNum=1\nFID0=Z\n")));
    EXPECT_EQ(1u, s.CheckID.Num);
    EXPECT_EQ("Z", s.CheckID.FID[0]);
    EXPECT_EQ(0, s.CheckID.COLOR[0]);  // read again: the key is missing
    EXPECT_EQ("B", s.CheckID.FID[1]);
    EXPECT_EQ("C", s.CheckID.FID[2]);
    EXPECT_EQ(11, s.CheckID.COLOR[1]);
    EXPECT_EQ(22, s.CheckID.FIDCOR[2]);
}

TEST_F(SettingsLoadTest, ReadOnlyJobFileIsMadeWritableAndRead) {
    const std::string job = m_dir.Write("Job.ini", "[Flash]\nFlashNum=2\n");
    testsupport::MakeReadOnly(job);
    ASSERT_TRUE(testsupport::IsReadOnly(job));
    CJobSettings s;
    EXPECT_EQ(1, s.Load(job));
    EXPECT_FALSE(testsupport::IsReadOnly(job));
    EXPECT_EQ(2, s.Flash.FlashNum);
}

TEST_F(SettingsLoadTest, LoadWritesNothing) {
    const std::string text = "; station job\r\n[Flash]\r\nFlashNum=2\r\n\r\n[BIN]\nShowBin=1";
    const std::string job = m_dir.Write("Job.ini", text);
    const auto before = m_dir.Names();
    CJobSettings s;
    EXPECT_EQ(1, s.Load(job));
    EXPECT_EQ(text, testsupport::ReadBytes(job));
    EXPECT_EQ(before, m_dir.Names());
}

TEST_F(SettingsLoadTest, MissingFileFallsBackToTlmqwInCurrentDirectory) {
    m_dir.Write("TLMQW.ini", "[Flash]\nFlashNum=4\nFlashName=Fallback\n");
    testsupport::MakeReadOnly(m_dir.File("TLMQW.ini"));
    CJobSettings s;
    EXPECT_EQ(1, s.Load(m_dir.File("Missing.ini")));
    EXPECT_EQ(4, s.Flash.FlashNum);
    EXPECT_EQ("Fallback", s.Flash.FlashName);
    EXPECT_FALSE(testsupport::IsReadOnly(m_dir.File("TLMQW.ini")));
    EXPECT_FALSE(testsupport::fs::exists(m_dir.File("Missing.ini")));
}

TEST_F(SettingsLoadTest, NothingToReadLeavesTheRecordAsItWas) {
    CJobSettings s;
    ASSERT_EQ(1, s.Load(m_dir.Write("Job.ini",
                                    "[Flash]\nFlashNum=4\nFlashName=Kept\n"
                                    "[CheckID]\nNum=1\nFID0=98\n")));
    const auto before = ListJobSettings(s);

    // No job file and no TLMQW.ini in the current directory; a directory
    // named like the job file cannot be opened as one either, nor can a
    // device or a file too large to be read.
    const std::string longPath = m_dir.File(std::string(300, 'L') + ".ini");
    testsupport::fs::create_directory(m_dir.File("Folder.ini"));
    const std::string header = "[Flash]\nFlashNum=9\n;";
    const std::string huge =
        m_dir.Write("Huge.ini", header + std::string(files::kMaxReadSize + 1 - header.size(), 'x'));
#ifdef _WIN32
    const std::string device = "NUL";
#else
    const std::string device = "/dev/zero";
#endif
    for (const std::string& path : {m_dir.File("Missing.ini"), longPath, m_dir.File("Folder.ini"),
                                    std::string(), huge, device}) {
        EXPECT_EQ(0, s.Load(path)) << path;
        const auto after = ListJobSettings(s);
        ASSERT_EQ(before.size(), after.size());
        for (size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(before[i].value, after[i].value) << before[i].name << " after " << path;
        }
    }
    EXPECT_FALSE(testsupport::fs::exists(m_dir.File("Missing.ini")));
}

}  // namespace
