// CSettingsPage: a page of the settings sheet. Each page owns the INI keys
// it writes; the sheet saves the pages in their tab order on OK and into an
// exported file on export, and reloads them after an import.
#ifndef SETUP_PAGES_SETTINGSPAGE_H
#define SETUP_PAGES_SETTINGSPAGE_H

#include <string>

#include "framework/framework.h"

class CSettingsPage : public fw::CPropertyPage {
    DECLARE_DYNAMIC(CSettingsPage)
public:
    explicit CSettingsPage(UINT nIDTemplate) : fw::CPropertyPage(nIDTemplate) {}

    // Writes the page's keys from its controls into the INI file at path
    // (the job file g_strJobFile when path is empty). FALSE when the page
    // refuses; the page has told the operator why.
    virtual BOOL SaveSettings(const std::string& path) = 0;
    // Fills the controls again from JobSettings (after an import). TRUE.
    virtual BOOL LoadSettings(const std::string& path) = 0;
};

#endif
