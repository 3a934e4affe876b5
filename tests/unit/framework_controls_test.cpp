// Controls as the pages use them, on a test dialog driven as a person would:
// sorted combo insertion and exact find, the template's initial items added
// once, automatic radio groups and check boxes, controls that refuse the
// operator (disabled, hidden, digits only, read-only), and no notification
// for what the code sets.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "driver/operator.h"
#include "framework/framework.h"
#include "unit/framework_test_support.h"

using fwtest::CaptureFailures;
using fwtest::RefusedWith;
using fwtest::TemplateBuilder;

namespace {

const UINT kControlsDialog = 9100;
enum : int {
    kSorted = 100,
    kPreset = 101,  // unsorted, items from the template's initial data
    kRadioA1 = 110,
    kRadioA2 = 111,
    kRadioA3 = 112,
    kRadioB1 = 120,
    kRadioB2 = 121,
    kCheck = 130,
    kLocked = 140,
    kHidden = 141,
    kDigits = 150,
    kReadOnly = 151,
    kReinit = 160,
};

TemplateBuilder ControlsTemplate() {
    TemplateBuilder t("Controls", 240, 170);
    t.Combo(kSorted, 7, 7, 100, CBS_SORT | CBS_HASSTRINGS)
        .Combo(kPreset, 120, 7, 100)
        .Radio(kRadioA1, "A1", 7, 30, true)
        .Radio(kRadioA2, "A2", 7, 42)
        .Radio(kRadioA3, "A3", 7, 54)
        .Radio(kRadioB1, "B1", 120, 30, true)
        .Radio(kRadioB2, "B2", 120, 42)
        .Check(kCheck, "Check", 7, 70)
        .Button(kLocked, "Locked", 7, 85, BS_PUSHBUTTON | WS_DISABLED)
        .Button(kHidden, "Hidden", 60, 85)
        .Edit(kDigits, 7, 105, 60, ES_NUMBER)
        .Edit(kReadOnly, 120, 105, 60, ES_READONLY)
        .Button(kReinit, "Reinit", 7, 125)
        .DefButton(IDOK, "OK", 120, 150)
        .Button(IDCANCEL, "Cancel", 180, 150);
    return t;
}

class CControlsDlg : public fw::CDialog {
public:
    explicit CControlsDlg(TemplateBuilder& t) {
        InitModalIndirect(t.Bytes(), nullptr,
                          fwtest::DlgInit({{kPreset, "Gamma"}, {kPreset, "Alpha"}}),
                          kControlsDialog);
    }

    fw::CComboBox m_sorted;
    std::vector<int> m_insertedAt;  // what AddString returned, in order
    int m_selChanges = 0;
    int m_checkClicks = 0;
    int m_lockedClicks = 0;
    int m_radioClicks = 0;

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_sorted.ResetContent();
        m_insertedAt.clear();
        for (const char* item : {"slc", "TLC", "MLC", "MLC2", "UFS"}) {
            m_insertedAt.push_back(m_sorted.AddString(item));
        }
        // Set from code: no notification reaches the handlers.
        m_sorted.SetCurSel(0);
        CheckDlgButton(kCheck, BST_CHECKED);
        CheckRadioButton(kRadioB1, kRadioB2, kRadioB1);
        GetDlgItem(kHidden)->ShowWindow(SW_HIDE);
        SetDlgItemText(kReadOnly, "fixed");
        return TRUE;
    }

protected:
    void DoDataExchange(fw::CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        fw::DDX_Control(pDX, kSorted, m_sorted);
    }

    void OnSelChange() { ++m_selChanges; }
    void OnCheck() { ++m_checkClicks; }
    void OnLocked() { ++m_lockedClicks; }
    void OnRadio() { ++m_radioClicks; }
    void OnReinit() { OnInitDialog(); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CControlsDlg, fw::CDialog)
ON_CBN_SELCHANGE(kSorted, OnSelChange)
ON_BN_CLICKED(kCheck, OnCheck)
ON_BN_CLICKED(kLocked, OnLocked)
ON_BN_CLICKED(kHidden, OnLocked)
ON_BN_CLICKED(kRadioA2, OnRadio)
ON_BN_CLICKED(kReinit, OnReinit)
END_MESSAGE_MAP()

// Opens the controls' dialog for visit, which acts as a person would and
// closes it; fails the test unless the dialog ends with result.
void WithControls(int result, const std::function<void(CControlsDlg&, DialogDriver&)>& visit) {
    TemplateBuilder t = ControlsTemplate();
    CControlsDlg dlg(t);
    Operator op;
    op.OnDialog(kControlsDialog, [&](DialogDriver& d) { visit(dlg, d); });
    EXPECT_EQ(result, dlg.DoModal());
}

}  // namespace

