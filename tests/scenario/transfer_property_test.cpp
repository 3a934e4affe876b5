// Exporting a job and importing the result gives back every setting the
// export wrote: for generated job files covering every page's values and
// every advanced value the dialog stores, job A is exported, the file is
// imported into another job B, OK is pressed, and every key of the exported
// file reads in B as it does in A. 200 jobs natively; a dozen
// under Wine, where each visit runs the real dialogs.
//
// The generator is seeded; a failure names the seed and the case, and
// SETUP_TRANSFER_SEED=<seed> runs that sequence again.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"
#include "platform/ini.h"
#include "resource.h"
#include "scenario/sheet_support.h"
#include "scenario/transfer_support.h"

namespace {

#if defined(_WIN32)
constexpr int kCases = 12;
#else
constexpr int kCases = 200;
#endif
constexpr uint32_t kDefaultSeed = 20240611;

// The station's flash table: unique names, one first text with a blank.
const std::vector<std::pair<std::string, std::string>> kFlashTypes = {
    {"SLC", "FX29F08G08AAA"}, {"MLC", "FX29F64G08AMC"}, {"TLC 3D", "NV29F128G08CFA"},
    {"MLC", "QM27F16G08AMB"}, {"SLC", "KL29F32G08SBA"},
};

// A job file as sections of keys, in the order written.
class JobText {
public:
    void Set(const std::string& section, const std::string& key, const std::string& value) {
        for (auto& s : m_sections) {
            if (s.first == section) {
                s.second.emplace_back(key, value);
                return;
            }
        }
        m_sections.push_back({section, {{key, value}}});
    }
    void Set(const std::string& section, const std::string& key, long long value) {
        Set(section, key, std::to_string(value));
    }
    std::string Text() const {
        std::string text;
        for (const auto& s : m_sections) {
            text += "[" + s.first + "]\r\n";
            for (const auto& kv : s.second) {
                text += kv.first + "=" + kv.second + "\r\n";
            }
        }
        return text;
    }

private:
    std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>>
        m_sections;
};

// Jobs as the pages and the advanced settings dialog store them, so that
// each key the export writes holds in A what the export writes for it.
class JobGenerator {
public:
    explicit JobGenerator(uint32_t seed) : m_random(seed) {}

