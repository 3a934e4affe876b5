// The hub settings of a job: the hub port styles ([Advanced] HubPort) and
// the check of the hub VID/PID list ([Advanced] VID_PID) that style 4 needs.
#ifndef SETUP_SETTINGS_HUBVIDPID_H
#define SETUP_SETTINGS_HUBVIDPID_H

#include <string>

// The hub port styles: how insert indexes are given to the hub's ports.
enum HubPortStyle {
    kHubPortDefault = 0,
    kHubPortFixed = 1,
    kHubPortUnfixed = 2,
    kHubPortFromProfile = 3,
    kHubPortVidPid = 4,
};

// Checks the hub VID/PID list: entries of 8 hexadecimal digits separated by
// commas or by blanks. TRUE with the entries run together in joined; FALSE
// for a list the stations cannot use.
bool CheckVidPidList(std::string s, std::string& joined);

#endif
