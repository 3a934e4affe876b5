// The "ComboBox" class: a drop-down list (CBS_DROPDOWNLIST: the text is the
// selected item's) or a drop-down with its own edit text (CBS_DROPDOWN), on
// the list box's item list: sorted insertion for CBS_SORT, exact and prefix
// searches ignoring case, item data. Selecting from code (CB_SETCURSEL)
// notifies nobody.
//
// Like user32's, the window is as high as its edit line (the font's line
// height plus 8 pixels); the height it was created with is the height of the
// dropped list (CB_GETDROPPEDCONTROLRECT).
#include <algorithm>

#include "framework/headless/item_list.h"

namespace fw::headless::detail {

namespace {

constexpr int kEditLineExtra = 8;
constexpr int kButtonWidth = 16;

bool IsDropDownList(DWORD style) {
    return (style & 0x3) == CBS_DROPDOWNLIST;
}

bool OwnerDrawn(DWORD style) {
    return (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
}

struct ComboState : ListControlState {
    explicit ComboState(const Window& w) : droppedHeight(w.rect.bottom - w.rect.top) {
        items.Configure(!OwnerDrawn(w.style) || (w.style & CBS_HASSTRINGS),
                        (w.style & CBS_SORT) != 0);
    }

    std::string editText;
    int droppedHeight;
    bool dropped = false;

    Answer OnMessage(const ControlMessage& m) override;
    void Paint(HDC dc, const ControlMessage& m) override;
    void FontChanged(HWND hwnd) override;
};

// The text the combo box shows: the selected item's for a drop-down list,
// else its edit text.
std::string ShownText(const Window& w, const ComboState& s) {
    if (IsDropDownList(w.style)) {
        return s.items.Valid(s.curSel) && s.items.HasStrings() ? s.items.At(s.curSel).text : "";
    }
    return s.editText;
}

void ComboState::FontChanged(HWND hwnd) {
    Window* w = FindWin(hwnd);
    int height = FontHeightOf(hwnd) + kEditLineExtra;
    if (w != nullptr && w->rect.bottom - w->rect.top != height) {
        api::SetWindowPos(hwnd, nullptr, 0, 0, w->rect.right - w->rect.left, height,
                          SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT SetCurSel(ComboState& s, const ControlMessage& m, int index) {
    const bool list = IsDropDownList(m.window.style);
    if (!s.items.Valid(index)) {
        s.curSel = -1;
        if (!list) {
            s.editText.clear();
        }
        Invalidate(m.hwnd, nullptr, true, false);
        return CB_ERR;
    }
    s.curSel = index;
    if (!list && s.items.HasStrings()) {
        s.editText = s.items.At(index).text;
    }
    Invalidate(m.hwnd, nullptr, true, false);
    return index;
}

void TellDeleteItem(HWND hwnd, int index) {
    Window* w = FindWin(hwnd);
    ComboState* s = WindowStateOf<ComboState>(hwnd);
    if (w != nullptr && s != nullptr && s->items.Valid(index) && OwnerDrawn(w->style)) {
        SendDeleteItem(hwnd, ODT_COMBOBOX, index, s->items.At(index).data);
    }
}

// CB_ADDSTRING and CB_INSERTSTRING.
LRESULT AddItem(ComboState& s, const ControlMessage& m) {
    int added = m.msg == CB_ADDSTRING ? s.items.Add(m.lParam, nullptr)
                                      : s.items.Insert(m.Index(), m.lParam);
    if (added < 0) {
        return CB_ERR;
    }
    NoteInserted(s, added);
    Invalidate(m.hwnd, nullptr, true, false);
    return added;
}

LRESULT ResetContent(const ControlMessage& m) {
    if (ComboState* s = ClearListItems<ComboState>(m.hwnd, TellDeleteItem)) {
        s->curSel = -1;
        s->editText.clear();
    }
    Invalidate(m.hwnd, nullptr, true, false);
    return CB_OKAY;
}

LRESULT DroppedRect(const ComboState& s, const ControlMessage& m) {
    if (m.lParam != 0) {
        RECT* rect = reinterpret_cast<RECT*>(m.lParam);
        api::GetWindowRect(m.hwnd, rect);
        rect->bottom = rect->top + s.droppedHeight;
    }
    return TRUE;
}

// WM_SETTEXT: a drop-down list selects the item of that text.
LRESULT SetText(ComboState& s, const ControlMessage& m) {
    if (IsDropDownList(m.window.style)) {
        int found = s.items.Find(-1, reinterpret_cast<LPARAM>(m.Text()), true);
        if (found == CB_ERR) {
            return CB_ERR;
        }
        SetCurSel(s, m, found);
        return TRUE;
    }
    s.editText = m.Text();
    Invalidate(m.hwnd, nullptr, true, false);
    return TRUE;
}

// WM_CHAR: a drop-down list selects the next item starting with the
// character; the edit of a drop-down takes it.
LRESULT Type(ComboState& s, const ControlMessage& m) {
    const unsigned char ch = static_cast<unsigned char>(m.wParam);
    if (IsDropDownList(m.window.style)) {
        char prefix[2] = {static_cast<char>(ch), '\0'};
        int found = s.items.Find(s.curSel, reinterpret_cast<LPARAM>(prefix), false);
        if (found != CB_ERR && found != s.curSel) {
            SetCurSel(s, m, found);
            NotifyParent(m.hwnd, CBN_SELCHANGE);
        }
        return 0;
    }
    if (ch == '\b') {
        if (s.editText.empty()) {
            return 0;
        }
        s.editText.pop_back();
    } else if (ch < 0x20) {
        return 0;
    } else {
        s.editText.push_back(static_cast<char>(ch));
    }
    Invalidate(m.hwnd, nullptr, true, false);
    NotifyParent(m.hwnd, CBN_EDITUPDATE);
    NotifyParent(m.hwnd, CBN_EDITCHANGE);
    return 0;
}

void ShowDropDown(ComboState& s, HWND hwnd, bool show) {
    s.dropped = show;
    NotifyParent(hwnd, show ? CBN_DROPDOWN : CBN_CLOSEUP);
}

LRESULT ButtonDown(const ControlMessage& m) {
    api::SetFocus(m.hwnd);
    if (ComboState* s = WindowStateOf<ComboState>(m.hwnd)) {
        ShowDropDown(*s, m.hwnd, !s->dropped);
    }
    return 0;
}

LRESULT KillFocus(ComboState& s, const ControlMessage& m) {
    if (s.dropped) {
        ShowDropDown(s, m.hwnd, false);
    }
    NotifyParent(m.hwnd, CBN_KILLFOCUS);
    return 0;
}

Answer ComboState::OnMessage(const ControlMessage& m) {
    switch (m.msg) {
        case WM_CREATE:
            if (!IsDropDownList(m.window.style) && !m.window.text.empty()) {
                editText = m.window.text;
            }
            FontChanged(m.hwnd);
            return 0;
        case CB_ADDSTRING:
        case CB_INSERTSTRING:
            return AddItem(*this, m);
        case CB_INITSTORAGE:
            return items.Reserve(m.Index());
        case CB_GETLOCALE:
            return 0x0409;  // English (United States); the lists compare as CompareString does
        case CB_DELETESTRING:
            return DeleteListItem<ComboState>(m.hwnd, m.Index(), TellDeleteItem);
        case CB_RESETCONTENT:
            return ResetContent(m);
        case CB_GETCOUNT:
            return items.Count();
        case CB_GETCURSEL:
            return curSel;
        case CB_SETCURSEL:
            return SetCurSel(*this, m, m.Index());
        case CB_GETLBTEXT:
            return items.CopyText(m.Index(), reinterpret_cast<char*>(m.lParam));
        case CB_GETLBTEXTLEN:
            return items.TextLength(m.Index());
        case CB_FINDSTRING:
        case CB_FINDSTRINGEXACT:
            return items.Find(m.Index(), m.lParam, m.msg == CB_FINDSTRINGEXACT);
        case CB_GETITEMDATA:
            return items.DataOf(m.Index());
        case CB_SETITEMDATA:
            return items.SetData(m.Index(), m.lParam);
        case CB_GETDROPPEDCONTROLRECT:
            return DroppedRect(*this, m);
        case WM_SETTEXT:
            return SetText(*this, m);
        case WM_GETTEXT:
            return CopyText(ShownText(m.window, *this), m.wParam, m.lParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(ShownText(m.window, *this).size());
        case WM_CHAR:
            return Type(*this, m);
        case WM_GETDLGCODE:
            return DLGC_WANTCHARS | DLGC_WANTARROWS;
        case WM_LBUTTONDOWN:
            return ButtonDown(m);
        case WM_SETFOCUS:
            NotifyParent(m.hwnd, CBN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            return KillFocus(*this, m);
        case WM_DESTROY:
            ClearListItems<ComboState>(m.hwnd, TellDeleteItem);
            return 0;
        default:
            return Default();
    }
}

void ComboState::Paint(HDC dc, const ControlMessage& m) {
    RECT client = ClientRectOf(m.window);
    HBRUSH brush = ControlBrush(m.hwnd, WM_CTLCOLOREDIT, dc);
    api::FillRect(dc, &client, brush);
    RECT button{std::max<LONG>(0, client.right - kButtonWidth), 0, client.right, client.bottom};
    api::FillRect(dc, &button, api::GetSysColorBrush(COLOR_BTNFACE));
    PrepareText(dc, *this, m.window);
    std::string shown = ShownText(m.window, *this);
    RECT text{2, 0, button.left, client.bottom};
    api::DrawText(dc, shown.c_str(), static_cast<int>(shown.size()), &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ControlProc<ComboState>(hwnd, msg, wParam, lParam);
}

}  // namespace fw::headless::detail
