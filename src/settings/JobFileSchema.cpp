#include "settings/JobFileSchema.h"

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

constexpr Writer kMode = Writer::ModePage;
constexpr Writer kBin = Writer::BinPage;
constexpr Writer kCheck = Writer::FlashCheckPage;

constexpr Transfer kCarryFlag{Carry::Flag};
constexpr Transfer Range(int8_t low, int8_t high, int8_t otherwise, int8_t missing) {
    return {Carry::Range, low, high, otherwise, missing};
}

const char kFlag[] = "1 on, 0 off";
const char kColor[] = "a colour 0x00BBGGRR, written as signed decimal (32768: green)";
const char kBinFlagSection[] = "U3BIN";

// The advanced settings dialog's keys: [Advanced], read each time the
// dialog opens as the low byte of the number (MinCap whole).
constexpr Row Advanced(JobKey id, const char* key, Kind kind, int32_t def, Rule rule,
                       const char* meaning, Transfer transfer = {}) {
    return {id,        "Advanced",          key,     kind,         def,     rule,
            kNoMember, Writer::AdvancedDlg, meaning, Numbers::One, transfer};
}

// Section, key, kind, load default, rule, member, writer, meaning (and the
// numbers of numbered keys), the record's rows in the order the load reads
// them; then the rows without a member.
constexpr Row kRows[] = {
    {JobKey::CTLType, "Setup", "CTLType", Kind::Byte, 0, Below(6, 0), JOB_MEMBER(Setup, CTLType),
     kMode,
     "controller: 0 automatic detection, 1 to 5 RX-310, RX-320, RX-330, RX-340G, RX-470T "
     "(with ShowTPCTLName: RX-350, RX-320, RX-360, RX-340G, RX-470T)"},
    {JobKey::DrivingLevel, "Setup", "DrivingLevel", Kind::Byte, 0, kNoRule,
     JOB_MEMBER(Setup, DrivingLevel), kMode,
     "driving level: 0, 17, 34 ... 119 for levels 0 to 7 (the level in both nibbles), 136 the "
     "default"},
    {JobKey::ShowTPCTLName, "Setup", "ShowTPCTLName", Kind::Flag, 0, kNoRule,
     JOB_MEMBER(Setup, ShowTPCTLName), Writer::None,
     "1: the controller list shows the second set of names"},

    {JobKey::FlashIndex, "Flash", "FlashIndex", Kind::Signed, 0, kNoRule,
     JOB_MEMBER(Flash, FlashIndex), kMode,
     "the first record of the station's flash table with the chosen flash name; -1 none"},
    {JobKey::FlashName, "Flash", "FlashName", Kind::Text, 0, kNoRule, JOB_MEMBER(Flash, FlashName),
     kMode, "the chosen flash's name; empty: none"},
    {JobKey::UnAutoCheck, "Flash", "UnAutoCheck", Kind::Flag, 0, kNoRule,
     JOB_MEMBER(Flash, UnAutoCheck), kMode,
     "1: the flash is chosen by name, no automatic detection (flash number and channel can be "
     "set)"},
    {JobKey::FlashNum, "Flash", "FlashNum", Kind::Byte, 0, kChipCount, JOB_MEMBER(Flash, FlashNum),
     kMode, "flash chips: 1, 2 or 4"},
    {JobKey::ChannelNum, "Flash", "ChannelNum", Kind::Byte, 0, kNoRule,
     JOB_MEMBER(Flash, ChannelNum), kMode, "0 single channel, 1 dual channel"},
    {JobKey::RWCycle, "Flash", "RWCycle", Kind::Byte, 5, Below(8, 5), JOB_MEMBER(Flash, RWCycle),
     kMode,
     "read/write cycle: 5 default, 6 20 ns, 0 25 ns, 1 33 ns, 7 41 ns, 2 50 ns, 3 66 ns, 4 133 "
     "ns"},

    {JobKey::ScanMode, "Sorting", "ScanMode", Kind::Byte, 1, Below(3, 1),
     JOB_MEMBER(Sorting, ScanMode), kMode, "test mode: 0 traffic light, 1 fast test, 2 open/short"},
    {JobKey::FlashCheck, "Sorting", "FlashCheck", Kind::Byte, 1, Below(6, 1),
     JOB_MEMBER(Sorting, FlashCheck), kMode,
     "test case: 0 normal, 1 half, 2 interference, 3 get mark OBBT, 4 get mark RBBT, 5 get mark "
     "erase (3 to 5 sort by bad blocks)"},
    {JobKey::ECC, "Sorting", "ECC", Kind::Byte, 0, Below(16, 255), JOB_MEMBER(Sorting, ECC), kMode,
     "ECC limit 0 to 15; 255 the default count"},
    {JobKey::ReadAfterWroteAll, "Sorting", "ReadAfterWroteAll", Kind::Flag, 0, kNoRule,
     JOB_MEMBER(Sorting, ReadAfterWroteAll), Writer::None, kFlag},

    {JobKey::FlashIdBytes, "CheckFlash", "FID", Kind::FlashIds, 0, kNoRule,
     JOB_MEMBER(CheckFlash, FID), Writer::None,
     "up to six flash ID bytes in hexadecimal, separated by commas (0x98,0x3A)"},
    {JobKey::CheckFlashMode, "CheckFlash", "CheckFlashMode", Kind::Byte, 2, kNoRule,
     JOB_MEMBER(CheckFlash, CheckFlashMode), kCheck,
     "0 check the flash name, 1 check the flash IDs of [CheckID], 2 no check"},
    {JobKey::CheckFlashIndex, "CheckFlash", "FlashIndex", Kind::Signed, -1, kNoRule,
     JOB_MEMBER(CheckFlash, FlashIndex), kCheck,
     "the first record of the flash table with the name checked for; -1 none"},
    {JobKey::LoopSel, "CheckFlash", "LoopSel", Kind::Signed, 0, kNoRule,
     JOB_MEMBER(CheckFlash, LoopSel), kCheck, "read loop: 0 read, 1 write"},
    {JobKey::OpenShortCE, "CheckFlash", "OpenShortCE", Kind::Signed, 0, kNoRule,
     JOB_MEMBER(CheckFlash, OpenShortCE), kCheck,
     "open/short chip enable: 0 to 7 for CE:1 to CE:8"},
    {JobKey::CheckLEDShort, "CheckFlash", "CheckLEDShort", Kind::Signed, 1, kNoRule,
     JOB_MEMBER(CheckFlash, CheckLEDShort), kCheck, kFlag},
    {JobKey::CheckUID, "CheckFlash", "CheckUID", Kind::Signed, 0, kNoRule,
     JOB_MEMBER(CheckFlash, CheckUID), kCheck, kFlag},
    {JobKey::WarmUp, "CheckFlash", "WarmUp", Kind::Signed, 0, kNoRule,
     JOB_MEMBER(CheckFlash, WarmUp), kCheck, kFlag},

    // Only the entries below Num are read; the others keep their values.
    {JobKey::CheckIdNum, "CheckID", "Num", Kind::Unsigned, 0, AtMost(CJobSettings::kCheckIds),
     JOB_MEMBER(CheckID, Num), kCheck, "how many flash IDs the list holds (FID0 on)"},
    {JobKey::CheckIdFID, "CheckID", "FID", Kind::Text, 0, kNoRule, JOB_MEMBER(CheckID, FID), kCheck,
     "a flash ID as typed in the flash ID editor", Numbers::CheckIds},
    {JobKey::CheckIdColor, "CheckID", "COLOR", Kind::Signed, 0, kColorIndex,
     JOB_MEMBER(CheckID, COLOR), kCheck,
     "the flash ID's colour: 0 BLUE, 1 PURPLE, 2 DARK ORANGE, 3 DARK CYAN, 4 CYAN, 5 GREEN",
     Numbers::CheckIds},
    {JobKey::CheckIdTextColor, "CheckID", "FIDCOR", Kind::Signed, 0, kNoRule,
     JOB_MEMBER(CheckID, FIDCOR), kCheck, "the colour the editor lists the flash ID in, 0x00BBGGRR",
     Numbers::CheckIds},

    // Once [CheckFlash] and [CheckID] are read: a mode without what it needs.
    {JobKey::CheckFlashModeFixUp, "CheckFlash", "CheckFlashMode", Kind::FixUp, 0, kCheckModeFixUp,
     JOB_MEMBER(CheckFlash, CheckFlashMode), Writer::None, ""},

    {JobKey::ShowBin, "BIN", "ShowBin", Kind::Flag, 0, kNoRule, JOB_MEMBER(BIN, ShowBin), kBin,
     "1: the station shows the bins"},
    {JobKey::StandBin, "BIN", "StandBin", Kind::Flag, 0, kNoRule, JOB_MEMBER(BIN, StandBin), kBin,
     "1: standard bins (the thresholds are not set here)"},
    {JobKey::ColorBin, "BIN", "ColorBin", Kind::Flag, 0, kNoRule, JOB_MEMBER(BIN, ColorBin), kBin,
     "1: the bins are checked by colour"},
    {JobKey::Grade0Base, "BIN", "Grade0Base", Kind::Flag, 0, kNoRule, JOB_MEMBER(BIN, Grade0Base),
     Writer::None, "1: the bins are labelled from Bin 0 (the keys count from 1)"},
    {JobKey::BinCap, "BIN", "BinCap", Kind::Signed, 0, kNoRule, JOB_MEMBER(BIN, BinCap), kBin,
     "capacity threshold of the bin, as typed", Numbers::Bins},
    {JobKey::BinBB, "BIN", "BinBB", Kind::Signed, 0, kNoRule, JOB_MEMBER(BIN, BinBB), kBin,
     "bad-block threshold of the bin, as typed; written instead of BinCap while [Sorting] "
     "FlashCheck is 3 to 5",
     Numbers::Bins},
    {JobKey::BINCO, "BIN", "BINCO", Kind::Color, kBinColor, kNoRule, JOB_MEMBER(BIN, BINCO), kBin,
     kColor, Numbers::Bins},

    {JobKey::ShowU3Bin,
     "U3Bin",
     "ShowU3Bin",
     Kind::Flag,
     0,
     kNoRule,
     JOB_MEMBER(U3Bin, ShowU3Bin),
     kBin,
     "1: the station shows the U3 bins (ShowBin is then written 0)",
     Numbers::One,
     {},
     kBinFlagSection},
    {JobKey::U3ColorBin,
     "U3Bin",
     "U3ColorBin",
     Kind::Flag,
     0,
     kNoRule,
     JOB_MEMBER(U3Bin, U3ColorBin),
     kBin,
     "1: the U3 and SSD bins are checked by colour",
     Numbers::One,
     {},
     kBinFlagSection},
    {JobKey::ShowSSDBin,
     "U3Bin",
     "ShowSSDBin",
     Kind::Flag,
     0,
     kNoRule,
     JOB_MEMBER(U3Bin, ShowSSDBin),
     kBin,
     "1: the station shows the SSD bin (ShowBin is then written 0)",
     Numbers::One,
     {},
     kBinFlagSection},
    {JobKey::SSDColorBin, "U3Bin", "SSDColorBin", Kind::Flag, 0, kNoRule,
     JOB_MEMBER(U3Bin, SSDColorBin), Writer::None, kFlag},
    {JobKey::U3BinCap, "U3Bin", "U3BinCap", Kind::Signed, 0, kNoRule, JOB_MEMBER(U3Bin, U3BinCap),
     kBin, "threshold of the U3 bin, as typed", Numbers::U3Bins},
    {JobKey::U3BinCo, "U3Bin", "U3BinCo", Kind::Color, kBinColor, kNoRule,
     JOB_MEMBER(U3Bin, U3BinCo), kBin, kColor, Numbers::U3Bins},
    {JobKey::SSDBinCap, "U3Bin", "SSDBinCap1", Kind::Signed, 0, kNoRule,
     JOB_MEMBER(U3Bin, SSDBinCap), kBin, "threshold of the SSD bin, as typed"},
    {JobKey::SSDBinCo, "U3Bin", "SSDBinCo1", Kind::Color, kBinColor, kNoRule,
     JOB_MEMBER(U3Bin, SSDBinCo), kBin, kColor},
    {JobKey::ShowU2Bin,
     "U3Bin",
     "ShowU2Bin",
     Kind::Flag,
     0,
     kNoRule,
     JOB_MEMBER(U3Bin, ShowU2Bin),
     kBin,
     "1: the station shows the U2 bins too",
     Numbers::One,
     {},
     kBinFlagSection},
    {JobKey::EnhanceCheck,
     "U3Bin",
     "EnhanceCheck",
     Kind::Byte,
     0,
     Below(3, 0),
     JOB_MEMBER(U3Bin, EnhanceCheck),
     kBin,
     "0 default, 1 on, 2 off",
     Numbers::One,
     {},
     kBinFlagSection},
    {JobKey::SetU3BinBgColor,
     "U3Bin",
     "SetU3BinBgColor",
     Kind::Flag,
     0,
     kNoRule,
     JOB_MEMBER(U3Bin, SetU3BinBgColor),
     kBin,
     "1: the U3 bins have the background colour below",
     Numbers::One,
     {},
     kBinFlagSection},
    {JobKey::U3BinBgColor,
     "U3Bin",
     "U3BinBgColor",
     Kind::Color,
     kBinColor,
     kNoRule,
     JOB_MEMBER(U3Bin, U3BinBgColor),
     kBin,
     kColor,
     Numbers::One,
     {},
     kBinFlagSection},

    // Read by the flash check page straight from the file it loads.
    {JobKey::LoopTimes,
     "CheckFlash",
     "PR_Times",
     Kind::Text,
     0,
     kNoRule,
     kNoMember,
     kCheck,
     "read loop times, as shown; empty is written as 0",
     Numbers::One,
     {},
     nullptr,
     "0"},
    {JobKey::LoopPage,
     "CheckFlash",
     "PR_Page",
     Kind::Text,
     0,
     kNoRule,
     kNoMember,
     kCheck,
     "read loop page, as shown; empty is written as 0",
     Numbers::One,
     {},
     nullptr,
     "0"},
    {JobKey::LoopBlock,
     "CheckFlash",
     "PR_Block",
     Kind::Text,
     0,
     kNoRule,
     kNoMember,
     kCheck,
     "read loop block, as shown; empty is written as 0",
     Numbers::One,
     {},
     nullptr,
     "0"},

    // In the order the transfer copies them.
    Advanced(JobKey::HubPort, "HubPort", Kind::Byte, 0, Below(5, 0),
             "hub port style: 0 default, 1 fixed insert index, 2 unfixed insert index, 3 from the "
             "hub profile, 4 by the hub VID/PID list",
             Range(0, 4, 0, 0)),
    Advanced(JobKey::VidPid, "VID_PID", Kind::Text, 0, kNoRule,
             "hub VID/PID list (hub port style 4): entries of 8 hexadecimal digits separated by "
             "commas or by blanks",
             {Carry::VidPid}),
    Advanced(JobKey::VidPidJoined, "VID_PID_RE", Kind::Copied, 0, kNoRule,
             "the entries of VID_PID run together", {Carry::VidPid}),
    Advanced(JobKey::CheckDDR, "CheckDDR", Kind::Flag, 0, kNoRule, kFlag, kCarryFlag),
    Advanced(JobKey::SortingBlockNum, "SortingBlockNum", Kind::Byte, 0, Below(7, 0),
             "0 default, 1 to 6: 8, 12, 16, 32, 64, 128 blocks (with ForRamos 0 to 4: 8, 16, 32, "
             "64, 128)",
             Range(1, 6, 0, 0)),
    Advanced(JobKey::CheckLevel, "CheckLevel", Kind::Byte, 0, Below(7, 0),
             "0 default, 1 to 5: 4, 8, 16, 32, 64 (with ForRamos 0 to 3: 8, 16, 32, 64)",
             Range(1, 6, 0, 0)),
    Advanced(JobKey::FixedCapability, "FixedCapability", Kind::Byte, 1, Below(4, 1),
             "0 to 3: 961, 481, 241, 121", Range(1, 3, 0, 1)),
    Advanced(JobKey::AutoMPTimer, "AutoMPTimer", Kind::Byte, 0, {RuleKind::Clamp, 5, 1},
             "1 default, 2 to 5: 4 s, 6 s, 8 s, 10 s", Range(2, 5, 1, 1)),
    Advanced(JobKey::SpecialSortingClassCheck, "SpecialSortingClassCheck", Kind::Flag, 0, kNoRule,
             kFlag, kCarryFlag),
    Advanced(JobKey::CheckDataRetain, "CheckDataRetain", Kind::Flag, 0, kNoRule, kFlag, kCarryFlag),
    Advanced(JobKey::SetSum19nmFeature, "SetSum19nmFeature", Kind::Flag, 0, kNoRule, kFlag,
             kCarryFlag),
    Advanced(JobKey::UELC, "UELC", Kind::Flag, 0, kNoRule, "1: unerase level command", kCarryFlag),
    Advanced(JobKey::CheckFixedCap, "CheckFixedCap", Kind::Flag, 0, kNoRule,
             "1: FixedCapability applies", kCarryFlag),
    Advanced(JobKey::CheckFlashPin, "CheckFlashPin", Kind::Byte, 0, kNoRule,
             "data pin check: 0 off, 1 normal, 2 D3eD3", Range(1, 2, 0, 0)),
    Advanced(JobKey::ReadSandiskFlashID, "ReadSandiskFlashID", Kind::Byte, 0, kNoRule,
             "0 off, 1 MLC, 2 TLC, 3 auto", Range(1, 3, 0, 0)),
    Advanced(JobKey::CheckTog, "CheckTog", Kind::Byte, 0, kNoRule, "0 default, 1 on, 2 off",
             Range(1, 2, 0, 0)),
    {JobKey::UIType, "Setup", "UIType", Kind::Byte, 0, kNoRule, kNoMember, Writer::AdvancedDlg,
     "station layout: 0 8 ports (default), 1 16 ports, 2 16 ports wide, 3 16 ports mini, 4 20 "
     "ports mini, 5 32 ports",
     Numbers::One, Range(1, 5, 0, 0)},
    {JobKey::RowShow, "Setup", "RowShow", Kind::Copied, 0, kNoRule, kNoMember, Writer::None, kFlag,
     Numbers::One, kCarryFlag},
    Advanced(JobKey::MinCapLimit, "MinCapLimit", Kind::Flag, 0, kNoRule, "1: MinCap applies",
             kCarryFlag),
    Advanced(JobKey::MinCap, "MinCap", Kind::Signed, 0, kNoRule,
             "smallest capacity accepted, in megabytes, as typed", {Carry::Text}),
    Advanced(JobKey::FactoryDriver, "FactoryDriver", Kind::Flag, 0, kNoRule, kFlag),
    Advanced(JobKey::StartDelay, "StartDelay", Kind::Byte, 0, kNoRule,
             "0 default, 1 to 4: 0.5 s, 1.0 s, 1.5 s, 2.0 s"),
    Advanced(JobKey::CloseReadRetry, "CloseReadRetry", Kind::Flag, 0, kNoRule, kFlag),
    Advanced(JobKey::ForRamos, "ForRamos", Kind::Byte, 0, kNoRule,
             "not 0: the Ramos lists of SortingBlockNum and CheckLevel (the dialog does not "
             "write it)"),
    Advanced(JobKey::ID00Err, "ID00Err", Kind::Byte, 0, kNoRule, "0 00, 1 FF, 2 unknown"),
    Advanced(JobKey::GPI, "GPI", Kind::Byte, 0, Below(5, 0),
             "0 default, 1 A2, 2 DA, 3 SetFeature, 4 NULL"),
    Advanced(JobKey::CacheProgram, "CacheProgram", Kind::Flag, 0, kNoRule, kFlag),
    Advanced(JobKey::MultiPlane, "MultiPlane", Kind::Flag, 0, kNoRule, kFlag),

    {JobKey::Password, "PASSWORD", "PWD", Kind::Text, 0, kNoRule, kNoMember, Writer::PasswordDlg,
     "the password, as typed; empty: none"},
    {JobKey::RememberPassword, "PASSWORD", "REMEMBER_PWD", Kind::Signed, 0, kNoRule, kNoMember,
     Writer::PasswordDlg, "not 0: the password dialog opens with the password filled in"},
};

