#include "pages/AdvancedDlg.h"

#include <initializer_list>

#include "module/LanguageText.h"
#include "pages/SettingsPage.h"
#include "platform/files.h"
#include "resource.h"
#include "settings/HubVidPid.h"
#include "settings/JobFileSchema.h"

namespace {

using jobsettings::JobKey;

constexpr int kMaxVidPidChars = 128;

// The items of the lists, after the language's Default where a list has one.
const char* const kSortingBlockNums[] = {"8", "12", "16", "32", "64", "128"};
const char* const kSortingBlockNumsRamos[] = {"8", "16", "32", "64", "128"};
const char* const kCheckLevels[] = {"4", "8", "16", "32", "64"};
const char* const kCheckLevelsRamos[] = {"8", "16", "32", "64"};
const char* const kAutoMPTimers[] = {"4s", "6s", "8s", "10s"};
const char* const kStartDelays[] = {"0.5s", "1.0s", "1.5s", "2.0s"};
const char* const kFixedCapabilities[] = {"961", "481", "241", "121"};
const char* const kCheckFlashPins[] = {"OFF", "Normal", "D3eD3"};
const char* const kSandiskIDModes[] = {"OFF", "MLC", "TLC", "Auto"};
const char* const kCheckToggles[] = {"ON", "OFF"};
const char* const kUITypes[] = {"8 Ports(Default)", "16 Ports",      "16 Ports Wide",
                                "16 Ports Mini",    "20 Ports Mini", "32 Ports"};
const char* const kID00Errors[] = {"00", "FF", "UnKnow"};
const char* const kGPIs[] = {"A2", "DA", "SetFeature", "NULL"};

const char* const kHubPortKeys[] = {
    "IDS_SETUP_UI_DEFAULT",
    "IDS_SETUP_UI_FIX_INSERT_INDEX",
    "IDS_SETUP_UI_UNFIX_INSERT_INDEX",
    "IDS_SETUP_UI_FROM_PROFILE_INDEX",
    "IDS_SETUP_UI_HUB_VIDPID_INDEX",
};

// Controls whose template caption is replaced by a language text.
const LanguageCaption kCaptions[] = {
    {IDC_EXTRA_GROUP, "IDS_SETUP_UI_EXTRA_SET"},
    {IDC_HUB_PORT_STYLE_LABEL, "IDS_SETUP_UI_HUB_PORT_STYLE"},
    {IDC_FACTORY_DRIVER, "IDS_SETUP_UI_FACTORY_DRIVER"},
    {IDC_CHECK_DDR, "IDS_SETUP_UI_CHECK_DDR"},
    {IDC_SPECIAL_SORTING_CLASS_CHECK, "IDS_SETUP_UI_SPECIAL_SORTING_CLASS_CHECK"},
    {IDC_DATA_RETAIN_CHECK, "IDS_SETUP_UI_DATA_RETAIN_CHECK"},
    // The language files name this one as the control, not IDS_.
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

// Empties the list and adds the items, the language's Default first when asked.
template <size_t N>
void FillList(fw::CComboBox& combo, bool bDefaultFirst, const char* const (&items)[N]) {
    combo.ResetContent();
    if (bDefaultFirst) {
        combo.AddString(GetLanguageText("IDS_SETUP_UI_DEFAULT"));
    }
    for (const char* item : items) {
        combo.AddString(item);
    }
}

// The selected index as stored; nothing selected stores 0.
int StoredIndex(const fw::CComboBox& combo) {
    const int nSel = combo.GetCurSel();
    return nSel < 0 ? 0 : nSel;
}

}  // namespace

IMPLEMENT_DYNAMIC(CAdvancedDlg, fw::CDialog)

BEGIN_MESSAGE_MAP(CAdvancedDlg, fw::CDialog)
ON_BN_CLICKED(IDC_ADVANCED_OK, OnAdvancedOk)
ON_BN_CLICKED(IDC_ADVANCED_CANCEL, OnAdvancedCancel)
ON_BN_CLICKED(IDC_FIXED_CAP_CHECK, OnFixedCapCheck)
ON_BN_CLICKED(IDC_MIN_CAP_LIMIT, OnMinCapLimit)
ON_CBN_SELCHANGE(IDC_HUB_PORT_STYLE, OnSelchangeHubPort)
END_MESSAGE_MAP()

CAdvancedDlg::CAdvancedDlg(const Visit& visit, fw::CWnd* pParent)
    : fw::CDialog(IDD_ADVANCED, pParent), m_visit(visit) {}

// A number as the dialog keeps it: its low byte, after the key's rule.
uint8_t CAdvancedDlg::ReadByte(JobKey key) const {
    return static_cast<uint8_t>(jobsettings::ReadNumber(m_visit.jobFile, key));
}

void CAdvancedDlg::DoDataExchange(fw::CDataExchange* pDX) {
    fw::CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_HUB_PORT_STYLE, m_comboHubPort);
    DDX_Control(pDX, IDC_FIXED_CAPABILITY, m_comboFixedCapability);
    DDX_Control(pDX, IDC_CHECK_LEVEL, m_comboCheckLevel);
    DDX_Control(pDX, IDC_SORTING_BLOCK_NUM, m_comboSortingBlockNum);
    DDX_Control(pDX, IDC_AUTO_MP_TIMER, m_comboAutoMPTimer);
    DDX_Control(pDX, IDC_START_DELAY, m_comboStartDelay);
    DDX_Control(pDX, IDC_CHECK_FLASH_PIN, m_comboCheckFlashPin);
    DDX_Control(pDX, IDC_SANDISK_ID, m_comboSandiskID);
    DDX_Control(pDX, IDC_CHECK_TOGGLE, m_comboCheckTog);
    DDX_Control(pDX, IDC_UI_TYPE, m_comboUIType);
    DDX_Control(pDX, IDC_ID00_ERROR, m_comboID00Err);
    DDX_Control(pDX, IDC_GPI, m_comboGPI);
    DDX_Control(pDX, IDC_MIN_CAP, m_editMinCap);
    DDX_Text(pDX, IDC_HUB_VID_PID, m_strVidPid);
    DDV_MaxChars(pDX, m_strVidPid, kMaxVidPidChars);
}

