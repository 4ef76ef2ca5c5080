// System colours resolved through OLE, the same translation the colour settings were chosen with.
#include "base/ResolveColor_win32.h"

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

ColorValue ResolveColorWin32(ColorValue colour) {
    // plain colours translate to themselves; skipping the call keeps the per-line cost down
    if ((colour & 0xFF000000u) == 0) return colour;
    COLORREF out = 0;
    if (FAILED(OleTranslateColor(colour, nullptr, &out))) return 0;
    return out;
}
