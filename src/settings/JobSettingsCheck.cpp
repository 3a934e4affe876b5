// CheckJobSettings: every value of a job file that the load does not take as
// written. Each key the load reads is taken through the steps the load
// applies to it (the integer read, the member's width, the row's rule, a
// fix-up), with the load's own functions, and every step that changes the
// value gives a reason.
//
// A number is taken as written when the integer read takes the whole text
// as one number (the engine's base rules: "0x1F" is 31, "010" is 10) and the
// member holds that number unchanged.
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "platform/ini.h"
#include "settings/JobFileSchema.h"
#include "settings/JobSettings.h"

namespace {

using namespace jobsettings;

// Texts are read through a 260-byte buffer.
const size_t kTextLength = 259;

std::string Join(const std::vector<std::string>& reasons) {
    std::string text;
    for (const std::string& reason : reasons) {
        text += (text.empty() ? "" : "; ") + reason;
    }
    return text;
}

std::string Hex(uint32_t value) {
    static const char digits[] = "0123456789ABCDEF";
    return std::string("0x") + digits[(value >> 4) & 15] + digits[value & 15];
}

// Why the width of the member changes the number read.
void WidthReasons(const Row& row, int64_t number, uint32_t value, std::vector<std::string>& why) {
    const std::string n = std::to_string(number);
    switch (row.kind) {
        case Kind::Byte:
            if (number < 0 || number > 255) {
                why.push_back("an 8-bit value: the low byte of " + n + " is " +
                              std::to_string(value & 0xFF));
            }
            break;
        case Kind::Flag:
            if (number != 0 && number != 1) {
                why.push_back("a flag: the low byte of " + n +
                              ((value & 0xFF) == 0 ? " is 0" : " is not 0"));
            }
            break;
        case Kind::Signed:
            if (number < std::numeric_limits<int32_t>::min() ||
                number > std::numeric_limits<int32_t>::max()) {
                why.push_back("beyond 32 bits: wraps to " +
                              std::to_string(static_cast<int32_t>(value)));
            }
            break;
        case Kind::Unsigned:
        case Kind::Color:
            if (number < 0) {
                why.push_back("negative: reads as " + std::to_string(value));
            } else if (number > std::numeric_limits<uint32_t>::max()) {
                why.push_back("beyond 32 bits: wraps to " + std::to_string(value));
            }
            break;
        default:
            break;
    }
}

// Why the row's rule (or a fix-up of the same member) changes the value.
void RuleReason(const Row& rule, uint32_t before, uint32_t after, std::vector<std::string>& why) {
    const std::string limit = std::to_string(rule.rule.limit);
    switch (rule.rule.kind) {
        case RuleKind::Below:
            if (after != before) {
                why.push_back(limit + " or more reads as " + std::to_string(rule.rule.replacement));
            }
            break;
        case RuleKind::ChipCount:
            if (after != before) {
                why.push_back("anything but 1, 2 or 4 reads as 1");
            }
            break;
        case RuleKind::AtMost:
            if (after != before) {
                why.push_back("more than " + limit + " reads as " + limit);
            }
            break;
        case RuleKind::Clamp:
            if (after != before) {
                const std::string bound = std::to_string(after);
                why.push_back((after > before ? "less than " : "more than ") + bound +
                              " reads as " + bound);
            }
            break;
        case RuleKind::ColorIndex: {
            const int32_t index = static_cast<int32_t>(before);
            if (index < 0 || index >= static_cast<int32_t>(rule.rule.limit)) {
                why.push_back("names no colour: the colour table has indexes 0 to " +
                              std::to_string(rule.rule.limit - 1));
            }
            break;
        }
        case RuleKind::CheckModeFixUp:
            if (after != before) {
                why.push_back(before == 0 ? "mode 0 while [CheckFlash] FlashIndex is -1 reads as 2"
                                          : "mode 1 while [CheckID] Num is 0 reads as 2");
            }
            break;
        case RuleKind::None:
            break;
    }
}

class Checker {
public:
    Checker(const std::string& file, const CJobSettings& loaded) : m_file(file), m_loaded(loaded) {}

    std::vector<JobSettingsNote> Run() {
        for (const Row* row : RowsInRecordOrder()) {
            const size_t count = ElementsRead(*row, m_loaded);
            for (size_t element = 0; element < count; ++element) {
                CheckKey(*row, element);
            }
        }
        // Then the keys the pages and dialogs read straight from the file.
        for (const Row& row : Rows()) {
            if (row.member.elements == 0 && row.kind != Kind::Copied) {
                CheckKey(row, 0);
            }
        }
        return std::move(m_notes);
    }

private:
    void Note(const ini::ReadView::Found& found, std::string key, std::string_view text,
              std::string value, const std::vector<std::string>& why) {
        m_notes.push_back({std::string(found.section), std::move(key), std::string(text),
                           std::move(value), Join(why)});
    }

