#include "controls/ColorListBox.h"

namespace {

// The text starts this far right of the entry's left edge.
constexpr int kTextIndent = 5;

}  // namespace

long ColorItem::s_nCreated = 0;
long ColorItem::s_nFreed = 0;

BEGIN_MESSAGE_MAP(CColorListBox, fw::CListBox)
ON_WM_DESTROY()
END_MESSAGE_MAP()

int CColorListBox::AddColorString(const char* lpszText, COLORREF crTextColor, COLORREF crBkColor) {
    auto* pItem = new ColorItem;
    pItem->strText = lpszText != nullptr ? lpszText : "";
    pItem->crTextColor = crTextColor;
    pItem->crBkColor = crBkColor;
    // A list without stored strings keeps what LB_ADDSTRING passes as the
    // entry's item data.
    const int nIndex = AddString(reinterpret_cast<const char*>(pItem));
    if (nIndex < 0) {
        delete pItem;
    }
    return nIndex;
}

ColorItem* CColorListBox::ItemOf(int nIndex) const {
    const DWORD_PTR data = GetItemData(nIndex);
    if (data == static_cast<DWORD_PTR>(LB_ERR)) {
        return nullptr;
    }
    return reinterpret_cast<ColorItem*>(data);
}

std::string CColorListBox::GetItemString(int nIndex) const {
    const ColorItem* pItem = ItemOf(nIndex);
    return pItem != nullptr ? pItem->strText : std::string();
}

COLORREF CColorListBox::GetItemTextColor(int nIndex) const {
    const ColorItem* pItem = ItemOf(nIndex);
    return pItem != nullptr ? pItem->crTextColor : 0;
}

void CColorListBox::FreeItem(int nIndex) {
    ColorItem* pItem = ItemOf(nIndex);
    if (pItem == nullptr) {
        return;
    }
    // The entry forgets its record at once, so that nothing frees or draws
    // it a second time.
    SetItemDataPtr(nIndex, nullptr);
    delete pItem;
}

void CColorListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    // No entry (the focus of an empty list) or no record: nothing to draw.
    if (static_cast<int>(lpDrawItemStruct->itemID) < 0 || lpDrawItemStruct->itemData == 0) {
        return;
    }
    const auto* pItem = reinterpret_cast<const ColorItem*>(lpDrawItemStruct->itemData);
    fw::CDCView dc(lpDrawItemStruct->hDC);
    const COLORREF crOldText = dc.GetTextColor();
    const COLORREF crOldBk = dc.GetBkColor();

    // Selected entries are drawn inverted.
    COLORREF crFill;
    if ((lpDrawItemStruct->itemState & ODS_SELECTED) != 0) {
        dc.SetTextColor(pItem->crBkColor);
        dc.SetBkColor(pItem->crTextColor);
        crFill = pItem->crTextColor;
    } else {
        dc.SetTextColor(pItem->crTextColor);
        dc.SetBkColor(pItem->crBkColor);
        crFill = pItem->crBkColor;
    }
    fw::CRect rect(lpDrawItemStruct->rcItem);
    dc.FillSolidRect(&rect, crFill);

    // Wrapped at words; what does not fit the entry's height is cut off. No
    // focus rectangle.
    rect.left += kTextIndent;
    dc.DrawText(pItem->strText, &rect, DT_WORDBREAK);

    dc.SetTextColor(crOldText);
    dc.SetBkColor(crOldBk);
}

void CColorListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    // The record's text: a list without stored strings has no text of its
    // own to measure. An entry without a record keeps the height it has.
    const int nIndex = static_cast<int>(lpMeasureItemStruct->itemID);
    fw::CRect rect;
    if (nIndex < 0 || GetItemRect(nIndex, &rect) == LB_ERR) {
        return;
    }
    const ColorItem* pItem = ItemOf(nIndex);
    if (pItem == nullptr) {
        return;
    }
    fw::CClientDC dc(this);
    fw::CFont* pFont = GetFont();
    fw::CFont* pOldFont = pFont != nullptr ? dc.SelectObject(pFont) : nullptr;
    dc.DrawText(pItem->strText, &rect, DT_WORDBREAK | DT_CALCRECT);
    if (pOldFont != nullptr) {
        dc.SelectObject(pOldFont);
    }
    lpMeasureItemStruct->itemHeight = static_cast<UINT>(rect.Height());
}

void CColorListBox::OnDestroy() {
    const int nCount = GetCount();
    for (int i = 0; i < nCount; ++i) {
        FreeItem(i);
    }
    fw::CListBox::OnDestroy();
}
