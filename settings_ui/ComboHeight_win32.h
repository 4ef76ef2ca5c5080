// The closed height of a combo box, which the system otherwise takes from the font.
#pragma once

#include <windows.h>

// Sets the closed combo box's outer height to `height` pixels.
void FitComboHeight(HWND combo, int height);
