// The headless property sheet: comctl32's layout of the tab control, the
// pages and the standard buttons for the sheet's font, the creation
// callback, pages created on first activation, the order of the page
// notifications, a page refusing to be left, and the ways a sheet ends.
#if !defined(_WIN32)

#include <algorithm>
#include <cstring>

#include "headless_test_support.h"

namespace {

using namespace headless_test;
using namespace fw::api;
using fw::headless::ModalWindow;

constexpr int kApplyNow = 12321;

struct PageEvent {
    int page;
    std::string what;
    bool operator==(const PageEvent& other) const {
        return page == other.page && what == other.what;
    }
};

std::vector<PageEvent> g_events;
int g_refuseLeaving = -1;  // the page that refuses PSN_KILLACTIVE
bool g_rewriteFont = true;
std::vector<std::string> g_callbacks;

std::ostream& operator<<(std::ostream& out, const PageEvent& e) {
    return out << e.page << ":" << e.what;
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        int index = static_cast<int>(reinterpret_cast<const PROPSHEETPAGE*>(lParam)->lParam);
        SetWindowLongPtr(page, GWLP_USERDATA, index);
        g_events.push_back({index, "init"});
        return TRUE;
    }
    if (message != WM_NOTIFY) {
        return FALSE;
    }
    int index = static_cast<int>(GetWindowLongPtr(page, GWLP_USERDATA));
    auto* notify = reinterpret_cast<const PSHNOTIFY*>(lParam);
    LRESULT answer = 0;
    switch (notify->hdr.code) {
        case PSN_SETACTIVE:
            g_events.push_back({index, "set"});
            break;
        case PSN_KILLACTIVE:
            g_events.push_back({index, "kill"});
            answer = index == g_refuseLeaving ? TRUE : FALSE;
            break;
        case PSN_APPLY:
            g_events.push_back({index, "apply"});
            break;
        case PSN_RESET:
            g_events.push_back({index, "reset"});
            break;
        default:
            return FALSE;
    }
    SetWindowLongPtr(page, DWLP_MSGRESULT, answer);
    return TRUE;
}

int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM lParam) {
    if (message == PSCB_PRECREATE) {
        g_callbacks.push_back(sheet == nullptr ? "precreate" : "precreate with a window");
        if (g_rewriteFont) {
            // Rewrite the sheet's own template in place, within its own size
            // (the block holds nothing more): the caption makes room for the
            // longer face, as the title comes from the header.
            size_t used = 0;
            auto* bytes = reinterpret_cast<uint8_t*>(lParam);
            std::optional<DialogTemplate> sheetTemplate =
                fw::ParseDialogTemplate(fw::ByteView(bytes, 4096), &used);
            EXPECT_TRUE(sheetTemplate.has_value());
            if (sheetTemplate) {
                EXPECT_EQ("MS Shell Dlg", sheetTemplate->font->Face());
                sheetTemplate->SetFont("Times New Roman", 8);
                sheetTemplate->caption.clear();
                std::vector<uint8_t> rewritten =
                    sheetTemplate->Serialize(fw::TemplateFormat::Classic);
                EXPECT_LE(rewritten.size(), used);
                std::memcpy(bytes, rewritten.data(), std::min(rewritten.size(), used));
            }
        }
    } else if (message == PSCB_INITIALIZED) {
        g_callbacks.push_back(IsWindow(sheet) ? "initialized" : "initialized without a window");
        SetProp(sheet, "SetupSheet", reinterpret_cast<HANDLE>(1));
    }
    return 0;
}

