// The advanced keys carried between the job file and an exported or imported
// job file: which keys travel, in which order, and the values they arrive as
// (every value the advanced settings dialog stores arrives as itself).
#include <gtest/gtest.h>

#include <string>

#include "module/globals.h"
#include "sheet/AdvancedTransfer.h"
#include "unit/settings_test_support.h"

namespace {

using testsupport::ReadBytes;
using testsupport::TempDir;

// Every key carried, in order, as a source without any of them leaves them.
const char kFromNothing[] =
    "[Advanced]\r\n"
    "HubPort=0\r\n"
    "CheckDDR=0\r\n"
    "SortingBlockNum=0\r\n"
    "CheckLevel=0\r\n"
    "FixedCapability=1\r\n"
    "AutoMPTimer=1\r\n"
    "SpecialSortingClassCheck=0\r\n"
    "CheckDataRetain=0\r\n"
    "SetSum19nmFeature=0\r\n"
    "UELC=0\r\n"
    "CheckFixedCap=0\r\n"
    "CheckFlashPin=0\r\n"
    "ReadSandiskFlashID=0\r\n"
    "CheckTog=0\r\n"
    "MinCapLimit=0\r\n"
    "MinCap=\r\n"
    "[Setup]\r\n"
    "UIType=0\r\n"
    "RowShow=0\r\n";

class AdvancedTransfer : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedJobFile = g_strJobFile;
        g_strJobFile = m_dir.File("Job.ini");
    }
    void TearDown() override { g_strJobFile = m_savedJobFile; }

    // Exports the advanced keys of a job file holding job into a file that
    // held before; returns that file as the export leaves it.
    std::string Exported(const std::string& job, const std::string& before = "") {
        m_dir.Write("Job.ini", job);
        const std::string target = m_dir.Write("Export.ini", before);
        EXPECT_TRUE(CopyAdvancedSettings(TransferDirection::Export, g_strJobFile, target));
        return ReadBytes(target);
    }

    TempDir m_dir;
    std::string m_savedJobFile;
};

}  // namespace

// Import from a file with none of the keys: each arrives as what the dialog
// reads for a missing key (Fixed Capability its second item, the timer 1).
TEST_F(AdvancedTransfer, ImportOfNothingWritesFallbacks) {
    m_dir.Write("Job.ini", "");
    const std::string other = m_dir.Write("Other.ini", "[Flash]\r\nFlashNum=2\r\n");
    EXPECT_TRUE(CopyAdvancedSettings(TransferDirection::Import, g_strJobFile, other));
    EXPECT_EQ(kFromNothing, ReadBytes(g_strJobFile));
    EXPECT_EQ("[Flash]\r\nFlashNum=2\r\n", ReadBytes(other)) << "the source is only read";
}

