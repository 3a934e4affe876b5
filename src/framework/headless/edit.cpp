// The "Edit" class: text with a selection and a text limit, and the typing
// rules of user32's edit control: read-only edits refuse typing, digits-only
// edits refuse other characters, the limit refuses what would exceed it
// (EN_MAXTEXT), a typed character replaces the selection, backspace deletes
// the selection or the character before the caret; every change sends
// EN_UPDATE and EN_CHANGE. A password edit shows its password character.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "framework/api.h"
#include "framework/headless/system.h"

namespace fw::headless::detail {

namespace {

constexpr UINT kDefaultLimit = 30000;  // before EM_LIMITTEXT, as user32 starts
constexpr UINT kSingleLineMaximum = 0x7FFFFFFE;

struct EditState : ControlState {
    size_t selStart = 0;  // anchor
    size_t selEnd = 0;    // caret
    UINT limit = kDefaultLimit;
    bool modified = false;
    char passwordChar = '*';
    HFONT font = nullptr;
};

EditState* StateOf(HWND hwnd) {
    return ControlStateOf<EditState>(hwnd);
}

size_t SelLow(const EditState& s) {
    return std::min(s.selStart, s.selEnd);
}
size_t SelHigh(const EditState& s) {
    return std::max(s.selStart, s.selEnd);
}

void Changed(HWND hwnd) {
    Invalidate(hwnd, nullptr, true, false);
    NotifyParent(hwnd, EN_UPDATE);
    NotifyParent(hwnd, EN_CHANGE);
}

// Start of the UTF-8 character that ends at `pos`.
size_t PreviousCharStart(const std::string& text, size_t pos) {
    if (pos == 0) {
        return 0;
    }
    size_t start = pos - 1;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) {
        --start;
    }
    return start;
}

size_t NextCharEnd(const std::string& text, size_t pos) {
    if (pos >= text.size()) {
        return text.size();
    }
    size_t end = pos + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        ++end;
    }
    return end;
}

// Replaces the selection with `inserted`, cut to what the limit leaves room
// for. Returns false when nothing of it fits (and nothing was selected).
bool ReplaceSelection(HWND hwnd, std::string inserted, bool notify) {
    Window* w = FindWin(hwnd);
    EditState* s = StateOf(hwnd);
    size_t low = SelLow(*s);
    size_t high = SelHigh(*s);
    size_t remaining = w->text.size() - (high - low);
    size_t room = s->limit > remaining ? s->limit - remaining : 0;
    bool truncated = inserted.size() > room;
    if (truncated) {
        inserted.resize(room);
    }
    if (inserted.empty() && low == high) {
        if (truncated) {
            NotifyParent(hwnd, EN_MAXTEXT);
        }
        return false;
    }
    w->text.replace(low, high - low, inserted);
    s->selStart = s->selEnd = low + inserted.size();
    s->modified = true;
    if (notify) {
        Changed(hwnd);
    }
    if (truncated) {
        NotifyParent(hwnd, EN_MAXTEXT);
    }
    return true;
}

void Backspace(HWND hwnd) {
    Window* w = FindWin(hwnd);
    EditState* s = StateOf(hwnd);
    if (SelLow(*s) == SelHigh(*s)) {
        if (s->selEnd == 0) {
            return;
        }
        s->selStart = PreviousCharStart(w->text, s->selEnd);
    }
    size_t low = SelLow(*s);
    w->text.erase(low, SelHigh(*s) - low);
    s->selStart = s->selEnd = low;
    s->modified = true;
    Changed(hwnd);
}

