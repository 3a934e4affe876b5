// Reading the host's flash table. The table belongs to the host and is only
// read, and only through these helpers: a null table, a null record pointer
// or a negative count all mean "no records", and texts are read only within
// their record.
#ifndef SETUP_ENTRY_FLASHTABLE_H
#define SETUP_ENTRY_FLASHTABLE_H

#include <string>

#include "setup/host.h"

// The number of records, 0 for a null table or records pointer or a negative count.
int FlashTableCount(const FlashTable* table);

// Record index, or null when index is outside 0..count-1.
const FlashRecord* FlashTableRecord(const FlashTable* table, int index);

// The first text (bytes 0-15) and the flash name (bytes 16-95), each up to
// its NUL or the end of its field.
std::string FlashRecordFirstText(const FlashRecord& record);
std::string FlashRecordName(const FlashRecord& record);

// How the pages list a record: first text, one blank, flash name.
std::string FlashRecordListText(const FlashRecord& record);

#endif
