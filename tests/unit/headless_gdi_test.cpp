// The headless GDI: fills and rectangles exact to the pixel (the null pen
// as Windows draws it), block copies carrying their texts, the viewport
// origin, text drawn and measured with the fixed metric, objects and their
// release, and a subclassed control painting itself.
#if !defined(_WIN32)

#include <cstring>

#include "headless_test_support.h"

namespace {

using namespace headless_test;
using namespace fw::api;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A memory DC with a width x height bitmap, white.
struct Canvas {
    Canvas(int width, int height) {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, width, height);
        old = SelectObject(dc, bitmap);
        RECT all{0, 0, width, height};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    // '#' red, 'o' black, '.' white, '?' anything else.
    std::string Row(int y, int width) const {
        std::string row;
        for (int x = 0; x < width; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            row.push_back(c == kRed ? '#' : c == kBlack ? 'o' : c == kWhite ? '.' : '?');
        }
        return row;
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

class HeadlessGdi : public HeadlessTest {};

TEST_F(HeadlessGdi, RectangleAndFillRectCoverExactlyTheirPixels) {
    Canvas canvas(8, 8);
    HBRUSH red = CreateSolidBrush(kRed);
    SelectObject(canvas.dc, red);
    // The null pen: one pixel narrower and shorter than the rectangle.
    HGDIOBJ oldPen = SelectObject(canvas.dc, GetStockObject(NULL_PEN));
    Rectangle(canvas.dc, 2, 2, 6, 6);
    std::vector<std::string> nullPen = {"........", "........", "..###...", "..###...",
                                        "..###...", "........", "........", "........"};
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(nullPen[static_cast<size_t>(y)], canvas.Row(y, 8)) << "row " << y;
    }
    // A pen outlines right - 1 and bottom - 1; the brush fills inside.
    RECT all{0, 0, 8, 8};
    FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
    Rectangle(canvas.dc, 2, 2, 6, 6);
    std::vector<std::string> blackPen = {"........", "........", "..oooo..", "..o##o..",
                                         "..o##o..", "..oooo..", "........", "........"};
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(blackPen[static_cast<size_t>(y)], canvas.Row(y, 8)) << "row " << y;
    }
    // FillRect excludes right and bottom; a system colour index + 1 is a brush.
    FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT part{1, 1, 3, 2};
    FillRect(canvas.dc, &part, red);
    EXPECT_EQ(".##.....", canvas.Row(1, 8));
    EXPECT_EQ("........", canvas.Row(2, 8));
    FillRect(canvas.dc, &part, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    EXPECT_EQ(RGB(192, 192, 192), GetPixel(canvas.dc, 1, 1));
    SelectObject(canvas.dc, oldPen);
    DeleteObject(red);
}

TEST_F(HeadlessGdi, BitBltCopiesPixelsAndTheTextsDrawnThere) {
    Canvas source(10, 10);
    Canvas target(20, 20);
    HBRUSH red = CreateSolidBrush(kRed);
    RECT square{0, 0, 4, 4};
    FillRect(source.dc, &square, red);
    RECT label{0, 5, 10, 10};
    DrawText(source.dc, "hi", -1, &label, DT_SINGLELINE);
    BitBlt(target.dc, 5, 6, 10, 10, source.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(kRed, GetPixel(target.dc, 5, 6));
    EXPECT_EQ(kRed, GetPixel(target.dc, 8, 9));
    EXPECT_EQ(kWhite, GetPixel(target.dc, 9, 10));
    EXPECT_EQ(kWhite, GetPixel(target.dc, 4, 6));
    EXPECT_EQ(CLR_INVALID, GetPixel(target.dc, 20, 0));
    // The viewport origin moves what is drawn.
    SetViewportOrgEx(target.dc, 10, 10, nullptr);
    RECT dot{0, 0, 1, 1};
    FillRect(target.dc, &dot, red);
    POINT previous{};
    SetViewportOrgEx(target.dc, 0, 0, &previous);
    EXPECT_EQ(10, previous.x);
    EXPECT_EQ(kRed, GetPixel(target.dc, 10, 10));
    DeleteObject(red);
}

TEST_F(HeadlessGdi, TextIsMeasuredWithTheFixedMetricAndRecorded) {
    Canvas canvas(300, 100);
    LOGFONT logFont{};
    logFont.lfHeight = -11;  // 8 points
    std::strcpy(logFont.lfFaceName, "Times New Roman");
    HFONT font = CreateFontIndirect(&logFont);
    HGDIOBJ old = SelectObject(canvas.dc, font);
    SIZE size{};
    GetTextExtentPoint32(canvas.dc, "Bin 16", 6, &size);
    EXPECT_EQ(6 * 6, size.cx);
    EXPECT_EQ(12, size.cy);
    // Word breaking within a width of 10 characters.
    RECT rect{0, 0, 60, 0};
    int height = DrawText(canvas.dc, "one two three four", -1, &rect, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(24, height);  // "one two" / "three four"
    EXPECT_EQ(60, rect.right);
    EXPECT_EQ(24, rect.bottom);
    // "&&" shows one ampersand, "&x" shows x.
    RECT line{0, 0, 0, 0};
    DrawText(canvas.dc, "&Save && quit", -1, &line, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(11 * 6, line.right);
    // A Chinese character is twice as wide as a Latin one.
    GetTextExtentPoint32(canvas.dc,
                         "\xE5\xAE\xB9"
                         "a",
                         4, &size);
    EXPECT_EQ(3 * 6, size.cx);

    // Drawn text is recorded with its rectangle, colour, flags and font.
    SetTextColor(canvas.dc, kRed);
    SetBkMode(canvas.dc, TRANSPARENT);
    RECT box{10, 20, 110, 40};
    EXPECT_EQ(12, DrawText(canvas.dc, "OK", -1, &box, DT_CENTER | DT_SINGLELINE));
    SetBkMode(canvas.dc, OPAQUE);
    SetBkColor(canvas.dc, RGB(0, 0, 255));
    RECT centred{0, 50, 100, 90};
    DrawText(canvas.dc, "ab", -1, &centred, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    // Only the box behind opaque text reaches the pixels: 12 x 12 in the middle.
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(canvas.dc, 44, 64));
    EXPECT_EQ(kWhite, GetPixel(canvas.dc, 43, 64));
    EXPECT_EQ(kWhite, GetPixel(canvas.dc, 56, 64));
    EXPECT_EQ(kWhite, GetPixel(canvas.dc, 44, 63));
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(canvas.dc, 55, 75));
    EXPECT_EQ(kWhite, GetPixel(canvas.dc, 55, 76));

    // A bitmap's texts reach a window through BitBlt (see the swatch test);
    // here: the copy of the record in the bitmap.
    HWND window = Create(Dialog(WS_POPUP | WS_VISIBLE, 200, 100, "MS Shell Dlg", 8, {}));
    UpdateWindow(window);
    HDC windowDc = GetDC(window);
    BitBlt(windowDc, 0, 0, 200, 100, canvas.dc, 0, 0, SRCCOPY);
    ReleaseDC(window, windowDc);
    std::vector<fw::headless::DrawnText> texts = fw::headless::DrawnTexts(window);
    ASSERT_EQ(2u, texts.size()) << "the window painted over nothing it records";
    EXPECT_EQ("OK", texts[0].text);
    EXPECT_EQ(Describe(box), Describe(texts[0].rect));
    EXPECT_EQ(kRed, texts[0].color);
    EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_SINGLELINE), texts[0].flags);
    EXPECT_EQ("Times New Roman", texts[0].face);
    EXPECT_EQ(-11, texts[0].height);
    SelectObject(canvas.dc, old);
    DeleteObject(font);
}

TEST_F(HeadlessGdi, ObjectsDescribeThemselvesAndStockObjectsSurviveDeletion) {
    HFONT system = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LOGFONT logFont{};
    ASSERT_EQ(static_cast<int>(sizeof(logFont)), GetObject(system, sizeof(logFont), &logFont));
    EXPECT_STREQ("System", logFont.lfFaceName);
    EXPECT_EQ(FW_BOLD, logFont.lfWeight);
    EXPECT_TRUE(DeleteObject(system));
    EXPECT_EQ(static_cast<int>(sizeof(logFont)), GetObject(system, sizeof(logFont), &logFont));

    size_t before = fw::headless::LiveGdiObjects();
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    LOGBRUSH described{};
    GetObject(brush, sizeof(described), &described);
    EXPECT_EQ(RGB(1, 2, 3), described.lbColor);
    EXPECT_EQ(before + 1, fw::headless::LiveGdiObjects());
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_EQ(before, fw::headless::LiveGdiObjects());

    // A bitmap selected into a DC is not deleted.
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 3, 2);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_FALSE(DeleteObject(bitmap));
    SelectObject(dc, old);
    EXPECT_TRUE(DeleteObject(bitmap));
    DeleteDC(dc);
    EXPECT_EQ(96, GetDeviceCaps(nullptr, LOGPIXELSY));
    EXPECT_EQ(RGB(192, 192, 192), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(RGB(0, 0, 0), GetSysColor(COLOR_WINDOWTEXT));
}

TEST_F(HeadlessGdi, TextOutPlacesItsTextByTheAlignment) {
    Canvas canvas(100, 100);
    SetBkMode(canvas.dc, TRANSPARENT);
    // The system font: 7 pixels a character, 16 high, baseline 13 below the top.
    struct Case {
        UINT align;
        RECT box;
    } cases[] = {
        {TA_TOP | TA_LEFT, {50, 40, 71, 56}},
        {TA_CENTER | TA_TOP, {40, 40, 61, 56}},
        {TA_RIGHT | TA_BOTTOM, {29, 24, 50, 40}},
        {TA_BASELINE | TA_LEFT, {50, 27, 71, 43}},
    };
    HWND window = Create(Dialog(WS_POPUP | WS_VISIBLE, 100, 100, "MS Shell Dlg", 8, {}));
    UpdateWindow(window);
    HDC dc = GetDC(window);
    SetViewportOrgEx(dc, 10, 0, nullptr);  // as when a label draws rotated text at its centre
    for (const Case& c : cases) {
        SetTextAlign(dc, c.align);
        TextOut(dc, 40, 40, "abc", 3);
    }
    ReleaseDC(window, dc);
    std::vector<fw::headless::DrawnText> texts = fw::headless::DrawnTexts(window);
    ASSERT_EQ(4u, texts.size());
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(texts[i].textOut);
        EXPECT_EQ(cases[i].align, texts[i].flags);
        EXPECT_EQ(Describe(cases[i].box), Describe(texts[i].rect))
            << "alignment " << cases[i].align;
    }
}

// A static subclassed to paint itself in one colour through a memory DC,
// as a colour swatch does.
WNDPROC g_staticProc = nullptr;
COLORREF g_swatchColor = 0;

LRESULT CALLBACK SwatchProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        return TRUE;
    }
    if (message != WM_PAINT) {
        return CallWindowProc(g_staticProc, hwnd, message, wParam, lParam);
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(g_swatchColor);
    FillRect(memory, &client, brush);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    DeleteObject(brush);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(hwnd, &ps);
    return 0;
}

