#include "framework/windows/wnd.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <unordered_map>
#include <utility>

#include "framework/api.h"
#include "framework/windows/app.h"
#include "framework/gdi/gdi.h"

namespace fw {

IMPLEMENT_DYNAMIC(CWnd, CObject)

namespace {

// Attached objects by window. Never destroyed, so that objects destroyed at
// exit can still look themselves up.
std::unordered_map<HWND, CWnd*>& PermanentMap() {
    static auto* s_map = new std::unordered_map<HWND, CWnd*>();
    return *s_map;
}

// Temporary objects handed out by FromHandle. An entry whose window is gone
// is dropped when the table has grown enough to be worth a sweep.
struct TemporaryMap {
    std::unordered_map<HWND, std::unique_ptr<CWnd>> objects;
    size_t sweepAt = 64;
};

TemporaryMap& Temporaries() {
    static auto* s_map = new TemporaryMap();
    return *s_map;
}

// The messages being dispatched, innermost first: Default() answers the one
// of its own window.
struct MessageFrame {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    const MessageFrame* previous;
};

const MessageFrame* s_pCurrentMessage = nullptr;

UnhandledExceptionReporter& Reporter() {
    static auto* s_reporter = new UnhandledExceptionReporter();
    return *s_reporter;
}

void ReportUnhandled(HWND hWnd, UINT message, const char* what) {
    char text[64];
    std::snprintf(text, sizeof(text), "exception in the handler of message 0x%04X: ", message);
    ReportUnhandledException(text + std::string(what), hWnd);
}

// Marks the top-level window that has shown its internal-failure box.
const char kFailureShownProp[] = "SetupFailureShown";

HWND TopLevelOf(HWND hWnd) {
    while (hWnd != nullptr && (api::GetWindowLongPtr(hWnd, GWL_STYLE) & WS_CHILD) != 0) {
        HWND parent = api::GetParent(hWnd);
        if (parent == nullptr) {
            break;
        }
        hWnd = parent;
    }
    return hWnd;
}

// The default report: the standard error stream, and the operator.
void TellTheOperator(const std::string& description, HWND hWnd) {
    std::fprintf(stderr, "%s\n", description.c_str());
    static bool s_showing = false;
    if (s_showing) {
        return;  // failures while the box is up: the first one is being shown
    }
    HWND owner = hWnd != nullptr && api::IsWindow(hWnd) ? TopLevelOf(hWnd) : nullptr;
    if (owner != nullptr) {
        if (api::GetProp(owner, kFailureShownProp) != nullptr) {
            return;
        }
        api::SetProp(owner, kFailureShownProp, reinterpret_cast<HANDLE>(1));
    }
    s_showing = true;
    const std::string text = std::string(kInternalFailureText) + "\n\n" + description;
    api::MessageBox(owner, text.c_str(), AfxGetAppName(), MB_OK | MB_ICONSTOP);
    s_showing = false;
}

}  // namespace

const char kInternalFailureText[] =
    "An internal error occurred. What you did last may not have taken effect.";

void SetUnhandledExceptionReporter(UnhandledExceptionReporter reporter) {
    Reporter() = std::move(reporter);
}

void ReportUnhandledException(const std::string& description, HWND window) {
    const UnhandledExceptionReporter& reporter = Reporter();
    if (reporter) {
        reporter(description);
    } else {
        TellTheOperator(description, window);
    }
}

const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id) {
    for (; map != nullptr; map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn != nullptr; ++entry) {
            if (entry->nMessage == message && entry->nCode == code && id >= entry->nID &&
                id <= entry->nLastID) {
                return entry;
            }
        }
    }
    return nullptr;
}

