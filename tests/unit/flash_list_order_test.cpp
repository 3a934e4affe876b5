// The order in which the pages add the host's flash records to their sorted
// lists: the lists' own order, so that every record is appended.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "module/FlashTable.h"

#if !defined(_WIN32)
#include "framework/headless/item_list.h"
#endif

namespace {

std::vector<FlashRecord> Records(const std::vector<std::pair<const char*, const char*>>& texts) {
    std::vector<FlashRecord> records(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        std::memset(&records[i], 0, sizeof(FlashRecord));
        std::strncpy(records[i].firstText, texts[i].first, sizeof(records[i].firstText) - 1);
        std::strncpy(records[i].flashName, texts[i].second, sizeof(records[i].flashName) - 1);
    }
    return records;
}

}  // namespace

TEST(FlashListOrder, RecordsComeInTheSortedListsOrder) {
    const std::vector<std::pair<const char*, const char*>> texts = {
        {"TLC", "FX-B"},  // 0
        {"tlc", "fxa"},   // 1: case does not count
        {"SLC", "FX29"},  // 2
        {"SLC", "FX2_"},  // 3: punctuation before digits
        {"SLC", "FX29"},  // 4: equal texts keep table order
        {"TLC",
         "FXB"},  // 5: the hyphen decides only between otherwise equal texts (before a letter)
        {"MLC", "FX\xC4"},  // 6: bytes beyond ASCII after letters
        {"MLC", "FXZ"},     // 7
        {"MLC 3D", "FX1"},  // 8: a blank in the first text
    };
    std::vector<FlashRecord> records = Records(texts);
    const FlashTable table{0, records.data(), static_cast<int32_t>(records.size())};

    const std::vector<FlashListEntry> list = *FlashTableSortedList(&table);
    std::vector<int> order;
    for (const FlashListEntry& entry : list) {
        order.push_back(entry.record);
        EXPECT_EQ(FlashRecordListText(records[static_cast<size_t>(entry.record)]), entry.text);
    }
    EXPECT_EQ((std::vector<int>{8, 7, 6, 3, 2, 4, 1, 0, 5}), order);

#if !defined(_WIN32)
    // The headless list's own comparison agrees, pair by pair.
    for (size_t i = 1; i < list.size(); ++i) {
        EXPECT_LE(fw::headless::detail::CompareNoCase(list[i - 1].text, list[i].text), 0)
            << list[i - 1].text << " / " << list[i].text;
    }
#endif

    const FlashTable none{0, nullptr, 5};
    EXPECT_TRUE(FlashTableSortedList(&none)->empty());
    EXPECT_TRUE(FlashTableSortedList(nullptr)->empty());
}

// The list of the last table is given again only while its records are the
// same bytes, wherever they lie; a record changed in place is listed afresh.
TEST(FlashListOrder, ATableChangedInPlaceIsListedAfresh) {
    std::vector<FlashRecord> records = Records({{"SLC", "FXB"}, {"MLC", "FXA"}});
    const FlashTable table{0, records.data(), 2};
    const auto first = FlashTableSortedList(&table);
    ASSERT_EQ(2u, first->size());
    EXPECT_EQ("MLC FXA", first->front().text);

    std::vector<FlashRecord> copy = records;
    const FlashTable moved{0, copy.data(), 2};
    EXPECT_EQ(first, FlashTableSortedList(&moved)) << "the same records elsewhere";

    records[1].flashName[2] = 'C';
    records[1].firstText[0] = 'T';
    const auto changed = FlashTableSortedList(&table);
    EXPECT_EQ("SLC FXB", changed->front().text);
    EXPECT_EQ("TLC FXC", changed->back().text);
    EXPECT_EQ("MLC FXA", first->front().text) << "a list handed out stays as it was";

    const FlashTable shorter{0, records.data(), 1};
    EXPECT_EQ(1u, FlashTableSortedList(&shorter)->size());
}
