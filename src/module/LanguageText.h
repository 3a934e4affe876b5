// Texts shown by the module, looked up by IDS_ key in the section of the
// language file (g_strLanguageFile) that g_nLanguage selects.
#ifndef SETUP_MODULE_LANGUAGETEXT_H
#define SETUP_MODULE_LANGUAGETEXT_H

#include <string>

// The text of key in the current language, at most 259 characters, with the
// escapes \\, \r and \n resolved in that order; empty when the file, the
// section or the key is missing. Reads the file on every call.
std::string GetLanguageText(const char* key);

#endif