void Type(HWND hwnd, unsigned char ch) {
    Window* w = FindWin(hwnd);
    EditState* s = StateOf(hwnd);
    if (w->style & ES_READONLY) {
        return;  // beeps
    }
    if (ch == '\b') {
        Backspace(hwnd);
        return;
    }
    std::string inserted;
    if (ch == '\r' || ch == '\n') {
        if (!(w->style & ES_MULTILINE)) {
            return;
        }
        inserted = "\r\n";
    } else if (ch == '\t') {
        if (!(w->style & ES_MULTILINE)) {
            return;
        }
        inserted = "\t";
    } else if (ch < 0x20 || ch == 0x7F) {
        return;  // other control characters (Ctrl+letter) edit nothing here
    } else {
        if ((w->style & ES_NUMBER) && !(ch >= '0' && ch <= '9')) {
            return;  // beeps: digits only
        }
        char c = static_cast<char>(ch);
        if (w->style & ES_UPPERCASE) {
            c = static_cast<char>(std::toupper(ch));
        } else if (w->style & ES_LOWERCASE) {
            c = static_cast<char>(std::tolower(ch));
        }
        inserted.assign(1, c);
    }
    size_t remaining = w->text.size() - (SelHigh(*s) - SelLow(*s));
    if (remaining + inserted.size() > s->limit) {
        NotifyParent(hwnd, EN_MAXTEXT);
        return;
    }
    ReplaceSelection(hwnd, inserted, true);
}

void SetSelection(EditState& s, const std::string& text, LONG_PTR start, LONG_PTR end) {
    size_t length = text.size();
    if (start == -1) {
        s.selStart = s.selEnd;  // no selection, the caret stays
        return;
    }
    auto clamp = [length](LONG_PTR value) {
        return value < 0 ? length : std::min(static_cast<size_t>(value), length);
    };
    s.selStart = clamp(start);
    s.selEnd = clamp(end);
}

int LineCount(const std::string& text) {
    int lines = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++lines;
        }
    }
    return lines;
}

