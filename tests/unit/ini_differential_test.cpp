// One table of private-profile cases: file bytes before, one call, what it
// returns and (for writes) the file's bytes after. Natively the table runs
// against the engine; in the Windows build it runs against the engine and
// against kernel32's own functions, except on the rows where Wine's kernel32
// is known to differ from Windows (the row says how): there Windows wins and
// only the engine is held to the row.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ini_test_support.h"
#include "platform/ini.h"

#ifdef _WIN32
#include <windows.h>
#endif

using namespace std::string_literals;

namespace {

enum class Op { Get, Int, Put };
enum class Setup { Plain, ReadOnly, MissingDirectory };

struct Call {
    Op op;
    const char* section;
    const char* key;
    const char* text;  // Get: the default; Put: the value
    uint32_t size;     // Get: the buffer size
    int32_t fallback;  // Int: the default
};

Call Get(const char* section, const char* key, const char* fallback = "dflt", uint32_t size = 260) {
    return {Op::Get, section, key, fallback, size, 0};
}
Call Int(const char* section, const char* key, int32_t fallback = 77) {
    return {Op::Int, section, key, nullptr, 0, fallback};
}
Call Put(const char* section, const char* key, const char* value) {
    return {Op::Put, section, key, value, 0, 0};
}

struct Case {
    const char* name;
    std::string before;  // the file's bytes, or NoFile()
    Call call;
    uint32_t result;             // Get: characters returned; Int: the value; Put: 1 or 0
    std::string expect;          // Get: the characters returned; Put: the file's bytes after
    const char* wine = nullptr;  // how Wine's kernel32 differs, where it does
    Setup setup = Setup::Plain;
};

const std::string& None = initest::NoFile();

// Windows' behaviour, from Microsoft's documentation and from conformance
// tests run on Windows.
const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        // Line ends and headers.
        {"crlf", "[S]\r\nk=v\r\n", Get("S", "k"), 1, "v"},
        {"lf only", "[S]\nk=v\n", Get("S", "k"), 1, "v"},
        {"cr only", "[S]\rk=v\r", Get("S", "k"), 1, "v"},
        {"no final line break", "[S]\r\nk=v", Get("S", "k"), 1, "v"},
        {"blank lines and lf-cr", "\r\n\n[S]\n\r\n\rk=v", Get("S", "k"), 1, "v"},
        {"blanks before the header", " \t [S]\r\nk=v\r\n", Get("S", "k"), 1, "v"},
        {"blanks inside the brackets", "[ \tS  ]\r\nk=v\r\n", Get("S", "k"), 1, "v"},
        {"text after the bracket ignored", "[S] k=x\r\nk=v\r\n", Get("S", "k"), 1, "v"},
        {"header without closing bracket", "[S\r\nk=v\r\n", Get("S", "k"), 1, "v",
         "needs the closing bracket"},
        {"name ends at the first bracket", "[a]b]\r\nk=v\r\n", Get("a]b", "k"), 4, "dflt",
         "ends the name at the last bracket"},
        {"empty section name", "[]\r\nk=v\r\n", Get("", "k"), 1, "v",
         "finds no section named \"\""},
        {"lines before the first header unreachable", "k=v\r\n[S]\r\n", Get("S", "k"), 4, "dflt"},
        {"section and key ignore case", "[SeCt]\r\nKeY=v\r\n", Get("sect", "KEY"), 1, "v"},
        {"arguments lose surrounding spaces", "[S]\r\nk=v\r\n", Get("  S ", " k  "), 1, "v"},
        {"arguments keep tabs", "[S]\r\nk=v\r\n", Get("\tS", "k"), 4, "dflt",
         "strips tabs from the arguments too"},
        {"first of duplicate sections only", "[S]\r\na=1\r\n[S]\r\na=2\r\nb=3\r\n", Get("S", "b"),
         4, "dflt"},
        {"first of duplicate sections wins", "[S]\r\na=1\r\n[s]\r\na=2\r\n", Get("S", "a"), 1, "1"},
        {"first of duplicate keys", "[S]\r\na=1\r\nA=2\r\n", Get("S", "a"), 1, "1"},

