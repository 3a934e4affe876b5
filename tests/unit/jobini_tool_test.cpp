// The jobini tool, run as a station engineer's script runs it: exit status,
// exact output bytes, usage errors.
#include <gtest/gtest.h>

#include <cstdio>
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
    // Wine on some machines now and then fails to start a process (a few
    // times in thousands of starts, in test processes that start many): the
    // start is tried again, and each failure is told with its error code.
    BOOL started = FALSE;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                 cwd.c_str(), &startup, &process);
        if (!started) {
            std::fprintf(stderr, "jobini did not start: CreateProcess error %lu\n",
                         static_cast<unsigned long>(GetLastError()));
        }
    }
    if (started) {
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

    // A run of the tool and all it should print: it succeeds, printing that.
    struct Printed {
        std::vector<std::string> args;
        std::string out;
    };
    void ExpectPrinted(const std::vector<Printed>& cases) {
        for (const Printed& c : cases) {
            const RunResult r = Jobini(c.args);
            EXPECT_EQ(0, r.status) << c.args[3] << ": " << r.err;
            EXPECT_EQ(c.out, r.out) << c.args[3];
        }
    }
};

TEST_F(JobiniTest, GetPrintsTheValueBytesAndOneNewline) {
    const std::string job =
        m_dir.Write("Job.ini", "[Flash]\r\nFlashName=  FX29F64G08  \r\nRaw=\xB3\x5C\xA9\x77\r\n");
    ExpectPrinted({
        {{"get", job, "Flash", "FlashName"}, "FX29F64G08\n"},
        {{"get", job, "flash", "RAW"}, "\xB3\x5C\xA9\x77\n"},
        {{"get", job, "Flash", "FlashName", "dflt", "4"}, "FX2\n"},
        {{"get", job, "Flash", "FlashName", "dflt", "0"}, "\n"},
        {{"get", job, "Flash", "Missing"}, "\n"},
        {{"get", job, "Flash", "Missing", "fallback  "}, "fallback\n"},
        {{"get", m_dir.File("None.ini"), "Flash", "FlashName", "none"}, "none\n"},
    });
}

