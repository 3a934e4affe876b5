// Helpers of the settings sheet scenarios: the password step of a visit, and
// reading sections and keys of a job file as text.
#ifndef SETUP_TESTS_SCENARIO_SHEET_SUPPORT_H
#define SETUP_TESTS_SCENARIO_SHEET_SUPPORT_H

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "driver/operator.h"
#include "resource.h"

namespace sheettest {

// The test jobs store no password: OK alone is accepted.
inline void AcceptPassword(Operator& op) {
    op.OnDialog(IDD_PASSWORD, [](DialogDriver& d) { d.Click(IDOK); });
}

// One accepted visit whose sheet `handler` works on.
inline void QueueVisit(Operator& op, Operator::SheetHandler handler) {
    AcceptPassword(op);
    op.OnSheet(std::move(handler));
}

// The lines of an INI file, without their line ends.
inline std::vector<std::string> Lines(const std::string& ini) {
    std::vector<std::string> lines;
    std::istringstream in(ini);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

// The section [name] as written in the file: its header and lines up to the
// next section, each ended by "\r\n"; empty when the file has no such section.
inline std::string Section(const std::string& ini, const std::string& name) {
    std::string text;
    bool inside = false;
    for (const std::string& line : Lines(ini)) {
        if (!line.empty() && line.front() == '[') {
            if (inside) {
                break;
            }
            inside = line == "[" + name + "]";
        }
        if (inside) {
            text += line + "\r\n";
        }
    }
    return text;
}

// The value of key in [section] as written, "(none)" when it is not there.
inline std::string Value(const std::string& ini, const std::string& section,
                         const std::string& key) {
    for (const std::string& line : Lines(Section(ini, section))) {
        if (line.compare(0, key.size() + 1, key + "=") == 0) {
            return line.substr(key.size() + 1);
        }
    }
    return "(none)";
}

}  // namespace sheettest

#endif
