// The control classes of user32 and comctl32 that the module uses, and what
// their procedures and their painting share.
#include "framework/headless/control.h"

namespace fw::headless::detail {

namespace {

// Scroll bars: a template may name the class; nothing here scrolls.
LRESULT CALLBACK ScrollBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return api::DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterControlClasses() {
    RegisterBuiltinClass("Button", ButtonProc, 0, nullptr);
    RegisterBuiltinClass("Edit", EditProc, 0, nullptr);
    RegisterBuiltinClass("Static", StaticProc, 0, nullptr);
    RegisterBuiltinClass("ListBox", ListBoxProc, 0, nullptr);
    RegisterBuiltinClass("ComboBox", ComboBoxProc, 0, nullptr);
    RegisterBuiltinClass("ScrollBar", ScrollBarProc, 0, nullptr);
    RegisterBuiltinClass("SysTabControl32", TabControlProc, 0, nullptr);
}

LRESULT DefControlProc(ControlState& state, const ControlMessage& m) {
    switch (m.msg) {
        case WM_SETFONT:
            state.font = reinterpret_cast<HFONT>(m.wParam);
            state.FontChanged(m.hwnd);
            if (m.lParam) {
                Invalidate(m.hwnd, nullptr, true, false);
            }
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(state.font);
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = api::BeginPaint(m.hwnd, &ps);
            if (dc != nullptr && FindWin(m.hwnd) != nullptr) {
                state.Paint(dc, m);
            }
            api::EndPaint(m.hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_ENABLE:
            Invalidate(m.hwnd, nullptr, true, false);
            return 0;
        default:
            return api::DefWindowProc(m.hwnd, m.msg, m.wParam, m.lParam);
    }
}

HBRUSH ControlBrush(HWND control, UINT ctlColorMessage, HDC dc) {
    Window* w = FindWin(control);
    HWND parent = w != nullptr ? (w->parent != nullptr ? w->parent : w->owner) : nullptr;
    LRESULT brush = 0;
    if (parent != nullptr) {
        brush = Send(parent, ctlColorMessage, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(control));
    }
    if (brush == 0) {
        brush = api::DefWindowProc(control, ctlColorMessage, reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(control));
    }
    return reinterpret_cast<HBRUSH>(brush);
}

void PrepareText(HDC dc, const ControlState& state, const Window& w) {
    api::SelectObject(dc, state.font != nullptr ? state.font : SystemFont());
    api::SetBkMode(dc, TRANSPARENT);
    if (w.style & WS_DISABLED) {
        api::SetTextColor(dc, api::GetSysColor(COLOR_GRAYTEXT));
    }
}

void DrawFrame(HDC dc, const RECT& rect, HBRUSH brush, int thickness) {
    const RECT edges[] = {{rect.left, rect.top, rect.right, rect.top + thickness},
                          {rect.left, rect.bottom - thickness, rect.right, rect.bottom},
                          {rect.left, rect.top, rect.left + thickness, rect.bottom},
                          {rect.right - thickness, rect.top, rect.right, rect.bottom}};
    for (const RECT& edge : edges) {
        api::FillRect(dc, &edge, brush);
    }
}

int FontHeightOf(HWND window) {
    HFONT font = reinterpret_cast<HFONT>(Send(window, WM_GETFONT, 0, 0));
    return MetricsOf(LogFontOf(font)).height;
}

}  // namespace fw::headless::detail
