#include "framework/gdi/gdi.h"

#include <cstring>
#include <utility>

#include "framework/api.h"
#include "framework/windows/wnd.h"

namespace fw {

namespace {

// Attach of an object or a device context: takes a handle into an empty slot.
template <class Handle>
BOOL TakeHandle(Handle& slot, Handle handle) {
    if (handle == nullptr || slot != nullptr) {
        return FALSE;
    }
    slot = handle;
    return TRUE;
}

}  // namespace

// --- CGdiObject -------------------------------------------------------------

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    return TakeHandle(m_hObject, hObject);
}

HGDIOBJ CGdiObject::Detach() {
    return std::exchange(m_hObject, nullptr);
}

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == nullptr) {
        return FALSE;
    }
    return api::DeleteObject(Detach());
}

BOOL CGdiObject::CreateStockObject(int nIndex) {
    return Attach(api::GetStockObject(nIndex));
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
    if (m_hObject == nullptr) {
        return 0;
    }
    return api::GetObject(m_hObject, nCount, lpObject);
}

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    return Attach(api::CreateSolidBrush(color));
}

// --- CFont ---------------------------------------------------------------------

LONG PointSizeToHeight(int nPointSize, int nLogPixelsY) {
    // As the classic framework computes it: integer division, so 8 points at
    // 96 DPI give 10 pixels, not 11.
    LONG height = static_cast<LONG>(nLogPixelsY) * nPointSize / 720;
    return height < 0 ? height : -height;
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
    if (lpLogFont == nullptr) {
        return FALSE;
    }
    return Attach(api::CreateFontIndirect(lpLogFont));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC) {
    LOGFONT logFont;
    std::memset(&logFont, 0, sizeof(logFont));
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfHeight = nPointSize;
    if (lpszFaceName != nullptr) {
        std::strncpy(logFont.lfFaceName, lpszFaceName, sizeof(logFont.lfFaceName) - 1);
    }
    return CreatePointFontIndirect(&logFont, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC) {
    if (lpLogFont == nullptr) {
        return FALSE;
    }
    int logPixelsY = 0;
    if (pDC != nullptr && pDC->m_hDC != nullptr) {
        logPixelsY = pDC->GetDeviceCaps(LOGPIXELSY);
    } else {
        HDC screen = api::GetDC(nullptr);
        logPixelsY = api::GetDeviceCaps(screen, LOGPIXELSY);
        api::ReleaseDC(nullptr, screen);
    }
    LOGFONT logFont = *lpLogFont;
    logFont.lfHeight = PointSizeToHeight(lpLogFont->lfHeight, logPixelsY);
    return CreateFontIndirect(&logFont);
}

int CFont::GetLogFont(LOGFONT* pLogFont) const {
    return GetObject(sizeof(LOGFONT), pLogFont);
}

// --- CBitmap ----------------------------------------------------------------------

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return Attach(
        api::CreateCompatibleBitmap(pDC != nullptr ? pDC->m_hDC : nullptr, nWidth, nHeight));
}

// --- CDC ---------------------------------------------------------------------------

CDC::~CDC() {
    DeleteDC();
}

BOOL CDC::Attach(HDC hDC) {
    return TakeHandle(m_hDC, hDC);
}

HDC CDC::Detach() {
    return std::exchange(m_hDC, nullptr);
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    return Attach(api::CreateCompatibleDC(pDC != nullptr ? pDC->m_hDC : nullptr));
}

BOOL CDC::DeleteDC() {
    if (m_hDC == nullptr) {
        return FALSE;
    }
    return api::DeleteDC(Detach());
}

int CDC::GetDeviceCaps(int nIndex) const {
    return api::GetDeviceCaps(m_hDC, nIndex);
}

template <class T>
T* CDC::Select(HGDIOBJ hObject) {
    HGDIOBJ previous = api::SelectObject(m_hDC, hObject);
    if (previous == nullptr) {
        return nullptr;
    }
    m_previous.push_back(std::make_unique<CGdiView<T>>(previous));
    return static_cast<T*>(m_previous.back().get());
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
    return Select<CBrush>(pBrush != nullptr ? pBrush->m_hObject : nullptr);
}
CFont* CDC::SelectObject(CFont* pFont) {
    return Select<CFont>(pFont != nullptr ? pFont->m_hObject : nullptr);
}
CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    return Select<CBitmap>(pBitmap != nullptr ? pBitmap->m_hObject : nullptr);
}
CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
    return Select<CGdiObject>(pObject != nullptr ? pObject->m_hObject : nullptr);
}
CGdiObject* CDC::SelectStockObject(int nIndex) {
    return Select<CGdiObject>(api::GetStockObject(nIndex));
}

COLORREF CDC::SetTextColor(COLORREF color) {
    return api::SetTextColor(m_hDC, color);
}
COLORREF CDC::GetTextColor() const {
    return api::GetTextColor(m_hDC);
}
COLORREF CDC::SetBkColor(COLORREF color) {
    return api::SetBkColor(m_hDC, color);
}
COLORREF CDC::GetBkColor() const {
    return api::GetBkColor(m_hDC);
}
int CDC::SetBkMode(int nBkMode) {
    return api::SetBkMode(m_hDC, nBkMode);
}
UINT CDC::SetTextAlign(UINT nFlags) {
    return api::SetTextAlign(m_hDC, nFlags);
}

CPoint CDC::SetViewportOrg(int x, int y) {
    CPoint previous;
    api::SetViewportOrgEx(m_hDC, x, y, &previous);
    return previous;
}

int CDC::DrawText(const char* lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
    return api::DrawText(m_hDC, lpszString != nullptr ? lpszString : "", nCount, lpRect, nFormat);
}
int CDC::DrawText(const std::string& text, LPRECT lpRect, UINT nFormat) {
    return api::DrawText(m_hDC, text.c_str(), static_cast<int>(text.size()), lpRect, nFormat);
}

BOOL CDC::TextOut(int x, int y, const char* lpszString, int nCount) {
    return api::TextOut(m_hDC, x, y, lpszString != nullptr ? lpszString : "", nCount);
}
BOOL CDC::TextOut(int x, int y, const std::string& text) {
    return api::TextOut(m_hDC, x, y, text.c_str(), static_cast<int>(text.size()));
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
    api::FillRect(m_hDC, lpRect, pBrush != nullptr ? static_cast<HBRUSH>(*pBrush) : nullptr);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF color) {
    CBrush brush(color);
    FillRect(lpRect, &brush);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    CRect rect(x, y, x + cx, y + cy);
    FillSolidRect(&rect, color);
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) {
    return api::Rectangle(m_hDC, x1, y1, x2, y2);
}
BOOL CDC::Rectangle(LPCRECT lpRect) {
    return Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                 DWORD dwRop) {
    return api::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC != nullptr ? pSrcDC->m_hDC : nullptr,
                       xSrc, ySrc, dwRop);
}

COLORREF CDC::GetPixel(int x, int y) const {
    return api::GetPixel(m_hDC, x, y);
}

// --- CPaintDC, CClientDC ----------------------------------------------------------

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) {
    std::memset(&m_ps, 0, sizeof(m_ps));
    Attach(api::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
    if (m_hDC != nullptr) {
        api::EndPaint(m_hWnd, &m_ps);
        Detach();
    }
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd != nullptr ? pWnd->m_hWnd : nullptr) {
    Attach(api::GetDC(m_hWnd));
}

CClientDC::~CClientDC() {
    if (m_hDC != nullptr) {
        api::ReleaseDC(m_hWnd, Detach());
    }
}

}  // namespace fw
