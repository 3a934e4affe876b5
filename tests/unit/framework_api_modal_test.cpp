// The modal contract of fw::api that the framework's classes stand on, on
// both window systems: message boxes return the button pressed, a modal
// dialog returns its EndDialog result, and a property sheet ends only through
// EndDialog (with its result) or Cancel / Escape / the close box (IDCANCEL),
// with its owner disabled while it runs and nothing left behind. Dialog
// procedures here are plain DLGPROCs, below the framework's classes.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"
#include "framework/api.h"
#include "platform/files.h"
#include "unit/framework_test_support.h"
#include "unit/settings_test_support.h"

#if !defined(_WIN32)
#include "framework/headless/headless.h"
#endif

namespace api = fw::api;
using fwtest::CaptureFailures;
using fwtest::RefusedWith;
using fwtest::TemplateBuilder;

namespace {

#if defined(_WIN32)
const char kSeparator = '\\';
#else
const char kSeparator = '/';
#endif

const int kTestDialogId = 9001;
const int kEdit = 100;
const int kLocked = 101;
const int kAsk = 102;
const int kEndSeven = 200;

std::string TextOf(HWND hwnd) {
    char buffer[256] = {};
    api::GetWindowText(hwnd, buffer, sizeof(buffer));
    return buffer;
}

// What the raw dialog saw.
struct RawDialogState {
    std::string okText;
    int answer = 0;
} g_raw;

INT_PTR CALLBACK RawDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG:
            api::SetProp(hwnd, "SetupTemplateId", reinterpret_cast<HANDLE>(INT_PTR(kTestDialogId)));
            api::SendMessage(api::GetDlgItem(hwnd, kEdit), EM_LIMITTEXT, 5, 0);
            api::EnableWindow(api::GetDlgItem(hwnd, kLocked), FALSE);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    g_raw.okText = TextOf(api::GetDlgItem(hwnd, kEdit));
                    api::EndDialog(hwnd, IDOK);
                    return TRUE;
                case IDCANCEL:
                    api::EndDialog(hwnd, IDCANCEL);
                    return TRUE;
                case kAsk:
                    g_raw.answer =
                        api::MessageBox(hwnd, "Keep it?", "Question", MB_YESNO | MB_ICONQUESTION);
                    return TRUE;
            }
            break;
    }
    return FALSE;
}

TemplateBuilder RawDialog() {
    TemplateBuilder dialog("Raw", 160, 80);
    dialog.Edit(kEdit, 7, 7, 100)
        .Button(kLocked, "Locked", 7, 25)
        .Button(kAsk, "Ask", 60, 25)
        .DefButton(IDOK, "OK", 50, 60)
        .Button(IDCANCEL, "Cancel", 105, 60);
    return dialog;
}

}  // namespace

TEST(FrameworkApiModal, MessageBoxShowsTextAndReturnsTheButtonPressed) {
    struct Case {
        UINT type;
        int answer;
    };
    const Case cases[] = {{MB_OK | MB_ICONEXCLAMATION, IDOK},
                          {MB_YESNO | MB_ICONQUESTION, IDYES},
                          {MB_YESNO | MB_ICONQUESTION, IDNO},
                          {MB_OKCANCEL, IDCANCEL}};
    for (const Case& c : cases) {
        Operator op;
        op.OnMessageBox([&](MessageBoxSeen& m) {
            EXPECT_EQ("Line one\nline two", m.text);
            EXPECT_EQ("Caption", m.caption);
            EXPECT_EQ(c.type & MB_TYPEMASK, m.Buttons());
            EXPECT_EQ(c.type & MB_ICONMASK, m.Icon());
            return c.answer;
        });
        EXPECT_EQ(c.answer, api::MessageBox(NULL, "Line one\nline two", "Caption", c.type));
    }
}

TEST(FrameworkApiModal, DialogReturnsItsEndDialogResultAndRefusesDisabledControls) {
    TemplateBuilder dialog = RawDialog();
    g_raw = RawDialogState();
    Operator op;
    op.OnDialog(kTestDialogId, [](DialogDriver& d) {
        EXPECT_EQ("Raw", d.Caption());
        d.Type(kEdit, "abcdefgh");  // the limit keeps the first five
        EXPECT_EQ("abcde", d.Text(kEdit));
        EXPECT_FALSE(d.IsEnabled(kLocked));
        EXPECT_TRUE(RefusedWith(CaptureFailures([&] { d.Click(kLocked); }), "disabled"));
        d.Click(IDOK);
    });
    EXPECT_EQ(IDOK, api::DialogBoxIndirectParam(api::ModuleInstance(), dialog.Get(), NULL,
                                                RawDialogProc, 0));
    EXPECT_EQ("abcde", g_raw.okText);
    EXPECT_EQ(0, op.Pending());
}

