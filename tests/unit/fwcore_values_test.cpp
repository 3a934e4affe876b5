// The framework's rules that need no window: file filters and paths, the
// over-long entry message, point-font heights, rectangles, and the dialog
// template object's font rewrite.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/framework.h"

namespace {

TEST(FrameworkFileDialog, BarsOfTheFilterBecomeSeparators) {
    const std::string filter = fw::FileDialogFilter("Job Files (*.ini)|*.ini||");
    const char expected[] = "Job Files (*.ini)\0*.ini\0\0";  // and the string's own NUL
    ASSERT_EQ(sizeof(expected) - 1, filter.size());
    EXPECT_EQ(0, std::memcmp(expected, filter.c_str(), sizeof(expected)));

    EXPECT_EQ(std::string("a\0b\0c\0d\0\0", 9), fw::FileDialogFilter("a|b|c|d||"));
    EXPECT_EQ("", fw::FileDialogFilter(nullptr));
}

TEST(FrameworkFileDialog, OptionsTitleAndDirectoryReachThePlatformStructure) {
    fw::CFileDialog save(FALSE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         "Job Files (*.ini)|*.ini||");
    const DWORD flags = save.m_ofn.Flags;
    EXPECT_TRUE(flags & OFN_HIDEREADONLY);
    EXPECT_TRUE(flags & OFN_OVERWRITEPROMPT);
    EXPECT_TRUE(flags & OFN_EXPLORER) << "the identification hook needs the explorer style";
    EXPECT_TRUE(flags & OFN_ENABLEHOOK);
    EXPECT_NE(nullptr, save.m_ofn.lpfnHook);
    EXPECT_EQ(nullptr, save.m_ofn.lpstrDefExt);
    EXPECT_EQ(nullptr, save.m_ofn.lpstrTitle);
    EXPECT_EQ(nullptr, save.m_ofn.lpstrInitialDir);
    EXPECT_EQ(static_cast<DWORD>(MAX_PATH), save.m_ofn.nMaxFile);
    ASSERT_NE(nullptr, save.m_ofn.lpstrFile);
    EXPECT_STREQ("", save.m_ofn.lpstrFile);
    EXPECT_STREQ("Job Files (*.ini)", save.m_ofn.lpstrFilter);
    EXPECT_STREQ("*.ini", save.m_ofn.lpstrFilter + std::strlen("Job Files (*.ini)") + 1);

    save.SetTitle("Export");
    save.SetInitialDir("C:\\Tool\\");
    EXPECT_STREQ("Export", save.m_ofn.lpstrTitle);
    EXPECT_STREQ("C:\\Tool\\", save.m_ofn.lpstrInitialDir);

    // Without OFN_HIDEREADONLY the read-only box stays.
    fw::CFileDialog open(TRUE, "ini", "job1", 0, nullptr);
    EXPECT_FALSE(open.m_ofn.Flags & OFN_HIDEREADONLY);
    EXPECT_FALSE(open.m_ofn.Flags & OFN_OVERWRITEPROMPT);
    EXPECT_STREQ("ini", open.m_ofn.lpstrDefExt);
    EXPECT_STREQ("job1", open.m_ofn.lpstrFile);
    EXPECT_EQ(nullptr, open.m_ofn.lpstrFilter);
}

TEST(FrameworkFileDialog, ALongInitialFileNameIsCutToTheBuffer) {
    const std::string longName(400, 'x');
    fw::CFileDialog dialog(TRUE, nullptr, longName.c_str());
    EXPECT_EQ(static_cast<size_t>(MAX_PATH - 1), std::strlen(dialog.m_ofn.lpstrFile));
}

TEST(FrameworkFileDialog, ThePathChosenIsSplitIntoNameExtensionAndTitle) {
    const struct {
        const char* path;
        const char* name;
        const char* ext;
        const char* title;
    } cases[] = {
        {"C:\\x\\job1.ini", "job1.ini", "ini", "job1"},
        {"C:\\x.ini\\job1", "job1", "", "job1"},
        {"C:\\x\\job1.INI.ini", "job1.INI.ini", "ini", "job1.INI"},
        {"job1", "job1", "", "job1"},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        fw::CFileDialog dialog(FALSE);
        std::strncpy(dialog.m_ofn.lpstrFile, c.path, dialog.m_ofn.nMaxFile - 1);
        EXPECT_EQ(c.path, dialog.GetPathName());
        EXPECT_EQ(c.name, dialog.GetFileName()) << c.path;
        EXPECT_EQ(c.ext, dialog.GetFileExt()) << c.path;
        EXPECT_EQ(c.title, dialog.GetFileTitle()) << c.path;
    }
}

TEST(FrameworkColorDialog, NoInitialColourUnlessOneIsGiven) {
    fw::CColorDialog plain;
    EXPECT_FALSE(plain.m_cc.Flags & CC_RGBINIT);
    EXPECT_TRUE(plain.m_cc.Flags & CC_ENABLEHOOK);
    EXPECT_NE(nullptr, plain.m_cc.lpfnHook);
    EXPECT_EQ(0u, plain.GetColor());
    ASSERT_EQ(fw::CColorDialog::GetSavedCustomColors(), plain.m_cc.lpCustColors);

    fw::CColorDialog red(RGB(255, 0, 0));
    EXPECT_TRUE(red.m_cc.Flags & CC_RGBINIT);
    EXPECT_EQ(RGB(255, 0, 0), red.GetColor());
}

TEST(FrameworkDataExchange, TheOverLongMessageNamesTheLimit) {
    EXPECT_EQ("Please enter no more than 16 characters.", fw::MaxCharsPrompt(16));
    EXPECT_EQ("Please enter no more than 4 characters.", fw::MaxCharsPrompt(4));
    EXPECT_EQ("Please enter no more than 128 characters.", fw::MaxCharsPrompt(128));
}

TEST(FrameworkFont, PointSizesBecomeCharacterHeightsAsTheClassicFrameworkRoundsThem) {
    const struct {
        int tenths;
        int dpi;
        LONG height;
    } cases[] = {
        {80, 96, -10},                   // 10.67 truncated, not rounded to 11
        {90, 96, -12},                   // exactly 12
        {100, 96, -13},                  // 13.33
        {80, 120, -13},                  // 13.33 at large fonts
        {0, 96, 0},     {-80, 96, -10},  // the sign of the input does not matter
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.height, fw::PointSizeToHeight(c.tenths, c.dpi))
            << c.tenths << " tenths at " << c.dpi << " DPI";
    }
}

