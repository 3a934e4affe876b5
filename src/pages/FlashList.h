// The flash lists of the pages: the mode page's flash types and the flash
// check page's flash names both list every record of the host's flash table
// as its first text, one blank and its flash name, in a sorted combo box
// whose items carry their records' indexes.
#ifndef SETUP_PAGES_FLASHLIST_H
#define SETUP_PAGES_FLASHLIST_H

#include "framework/framework.h"
#include "setup/host.h"

// Empties the list and adds one item per record of the table, each with its
// record's index as item data.
void FillFlashList(fw::CComboBox& combo, const FlashTable* table);

// The record of the list's selected item; -1 when none is selected or the
// item's record is not in the table.
int SelectedFlashRecord(const fw::CComboBox& combo, const FlashTable* table);

#endif