// CWnd's own entries: owner-draw requests reach the control's object.
const AFX_MSGMAP* CWnd::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    using ThisClass = CWnd;
    static const AFX_MSGMAP_ENTRY s_entries[] = {// clang-format off
        ON_WM_DRAWITEM()
        ON_WM_MEASUREITEM()
                                                 // clang-format on
                                                 {0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP s_map = {nullptr, &s_entries[0]};
    return &s_map;
}

// --- Life and handle map ---------------------------------------------------------

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_hWnd == nullptr || !m_bAttached) {
        return;
    }
    const bool alive = api::IsWindow(m_hWnd);
    if (alive && m_pfnSuper != nullptr &&
        reinterpret_cast<WNDPROC>(api::GetWindowLongPtr(m_hWnd, GWLP_WNDPROC)) == &AfxWndProc) {
        api::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    m_pfnSuper = nullptr;
    HWND hWnd = Detach();
    if (alive && m_bCreatedHere) {
        api::DestroyWindow(hWnd);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (hWnd == nullptr) {
        return nullptr;
    }
    const auto& map = PermanentMap();
    auto it = map.find(hWnd);
    return it != map.end() ? it->second : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (hWnd == nullptr) {
        return nullptr;
    }
    if (CWnd* permanent = FromHandlePermanent(hWnd)) {
        return permanent;
    }
    TemporaryMap& temporaries = Temporaries();
    auto it = temporaries.objects.find(hWnd);
    if (it != temporaries.objects.end()) {
        return it->second.get();
    }
    if (temporaries.objects.size() >= temporaries.sweepAt) {
        for (auto entry = temporaries.objects.begin(); entry != temporaries.objects.end();) {
            if (!api::IsWindow(entry->first)) {
                entry->second->m_hWnd = nullptr;
                entry = temporaries.objects.erase(entry);
            } else {
                ++entry;
            }
        }
        temporaries.sweepAt = std::max<size_t>(64, temporaries.objects.size() * 2);
    }
    auto object = std::make_unique<CWnd>();
    object->m_hWnd = hWnd;
    CWnd* result = object.get();
    temporaries.objects.emplace(hWnd, std::move(object));
    return result;
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (hWndNew == nullptr || m_hWnd != nullptr) {
        return FALSE;
    }
    auto& map = PermanentMap();
    if (map.count(hWndNew) != 0) {
        return FALSE;
    }
    map[hWndNew] = this;
    m_hWnd = hWndNew;
    m_bAttached = true;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr && m_bAttached) {
        auto& map = PermanentMap();
        auto it = map.find(hWnd);
        if (it != map.end() && it->second == this) {
            map.erase(it);
        }
    }
    m_hWnd = nullptr;
    m_bAttached = false;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd)) {
        return FALSE;
    }
    PreSubclassWindow();
    auto previous = reinterpret_cast<WNDPROC>(
        api::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (previous != &AfxWndProc) {
        m_pfnSuper = previous;
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    if (pParent == nullptr) {
        return FALSE;
    }
    HWND hWndControl = api::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    return hWndControl != nullptr && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow() {
    if (m_pfnSuper != nullptr && m_hWnd != nullptr) {
        api::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = nullptr;
    }
    return Detach();
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, const std::string& windowName,
                    DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    if (m_hWnd != nullptr) {
        return FALSE;
    }
    HWND hWnd = api::CreateWindowEx(
        dwExStyle, lpszClassName, windowName.c_str(), dwStyle, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top,
        pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), api::ModuleInstance(), nullptr);
    if (hWnd == nullptr) {
        return FALSE;
    }
    if (!SubclassWindow(hWnd)) {
        api::DestroyWindow(hWnd);
        return FALSE;
    }
    m_bCreatedHere = true;
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    return api::DestroyWindow(m_hWnd);
}

// --- Text ------------------------------------------------------------------------

void CWnd::SetWindowText(const char* lpszString) {
    api::SetWindowText(m_hWnd, lpszString != nullptr ? lpszString : "");
}

std::string CWnd::GetWindowText() const {
    std::string text;
    GetWindowText(text);
    return text;
}

std::string WindowText(HWND hWnd) {
    if (hWnd == nullptr) {
        return {};
    }
    int length = api::GetWindowTextLength(hWnd);
    if (length <= 0) {
        return {};
    }
    std::string buffer(static_cast<size_t>(length) + 1, '\0');
    int copied = api::GetWindowText(hWnd, &buffer[0], length + 1);
    buffer.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return buffer;
}

int CWnd::GetWindowText(std::string& text) const {
    text = WindowText(m_hWnd);
    return static_cast<int>(text.size());
}

// --- State, position, focus ------------------------------------------------------

BOOL CWnd::EnableWindow(BOOL bEnable) {
    return api::EnableWindow(m_hWnd, bEnable);
}
BOOL CWnd::IsWindowEnabled() const {
    return api::IsWindowEnabled(m_hWnd);
}
BOOL CWnd::ShowWindow(int nCmdShow) {
    return api::ShowWindow(m_hWnd, nCmdShow);
}
BOOL CWnd::IsWindowVisible() const {
    return api::IsWindowVisible(m_hWnd);
}
BOOL CWnd::IsWindow() const {
    return m_hWnd != nullptr && api::IsWindow(m_hWnd);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    api::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}
void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
               lpRect->bottom - lpRect->top, bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    return api::SetWindowPos(m_hWnd, pWndInsertAfter != nullptr ? pWndInsertAfter->m_hWnd : nullptr,
                             x, y, cx, cy, nFlags);
}

