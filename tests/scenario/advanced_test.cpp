// The advanced settings dialog, opened from the mode page's advanced button:
// what it shows for what the job file holds, what its own OK writes (and in
// which order), the hub port styles with the hub profile reset and the hub
// VID/PID list, and what Cancel, Escape and Enter do. The same scenarios run
// natively and, under Wine, against the real Setup.dll.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "driver/operator.h"
#include "driver/station.h"
#include "resource.h"
#include "scenario/sheet_support.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#else
#include <windows.h>
#endif

using sheettest::Caption;
using sheettest::ExpectCaptions;
using sheettest::ExpectKeys;
using sheettest::InEnglishAndChinese;
using sheettest::Section;
using sheettest::Value;

namespace {

// The mode page of an open sheet.
class ModePage {
public:
    ModePage(Operator& op, SheetDriver& sheet) : m_op(op), m_sheet(sheet) {}

    // Clicks the advanced button; `handler` works on the dialog that opens.
    void OpenAdvanced(Operator::DialogHandler handler) {
        m_op.OnDialog(IDD_ADVANCED, std::move(handler));
        m_sheet.Click(IDC_ADVANCED);
    }

private:
    Operator& m_op;
    SheetDriver& m_sheet;
};

// One visit: the password (none is stored) accepted, `body` on the mode
// page, then the sheet left with `sheetButton` (Cancel by default).
int Visit(Station& station, Operator& op, const std::function<void(ModePage&)>& body,
          int sheetButton = IDCANCEL, char language = SETUP_LANGUAGE_ENU) {
    op.OnDialog(IDD_PASSWORD, [](DialogDriver& d) { d.Click(IDOK); });
    op.OnSheet([&](SheetDriver& sheet) {
        EXPECT_EQ(IDD_MODE, sheet.Page().TemplateId());
        ModePage page(op, sheet);
        body(page);
        sheet.Click(sheetButton);
    });
    return station.Show(op, 0, language);
}

// A visit that opens the dialog once.
void VisitOnce(Station& station, Operator::DialogHandler handler) {
    Operator op;
    Visit(station, op, [&](ModePage& page) { page.OpenAdvanced(std::move(handler)); });
}

// text with the value of key replaced (the key's line must be there).
std::string With(std::string text, const std::string& key, const std::string& value) {
    const size_t begin = text.find("\r\n" + key + "=") + 2 + key.size() + 1;
    return text.replace(begin, text.find("\r\n", begin) - begin, value);
}

// A language text as a message shows it: the file's \n escapes resolved.
std::string Shown(std::string text) {
    for (size_t at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at + 1)) {
        text.replace(at, 2, "\n");
    }
    return text;
}

// The item a list shows selected, "(none)" when nothing is.
std::string Selected(const DialogDriver& d, int id) {
    const int sel = d.CurSel(id);
    return sel < 0 ? "(none)" : d.Items(id).at(static_cast<size_t>(sel));
}

void SetReadOnly(const std::string& path, bool bReadOnly) {
#if defined(_WIN32)
    SetFileAttributesA(path.c_str(), bReadOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
#else
    chmod(path.c_str(), bReadOnly ? 0444 : 0644);
#endif
}

// A message box expected from the advanced dialog.
Operator::MessageBoxHandler ExpectBox(const std::string& text, UINT type, int answer = IDOK) {
    return [text, type, answer](MessageBoxSeen& m) {
        EXPECT_EQ(text, m.text);
        EXPECT_EQ("Setup", m.caption);
        EXPECT_EQ(type, m.type);
        EXPECT_EQ(IDD_ADVANCED, m.ownerTemplateId);
        return answer;
    };
}

const char kProfileQuestion[] =
    "Do you want to delete \"HubProfile.cfg\" file and Resetting it again?";
const char kInsertHub[] = "Please insert order fix hub!";

// What OK writes when the operator changed nothing in a job without keys.
const char kDefaultAdvanced[] =
    "[Advanced]\r\n"
    "HubPort=0\r\n"
    "FactoryDriver=0\r\n"
    "CheckDDR=0\r\n"
    "SortingBlockNum=0\r\n"
    "CheckLevel=0\r\n"
    "FixedCapability=1\r\n"
    "AutoMPTimer=1\r\n"
    "StartDelay=0\r\n"
    "SpecialSortingClassCheck=0\r\n"
    "CheckDataRetain=0\r\n"
    "SetSum19nmFeature=0\r\n"
    "UELC=0\r\n"
    "CloseReadRetry=0\r\n"
    "CheckFixedCap=0\r\n"
    "MinCapLimit=0\r\n"
    "MinCap=0\r\n"
    "CheckFlashPin=0\r\n"
    "ReadSandiskFlashID=0\r\n"
    "CheckTog=0\r\n"
    "ID00Err=0\r\n"
    "GPI=0\r\n"
    "CacheProgram=0\r\n"
    "MultiPlane=0\r\n";

}  // namespace

