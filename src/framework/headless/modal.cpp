// Modal runs that are records rather than windows (message boxes, the colour
// and file dialogs), the modal hook they and the dialogs and sheets go
// through, the shell, the module's instance, and the operator's actions.
#include <sys/stat.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "framework/api.h"
#include "framework/headless/dialog_manager.h"
#include "framework/headless/window_manager.h"
#include "platform/files.h"

namespace fw::headless::detail {

namespace {

const char* KindName(ModalWindow::Kind kind) {
    // In the order of ModalWindow::Kind.
    static const char* const kNames[] = {"dialog",        "property sheet",   "message box",
                                         "colour dialog", "open file dialog", "save file dialog"};
    const auto index = static_cast<size_t>(kind);
    return index < std::size(kNames) ? kNames[index] : "modal window";
}

// The buttons of a message box type, the first being what closing it gives.
std::vector<int> MessageBoxButtons(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {IDCANCEL, IDOK};
        case MB_ABORTRETRYIGNORE:
            return {IDABORT, IDRETRY, IDIGNORE};
        case MB_YESNOCANCEL:
            return {IDCANCEL, IDYES, IDNO};
        case MB_YESNO:
            return {IDNO, IDYES};
        case MB_RETRYCANCEL:
            return {IDCANCEL, IDRETRY};
        default:
            return {IDOK};
    }
}

bool Usable(HWND hwnd) {
    return FindWin(hwnd) != nullptr && IsVisibleDeep(hwnd) && IsEnabledDeep(hwnd);
}

bool IsFolder(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(files::NativePath(path).c_str(), &st) == 0 &&
           S_ISDIR(st.st_mode);
}

// Where a file dialog opens: the folder of the name it is given, its initial
// directory, or the current directory, the first that is a folder.
std::string OpeningFolder(const OPENFILENAME* ofn) {
    const std::string name = ofn->lpstrFile;
    const size_t separator = name.find_last_of("\\/");
    if (separator != std::string::npos && IsFolder(name.substr(0, separator + 1))) {
        return name.substr(0, separator + 1);
    }
    if (ofn->lpstrInitialDir != nullptr && IsFolder(ofn->lpstrInitialDir)) {
        return ofn->lpstrInitialDir;
    }
    return files::CurrentDirectory();
}

BOOL RunFileDialog(LPOPENFILENAME ofn, ModalWindow::Kind kind) {
    if (ofn == nullptr || ofn->lpstrFile == nullptr || ofn->nMaxFile == 0) {
        return FALSE;
    }
    OwnerDisabler disabler(ofn->hwndOwner != nullptr ? TopLevelOf(ofn->hwndOwner) : nullptr);
    ModalWindow modal;
    modal.kind = kind;
    modal.owner = ofn->hwndOwner;
    modal.caption = ofn->lpstrTitle != nullptr ? ofn->lpstrTitle : "";
    modal.file = ofn;
    modal.folder = OpeningFolder(ofn);
    files::ChangeDirectory(modal.folder);
    const bool ran = RunModalHook(modal);
    // Confirmed or cancelled, the process stays in the folder last shown.
    if (IsFolder(modal.folder)) {
        files::ChangeDirectory(modal.folder);
    }
    if (!ran) {
        return FALSE;
    }
    return modal.result != 0 ? TRUE : FALSE;
}

}  // namespace

ModalRuns& Modal() {
    static ModalRuns s_modal;
    return s_modal;
}

bool RunModalHook(ModalWindow& modal) {
    if (!Modal().hook) {
        RecordError(std::string("a ") + KindName(modal.kind) +
                    " came up with no modal hook installed; it was cancelled");
        return false;
    }
    // The hook may install another hook or reset; run a copy.
    std::function<void(ModalWindow&)> hook = Modal().hook;
    hook(modal);
    PumpMessages();
    return true;
}

}  // namespace fw::headless::detail

namespace fw::api {

using namespace fw::headless;
using namespace fw::headless::detail;

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    OwnerDisabler disabler(owner != nullptr ? TopLevelOf(owner) : nullptr);
    ModalWindow modal;
    modal.kind = ModalWindow::MessageBox;
    modal.owner = owner;
    modal.text = text != nullptr ? text : "";
    modal.caption = caption != nullptr ? caption : "Error";  // user32's default caption
    modal.type = type;
    std::vector<int> buttons = MessageBoxButtons(type);
    if (!RunModalHook(modal)) {
        return buttons.front();
    }
    if (std::find(buttons.begin(), buttons.end(), static_cast<int>(modal.result)) ==
        buttons.end()) {
        RecordError("message box \"" + modal.text + "\" answered with " +
                    std::to_string(modal.result) + ", which is none of its buttons");
        return buttons.front();
    }
    return static_cast<int>(modal.result);
}

BOOL ChooseColor(LPCHOOSECOLOR choose) {
    if (choose == nullptr) {
        return FALSE;
    }
    OwnerDisabler disabler(choose->hwndOwner != nullptr ? TopLevelOf(choose->hwndOwner) : nullptr);
    ModalWindow modal;
    modal.kind = ModalWindow::ColorDialog;
    modal.owner = choose->hwndOwner;
    modal.color = choose;
    if (!RunModalHook(modal)) {
        return FALSE;
    }
    return modal.result != 0 ? TRUE : FALSE;
}

