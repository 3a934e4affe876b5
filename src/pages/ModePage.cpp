#include "pages/ModePage.h"

#include <string>

#include "module/FlashTable.h"
#include "module/LanguageText.h"
#include "module/globals.h"
#include "pages/AdvancedDlg.h"
#include "pages/FlashList.h"
#include "resource.h"
#include "settings/JobSettings.h"

namespace {

using jobsettings::JobKey;

// Controls whose template caption is replaced by the text of a language key.
// "Driving" and "ECC" keep their template captions.
const LanguageCaption kCaptions[] = {
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

// [Setup] CTLType: the stored value is the index. Item 0 is the language
// text of automatic detection; the names of items 1 to 5 depend on
// [Setup] ShowTPCTLName.
const char* const kControllerNames[2][5] = {
    {"RX-310", "RX-320", "RX-330", "RX-340G", "RX-470T"},
    {"RX-350", "RX-320", "RX-360", "RX-340G", "RX-470T"},
};

// [Setup] DrivingLevel: items "0" to "7" store the level in both nibbles,
// the last item (the default) 0x88.
const uint8_t kDrivingLevels[] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
constexpr int kDrivingLevelDefault = 8;

// [Flash] FlashNum: the template's items "1", "2", "4".
const uint8_t kFlashNums[] = {1, 2, 4};

// [Flash] RWCycle: the list runs by speed, the stored codes do not.
const char* const kRWCycleTexts[] = {nullptr, "20 ns", "25 ns", "33 ns",
                                     "41 ns", "50 ns", "66 ns", "133 ns"};
const uint8_t kRWCycleCodes[] = {5, 6, 0, 1, 7, 2, 3, 4};
constexpr int kRWCycle50ns = 5;

// [Sorting] FlashCheck: the stored value is the index.
const char* const kTestCaseKeys[] = {
    "IDS_SETUP_UI_NORMAL_TEST",   "IDS_SETUP_UI_HALF_TEST",     "IDS_SETUP_UI_INTERF_TEST",
    "IDS_SETUP_UI_GET_MARK_OBBT", "IDS_SETUP_UI_GET_MARK_RBBT", "IDS_SETUP_UI_GET_MARK_ERASE",
};
constexpr int kTestCaseHalf = 1;

// [Sorting] ECC: items "0" to "15", then the default count, stored 255.
constexpr int kEccItems = 16;
constexpr int kEccDefaultItem = 16;
constexpr uint8_t kEccDefault = 255;

template <class T, size_t N>
constexpr int CountOf(const T (&)[N]) {
    return static_cast<int>(N);
}

// Selects the list item showing record nRecord of table (the platform's
// exact search, which ignores case); nothing when there is none.
void SelectFlashRecordItem(fw::CComboBox& combo, const FlashTable* table, int nRecord) {
    const FlashRecord* pRecord = FlashTableRecord(table, nRecord);
    if (pRecord != nullptr) {
        combo.SetCurSel(combo.FindStringExact(-1, FlashRecordListText(*pRecord)));
    }
}

}  // namespace

IMPLEMENT_DYNAMIC(CModePage, CSettingsPage)

BEGIN_MESSAGE_MAP(CModePage, CSettingsPage)
ON_BN_CLICKED(IDC_UNAUTO_CHECK, OnUnAutoCheck)
ON_BN_CLICKED(IDC_TRAFFIC_LIGHT, OnTrafficLight)
ON_BN_CLICKED(IDC_FAST_TEST, OnFastTest)
ON_BN_CLICKED(IDC_OPEN_SHORT_TEST, OnOpenShortTest)
ON_BN_CLICKED(IDC_ADVANCED, OnAdvanced)
ON_BN_CLICKED(IDC_RESTORE_DEFAULTS, OnRestoreDefaults)
END_MESSAGE_MAP()

CModePage::CModePage(const Visit& visit) : CSettingsPage(IDD_MODE, visit) {}

void CModePage::DoDataExchange(fw::CDataExchange* pDX) {
    CSettingsPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DRIVING_LEVEL, m_comboDrivingLevel);
    DDX_Control(pDX, IDC_CONTROLLER, m_comboController);
    DDX_Control(pDX, IDC_FLASH_TYPE, m_comboFlashType);
    DDX_Control(pDX, IDC_FLASH_NUM, m_comboFlashNum);
    DDX_Control(pDX, IDC_CHANNEL, m_comboChannel);
    DDX_Control(pDX, IDC_RW_CYCLE, m_comboRWCycle);
    DDX_Control(pDX, IDC_ECC, m_comboECC);
    DDX_Control(pDX, IDC_TEST_CASE, m_comboTestCase);
}

