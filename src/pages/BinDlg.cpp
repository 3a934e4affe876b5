#include "pages/BinDlg.h"

#include <cstdint>
#include <string>

#include "module/LanguageText.h"
#include "module/globals.h"
#include "resource.h"

namespace {

using jobsettings::JobKey;

// Controls whose template caption is replaced by the text of a language key.
// Show U3 Bin and Show SSD Bin keep their template captions.
const LanguageCaption kCaptions[] = {
    {IDC_BIN_CHECK_ENABLE, "IDS_SETUP_UI_BIN_CHECK_ENABLE"},
    {IDC_COLOR_VERIFY, "IDS_SETUP_UI_COLOR_CHECK_ENABLE"},
    {IDC_STAND_BIN, "IDS_SETUP_UI_STAND_BIN"},
    {IDC_U3_COLOR_VERIFY, "IDS_SETUP_UI_COLOR_CHECK_ENABLE"},
    {IDC_SHOW_U2_BIN, "IDS_SETUP_UI_SHOW_U2_BIN"},
    {IDC_ENHANCE_CHECK_LABEL, "IDS_SETUP_UI_ENHANCE_CHECK"},
    {IDC_SET_BG_COLOR, "IDS_SETUP_UI_SET_U3_BGCOLOR"},
};

// [U3Bin] EnhanceCheck is the index of the list's item: the language's
// default, then "ON", then "OFF".
constexpr int kEnhanceItems = 3;

// The U3 bins whose threshold and swatch the page ever offers.
constexpr int kLiveU3Bins = 2;

}  // namespace

IMPLEMENT_DYNAMIC(CBinDlg, CSettingsPage)

BEGIN_MESSAGE_MAP(CBinDlg, CSettingsPage)
ON_CONTROL_RANGE(BN_CLICKED, IDC_BIN_SWATCH1, IDC_BIN_SWATCH16, OnBinSwatch)
ON_BN_CLICKED(IDC_COLOR_VERIFY, OnColorVerify)
ON_BN_CLICKED(IDC_STAND_BIN, OnStandBin)
ON_BN_CLICKED(IDC_SHOW_U3_BIN, OnShowU3Bin)
ON_BN_CLICKED(IDC_SHOW_SSD_BIN, OnShowSsdBin)
ON_BN_CLICKED(IDC_U3_COLOR_VERIFY, OnU3ColorVerify)
ON_CONTROL_RANGE(BN_CLICKED, IDC_U3_BIN_SWATCH1, IDC_BG_SWATCH, OnU3Swatch)
ON_BN_CLICKED(IDC_SET_BG_COLOR, OnSetBgColor)
END_MESSAGE_MAP()

CBinDlg::CBinDlg(const Visit& visit) : CSettingsPage(IDD_BIN, visit) {}

void CBinDlg::DoDataExchange(fw::CDataExchange* pDX) {
    CSettingsPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ENHANCE_CHECK, m_enhanceCombo);
}

bool CBinDlg::CountsBadBlocks() {
    const uint8_t nFlashCheck = JobSettings.Sorting.FlashCheck;
    return nFlashCheck >= 3 && nFlashCheck <= 5;
}

void CBinDlg::AttachSwatch(CColorStatic& swatch, int nID) {
    // Once per window: a reload finds the swatch attached already.
    if (swatch.GetSafeHwnd() == nullptr) {
        swatch.SubclassDlgItem(static_cast<UINT>(nID), this);
    }
}

void CBinDlg::EnableItem(int nID, BOOL bEnable) {
    GetDlgItem(nID)->EnableWindow(bEnable);
}

