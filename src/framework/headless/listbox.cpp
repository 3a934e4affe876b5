// The "ListBox" class (single selection): strings or item data, sorted
// insertion, exact searches, item data, and owner drawing: an owner-drawn
// list asks its parent for the item height when it is created
// (WM_MEASUREITEM) and has every item drawn by the parent (WM_DRAWITEM) when
// it paints, when the selection changes and when it gains or loses the focus.
#include <algorithm>

#include "framework/headless/item_list.h"

namespace fw::headless::detail {

namespace {

bool OwnerDrawn(DWORD style) {
    return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}

struct ListBoxState : ListControlState {
    explicit ListBoxState(const Window& w) {
        items.Configure(!OwnerDrawn(w.style) || (w.style & LBS_HASSTRINGS),
                        (w.style & LBS_SORT) != 0);
    }

    int itemHeight = 0;
    bool focused = false;

    Answer OnMessage(const ControlMessage& m) override;
    void Paint(HDC dc, const ControlMessage& m) override;
    void FontChanged(HWND hwnd) override;
};

RECT ItemRect(const Window& w, const ListBoxState& s, int index) {
    RECT client = ClientRectOf(w);
    int y = index * s.itemHeight;
    return RECT{0, y, client.right, y + s.itemHeight};
}

// WM_DRAWITEM to the parent for one item (-1: the focus of an empty list),
// on a DC of the list box.
void DrawItem(HWND hwnd, HDC dc, int index, UINT action) {
    Window* w = FindWin(hwnd);
    ListBoxState* s = WindowStateOf<ListBoxState>(hwnd);
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
    if (ListBoxState* s = WindowStateOf<ListBoxState>(hwnd)) {
        api::SelectObject(dc, s->font != nullptr ? s->font : SystemFont());
    }
    for (int index : indexes) {
        DrawItem(hwnd, dc, index, action);
    }
    api::ReleaseDC(hwnd, dc);
}

// The owner of an owner-drawn list, or of an item with data, learns that it goes.
void TellDeleteItem(HWND hwnd, int index) {
    Window* w = FindWin(hwnd);
    ListBoxState* s = WindowStateOf<ListBoxState>(hwnd);
    if (w == nullptr || s == nullptr || !s->items.Valid(index)) {
        return;
    }
    ULONG_PTR data = s->items.At(index).data;
    if (OwnerDrawn(w->style) || data != 0) {
        SendDeleteItem(hwnd, ODT_LISTBOX, index, data);
    }
}

LRESULT SetCurSel(ListBoxState& s, HWND hwnd, int index) {
    if (index < -1 || index >= s.items.Count()) {
        return LB_ERR;
    }
    int previous = s.curSel;
    if (previous == index) {
        return index == -1 ? LB_ERR : index;
    }
    s.curSel = index;
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

void ListBoxState::FontChanged(HWND hwnd) {
    Window* w = FindWin(hwnd);
    if (w != nullptr && !OwnerDrawn(w->style)) {
        itemHeight = FontHeightOf(hwnd);
    }
}

// WM_CREATE: the line height of the font the list has when it is made (the
// system font: a dialog sets its own font only afterwards), which an
// owner-drawn list's parent may change (WM_MEASUREITEM), as user32.
LRESULT Created(ListBoxState& s, const ControlMessage& m) {
    s.itemHeight = FontHeightOf(m.hwnd);
    if (!OwnerDrawn(m.window.style) || m.window.parent == nullptr) {
        return 0;
    }
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_LISTBOX;
    measure.CtlID = static_cast<UINT>(m.window.id);
    measure.itemID = 0;
    measure.itemWidth = static_cast<UINT>(ClientRectOf(m.window).right);
    measure.itemHeight = static_cast<UINT>(s.itemHeight);
    Send(m.window.parent, WM_MEASUREITEM, static_cast<WPARAM>(m.window.id),
         reinterpret_cast<LPARAM>(&measure));
    ListBoxState* live = WindowStateOf<ListBoxState>(m.hwnd);
    if (live != nullptr && measure.itemHeight > 0) {
        live->itemHeight = static_cast<int>(measure.itemHeight);
    }
    return 0;
}

LRESULT AddItem(ListBoxState& s, const ControlMessage& m) {
    int added = s.items.Add(m.lParam, nullptr);
    NoteInserted(s, added);
    Invalidate(m.hwnd, nullptr, true, false);
    return added;
}

LRESULT ResetContent(const ControlMessage& m) {
    if (ListBoxState* s = ClearListItems<ListBoxState>(m.hwnd, TellDeleteItem)) {
        s->curSel = -1;
    }
    Invalidate(m.hwnd, nullptr, true, false);
    return 0;
}

LRESULT GetItemRect(const ListBoxState& s, const ControlMessage& m) {
    if (!s.items.Valid(m.Index()) || m.lParam == 0) {
        return LB_ERR;
    }
    *reinterpret_cast<RECT*>(m.lParam) = ItemRect(m.window, s, m.Index());
    return 1;
}

// A press selects the item under the mouse; LBS_NOTIFY tells the parent.
LRESULT ButtonDown(const ControlMessage& m) {
    api::SetFocus(m.hwnd);
    ListBoxState* s = WindowStateOf<ListBoxState>(m.hwnd);
    if (s == nullptr || s->itemHeight <= 0) {
        return 0;
    }
    int hit = PointOf(m.lParam).y / s->itemHeight;
    if (!s->items.Valid(hit)) {
        return 0;
    }
    bool changed = hit != s->curSel;
    SetCurSel(*s, m.hwnd, hit);
    Window* w = FindWin(m.hwnd);
    if (w != nullptr && (w->style & LBS_NOTIFY)) {
        if (changed) {
            NotifyParent(m.hwnd, LBN_SELCHANGE);
        }
        if (m.msg == WM_LBUTTONDBLCLK) {
            NotifyParent(m.hwnd, LBN_DBLCLK);
        }
    }
    return 0;
}

// WM_SETFOCUS and WM_KILLFOCUS: the focus item is drawn again.
LRESULT Focus(ListBoxState& s, const ControlMessage& m) {
    const bool gained = m.msg == WM_SETFOCUS;
    s.focused = gained;
    int focusItem = s.items.Count() == 0 ? -1 : std::max(0, s.curSel);
    DrawNow(m.hwnd, {focusItem}, ODA_FOCUS);
    Window* w = FindWin(m.hwnd);
    if (w != nullptr && (w->style & LBS_NOTIFY)) {
        NotifyParent(m.hwnd, gained ? LBN_SETFOCUS : LBN_KILLFOCUS);
    }
    return 0;
}

Answer ListBoxState::OnMessage(const ControlMessage& m) {
    switch (m.msg) {
        case WM_CREATE:
            return Created(*this, m);
        case LB_ADDSTRING:
            return AddItem(*this, m);
        case LB_DELETESTRING:
            return DeleteListItem<ListBoxState>(m.hwnd, m.Index(), TellDeleteItem);
        case LB_RESETCONTENT:
            return ResetContent(m);
        case LB_GETCOUNT:
            return items.Count();
        case LB_GETCURSEL:
            return curSel;
        case LB_SETCURSEL:
            return SetCurSel(*this, m.hwnd, m.Index());
        case LB_GETTEXT:
            return items.CopyText(m.Index(), reinterpret_cast<char*>(m.lParam));
        case LB_GETTEXTLEN:
            return items.TextLength(m.Index());
        case LB_GETITEMDATA:
            return items.DataOf(m.Index());
        case LB_SETITEMDATA:
            return items.SetData(m.Index(), m.lParam);
        case LB_FINDSTRINGEXACT:
            return items.Find(m.Index(), m.lParam, true);
        case LB_GETITEMHEIGHT:
            return itemHeight;
        case LB_GETITEMRECT:
            return GetItemRect(*this, m);
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            return ButtonDown(m);
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            return Focus(*this, m);
        case WM_DESTROY:
            // The owner learns of every item that goes with the list.
            if (ListBoxState* s = ClearListItems<ListBoxState>(m.hwnd, TellDeleteItem)) {
                s->curSel = -1;
            }
            return 0;
        default:
            return Default();
    }
}

void ListBoxState::Paint(HDC dc, const ControlMessage& m) {
    const Window& w = m.window;
    RECT client = ClientRectOf(w);
    HBRUSH brush = ControlBrush(m.hwnd, WM_CTLCOLORLISTBOX, dc);
    api::FillRect(dc, &client, brush);
    bool ownerDrawn = OwnerDrawn(w.style);
    if (ownerDrawn && items.Count() == 0 && focused) {
        DrawItem(m.hwnd, dc, -1, ODA_FOCUS);
    }
    api::SelectObject(dc, font != nullptr ? font : SystemFont());
    for (int index = 0; index < items.Count(); ++index) {
        RECT item = ItemRect(w, *this, index);
        if (item.top >= client.bottom) {
            break;
        }
        if (ownerDrawn) {
            DrawItem(m.hwnd, dc, index, ODA_DRAWENTIRE);
            continue;
        }
        bool selected = index == curSel;
        if (selected) {
            api::FillRect(dc, &item, api::GetSysColorBrush(COLOR_HIGHLIGHT));
        }
        api::SetBkMode(dc, TRANSPARENT);
        api::SetTextColor(dc, api::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT text{item.left + 2, item.top, item.right, item.bottom};
        const std::string& label = items.At(index).text;
        api::DrawText(dc, label.c_str(), static_cast<int>(label.size()), &text,
                      DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    }
}

}  // namespace

LRESULT CALLBACK ListBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ControlProc<ListBoxState>(hwnd, msg, wParam, lParam);
}

}  // namespace fw::headless::detail
