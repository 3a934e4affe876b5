// GDI of the headless backend: device contexts on pixel surfaces (a window's
// client area, a memory bitmap), stock and created objects, fills,
// rectangles, block copies, and text drawn and measured with a fixed metric.
//
// The text metric. Windows measures text with the font's glyphs; this
// backend gives every ASCII character the font's average character width and
// every other character (one UTF-8 sequence: Chinese captions) twice that,
// and every line the font's cell height. The two numbers per font come from
// the table below, which holds what a classic Windows setup reports at 96 DPI
// for the faces the module uses (tmAveCharWidth as the dialog manager
// computes it, tmHeight); other faces and sizes follow the formula under the
// table. The same numbers are the dialog base units of a template font, so a
// dialog's layout and its text agree.
//
// Text is recorded (DrawnTexts), not rasterised: only the background box of
// text drawn in OPAQUE mode reaches the pixels.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "framework/api.h"
#include "framework/templates/dialog_template.h"
#include "framework/headless/gdi_objects.h"
#include "framework/headless/window_manager.h"

namespace fw::headless::detail {

namespace {

struct MetricEntry {
    const char* face;
    int em;  // character height in pixels (-lfHeight)
    int averageWidth;
    int height;
};

// em 11 is 8 points, 12 is 9 points, 13 is 10 points at 96 DPI.
const MetricEntry kMetrics[] = {
    {"MS Shell Dlg", 11, 6, 13},    {"MS Shell Dlg 2", 11, 6, 13},  {"MS Sans Serif", 11, 6, 13},
    {"Tahoma", 11, 6, 13},          {"Times New Roman", 11, 6, 12}, {"Times New Roman", 12, 7, 14},
    {"Times New Roman", 13, 7, 15}, {"System", 14, 7, 16},
};

int RoundToInt(double value) {
    return static_cast<int>(std::floor(value + 0.5));
}

LOGFONT MakeLogFont(LONG height, LONG weight, const char* face, BYTE pitchAndFamily) {
    LOGFONT font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = ANSI_CHARSET;
    font.lfPitchAndFamily = pitchAndFamily;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

HGDIOBJ AddStock(int index, std::unique_ptr<GdiObject> object) {
    object->stock = true;
    HGDIOBJ handle = AddObject(std::move(object));
    Gdi().stockObjects[index] = handle;
    return handle;
}

std::unique_ptr<GdiObject> MakeBrushOrPen(GdiKind kind, COLORREF color, bool null) {
    auto object = std::make_unique<GdiObject>();
    object->kind = kind;
    object->color = color;
    object->null = null;
    return object;
}

std::unique_ptr<GdiObject> MakeFont(const LOGFONT& font) {
    auto object = std::make_unique<GdiObject>();
    object->kind = GdiKind::Font;
    object->logFont = font;
    return object;
}

// The 1 x 1 monochrome bitmap every new memory DC holds.
constexpr int kStockBitmap = 1000;

HDC NewDc(HWND window, bool memory) {
    InitStockObjects();
    auto dc = std::make_unique<DeviceContext>();
    HDC handle = NewHandle<HDC>();
    dc->hdc = handle;
    dc->window = window;
    dc->memory = memory;
    GdiTables& sys = Gdi();
    dc->brush = static_cast<HBRUSH>(sys.stockObjects[WHITE_BRUSH]);
    dc->pen = static_cast<HPEN>(sys.stockObjects[BLACK_PEN]);
    dc->font = static_cast<HFONT>(sys.stockObjects[SYSTEM_FONT]);
    if (memory) {
        dc->bitmap = static_cast<HBITMAP>(sys.stockObjects[kStockBitmap]);
    }
    sys.dcs[Key(handle)] = std::move(dc);
    return handle;
}

POINT ToDevice(const DeviceContext& dc, int x, int y) {
    return POINT{x + dc.viewportOrigin.x, y + dc.viewportOrigin.y};
}

RECT ToDevice(const DeviceContext& dc, const RECT& rect) {
    return RECT{rect.left + dc.viewportOrigin.x, rect.top + dc.viewportOrigin.y,
                rect.right + dc.viewportOrigin.x, rect.bottom + dc.viewportOrigin.y};
}

// Removes mnemonic prefixes: "&x" shows "x", "&&" shows "&", a last "&"
// shows nothing.
std::string StripPrefixes(std::string_view text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            shown.push_back(text[i]);
        } else if (i + 1 < text.size()) {
            shown.push_back(text[++i]);
        }
    }
    return shown;
}

std::string ExpandTabs(std::string_view text, int averageWidth, const LOGFONT& font) {
    std::string expanded;
    for (char c : text) {
        if (c == '\t') {
            int width = TextWidth(font, expanded);
            int stop = 8 * averageWidth;
            int spaces = stop > 0 ? (stop - width % stop + averageWidth - 1) / averageWidth : 1;
            expanded.append(static_cast<size_t>(std::max(1, spaces)), ' ');
        } else {
            expanded.push_back(c);
        }
    }
    return expanded;
}

// Splits a paragraph into lines no wider than `width` at blanks; a word
// wider than the line stays whole on a line of its own.
void WrapParagraph(const LOGFONT& font, std::string_view paragraph, int width,
                   std::vector<std::string>& lines) {
    std::string line;
    size_t i = 0;
    while (i < paragraph.size()) {
        size_t wordEnd = paragraph.find(' ', i);
        if (wordEnd == std::string_view::npos) {
            wordEnd = paragraph.size();
        }
        std::string_view word = paragraph.substr(i, wordEnd - i);
        std::string candidate = line.empty() ? std::string(word) : line + " " + std::string(word);
        if (!line.empty() && TextWidth(font, candidate) > width) {
            lines.push_back(line);
            line = std::string(word);
        } else {
            line = candidate;
        }
        i = wordEnd + 1;
        if (wordEnd == paragraph.size()) {
            break;
        }
    }
    lines.push_back(line);
}

void RecordText(DeviceContext& dc, Surface& surface, std::string text, RECT rect, UINT flags,
                bool textOut) {
    LOGFONT font = LogFontOf(dc.font);
    DrawnText drawn;
    drawn.text = std::move(text);
    drawn.rect = rect;
    drawn.color = dc.textColor;
    drawn.bkColor = dc.bkColor;
    drawn.bkMode = dc.bkMode;
    drawn.flags = flags;
    drawn.textOut = textOut;
    drawn.face = font.lfFaceName;
    drawn.height = font.lfHeight;
    drawn.weight = font.lfWeight;
    drawn.escapement = font.lfEscapement;
    surface.texts.push_back(std::move(drawn));
}

RECT Intersect(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

// SetTextColor and its kind: sets one attribute of a DC, answers the one it
// replaces, or `failure` for a bad DC.
template <class T>
T SetDcAttribute(HDC dc, T DeviceContext::*attribute, T value, T failure) {
    DeviceContext* context = FindDc(dc);
    if (context == nullptr) {
        return failure;
    }
    T previous = context->*attribute;
    context->*attribute = value;
    return previous;
}

bool RectsOverlap(const RECT& a, const RECT& b) {
    RECT i = Intersect(a, b);
    return i.left < i.right && i.top < i.bottom;
}

}  // namespace

GdiTables& Gdi() {
    static GdiTables tables;
    return tables;
}

HGDIOBJ AddObject(std::unique_ptr<GdiObject> object) {
    HGDIOBJ handle = NewHandle<HGDIOBJ>();
    Gdi().objects[Key(handle)] = std::move(object);
    return handle;
}

void Surface::Resize(int newWidth, int newHeight, COLORREF fill) {
    newWidth = std::max(0, newWidth);
    newHeight = std::max(0, newHeight);
    if (newWidth == width && newHeight == height) {
        return;
    }
    std::vector<COLORREF> resized(static_cast<size_t>(newWidth) * newHeight, fill);
    for (int y = 0; y < std::min(height, newHeight); ++y) {
        for (int x = 0; x < std::min(width, newWidth); ++x) {
            resized[static_cast<size_t>(y) * newWidth + x] = At(x, y);
        }
    }
    pixels = std::move(resized);
    width = newWidth;
    height = newHeight;
}

void Surface::Fill(RECT rect, COLORREF color) {
    LONG left = std::max<LONG>(0, rect.left);
    LONG top = std::max<LONG>(0, rect.top);
    LONG right = std::min<LONG>(width, rect.right);
    LONG bottom = std::min<LONG>(height, rect.bottom);
    for (LONG y = top; y < bottom; ++y) {
        for (LONG x = left; x < right; ++x) {
            Set(x, y, color);
        }
    }
}

void Surface::ForgetTexts(const RECT& area) {
    if (area.left <= 0 && area.top <= 0 && area.right >= width && area.bottom >= height) {
        texts.clear();
        return;
    }
    texts.erase(std::remove_if(texts.begin(), texts.end(),
                               [&area](const DrawnText& t) {
                                   return t.rect.left >= area.left && t.rect.top >= area.top &&
                                          t.rect.right <= area.right &&
                                          t.rect.bottom <= area.bottom;
                               }),
                texts.end());
}

void InitStockObjects() {
    GdiTables& sys = Gdi();
    if (!sys.stockObjects.empty()) {
        return;
    }
    AddStock(WHITE_BRUSH, MakeBrushOrPen(GdiKind::Brush, RGB(255, 255, 255), false));
    AddStock(LTGRAY_BRUSH, MakeBrushOrPen(GdiKind::Brush, RGB(192, 192, 192), false));
    AddStock(GRAY_BRUSH, MakeBrushOrPen(GdiKind::Brush, RGB(128, 128, 128), false));
    AddStock(DKGRAY_BRUSH, MakeBrushOrPen(GdiKind::Brush, RGB(64, 64, 64), false));
    AddStock(BLACK_BRUSH, MakeBrushOrPen(GdiKind::Brush, RGB(0, 0, 0), false));
    AddStock(NULL_BRUSH, MakeBrushOrPen(GdiKind::Brush, 0, true));
    AddStock(WHITE_PEN, MakeBrushOrPen(GdiKind::Pen, RGB(255, 255, 255), false));
    AddStock(BLACK_PEN, MakeBrushOrPen(GdiKind::Pen, RGB(0, 0, 0), false));
    AddStock(NULL_PEN, MakeBrushOrPen(GdiKind::Pen, 0, true));
    AddStock(OEM_FIXED_FONT, MakeFont(MakeLogFont(12, FW_NORMAL, "Terminal", FIXED_PITCH)));
    AddStock(ANSI_FIXED_FONT, MakeFont(MakeLogFont(12, FW_NORMAL, "Courier", FIXED_PITCH)));
    AddStock(ANSI_VAR_FONT, MakeFont(MakeLogFont(13, FW_NORMAL, "MS Sans Serif", VARIABLE_PITCH)));
    AddStock(SYSTEM_FONT, MakeFont(MakeLogFont(16, FW_BOLD, "System", VARIABLE_PITCH)));
    AddStock(DEVICE_DEFAULT_FONT, MakeFont(MakeLogFont(16, FW_BOLD, "System", VARIABLE_PITCH)));
    AddStock(SYSTEM_FIXED_FONT, MakeFont(MakeLogFont(15, FW_NORMAL, "Fixedsys", FIXED_PITCH)));
    AddStock(DEFAULT_GUI_FONT, MakeFont(MakeLogFont(-11, FW_NORMAL, "MS Shell Dlg", 0)));
    auto bitmap = std::make_unique<GdiObject>();
    bitmap->kind = GdiKind::Bitmap;
    bitmap->bitsPerPixel = 1;
    bitmap->surface.Resize(1, 1, RGB(0, 0, 0));
    AddStock(kStockBitmap, std::move(bitmap));
}

void ResetGdi() {
    GdiTables& sys = Gdi();
    sys.dcs.clear();
    for (auto it = sys.objects.begin(); it != sys.objects.end();) {
        it = it->second->stock ? std::next(it) : sys.objects.erase(it);
    }
    for (auto& entry : sys.objects) {
        entry.second->selectedIn = 0;
    }
}

GdiObject* FindObject(HGDIOBJ handle) {
    return FindIn(Gdi().objects, handle);
}

DeviceContext* FindDc(HDC hdc) {
    return FindIn(Gdi().dcs, hdc);
}

Surface* SurfaceOf(DeviceContext& dc) {
    if (dc.memory) {
        GdiObject* bitmap = FindObject(dc.bitmap);
        return bitmap != nullptr ? &bitmap->surface : nullptr;
    }
    Window* w = FindWin(dc.window);
    if (w == nullptr) {
        return nullptr;
    }
    RECT client = ClientRectOf(*w);
    w->surface.Resize(client.right, client.bottom, RGB(255, 255, 255));
    return &w->surface;
}

HFONT SystemFont() {
    InitStockObjects();
    return static_cast<HFONT>(Gdi().stockObjects[SYSTEM_FONT]);
}

LOGFONT LogFontOf(HFONT font) {
    GdiObject* object = FindObject(font);
    if (object == nullptr || object->kind != GdiKind::Font) {
        object = FindObject(SystemFont());
    }
    return object->logFont;
}

FontMetrics MetricsOf(const LOGFONT& font) {
    int em;
    if (font.lfHeight < 0) {
        em = -font.lfHeight;
    } else if (font.lfHeight > 0) {
        em = RoundToInt(font.lfHeight / 1.15);  // a cell height: the character height is less
    } else {
        em = 12;
    }
    for (const MetricEntry& entry : kMetrics) {
        if (entry.em == em && EqualNoCase(entry.face, font.lfFaceName)) {
            return FontMetrics{entry.averageWidth, entry.height, RoundToInt(entry.height * 0.8)};
        }
    }
    // Other faces: the cell is 15 % taller than the character, the average
    // character a little over half as wide as it is high.
    int height = font.lfHeight > 0 ? font.lfHeight : RoundToInt(em * 1.15);
    int average = std::max(1, RoundToInt(em * 0.55));
    return FontMetrics{average, height, RoundToInt(height * 0.8)};
}

int TextWidth(const LOGFONT& font, std::string_view text) {
    int average = MetricsOf(font).averageWidth;
    int width = 0;
    for (unsigned char c : text) {
        if (c < 0x80) {
            width += c >= 0x20 ? average : 0;
        } else if (c >= 0xC0) {
            width += 2 * average;  // the first byte of a UTF-8 sequence
        }
    }
    return width;
}

void ReleaseWindowDcs(HWND hwnd) {
    GdiTables& sys = Gdi();
    for (auto it = sys.dcs.begin(); it != sys.dcs.end();) {
        it =
            (!it->second->memory && it->second->window == hwnd) ? sys.dcs.erase(it) : std::next(it);
    }
}

COLORREF BrushColor(HBRUSH brush, bool* isNull) {
    uintptr_t value = Key(brush);
    *isNull = false;
    if (value >= 1 && value <= 31) {
        // (HBRUSH)(COLOR_xxx + 1), as window classes and FillRect accept.
        return api::GetSysColor(static_cast<int>(value) - 1);
    }
    GdiObject* object = FindObject(brush);
    if (object == nullptr || object->kind != GdiKind::Brush || object->null) {
        *isNull = true;
        return 0;
    }
    return object->color;
}

HBITMAP LoadBitmapObject(uint16_t id) {
    std::optional<fw::Bitmap> loaded = LoadBitmapResource(id);
    if (!loaded) {
        return nullptr;
    }
    auto bitmap = std::make_unique<GdiObject>();
    bitmap->kind = GdiKind::Bitmap;
    bitmap->bitsPerPixel = loaded->bitCount;
    bitmap->surface.Resize(loaded->width, loaded->height, 0);
    for (int y = 0; y < loaded->height; ++y) {
        for (int x = 0; x < loaded->width; ++x) {
            bitmap->surface.Set(x, y, loaded->Pixel(x, y) & 0x00FFFFFF);
        }
    }
    return static_cast<HBITMAP>(AddObject(std::move(bitmap)));
}

}  // namespace fw::headless::detail