TEST(FrameworkGeometry, RectanglesExcludeTheirRightAndBottomEdges) {
    fw::CRect rect(10, 20, 110, 70);
    EXPECT_EQ(100, rect.Width());
    EXPECT_EQ(50, rect.Height());
    EXPECT_EQ(fw::CPoint(60, 45), rect.CenterPoint());
    EXPECT_TRUE(rect.PtInRect(fw::CPoint(10, 20)));
    EXPECT_TRUE(rect.PtInRect(fw::CPoint(109, 69)));
    EXPECT_FALSE(rect.PtInRect(fw::CPoint(110, 69)));
    EXPECT_FALSE(rect.PtInRect(fw::CPoint(109, 70)));

    fw::CRect moved = rect;
    moved.OffsetRect(-80, 0);
    EXPECT_EQ(fw::CRect(-70, 20, 30, 70), moved);
    EXPECT_EQ(100, moved.Width());

    fw::CRect overlap;
    EXPECT_TRUE(overlap.IntersectRect(rect, fw::CRect(100, 0, 200, 30)));
    EXPECT_EQ(fw::CRect(100, 20, 110, 30), overlap);
    EXPECT_FALSE(overlap.IntersectRect(rect, fw::CRect(110, 20, 120, 70))) << "edges only touch";
    EXPECT_TRUE(overlap.IsRectNull());

    fw::CRect reversed(30, 40, 10, 20);
    EXPECT_TRUE(reversed.IsRectEmpty());
    reversed.NormalizeRect();
    EXPECT_EQ(fw::CRect(10, 20, 30, 40), reversed);
}

