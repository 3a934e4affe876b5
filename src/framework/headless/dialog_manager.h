// The dialog manager of the headless backend, as its sources share it:
// dialogs made from parsed templates, dialog units, the default dialog
// procedure, and the modal runs that reach the test's operator (dialogs,
// sheets, message boxes, the common dialogs). Not for use outside
// src/framework/headless.
#ifndef SETUP_FRAMEWORK_HEADLESS_DIALOG_MANAGER_H
#define SETUP_FRAMEWORK_HEADLESS_DIALOG_MANAGER_H

#include <functional>
#include <optional>
#include <vector>

#include "framework/templates/dialog_template.h"
#include "framework/headless/headless.h"
#include "framework/winapi.h"

namespace fw::headless::detail {

// --- Dialogs (dialog.cpp) --------------------------------------------------------
// Creates a dialog from a parsed template, as CreateDialogIndirectParam
// does: window, font, controls, WM_INITDIALOG, focus, shown when the
// template says WS_VISIBLE (or `forceVisible`). nullptr when a control
// cannot be created.
HWND CreateDialogFromTemplate(const fw::DialogTemplate& dialogTemplate, HINSTANCE instance,
                              HWND parent, DLGPROC proc, LPARAM param, bool forceVisible);
// Parses a template held in caller memory of unknown length.
std::optional<fw::DialogTemplate> ParseTemplateAt(const void* bytes);
// Disables the owner of a modal run and enables it again when it ends.
class OwnerDisabler {
public:
    explicit OwnerDisabler(HWND owner);
    ~OwnerDisabler();
    void Release();
    OwnerDisabler(const OwnerDisabler&) = delete;
    OwnerDisabler& operator=(const OwnerDisabler&) = delete;

private:
    HWND m_owner = nullptr;
};
// The dialog's end state (EndDialog) and its result.
bool DialogEnded(HWND hwnd);
INT_PTR DialogResult(HWND hwnd);
// The window procedure of the "#32770" class.
LRESULT CALLBACK DefDlgProcImpl(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// --- Modal runs (modal.cpp) -------------------------------------------------------
struct ModalRuns {
    std::function<void(ModalWindow&)> hook;
    std::vector<ShellRequest> shellRequests;
};
ModalRuns& Modal();
// Hands a modal window to the hook; records an error when none is installed
// (then the caller ends the window with its cancel result).
bool RunModalHook(ModalWindow& modal);

}  // namespace fw::headless::detail

#endif
