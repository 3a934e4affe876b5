// The "Static" class: text in its SS_ alignment, and bitmaps (the control
// takes its bitmap's size unless it centres it). With SS_NOTIFY a mouse press
// sends STN_CLICKED to the parent; without it the control lets the mouse
// through to its parent (HTTRANSPARENT), as user32's static does.
#include "framework/headless/control.h"

namespace fw::headless::detail {

namespace {

struct StaticState : ControlState {
    explicit StaticState(const Window&) {}

    HANDLE image = nullptr;
    bool ownsImage = false;

    Answer OnMessage(const ControlMessage& m) override;
    void Paint(HDC dc, const ControlMessage& m) override;
};

void ReleaseOwnedImage(StaticState& state) {
    if (state.ownsImage && state.image != nullptr) {
        api::DeleteObject(state.image);
    }
    state.ownsImage = false;
    state.image = nullptr;
}

// A bitmap static takes the bitmap's size, unless it centres the image in
// its own (SS_CENTERIMAGE). The image it had.
HANDLE SetImage(StaticState& state, HWND hwnd, HANDLE image) {
    Window* w = FindWin(hwnd);
    HANDLE previous = state.image;
    state.ownsImage = false;
    state.image = image;
    if ((w->style & SS_TYPEMASK) == SS_BITMAP && image != nullptr && !(w->style & SS_CENTERIMAGE)) {
        BITMAP info{};
        if (api::GetObject(image, sizeof(info), &info) != 0) {
            RECT insets = ClientInsets(w->style, w->exStyle);
            api::SetWindowPos(hwnd, nullptr, 0, 0, info.bmWidth + insets.left + insets.right,
                              info.bmHeight + insets.top + insets.bottom,
                              SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    Invalidate(hwnd, nullptr, true, false);
    return previous;
}

// STM_SETIMAGE (bitmaps): an image the control owned goes with the exchange.
LRESULT OnSetImage(StaticState& s, const ControlMessage& m) {
    if (m.wParam != IMAGE_BITMAP) {
        return 0;
    }
    bool owned = s.ownsImage;
    HANDLE previous = SetImage(s, m.hwnd, reinterpret_cast<HANDLE>(m.lParam));
    if (owned && previous != nullptr) {
        api::DeleteObject(previous);
        return 0;
    }
    return reinterpret_cast<LRESULT>(previous);
}

LRESULT NotifyIfAsked(const ControlMessage& m, WORD code) {
    if (m.window.style & SS_NOTIFY) {
        NotifyParent(m.hwnd, code);
    }
    return 0;
}

Answer StaticState::OnMessage(const ControlMessage& m) {
    switch (m.msg) {
        case STM_SETIMAGE:
            return OnSetImage(*this, m);
        case STM_GETIMAGE:
            return reinterpret_cast<LRESULT>(image);
        case WM_NCHITTEST:
            return (m.window.style & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
        case WM_LBUTTONDOWN:
            return NotifyIfAsked(m, STN_CLICKED);
        case WM_LBUTTONDBLCLK:
            return NotifyIfAsked(m, STN_DBLCLK);
        case WM_ENABLE:
            NotifyIfAsked(m, m.wParam ? STN_ENABLE : STN_DISABLE);
            return Default();  // and the repaint
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case WM_NCDESTROY:
            ReleaseOwnedImage(*this);
            return Default();
        default:
            return Default();
    }
}

UINT TextFormat(DWORD style) {
    UINT format = DT_EXPANDTABS;
    switch (style & SS_TYPEMASK) {
        case SS_CENTER:
            format |= DT_CENTER | DT_WORDBREAK;
            break;
        case SS_RIGHT:
            format |= DT_RIGHT | DT_WORDBREAK;
            break;
        case SS_LEFTNOWORDWRAP:
            format |= DT_LEFT;
            break;
        case SS_SIMPLE:
            format = DT_LEFT | DT_SINGLELINE;
            break;
        default:
            format |= DT_LEFT | DT_WORDBREAK;
            break;
    }
    if (style & SS_CENTERIMAGE) {
        format |= DT_VCENTER | DT_SINGLELINE;
    }
    return format;
}

void PaintBitmap(HDC dc, HANDLE image, const RECT& client, DWORD style) {
    BITMAP info{};
    if (image == nullptr || api::GetObject(image, sizeof(info), &info) == 0) {
        return;
    }
    HDC memory = api::CreateCompatibleDC(dc);
    HGDIOBJ old = api::SelectObject(memory, image);
    int x = 0;
    int y = 0;
    if (style & SS_CENTERIMAGE) {
        x = (client.right - info.bmWidth) / 2;
        y = (client.bottom - info.bmHeight) / 2;
    }
    api::BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    api::SelectObject(memory, old);
    api::DeleteDC(memory);
}

void StaticState::Paint(HDC dc, const ControlMessage& m) {
    const Window& w = m.window;
    RECT client = ClientRectOf(w);
    HBRUSH brush = ControlBrush(m.hwnd, WM_CTLCOLORSTATIC, dc);
    api::FillRect(dc, &client, brush);
    switch (w.style & SS_TYPEMASK) {
        case SS_BITMAP:
            PaintBitmap(dc, image, client, w.style);
            break;
        case SS_ICON:
        case SS_ENHMETAFILE:
            break;  // pictures show no text
        default: {
            PrepareText(dc, *this, w);
            RECT area = client;
            api::DrawText(dc, w.text.c_str(), static_cast<int>(w.text.size()), &area,
                          TextFormat(w.style));
            break;
        }
    }
}

}  // namespace

void StaticTakeImage(HWND control, HBITMAP bitmap) {
    StaticState* state = WindowStateOf<StaticState>(control);
    if (state == nullptr) {
        api::DeleteObject(bitmap);
        return;
    }
    ReleaseOwnedImage(*state);
    SetImage(*state, control, bitmap);
    if ((state = WindowStateOf<StaticState>(control)) != nullptr) {
        state->ownsImage = true;
    }
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ControlProc<StaticState>(hwnd, msg, wParam, lParam);
}

}  // namespace fw::headless::detail