// Captions in each language (three keep their template captions), every
// list's items, the defaults of a job without keys, the VID/PID edit hidden
// and the two dependent controls disabled. Cancel writes nothing.
TEST(AdvancedDialog, OpensWithCaptionsItemsAndDefaults) {
    const Caption captions[] = {
        {IDC_EXTRA_GROUP, "IDS_SETUP_UI_EXTRA_SET"},
        {IDC_HUB_PORT_STYLE_LABEL, "IDS_SETUP_UI_HUB_PORT_STYLE"},
        {IDC_FACTORY_DRIVER, "IDS_SETUP_UI_FACTORY_DRIVER"},
        {IDC_CHECK_DDR, "IDS_SETUP_UI_CHECK_DDR"},
        {IDC_SPECIAL_SORTING_CLASS_CHECK, "IDS_SETUP_UI_SPECIAL_SORTING_CLASS_CHECK"},
        {IDC_DATA_RETAIN_CHECK, "IDS_SETUP_UI_DATA_RETAIN_CHECK"},
        {IDC_SUM19NM_FEATURE, "IDC_SET_SUM19NM_FEATURE_CHECK"},
        {IDC_MIN_CAP_LIMIT, "IDS_SETUP_UI_MIN_CAP_CHECK"},
        {IDC_FIXED_CAP_CHECK, "IDS_SETUP_UI_FIXED_CAP_CHECK"},
        {IDC_UI_TYPE_LABEL, "IDS_SETUP_UI_USER_INTERFACE_TYPE"},
        {IDC_SORTING_BLOCK_NUM_LABEL, "IDS_SETUP_UI_CHECK_BLK_NUM"},
        {IDC_AUTO_MP_TIMER_LABEL, "IDS_SETUP_UI_AUTO_MP_TIMER"},
        {IDC_START_DELAY_LABEL, "IDS_SETUP_UI_START_DELAY_TIMER"},
        {IDC_CHECK_LEVEL_LABEL, "IDS_SETUP_UI_CHECK_LEVEL_CHECK"},
        {IDC_CHECK_FLASH_PIN_LABEL, "IDS_SETUP_UI_CHECK_DATA_PIN_CHECK"},
        {IDC_ADVANCED_OK, "IDS_SETUP_UI_OK"},
        {IDC_ADVANCED_CANCEL, "IDS_SETUP_UI_CANCEL"},
    };
    InEnglishAndChinese([&](char language) {
        Station station;
        const std::string job = "[Setup]\r\nCTLType=1\r\n";
        station.WriteJob(job);
        const std::string def = station.Text("IDS_SETUP_UI_DEFAULT", language);
        Operator op;
        Visit(
            station, op,
            [&](ModePage& page) {
                page.OpenAdvanced([&](DialogDriver& d) {
                    EXPECT_EQ(station.Text("IDS_SETUP_UI_ADVANCED", language), d.Caption());
                    ExpectCaptions(d, captions, station, language);
                    EXPECT_EQ("Unerase Level Command", d.Text(IDC_UNERASE_LEVEL_COMMAND));
                    EXPECT_EQ("Disable Read Retry", d.Text(IDC_CLOSE_READ_RETRY));
                    EXPECT_EQ("Sandisk ID", d.Text(IDC_SANDISK_ID_LABEL));

                    const std::vector<std::pair<int, std::vector<std::string>>> lists = {
                        {IDC_HUB_PORT_STYLE,
                         {def, station.Text("IDS_SETUP_UI_FIX_INSERT_INDEX", language),
                          station.Text("IDS_SETUP_UI_UNFIX_INSERT_INDEX", language),
                          station.Text("IDS_SETUP_UI_FROM_PROFILE_INDEX", language),
                          station.Text("IDS_SETUP_UI_HUB_VIDPID_INDEX", language)}},
                        {IDC_SORTING_BLOCK_NUM, {def, "8", "12", "16", "32", "64", "128"}},
                        {IDC_AUTO_MP_TIMER, {def, "4s", "6s", "8s", "10s"}},
                        {IDC_START_DELAY, {def, "0.5s", "1.0s", "1.5s", "2.0s"}},
                        {IDC_CHECK_LEVEL, {def, "4", "8", "16", "32", "64"}},
                        {IDC_FIXED_CAPABILITY, {"961", "481", "241", "121"}},
                        {IDC_CHECK_FLASH_PIN, {"OFF", "Normal", "D3eD3"}},
                        {IDC_SANDISK_ID, {"OFF", "MLC", "TLC", "Auto"}},
                        {IDC_CHECK_TOGGLE, {def, "ON", "OFF"}},
                        {IDC_UI_TYPE,
                         {"8 Ports(Default)", "16 Ports", "16 Ports Wide", "16 Ports Mini",
                          "20 Ports Mini", "32 Ports"}},
                        {IDC_ID00_ERROR, {"00", "FF", "UnKnow"}},
                        {IDC_GPI, {def, "A2", "DA", "SetFeature", "NULL"}},
                    };
                    for (const auto& list : lists) {
                        EXPECT_EQ(list.second, d.Items(list.first)) << list.first;
                        const int expected = list.first == IDC_FIXED_CAPABILITY ? 1 : 0;
                        EXPECT_EQ(expected, d.CurSel(list.first)) << list.first;
                    }
                    for (int id :
                         {IDC_FACTORY_DRIVER, IDC_CHECK_DDR, IDC_SPECIAL_SORTING_CLASS_CHECK,
                          IDC_DATA_RETAIN_CHECK, IDC_SUM19NM_FEATURE, IDC_UNERASE_LEVEL_COMMAND,
                          IDC_CLOSE_READ_RETRY, IDC_MIN_CAP_LIMIT, IDC_FIXED_CAP_CHECK,
                          IDC_CACHE_PROGRAM, IDC_MULTI_PLANE}) {
                        EXPECT_FALSE(d.IsChecked(id)) << id;
                    }
                    EXPECT_EQ("0", d.Text(IDC_MIN_CAP));
                    for (int id : {IDC_MIN_CAP, IDC_FIXED_CAPABILITY}) {
                        EXPECT_FALSE(d.IsEnabled(id)) << id;
                    }
                    for (int id : {IDC_HUB_VID_PID, IDC_HUB_VID_PID_LABEL}) {
                        EXPECT_FALSE(d.IsVisible(id)) << id;
                    }

                    // The two dependent controls follow their check boxes.
                    d.Check(IDC_FIXED_CAP_CHECK);
                    EXPECT_TRUE(d.IsEnabled(IDC_FIXED_CAPABILITY));
                    d.Check(IDC_MIN_CAP_LIMIT);
                    EXPECT_TRUE(d.IsEnabled(IDC_MIN_CAP));
                    d.Uncheck(IDC_FIXED_CAP_CHECK);
                    EXPECT_FALSE(d.IsEnabled(IDC_FIXED_CAPABILITY));
                    d.Uncheck(IDC_MIN_CAP_LIMIT);
                    EXPECT_FALSE(d.IsEnabled(IDC_MIN_CAP));

                    d.Select(IDC_GPI, 3);
                    d.Check(IDC_MULTI_PLANE);
                    d.Click(IDC_ADVANCED_CANCEL);
                });
            },
            IDCANCEL, static_cast<char>(language));
        EXPECT_EQ(job + "[PASSWORD]\r\nREMEMBER_PWD=0\r\n", station.ReadJob())
            << "Cancel writes nothing";
    });
}

