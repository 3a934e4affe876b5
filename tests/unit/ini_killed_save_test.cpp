// Saves that another process kills or stops half-way: the file is always one
// whole version, old or new; the next save removes the temporary files that
// killed saves left behind; and it never removes the temporary file of a save
// that is still running.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ini_test_support.h"
#include "platform/ini.h"
#include "unit/ini_writer.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#ifndef _WIN32
extern char** environ;
#endif

namespace {

using Clock = std::chrono::steady_clock;
using initest::ReadBytes;
using initest::ScratchDir;

// The writer program (tests/writer), beside the test program.
std::string WriterProgram() {
#ifdef _WIN32
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(NULL, self, MAX_PATH);
    std::string dir(self);
    return dir.substr(0, dir.find_last_of("\\/") + 1) + "ini_writer.exe";
#else
    return std::string(SETUP_TEST_BIN_DIR) + "/ini_writer";
#endif
}

// The writer program running on one file (initest::RunWriter).
class WriterProcess {
public:
    WriterProcess(const std::string& path, unsigned first, const std::string& stopFile = "") {
        std::vector<std::string> args = {WriterProgram(), path, std::to_string(first)};
        if (!stopFile.empty()) {
            args.push_back(stopFile);
        }
#ifdef _WIN32
        std::string command;
        for (const std::string& arg : args) {
            command += (command.empty() ? "\"" : " \"") + arg + "\"";
        }
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        // Wine on some machines now and then fails to start a process (a
        // few times in thousands of starts): the start is tried again, and
        // each failure is told with its error code.
        for (int attempt = 0; attempt < 3 && !m_started; ++attempt) {
            m_started = ::CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL,
                                         &startup, &m_process) != FALSE;
            m_startError = m_started ? 0 : static_cast<int>(::GetLastError());
            if (!m_started) {
                std::fprintf(stderr, "the writer did not start: CreateProcess error %d\n",
                             m_startError);
            }
        }
#else
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(&arg[0]);
        }
        argv.push_back(nullptr);
        m_startError = ::posix_spawn(&m_pid, argv[0], nullptr, nullptr, argv.data(), environ);
        m_started = m_startError == 0;
#endif
    }
    ~WriterProcess() {
        if (m_started && !m_ended) {
            Kill();
        }
#ifdef _WIN32
        if (m_started) {
            ::CloseHandle(m_process.hThread);
            ::CloseHandle(m_process.hProcess);
        }
#endif
    }
    WriterProcess(const WriterProcess&) = delete;
    WriterProcess& operator=(const WriterProcess&) = delete;

    bool Started() const {
        return m_started;
    }
    // Why it did not start: the system's error code.
    int StartError() const {
        return m_startError;
    }

    // Its process ID, as the temporary files' names write it.
    std::string Id() const {
#ifdef _WIN32
        char id[16];
        std::snprintf(id, sizeof id, "%lx", static_cast<unsigned long>(m_process.dwProcessId));
        return id;
#else
        return std::to_string(m_pid);
#endif
    }

    // For failure messages: "running", or how it ended.
    std::string Status() {
#ifdef _WIN32
        DWORD code = 0;
        ::GetExitCodeProcess(m_process.hProcess, &code);
        return code == STILL_ACTIVE ? "running" : "ended with " + std::to_string(code);
#else
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) != m_pid) {
            return "running";
        }
        m_ended = true;
        return WIFEXITED(status) ? "ended with " + std::to_string(WEXITSTATUS(status))
                                 : "ended by signal " + std::to_string(WTERMSIG(status));
