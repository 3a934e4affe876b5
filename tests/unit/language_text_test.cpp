// GetLanguageText: the section of the current language, the 259-character
// limit, the three escapes in their order, no cache.
#include <gtest/gtest.h>

#include "driver/operator.h"
#include "module/LanguageText.h"
#include "module/globals.h"
#include "platform/codepage.h"
#ifndef _WIN32
#include "platform/posix/codepage_native.h"
#endif
#include "resource.h"
#include "setup/host.h"
#include "unit/settings_test_support.h"

namespace {

using testsupport::TempDir;

class LanguageTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_file = m_dir.Write("DLL/Language.dll", BuildFile());
        g_strLanguageFile = m_file;
        g_nLanguage = 0;
    }

    static std::string BuildFile() {
        return "[ENU]\r\n"
               "IDS_SETUP_UI_TITLE=Settings\r\n"
               "IDS_LINES=first\\nsecond\r\n"
               "IDS_CRLF=first\\r\\nsecond\r\n"
               "IDS_BACKSLASH=one\\\\two\r\n"
               "IDS_DOUBLE_N=left\\\\nright\r\n"
               "IDS_FOUR=\\\\\\\\\r\n"
               "IDS_PATH=C:\\Temp\r\n"
               "IDS_TRAILING=end\\\r\n"
               "IDS_259=" +
               std::string(259, 'a') + "\r\n" + "IDS_260=" + std::string(260, 'b') + "\r\n" +
               "IDS_300=" + std::string(300, 'c') + "\r\n" +
               "IDS_ESCAPES_AT_LIMIT=" + std::string(257, 'd') + "\\n\\n\r\n" +
               "[CHS]\r\n"
               "IDS_SETUP_UI_TITLE=\xC9\xE8\xD6\xC3\r\n"  // GBK bytes, passed through
               "IDS_CHS_ONLY=only here\r\n"
               "[CHT]\r\n"
               "IDS_SETUP_UI_TITLE=\xB3\x5D\xA9\x77\r\n"  // Big5 bytes
               // Big5 characters whose second byte is a backslash: "\xA5\x5C" is
               // one character, followed by the letter n, then a real escape.
               "IDS_TRAIL_BACKSLASH=\xA5\x5Cn\xB3\x5C\\n\xA5\x5C\xA5\x5C\r\n";
    }

    TempDir m_dir;
    std::string m_file;
};

struct TextCase {
    uint8_t language;
    const char* key;
    std::string expected;
};

TEST_F(LanguageTextTest, Texts) {
    const TextCase cases[] = {
        {0, "IDS_SETUP_UI_TITLE", "Settings"},
        {1, "IDS_SETUP_UI_TITLE", "\xC9\xE8\xD6\xC3"},
        {2, "IDS_SETUP_UI_TITLE", "\xB3\x5D\xA9\x77"},
        {3, "IDS_SETUP_UI_TITLE", "Settings"},  // outside 0..2: English
        {255, "IDS_SETUP_UI_TITLE", "Settings"},
        {0, "IDS_CHS_ONLY", ""},
        {1, "IDS_CHS_ONLY", "only here"},
        {0, "IDS_MISSING", ""},
        {0, "ids_setup_ui_title", "Settings"},
        {0, "IDS_LINES", "first\nsecond"},
        {0, "IDS_CRLF", "first\r\nsecond"},
        {0, "IDS_BACKSLASH", "one\\two"},
        {0, "IDS_DOUBLE_N", "left\nright"},  // "\\" first, then "\n"
        {0, "IDS_FOUR", "\\\\"},
        {0, "IDS_PATH", "C:\\Temp"},
        {0, "IDS_TRAILING", "end\\"},
        {0, "IDS_259", std::string(259, 'a')},
        {0, "IDS_260", std::string(259, 'b')},
        {0, "IDS_300", std::string(259, 'c')},
        // The limit applies to the file's text, before the escapes.
        {0, "IDS_ESCAPES_AT_LIMIT", std::string(257, 'd') + "\n"},
        {0, "", ""},
        {0, nullptr, ""},
    };
    for (const TextCase& c : cases) {
        g_nLanguage = c.language;
        EXPECT_EQ(c.expected, GetLanguageText(c.key))
            << "language " << int(c.language) << ", key " << (c.key ? c.key : "(null)");
    }
}

TEST_F(LanguageTextTest, MissingFileGivesEmptyTexts) {
    g_strLanguageFile = m_dir.File("DLL/Nothing.dll");
    EXPECT_EQ("", GetLanguageText("IDS_SETUP_UI_TITLE"));
    g_strLanguageFile = "";
    EXPECT_EQ("", GetLanguageText("IDS_SETUP_UI_TITLE"));
}

TEST_F(LanguageTextTest, EveryLookupReadsTheFileAgain) {
    EXPECT_EQ("Settings", GetLanguageText("IDS_SETUP_UI_TITLE"));
    m_dir.Write("DLL/Language.dll", "[ENU]\r\nIDS_SETUP_UI_TITLE=Changed\r\n");
    EXPECT_EQ("Changed", GetLanguageText("IDS_SETUP_UI_TITLE"));
}

// In a two-byte code page a backslash that ends a Chinese character starts no
// escape. Under the Traditional Chinese code page (950) the Windows build runs
// this in its own CTest entry; natively the test selects that code page.
TEST_F(LanguageTextTest, EscapesStartOnlyAtCharacters) {
#ifndef _WIN32
    struct CodePage950 {
        unsigned previous = codepage::SelectNativeCodePage(950);
        ~CodePage950() { codepage::SelectNativeCodePage(previous); }
    } codePage;
#endif
    if (!codepage::IsLeadByte(0xA5)) {
        GTEST_SKIP() << "the narrow code page has no two-byte characters";
    }
    g_nLanguage = 2;
    EXPECT_EQ("\xA5\x5Cn\xB3\x5C\n\xA5\x5C\xA5\x5C", GetLanguageText("IDS_TRAIL_BACKSLASH"));
}

// The path Show builds, doubled backslash included, reaches the file.
TEST_F(LanguageTextTest, ReadsThroughThePathShowBuilds) {
    const std::string job = m_dir.Write("Job.ini", "");
    testsupport::CurrentDirectoryScope cwd(m_dir.Path());
    std::string appDir = m_dir.Path();
    appDir += '\\';
    Operator op;  // the paths are recorded before the password is asked
    op.OnDialog(IDD_PASSWORD, [](DialogDriver& d) { d.Click(IDCANCEL); });
    ASSERT_EQ(0, Show(0, 2, appDir.c_str(), job.c_str(), nullptr, nullptr));
    EXPECT_EQ("\xB3\x5D\xA9\x77", GetLanguageText("IDS_SETUP_UI_TITLE"));
}

}  // namespace