namespace fw::api {

using namespace fw::headless;
using namespace fw::headless::detail;

HDC GetDC(HWND hwnd) {
    if (hwnd != nullptr && FindWin(hwnd) == nullptr) {
        return nullptr;
    }
    // GetDC(NULL) is the screen: a DC that measures but keeps no pixels.
    return NewDc(hwnd, false);
}

int ReleaseDC(HWND, HDC dc) {
    GdiTables& sys = Gdi();
    auto it = sys.dcs.find(Key(dc));
    if (it == sys.dcs.end() || it->second->memory) {
        return 0;
    }
    sys.dcs.erase(it);
    return 1;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
    Window* w = FindWin(hwnd);
    if (w == nullptr || paint == nullptr) {
        return nullptr;
    }
    std::memset(paint, 0, sizeof(*paint));
    RECT client = ClientRectOf(*w);
    w->surface.Resize(client.right, client.bottom, RGB(255, 255, 255));
    RECT area = RECT{0, 0, 0, 0};
    if (w->needsPaint) {
        // A window never invalidated since it was made needs all of it.
        bool none = w->invalid.left >= w->invalid.right || w->invalid.top >= w->invalid.bottom;
        area = none ? client : w->invalid;
    }
    bool erase = w->needsErase;
    w->needsPaint = false;
    w->needsErase = false;
    w->surface.ForgetTexts(area);
    HDC dc = NewDc(hwnd, false);
    paint->hdc = dc;
    paint->rcPaint = area;
    paint->fErase = FALSE;
    if (erase) {
        paint->fErase = Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    }
    return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
    if (paint == nullptr) {
        return FALSE;
    }
    ReleaseDC(hwnd, paint->hdc);
    return TRUE;
}

HDC CreateCompatibleDC(HDC) {
    return NewDc(nullptr, true);
}

BOOL DeleteDC(HDC dc) {
    GdiTables& sys = Gdi();
    auto it = sys.dcs.find(Key(dc));
    if (it == sys.dcs.end()) {
        return FALSE;
    }
    if (GdiObject* bitmap = FindObject(it->second->bitmap)) {
        bitmap->selectedIn = std::max(0, bitmap->selectedIn - 1);
    }
    sys.dcs.erase(it);
    return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
    auto bitmap = std::make_unique<GdiObject>();
    bitmap->kind = GdiKind::Bitmap;
    if (width <= 0 || height <= 0) {
        // As GDI: an empty request gives a 1 x 1 monochrome bitmap.
        bitmap->bitsPerPixel = 1;
        width = 1;
        height = 1;
    }
    bitmap->surface.Resize(width, height, RGB(0, 0, 0));
    return static_cast<HBITMAP>(AddObject(std::move(bitmap)));
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
    DeviceContext* to = FindDc(dest);
    if (to == nullptr) {
        return FALSE;
    }
    Surface* target = SurfaceOf(*to);
    POINT origin = ToDevice(*to, x, y);
    if (rop == BLACKNESS || rop == WHITENESS || rop == PATCOPY) {
        bool null = false;
        COLORREF color = rop == BLACKNESS   ? RGB(0, 0, 0)
                         : rop == WHITENESS ? RGB(255, 255, 255)
                                            : BrushColor(to->brush, &null);
        if (target != nullptr && !null) {
            target->Fill(RECT{origin.x, origin.y, origin.x + width, origin.y + height}, color);
        }
        return TRUE;
    }
    DeviceContext* from = FindDc(src);
    if (from == nullptr) {
        return FALSE;
    }
    Surface* source = SurfaceOf(*from);
    if (target == nullptr || source == nullptr) {
        return TRUE;
    }
    POINT start = ToDevice(*from, srcX, srcY);
    // Copy through a buffer: source and target may be the same surface.
    std::vector<std::pair<POINT, COLORREF>> copied;
    for (int dy = 0; dy < height; ++dy) {
        for (int dx = 0; dx < width; ++dx) {
            int sx = start.x + dx;
            int sy = start.y + dy;
            int tx = origin.x + dx;
            int ty = origin.y + dy;
            if (!source->Contains(sx, sy) || !target->Contains(tx, ty)) {
                continue;
            }
            COLORREF s = source->At(sx, sy);
            COLORREF d = target->At(tx, ty);
            COLORREF value = s;
            if (rop == SRCPAINT) {
                value = s | d;
            } else if (rop == SRCAND) {
                value = s & d;
            } else if (rop == SRCINVERT) {
                value = (s ^ d) & 0x00FFFFFF;
            }
            copied.push_back({POINT{tx, ty}, value});
        }
    }
    for (const auto& pixel : copied) {
        target->Set(pixel.first.x, pixel.first.y, pixel.second);
    }
    // The texts drawn in the copied area travel with its pixels.
    RECT sourceArea{start.x, start.y, start.x + width, start.y + height};
    RECT targetArea{origin.x, origin.y, origin.x + width, origin.y + height};
    if (source != target) {
        target->ForgetTexts(targetArea);
        std::vector<DrawnText> moved;
        for (const DrawnText& text : source->texts) {
            if (RectsOverlap(text.rect, sourceArea)) {
                DrawnText copy = text;
                LONG dx = origin.x - start.x;
                LONG dy = origin.y - start.y;
                copy.rect = RECT{text.rect.left + dx, text.rect.top + dy, text.rect.right + dx,
                                 text.rect.bottom + dy};
                moved.push_back(std::move(copy));
            }
        }
        target->texts.insert(target->texts.end(), moved.begin(), moved.end());
    }
    return TRUE;
}

int GetDeviceCaps(HDC, int index) {
    switch (index) {
        case LOGPIXELSX:
        case LOGPIXELSY:
            return 96;
        case HORZRES:
            return 1024;
        case VERTRES:
            return 768;
        case BITSPIXEL:
            return 32;
        case PLANES:
            return 1;
        default:
            return 0;
    }
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    DeviceContext* context = FindDc(dc);
    GdiObject* selected = FindObject(object);
    if (context == nullptr || selected == nullptr) {
        return nullptr;
    }
    HGDIOBJ previous = nullptr;
    switch (selected->kind) {
        case GdiKind::Brush:
            previous = context->brush;
            context->brush = static_cast<HBRUSH>(object);
            break;
        case GdiKind::Pen:
            previous = context->pen;
            context->pen = static_cast<HPEN>(object);
            break;
        case GdiKind::Font:
            previous = context->font;
            context->font = static_cast<HFONT>(object);
            break;
        case GdiKind::Bitmap: {
            if (!context->memory || (selected->selectedIn > 0 && context->bitmap != object)) {
                return nullptr;  // a bitmap lives in one memory DC at a time
            }
            previous = context->bitmap;
            if (GdiObject* old = FindObject(context->bitmap)) {
                old->selectedIn = std::max(0, old->selectedIn - 1);
            }
            context->bitmap = static_cast<HBITMAP>(object);
            selected->selectedIn += 1;
            break;
        }
    }
    return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
    GdiTables& sys = Gdi();
    auto it = sys.objects.find(Key(object));
    if (it == sys.objects.end()) {
        return FALSE;
    }
    if (it->second->stock) {
        return TRUE;  // deleting a stock object does nothing
    }
    if (it->second->kind == GdiKind::Bitmap && it->second->selectedIn > 0) {
        return FALSE;  // still selected into a memory DC
    }
    sys.objects.erase(it);
    return TRUE;
}

HGDIOBJ GetStockObject(int index) {
    InitStockObjects();
    GdiTables& sys = Gdi();
    if (index == kStockBitmap) {
        return nullptr;
    }
    auto it = sys.stockObjects.find(index);
    return it == sys.stockObjects.end() ? nullptr : it->second;
}

int GetObject(HGDIOBJ object, int size, LPVOID buffer) {
    GdiObject* found = FindObject(object);
    if (found == nullptr) {
        // A system colour brush handle of the (COLOR_xxx + 1) form is no object.
        return 0;
    }
    auto copyOut = [&](const void* data, int full) {
        if (buffer == nullptr) {
            return full;
        }
        int count = std::min(size, full);
        if (count <= 0) {
            return 0;
        }
        std::memcpy(buffer, data, static_cast<size_t>(count));
        return count;
    };
    switch (found->kind) {
        case GdiKind::Brush: {
            LOGBRUSH brush{static_cast<UINT>(found->null ? BS_NULL : BS_SOLID), found->color, 0};
            return copyOut(&brush, sizeof(brush));
        }
        case GdiKind::Pen: {
            LOGPEN pen{static_cast<UINT>(found->null ? PS_NULL : PS_SOLID), POINT{1, 0},
                       found->color};
            return copyOut(&pen, sizeof(pen));
        }
        case GdiKind::Font:
            return copyOut(&found->logFont, sizeof(LOGFONT));
        case GdiKind::Bitmap: {
            BITMAP bitmap{};
            bitmap.bmWidth = found->surface.width;
            bitmap.bmHeight = found->surface.height;
            bitmap.bmPlanes = 1;
            bitmap.bmBitsPixel = static_cast<WORD>(found->bitsPerPixel);
            bitmap.bmWidthBytes = ((found->surface.width * found->bitsPerPixel + 15) / 16) * 2;
            return copyOut(&bitmap, sizeof(bitmap));
        }
    }
    return 0;
}

HBRUSH CreateSolidBrush(COLORREF color) {
    return static_cast<HBRUSH>(
        AddObject(MakeBrushOrPen(GdiKind::Brush, color & 0x00FFFFFF, false)));
}

HFONT CreateFontIndirect(const LOGFONT* logFont) {
    if (logFont == nullptr) {
        return nullptr;
    }
    LOGFONT font = *logFont;
    font.lfFaceName[LF_FACESIZE - 1] = '\0';
    return static_cast<HFONT>(AddObject(MakeFont(font)));
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    DeviceContext* context = FindDc(dc);
    if (context == nullptr || rect == nullptr) {
        return 0;
    }
    bool null = false;
    COLORREF color = BrushColor(brush, &null);
    Surface* surface = SurfaceOf(*context);
    if (surface != nullptr && !null) {
        surface->Fill(ToDevice(*context, *rect), color);
    }
    return 1;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* context = FindDc(dc);
    if (context == nullptr) {
        return FALSE;
    }
    if (left > right) {
        std::swap(left, right);
    }
    if (top > bottom) {
        std::swap(top, bottom);
    }
    Surface* surface = SurfaceOf(*context);
    if (surface == nullptr) {
        return TRUE;
    }
    RECT device = ToDevice(*context, RECT{left, top, right, bottom});
    bool nullBrush = false;
    COLORREF fill = BrushColor(context->brush, &nullBrush);
    GdiObject* pen = FindObject(context->pen);
    if (pen == nullptr || pen->null) {
        // Without an outline the figure is one pixel narrower and shorter.
        if (!nullBrush) {
            surface->Fill(RECT{device.left, device.top, device.right - 1, device.bottom - 1}, fill);
        }
        return TRUE;
    }
    if (!nullBrush) {
        surface->Fill(RECT{device.left + 1, device.top + 1, device.right - 1, device.bottom - 1},
                      fill);
    }
    COLORREF line = pen->color;
    surface->Fill(RECT{device.left, device.top, device.right, device.top + 1}, line);
    surface->Fill(RECT{device.left, device.bottom - 1, device.right, device.bottom}, line);
    surface->Fill(RECT{device.left, device.top, device.left + 1, device.bottom}, line);
    surface->Fill(RECT{device.right - 1, device.top, device.right, device.bottom}, line);
    return TRUE;
}

int DrawText(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format) {
    DeviceContext* context = FindDc(dc);
    if (context == nullptr || text == nullptr || rect == nullptr) {
        return 0;
    }
    std::string raw =
        length < 0 ? std::string(text) : std::string(text, static_cast<size_t>(length));
    LOGFONT font = LogFontOf(context->font);
    FontMetrics metrics = MetricsOf(font);
    std::string shown = (format & DT_NOPREFIX) ? raw : StripPrefixes(raw);
    if (format & DT_EXPANDTABS) {
        shown = ExpandTabs(shown, metrics.averageWidth, font);
    }

    std::vector<std::string> lines;
    int width = rect->right - rect->left;
    if (format & DT_SINGLELINE) {
        lines.push_back(shown);
    } else {
        size_t start = 0;
        for (;;) {
            size_t end = shown.find_first_of("\r\n", start);
            std::string_view paragraph(shown.data() + start,
                                       (end == std::string::npos ? shown.size() : end) - start);
            if (format & DT_WORDBREAK) {
                WrapParagraph(font, paragraph, width, lines);
            } else {
                lines.emplace_back(paragraph);
            }
            if (end == std::string::npos) {
                break;
            }
            start =
                end +
                ((shown[end] == '\r' && end + 1 < shown.size() && shown[end + 1] == '\n') ? 2 : 1);
            if (start >= shown.size()) {
                break;
            }
        }
    }
    if (shown.empty()) {
        lines.clear();
    }
    int lineHeight = metrics.height;
    int textHeight = static_cast<int>(lines.size()) * lineHeight;
    int widest = 0;
    for (const std::string& line : lines) {
        widest = std::max(widest, TextWidth(font, line));
    }

    if (lines.empty() && (format & DT_CALCRECT)) {
        // Nothing to measure: a single line keeps its height, a text block has none.
        if (format & DT_SINGLELINE) {
            rect->right = rect->left;
            rect->bottom = rect->top + lineHeight;
            return lineHeight;
        }
        rect->bottom = rect->top;
        return 0;
    }
    if (format & DT_CALCRECT) {
        rect->right = rect->left + widest;
        rect->bottom = rect->top + textHeight;
        return textHeight;
    }

    int y = rect->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) {
            y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
        } else if (format & DT_BOTTOM) {
            y = rect->bottom - lineHeight;
        }
    }
    Surface* surface = SurfaceOf(*context);
    if (surface != nullptr) {
        RECT clip = ToDevice(*context, *rect);
        int lineTop = y;
        for (const std::string& line : lines) {
            int lineWidth = TextWidth(font, line);
            int x = rect->left;
            if (format & DT_CENTER) {
                x = rect->left + (width - lineWidth) / 2;
            } else if (format & DT_RIGHT) {
                x = rect->right - lineWidth;
            }
            if (context->bkMode == OPAQUE) {
                RECT box =
                    ToDevice(*context, RECT{x, lineTop, x + lineWidth, lineTop + lineHeight});
                surface->Fill((format & DT_NOCLIP) ? box : Intersect(box, clip), context->bkColor);
            }
            lineTop += lineHeight;
        }
        RecordText(*context, *surface, raw, clip, format, false);
    }
    return (y - rect->top) + textHeight;
}

BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int length) {
    DeviceContext* context = FindDc(dc);
    if (context == nullptr || text == nullptr) {
        return FALSE;
    }
    std::string raw =
        length < 0 ? std::string(text) : std::string(text, static_cast<size_t>(length));
    LOGFONT font = LogFontOf(context->font);
    FontMetrics metrics = MetricsOf(font);
    int width = TextWidth(font, raw);
    UINT align = context->textAlign;
    int left = x;
    if ((align & TA_CENTER) == TA_CENTER) {
        left = x - width / 2;
    } else if (align & TA_RIGHT) {
        left = x - width;
    }
    int top = y;
    if ((align & TA_BASELINE) == TA_BASELINE) {
        top = y - metrics.ascent;
    } else if (align & TA_BOTTOM) {
        top = y - metrics.height;
    }
    Surface* surface = SurfaceOf(*context);
    if (surface != nullptr) {
        RECT box = ToDevice(*context, RECT{left, top, left + width, top + metrics.height});
        if (context->bkMode == OPAQUE) {
            surface->Fill(box, context->bkColor);
        }
        RecordText(*context, *surface, raw, box, align, true);
    }
    return TRUE;
}

BOOL GetTextExtentPoint32(HDC dc, LPCSTR text, int length, LPSIZE size) {
    DeviceContext* context = FindDc(dc);
    if (context == nullptr || text == nullptr || size == nullptr || length < 0) {
        return FALSE;
    }
    LOGFONT font = LogFontOf(context->font);
    size->cx = TextWidth(font, std::string_view(text, static_cast<size_t>(length)));
    size->cy = MetricsOf(font).height;
    return TRUE;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    return SetDcAttribute(dc, &DeviceContext::textColor, color & 0x00FFFFFF, CLR_INVALID);
}

