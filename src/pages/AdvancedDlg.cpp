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

// A list's items, after the language's Default when it has one.
struct ListItems {
    const char* const* items = nullptr;
    int count = 0;
    bool bDefaultFirst = false;
};
template <size_t N>
constexpr ListItems Items(const char* const (&items)[N], bool bDefaultFirst) {
    return {items, static_cast<int>(N), bDefaultFirst};
}

// How a control shows its key.
enum class Shows {
    Check,        // checked for a number other than 0; stored 1 or 0
    List,         // the item at the number; stored: the selected index
    ListFromOne,  // the item at the number less 1; stored: the index plus 1
    Number,       // the whole number in an edit; stored: the edit's text
};

// The dialog's keys after the hub port style, in the order its OK writes
// them.
struct Field {
    JobKey key;
    int nID;
    Shows shows;
    ListItems items;
    ListItems ramosItems;           // with ForRamos, when the list differs
    bool bBeyondListFirst = false;  // a number beyond the list selects item 0
};
constexpr Field kFields[] = {
    {JobKey::FactoryDriver, IDC_FACTORY_DRIVER, Shows::Check, {}, {}},
    {JobKey::CheckDDR, IDC_CHECK_DDR, Shows::Check, {}, {}},
    {JobKey::SortingBlockNum, IDC_SORTING_BLOCK_NUM, Shows::List, Items(kSortingBlockNums, true),
     Items(kSortingBlockNumsRamos, false), true},
    {JobKey::CheckLevel, IDC_CHECK_LEVEL, Shows::List, Items(kCheckLevels, true),
     Items(kCheckLevelsRamos, false)},
    {JobKey::FixedCapability,
     IDC_FIXED_CAPABILITY,
     Shows::List,
     Items(kFixedCapabilities, false),
     {}},
    {JobKey::AutoMPTimer, IDC_AUTO_MP_TIMER, Shows::ListFromOne, Items(kAutoMPTimers, true), {}},
    {JobKey::StartDelay, IDC_START_DELAY, Shows::List, Items(kStartDelays, true), {}},
    {JobKey::SpecialSortingClassCheck, IDC_SPECIAL_SORTING_CLASS_CHECK, Shows::Check, {}, {}},
    {JobKey::CheckDataRetain, IDC_DATA_RETAIN_CHECK, Shows::Check, {}, {}},
    {JobKey::SetSum19nmFeature, IDC_SUM19NM_FEATURE, Shows::Check, {}, {}},
    {JobKey::UELC, IDC_UNERASE_LEVEL_COMMAND, Shows::Check, {}, {}},
    {JobKey::CloseReadRetry, IDC_CLOSE_READ_RETRY, Shows::Check, {}, {}},
    {JobKey::CheckFixedCap, IDC_FIXED_CAP_CHECK, Shows::Check, {}, {}},
    {JobKey::MinCapLimit, IDC_MIN_CAP_LIMIT, Shows::Check, {}, {}},
    {JobKey::MinCap, IDC_MIN_CAP, Shows::Number, {}, {}},
    {JobKey::CheckFlashPin, IDC_CHECK_FLASH_PIN, Shows::List, Items(kCheckFlashPins, false), {}},
    {JobKey::ReadSandiskFlashID, IDC_SANDISK_ID, Shows::List, Items(kSandiskIDModes, false), {}},
    {JobKey::CheckTog, IDC_CHECK_TOGGLE, Shows::List, Items(kCheckToggles, true), {}},
    {JobKey::ID00Err, IDC_ID00_ERROR, Shows::List, Items(kID00Errors, false), {}},
    {JobKey::UIType, IDC_UI_TYPE, Shows::List, Items(kUITypes, false), {}},
    {JobKey::GPI, IDC_GPI, Shows::List, Items(kGPIs, true), {}},
    {JobKey::CacheProgram, IDC_CACHE_PROGRAM, Shows::Check, {}, {}},
    {JobKey::MultiPlane, IDC_MULTI_PLANE, Shows::Check, {}, {}},
};

constexpr bool IsList(const Field& field) {
    return field.shows == Shows::List || field.shows == Shows::ListFromOne;
}

constexpr int CountLists() {
    int count = 0;
    for (const Field& field : kFields) {
        count += IsList(field) ? 1 : 0;
    }
    return count;
}
static_assert(CountLists() == CAdvancedDlg::kListCount, "one list control a list key");

