// The colour list box on its own, on both window systems: its records (made
// by AddColorString, freed once each by FreeItem or with the window), the
// text and colours it keeps, how DrawItem paints an entry on a device
// context and leaves the context's colours, and MeasureItem.
#include <gtest/gtest.h>

#include <string>

#include "controls/ColorListBox.h"
#include "driver/operator.h"
#include "module/globals.h"
#include "framework/framework.h"
#include "pages/FlashIdDlg.h"
#include "resource.h"
#include "settings/JobSettings.h"
#include "unit/canvas_support.h"

using fwtest::Canvas;

namespace {

// The flash ID editor's template with only its ID list bound.
class CListHostDlg : public fw::CDialog {
public:
    CListHostDlg() : fw::CDialog(IDD_FLASH_ID) {}
    CColorListBox m_list;

protected:
    void DoDataExchange(fw::CDataExchange* pDX) override {
        fw::CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_FID_LIST, m_list);
    }
};

DRAWITEMSTRUCT DrawRequest(CColorListBox& list, int item, UINT state, HDC dc) {
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_LISTBOX;
    draw.CtlID = IDC_FID_LIST;
    draw.itemID = static_cast<UINT>(item);
    draw.itemAction = ODA_DRAWENTIRE;
    draw.itemState = state;
    draw.hwndItem = list.GetSafeHwnd();
    draw.hDC = dc;
    draw.rcItem = RECT{0, 0, 60, 20};
    draw.itemData = item >= 0 ? static_cast<ULONG_PTR>(list.GetItemData(item)) : 0;
    return draw;
}

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kCanvas = RGB(0, 128, 128);

}  // namespace

// Each record is made once and freed once: FreeItem frees it and leaves the
// entry without one (a second FreeItem does nothing), and the window's end
// frees all that remain. The entries after a deleted one move up with their
// texts and colours.
TEST(ColorListBox, EveryRecordIsFreedExactlyOnce) {
    const long created = ColorItem::Created();
    const long freed = ColorItem::Freed();
    CListHostDlg dlg;
    Operator op;
    op.OnDialog(IDD_FLASH_ID, [&](DialogDriver& d) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(i,
                      dlg.m_list.AddColorString("ID " + std::to_string(i), RGB(i, 0, 0), kWhite));
        }
        EXPECT_EQ(RGB(3, 0, 0), dlg.m_list.GetItemTextColor(3));
        dlg.m_list.FreeItem(1);
        EXPECT_EQ(1, ColorItem::Freed() - freed);
        EXPECT_EQ("", dlg.m_list.GetItemString(1)) << "the entry has no record now";
        dlg.m_list.FreeItem(1);
        EXPECT_EQ(1, ColorItem::Freed() - freed);
        dlg.m_list.DeleteString(1);
        EXPECT_EQ("ID 2", dlg.m_list.GetItemString(1));
        EXPECT_EQ(RGB(2, 0, 0), dlg.m_list.GetItemTextColor(1));
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(4, ColorItem::Created() - created);
    EXPECT_EQ(4, ColorItem::Freed() - freed);
}

// The editor's own run: what it adds and what it was opened with are all
// freed when it closes, after OK as after Cancel.
TEST(ColorListBox, TheEditorFreesEveryRecordItMade) {
    const CJobSettings saved = JobSettings;
    for (int result : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(result);
        JobSettings.CheckID.Num = 3;
        for (int i = 0; i < 3; ++i) {
            JobSettings.CheckID.FID[i] = "0x0" + std::to_string(i);
        }
        const long created = ColorItem::Created();
        const long freed = ColorItem::Freed();
        CFlashIdDlg dlg;
        Operator op;
        op.OnDialog(IDD_FLASH_ID, [&](DialogDriver& d) {
            d.Select(IDC_FID_LIST, 0);
            d.Click(IDC_FID_DELETE);
            d.Click(IDC_FID_ADD);
            d.Click(IDC_FID_ADD);
            d.Click(result);
        });
        EXPECT_EQ(result, dlg.DoModal());
        EXPECT_EQ(5, ColorItem::Created() - created);
        EXPECT_EQ(5, ColorItem::Freed() - freed);
    }
    JobSettings = saved;
}

