// The INI engine on any file: string reads (values and name lists) with any
// buffer size, integer reads, and one write (a value, a key deletion or a
// section deletion). After a write of a value the key reads back as written;
// after a key deletion (repeated for each duplicate of the key) it reads the
// default; and every line of the file outside the one the write touched is
// unchanged, byte for byte.
//
// Input: a flags byte, the buffer size, the section, key and value (each a
// length byte and that many bytes), then the file's bytes.
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

// The file's lines, each with its line break (CR LF, LF or CR).
std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t p = 0;
    while (p < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", p);
        if (end == std::string::npos) {
            end = bytes.size();
        } else {
            end += (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1;
        }
        lines.push_back(bytes.substr(p, end - p));
        p = end;
    }
    return lines;
}

bool EndsInBreak(const std::string& line) {
    return !line.empty() && (line.back() == '\r' || line.back() == '\n');
}

std::string BreakOf(const std::string& line) {
    size_t end = line.size();
    while (end > 0 && (line[end - 1] == '\r' || line[end - 1] == '\n')) {
        --end;
    }
    return line.substr(end);
}

// Checks that `after` is `before` with one line changed as a write of
// key=value into section may change it: the key's line replaced (its text up
// to the first '=' kept, then the value, then its own line break, or CR LF
// where it had none), or deleted (value null), or a new key line, or a new
// section with its key, inserted at a line boundary (after a CR LF given to
// a last line that had no break). Every other byte stays.
void CheckOnlyTheKeyLineChanged(const std::string& before, const std::string& after,
                                const std::string& section, const std::string& key,
                                const char* value) {
    if (before == after) {
        return;  // a write that changes nothing leaves the file alone
    }
    // `after` is `before` with [at, at + removed) replaced by `inserted`.
    auto is = [&](size_t at, size_t removed, const std::string& inserted) {
        return after.size() == before.size() - removed + inserted.size() &&
               after.compare(0, at, before, 0, at) == 0 &&
               after.compare(at, inserted.size(), inserted) == 0 &&
               after.compare(at + inserted.size(), std::string::npos, before, at + removed,
                             std::string::npos) == 0;
    };
    size_t common = 0;
    while (common < before.size() && common < after.size() && before[common] == after[common]) {
        ++common;
    }
    const std::string entry = key + "=" + (value ? value : "") + "\r\n";
    const std::string newSection = "[" + section + "]\r\n" + entry;
    const std::vector<std::string> lines = Lines(before);
    size_t start = 0;
    std::vector<size_t> starts;
    for (const std::string& line : lines) {
        starts.push_back(start);
        start += line.size();
    }
    // At the end of the file: new lines, after a CR LF where it needs one.
    if (value) {
        const std::string lead = !before.empty() && !EndsInBreak(before) ? "\r\n" : "";
        if (is(before.size(), 0, lead + entry) || is(before.size(), 0, lead + newSection)) {
            return;
        }
    }
    for (size_t i = lines.size(); i-- > 0;) {
        if (starts[i] > common) {
            continue;  // the change starts before this line
        }
        const std::string& line = lines[i];
        if (!value) {
            if (is(starts[i], line.size(), "")) {
                return;
            }
            continue;
        }
        if (is(starts[i], 0, entry) || is(starts[i], 0, newSection)) {
            return;
        }
        const size_t equals = line.find('=');
        if (equals != std::string::npos) {
            const std::string breakText = EndsInBreak(line) ? BreakOf(line) : "\r\n";
            if (is(starts[i], line.size(), line.substr(0, equals + 1) + value + breakText)) {
                return;
            }
        }
    }
    fuzz::Fail("the write changed more than the key's line: before \"" + fuzz::Printable(before) +
               "\", after \"" + fuzz::Printable(after) + "\"");
}

// True when `after` is `before` with some of its lines taken out whole (the
// rest byte for byte, in order). The lines left may read differently: a lone
// CR and a lone LF that come together make one line break.
bool IsWithLinesTakenOut(const std::string& after, const std::string& before) {
    // The positions in `after` that the lines kept so far can reach.
    std::vector<bool> reached(after.size() + 1, false);
    reached[0] = true;
    for (const std::string& line : Lines(before)) {
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
    const std::string before = input.Rest();

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
        FUZZ_CHECK(utf16 || IsWithLinesTakenOut(after, before),
                   "deleting a section changed other lines: " + fuzz::Printable(after));
        return 0;
    }
    // UTF-16 files convert through UTF-8 here, which not every byte string is.
    if (!CanRoundTrip(section, false) || !CanRoundTrip(key, true) || HasAny(value, "\r\n") ||
        (utf16 && (HasNonAscii(section) || HasNonAscii(key) || HasNonAscii(value)))) {
        return 0;
    }
    if (!utf16) {
        CheckOnlyTheKeyLineChanged(before, after, section, key, written);
    }
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
        if (!utf16) {
            CheckOnlyTheKeyLineChanged(current, next, section, key, nullptr);
        }
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