// Export (any direction but 0) writes into the other file. What each value
// becomes: the values the dialog stores unchanged, flags from the whole
// number, the rest as the fallback; the dialog's other keys stay behind.
TEST_F(AdvancedTransfer, ExportCarriesKnownValues) {
    struct Case {
        const char* stored;  // [Advanced] or [Setup] line in the job file
        const char* section;
        const char* key;
        const char* arrives;
    };
    const Case cases[] = {
        {"HubPort=2", "Advanced", "HubPort", "2"},
        {"HubPort=4", "Advanced", "HubPort", "4"},
        {"HubPort=3", "Advanced", "HubPort", "3"},
        {"HubPort=5", "Advanced", "HubPort", "0"},
        {"HubPort=-1", "Advanced", "HubPort", "0"},
        {"CheckDDR=256", "Advanced", "CheckDDR", "1"},
        {"CheckDDR=-3", "Advanced", "CheckDDR", "1"},
        {"SortingBlockNum=6", "Advanced", "SortingBlockNum", "6"},
        {"SortingBlockNum=7", "Advanced", "SortingBlockNum", "0"},
        {"CheckLevel=6", "Advanced", "CheckLevel", "6"},
        {"FixedCapability=3", "Advanced", "FixedCapability", "3"},
        {"FixedCapability=0", "Advanced", "FixedCapability", "0"},
        {"FixedCapability=4", "Advanced", "FixedCapability", "0"},
        {"FixedCapability=", "Advanced", "FixedCapability", "1"},
        {"AutoMPTimer=0", "Advanced", "AutoMPTimer", "1"},
        {"AutoMPTimer=5", "Advanced", "AutoMPTimer", "5"},
        {"AutoMPTimer=6", "Advanced", "AutoMPTimer", "1"},
        {"CheckFlashPin=2", "Advanced", "CheckFlashPin", "2"},
        {"CheckFlashPin=-1", "Advanced", "CheckFlashPin", "0"},
        {"ReadSandiskFlashID=3", "Advanced", "ReadSandiskFlashID", "3"},
        {"CheckTog=3", "Advanced", "CheckTog", "0"},
        {"UELC=1", "Advanced", "UELC", "1"},
        {"MinCap= -12abc", "Advanced", "MinCap", "-12abc"},
        {"UIType=4", "Setup", "UIType", "4"},
        {"UIType=5", "Setup", "UIType", "5"},
        {"UIType=6", "Setup", "UIType", "0"},
        {"RowShow=9", "Setup", "RowShow", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        const std::string text =
            Exported(std::string("[") + c.section + "]\r\n" + c.stored + "\r\n");
        const std::string line = std::string("\r\n") + c.key + "=" + c.arrives + "\r\n";
        EXPECT_NE(std::string::npos, text.find(line)) << text;
    }

    // The keys that do not travel stay behind; nothing of the source changes.
    const std::string job =
        "[Advanced]\r\nFixedCapability=0\r\nGPI=2\r\nMultiPlane=1\r\nForRamos=1\r\n"
        "FactoryDriver=1\r\nStartDelay=3\r\nID00Err=2\r\n";
    std::string expected = kFromNothing;
    expected.replace(expected.find("FixedCapability=1"), 17, "FixedCapability=0");
    EXPECT_EQ(expected, Exported(job));
    EXPECT_EQ(job, ReadBytes(g_strJobFile));
}

// The hub VID/PID list travels with hub port style 4, as text, right after
// the style (as the dialog writes them); with any other style the target
// keeps its own list.
TEST_F(AdvancedTransfer, HubVidPidListTravelsWithStyleFour) {
    const std::string job =
        "[Advanced]\r\nHubPort=4\r\nVID_PID=1234ABCD 0F0F0001,\r\n"
        "VID_PID_RE=1234ABCD0F0F0001\r\n";
    const std::string text = Exported(job, "[Advanced]\r\nVID_PID=OLD\r\n");
    EXPECT_EQ(0u, text.find("[Advanced]\r\nVID_PID=1234ABCD 0F0F0001,\r\nHubPort=4\r\n"
                            "VID_PID_RE=1234ABCD0F0F0001\r\nCheckDDR=0\r\n"))
        << text;

    // Style 4 without a list: the list arrives empty, as the dialog shows it.
    const std::string empty =
        Exported("[Advanced]\r\nHubPort=4\r\n", "[Advanced]\r\nVID_PID=OLD\r\n");
    EXPECT_EQ(0u, empty.find("[Advanced]\r\nVID_PID=\r\nHubPort=4\r\nVID_PID_RE=\r\n")) << empty;

    for (const char* style : {"3", "2", "0"}) {
        SCOPED_TRACE(style);
        const std::string other = Exported(std::string("[Advanced]\r\nHubPort=") + style +
                                               "\r\nVID_PID=1234ABCD\r\nVID_PID_RE=1234ABCD\r\n",
                                           "[Advanced]\r\nVID_PID=OLD\r\nVID_PID_RE=OLD\r\n");
        EXPECT_EQ(
            0u, other.find(std::string("[Advanced]\r\nVID_PID=OLD\r\nVID_PID_RE=OLD\r\nHubPort=") +
                           style + "\r\n"))
            << other;
    }
}

// A key that cannot be written makes the transfer fail (the export then
// says so) instead of reporting a copy that did not happen.
TEST_F(AdvancedTransfer, UnwritableTargetFails) {
    m_dir.Write("Job.ini", "[Advanced]\r\nCheckDDR=1\r\n");
    const std::string target = m_dir.Write("Locked.ini", "[Advanced]\r\nCheckDDR=0\r\n");
    testsupport::MakeReadOnly(target);
    EXPECT_FALSE(CopyAdvancedSettings(TransferDirection::Export, g_strJobFile, target));
    EXPECT_EQ("[Advanced]\r\nCheckDDR=0\r\n", ReadBytes(target));
}

// An import replaces the keys where the job file has them and keeps the rest.
TEST_F(AdvancedTransfer, ImportKeepsTheJobsOtherKeys) {
    m_dir.Write("Job.ini",
                "[Setup]\r\nCTLType=2\r\nUIType=5\r\n[Advanced]\r\nGPI=3\r\nMinCap=100\r\n");
    const std::string other =
        m_dir.Write("Other.ini", "[Advanced]\r\nMinCap=2048\r\nMinCapLimit=1\r\n");
    EXPECT_TRUE(CopyAdvancedSettings(TransferDirection::Import, g_strJobFile, other));
    const std::string job = ReadBytes(g_strJobFile);
    EXPECT_EQ(0u, job.find("[Setup]\r\nCTLType=2\r\nUIType=0\r\nRowShow=0\r\n[Advanced]\r\n"
                           "GPI=3\r\nMinCap=2048\r\nHubPort=0\r\n"))
        << job;
    EXPECT_NE(std::string::npos, job.find("\r\nMinCapLimit=1\r\n")) << job;
}

// An empty path copies nothing either way.
TEST_F(AdvancedTransfer, EmptyPathCopiesNothing) {
    const std::string job = "[Advanced]\r\nCheckDDR=1\r\n";
    m_dir.Write("Job.ini", job);
    EXPECT_FALSE(CopyAdvancedSettings(TransferDirection::Export, g_strJobFile, ""));
    EXPECT_FALSE(CopyAdvancedSettings(TransferDirection::Import, g_strJobFile, ""));
    EXPECT_EQ(job, ReadBytes(g_strJobFile));
    EXPECT_EQ(1u, m_dir.Names().size());
}