TEST_F(JobiniTest, GetIntPrintsSigned32BitDecimal) {
    const std::string job = m_dir.Write("Job.ini", "[S]\nminus=-1\nbig=4294967295\nword=abc\n");
    ExpectPrinted({
        {{"getint", job, "S", "minus"}, "-1\n"},
        {{"getint", job, "S", "big"}, "-1\n"},
        {{"getint", job, "S", "word", "7"}, "0\n"},
        {{"getint", job, "S", "missing", "-2147483648"}, "-2147483648\n"},
        {{"getint", job, "S", "missing"}, "0\n"},
    });
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
        {"check"},
        {"check", job, job},
        {"schema", "--bogus"},
        {"--kernel32", "schema"},
        {"diff", job},
        {"diff", job, job, job},
        {"--kernel32", "diff", job, job},
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

// A job file as the pages write it, with every kind of value the record
// holds, stale [CheckID] entries beyond Num included (the flash check page
// leaves them in the file): nothing to report.
const char kCleanJob[] =
    "[PASSWORD]\r\nPWD=\r\n"
    "[Setup]\r\nCTLType=5\r\nDrivingLevel=255\r\nShowTPCTLName=1\r\n"
    "[Flash]\r\nFlashIndex=-1\r\nFlashName=FX29F64G08\r\nUnAutoCheck=0\r\nFlashNum=4\r\n"
    "ChannelNum=2\r\nRWCycle=7\r\n"
    "[Sorting]\r\nScanMode=2\r\nFlashCheck=5\r\nECC=15\r\nReadAfterWroteAll=1\r\n"
    "[CheckFlash]\r\nFID=0x98,0xD7,0x00,0XEC\r\nCheckFlashMode=1\r\nFlashIndex=-1\r\n"
    "LoopSel=-3\r\nOpenShortCE=1\r\nCheckLEDShort=0\r\nCheckUID=1\r\nWarmUp=30\r\n"
    "PR_Times=junk\r\n"
    "[CheckID]\r\nNum=2\r\nFID0=0x98,0xD7\r\nCOLOR0=0\r\nFIDCOR0=16711680\r\n"
    "FID1=0xEC\r\nCOLOR1=5\r\nFIDCOR1=255\r\nFID2=stale\r\nCOLOR2=99\r\nFIDCOR2=-1\r\n"
    "[BIN]\r\nShowBin=1\r\nColorBin=0\r\nStandBin=1\r\nGrade0Base=0\r\nBinCap1=2048\r\n"
    "BINCO1=255\r\nBinBB1=-1\r\nBinCap16=0x10\r\nBINCO16=4294967295\r\n"
    "[U3BIN]\r\nShowU3Bin=0\r\nU3BinCap8=\"64\"\r\nU3BinCo8=  65280  \r\nU3ColorBin=1\r\n"
    "ShowU2Bin=1\r\nSetU3BinBgColor=0\r\nU3BinBgColor=32768\r\nEnhanceCheck=2\r\n"
    "ShowSSDBin=0\r\nSSDBinCap1=128\r\nSSDBinCo1=0\r\nSSDColorBin=1\r\n";

TEST_F(JobiniTest, CheckNamesEveryValueTheLoadDoesNotTakeAsWritten) {
    RunResult r = Jobini({"check", m_dir.Write("Clean.ini", kCleanJob)});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.out);

    const std::string longName(300, 'N');
    const std::string job = m_dir.Write(
        "Job.ini",
        "[setup]\r\nctltype=257\r\nShowTPCTLName=256\r\n"
        "[Flash]\r\nFlashName=" +
            longName +
            "\r\nFlashNum=3\r\nChannelNum=12abc\r\nRWCycle=\r\nFlashIndex=4294967295\r\n"
            "[Sorting]\r\nScanMode=\"2\"\r\nFlashCheck=0x5\r\nECC=16\r\nReadAfterWroteAll=0X1\r\n"
            "ECC=1\r\n"
            "[CheckFlash]\r\nFID=0x98,0x00,,98, 3A,0x1234,0x77,0x10\r\nCheckFlashMode=1\r\n"
            "[CheckID]\r\nNum=7\r\nCOLOR0=5\r\nCOLOR1=6\r\nCOLOR2=-1\r\nFIDCOR0=255\r\n"
            "[U3BIN]\r\nShowU2Bin=2\r\nU3BinCo8=-1\r\nEnhanceCheck=259\r\n");
    r = Jobini({"check", job});
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_EQ("", r.err);
    EXPECT_EQ(
        "[setup] ctltype: \"257\" -> 1 (an 8-bit value: the low byte of 257 is 1)\n"
        "[setup] ShowTPCTLName: \"256\" -> 0 (a flag: the low byte of 256 is 0)\n"
        "[Flash] FlashIndex: \"4294967295\" -> -1 (beyond 32 bits: wraps to -1)\n"
        "[Flash] FlashName: \"" +
            longName + "\" -> \"" + longName.substr(0, 259) +
            "\" (longer than 259 characters: cut)\n"
            "[Flash] FlashNum: \"3\" -> 1 (anything but 1, 2 or 4 reads as 1)\n"
            "[Flash] ChannelNum: \"12abc\" -> 12 (not one number: the integer read takes 12)\n"
            "[Flash] RWCycle: \"\" -> 5 (empty: the default 5 is used)\n"
            "[Sorting] ECC: \"16\" -> 255 (16 or more reads as 255)\n"
            "[Sorting] ReadAfterWroteAll: \"0X1\" -> 0 (not one number: the integer read takes "
            "0)\n"
            "[CheckFlash] FID[3]: \" 3A\" -> 0 (not hexadecimal digits: reads as 0)\n"
            "[CheckFlash] FID[4]: \"0x1234\" -> 52 (more than one byte: the low byte 0x34 is "
            "used)\n"
            "[CheckFlash] FID: \"0x10\" -> not read (piece 7: only 6 flash ID bytes are read)\n"
            "[CheckID] Num: \"7\" -> 6 (more than 6 reads as 6)\n"
            "[CheckID] COLOR1: \"6\" -> 6 (names no colour: the colour table has indexes 0 to 5)\n"
            "[CheckID] COLOR2: \"-1\" -> -1 (names no colour: the colour table has indexes 0 to "
            "5)\n"
            "[U3BIN] U3BinCo8: \"-1\" -> 4294967295 (negative: reads as 4294967295)\n"
            "[U3BIN] ShowU2Bin: \"2\" -> 1 (a flag: the low byte of 2 is not 0)\n"
            "[U3BIN] EnhanceCheck: \"259\" -> 0 (an 8-bit value: the low byte of 259 is 3; 3 or "
            "more reads as 0)\n",
        r.out);
}