namespace {

// What a control shows for a stored value, and what OK at once writes back.
struct Expected {
    int id;               // the control
    const char* shown;    // a list's selected item ("(none)"), or a check box's "checked"
                          // / "unchecked", or an edit's text
    const char* key;      // the key written back ([Setup] UIType, else [Advanced])
    const char* written;  // its value after OK
};

bool IsList(int id) {
    for (int list : {IDC_HUB_PORT_STYLE, IDC_FIXED_CAPABILITY, IDC_CHECK_LEVEL,
                     IDC_SORTING_BLOCK_NUM, IDC_AUTO_MP_TIMER, IDC_START_DELAY, IDC_CHECK_FLASH_PIN,
                     IDC_SANDISK_ID, IDC_CHECK_TOGGLE, IDC_UI_TYPE, IDC_ID00_ERROR, IDC_GPI}) {
        if (id == list) {
            return true;
        }
    }
    return false;
}

// Opens the dialog once for each job file text and checks what it shows and
// what OK at once writes back.
void CheckShownAndSaved(const std::vector<std::pair<std::string, std::vector<Expected>>>& jobs) {
    Station station;
    Operator op;
    Visit(station, op, [&](ModePage& page) {
        for (const auto& job : jobs) {
            SCOPED_TRACE(job.first);
            station.WriteJob(job.first);
            page.OpenAdvanced([&](DialogDriver& d) {
                for (const Expected& s : job.second) {
                    std::string seen = d.Text(s.id);
                    if (IsList(s.id)) {
                        seen = Selected(d, s.id);
                    } else if (s.id != IDC_MIN_CAP) {
                        seen = d.IsChecked(s.id) ? "checked" : "unchecked";
                    }
                    EXPECT_EQ(s.shown, seen) << s.key;
                }
                d.Click(IDC_ADVANCED_OK);
            });
            const std::string saved = station.ReadJob();
            for (const Expected& s : job.second) {
                const bool setup = std::string(s.key) == "UIType";
                EXPECT_EQ(s.written, Value(saved, setup ? "Setup" : "Advanced", s.key)) << s.key;
            }
        }
    });
}

}  // namespace

