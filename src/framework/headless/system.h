// The state of the headless window system, shared by its sources: windows
// and their classes, the message queue, focus, timers, GDI objects and
// device contexts, modal runs. Not for use outside src/framework/headless.
//
// Handles are numbers from one counter, shown as pointers; a handle is looked
// up in its table on every use, so a stale handle fails the call instead of
// touching freed memory. A destroyed window stays in a graveyard until the
// outermost message dispatch returns, so code still running for it (a
// control's procedure after it notified its parent) never sees freed memory.
#ifndef SETUP_FRAMEWORK_HEADLESS_SYSTEM_H
#define SETUP_FRAMEWORK_HEADLESS_SYSTEM_H

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#include "framework/dialog_template.h"
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

// --- Windows -----------------------------------------------------------------
// Per-class state of a control, owned by its window.
struct ControlState {
    virtual ~ControlState() = default;
};

struct WindowClass {
    std::string name;
    WNDPROC proc = nullptr;
    int windowExtra = 0;  // bytes, addressed by GetWindowLongPtr(index >= 0)
    HBRUSH background = nullptr;
    HCURSOR cursor = nullptr;
};

struct Window {
    HWND hwnd = nullptr;
    const WindowClass* windowClass = nullptr;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string text;
    HWND parent = nullptr;  // child windows
    HWND owner = nullptr;   // top-level windows
    std::vector<HWND> children;
    LONG_PTR id = 0;
    HINSTANCE instance = nullptr;
    RECT rect{};  // in the parent's client coordinates, or on the screen
    LONG_PTR userData = 0;
    std::vector<uint8_t> extra;
    std::vector<std::pair<std::string, HANDLE>> props;  // names upper-cased
    HFONT font = nullptr;                               // WM_SETFONT (controls)

    // Painting.
    bool needsPaint = true;
    bool needsErase = true;
    bool noRedraw = false;  // WM_SETREDRAW FALSE: invalidating is ignored
    RECT invalid{};         // union of the invalidated client rectangles
    Surface surface;

    bool destroyed = false;
    bool keepPosts = false;  // CreateTopLevelWindow: keep what is posted
    std::vector<MSG> posted;

    std::unique_ptr<ControlState> control;
};

// --- GDI objects ------------------------------------------------------------
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

// Text metrics of a font, from the fixed tables of this backend.
struct FontMetrics {
    int averageWidth;  // tmAveCharWidth
    int height;        // tmHeight
    int ascent;        // tmAscent
};

// --- Timers -------------------------------------------------------------------
struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    TIMERPROC proc = nullptr;
    uint64_t due = 0;
    uint64_t order = 0;  // creation order, for timers due at the same time
};

// --- The whole state ------------------------------------------------------------
struct System {
    uintptr_t nextHandle = 0x10000;
    // Looked up on every message: hashed.
    std::unordered_map<uintptr_t, std::unique_ptr<Window>> windows;
    std::vector<HWND> topLevel;  // creation order
    std::vector<std::unique_ptr<Window>> graveyard;
    int dispatchDepth = 0;

    std::vector<std::unique_ptr<WindowClass>> classes;

    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
    HCURSOR cursor = nullptr;

    std::deque<MSG> queue;

    uint64_t now = 0;
    uint64_t timerOrder = 0;
    UINT_PTR nextThreadTimerId = 1;
    std::vector<Timer> timers;
    bool advancing = false;

    std::map<uintptr_t, std::unique_ptr<GdiObject>> objects;
    std::map<uintptr_t, std::unique_ptr<DeviceContext>> dcs;
    std::map<int, HGDIOBJ> stockObjects;
    std::map<int, HBRUSH> sysColorBrushes;

    std::function<void(ModalWindow&)> modalHook;
    std::vector<std::string> errors;
    std::vector<ShellRequest> shellRequests;
};

System& Sys();

uintptr_t NewHandleValue();
template <typename H>
H NewHandle() {
    return reinterpret_cast<H>(NewHandleValue());
}
inline uintptr_t Key(const void* handle) {
    return reinterpret_cast<uintptr_t>(handle);
}
// The signed coordinates of a mouse message's lParam.
inline POINT PointOf(LPARAM lParam) {
    return POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
}

// --- Window helpers (windows.cpp) ----------------------------------------------
Window* FindWin(HWND hwnd);  // live windows only
// The control state of class `State` that a window owns; nullptr for a dead
// window or one of another class. The states are leaf classes, so the exact
// type is compared (every message of a control asks for it).
template <class State>
State* ControlStateOf(HWND hwnd) {
    Window* w = FindWin(hwnd);
    ControlState* state = w != nullptr ? w->control.get() : nullptr;
    return state != nullptr && typeid(*state) == typeid(State) ? static_cast<State*>(state)
                                                               : nullptr;
}
const WindowClass* FindClass(std::string_view name);
void RegisterBuiltinClass(const char* name, WNDPROC proc, int windowExtra, HBRUSH background);
bool EqualNoCase(std::string_view a, std::string_view b);
std::string UpperCase(std::string_view text);

// Sends a message through the window's procedure; 0 for a dead window.
LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// WM_COMMAND with a notification code to the parent of a control.
void NotifyParent(HWND control, WORD code);

