// Per-call timings of the INI engine: string reads on a 60 KB language file
// (three sections of 300 keys), integer reads on a job file, and writes. In
// the Windows build the same calls on kernel32's own functions, and the
// ratio.
//
// The two files are dated an hour back, as a station's language and job
// files are: a file modified a moment ago is compared with its bytes on each
// read until it has been quiet for the timestamp granularity (see
// ini_cache.h); that case is timed on its own.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ini.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

struct Files {
    std::string language;
    std::string job;
    std::vector<std::string> keys;                             // language keys
    std::vector<std::pair<std::string, std::string>> jobKeys;  // section, key
};

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(fs::path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void Age(const std::string& path) {
    fs::last_write_time(fs::path(path),
                        fs::last_write_time(fs::path(path)) - std::chrono::hours(1));
}

Files MakeFiles(const fs::path& dir) {
    Files f;
    f.language = (dir / "Language.dll").string();
    f.job = (dir / "Job.ini").string();
    std::string text;
    const char* sections[] = {"ENU", "CHS", "CHT"};
    for (int k = 0; k < 300; ++k) {
        char key[48];
        std::snprintf(key, sizeof key, "IDS_SETUP_UI_TEXT_%03d", k);
        f.keys.push_back(key);
    }
    for (const char* section : sections) {
        text += "[" + std::string(section) + "]\r\n";
        for (int k = 0; k < 300; ++k) {
            char line[128];
            std::snprintf(line, sizeof line, "%s=Caption number %03d of the %s settings page\r\n",
                          f.keys[k].c_str(), k, section);
            text += line;
        }
    }
    WriteFile(f.language, text);

    std::string job;
    const char* jobSections[] = {"Setup",   "Flash", "Sorting", "CheckFlash",
                                 "CheckID", "BIN",   "U3Bin",   "Advanced"};
    for (const char* section : jobSections) {
        job += "[" + std::string(section) + "]\r\n";
        for (int k = 0; k < 20; ++k) {
            std::string key = std::string(section) + "Key" + std::to_string(k);
            job += key + "=" + std::to_string(k * 37 - 100) + "\r\n";
            f.jobKeys.emplace_back(section, key);
        }
    }
    WriteFile(f.job, job);
    Age(f.language);
    Age(f.job);
    return f;
}

// Nanoseconds per call of body(i): the best of five rounds, each running
// for about a fifth of seconds (and at least minCalls calls), so that other
// load on the machine disturbs the figure as little as possible.
double Time(const std::function<void(size_t)>& body, double seconds, size_t minCalls = 20) {
    using Clock = std::chrono::steady_clock;
    double best = 0;
    size_t done = 0;
    for (int round = 0; round < 5; ++round) {
        size_t calls = 0;
        double elapsed = 0;
        size_t batch = 1;
        auto start = Clock::now();
        while (elapsed < seconds / 5 || calls < minCalls) {
            for (size_t i = 0; i < batch; ++i) {
                body(done + calls + i);
            }
            calls += batch;
            elapsed = std::chrono::duration<double>(Clock::now() - start).count();
            if (batch < 1024) {
                batch *= 2;
            }
        }
        done += calls;
        double perCall = elapsed * 1e9 / static_cast<double>(calls);
        if (round == 0 || perCall < best) {
            best = perCall;
        }
    }
    return best;
}

struct Api {
    const char* name;
    std::function<uint32_t(const char*, const char*, char*, uint32_t, const char*)> get;
    std::function<uint32_t(const char*, const char*, int32_t, const char*)> getInt;
    std::function<bool(const char*, const char*, const char*, const char*)> put;
};

struct Figures {
    double stringRead, intRead, write, freshRead;
};

const char* kSections[] = {"ENU", "CHS", "CHT"};

Figures Measure(const Api& api, const Files& f, double seconds) {
    Figures out{};
    char buffer[260];
    size_t checksum = 0;
    out.stringRead = Time(
        [&](size_t i) {
            checksum += api.get(kSections[i % 3], f.keys[(i * 7) % f.keys.size()].c_str(), buffer,
                                sizeof buffer, f.language.c_str());
        },
        seconds);
    out.intRead = Time(
        [&](size_t i) {
            const auto& key = f.jobKeys[(i * 13) % f.jobKeys.size()];
            checksum += api.getInt(key.first.c_str(), key.second.c_str(), 0, f.job.c_str());
        },
        seconds);
    std::string scratch =
        fs::path(f.job).replace_filename(std::string("w_") + api.name + ".ini").string();
    fs::copy_file(f.job, scratch, fs::copy_options::overwrite_existing);
    out.write = Time(
        [&](size_t i) {
            std::string value = std::to_string(i);
            api.put("Flash", "FlashKey3", value.c_str(), scratch.c_str());
        },
        seconds, 20);
    // Reads of a file written a moment ago (within the timestamp granularity,
    // when the engine compares the file with its bytes on each read): each
    // round writes once, then times 200 reads.
    double best = 0;
    for (int round = 0; round < 10; ++round) {
        api.put("Flash", "FlashKey4", std::to_string(round).c_str(), scratch.c_str());
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 200; ++i) {
            checksum += api.getInt("Flash", "FlashKey3", 0, scratch.c_str());
        }
        double perCall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() * 1e9 /
            200;
        best = round == 0 ? perCall : std::min(best, perCall);
    }
    out.freshRead = best;
    if (checksum == 42) {
        std::printf(" ");
    }
    return out;
}

