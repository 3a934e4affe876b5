#include "pages/SettingsPage.h"

IMPLEMENT_DYNAMIC(CSettingsPage, fw::CPropertyPage)