// A classic template with a font and two controls, as the sheet's own
// template comes from comctl32.
std::vector<uint8_t> ClassicTemplate(const char* face, uint16_t pointSize) {
    fw::DialogTemplate dialog;
    dialog.format = fw::TemplateFormat::Classic;
    dialog.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    dialog.cx = 200;
    dialog.cy = 100;
    dialog.caption = u"Sheet";
    dialog.SetFont(std::string_view(face), pointSize);
    for (int id : {IDOK, IDCANCEL}) {
        fw::DialogItemTemplate item;
        item.style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
        item.id = id;
        item.x = static_cast<int16_t>(10 + 60 * id);
        item.y = 80;
        item.cx = 50;
        item.cy = 14;
        item.windowClass =
            fw::NameOrOrdinal::Ordinal(static_cast<uint16_t>(fw::ControlClass::Button));
        item.title = fw::NameOrOrdinal::Name(id == IDOK ? u"OK" : u"Cancel");
        dialog.items.push_back(item);
    }
    return dialog.Serialize(fw::TemplateFormat::Classic);
}

TEST(FrameworkDialogTemplate, SetFontRewritesFaceAndSizeAndKeepsTheRest) {
    const std::vector<uint8_t> original = ClassicTemplate("MS Shell Dlg", 8);
    fw::CDialogTemplate dlgTemplate(reinterpret_cast<LPCDLGTEMPLATE>(original.data()));
    ASSERT_TRUE(dlgTemplate.IsValid());
    EXPECT_EQ(original.size(), dlgTemplate.GetTemplateSize()) << "size found by reading";
    EXPECT_EQ(original.size(),
              fw::DialogTemplateSize(reinterpret_cast<LPCDLGTEMPLATE>(original.data())));

    std::string face;
    WORD size = 0;
    ASSERT_TRUE(dlgTemplate.GetFont(face, size));
    EXPECT_EQ("MS Shell Dlg", face);
    EXPECT_EQ(8, size);

    ASSERT_TRUE(dlgTemplate.SetFont("Times New Roman", 8));
    ASSERT_TRUE(dlgTemplate.GetFont(face, size));
    EXPECT_EQ("Times New Roman", face);

    // Three more characters in the face: the template grows.
    EXPECT_GT(dlgTemplate.GetTemplateSize(), original.size());
    auto reread = fw::ParseDialogTemplate(fw::ByteView(dlgTemplate.GetBytes()));
    ASSERT_TRUE(reread);
    EXPECT_EQ(fw::TemplateFormat::Classic, reread->format) << "the format is kept";
    ASSERT_TRUE(reread->font);
    EXPECT_EQ(u"Times New Roman", reread->font->face);
    EXPECT_EQ(8, reread->font->pointSize);
    EXPECT_EQ(u"Sheet", reread->caption);
    ASSERT_EQ(2u, reread->items.size());
    EXPECT_EQ(IDCANCEL, reread->items[1].id);
    EXPECT_EQ("Cancel", reread->items[1].Text());
}

