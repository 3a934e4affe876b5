// Export and import of job files as the operator meets them: the sheet's
// Export and Import buttons, the save-as and open dialogs, the messages,
// what lands in which file, and where the process's current directory is
// afterwards. The same scenarios run natively and, under Wine, against the
// real Setup.dll with the real common dialogs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"
#include "platform/files.h"
#include "resource.h"
#include "scenario/sheet_support.h"
#include "scenario/transfer_support.h"

using sheettest::ExpectKeys;
using sheettest::QueueVisit;
using sheettest::Section;
using sheettest::Value;
using transfertest::IsReadOnly;
using transfertest::Join;
using transfertest::MakeFolder;
using transfertest::QueueExport;
using transfertest::QueueImport;
using transfertest::SameFolder;
using transfertest::SetReadOnly;

namespace {

// A job holding keys of every kind: the pages' keys, keys that only the
// settings record loads, the password, advanced keys that travel and some
// that do not.
const char kJobA[] =
    "[PASSWORD]\r\nPWD=\r\n"
    "[Setup]\r\nCTLType=3\r\nDrivingLevel=51\r\nShowTPCTLName=1\r\nUIType=5\r\n"
    "[Flash]\r\nFlashIndex=1\r\nFlashName=FX29F64G08AMC\r\nUnAutoCheck=1\r\nFlashNum=4\r\n"
    "ChannelNum=1\r\nRWCycle=7\r\n"
    "[Sorting]\r\nScanMode=1\r\nFlashCheck=2\r\nECC=12\r\nReadAfterWroteAll=1\r\n"
    "[CheckFlash]\r\nFID=0x98,0x3A\r\nCheckFlashMode=1\r\nFlashIndex=0\r\nLoopSel=1\r\n"
    "OpenShortCE=3\r\nCheckLEDShort=0\r\nCheckUID=1\r\nWarmUp=1\r\nPR_Times=12\r\nPR_Page=4\r\n"
    "PR_Block=8\r\n"
    "[CheckID]\r\nNum=2\r\nFID0=0xA5,0xD7,0x94,0x76,0x74,0x43\r\nCOLOR0=0\r\nFIDCOR0=16711680\r\n"
    "FID1=0xA5,0xD7,0x94,0x7A,0x54,0x43\r\nCOLOR1=5\r\nFIDCOR1=255\r\n"
    "[BIN]\r\nShowBin=1\r\nColorBin=1\r\nStandBin=0\r\nGrade0Base=1\r\nBinCap1=7600\r\n"
    "BINCO1=255\r\n"
    "[U3Bin]\r\nSSDColorBin=1\r\nU3BinBgColor=65280\r\n"
    "[Advanced]\r\nHubPort=4\r\nVID_PID=1234ABCD,0F0F0001\r\nVID_PID_RE=1234ABCD0F0F0001\r\n"
    "FixedCapability=2\r\nAutoMPTimer=3\r\nMinCapLimit=1\r\nMinCap=7000\r\nGPI=2\r\n"
    "FactoryDriver=1\r\n";

// What exporting kJobA writes into a new file, section by section.
const char kExportedSetup[] =
    "[Setup]\r\nCTLType=3\r\nDrivingLevel=51\r\nUIType=5\r\nRowShow=0\r\n";
const char kExportedFlash[] =
    "[Flash]\r\nFlashNum=4\r\nChannelNum=1\r\nRWCycle=7\r\nFlashIndex=1\r\n"
    "FlashName=FX29F64G08AMC\r\nUnAutoCheck=1\r\n";
const char kExportedSorting[] = "[Sorting]\r\nScanMode=1\r\nFlashCheck=2\r\nECC=12\r\n";
// ID check preselects the station's current flash (index 0 here).
const char kExportedCheckFlash[] =
    "[CheckFlash]\r\nFlashIndex=0\r\nLoopSel=1\r\nOpenShortCE=3\r\nCheckFlashMode=1\r\n"
    "CheckLEDShort=0\r\nCheckUID=1\r\nWarmUp=1\r\nPR_Times=12\r\nPR_Page=4\r\nPR_Block=8\r\n";
const char kExportedCheckID[] =
    "[CheckID]\r\nNum=2\r\nFID0=0xA5,0xD7,0x94,0x76,0x74,0x43\r\nCOLOR0=0\r\nFIDCOR0=16711680\r\n"
    "FID1=0xA5,0xD7,0x94,0x7A,0x54,0x43\r\nCOLOR1=5\r\nFIDCOR1=255\r\n";
const char kExportedAdvanced[] =
    "[Advanced]\r\nHubPort=4\r\nVID_PID=1234ABCD,0F0F0001\r\nVID_PID_RE=1234ABCD0F0F0001\r\n"
    "CheckDDR=0\r\nSortingBlockNum=0\r\nCheckLevel=0\r\nFixedCapability=2\r\nAutoMPTimer=3\r\n"
    "SpecialSortingClassCheck=0\r\nCheckDataRetain=0\r\nSetSum19nmFeature=0\r\nUELC=0\r\n"
    "CheckFixedCap=0\r\nCheckFlashPin=0\r\nReadSandiskFlashID=0\r\nCheckTog=0\r\n"
    "MinCapLimit=1\r\nMinCap=7000\r\n";

// What the visit of JobFileBytes writes: the export, and the job file after
// the advanced dialog's OK and the sheet's OK.
const char kExportedBytes[] =
    "[Setup]\r\nCTLType=3\r\nDrivingLevel=51\r\nUIType=5\r\nRowShow=0\r\n[Flash]\r\n"
    "FlashNum=4\r\nChannelNum=1\r\nRWCycle=7\r\nFlashIndex=1\r\nFlashName=FX29F64G08AMC\r\n"
    "UnAutoCheck=1\r\n[Sorting]\r\nScanMode=1\r\nFlashCheck=2\r\nECC=12\r\n[BIN]\r\n"
    "ShowBin=1\r\nStandBin=0\r\nColorBin=1\r\nBinCap1=7600\r\nBINCO1=255\r\nBinCap2=0\r\n"
    "BINCO2=32768\r\nBinCap3=0\r\nBINCO3=32768\r\nBinCap4=0\r\nBINCO4=32768\r\nBinCap5=0\r\n"
    "BINCO5=32768\r\nBinCap6=0\r\nBINCO6=32768\r\nBinCap7=0\r\nBINCO7=32768\r\nBinCap8=0\r\n"
    "BINCO8=32768\r\nBinCap9=0\r\nBINCO9=32768\r\nBinCap10=0\r\nBINCO10=32768\r\n"
    "BinCap11=0\r\nBINCO11=32768\r\nBinCap12=0\r\nBINCO12=32768\r\nBinCap13=0\r\n"
    "BINCO13=32768\r\nBinCap14=0\r\nBINCO14=32768\r\nBinCap15=0\r\nBINCO15=32768\r\n"
    "BinCap16=0\r\nBINCO16=32768\r\n[U3BIN]\r\nShowU3Bin=0\r\nShowSSDBin=0\r\nShowU2Bin=0\r\n"
    "EnhanceCheck=0\r\nU3ColorBin=0\r\nSetU3BinBgColor=0\r\nU3BinCap1=0\r\nU3BinCo1=32768\r\n"
    "U3BinCap2=0\r\nU3BinCo2=32768\r\nU3BinCap3=0\r\nU3BinCo3=32768\r\nU3BinCap4=0\r\n"
    "U3BinCo4=32768\r\nU3BinCap5=0\r\nU3BinCo5=32768\r\nU3BinCap6=0\r\nU3BinCo6=32768\r\n"
    "U3BinCap7=0\r\nU3BinCo7=32768\r\nU3BinCap8=0\r\nU3BinCo8=32768\r\nSSDBinCap1=0\r\n"
    "SSDBinCo1=32768\r\nU3BinBgColor=65280\r\n[CheckFlash]\r\nFlashIndex=0\r\nLoopSel=1\r\n"
    "OpenShortCE=3\r\nCheckFlashMode=1\r\nCheckLEDShort=0\r\nCheckUID=1\r\nWarmUp=1\r\n"
    "PR_Times=12\r\nPR_Page=4\r\nPR_Block=8\r\n[CheckID]\r\nNum=2\r\n"
    "FID0=0xA5,0xD7,0x94,0x76,0x74,0x43\r\nCOLOR0=0\r\nFIDCOR0=16711680\r\n"
    "FID1=0xA5,0xD7,0x94,0x7A,0x54,0x43\r\nCOLOR1=5\r\nFIDCOR1=255\r\n[Advanced]\r\n"
    "HubPort=4\r\nVID_PID=1234ABCD,0F0F0001\r\nVID_PID_RE=1234ABCD0F0F0001\r\nCheckDDR=0\r\n"
    "SortingBlockNum=0\r\nCheckLevel=0\r\nFixedCapability=2\r\nAutoMPTimer=3\r\n"
    "SpecialSortingClassCheck=0\r\nCheckDataRetain=0\r\nSetSum19nmFeature=0\r\nUELC=0\r\n"
    "CheckFixedCap=0\r\nCheckFlashPin=0\r\nReadSandiskFlashID=0\r\nCheckTog=0\r\n"
    "MinCapLimit=1\r\nMinCap=7000\r\n";
const char kSavedBytes[] =
    "[PASSWORD]\r\nPWD=\r\nREMEMBER_PWD=0\r\n[Setup]\r\nCTLType=3\r\nDrivingLevel=51\r\n"
    "ShowTPCTLName=1\r\nUIType=5\r\n[Flash]\r\nFlashIndex=1\r\nFlashName=FX29F64G08AMC\r\n"
    "UnAutoCheck=1\r\nFlashNum=4\r\nChannelNum=1\r\nRWCycle=7\r\n[Sorting]\r\nScanMode=1\r\n"
    "FlashCheck=2\r\nECC=12\r\nReadAfterWroteAll=1\r\n[CheckFlash]\r\nFID=0x98,0x3A\r\n"
    "CheckFlashMode=1\r\nFlashIndex=0\r\nLoopSel=1\r\nOpenShortCE=3\r\nCheckLEDShort=0\r\n"
    "CheckUID=1\r\nWarmUp=1\r\nPR_Times=12\r\nPR_Page=4\r\nPR_Block=8\r\n[CheckID]\r\n"
    "Num=2\r\nFID0=0xA5,0xD7,0x94,0x76,0x74,0x43\r\nCOLOR0=0\r\nFIDCOR0=16711680\r\n"
    "FID1=0xA5,0xD7,0x94,0x7A,0x54,0x43\r\nCOLOR1=5\r\nFIDCOR1=255\r\n[BIN]\r\nShowBin=1\r\n"
    "ColorBin=1\r\nStandBin=0\r\nGrade0Base=1\r\nBinCap1=7600\r\nBINCO1=255\r\nBinCap2=0\r\n"
    "BINCO2=32768\r\nBinCap3=0\r\nBINCO3=32768\r\nBinCap4=0\r\nBINCO4=32768\r\nBinCap5=0\r\n"
    "BINCO5=32768\r\nBinCap6=0\r\nBINCO6=32768\r\nBinCap7=0\r\nBINCO7=32768\r\nBinCap8=0\r\n"
    "BINCO8=32768\r\nBinCap9=0\r\nBINCO9=32768\r\nBinCap10=0\r\nBINCO10=32768\r\n"
    "BinCap11=0\r\nBINCO11=32768\r\nBinCap12=0\r\nBINCO12=32768\r\nBinCap13=0\r\n"
    "BINCO13=32768\r\nBinCap14=0\r\nBINCO14=32768\r\nBinCap15=0\r\nBINCO15=32768\r\n"
    "BinCap16=0\r\nBINCO16=32768\r\n[U3Bin]\r\nSSDColorBin=1\r\nU3BinBgColor=65280\r\n"
    "ShowU3Bin=0\r\nShowSSDBin=0\r\nShowU2Bin=0\r\nEnhanceCheck=0\r\nU3ColorBin=0\r\n"
    "SetU3BinBgColor=0\r\nU3BinCap1=0\r\nU3BinCo1=32768\r\nU3BinCap2=0\r\nU3BinCo2=32768\r\n"
    "U3BinCap3=0\r\nU3BinCo3=32768\r\nU3BinCap4=0\r\nU3BinCo4=32768\r\nU3BinCap5=0\r\n"
    "U3BinCo5=32768\r\nU3BinCap6=0\r\nU3BinCo6=32768\r\nU3BinCap7=0\r\nU3BinCo7=32768\r\n"
    "U3BinCap8=0\r\nU3BinCo8=32768\r\nSSDBinCap1=0\r\nSSDBinCo1=32768\r\n[Advanced]\r\n"
    "HubPort=4\r\nVID_PID=1234ABCD,0F0F0001\r\nVID_PID_RE=1234ABCD0F0F0001\r\n"
    "FixedCapability=2\r\nAutoMPTimer=3\r\nMinCapLimit=1\r\nMinCap=7000\r\nGPI=2\r\n"
    "FactoryDriver=1\r\nCheckDDR=0\r\nSortingBlockNum=0\r\nCheckLevel=0\r\nStartDelay=0\r\n"
    "SpecialSortingClassCheck=0\r\nCheckDataRetain=0\r\nSetSum19nmFeature=0\r\nUELC=0\r\n"
    "CloseReadRetry=0\r\nCheckFixedCap=0\r\nCheckFlashPin=0\r\nReadSandiskFlashID=0\r\n"
    "CheckTog=0\r\nID00Err=0\r\nCacheProgram=0\r\nMultiPlane=0\r\n";

// A second job, which imports take their settings into.
const char kJobB[] =
    "[Setup]\r\nCTLType=1\r\nDrivingLevel=0\r\nUIType=2\r\n"
    "[Flash]\r\nFlashIndex=0\r\nFlashName=FX29F08G08AAA\r\nUnAutoCheck=0\r\nFlashNum=1\r\n"
    "ChannelNum=0\r\nRWCycle=5\r\n"
    "[Sorting]\r\nScanMode=0\r\nFlashCheck=1\r\nECC=3\r\n"
    "[CheckFlash]\r\nCheckFlashMode=2\r\nLoopSel=0\r\nOpenShortCE=0\r\nPR_Times=1\r\nPR_Page=2\r\n"
    "PR_Block=3\r\n"
    "[CheckID]\r\nNum=0\r\n"
    "[BIN]\r\nShowBin=0\r\nBinCap1=100\r\n"
    "[Advanced]\r\nHubPort=1\r\nCheckDDR=1\r\nGPI=1\r\nStartDelay=2\r\n";

// A station of the test's own; the process's current directory, which the
// file dialogs change, is put back when the test ends.
class StationTest : public ::testing::Test {
protected:
    StationTest() : m_dir(files::CurrentDirectory()) {}
    ~StationTest() override { files::ChangeDirectory(m_dir); }

