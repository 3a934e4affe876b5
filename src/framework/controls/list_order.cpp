#include "framework/controls/list_order.h"

namespace fw {

namespace {

// Looked up: sorted lists compare on every insertion.
struct WeightTable {
    int weight[256];
    constexpr WeightTable() : weight() {
        for (int c = 0; c < 256; ++c) {
            if (c >= '0' && c <= '9') {
                weight[c] = 0x100 + c;
            } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
                weight[c] = 0x200 + (c | 0x20);
            } else if (c < 0x80) {
                weight[c] = c;  // blanks, punctuation, symbols: in character order
            } else {
                weight[c] = 0x300 + c;
            }
        }
    }
};
constexpr WeightTable kWeights;

}  // namespace

int ListSortWeight(unsigned char c) {
    return kWeights.weight[c];
}

int CompareListWeights(std::string_view a, std::string_view b, bool skipIgnorable) {
    size_t i = 0;
    size_t j = 0;
    for (;;) {
        while (skipIgnorable && i < a.size() &&
               ListSortIgnorable(static_cast<unsigned char>(a[i]))) {
            ++i;
        }
        while (skipIgnorable && j < b.size() &&
               ListSortIgnorable(static_cast<unsigned char>(b[j]))) {
            ++j;
        }
        if (i == a.size() || j == b.size()) {
            return (i == a.size() ? 0 : 1) - (j == b.size() ? 0 : 1);
        }
        const int wa = ListSortWeight(static_cast<unsigned char>(a[i]));
        const int wb = ListSortWeight(static_cast<unsigned char>(b[j]));
        if (wa != wb) {
            return wa < wb ? -1 : 1;
        }
        ++i;
        ++j;
    }
}

int CompareListTexts(std::string_view a, std::string_view b) {
    const int primary = CompareListWeights(a, b, true);
    return primary != 0 ? primary : CompareListWeights(a, b, false);
}

// Not std::tolower: the process's locale, whatever a host set it to, does
// not decide what matches.
constexpr unsigned char FoldAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c | 0x20) : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(static_cast<unsigned char>(a[i])) !=
            FoldAscii(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace fw