        // Entries.
        {"key and value lose blanks", "[S]\r\n \t k \t=\t v  v \t\r\n", Get("S", "k"), 4, "v  v"},
        {"no inline comment", "[S]\r\nk=v ; c\r\n", Get("S", "k"), 5, "v ; c"},
        {"comment never matches", "[S]\r\n;k=v\r\n", Get("S", ";k"), 4, "dflt",
         "finds keys that begin with a semicolon"},
        {"indented comment", "[S]\r\n  ;k=v\r\n", Get("S", ";k"), 4, "dflt",
         "finds keys that begin with a semicolon"},
        {"hash starts no comment", "[S]\r\n#k=v\r\n", Get("S", "#k"), 1, "v"},
        {"line without equals is no key", "[S]\r\nk\r\n", Get("S", "k"), 4, "dflt"},
        {"splits at the first equals", "[S]\r\nk=a=b\r\n", Get("S", "k"), 3, "a=b"},
        {"empty key", "[S]\r\n=v\r\n", Get("S", ""), 1, "v"},
        {"empty value", "[S]\r\nk=\r\n", Get("S", "k"), 0, ""},

        // Quotes.
        {"double quotes", "[S]\r\nk=\"v w\"\r\n", Get("S", "k"), 3, "v w"},
        {"single quotes", "[S]\r\nk='v'\r\n", Get("S", "k"), 1, "v"},
        {"mixed quotes kept", "[S]\r\nk=\"v'\r\n", Get("S", "k"), 3, "\"v'"},
        {"one quote kept", "[S]\r\nk=\"\r\n", Get("S", "k"), 1, "\""},
        {"two quotes give nothing", "[S]\r\nk=\"\"\r\n", Get("S", "k"), 0, ""},
        {"only the outer pair", "[S]\r\nk=\"a\"b\"\r\n", Get("S", "k"), 3, "a\"b"},
        {"blanks inside quotes kept", "[S]\r\nk=  \" v \"  \r\n", Get("S", "k"), 3, " v "},
        {"quote at one end only", "[S]\r\nk=\"v\r\n", Get("S", "k"), 2, "\"v"},

        // Buffer sizes.
        {"cut to size - 1", "[S]\r\nk=val1\r\n", Get("S", "k", "d", 4), 3, "val"},
        {"exact size", "[S]\r\nk=val1\r\n", Get("S", "k", "d", 5), 4, "val1"},
        {"size one", "[S]\r\nk=val1\r\n", Get("S", "k", "d", 1), 0, ""},
        {"size zero leaves the buffer", "[S]\r\nk=val1\r\n", Get("S", "k", "d", 0), 0, ""},

        // Defaults.
        {"missing file", None, Get("S", "k"), 4, "dflt"},
        {"missing section", "[S]\r\nk=v\r\n", Get("T", "k"), 4, "dflt"},
        {"missing key", "[S]\r\nk=v\r\n", Get("S", "j"), 4, "dflt"},
        {"default loses trailing spaces", None, Get("S", "k", "one two  "), 7, "one two"},
        {"default keeps leading spaces", None, Get("S", "k", "  x"), 3, "  x"},
        {"default keeps a trailing tab", None, Get("S", "k", "x\t"), 2, "x\t"},
        {"null default", None, Get("S", "k", nullptr), 0, ""},
        {"default cut to size", None, Get("S", "k", "default", 4), 3, "def"},