void Paint(HWND hwnd, HDC dc, const Window& w) {
    EditState* s = StateOf(hwnd);
    if (s == nullptr) {
        return;
    }
    RECT client = ClientRectOf(w);
    bool grey = (w.style & (ES_READONLY | WS_DISABLED)) != 0;
    HBRUSH brush = ControlBrush(hwnd, grey ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT, dc);
    api::FillRect(dc, &client, brush);
    api::SelectObject(dc, s->font != nullptr ? s->font : SystemFont());
    api::SetBkMode(dc, TRANSPARENT);
    if (w.style & WS_DISABLED) {
        api::SetTextColor(dc, api::GetSysColor(COLOR_GRAYTEXT));
    }
    std::string shown = w.text;
    if (w.style & ES_PASSWORD) {
        shown.assign(shown.size(), s->passwordChar);
    }
    UINT format = DT_NOPREFIX | DT_EXPANDTABS;
    if (w.style & ES_MULTILINE) {
        format |= DT_WORDBREAK;
    } else {
        format |= DT_SINGLELINE;
    }
    if (w.style & ES_CENTER) {
        format |= DT_CENTER;
    } else if (w.style & ES_RIGHT) {
        format |= DT_RIGHT;
    }
    RECT area{1, 1, client.right - 1, client.bottom - 1};
    api::DrawText(dc, shown.c_str(), static_cast<int>(shown.size()), &area, format);
}

}  // namespace

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWin(hwnd);
    if (w == nullptr) {
        return 0;
    }
    if (msg == WM_NCCREATE) {
        auto state = std::make_unique<EditState>();
        state->limit = (w->style & ES_MULTILINE) ? 0xFFFFFFFFu : kDefaultLimit;
        w->control = std::move(state);
        return api::DefWindowProc(hwnd, msg, wParam, lParam);
    }
    EditState* s = StateOf(hwnd);
    if (s == nullptr) {
        return api::DefWindowProc(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
        case WM_SETTEXT:
            w->text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
            s->selStart = s->selEnd = 0;
            s->modified = false;
            Changed(hwnd);
            return TRUE;
        case WM_CHAR:
            Type(hwnd, static_cast<unsigned char>(wParam));
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_DELETE && !(w->style & ES_READONLY)) {
                if (SelLow(*s) == SelHigh(*s)) {
                    s->selEnd = NextCharEnd(w->text, s->selEnd);
                }
                if (SelLow(*s) != SelHigh(*s)) {
                    ReplaceSelection(hwnd, std::string(), true);
                }
            }
            return 0;
        case WM_CLEAR:
        case WM_CUT:
            if (!(w->style & ES_READONLY) && SelLow(*s) != SelHigh(*s)) {
                ReplaceSelection(hwnd, std::string(), true);
            }
            return 0;
        case EM_SETSEL:
            SetSelection(*s, w->text, static_cast<LONG_PTR>(static_cast<int>(wParam)),
                         static_cast<LONG_PTR>(static_cast<int>(lParam)));
            return 0;
        case EM_GETSEL: {
            DWORD low = static_cast<DWORD>(SelLow(*s));
            DWORD high = static_cast<DWORD>(SelHigh(*s));
            if (wParam != 0) {
                *reinterpret_cast<DWORD*>(wParam) = low;
            }
            if (lParam != 0) {
                *reinterpret_cast<DWORD*>(lParam) = high;
            }
            return MAKELRESULT(std::min<DWORD>(low, 0xFFFF), std::min<DWORD>(high, 0xFFFF));
        }
        case EM_REPLACESEL:
            ReplaceSelection(hwnd, lParam != 0 ? reinterpret_cast<const char*>(lParam) : "", true);
            return 0;
        case EM_LIMITTEXT:
            if (wParam == 0) {
                s->limit = (w->style & ES_MULTILINE) ? 0xFFFFFFFFu : kSingleLineMaximum;
            } else {
                s->limit = static_cast<UINT>(wParam);
            }
            return 0;
        case EM_GETLIMITTEXT:
            return static_cast<LRESULT>(s->limit);
        case EM_GETMODIFY:
            return s->modified ? TRUE : FALSE;
        case EM_SETMODIFY:
            s->modified = wParam != 0;
            return 0;
        case EM_SETREADONLY:
            if (wParam) {
                w->style |= ES_READONLY;
            } else {
                w->style &= ~static_cast<DWORD>(ES_READONLY);
            }
            Invalidate(hwnd, nullptr, true, false);
            return TRUE;
        case EM_SETPASSWORDCHAR:
            if (wParam == 0) {
                w->style &= ~static_cast<DWORD>(ES_PASSWORD);
            } else {
                s->passwordChar = static_cast<char>(wParam);
                w->style |= ES_PASSWORD;
            }
            Invalidate(hwnd, nullptr, true, false);
            return 0;
        case EM_GETPASSWORDCHAR:
            return (w->style & ES_PASSWORD) ? static_cast<unsigned char>(s->passwordChar) : 0;
        case EM_GETLINECOUNT:
            return (w->style & ES_MULTILINE) ? LineCount(w->text) : 1;
        case EM_LINELENGTH:
            return (w->style & ES_MULTILINE) ? 0 : static_cast<LRESULT>(w->text.size());
        case EM_CANUNDO:
        case EM_UNDO:
            return FALSE;
        case EM_EMPTYUNDOBUFFER:
        case EM_SCROLLCARET:
            return 0;
        case WM_GETDLGCODE: {
            LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
            if (w->style & ES_MULTILINE) {
                code |= DLGC_WANTALLKEYS;
            }
            return code;
        }
        case WM_SETFOCUS:
            NotifyParent(hwnd, EN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            NotifyParent(hwnd, EN_KILLFOCUS);
            return 0;
        case WM_LBUTTONDOWN:
            api::SetFocus(hwnd);
            return 0;
        case WM_ENABLE:
            Invalidate(hwnd, nullptr, true, false);
            return 0;
        default:
            return DefControlProc(hwnd, msg, wParam, lParam, s->font, Paint);
    }
}

}  // namespace fw::headless::detail
