#include "framework/gdi/syscolor.h"

#include "framework/api.h"

namespace fw {

COLORREF GetSysColor(int nIndex) {
    return static_cast<COLORREF>(api::GetSysColor(nIndex));
}

HBRUSH GetSysColorBrush(int nIndex) {
    return api::GetSysColorBrush(nIndex);
}

}  // namespace fw
