// The jobini tool, run as a station engineer's script runs it: exit status,
// exact output bytes, usage errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "unit/settings_test_support.h"

namespace {

using testsupport::TempDir;

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

#ifdef _WIN32
// jobini.exe lies beside the test program.
std::string JobiniPath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path, length);
    return text.substr(0, text.find_last_of("\\/") + 1) + "jobini.exe";
}

// The quoting the C runtime's argument parser undoes.
std::string Quote(const std::string& arg) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
        } else if (c == '"') {
            quoted.append(backslashes * 2 + 1, '\\');
            backslashes = 0;
        } else {
            quoted.append(backslashes, '\\');
            backslashes = 0;
        }
        if (c != '\\') {
            quoted += c;
        }
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

RunResult RunJobini(const std::vector<std::string>& args, const TempDir& dir) {
    RunResult result;
    const std::string outPath = dir.File("jobini.out");
    const std::string errPath = dir.File("jobini.err");
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE err = CreateFileA(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string commandLine = Quote(JobiniPath());
    for (const std::string& arg : args) {
        commandLine += " " + Quote(arg);
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    const std::string cwd = dir.Path();
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, cwd.c_str(),
                       &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        result.status = static_cast<int>(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    CloseHandle(err);
    result.out = testsupport::ReadBytes(outPath);
    result.err = testsupport::ReadBytes(errPath);
    return result;
}
#else
RunResult RunJobini(const std::vector<std::string>& args, const TempDir& dir) {
    RunResult result;
    const std::string program = std::string(SETUP_TEST_BIN_DIR) + "/jobini";
    const std::string outPath = dir.File("jobini.out");
    const std::string errPath = dir.File("jobini.err");
    const std::string cwd = dir.Path();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || chdir(cwd.c_str()) != 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) {
            _exit(127);
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        result.status = WEXITSTATUS(status);
    }
    result.out = testsupport::ReadBytes(outPath);
    result.err = testsupport::ReadBytes(errPath);
    return result;
}
#endif

class JobiniTest : public ::testing::Test {
protected:
    TempDir m_dir;
    TempDir m_work;  // the tool's current directory, where jobini.out is written

    RunResult Jobini(const std::vector<std::string>& args) { return RunJobini(args, m_work); }
};

TEST_F(JobiniTest, GetPrintsTheValueBytesAndOneNewline) {
    const std::string job =
        m_dir.Write("Job.ini", "[Flash]\r\nFlashName=  FX29F64G08  \r\nRaw=\xB3\x5C\xA9\x77\r\n");
    const struct {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"get", job, "Flash", "FlashName"}, "FX29F64G08\n"},
        {{"get", job, "flash", "RAW"}, "\xB3\x5C\xA9\x77\n"},
        {{"get", job, "Flash", "FlashName", "dflt", "4"}, "FX2\n"},
        {{"get", job, "Flash", "FlashName", "dflt", "0"}, "\n"},
        {{"get", job, "Flash", "Missing"}, "\n"},
        {{"get", job, "Flash", "Missing", "fallback  "}, "fallback\n"},
        {{"get", m_dir.File("None.ini"), "Flash", "FlashName", "none"}, "none\n"},
    };
    for (const auto& c : cases) {
        const RunResult r = Jobini(c.args);
        EXPECT_EQ(0, r.status) << c.args[3] << ": " << r.err;
        EXPECT_EQ(c.out, r.out) << c.args[3];
    }
}

TEST_F(JobiniTest, GetIntPrintsSigned32BitDecimal) {
    const std::string job = m_dir.Write("Job.ini", "[S]\nminus=-1\nbig=4294967295\nword=abc\n");
    const struct {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"getint", job, "S", "minus"}, "-1\n"},
        {{"getint", job, "S", "big"}, "-1\n"},
        {{"getint", job, "S", "word", "7"}, "0\n"},
        {{"getint", job, "S", "missing", "-2147483648"}, "-2147483648\n"},
        {{"getint", job, "S", "missing"}, "0\n"},
    };
    for (const auto& c : cases) {
        const RunResult r = Jobini(c.args);
        EXPECT_EQ(0, r.status) << c.args[3] << ": " << r.err;
        EXPECT_EQ(c.out, r.out) << c.args[3];
    }
}

TEST_F(JobiniTest, SetWritesAndReportsFailure) {
    const std::string job = m_dir.File("New.ini");
    RunResult r = Jobini({"set", job, "Flash", "FlashNum", "4"});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.out);
    EXPECT_EQ("[Flash]\r\nFlashNum=4\r\n", testsupport::ReadBytes(job));

    r = Jobini({"set", m_dir.File("NoDir/Job.ini"), "Flash", "FlashNum", "4"});
    EXPECT_EQ(1, r.status);
    EXPECT_NE("", r.err);
    EXPECT_FALSE(testsupport::fs::exists(m_dir.File("NoDir")));
}

