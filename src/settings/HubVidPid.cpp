#include "settings/HubVidPid.h"

namespace {

constexpr size_t kVidPidEntryChars = 8;  // vendor and product ID, 4 hex digits each

bool IsHexDigit(char ch) {
    return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F') || (ch >= 'a' && ch <= 'f');
}

// The position of the first ch in s, -1 when there is none.
long FirstPosition(const std::string& s, char ch) {
    const size_t pos = s.find(ch);
    return pos == std::string::npos ? -1 : static_cast<long>(pos);
}

}  // namespace

// The hub VID/PID list: entries of 8 hexadecimal digits (vendor and product
// ID) separated by commas or by blanks; fills joined with the entries run
// together. Existing job files were checked with exactly this reading, so it
// keeps its leniencies: a trailing separator is accepted; without separators
// the text is cut into 8-digit entries and a shorter remainder dropped; after
// a separator a remainder of exactly 7 characters is dropped too. A list
// holding both kinds of separator is refused.
bool CheckVidPidList(std::string s, std::string& joined) {
    const long nEntryChars = static_cast<long>(kVidPidEntryChars);
    joined.clear();
    bool bLastEntry = false;
    for (;;) {
        if (s.size() < kVidPidEntryChars) {
            return false;
        }
        bool bAllF = true;
        for (size_t i = 0; i < kVidPidEntryChars; ++i) {
            if (!IsHexDigit(s[i])) {
                return false;
            }
            bAllF = bAllF && (s[i] == 'F' || s[i] == 'f');
        }
        if (bAllF) {
            return false;  // FFFFFFFF is no hub
        }

        // The later of the first comma and the first blank ends the entry.
        const long nComma = FirstPosition(s, ',');
        const long nBlank = FirstPosition(s, ' ');
        const long nSeparator = nComma > nBlank ? nComma : nBlank;
        long nEntry = nSeparator;
        if (nSeparator < 0) {
            nEntry = nEntryChars;
            bLastEntry = true;
        }
        if (nEntry != nEntryChars) {
            return false;
        }
        const long nLength = static_cast<long>(s.size());
        if (!bLastEntry) {
            // A separator alone may end the list; otherwise an entry must follow.
            const long nRest = nLength - nSeparator;
            if (nRest < nEntryChars && nRest != 1) {
                return false;
            }
        }
        joined.append(s, 0, kVidPidEntryChars);
        if (nEntry >= nLength - (bLastEntry ? nEntryChars - 1 : nEntryChars)) {
            return true;
        }
        s.erase(0, static_cast<size_t>(nEntry) + (bLastEntry ? 0 : 1));
    }
}
