// The headless dialog manager and window system: dialog units per template
// font, controls and fonts from a template, WM_INITDIALOG and the first
// focus, default button and keyboard, modal runs through the hook (nested,
// left open, no hook), timers on the virtual clock, posted messages to a
// window found by class and title, subclassing and properties.
#if !defined(_WIN32)

#include <cstring>

#include "headless_test_support.h"

namespace {

using namespace headless_test;
using namespace fw::api;
using fw::headless::ModalWindow;

class HeadlessDialog : public HeadlessTest {};

// MulDiv for the positive values of these tests.
LONG Scale(LONG value, LONG numerator, LONG denominator) {
    return (2 * value * numerator + denominator) / (2 * denominator);
}

TEST_F(HeadlessDialog, DialogUnitsFollowTheTemplateFont) {
    struct Case {
        const char* face;
        uint16_t points;
        LONG x, y;  // 400 x 800 dialog units in pixels
    } cases[] = {
        {"MS Shell Dlg", 8, 600, 1300},     {"MS Sans Serif", 8, 600, 1300},
        {"Times New Roman", 8, 600, 1200},  {"Times New Roman", 9, 700, 1400},
        {"Times New Roman", 10, 700, 1500}, {"Arial", 12, 900, 1800},
    };
    for (const Case& c : cases) {
        HWND dialog = Create(Dialog(WS_POPUP, 100, 50, c.face, c.points,
                                    {Item(ControlClass::Button, 1, BS_PUSHBUTTON, 4, 8, 50, 14)}));
        RECT units{0, 0, 400, 800};
        MapDialogRect(dialog, &units);
        EXPECT_EQ(c.x, units.right) << c.face << " " << c.points;
        EXPECT_EQ(c.y, units.bottom) << c.face << " " << c.points;
        // Controls are placed with the same units; the template is the client area.
        RECT button = RectInParent(GetDlgItem(dialog, 1));
        EXPECT_EQ(Describe(RECT{Scale(4, c.x, 400), Scale(8, c.y, 800), Scale(54, c.x, 400),
                                Scale(22, c.y, 800)}),
                  Describe(button));
        RECT client;
        GetClientRect(dialog, &client);
        EXPECT_EQ(Scale(100, c.x, 400), client.right);
        DestroyWindow(dialog);
    }
}

TEST_F(HeadlessDialog, CaptionAndFrameSurroundTheClientArea) {
    HWND dialog = Create(
        Dialog(WS_POPUP | WS_CAPTION | DS_MODALFRAME | WS_SYSMENU, 100, 50, "MS Shell Dlg", 8, {}));
    RECT window;
    RECT client;
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right + 6, window.right - window.left);
    EXPECT_EQ(client.bottom + 22 + 3, window.bottom - window.top);
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    EXPECT_EQ(window.left + 3, origin.x);
    EXPECT_EQ(window.top + 22, origin.y);
    EXPECT_TRUE(GetWindowLongPtr(dialog, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
}

INT_PTR CALLBACK FocusOwnProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        Log().push_back(Seen{message, 0, lParam});
        SetFocus(GetDlgItem(dialog, 3));
        return FALSE;  // the procedure set the focus itself
    }
    return FALSE;
}

TEST_F(HeadlessDialog, InitDialogGetsItsParameterAndTheFirstTabStopTheFocus) {
    DialogTemplate form = Dialog(
        WS_POPUP | WS_VISIBLE, 150, 80, "Times New Roman", 9,
        {Item(ControlClass::Static, 1, SS_LEFT, 5, 5, 40, 8, "Label"),
         Item(ControlClass::Edit, 2, WS_TABSTOP | ES_AUTOHSCROLL, 5, 15, 60, 12),
         Item(ControlClass::Edit, 3, WS_TABSTOP, 5, 30, 60, 12),
         Item(ControlClass::Button, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 90, 60, 50, 14, "OK")});
    form.items[1].title = NameOrOrdinal::Name(u"preset");
    HWND dialog = Create(form, RecordingProc, 4242);
    ASSERT_FALSE(Log().empty());
    EXPECT_EQ(static_cast<UINT>(WM_INITDIALOG), Log()[0].message);
    EXPECT_EQ(4242, Log()[0].lParam);
    HWND edit = GetDlgItem(dialog, 2);
    EXPECT_EQ(edit, GetFocus());
    DWORD start = 0;
    DWORD end = 0;
    SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(6u, end) << "the dialog manager selects the first edit's text";
    // Every control has the dialog's font.
    LOGFONT font{};
    GetObject(reinterpret_cast<HGDIOBJ>(SendMessage(edit, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_STREQ("Times New Roman", font.lfFaceName);
    EXPECT_EQ(-12, font.lfHeight);
    EXPECT_EQ(MAKELONG(IDOK, DC_HASDEFID), SendMessage(dialog, DM_GETDEFID, 0, 0));
    DestroyWindow(dialog);

    Log().clear();
    dialog = Create(form, FocusOwnProc);
    EXPECT_EQ(GetDlgItem(dialog, 3), GetFocus());
}

INT_PTR CALLBACK EndingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        return TRUE;
    }
    if (message == WM_COMMAND) {
        Log().push_back(Seen{message, wParam, 0});
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == 5) {
            EndDialog(dialog, LOWORD(wParam) == 5 ? 55 : LOWORD(wParam));
        }
        return TRUE;
    }
    return FALSE;
}

