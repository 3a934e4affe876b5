// The settings sheet with three pages, run directly (the module's classes are
// linked into the test program on both window systems): the order in which
// pages initialize and save, a page that refuses, the mode page saving into
// another file, reloading, and a job file that cannot be written.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"
#include "module/globals.h"
#include "pages/ModePage.h"
#include "platform/ini.h"
#include "resource.h"
#include "scenario/probe_page.h"
#include "scenario/sheet_globals.h"
#include "scenario/sheet_support.h"
#include "settings/JobSettings.h"
#include "setup/host.h"
#include "sheet/SetupSheet.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#endif

using sheettest::CProbePage;
using sheettest::ExpectKeys;
using sheettest::Section;
using sheettest::Value;

namespace {

using Strings = std::vector<std::string>;

void MakeDirectory(const std::string& path) {
#if defined(_WIN32)
    ::CreateDirectoryA(path.c_str(), nullptr);
#else
    ::mkdir(path.c_str(), 0755);
#endif
}

void RemoveDirectory(const std::string& path) {
#if defined(_WIN32)
    ::RemoveDirectoryA(path.c_str());
#else
    ::rmdir(path.c_str());
#endif
}

const char kJob[] =
    "[Setup]\r\nCTLType=3\r\nDrivingLevel=68\r\n"
    "[Flash]\r\nFlashIndex=1\r\nFlashName=FX29F64G08AMC\r\nUnAutoCheck=1\r\nFlashNum=2\r\n"
    "ChannelNum=1\r\nRWCycle=1\r\n"
    "[Sorting]\r\nScanMode=1\r\nFlashCheck=2\r\nECC=3\r\n";

class SheetPagesTest : public sheettest::SheetGlobals {
protected:
    // The mode page alone on a sheet over kJob, with visit as its operator;
    // fails the test unless the sheet ends with result.
    void WithModePage(int result,
                      const std::function<void(CModePage&, Operator&, SheetDriver&)>& visit) {
        LoadJob(kJob);
        CSetupSheet sheet("Settings", sheettest::VisitOfGlobals());
        CModePage modePage{sheettest::VisitOfGlobals()};
        sheet.AddPage(&modePage);
        Operator op;
        op.OnSheet([&](SheetDriver& s) { visit(modePage, op, s); });
        EXPECT_EQ(result, sheet.DoModal("Times New Roman", 8));
    }
};

}  // namespace

// Every page initializes as the sheet opens (2, 1, then the mode page, which
// shows); OK saves them in tab order and stops at the first that refuses,
// with what the pages before it wrote kept and the station not told. A
// second OK saves all three again from the start.
TEST_F(SheetPagesTest, OkSavesThePagesInOrderAndStopsAtARefusal) {
    LoadJob(kJob);
    StationWindow transfer(SETUP_STATION_CLASS, SETUP_STATION_TITLE);
    CSetupSheet sheet("Settings", sheettest::VisitOfGlobals());
    CModePage modePage{sheettest::VisitOfGlobals()};
    CProbePage binPage(IDD_BIN, 1, &m_log);
    CProbePage checkPage(IDD_FLASH_CHECK, 2, &m_log);
    sheet.AddPage(&modePage);
    sheet.AddPage(&binPage);
    sheet.AddPage(&checkPage);
    binPage.m_bRefuse = true;

    Operator op;
    op.OnSheet([&](SheetDriver& s) {
        EXPECT_EQ((Strings{"init 2", "init 1"}), m_log);
        EXPECT_EQ(0, s.ActiveIndex());
        EXPECT_EQ(IDD_MODE, s.Page().TemplateId());
        ASSERT_EQ(3, s.PageCount());
        EXPECT_EQ("Mode", s.TabTitle(0));
        EXPECT_EQ("Bin", s.TabTitle(1));
        EXPECT_EQ("Flash Check", s.TabTitle(2));
        m_log.clear();

        s.Select(IDC_CONTROLLER, 1);
        op.OnMessageBox([](MessageBoxSeen& m) {
            EXPECT_EQ("Page 1 refuses.", m.text);
            return IDOK;
        });
        s.Click(IDOK);
        EXPECT_TRUE(s.IsOpen());
        EXPECT_EQ((Strings{"save 1"}), m_log);
        ExpectKeys(m_station.ReadJob(), {{"Setup", "CTLType", "1"}, {"Probe", "Page2", "(none)"}});
        EXPECT_TRUE(transfer.Received().empty());

        // The pages keep their fonts when shown later.
        for (int tab : {1, 2}) {
            s.PickTab(tab);
            const FontSeen font = s.Page().Font(0);
            EXPECT_EQ("Times New Roman", font.face) << tab;
            EXPECT_EQ(8, font.PointSize()) << tab;
        }
        s.PickTab(0);

        m_log.clear();
        binPage.m_bRefuse = false;
        s.Select(IDC_CONTROLLER, 2);
        s.Click(IDOK);
        EXPECT_EQ((Strings{"save 1", "save 2"}), m_log);
    });
    EXPECT_EQ(1, sheet.DoModal("Times New Roman", 8));
    EXPECT_EQ(std::vector<UINT>{SETUP_STATION_MESSAGE}, transfer.Received());
    const std::string job = m_station.ReadJob();
    EXPECT_EQ("2", Value(job, "Setup", "CTLType"));
    EXPECT_EQ("[Probe]\r\nPage1=saved\r\nPage2=saved\r\n", Section(job, "Probe"));
}

