#include "entry/LanguageText.h"

#include "entry/globals.h"
#include "platform/ini.h"

namespace {

const char kLanguageSections[3][16] = {"ENU", "CHS", "CHT"};

// Every occurrence of from, left to right, without overlapping.
void ReplaceAll(std::string& text, const char* from, const char* to) {
    const std::string pattern(from);
    const std::string replacement(to);
    std::string result;
    size_t pos = 0;
    for (size_t hit; (hit = text.find(pattern, pos)) != std::string::npos;
         pos = hit + pattern.size()) {
        result.append(text, pos, hit - pos);
        result += replacement;
    }
    result.append(text, pos, std::string::npos);
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
