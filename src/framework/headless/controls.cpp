// The control classes of user32 and comctl32 that the module uses, and what
// their painting shares.
#include "framework/api.h"
#include "framework/headless/system.h"

namespace fw::headless::detail {

namespace {

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

LRESULT DefControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, HFONT& font,
                       void (*paint)(HWND, HDC, const Window&)) {
    switch (msg) {
        case WM_SETFONT:
            font = reinterpret_cast<HFONT>(wParam);
            if (lParam) {
                Invalidate(hwnd, nullptr, true, false);
            }
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font);
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = api::BeginPaint(hwnd, &ps);
            Window* w = FindWin(hwnd);
            if (dc != nullptr && w != nullptr) {
                paint(hwnd, dc, *w);
            }
            api::EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        default:
            return api::DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

int FontHeightOf(HWND window) {
    HFONT font = reinterpret_cast<HFONT>(Send(window, WM_GETFONT, 0, 0));
    return MetricsOf(LogFontOf(font)).height;
}

}  // namespace fw::headless::detail
