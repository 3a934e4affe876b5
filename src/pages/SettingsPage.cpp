#include "pages/SettingsPage.h"

#include "module/LanguageText.h"

IMPLEMENT_DYNAMIC(CSettingsPage, fw::CPropertyPage)

BOOL CSettingsPage::OnInitDialog() {
    fw::CPropertyPage::OnInitDialog();
    FillControls(FileOr(m_strSettingsFile));
    return TRUE;
}

BOOL CSettingsPage::LoadSettings(const std::string& path) {
    m_strSettingsFile = path;
    if (GetSafeHwnd() != nullptr) {
        FillControls(FileOr(path));
    }
    return TRUE;
}

BOOL ReportUnwritten(fw::CWnd& wnd, const jobsettings::JobFileWriter& writer, const char* what) {
    if (writer.Failed().empty()) {
        return TRUE;
    }
    // The window stays open: closing it would tell the station that settings
    // were saved which are not in the file.
    wnd.MessageBox(
        std::string("The ") + what + " settings could not be written to " + writer.Path() + ".",
        GetLanguageText("IDS_SETUP_MESSAGE_NOTE").c_str(), MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}
