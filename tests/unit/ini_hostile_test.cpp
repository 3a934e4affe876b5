// Files a station may hand the module that are no job file it can use: one
// table, each row a path (made as the row says), what a read of [S] k gives
// after one save of k=new was tried, whether the save was taken, and whether
// the path may be opened for reading. Every row also checks that the save
// leaves no other file behind (no temporary file) and that a refused save
// leaves the file's bytes as they were.
//
// Rows for both builds: oversized, at the limit, device, pipe, folder,
// UTF-16 with a fullwidth '=', a path near the system's limit, a batch left
// by an exception. In the Windows build only: a file another program holds
// open, so that the save's rename is refused.
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ini_test_support.h"
#include "platform/files.h"
#include "platform/ini.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using initest::Utf16;

// The path a row works on, the folder whose entries must not change in
// number, and whatever must stay alive while the row runs.
struct Target {
    std::string path;
    std::string folder;
    std::shared_ptr<void> keep;
};

enum class Save { Taken, Refused };

struct Row {
    const char* name;
    std::function<Target(const initest::ScratchDir&)> make;
    Save save;
    const char* reads;  // [S] k after the save, "dflt" for the default
    bool canOpen;       // files::CanOpenForReading
    // The save tried; by default one write of k=new.
    std::function<bool(const std::string&)> write = nullptr;
};

const char kJob[] = "[S]\r\nk=old\r\n";

Target JobFile(const initest::ScratchDir& dir, const std::string& bytes) {
    const std::string path = dir.File("job.ini");
    initest::WriteBytes(path, bytes);
    return {path, dir.Path(), nullptr};
}

// A job file of exactly `size` bytes: kJob, then a comment line filling it.
std::string JobOfSize(size_t size) {
    std::string bytes = kJob;
    bytes += ';';
    bytes += std::string(size - bytes.size() - 2, 'c');
    bytes += "\r\n";
    return bytes;
}

// A file in a folder nested so deep that the path is within a few
// characters of the system's limit on a path (Windows: MAX_PATH, which
// CreateDirectory wants 12 characters below) or on one name (natively).
Target NearTheLimit(const initest::ScratchDir& dir) {
#ifdef _WIN32
    std::string folder = dir.Path();
    while (folder.size() < 240) {
        folder += "\\" + std::string(std::min<size_t>(40, 239 - folder.size()), 'd');
    }
    fs::create_directories(folder);
    const std::string path = folder + "\\J.ini";
#else
    const std::string folder = dir.Path();
    const std::string path = dir.File(std::string(250, 'j') + ".ini");
#endif
    initest::WriteBytes(path, kJob);
    return {path, folder, nullptr};
}

