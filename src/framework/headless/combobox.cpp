// The "ComboBox" class: a drop-down list (CBS_DROPDOWNLIST: the text is the
// selected item's) or a drop-down with its own edit text (CBS_DROPDOWN,
// CBS_SIMPLE), on the list box's item list: sorted insertion for CBS_SORT,
// exact and prefix searches ignoring case, item data. Selecting from code
// (CB_SETCURSEL) notifies nobody.
//
// Like user32's, the window is as high as its edit line (the font's line
// height plus 8 pixels); the height it was created with is the height of the
// dropped list (CB_GETDROPPEDCONTROLRECT).
#include <algorithm>
#include <cstring>

#include "framework/api.h"
#include "framework/headless/item_list.h"
#include "framework/headless/system.h"

namespace fw::headless::detail {

namespace {

constexpr int kEditLineExtra = 8;
constexpr int kButtonWidth = 16;

struct ComboState : ControlState {
    ItemList items;
    int curSel = -1;
    std::string editText;
    UINT limit = 0x7FFFFFFE;
    int droppedHeight = 0;
    int itemHeight = 0;
    bool dropped = false;
    bool extendedUi = false;
    HFONT font = nullptr;
};

ComboState* StateOf(HWND hwnd) {
    return ControlStateOf<ComboState>(hwnd);
}

bool IsDropDownList(DWORD style) {
    return (style & 0x3) == CBS_DROPDOWNLIST;
}

bool OwnerDrawn(DWORD style) {
    return (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
}

// The text the combo box shows: the selected item's for a drop-down list,
// else its edit text.
std::string ShownText(const Window& w, const ComboState& s) {
    if (IsDropDownList(w.style)) {
        return s.items.Valid(s.curSel) && s.items.HasStrings() ? s.items.At(s.curSel).text : "";
    }
    return s.editText;
}

void FitHeight(HWND hwnd) {
    Window* w = FindWin(hwnd);
    ComboState* s = StateOf(hwnd);
    if (w == nullptr || s == nullptr || (w->style & 0x3) == CBS_SIMPLE) {
        return;
    }
    s->itemHeight = FontHeightOf(hwnd);
    int height = s->itemHeight + kEditLineExtra;
    if (w->rect.bottom - w->rect.top != height) {
        api::SetWindowPos(hwnd, nullptr, 0, 0, w->rect.right - w->rect.left, height,
                          SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

int SetCurSel(HWND hwnd, int index) {
    ComboState* s = StateOf(hwnd);
    Window* w = FindWin(hwnd);
    if (index < 0 || index >= s->items.Count()) {
        s->curSel = -1;
        if (!IsDropDownList(w->style)) {
            s->editText.clear();
        }
        Invalidate(hwnd, nullptr, true, false);
        return CB_ERR;
    }
    s->curSel = index;
    if (!IsDropDownList(w->style) && s->items.HasStrings()) {
        s->editText = s->items.At(index).text;
    }
    Invalidate(hwnd, nullptr, true, false);
    return index;
}

void SendDeleteItem(HWND hwnd, int index) {
    Window* w = FindWin(hwnd);
    ComboState* s = StateOf(hwnd);
    if (w == nullptr || s == nullptr || !s->items.Valid(index) || w->parent == nullptr ||
        !OwnerDrawn(w->style)) {
        return;
    }
    DELETEITEMSTRUCT item{ODT_COMBOBOX, static_cast<UINT>(w->id), static_cast<UINT>(index), hwnd,
                          s->items.At(index).data};
    Send(w->parent, WM_DELETEITEM, static_cast<WPARAM>(w->id), reinterpret_cast<LPARAM>(&item));
}

void TypeIntoEdit(HWND hwnd, unsigned char ch) {
    ComboState* s = StateOf(hwnd);
    if (ch == '\b') {
        if (s->editText.empty()) {
            return;
        }
        s->editText.pop_back();
    } else if (ch < 0x20) {
        return;
    } else {
        if (s->editText.size() + 1 > s->limit) {
            return;
        }
        s->editText.push_back(static_cast<char>(ch));
    }
    Invalidate(hwnd, nullptr, true, false);
    NotifyParent(hwnd, CBN_EDITUPDATE);
    NotifyParent(hwnd, CBN_EDITCHANGE);
}

void Paint(HWND hwnd, HDC dc, const Window& w) {
    ComboState* s = StateOf(hwnd);
    if (s == nullptr) {
        return;
    }
    RECT client = ClientRectOf(w);
    HBRUSH brush = ControlBrush(hwnd, WM_CTLCOLOREDIT, dc);
    api::FillRect(dc, &client, brush);
    RECT button{std::max<LONG>(0, client.right - kButtonWidth), 0, client.right, client.bottom};
    api::FillRect(dc, &button, api::GetSysColorBrush(COLOR_BTNFACE));
    api::SelectObject(dc, s->font != nullptr ? s->font : SystemFont());
    api::SetBkMode(dc, TRANSPARENT);
    if (w.style & WS_DISABLED) {
        api::SetTextColor(dc, api::GetSysColor(COLOR_GRAYTEXT));
    }
    std::string shown = ShownText(w, *s);
    RECT text{2, 0, button.left, client.bottom};
    api::DrawText(dc, shown.c_str(), static_cast<int>(shown.size()), &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return 0;
    }
    if (msg == WM_NCCREATE) {
        auto state = std::make_unique<ComboState>();
        bool hasStrings = !OwnerDrawn(w->style) || (w->style & CBS_HASSTRINGS);
        state->items.Configure(hasStrings, (w->style & CBS_SORT) != 0);
        state->droppedHeight = w->rect.bottom - w->rect.top;
        w->control = std::move(state);
        return api::DefWindowProc(hwnd, msg, wParam, lParam);
    }
    ComboState* s = StateOf(hwnd);
    if (s == nullptr) {
        return api::DefWindowProc(hwnd, msg, wParam, lParam);
    }
    int count = s->items.Count();
    int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (msg) {
        case WM_CREATE:
            if (!IsDropDownList(w->style) && w->text.size() > 0) {
                s->editText = w->text;
            }
            FitHeight(hwnd);
            return 0;
        case CB_ADDSTRING:
        case CB_INSERTSTRING: {
            int added = msg == CB_ADDSTRING ? s->items.Add(lParam, nullptr)
                                            : s->items.Insert(index, lParam);
            if (added < 0) {
                return CB_ERR;
            }
            if (s->curSel >= added) {
                ++s->curSel;
            }
            Invalidate(hwnd, nullptr, true, false);
            return added;
        }
        case CB_INITSTORAGE:
            return s->items.Reserve(index);
        case CB_GETLOCALE:
            return 0x0409;  // English (United States); the lists compare as CompareString does
        case CB_DELETESTRING:
            if ((s = DeleteListItem<ComboState>(hwnd, index, SendDeleteItem)) == nullptr) {
                return CB_ERR;
            }
            Invalidate(hwnd, nullptr, true, false);
            return s->items.Count();
        case CB_RESETCONTENT:
            if ((s = ClearListItems<ComboState>(hwnd, SendDeleteItem)) != nullptr) {
                s->curSel = -1;
                s->editText.clear();
            }
            Invalidate(hwnd, nullptr, true, false);
            return CB_OKAY;
        case CB_GETCOUNT:
            return count;
        case CB_GETCURSEL:
            return s->curSel;
        case CB_SETCURSEL:
            return SetCurSel(hwnd, index);
        case CB_GETLBTEXT:
            return s->items.CopyText(index, reinterpret_cast<char*>(lParam));
        case CB_GETLBTEXTLEN:
            return s->items.TextLength(index);
        case CB_FINDSTRING:
        case CB_FINDSTRINGEXACT:
            return s->items.Find(index, lParam, msg == CB_FINDSTRINGEXACT);
        case CB_SELECTSTRING: {
            int found = s->items.Find(index, lParam, false);
            return found == CB_ERR ? CB_ERR : SetCurSel(hwnd, found);
        }
        case CB_GETITEMDATA:
            return s->items.DataOf(index);
        case CB_SETITEMDATA:
            return s->items.SetData(index, lParam);
        case CB_LIMITTEXT:
            s->limit = wParam == 0 ? 0x7FFFFFFEu : static_cast<UINT>(wParam);
            return TRUE;
        case CB_GETEDITSEL:
            return MAKELRESULT(0, std::min<size_t>(s->editText.size(), 0xFFFF));
        case CB_SETEDITSEL:
            return IsDropDownList(w->style) ? CB_ERR : TRUE;
        case CB_SHOWDROPDOWN:
            if (static_cast<bool>(wParam) != s->dropped) {
                s->dropped = wParam != 0;
                NotifyParent(hwnd, s->dropped ? CBN_DROPDOWN : CBN_CLOSEUP);
            }
            return TRUE;
        case CB_GETDROPPEDSTATE:
            return s->dropped ? TRUE : FALSE;
        case CB_GETDROPPEDCONTROLRECT:
            if (lParam != 0) {
                RECT* rect = reinterpret_cast<RECT*>(lParam);
                api::GetWindowRect(hwnd, rect);
                rect->bottom = rect->top + s->droppedHeight;
            }
            return TRUE;
        case CB_GETITEMHEIGHT:
            return s->itemHeight;
        case CB_SETITEMHEIGHT:
            s->itemHeight = static_cast<int>(lParam);
            return 0;
        case CB_SETEXTENDEDUI:
            s->extendedUi = wParam != 0;
            return CB_OKAY;
        case CB_GETEXTENDEDUI:
            return s->extendedUi ? TRUE : FALSE;
        case WM_SETTEXT: {
            const char* text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
            if (IsDropDownList(w->style)) {
                int found = s->items.Find(-1, reinterpret_cast<LPARAM>(text), true);
                if (found == CB_ERR) {
                    return CB_ERR;
                }
                SetCurSel(hwnd, found);
                return TRUE;
            }
            s->editText = text;
            Invalidate(hwnd, nullptr, true, false);
            return TRUE;
        }
        case WM_GETTEXT: {
            if (wParam == 0 || lParam == 0) {
                return 0;
            }
            std::string shown = ShownText(*w, *s);
            size_t copied = std::min(shown.size(), static_cast<size_t>(wParam) - 1);
            char* buffer = reinterpret_cast<char*>(lParam);
            std::memcpy(buffer, shown.data(), copied);
            buffer[copied] = '\0';
            return static_cast<LRESULT>(copied);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(ShownText(*w, *s).size());
        case WM_CHAR:
            if (IsDropDownList(w->style)) {
                char prefix[2] = {static_cast<char>(wParam), '\0'};
                int found = s->items.Find(s->curSel, reinterpret_cast<LPARAM>(prefix), false);
                if (found != CB_ERR && found != s->curSel) {
                    SetCurSel(hwnd, found);
                    NotifyParent(hwnd, CBN_SELCHANGE);
                }
            } else {
                TypeIntoEdit(hwnd, static_cast<unsigned char>(wParam));
            }
            return 0;
        case WM_SETFONT:
            s->font = reinterpret_cast<HFONT>(wParam);
            FitHeight(hwnd);
            if (lParam) {
                Invalidate(hwnd, nullptr, true, false);
            }
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTCHARS | DLGC_WANTARROWS;
        case WM_LBUTTONDOWN:
            api::SetFocus(hwnd);
            if ((s = StateOf(hwnd)) != nullptr) {
                s->dropped = !s->dropped;
                NotifyParent(hwnd, s->dropped ? CBN_DROPDOWN : CBN_CLOSEUP);
            }
            return 0;
        case WM_SETFOCUS:
            NotifyParent(hwnd, CBN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            if (s->dropped) {
                s->dropped = false;
                NotifyParent(hwnd, CBN_CLOSEUP);
            }
            NotifyParent(hwnd, CBN_KILLFOCUS);
            return 0;
        case WM_DESTROY:
            ClearListItems<ComboState>(hwnd, SendDeleteItem);
            return 0;
        case WM_ENABLE:
            Invalidate(hwnd, nullptr, true, false);
            return 0;
        default:
            return DefControlProc(hwnd, msg, wParam, lParam, s->font, Paint);
    }
}

}  // namespace fw::headless::detail