// Client area in window coordinates (the non-client frame subtracted).
RECT ClientInsets(DWORD style, DWORD exStyle);
RECT ClientRectOf(const Window& w);     // (0, 0, width, height)
POINT ClientOriginOnScreen(HWND hwnd);  // client (0, 0) in screen coordinates
bool IsVisibleDeep(HWND hwnd);          // itself and every ancestor
bool IsEnabledDeep(HWND hwnd);
HWND TopLevelOf(HWND hwnd);
bool IsDescendant(HWND ancestor, HWND hwnd);

// Marks a window (and optionally its children) as needing a paint.
void Invalidate(HWND hwnd, const RECT* rect, bool erase, bool children);
// Paints a window that needs it (WM_PAINT), then its children.
void PaintPending(HWND hwnd, bool children);

// Timers of a destroyed window go with it.
void KillWindowTimers(HWND hwnd);

// --- GDI helpers (gdi.cpp) -------------------------------------------------------
void InitStockObjects();
GdiObject* FindObject(HGDIOBJ handle);
DeviceContext* FindDc(HDC hdc);
Surface* SurfaceOf(DeviceContext& dc);
// The LOGFONT of a font handle (the system font for nullptr or a bad handle).
LOGFONT LogFontOf(HFONT font);
FontMetrics MetricsOf(const LOGFONT& font);
// Width of a text in the font, by the fixed metric.
int TextWidth(const LOGFONT& font, std::string_view text);
HFONT SystemFont();
// A window DC that the backend uses for its own painting of a control.
HDC WindowDc(HWND hwnd);
void ReleaseWindowDcs(HWND hwnd);
COLORREF BrushColor(HBRUSH brush, bool* isNull);
void ResetGdi();

// --- Dialogs (dialog.cpp) --------------------------------------------------------
// MulDiv: a * b / c rounded half away from zero.
int MulDivRound(int a, int b, int c);
// Creates a dialog from a parsed template, as CreateDialogIndirectParam
// does: window, font, controls, WM_INITDIALOG, focus, shown when the
// template says WS_VISIBLE (or `forceVisible`). nullptr when a control
// cannot be created.
HWND CreateDialogFromTemplate(const fw::DialogTemplate& dialogTemplate, HINSTANCE instance,
                              HWND parent, DLGPROC proc, LPARAM param, bool forceVisible);
// Parses a template held in caller memory of unknown length.
std::optional<fw::DialogTemplate> ParseTemplateAt(const void* bytes);
// The first control that takes the focus by Tab (visible, enabled, WS_TABSTOP,
// looking into WS_EX_CONTROLPARENT children), or nullptr.
HWND FirstTabItem(HWND dialog);
// Disables the owner of a modal run and enables it again when it ends.
class OwnerDisabler {
public:
    explicit OwnerDisabler(HWND owner);
    ~OwnerDisabler();
    void Release();
    OwnerDisabler(const OwnerDisabler&) = delete;
    OwnerDisabler& operator=(const OwnerDisabler&) = delete;

private:
    HWND m_owner = nullptr;
};
// Dialog base units of a template font (face, point size).
SIZE DialogBaseUnits(std::string_view face, int pointSize);
bool IsDialog(HWND hwnd);
// The dialog's DLGPROC result storage and end state.
bool DialogEnded(HWND hwnd);
INT_PTR DialogResult(HWND hwnd);
// The window procedure of the "#32770" class.
LRESULT CALLBACK DefDlgProcImpl(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Dialog keyboard handling of the operator actions.
HWND DefaultButton(HWND dialog);

// --- Modal runs (modal.cpp) -------------------------------------------------------
// Hands a modal window to the hook; records an error when none is installed
// (then the caller ends the window with its cancel result).
bool RunModalHook(ModalWindow& modal);
void RecordError(std::string message);

// --- Controls (one source each) ---------------------------------------------------
void RegisterControlClasses();
LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ListBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK ComboBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK TabControlProc(HWND, UINT, WPARAM, LPARAM);

// Item height of a tab control of the font.
int TabItemHeight(HFONT font);

// The brush a control paints its background with: the parent's answer to
// WM_CTLCOLORxxx (which also sets the DC's colours), else the system colour.
HBRUSH ControlBrush(HWND control, UINT ctlColorMessage, HDC dc);
// The end of a control's window procedure, alike for every control class:
// WM_SETFONT keeps the font in `font` (and repaints when asked), WM_GETFONT
// answers it, WM_PAINT runs `paint` on the DC between BeginPaint and
// EndPaint (not when the window has gone), WM_ERASEBKGND is left to the
// paint (it covers the whole control); everything else goes to
// DefWindowProc.
LRESULT DefControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, HFONT& font,
                       void (*paint)(HWND, HDC, const Window&));
// Gives a static control an image it owns (a dialog template's bitmap):
// STM_SETIMAGE, and the image is deleted with the control.
void StaticTakeImage(HWND control, HBITMAP bitmap);
// The height of a line of text in a window's font (WM_GETFONT).
int FontHeightOf(HWND window);

// An automatic radio button's group: the radio buttons from the group start
// before it to the next group start.
std::vector<HWND> RadioGroupOf(HWND button);

}  // namespace fw::headless::detail

#endif
