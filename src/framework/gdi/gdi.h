// GDI objects and device contexts. Each object owns its handle and releases
// it when destroyed (DeleteObject, DeleteDC, EndPaint, ReleaseDC), unless it is
// a view that only wraps a handle somebody else owns.
//
// Classes in this file:
//   CGdiObject    a GDI object handle
//   CBrush, CFont, CBitmap
//   CGdiView<T>   a T that wraps a handle without owning it
//   CDC           a device context: selection, colours, modes, text, fills, blits
//   CDCView       a CDC that wraps a device context without owning it
//                 (WM_ERASEBKGND, DRAWITEMSTRUCT)
//   CPaintDC      BeginPaint/EndPaint for a window's WM_PAINT
//   CClientDC     GetDC/ReleaseDC of a window's client area
#ifndef SETUP_FRAMEWORK_GDI_H
#define SETUP_FRAMEWORK_GDI_H

#include <memory>
#include <string>
#include <vector>

#include "framework/windows/geometry.h"
#include "framework/windows/object.h"
#include "framework/winapi.h"

namespace fw {

class CDC;
class CWnd;

class CGdiObject : public CObject {
public:
    HGDIOBJ m_hObject = nullptr;

    CGdiObject() = default;
    ~CGdiObject() override { DeleteObject(); }

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    // Takes ownership of a handle; FALSE when the object already holds one.
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    // Releases the handle; FALSE when there was none.
    BOOL DeleteObject();
    // A stock object (NULL_PEN, SYSTEM_FONT...); deleting it later is harmless.
    BOOL CreateStockObject(int nIndex);
    int GetObject(int nCount, LPVOID lpObject) const;
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    // A font of nPointSize tenths of a point in the face, for the resolution of
    // pDC (the screen when nullptr): lfHeight = -(LOGPIXELSY * tenths / 720).
    BOOL CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC = nullptr);
    // The same from a LOGFONT whose lfHeight is in tenths of a point.
    BOOL CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC = nullptr);
    // Fills *pLogFont; 0 when the font has no handle.
    int GetLogFont(LOGFONT* pLogFont) const;
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CBitmap : public CGdiObject {
public:
    // A bitmap resource of the module (the library's own resources).
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

template <class T>
class CGdiView : public T {
public:
    explicit CGdiView(HGDIOBJ hObject) { this->m_hObject = hObject; }
    ~CGdiView() override { this->m_hObject = nullptr; }
};

// The character height of a point font: LOGPIXELSY * tenths / 720 pixels,
// truncated, negative (a character height, not a cell height).
LONG PointSizeToHeight(int nPointSize, int nLogPixelsY);

class CDC : public CObject {
public:
    HDC m_hDC = nullptr;

    CDC() = default;
    // Deletes the device context it holds (CreateCompatibleDC, Attach).
    ~CDC() override;

    operator HDC() const { return m_hDC; }
    BOOL Attach(HDC hDC);
    HDC Detach();

    // A memory device context compatible with pDC (the screen when nullptr).
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();

    int GetDeviceCaps(int nIndex) const;

    // Each returns the object that was selected before, for selecting it back;
    // the returned object does not own its handle and lives as long as this CDC.
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CGdiObject* SelectObject(CGdiObject* pObject);
    CGdiObject* SelectStockObject(int nIndex);

    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const;
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    int SetBkMode(int nBkMode);  // TRANSPARENT, OPAQUE; returns the previous mode
    UINT SetTextAlign(UINT nFlags);
    CPoint SetViewportOrg(int x, int y);  // returns the previous origin
    CPoint SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }

    // DT_ flags; with DT_CALCRECT the rectangle receives the measured size.
    // Returns the height of the text.
    int DrawText(const char* lpszString, int nCount, LPRECT lpRect, UINT nFormat);
    int DrawText(const std::string& text, LPRECT lpRect, UINT nFormat);
    BOOL TextOut(int x, int y, const char* lpszString, int nCount);
    BOOL TextOut(int x, int y, const std::string& text);

    void FillRect(LPCRECT lpRect, CBrush* pBrush);
    void FillSolidRect(LPCRECT lpRect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    // With the selected pen and brush; right and bottom are exclusive.
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT lpRect);
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                DWORD dwRop);
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT point) const { return GetPixel(point.x, point.y); }

private:
    template <class T>
    T* Select(HGDIOBJ hObject);

    std::vector<std::unique_ptr<CGdiObject>> m_previous;  // views handed out by SelectObject
};

class CDCView : public CDC {
public:
    explicit CDCView(HDC hDC) { m_hDC = hDC; }
    ~CDCView() override { m_hDC = nullptr; }
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

}  // namespace fw

#endif