#ifdef _WIN32
// A pipe with instances waiting for clients that write nothing: a read that
// connects to one would wait for ever.
Target Pipe(const initest::ScratchDir& dir) {
    const std::string name = "\\\\.\\pipe\\ini-hostile-" + std::to_string(::GetCurrentProcessId());
    auto handles = std::make_shared<std::vector<HANDLE>>();
    for (int i = 0; i < 8; ++i) {
        HANDLE pipe =
            ::CreateNamedPipeA(name.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT,
                               PIPE_UNLIMITED_INSTANCES, 0, 0, 0, nullptr);
        if (pipe != INVALID_HANDLE_VALUE) {
            handles->push_back(pipe);
        }
    }
    EXPECT_EQ(8u, handles->size()) << "the pipe's instances";
    std::shared_ptr<void> keep(nullptr, [handles](void*) {
        for (HANDLE h : *handles) {
            ::CloseHandle(h);
        }
    });
    return {name, dir.Path(), keep};
}
#else
Target Pipe(const initest::ScratchDir& dir) {
    const std::string path = dir.File("fifo.ini");
    EXPECT_EQ(0, ::mkfifo(path.c_str(), 0666));
    return {path, dir.Path(), nullptr};
}
#endif

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        {"one byte over the limit",
         [](const initest::ScratchDir& d) {
             return JobFile(d, JobOfSize(files::kMaxReadSize + 1));
         },
         Save::Refused, "dflt", false},
        {"at the limit",
         [](const initest::ScratchDir& d) { return JobFile(d, JobOfSize(files::kMaxReadSize)); },
         Save::Taken, "new", true},
        {"a save that would pass the limit",
         [](const initest::ScratchDir& d) { return JobFile(d, JobOfSize(files::kMaxReadSize)); },
         Save::Refused, "old", true,
         [](const std::string& path) { return ini::WriteString("S", "k", "older", path.c_str()); }},
        {"a device",
         [](const initest::ScratchDir& d) {
#ifdef _WIN32
             return Target{"NUL", d.Path(), nullptr};
#else
             return Target{"/dev/zero", d.Path(), nullptr};
#endif
         },
         Save::Refused, "dflt", false},
        {"a pipe", Pipe, Save::Refused, "dflt", false},
        {"a folder",
         [](const initest::ScratchDir& d) {
             fs::create_directory(d.File("folder.ini"));
             return Target{d.File("folder.ini"), d.Path(), nullptr};
         },
         Save::Refused, "dflt", false},
        // The fullwidth '=' (U+FF1D) that the ANSI code page may show as '='
        // separates nothing: the key is not there, and the save adds it.
        {"utf-16 with a fullwidth equals sign",
         [](const initest::ScratchDir& d) {
             return JobFile(d, Utf16(u"[S]\r\nk\uFF1Dold\r\nj=1\r\n"));
         },
         Save::Taken, "new", true},
        {"a path near the system's limit", NearTheLimit, Save::Taken, "new", true},
        {"a batch left by an exception",
         [](const initest::ScratchDir& d) { return JobFile(d, kJob); }, Save::Refused, "old", true,
         [](const std::string& path) {
             try {
                 ini::WriteBatch batch;
                 EXPECT_TRUE(ini::WriteString("S", "k", "new", path.c_str()));
                 EXPECT_TRUE(ini::WriteString("S", "j", "new", path.c_str()));
                 throw std::runtime_error("export interrupted");
             } catch (const std::runtime_error&) {
             }
             return false;
         }},
#ifdef _WIN32
        // The station reads the job without letting it be replaced: the
        // rename is refused, and the save's temporary file goes again.
        {"a file held open by a reader",
         [](const initest::ScratchDir& d) {
             Target target = JobFile(d, kJob);
             HANDLE reader = ::CreateFileA(target.path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                           nullptr, OPEN_EXISTING, 0, nullptr);
             EXPECT_NE(INVALID_HANDLE_VALUE, reader);
             target.keep = std::shared_ptr<void>(reader, ::CloseHandle);
             return target;
         },
         Save::Refused, "old", true},
#endif
    };
    return rows;
}

size_t Entries(const std::string& folder) {
    size_t n = 0;
    for (auto it = fs::directory_iterator(folder); it != fs::directory_iterator(); ++it) {
        ++n;
    }
    return n;
}

TEST(IniHostileFiles, ReadsSavesAndWhatStays) {
    for (const Row& row : Rows()) {
        SCOPED_TRACE(row.name);
        initest::ScratchDir dir;
        const Target target = row.make(dir);
        std::error_code error;
        const bool regular = fs::is_regular_file(target.path, error);
        const std::string before = regular ? initest::ReadBytes(target.path) : std::string();
        const size_t entries = Entries(target.folder);

        EXPECT_EQ(row.canOpen, files::CanOpenForReading(target.path));
        const bool taken = row.write ? row.write(target.path)
                                     : ini::WriteString("S", "k", "new", target.path.c_str());
        EXPECT_EQ(row.save == Save::Taken, taken);
        EXPECT_EQ(row.reads, ini::GetString("S", "k", "dflt", target.path));
        EXPECT_EQ(row.reads, ini::ReadView(target.path).GetString("S", "k", "dflt"));
        EXPECT_EQ(entries, Entries(target.folder)) << "a file was left or taken";
        if (row.save == Save::Refused && regular) {
            EXPECT_EQ(before, initest::ReadBytes(target.path)) << "a refused save changed it";
        }
    }
}

}  // namespace
