// fitcheck: for station vendors who translate the module's texts. It shows
// every window of a visit (the password dialog, each tab of the sheet, the
// advanced settings dialog and the flash ID editor) with the texts of a
// language file, through the real Setup.dll loaded from this program's
// folder as a station loads it, and prints one line for every text that the
// window system's fonts draw wider or taller than its control:
//
//   fitcheck LANGUAGE_FILE [--language ENU|CHS|CHT]
//
//   [ENU] tab 1: control 1013 (button) IDS_SETUP_UI_ADVANCED "Advanced Settings": 97 px wide, room
//   for 60
//
// Each language section of the file (ENU, CHS, CHT) is checked in turn, or
// only the one named. The texts of a Chinese section are in its code page
// (936 for CHS, 950 for CHT) and are shown right only on a system with that
// code page: a section whose code page is not this system's is not checked,
// and a line on stderr says so. (Under Wine, LC_ALL=zh_CN.UTF-8 gives 936
// and zh_TW.UTF-8 950.)
//
// Exit status: 0 when every checked text fits, 1 when one does not (or the
// visit could not be made), 2 on a usage error or an unreadable file.
#include <windows.h>
// windows.h first
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "../res/resource.h"
#include "dialog_answers.h"
#include "host_files.h"
#include "driver/text_fit.h"
#include "setup/host.h"

namespace {

struct Language {
    int number;
    const char* section;
    UINT codePage;  // 0: any
};

const Language kLanguages[] = {{0, "ENU", 0}, {1, "CHS", 936}, {2, "CHT", 950}};

// The flash ID editor lists the job's IDs: one of six bytes, the longest a
// job holds.
const char kFlashId[] = "0x98,0xDE,0x94,0x93,0x76,0x50";
// The colour list box draws each entry's text this far from its left edge.
const int kColorListIndent = 5;
const DWORD kStepTimeout = 20000;
const int kSheetTabControl = 0x3020;

using hostfiles::ProgramFolder;

// The texts of [section] of the language file at path, each read as the
// module reads it: the platform's private-profile read, key by key.
std::map<std::string, std::string> SectionTexts(const std::string& path, const char* section) {
    std::map<std::string, std::string> texts;
    std::vector<char> keys(64 * 1024);
    const DWORD length = GetPrivateProfileStringA(section, nullptr, "", keys.data(),
                                                  static_cast<DWORD>(keys.size()), path.c_str());
    for (const char* key = keys.data(); key < keys.data() + length && *key != '\0';
         key += std::strlen(key) + 1) {
        char value[260] = {};
        GetPrivateProfileStringA(section, key, "", value, sizeof value, path.c_str());
        texts.emplace(key, value);
    }
    return texts;
}

void PrintLine(const std::string& utf8) {
    // The console expects its own code page; a file or pipe gets UTF-8.
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    std::fflush(stdout);
    if (GetConsoleMode(out, &mode)) {
        const int wide = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
        std::vector<wchar_t> buffer(wide > 0 ? wide : 1, L'\0');
        MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, buffer.data(), wide);
        DWORD written = 0;
        WriteConsoleW(out, buffer.data(), static_cast<DWORD>(wcslen(buffer.data())), &written,
                      nullptr);
        WriteConsoleW(out, L"\n", 1, &written, nullptr);
        return;
    }
    std::printf("%s\n", utf8.c_str());
    std::fflush(stdout);
}

bool Has(HWND window, int id) {
    return GetDlgItem(window, id) != nullptr;
}

HWND TopDialog() {
    const std::vector<HWND> dialogs = DialogAnswers::OpenDialogs();
    return dialogs.empty() ? nullptr : dialogs.front();
}

