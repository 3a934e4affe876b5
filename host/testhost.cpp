// The test host: loads Setup.dll from its own folder, as a station does, and
// calls Show with what its arguments describe. Prints what it passed and what
// came back; exits 0 when Show returned --expect (default 0) and the job file
// was handled as a load handles it.
//
//   testhost [--language N] [--flash-index N] [--records N] [--count N]
//            [--null-table] [--null-records] [--null-params] [--long-paths]
//            [--no-job] [--password accept|wrong|cancel] [--expect N]
//
// The password dialog is answered from a thread timer: "accept" types the
// job's password (none) and presses OK, "wrong" types another one, presses OK,
// confirms the error and then cancels, "cancel" presses Cancel. Any other
// dialog is cancelled.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dialog_answers.h"
#include "host_files.h"
#include "setup/host.h"

namespace {

struct Options {
    int language = 0;
    int flashIndex = 0;
    int records = 3;
    bool countGiven = false;
    int count = 0;
    bool nullTable = false;
    bool nullRecords = false;
    bool nullParams = false;
    bool longPaths = false;
    bool noJob = false;
    std::string password = "accept";
    int expect = 0;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--language" && hasValue) {
            options.language = std::atoi(argv[++i]);
        } else if (arg == "--flash-index" && hasValue) {
            options.flashIndex = std::atoi(argv[++i]);
        } else if (arg == "--records" && hasValue) {
            options.records = std::atoi(argv[++i]);
        } else if (arg == "--count" && hasValue) {
            options.countGiven = true;
            options.count = std::atoi(argv[++i]);
        } else if (arg == "--password" && hasValue) {
            options.password = argv[++i];
        } else if (arg == "--expect" && hasValue) {
            options.expect = std::atoi(argv[++i]);
        } else if (arg == "--null-table") {
            options.nullTable = true;
        } else if (arg == "--null-records") {
            options.nullRecords = true;
        } else if (arg == "--null-params") {
            options.nullParams = true;
        } else if (arg == "--long-paths") {
            options.longPaths = true;
        } else if (arg == "--no-job") {
            options.noJob = true;
        } else {
            std::fprintf(stderr, "testhost: unknown argument %s\n", arg.c_str());
            return false;
        }
    }
    return options.records >= 0 && (options.password == "accept" || options.password == "wrong" ||
                                    options.password == "cancel");
}

const int kPasswordEdit = 1079;  // the password dialog's password field

void AnswerDialog(const std::string& password, HWND dialog, const std::string& title,
                  int timesSeen) {
    if (title == "PassWord" && timesSeen == 1 && password != "cancel") {
        SetDlgItemTextA(dialog, kPasswordEdit, password == "wrong" ? "not-the-password" : "");
        std::printf("password dialog: OK with %s password\n",
                    password == "wrong" ? "a wrong" : "the job's");
        DialogAnswers::Click(dialog, IDOK);
    } else if (title == "Password") {
        std::printf("message box \"%s\": OK\n", title.c_str());
        DialogAnswers::Click(dialog, IDOK);
    } else {
        std::printf("dialog \"%s\": Cancel\n", title.c_str());
        DialogAnswers::Click(dialog, IDCANCEL);
    }
    std::fflush(stdout);
}

// A station folder of its own in the temporary directory: DLL\Language.dll
// and a read-only job file, which a load makes writable again.
bool MakeStation(std::string& appDir, std::string& jobFile) {
    char temp[MAX_PATH];
    if (GetTempPathA(MAX_PATH, temp) == 0) {
        return false;
    }
    appDir = std::string(temp) + "setup-testhost-" + std::to_string(GetCurrentProcessId()) + "\\";
    jobFile = appDir + "Job.ini";
    CreateDirectoryA(appDir.c_str(), nullptr);
    CreateDirectoryA((appDir + "DLL").c_str(), nullptr);
    SetFileAttributesA(jobFile.c_str(), FILE_ATTRIBUTE_NORMAL);
    return hostfiles::WriteWhole(appDir + "DLL\\Language.dll",
                                 "[ENU]\r\nIDS_SETUP_UI_TITLE=Settings\r\n") &&
           hostfiles::WriteWhole(jobFile, "[PASSWORD]\r\nPWD=\r\n[Flash]\r\nFlashNum=2\r\n") &&
           SetFileAttributesA(jobFile.c_str(), FILE_ATTRIBUTE_READONLY) != 0;
}