void CWnd::GetWindowRect(LPRECT lpRect) const {
    api::GetWindowRect(m_hWnd, lpRect);
}
void CWnd::GetClientRect(LPRECT lpRect) const {
    api::GetClientRect(m_hWnd, lpRect);
}
void CWnd::ScreenToClient(LPPOINT lpPoint) const {
    api::ScreenToClient(m_hWnd, lpPoint);
}
void CWnd::ScreenToClient(LPRECT lpRect) const {
    api::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
}
void CWnd::ClientToScreen(LPPOINT lpPoint) const {
    api::ClientToScreen(m_hWnd, lpPoint);
}
void CWnd::ClientToScreen(LPRECT lpRect) const {
    api::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2);
}
void CWnd::MapWindowPoints(CWnd* pWndTo, LPRECT lpRect) const {
    api::MapWindowPoints(m_hWnd, pWndTo != nullptr ? pWndTo->m_hWnd : nullptr,
                         reinterpret_cast<LPPOINT>(lpRect), 2);
}
void CWnd::MapWindowPoints(CWnd* pWndTo, LPPOINT lpPoint, UINT nCount) const {
    api::MapWindowPoints(m_hWnd, pWndTo != nullptr ? pWndTo->m_hWnd : nullptr, lpPoint, nCount);
}
void CWnd::MapDialogRect(LPRECT lpRect) const {
    api::MapDialogRect(m_hWnd, lpRect);
}

CWnd* CWnd::SetFocus() {
    return FromHandle(api::SetFocus(m_hWnd));
}
CWnd* CWnd::GetFocus() {
    return FromHandle(api::GetFocus());
}

// --- Styles -------------------------------------------------------------------------