TEST(FrameworkControls, SortedComboInsertsInOrderAndFindsExactTextIgnoringCase) {
    WithControls(IDOK, [&](CControlsDlg& dlg, DialogDriver& d) {
        EXPECT_EQ((std::vector<std::string>{"MLC", "MLC2", "slc", "TLC", "UFS"}), d.Items(kSorted));
        EXPECT_EQ((std::vector<int>{0, 1, 0, 1, 4}), dlg.m_insertedAt);
        EXPECT_EQ(0, d.CurSel(kSorted));
        EXPECT_EQ(0, dlg.m_selChanges) << "CB_SETCURSEL from code notifies nobody";

        struct Find {
            const char* text;
            int index;
        };
        for (const Find& f : {Find{"mlc", 0}, Find{"MLC2", 1}, Find{"SLC", 2}, Find{"ML", CB_ERR},
                              Find{"MLC ", CB_ERR}, Find{"", CB_ERR}}) {
            EXPECT_EQ(f.index, dlg.m_sorted.FindStringExact(-1, f.text)) << '"' << f.text << '"';
        }
        EXPECT_EQ("slc", dlg.m_sorted.GetLBText(2));

        d.Select(kSorted, "TLC");  // a person's choice notifies
        EXPECT_EQ(3, d.CurSel(kSorted));
        EXPECT_EQ(1, dlg.m_selChanges);
        EXPECT_EQ("TLC", d.Text(kSorted));
        d.Click(IDOK);
    });
}

// A long fill as the flash lists make it: room made first (at least what
// was asked for), drawing held back, and every item still at its sorted
// place; drawn again, the list shows its selection.
TEST(FrameworkControls, LongFillWithRoomMadeAndDrawingHeldBack) {
    WithControls(IDOK, [&](CControlsDlg& dlg, DialogDriver& d) {
        dlg.m_sorted.ResetContent();
        dlg.m_sorted.SetRedraw(FALSE);
        EXPECT_GE(dlg.m_sorted.InitStorage(300, 300 * 8), 300);
        std::vector<std::string> expected;
        for (int i = 299; i >= 0; --i) {
            char text[8];
            std::snprintf(text, sizeof text, "F%03d", i);
            dlg.m_sorted.AddString(text);
            expected.insert(expected.begin(), text);
        }
        dlg.m_sorted.SetRedraw(TRUE);
        dlg.m_sorted.Invalidate();
        dlg.m_sorted.SetCurSel(150);
        EXPECT_EQ(expected, d.Items(kSorted));
        EXPECT_EQ("F150", d.Text(kSorted));
        EXPECT_TRUE(d.IsVisible(kSorted));
        d.Click(IDOK);
    });
}

// Added in a sorted list's own order, AddSortedString puts every item where
// AddString puts it, those out of order and equal ones included, and says so
// by the index it returns.
TEST(FrameworkControls, AddSortedStringLandsWhereAddStringDoes) {
    WithControls(IDOK, [&](CControlsDlg& dlg, DialogDriver& d) {
        const std::vector<const char*> texts = {"alpha", "Beta",  "beta",  "Gamma", "delta",
                                                "delta", "Delta", "AB",    "A-B",   "zeta",
                                                "eta",   "theta", "Theta", "iota"};
        dlg.m_sorted.ResetContent();
        std::vector<int> byAdd;
        for (const char* text : texts) {
            byAdd.push_back(dlg.m_sorted.AddString(text));
        }
        const std::vector<std::string> expected = d.Items(kSorted);

        dlg.m_sorted.ResetContent();
        const LCID locale = dlg.m_sorted.GetLocale();
        const char* last = nullptr;
        std::vector<int> bySorted;
        for (const char* text : texts) {
            const int index = dlg.m_sorted.AddSortedString(text, last, locale);
            bySorted.push_back(index);
            if (index == dlg.m_sorted.GetCount() - 1) {
                last = text;
            }
        }
        EXPECT_EQ(expected, d.Items(kSorted));
        EXPECT_EQ(byAdd, bySorted);
        d.Click(IDOK);
    });
}

