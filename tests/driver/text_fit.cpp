// Text fit with GDI's real fonts. See text_fit.h.
#ifdef _WIN32

#include "driver/text_fit.h"

#include <commctrl.h>

#include <sstream>

namespace textfit {
namespace {

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

bool IsClass(HWND hwnd, const char* name) {
    return ::lstrcmpiA(ClassOf(hwnd).c_str(), name) == 0;
}

std::string TextOf(HWND hwnd) {
    const int length = ::GetWindowTextLengthA(hwnd);
    if (length <= 0) {
        return std::string();
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(hwnd, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

// A device context of the control with the control's font selected.
class ControlDC {
public:
    explicit ControlDC(HWND control) : m_control(control), m_dc(::GetDC(control)) {
        HFONT font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
        if (font == NULL) {
            font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
        }
        m_old = ::SelectObject(m_dc, font);
        ::GetTextMetricsA(m_dc, &m_metrics);
    }
    ~ControlDC() {
        ::SelectObject(m_dc, m_old);
        ::ReleaseDC(m_control, m_dc);
    }
    ControlDC(const ControlDC&) = delete;
    ControlDC& operator=(const ControlDC&) = delete;

    const TEXTMETRICA& Metrics() const { return m_metrics; }

    // The rectangle DrawText needs for `text` with `format`: one line, or
    // wrapped within `width` (a word wider than that widens it).
    SIZE Needs(const std::string& text, UINT format, int width) {
        RECT rect = {0, 0, width, 0};
        ::DrawTextA(m_dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
        SIZE size = {rect.right - rect.left, rect.bottom - rect.top};
        return size;
    }

private:
    HWND m_control;
    HDC m_dc;
    HGDIOBJ m_old = NULL;
    TEXTMETRICA m_metrics = {};
};

int Edge() {
    return ::GetSystemMetrics(SM_CXEDGE);
}

// Adds a cut when `text`, drawn with `format` in a space of `room` by
// `roomHeight`, does not fit.
void Fit(std::vector<Cut>& cuts, ControlDC& dc, int id, const char* kind, const std::string& text,
         UINT format, int room, int roomHeight) {
    if (text.empty()) {
        return;
    }
    const bool wraps = (format & DT_WORDBREAK) != 0;
    const SIZE needs = dc.Needs(text, format, wraps ? room : 0);
    if (needs.cx > room || needs.cy > roomHeight) {
        Cut cut;
        cut.id = id;
        cut.kind = kind;
        cut.text = text;
        cut.width = needs.cx;
        cut.room = room;
        cut.height = needs.cy;
        cut.roomHeight = roomHeight;
        cuts.push_back(cut);
    }
}

void FitStatic(std::vector<Cut>& cuts, HWND control, const RECT& client) {
    const LONG style = ::GetWindowLongA(control, GWL_STYLE);
    UINT format = DT_EXPANDTABS;
    switch (style & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
            format |= DT_WORDBREAK;
            break;
        case SS_SIMPLE:
        case SS_LEFTNOWORDWRAP:
            format |= DT_SINGLELINE;
            break;
        default:
            return;  // icons, bitmaps, frames: no text drawn
    }
    if ((style & SS_NOPREFIX) != 0) {
        format |= DT_NOPREFIX;
    }
    ControlDC dc(control);
    Fit(cuts, dc, ::GetDlgCtrlID(control), "static", TextOf(control), format, client.right,
        client.bottom);
}

void FitButton(std::vector<Cut>& cuts, HWND control, const RECT& client) {
    const LONG style = ::GetWindowLongA(control, GWL_STYLE);
    const LONG type = style & BS_TYPEMASK;
    const std::string text = TextOf(control);
    const int id = ::GetDlgCtrlID(control);
    ControlDC dc(control);
    const UINT line = (style & BS_MULTILINE) != 0 ? UINT(DT_WORDBREAK) : UINT(DT_SINGLELINE);
    switch (type) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            Fit(cuts, dc, id, "button", text, line, client.right - 2 * Edge(),
                client.bottom - 2 * ::GetSystemMetrics(SM_CYEDGE));
            break;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: {
            const bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
            // The box, then the gap the button leaves before its label (two
            // edges: the label is drawn there and clipped at the client area).
            const int box = ::GetSystemMetrics(SM_CXMENUCHECK) + 2 * Edge();
            Fit(cuts, dc, id, radio ? "radio button" : "check box", text, line, client.right - box,
                client.bottom);
            break;
        }
        case BS_GROUPBOX:
            Fit(cuts, dc, id, "group box", text, DT_SINGLELINE,
                client.right - 2 * dc.Metrics().tmAveCharWidth, client.bottom);
            break;
        default:
            break;  // owner-drawn and user buttons draw what they like
    }
}

void FitTabs(std::vector<Cut>& cuts, HWND control, const RECT& client) {
    ControlDC dc(control);
    const int count = static_cast<int>(::SendMessageA(control, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char buffer[260] = {};
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = buffer;
        item.cchTextMax = sizeof(buffer);
        RECT rect = {};
        if (!::SendMessageA(control, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item)) ||
            !::SendMessageA(control, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rect))) {
            continue;
        }
        const std::string text = item.pszText != NULL ? item.pszText : "";
        // A tab beyond the control's right edge is not shown at all.
        const int visible = (rect.right < client.right ? rect.right : client.right) - rect.left;
        const int room = (visible > 0 ? visible : 0) - 2 * Edge();
        Fit(cuts, dc, ::GetDlgCtrlID(control), "tab", text, DT_SINGLELINE, room,
            rect.bottom - rect.top);
    }
}

void Collect(std::vector<Cut>& cuts, HWND window) {
    for (HWND child = ::GetWindow(window, GW_CHILD); child != NULL;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child)) {
            continue;
        }
        RECT client = {};
        ::GetClientRect(child, &client);
        if (IsClass(child, "#32770")) {
            Collect(cuts, child);  // a page of the sheet
        } else if (IsClass(child, "Static")) {
            FitStatic(cuts, child, client);
        } else if (IsClass(child, "Button")) {
            FitButton(cuts, child, client);
        } else if (IsClass(child, WC_TABCONTROLA)) {
            FitTabs(cuts, child, client);
        }
    }
}

std::string Convert(const std::string& text, UINT from, UINT to) {
    if (text.empty()) {
        return text;
    }
    const int wide =
        ::MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), NULL, 0);
    std::wstring buffer(static_cast<size_t>(wide > 0 ? wide : 0), L'\0');
    ::MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), &buffer[0], wide);
    const int bytes = ::WideCharToMultiByte(to, 0, buffer.data(), wide, NULL, 0, NULL, NULL);
    std::string result(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    ::WideCharToMultiByte(to, 0, buffer.data(), wide, &result[0], bytes, NULL, NULL);
    return result;
}

