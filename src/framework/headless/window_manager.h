// The window manager of the headless backend, as its sources share it:
// windows and their classes, the message queue, focus and activation, timers
// on the virtual clock, and the problems a test should fail on. Not for use
// outside src/framework/headless.
//
// Handles are numbers from one counter, shown as pointers; a handle is looked
// up in its table on every use, so a stale handle fails the call instead of
// touching freed memory. A destroyed window stays in a graveyard until the
// outermost message dispatch returns, so code still running for it (a
// control's procedure after it notified its parent) never sees freed memory.
#ifndef SETUP_FRAMEWORK_HEADLESS_WINDOW_MANAGER_H
#define SETUP_FRAMEWORK_HEADLESS_WINDOW_MANAGER_H

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>
#include <unordered_map>
#include <utility>
#include <vector>

#include "framework/controls/list_order.h"
#include "framework/headless/gdi_objects.h"
#include "framework/headless/headless.h"
#include "framework/winapi.h"

namespace fw::headless::detail {

// --- Windows -----------------------------------------------------------------
// The state of a window of one of the backend's own classes (a dialog, a
// control), owned by its window.
struct WindowState {
    virtual ~WindowState() = default;
};

struct WindowClass {
    std::string name;
    WNDPROC proc = nullptr;
    int windowExtra = 0;  // bytes, addressed by GetWindowLongPtr(index >= 0)
    HBRUSH background = nullptr;
    HCURSOR cursor = nullptr;
};

struct Window {
    HWND hwnd = nullptr;
    const WindowClass* windowClass = nullptr;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string text;
    HWND parent = nullptr;  // child windows
    HWND owner = nullptr;   // top-level windows
    std::vector<HWND> children;
    LONG_PTR id = 0;
    HINSTANCE instance = nullptr;
    RECT rect{};  // in the parent's client coordinates, or on the screen
    LONG_PTR userData = 0;
    std::vector<uint8_t> extra;
    std::vector<std::pair<std::string, HANDLE>> props;  // names upper-cased

    // Painting.
    bool needsPaint = true;
    bool needsErase = true;
    bool noRedraw = false;  // WM_SETREDRAW FALSE: invalidating is ignored
    RECT invalid{};         // union of the invalidated client rectangles
    Surface surface;

    bool destroyed = false;
    bool keepPosts = false;  // CreateTopLevelWindow: keep what is posted
    std::vector<MSG> posted;

    std::unique_ptr<WindowState> state;
};

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    TIMERPROC proc = nullptr;
    uint64_t due = 0;
    uint64_t order = 0;  // creation order, for timers due at the same time
};

// --- The window manager's state ------------------------------------------------
struct System {
    uintptr_t nextHandle = 0x10000;
    // Looked up on every message: hashed.
    std::unordered_map<uintptr_t, std::unique_ptr<Window>> windows;
    std::vector<HWND> topLevel;  // creation order
    std::vector<std::unique_ptr<Window>> graveyard;
    int dispatchDepth = 0;

    std::vector<std::unique_ptr<WindowClass>> classes;

    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
    HCURSOR cursor = nullptr;

    std::deque<MSG> queue;

    uint64_t now = 0;
    uint64_t timerOrder = 0;
    UINT_PTR nextThreadTimerId = 1;
    std::vector<Timer> timers;

    std::vector<std::string> errors;
};

System& Sys();
// Registers the system's classes once (the dialog class, the controls).
void InitSystem();
// A problem for the test to fail on (TakeErrors).
void RecordError(std::string message);

uintptr_t NewHandleValue();
template <typename H>
H NewHandle() {
    return reinterpret_cast<H>(NewHandleValue());
}
inline uintptr_t Key(const void* handle) {
    return reinterpret_cast<uintptr_t>(handle);
}
// The signed coordinates of a mouse message's lParam.
inline POINT PointOf(LPARAM lParam) {
    return POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
}

// The entry of a handle in one of the backend's tables; nullptr for NULL or
// a handle the table does not hold.
template <class Table>
auto FindIn(Table& table, const void* handle) -> decltype(table.begin()->second.get()) {
    if (handle == nullptr) {
        return nullptr;
    }
    auto it = table.find(Key(handle));
    return it == table.end() ? nullptr : it->second.get();
}

Window* FindWin(HWND hwnd);  // live windows only
// The state of class `State` that a window owns; nullptr for a dead window
// or one of another class. The states are leaf classes, so the exact type is
// compared (every message of a control asks for it).
template <class State>
State* WindowStateOf(HWND hwnd) {
    Window* w = FindWin(hwnd);
    WindowState* state = w != nullptr ? w->state.get() : nullptr;
    return state != nullptr && typeid(*state) == typeid(State) ? static_cast<State*>(state)
                                                               : nullptr;
}
const WindowClass* FindClass(std::string_view name);
void RegisterBuiltinClass(const char* name, WNDPROC proc, int windowExtra, HBRUSH background);
// WM_GETTEXT and its kind: as much of the text as `size` characters with the
// NUL hold, copied to `buffer`; the characters copied.
LRESULT CopyText(std::string_view text, WPARAM size, LPARAM buffer);

// Keeps the dispatch depth right while a window procedure runs, and empties
// the graveyard when the outermost dispatch returns.
class DispatchScope {
public:
    DispatchScope() { ++Sys().dispatchDepth; }
    ~DispatchScope() {
        System& sys = Sys();
        if (--sys.dispatchDepth == 0) {
            sys.graveyard.clear();
        }
    }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;
};

// Sends a message through the window's procedure; 0 for a dead window.
LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// WM_COMMAND with a notification code to the parent of a control.
void NotifyParent(HWND control, WORD code);

// --- Geometry ------------------------------------------------------------------
// Client area in window coordinates (the non-client frame subtracted).
RECT ClientInsets(DWORD style, DWORD exStyle);
RECT ClientRectOf(const Window& w);     // (0, 0, width, height)
POINT ClientOriginOnScreen(HWND hwnd);  // client (0, 0) in screen coordinates
bool IsVisibleDeep(HWND hwnd);          // itself and every ancestor
bool IsEnabledDeep(HWND hwnd);
HWND TopLevelOf(HWND hwnd);
bool IsDescendant(HWND ancestor, HWND hwnd);

// --- Painting (painting.cpp) ------------------------------------------------------
// Marks a window (and optionally its children) as needing a paint.
void Invalidate(HWND hwnd, const RECT* rect, bool erase, bool children);
// Paints a window that needs it (WM_PAINT), then its children.
void PaintPending(HWND hwnd, bool children);

// --- Timers (timers.cpp) ----------------------------------------------------------
// Timers of a destroyed window go with it.
void KillWindowTimers(HWND hwnd);

}  // namespace fw::headless::detail

#endif