DWORD CWnd::GetStyle() const {
    return static_cast<DWORD>(api::GetWindowLongPtr(m_hWnd, GWL_STYLE));
}
namespace {

BOOL ModifyWindowLong(HWND hWnd, int nIndex, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    const DWORD style = static_cast<DWORD>(api::GetWindowLongPtr(hWnd, nIndex));
    const DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle) {
        return FALSE;
    }
    api::SetWindowLongPtr(hWnd, nIndex, static_cast<LONG_PTR>(newStyle));
    if (nFlags != 0) {
        api::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                          SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    }
    return TRUE;
}

}  // namespace

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyWindowLong(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyWindowLong(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

// --- Relatives ------------------------------------------------------------------

CWnd* CWnd::GetDlgItem(int nID) const {
    return FromHandle(api::GetDlgItem(m_hWnd, nID));
}
int CWnd::GetDlgCtrlID() const {
    return api::GetDlgCtrlID(m_hWnd);
}
CWnd* CWnd::GetParent() const {
    return FromHandle(api::GetParent(m_hWnd));
}
CWnd* CWnd::GetWindow(UINT nCmd) const {
    return FromHandle(api::GetWindow(m_hWnd, nCmd));
}
CWnd* CWnd::FindWindow(LPCSTR lpszClassName, LPCSTR lpszWindowName) {
    return FromHandle(api::FindWindow(lpszClassName, lpszWindowName));
}

HWND CWnd::GetSafeOwner(CWnd* pParent) {
    HWND hWnd = pParent != nullptr ? pParent->m_hWnd : api::GetActiveWindow();
    // A pop-up window cannot be owned by a child window.
    while (hWnd != nullptr && (api::GetWindowLongPtr(hWnd, GWL_STYLE) & WS_CHILD) != 0) {
        hWnd = api::GetParent(hWnd);
    }
    return hWnd;
}

// --- Dialog items -------------------------------------------------------------

void CWnd::SetDlgItemText(int nID, const char* lpszString) {
    HWND hWndItem = api::GetDlgItem(m_hWnd, nID);
    if (hWndItem != nullptr) {
        api::SetWindowText(hWndItem, lpszString != nullptr ? lpszString : "");
    }
}

std::string CWnd::GetDlgItemText(int nID) const {
    return WindowText(api::GetDlgItem(m_hWnd, nID));
}

int CWnd::GetDlgItemText(int nID, std::string& text) const {
    text = GetDlgItemText(nID);
    return static_cast<int>(text.size());
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) {
    char text[16];
    if (bSigned) {
        std::snprintf(text, sizeof(text), "%d", static_cast<int>(nValue));
    } else {
        std::snprintf(text, sizeof(text), "%u", nValue);
    }
    SetDlgItemText(nID, text);
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) {
    SendDlgItemMessage(nIDButton, BM_SETCHECK, nCheck, 0);
}

UINT CWnd::IsDlgButtonChecked(int nIDButton) const {
    return static_cast<UINT>(SendDlgItemMessage(nIDButton, BM_GETCHECK, 0, 0));
}

void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id) {
        CheckDlgButton(id, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED);
    }
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const {
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id) {
        if (IsDlgButtonChecked(id) != BST_UNCHECKED) {
            return id;
        }
    }
    return 0;
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) const {
    HWND hWndItem = api::GetDlgItem(m_hWnd, nID);
    return hWndItem != nullptr ? api::SendMessage(hWndItem, message, wParam, lParam) : 0;
}

// --- Messages, painting, timers, message boxes ------------------------------------

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return api::SendMessage(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return api::PostMessage(m_hWnd, message, wParam, lParam);
}

void CWnd::Invalidate(BOOL bErase) {
    api::InvalidateRect(m_hWnd, nullptr, bErase);
}
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
    api::InvalidateRect(m_hWnd, lpRect, bErase);
}
void CWnd::UpdateWindow() {
    api::UpdateWindow(m_hWnd);
}
BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, HRGN hrgnUpdate, UINT flags) {
    return api::RedrawWindow(m_hWnd, lpRectUpdate, hrgnUpdate, flags);
}

void CWnd::SetRedraw(BOOL bRedraw) {
    SendMessage(WM_SETREDRAW, static_cast<WPARAM>(bRedraw));
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont != nullptr ? pFont->m_hObject : nullptr),
                bRedraw);
}

CFont* CWnd::GetFont() const {
    auto hFont = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT, 0, 0));
    if (hFont == nullptr) {
        return nullptr;
    }
    if (m_pFontView == nullptr) {
        m_pFontView = std::make_unique<CGdiView<CFont>>(hFont);
    }
    m_pFontView->m_hObject = hFont;
    return m_pFontView.get();
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    return api::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}
BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    return api::KillTimer(m_hWnd, nIDEvent);
}

int CWnd::MessageBox(const std::string& text, const char* lpszCaption, UINT nType) const {
    return api::MessageBox(m_hWnd, text.c_str(),
                           lpszCaption != nullptr ? lpszCaption : AfxGetAppName(), nType);
}

// --- Message processing ----------------------------------------------------------

LRESULT CALLBACK CWnd::AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd == nullptr) {
        return api::DefWindowProc(hWnd, message, wParam, lParam);
    }
    return AfxCallWndProc(pWnd, hWnd, message, wParam, lParam);
}