void Print(const char* name, const Figures& f) {
    std::printf("%-9s string read (60 KB language file)   %10.2f us/call\n", name,
                f.stringRead / 1000);
    std::printf("%-9s int read (job file)                  %10.2f us/call\n", name,
                f.intRead / 1000);
    std::printf("%-9s write (job file)                     %10.2f us/call\n", name, f.write / 1000);
    std::printf("%-9s int read, file written just before  %10.2f us/call\n", name,
                f.freshRead / 1000);
}

}  // namespace

int main() {
    fs::path dir = fs::temp_directory_path() /
                   ("bench-ini-" +
                    std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(dir);
    Files files = MakeFiles(dir);
    std::printf("language file %ju bytes, job file %ju bytes\n",
                static_cast<uintmax_t>(fs::file_size(files.language)),
                static_cast<uintmax_t>(fs::file_size(files.job)));

    Api engine = {
        "engine",
        [](const char* s, const char* k, char* b, uint32_t n, const char* p) {
            return ini::GetString(s, k, "", b, n, p);
        },
        [](const char* s, const char* k, int32_t d, const char* p) {
            return ini::GetInt(s, k, d, p);
        },
        [](const char* s, const char* k, const char* v, const char* p) {
            return ini::WriteString(s, k, v, p);
        },
    };
    Figures mine = Measure(engine, files, 0.5);
    Print("engine", mine);

#ifdef _WIN32
    Api kernel32 = {
        "kernel32",
        [](const char* s, const char* k, char* b, uint32_t n, const char* p) {
            return static_cast<uint32_t>(::GetPrivateProfileStringA(s, k, "", b, n, p));
        },
        [](const char* s, const char* k, int32_t d, const char* p) {
            return static_cast<uint32_t>(::GetPrivateProfileIntA(s, k, d, p));
        },
        [](const char* s, const char* k, const char* v, const char* p) {
            return ::WritePrivateProfileStringA(s, k, v, p) != FALSE;
        },
    };
    Figures theirs = Measure(kernel32, files, 0.5);
    Print("kernel32", theirs);
    // What no read that checks the file on disk can go below: one query of
    // the file's attributes by path (the engine's per-read check).
    WIN32_FILE_ATTRIBUTE_DATA data;
    double floor = Time(
        [&](size_t) {
            ::GetFileAttributesExA(files.language.c_str(), GetFileExInfoStandard, &data);
        },
        0.5);
    std::printf("floor     one GetFileAttributesEx by path          %10.2f us/call\n",
                floor / 1000);
    std::printf(
        "ratio kernel32/engine: string read %.1fx, int read %.1fx, write %.1fx, "
        "fresh int read %.1fx\n",
        theirs.stringRead / mine.stringRead, theirs.intRead / mine.intRead,
        theirs.write / mine.write, theirs.freshRead / mine.freshRead);
#endif

    std::error_code error;
    fs::remove_all(dir, error);
    return 0;
}
