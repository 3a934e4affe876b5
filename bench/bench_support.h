// What the benchmark programs of a whole visit share: the flash types of a
// large station, a language file of 3 x 300 keys, and timing helpers.
#ifndef SETUP_BENCH_BENCH_SUPPORT_H
#define SETUP_BENCH_BENCH_SUPPORT_H

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "driver/station.h"

namespace benchsupport {

using Clock = std::chrono::steady_clock;

inline constexpr int kLanguageKeys = 300;

inline double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Flash types as a host's table holds them: a cell type and a maker's part
// number, in the host's own order.
inline std::vector<std::pair<std::string, std::string>> FlashTypes(int count) {
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
inline int KeysPerSection(const Station& station) {
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
inline void FillLanguageFile(Station& station) {
    const int present = KeysPerSection(station);
    for (int language = 0; language < 3; ++language) {
        for (int filler = present; filler < kLanguageKeys; ++filler) {
            station.SetText("IDS_SETUP_UI_FILLER_" + std::to_string(filler),
                            "Filler text number " + std::to_string(filler), language);
        }
    }
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace benchsupport

#endif
