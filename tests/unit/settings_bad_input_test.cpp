// Job files no station should write: random bytes, NUL bytes, huge lines,
// ten thousand sections. Loading them must not crash, must write nothing, and
// must leave every member within the range its validation allows; checking
// them (jobini check) must not crash either.
#include <gtest/gtest.h>

#include <random>

#include "settings/JobSettings.h"
#include "unit/settings_test_support.h"

namespace {

using testsupport::TempDir;

void ExpectValidated(const CJobSettings& s, const std::string& what) {
    SCOPED_TRACE(what);
    EXPECT_LT(s.Setup.CTLType, 6);
    EXPECT_LE(s.Setup.ShowTPCTLName, 1);
    EXPECT_TRUE(s.Flash.FlashNum == 1 || s.Flash.FlashNum == 2 || s.Flash.FlashNum == 4);
    EXPECT_LT(s.Flash.RWCycle, 8);
    EXPECT_TRUE(s.Flash.UnAutoCheck == 0 || s.Flash.UnAutoCheck == 1);
    EXPECT_LT(s.Sorting.ScanMode, 3);
    EXPECT_LT(s.Sorting.FlashCheck, 6);
    EXPECT_TRUE(s.Sorting.ECC < 16 || s.Sorting.ECC == 255);
    EXPECT_LE(s.CheckID.Num, 6u);
    EXPECT_FALSE(s.CheckFlash.CheckFlashMode == 0 && s.CheckFlash.FlashIndex == -1);
    EXPECT_FALSE(s.CheckFlash.CheckFlashMode == 1 && s.CheckID.Num == 0);
    EXPECT_LT(s.U3Bin.EnhanceCheck, 3);
    EXPECT_LE(s.Flash.FlashName.size(), 259u);
    for (const std::string& fid : s.CheckID.FID) {
        EXPECT_LE(fid.size(), 259u);
    }
    for (int flag : {int(s.BIN.ShowBin), int(s.BIN.ColorBin), int(s.BIN.StandBin),
                     int(s.BIN.Grade0Base), int(s.U3Bin.ShowU3Bin), int(s.U3Bin.U3ColorBin),
                     int(s.U3Bin.ShowU2Bin), int(s.U3Bin.SetU3BinBgColor), int(s.U3Bin.ShowSSDBin),
                     int(s.U3Bin.SSDColorBin), int(s.Sorting.ReadAfterWroteAll)}) {
        EXPECT_TRUE(flag == 0 || flag == 1);
    }
}

class SettingsBadInputTest : public ::testing::Test {
protected:
    TempDir m_dir;
    testsupport::CurrentDirectoryScope m_cwd{m_dir.Path()};

    // Loads the bytes and checks that the file and its folder are unchanged.
    CJobSettings LoadBytes(const std::string& bytes, const std::string& what) {
        const std::string job = m_dir.Write("Job.ini", bytes);
        const auto names = m_dir.Names();
        CJobSettings s;
        EXPECT_EQ(1, s.Load(job)) << what;
        EXPECT_TRUE(bytes == testsupport::ReadBytes(job)) << what << ": the load changed the file";
        EXPECT_EQ(names, m_dir.Names()) << what;
        ExpectValidated(s, what);
        // What jobini check makes of the same file: each note names a key
        // and says why.
        for (const JobSettingsNote& note : CheckJobSettings(job, s)) {
            EXPECT_FALSE(note.key.empty()) << what;
            EXPECT_FALSE(note.reason.empty()) << what << ": " << note.key;
        }
        return s;
    }
};

TEST_F(SettingsBadInputTest, RandomBytes) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 8; ++round) {
        std::string bytes(1 + random() % 20000, '\0');
        for (char& c : bytes) {
            c = static_cast<char>(random());
        }
        LoadBytes(bytes, "random bytes, round " + std::to_string(round));
    }
}

// Real section and key names with hostile values, in random order: the
// validations must hold whatever the file says.
TEST_F(SettingsBadInputTest, RandomValuesOfRealKeys) {
    const char* const sections[] = {"Setup",   "Flash", "Sorting", "CheckFlash",
                                    "CheckID", "BIN",   "U3Bin"};
    const char* const keys[] = {"CTLType",    "DrivingLevel",     "ShowTPCTLName",
                                "FlashIndex", "FlashName",        "UnAutoCheck",
                                "FlashNum",   "ChannelNum",       "RWCycle",
                                "ScanMode",   "FlashCheck",       "ECC",
                                "FID",        "CheckFlashMode",   "Num",
                                "FID0",       "ShowBin",          "BinCap1",
                                "BINCO16",    "ShowU2Bin",        "EnhanceCheck",
                                "SSDBinCo1",  "ReadAfterWroteAll"};
    const char* const values[] = {
        "0",           "1",    "-1", "255",   "256",   "257",  "65535",    "4294967295",
        "-2147483648", "0x10", "",   "  7  ", "\"3\"", "junk", "0x98,,0x", "9999999999999"};
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        std::string text;
        for (int line = 0; line < 60; ++line) {
            switch (random() % 3) {
                case 0:
                    text += std::string("[") + sections[random() % 7] + "]\r\n";
                    break;
                default:
                    text += std::string(keys[random() % (sizeof keys / sizeof *keys)]) + "=" +
                            values[random() % (sizeof values / sizeof *values)] + "\r\n";
            }
        }
        LoadBytes(text, "round " + std::to_string(round) + ":\n" + text);
    }
}

TEST_F(SettingsBadInputTest, NulBytes) {
    const char raw[] = "[Flash]\r\nFlashNum=2\r\n\0\0\0[BIN]\r\nShowBin=1\0=2\r\nName=\0x\r\n";
    const std::string text(raw, sizeof raw - 1);
    LoadBytes(text, "NUL bytes");
    LoadBytes(std::string(4096, '\0'), "only NUL bytes");
}

TEST_F(SettingsBadInputTest, HundredKilobyteLines) {
    const std::string line(100 * 1024, 'q');
    const CJobSettings s =
        LoadBytes(line + "\r\n[Flash]\r\nFlashName=" + line + "\r\nFlashNum=4\r\n" + line + "=" +
                      line + "\r\n[Sorting]\r\nECC=" + line + "\r\n",
                  "100 KB lines");
    EXPECT_EQ(std::string(259, 'q'), s.Flash.FlashName);
    EXPECT_EQ(4, s.Flash.FlashNum);
    EXPECT_EQ(0, s.Sorting.ECC);  // no leading number
}

TEST_F(SettingsBadInputTest, TenThousandSections) {
    std::string text;
    for (int i = 0; i < 10000; ++i) {
        text += "[Section" + std::to_string(i) + "]\r\nFlashNum=2\r\n";
    }
    text += "[Flash]\r\nFlashNum=4\r\n[U3Bin]\r\nU3BinCo8=255\r\n";
    const CJobSettings s = LoadBytes(text, "ten thousand sections");
    EXPECT_EQ(4, s.Flash.FlashNum);
    EXPECT_EQ(255u, s.U3Bin.U3BinCo[7]);
}

}  // namespace