// Lists: defaults for missing keys, the low byte of every number, the limits
// of each key, the Ramos lists, and no selection (saved as 0) where a value
// is none of the list's items.
TEST(AdvancedDialog, StoredListValuesShownAndSavedBack) {
    CheckShownAndSaved({
        {"",
         {{IDC_HUB_PORT_STYLE, "Default", "HubPort", "0"},
          {IDC_AUTO_MP_TIMER, "Default", "AutoMPTimer", "1"},
          {IDC_FIXED_CAPABILITY, "481", "FixedCapability", "1"},
          {IDC_UI_TYPE, "8 Ports(Default)", "UIType", "0"}}},
        {"[Advanced]\r\nHubPort=2\r\nSortingBlockNum=6\r\nAutoMPTimer=3\r\nStartDelay=4\r\n"
         "CheckLevel=5\r\nFixedCapability=0\r\nCheckFlashPin=2\r\nReadSandiskFlashID=3\r\n"
         "CheckTog=2\r\nID00Err=2\r\nGPI=4\r\n[Setup]\r\nUIType=5\r\n",
         {{IDC_HUB_PORT_STYLE, "Insertion Order", "HubPort", "2"},
          {IDC_SORTING_BLOCK_NUM, "128", "SortingBlockNum", "6"},
          {IDC_AUTO_MP_TIMER, "6s", "AutoMPTimer", "3"},
          {IDC_START_DELAY, "2.0s", "StartDelay", "4"},
          {IDC_CHECK_LEVEL, "64", "CheckLevel", "5"},
          {IDC_FIXED_CAPABILITY, "961", "FixedCapability", "0"},
          {IDC_CHECK_FLASH_PIN, "D3eD3", "CheckFlashPin", "2"},
          {IDC_SANDISK_ID, "Auto", "ReadSandiskFlashID", "3"},
          {IDC_CHECK_TOGGLE, "OFF", "CheckTog", "2"},
          {IDC_ID00_ERROR, "UnKnow", "ID00Err", "2"},
          {IDC_GPI, "NULL", "GPI", "4"},
          {IDC_UI_TYPE, "32 Ports", "UIType", "5"}}},
        // Beyond the limits, or none of the items.
        {"[Advanced]\r\nHubPort=5\r\nSortingBlockNum=7\r\nAutoMPTimer=9\r\nStartDelay=7\r\n"
         "CheckLevel=6\r\nFixedCapability=4\r\nCheckFlashPin=3\r\nReadSandiskFlashID=4\r\n"
         "CheckTog=-1\r\nID00Err=3\r\nGPI=5\r\n[Setup]\r\nUIType=6\r\n",
         {{IDC_HUB_PORT_STYLE, "Default", "HubPort", "0"},
          {IDC_SORTING_BLOCK_NUM, "Default", "SortingBlockNum", "0"},
          {IDC_AUTO_MP_TIMER, "10s", "AutoMPTimer", "5"},
          {IDC_START_DELAY, "(none)", "StartDelay", "0"},
          {IDC_CHECK_LEVEL, "(none)", "CheckLevel", "0"},
          {IDC_FIXED_CAPABILITY, "481", "FixedCapability", "1"},
          {IDC_CHECK_FLASH_PIN, "(none)", "CheckFlashPin", "0"},
          {IDC_SANDISK_ID, "(none)", "ReadSandiskFlashID", "0"},
          {IDC_CHECK_TOGGLE, "(none)", "CheckTog", "0"},
          {IDC_ID00_ERROR, "(none)", "ID00Err", "0"},
          {IDC_GPI, "Default", "GPI", "0"},
          {IDC_UI_TYPE, "(none)", "UIType", "0"}}},
        // The low byte counts (ForRamos 256 is off).
        {"[Advanced]\r\nHubPort=258\r\nAutoMPTimer=256\r\nForRamos=256\r\nSortingBlockNum=2\r\n"
         "CheckLevel=7\r\nFixedCapability=259\r\n[Setup]\r\nUIType=261\r\n",
         {{IDC_HUB_PORT_STYLE, "Insertion Order", "HubPort", "2"},
          {IDC_AUTO_MP_TIMER, "Default", "AutoMPTimer", "1"},
          {IDC_SORTING_BLOCK_NUM, "12", "SortingBlockNum", "2"},
          {IDC_CHECK_LEVEL, "Default", "CheckLevel", "0"},
          {IDC_FIXED_CAPABILITY, "121", "FixedCapability", "3"},
          {IDC_UI_TYPE, "32 Ports", "UIType", "5"}}},
        {"[Advanced]\r\nHubPort=-1\r\nAutoMPTimer=0\r\nForRamos=1\r\nSortingBlockNum=2\r\n"
         "CheckLevel=0\r\n",
         {{IDC_HUB_PORT_STYLE, "Default", "HubPort", "0"},
          {IDC_AUTO_MP_TIMER, "Default", "AutoMPTimer", "1"},
          {IDC_SORTING_BLOCK_NUM, "32", "SortingBlockNum", "2"},
          {IDC_CHECK_LEVEL, "8", "CheckLevel", "0"}}},
        {"[Advanced]\r\nForRamos=1\r\nSortingBlockNum=5\r\nCheckLevel=4\r\n",
         {{IDC_SORTING_BLOCK_NUM, "8", "SortingBlockNum", "0"},
          {IDC_CHECK_LEVEL, "(none)", "CheckLevel", "0"}}},
        {"[Advanced]\r\nForRamos=1\r\nSortingBlockNum=4\r\nCheckLevel=3\r\n",
         {{IDC_SORTING_BLOCK_NUM, "128", "SortingBlockNum", "4"},
          {IDC_CHECK_LEVEL, "64", "CheckLevel", "3"}}},
    });
}

