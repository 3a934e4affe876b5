// The mode page: what it shows for the stored settings, and what OK then
// writes into [Setup], [Flash] and [Sorting]. Each case opens the sheet on a
// job, looks at the page, acts on it as an operator and confirms.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"
#include "resource.h"
#include "scenario/sheet_support.h"

using sheettest::Caption;
using sheettest::ExpectCaptions;
using sheettest::InEnglishAndChinese;
using sheettest::QueueVisit;
using sheettest::Section;
using sheettest::Value;

namespace {

using Strings = std::vector<std::string>;

const Strings kDrivingItems = {"0", "1", "2", "3", "4", "5", "6", "7", "Default"};
const Strings kRWCycleItems = {"Default", "20 ns", "25 ns", "33 ns",
                               "41 ns",   "50 ns", "66 ns", "133 ns"};
const Strings kTypes = {"MLC FX29F64G08AMC", "SLC FX29F08G08AAA"};  // sorted

struct PageCase {
    const char* name;
    std::string job;
    int flashIndex;
    std::function<void(SheetDriver&)> look;      // checks, then the operator's changes
    std::map<std::string, std::string> written;  // "Section.Key" -> value after OK
};

void RunCase(const PageCase& c) {
    SCOPED_TRACE(c.name);
    Station station;
    station.WriteJob(c.job);
    Operator op;
    QueueVisit(op, [&](SheetDriver& s) {
        c.look(s);
        s.Click(IDOK);
    });
    EXPECT_EQ(1, station.Show(op, c.flashIndex));
    const std::string job = station.ReadJob();
    for (const auto& entry : c.written) {
        const size_t dot = entry.first.find('.');
        EXPECT_EQ(entry.second, Value(job, entry.first.substr(0, dot), entry.first.substr(dot + 1)))
            << entry.first;
    }
}

}  // namespace