// The check-mode fix-up is reported on the mode, with the key it depends on;
// [CheckID] entries from Num on are not read, so not checked.
TEST_F(JobiniTest, CheckReportsTheCheckModeFixUp) {
    const struct {
        const char* file;
        const char* out;
    } cases[] = {
        {"[CheckFlash]\r\nCheckFlashMode=0\r\n[CheckID]\r\nNum=1\r\nCOLOR1=99\r\nFID2= zz\r\n",
         "[CheckFlash] CheckFlashMode: \"0\" -> 2 (mode 0 while [CheckFlash] FlashIndex is -1 "
         "reads as 2)\n"},
        {"[CheckFlash]\r\nCheckFlashMode=257\r\nFlashIndex=3\r\n",
         "[CheckFlash] CheckFlashMode: \"257\" -> 2 (an 8-bit value: the low byte of 257 is 1; "
         "mode 1 while [CheckID] Num is 0 reads as 2)\n"},
    };
    for (const auto& c : cases) {
        const RunResult r = Jobini({"check", m_dir.Write("Mode.ini", c.file)});
        EXPECT_EQ(1, r.status) << c.file << r.err;
        EXPECT_EQ(c.out, r.out) << c.file;
    }
}

TEST_F(JobiniTest, CheckAndDiffLoadAsTheModuleDoes) {
    const std::string missing = m_dir.File("Missing.ini");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"check", missing},
          std::vector<std::string>{"diff", m_dir.Write("Job.ini", "[Flash]\r\nFlashNum=2\r\n"),
                                   missing}}) {
        const RunResult r = Jobini(args);
        EXPECT_EQ(1, r.status) << args[0];
        EXPECT_EQ("", r.out) << args[0];
        EXPECT_NE(std::string::npos, r.err.find("nothing loaded")) << r.err;
    }

    // TLMQW.ini in the tool's current directory is read instead, and said so.
    m_work.Write("TLMQW.ini", "[Flash]\r\nFlashNum=3\r\n");
    RunResult r = Jobini({"check", missing});
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_EQ("[Flash] FlashNum: \"3\" -> 1 (anything but 1, 2 or 4 reads as 1)\n", r.out);
    EXPECT_NE(std::string::npos, r.err.find("TLMQW.ini is read instead")) << r.err;

    // The load clears the read-only attribute, as the module's does.
    const std::string readOnly = m_dir.Write("ReadOnly.ini", "[Flash]\r\nFlashNum=2\r\n");
    testsupport::MakeReadOnly(readOnly);
    r = Jobini({"check", readOnly});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_FALSE(testsupport::IsReadOnly(readOnly));
}

