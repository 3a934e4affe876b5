// The station of one test: its folder, language file, job file and flash
// table, and the call of Show.
#include "driver/station.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>

#include <thread>
#endif

namespace {

// The English texts of every key the module looks up, as the sample station
// has them.
const std::pair<const char*, const char*> kEnglishTexts[] = {
    {"IDS_SETUP_UI_TITLE", "Production Settings"},
    {"IDS_SETUP_UI_OK", "OK"},
    {"IDS_SETUP_UI_CANCEL", "Cancel"},
    {"IDS_SETUP_UI_IMPORT_SET", "Import"},
    {"IDS_SETUP_UI_EXPORT_SET", "Export"},
    {"IDS_SETUP_UI_IMPORT_TITLE", "Import Job Settings"},
    {"IDS_SETUP_UI_EXPORT_TITLE", "Export Job Settings"},
    {"IDS_SETUP_UI_IMPORT_SUCCESS", "The job settings were imported."},
    {"IDS_SETUP_UI_EXPORT_SUCCESS", "The job settings were exported."},
    {"IDS_SETUP_MESSAGE_NOTE", "Note"},
    {"IDS_SETUP_UI_SHEET_MODE", "Mode"},
    {"IDS_SETUP_UI_SHEET_BIN_INFO", "Bin"},
    {"IDS_SETUP_UI_SHEET_AUTOPRODUCTION", "Flash Check"},
    {"IDS_ERR_SEL_FLASH_NAME", "Please select a flash name."},
    {"IDS_SETUP_UI_CHECK_FLASH", "Check Flash"},
    {"IDS_SETUP_UI_CHECK_FLASH_NAME", "Check Flash Name"},
    {"IDS_SETUP_UI_CHECK_FLASH_ID", "Check Flash ID"},
    {"IDS_SETUP_UI_NOT_CHECK", "Not Check"},
    {"IDS_SETUP_UI_ADD_MODIFY", "Add/Modify"},
    {"IDS_SETUP_UI_CHECK_LED_SHORT", "Check LED Short"},
    {"IDS_SETUP_UI_CHECK_UID", "Only Check UID"},
    {"IDS_SETUP_UI_WARMUP", "Warm Up"},
    {"IDS_SETUP_UI_POLLING_SELECT", "Loop Select"},
    {"IDS_SETUP_UI_POLLING_READ_TIMES", "Read Loop Times"},
    {"IDS_SETUP_UI_POLLING_WRITE_TIMES", "Write Loop Times"},
    {"IDS_SETUP_UI_POLLING_PAGE", "Read Pages"},
    {"IDS_SETUP_UI_POLLING_PAGE_WRITE", "Write Pages"},
    {"IDS_SETUP_UI_POLLING_BLOCK", "Read Blocks"},
    {"IDS_SETUP_UI_POLLING_BLOCK_WRITE", "Write Blocks"},
    {"IDS_SETUP_UI_FLASH_SET", "Flash List"},
    {"IDS_SETUP_UI_CTL_TYPE", "Controller"},
    {"IDS_SETUP_UI_AUTO_CTL", "Auto"},
    {"IDS_SETUP_UI_FLASH_TYPE", "Flash Type"},
    {"IDS_SETUP_UI_UNAUTO_DETECT", "No Auto Detect"},
    {"IDS_SETUP_UI_FLASH_NUM", "Flash Num"},
    {"IDS_SETUP_UI_CHANNEL", "Channel"},
    {"IDS_SETUP_UI_SINGLE_CHANNEL", "Single Channel"},
    {"IDS_SETUP_UI_DUAL_CHANNEL", "Dual Channel"},
    {"IDS_SETUP_UI_RW_CYCLE", "RW Cycle Time"},
    {"IDS_SETUP_UI_TEST_MODE", "Test Mode"},
    {"IDS_SETUP_UI_TRAFFIC_LIGHT", "Traffic Light Scan"},
    {"IDS_SETUP_UI_FAST_TEST", "Capacity Test"},
    {"IDS_SETUP_UI_OPEN_SHORT", "Open/Short Test"},
    {"IDS_SETUP_UI_TEST_CASE", "Test Case"},
    {"IDS_SETUP_UI_NORMAL_TEST", "Normal Test"},
    {"IDS_SETUP_UI_HALF_TEST", "Half Test"},
    {"IDS_SETUP_UI_INTERF_TEST", "Interference Test"},
    {"IDS_SETUP_UI_GET_MARK_OBBT", "Get Bad Blocks (Original)"},
    {"IDS_SETUP_UI_GET_MARK_RBBT", "Get Bad Blocks (Runtime)"},
    {"IDS_SETUP_UI_GET_MARK_ERASE", "Get Bad Blocks (Erase)"},
    {"IDS_SETUP_UI_DEFAULT", "Default"},
    {"IDS_SETUP_UI_DEFAULT_COUNT", "Default"},
    {"IDS_SETUP_UI_DEFAULT_BUTTON", "Restore Defaults"},
    {"IDS_SETUP_UI_ADVANCED", "Advanced Settings"},
    {"IDS_SETUP_UI_EXTRA_SET", "Extra"},
    {"IDS_SETUP_UI_HUB_PORT_STYLE", "Hub Port"},
    {"IDS_SETUP_UI_FIX_INSERT_INDEX", "Fixed Port Order"},
    {"IDS_SETUP_UI_UNFIX_INSERT_INDEX", "Insertion Order"},
    {"IDS_SETUP_UI_FROM_PROFILE_INDEX", "Order From Hub Profile"},
    {"IDS_SETUP_UI_HUB_VIDPID_INDEX", "Order By Hub VID/PID"},
    {"IDS_SETUP_UI_HUB_VIDPID_TIPS",
     "Enter the hubs' VID/PID, 8 hexadecimal digits each,\\nseparated by commas or blanks, e.g. "
     "1234ABCD,0F0F0001."},
    {"IDS_SETUP_UI_HUB_VIDPID_ERROR",
     "The hub VID/PID list is not valid:\\neach entry must be 8 hexadecimal digits."},
    {"IDS_SETUP_UI_FACTORY_DRIVER", "Factory Driver"},
    {"IDS_SETUP_UI_CHECK_DDR", "Check DDR"},
    {"IDS_SETUP_UI_SPECIAL_SORTING_CLASS_CHECK", "Special Sorting Class Check"},
    {"IDS_SETUP_UI_DATA_RETAIN_CHECK", "Data Retain Check"},
    {"IDC_SET_SUM19NM_FEATURE_CHECK", "Set Samsung 19nm Feature"},
    {"IDS_SETUP_UI_MIN_CAP_CHECK", "Min Cap Limit"},
    {"IDS_SETUP_UI_FIXED_CAP_CHECK", "Fixed Cap Check"},
    {"IDS_SETUP_UI_USER_INTERFACE_TYPE", "UI Type"},
    {"IDS_SETUP_UI_CHECK_BLK_NUM", "Sorting Block Num"},
    {"IDS_SETUP_UI_AUTO_MP_TIMER", "Auto MP Timer"},
    {"IDS_SETUP_UI_START_DELAY_TIMER", "Start Delay"},
    {"IDS_SETUP_UI_CHECK_LEVEL_CHECK", "Check Level"},
    {"IDS_SETUP_UI_CHECK_DATA_PIN_CHECK", "Check Flash Pin"},
    {"IDS_SETUP_UI_BIN_CHECK_ENABLE", "Bin Check Enable"},
    {"IDS_SETUP_UI_COLOR_CHECK_ENABLE", "Color Verify"},
    {"IDS_SETUP_UI_STAND_BIN", "Standard Bin"},
    {"IDS_SETUP_UI_SHOW_U2_BIN", "Show U2 Bin"},
    {"IDS_SETUP_UI_ENHANCE_CHECK", "Enhance Check"},
    {"IDS_SETUP_UI_SET_U3_BGCOLOR", "Set Background Color"},
    {"IDS_SETUP_UI_PWD", "Password:"},
    {"IDS_SETUP_UI_NEW_PWD", "New Pwd:"},
    {"IDS_SETUP_UI_CHECK_PWD", "Check Pwd:"},
    {"IDS_SETUP_UI_CHANGE_PWD", "Change Password"},
    {"IDS_SETUP_UI_REMEMBER_PWD", "Remember Password"},
    {"IDS_SETUP_UI_PWD_ERROR", "Wrong password."},
    {"IDS_SETUP_UI_PWD_DIFFERENT", "The new password and its check differ."},
    {"IDS_SETUP_UI_EDIT_SUCCESS", "The password was changed."},
};

const char* const kSections[3] = {"ENU", "CHS", "CHT"};

#if defined(_WIN32)
const char kSeparator = '\\';
#else
const char kSeparator = '/';
#endif

std::string NewFolder() {
    static std::atomic<unsigned> s_counter{0};
#if defined(_WIN32)
    const unsigned long pid = ::GetCurrentProcessId();
#else
    const unsigned long pid = static_cast<unsigned long>(::getpid());
#endif
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    for (;;) {
        std::ostringstream name;
        name << "setup-station-" << pid << '-' << (now % 1000000) << '-' << s_counter++;
        const std::filesystem::path folder = std::filesystem::temp_directory_path() / name.str();
        std::error_code error;
        if (std::filesystem::create_directory(folder, error)) {
            return folder.string();
        }
        if (error) {
            ADD_FAILURE() << "cannot create the station folder " << folder.string() << ": "
                          << error.message();
            return folder.string();
        }
    }
}

// Paths compare without regard to case on Windows.
bool SameText(const std::string& a, const std::string& b) {
#if defined(_WIN32)
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
#else
    return a == b;
#endif
}

#if defined(_WIN32)
// The real library, loaded once for the test program as a station loads it;
// its globals live on between visits, as in a station.
SetupShowFn LoadShow() {
    static SetupShowFn s_show = [] {
        char exe[MAX_PATH] = {};
        ::GetModuleFileNameA(NULL, exe, sizeof(exe));
        std::string dir(exe);
        dir.erase(dir.find_last_of("\\/") + 1);
        HMODULE library = ::LoadLibraryA((dir + "Setup.dll").c_str());
        if (library == NULL) {
            ADD_FAILURE() << "cannot load " << dir << "Setup.dll (error " << ::GetLastError()
                          << ")";
            return static_cast<SetupShowFn>(nullptr);
        }
        SetupShowFn show = reinterpret_cast<SetupShowFn>(
            reinterpret_cast<void*>(::GetProcAddress(library, "Show")));
        if (show == nullptr) {
            ADD_FAILURE() << "Setup.dll exports no Show";
        }
        return show;
    }();
    return s_show;
}
#endif

}  // namespace

