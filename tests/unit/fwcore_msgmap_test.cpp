// Message maps without windows: which entry a message reaches, how the
// parameters are decoded for the handler, derived maps over base maps, and
// the dispatcher keeping exceptions inside the window procedure.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/framework.h"

namespace {

constexpr int kIdFirst = 100;
constexpr int kIdRadioFirst = 200;
constexpr int kIdRadioLast = 205;
constexpr UINT kPrivateMessage = WM_APP + 7;

// Records every handler call as a line of text.
class CRecordingWnd : public fw::CWnd {
public:
    std::vector<std::string> calls;

    // The dispatcher, as the framework's window procedure runs it.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
        return AfxCallWndProc(this, FakeHandle(), message, wParam, lParam);
    }
    static HWND FakeHandle() { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x5150)); }

protected:
    void OnFirstClicked() { calls.push_back("first clicked"); }
    void OnFirstSelChange() { calls.push_back("first selchange"); }
    void OnRadio(UINT nID) { calls.push_back("radio " + std::to_string(nID)); }
    void OnOk() { calls.push_back("base ok"); }
    void OnTimer(UINT_PTR nIDEvent) { calls.push_back("timer " + std::to_string(nIDEvent)); }
    void OnLButtonDown(UINT nFlags, fw::CPoint point) {
        calls.push_back("down " + std::to_string(nFlags) + " " + std::to_string(point.x) + "," +
                        std::to_string(point.y));
    }
    BOOL OnSetCursor(fw::CWnd* pWnd, UINT nHitTest, UINT message) {
        calls.push_back("cursor " + std::string(pWnd == nullptr ? "null" : "wnd") + " " +
                        std::to_string(nHitTest) + " " + std::to_string(message));
        return TRUE;
    }
    BOOL OnEraseBkgnd(fw::CDC* pDC) {
        calls.push_back(pDC != nullptr && pDC->m_hDC == nullptr ? "erase null dc" : "erase dc");
        return TRUE;
    }
    void OnHScroll(UINT nSBCode, UINT nPos, fw::CScrollBar* pScrollBar) {
        calls.push_back("hscroll " + std::to_string(nSBCode) + " " + std::to_string(nPos) + " " +
                        (pScrollBar == nullptr ? "own" : "control"));
    }
    void OnTabChanging(NMHDR* pHeader, LRESULT* pResult) {
        calls.push_back("tab changing from " + std::to_string(pHeader->idFrom));
        *pResult = 1;
    }
    LRESULT OnPrivate(WPARAM wParam, LPARAM lParam) {
        calls.push_back("private " + std::to_string(wParam));
        return lParam * 2;
    }
    void OnDestroy() { throw std::runtime_error("handler failed"); }

    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CRecordingWnd, fw::CWnd)
    ON_BN_CLICKED(kIdFirst, OnFirstClicked)
    ON_CBN_SELCHANGE(kIdFirst, OnFirstSelChange)
    ON_CONTROL_RANGE(BN_CLICKED, kIdRadioFirst, kIdRadioLast, OnRadio)
    ON_COMMAND(IDOK, OnOk)
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_SETCURSOR()
    ON_WM_ERASEBKGND()
    ON_WM_HSCROLL()
    ON_NOTIFY(TCN_SELCHANGING, kIdFirst, OnTabChanging)
    ON_MESSAGE(kPrivateMessage, OnPrivate)
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

// A derived class takes over IDOK and adds an entry of its own.
class CDerivedWnd : public CRecordingWnd {
protected:
    void OnOk() { calls.push_back("derived ok"); }
    void OnCancelCommand() { calls.push_back("derived cancel"); }

    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CDerivedWnd, CRecordingWnd)
    ON_COMMAND(IDOK, OnOk)
    ON_BN_CLICKED(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()
// clang-format on

TEST(FrameworkMessageMap, CommandsReachTheEntryOfTheirIdAndCode) {
    CRecordingWnd wnd;
    const struct {
        WPARAM wParam;
        bool handled;
        const char* call;
    } cases[] = {
        {MAKEWPARAM(kIdFirst, BN_CLICKED), true, "first clicked"},
        {MAKEWPARAM(kIdFirst, CBN_SELCHANGE), true, "first selchange"},
        {MAKEWPARAM(kIdFirst, EN_CHANGE), false, nullptr},  // same ID, code not listed
        {MAKEWPARAM(kIdFirst + 1, BN_CLICKED), false, nullptr},
        {MAKEWPARAM(kIdRadioFirst, BN_CLICKED), true, "radio 200"},
        {MAKEWPARAM(kIdRadioLast, BN_CLICKED), true, "radio 205"},
        {MAKEWPARAM(kIdRadioLast + 1, BN_CLICKED), false, nullptr},
        {MAKEWPARAM(kIdRadioFirst - 1, BN_CLICKED), false, nullptr},
        {MAKEWPARAM(IDOK, 0), true, "base ok"},
    };
    for (const auto& c : cases) {
        wnd.calls.clear();
        LRESULT result = -5;
        EXPECT_EQ(c.handled ? TRUE : FALSE, wnd.OnWndMsg(WM_COMMAND, c.wParam, 0, &result))
            << "wParam " << std::hex << c.wParam;
        if (c.handled) {
            ASSERT_EQ(1u, wnd.calls.size());
            EXPECT_EQ(c.call, wnd.calls[0]);
            EXPECT_EQ(1, result) << "a handled command answers 1";
        } else {
            EXPECT_TRUE(wnd.calls.empty());
            EXPECT_EQ(-5, result) << "an unhandled message leaves the result alone";
        }
    }
}

TEST(FrameworkMessageMap, DerivedEntriesComeFirstAndBaseEntriesStillApply) {
    CDerivedWnd wnd;
    LRESULT result = 0;
    EXPECT_TRUE(wnd.OnWndMsg(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0, &result));
    EXPECT_TRUE(wnd.OnWndMsg(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0, &result));
    EXPECT_TRUE(wnd.OnWndMsg(WM_COMMAND, MAKEWPARAM(kIdFirst, BN_CLICKED), 0, &result));
    EXPECT_TRUE(wnd.OnWndMsg(WM_TIMER, 3, 0, &result));
    EXPECT_EQ(
        (std::vector<std::string>{"derived ok", "derived cancel", "first clicked", "timer 3"}),
        wnd.calls);

    // The base class alone knows nothing of the derived entries.
    CRecordingWnd base;
    EXPECT_FALSE(base.OnWndMsg(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0, &result));
}

TEST(FrameworkMessageMap, WindowMessagesAreDecodedForTheirHandlers) {
    CRecordingWnd wnd;
    LRESULT result = 0;

    ASSERT_TRUE(wnd.OnWndMsg(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3, 17), &result));
    EXPECT_EQ(0, result);
    ASSERT_TRUE(wnd.OnWndMsg(WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), &result));
    EXPECT_EQ(TRUE, result);
    ASSERT_TRUE(wnd.OnWndMsg(WM_ERASEBKGND, 0, 0, &result));
    EXPECT_EQ(TRUE, result);
    ASSERT_TRUE(wnd.OnWndMsg(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40), 0, &result));
    ASSERT_TRUE(wnd.OnWndMsg(kPrivateMessage, 9, 21, &result));
    EXPECT_EQ(42, result);

    EXPECT_EQ((std::vector<std::string>{
                  "down " + std::to_string(MK_LBUTTON) + " -3,17",
                  "cursor null " + std::to_string(HTCLIENT) + " " + std::to_string(WM_MOUSEMOVE),
                  "erase null dc",
                  "hscroll " + std::to_string(SB_THUMBTRACK) + " 40 own",
                  "private 9",
              }),
              wnd.calls);

    // A message without an entry is left to the default handling.
    EXPECT_FALSE(wnd.OnWndMsg(WM_PAINT, 0, 0, &result));
}

