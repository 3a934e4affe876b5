// jobini: reads and writes job files from the command line, on the module's
// own INI engine (or, on Windows with --kernel32, on kernel32's functions).
//
//   jobini get FILE SECTION KEY [DEFAULT [SIZE]]
//   jobini getint FILE SECTION KEY [DEFAULT]
//   jobini set FILE SECTION KEY VALUE
//   jobini settings FILE
//   jobini check FILE
//   jobini diff FILE1 FILE2
//   jobini schema [--markdown]
//
// Exit status: 0 success, 1 failure, 2 usage error; check and diff exit 1
// also when they find something.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#include "job_reference.h"
#include "platform/ini.h"
#include "settings/JobSettings.h"

namespace {

const uint32_t kDefaultSize = 260;
const uint32_t kMaxSize = 64u << 20;

const char kUsage[] =
    "usage: jobini [--kernel32] get FILE SECTION KEY [DEFAULT [SIZE]]\n"
    "       jobini [--kernel32] getint FILE SECTION KEY [DEFAULT]\n"
    "       jobini [--kernel32] set FILE SECTION KEY VALUE\n"
    "       jobini settings FILE\n"
    "       jobini check FILE\n"
    "       jobini diff FILE1 FILE2\n"
    "       jobini schema [--markdown]\n"
    "\n"
    "  get       prints the value as GetPrivateProfileString returns it through a\n"
    "            buffer of SIZE bytes (default 260), then a newline\n"
    "  getint    prints the value as GetPrivateProfileInt reads it, signed decimal\n"
    "  set       writes KEY=VALUE into SECTION\n"
    "  settings  loads FILE as the job settings record and prints every member\n"
    "  check     loads FILE as the module does and prints every value the load\n"
    "            does not take as written, with the value it uses and why\n"
    "  diff      loads both files and prints the members that differ\n"
    "  schema    prints every key of a job file: section and key, type, default,\n"
    "            what the load does with it, what an export or import copies, the\n"
    "            page that writes it and whether an export carries it (tab-separated);\n"
    "            --markdown prints the key reference docs/job-file.md\n"
    "  --kernel32  (Windows only) use kernel32's private-profile functions instead\n"
    "              of the module's engine; kernel32 looks a bare file name up in\n"
    "              the Windows directory\n"
    "\n"
    "exit status: 0 success, 1 failure, 2 usage error; check and diff exit 1\n"
    "also when they find a value not taken as written, or a difference\n";

int Usage(const char* problem) {
    if (problem != nullptr) {
        std::fprintf(stderr, "jobini: %s\n", problem);
    }
    std::fputs(kUsage, stderr);
    return 2;
}

// The profile functions the verbs run on.
struct Profile {
    uint32_t (*getString)(const char*, const char*, const char*, char*, uint32_t, const char*);
    uint32_t (*getInt)(const char*, const char*, int32_t, const char*);
    bool (*writeString)(const char*, const char*, const char*, const char*);
};

uint32_t EngineGetInt(const char* section, const char* key, int32_t def, const char* path) {
    return ini::GetInt(section, key, def, path);
}

const Profile kEngine = {ini::GetString, EngineGetInt, ini::WriteString};

#ifdef _WIN32
uint32_t Kernel32GetString(const char* section, const char* key, const char* def, char* buffer,
                           uint32_t size, const char* path) {
    return GetPrivateProfileStringA(section, key, def, buffer, size, path);
}
uint32_t Kernel32GetInt(const char* section, const char* key, int32_t def, const char* path) {
    return GetPrivateProfileIntA(section, key, def, path);
}
bool Kernel32WriteString(const char* section, const char* key, const char* value,
                         const char* path) {
    return WritePrivateProfileStringA(section, key, value, path) != FALSE;
}
const Profile kKernel32 = {Kernel32GetString, Kernel32GetInt, Kernel32WriteString};
#endif

// Whole-text decimal numbers only: a typo in a script is a usage error.
bool ParseNumber(const char* text, long long low, long long high, long long& value) {
    if (*text == '\0') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(text, &end, 10);
    return errno == 0 && *end == '\0' && value >= low && value <= high;
}

int Get(const Profile& profile, int argc, char** argv) {
    if (argc < 3 || argc > 5) {
        return Usage("get takes FILE SECTION KEY [DEFAULT [SIZE]]");
    }
    const char* defaultValue = argc >= 4 ? argv[3] : nullptr;
    long long size = kDefaultSize;
    if (argc == 5 && !ParseNumber(argv[4], 0, kMaxSize, size)) {
        return Usage("SIZE must be a number from 0 to 67108864");
    }
    std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
    const uint32_t count = profile.getString(argv[1], argv[2], defaultValue, buffer.data(),
                                             static_cast<uint32_t>(size), argv[0]);
    std::fwrite(buffer.data(), 1, count, stdout);
    std::fputc('\n', stdout);
    return 0;
}

int GetInt(const Profile& profile, int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        return Usage("getint takes FILE SECTION KEY [DEFAULT]");
    }
    long long defaultValue = 0;
    if (argc == 4 && !ParseNumber(argv[3], INT32_MIN, INT32_MAX, defaultValue)) {
        return Usage("DEFAULT must be a signed 32-bit decimal number");
    }
    const uint32_t value =
        profile.getInt(argv[1], argv[2], static_cast<int32_t>(defaultValue), argv[0]);
    std::printf("%ld\n", static_cast<long>(static_cast<int32_t>(value)));
    return 0;
}

