// CSetupApp: the library's application object. It adds nothing to the
// framework's; it exists so that the framework has one, with no name of its
// own (message boxes are then captioned with the library's name).
#ifndef SETUP_MODULE_SETUPAPP_H
#define SETUP_MODULE_SETUPAPP_H

#include "framework/windows/app.h"

class CSetupApp : public fw::CWinApp {
public:
    CSetupApp() : fw::CWinApp(nullptr) {}
};

extern CSetupApp theApp;

#endif
