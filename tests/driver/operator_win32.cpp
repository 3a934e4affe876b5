// The operator driver on Windows: a thread timer fires inside every modal
// loop of the test thread (DialogBox, MessageBox, the sheet's loop, the
// common dialogs), finds the newest window that came up and hands it to the
// Operator. Actions are real messages to the real windows of Setup.dll.
//
// Windows are told apart by the properties the framework sets: the sheet
// ("SetupSheet"), the module's dialogs ("SetupTemplateId"), the colour and
// file dialogs ("SetupCommonDialog": 1 colour, 2 open, 3 save); any other
// dialog-class window is a message box.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "driver/operator.h"
#include "driver/operator_backend.h"

namespace {

const char kSeenProp[] = "SetupDriverSeen";
const UINT kTickMs = 15;

UINT_PTR s_timer = 0;

std::string TextOf(HWND hwnd) {
    char buffer[1024] = {};
    ::GetWindowTextA(hwnd, buffer, sizeof(buffer));
    return buffer;
}

bool IsDialogClass(HWND hwnd) {
    char name[16] = {};
    ::GetClassNameA(hwnd, name, sizeof(name));
    return lstrcmpA(name, "#32770") == 0;
}

BOOL CALLBACK MarkSeen(HWND hwnd, LPARAM) {
    ::SetPropA(hwnd, kSeenProp, reinterpret_cast<HANDLE>(1));
    return TRUE;
}

BOOL CALLBACK FindNewWindow(HWND hwnd, LPARAM param) {
    if (::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd) && IsDialogClass(hwnd) &&
        ::GetPropA(hwnd, kSeenProp) == NULL) {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Delivers what an action posted (the close box posts IDCANCEL to a dialog),
// as the modal loop would before the person does anything else.
void DeliverPosted() {
    MSG msg;
    for (int i = 0; i < 1000 && ::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE);
         ++i) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Sends the keys a person presses through the dialog manager, as the modal
// loop would after taking them from the queue.
void PressKey(HWND topLevel, WPARAM key) {
    HWND target = ::GetFocus();
    if (target == NULL || (target != topLevel && !::IsChild(topLevel, target))) {
        target = topLevel;
    }
    const DWORD time = static_cast<DWORD>(::GetMessageTime());
    MSG down = {target, WM_KEYDOWN, key, 1, time, {0, 0}};
    MSG up = {target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u), time, {0, 0}};
    const bool sheet = ::GetPropA(topLevel, "SetupSheet") != NULL;
    for (MSG* msg : {&down, &up}) {
        const BOOL handled =
            sheet ? static_cast<BOOL>(::SendMessageA(topLevel, PSM_ISDIALOGMESSAGE, 0,
                                                     reinterpret_cast<LPARAM>(msg)))
                  : ::IsDialogMessageA(topLevel, msg);
        if (!handled && ::IsWindow(msg->hwnd)) {
            ::TranslateMessage(msg);
            ::DispatchMessageA(msg);
        }
        if (!::IsWindow(topLevel) || !::IsWindowVisible(topLevel)) {
            break;  // the key ended the window: no key-up reaches it
        }
    }
}

void TypeInto(HWND edit, const std::string& text) {
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
    if (text.empty()) {
        ::SendMessageA(edit, WM_CHAR, '\b', 1);
    }
    for (char c : text) {
        ::SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
}

bool Usable(HWND control) {
    return control != NULL && ::IsWindowVisible(control) && ::IsWindowEnabled(control);
}

// --- Message boxes --------------------------------------------------------

UINT IconOf(HWND box) {
    struct Icon {
        LPCSTR id;
        UINT type;
    };
    const Icon icons[] = {{IDI_HAND, MB_ICONHAND},
                          {IDI_QUESTION, MB_ICONQUESTION},
                          {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                          {IDI_ASTERISK, MB_ICONASTERISK}};
    for (HWND child = ::GetWindow(box, GW_CHILD); child != NULL;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
            continue;
        }
        HICON shown = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
        for (const Icon& icon : icons) {
            if (shown != NULL && shown == ::LoadIconA(NULL, icon.id)) {
                return icon.type;
            }
        }
    }
    return 0;
}

UINT ButtonsOf(HWND box) {
    auto has = [box](int id) { return ::IsWindowVisible(::GetDlgItem(box, id)) != FALSE; };
    if (has(IDABORT) && has(IDRETRY) && has(IDIGNORE)) {
        return MB_ABORTRETRYIGNORE;
    }
    if (has(IDYES) && has(IDNO)) {
        return has(IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
    }
    if (has(IDRETRY) && has(IDCANCEL)) {
        return MB_RETRYCANCEL;
    }
    if (has(IDOK) && has(IDCANCEL)) {
        return MB_OKCANCEL;
    }
    return MB_OK;
}

std::string MessageTextOf(HWND box) {
    // Windows gives the text static the ID 0xFFFF; Wine gives it another one.
    if (HWND text = ::GetDlgItem(box, 0xFFFF)) {
        return TextOf(text);
    }
    for (HWND child = ::GetWindow(box, GW_CHILD); child != NULL;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = {};
        ::GetClassNameA(child, name, sizeof(name));
        if (lstrcmpiA(name, "Static") == 0 &&
            (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
            return TextOf(child);
        }
    }
    return std::string();
}

void HandleMessageBox(Operator& op, HWND box) {
    MessageBoxSeen seen;
    seen.text = MessageTextOf(box);
    seen.caption = TextOf(box);
    seen.type = ButtonsOf(box) | IconOf(box);
    seen.owner = ::GetWindow(box, GW_OWNER);
    const int answer = op.AnswerMessageBox(seen);
    HWND button = ::GetDlgItem(box, answer);
    if (Usable(button)) {
        ::SendMessageA(button, BM_CLICK, 0, 0);
    } else {
        ::SendMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    }
    if (::IsWindow(box) && ::IsWindowVisible(box)) {
        ADD_FAILURE() << "the message box \"" << seen.text << "\" did not close on button "
                      << answer;
        ::EndDialog(box, answer);
    }
}

// --- The colour dialog ------------------------------------------------------

// Control IDs of the colour dialog (colordlg.h).
const int kColorRed = 706;
const int kColorGreen = 707;
const int kColorBlue = 708;
const int kColorDefineCustom = 719;

void HandleColorDialog(Operator& op, HWND dialog) {
    ColorDialogSeen seen;
    seen.initial = RGB(::GetDlgItemInt(dialog, kColorRed, NULL, FALSE),
                       ::GetDlgItemInt(dialog, kColorGreen, NULL, FALSE),
                       ::GetDlgItemInt(dialog, kColorBlue, NULL, FALSE));
    seen.owner = ::GetWindow(dialog, GW_OWNER);
    const ColorChoice choice = op.AnswerColorDialog(seen);
    if (choice.picked) {
        // As a person would: open the custom colour part, type red, green and
        // blue, press OK.
        HWND define = ::GetDlgItem(dialog, kColorDefineCustom);
        if (Usable(define)) {
            ::SendMessageA(define, BM_CLICK, 0, 0);
        }
        const int parts[] = {GetRValue(choice.color), GetGValue(choice.color),
                             GetBValue(choice.color)};
        const int edits[] = {kColorRed, kColorGreen, kColorBlue};
        for (int i = 0; i < 3; ++i) {
            HWND edit = ::GetDlgItem(dialog, edits[i]);
            if (edit == NULL) {
                ADD_FAILURE() << "the colour dialog has no edit " << edits[i];
                continue;
            }
            ::SetFocus(edit);
            TypeInto(edit, std::to_string(parts[i]));
        }
        ::SendMessageA(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    } else {
        ::SendMessageA(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    }
    if (::IsWindow(dialog) && ::IsWindowVisible(dialog)) {
        ADD_FAILURE() << "the colour dialog did not close";
        ::EndDialog(dialog, 0);
    }
}

// --- The file dialogs ---------------------------------------------------------

// Control IDs of the explorer-style file dialog (dlgs.h).
const int kFileTypes = 0x470;      // cmb1
const int kFileNameCombo = 0x47c;  // cmb13
const int kFileNameEdit = 0x480;   // edt1
const int kReadOnly = 0x410;       // chx1

// The folder the dialog shows.
std::string FolderOf(HWND dialog) {
    char buffer[MAX_PATH * 2] = {};
    if (::SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof(buffer),
                       reinterpret_cast<LPARAM>(buffer)) <= 0) {
        return std::string();
    }
    return buffer;
}

// Two spellings of one folder: letter case and a trailing separator aside.
bool SameFolder(std::string a, std::string b) {
    for (std::string* folder : {&a, &b}) {
        while (folder->size() > 3 && (folder->back() == '\\' || folder->back() == '/')) {
            folder->pop_back();
        }
    }
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

void TypeFileName(HWND dialog, const std::string& text) {
    const int nameId = ::GetDlgItem(dialog, kFileNameEdit) != NULL ? kFileNameEdit : kFileNameCombo;
    ::SendMessageA(dialog, CDM_SETCONTROLTEXT, nameId, reinterpret_cast<LPARAM>(text.c_str()));
}

void HandleFileDialog(Operator& op, HWND dialog, bool save) {
    FileDialogSeen seen;
    seen.kind = save ? FileDialogSeen::Save : FileDialogSeen::Open;
    seen.title = TextOf(dialog);
    seen.folder = FolderOf(dialog);
    char buffer[MAX_PATH * 2] = {};
    if (::SendMessageA(dialog, CDM_GETSPEC, sizeof(buffer), reinterpret_cast<LPARAM>(buffer)) > 0) {
        seen.fileName = buffer;
    }
    if (HWND types = ::GetDlgItem(dialog, kFileTypes)) {
        const int count = static_cast<int>(::SendMessageA(types, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            buffer[0] = '\0';
            if (::SendMessageA(types, CB_GETLBTEXTLEN, i, 0) < LRESULT(sizeof(buffer))) {
                ::SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer));
            }
            seen.filters.push_back(buffer);
        }
    }
    seen.hideReadOnly = !::IsWindowVisible(::GetDlgItem(dialog, kReadOnly));
    seen.owner = ::GetWindow(dialog, GW_OWNER);

    const FileChoice choice = op.AnswerFileDialog(seen);
    if (!choice.chosen) {
        ::SendMessageA(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    } else {
        // As a person would: to the path's folder first, then the bare name
        // into the file name field and OK. The dialog makes the folder it
        // shows the current directory; a whole path typed as the name would
        // leave it in the folder it opened in.
        const size_t cut = choice.path.find_last_of("\\/");
        const std::string folder = cut == std::string::npos ? "" : choice.path.substr(0, cut + 1);
        const std::string name = choice.path.substr(folder.size());
        if (!folder.empty() && !SameFolder(folder, FolderOf(dialog))) {
            TypeFileName(dialog, folder);
            ::SendMessageA(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
            if (!::IsWindow(dialog) || !::IsWindowVisible(dialog)) {
                ADD_FAILURE() << "the file dialog closed on the folder " << folder;
                return;
            }
            if (!SameFolder(folder, FolderOf(dialog))) {
                ADD_FAILURE() << "the file dialog did not go to " << folder << " (it shows "
                              << FolderOf(dialog) << ")";
            }
        }
        TypeFileName(dialog, name);
        const size_t seenBefore = op.Seen().size();
        ::SendMessageA(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        if (::IsWindow(dialog) && ::IsWindowVisible(dialog)) {
            // The dialog asked something (replace the file?) and the answer
            // kept it open: the person cancels. Without a question it refused
            // the path.
            if (op.Seen().size() == seenBefore) {
                ADD_FAILURE() << "the file dialog did not take the path " << choice.path;
            }
            ::SendMessageA(::GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
        }
    }
    if (::IsWindow(dialog) && ::IsWindowVisible(dialog)) {
        ADD_FAILURE() << "the file dialog did not close";
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
}

// --- The tick -------------------------------------------------------------------

// A window that came up while no Operator acts: a test that opens a modal
// window must say who answers it. It is cancelled so that the test ends (as
// the headless window system ends such a run).
void CancelUnexpected(HWND window) {
    DialogDriver driver(window);
    ADD_FAILURE() << "a window (\"" << TextOf(window)
                  << "\") came up while no Operator was acting; it is cancelled";
    driver.PressEscape();
    if (driver.IsOpen()) {
        driver.CloseBox();
    }
    if (driver.IsOpen()) {
        driver_backend::ForceEnd(window, ::GetPropA(window, "SetupSheet") != NULL);
    }
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = NULL;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindNewWindow, reinterpret_cast<LPARAM>(&window));
    if (window == NULL) {
        return;
    }
    // Marked first: the handler's actions run nested modal loops, where this
    // timer fires again and must look only for newer windows.
    ::SetPropA(window, kSeenProp, reinterpret_cast<HANDLE>(1));

    Operator* op = Operator::Current();
    if (op == nullptr) {
        CancelUnexpected(window);
        return;
    }

    if (::GetPropA(window, "SetupSheet") != NULL) {
        op->RunSheet(window);
    } else if (HANDLE common = ::GetPropA(window, "SetupCommonDialog")) {
        const INT_PTR kind = reinterpret_cast<INT_PTR>(common);
        if (kind == 1) {
            HandleColorDialog(*op, window);
        } else {
            HandleFileDialog(*op, window, kind == 3);
        }
    } else if (::GetPropA(window, "SetupTemplateId") != NULL) {
        op->RunDialog(window);
    } else {
        HandleMessageBox(*op, window);
    }
}

// The tests of one run go on in several processes at once, and Setup.dll
// tells the station by the station window's class and title: in a shared
// desktop one process's sheet would tell another process's station window.
// Each test process therefore keeps its windows on a desktop of its own,
// taken before its first window. A process that cannot have one stops, as
// its results could be another process's.
void UseOwnDesktop() {
    static bool s_done = false;
    if (s_done) {
        return;
    }
    s_done = true;
    char name[64];
    std::snprintf(name, sizeof(name), "setup-tests-%lu", ::GetCurrentProcessId());
    HDESK desktop = ::CreateDesktopA(name, NULL, NULL, 0, GENERIC_ALL, NULL);
    if (desktop == NULL || !::SetThreadDesktop(desktop)) {
        std::fprintf(stderr, "the test process cannot have a desktop of its own (error %lu)\n",
                     ::GetLastError());
        std::exit(2);
    }
}

}  // namespace

namespace driver_backend {

// Windows that are already up when an Operator starts (a test's own
// modeless owner window) are not the modal windows it answers.
void Arm() {
    if (s_timer == 0) {
        s_timer = ::SetTimer(NULL, 0, kTickMs, Tick);
    }
    ::EnumThreadWindows(::GetCurrentThreadId(), MarkSeen, 0);
}

// The timer stays: between operators it cancels what nobody expects.
void Disarm() {}

void Click(HWND control) {
    char className[16] = "";
    ::GetClassNameA(control, className, sizeof(className));
    if (::lstrcmpiA(className, "Static") != 0) {
        ::SendMessageA(control, BM_CLICK, 0, 0);
        DeliverPosted();
        return;
    }
    // A static has no BM_CLICK: the mouse goes to what lies under its centre,
    // and a static without SS_NOTIFY lets it through to its parent.
    RECT client;
    ::GetClientRect(control, &client);
    POINT point = {client.right / 2, client.bottom / 2};
    HWND target = control;
    for (;;) {
        POINT screen = point;
        ::ClientToScreen(target, &screen);
        HWND parent = ::GetParent(target);
        if (parent == NULL || !(::GetWindowLongA(target, GWL_STYLE) & WS_CHILD) ||
            ::SendMessageA(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)) !=
                HTTRANSPARENT) {
            break;
        }
        ::MapWindowPoints(target, parent, &point, 1);
        target = parent;
    }
    const LPARAM where = MAKELPARAM(point.x, point.y);
    ::SendMessageA(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                   MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    ::SendMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, where);
    ::SendMessageA(target, WM_LBUTTONUP, 0, where);
    DeliverPosted();
}

void TypeChar(HWND control, char c) {
    ::SendMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
    DeliverPosted();
}

void PressEnter(HWND topLevel) {
    PressKey(topLevel, VK_RETURN);
    DeliverPosted();
}
void PressEscape(HWND topLevel) {
    PressKey(topLevel, VK_ESCAPE);
    DeliverPosted();
}

void CloseBox(HWND topLevel) {
    ::SendMessageA(topLevel, WM_SYSCOMMAND, SC_CLOSE, 0);
    DeliverPosted();
}

void PickTab(HWND sheet, int index) {
    // As the tab control reports a click on a tab: the sheet may refuse the
    // change (the page being left did not validate).
    HWND tab = reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    NMHDR notify = {tab, static_cast<UINT_PTR>(::GetDlgCtrlID(tab)), TCN_SELCHANGING};
    if (::SendMessageA(sheet, WM_NOTIFY, notify.idFrom, reinterpret_cast<LPARAM>(&notify))) {
        return;
    }
    ::SendMessageA(tab, TCM_SETCURSEL, index, 0);
    notify.code = TCN_SELCHANGE;
    ::SendMessageA(sheet, WM_NOTIFY, notify.idFrom, reinterpret_cast<LPARAM>(&notify));
    DeliverPosted();
}

void Wait(unsigned ms) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= ms) {
            return;
        }
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, ms - elapsed, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

bool CanReadPixels() {
    return false;
}

COLORREF Pixel(HWND, int, int) {
    ADD_FAILURE() << "painted pixels cannot be read on this window system";
    return CLR_INVALID;
}

void ForceEnd(HWND window, bool isSheet) {
    if (isSheet) {
        ::DestroyWindow(window);  // the sheet's loop ends when its window is gone
    } else {
        ::EndDialog(window, IDCANCEL);
    }
}

void ReportErrors() {}

void ResetWindowSystem() {
    UseOwnDesktop();
    if (s_timer == 0) {
        s_timer = ::SetTimer(NULL, 0, kTickMs, Tick);
    }
}

}  // namespace driver_backend

#endif  // _WIN32
