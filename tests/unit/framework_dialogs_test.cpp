// Dialogs as the pages and dialogs of the module use them: data exchange that
// refuses an over-long entry and keeps the dialog open, nested modal dialogs
// and Yes/No message boxes, timers, a subclassed control that paints itself,
// and posting to a top-level window found by class and title.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"
#include "framework/api.h"
#include "framework/framework.h"
#include "framework/windows/wnd.h"
#include "unit/framework_test_support.h"

using fwtest::TemplateBuilder;

namespace {

// --- Data exchange ----------------------------------------------------------------

const UINT kEntryDialog = 9200;
const int kName = 200;

class CEntryDlg : public fw::CDialog {
public:
    explicit CEntryDlg(TemplateBuilder& t) {
        InitModalIndirect(t.Bytes(), nullptr, {}, kEntryDialog);
    }
    std::string m_strName = "abc";

protected:
    void DoDataExchange(fw::CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        fw::DDX_Text(pDX, kName, m_strName);
        fw::DDV_MaxChars(pDX, m_strName, 5);
    }
};

TemplateBuilder EntryTemplate() {
    TemplateBuilder t("Entry", 160, 60);
    t.Label(201, "Name:", 7, 9, 30, 10)
        .Edit(kName, 40, 7, 100)
        .DefButton(IDOK, "OK", 50, 40)
        .Button(IDCANCEL, "Cancel", 105, 40);
    return t;
}

}  // namespace

