// The operator driver: tests drive dialogs, message boxes, common dialogs
// and the property sheet as a person at the station would, through one API
// that both window systems implement (natively on the headless backend,
// under Wine on the real windows of Setup.dll).
//
//   Operator op;
//   op.OnDialog(IDD_PASSWORD, [](DialogDriver& d) {
//       d.Type(IDC_PASSWORD, "secret");
//       d.Click(IDOK);
//   });
//   op.OnMessageBox([](MessageBoxSeen& m) { EXPECT_EQ("Wrong", m.text); return IDOK; });
//   EXPECT_EQ(1, station.Show(op));
//
// Handlers wait in queues, one queue per kind of window (and one per template
// ID for dialogs); each handler is used once, in the order it was queued,
// when its kind of window comes up. A handler runs while its window is up and
// must end it (a click on OK, Escape, the close box...): a handler that
// returns with its window still open fails the test, as does a window that
// comes up with no handler waiting (it is then cancelled so that the test
// ends) and a handler still waiting when the Operator goes out of scope.
// Windows that come up while a handler acts (a message box on OK) are handled
// by their own handlers, nested inside the action.
//
// Acting on a control that is disabled, hidden or missing fails the test and
// does nothing, as a person could not do it.
//
// Classes in this file: FontSeen, DialogDriver, SheetDriver, MessageBoxSeen,
// ColorDialogSeen, ColorChoice, FileDialogSeen, FileChoice, Operator.
#ifndef SETUP_TESTS_DRIVER_OPERATOR_H
#define SETUP_TESTS_DRIVER_OPERATOR_H

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/winapi.h"

// A control's font as the operator sees it (WM_GETFONT).
struct FontSeen {
    std::string face;
    int height = 0;  // LOGFONT lfHeight: negative for a character height in pixels
    int weight = 0;  // FW_NORMAL, FW_BOLD...

    // The point size at 96 pixels per inch, as a template's font size reads.
    int PointSize() const;
};

// A dialog (or a page, or the sheet's own window) the operator works on.
class DialogDriver {
public:
    explicit DialogDriver(HWND dialog);
    virtual ~DialogDriver() = default;
    DialogDriver(const DialogDriver&) = default;
    DialogDriver& operator=(const DialogDriver&) = default;

    HWND Hwnd() const { return m_hwnd; }
    int TemplateId() const;  // the template the dialog was made from, 0 when unknown
    std::string Caption() const;
    bool IsOpen() const;  // up and not ended

    // --- What a person does ----------------------------------------------
    void Click(int id);                            // a push, check or radio button
    void Type(int id, const std::string& text);    // select all, then type: replaces the text
    void Select(int id, int index);                // combo or list box, with its notification
    void Select(int id, const std::string& text);  // the item with exactly this text
    void Check(int id);                            // clicks when not checked
    void Uncheck(int id);                          // clicks when checked
    void PressEnter();                             // the default button
    void PressEscape();                            // Cancel
    void CloseBox();                               // the caption's close box
    void Wait(unsigned ms);                        // lets time pass: timers fire

    // --- What a person sees -----------------------------------------------
    bool Exists(int id) const;
    std::string Text(int id) const;  // a control's text; id 0: the caption
    bool IsChecked(int id) const;
    std::vector<std::string> Items(int id) const;  // combo or list box items, in order
    int CurSel(int id) const;                      // -1 when nothing is selected
    bool IsEnabled(int id) const;
    bool IsVisible(int id) const;
    RECT Rect(int id) const;      // in client coordinates of this dialog
    FontSeen Font(int id) const;  // id 0: the dialog's own font
    int Focus() const;            // ID of the control with the focus, 0 when none of ours
    LONG_PTR Style(int id) const;
    // The painted colour of a pixel in the control's client area; only where
    // the window system keeps what was painted (CanReadPixels).
    COLORREF Pixel(int id, int x, int y) const;
    HWND Item(int id) const;  // the control, NULL when there is none

protected:
    // The control a person would mean by this ID.
    virtual HWND Control(int id) const;
    // The control; when there is none, fails the test naming the query.
    HWND Existing(int id, const char* query) const;
    // The control if a person can act on it; otherwise fails the test.
    HWND Actionable(int id, const char* action) const;

    HWND m_hwnd;
};

// The property sheet: its own buttons and tabs, and the page on top. A
// control ID is looked up among the sheet's own controls first, then on the
// active page.
class SheetDriver : public DialogDriver {
public:
    explicit SheetDriver(HWND sheet);

