// The "Edit" class: text with a selection and a text limit, and the typing
// rules of user32's edit control: read-only edits refuse typing, digits-only
// edits refuse other characters, the limit refuses what would exceed it
// (EN_MAXTEXT), a typed character replaces the selection, backspace deletes
// the selection or the character before the caret; every change sends
// EN_UPDATE and EN_CHANGE. A password edit shows its password character.
#include <algorithm>
#include <cctype>

#include "framework/headless/control.h"

namespace fw::headless::detail {

namespace {

constexpr UINT kDefaultLimit = 30000;  // before EM_LIMITTEXT, as user32 starts
constexpr UINT kSingleLineMaximum = 0x7FFFFFFE;
constexpr UINT kMultiLineMaximum = 0xFFFFFFFF;
constexpr char kPasswordChar = '*';

struct EditState : ControlState {
    explicit EditState(const Window& w)
        : limit((w.style & ES_MULTILINE) ? kMultiLineMaximum : kDefaultLimit) {}

    size_t selStart = 0;  // anchor
    size_t selEnd = 0;    // caret
    UINT limit;

    size_t SelLow() const { return std::min(selStart, selEnd); }
    size_t SelHigh() const { return std::max(selStart, selEnd); }

    Answer OnMessage(const ControlMessage& m) override;
    void Paint(HDC dc, const ControlMessage& m) override;
};

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

// The selection replaced by `inserted` (empty: deleted), the caret after it.
void ReplaceSelection(EditState& s, const ControlMessage& m, const std::string& inserted) {
    size_t low = s.SelLow();
    m.window.text.replace(low, s.SelHigh() - low, inserted);
    s.selStart = s.selEnd = low + inserted.size();
    Changed(m.hwnd);
}

void Backspace(EditState& s, const ControlMessage& m) {
    if (s.SelLow() == s.SelHigh()) {
        if (s.selEnd == 0) {
            return;
        }
        s.selStart = PreviousCharStart(m.window.text, s.selEnd);
    }
    ReplaceSelection(s, m, std::string());
}

// What a typed character inserts; empty when the edit refuses it (beeps).
std::string Typed(DWORD style, unsigned char ch) {
    if (ch == '\r' || ch == '\n') {
        return (style & ES_MULTILINE) ? "\r\n" : "";
    }
    if (ch == '\t') {
        return (style & ES_MULTILINE) ? "\t" : "";
    }
    if (ch < 0x20 || ch == 0x7F) {
        return "";  // other control characters (Ctrl+letter) edit nothing here
    }
    if ((style & ES_NUMBER) && !(ch >= '0' && ch <= '9')) {
        return "";  // digits only
    }
    if (style & ES_UPPERCASE) {
        ch = static_cast<unsigned char>(std::toupper(ch));
    }
    return std::string(1, static_cast<char>(ch));
}

// WM_CHAR.
LRESULT Type(EditState& s, const ControlMessage& m) {
    const unsigned char ch = static_cast<unsigned char>(m.wParam);
    if (m.window.style & ES_READONLY) {
        return 0;  // beeps
    }
    if (ch == '\b') {
        Backspace(s, m);
        return 0;
    }
    std::string inserted = Typed(m.window.style, ch);
    if (inserted.empty()) {
        return 0;
    }
    size_t remaining = m.window.text.size() - (s.SelHigh() - s.SelLow());
    if (remaining + inserted.size() > s.limit) {
        NotifyParent(m.hwnd, EN_MAXTEXT);
        return 0;
    }
    ReplaceSelection(s, m, inserted);
    return 0;
}

LRESULT SetText(EditState& s, const ControlMessage& m) {
    m.window.text = m.Text();
    s.selStart = s.selEnd = 0;
    Changed(m.hwnd);
    return TRUE;
}

// EM_SETSEL: -1 as the start keeps the caret without a selection; a
// negative end or one beyond the text is the end of the text.
LRESULT SetSelection(EditState& s, const ControlMessage& m) {
    const LONG_PTR start = static_cast<int>(m.wParam);
    const LONG_PTR end = static_cast<int>(m.lParam);
    size_t length = m.window.text.size();
    if (start == -1) {
        s.selStart = s.selEnd;
        return 0;
    }
    auto clamp = [length](LONG_PTR value) {
        return value < 0 ? length : std::min(static_cast<size_t>(value), length);
    };
    s.selStart = clamp(start);
    s.selEnd = clamp(end);
    return 0;
}

LRESULT GetSelection(const EditState& s, const ControlMessage& m) {
    DWORD low = static_cast<DWORD>(s.SelLow());
    DWORD high = static_cast<DWORD>(s.SelHigh());
    if (m.wParam != 0) {
        *reinterpret_cast<DWORD*>(m.wParam) = low;
    }
    if (m.lParam != 0) {
        *reinterpret_cast<DWORD*>(m.lParam) = high;
    }
    return MAKELRESULT(std::min<DWORD>(low, 0xFFFF), std::min<DWORD>(high, 0xFFFF));
}

// EM_LIMITTEXT: 0 is the most the edit can hold.
LRESULT LimitText(EditState& s, const ControlMessage& m) {
    if (m.wParam != 0) {
        s.limit = static_cast<UINT>(m.wParam);
    } else {
        s.limit = (m.window.style & ES_MULTILINE) ? kMultiLineMaximum : kSingleLineMaximum;
    }
    return 0;
}

Answer EditState::OnMessage(const ControlMessage& m) {
    switch (m.msg) {
        case WM_SETTEXT:
            return SetText(*this, m);
        case WM_CHAR:
            return Type(*this, m);
        case EM_SETSEL:
            return SetSelection(*this, m);
        case EM_GETSEL:
            return GetSelection(*this, m);
        case EM_LIMITTEXT:
            return LimitText(*this, m);
        case EM_GETLIMITTEXT:
            return static_cast<LRESULT>(limit);
        case EM_GETPASSWORDCHAR:
            return (m.window.style & ES_PASSWORD) ? kPasswordChar : 0;
        case WM_GETDLGCODE:
            return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS |
                   ((m.window.style & ES_MULTILINE) ? DLGC_WANTALLKEYS : 0);
        case WM_SETFOCUS:
            NotifyParent(m.hwnd, EN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            NotifyParent(m.hwnd, EN_KILLFOCUS);
            return 0;
        case WM_LBUTTONDOWN:
            api::SetFocus(m.hwnd);
            return 0;
        default:
            return Default();
    }
}

void EditState::Paint(HDC dc, const ControlMessage& m) {
    const Window& w = m.window;
    RECT client = ClientRectOf(w);
    bool grey = (w.style & (ES_READONLY | WS_DISABLED)) != 0;
    HBRUSH brush = ControlBrush(m.hwnd, grey ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT, dc);
    api::FillRect(dc, &client, brush);
    PrepareText(dc, *this, w);
    std::string shown = w.text;
    if (w.style & ES_PASSWORD) {
        shown.assign(shown.size(), kPasswordChar);
    }
    UINT format = DT_NOPREFIX | DT_EXPANDTABS;
    format |= (w.style & ES_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    if (w.style & ES_CENTER) {
        format |= DT_CENTER;
    }
    RECT area{1, 1, client.right - 1, client.bottom - 1};
    api::DrawText(dc, shown.c_str(), static_cast<int>(shown.size()), &area, format);
}

}  // namespace

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ControlProc<EditState>(hwnd, msg, wParam, lParam);
}

}  // namespace fw::headless::detail
