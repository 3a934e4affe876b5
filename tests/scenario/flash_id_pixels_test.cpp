// The flash ID editor's list as it is painted: each ID in its colour on
// white, a selected one inverted, entries moving up when one is deleted, a
// long ID wrapped and cut to its entry, and an empty list that takes the
// focus. Pixels can be read natively only; elsewhere the tests are skipped
// (the scenarios of the editor check the same lists by their contents).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"
#include "framework/api.h"
#include "resource.h"
#include "scenario/bin_page_support.h"
#include "scenario/flash_check_support.h"

#if !defined(_WIN32)
#include "framework/headless/headless.h"
#endif

using namespace fctest;

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);

int ItemHeight(const DialogDriver& d) {
    return static_cast<int>(fw::api::SendMessage(d.Item(IDC_FID_LIST), LB_GETITEMHEIGHT, 0, 0));
}

// The colour of entry `row`'s fill, at its left edge where no text goes.
COLORREF RowFill(const DialogDriver& d, int row) {
    return d.Pixel(IDC_FID_LIST, 2, row * ItemHeight(d) + ItemHeight(d) / 2);
}

#if !defined(_WIN32)
// The texts drawn on the list since it last painted, last one last.
std::vector<fw::headless::DrawnText> Texts(const DialogDriver& d) {
    return fw::headless::DrawnTexts(d.Item(IDC_FID_LIST));
}
#endif

