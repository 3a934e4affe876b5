// The module globals, defined in one place so that they are constructed in
// this order when the library loads and destroyed in the reverse order.
#include "module/globals.h"
#include "module/SetupApp.h"

static_assert(SETUP_HOST_PARAMS_SIZE % 4 == 0, "the host block is a run of 32-bit words");

#define SETUP_COLOR_NAMES "BLUE", "PURPLE", "DARK ORANGE", "DARK CYAN", "CYAN", "GREEN"

const std::string g_strFlashIdColorNames[kColorNameCount] = {SETUP_COLOR_NAMES};
CSetupApp theApp;
CJobSettings JobSettings;
std::string g_strLanguageFile;
std::string g_strAppDir;
std::string g_strJobFile;
std::string g_strHubProfile;
uint32_t g_HostParams[SETUP_HOST_PARAMS_SIZE / 4] = {};
uint8_t g_nLanguage = 0;
const FlashTable* g_pFlashTable = nullptr;
int32_t g_bFlashNameRequired = 0;
const std::string g_strColorNames[kColorNameCount] = {SETUP_COLOR_NAMES};
#undef SETUP_COLOR_NAMES

const std::string& ColorNameOf(const std::string (&table)[kColorNameCount], int32_t nIndex) {
    static const std::string s_strNone;
    return nIndex >= 0 && nIndex < kColorNameCount ? table[nIndex] : s_strNone;
}

int32_t ColorNameIndex(const std::string (&table)[kColorNameCount], const std::string& name) {
    for (int32_t i = 0; i < kColorNameCount; ++i) {
        if (table[i] == name) {
            return i;
        }
    }
    return -1;
}