        // Name lists.
        {"section names", "[s1]\r\nk=v\r\n[s2]\r\n", Get(nullptr, "k"), 6, "s1\0s2\0"s},
        {"duplicate section names listed", "[a]\r\n[A]\r\n", Get(nullptr, nullptr), 4, "a\0A\0"s},
        {"key names", "[s]\r\nk1=1\r\n;c=2\r\nx\r\nk2=\r\n", Get("s", nullptr), 6, "k1\0k2\0"s},
        {"section names one byte short", "[a]\r\n[b]\r\n", Get(nullptr, nullptr, "", 5), 3, "a\0b"s,
         "returns the list whole when it fits without the second NUL"},
        {"key names cut", "[s]\r\nname1=1\r\nname2=2\r\nname4=4\r\n", Get("s", nullptr, "", 16), 14,
         "name1\0name2\0na"s, "cuts the list at a whole name"},
        {"section names of a missing file", None, Get(nullptr, nullptr), 0, ""},
        {"key names of a missing section", "[S]\r\na=1\r\n", Get("T", nullptr), 4, "dflt"},
        {"key names of a section without keys", "[S]\r\n;a=1\r\n", Get("S", nullptr), 4, "dflt"},
        {"int of the first section name", "[12ab]\r\n[S]\r\n", Int(nullptr, "k"), 12, ""},
        {"int of the first key name", "[S]\r\n3=x\r\n", Int("S", nullptr), 3, ""},

        // Integer read.
        {"int minus one", "[S]\r\nk=-1\r\n", Int("S", "k"), 4294967295u, ""},
        {"int plus sign", "[S]\r\nk=+1\r\n", Int("S", "k"), 1, ""},
        {"int wraps", "[S]\r\nk=4294967297\r\n", Int("S", "k"), 1, ""},
        {"int wraps negative", "[S]\r\nk=-4294967297\r\n", Int("S", "k"), 4294967295u, ""},
        {"int stops at a letter", "[S]\r\nk=42A94967297\r\n", Int("S", "k"), 42, ""},
        {"int of no number is zero", "[S]\r\nk=B42\r\n", Int("S", "k"), 0, ""},
        {"int of an empty value is the default", "[S]\r\nk=\r\n", Int("S", "k"), 77, ""},
        {"int of a missing key", "[S]\r\n", Int("S", "k", -1), 4294967295u, ""},
        {"int of a missing file", None, Int("S", "k", 5), 5, ""},
        {"int hexadecimal", "[S]\r\nk=0x1F\r\n", Int("S", "k"), 31, ""},
        {"int capital X is no prefix", "[S]\r\nk=0X1F\r\n", Int("S", "k"), 0, ""},
        {"int negative hexadecimal", "[S]\r\nk=-0x10\r\n", Int("S", "k"), 4294967280u, ""},
        {"int hexadecimal without digits", "[S]\r\nk=0x\r\n", Int("S", "k"), 0, ""},
        {"int binary", "[S]\r\nk=0b101\r\n", Int("S", "k"), 5, ""},
        {"int octal", "[S]\r\nk=0o17\r\n", Int("S", "k"), 15, ""},
        {"int leading zero is decimal", "[S]\r\nk=010\r\n", Int("S", "k"), 10, ""},
        {"int in quotes", "[S]\r\nk=\"12\"\r\n", Int("S", "k"), 12, ""},
        {"int sign then blank", "[S]\r\nk=- 1\r\n", Int("S", "k"), 0, ""},
        {"int two signs", "[S]\r\nk=+-1\r\n", Int("S", "k"), 0, ""},
        {"int stops at a blank", "[S]\r\nk=12 34\r\n", Int("S", "k"), 12, ""},

