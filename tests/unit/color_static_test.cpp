// The label control on a test dialog, on both window systems: swatches and
// gradients to the pixel (where the window system keeps painted pixels; the
// gradient also on a memory surface everywhere), blinking and the shared
// colour cycle on the clock, clicks, fonts read at attach time and rebuilt by
// the setters, and the styles the setters switch.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "driver/operator.h"
#include "framework/api.h"
#include "framework/framework.h"
#include "unit/canvas_support.h"
#include "unit/color_static_support.h"

using namespace cstest;
using fwtest::Canvas;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

COLORREF BrushColor(HGDIOBJ brush) {
    LOGBRUSH info{};
    fw::api::GetObject(brush, sizeof(info), &info);
    return info.lbColor;
}

// Every pixel of the control's client area that differs from `color`.
std::vector<std::string> PixelsNotOf(const DialogDriver& d, int id, COLORREF color) {
    RECT client;
    fw::api::GetClientRect(d.Item(id), &client);
    std::vector<std::string> wrong;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            COLORREF seen = d.Pixel(id, x, y);
            if (seen != color) {
                wrong.push_back(std::to_string(x) + "," + std::to_string(y) + "=" +
                                std::to_string(seen));
            }
        }
    }
    return wrong;
}

}  // namespace

TEST(ColorStatic, SwatchIsItsColourToTheLastPixelAndANewColourReplacesTheBrush) {
    WithLabels([&](CLabelDlg& dlg, DialogDriver& d) {
        RECT swatch = d.Rect(kSwatch);
        EXPECT_EQ(18, swatch.right - swatch.left) << "the bitmap gives the swatch its size";
        EXPECT_EQ(12, swatch.bottom - swatch.top);

        CProbeStatic& label = dlg.Label(kSwatch);
        EXPECT_EQ(nullptr, label.BackBrush()) << "no colour before the first SetBackColor";
        label.SetBackColor(RGB(12, 180, 60));
        EXPECT_EQ(RGB(12, 180, 60), BrushColor(label.BackBrush()));
        if (Operator::PixelChecksRun()) {
            EXPECT_EQ(std::vector<std::string>{}, PixelsNotOf(d, kSwatch, RGB(12, 180, 60)));
        }

        label.SetBackColor(RGB(200, 10, 10)).SetBackColor(RGB(1, 2, 3));
        EXPECT_EQ(RGB(1, 2, 3), BrushColor(label.BackBrush())) << "the last colour's brush";
        if (Operator::PixelChecksRun()) {
            EXPECT_EQ(std::vector<std::string>{}, PixelsNotOf(d, kSwatch, RGB(1, 2, 3)));
        }

        label.SetBackColor(kRed, kBlue, TRUE);
        EXPECT_EQ(nullptr, label.BackBrush()) << "a gradient keeps no solid brush";
    });
}

TEST(ColorStatic, GradientBandsOnAMemorySurface) {
    struct Probe {
        int x;
        COLORREF color;
    };
    struct Case {
        RECT rect;
        COLORREF start;
        COLORREF end;
        std::vector<Probe> probes;  // in the rectangle's top and bottom rows
        const char* what;
    };
    const Case cases[] = {
        {{0, 0, 40, 6},
         kRed,
         kBlue,
         {{0, RGB(255, 0, 0)},
          {1, RGB(248, 0, 6)},
          {2, RGB(242, 0, 12)},
          {19, RGB(133, 0, 121)},
          {20, RGB(127, 0, 127)},
          {38, RGB(12, 0, 242)},
          {39, RGB(6, 0, 248)}},
         "40 pixels: 40 bands of one pixel"},
        {{0, 0, 300, 6},
         kRed,
         kBlue,
         {{0, RGB(255, 0, 0)},
          {2, RGB(255, 0, 0)},
          {3, RGB(252, 0, 2)},
          {149, RGB(130, 0, 124)},
          {150, RGB(127, 0, 127)},
          {296, RGB(5, 0, 249)},
          {297, RGB(2, 0, 252)},
          {299, RGB(2, 0, 252)}},
         "300 pixels: 100 bands of three"},
        {{0, 0, 250, 6},
         kRed,
         kBlue,
         {{197, RGB(5, 0, 249)}, {198, RGB(2, 0, 252)}, {249, RGB(2, 0, 252)}},
         "250 pixels: bands of two, the last one runs to the right edge"},
        {{0, 0, 300, 6},
         RGB(10, 20, 200),
         RGB(250, 120, 40),
         {{0, RGB(10, 20, 200)},
          {3, RGB(12, 21, 198)},
          {150, RGB(129, 70, 120)},
          {299, RGB(247, 119, 41)}},
         "channels rising and falling, steps truncated toward zero"},
        {{5, 2, 45, 6},
         RGB(10, 20, 200),
         RGB(250, 120, 40),
         {{4, RGB(255, 255, 255)},
          {5, RGB(10, 20, 200)},
          {6, RGB(16, 22, 196)},
          {44, RGB(244, 117, 44)},
          {45, RGB(255, 255, 255)}},
         "bands start at the rectangle's left and stop at its right"},
        {{0, 0, 1, 6}, kRed, kBlue, {{0, kRed}, {1, RGB(255, 255, 255)}}, "one pixel: one band"},
        {{3, 0, 3, 6}, kRed, kBlue, {{3, RGB(255, 255, 255)}}, "no width: no bands"},
    };
    CProbeStatic label;  // FillGradient needs no window
    for (const Case& c : cases) {
        Canvas canvas(320, 10);
        label.FillGradient(canvas.DC(), &c.rect, c.start, c.end, 100);
        for (const Probe& p : c.probes) {
            EXPECT_EQ(p.color, canvas.At(p.x, c.rect.top)) << c.what << ": x " << p.x;
            EXPECT_EQ(p.color, canvas.At(p.x, c.rect.bottom - 1))
                << c.what << ": x " << p.x << " in the bottom row";
        }
        EXPECT_EQ(RGB(255, 255, 255), canvas.At(c.rect.left, c.rect.bottom))
            << c.what << ": nothing below the rectangle";
    }
}

