// Every key the job settings record loads, one job file each: the key is
// read from its own section into its own member, and nothing else changes;
// what an empty file gives is the key's default. Then the rules that depend
// on other keys of the same load, and what a load sees of the file.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/ini.h"
#include "settings/JobSettings.h"
#include "unit/settings_test_support.h"

namespace {

using testsupport::TempDir;

struct KeyCase {
    std::string section;
    std::string key;
    std::string member;  // as the listing names it
    std::string loadDefault;
    std::string written;
    std::string loaded;
};

std::vector<KeyCase> AllKeys() {
    std::vector<KeyCase> keys = {
        {"Setup", "CTLType", "Setup.CTLType", "0", "5", "5"},
        {"Setup", "DrivingLevel", "Setup.DrivingLevel", "0", "200", "200"},
        {"Setup", "ShowTPCTLName", "Setup.ShowTPCTLName", "0", "1", "1"},
        {"Flash", "FlashIndex", "Flash.FlashIndex", "0", "-7", "-7"},
        {"Flash", "FlashName", "Flash.FlashName", "", "FX29F64G08", "FX29F64G08"},
        {"Flash", "UnAutoCheck", "Flash.UnAutoCheck", "0", "1", "1"},
        {"Flash", "FlashNum", "Flash.FlashNum", "1", "4", "4"},
        {"Flash", "ChannelNum", "Flash.ChannelNum", "0", "3", "3"},
        {"Flash", "RWCycle", "Flash.RWCycle", "5", "7", "7"},
        {"Sorting", "ScanMode", "Sorting.ScanMode", "1", "2", "2"},
        {"Sorting", "FlashCheck", "Sorting.FlashCheck", "1", "4", "4"},
        {"Sorting", "ECC", "Sorting.ECC", "0", "12", "12"},
        {"Sorting", "ReadAfterWroteAll", "Sorting.ReadAfterWroteAll", "0", "1", "1"},
        {"CheckFlash", "FID", "CheckFlash.FID[0]", "0", "0x98", "152"},
        {"CheckFlash", "CheckFlashMode", "CheckFlash.CheckFlashMode", "2", "3", "3"},
        {"CheckFlash", "FlashIndex", "CheckFlash.FlashIndex", "-1", "9", "9"},
        {"CheckFlash", "LoopSel", "CheckFlash.LoopSel", "0", "2", "2"},
        {"CheckFlash", "OpenShortCE", "CheckFlash.OpenShortCE", "0", "1", "1"},
        {"CheckFlash", "CheckLEDShort", "CheckFlash.CheckLEDShort", "1", "0", "0"},
        {"CheckFlash", "CheckUID", "CheckFlash.CheckUID", "0", "1", "1"},
        {"CheckFlash", "WarmUp", "CheckFlash.WarmUp", "0", "5", "5"},
        {"CheckID", "Num", "CheckID.Num", "0", "3", "3"},
        {"BIN", "ShowBin", "BIN.ShowBin", "0", "1", "1"},
        {"BIN", "ColorBin", "BIN.ColorBin", "0", "1", "1"},
        {"BIN", "StandBin", "BIN.StandBin", "0", "1", "1"},
        {"BIN", "Grade0Base", "BIN.Grade0Base", "0", "1", "1"},
        {"U3Bin", "ShowU3Bin", "U3Bin.ShowU3Bin", "0", "1", "1"},
        {"U3Bin", "U3ColorBin", "U3Bin.U3ColorBin", "0", "1", "1"},
        {"U3Bin", "ShowU2Bin", "U3Bin.ShowU2Bin", "0", "1", "1"},
        {"U3Bin", "SetU3BinBgColor", "U3Bin.SetU3BinBgColor", "0", "1", "1"},
        {"U3Bin", "U3BinBgColor", "U3Bin.U3BinBgColor", "32768", "65280", "65280"},
        {"U3Bin", "EnhanceCheck", "U3Bin.EnhanceCheck", "0", "2", "2"},
        {"U3Bin", "ShowSSDBin", "U3Bin.ShowSSDBin", "0", "1", "1"},
        {"U3Bin", "SSDBinCap1", "U3Bin.SSDBinCap1", "0", "128", "128"},
        {"U3Bin", "SSDBinCo1", "U3Bin.SSDBinCo1", "32768", "16711680", "16711680"},
        {"U3Bin", "SSDColorBin", "U3Bin.SSDColorBin", "0", "1", "1"},
    };
    // Numbered keys: [CheckID] from 0, [BIN] and [U3Bin] from 1. Each value
    // is unique, so that a key read into its neighbour's element shows.
    for (int i = 0; i < 6; ++i) {
        const std::string n = std::to_string(i);
        keys.push_back({"CheckID", "FID" + n, "CheckID.FID" + n, "", "98 3" + n, "98 3" + n});
        keys.push_back({"CheckID", "COLOR" + n, "CheckID.COLOR" + n, "0", "1" + n, "1" + n});
        keys.push_back({"CheckID", "FIDCOR" + n, "CheckID.FIDCOR" + n, "0", "2" + n, "2" + n});
    }
    for (int i = 1; i <= 16; ++i) {
        const std::string n = std::to_string(i);
        keys.push_back({"BIN", "BinCap" + n, "BIN.BinCap" + n, "0", "10" + n, "10" + n});
        keys.push_back({"BIN", "BINCO" + n, "BIN.BINCO" + n, "32768", "20" + n, "20" + n});
        keys.push_back({"BIN", "BinBB" + n, "BIN.BinBB" + n, "0", "-3" + n, "-3" + n});
    }
    for (int i = 1; i <= 8; ++i) {
        const std::string n = std::to_string(i);
        keys.push_back({"U3Bin", "U3BinCap" + n, "U3Bin.U3BinCap" + n, "0", "40" + n, "40" + n});
        keys.push_back({"U3Bin", "U3BinCo" + n, "U3Bin.U3BinCo" + n, "32768", "50" + n, "50" + n});
    }
    return keys;
}

std::map<std::string, std::string> Listed(const CJobSettings& s) {
    std::map<std::string, std::string> values;
    for (const JobSettingsLine& line : ListJobSettings(s)) {
        values[line.name] = line.value;
    }
    return values;
}

class SettingsKeysTest : public ::testing::Test {
protected:
    TempDir m_dir;
    testsupport::CurrentDirectoryScope m_cwd{m_dir.Path()};

