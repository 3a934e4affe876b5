#include "platform/ini_document.h"

#include <algorithm>
#include <cstring>

#include "platform/ini_store.h"

namespace ini {

namespace {

// Blanks around names and values: space, tab, vertical tab, form feed.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// The first occurrence of c in [p, end), stepping over the trail bytes of
// double-byte characters (whose trail byte can be ']' in CJK code pages).
uint32_t Find(const std::string& text, uint32_t p, uint32_t end, char c) {
    while (p < end) {
        unsigned char b = static_cast<unsigned char>(text[p]);
        if (text[p] == c) {
            return p;
        }
        p += (store::IsLeadByte(b) && p + 1 < end) ? 2 : 1;
    }
    return end;
}

std::string_view Trimmed(const std::string& text, uint32_t begin, uint32_t end) {
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return std::string_view(text.data() + begin, end - begin);
}

bool IsBlank16(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
}

bool IsLineBreak16(char16_t c) {
    return c == u'\r' || c == u'\n';
}

// The key under which a name of a UTF-16 file is indexed: FoldCase's key of
// the same name given in the narrow code page, but taken from the UTF-16
// text, so that names compare as they are in the file.
void FoldWide(std::u16string_view name, std::string* folded) {
    folded->clear();
    for (char16_t c : name) {
        if (c >= 0x80) {
            *folded = store::FoldWide(name.data(), name.size());
            return;
        }
        folded->push_back(static_cast<char>(c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c));
    }
}

const char kBom[] = "\xFF\xFE";

}  // namespace

void FoldCase(std::string_view text, std::string* folded) {
    folded->assign(text.data(), text.size());
    for (char& c : *folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        } else if (static_cast<unsigned char>(c) >= 0x80) {
            *folded = store::FoldNonAscii(text);
            return;
        }
    }
}

Document::Document(std::string bytes) : m_bytes(std::move(bytes)) {
    m_utf16 = m_bytes.size() >= 2 && m_bytes.compare(0, 2, kBom, 2) == 0;
    SplitLines();

    // The names and values of UTF-16 files are converted into m_text first:
    // views into it are taken once it holds them all. Narrow files are
    // parsed line by line below.
    std::vector<Parsed> parsed;
    if (m_utf16) {
        parsed.resize(m_lines.size());
        for (uint32_t i = 0; i < m_lines.size(); ++i) {
            parsed[i] = ParseWideLine(m_lines[i]);
        }
    }
    const std::string& text = Text();
    auto view = [&text](uint32_t begin, uint32_t end) {
        return std::string_view(text.data() + begin, end - begin);
    };

    int current = -1;
    std::string folded;
    for (uint32_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        const Parsed p = m_utf16 ? parsed[i] : ParseLine(m_lines[i]);
        if (line.kind == Kind::Header) {
            if (current >= 0) {
                m_sections[current].end = i;
            }
            Section section;
            section.name = view(p.nameBegin, p.nameEnd);
            section.header = i;
            section.end = static_cast<uint32_t>(m_lines.size());
            section.lastEntry = i;
            // UTF-16 files: the keys are indexed as they are added.
            section.indexed = m_utf16;
            m_sections.push_back(std::move(section));
            current = static_cast<int>(m_sections.size()) - 1;
            if (m_utf16) {
                FoldWide(
                    std::u16string_view(m_wide).substr(p.wnameBegin, p.wnameEnd - p.wnameBegin),
                    &folded);
            } else {
                FoldCase(m_sections.back().name, &folded);
            }
            m_sectionIndex.emplace(folded, static_cast<uint32_t>(current));
        } else if (line.kind == Kind::Entry && current >= 0) {
            Section& section = m_sections[current];
            Entry entry;
            entry.line = i;
            entry.key = view(p.nameBegin, p.nameEnd);
            entry.value = view(p.valueBegin, p.valueEnd);
            if (m_utf16) {
                FoldWide(
                    std::u16string_view(m_wide).substr(p.wnameBegin, p.wnameEnd - p.wnameBegin),
                    &folded);
                section.index.emplace(folded, static_cast<uint32_t>(section.entries.size()));
            }
            section.entries.push_back(entry);
            section.lastEntry = i;
        }
    }
}