TEST(ColorStatic, GradientLabelsShowTheirBandsTo40And300Pixels) {
    WithLabels([&](CLabelDlg& dlg, DialogDriver& d) {
        dlg.Label(kNarrow).SetBackColor(kRed, kBlue, TRUE);
        dlg.Label(kWide).SetBackColor(kRed, kBlue, TRUE);
        RECT narrow = d.Rect(kNarrow);
        RECT wide = d.Rect(kWide);
        EXPECT_EQ(40, narrow.right - narrow.left);
        EXPECT_EQ(300, wide.right - wide.left);
        if (Operator::PixelChecksRun()) {
            for (int y : {0, 9}) {
                EXPECT_EQ(RGB(255, 0, 0), d.Pixel(kNarrow, 0, y));
                EXPECT_EQ(RGB(248, 0, 6), d.Pixel(kNarrow, 1, y));
                EXPECT_EQ(RGB(6, 0, 248), d.Pixel(kNarrow, 39, y)) << "the last band, row " << y;
                EXPECT_EQ(RGB(255, 0, 0), d.Pixel(kWide, 2, y));
                EXPECT_EQ(RGB(252, 0, 2), d.Pixel(kWide, 3, y));
                EXPECT_EQ(RGB(5, 0, 249), d.Pixel(kWide, 296, y));
                EXPECT_EQ(RGB(2, 0, 252), d.Pixel(kWide, 299, y)) << "the last band, row " << y;
            }
        }
    });
}

// Timer checks fall half a period after a tick, so that a window system with
// a real clock gives the same answers as the virtual one.
TEST(ColorStatic, ColourCycleRunsRedGreenBlueRedAndStopsWithoutLeavingCycleMode) {
    WithLabels([&](CLabelDlg& dlg, DialogDriver& d) {
        CProbeStatic& label = dlg.Label(kText);
        const COLORREF initial = label.TextColor();
        EXPECT_EQ(fw::GetSysColor(COLOR_WINDOWTEXT), initial);
        CProbeStatic::RestartCycle();
        label.CycleColors(TRUE);
        d.Wait(500);
        EXPECT_EQ(initial, label.TextColor()) << "the first step comes after a second";
        std::vector<COLORREF> seen;
        for (int i = 0; i < 4; ++i) {
            d.Wait(1000);
            seen.push_back(label.TextColor());
        }
        EXPECT_EQ((std::vector<COLORREF>{kRed, kGreen, kBlue, kRed}), seen);

        label.CycleColors(FALSE);
        EXPECT_FALSE(label.Cycling()) << "switching off leaves cycle mode";
        EXPECT_EQ(0, label.FlashKind());
        d.Wait(2000);
        EXPECT_EQ(kRed, label.TextColor()) << "the timer is stopped";

        label.FlashText(TRUE);
        EXPECT_FALSE(label.FlashPhase()) << "blinking starts in the hidden phase";
        d.Wait(750);
        EXPECT_TRUE(label.FlashPhase());
        d.Wait(500);
        EXPECT_FALSE(label.FlashPhase());
        EXPECT_EQ(kRed, label.TextColor()) << "FlashText after the cycle only blinks";
        label.FlashText(FALSE);
    });
}