TEST(FrameworkDialogs, DataExchangeRefusesAnOverLongEntryAndKeepsTheDialogOpen) {
    TemplateBuilder t = EntryTemplate();
    CEntryDlg dlg(t);
    Operator op;
    op.OnDialog(kEntryDialog, [&](DialogDriver& d) {
        EXPECT_EQ("abc", d.Text(kName)) << "the member is shown when the dialog opens";
        EXPECT_EQ(kName, d.Focus()) << "the first tab stop has the focus";
        d.Type(kName, "1234567");
        EXPECT_EQ("12345", d.Text(kName)) << "the edit takes no more than the limit";

        // A longer value that did not come through the keyboard.
        fw::api::SetWindowText(d.Item(kName), "abcdefg");
        d.Click(IDOK);
        EXPECT_TRUE(d.IsOpen()) << "the refused entry keeps the dialog open";
        EXPECT_EQ(kName, d.Focus()) << "the refused field has the focus";

        d.Type(kName, "xyz");
        d.PressEnter();
    });
    op.OnMessageBox([](MessageBoxSeen& m) {
        EXPECT_EQ("Please enter no more than 5 characters.", m.text);
        EXPECT_EQ(fw::AfxGetAppName(), m.caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), m.type);
        EXPECT_EQ(static_cast<int>(kEntryDialog), m.ownerTemplateId);
        return IDOK;
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("xyz", dlg.m_strName);
}

TEST(FrameworkDialogs, TheDialogAndItsControlsUseTheTemplateFont) {
    TemplateBuilder t = EntryTemplate();
    t.Font("Times New Roman", 10);
    CEntryDlg dlg(t);
    Operator op;
    op.OnDialog(kEntryDialog, [](DialogDriver& d) {
        for (int id : {0, kName, IDOK}) {
            const FontSeen font = d.Font(id);
            EXPECT_EQ("Times New Roman", font.face) << "control " << id;
            EXPECT_EQ(10, font.PointSize()) << "control " << id;
        }
        // Dialog units follow the font: the edit is 100 units wide.
        const RECT edit = d.Rect(kName);
        const RECT ok = d.Rect(IDOK);
        EXPECT_NEAR(2 * (ok.right - ok.left), edit.right - edit.left, 1)
            << "the edit is twice as wide as the 50-unit button, within rounding";
        d.PressEscape();
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

// --- Nested modal dialogs and Yes/No questions ---------------------------------------

namespace {

const UINT kParentDialog = 9300;
const UINT kChildDialog = 9301;
const int kOpenChild = 300;
const int kAsk = 310;

class CChildDlg : public fw::CDialog {
public:
    CChildDlg(TemplateBuilder& t, fw::CWnd* parent) {
        InitModalIndirect(t.Bytes(), parent, {}, kChildDialog);
    }
    std::vector<int> m_answers;

protected:
    // Ends only when the question is answered Yes.
    void OnAsk() {
        const int answer = fw::AfxMessageBox("Really close?", MB_YESNO | MB_ICONQUESTION);
        m_answers.push_back(answer);
        if (answer == IDYES) {
            EndDialog(IDYES);
        }
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CChildDlg, fw::CDialog)
ON_BN_CLICKED(kAsk, OnAsk)
END_MESSAGE_MAP()

class CParentDlg : public fw::CDialog {
public:
    explicit CParentDlg(TemplateBuilder& t) : m_childTemplate("Child", 120, 50) {
        InitModalIndirect(t.Bytes(), nullptr, {}, kParentDialog);
        m_childTemplate.Button(kAsk, "Ask", 7, 7).Button(IDCANCEL, "Cancel", 63, 30);
    }
    INT_PTR m_childResult = 0;
    std::vector<int> m_childAnswers;

protected:
    void OnOpenChild() {
        CChildDlg child(m_childTemplate, this);
        m_childResult = child.DoModal();
        m_childAnswers = child.m_answers;
    }
    DECLARE_MESSAGE_MAP()

private:
    TemplateBuilder m_childTemplate;
};

BEGIN_MESSAGE_MAP(CParentDlg, fw::CDialog)
ON_BN_CLICKED(kOpenChild, OnOpenChild)
END_MESSAGE_MAP()

}  // namespace

TEST(FrameworkDialogs, NestedDialogsAndYesNoQuestionsRunInsideTheActionThatOpensThem) {
    TemplateBuilder t("Parent", 160, 60);
    t.Button(kOpenChild, "Child...", 7, 7).Button(IDCANCEL, "Close", 105, 40);
    CParentDlg dlg(t);
    HWND parent = NULL;

    Operator op;
    op.OnDialog(kParentDialog, [&](DialogDriver& d) {
        parent = d.Hwnd();
        d.Click(kOpenChild);  // the child runs and ends inside the click
        EXPECT_EQ(IDYES, dlg.m_childResult);
        EXPECT_EQ((std::vector<int>{IDNO, IDYES}), dlg.m_childAnswers);
        EXPECT_TRUE(d.IsEnabled(0)) << "the parent takes input again";
        d.CloseBox();
    });
    op.OnDialog(kChildDialog, [&](DialogDriver& d) {
        EXPECT_FALSE(fw::api::IsWindowEnabled(parent)) << "the parent is disabled under its child";
        d.Click(kAsk);  // answered No: the child stays
        EXPECT_TRUE(d.IsOpen());
        d.Click(kAsk);  // answered Yes: the child ends
    });
    for (int answer : {IDNO, IDYES}) {
        op.OnMessageBox([answer](MessageBoxSeen& m) {
            EXPECT_EQ("Really close?", m.text);
            EXPECT_EQ(static_cast<UINT>(MB_YESNO), m.Buttons());
            EXPECT_EQ(static_cast<UINT>(MB_ICONQUESTION), m.Icon());
            EXPECT_EQ(static_cast<int>(kChildDialog), m.ownerTemplateId)
                << "the active dialog owns the question";
            return answer;
        });
    }
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    const std::vector<std::string> seen = {
        "dialog 9300", "dialog 9301", "message box: Really close?", "message box: Really close?"};
    EXPECT_EQ(seen, op.Seen());
}

// --- Timers --------------------------------------------------------------------------

namespace {

const UINT kTimerDialog = 9400;
const int kTicks = 400;

class CTimerDlg : public fw::CDialog {
public:
    explicit CTimerDlg(TemplateBuilder& t) {
        InitModalIndirect(t.Bytes(), nullptr, {}, kTimerDialog);
    }
    int m_ticks = 0;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SetTimer(1, 100);
        return TRUE;
    }
    void OnTimer(UINT_PTR nIDEvent) {
        if (nIDEvent != 1) {
            return;
        }
        ++m_ticks;
        SetDlgItemText(kTicks, std::to_string(m_ticks));
        if (m_ticks == 3) {
            KillTimer(1);
        }
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTimerDlg, fw::CDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

}  // namespace

TEST(FrameworkDialogs, TimerFiresWhileTheDialogRunsUntilKilled) {
    TemplateBuilder t("Timer", 120, 50);
    t.Label(kTicks, "0", 7, 7, 50, 10).Button(IDCANCEL, "Close", 63, 30);
    CTimerDlg dlg(t);
    Operator op;
    op.OnDialog(kTimerDialog, [&](DialogDriver& d) {
        EXPECT_LT(dlg.m_ticks, 3);
        d.Wait(1000);
        EXPECT_EQ(3, dlg.m_ticks) << "three ticks, then the timer is killed";
        EXPECT_EQ("3", d.Text(kTicks));
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

// --- A subclassed control that paints itself ---------------------------------------

namespace {

const UINT kPaintDialog = 9500;
const int kSwatch = 500;
const int kBlue = 501;

class CSwatch : public fw::CStatic {
public:
    COLORREF m_color = RGB(200, 0, 0);
    int m_paints = 0;

protected:
    void OnPaint() {
        fw::CPaintDC dc(this);
        RECT client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, m_color);
        ++m_paints;
    }
    BOOL OnEraseBkgnd(fw::CDC*) { return TRUE; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSwatch, fw::CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

class CPaintDlg : public fw::CDialog {
public:
    explicit CPaintDlg(TemplateBuilder& t) {
        InitModalIndirect(t.Bytes(), nullptr, {}, kPaintDialog);
    }
    CSwatch m_swatch;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_swatch.SubclassDlgItem(kSwatch, this);
        return TRUE;
    }
    void OnBlue() {
        m_swatch.m_color = RGB(0, 0, 255);
        m_swatch.Invalidate();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintDlg, fw::CDialog)
ON_BN_CLICKED(kBlue, OnBlue)
END_MESSAGE_MAP()

}  // namespace

TEST(FrameworkDialogs, SubclassedControlPaintsASolidColour) {
    TemplateBuilder t("Paint", 120, 60);
    t.Label(kSwatch, "", 7, 7, 40, 20)
        .Button(kBlue, "Blue", 7, 35)
        .Button(IDCANCEL, "Close", 63, 35);
    CPaintDlg dlg(t);
    Operator op;
    op.OnDialog(kPaintDialog, [&](DialogDriver& d) {
        HWND swatch = d.Item(kSwatch);
        fw::api::RedrawWindow(swatch, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_GT(dlg.m_swatch.m_paints, 0) << "the control's own object paints it";
        RECT client;
        fw::api::GetClientRect(swatch, &client);
        if (Operator::PixelChecksRun()) {
            for (POINT p : {POINT{0, 0}, POINT{client.right - 1, client.bottom - 1},
                            POINT{client.right / 2, client.bottom / 2}}) {
                EXPECT_EQ(RGB(200, 0, 0), d.Pixel(kSwatch, p.x, p.y)) << p.x << "," << p.y;
            }
            EXPECT_EQ(CLR_INVALID, d.Pixel(kSwatch, client.right, 0)) << "outside the control";
        }
        d.Click(kBlue);
        fw::api::UpdateWindow(swatch);
        if (Operator::PixelChecksRun()) {
            EXPECT_EQ(RGB(0, 0, 255), d.Pixel(kSwatch, client.right - 1, 0));
        }
        EXPECT_EQ(RGB(0, 0, 255), dlg.m_swatch.m_color);
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(nullptr, dlg.m_swatch.GetSafeHwnd()) << "the object lets go of its window";
}

// --- Posting to a window found by class and title ---------------------------------

TEST(FrameworkDialogs, PostsToATopLevelWindowFoundByClassAndTitle) {
    StationWindow inbox("FwTestInbox", "Inbox");
    StationWindow other("FwTestInbox", "Other");
    EXPECT_EQ(inbox.Hwnd(), fw::CWnd::FindWindow("FwTestInbox", "Inbox")->GetSafeHwnd());

    EXPECT_TRUE(fw::PostToTopLevelWindow("FwTestInbox", "Inbox", WM_USER + 64, 0, 0));
    EXPECT_FALSE(fw::PostToTopLevelWindow("FwTestInbox", "Missing", WM_USER + 65, 0, 0));
    EXPECT_FALSE(fw::PostToTopLevelWindow("NoSuchClass", "Inbox", WM_USER + 66, 0, 0));

    EXPECT_EQ(std::vector<UINT>{WM_USER + 64}, inbox.Received());
    EXPECT_TRUE(other.Received().empty());
}

// --- An exception a handler lets out ------------------------------------------------

namespace {

const UINT kThrowingDialog = 9230;
const int kThrow = 231;

class CThrowingDlg : public fw::CDialog {
public:
    explicit CThrowingDlg(TemplateBuilder& t) {
        InitModalIndirect(t.Bytes(), nullptr, {}, kThrowingDialog);
    }
    int m_clicks = 0;

protected:
    void OnThrow() {
        ++m_clicks;
        throw std::runtime_error("the handler failed");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingDlg, fw::CDialog)
ON_BN_CLICKED(kThrow, OnThrow)
END_MESSAGE_MAP()

TemplateBuilder ThrowingTemplate() {
    TemplateBuilder t("Throwing", 120, 40);
    t.Button(kThrow, "Throw", 7, 20).Button(IDCANCEL, "Close", 63, 20);
    return t;
}

}  // namespace

// The tests' reporter (installed for every test) fails the running test.
TEST(FrameworkExceptions, AnExceptionAtAWindowProcedureFailsTheRunningTest) {
    TemplateBuilder t = ThrowingTemplate();
    CThrowingDlg dlg(t);
    Operator op;
    op.OnDialog(kThrowingDialog, [&](DialogDriver& d) {
        EXPECT_TRUE(fwtest::RefusedWith(fwtest::CaptureFailures([&] { d.Click(kThrow); }),
                                        "the handler failed"));
        EXPECT_TRUE(d.IsOpen()) << "the dialog goes on";
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(1, dlg.m_clicks);
}

// Without a reporter (as inside Setup.dll) the operator is told, once per
// window, in a message box that the driver never takes for an expected one:
// under Wine the tests fail on an exception inside Setup.dll this way.
TEST(FrameworkExceptions, WithoutAReporterTheOperatorIsToldOncePerWindow) {
    fw::SetUnhandledExceptionReporter(nullptr);
    TemplateBuilder t = ThrowingTemplate();
    for (int visit = 0; visit < 2; ++visit) {
        CThrowingDlg dlg(t);
        Operator op;
        op.OnDialog(kThrowingDialog, [&](DialogDriver& d) {
            const std::vector<std::string> first =
                fwtest::CaptureFailures([&] { d.Click(kThrow); });
            EXPECT_TRUE(fwtest::RefusedWith(first, fw::kInternalFailureText));
            EXPECT_TRUE(fwtest::RefusedWith(first, "the handler failed"));
            ASSERT_FALSE(op.Seen().empty());
            const std::string box = "message box: " + std::string(fw::kInternalFailureText);
            EXPECT_EQ(0u, op.Seen().back().rfind(box, 0)) << op.Seen().back();
            const size_t seen = op.Seen().size();
            EXPECT_EQ(0u, fwtest::CaptureFailures([&] { d.Click(kThrow); }).size())
                << "a second failure of the same window shows no second box";
            EXPECT_EQ(seen, op.Seen().size());
            d.Click(IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, dlg.DoModal()) << "visit " << visit;
        EXPECT_EQ(2, dlg.m_clicks) << "visit " << visit << ": a new window shows its box again";
    }
}

// --- Picture statics ------------------------------------------------------------------

// The bitmap a picture static loads from the template is deleted when the
// dialog goes (Win32's static control leaves it behind: a page with many
// swatches lost a kilobyte each on every visit).
TEST(FrameworkDialogs, TheBitmapsOfPictureStaticsGoWithTheDialog) {
    TemplateBuilder t("Pictures", 120, 60);
    t.Picture(240, 1041, 7, 7).Picture(241, 1041, 7, 20).Button(IDCANCEL, "Close", 63, 35);
    for (int round = 0; round < 2; ++round) {
        fw::CDialog dlg;
        dlg.InitModalIndirect(t.Bytes(), nullptr, {}, 9240);
        std::vector<HGDIOBJ> bitmaps;
        Operator op;
        op.OnDialog(9240, [&](DialogDriver& d) {
            for (int id : {240, 241}) {
                bitmaps.push_back(reinterpret_cast<HGDIOBJ>(
                    fw::api::SendMessage(d.Item(id), STM_GETIMAGE, IMAGE_BITMAP, 0)));
                BITMAP info{};
                EXPECT_NE(0, fw::api::GetObject(bitmaps.back(), sizeof(info), &info))
                    << "control " << id << " shows a bitmap";
            }
            d.Click(IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, dlg.DoModal());
        for (HGDIOBJ bitmap : bitmaps) {
            BITMAP info{};
            EXPECT_EQ(0, fw::api::GetObject(bitmap, sizeof(info), &info))
                << "round " << round << ": the bitmap outlived its dialog";
        }
    }
}
