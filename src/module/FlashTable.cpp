#include "module/FlashTable.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "framework/controls/list_order.h"

static_assert(sizeof(FlashRecord) == 96, "flash records lie 96 bytes apart");

namespace {

// The length of a field's text: up to its NUL or the end of the field.
template <size_t N>
size_t FieldLength(const char (&field)[N]) {
    const void* nul = std::memchr(field, '\0', N);
    return nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : N;
}

template <size_t N>
std::string FieldText(const char (&field)[N]) {
    return std::string(field, FieldLength(field));
}

// The sort key of a text: the list's sort weight of each byte but hyphens
// and apostrophes, two bytes each, whose byte order (as memcmp compares) is
// the sorted list's order of the texts. Texts whose keys are equal are
// ordered by all their weights.
char* PutListSortKey(std::string_view text, char* out) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!fw::ListSortIgnorable(byte)) {
            const int weight = fw::ListSortWeight(byte);
            *out++ = static_cast<char>(weight >> 8);
            *out++ = static_cast<char>(weight & 0xFF);
        }
    }
    return out;
}

// One record's place in the sort: its key in the shared buffer, with the
// key's first eight bytes as a number that orders as they do.
struct SortKey {
    uint64_t head;
    uint32_t start;
    uint32_t length;
    int record;
};

uint64_t KeyHead(const char* key, size_t length) {
    uint64_t head = 0;
    for (size_t i = 0; i < 8; ++i) {
        head = (head << 8) | (i < length ? static_cast<unsigned char>(key[i]) : 0u);
    }
    return head;
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

int FlashTableFirstNamedAs(const FlashTable* table, int index) {
    const FlashRecord* record = FlashTableRecord(table, index);
    if (record == nullptr) {
        return -1;
    }
    const std::string name = FlashRecordName(*record);
    for (int i = 0; i < index; ++i) {
        if (FlashRecordName(*FlashTableRecord(table, i)) == name) {
            return i;
        }
    }
    return index;
}

int FlashTableFindName(const FlashTable* table, const std::string& name) {
    const int count = FlashTableCount(table);
    for (int i = 0; i < count; ++i) {
        if (fw::EqualNoCase(FlashRecordName(*FlashTableRecord(table, i)), name)) {
            return i;
        }
    }
    return -1;
}

std::string FlashRecordListText(const FlashRecord& record) {
    const size_t firstLength = FieldLength(record.firstText);
    const size_t nameLength = FieldLength(record.flashName);
    std::string text;
    text.reserve(firstLength + 1 + nameLength);
    text.append(record.firstText, firstLength).append(1, ' ').append(record.flashName, nameLength);
    return text;
}

namespace {

FlashList SortedList(const FlashTable* table) {
    const int count = FlashTableCount(table);
    std::vector<FlashListEntry> entries;
    entries.reserve(static_cast<size_t>(count));
    std::vector<SortKey> sortKeys;
    sortKeys.reserve(static_cast<size_t>(count));
    // The keys lie one after another in one buffer, grown as needed.
    std::vector<char> keys;
    size_t used = 0;
    for (int i = 0; i < count; ++i) {
        entries.push_back({i, FlashRecordListText(table->records[i])});
        const std::string& text = entries.back().text;
        if (keys.size() - used < 2 * text.size()) {
            keys.resize(std::max(2 * keys.size(), used + 2 * text.size() + 4096));
        }
        const char* end = PutListSortKey(text, keys.data() + used);
        const auto length = static_cast<uint32_t>(end - (keys.data() + used));
        sortKeys.push_back(
            {KeyHead(keys.data() + used, length), static_cast<uint32_t>(used), length, i});
        used += length;
    }
    const char* base = keys.data();
    std::sort(sortKeys.begin(), sortKeys.end(), [&](const SortKey& a, const SortKey& b) {
        if (a.head != b.head) {
            return a.head < b.head;
        }
        int order = std::string_view(base + a.start, a.length)
                        .compare(std::string_view(base + b.start, b.length));
        if (order == 0) {
            order = fw::CompareListWeights(entries[static_cast<size_t>(a.record)].text,
                                           entries[static_cast<size_t>(b.record)].text, false);
        }
        return order != 0 ? order < 0 : a.record < b.record;
    });
    FlashList sorted;
    sorted.reserve(entries.size());
    for (const SortKey& key : sortKeys) {
        sorted.push_back(std::move(entries[static_cast<size_t>(key.record)]));
    }
    return sorted;
}

// The last table listed: a copy of its records and their list.
struct ListedTable {
    std::vector<FlashRecord> records;
    std::shared_ptr<const FlashList> list;
};

}  // namespace

std::shared_ptr<const FlashList> FlashTableSortedList(const FlashTable* table) {
    static ListedTable s_last;
    const int count = FlashTableCount(table);
    const bool same = s_last.list != nullptr &&
                      s_last.records.size() == static_cast<size_t>(count) &&
                      (count == 0 || std::memcmp(s_last.records.data(), table->records,
                                                 sizeof(FlashRecord) * s_last.records.size()) == 0);
    if (!same) {
        s_last.list = std::make_shared<const FlashList>(SortedList(table));
        s_last.records.assign(count > 0 ? table->records : nullptr,
                              count > 0 ? table->records + count : nullptr);
    }
    return s_last.list;
}
