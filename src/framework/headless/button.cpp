// The "Button" class: push buttons, check boxes, radio buttons (automatic
// ones with their group) and group boxes. Setting the state from code
// (BM_SETCHECK) notifies nobody; a click (mouse press and release) changes an
// automatic button's state and sends BN_CLICKED.
#include <algorithm>

#include "framework/headless/control.h"

namespace fw::headless::detail {

namespace {

DWORD TypeOf(const Window& w) {
    return w.style & BS_TYPEMASK;
}

bool IsCheckable(DWORD type) {
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
           type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON;
}

bool IsRadio(DWORD type) {
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

struct ButtonState : ControlState {
    explicit ButtonState(const Window&) {}

    UINT check = BST_UNCHECKED;
    bool pushed = false;

    Answer OnMessage(const ControlMessage& m) override;
    void Paint(HDC dc, const ControlMessage& m) override;
};

// BM_SETCHECK: a state the type cannot show reads as checked.
LRESULT SetCheck(ButtonState& s, const ControlMessage& m, WPARAM value) {
    DWORD type = TypeOf(m.window);
    if (!IsCheckable(type)) {
        return 0;
    }
    UINT check = static_cast<UINT>(value);
    if ((check == BST_INDETERMINATE && type != BS_AUTO3STATE) || check > BST_INDETERMINATE) {
        check = BST_CHECKED;
    }
    if (s.check != check) {
        s.check = check;
        Invalidate(m.hwnd, nullptr, true, false);
    }
    // A checked radio button is its group's tab stop, as user32 keeps it.
    if (IsRadio(type)) {
        if (check == BST_CHECKED) {
            m.window.style |= WS_TABSTOP;
        } else {
            m.window.style &= ~static_cast<DWORD>(WS_TABSTOP);
        }
    }
    return 0;
}

// What a completed click does: the automatic state change, then BN_CLICKED.
void Clicked(ButtonState& s, const ControlMessage& m) {
    switch (TypeOf(m.window)) {
        case BS_AUTOCHECKBOX:
            SetCheck(s, m, s.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
            break;
        case BS_AUTO3STATE:
            SetCheck(s, m, (s.check + 1) % 3);
            break;
        case BS_AUTORADIOBUTTON:
            SetCheck(s, m, BST_CHECKED);
            for (HWND other : RadioGroupOf(m.hwnd)) {
                Window* o = FindWin(other);
                if (other != m.hwnd && o != nullptr && TypeOf(*o) == BS_AUTORADIOBUTTON) {
                    api::SendMessage(other, BM_SETCHECK, BST_UNCHECKED, 0);
                }
            }
            break;
        case BS_GROUPBOX:
            return;
        default:
            break;
    }
    NotifyParent(m.hwnd, BN_CLICKED);
}

LRESULT ButtonDown(ButtonState& s, const ControlMessage& m) {
    if (TypeOf(m.window) == BS_GROUPBOX) {
        return 0;
    }
    s.pushed = true;
    api::SetFocus(m.hwnd);
    Invalidate(m.hwnd, nullptr, true, false);
    return 0;
}

LRESULT ButtonUp(ButtonState& s, const ControlMessage& m) {
    if (s.pushed) {
        s.pushed = false;
        Invalidate(m.hwnd, nullptr, true, false);
        Clicked(s, m);
    }
    return 0;
}

LRESULT DialogCode(DWORD type) {
    switch (type) {
        case BS_DEFPUSHBUTTON:
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_PUSHBUTTON:
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX:
            return DLGC_STATIC;
        default:
            return DLGC_BUTTON;
    }
}

Answer ButtonState::OnMessage(const ControlMessage& m) {
    switch (m.msg) {
        case BM_GETCHECK:
            return IsCheckable(TypeOf(m.window)) ? check : BST_UNCHECKED;
        case BM_SETCHECK:
            return SetCheck(*this, m, m.wParam);
        case BM_SETSTYLE:
            m.window.style = (m.window.style & 0xFFFF0000u) | LOWORD(m.wParam);
            if (m.lParam) {
                Invalidate(m.hwnd, nullptr, true, false);
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            return ButtonDown(*this, m);
        case WM_LBUTTONUP:
            return ButtonUp(*this, m);
        case WM_KILLFOCUS:
            pushed = false;
            return 0;
        case WM_GETDLGCODE:
            return DialogCode(TypeOf(m.window));
        case WM_NCHITTEST:
            return TypeOf(m.window) == BS_GROUPBOX ? HTTRANSPARENT : HTCLIENT;
        default:
            return Default();
    }
}

void PaintGroupBox(HDC dc, const RECT& client, HBRUSH brush, const std::string& text,
                   int lineHeight) {
    // The frame runs through the middle of the caption line.
    DrawFrame(dc, RECT{0, lineHeight / 2, client.right, client.bottom},
              api::GetSysColorBrush(COLOR_BTNSHADOW));
    RECT caption{8, 0, client.right - 8, lineHeight};
    api::DrawText(dc, text.c_str(), -1, &caption, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
    api::FillRect(dc, &caption, brush);
    api::DrawText(dc, text.c_str(), -1, &caption, DT_LEFT | DT_SINGLELINE);
}

void PaintCheckBox(HDC dc, const RECT& client, UINT check, const std::string& text) {
    // A 13 x 13 box (white, black frame) with a 7 x 7 mark when checked.
    int top = (client.bottom - 13) / 2;
    api::SelectObject(dc, api::GetStockObject(BLACK_PEN));
    api::SelectObject(dc, api::GetStockObject(WHITE_BRUSH));
    api::Rectangle(dc, 0, top, 13, top + 13);
    if (check != BST_UNCHECKED) {
        RECT mark{3, top + 3, 10, top + 10};
        api::FillRect(
            dc, &mark,
            api::GetSysColorBrush(check == BST_CHECKED ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    }
    RECT label{17, 0, client.right, client.bottom};
    api::DrawText(dc, text.c_str(), -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void ButtonState::Paint(HDC dc, const ControlMessage& m) {
    const Window& w = m.window;
    RECT client = ClientRectOf(w);
    DWORD type = TypeOf(w);
    HBRUSH brush =
        ControlBrush(m.hwnd, type == BS_GROUPBOX ? WM_CTLCOLORSTATIC : WM_CTLCOLORBTN, dc);
    api::FillRect(dc, &client, brush);
    api::SelectObject(dc, font != nullptr ? font : SystemFont());
    api::SetBkMode(dc, TRANSPARENT);
    api::SetTextColor(dc,
                      api::GetSysColor((w.style & WS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    std::string text = w.text;
    int lineHeight = FontHeightOf(m.hwnd);
    if (type == BS_GROUPBOX) {
        PaintGroupBox(dc, client, brush, text, lineHeight);
    } else if (IsCheckable(type)) {
        PaintCheckBox(dc, client, check, text);
    } else {
        // Push button: a frame, two pixels when it is the default button.
        DrawFrame(dc, client, api::GetSysColorBrush(COLOR_WINDOWFRAME),
                  type == BS_DEFPUSHBUTTON ? 2 : 1);
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
    return ControlProc<ButtonState>(hwnd, msg, wParam, lParam);
}

}  // namespace fw::headless::detail