// The value lists: what each stored value shows as, and what a choice saves.
TEST(ModePage, ListsShowAndSaveTheirValues) {
    const PageCase cases[] = {
        {"controller names without ShowTPCTLName",
         "[Setup]\r\nCTLType=5\r\n",
         0,
         [](SheetDriver& s) {
             EXPECT_EQ((Strings{"Auto", "RX-310", "RX-320", "RX-330", "RX-340G", "RX-470T"}),
                       s.Items(IDC_CONTROLLER));
             EXPECT_EQ(5, s.CurSel(IDC_CONTROLLER));
             s.Select(IDC_CONTROLLER, 0);
         },
         {{"Setup.CTLType", "0"}}},
        {"controller names with ShowTPCTLName",
         "[Setup]\r\nShowTPCTLName=1\r\nCTLType=3\r\n",
         0,
         [](SheetDriver& s) {
             EXPECT_EQ((Strings{"Auto", "RX-350", "RX-320", "RX-360", "RX-340G", "RX-470T"}),
                       s.Items(IDC_CONTROLLER));
             EXPECT_EQ(3, s.CurSel(IDC_CONTROLLER));
         },
         {{"Setup.CTLType", "3"}, {"Setup.ShowTPCTLName", "1"}}},
        {"driving level 34 is item 2; the default item saves 136",
         "[Setup]\r\nDrivingLevel=34\r\n",
         0,
         [](SheetDriver& s) {
             EXPECT_EQ(kDrivingItems, s.Items(IDC_DRIVING_LEVEL));
             EXPECT_EQ(2, s.CurSel(IDC_DRIVING_LEVEL));
             s.Select(IDC_DRIVING_LEVEL, 8);
         },
         {{"Setup.DrivingLevel", "136"}}},
        {"driving level 119 is item 7",
         "[Setup]\r\nDrivingLevel=119\r\n",
         0,
         [](SheetDriver& s) { EXPECT_EQ(7, s.CurSel(IDC_DRIVING_LEVEL)); },
         {{"Setup.DrivingLevel", "119"}}},
        {"a driving level of no item is kept",
         "[Setup]\r\nDrivingLevel=5\r\n",
         0,
         [](SheetDriver& s) { EXPECT_EQ(-1, s.CurSel(IDC_DRIVING_LEVEL)); },
         {{"Setup.DrivingLevel", "5"}}},
        {"RWCycle 0 is 25 ns; 20 ns saves 6",
         "[Flash]\r\nRWCycle=0\r\n",
         0,
         [](SheetDriver& s) {
             EXPECT_EQ(kRWCycleItems, s.Items(IDC_RW_CYCLE));
             EXPECT_EQ(2, s.CurSel(IDC_RW_CYCLE));
             s.Select(IDC_RW_CYCLE, "20 ns");
         },
         {{"Flash.RWCycle", "6"}}},
        {"RWCycle missing is the default item",
         "",
         0,
         [](SheetDriver& s) { EXPECT_EQ(0, s.CurSel(IDC_RW_CYCLE)); },
         {{"Flash.RWCycle", "5"}}},
        {"RWCycle 4 is 133 ns",
         "[Flash]\r\nRWCycle=4\r\n",
         0,
         [](SheetDriver& s) { EXPECT_EQ(7, s.CurSel(IDC_RW_CYCLE)); },
         {{"Flash.RWCycle", "4"}}},
        {"ECC 255 is the default count; 15 saves 15",
         "[Sorting]\r\nECC=255\r\n",
         0,
         [](SheetDriver& s) {
             const Strings items = s.Items(IDC_ECC);
             ASSERT_EQ(17u, items.size());
             EXPECT_EQ("0", items[0]);
             EXPECT_EQ("15", items[15]);
             EXPECT_EQ("Default", items[16]);
             EXPECT_EQ(16, s.CurSel(IDC_ECC));
             s.Select(IDC_ECC, "15");
         },
         {{"Sorting.ECC", "15"}}},
        {"ECC 7",
         "[Sorting]\r\nECC=7\r\n",
         0,
         [](SheetDriver& s) { EXPECT_EQ(7, s.CurSel(IDC_ECC)); },
         {{"Sorting.ECC", "7"}}},
        {"test case 4",
         "[Sorting]\r\nFlashCheck=4\r\n",
         0,
         [](SheetDriver& s) {
             EXPECT_EQ((Strings{"Normal Test", "Half Test", "Interference Test",
                                "Get Bad Blocks (Original)", "Get Bad Blocks (Runtime)",
                                "Get Bad Blocks (Erase)"}),
                       s.Items(IDC_TEST_CASE));
             EXPECT_EQ(4, s.CurSel(IDC_TEST_CASE));
         },
         {{"Sorting.FlashCheck", "4"}}},
        {"channel list",
         "[Flash]\r\nUnAutoCheck=1\r\nChannelNum=1\r\n",
         0,
         [](SheetDriver& s) {
             EXPECT_EQ((Strings{"Single Channel", "Dual Channel"}), s.Items(IDC_CHANNEL));
             EXPECT_EQ(1, s.CurSel(IDC_CHANNEL));
         },
         {{"Flash.ChannelNum", "1"}}},
        {"a channel of no item saves -1",
         "[Flash]\r\nUnAutoCheck=1\r\nChannelNum=2\r\n",
         0,
         [](SheetDriver& s) { EXPECT_EQ(-1, s.CurSel(IDC_CHANNEL)); },
         {{"Flash.ChannelNum", "-1"}}},
    };
    for (const PageCase& c : cases) {
        RunCase(c);
    }
}

