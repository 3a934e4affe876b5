// The bin page as the operator sees it: captions and labels, which controls
// the stored switches enable and which swatches they show, what each check
// box then changes, and every swatch painted in its colour. The same
// scenarios run natively and, under Wine, against the real Setup.dll.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"
#include "resource.h"
#include "scenario/bin_page_support.h"
#include "scenario/sheet_support.h"

using namespace bintest;
using sheettest::ExpectKeys;
using sheettest::Value;

// The captions of the language keys replace the template's, except Show U3
// Bin and Show SSD Bin; the standard bin labels count from 1, or from 0 with
// [BIN] Grade0Base, while the keys always count from 1; the U3 labels stay.
TEST(BinPage, CaptionsAndLabels) {
    for (const char* grade0 : {"0", "1"}) {
        SCOPED_TRACE(std::string("Grade0Base ") + grade0);
        Station station;
        const std::vector<std::pair<int, std::string>> captions = {
            {IDC_BIN_CHECK_ENABLE, "IDS_SETUP_UI_BIN_CHECK_ENABLE"},
            {IDC_COLOR_VERIFY, "IDS_SETUP_UI_COLOR_CHECK_ENABLE"},
            {IDC_U3_COLOR_VERIFY, "IDS_SETUP_UI_COLOR_CHECK_ENABLE"},
            {IDC_STAND_BIN, "IDS_SETUP_UI_STAND_BIN"},
            {IDC_SHOW_U2_BIN, "IDS_SETUP_UI_SHOW_U2_BIN"},
            {IDC_ENHANCE_CHECK_LABEL, "IDS_SETUP_UI_ENHANCE_CHECK"},
            {IDC_SET_BG_COLOR, "IDS_SETUP_UI_SET_U3_BGCOLOR"},
        };
        for (const auto& caption : captions) {
            station.SetText(caption.second, "Text of " + caption.second);
        }
        station.WriteJob(std::string("[BIN]\r\nGrade0Base=") + grade0 + "\r\n");
        const int first = grade0[0] == '1' ? 0 : 1;
        Operator op;
        QueueBinVisit(op, [&](SheetDriver& s) {
            for (const auto& caption : captions) {
                EXPECT_EQ("Text of " + caption.second, s.Text(caption.first));
            }
            EXPECT_EQ("Show U3 Bin", s.Text(IDC_SHOW_U3_BIN));
            EXPECT_EQ("Show SSD Bin", s.Text(IDC_SHOW_SSD_BIN));
            for (int n = 1; n <= kBins; ++n) {
                EXPECT_EQ("Bin " + std::to_string(first + n - 1), s.Text(Label(n)));
            }
            for (int k = 1; k <= kU3Bins; ++k) {
                EXPECT_EQ("Bin " + std::to_string(k), s.Text(IDC_U3_BIN_LABEL1 + k - 1));
            }
            s.Type(Threshold(1), "42");  // labelled Bin 0 or Bin 1
            s.Click(IDOK);
        });
        EXPECT_EQ(1, station.Show(op));
        ExpectKeys(station.ReadJob(), {{"BIN", "BinCap1", "42"},
                                       {"BIN", "Grade0Base", grade0, "not the page's to write"},
                                       {"BIN", "BinCap0", "(none)"}});
    }
}

