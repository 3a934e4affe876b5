// The demo host: the station's main job in its first form. It runs from the
// sample station folder that scripts/demo builds (Setup.dll, DLL\Language.dll,
// Job\Demo.ini beside it), owns the station window that the module notifies,
// builds a flash table, and calls Show as the station does, printing each step.
//
//   demohost [--language 0|1|2] [--flash-index N] [--job PATH] [--tour]
//
// Without --tour the dialogs wait for a person. With --tour the demo answers
// them itself, step by step, from a thread timer (for a run without anyone at
// the screen): the password dialog gets the job's password, anything else is
// cancelled.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dialog_answers.h"
#include "setup/host.h"

namespace {

struct DemoOptions {
    int language = SETUP_LANGUAGE_ENU;
    int flashIndex = 2;
    std::string jobFile;  // default: Job\Demo.ini in the station folder
    bool tour = false;
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
        } else {
            std::fprintf(
                stderr,
                "usage: demohost [--language 0|1|2] [--flash-index N] [--job PATH] [--tour]\n");
            return false;
        }
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

// One step of the tour per dialog the module shows.
void TourStep(const std::string& jobFile, HWND dialog, const std::string& title, int timesSeen) {
    const int kPasswordEdit = 1079;
    if (title == "PassWord" && timesSeen == 1) {
        char password[260];
        GetPrivateProfileStringA("PASSWORD", "PWD", "", password, sizeof password, jobFile.c_str());
        SetDlgItemTextA(dialog, kPasswordEdit, password);
        std::printf("Tour            password dialog: the job's password typed, OK pressed\n");
        DialogAnswers::Click(dialog, IDOK);
    } else {
        std::printf("Tour            \"%s\": Cancel pressed\n", title.c_str());
        DialogAnswers::Click(dialog, IDCANCEL);
    }
    std::fflush(stdout);
}

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
    HMODULE dll = LoadLibraryA(dllPath.c_str());
    if (dll == nullptr) {
        std::printf("Cannot load %s (error %lu)\n", dllPath.c_str(), GetLastError());
        return 1;
    }
    SetupShowFn show =
        reinterpret_cast<SetupShowFn>(reinterpret_cast<void (*)()>(GetProcAddress(dll, "Show")));
    if (show == nullptr) {
        std::printf("Setup.dll exports no Show\n");
        FreeLibrary(dll);
        return 1;
    }
    std::printf("Loaded          %s, Show at %p\n", dllPath.c_str(), reinterpret_cast<void*>(show));

    std::printf("Calling         Show(%d, %d, \"%s\", \"%s\", table, params)\n", options.flashIndex,
                options.language, station.c_str(), jobFile.c_str());
    std::fflush(stdout);
    int result;
    if (options.tour) {
        DialogAnswers tour([&jobFile](HWND dialog, const std::string& title, int timesSeen) {
            TourStep(jobFile, dialog, title, timesSeen);
        });
        result = show(options.flashIndex, static_cast<char>(options.language), station.c_str(),
                      jobFile.c_str(), flashes.Table(), hostParams);
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
    return 0;
}
