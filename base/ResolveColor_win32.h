// System colours (0x800000nn) turned into their current RGB value for the renderer.
#pragma once

#include "base/Color.h"

// Plain values come back as they are; a value the platform cannot translate gives black.
ColorValue ResolveColorWin32(ColorValue colour);