// Flags test the low byte of what is stored and are saved as 1 or 0; MinCap
// keeps its whole signed value and is saved as the edit's text; the fixed
// capability list and the minimum capacity edit follow their flags.
TEST(AdvancedDialog, StoredFlagsAndMinimumCapacity) {
    CheckShownAndSaved({
        {"[Advanced]\r\nCheckDDR=1\r\nMinCap=300\r\n",
         {{IDC_CHECK_DDR, "checked", "CheckDDR", "1"},
          {IDC_FACTORY_DRIVER, "unchecked", "FactoryDriver", "0"},
          {IDC_FIXED_CAP_CHECK, "unchecked", "CheckFixedCap", "0"},
          {IDC_MIN_CAP_LIMIT, "unchecked", "MinCapLimit", "0"},
          {IDC_MIN_CAP, "300", "MinCap", "300"}}},
        {"[Advanced]\r\nCheckDDR=256\r\nFactoryDriver=-1\r\nSpecialSortingClassCheck=2\r\n"
         "CheckDataRetain=1\r\nSetSum19nmFeature=512\r\nUELC=1\r\nCloseReadRetry=1\r\n"
         "CacheProgram=1\r\nMultiPlane=3\r\nCheckFixedCap=1\r\nMinCapLimit=1\r\nMinCap=-5\r\n",
         {{IDC_CHECK_DDR, "unchecked", "CheckDDR", "0"},
          {IDC_FACTORY_DRIVER, "checked", "FactoryDriver", "1"},
          {IDC_SPECIAL_SORTING_CLASS_CHECK, "checked", "SpecialSortingClassCheck", "1"},
          {IDC_DATA_RETAIN_CHECK, "checked", "CheckDataRetain", "1"},
          {IDC_SUM19NM_FEATURE, "unchecked", "SetSum19nmFeature", "0"},
          {IDC_UNERASE_LEVEL_COMMAND, "checked", "UELC", "1"},
          {IDC_CLOSE_READ_RETRY, "checked", "CloseReadRetry", "1"},
          {IDC_CACHE_PROGRAM, "checked", "CacheProgram", "1"},
          {IDC_MULTI_PLANE, "checked", "MultiPlane", "1"},
          {IDC_FIXED_CAP_CHECK, "checked", "CheckFixedCap", "1"},
          {IDC_MIN_CAP_LIMIT, "checked", "MinCapLimit", "1"},
          {IDC_MIN_CAP, "-5", "MinCap", "-5"}}},
        {"[Advanced]\r\nMinCap=4294967297\r\n", {{IDC_MIN_CAP, "1", "MinCap", "1"}}},
        {"[Advanced]\r\nMinCap=abc\r\n", {{IDC_MIN_CAP, "0", "MinCap", "0"}}},
    });

    // The dependent controls' enabled state on opening.
    Station station;
    Operator op;
    Visit(station, op, [&](ModePage& page) {
        for (const char* flags : {"", "CheckFixedCap=1\r\n", "MinCapLimit=1\r\n",
                                  "CheckFixedCap=256\r\nMinCapLimit=2\r\n"}) {
            SCOPED_TRACE(flags);
            station.WriteJob(std::string("[Advanced]\r\n") + flags);
            const std::string text(flags);
            page.OpenAdvanced([&](DialogDriver& d) {
                EXPECT_EQ(text.find("CheckFixedCap=1") != std::string::npos,
                          d.IsEnabled(IDC_FIXED_CAPABILITY));
                EXPECT_EQ(text.find("MinCapLimit") != std::string::npos, d.IsEnabled(IDC_MIN_CAP));
                d.Click(IDC_ADVANCED_CANCEL);
            });
        }
    });
}

// OK at once writes every key, in its order, though nothing was changed;
// the sheet's Cancel afterwards does not undo it.
TEST(AdvancedDialog, OkAtOnceWritesEveryKeyInOrder) {
    Station station;
    station.WriteJob("[Setup]\r\nCTLType=1\r\n");
    VisitOnce(station, [](DialogDriver& d) { d.Click(IDC_ADVANCED_OK); });
    const std::string job = station.ReadJob();
    EXPECT_EQ(kDefaultAdvanced, Section(job, "Advanced"));
    EXPECT_EQ("[Setup]\r\nCTLType=1\r\nUIType=0\r\n", Section(job, "Setup"));
}

