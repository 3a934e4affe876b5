// The module globals, defined in one place so that they are constructed in
// this order when the library loads and destroyed in the reverse order.
#include "entry/globals.h"
#include "entry/SetupApp.h"

static_assert(SETUP_HOST_PARAMS_SIZE % 4 == 0, "the host block is a run of 32-bit words");

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