// UnAutoCheck off: automatic detection decides the geometry, so flash number
// and channel show one chip, single channel, locked; the host's flash index
// picks the flash type. On: the stored geometry and flash name are shown and
// can be changed.
TEST(ModePage, UnAutoCheckDecidesGeometryAndFlashType) {
    const PageCase cases[] = {
        {"off: stored 4 chips, dual channel shown and saved as 1, single",
         "[Flash]\r\nUnAutoCheck=0\r\nFlashNum=4\r\nChannelNum=1\r\nFlashName=FX29F64G08AMC\r\n",
         0,
         [](SheetDriver& s) {
             EXPECT_FALSE(s.IsChecked(IDC_UNAUTO_CHECK));
             EXPECT_EQ((Strings{"1", "2", "4"}), s.Items(IDC_FLASH_NUM));
             EXPECT_EQ(0, s.CurSel(IDC_FLASH_NUM));
             EXPECT_EQ(0, s.CurSel(IDC_CHANNEL));
             for (int id : {IDC_FLASH_NUM, IDC_CHANNEL, IDC_FLASH_NUM_LABEL, IDC_CHANNEL_LABEL}) {
                 EXPECT_FALSE(s.IsEnabled(id)) << id;
             }
             EXPECT_TRUE(s.IsEnabled(IDC_FLASH_TYPE));
             EXPECT_EQ(kTypes, s.Items(IDC_FLASH_TYPE));
             EXPECT_EQ("SLC FX29F08G08AAA", s.Text(IDC_FLASH_TYPE)) << "the host's index 0";
         },
         {{"Flash.FlashNum", "1"},
          {"Flash.ChannelNum", "0"},
          {"Flash.UnAutoCheck", "0"},
          {"Flash.FlashIndex", "0"},
          {"Flash.FlashName", "FX29F08G08AAA"}}},
        {"off: the host's flash index 1",
         "",
         1,
         [](SheetDriver& s) { EXPECT_EQ("MLC FX29F64G08AMC", s.Text(IDC_FLASH_TYPE)); },
         {{"Flash.FlashIndex", "1"}, {"Flash.FlashName", "FX29F64G08AMC"}}},
        {"off: a host index beyond the table selects nothing",
         "",
         2,
         [](SheetDriver& s) { EXPECT_EQ(-1, s.CurSel(IDC_FLASH_TYPE)); },
         {{"Flash.FlashIndex", "-1"}, {"Flash.FlashName", ""}}},
        {"off: a negative host index selects nothing",
         "",
         -1,
         [](SheetDriver& s) { EXPECT_EQ(-1, s.CurSel(IDC_FLASH_TYPE)); },
         {{"Flash.FlashIndex", "-1"}, {"Flash.FlashName", ""}}},
        {"on: stored geometry, flash name found ignoring case",
         "[Flash]\r\nUnAutoCheck=1\r\nFlashNum=4\r\nChannelNum=1\r\nFlashName=fx29f64g08amc\r\n",
         0,
         [](SheetDriver& s) {
             EXPECT_TRUE(s.IsChecked(IDC_UNAUTO_CHECK));
             EXPECT_EQ(2, s.CurSel(IDC_FLASH_NUM));
             EXPECT_EQ(1, s.CurSel(IDC_CHANNEL));
             for (int id : {IDC_FLASH_NUM, IDC_CHANNEL, IDC_FLASH_NUM_LABEL, IDC_CHANNEL_LABEL}) {
                 EXPECT_TRUE(s.IsEnabled(id)) << id;
             }
             EXPECT_EQ("MLC FX29F64G08AMC", s.Text(IDC_FLASH_TYPE)) << "not the host's index";
         },
         {{"Flash.FlashNum", "4"},
          {"Flash.ChannelNum", "1"},
          {"Flash.UnAutoCheck", "1"},
          {"Flash.FlashIndex", "1"},
          {"Flash.FlashName", "FX29F64G08AMC"}}},
        {"on: an unknown flash name selects nothing",
         "[Flash]\r\nUnAutoCheck=1\r\nFlashName=FX00\r\n",
         0,
         [](SheetDriver& s) { EXPECT_EQ(-1, s.CurSel(IDC_FLASH_TYPE)); },
         {{"Flash.FlashIndex", "-1"}, {"Flash.FlashName", ""}}},
        {"switched on: geometry can be chosen",
         "[Flash]\r\nUnAutoCheck=0\r\n",
         0,
         [](SheetDriver& s) {
             s.Check(IDC_UNAUTO_CHECK);
             EXPECT_TRUE(s.IsEnabled(IDC_FLASH_NUM));
             EXPECT_TRUE(s.IsEnabled(IDC_CHANNEL_LABEL));
             s.Select(IDC_FLASH_NUM, "2");
             s.Select(IDC_CHANNEL, 1);
             s.Select(IDC_FLASH_TYPE, "MLC FX29F64G08AMC");
         },
         {{"Flash.FlashNum", "2"},
          {"Flash.ChannelNum", "1"},
          {"Flash.UnAutoCheck", "1"},
          {"Flash.FlashIndex", "1"}}},
        {"switched off: geometry back to one chip, single channel",
         "[Flash]\r\nUnAutoCheck=1\r\nFlashNum=2\r\nChannelNum=1\r\n",
         0,
         [](SheetDriver& s) {
             s.Uncheck(IDC_UNAUTO_CHECK);
             EXPECT_EQ(0, s.CurSel(IDC_FLASH_NUM));
             EXPECT_EQ(0, s.CurSel(IDC_CHANNEL));
             EXPECT_FALSE(s.IsEnabled(IDC_FLASH_NUM_LABEL));
         },
         {{"Flash.FlashNum", "1"}, {"Flash.ChannelNum", "0"}, {"Flash.UnAutoCheck", "0"}}},
    };
    for (const PageCase& c : cases) {
        RunCase(c);
    }
}