// The operator's choices, written in the dialog's order after the keys the
// file already had (replaced where they stand); ForRamos is never written,
// and a style other than 4 leaves the VID/PID keys alone. A disabled fixed
// capability list still saves its selection.
TEST(AdvancedDialog, ChoicesSavedInOrder) {
    Station station;
    station.WriteJob(
        "[Advanced]\r\nMultiPlane=1\r\nForRamos=1\r\nVID_PID=1234ABCD, x\r\n"
        "VID_PID_RE=1234ABCD\r\nOther=7\r\n");
    VisitOnce(station, [](DialogDriver& d) {
        d.Select(IDC_HUB_PORT_STYLE, 1);
        d.Check(IDC_FACTORY_DRIVER);
        d.Check(IDC_CHECK_DDR);
        d.Select(IDC_SORTING_BLOCK_NUM, "128");
        d.Select(IDC_CHECK_LEVEL, "32");
        d.Check(IDC_FIXED_CAP_CHECK);
        d.Select(IDC_FIXED_CAPABILITY, "121");
        d.Uncheck(IDC_FIXED_CAP_CHECK);
        d.Select(IDC_AUTO_MP_TIMER, "8s");
        d.Select(IDC_START_DELAY, "1.5s");
        d.Check(IDC_SPECIAL_SORTING_CLASS_CHECK);
        d.Check(IDC_DATA_RETAIN_CHECK);
        d.Check(IDC_SUM19NM_FEATURE);
        d.Check(IDC_UNERASE_LEVEL_COMMAND);
        d.Check(IDC_CLOSE_READ_RETRY);
        d.Check(IDC_MIN_CAP_LIMIT);
        d.Type(IDC_MIN_CAP, "7600");
        d.Select(IDC_CHECK_FLASH_PIN, "Normal");
        d.Select(IDC_SANDISK_ID, "TLC");
        d.Select(IDC_CHECK_TOGGLE, "ON");
        d.Select(IDC_ID00_ERROR, "FF");
        d.Select(IDC_UI_TYPE, "20 Ports Mini");
        d.Select(IDC_GPI, "SetFeature");
        d.Check(IDC_CACHE_PROGRAM);
        d.Uncheck(IDC_MULTI_PLANE);
        d.Click(IDC_ADVANCED_OK);
    });
    const std::string job = station.ReadJob();
    EXPECT_EQ(
        "[Advanced]\r\n"
        "MultiPlane=0\r\n"
        "ForRamos=1\r\n"
        "VID_PID=1234ABCD, x\r\n"
        "VID_PID_RE=1234ABCD\r\n"
        "Other=7\r\n"
        "HubPort=1\r\n"
        "FactoryDriver=1\r\n"
        "CheckDDR=1\r\n"
        "SortingBlockNum=4\r\n"  // ForRamos lists: 8, 16, 32, 64, 128
        "CheckLevel=2\r\n"       // 8, 16, 32, 64
        "FixedCapability=3\r\n"
        "AutoMPTimer=4\r\n"
        "StartDelay=3\r\n"
        "SpecialSortingClassCheck=1\r\n"
        "CheckDataRetain=1\r\n"
        "SetSum19nmFeature=1\r\n"
        "UELC=1\r\n"
        "CloseReadRetry=1\r\n"
        "CheckFixedCap=0\r\n"
        "MinCapLimit=1\r\n"
        "MinCap=7600\r\n"
        "CheckFlashPin=1\r\n"
        "ReadSandiskFlashID=2\r\n"
        "CheckTog=1\r\n"
        "ID00Err=1\r\n"
        "GPI=3\r\n"
        "CacheProgram=1\r\n",
        Section(job, "Advanced"));
    EXPECT_EQ("4", Value(job, "Setup", "UIType"));
}

// Cancel and Escape write nothing whatever was changed; Enter saves as the
// dialog's OK button does and closes it.
TEST(AdvancedDialog, CancelEscapeAndEnter) {
    Station station;
    station.WriteJob("[Advanced]\r\nGPI=2\r\n");
    Operator op;
    Visit(station, op, [&](ModePage& page) {
        const std::string job = station.ReadJob();
        page.OpenAdvanced([](DialogDriver& d) {
            d.Select(IDC_GPI, 4);
            d.Check(IDC_CHECK_DDR);
            d.Click(IDC_ADVANCED_CANCEL);
        });
        page.OpenAdvanced([](DialogDriver& d) {
            d.Select(IDC_GPI, 4);
            d.PressEscape();
        });
        EXPECT_EQ(job, station.ReadJob());

        page.OpenAdvanced([](DialogDriver& d) {
            d.Select(IDC_GPI, 4);
            d.Check(IDC_MIN_CAP_LIMIT);
            d.Type(IDC_MIN_CAP, "512");
            d.PressEnter();
            EXPECT_FALSE(d.IsOpen());
        });
        const std::string saved = station.ReadJob();
        ExpectKeys(
            saved,
            {{"Advanced", "GPI", "4"}, {"Advanced", "MinCap", "512"}, {"Setup", "UIType", "0"}});
    });
}

// Choosing style 4 shows the tips first, then the VID/PID edit and its label;
// styles 0 to 3 hide them without a word. A job saved with style 4 opens
// with them shown and the stored list in the edit.
TEST(AdvancedDialog, HubVidPidEditFollowsStyle) {
    Station station;
    const std::string tips = Shown(station.Text("IDS_SETUP_UI_HUB_VIDPID_TIPS"));
    Operator op;
    Visit(station, op, [&](ModePage& page) {
        page.OpenAdvanced([&](DialogDriver& d) {
            op.OnMessageBox([&](MessageBoxSeen& m) {
                EXPECT_FALSE(d.IsVisible(IDC_HUB_VID_PID)) << "the tips come first";
                return ExpectBox(tips, MB_OK)(m);
            });
            d.Select(IDC_HUB_PORT_STYLE, 4);
            EXPECT_TRUE(d.IsVisible(IDC_HUB_VID_PID));
            EXPECT_TRUE(d.IsVisible(IDC_HUB_VID_PID_LABEL));
            for (int style : {3, 0, 2, 1}) {
                d.Select(IDC_HUB_PORT_STYLE, style);
                EXPECT_FALSE(d.IsVisible(IDC_HUB_VID_PID)) << style;
                EXPECT_FALSE(d.IsVisible(IDC_HUB_VID_PID_LABEL)) << style;
            }
            d.Click(IDC_ADVANCED_CANCEL);
        });
        EXPECT_EQ(1, op.Seen().end() -
                         std::find(op.Seen().begin(), op.Seen().end(), "message box: " + tips));

        station.WriteJob("[Advanced]\r\nHubPort=4\r\nVID_PID=0A0B0C0D 01020304\r\n");
        page.OpenAdvanced([&](DialogDriver& d) {
            EXPECT_EQ(4, d.CurSel(IDC_HUB_PORT_STYLE));
            EXPECT_TRUE(d.IsVisible(IDC_HUB_VID_PID));
            EXPECT_TRUE(d.IsVisible(IDC_HUB_VID_PID_LABEL));
            EXPECT_EQ("0A0B0C0D 01020304", d.Text(IDC_HUB_VID_PID));
            d.Click(IDC_ADVANCED_CANCEL);
        });
    });
}

