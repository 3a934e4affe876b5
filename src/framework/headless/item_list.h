// The item list shared by the list box and the combo box: strings or item
// data, sorted insertion, and the string searches, with the rules of
// user32's list box.
#ifndef SETUP_FRAMEWORK_HEADLESS_ITEM_LIST_H
#define SETUP_FRAMEWORK_HEADLESS_ITEM_LIST_H

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/headless/control.h"
#include "framework/winapi.h"

namespace fw::headless::detail {

// Compares two texts as lstrcmpi does for the module's texts: letter case
// does not count; blanks and punctuation sort before digits and digits
// before letters; hyphens and apostrophes count only when the texts are
// otherwise equal (the word sort of CompareString). <0, 0 or >0.
int CompareNoCase(std::string_view a, std::string_view b);

// True when `text` starts with `prefix`, letter case ignored.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

struct ListItem {
    std::string text;
    ULONG_PTR data = 0;
};

class ItemList {
public:
    // hasStrings: items are texts (else each item is only its data);
    // sorted: LBS_SORT / CBS_SORT.
    void Configure(bool hasStrings, bool sorted) {
        m_hasStrings = hasStrings;
        m_sorted = sorted;
    }
    bool HasStrings() const { return m_hasStrings; }
    int Count() const { return static_cast<int>(m_items.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    const ListItem& At(int index) const { return m_items[static_cast<size_t>(index)]; }
    ListItem& At(int index) { return m_items[static_cast<size_t>(index)]; }

    // LB_ADDSTRING / CB_ADDSTRING: at the end, or at its sorted place;
    // lParam is the text or, without strings, the item data. `compareData`
    // orders data items of a sorted list without strings (WM_COMPAREITEM).
    int Add(LPARAM lParam, const std::function<int(ULONG_PTR, ULONG_PTR)>& compareData);
    // LB_INSERTSTRING / CB_INSERTSTRING: at `index` (-1: the end), unsorted.
    // LB_ERR when the index is beyond the end.
    int Insert(int index, LPARAM lParam);
    void Delete(int index) { m_items.erase(m_items.begin() + index); }
    // LB_INITSTORAGE / CB_INITSTORAGE: room for `more` items beyond those
    // there; the number of items there is room for.
    int Reserve(int more) {
        m_items.reserve(m_items.size() + static_cast<size_t>(more > 0 ? more : 0));
        return static_cast<int>(m_items.capacity());
    }
    void Clear() { m_items.clear(); }

    // LB_FINDSTRINGEXACT / LB_FINDSTRING and the CB_ forms: the search starts
    // after `start` (-1 or beyond the end: from the first item) and wraps
    // around to `start`. Texts compare ignoring case, data items by value.
    int Find(int start, LPARAM lParam, bool exact) const;

    // LB_GETITEMDATA / CB_GETITEMDATA and LB_SETITEMDATA / CB_SETITEMDATA
    // (TRUE); LB_ERR when there is no such item.
    LRESULT DataOf(int index) const {
        return Valid(index) ? static_cast<LRESULT>(At(index).data) : LB_ERR;
    }
    LRESULT SetData(int index, LPARAM data) {
        if (!Valid(index)) {
            return LB_ERR;
        }
        At(index).data = static_cast<ULONG_PTR>(data);
        return TRUE;
    }

    // LB_GETTEXT / CB_GETLBTEXT: the text, or the item data's bytes for a
    // list without strings; the length without the terminator.
    int TextLength(int index) const;
    int CopyText(int index, char* buffer) const;

private:
    ListItem FromParam(LPARAM lParam) const;

    std::vector<ListItem> m_items;
    bool m_hasStrings = true;
    bool m_sorted = false;
};

// The state the list box and the combo box share: their items and the
// selected one.
struct ListControlState : ControlState {
    ItemList items;
    int curSel = -1;
};

// The item bookkeeping of the list box and the combo box, on their states
// (`State` is a ListControlState). `sendDeleteItem` tells the owner that an
// item goes (WM_DELETEITEM); the owner's code may change the control or
// destroy it, so the state is looked up again afterwards.

// WM_DELETEITEM to the parent of a list control for one of its items.
void SendDeleteItem(HWND control, UINT ctlType, int index, ULONG_PTR data);

// LB_ADDSTRING / CB_ADDSTRING and the INSERTSTRING forms have put an item at
// `added` (or failed, < 0): the selection follows its item.
inline void NoteInserted(ListControlState& s, int added) {
    if (added >= 0 && s.curSel >= added) {
        ++s.curSel;
    }
}

// LB_DELETESTRING / CB_DELETESTRING: the item at `index` goes and the
// selection follows its item (none when the selected one went). The count
// left; LB_ERR (CB_ERR) when there was no such item or it or the control
// went while the owner was told.
template <class State>
LRESULT DeleteListItem(HWND hwnd, int index, void (*sendDeleteItem)(HWND, int)) {
    State* s = WindowStateOf<State>(hwnd);
    if (s == nullptr || !s->items.Valid(index)) {
        return LB_ERR;
    }
    sendDeleteItem(hwnd, index);
    if ((s = WindowStateOf<State>(hwnd)) == nullptr || !s->items.Valid(index)) {
        return LB_ERR;
    }
    s->items.Delete(index);
    if (s->curSel == index) {
        s->curSel = -1;
    } else if (s->curSel > index) {
        --s->curSel;
    }
    Invalidate(hwnd, nullptr, true, false);
    return s->items.Count();
}

// LB_RESETCONTENT / CB_RESETCONTENT and WM_DESTROY: the owner learns of
// every item, then they all go. The state afterwards (its selection left to
// the caller); nullptr when the control went while the owner was told.
template <class State>
State* ClearListItems(HWND hwnd, void (*sendDeleteItem)(HWND, int)) {
    State* s = WindowStateOf<State>(hwnd);
    int count = s != nullptr ? s->items.Count() : 0;
    for (int i = 0; i < count; ++i) {
        sendDeleteItem(hwnd, i);
    }
    if ((s = WindowStateOf<State>(hwnd)) != nullptr) {
        s->items.Clear();
    }
    return s;
}

}  // namespace fw::headless::detail

#endif
