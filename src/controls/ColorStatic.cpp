#include "controls/ColorStatic.h"

#include <algorithm>
#include <cstring>

namespace {

// The text colours of the cycle, in order.
const COLORREF kCycleColors[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
constexpr int kCycleLength = static_cast<int>(sizeof(kCycleColors) / sizeof(kCycleColors[0]));

constexpr UINT kFlashElapse = 500;   // ms per blink phase
constexpr UINT kCycleElapse = 1000;  // ms per colour of the cycle
constexpr int kGradientBands = 100;  // the most bands a gradient is drawn with

enum FlashKind { kNoFlash = 0, kFlashText = 1, kFlashBackground = 2 };
enum LinkKind { kNoLink = 0, kShellLink = 1, kMailLink = 2 };

}  // namespace

int CColorStatic::s_nCycleIndex = 0;

IMPLEMENT_DYNAMIC(CColorStatic, fw::CStatic)

BEGIN_MESSAGE_MAP(CColorStatic, fw::CStatic)
ON_WM_TIMER()
ON_WM_LBUTTONDOWN()
ON_WM_SETCURSOR()
ON_WM_SYSCOLORCHANGE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CColorStatic::CColorStatic() : m_crText(fw::GetSysColor(COLOR_WINDOWTEXT)) {
    m_hbrDefault.CreateSolidBrush(fw::GetSysColor(COLOR_BTNFACE));
    std::memset(&m_logFont, 0, sizeof(m_logFont));
}

CColorStatic::~CColorStatic() {
    m_font.DeleteObject();
    m_hbrDefault.DeleteObject();
    m_hbrBack.DeleteObject();
}

// --- Setters ----------------------------------------------------------------------

CColorStatic& CColorStatic::SetBackColor(COLORREF crBack, COLORREF crGradientEnd, BOOL bGradient) {
    m_crBack = crBack;
    m_crGradientEnd = crGradientEnd;
    m_bGradient = bGradient;
    m_hbrBack.DeleteObject();
    if (!bGradient) {
        m_hbrBack.CreateSolidBrush(crBack);
    }
    RedrawLabel();
    return *this;
}

CColorStatic& CColorStatic::SetForeColor(COLORREF crText) {
    m_crText = crText;
    RedrawLabel();
    return *this;
}

CColorStatic& CColorStatic::SetLabelText(const std::string& text) {
    if (GetSafeHwnd() != nullptr) {
        SetWindowText(text);
        RedrawLabel();
    }
    return *this;
}

CColorStatic& CColorStatic::SetBold(BOOL bBold) {
    m_logFont.lfWeight = bBold ? FW_BOLD : FW_NORMAL;
    RebuildFont();
    RedrawLabel();
    return *this;
}

CColorStatic& CColorStatic::SetFaceName(const std::string& faceName, BYTE charSet) {
    m_logFont.lfCharSet = charSet;
    const size_t length = std::min(faceName.size(), sizeof(m_logFont.lfFaceName) - 1);
    std::memcpy(m_logFont.lfFaceName, faceName.data(), length);
    m_logFont.lfFaceName[length] = '\0';
    RebuildFont();
    RedrawLabel();
    return *this;
}

CColorStatic& CColorStatic::SetUnderline(BOOL bUnderline) {
    m_logFont.lfUnderline = bUnderline ? 1 : 0;
    RebuildFont();
    RedrawLabel();
    return *this;
}

CColorStatic& CColorStatic::SetItalic(BOOL bItalic) {
    m_logFont.lfItalic = bItalic ? 1 : 0;
    RebuildFont();
    RedrawLabel();
    return *this;
}

CColorStatic& CColorStatic::SetPointSize(int nPointSize) {
    fw::CFont pointFont;
    LOGFONT measured;
    if (pointFont.CreatePointFont(nPointSize * 10, m_logFont.lfFaceName) &&
        pointFont.GetLogFont(&measured) != 0) {
        m_logFont.lfHeight = measured.lfHeight;
        m_logFont.lfWidth = measured.lfWidth;
    }
    pointFont.DeleteObject();
    RebuildFont();
    RedrawLabel();
    return *this;
}

CColorStatic& CColorStatic::SetSunken(BOOL bSunken) {
    if (GetSafeHwnd() != nullptr) {
        ModifyStyleEx(bSunken ? 0 : WS_EX_STATICEDGE, bSunken ? WS_EX_STATICEDGE : 0,
                      SWP_FRAMECHANGED);
    }
    return *this;
}

CColorStatic& CColorStatic::SetBorder(BOOL bBorder) {
    if (GetSafeHwnd() != nullptr) {
        ModifyStyle(bBorder ? 0 : WS_BORDER, bBorder ? WS_BORDER : 0, SWP_FRAMECHANGED);
    }
    return *this;
}

CColorStatic& CColorStatic::SetTransparent(BOOL bTransparent) {
    m_bTransparent = bTransparent;
    if (GetSafeHwnd() != nullptr) {
        ModifyStyleEx(bTransparent ? 0 : WS_EX_TRANSPARENT, bTransparent ? WS_EX_TRANSPARENT : 0);
    }
    RedrawLabel();
    return *this;
}

CColorStatic& CColorStatic::FlashText(BOOL bFlash) {
    RestartBlinkTimer(bFlash ? kFlashElapse : 0);
    m_nFlashKind = bFlash ? kFlashText : kNoFlash;
    return *this;
}

CColorStatic& CColorStatic::FlashBackground(BOOL bFlash) {
    RestartBlinkTimer(bFlash ? kFlashElapse : 0);
    // Switched off, the background stays in its own colour rather than in
    // whichever phase the last tick left it.
    m_nFlashKind = bFlash ? kFlashBackground : kNoFlash;
    return *this;
}

CColorStatic& CColorStatic::SetLink(BOOL bLink, BOOL bNotifyParent) {
    m_nLinkKind = bLink ? kShellLink : kNoLink;
    m_bNotifyParent = bNotifyParent;
    UpdateNotifyStyle();
    return *this;
}

CColorStatic& CColorStatic::SetLinkCursor(HCURSOR hCursor) {
    m_hCursor = hCursor;
    return *this;
}

CColorStatic& CColorStatic::SetShadow(BOOL bShadow, BOOL bDownRight) {
    m_bShadow = bShadow;
    m_bShadowDownRight = bDownRight;
    RedrawLabel();
    return *this;
}

CColorStatic& CColorStatic::SetRotation(int nAngle, BOOL bRotate) {
    m_logFont.lfEscapement = nAngle * 10;
    m_logFont.lfOrientation = nAngle * 10;
    m_bRotate = bRotate;
    RebuildFont();
    RedrawLabel();
    return *this;
}

CColorStatic& CColorStatic::SetShadowColor(COLORREF crShadow) {
    m_crShadow = crShadow;
    RedrawLabel();
    return *this;
}

CColorStatic& CColorStatic::SetLogFont(LOGFONT logFont) {
    m_logFont = logFont;
    RebuildFont();
    RedrawLabel();
    return *this;
}

CColorStatic& CColorStatic::SetMailLink(BOOL bMailLink, BOOL bNotifyParent) {
    m_nLinkKind = bMailLink ? kMailLink : kNoLink;
    m_bNotifyParent = bNotifyParent;
    UpdateNotifyStyle();
    return *this;
}

CColorStatic& CColorStatic::SetLinkTarget(const std::string& target) {
    m_strLinkTarget = target;
    return *this;
}

CColorStatic& CColorStatic::CycleColors(BOOL bCycle) {
    RestartBlinkTimer(bCycle ? kCycleElapse : 0);
    // Switched off, the label leaves cycle mode: a later FlashText only blinks.
    m_bCycleColors = bCycle;
    m_nFlashKind = bCycle ? kFlashText : kNoFlash;
    return *this;
}

// --- Attaching, redrawing, the font ------------------------------------------------

void CColorStatic::PreSubclassWindow() {
    fw::CStatic::PreSubclassWindow();
    fw::CFont* pFont = GetFont();
    if (pFont != nullptr) {
        pFont->GetLogFont(&m_logFont);
    } else {
        fw::CFont systemFont;
        systemFont.CreateStockObject(SYSTEM_FONT);
        systemFont.GetLogFont(&m_logFont);
        systemFont.Detach();  // a stock object: nobody's to release
    }
    RebuildFont();
}

void CColorStatic::RedrawLabel() {
    if (GetSafeHwnd() == nullptr) {
        return;
    }
    fw::CRect rect;
    GetWindowRect(&rect);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    fw::CWnd* pParent = GetParent();
    if (pParent != nullptr) {
        pParent->ScreenToClient(&rect);
        pParent->InvalidateRect(&rect, TRUE);
        pParent->UpdateWindow();
    }
}

void CColorStatic::RebuildFont() {
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_logFont);
}

