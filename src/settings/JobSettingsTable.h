// The rows of the job settings record as data: for every member of
// CJobSettings the INI section and key it is loaded from, how the number read
// becomes its value, its load default and the rule applied once it is read.
// The load (CJobSettings::Load), the listing (ListJobSettings: jobini
// settings and diff) and the check of a job file (CheckJobSettings: jobini
// check) all walk this one table.
//
// The table lists the rows in the order the load reads them. That order
// differs from the record's declaration order in [BIN] and [U3Bin], and rows
// of numbered keys are read together, number by number (BinCap1, BinBB1,
// BINCO1, BinCap2...); the listing follows the declaration order.
#ifndef SETUP_SETTINGS_JOBSETTINGSTABLE_H
#define SETUP_SETTINGS_JOBSETTINGSTABLE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "settings/JobSettings.h"

namespace ini {
class ReadView;
}

namespace jobsettings {

// How a row's value is read and kept.
enum class Kind : uint8_t {
    Byte,      // unsigned 8-bit: the low-order byte of the number read
    Flag,      // 1 when the low-order byte of the number read is nonzero (256
               // reads as 0), in an 8-bit or a 32-bit member
    Signed,    // signed 32-bit: the number read, modulo 2^32
    Unsigned,  // unsigned 32-bit
    Color,     // a colour 0x00BBGGRR, unsigned 32-bit
    Text,      // text read through a 260-byte buffer: at most 259 characters
    FlashIds,  // [CheckFlash] FID: up to six flash ID bytes, comma-separated
    FixUp,     // no key of its own: the row's rule applied to its member at
               // this point of the load
};

// The rule applied to a row's value once it is read (to the low-order byte
// for 8-bit rows).
enum class RuleKind : uint8_t {
    None,
    Below,           // limit or more becomes replacement
    ChipCount,       // anything but 1, 2 or 4 becomes 1
    AtMost,          // more than limit becomes limit
    ColorIndex,      // kept as read; it names an entry of the colour-name
                     // table only from 0 to limit - 1
    CheckModeFixUp,  // mode 0 while [CheckFlash] FlashIndex is -1, or mode 1
                     // while [CheckID] Num is 0, becomes 2
};

struct Rule {
    RuleKind kind = RuleKind::None;
    uint32_t limit = 0;
    uint32_t replacement = 0;
};

// Which keys a row stands for. A numbered row is key<number> for a run of
// numbers; array element i belongs to number i (CheckIds) or i + 1 (the
// others).
enum class Numbers : uint8_t {
    One,       // the key itself
    CheckIds,  // 0 to [CheckID] Num - 1, as read before
    Bins,      // 1 to 16
    U3Bins,    // 1 to 8
};

// The C++ type of a member's elements.
enum class Storage : uint8_t { U8, I32, U32, String };

// Where a row's value lives in the record.
struct Member {
    Storage storage;
    size_t elements;  // 1, or the extent of an array member
    const void* (*at)(const CJobSettings&, size_t element);
};

struct Row {
    const char* section;
    const char* key;  // numbered rows: without the number
    Kind kind;
    int32_t loadDefault;  // numbers only: what a missing key or an empty value reads as
    Rule rule;
    Member member;
    Numbers numbers = Numbers::One;
};

// The rows, in the order the load reads them.
struct RowList {
    const Row* first;
    const Row* last;
    const Row* begin() const { return first; }
    const Row* end() const { return last; }
};
RowList Rows();

// The rows that are members (no fix-ups), in the record's declaration order.
const std::vector<const Row*>& RowsInRecordOrder();

// The key of one element of a row: "BinCap3" for element 2 of BinCap.
std::string KeyOf(const Row& row, size_t element);

// How many elements of the row the load reads, given the record as loaded so
// far ([CheckID] Num for the CheckIds rows).
size_t ElementsRead(const Row& row, const CJobSettings& settings);

// A numeric element as a 32-bit pattern, and its setter.
uint32_t NumberOf(const Row& row, const CJobSettings& settings, size_t element);
void SetNumber(const Row& row, CJobSettings& settings, size_t element, uint32_t value);
// An element as text: decimal for numbers (signed for signed members).
std::string ValueText(const Row& row, const CJobSettings& settings, size_t element);

// The member's value from the number the integer read gave: the low byte,
// or the flag of the low byte.
uint32_t FromNumber(Kind kind, uint32_t number);
// The row's rule applied to value; settings is the record as loaded so far.
uint32_t ApplyRule(const Row& row, uint32_t value, const CJobSettings& settings);

// The pieces of [CheckFlash] FID: the text split at commas, empty pieces
// skipped; the load takes the first kFlashIdBytes.
std::vector<std::string_view> FlashIdPieces(std::string_view text);

// Reads every row from the view, in table order.
void LoadRows(const ini::ReadView& file, CJobSettings& settings);

// The member reference of a table row, with the storage taken from the
// member's declaration.
template <typename T>
constexpr Storage StorageOf() {
    if constexpr (std::is_same_v<T, uint8_t>) {
        return Storage::U8;
    } else if constexpr (std::is_same_v<T, int32_t>) {
        return Storage::I32;
    } else if constexpr (std::is_same_v<T, uint32_t>) {
        return Storage::U32;
    } else {
        static_assert(std::is_same_v<T, std::string>, "a member type the table cannot hold");
        return Storage::String;
    }
}

template <auto Section, auto Field>
const void* ElementOf(const CJobSettings& settings, size_t element) {
    const auto& field = (settings.*Section).*Field;
    if constexpr (std::is_array_v<std::remove_reference_t<decltype(field)>>) {
        return &field[element];
    } else {
        (void)element;
        return &field;
    }
}

template <auto Section, auto Field>
constexpr Member MemberOf() {
    using F = std::remove_cv_t<
        std::remove_reference_t<decltype(std::declval<const CJobSettings&>().*Section.*Field)>>;
    return {StorageOf<std::remove_all_extents_t<F>>(), std::is_array_v<F> ? std::extent_v<F> : 1,
            &ElementOf<Section, Field>};
}

}  // namespace jobsettings

// JOB_MEMBER(Flash, FlashNum): the member JobSettings.Flash.FlashNum.
#define JOB_MEMBER(section, field) \
    ::jobsettings::MemberOf<&CJobSettings::section, &decltype(CJobSettings::section)::field>()

#endif
