// The flash check page run directly (the module's classes are linked into the
// test program on both window systems): reloading it from JobSettings and
// another file, as an import does, saving it into another file, as an export
// does, and the flag it shares with the mode page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"
#include "module/globals.h"
#include "framework/api.h"
#include "pages/SetupDlg.h"
#include "resource.h"
#include "scenario/flash_check_support.h"
#include "scenario/sheet_globals.h"
#include "scenario/sheet_support.h"
#include "settings/JobSettings.h"
#include "sheet/SetupSheet.h"

using namespace fctest;
using sheettest::Section;
using sheettest::Value;

namespace {

// The module's globals as Show leaves them for the sheet, restored afterwards.
class FlashCheckPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = JobSettings;
        m_savedFlag = g_bFlashNameRequired;
        g_nLanguage = SETUP_LANGUAGE_ENU;
        g_strAppDir = m_station.Dir();
        g_strJobFile = m_station.JobFile();
        g_strLanguageFile = m_station.Dir() + "\\DLL\\Language.dll";
        m_station.SetFlashTypes(FiveTypes());
        g_pFlashTable = &m_station.Table();
    }
    void TearDown() override {
        JobSettings = m_saved;
        g_bFlashNameRequired = m_savedFlag;
        g_strAppDir.clear();
        g_strJobFile.clear();
        g_strLanguageFile.clear();
        g_pFlashTable = nullptr;
    }

    void LoadJob(const std::string& text) {
        m_station.WriteJob(text);
        JobSettings.Load(g_strJobFile);
    }

    // Runs a sheet with the page alone; `handler` works on it.
    void RunPage(CSetupDlg& page, Operator::SheetHandler handler, INT_PTR result) {
        CSetupSheet sheet("Settings", sheettest::VisitOfGlobals());
        sheet.AddPage(&page);
        Operator op;
        m_op = &op;
        op.OnSheet(std::move(handler));
        EXPECT_EQ(result, sheet.DoModal("Times New Roman", 8));
        m_op = nullptr;
    }

    Station m_station;
    Operator* m_op = nullptr;

private:
    CJobSettings m_saved;
    int32_t m_savedFlag = 0;
};

const char kJob[] =
    "[CheckFlash]\r\nCheckFlashMode=2\r\nLoopSel=0\r\nOpenShortCE=1\r\nPR_Times=5\r\n"
    "PR_Page=6\r\nPR_Block=7\r\n";
const char kImported[] =
    "[CheckFlash]\r\nCheckFlashMode=1\r\nCheckUID=1\r\nLoopSel=1\r\nOpenShortCE=6\r\n"
    "PR_Times=77\r\nPR_Page=8\r\nPR_Block=9\r\n"
    "[CheckID]\r\nNum=1\r\nFID0=0x2C,0x88\r\nCOLOR0=2\r\nFIDCOR0=128\r\n";

std::string LoopTexts(const DialogDriver& s) {
    return s.Text(IDC_LOOP_TIMES) + " " + s.Text(IDC_LOOP_PAGE) + " " + s.Text(IDC_LOOP_BLOCK);
}

}  // namespace

// Reloading after an import shows JobSettings as now loaded and the five file
// keys of the file it is given (of the job file for an empty path), every
// list item once however often it runs; nothing is written.
TEST_F(FlashCheckPageTest, ReloadShowsJobSettingsAndTheGivenFilesKeys) {
    LoadJob(kJob);
    const std::string imported = m_station.Path("Imported.ini");
    Station::WriteFile(imported, kImported);
    CSetupDlg page{sheettest::VisitOfGlobals(2)};
    RunPage(
        page,
        [&](SheetDriver& s) {
            EXPECT_EQ("5 6 7", LoopTexts(s));
            EXPECT_EQ(1, s.CurSel(IDC_OPEN_SHORT_CE));
            EXPECT_TRUE(s.IsChecked(IDC_NOT_CHECK));

            JobSettings.Load(imported);
            for (int pass = 0; pass < 2; ++pass) {
                EXPECT_TRUE(page.LoadSettings(imported));
            }
            EXPECT_EQ(kFiveTypesSorted, s.Items(IDC_FLASH_NAME));
            EXPECT_EQ((Strings{"Read", "Write"}), s.Items(IDC_LOOP_SELECT));
            EXPECT_EQ(8u, s.Items(IDC_OPEN_SHORT_CE).size());
            EXPECT_EQ("77 8 9", LoopTexts(s));
            EXPECT_EQ(1, s.CurSel(IDC_LOOP_SELECT));
            EXPECT_EQ(6, s.CurSel(IDC_OPEN_SHORT_CE));
            EXPECT_EQ("010", std::string(s.IsChecked(IDC_CHECK_FLASH_NAME) ? "1" : "0") +
                                 (s.IsChecked(IDC_CHECK_FLASH_ID) ? "1" : "0") +
                                 (s.IsChecked(IDC_NOT_CHECK) ? "1" : "0"));
            EXPECT_TRUE(s.IsEnabled(IDC_ADD_MODIFY));
            EXPECT_EQ(IdLines({{"0x2C,0x88", "DARK ORANGE"}}), s.Text(IDC_FLASH_ID_LIST));
            EXPECT_TRUE(s.IsChecked(IDC_CHECK_UID));
            EXPECT_EQ("MLC QM29F64G08AMC", s.Items(IDC_FLASH_NAME)[s.CurSel(IDC_FLASH_NAME)]);

            EXPECT_TRUE(page.LoadSettings(""));
            EXPECT_EQ("5 6 7", LoopTexts(s)) << "the job file's";
            EXPECT_EQ(1, s.CurSel(IDC_OPEN_SHORT_CE));
            s.Click(IDCANCEL);
        },
        IDCANCEL);
    EXPECT_EQ(std::string(kJob), m_station.ReadJob());
    EXPECT_EQ(std::string(kImported), Station::ReadFile(imported));
}

