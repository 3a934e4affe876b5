// The label control where the headless window system records what was drawn:
// the colour blinking text is drawn in, the text layout each style gives,
// shadow and rotation, the shell requests of links, and the GDI objects the
// control makes and releases.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/operator.h"
#include "framework/api.h"
#include "framework/framework.h"
#include "framework/headless/headless.h"
#include "unit/color_static_support.h"

using namespace cstest;
using fw::headless::DrawnText;
using fw::headless::DrawnTexts;

namespace {

// The one text drawn on the label; fails the test unless there is exactly one.
DrawnText OnlyText(HWND label) {
    std::vector<DrawnText> texts = DrawnTexts(label);
    EXPECT_EQ(1u, texts.size());
    return texts.empty() ? DrawnText{} : texts.back();
}

}  // namespace

TEST(ColorStaticPainting, BlinkingTextHidesOnAColouredBackgroundAndTurnsBlackOnTheDefaultOne) {
    WithLabels([&](CLabelDlg& dlg, DialogDriver& d) {
        const COLORREF green = RGB(0, 128, 0);
        dlg.Label(kText).SetBackColor(green).SetForeColor(RGB(255, 255, 255)).FlashText(TRUE);
        dlg.Label(kCentered).SetForeColor(RGB(200, 0, 0)).FlashText(TRUE);
        d.Wait(500);
        EXPECT_EQ(RGB(255, 255, 255), OnlyText(d.Item(kText)).color) << "shown phase";
        EXPECT_EQ(RGB(200, 0, 0), OnlyText(d.Item(kCentered)).color) << "shown phase";
        d.Wait(500);
        EXPECT_EQ(green, OnlyText(d.Item(kText)).color) << "hidden: the background's colour";
        EXPECT_EQ(RGB(0, 0, 0), OnlyText(d.Item(kCentered)).color)
            << "hidden on the default background: black";
        EXPECT_EQ(RGB(0, 128, 0), d.Pixel(kText, 119, 29)) << "the background stays";
        EXPECT_EQ(fw::GetSysColor(COLOR_BTNFACE), d.Pixel(kCentered, 119, 29));

        dlg.Label(kText).FlashText(FALSE);
        dlg.Label(kText).SetForeColor(RGB(255, 255, 255));
        EXPECT_EQ(RGB(255, 255, 255), OnlyText(d.Item(kText)).color) << "blinking stopped";
    });
}

TEST(ColorStaticPainting, CyclingTextShowsEachColourOnlyInItsShownPhase) {
    WithLabels([&](CLabelDlg& dlg, DialogDriver& d) {
        CProbeStatic::RestartCycle();
        dlg.Label(kText).CycleColors(TRUE);
        std::vector<COLORREF> drawn;
        for (int i = 0; i < 5; ++i) {
            d.Wait(1000);
            drawn.push_back(OnlyText(d.Item(kText)).color);
        }
        // Cycling blinks as FlashText does: every other colour falls on a
        // hidden phase, which on the default background is black.
        EXPECT_EQ((std::vector<COLORREF>{RGB(255, 0, 0), 0, RGB(0, 0, 255), 0, RGB(0, 255, 0)}),
                  drawn);
        dlg.Label(kText).CycleColors(FALSE);
    });
}

TEST(ColorStaticPainting, SwatchDrawsNoTextOverItsColour) {
    WithLabels([&](CLabelDlg& dlg, DialogDriver& d) {
        // On Windows a bitmap static's text is its image's ordinal.
        fw::api::SetWindowText(d.Item(kSwatch), "\xFF\x11\x04");
        dlg.Label(kSwatch).SetBackColor(RGB(0, 0, 255));
        for (const DrawnText& drawn : DrawnTexts(d.Item(kSwatch))) {
            EXPECT_EQ("", drawn.text) << "nothing written over the colour";
        }
        dlg.Label(kText).ModifyStyle(SS_TYPEMASK, SS_ICON);
        dlg.Label(kText).SetForeColor(RGB(1, 1, 1));
        for (const DrawnText& drawn : DrawnTexts(d.Item(kText))) {
            EXPECT_EQ("", drawn.text) << "an icon static's text names its image too";
        }
    });
}

