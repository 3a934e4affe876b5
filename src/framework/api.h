// The platform calls the framework is built on: a subset of user32, gdi32,
// comctl32, comdlg32 and shell32, with the Win32 signatures and semantics
// (narrow-character versions). The Windows backend forwards each one to the
// system; the headless backend implements them on in-memory windows.
//
// Only src/framework uses these directly; the module goes through the
// framework's classes (CWnd, CDialog, CPropertySheet, CDC...).
//
// Semantics the headless backend must reproduce are those of Windows, as the
// module can observe them; where a function runs a modal loop (DialogBox,
// MessageBox, ChooseColor, the file dialogs, PropertySheet) it returns only
// when the window has ended, with the result a person's actions produced.
#ifndef SETUP_FRAMEWORK_API_H
#define SETUP_FRAMEWORK_API_H

#include "framework/winapi.h"

namespace fw::api {

// --- Messages --------------------------------------------------------------
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// --- Windows ---------------------------------------------------------------
HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                    LPVOID param);
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
HWND FindWindow(LPCSTR className, LPCSTR windowName);
int GetClassName(HWND hwnd, LPSTR buffer, int size);

BOOL SetWindowText(HWND hwnd, LPCSTR text);
int GetWindowText(HWND hwnd, LPSTR buffer, int size);
int GetWindowTextLength(HWND hwnd);

BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);
BOOL ShowWindow(HWND hwnd, int cmdShow);
BOOL IsWindowVisible(HWND hwnd);

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL GetWindowRect(HWND hwnd, LPRECT rect);
BOOL GetClientRect(HWND hwnd, LPRECT rect);
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);
BOOL ScreenToClient(HWND hwnd, LPPOINT point);
BOOL ClientToScreen(HWND hwnd, LPPOINT point);
BOOL MapDialogRect(HWND dialog, LPRECT rect);

HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND hwnd);
HWND GetParent(HWND hwnd);
HWND GetWindow(HWND hwnd, UINT cmd);  // GW_CHILD, GW_HWNDNEXT, GW_OWNER
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND GetActiveWindow();

LONG_PTR GetWindowLongPtr(HWND hwnd, int index);  // GWL_STYLE, GWL_EXSTYLE, GWLP_WNDPROC...
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
BOOL SetProp(HWND hwnd, LPCSTR name, HANDLE data);
HANDLE GetProp(HWND hwnd, LPCSTR name);
HANDLE RemoveProp(HWND hwnd, LPCSTR name);

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND hwnd);
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name);
HCURSOR SetCursor(HCURSOR cursor);

DWORD GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);

// --- Dialogs ---------------------------------------------------------------
// Runs a modal dialog from an in-memory template; returns the EndDialog result.
INT_PTR DialogBoxIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent,
                               DLGPROC proc, LPARAM param);
HWND CreateDialogIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent,
                               DLGPROC proc, LPARAM param);
BOOL EndDialog(HWND dialog, INT_PTR result);
int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// Runs a property sheet modally. Its window is created modeless and run in
// the backend's own loop, so the sheet ends only through EndDialog(sheet, r)
// (the result r) or through Cancel and the close box (IDCANCEL).
INT_PTR PropertySheet(LPCPROPSHEETHEADER header);

BOOL ChooseColor(LPCHOOSECOLOR choose);
BOOL GetOpenFileName(LPOPENFILENAME ofn);
BOOL GetSaveFileName(LPOPENFILENAME ofn);

HINSTANCE ShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                       INT showCmd);

// --- GDI -------------------------------------------------------------------
HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
int GetDeviceCaps(HDC dc, int index);

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
HGDIOBJ GetStockObject(int index);
int GetObject(HGDIOBJ object, int size, LPVOID buffer);
HBRUSH CreateSolidBrush(COLORREF color);
HFONT CreateFontIndirect(const LOGFONT* logFont);

int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
int DrawText(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format);
BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int length);
BOOL GetTextExtentPoint32(HDC dc, LPCSTR text, int length, LPSIZE size);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
UINT SetTextAlign(HDC dc, UINT align);
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous);
COLORREF GetPixel(HDC dc, int x, int y);

// --- Text ------------------------------------------------------------------
// CSTR_LESS_THAN, CSTR_EQUAL or CSTR_GREATER_THAN (0 on failure); a length of
// -1 means up to the NUL. The headless backend compares as its sorted lists
// do, ignoring case (NORM_IGNORECASE is the one flag it knows).
int CompareString(LCID locale, DWORD flags, LPCSTR a, int lengthA, LPCSTR b, int lengthB);

// --- Module ----------------------------------------------------------------
// The instance handle of the library that contains the framework (never the
// host's): its resources are the dialogs' templates.
HINSTANCE ModuleInstance();

}  // namespace fw::api

#endif
