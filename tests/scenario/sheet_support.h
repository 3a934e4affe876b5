// Helpers of the settings sheet scenarios: the password step of a visit,
// reading sections and keys of a job file as text and checking them, and the
// captions that come from the language file.
#ifndef SETUP_TESTS_SCENARIO_SHEET_SUPPORT_H
#define SETUP_TESTS_SCENARIO_SHEET_SUPPORT_H

#include <functional>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "driver/operator.h"
#include "driver/station.h"
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

// A key of a job file with the value it should hold as written ("(none)":
// not there), and what a failure should add.
struct KeyValue {
    const char* section;
    const char* key;
    std::string value;
    const char* note = "";
};

// Checks each key of ini; a failure names the section and key.
inline void ExpectKeys(const std::string& ini, std::initializer_list<KeyValue> expected) {
    for (const KeyValue& k : expected) {
        EXPECT_EQ(k.value, Value(ini, k.section, k.key))
            << "[" << k.section << "] " << k.key << " " << k.note;
    }
}

// check, once in English and once in Simplified Chinese.
inline void InEnglishAndChinese(const std::function<void(char language)>& check) {
    for (char language : {SETUP_LANGUAGE_ENU, SETUP_LANGUAGE_CHS}) {
        SCOPED_TRACE("language " + std::to_string(language));
        check(language);
    }
}

// A control and the language key of its caption.
using Caption = std::pair<int, const char*>;

// Each control shows the text its key has in the station's language file.
template <class Captions>
void ExpectCaptions(const DialogDriver& d, const Captions& captions, const Station& station,
                    int language) {
    for (const Caption& caption : captions) {
        EXPECT_EQ(station.Text(caption.second, language), d.Text(caption.first)) << caption.second;
    }
}

}  // namespace sheettest

#endif