// Reloading (as an import does) refills every list from JobSettings, each
// item once; the template's flash numbers stay "1", "2", "4".
TEST_F(SheetPagesTest, ModePageReloadsFromJobSettings) {
    WithModePage(IDCANCEL, [&](CModePage& modePage, Operator&, SheetDriver& s) {
        const int ids[] = {IDC_CONTROLLER, IDC_DRIVING_LEVEL, IDC_FLASH_TYPE, IDC_FLASH_NUM,
                           IDC_CHANNEL,    IDC_RW_CYCLE,      IDC_ECC,        IDC_TEST_CASE};
        std::vector<Strings> before;
        for (int id : ids) {
            before.push_back(s.Items(id));
        }
        EXPECT_EQ(3, s.CurSel(IDC_CONTROLLER));
        s.Select(IDC_CONTROLLER, 0);

        JobSettings.Setup.CTLType = 4;
        JobSettings.Setup.ShowTPCTLName = 1;
        JobSettings.Flash.FlashNum = 4;
        JobSettings.Sorting.ScanMode = 0;
        for (int pass = 0; pass < 2; ++pass) {
            EXPECT_TRUE(modePage.LoadSettings(g_strJobFile));
        }
        for (size_t i = 0; i < before.size(); ++i) {
            if (ids[i] != IDC_CONTROLLER) {
                EXPECT_EQ(before[i], s.Items(ids[i])) << ids[i];
            }
        }
        EXPECT_EQ((Strings{"1", "2", "4"}), s.Items(IDC_FLASH_NUM));
        EXPECT_EQ("RX-360", s.Items(IDC_CONTROLLER)[3]);
        EXPECT_EQ(4, s.CurSel(IDC_CONTROLLER));
        EXPECT_EQ(2, s.CurSel(IDC_FLASH_NUM));
        EXPECT_TRUE(s.IsChecked(IDC_TRAFFIC_LIGHT));
        EXPECT_FALSE(s.IsChecked(IDC_FAST_TEST));
        EXPECT_FALSE(s.IsEnabled(IDC_ECC));
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(std::string(kJob), m_station.ReadJob()) << "reloading writes nothing";
}

// A stored driving level or flash number that no item shows leaves its list
// without selection; saving writes the value loaded, so the file keeps it.
TEST_F(SheetPagesTest, ListsWithoutSelectionKeepTheLoadedValues) {
    WithModePage(1, [&](CModePage& modePage, Operator&, SheetDriver& s) {
        // What a job written by other means could make the record hold.
        JobSettings.Setup.DrivingLevel = 53;
        JobSettings.Flash.FlashNum = 3;
        modePage.LoadSettings(g_strJobFile);
        EXPECT_EQ(-1, s.CurSel(IDC_DRIVING_LEVEL));
        EXPECT_EQ(-1, s.CurSel(IDC_FLASH_NUM));
        s.Click(IDOK);
    });
    ExpectKeys(m_station.ReadJob(), {{"Setup", "DrivingLevel", "53"}, {"Flash", "FlashNum", "3"}});
}

// SaveSettings writes where it is told (an export file) and leaves the job
// file alone; the empty path is the job file; a file it cannot write is
// refused with a message. g_bFlashNameRequired follows
// the UnAutoCheck box, shown and saved.
TEST_F(SheetPagesTest, ModePageSavesIntoTheFileItIsGiven) {
    const std::string exportFile = m_station.Path("Export.ini");
    WithModePage(IDCANCEL, [&](CModePage& modePage, Operator& op, SheetDriver& s) {
        EXPECT_EQ(1, g_bFlashNameRequired);
        s.Uncheck(IDC_UNAUTO_CHECK);
        EXPECT_EQ(0, g_bFlashNameRequired);
        s.Check(IDC_UNAUTO_CHECK);
        EXPECT_EQ(0, s.CurSel(IDC_CHANNEL)) << "unchecking chose the single channel";
        s.Select(IDC_FLASH_NUM, "4");
        g_bFlashNameRequired = 0;  // as the flash check page may leave it

        EXPECT_TRUE(modePage.SaveSettings(exportFile));
        EXPECT_EQ(1, g_bFlashNameRequired);
        EXPECT_EQ(std::string(kJob), m_station.ReadJob());
        const std::string exported = Station::ReadFile(exportFile);
        EXPECT_EQ("[Setup]\r\nCTLType=3\r\nDrivingLevel=68\r\n", Section(exported, "Setup"));
        EXPECT_EQ(
            "[Flash]\r\nFlashNum=4\r\nChannelNum=0\r\nRWCycle=1\r\nFlashIndex=1\r\n"
            "FlashName=FX29F64G08AMC\r\nUnAutoCheck=1\r\n",
            Section(exported, "Flash"));
        EXPECT_EQ("[Sorting]\r\nScanMode=1\r\nFlashCheck=2\r\nECC=3\r\n",
                  Section(exported, "Sorting"));

        EXPECT_TRUE(modePage.SaveSettings(""));
        EXPECT_EQ("4", Value(m_station.ReadJob(), "Flash", "FlashNum"));

        // A file that cannot be written: the page says so and refuses.
        const std::string nowhere = m_station.Path("Missing") + "/Export.ini";
        op.OnMessageBox([&](MessageBoxSeen& m) {
            EXPECT_NE(std::string::npos, m.text.find(nowhere)) << m.text;
            return IDOK;
        });
        EXPECT_FALSE(modePage.SaveSettings(nowhere));
        s.Click(IDCANCEL);
    });
}

// A job file that cannot be written: the operator is told, naming the file,
// and the sheet stays open instead of reporting settings as saved; once the
// file can be written again, OK saves.
TEST_F(SheetPagesTest, UnwritableJobFileKeepsTheSheetOpen) {
    StationWindow transfer(SETUP_STATION_CLASS, SETUP_STATION_TITLE);
    WithModePage(1, [&](CModePage&, Operator& op, SheetDriver& s) {
        // A folder where the job file was: no file can replace it.
        std::remove(g_strJobFile.c_str());
        MakeDirectory(g_strJobFile);
        op.OnMessageBox([&](MessageBoxSeen& m) {
            EXPECT_NE(std::string::npos, m.text.find(g_strJobFile)) << m.text;
            EXPECT_EQ(m_station.Text("IDS_SETUP_MESSAGE_NOTE"), m.caption);
            EXPECT_EQ(static_cast<UINT>(MB_OK), m.Buttons());
            return IDOK;
        });
        s.Click(IDOK);
        EXPECT_TRUE(s.IsOpen());
        EXPECT_TRUE(transfer.Received().empty());

        RemoveDirectory(g_strJobFile);
        s.Click(IDOK);
    });
    EXPECT_EQ(std::vector<UINT>{SETUP_STATION_MESSAGE}, transfer.Received());
    EXPECT_EQ("[Setup]\r\nCTLType=3\r\nDrivingLevel=68\r\n", Section(m_station.ReadJob(), "Setup"));
}