TEST_F(HeadlessGdi, SubclassedSwatchPaintsItsColourOverItsBitmap) {
    DialogItemTemplate swatch = Item(ControlClass::Static, 40, SS_BITMAP | SS_NOTIFY, 10, 10, 1, 1);
    swatch.title = NameOrOrdinal::Ordinal(1041);
    HWND dialog = Create(Dialog(WS_POPUP | WS_VISIBLE, 100, 60, "MS Shell Dlg", 8, {swatch}));
    HWND control = GetDlgItem(dialog, 40);
    // Before: the template's bitmap.
    COLORREF bitmapPixel = fw::headless::GetWindowPixel(control, 0, 0);
    EXPECT_NE(CLR_INVALID, bitmapPixel);
    size_t objects = fw::headless::LiveGdiObjects();
    size_t dcs = fw::headless::LiveDeviceContexts();

    g_staticProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SwatchProc)));
    g_swatchColor = RGB(0, 128, 0);
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    for (POINT p : {POINT{0, 0}, POINT{17, 11}, POINT{9, 6}}) {
        EXPECT_EQ(RGB(0, 128, 0), fw::headless::GetWindowPixel(control, p.x, p.y))
            << p.x << ", " << p.y;
    }
    EXPECT_EQ(CLR_INVALID, fw::headless::GetWindowPixel(control, 18, 0)) << "outside the 18 x 12";
    // The dialog around it keeps its face colour.
    EXPECT_EQ(RGB(192, 192, 192), fw::headless::GetWindowPixel(dialog, 2, 2));
    EXPECT_EQ(objects, fw::headless::LiveGdiObjects()) << "the paint released what it made";
    EXPECT_EQ(dcs, fw::headless::LiveDeviceContexts());
}

}  // namespace

#endif  // !_WIN32