// The stored switches decide what the page opens with: Stan Bin locks the
// standard thresholds; Show U3 Bin or Show SSD Bin locks the standard bins and
// opens the shared U3 options, U3 bins 1 and 2 and the SSD threshold; the
// colour boxes show the swatches (only U3 bins 1 and 2 of the U3 ones). The
// second SSD row stays disabled whatever is stored.
TEST(BinPage, StoredSwitchesDecideWhatOpensEnabledAndShown) {
    const struct {
        const char* name;
        std::string job;
        const char* states;
    } cases[] = {
        {"nothing on", "", kAllOff},
        {"Stan Bin", "[BIN]\r\nStandBin=1\r\n", kStandBin},
        {"Show U3 Bin", "[U3Bin]\r\nShowU3Bin=1\r\n", kU3OrSsd},
        {"Show SSD Bin", "[U3Bin]\r\nShowSSDBin=1\r\n", kU3OrSsd},
        {"Show U3 Bin, flag in the high byte only", "[U3Bin]\r\nShowU3Bin=256\r\n", kAllOff},
        {"colour boxes", "[BIN]\r\nColorBin=1\r\n[U3Bin]\r\nU3ColorBin=1\r\nSetU3BinBgColor=1\r\n",
         kSwatchesShown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Station station;
        station.WriteJob(c.job);
        Operator op;
        QueueBinVisit(op, [&](SheetDriver& s) {
            EXPECT_EQ(c.states, States(s));
            for (int id : {IDC_SSD_BIN2_LABEL, IDC_SSD_BIN2_THRESHOLD, IDC_SSD_BIN2_UNIT}) {
                EXPECT_FALSE(s.IsEnabled(id)) << id;
            }
            s.Click(IDCANCEL);
        });
        EXPECT_EQ(0, station.Show(op));
    }
}

// Show U3 Bin checked locks the standard bins and checks Show U2 Bin;
// unchecked, it unchecks and disables Show U2 Bin and the shared options and
// frees Bin Check Enable, Stan Bin and Color Verfy, but the standard
// thresholds stay locked until Stan Bin is clicked.
TEST(BinPage, ShowU3BinOnAndOffThenStanBinFreesTheThresholds) {
    Station station;
    Operator op;
    QueueBinVisit(op, [&](SheetDriver& s) {
        EXPECT_FALSE(s.IsChecked(IDC_SHOW_U2_BIN));
        s.Click(IDC_SHOW_U3_BIN);
        EXPECT_TRUE(s.IsChecked(IDC_SHOW_U2_BIN));
        EXPECT_EQ(
            "thresholds off, bin check off, stan/colour off, shared on, u3 1-2 on, u3 3-8 off, "
            "ssd off | swatches off, u3 1-2 off, u3 3-8 off, ssd off, bg off",
            States(s));

        s.Click(IDC_SHOW_U3_BIN);
        EXPECT_FALSE(s.IsChecked(IDC_SHOW_U2_BIN));
        EXPECT_EQ(
            "thresholds off, bin check on, stan/colour on, shared off, u3 1-2 off, u3 3-8 off, "
            "ssd off | swatches off, u3 1-2 off, u3 3-8 off, ssd off, bg off",
            States(s));

        s.Click(IDC_STAND_BIN);
        EXPECT_EQ(kStandBin, States(s));
        s.Click(IDC_STAND_BIN);
        EXPECT_EQ(kAllOff, States(s));
        s.Type(Threshold(7), "700");
        s.Click(IDOK);
    });
    EXPECT_EQ(1, station.Show(op));
    const std::string job = station.ReadJob();
    ExpectKeys(
        job, {{"BIN", "BinCap7", "700"}, {"U3BIN", "ShowU3Bin", "0"}, {"U3BIN", "ShowU2Bin", "0"}});
}

// Show U3 Bin and Show SSD Bin act on their own: unchecking Show SSD Bin
// turns the shared options off although Show U3 Bin is still checked.
TEST(BinPage, ShowSsdBinOffTurnsTheSharedOptionsOffWhateverShowU3BinSays) {
    Station station;
    Operator op;
    QueueBinVisit(op, [&](SheetDriver& s) {
        s.Click(IDC_SHOW_U3_BIN);
        s.Click(IDC_SHOW_SSD_BIN);
        EXPECT_EQ(kU3OrSsd, States(s));
        s.Type(IDC_SSD_BIN_THRESHOLD, "32");

        s.Click(IDC_SHOW_SSD_BIN);
        EXPECT_TRUE(s.IsChecked(IDC_SHOW_U3_BIN));
        EXPECT_FALSE(s.IsChecked(IDC_SHOW_U2_BIN));
        EXPECT_EQ(
            "thresholds off, bin check on, stan/colour on, shared off, u3 1-2 on, u3 3-8 off, "
            "ssd off | swatches off, u3 1-2 off, u3 3-8 off, ssd off, bg off",
            States(s));
        s.Click(IDOK);
    });
    EXPECT_EQ(1, station.Show(op));
    ExpectKeys(station.ReadJob(), {{"BIN", "ShowBin", "0", "Show U3 Bin is still checked"},
                                   {"U3BIN", "ShowU3Bin", "1"},
                                   {"U3BIN", "ShowSSDBin", "0"},
                                   {"U3BIN", "SSDBinCap1", "32", "one section for all"}});
}

// Color Verfy shows and hides the 16 standard swatches; the U3 Color Verfy
// box U3 swatches 1 and 2 and the SSD swatch (never U3 swatches 3 to 8); Set
// bgColor the background swatch.
TEST(BinPage, ColourBoxesShowAndHideTheirSwatches) {
    Station station;
    station.WriteJob("[U3Bin]\r\nShowU3Bin=1\r\n");
    Operator op;
    QueueBinVisit(op, [&](SheetDriver& s) {
        s.Click(IDC_U3_COLOR_VERIFY);
        s.Click(IDC_SET_BG_COLOR);
        EXPECT_EQ(
            "thresholds off, bin check off, stan/colour off, shared on, u3 1-2 on, u3 3-8 off, "
            "ssd on | swatches off, u3 1-2 on, u3 3-8 off, ssd on, bg on",
            States(s));
        s.Click(IDC_U3_COLOR_VERIFY);
        s.Click(IDC_SET_BG_COLOR);
        EXPECT_EQ(kU3OrSsd, States(s));

        // Color Verfy is locked while U3 bins are shown.
        s.Click(IDC_SHOW_U3_BIN);
        s.Click(IDC_COLOR_VERIFY);
        EXPECT_EQ(
            "thresholds off, bin check on, stan/colour on, shared off, u3 1-2 off, u3 3-8 off, "
            "ssd on | swatches on, u3 1-2 off, u3 3-8 off, ssd off, bg off",
            States(s));
        s.Click(IDOK);
    });
    EXPECT_EQ(1, station.Show(op));
    ExpectKeys(station.ReadJob(), {{"BIN", "ColorBin", "1"},
                                   {"U3Bin", "U3ColorBin", "0"},
                                   {"U3Bin", "SetU3BinBgColor", "0"}});
}

// Each swatch takes the size of the template's 18 by 12 bitmap and is its
// colour to the last pixel: nothing of the bitmap shows.
TEST(BinPage, EverySwatchIsItsColourToTheLastPixel) {
    auto binColor = [](int n) { return RGB(n * 15, 255 - n * 15, n * 7); };
    auto u3Color = [](int k) { return RGB(k * 30, k * 3, 200 - k * 20); };
    const COLORREF kSsd = RGB(17, 34, 51), kBackground = RGB(240, 250, 255);
    std::string job = "[BIN]\r\nColorBin=1\r\n";
    for (int n = 1; n <= kBins; ++n) {
        job += Line("BINCO" + std::to_string(n), std::to_string(binColor(n)));
    }
    job += "[U3Bin]\r\nU3ColorBin=1\r\nSetU3BinBgColor=1\r\n";
    for (int k = 1; k <= kU3Bins; ++k) {
        job += Line("U3BinCo" + std::to_string(k), std::to_string(u3Color(k)));
    }
    job +=
        Line("SSDBinCo1", std::to_string(kSsd)) + Line("U3BinBgColor", std::to_string(kBackground));

    Station station;
    station.WriteJob(job);
    Operator op;
    QueueBinVisit(op, [&](SheetDriver& s) {
        const DialogDriver page = s.Page();
        std::vector<std::pair<int, COLORREF>> swatches;
        for (int n = 1; n <= kBins; ++n) {
            swatches.emplace_back(Swatch(n), binColor(n));
        }
        swatches.emplace_back(U3Swatch(1), u3Color(1));
        swatches.emplace_back(U3Swatch(2), u3Color(2));
        swatches.emplace_back(IDC_SSD_BIN_SWATCH, kSsd);
        swatches.emplace_back(IDC_BG_SWATCH, kBackground);
        for (const auto& swatch : swatches) {
            SCOPED_TRACE("swatch " + std::to_string(swatch.first));
            EXPECT_TRUE(page.IsVisible(swatch.first));
            const RECT rect = page.Rect(swatch.first);
            EXPECT_EQ(18, rect.right - rect.left);
            EXPECT_EQ(12, rect.bottom - rect.top);
            if (Operator::PixelChecksRun()) {
                EXPECT_EQ(std::vector<std::string>{},
                          PixelsNotOf(page, swatch.first, swatch.second));
            }
        }
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(0, station.Show(op));
}