// An entry fills its whole rectangle with its background colour, or with its
// text colour when selected, and nothing beyond it; the device context gets
// its colours back. A request for no entry, or for an entry without a
// record, draws nothing.
TEST(ColorListBox, DrawItemFillsTheEntryAndRestoresTheContext) {
    CListHostDlg dlg;
    Operator op;
    op.OnDialog(IDD_FLASH_ID, [&](DialogDriver& d) {
        dlg.m_list.AddColorString("0x98", kRed, kWhite);
        dlg.m_list.AddColorString("0x99", kRed, kWhite);
        dlg.m_list.FreeItem(1);
        const struct {
            const char* name;
            int item;
            UINT state;
            COLORREF fill;  // at the entry's left edge, where no text goes
        } cases[] = {
            {"entry", 0, 0, kWhite},
            {"selected entry", 0, ODS_SELECTED | ODS_FOCUS, kRed},
            {"no entry", -1, ODS_FOCUS, kCanvas},
            {"entry without a record", 1, ODS_SELECTED, kCanvas},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            Canvas canvas(60, 30, kCanvas);
            canvas.DC()->SetTextColor(RGB(1, 2, 3));
            canvas.DC()->SetBkColor(RGB(4, 5, 6));
            DRAWITEMSTRUCT draw = DrawRequest(dlg.m_list, c.item, c.state, *canvas.DC());
            dlg.m_list.DrawItem(&draw);
            for (int y : {0, 10, 19}) {
                for (int x : {0, 4}) {
                    EXPECT_EQ(c.fill, canvas.At(x, y)) << x << "," << y;
                }
            }
            EXPECT_EQ(c.fill, canvas.At(59, 19));
            EXPECT_EQ(kCanvas, canvas.At(0, 20)) << "below the entry";
            EXPECT_EQ(RGB(1, 2, 3), canvas.DC()->GetTextColor());
            EXPECT_EQ(RGB(4, 5, 6), canvas.DC()->GetBkColor());
        }
        d.Click(IDCANCEL);
    });
    dlg.DoModal();
}

// MeasureItem gives an entry the height of its text wrapped to the entry's
// width: one line for a short ID, several for a long one; an entry without a
// record keeps the height it was given.
TEST(ColorListBox, MeasureItemWrapsTheRecordsText) {
    CListHostDlg dlg;
    Operator op;
    op.OnDialog(IDD_FLASH_ID, [&](DialogDriver& d) {
        dlg.m_list.AddColorString("0x98", kRed, kWhite);
        std::string longText;
        for (int i = 0; i < 12; ++i) {
            longText += "0x98,0xDE,0x94 ";
        }
        dlg.m_list.AddColorString(longText, kRed, kWhite);
        dlg.m_list.AddColorString("0x97", kRed, kWhite);
        dlg.m_list.FreeItem(2);
        auto measure = [&](int item) {
            MEASUREITEMSTRUCT m{ODT_LISTBOX, IDC_FID_LIST, static_cast<UINT>(item), 0, 99, 0};
            dlg.m_list.MeasureItem(&m);
            return static_cast<int>(m.itemHeight);
        };
        const int oneLine = measure(0);
        EXPECT_GT(oneLine, 0);
        EXPECT_LT(oneLine, 99);
        EXPECT_GE(measure(1), 3 * oneLine);
        EXPECT_EQ(0, measure(1) % oneLine) << "whole lines";
        EXPECT_EQ(99, measure(2));
        EXPECT_EQ(99, measure(7)) << "no such entry";
        d.Click(IDCANCEL);
    });
    dlg.DoModal();
}
