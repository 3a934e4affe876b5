// Helpers of the flash check page and flash ID editor scenarios: a visit
// that starts on the flash check tab, the flash types of a larger station,
// and [CheckID] sections written out.
#ifndef SETUP_TESTS_SCENARIO_FLASH_CHECK_SUPPORT_H
#define SETUP_TESTS_SCENARIO_FLASH_CHECK_SUPPORT_H

#include <string>
#include <utility>
#include <vector>

#include "driver/operator.h"
#include "resource.h"
#include "scenario/sheet_support.h"

namespace fctest {

using Strings = std::vector<std::string>;

constexpr int kFlashCheckTab = 2;

// One accepted visit whose handler works on the flash check tab.
inline void QueueFlashCheckVisit(Operator& op, Operator::SheetHandler handler) {
    sheettest::QueueVisit(op, [handler](SheetDriver& s) {
        s.PickTab(kFlashCheckTab);
        handler(s);
    });
}

// Five flash types in table order, and as the sorted list shows them.
inline std::vector<std::pair<std::string, std::string>> FiveTypes() {
    return {{"TLC", "NV29F16G08AMC"},
            {"SLC", "FX29F08G08AAA"},
            {"MLC", "QM29F64G08AMC"},
            {"MLC", "FX29F32G08AMC"},
            {"QLC", "ZT29F128G08AMC"}};
}
inline const Strings kFiveTypesSorted = {"MLC FX29F32G08AMC", "MLC QM29F64G08AMC",
                                         "QLC ZT29F128G08AMC", "SLC FX29F08G08AAA",
                                         "TLC NV29F16G08AMC"};

struct StoredId {
    std::string fid;
    int color;   // colour-name index
    int fidcor;  // display colour
};

// The [CheckID] section holding ids, as the page writes it.
inline std::string CheckIdSection(const std::vector<StoredId>& ids) {
    std::string text = "[CheckID]\r\nNum=" + std::to_string(ids.size()) + "\r\n";
    for (size_t i = 0; i < ids.size(); ++i) {
        const std::string n = std::to_string(i);
        text += "FID" + n + "=" + ids[i].fid + "\r\nCOLOR" + n + "=" +
                std::to_string(ids[i].color) + "\r\nFIDCOR" + n + "=" +
                std::to_string(ids[i].fidcor) + "\r\n";
    }
    return text;
}

// The flash ID box's text for ids, with their colour names.
inline std::string IdLines(const std::vector<std::pair<std::string, std::string>>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line.first + "    " + line.second + "\r\n";
    }
    return text;
}

}  // namespace fctest

#endif
