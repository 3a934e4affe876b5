// The bin page's save: what OK writes into [BIN] and the U3 section for the
// stored settings and the operator's changes, compared section by section
// with the text expected; the threshold family chosen by the test case; the
// bin set switches forcing ShowBin off; colours picked in the colour dialog,
// and a cancelled sheet leaving the file as it was. The same scenarios run
// natively and, under Wine, against the real Setup.dll.
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
using sheettest::QueueVisit;
using sheettest::Section;
using sheettest::Value;

namespace {

const std::string kDefault = std::to_string(kDefaultColor);

// Answers the colour dialog, which opens with no colour chosen, with `color`.
Operator::ColorHandler Pick(COLORREF color) {
    return [color](ColorDialogSeen& c) {
        EXPECT_EQ(0u, c.initial) << "the dialog opens with no colour chosen";
        return ColorChoice::Pick(color);
    };
}

}  // namespace

// OK at once, the bin tab never opened: a job without bin sections gains
// [BIN] and one U3 section, named "U3BIN", holding every U3 and SSD key (the
// thresholds and colours too, written under the other spelling) with the
// load defaults; the default colour is the text 32768.
TEST(BinPage, OkAtOnceGivesAJobWithoutBinSectionsBinAndU3Bin) {
    Station station;
    station.WriteJob("[Other]\r\nKey=Value\r\n");
    Operator op;
    QueueVisit(op, [](SheetDriver& s) { s.Click(IDOK); });
    EXPECT_EQ(1, station.Show(op));

    const std::string job = station.ReadJob();
    EXPECT_EQ("[BIN]\r\n" + BinSave().Text(), Section(job, "BIN"));
    EXPECT_EQ("[U3BIN]\r\n" + U3Save().Text(), Section(job, "U3BIN"));
    EXPECT_EQ(1, SectionCount(job, "U3Bin")) << job;
    EXPECT_EQ("[Other]\r\nKey=Value\r\n", Section(job, "Other"));
}

// [Sorting] FlashCheck 3, 4 and 5 show and write the "BinBB" thresholds with
// unit "B"; the other test cases the "BinCap" ones with "M". The family not
// shown keeps what the file holds; an emptied edit is written empty.
TEST(BinPage, TheTestCaseChoosesTheThresholdFamily) {
    const struct {
        const char* flashCheck;  // as stored; nullptr: no key
        bool badBlocks;
    } cases[] = {{nullptr, false}, {"1", false}, {"2", false}, {"3", true},
                 {"4", true},      {"5", true},  {"6", false}};  // 6 loads as 1
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("FlashCheck ") + (c.flashCheck ? c.flashCheck : "missing"));
        Station station;
        const std::string sorting =
            c.flashCheck ? std::string("[Sorting]\r\nFlashCheck=") + c.flashCheck + "\r\n" : "";
        station.WriteJob(sorting +
                         "[BIN]\r\nBinCap1=111\r\nBinBB1=7\r\nBinCap2=222\r\nBinBB2=9\r\n"
                         "BinCap16=1600\r\nBinBB16=16\r\n");
        Operator op;
        QueueBinVisit(op, [&](SheetDriver& s) {
            const std::string unit = c.badBlocks ? "B" : "M";
            EXPECT_EQ(c.badBlocks ? "7" : "111", s.Text(Threshold(1)));
            EXPECT_EQ(c.badBlocks ? "9" : "222", s.Text(Threshold(2)));
            EXPECT_EQ(c.badBlocks ? "16" : "1600", s.Text(Threshold(16)));
            for (int n = 1; n <= kBins; ++n) {
                EXPECT_EQ(unit, s.Text(Unit(n))) << "bin " << n;
            }
            EXPECT_EQ("0", s.Text(Threshold(3)));
            s.Type(Threshold(2), "500");
            s.Type(Threshold(16), "");
            s.Click(IDOK);
        });
        EXPECT_EQ(1, station.Show(op));

        const std::string family = c.badBlocks ? "BinBB" : "BinCap";
        const std::string head =
            c.badBlocks ? "[BIN]\r\nBinCap1=111\r\nBinBB1=7\r\nBinCap2=222\r\nBinBB2=500\r\n"
                          "BinCap16=1600\r\nBinBB16=\r\n"
                        : "[BIN]\r\nBinCap1=111\r\nBinBB1=7\r\nBinCap2=500\r\nBinBB2=9\r\n"
                          "BinCap16=\r\nBinBB16=16\r\n";
        std::string rows = BinRows(family, 3, 15, All(13, "0"), All(13, kDefault));
        EXPECT_EQ(head + "ShowBin=0\r\nStandBin=0\r\nColorBin=0\r\n" + "BINCO1=" + kDefault +
                      "\r\nBINCO2=" + kDefault + "\r\n" + rows + "BINCO16=" + kDefault + "\r\n",
                  Section(station.ReadJob(), "BIN"));
    }
}

