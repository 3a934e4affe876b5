// The window manager of the headless backend: the window tree, classes,
// messages and the posted-message queue, geometry, focus and activation,
// properties and cursors. Painting (painting.cpp), timers (timers.cpp) and
// the system colours (system_colors.cpp) have their own sources.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "framework/api.h"
#include "framework/headless/control.h"
#include "framework/headless/dialog_manager.h"
#include "framework/headless/window_manager.h"

namespace fw::headless::detail {

namespace {

// Non-client metrics of a classic Windows setup at 96 DPI.
constexpr int kCaptionHeight = 19;  // SM_CYCAPTION
constexpr int kDialogFrame = 3;     // SM_CXDLGFRAME
constexpr int kSizingFrame = 4;     // SM_CXFRAME
constexpr int kBorder = 1;          // SM_CXBORDER
constexpr int kClientEdge = 2;      // SM_CXEDGE
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr int kPumpLimit = 100000;

bool g_initialized = false;

LRESULT CALLBACK PlainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return api::DefWindowProc(hwnd, msg, wParam, lParam);
}

std::vector<HWND>& SiblingsOf(const Window& w) {
    if (w.parent != nullptr) {
        return FindWin(w.parent)->children;
    }
    return Sys().topLevel;
}

void Unlink(Window& w) {
    std::vector<HWND>& siblings = SiblingsOf(w);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), w.hwnd), siblings.end());
}

RECT ScreenRectOf(const Window& w) {
    RECT r = w.rect;
    if (w.parent != nullptr) {
        POINT origin = ClientOriginOnScreen(w.parent);
        r.left += origin.x;
        r.right += origin.x;
        r.top += origin.y;
        r.bottom += origin.y;
    }
    return r;
}

void SendSizeAndMove(HWND hwnd) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return;
    }
    RECT insets = ClientInsets(w->style, w->exStyle);
    RECT client = ClientRectOf(*w);
    Send(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    w = FindWin(hwnd);
    if (w != nullptr) {
        Send(hwnd, WM_MOVE, 0, MAKELPARAM(w->rect.left + insets.left, w->rect.top + insets.top));
    }
}