TEST(FrameworkControls, TemplateItemsAreAddedOnceInTheirOwnOrder) {
    WithControls(IDCANCEL, [&](CControlsDlg&, DialogDriver& d) {
        const std::vector<std::string> preset = {"Gamma", "Alpha"};
        EXPECT_EQ(preset, d.Items(kPreset));
        d.Click(kReinit);  // the dialog initializes again, as a page reloading
        EXPECT_EQ(preset, d.Items(kPreset)) << "initial items are not added twice";
        EXPECT_EQ(5u, d.Items(kSorted).size()) << "the code empties its own list first";
        d.PressEscape();
    });
}

TEST(FrameworkControls, AutomaticRadioButtonsUncheckOnlyTheirOwnGroup) {
    WithControls(IDOK, [&](CControlsDlg& dlg, DialogDriver& d) {
        EXPECT_TRUE(d.IsChecked(kRadioB1));
        EXPECT_EQ(0, dlg.m_radioClicks);

        d.Click(kRadioA2);
        EXPECT_TRUE(d.IsChecked(kRadioA2));
        EXPECT_FALSE(d.IsChecked(kRadioA1));
        EXPECT_FALSE(d.IsChecked(kRadioA3));
        EXPECT_TRUE(d.IsChecked(kRadioB1)) << "the other group keeps its choice";
        EXPECT_EQ(1, dlg.m_radioClicks);

        d.Click(kRadioA3);
        d.Click(kRadioB2);
        EXPECT_FALSE(d.IsChecked(kRadioA2));
        EXPECT_TRUE(d.IsChecked(kRadioA3));
        EXPECT_FALSE(d.IsChecked(kRadioB1));
        EXPECT_TRUE(d.IsChecked(kRadioB2));
        EXPECT_EQ(2, dlg.GetCheckedRadioButton(kRadioA1, kRadioA3) - kRadioA1);

        // The check box: checked from code without a notification, then
        // toggled by a person's clicks.
        EXPECT_TRUE(d.IsChecked(kCheck));
        EXPECT_EQ(0, dlg.m_checkClicks);
        d.Uncheck(kCheck);
        d.Uncheck(kCheck);  // already unchecked: no click
        EXPECT_FALSE(d.IsChecked(kCheck));
        EXPECT_EQ(1, dlg.m_checkClicks);
        d.Click(kCheck);
        EXPECT_TRUE(d.IsChecked(kCheck));
        d.Click(IDOK);
    });
}

TEST(FrameworkControls, DisabledHiddenDigitsOnlyAndReadOnlyControlsRefuseTheOperator) {
    WithControls(IDCANCEL, [&](CControlsDlg& dlg, DialogDriver& d) {
        EXPECT_FALSE(d.IsEnabled(kLocked));
        EXPECT_TRUE(RefusedWith(CaptureFailures([&] { d.Click(kLocked); }), "disabled"));
        EXPECT_FALSE(d.IsVisible(kHidden));
        EXPECT_TRUE(RefusedWith(CaptureFailures([&] { d.Click(kHidden); }), "hidden"));
        EXPECT_TRUE(RefusedWith(CaptureFailures([&] { d.Click(999); }), "does not exist"));
        EXPECT_EQ(0, dlg.m_lockedClicks);

        // Enabled from code, the button takes clicks.
        dlg.GetDlgItem(kLocked)->EnableWindow(TRUE);
        d.Click(kLocked);
        EXPECT_EQ(1, dlg.m_lockedClicks);

        d.Type(kDigits, "12a3");
        EXPECT_EQ("123", d.Text(kDigits));
        d.Type(kDigits, "");
        EXPECT_EQ("", d.Text(kDigits));
        d.Type(kReadOnly, "typed");
        EXPECT_EQ("fixed", d.Text(kReadOnly));
        d.Click(IDCANCEL);
    });
}
