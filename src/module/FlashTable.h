// Reading the host's flash table. The table belongs to the host and is only
// read, and only through these helpers: a null table, a null record pointer
// or a negative count all mean "no records", and texts are read only within
// their record.
#ifndef SETUP_MODULE_FLASHTABLE_H
#define SETUP_MODULE_FLASHTABLE_H

#include <memory>
#include <string>
#include <vector>

#include "setup/host.h"

// The number of records, 0 for a null table or records pointer or a negative count.
int FlashTableCount(const FlashTable* table);

// Record index, or null when index is outside 0..count-1.
const FlashRecord* FlashTableRecord(const FlashTable* table, int index);

// The first text (bytes 0-15) and the flash name (bytes 16-95), each up to
// its NUL or the end of its field.
std::string FlashRecordFirstText(const FlashRecord& record);
std::string FlashRecordName(const FlashRecord& record);

// The first record in table order whose flash name is exactly that of record
// index (index itself, or an earlier one); -1 when index is no record.
int FlashTableFirstNamedAs(const FlashTable* table, int index);

// The first record in table order whose flash name is name, letter case
// ignored; -1 when there is none.
int FlashTableFindName(const FlashTable* table, const std::string& name);

// How the pages list a record: first text, one blank, flash name.
std::string FlashRecordListText(const FlashRecord& record);

// The records as a sorted list shows them: each record's index and list
// text, ordered with letter case ignored, blanks and punctuation before
// digits before letters, hyphens and apostrophes deciding only between
// otherwise equal texts; equal texts in table order. Added to a sorted list
// in this order, each record goes after the last item instead of moving the
// ones behind its place, which keeps a table of thousands of records quick
// to list. (Where the platform orders two texts otherwise, the list still
// sorts them right.)
//
// The mode page and the flash check page each list the table as they open:
// the list of the last table asked for is kept, and given again while the
// table's records are byte for byte the same.
struct FlashListEntry {
    int record;
    std::string text;
};
using FlashList = std::vector<FlashListEntry>;
std::shared_ptr<const FlashList> FlashTableSortedList(const FlashTable* table);

#endif