// The VID/PID list: what is accepted (VID_PID as typed, VID_PID_RE the
// entries joined) and what is refused (the error message, the dialog open
// with the operator's text, nothing written).
TEST(AdvancedDialog, HubVidPidListCheck) {
    const std::pair<const char*, const char*> accepted[] = {
        {"1234ABCD", "1234ABCD"},
        {"1234ABCD,0F0F0001", "1234ABCD0F0F0001"},
        {"1234abcd 0f0f0001", "1234abcd0f0f0001"},
        {"1234ABCD,0F0F0001,FFFFFFFE", "1234ABCD0F0F0001FFFFFFFE"},
        {"1234ABCD,", "1234ABCD"},
        {"1234ABCD 0F0F0001 ", "1234ABCD0F0F0001"},
        {"1234ABCD5E", "1234ABCD"},                // no separator: 8-digit entries
        {"1234ABCD0F0F0001", "1234ABCD0F0F0001"},  //
        {"1234ABCD0F0F000", "1234ABCD"},           // a shorter remainder dropped
        {"1234ABCD,0F0F000", "1234ABCD"},          // 7 after a separator: dropped
    };
    const char* const rejected[] = {
        "",
        "1234ABC",
        "1234ABCD, 0F0F0001",  // both separators
        "1234ABCD ,0F0F0001",
        "1234ABGD",
        "FFFFFFFF",
        "ffffffff",
        "1234ABCD,FFFFFFFF",
        "1234ABCD0F0F0001FFFFFFFF",
        "1234ABCD,0F0F",  // 4 after a separator
        "1234ABCD,0F0F00",
        "1234ABCD,,0F0F0001",
        " 1234ABCD",
    };
    Station station;
    const std::string tips = Shown(station.Text("IDS_SETUP_UI_HUB_VIDPID_TIPS"));
    const std::string error = Shown(station.Text("IDS_SETUP_UI_HUB_VIDPID_ERROR"));
    Operator op;
    Visit(station, op, [&](ModePage& page) {
        for (const auto& list : accepted) {
            SCOPED_TRACE(std::string("accepted \"") + list.first + "\"");
            station.WriteJob("[Advanced]\r\nVID_PID=old\r\nVID_PID_RE=old\r\n");
            page.OpenAdvanced([&](DialogDriver& d) {
                op.OnMessageBox(ExpectBox(tips, MB_OK));
                d.Select(IDC_HUB_PORT_STYLE, 4);
                d.Type(IDC_HUB_VID_PID, list.first);
                d.Click(IDC_ADVANCED_OK);
            });
            ExpectKeys(station.ReadJob(), {{"Advanced", "HubPort", "4"},
                                           {"Advanced", "VID_PID", list.first},
                                           {"Advanced", "VID_PID_RE", list.second}});
        }

        const std::string before = "[Advanced]\r\nHubPort=1\r\nVID_PID=old\r\nVID_PID_RE=old\r\n";
        station.WriteJob(before);
        page.OpenAdvanced([&](DialogDriver& d) {
            op.OnMessageBox(ExpectBox(tips, MB_OK));
            d.Select(IDC_HUB_PORT_STYLE, 4);
            d.Check(IDC_CHECK_DDR);
            for (const char* list : rejected) {
                SCOPED_TRACE(std::string("rejected \"") + list + "\"");
                d.Type(IDC_HUB_VID_PID, list);
                op.OnMessageBox(ExpectBox(error, MB_OK));
                d.Click(IDC_ADVANCED_OK);
                EXPECT_TRUE(d.IsOpen());
                EXPECT_EQ(list, d.Text(IDC_HUB_VID_PID));
                EXPECT_EQ(before, station.ReadJob()) << "a refused list writes nothing";
            }
            d.Click(IDC_ADVANCED_CANCEL);
        });
    });
}

// A stored list longer than the edit's 128 characters is shown whole; OK
// refuses it with the length message and writes nothing until it is shorter.
TEST(AdvancedDialog, OverlongStoredVidPid) {
    std::string longList;
    while (longList.size() < 130) {
        longList += "1234ABCD";
    }
    Station station;
    station.WriteJob("[Advanced]\r\nHubPort=4\r\nVID_PID=" + longList + "\r\n");
    Operator op;
    Visit(station, op, [&](ModePage& page) {
        const std::string before = station.ReadJob();
        page.OpenAdvanced([&](DialogDriver& d) {
            EXPECT_EQ(longList, d.Text(IDC_HUB_VID_PID));
            op.OnMessageBox([](MessageBoxSeen& m) {
                EXPECT_EQ("Please enter no more than 128 characters.", m.text);
                return IDOK;
            });
            d.Click(IDC_ADVANCED_OK);
            EXPECT_TRUE(d.IsOpen());
            EXPECT_EQ(before, station.ReadJob());
            d.Type(IDC_HUB_VID_PID, longList);
            EXPECT_EQ(128u, d.Text(IDC_HUB_VID_PID).size()) << "typing stops at the limit";
            d.Click(IDC_ADVANCED_OK);
        });
        ExpectKeys(station.ReadJob(), {{"Advanced", "VID_PID", longList.substr(0, 128)},
                                       {"Advanced", "VID_PID_RE", longList.substr(0, 128)}});
    });
}

