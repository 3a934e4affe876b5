// What the operator meets when a file, a folder or the station itself does
// not play along during a visit: each case says what the operator is told
// (or sees), that the files involved are as they were, and that the
// process's current directory is where it was before. Natively and, under
// Wine, against the real Setup.dll with the real file dialogs.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "driver/operator.h"
#include "driver/station.h"
#include "platform/files.h"
#include "resource.h"
#include "scenario/sheet_support.h"
#include "scenario/transfer_support.h"

using transfertest::MakeFolder;
using transfertest::SameFolder;
using transfertest::SetReadOnly;

namespace {

// The job the station works on (controller 1), and a job to import
// (controller 3, other advanced keys).
const char kJob[] =
    "[PASSWORD]\r\nPWD=\r\n"
    "[Setup]\r\nCTLType=1\r\nDrivingLevel=0\r\nUIType=2\r\n"
    "[Flash]\r\nFlashIndex=0\r\nFlashName=FX29F08G08AAA\r\n"
    "[Advanced]\r\nHubPort=1\r\nCheckDDR=1\r\nMinCap=500\r\n";
const char kImported[] =
    "[Setup]\r\nCTLType=3\r\nUIType=5\r\n"
    "[Advanced]\r\nHubPort=2\r\nCheckDDR=0\r\nMinCap=7000\r\n";

// A file far over what a job file holds (and what a 32-bit station should
// read into memory), far under what the file system allows: made sparse
// where the system can.
constexpr std::uintmax_t kOversized = 64u << 20;

using Paths = std::vector<std::string>;

struct Case {
    const char* name;
    int flashIndex;
    char language;
    // Prepares the station's files; returns the paths that must stay as they
    // are (the job file is always checked).
    std::function<Paths(Station&)> prepare;
    // The operator's part on the open sheet; returns what the operator was
    // told, or saw.
    std::function<std::string(Station&, Operator&, SheetDriver&)> act;
    // What that must be.
    std::function<std::string(const Station&)> told;
};

// The one message box the next action raises, answered OK: its text.
void ExpectMessage(Operator& op, const Station& station, std::string* text) {
    op.OnMessageBox([&station, text](MessageBoxSeen& m) {
        EXPECT_EQ(station.Text("IDS_SETUP_MESSAGE_NOTE"), m.caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK), m.Buttons());
        *text = m.text;
        return IDOK;
    });
}

std::string Import(Station& station, Operator& op, SheetDriver& s, const std::string& path) {
    std::string text;
    op.OnFileDialog([&](FileDialogSeen&) { return FileChoice::Path(path); });
    ExpectMessage(op, station, &text);
    s.Click(IDC_IMPORT_SET);
    EXPECT_EQ(1, s.CurSel(IDC_CONTROLLER)) << "the mode page shows the station's job still";
    return text;
}

#if defined(_WIN32)
// A job file another program holds open without sharing it. (A folder of
// that name cannot be picked: the open dialog opens it.)
HANDLE s_held = INVALID_HANDLE_VALUE;

void Unopenable(const std::string& path) {
    Station::WriteFile(path, kImported);
    s_held = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, s_held) << "error " << ::GetLastError();
}

void ReleaseUnopenable() {
    if (s_held != INVALID_HANDLE_VALUE) {
        ::CloseHandle(s_held);
        s_held = INVALID_HANDLE_VALUE;
    }
}
#else
// A folder where the job file should be. (Files the process has no right to
// read are read all the same by a test run as root.)
void Unopenable(const std::string& path) {
    MakeFolder(path);
}

void ReleaseUnopenable() {}
#endif

// The import of the station's file name, and what the operator is told
// when that file cannot be read.
std::function<std::string(Station&, Operator&, SheetDriver&)> ImportOf(const char* name) {
    return [name](Station& st, Operator& op, SheetDriver& s) {
        return Import(st, op, s, st.Path(name));
    };
}

std::function<std::string(const Station&)> CannotBeRead(const char* name) {
    return [name](const Station& st) {
        return "The job file " + st.Path(name) + " cannot be read. Nothing was imported.";
    };
}

// The title and first tab as the operator reads them.
std::string Titles(SheetDriver& s) {
    return s.Caption() + " | " + s.TabTitle(0);
}

std::string EnglishTitles(const Station& station) {
    return station.Text("IDS_SETUP_UI_TITLE") + " | " + station.Text("IDS_SETUP_UI_SHEET_MODE");
}

}  // namespace