// A reload asked for before the page has a window is its first
// initialization, from the file it was given.
TEST_F(FlashCheckPageTest, ReloadBeforeThePageExistsReadsTheGivenFileWhenItOpens) {
    LoadJob(kJob);
    const std::string imported = m_station.Path("Imported.ini");
    Station::WriteFile(imported, kImported);
    CSetupDlg page{sheettest::VisitOfGlobals()};
    EXPECT_TRUE(page.LoadSettings(imported));
    RunPage(
        page,
        [&](SheetDriver& s) {
            EXPECT_EQ("77 8 9", LoopTexts(s));
            s.Click(IDCANCEL);
        },
        IDCANCEL);
}

// Saving into another file (an export) writes the page's sections there and
// leaves the job file alone; the empty path is the job file. The save sets
// the test options in JobSettings but not the check mode or the flash index.
// A file that cannot be written is named to the operator and refused.
TEST_F(FlashCheckPageTest, SavesIntoTheFileItIsGiven) {
    LoadJob(std::string(kJob) + "CheckLEDShort=0\r\n");
    const std::string exported = m_station.Path("Export.ini");
    CSetupDlg page{sheettest::VisitOfGlobals(4)};
    RunPage(
        page,
        [&](SheetDriver& s) {
            s.Check(IDC_CHECK_LED_SHORT);
            s.Check(IDC_WARMUP);
            s.Click(IDC_CHECK_FLASH_NAME);
            EXPECT_TRUE(page.SaveSettings(exported));
            EXPECT_EQ(std::string(kJob) + "CheckLEDShort=0\r\n", m_station.ReadJob());
            EXPECT_EQ(
                "[CheckFlash]\r\nFlashIndex=4\r\nLoopSel=0\r\nOpenShortCE=1\r\n"
                "CheckFlashMode=0\r\nCheckLEDShort=1\r\nCheckUID=0\r\nWarmUp=1\r\n"
                "PR_Times=5\r\nPR_Page=6\r\nPR_Block=7\r\n[CheckID]\r\nNum=0\r\n",
                Station::ReadFile(exported));
            EXPECT_EQ(1, JobSettings.CheckFlash.CheckLEDShort);
            EXPECT_EQ(1, JobSettings.CheckFlash.WarmUp);
            EXPECT_EQ(2, JobSettings.CheckFlash.CheckFlashMode);
            EXPECT_EQ(-1, JobSettings.CheckFlash.FlashIndex);

            EXPECT_TRUE(page.SaveSettings(""));
            EXPECT_EQ("0", Value(m_station.ReadJob(), "CheckFlash", "CheckFlashMode"));

            const std::string nowhere = m_station.Path("Missing") + "/Export.ini";
            m_op->OnMessageBox([&](MessageBoxSeen& m) {
                EXPECT_NE(std::string::npos, m.text.find(nowhere)) << m.text;
                return IDOK;
            });
            EXPECT_FALSE(page.SaveSettings(nowhere));
            s.Click(IDCANCEL);
        },
        IDCANCEL);
}

// The flag shared with the mode page follows the checked radio when the page
// saves; with no radio checked it keeps what the mode page made of it, and no
// mode is written.
TEST_F(FlashCheckPageTest, SaveSetsTheFlashNameFlagFromTheRadios) {
    LoadJob("[CheckFlash]\r\nCheckFlashMode=0\r\nFlashIndex=1\r\n");
    CSetupDlg page{sheettest::VisitOfGlobals()};
    RunPage(
        page,
        [&](SheetDriver& s) {
            const struct {
                int radio;
                int32_t before;
                int32_t after;
            } cases[] = {
                {IDC_CHECK_FLASH_NAME, 0, 1},
                {IDC_CHECK_FLASH_ID, 1, 0},
                {IDC_NOT_CHECK, 1, 0},
                {0, 1, 1},
                {0, 0, 0},
            };
            for (const auto& c : cases) {
                SCOPED_TRACE(c.radio);
                for (int id : {IDC_CHECK_FLASH_NAME, IDC_CHECK_FLASH_ID, IDC_NOT_CHECK}) {
                    fw::api::SendMessage(s.Item(id), BM_SETCHECK,
                                         id == c.radio ? BST_CHECKED : BST_UNCHECKED, 0);
                }
                const std::string file = m_station.Path("Flag" + std::to_string(c.radio) +
                                                        std::to_string(c.before) + ".ini");
                g_bFlashNameRequired = c.before;
                EXPECT_TRUE(page.SaveSettings(file));
                EXPECT_EQ(c.after, g_bFlashNameRequired);
                const std::string mode =
                    Value(Station::ReadFile(file), "CheckFlash", "CheckFlashMode");
                EXPECT_EQ(c.radio == 0, mode == "(none)") << mode;
            }
            s.Click(IDCANCEL);
        },
        IDCANCEL);
}
