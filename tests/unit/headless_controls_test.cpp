// The headless buttons, edits and statics as an operator meets them:
// automatic check boxes and radio groups, refusals of disabled and hidden
// controls, the typing rules of edits, and notifying statics.
#if !defined(_WIN32)

#include "headless_test_support.h"

namespace {

using namespace headless_test;
using namespace fw::api;
using fw::headless::Click;
using fw::headless::TypeChar;

class HeadlessControls : public HeadlessTest {
protected:
    HWND Make(std::vector<DialogItemTemplate> items) {
        m_dialog =
            Create(Dialog(WS_POPUP | WS_VISIBLE, 200, 150, "MS Shell Dlg", 8, std::move(items)));
        return m_dialog;
    }
    HWND Control(int id) { return GetDlgItem(m_dialog, id); }
    LRESULT Checked(int id) { return SendMessage(Control(id), BM_GETCHECK, 0, 0); }

    HWND m_dialog = nullptr;
};

TEST_F(HeadlessControls, AutomaticRadioButtonsUncheckTheirGroupUpToTheNextGroupStart) {
    Make({Item(ControlClass::Button, 1, BS_AUTORADIOBUTTON | WS_GROUP, 5, 5, 50, 10, "a"),
          Item(ControlClass::Button, 2, BS_AUTORADIOBUTTON, 5, 20, 50, 10, "b"),
          Item(ControlClass::Button, 3, BS_RADIOBUTTON, 5, 35, 50, 10, "plain"),
          Item(ControlClass::Button, 4, BS_AUTORADIOBUTTON, 5, 50, 50, 10, "c"),
          Item(ControlClass::Button, 5, BS_AUTORADIOBUTTON | WS_GROUP, 5, 65, 50, 10, "other")});
    SendMessage(Control(3), BM_SETCHECK, BST_CHECKED, 0);
    SendMessage(Control(5), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(CommandsFrom(3).empty()) << "BM_SETCHECK notified";

    ASSERT_TRUE(Click(Control(1)));
    ASSERT_TRUE(Click(Control(4)));
    EXPECT_EQ(BST_UNCHECKED, Checked(1));
    EXPECT_EQ(BST_CHECKED, Checked(4));
    EXPECT_EQ(BST_CHECKED, Checked(3)) << "a plain radio button is left to its owner";
    EXPECT_EQ(BST_CHECKED, Checked(5)) << "the next group is another group";
    EXPECT_EQ((std::vector<WORD>{BN_CLICKED}), CommandsFrom(4));
    // The checked radio button is its group's tab stop.
    EXPECT_TRUE(GetWindowLongPtr(Control(4), GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(GetWindowLongPtr(Control(1), GWL_STYLE) & WS_TABSTOP);
}

TEST_F(HeadlessControls, RadioButtonsWithoutAnyGroupStartFormOneGroup) {
    // As on the mode page: three automatic radio buttons, no group style.
    Make({Item(ControlClass::Button, 10, BS_GROUPBOX, 2, 2, 150, 80, "Test Mode"),
          Item(ControlClass::Button, 11, BS_AUTORADIOBUTTON, 5, 15, 50, 10, "x"),
          Item(ControlClass::Button, 12, BS_AUTORADIOBUTTON, 5, 30, 50, 10, "y"),
          Item(ControlClass::Button, 13, BS_AUTORADIOBUTTON, 5, 45, 50, 10, "z")});
    Click(Control(11));
    Click(Control(13));
    EXPECT_EQ((std::vector<LRESULT>{0, 0, 1}),
              (std::vector<LRESULT>{Checked(11), Checked(12), Checked(13)}));
}

TEST_F(HeadlessControls, CheckBoxesToggleAndDisabledOrHiddenControlsRefuseTheOperator) {
    Make({Item(ControlClass::Button, 1, BS_AUTOCHECKBOX | WS_TABSTOP, 5, 5, 50, 10, "auto"),
          Item(ControlClass::Button, 2, BS_CHECKBOX, 5, 20, 50, 10, "manual"),
          Item(ControlClass::Button, 3, BS_AUTO3STATE, 5, 35, 50, 10, "three"),
          Item(ControlClass::Button, 4, BS_PUSHBUTTON | WS_DISABLED, 5, 50, 50, 14, "off"),
          Item(ControlClass::Edit, 5, ES_AUTOHSCROLL, 5, 70, 50, 12)});
    Click(Control(1));
    EXPECT_EQ(BST_CHECKED, Checked(1));
    Click(Control(1));
    EXPECT_EQ(BST_UNCHECKED, Checked(1));
    Click(Control(2));
    EXPECT_EQ(BST_UNCHECKED, Checked(2)) << "a plain check box waits for its owner";
    EXPECT_EQ((std::vector<WORD>{BN_CLICKED}), CommandsFrom(2));
    Click(Control(3));
    Click(Control(3));
    EXPECT_EQ(BST_INDETERMINATE, Checked(3));

    EXPECT_FALSE(Click(Control(4)));
    EXPECT_TRUE(CommandsFrom(4).empty());
    ShowWindow(Control(1), SW_HIDE);
    EXPECT_FALSE(Click(Control(1)));
    EXPECT_EQ(BST_UNCHECKED, Checked(1));
    // A disabled parent disables everything in it, as a modal child's owner.
    EnableWindow(m_dialog, FALSE);
    EXPECT_FALSE(TypeChar(Control(5), 'x'));
    EXPECT_FALSE(Click(Control(2)));
    EXPECT_EQ("", TextOf(Control(5)));
}

struct TypingCase {
    const char* name;
    DWORD style;
    int limit;  // 0: none
    const char* start;
    int selStart, selEnd;
    const char* typed;
    const char* expected;
    int changes;  // EN_CHANGE count
};

TEST_F(HeadlessControls, EditTypingRules) {
    const TypingCase cases[] = {
        {"plain typing appends at the caret", 0, 0, "ab", 2, 2, "cd", "abcd", 2},
        {"a typed character replaces the selection", 0, 0, "secret", 0, -1, "x", "x", 1},
        {"backspace deletes the selection", 0, 0, "hello", 1, 3, "\b", "hlo", 1},
        {"backspace deletes the character before the caret", 0, 0, "hello", 5, 5, "\b\b", "hel", 2},
        {"backspace at the start does nothing", 0, 0, "abc", 0, 0, "\b", "abc", 0},
        {"the limit refuses what would exceed it", 0, 4, "abc", 3, 3, "xyz", "abcx", 1},
        {"over the limit a selection can still be replaced", 0, 3, "abc", 0, 1, "z", "zbc", 1},
        {"digits only", ES_NUMBER, 0, "", 0, 0, "1a-2 3", "123", 3},
        {"read-only refuses everything", ES_READONLY, 0, "keep", 0, -1, "x\b", "keep", 0},
        {"upper case", ES_UPPERCASE, 0, "", 0, 0, "aB", "AB", 2},
        {"a single-line edit takes no line break", 0, 0, "a", 1, 1, "\r", "a", 0},
        {"a multi-line edit takes CR LF", ES_MULTILINE, 0, "a", 1, 1, "\rb", "a\r\nb", 2},
    };
    for (const TypingCase& c : cases) {
        SCOPED_TRACE(c.name);
        fw::headless::Reset();
        Log().clear();
        Make({Item(ControlClass::Edit, 7, c.style | WS_BORDER, 5, 5, 100, 12)});
        HWND edit = Control(7);
        SetWindowText(edit, c.start);
        if (c.limit > 0) {
            SendMessage(edit, EM_LIMITTEXT, static_cast<WPARAM>(c.limit), 0);
        }
        SendMessage(edit, EM_SETSEL, static_cast<WPARAM>(c.selStart), c.selEnd);
        Log().clear();
        for (const char* p = c.typed; *p != '\0'; ++p) {
            ASSERT_TRUE(TypeChar(edit, *p));
        }
        EXPECT_EQ(c.expected, TextOf(edit));
        int changes = 0;
        for (WORD code : CommandsFrom(7)) {
            changes += code == EN_CHANGE ? 1 : 0;
        }
        EXPECT_EQ(c.changes, changes);
    }
}

TEST_F(HeadlessControls, EditReportsTheLimitAndShowsAPasswordAsItsCharacter) {
    Make({Item(ControlClass::Edit, 7, ES_PASSWORD | ES_AUTOHSCROLL, 5, 5, 100, 12)});
    HWND edit = Control(7);
    SendMessage(edit, EM_LIMITTEXT, 3, 0);
    EXPECT_EQ(3, SendMessage(edit, EM_GETLIMITTEXT, 0, 0));
    for (char c : std::string("abcd")) {
        TypeChar(edit, c);
    }
    EXPECT_EQ("abc", TextOf(edit)) << "the window text is the real text";
    std::vector<WORD> codes = CommandsFrom(7);
    EXPECT_EQ(EN_MAXTEXT, codes.back());
    EXPECT_EQ('*', SendMessage(edit, EM_GETPASSWORDCHAR, 0, 0));
    std::vector<fw::headless::DrawnText> texts = fw::headless::DrawnTexts(edit);
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ("***", texts[0].text);
    DWORD start = 9;
    DWORD end = 9;
    SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(3u, start);
    EXPECT_EQ(3u, end);
}

TEST_F(HeadlessControls, NotifyingStaticReportsAClickAndAPlainOneLetsItThrough) {
    Make({Item(ControlClass::Static, 20, SS_NOTIFY, 5, 5, 20, 10, "swatch"),
          Item(ControlClass::Static, 21, SS_LEFT, 5, 20, 20, 10, "label")});
    ASSERT_TRUE(Click(Control(20)));
    EXPECT_EQ((std::vector<WORD>{STN_CLICKED}), CommandsFrom(20));
    ASSERT_TRUE(Click(Control(21)));
    EXPECT_TRUE(CommandsFrom(21).empty());
}

TEST_F(HeadlessControls, BitmapStaticTakesItsBitmapsSize) {
    DialogItemTemplate swatch = Item(ControlClass::Static, 30, SS_BITMAP | SS_NOTIFY, 5, 5, 40, 40);
    swatch.title = NameOrOrdinal::Ordinal(1041);  // 18 x 12 in the module's resources
    Make({swatch});
    RECT rect;
    GetClientRect(Control(30), &rect);
    EXPECT_EQ(18, rect.right);
    EXPECT_EQ(12, rect.bottom);
    HGDIOBJ bitmap =
        reinterpret_cast<HGDIOBJ>(SendMessage(Control(30), STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info{};
    ASSERT_EQ(static_cast<int>(sizeof(info)), GetObject(bitmap, sizeof(info), &info));
    EXPECT_EQ(4, info.bmBitsPixel);
    // The bitmap goes with the control.
    size_t before = fw::headless::LiveGdiObjects();
    DestroyWindow(m_dialog);
    EXPECT_LT(fw::headless::LiveGdiObjects(), before);
}

TEST_F(HeadlessControls, FocusMovesToAClickedButtonAndLeavesADisabledControl) {
    Make({Item(ControlClass::Edit, 1, WS_TABSTOP, 5, 5, 50, 12),
          Item(ControlClass::Button, 2, BS_PUSHBUTTON | WS_TABSTOP, 5, 20, 50, 14, "go")});
    EXPECT_EQ(Control(1), GetFocus()) << "the first tab stop has the focus";
    Click(Control(2));
    EXPECT_EQ(Control(2), GetFocus());
    EnableWindow(Control(2), FALSE);
    EXPECT_EQ(nullptr, GetFocus());
    EXPECT_EQ(nullptr, SetFocus(Control(2))) << "a disabled control takes no focus";
}

}  // namespace

#endif  // !_WIN32