LRESULT CWnd::AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageFrame frame{hWnd, message, wParam, lParam, s_pCurrentMessage};
    s_pCurrentMessage = &frame;
    LRESULT result = 0;
    try {
        result = pWnd->WindowProc(message, wParam, lParam);
    } catch (const std::exception& e) {
        ReportUnhandled(hWnd, message, e.what());
    } catch (...) {
        ReportUnhandled(hWnd, message, "unknown exception");
    }
    s_pCurrentMessage = frame.previous;
    if (message == WM_NCDESTROY && pWnd->m_hWnd == hWnd) {
        pWnd->OnNcDestroyed();
    }
    return result;
}

void CWnd::OnNcDestroyed() {
    if (m_pfnSuper != nullptr &&
        reinterpret_cast<WNDPROC>(api::GetWindowLongPtr(m_hWnd, GWLP_WNDPROC)) == &AfxWndProc) {
        api::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    m_pfnSuper = nullptr;
    m_bCreatedHere = false;
    Detach();
    try {
        PostNcDestroy();
    } catch (const std::exception& e) {
        ReportUnhandled(nullptr, WM_NCDESTROY, e.what());
    } catch (...) {
        ReportUnhandled(nullptr, WM_NCDESTROY, "unknown exception");
    }
}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT result = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) {
            return FALSE;
        }
        result = 1;
    } else if (message == WM_NOTIFY) {
        if (!OnNotify(wParam, lParam, &result)) {
            return FALSE;
        }
    } else {
        const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(GetMessageMap(), message, 0, 0);
        if (entry == nullptr) {
            return FALSE;
        }
        result = entry->pfn(this, message, wParam, lParam);
    }
    if (pResult != nullptr) {
        *pResult = result;
    }
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const AFX_MSGMAP_ENTRY* entry =
        FindMessageEntry(GetMessageMap(), WM_COMMAND, HIWORD(wParam), LOWORD(wParam));
    if (entry == nullptr) {
        return FALSE;
    }
    entry->pfn(this, WM_COMMAND, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header == nullptr) {
        return FALSE;
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(GetMessageMap(), WM_NOTIFY, header->code,
                                                     static_cast<UINT>(header->idFrom));
    if (entry == nullptr) {
        return FALSE;
    }
    LRESULT result = entry->pfn(this, WM_NOTIFY, wParam, lParam);
    if (pResult != nullptr) {
        *pResult = result;
    }
    return TRUE;
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr) {
        return api::CallWindowProc(m_pfnSuper, m_hWnd, message, wParam, lParam);
    }
    return api::DefWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    for (const MessageFrame* frame = s_pCurrentMessage; frame != nullptr; frame = frame->previous) {
        if (frame->hWnd == m_hWnd) {
            return DefWindowProc(frame->message, frame->wParam, frame->lParam);
        }
    }
    return 0;
}

void CWnd::DoDataExchange(CDataExchange*) {}

// --- Base handlers -----------------------------------------------------------------

void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (lpDrawItemStruct != nullptr && lpDrawItemStruct->CtlType != ODT_MENU) {
        if (CWnd* pChild = FromHandlePermanent(lpDrawItemStruct->hwndItem)) {
            LRESULT result = 0;
            if (pChild->OnChildNotify(WM_DRAWITEM, static_cast<WPARAM>(nIDCtl),
                                      reinterpret_cast<LPARAM>(lpDrawItemStruct), &result)) {
                return;
            }
        }
    }
    Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    if (lpMeasureItemStruct != nullptr && lpMeasureItemStruct->CtlType != ODT_MENU) {
        HWND hWndItem = api::GetDlgItem(m_hWnd, static_cast<int>(lpMeasureItemStruct->CtlID));
        if (CWnd* pChild = FromHandlePermanent(hWndItem)) {
            LRESULT result = 0;
            if (pChild->OnChildNotify(WM_MEASUREITEM, static_cast<WPARAM>(nIDCtl),
                                      reinterpret_cast<LPARAM>(lpMeasureItemStruct), &result)) {
                return;
            }
        }
    }
    Default();
}

}  // namespace fw
