// One INI file parsed the way Windows' private-profile functions read it, and
// the edits WritePrivateProfileString makes to it. The document keeps the
// file's exact bytes; an edit produces the new bytes of the whole file with
// every untouched line as it was.
//
// Rules (those of Windows):
// - CR LF, LF or CR end a line.
// - A line whose first non-blank character is '[' is a section header; the
//   name runs to the first ']' (or the end of the line) and loses surrounding
//   blanks; the rest of the line is ignored.
// - A line whose first non-blank character is ';' is a comment.
// - Any other line holding '=' is an entry of the current section: the key
//   is what comes before the first '=', the value what follows, both without
//   surrounding blanks; a value of two or more characters enclosed in one
//   kind of quote (' or ") loses that pair.
// - Lines before the first header belong to no section.
// - Names compare without regard to case; the first of duplicate sections,
//   and within it the first of duplicate keys, is the one found.
// - A file starting with the UTF-16LE byte-order mark is read and written as
//   UTF-16LE. Its lines, names and separators are found in UTF-16 (so a
//   fullwidth '=' is no separator, whatever the code page would make of it),
//   names compare in UTF-16, and only the names and values themselves are
//   seen in the narrow code page.
#ifndef SETUP_PLATFORM_INI_DOCUMENT_H
#define SETUP_PLATFORM_INI_DOCUMENT_H

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ini {

class Document {
public:
    struct Entry {
        uint32_t line;
        std::string_view key;
        std::string_view value;
    };

    // Parses the bytes of a file (taking them over). Entries and names are
    // views into the document, so it is neither copied nor moved.
    explicit Document(std::string bytes);
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // The bytes the document was parsed from.
    const std::string& Bytes() const { return m_bytes; }
    // About how many bytes of memory the document takes, its indexes built.
    size_t Footprint() const;
    bool IsUtf16() const { return m_utf16; }

    // Index of the first section with this name (already trimmed), or -1.
    int FindSection(std::string_view name) const;
    // The first entry of the section with this key (already trimmed), or null.
    const Entry* FindEntry(int section, std::string_view key) const;

    // Names of all sections in file order (duplicates included), and the keys
    // of one section in file order.
    std::vector<std::string_view> SectionNames() const;
    std::vector<std::string_view> KeyNames(int section) const;

    // The bytes of the whole file after an edit. The bytes of a new file
    // holding one key are NewFile's.
    std::string SetValue(std::string_view section, std::string_view key,
                         std::string_view value) const;
    std::string DeleteKey(int section, std::string_view key) const;
    std::string DeleteSection(int section) const;
    static std::string NewFile(std::string_view section, std::string_view key,
                               std::string_view value);

private:
    enum class Kind : uint8_t { Blank, Comment, Header, Entry, Text };
    struct Line {
        uint32_t begin, end, next;     // bytes: content [begin, end), line break to next
        uint32_t wbegin, wend, wnext;  // the same in m_wide (UTF-16 files only)
        Kind kind;
        uint32_t valueStart;  // just after the first '=' (entries), in the bytes
                              // or, in UTF-16 files, in m_wide
    };
    // What a line names, as offsets in Text(): a header's name, or an entry's
    // key and value (blanks, quotes and what follows a NUL already dropped);
    // in UTF-16 files also the name or key in m_wide.
    struct Parsed {
        uint32_t nameBegin = 0, nameEnd = 0, valueBegin = 0, valueEnd = 0;
        uint32_t wnameBegin = 0, wnameEnd = 0;
    };
    struct Section {
        std::string_view name;
        uint32_t header;     // line of the header
        uint32_t end;        // one past its last line
        uint32_t lastEntry;  // last entry line, or the header line
        std::vector<Entry> entries;
        mutable std::unordered_map<std::string, uint32_t> index;  // built on first lookup
        mutable bool indexed = false;
    };
    // A change to the text: [begin, end) replaced by the narrow replacement;
    // for UTF-16 files the same change in m_wide.
    struct Splice {
        uint32_t begin, end, wbegin, wend;
        std::string replacement;
    };

    const std::string& Text() const { return m_utf16 ? m_text : m_bytes; }
    bool HasLineBreak(const Line& line) const {
        return m_utf16 ? line.wnext != line.wend : line.next != line.end;
    }
    void SplitLines();
    Parsed ParseLine(Line& line) const;
    Parsed ParseWideLine(Line& line);
    std::string Apply(const std::vector<Splice>& splices) const;
    Splice Insertion(uint32_t line, std::string_view text) const;

    std::string m_bytes;
    bool m_utf16 = false;
    std::string m_text;      // UTF-16 files: the names and values in the narrow code page
    std::u16string m_wide;   // UTF-16 files: the text as read
    std::string m_wideTail;  // UTF-16 files: an odd trailing byte, kept as it was
    std::vector<Line> m_lines;
    std::vector<Section> m_sections;
    std::unordered_map<std::string, uint32_t> m_sectionIndex;
};

// Folds ASCII letters to lower case, the key under which names are indexed.
void FoldCase(std::string_view text, std::string* folded);

}  // namespace ini

#endif
