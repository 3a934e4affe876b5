// The settings sheet as the operator meets it: its layout and texts, how it
// ends, what a confirmed sheet writes into the job file and tells the
// station. The same scenarios run natively and, under Wine, against the real
// Setup.dll.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"
#include "framework/api.h"
#include "resource.h"
#include "scenario/sheet_support.h"
#include "setup/host.h"

using sheettest::QueueVisit;
using sheettest::Section;

namespace {

RECT Shifted(RECT rect, int dx) {
    rect.left += dx;
    rect.right += dx;
    return rect;
}

int Width(const RECT& rect) {
    return rect.right - rect.left;
}

int Height(const RECT& rect) {
    return rect.bottom - rect.top;
}

void ExpectTimesNewRoman8(const DialogDriver& window, int id, const std::string& what) {
    const FontSeen font = window.Font(id);
    EXPECT_EQ("Times New Roman", font.face) << what;
    EXPECT_EQ(8, font.PointSize()) << what << " (height " << font.height << ")";
}

const char* const kTabKeys[] = {"IDS_SETUP_UI_SHEET_MODE", "IDS_SETUP_UI_SHEET_BIN_INFO",
                                "IDS_SETUP_UI_SHEET_AUTOPRODUCTION"};

// A job that holds every key of the mode page.
const char kFullJob[] =
    "[Setup]\r\nCTLType=2\r\nDrivingLevel=51\r\n"
    "[Flash]\r\nFlashIndex=1\r\nFlashName=FX29F64G08AMC\r\nUnAutoCheck=1\r\nFlashNum=2\r\n"
    "ChannelNum=1\r\nRWCycle=7\r\n"
    "[Sorting]\r\nScanMode=2\r\nFlashCheck=4\r\nECC=12\r\nReadAfterWroteAll=1\r\n"
    "[Other]\r\nKey=Value\r\n";

}  // namespace

