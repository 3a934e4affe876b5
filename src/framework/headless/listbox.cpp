// The "ListBox" class (single selection): strings or item data, sorted
// insertion, searches, item data, and owner drawing: an owner-drawn list
// asks its parent for the item height when it is created (WM_MEASUREITEM)
// and has every item drawn by the parent (WM_DRAWITEM) when it paints, when
// the selection changes and when it gains or loses the focus.
#include <algorithm>

#include "framework/api.h"
#include "framework/headless/item_list.h"
#include "framework/headless/system.h"

namespace fw::headless::detail {

namespace {

struct ListBoxState : ControlState {
    ItemList items;
    int curSel = -1;
    int top = 0;
    int itemHeight = 0;
    bool focused = false;
    HFONT font = nullptr;
};

ListBoxState* StateOf(HWND hwnd) {
    return ControlStateOf<ListBoxState>(hwnd);
}

bool OwnerDrawn(DWORD style) {
    return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}

RECT ItemRect(const Window& w, const ListBoxState& s, int index) {
    RECT client = ClientRectOf(w);
    int y = (index - s.top) * s.itemHeight;
    return RECT{0, y, client.right, y + s.itemHeight};
}

// WM_DRAWITEM to the parent for one item (-1: the focus of an empty list),
// on a DC of the list box.
void DrawItem(HWND hwnd, HDC dc, int index, UINT action) {
    Window* w = FindWin(hwnd);
    ListBoxState* s = StateOf(hwnd);
    if (w == nullptr || s == nullptr || w->parent == nullptr) {
        return;
    }
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_LISTBOX;
    draw.CtlID = static_cast<UINT>(w->id);
    draw.itemID = static_cast<UINT>(index);
    draw.itemAction = action;
    draw.hwndItem = hwnd;
    draw.hDC = dc;
    if (index >= 0 && s->items.Valid(index)) {
        draw.rcItem = ItemRect(*w, *s, index);
        draw.itemData = s->items.At(index).data;
        if (index == s->curSel) {
            draw.itemState |= ODS_SELECTED;
        }
        if (s->focused && (index == s->curSel || (s->curSel < 0 && index == 0))) {
            draw.itemState |= ODS_FOCUS;
        }
    } else {
        RECT client = ClientRectOf(*w);
        draw.rcItem = RECT{0, 0, client.right, s->itemHeight};
        draw.itemState = s->focused ? ODS_FOCUS : 0;
    }
    if (w->style & WS_DISABLED) {
        draw.itemState |= ODS_DISABLED;
    }
    Send(w->parent, WM_DRAWITEM, static_cast<WPARAM>(w->id), reinterpret_cast<LPARAM>(&draw));
}

// Draws items at once, as user32 does outside WM_PAINT, when visible.
void DrawNow(HWND hwnd, const std::vector<int>& indexes, UINT action) {
    Window* w = FindWin(hwnd);
    if (w == nullptr || !IsVisibleDeep(hwnd)) {
        return;
    }
    if (!OwnerDrawn(w->style)) {
        Invalidate(hwnd, nullptr, true, false);
        return;
    }
    HDC dc = api::GetDC(hwnd);
    // In the list's font, as when it paints.
    if (ListBoxState* s = StateOf(hwnd)) {
        api::SelectObject(dc, s->font != nullptr ? s->font : SystemFont());
    }
    for (int index : indexes) {
        DrawItem(hwnd, dc, index, action);
    }
    api::ReleaseDC(hwnd, dc);
}

void SendDeleteItem(HWND hwnd, int index) {
    Window* w = FindWin(hwnd);
    ListBoxState* s = StateOf(hwnd);
    if (w == nullptr || s == nullptr || !s->items.Valid(index) || w->parent == nullptr) {
        return;
    }
    ULONG_PTR data = s->items.At(index).data;
    if (!OwnerDrawn(w->style) && data == 0) {
        return;
    }
    DELETEITEMSTRUCT item{ODT_LISTBOX, static_cast<UINT>(w->id), static_cast<UINT>(index), hwnd,
                          data};
    Send(w->parent, WM_DELETEITEM, static_cast<WPARAM>(w->id), reinterpret_cast<LPARAM>(&item));
}

int SetCurSel(HWND hwnd, int index) {
    ListBoxState* s = StateOf(hwnd);
    if (index < -1 || index >= s->items.Count()) {
        return LB_ERR;
    }
    int previous = s->curSel;
    if (previous == index) {
        return index == -1 ? LB_ERR : index;
    }
    s->curSel = index;
    std::vector<int> changed;
    if (previous >= 0) {
        changed.push_back(previous);
    }
    if (index >= 0) {
        changed.push_back(index);
    }
    DrawNow(hwnd, changed, ODA_SELECT);
    return index == -1 ? LB_ERR : index;
}

void Paint(HWND hwnd, HDC dc, const Window& w) {
    ListBoxState* s = StateOf(hwnd);
    if (s == nullptr) {
        return;
    }
    RECT client = ClientRectOf(w);
    HBRUSH brush = ControlBrush(hwnd, WM_CTLCOLORLISTBOX, dc);
    api::FillRect(dc, &client, brush);
    bool ownerDrawn = OwnerDrawn(w.style);
    if (ownerDrawn && s->items.Count() == 0 && s->focused) {
        DrawItem(hwnd, dc, -1, ODA_FOCUS);
    }
    api::SelectObject(dc, s->font != nullptr ? s->font : SystemFont());
    for (int index = s->top; index < s->items.Count(); ++index) {
        RECT item = ItemRect(w, *s, index);
        if (item.top >= client.bottom) {
            break;
        }
        if (ownerDrawn) {
            DrawItem(hwnd, dc, index, ODA_DRAWENTIRE);
            continue;
        }
        bool selected = index == s->curSel;
        if (selected) {
            api::FillRect(dc, &item, api::GetSysColorBrush(COLOR_HIGHLIGHT));
        }
        api::SetBkMode(dc, TRANSPARENT);
        api::SetTextColor(dc, api::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT text{item.left + 2, item.top, item.right, item.bottom};
        const std::string& label = s->items.At(index).text;
        api::DrawText(dc, label.c_str(), static_cast<int>(label.size()), &text,
                      DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    }
}

}  // namespace

LRESULT CALLBACK ListBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return 0;
    }
    if (msg == WM_NCCREATE) {
        auto state = std::make_unique<ListBoxState>();
        bool ownerDrawn = OwnerDrawn(w->style);
        state->items.Configure(!ownerDrawn || (w->style & LBS_HASSTRINGS),
                               (w->style & LBS_SORT) != 0);
        w->control = std::move(state);
        return api::DefWindowProc(hwnd, msg, wParam, lParam);
    }
    ListBoxState* s = StateOf(hwnd);
    if (s == nullptr) {
        return api::DefWindowProc(hwnd, msg, wParam, lParam);
    }
    int count = s->items.Count();
    int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (msg) {
        case WM_CREATE: {
            // The line height of the font the list has when it is made (the
            // system font: a dialog sets its own font only afterwards), which an
            // owner-drawn list's parent may change (WM_MEASUREITEM), as user32.
            s->itemHeight = FontHeightOf(hwnd);
            if (OwnerDrawn(w->style) && w->parent != nullptr) {
                MEASUREITEMSTRUCT measure{};
                measure.CtlType = ODT_LISTBOX;
                measure.CtlID = static_cast<UINT>(w->id);
                measure.itemID = 0;
                measure.itemWidth = static_cast<UINT>(ClientRectOf(*w).right);
                measure.itemHeight = static_cast<UINT>(s->itemHeight);
                Send(w->parent, WM_MEASUREITEM, static_cast<WPARAM>(w->id),
                     reinterpret_cast<LPARAM>(&measure));
                if ((s = StateOf(hwnd)) != nullptr && measure.itemHeight > 0) {
                    s->itemHeight = static_cast<int>(measure.itemHeight);
                }
            }
            return 0;
        }
        case LB_ADDSTRING:
        case LB_INSERTSTRING: {
            int added;
            if (msg == LB_ADDSTRING) {
                added = s->items.Add(lParam, [hwnd](ULONG_PTR a, ULONG_PTR b) {
                    Window* self = FindWin(hwnd);
                    COMPAREITEMSTRUCT compare{
                        ODT_LISTBOX, static_cast<UINT>(self->id), hwnd, 0, a, 0, b, 0};
                    return static_cast<int>(Send(self->parent, WM_COMPAREITEM,
                                                 static_cast<WPARAM>(self->id),
                                                 reinterpret_cast<LPARAM>(&compare)));
                });
            } else {
                added = s->items.Insert(index, lParam);
            }
            if (added >= 0 && s->curSel >= added) {
                ++s->curSel;
            }
            if (added >= 0 && (w->style & LBS_OWNERDRAWVARIABLE)) {
                MEASUREITEMSTRUCT measure{ODT_LISTBOX,
                                          static_cast<UINT>(w->id),
                                          static_cast<UINT>(added),
                                          static_cast<UINT>(ClientRectOf(*w).right),
                                          static_cast<UINT>(s->itemHeight),
                                          s->items.At(added).data};
                Send(w->parent, WM_MEASUREITEM, static_cast<WPARAM>(w->id),
                     reinterpret_cast<LPARAM>(&measure));
            }
            Invalidate(hwnd, nullptr, true, false);
            return added;
        }
        case LB_DELETESTRING:
            if ((s = DeleteListItem<ListBoxState>(hwnd, index, SendDeleteItem)) == nullptr) {
                return LB_ERR;
            }
            s->top = std::min(s->top, std::max(0, s->items.Count() - 1));
            Invalidate(hwnd, nullptr, true, false);
            return s->items.Count();
        case LB_RESETCONTENT:
            if ((s = ClearListItems<ListBoxState>(hwnd, SendDeleteItem)) != nullptr) {
                s->curSel = -1;
                s->top = 0;
            }
            Invalidate(hwnd, nullptr, true, false);
            return 0;
        case LB_GETCOUNT:
            return count;
        case LB_GETCURSEL:
            return s->curSel;
        case LB_SETCURSEL:
            return SetCurSel(hwnd, index);
        case LB_GETSEL:
            return s->items.Valid(index) ? (index == s->curSel ? 1 : 0) : LB_ERR;
        case LB_GETTEXT:
            return s->items.CopyText(index, reinterpret_cast<char*>(lParam));
        case LB_GETTEXTLEN:
            return s->items.TextLength(index);
        case LB_GETITEMDATA:
            return s->items.DataOf(index);
        case LB_SETITEMDATA:
            return s->items.SetData(index, lParam);
        case LB_FINDSTRING:
        case LB_FINDSTRINGEXACT:
            return s->items.Find(index, lParam, msg == LB_FINDSTRINGEXACT);
        case LB_SELECTSTRING: {
            int found = s->items.Find(index, lParam, false);
            if (found == LB_ERR) {
                return LB_ERR;
            }
            return SetCurSel(hwnd, found);
        }
        case LB_GETTOPINDEX:
            return s->top;
        case LB_SETTOPINDEX:
            if (index < 0 || index >= std::max(1, count)) {
                return LB_ERR;
            }
            s->top = index;
            Invalidate(hwnd, nullptr, true, false);
            return 0;
        case LB_GETITEMHEIGHT:
            return s->itemHeight;
        case LB_SETITEMHEIGHT:
            if (LOWORD(lParam) == 0 || LOWORD(lParam) > 255) {
                return LB_ERR;
            }
            s->itemHeight = LOWORD(lParam);
            Invalidate(hwnd, nullptr, true, false);
            return 0;
        case LB_GETITEMRECT:
            if (!s->items.Valid(index) || lParam == 0) {
                return LB_ERR;
            }
            *reinterpret_cast<RECT*>(lParam) = ItemRect(*w, *s, index);
            return 1;
        case LB_SETSEL:
        case LB_GETSELCOUNT:
        case LB_GETSELITEMS:
            return LB_ERR;  // single-selection lists only
        case WM_SETFONT:
            s->font = reinterpret_cast<HFONT>(wParam);
            if (!OwnerDrawn(w->style)) {
                s->itemHeight = FontHeightOf(hwnd);
            }
            if (lParam) {
                Invalidate(hwnd, nullptr, true, false);
            }
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            api::SetFocus(hwnd);
            if ((s = StateOf(hwnd)) == nullptr || s->itemHeight <= 0) {
                return 0;
            }
            int hit = s->top + PointOf(lParam).y / s->itemHeight;
            if (!s->items.Valid(hit)) {
                return 0;
            }
            bool changed = hit != s->curSel;
            SetCurSel(hwnd, hit);
            if ((w = FindWin(hwnd)) != nullptr && (w->style & LBS_NOTIFY)) {
                if (changed) {
                    NotifyParent(hwnd, LBN_SELCHANGE);
                }
                if (msg == WM_LBUTTONDBLCLK) {
                    NotifyParent(hwnd, LBN_DBLCLK);
                }
            }
            return 0;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            s->focused = msg == WM_SETFOCUS;
            int focusItem = count == 0 ? -1 : std::max(0, s->curSel);
            DrawNow(hwnd, {focusItem}, ODA_FOCUS);
            if ((w = FindWin(hwnd)) != nullptr && (w->style & LBS_NOTIFY)) {
                NotifyParent(hwnd, msg == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
            }
            return 0;
        }
        case WM_DESTROY:
            // The owner learns of every item that goes with the list.
            if ((s = ClearListItems<ListBoxState>(hwnd, SendDeleteItem)) != nullptr) {
                s->curSel = -1;
            }
            return 0;
        case WM_ENABLE:
            Invalidate(hwnd, nullptr, true, false);
            return 0;
        default:
            return DefControlProc(hwnd, msg, wParam, lParam, s->font, Paint);
    }
}

}  // namespace fw::headless::detail
