// The demo host: the station's main job in its first form. It runs from the
// sample station folder that scripts/demo builds (Setup.dll, DLL\Language.dll,
// Job\Demo.ini beside it), owns the station window that the module notifies,
// builds a flash table, and calls Show as the station does, printing each step.
//
//   demohost [--language 0|1|2] [--flash-index N] [--job PATH] [--tour [--shots]]
//
// Without --tour the dialogs wait for a person. With --tour the demo goes
// through every window of the module by itself, from a thread timer: the
// password dialog (the job's password typed, OK), the sheet's first tab, the
// advanced settings dialog, every other tab of the sheet (and the flash ID
// editor from the flash check tab), an export of the job to Job\Exported.ini
// and its import (each file dialog and message), then Cancel on the sheet. It waits for
// each window to be up and painted before going on, and fails with a message
// naming the window that did not come within its time.
//
// With --shots it also stops at each of those windows for a screenshot: it
// prints
//   TOUR-SHOT <name> <left> <top> <right> <bottom>
// (the window's rectangle on the screen) and goes on once the file
// Tour\<name>.done appears in the station folder.
#include <windows.h>
// windows.h first
#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "../res/resource.h"
#include "dialog_answers.h"
#include "host_files.h"
#include "setup/host.h"

namespace {

struct DemoOptions {
    int language = SETUP_LANGUAGE_ENU;
    int flashIndex = 2;
    std::string jobFile;  // default: Job\Demo.ini in the station folder
    bool tour = false;
    bool shots = false;
};

bool ParseOptions(int argc, char** argv, DemoOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--language" && i + 1 < argc) {
            options.language = std::atoi(argv[++i]);
        } else if (arg == "--flash-index" && i + 1 < argc) {
            options.flashIndex = std::atoi(argv[++i]);
        } else if (arg == "--job" && i + 1 < argc) {
            options.jobFile = argv[++i];
        } else if (arg == "--tour") {
            options.tour = true;
        } else if (arg == "--shots") {
            options.shots = true;
        } else {
            std::fprintf(stderr,
                         "usage: demohost [--language 0|1|2] [--flash-index N] [--job PATH] "
                         "[--tour [--shots]]\n");
            return false;
        }
    }
    if (options.shots && !options.tour) {
        std::fprintf(stderr, "demohost: --shots needs --tour\n");
        return false;
    }
    return true;
}

// Texts of the language file are in the ANSI code page; the console of the
// demo may be a terminal that expects UTF-8.
void PrintAnsi(const std::string& text) {
    const int wide = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> buffer(wide > 0 ? wide : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, buffer.data(), wide);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    std::fflush(stdout);
    if (GetConsoleMode(out, &mode)) {
        DWORD written = 0;
        WriteConsoleW(out, buffer.data(), static_cast<DWORD>(wcslen(buffer.data())), &written,
                      nullptr);
        return;
    }
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, buffer.data(), -1, nullptr, 0, nullptr, nullptr);
    std::vector<char> utf8(bytes > 0 ? bytes : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, buffer.data(), -1, utf8.data(), bytes, nullptr, nullptr);
    std::fputs(utf8.data(), stdout);
}

// The station folder: the folder of this program, with its trailing backslash.
std::string StationFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string text(path, length);
    return text.substr(0, text.find_last_of('\\') + 1);
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The station's flash list: six makers' parts in six capacities.
class DemoFlashTable {
public:
    DemoFlashTable() {
        static const char* const kMakers[] = {"FX", "NV", "QM", "KL", "RB", "ZT"};
        static const struct {
            const char* part;
            const char* capacity;
        } kParts[] = {{"29F16G08", "2GB"},   {"29F32G08", "4GB"},   {"29F64G08", "8GB"},
                      {"29F128G08", "16GB"}, {"29F256G08", "32GB"}, {"27F08G08", "1GB"}};
        for (const char* maker : kMakers) {
            for (const auto& part : kParts) {
                FlashRecord record = {};
                std::snprintf(record.firstText, sizeof record.firstText, "%s", part.capacity);
                std::snprintf(record.flashName, sizeof record.flashName, "%s%sAMC", maker,
                              part.part);
                m_records.push_back(record);
            }
        }
        m_table.reserved = 0;
        m_table.records = m_records.data();
        m_table.count = static_cast<int32_t>(m_records.size());
    }