    void PickTab(int index);  // as a click on the tab: the page being left may refuse
    int ActiveIndex() const;
    int PageCount() const;
    std::string TabTitle(int index) const;
    RECT TabRect() const;       // the tab control, in the sheet's client coordinates
    DialogDriver Page() const;  // the active page

protected:
    HWND Control(int id) const override;
};

// A message box as it is up.
struct MessageBoxSeen {
    std::string text;
    std::string caption;
    UINT type = 0;  // MB_ buttons | MB_ icon, as the operator can tell them apart
    HWND owner = NULL;
    int ownerTemplateId = 0;  // template of the owner dialog, 0 when none or not a dialog

    UINT Buttons() const { return type & 0x0Fu; }  // MB_OK, MB_YESNO...
    UINT Icon() const { return type & 0xF0u; }     // MB_ICONEXCLAMATION...
};

// The colour dialog as it opens.
struct ColorDialogSeen {
    COLORREF initial = 0;  // the colour shown selected
    HWND owner = NULL;
};

class ColorChoice {
public:
    static ColorChoice Pick(COLORREF color) { return ColorChoice(true, color); }
    static ColorChoice Cancel() { return ColorChoice(false, 0); }
    bool picked;
    COLORREF color;

private:
    ColorChoice(bool p, COLORREF c) : picked(p), color(c) {}
};

// An open or save-as file dialog as it opens.
struct FileDialogSeen {
    enum Kind { Open, Save } kind = Open;
    std::string title;
    std::string folder;                // the folder it starts in
    std::string fileName;              // the name already in the file name field
    std::vector<std::string> filters;  // descriptions of the file types offered
    bool hideReadOnly = false;         // no "open as read-only" check box
    HWND owner = NULL;
};

class FileChoice {
public:
    static FileChoice Path(const std::string& path) { return FileChoice(true, path); }
    static FileChoice Cancel() { return FileChoice(false, std::string()); }
    bool chosen;
    std::string path;

private:
    FileChoice(bool c, std::string p) : chosen(c), path(std::move(p)) {}
};

// The person at the station for one test. One at a time.
class Operator {
public:
    using DialogHandler = std::function<void(DialogDriver&)>;
    using SheetHandler = std::function<void(SheetDriver&)>;
    using MessageBoxHandler = std::function<int(MessageBoxSeen&)>;
    using ColorHandler = std::function<ColorChoice(ColorDialogSeen&)>;
    using FileHandler = std::function<FileChoice(FileDialogSeen&)>;

    Operator();
    ~Operator();
    Operator(const Operator&) = delete;
    Operator& operator=(const Operator&) = delete;

    void OnDialog(int templateId, DialogHandler handler);
    void OnSheet(SheetHandler handler);
    void OnMessageBox(MessageBoxHandler handler);
    void OnColorDialog(ColorHandler handler);
    void OnFileDialog(FileHandler handler);

    // Handlers queued and not used yet.
    int Pending() const;
    // What came up, in order: "dialog 1037", "sheet", "message box: <text>",
    // "colour dialog", "open file dialog", "save file dialog".
    const std::vector<std::string>& Seen() const { return m_seen; }

    // Whether DialogDriver::Pixel can read painted pixels here.
    static bool CanReadPixels();
    // The same, for guarding pixel checks: where they cannot run, the
    // running test is reported as skipped (its other checks still count and
    // can still fail it), so that a pass never stands for a check not made.
    static bool PixelChecksRun();

    // --- Called by the window-system side of the driver -------------------
    static Operator* Current();
    void RunDialog(HWND dialog);
    void RunSheet(HWND sheet);
    int AnswerMessageBox(MessageBoxSeen& box);  // the ID of the button to press
    ColorChoice AnswerColorDialog(ColorDialogSeen& dialog);
    FileChoice AnswerFileDialog(FileDialogSeen& dialog);

private:
    void Note(const std::string& what) { m_seen.push_back(what); }
    // After a handler: a window still open fails the test and is cancelled.
    void EnsureEnded(DialogDriver& window, const std::string& what);

    std::map<int, std::deque<DialogHandler>> m_dialogs;
    std::deque<SheetHandler> m_sheets;
    std::deque<MessageBoxHandler> m_messageBoxes;
    std::deque<ColorHandler> m_colors;
    std::deque<FileHandler> m_files;
    std::vector<std::string> m_seen;
};

#endif