    std::map<std::string, std::string> LoadText(const std::string& text) {
        CJobSettings s;
        EXPECT_EQ(1, s.Load(m_dir.Write("Job.ini", text))) << text;
        return Listed(s);
    }
};

TEST_F(SettingsKeysTest, EachKeyFillsItsOwnMemberAndAnEmptyFileGivesItsDefault) {
    const std::map<std::string, std::string> empty = LoadText("");
    // The [CheckID] entries are read only below Num.
    const std::string checkIds = "[CheckID]\r\nNum=6\r\n";
    const std::map<std::string, std::string> sixIds = LoadText(checkIds);

    std::set<std::string> covered;
    for (const KeyCase& c : AllKeys()) {
        SCOPED_TRACE("[" + c.section + "] " + c.key);
        ASSERT_EQ(1u, empty.count(c.member)) << "no member " << c.member;
        EXPECT_EQ(c.loadDefault, empty.at(c.member)) << "default";

        const bool entry = c.section == "CheckID" && c.key != "Num";
        const std::string text =
            (entry ? checkIds : "[" + c.section + "]\r\n") + c.key + "=" + c.written + "\r\n";
        const std::map<std::string, std::string> loaded = LoadText(text);
        const std::map<std::string, std::string>& base = entry ? sixIds : empty;
        for (const auto& member : base) {
            const std::string expected = member.first == c.member ? c.loaded : member.second;
            EXPECT_EQ(expected, loaded.at(member.first)) << member.first;
        }
        covered.insert(c.member);
    }
    // Every member but the flash ID bytes after the first (they share one
    // key: see FlashIdListFillsOnlyTheBytesItNames).
    for (const auto& member : empty) {
        if (member.first.rfind("CheckFlash.FID[", 0) != 0) {
            EXPECT_EQ(1u, covered.count(member.first)) << member.first << " has no case";
        }
    }
}

// The check-mode fix-up and the [CheckID] entries use what this load read,
// not what the record held from an earlier load.
TEST_F(SettingsKeysTest, RulesOnOtherKeysUseThisLoadsValues) {
    CJobSettings s;
    ASSERT_EQ(1, s.Load(m_dir.Write("Earlier.ini",
                                    "[CheckFlash]\r\nFlashIndex=5\r\n"
                                    "[CheckID]\r\nNum=1\r\nFID0=A\r\n")));
    ASSERT_EQ(1, s.Load(m_dir.Write("ModeZero.ini", "[CheckFlash]\r\nCheckFlashMode=0\r\n")));
    EXPECT_EQ(2, s.CheckFlash.CheckFlashMode) << "[CheckFlash] FlashIndex is -1 now";

    ASSERT_EQ(1, s.Load(m_dir.Write("Earlier2.ini", "[CheckID]\r\nNum=3\r\n")));
    ASSERT_EQ(1, s.Load(m_dir.Write("ModeOne.ini", "[CheckFlash]\r\nCheckFlashMode=1\r\n")));
    EXPECT_EQ(2, s.CheckFlash.CheckFlashMode) << "[CheckID] Num is 0 now";

    ASSERT_EQ(1, s.Load(m_dir.Write("More.ini",
                                    "[CheckFlash]\r\nCheckFlashMode=1\r\n"
                                    "[CheckID]\r\nNum=3\r\nFID2=C\r\nCOLOR2=5\r\n")));
    EXPECT_EQ(1, s.CheckFlash.CheckFlashMode);
    EXPECT_EQ("C", s.CheckID.FID[2]) << "read up to this load's Num";
    EXPECT_EQ(5, s.CheckID.COLOR[2]);
}

// Every load reads the file as it is then, also when it was rewritten within
// the same tick of its timestamp, and sees what a WriteBatch holds back (the
// import reloads the record while the sheet holds its writes).
TEST_F(SettingsKeysTest, EachLoadSeesTheFileAsItIsNow) {
    const std::string job = m_dir.Write("Job.ini", "[Flash]\r\nFlashNum=2\r\n");
    CJobSettings s;
    ASSERT_EQ(1, s.Load(job));
    EXPECT_EQ(2, s.Flash.FlashNum);
    m_dir.Write("Job.ini", "[Flash]\r\nFlashNum=4\r\n");
    ASSERT_EQ(1, s.Load(job));
    EXPECT_EQ(4, s.Flash.FlashNum);

    ini::WriteBatch batch;
    ASSERT_TRUE(ini::WriteString("Flash", "FlashNum", "1", job.c_str()));
    ASSERT_TRUE(ini::WriteString("BIN", "BinCap16", "77", job.c_str()));
    ASSERT_EQ(1, s.Load(job));
    EXPECT_EQ(1, s.Flash.FlashNum);
    EXPECT_EQ(77, s.BIN.BinCap[15]);
    EXPECT_EQ("[Flash]\r\nFlashNum=4\r\n", testsupport::ReadBytes(job)) << "still held back";
}

}  // namespace
