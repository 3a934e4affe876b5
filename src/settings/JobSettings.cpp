#include "settings/JobSettings.h"

#include <cstdio>

#include "platform/files.h"
#include "platform/ini.h"

namespace {

// Read when the job file cannot be opened; looked up in the current directory.
const char kFallbackJobFile[] = "TLMQW.ini";

std::string InCurrentDirectory(const char* name) {
    std::string dir = files::CurrentDirectory();
    if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') {
        dir += '\\';
    }
    return dir + name;
}

std::string NumberedKey(const char* prefix, int number) {
    char key[64];
    std::snprintf(key, sizeof key, "%s%d", prefix, number);
    return key;
}

// The readers of one section of one file, with the member rules: 8-bit
// members keep the low-order byte, flags test that byte.
class SectionReader {
public:
    SectionReader(const std::string& path, const char* section)
        : m_path(path), m_section(section) {}

    uint32_t Number(const char* key, int32_t defaultValue) const {
        return ini::GetInt(m_section, key, defaultValue, m_path);
    }
    uint32_t Number(const std::string& key, int32_t defaultValue) const {
        return Number(key.c_str(), defaultValue);
    }
    int32_t Signed(const char* key, int32_t defaultValue) const {
        return static_cast<int32_t>(Number(key, defaultValue));
    }
    int32_t Signed(const std::string& key, int32_t defaultValue) const {
        return Signed(key.c_str(), defaultValue);
    }
    uint8_t Byte(const char* key, int32_t defaultValue) const {
        return static_cast<uint8_t>(Number(key, defaultValue));
    }
    uint8_t Flag(const char* key) const { return Byte(key, 0) != 0 ? 1 : 0; }
    std::string Text(const char* key) const {
        return ini::GetString(m_section, key, "", m_path, 260);
    }
    std::string Text(const std::string& key) const { return Text(key.c_str()); }

private:
    const std::string& m_path;
    const char* m_section;
};

// Splits [CheckFlash] FID at commas (empty pieces skipped) and stores the
// low byte of each of the first six pieces; later bytes keep their values.
void ParseFlashIdList(const std::string& text, uint8_t (&bytes)[CJobSettings::kFlashIdBytes]) {
    int stored = 0;
    size_t pos = 0;
    while (stored < CJobSettings::kFlashIdBytes && pos < text.size()) {
        size_t comma = text.find(',', pos);
        if (comma == std::string::npos) {
            comma = text.size();
        }
        if (comma > pos) {
            bytes[stored++] =
                static_cast<uint8_t>(CJobSettings::ParseFlashIdByte(text.substr(pos, comma - pos)));
        }
        pos = comma + 1;
    }
}

}  // namespace

uint32_t CJobSettings::ParseFlashIdByte(const std::string& piece) {
    size_t start = piece.find_first_of("xX");
    start = (start == std::string::npos) ? 0 : start + 1;
    if (start >= piece.size()) {
        return 0;
    }
    uint32_t value = 0;
    for (size_t i = start; i < piece.size(); ++i) {
        const char c = piece[i];
        uint32_t digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<uint32_t>(c - 'A' + 10);
        } else {
            return 0;
        }
        value = (value << 4) + digit;
    }
    return value;
}

