#include "job_reference.h"

#include <cstring>
#include <string>
#include <vector>

#include "settings/JobFileSchema.h"

namespace {

using namespace jobsettings;

// "BinCap1..16", "FID0..5": a numbered row's keys.
std::string KeyName(const Row& row) {
    if (row.numbers == Numbers::One) {
        return row.key;
    }
    const size_t count = row.member.elements;
    return KeyOf(row, 0) + ".." + KeyOf(row, count - 1).substr(std::strlen(row.key));
}

std::string TypeText(const Row& row) {
    switch (row.kind) {
        case Kind::Byte:
            return "8-bit number";
        case Kind::Flag:
            return "flag";
        case Kind::Signed:
            return "signed 32-bit number";
        case Kind::Unsigned:
            return "unsigned 32-bit number";
        case Kind::Color:
            return "colour";
        case Kind::Text:
            return "text";
        case Kind::FlashIds:
            return "flash ID bytes";
        case Kind::Copied:
            return row.transfer.carry == Carry::Flag ? "number" : "text";
        case Kind::FixUp:
            break;
    }
    return "";
}

std::string DefaultText(const Row& row) {
    switch (row.kind) {
        case Kind::Text:
            return std::string("\"") + row.textDefault + "\"";
        case Kind::FlashIds:
        case Kind::Copied:
            return "-";
        default:
            return std::to_string(row.loadDefault);
    }
}

std::string RuleText(const Rule& rule) {
    const std::string limit = std::to_string(rule.limit);
    switch (rule.kind) {
        case RuleKind::Below:
            return limit + " or more reads as " + std::to_string(rule.replacement);
        case RuleKind::ChipCount:
            return "anything but 1, 2 or 4 reads as 1";
        case RuleKind::AtMost:
            return "more than " + limit + " reads as " + limit;
        case RuleKind::Clamp:
            return "less than " + std::to_string(rule.replacement) + " reads as " +
                   std::to_string(rule.replacement) + ", more than " + limit + " as " + limit;
        case RuleKind::ColorIndex:
            return "0 to " + std::to_string(rule.limit - 1) + " name a colour";
        case RuleKind::CheckModeFixUp:
            return "then 0 while [CheckFlash] FlashIndex is -1, or 1 while [CheckID] Num is 0, "
                   "reads as 2";
        case RuleKind::None:
            break;
    }
    return "";
}

// The row's rule and the fix-ups of its member later in the load.
std::string LoadText(const Row& row) {
    std::string text;
    if (row.kind == Kind::Byte) {
        text = "low byte";
    } else if (row.kind == Kind::Flag) {
        text = "1 when the low byte is not 0";
    } else if (row.kind == Kind::Text || row.kind == Kind::Copied) {
        text = row.kind == Kind::Copied ? "not read" : "up to 259 characters";
    }
    std::vector<std::string> parts;
    if (!text.empty()) {
        parts.push_back(text);
    }
    if (row.rule.kind != RuleKind::None) {
        parts.push_back(RuleText(row.rule));
    }
    for (const Row& fix : Rows()) {
        if (fix.kind == Kind::FixUp && std::strcmp(fix.section, row.section) == 0 &&
            std::strcmp(fix.key, row.key) == 0) {
            parts.push_back(RuleText(fix.rule));
        }
    }
    std::string joined;
    for (const std::string& part : parts) {
        joined += (joined.empty() ? "" : "; ") + part;
    }
    return joined.empty() ? "-" : joined;
}

std::string TransferText(const Transfer& t) {
    switch (t.carry) {
        case Carry::Flag:
            return "as a flag (missing: 0)";
        case Carry::Range:
            return std::to_string(t.low) + " to " + std::to_string(t.high) + ", else " +
                   std::to_string(t.otherwise) + " (missing: " + std::to_string(t.missing) + ")";
        case Carry::Text:
            return "as text";
        case Carry::VidPid:
            return "as text, with HubPort 4";
        case Carry::None:
            break;
    }
    return "-";
}

const char* WriterName(Writer writer) {
    switch (writer) {
        case Writer::ModePage:
            return "mode tab";
        case Writer::AdvancedDlg:
            return "advanced settings dialog";
        case Writer::BinPage:
            return "bin tab";
        case Writer::FlashCheckPage:
            return "flash check tab";
        case Writer::PasswordDlg:
            return "password dialog";
        case Writer::None:
            break;
    }
    return "-";
}

// The rows a person looks up: every row but the fix-ups.
std::vector<const Row*> KeyRows() {
    std::vector<const Row*> rows;
    for (const Row& row : Rows()) {
        if (row.kind != Kind::FixUp) {
            rows.push_back(&row);
        }
    }
    return rows;
}

}  // namespace