Station::Station() : m_table{0, nullptr, 0} {
    std::error_code error;
    m_startDir = std::filesystem::current_path(error).string();
    m_folder = NewFolder();
    m_appDir = m_folder + kSeparator;
    m_jobFile = Path("Job.ini");
    std::filesystem::create_directory(std::filesystem::path(Path("DLL")), error);
    for (const auto& text : kEnglishTexts) {
        m_texts[SETUP_LANGUAGE_ENU][text.first] = text.second;
        m_texts[SETUP_LANGUAGE_CHS][text.first] = std::string("CHS ") + text.second;
        m_texts[SETUP_LANGUAGE_CHT][text.first] = std::string("CHT ") + text.second;
    }
    WriteLanguageFile();
    WriteJob(std::string());
    SetFlashTypes({{"SLC", "FX29F08G08AAA"}, {"MLC", "FX29F64G08AMC"}});
    for (size_t i = 0; i < sizeof(m_hostParams); ++i) {
        m_hostParams[i] = static_cast<unsigned char>(i);
    }
}

Station::~Station() {
    // A file dialog may have left the process in the folder (or below it),
    // where Windows would not remove it: it goes back where it started.
    std::error_code error;
    const std::string current = std::filesystem::current_path(error).string();
    if (!error && current.size() >= m_folder.size() &&
        SameText(current.substr(0, m_folder.size()), m_folder)) {
        std::filesystem::current_path(std::filesystem::path(m_startDir), error);
    }
    std::filesystem::remove_all(std::filesystem::path(m_folder), error);
}

