// Helpers of the bin page scenarios: the page's control IDs by row, and the
// [BIN] and U3 sections a save writes, built from the values of each row.
#ifndef SETUP_TESTS_SCENARIO_BIN_PAGE_SUPPORT_H
#define SETUP_TESTS_SCENARIO_BIN_PAGE_SUPPORT_H

#include <string>
#include <vector>

#include "driver/operator.h"
#include "framework/api.h"
#include "resource.h"
#include "scenario/sheet_support.h"

namespace bintest {

constexpr int kBins = 16;
constexpr int kU3Bins = 8;
constexpr int kBinTab = 1;
constexpr unsigned kDefaultColor = 32768;  // RGB(0, 128, 0)

// The controls of one kind, a row each: row r (from 1) has the ID first + r - 1.
struct RowIds {
    int first;
    constexpr int operator()(int row) const { return first + row - 1; }
};

// Controls of standard bin n (1 to 16) and U3 bin k (1 to 8).
constexpr RowIds Threshold{IDC_BIN_THRESHOLD1}, Unit{IDC_BIN_UNIT1}, Swatch{IDC_BIN_SWATCH1},
    Label{IDC_BIN_LABEL1}, U3Threshold{IDC_U3_BIN_THRESHOLD1}, U3Swatch{IDC_U3_BIN_SWATCH1};

// An accepted visit that opens the bin tab and hands it to `act`.
inline void QueueBinVisit(Operator& op, Operator::SheetHandler act) {
    sheettest::QueueVisit(op, [act](SheetDriver& s) {
        s.PickTab(kBinTab);
        EXPECT_EQ(IDD_BIN, s.Page().TemplateId());
        act(s);
    });
}

inline std::string Line(const std::string& key, const std::string& value) {
    return key + "=" + value + "\r\n";
}

// "<prefix>n=<value>" for n = first, first + 1, ... one line per value.
inline std::string Numbered(const std::string& prefix, int first,
                            const std::vector<std::string>& values) {
    std::string text;
    for (size_t i = 0; i < values.size(); ++i) {
        text += Line(prefix + std::to_string(first + static_cast<int>(i)), values[i]);
    }
    return text;
}

// The values of one row kind, all equal.
inline std::vector<std::string> All(int count, const std::string& value) {
    return std::vector<std::string>(static_cast<size_t>(count), value);
}

// Threshold and colour lines of bins from..to, interleaved as the page writes
// them: "<family>n", then "BINCOn".
inline std::string BinRows(const std::string& family, int from, int to,
                           const std::vector<std::string>& thresholds,
                           const std::vector<std::string>& colors) {
    std::string text;
    for (int n = from; n <= to; ++n) {
        text += Line(family + std::to_string(n), thresholds[static_cast<size_t>(n - from)]);
        text += Line("BINCO" + std::to_string(n), colors[static_cast<size_t>(n - from)]);
    }
    return text;
}

// What a save appends to an empty [BIN] section.
struct BinSave {
    std::string showBin = "0", standBin = "0", colorBin = "0";
    std::string family = "BinCap";
    std::vector<std::string> thresholds = All(kBins, "0");
    std::vector<std::string> colors = All(kBins, std::to_string(kDefaultColor));

    std::string Text() const {
        return Line("ShowBin", showBin) + Line("StandBin", standBin) + Line("ColorBin", colorBin) +
               BinRows(family, 1, kBins, thresholds, colors);
    }
};

// What a save appends to an empty U3 section, in the order written.
struct U3Save {
    std::string showU3 = "0", showSsd = "0", showU2 = "0", enhance = "0", u3Color = "0",
                setBg = "0";
    std::vector<std::string> caps = All(kU3Bins, "0");
    std::vector<std::string> colors = All(kU3Bins, std::to_string(kDefaultColor));
    std::string ssdCap = "0", ssdColor = std::to_string(kDefaultColor);
    std::string bgColor = std::to_string(kDefaultColor);

