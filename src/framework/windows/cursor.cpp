#include "framework/windows/cursor.h"

#include "framework/api.h"

namespace fw {

HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) {
    return api::LoadCursor(nullptr, lpszCursorName);
}

HCURSOR SetCursor(HCURSOR hCursor) {
    return api::SetCursor(hCursor);
}

}  // namespace fw
