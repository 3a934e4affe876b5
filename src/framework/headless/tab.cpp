// The "SysTabControl32" class on one row of tabs: items with a text, the
// current tab, the display-area arithmetic of TCM_ADJUSTRECT, and a mouse
// press on a tab, which asks the parent first (TCN_SELCHANGING, a TRUE
// answer keeps the current tab) and then reports TCN_SELCHANGE. Selecting
// from code (TCM_SETCURSEL) notifies nobody.
//
// Geometry (comctl32's at 96 DPI): tabs are the font's line height plus 5
// pixels high and start 2 pixels in from the control's top left; a tab is its
// text's width plus 6 pixels on either side. The display area leaves 4
// pixels of frame on the left, right and bottom and the tab row plus 4
// pixels at the top.
#include <algorithm>

#include "framework/headless/control.h"

namespace fw::headless::detail {

namespace {

constexpr int kTabPaddingX = 6;
constexpr int kMinimumTabWidth = 54;
constexpr int kTabOrigin = 2;
constexpr int kFrame = 4;

struct TabState : ControlState {
    explicit TabState(const Window&) {}

    std::vector<std::string> items;  // the tabs' texts
    int curSel = -1;

    int Count() const { return static_cast<int>(items.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }

    Answer OnMessage(const ControlMessage& m) override;
    void Paint(HDC dc, const ControlMessage& m) override;
};

RECT TabRect(const TabState& s, int index) {
    LOGFONT font = LogFontOf(s.font);
    int height = TabItemHeight(s.font);
    int x = kTabOrigin;
    auto width = [&](int i) {
        return std::max(kMinimumTabWidth,
                        TextWidth(font, s.items[static_cast<size_t>(i)]) + 2 * kTabPaddingX);
    };
    for (int i = 0; i < index; ++i) {
        x += width(i);
    }
    return RECT{x, kTabOrigin, x + width(index), kTabOrigin + height};
}

int HitTest(const TabState& s, POINT point) {
    for (int i = 0; i < s.Count(); ++i) {
        RECT r = TabRect(s, i);
        if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) {
            return i;
        }
    }
    return -1;
}

// The text of a TCITEM that carries one (TCIF_TEXT, not LPSTR_TEXTCALLBACK).
bool ItemText(const TCITEM& item, std::string& text) {
    if (!(item.mask & TCIF_TEXT) || item.pszText == nullptr ||
        item.pszText == reinterpret_cast<LPSTR>(-1)) {
        return false;
    }
    text = item.pszText;
    return true;
}

LRESULT Notify(HWND hwnd, UINT code) {
    Window* w = FindWin(hwnd);
    if (w == nullptr || w->parent == nullptr) {
        return 0;
    }
    NMHDR header{hwnd, static_cast<UINT_PTR>(w->id), code};
    return Send(w->parent, WM_NOTIFY, static_cast<WPARAM>(w->id),
                reinterpret_cast<LPARAM>(&header));
}

LRESULT InsertItem(TabState& s, const ControlMessage& m) {
    auto* item = reinterpret_cast<const TCITEM*>(m.lParam);
    int index = m.Index();
    if (item == nullptr || index < 0) {
        return -1;
    }
    index = std::min(index, s.Count());
    std::string text;
    ItemText(*item, text);
    s.items.insert(s.items.begin() + index, std::move(text));
    if (s.curSel < 0) {
        s.curSel = 0;
    } else if (index <= s.curSel) {
        ++s.curSel;
    }
    Invalidate(m.hwnd, nullptr, true, false);
    return index;
}

LRESULT SetItem(TabState& s, const ControlMessage& m) {
    auto* item = reinterpret_cast<const TCITEM*>(m.lParam);
    if (item == nullptr || !s.Valid(m.Index())) {
        return FALSE;
    }
    ItemText(*item, s.items[static_cast<size_t>(m.Index())]);
    Invalidate(m.hwnd, nullptr, true, false);
    return TRUE;
}

LRESULT GetItem(const TabState& s, const ControlMessage& m) {
    auto* item = reinterpret_cast<TCITEM*>(m.lParam);
    if (item == nullptr || !s.Valid(m.Index())) {
        return FALSE;
    }
    if ((item->mask & TCIF_TEXT) && item->cchTextMax > 0) {
        CopyText(s.items[static_cast<size_t>(m.Index())], static_cast<WPARAM>(item->cchTextMax),
                 reinterpret_cast<LPARAM>(item->pszText));
    }
    return TRUE;
}

LRESULT SetCurSel(TabState& s, const ControlMessage& m) {
    if (!s.Valid(m.Index())) {
        return -1;
    }
    int previous = s.curSel;
    s.curSel = m.Index();
    Invalidate(m.hwnd, nullptr, true, false);
    return previous;
}

LRESULT GetItemRect(const TabState& s, const ControlMessage& m) {
    if (!s.Valid(m.Index()) || m.lParam == 0) {
        return FALSE;
    }
    *reinterpret_cast<RECT*>(m.lParam) = TabRect(s, m.Index());
    return TRUE;
}

// TCM_ADJUSTRECT: the display area of a window rectangle (wParam FALSE), or
// the window rectangle of a display area (TRUE).
LRESULT AdjustRect(const TabState& s, const ControlMessage& m) {
    auto* rect = reinterpret_cast<RECT*>(m.lParam);
    if (rect == nullptr) {
        return 0;
    }
    int top = TabItemHeight(s.font) + kFrame;
    int sign = m.wParam ? -1 : 1;
    rect->left += sign * kFrame;
    rect->top += sign * top;
    rect->right -= sign * kFrame;
    rect->bottom -= sign * kFrame;
    return 0;
}

LRESULT ButtonDown(TabState& s, const ControlMessage& m) {
    int hit = HitTest(s, PointOf(m.lParam));
    if (hit < 0 || hit == s.curSel) {
        return 0;
    }
    if (Notify(m.hwnd, TCN_SELCHANGING) != 0) {
        return 0;  // the parent keeps the current tab
    }
    TabState* live = WindowStateOf<TabState>(m.hwnd);
    if (live == nullptr || !live->Valid(hit)) {
        return 0;
    }
    live->curSel = hit;
    Invalidate(m.hwnd, nullptr, true, false);
    Notify(m.hwnd, TCN_SELCHANGE);
    return 0;
}

Answer TabState::OnMessage(const ControlMessage& m) {
    switch (m.msg) {
        case TCM_GETITEMCOUNT:
            return Count();
        case TCM_INSERTITEM:
            return InsertItem(*this, m);
        case TCM_SETITEM:
            return SetItem(*this, m);
        case TCM_GETITEM:
            return GetItem(*this, m);
        case TCM_GETCURSEL:
            return curSel;
        case TCM_SETCURSEL:
            return SetCurSel(*this, m);
        case TCM_GETITEMRECT:
            return GetItemRect(*this, m);
        case TCM_ADJUSTRECT:
            return AdjustRect(*this, m);
        case WM_LBUTTONDOWN:
            return ButtonDown(*this, m);
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        default:
            return Default();
    }
}

void TabState::Paint(HDC dc, const ControlMessage& m) {
    RECT client = ClientRectOf(m.window);
    api::FillRect(dc, &client, api::GetSysColorBrush(COLOR_BTNFACE));
    RECT display = client;
    Send(m.hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    DrawFrame(dc, RECT{display.left - 2, display.top - 2, display.right + 2, display.bottom + 2},
              api::GetSysColorBrush(COLOR_BTNSHADOW));
    api::SelectObject(dc, font != nullptr ? font : SystemFont());
    api::SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < Count(); ++i) {
        RECT tab = TabRect(*this, i);
        const std::string& text = items[static_cast<size_t>(i)];
        api::DrawText(dc, text.c_str(), static_cast<int>(text.size()), &tab,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

}  // namespace

int TabItemHeight(HFONT font) {
    return MetricsOf(LogFontOf(font)).height + 5;
}

LRESULT CALLBACK TabControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ControlProc<TabState>(hwnd, msg, wParam, lParam);
}

}  // namespace fw::headless::detail
