#include "pages/SetupDlg.h"

#include <algorithm>
#include <string>

#include "module/FlashTable.h"
#include "module/LanguageText.h"
#include "module/globals.h"
#include "pages/FlashIdDlg.h"
#include "pages/FlashList.h"
#include "resource.h"
#include "settings/JobSettings.h"

namespace {

using jobsettings::JobKey;

// Controls whose template caption is replaced by the text of a language key.
// The "Test Flash" group and the "Open/Short CE" label keep their template
// captions; the read-loop labels start with the read texts.
const LanguageCaption kCaptions[] = {
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

// The read-loop labels for each loop direction ([CheckFlash] LoopSel):
// times, block, page.
const struct {
    const char* times;
    const char* block;
    const char* page;
} kLoopLabels[] = {
    {"IDS_SETUP_UI_POLLING_READ_TIMES", "IDS_SETUP_UI_POLLING_BLOCK", "IDS_SETUP_UI_POLLING_PAGE"},
    {"IDS_SETUP_UI_POLLING_WRITE_TIMES", "IDS_SETUP_UI_POLLING_BLOCK_WRITE",
     "IDS_SETUP_UI_POLLING_PAGE_WRITE"},
};

// [CheckFlash] LoopSel and OpenShortCE are the index of the list's item.
const char* const kLoopDirections[] = {"Read", "Write"};
constexpr uint32_t kLoopDirectionCount = 2;
constexpr uint32_t kChipEnables = 8;  // "CE:1" to "CE:8"

// The read-loop boxes' limits.
constexpr int kLoopTimesChars = 6;
constexpr int kLoopBlockChars = 5;
constexpr int kLoopPageChars = 4;

// [CheckFlash] CheckFlashMode.
enum CheckMode : uint8_t { kNameCheck = 0, kIdCheck = 1, kNoCheck = 2 };

}  // namespace

IMPLEMENT_DYNAMIC(CSetupDlg, CSettingsPage)

BEGIN_MESSAGE_MAP(CSetupDlg, CSettingsPage)
ON_BN_CLICKED(IDC_ADD_MODIFY, OnAddModify)
ON_BN_CLICKED(IDC_CHECK_FLASH_NAME, OnCheckFlashName)
ON_BN_CLICKED(IDC_CHECK_FLASH_ID, OnCheckFlashId)
ON_BN_CLICKED(IDC_NOT_CHECK, OnNotCheck)
ON_CBN_SELCHANGE(IDC_LOOP_SELECT, OnLoopSelectChange)
ON_CBN_SELCHANGE(IDC_OPEN_SHORT_CE, OnOpenShortCEChange)
END_MESSAGE_MAP()

CSetupDlg::CSetupDlg(const Visit& visit) : CSettingsPage(IDD_FLASH_CHECK, visit) {}

void CSetupDlg::DoDataExchange(fw::CDataExchange* pDX) {
    CSettingsPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FLASH_NAME, m_comboFlashName);
    DDX_Control(pDX, IDC_LOOP_SELECT, m_comboLoopSelect);
    DDX_Control(pDX, IDC_OPEN_SHORT_CE, m_comboOpenShortCE);
    // The limits apply to the boxes only. The boxes are disabled, so the
    // operator cannot shorten a longer text that the file holds: leaving the
    // page is not refused over it, and the save writes it back as it is.
    DDX_Text(pDX, IDC_LOOP_TIMES, m_strLoopTimes);
    if (!pDX->m_bSaveAndValidate) {
        DDV_MaxChars(pDX, m_strLoopTimes, kLoopTimesChars);
    }
    DDX_Text(pDX, IDC_LOOP_BLOCK, m_strLoopBlock);
    if (!pDX->m_bSaveAndValidate) {
        DDV_MaxChars(pDX, m_strLoopBlock, kLoopBlockChars);
    }
    DDX_Text(pDX, IDC_LOOP_PAGE, m_strLoopPage);
    if (!pDX->m_bSaveAndValidate) {
        DDV_MaxChars(pDX, m_strLoopPage, kLoopPageChars);
    }
}

