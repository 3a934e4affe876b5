#include "framework/windows/toplevel.h"

#include "framework/api.h"

namespace fw {

BOOL PostToTopLevelWindow(LPCSTR lpszClassName, LPCSTR lpszWindowName, UINT message, WPARAM wParam,
                          LPARAM lParam) {
    HWND hWnd = api::FindWindow(lpszClassName, lpszWindowName);
    if (hWnd == nullptr) {
        return FALSE;
    }
    return api::PostMessage(hWnd, message, wParam, lParam);
}

}  // namespace fw
