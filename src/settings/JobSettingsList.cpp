// The record as "Section.Key = value" lines, for the jobini tool and tests.
#include <string>

#include "settings/JobFileSchema.h"
#include "settings/JobSettings.h"

std::vector<JobSettingsLine> ListJobSettings(const CJobSettings& settings) {
    using namespace jobsettings;
    std::vector<JobSettingsLine> lines;
    for (const Row* row : RowsInRecordOrder()) {
        const std::string section = std::string(row->section) + ".";
        for (size_t element = 0; element < row->member.elements; ++element) {
            // The [CheckFlash] FID bytes have one key between them.
            const std::string key = row->kind == Kind::FlashIds ? std::string(row->key) + "[" +
                                                                      std::to_string(element) + "]"
                                                                : KeyOf(*row, element);
            lines.push_back({section + key, ValueText(*row, settings, element)});
        }
    }
    return lines;
}
