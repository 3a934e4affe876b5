// The headless combo and list boxes: sorted insertion, exact and prefix
// searches, selection kept across insertions and deletions, no notification
// from code, and owner-drawn list boxes with item data only.
#if !defined(_WIN32)

#include "headless_test_support.h"

namespace {

using namespace headless_test;
using namespace fw::api;

constexpr int kSorted = 100;
constexpr int kPlain = 101;
constexpr int kDropDown = 102;
constexpr int kList = 103;
constexpr int kOwnerList = 104;

class HeadlessLists : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        m_dialog = Create(
            Dialog(WS_POPUP | WS_VISIBLE, 200, 200, "MS Shell Dlg", 8,
                   {Item(ControlClass::ComboBox, kSorted, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL,
                         5, 5, 100, 80),
                    Item(ControlClass::ComboBox, kPlain, CBS_DROPDOWNLIST, 5, 25, 100, 80),
                    Item(ControlClass::ComboBox, kDropDown, CBS_DROPDOWN, 5, 45, 100, 80),
                    Item(ControlClass::ListBox, kList, LBS_NOTIFY | LBS_SORT, 5, 65, 100, 40),
                    Item(ControlClass::ListBox, kOwnerList, LBS_OWNERDRAWFIXED | LBS_NOTIFY, 5, 110,
                         100, 60)}));
        ASSERT_NE(nullptr, m_dialog);
    }

    HWND Control(int id) { return GetDlgItem(m_dialog, id); }

    std::vector<std::string> ComboItems(int id) {
        std::vector<std::string> items;
        HWND combo = Control(id);
        int count = static_cast<int>(SendMessage(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::string text(static_cast<size_t>(SendMessage(combo, CB_GETLBTEXTLEN, i, 0)), '\0');
            SendMessage(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
            items.push_back(text);
        }
        return items;
    }

    LRESULT Add(int id, const char* text) {
        return SendMessage(Control(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }

    HWND m_dialog = nullptr;
};

TEST_F(HeadlessLists, SortedComboInsertsInTheOrderOfWindowsIgnoringCase) {
    // Blanks and punctuation before digits, digits before letters, case ignored.
    const char* added[] = {"samsung K9", "Hynix H27", "TOSHIBA TC58", "1 chip",
                           "(none)",     "hynix A",   "Micron",       "_x"};
    for (const char* text : added) {
        Add(kSorted, text);
    }
    std::vector<std::string> expected = {"(none)",    "_x",     "1 chip",     "hynix A",
                                         "Hynix H27", "Micron", "samsung K9", "TOSHIBA TC58"};
    EXPECT_EQ(expected, ComboItems(kSorted));
    // CB_ADDSTRING answers where the item went.
    EXPECT_EQ(4, Add(kSorted, "HYNIX B"));
    // An unsorted combo keeps the order of adding; CB_INSERTSTRING places.
    Add(kPlain, "b");
    Add(kPlain, "a");
    EXPECT_EQ(1, SendMessage(Control(kPlain), CB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("c")));
    EXPECT_EQ(3, SendMessage(Control(kPlain), CB_INSERTSTRING, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>("d")));
    EXPECT_EQ(CB_ERR,
              SendMessage(Control(kPlain), CB_INSERTSTRING, 9, reinterpret_cast<LPARAM>("x")));
    EXPECT_EQ((std::vector<std::string>{"b", "c", "a", "d"}), ComboItems(kPlain));
}

TEST_F(HeadlessLists, ExactFindIgnoresCaseAndWrapsAroundFromItsStart) {
    for (const char* text : {"Alpha", "beta", "ALPHA", "Alphabet"}) {
        SendMessage(Control(kPlain), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    HWND combo = Control(kPlain);
    struct Case {
        int start;
        const char* text;
        LRESULT found;
    } cases[] = {
        {-1, "alpha", 0},      // from the top
        {0, "alpha", 2},       // after item 0
        {2, "alpha", 0},       // wraps around to the top
        {3, "ALPHA", 0},       // after the last item: from the top
        {99, "beta", 1},       // a start beyond the end searches everything
        {-1, "Alph", CB_ERR},  // a prefix is no exact match
        {-1, "", CB_ERR},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.found, SendMessage(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(c.start),
                                       reinterpret_cast<LPARAM>(c.text)))
            << "start " << c.start << ", \"" << c.text << "\"";
    }
    // The prefix search finds what starts with the text.
    EXPECT_EQ(3, SendMessage(combo, CB_FINDSTRING, 2, reinterpret_cast<LPARAM>("alphab")));
    EXPECT_EQ(1, SendMessage(combo, CB_FINDSTRING, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>("BE")));
}

TEST_F(HeadlessLists, SelectionFromCodeNotifiesNobodyAndFollowsItsItem) {
    HWND combo = Control(kSorted);
    Add(kSorted, "m");
    Add(kSorted, "x");
    EXPECT_EQ(1, SendMessage(combo, CB_SETCURSEL, 1, 0));
    EXPECT_EQ("x", TextOf(combo));  // a drop-down list shows its selected item
    Add(kSorted, "a");              // goes before the selection, which moves with its item
    EXPECT_EQ(2, SendMessage(combo, CB_GETCURSEL, 0, 0));
    SendMessage(combo, CB_DELETESTRING, 0, 0);
    EXPECT_EQ(1, SendMessage(combo, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(1, SendMessage(combo, CB_DELETESTRING, 1, 0));  // the selected one: none left
    EXPECT_EQ(CB_ERR, SendMessage(combo, CB_GETCURSEL, 0, 0));
    EXPECT_EQ("", TextOf(combo));
    EXPECT_EQ(CB_ERR, SendMessage(combo, CB_SETCURSEL, 5, 0));
    EXPECT_TRUE(CommandsFrom(kSorted).empty()) << "CB_ from code sent notifications";

    // Item data, and CB_RESETCONTENT empties everything.
    SendMessage(combo, CB_SETITEMDATA, 0, 1234);
    EXPECT_EQ(1234, SendMessage(combo, CB_GETITEMDATA, 0, 0));
    EXPECT_EQ(CB_ERR, SendMessage(combo, CB_GETITEMDATA, 3, 0));
    SendMessage(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(0, SendMessage(combo, CB_GETCOUNT, 0, 0));
}

TEST_F(HeadlessLists, DropDownKeepsItsOwnTextAndDropDownListOnlyItems) {
    HWND dropDown = Control(kDropDown);
    SetWindowText(dropDown, "typed");
    EXPECT_EQ("typed", TextOf(dropDown));
    HWND list = Control(kPlain);
    Add(kPlain, "one");
    Add(kPlain, "two");
    EXPECT_TRUE(SetWindowText(list, "TWO"));  // selects the item with that text
    EXPECT_EQ(1, SendMessage(list, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(CB_ERR, SendMessage(list, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("three")));
    // The window is as high as its edit line; the template height is the list's.
    RECT window;
    GetWindowRect(list, &window);
    EXPECT_EQ(13 + 8, window.bottom - window.top);
    RECT dropped;
    SendMessage(list, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(80 * 13 / 8, dropped.bottom - dropped.top);
}

TEST_F(HeadlessLists, ListBoxSortsSelectsAndReportsTheOperatorsChoiceOnly) {
    HWND list = Control(kList);
    for (const char* text : {"b", "C", "a"}) {
        SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    char text[16];
    SendMessage(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ("b", text);
    EXPECT_EQ(2, SendMessage(list, LB_SETCURSEL, 2, 0));
    EXPECT_EQ(LB_ERR, SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0));
    EXPECT_EQ(LB_ERR, SendMessage(list, LB_GETCURSEL, 0, 0));
    EXPECT_TRUE(CommandsFrom(kList).empty());
    // A click on the second item selects it and tells the dialog.
    LRESULT height = SendMessage(list, LB_GETITEMHEIGHT, 0, 0);
    ASSERT_TRUE(fw::headless::LButtonDown(list, POINT{5, static_cast<LONG>(height + 1)}));
    EXPECT_EQ(1, SendMessage(list, LB_GETCURSEL, 0, 0));
    EXPECT_EQ((std::vector<WORD>{LBN_SETFOCUS, LBN_SELCHANGE}), CommandsFrom(kList));
    EXPECT_EQ(1, SendMessage(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>("B")));
}

TEST_F(HeadlessLists, OwnerDrawnListHoldsItemDataAndHasItsItemsDrawnByTheDialog) {
    // Created with the dialog: the height was asked for once.
    int measured = 0;
    for (const Seen& seen : Log()) {
        if (seen.message == WM_MEASUREITEM && seen.wParam == kOwnerList) {
            ++measured;
        }
    }
    EXPECT_EQ(1, measured);
    HWND list = Control(kOwnerList);
    EXPECT_EQ(16, SendMessage(list, LB_GETITEMHEIGHT, 0, 0)) << "the system font's line height";

    int records[3] = {10, 20, 30};
    for (int& record : records) {
        SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(&record));
    }
    EXPECT_EQ(reinterpret_cast<LRESULT>(&records[1]), SendMessage(list, LB_GETITEMDATA, 1, 0));
    ULONG_PTR asText = 0;
    EXPECT_EQ(static_cast<LRESULT>(sizeof(ULONG_PTR)), SendMessage(list, LB_GETTEXTLEN, 2, 0));
    SendMessage(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(&asText));
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(&records[2]), asText);

    // A selection change redraws the old and the new item at once.
    Log().clear();
    SendMessage(list, LB_SETCURSEL, 0, 0);
    SendMessage(list, LB_SETCURSEL, 2, 0);
    std::vector<std::pair<UINT, UINT>> drawn;  // item, state
    for (const Seen& seen : Log()) {
        if (seen.message == WM_DRAWITEM) {
            const DRAWITEMSTRUCT* draw = &seen.draw;
            EXPECT_EQ(static_cast<UINT>(ODA_SELECT), draw->itemAction);
            drawn.emplace_back(draw->itemID, draw->itemState & ODS_SELECTED);
        }
    }
    EXPECT_EQ((std::vector<std::pair<UINT, UINT>>{{0, ODS_SELECTED}, {0, 0}, {2, ODS_SELECTED}}),
              drawn);

    // Painting draws every item, with its data and rectangle.
    Log().clear();
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    std::vector<UINT> painted;
    for (const Seen& seen : Log()) {
        if (seen.message == WM_DRAWITEM) {
            const DRAWITEMSTRUCT* draw = &seen.draw;
            EXPECT_EQ(static_cast<LONG>(draw->itemID * 16), draw->rcItem.top);
            EXPECT_EQ(reinterpret_cast<ULONG_PTR>(&records[draw->itemID]), draw->itemData);
            painted.push_back(draw->itemID);
        }
    }
    EXPECT_EQ((std::vector<UINT>{0, 1, 2}), painted);

    // Deleting an item tells the owner, with the item's data.
    Log().clear();
    EXPECT_EQ(2, SendMessage(list, LB_DELETESTRING, 1, 0));
    ASSERT_EQ(1u, Log().size());
    const DELETEITEMSTRUCT* deleted = &Log()[0].deleted;
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(&records[1]), deleted->itemData);
    EXPECT_EQ(reinterpret_cast<LRESULT>(&records[2]), SendMessage(list, LB_GETITEMDATA, 1, 0));
    EXPECT_EQ(1, SendMessage(list, LB_GETCURSEL, 0, 0)) << "the selection moved up with its item";
}

TEST_F(HeadlessLists, EmptyOwnerDrawnListDrawsOnlyItsFocusWhenFocused) {
    HWND list = Control(kOwnerList);
    Log().clear();
    SetFocus(list);
    std::vector<UINT> items;
    for (const Seen& seen : Log()) {
        if (seen.message == WM_DRAWITEM) {
            const DRAWITEMSTRUCT* draw = &seen.draw;
            EXPECT_EQ(static_cast<UINT>(ODA_FOCUS), draw->itemAction);
            items.push_back(draw->itemID);
        }
    }
    EXPECT_EQ((std::vector<UINT>{static_cast<UINT>(-1)}), items);
}

}  // namespace

#endif  // !_WIN32
