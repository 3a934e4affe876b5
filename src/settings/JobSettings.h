// CJobSettings: the module's single in-memory copy of a job's settings, and
// its loader. One nested struct per INI section, so that code reads like the
// job file: JobSettings.Flash.FlashIndex is [Flash] FlashIndex.
//
// Numbered keys are arrays indexed from 0: CheckID.FID[i] is key "FID<i>",
// while BIN.BinCap[i] is key "BinCap<i+1>" (the [BIN] and [U3Bin] keys count
// from 1). Colours are COLORREF values, 0x00BBGGRR.
#ifndef SETUP_SETTINGS_JOBSETTINGS_H
#define SETUP_SETTINGS_JOBSETTINGS_H

#include <cstdint>
#include <string>
#include <vector>

class CJobSettings {
public:
    static constexpr int kFlashIdBytes = 6;              // [CheckFlash] FID
    static constexpr int kCheckIds = 6;                  // [CheckID] FID0..FID5
    static constexpr int kBins = 16;                     // [BIN] BinCap1..BinCap16
    static constexpr int kU3Bins = 8;                    // [U3Bin] U3BinCap1..U3BinCap8
    static constexpr uint32_t kDefaultBinColor = 32768;  // RGB(0, 128, 0)

    // The member initializers are the values the record holds before its
    // first load.
    struct SetupSection {
        uint8_t CTLType = 0;
        uint8_t DrivingLevel = 0;
        uint8_t ShowTPCTLName = 0;
    } Setup;

    struct FlashSection {
        int32_t FlashIndex = -1;
        std::string FlashName;
        int32_t UnAutoCheck = 0;
        uint8_t FlashNum = 0;
        uint8_t ChannelNum = 0;
        uint8_t RWCycle = 5;
    } Flash;

    struct SortingSection {
        uint8_t ScanMode = 1;
        uint8_t FlashCheck = 1;
        uint8_t ECC = 255;
        int32_t ReadAfterWroteAll = 0;
    } Sorting;

    struct CheckFlashSection {
        uint8_t FID[kFlashIdBytes] = {};
        uint8_t CheckFlashMode = 2;
        int32_t FlashIndex = -1;
        int32_t LoopSel = 0;
        int32_t OpenShortCE = 0;
        int32_t CheckLEDShort = 0;
        int32_t CheckUID = 0;
        int32_t WarmUp = 0;
    } CheckFlash;

    struct CheckIDSection {
        uint32_t Num = 0;
        std::string FID[kCheckIds];
        int32_t COLOR[kCheckIds] = {};
        int32_t FIDCOR[kCheckIds] = {};
    } CheckID;

    struct BINSection {
        uint8_t ShowBin = 0;
        uint8_t ColorBin = 0;
        uint8_t StandBin = 0;
        int32_t BinCap[kBins] = {};
        uint32_t BINCO[kBins] = {};
        uint8_t Grade0Base = 0;
        int32_t BinBB[kBins] = {};
    } BIN;

    struct U3BinSection {
        int32_t ShowU3Bin = 0;
        int32_t U3BinCap[kU3Bins] = {};
        uint32_t U3BinCo[kU3Bins] = {};
        uint8_t U3ColorBin = 0;
        int32_t ShowU2Bin = 1;
        uint8_t SetU3BinBgColor = 1;
        uint32_t U3BinBgColor = 0;
        uint8_t EnhanceCheck = 0;
        int32_t ShowSSDBin = 0;
        int32_t SSDBinCap = 0;  // key SSDBinCap1
        uint32_t SSDBinCo = 0;  // key SSDBinCo1
        uint8_t SSDColorBin = 0;
    } U3Bin;

    // Reads the record from the job INI file at path. When that file cannot
    // be opened for reading (missing, a folder, a device or pipe, larger
    // than files::kMaxReadSize), "TLMQW.ini" in the current directory is
    // used instead. Clears the file's read-only and other attributes, then
    // reads every key (the rows of JobFileSchema.h). Returns 1 when the
    // keys were read, 0 (record untouched) when no file could be opened, its
    // attributes could not be reset or it could not be read whole.
    int Load(std::string path);

    // The file Load(path) reads: path, or the fallback file when path cannot
    // be opened for reading; empty when neither can.
    static std::string FileToLoad(const std::string& path);

    // One piece of [CheckFlash] FID: hexadecimal digits after the first 'x'
    // or 'X' (or from the start when there is none); any other character in
    // them makes the result 0.
    static uint32_t ParseFlashIdByte(const std::string& piece);
};

// The module's settings record (defined with the other module globals).
extern CJobSettings JobSettings;

// Every member as a "Section.Key" name and its value in decimal (texts as
// they are), in declaration order, numbered keys with the number the INI
// file uses, the [CheckFlash] FID bytes as "CheckFlash.FID[0]".."[5]".
struct JobSettingsLine {
    std::string name;
    std::string value;
};
std::vector<JobSettingsLine> ListJobSettings(const CJobSettings& settings);

// A value in a job file that the load does not take as written: the section
// and the key as the file spells them, the text there (one piece of it for
// [CheckFlash] FID), the value the record holds after the load, and why.
struct JobSettingsNote {
    std::string section;
    std::string key;
    std::string text;
    std::string value;
    std::string reason;
};

// The notes on file (the one CJobSettings::FileToLoad names) for the record
// loaded from it, in the record's order. Only keys the load reads count: the
// [CheckID] entries from Num on are not read and not checked.
std::vector<JobSettingsNote> CheckJobSettings(const std::string& file, const CJobSettings& loaded);

#endif