constexpr bool InKeyOrder() {
    for (size_t i = 0; i < std::size(kRows); ++i) {
        if (static_cast<size_t>(kRows[i].id) != i) {
            return false;
        }
    }
    return std::size(kRows) == static_cast<size_t>(JobKey::Count);
}
static_assert(InKeyOrder(), "the rows are not in the order of JobKey");

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
    if (row.member.elements == 0) {
        return row.kind != Kind::FixUp && row.kind != Kind::FlashIds;
    }
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
        case Kind::Copied:
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

const Row& RowOf(JobKey key) {
    return kRows[static_cast<size_t>(key)];
}

bool Exported(const Row& row) {
    switch (row.writer) {
        case Writer::ModePage:
        case Writer::BinPage:
        case Writer::FlashCheckPage:
            return true;
        default:
            return row.transfer.carry != Carry::None;
    }
}

const std::vector<const Row*>& RowsInRecordOrder() {
    // Members of a struct lie at increasing addresses in declaration order,
    // and so do the section structs in the record: sorting by address gives
    // the declaration order.
    static const std::vector<const Row*> rows = [] {
        const CJobSettings probe;
        std::vector<const Row*> members;
        for (const Row& row : kRows) {
            if (row.kind != Kind::FixUp && row.member.elements != 0) {
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
        case RuleKind::Clamp:
            return value < rule.replacement ? rule.replacement
                                            : (value > rule.limit ? rule.limit : value);
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
        if (row->member.elements == 0) {
            ++row;
            continue;
        }
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

uint32_t ReadNumber(const std::string& file, JobKey key) {
    // The rules of rows without a member look at no other setting.
    static const CJobSettings kNone;
    const Row& row = RowOf(key);
    const uint32_t number = ini::GetInt(row.section, row.key, row.loadDefault, file);
    return ApplyRule(row, FromNumber(row.kind, number), kNone);
}

std::string ReadText(const std::string& file, JobKey key) {
    const Row& row = RowOf(key);
    return ini::GetString(row.section, row.key, row.textDefault, file, 260);
}

void JobFileWriter::Text(JobKey key, const std::string& text, size_t element) {
    const Row& row = RowOf(key);
    const char* section = row.writeSection != nullptr ? row.writeSection : row.section;
    const Key name(row, element);
    if (!ini::WriteString(section, name.c_str(), text.c_str(), m_path.c_str())) {
        m_failed.push_back(std::string("[") + section + "] " + name.c_str());
    }
}

void JobFileWriter::Number(JobKey key, int32_t value, size_t element) {
    Text(key, std::to_string(value), element);
}

void JobFileWriter::Flag(JobKey key, bool on, size_t element) {
    Text(key, on ? "1" : "0", element);
}

}  // namespace jobsettings