TEST(ColorStatic, CyclingLabelsShareOneCycle) {
    WithLabels([&](CLabelDlg& dlg, DialogDriver& d) {
        CProbeStatic::RestartCycle();
        dlg.Label(kText).CycleColors(TRUE);
        dlg.Label(kCentered).CycleColors(TRUE);
        d.Wait(1500);
        COLORREF a = dlg.Label(kText).TextColor();
        COLORREF b = dlg.Label(kCentered).TextColor();
        EXPECT_TRUE((a == kRed && b == kGreen) || (a == kGreen && b == kRed))
            << "one step each, of one cycle: " << a << " and " << b;
        dlg.Label(kText).CycleColors(FALSE);
        dlg.Label(kCentered).CycleColors(FALSE);
    });
}

TEST(ColorStatic, BlinkingBackgroundAlternatesWithTheFaceColour) {
    WithLabels([&](CLabelDlg& dlg, DialogDriver& d) {
        const COLORREF face = fw::GetSysColor(COLOR_BTNFACE);
        CProbeStatic& label = dlg.Label(kSwatch);
        label.SetBackColor(RGB(0, 128, 0)).FlashBackground(TRUE);
        EXPECT_EQ(2, label.FlashKind());
        d.Wait(750);
        if (Operator::PixelChecksRun()) {
            EXPECT_EQ(std::vector<std::string>{}, PixelsNotOf(d, kSwatch, RGB(0, 128, 0)));
        }
        d.Wait(500);
        if (Operator::PixelChecksRun()) {
            EXPECT_EQ(std::vector<std::string>{}, PixelsNotOf(d, kSwatch, face));
        }
        label.FlashBackground(FALSE);
        EXPECT_EQ(0, label.FlashKind());
        label.SetForeColor(RGB(0, 0, 0));  // any redraw
        if (Operator::PixelChecksRun()) {
            EXPECT_EQ(std::vector<std::string>{}, PixelsNotOf(d, kSwatch, RGB(0, 128, 0)))
                << "switched off, the background keeps its own colour";
        }
    });
}