#endif
    }

    // Ends it at once, wherever it is (SIGKILL, TerminateProcess), and waits
    // until it is gone.
    void Kill() {
#ifdef _WIN32
        ::TerminateProcess(m_process.hProcess, 9);
        ::WaitForSingleObject(m_process.hProcess, INFINITE);
#else
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
#endif
        m_ended = true;
    }

    // Stops it where it is, and lets it go on. Both stops take effect after
    // the call returns; each is waited for: a thread's context can be read
    // only once it has stopped (GetThreadContext), and waitpid with
    // WUNTRACED returns once the process has.
    void Pause() {
#ifdef _WIN32
        ::SuspendThread(m_process.hThread);
        CONTEXT context = {};
        context.ContextFlags = CONTEXT_CONTROL;
        ::GetThreadContext(m_process.hThread, &context);
#else
        ::kill(m_pid, SIGSTOP);
        int status = 0;
        ::waitpid(m_pid, &status, WUNTRACED);
#endif
    }
    void Resume() {
#ifdef _WIN32
        ::ResumeThread(m_process.hThread);
#else
        ::kill(m_pid, SIGCONT);
#endif
    }

    // Its exit code once it has ended by itself; -1 when it was killed.
    int Wait() {
        m_ended = true;
#ifdef _WIN32
        ::WaitForSingleObject(m_process.hProcess, INFINITE);
        DWORD code = 0;
        ::GetExitCodeProcess(m_process.hProcess, &code);
        return static_cast<int>(code);
#else
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    }

private:
    bool m_started = false;
    bool m_ended = false;
    int m_startError = 0;
#ifdef _WIN32
    PROCESS_INFORMATION m_process = {};
#else
    pid_t m_pid = -1;
#endif
};

#ifdef _WIN32
// A process start under Wine takes a good part of a second.
const int kKills = 200;
const int kPauses = 100;
#else
const int kKills = 1000;
const int kPauses = 300;
#endif

std::string SelfId() {
#ifdef _WIN32
    char id[16];
    std::snprintf(id, sizeof id, "%lx", static_cast<unsigned long>(::GetCurrentProcessId()));
    return id;
#else
    return std::to_string(::getpid());
#endif
}

// The names in the folder other than the job file's.
std::vector<std::string> OtherFiles(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : initest::fs::directory_iterator(dir)) {
        if (entry.path().filename() != "job.ini") {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text.empty() ? "none" : text;
}

// Waits until the writer has saved a version after `version` (it has started
// and is in its loop); false after a minute. Read as the module reads: a
// plain open on Windows (no delete sharing) would make the writer's rename
// fail.
bool WaitForASave(const std::string& path, long version) {
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(60);
    while (Clock::now() < deadline) {
        if (static_cast<int32_t>(ini::GetInt("Job", "Version", -1, path)) > version) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

// The time one save of the writer's file takes here, in microseconds.
long SaveMicroseconds(const std::string& path, unsigned* version) {
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < 10; ++i) {
        initest::SaveWriterVersion(path, ++*version);
    }
    auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    return static_cast<long>(elapsed.count() / 10) + 1;
}

TEST(IniKilledSave, FileIsOneWholeVersionAndTheNextSaveLeavesNoTemporaryFile) {
    ScratchDir dir;
    const std::string path = dir.File("job.ini");
    unsigned version = 0;
    ASSERT_TRUE(initest::SaveWriterVersion(path, version));
    ASSERT_EQ(0, initest::WriterFileVersion(ReadBytes(path))) << "the saves keep the layout";
    const long save = SaveMicroseconds(path, &version);

    const unsigned seed = std::random_device()();
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> when(0, 3 * save);
    int left = 0;
    for (int trial = 0; trial < kKills; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial) + ", seed " + std::to_string(seed));
        WriterProcess writer(path, version + 1);
        ASSERT_TRUE(writer.Started()) << "error " << writer.StartError();
        ASSERT_TRUE(WaitForASave(path, version)) << "the writer never saved: " << writer.Status();
        std::this_thread::sleep_for(std::chrono::microseconds(when(random)));
        writer.Kill();

        const std::string bytes = ReadBytes(path);
        const long seen = initest::WriterFileVersion(bytes);
        ASSERT_GT(seen, static_cast<long>(version))
            << "the file is no whole version after the kill: " << initest::Show(bytes);
        version = static_cast<unsigned>(seen);
        left += OtherFiles(dir.Path()).empty() ? 0 : 1;

        ASSERT_TRUE(initest::SaveWriterVersion(path, ++version));
        ASSERT_EQ(version, initest::WriterFileVersion(ReadBytes(path)));
        ASSERT_EQ("none", Joined(OtherFiles(dir.Path()))) << "left after the next save";
    }
    std::cout << "killed saves: " << kKills << " (one save takes " << save << " us); " << left
              << " left a temporary file, each removed by the next save\n";
    // Kills that never land inside a save would not try the removal at all.
    EXPECT_GT(left, 0) << "no kill came while a temporary file existed";
}

