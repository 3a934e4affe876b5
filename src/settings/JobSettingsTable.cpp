#include "settings/JobSettingsTable.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>

#include "platform/ini.h"

namespace jobsettings {

namespace {

constexpr Rule kNoRule{};
constexpr Rule Below(uint32_t limit, uint32_t replacement) {
    return {RuleKind::Below, limit, replacement};
}
constexpr Rule AtMost(uint32_t limit) {
    return {RuleKind::AtMost, limit, 0};
}
constexpr Rule kChipCount{RuleKind::ChipCount, 0, 0};
// The six names of the flash ID colours (BLUE to GREEN).
constexpr Rule kColorIndex{RuleKind::ColorIndex, 6, 0};
constexpr Rule kCheckModeFixUp{RuleKind::CheckModeFixUp, 0, 0};

constexpr uint32_t kBinColor = CJobSettings::kDefaultBinColor;

// Section, key, kind, load default, rule, member (and the numbers of
// numbered keys), in the order the load reads them.
constexpr Row kRows[] = {
    {"Setup", "CTLType", Kind::Byte, 0, Below(6, 0), JOB_MEMBER(Setup, CTLType)},
    {"Setup", "DrivingLevel", Kind::Byte, 0, kNoRule, JOB_MEMBER(Setup, DrivingLevel)},
    {"Setup", "ShowTPCTLName", Kind::Flag, 0, kNoRule, JOB_MEMBER(Setup, ShowTPCTLName)},

    {"Flash", "FlashIndex", Kind::Signed, 0, kNoRule, JOB_MEMBER(Flash, FlashIndex)},
    {"Flash", "FlashName", Kind::Text, 0, kNoRule, JOB_MEMBER(Flash, FlashName)},
    {"Flash", "UnAutoCheck", Kind::Flag, 0, kNoRule, JOB_MEMBER(Flash, UnAutoCheck)},
    {"Flash", "FlashNum", Kind::Byte, 0, kChipCount, JOB_MEMBER(Flash, FlashNum)},
    {"Flash", "ChannelNum", Kind::Byte, 0, kNoRule, JOB_MEMBER(Flash, ChannelNum)},
    {"Flash", "RWCycle", Kind::Byte, 5, Below(8, 5), JOB_MEMBER(Flash, RWCycle)},

    {"Sorting", "ScanMode", Kind::Byte, 1, Below(3, 1), JOB_MEMBER(Sorting, ScanMode)},
    {"Sorting", "FlashCheck", Kind::Byte, 1, Below(6, 1), JOB_MEMBER(Sorting, FlashCheck)},
    {"Sorting", "ECC", Kind::Byte, 0, Below(16, 255), JOB_MEMBER(Sorting, ECC)},
    {"Sorting", "ReadAfterWroteAll", Kind::Flag, 0, kNoRule,
     JOB_MEMBER(Sorting, ReadAfterWroteAll)},

    {"CheckFlash", "FID", Kind::FlashIds, 0, kNoRule, JOB_MEMBER(CheckFlash, FID)},
    {"CheckFlash", "CheckFlashMode", Kind::Byte, 2, kNoRule,
     JOB_MEMBER(CheckFlash, CheckFlashMode)},
    {"CheckFlash", "FlashIndex", Kind::Signed, -1, kNoRule, JOB_MEMBER(CheckFlash, FlashIndex)},
    {"CheckFlash", "LoopSel", Kind::Signed, 0, kNoRule, JOB_MEMBER(CheckFlash, LoopSel)},
    {"CheckFlash", "OpenShortCE", Kind::Signed, 0, kNoRule, JOB_MEMBER(CheckFlash, OpenShortCE)},
    {"CheckFlash", "CheckLEDShort", Kind::Signed, 1, kNoRule,
     JOB_MEMBER(CheckFlash, CheckLEDShort)},
    {"CheckFlash", "CheckUID", Kind::Signed, 0, kNoRule, JOB_MEMBER(CheckFlash, CheckUID)},
    {"CheckFlash", "WarmUp", Kind::Signed, 0, kNoRule, JOB_MEMBER(CheckFlash, WarmUp)},

    // Only the entries below Num are read; the others keep their values.
    {"CheckID", "Num", Kind::Unsigned, 0, AtMost(CJobSettings::kCheckIds),
     JOB_MEMBER(CheckID, Num)},
    {"CheckID", "FID", Kind::Text, 0, kNoRule, JOB_MEMBER(CheckID, FID), Numbers::CheckIds},
    {"CheckID", "COLOR", Kind::Signed, 0, kColorIndex, JOB_MEMBER(CheckID, COLOR),
     Numbers::CheckIds},
    {"CheckID", "FIDCOR", Kind::Signed, 0, kNoRule, JOB_MEMBER(CheckID, FIDCOR), Numbers::CheckIds},

    // Once [CheckFlash] and [CheckID] are read: a mode without what it needs.
    {"CheckFlash", "CheckFlashMode", Kind::FixUp, 0, kCheckModeFixUp,
     JOB_MEMBER(CheckFlash, CheckFlashMode)},

    {"BIN", "ShowBin", Kind::Flag, 0, kNoRule, JOB_MEMBER(BIN, ShowBin)},
    {"BIN", "StandBin", Kind::Flag, 0, kNoRule, JOB_MEMBER(BIN, StandBin)},
    {"BIN", "ColorBin", Kind::Flag, 0, kNoRule, JOB_MEMBER(BIN, ColorBin)},
    {"BIN", "Grade0Base", Kind::Flag, 0, kNoRule, JOB_MEMBER(BIN, Grade0Base)},
    {"BIN", "BinCap", Kind::Signed, 0, kNoRule, JOB_MEMBER(BIN, BinCap), Numbers::Bins},
    {"BIN", "BinBB", Kind::Signed, 0, kNoRule, JOB_MEMBER(BIN, BinBB), Numbers::Bins},
    {"BIN", "BINCO", Kind::Color, kBinColor, kNoRule, JOB_MEMBER(BIN, BINCO), Numbers::Bins},

    {"U3Bin", "ShowU3Bin", Kind::Flag, 0, kNoRule, JOB_MEMBER(U3Bin, ShowU3Bin)},
    {"U3Bin", "U3ColorBin", Kind::Flag, 0, kNoRule, JOB_MEMBER(U3Bin, U3ColorBin)},
    {"U3Bin", "ShowSSDBin", Kind::Flag, 0, kNoRule, JOB_MEMBER(U3Bin, ShowSSDBin)},
    {"U3Bin", "SSDColorBin", Kind::Flag, 0, kNoRule, JOB_MEMBER(U3Bin, SSDColorBin)},
    {"U3Bin", "U3BinCap", Kind::Signed, 0, kNoRule, JOB_MEMBER(U3Bin, U3BinCap), Numbers::U3Bins},
    {"U3Bin", "U3BinCo", Kind::Color, kBinColor, kNoRule, JOB_MEMBER(U3Bin, U3BinCo),
     Numbers::U3Bins},
    {"U3Bin", "SSDBinCap1", Kind::Signed, 0, kNoRule, JOB_MEMBER(U3Bin, SSDBinCap)},
    {"U3Bin", "SSDBinCo1", Kind::Color, kBinColor, kNoRule, JOB_MEMBER(U3Bin, SSDBinCo)},
    {"U3Bin", "ShowU2Bin", Kind::Flag, 0, kNoRule, JOB_MEMBER(U3Bin, ShowU2Bin)},
    {"U3Bin", "EnhanceCheck", Kind::Byte, 0, Below(3, 0), JOB_MEMBER(U3Bin, EnhanceCheck)},
    {"U3Bin", "SetU3BinBgColor", Kind::Flag, 0, kNoRule, JOB_MEMBER(U3Bin, SetU3BinBgColor)},
    {"U3Bin", "U3BinBgColor", Kind::Color, kBinColor, kNoRule, JOB_MEMBER(U3Bin, U3BinBgColor)},
};

constexpr size_t CountOf(Numbers numbers) {
    switch (numbers) {
        case Numbers::CheckIds:
            return CJobSettings::kCheckIds;
        case Numbers::Bins:
            return CJobSettings::kBins;
        case Numbers::U3Bins:
            return CJobSettings::kU3Bins;
        case Numbers::One:
            break;
    }
    return 1;
}

// Each row's kind fits its member's type, and its numbers its array.
constexpr bool Fits(const Row& row) {
    const Storage s = row.member.storage;
    bool type = false;
    switch (row.kind) {
        case Kind::Byte:
        case Kind::FlashIds:
            type = s == Storage::U8;
            break;
        case Kind::Flag:
            type = s == Storage::U8 || s == Storage::I32;
            break;
        case Kind::Signed:
            type = s == Storage::I32;
            break;
        case Kind::Unsigned:
        case Kind::Color:
            type = s == Storage::U32;
            break;
        case Kind::Text:
            type = s == Storage::String;
            break;
        case Kind::FixUp:
            type = s != Storage::String;
            break;
    }
    const size_t elements =
        row.kind == Kind::FlashIds ? size_t(CJobSettings::kFlashIdBytes) : CountOf(row.numbers);
    return type && row.member.elements == elements;
}

constexpr bool AllFit() {
    for (const Row& row : kRows) {
        if (!Fits(row)) {
            return false;
        }
    }
    return true;
}
static_assert(AllFit(), "a row's kind or numbers do not fit its member");

// Numbered keys are short: the longest is "U3BinCap" with two digits.
class Key {
public:
    Key(const Row& row, size_t element) {
        if (row.numbers == Numbers::One) {
            m_text = row.key;
            return;
        }
        const size_t length = std::strlen(row.key);
        std::memcpy(m_buffer, row.key, length);
        const size_t number = element + (row.numbers == Numbers::CheckIds ? 0 : 1);
        char* end = std::to_chars(m_buffer + length, m_buffer + sizeof m_buffer - 1, number).ptr;
        *end = '\0';
        m_text = m_buffer;
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    const char* c_str() const { return m_text; }

private:
    char m_buffer[32];
    const char* m_text;
};

void* Mutable(const Row& row, CJobSettings& settings, size_t element) {
    // The accessor is shared by const and non-const records; this one is not const.
    return const_cast<void*>(row.member.at(settings, element));
}

void LoadElement(const ini::ReadView& file, const Row& row, CJobSettings& settings,
                 size_t element) {
    const Key key(row, element);
    switch (row.kind) {
        case Kind::Text:
            *static_cast<std::string*>(Mutable(row, settings, element)) =
                file.GetString(row.section, key.c_str(), "", 260);
            return;
        case Kind::FlashIds: {
            // Bytes beyond the last piece keep their values.
            const std::string text = file.GetString(row.section, key.c_str(), "", 260);
            const std::vector<std::string_view> pieces = FlashIdPieces(text);
            for (size_t i = 0; i < pieces.size() && i < row.member.elements; ++i) {
                SetNumber(row, settings, i,
                          CJobSettings::ParseFlashIdByte(std::string(pieces[i])) & 0xFF);
            }
            return;
        }
        case Kind::FixUp:
            SetNumber(row, settings, element,
                      ApplyRule(row, NumberOf(row, settings, element), settings));
            return;
        default: {
            const uint32_t number = file.GetInt(row.section, key.c_str(), row.loadDefault);
            SetNumber(row, settings, element,
                      ApplyRule(row, FromNumber(row.kind, number), settings));
            return;
        }
    }
}

}  // namespace

RowList Rows() {
    return {std::begin(kRows), std::end(kRows)};
}

const std::vector<const Row*>& RowsInRecordOrder() {
    // Members of a struct lie at increasing addresses in declaration order,
    // and so do the section structs in the record: sorting by address gives
    // the declaration order.
    static const std::vector<const Row*> rows = [] {
        const CJobSettings probe;
        std::vector<const Row*> members;
        for (const Row& row : kRows) {
            if (row.kind != Kind::FixUp) {
                members.push_back(&row);
            }
        }
        std::sort(members.begin(), members.end(), [&probe](const Row* a, const Row* b) {
            return std::less<const void*>()(a->member.at(probe, 0), b->member.at(probe, 0));
        });
        return members;
    }();
    return rows;
}

std::string KeyOf(const Row& row, size_t element) {
    return Key(row, element).c_str();
}

size_t ElementsRead(const Row& row, const CJobSettings& settings) {
    if (row.numbers == Numbers::CheckIds) {
        return std::min<size_t>(settings.CheckID.Num, row.member.elements);
    }
    return row.kind == Kind::FlashIds ? 1 : row.member.elements;
}

uint32_t NumberOf(const Row& row, const CJobSettings& settings, size_t element) {
    const void* at = row.member.at(settings, element);
    switch (row.member.storage) {
        case Storage::U8:
            return *static_cast<const uint8_t*>(at);
        case Storage::I32:
            return static_cast<uint32_t>(*static_cast<const int32_t*>(at));
        case Storage::U32:
            return *static_cast<const uint32_t*>(at);
        case Storage::String:
            break;
    }
    return 0;
}

void SetNumber(const Row& row, CJobSettings& settings, size_t element, uint32_t value) {
    void* at = Mutable(row, settings, element);
    switch (row.member.storage) {
        case Storage::U8:
            *static_cast<uint8_t*>(at) = static_cast<uint8_t>(value);
            return;
        case Storage::I32:
            *static_cast<int32_t*>(at) = static_cast<int32_t>(value);
            return;
        case Storage::U32:
            *static_cast<uint32_t*>(at) = value;
            return;
        case Storage::String:
            return;
    }
}

std::string ValueText(const Row& row, const CJobSettings& settings, size_t element) {
    switch (row.member.storage) {
        case Storage::String:
            return *static_cast<const std::string*>(row.member.at(settings, element));
        case Storage::I32:
            return std::to_string(static_cast<int32_t>(NumberOf(row, settings, element)));
        default:
            return std::to_string(NumberOf(row, settings, element));
    }
}

uint32_t FromNumber(Kind kind, uint32_t number) {
    switch (kind) {
        case Kind::Byte:
            return number & 0xFF;
        case Kind::Flag:
            return (number & 0xFF) != 0 ? 1 : 0;
        default:
            return number;
    }
}

uint32_t ApplyRule(const Row& row, uint32_t value, const CJobSettings& settings) {
    const Rule& rule = row.rule;
    switch (rule.kind) {
        case RuleKind::Below:
            return value >= rule.limit ? rule.replacement : value;
        case RuleKind::ChipCount:
            return value == 1 || value == 2 || value == 4 ? value : 1;
        case RuleKind::AtMost:
            return value > rule.limit ? rule.limit : value;
        case RuleKind::CheckModeFixUp:
            if ((value == 0 && settings.CheckFlash.FlashIndex == -1) ||
                (value == 1 && settings.CheckID.Num == 0)) {
                return 2;
            }
            return value;
        case RuleKind::None:
        case RuleKind::ColorIndex:
            break;
    }
    return value;
}

std::vector<std::string_view> FlashIdPieces(std::string_view text) {
    std::vector<std::string_view> pieces;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t comma = text.find(',', pos);
        if (comma == std::string_view::npos) {
            comma = text.size();
        }
        if (comma > pos) {
            pieces.push_back(text.substr(pos, comma - pos));
        }
        pos = comma + 1;
    }
    return pieces;
}

void LoadRows(const ini::ReadView& file, CJobSettings& settings) {
    const Row* row = std::begin(kRows);
    while (row != std::end(kRows)) {
        // A run of rows numbered alike is read number by number: FID0,
        // COLOR0, FIDCOR0, FID1, ...
        const Row* run = row + 1;
        while (row->numbers != Numbers::One && run != std::end(kRows) &&
               run->numbers == row->numbers) {
            ++run;
        }
        const size_t count = ElementsRead(*row, settings);
        for (size_t element = 0; element < count; ++element) {
            for (const Row* r = row; r != run; ++r) {
                LoadElement(file, *r, settings, element);
            }
        }
        row = run;
    }
}

}  // namespace jobsettings
