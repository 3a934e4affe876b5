// Show: the library's one exported function. One call is one editing visit.
#include <cstring>

#include "entry/globals.h"
#include "pages/PasswordDlg.h"
#include "settings/JobSettings.h"
#include "setup/host.h"

namespace {

// The globals are unprotected: a call made while another one runs (from a
// message handled in a modal loop) is refused instead of corrupting them.
bool s_bInShow = false;

class ShowGuard {
public:
    ShowGuard() { s_bInShow = true; }
    ~ShowGuard() { s_bInShow = false; }
    ShowGuard(const ShowGuard&) = delete;
    ShowGuard& operator=(const ShowGuard&) = delete;
};

int ShowVisit(int flashIndex, char language, const char* appDir, const char* jobFile,
              const FlashTable* table, const void* hostParams) {
    (void)flashIndex;  // handed to the mode page and the flash check page

    // Record what the host passed; the password dialog already needs it.
    g_nLanguage = static_cast<uint8_t>(language);
    g_strAppDir = appDir ? appDir : "";
    g_strJobFile = jobFile ? jobFile : "";
    g_strLanguageFile = g_strAppDir + "\\DLL\\Language.dll";
    g_strHubProfile = g_strAppDir + "HubProfile.cfg";

    // The dialog's own result does not count, only its accepted flag.
    {
        CPasswordDlg passwordDlg;
        passwordDlg.DoModal();
        if (!passwordDlg.m_bAccepted) {
            return 0;
        }
    }

    // A failed load leaves the record as it was.
    JobSettings.Load(g_strJobFile);

    // Without a parameter block there is nothing to keep from an earlier call.
    g_pFlashTable = table;
    if (hostParams != nullptr) {
        std::memcpy(g_HostParams, hostParams, SETUP_HOST_PARAMS_SIZE);
    } else {
        std::memset(g_HostParams, 0, SETUP_HOST_PARAMS_SIZE);
    }

    // The settings sheet (mode, bin and flash check pages) runs here; only a
    // confirmed sheet returns 1.
    return 0;
}

}  // namespace

extern "C" int SETUP_CDECL Show(int flashIndex, char language, const char* appDir,
                                const char* jobFile, const FlashTable* table,
                                const void* hostParams) {
    if (s_bInShow) {
        return 0;
    }
    ShowGuard guard;
    try {
        return ShowVisit(flashIndex, language, appDir, jobFile, table, hostParams);
    } catch (...) {
        // Nothing may unwind into the host.
        return 0;
    }
}