        // Writes.
        {"new file", None, Put("S", "k", "v"), 1, "[S]\r\nk=v\r\n"},
        {"empty file", "", Put("S", "k", "v"), 1, "[S]\r\nk=v\r\n"},
        {"new section appended", "[A]\r\na=1\r\n", Put("B", "b", "2"), 1,
         "[A]\r\na=1\r\n[B]\r\nb=2\r\n"},
        {"new section after a last line without break", "[A]\r\na=1", Put("B", "b", "2"), 1,
         "[A]\r\na=1\r\n[B]\r\nb=2\r\n"},
        {"new section after an lf", "[A]\na=1\n", Put("B", "b", "2"), 1, "[A]\na=1\n[B]\r\nb=2\r\n",
         "rewrites every line end as CR LF"},
        {"new key after the last key", "[A]\r\na=1\r\n\r\n[B]\r\nb=2\r\n", Put("A", "c", "3"), 1,
         "[A]\r\na=1\r\nc=3\r\n\r\n[B]\r\nb=2\r\n", "drops blank lines when it rewrites the file"},
        {"new key after the last non-comment key", ";0\r\n[A]\r\n;1\r\nb=v\r\n;2\r\na=v\r\n;3\r\n",
         Put("A", "z", ""), 1, ";0\r\n[A]\r\n;1\r\nb=v\r\n;2\r\na=v\r\nz=\r\n;3\r\n",
         "puts a new key after the section's comments"},
        {"new key before comment keys", "[S]\r\nz=\r\n;y=\r\n", Put("S", "a", ""), 1,
         "[S]\r\nz=\r\na=\r\n;y=\r\n", "puts a new key after the section's comments"},
        {"new key in a section without keys", "[A]\r\n[B]\r\nb=2\r\n", Put("A", "a", "1"), 1,
         "[A]\r\na=1\r\n[B]\r\nb=2\r\n"},
        {"new key at the end without break", "[A]\r\na=1", Put("A", "b", "2"), 1,
         "[A]\r\na=1\r\nb=2\r\n"},
        {"new key in lf file", "[A]\na=1\nb=2\n", Put("A", "c", "3"), 1, "[A]\na=1\nb=2\nc=3\r\n",
         "rewrites every line end as CR LF"},
        {"last key without break gains one", "[A]\r\nb=2\r\na=1", Put("A", "a", "9"), 1,
         "[A]\r\nb=2\r\na=9\r\n"},
        {"last key of a one-line file", "[A]\r\na=1", Put("a", "A", ""), 1, "[A]\r\na=\r\n"},
        {"existing key keeps its spelling", "[Sec]\r\nMyKey=old\r\n", Put("sec", "mykey", "new"), 1,
         "[Sec]\r\nMyKey=new\r\n"},
        {"existing key in lf file", "[A]\na=1\nb=2\n", Put("A", "a", "9"), 1, "[A]\na=9\nb=2\n",
         "rewrites every line end as CR LF"},
        {"other lines stay as they were",
         "x\0y\r\n;c\r\n[A]\r\n  k = 1\r\n\r\n  z  =  2  \r\n[B]\n"s, Put("A", "z", "3"), 1,
         "x\0y\r\n;c\r\n[A]\r\n  k = 1\r\n\r\n  z  =3\r\n[B]\n"s,
         "rewrites every line of the file in its own layout"},
        {"bytes before the first section kept", "Data \0 before \0 first \0 section"s,
         Put("section1", "key1", "string1"), 1,
         "Data \0 before \0 first \0 section\r\n[section1]\r\nkey1=string1\r\n"s,
         "drops the bytes before the first section"},
        {"value written as given", "[S]\r\n", Put("S", "k", "  v ;x  "), 1, "[S]\r\nk=  v ;x  \r\n",
         "strips the blanks at the start of the value"},
        {"names lose surrounding spaces", None, Put("  S  ", "  k  ", " v "), 1, "[S]\r\nk= v \r\n",
         "keeps the spaces after the names"},
        {"names keep tabs", None, Put("\tS", "k\t", "v"), 1, "[\tS]\r\nk\t=v\r\n",
         "strips tabs from the section name"},
        {"comment key written", "[S]\r\na=1\r\n", Put("S", ";k", "v"), 1, "[S]\r\na=1\r\n;k=v\r\n"},
        {"delete key", "[A]\r\na=1\r\nb=2\r\n", Put("A", "a", nullptr), 1, "[A]\r\nb=2\r\n"},
        {"delete missing key", "[A]\r\nb=2\r\n", Put("A", "a", nullptr), 1, "[A]\r\nb=2\r\n"},
        {"delete section", "[A]\r\na=1\r\n[B]\r\nb=2\r\n", Put("A", nullptr, "x"), 1,
         "[B]\r\nb=2\r\n"},
        {"delete section keeps comments", ";0\r\n[A]\r\n;1\r\n[B]\r\n;2\r\n",
         Put("B", nullptr, nullptr), 1, ";0\r\n[A]\r\n;1\r\n;2\r\n", "deletes the comments"},
        {"delete on a missing file", None, Put("A", "a", nullptr), 1, None},
        {"no section", "[A]\r\n", Put(nullptr, "a", "1"), 0, "[A]\r\n"},
        {"read-only file", "[A]\r\na=1\r\n", Put("A", "a", "2"), 0, "[A]\r\na=1\r\n",
         "writes onto a read-only file when run as root", Setup::ReadOnly},
        {"missing directory", None, Put("A", "a", "2"), 0, None, nullptr, Setup::MissingDirectory},