void Document::SplitLines() {
    if (!m_utf16) {
        const std::string& text = m_bytes;
        uint32_t size = static_cast<uint32_t>(text.size());
        uint32_t p = 0;
        while (p < size) {
            Line line{};
            line.begin = p;
            while (p < size && !IsLineBreak(text[p])) {
                ++p;
            }
            line.end = p;
            if (p < size) {
                p += (text[p] == '\r' && p + 1 < size && text[p + 1] == '\n') ? 2 : 1;
            }
            line.next = p;
            m_lines.push_back(line);
        }
        return;
    }

    // UTF-16LE after the byte-order mark.
    size_t units = (m_bytes.size() - 2) / 2;
    m_wide.resize(units);
    for (size_t i = 0; i < units; ++i) {
        unsigned char lo = static_cast<unsigned char>(m_bytes[2 + 2 * i]);
        unsigned char hi = static_cast<unsigned char>(m_bytes[3 + 2 * i]);
        m_wide[i] = static_cast<char16_t>(lo | (hi << 8));
    }
    if ((m_bytes.size() - 2) % 2) {
        m_wideTail = m_bytes.substr(m_bytes.size() - 1);
    }
    uint32_t size = static_cast<uint32_t>(units);
    uint32_t p = 0;
    while (p < size) {
        Line line{};
        line.wbegin = p;
        while (p < size && m_wide[p] != u'\r' && m_wide[p] != u'\n') {
            ++p;
        }
        line.wend = p;
        if (p < size) {
            p += (m_wide[p] == u'\r' && p + 1 < size && m_wide[p + 1] == u'\n') ? 2 : 1;
        }
        line.wnext = p;
        m_lines.push_back(line);
    }
}

Document::Parsed Document::ParseLine(Line& line) const {
    const std::string& text = m_bytes;
    Parsed parsed;
    uint32_t p = line.begin;
    while (p < line.end && IsBlank(text[p])) {
        ++p;
    }
    if (p == line.end) {
        line.kind = Kind::Blank;
    } else if (text[p] == '[') {
        line.kind = Kind::Header;
        uint32_t close = Find(text, p + 1, line.end, ']');
        std::string_view name = Trimmed(text, p + 1, close);
        parsed.nameBegin = static_cast<uint32_t>(name.data() - text.data());
        parsed.nameEnd = parsed.nameBegin + static_cast<uint32_t>(name.size());
    } else if (text[p] == ';') {
        line.kind = Kind::Comment;
    } else {
        uint32_t equals = Find(text, p, line.end, '=');
        if (equals == line.end) {
            line.kind = Kind::Text;
            return parsed;
        }
        line.kind = Kind::Entry;
        line.valueStart = equals + 1;
        std::string_view key = Trimmed(text, line.begin, equals);
        std::string_view v = Trimmed(text, equals + 1, line.end);
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
            v = v.substr(1, v.size() - 2);
        }
        // A value is a C string: it ends at a NUL byte.
        v = v.substr(0, v.find('\0'));
        parsed.nameBegin = static_cast<uint32_t>(key.data() - text.data());
        parsed.nameEnd = parsed.nameBegin + static_cast<uint32_t>(key.size());
        parsed.valueBegin = static_cast<uint32_t>(v.data() - text.data());
        parsed.valueEnd = parsed.valueBegin + static_cast<uint32_t>(v.size());
    }
    return parsed;
}

