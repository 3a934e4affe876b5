// The operator driver on the headless window system: every modal run reaches
// the Operator through the backend's modal hook, and a person's input goes
// through the backend's operator actions, which refuse what a person could
// not do.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "driver/operator.h"
#include "driver/operator_backend.h"
#include "driver/station.h"
#include "framework/api.h"
#include "framework/headless/headless.h"

namespace headless = fw::headless;

namespace {

std::string Or(const char* text, const char* otherwise) {
    return text != nullptr ? std::string(text) : std::string(otherwise);
}

// The descriptions of a filter list: pairs of description and pattern, each
// NUL-terminated, the list ended by an empty string.
std::vector<std::string> FilterDescriptions(const char* filter) {
    std::vector<std::string> descriptions;
    while (filter != nullptr && *filter != '\0') {
        descriptions.emplace_back(filter);
        filter += std::strlen(filter) + 1;  // the pattern
        if (*filter == '\0') {
            break;
        }
        filter += std::strlen(filter) + 1;
    }
    return descriptions;
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithoutTrailingSeparator(std::string folder) {
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) {
        folder.pop_back();
    }
    return folder;
}

std::filesystem::path NativeOf(const std::string& path) {
    std::string native = path;
    for (char& c : native) {
        if (c == '\\') {
            c = '/';
        }
    }
    return std::filesystem::path(native);
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(NativeOf(path), error);
}

bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(NativeOf(path), error);
}

void AnswerColorDialog(Operator& op, headless::ModalWindow& window) {
    CHOOSECOLOR* choose = window.color;
    ColorDialogSeen seen;
    seen.initial = (choose->Flags & CC_RGBINIT) != 0 ? choose->rgbResult : RGB(0, 0, 0);
    seen.owner = choose->hwndOwner;
    const ColorChoice choice = op.AnswerColorDialog(seen);
    if (choice.picked) {
        choose->rgbResult = choice.color;
    }
    window.result = choice.picked ? TRUE : FALSE;
}

void AnswerFileDialog(Operator& op, headless::ModalWindow& window) {
    OPENFILENAME* ofn = window.file;
    const bool save = window.kind == headless::ModalWindow::SaveFileDialog;
    FileDialogSeen seen;
    seen.kind = save ? FileDialogSeen::Save : FileDialogSeen::Open;
    seen.title = Or(ofn->lpstrTitle, save ? "Save As" : "Open");
    seen.folder = WithoutTrailingSeparator(window.folder);
    seen.fileName = FileNameOf(Or(ofn->lpstrFile, ""));
    seen.filters = FilterDescriptions(ofn->lpstrFilter);
    seen.hideReadOnly = (ofn->Flags & OFN_HIDEREADONLY) != 0;
    seen.owner = ofn->hwndOwner;

    window.result = FALSE;
    const FileChoice choice = op.AnswerFileDialog(seen);
    if (!choice.chosen) {
        return;
    }
    if (ofn->lpstrFile == nullptr || choice.path.size() + 1 > ofn->nMaxFile) {
        ADD_FAILURE() << "the path " << choice.path << " does not fit the file dialog's buffer of "
                      << ofn->nMaxFile << " characters";
        return;
    }
    // As a person (and the driver on Windows) does: to the path's folder
    // first, then the name. The dialog stays in that folder even when the
    // person then cancels.
    const std::string folder =
        choice.path.substr(0, choice.path.size() - FileNameOf(choice.path).size());
    if (!folder.empty()) {
        if (!IsFolder(folder)) {
            ADD_FAILURE() << "the file dialog cannot go to " << folder << ": no such folder";
            return;
        }
        window.folder = folder;
    }
    // The dialog's own confirmation, as the system's file dialog asks it.
    if (save && (ofn->Flags & OFN_OVERWRITEPROMPT) != 0 && Exists(choice.path)) {
        MessageBoxSeen prompt;
        prompt.text = FileNameOf(choice.path) + " already exists.\nDo you want to replace it?";
        prompt.caption = seen.title;
        prompt.type = MB_YESNO | MB_ICONEXCLAMATION;
        if (op.AnswerMessageBox(prompt) != IDYES) {
            return;  // the person then cancels the file dialog
        }
    }
    std::memcpy(ofn->lpstrFile, choice.path.c_str(), choice.path.size() + 1);
    const size_t nameAt = choice.path.size() - FileNameOf(choice.path).size();
    const size_t dot = choice.path.find_last_of('.');
    ofn->nFileOffset = static_cast<WORD>(nameAt);
    ofn->nFileExtension =
        static_cast<WORD>(dot != std::string::npos && dot >= nameAt ? dot + 1 : choice.path.size());
    window.result = TRUE;
}