TEST(FrameworkApiModal, MessageBoxNestedInADialogIsOwnedByIt) {
    TemplateBuilder dialog = RawDialog();
    g_raw = RawDialogState();
    Operator op;
    op.OnDialog(kTestDialogId, [](DialogDriver& d) {
        d.Click(kAsk);  // the message box comes up and is answered inside the click
        EXPECT_EQ(IDNO, g_raw.answer);
        EXPECT_TRUE(d.IsOpen());
        d.PressEscape();
    });
    op.OnMessageBox([](MessageBoxSeen& m) {
        EXPECT_EQ("Keep it?", m.text);
        EXPECT_EQ(kTestDialogId, m.ownerTemplateId);
        return IDNO;
    });
    EXPECT_EQ(IDCANCEL, api::DialogBoxIndirectParam(api::ModuleInstance(), dialog.Get(), NULL,
                                                    RawDialogProc, 0));
    const std::vector<std::string> expected = {"dialog 9001", "message box: Keep it?"};
    EXPECT_EQ(expected, op.Seen());
}

TEST(FrameworkApiModal, DialogLeftOpenByItsHandlerFailsAndIsCancelled) {
    TemplateBuilder dialog = RawDialog();
    INT_PTR result = 0;
    const std::vector<std::string> failures = CaptureFailures([&] {
        Operator op;
        op.OnDialog(kTestDialogId, [](DialogDriver&) {});
        result = api::DialogBoxIndirectParam(api::ModuleInstance(), dialog.Get(), NULL,
                                             RawDialogProc, 0);
    });
    EXPECT_TRUE(RefusedWith(failures, "still open"));
    EXPECT_EQ(IDCANCEL, result);
}

// --- The property sheet loop ---------------------------------------------------

namespace {

struct SheetState {
    std::vector<int> created;  // page numbers in the order their windows were made
    int killActive = 0;        // PSN_KILLACTIVE seen by the first page
    int refusals = 0;          // how many of them the first page still refuses
} g_sheet;

INT_PTR CALLBACK RawPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG: {
            const PROPSHEETPAGE* entry = reinterpret_cast<const PROPSHEETPAGE*>(lParam);
            g_sheet.created.push_back(static_cast<int>(entry->lParam));
            api::SetProp(api::GetParent(page), "SetupSheet", reinterpret_cast<HANDLE>(1));
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == kEndSeven) {
                api::EndDialog(api::GetParent(page), 7);
                return TRUE;
            }
            break;
        case WM_NOTIFY:
            if (reinterpret_cast<const NMHDR*>(lParam)->code == PSN_KILLACTIVE &&
                api::GetDlgItem(page, kEndSeven) != NULL) {
                ++g_sheet.killActive;
                const BOOL refuse = g_sheet.refusals > 0;
                g_sheet.refusals -= refuse ? 1 : 0;
                api::SetWindowLongPtr(page, DWLP_MSGRESULT, refuse);
                return TRUE;
            }
            break;
    }
    return FALSE;
}

// Runs a sheet of two raw pages owned by `owner` and returns its result.
INT_PTR RunRawSheet(HWND owner, int refusals = 0) {
    TemplateBuilder first("First", 200, 100, TemplateBuilder::kPageStyle);
    first.Button(kEndSeven, "End with 7", 7, 7);
    TemplateBuilder second("Second", 200, 100, TemplateBuilder::kPageStyle);
    second.Label(300, "Second page", 7, 7, 100, 10);

    PROPSHEETPAGE pages[2] = {};
    TemplateBuilder* templates[2] = {&first, &second};
    for (int i = 0; i < 2; ++i) {
        pages[i].dwSize = sizeof(PROPSHEETPAGE);
        pages[i].dwFlags = PSP_DLGINDIRECT;
        pages[i].hInstance = api::ModuleInstance();
        pages[i].pResource = templates[i]->Get();
        pages[i].pfnDlgProc = RawPageProc;
        pages[i].lParam = i;
    }
    PROPSHEETHEADER header = {};
    header.dwSize = sizeof(PROPSHEETHEADER);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    header.hwndParent = owner;
    header.hInstance = api::ModuleInstance();
    header.pszCaption = "Raw sheet";
    header.nPages = 2;
    header.nStartPage = 0;
    header.ppsp = pages;
    g_sheet = SheetState();
    g_sheet.refusals = refusals;
    return api::PropertySheet(&header);
}

