#include "entry/FlashTable.h"

#include <cstring>

static_assert(sizeof(FlashRecord) == 96, "flash records lie 96 bytes apart");

namespace {

template <size_t N>
std::string FieldText(const char (&field)[N]) {
    const void* nul = std::memchr(field, '\0', N);
    const size_t length = nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : N;
    return std::string(field, length);
}

}  // namespace

int FlashTableCount(const FlashTable* table) {
    if (table == nullptr || table->records == nullptr || table->count < 0) {
        return 0;
    }
    return table->count;
}

const FlashRecord* FlashTableRecord(const FlashTable* table, int index) {
    if (index < 0 || index >= FlashTableCount(table)) {
        return nullptr;
    }
    return table->records + index;
}

std::string FlashRecordFirstText(const FlashRecord& record) {
    return FieldText(record.firstText);
}

std::string FlashRecordName(const FlashRecord& record) {
    return FieldText(record.flashName);
}

std::string FlashRecordListText(const FlashRecord& record) {
    return FlashRecordFirstText(record) + " " + FlashRecordName(record);
}
