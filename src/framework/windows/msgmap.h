// Message maps: a class lists the messages it handles, one line each, and the
// framework routes them to its handlers. A map is a static table of entries
// chained to the base class's map; a lookup walks from the most derived map
// to CWnd's, and the first matching entry wins, so a derived class overrides
// an entry of its base by listing the same message.
//
// In a class declaration:      DECLARE_MESSAGE_MAP()
// In its source file:          BEGIN_MESSAGE_MAP(CModePage, fw::CPropertyPage)
//                                  ON_BN_CLICKED(IDC_UNAUTO_CHECK, OnUnAutoCheck)
//                                  ON_WM_HSCROLL()
//                              END_MESSAGE_MAP()
//
// Each entry stores a small thunk that decodes the message parameters into the
// handler's arguments (the handler shapes are listed with the macros below).
// The thunk is a lambda written inside the class's own member function, so it
// may call protected and private handlers, and the call is type-checked.
//
// Handlers of window messages that want the platform's default behaviour as
// well call the base class handler (CWnd::OnTimer(id)), which runs Default().
#ifndef SETUP_FRAMEWORK_MSGMAP_H
#define SETUP_FRAMEWORK_MSGMAP_H

#include "framework/winapi.h"

namespace fw {

class CWnd;

// Decodes one message for one handler and returns the message's result.
using AFX_PMSG = LRESULT (*)(CWnd* target, UINT message, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_COMMAND, WM_NOTIFY or the window message
    UINT nCode;     // notification code (WM_COMMAND, WM_NOTIFY); 0 otherwise
    UINT nID;       // first control ID of the entry; 0 for window messages
    UINT nLastID;   // last control ID (the same as nID unless a range)
    AFX_PMSG pfn;   // nullptr ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // nullptr for CWnd's own map
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// The first entry of the map chain that matches; nullptr when none does.
const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id);

}  // namespace fw

#define DECLARE_MESSAGE_MAP()                           \
protected:                                              \
    static const ::fw::AFX_MSGMAP* GetThisMessageMap(); \
    const ::fw::AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                \
    const ::fw::AFX_MSGMAP* theClass::GetMessageMap() const { \
        return GetThisMessageMap();                           \
    }                                                         \
    const ::fw::AFX_MSGMAP* theClass::GetThisMessageMap() {   \
        using ThisClass [[maybe_unused]] = theClass;          \
        using TheBaseClass = baseClass;                       \
        static const ::fw::AFX_MSGMAP_ENTRY s_messageEntries[] = {
// clang-format off
#define END_MESSAGE_MAP()                                                                  \
            {0, 0, 0, 0, nullptr}};                                                        \
        static const ::fw::AFX_MSGMAP s_messageMap = {&TheBaseClass::GetThisMessageMap,     \
                                                      &s_messageEntries[0]};               \
        return &s_messageMap;                                                              \
    }
// clang-format on

// --- Commands and control notifications (WM_COMMAND) ------------------------
// void memberFxn()
#define ON_CONTROL(code, id, memberFxn)                                                 \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), \
     [](::fw::CWnd* w, UINT, WPARAM, LPARAM) -> LRESULT {                               \
         static_cast<ThisClass*>(w)->memberFxn();                                       \
         return 0;                                                                      \
     }},
// void memberFxn(UINT nID)
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn)                                       \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(idLast), \
     [](::fw::CWnd* w, UINT, WPARAM wParam, LPARAM) -> LRESULT {                            \
         static_cast<ThisClass*>(w)->memberFxn(static_cast<UINT>(LOWORD(wParam)));          \
         return 0;                                                                          \
     }},

// A command is notification code 0, which is also a button's BN_CLICKED.
#define ON_COMMAND(id, memberFxn) ON_CONTROL(0, id, memberFxn)

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)

// --- WM_NOTIFY ----------------------------------------------------------------
// void memberFxn(NMHDR* pNotifyStruct, LRESULT* pResult)
#define ON_NOTIFY(code, id, memberFxn)                                                     \
    {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id),     \
     [](::fw::CWnd* w, UINT, WPARAM, LPARAM lParam) -> LRESULT {                           \
         LRESULT result = 0;                                                               \
         static_cast<ThisClass*>(w)->memberFxn(reinterpret_cast<NMHDR*>(lParam), &result); \
         return result;                                                                    \
     }},
// void memberFxn(UINT nID, NMHDR* pNotifyStruct, LRESULT* pResult)
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn)                                       \
    {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(idLast), \
     [](::fw::CWnd* w, UINT, WPARAM, LPARAM lParam) -> LRESULT {                           \
         LRESULT result = 0;                                                               \
         NMHDR* header = reinterpret_cast<NMHDR*>(lParam);                                 \
         static_cast<ThisClass*>(w)->memberFxn(static_cast<UINT>(header->idFrom), header,  \
                                               &result);                                   \
         return result;                                                                    \
     }},

