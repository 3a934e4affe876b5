#include "entry/FlashTable.h"

#include <algorithm>
#include <cstring>
#include <utility>

static_assert(sizeof(FlashRecord) == 96, "flash records lie 96 bytes apart");

namespace {

template <size_t N>
std::string FieldText(const char (&field)[N]) {
    const void* nul = std::memchr(field, '\0', N);
    const size_t length = nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : N;
    return std::string(field, length);
}

// A key whose byte order (as memcmp compares) is the sorted list's order of
// the texts: the weights without hyphens and apostrophes, a 0 below every
// weight, then all the weights, for texts equal up to there. Weights: other
// ASCII bytes as they are, then digits, then letters without case, then
// bytes from 0x80 as 0xFF and the byte.
std::string ListSortKey(const std::string& text) {
    std::string key;
    key.reserve(2 * text.size() + 1);
    auto append = [&key](unsigned char c) {
        if (c >= '0' && c <= '9') {
            key += static_cast<char>(0x80 + (c - '0'));
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            key += static_cast<char>(0x8A + ((c | 0x20) - 'a'));
        } else if (c < 0x80) {
            key += static_cast<char>(c);
        } else {
            key += static_cast<char>(0xFF);
            key += static_cast<char>(c);
        }
    };
    for (char c : text) {
        if (c != '-' && c != '\'') {
            append(static_cast<unsigned char>(c));
        }
    }
    key += '\0';
    for (char c : text) {
        append(static_cast<unsigned char>(c));
    }
    return key;
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

std::vector<FlashListEntry> FlashTableSortedList(const FlashTable* table) {
    const int count = FlashTableCount(table);
    std::vector<FlashListEntry> entries;
    std::vector<std::string> keys;
    std::vector<int> order;
    entries.reserve(static_cast<size_t>(count));
    keys.reserve(static_cast<size_t>(count));
    order.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        entries.push_back({i, FlashRecordListText(table->records[i])});
        keys.push_back(ListSortKey(entries.back().text));
        order.push_back(i);
    }
    std::sort(order.begin(), order.end(), [&keys](int a, int b) {
        const int byKey = keys[static_cast<size_t>(a)].compare(keys[static_cast<size_t>(b)]);
        return byKey != 0 ? byKey < 0 : a < b;
    });
    std::vector<FlashListEntry> sorted;
    sorted.reserve(entries.size());
    for (int i : order) {
        sorted.push_back(std::move(entries[static_cast<size_t>(i)]));
    }
    return sorted;
}
