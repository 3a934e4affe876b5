// The hub VID/PID list check on any text. A list it accepts yields whole
// entries of eight hexadecimal digits, none of them FFFFFFFF, each found in
// the list in the same order; a list with both kinds of separator is never
// accepted; and the entries it yields, written back one per comma, are
// accepted again and yield themselves.
//
// Input: the list.
#include <string>

#include "fuzz_support.h"
#include "settings/HubVidPid.h"

namespace {

bool IsHex(const std::string& text) {
    return text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string list(reinterpret_cast<const char*>(data), size);
    std::string joined = "left over";
    if (!CheckVidPidList(list, joined)) {
        return 0;
    }
    const std::string what =
        "\"" + fuzz::Printable(list) + "\" gave \"" + fuzz::Printable(joined) + "\"";
    FUZZ_CHECK(!joined.empty() && joined.size() % 8 == 0 && IsHex(joined),
               "not whole entries: " + what);
    FUZZ_CHECK(joined.size() <= list.size(), "more digits than the list holds: " + what);
    FUZZ_CHECK(list.find(',') == std::string::npos || list.find(' ') == std::string::npos,
               "a list with commas and blanks accepted: " + what);
    std::string rewritten;
    size_t from = 0;
    for (size_t at = 0; at < joined.size(); at += 8) {
        const std::string entry = joined.substr(at, 8);
        FUZZ_CHECK(entry.find_first_not_of("fF") != std::string::npos,
                   "FFFFFFFF accepted: " + what);
        from = list.find(entry, from);
        FUZZ_CHECK(from != std::string::npos, "an entry not in the list: " + what);
        from += 8;
        rewritten += (at == 0 ? "" : ",") + entry;
    }
    std::string again;
    FUZZ_CHECK(CheckVidPidList(rewritten, again) && again == joined,
               "the entries written back are refused or read otherwise: " + what);
    return 0;
}
