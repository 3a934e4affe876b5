#include "framework/windows/shell.h"

#include "framework/api.h"
#include "framework/windows/wnd.h"

namespace fw {

HINSTANCE ShellExecute(CWnd* pOwner, LPCSTR lpszVerb, LPCSTR lpszFile, LPCSTR lpszParameters,
                       LPCSTR lpszDirectory, INT nShowCmd) {
    return api::ShellExecute(pOwner != nullptr ? pOwner->m_hWnd : nullptr, lpszVerb, lpszFile,
                             lpszParameters, lpszDirectory, nShowCmd);
}

}  // namespace fw
