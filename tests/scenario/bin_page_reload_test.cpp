// The bin page's own operations as the sheet's export and import call them:
// LoadSettings showing newly loaded settings as a freshly opened page shows
// them (swatches attached once), and SaveSettings into a given file, into the
// job file for an empty path, and refusing when the file cannot be written.
// These run the page in a sheet of the test program, with the settings record
// set directly, on both window systems.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"
#include "framework/framework.h"
#include "module/globals.h"
#include "pages/BinDlg.h"
#include "resource.h"
#include "scenario/bin_page_support.h"
#include "scenario/sheet_globals.h"
#include "scenario/sheet_support.h"
#include "settings/JobSettings.h"

using namespace bintest;
using sheettest::Section;
using sheettest::Value;

namespace {

// The settings record, job file and language of the test program, set for a
// station and put back afterwards.
class SettingsScope {
public:
    explicit SettingsScope(const Station& station)
        : m_settings(JobSettings),
          m_jobFile(g_strJobFile),
          m_languageFile(g_strLanguageFile),
          m_nLanguage(g_nLanguage) {
        g_strJobFile = station.JobFile();
        g_strLanguageFile = station.Dir() + "\\DLL\\Language.dll";
        g_nLanguage = SETUP_LANGUAGE_ENU;
        // The record as an empty job file loads it.
        Station::WriteFile(station.Path("empty.ini"), "");
        JobSettings.Load(station.Path("empty.ini"));
    }
    ~SettingsScope() {
        JobSettings = m_settings;
        g_strJobFile = m_jobFile;
        g_strLanguageFile = m_languageFile;
        g_nLanguage = m_nLanguage;
    }
    SettingsScope(const SettingsScope&) = delete;
    SettingsScope& operator=(const SettingsScope&) = delete;

private:
    CJobSettings m_settings;
    std::string m_jobFile;
    std::string m_languageFile;
    uint8_t m_nLanguage;
};

// Runs the bin page alone in a sheet; `act` works on it, then the sheet is cancelled.
void RunPage(CBinDlg& page, const std::function<void(SheetDriver&)>& act) {
    fw::CPropertySheet sheet("Bins");
    sheet.AddPage(&page);
    Operator op;
    op.OnSheet([&](SheetDriver& s) {
        act(s);
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
}

}  // namespace

// An import reloads the record and asks the page to show it again: every
// control ends as a freshly opened page shows the new settings, also those
// that the earlier settings had disabled, and the swatches, attached once,
// show the new colours.
TEST(BinPage, LoadSettingsShowsTheNewSettingsAsAFreshPage) {
    Station station;
    SettingsScope scope(station);
    JobSettings.Sorting.FlashCheck = 4;
    JobSettings.BIN.StandBin = 1;
    JobSettings.BIN.Grade0Base = 1;
    JobSettings.BIN.BinBB[0] = 5;
    JobSettings.U3Bin.ShowU3Bin = 1;
    JobSettings.U3Bin.EnhanceCheck = 1;

    CBinDlg page{sheettest::VisitOfGlobals()};
    RunPage(page, [&](SheetDriver& s) {
        EXPECT_EQ(kU3OrSsd, States(s));
        EXPECT_EQ("5", s.Text(Threshold(1)));
        EXPECT_EQ("B", s.Text(Unit(1)));
        EXPECT_EQ("Bin 0", s.Text(Label(1)));
        const HWND firstSwatch = page.m_binSwatch[0].GetSafeHwnd();
        ASSERT_NE(nullptr, firstSwatch);
        EXPECT_EQ(s.Page().Item(Swatch(1)), firstSwatch);

        JobSettings.Sorting.FlashCheck = 1;
        JobSettings.BIN.StandBin = 0;
        JobSettings.BIN.Grade0Base = 0;
        JobSettings.BIN.ColorBin = 1;
        JobSettings.BIN.BinCap[0] = 128;
        JobSettings.BIN.BINCO[0] = RGB(9, 8, 7);
        JobSettings.U3Bin.ShowU3Bin = 0;
        JobSettings.U3Bin.U3ColorBin = 1;
        JobSettings.U3Bin.SetU3BinBgColor = 1;
        JobSettings.U3Bin.SSDBinCo = RGB(70, 80, 90);
        JobSettings.U3Bin.EnhanceCheck = 2;
        EXPECT_EQ(TRUE, page.LoadSettings(g_strJobFile));

        EXPECT_EQ(kSwatchesShown, States(s));
        EXPECT_FALSE(s.IsChecked(IDC_SHOW_U3_BIN));
        EXPECT_EQ("128", s.Text(Threshold(1)));
        EXPECT_EQ("M", s.Text(Unit(1)));
        EXPECT_EQ("Bin 1", s.Text(Label(1)));
        EXPECT_EQ(3u, s.Items(IDC_ENHANCE_CHECK).size()) << "the list is filled afresh";
        EXPECT_EQ(2, s.CurSel(IDC_ENHANCE_CHECK));
        EXPECT_EQ(firstSwatch, page.m_binSwatch[0].GetSafeHwnd()) << "attached once";
        if (Operator::PixelChecksRun()) {
            EXPECT_EQ(std::vector<std::string>{}, PixelsNotOf(s.Page(), Swatch(1), RGB(9, 8, 7)));
            EXPECT_EQ(std::vector<std::string>{},
                      PixelsNotOf(s.Page(), IDC_SSD_BIN_SWATCH, RGB(70, 80, 90)));
        }

        // And back: a reload disables again what the settings lock.
        JobSettings.BIN.ColorBin = 0;
        JobSettings.U3Bin.U3ColorBin = 0;
        JobSettings.U3Bin.SetU3BinBgColor = 0;
        JobSettings.U3Bin.ShowSSDBin = 1;
        EXPECT_EQ(TRUE, page.LoadSettings(std::string()));
        EXPECT_EQ(kU3OrSsd, States(s));
    });
}

// A reload asked of a page that the sheet has not created yet waits for the
// page's first showing, which attaches the swatches.
TEST(BinPage, LoadSettingsBeforeThePageExistsLeavesItToTheFirstShowing) {
    Station station;
    SettingsScope scope(station);
    CBinDlg page{sheettest::VisitOfGlobals()};
    EXPECT_EQ(TRUE, page.LoadSettings(std::string()));
    EXPECT_EQ(nullptr, page.m_binSwatch[0].GetSafeHwnd());
    JobSettings.BIN.ColorBin = 1;
    JobSettings.BIN.BINCO[15] = RGB(1, 1, 1);
    RunPage(page, [&](SheetDriver& s) {
        EXPECT_NE(nullptr, page.m_binSwatch[15].GetSafeHwnd());
        EXPECT_TRUE(s.IsVisible(Swatch(16)));
        if (Operator::PixelChecksRun()) {
            EXPECT_EQ(RGB(1, 1, 1), s.Page().Pixel(Swatch(16), 5, 5));
        }
    });
}

// SaveSettings writes into the file it is given (an export), into the job
// file for the empty path, and refuses, telling the operator, when the file
// cannot be written.
TEST(BinPage, SaveSettingsWritesTheFileGivenOrRefuses) {
    Station station;
    station.SetText("IDS_SETUP_MESSAGE_NOTE", "Notice");
    SettingsScope scope(station);
    JobSettings.BIN.BINCO[1] = RGB(0, 0, 255);
    const std::string exported = station.Path("exported.ini");
    const std::string unwritable = station.Dir() + "no such folder\\job.ini";

    CBinDlg page{sheettest::VisitOfGlobals()};
    RunPage(page, [&](SheetDriver& s) {
        s.Type(Threshold(1), "64");
        EXPECT_EQ(TRUE, page.SaveSettings(exported));
        BinSave bin;
        bin.thresholds[0] = "64";
        bin.colors[1] = std::to_string(RGB(0, 0, 255));
        EXPECT_EQ("[BIN]\r\n" + bin.Text(), Section(Station::ReadFile(exported), "BIN"));
        EXPECT_EQ("[U3BIN]\r\n" + U3Save().Text(), Section(Station::ReadFile(exported), "U3BIN"));

        EXPECT_EQ(TRUE, page.SaveSettings(std::string()));
        EXPECT_EQ("64", Value(station.ReadJob(), "BIN", "BinCap1"));

        Operator* op = Operator::Current();
        ASSERT_NE(nullptr, op);
        op->OnMessageBox([&](MessageBoxSeen& m) {
            EXPECT_EQ("The bin settings could not be written to " + unwritable + ".", m.text);
            EXPECT_EQ("Notice", m.caption);
            EXPECT_EQ(static_cast<UINT>(MB_OK), m.Buttons());
            EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), m.Icon());
            return IDOK;
        });
        EXPECT_EQ(FALSE, page.SaveSettings(unwritable));
        EXPECT_FALSE(Station::FileExists(unwritable));
    });
}
