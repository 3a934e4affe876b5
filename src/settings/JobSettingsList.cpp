// The record as "Section.Key = value" lines, for the jobini tool and tests.
#include <string>

#include "settings/JobSettings.h"

namespace {

class Lister {
public:
    explicit Lister(std::vector<JobSettingsLine>& lines) : m_lines(lines) {}

    void Section(const char* section) { m_section = section; }

    void Add(const std::string& key, const std::string& value) {
        m_lines.push_back({m_section + "." + key, value});
    }
    void Add(const std::string& key, int64_t value) { Add(key, std::to_string(value)); }

    template <typename T, size_t N>
    void Numbered(const char* key, const T (&values)[N], int firstNumber) {
        for (size_t i = 0; i < N; ++i) {
            Add(key + std::to_string(firstNumber + static_cast<int>(i)), values[i]);
        }
    }

private:
    std::vector<JobSettingsLine>& m_lines;
    std::string m_section;
};

}  // namespace

std::vector<JobSettingsLine> ListJobSettings(const CJobSettings& s) {
    std::vector<JobSettingsLine> lines;
    Lister list(lines);

    list.Section("Setup");
    list.Add("CTLType", s.Setup.CTLType);
    list.Add("DrivingLevel", s.Setup.DrivingLevel);
    list.Add("ShowTPCTLName", s.Setup.ShowTPCTLName);

    list.Section("Flash");
    list.Add("FlashIndex", s.Flash.FlashIndex);
    list.Add("FlashName", s.Flash.FlashName);
    list.Add("UnAutoCheck", s.Flash.UnAutoCheck);
    list.Add("FlashNum", s.Flash.FlashNum);
    list.Add("ChannelNum", s.Flash.ChannelNum);
    list.Add("RWCycle", s.Flash.RWCycle);

    list.Section("Sorting");
    list.Add("ScanMode", s.Sorting.ScanMode);
    list.Add("FlashCheck", s.Sorting.FlashCheck);
    list.Add("ECC", s.Sorting.ECC);
    list.Add("ReadAfterWroteAll", s.Sorting.ReadAfterWroteAll);

    list.Section("CheckFlash");
    for (int i = 0; i < CJobSettings::kFlashIdBytes; ++i) {
        list.Add("FID[" + std::to_string(i) + "]", s.CheckFlash.FID[i]);
    }
    list.Add("CheckFlashMode", s.CheckFlash.CheckFlashMode);
    list.Add("FlashIndex", s.CheckFlash.FlashIndex);
    list.Add("LoopSel", s.CheckFlash.LoopSel);
    list.Add("OpenShortCE", s.CheckFlash.OpenShortCE);
    list.Add("CheckLEDShort", s.CheckFlash.CheckLEDShort);
    list.Add("CheckUID", s.CheckFlash.CheckUID);
    list.Add("WarmUp", s.CheckFlash.WarmUp);

    list.Section("CheckID");
    list.Add("Num", s.CheckID.Num);
    list.Numbered("FID", s.CheckID.FID, 0);
    list.Numbered("COLOR", s.CheckID.COLOR, 0);
    list.Numbered("FIDCOR", s.CheckID.FIDCOR, 0);

    list.Section("BIN");
    list.Add("ShowBin", s.BIN.ShowBin);
    list.Add("ColorBin", s.BIN.ColorBin);
    list.Add("StandBin", s.BIN.StandBin);
    list.Numbered("BinCap", s.BIN.BinCap, 1);
    list.Numbered("BINCO", s.BIN.BINCO, 1);
    list.Add("Grade0Base", s.BIN.Grade0Base);
    list.Numbered("BinBB", s.BIN.BinBB, 1);

    list.Section("U3Bin");
    list.Add("ShowU3Bin", s.U3Bin.ShowU3Bin);
    list.Numbered("U3BinCap", s.U3Bin.U3BinCap, 1);
    list.Numbered("U3BinCo", s.U3Bin.U3BinCo, 1);
    list.Add("U3ColorBin", s.U3Bin.U3ColorBin);
    list.Add("ShowU2Bin", s.U3Bin.ShowU2Bin);
    list.Add("SetU3BinBgColor", s.U3Bin.SetU3BinBgColor);
    list.Add("U3BinBgColor", s.U3Bin.U3BinBgColor);
    list.Add("EnhanceCheck", s.U3Bin.EnhanceCheck);
    list.Add("ShowSSDBin", s.U3Bin.ShowSSDBin);
    list.Add("SSDBinCap1", s.U3Bin.SSDBinCap);
    list.Add("SSDBinCo1", s.U3Bin.SSDBinCo);
    list.Add("SSDColorBin", s.U3Bin.SSDColorBin);
    return lines;
}