// Style 3 (order from the hub profile): with HubProfile.cfg present the
// operator is asked whether to reset it. No keeps the file, Yes deletes it
// and asks for the hubs in order; without a file only that request shows.
// A file that cannot be deleted is named in a message, and the dialog stays
// open with nothing written. Each confirmed case writes HubPort 3.
TEST(AdvancedDialog, HubProfileReset) {
    Station station;
    const std::string profile = station.Path("HubProfile.cfg");
    const UINT question = MB_YESNO | MB_ICONEXCLAMATION;
    Operator op;
    Visit(station, op, [&](ModePage& page) {
        // No: the file stays, nothing more is said.
        Station::WriteFile(profile, "ports");
        station.WriteJob("[Advanced]\r\nHubPort=1\r\n");
        page.OpenAdvanced([&](DialogDriver& d) {
            d.Select(IDC_HUB_PORT_STYLE, 3);
            op.OnMessageBox(ExpectBox(kProfileQuestion, question, IDNO));
            d.Click(IDC_ADVANCED_OK);
        });
        EXPECT_TRUE(Station::FileExists(profile));
        EXPECT_EQ("3", Value(station.ReadJob(), "Advanced", "HubPort"));

        // Yes: deleted, then the request to insert the hubs in order.
        station.WriteJob("[Advanced]\r\nHubPort=1\r\n");
        const size_t seenBefore = op.Seen().size();
        page.OpenAdvanced([&](DialogDriver& d) {
            d.Select(IDC_HUB_PORT_STYLE, 3);
            op.OnMessageBox(ExpectBox(kProfileQuestion, question, IDYES));
            op.OnMessageBox([&](MessageBoxSeen& m) {
                EXPECT_FALSE(Station::FileExists(profile)) << "deleted before the request";
                return ExpectBox(kInsertHub, MB_OK)(m);
            });
            d.Click(IDC_ADVANCED_OK);
        });
        EXPECT_FALSE(Station::FileExists(profile));
        EXPECT_EQ("3", Value(station.ReadJob(), "Advanced", "HubPort"));
        const std::vector<std::string> seen(op.Seen().begin() + seenBefore, op.Seen().end());
        EXPECT_EQ((std::vector<std::string>{"dialog 1045",
                                            std::string("message box: ") + kProfileQuestion,
                                            std::string("message box: ") + kInsertHub}),
                  seen);

        // No file: only the request.
        station.WriteJob("[Advanced]\r\nHubPort=3\r\n");
        page.OpenAdvanced([&](DialogDriver& d) {
            EXPECT_EQ(3, d.CurSel(IDC_HUB_PORT_STYLE));
            op.OnMessageBox(ExpectBox(kInsertHub, MB_OK));
            d.Click(IDC_ADVANCED_OK);
        });
        EXPECT_EQ(With(kDefaultAdvanced, "HubPort", "3"), Section(station.ReadJob(), "Advanced"));

        // A read-only file: named in the message, nothing written.
        Station::WriteFile(profile, "ports");
        SetReadOnly(profile, true);
        const std::string before = "[Advanced]\r\nHubPort=2\r\n";
        station.WriteJob(before);
        page.OpenAdvanced([&](DialogDriver& d) {
            d.Select(IDC_HUB_PORT_STYLE, 3);
            d.Check(IDC_CHECK_DDR);
            op.OnMessageBox(ExpectBox(kProfileQuestion, question, IDYES));
            op.OnMessageBox([&](MessageBoxSeen& m) {
                EXPECT_NE(std::string::npos, m.text.find("\"" + profile + "\"")) << m.text;
                EXPECT_EQ(static_cast<UINT>(MB_OK), m.Buttons());
                EXPECT_EQ(IDD_ADVANCED, m.ownerTemplateId);
                return IDOK;
            });
            d.Click(IDC_ADVANCED_OK);
            EXPECT_TRUE(d.IsOpen());
            EXPECT_EQ(before, station.ReadJob());
            EXPECT_TRUE(Station::FileExists(profile));

            // Made deletable, the same OK goes through.
            SetReadOnly(profile, false);
            op.OnMessageBox(ExpectBox(kProfileQuestion, question, IDYES));
            op.OnMessageBox(ExpectBox(kInsertHub, MB_OK));
            d.Click(IDC_ADVANCED_OK);
        });
        EXPECT_FALSE(Station::FileExists(profile));
        ExpectKeys(station.ReadJob(),
                   {{"Advanced", "HubPort", "3"}, {"Advanced", "CheckDDR", "1"}});
    });
}

// The keys the dialog wrote stay when the sheet is then confirmed: the mode
// page's save does not touch [Advanced].
TEST(AdvancedDialog, KeysStayThroughConfirmedSheet) {
    Station station;
    Operator op;
    EXPECT_EQ(1, Visit(
                     station, op,
                     [&](ModePage& page) {
                         page.OpenAdvanced([](DialogDriver& d) {
                             d.Select(IDC_START_DELAY, 2);
                             d.Click(IDC_ADVANCED_OK);
                         });
                     },
                     IDOK));
    EXPECT_EQ(With(kDefaultAdvanced, "StartDelay", "2"), Section(station.ReadJob(), "Advanced"));
}