void CModePage::FillControls(const std::string& /*file*/) {
    // The flash number list holds the template's "1", "2" and "4" from the
    // window's creation on, once.
    SetLanguageCaptions(*this, kCaptions);

    FillController();
    FillDrivingLevel();
    FillFlashType();
    CheckDlgButton(IDC_UNAUTO_CHECK,
                   JobSettings.Flash.UnAutoCheck != 0 ? BST_CHECKED : BST_UNCHECKED);
    SelectFlashNum();
    FillChannel();
    FillRWCycle();
    ApplyUnAutoCheckState();
    FillECC();
    switch (JobSettings.Sorting.ScanMode) {
        case 0:
            SetTestMode(IDC_TRAFFIC_LIGHT);
            break;
        case 1:
            SetTestMode(IDC_FAST_TEST);
            break;
        case 2:
            SetTestMode(IDC_OPEN_SHORT_TEST);
            break;
        default:
            break;
    }
    FillTestCase();
}

void CModePage::FillController() {
    m_comboController.ResetContent();
    m_comboController.AddString(GetLanguageText("IDS_SETUP_UI_AUTO_CTL"));
    for (const char* name : kControllerNames[JobSettings.Setup.ShowTPCTLName != 0 ? 1 : 0]) {
        m_comboController.AddString(name);
    }
    m_comboController.SetCurSel(JobSettings.Setup.CTLType);
}

void CModePage::FillDrivingLevel() {
    m_comboDrivingLevel.ResetContent();
    for (int i = 0; i < kDrivingLevelDefault; ++i) {
        m_comboDrivingLevel.AddString(std::to_string(i));
    }
    m_comboDrivingLevel.AddString(GetLanguageText("IDS_SETUP_UI_DEFAULT"));

    m_nLoadedDrivingLevel = JobSettings.Setup.DrivingLevel;
    for (int i = 0; i < CountOf(kDrivingLevels); ++i) {
        if (kDrivingLevels[i] == m_nLoadedDrivingLevel) {
            m_comboDrivingLevel.SetCurSel(i);
            break;
        }
    }
}

void CModePage::FillFlashType() {
    const FlashTable* table = GetVisit().flashTable;
    FillFlashList(m_comboFlashType, table);
    if (JobSettings.Flash.UnAutoCheck != 0) {
        SelectFlashRecordItem(m_comboFlashType, table,
                              FlashTableFindName(table, JobSettings.Flash.FlashName));
    } else if (GetVisit().flashIndex < static_cast<uint32_t>(FlashTableCount(table))) {
        SelectFlashRecordItem(m_comboFlashType, table, static_cast<int>(GetVisit().flashIndex));
    }
}

void CModePage::SelectFlashNum() {
    // The list keeps the template's items; a stored number that none of them
    // shows leaves it without selection, as the other lists are left.
    m_nLoadedFlashNum = JobSettings.Flash.FlashNum;
    int nSelect = -1;
    for (int i = 0; i < CountOf(kFlashNums); ++i) {
        if (kFlashNums[i] == m_nLoadedFlashNum) {
            nSelect = i;
            break;
        }
    }
    m_comboFlashNum.SetCurSel(nSelect);
}

void CModePage::FillChannel() {
    m_comboChannel.ResetContent();
    m_comboChannel.AddString(GetLanguageText("IDS_SETUP_UI_SINGLE_CHANNEL"));
    m_comboChannel.AddString(GetLanguageText("IDS_SETUP_UI_DUAL_CHANNEL"));
    m_comboChannel.SetCurSel(JobSettings.Flash.ChannelNum);
}

void CModePage::FillRWCycle() {
    m_comboRWCycle.ResetContent();
    for (int i = 0; i < CountOf(kRWCycleTexts); ++i) {
        m_comboRWCycle.AddString(kRWCycleTexts[i] != nullptr
                                     ? std::string(kRWCycleTexts[i])
                                     : GetLanguageText("IDS_SETUP_UI_DEFAULT"));
    }
    m_comboRWCycle.SetCurSel(kRWCycle50ns);
    for (int i = 0; i < CountOf(kRWCycleCodes); ++i) {
        if (kRWCycleCodes[i] == JobSettings.Flash.RWCycle) {
            m_comboRWCycle.SetCurSel(i);
            break;
        }
    }
}

void CModePage::FillECC() {
    m_comboECC.ResetContent();
    for (int i = 0; i < kEccItems; ++i) {
        m_comboECC.AddString(std::to_string(i));
    }
    m_comboECC.AddString(GetLanguageText("IDS_SETUP_UI_DEFAULT_COUNT"));
    const uint8_t nECC = JobSettings.Sorting.ECC;
    if (nECC == kEccDefault) {
        m_comboECC.SetCurSel(kEccDefaultItem);
    } else if (nECC < kEccItems) {
        m_comboECC.SetCurSel(nECC);
    }
}

void CModePage::FillTestCase() {
    m_comboTestCase.ResetContent();
    for (const char* key : kTestCaseKeys) {
        m_comboTestCase.AddString(GetLanguageText(key));
    }
    m_comboTestCase.SetCurSel(JobSettings.Sorting.FlashCheck);
}