COLORREF GetTextColor(HDC dc) {
    DeviceContext* context = FindDc(dc);
    return context != nullptr ? context->textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
    return SetDcAttribute(dc, &DeviceContext::bkColor, color & 0x00FFFFFF, CLR_INVALID);
}

COLORREF GetBkColor(HDC dc) {
    DeviceContext* context = FindDc(dc);
    return context != nullptr ? context->bkColor : CLR_INVALID;
}

int SetBkMode(HDC dc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) {
        return 0;
    }
    return SetDcAttribute(dc, &DeviceContext::bkMode, mode, 0);
}

UINT SetTextAlign(HDC dc, UINT align) {
    return SetDcAttribute(dc, &DeviceContext::textAlign, align, static_cast<UINT>(GDI_ERROR));
}

BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    DeviceContext* context = FindDc(dc);
    if (context == nullptr) {
        return FALSE;
    }
    if (previous != nullptr) {
        *previous = context->viewportOrigin;
    }
    context->viewportOrigin = POINT{x, y};
    return TRUE;
}

COLORREF GetPixel(HDC dc, int x, int y) {
    DeviceContext* context = FindDc(dc);
    if (context == nullptr) {
        return CLR_INVALID;
    }
    Surface* surface = SurfaceOf(*context);
    POINT device = ToDevice(*context, x, y);
    if (surface == nullptr || !surface->Contains(device.x, device.y)) {
        return CLR_INVALID;
    }
    return surface->At(device.x, device.y);
}

}  // namespace fw::api

namespace fw::headless {

size_t LiveGdiObjects() {
    size_t count = 0;
    for (const auto& entry : detail::Gdi().objects) {
        count += entry.second->stock ? 0 : 1;
    }
    return count;
}

size_t LiveDeviceContexts() {
    return detail::Gdi().dcs.size();
}

}  // namespace fw::headless