int CALLBACK FoundFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

}  // namespace

std::vector<Cut> CutTexts(HWND window) {
    std::vector<Cut> cuts;
    Collect(cuts, window);
    return cuts;
}

std::vector<Cut> CutListEntries(HWND list, const std::vector<std::string>& texts, int indent) {
    std::vector<Cut> cuts;
    ControlDC dc(list);
    const int count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count && i < static_cast<int>(texts.size()); ++i) {
        RECT rect = {};
        if (::SendMessageA(list, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rect)) == LB_ERR) {
            continue;
        }
        Fit(cuts, dc, ::GetDlgCtrlID(list), "list entry", texts[static_cast<size_t>(i)],
            DT_WORDBREAK, rect.right - rect.left - indent, rect.bottom - rect.top);
    }
    return cuts;
}

std::string KeysOf(const std::map<std::string, std::string>& texts, const std::string& text) {
    std::string keys;
    for (const auto& entry : texts) {
        if (entry.second == text) {
            keys += (keys.empty() ? "" : "/") + entry.first;
        }
    }
    return keys.empty() ? "-" : keys;
}

std::string Describe(const Cut& cut, const std::string& key) {
    std::ostringstream out;
    out << "control " << cut.id << " (" << cut.kind << ") " << key << " \""
        << Utf8FromAnsi(cut.text) << "\": ";
    if (cut.width > cut.room) {
        out << cut.width << " px wide, room for " << cut.room;
    } else {
        out << cut.height << " px high, room for " << cut.roomHeight;
    }
    return out.str();
}

std::string Utf8FromAnsi(const std::string& text) {
    return Convert(text, CP_ACP, CP_UTF8);
}

std::string AnsiFromUtf8(const std::string& text) {
    return Convert(text, CP_UTF8, CP_ACP);
}

SIZE Measure(const char* face, int points, const std::string& text, std::string* chosenFace) {
    HDC screen = ::GetDC(NULL);
    LOGFONTA logFont = {};
    logFont.lfHeight = -::MulDiv(points, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynA(logFont.lfFaceName, face, LF_FACESIZE);
    HFONT font = ::CreateFontIndirectA(&logFont);
    HGDIOBJ old = ::SelectObject(screen, font);
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(screen, text.c_str(), static_cast<int>(text.size()), &size);
    if (chosenFace != NULL) {
        char name[LF_FACESIZE] = {};
        ::GetTextFaceA(screen, LF_FACESIZE, name);
        *chosenFace = name;
    }
    ::SelectObject(screen, old);
    ::DeleteObject(font);
    ::ReleaseDC(NULL, screen);
    return size;
}

bool IsInstalled(const char* face) {
    HDC screen = ::GetDC(NULL);
    LOGFONTA logFont = {};
    logFont.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynA(logFont.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    ::EnumFontFamiliesExA(screen, &logFont, FoundFamily, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(NULL, screen);
    return found;
}

}  // namespace textfit

#endif  // _WIN32
