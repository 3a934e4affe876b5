// The INI engine on any file: string reads (values and name lists) with any
// buffer size, integer reads, and one write (a value, a key deletion or a
// section deletion). After a write of a value the key reads back as written;
// after a key deletion (repeated for each duplicate of the key) it reads the
// default; and every line of the file outside the one the write touched is
// unchanged, byte for byte.
//
// UTF-16 files are checked alike, line by line in UTF-16.
//
// Input: a flags byte, the buffer size, the section, key and value (each a
// length byte and that many bytes), then the file's bytes; with flag 8 those
// bytes are UTF-16LE text after the byte-order mark, which the harness adds.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/ini.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string TrimSpaces(const std::string& text) {
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) {
        return std::string();
    }
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

// What a read gives for a value written as `value`: the blanks around it
// dropped, then one pair of enclosing quotes.
std::string AsRead(const std::string& value) {
    size_t begin = 0, end = value.size();
    while (begin < end && IsBlank(value[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(value[end - 1])) {
        --end;
    }
    std::string v = value.substr(begin, end - begin);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    return v;
}

bool HasAny(const std::string& text, const char* characters) {
    return text.find_first_of(characters, 0, std::strlen(characters) + 1) != std::string::npos;
}

bool HasNonAscii(const std::string& text) {
    for (unsigned char c : text) {
        if (c >= 0x80) {
            return true;
        }
    }
    return false;
}

// A name that, written, is found again by the same name: one line, not
// starting a header or a comment where that matters, no blank but a space
// at its ends (lookups drop spaces only, the file's reader every blank).
bool CanRoundTrip(const std::string& name, bool isKey) {
    if (HasAny(name, "\r\n")) {  // with the NUL
        return false;
    }
    if (!name.empty() && (IsBlank(name.front()) || IsBlank(name.back()))) {
        return false;
    }
    if (isKey) {
        return name.find('=') == std::string::npos &&
               (name.empty() || (name.front() != '[' && name.front() != ';'));
    }
    return name.find(']') == std::string::npos;
}

// The file's lines, each with its line break (CR LF, LF or CR): of the bytes
// of a narrow file, or of the UTF-16 text of a UTF-16 file.
template <typename Text>
std::vector<Text> Lines(const Text& bytes) {
    using Char = typename Text::value_type;
    std::vector<Text> lines;
    size_t p = 0;
    while (p < bytes.size()) {
        size_t end = p;
        while (end < bytes.size() && bytes[end] != Char('\r') && bytes[end] != Char('\n')) {
            ++end;
        }
        if (end < bytes.size()) {
            end +=
                (bytes[end] == Char('\r') && end + 1 < bytes.size() && bytes[end + 1] == Char('\n'))
                    ? 2
                    : 1;
        }
        lines.push_back(bytes.substr(p, end - p));
        p = end;
    }
    return lines;
}

template <typename Text>
bool EndsInBreak(const Text& line) {
    using Char = typename Text::value_type;
    return !line.empty() && (line.back() == Char('\r') || line.back() == Char('\n'));
}

template <typename Text>
Text BreakOf(const Text& line) {
    using Char = typename Text::value_type;
    size_t end = line.size();
    while (end > 0 && (line[end - 1] == Char('\r') || line[end - 1] == Char('\n'))) {
        --end;
    }
    return line.substr(end);
}

// ASCII text in the character type of a file.
template <typename Text>
Text As(const std::string& ascii) {
    return Text(ascii.begin(), ascii.end());
}

// The UTF-16 text of a UTF-16 file's bytes (after the byte-order mark; an odd
// last byte is not part of it).
std::u16string Utf16Text(const std::string& bytes) {
    std::u16string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return text;
}

std::string Printable(const std::string& text) {
    return fuzz::Printable(text);
}

std::string Printable(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char code[12];
            std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(c));
            out += code;
        }
    }
    return out;
}