    Station station;

private:
    std::string m_dir;
};
using JobExport = StationTest;
using JobTransfer = StationTest;
using JobImport = StationTest;
using JobFileBytes = StationTest;

}  // namespace

// The name typed gets ".ini" unless the path holds exactly ".ini" somewhere:
// "job2.INI" gets it too, and a folder named "Jobs.ini" keeps the name bare.
// Each export tells the operator it succeeded; the job file is not touched.
TEST_F(JobExport, AppendsIniUnlessThePathHoldsIt) {
    station.WriteJob(kJobA);
    const std::string jobsFolder = MakeFolder(station.Path("Jobs.ini"));
    const struct {
        std::string typed;
        std::string written;
    } cases[] = {
        {station.Path("job1"), station.Path("job1.ini")},
        {station.Path("job2.INI"), station.Path("job2.INI.ini")},
        {Join(jobsFolder, "job3"), Join(jobsFolder, "job3")},
        {station.Path("job4.ini.bak"), station.Path("job4.ini.bak")},
    };
    std::string job;
    Operator op;
    QueueVisit(op, [&](SheetDriver& s) {
        job = station.ReadJob();
        for (const auto& c : cases) {
            std::string message;
            QueueExport(op, station, c.typed, &message, station.Dir());
            s.Click(IDC_EXPORT_SET);
            EXPECT_EQ(station.Text("IDS_SETUP_UI_EXPORT_SUCCESS"), message) << c.typed;
        }
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(0, station.Show(op));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_TRUE(Station::FileExists(c.written));
        EXPECT_EQ(kExportedSetup, Section(Station::ReadFile(c.written), "Setup"));
        if (c.typed != c.written) {
            EXPECT_FALSE(Station::FileExists(c.typed));
        }
    }
    EXPECT_EQ(job, station.ReadJob()) << "the export writes nothing into the job file";
}

// An export carries the pages' keys as the pages show them and the advanced
// keys that travel, the hub VID/PID list with hub port style 4 among them;
// not the password, not the keys only the settings record loads, and not
// the advanced keys that stay with the job.
TEST_F(JobExport, CarriesThePageAndAdvancedKeysOnly) {
    station.WriteJob(kJobA);
    const std::string target = station.Path("Export.ini");
    Operator op;
    QueueVisit(op, [&](SheetDriver& s) {
        std::string message;
        QueueExport(op, station, target, &message);
        s.Click(IDC_EXPORT_SET);
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(0, station.Show(op));

    const std::string exported = Station::ReadFile(target);
    EXPECT_EQ(kExportedSetup, Section(exported, "Setup"));
    EXPECT_EQ(kExportedFlash, Section(exported, "Flash"));
    EXPECT_EQ(kExportedSorting, Section(exported, "Sorting"));
    EXPECT_EQ(kExportedCheckFlash, Section(exported, "CheckFlash"));
    EXPECT_EQ(kExportedCheckID, Section(exported, "CheckID"));
    EXPECT_EQ(kExportedAdvanced, Section(exported, "Advanced"));
    ExpectKeys(exported, {{"BIN", "ShowBin", "1"},
                          {"BIN", "BinCap1", "7600"},
                          {"BIN", "BINCO1", "255"},
                          {"U3BIN", "U3BinBgColor", "65280"}});

    EXPECT_EQ("", Section(exported, "PASSWORD"));
    const struct {
        const char* section;
        const char* key;
    } absent[] = {
        {"Setup", "ShowTPCTLName"},    {"Sorting", "ReadAfterWroteAll"}, {"CheckFlash", "FID"},
        {"BIN", "Grade0Base"},         {"U3BIN", "SSDColorBin"},         {"Advanced", "GPI"},
        {"Advanced", "FactoryDriver"},
    };
    for (const auto& key : absent) {
        EXPECT_EQ("(none)", Value(exported, key.section, key.key)) << key.section << " " << key.key;
    }
}

// Over an existing file (the dialog asks first) only the exported keys are
// replaced: other sections, other keys and the file's own password stay.
TEST_F(JobExport, OverAnExistingFileKeepsItsOtherKeys) {
    station.WriteJob(kJobA);
    const std::string target = station.Path("Existing.ini");
    Station::WriteFile(target,
                       "[Notes]\r\nLine=kept\r\n[Setup]\r\nCTLType=0\r\nExtra=kept\r\n"
                       "[Advanced]\r\nGPI=3\r\nHubPort=2\r\n[PASSWORD]\r\nPWD=other\r\n");
    Operator op;
    QueueVisit(op, [&](SheetDriver& s) {
        op.OnFileDialog([&](FileDialogSeen&) { return FileChoice::Path(target); });
        op.OnMessageBox([](MessageBoxSeen& m) {
            EXPECT_NE(std::string::npos, m.text.find("already exists")) << m.text;
            return IDYES;
        });
        op.OnMessageBox([&](MessageBoxSeen& m) {
            EXPECT_EQ(station.Text("IDS_SETUP_UI_EXPORT_SUCCESS"), m.text);
            return IDOK;
        });
        s.Click(IDC_EXPORT_SET);
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(0, station.Show(op));

    const std::string exported = Station::ReadFile(target);
    EXPECT_EQ(0u,
              exported.find("[Notes]\r\nLine=kept\r\n[Setup]\r\nCTLType=3\r\nExtra=kept\r\n"
                            "DrivingLevel=51\r\nUIType=5\r\nRowShow=0\r\n"
                            "[Advanced]\r\nGPI=3\r\nHubPort=4\r\nVID_PID=1234ABCD,0F0F0001\r\n"))
        << exported;
    EXPECT_EQ("[PASSWORD]\r\nPWD=other\r\n", Section(exported, "PASSWORD"));
    EXPECT_EQ(kExportedFlash, Section(exported, "Flash"));
}

// A page that refuses stops the export with the page's message and then the
// export's own, and the file is as it was: a read-only file, which the mode
// page cannot write into, keeps its bytes and its attribute.
TEST_F(JobExport, RefusedLeavesTheTargetUntouched) {
    station.WriteJob(kJobA);
    const std::string target = station.Path("Locked.ini");
    const std::string before = "[Setup]\r\nCTLType=0\r\n[Other]\r\nKey=1\r\n";
    Station::WriteFile(target, before);
    SetReadOnly(target, true);
    Operator op;
    QueueVisit(op, [&](SheetDriver& s) {
        op.OnFileDialog([&](FileDialogSeen&) { return FileChoice::Path(target); });
        op.OnMessageBox([](MessageBoxSeen&) { return IDYES; });  // replace it?
        op.OnMessageBox([&](MessageBoxSeen& m) {
            EXPECT_NE(std::string::npos, m.text.find(target)) << m.text;
            return IDOK;
        });
        op.OnMessageBox([&](MessageBoxSeen& m) {
            EXPECT_EQ("Fail to export mode Info ", m.text);
            EXPECT_EQ(station.Text("IDS_SETUP_MESSAGE_NOTE"), m.caption);
            EXPECT_EQ(static_cast<UINT>(MB_OK), m.type);
            return IDOK;
        });
        s.Click(IDC_EXPORT_SET);
        EXPECT_TRUE(s.IsOpen());
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(0, station.Show(op));
    EXPECT_EQ(before, Station::ReadFile(target));
    EXPECT_TRUE(IsReadOnly(target));
    SetReadOnly(target, false);
}

// The flash check page refuses a name check without a flash name: its
// message, then the export's, and neither a new file nor an existing one
// gets any key (the mode and bin pages had saved before it).
TEST_F(JobExport, FlashCheckRefusalWritesNothing) {
    station.WriteJob("[CheckFlash]\r\nCheckFlashMode=0\r\nFlashIndex=9\r\n");
    const std::string fresh = station.Path("New.ini");
    const std::string existing = station.Path("Existing.ini");
    const std::string before = "[Setup]\r\nCTLType=0\r\n";
    Station::WriteFile(existing, before);
    Operator op;
    QueueVisit(op, [&](SheetDriver& s) {
        for (const std::string& target : {fresh, existing}) {
            op.OnFileDialog([&](FileDialogSeen&) { return FileChoice::Path(target); });
            if (target == existing) {
                op.OnMessageBox([](MessageBoxSeen&) { return IDYES; });  // replace it?
            }
            op.OnMessageBox([&](MessageBoxSeen& m) {
                EXPECT_EQ(station.Text("IDS_ERR_SEL_FLASH_NAME"), m.text);
                return IDOK;
            });
            op.OnMessageBox([&](MessageBoxSeen& m) {
                EXPECT_EQ("Fail to export flash Info ", m.text);
                EXPECT_EQ(station.Text("IDS_SETUP_MESSAGE_NOTE"), m.caption);
                return IDOK;
            });
            s.Click(IDC_EXPORT_SET);
        }
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(0, station.Show(op));
    EXPECT_FALSE(Station::FileExists(fresh));
    EXPECT_EQ(before, Station::ReadFile(existing));
}

// Where the process's current directory is: a successful export makes it
// the host directory; every other end of an export or an import puts back
// what it was before the dialog (where the open dialog also starts).
TEST_F(JobTransfer, CurrentDirectoryAfterEachOutcome) {
    station.WriteJob(kJobA);
    const std::string work = MakeFolder(station.Path("Work"));
    const std::string out = MakeFolder(station.Path("Out"));
    const std::string source = Join(out, "Source.ini");
    Station::WriteFile(source, kJobB);
    const std::string locked = Join(out, "Locked.ini");
    Station::WriteFile(locked, "[Setup]\r\n");
    SetReadOnly(locked, true);

    Operator op;
    QueueVisit(op, [&](SheetDriver& s) {
        // Export cancelled: the dialog showed the host directory.
        files::ChangeDirectory(work);
        op.OnFileDialog([&](FileDialogSeen& f) {
            EXPECT_TRUE(SameFolder(station.Dir(), f.folder));
            return FileChoice::Cancel();
        });
        s.Click(IDC_EXPORT_SET);
        EXPECT_TRUE(SameFolder(work, files::CurrentDirectory())) << "export cancelled";

        // Import cancelled: the dialog started (and stayed) in the current one.
        op.OnFileDialog([&](FileDialogSeen& f) {
            EXPECT_TRUE(SameFolder(work, f.folder));
            return FileChoice::Cancel();
        });
        s.Click(IDC_IMPORT_SET);
        EXPECT_TRUE(SameFolder(work, files::CurrentDirectory())) << "import cancelled";

        // Import from another folder: back where it was.
        std::string message;
        QueueImport(op, station, source, &message, work);
        s.Click(IDC_IMPORT_SET);
        EXPECT_EQ(station.Text("IDS_SETUP_UI_IMPORT_SUCCESS"), message);
        EXPECT_TRUE(SameFolder(work, files::CurrentDirectory())) << "import done";

        // A refused export: back where it was.
        op.OnFileDialog([&](FileDialogSeen&) { return FileChoice::Path(locked); });
        op.OnMessageBox([](MessageBoxSeen&) { return IDYES; });  // replace it?
        op.OnMessageBox([](MessageBoxSeen&) { return IDOK; });   // the mode page's
        op.OnMessageBox([&](MessageBoxSeen& m) {
            EXPECT_EQ("Fail to export mode Info ", m.text);
            return IDOK;
        });
        s.Click(IDC_EXPORT_SET);
        EXPECT_TRUE(SameFolder(work, files::CurrentDirectory())) << "export refused";

        // A successful export: the host directory.
        QueueExport(op, station, Join(out, "Done.ini"), &message, station.Dir());
        s.Click(IDC_EXPORT_SET);
        EXPECT_EQ(station.Text("IDS_SETUP_UI_EXPORT_SUCCESS"), message);
        EXPECT_TRUE(SameFolder(station.Dir(), files::CurrentDirectory())) << "export done";
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(0, station.Show(op));
    SetReadOnly(locked, false);
}

// Import, then Cancel: the pages showed the imported settings, but only the
// advanced keys (written at the import) reach the job file; its page
// sections are as they were. The imported file was read-only and is not any
// more; its contents are unchanged.
TEST_F(JobImport, ThenCancelKeepsOnlyTheAdvancedKeys) {
    station.WriteJob(kJobB);
    const std::string source = station.Path("A.ini");
    Station::WriteFile(source, kJobA);
    SetReadOnly(source, true);
    std::string before;
    Operator op;
    QueueVisit(op, [&](SheetDriver& s) {
        before = station.ReadJob();
        EXPECT_EQ(1, s.CurSel(IDC_CONTROLLER));
        std::string message;
        QueueImport(op, station, source, &message);
        s.Click(IDC_IMPORT_SET);
        EXPECT_EQ(station.Text("IDS_SETUP_UI_IMPORT_SUCCESS"), message);
        EXPECT_EQ(3, s.CurSel(IDC_CONTROLLER)) << "the mode page shows the imported job";
        EXPECT_TRUE(s.IsChecked(IDC_UNAUTO_CHECK));
        s.PickTab(1);
        EXPECT_EQ("7600", s.Text(IDC_BIN_THRESHOLD1)) << "so does the bin page";
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(0, station.Show(op));

    EXPECT_FALSE(IsReadOnly(source));
    EXPECT_EQ(kJobA, Station::ReadFile(source));
    const std::string job = station.ReadJob();
    for (const char* section : {"Flash", "Sorting", "CheckFlash", "CheckID", "BIN", "PASSWORD"}) {
        EXPECT_EQ(Section(before, section), Section(job, section)) << section;
    }
    EXPECT_EQ("[Setup]\r\nCTLType=1\r\nDrivingLevel=0\r\nUIType=5\r\nRowShow=0\r\n",
              Section(job, "Setup"));
    // The imported advanced keys, then the job's own that do not travel.
    EXPECT_EQ(0u, Section(job, "Advanced")
                      .find("[Advanced]\r\nHubPort=4\r\nCheckDDR=0\r\n"
                            "GPI=1\r\nStartDelay=2\r\n"
                            "VID_PID=1234ABCD,0F0F0001\r\n"))
        << job;
    ExpectKeys(job, {{"Advanced", "AutoMPTimer", "3"}, {"Advanced", "MinCap", "7000"}});
}

// Import, then OK: the job file gets the imported settings as the pages
// save them, and none of the imported keys that no page writes; the advanced
// settings dialog opened afterwards shows the imported hub VID/PID list.
TEST_F(JobImport, ThenOkSavesWhatWasImported) {
    station.WriteJob(kJobB);
    const std::string source = station.Path("A.ini");
    Station::WriteFile(source, kJobA);
    Operator op;
    QueueVisit(op, [&](SheetDriver& s) {
        std::string message;
        QueueImport(op, station, source, &message);
        s.Click(IDC_IMPORT_SET);
        op.OnDialog(IDD_ADVANCED, [](DialogDriver& d) {
            EXPECT_EQ(4, d.CurSel(IDC_HUB_PORT_STYLE));
            EXPECT_TRUE(d.IsVisible(IDC_HUB_VID_PID));
            EXPECT_EQ("1234ABCD,0F0F0001", d.Text(IDC_HUB_VID_PID));
            EXPECT_EQ(5, d.CurSel(IDC_UI_TYPE));
            d.Click(IDC_ADVANCED_CANCEL);
        });
        s.Click(IDC_ADVANCED);
        s.Click(IDOK);
    });
    EXPECT_EQ(1, station.Show(op));

    const std::string job = station.ReadJob();
    EXPECT_EQ("[Setup]\r\nCTLType=3\r\nDrivingLevel=51\r\nUIType=5\r\nRowShow=0\r\n",
              Section(job, "Setup"));
    EXPECT_EQ(
        "[Flash]\r\nFlashIndex=1\r\nFlashName=FX29F64G08AMC\r\nUnAutoCheck=1\r\n"
        "FlashNum=4\r\nChannelNum=1\r\nRWCycle=7\r\n",
        Section(job, "Flash"));
    EXPECT_EQ("[Sorting]\r\nScanMode=1\r\nFlashCheck=2\r\nECC=12\r\n", Section(job, "Sorting"));
    // The flash check page's own keys come from the imported file too.
    EXPECT_EQ(
        "[CheckFlash]\r\nCheckFlashMode=1\r\nLoopSel=1\r\nOpenShortCE=3\r\nPR_Times=12\r\n"
        "PR_Page=4\r\nPR_Block=8\r\nFlashIndex=0\r\nCheckLEDShort=0\r\nCheckUID=1\r\nWarmUp=1\r\n",
        Section(job, "CheckFlash"));
    EXPECT_EQ(kExportedCheckID, Section(job, "CheckID"));
    ExpectKeys(job, {{"BIN", "BinCap1", "7600"},
                     {"BIN", "ShowBin", "1"},
                     {"U3BIN", "U3BinBgColor", "65280"},
                     {"Advanced", "VID_PID_RE", "1234ABCD0F0F0001"},
                     {"BIN", "Grade0Base", "(none)"},
                     {"Sorting", "ReadAfterWroteAll", "(none)"},
                     {"CheckFlash", "FID", "(none)"},
                     {"U3BIN", "SSDColorBin", "(none)"}});
}

// A file that cannot be read imports nothing: the operator is told which
// file, the pages keep what they showed, and the job file is not touched.
TEST_F(JobImport, UnreadableFileImportsNothing) {
    station.WriteJob(kJobB);
    const std::string missing = station.Path("Missing.ini");
    std::string before;
    Operator op;
    QueueVisit(op, [&](SheetDriver& s) {
        before = station.ReadJob();
        op.OnFileDialog([&](FileDialogSeen&) { return FileChoice::Path(missing); });
        op.OnMessageBox([&](MessageBoxSeen& m) {
            EXPECT_NE(std::string::npos, m.text.find(missing)) << m.text;
            EXPECT_NE(station.Text("IDS_SETUP_UI_IMPORT_SUCCESS"), m.text);
            EXPECT_EQ(station.Text("IDS_SETUP_MESSAGE_NOTE"), m.caption);
            return IDOK;
        });
        s.Click(IDC_IMPORT_SET);
        EXPECT_EQ(1, s.CurSel(IDC_CONTROLLER));
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(0, station.Show(op));
    EXPECT_EQ(before, station.ReadJob());
    EXPECT_FALSE(Station::FileExists(missing));
}

// Every writer of the job file byte for byte, over a job with keys of every
// kind: the password dialog, the advanced dialog's OK, an export into a new
// file, then the sheet's OK. The texts are what these saves have always
// written, in the order they have always written them.
TEST_F(JobFileBytes, EverySaveOfAVisit) {
    station.WriteJob(kJobA);
    const std::string target = station.Path("Export.ini");
    Operator op;
    QueueVisit(op, [&](SheetDriver& s) {
        op.OnDialog(IDD_ADVANCED, [](DialogDriver& d) { d.Click(IDC_ADVANCED_OK); });
        s.Click(IDC_ADVANCED);
        std::string message;
        QueueExport(op, station, target, &message);
        s.Click(IDC_EXPORT_SET);
        s.Click(IDOK);
    });
    EXPECT_EQ(1, station.Show(op));
    EXPECT_EQ(kExportedBytes, Station::ReadFile(target));
    EXPECT_EQ(kSavedBytes, station.ReadJob());
}