INT_PTR CALLBACK OwnerProc(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG;
}

}  // namespace

TEST(FrameworkApiModal, SheetEndsWithTheResultGivenToEndDialog) {
    TemplateBuilder ownerTemplate("Owner", 100, 50, TemplateBuilder::kDialogStyle | WS_VISIBLE);
    HWND owner = api::CreateDialogIndirectParam(api::ModuleInstance(), ownerTemplate.Get(), NULL,
                                                OwnerProc, 0);
    ASSERT_NE(nullptr, owner);
    HWND sheetSeen = NULL;
    Operator op;
    op.OnSheet([&](SheetDriver& s) {
        sheetSeen = s.Hwnd();
        EXPECT_FALSE(api::IsWindowEnabled(owner))
            << "the owner takes no input while the sheet runs";
        EXPECT_EQ("Raw sheet", s.Caption());
        EXPECT_EQ(2, s.PageCount());
        EXPECT_EQ("First", s.TabTitle(0));
        EXPECT_EQ("Second", s.TabTitle(1));
        s.Click(kEndSeven);  // on the page: the page ends the sheet
    });
    EXPECT_EQ(7, RunRawSheet(owner));
    EXPECT_TRUE(api::IsWindowEnabled(owner));
    EXPECT_FALSE(api::IsWindow(sheetSeen)) << "the sheet window is destroyed when it ends";
    EXPECT_EQ(std::vector<int>{0}, g_sheet.created) << "only the page shown is created";
    api::DestroyWindow(owner);
}

TEST(FrameworkApiModal, SheetCancelledByCancelEscapeOrCloseBoxReturnsIdCancel) {
    const std::vector<std::function<void(SheetDriver&)>> ways = {
        [](SheetDriver& s) { s.Click(IDCANCEL); },
        [](SheetDriver& s) { s.PressEscape(); },
        [](SheetDriver& s) { s.CloseBox(); },
    };
    for (size_t i = 0; i < ways.size(); ++i) {
        SCOPED_TRACE(i);
        Operator op;
        op.OnSheet([&](SheetDriver& s) {
            s.PickTab(1);
            EXPECT_EQ(1, s.ActiveIndex());
            ways[i](s);
        });
        EXPECT_EQ(IDCANCEL, RunRawSheet(NULL));
        EXPECT_EQ((std::vector<int>{0, 1}), g_sheet.created);
    }
}

TEST(FrameworkApiModal, SheetAsksThePageBeingLeftAndKeepsItWhenItRefuses) {
    Operator op;
    op.OnSheet([](SheetDriver& s) {
        s.PickTab(1);  // refused once
        EXPECT_EQ(0, s.ActiveIndex());
        EXPECT_TRUE(s.Page().Exists(kEndSeven)) << "the first page stays on top";
        EXPECT_EQ(1, g_sheet.killActive);
        s.PickTab(1);
        EXPECT_EQ(1, s.ActiveIndex());
        EXPECT_EQ(2, g_sheet.killActive) << "one question per tab click";
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, RunRawSheet(NULL, 1));
}

// --- Common dialogs ----------------------------------------------------------------

namespace {

// The framework marks its common dialogs for the operator in a hook; so do
// these tests, below the framework.
UINT_PTR CALLBACK ColorHook(HWND dialog, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_INITDIALOG) {
        api::SetProp(dialog, "SetupCommonDialog", reinterpret_cast<HANDLE>(1));
    }
    return 0;
}

UINT_PTR CALLBACK OpenHook(HWND child, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_INITDIALOG) {
        api::SetProp(api::GetParent(child), "SetupCommonDialog", reinterpret_cast<HANDLE>(2));
    }
    return 0;
}

UINT_PTR CALLBACK SaveHook(HWND child, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_INITDIALOG) {
        api::SetProp(api::GetParent(child), "SetupCommonDialog", reinterpret_cast<HANDLE>(3));
    }
    return 0;
}

