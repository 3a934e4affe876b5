#include "pages/FlashList.h"

#include <memory>

#include "entry/FlashTable.h"

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
    for (const FlashListEntry& entry : *list) {
        const int nItem = combo.AddString(entry.text);
        if (nItem >= 0) {
            combo.SetItemData(nItem, static_cast<DWORD_PTR>(entry.record));
        }
    }
    combo.SetRedraw(TRUE);
    combo.Invalidate();
}
