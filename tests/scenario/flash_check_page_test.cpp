// The flash check page (the sheet's third tab): what it shows for the stored
// settings, what the operator can change, and the [CheckFlash] and [CheckID]
// sections that OK then writes, including the one refusal of the sheet. The
// same scenarios run natively and, under Wine, against the real Setup.dll.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"
#include "framework/api.h"
#include "resource.h"
#include "scenario/flash_check_support.h"
#include "scenario/sheet_support.h"
#include "setup/host.h"

using namespace fctest;
using sheettest::ExpectKeys;
using sheettest::QueueVisit;
using sheettest::Section;
using sheettest::Value;

namespace {

// Checked radios, as "name id none" flags, and the enabled check controls.
std::string Radios(const DialogDriver& s) {
    std::string text;
    for (int id : {IDC_CHECK_FLASH_NAME, IDC_CHECK_FLASH_ID, IDC_NOT_CHECK}) {
        text += s.IsChecked(id) ? "1" : "0";
    }
    return text;
}

std::string Enabled(const DialogDriver& s) {
    std::string text;
    for (int id : {IDC_FLASH_NAME, IDC_FLASH_ID_LIST, IDC_ADD_MODIFY}) {
        text += s.IsEnabled(id) ? "1" : "0";
    }
    return text;
}

// The text of the selected flash name item, "" when none is selected.
std::string SelectedName(const DialogDriver& s) {
    const int sel = s.CurSel(IDC_FLASH_NAME);
    return sel < 0 ? std::string() : s.Items(IDC_FLASH_NAME)[static_cast<size_t>(sel)];
}

const char kTwoIds[] =
    "[CheckID]\r\nNum=2\r\nFID0=0x98,0xDE,0x94,0x93,0x76,0x50\r\nCOLOR0=0\r\nFIDCOR0=255\r\n"
    "FID1=0xAD,0xDE,0x14,0xA7,0x42,0x4A\r\nCOLOR1=5\r\nFIDCOR1=65280\r\n";

}  // namespace

// Every caption with a language key shows its text; the lists hold each
// flash type (sorted), Read and Write, CE:1 to CE:8 once; the read-loop
// group shows the stored texts and stays disabled, the chip enable does not.
TEST(FlashCheckPage, CaptionsListsAndTheDisabledReadLoopGroup) {
    const std::vector<std::pair<int, std::string>> captions = {
        {IDC_CHECK_FLASH_GROUP, "IDS_SETUP_UI_CHECK_FLASH"},
        {IDC_CHECK_FLASH_NAME, "IDS_SETUP_UI_CHECK_FLASH_NAME"},
        {IDC_CHECK_FLASH_ID, "IDS_SETUP_UI_CHECK_FLASH_ID"},
        {IDC_NOT_CHECK, "IDS_SETUP_UI_NOT_CHECK"},
        {IDC_ADD_MODIFY, "IDS_SETUP_UI_ADD_MODIFY"},
        {IDC_CHECK_LED_SHORT, "IDS_SETUP_UI_CHECK_LED_SHORT"},
        {IDC_CHECK_UID, "IDS_SETUP_UI_CHECK_UID"},
        {IDC_WARMUP, "IDS_SETUP_UI_WARMUP"},
        {IDC_LOOP_SELECT_LABEL, "IDS_SETUP_UI_POLLING_SELECT"},
        {IDC_LOOP_TIMES_LABEL, "IDS_SETUP_UI_POLLING_READ_TIMES"},
        {IDC_LOOP_PAGE_LABEL, "IDS_SETUP_UI_POLLING_PAGE"},
        {IDC_LOOP_BLOCK_LABEL, "IDS_SETUP_UI_POLLING_BLOCK"},
    };
    Station station;
    for (const auto& caption : captions) {
        station.SetText(caption.second, "Text of " + caption.second);
    }
    station.SetFlashTypes(FiveTypes());
    station.WriteJob("[CheckFlash]\r\nPR_Times=12\r\nPR_Page=3\r\nPR_Block=45\r\n");
    Operator op;
    QueueFlashCheckVisit(op, [&](SheetDriver& s) {
        EXPECT_EQ(2, s.ActiveIndex());
        EXPECT_EQ(IDD_FLASH_CHECK, s.Page().TemplateId());
        EXPECT_EQ("Flash Check", s.TabTitle(2));
        for (const auto& caption : captions) {
            EXPECT_EQ("Text of " + caption.second, s.Text(caption.first));
        }
        EXPECT_EQ(kFiveTypesSorted, s.Items(IDC_FLASH_NAME));
        EXPECT_EQ((Strings{"Read", "Write"}), s.Items(IDC_LOOP_SELECT));
        EXPECT_EQ((Strings{"CE:1", "CE:2", "CE:3", "CE:4", "CE:5", "CE:6", "CE:7", "CE:8"}),
                  s.Items(IDC_OPEN_SHORT_CE));
        EXPECT_EQ("12", s.Text(IDC_LOOP_TIMES));
        EXPECT_EQ("3", s.Text(IDC_LOOP_PAGE));
        EXPECT_EQ("45", s.Text(IDC_LOOP_BLOCK));
        for (int id : {IDC_LOOP_SELECT, IDC_LOOP_TIMES, IDC_LOOP_PAGE, IDC_LOOP_BLOCK}) {
            EXPECT_FALSE(s.IsEnabled(id)) << id;
        }
        EXPECT_TRUE(s.IsEnabled(IDC_OPEN_SHORT_CE));
        s.Click(IDCANCEL);
    });
    EXPECT_EQ(0, station.Show(op));
}