class ModalRun : public HeadlessDialog {
protected:
    INT_PTR Run(HWND owner = nullptr) {
        m_bytes.push_back(
            Dialog(
                WS_POPUP | WS_CAPTION, 150, 80, "MS Shell Dlg", 8,
                {Item(ControlClass::Edit, 4, WS_TABSTOP, 5, 5, 60, 12),
                 Item(ControlClass::Button, IDOK, BS_PUSHBUTTON | WS_TABSTOP, 10, 60, 50, 14, "OK"),
                 Item(ControlClass::Button, 5, BS_DEFPUSHBUTTON | WS_TABSTOP, 70, 60, 50, 14, "Go"),
                 Item(ControlClass::Button, IDCANCEL, BS_PUSHBUTTON, 100, 30, 40, 14, "Cancel")})
                .Serialize(fw::TemplateFormat::Classic));
        return DialogBoxIndirectParam(ModuleInstance(),
                                      reinterpret_cast<LPCDLGTEMPLATE>(m_bytes.back().data()),
                                      owner, EndingProc, 0);
    }
};

TEST_F(ModalRun, EnterClicksTheDefaultButtonEscapeAndTheCloseBoxCancel) {
    struct Case {
        const char* name;
        std::function<void(HWND)> act;
        INT_PTR result;
    } cases[] = {
        {"Enter on the edit", [](HWND d) { fw::headless::KeyEnter(d); }, 55},
        {"Enter on a focused push button",
         [](HWND d) {
             SetFocus(GetDlgItem(d, IDOK));
             fw::headless::KeyEnter(d);
         },
         IDOK},
        {"Escape", [](HWND d) { fw::headless::KeyEscape(d); }, IDCANCEL},
        {"close box", [](HWND d) { fw::headless::Close(d); }, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool hidden = false;
        fw::headless::SetModalHook([&](ModalWindow& modal) {
            ASSERT_EQ(ModalWindow::Dialog, modal.kind);
            c.act(modal.hwnd);
            hidden = IsWindow(modal.hwnd) && !IsWindowVisible(modal.hwnd);
        });
        EXPECT_EQ(c.result, Run());
        EXPECT_TRUE(hidden) << "EndDialog hides the dialog while it still exists";
    }
}

TEST_F(ModalRun, NestedRunsDisableTheirOwnersAndGiveTheFocusBack) {
    HWND outer = nullptr;
    int depth = 0;
    std::vector<std::string> seen;
    fw::headless::SetModalHook([&](ModalWindow& modal) {
        if (modal.kind == ModalWindow::MessageBox) {
            seen.push_back(modal.text + "|" + modal.caption);
            EXPECT_EQ(outer, modal.owner);
            EXPECT_FALSE(IsWindowEnabled(outer)) << "a message box disables its owner";
            EXPECT_FALSE(fw::headless::Click(GetDlgItem(outer, IDOK)));
            modal.result = IDYES;
            return;
        }
        if (++depth == 1) {
            outer = modal.hwnd;
            SetFocus(GetDlgItem(outer, 4));
            EXPECT_EQ(IDYES, MessageBox(outer, "Replace?", "Setup", MB_YESNO | MB_ICONQUESTION));
            EXPECT_TRUE(IsWindowEnabled(outer));
            EXPECT_EQ(IDCANCEL, Run(outer));  // a nested dialog, cancelled
            EXPECT_TRUE(IsWindowEnabled(outer));
            EXPECT_EQ(GetDlgItem(outer, 4), GetFocus()) << "the owner's focus came back";
            fw::headless::Click(GetDlgItem(outer, IDOK));
        } else {
            EXPECT_FALSE(IsWindowEnabled(outer));
            EXPECT_EQ(outer, GetWindow(modal.hwnd, GW_OWNER));
            fw::headless::KeyEscape(modal.hwnd);
        }
    });
    EXPECT_EQ(IDOK, Run());
    EXPECT_EQ((std::vector<std::string>{"Replace?|Setup"}), seen);
    EXPECT_FALSE(IsWindow(outer)) << "the run destroys its dialog";
}

TEST_F(ModalRun, HookLeavingTheDialogOpenOrNoHookAreErrorsAndCancel) {
    fw::headless::SetModalHook([](ModalWindow&) {});
    EXPECT_EQ(IDCANCEL, Run());
    std::vector<std::string> errors = fw::headless::TakeErrors();
    ASSERT_EQ(1u, errors.size());
    EXPECT_NE(std::string::npos, errors[0].find("still open"));

    fw::headless::SetModalHook(nullptr);
    EXPECT_EQ(IDCANCEL, Run());
    EXPECT_EQ(IDNO, MessageBox(nullptr, "?", "x", MB_YESNO));
    EXPECT_EQ(IDOK, MessageBox(nullptr, "!", "x", MB_OK));
    EXPECT_EQ(3u, fw::headless::TakeErrors().size());

    // An answer that is none of the box's buttons.
    fw::headless::SetModalHook([](ModalWindow& modal) { modal.result = IDYES; });
    EXPECT_EQ(IDOK, MessageBox(nullptr, "!", "x", MB_OK));
    EXPECT_EQ(1u, fw::headless::TakeErrors().size());
}

std::vector<std::string> g_ticks;

void CALLBACK ThreadTimer(HWND, UINT, UINT_PTR id, DWORD time) {
    g_ticks.push_back("thread " + std::to_string(id) + " at " + std::to_string(time));
}

LRESULT CALLBACK TickingWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        g_ticks.push_back("window " + std::to_string(wParam) + " at " +
                          std::to_string(fw::headless::Now()));
        if (wParam == 2) {
            KillTimer(hwnd, 2);  // a one-shot
        }
        return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

TEST_F(HeadlessDialog, TimersFireInTimeOrderOnTheVirtualClock) {
    WNDCLASS windowClass{};
    windowClass.lpfnWndProc = TickingWindow;
    windowClass.lpszClassName = "Ticking";
    ASSERT_TRUE(fw::headless::RegisterWindowClass(windowClass));
    HWND window = CreateWindowEx(0, "Ticking", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    g_ticks.clear();
    SetTimer(window, 1, 500, nullptr);
    SetTimer(window, 2, 700, nullptr);
    UINT_PTR thread = SetTimer(nullptr, 0, 1000, ThreadTimer);
    fw::headless::AdvanceClock(499);
    EXPECT_TRUE(g_ticks.empty());
    fw::headless::AdvanceClock(1501);
    EXPECT_EQ((std::vector<std::string>{"window 1 at 500", "window 2 at 700", "window 1 at 1000",
                                        "thread " + std::to_string(thread) + " at 1000",
                                        "window 1 at 1500", "window 1 at 2000",
                                        "thread " + std::to_string(thread) + " at 2000"}),
              g_ticks);
    // Setting a timer again restarts it; a killed one stays quiet.
    g_ticks.clear();
    SetTimer(window, 1, 300, nullptr);
    EXPECT_TRUE(KillTimer(nullptr, thread));
    fw::headless::AdvanceClock(600);
    EXPECT_EQ((std::vector<std::string>{"window 1 at 2300", "window 1 at 2600"}), g_ticks);
    DestroyWindow(window);
    g_ticks.clear();
    fw::headless::AdvanceClock(1000);
    EXPECT_TRUE(g_ticks.empty()) << "a destroyed window's timers went with it";
}

TEST_F(HeadlessDialog, PostedMessagesReachAWindowFoundByClassAndTitle) {
    HWND station = fw::headless::CreateTopLevelWindow("ZORVEK", "DataTransfer");
    fw::headless::CreateTopLevelWindow("ZORVEK", "Other");
    EXPECT_EQ(station, FindWindow("zorvek", "DataTransfer"));
    EXPECT_EQ(nullptr, FindWindow("ZORVEK", "Data"));
    EXPECT_EQ(nullptr, FindWindow("Nothing", nullptr));
    ASSERT_TRUE(PostMessage(FindWindow("ZORVEK", "DataTransfer"), WM_USER + 64, 0, 0));
    fw::headless::PumpMessages();
    PostMessage(station, WM_USER + 1, 7, 8);  // still queued
    std::vector<MSG> posted = fw::headless::TakePostedMessages(station);
    ASSERT_EQ(2u, posted.size());
    EXPECT_EQ(1088u, posted[0].message);
    EXPECT_EQ(static_cast<UINT>(WM_USER + 1), posted[1].message);
    EXPECT_EQ(7u, posted[1].wParam);
    EXPECT_TRUE(fw::headless::TakePostedMessages(station).empty());
    EXPECT_FALSE(PostMessage(reinterpret_cast<HWND>(0x4), WM_USER, 0, 0));
}

WNDPROC g_previous = nullptr;
std::vector<UINT> g_subclassed;

LRESULT CALLBACK Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    g_subclassed.push_back(message);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous));
    }
    return CallWindowProc(g_previous, hwnd, message, wParam, lParam);
}