// A visit that opens the editor on these stored IDs and hands it to `look`.
void WithEditor(const std::vector<StoredId>& ids, Operator::DialogHandler look) {
    Station station;
    station.WriteJob("[CheckFlash]\r\nCheckFlashMode=1\r\n" + CheckIdSection(ids));
    Operator op;
    QueueFlashCheckVisit(op, [&](SheetDriver& s) {
        s.Check(IDC_CHECK_FLASH_ID);
        op.OnDialog(IDD_FLASH_ID, look);
        s.Click(IDC_ADD_MODIFY);
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(0, station.Show(op));
}

}  // namespace

// Red text on white; selected, white text on red.
TEST(FlashIdListPixels, AnIdIsItsColourOnWhiteAndInvertedWhenSelected) {
    if (!Operator::CanReadPixels()) {
        GTEST_SKIP() << "the window system keeps no painted pixels here";
    }
    WithEditor({{"0x98,0xDE,0x94,0x93,0x76,0x50", 0, static_cast<int>(kRed)}},
               [&](DialogDriver& d) {
                   EXPECT_EQ(kWhite, RowFill(d, 0));
#if !defined(_WIN32)
                   ASSERT_FALSE(Texts(d).empty());
                   EXPECT_EQ("0x98,0xDE,0x94,0x93,0x76,0x50", Texts(d).back().text);
                   EXPECT_EQ(kRed, Texts(d).back().color);
                   EXPECT_EQ(5, Texts(d).back().rect.left) << "five pixels in";
                   EXPECT_NE(0u, Texts(d).back().flags & DT_WORDBREAK);
#endif
                   d.Select(IDC_FID_LIST, 0);
                   EXPECT_EQ(kRed, RowFill(d, 0));
                   EXPECT_EQ(kWhite, RowFill(d, 1)) << "nothing below the entry";
#if !defined(_WIN32)
                   EXPECT_EQ(kWhite, Texts(d).back().color);
#endif
                   d.Click(IDCANCEL);
               });
}

// Entry 2 of 4 deleted: the later entries move up, each still in its own
// colour (a selected entry fills with its colour).
TEST(FlashIdListPixels, DeletingFromTheMiddleMovesTheLaterEntriesUp) {
    if (!Operator::CanReadPixels()) {
        GTEST_SKIP() << "the window system keeps no painted pixels here";
    }
    const COLORREF colors[] = {kRed, RGB(0, 160, 0), RGB(0, 0, 255), RGB(128, 0, 128)};
    std::vector<StoredId> ids;
    for (int i = 0; i < 4; ++i) {
        ids.push_back({"0x0" + std::to_string(i), 0, static_cast<int>(colors[i])});
    }
    WithEditor(ids, [&](DialogDriver& d) {
        d.Select(IDC_FID_LIST, 2);
        d.Click(IDC_FID_DELETE);
        const COLORREF expected[] = {colors[0], colors[1], colors[3]};
        for (int row = 0; row < 3; ++row) {
            d.Select(IDC_FID_LIST, row);
            EXPECT_EQ(expected[row], RowFill(d, row)) << row;
            for (int other = 0; other < 3; ++other) {
                if (other != row) {
                    EXPECT_EQ(kWhite, RowFill(d, other)) << row << " selected, row " << other;
                }
            }
        }
        EXPECT_EQ(kWhite, RowFill(d, 3)) << "the fourth row is empty now";
        d.Click(IDCANCEL);
    });
}

// A text longer than the entry is wide wraps at its blanks; what does not fit
// the entry's height is cut off: the text is drawn within the entry, and the
// selected entry's fill stops at its edge.
TEST(FlashIdListPixels, ALongIdIsWrappedAndCutToItsEntry) {
    if (!Operator::CanReadPixels()) {
        GTEST_SKIP() << "the window system keeps no painted pixels here";
    }
    std::string longId;
    for (int i = 0; i < 8; ++i) {
        longId += (i > 0 ? " " : "") + std::string("0x98,0xDE,0x94");
    }
    WithEditor({{longId, 0, static_cast<int>(kRed)}, {"0x01", 0, 0}}, [&](DialogDriver& d) {
        d.Select(IDC_FID_LIST, 0);
        const int height = ItemHeight(d);
        EXPECT_EQ(kRed, d.Pixel(IDC_FID_LIST, 2, height - 1));
        EXPECT_EQ(kWhite, d.Pixel(IDC_FID_LIST, 2, height));
#if !defined(_WIN32)
        bool found = false;
        for (const auto& text : Texts(d)) {
            if (text.text == longId) {
                found = true;
                EXPECT_EQ(5, text.rect.left);
                EXPECT_EQ(height, text.rect.bottom);
                EXPECT_EQ(0, text.rect.top);
                EXPECT_NE(0u, text.flags & DT_WORDBREAK);
                EXPECT_EQ(0u, text.flags & (DT_SINGLELINE | DT_NOCLIP));
            }
        }
        EXPECT_TRUE(found);
        // Wrapped, the text needs more than the entry's one line.
        RECT measured;
        fw::api::GetClientRect(d.Item(IDC_FID_LIST), &measured);
        measured.left = 5;
        HDC dc = fw::api::GetDC(d.Item(IDC_FID_LIST));
        fw::api::DrawText(dc, longId.c_str(), -1, &measured, DT_WORDBREAK | DT_CALCRECT);
        fw::api::ReleaseDC(d.Item(IDC_FID_LIST), dc);
        EXPECT_GT(measured.bottom, height);
#endif
        d.Click(IDCANCEL);
    });
}

// An empty list that gets the focus draws nothing: no entry, no focus
// rectangle.
TEST(FlashIdListPixels, AnEmptyListTakingTheFocusDrawsNothing) {
    if (!Operator::CanReadPixels()) {
        GTEST_SKIP() << "the window system keeps no painted pixels here";
    }
    WithEditor({}, [&](DialogDriver& d) {
        fw::api::SetFocus(d.Item(IDC_FID_LIST));
        EXPECT_EQ(IDC_FID_LIST, d.Focus());
        EXPECT_EQ(std::vector<std::string>{},
                  bintest::PixelsNotOf(d, IDC_FID_LIST, fw::api::GetSysColor(COLOR_WINDOW)));
#if !defined(_WIN32)
        EXPECT_TRUE(Texts(d).empty());
#endif
        d.Click(IDCANCEL);
    });
}