BOOL GetOpenFileName(LPOPENFILENAME ofn) {
    return RunFileDialog(ofn, ModalWindow::OpenFileDialog);
}

BOOL GetSaveFileName(LPOPENFILENAME ofn) {
    return RunFileDialog(ofn, ModalWindow::SaveFileDialog);
}

HINSTANCE ShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                       INT showCmd) {
    ShellRequest request;
    request.owner = owner;
    request.verb = verb != nullptr ? verb : "";
    request.file = file != nullptr ? file : "";
    request.parameters = parameters != nullptr ? parameters : "";
    request.directory = directory != nullptr ? directory : "";
    request.showCmd = showCmd;
    Modal().shellRequests.push_back(std::move(request));
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(33));  // above 32: done
}

HINSTANCE ModuleInstance() {
    // The library's resources are the embedded .res; any stable non-null
    // handle names them.
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x10000000));
}

}  // namespace fw::api

namespace fw::headless {

using namespace detail;

void SetModalHook(std::function<void(ModalWindow&)> hook) {
    Modal().hook = std::move(hook);
}

std::vector<ShellRequest> ShellRequests() {
    return Modal().shellRequests;
}

bool Click(HWND control) {
    if (!Usable(control)) {
        return false;
    }
    RECT client;
    api::GetClientRect(control, &client);
    POINT point{client.right / 2, client.bottom / 2};
    // The mouse goes to what lies under it: a static without SS_NOTIFY or a
    // group box lets it through to its parent.
    HWND target = control;
    while (Send(target, WM_NCHITTEST, 0, 0) == HTTRANSPARENT) {
        HWND parent = api::GetParent(target);
        if (parent == nullptr || !(FindWin(target)->style & WS_CHILD)) {
            break;
        }
        api::MapWindowPoints(target, parent, &point, 1);
        target = parent;
    }
    LPARAM where = MAKELPARAM(point.x, point.y);
    Send(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
         MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    Send(target, WM_LBUTTONDOWN, MK_LBUTTON, where);
    Send(target, WM_LBUTTONUP, 0, where);
    PumpMessages();
    return true;
}

bool TypeChar(HWND edit, char ch) {
    if (!Usable(edit)) {
        return false;
    }
    if (api::GetFocus() != edit) {
        api::SetFocus(edit);
    }
    Send(edit, WM_CHAR, static_cast<unsigned char>(ch), 1);
    PumpMessages();
    return true;
}

bool SelectTab(HWND sheet, int index) {
    if (!Usable(sheet)) {
        return false;
    }
    HWND tab = reinterpret_cast<HWND>(Send(sheet, PSM_GETTABCONTROL, 0, 0));
    if (!Usable(tab)) {
        return false;
    }
    RECT item;
    if (!Send(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) {
        return false;
    }
    LPARAM where = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    Send(tab, WM_LBUTTONDOWN, MK_LBUTTON, where);
    Send(tab, WM_LBUTTONUP, 0, where);
    PumpMessages();
    return true;
}

bool Close(HWND window) {
    if (!Usable(window)) {
        return false;
    }
    Send(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    return true;
}

bool KeyEnter(HWND window) {
    if (!Usable(window)) {
        return false;
    }
    HWND focus = api::GetFocus();
    if (focus != nullptr && IsDescendant(window, focus)) {
        LRESULT code = Send(focus, WM_GETDLGCODE, VK_RETURN, 0);
        if (code & DLGC_WANTALLKEYS) {
            Send(focus, WM_CHAR, '\r', 1);
            PumpMessages();
            return true;
        }
        if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
            // A push button with the focus is the default one for Enter.
            if (api::IsWindowEnabled(focus)) {
                Send(api::GetParent(focus), WM_COMMAND,
                     MAKEWPARAM(api::GetDlgCtrlID(focus), BN_CLICKED),
                     reinterpret_cast<LPARAM>(focus));
            }
            PumpMessages();
            return true;
        }
    }
    LRESULT defId = Send(window, DM_GETDEFID, 0, 0);
    HWND button = HIWORD(defId) == DC_HASDEFID ? api::GetDlgItem(window, LOWORD(defId)) : nullptr;
    if (button != nullptr && api::IsWindowEnabled(button)) {
        Send(window, WM_COMMAND, MAKEWPARAM(LOWORD(defId), BN_CLICKED),
             reinterpret_cast<LPARAM>(button));
    } else if (button == nullptr) {
        Send(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
             reinterpret_cast<LPARAM>(api::GetDlgItem(window, IDOK)));
    }
    PumpMessages();
    return true;
}

bool KeyEscape(HWND window) {
    if (!Usable(window)) {
        return false;
    }
    Send(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
         reinterpret_cast<LPARAM>(api::GetDlgItem(window, IDCANCEL)));
    PumpMessages();
    return true;
}

bool LButtonDown(HWND window, POINT point) {
    if (!Usable(window)) {
        return false;
    }
    Send(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
         MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    Send(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    PumpMessages();
    return true;
}

}  // namespace fw::headless