TEST(ColorStatic, ClicksNotifyTheParentAndDoubleClicksAreSwallowed) {
    WithLabels([&](CLabelDlg& dlg, DialogDriver& d) {
        // The bin page's path: a notifying swatch reports the click as any static.
        d.Click(kSwatch);
        EXPECT_EQ(std::vector<UINT>{kSwatch}, dlg.m_clicked);
        EXPECT_TRUE(dlg.m_notified.empty()) << "no notification of its own without a link";

        dlg.m_clicked.clear();
        CProbeStatic& link = dlg.Label(kLink);
        EXPECT_EQ(0, d.Style(kLink) & SS_NOTIFY);
        link.SetLink(TRUE, TRUE);
        EXPECT_EQ(SS_NOTIFY, d.Style(kLink) & SS_NOTIFY) << "a link takes the clicks";
        d.Click(kLink);
        ASSERT_EQ(1u, dlg.m_notified.size());
        EXPECT_EQ(d.Item(kLink), dlg.m_notified[0].hwndFrom);
        EXPECT_EQ(static_cast<UINT_PTR>(kLink), dlg.m_notified[0].idFrom);
        EXPECT_EQ(0x8200u, dlg.m_notified[0].code);
        EXPECT_EQ(std::vector<UINT>{kLink}, dlg.m_clicked) << "the static's own notification too";

        link.SetMailLink(FALSE, TRUE);
        EXPECT_EQ(0, d.Style(kLink) & SS_NOTIFY) << "no link: the clicks pass through";
        dlg.m_notified.clear();
        d.Click(kLink);
        EXPECT_TRUE(dlg.m_notified.empty());

        fw::api::SendMessage(d.Item(kSwatch), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
        fw::api::SendMessage(d.Item(kPlain), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
        EXPECT_EQ(std::vector<UINT>{kPlain}, dlg.m_dblClicked)
            << "a plain notifying static reports a double click; the label swallows it";
    });
}

TEST(ColorStatic, LinkCursorIsShownOverTheLabel) {
    WithLabels([&](CLabelDlg& dlg, DialogDriver& d) {
        HCURSOR hand = fw::LoadStandardCursor(IDC_HAND);
        HCURSOR arrow = fw::LoadStandardCursor(IDC_ARROW);
        ASSERT_NE(nullptr, hand);
        dlg.Label(kLink).SetLink(TRUE, FALSE).SetLinkCursor(hand);
        fw::SetCursor(arrow);
        EXPECT_EQ(TRUE, fw::api::SendMessage(d.Item(kLink), WM_SETCURSOR,
                                             reinterpret_cast<WPARAM>(d.Item(kLink)),
                                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(hand, fw::SetCursor(arrow)) << "the label made its cursor current";
    });
}

TEST(ColorStatic, AttachReadsTheWindowFontAndTheSettersRebuildIt) {
    WithLabels([&](CLabelDlg& dlg, DialogDriver& d) {
        CProbeStatic& label = dlg.Label(kText);
        FontSeen dialogFont = d.Font(kText);
        EXPECT_EQ(dialogFont.face, std::string(label.LogFont().lfFaceName));
        EXPECT_EQ(dialogFont.height, label.LogFont().lfHeight);
        EXPECT_EQ(dialogFont.face, std::string(label.FontInUse().lfFaceName))
            << "the label's own font is made from it";

        label.SetBold(TRUE).SetItalic(TRUE).SetUnderline(TRUE);
        EXPECT_EQ(FW_BOLD, label.FontInUse().lfWeight);
        EXPECT_EQ(1, label.FontInUse().lfItalic);
        EXPECT_EQ(1, label.FontInUse().lfUnderline);
        label.SetBold(FALSE).SetItalic(FALSE).SetUnderline(FALSE);
        EXPECT_EQ(FW_NORMAL, label.FontInUse().lfWeight);
        EXPECT_EQ(0, label.FontInUse().lfItalic);
        EXPECT_EQ(0, label.FontInUse().lfUnderline);

        label.SetFaceName("Arial", ANSI_CHARSET).SetPointSize(12);
        EXPECT_STREQ("Arial", label.FontInUse().lfFaceName);
        EXPECT_EQ(ANSI_CHARSET, label.FontInUse().lfCharSet);
        EXPECT_EQ(-16, label.FontInUse().lfHeight) << "12 points at 96 pixels per inch";
        label.SetFaceName(std::string(40, 'F'));
        EXPECT_EQ(std::string(31, 'F'), label.LogFont().lfFaceName) << "LOGFONT keeps 31";

        label.SetRotation(90, TRUE);
        EXPECT_EQ(900, label.FontInUse().lfEscapement);
        EXPECT_EQ(900, label.FontInUse().lfOrientation);

        LOGFONT whole{};
        whole.lfHeight = -20;
        whole.lfWeight = FW_BOLD;
        std::strcpy(whole.lfFaceName, "Courier New");
        label.SetLogFont(whole);
        EXPECT_EQ(-20, label.FontInUse().lfHeight);
        EXPECT_STREQ("Courier New", label.FontInUse().lfFaceName);
    });
}

TEST(ColorStatic, WindowWithoutAFontStartsFromTheSystemFont) {
    WithLabels([&](CLabelDlg& host, DialogDriver&) {
        CProbeStatic created;
        ASSERT_TRUE(created.Create("Made", WS_CHILD | WS_VISIBLE | SS_LEFT, RECT{200, 20, 260, 40},
                                   &host, 800));
        EXPECT_STREQ("System", created.LogFont().lfFaceName);
        created.DestroyWindow();
    });
}

TEST(ColorStatic, StyleSettersSwitchTheirStylesBothWays) {
    WithLabels([&](CLabelDlg& dlg, DialogDriver& d) {
        CProbeStatic& label = dlg.Label(kText);
        auto exStyle = [&] { return fw::api::GetWindowLongPtr(d.Item(kText), GWL_EXSTYLE); };
        const RECT outer = d.Rect(kText);

        label.SetSunken(TRUE);
        EXPECT_EQ(WS_EX_STATICEDGE, exStyle() & WS_EX_STATICEDGE);
        RECT client;
        fw::api::GetClientRect(d.Item(kText), &client);
        EXPECT_LT(client.right, outer.right - outer.left) << "the edge takes from the client";
        label.SetSunken(FALSE);
        EXPECT_EQ(0, exStyle() & WS_EX_STATICEDGE);

        label.SetBorder(TRUE);
        EXPECT_EQ(WS_BORDER, d.Style(kText) & WS_BORDER);
        label.SetBorder(FALSE);
        EXPECT_EQ(0, d.Style(kText) & WS_BORDER);

        label.SetTransparent(TRUE);
        EXPECT_EQ(WS_EX_TRANSPARENT, exStyle() & WS_EX_TRANSPARENT);
        label.SetTransparent(FALSE);
        EXPECT_EQ(0, exStyle() & WS_EX_TRANSPARENT) << "cleared, the style goes too";

        label.SetMailLink(TRUE, FALSE);
        EXPECT_EQ(SS_NOTIFY, d.Style(kText) & SS_NOTIFY);
        label.SetLink(FALSE, FALSE);
        EXPECT_EQ(0, d.Style(kText) & SS_NOTIFY);

        label.SetLabelText("Changed");
        EXPECT_EQ("Changed", d.Text(kText));
    });

    CProbeStatic detached;  // no window: text and styles wait, nothing fails
    detached.SetLabelText("x").SetSunken(TRUE).SetTransparent(TRUE).FlashText(TRUE);
    detached.FlashText(FALSE).SetBackColor(kRed);
    EXPECT_EQ(nullptr, detached.GetSafeHwnd());
}