void CAdvancedDlg::LoadAdvancedSettings() {
    // Each key's rule puts a number the lists do not hold back in range.
    m_nHubPort = ReadByte(JobKey::HubPort);
    m_bFactoryDriver = ReadByte(JobKey::FactoryDriver);
    m_bCheckDDR = ReadByte(JobKey::CheckDDR);
    m_nSortingBlockNum = ReadByte(JobKey::SortingBlockNum);
    m_nAutoMPTimer = ReadByte(JobKey::AutoMPTimer);
    m_nStartDelay = ReadByte(JobKey::StartDelay);
    m_bSpecialSortingClassCheck = ReadByte(JobKey::SpecialSortingClassCheck);
    m_bCheckDataRetain = ReadByte(JobKey::CheckDataRetain);
    m_bSetSum19nmFeature = ReadByte(JobKey::SetSum19nmFeature);
    m_bUELC = ReadByte(JobKey::UELC);
    m_bCloseReadRetry = ReadByte(JobKey::CloseReadRetry);
    m_bCheckFixedCap = ReadByte(JobKey::CheckFixedCap);
    m_nCheckLevel = ReadByte(JobKey::CheckLevel);
    m_nFixedCapability = ReadByte(JobKey::FixedCapability);
    m_nCheckFlashPin = ReadByte(JobKey::CheckFlashPin);
    m_nSandiskIDMode = ReadByte(JobKey::ReadSandiskFlashID);
    m_nCheckTog = ReadByte(JobKey::CheckTog);
    m_nForRamos = ReadByte(JobKey::ForRamos);
    m_nUIType = ReadByte(JobKey::UIType);
    m_bMinCapLimit = ReadByte(JobKey::MinCapLimit);
    m_nMinCap = static_cast<int32_t>(jobsettings::ReadNumber(m_visit.jobFile, JobKey::MinCap));
    m_nID00Err = ReadByte(JobKey::ID00Err);
    m_nGPI = ReadByte(JobKey::GPI);
    m_bCacheProgram = ReadByte(JobKey::CacheProgram);
    m_bMultiPlane = ReadByte(JobKey::MultiPlane);
    m_strVidPid = jobsettings::ReadText(m_visit.jobFile, JobKey::VidPid);
}

