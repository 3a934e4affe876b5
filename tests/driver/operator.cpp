// The shared part of the operator driver: handler queues, what a person sees
// (read through fw::api, which reaches the real windows on Windows and the
// in-memory ones natively) and the actions that need no window-system help.
#include "driver/operator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "driver/operator_backend.h"
#include "framework/api.h"
#include "framework/windows/wnd.h"

namespace api = fw::api;

namespace {

Operator* s_current = nullptr;

const char kTemplateIdProp[] = "SetupTemplateId";

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    api::GetClassName(hwnd, name, sizeof(name));
    return name;
}

bool IsClass(HWND hwnd, const char* className) {
    const std::string name = ClassOf(hwnd);
    if (name.size() != std::char_traits<char>::length(className)) {
        return false;
    }
    for (size_t i = 0; i < name.size(); ++i) {
        const char a = name[i] >= 'A' && name[i] <= 'Z' ? char(name[i] - 'A' + 'a') : name[i];
        const char b = className[i] >= 'A' && className[i] <= 'Z' ? char(className[i] - 'A' + 'a')
                                                                  : className[i];
        if (a != b) {
            return false;
        }
    }
    return true;
}

std::string WindowText(HWND hwnd) {
    const int length = api::GetWindowTextLength(hwnd);
    if (length <= 0) {
        return std::string();
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = api::GetWindowText(hwnd, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

// The top-level window (dialog or sheet) a control or page belongs to.
HWND TopLevelOf(HWND hwnd) {
    while (hwnd != NULL && (api::GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD) != 0) {
        HWND parent = api::GetParent(hwnd);
        if (parent == NULL) {
            break;
        }
        hwnd = parent;
    }
    return hwnd;
}

// True when `inner` is `outer` or lies inside it.
bool IsWithin(HWND inner, HWND outer) {
    for (HWND hwnd = inner; hwnd != NULL; hwnd = api::GetParent(hwnd)) {
        if (hwnd == outer) {
            return true;
        }
        if ((api::GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD) == 0) {
            break;
        }
    }
    return false;
}

int TemplateIdOf(HWND hwnd) {
    return hwnd == NULL
               ? 0
               : static_cast<int>(reinterpret_cast<INT_PTR>(api::GetProp(hwnd, kTemplateIdProp)));
}

std::string Describe(int id) {
    std::ostringstream out;
    out << "control " << id;
    return out.str();
}

// The answer that closes a message box without agreeing to anything.
int CancelAnswer(UINT buttons) {
    switch (buttons) {
        case MB_OKCANCEL:
        case MB_YESNOCANCEL:
        case MB_RETRYCANCEL:
            return IDCANCEL;
        case MB_YESNO:
            return IDNO;
        case MB_ABORTRETRYIGNORE:
            return IDABORT;
        default:
            return IDOK;
    }
}

bool IsAnswerOf(UINT buttons, int answer) {
    switch (buttons) {
        case MB_OK:
            return answer == IDOK;
        case MB_OKCANCEL:
            return answer == IDOK || answer == IDCANCEL;
        case MB_ABORTRETRYIGNORE:
            return answer == IDABORT || answer == IDRETRY || answer == IDIGNORE;
        case MB_YESNOCANCEL:
            return answer == IDYES || answer == IDNO || answer == IDCANCEL;
        case MB_YESNO:
            return answer == IDYES || answer == IDNO;
        case MB_RETRYCANCEL:
            return answer == IDRETRY || answer == IDCANCEL;
        default:
            return false;
    }
}

}  // namespace

// --- FontSeen ----------------------------------------------------------------

int FontSeen::PointSize() const {
    const int pixels = height < 0 ? -height : height;
    return (pixels * 72 + 48) / 96;
}

// --- DialogDriver ------------------------------------------------------------

DialogDriver::DialogDriver(HWND dialog) : m_hwnd(dialog) {}

int DialogDriver::TemplateId() const {
    return TemplateIdOf(m_hwnd);
}

std::string DialogDriver::Caption() const {
    return WindowText(m_hwnd);
}

bool DialogDriver::IsOpen() const {
    if (!api::IsWindow(m_hwnd) || !api::IsWindowVisible(m_hwnd)) {
        return false;
    }
    if (api::GetProp(m_hwnd, "SetupSheet") != NULL) {
        return api::SendMessage(m_hwnd, PSM_GETCURRENTPAGEHWND, 0, 0) != 0;
    }
    return true;
}

HWND DialogDriver::Control(int id) const {
    return id == 0 ? m_hwnd : api::GetDlgItem(m_hwnd, id);
}

HWND DialogDriver::Item(int id) const {
    return Control(id);
}

HWND DialogDriver::Existing(int id, const char* query) const {
    HWND control = Control(id);
    if (control == NULL) {
        ADD_FAILURE() << query << ": " << Describe(id) << " does not exist";
    }
    return control;
}

HWND DialogDriver::Actionable(int id, const char* action) const {
    HWND control = Existing(id, action);
    if (control == NULL) {
        return NULL;
    }
    if (!api::IsWindowVisible(control)) {
        ADD_FAILURE() << action << ": " << Describe(id) << " is hidden";
        return NULL;
    }
    for (HWND hwnd = control; hwnd != NULL; hwnd = api::GetParent(hwnd)) {
        if (!api::IsWindowEnabled(hwnd)) {
            ADD_FAILURE() << action << ": " << Describe(id) << " is disabled";
            return NULL;
        }
        if ((api::GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD) == 0) {
            break;
        }
    }
    return control;
}

void DialogDriver::Click(int id) {
    if (HWND control = Actionable(id, "Click")) {
        driver_backend::Click(control);
    }
}

void DialogDriver::Type(int id, const std::string& text) {
    HWND control = Actionable(id, "Type");
    if (control == NULL) {
        return;
    }
    // A person clicks into the field, selects what is there and types over it.
    api::SetFocus(control);
    api::SendMessage(control, EM_SETSEL, 0, -1);
    if (text.empty()) {
        driver_backend::TypeChar(control, '\b');
        return;
    }
    for (char c : text) {
        driver_backend::TypeChar(control, c);
    }
}

void DialogDriver::Select(int id, int index) {
    HWND control = Actionable(id, "Select");
    if (control == NULL) {
        return;
    }
    const bool combo = IsClass(control, "ComboBox");
    if (!combo && !IsClass(control, "ListBox")) {
        ADD_FAILURE() << "Select: " << Describe(id) << " is a " << ClassOf(control)
                      << ", not a combo or list box";
        return;
    }
    const int count =
        static_cast<int>(api::SendMessage(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    if (index < 0 || index >= count) {
        ADD_FAILURE() << "Select: " << Describe(id) << " has " << count << " items, no item "
                      << index;
        return;
    }
    api::SendMessage(control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    // A person's choice notifies the dialog; CB_SETCURSEL alone does not.
    const bool notify = combo || (api::GetWindowLongPtr(control, GWL_STYLE) & LBS_NOTIFY) != 0;
    if (notify) {
        const WORD code = combo ? CBN_SELCHANGE : LBN_SELCHANGE;
        api::SendMessage(api::GetParent(control), WM_COMMAND,
                         MAKEWPARAM(api::GetDlgCtrlID(control), code),
                         reinterpret_cast<LPARAM>(control));
    }
}

void DialogDriver::Select(int id, const std::string& text) {
    const std::vector<std::string> items = Items(id);
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == text) {
            Select(id, static_cast<int>(i));
            return;
        }
    }
    ADD_FAILURE() << "Select: " << Describe(id) << " has no item \"" << text << "\"";
}

void DialogDriver::Check(int id) {
    if (Actionable(id, "Check") != NULL && !IsChecked(id)) {
        Click(id);
    }
}

void DialogDriver::Uncheck(int id) {
    if (Actionable(id, "Uncheck") != NULL && IsChecked(id)) {
        Click(id);
    }
}

void DialogDriver::PressEnter() {
    driver_backend::PressEnter(TopLevelOf(m_hwnd));
}
void DialogDriver::PressEscape() {
    driver_backend::PressEscape(TopLevelOf(m_hwnd));
}
void DialogDriver::CloseBox() {
    driver_backend::CloseBox(TopLevelOf(m_hwnd));
}
void DialogDriver::Wait(unsigned ms) {
    driver_backend::Wait(ms);
}

bool DialogDriver::Exists(int id) const {
    return Control(id) != NULL;
}

std::string DialogDriver::Text(int id) const {
    HWND control = Existing(id, "Text");
    if (control == NULL) {
        return std::string();
    }
    return WindowText(control);
}

bool DialogDriver::IsChecked(int id) const {
    HWND control = Existing(id, "IsChecked");
    return control != NULL && api::SendMessage(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::vector<std::string> DialogDriver::Items(int id) const {
    std::vector<std::string> items;
    HWND control = Existing(id, "Items");
    if (control == NULL) {
        return items;
    }
    const bool combo = IsClass(control, "ComboBox");
    if (!combo && !IsClass(control, "ListBox")) {
        ADD_FAILURE() << "Items: " << Describe(id) << " is a " << ClassOf(control);
        return items;
    }
    const LONG_PTR style = api::GetWindowLongPtr(control, GWL_STYLE);
    const LONG_PTR ownerDraw = combo ? (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)
                                     : (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE);
    const LONG_PTR hasStrings = combo ? CBS_HASSTRINGS : LBS_HASSTRINGS;
    const bool texts = (style & ownerDraw) == 0 || (style & hasStrings) != 0;
    const int count =
        static_cast<int>(api::SendMessage(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (!texts) {
            items.emplace_back();  // an owner-drawn item without a string
            continue;
        }
        const LRESULT length = api::SendMessage(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN,
                                                static_cast<WPARAM>(i), 0);
        std::string text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
        const LRESULT copied =
            api::SendMessage(control, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i),
                             reinterpret_cast<LPARAM>(&text[0]));
        text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        items.push_back(text);
    }
    return items;
}

int DialogDriver::CurSel(int id) const {
    HWND control = Existing(id, "CurSel");
    if (control == NULL) {
        return -1;
    }
    const bool combo = IsClass(control, "ComboBox");
    return static_cast<int>(api::SendMessage(control, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

bool DialogDriver::IsEnabled(int id) const {
    HWND control = Existing(id, "IsEnabled");
    return control != NULL && api::IsWindowEnabled(control) != FALSE;
}

bool DialogDriver::IsVisible(int id) const {
    HWND control = Existing(id, "IsVisible");
    return control != NULL && api::IsWindowVisible(control) != FALSE;
}

RECT DialogDriver::Rect(int id) const {
    RECT rect = {0, 0, 0, 0};
    HWND control = Existing(id, "Rect");
    if (control == NULL) {
        return rect;
    }
    api::GetWindowRect(control, &rect);
    api::MapWindowPoints(NULL, m_hwnd, reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

FontSeen DialogDriver::Font(int id) const {
    FontSeen seen;
    HWND control = Existing(id, "Font");
    if (control == NULL) {
        return seen;
    }
    HFONT font = reinterpret_cast<HFONT>(api::SendMessage(control, WM_GETFONT, 0, 0));
    if (font == NULL) {
        font = static_cast<HFONT>(api::GetStockObject(SYSTEM_FONT));
    }
    LOGFONT logFont = {};
    if (api::GetObject(font, sizeof(logFont), &logFont) == 0) {
        ADD_FAILURE() << "Font: the font of " << Describe(id) << " cannot be read";
        return seen;
    }
    seen.face = logFont.lfFaceName;
    seen.height = logFont.lfHeight;
    seen.weight = logFont.lfWeight;
    return seen;
}

int DialogDriver::Focus() const {
    HWND focus = api::GetFocus();
    if (focus == NULL || focus == m_hwnd || !IsWithin(focus, m_hwnd)) {
        return 0;
    }
    // The control a person sees: the combo box, not the edit inside it.
    HWND control = focus;
    for (HWND parent = api::GetParent(control); parent != NULL && parent != m_hwnd;
         parent = api::GetParent(control)) {
        if (IsClass(parent, "#32770")) {
            break;  // a page of the sheet: its controls are what a person sees
        }
        control = parent;
    }
    return api::GetDlgCtrlID(control);
}

LONG_PTR DialogDriver::Style(int id) const {
    HWND control = Existing(id, "Style");
    if (control == NULL) {
        return 0;
    }
    return api::GetWindowLongPtr(control, GWL_STYLE);
}

COLORREF DialogDriver::Pixel(int id, int x, int y) const {
    HWND control = Existing(id, "Pixel");
    if (control == NULL) {
        return CLR_INVALID;
    }
    return driver_backend::Pixel(control, x, y);
}

// --- SheetDriver -------------------------------------------------------------

SheetDriver::SheetDriver(HWND sheet) : DialogDriver(sheet) {}

HWND SheetDriver::Control(int id) const {
    if (id == 0) {
        return m_hwnd;
    }
    if (HWND own = api::GetDlgItem(m_hwnd, id)) {
        return own;
    }
    HWND page = reinterpret_cast<HWND>(api::SendMessage(m_hwnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    return page != NULL ? api::GetDlgItem(page, id) : NULL;
}

void SheetDriver::PickTab(int index) {
    HWND tab = reinterpret_cast<HWND>(api::SendMessage(m_hwnd, PSM_GETTABCONTROL, 0, 0));
    if (tab == NULL || !api::IsWindowVisible(tab) || !api::IsWindowEnabled(tab)) {
        ADD_FAILURE() << "PickTab: the sheet has no usable tab control";
        return;
    }
    const int count = PageCount();
    if (index < 0 || index >= count) {
        ADD_FAILURE() << "PickTab: the sheet has " << count << " tabs, no tab " << index;
        return;
    }
    driver_backend::PickTab(m_hwnd, index);
}

int SheetDriver::ActiveIndex() const {
    HWND tab = reinterpret_cast<HWND>(api::SendMessage(m_hwnd, PSM_GETTABCONTROL, 0, 0));
    return tab == NULL ? -1 : static_cast<int>(api::SendMessage(tab, TCM_GETCURSEL, 0, 0));
}

int SheetDriver::PageCount() const {
    HWND tab = reinterpret_cast<HWND>(api::SendMessage(m_hwnd, PSM_GETTABCONTROL, 0, 0));
    return tab == NULL ? 0 : static_cast<int>(api::SendMessage(tab, TCM_GETITEMCOUNT, 0, 0));
}

std::string SheetDriver::TabTitle(int index) const {
    HWND tab = reinterpret_cast<HWND>(api::SendMessage(m_hwnd, PSM_GETTABCONTROL, 0, 0));
    if (tab == NULL) {
        ADD_FAILURE() << "TabTitle: the sheet has no tab control";
        return std::string();
    }
    char text[260] = {};
    TCITEM item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    if (!api::SendMessage(tab, TCM_GETITEM, static_cast<WPARAM>(index),
                          reinterpret_cast<LPARAM>(&item))) {
        ADD_FAILURE() << "TabTitle: there is no tab " << index;
        return std::string();
    }
    return item.pszText != NULL ? std::string(item.pszText) : std::string();
}

RECT SheetDriver::TabRect() const {
    RECT rect = {0, 0, 0, 0};
    HWND tab = reinterpret_cast<HWND>(api::SendMessage(m_hwnd, PSM_GETTABCONTROL, 0, 0));
    if (tab == NULL) {
        ADD_FAILURE() << "TabRect: the sheet has no tab control";
        return rect;
    }
    api::GetWindowRect(tab, &rect);
    api::MapWindowPoints(NULL, m_hwnd, reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

DialogDriver SheetDriver::Page() const {
    return DialogDriver(
        reinterpret_cast<HWND>(api::SendMessage(m_hwnd, PSM_GETCURRENTPAGEHWND, 0, 0)));
}

// --- Operator ----------------------------------------------------------------

Operator::Operator() {
    if (s_current != nullptr) {
        ADD_FAILURE() << "a second Operator while one is acting; the first one goes on acting";
        return;
    }
    s_current = this;
    driver_backend::Arm();
}

Operator::~Operator() {
    if (s_current != this) {
        return;
    }
    driver_backend::Disarm();
    s_current = nullptr;
    driver_backend::ReportErrors();
    for (const auto& entry : m_dialogs) {
        for (size_t i = 0; i < entry.second.size(); ++i) {
            ADD_FAILURE() << "dialog " << entry.first << " was expected but never came up";
        }
    }
    for (size_t i = 0; i < m_sheets.size(); ++i) {
        ADD_FAILURE() << "the property sheet was expected but never came up";
    }
    for (size_t i = 0; i < m_messageBoxes.size(); ++i) {
        ADD_FAILURE() << "a message box was expected but never came up";
    }
    for (size_t i = 0; i < m_colors.size(); ++i) {
        ADD_FAILURE() << "the colour dialog was expected but never came up";
    }
    for (size_t i = 0; i < m_files.size(); ++i) {
        ADD_FAILURE() << "a file dialog was expected but never came up";
    }
}

Operator* Operator::Current() {
    return s_current;
}

bool Operator::CanReadPixels() {
    return driver_backend::CanReadPixels();
}

bool Operator::PixelChecksRun() {
    if (CanReadPixels()) {
        return true;
    }
    static const testing::TestInfo* s_skipped = nullptr;
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    if (test != s_skipped) {
        s_skipped = test;
        // GTEST_SKIP returns from the lambda only: the test goes on.
        [] { GTEST_SKIP() << "painted pixels cannot be read on this window system"; }();
    }
    return false;
}

void Operator::OnDialog(int templateId, DialogHandler handler) {
    m_dialogs[templateId].push_back(std::move(handler));
}

void Operator::OnSheet(SheetHandler handler) {
    m_sheets.push_back(std::move(handler));
}

void Operator::OnMessageBox(MessageBoxHandler handler) {
    m_messageBoxes.push_back(std::move(handler));
}

void Operator::OnColorDialog(ColorHandler handler) {
    m_colors.push_back(std::move(handler));
}

void Operator::OnFileDialog(FileHandler handler) {
    m_files.push_back(std::move(handler));
}

int Operator::Pending() const {
    size_t pending = m_sheets.size() + m_messageBoxes.size() + m_colors.size() + m_files.size();
    for (const auto& entry : m_dialogs) {
        pending += entry.second.size();
    }
    return static_cast<int>(pending);
}

void Operator::EnsureEnded(DialogDriver& window, const std::string& what) {
    if (!window.IsOpen()) {
        return;
    }
    ADD_FAILURE() << what << " is still open after its handler returned; cancelling it";
    window.PressEscape();
    if (window.IsOpen()) {
        window.CloseBox();
    }
    if (window.IsOpen()) {
        driver_backend::ForceEnd(window.Hwnd(), api::GetProp(window.Hwnd(), "SetupSheet") != NULL);
    }
}

void Operator::RunDialog(HWND dialog) {
    DialogDriver driver(dialog);
    const int templateId = driver.TemplateId();
    std::ostringstream what;
    what << "dialog " << templateId;
    Note(what.str());

    auto queue = m_dialogs.find(templateId);
    if (queue == m_dialogs.end() || queue->second.empty()) {
        ADD_FAILURE() << what.str() << " (\"" << driver.Caption()
                      << "\") came up with no handler waiting";
    } else {
        // Taken off the queue first: the handler may open nested windows.
        DialogHandler handler = std::move(queue->second.front());
        queue->second.pop_front();
        try {
            handler(driver);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "the handler of " << what.str() << " threw: " << e.what();
        } catch (...) {
            ADD_FAILURE() << "the handler of " << what.str() << " threw";
        }
    }
    EnsureEnded(driver, what.str());
}

void Operator::RunSheet(HWND sheet) {
    SheetDriver driver(sheet);
    Note("sheet");
    if (m_sheets.empty()) {
        ADD_FAILURE() << "the property sheet (\"" << driver.Caption()
                      << "\") came up with no handler waiting";
    } else {
        SheetHandler handler = std::move(m_sheets.front());
        m_sheets.pop_front();
        try {
            handler(driver);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "the sheet handler threw: " << e.what();
        } catch (...) {
            ADD_FAILURE() << "the sheet handler threw";
        }
    }
    EnsureEnded(driver, "the property sheet");
}

namespace {

// The first handler waiting answers what came up and leaves the queue; with
// none waiting, or when it throws, the test fails and the dialog is cancelled.
template <class Handler, class Seen, class Answer>
Answer FirstWaitingAnswers(std::deque<Handler>& waiting, Seen& seen, const std::string& what,
                           Answer cancel) {
    if (waiting.empty()) {
        ADD_FAILURE() << what << " came up with no handler waiting";
        return cancel;
    }
    Handler handler = std::move(waiting.front());
    waiting.pop_front();
    try {
        return handler(seen);
    } catch (...) {
        ADD_FAILURE() << "the handler of " << what << " threw";
        return cancel;
    }
}

}  // namespace

int Operator::AnswerMessageBox(MessageBoxSeen& box) {
    box.ownerTemplateId = TemplateIdOf(box.owner);
    Note("message box: " + box.text);
    const UINT buttons = box.Buttons();
    // The framework's report of an exception at a window procedure (from
    // Setup.dll's own copy of it): never an answer a test waits for.
    if (box.text.compare(0, std::strlen(fw::kInternalFailureText), fw::kInternalFailureText) == 0) {
        ADD_FAILURE() << "a window procedure let out an exception: " << box.text;
        return CancelAnswer(buttons);
    }
    if (m_messageBoxes.empty()) {
        ADD_FAILURE() << "a message box came up with no handler waiting: caption \"" << box.caption
                      << "\", text \"" << box.text << "\"";
        return CancelAnswer(buttons);
    }
    MessageBoxHandler handler = std::move(m_messageBoxes.front());
    m_messageBoxes.pop_front();
    int answer = CancelAnswer(buttons);
    try {
        answer = handler(box);
    } catch (...) {
        ADD_FAILURE() << "the handler of the message box \"" << box.text << "\" threw";
        return CancelAnswer(buttons);
    }
    if (!IsAnswerOf(buttons, answer)) {
        ADD_FAILURE() << "the message box \"" << box.text << "\" has no button " << answer;
        return CancelAnswer(buttons);
    }
    return answer;
}

ColorChoice Operator::AnswerColorDialog(ColorDialogSeen& dialog) {
    Note("colour dialog");
    return FirstWaitingAnswers(m_colors, dialog, "the colour dialog", ColorChoice::Cancel());
}

FileChoice Operator::AnswerFileDialog(FileDialogSeen& dialog) {
    Note(dialog.kind == FileDialogSeen::Open ? "open file dialog" : "save file dialog");
    return FirstWaitingAnswers(m_files, dialog, "a file dialog (\"" + dialog.title + "\")",
                               FileChoice::Cancel());
}