// The sheet opens on the mode page, titled and laid out for the station: the
// standard buttons trade places (OK where Apply Now was, less 80 pixels;
// Cancel where Help was, less 71; Apply Now and Help, hidden, where OK and
// Cancel were, plus 10), import and export sit at 6 and 96 pixels on their
// row with OK's size, the tab control is widened with the window, and
// everything uses Times New Roman at 8 points.
TEST(SetupSheet, OpensOnTheModePageWithTheStationLayout) {
    Station station;
    station.SetText("IDS_SETUP_UI_OK", "Confirm");
    station.SetText("IDS_SETUP_UI_CANCEL", "Discard");
    Operator op;
    QueueVisit(op, [&](SheetDriver& s) {
        EXPECT_EQ(station.Text("IDS_SETUP_UI_TITLE"), s.Caption());
        EXPECT_EQ(0, s.ActiveIndex());
        EXPECT_EQ(IDD_MODE, s.Page().TemplateId());
        ASSERT_GE(s.PageCount(), 1);
        for (int tab = 0; tab < s.PageCount(); ++tab) {
            EXPECT_EQ(station.Text(kTabKeys[tab]), s.TabTitle(tab)) << "tab " << tab;
        }

        EXPECT_EQ("Confirm", s.Text(IDOK));
        EXPECT_EQ("Discard", s.Text(IDCANCEL));
        EXPECT_EQ(station.Text("IDS_SETUP_UI_IMPORT_SET"), s.Text(IDC_IMPORT_SET));
        EXPECT_EQ(station.Text("IDS_SETUP_UI_EXPORT_SET"), s.Text(IDC_EXPORT_SET));
        for (int id : {IDOK, IDCANCEL, IDC_IMPORT_SET, IDC_EXPORT_SET}) {
            EXPECT_TRUE(s.IsVisible(id)) << id;
            EXPECT_TRUE(s.IsEnabled(id)) << id;
        }
        EXPECT_FALSE(s.IsVisible(IDHELP));
        EXPECT_FALSE(s.IsVisible(ID_APPLY_NOW));
        EXPECT_NE(0, s.Style(IDC_IMPORT_SET) & WS_TABSTOP);
        EXPECT_NE(0, s.Style(IDC_IMPORT_SET) & WS_GROUP);
        EXPECT_NE(0, s.Style(IDC_EXPORT_SET) & WS_TABSTOP);

        const RECT ok = s.Rect(IDOK);
        const RECT cancel = s.Rect(IDCANCEL);
        const RECT help = s.Rect(IDHELP);
        const RECT apply = s.Rect(ID_APPLY_NOW);
        const RECT import = s.Rect(IDC_IMPORT_SET);
        const RECT exportButton = s.Rect(IDC_EXPORT_SET);
        for (const RECT& button : {cancel, help, apply, import, exportButton}) {
            EXPECT_EQ(ok.top, button.top);
            EXPECT_EQ(Height(ok), Height(button));
            EXPECT_EQ(Width(ok), Width(button));
        }
        EXPECT_EQ(6, import.left);
        EXPECT_EQ(96, exportButton.left);
        // Undoing the moves gives the platform's row back: OK, Cancel, Apply
        // Now and Help, left to right, one step apart.
        const RECT okBefore = Shifted(apply, -10);
        const RECT cancelBefore = Shifted(help, -10);
        const RECT applyBefore = Shifted(ok, 80);
        const RECT helpBefore = Shifted(cancel, 71);
        const int step = cancelBefore.left - okBefore.left;
        EXPECT_GT(step, Width(ok));
        EXPECT_EQ(step, applyBefore.left - cancelBefore.left);
        EXPECT_EQ(step, helpBefore.left - applyBefore.left);
        EXPECT_LT(exportButton.right, ok.left);
        EXPECT_LT(ok.right, cancel.left);

        // The tab control grew with the window: its margins are equal again.
        RECT client = {};
        fw::api::GetClientRect(s.Hwnd(), &client);
        const RECT tab = s.TabRect();
        EXPECT_EQ(tab.left, client.right - tab.right);

        ExpectTimesNewRoman8(s, 0, "the sheet");
        for (int id : {IDOK, IDCANCEL, IDC_IMPORT_SET, IDC_EXPORT_SET}) {
            ExpectTimesNewRoman8(s, id, "sheet button " + std::to_string(id));
        }
        const DialogDriver page = s.Page();
        ExpectTimesNewRoman8(page, 0, "the mode page");
        for (int id : {IDC_CONTROLLER, IDC_FLASH_TYPE, IDC_UNAUTO_CHECK, IDC_ADVANCED}) {
            ExpectTimesNewRoman8(page, id, "mode page control " + std::to_string(id));
        }
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(0, station.Show(op));
}

// A text missing from the language file leaves its caption empty.
TEST(SetupSheet, MissingTextsLeaveCaptionsEmpty) {
    Station station;
    for (const char* key :
         {"IDS_SETUP_UI_TITLE", "IDS_SETUP_UI_OK", "IDS_SETUP_UI_CANCEL", "IDS_SETUP_UI_IMPORT_SET",
          "IDS_SETUP_UI_EXPORT_SET", "IDS_SETUP_UI_SHEET_MODE"}) {
        station.RemoveText(key);
    }
    Operator op;
    QueueVisit(op, [](SheetDriver& s) {
        EXPECT_EQ("", s.Caption());
        for (int id : {IDOK, IDCANCEL, IDC_IMPORT_SET, IDC_EXPORT_SET}) {
            EXPECT_EQ("", s.Text(id)) << id;
        }
        EXPECT_EQ("", s.TabTitle(0));
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(0, station.Show(op));
}

// OK at once saves the pages the operator did not touch: a job holding every
// mode key gets them back as they were, an empty job gets them all. (The
// other pages' sections are theirs to check.)
TEST(SetupSheet, OkAtOnceWritesTheModeKeys) {
    const struct {
        const char* name;
        std::string job;
        std::string expected;  // the mode page's sections after the visit
    } cases[] = {
        {"every key present", kFullJob,
         "[Setup]\r\nCTLType=2\r\nDrivingLevel=51\r\n"
         "[Flash]\r\nFlashIndex=1\r\nFlashName=FX29F64G08AMC\r\nUnAutoCheck=1\r\nFlashNum=2\r\n"
         "ChannelNum=1\r\nRWCycle=7\r\n"
         "[Sorting]\r\nScanMode=2\r\nFlashCheck=4\r\nECC=12\r\nReadAfterWroteAll=1\r\n"},
        {"empty job", "",
         "[Setup]\r\nCTLType=0\r\nDrivingLevel=0\r\n"
         "[Flash]\r\nFlashNum=1\r\nChannelNum=0\r\nRWCycle=5\r\nFlashIndex=0\r\n"
         "FlashName=FX29F08G08AAA\r\nUnAutoCheck=0\r\n"
         "[Sorting]\r\nScanMode=1\r\nFlashCheck=1\r\nECC=0\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Station station;
        station.WriteJob(c.job);
        Operator op;
        QueueVisit(op, [](SheetDriver& s) { s.Click(IDOK); });
        EXPECT_EQ(1, station.Show(op));
        const std::string job = station.ReadJob();
        EXPECT_EQ(c.expected,
                  Section(job, "Setup") + Section(job, "Flash") + Section(job, "Sorting"));
        EXPECT_EQ("[PASSWORD]\r\nREMEMBER_PWD=0\r\n", Section(job, "PASSWORD"));
        if (!c.job.empty()) {
            EXPECT_EQ("[Other]\r\nKey=Value\r\n", Section(job, "Other"));
            EXPECT_EQ(0u, job.find(c.job.substr(0, c.job.find("[Other]"))))
                << "the keys were written in place";
        }
    }
}

// The three ways out without saving: nothing the operator changed on the
// pages reaches the job file, and Show returns 0. Enter confirms as OK does.
TEST(SetupSheet, OnlyOkAndEnterConfirm) {
    const struct {
        const char* name;
        std::function<void(SheetDriver&)> end;
        int result;
    } cases[] = {
        {"Cancel", [](SheetDriver& s) { s.Click(IDCANCEL); }, 0},
        {"Escape", [](SheetDriver& s) { s.PressEscape(); }, 0},
        {"close box", [](SheetDriver& s) { s.CloseBox(); }, 0},
        {"Enter", [](SheetDriver& s) { s.PressEnter(); }, 1},
        {"OK", [](SheetDriver& s) { s.Click(IDOK); }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Station station;
        station.WriteJob(kFullJob);
        const std::string unchanged = std::string(kFullJob) + "[PASSWORD]\r\nREMEMBER_PWD=0\r\n";
        Operator op;
        QueueVisit(op, [&](SheetDriver& s) {
            s.Select(IDC_DRIVING_LEVEL, 8);
            s.Select(IDC_CONTROLLER, 4);
            c.end(s);
            EXPECT_FALSE(s.IsOpen());
        });
        EXPECT_EQ(c.result, station.Show(op));
        const std::string job = station.ReadJob();
        if (c.result == 0) {
            EXPECT_EQ(unchanged, job);
        } else {
            EXPECT_EQ("[Setup]\r\nCTLType=4\r\nDrivingLevel=136\r\n", Section(job, "Setup"));
        }
    }
}

// The station's data-transfer window hears of a confirmed sheet once, and of
// a cancelled one never; windows of another class or title hear nothing.
TEST(SetupSheet, StationWindowIsToldOnceAfterConfirm) {
    Station station;
    StationWindow transfer(SETUP_STATION_CLASS, SETUP_STATION_TITLE);
    StationWindow otherTitle(SETUP_STATION_CLASS, "Data Transfer");
    StationWindow otherClass("ZORVEK2", SETUP_STATION_TITLE);

    for (const char* how : {"Cancel", "close box"}) {
        Operator op;
        QueueVisit(op, [&](SheetDriver& s) {
            if (std::string(how) == "Cancel") {
                s.Click(IDCANCEL);
            } else {
                s.CloseBox();
            }
        });
        EXPECT_EQ(0, station.Show(op)) << how;
        EXPECT_TRUE(transfer.Received().empty()) << how;
    }

    Operator op;
    QueueVisit(op, [](SheetDriver& s) { s.Click(IDOK); });
    EXPECT_EQ(1, station.Show(op));
    // Spelled out, not SETUP_STATION_MESSAGE: the number stations are built against.
    EXPECT_EQ(std::vector<UINT>{1088}, transfer.Received());
    EXPECT_TRUE(otherTitle.Received().empty());
    EXPECT_TRUE(otherClass.Received().empty());
}
