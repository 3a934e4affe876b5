#include "pages/AdvancedDlg.h"

#include <cstring>
#include <initializer_list>

#include "module/LanguageText.h"
#include "module/globals.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "resource.h"

namespace {

const char kAdvanced[] = "Advanced";
const char kSetup[] = "Setup";

// The hub port styles: how insert indexes are given to the hub's ports.
enum HubPortStyle {
    kHubPortDefault = 0,
    kHubPortFixed = 1,
    kHubPortUnfixed = 2,
    kHubPortFromProfile = 3,
    kHubPortVidPid = 4,
};

constexpr int kMaxVidPidChars = 128;
constexpr size_t kVidPidEntryChars = 8;  // vendor and product ID, 4 hex digits each

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

// A stored number as the job file's format keeps it: its low byte.
uint8_t ReadByte(const char* section, const char* key, int nDefault) {
    return static_cast<uint8_t>(ini::GetInt(section, key, nDefault, g_strJobFile));
}

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

bool IsHexDigit(char ch) {
    return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F') || (ch >= 'a' && ch <= 'f');
}

// The position of the first ch in s, -1 when there is none.
long FirstPosition(const std::string& s, char ch) {
    const size_t pos = s.find(ch);
    return pos == std::string::npos ? -1 : static_cast<long>(pos);
}

}  // namespace

// The hub VID/PID list: entries of 8 hexadecimal digits (vendor and product
// ID) separated by commas or by blanks; fills joined with the entries run
// together. Existing job files were checked with exactly this reading, so it
// keeps its leniencies: a trailing separator is accepted; without separators
// the text is cut into 8-digit entries and a shorter remainder dropped; after
// a separator a remainder of exactly 7 characters is dropped too. A list
// holding both kinds of separator is refused.
bool CheckVidPidList(std::string s, std::string& joined) {
    const long nEntryChars = static_cast<long>(kVidPidEntryChars);
    joined.clear();
    bool bLastEntry = false;
    for (;;) {
        if (s.size() < kVidPidEntryChars) {
            return false;
        }
        bool bAllF = true;
        for (size_t i = 0; i < kVidPidEntryChars; ++i) {
            if (!IsHexDigit(s[i])) {
                return false;
            }
            bAllF = bAllF && (s[i] == 'F' || s[i] == 'f');
        }
        if (bAllF) {
            return false;  // FFFFFFFF is no hub
        }

        // The later of the first comma and the first blank ends the entry.
        const long nComma = FirstPosition(s, ',');
        const long nBlank = FirstPosition(s, ' ');
        const long nSeparator = nComma > nBlank ? nComma : nBlank;
        long nEntry = nSeparator;
        if (nSeparator < 0) {
            nEntry = nEntryChars;
            bLastEntry = true;
        }
        if (nEntry != nEntryChars) {
            return false;
        }
        const long nLength = static_cast<long>(s.size());
        if (!bLastEntry) {
            // A separator alone may end the list; otherwise an entry must follow.
            const long nRest = nLength - nSeparator;
            if (nRest < nEntryChars && nRest != 1) {
                return false;
            }
        }
        joined.append(s, 0, kVidPidEntryChars);
        if (nEntry >= nLength - (bLastEntry ? nEntryChars - 1 : nEntryChars)) {
            return true;
        }
        s.erase(0, static_cast<size_t>(nEntry) + (bLastEntry ? 0 : 1));
    }
}

IMPLEMENT_DYNAMIC(CAdvancedDlg, fw::CDialog)

BEGIN_MESSAGE_MAP(CAdvancedDlg, fw::CDialog)
ON_BN_CLICKED(IDC_ADVANCED_OK, OnAdvancedOk)
ON_BN_CLICKED(IDC_ADVANCED_CANCEL, OnAdvancedCancel)
ON_BN_CLICKED(IDC_FIXED_CAP_CHECK, OnFixedCapCheck)
ON_BN_CLICKED(IDC_MIN_CAP_LIMIT, OnMinCapLimit)
ON_CBN_SELCHANGE(IDC_HUB_PORT_STYLE, OnSelchangeHubPort)
END_MESSAGE_MAP()

