// The fixture of the scenarios that run the settings sheet directly (the
// module's classes are linked into the test program): the module's globals
// set as Show sets them for a station, and put back afterwards (the current
// directory too).
#ifndef SETUP_TESTS_SCENARIO_SHEET_GLOBALS_H
#define SETUP_TESTS_SCENARIO_SHEET_GLOBALS_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/station.h"
#include "module/Visit.h"
#include "module/globals.h"
#include "platform/files.h"
#include "settings/JobSettings.h"

namespace sheettest {

// The visit Show would build from the module's globals as they stand.
inline Visit VisitOfGlobals(uint32_t flashIndex = 0) {
    Visit visit;
    visit.appDir = g_strAppDir;
    visit.jobFile = g_strJobFile;
    visit.flashTable = g_pFlashTable;
    visit.flashIndex = flashIndex;
    return visit;
}

// The module's globals as Show leaves them for the sheet, for one station;
// restored afterwards so that no other test sees them.
class SheetGlobals : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = JobSettings;
        m_currentDir = files::CurrentDirectory();
        g_nLanguage = SETUP_LANGUAGE_ENU;
        g_strAppDir = m_station.Dir();
        g_strJobFile = m_station.JobFile();
        g_strLanguageFile = m_station.Dir() + "\\DLL\\Language.dll";
        g_pFlashTable = &m_station.Table();
    }
    void TearDown() override {
        JobSettings = m_saved;
        g_strAppDir.clear();
        g_strJobFile.clear();
        g_strLanguageFile.clear();
        g_pFlashTable = nullptr;
        g_bFlashNameRequired = 0;
        // A file dialog leaves the process in the folder it showed.
        files::ChangeDirectory(m_currentDir);
    }

    void LoadJob(const std::string& text) {
        m_station.WriteJob(text);
        JobSettings.Load(g_strJobFile);
    }

    Station m_station;
    std::vector<std::string> m_log;

private:
    CJobSettings m_saved;
    std::string m_currentDir;
};

}  // namespace sheettest

#endif
