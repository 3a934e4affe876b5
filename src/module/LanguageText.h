// Texts shown by the module, looked up by IDS_ key in the section of the
// language file (g_strLanguageFile) that g_nLanguage selects.
#ifndef SETUP_MODULE_LANGUAGETEXT_H
#define SETUP_MODULE_LANGUAGETEXT_H

#include <cstddef>
#include <string>

namespace fw {
class CWnd;
}

// The text of key in the current language, at most 259 characters, with the
// escapes \\, \r and \n resolved in that order; empty when the file, the
// section or the key is missing. Reads the file on every call.
std::string GetLanguageText(const char* key);

// A control whose template caption gives way to the text of a language key.
struct LanguageCaption {
    int nID;
    const char* key;
};

// Sets the caption of each control of wnd to its key's text, in the order
// given.
void SetLanguageCaptions(fw::CWnd& wnd, const LanguageCaption* captions, size_t count);
template <size_t N>
void SetLanguageCaptions(fw::CWnd& wnd, const LanguageCaption (&captions)[N]) {
    SetLanguageCaptions(wnd, captions, N);
}

#endif
