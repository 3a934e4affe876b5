// The JobSettings load from any bytes: it never crashes, every member is
// within the range its validation allows, and loading the same file again
// gives the same record.
//
// Input: the job file's bytes.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "settings/JobSettings.h"

namespace {

std::string Listed(const CJobSettings& settings) {
    std::string text;
    for (const JobSettingsLine& line : ListJobSettings(settings)) {
        text += line.name + "=" + line.value + "\n";
    }
    return text;
}

void CheckFlag(int value, const char* name) {
    FUZZ_CHECK(value == 0 || value == 1, std::string(name) + " is " + std::to_string(value));
}

void CheckBelow(int value, int limit, const char* name) {
    FUZZ_CHECK(value >= 0 && value < limit, std::string(name) + " is " + std::to_string(value));
}

void CheckRanges(const CJobSettings& s) {
    CheckBelow(s.Setup.CTLType, 6, "Setup.CTLType");
    CheckFlag(s.Setup.ShowTPCTLName, "Setup.ShowTPCTLName");
    CheckFlag(s.Flash.UnAutoCheck, "Flash.UnAutoCheck");
    FUZZ_CHECK(s.Flash.FlashNum == 1 || s.Flash.FlashNum == 2 || s.Flash.FlashNum == 4,
               "Flash.FlashNum is " + std::to_string(s.Flash.FlashNum));
    CheckBelow(s.Flash.RWCycle, 8, "Flash.RWCycle");
    FUZZ_CHECK(s.Flash.FlashName.size() <= 259, "Flash.FlashName is longer than 259");
    CheckBelow(s.Sorting.ScanMode, 3, "Sorting.ScanMode");
    CheckBelow(s.Sorting.FlashCheck, 6, "Sorting.FlashCheck");
    FUZZ_CHECK(s.Sorting.ECC < 16 || s.Sorting.ECC == 255,
               "Sorting.ECC is " + std::to_string(s.Sorting.ECC));
    CheckFlag(s.Sorting.ReadAfterWroteAll, "Sorting.ReadAfterWroteAll");
    FUZZ_CHECK(!(s.CheckFlash.CheckFlashMode == 0 && s.CheckFlash.FlashIndex == -1),
               "CheckFlashMode 0 without a flash index");
    FUZZ_CHECK(!(s.CheckFlash.CheckFlashMode == 1 && s.CheckID.Num == 0),
               "CheckFlashMode 1 without flash IDs");
    FUZZ_CHECK(s.CheckID.Num <= static_cast<uint32_t>(CJobSettings::kCheckIds),
               "CheckID.Num is " + std::to_string(s.CheckID.Num));
    for (int i = 0; i < CJobSettings::kCheckIds; ++i) {
        FUZZ_CHECK(s.CheckID.FID[i].size() <= 259, "a CheckID FID is longer than 259");
    }
    CheckFlag(s.BIN.ShowBin, "BIN.ShowBin");
    CheckFlag(s.BIN.ColorBin, "BIN.ColorBin");
    CheckFlag(s.BIN.StandBin, "BIN.StandBin");
    CheckFlag(s.BIN.Grade0Base, "BIN.Grade0Base");
    CheckFlag(s.U3Bin.ShowU3Bin, "U3Bin.ShowU3Bin");
    CheckFlag(s.U3Bin.U3ColorBin, "U3Bin.U3ColorBin");
    CheckFlag(s.U3Bin.ShowU2Bin, "U3Bin.ShowU2Bin");
    CheckFlag(s.U3Bin.SetU3BinBgColor, "U3Bin.SetU3BinBgColor");
    CheckBelow(s.U3Bin.EnhanceCheck, 3, "U3Bin.EnhanceCheck");
    CheckFlag(s.U3Bin.ShowSSDBin, "U3Bin.ShowSSDBin");
    CheckFlag(s.U3Bin.SSDColorBin, "U3Bin.SSDColorBin");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::ScratchFolder() + "/Job.ini";
    fuzz::WriteFile(path, std::string(reinterpret_cast<const char*>(data), size));
    FUZZ_CHECK(JobSettings.Load(path) == 1, "the load of an existing file failed");
    CheckRanges(JobSettings);
    const std::string first = Listed(JobSettings);
    FUZZ_CHECK(JobSettings.Load(path) == 1, "the second load failed");
    FUZZ_CHECK(Listed(JobSettings) == first, "a second load of the same file differs");
    return 0;
}