void CSetupDlg::FillControls(const std::string& file) {
    // The initialization has bound the lists, shown the read-loop strings and
    // limited their boxes.

    SetLanguageCaptions(*this, kCaptions);

    FillFlashList(m_comboFlashName, GetVisit().flashTable);
    m_comboLoopSelect.ResetContent();
    for (const char* direction : kLoopDirections) {
        m_comboLoopSelect.AddString(direction);
    }
    m_comboOpenShortCE.ResetContent();
    for (uint32_t n = 1; n <= kChipEnables; ++n) {
        m_comboOpenShortCE.AddString("CE:" + std::to_string(n));
    }

    // The check mode; name check keeps its own stored flash, the others
    // preselect the host's current one. A mode the page does not know opens
    // as name check, with the other two radios cleared as a freshly opened
    // page has them.
    int32_t nPreselect = static_cast<int32_t>(GetVisit().flashIndex);
    const uint8_t nMode = JobSettings.CheckFlash.CheckFlashMode;
    CheckDlgButton(IDC_CHECK_FLASH_NAME,
                   nMode != kIdCheck && nMode != kNoCheck ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_CHECK_FLASH_ID, nMode == kIdCheck ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_NOT_CHECK, nMode == kNoCheck ? BST_CHECKED : BST_UNCHECKED);
    switch (nMode) {
        case kIdCheck:
            OnCheckFlashId();
            break;
        case kNoCheck:
            OnNotCheck();
            break;
        case kNameCheck:
            nPreselect = JobSettings.CheckFlash.FlashIndex;
            OnCheckFlashName();
            break;
        default:
            OnCheckFlashName();
            break;
    }
    // The platform's exact search from the top, which ignores case.
    int nFlashItem = -1;
    if (const FlashRecord* pRecord = FlashTableRecord(GetVisit().flashTable, nPreselect)) {
        nFlashItem = m_comboFlashName.FindStringExact(-1, FlashRecordListText(*pRecord));
    }

    CheckDlgButton(IDC_CHECK_LED_SHORT,
                   JobSettings.CheckFlash.CheckLEDShort != 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_CHECK_UID,
                   JobSettings.CheckFlash.CheckUID != 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_WARMUP, JobSettings.CheckFlash.WarmUp != 0 ? BST_CHECKED : BST_UNCHECKED);

    // These five come from the file itself, not from JobSettings.
    m_strLoopTimes = jobsettings::ReadText(file, JobKey::LoopTimes);
    m_strLoopPage = jobsettings::ReadText(file, JobKey::LoopPage);
    m_strLoopBlock = jobsettings::ReadText(file, JobKey::LoopBlock);
    SetDlgItemText(IDC_LOOP_TIMES, m_strLoopTimes);
    SetDlgItemText(IDC_LOOP_PAGE, m_strLoopPage);
    SetDlgItemText(IDC_LOOP_BLOCK, m_strLoopBlock);

    // Read as unsigned: a negative value is out of range too.
    const uint32_t nLoopSel = jobsettings::ReadNumber(file, JobKey::LoopSel);
    m_comboLoopSelect.SetCurSel(nLoopSel < kLoopDirectionCount ? static_cast<int>(nLoopSel) : 0);
    const uint32_t nChipEnable = jobsettings::ReadNumber(file, JobKey::OpenShortCE);
    m_comboOpenShortCE.SetCurSel(nChipEnable < kChipEnables ? static_cast<int>(nChipEnable) : 0);

    if (nFlashItem >= 0) {
        m_comboFlashName.SetCurSel(nFlashItem);
    }
    // The read labels stay whatever LoopSel holds; only a choice relabels.
}

void CSetupDlg::FillFlashIdList() {
    const CJobSettings::CheckIDSection& table = JobSettings.CheckID;
    std::string text;
    for (uint32_t i = 0; i < table.Num && i < static_cast<uint32_t>(CJobSettings::kCheckIds); ++i) {
        text += table.FID[i] + "    " + ColorNameOf(g_strColorNames, table.COLOR[i]) + "\r\n";
    }
    SetDlgItemText(IDC_FLASH_ID_LIST, text);
}

void CSetupDlg::EnableItem(int nID, BOOL bEnable) {
    GetDlgItem(nID)->EnableWindow(bEnable);
}

// --- Check mode ------------------------------------------------------------------

void CSetupDlg::OnCheckFlashName() {
    EnableItem(IDC_FLASH_NAME, TRUE);
    EnableItem(IDC_FLASH_ID_LIST, FALSE);
    EnableItem(IDC_ADD_MODIFY, FALSE);
}

void CSetupDlg::OnCheckFlashId() {
    EnableItem(IDC_FLASH_NAME, FALSE);
    EnableItem(IDC_FLASH_ID_LIST, TRUE);
    EnableItem(IDC_ADD_MODIFY, TRUE);
    FillFlashIdList();
}