TEST(ColorStaticPainting, TextLayoutFollowsTheStyle) {
    struct Case {
        DWORD style;
        const char* text;
        UINT format;
    };
    const Case cases[] = {
        {SS_LEFT, "Left", DT_WORDBREAK},
        {SS_CENTER, "Centre", DT_CENTER | DT_WORDBREAK},
        {SS_RIGHT, "Right", DT_RIGHT | DT_WORDBREAK},
        {SS_LEFTNOWORDWRAP, "No wrap", DT_LEFT},
        {SS_SIMPLE, "Simple", DT_WORDBREAK},
        {SS_LEFT, "Tab\there", DT_WORDBREAK | DT_EXPANDTABS},
        {SS_RIGHT, "Tab\there", DT_RIGHT | DT_WORDBREAK | DT_EXPANDTABS},
        {SS_LEFT | SS_CENTERIMAGE, "One line", DT_CENTER | DT_VCENTER | DT_SINGLELINE},
        {SS_RIGHT | SS_CENTERIMAGE, "Two\r\nlines", DT_CENTER},
        {SS_LEFT | SS_CENTERIMAGE, "Tab\there", DT_CENTER | DT_VCENTER | DT_SINGLELINE},
        {SS_CENTER | SS_CENTERIMAGE, "Bare\nnewline", DT_CENTER | DT_VCENTER | DT_SINGLELINE},
    };
    WithLabels([&](CLabelDlg& dlg, DialogDriver& d) {
        CProbeStatic& label = dlg.Label(kText);
        for (const Case& c : cases) {
            label.ModifyStyle(SS_TYPEMASK | SS_CENTERIMAGE, c.style);
            label.SetLabelText(c.text);
            DrawnText drawn = OnlyText(d.Item(kText));
            EXPECT_EQ(c.format, drawn.flags) << "style " << c.style << ", \"" << c.text << "\"";
            EXPECT_EQ(c.text, drawn.text);
            EXPECT_EQ(0, drawn.rect.left);
            EXPECT_EQ(120, drawn.rect.right) << "drawn into the client rectangle";
        }
    });
}

TEST(ColorStaticPainting, ShadowLiesOnePixelOffAndRotatedTextStartsAtTheCentre) {
    WithLabels([&](CLabelDlg& dlg, DialogDriver& d) {
        CProbeStatic& label = dlg.Label(kText);
        label.SetForeColor(RGB(0, 0, 128)).SetShadow(TRUE, TRUE);
        std::vector<DrawnText> texts = DrawnTexts(d.Item(kText));
        ASSERT_EQ(2u, texts.size());
        EXPECT_EQ(RGB(0, 0, 128), texts[0].color);
        EXPECT_EQ(0, texts[0].rect.left);
        EXPECT_EQ(RGB(255, 255, 255), texts[1].color) << "the shadow comes second, in white";
        EXPECT_EQ(1, texts[1].rect.left);
        EXPECT_EQ(1, texts[1].rect.top);

        label.SetShadowColor(RGB(9, 9, 9)).SetShadow(TRUE, FALSE);
        texts = DrawnTexts(d.Item(kText));
        ASSERT_EQ(2u, texts.size());
        EXPECT_EQ(RGB(9, 9, 9), texts[1].color);
        EXPECT_EQ(-1, texts[1].rect.left);
        EXPECT_EQ(-1, texts[1].rect.top);

        label.SetRotation(90, TRUE);
        DrawnText rotated = OnlyText(d.Item(kText));
        EXPECT_TRUE(rotated.textOut) << "rotated text is written, not laid out";
        EXPECT_EQ(static_cast<UINT>(TA_BASELINE), rotated.flags);
        EXPECT_EQ(900, rotated.escapement);
        EXPECT_EQ(60, rotated.rect.left) << "from the centre of 120 x 30";
        EXPECT_LT(rotated.rect.top, 15);
        EXPECT_GT(rotated.rect.bottom, 15) << "the baseline runs through the centre";

        label.SetRotation(0, FALSE).SetShadow(FALSE, FALSE);
        EXPECT_FALSE(OnlyText(d.Item(kText)).textOut);
    });
}