void CBinDlg::ShowItem(int nID, BOOL bShow) {
    GetDlgItem(nID)->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void CBinDlg::EnableStandardThresholds(BOOL bEnable) {
    for (int i = 0; i < CJobSettings::kBins; ++i) {
        EnableItem(IDC_BIN_THRESHOLD1 + i, bEnable);
    }
}

void CBinDlg::EnableSharedU3Options(BOOL bEnable) {
    for (int nID : {IDC_SHOW_U2_BIN, IDC_ENHANCE_CHECK_LABEL, IDC_ENHANCE_CHECK, IDC_SET_BG_COLOR,
                    IDC_U3_COLOR_VERIFY}) {
        EnableItem(nID, bEnable);
    }
}

void CBinDlg::FillControls(const std::string& /*file*/) {
    const CJobSettings::BINSection& bin = JobSettings.BIN;
    const CJobSettings::U3BinSection& u3 = JobSettings.U3Bin;

    SetLanguageCaptions(*this, kCaptions);

    const bool bBadBlocks = CountsBadBlocks();
    for (int i = 0; i < CJobSettings::kBins; ++i) {
        const int32_t nThreshold = bBadBlocks ? bin.BinBB[i] : bin.BinCap[i];
        SetDlgItemText(IDC_BIN_THRESHOLD1 + i, std::to_string(nThreshold));
        SetDlgItemText(IDC_BIN_UNIT1 + i, bBadBlocks ? "B" : "M");
        AttachSwatch(m_binSwatch[i], IDC_BIN_SWATCH1 + i);
        m_binSwatch[i].SetBackColor(bin.BINCO[i]);
    }

    // The labels may count from 0; the keys always count from 1.
    const int nFirstLabel = bin.Grade0Base != 0 ? 0 : 1;
    for (int i = 0; i < CJobSettings::kBins; ++i) {
        SetDlgItemText(IDC_BIN_LABEL1 + i, "Bin " + std::to_string(nFirstLabel + i));
    }

    CheckDlgButton(IDC_BIN_CHECK_ENABLE, bin.ShowBin != 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_COLOR_VERIFY, bin.ColorBin != 0 ? BST_CHECKED : BST_UNCHECKED);
    OnColorVerify();
    CheckDlgButton(IDC_STAND_BIN, bin.StandBin != 0 ? BST_CHECKED : BST_UNCHECKED);

    // Every state is set both ways, so that a reload shows what a freshly
    // opened page shows for the settings now loaded, whatever an earlier
    // state of the page disabled.
    const bool bU3OrSsd = u3.ShowU3Bin != 0 || u3.ShowSSDBin != 0;
    EnableStandardThresholds(bin.StandBin == 0 && !bU3OrSsd);
    EnableItem(IDC_STAND_BIN, !bU3OrSsd);
    EnableItem(IDC_COLOR_VERIFY, !bU3OrSsd);

    CheckDlgButton(IDC_SHOW_U3_BIN, u3.ShowU3Bin != 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_SHOW_U2_BIN, u3.ShowU2Bin != 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_SHOW_SSD_BIN, u3.ShowSSDBin != 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_SET_BG_COLOR, u3.SetU3BinBgColor != 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_U3_COLOR_VERIFY, u3.U3ColorBin != 0 ? BST_CHECKED : BST_UNCHECKED);

    m_enhanceCombo.ResetContent();
    m_enhanceCombo.AddString(GetLanguageText("IDS_SETUP_UI_DEFAULT"));
    m_enhanceCombo.AddString("ON");
    m_enhanceCombo.AddString("OFF");
    m_enhanceCombo.SetCurSel(u3.EnhanceCheck);

    for (int k = 0; k < CJobSettings::kU3Bins; ++k) {
        SetDlgItemText(IDC_U3_BIN_THRESHOLD1 + k, std::to_string(u3.U3BinCap[k]));
        AttachSwatch(m_u3Swatch[k], IDC_U3_BIN_SWATCH1 + k);
        m_u3Swatch[k].SetBackColor(u3.U3BinCo[k]);
    }

    SetDlgItemText(IDC_SSD_BIN_THRESHOLD, std::to_string(u3.SSDBinCap));
    AttachSwatch(m_ssdSwatch, IDC_SSD_BIN_SWATCH);
    m_ssdSwatch.SetBackColor(u3.SSDBinCo);

    OnU3ColorVerify();

    AttachSwatch(m_bgSwatch, IDC_BG_SWATCH);
    m_bgSwatch.SetBackColor(u3.U3BinBgColor);

    EnableSharedU3Options(bU3OrSsd);
    for (int k = 0; k < CJobSettings::kU3Bins; ++k) {
        EnableItem(IDC_U3_BIN_THRESHOLD1 + k, bU3OrSsd && k < kLiveU3Bins);
    }
    EnableItem(IDC_SSD_BIN_THRESHOLD, bU3OrSsd);
    EnableItem(IDC_BIN_CHECK_ENABLE, !bU3OrSsd);

    OnSetBgColor();
}

// --- Check boxes --------------------------------------------------------------------

void CBinDlg::OnColorVerify() {
    const BOOL bShow = IsDlgButtonChecked(IDC_COLOR_VERIFY) == BST_CHECKED;
    for (int i = 0; i < CJobSettings::kBins; ++i) {
        ShowItem(IDC_BIN_SWATCH1 + i, bShow);
    }
}

void CBinDlg::OnStandBin() {
    EnableStandardThresholds(IsDlgButtonChecked(IDC_STAND_BIN) != BST_CHECKED);
}

void CBinDlg::OnU3ColorVerify() {
    const BOOL bShow = IsDlgButtonChecked(IDC_U3_COLOR_VERIFY) == BST_CHECKED;
    for (int k = 0; k < CJobSettings::kU3Bins; ++k) {
        ShowItem(IDC_U3_BIN_SWATCH1 + k, bShow && k < kLiveU3Bins);
    }
    ShowItem(IDC_SSD_BIN_SWATCH, bShow);
}

void CBinDlg::OnSetBgColor() {
    ShowItem(IDC_BG_SWATCH, IsDlgButtonChecked(IDC_SET_BG_COLOR) == BST_CHECKED);
}

// Show U3 Bin and Show SSD Bin each switch the shared U3 options and the
// standard bin controls on their own: unchecking one turns the shared options
// off even while the other is checked. Unchecked, they leave the standard
// thresholds as they are (Stan Bin decides those again when it is clicked).
void CBinDlg::SwitchU3Options(BOOL bOn) {
    EnableSharedU3Options(bOn);
    CheckDlgButton(IDC_SHOW_U2_BIN, bOn ? BST_CHECKED : BST_UNCHECKED);
    EnableItem(IDC_BIN_CHECK_ENABLE, !bOn);
    if (bOn) {
        EnableStandardThresholds(FALSE);
    }
    EnableItem(IDC_STAND_BIN, !bOn);
    EnableItem(IDC_COLOR_VERIFY, !bOn);
}

void CBinDlg::OnShowU3Bin() {
    const BOOL bOn = IsDlgButtonChecked(IDC_SHOW_U3_BIN) == BST_CHECKED;
    SwitchU3Options(bOn);
    if (bOn) {
        for (int k = 0; k < kLiveU3Bins; ++k) {
            EnableItem(IDC_U3_BIN_THRESHOLD1 + k, TRUE);
        }
        for (int k = kLiveU3Bins; k < CJobSettings::kU3Bins; ++k) {
            ShowItem(IDC_U3_BIN_SWATCH1 + k, FALSE);
        }
    } else {
        for (int k = 0; k < CJobSettings::kU3Bins; ++k) {
            EnableItem(IDC_U3_BIN_THRESHOLD1 + k, FALSE);
        }
    }
}

void CBinDlg::OnShowSsdBin() {
    const BOOL bOn = IsDlgButtonChecked(IDC_SHOW_SSD_BIN) == BST_CHECKED;
    SwitchU3Options(bOn);
    EnableItem(IDC_SSD_BIN_THRESHOLD, bOn);
}

// --- Colours ----------------------------------------------------------------------------

bool CBinDlg::PickColor(COLORREF& color) {
    fw::CColorDialog dlg;  // no initial colour, default flags
    if (dlg.DoModal() != IDOK) {
        return false;
    }
    color = dlg.GetColor();
    return true;
}

void CBinDlg::OnBinSwatch(UINT nID) {
    COLORREF color = 0;
    if (!PickColor(color)) {
        return;
    }
    const int n = static_cast<int>(nID) - IDC_BIN_SWATCH1;
    m_binSwatch[n].SetBackColor(color);
    JobSettings.BIN.BINCO[n] = color;
}

void CBinDlg::OnU3Swatch(UINT nID) {
    const int nControl = static_cast<int>(nID);
    if (nControl != IDC_SSD_BIN_SWATCH && nControl != IDC_BG_SWATCH &&
        (nControl < IDC_U3_BIN_SWATCH1 || nControl > IDC_U3_BIN_SWATCH8)) {
        return;  // the range has no other swatch
    }
    COLORREF color = 0;
    if (!PickColor(color)) {
        return;
    }
    if (nControl == IDC_SSD_BIN_SWATCH) {
        // The SSD colour alone: the background keeps its own.
        m_ssdSwatch.SetBackColor(color);
        JobSettings.U3Bin.SSDBinCo = color;
    } else if (nControl == IDC_BG_SWATCH) {
        m_bgSwatch.SetBackColor(color);
        JobSettings.U3Bin.U3BinBgColor = color;
    } else {
        const int k = nControl - IDC_U3_BIN_SWATCH1;
        m_u3Swatch[k].SetBackColor(color);
        JobSettings.U3Bin.U3BinCo[k] = color;
    }
}

// --- Saving -------------------------------------------------------------------------------

BOOL CBinDlg::SaveSettings(const std::string& path) {
    jobsettings::JobFileWriter writer(FileOr(path));
    auto checked = [&](int nID) { return IsDlgButtonChecked(nID) == BST_CHECKED; };
    // Colours are written as signed decimal, as they have always been stored.
    auto color = [](uint32_t value) { return static_cast<int32_t>(value); };

    writer.Flag(JobKey::ShowBin, checked(IDC_BIN_CHECK_ENABLE));
    writer.Flag(JobKey::StandBin, checked(IDC_STAND_BIN));
    writer.Flag(JobKey::ColorBin, checked(IDC_COLOR_VERIFY));

    // Only the family of thresholds the page shows is written; the other
    // keeps what the file holds.
    const JobKey threshold = CountsBadBlocks() ? JobKey::BinBB : JobKey::BinCap;
    for (int i = 0; i < CJobSettings::kBins; ++i) {
        writer.Text(threshold, GetDlgItemText(IDC_BIN_THRESHOLD1 + i), i);
        writer.Number(JobKey::BINCO, color(JobSettings.BIN.BINCO[i]), i);
    }

    // The station shows one bin set: U3 or SSD bins replace the standard ones.
    for (const JobKey key : {JobKey::ShowU3Bin, JobKey::ShowSSDBin}) {
        const bool bOn = checked(key == JobKey::ShowU3Bin ? IDC_SHOW_U3_BIN : IDC_SHOW_SSD_BIN);
        writer.Flag(key, bOn);
        if (bOn) {
            writer.Flag(JobKey::ShowBin, false);
        }
    }
    writer.Flag(JobKey::ShowU2Bin, checked(IDC_SHOW_U2_BIN));

    const int nEnhance = m_enhanceCombo.GetCurSel();
    writer.Number(JobKey::EnhanceCheck, nEnhance > 0 && nEnhance < kEnhanceItems ? nEnhance : 0);

    writer.Flag(JobKey::U3ColorBin, checked(IDC_U3_COLOR_VERIFY));
    writer.Flag(JobKey::SetU3BinBgColor, checked(IDC_SET_BG_COLOR));

    for (int k = 0; k < CJobSettings::kU3Bins; ++k) {
        writer.Text(JobKey::U3BinCap, GetDlgItemText(IDC_U3_BIN_THRESHOLD1 + k), k);
        writer.Number(JobKey::U3BinCo, color(JobSettings.U3Bin.U3BinCo[k]), k);
    }
    writer.Text(JobKey::SSDBinCap, GetDlgItemText(IDC_SSD_BIN_THRESHOLD));
    writer.Number(JobKey::SSDBinCo, color(JobSettings.U3Bin.SSDBinCo));
    writer.Number(JobKey::U3BinBgColor, color(JobSettings.U3Bin.U3BinBgColor));
    return ReportUnwritten(*this, writer, "bin");
}