Document::Parsed Document::ParseWideLine(Line& line) {
    const std::u16string_view wide(m_wide);
    auto blank = [&wide](uint32_t at) { return at < wide.size() && IsBlank16(wide[at]); };
    // The text [begin, end) of the line without blanks around it.
    auto trim = [&](uint32_t& begin, uint32_t& end) {
        while (begin < end && blank(begin)) {
            ++begin;
        }
        while (end > begin && blank(end - 1)) {
            --end;
        }
    };
    auto convert = [this, &wide](uint32_t begin, uint32_t end, uint32_t* nbegin, uint32_t* nend) {
        *nbegin = static_cast<uint32_t>(m_text.size());
        m_text += store::ToNarrow(wide.data() + begin, end - begin);
        *nend = static_cast<uint32_t>(m_text.size());
    };
    Parsed parsed;
    uint32_t p = line.wbegin;
    while (p < line.wend && blank(p)) {
        ++p;
    }
    if (p == line.wend) {
        line.kind = Kind::Blank;
    } else if (wide[p] == u'[') {
        line.kind = Kind::Header;
        uint32_t begin = p + 1;
        uint32_t end = begin;
        while (end < line.wend && wide[end] != u']') {
            ++end;
        }
        trim(begin, end);
        parsed.wnameBegin = begin;
        parsed.wnameEnd = end;
        convert(begin, end, &parsed.nameBegin, &parsed.nameEnd);
    } else if (wide[p] == u';') {
        line.kind = Kind::Comment;
    } else {
        uint32_t equals = p;
        while (equals < line.wend && wide[equals] != u'=') {
            ++equals;
        }
        if (equals == line.wend) {
            line.kind = Kind::Text;
            return parsed;
        }
        line.kind = Kind::Entry;
        line.valueStart = equals + 1;
        uint32_t keyBegin = line.wbegin, keyEnd = equals;
        trim(keyBegin, keyEnd);
        uint32_t begin = equals + 1, end = line.wend;
        trim(begin, end);
        if (end - begin >= 2 && (wide[begin] == u'"' || wide[begin] == u'\'') &&
            wide[end - 1] == wide[begin]) {
            ++begin;
            --end;
        }
        // A value is a C string: it ends at a NUL character.
        for (uint32_t i = begin; i < end; ++i) {
            if (wide[i] == u'\0') {
                end = i;
                break;
            }
        }
        parsed.wnameBegin = keyBegin;
        parsed.wnameEnd = keyEnd;
        convert(keyBegin, keyEnd, &parsed.nameBegin, &parsed.nameEnd);
        convert(begin, end, &parsed.valueBegin, &parsed.valueEnd);
    }
    return parsed;
}

size_t Document::Footprint() const {
    // A name's index entry: a hash node holding a short string.
    const size_t kIndexed = 64;
    size_t total = sizeof(Document) + m_bytes.capacity() + m_text.capacity() +
                   m_wide.capacity() * sizeof(char16_t) + m_lines.capacity() * sizeof(Line) +
                   m_sections.capacity() * sizeof(Section) + m_sections.size() * kIndexed;
    for (const Section& s : m_sections) {
        total += s.entries.capacity() * sizeof(Entry) + s.entries.size() * kIndexed;
    }
    return total;
}

int Document::FindSection(std::string_view name) const {
    std::string folded;
    FoldCase(name, &folded);
    auto it = m_sectionIndex.find(folded);
    return it == m_sectionIndex.end() ? -1 : static_cast<int>(it->second);
}

const Document::Entry* Document::FindEntry(int section, std::string_view key) const {
    if (section < 0 || section >= static_cast<int>(m_sections.size())) {
        return nullptr;
    }
    const Section& s = m_sections[section];
    std::string folded;
    if (!s.indexed) {
        s.index.reserve(s.entries.size());
        for (uint32_t i = 0; i < s.entries.size(); ++i) {
            FoldCase(s.entries[i].key, &folded);
            s.index.emplace(folded, i);
        }
        s.indexed = true;
    }
    FoldCase(key, &folded);
    auto it = s.index.find(folded);
    return it == s.index.end() ? nullptr : &s.entries[it->second];
}

std::vector<std::string_view> Document::SectionNames() const {
    std::vector<std::string_view> names;
    names.reserve(m_sections.size());
    for (const Section& s : m_sections) {
        names.push_back(s.name);
    }
    return names;
}

std::vector<std::string_view> Document::KeyNames(int section) const {
    std::vector<std::string_view> names;
    if (section >= 0 && section < static_cast<int>(m_sections.size())) {
        for (const Entry& e : m_sections[section].entries) {
            names.push_back(e.key);
        }
    }
    return names;
}

