#include "framework/controls/controls.h"

#include <vector>

#include "framework/api.h"

namespace fw {

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

namespace {

LPARAM TextParam(const char* text) {
    return reinterpret_cast<LPARAM>(text != nullptr ? text : "");
}

// The text an item-text request (CB_GETLBTEXT, LB_GETTEXT) copies, after its
// length request; empty for an index that has no item.
std::string ItemText(HWND hWnd, UINT lengthMessage, UINT textMessage, int nIndex) {
    LRESULT length = api::SendMessage(hWnd, lengthMessage, static_cast<WPARAM>(nIndex), 0);
    if (length < 0) {
        return {};
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    LRESULT copied = api::SendMessage(hWnd, textMessage, static_cast<WPARAM>(nIndex),
                                      reinterpret_cast<LPARAM>(buffer.data()));
    if (copied < 0) {
        return {};
    }
    if (static_cast<size_t>(copied) > static_cast<size_t>(length)) {
        copied = length;
    }
    return std::string(buffer.data(), static_cast<size_t>(copied));
}

// A request that takes an item index and answers a number (CB_GETCURSEL,
// LB_DELETESTRING...).
int IndexRequest(const CWnd& control, UINT message, int nIndex, LPARAM lParam = 0) {
    return static_cast<int>(control.SendMessage(message, static_cast<WPARAM>(nIndex), lParam));
}

}  // namespace

// --- CButton -----------------------------------------------------------------

BOOL CButton::Create(const std::string& caption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                     UINT nID) {
    return CreateEx(0, "BUTTON", caption, dwStyle, rect, pParentWnd, nID);
}

// --- CEdit ---------------------------------------------------------------------

void CEdit::LimitText(int nChars) {
    SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars));
}

// --- CStatic -------------------------------------------------------------------------

BOOL CStatic::Create(const std::string& text, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                     UINT nID) {
    return CreateEx(0, "STATIC", text, dwStyle, rect, pParentWnd, nID);
}

// --- CComboBox -----------------------------------------------------------------------

void CComboBox::ResetContent() {
    SendMessage(CB_RESETCONTENT);
}
int CComboBox::AddString(const char* lpszString) {
    return IndexRequest(*this, CB_ADDSTRING, 0, TextParam(lpszString));
}
int CComboBox::InsertString(int nIndex, const char* lpszString) {
    return IndexRequest(*this, CB_INSERTSTRING, nIndex, TextParam(lpszString));
}
int CComboBox::AddSortedString(const char* lpszString, const char* lpszLast, LCID locale) {
    if (lpszString != nullptr && lpszLast != nullptr &&
        api::CompareString(locale, NORM_IGNORECASE, lpszLast, -1, lpszString, -1) ==
            CSTR_LESS_THAN) {
        return InsertString(-1, lpszString);
    }
    return AddString(lpszString);
}
LCID CComboBox::GetLocale() const {
    return static_cast<LCID>(SendMessage(CB_GETLOCALE));
}
int CComboBox::InitStorage(int nItems, UINT nBytes) {
    return IndexRequest(*this, CB_INITSTORAGE, nItems, static_cast<LPARAM>(nBytes));
}
int CComboBox::GetCount() const {
    return IndexRequest(*this, CB_GETCOUNT, 0);
}
int CComboBox::GetCurSel() const {
    return IndexRequest(*this, CB_GETCURSEL, 0);
}
int CComboBox::SetCurSel(int nSelect) {
    return IndexRequest(*this, CB_SETCURSEL, nSelect);
}
int CComboBox::FindStringExact(int nIndexStart, const char* lpszFind) const {
    return IndexRequest(*this, CB_FINDSTRINGEXACT, nIndexStart, TextParam(lpszFind));
}
std::string CComboBox::GetLBText(int nIndex) const {
    return ItemText(m_hWnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, nIndex);
}
DWORD_PTR CComboBox::GetItemData(int nIndex) const {
    return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
}
int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
    return IndexRequest(*this, CB_SETITEMDATA, nIndex, static_cast<LPARAM>(dwItemData));
}

// --- CListBox --------------------------------------------------------------------------

void CListBox::ResetContent() {
    SendMessage(LB_RESETCONTENT);
}
int CListBox::AddString(const char* lpszItem) {
    return IndexRequest(*this, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszItem));
}
int CListBox::DeleteString(UINT nIndex) {
    return IndexRequest(*this, LB_DELETESTRING, static_cast<int>(nIndex));
}
int CListBox::GetCount() const {
    return IndexRequest(*this, LB_GETCOUNT, 0);
}
int CListBox::GetCurSel() const {
    return IndexRequest(*this, LB_GETCURSEL, 0);
}
int CListBox::SetCurSel(int nSelect) {
    return IndexRequest(*this, LB_SETCURSEL, nSelect);
}
std::string CListBox::GetText(int nIndex) const {
    return ItemText(m_hWnd, LB_GETTEXTLEN, LB_GETTEXT, nIndex);
}
DWORD_PTR CListBox::GetItemData(int nIndex) const {
    return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
}
int CListBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
    return IndexRequest(*this, LB_SETITEMDATA, nIndex, static_cast<LPARAM>(dwItemData));
}
int CListBox::SetItemDataPtr(int nIndex, void* pData) {
    return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData));
}
int CListBox::GetItemRect(int nIndex, LPRECT lpRect) const {
    return IndexRequest(*this, LB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(lpRect));
}
void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

BOOL CListBox::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT*) {
    switch (message) {
        case WM_DRAWITEM:
            DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
            return TRUE;
        case WM_MEASUREITEM:
            MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
            return TRUE;
        default:
            return FALSE;
    }
}

// --- CTabCtrl ----------------------------------------------------------------------

BOOL CTabCtrl::SetItemText(int nItem, const std::string& text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    TCITEM item = {};
    item.mask = TCIF_TEXT;
    item.pszText = buffer.data();
    return static_cast<BOOL>(
        SendMessage(TCM_SETITEM, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

}  // namespace fw