    const FlashTable* Table() const { return &m_table; }
    const FlashRecord& Record(int index) const { return m_records[index]; }
    int Count() const { return m_table.count; }

private:
    std::vector<FlashRecord> m_records;
    FlashTable m_table = {};
};

// Window captions are bold. The Chinese font of a Chinese system here has no
// bold face and is thickened instead, which at caption size fills dense
// characters (the first of "量产设定") into solid blocks. For the tour's
// screenshots this process draws captions in the regular weight; the setting
// is not saved.
void UseRegularCaptionFont() {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) &&
        metrics.lfCaptionFont.lfWeight > FW_NORMAL) {
        metrics.lfCaptionFont.lfWeight = FW_NORMAL;
        SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        std::printf("Captions        regular weight for the screenshots (code page %u)\n",
                    GetACP());
    }
}

// The window the module notifies after a confirmed sheet.
class StationWindow {
public:
    StationWindow() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = SETUP_STATION_CLASS;
        RegisterClassA(&windowClass);
        m_window = CreateWindowA(SETUP_STATION_CLASS, SETUP_STATION_TITLE, WS_OVERLAPPEDWINDOW,
                                 CW_USEDEFAULT, CW_USEDEFAULT, 320, 200, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
        s_notifications = 0;
    }
    ~StationWindow() {
        if (m_window != nullptr) {
            DestroyWindow(m_window);
        }
    }
    StationWindow(const StationWindow&) = delete;
    StationWindow& operator=(const StationWindow&) = delete;

    bool Exists() const { return m_window != nullptr; }

    // Messages posted during Show arrive when the queue is pumped.
    int PumpNotifications() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        return s_notifications;
    }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == SETUP_STATION_MESSAGE) {
            ++s_notifications;
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    static int s_notifications;
    HWND m_window = nullptr;
};

int StationWindow::s_notifications = 0;

// The module's windows, told apart by controls only they have.
bool HasControl(HWND parent, int id) {
    return GetDlgItem(parent, id) != nullptr;
}

enum class WindowKind { Other, Password, Sheet, Advanced, FlashId, FileDialog, Message };

// The file name field of the explorer-style file dialog: a combo box
// (cmb13) or, in older layouts, an edit (edt1).
constexpr int kFileNameCombo = 0x47c;
constexpr int kFileNameEdit = 0x480;

// The property sheet's tab control has this ID on every comctl32 version.
constexpr int kSheetTabControl = 0x3020;

WindowKind KindOf(HWND dialog) {
    if (HasControl(dialog, IDC_PASSWORD) && HasControl(dialog, IDC_CHANGE_PASSWORD)) {
        return WindowKind::Password;
    }
    if (HasControl(dialog, IDC_ADVANCED_OK) && HasControl(dialog, IDC_ADVANCED_CANCEL)) {
        return WindowKind::Advanced;
    }
    if (HasControl(dialog, IDC_FID_LIST) && HasControl(dialog, IDC_FID_ADD)) {
        return WindowKind::FlashId;
    }
    char className[32] = {};
    HWND tab = GetDlgItem(dialog, kSheetTabControl);
    if (tab != nullptr && GetClassNameA(tab, className, sizeof className) > 0 &&
        std::string(className) == WC_TABCONTROLA) {
        return WindowKind::Sheet;
    }
    if (HasControl(dialog, kFileNameCombo) || HasControl(dialog, kFileNameEdit)) {
        return WindowKind::FileDialog;
    }
    if (HasControl(dialog, IDOK)) {
        return WindowKind::Message;
    }
    return WindowKind::Other;
}