void Activate(HWND hwnd) {
    System& sys = Sys();
    if (sys.active == hwnd) {
        return;
    }
    HWND previous = sys.active;
    sys.active = hwnd;
    if (previous != nullptr && FindWin(previous) != nullptr) {
        Send(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(hwnd));
    }
    if (hwnd != nullptr) {
        Send(hwnd, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
    }
}

// After a top-level window went away or was hidden: its owner, else the
// newest visible top-level window, becomes active.
void ActivateAnother(HWND leaving, HWND owner) {
    System& sys = Sys();
    if (sys.active != leaving) {
        return;
    }
    HWND next = nullptr;
    if (owner != nullptr && FindWin(owner) != nullptr && IsVisibleDeep(owner)) {
        next = owner;
    } else {
        for (auto it = sys.topLevel.rbegin(); it != sys.topLevel.rend(); ++it) {
            if (*it != leaving && IsVisibleDeep(*it)) {
                next = *it;
                break;
            }
        }
    }
    sys.active = nullptr;
    if (next != nullptr) {
        Activate(next);
    }
}

void DestroyTree(HWND hwnd) {
    System& sys = Sys();
    Window* w = FindWin(hwnd);
    if (w == nullptr || w->destroyed) {
        return;
    }
    w->destroyed = true;
    if (sys.focus != nullptr && (sys.focus == hwnd || IsDescendant(hwnd, sys.focus))) {
        sys.focus = nullptr;
    }
    if (sys.capture == hwnd) {
        sys.capture = nullptr;
    }
    Send(hwnd, WM_DESTROY, 0, 0);
    w = FindWin(hwnd);
    std::vector<HWND> children = w->children;
    for (HWND child : children) {
        DestroyTree(child);
    }
    Send(hwnd, WM_NCDESTROY, 0, 0);
    KillWindowTimers(hwnd);
    ReleaseWindowDcs(hwnd);
    w = FindWin(hwnd);
    for (auto it = sys.queue.begin(); it != sys.queue.end();) {
        it = it->hwnd == hwnd ? sys.queue.erase(it) : it + 1;
    }
    Unlink(*w);
    auto node = sys.windows.find(Key(hwnd));
    sys.graveyard.push_back(std::move(node->second));
    sys.windows.erase(node);
    if (sys.dispatchDepth == 0) {
        sys.graveyard.clear();
    }
}

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

// A property name: a string (an atom names no property here).
bool IsPropName(LPCSTR name) {
    return name != nullptr && !IS_INTRESOURCE(name);
}

// The window's property of that name (names ignore case), or the end.
std::vector<std::pair<std::string, HANDLE>>::iterator FindProp(Window& w, LPCSTR name) {
    std::string key = UpperCase(name);
    return std::find_if(
        w.props.begin(), w.props.end(),
        [&key](const std::pair<std::string, HANDLE>& prop) { return prop.first == key; });
}

// The default handling of DefWindowProc, a function per message.

// WM_NCCREATE: the window takes the text it is created with.
LRESULT TakeCreationText(Window& w, const CREATESTRUCT* create) {
    if (create != nullptr && create->lpszName != nullptr && !IS_INTRESOURCE(create->lpszName)) {
        w.text = create->lpszName;
    }
    return TRUE;
}

// WM_ERASEBKGND: the client area in the class's background brush, if any.
LRESULT EraseWithClassBrush(const Window& w, HDC dc) {
    HBRUSH brush = w.windowClass != nullptr ? w.windowClass->background : nullptr;
    if (brush == nullptr) {
        return 0;
    }
    RECT client;
    api::GetClientRect(w.hwnd, &client);
    api::FillRect(dc, &client, brush);
    return 1;
}

// WM_SETCURSOR: the parent may set the cursor first; else the class's one
// over the client area.
LRESULT SetClassCursor(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWin(hwnd);
    if (w->parent != nullptr && Send(w->parent, WM_SETCURSOR, wParam, lParam) != 0) {
        return TRUE;
    }
    w = FindWin(hwnd);
    if (w != nullptr && LOWORD(lParam) == HTCLIENT && w->windowClass != nullptr &&
        w->windowClass->cursor != nullptr) {
        api::SetCursor(w->windowClass->cursor);
    }
    return FALSE;
}

// WM_CTLCOLORxxx: window text on the window colour (edits, list boxes) or
// on the face colour (the others).
LRESULT DefaultControlColor(UINT msg, HDC dc) {
    bool window = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
    int background = window ? COLOR_WINDOW : COLOR_BTNFACE;
    api::SetTextColor(dc, api::GetSysColor(COLOR_WINDOWTEXT));
    api::SetBkColor(dc, api::GetSysColor(background));
    return reinterpret_cast<LRESULT>(api::GetSysColorBrush(background));
}

}  // namespace

System& Sys() {
    static System s_system;
    return s_system;
}

void InitSystem() {
    if (g_initialized) {
        return;
    }
    g_initialized = true;
    InitStockObjects();
    RegisterBuiltinClass("#32770", DefDlgProcImpl, 3 * static_cast<int>(sizeof(LONG_PTR)), nullptr);
    RegisterControlClasses();
}

void RecordError(std::string message) {
    Sys().errors.push_back(std::move(message));
}

LRESULT CopyText(std::string_view text, WPARAM size, LPARAM buffer) {
    if (size == 0 || buffer == 0) {
        return 0;
    }
    size_t count = std::min(text.size(), static_cast<size_t>(size) - 1);
    char* out = reinterpret_cast<char*>(buffer);
    std::memcpy(out, text.data(), count);
    out[count] = '\0';
    return static_cast<LRESULT>(count);
}

uintptr_t NewHandleValue() {
    System& sys = Sys();
    uintptr_t value = sys.nextHandle;
    sys.nextHandle += 4;
    return value;
}

Window* FindWin(HWND hwnd) {
    return FindIn(Sys().windows, hwnd);
}

const WindowClass* FindClass(std::string_view name) {
    for (const auto& windowClass : Sys().classes) {
        if (EqualNoCase(windowClass->name, name)) {
            return windowClass.get();
        }
    }
    return nullptr;
}

void RegisterBuiltinClass(const char* name, WNDPROC proc, int windowExtra, HBRUSH background) {
    auto windowClass = std::make_unique<WindowClass>();
    windowClass->name = name;
    windowClass->proc = proc;
    windowClass->windowExtra = windowExtra;
    windowClass->background = background;
    windowClass->cursor = api::LoadCursor(nullptr, IDC_ARROW);
    Sys().classes.push_back(std::move(windowClass));
}

LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWin(hwnd);
    if (w == nullptr || w->proc == nullptr) {
        return 0;
    }
    WNDPROC proc = w->proc;
    DispatchScope scope;
    return proc(hwnd, msg, wParam, lParam);
}

void NotifyParent(HWND control, WORD code) {
    Window* w = FindWin(control);
    if (w == nullptr || w->parent == nullptr) {
        return;
    }
    Send(w->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(w->id), code),
         reinterpret_cast<LPARAM>(control));
}

RECT ClientInsets(DWORD style, DWORD exStyle) {
    int frame = 0;
    if (style & WS_THICKFRAME) {
        frame = kSizingFrame;
    } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
        frame = kDialogFrame;
    } else if (style & WS_BORDER) {
        frame = kBorder;
    }
    if (exStyle & WS_EX_CLIENTEDGE) {
        frame += kClientEdge;
    }
    if (exStyle & WS_EX_STATICEDGE) {
        frame += kBorder;
    }
    int top = frame + ((style & WS_CAPTION) == WS_CAPTION ? kCaptionHeight : 0);
    return RECT{frame, top, frame, frame};
}

RECT ClientRectOf(const Window& w) {
    RECT insets = ClientInsets(w.style, w.exStyle);
    LONG width = std::max<LONG>(0, w.rect.right - w.rect.left - insets.left - insets.right);
    LONG height = std::max<LONG>(0, w.rect.bottom - w.rect.top - insets.top - insets.bottom);
    return RECT{0, 0, width, height};
}

POINT ClientOriginOnScreen(HWND hwnd) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return POINT{0, 0};
    }
    RECT screen = ScreenRectOf(*w);
    RECT insets = ClientInsets(w->style, w->exStyle);
    return POINT{screen.left + insets.left, screen.top + insets.top};
}

bool IsVisibleDeep(HWND hwnd) {
    for (Window* w = FindWin(hwnd); w != nullptr; w = FindWin(w->parent)) {
        if (!(w->style & WS_VISIBLE)) {
            return false;
        }
        if (w->parent == nullptr) {
            return true;
        }
    }
    return false;
}

bool IsEnabledDeep(HWND hwnd) {
    for (Window* w = FindWin(hwnd); w != nullptr; w = FindWin(w->parent)) {
        if (w->style & WS_DISABLED) {
            return false;
        }
        if (w->parent == nullptr) {
            return true;
        }
    }
    return false;
}

HWND TopLevelOf(HWND hwnd) {
    Window* w = FindWin(hwnd);
    while (w != nullptr && w->parent != nullptr) {
        w = FindWin(w->parent);
    }
    return w != nullptr ? w->hwnd : nullptr;
}

bool IsDescendant(HWND ancestor, HWND hwnd) {
    Window* w = FindWin(hwnd);
    while (w != nullptr && w->parent != nullptr) {
        if (w->parent == ancestor) {
            return true;
        }
        w = FindWin(w->parent);
    }
    return false;
}

}  // namespace fw::headless::detail