// --- Any message ----------------------------------------------------------------
// LRESULT memberFxn(WPARAM wParam, LPARAM lParam)
#define ON_MESSAGE(message, memberFxn)                                  \
    {static_cast<UINT>(message), 0, 0, 0,                               \
     [](::fw::CWnd* w, UINT, WPARAM wParam, LPARAM lParam) -> LRESULT { \
         return static_cast<ThisClass*>(w)->memberFxn(wParam, lParam);  \
     }},

// --- Window messages ------------------------------------------------------------
// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER()                                                               \
    {WM_TIMER, 0, 0, 0, [](::fw::CWnd* w, UINT, WPARAM wParam, LPARAM) -> LRESULT { \
         static_cast<ThisClass*>(w)->OnTimer(static_cast<UINT_PTR>(wParam));        \
         return 0;                                                                  \
     }},
// void OnPaint(), and the same for the others
#define FW_ON_VOID_MESSAGE(message, memberFxn)                              \
    {message, 0, 0, 0, [](::fw::CWnd* w, UINT, WPARAM, LPARAM) -> LRESULT { \
         static_cast<ThisClass*>(w)->memberFxn();                           \
         return 0;                                                          \
     }},
#define ON_WM_PAINT() FW_ON_VOID_MESSAGE(WM_PAINT, OnPaint)
#define ON_WM_SYSCOLORCHANGE() FW_ON_VOID_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChange)
#define ON_WM_DESTROY() FW_ON_VOID_MESSAGE(WM_DESTROY, OnDestroy)
// BOOL OnEraseBkgnd(CDC* pDC)
#define ON_WM_ERASEBKGND()                                                               \
    {WM_ERASEBKGND, 0, 0, 0, [](::fw::CWnd* w, UINT, WPARAM wParam, LPARAM) -> LRESULT { \
         ::fw::CDCView dc(reinterpret_cast<HDC>(wParam));                                \
         return static_cast<ThisClass*>(w)->OnEraseBkgnd(&dc);                           \
     }},
// void OnLButtonDown(UINT nFlags, CPoint point), and the same for the others
#define FW_ON_MOUSE_MESSAGE(message, memberFxn)                                                   \
    {message, 0, 0, 0, [](::fw::CWnd* w, UINT, WPARAM wParam, LPARAM lParam) -> LRESULT {         \
         static_cast<ThisClass*>(w)->memberFxn(static_cast<UINT>(wParam),                         \
                                               ::fw::CPoint(static_cast<short>(LOWORD(lParam)),   \
                                                            static_cast<short>(HIWORD(lParam)))); \
         return 0;                                                                                \
     }},
#define ON_WM_LBUTTONDOWN() FW_ON_MOUSE_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONDBLCLK() FW_ON_MOUSE_MESSAGE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
// BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
#define ON_WM_SETCURSOR()                                                                      \
    {WM_SETCURSOR, 0, 0, 0, [](::fw::CWnd* w, UINT, WPARAM wParam, LPARAM lParam) -> LRESULT { \
         return static_cast<ThisClass*>(w)->OnSetCursor(                                       \
             ::fw::CWnd::FromHandle(reinterpret_cast<HWND>(wParam)),                           \
             static_cast<UINT>(LOWORD(lParam)), static_cast<UINT>(HIWORD(lParam)));            \
     }},
// void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
// pScrollBar is nullptr for the window's own scroll bar.
#define FW_ON_SCROLL_MESSAGE(message, memberFxn)                                                   \
    {message, 0, 0, 0, [](::fw::CWnd* w, UINT, WPARAM wParam, LPARAM lParam) -> LRESULT {          \
         ::fw::CWndView<::fw::CScrollBar> bar(reinterpret_cast<HWND>(lParam));                     \
         static_cast<ThisClass*>(w)->memberFxn(                                                    \
             static_cast<UINT>(LOWORD(wParam)),                                                    \
             static_cast<UINT>(static_cast<short>(HIWORD(wParam))), lParam != 0 ? &bar : nullptr); \
         return 0;                                                                                 \
     }},
#define ON_WM_HSCROLL() FW_ON_SCROLL_MESSAGE(WM_HSCROLL, OnHScroll)
// void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct), and the same
// for OnMeasureItem with LPMEASUREITEMSTRUCT
#define FW_ON_OWNERDRAW_MESSAGE(message, memberFxn, structType)                           \
    {message, 0, 0, 0, [](::fw::CWnd* w, UINT, WPARAM wParam, LPARAM lParam) -> LRESULT { \
         static_cast<ThisClass*>(w)->memberFxn(static_cast<int>(wParam),                  \
                                               reinterpret_cast<structType>(lParam));     \
         return TRUE;                                                                     \
     }},
#define ON_WM_DRAWITEM() FW_ON_OWNERDRAW_MESSAGE(WM_DRAWITEM, OnDrawItem, LPDRAWITEMSTRUCT)
#define ON_WM_MEASUREITEM() \
    FW_ON_OWNERDRAW_MESSAGE(WM_MEASUREITEM, OnMeasureItem, LPMEASUREITEMSTRUCT)

#endif