struct ColorRun {
    BOOL result;
    COLORREF color;
};

ColorRun RunColorDialog(COLORREF initial) {
    static COLORREF custom[16] = {};
    CHOOSECOLOR choose = {};
    choose.lStructSize = sizeof(choose);
    choose.rgbResult = initial;
    choose.lpCustColors = custom;
    choose.Flags = CC_RGBINIT | CC_ENABLEHOOK;
    choose.lpfnHook = ColorHook;
    const BOOL result = api::ChooseColor(&choose);
    return {result, choose.rgbResult};
}

struct FileRun {
    BOOL result;
    std::string path;
};

FileRun RunFileDialog(bool save, const std::string& folder, DWORD flags) {
    char path[MAX_PATH] = "job";
    OPENFILENAME ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.lpstrFilter = "Job files (*.ini)\0*.ini\0All files (*.*)\0*.*\0";
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof(path);
    ofn.lpstrInitialDir = folder.c_str();
    ofn.lpstrTitle = save ? "Export Job" : "Import Job";
    ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLEHOOK;
    ofn.lpfnHook = save ? SaveHook : OpenHook;
    const BOOL result = save ? api::GetSaveFileName(&ofn) : api::GetOpenFileName(&ofn);
    return {result, path};
}

}  // namespace

TEST(FrameworkApiModal, ColorDialogReturnsTheColourPickedOrNothingOnCancel) {
    {
        Operator op;
        op.OnColorDialog([](ColorDialogSeen& c) {
            EXPECT_EQ(RGB(0, 128, 0), c.initial);
            return ColorChoice::Pick(RGB(10, 200, 30));
        });
        const ColorRun run = RunColorDialog(RGB(0, 128, 0));
        EXPECT_TRUE(run.result);
        EXPECT_EQ(RGB(10, 200, 30), run.color);
    }
    {
        Operator op;
        op.OnColorDialog([](ColorDialogSeen&) { return ColorChoice::Cancel(); });
        EXPECT_FALSE(RunColorDialog(RGB(1, 2, 3)).result);
    }
}