namespace fw::api {

using namespace fw::headless;
using namespace fw::headless::detail;

// --- Messages --------------------------------------------------------------
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    InitSystem();
    if (hwnd == HWND_BROADCAST) {
        std::vector<HWND> all = Sys().topLevel;
        for (HWND top : all) {
            Send(top, msg, wParam, lParam);
        }
        return 0;
    }
    return Send(hwnd, msg, wParam, lParam);
}

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    InitSystem();
    System& sys = Sys();
    if (hwnd == HWND_BROADCAST) {
        for (HWND top : sys.topLevel) {
            sys.queue.push_back(MSG{top, msg, wParam, lParam, static_cast<DWORD>(sys.now), {}});
        }
        return TRUE;
    }
    if (hwnd != nullptr && FindWin(hwnd) == nullptr) {
        return FALSE;
    }
    sys.queue.push_back(MSG{hwnd, msg, wParam, lParam, static_cast<DWORD>(sys.now), {}});
    return TRUE;
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (proc == nullptr) {
        return 0;
    }
    DispatchScope scope;
    return proc(hwnd, msg, wParam, lParam);
}

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return 0;
    }
    switch (msg) {
        case WM_NCCREATE:
            return TakeCreationText(*w, reinterpret_cast<const CREATESTRUCT*>(lParam));
        case WM_SETTEXT:
            w->text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
            Invalidate(hwnd, nullptr, true, false);
            return TRUE;
        case WM_GETTEXT:
            return CopyText(w->text, wParam, lParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(w->text.size());
        case WM_SETREDRAW:
            // Turned back on, nothing repaints until the window is invalidated.
            w->noRedraw = wParam == FALSE;
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE) {
                Send(hwnd, WM_CLOSE, 0, 0);
            }
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return EraseWithClassBrush(*w, reinterpret_cast<HDC>(wParam));
        case WM_SETCURSOR:
            return SetClassCursor(hwnd, wParam, lParam);
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            return DefaultControlColor(msg, reinterpret_cast<HDC>(wParam));
        case WM_NOTIFYFORMAT:
            return 1;  // NFR_ANSI
        case WM_MOUSEACTIVATE:
            return 1;  // MA_ACTIVATE
        case WM_NCHITTEST:
            return HTCLIENT;
        default:
            return 0;
    }
}

// --- Windows ---------------------------------------------------------------
HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                    LPVOID param) {
    InitSystem();
    System& sys = Sys();
    if (className == nullptr || IS_INTRESOURCE(className)) {
        return nullptr;
    }
    const WindowClass* windowClass = FindClass(className);
    if (windowClass == nullptr) {
        return nullptr;
    }
    bool child = (style & WS_CHILD) != 0;
    if (child && FindWin(parent) == nullptr) {
        return nullptr;
    }
    if (parent != nullptr && !child && FindWin(parent) == nullptr) {
        return nullptr;
    }

    auto window = std::make_unique<Window>();
    HWND hwnd = NewHandle<HWND>();
    window->hwnd = hwnd;
    window->windowClass = windowClass;
    window->proc = windowClass->proc;
    window->style = style;
    window->exStyle = exStyle;
    window->instance = instance;
    window->extra.assign(static_cast<size_t>(windowClass->windowExtra), 0);
    if (child) {
        window->parent = parent;
        window->id = static_cast<LONG_PTR>(reinterpret_cast<uintptr_t>(menuOrId));
    } else {
        window->owner = parent != nullptr ? TopLevelOf(parent) : nullptr;
        if (x == CW_USEDEFAULT) {
            x = 0;
            y = 0;
        }
        if (width == CW_USEDEFAULT) {
            width = kScreenWidth / 2;
            height = kScreenHeight / 2;
        }
    }
    window->rect = RECT{x, y, x + std::max(0, width), y + std::max(0, height)};
    sys.windows[Key(hwnd)] = std::move(window);
    if (child) {
        FindWin(parent)->children.push_back(hwnd);
    } else {
        sys.topLevel.push_back(hwnd);
    }

    CREATESTRUCT create{};
    create.lpCreateParams = param;
    create.hInstance = instance;
    create.hMenu = menuOrId;
    create.hwndParent = parent;
    create.cy = height;
    create.cx = width;
    create.y = y;
    create.x = x;
    create.style = static_cast<LONG>(style);
    create.lpszName = windowName;
    create.lpszClass = className;
    create.dwExStyle = exStyle;
    if (!Send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create)) ||
        Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (FindWin(hwnd) == nullptr) {
        return nullptr;
    }
    SendSizeAndMove(hwnd);
    Window* w = FindWin(hwnd);
    if (w != nullptr && (w->style & WS_VISIBLE)) {
        Send(hwnd, WM_SHOWWINDOW, TRUE, 0);
        if (!child) {
            Activate(hwnd);
        }
    }
    return FindWin(hwnd) != nullptr ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
    Window* w = FindWin(hwnd);
    if (w == nullptr || w->destroyed) {
        return FALSE;
    }
    System& sys = Sys();
    bool topLevel = w->parent == nullptr;
    HWND owner = w->owner;
    if (topLevel) {
        // Owned windows go first, as user32 does.
        std::vector<HWND> owned;
        for (HWND other : sys.topLevel) {
            Window* o = FindWin(other);
            if (o != nullptr && o->owner == hwnd) {
                owned.push_back(other);
            }
        }
        for (HWND other : owned) {
            DestroyWindow(other);
        }
    }
    DestroyTree(hwnd);
    if (topLevel) {
        ActivateAnother(hwnd, owner);
    }
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    Window* w = FindWin(hwnd);
    return w != nullptr && !w->destroyed ? TRUE : FALSE;
}

