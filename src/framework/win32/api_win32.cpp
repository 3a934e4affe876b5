// The Windows backend of fw::api: each function forwards to user32, gdi32,
// comctl32, comdlg32 or shell32. Two things are the backend's own:
//  - PropertySheet runs the sheet modeless inside a modal loop of ours, so
//    that the sheet ends when the module says so (EndDialog with its result)
//    rather than when comctl32 decides;
//  - ModuleInstance is the module this code is linked into (Setup.dll in the
//    product), so dialogs come from the library's own resources.
//
// The platform headers map the unsuffixed names to the narrow functions
// (SendMessage -> SendMessageA); api.h is declared through the same macros,
// so fw::api::SendMessage here is fw::api::SendMessageA, forwarding to
// ::SendMessageA.
#include <vector>

#include "framework/api.h"

namespace fw::api {

namespace {

// Common controls (the sheet's tab control, the classes of comctl32) must be
// registered once per process before the first dialog or window needs them.
void EnsureCommonControls() {
    static const bool s_registered = [] {
        ::InitCommonControls();
        return true;
    }();
    (void)s_registered;
}

// A property sheet running in PropertySheet's loop. The loops nest (a sheet
// may open a dialog that opens a sheet), so each loop owns its entry and the
// list holds the running ones, newest last.
struct RunningSheet {
    HWND hwnd;
    HWND owner;  // disabled by the loop, or NULL
    bool ended;
    INT_PTR result;
};

// Gives the owner its input back; once per sheet.
void ReleaseOwner(RunningSheet& sheet) {
    if (sheet.owner != NULL) {
        ::EnableWindow(sheet.owner, TRUE);
        sheet.owner = NULL;
    }
}

std::vector<RunningSheet*>& RunningSheets() {
    static std::vector<RunningSheet*> s_sheets;
    return s_sheets;
}

RunningSheet* FindRunningSheet(HWND hwnd) {
    for (RunningSheet* sheet : RunningSheets()) {
        if (sheet->hwnd == hwnd) {
            return sheet;
        }
    }
    return nullptr;
}

// Registers a sheet with the list for the duration of its loop.
class SheetRegistration {
public:
    explicit SheetRegistration(RunningSheet* sheet) : m_sheet(sheet) {
        RunningSheets().push_back(sheet);
    }
    ~SheetRegistration() {
        std::vector<RunningSheet*>& sheets = RunningSheets();
        for (auto it = sheets.begin(); it != sheets.end(); ++it) {
            if (*it == m_sheet) {
                sheets.erase(it);
                break;
            }
        }
    }
    SheetRegistration(const SheetRegistration&) = delete;
    SheetRegistration& operator=(const SheetRegistration&) = delete;

private:
    RunningSheet* m_sheet;
};

// The sheet's modal loop: runs until EndDialog was called for the sheet, or
// comctl32 closed it (Cancel, Escape, the close box, its own OK handling:
// then it has no current page any more), or the window went away.
INT_PTR RunSheetLoop(RunningSheet& sheet) {
    MSG msg;
    for (;;) {
        if (sheet.ended) {
            return sheet.result;
        }
        if (!::IsWindow(sheet.hwnd) || PropSheet_GetCurrentPageHwnd(sheet.hwnd) == NULL) {
            return IDCANCEL;
        }
        const BOOL got = ::GetMessageA(&msg, NULL, 0, 0);
        if (got == 0 || got == -1) {
            // WM_QUIT belongs to the thread's outer loop: leave it there.
            if (got == 0) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
            }
            return sheet.ended ? sheet.result : IDCANCEL;
        }
        if (!PropSheet_IsDialogMessage(sheet.hwnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

}  // namespace

// --- Messages --------------------------------------------------------------
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::SendMessage(hwnd, msg, wParam, lParam);
}

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::PostMessage(hwnd, msg, wParam, lParam);
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProc(proc, hwnd, msg, wParam, lParam);
}

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProc(hwnd, msg, wParam, lParam);
}

// --- Windows ---------------------------------------------------------------
HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                    LPVOID param) {
    EnsureCommonControls();
    return ::CreateWindowEx(exStyle, className, windowName, style, x, y, width, height, parent,
                            menuOrId, instance, param);
}

BOOL DestroyWindow(HWND hwnd) {
    return ::DestroyWindow(hwnd);
}
BOOL IsWindow(HWND hwnd) {
    return ::IsWindow(hwnd);
}

HWND FindWindow(LPCSTR className, LPCSTR windowName) {
    return ::FindWindow(className, windowName);
}

int GetClassName(HWND hwnd, LPSTR buffer, int size) {
    return ::GetClassName(hwnd, buffer, size);
}

