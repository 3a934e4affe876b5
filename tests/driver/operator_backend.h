// What the operator driver needs from each window system: how a modal window
// is noticed (a modal hook natively, a thread timer on Windows) and how a
// person's input reaches a control. Everything else (queries, selection,
// handler queues) is shared and goes through fw::api.
#ifndef SETUP_TESTS_DRIVER_OPERATOR_BACKEND_H
#define SETUP_TESTS_DRIVER_OPERATOR_BACKEND_H

#include "framework/winapi.h"

namespace driver_backend {

// Starts and stops noticing modal windows for Operator::Current().
void Arm();
void Disarm();

// A person's input. The driver has checked that the control is enabled and
// visible.
void Click(HWND control);
void TypeChar(HWND control, char c);  // '\b' is a backspace
void PressEnter(HWND topLevel);
void PressEscape(HWND topLevel);
void CloseBox(HWND topLevel);
void PickTab(HWND sheet, int index);
void Wait(unsigned ms);

bool CanReadPixels();
COLORREF Pixel(HWND window, int x, int y);

// Last resort for a window that a handler left open and that Escape and the
// close box did not end.
void ForceEnd(HWND window, bool isSheet);

// Between tests: natively every window, timer and record goes; on Windows
// the windows of a test are gone when its modal runs have ended.
void ResetWindowSystem();

// Problems the window system noticed on its own (a modal window with no
// operator at all...), reported as test failures.
void ReportErrors();

}  // namespace driver_backend

#endif