HWND CurrentPage(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

bool IsSheet(HWND window) {
    return window != nullptr && Has(window, kSheetTabControl) && CurrentPage(window) != nullptr;
}

int TabOf(HWND sheet) {
    return static_cast<int>(SendMessageA(GetDlgItem(sheet, kSheetTabControl), TCM_GETCURSEL, 0, 0));
}

// One visit, from the ticks of a thread timer inside the module's modal
// loops: each step waits for a window, checks its texts and acts to reach
// the next step.
class Visit {
public:
    Visit(const char* section, std::map<std::string, std::string> texts)
        : m_section(section), m_texts(std::move(texts)) {
        m_steps.push_back({"the password dialog",
                           [] {
                               HWND top = TopDialog();
                               return top != nullptr && Has(top, IDC_PASSWORD) ? top : nullptr;
                           },
                           [this](HWND dialog) {
                               Check("password dialog", textfit::CutTexts(dialog));
                               DialogAnswers::Click(dialog, IDOK);
                           }});
        m_steps.push_back({"the settings sheet",
                           [] { return IsSheet(TopDialog()) ? TopDialog() : nullptr; },
                           [this](HWND sheet) { AddSheetSteps(sheet); }});
    }

    void Tick() {
        if (m_next >= m_steps.size() || m_failed) {
            if (m_failed && ++m_closeTicks % 10 == 0) {
                for (HWND dialog : DialogAnswers::OpenDialogs()) {
                    DialogAnswers::Click(dialog, IDCANCEL);
                }
            }
            return;
        }
        Step& step = m_steps[m_next];
        const DWORD now = GetTickCount();
        if (!m_started) {
            m_started = true;
            m_stepStart = now;
            m_settled = 0;
        }
        HWND window = step.ready();
        if (window == nullptr) {
            m_settled = 0;
            if (now - m_stepStart > kStepTimeout) {
                std::fprintf(stderr, "fitcheck: [%s] %s did not come up within %lu s\n", m_section,
                             step.waitingFor.c_str(),
                             static_cast<unsigned long>(kStepTimeout / 1000));
                m_failed = true;
            }
            return;
        }
        if (++m_settled < 2) {
            return;  // laid out and shown for a tick
        }
        const std::function<void(HWND)> act = step.act;  // may add steps
        ++m_next;
        m_started = false;
        act(window);
    }

    bool Complete() const { return !m_failed && m_next == m_steps.size(); }
    int CutCount() const { return m_cuts; }

private:
    struct Step {
        std::string waitingFor;
        std::function<HWND()> ready;
        std::function<void(HWND)> act;
    };

    void Check(const std::string& window, const std::vector<textfit::Cut>& cuts) {
        for (const textfit::Cut& cut : cuts) {
            ++m_cuts;
            PrintLine("[" + std::string(m_section) + "] " + window + ": " +
                      textfit::Describe(cut, textfit::KeysOf(m_texts, cut.text)));
        }
    }

    static std::function<HWND()> SheetAt(int tab) {
        return [tab]() -> HWND {
            HWND top = TopDialog();
            return IsSheet(top) && TabOf(top) == tab && IsWindowVisible(CurrentPage(top)) ? top
                                                                                          : nullptr;
        };
    }

    static std::function<HWND()> DialogWith(int id) {
        return [id]() -> HWND {
            HWND top = TopDialog();
            return top != nullptr && Has(top, id) ? top : nullptr;
        };
    }

    void AddSheetSteps(HWND sheet) {
        const int tabs = static_cast<int>(
            SendMessageA(GetDlgItem(sheet, kSheetTabControl), TCM_GETITEMCOUNT, 0, 0));
        for (int tab = 0; tab < tabs; ++tab) {
            m_steps.push_back({"tab " + std::to_string(tab + 1), SheetAt(tab),
                               [this, tab](HWND s) { CheckPage(s, tab); }});
        }
        m_steps.push_back({"the settings sheet", SheetAt(tabs - 1),
                           [](HWND s) { DialogAnswers::Click(s, IDCANCEL); }});
        SendMessageA(sheet, PSM_SETCURSEL, 0, 0);
    }

    // The page on top: its texts, then the dialog it opens (checked and
    // cancelled), then the next tab.
    void CheckPage(HWND sheet, int tab) {
        Check("tab " + std::to_string(tab + 1), textfit::CutTexts(sheet));
        HWND page = CurrentPage(sheet);
        std::vector<Step> steps;
        if (Has(page, IDC_ADVANCED)) {
            DialogAnswers::Click(page, IDC_ADVANCED);
            steps.push_back({"the advanced settings dialog", DialogWith(IDC_ADVANCED_CANCEL),
                             [this](HWND dialog) {
                                 Check("advanced settings dialog", textfit::CutTexts(dialog));
                                 DialogAnswers::Click(dialog, IDC_ADVANCED_CANCEL);
                             }});
        } else if (Has(page, IDC_ADD_MODIFY)) {
            SendMessageA(GetDlgItem(page, IDC_CHECK_FLASH_ID), BM_CLICK, 0, 0);
            DialogAnswers::Click(page, IDC_ADD_MODIFY);
            steps.push_back({"the flash ID editor", DialogWith(IDC_FID_LIST), [this](HWND dialog) {
                                 std::vector<textfit::Cut> cuts = textfit::CutTexts(dialog);
                                 for (const textfit::Cut& cut :
                                      textfit::CutListEntries(GetDlgItem(dialog, IDC_FID_LIST),
                                                              {kFlashId}, kColorListIndent)) {
                                     cuts.push_back(cut);
                                 }
                                 Check("flash ID editor", cuts);
                                 DialogAnswers::Click(dialog, IDCANCEL);
                             }});
        }
        const int next = tab + 1;
        steps.push_back(
            {"the sheet back on tab " + std::to_string(tab + 1), SheetAt(tab), [next](HWND s) {
                 const int tabs = static_cast<int>(
                     SendMessageA(GetDlgItem(s, kSheetTabControl), TCM_GETITEMCOUNT, 0, 0));
                 if (next < tabs) {
                     SendMessageA(s, PSM_SETCURSEL, next, 0);
                 }
             }});
        m_steps.insert(m_steps.begin() + static_cast<std::ptrdiff_t>(m_next), steps.begin(),
                       steps.end());
    }

    const char* m_section;
    std::map<std::string, std::string> m_texts;
    std::vector<Step> m_steps;
    size_t m_next = 0;
    bool m_started = false;
    DWORD m_stepStart = 0;
    int m_settled = 0;
    bool m_failed = false;
    int m_closeTicks = 0;
    int m_cuts = 0;
};

int Usage() {
    std::fprintf(stderr, "usage: fitcheck LANGUAGE_FILE [--language ENU|CHS|CHT]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string languageFile;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--language" && i + 1 < argc) {
            only = argv[++i];
        } else if (!arg.empty() && arg[0] != '-' && languageFile.empty()) {
            languageFile = arg;
        } else {
            return Usage();
        }
    }
    if (languageFile.empty()) {
        return Usage();
    }
    if (!only.empty() && only != "ENU" && only != "CHS" && only != "CHT") {
        return Usage();
    }
    std::string content;
    if (!hostfiles::ReadWhole(languageFile, content)) {
        std::fprintf(stderr, "fitcheck: cannot read %s (error %lu)\n", languageFile.c_str(),
                     GetLastError());
        return 2;
    }

    // A station folder of its own: the language file as DLL\Language.dll and
    // a job in flash ID check mode, so that the editor lists an ID.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string station =
        std::string(temp) + "fitcheck-" + std::to_string(GetCurrentProcessId()) + "\\";
    const std::string jobFile = station + "Job.ini";
    CreateDirectoryA(station.c_str(), nullptr);
    CreateDirectoryA((station + "DLL").c_str(), nullptr);
    if (!hostfiles::WriteWhole(station + "DLL\\Language.dll", content) ||
        !hostfiles::WriteWhole(
            jobFile, std::string("[CheckFlash]\r\nCheckFlashMode=1\r\n[CheckID]\r\nNum=1\r\n"
                                 "FID0=") +
                         kFlashId + "\r\nCOLOR0=0\r\nFIDCOR0=16711680\r\n")) {
        std::fprintf(stderr, "fitcheck: cannot write the station folder %s\n", station.c_str());
        return 2;
    }

    const std::string dllPath = ProgramFolder() + "Setup.dll";
    HMODULE dll = nullptr;
    const SetupShowFn show = hostfiles::LoadShow(dllPath, dll);
    if (show == nullptr) {
        return 1;
    }
    std::vector<FlashRecord> records(2);
    std::snprintf(records[0].firstText, sizeof records[0].firstText, "8GB");
    std::snprintf(records[0].flashName, sizeof records[0].flashName, "FX29F64G08AMC");
    std::snprintf(records[1].firstText, sizeof records[1].firstText, "16GB");
    std::snprintf(records[1].flashName, sizeof records[1].flashName, "FX29F128G08AMC");
    const FlashTable table = {0, records.data(), static_cast<int32_t>(records.size())};
    uint32_t hostParams[SETUP_HOST_PARAMS_SIZE / 4] = {};
    hostParams[0] = SETUP_HOST_PARAMS_SIZE;

    int cuts = 0;
    bool failed = false;
    for (const Language& language : kLanguages) {
        if (!only.empty() && only != language.section) {
            continue;
        }
        std::map<std::string, std::string> texts =
            SectionTexts(station + "DLL\\Language.dll", language.section);
        if (texts.empty()) {
            std::fprintf(stderr, "fitcheck: [%s] not in the file: not checked\n", language.section);
            failed = failed || !only.empty();
            continue;
        }
        if (language.codePage != 0 && GetACP() != language.codePage) {
            std::fprintf(stderr,
                         "fitcheck: [%s] not checked: its texts are in code page %u, this "
                         "system's is %u\n",
                         language.section, language.codePage, GetACP());
            failed = failed || !only.empty();
            continue;
        }
        Visit visit(language.section, texts);
        {
            DialogAnswers ticks([&visit] { visit.Tick(); });
            show(0, static_cast<char>(language.number), station.c_str(), jobFile.c_str(), &table,
                 hostParams);
        }
        if (!visit.Complete()) {
            std::fprintf(stderr, "fitcheck: [%s] the visit did not reach every window\n",
                         language.section);
            failed = true;
        }
        std::fprintf(stderr, "fitcheck: [%s] %d text(s) cut\n", language.section, visit.CutCount());
        cuts += visit.CutCount();
    }
    FreeLibrary(dll);
    DeleteFileA(jobFile.c_str());
    DeleteFileA((station + "DLL\\Language.dll").c_str());
    RemoveDirectoryA((station + "DLL").c_str());
    RemoveDirectoryA(station.c_str());
    return cuts > 0 || failed ? 1 : 0;
}