HWND FindWindow(LPCSTR className, LPCSTR windowName) {
    InitSystem();
    const std::vector<HWND>& all = Sys().topLevel;
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        Window* w = FindWin(*it);
        if (w == nullptr || w->destroyed) {
            continue;
        }
        if (className != nullptr && !IS_INTRESOURCE(className) &&
            !EqualNoCase(w->windowClass->name, className)) {
            continue;
        }
        if (windowName != nullptr && !EqualNoCase(w->text, windowName)) {
            continue;
        }
        return *it;
    }
    return nullptr;
}

int GetClassName(HWND hwnd, LPSTR buffer, int size) {
    Window* w = FindWin(hwnd);
    if (w == nullptr || size <= 0) {
        return 0;
    }
    return static_cast<int>(CopyText(w->windowClass->name, static_cast<WPARAM>(size),
                                     reinterpret_cast<LPARAM>(buffer)));
}

BOOL SetWindowText(HWND hwnd, LPCSTR text) {
    if (FindWin(hwnd) == nullptr) {
        return FALSE;
    }
    return static_cast<BOOL>(Send(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int GetWindowText(HWND hwnd, LPSTR buffer, int size) {
    if (buffer != nullptr && size > 0) {
        buffer[0] = '\0';
    }
    if (FindWin(hwnd) == nullptr || buffer == nullptr || size <= 0) {
        return 0;
    }
    return static_cast<int>(
        Send(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hwnd) {
    return static_cast<int>(Send(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return FALSE;
    }
    BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (enable && wasDisabled) {
        w->style &= ~static_cast<DWORD>(WS_DISABLED);
        Invalidate(hwnd, nullptr, true, false);
        Send(hwnd, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        w->style |= WS_DISABLED;
        Invalidate(hwnd, nullptr, true, false);
        // A disabled window cannot keep the focus (its children keep theirs,
        // as when a modal window disables its owner).
        if (Sys().focus == hwnd) {
            SetFocus(nullptr);
        }
        Send(hwnd, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
    Window* w = FindWin(hwnd);
    return w != nullptr && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND hwnd, int cmdShow) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return FALSE;
    }
    BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
    bool show = cmdShow != SW_HIDE;
    if (show == static_cast<bool>(wasVisible)) {
        return wasVisible;
    }
    Send(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    w = FindWin(hwnd);
    if (w == nullptr) {
        return wasVisible;
    }
    System& sys = Sys();
    if (show) {
        w->style |= WS_VISIBLE;
        Invalidate(hwnd, nullptr, true, true);
        if (w->parent == nullptr && cmdShow != SW_SHOWNOACTIVATE && cmdShow != SW_SHOWNA &&
            cmdShow != SW_SHOWMINNOACTIVE) {
            Activate(hwnd);
        }
    } else {
        w->style &= ~static_cast<DWORD>(WS_VISIBLE);
        if (w->parent != nullptr) {
            Invalidate(w->parent, &w->rect, true, false);
        }
        if (sys.focus != nullptr && (sys.focus == hwnd || IsDescendant(hwnd, sys.focus))) {
            SetFocus(w->parent);
        }
        if (w->parent == nullptr) {
            ActivateAnother(hwnd, w->owner);
        }
    }
    return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
    return IsVisibleDeep(hwnd) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return FALSE;
    }
    RECT old = w->rect;
    RECT next = old;
    if (!(flags & SWP_NOMOVE)) {
        next.left = x;
        next.top = y;
    }
    next.right = next.left + ((flags & SWP_NOSIZE) ? old.right - old.left : std::max(0, cx));
    next.bottom = next.top + ((flags & SWP_NOSIZE) ? old.bottom - old.top : std::max(0, cy));

    if (!(flags & SWP_NOZORDER)) {
        std::vector<HWND>& siblings = SiblingsOf(*w);
        siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd), siblings.end());
        if (insertAfter == HWND_BOTTOM) {
            siblings.push_back(hwnd);
        } else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST ||
                   insertAfter == HWND_NOTOPMOST) {
            siblings.insert(siblings.begin(), hwnd);
        } else {
            auto at = std::find(siblings.begin(), siblings.end(), insertAfter);
            siblings.insert(at == siblings.end() ? siblings.end() : at + 1, hwnd);
        }
    }

    bool moved = next.left != old.left || next.top != old.top;
    bool sized = (next.right - next.left) != (old.right - old.left) ||
                 (next.bottom - next.top) != (old.bottom - old.top);
    w->rect = next;
    if ((moved || sized || (flags & SWP_FRAMECHANGED)) && !(flags & SWP_NOREDRAW)) {
        Invalidate(hwnd, nullptr, true, true);
        if (w->parent != nullptr) {
            Invalidate(w->parent, &old, true, false);
        }
    }
    if (moved || sized) {
        SendSizeAndMove(hwnd);
    }
    if (flags & SWP_SHOWWINDOW) {
        ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    } else if (flags & SWP_HIDEWINDOW) {
        ShowWindow(hwnd, SW_HIDE);
    }
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    Window* w = FindWin(hwnd);
    if (w == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = ScreenRectOf(*w);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    Window* w = FindWin(hwnd);
    if (w == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = ClientRectOf(*w);
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    if ((from != nullptr && FindWin(from) == nullptr) ||
        (to != nullptr && FindWin(to) == nullptr)) {
        return 0;
    }
    POINT fromOrigin = from != nullptr ? ClientOriginOnScreen(from) : POINT{0, 0};
    POINT toOrigin = to != nullptr ? ClientOriginOnScreen(to) : POINT{0, 0};
    LONG dx = fromOrigin.x - toOrigin.x;
    LONG dy = fromOrigin.y - toOrigin.y;
    for (UINT i = 0; points != nullptr && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return MAKELONG(static_cast<WORD>(static_cast<SHORT>(dx)),
                    static_cast<WORD>(static_cast<SHORT>(dy)));
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
    if (FindWin(hwnd) == nullptr || point == nullptr) {
        return FALSE;
    }
    MapWindowPoints(nullptr, hwnd, point, 1);
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
    if (FindWin(hwnd) == nullptr || point == nullptr) {
        return FALSE;
    }
    MapWindowPoints(hwnd, nullptr, point, 1);
    return TRUE;
}

HWND GetDlgItem(HWND dialog, int id) {
    Window* w = FindWin(dialog);
    if (w == nullptr) {
        return nullptr;
    }
    for (HWND child : w->children) {
        Window* c = FindWin(child);
        if (c != nullptr && static_cast<int>(c->id) == id) {
            return child;
        }
    }
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    Window* w = FindWin(hwnd);
    return w != nullptr && w->parent != nullptr ? static_cast<int>(w->id) : 0;
}

HWND GetParent(HWND hwnd) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return nullptr;
    }
    if (w->style & WS_CHILD) {
        return w->parent;
    }
    return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return nullptr;
    }
    if (cmd == GW_CHILD) {
        return w->children.empty() ? nullptr : w->children.front();
    }
    if (cmd == GW_OWNER) {
        return w->parent == nullptr ? w->owner : nullptr;
    }
    const std::vector<HWND>& siblings = SiblingsOf(*w);
    auto at = std::find(siblings.begin(), siblings.end(), hwnd);
    switch (cmd) {
        case GW_HWNDFIRST:
            return siblings.front();
        case GW_HWNDLAST:
            return siblings.back();
        case GW_HWNDNEXT:
            return at + 1 < siblings.end() ? *(at + 1) : nullptr;
        case GW_HWNDPREV:
            return at != siblings.begin() ? *(at - 1) : nullptr;
        default:
            return nullptr;
    }
}

HWND SetFocus(HWND hwnd) {
    System& sys = Sys();
    HWND previous = FindWin(sys.focus) != nullptr ? sys.focus : nullptr;
    if (hwnd != nullptr) {
        for (Window* w = FindWin(hwnd); w != nullptr; w = FindWin(w->parent)) {
            if (w->style & (WS_DISABLED | WS_MINIMIZE)) {
                return nullptr;
            }
        }
        if (FindWin(hwnd) == nullptr) {
            return nullptr;
        }
        HWND top = TopLevelOf(hwnd);
        if (top != sys.active) {
            Activate(top);
        }
    }
    if (hwnd == previous) {
        return previous;
    }
    sys.focus = hwnd;
    if (previous != nullptr) {
        Send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    }
    if (hwnd != nullptr && sys.focus == hwnd) {
        Send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return previous;
}

HWND GetFocus() {
    System& sys = Sys();
    return FindWin(sys.focus) != nullptr ? sys.focus : nullptr;
}

HWND GetActiveWindow() {
    System& sys = Sys();
    return FindWin(sys.active) != nullptr ? sys.active : nullptr;
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return 0;
    }
    switch (index) {
        case GWL_STYLE:
            return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
        case GWL_EXSTYLE:
            return static_cast<LONG_PTR>(static_cast<LONG>(w->exStyle));
        case GWLP_WNDPROC:
            return reinterpret_cast<LONG_PTR>(w->proc);
        case GWLP_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(w->instance);
        case GWLP_HWNDPARENT:
            return reinterpret_cast<LONG_PTR>(w->parent != nullptr ? w->parent : w->owner);
        case GWLP_USERDATA:
            return w->userData;
        case GWLP_ID:
            return w->id;
        default:
            break;
    }
    if (index < 0 || static_cast<size_t>(index) + sizeof(LONG_PTR) > w->extra.size()) {
        return 0;
    }
    LONG_PTR value = 0;
    std::memcpy(&value, w->extra.data() + index, sizeof(value));
    return value;
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return 0;
    }
    LONG_PTR previous = GetWindowLongPtr(hwnd, index);
    switch (index) {
        case GWL_STYLE:
        case GWL_EXSTYLE: {
            struct {
                DWORD styleOld;
                DWORD styleNew;
            } change{static_cast<DWORD>(previous), static_cast<DWORD>(value)};
            WPARAM which = static_cast<WPARAM>(static_cast<LONG_PTR>(index));
            Send(hwnd, WM_STYLECHANGING, which, reinterpret_cast<LPARAM>(&change));
            w = FindWin(hwnd);
            if (w == nullptr) {
                return previous;
            }
            (index == GWL_STYLE ? w->style : w->exStyle) = change.styleNew;
            Send(hwnd, WM_STYLECHANGED, which, reinterpret_cast<LPARAM>(&change));
            return previous;
        }
        case GWLP_WNDPROC:
            w->proc = reinterpret_cast<WNDPROC>(value);
            return previous;
        case GWLP_HINSTANCE:
            w->instance = reinterpret_cast<HINSTANCE>(value);
            return previous;
        case GWLP_HWNDPARENT:
            if (w->parent == nullptr) {
                w->owner = reinterpret_cast<HWND>(value);
            }
            return previous;
        case GWLP_USERDATA:
            w->userData = value;
            return previous;
        case GWLP_ID:
            w->id = value;
            return previous;
        default:
            break;
    }
    if (index < 0 || static_cast<size_t>(index) + sizeof(LONG_PTR) > w->extra.size()) {
        return 0;
    }
    std::memcpy(w->extra.data() + index, &value, sizeof(value));
    return previous;
}

BOOL SetProp(HWND hwnd, LPCSTR name, HANDLE data) {
    Window* w = FindWin(hwnd);
    if (w == nullptr || !IsPropName(name)) {
        return FALSE;
    }
    auto prop = FindProp(*w, name);
    if (prop != w->props.end()) {
        prop->second = data;
    } else {
        w->props.emplace_back(UpperCase(name), data);
    }
    return TRUE;
}

HANDLE GetProp(HWND hwnd, LPCSTR name) {
    Window* w = FindWin(hwnd);
    if (w == nullptr || !IsPropName(name)) {
        return nullptr;
    }
    auto prop = FindProp(*w, name);
    return prop != w->props.end() ? prop->second : nullptr;
}

HANDLE RemoveProp(HWND hwnd, LPCSTR name) {
    Window* w = FindWin(hwnd);
    if (w == nullptr || !IsPropName(name)) {
        return nullptr;
    }
    auto prop = FindProp(*w, name);
    if (prop == w->props.end()) {
        return nullptr;
    }
    HANDLE data = prop->second;
    w->props.erase(prop);
    return data;
}

HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name) {
    // The system's cursors only; a module has no cursor resources here.
    if (instance != nullptr || !IS_INTRESOURCE(name)) {
        return nullptr;
    }
    WORD id = LOWORD(reinterpret_cast<uintptr_t>(name));
    if (id < 32512 || id > 32650) {
        return nullptr;
    }
    // Stable handles, one per system cursor, outside the handle counter.
    return reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(0x7F000000u + id * 4u));
}

HCURSOR SetCursor(HCURSOR cursor) {
    System& sys = Sys();
    HCURSOR previous = sys.cursor;
    sys.cursor = cursor;
    return previous;
}

}  // namespace fw::api

