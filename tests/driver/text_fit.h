// Whether the texts of a window fit their controls, measured with the real
// fonts of the window system (GDI), as the operator would see them drawn.
// Used by the fit scenario of the tests and by fitcheck.exe, which station
// vendors run on their own language files: one source for both.
//
//   for (const textfit::Cut& cut : textfit::CutTexts(dialog)) {
//       std::printf("%s\n", textfit::Describe(cut).c_str());
//   }
//
// What a control has room for:
// - a static: its client area; the text wraps at words as the static draws
//   it (DT_WORDBREAK), unless its style draws one line;
// - a push button: its client area less its 3-D edge (SM_CXEDGE, SM_CYEDGE)
//   on each side, one line;
// - a check box or radio button: its client area less the box
//   (SM_CXMENUCHECK) and the gap before the label (two edges, SM_CXEDGE),
//   one line;
// - a group box: the frame's top edge, less an average character width at
//   each end; one line;
// - a tab control: each tab's rectangle less an edge on each side, and every
//   tab within the control (a single-line tab control hides the tabs beyond
//   its right edge behind its arrows);
// - an owner-drawn list entry (CutListEntries): the entry's rectangle less
//   the indent it is drawn at, wrapped at words within the entry's height.
// Hidden controls are not looked at; disabled ones are, as they are seen.
//
// Only on Windows (and Wine): the headless window system has no real font
// metrics.
#ifndef SETUP_TESTS_DRIVER_TEXT_FIT_H
#define SETUP_TESTS_DRIVER_TEXT_FIT_H

#ifdef _WIN32

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace textfit {

// A text that does not fit its control.
struct Cut {
    int id = 0;        // the control's ID
    std::string kind;  // "static", "button", "check box", "radio button", "group box",
                       // "tab", "list entry"
    std::string text;  // in the ANSI code page, as the control has it
    int width = 0;     // pixels the text needs across
    int room = 0;      // pixels it has
    int height = 0;    // pixels its lines need down
    int roomHeight = 0;
};

// The texts of the visible controls of `window` and of its visible child
// dialogs (a property sheet's page) that do not fit.
std::vector<Cut> CutTexts(HWND window);

// The entries of an owner-drawn list box that draws texts[i] for entry i at
// `indent` pixels from the entry's left edge, wrapped at words.
std::vector<Cut> CutListEntries(HWND list, const std::vector<std::string>& texts, int indent);

// The language keys whose text (in `texts`, key to text) is `text`, joined
// by "/"; "-" when no key has it (a text of the template itself).
std::string KeysOf(const std::map<std::string, std::string>& texts, const std::string& text);

// One line about a cut text: control, kind, key, text (converted from the
// ANSI code page to UTF-8) and the widths or heights.
std::string Describe(const Cut& cut, const std::string& key);

// The ANSI-code-page text in UTF-8, and back.
std::string Utf8FromAnsi(const std::string& text);
std::string AnsiFromUtf8(const std::string& text);

// The width and height of `text` (one line) in `face` at `points` points
// (lfHeight from the screen's pixels per inch), and the face GDI chose.
SIZE Measure(const char* face, int points, const std::string& text, std::string* chosenFace);

// Whether a font family of this name is installed (EnumFontFamiliesEx).
bool IsInstalled(const char* face);

}  // namespace textfit

#endif  // _WIN32

#endif
