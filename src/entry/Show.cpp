// Show: the library's one exported function. One call is one editing visit.
#include <atomic>
#include <cstring>

#include "module/LanguageText.h"
#include "module/Visit.h"
#include "module/globals.h"
#include "pages/BinDlg.h"
#include "pages/ModePage.h"
#include "pages/PasswordDlg.h"
#include "pages/SetupDlg.h"
#include "platform/ini.h"
#include "settings/JobSettings.h"
#include "setup/host.h"
#include "sheet/SetupSheet.h"

namespace {

// The globals are unprotected: a call made while another one runs is
// refused instead of corrupting them, whether it comes from a message handled
// in a modal loop of the visit or from another thread of the station.
std::atomic<bool> s_bInShow{false};

// Holds the visit for its lifetime when it could take it.
class ShowGuard {
public:
    ShowGuard() {
        bool bFree = false;
        m_bHeld = s_bInShow.compare_exchange_strong(bFree, true);
    }
    ~ShowGuard() {
        if (m_bHeld) {
            s_bInShow.store(false);
        }
    }
    ShowGuard(const ShowGuard&) = delete;
    ShowGuard& operator=(const ShowGuard&) = delete;

    bool Held() const { return m_bHeld; }

private:
    bool m_bHeld;
};

int ShowVisit(int flashIndex, char language, const char* appDir, const char* jobFile,
              const FlashTable* table, const void* hostParams) {
    Visit visit;
    visit.appDir = appDir ? appDir : "";
    visit.jobFile = jobFile ? jobFile : "";
    // Unchecked: an index beyond the table preselects nothing.
    visit.flashIndex = static_cast<uint32_t>(flashIndex);

    // Record what the host passed; the password dialog already needs it.
    g_nLanguage = static_cast<uint8_t>(language);
    g_strAppDir = visit.appDir;
    g_strJobFile = visit.jobFile;
    g_strLanguageFile = g_strAppDir + "\\DLL\\Language.dll";
    g_strHubProfile = visit.HubProfile();

    // The dialog's own result does not count, only its accepted flag.
    {
        CPasswordDlg passwordDlg(visit.jobFile);
        passwordDlg.DoModal();
        if (!passwordDlg.m_bAccepted) {
            return 0;
        }
    }

    // A failed load leaves the record as it was.
    JobSettings.Load(visit.jobFile);

    // Without a parameter block there is nothing to keep from an earlier call.
    g_pFlashTable = table;
    visit.flashTable = table;
    if (hostParams != nullptr) {
        std::memcpy(g_HostParams, hostParams, SETUP_HOST_PARAMS_SIZE);
    } else {
        std::memset(g_HostParams, 0, SETUP_HOST_PARAMS_SIZE);
    }

    // The settings sheet, with the pages as tabs 0, 1 and 2 in the order its
    // confirm step relies on: mode, bin, flash check. Only a confirmed sheet
    // (every page saved) returns 1.
    CSetupSheet sheet(GetLanguageText("IDS_SETUP_UI_TITLE"), visit);
    CSetupDlg flashCheckPage(visit);
    CBinDlg binPage(visit);
    CModePage modePage(visit);
    sheet.AddPage(&modePage);
    sheet.AddPage(&binPage);
    sheet.AddPage(&flashCheckPage);
    return sheet.DoModal("Times New Roman", 8) == 1 ? 1 : 0;
}

}  // namespace

extern "C" int SETUP_CDECL Show(int flashIndex, char language, const char* appDir,
                                const char* jobFile, const FlashTable* table,
                                const void* hostParams) {
    ShowGuard guard;
    if (!guard.Held()) {
        return 0;
    }
    const ini::CacheReleaser releaseCache;  // nothing read stays after the visit
    try {
        return ShowVisit(flashIndex, language, appDir, jobFile, table, hostParams);
    } catch (...) {
        // Nothing may unwind into the host.
        return 0;
    }
}
