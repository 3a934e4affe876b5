// CWnd: a window handle with the operations the module performs on windows,
// and the framework's window procedure that routes messages through the
// message maps of the object attached to a window.
//
// Classes in this file:
//   CWnd          a window; attached (in the handle map, receiving its
//                 messages) or merely a view of a handle
//   CWndView<T>   a T that only wraps a handle for the length of a call
//
// Attaching. A CWnd is attached to a window when it created the window
// (CreateEx), subclassed it (SubclassWindow, SubclassDlgItem, DDX_Control)
// or is the dialog, page or sheet that the window belongs to. An attached
// object is found from the handle (FromHandlePermanent), receives the window's
// messages through its message map and is detached when the window is
// destroyed (WM_NCDESTROY), after which PostNcDestroy runs. Messages that no
// map entry handles go to Default(): the window procedure that was there
// before the framework's.
//
// FromHandle gives the attached object or a temporary one that only wraps
// the handle (GetDlgItem, GetParent...). Temporary objects stay valid as long
// as their window exists. Cast a temporary CWnd* only to CWnd: a control
// class object comes from DDX_Control or SubclassDlgItem on a member.
//
// Nothing that a handler throws leaves the window procedure: the dispatcher
// catches it, reports it (SetUnhandledExceptionReporter) and answers 0.
#ifndef SETUP_FRAMEWORK_WND_H
#define SETUP_FRAMEWORK_WND_H

#include <functional>
#include <memory>
#include <string>

#include "framework/windows/geometry.h"
#include "framework/windows/msgmap.h"
#include "framework/windows/object.h"
#include "framework/winapi.h"

namespace fw {

class CFont;
class CDataExchange;

class CWnd : public CObject {
    DECLARE_DYNAMIC(CWnd)
public:
    HWND m_hWnd = nullptr;

    CWnd();
    ~CWnd() override;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // --- Handle map ------------------------------------------------------
    // The attached object of the window, or a temporary one; nullptr for NULL.
    static CWnd* FromHandle(HWND hWnd);
    // The attached object of the window, or nullptr.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Attaches the object to an existing window without taking its messages.
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    // Attaches the object and routes the window's messages through it
    // (GWLP_WNDPROC); the previous procedure does the default handling.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();
    // Runs when the object is attached by subclassing, before the window
    // procedure is replaced.
    virtual void PreSubclassWindow();

    // --- Creation and destruction -----------------------------------------
    // Creates a window of a registered class and attaches the object to it.
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, const std::string& windowName,
                  DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL DestroyWindow();

    // --- Text --------------------------------------------------------------
    void SetWindowText(const char* lpszString);  // WM_SETTEXT
    void SetWindowText(const std::string& text) { SetWindowText(text.c_str()); }
    std::string GetWindowText() const;  // WM_GETTEXT
    int GetWindowText(std::string& text) const;

    // --- State, position, focus ------------------------------------------------
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsWindow() const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pWndTo, LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pWndTo, LPPOINT lpPoint, UINT nCount) const;
    void MapDialogRect(LPRECT lpRect) const;
    CWnd* SetFocus();
    static CWnd* GetFocus();

    // --- Styles ------------------------------------------------------------------
    DWORD GetStyle() const;
    // Removes and adds style bits; with nFlags, also SetWindowPos with them
    // (SWP_FRAMECHANGED to redraw the frame). FALSE when nothing changed.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    // --- Relatives ---------------------------------------------------------------
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    CWnd* GetWindow(UINT nCmd) const;  // GW_CHILD, GW_HWNDNEXT, GW_OWNER
    // The first top-level window with this class and title (either may be nullptr).
    static CWnd* FindWindow(LPCSTR lpszClassName, LPCSTR lpszWindowName);

