// Times one editing visit on the headless window system, driven by the
// operator driver as the tests drive it: from the call of Show (the password
// dialog answered at once) to the settings sheet open with its three pages
// initialized, and the OK save that follows (into a job file that lacks the
// keys the pages write, so that every key is written). Flash tables of 1,000
// and 10,000 records, in no particular order (the mode page's flash type list
// and the flash check page's flash name list sort them), and a language file
// of 3 x 300 keys.
// Targets: the sheet ready in under 10 ms at 10,000 records, growing no
// faster than linearly (10k/1k ratio at most 12); the OK save under 20 ms.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"
#include "resource.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 15;
constexpr int kLanguageKeys = 300;

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Flash types as a host's table holds them: a cell type and a maker's part
// number, in the host's own order.
std::vector<std::pair<std::string, std::string>> FlashTypes(int count) {
    static const char* const kCells[] = {"SLC", "MLC", "TLC", "QLC"};
    uint32_t seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) & 0xFFFFFu;
    };
    std::vector<std::pair<std::string, std::string>> types;
    types.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        char name[40];
        std::snprintf(name, sizeof name, "FX%02uF%03uG08A%c%c-%05d", next() % 90 + 10, next() % 512,
                      static_cast<char>('A' + next() % 26), static_cast<char>('A' + next() % 26),
                      i);
        types.emplace_back(kCells[next() % 4], name);
    }
    return types;
}

// The keys of each language section of the station's language file.
int KeysPerSection(const Station& station) {
    const std::string text = Station::ReadFile(station.Path("DLL/Language.dll"));
    int keys = 0;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find('\n', at);
        const std::string line = text.substr(at, end == std::string::npos ? end : end - at);
        if (!line.empty() && line[0] == '[') {
            if (at > 0) {
                break;  // the first section is enough: all three hold the same keys
            }
        } else if (line.find('=') != std::string::npos) {
            ++keys;
        }
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return keys;
}

// Fills every language section up to kLanguageKeys keys.
void FillLanguageFile(Station& station) {
    const int present = KeysPerSection(station);
    for (int language = 0; language < 3; ++language) {
        for (int filler = present; filler < kLanguageKeys; ++filler) {
            station.SetText("IDS_SETUP_UI_FILLER_" + std::to_string(filler),
                            "Filler text number " + std::to_string(filler), language);
        }
    }
}

struct Figures {
    double ready;  // Show called -> sheet ready, pages initialized
    double save;   // OK clicked -> sheet ended
};

Figures OneVisit(Station& station, int flashIndex) {
    Figures figures{0, 0};
    Operator op;
    op.OnDialog(IDD_PASSWORD, [](DialogDriver& d) { d.Click(IDOK); });
    Clock::time_point start;
    op.OnSheet([&](SheetDriver& s) {
        const Clock::time_point ready = Clock::now();
        figures.ready = Milliseconds(ready - start);
        s.Click(IDOK);
        figures.save = Milliseconds(Clock::now() - ready);
    });
    start = Clock::now();
    const int result = station.Show(op, flashIndex);
    if (result != 1) {
        std::fprintf(stderr, "bench_show: Show returned %d, not 1\n", result);
    }
    return figures;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    std::printf("bench_show: one visit, headless window system, median of %d runs\n", kRuns);
    double readyAt[2] = {0, 0};
    double worstSave = 0;
    const int sizes[2] = {1000, 10000};
    for (int s = 0; s < 2; ++s) {
        const int records = sizes[s];
        Station station;
        FillLanguageFile(station);
        const auto types = FlashTypes(records);
        station.SetFlashTypes(types);
        // The stored flash name is the last record's: the mode page searches
        // the whole table and the whole list for it; the flash check page
        // checks by that record's name.
        // Every visit starts from this job, so that every OK writes the keys
        // the pages add to it, as after a station's first visit.
        const std::string job =
            "[Setup]\r\nCTLType=2\r\nDrivingLevel=34\r\n"
            "[Flash]\r\nUnAutoCheck=1\r\nFlashName=" +
            types.back().second +
            "\r\nFlashNum=2\r\nChannelNum=1\r\nRWCycle=3\r\n"
            "[Sorting]\r\nScanMode=1\r\nFlashCheck=2\r\nECC=255\r\n"
            "[CheckFlash]\r\nCheckFlashMode=0\r\nFlashIndex=" +
            std::to_string(records - 1) + "\r\n";

        station.WriteJob(job);
        OneVisit(station, records / 2);  // warms the file caches
        std::vector<double> ready;
        std::vector<double> save;
        for (int run = 0; run < kRuns; ++run) {
            station.WriteJob(job);
            const Figures figures = OneVisit(station, records / 2);
            ready.push_back(figures.ready);
            save.push_back(figures.save);
        }
        readyAt[s] = Median(ready);
        worstSave = std::max(worstSave, Median(save));
        std::printf(
            "  %5d records: sheet ready %7.3f ms (min %7.3f), OK save %7.3f ms (min %7.3f)\n",
            records, readyAt[s], *std::min_element(ready.begin(), ready.end()), Median(save),
            *std::min_element(save.begin(), save.end()));
    }
    const double ratio = readyAt[1] / readyAt[0];
    std::printf("  10k/1k ratio of sheet ready: %.2f\n", ratio);
    const bool readyOk = readyAt[1] < 10.0 && ratio <= 12.0;
    const bool saveOk = worstSave < 20.0;
    std::printf(
        "  targets: sheet ready < 10 ms at 10,000 records and ratio <= 12: %s; "
        "OK save < 20 ms: %s\n",
        readyOk ? "met" : "MISSED", saveOk ? "met" : "MISSED");
    return 0;
}
