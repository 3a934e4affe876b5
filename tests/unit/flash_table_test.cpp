// Reading the host's flash table: only what the host handed over, never past
// a record's 96 bytes.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "module/FlashTable.h"

namespace {

TEST(FlashTable, CountTreatsBrokenTablesAsEmpty) {
    FlashRecord records[3] = {};
    const FlashTable good{0, records, 3};
    const FlashTable empty{0, records, 0};
    const FlashTable negative{0, records, -1};
    const FlashTable hugeNegative{0, records, INT32_MIN};
    const FlashTable nullRecords{0, nullptr, 3};
    const struct {
        const FlashTable* table;
        int count;
    } cases[] = {
        {&good, 3},         {&empty, 0},       {&negative, 0},
        {&hugeNegative, 0}, {&nullRecords, 0}, {nullptr, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.count, FlashTableCount(c.table)) << "case " << (&c - cases);
    }

    EXPECT_EQ(&records[0], FlashTableRecord(&good, 0));
    EXPECT_EQ(&records[2], FlashTableRecord(&good, 2));
    for (int index : {-1, 3, 100, INT32_MIN}) {
        EXPECT_EQ(nullptr, FlashTableRecord(&good, index)) << index;
    }
    EXPECT_EQ(nullptr, FlashTableRecord(&nullRecords, 0));
    EXPECT_EQ(nullptr, FlashTableRecord(&negative, 0));
    EXPECT_EQ(nullptr, FlashTableRecord(nullptr, 0));
}

TEST(FlashTable, RecordsLie96BytesApart) {
    EXPECT_EQ(96u, sizeof(FlashRecord));
    EXPECT_EQ(16u, offsetof(FlashRecord, flashName));
}

TEST(FlashTable, TextsStopAtNulOrTheEndOfTheirField) {
    FlashRecord record = {};
    std::strcpy(record.firstText, "FX");
    std::strcpy(record.flashName, "FX29F64G08");
    EXPECT_EQ("FX", FlashRecordFirstText(record));
    EXPECT_EQ("FX29F64G08", FlashRecordName(record));
    EXPECT_EQ("FX FX29F64G08", FlashRecordListText(record));

    // A record that is all text and no NUL, alone on the heap: any read past
    // its 96 bytes trips the address sanitizer.
    std::unique_ptr<FlashRecord> full(new FlashRecord);
    std::memset(full->firstText, 'F', sizeof full->firstText);
    std::memset(full->flashName, 'N', sizeof full->flashName);
    EXPECT_EQ(std::string(16, 'F'), FlashRecordFirstText(*full));
    EXPECT_EQ(std::string(80, 'N'), FlashRecordName(*full));
    EXPECT_EQ(std::string(16, 'F') + " " + std::string(80, 'N'), FlashRecordListText(*full));

    FlashRecord empty = {};
    EXPECT_EQ(" ", FlashRecordListText(empty));
}

}  // namespace