void CSetupDlg::OnNotCheck() {
    EnableItem(IDC_FLASH_NAME, FALSE);
    EnableItem(IDC_FLASH_ID_LIST, FALSE);
    EnableItem(IDC_ADD_MODIFY, FALSE);
}

void CSetupDlg::OnAddModify() {
    // The editor changes JobSettings only on OK.
    CFlashIdDlg dlg;
    if (dlg.DoModal() == IDOK) {
        FillFlashIdList();
    }
}

void CSetupDlg::OnLoopSelectChange() {
    const int nSel = m_comboLoopSelect.GetCurSel();
    if (nSel < 0 || nSel >= static_cast<int>(kLoopDirectionCount)) {
        return;
    }
    SetDlgItemText(IDC_LOOP_TIMES_LABEL, GetLanguageText(kLoopLabels[nSel].times));
    SetDlgItemText(IDC_LOOP_BLOCK_LABEL, GetLanguageText(kLoopLabels[nSel].block));
    SetDlgItemText(IDC_LOOP_PAGE_LABEL, GetLanguageText(kLoopLabels[nSel].page));
}

void CSetupDlg::OnOpenShortCEChange() {}

// --- Saving -------------------------------------------------------------------------

BOOL CSetupDlg::SaveSettings(const std::string& path) {
    jobsettings::JobFileWriter writer(FileOr(path));
    auto checked = [&](int nID) { return IsDlgButtonChecked(nID) == BST_CHECKED; };

    writer.Number(
        JobKey::CheckFlashIndex,
        FlashTableFirstNamedAs(GetVisit().flashTable,
                               SelectedFlashRecord(m_comboFlashName, GetVisit().flashTable)));
    writer.Number(JobKey::LoopSel, m_comboLoopSelect.GetCurSel());
    writer.Number(JobKey::OpenShortCE, m_comboOpenShortCE.GetCurSel());

    // Each radio on its own; with none checked the flag keeps what the mode
    // page made of it.
    const struct {
        int nID;
        CheckMode mode;
    } modes[] = {{IDC_CHECK_FLASH_NAME, kNameCheck},
                 {IDC_CHECK_FLASH_ID, kIdCheck},
                 {IDC_NOT_CHECK, kNoCheck}};
    for (const auto& mode : modes) {
        if (checked(mode.nID)) {
            writer.Number(JobKey::CheckFlashMode, mode.mode);
            g_bFlashNameRequired = mode.mode == kNameCheck ? 1 : 0;
        }
    }

    const struct {
        int nID;
        JobKey key;
        int32_t& member;
    } options[] = {
        {IDC_CHECK_LED_SHORT, JobKey::CheckLEDShort, JobSettings.CheckFlash.CheckLEDShort},
        {IDC_CHECK_UID, JobKey::CheckUID, JobSettings.CheckFlash.CheckUID},
        {IDC_WARMUP, JobKey::WarmUp, JobSettings.CheckFlash.WarmUp},
    };
    for (const auto& option : options) {
        const bool bOn = checked(option.nID);
        writer.Flag(option.key, bOn);
        option.member = bOn ? 1 : 0;
    }

    const struct {
        int nID;
        JobKey key;
    } loops[] = {
        {IDC_LOOP_TIMES, JobKey::LoopTimes},
        {IDC_LOOP_PAGE, JobKey::LoopPage},
        {IDC_LOOP_BLOCK, JobKey::LoopBlock},
    };
    for (const auto& loop : loops) {
        const std::string text = GetDlgItemText(loop.nID);
        writer.Text(loop.key, text.empty() ? "0" : text);
    }

    if (g_bFlashNameRequired != 0 && m_comboFlashName.GetCurSel() < 0) {
        MessageBox(GetLanguageText("IDS_ERR_SEL_FLASH_NAME"), nullptr, MB_OK);
        return FALSE;
    }

    // Entries beyond the count, left from a longer list, stay in the file.
    const CJobSettings::CheckIDSection& table = JobSettings.CheckID;
    const size_t nIds = std::min<size_t>(table.Num, CJobSettings::kCheckIds);
    writer.Number(JobKey::CheckIdNum, static_cast<int32_t>(nIds));
    for (size_t i = 0; i < nIds; ++i) {
        writer.Text(JobKey::CheckIdFID, table.FID[i], i);
        writer.Number(JobKey::CheckIdColor, table.COLOR[i], i);
        writer.Number(JobKey::CheckIdTextColor, table.FIDCOR[i], i);
    }
    return ReportUnwritten(*this, writer, "flash check");
}