// The test mode radios: test case and ECC apply to the fast test only.
TEST(ModePage, TestModeRadiosEnableTestCaseAndEcc) {
    const PageCase cases[] = {
        {"traffic light, then fast test",
         "[Sorting]\r\nScanMode=0\r\n",
         0,
         [](SheetDriver& s) {
             EXPECT_TRUE(s.IsChecked(IDC_TRAFFIC_LIGHT));
             EXPECT_FALSE(s.IsChecked(IDC_FAST_TEST));
             EXPECT_FALSE(s.IsChecked(IDC_OPEN_SHORT_TEST));
             EXPECT_FALSE(s.IsEnabled(IDC_TEST_CASE));
             EXPECT_FALSE(s.IsEnabled(IDC_ECC));
             s.Click(IDC_FAST_TEST);
             EXPECT_FALSE(s.IsChecked(IDC_TRAFFIC_LIGHT));
             EXPECT_TRUE(s.IsEnabled(IDC_TEST_CASE));
             EXPECT_TRUE(s.IsEnabled(IDC_ECC));
         },
         {{"Sorting.ScanMode", "1"}}},
        {"fast test, then open/short",
         "[Sorting]\r\nScanMode=1\r\n",
         0,
         [](SheetDriver& s) {
             EXPECT_TRUE(s.IsChecked(IDC_FAST_TEST));
             EXPECT_TRUE(s.IsEnabled(IDC_TEST_CASE));
             s.Click(IDC_OPEN_SHORT_TEST);
             EXPECT_FALSE(s.IsChecked(IDC_FAST_TEST));
             EXPECT_FALSE(s.IsChecked(IDC_TRAFFIC_LIGHT));
             EXPECT_FALSE(s.IsEnabled(IDC_TEST_CASE));
             EXPECT_FALSE(s.IsEnabled(IDC_ECC));
         },
         {{"Sorting.ScanMode", "2"}}},
        {"open/short, then traffic light",
         "[Sorting]\r\nScanMode=2\r\n",
         0,
         [](SheetDriver& s) {
             EXPECT_TRUE(s.IsChecked(IDC_OPEN_SHORT_TEST));
             EXPECT_FALSE(s.IsEnabled(IDC_ECC));
             s.Click(IDC_TRAFFIC_LIGHT);
             EXPECT_FALSE(s.IsChecked(IDC_OPEN_SHORT_TEST));
             EXPECT_FALSE(s.IsEnabled(IDC_ECC));
         },
         {{"Sorting.ScanMode", "0"}}},
    };
    for (const PageCase& c : cases) {
        RunCase(c);
    }
}