TEST(ColorStaticPainting, TransparentLabelDrawsItsTextWithoutABackground) {
    WithLabels([&](CLabelDlg& dlg, DialogDriver& d) {
        CProbeStatic& label = dlg.Label(kText);
        label.SetBackColor(RGB(0, 0, 255)).SetTransparent(TRUE);
        EXPECT_EQ("Ready", OnlyText(d.Item(kText)).text);
        label.SetBackColor(RGB(255, 0, 0));
        EXPECT_EQ(RGB(0, 0, 255), d.Pixel(kText, 5, 5)) << "no background is painted";
        label.SetTransparent(FALSE);
        EXPECT_EQ(RGB(255, 0, 0), d.Pixel(kText, 5, 5));
    });
}

TEST(ColorStaticPainting, LinksAskTheShell) {
    WithLabels([&](CLabelDlg& dlg, DialogDriver& d) {
        using fw::headless::ShellRequests;
        CProbeStatic& link = dlg.Label(kLink);
        link.SetLink(TRUE, FALSE);
        d.Click(kLink);
        ASSERT_EQ(1u, ShellRequests().size()) << "a link with no target opens its text";
        fw::headless::ShellRequest request = ShellRequests().back();
        EXPECT_EQ(nullptr, request.owner);
        EXPECT_EQ("open", request.verb);
        EXPECT_EQ("http://example.invalid/", request.file);
        EXPECT_EQ("", request.parameters);
        EXPECT_EQ("", request.directory);
        EXPECT_EQ(SW_SHOWNORMAL, request.showCmd);

        link.SetLinkTarget("C:\\Docs\\guide.txt");
        d.Click(kLink);
        ASSERT_EQ(2u, ShellRequests().size());
        EXPECT_EQ("C:\\Docs\\guide.txt", ShellRequests().back().file);

        link.SetMailLink(TRUE, FALSE).SetLabelText("someone@example.invalid");
        d.Click(kLink);
        ASSERT_EQ(3u, ShellRequests().size());
        EXPECT_EQ("", ShellRequests().back().verb) << "the default verb";
        EXPECT_EQ("mailto:someone@example.invalid", ShellRequests().back().file);

        link.SetMailLink(TRUE, TRUE);
        d.Click(kLink);
        EXPECT_EQ(1u, dlg.m_notified.size());
        EXPECT_EQ(3u, ShellRequests().size()) << "notifying the parent replaces the link";
        d.Click(kSwatch);
        EXPECT_EQ(3u, ShellRequests().size()) << "a swatch is no link";
    });
}

TEST(ColorStaticPainting, BrushesFontsAndSurfacesAreReleased) {
    using fw::headless::LiveDeviceContexts;
    using fw::headless::LiveGdiObjects;
    const size_t objects = LiveGdiObjects();
    const size_t dcs = LiveDeviceContexts();
    {
        WithLabels([&](CLabelDlg& dlg, DialogDriver& d) {
            CProbeStatic& swatch = dlg.Label(kSwatch);
            swatch.SetBackColor(RGB(1, 1, 1));
            const size_t withBrush = LiveGdiObjects();
            swatch.SetBackColor(RGB(2, 2, 2)).SetBackColor(RGB(3, 3, 3));
            EXPECT_EQ(withBrush, LiveGdiObjects()) << "a new colour replaces the brush";
            fw::api::SendMessage(d.Item(kSwatch), WM_SYSCOLORCHANGE, 0, 0);
            EXPECT_EQ(withBrush, LiveGdiObjects()) << "the face brush is made again, not added";
            EXPECT_NE(nullptr, swatch.DefaultBrush());
            swatch.SetBackColor(RGB(1, 1, 1), RGB(9, 9, 9), TRUE);
            EXPECT_EQ(withBrush - 1, LiveGdiObjects()) << "a gradient keeps no brush";

            dlg.Label(kWide).SetBackColor(RGB(255, 0, 0), RGB(0, 0, 255), TRUE);
            dlg.Label(kText).SetBold(TRUE).SetPointSize(14).SetRotation(45, TRUE);
            dlg.Label(kCentered).FlashBackground(TRUE);
            const size_t painted = LiveGdiObjects();
            d.Wait(2000);
            fw::api::RedrawWindow(d.Hwnd(), nullptr, nullptr,
                                  RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            EXPECT_EQ(painted, LiveGdiObjects()) << "painting releases what it made";
            EXPECT_EQ(dcs, LiveDeviceContexts());
        });
    }
    EXPECT_EQ(objects, LiveGdiObjects()) << "the labels released their brushes and fonts";
    EXPECT_EQ(dcs, LiveDeviceContexts());
}

#endif  // !_WIN32
