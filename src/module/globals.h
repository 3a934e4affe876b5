// The module-wide globals: what the host passed to the last Show call, and the
// paths built from it. They live as long as the library is loaded; Show
// overwrites them, nothing else resets them. The sheet and its pages take the
// job file, the flash table and the flash index from the visit Show hands
// them (module/Visit.h); the language and its file are read from here.
#ifndef SETUP_MODULE_GLOBALS_H
#define SETUP_MODULE_GLOBALS_H

#include <cstdint>
#include <string>

#include "settings/JobSettings.h"
#include "setup/host.h"

// Language index: 0 "ENU", 1 "CHS", 2 "CHT" (any other index reads "ENU").
extern uint8_t g_nLanguage;
// The host's program directory, ending in a backslash.
extern std::string g_strAppDir;
// The job INI file that the pages save into.
extern std::string g_strJobFile;
// g_strAppDir + "\DLL\Language.dll" (a doubled backslash before DLL).
extern std::string g_strLanguageFile;
// g_strAppDir + "HubProfile.cfg".
extern std::string g_strHubProfile;
// The host's flash table; read it through FlashTableCount/FlashTableRecord.
extern const FlashTable* g_pFlashTable;
// A copy of the host's parameter block; nothing in the module depends on it.
extern uint32_t g_HostParams[SETUP_HOST_PARAMS_SIZE / 4];
// Shared by the mode page and the flash check page: a flash name must be chosen.
extern int32_t g_bFlashNameRequired;

// The labels of the flash IDs' colours, by the colour-name index stored as
// [CheckID] COLOR<n>: "BLUE", "PURPLE", "DARK ORANGE", "DARK CYAN", "CYAN",
// "GREEN". Labels only: the colour an ID is drawn in is its FIDCOR<n>. The
// flash ID editor and the flash check page each have their table, the
// editor's made before the application object and the page's after the
// other globals.
constexpr int kColorNameCount = 6;
extern const std::string g_strFlashIdColorNames[kColorNameCount];  // the flash ID editor's
extern const std::string g_strColorNames[kColorNameCount];         // the flash check page's

// The name of a colour-name index in one of the tables; empty for an index
// outside 0 to 5 (a job file may hold any number there).
const std::string& ColorNameOf(const std::string (&table)[kColorNameCount], int32_t nIndex);
// The index of a name in one of the tables, -1 when it is none of them.
int32_t ColorNameIndex(const std::string (&table)[kColorNameCount], const std::string& name);

#endif