void Dispatch(headless::ModalWindow& window) {
    Operator* op = Operator::Current();
    if (op == nullptr) {
        return;  // the backend records the window left open
    }
    switch (window.kind) {
        case headless::ModalWindow::Dialog:
            op->RunDialog(window.hwnd);
            break;
        case headless::ModalWindow::PropertySheet:
            op->RunSheet(window.hwnd);
            break;
        case headless::ModalWindow::MessageBox: {
            MessageBoxSeen seen;
            seen.text = window.text;
            seen.caption = window.caption;
            seen.type = window.type & (MB_TYPEMASK | MB_ICONMASK);
            seen.owner = window.owner;
            window.result = op->AnswerMessageBox(seen);
            break;
        }
        case headless::ModalWindow::ColorDialog:
            AnswerColorDialog(*op, window);
            break;
        case headless::ModalWindow::OpenFileDialog:
        case headless::ModalWindow::SaveFileDialog:
            AnswerFileDialog(*op, window);
            break;
    }
}

void Refused(bool done, const char* what) {
    if (!done) {
        ADD_FAILURE() << what << " was refused by the window system";
    }
}

}  // namespace

namespace driver_backend {

void Arm() {
    headless::SetModalHook(Dispatch);
}
void Disarm() {
    headless::SetModalHook(nullptr);
}

void Click(HWND control) {
    Refused(headless::Click(control), "a click");
}
void TypeChar(HWND control, char c) {
    Refused(headless::TypeChar(control, c), "typing");
}
void PressEnter(HWND topLevel) {
    Refused(headless::KeyEnter(topLevel), "Enter");
}
void PressEscape(HWND topLevel) {
    Refused(headless::KeyEscape(topLevel), "Escape");
}
void CloseBox(HWND topLevel) {
    Refused(headless::Close(topLevel), "the close box");
}
void PickTab(HWND sheet, int index) {
    Refused(headless::SelectTab(sheet, index), "a tab click");
}
void Wait(unsigned ms) {
    headless::AdvanceClock(ms);
}

bool CanReadPixels() {
    return true;
}

COLORREF Pixel(HWND window, int x, int y) {
    return headless::GetWindowPixel(window, x, y);
}

void ForceEnd(HWND window, bool) {
    fw::api::EndDialog(window, IDCANCEL);
}

void ReportErrors() {
    for (const std::string& error : headless::TakeErrors()) {
        ADD_FAILURE() << "window system: " << error;
    }
}

void ResetWindowSystem() {
    headless::Reset();
}

}  // namespace driver_backend

// --- StationWindow on the headless window system ------------------------------

StationWindow::StationWindow(const std::string& className, const std::string& title)
    : m_hwnd(headless::CreateTopLevelWindow(className.c_str(), title.c_str())) {
    if (m_hwnd == NULL) {
        ADD_FAILURE() << "cannot create the window " << className << " \"" << title << "\"";
    }
}

StationWindow::~StationWindow() {
    if (m_hwnd != NULL && fw::api::IsWindow(m_hwnd)) {
        fw::api::DestroyWindow(m_hwnd);
    }
}

std::vector<UINT> StationWindow::Received() {
    if (m_hwnd != NULL) {
        for (const MSG& msg : headless::TakePostedMessages(m_hwnd)) {
            m_received.push_back(msg.message);
        }
    }
    return m_received;
}

#endif  // !_WIN32