// A template handed over by the platform is rewritten within its own size:
// the longer face does not fit until the caption goes, and nothing is
// written until it fits.
TEST(FrameworkDialogTemplate, WritingBackStaysWithinTheTemplatesOwnSize) {
    const std::vector<uint8_t> original = ClassicTemplate("MS Shell Dlg", 8);
    const size_t cbTemplate = original.size();
    // The template, then bytes that are not its own.
    std::vector<uint8_t> block(cbTemplate + 16, 0xCD);
    std::memcpy(block.data(), original.data(), cbTemplate);
    auto* destination = reinterpret_cast<LPDLGTEMPLATE>(block.data());

    fw::CDialogTemplate dlgTemplate(destination);
    ASSERT_EQ(cbTemplate, dlgTemplate.GetTemplateSize());
    ASSERT_TRUE(dlgTemplate.SetFont("Times New Roman", 9));
    ASSERT_GT(dlgTemplate.GetTemplateSize(), cbTemplate);
    EXPECT_FALSE(dlgTemplate.CopyTo(destination, cbTemplate));
    EXPECT_EQ(0, std::memcmp(block.data(), original.data(), cbTemplate)) << "nothing written";

    ASSERT_TRUE(dlgTemplate.RemoveCaption());
    const size_t newSize = dlgTemplate.GetTemplateSize();
    ASSERT_LE(newSize, cbTemplate);
    ASSERT_TRUE(dlgTemplate.CopyTo(destination, cbTemplate));
    EXPECT_EQ(std::vector<uint8_t>(16, 0xCD),
              std::vector<uint8_t>(block.begin() + cbTemplate, block.end()))
        << "nothing written past the template";
    auto reread = fw::ParseDialogTemplate(fw::ByteView(block.data(), newSize));
    ASSERT_TRUE(reread);
    ASSERT_TRUE(reread->font);
    EXPECT_EQ(u"Times New Roman", reread->font->face);
    EXPECT_EQ(9, reread->font->pointSize);
    EXPECT_EQ(u"", reread->caption);
    EXPECT_EQ(WS_CAPTION, reread->style & WS_CAPTION) << "the title bar stays";
    ASSERT_EQ(2u, reread->items.size());
    EXPECT_EQ("Cancel", reread->items[1].Text());
}

TEST(FrameworkDialogTemplate, ATemplateWithoutAFontGetsOne) {
    fw::DialogTemplate dialog;
    dialog.format = fw::TemplateFormat::Extended;
    dialog.style = WS_CHILD;
    dialog.cx = 100;
    dialog.cy = 50;
    const std::vector<uint8_t> bytes = dialog.Serialize();

    fw::CDialogTemplate dlgTemplate;
    ASSERT_TRUE(dlgTemplate.SetTemplate(bytes));
    std::string face;
    WORD size = 0;
    EXPECT_FALSE(dlgTemplate.GetFont(face, size));
    ASSERT_TRUE(dlgTemplate.SetFont("Times New Roman", 8));
    ASSERT_TRUE(dlgTemplate.GetFont(face, size));
    EXPECT_EQ("Times New Roman", face);
    EXPECT_EQ(8, size);
    const DLGTEMPLATE* header = dlgTemplate.GetTemplate();
    ASSERT_NE(nullptr, header);
    auto reread = fw::ParseDialogTemplate(fw::ByteView(dlgTemplate.GetBytes()));
    ASSERT_TRUE(reread);
    EXPECT_TRUE(reread->style & DS_SETFONT);
}

TEST(FrameworkDialogTemplate, BrokenBytesAreRefused) {
    const std::vector<uint8_t> truncated = [] {
        std::vector<uint8_t> bytes = ClassicTemplate("MS Shell Dlg", 8);
        bytes.resize(bytes.size() / 2);
        return bytes;
    }();
    fw::CDialogTemplate dlgTemplate;
    EXPECT_FALSE(dlgTemplate.SetTemplate(truncated));
    EXPECT_FALSE(dlgTemplate.IsValid());
    EXPECT_FALSE(dlgTemplate.SetFont("Times New Roman", 8));
    EXPECT_EQ(nullptr, dlgTemplate.GetTemplate());
    std::vector<uint8_t> room(64, 0);
    EXPECT_FALSE(dlgTemplate.CopyTo(reinterpret_cast<LPDLGTEMPLATE>(room.data()), room.size()));
    EXPECT_EQ(0u, fw::DialogTemplateSize(nullptr));
    EXPECT_FALSE(dlgTemplate.Load(0xFFFF)) << "no such resource";
}

}  // namespace
