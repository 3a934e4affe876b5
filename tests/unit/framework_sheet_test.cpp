// The property sheet as the settings sheet uses it, on test pages: pages
// created when first shown, the order of activation, leaving a page that its
// data exchange refuses, tab titles, the standard buttons and how they end
// the sheet.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "driver/operator.h"
#include "framework/api.h"
#include "framework/framework.h"
#include "unit/framework_test_support.h"

using fwtest::TemplateBuilder;

namespace {

const UINT kFirstPageId = 9600;
const int kCode = 600;        // the edit on page 1, at most 3 characters
const int kApplyNow = 12321;  // the sheet's Apply Now button

// A page that writes what happens to it into the sheet's log.
class CTestPage : public fw::CPropertyPage {
public:
    CTestPage(TemplateBuilder& t, int number, std::vector<std::string>* log,
              const std::string& caption = std::string())
        : CPropertyPage(t.Bytes(), kFirstPageId + static_cast<UINT>(number), {}, caption),
          m_number(number),
          m_log(log) {}

    std::string m_strCode = "ab";

    BOOL OnInitDialog() override {
        Log("init");
        return CPropertyPage::OnInitDialog();
    }
    BOOL OnSetActive() override {
        Log("set");
        return CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override {
        Log("kill");
        return CPropertyPage::OnKillActive();
    }
    BOOL OnApply() override {
        Log("apply");
        return CPropertyPage::OnApply();
    }

protected:
    void DoDataExchange(fw::CDataExchange* pDX) override {
        CPropertyPage::DoDataExchange(pDX);
        if (GetDlgItem(kCode) != nullptr) {
            fw::DDX_Text(pDX, kCode, m_strCode);
            fw::DDV_MaxChars(pDX, m_strCode, 3);
        }
    }

private:
    void Log(const char* what) {
        m_log->push_back(std::string(what) + " " + std::to_string(m_number));
    }

    int m_number;
    std::vector<std::string>* m_log;
};

// A sheet with its own confirm handler, as the settings sheet has.
class CTestSheet : public fw::CPropertySheet {
public:
    explicit CTestSheet(std::vector<std::string>* log, UINT startPage = 0)
        : CPropertySheet("Test Sheet", nullptr, startPage), m_log(log) {}

    bool m_activateAllAtInit = false;
    std::string m_renameTab1;

    BOOL OnInitDialog() override {
        const BOOL result = CPropertySheet::OnInitDialog();
        if (!m_renameTab1.empty()) {
            GetTabControl()->SetItemText(1, m_renameTab1);
        }
        if (m_activateAllAtInit) {
            for (int page : {2, 1, 0}) {
                SetActivePage(page);
            }
        }
        return result;
    }

protected:
    void OnOK() {
        m_log->push_back("sheet ok");
        EndDialog(1);
    }
    DECLARE_MESSAGE_MAP()

private:
    std::vector<std::string>* m_log;
};

BEGIN_MESSAGE_MAP(CTestSheet, fw::CPropertySheet)
ON_COMMAND(IDOK, OnOK)
END_MESSAGE_MAP()

// Three pages: "Alpha" (a label), "Beta" (the 3-character code), "Gamma".
struct ThreePages {
    std::vector<std::string> log;
    std::vector<TemplateBuilder> templates;
    std::vector<std::unique_ptr<CTestPage>> pages;