// Checks that `after` is `before` with one line changed as a write of
// key=value into section may change it: the key's line replaced (its text up
// to the first '=' kept, then the value, then its own line break, or CR LF
// where it had none), or deleted (value null), or a new key line, or a new
// section with its key, inserted at a line boundary (after a CR LF given to
// a last line that had no break). Every other character stays.
// A UTF-16 file holding only its byte-order mark counts as a file whose
// last line has no break (utf16).
template <typename Text>
void CheckOnlyTheKeyLineChanged(const Text& before, const Text& after, const std::string& section,
                                const std::string& key, const char* value, bool utf16) {
    using Char = typename Text::value_type;
    if (before == after) {
        return;  // a write that changes nothing leaves the file alone
    }
    // `after` is `before` with [at, at + removed) replaced by `inserted`.
    auto is = [&](size_t at, size_t removed, const Text& inserted) {
        return after.size() == before.size() - removed + inserted.size() &&
               after.compare(0, at, before, 0, at) == 0 &&
               after.compare(at, inserted.size(), inserted) == 0 &&
               after.compare(at + inserted.size(), Text::npos, before, at + removed, Text::npos) ==
                   0;
    };
    size_t common = 0;
    while (common < before.size() && common < after.size() && before[common] == after[common]) {
        ++common;
    }
    const Text entry = As<Text>(key + "=" + (value ? value : "") + "\r\n");
    const Text newSection = As<Text>("[" + section + "]\r\n") + entry;
    const Text crlf = As<Text>("\r\n");
    const std::vector<Text> lines = Lines(before);
    size_t start = 0;
    std::vector<size_t> starts;
    for (const Text& line : lines) {
        starts.push_back(start);
        start += line.size();
    }
    // At the end of the file: new lines, after a CR LF where it needs one.
    if (value) {
        const Text lead = (before.empty() ? utf16 : !EndsInBreak(before)) ? crlf : Text();
        if (is(before.size(), 0, lead + entry) || is(before.size(), 0, lead + newSection)) {
            return;
        }
    }
    for (size_t i = lines.size(); i-- > 0;) {
        if (starts[i] > common) {
            continue;  // the change starts before this line
        }
        const Text& line = lines[i];
        if (!value) {
            if (is(starts[i], line.size(), Text())) {
                return;
            }
            continue;
        }
        if (is(starts[i], 0, entry) || is(starts[i], 0, newSection)) {
            return;
        }
        const size_t equals = line.find(Char('='));
        if (equals != Text::npos) {
            const Text breakText = EndsInBreak(line) ? BreakOf(line) : crlf;
            if (is(starts[i], line.size(),
                   line.substr(0, equals + 1) + As<Text>(value) + breakText)) {
                return;
            }
        }
    }
    fuzz::Fail("the write changed more than the key's line: before \"" + Printable(before) +
               "\", after \"" + Printable(after) + "\"");
}

// Checks a narrow file's bytes, or a UTF-16 file's text (and that its odd
// last byte, if any, stayed).
void CheckOnlyTheKeyLineChanged(const std::string& before, const std::string& after, bool utf16,
                                const std::string& section, const std::string& key,
                                const char* value) {
    if (!utf16) {
        CheckOnlyTheKeyLineChanged(before, after, section, key, value, false);
        return;
    }
    FUZZ_CHECK(after.size() >= 2 && after.compare(0, 2, before, 0, 2) == 0 &&
                   after.size() % 2 == before.size() % 2 &&
                   (before.size() % 2 == 0 || after.back() == before.back()),
               "a UTF-16 file lost its byte-order mark or its odd last byte");
    CheckOnlyTheKeyLineChanged(Utf16Text(before), Utf16Text(after), section, key, value, true);
}

// True when `after` is `before` with some of its lines taken out whole (the
// rest character for character, in order). The lines left may read
// differently: a lone CR and a lone LF that come together make one line break.
template <typename Text>
bool IsWithLinesTakenOut(const Text& after, const Text& before) {
    // The positions in `after` that the lines kept so far can reach.
    std::vector<bool> reached(after.size() + 1, false);
    reached[0] = true;
    for (const Text& line : Lines(before)) {
        for (size_t at = after.size() + 1; at-- > 0;) {
            if (reached[at] && after.compare(at, line.size(), line) == 0) {
                reached[at + line.size()] = true;
            }
        }
    }
    return reached[after.size()];
}

