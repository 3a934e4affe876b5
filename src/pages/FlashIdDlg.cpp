#include "pages/FlashIdDlg.h"

#include <cstdio>
#include <string>

#include "module/globals.h"
#include "resource.h"

namespace {

// An ID is drawn in its colour on white.
constexpr COLORREF kIdBackground = RGB(255, 255, 255);
// The edits take two characters: one byte in hexadecimal digits.
constexpr int kByteChars = 2;
// The edits' text is read as a 260-character buffer holds it.
constexpr size_t kMaxByteText = 259;

int ByteEditId(int nByte) {
    return IDC_FID_BYTE1 + nByte;
}

}  // namespace

IMPLEMENT_DYNAMIC(CFlashIdDlg, fw::CDialog)

BEGIN_MESSAGE_MAP(CFlashIdDlg, fw::CDialog)
ON_BN_CLICKED(IDC_FID_DELETE, OnDelete)
ON_BN_CLICKED(IDC_FID_ADD, OnAdd)
ON_STN_CLICKED(IDC_FID_SWATCH, OnSwatch)
END_MESSAGE_MAP()

CFlashIdDlg::CFlashIdDlg(fw::CWnd* pParent) : fw::CDialog(IDD_FLASH_ID, pParent) {}

void CFlashIdDlg::DoDataExchange(fw::CDataExchange* pDX) {
    fw::CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FID_COLOR_NAME, m_comboColorName);
    DDX_Control(pDX, IDC_FID_COLOR_NAMES, m_listColorNames);
    DDX_Control(pDX, IDC_FID_LIST, m_listIds);
    for (int nByte = CJobSettings::kFlashIdBytes - 1; nByte >= 0; --nByte) {
        DDX_Control(pDX, ByteEditId(nByte), m_editByte[nByte]);
    }
    if (!pDX->m_bSaveAndValidate) {
        for (fw::CEdit& edit : m_editByte) {
            edit.LimitText(kByteChars);
        }
    }
}

BOOL CFlashIdDlg::OnInitDialog() {
    fw::CDialog::OnInitDialog();

    // The bytes of [CheckFlash] FID, byte 1 first.
    for (int nByte = 0; nByte < CJobSettings::kFlashIdBytes; ++nByte) {
        char text[8];
        std::snprintf(text, sizeof text, "%02X", JobSettings.CheckFlash.FID[nByte]);
        m_editByte[nByte].SetWindowText(text);
    }

    // "BLUE": nothing changes the choice afterwards, so every added ID is blue.
    m_comboColorName.SetCurSel(0);

    const CJobSettings::CheckIDSection& table = JobSettings.CheckID;
    const int nCount = static_cast<int>(table.Num < static_cast<uint32_t>(CJobSettings::kCheckIds)
                                            ? table.Num
                                            : CJobSettings::kCheckIds);
    for (int i = 0; i < nCount; ++i) {
        AppendId(table.FID[i], static_cast<COLORREF>(table.FIDCOR[i]),
                 ColorNameOf(g_strFlashIdColorNames, table.COLOR[i]), table.COLOR[i]);
    }
    UpdateAddButton();

    // The last ID's colour; black when there is none.
    m_swatch.SubclassDlgItem(IDC_FID_SWATCH, this);
    m_crCurrent = nCount > 0 ? static_cast<COLORREF>(table.FIDCOR[nCount - 1]) : RGB(0, 0, 0);
    m_swatch.SetBackColor(m_crCurrent);
    return TRUE;
}

void CFlashIdDlg::AppendId(const std::string& text, COLORREF crText, const std::string& colorName,
                           int32_t nColorIndex) {
    m_listIds.AddColorString(text, crText, kIdBackground);
    const int nName = m_listColorNames.AddString(colorName);
    if (nName >= 0) {
        m_listColorNames.SetItemData(nName,
                                     static_cast<DWORD_PTR>(static_cast<uint32_t>(nColorIndex)));
    }
}

void CFlashIdDlg::UpdateAddButton() {
    GetDlgItem(IDC_FID_ADD)->EnableWindow(m_listIds.GetCount() < CJobSettings::kCheckIds);
}

void CFlashIdDlg::OnAdd() {
    // The bytes as typed: "0x" before each, "," between them. Nothing is
    // checked; an empty edit gives a bare "0x".
    std::string text;
    for (int nByte = 0; nByte < CJobSettings::kFlashIdBytes; ++nByte) {
        if (nByte > 0) {
            text += ",";
        }
        text += "0x" + m_editByte[nByte].GetWindowText().substr(0, kMaxByteText);
    }
    const int nChoice = m_comboColorName.GetCurSel();
    const std::string colorName = nChoice >= 0 ? m_comboColorName.GetLBText(nChoice) : "";
    AppendId(text, m_crCurrent, colorName, ColorNameIndex(g_strFlashIdColorNames, colorName));
    UpdateAddButton();
}

void CFlashIdDlg::OnDelete() {
    const int nItem = m_listIds.GetCurSel();
    if (nItem < 0) {
        return;
    }
    m_listIds.FreeItem(nItem);
    m_listIds.DeleteString(static_cast<UINT>(nItem));
    m_listColorNames.DeleteString(static_cast<UINT>(nItem));
    UpdateAddButton();
}

void CFlashIdDlg::OnSwatch() {
    // Only IDs added from now on take the colour.
    fw::CColorDialog dlg;  // no initial colour, default flags, no parent
    if (dlg.DoModal() != IDOK) {
        return;
    }
    m_crCurrent = dlg.GetColor();
    m_swatch.SetBackColor(m_crCurrent);
}

void CFlashIdDlg::OnOK() {
    CJobSettings::CheckIDSection& table = JobSettings.CheckID;
    int nCount = m_listIds.GetCount();
    if (nCount > CJobSettings::kCheckIds) {
        nCount = CJobSettings::kCheckIds;
    }
    table.Num = static_cast<uint32_t>(nCount > 0 ? nCount : 0);
    for (int i = 0; i < nCount; ++i) {
        table.FID[i] = m_listIds.GetItemString(i);
        // A name the table knows gives its index; an index it does not know
        // (loaded from the file, shown without a name) stays as loaded.
        int32_t nColor = ColorNameIndex(g_strFlashIdColorNames, m_listColorNames.GetText(i));
        if (nColor < 0) {
            nColor = static_cast<int32_t>(static_cast<uint32_t>(m_listColorNames.GetItemData(i)));
        }
        table.COLOR[i] = nColor;
        table.FIDCOR[i] = static_cast<int32_t>(m_listIds.GetItemTextColor(i));
    }
    fw::CDialog::OnOK();
}