// The stored check mode decides the radio, what is enabled, which flash name
// is preselected (name check: its stored FlashIndex; otherwise the host's
// current flash) and whether the flash ID box is filled; OK writes the mode
// and the chosen record back.
TEST(FlashCheckPage, StoredModeDecidesWhatOpens) {
    const struct {
        const char* name;
        std::string job;
        int hostIndex;
        const char* radios;   // name, id, none checked
        const char* enabled;  // name list, ID box, Add/Modify
        std::string selected;
        std::string idBox;
        const char* flashIndex;  // written
        const char* mode;        // written
    } cases[] = {
        {"name check keeps its stored record",
         "[CheckFlash]\r\nCheckFlashMode=0\r\nFlashIndex=3\r\n", 1, "100", "100",
         "MLC FX29F32G08AMC", "", "3", "0"},
        {"ID check lists the IDs in their colour names",
         std::string("[CheckFlash]\r\nCheckFlashMode=1\r\nFlashIndex=3\r\n") + kTwoIds, 4, "010",
         "011", "QLC ZT29F128G08AMC",
         IdLines({{"0x98,0xDE,0x94,0x93,0x76,0x50", "BLUE"},
                  {"0xAD,0xDE,0x14,0xA7,0x42,0x4A", "GREEN"}}),
         "4", "1"},
        {"no check leaves the ID box empty",
         std::string("[CheckFlash]\r\nCheckFlashMode=2\r\n") + kTwoIds, 0, "001", "000",
         "TLC NV29F16G08AMC", "", "0", "2"},
        {"an unknown mode opens as name check", "[CheckFlash]\r\nCheckFlashMode=7\r\n", 2, "100",
         "100", "MLC QM29F64G08AMC", "", "2", "0"},
        {"a host flash beyond the table selects nothing", "", 5, "001", "000", "", "", "-1", "2"},
        {"a colour-name index outside the table shows no name",
         "[CheckFlash]\r\nCheckFlashMode=1\r\n[CheckID]\r\nNum=1\r\nFID0=0x01\r\nCOLOR0=9\r\n", 0,
         "010", "011", "TLC NV29F16G08AMC", IdLines({{"0x01", ""}}), "0", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Station station;
        station.SetFlashTypes(FiveTypes());
        station.WriteJob(c.job);
        Operator op;
        QueueFlashCheckVisit(op, [&](SheetDriver& s) {
            EXPECT_EQ(c.radios, Radios(s));
            EXPECT_EQ(c.enabled, Enabled(s));
            EXPECT_EQ(c.selected, SelectedName(s));
            EXPECT_EQ(c.idBox, s.Text(IDC_FLASH_ID_LIST));
            s.Click(IDOK);
        });
        EXPECT_EQ(1, station.Show(op, c.hostIndex));
        ExpectKeys(station.ReadJob(), {{"CheckFlash", "FlashIndex", c.flashIndex},
                                       {"CheckFlash", "CheckFlashMode", c.mode}});
    }
    // The unknown index is kept as stored.
    Station station;
    station.WriteJob(
        "[CheckFlash]\r\nCheckFlashMode=1\r\n[CheckID]\r\nNum=1\r\nFID0=0x01\r\nCOLOR0=9\r\n");
    Operator op;
    QueueVisit(op, [](SheetDriver& s) { s.Click(IDOK); });
    EXPECT_EQ(1, station.Show(op));
    EXPECT_EQ("9", Value(station.ReadJob(), "CheckID", "COLOR0"));
}

// Each radio applies its state at once; the ID box is refilled only by the
// ID check and keeps its text otherwise; OK writes the radio last chosen.
TEST(FlashCheckPage, RadiosApplyTheirStatesAndSaveTheirMode) {
    const struct {
        int last;
        const char* mode;
        const char* enabled;
    } cases[] = {
        {IDC_CHECK_FLASH_NAME, "0", "100"},
        {IDC_CHECK_FLASH_ID, "1", "011"},
        {IDC_NOT_CHECK, "2", "000"},
    };
    const std::string filled = IdLines(
        {{"0x98,0xDE,0x94,0x93,0x76,0x50", "BLUE"}, {"0xAD,0xDE,0x14,0xA7,0x42,0x4A", "GREEN"}});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        Station station;
        station.WriteJob(std::string("[CheckFlash]\r\nCheckFlashMode=2\r\n") + kTwoIds);
        Operator op;
        QueueFlashCheckVisit(op, [&](SheetDriver& s) {
            EXPECT_EQ("", s.Text(IDC_FLASH_ID_LIST));
            s.Click(IDC_CHECK_FLASH_ID);
            EXPECT_EQ("010", Radios(s));
            EXPECT_EQ("011", Enabled(s));
            EXPECT_EQ(filled, s.Text(IDC_FLASH_ID_LIST));
            s.Click(IDC_NOT_CHECK);
            EXPECT_EQ("000", Enabled(s));
            EXPECT_EQ(filled, s.Text(IDC_FLASH_ID_LIST)) << "kept while disabled";
            s.Click(IDC_CHECK_FLASH_NAME);
            EXPECT_EQ("100", Radios(s));
            EXPECT_EQ("100", Enabled(s));
            s.Click(c.last);
            EXPECT_EQ(c.enabled, Enabled(s));
            s.Click(IDOK);
        });
        EXPECT_EQ(1, station.Show(op));
        EXPECT_EQ(c.mode, Value(station.ReadJob(), "CheckFlash", "CheckFlashMode"));
    }
}

