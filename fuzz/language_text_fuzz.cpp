// GetLanguageText on any value, in each language section, under UTF-8 and
// under the double-byte code pages 936 (GBK) and 950 (Big5). The oracle
// resolves the escapes over whole characters: the value is cut into its
// characters first (a lead byte and the byte after it are one), then each
// of the three replacements runs over that character list. The lookup must
// give the same bytes: a backslash that ends a Chinese character starts no
// escape, and no character is ever split.
//
// Input: a byte choosing the language and the code page, then the value (up
// to its first line break: one line of the language file).
#include <string>
#include <vector>

#include "module/LanguageText.h"
#include "module/globals.h"
#include "fuzz_support.h"
#include "platform/codepage.h"
#include "platform/ini.h"
#include "platform/posix/codepage_native.h"

namespace {

std::vector<std::string> Characters(const std::string& text) {
    std::vector<std::string> characters;
    for (size_t i = 0; i < text.size();) {
        size_t length =
            codepage::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2
                                                                                             : 1;
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

// Every backslash-`letter` pair of characters, left to right without
// overlapping, becomes `to`.
std::vector<std::string> Replace(const std::vector<std::string>& text, char letter,
                                 const std::string& to) {
    std::vector<std::string> out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == "\\" && i + 1 < text.size() && text[i + 1] == std::string(1, letter)) {
            out.push_back(to);
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::string Resolved(const std::string& value) {
    std::vector<std::string> text = Characters(value);
    text = Replace(text, '\\', "\\");
    text = Replace(text, 'r', "\r");
    text = Replace(text, 'n', "\n");
    std::string out;
    for (const std::string& c : text) {
        out += c;
    }
    return out;
}

const char* const kSections[] = {"ENU", "CHS", "CHT"};
const unsigned kCodePages[] = {65001, 936, 950};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    const uint8_t choice = input.Byte();
    const uint8_t language = choice % 3;
    codepage::SelectNativeCodePage(kCodePages[(choice / 3) % 3]);
    std::string value = input.Rest();
    value = value.substr(0, value.find_first_of("\r\n"));  // one line of the file

    const std::string path = fuzz::ScratchFolder() + "/Language.dll";
    fuzz::WriteFile(path,
                    std::string("[") + kSections[language] + "]\r\nIDS_FUZZ=" + value + "\r\n");
    g_strLanguageFile = path;
    g_nLanguage = language;

    const std::string text = GetLanguageText("IDS_FUZZ");
    // What the file holds for the key, as the 260-byte read gives it.
    const std::string raw = ini::GetString(kSections[language], "IDS_FUZZ", "", path, 260);
    FUZZ_CHECK(raw.size() <= 259, "a text longer than 259 characters");
    const std::string expected = Resolved(raw);
    FUZZ_CHECK(text == expected, "\"" + fuzz::Printable(raw) + "\" gives \"" +
                                     fuzz::Printable(text) + "\", not \"" +
                                     fuzz::Printable(expected) + "\"");
    FUZZ_CHECK(text.size() <= raw.size(), "the escapes made the text longer");
    FUZZ_CHECK(GetLanguageText("IDS_MISSING").empty(), "a missing key gave a text");
    return 0;
}