TEST(FrameworkApiModal, FileDialogsReturnThePathChosenAndAskBeforeReplacing) {
    Station station;  // a fresh folder
    const std::string existing = station.Path("old.ini");
    Station::WriteFile(existing, "[Setup]\r\n");

    Operator op;
    op.OnFileDialog([&](FileDialogSeen& f) {
        EXPECT_EQ(FileDialogSeen::Open, f.kind);
        EXPECT_EQ("Import Job", f.title);
        EXPECT_EQ((std::vector<std::string>{"Job files (*.ini)", "All files (*.*)"}), f.filters);
        EXPECT_TRUE(f.hideReadOnly);
        return FileChoice::Path(existing);
    });
    FileRun run = RunFileDialog(false, station.Dir(), OFN_HIDEREADONLY | OFN_FILEMUSTEXIST);
    EXPECT_TRUE(run.result);
    EXPECT_EQ(existing, run.path);

    // Save onto an existing file: the dialog asks; No keeps the file and the
    // person cancels, Yes takes the path.
    for (int answer : {IDNO, IDYES}) {
        op.OnFileDialog([&](FileDialogSeen& f) {
            EXPECT_EQ(FileDialogSeen::Save, f.kind);
            EXPECT_EQ("Export Job", f.title);
            return FileChoice::Path(existing);
        });
        op.OnMessageBox([&](MessageBoxSeen& m) {
            EXPECT_EQ(MB_YESNO, m.Buttons());
            EXPECT_NE(std::string::npos, m.text.find("already exists")) << m.text;
            return answer;
        });
        run = RunFileDialog(true, station.Dir(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
        EXPECT_EQ(answer == IDYES, run.result != FALSE);
        if (answer == IDYES) {
            EXPECT_EQ(existing, run.path);
        }
    }

    op.OnFileDialog([](FileDialogSeen&) { return FileChoice::Cancel(); });
    EXPECT_FALSE(RunFileDialog(true, station.Dir(), OFN_HIDEREADONLY).result);
}

// Two spellings of one folder: a trailing separator aside, and letter case
// on Windows.
::testing::AssertionResult SameFolder(std::string a, std::string b) {
    const std::string shownA = a;
    const std::string shownB = b;
    for (std::string* folder : {&a, &b}) {
        while (folder->size() > 3 && (folder->back() == '\\' || folder->back() == '/')) {
            folder->pop_back();
        }
#if defined(_WIN32)
        for (char& c : *folder) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
#endif
    }
    if (a == b) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << shownA << " is not " << shownB;
}

// The dialog makes the folder it shows the process's current directory: on
// opening its initial directory (or, when that is no folder, the current
// one), and the folder the person went to, whether the dialog is then
// confirmed or cancelled.
TEST(FrameworkApiModal, FileDialogsLeaveTheProcessInTheFolderShown) {
    Station station;
    testsupport::CurrentDirectoryScope back(station.Dir());
    const std::string in = station.Path("In");
    const std::string out = station.Path("Out");
    std::filesystem::create_directory(std::filesystem::path(in));
    std::filesystem::create_directory(std::filesystem::path(out));
    const std::string existing = out + kSeparator + "old.ini";
    Station::WriteFile(existing, "[Setup]\r\n");

    Operator op;
    op.OnFileDialog([&](FileDialogSeen& f) {
        EXPECT_TRUE(SameFolder(in, f.folder));
        EXPECT_TRUE(SameFolder(in, files::CurrentDirectory()));
        return FileChoice::Cancel();
    });
    EXPECT_FALSE(RunFileDialog(false, in, OFN_HIDEREADONLY).result);
    EXPECT_TRUE(SameFolder(in, files::CurrentDirectory())) << "cancelled";

    op.OnFileDialog([&](FileDialogSeen&) { return FileChoice::Path(existing); });
    FileRun run = RunFileDialog(false, in, OFN_HIDEREADONLY);
    EXPECT_TRUE(run.result);
    EXPECT_EQ(existing, run.path);
    EXPECT_TRUE(SameFolder(out, files::CurrentDirectory())) << "confirmed in another folder";

    // No such initial directory: the dialog picks a folder of its own (on
    // Windows the one this program used last, which a test process running
    // beside this one may have set), and that folder is then the current one.
    std::string shown;
    op.OnFileDialog([&](FileDialogSeen& f) {
        shown = f.folder;
        EXPECT_TRUE(SameFolder(shown, files::CurrentDirectory()));
        return FileChoice::Cancel();
    });
    EXPECT_FALSE(RunFileDialog(false, station.Path("Missing"), OFN_HIDEREADONLY).result);
    EXPECT_TRUE(SameFolder(shown, files::CurrentDirectory()));

    // Gone to a folder, then No to replacing the file there: cancelled, and
    // the process is in that folder.
    op.OnFileDialog([&](FileDialogSeen&) { return FileChoice::Path(existing); });
    op.OnMessageBox([](MessageBoxSeen&) { return IDNO; });
    EXPECT_FALSE(RunFileDialog(true, station.Dir(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT).result);
    EXPECT_TRUE(SameFolder(out, files::CurrentDirectory()));
}

namespace {

#if defined(_WIN32)
BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}
#endif

// What the window system holds for the process: windows of the thread and
// GDI and USER objects on Windows (where it counts them), GDI objects and
// device contexts natively.
std::vector<size_t> HeldResources() {
#if defined(_WIN32)
    int windows = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&windows));
    return {static_cast<size_t>(windows), ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
            ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)};
#else
    return {fw::headless::LiveGdiObjects(), fw::headless::LiveDeviceContexts()};
#endif
}

}  // namespace

// A dialog, a message box and a sheet leave nothing of theirs behind once
// they have ended.
TEST(FrameworkApiModal, NothingIsLeftBehindWhenTheWindowsEnd) {
    TemplateBuilder dialog = RawDialog();
    auto runAll = [&] {
        Operator op;
        op.OnDialog(kTestDialogId, [](DialogDriver& d) {
            d.Click(kAsk);
            d.Click(IDOK);
        });
        op.OnMessageBox([](MessageBoxSeen&) { return IDYES; });
        op.OnSheet([](SheetDriver& s) {
            s.PickTab(1);
            s.Click(IDCANCEL);
        });
        api::DialogBoxIndirectParam(api::ModuleInstance(), dialog.Get(), NULL, RawDialogProc, 0);
        RunRawSheet(NULL);
    };
    runAll();  // the first run registers classes and loads what stays loaded
    const std::vector<size_t> held = HeldResources();
    for (int i = 0; i < 3; ++i) {
        runAll();
    }
    EXPECT_EQ(held, HeldResources());
}
