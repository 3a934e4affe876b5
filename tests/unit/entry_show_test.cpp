// Show: what one call records in the module globals, the paths it builds, the
// settings load, and what the host can get wrong.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "driver/operator.h"
#include "module/globals.h"
#include "module/LanguageText.h"
#include "platform/ini.h"
#include "setup/host.h"
#include "resource.h"
#include "unit/settings_test_support.h"

namespace {

using testsupport::TempDir;

// One visit whose password dialog is confirmed as it opens (the jobs here
// store no password, so the empty one is accepted) and whose settings sheet
// is cancelled, so that no page writes into the job file.
int ShowAccepted(int flashIndex, char language, const char* appDir, const char* jobFile,
                 const FlashTable* table, const void* hostParams) {
    Operator op;
    op.OnDialog(IDD_PASSWORD, [](DialogDriver& d) { d.Click(IDOK); });
    op.OnSheet([](SheetDriver& sheet) { sheet.Click(IDCANCEL); });
    return Show(flashIndex, language, appDir, jobFile, table, hostParams);
}

class ShowTest : public ::testing::Test {
protected:
    TempDir m_dir;
    testsupport::CurrentDirectoryScope m_cwd{m_dir.Path()};
    FlashRecord m_records[2] = {{"FX", "FX29F64G08"}, {"NV", "NV27F084G2"}};
    FlashTable m_table{0, m_records, 2};
};

TEST_F(ShowTest, BuildsTheHubProfileAndLanguagePathsFromTheHostDirectory) {
    Operator op;  // the paths are recorded before the password is asked
    op.OnDialog(IDD_PASSWORD, [](DialogDriver& d) { d.Click(IDCANCEL); });
    EXPECT_EQ(0, Show(3, 1, "C:\\Tool\\", "C:\\Tool\\Job.ini", &m_table, nullptr));
    EXPECT_EQ(1, g_nLanguage);
    EXPECT_EQ("C:\\Tool\\", g_strAppDir);
    EXPECT_EQ("C:\\Tool\\Job.ini", g_strJobFile);
    EXPECT_EQ("C:\\Tool\\HubProfile.cfg", g_strHubProfile);
    EXPECT_EQ("C:\\Tool\\\\DLL\\Language.dll", g_strLanguageFile);  // doubled, as hosts expect
}

TEST_F(ShowTest, LoadsTheJobFileAndKeepsTheHostTableAndBlock) {
    const std::string job = m_dir.Write("Job.ini", "[Flash]\r\nFlashNum=4\r\nFlashName=NV\r\n");
    testsupport::MakeReadOnly(job);
    uint32_t params[SETUP_HOST_PARAMS_SIZE / 4];
    for (uint32_t i = 0; i < SETUP_HOST_PARAMS_SIZE / 4; ++i) {
        params[i] = 0x01010101u * (i + 1);
    }
    // Exactly 92 bytes: reading one more would trip the address sanitizer.
    std::unique_ptr<char[]> block(new char[SETUP_HOST_PARAMS_SIZE]);
    std::memcpy(block.get(), params, SETUP_HOST_PARAMS_SIZE);

    EXPECT_EQ(0, ShowAccepted(0, 0, m_dir.PathWithSeparator().c_str(), job.c_str(), &m_table,
                              block.get()));
    EXPECT_EQ(4, JobSettings.Flash.FlashNum);
    EXPECT_EQ("NV", JobSettings.Flash.FlashName);
    EXPECT_FALSE(testsupport::IsReadOnly(job));
    EXPECT_EQ(&m_table, g_pFlashTable);
    EXPECT_EQ(0, std::memcmp(params, g_HostParams, SETUP_HOST_PARAMS_SIZE));
    EXPECT_EQ(job, g_strJobFile);
}

TEST_F(ShowTest, SecondCallReplacesWhatTheFirstRecorded) {
    const std::string first = m_dir.Write("First.ini", "[Flash]\nFlashNum=4\n[CheckID]\nNum=2\n");
    const std::string second = m_dir.Write("Second.ini", "[Flash]\nFlashNum=2\n");
    const char block[SETUP_HOST_PARAMS_SIZE] = {7};
    ASSERT_EQ(0, ShowAccepted(0, 2, "C:\\A\\", first.c_str(), &m_table, block));
    EXPECT_EQ(2u, JobSettings.CheckID.Num);

    EXPECT_EQ(0, ShowAccepted(1, 0, "D:\\B\\", second.c_str(), nullptr, nullptr));
    EXPECT_EQ(0, g_nLanguage);
    EXPECT_EQ("D:\\B\\HubProfile.cfg", g_strHubProfile);
    EXPECT_EQ(second, g_strJobFile);
    EXPECT_EQ(2, JobSettings.Flash.FlashNum);
    EXPECT_EQ(0u, JobSettings.CheckID.Num);
    EXPECT_EQ(nullptr, g_pFlashTable);
    // Without a block there is nothing of the earlier call's to keep.
    const uint32_t zero[SETUP_HOST_PARAMS_SIZE / 4] = {};
    EXPECT_EQ(0, std::memcmp(zero, g_HostParams, SETUP_HOST_PARAMS_SIZE));
}

TEST_F(ShowTest, MissingJobFileKeepsTheRecord) {
    const std::string job = m_dir.Write("Job.ini", "[Flash]\nFlashName=Before\n");
    ASSERT_EQ(0, ShowAccepted(0, 0, "C:\\Tool\\", job.c_str(), &m_table, nullptr));
    ASSERT_EQ("Before", JobSettings.Flash.FlashName);
    // In a folder that does not exist, so that not even the password
    // dialog's remember flag can create it.
    const std::string gone = m_dir.File("Gone") + "/Job.ini";
    EXPECT_EQ(0, ShowAccepted(0, 0, "C:\\Tool\\", gone.c_str(), &m_table, nullptr));
    EXPECT_EQ("Before", JobSettings.Flash.FlashName);
    EXPECT_EQ(gone, g_strJobFile);  // the pages still save there
    EXPECT_FALSE(testsupport::fs::exists(gone));
}

// The parsed job and language files serve the whole visit and go with it:
// nothing read stays in the station's process between visits.
TEST_F(ShowTest, WhatTheVisitReadGoesWithIt) {
    const std::string job = m_dir.Write("Job.ini", "[Flash]\r\nFlashNum=4\r\n");
    Operator op;
    op.OnDialog(IDD_PASSWORD, [](DialogDriver& d) { d.Click(IDOK); });
    op.OnSheet([](SheetDriver& sheet) {
        EXPECT_GT(ini::KeptBytes(), 0u) << "the visit's files are kept while it runs";
        sheet.Click(IDCANCEL);
    });
    EXPECT_EQ(0, Show(0, 0, m_dir.PathWithSeparator().c_str(), job.c_str(), &m_table, nullptr));
    EXPECT_EQ(0u, ini::KeptBytes());
}

TEST_F(ShowTest, HostMistakesDoNotCrash) {
    const std::string longDir = "C:\\" + std::string(300, 'D') + "\\";
    const std::string longJob = longDir + std::string(300, 'J') + ".ini";
    FlashTable negative{0, m_records, -5};
    FlashTable nullRecords{0, nullptr, 40};

    EXPECT_EQ(0, ShowAccepted(0, 0, longDir.c_str(), longJob.c_str(), &negative, nullptr));
    EXPECT_EQ(longDir + "HubProfile.cfg", g_strHubProfile);
    EXPECT_EQ(longJob, g_strJobFile);

    EXPECT_EQ(0, ShowAccepted(-1, 9, nullptr, nullptr, &nullRecords, nullptr));
    EXPECT_EQ("", g_strAppDir);
    EXPECT_EQ("", g_strJobFile);
    EXPECT_EQ("HubProfile.cfg", g_strHubProfile);
    EXPECT_EQ(9, g_nLanguage);
    EXPECT_EQ("", GetLanguageText("IDS_SETUP_UI_TITLE"));

    EXPECT_EQ(0, ShowAccepted(100000, static_cast<char>(-1), "", "", nullptr, nullptr));
    EXPECT_EQ(255, g_nLanguage);
}

}  // namespace
