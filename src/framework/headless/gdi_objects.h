// GDI of the headless backend, as its sources share it: pixel surfaces (a
// window's client area, a memory bitmap), the GDI objects and device
// contexts and their tables, and the fixed text metric. Not for use outside
// src/framework/headless.
#ifndef SETUP_FRAMEWORK_HEADLESS_GDI_OBJECTS_H
#define SETUP_FRAMEWORK_HEADLESS_GDI_OBJECTS_H

#include <cstdint>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "framework/headless/headless.h"
#include "framework/winapi.h"

namespace fw::headless::detail {

// --- Pixel surfaces ---------------------------------------------------------
struct Surface {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    std::vector<DrawnText> texts;

    void Resize(int newWidth, int newHeight, COLORREF fill);
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    void Set(int x, int y, COLORREF c) { pixels[static_cast<size_t>(y) * width + x] = c; }
    // Fills [left, right) x [top, bottom), clipped to the surface.
    void Fill(RECT rect, COLORREF color);
    // Forgets the texts that lie in the rectangle (all when it covers the
    // whole surface): they are being painted over.
    void ForgetTexts(const RECT& area);
};

// --- GDI objects and device contexts ----------------------------------------
enum class GdiKind { Brush, Pen, Font, Bitmap };

struct GdiObject {
    GdiKind kind = GdiKind::Brush;
    bool stock = false;
    // Brush and pen.
    bool null = false;
    COLORREF color = 0;
    // Font.
    LOGFONT logFont{};
    // Bitmap.
    Surface surface;
    int bitsPerPixel = 32;
    int selectedIn = 0;  // how many DCs hold it
};

struct DeviceContext {
    HDC hdc = nullptr;
    HWND window = nullptr;  // window DC, or nullptr for a memory DC
    bool memory = false;
    HBITMAP bitmap = nullptr;  // memory DC
    HBRUSH brush = nullptr;
    HPEN pen = nullptr;
    HFONT font = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    UINT textAlign = TA_TOP | TA_LEFT;
    POINT viewportOrigin{0, 0};
};

// The objects and device contexts that exist, by handle value.
struct GdiTables {
    std::map<uintptr_t, std::unique_ptr<GdiObject>> objects;
    std::map<uintptr_t, std::unique_ptr<DeviceContext>> dcs;
    std::map<int, HGDIOBJ> stockObjects;
    std::map<int, HBRUSH> sysColorBrushes;
};

GdiTables& Gdi();
void InitStockObjects();
// Forgets every object and device context that is not the system's own.
void ResetGdi();
// A new object in the tables; its handle.
HGDIOBJ AddObject(std::unique_ptr<GdiObject> object);
// The library's bitmap resource as a bitmap object; nullptr when there is none.
HBITMAP LoadBitmapObject(uint16_t id);
GdiObject* FindObject(HGDIOBJ handle);
DeviceContext* FindDc(HDC hdc);
Surface* SurfaceOf(DeviceContext& dc);
COLORREF BrushColor(HBRUSH brush, bool* isNull);
// The device contexts of a destroyed window go with it.
void ReleaseWindowDcs(HWND hwnd);

// --- Text metric --------------------------------------------------------------
// Text metrics of a font, from the fixed tables of this backend.
struct FontMetrics {
    int averageWidth;  // tmAveCharWidth
    int height;        // tmHeight
    int ascent;        // tmAscent
};

// The LOGFONT of a font handle (the system font for nullptr or a bad handle).
LOGFONT LogFontOf(HFONT font);
FontMetrics MetricsOf(const LOGFONT& font);
// Width of a text in the font, by the fixed metric.
int TextWidth(const LOGFONT& font, std::string_view text);
HFONT SystemFont();

}  // namespace fw::headless::detail

#endif