namespace fw::headless {

using namespace detail;

void PumpMessages() {
    System& sys = Sys();
    for (int delivered = 0; !sys.queue.empty(); ++delivered) {
        if (delivered == kPumpLimit) {
            RecordError("posted messages keep coming: the queue was abandoned after " +
                        std::to_string(kPumpLimit) + " messages");
            sys.queue.clear();
            return;
        }
        MSG msg = sys.queue.front();
        sys.queue.pop_front();
        Window* w = FindWin(msg.hwnd);
        if (w == nullptr) {
            continue;
        }
        if (w->keepPosts) {
            w->posted.push_back(msg);
        }
        Send(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    }
}

bool RegisterWindowClass(const WNDCLASS& windowClass) {
    InitSystem();
    if (windowClass.lpszClassName == nullptr || IS_INTRESOURCE(windowClass.lpszClassName) ||
        FindClass(windowClass.lpszClassName) != nullptr) {
        return false;
    }
    auto entry = std::make_unique<WindowClass>();
    entry->name = windowClass.lpszClassName;
    entry->proc = windowClass.lpfnWndProc != nullptr ? windowClass.lpfnWndProc : PlainWindowProc;
    entry->windowExtra = std::max(0, windowClass.cbWndExtra);
    entry->background = windowClass.hbrBackground;
    entry->cursor = windowClass.hCursor;
    Sys().classes.push_back(std::move(entry));
    return true;
}

HWND CreateTopLevelWindow(const char* className, const char* title) {
    InitSystem();
    if (FindClass(className) == nullptr) {
        WNDCLASS windowClass{};
        windowClass.lpfnWndProc = PlainWindowProc;
        windowClass.lpszClassName = className;
        RegisterWindowClass(windowClass);
    }
    HWND hwnd = api::CreateWindowEx(0, className, title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                    nullptr, nullptr, nullptr, nullptr);
    if (Window* w = FindWin(hwnd)) {
        w->keepPosts = true;
    }
    return hwnd;
}

std::vector<MSG> TakePostedMessages(HWND window) {
    System& sys = Sys();
    std::vector<MSG> taken;
    if (Window* w = FindWin(window)) {
        taken.swap(w->posted);
    }
    for (auto it = sys.queue.begin(); it != sys.queue.end();) {
        if (it->hwnd == window) {
            taken.push_back(*it);
            it = sys.queue.erase(it);
        } else {
            ++it;
        }
    }
    return taken;
}

std::vector<std::string> TakeErrors() {
    std::vector<std::string> errors;
    errors.swap(Sys().errors);
    return errors;
}

size_t LiveWindows() {
    return Sys().windows.size();
}

void Reset() {
    InitSystem();
    System& sys = Sys();
    Modal().hook = nullptr;
    std::vector<HWND> all = sys.topLevel;
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if (FindWin(*it) != nullptr) {
            api::DestroyWindow(*it);
        }
    }
    sys.graveyard.clear();
    sys.topLevel.clear();
    sys.windows.clear();
    sys.queue.clear();
    sys.timers.clear();
    sys.now = 0;
    sys.timerOrder = 0;
    sys.nextThreadTimerId = 1;
    sys.focus = nullptr;
    sys.active = nullptr;
    sys.capture = nullptr;
    sys.cursor = nullptr;
    sys.errors.clear();
    Modal().shellRequests.clear();
    ResetGdi();
    // Classes the tests registered go; the system's own stay.
    sys.classes.clear();
    g_initialized = false;
    InitSystem();
}

}  // namespace fw::headless