    // --- Dialog items --------------------------------------------------------------
    void SetDlgItemText(int nID, const char* lpszString);
    void SetDlgItemText(int nID, const std::string& text) { SetDlgItemText(nID, text.c_str()); }
    std::string GetDlgItemText(int nID) const;
    int GetDlgItemText(int nID, std::string& text) const;
    // The decimal text of nValue (signed or unsigned).
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    // The item's text read as a decimal number; *lpTrans FALSE (and 0) when it
    // is not one or does not fit.
    void CheckDlgButton(int nIDButton, UINT nCheck);  // BM_SETCHECK
    UINT IsDlgButtonChecked(int nIDButton) const;     // BM_GETCHECK
    // Checks nIDCheckButton and unchecks the other buttons of the range.
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    // The first checked button of the range, or 0.
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const;
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // --- Messages ---------------------------------------------------------------------
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // --- Painting, font -------------------------------------------------------------
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, HRGN hrgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    // WM_SETREDRAW: with FALSE the window is not redrawn while it changes
    // (a list being filled); after TRUE it repaints once it is invalidated.
    void SetRedraw(BOOL bRedraw = TRUE);
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);  // WM_SETFONT
    // The window's font (WM_GETFONT) as an object that does not own it, valid
    // until the next GetFont on this object; nullptr for the system font.
    CFont* GetFont() const;

    // --- Timers -------------------------------------------------------------------------
    // WM_TIMER arrives at OnTimer (ON_WM_TIMER) unless a TIMERPROC is given.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // --- Message boxes ----------------------------------------------------------------
    // A message box owned by this window; the caption defaults to the
    // application's name (AfxGetAppName).
    int MessageBox(const std::string& text, const char* lpszCaption = nullptr,
                   UINT nType = MB_OK) const;

    // --- Data exchange --------------------------------------------------------------
    // Runs DoDataExchange: TRUE reads and validates the controls into the
    // members, FALSE puts the members into the controls (and binds controls).
    // Returns FALSE when a validation failed; the operator has been told.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // --- Message processing -----------------------------------------------------------
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The message map's answer; FALSE when no entry handled the message.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A parent's owner-draw message for this control (WM_DRAWITEM,
    // WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM); TRUE when handled.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The previous window procedure, or the platform's default one.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default handling of the message being dispatched to this window.
    LRESULT Default();

    // A top-level owner for a modal window: pParent (or, without one, the
    // active window), climbing from child windows to their top-level parent.
    static HWND GetSafeOwner(CWnd* pParent);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // Runs after the window was destroyed and the object detached.
    virtual void PostNcDestroy();

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Base handlers: the platform's default handling.
    void OnTimer(UINT_PTR nIDEvent);
    void OnLButtonDown(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnDestroy();
    // Routes the request to the control's own object (OnChildNotify), else default.
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);

    // The framework's window procedure and its dispatcher (used by the
    // dialog, page and sheet classes for the messages they receive first).
    static LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam,
                                  LPARAM lParam);

    WNDPROC m_pfnSuper = nullptr;  // the procedure the framework's replaced
    bool m_bCreatedHere = false;   // CreateEx made the window: destroy it with the object

private:
    void OnNcDestroyed();

    bool m_bAttached = false;  // in the handle map under m_hWnd
    mutable std::unique_ptr<CFont> m_pFontView;
};

// A T that wraps a handle for the length of one call and is never attached:
// the scroll bar of OnHScroll, a tab control asked of a sheet.
template <class T>
class CWndView : public T {
public:
    explicit CWndView(HWND hWnd) { this->m_hWnd = hWnd; }
    ~CWndView() override { this->m_hWnd = nullptr; }
};

// The text of a window (WM_GETTEXTLENGTH, then WM_GETTEXT); empty for NULL.
std::string WindowText(HWND hWnd);

// What the dispatcher does with an exception that a handler let escape. By
// default the operator is told, as the application framework the module was
// designed on tells the user: the description goes to the standard error
// stream and into a message box (OK, stop icon) whose text starts with
// kInternalFailureText, owned by the failing window's top-level window. A
// top-level window shows one such box at most: a handler that fails once
// (a painting one) tends to fail again as soon as the box is gone. A
// reporter set here replaces all of that (the tests fail the running test).
using UnhandledExceptionReporter = std::function<void(const std::string& description)>;
void SetUnhandledExceptionReporter(UnhandledExceptionReporter reporter);
// Hands a description to the reporter (the framework's callbacks use it);
// window is the one whose handler failed, when there is one.
void ReportUnhandledException(const std::string& description, HWND window = nullptr);
extern const char kInternalFailureText[];

}  // namespace fw

#endif