TEST_F(HeadlessDialog, SubclassSeesEveryMessageAndPropertiesIgnoreCase) {
    HWND dialog = Create(Dialog(WS_POPUP | WS_VISIBLE, 100, 50, "MS Shell Dlg", 8,
                                {Item(ControlClass::Button, 1, BS_AUTOCHECKBOX, 5, 5, 50, 10)}));
    HWND check = GetDlgItem(dialog, 1);
    g_subclassed.clear();
    g_previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(check, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Subclass)));
    fw::headless::Click(check);
    EXPECT_EQ(BST_CHECKED, SendMessage(check, BM_GETCHECK, 0, 0)) << "default handling still runs";
    SetProp(dialog, "SetupTemplateId", reinterpret_cast<HANDLE>(1043));
    EXPECT_EQ(reinterpret_cast<HANDLE>(1043), GetProp(dialog, "SETUPTEMPLATEID"));
    EXPECT_EQ(reinterpret_cast<HANDLE>(1043), RemoveProp(dialog, "setuptemplateid"));
    EXPECT_EQ(nullptr, GetProp(dialog, "SetupTemplateId"));
    DestroyWindow(dialog);
    const std::vector<UINT> expected = {WM_LBUTTONDOWN, WM_LBUTTONUP, BM_GETCHECK, WM_DESTROY,
                                        WM_NCDESTROY};
    for (UINT message : expected) {
        EXPECT_NE(g_subclassed.end(), std::find(g_subclassed.begin(), g_subclassed.end(), message))
            << "message " << message;
    }
    EXPECT_FALSE(IsWindow(check));
}