BOOL CAdvancedDlg::OnInitDialog() {
    fw::CDialog::OnInitDialog();

    SetWindowText(GetLanguageText("IDS_SETUP_UI_ADVANCED"));
    SetLanguageCaptions(*this, kCaptions);

    LoadAdvancedSettings();

    // The Ramos lists have no Default item and fewer sizes.
    const bool bRamos = m_nForRamos != 0;
    if (bRamos) {
        FillList(m_comboSortingBlockNum, false, kSortingBlockNumsRamos);
        m_comboSortingBlockNum.SetCurSel(m_nSortingBlockNum <= 4 ? m_nSortingBlockNum : 0);
    } else {
        FillList(m_comboSortingBlockNum, true, kSortingBlockNums);
        m_comboSortingBlockNum.SetCurSel(m_nSortingBlockNum <= 6 ? m_nSortingBlockNum : 0);
    }

    CheckDlgButton(IDC_FACTORY_DRIVER, m_bFactoryDriver ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_CHECK_DDR, m_bCheckDDR ? BST_CHECKED : BST_UNCHECKED);

    // Shown whole even beyond the edit's limit; OK then refuses it.
    SetDlgItemText(IDC_HUB_VID_PID, m_strVidPid);

    m_comboHubPort.ResetContent();
    for (const char* key : kHubPortKeys) {
        m_comboHubPort.AddString(GetLanguageText(key));
    }
    ShowVidPid(FALSE);
    m_comboHubPort.SetCurSel(m_nHubPort);
    if (m_nHubPort == kHubPortVidPid) {
        ShowVidPid(TRUE);
    }

    FillList(m_comboAutoMPTimer, true, kAutoMPTimers);
    m_comboAutoMPTimer.SetCurSel(m_nAutoMPTimer - 1);

    FillList(m_comboStartDelay, true, kStartDelays);
    m_comboStartDelay.SetCurSel(m_nStartDelay);

    if (bRamos) {
        FillList(m_comboCheckLevel, false, kCheckLevelsRamos);
    } else {
        FillList(m_comboCheckLevel, true, kCheckLevels);
    }
    m_comboCheckLevel.SetCurSel(m_nCheckLevel);

    FillList(m_comboFixedCapability, false, kFixedCapabilities);
    m_comboFixedCapability.SetCurSel(m_nFixedCapability);
    m_comboFixedCapability.EnableWindow(m_bCheckFixedCap);

    SetDlgItemInt(IDC_MIN_CAP, static_cast<UINT>(m_nMinCap), TRUE);
    m_editMinCap.EnableWindow(m_bMinCapLimit != 0);

    FillList(m_comboCheckFlashPin, false, kCheckFlashPins);
    m_comboCheckFlashPin.SetCurSel(m_nCheckFlashPin);
    FillList(m_comboSandiskID, false, kSandiskIDModes);
    m_comboSandiskID.SetCurSel(m_nSandiskIDMode);
    FillList(m_comboUIType, false, kUITypes);
    m_comboUIType.SetCurSel(m_nUIType);
    FillList(m_comboCheckTog, true, kCheckToggles);
    m_comboCheckTog.SetCurSel(m_nCheckTog);
    FillList(m_comboID00Err, false, kID00Errors);
    m_comboID00Err.SetCurSel(m_nID00Err);
    FillList(m_comboGPI, true, kGPIs);
    m_comboGPI.SetCurSel(m_nGPI);

    const struct {
        int nID;
        bool bOn;
    } checks[] = {
        {IDC_SPECIAL_SORTING_CLASS_CHECK, m_bSpecialSortingClassCheck != 0},
        {IDC_SUM19NM_FEATURE, m_bSetSum19nmFeature != 0},
        {IDC_UNERASE_LEVEL_COMMAND, m_bUELC != 0},
        {IDC_CLOSE_READ_RETRY, m_bCloseReadRetry != 0},
        {IDC_DATA_RETAIN_CHECK, m_bCheckDataRetain != 0},
        {IDC_FIXED_CAP_CHECK, m_bCheckFixedCap != 0},
        {IDC_MIN_CAP_LIMIT, m_bMinCapLimit != 0},
        {IDC_CACHE_PROGRAM, m_bCacheProgram != 0},
        {IDC_MULTI_PLANE, m_bMultiPlane != 0},
    };
    for (const auto& check : checks) {
        CheckDlgButton(check.nID, check.bOn ? BST_CHECKED : BST_UNCHECKED);
    }
    return TRUE;
}