void CColorStatic::RestartBlinkTimer(UINT nElapse) {
    if (m_bTimerRunning) {
        if (GetSafeHwnd() != nullptr) {
            KillTimer(kBlinkTimer);
        }
        m_bTimerRunning = FALSE;
    }
    if (nElapse != 0) {
        m_bFlashPhase = FALSE;
        m_bTimerRunning = TRUE;
        if (GetSafeHwnd() != nullptr) {
            SetTimer(kBlinkTimer, nElapse);
        }
    }
}

void CColorStatic::UpdateNotifyStyle() {
    if (GetSafeHwnd() != nullptr) {
        ModifyStyle(m_nLinkKind != kNoLink ? 0 : SS_NOTIFY, m_nLinkKind != kNoLink ? SS_NOTIFY : 0);
    }
}

// --- Messages -------------------------------------------------------------------------

void CColorStatic::OnTimer(UINT_PTR nIDEvent) {
    m_bFlashPhase = !m_bFlashPhase;
    if (m_bCycleColors) {
        SetForeColor(kCycleColors[s_nCycleIndex]);
        if (++s_nCycleIndex >= kCycleLength) {
            s_nCycleIndex = 0;
        }
    } else {
        RedrawLabel();
    }
    fw::CStatic::OnTimer(nIDEvent);
}

