// The "Button" class: push buttons, check boxes, radio buttons (automatic
// ones with their group) and group boxes. Setting the state from code
// (BM_SETCHECK) notifies nobody; a click (mouse press and release, or
// BM_CLICK) changes an automatic button's state and sends BN_CLICKED.
#include <algorithm>

#include "framework/api.h"
#include "framework/headless/system.h"

namespace fw::headless::detail {

namespace {

struct ButtonState : ControlState {
    UINT check = BST_UNCHECKED;
    bool pushed = false;
    bool focused = false;
    HFONT font = nullptr;
    HANDLE image = nullptr;
};

ButtonState* StateOf(HWND hwnd) {
    return ControlStateOf<ButtonState>(hwnd);
}

DWORD TypeOf(HWND hwnd) {
    Window* w = FindWin(hwnd);
    return w != nullptr ? (w->style & BS_TYPEMASK) : 0;
}

bool IsCheckable(DWORD type) {
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
           type == BS_3STATE || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON;
}

bool IsRadio(DWORD type) {
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

void SetCheck(HWND hwnd, WPARAM value) {
    ButtonState* state = StateOf(hwnd);
    DWORD type = TypeOf(hwnd);
    if (state == nullptr || !IsCheckable(type)) {
        return;
    }
    UINT check = static_cast<UINT>(value);
    if (check == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE) {
        check = BST_CHECKED;
    }
    if (check > BST_INDETERMINATE) {
        check = BST_CHECKED;
    }
    if (state->check != check) {
        state->check = check;
        Invalidate(hwnd, nullptr, true, false);
    }
    // A checked radio button is its group's tab stop, as user32 keeps it.
    if (IsRadio(type)) {
        Window* w = FindWin(hwnd);
        if (check == BST_CHECKED) {
            w->style |= WS_TABSTOP;
        } else {
            w->style &= ~static_cast<DWORD>(WS_TABSTOP);
        }
    }
}

// What a completed click does: the automatic state change, then BN_CLICKED.
void Clicked(HWND hwnd) {
    ButtonState* state = StateOf(hwnd);
    if (state == nullptr) {
        return;
    }
    switch (TypeOf(hwnd)) {
        case BS_AUTOCHECKBOX:
            SetCheck(hwnd, state->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
            break;
        case BS_AUTO3STATE:
            SetCheck(hwnd, (state->check + 1) % 3);
            break;
        case BS_AUTORADIOBUTTON:
            SetCheck(hwnd, BST_CHECKED);
            for (HWND other : RadioGroupOf(hwnd)) {
                if (other != hwnd && TypeOf(other) == BS_AUTORADIOBUTTON) {
                    api::SendMessage(other, BM_SETCHECK, BST_UNCHECKED, 0);
                }
            }
            break;
        case BS_GROUPBOX:
            return;
        default:
            break;
    }
    NotifyParent(hwnd, BN_CLICKED);
}

void Paint(HWND hwnd, HDC dc, const Window& w) {
    ButtonState* state = StateOf(hwnd);
    if (state == nullptr) {
        return;
    }
    RECT client = ClientRectOf(w);
    DWORD type = w.style & BS_TYPEMASK;
    HBRUSH brush = ControlBrush(hwnd, type == BS_GROUPBOX ? WM_CTLCOLORSTATIC : WM_CTLCOLORBTN, dc);
    api::FillRect(dc, &client, brush);
    api::SelectObject(dc, state->font != nullptr ? state->font : SystemFont());
    api::SetBkMode(dc, TRANSPARENT);
    api::SetTextColor(dc,
                      api::GetSysColor((w.style & WS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    std::string text = w.text;
    int lineHeight = FontHeightOf(hwnd);
    if (type == BS_GROUPBOX) {
        // The frame runs through the middle of the caption line.
        HBRUSH frame = api::GetSysColorBrush(COLOR_BTNSHADOW);
        int y = lineHeight / 2;
        RECT edges[] = {{0, y, client.right, y + 1},
                        {0, client.bottom - 1, client.right, client.bottom},
                        {0, y, 1, client.bottom},
                        {client.right - 1, y, client.right, client.bottom}};
        for (const RECT& edge : edges) {
            api::FillRect(dc, &edge, frame);
        }
        RECT caption{8, 0, client.right - 8, lineHeight};
        api::DrawText(dc, text.c_str(), -1, &caption, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
        api::FillRect(dc, &caption, brush);
        api::DrawText(dc, text.c_str(), -1, &caption, DT_LEFT | DT_SINGLELINE);
    } else if (IsCheckable(type)) {
        // A 13 x 13 box (white, black frame) with a 7 x 7 mark when checked.
        int top = (client.bottom - 13) / 2;
        api::SelectObject(dc, api::GetStockObject(BLACK_PEN));
        api::SelectObject(dc, api::GetStockObject(WHITE_BRUSH));
        api::Rectangle(dc, 0, top, 13, top + 13);
        if (state->check != BST_UNCHECKED) {
            RECT mark{3, top + 3, 10, top + 10};
            api::FillRect(dc, &mark,
                          api::GetSysColorBrush(state->check == BST_CHECKED ? COLOR_WINDOWTEXT
                                                                            : COLOR_GRAYTEXT));
        }
        RECT label{17, 0, client.right, client.bottom};
        api::DrawText(dc, text.c_str(), -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    } else {
        // Push button: a frame, two pixels when it is the default button.
        int thickness = type == BS_DEFPUSHBUTTON ? 2 : 1;
        HBRUSH frame = api::GetSysColorBrush(COLOR_WINDOWFRAME);
        RECT edges[] = {{0, 0, client.right, thickness},
                        {0, client.bottom - thickness, client.right, client.bottom},
                        {0, 0, thickness, client.bottom},
                        {client.right - thickness, 0, client.right, client.bottom}};
        for (const RECT& edge : edges) {
            api::FillRect(dc, &edge, frame);
        }
        RECT label = client;
        api::DrawText(dc, text.c_str(), -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

}  // namespace

std::vector<HWND> RadioGroupOf(HWND button) {
    Window* w = FindWin(button);
    if (w == nullptr || w->parent == nullptr) {
        return {button};
    }
    const std::vector<HWND>& siblings = FindWin(w->parent)->children;
    auto at = std::find(siblings.begin(), siblings.end(), button);
    size_t index = static_cast<size_t>(at - siblings.begin());
    size_t first = index;
    while (first > 0 && !(FindWin(siblings[first])->style & WS_GROUP)) {
        --first;
    }
    size_t end = index + 1;
    while (end < siblings.size() && !(FindWin(siblings[end])->style & WS_GROUP)) {
        ++end;
    }
    return std::vector<HWND>(siblings.begin() + static_cast<std::ptrdiff_t>(first),
                             siblings.begin() + static_cast<std::ptrdiff_t>(end));
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return 0;
    }
    if (msg == WM_NCCREATE) {
        w->control = std::make_unique<ButtonState>();
        return api::DefWindowProc(hwnd, msg, wParam, lParam);
    }
    ButtonState* state = StateOf(hwnd);
    if (state == nullptr) {
        return api::DefWindowProc(hwnd, msg, wParam, lParam);
    }
    DWORD type = w->style & BS_TYPEMASK;
    switch (msg) {
        case BM_GETCHECK:
            return IsCheckable(type) ? state->check : BST_UNCHECKED;
        case BM_SETCHECK:
            SetCheck(hwnd, wParam);
            return 0;
        case BM_GETSTATE:
            return state->check | (state->pushed ? BST_PUSHED : 0) |
                   (state->focused ? BST_FOCUS : 0);
        case BM_SETSTATE:
            state->pushed = wParam != 0;
            Invalidate(hwnd, nullptr, true, false);
            return 0;
        case BM_SETSTYLE:
            w->style = (w->style & 0xFFFF0000u) | LOWORD(wParam);
            if (lParam) {
                Invalidate(hwnd, nullptr, true, false);
            }
            return 0;
        case BM_CLICK:
            Send(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            Send(hwnd, WM_LBUTTONUP, 0, 0);
            return 0;
        case BM_GETIMAGE:
            return reinterpret_cast<LRESULT>(state->image);
        case BM_SETIMAGE: {
            HANDLE previous = state->image;
            state->image = reinterpret_cast<HANDLE>(lParam);
            return reinterpret_cast<LRESULT>(previous);
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (type == BS_GROUPBOX) {
                return 0;
            }
            state->pushed = true;
            api::SetFocus(hwnd);
            Invalidate(hwnd, nullptr, true, false);
            return 0;
        case WM_LBUTTONUP:
            if (state->pushed) {
                state->pushed = false;
                Invalidate(hwnd, nullptr, true, false);
                Clicked(hwnd);
            }
            return 0;
        case WM_SETFOCUS:
            state->focused = true;
            if (w->style & BS_NOTIFY) {
                NotifyParent(hwnd, BN_SETFOCUS);
            }
            return 0;
        case WM_KILLFOCUS:
            state->focused = false;
            state->pushed = false;
            if (w->style & BS_NOTIFY) {
                NotifyParent(hwnd, BN_KILLFOCUS);
            }
            return 0;
        case WM_GETDLGCODE:
            switch (type) {
                case BS_DEFPUSHBUTTON:
                    return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
                case BS_PUSHBUTTON:
                case BS_OWNERDRAW:
                    return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
                case BS_RADIOBUTTON:
                case BS_AUTORADIOBUTTON:
                    return DLGC_BUTTON | DLGC_RADIOBUTTON;
                case BS_GROUPBOX:
                    return DLGC_STATIC;
                default:
                    return DLGC_BUTTON;
            }
        case WM_NCHITTEST:
            return type == BS_GROUPBOX ? HTTRANSPARENT : HTCLIENT;
        case WM_ENABLE:
            Invalidate(hwnd, nullptr, true, false);
            return 0;
        default:
            return DefControlProc(hwnd, msg, wParam, lParam, state->font, Paint);
    }
}

}  // namespace fw::headless::detail