BOOL CAdvancedDlg::SaveAdvancedSettings() {
    jobsettings::JobFileWriter writer(m_visit.jobFile);
    auto writeFlag = [&](JobKey key, int nID) {
        writer.Flag(key, IsDlgButtonChecked(nID) == BST_CHECKED);
    };
    auto writeIndex = [&](JobKey key, const fw::CComboBox& combo) {
        writer.Number(key, StoredIndex(combo));
    };

    // Everything that can refuse the save is settled before the first key is
    // written, so a refused OK leaves the file as it was.
    const int nHubPort = m_comboHubPort.GetCurSel();
    const std::string hubProfile = m_visit.HubProfile();
    std::string joinedVidPid;
    switch (nHubPort) {
        case kHubPortFixed:
        case kHubPortUnfixed:
            break;
        case kHubPortFromProfile:
            if (files::CanOpenForReading(hubProfile)) {
                if (MessageBox("Do you want to delete \"HubProfile.cfg\" file and Resetting it "
                               "again?",
                               nullptr, MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
                    if (!files::Remove(hubProfile)) {
                        MessageBox("The hub profile file \"" + hubProfile +
                                       "\" cannot be deleted: it is read-only or in use.\n"
                                       "Nothing was saved.",
                                   nullptr, MB_OK | MB_ICONEXCLAMATION);
                        return FALSE;
                    }
                    MessageBox("Please insert order fix hub!", nullptr, MB_OK);
                }
            } else {
                MessageBox("Please insert order fix hub!", nullptr, MB_OK);
            }
            break;
        case kHubPortVidPid:
            m_strVidPid = GetDlgItemText(IDC_HUB_VID_PID);
            if (!CheckVidPidList(m_strVidPid, joinedVidPid)) {
                MessageBox(GetLanguageText("IDS_SETUP_UI_HUB_VIDPID_ERROR"), nullptr, MB_OK);
                return FALSE;
            }
            break;
        default:
            break;
    }

    const bool bKnownStyle = nHubPort >= kHubPortFixed && nHubPort <= kHubPortVidPid;
    writer.Number(JobKey::HubPort, bKnownStyle ? nHubPort : kHubPortDefault);
    if (nHubPort == kHubPortVidPid) {
        writer.Text(JobKey::VidPid, m_strVidPid);
        writer.Text(JobKey::VidPidJoined, joinedVidPid);
    }

    writeFlag(JobKey::FactoryDriver, IDC_FACTORY_DRIVER);
    writeFlag(JobKey::CheckDDR, IDC_CHECK_DDR);

    writeIndex(JobKey::SortingBlockNum, m_comboSortingBlockNum);
    writeIndex(JobKey::CheckLevel, m_comboCheckLevel);
    writeIndex(JobKey::FixedCapability, m_comboFixedCapability);
    writer.Number(JobKey::AutoMPTimer, StoredIndex(m_comboAutoMPTimer) + 1);
    writeIndex(JobKey::StartDelay, m_comboStartDelay);

    writeFlag(JobKey::SpecialSortingClassCheck, IDC_SPECIAL_SORTING_CLASS_CHECK);
    writeFlag(JobKey::CheckDataRetain, IDC_DATA_RETAIN_CHECK);
    writeFlag(JobKey::SetSum19nmFeature, IDC_SUM19NM_FEATURE);
    writeFlag(JobKey::UELC, IDC_UNERASE_LEVEL_COMMAND);
    writeFlag(JobKey::CloseReadRetry, IDC_CLOSE_READ_RETRY);
    writeFlag(JobKey::CheckFixedCap, IDC_FIXED_CAP_CHECK);
    writeFlag(JobKey::MinCapLimit, IDC_MIN_CAP_LIMIT);
    writer.Text(JobKey::MinCap, GetDlgItemText(IDC_MIN_CAP));

    writeIndex(JobKey::CheckFlashPin, m_comboCheckFlashPin);
    writeIndex(JobKey::ReadSandiskFlashID, m_comboSandiskID);
    writeIndex(JobKey::CheckTog, m_comboCheckTog);
    writeIndex(JobKey::ID00Err, m_comboID00Err);
    writeIndex(JobKey::UIType, m_comboUIType);
    writeIndex(JobKey::GPI, m_comboGPI);
    writeFlag(JobKey::CacheProgram, IDC_CACHE_PROGRAM);
    writeFlag(JobKey::MultiPlane, IDC_MULTI_PLANE);
    return ReportUnwritten(*this, writer, "advanced");
}

void CAdvancedDlg::OnAdvancedOk() {
    // The controls are checked first (the VID/PID text's length), so that a
    // refused OK has written nothing.
    if (!UpdateData(TRUE)) {
        return;
    }
    if (!SaveAdvancedSettings()) {
        return;
    }
    EndDialog(IDOK);
}

void CAdvancedDlg::OnOK() {
    // Enter confirms the dialog as its own OK button does, saving; the
    // platform's OK alone would close it and throw the changes away.
    OnAdvancedOk();
}

void CAdvancedDlg::OnAdvancedCancel() {
    EndDialog(IDCANCEL);
}

void CAdvancedDlg::OnFixedCapCheck() {
    m_comboFixedCapability.EnableWindow(IsDlgButtonChecked(IDC_FIXED_CAP_CHECK) == BST_CHECKED);
}

void CAdvancedDlg::OnMinCapLimit() {
    m_editMinCap.EnableWindow(IsDlgButtonChecked(IDC_MIN_CAP_LIMIT) == BST_CHECKED);
}

void CAdvancedDlg::OnSelchangeHubPort() {
    const std::string tips = GetLanguageText("IDS_SETUP_UI_HUB_VIDPID_TIPS");
    const int nStyle = m_comboHubPort.GetCurSel();
    if (nStyle < 0) {
        return;
    }
    if (nStyle == kHubPortVidPid) {
        MessageBox(tips, nullptr, MB_OK);
        ShowVidPid(TRUE);
    } else {
        ShowVidPid(FALSE);
    }
}

void CAdvancedDlg::ShowVidPid(BOOL bShow) {
    GetDlgItem(IDC_HUB_VID_PID)->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    GetDlgItem(IDC_HUB_VID_PID_LABEL)->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}