std::string SchemaTable() {
    std::string text = "key\ttype\tdefault\tload\ttransfer\twritten by\texport\n";
    for (const Row* row : KeyRows()) {
        text += std::string("[") + row->section + "] " + KeyName(*row) + "\t" + TypeText(*row) +
                "\t" + DefaultText(*row) + "\t" + LoadText(*row) + "\t" +
                TransferText(row->transfer) + "\t" + WriterName(row->writer) + "\t" +
                (Exported(*row) ? "yes" : "no") + "\n";
    }
    return text;
}

std::string SchemaReference() {
    std::string text =
        "# The job file's keys\n"
        "\n"
        "<!-- Generated from the module's schema (src/settings/JobFileSchema.cpp); do not\n"
        "     edit. Regenerate with: build/native/bin/jobini schema --markdown >"
        " docs/job-file.md -->\n"
        "\n"
        "A job file is an INI file. Sections and keys are matched without regard to\n"
        "letter case; numbers are read as the station's integer read takes them (a\n"
        "leading decimal number, `0x` for hexadecimal). A missing key or an empty\n"
        "value reads as its default. `jobini check FILE` names every value of a file\n"
        "that is not taken as written.\n"
        "\n"
        "Columns: the key as written (numbered keys with their numbers), its type,\n"
        "its default, what the reading does to the value, what the value means,\n"
        "and what an export or import copies (the advanced keys travel as the\n"
        "range says: a value in the range as itself, any other as the fallback).\n"
        "A flag is written 1 or 0; a colour is 0x00BBGGRR written as signed decimal.\n";
    const Writer groups[] = {Writer::ModePage,       Writer::AdvancedDlg, Writer::BinPage,
                             Writer::FlashCheckPage, Writer::PasswordDlg, Writer::None};
    const std::vector<const Row*> rows = KeyRows();
    for (const Writer group : groups) {
        std::string title = WriterName(group);
        if (group == Writer::None) {
            title = "read by the module, written by none of its pages";
        }
        title[0] = static_cast<char>(title[0] - 'a' + 'A');
        text += "\n## " + title + "\n";
        std::vector<std::string> sections;
        for (const Row* row : rows) {
            if (row->writer != group) {
                continue;
            }
            const std::string section = row->section;
            bool seen = false;
            for (const std::string& s : sections) {
                seen = seen || s == section;
            }
            if (!seen) {
                sections.push_back(section);
            }
        }
        for (const std::string& section : sections) {
            text += "\n### [" + section + "]\n\n";
            text += "| Key | Type | Default | Reading | Meaning | Export | Transfer |\n";
            text += "|---|---|---|---|---|---|---|\n";
            for (const Row* row : rows) {
                if (row->writer != group || section != row->section) {
                    continue;
                }
                std::string key = "`" + KeyName(*row) + "`";
                if (row->writeSection != nullptr) {
                    key += " (written under [" + std::string(row->writeSection) + "])";
                }
                text += "| " + key + " | " + TypeText(*row) + " | " + DefaultText(*row) + " | " +
                        LoadText(*row) + " | " + row->meaning + " | " +
                        (Exported(*row) ? "yes" : "no") + " | " + TransferText(row->transfer) +
                        " |\n";
            }
        }
    }
    return text;
}