// Empties the list and adds its items; the number of items.
int FillList(fw::CComboBox& combo, const ListItems& list) {
    combo.ResetContent();
    if (list.bDefaultFirst) {
        combo.AddString(GetLanguageText("IDS_SETUP_UI_DEFAULT"));
    }
    for (int i = 0; i < list.count; ++i) {
        combo.AddString(list.items[i]);
    }
    return combo.GetCount();
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
    int nList = 0;
    for (const Field& field : kFields) {
        if (IsList(field)) {
            DDX_Control(pDX, field.nID, m_lists[nList++]);
        }
    }
    DDX_Control(pDX, IDC_MIN_CAP, m_editMinCap);
    DDX_Text(pDX, IDC_HUB_VID_PID, m_strVidPid);
    DDV_MaxChars(pDX, m_strVidPid, kMaxVidPidChars);
}

fw::CComboBox* CAdvancedDlg::List(int nID) {
    for (fw::CComboBox& list : m_lists) {
        if (list.GetDlgCtrlID() == nID) {
            return &list;
        }
    }
    return nullptr;
}

BOOL CAdvancedDlg::OnInitDialog() {
    fw::CDialog::OnInitDialog();

    SetWindowText(GetLanguageText("IDS_SETUP_UI_ADVANCED"));
    SetLanguageCaptions(*this, kCaptions);

    // Shown whole even beyond the edit's limit; OK then refuses it.
    m_strVidPid = jobsettings::ReadText(m_visit.jobFile, JobKey::VidPid);
    SetDlgItemText(IDC_HUB_VID_PID, m_strVidPid);

    const uint8_t nHubPort = ReadByte(JobKey::HubPort);
    m_comboHubPort.ResetContent();
    for (const char* key : kHubPortKeys) {
        m_comboHubPort.AddString(GetLanguageText(key));
    }
    m_comboHubPort.SetCurSel(nHubPort);
    ShowVidPid(nHubPort == kHubPortVidPid);

    // Each key's rule puts a number the lists do not hold back in range. The
    // Ramos lists have no Default item and fewer sizes.
    const bool bRamos = ReadByte(JobKey::ForRamos) != 0;
    for (const Field& field : kFields) {
        if (field.shows == Shows::Number) {
            const auto nValue =
                static_cast<int32_t>(jobsettings::ReadNumber(m_visit.jobFile, field.key));
            SetDlgItemInt(field.nID, static_cast<UINT>(nValue), TRUE);
            continue;
        }
        const uint8_t nValue = ReadByte(field.key);
        if (field.shows == Shows::Check) {
            CheckDlgButton(field.nID, nValue != 0 ? BST_CHECKED : BST_UNCHECKED);
            continue;
        }
        fw::CComboBox& list = *List(field.nID);
        const int nItems =
            FillList(list, bRamos && field.ramosItems.count > 0 ? field.ramosItems : field.items);
        int nSel = field.shows == Shows::ListFromOne ? nValue - 1 : nValue;
        if (field.bBeyondListFirst && nSel >= nItems) {
            nSel = 0;
        }
        list.SetCurSel(nSel);
    }
    OnFixedCapCheck();
    OnMinCapLimit();
    return TRUE;
}

BOOL CAdvancedDlg::SaveAdvancedSettings() {
    jobsettings::JobFileWriter writer(m_visit.jobFile);

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

    for (const Field& field : kFields) {
        switch (field.shows) {
            case Shows::Check:
                writer.Flag(field.key, IsDlgButtonChecked(field.nID) == BST_CHECKED);
                break;
            case Shows::List:
            case Shows::ListFromOne: {
                // Nothing selected stores the first item's index.
                const int nSel = List(field.nID)->GetCurSel();
                writer.Number(field.key,
                              (nSel < 0 ? 0 : nSel) + (field.shows == Shows::ListFromOne ? 1 : 0));
                break;
            }
            case Shows::Number:
                writer.Text(field.key, GetDlgItemText(field.nID));
                break;
        }
    }
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
    List(IDC_FIXED_CAPABILITY)
        ->EnableWindow(IsDlgButtonChecked(IDC_FIXED_CAP_CHECK) == BST_CHECKED);
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
