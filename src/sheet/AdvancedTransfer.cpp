#include "sheet/AdvancedTransfer.h"

#include <cstdint>

#include "platform/ini.h"
#include "settings/HubVidPid.h"
#include "settings/JobFileSchema.h"

bool CopyAdvancedSettings(TransferDirection direction, const std::string& jobFile,
                          const std::string& path) {
    using namespace jobsettings;
    if (path.empty()) {
        return false;
    }
    const bool bExport = direction == TransferDirection::Export;
    const std::string& source = bExport ? jobFile : path;
    // The target is replaced once, not once a key (or with the keys of the
    // export that holds this batch inside its own).
    ini::WriteBatch batch;
    JobFileWriter writer(bExport ? path : jobFile);
    bool bVidPid = false;
    for (const Row& row : Rows()) {
        const Transfer& transfer = row.transfer;
        if (transfer.carry == Carry::None || (transfer.carry == Carry::VidPid && !bVidPid)) {
            continue;
        }
        const std::string text = ini::GetString(row.section, row.key, "", source);
        if (transfer.carry == Carry::Text || transfer.carry == Carry::VidPid) {
            writer.Text(row.id, text);
            continue;
        }
        // The integer read gives its default for a missing key and for an
        // empty value alike; so does the text read.
        const auto nValue = static_cast<int32_t>(ini::GetInt(row.section, row.key, 0, source));
        int32_t nWritten;
        if (text.empty()) {
            nWritten = transfer.missing;
        } else if (transfer.carry == Carry::Flag) {
            nWritten = nValue != 0 ? 1 : 0;
        } else {
            nWritten =
                nValue >= transfer.low && nValue <= transfer.high ? nValue : transfer.otherwise;
        }
        writer.Number(row.id, nWritten);
        if (row.id == JobKey::HubPort) {
            bVidPid = nWritten == kHubPortVidPid;
        }
    }
    const bool bCommitted = batch.Commit().empty();
    return writer.Failed().empty() && bCommitted;
}