// Every caption that has a language key shows its text in the visit's
// language; "Driving" and "ECC" keep the template's.
TEST(ModePage, CaptionsComeFromTheLanguageFile) {
    const Caption captions[] = {
        {IDC_FLASH_LIST_GROUP, "IDS_SETUP_UI_FLASH_SET"},
        {IDC_CONTROLLER_LABEL, "IDS_SETUP_UI_CTL_TYPE"},
        {IDC_FLASH_TYPE_LABEL, "IDS_SETUP_UI_FLASH_TYPE"},
        {IDC_UNAUTO_CHECK, "IDS_SETUP_UI_UNAUTO_DETECT"},
        {IDC_FLASH_NUM_LABEL, "IDS_SETUP_UI_FLASH_NUM"},
        {IDC_CHANNEL_LABEL, "IDS_SETUP_UI_CHANNEL"},
        {IDC_RW_CYCLE_LABEL, "IDS_SETUP_UI_RW_CYCLE"},
        {IDC_TEST_MODE_GROUP, "IDS_SETUP_UI_TEST_MODE"},
        {IDC_TRAFFIC_LIGHT, "IDS_SETUP_UI_TRAFFIC_LIGHT"},
        {IDC_FAST_TEST, "IDS_SETUP_UI_FAST_TEST"},
        {IDC_OPEN_SHORT_TEST, "IDS_SETUP_UI_OPEN_SHORT"},
        {IDC_TEST_CASE_LABEL, "IDS_SETUP_UI_TEST_CASE"},
        {IDC_ADVANCED, "IDS_SETUP_UI_ADVANCED"},
        {IDC_RESTORE_DEFAULTS, "IDS_SETUP_UI_DEFAULT_BUTTON"},
    };
    InEnglishAndChinese([&](char language) {
        Station station;
        Operator op;
        QueueVisit(op, [&](SheetDriver& s) {
            ExpectCaptions(s, captions, station, language);
            EXPECT_EQ("Driving", s.Text(IDC_DRIVING_LEVEL_LABEL));
            EXPECT_EQ("ECC", s.Text(IDC_ECC_LABEL));
            EXPECT_EQ(station.Text("IDS_SETUP_UI_AUTO_CTL", language), s.Items(IDC_CONTROLLER)[0]);
            s.Click(IDCANCEL);
        });
        EXPECT_EQ(0, station.Show(op, 0, language));
    });
}

// Restore defaults changes the controls only, keeping the flash type; OK
// then writes the factory choice.
TEST(ModePage, RestoreDefaultsThenOk) {
    Station station;
    station.WriteJob(
        "[Setup]\r\nCTLType=4\r\nDrivingLevel=17\r\n"
        "[Flash]\r\nFlashIndex=1\r\nFlashName=FX29F64G08AMC\r\nUnAutoCheck=1\r\nFlashNum=4\r\n"
        "ChannelNum=1\r\nRWCycle=3\r\n"
        "[Sorting]\r\nScanMode=0\r\nFlashCheck=5\r\nECC=9\r\n");
    Operator op;
    QueueVisit(op, [](SheetDriver& s) {
        s.Click(IDC_RESTORE_DEFAULTS);
        EXPECT_EQ(0, s.CurSel(IDC_CONTROLLER));
        EXPECT_FALSE(s.IsChecked(IDC_UNAUTO_CHECK));
        EXPECT_FALSE(s.IsEnabled(IDC_FLASH_NUM));
        EXPECT_EQ(0, s.CurSel(IDC_FLASH_NUM));
        EXPECT_EQ(0, s.CurSel(IDC_CHANNEL));
        EXPECT_EQ(8, s.CurSel(IDC_DRIVING_LEVEL));
        EXPECT_EQ(0, s.CurSel(IDC_RW_CYCLE));
        EXPECT_EQ(1, s.CurSel(IDC_TEST_CASE));
        EXPECT_EQ(16, s.CurSel(IDC_ECC));
        EXPECT_TRUE(s.IsChecked(IDC_FAST_TEST));
        EXPECT_FALSE(s.IsChecked(IDC_TRAFFIC_LIGHT));
        EXPECT_TRUE(s.IsEnabled(IDC_TEST_CASE));
        EXPECT_TRUE(s.IsEnabled(IDC_ECC));
        EXPECT_EQ("MLC FX29F64G08AMC", s.Text(IDC_FLASH_TYPE));
        s.Click(IDOK);
    });
    EXPECT_EQ(1, station.Show(op));
    const std::string job = station.ReadJob();
    EXPECT_EQ("[Setup]\r\nCTLType=0\r\nDrivingLevel=136\r\n", Section(job, "Setup"));
    EXPECT_EQ(
        "[Flash]\r\nFlashIndex=1\r\nFlashName=FX29F64G08AMC\r\nUnAutoCheck=0\r\nFlashNum=1\r\n"
        "ChannelNum=0\r\nRWCycle=5\r\n",
        Section(job, "Flash"));
    EXPECT_EQ("[Sorting]\r\nScanMode=1\r\nFlashCheck=1\r\nECC=255\r\n", Section(job, "Sorting"));
}

