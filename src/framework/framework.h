// The window framework in one include: what module code needs to write its
// dialogs, pages, sheet and controls.
#ifndef SETUP_FRAMEWORK_FRAMEWORK_H
#define SETUP_FRAMEWORK_FRAMEWORK_H

#include "framework/windows/app.h"
#include "framework/dialogs/commdlg.h"
#include "framework/controls/controls.h"
#include "framework/windows/cursor.h"
#include "framework/dialogs/dialog.h"
#include "framework/templates/dlgtempl.h"
#include "framework/gdi/gdi.h"
#include "framework/windows/geometry.h"
#include "framework/dialogs/msgbox.h"
#include "framework/windows/msgmap.h"
#include "framework/windows/object.h"
#include "framework/dialogs/propsheet.h"
#include "framework/windows/shell.h"
#include "framework/gdi/syscolor.h"
#include "framework/windows/toplevel.h"
#include "framework/winapi.h"
#include "framework/windows/wnd.h"

#endif