        // Encodings.
        {"utf-8 bom is part of line one", "\xEF\xBB\xBF[S]\r\nk=v\r\n", Get("S", "k"), 4, "dflt",
         "takes a UTF-8 byte-order mark for one"},
        {"utf-8 bom write appends a section", "\xEF\xBB\xBF[S]\r\nk=v\r\n", Put("S", "k", "2"), 1,
         "\xEF\xBB\xBF[S]\r\nk=v\r\n[S]\r\nk=2\r\n", "takes a UTF-8 byte-order mark for one"},
        {"utf-16 read", "\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0v\0w\0\r\0\n\0"s, Get("S", "k"), 2, "vw"},
        {"utf-16 write", "\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0"s, Put("S", "j", "w"), 1,
         "\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0j\0=\0w\0\r\0\n\0"s},
        {"utf-16 mark alone: section after a line break", "\xFF\xFE", Put("S", "k", "v"), 1,
         "\xFF\xFE\r\0\n\0[\0S\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0"s,
         "writes the section right after the mark"},
        {"utf-16 last key without break gains one", "\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0v\0"s,
         Put("S", "k", "w"), 1, "\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0w\0\r\0\n\0"s},
        {"utf-16 replace", "\xFF\xFE[\0S\0]\0\n\0k\0=\0v\0\n\0"s, Put("S", "k", "xy"), 1,
         "\xFF\xFE[\0S\0]\0\n\0k\0=\0x\0y\0\n\0"s, "rewrites every line end as CR LF"},
        // Names and the separator are found in UTF-16: a fullwidth '='
        // (U+FF1D) or letter (U+FF4B) is none, whatever the code page makes
        // of it, and a write adds the key the read did not find.
        {"utf-16 fullwidth equals separates nothing",
         "\xFF\xFE[\0S\0]\0\r\0\n\0k\0\x1D\xFFv\0\r\0\n\0"s, Get("S", "k"), 4, "dflt"},
        {"utf-16 fullwidth letter is another key",
         "\xFF\xFE[\0S\0]\0\r\0\n\0\x4B\xFF=\0v\0\r\0\n\0"s, Get("S", "k"), 4, "dflt"},
        {"utf-16 write past a fullwidth equals",
         "\xFF\xFE[\0S\0]\0\r\0\n\0k\0\x1D\xFFv\0\r\0\n\0j\0=\0\x31\0\r\0\n\0"s, Put("S", "k", "w"),
         1,
         "\xFF\xFE[\0S\0]\0\r\0\n\0k\0\x1D\xFFv\0\r\0\n\0j\0=\0\x31\0\r\0\n\0"
         "k\0=\0w\0\r\0\n\0"s},
    };
    return cases;
}

struct Api {
    const char* name;
    uint32_t (*get)(const char*, const char*, const char*, char*, uint32_t, const char*);
    uint32_t (*getInt)(const char*, const char*, int32_t, const char*);
    bool (*put)(const char*, const char*, const char*, const char*);
};

const Api kEngine = {
    "engine",
    [](const char* s, const char* k, const char* d, char* b, uint32_t n, const char* p) {
        return ini::GetString(s, k, d, b, n, p);
    },
    [](const char* s, const char* k, int32_t d, const char* p) { return ini::GetInt(s, k, d, p); },
    [](const char* s, const char* k, const char* v, const char* p) {
        return ini::WriteString(s, k, v, p);
    },
};