void CColorStatic::OnLButtonDown(UINT nFlags, fw::CPoint point) {
    if (m_bNotifyParent) {
        NMHDR header;
        header.hwndFrom = m_hWnd;
        header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
        header.code = kClickNotification;
        fw::CWnd* pParent = GetParent();
        if (pParent != nullptr) {
            pParent->SendMessage(WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
        }
    } else if (m_nLinkKind == kShellLink) {
        const std::string target = m_strLinkTarget.empty() ? GetWindowText() : m_strLinkTarget;
        fw::ShellExecute(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    } else if (m_nLinkKind == kMailLink) {
        const std::string address = "mailto:" + GetWindowText();
        fw::ShellExecute(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
    // A notifying static tells its parent of the click (STN_CLICKED).
    fw::CStatic::OnLButtonDown(nFlags, point);
}

BOOL CColorStatic::OnSetCursor(fw::CWnd* pWnd, UINT nHitTest, UINT message) {
    if (m_hCursor != nullptr) {
        fw::SetCursor(m_hCursor);
        return TRUE;
    }
    return fw::CStatic::OnSetCursor(pWnd, nHitTest, message);
}

void CColorStatic::OnSysColorChange() {
    m_hbrDefault.DeleteObject();
    m_hbrDefault.CreateSolidBrush(fw::GetSysColor(COLOR_BTNFACE));
    RedrawLabel();
}

BOOL CColorStatic::OnEraseBkgnd(fw::CDC*) {
    return TRUE;  // the paint covers the whole control
}

void CColorStatic::OnLButtonDblClk(UINT, fw::CPoint) {}

// --- Painting ------------------------------------------------------------------------

COLORREF CColorStatic::HiddenTextColor() const {
    LOGBRUSH brush;
    if (m_hbrBack.GetSafeHandle() == nullptr || m_hbrBack.GetObject(sizeof(brush), &brush) == 0) {
        return RGB(0, 0, 0);
    }
    return brush.lbColor;
}

UINT CColorStatic::TextFormat(DWORD dwStyle, const std::string& text) {
    UINT nFormat;
    switch (dwStyle & SS_TYPEMASK) {
        case SS_CENTER:
            nFormat = DT_CENTER | DT_WORDBREAK;
            break;
        case SS_RIGHT:
            nFormat = DT_RIGHT | DT_WORDBREAK;
            break;
        case SS_LEFTNOWORDWRAP:
            nFormat = DT_LEFT;
            break;
        default:
            nFormat = DT_WORDBREAK;
            break;
    }
    if (text.find('\t') != std::string::npos) {
        nFormat |= DT_EXPANDTABS;
    }
    if (dwStyle & SS_CENTERIMAGE) {
        nFormat = text.find("\r\n") == std::string::npos ? DT_CENTER | DT_VCENTER | DT_SINGLELINE
                                                         : DT_CENTER;
    }
    return nFormat;
}

void CColorStatic::OnPaint() {
    fw::CPaintDC dc(this);
    fw::CRect rcClient;
    GetClientRect(&rcClient);
    // A picture static's window text names its image (a resource ordinal in
    // the template): it is no caption to draw over the swatch colour.
    const DWORD dwType = GetStyle() & SS_TYPEMASK;
    const bool bPicture = dwType == SS_BITMAP || dwType == SS_ICON || dwType == SS_ENHMETAFILE;
    const std::string text = bPicture ? std::string() : GetWindowText();

    // Background and text reach the screen in one copy, without flicker.
    fw::CDC memDC;
    fw::CBitmap bitmap;
    fw::CBitmap* pOldBitmap = nullptr;
    fw::CDC* pDC = &dc;
    if (!m_bTransparent && memDC.CreateCompatibleDC(&dc) &&
        bitmap.CreateCompatibleBitmap(&dc, rcClient.Width(), rcClient.Height())) {
        pOldBitmap = memDC.SelectObject(&bitmap);
        pDC = &memDC;
    }

    const int nOldBkMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF crOldText = pDC->SetTextColor(m_crText);
    fw::CFont* pOldFont = pDC->SelectObject(&m_font);

    if (!m_bTransparent) {
        const bool bFacePhase = m_nFlashKind == kFlashBackground && !m_bFlashPhase;
        if (bFacePhase) {
            pDC->FillRect(&rcClient, &m_hbrDefault);
        } else if (m_bGradient) {
            FillGradient(pDC, &rcClient, m_crBack, m_crGradientEnd, kGradientBands);
        } else {
            pDC->FillRect(&rcClient,
                          m_hbrBack.GetSafeHandle() != nullptr ? &m_hbrBack : &m_hbrDefault);
        }
    }

    if (m_nFlashKind == kFlashText && !m_bFlashPhase) {
        pDC->SetTextColor(HiddenTextColor());
    }

    const UINT nFormat = TextFormat(GetStyle(), text);
    if (m_bRotate) {
        // The font's escapement turns the text; it is written from the centre.
        const UINT nOldAlign = pDC->SetTextAlign(TA_BASELINE);
        const fw::CPoint ptOldOrg =
            pDC->SetViewportOrg(rcClient.Width() / 2, rcClient.Height() / 2);
        pDC->TextOut(0, 0, text);
        pDC->SetViewportOrg(ptOldOrg);
        pDC->SetTextAlign(nOldAlign);
    } else {
        fw::CRect rcText = rcClient;
        pDC->DrawText(text, &rcText, nFormat);
        if (m_bShadow) {
            pDC->SetTextColor(m_crShadow);
            const int nOffset = m_bShadowDownRight ? 1 : -1;
            rcText = rcClient;
            rcText.OffsetRect(nOffset, nOffset);
            pDC->DrawText(text, &rcText, nFormat);
        }
    }

    pDC->SetBkMode(nOldBkMode);
    if (pOldFont != nullptr) {
        pDC->SelectObject(pOldFont);
    }
    pDC->SetTextColor(crOldText);

    if (pDC == &memDC) {
        dc.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &memDC, 0, 0, SRCCOPY);
        memDC.SelectObject(pOldBitmap);
        memDC.DeleteDC();
        bitmap.DeleteObject();
    }
}

void CColorStatic::FillGradient(fw::CDC* pDC, LPCRECT lpRect, COLORREF crStart, COLORREF crEnd,
                                int nMaxBands) {
    const int nWidth = lpRect->right - lpRect->left;
    const int nBands = std::min(nMaxBands, nWidth);
    const int nDivisor = nBands > 1 ? nBands : 1;

    // Channels in 1/256 steps; integer division truncates toward zero.
    int nRed = GetRValue(crStart) * 256;
    int nGreen = GetGValue(crStart) * 256;
    int nBlue = GetBValue(crStart) * 256;
    const int nRedStep = (GetRValue(crEnd) - GetRValue(crStart)) * 256 / nDivisor;
    const int nGreenStep = (GetGValue(crEnd) - GetGValue(crStart)) * 256 / nDivisor;
    const int nBlueStep = (GetBValue(crEnd) - GetBValue(crStart)) * 256 / nDivisor;
    const int nBandWidth = nWidth / nDivisor;

    fw::CGdiObject* pOldPen = pDC->SelectStockObject(NULL_PEN);
    int x = lpRect->left;
    for (int i = 0; i < nBands; ++i) {
        const int xEnd = i == nBands - 1 ? lpRect->right : x + nBandWidth;
        fw::CBrush brush(RGB(nRed / 256, nGreen / 256, nBlue / 256));
        fw::CBrush* pOldBrush = pDC->SelectObject(&brush);
        // Without a pen a rectangle leaves out its right column and bottom
        // row: one more each way covers the band and the full height.
        pDC->Rectangle(x, lpRect->top, xEnd + 1, lpRect->bottom + 1);
        if (pOldBrush != nullptr) {
            pDC->SelectObject(pOldBrush);
        }
        x = xEnd;
        nRed += nRedStep;
        nGreen += nGreenStep;
        nBlue += nBlueStep;
    }
    if (pOldPen != nullptr) {
        pDC->SelectObject(pOldPen);
    }
}
