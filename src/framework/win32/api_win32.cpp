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

// Defines fw::api::name as the platform's function of the same name.
#define FW_FORWARD(result, name, params, args) \
    result name params {                       \
        return ::name args;                    \
    }

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
FW_FORWARD(LRESULT, SendMessage, (HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam),
           (hwnd, msg, wParam, lParam))

FW_FORWARD(BOOL, PostMessage, (HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam),
           (hwnd, msg, wParam, lParam))

FW_FORWARD(LRESULT, CallWindowProc,
           (WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam),
           (proc, hwnd, msg, wParam, lParam))

FW_FORWARD(LRESULT, DefWindowProc, (HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam),
           (hwnd, msg, wParam, lParam))

// --- Windows ---------------------------------------------------------------
HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                    LPVOID param) {
    EnsureCommonControls();
    return ::CreateWindowEx(exStyle, className, windowName, style, x, y, width, height, parent,
                            menuOrId, instance, param);
}

FW_FORWARD(BOOL, DestroyWindow, (HWND hwnd), (hwnd))
FW_FORWARD(BOOL, IsWindow, (HWND hwnd), (hwnd))
FW_FORWARD(HWND, FindWindow, (LPCSTR className, LPCSTR windowName), (className, windowName))
FW_FORWARD(int, GetClassName, (HWND hwnd, LPSTR buffer, int size), (hwnd, buffer, size))
FW_FORWARD(BOOL, SetWindowText, (HWND hwnd, LPCSTR text), (hwnd, text))
FW_FORWARD(int, GetWindowText, (HWND hwnd, LPSTR buffer, int size), (hwnd, buffer, size))
FW_FORWARD(int, GetWindowTextLength, (HWND hwnd), (hwnd))
FW_FORWARD(BOOL, EnableWindow, (HWND hwnd, BOOL enable), (hwnd, enable))
FW_FORWARD(BOOL, IsWindowEnabled, (HWND hwnd), (hwnd))
FW_FORWARD(BOOL, ShowWindow, (HWND hwnd, int cmdShow), (hwnd, cmdShow))
FW_FORWARD(BOOL, IsWindowVisible, (HWND hwnd), (hwnd))
FW_FORWARD(BOOL, MoveWindow, (HWND hwnd, int x, int y, int width, int height, BOOL repaint),
           (hwnd, x, y, width, height, repaint))

FW_FORWARD(BOOL, SetWindowPos,
           (HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags),
           (hwnd, insertAfter, x, y, cx, cy, flags))

FW_FORWARD(BOOL, GetWindowRect, (HWND hwnd, LPRECT rect), (hwnd, rect))
FW_FORWARD(BOOL, GetClientRect, (HWND hwnd, LPRECT rect), (hwnd, rect))
FW_FORWARD(int, MapWindowPoints, (HWND from, HWND to, LPPOINT points, UINT count),
           (from, to, points, count))
FW_FORWARD(BOOL, ScreenToClient, (HWND hwnd, LPPOINT point), (hwnd, point))
FW_FORWARD(BOOL, ClientToScreen, (HWND hwnd, LPPOINT point), (hwnd, point))
FW_FORWARD(BOOL, MapDialogRect, (HWND dialog, LPRECT rect), (dialog, rect))
FW_FORWARD(HWND, GetDlgItem, (HWND dialog, int id), (dialog, id))
FW_FORWARD(int, GetDlgCtrlID, (HWND hwnd), (hwnd))
FW_FORWARD(HWND, GetParent, (HWND hwnd), (hwnd))
FW_FORWARD(HWND, GetWindow, (HWND hwnd, UINT cmd), (hwnd, cmd))
FW_FORWARD(HWND, SetFocus, (HWND hwnd), (hwnd))
FW_FORWARD(HWND, GetFocus, (), ())
FW_FORWARD(HWND, GetActiveWindow, (), ())
FW_FORWARD(LONG_PTR, GetWindowLongPtr, (HWND hwnd, int index), (hwnd, index))
FW_FORWARD(LONG_PTR, SetWindowLongPtr, (HWND hwnd, int index, LONG_PTR value), (hwnd, index, value))
FW_FORWARD(BOOL, SetProp, (HWND hwnd, LPCSTR name, HANDLE data), (hwnd, name, data))
FW_FORWARD(HANDLE, GetProp, (HWND hwnd, LPCSTR name), (hwnd, name))
FW_FORWARD(HANDLE, RemoveProp, (HWND hwnd, LPCSTR name), (hwnd, name))
FW_FORWARD(BOOL, InvalidateRect, (HWND hwnd, const RECT* rect, BOOL erase), (hwnd, rect, erase))
FW_FORWARD(BOOL, UpdateWindow, (HWND hwnd), (hwnd))
FW_FORWARD(BOOL, RedrawWindow, (HWND hwnd, const RECT* rect, HRGN region, UINT flags),
           (hwnd, rect, region, flags))