    std::string Text() const {
        std::string text = Line("ShowU3Bin", showU3) + Line("ShowSSDBin", showSsd) +
                           Line("ShowU2Bin", showU2) + Line("EnhanceCheck", enhance) +
                           Line("U3ColorBin", u3Color) + Line("SetU3BinBgColor", setBg);
        for (int k = 1; k <= kU3Bins; ++k) {
            text += Line("U3BinCap" + std::to_string(k), caps[static_cast<size_t>(k - 1)]);
            text += Line("U3BinCo" + std::to_string(k), colors[static_cast<size_t>(k - 1)]);
        }
        return text + Line("SSDBinCap1", ssdCap) + Line("SSDBinCo1", ssdColor) +
               Line("U3BinBgColor", bgColor);
    }
};

// How many section headers of the file name `name`, ignoring case.
inline int SectionCount(const std::string& ini, const std::string& name) {
    auto lower = [](std::string s) {
        for (char& c : s) {
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        return s;
    };
    int count = 0;
    for (const std::string& line : sheettest::Lines(ini)) {
        count += lower(line) == lower("[" + name + "]") ? 1 : 0;
    }
    return count;
}

// "on" when every control of the group answers yes, "off" when none does,
// else the answers one by one.
template <class Ask>
inline std::string Group(const std::vector<int>& ids, Ask ask) {
    std::string each;
    int yes = 0;
    for (int id : ids) {
        const bool answer = ask(id);
        yes += answer ? 1 : 0;
        each += answer ? "1" : "0";
    }
    if (yes == static_cast<int>(ids.size())) {
        return "on";
    }
    return yes == 0 ? "off" : each;
}

inline std::vector<int> Range(int first, int count) {
    std::vector<int> ids;
    for (int i = 0; i < count; ++i) {
        ids.push_back(first + i);
    }
    return ids;
}

// The enabled controls and the shown swatches of the page, group by group.
inline std::string States(const DialogDriver& s) {
    auto enabled = [&](const std::vector<int>& ids) {
        return Group(ids, [&](int id) { return s.IsEnabled(id); });
    };
    auto shown = [&](const std::vector<int>& ids) {
        return Group(ids, [&](int id) { return s.IsVisible(id); });
    };
    return "thresholds " + enabled(Range(IDC_BIN_THRESHOLD1, kBins)) + ", bin check " +
           enabled({IDC_BIN_CHECK_ENABLE}) + ", stan/colour " +
           enabled({IDC_STAND_BIN, IDC_COLOR_VERIFY}) + ", shared " +
           enabled({IDC_SHOW_U2_BIN, IDC_ENHANCE_CHECK_LABEL, IDC_ENHANCE_CHECK, IDC_SET_BG_COLOR,
                    IDC_U3_COLOR_VERIFY}) +
           ", u3 1-2 " + enabled(Range(IDC_U3_BIN_THRESHOLD1, 2)) + ", u3 3-8 " +
           enabled(Range(IDC_U3_BIN_THRESHOLD1 + 2, 6)) + ", ssd " +
           enabled({IDC_SSD_BIN_THRESHOLD}) + " | swatches " +
           shown(Range(IDC_BIN_SWATCH1, kBins)) + ", u3 1-2 " +
           shown(Range(IDC_U3_BIN_SWATCH1, 2)) + ", u3 3-8 " +
           shown(Range(IDC_U3_BIN_SWATCH1 + 2, 6)) + ", ssd " + shown({IDC_SSD_BIN_SWATCH}) +
           ", bg " + shown({IDC_BG_SWATCH});
}

// Every pixel of the control's client area that is not `color`.
inline std::vector<std::string> PixelsNotOf(const DialogDriver& d, int id, COLORREF color) {
    RECT client;
    fw::api::GetClientRect(d.Item(id), &client);
    std::vector<std::string> wrong;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            const COLORREF seen = d.Pixel(id, x, y);
            if (seen != color) {
                wrong.push_back(std::to_string(x) + "," + std::to_string(y) + "=" +
                                std::to_string(seen));
            }
        }
    }
    return wrong;
}

// The states of a freshly opened page for some stored switches.
inline constexpr const char* kAllOff =
    "thresholds on, bin check on, stan/colour on, shared off, u3 1-2 off, u3 3-8 off, ssd off"
    " | swatches off, u3 1-2 off, u3 3-8 off, ssd off, bg off";
inline constexpr const char* kStandBin =
    "thresholds off, bin check on, stan/colour on, shared off, u3 1-2 off, u3 3-8 off, ssd off"
    " | swatches off, u3 1-2 off, u3 3-8 off, ssd off, bg off";
inline constexpr const char* kU3OrSsd =
    "thresholds off, bin check off, stan/colour off, shared on, u3 1-2 on, u3 3-8 off, ssd on"
    " | swatches off, u3 1-2 off, u3 3-8 off, ssd off, bg off";
inline constexpr const char* kSwatchesShown =
    "thresholds on, bin check on, stan/colour on, shared off, u3 1-2 off, u3 3-8 off, ssd off"
    " | swatches on, u3 1-2 on, u3 3-8 off, ssd on, bg on";

}  // namespace bintest

#endif
