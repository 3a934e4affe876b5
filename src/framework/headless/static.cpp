// The "Static" class: text in its SS_ alignment, bitmaps (the control takes
// its bitmap's size), frames and rectangles. With SS_NOTIFY a mouse press
// sends STN_CLICKED to the parent; without it the control lets the mouse
// through to its parent (HTTRANSPARENT), as user32's static does.
#include <algorithm>
#include <cstdlib>

#include "framework/api.h"
#include "framework/headless/system.h"

namespace fw::headless::detail {

namespace {

struct StaticState : ControlState {
    HFONT font = nullptr;
    HANDLE image = nullptr;
    bool ownsImage = false;
};

StaticState* StateOf(HWND hwnd) {
    return ControlStateOf<StaticState>(hwnd);
}

void ReleaseOwnedImage(StaticState& state) {
    if (state.ownsImage && state.image != nullptr) {
        api::DeleteObject(state.image);
    }
    state.ownsImage = false;
    state.image = nullptr;
}

// STM_SETIMAGE: a bitmap static takes the bitmap's size, unless it keeps
// its own (SS_REALSIZECONTROL) or centres the image in it (SS_CENTERIMAGE).
HANDLE SetImage(HWND hwnd, HANDLE image) {
    StaticState* state = StateOf(hwnd);
    Window* w = FindWin(hwnd);
    HANDLE previous = state->image;
    state->ownsImage = false;
    state->image = image;
    if ((w->style & SS_TYPEMASK) == SS_BITMAP && image != nullptr &&
        !(w->style & (SS_REALSIZECONTROL | SS_CENTERIMAGE))) {
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
    if (style & SS_NOPREFIX) {
        format |= DT_NOPREFIX;
    }
    if (style & SS_CENTERIMAGE) {
        format |= DT_VCENTER | DT_SINGLELINE;
    }
    return format;
}

void Paint(HWND hwnd, HDC dc, const Window& w) {
    StaticState* state = StateOf(hwnd);
    if (state == nullptr) {
        return;
    }
    RECT client = ClientRectOf(w);
    DWORD type = w.style & SS_TYPEMASK;
    switch (type) {
        case SS_OWNERDRAW: {
            DRAWITEMSTRUCT draw{};
            draw.CtlType = ODT_STATIC;
            draw.CtlID = static_cast<UINT>(w.id);
            draw.itemAction = ODA_DRAWENTIRE;
            draw.itemState = (w.style & WS_DISABLED) ? ODS_DISABLED : 0;
            draw.hwndItem = hwnd;
            draw.hDC = dc;
            draw.rcItem = client;
            Send(w.parent, WM_DRAWITEM, static_cast<WPARAM>(w.id), reinterpret_cast<LPARAM>(&draw));
            break;
        }
        case SS_BLACKRECT:
        case SS_GRAYRECT:
        case SS_WHITERECT: {
            int color = type == SS_BLACKRECT  ? COLOR_3DDKSHADOW
                        : type == SS_GRAYRECT ? COLOR_3DSHADOW
                                              : COLOR_3DHIGHLIGHT;
            api::FillRect(dc, &client, api::GetSysColorBrush(color));
            break;
        }
        case SS_BLACKFRAME:
        case SS_GRAYFRAME:
        case SS_WHITEFRAME:
        case SS_ETCHEDFRAME:
        case SS_ETCHEDHORZ:
        case SS_ETCHEDVERT: {
            HBRUSH line = api::GetSysColorBrush(type == SS_BLACKFRAME   ? COLOR_3DDKSHADOW
                                                : type == SS_WHITEFRAME ? COLOR_3DHIGHLIGHT
                                                                        : COLOR_3DSHADOW);
            RECT edges[] = {{0, 0, client.right, 1},
                            {0, client.bottom - 1, client.right, client.bottom},
                            {0, 0, 1, client.bottom},
                            {client.right - 1, 0, client.right, client.bottom}};
            for (const RECT& edge : edges) {
                api::FillRect(dc, &edge, line);
            }
            break;
        }
        case SS_BITMAP: {
            HBRUSH brush = ControlBrush(hwnd, WM_CTLCOLORSTATIC, dc);
            api::FillRect(dc, &client, brush);
            BITMAP info{};
            if (state->image != nullptr && api::GetObject(state->image, sizeof(info), &info) != 0) {
                HDC memory = api::CreateCompatibleDC(dc);
                HGDIOBJ old = api::SelectObject(memory, state->image);
                int x = 0;
                int y = 0;
                if (w.style & SS_CENTERIMAGE) {
                    x = (client.right - info.bmWidth) / 2;
                    y = (client.bottom - info.bmHeight) / 2;
                }
                api::BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
                api::SelectObject(memory, old);
                api::DeleteDC(memory);
            }
            break;
        }
        case SS_ICON:
        case SS_ENHMETAFILE: {
            HBRUSH brush = ControlBrush(hwnd, WM_CTLCOLORSTATIC, dc);
            api::FillRect(dc, &client, brush);
            break;
        }
        default: {
            HBRUSH brush = ControlBrush(hwnd, WM_CTLCOLORSTATIC, dc);
            api::FillRect(dc, &client, brush);
            api::SelectObject(dc, state->font != nullptr ? state->font : SystemFont());
            api::SetBkMode(dc, TRANSPARENT);
            if (w.style & WS_DISABLED) {
                api::SetTextColor(dc, api::GetSysColor(COLOR_GRAYTEXT));
            }
            RECT area = client;
            api::DrawText(dc, w.text.c_str(), static_cast<int>(w.text.size()), &area,
                          TextFormat(w.style));
            break;
        }
    }
}

}  // namespace

void StaticTakeImage(HWND control, HBITMAP bitmap) {
    StaticState* state = StateOf(control);
    if (state == nullptr) {
        api::DeleteObject(bitmap);
        return;
    }
    ReleaseOwnedImage(*state);
    SetImage(control, bitmap);
    if ((state = StateOf(control)) != nullptr) {
        state->ownsImage = true;
    }
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return 0;
    }
    if (msg == WM_NCCREATE) {
        w->control = std::make_unique<StaticState>();
        return api::DefWindowProc(hwnd, msg, wParam, lParam);
    }
    StaticState* state = StateOf(hwnd);
    if (state == nullptr) {
        return api::DefWindowProc(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
        case WM_CREATE: {
            // A bitmap named "#id" loads from the creating module.
            auto* create = reinterpret_cast<const CREATESTRUCT*>(lParam);
            if ((w->style & SS_TYPEMASK) == SS_BITMAP && create != nullptr &&
                create->lpszName != nullptr && !IS_INTRESOURCE(create->lpszName) &&
                create->lpszName[0] == '#') {
                int id = std::atoi(create->lpszName + 1);
                HBITMAP bitmap = api::LoadBitmap(create->hInstance, MAKEINTRESOURCE(id));
                w->text.clear();
                if (bitmap != nullptr) {
                    StaticTakeImage(hwnd, bitmap);
                }
            }
            return 0;
        }
        case STM_SETIMAGE:
            if (wParam != IMAGE_BITMAP && wParam != IMAGE_ICON && wParam != IMAGE_CURSOR) {
                return 0;
            }
            {
                bool owned = state->ownsImage;
                HANDLE previous = SetImage(hwnd, reinterpret_cast<HANDLE>(lParam));
                // An image the control loaded itself goes with the exchange.
                if (owned && previous != nullptr) {
                    api::DeleteObject(previous);
                    return 0;
                }
                return reinterpret_cast<LRESULT>(previous);
            }
        case STM_GETIMAGE:
            return reinterpret_cast<LRESULT>(state->image);
        case WM_NCHITTEST:
            return (w->style & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
        case WM_LBUTTONDOWN:
            if (w->style & SS_NOTIFY) {
                NotifyParent(hwnd, STN_CLICKED);
            }
            return 0;
        case WM_LBUTTONDBLCLK:
            if (w->style & SS_NOTIFY) {
                NotifyParent(hwnd, STN_DBLCLK);
            }
            return 0;
        case WM_ENABLE:
            if (w->style & SS_NOTIFY) {
                NotifyParent(hwnd, wParam ? STN_ENABLE : STN_DISABLE);
            }
            Invalidate(hwnd, nullptr, true, false);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case WM_NCDESTROY:
            ReleaseOwnedImage(*state);
            return api::DefWindowProc(hwnd, msg, wParam, lParam);
        default:
            return DefControlProc(hwnd, msg, wParam, lParam, state->font, Paint);
    }
}

}  // namespace fw::headless::detail
