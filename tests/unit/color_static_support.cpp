#include "unit/color_static_support.h"

#include "resource.h"
#include "unit/framework_test_support.h"

namespace cstest {

BEGIN_MESSAGE_MAP(CLabelDlg, fw::CDialog)
ON_NOTIFY_RANGE(CColorStatic::kClickNotification, kSwatch, kPlain, OnLabelNotify)
ON_CONTROL_RANGE(STN_CLICKED, kSwatch, kPlain, OnLabelClicked)
ON_CONTROL_RANGE(STN_DBLCLK, kSwatch, kPlain, OnLabelDblClk)
END_MESSAGE_MAP()

CLabelDlg::CLabelDlg() {
    fwtest::TemplateBuilder t("Labels", 230, 100);
    t.Control(fw::ControlClass::Static, kSwatch, "", SS_BITMAP | SS_NOTIFY, 10, 5, 12, 8)
        .Label(kNarrow, "", 10, 20, 20, 8)
        .Label(kWide, "", 10, 30, 20, 8)
        .Label(kText, "Ready", 10, 40, 20, 8)
        .Label(kCentered, "Centre", 10, 50, 20, 8, SS_CENTERIMAGE)
        .Label(kLink, "http://example.invalid/", 10, 60, 20, 8)
        .Label(kPlain, "Plain", 180, 5, 30, 8, SS_NOTIFY)
        .Button(IDCANCEL, "Close", 170, 80);
    // The swatch names its bitmap by ordinal, as the templates in res/ do.
    fw::DialogTemplate withBitmap = t.Template();
    withBitmap.items[0].title = fw::NameOrOrdinal::Ordinal(IDB_BIN_SWATCH);
    InitModalIndirect(withBitmap.Serialize(), nullptr, {}, kLabelDialog);
}

BOOL CLabelDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (int id = kSwatch; id <= kLastLabel; ++id) {
        Label(id).SubclassDlgItem(static_cast<UINT>(id), this);
        RECT rect = LabelRect(id);
        if (rect.right != 0) {
            Label(id).MoveWindow(&rect);
        }
    }
    return TRUE;
}

void CLabelDlg::OnLabelNotify(UINT, NMHDR* pHeader, LRESULT*) {
    m_notified.push_back(*pHeader);
}
void CLabelDlg::OnLabelClicked(UINT nID) {
    m_clicked.push_back(nID);
}
void CLabelDlg::OnLabelDblClk(UINT nID) {
    m_dblClicked.push_back(nID);
}

}  // namespace cstest