int Set(const Profile& profile, int argc, char** argv) {
    if (argc != 4) {
        return Usage("set takes FILE SECTION KEY VALUE");
    }
    if (!profile.writeString(argv[1], argv[2], argv[3], argv[0])) {
        std::fprintf(stderr, "jobini: cannot write %s\n", argv[0]);
        return 1;
    }
    return 0;
}

void Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

// Loads the record as the module does (the fallback file, the attribute
// reset), saying on stderr when the fallback file is read instead. file: the
// file read.
bool LoadAsTheModule(const char* path, CJobSettings& settings, std::string* file = nullptr) {
    const std::string read = CJobSettings::FileToLoad(path);
    if (settings.Load(path) == 0) {
        std::fprintf(stderr, "jobini: nothing loaded: neither %s nor TLMQW.ini can be read\n",
                     path);
        return false;
    }
    if (read != path) {
        std::fprintf(stderr, "jobini: %s cannot be read: %s is read instead\n", path, read.c_str());
    }
    if (file != nullptr) {
        *file = read;
    }
    return true;
}

int Settings(int argc, char** argv) {
    if (argc != 1) {
        return Usage("settings takes FILE");
    }
    CJobSettings settings;
    if (!LoadAsTheModule(argv[0], settings)) {
        return 1;
    }
    for (const JobSettingsLine& line : ListJobSettings(settings)) {
        Print(line.name + " = " + line.value + "\n");
    }
    return 0;
}

int Check(int argc, char** argv) {
    if (argc != 1) {
        return Usage("check takes FILE");
    }
    CJobSettings settings;
    std::string file;
    if (!LoadAsTheModule(argv[0], settings, &file)) {
        return 1;
    }
    const std::vector<JobSettingsNote> notes = CheckJobSettings(file, settings);
    for (const JobSettingsNote& note : notes) {
        Print("[" + note.section + "] " + note.key + ": \"" + note.text + "\" -> " + note.value +
              " (" + note.reason + ")\n");
    }
    return notes.empty() ? 0 : 1;
}

int Diff(int argc, char** argv) {
    if (argc != 2) {
        return Usage("diff takes FILE1 FILE2");
    }
    CJobSettings first;
    CJobSettings second;
    if (!LoadAsTheModule(argv[0], first) || !LoadAsTheModule(argv[1], second)) {
        return 1;
    }
    const std::vector<JobSettingsLine> a = ListJobSettings(first);
    const std::vector<JobSettingsLine> b = ListJobSettings(second);
    bool differ = false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].value != b[i].value) {
            Print(a[i].name + ": " + a[i].value + " -> " + b[i].value + "\n");
            differ = true;
        }
    }
    return differ ? 1 : 0;
}

int Schema(int argc, char** argv) {
    if (argc > 1 || (argc == 1 && std::strcmp(argv[0], "--markdown") != 0)) {
        return Usage("schema takes nothing or --markdown");
    }
    Print(argc == 1 ? SchemaReference() : SchemaTable());
    return 0;
}

int Run(int argc, char** argv) {
    const Profile* profile = &kEngine;
    int arg = 1;
    bool kernel32 = false;
    if (arg < argc && std::strcmp(argv[arg], "--kernel32") == 0) {
#ifdef _WIN32
        profile = &kKernel32;
        kernel32 = true;
        ++arg;
#else
        return Usage("--kernel32 exists only in the Windows build");
#endif
    }
    if (arg >= argc) {
        return Usage(nullptr);
    }
    const std::string verb = argv[arg++];
    const int rest = argc - arg;
    char** args = argv + arg;
    if (verb == "get") {
        return Get(*profile, rest, args);
    }
    if (verb == "getint") {
        return GetInt(*profile, rest, args);
    }
    if (verb == "set") {
        return Set(*profile, rest, args);
    }
    if (verb == "schema" && !kernel32) {
        return Schema(rest, args);
    }
    if (verb == "settings" || verb == "check" || verb == "diff" || verb == "schema") {
        if (kernel32) {
            return Usage((verb + " always runs on the module's engine").c_str());
        }
        return verb == "settings" ? Settings(rest, args)
               : verb == "check"  ? Check(rest, args)
                                  : Diff(rest, args);
    }
    return Usage(("unknown verb: " + verb).c_str());
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Values are printed byte for byte: no CRLF translation.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    try {
        const int status = Run(argc, argv);
        if (std::fflush(stdout) != 0) {
            return 1;
        }
        return status;
    } catch (const std::bad_alloc&) {
        std::fputs("jobini: out of memory\n", stderr);
        return 1;
    }
}
