// The system colours of a classic Windows setup, and their brushes (stock
// objects: deleting one does nothing).
#include "framework/api.h"
#include "framework/headless/gdi_objects.h"
#include "framework/headless/window_manager.h"

namespace fw::headless::detail {

namespace {

// The classic ("Windows Standard") colour scheme.
const COLORREF kSysColors[] = {
    RGB(192, 192, 192),  // COLOR_SCROLLBAR
    RGB(0, 128, 128),    // COLOR_BACKGROUND
    RGB(0, 0, 128),      // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(0, 0, 128),      // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),        // COLOR_3DDKSHADOW
    RGB(192, 192, 192),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(181, 181, 181),  // 25 (unnamed)
    RGB(0, 0, 128),      // COLOR_HOTLIGHT
    RGB(166, 202, 240),  // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(0, 0, 128),      // COLOR_MENUHILIGHT
    RGB(192, 192, 192),  // COLOR_MENUBAR
};
constexpr int kSysColorCount = static_cast<int>(sizeof(kSysColors) / sizeof(kSysColors[0]));

}  // namespace

}  // namespace fw::headless::detail

namespace fw::api {

using namespace fw::headless::detail;

DWORD GetSysColor(int index) {
    if (index < 0 || index >= kSysColorCount) {
        return 0;
    }
    return kSysColors[index];
}

HBRUSH GetSysColorBrush(int index) {
    InitSystem();
    if (index < 0 || index >= kSysColorCount) {
        return nullptr;
    }
    GdiTables& gdi = Gdi();
    auto it = gdi.sysColorBrushes.find(index);
    if (it != gdi.sysColorBrushes.end()) {
        return it->second;
    }
    auto brush = std::make_unique<GdiObject>();
    brush->kind = GdiKind::Brush;
    brush->stock = true;
    brush->color = kSysColors[index];
    auto handle = static_cast<HBRUSH>(AddObject(std::move(brush)));
    gdi.sysColorBrushes[index] = handle;
    return handle;
}

}  // namespace fw::api