// The name of a sheet page, from the controls on it: the screenshot's name.
std::string PageName(HWND page) {
    if (page == nullptr) {
        return "";
    }
    if (HasControl(page, IDC_ADVANCED) && HasControl(page, IDC_RESTORE_DEFAULTS)) {
        return "mode";
    }
    if (HasControl(page, IDC_BIN_CHECK_ENABLE) && HasControl(page, IDC_COLOR_VERIFY)) {
        return "bin";
    }
    if (HasControl(page, IDC_CHECK_FLASH_GROUP) && HasControl(page, IDC_ADD_MODIFY)) {
        return "flash-check";
    }
    return "";
}

HWND CurrentPage(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

int CurrentTab(HWND sheet) {
    return static_cast<int>(SendMessageA(GetDlgItem(sheet, kSheetTabControl), TCM_GETCURSEL, 0, 0));
}

int TabCount(HWND sheet) {
    return static_cast<int>(
        SendMessageA(GetDlgItem(sheet, kSheetTabControl), TCM_GETITEMCOUNT, 0, 0));
}

// The tour: a list of stages, each waiting for one state of the module's
// windows (the window on top, the sheet's tab), then taking its screenshot
// and acting as an operator would to reach the next stage. It runs on the
// ticks of a DialogAnswers timer, inside the module's modal loops.
class Tour {
public:
    Tour(std::string jobFile, std::string stationFolder, bool shots)
        : m_jobFile(std::move(jobFile)),
          m_stationFolder(stationFolder),
          m_ackFolder(stationFolder + "Tour\\"),
          m_shots(shots) {
        AddFirstStages();
    }

    void Tick() {
        if (m_inTick) {
            return;  // an action of this tick runs a modal loop of its own
        }
        m_inTick = true;
        Step();
        m_inTick = false;
    }

    // The outcome once Show has returned; false with the reason printed.
    bool Report(int showResult) {
        const bool closing = m_next + 1 == m_stages.size() && m_stages.back().endsShow;
        if (!m_failed && m_next < m_stages.size() && !closing) {
            Fail("Show returned " + std::to_string(showResult) + " while the tour waited for " +
                 m_stages[m_next].waitingFor);
        }
        if (!m_failed) {
            std::printf("Tour            complete: %d window(s) seen\n", m_shotCount);
        }
        return !m_failed;
    }

private:
    static constexpr DWORD kStageTimeout = 20000;  // for a window to come up
    static constexpr DWORD kShotTimeout = 30000;   // for the screenshot to be taken
    static constexpr int kSettleTicks = 6;         // painted and shown for this long
    static constexpr int kActivateTicks = 40;      // the longest wait for activation
    static constexpr int kBesideOverlap = 40;      // pixels of a dialog over the moved sheet

    struct Stage {
        std::string name;        // the screenshot's name; empty for none
        std::string waitingFor;  // what the stage waits for, for messages
        std::function<void()> enter;
        std::function<HWND()> ready;  // the window once the stage's state is reached
        std::function<void(HWND)> after;
        bool endsShow = false;  // the last stage: Show returns when it is reached
    };

    // The sheet, when `window` (at `rect`) is another window that lies
    // wholly within the sheet's rectangle (which `sheet` receives); else null.
    static HWND LiesWithinTheSheet(HWND window, const RECT& rect, RECT& sheet) {
        for (HWND dialog : DialogAnswers::OpenDialogs(false)) {
            if (dialog != window && KindOf(dialog) == WindowKind::Sheet &&
                GetWindowRect(dialog, &sheet)) {
                const bool within = rect.left >= sheet.left && rect.top >= sheet.top &&
                                    rect.right <= sheet.right && rect.bottom <= sheet.bottom;
                return within ? dialog : nullptr;
            }
        }
        return nullptr;
    }

    // The enabled dialog on top, or null.
    static HWND TopDialog() {
        const std::vector<HWND> dialogs = DialogAnswers::OpenDialogs();
        return dialogs.empty() ? nullptr : dialogs.front();
    }

    static HWND TopDialogOf(WindowKind kind) {
        HWND top = TopDialog();
        return top != nullptr && KindOf(top) == kind ? top : nullptr;
    }

    // The sheet on top showing tab `index`.
    static HWND SheetAtTab(int index) {
        HWND sheet = TopDialogOf(WindowKind::Sheet);
        if (sheet == nullptr || CurrentTab(sheet) != index) {
            return nullptr;
        }
        HWND page = CurrentPage(sheet);
        return page != nullptr && IsWindowVisible(page) ? sheet : nullptr;
    }

    void AddFirstStages() {
        m_stages.push_back({"password", "the password dialog", nullptr,
                            [] { return TopDialogOf(WindowKind::Password); },
                            [this](HWND dialog) {
                                char password[260];
                                GetPrivateProfileStringA("PASSWORD", "PWD", "", password,
                                                         sizeof password, m_jobFile.c_str());
                                SetDlgItemTextA(dialog, IDC_PASSWORD, password);
                                Say("password dialog: the job's password typed, OK pressed");
                                DialogAnswers::Click(dialog, IDOK);
                            }});
        m_stages.push_back({"", "the settings sheet", nullptr, [] { return SheetAtTab(0); },
                            [this](HWND sheet) { AddSheetStages(sheet); }});
    }

    // The sheet is up: one stage per tab and for the dialogs their pages
    // open, then Cancel.
    void AddSheetStages(HWND sheet) {
        const int tabs = TabCount(sheet);
        Say("settings sheet \"" + DialogAnswers::TitleOf(sheet) + "\": " + std::to_string(tabs) +
            " tab(s)");
        for (int index = 0; index < tabs; ++index) {
            AddTabStages(index);
        }
        AddTransferStages();
        m_stages.push_back({"", "the settings sheet", nullptr,
                            [] { return TopDialogOf(WindowKind::Sheet); },
                            [this](HWND top) {
                                Say("settings sheet: Cancel pressed");
                                DialogAnswers::Click(top, IDCANCEL);
                            }});
        // Show returns once the sheet has closed; the timer stops with it.
        m_stages.push_back({"", "the sheet to close", nullptr,
                            [] { return TopDialog() == nullptr ? GetDesktopWindow() : nullptr; },
                            nullptr, true});
    }

    void AddTabStages(int index) {
        const std::string waiting = "tab " + std::to_string(index + 1) + " of the sheet";
        // The name is the page's, known once the page is up.
        m_stages.push_back({"*page", waiting,
                            [index] {
                                HWND sheet = TopDialogOf(WindowKind::Sheet);
                                if (sheet != nullptr && CurrentTab(sheet) != index) {
                                    PostMessageA(sheet, PSM_SETCURSEL, index, 0);
                                }
                            },
                            [index] { return SheetAtTab(index); },
                            [this, index](HWND sheet) {
                                const std::string page = PageName(CurrentPage(sheet));
                                if (page == "mode") {
                                    AddDialogStages(
                                        index, "advanced", "the advanced settings dialog",
                                        WindowKind::Advanced, IDC_ADVANCED, IDC_ADVANCED_CANCEL);
                                } else if (page == "flash-check") {
                                    AddDialogStages(index, "flash-id", "the flash ID editor",
                                                    WindowKind::FlashId, IDC_ADD_MODIFY, IDCANCEL);
                                }
                            }});
    }

    // Export of the demo job to Job\Exported.ini, then its import: each file
    // dialog (the path typed, OK) and each message that follows (OK).
    void AddTransferStages() {
        const std::string path = m_stationFolder + "Job\\Exported.ini";
        const struct {
            const char* name;
            int button;
        } steps[] = {{"export", IDC_EXPORT_SET}, {"import", IDC_IMPORT_SET}};
        for (const auto& step : steps) {
            const std::string name = step.name;
            const int button = step.button;
            m_stages.push_back({name + "-dialog", "the " + name + " file dialog",
                                [this, name, button, path] {
                                    HWND sheet = TopDialogOf(WindowKind::Sheet);
                                    if (sheet == nullptr) {
                                        return;
                                    }
                                    if (button == IDC_EXPORT_SET) {
                                        DeleteFileA(path.c_str());  // no replace question
                                    }
                                    Say(name + ": the sheet's button pressed");
                                    DialogAnswers::Click(sheet, button);
                                },
                                [] { return TopDialogOf(WindowKind::FileDialog); },
                                [this, name, path](HWND dialog) {
                                    const int field = HasControl(dialog, kFileNameEdit)
                                                          ? kFileNameEdit
                                                          : kFileNameCombo;
                                    SendMessageA(dialog, CDM_SETCONTROLTEXT, field,
                                                 reinterpret_cast<LPARAM>(path.c_str()));
                                    Say(name + ": " + path + " typed, OK pressed");
                                    DialogAnswers::Click(dialog, IDOK);
                                }});
            m_stages.push_back({name + "-done", "the message after the " + name, nullptr,
                                [] { return TopDialogOf(WindowKind::Message); },
                                [this, name](HWND box) {
                                    Say(name + ": \"" + DialogAnswers::TitleOf(box) +
                                        "\" message, OK pressed");
                                    DialogAnswers::Click(box, IDOK);
                                }});
            m_stages.push_back({"", "the settings sheet after the " + name, nullptr,
                                [] { return TopDialogOf(WindowKind::Sheet); }, nullptr});
        }
    }

    // A dialog that a button of the current page opens: open it, shoot it,
    // close it with `closeButton`, back on the tab. Inserted right after the
    // current stage.
    void AddDialogStages(int tab, const std::string& name, const std::string& waiting,
                         WindowKind kind, int openButton, int closeButton) {
        std::vector<Stage> stages;
        stages.push_back({name, waiting,
                          [this, name, openButton] {
                              HWND sheet = TopDialogOf(WindowKind::Sheet);
                              HWND page = sheet != nullptr ? CurrentPage(sheet) : nullptr;
                              if (page != nullptr) {
                                  Say(name + ": its button on the page pressed");
                                  DialogAnswers::Click(page, openButton);
                              }
                          },
                          [kind] { return TopDialogOf(kind); },
                          [this, name, closeButton](HWND dialog) {
                              Say(name + ": Cancel pressed");
                              DialogAnswers::Click(dialog, closeButton);
                          }});
        stages.push_back({"", "the sheet back on tab " + std::to_string(tab + 1), nullptr,
                          [tab] { return SheetAtTab(tab); }, nullptr});
        m_stages.insert(m_stages.begin() + static_cast<std::ptrdiff_t>(m_next) + 1, stages.begin(),
                        stages.end());
    }

    void Step() {
        if (m_failed) {
            CloseEverything();
            return;
        }
        if (m_next >= m_stages.size()) {
            return;
        }
        Stage& stage = m_stages[m_next];
        const DWORD now = GetTickCount();
        if (!m_entered) {
            m_entered = true;
            m_stageStart = now;
            m_window = nullptr;
            m_settled = 0;
            m_shotAsked = false;
            if (stage.enter) {
                stage.enter();
            }
            return;
        }
        if (m_shotAsked) {
            WaitForShot(stage, now);
            return;
        }
        HWND window = stage.ready();
        if (window == nullptr || window != m_window) {
            m_window = window;
            m_settled = 0;
            if (window != nullptr && window != GetDesktopWindow()) {
                SetForegroundWindow(window);
                RedrawWindow(
                    window, nullptr, nullptr,
                    RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            }
            if (window == nullptr && now - m_stageStart > kStageTimeout) {
                Fail(stage.waitingFor + " did not come up within " +
                     std::to_string(kStageTimeout / 1000) + " s" + OpenWindowsNote());
            }
            return;
        }
        // The window shows as the operator sees it: active, its frame
        // repainted since it became so. Activation may take a few ticks on a
        // display just started; without it the screenshot goes ahead later.
        if (GetForegroundWindow() != window && window != GetDesktopWindow()) {
            SetForegroundWindow(window);
            if (GetForegroundWindow() == window) {
                m_settled = 0;
            }
        }
        const bool active = window == GetDesktopWindow() || GetForegroundWindow() == window;
        if (++m_settled < kSettleTicks || (!active && m_settled < kActivateTicks)) {
            return;
        }
        if (stage.name == "*page") {
            stage.name = PageName(CurrentPage(window));
            if (stage.name.empty()) {
                stage.name = "tab" + std::to_string(CurrentTab(window) + 1);
            }
        }
        if (m_shots && !stage.name.empty()) {
            RECT rect = {};
            GetWindowRect(window, &rect);
            if (rect.left < 0 || rect.top < 0) {
                // Part of the window is off the screen, where no screenshot
                // reaches: move it as the operator would drag it.
                Say(stage.name + ": the window starts at " + std::to_string(rect.left) + "," +
                    std::to_string(rect.top) + ", off the screen; moved into view");
                SetWindowPos(window, nullptr, rect.left < 0 ? 0 : rect.left,
                             rect.top < 0 ? 0 : rect.top, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                m_window = nullptr;  // settle again where it is now
                m_settled = 0;
                return;
            }
            RECT sheet = {};
            HWND sheetWindow = LiesWithinTheSheet(window, rect, sheet);
            if (sheetWindow != nullptr) {
                // This Wine does not draw a dialog that lies wholly within
                // the sheet's rectangle on the virtual desktop (it stays
                // black): the sheet moves aside, as the operator would drag it.
                Say(stage.name + ": the window lies within the sheet; the sheet moved aside");
                SetWindowPos(sheetWindow, nullptr, rect.right - kBesideOverlap, sheet.top, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                m_window = nullptr;  // settle again
                m_settled = 0;
                return;
            }
            DeleteFileA(AckFile(stage.name).c_str());
            std::printf("TOUR-SHOT %s %ld %ld %ld %ld\n", stage.name.c_str(), rect.left, rect.top,
                        rect.right, rect.bottom);
            std::fflush(stdout);
            m_shotAsked = true;
            m_shotStart = now;
            return;
        }
        Finish(stage, window);
    }

    void WaitForShot(Stage& stage, DWORD now) {
        if (GetFileAttributesA(AckFile(stage.name).c_str()) != INVALID_FILE_ATTRIBUTES) {
            DeleteFileA(AckFile(stage.name).c_str());
            Finish(stage, m_window);
        } else if (now - m_shotStart > kShotTimeout) {
            Fail("no screenshot of \"" + stage.name + "\" was taken within " +
                 std::to_string(kShotTimeout / 1000) + " s");
        }
    }

    void Finish(Stage& stage, HWND window) {
        if (!stage.name.empty()) {
            ++m_shotCount;
            Say(stage.name + ": shown");
        }
        // `after` may insert stages, moving the vector: work on a copy.
        const std::function<void(HWND)> after = stage.after;
        if (after) {
            after(window);
        }
        ++m_next;
        m_entered = false;
    }

    std::string AckFile(const std::string& name) const { return m_ackFolder + name + ".done"; }

    static std::string OpenWindowsNote() {
        std::string note;
        for (HWND dialog : DialogAnswers::OpenDialogs(false)) {
            note += note.empty() ? "; open: " : ", ";
            note += "\"" + DialogAnswers::TitleOf(dialog) + "\"";
            if (!IsWindowEnabled(dialog)) {
                note += " (disabled)";
            }
        }
        return note.empty() ? "; no dialog open" : note;
    }

    void Fail(const std::string& message) {
        m_failed = true;
        std::printf("Tour FAILED     %s\n", message.c_str());
        std::fflush(stdout);
    }

    // After a failure: Cancel whatever is open, so that Show returns.
    void CloseEverything() {
        if (++m_closeTicks % 10 != 0) {
            return;
        }
        for (HWND dialog : DialogAnswers::OpenDialogs()) {
            DialogAnswers::Click(dialog, IDCANCEL);
            PostMessageA(dialog, WM_CLOSE, 0, 0);
        }
    }

    // Window titles are in the ANSI code page.
    static void Say(const std::string& text) {
        PrintAnsi("Tour            " + text + "\n");
        std::fflush(stdout);
    }

    std::string m_jobFile;
    std::string m_stationFolder;
    std::string m_ackFolder;
    bool m_shots;
    std::vector<Stage> m_stages;
    size_t m_next = 0;
    bool m_entered = false;
    DWORD m_stageStart = 0;
    HWND m_window = nullptr;
    int m_settled = 0;
    bool m_shotAsked = false;
    DWORD m_shotStart = 0;
    int m_shotCount = 0;
    bool m_failed = false;
    bool m_inTick = false;
    int m_closeTicks = 0;
};

}  // namespace

int main(int argc, char** argv) {
    DemoOptions options;
    if (!ParseOptions(argc, argv, options)) {
        return 2;
    }
    static const char* const kSections[] = {"ENU", "CHS", "CHT"};
    const bool knownLanguage = options.language >= 0 && options.language <= 2;
    const char* section = knownLanguage ? kSections[options.language] : "ENU";

    const std::string station = StationFolder();
    const std::string languageFile = station + "DLL\\Language.dll";
    const std::string jobFile =
        options.jobFile.empty() ? station + "Job\\Demo.ini" : options.jobFile;
    std::printf("Station folder  %s\n", station.c_str());
    std::printf("Language file   %s (%s)\n", languageFile.c_str(),
                FileExists(languageFile) ? "present" : "MISSING");
    std::printf("Job file        %s (%s)\n", jobFile.c_str(),
                FileExists(jobFile) ? "present" : "missing: the module falls back to TLMQW.ini");

    char title[260];
    GetPrivateProfileStringA(section, "IDS_SETUP_UI_TITLE", "", title, sizeof title,
                             languageFile.c_str());
    std::printf("Code page       %u (ANSI)\n", GetACP());
    std::printf("Language        %d, section [%s], sheet title \"", options.language, section);
    PrintAnsi(title);
    std::printf("\"\n");

    const DemoFlashTable flashes;
    std::printf("Flash table     %d records of %u bytes; the host's current flash is %d",
                flashes.Count(), static_cast<unsigned>(sizeof(FlashRecord)), options.flashIndex);
    if (options.flashIndex >= 0 && options.flashIndex < flashes.Count()) {
        const FlashRecord& record = flashes.Record(options.flashIndex);
        std::printf(": \"%s %.80s\"", record.firstText, record.flashName);
    }
    std::printf("\n");

    StationWindow window;
    std::printf("Station window  class \"%s\", title \"%s\": %s\n", SETUP_STATION_CLASS,
                SETUP_STATION_TITLE, window.Exists() ? "created" : "NOT CREATED");

    uint32_t hostParams[SETUP_HOST_PARAMS_SIZE / 4] = {};
    hostParams[0] = SETUP_HOST_PARAMS_SIZE;

    const std::string dllPath = station + "Setup.dll";
    HMODULE dll = nullptr;
    const SetupShowFn show = hostfiles::LoadShow(dllPath, dll);
    if (show == nullptr) {
        return 1;
    }
    std::printf("Loaded          %s, Show at %p\n", dllPath.c_str(), reinterpret_cast<void*>(show));

    std::printf("Calling         Show(%d, %d, \"%s\", \"%s\", table, params)\n", options.flashIndex,
                options.language, station.c_str(), jobFile.c_str());
    std::fflush(stdout);
    int result;
    bool toured = true;
    if (options.tour) {
        if (options.shots && (GetACP() == 936 || GetACP() == 950)) {
            UseRegularCaptionFont();
        }
        Tour tour(jobFile, station, options.shots);
        {
            DialogAnswers ticks([&tour] { tour.Tick(); });
            result = show(options.flashIndex, static_cast<char>(options.language), station.c_str(),
                          jobFile.c_str(), flashes.Table(), hostParams);
        }
        toured = tour.Report(result);
    } else {
        result = show(options.flashIndex, static_cast<char>(options.language), station.c_str(),
                      jobFile.c_str(), flashes.Table(), hostParams);
    }
    const int notifications = window.PumpNotifications();
    std::printf(
        "Show returned   %d: %s\n", result,
        result == 1 ? "the operator confirmed the settings" : "the settings were not confirmed");
    std::printf("Notifications   %d station message(s) %u received\n", notifications,
                static_cast<unsigned>(SETUP_STATION_MESSAGE));

    FreeLibrary(dll);
    return toured ? 0 : 1;
}