std::string Station::Path(const std::string& name) const {
    return m_appDir + name;
}

void Station::WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) {
        ADD_FAILURE() << "cannot write " << path;
    }
}

std::string Station::ReadFile(const std::string& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool Station::FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(path), error);
}

std::string Station::Text(const std::string& key, int language) const {
    const auto& texts = m_texts[language];
    auto found = texts.find(key);
    return found == texts.end() ? std::string() : found->second;
}

void Station::SetText(const std::string& key, const std::string& text, int language) {
    m_texts[language][key] = text;
    WriteLanguageFile();
}

void Station::RemoveText(const std::string& key, int language) {
    m_texts[language].erase(key);
    WriteLanguageFile();
}

void Station::RemoveLanguageFile() const {
    std::error_code error;
    std::filesystem::remove(std::filesystem::path(Path("DLL") + kSeparator + "Language.dll"),
                            error);
}

void Station::WriteLanguageFile() const {
    std::string content;
    for (int language = 0; language < 3; ++language) {
        content += std::string("[") + kSections[language] + "]\r\n";
        for (const auto& text : m_texts[language]) {
            content += text.first + "=" + text.second + "\r\n";
        }
    }
    WriteFile(Path("DLL") + kSeparator + "Language.dll", content);
}

void Station::SetFlashTypes(const std::vector<std::pair<std::string, std::string>>& types) {
    m_records.assign(types.size(), FlashRecord());
    for (size_t i = 0; i < types.size(); ++i) {
        std::memset(&m_records[i], 0, sizeof(FlashRecord));
        std::strncpy(m_records[i].firstText, types[i].first.c_str(),
                     sizeof(m_records[i].firstText) - 1);
        std::strncpy(m_records[i].flashName, types[i].second.c_str(),
                     sizeof(m_records[i].flashName) - 1);
    }
    m_table.records = m_records.empty() ? nullptr : m_records.data();
    m_table.count = static_cast<int32_t>(m_records.size());
}