TEST_F(JobiniTest, SettingsPrintsEveryMemberOrFails) {
    const std::string job =
        m_dir.Write("Job.ini",
                    "[Flash]\r\nFlashNum=3\r\nFlashName=FX29F64G08\r\n[CheckFlash]\r\n"
                    "FID=0x98,0xD7\r\n[BIN]\r\nBinCap1=64\r\n");
    RunResult r = Jobini({"settings", job});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_EQ(0u, r.out.rfind("Setup.CTLType = 0\nSetup.DrivingLevel = 0\n", 0)) << r.out;
    for (const char* line :
         {"\nFlash.FlashNum = 1\n", "\nFlash.FlashName = FX29F64G08\n",
          "\nCheckFlash.FID[0] = 152\n", "\nCheckFlash.FID[1] = 215\n", "\nCheckFlash.FID[2] = 0\n",
          "\nBIN.BinCap1 = 64\n", "\nBIN.BINCO16 = 32768\n", "\nCheckID.FID0 = \n",
          "\nU3Bin.SSDBinCo1 = 32768\n"}) {
        EXPECT_NE(std::string::npos, r.out.find(line)) << line;
    }
    EXPECT_EQ(123, std::count(r.out.begin(), r.out.end(), '\n'));
    EXPECT_EQ(std::string::npos, r.out.find('\r'));

    // Nothing to load: no job file, no TLMQW.ini in the tool's current directory.
    r = Jobini({"settings", m_dir.File("Missing.ini")});
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("", r.out);
    EXPECT_NE(std::string::npos, r.err.find("nothing loaded")) << r.err;

    // ...but TLMQW.ini there is read instead.
    m_work.Write("TLMQW.ini", "[Flash]\r\nFlashName=Fallback\r\n");
    r = Jobini({"settings", m_dir.File("Missing.ini")});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_NE(std::string::npos, r.out.find("\nFlash.FlashName = Fallback\n"));
}

TEST_F(JobiniTest, UsageErrorsExitWith2) {
    const std::string job = m_dir.Write("Job.ini", "[S]\nk=v\n");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate", job},
        {"get", job, "S"},
        {"get", job, "S", "k", "d", "12x"},
        {"get", job, "S", "k", "d", "-1"},
        {"get", job, "S", "k", "d", "260", "extra"},
        {"getint", job, "S", "k", "seven"},
        {"getint", job, "S", "k", "2147483648"},
        {"set", job, "S", "k"},
        {"settings"},
        {"settings", job, job},
    };
    for (const auto& args : cases) {
        const RunResult r = Jobini(args);
        std::string shown;
        for (const std::string& a : args) {
            shown += a + " ";
        }
        EXPECT_EQ(2, r.status) << shown;
        EXPECT_NE(std::string::npos, r.err.find("usage: jobini")) << shown;
        EXPECT_EQ("", r.out) << shown;
    }
    EXPECT_EQ("[S]\nk=v\n", testsupport::ReadBytes(job));
}

#ifdef _WIN32
// kernel32's functions, on a full path, agree with the engine.
TEST_F(JobiniTest, Kernel32AgreesOnPlainFiles) {
    const std::string job = m_dir.Write("Job.ini", "[Flash]\r\nFlashName= FX29F64G08 \r\nN=-7\r\n");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"get", job, "Flash", "FlashName"},
          std::vector<std::string>{"get", job, "Flash", "Missing", "d  "},
          std::vector<std::string>{"getint", job, "Flash", "N"}}) {
        std::vector<std::string> kernel32 = args;
        kernel32.insert(kernel32.begin(), "--kernel32");
        const RunResult engine = Jobini(args);
        const RunResult reference = Jobini(kernel32);
        EXPECT_EQ(0, reference.status) << reference.err;
        EXPECT_EQ(reference.out, engine.out) << args[3];
    }
    EXPECT_EQ(0, Jobini({"--kernel32", "set", job, "Flash", "FlashNum", "2"}).status);
    EXPECT_EQ("2\n", Jobini({"getint", job, "Flash", "FlashNum"}).out);
}
#else
TEST_F(JobiniTest, Kernel32IsAUsageErrorNatively) {
    const RunResult r = Jobini({"--kernel32", "get", m_dir.File("Job.ini"), "S", "k"});
    EXPECT_EQ(2, r.status);
    EXPECT_NE(std::string::npos, r.err.find("Windows")) << r.err;
}
#endif

}  // namespace
