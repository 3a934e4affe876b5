// The order of a sorted list box's or combo box's texts, as the in-memory
// window system sorts them and as the module pre-sorts the lists it fills
// with thousands of items: letter case ignored, blanks and punctuation
// before digits before letters before bytes from 0x80; hyphens and
// apostrophes count only between texts otherwise equal.
#ifndef SETUP_FRAMEWORK_LIST_ORDER_H
#define SETUP_FRAMEWORK_LIST_ORDER_H

#include <string_view>

namespace fw {

// A byte's sort weight: its class (symbols, digits, letters, other bytes) and
// its rank within the class, below 0x400.
int ListSortWeight(unsigned char c);

// Hyphens and apostrophes: skipped by the first comparison.
inline bool ListSortIgnorable(unsigned char c) {
    return c == '-' || c == '\'';
}

// <0, 0 or >0: the order of two texts by the weights of their bytes,
// hyphens and apostrophes skipped or not.
int CompareListWeights(std::string_view a, std::string_view b, bool skipIgnorable);

// The sorted list's order: without hyphens and apostrophes first, then by
// all the bytes.
int CompareListTexts(std::string_view a, std::string_view b);

// Two texts equal but for the letter case of ASCII letters: how the lists'
// exact search, class names and window names compare.
bool EqualNoCase(std::string_view a, std::string_view b);

}  // namespace fw

#endif
