// The window framework in one include: what module code needs to write its
// dialogs, pages, sheet and controls.
#ifndef SETUP_FRAMEWORK_FRAMEWORK_H
#define SETUP_FRAMEWORK_FRAMEWORK_H

#include "framework/app.h"
#include "framework/commdlg.h"
#include "framework/controls.h"
#include "framework/cursor.h"
#include "framework/dialog.h"
#include "framework/dlgtempl.h"
#include "framework/gdi.h"
#include "framework/geometry.h"
#include "framework/msgbox.h"
#include "framework/msgmap.h"
#include "framework/object.h"
#include "framework/propsheet.h"
#include "framework/shell.h"
#include "framework/syscolor.h"
#include "framework/toplevel.h"
#include "framework/winapi.h"
#include "framework/wnd.h"

#endif