int Station::Show(Operator& op, int flashIndex, char language) {
    if (Operator::Current() != &op) {
        ADD_FAILURE() << "Station::Show: the operator given is not the one acting";
    }
#if defined(_WIN32)
    SetupShowFn show = LoadShow();
    if (show == nullptr) {
        return -1;
    }
    return show(flashIndex, language, m_appDir.c_str(), m_jobFile.c_str(), &m_table, m_hostParams);
#else
    return ::Show(flashIndex, language, m_appDir.c_str(), m_jobFile.c_str(), &m_table,
                  m_hostParams);
#endif
}

namespace {

struct ShowCall {
    SetupShowFn show;
    const Station* station;
    int result;
};

void RunShowCall(ShowCall& call) {
    call.result = call.show(0, SETUP_LANGUAGE_ENU, call.station->Dir().c_str(),
                            call.station->JobFile().c_str(), &call.station->Table(), nullptr);
}

#if defined(_WIN32)
DWORD WINAPI ShowCallThread(LPVOID param) {
    RunShowCall(*static_cast<ShowCall*>(param));
    return 0;
}
#endif

}  // namespace

int Station::ShowOnAnotherThread() {
#if defined(_WIN32)
    ShowCall call{LoadShow(), this, -1};
    if (call.show == nullptr) {
        return -1;
    }
    HANDLE thread = ::CreateThread(nullptr, 0, ShowCallThread, &call, 0, nullptr);
    if (thread == nullptr) {
        ADD_FAILURE() << "cannot start a thread (error " << ::GetLastError() << ")";
        return -1;
    }
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    return call.result;
#else
    ShowCall call{&::Show, this, -1};
    std::thread thread([&call] { RunShowCall(call); });
    thread.join();
    return call.result;
#endif
}

#if defined(_WIN32)
// --- StationWindow on Windows: a registered class and the thread's queue ----

namespace {

// Messages from WM_USER on are recorded as they reach the window: a posted
// message may be delivered by any loop of the thread (the module's, the
// driver's) before the test pumps the queue itself.
LRESULT CALLBACK StationWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= WM_USER) {
        auto* received =
            reinterpret_cast<std::vector<UINT>*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (received != nullptr) {
            received->push_back(msg);
        }
    }
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

StationWindow::StationWindow(const std::string& className, const std::string& title) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = StationWindowProc;
    windowClass.hInstance = ::GetModuleHandleA(NULL);
    windowClass.lpszClassName = className.c_str();
    ::RegisterClassA(&windowClass);  // fails harmlessly when already registered
    m_hwnd = ::CreateWindowExA(0, className.c_str(), title.c_str(), WS_OVERLAPPED, 0, 0, 10, 10,
                               NULL, NULL, ::GetModuleHandleA(NULL), NULL);
    if (m_hwnd == NULL) {
        ADD_FAILURE() << "cannot create the window " << className << " \"" << title << "\"";
        return;
    }
    ::SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_received));
}

StationWindow::~StationWindow() {
    if (m_hwnd != NULL) {
        ::SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_hwnd);
    }
}

std::vector<UINT> StationWindow::Received() {
    // Dispatching records them (StationWindowProc).
    MSG msg;
    while (m_hwnd != NULL && ::PeekMessageA(&msg, m_hwnd, 0, 0, PM_REMOVE)) {
        ::DispatchMessageA(&msg);
    }
    return m_received;
}
#endif
