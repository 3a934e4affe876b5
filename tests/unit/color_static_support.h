// Helpers of the label control's tests: a probe that shows the control's
// state, and a test dialog of labels from an in-memory template whose labels
// get exact pixel sizes, the same on both window systems.
#ifndef SETUP_TESTS_UNIT_COLOR_STATIC_SUPPORT_H
#define SETUP_TESTS_UNIT_COLOR_STATIC_SUPPORT_H

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "controls/ColorStatic.h"
#include "driver/operator.h"
#include "framework/framework.h"

namespace cstest {

// The control with its state in view.
class CProbeStatic : public CColorStatic {
public:
    using CColorStatic::FillGradient;
    COLORREF TextColor() const { return m_crText; }
    BOOL FlashPhase() const { return m_bFlashPhase; }
    int FlashKind() const { return m_nFlashKind; }
    BOOL Cycling() const { return m_bCycleColors; }
    HGDIOBJ BackBrush() const { return m_hbrBack.GetSafeHandle(); }
    HGDIOBJ DefaultBrush() const { return m_hbrDefault.GetSafeHandle(); }
    const LOGFONT& LogFont() const { return m_logFont; }
    // The font painting selects.
    LOGFONT FontInUse() const {
        LOGFONT font{};
        m_font.GetLogFont(&font);
        return font;
    }
    static void RestartCycle() { s_nCycleIndex = 0; }
};

const UINT kLabelDialog = 9700;
// The labels, in template order; kPlain is a notifying static left alone.
enum : int {
    kSwatch = 700,  // a bitmap static as the bin page's swatches: 18 x 12
    kNarrow,        // 40 x 10
    kWide,          // 300 x 10
    kText,          // 120 x 30, "Ready"
    kCentered,      // 120 x 30, SS_CENTERIMAGE, "Centre"
    kLink,          // 200 x 16, "http://example.invalid/"
    kLastLabel = kLink,
    kPlain = 720,
};
constexpr int kLabelCount = kLastLabel - kSwatch + 1;

// Where OnInitDialog puts each label (pixels, client coordinates); the
// swatch keeps the size of its bitmap.
inline RECT LabelRect(int id) {
    switch (id) {
        case kNarrow:
            return RECT{10, 30, 50, 40};
        case kWide:
            return RECT{10, 45, 310, 55};
        case kText:
            return RECT{10, 60, 130, 90};
        case kCentered:
            return RECT{140, 60, 260, 90};
        case kLink:
            return RECT{10, 95, 210, 111};
        default:
            return RECT{0, 0, 0, 0};
    }
}

class CLabelDlg : public fw::CDialog {
public:
    CLabelDlg();

    CProbeStatic& Label(int id) { return m_labels[id - kSwatch]; }

    std::vector<NMHDR> m_notified;   // the labels' own click notifications
    std::vector<UINT> m_clicked;     // STN_CLICKED, by control ID
    std::vector<UINT> m_dblClicked;  // STN_DBLCLK, by control ID

protected:
    BOOL OnInitDialog() override;
    void OnLabelNotify(UINT nID, NMHDR* pHeader, LRESULT* pResult);
    void OnLabelClicked(UINT nID);
    void OnLabelDblClk(UINT nID);
    DECLARE_MESSAGE_MAP()

private:
    CProbeStatic m_labels[kLabelCount];
};

// Opens the labels' dialog, lets visit look and act as a person would, then
// cancels it; fails the test unless the dialog ends with Cancel.
inline void WithLabels(const std::function<void(CLabelDlg&, DialogDriver&)>& visit) {
    CLabelDlg dlg;
    Operator op;
    op.OnDialog(kLabelDialog, [&](DialogDriver& d) {
        visit(dlg, d);
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

}  // namespace cstest

#endif
