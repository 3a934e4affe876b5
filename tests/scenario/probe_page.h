// A page that stands in for a settings page the sheet scenarios do not need
// as itself: it logs what the sheet asks of it, writes one key of its own
// ([Probe] Page<n>=saved), and refuses on request.
#ifndef SETUP_TESTS_SCENARIO_PROBE_PAGE_H
#define SETUP_TESTS_SCENARIO_PROBE_PAGE_H

#include <functional>
#include <string>
#include <vector>

#include "pages/SettingsPage.h"
#include "platform/ini.h"
#include "scenario/sheet_globals.h"

namespace sheettest {

class CProbePage : public CSettingsPage {
public:
    CProbePage(UINT nIDTemplate, int number, std::vector<std::string>* log)
        : CSettingsPage(nIDTemplate, VisitOfGlobals()), m_number(number), m_log(log) {}

    bool m_bRefuse = false;      // SaveSettings says so and returns FALSE
    bool m_bRefuseLoad = false;  // LoadSettings returns FALSE
    // Runs as the page saves, with the file it saves into.
    std::function<void(const std::string&)> m_onSave;
    // The paths LoadSettings was given, in order.
    std::vector<std::string> m_loadPaths;

    BOOL OnInitDialog() override {
        Log("init");
        return CSettingsPage::OnInitDialog();
    }
    BOOL SaveSettings(const std::string& path) override {
        Log("save");
        if (m_bRefuse) {
            MessageBox("Page " + std::to_string(m_number) + " refuses.", "Probe", MB_OK);
            return FALSE;
        }
        const std::string target = FileOr(path);
        ini::WriteString("Probe", ("Page" + std::to_string(m_number)).c_str(), "saved",
                         target.c_str());
        if (m_onSave) {
            m_onSave(target);
        }
        return TRUE;
    }
    BOOL LoadSettings(const std::string& path) override {
        Log("load");
        m_loadPaths.push_back(path);
        return m_bRefuseLoad ? FALSE : TRUE;
    }

protected:
    void FillControls(const std::string& /*file*/) override {}  // no controls of its own

private:
    void Log(const char* what) {
        m_log->push_back(std::string(what) + " " + std::to_string(m_number));
    }

    int m_number;
    std::vector<std::string>* m_log;
};

}  // namespace sheettest

#endif