FW_FORWARD(UINT_PTR, SetTimer, (HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc),
           (hwnd, id, elapse, proc))

FW_FORWARD(BOOL, KillTimer, (HWND hwnd, UINT_PTR id), (hwnd, id))
FW_FORWARD(HCURSOR, LoadCursor, (HINSTANCE instance, LPCSTR name), (instance, name))
FW_FORWARD(HCURSOR, SetCursor, (HCURSOR cursor), (cursor))
FW_FORWARD(DWORD, GetSysColor, (int index), (index))
FW_FORWARD(HBRUSH, GetSysColorBrush, (int index), (index))

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

FW_FORWARD(int, MessageBox, (HWND owner, LPCSTR text, LPCSTR caption, UINT type),
           (owner, text, caption, type))

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

FW_FORWARD(BOOL, ChooseColor, (LPCHOOSECOLOR choose), (choose))
FW_FORWARD(BOOL, GetOpenFileName, (LPOPENFILENAME ofn), (ofn))
FW_FORWARD(BOOL, GetSaveFileName, (LPOPENFILENAME ofn), (ofn))
FW_FORWARD(HINSTANCE, ShellExecute,
           (HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT showCmd),
           (owner, verb, file, parameters, directory, showCmd))

// --- GDI -------------------------------------------------------------------
FW_FORWARD(HDC, GetDC, (HWND hwnd), (hwnd))
FW_FORWARD(int, ReleaseDC, (HWND hwnd, HDC dc), (hwnd, dc))
FW_FORWARD(HDC, BeginPaint, (HWND hwnd, LPPAINTSTRUCT paint), (hwnd, paint))
FW_FORWARD(BOOL, EndPaint, (HWND hwnd, const PAINTSTRUCT* paint), (hwnd, paint))
FW_FORWARD(HDC, CreateCompatibleDC, (HDC dc), (dc))
FW_FORWARD(BOOL, DeleteDC, (HDC dc), (dc))
FW_FORWARD(HBITMAP, CreateCompatibleBitmap, (HDC dc, int width, int height), (dc, width, height))
FW_FORWARD(BOOL, BitBlt,
           (HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop),
           (dest, x, y, width, height, src, srcX, srcY, rop))

FW_FORWARD(int, GetDeviceCaps, (HDC dc, int index), (dc, index))
FW_FORWARD(HGDIOBJ, SelectObject, (HDC dc, HGDIOBJ object), (dc, object))
FW_FORWARD(BOOL, DeleteObject, (HGDIOBJ object), (object))
FW_FORWARD(HGDIOBJ, GetStockObject, (int index), (index))
FW_FORWARD(int, GetObject, (HGDIOBJ object, int size, LPVOID buffer), (object, size, buffer))
FW_FORWARD(HBRUSH, CreateSolidBrush, (COLORREF color), (color))
FW_FORWARD(HFONT, CreateFontIndirect, (const LOGFONT* logFont), (logFont))
FW_FORWARD(int, FillRect, (HDC dc, const RECT* rect, HBRUSH brush), (dc, rect, brush))
FW_FORWARD(BOOL, Rectangle, (HDC dc, int left, int top, int right, int bottom),
           (dc, left, top, right, bottom))

FW_FORWARD(int, DrawText, (HDC dc, LPCSTR text, int length, LPRECT rect, UINT format),
           (dc, text, length, rect, format))
FW_FORWARD(BOOL, TextOut, (HDC dc, int x, int y, LPCSTR text, int length), (dc, x, y, text, length))
FW_FORWARD(BOOL, GetTextExtentPoint32, (HDC dc, LPCSTR text, int length, LPSIZE size),
           (dc, text, length, size))

FW_FORWARD(COLORREF, SetTextColor, (HDC dc, COLORREF color), (dc, color))
FW_FORWARD(COLORREF, GetTextColor, (HDC dc), (dc))
FW_FORWARD(COLORREF, SetBkColor, (HDC dc, COLORREF color), (dc, color))
FW_FORWARD(COLORREF, GetBkColor, (HDC dc), (dc))
FW_FORWARD(int, SetBkMode, (HDC dc, int mode), (dc, mode))
FW_FORWARD(UINT, SetTextAlign, (HDC dc, UINT align), (dc, align))
FW_FORWARD(BOOL, SetViewportOrgEx, (HDC dc, int x, int y, LPPOINT previous), (dc, x, y, previous))
FW_FORWARD(COLORREF, GetPixel, (HDC dc, int x, int y), (dc, x, y))

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

#undef FW_FORWARD

}  // namespace fw::api