void Reads(const std::string& section, const std::string& key, uint32_t size,
           const std::string& path) {
    // A heap buffer of exactly `size` bytes: any write past it is caught.
    std::vector<char> buffer(size == 0 ? 1 : size);
    const char* sections[] = {section.c_str(), nullptr};
    const char* keys[] = {key.c_str(), nullptr};
    for (const char* s : sections) {
        for (const char* k : keys) {
            uint32_t n = ini::GetString(s, k, "dflt", buffer.data(), size, path.c_str());
            if (size == 0) {
                FUZZ_CHECK(n == 0, "a read into no buffer returned characters");
                continue;
            }
            FUZZ_CHECK(n < size, "the read filled its whole buffer");
            FUZZ_CHECK(buffer[n] == '\0', "no NUL after the characters read");
            ini::GetInt(s, k, 7, path.c_str());
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    const uint8_t flags = input.Byte();
    const uint32_t bufferSize = input.Byte() % 64 + ((flags & 4) ? 250 : 0);
    const std::string section = TrimSpaces(input.Text(16));
    const std::string key = TrimSpaces(input.Text(16));
    std::string value = input.Text(32);
    value = value.substr(0, value.find('\0'));  // a C string ends at its NUL
    const bool asUtf16 = (flags & 8) != 0;
    const std::string before = (asUtf16 ? "\xFF\xFE" : "") + input.Rest();

    const std::string path = fuzz::ScratchFolder() + "/job.ini";
    fuzz::WriteFile(path, before);
    Reads(section, key, bufferSize, path);

    const int op = flags & 3;  // 0 and 3: a value; 1: a key deleted; 2: a section deleted
    const char* written = op == 1 || op == 2 ? nullptr : value.c_str();
    const bool ok =
        ini::WriteString(section.c_str(), op == 2 ? nullptr : key.c_str(), written, path.c_str());
    FUZZ_CHECK(ok, "a write to a writable file failed");
    const std::string after = fuzz::ReadFile(path);
    Reads(section, key, bufferSize, path);

    const bool utf16 = before.size() >= 2 && before[0] == '\xFF' && before[1] == '\xFE';
    if (op == 2) {
        FUZZ_CHECK(utf16 ? IsWithLinesTakenOut(Utf16Text(after), Utf16Text(before))
                         : IsWithLinesTakenOut(after, before),
                   "deleting a section changed other lines: " + fuzz::Printable(after));
        return 0;
    }
    // UTF-16 files convert through UTF-8 here, which not every byte string is.
    if (!CanRoundTrip(section, false) || !CanRoundTrip(key, true) || HasAny(value, "\r\n") ||
        (utf16 && (HasNonAscii(section) || HasNonAscii(key) || HasNonAscii(value)))) {
        return 0;
    }
    CheckOnlyTheKeyLineChanged(before, after, utf16, section, key, written);
    auto readBack = [&] {
        std::vector<char> buffer(4096);
        uint32_t n = ini::GetString(section.c_str(), key.c_str(), "\x01", buffer.data(),
                                    static_cast<uint32_t>(buffer.size()), path.c_str());
        return std::string(buffer.data(), n);
    };
    std::string read = readBack();
    // A deletion takes out the first of duplicate keys only (as Windows does):
    // each further one takes out the next, one line each, until none is left;
    // there are never more of them than the file has lines.
    std::string current = after;
    const size_t lineCount = Lines(after).size();
    for (size_t again = 0; !written && read != "\x01" && again <= lineCount; ++again) {
        FUZZ_CHECK(ini::WriteString(section.c_str(), key.c_str(), nullptr, path.c_str()),
                   "a deletion failed");
        const std::string next = fuzz::ReadFile(path);
        FUZZ_CHECK(next != current, "a deletion of a key that reads a value changed nothing");
        CheckOnlyTheKeyLineChanged(current, next, utf16, section, key, nullptr);
        current = next;
        read = readBack();
    }
    const std::string expected = written ? AsRead(value) : "\x01";
    FUZZ_CHECK(read == expected, "[" + fuzz::Printable(section) + "] " + fuzz::Printable(key) +
                                     " reads \"" + fuzz::Printable(read) + "\", not \"" +
                                     fuzz::Printable(expected) + "\" in \"" +
                                     fuzz::Printable(current) + "\"");
    return 0;
}