TEST(IniKilledSave, ASaveLeavesTheTemporaryFileOfARunningSaveAlone) {
    ScratchDir dir;
    const std::string path = dir.File("job.ini");
    const std::string stop = dir.Path() + "/stop";
    unsigned version = 0;
    ASSERT_TRUE(initest::SaveWriterVersion(path, version));
    const long save = SaveMicroseconds(path, &version);

    const unsigned seed = std::random_device()();
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> when(0, 2 * save);
    WriterProcess writer(path, 1000000, stop);
    ASSERT_TRUE(writer.Started()) << "error " << writer.StartError();
    ASSERT_TRUE(WaitForASave(path, static_cast<long>(version)))
        << "the writer never saved: " << writer.Status();
    int caught = 0, refused = 0;
    for (int pause = 0; pause < kPauses; ++pause) {
        SCOPED_TRACE("pause " + std::to_string(pause) + ", seed " + std::to_string(seed));
        std::this_thread::sleep_for(std::chrono::microseconds(when(random)));
        writer.Pause();
        const std::vector<std::string> before = OtherFiles(dir.Path());
        // The stopped writer's file is not whole yet: this save starts from
        // whatever version is there.
        const bool saved = initest::SaveWriterVersion(path, ++version);
#ifdef _WIN32
        // Windows refuses to rename over a file that another process holds
        // open: a writer stopped while it reads the file blocks the save.
        refused += saved ? 0 : 1;
#else
        EXPECT_TRUE(saved);
#endif
        caught += saved && !before.empty() ? 1 : 0;
        EXPECT_EQ(Joined(before), Joined(OtherFiles(dir.Path())))
            << "a save removed the temporary file of a running one, or left one of its own "
            << "(the names carry the process: the writer is " << writer.Id() << ", this test "
            << SelfId() << ")";
        writer.Resume();
    }
    initest::WriteBytes(stop, "");
    EXPECT_EQ(0, writer.Wait()) << "a save of the writer failed";
    std::cout << "stopped saves: " << kPauses << "; " << caught
              << " caught one with its temporary file, which stayed; " << refused
              << " saves refused while the stopped writer held the file open\n";
    EXPECT_GT(caught, 0) << "no pause came while the writer had a temporary file";
}

#ifndef _WIN32
// Only files named exactly as a save of this file names its temporary file
// are removed: anything else in the folder stays.
TEST(IniKilledSave, OnlyTemporaryFilesOfThatFileAreRemoved) {
    ScratchDir dir;
    const std::string path = dir.File("job.ini");
    const std::vector<std::string> kept = {
        ".job.ini.tmp",       ".job.ini.12.tmp",      ".job.ini.1.2.3.tmp", ".job.ini.x.2.tmp",
        ".job.ini.1.2.tmp~",  ".job.ini.1.2.tmp.bak", ".job.ini..2.tmp",    ".jobXini.1.2.tmp",
        ".other.ini.1.2.tmp", "job.ini.1.2.tmp",      ".JOB.INI.1.2.tmp",
    };
    for (const std::string& name : kept) {
        initest::WriteBytes(dir.File(name), "x");
    }
    initest::WriteBytes(dir.File(".job.ini.999999.7.tmp"), "[half");  // a dead save's
    initest::fs::create_directory(dir.File(".job.ini.999999.8.tmp"));
    ASSERT_TRUE(initest::SaveWriterVersion(path, 1));
    std::vector<std::string> expected = kept;
    expected.push_back(".job.ini.999999.8.tmp");  // a directory, not a save's file
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> left = OtherFiles(dir.Path());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(Joined(expected), Joined(left));
}
#endif

}  // namespace