CAdvancedDlg::CAdvancedDlg(fw::CWnd* pParent) : fw::CDialog(IDD_ADVANCED, pParent) {}

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
    m_nHubPort = ReadByte(kAdvanced, "HubPort", 0);
    if (m_nHubPort < kHubPortFixed || m_nHubPort > kHubPortVidPid) {
        m_nHubPort = kHubPortDefault;
    }
    m_bFactoryDriver = ReadByte(kAdvanced, "FactoryDriver", 0) != 0;
    m_bCheckDDR = ReadByte(kAdvanced, "CheckDDR", 0) != 0;

    m_nSortingBlockNum = ReadByte(kAdvanced, "SortingBlockNum", 0);
    if (m_nSortingBlockNum > 6) {
        m_nSortingBlockNum = 0;
    }
    m_nAutoMPTimer = ReadByte(kAdvanced, "AutoMPTimer", 0);
    if (m_nAutoMPTimer == 0) {
        m_nAutoMPTimer = 1;
    } else if (m_nAutoMPTimer > 5) {
        m_nAutoMPTimer = 5;
    }
    m_nStartDelay = ReadByte(kAdvanced, "StartDelay", 0);

    m_bSpecialSortingClassCheck = ReadByte(kAdvanced, "SpecialSortingClassCheck", 0) != 0;
    m_bCheckDataRetain = ReadByte(kAdvanced, "CheckDataRetain", 0) != 0;
    m_bSetSum19nmFeature = ReadByte(kAdvanced, "SetSum19nmFeature", 0) != 0;
    m_bUELC = ReadByte(kAdvanced, "UELC", 0) != 0;
    m_bCloseReadRetry = ReadByte(kAdvanced, "CloseReadRetry", 0) != 0;
    m_bCheckFixedCap = ReadByte(kAdvanced, "CheckFixedCap", 0) != 0;

    m_nCheckLevel = ReadByte(kAdvanced, "CheckLevel", 0);
    if (m_nCheckLevel > 6) {
        m_nCheckLevel = 0;
    }
    m_nFixedCapability = ReadByte(kAdvanced, "FixedCapability", 1);
    if (m_nFixedCapability > 3) {
        m_nFixedCapability = 1;
    }
    m_nCheckFlashPin = ReadByte(kAdvanced, "CheckFlashPin", 0);
    m_nSandiskIDMode = ReadByte(kAdvanced, "ReadSandiskFlashID", 0);
    m_nCheckTog = ReadByte(kAdvanced, "CheckTog", 0);
    m_nForRamos = ReadByte(kAdvanced, "ForRamos", 0);
    m_nUIType = ReadByte(kSetup, "UIType", 0);
    m_bMinCapLimit = ReadByte(kAdvanced, "MinCapLimit", 0) != 0;
    m_nMinCap = static_cast<int32_t>(ini::GetInt(kAdvanced, "MinCap", 0, g_strJobFile));
    m_nID00Err = ReadByte(kAdvanced, "ID00Err", 0);
    m_nGPI = ReadByte(kAdvanced, "GPI", 0);
    if (m_nGPI > 4) {
        m_nGPI = 0;
    }
    m_bCacheProgram = ReadByte(kAdvanced, "CacheProgram", 0) != 0;
    m_bMultiPlane = ReadByte(kAdvanced, "MultiPlane", 0) != 0;
    m_strVidPid = ini::GetString(kAdvanced, "VID_PID", "", g_strJobFile);
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

