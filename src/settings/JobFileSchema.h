// The job file's schema: one row for every key the module reads or writes.
// A row gives the section and key as written, how the text becomes a value
// (kind, default, rule), the member of CJobSettings that holds it (the rows
// the settings load reads), the page or dialog that writes it, what the value
// means, and how an export or import copies it. The load (CJobSettings::Load),
// the listing and the check of a job file (jobini settings, diff, check), the
// pages' saves (JobFileWriter), the advanced dialog's reads, the transfer of
// the advanced keys and the key reference (jobini schema) all walk it.
//
// The table lists the record's rows in the order the load reads them. That
// order differs from the record's declaration order in [BIN] and [U3Bin], and
// rows of numbered keys are read together, number by number (BinCap1, BinBB1,
// BINCO1, BinCap2...); the listing follows the declaration order. The rows
// without a member follow, the advanced keys in the order the transfer copies
// them.
#ifndef SETUP_SETTINGS_JOBFILESCHEMA_H
#define SETUP_SETTINGS_JOBFILESCHEMA_H

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

// Every row of the schema, in table order.
enum class JobKey : uint8_t {
    CTLType,
    DrivingLevel,
    ShowTPCTLName,
    FlashIndex,
    FlashName,
    UnAutoCheck,
    FlashNum,
    ChannelNum,
    RWCycle,
    ScanMode,
    FlashCheck,
    ECC,
    ReadAfterWroteAll,
    FlashIdBytes,
    CheckFlashMode,
    CheckFlashIndex,
    LoopSel,
    OpenShortCE,
    CheckLEDShort,
    CheckUID,
    WarmUp,
    CheckIdNum,
    CheckIdFID,
    CheckIdColor,
    CheckIdTextColor,
    CheckFlashModeFixUp,
    ShowBin,
    StandBin,
    ColorBin,
    Grade0Base,
    BinCap,
    BinBB,
    BINCO,
    ShowU3Bin,
    U3ColorBin,
    ShowSSDBin,
    SSDColorBin,
    U3BinCap,
    U3BinCo,
    SSDBinCap,
    SSDBinCo,
    ShowU2Bin,
    EnhanceCheck,
    SetU3BinBgColor,
    U3BinBgColor,
    LoopTimes,
    LoopPage,
    LoopBlock,
    HubPort,
    VidPid,
    VidPidJoined,
    CheckDDR,
    SortingBlockNum,
    CheckLevel,
    FixedCapability,
    AutoMPTimer,
    SpecialSortingClassCheck,
    CheckDataRetain,
    SetSum19nmFeature,
    UELC,
    CheckFixedCap,
    CheckFlashPin,
    ReadSandiskFlashID,
    CheckTog,
    UIType,
    RowShow,
    MinCapLimit,
    MinCap,
    FactoryDriver,
    StartDelay,
    CloseReadRetry,
    ForRamos,
    ID00Err,
    GPI,
    CacheProgram,
    MultiPlane,
    Password,
    RememberPassword,
    Count
};

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
    Copied,    // read by no one: only the transfer copies it
};

// The rule applied to a row's value once it is read (to the low-order byte
// for 8-bit rows).
enum class RuleKind : uint8_t {
    None,
    Below,           // limit or more becomes replacement
    ChipCount,       // anything but 1, 2 or 4 becomes 1
    AtMost,          // more than limit becomes limit
    Clamp,           // below replacement becomes replacement, above limit limit
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

// The page or dialog that writes a row (None: the module only reads it).
enum class Writer : uint8_t { None, ModePage, AdvancedDlg, BinPage, FlashCheckPage, PasswordDlg };

// How the transfer of the advanced keys (export and import) copies a row.
enum class Carry : uint8_t {
    None,    // not copied
    Flag,    // "1" when the whole number is not zero, else "0"
    Range,   // the number when it is in [low, high], else otherwise
    Text,    // the text unchanged
    VidPid,  // the text unchanged, only when [Advanced] HubPort arrives as 4
};

struct Transfer {
    Carry carry = Carry::None;
    int8_t low = 0;
    int8_t high = 0;
    int8_t otherwise = 0;
    int8_t missing = 0;  // what a missing or empty key arrives as (numbers only)
};

// The C++ type of a member's elements.
enum class Storage : uint8_t { U8, I32, U32, String };

// Where a row's value lives in the record (no elements for a row without a
// member).
struct Member {
    Storage storage;
    size_t elements;  // 1, or the extent of an array member
    const void* (*at)(const CJobSettings&, size_t element);
};
constexpr Member kNoMember{Storage::I32, 0, nullptr};

struct Row {
    JobKey id;
    const char* section;
    const char* key;  // numbered rows: without the number
    Kind kind;
    int32_t loadDefault;  // numbers only: what a missing key or an empty value reads as
    Rule rule;
    Member member;
    Writer writer;
    const char* meaning;  // what the values mean, for the key reference
    Numbers numbers = Numbers::One;
    Transfer transfer = {};
    const char* writeSection = nullptr;  // the spelling the writer uses, when not section
    const char* textDefault = "";        // texts only
};

// The rows, in the order the load reads them.
struct RowList {
    const Row* first;
    const Row* last;
    const Row* begin() const { return first; }
    const Row* end() const { return last; }
};
RowList Rows();
const Row& RowOf(JobKey key);

// Whether an export carries the row: a page writes it into the exported
// file, or the transfer copies it.
bool Exported(const Row& row);

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

// Reads every member row from the view, in table order.
void LoadRows(const ini::ReadView& file, CJobSettings& settings);

// One row read straight from a job file, as the page or dialog that shows it
// reads it: a number through the row's default, width and rule; a text
// through a 260-byte buffer with the row's text default.
uint32_t ReadNumber(const std::string& file, JobKey key);
std::string ReadText(const std::string& file, JobKey key);

// Writes rows into one job file and collects the keys it could not write,
// so that a save reports them once.
class JobFileWriter {
public:
    explicit JobFileWriter(std::string path) : m_path(std::move(path)) {}
    // A number as signed decimal text; element: of a numbered row.
    void Number(JobKey key, int32_t value, size_t element = 0);
    // "1" or "0".
    void Flag(JobKey key, bool on, size_t element = 0);
    void Text(JobKey key, const std::string& text, size_t element = 0);

    const std::string& Path() const { return m_path; }
    // "[Section] Key" of every write that failed, in order.
    const std::vector<std::string>& Failed() const { return m_failed; }

private:
    std::string m_path;
    std::vector<std::string> m_failed;
};

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