// The loop direction and chip enable lists show the stored index when it is
// one of theirs and the first item otherwise (a negative one too); the read
// labels stay until the direction is chosen. An empty loop text saves "0";
// one longer than its box allows shows as stored, never keeps the operator
// on the page, and is saved unchanged.
TEST(FlashCheckPage, LoopAndChipEnableValues) {
    const struct {
        const char* name;
        std::string checkFlash;  // the [CheckFlash] keys of the job
        int loopSel;
        int chipEnable;
        std::string pageBox;
        std::string written;  // LoopSel, OpenShortCE, PR_Times, PR_Page, PR_Block
    } cases[] = {
        {"Write selected", "LoopSel=1\r\n", 1, 0, "0", "1 0 0 0 0"},
        {"loop direction out of range", "LoopSel=5\r\n", 0, 0, "0", "0 0 0 0 0"},
        {"CE:8", "OpenShortCE=7\r\n", 0, 7, "0", "0 7 0 0 0"},
        {"chip enable 8", "OpenShortCE=8\r\n", 0, 0, "0", "0 0 0 0 0"},
        {"chip enable -1", "OpenShortCE=-1\r\nLoopSel=-1\r\n", 0, 0, "0", "0 0 0 0 0"},
        {"empty loop page", "PR_Page=\r\nPR_Times=9\r\n", 0, 0, "", "0 0 9 0 0"},
        {"texts longer than their boxes",
         "PR_Times=1234567\r\nPR_Page=12345\r\nPR_Block=123456\r\n", 0, 0, "12345",
         "0 0 1234567 12345 123456"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Station station;
        station.WriteJob("[CheckFlash]\r\n" + c.checkFlash);
        Operator op;
        QueueFlashCheckVisit(op, [&](SheetDriver& s) {
            EXPECT_EQ(c.loopSel, s.CurSel(IDC_LOOP_SELECT));
            EXPECT_EQ(c.chipEnable, s.CurSel(IDC_OPEN_SHORT_CE));
            EXPECT_EQ(c.pageBox, s.Text(IDC_LOOP_PAGE));
            EXPECT_EQ(station.Text("IDS_SETUP_UI_POLLING_READ_TIMES"),
                      s.Text(IDC_LOOP_TIMES_LABEL));
            // Leaving the page and coming back is never refused.
            s.PickTab(0);
            EXPECT_EQ(0, s.ActiveIndex());
            s.PickTab(kFlashCheckTab);
            EXPECT_EQ(c.pageBox, s.Text(IDC_LOOP_PAGE));
            s.Click(IDOK);
        });
        EXPECT_EQ(1, station.Show(op));
        const std::string job = station.ReadJob();
        std::string written;
        for (const char* key : {"LoopSel", "OpenShortCE", "PR_Times", "PR_Page", "PR_Block"}) {
            written += (written.empty() ? "" : " ") + Value(job, "CheckFlash", key);
        }
        EXPECT_EQ(c.written, written);
    }
}

// A chip enable chosen is saved as its index. The loop direction relabels the
// three read-loop labels; the page keeps it disabled, so the test enables it
// to choose as a station's own message would.
TEST(FlashCheckPage, ChipEnableChoiceAndLoopDirectionLabels) {
    Station station;
    Operator op;
    QueueFlashCheckVisit(op, [&](SheetDriver& s) {
        s.Select(IDC_OPEN_SHORT_CE, "CE:3");
        fw::api::EnableWindow(s.Item(IDC_LOOP_SELECT), TRUE);
        s.Select(IDC_LOOP_SELECT, "Write");
        EXPECT_EQ(station.Text("IDS_SETUP_UI_POLLING_WRITE_TIMES"), s.Text(IDC_LOOP_TIMES_LABEL));
        EXPECT_EQ(station.Text("IDS_SETUP_UI_POLLING_PAGE_WRITE"), s.Text(IDC_LOOP_PAGE_LABEL));
        EXPECT_EQ(station.Text("IDS_SETUP_UI_POLLING_BLOCK_WRITE"), s.Text(IDC_LOOP_BLOCK_LABEL));
        s.Select(IDC_LOOP_SELECT, "Read");
        EXPECT_EQ(station.Text("IDS_SETUP_UI_POLLING_READ_TIMES"), s.Text(IDC_LOOP_TIMES_LABEL));
        EXPECT_EQ(station.Text("IDS_SETUP_UI_POLLING_PAGE"), s.Text(IDC_LOOP_PAGE_LABEL));
        EXPECT_EQ(station.Text("IDS_SETUP_UI_POLLING_BLOCK"), s.Text(IDC_LOOP_BLOCK_LABEL));
        s.Select(IDC_LOOP_SELECT, "Write");
        s.Click(IDOK);
    });
    EXPECT_EQ(1, station.Show(op));
    ExpectKeys(station.ReadJob(),
               {{"CheckFlash", "OpenShortCE", "2"}, {"CheckFlash", "LoopSel", "1"}});
}

// The chosen item's own record gives the flash name; the first record in
// table order with exactly that name is saved. A first text with a blank no
// longer loses the record.
TEST(FlashCheckPage, ChosenFlashNameSavesTheFirstRecordOfItsName) {
    const struct {
        const char* name;
        std::vector<std::pair<std::string, std::string>> types;
        std::string item;
        const char* flashIndex;
    } cases[] = {
        {"a blank in the first text", {{"SLC", "FX1"}, {"MLC 2CE", "FX2"}}, "MLC 2CE FX2", "1"},
        {"two records of one name",
         {{"SLC", "FX1"}, {"TLC", "FX2"}, {"MLC", "FX2"}},
         "MLC FX2",
         "1"},
        {"names differing in case", {{"SLC", "fx3"}, {"MLC", "FX3"}}, "MLC FX3", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Station station;
        station.SetFlashTypes(c.types);
        station.WriteJob("[CheckFlash]\r\nCheckFlashMode=2\r\n");
        Operator op;
        QueueFlashCheckVisit(op, [&](SheetDriver& s) {
            s.Click(IDC_CHECK_FLASH_NAME);
            s.Select(IDC_FLASH_NAME, c.item);
            s.Click(IDOK);
        });
        EXPECT_EQ(1, station.Show(op, 99));
        EXPECT_EQ(c.flashIndex, Value(station.ReadJob(), "CheckFlash", "FlashIndex"));
    }
}

// OK at once saves all three pages: a job holding every key of the page gets
// its sections back as they were, an empty job gets every key.
TEST(FlashCheckPage, OkAtOnceWritesEveryKey) {
    const std::string fullCheckFlash =
        "[CheckFlash]\r\nFlashIndex=1\r\nLoopSel=1\r\nOpenShortCE=5\r\nCheckFlashMode=1\r\n"
        "CheckLEDShort=0\r\nCheckUID=1\r\nWarmUp=1\r\nPR_Times=100\r\nPR_Page=64\r\n"
        "PR_Block=8\r\n";
    const struct {
        const char* name;
        std::string job;
        std::string expected;  // [CheckFlash] and [CheckID] after the visit
    } cases[] = {
        {"every key present", fullCheckFlash + kTwoIds, fullCheckFlash + kTwoIds},
        {"empty job", "",
         "[CheckFlash]\r\nFlashIndex=1\r\nLoopSel=0\r\nOpenShortCE=0\r\nCheckFlashMode=2\r\n"
         "CheckLEDShort=1\r\nCheckUID=0\r\nWarmUp=0\r\nPR_Times=0\r\nPR_Page=0\r\nPR_Block=0\r\n"
         "[CheckID]\r\nNum=0\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Station station;
        station.WriteJob(c.job);
        StationWindow transfer(SETUP_STATION_CLASS, SETUP_STATION_TITLE);
        Operator op;
        QueueVisit(op, [](SheetDriver& s) { s.Click(IDOK); });
        EXPECT_EQ(1, station.Show(op, 1));
        const std::string job = station.ReadJob();
        EXPECT_EQ(c.expected, Section(job, "CheckFlash") + Section(job, "CheckID"));
        for (const char* section : {"Setup", "Flash", "Sorting", "BIN"}) {
            EXPECT_NE("", Section(job, section)) << section;
        }
        EXPECT_EQ(std::vector<UINT>{SETUP_STATION_MESSAGE}, transfer.Received());
    }
}

// Name check without a flash name: OK shows the page's message, the sheet
// stays open and the station is not told; the mode and bin pages and the
// page's [CheckFlash] keys are written, [CheckID] is not. Choosing a name and
// pressing OK again saves everything and closes the sheet.
TEST(FlashCheckPage, NameCheckWithoutANameIsRefusedUntilOneIsChosen) {
    Station station;
    station.WriteJob("[Setup]\r\nCTLType=1\r\n[CheckFlash]\r\nCheckFlashMode=2\r\nWarmUp=1\r\n");
    StationWindow transfer(SETUP_STATION_CLASS, SETUP_STATION_TITLE);
    Operator op;
    QueueFlashCheckVisit(op, [&](SheetDriver& s) {
        s.Click(IDC_CHECK_FLASH_NAME);
        EXPECT_EQ(-1, s.CurSel(IDC_FLASH_NAME));
        s.Uncheck(IDC_WARMUP);
        op.OnMessageBox([&](MessageBoxSeen& m) {
            EXPECT_EQ(station.Text("IDS_ERR_SEL_FLASH_NAME"), m.text);
            EXPECT_EQ(static_cast<UINT>(MB_OK), m.Buttons());
            EXPECT_EQ(0u, m.Icon());
            return IDOK;
        });
        s.Click(IDOK);
        EXPECT_TRUE(s.IsOpen());
        EXPECT_TRUE(transfer.Received().empty());
        const std::string refused = station.ReadJob();
        EXPECT_EQ(
            "[CheckFlash]\r\nCheckFlashMode=0\r\nWarmUp=0\r\nFlashIndex=-1\r\nLoopSel=0\r\n"
            "OpenShortCE=0\r\nCheckLEDShort=1\r\nCheckUID=0\r\nPR_Times=0\r\nPR_Page=0\r\n"
            "PR_Block=0\r\n",
            Section(refused, "CheckFlash"));
        EXPECT_EQ("", Section(refused, "CheckID"));
        EXPECT_EQ("1", Value(refused, "Setup", "CTLType"));
        EXPECT_NE("", Section(refused, "BIN"));

        s.Select(IDC_FLASH_NAME, "MLC FX29F64G08AMC");
        s.Click(IDOK);
    });
    EXPECT_EQ(1, station.Show(op, 7));
    EXPECT_EQ(std::vector<UINT>{SETUP_STATION_MESSAGE}, transfer.Received());
    const std::string job = station.ReadJob();
    EXPECT_EQ("1", Value(job, "CheckFlash", "FlashIndex"));
    EXPECT_EQ("[CheckID]\r\nNum=0\r\n", Section(job, "CheckID"));
}

// The name is required only with the name check: a mode page that asks for a
// flash name does not make the ID check or no check refuse. (The stored
// record is beyond the table, so no name is selected.)
TEST(FlashCheckPage, OtherModesNeedNoName) {
    for (int radio : {IDC_CHECK_FLASH_ID, IDC_NOT_CHECK}) {
        SCOPED_TRACE(radio);
        Station station;
        station.WriteJob(
            "[Flash]\r\nUnAutoCheck=1\r\n[CheckFlash]\r\nCheckFlashMode=0\r\n"
            "FlashIndex=9\r\n");
        Operator op;
        QueueFlashCheckVisit(op, [&](SheetDriver& s) {
            s.Click(radio);
            s.Click(IDOK);
        });
        EXPECT_EQ(1, station.Show(op, 9));
        const std::string job = station.ReadJob();
        EXPECT_EQ("-1", Value(job, "CheckFlash", "FlashIndex"));
        EXPECT_EQ("[CheckID]\r\nNum=0\r\n", Section(job, "CheckID"));
    }
}