TEST_F(JobiniTest, DiffComparesTheLoadedValuesInTheRecordsOrder) {
    // Different texts, the same record: letter case, an invalid chip count
    // and its replacement, unknown keys, a comment, [CheckID] entries
    // beyond Num.
    const std::string a = m_dir.Write(
        "A.ini", "[Flash]\r\nFlashNum=3\r\n[CheckID]\r\nNum=1\r\nFID0=98\r\nFID1=old\r\n");
    const std::string b = m_dir.Write(
        "B.ini", "; copy\r\n[flash]\r\nflashnum=1\r\nOther=9\r\n[CHECKID]\r\nNum=1\r\nFID0=98\r\n");
    RunResult r = Jobini({"diff", a, b});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.out);

    const std::string c = m_dir.Write(
        "C.ini",
        "[U3Bin]\r\nU3BinCo1=255\r\n[BIN]\r\nBinCap16=64\r\n[CheckFlash]\r\nFID=0x98,0xD7\r\n"
        "[Flash]\r\nFlashName=FX29F64G08\r\nFlashNum=1\r\n[Setup]\r\nCTLType=2\r\n"
        "[CheckID]\r\nNum=2\r\nFID0=98\r\nFID1=EC\r\n");
    r = Jobini({"diff", a, c});
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_EQ(
        "Setup.CTLType: 0 -> 2\n"
        "Flash.FlashName:  -> FX29F64G08\n"
        "CheckFlash.FID[0]: 0 -> 152\n"
        "CheckFlash.FID[1]: 0 -> 215\n"
        "CheckID.Num: 1 -> 2\n"
        "CheckID.FID1:  -> EC\n"
        "BIN.BinCap16: 0 -> 64\n"
        "U3Bin.U3BinCo1: 32768 -> 255\n",
        r.out);
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

// After the record, the keys the pages and dialogs read straight from the
// file, each through the reading of its reader (the advanced dialog's rules);
// the keys only the transfer copies are not checked.
TEST_F(JobiniTest, CheckCoversTheKeysReadStraightFromTheFile) {
    const std::string longText(300, '9');
    const std::string job = m_dir.Write(
        "Advanced.ini",
        "[Advanced]\r\nHubPort=9\r\nAutoMPTimer=0\r\nFixedCapability=7\r\nFactoryDriver=256\r\n"
        "MinCap=12abc\r\nVID_PID_RE=zz\r\nCheckLevel=6\r\n"
        "[Setup]\r\nRowShow=7\r\nUIType=300\r\n"
        "[CheckFlash]\r\nPR_Times=" +
            longText + "\r\n");
    const RunResult r = Jobini({"check", job});
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_EQ("[CheckFlash] PR_Times: \"" + longText + "\" -> \"" + longText.substr(0, 259) +
                  "\" (longer than 259 characters: cut)\n"
                  "[Advanced] HubPort: \"9\" -> 0 (5 or more reads as 0)\n"
                  "[Advanced] FixedCapability: \"7\" -> 1 (4 or more reads as 1)\n"
                  "[Advanced] AutoMPTimer: \"0\" -> 1 (less than 1 reads as 1)\n"
                  "[Setup] UIType: \"300\" -> 44 (an 8-bit value: the low byte of 300 is 44)\n"
                  "[Advanced] MinCap: \"12abc\" -> 12 (not one number: the integer read takes "
                  "12)\n"
                  "[Advanced] FactoryDriver: \"256\" -> 0 (a flag: the low byte of 256 is 0)\n",
              r.out);
}

// The schema: one line per key with its type, default, reading, transfer,
// writer and export; the Markdown reference starts with its title.
TEST_F(JobiniTest, SchemaListsEveryKey) {
    RunResult r = Jobini({"schema"});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ(0u, r.out.find("key\ttype\tdefault\tload\ttransfer\twritten by\texport\n"));
    for (const char* line : {
             "[Setup] CTLType\t8-bit number\t0\tlow byte; 6 or more reads as 0\t-\tmode tab\tyes\n",
             "[Advanced] HubPort\t8-bit number\t0\tlow byte; 5 or more reads as 0\t0 to 4, else 0 "
             "(missing: 0)\tadvanced settings dialog\tyes\n",
             "[Advanced] GPI\t8-bit number\t0\tlow byte; 5 or more reads as 0\t-\tadvanced "
             "settings dialog\tno\n",
             "[BIN] BinCap1..16\tsigned 32-bit number\t0\t-\t-\tbin tab\tyes\n",
             "[CheckID] FID0..5\ttext\t\"\"\tup to 259 characters\t-\tflash check tab\tyes\n",
             "[PASSWORD] PWD\ttext\t\"\"\tup to 259 characters\t-\tpassword dialog\tno\n",
         }) {
        EXPECT_NE(std::string::npos, r.out.find(line)) << line;
    }
    r = Jobini({"schema", "--markdown"});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ(0u, r.out.find("# The job file's keys\n"));
}