    // hostFlash: the flash index the station passes to Show, which picks the
    // flash type when the job does not name it.
    std::string Job(int hostFlash) {
        JobText job;
        job.Set("PASSWORD", "PWD", "");
        ModeKeys(job, hostFlash);
        FlashCheckKeys(job, hostFlash);
        BinKeys(job);
        AdvancedKeys(job);
        return job.Text();
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    int Flag() { return Pick(0, 1); }
    std::string Hex(int digits) {
        static const char kDigits[] = "0123456789ABCDEF";
        std::string text;
        for (int i = 0; i < digits; ++i) {
            text += kDigits[Pick(0, 15)];
        }
        return text;
    }

    void ModeKeys(JobText& job, int hostFlash) {
        const int types = static_cast<int>(kFlashTypes.size());
        job.Set("Setup", "CTLType", Pick(0, 5));
        job.Set("Setup", "DrivingLevel", 0x11 * Pick(0, 8));
        job.Set("Setup", "ShowTPCTLName", Flag());  // only loaded
        const int unAuto = Flag();
        // Named by the job (or no name) with no automatic detection; the
        // station's current flash otherwise, single chip and channel.
        const int record = unAuto ? Pick(-1, types - 1) : (hostFlash < types ? hostFlash : -1);
        job.Set("Flash", "FlashIndex", record);
        job.Set("Flash", "FlashName", record >= 0 ? kFlashTypes[record].second : "");
        job.Set("Flash", "UnAutoCheck", unAuto);
        const int flashNums[] = {1, 2, 4};
        job.Set("Flash", "FlashNum", unAuto ? flashNums[Pick(0, 2)] : 1);
        job.Set("Flash", "ChannelNum", unAuto ? Pick(0, 1) : 0);
        job.Set("Flash", "RWCycle", Pick(0, 7));
        job.Set("Sorting", "ScanMode", Pick(0, 2));
        job.Set("Sorting", "FlashCheck", Pick(0, 5));
        const int ecc = Pick(0, 16);
        job.Set("Sorting", "ECC", ecc == 16 ? 255 : ecc);
        job.Set("Sorting", "ReadAfterWroteAll", Flag());  // only loaded
    }

    void FlashCheckKeys(JobText& job, int hostFlash) {
        const int types = static_cast<int>(kFlashTypes.size());
        // 0 name check, against a flash the job names (the page refuses a
        // name check without one); 1 ID check, with at least one ID; 2 none.
        // Both of these preselect the station's current flash.
        const int mode = Pick(0, 2);
        const int ids = mode == 1 ? Pick(1, 6) : Pick(0, 6);
        job.Set("CheckFlash", "FID", "0x" + Hex(2) + ",0x" + Hex(2));  // only loaded
        job.Set("CheckFlash", "CheckFlashMode", mode);
        job.Set("CheckFlash", "FlashIndex",
                mode == 0 ? Pick(0, types - 1) : (hostFlash < types ? hostFlash : -1));
        job.Set("CheckFlash", "LoopSel", Pick(0, 1));
        job.Set("CheckFlash", "OpenShortCE", Pick(0, 7));
        job.Set("CheckFlash", "CheckLEDShort", Flag());
        job.Set("CheckFlash", "CheckUID", Flag());
        job.Set("CheckFlash", "WarmUp", Flag());
        job.Set("CheckFlash", "PR_Times", Pick(0, 999999));
        job.Set("CheckFlash", "PR_Page", Pick(0, 9999));
        job.Set("CheckFlash", "PR_Block", Pick(0, 99999));
        job.Set("CheckID", "Num", ids);
        for (int i = 0; i < ids; ++i) {
            std::string id;
            for (int part = 0; part < 6; ++part) {
                id += (part == 0 ? "0x" : ",0x") + Hex(2);
            }
            job.Set("CheckID", "FID" + std::to_string(i), id);
            job.Set("CheckID", "COLOR" + std::to_string(i), Pick(0, 5));
            job.Set("CheckID", "FIDCOR" + std::to_string(i), Pick(0, 0xFFFFFF));
        }
    }

    void BinKeys(JobText& job) {
        const int u3 = Flag();
        const int ssd = Pick(0, 3) == 0 ? 1 : 0;
        // U3 or SSD bins replace the standard ones: ShowBin is then off.
        job.Set("BIN", "ShowBin", u3 || ssd ? 0 : Flag());
        job.Set("BIN", "ColorBin", Flag());
        job.Set("BIN", "StandBin", Flag());
        job.Set("BIN", "Grade0Base", Flag());  // only loaded
        for (int n = 1; n <= 16; ++n) {
            const std::string number = std::to_string(n);
            job.Set("BIN", "BinCap" + number, Pick(0, 65535));
            job.Set("BIN", "BINCO" + number, Pick(0, 0xFFFFFF));
            job.Set("BIN", "BinBB" + number, Pick(0, 9999));
        }
        job.Set("U3Bin", "ShowU3Bin", u3);
        job.Set("U3Bin", "ShowSSDBin", ssd);
        job.Set("U3Bin", "ShowU2Bin", Flag());
        job.Set("U3Bin", "EnhanceCheck", Pick(0, 2));
        job.Set("U3Bin", "U3ColorBin", Flag());
        job.Set("U3Bin", "SetU3BinBgColor", Flag());
        job.Set("U3Bin", "U3BinBgColor", Pick(0, 0xFFFFFF));
        job.Set("U3Bin", "SSDColorBin", Flag());  // only loaded
        for (int n = 1; n <= 8; ++n) {
            job.Set("U3Bin", "U3BinCap" + std::to_string(n), Pick(0, 65535));
            job.Set("U3Bin", "U3BinCo" + std::to_string(n), Pick(0, 0xFFFFFF));
        }
        job.Set("U3Bin", "SSDBinCap1", Pick(0, 65535));
        job.Set("U3Bin", "SSDBinCo1", Pick(0, 0xFFFFFF));
    }

    void AdvancedKeys(JobText& job) {
        const int hubPort = Pick(0, 4);
        job.Set("Advanced", "HubPort", hubPort);
        if (hubPort == 4) {
            std::string list;
            std::string joined;
            for (int n = Pick(1, 3); n > 0; --n) {
                const std::string entry = Hex(8);
                list += (list.empty() ? "" : ",") + entry;
                joined += entry;
            }
            job.Set("Advanced", "VID_PID", list);
            job.Set("Advanced", "VID_PID_RE", joined);
        }
        const struct {
            const char* key;
            int high;
        } numbers[] = {
            {"CheckDDR", 1},
            {"SortingBlockNum", 6},
            {"CheckLevel", 5},
            {"FixedCapability", 3},
            {"CheckFlashPin", 2},
            {"ReadSandiskFlashID", 3},
            {"CheckTog", 2},
            {"SpecialSortingClassCheck", 1},
            {"CheckDataRetain", 1},
            {"SetSum19nmFeature", 1},
            {"UELC", 1},
            {"CheckFixedCap", 1},
            {"MinCapLimit", 1},
        };
        for (const auto& number : numbers) {
            job.Set("Advanced", number.key, Pick(0, number.high));
        }
        job.Set("Advanced", "AutoMPTimer", Pick(1, 5));
        job.Set("Advanced", "MinCap", Pick(0, 99999));
        // Keys that stay with the job.
        job.Set("Advanced", "GPI", Pick(0, 4));
        job.Set("Advanced", "StartDelay", Pick(0, 4));
        job.Set("Setup", "UIType", Pick(0, 5));
        job.Set("Setup", "RowShow", Flag());
    }

    std::mt19937 m_random;
};

// The names of an INI file's sections, or of a section's keys, in order, as
// written (a line "[name]" or "name=value").
std::vector<std::pair<std::string, std::string>> KeysOf(const std::string& ini) {
    std::vector<std::pair<std::string, std::string>> keys;
    std::string section;
    for (const std::string& line : sheettest::Lines(ini)) {
        if (!line.empty() && line.front() == '[') {
            section = line.substr(1, line.find(']') - 1);
        } else if (line.find('=') != std::string::npos) {
            keys.emplace_back(section, line.substr(0, line.find('=')));
        }
    }
    return keys;
}

// A key's value as the module reads it (sections and keys matched without
// regard to case); "(none)" when it is not there.
std::string ValueOf(const std::string& path, const std::string& section, const std::string& key) {
    return ini::GetString(section.c_str(), key.c_str(), "(none)", path, 1024);
}

uint32_t Seed() {
    const char* text = std::getenv("SETUP_TRANSFER_SEED");
    return text != nullptr ? static_cast<uint32_t>(std::strtoul(text, nullptr, 10)) : kDefaultSeed;
}

// One visit: the export (Save) or the import (Open) of path, which the
// operator is told succeeded, then the sheet left with leave; returns what
// Show returns.
int TransferVisit(Station& station, FileDialogSeen::Kind kind, const std::string& path,
                  int hostFlash, int leave) {
    const bool save = kind == FileDialogSeen::Save;
    Operator op;
    sheettest::QueueVisit(op, [&](SheetDriver& s) {
        std::string message;
        transfertest::QueueTransfer(op, station, kind, path, &message);
        s.Click(save ? IDC_EXPORT_SET : IDC_IMPORT_SET);
        EXPECT_EQ(
            station.Text(save ? "IDS_SETUP_UI_EXPORT_SUCCESS" : "IDS_SETUP_UI_IMPORT_SUCCESS"),
            message);
        s.Click(leave);
    });
    return station.Show(op, hostFlash);
}

}  // namespace

TEST(JobTransferProperty, AnExportedJobImportsAsItWasExported) {
    const uint32_t seed = Seed();
    JobGenerator generate(seed);
    std::mt19937 hostFlashes(seed ^ 0x5A5A5A5Au);
    Station station;
    station.SetFlashTypes(kFlashTypes);
    const std::string exported = station.Path("Exported.ini");
    const std::string fileA = station.Path("A.ini");  // job A as generated
    int keysChecked = 0;
    for (int i = 0; i < kCases && !::testing::Test::HasFatalFailure(); ++i) {
        std::ostringstream trace;
        trace << "seed " << seed << ", case " << i;
        SCOPED_TRACE(trace.str());
        const int hostFlash = std::uniform_int_distribution<int>(0, 5)(hostFlashes);
        const std::string jobA = generate.Job(hostFlash);
        const std::string jobB = generate.Job(hostFlash);
        std::remove(exported.c_str());

        Station::WriteFile(fileA, jobA);
        station.WriteJob(jobA);
        ASSERT_EQ(0, TransferVisit(station, FileDialogSeen::Save, exported, hostFlash, IDCANCEL));
        station.WriteJob(jobB);
        ASSERT_EQ(1, TransferVisit(station, FileDialogSeen::Open, exported, hostFlash, IDOK));

        const std::string file = Station::ReadFile(exported);
        const auto keys = KeysOf(file);
        EXPECT_GT(keys.size(), 80u) << file;
        bool same = true;
        for (const auto& key : keys) {
            const std::string inA = ValueOf(fileA, key.first, key.second);
            const std::string inB = ValueOf(station.JobFile(), key.first, key.second);
            if (inA != inB) {
                same = false;
                ADD_FAILURE() << "[" << key.first << "] " << key.second << " is " << inA
                              << " in A, " << ValueOf(exported, key.first, key.second)
                              << " in the exported file, " << inB << " in B";
            }
        }
        keysChecked += static_cast<int>(keys.size());
        if (!same) {
            ADD_FAILURE() << "job A:\n" << jobA << "\njob B:\n" << jobB;
            break;
        }
    }
    std::printf("%d jobs, %d exported keys compared (seed %u)\n", kCases, keysChecked, seed);
}
