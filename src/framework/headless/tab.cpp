// The "SysTabControl32" class on one row of tabs: items with a text and a
// parameter, the current tab, the display-area arithmetic of TCM_ADJUSTRECT,
// and a mouse press on a tab, which asks the parent first (TCN_SELCHANGING,
// a TRUE answer keeps the current tab) and then reports TCN_SELCHANGE.
// Selecting from code (TCM_SETCURSEL) notifies nobody.
//
// Geometry (comctl32's at 96 DPI): tabs are the font's line height plus 5
// pixels high and start 2 pixels in from the control's top left; a tab is its
// text's width plus 6 pixels on either side. The display area leaves 4
// pixels of frame on the left, right and bottom and the tab row plus 4
// pixels at the top.
#include <algorithm>
#include <cstring>

#include "framework/api.h"
#include "framework/headless/system.h"

namespace fw::headless::detail {

namespace {

constexpr int kTabPaddingX = 6;
constexpr int kMinimumTabWidth = 54;
constexpr int kTabOrigin = 2;
constexpr int kFrame = 4;

struct TabItem {
    std::string text;
    LPARAM param = 0;
    int image = -1;
    DWORD state = 0;
};

struct TabState : ControlState {
    std::vector<TabItem> items;
    int curSel = -1;
    HFONT font = nullptr;
};

TabState* StateOf(HWND hwnd) {
    return ControlStateOf<TabState>(hwnd);
}

RECT TabRect(const TabState& s, int index) {
    LOGFONT font = LogFontOf(s.font);
    int height = TabItemHeight(s.font);
    int x = kTabOrigin;
    auto width = [&](int i) {
        return std::max(kMinimumTabWidth,
                        TextWidth(font, s.items[static_cast<size_t>(i)].text) + 2 * kTabPaddingX);
    };
    for (int i = 0; i < index; ++i) {
        x += width(i);
    }
    return RECT{x, kTabOrigin, x + width(index), kTabOrigin + height};
}

int HitTest(const TabState& s, POINT point) {
    for (int i = 0; i < static_cast<int>(s.items.size()); ++i) {
        RECT r = TabRect(s, i);
        if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) {
            return i;
        }
    }
    return -1;
}

void ApplyItem(TabItem& item, const TCITEM& source) {
    if ((source.mask & TCIF_TEXT) && source.pszText != nullptr &&
        source.pszText != reinterpret_cast<LPSTR>(-1)) {
        item.text = source.pszText;
    }
    if (source.mask & TCIF_PARAM) {
        item.param = source.lParam;
    }
    if (source.mask & TCIF_IMAGE) {
        item.image = source.iImage;
    }
    if (source.mask & TCIF_STATE) {
        item.state = (item.state & ~source.dwStateMask) | (source.dwState & source.dwStateMask);
    }
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

void Paint(HWND hwnd, HDC dc, const Window& w) {
    TabState* s = StateOf(hwnd);
    if (s == nullptr) {
        return;
    }
    RECT client = ClientRectOf(w);
    api::FillRect(dc, &client, api::GetSysColorBrush(COLOR_BTNFACE));
    RECT display = client;
    Send(hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    HBRUSH frame = api::GetSysColorBrush(COLOR_BTNSHADOW);
    RECT edges[] = {{display.left - 2, display.top - 2, display.right + 2, display.top - 1},
                    {display.left - 2, display.bottom + 1, display.right + 2, display.bottom + 2},
                    {display.left - 2, display.top - 2, display.left - 1, display.bottom + 2},
                    {display.right + 1, display.top - 2, display.right + 2, display.bottom + 2}};
    for (const RECT& edge : edges) {
        api::FillRect(dc, &edge, frame);
    }
    api::SelectObject(dc, s->font != nullptr ? s->font : SystemFont());
    api::SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < static_cast<int>(s->items.size()); ++i) {
        RECT tab = TabRect(*s, i);
        const std::string& text = s->items[static_cast<size_t>(i)].text;
        api::DrawText(dc, text.c_str(), static_cast<int>(text.size()), &tab,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

}  // namespace

int TabItemHeight(HFONT font) {
    return MetricsOf(LogFontOf(font)).height + 5;
}

LRESULT CALLBACK TabControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return 0;
    }
    if (msg == WM_NCCREATE) {
        w->control = std::make_unique<TabState>();
        return api::DefWindowProc(hwnd, msg, wParam, lParam);
    }
    TabState* s = StateOf(hwnd);
    if (s == nullptr) {
        return api::DefWindowProc(hwnd, msg, wParam, lParam);
    }
    int count = static_cast<int>(s->items.size());
    int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (msg) {
        case TCM_GETITEMCOUNT:
            return count;
        case TCM_INSERTITEM: {
            auto* item = reinterpret_cast<const TCITEM*>(lParam);
            if (item == nullptr || index < 0) {
                return -1;
            }
            index = std::min(index, count);
            TabItem added;
            ApplyItem(added, *item);
            s->items.insert(s->items.begin() + index, std::move(added));
            if (s->curSel < 0) {
                s->curSel = 0;
            } else if (index <= s->curSel) {
                ++s->curSel;
            }
            Invalidate(hwnd, nullptr, true, false);
            return index;
        }
        case TCM_SETITEM: {
            auto* item = reinterpret_cast<const TCITEM*>(lParam);
            if (item == nullptr || index < 0 || index >= count) {
                return FALSE;
            }
            ApplyItem(s->items[static_cast<size_t>(index)], *item);
            Invalidate(hwnd, nullptr, true, false);
            return TRUE;
        }
        case TCM_GETITEM: {
            auto* item = reinterpret_cast<TCITEM*>(lParam);
            if (item == nullptr || index < 0 || index >= count) {
                return FALSE;
            }
            const TabItem& source = s->items[static_cast<size_t>(index)];
            if ((item->mask & TCIF_TEXT) && item->pszText != nullptr && item->cchTextMax > 0) {
                size_t copied =
                    std::min(source.text.size(), static_cast<size_t>(item->cchTextMax) - 1);
                std::memcpy(item->pszText, source.text.data(), copied);
                item->pszText[copied] = '\0';
            }
            if (item->mask & TCIF_PARAM) {
                item->lParam = source.param;
            }
            if (item->mask & TCIF_IMAGE) {
                item->iImage = source.image;
            }
            if (item->mask & TCIF_STATE) {
                item->dwState = source.state & item->dwStateMask;
            }
            return TRUE;
        }
        case TCM_DELETEITEM:
            if (index < 0 || index >= count) {
                return FALSE;
            }
            s->items.erase(s->items.begin() + index);
            if (s->curSel == index) {
                s->curSel = -1;
            } else if (s->curSel > index) {
                --s->curSel;
            }
            Invalidate(hwnd, nullptr, true, false);
            return TRUE;
        case TCM_DELETEALLITEMS:
            s->items.clear();
            s->curSel = -1;
            Invalidate(hwnd, nullptr, true, false);
            return TRUE;
        case TCM_GETCURSEL:
            return s->curSel;
        case TCM_SETCURSEL: {
            if (index < 0 || index >= count) {
                return -1;
            }
            int previous = s->curSel;
            s->curSel = index;
            Invalidate(hwnd, nullptr, true, false);
            return previous;
        }
        case TCM_GETITEMRECT:
            if (index < 0 || index >= count || lParam == 0) {
                return FALSE;
            }
            *reinterpret_cast<RECT*>(lParam) = TabRect(*s, index);
            return TRUE;
        case TCM_HITTEST: {
            // TCHITTESTINFO: a POINT followed by the flags.
            auto* point = reinterpret_cast<POINT*>(lParam);
            return point != nullptr ? HitTest(*s, *point) : -1;
        }
        case TCM_ADJUSTRECT: {
            auto* rect = reinterpret_cast<RECT*>(lParam);
            if (rect == nullptr) {
                return 0;
            }
            int top = TabItemHeight(s->font) + kFrame;
            int sign = wParam ? -1 : 1;
            rect->left += sign * kFrame;
            rect->top += sign * top;
            rect->right -= sign * kFrame;
            rect->bottom -= sign * kFrame;
            return 0;
        }
        case TCM_GETROWCOUNT:
            return 1;
        case TCM_GETCURFOCUS:
            return s->curSel;
        case WM_LBUTTONDOWN: {
            int hit = HitTest(*s, PointOf(lParam));
            if (hit < 0 || hit == s->curSel) {
                return 0;
            }
            if (Notify(hwnd, TCN_SELCHANGING) != 0) {
                return 0;  // the parent keeps the current tab
            }
            if ((s = StateOf(hwnd)) == nullptr || hit >= static_cast<int>(s->items.size())) {
                return 0;
            }
            s->curSel = hit;
            Invalidate(hwnd, nullptr, true, false);
            Notify(hwnd, TCN_SELCHANGE);
            return 0;
        }
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        default:
            return DefControlProc(hwnd, msg, wParam, lParam, s->font, Paint);
    }
}

}  // namespace fw::headless::detail