BOOL CAdvancedDlg::SaveAdvancedSettings(const std::string& strPath) {
    const std::string target = strPath.empty() ? g_strJobFile : strPath;
    auto writeInt = [&](const char* section, const char* key, int nValue) {
        ini::WriteInt(section, key, nValue, target);
    };
    auto writeFlag = [&](const char* key, int nID) {
        ini::WriteString(kAdvanced, key, IsDlgButtonChecked(nID) == BST_CHECKED ? "1" : "0",
                         target);
    };

    // Everything that can refuse the save is settled before the first key is
    // written, so a refused OK leaves the file as it was.
    const int nHubPort = m_comboHubPort.GetCurSel();
    std::string joinedVidPid;
    switch (nHubPort) {
        case kHubPortFixed:
        case kHubPortUnfixed:
            break;
        case kHubPortFromProfile:
            if (files::CanOpenForReading(g_strHubProfile)) {
                if (MessageBox("Do you want to delete \"HubProfile.cfg\" file and Resetting it "
                               "again?",
                               nullptr, MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
                    if (!files::Remove(g_strHubProfile)) {
                        MessageBox("The hub profile file \"" + g_strHubProfile +
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
    writeInt(kAdvanced, "HubPort", bKnownStyle ? nHubPort : kHubPortDefault);
    if (nHubPort == kHubPortVidPid) {
        ini::WriteString(kAdvanced, "VID_PID", m_strVidPid, target);
        ini::WriteString(kAdvanced, "VID_PID_RE", joinedVidPid, target);
    }

    writeFlag("FactoryDriver", IDC_FACTORY_DRIVER);
    writeFlag("CheckDDR", IDC_CHECK_DDR);

    writeInt(kAdvanced, "SortingBlockNum", StoredIndex(m_comboSortingBlockNum));
    writeInt(kAdvanced, "CheckLevel", StoredIndex(m_comboCheckLevel));
    writeInt(kAdvanced, "FixedCapability", StoredIndex(m_comboFixedCapability));
    writeInt(kAdvanced, "AutoMPTimer", StoredIndex(m_comboAutoMPTimer) + 1);
    writeInt(kAdvanced, "StartDelay", StoredIndex(m_comboStartDelay));

    writeFlag("SpecialSortingClassCheck", IDC_SPECIAL_SORTING_CLASS_CHECK);
    writeFlag("CheckDataRetain", IDC_DATA_RETAIN_CHECK);
    writeFlag("SetSum19nmFeature", IDC_SUM19NM_FEATURE);
    writeFlag("UELC", IDC_UNERASE_LEVEL_COMMAND);
    writeFlag("CloseReadRetry", IDC_CLOSE_READ_RETRY);
    writeFlag("CheckFixedCap", IDC_FIXED_CAP_CHECK);
    writeFlag("MinCapLimit", IDC_MIN_CAP_LIMIT);
    ini::WriteString(kAdvanced, "MinCap", GetDlgItemText(IDC_MIN_CAP), target);

    writeInt(kAdvanced, "CheckFlashPin", StoredIndex(m_comboCheckFlashPin));
    writeInt(kAdvanced, "ReadSandiskFlashID", StoredIndex(m_comboSandiskID));
    writeInt(kAdvanced, "CheckTog", StoredIndex(m_comboCheckTog));
    writeInt(kAdvanced, "ID00Err", StoredIndex(m_comboID00Err));
    writeInt(kSetup, "UIType", StoredIndex(m_comboUIType));
    writeInt(kAdvanced, "GPI", StoredIndex(m_comboGPI));
    writeFlag("CacheProgram", IDC_CACHE_PROGRAM);
    writeFlag("MultiPlane", IDC_MULTI_PLANE);
    return TRUE;
}

void CAdvancedDlg::OnAdvancedOk() {
    // The controls are checked first (the VID/PID text's length), so that a
    // refused OK has written nothing.
    if (!UpdateData(TRUE)) {
        return;
    }
    if (!SaveAdvancedSettings(g_strJobFile)) {
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

namespace {

// How a key travels between job files.
enum class Carry {
    Flag,    // "1" when the whole number is not zero, else "0"
    Range,   // the number when it is in [nLow, nHigh], else nOtherwise
    String,  // the text unchanged
};

const struct {
    const char* section;
    const char* key;
    Carry carry;
    int nLow;
    int nHigh;
    int nOtherwise;
    int nMissing;  // what a missing key arrives as (numbers only)
} kTransferredKeys[] = {
    // Each value the dialog stores arrives as itself; a missing key arrives
    // as what the dialog reads for it. Any other number arrives as the
    // fallback the stations have always been given for it.
    {kAdvanced, "HubPort", Carry::Range, 0, 4, 0, 0},
    {kAdvanced, "CheckDDR", Carry::Flag, 0, 0, 0, 0},
    {kAdvanced, "SortingBlockNum", Carry::Range, 1, 6, 0, 0},
    {kAdvanced, "CheckLevel", Carry::Range, 1, 6, 0, 0},
    {kAdvanced, "FixedCapability", Carry::Range, 1, 3, 0, 1},
    {kAdvanced, "AutoMPTimer", Carry::Range, 2, 5, 1, 1},
    {kAdvanced, "SpecialSortingClassCheck", Carry::Flag, 0, 0, 0, 0},
    {kAdvanced, "CheckDataRetain", Carry::Flag, 0, 0, 0, 0},
    {kAdvanced, "SetSum19nmFeature", Carry::Flag, 0, 0, 0, 0},
    {kAdvanced, "UELC", Carry::Flag, 0, 0, 0, 0},
    {kAdvanced, "CheckFixedCap", Carry::Flag, 0, 0, 0, 0},
    {kAdvanced, "CheckFlashPin", Carry::Range, 1, 2, 0, 0},
    {kAdvanced, "ReadSandiskFlashID", Carry::Range, 1, 3, 0, 0},
    {kAdvanced, "CheckTog", Carry::Range, 1, 2, 0, 0},
    {kSetup, "UIType", Carry::Range, 1, 5, 0, 0},
    {kSetup, "RowShow", Carry::Flag, 0, 0, 0, 0},
    {kAdvanced, "MinCapLimit", Carry::Flag, 0, 0, 0, 0},
    {kAdvanced, "MinCap", Carry::String, 0, 0, 0, 0},
};

// The hub VID/PID list, which travels with hub port style 4 only.
const char* const kVidPidKeys[] = {"VID_PID", "VID_PID_RE"};

}  // namespace

BOOL CopyAdvancedSettings(int nDirection, const std::string& strPath) {
    if (strPath.empty()) {
        return FALSE;
    }
    const std::string source = nDirection != 0 ? g_strJobFile : strPath;
    const std::string target = nDirection != 0 ? strPath : g_strJobFile;
    // The target is replaced once, not once a key (or with the keys of the
    // export that holds this batch inside its own).
    ini::WriteBatch batch;
    bool bWritten = true;
    auto copyText = [&](const char* section, const char* key) {
        bWritten =
            ini::WriteString(section, key, ini::GetString(section, key, "", source), target) &&
            bWritten;
    };
    for (const auto& row : kTransferredKeys) {
        if (row.carry == Carry::String) {
            copyText(row.section, row.key);
            continue;
        }
        // The integer read gives its default for a missing key and for an
        // empty value alike; so does the text read.
        const bool bMissing = ini::GetString(row.section, row.key, "", source).empty();
        const int32_t nValue = static_cast<int32_t>(ini::GetInt(row.section, row.key, 0, source));
        int32_t nWritten;
        if (bMissing) {
            nWritten = row.nMissing;
        } else if (row.carry == Carry::Flag) {
            nWritten = nValue != 0 ? 1 : 0;
        } else {
            nWritten = nValue >= row.nLow && nValue <= row.nHigh ? nValue : row.nOtherwise;
        }
        bWritten = ini::WriteInt(row.section, row.key, nWritten, target) && bWritten;
        if (std::strcmp(row.key, "HubPort") == 0 && nWritten == kHubPortVidPid) {
            for (const char* key : kVidPidKeys) {
                copyText(kAdvanced, key);
            }
        }
    }
    if (!batch.Commit().empty()) {
        bWritten = false;
    }
    return bWritten ? TRUE : FALSE;
}