int CJobSettings::Load(std::string path) {
    if (!files::CanOpenForReading(path)) {
        path = InCurrentDirectory(kFallbackJobFile);
        if (!files::CanOpenForReading(path)) {
            return 0;
        }
    }
    if (!files::SetNormalAttributes(path)) {
        return 0;
    }

    const SectionReader setup(path, "Setup");
    Setup.CTLType = setup.Byte("CTLType", 0);
    if (Setup.CTLType >= 6) {
        Setup.CTLType = 0;
    }
    Setup.DrivingLevel = setup.Byte("DrivingLevel", 0);
    Setup.ShowTPCTLName = setup.Flag("ShowTPCTLName");

    const SectionReader flash(path, "Flash");
    Flash.FlashIndex = flash.Signed("FlashIndex", 0);
    Flash.FlashName = flash.Text("FlashName");
    Flash.UnAutoCheck = flash.Flag("UnAutoCheck");
    Flash.FlashNum = flash.Byte("FlashNum", 0);
    if (Flash.FlashNum != 1 && Flash.FlashNum != 2 && Flash.FlashNum != 4) {
        Flash.FlashNum = 1;
    }
    Flash.ChannelNum = flash.Byte("ChannelNum", 0);
    Flash.RWCycle = flash.Byte("RWCycle", 5);
    if (Flash.RWCycle >= 8) {
        Flash.RWCycle = 5;
    }

    const SectionReader sorting(path, "Sorting");
    Sorting.ScanMode = sorting.Byte("ScanMode", 1);
    if (Sorting.ScanMode >= 3) {
        Sorting.ScanMode = 1;
    }
    Sorting.FlashCheck = sorting.Byte("FlashCheck", 1);
    if (Sorting.FlashCheck >= 6) {
        Sorting.FlashCheck = 1;
    }
    Sorting.ECC = sorting.Byte("ECC", 0);
    if (Sorting.ECC >= 16) {
        Sorting.ECC = 255;
    }
    Sorting.ReadAfterWroteAll = sorting.Flag("ReadAfterWroteAll");

    const SectionReader checkFlash(path, "CheckFlash");
    ParseFlashIdList(checkFlash.Text("FID"), CheckFlash.FID);
    CheckFlash.CheckFlashMode = checkFlash.Byte("CheckFlashMode", 2);
    CheckFlash.FlashIndex = checkFlash.Signed("FlashIndex", -1);
    CheckFlash.LoopSel = checkFlash.Signed("LoopSel", 0);
    CheckFlash.OpenShortCE = checkFlash.Signed("OpenShortCE", 0);
    CheckFlash.CheckLEDShort = checkFlash.Signed("CheckLEDShort", 1);
    CheckFlash.CheckUID = checkFlash.Signed("CheckUID", 0);
    CheckFlash.WarmUp = checkFlash.Signed("WarmUp", 0);

    // Elements from Num to 5 keep what an earlier load put there.
    const SectionReader checkId(path, "CheckID");
    CheckID.Num = checkId.Number("Num", 0);
    if (CheckID.Num > static_cast<uint32_t>(kCheckIds)) {
        CheckID.Num = kCheckIds;
    }
    for (int i = 0; i < static_cast<int>(CheckID.Num); ++i) {
        CheckID.FID[i] = checkId.Text(NumberedKey("FID", i));
        CheckID.COLOR[i] = checkId.Signed(NumberedKey("COLOR", i), 0);
        CheckID.FIDCOR[i] = checkId.Signed(NumberedKey("FIDCOR", i), 0);
    }

    if ((CheckFlash.CheckFlashMode == 0 && CheckFlash.FlashIndex == -1) ||
        (CheckFlash.CheckFlashMode == 1 && CheckID.Num == 0)) {
        CheckFlash.CheckFlashMode = 2;
    }

    const SectionReader bin(path, "BIN");
    BIN.ShowBin = bin.Flag("ShowBin");
    BIN.StandBin = bin.Flag("StandBin");
    BIN.ColorBin = bin.Flag("ColorBin");
    BIN.Grade0Base = bin.Flag("Grade0Base");
    for (int n = 1; n <= kBins; ++n) {
        BIN.BinCap[n - 1] = bin.Signed(NumberedKey("BinCap", n), 0);
        BIN.BinBB[n - 1] = bin.Signed(NumberedKey("BinBB", n), 0);
        BIN.BINCO[n - 1] = bin.Number(NumberedKey("BINCO", n), kDefaultBinColor);
    }

    const SectionReader u3bin(path, "U3Bin");
    U3Bin.ShowU3Bin = u3bin.Flag("ShowU3Bin");
    U3Bin.U3ColorBin = u3bin.Flag("U3ColorBin");
    U3Bin.ShowSSDBin = u3bin.Flag("ShowSSDBin");
    U3Bin.SSDColorBin = u3bin.Flag("SSDColorBin");
    for (int n = 1; n <= kU3Bins; ++n) {
        U3Bin.U3BinCap[n - 1] = u3bin.Signed(NumberedKey("U3BinCap", n), 0);
        U3Bin.U3BinCo[n - 1] = u3bin.Number(NumberedKey("U3BinCo", n), kDefaultBinColor);
    }
    U3Bin.SSDBinCap = u3bin.Signed(NumberedKey("SSDBinCap", 1), 0);
    U3Bin.SSDBinCo = u3bin.Number(NumberedKey("SSDBinCo", 1), kDefaultBinColor);
    U3Bin.ShowU2Bin = u3bin.Flag("ShowU2Bin");
    U3Bin.EnhanceCheck = u3bin.Byte("EnhanceCheck", 0);
    if (U3Bin.EnhanceCheck >= 3) {
        U3Bin.EnhanceCheck = 0;
    }
    U3Bin.SetU3BinBgColor = u3bin.Flag("SetU3BinBgColor");
    U3Bin.U3BinBgColor = u3bin.Number("U3BinBgColor", kDefaultBinColor);
    return 1;
}