class HeadlessSheet : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        g_events.clear();
        g_callbacks.clear();
        g_refuseLeaving = -1;
        g_rewriteFont = true;
        const char* captions[] = {"Mode", "Bin", "Check"};
        for (int i = 0; i < 3; ++i) {
            m_templates.push_back(
                Dialog(WS_CHILD | WS_CAPTION | DS_CONTROL, 339, 145, "Times New Roman", 9,
                       {Item(ControlClass::Edit, 100, WS_TABSTOP, 5, 5, 50, 12)}, captions[i])
                    .Serialize(fw::TemplateFormat::Classic));
        }
        for (int i = 0; i < 3; ++i) {
            PROPSHEETPAGE page{};
            page.dwSize = sizeof(page);
            page.dwFlags = PSP_DLGINDIRECT;
            page.pResource =
                reinterpret_cast<LPCDLGTEMPLATE>(m_templates[static_cast<size_t>(i)].data());
            page.pfnDlgProc = PageProc;
            page.lParam = i;
            m_pages.push_back(page);
        }
    }

    INT_PTR Run(std::function<void(HWND)> operate, DWORD flags = 0) {
        PROPSHEETHEADER header{};
        header.dwSize = sizeof(header);
        header.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | flags;
        header.pszCaption = "Settings";
        header.nPages = static_cast<UINT>(m_pages.size());
        header.ppsp = m_pages.data();
        header.pfnCallback = SheetCallback;
        fw::headless::SetModalHook([&](ModalWindow& modal) {
            ASSERT_EQ(ModalWindow::PropertySheet, modal.kind);
            m_sheet = modal.hwnd;
            operate(modal.hwnd);
        });
        return PropertySheet(&header);
    }

    static HWND Current(HWND sheet) {
        return reinterpret_cast<HWND>(SendMessage(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }

    std::vector<std::vector<uint8_t>> m_templates;
    std::vector<PROPSHEETPAGE> m_pages;
    HWND m_sheet = nullptr;
};

TEST_F(HeadlessSheet, LaysOutTabsPagesAndButtonsAsComctl32ForTheSheetFont) {
    Run([](HWND sheet) {
        // "Times New Roman" 8 after the callback: 6 x 12 base units. Pages of
        // 339 x 145 units are 509 x 218; the tab adds its frame and tab row.
        RECT client;
        GetClientRect(sheet, &client);
        EXPECT_EQ(Describe(RECT{0, 0, 529, 282}), Describe(client));
        HWND tab = reinterpret_cast<HWND>(SendMessage(sheet, PSM_GETTABCONTROL, 0, 0));
        EXPECT_EQ(Describe(RECT{6, 6, 523, 249}), Describe(RectInParent(tab)));
        EXPECT_EQ(Describe(RECT{10, 27, 519, 245}), Describe(RectInParent(Current(sheet))));
        struct Button {
            int id;
            LONG left;
            bool visible, enabled;
        } buttons[] = {{IDOK, 286, true, true},
                       {IDCANCEL, 367, true, true},
                       {kApplyNow, 448, true, false},
                       {IDHELP, 529, false, true}};
        for (const Button& b : buttons) {
            HWND button = GetDlgItem(sheet, b.id);
            EXPECT_EQ(Describe(RECT{b.left, 255, b.left + 75, 276}), Describe(RectInParent(button)))
                << "button " << b.id;
            EXPECT_EQ(b.visible, IsWindowVisible(button) != FALSE) << "button " << b.id;
            EXPECT_EQ(b.enabled, IsWindowEnabled(button) != FALSE) << "button " << b.id;
        }
        EXPECT_EQ(MAKELONG(IDOK, DC_HASDEFID), SendMessage(sheet, DM_GETDEFID, 0, 0));
        // Tabs are titled by the pages' captions; the sheet by the header.
        char title[32];
        TCITEM item{};
        item.mask = TCIF_TEXT;
        item.pszText = title;
        item.cchTextMax = sizeof(title);
        SendMessage(tab, TCM_GETITEM, 2, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ("Check", title);
        EXPECT_EQ(3, SendMessage(tab, TCM_GETITEMCOUNT, 0, 0));
        EXPECT_EQ("Settings", TextOf(sheet));
        LOGFONT font{};
        GetObject(reinterpret_cast<HGDIOBJ>(SendMessage(GetDlgItem(sheet, IDOK), WM_GETFONT, 0, 0)),
                  sizeof(font), &font);
        EXPECT_STREQ("Times New Roman", font.lfFaceName);
        EndDialog(sheet, 1);
    });
    EXPECT_EQ((std::vector<std::string>{"precreate", "initialized"}), g_callbacks);
}

TEST_F(HeadlessSheet, WithItsOwnFontAndHelpTheSheetKeepsFourButtonsInARow) {
    g_rewriteFont = false;
    m_pages[1].dwFlags |= PSP_HASHELP | PSP_USETITLE;
    m_pages[1].pszTitle = "Bins";
    Run([](HWND sheet) {
        // "MS Shell Dlg" 8: 6 x 13; pages 509 x 236, tab row 18 + 4, the
        // tab control 7 pixels (4 units) down.
        RECT client;
        GetClientRect(sheet, &client);
        EXPECT_EQ(Describe(RECT{0, 0, 529, 306}), Describe(client));
        LONG left = 529 - 4 * 81;
        for (int id : {IDOK, IDCANCEL, kApplyNow, IDHELP}) {
            EXPECT_EQ(Describe(RECT{left, 276, left + 75, 299}),
                      Describe(RectInParent(GetDlgItem(sheet, id))));
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(sheet, id)));
            left += 81;
        }
        HWND tab = reinterpret_cast<HWND>(SendMessage(sheet, PSM_GETTABCONTROL, 0, 0));
        char title[32];
        TCITEM item{TCIF_TEXT, 0, 0, title, sizeof(title), 0, 0};
        SendMessage(tab, TCM_GETITEM, 1, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ("Bins", title);
        EndDialog(sheet, 1);
    });
}

TEST_F(HeadlessSheet, PagesAreCreatedWhenFirstShownAndARefusalKeepsThePage) {
    INT_PTR result = Run([this](HWND sheet) {
        EXPECT_EQ((std::vector<PageEvent>{{0, "init"}, {0, "set"}}), g_events);
        g_events.clear();
        // A tab click: the page being left is asked once, then the new one is made.
        ASSERT_TRUE(fw::headless::SelectTab(sheet, 2));
        EXPECT_EQ((std::vector<PageEvent>{{0, "kill"}, {2, "init"}, {2, "set"}}), g_events);
        HWND tab = reinterpret_cast<HWND>(SendMessage(sheet, PSM_GETTABCONTROL, 0, 0));
        EXPECT_EQ(2, SendMessage(tab, TCM_GETCURSEL, 0, 0));
        EXPECT_FALSE(
            IsWindowVisible(reinterpret_cast<HWND>(SendMessage(sheet, PSM_INDEXTOHWND, 0, 0))));

        g_refuseLeaving = 2;
        g_events.clear();
        fw::headless::SelectTab(sheet, 1);
        EXPECT_EQ((std::vector<PageEvent>{{2, "kill"}}), g_events);
        EXPECT_EQ(2, SendMessage(tab, TCM_GETCURSEL, 0, 0)) << "the refusing page stays";
        EXPECT_EQ(FALSE, SendMessage(sheet, PSM_SETCURSEL, 1, 0));
        EXPECT_EQ(nullptr, reinterpret_cast<HWND>(SendMessage(sheet, PSM_INDEXTOHWND, 1, 0)))
            << "page 1 was never made";

        g_refuseLeaving = -1;
        g_events.clear();
        EXPECT_EQ(TRUE, SendMessage(sheet, PSM_SETCURSEL, 1, 0));
        EXPECT_EQ((std::vector<PageEvent>{{2, "kill"}, {1, "init"}, {1, "set"}}), g_events);
        EXPECT_EQ(1, SendMessage(tab, TCM_GETCURSEL, 0, 0));

        // OK without a handler of the sheet's own: the current page is asked,
        // every page applies, and the sheet closes itself.
        g_events.clear();
        fw::headless::Click(GetDlgItem(sheet, IDOK));
        EXPECT_EQ((std::vector<PageEvent>{{1, "kill"}, {0, "apply"}, {1, "apply"}, {2, "apply"}}),
                  g_events);
        EXPECT_EQ(nullptr, Current(sheet));
    });
    EXPECT_EQ(IDCANCEL, result) << "a sheet that closed itself, not ended by EndDialog";
    EXPECT_FALSE(IsWindow(m_sheet));
}

TEST_F(HeadlessSheet, EndsWithEndDialogsResultOrCancelAndDisablesItsOwner) {
    HWND owner = fw::headless::CreateTopLevelWindow("Host", "Station");
    PROPSHEETHEADER header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE;
    header.hwndParent = owner;
    header.nPages = 3;
    header.ppsp = m_pages.data();
    fw::headless::SetModalHook([&](ModalWindow& modal) {
        EXPECT_FALSE(IsWindowEnabled(owner));
        EXPECT_EQ(owner, modal.owner);
        EndDialog(modal.hwnd, 7);
        EXPECT_FALSE(IsWindowVisible(modal.hwnd));
    });
    EXPECT_EQ(7, PropertySheet(&header));
    EXPECT_TRUE(IsWindowEnabled(owner));

    for (auto close : std::vector<std::function<void(HWND)>>{
             [](HWND s) { fw::headless::Click(GetDlgItem(s, IDCANCEL)); },
             [](HWND s) { fw::headless::KeyEscape(s); }, [](HWND s) { fw::headless::Close(s); }}) {
        g_events.clear();
        fw::headless::SetModalHook([&](ModalWindow& modal) {
            close(modal.hwnd);
            EXPECT_EQ(nullptr, Current(modal.hwnd));
        });
        EXPECT_EQ(IDCANCEL, PropertySheet(&header));
        EXPECT_EQ((std::vector<PageEvent>{{0, "init"}, {0, "set"}, {0, "reset"}}), g_events);
    }
    EXPECT_TRUE(fw::headless::TakeErrors().empty());
}

TEST_F(HeadlessSheet, ApplyNowFollowsThePagesChangesAndHelpNotifiesTheCurrentPage) {
    Run([](HWND sheet) {
        HWND apply = GetDlgItem(sheet, kApplyNow);
        HWND page = Current(sheet);
        SendMessage(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
        EXPECT_TRUE(IsWindowEnabled(apply));
        SendMessage(sheet, PSM_UNCHANGED, reinterpret_cast<WPARAM>(page), 0);
        EXPECT_FALSE(IsWindowEnabled(apply));
        SendMessage(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
        g_events.clear();
        ASSERT_TRUE(fw::headless::Click(apply));
        EXPECT_EQ((std::vector<PageEvent>{{0, "kill"}, {0, "apply"}}), g_events)
            << "only the pages made so far apply";
        EXPECT_FALSE(IsWindowEnabled(apply));
        EXPECT_EQ(page, Current(sheet)) << "Apply Now leaves the sheet open";
        EndDialog(sheet, 3);
    });
}

INT_PTR CALLBACK SkippingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY &&
        reinterpret_cast<const PSHNOTIFY*>(lParam)->hdr.code == PSN_SETACTIVE) {
        g_events.push_back({1, "skip"});
        SetWindowLongPtr(page, DWLP_MSGRESULT, -1);
        return TRUE;
    }
    return PageProc(page, message, wParam, lParam);
}

TEST_F(HeadlessSheet, APageThatAnswersMinusOneIsSkipped) {
    m_pages[1].pfnDlgProc = SkippingPageProc;
    Run([](HWND sheet) {
        g_events.clear();
        EXPECT_EQ(TRUE, SendMessage(sheet, PSM_SETCURSEL, 1, 0));
        EXPECT_EQ((std::vector<PageEvent>{
                      {0, "kill"}, {1, "init"}, {1, "skip"}, {2, "init"}, {2, "set"}}),
                  g_events);
        HWND tab = reinterpret_cast<HWND>(SendMessage(sheet, PSM_GETTABCONTROL, 0, 0));
        EXPECT_EQ(2, SendMessage(tab, TCM_GETCURSEL, 0, 0));
        EndDialog(sheet, 1);
    });
}

}  // namespace

#endif  // !_WIN32