// One row a case, each a visit of its own on a station of its own, ended
// with Cancel. The oversized file's row holds once the engine refuses such
// files.
TEST(HostileCases, WhatTheOperatorIsToldAndWhatStays) {
    const Case cases[] = {
        {"import of a file that cannot be opened", 0, SETUP_LANGUAGE_ENU,
         [](Station& st) {
             Unopenable(st.Path("Held.ini"));
             return Paths{};
         },
         ImportOf("Held.ini"), CannotBeRead("Held.ini")},
        {"import of a file too large to read whole", 0, SETUP_LANGUAGE_ENU,
         [](Station& st) {
             Station::WriteFile(st.Path("Huge.ini"), kImported);
             std::error_code error;
             std::filesystem::resize_file(std::filesystem::path(st.Path("Huge.ini")), kOversized,
                                          error);
             EXPECT_FALSE(error) << error.message();
             return Paths{};
         },
         ImportOf("Huge.ini"), CannotBeRead("Huge.ini")},
        {"import whose advanced keys the job file cannot take", 0, SETUP_LANGUAGE_ENU,
         [](Station& st) {
             Station::WriteFile(st.Path("Other.ini"), kImported);
             return Paths{st.Path("Other.ini")};
         },
         [](Station& st, Operator& op, SheetDriver& s) {
             // The visit's load made the job file writable; now it is not.
             SetReadOnly(st.JobFile(), true);
             const std::string text = Import(st, op, s, st.Path("Other.ini"));
             SetReadOnly(st.JobFile(), false);
             return text;
         },
         [](const Station& st) {
             return "The settings could not be written to " + st.JobFile() +
                    ". Nothing was imported.";
         }},
        {"export stopped at the write (the name gets \".ini\": a folder)", 0, SETUP_LANGUAGE_ENU,
         [](Station& st) { return Paths{MakeFolder(st.Path("Out.ini"))}; },
         [](Station& st, Operator& op, SheetDriver& s) {
             std::string text;
             op.OnFileDialog([&](FileDialogSeen&) { return FileChoice::Path(st.Path("Out")); });
             ExpectMessage(op, st, &text);
             s.Click(IDC_EXPORT_SET);
             return text;
         },
         [](const Station& st) {
             return "The settings could not be written to " + st.Path("Out.ini") + ".";
         }},
        {"advanced dialog's OK on a job file that cannot take its keys", 0, SETUP_LANGUAGE_ENU,
         [](Station&) { return Paths{}; },
         [](Station& st, Operator& op, SheetDriver& s) {
             std::string text;
             op.OnDialog(IDD_ADVANCED, [&](DialogDriver& d) {
                 SetReadOnly(st.JobFile(), true);
                 ExpectMessage(op, st, &text);
                 d.Click(IDC_ADVANCED_OK);
                 SetReadOnly(st.JobFile(), false);
                 text += d.IsOpen() ? " (stays open)" : " (closed)";
                 d.Click(IDC_ADVANCED_CANCEL);
             });
             s.Click(IDC_ADVANCED);
             return text;
         },
         [](const Station& st) {
             return "The advanced settings could not be written to " + st.JobFile() +
                    ". (stays open)";
         }},
        {"Show called from another thread during the visit", 0, SETUP_LANGUAGE_ENU,
         [](Station&) { return Paths{}; },
         [](Station& st, Operator& op, SheetDriver&) {
             const size_t seen = op.Seen().size();
             const int result = st.ShowOnAnotherThread();
             return "returned " + std::to_string(result) + ", " +
                    std::to_string(op.Seen().size() - seen) + " windows";
         },
         [](const Station&) { return std::string("returned 0, 0 windows"); }},
        // A language beyond the three is English; a flash index beyond the
        // table, or negative, preselects no flash.
        {"language 9, flash index 1000", 1000, 9, [](Station&) { return Paths{}; },
         [](Station&, Operator&, SheetDriver& s) { return Titles(s); }, EnglishTitles},
        {"language -1, flash index -5", -5, -1, [](Station&) { return Paths{}; },
         [](Station&, Operator&, SheetDriver& s) { return Titles(s); }, EnglishTitles},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Station station;
        station.WriteJob(kJob);
        Paths kept = c.prepare(station);
        kept.push_back(station.JobFile());
        const std::string work = MakeFolder(station.Path("Work"));
        const std::string startDir = files::CurrentDirectory();
        Paths before;  // as the sheet opens (the password step writes its key)
        Operator op;
        sheettest::QueueVisit(op, [&](SheetDriver& s) {
            for (const std::string& path : kept) {
                before.push_back(Station::ReadFile(path));
            }
            files::ChangeDirectory(work);
            EXPECT_EQ(c.told(station), c.act(station, op, s));
            EXPECT_TRUE(SameFolder(work, files::CurrentDirectory())) << "the current directory";
            files::ChangeDirectory(startDir);
            s.Click(IDCANCEL);
        });
        EXPECT_EQ(0, station.Show(op, c.flashIndex, c.language));
        ReleaseUnopenable();
        ASSERT_EQ(kept.size(), before.size());
        for (size_t i = 0; i < kept.size(); ++i) {
            EXPECT_EQ(before[i], Station::ReadFile(kept[i])) << kept[i];
        }
    }
}