BOOL SetWindowText(HWND hwnd, LPCSTR text) {
    return ::SetWindowText(hwnd, text);
}

int GetWindowText(HWND hwnd, LPSTR buffer, int size) {
    return ::GetWindowText(hwnd, buffer, size);
}

int GetWindowTextLength(HWND hwnd) {
    return ::GetWindowTextLength(hwnd);
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    return ::EnableWindow(hwnd, enable);
}
BOOL IsWindowEnabled(HWND hwnd) {
    return ::IsWindowEnabled(hwnd);
}
BOOL ShowWindow(HWND hwnd, int cmdShow) {
    return ::ShowWindow(hwnd, cmdShow);
}
BOOL IsWindowVisible(HWND hwnd) {
    return ::IsWindowVisible(hwnd);
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return ::MoveWindow(hwnd, x, y, width, height, repaint);
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(hwnd, insertAfter, x, y, cx, cy, flags);
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    return ::GetWindowRect(hwnd, rect);
}
BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    return ::GetClientRect(hwnd, rect);
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    return ::MapWindowPoints(from, to, points, count);
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
    return ::ScreenToClient(hwnd, point);
}
BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
    return ::ClientToScreen(hwnd, point);
}
BOOL MapDialogRect(HWND dialog, LPRECT rect) {
    return ::MapDialogRect(dialog, rect);
}

HWND GetDlgItem(HWND dialog, int id) {
    return ::GetDlgItem(dialog, id);
}
int GetDlgCtrlID(HWND hwnd) {
    return ::GetDlgCtrlID(hwnd);
}
HWND GetParent(HWND hwnd) {
    return ::GetParent(hwnd);
}
HWND GetWindow(HWND hwnd, UINT cmd) {
    return ::GetWindow(hwnd, cmd);
}
HWND SetFocus(HWND hwnd) {
    return ::SetFocus(hwnd);
}
HWND GetFocus() {
    return ::GetFocus();
}
HWND GetActiveWindow() {
    return ::GetActiveWindow();
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
    return ::GetWindowLongPtr(hwnd, index);
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
    return ::SetWindowLongPtr(hwnd, index, value);
}

BOOL SetProp(HWND hwnd, LPCSTR name, HANDLE data) {
    return ::SetProp(hwnd, name, data);
}
HANDLE GetProp(HWND hwnd, LPCSTR name) {
    return ::GetProp(hwnd, name);
}
HANDLE RemoveProp(HWND hwnd, LPCSTR name) {
    return ::RemoveProp(hwnd, name);
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    return ::InvalidateRect(hwnd, rect, erase);
}

BOOL UpdateWindow(HWND hwnd) {
    return ::UpdateWindow(hwnd);
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags) {
    return ::RedrawWindow(hwnd, rect, region, flags);
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    return ::SetTimer(hwnd, id, elapse, proc);
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    return ::KillTimer(hwnd, id);
}

HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name) {
    return ::LoadCursor(instance, name);
}
HCURSOR SetCursor(HCURSOR cursor) {
    return ::SetCursor(cursor);
}

DWORD GetSysColor(int index) {
    return ::GetSysColor(index);
}
HBRUSH GetSysColorBrush(int index) {
    return ::GetSysColorBrush(index);
}

// --- Dialogs ---------------------------------------------------------------
INT_PTR DialogBoxIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent,
                               DLGPROC proc, LPARAM param) {
    EnsureCommonControls();
    return ::DialogBoxIndirectParam(instance, dialogTemplate, parent, proc, param);
}

HWND CreateDialogIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent,
                               DLGPROC proc, LPARAM param) {
    EnsureCommonControls();
    return ::CreateDialogIndirectParam(instance, dialogTemplate, parent, proc, param);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    if (RunningSheet* sheet = FindRunningSheet(dialog)) {
        // A modeless sheet is not a dialog box to user32: its loop is ours.
        // As EndDialog does for a dialog, the owner gets its input back and
        // the window is hidden at once; it is destroyed when the loop
        // returns. Wake the loop in case the call came from outside a message.
        if (!sheet->ended) {
            sheet->ended = true;
            sheet->result = result;
            ReleaseOwner(*sheet);
            ::SetWindowPos(
                dialog, NULL, 0, 0, 0, 0,
                SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            ::PostMessage(dialog, WM_NULL, 0, 0);
        }
        return TRUE;
    }
    return ::EndDialog(dialog, result);
}

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    return ::MessageBox(owner, text, caption, type);
}

