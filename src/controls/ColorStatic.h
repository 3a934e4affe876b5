// CColorStatic: a static control that paints itself. It draws its window
// text in its own colour and font on a solid or horizontally graded
// background, optionally with a one-pixel shadow copy, rotated, blinking or
// cycling through red, green and blue, and it can act as a link that the
// shell opens or a mail address. A dialog attaches it to a static control of
// its template (SubclassDlgItem) and then calls the setters, which chain:
//
//   m_swatch.SubclassDlgItem(IDC_BIN_COLOR1, this);
//   m_swatch.SetBackColor(color);
//
// The bin page and the Add FlashID dialog use it as a colour swatch: a solid
// background colour filling the whole control.
//
// Classes in this file:
//   CColorStatic   the self-drawn label
#ifndef SETUP_CONTROLS_COLORSTATIC_H
#define SETUP_CONTROLS_COLORSTATIC_H

#include <string>

#include "framework/framework.h"

class CColorStatic : public fw::CStatic {
    DECLARE_DYNAMIC(CColorStatic)
public:
    // WM_NOTIFY code that a click sends the parent when SetLink or
    // SetMailLink asked for parent notification.
    static constexpr UINT kClickNotification = 0x8200;
    // The blink timer; FlashText, FlashBackground and CycleColors share it.
    static constexpr UINT_PTR kBlinkTimer = 1;

    CColorStatic();
    ~CColorStatic() override;

    // Every setter returns the control, so calls chain. Those that change
    // what is shown redraw the label and whatever lies behind it.
    virtual CColorStatic& SetBackColor(COLORREF crBack, COLORREF crGradientEnd = 0,
                                       BOOL bGradient = FALSE);
    virtual CColorStatic& SetForeColor(COLORREF crText);
    // Sets the window text; does nothing while the control has no window.
    virtual CColorStatic& SetLabelText(const std::string& text);
    virtual CColorStatic& SetBold(BOOL bBold);
    // The face name keeps at most 31 characters (LOGFONT's field).
    virtual CColorStatic& SetFaceName(const std::string& faceName, BYTE charSet = DEFAULT_CHARSET);
    virtual CColorStatic& SetUnderline(BOOL bUnderline);
    virtual CColorStatic& SetItalic(BOOL bItalic);
    // The character height and width of a point font of this size in the
    // current face, at the screen's resolution.
    virtual CColorStatic& SetPointSize(int nPointSize);
    virtual CColorStatic& SetSunken(BOOL bSunken);  // WS_EX_STATICEDGE
    virtual CColorStatic& SetBorder(BOOL bBorder);  // WS_BORDER
    // A transparent label paints no background and draws straight onto the
    // screen (WS_EX_TRANSPARENT while set).
    virtual CColorStatic& SetTransparent(BOOL bTransparent);
    // Blinking text: every 500 ms the text shows and hides (hidden first). On
    // the default background the hidden phase shows the text black.
    virtual CColorStatic& FlashText(BOOL bFlash);
    // Blinking background: every 500 ms the background alternates between
    // the default face colour (first) and the background colour.
    virtual CColorStatic& FlashBackground(BOOL bFlash);
    // A click opens the link target (or the window text) with the shell, or,
    // with bNotifyParent, sends the parent kClickNotification instead.
    virtual CColorStatic& SetLink(BOOL bLink, BOOL bNotifyParent);
    virtual CColorStatic& SetLinkCursor(HCURSOR hCursor);
    // The shadow lies one pixel down and right (bDownRight) or up and left.
    virtual CColorStatic& SetShadow(BOOL bShadow, BOOL bDownRight);
    // The text turns by nAngle degrees (counter-clockwise) about the centre.
    virtual CColorStatic& SetRotation(int nAngle, BOOL bRotate);
    virtual CColorStatic& SetShadowColor(COLORREF crShadow);
    virtual CColorStatic& SetLogFont(LOGFONT logFont);
    // A click opens "mailto:" followed by the window text with the shell.
    virtual CColorStatic& SetMailLink(BOOL bMailLink, BOOL bNotifyParent);
    // What a link opens; empty: the window text.
    virtual CColorStatic& SetLinkTarget(const std::string& target);
    // Each second the text takes the next colour of red, green, blue (one
    // cycle shared by every cycling label) and blinks as with FlashText.
    virtual CColorStatic& CycleColors(BOOL bCycle);

protected:
    // The position in the colour cycle that all cycling labels share.
    static int s_nCycleIndex;

    // Reads the font of the window being attached (WM_GETFONT; the system
    // font when it has none) and builds the label's own font from it.
    void PreSubclassWindow() override;

    // Paints the control at once, then the parent's area beneath it, so that
    // what lies behind a transparent label is drawn again too.
    void RedrawLabel();
    // Replaces m_font with a font made from m_logFont.
    void RebuildFont();
    // Fills lpRect with at most nMaxBands vertical bands graded from crStart
    // on the left towards crEnd, with the null pen.
    void FillGradient(fw::CDC* pDC, LPCRECT lpRect, COLORREF crStart, COLORREF crEnd,
                      int nMaxBands);

    void OnTimer(UINT_PTR nIDEvent);
    void OnLButtonDown(UINT nFlags, fw::CPoint point);
    BOOL OnSetCursor(fw::CWnd* pWnd, UINT nHitTest, UINT message);
    void OnSysColorChange();
    void OnPaint();
    BOOL OnEraseBkgnd(fw::CDC* pDC);
    void OnLButtonDblClk(UINT nFlags, fw::CPoint point);

    DECLARE_MESSAGE_MAP()

    COLORREF m_crText;
    COLORREF m_crShadow = RGB(255, 255, 255);
    fw::CBrush m_hbrDefault;  // COLOR_BTNFACE: the background without a colour
    fw::CBrush m_hbrBack;     // the solid background colour; none for a gradient
    LOGFONT m_logFont;
    fw::CFont m_font;
    BOOL m_bFlashPhase = FALSE;
    BOOL m_bTimerRunning = FALSE;
    int m_nLinkKind = 0;  // 0 none, 1 opened with the verb "open", 2 mail address
    BOOL m_bTransparent = FALSE;
    BOOL m_bShadow = FALSE;
    BOOL m_bNotifyParent = FALSE;
    BOOL m_bRotate = FALSE;
    int m_nFlashKind = 0;  // 0 none, 1 blinking text, 2 blinking background
    HCURSOR m_hCursor = nullptr;
    BOOL m_bShadowDownRight = FALSE;
    BOOL m_bGradient = FALSE;
    COLORREF m_crGradientEnd = 0;
    COLORREF m_crBack = 0;
    std::string m_strLinkTarget;
    BOOL m_bCycleColors = FALSE;

private:
    // Stops the blink timer if it runs; starts it again at nElapse ms with a
    // fresh (hidden) phase when nElapse is not 0.
    void RestartBlinkTimer(UINT nElapse);
    // SS_NOTIFY follows the link kind, so that clicks reach the control.
    void UpdateNotifyStyle();
    // The colour that hides the text in its blink phase: the solid
    // background's, black without one.
    COLORREF HiddenTextColor() const;
    // The DT_ layout of the window text from the control's style.
    static UINT TextFormat(DWORD dwStyle, const std::string& text);
};

#endif