    void CheckKey(const Row& row, size_t element) {
        const std::string key = KeyOf(row, element);
        ini::ReadView::Found found;
        if (!m_file.Find(row.section, key.c_str(), &found)) {
            return;  // a missing key gives its default, as documented
        }
        if (row.kind == Kind::Text) {
            CheckText(row, element, found);
        } else if (row.kind == Kind::FlashIds) {
            CheckFlashIds(row, found);
        } else {
            CheckNumber(row, element, found);
        }
    }

    // What the record holds, or for a key outside it what its reader gets.
    std::string Value(const Row& row, size_t element, uint32_t value) const {
        if (row.member.elements != 0) {
            return ValueText(row, m_loaded, element);
        }
        return row.kind == Kind::Signed ? std::to_string(static_cast<int32_t>(value))
                                        : std::to_string(value);
    }

    void CheckText(const Row& row, size_t element, const ini::ReadView::Found& found) {
        if (found.value.size() > kTextLength) {
            const std::string value = row.member.elements != 0
                                          ? ValueText(row, m_loaded, element)
                                          : std::string(found.value.substr(0, kTextLength));
            Note(found, std::string(found.key), found.value, "\"" + value + "\"",
                 {"longer than " + std::to_string(kTextLength) + " characters: cut"});
        }
    }

    void CheckNumber(const Row& row, size_t element, const ini::ReadView::Found& found) {
        std::vector<std::string> why;
        uint32_t number;
        if (found.value.empty()) {
            number = static_cast<uint32_t>(row.loadDefault);
            why.push_back("empty: the default " + std::to_string(row.loadDefault) + " is used");
        } else {
            const ini::IntReading reading = ini::ReadInteger(found.value);
            number = reading.value;
            if (!reading.whole) {
                why.push_back("not one number: the integer read takes " +
                              std::to_string(reading.number));
            }
            WidthReasons(row, reading.number, reading.value, why);
        }
        const uint32_t read = FromNumber(row.kind, number);
        uint32_t value = ApplyRule(row, read, m_loaded);
        RuleReason(row, read, value, why);
        // Fix-ups of the member later in the load.
        for (const Row& fix : Rows()) {
            if (fix.kind == Kind::FixUp && std::strcmp(fix.section, row.section) == 0 &&
                std::strcmp(fix.key, row.key) == 0) {
                const uint32_t fixed = ApplyRule(fix, value, m_loaded);
                RuleReason(fix, value, fixed, why);
                value = fixed;
            }
        }
        if (!why.empty()) {
            Note(found, std::string(found.key), found.value, Value(row, element, value), why);
        }
    }

    // Each piece of [CheckFlash] FID: digits after the first 'x' (or the
    // whole piece), one byte of them.
    void CheckFlashIds(const Row& row, const ini::ReadView::Found& found) {
        std::string_view text = found.value;
        if (text.size() > kTextLength) {
            Note(found, std::string(found.key), text,
                 "\"" + std::string(text.substr(0, kTextLength)) + "\"",
                 {"longer than " + std::to_string(kTextLength) +
                  " characters: the rest is not read"});
            text = text.substr(0, kTextLength);
        }
        const std::vector<std::string_view> pieces = FlashIdPieces(text);
        for (size_t i = 0; i < pieces.size(); ++i) {
            const std::string_view piece = pieces[i];
            const std::string key = std::string(found.key) + "[" + std::to_string(i) + "]";
            if (i >= row.member.elements) {
                Note(found, std::string(found.key), piece, "not read",
                     {"piece " + std::to_string(i + 1) + ": only " +
                      std::to_string(row.member.elements) + " flash ID bytes are read"});
                continue;
            }
            std::vector<std::string> why;
            const size_t x = piece.find_first_of("xX");
            const std::string_view digits =
                x == std::string_view::npos ? piece : piece.substr(x + 1);
            if (digits.empty()) {
                why.push_back("no digits: reads as 0");
            } else if (digits.find_first_not_of("0123456789abcdefABCDEF") !=
                       std::string_view::npos) {
                why.push_back("not hexadecimal digits: reads as 0");
            } else {
                const size_t first = digits.find_first_not_of('0');
                if (first != std::string_view::npos && digits.size() - first > 2) {
                    why.push_back("more than one byte: the low byte " +
                                  Hex(NumberOf(row, m_loaded, i)) + " is used");
                }
                std::string before(piece.substr(0, x == std::string_view::npos ? 0 : x));
                before.erase(0, before.find_first_not_of(" \t"));
                if (!before.empty() && before != "0") {
                    why.push_back("the text before the x is ignored");
                }
            }
            if (!why.empty()) {
                Note(found, key, piece, ValueText(row, m_loaded, i), why);
            }
        }
    }

    const ini::ReadView m_file;
    const CJobSettings& m_loaded;
    std::vector<JobSettingsNote> m_notes;
};

}  // namespace

std::vector<JobSettingsNote> CheckJobSettings(const std::string& file, const CJobSettings& loaded) {
    return Checker(file, loaded).Run();
}