void CModePage::ApplyUnAutoCheckState() {
    const BOOL bUnAuto = IsDlgButtonChecked(IDC_UNAUTO_CHECK) == BST_CHECKED;
    g_bFlashNameRequired = bUnAuto ? 1 : 0;
    for (int nID : {IDC_FLASH_NUM, IDC_CHANNEL, IDC_FLASH_NUM_LABEL, IDC_CHANNEL_LABEL}) {
        GetDlgItem(nID)->EnableWindow(bUnAuto);
    }
    if (!bUnAuto) {
        m_comboFlashNum.SetCurSel(0);
        m_comboChannel.SetCurSel(0);
    }
}

void CModePage::SetTestMode(int nRadioID) {
    for (int nID : {IDC_TRAFFIC_LIGHT, IDC_FAST_TEST, IDC_OPEN_SHORT_TEST}) {
        CheckDlgButton(nID, nID == nRadioID ? BST_CHECKED : BST_UNCHECKED);
    }
    const BOOL bFastTest = nRadioID == IDC_FAST_TEST;
    m_comboTestCase.EnableWindow(bFastTest);
    m_comboECC.EnableWindow(bFastTest);
}

void CModePage::OnUnAutoCheck() {
    ApplyUnAutoCheckState();
}

void CModePage::OnTrafficLight() {
    SetTestMode(IDC_TRAFFIC_LIGHT);
}

void CModePage::OnFastTest() {
    SetTestMode(IDC_FAST_TEST);
}

void CModePage::OnOpenShortTest() {
    SetTestMode(IDC_OPEN_SHORT_TEST);
}

void CModePage::OnAdvanced() {
    // The dialog writes its own keys; nothing on this page changes.
    CAdvancedDlg dlg(GetVisit(), this);
    dlg.DoModal();
}

void CModePage::OnRestoreDefaults() {
    // Controls only: nothing is written until the sheet saves. The flash
    // type stays as chosen.
    m_comboController.SetCurSel(0);
    CheckDlgButton(IDC_UNAUTO_CHECK, BST_UNCHECKED);
    ApplyUnAutoCheckState();
    m_comboFlashNum.SetCurSel(0);
    m_comboChannel.SetCurSel(0);
    m_comboDrivingLevel.SetCurSel(kDrivingLevelDefault);
    m_comboRWCycle.SetCurSel(0);
    m_comboTestCase.SetCurSel(kTestCaseHalf);
    m_comboECC.SetCurSel(kEccDefaultItem);
    SetTestMode(IDC_FAST_TEST);
}

BOOL CModePage::SaveSettings(const std::string& path) {
    jobsettings::JobFileWriter writer(FileOr(path));
    writer.Number(JobKey::CTLType, m_comboController.GetCurSel());

    const int nLevel = m_comboDrivingLevel.GetCurSel();
    writer.Number(JobKey::DrivingLevel, nLevel >= 0 && nLevel < CountOf(kDrivingLevels)
                                            ? kDrivingLevels[nLevel]
                                            : m_nLoadedDrivingLevel);

    const int nFlashNum = m_comboFlashNum.GetCurSel();
    writer.Number(JobKey::FlashNum, nFlashNum >= 0 && nFlashNum < CountOf(kFlashNums)
                                        ? kFlashNums[nFlashNum]
                                        : m_nLoadedFlashNum);

    writer.Number(JobKey::ChannelNum, m_comboChannel.GetCurSel());

    const int nCycle = m_comboRWCycle.GetCurSel();
    if (nCycle >= 0 && nCycle < CountOf(kRWCycleCodes)) {
        writer.Number(JobKey::RWCycle, kRWCycleCodes[nCycle]);
    }

    // The record's own flash name, and the first record that carries it.
    const int nRecord = SelectedFlashRecord(m_comboFlashType, GetVisit().flashTable);
    const std::string strFlashName =
        nRecord >= 0 ? FlashRecordName(*FlashTableRecord(GetVisit().flashTable, nRecord))
                     : std::string();
    writer.Number(JobKey::FlashIndex, FlashTableFirstNamedAs(GetVisit().flashTable, nRecord));
    writer.Text(JobKey::FlashName, strFlashName);

    const bool bUnAuto = IsDlgButtonChecked(IDC_UNAUTO_CHECK) == BST_CHECKED;
    writer.Flag(JobKey::UnAutoCheck, bUnAuto);
    g_bFlashNameRequired = bUnAuto ? 1 : 0;

    const int modes[] = {IDC_TRAFFIC_LIGHT, IDC_FAST_TEST, IDC_OPEN_SHORT_TEST};
    for (int nMode = 0; nMode < CountOf(modes); ++nMode) {
        if (IsDlgButtonChecked(modes[nMode]) == BST_CHECKED) {
            writer.Number(JobKey::ScanMode, nMode);
        }
    }

    writer.Number(JobKey::FlashCheck, m_comboTestCase.GetCurSel());

    const int nECC = m_comboECC.GetCurSel();
    if (nECC == kEccDefaultItem) {
        writer.Number(JobKey::ECC, kEccDefault);
    } else if (nECC >= 0 && nECC < kEccItems) {
        writer.Number(JobKey::ECC, nECC);
    }
    return ReportUnwritten(*this, writer, "mode");
}
