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
//   CScrollBar   the scroll bar that sends a scroll message
//
// A control object is usually bound to a dialog's control with DDX_Control
// (or SubclassDlgItem); owner-drawn controls then receive the dialog's
// WM_DRAWITEM and WM_MEASUREITEM for them in DrawItem and MeasureItem.
#ifndef SETUP_FRAMEWORK_CONTROLS_H
#define SETUP_FRAMEWORK_CONTROLS_H

#include <string>

#include "framework/windows/wnd.h"

namespace fw {

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    BOOL Create(const std::string& caption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID);
};

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    void LimitText(int nChars = 0);  // EM_LIMITTEXT (0: the platform's maximum)
};

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    BOOL Create(const std::string& text, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID = 0xFFFF);
};

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    void ResetContent();  // CB_RESETCONTENT
    // CB_ADDSTRING: the new index (in sorted order for CBS_SORT), CB_ERR or CB_ERRSPACE.
    int AddString(const char* lpszString);
    int AddString(const std::string& text) { return AddString(text.c_str()); }
    int InsertString(int nIndex, const char* lpszString);  // CB_INSERTSTRING
    // AddString for a sorted list whose last item's text the caller knows
    // (lpszLast; nullptr for an empty list), as when it fills the list in
    // the list's own order: a text that sorts after it, as the list compares
    // texts (CompareString in its locale, ignoring case), goes to the end
    // with CB_INSERTSTRING, which spares the list its search; any other is
    // added by CB_ADDSTRING. Either way it lands where AddString puts it.
    int AddSortedString(const char* lpszString, const char* lpszLast, LCID locale);
    LCID GetLocale() const;  // CB_GETLOCALE
    int GetCount() const;    // CB_GETCOUNT
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
    std::string GetLBText(int nIndex) const;            // CB_GETLBTEXT
    DWORD_PTR GetItemData(int nIndex) const;            // CB_GETITEMDATA
    int SetItemData(int nIndex, DWORD_PTR dwItemData);  // CB_SETITEMDATA
};

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    void ResetContent();  // LB_RESETCONTENT
    // LB_ADDSTRING. In an owner-drawn list without LBS_HASSTRINGS the pointer
    // itself is stored as the item's data.
    int AddString(const char* lpszItem);
    int AddString(const std::string& text) { return AddString(text.c_str()); }
    int DeleteString(UINT nIndex);            // LB_DELETESTRING: the count left, or LB_ERR
    int GetCount() const;                     // LB_GETCOUNT
    int GetCurSel() const;                    // LB_GETCURSEL (LB_ERR: no selection)
    int SetCurSel(int nSelect);               // LB_SETCURSEL
    std::string GetText(int nIndex) const;    // LB_GETTEXT
    DWORD_PTR GetItemData(int nIndex) const;  // LB_GETITEMDATA
    int SetItemData(int nIndex, DWORD_PTR dwItemData);  // LB_SETITEMDATA
    int SetItemDataPtr(int nIndex, void* pData);
    int GetItemRect(int nIndex, LPRECT lpRect) const;  // LB_GETITEMRECT

    // Owner-drawn list boxes: draws one entry, and gives an entry its height.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)
public:
    // TCM_SETITEM with TCIF_TEXT.
    BOOL SetItemText(int nItem, const std::string& text);
};

// The scroll bar of a scroll message (OnHScroll).
class CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)
};

}  // namespace fw

#endif
