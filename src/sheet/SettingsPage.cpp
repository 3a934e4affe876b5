#include "sheet/SettingsPage.h"

IMPLEMENT_DYNAMIC(CSettingsPage, fw::CPropertyPage)