// Show U3 Bin or Show SSD Bin checked at save time writes [BIN] ShowBin 0,
// whatever Bin Check Enable shows (it stays checked, disabled). A U3 section
// spelled "U3Bin" keeps its spelling and receives every U3 key.
TEST(BinPage, ShowU3OrSsdBinForcesShowBinOff) {
    const struct {
        const char* name;
        int click;  // 0: none
        const char* showBin;
        U3Save u3;
    } cases[] = {
        {"neither", 0, "1", {}},
        {"Show U3 Bin", IDC_SHOW_U3_BIN, "0",
         [] {
             U3Save u3;
             u3.showU3 = "1";
             u3.showU2 = "1";
             u3.caps[0] = "64";
             return u3;
         }()},
        {"Show SSD Bin", IDC_SHOW_SSD_BIN, "0",
         [] {
             U3Save u3;
             u3.showSsd = "1";
             u3.showU2 = "1";
             u3.ssdCap = "64";
             return u3;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Station station;
        station.WriteJob("[BIN]\r\nShowBin=1\r\n[U3Bin]\r\nShowU3Bin=0\r\n");
        Operator op;
        QueueBinVisit(op, [&](SheetDriver& s) {
            EXPECT_TRUE(s.IsChecked(IDC_BIN_CHECK_ENABLE));
            if (c.click != 0) {
                s.Click(c.click);
                EXPECT_TRUE(s.IsChecked(IDC_BIN_CHECK_ENABLE));
                EXPECT_FALSE(s.IsEnabled(IDC_BIN_CHECK_ENABLE));
                s.Type(c.click == IDC_SHOW_U3_BIN ? U3Threshold(1) : IDC_SSD_BIN_THRESHOLD, "64");
            }
            s.Click(IDOK);
        });
        EXPECT_EQ(1, station.Show(op));

        const std::string job = station.ReadJob();
        BinSave bin;
        bin.showBin = c.showBin;
        EXPECT_EQ("[BIN]\r\n" + bin.Text(), Section(job, "BIN"));
        EXPECT_EQ("[U3Bin]\r\n" + c.u3.Text(), Section(job, "U3Bin"));
        EXPECT_EQ(1, SectionCount(job, "U3BIN")) << job;
    }
}

// [U3Bin] EnhanceCheck selects its item of Default, ON and OFF; a value whose
// low byte is above 2 selects Default. The item chosen is saved as its index.
TEST(BinPage, EnhanceCheckShowsAndSavesItsItem) {
    const struct {
        const char* stored;
        int shown;
        int choose;  // -1: leave it
        const char* saved;
    } cases[] = {
        {"0", 0, -1, "0"}, {"1", 1, -1, "1"},   {"2", 2, -1, "2"},
        {"7", 0, -1, "0"}, {"258", 2, -1, "2"},  // low byte 2
        {"3", 0, 2, "2"},  {"2", 2, 0, "0"},    {"0", 0, 1, "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("stored ") + c.stored + ", choose " + std::to_string(c.choose));
        Station station;
        station.SetText("IDS_SETUP_UI_DEFAULT", "Standard");
        station.WriteJob(std::string("[U3Bin]\r\nShowU3Bin=1\r\nEnhanceCheck=") + c.stored +
                         "\r\n");
        Operator op;
        QueueBinVisit(op, [&](SheetDriver& s) {
            EXPECT_EQ((std::vector<std::string>{"Standard", "ON", "OFF"}),
                      s.Items(IDC_ENHANCE_CHECK));
            EXPECT_EQ(c.shown, s.CurSel(IDC_ENHANCE_CHECK));
            if (c.choose >= 0) {
                s.Select(IDC_ENHANCE_CHECK, c.choose);
            }
            s.Click(IDOK);
        });
        EXPECT_EQ(1, station.Show(op));
        EXPECT_EQ(c.saved, Value(station.ReadJob(), "U3Bin", "EnhanceCheck"));
    }
}

// A colour picked on a swatch shows in it at once and is what OK saves; a
// cancelled colour dialog changes nothing. Picking the SSD colour leaves the
// background colour as it was, and picking the background colour leaves the
// SSD colour.
TEST(BinPage, PickedColoursAreSavedEachUnderItsOwnKey) {
    const COLORREF kBin3 = RGB(10, 20, 30), kU3Bin2 = RGB(200, 0, 100), kSsd = RGB(1, 2, 3),
                   kBackground = RGB(250, 240, 230);
    const struct {
        const char* name;
        bool background;  // the background swatch too
        std::string bgColor;
    } cases[] = {
        {"the SSD colour alone", false, "255"},
        {"and the background", true, std::to_string(kBackground)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Station station;
        station.WriteJob(
            "[BIN]\r\nColorBin=1\r\n"
            "[U3Bin]\r\nShowU3Bin=1\r\nShowU2Bin=1\r\nU3ColorBin=1\r\nSetU3BinBgColor=1\r\n"
            "U3BinBgColor=255\r\n");
        Operator op;
        QueueBinVisit(op, [&](SheetDriver& s) {
            op.OnColorDialog(Pick(kBin3));
            s.Click(Swatch(3));
            op.OnColorDialog([](ColorDialogSeen&) { return ColorChoice::Cancel(); });
            s.Click(Swatch(4));
            op.OnColorDialog(Pick(kU3Bin2));
            s.Click(U3Swatch(2));
            op.OnColorDialog(Pick(kSsd));
            s.Click(IDC_SSD_BIN_SWATCH);
            if (c.background) {
                op.OnColorDialog(Pick(kBackground));
                s.Click(IDC_BG_SWATCH);
            }
            if (Operator::PixelChecksRun()) {
                DialogDriver page = s.Page();
                EXPECT_EQ(kBin3, page.Pixel(Swatch(3), 17, 11));
                EXPECT_EQ(RGB(0, 128, 0), page.Pixel(Swatch(4), 17, 11));
                EXPECT_EQ(kU3Bin2, page.Pixel(U3Swatch(2), 0, 0));
                EXPECT_EQ(kSsd, page.Pixel(IDC_SSD_BIN_SWATCH, 9, 6));
                EXPECT_EQ(c.background ? kBackground : RGB(255, 0, 0),
                          page.Pixel(IDC_BG_SWATCH, 9, 6));
            }
            s.Click(IDOK);
        });
        EXPECT_EQ(1, station.Show(op));

        const std::string job = station.ReadJob();
        BinSave bin;
        bin.colors[2] = std::to_string(kBin3);
        EXPECT_EQ("[BIN]\r\nColorBin=1\r\nShowBin=0\r\nStandBin=0\r\n" +
                      BinRows("BinCap", 1, kBins, bin.thresholds, bin.colors),
                  Section(job, "BIN"));
        // The flags stored first keep their places; the rest follow in the
        // order written.
        std::vector<std::string> u3Colors = All(kU3Bins, kDefault);
        u3Colors[1] = std::to_string(kU3Bin2);
        std::string expected =
            "[U3Bin]\r\nShowU3Bin=1\r\nShowU2Bin=1\r\nU3ColorBin=1\r\n"
            "SetU3BinBgColor=1\r\nU3BinBgColor=" +
            c.bgColor + "\r\nShowSSDBin=0\r\nEnhanceCheck=0\r\n";
        for (int k = 1; k <= kU3Bins; ++k) {
            expected += Line("U3BinCap" + std::to_string(k), "0") +
                        Line("U3BinCo" + std::to_string(k), u3Colors[static_cast<size_t>(k - 1)]);
        }
        expected += Line("SSDBinCap1", "0") + Line("SSDBinCo1", std::to_string(kSsd));
        EXPECT_EQ(expected, Section(job, "U3Bin"));
    }
}

// Colours picked go into the settings at once, but only a confirmed sheet
// writes them: after Cancel the file is as it was, and the next visit shows
// and saves the file's colour again.
TEST(BinPage, ColourPickedThenCancelledLeavesTheFile) {
    Station station;
    station.WriteJob("[BIN]\r\nColorBin=1\r\nBINCO5=255\r\n[U3Bin]\r\nShowU3Bin=1\r\n");
    std::string before;
    {
        Operator op;
        QueueBinVisit(op, [&](SheetDriver& s) {
            before = station.ReadJob();  // after the password step's own write
            op.OnColorDialog(Pick(RGB(0, 0, 255)));
            s.Click(Swatch(5));
            s.Type(U3Threshold(1), "77");
            s.Click(IDCANCEL);
        });
        EXPECT_EQ(0, station.Show(op));
        EXPECT_EQ(before, station.ReadJob());
    }

    Operator again;
    QueueBinVisit(again, [&](SheetDriver& s) {
        if (Operator::PixelChecksRun()) {
            EXPECT_EQ(RGB(255, 0, 0), s.Page().Pixel(Swatch(5), 0, 0)) << "the file's colour";
        }
        s.Click(IDOK);
    });
    EXPECT_EQ(1, station.Show(again));
    ExpectKeys(station.ReadJob(), {{"BIN", "BINCO5", "255"}, {"U3Bin", "U3BinCap1", "0"}});
}