void RemoveStation(const std::string& appDir, const std::string& jobFile) {
    SetFileAttributesA(jobFile.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(jobFile.c_str());
    DeleteFileA((appDir + "Missing.ini").c_str());  // the password dialog's remember flag
    DeleteFileA((appDir + "DLL\\Language.dll").c_str());
    RemoveDirectoryA((appDir + "DLL").c_str());
    RemoveDirectoryA(appDir.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        return 2;
    }

    const std::string dllPath = hostfiles::ProgramFolder() + "Setup.dll";
    HMODULE dll = nullptr;
    const SetupShowFn show = hostfiles::LoadShow(dllPath, dll);
    if (show == nullptr) {
        return 1;
    }

    std::string appDir;
    std::string jobFile;
    if (!MakeStation(appDir, jobFile)) {
        std::printf("cannot build the station folder\n");
        return 1;
    }

    std::vector<FlashRecord> records(static_cast<size_t>(options.records));
    for (size_t i = 0; i < records.size(); ++i) {
        std::snprintf(records[i].firstText, sizeof records[i].firstText, "T%02u",
                      static_cast<unsigned>(i));
        std::snprintf(records[i].flashName, sizeof records[i].flashName, "FLASH%03u",
                      static_cast<unsigned>(i));
    }
    FlashTable table = {0, options.nullRecords ? nullptr : records.data(),
                        options.countGiven ? options.count : options.records};
    unsigned char params[SETUP_HOST_PARAMS_SIZE];
    for (size_t i = 0; i < sizeof params; ++i) {
        params[i] = static_cast<unsigned char>(i);
    }

    std::string passedDir = appDir;
    std::string passedJob = options.noJob ? appDir + "Missing.ini" : jobFile;
    if (options.longPaths) {
        passedDir = appDir + std::string(300, 'D') + "\\";
        passedJob = passedDir + std::string(300, 'J') + ".ini";
    }

    std::printf("Show(%d, %d, \"%.60s%s\", \"%.60s%s\", %s, %s)\n", options.flashIndex,
                options.language, passedDir.c_str(), passedDir.size() > 60 ? "..." : "",
                passedJob.c_str(), passedJob.size() > 60 ? "..." : "",
                options.nullTable ? "NULL" : "table", options.nullParams ? "NULL" : "params");
    std::printf("flash table: records %s, count %d\n", table.records ? "set" : "NULL", table.count);
    std::fflush(stdout);

    int result;
    {
        const std::string password = options.password;
        DialogAnswers answers([password](HWND dialog, const std::string& title, int timesSeen) {
            AnswerDialog(password, dialog, title, timesSeen);
        });
        result = show(options.flashIndex, static_cast<char>(options.language), passedDir.c_str(),
                      passedJob.c_str(), options.nullTable ? nullptr : &table,
                      options.nullParams ? nullptr : params);
    }
    std::printf("Show returned %d\n", result);

    // The job file is read-only until a load reads it.
    const DWORD attributes = GetFileAttributesA(jobFile.c_str());
    const bool readOnly =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    const bool passed = passedJob == jobFile;
    const bool loaded = passed && options.password == "accept";
    std::printf("job file read-only after Show: %s (%s)\n", readOnly ? "yes" : "no",
                loaded   ? "it was loaded"
                : passed ? "no password was accepted"
                         : "it was not passed");

    RemoveStation(appDir, jobFile);
    FreeLibrary(dll);

    const bool ok = result == options.expect && readOnly != loaded;
    std::printf("%s\n", ok ? "testhost: OK" : "testhost: FAILED");
    return ok ? 0 : 1;
}