// The flash type list follows the host's table: empty, duplicated names, a
// first text with a blank in it.
TEST(ModePage, FlashTypeFromTheHostTable) {
    const struct {
        const char* name;
        std::vector<std::pair<std::string, std::string>> types;
        int flashIndex;
        Strings items;
        std::string flash;  // the [Flash] keys FlashIndex and FlashName written
    } cases[] = {
        {"empty table", {}, 0, {}, "FlashIndex=-1\r\nFlashName=\r\n"},
        {"a name twice: the first record carrying it",
         {{"A", "FX-DUP"}, {"B", "FX-DUP"}},
         1,
         {"A FX-DUP", "B FX-DUP"},
         "FlashIndex=0\r\nFlashName=FX-DUP\r\n"},
        {"a first text with a blank",
         {{"SLC", "FX1"}, {"TLC 3D", "FX2"}},
         1,
         {"SLC FX1", "TLC 3D FX2"},
         "FlashIndex=1\r\nFlashName=FX2\r\n"},
        {"a flash name with blanks",
         {{"MLC", "FX 64G B"}},
         0,
         {"MLC FX 64G B"},
         "FlashIndex=0\r\nFlashName=FX 64G B\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Station station;
        station.SetFlashTypes(c.types);
        Operator op;
        QueueVisit(op, [&](SheetDriver& s) {
            EXPECT_EQ(c.items, s.Items(IDC_FLASH_TYPE));
            s.Click(IDOK);
        });
        EXPECT_EQ(1, station.Show(op, c.flashIndex));
        EXPECT_EQ("[Flash]\r\nFlashNum=1\r\nChannelNum=0\r\nRWCycle=5\r\n" + c.flash +
                      "UnAutoCheck=0\r\n",
                  Section(station.ReadJob(), "Flash"));
    }
}

// The advanced settings dialog opens from the page, owned by it; whatever
// it does, the page's controls stay as they were.
TEST(ModePage, AdvancedButtonRunsTheAdvancedDialog) {
    Station station;
    station.WriteJob("[Setup]\r\nCTLType=2\r\n");
    Operator op;
    QueueVisit(op, [&](SheetDriver& s) {
        s.Select(IDC_DRIVING_LEVEL, 3);
        op.OnDialog(IDD_ADVANCED, [](DialogDriver& d) { d.PressEscape(); });
        s.Click(IDC_ADVANCED);
        EXPECT_EQ(0, op.Pending());
        EXPECT_EQ(2, s.CurSel(IDC_CONTROLLER));
        EXPECT_EQ(3, s.CurSel(IDC_DRIVING_LEVEL));
        s.Click(IDOK);
    });
    EXPECT_EQ(1, station.Show(op));
    EXPECT_EQ((Strings{"dialog 1037", "sheet", "dialog 1045"}), op.Seen());
    EXPECT_EQ("[Setup]\r\nCTLType=2\r\nDrivingLevel=51\r\n", Section(station.ReadJob(), "Setup"));
}