// The reads through a view taken for each call, as the settings load takes
// one for all of its reads.
const Api kView = {
    "view",
    [](const char* s, const char* k, const char* d, char* b, uint32_t n, const char* p) {
        return ini::ReadView(p).GetString(s, k, d, b, n);
    },
    [](const char* s, const char* k, int32_t d, const char* p) {
        return ini::ReadView(p).GetInt(s, k, d);
    },
    [](const char* s, const char* k, const char* v, const char* p) {
        return ini::WriteString(s, k, v, p);
    },
};

#ifdef _WIN32
const Api kKernel32 = {
    "kernel32",
    [](const char* s, const char* k, const char* d, char* b, uint32_t n, const char* p) {
        return static_cast<uint32_t>(::GetPrivateProfileStringA(s, k, d, b, n, p));
    },
    [](const char* s, const char* k, int32_t d, const char* p) {
        return static_cast<uint32_t>(::GetPrivateProfileIntA(s, k, d, p));
    },
    [](const char* s, const char* k, const char* v, const char* p) {
        return ::WritePrivateProfileStringA(s, k, v, p) != FALSE;
    },
};
#endif

void RunCase(const Api& api, const Case& c, const std::string& path) {
    SCOPED_TRACE(std::string(api.name) + ": " + c.name);
    if (c.before != None) {
        initest::WriteBytes(path, c.before);
    }
    if (c.setup == Setup::ReadOnly) {
        initest::SetReadOnly(path, true);
    }
    const Call& call = c.call;
    switch (call.op) {
        case Op::Get: {
            std::vector<char> buffer(call.size + 2, '\x7F');
            uint32_t n =
                api.get(call.section, call.key, call.text, buffer.data(), call.size, path.c_str());
            EXPECT_EQ(c.result, n);
            if (call.size == 0) {
                EXPECT_EQ('\x7F', buffer[0]) << "the buffer was touched";
                break;
            }
            ASSERT_LE(n, call.size);
            EXPECT_EQ(initest::Show(c.expect), initest::Show(std::string(buffer.data(), n)));
            EXPECT_EQ('\0', buffer[n]) << "no NUL after the result";
            // A list of names ends in two NULs: its last name's and one more
            // (which follows the result when the list had to be cut).
            bool list = (!call.section || !call.key) && c.expect.find('\0') != std::string::npos;
            if (list) {
                EXPECT_TRUE(buffer[n - 1] == '\0' || buffer[n + 1] == '\0')
                    << "no second NUL after the list";
            }
            break;
        }
        case Op::Int:
            EXPECT_EQ(c.result, api.getInt(call.section, call.key, call.fallback, path.c_str()));
            break;
        case Op::Put:
            EXPECT_EQ(c.result != 0, api.put(call.section, call.key, call.text, path.c_str()));
            EXPECT_EQ(initest::Show(c.expect), initest::Show(initest::ReadBytes(path)));
            break;
    }
    if (c.setup == Setup::ReadOnly) {
        EXPECT_TRUE(initest::IsReadOnly(path));
        initest::SetReadOnly(path, false);
    }
}

void RunTable(const Api& api, bool skipWineDifferences) {
    initest::ScratchDir dir;
    for (size_t i = 0; i < Cases().size(); ++i) {
        const Case& c = Cases()[i];
        if (skipWineDifferences && c.wine) {
            continue;
        }
        std::string name = "case" + std::to_string(i) + ".ini";
        std::string path =
            c.setup == Setup::MissingDirectory ? dir.File("missing/" + name) : dir.File(name);
        RunCase(api, c, path);
    }
}

TEST(IniDifferential, EngineFollowsWindows) {
    RunTable(kEngine, false);
}

TEST(IniDifferential, ReadViewFollowsWindows) {
    RunTable(kView, false);
}

#ifdef _WIN32
TEST(IniDifferential, Kernel32AgreesWhereWineFollowsWindows) {
    RunTable(kKernel32, true);
}
#endif

}  // namespace