TEST(FrameworkMessageMap, NotificationsMatchCodeAndSenderAndSetTheResult) {
    CRecordingWnd wnd;
    NMHDR header = {};
    header.idFrom = kIdFirst;
    header.code = TCN_SELCHANGING;
    LRESULT result = 0;
    ASSERT_TRUE(wnd.OnWndMsg(WM_NOTIFY, kIdFirst, reinterpret_cast<LPARAM>(&header), &result));
    EXPECT_EQ(1, result);

    header.code = TCN_SELCHANGE;
    EXPECT_FALSE(wnd.OnWndMsg(WM_NOTIFY, kIdFirst, reinterpret_cast<LPARAM>(&header), &result));
    header.code = TCN_SELCHANGING;
    header.idFrom = kIdFirst + 1;
    EXPECT_FALSE(wnd.OnWndMsg(WM_NOTIFY, kIdFirst, reinterpret_cast<LPARAM>(&header), &result));
    EXPECT_EQ(1u, wnd.calls.size());
}

TEST(FrameworkMessageMap, TheDispatcherReportsAnExceptionInsteadOfLettingItOut) {
    std::vector<std::string> reports;
    fw::SetUnhandledExceptionReporter(
        [&reports](const std::string& text) { reports.push_back(text); });

    CRecordingWnd wnd;
    LRESULT result = -1;
    EXPECT_NO_THROW(result = wnd.Dispatch(WM_DESTROY, 0, 0));
    EXPECT_EQ(0, result);
    ASSERT_EQ(1u, reports.size());
    EXPECT_NE(std::string::npos, reports[0].find("handler failed")) << reports[0];
    EXPECT_NE(std::string::npos, reports[0].find("0x0002")) << reports[0];

    // The next message is dispatched normally.
    EXPECT_EQ(42, wnd.Dispatch(kPrivateMessage, 1, 21));
    EXPECT_EQ(1u, reports.size());

    fw::SetUnhandledExceptionReporter(nullptr);
}

// Run-time classes name the framework's classes and the module's own.
class CCreatable : public fw::CDialog {
    DECLARE_DYNCREATE(CCreatable)
};
IMPLEMENT_DYNCREATE(CCreatable, fw::CDialog)

TEST(FrameworkRuntimeClass, ClassesKnowTheirNamesBasesAndCreation) {
    CCreatable dialog;
    EXPECT_STREQ("CCreatable", dialog.GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(dialog.IsKindOf(RUNTIME_CLASS(fw::CDialog)));
    EXPECT_TRUE(dialog.IsKindOf(RUNTIME_CLASS(fw::CWnd)));
    EXPECT_TRUE(dialog.IsKindOf(RUNTIME_CLASS(fw::CObject)));
    EXPECT_FALSE(dialog.IsKindOf(RUNTIME_CLASS(fw::CPropertyPage)));

    fw::CPropertyPage page(1043);
    EXPECT_STREQ("CPropertyPage", page.GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(page.IsKindOf(RUNTIME_CLASS(fw::CDialog)));
    EXPECT_EQ(nullptr, RUNTIME_CLASS(fw::CPropertyPage)->CreateObject());

    fw::CObject* created = RUNTIME_CLASS(CCreatable)->CreateObject();
    ASSERT_NE(nullptr, created);
    EXPECT_TRUE(created->IsKindOf(RUNTIME_CLASS(CCreatable)));
    delete created;
}

}  // namespace
