// The headless window system as the tests see it: the modal hook through
// which every modal run (dialog, property sheet, message box, colour and file
// dialog) reaches the test's operator, the actions a person performs (click,
// type, pick a tab, close, Enter, Escape, mouse press), the virtual clock,
// what was painted, and the shell requests.
//
// Everything else goes through fw::api, which behaves as Win32 does on the
// in-memory windows.
//
// Fixed metrics of this backend (Windows' own values at 96 DPI where a
// classic Windows setup has one; see gdi.cpp and dialog.cpp for the tables):
//   - screen 1024 x 768; caption 19 pixels, dialog frame 3, border 1, client
//     edge 2, static edge 1;
//   - dialog base units per template font: "MS Shell Dlg", "MS Sans Serif",
//     "Tahoma" 8 pt give 6 x 13; "Times New Roman" 8 / 9 / 10 pt give
//     6 x 12, 7 x 14, 7 x 15; other fonts follow a formula of the pixel height;
//   - text: every ASCII character is as wide as the font's average character
//     width, every other character twice as wide, lines as high as the
//     font's cell height; text is recorded (DrawnTexts), not rasterised.
#ifndef SETUP_FRAMEWORK_HEADLESS_HEADLESS_H
#define SETUP_FRAMEWORK_HEADLESS_HEADLESS_H

#include <functional>
#include <string>
#include <vector>

#include "framework/winapi.h"

namespace fw::headless {

// A modal window that is up and waits for the operator. The hook receives it
// while the window runs; when the hook returns, the window must have ended.
struct ModalWindow {
    enum Kind { Dialog, PropertySheet, MessageBox, ColorDialog, OpenFileDialog, SaveFileDialog };
    Kind kind = Dialog;
    HWND hwnd = nullptr;           // the dialog or the sheet; nullptr for the others
    HWND owner = nullptr;          // the owner given to the call (parent of a dialog)
    int templateId = 0;            // the dialog's "SetupTemplateId" property, 0 when none
    std::string text;              // message box text
    std::string caption;           // message box caption, dialog or sheet title
    UINT type = 0;                 // message box type (MB_...)
    CHOOSECOLOR* color = nullptr;  // colour dialog: the caller's structure
    OPENFILENAME* file = nullptr;  // file dialogs: the caller's structure
    // File dialogs: the folder the dialog shows. It opens in the folder of
    // the name given (when it has one), else in its initial directory, else
    // in the current directory; the operator's side moves it as a person
    // browses. As Windows' dialog does, the dialog makes the folder it shows
    // the process's current directory, as it opens and as it closes.
    std::string folder;
    // Message boxes: the button the operator pressed (IDOK, IDYES...).
    // Colour and file dialogs: TRUE when the operator confirmed (after
    // writing color->rgbResult or the path into file->lpstrFile), FALSE for
    // Cancel. Dialogs and sheets end through their own windows instead.
    INT_PTR result = 0;
};

// Installs the function that runs every modal window (nullptr removes it).
// It is called synchronously and re-entrantly: a modal window opened by an
// action inside the hook calls the hook again before that action returns.
void SetModalHook(std::function<void(ModalWindow&)> hook);

// Problems the backend found that a test should fail on: a modal run with no
// hook installed, a hook that returned with its window still open. Returns
// them and forgets them.
std::vector<std::string> TakeErrors();

// --- Operator actions -------------------------------------------------------
// Each returns false, and does nothing, when a person could not do it: the
// window is missing, disabled or hidden (itself or an ancestor). Posted
// messages are delivered after every action, as the modal loop would.

// A mouse click on a button (push, check, radio; automatic ones change their
// state first) or on a notifying static: BN_CLICKED / STN_CLICKED to the
// parent.
bool Click(HWND control);
// A key typed into an edit control: the selection is replaced by the
// character, '\b' deletes the selection or the character before the caret.
// The limit, digits-only and read-only rules apply; EN_CHANGE follows a
// change. A refused character beeps (returns true, changes nothing).
bool TypeChar(HWND edit, char ch);
// A click on tab `index` of a property sheet: the current page's
// PSN_KILLACTIVE first; a refusal keeps the page.
bool SelectTab(HWND sheet, int index);
// The close box of a top-level window (WM_SYSCOMMAND SC_CLOSE).
bool Close(HWND window);
// Enter and Escape pressed in a dialog or sheet (the top-level window):
// Enter clicks the default button (DM_GETDEFID, else IDOK), Escape sends
// IDCANCEL.
bool KeyEnter(HWND window);
bool KeyEscape(HWND window);
// The left mouse button pressed at a point of a window's client area.
bool LButtonDown(HWND window, POINT point);

// Delivers the posted messages that wait in the queue (as a message loop).
void PumpMessages();

// --- Virtual clock ----------------------------------------------------------
// Moves the clock forward, firing every timer that falls due on the way in
// time order (WM_TIMER to the window, or the timer's TIMERPROC).
void AdvanceClock(unsigned milliseconds);
// The current virtual time in milliseconds since Reset.
DWORD Now();

// --- Painting ---------------------------------------------------------------
struct DrawnText {
    std::string text;  // as passed to DrawText / TextOut
    RECT rect;         // in the window's client coordinates
    COLORREF color;    // text colour
    COLORREF bkColor;  // background colour (used when bkMode is OPAQUE)
    int bkMode;        // TRANSPARENT or OPAQUE
    UINT flags;        // DT_ flags (DrawText) or TA_ alignment (TextOut)
    bool textOut;      // TextOut rather than DrawText
    std::string face;  // the font's face, height, weight and escapement
    LONG height;
    LONG weight;
    LONG escapement;
};

// A window paints when something asks it to (UpdateWindow, RedrawWindow with
// RDW_UPDATENOW) and, as on a screen, before anybody looks: the queries below
// first paint a window that has a pending update.
// The colour of a pixel of the window's client area; CLR_INVALID outside.
COLORREF GetWindowPixel(HWND window, int x, int y);
// The texts drawn on the window's surface since its last full repaint.
std::vector<DrawnText> DrawnTexts(HWND window);

// --- Shell ------------------------------------------------------------------
struct ShellRequest {
    HWND owner;
    std::string verb;  // empty for the default verb
    std::string file;
    std::string parameters;
    std::string directory;
    int showCmd;
};
// The ShellExecute requests made so far, in order.
std::vector<ShellRequest> ShellRequests();

// GDI objects (brushes, pens, fonts, bitmaps) and device contexts that exist
// and are not the system's own (stock objects, system colour brushes): a
// window that releases what it made leaves these counts where they were.
size_t LiveGdiObjects();
size_t LiveDeviceContexts();
// Windows that exist (created and not yet destroyed), of every kind.
size_t LiveWindows();

// --- Windows of the tests ---------------------------------------------------
// Registers a window class (as RegisterClass) so a test can create windows of
// its own with fw::api::CreateWindowEx. Returns false when the name is taken.
bool RegisterWindowClass(const WNDCLASS& windowClass);
// A top-level window of the given class and title (the class is registered
// on first use) whose posted messages are kept for the test: FindWindow finds
// it, and TakePostedMessages returns what was posted to it.
HWND CreateTopLevelWindow(const char* className, const char* title);
// The messages posted to a window made by CreateTopLevelWindow, in order,
// delivered or still queued; they are removed.
std::vector<MSG> TakePostedMessages(HWND window);

// Destroys every window and forgets hooks, timers, records and errors; the
// clock restarts at 0. Tests call it between cases.
void Reset();

}  // namespace fw::headless

#endif