std::string Document::NewFile(std::string_view section, std::string_view key,
                              std::string_view value) {
    std::string out;
    out.reserve(section.size() + key.size() + value.size() + 8);
    out += '[';
    out += section;
    out += "]\r\n";
    out += key;
    out += '=';
    out += value;
    out += "\r\n";
    return out;
}

Document::Splice Document::Insertion(uint32_t index, std::string_view text) const {
    const Line& line = m_lines[index];
    Splice splice;
    std::string body(text);
    body += "\r\n";
    if (!HasLineBreak(line)) {
        // The last line without a line break: give it one first.
        splice = {line.end, line.end, line.wend, line.wend, "\r\n" + body};
    } else {
        splice = {line.next, line.next, line.wnext, line.wnext, std::move(body)};
    }
    return splice;
}

std::string Document::SetValue(std::string_view section, std::string_view key,
                               std::string_view value) const {
    int s = FindSection(section);
    if (s < 0) {
        uint32_t end = static_cast<uint32_t>(m_bytes.size());
        uint32_t wend = static_cast<uint32_t>(m_wide.size());
        std::string added;
        // A file that does not end in a line break gets one first; a UTF-16
        // file holding only its byte-order mark counts as such a file.
        if (m_utf16 ? m_wide.empty() || !IsLineBreak16(m_wide.back())
                    : !m_bytes.empty() && !IsLineBreak(m_bytes.back())) {
            added = "\r\n";
        }
        added += NewFile(section, key, value);
        return Apply({{end, end, wend, wend, std::move(added)}});
    }
    if (const Entry* entry = FindEntry(s, key)) {
        // The value after the '=' the read found is replaced. The rewritten
        // line always ends in a line break, also when it was the file's last
        // line without one.
        const Line& line = m_lines[entry->line];
        std::string replacement(value);
        if (!HasLineBreak(line)) {
            replacement += "\r\n";
        }
        if (m_utf16) {
            return Apply({{0, 0, line.valueStart, line.wend, std::move(replacement)}});
        }
        return Apply({{line.valueStart, line.end, 0, 0, std::move(replacement)}});
    }
    std::string text(key);
    text += '=';
    text += value;
    return Apply({Insertion(m_sections[s].lastEntry, text)});
}

std::string Document::DeleteKey(int section, std::string_view key) const {
    const Entry* entry = FindEntry(section, key);
    if (!entry) {
        return m_bytes;
    }
    const Line& line = m_lines[entry->line];
    return Apply({{line.begin, line.next, line.wbegin, line.wnext, std::string()}});
}

std::string Document::DeleteSection(int section) const {
    if (section < 0 || section >= static_cast<int>(m_sections.size())) {
        return m_bytes;
    }
    // The header and every entry or other text of the section go; comments
    // and blank lines stay where they are.
    const Section& s = m_sections[section];
    std::vector<Splice> splices;
    for (uint32_t i = s.header; i < s.end; ++i) {
        const Line& line = m_lines[i];
        if (i == s.header || line.kind == Kind::Entry || line.kind == Kind::Text) {
            splices.push_back({line.begin, line.next, line.wbegin, line.wnext, std::string()});
        }
    }
    return Apply(splices);
}

std::string Document::Apply(const std::vector<Splice>& splices) const {
    std::string out;
    if (!m_utf16) {
        out.reserve(m_bytes.size() + 64);
        uint32_t at = 0;
        for (const Splice& s : splices) {
            out.append(m_bytes, at, s.begin - at);
            out += s.replacement;
            at = s.end;
        }
        out.append(m_bytes, at, std::string::npos);
        return out;
    }

    std::u16string wide;
    wide.reserve(m_wide.size() + 64);
    uint32_t at = 0;
    for (const Splice& s : splices) {
        wide.append(m_wide, at, s.wbegin - at);
        wide += store::ToWide(s.replacement.data(), s.replacement.size());
        at = s.wend;
    }
    wide.append(m_wide, at, std::u16string::npos);
    out.reserve(2 + 2 * wide.size() + m_wideTail.size());
    out.append(kBom, 2);
    for (char16_t c : wide) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    out += m_wideTail;
    return out;
}

}  // namespace ini