    ThreePages() {
        for (const char* caption : {"Alpha", "Beta", "Gamma"}) {
            templates.emplace_back(caption, 200, 100, TemplateBuilder::kPageStyle);
        }
        templates[0].Label(601, "First page", 7, 7, 100, 10);
        templates[1].Label(602, "Code:", 7, 9, 30, 10).Edit(kCode, 40, 7, 60);
        templates[2].Label(603, "Third page", 7, 7, 100, 10);
        for (int i = 0; i < 3; ++i) {
            pages.push_back(std::make_unique<CTestPage>(templates[static_cast<size_t>(i)], i, &log,
                                                        i == 2 ? "Third" : ""));
        }
    }
    void AddTo(fw::CPropertySheet& sheet) {
        for (auto& page : pages) {
            sheet.AddPage(page.get());
        }
    }
    // The log entries that start with `what`.
    std::vector<std::string> Only(const std::string& what) const {
        std::vector<std::string> found;
        std::copy_if(log.begin(), log.end(), std::back_inserter(found),
                     [&](const std::string& entry) { return entry.rfind(what, 0) == 0; });
        return found;
    }
};

}  // namespace

TEST(FrameworkSheet, PagesAreCreatedWhenFirstShownInTheOrderTheOperatorPicksThem) {
    ThreePages pages;
    CTestSheet sheet(&pages.log);
    pages.AddTo(sheet);
    Operator op;
    op.OnSheet([&](SheetDriver& s) {
        EXPECT_EQ((std::vector<std::string>{"init 0", "set 0"}), pages.log);
        EXPECT_EQ(0, s.ActiveIndex());
        EXPECT_EQ(static_cast<int>(kFirstPageId), s.Page().TemplateId());

        pages.log.clear();
        s.PickTab(2);
        EXPECT_EQ((std::vector<std::string>{"kill 0", "init 2", "set 2"}), pages.log);
        EXPECT_EQ(2, s.ActiveIndex());
        EXPECT_TRUE(s.Exists(603)) << "the page shown is the third";

        pages.log.clear();
        s.PickTab(0);
        EXPECT_EQ((std::vector<std::string>{"kill 2", "set 0"}), pages.log)
            << "a page is created only once";
        EXPECT_TRUE(pages.Only("init 1").empty()) << "a page never shown is never created";
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_TRUE(pages.Only("sheet ok").empty());
}

TEST(FrameworkSheet, LeavingAPageThatRefusesItsEntryKeepsItActive) {
    ThreePages pages;
    CTestSheet sheet(&pages.log, 1);
    pages.AddTo(sheet);
    Operator op;
    op.OnSheet([&](SheetDriver& s) {
        EXPECT_EQ(1, s.ActiveIndex());
        EXPECT_EQ("ab", s.Text(kCode));
        // A value longer than the page accepts, put there by code.
        fw::api::SetWindowText(s.Item(kCode), "toolong");
        s.PickTab(0);
        EXPECT_EQ(1, s.ActiveIndex()) << "the refusal keeps the page";
        EXPECT_TRUE(s.Exists(kCode));
        EXPECT_EQ(kCode, s.Focus());

        s.Type(kCode, "xyz");
        s.PickTab(0);
        EXPECT_EQ(0, s.ActiveIndex());
        EXPECT_EQ("xyz", pages.pages[1]->m_strCode) << "leaving the page saved its entry";
        s.Click(IDOK);
    });
    op.OnMessageBox([](MessageBoxSeen& m) {
        EXPECT_EQ("Please enter no more than 3 characters.", m.text);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), m.type);
        return IDOK;
    });
    EXPECT_EQ(1, sheet.DoModal()) << "the sheet's own OK handler decides the result";
    EXPECT_EQ(std::vector<std::string>{"sheet ok"}, pages.Only("sheet"));
    EXPECT_TRUE(pages.Only("apply").empty()) << "the sheet's own OK replaces the platform's";
}

TEST(FrameworkSheet, TabTitlesAndTheStandardButtons) {
    ThreePages pages;
    CTestSheet sheet(&pages.log);
    sheet.m_renameTab1 = "Renamed";
    pages.AddTo(sheet);
    Operator op;
    op.OnSheet([&](SheetDriver& s) {
        EXPECT_EQ("Test Sheet", s.Caption());
        EXPECT_EQ(3, s.PageCount());
        EXPECT_EQ("Alpha", s.TabTitle(0)) << "the template's caption";
        EXPECT_EQ("Renamed", s.TabTitle(1)) << "set through the tab control";
        EXPECT_EQ("Third", s.TabTitle(2)) << "the caption given to the page";

        // OK, Cancel, Apply Now and Help, on one row below the tabs, in that order.
        const int buttons[] = {IDOK, IDCANCEL, kApplyNow, IDHELP};
        const RECT tabs = s.TabRect();
        int left = tabs.left;
        for (int id : buttons) {
            ASSERT_TRUE(s.Exists(id)) << "button " << id;
            const RECT r = s.Rect(id);
            EXPECT_EQ(s.Rect(IDOK).top, r.top) << "button " << id;
            EXPECT_GE(r.top, tabs.bottom) << "button " << id;
            EXPECT_GT(r.left, left) << "button " << id;
            left = r.left;
        }
        s.CloseBox();
    });
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
}

TEST(FrameworkSheet, StandardOkEndsWithIdOkAndEscapeWithIdCancel) {
    for (bool confirm : {true, false}) {
        SCOPED_TRACE(confirm ? "OK" : "Escape");
        ThreePages pages;
        fw::CPropertySheet sheet("Plain Sheet");
        pages.AddTo(sheet);
        Operator op;
        op.OnSheet([&](SheetDriver& s) {
            s.PickTab(1);
            if (confirm) {
                s.Click(IDOK);
            } else {
                s.PressEscape();
            }
        });
        EXPECT_EQ(confirm ? IDOK : IDCANCEL, sheet.DoModal());
        if (confirm) {
            // The platform's OK asks the pages that exist to apply.
            std::vector<std::string> applied = pages.Only("apply");
            std::sort(applied.begin(), applied.end());
            EXPECT_EQ((std::vector<std::string>{"apply 0", "apply 1"}), applied);
        } else {
            EXPECT_TRUE(pages.Only("apply").empty());
        }
    }
}

TEST(FrameworkSheet, ActivatingEveryPageAtInitCreatesThemAllBeforeTheOperatorSeesTheFirst) {
    ThreePages pages;
    CTestSheet sheet(&pages.log);
    sheet.m_activateAllAtInit = true;
    pages.AddTo(sheet);
    Operator op;
    op.OnSheet([&](SheetDriver& s) {
        std::vector<std::string> created = pages.Only("init");
        std::sort(created.begin(), created.end());
        EXPECT_EQ((std::vector<std::string>{"init 0", "init 1", "init 2"}), created);
        EXPECT_EQ(0, s.ActiveIndex());
        EXPECT_TRUE(s.Exists(601)) << "the first page is on top";
        EXPECT_EQ("set 0", pages.log.back());
        s.Click(IDOK);
    });
    EXPECT_EQ(1, sheet.DoModal());
}