INT_PTR PropertySheet(LPCPROPSHEETHEADER header) {
    EnsureCommonControls();
    if (header == nullptr) {
        return -1;
    }
    PROPSHEETHEADERA modeless = *header;
    modeless.dwFlags |= PSH_MODELESS;

    // As a modal sheet does: the owner takes no input while the sheet runs.
    HWND owner = modeless.hwndParent;
    if (owner != NULL && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
    } else {
        owner = NULL;
    }
    RunningSheet sheet{NULL, owner, false, IDCANCEL};

    INT_PTR result = -1;
    HWND hwnd = reinterpret_cast<HWND>(::PropertySheet(&modeless));
    if (hwnd != NULL && hwnd != reinterpret_cast<HWND>(-1)) {
        sheet.hwnd = hwnd;
        {
            SheetRegistration registration(&sheet);
            result = RunSheetLoop(sheet);
        }
        // The owner first, so that activation returns to it.
        ReleaseOwner(sheet);
        if (::IsWindow(hwnd)) {
            ::DestroyWindow(hwnd);
        }
    }
    ReleaseOwner(sheet);
    return result;
}

BOOL ChooseColor(LPCHOOSECOLOR choose) {
    return ::ChooseColor(choose);
}
BOOL GetOpenFileName(LPOPENFILENAME ofn) {
    return ::GetOpenFileName(ofn);
}
BOOL GetSaveFileName(LPOPENFILENAME ofn) {
    return ::GetSaveFileName(ofn);
}

HINSTANCE ShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                       INT showCmd) {
    return ::ShellExecute(owner, verb, file, parameters, directory, showCmd);
}

// --- GDI -------------------------------------------------------------------
HDC GetDC(HWND hwnd) {
    return ::GetDC(hwnd);
}
int ReleaseDC(HWND hwnd, HDC dc) {
    return ::ReleaseDC(hwnd, dc);
}
HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
    return ::BeginPaint(hwnd, paint);
}
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
    return ::EndPaint(hwnd, paint);
}
HDC CreateCompatibleDC(HDC dc) {
    return ::CreateCompatibleDC(dc);
}
BOOL DeleteDC(HDC dc) {
    return ::DeleteDC(dc);
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    return ::CreateCompatibleBitmap(dc, width, height);
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
    return ::BitBlt(dest, x, y, width, height, src, srcX, srcY, rop);
}

int GetDeviceCaps(HDC dc, int index) {
    return ::GetDeviceCaps(dc, index);
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    return ::SelectObject(dc, object);
}
BOOL DeleteObject(HGDIOBJ object) {
    return ::DeleteObject(object);
}
HGDIOBJ GetStockObject(int index) {
    return ::GetStockObject(index);
}

int GetObject(HGDIOBJ object, int size, LPVOID buffer) {
    return ::GetObject(object, size, buffer);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    return ::CreateSolidBrush(color);
}
HFONT CreateFontIndirect(const LOGFONT* logFont) {
    return ::CreateFontIndirect(logFont);
}
int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    return ::FillRect(dc, rect, brush);
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    return ::Rectangle(dc, left, top, right, bottom);
}

int DrawText(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format) {
    return ::DrawText(dc, text, length, rect, format);
}

BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int length) {
    return ::TextOut(dc, x, y, text, length);
}

BOOL GetTextExtentPoint32(HDC dc, LPCSTR text, int length, LPSIZE size) {
    return ::GetTextExtentPoint32(dc, text, length, size);
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    return ::SetTextColor(dc, color);
}
COLORREF GetTextColor(HDC dc) {
    return ::GetTextColor(dc);
}
COLORREF SetBkColor(HDC dc, COLORREF color) {
    return ::SetBkColor(dc, color);
}
COLORREF GetBkColor(HDC dc) {
    return ::GetBkColor(dc);
}
int SetBkMode(HDC dc, int mode) {
    return ::SetBkMode(dc, mode);
}
UINT SetTextAlign(HDC dc, UINT align) {
    return ::SetTextAlign(dc, align);
}

BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return ::SetViewportOrgEx(dc, x, y, previous);
}

COLORREF GetPixel(HDC dc, int x, int y) {
    return ::GetPixel(dc, x, y);
}

// --- Text ------------------------------------------------------------------
int CompareString(LCID locale, DWORD flags, LPCSTR a, int lengthA, LPCSTR b, int lengthB) {
    return ::CompareStringA(locale, flags, a, lengthA, b, lengthB);
}

// --- Module ----------------------------------------------------------------
HINSTANCE ModuleInstance() {
    static const HINSTANCE s_instance = [] {
        HMODULE module = NULL;
        ::GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(&EnsureCommonControls), &module);
        return static_cast<HINSTANCE>(module);
    }();
    return s_instance;
}

}  // namespace fw::api