TEST_F(HeadlessDialog, ShellRequestsAreRecordedAndAMousePressSetsTheCursorFirst) {
    EXPECT_GT(reinterpret_cast<uintptr_t>(ShellExecute(nullptr, "open", "http://example.invalid/",
                                                       nullptr, nullptr, SW_SHOWNORMAL)),
              32u);
    ShellExecute(nullptr, nullptr, "mailto:someone", nullptr, nullptr, SW_SHOWNORMAL);
    std::vector<fw::headless::ShellRequest> requests = fw::headless::ShellRequests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("open", requests[0].verb);
    EXPECT_EQ("http://example.invalid/", requests[0].file);
    EXPECT_EQ("", requests[1].verb);
    EXPECT_EQ(SW_SHOWNORMAL, requests[1].showCmd);

    HWND dialog = Create(Dialog(WS_POPUP | WS_VISIBLE, 100, 50, "MS Shell Dlg", 8,
                                {Item(ControlClass::Static, 1, SS_NOTIFY, 5, 5, 50, 10, "link")}));
    HWND label = GetDlgItem(dialog, 1);
    g_subclassed.clear();
    g_previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Subclass)));
    ASSERT_TRUE(fw::headless::LButtonDown(label, POINT{3, 4}));
    EXPECT_EQ((std::vector<UINT>{WM_SETCURSOR, WM_LBUTTONDOWN}), g_subclassed);
    EXPECT_EQ((std::vector<WORD>{STN_CLICKED}), CommandsFrom(1));
    EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), LoadCursor(nullptr, IDC_ARROW));
    EXPECT_NE(nullptr, LoadCursor(nullptr, IDC_HAND));
}

TEST_F(HeadlessDialog, ResetForgetsWindowsTimersQueueAndRecords) {
    HWND station = fw::headless::CreateTopLevelWindow("ZORVEK", "DataTransfer");
    SetTimer(nullptr, 0, 100, ThreadTimer);
    PostMessage(station, WM_USER, 0, 0);
    ShellExecute(nullptr, "open", "x", nullptr, nullptr, SW_SHOWNORMAL);
    MessageBox(nullptr, "no hook", "x", MB_OK);  // an error is recorded
    fw::headless::AdvanceClock(50);
    fw::headless::Reset();
    EXPECT_FALSE(IsWindow(station));
    EXPECT_EQ(nullptr, FindWindow("ZORVEK", nullptr));
    EXPECT_TRUE(fw::headless::ShellRequests().empty());
    EXPECT_TRUE(fw::headless::TakeErrors().empty());
    EXPECT_EQ(0u, fw::headless::Now());
    g_ticks.clear();
    fw::headless::AdvanceClock(1000);
    EXPECT_TRUE(g_ticks.empty());
    EXPECT_EQ(0u, fw::headless::LiveDeviceContexts());
}

}  // namespace

#endif  // !_WIN32
