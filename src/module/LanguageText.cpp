#include "module/LanguageText.h"

#include "framework/windows/wnd.h"
#include "module/globals.h"
#include "platform/codepage.h"
#include "platform/ini.h"

namespace {

const char kLanguageSections[3][16] = {"ENU", "CHS", "CHT"};

// Every occurrence of from, left to right, without overlapping. A match
// starts only at a character: the second byte of a two-byte Chinese character
// can be a backslash, and must not be taken for the start of an escape.
void ReplaceAll(std::string& text, const char* from, const char* to) {
    const std::string pattern(from);
    std::string result;
    size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, pattern.size(), pattern) == 0) {
            result += to;
            i += pattern.size();
        } else if (codepage::IsLeadByte(static_cast<unsigned char>(text[i])) &&
                   i + 1 < text.size()) {
            result.append(text, i, 2);
            i += 2;
        } else {
            result += text[i++];
        }
    }
    text.swap(result);
}

}  // namespace

std::string GetLanguageText(const char* key) {
    if (key == nullptr) {
        return std::string();  // a null key would list the section's keys
    }
    const char* section = g_nLanguage < 3 ? kLanguageSections[g_nLanguage] : kLanguageSections[0];
    std::string text = ini::GetString(section, key, "", g_strLanguageFile, 260);
    if (text.find('\\') == std::string::npos) {
        return text;
    }
    // The order matters: "\\n" in the file ends up as a line feed.
    ReplaceAll(text, "\\\\", "\\");
    ReplaceAll(text, "\\r", "\r");
    ReplaceAll(text, "\\n", "\n");
    return text;
}

void SetLanguageCaptions(fw::CWnd& wnd, const LanguageCaption* captions, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        wnd.SetDlgItemText(captions[i].nID, GetLanguageText(captions[i].key));
    }
}
