// CSettingsPage: a page of the settings sheet. Each page owns the INI keys
// it writes; the sheet saves the pages in their tab order on OK and into an
// exported file on export, and reloads them after an import.
#ifndef SETUP_PAGES_SETTINGSPAGE_H
#define SETUP_PAGES_SETTINGSPAGE_H

#include <string>

#include "framework/framework.h"
#include "module/Visit.h"
#include "settings/JobFileSchema.h"

class CSettingsPage : public fw::CPropertyPage {
    DECLARE_DYNAMIC(CSettingsPage)
public:
    CSettingsPage(UINT nIDTemplate, const Visit& visit)
        : fw::CPropertyPage(nIDTemplate), m_visit(visit) {}

    // The visit the page belongs to: its job file, flash table and flash index.
    const Visit& GetVisit() const { return m_visit; }

    // Writes the page's keys from its controls into the INI file at path
    // (the visit's job file when path is empty), through one
    // JobFileWriter whose failures ReportUnwritten tells. FALSE when the
    // page refuses; the page has told the operator why.
    virtual BOOL SaveSettings(const std::string& path) = 0;
    // Fills the controls again from JobSettings (after an import), and the
    // keys a page reads straight from a file from path (the job file when
    // empty), as its first initialization does; a page without a window yet
    // is filled so when the sheet first shows it. TRUE.
    virtual BOOL LoadSettings(const std::string& path);

    BOOL OnInitDialog() override;

protected:
    // The one fill of the controls, at the initialization and at each
    // reload; file is the job file or the file LoadSettings was given.
    virtual void FillControls(const std::string& file) = 0;
    // path, or the visit's job file when path is empty.
    const std::string& FileOr(const std::string& path) const {
        return path.empty() ? m_visit.jobFile : path;
    }

private:
    const Visit m_visit;
    std::string m_strSettingsFile;
};

// Tells the operator, once, that the keys writer could not write leave the
// settings named by what unsaved in its file. TRUE when every key was written.
BOOL ReportUnwritten(fw::CWnd& wnd, const jobsettings::JobFileWriter& writer, const char* what);

#endif
