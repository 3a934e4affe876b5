// Painting on demand: invalidated areas of windows, the paint that runs
// when something asks for it (UpdateWindow, RedrawWindow) or before a test
// looks at a window's pixels or texts.
#include <algorithm>

#include "framework/api.h"
#include "framework/headless/window_manager.h"

namespace fw::headless::detail {

void Invalidate(HWND hwnd, const RECT* rect, bool erase, bool children) {
    Window* w = FindWin(hwnd);
    if (w == nullptr || w->noRedraw) {
        return;
    }
    RECT client = ClientRectOf(*w);
    RECT area = client;
    if (rect != nullptr) {
        area.left = std::max(client.left, rect->left);
        area.top = std::max(client.top, rect->top);
        area.right = std::min(client.right, rect->right);
        area.bottom = std::min(client.bottom, rect->bottom);
        if (area.left >= area.right || area.top >= area.bottom) {
            return;
        }
    }
    if (w->needsPaint) {
        w->invalid.left = std::min(w->invalid.left, area.left);
        w->invalid.top = std::min(w->invalid.top, area.top);
        w->invalid.right = std::max(w->invalid.right, area.right);
        w->invalid.bottom = std::max(w->invalid.bottom, area.bottom);
    } else {
        w->invalid = area;
    }
    w->needsPaint = true;
    w->needsErase = w->needsErase || erase;
    if (!children) {
        return;
    }
    std::vector<HWND> kids = w->children;
    for (HWND child : kids) {
        Window* c = FindWin(child);
        if (c == nullptr) {
            continue;
        }
        RECT inChild{area.left - c->rect.left, area.top - c->rect.top, area.right - c->rect.left,
                     area.bottom - c->rect.top};
        RECT insets = ClientInsets(c->style, c->exStyle);
        inChild.left -= insets.left;
        inChild.right -= insets.left;
        inChild.top -= insets.top;
        inChild.bottom -= insets.top;
        Invalidate(child, &inChild, erase, true);
    }
}

void PaintPending(HWND hwnd, bool children) {
    Window* w = FindWin(hwnd);
    if (w == nullptr || !IsVisibleDeep(hwnd)) {
        return;
    }
    if (w->needsPaint) {
        Send(hwnd, WM_PAINT, 0, 0);
        w = FindWin(hwnd);
        if (w == nullptr) {
            return;
        }
        // A procedure that ignored WM_PAINT leaves nothing pending, as
        // DefWindowProc's BeginPaint would have validated it.
        w->needsPaint = false;
        w->needsErase = false;
    }
    if (!children) {
        return;
    }
    std::vector<HWND> kids = w->children;
    for (HWND child : kids) {
        PaintPending(child, true);
    }
}

}  // namespace fw::headless::detail

namespace fw::api {

using namespace fw::headless::detail;

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return FALSE;
    }
    // Children are painted over too unless the window clips them.
    Invalidate(hwnd, rect, erase != FALSE, !(w->style & WS_CLIPCHILDREN));
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
    if (FindWin(hwnd) == nullptr) {
        return FALSE;
    }
    PaintPending(hwnd, true);
    return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN, UINT flags) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return FALSE;
    }
    bool children = (flags & RDW_ALLCHILDREN) != 0 ||
                    (!(flags & RDW_NOCHILDREN) && !(w->style & WS_CLIPCHILDREN));
    if (flags & RDW_INVALIDATE) {
        Invalidate(hwnd, rect, (flags & RDW_ERASE) != 0, children);
    }
    if (flags & RDW_VALIDATE) {
        w->needsPaint = false;
        w->needsErase = false;
    }
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
        PaintPending(hwnd, !(flags & RDW_NOCHILDREN));
    }
    return TRUE;
}

}  // namespace fw::api

namespace fw::headless {

using namespace detail;

COLORREF GetWindowPixel(HWND window, int x, int y) {
    Window* w = FindWin(window);
    if (w == nullptr) {
        return CLR_INVALID;
    }
    PaintPending(window, false);
    w = FindWin(window);
    if (w == nullptr) {
        return CLR_INVALID;
    }
    RECT client = ClientRectOf(*w);
    if (x < 0 || y < 0 || x >= client.right || y >= client.bottom || !w->surface.Contains(x, y)) {
        return CLR_INVALID;
    }
    return w->surface.At(x, y);
}

std::vector<DrawnText> DrawnTexts(HWND window) {
    PaintPending(window, false);
    Window* w = FindWin(window);
    return w != nullptr ? w->surface.texts : std::vector<DrawnText>{};
}

}  // namespace fw::headless
