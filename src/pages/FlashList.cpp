#include "pages/FlashList.h"

#include <memory>

#include "module/FlashTable.h"

void FillFlashList(fw::CComboBox& combo, const FlashTable* table) {
    combo.ResetContent();
    const std::shared_ptr<const FlashList> list = FlashTableSortedList(table);
    // A table of thousands of records: room for all at once, nothing drawn
    // until the list is full, and the items added in the list's own order,
    // so that each goes after the last.
    combo.SetRedraw(FALSE);
    UINT nBytes = 0;
    for (const FlashListEntry& entry : *list) {
        nBytes += static_cast<UINT>(entry.text.size() + 1);
    }
    combo.InitStorage(static_cast<int>(list->size()), nBytes);
    const LCID locale = combo.GetLocale();
    const std::string* pLast = nullptr;
    int nCount = 0;
    for (const FlashListEntry& entry : *list) {
        const int nItem = combo.AddSortedString(
            entry.text.c_str(), pLast != nullptr ? pLast->c_str() : nullptr, locale);
        if (nItem < 0) {
            continue;
        }
        combo.SetItemData(nItem, static_cast<DWORD_PTR>(entry.record));
        // Where the platform orders two texts otherwise, an item lands
        // before the last one, which stays last.
        if (nItem == nCount++) {
            pLast = &entry.text;
        }
    }
    combo.SetRedraw(TRUE);
    combo.Invalidate();
}

int SelectedFlashRecord(const fw::CComboBox& combo, const FlashTable* table) {
    const int nItem = combo.GetCurSel();
    if (nItem < 0) {
        return -1;
    }
    const auto nRecord = static_cast<int>(combo.GetItemData(nItem));
    return FlashTableRecord(table, nRecord) != nullptr ? nRecord : -1;
}
