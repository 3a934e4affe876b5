// Control wrappers: a window handle and one short method per operation, each
// sending the one control message named in its comment. Setting a control
// from code sends its parent no notification (CB_SETCURSEL sends no
// CBN_SELCHANGE, BM_SETCHECK no BN_CLICKED); only the operator's actions do.
//
// Classes in this file:
//   CButton      push buttons, check boxes, radio buttons
//   CEdit        edit boxes
//   CStatic      static texts and pictures
//   CComboBox    combo boxes (drop-down lists)
//   CListBox     list boxes, owner-drawn ones included
//   CTabCtrl     the tab control (a property sheet's tabs)
//   CScrollBar   scroll bar controls
//
// A control object is usually bound to a dialog's control with DDX_Control
// (or SubclassDlgItem); owner-drawn controls then receive the dialog's
// WM_DRAWITEM and WM_MEASUREITEM for them in DrawItem and MeasureItem.
#ifndef SETUP_FRAMEWORK_CONTROLS_H
#define SETUP_FRAMEWORK_CONTROLS_H

#include <string>

#include "framework/wnd.h"

namespace fw {

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    BOOL Create(const std::string& caption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID);

    int GetCheck() const;                                   // BM_GETCHECK
    void SetCheck(int nCheck);                              // BM_SETCHECK
    UINT GetState() const;                                  // BM_GETSTATE
    void SetState(BOOL bHighlight);                         // BM_SETSTATE
    UINT GetButtonStyle() const;                            // the BS_ type of GWL_STYLE
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);  // BM_SETSTYLE
    HBITMAP SetBitmap(HBITMAP hBitmap);                     // BM_SETIMAGE

    // Owner-drawn buttons (BS_OWNERDRAW): draws the button.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    void LimitText(int nChars = 0);  // EM_LIMITTEXT (0: the platform's maximum)
    void SetLimitText(UINT nMax) { LimitText(static_cast<int>(nMax)); }
    UINT GetLimitText() const;                                          // EM_GETLIMITTEXT
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);  // EM_SETSEL
    void GetSel(int& nStartChar, int& nEndChar) const;                  // EM_GETSEL
    void ReplaceSel(const char* lpszNewText, BOOL bCanUndo = FALSE);    // EM_REPLACESEL
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);                            // EM_SETREADONLY
    void SetPasswordChar(char ch);                                      // EM_SETPASSWORDCHAR
    char GetPasswordChar() const;                                       // EM_GETPASSWORDCHAR
};

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    BOOL Create(const std::string& text, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID = 0xFFFF);

    HBITMAP SetBitmap(HBITMAP hBitmap);  // STM_SETIMAGE, IMAGE_BITMAP
    HBITMAP GetBitmap() const;           // STM_GETIMAGE, IMAGE_BITMAP

    // Owner-drawn statics (SS_OWNERDRAW): draws the control.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    void ResetContent();  // CB_RESETCONTENT
    // CB_ADDSTRING: the new index (in sorted order for CBS_SORT), CB_ERR or CB_ERRSPACE.
    int AddString(const char* lpszString);
    int AddString(const std::string& text) { return AddString(text.c_str()); }
    int InsertString(int nIndex, const char* lpszString);  // CB_INSERTSTRING
    int InsertString(int nIndex, const std::string& text) {
        return InsertString(nIndex, text.c_str());
    }
    // AddString for a sorted list whose last item's text the caller knows
    // (lpszLast; nullptr for an empty list), as when it fills the list in
    // the list's own order: a text that sorts after it, as the list compares
    // texts (CompareString in its locale, ignoring case), goes to the end
    // with CB_INSERTSTRING, which spares the list its search; any other is
    // added by CB_ADDSTRING. Either way it lands where AddString puts it.
    int AddSortedString(const char* lpszString, const char* lpszLast, LCID locale);
    LCID GetLocale() const;         // CB_GETLOCALE
    int DeleteString(UINT nIndex);  // CB_DELETESTRING
    int GetCount() const;           // CB_GETCOUNT
    // CB_INITSTORAGE: room for nItems more items of nBytes of text in all,
    // before a long fill; the number of items there is room for, or
    // CB_ERRSPACE.
    int InitStorage(int nItems, UINT nBytes);
    int GetCurSel() const;       // CB_GETCURSEL (CB_ERR: no selection)
    int SetCurSel(int nSelect);  // CB_SETCURSEL (-1 clears the selection)
    // CB_FINDSTRINGEXACT: the first item after nIndexStart (-1: from the top)
    // whose whole text equals lpszFind, ignoring case; CB_ERR when none.
    int FindStringExact(int nIndexStart, const char* lpszFind) const;
    int FindStringExact(int nIndexStart, const std::string& find) const {
        return FindStringExact(nIndexStart, find.c_str());
    }
    int FindString(int nStartAfter, const char* lpszString) const;  // CB_FINDSTRING (prefix)
    int SelectString(int nStartAfter, const char* lpszString);      // CB_SELECTSTRING
    int GetLBTextLen(int nIndex) const;                             // CB_GETLBTEXTLEN
    void GetLBText(int nIndex, std::string& text) const;            // CB_GETLBTEXT
    std::string GetLBText(int nIndex) const;
    DWORD_PTR GetItemData(int nIndex) const;            // CB_GETITEMDATA
    int SetItemData(int nIndex, DWORD_PTR dwItemData);  // CB_SETITEMDATA
    void* GetItemDataPtr(int nIndex) const;
    int SetItemDataPtr(int nIndex, void* pData);
    BOOL LimitText(int nMaxChars);           // CB_LIMITTEXT
    void ShowDropDown(BOOL bShowIt = TRUE);  // CB_SHOWDROPDOWN
    BOOL GetDroppedState() const;            // CB_GETDROPPEDSTATE

    // Owner-drawn combo boxes: draws and measures items.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    void ResetContent();  // LB_RESETCONTENT
    // LB_ADDSTRING. In an owner-drawn list without LBS_HASSTRINGS the pointer
    // itself is stored as the item's data.
    int AddString(const char* lpszItem);
    int AddString(const std::string& text) { return AddString(text.c_str()); }
    int InsertString(int nIndex, const char* lpszItem);  // LB_INSERTSTRING
    int InsertString(int nIndex, const std::string& text) {
        return InsertString(nIndex, text.c_str());
    }
    int DeleteString(UINT nIndex);                // LB_DELETESTRING: the count left, or LB_ERR
    int GetCount() const;                         // LB_GETCOUNT
    int GetCurSel() const;                        // LB_GETCURSEL (LB_ERR: no selection)
    int SetCurSel(int nSelect);                   // LB_SETCURSEL
    int GetSel(int nIndex) const;                 // LB_GETSEL
    int SetSel(int nIndex, BOOL bSelect = TRUE);  // LB_SETSEL
    int GetTextLen(int nIndex) const;             // LB_GETTEXTLEN
    void GetText(int nIndex, std::string& text) const;  // LB_GETTEXT
    std::string GetText(int nIndex) const;
    DWORD_PTR GetItemData(int nIndex) const;            // LB_GETITEMDATA
    int SetItemData(int nIndex, DWORD_PTR dwItemData);  // LB_SETITEMDATA
    void* GetItemDataPtr(int nIndex) const;
    int SetItemDataPtr(int nIndex, void* pData);
    int GetItemRect(int nIndex, LPRECT lpRect) const;                  // LB_GETITEMRECT
    int GetItemHeight(int nIndex) const;                               // LB_GETITEMHEIGHT
    int SetItemHeight(int nIndex, UINT cyItemHeight);                  // LB_SETITEMHEIGHT
    int FindString(int nStartAfter, const char* lpszItem) const;       // LB_FINDSTRING
    int FindStringExact(int nIndexStart, const char* lpszFind) const;  // LB_FINDSTRINGEXACT
    int SelectString(int nStartAfter, const char* lpszItem);           // LB_SELECTSTRING
    int GetTopIndex() const;                                           // LB_GETTOPINDEX
    int SetTopIndex(int nIndex);                                       // LB_SETTOPINDEX

    // Owner-drawn list boxes: draws one entry, and gives an entry its height.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)
public:
    int GetItemCount() const;                             // TCM_GETITEMCOUNT
    int GetCurSel() const;                                // TCM_GETCURSEL
    int SetCurSel(int nItem);                             // TCM_SETCURSEL
    BOOL GetItem(int nItem, TCITEM* pTabCtrlItem) const;  // TCM_GETITEM
    BOOL SetItem(int nItem, TCITEM* pTabCtrlItem);        // TCM_SETITEM
    BOOL GetItemRect(int nItem, LPRECT lpRect) const;     // TCM_GETITEMRECT
    int InsertItem(int nItem, const char* lpszItem);      // TCM_INSERTITEM
    BOOL DeleteItem(int nItem);                           // TCM_DELETEITEM
    // The title of a tab (TCM_GETITEM with TCIF_TEXT), up to 259 characters.
    std::string GetItemText(int nItem) const;
    // TCM_SETITEM with TCIF_TEXT.
    BOOL SetItemText(int nItem, const std::string& text);
};

class CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)
public:
    int GetScrollPos() const;                         // SBM_GETPOS
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE);  // SBM_SETPOS
};

}  // namespace fw

#endif
