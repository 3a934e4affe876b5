// Visit: what one editing visit hands to its sheet, pages and dialogs. Show
// builds it from what the host passed; each page keeps its own copy, so what a
// page depends on is read from the page. The module globals of the same names
// keep these values too, for the host's view of the last call; the language
// stays module-wide (the password dialog and every message box read it before
// and beside the sheet).
#ifndef SETUP_MODULE_VISIT_H
#define SETUP_MODULE_VISIT_H

#include <cstdint>
#include <string>

#include "setup/host.h"

struct Visit {
    // The host's program directory, ending in a backslash.
    std::string appDir;
    // The job INI file that the pages load and save.
    std::string jobFile;
    // The host's flash table, read through module/FlashTable.h.
    const FlashTable* flashTable = nullptr;
    // The record the pages preselect; unchecked, so an index beyond the
    // table preselects nothing.
    uint32_t flashIndex = 0;

    // The station's hub profile file: appDir + "HubProfile.cfg".
    std::string HubProfile() const { return appDir + "HubProfile.cfg"; }
};

#endif
