// The control classes of the headless backend ("Button", "Edit", "Static",
// "ListBox", "ComboBox", "SysTabControl32"), written as user32's and
// comctl32's controls are: the control's state is a struct made with the
// window (WM_NCCREATE) and fetched on the first line of the one window
// procedure they share; the control's own switch on the message calls a
// small handler per message, and what every control does alike is handled
// once, after it (DefControlProc). Not for use outside src/framework/headless.
#ifndef SETUP_FRAMEWORK_HEADLESS_CONTROL_H
#define SETUP_FRAMEWORK_HEADLESS_CONTROL_H

#include <memory>
#include <optional>
#include <vector>

#include "framework/api.h"
#include "framework/headless/window_manager.h"

namespace fw::headless::detail {

// A message as a control's handlers receive it.
struct ControlMessage {
    HWND hwnd;
    Window& window;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;

    // wParam as an item index (-1 and other negative values kept).
    int Index() const { return static_cast<int>(static_cast<INT_PTR>(wParam)); }
    const char* Text() const { return lParam != 0 ? reinterpret_cast<const char*>(lParam) : ""; }
};

// The answer of a control's switch: the message's result, or Default() to
// leave the message to the handling all controls share.
using Answer = std::optional<LRESULT>;
inline Answer Default() {
    return std::nullopt;
}

// The state of a control, made from its window at WM_NCCREATE.
struct ControlState : WindowState {
    HFONT font = nullptr;  // WM_SETFONT

    // The control's own messages: one switch, a handler per message.
    virtual Answer OnMessage(const ControlMessage& m) = 0;
    // WM_PAINT: the whole control on its DC (between BeginPaint and EndPaint).
    virtual void Paint(HDC dc, const ControlMessage& m) = 0;
    // After WM_SETFONT kept the font, before the repaint it may ask for: a
    // control whose size or line height follows its font adjusts it.
    virtual void FontChanged(HWND) {}
};

// What every control does alike, after its own switch: WM_SETFONT keeps the
// font (and repaints when asked), WM_GETFONT answers it, WM_PAINT runs the
// control's Paint while the window lives, WM_ERASEBKGND is left to the paint
// (it covers the whole control), WM_ENABLE repaints; everything else goes to
// DefWindowProc.
LRESULT DefControlProc(ControlState& state, const ControlMessage& m);

// The window procedure of a control class whose state is `State`.
template <class State>
LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return 0;
    }
    if (msg == WM_NCCREATE) {
        w->state = std::make_unique<State>(*w);
        return api::DefWindowProc(hwnd, msg, wParam, lParam);
    }
    State* state = WindowStateOf<State>(hwnd);
    if (state == nullptr) {
        return api::DefWindowProc(hwnd, msg, wParam, lParam);
    }
    const ControlMessage m{hwnd, *w, msg, wParam, lParam};
    if (Answer answer = state->OnMessage(m)) {
        return *answer;
    }
    return DefControlProc(*state, m);
}

// --- The classes (one source each) -------------------------------------------------
void RegisterControlClasses();
LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ListBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ComboBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK TabControlProc(HWND, UINT, WPARAM, LPARAM);

// --- What their painting and notifying share ----------------------------------------
// The brush a control paints its background with: the parent's answer to
// WM_CTLCOLORxxx (which also sets the DC's colours), else the system colour.
HBRUSH ControlBrush(HWND control, UINT ctlColorMessage, HDC dc);
// Selects the control's font (the system font without one), transparent
// text, and grey text when the control is disabled.
void PrepareText(HDC dc, const ControlState& state, const Window& w);
// The border of a rectangle, `thickness` pixels wide, inside it.
void DrawFrame(HDC dc, const RECT& rect, HBRUSH brush, int thickness = 1);
// The height of a line of text in a window's font (WM_GETFONT).
int FontHeightOf(HWND window);

// Gives a static control an image it owns (a dialog template's bitmap):
// STM_SETIMAGE, and the image is deleted with the control.
void StaticTakeImage(HWND control, HBITMAP bitmap);
// An automatic radio button's group: the radio buttons from the group start
// before it to the next group start.
std::vector<HWND> RadioGroupOf(HWND button);
// Item height of a tab control of the font.
int TabItemHeight(HFONT font);

}  // namespace fw::headless::detail

#endif
