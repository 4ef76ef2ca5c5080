// The hidden main window: owns the tray icon, the timers, the popup menu and the program's life.
#pragma once

#include <windows.h>

// Gives `window` (and, when alsoTopOwner, the top of its owner chain) the large and small
// icons of the icon group `resourceName` of the program's own module.
void SetWindowIcon(HWND window, const wchar_t* resourceName, bool alsoTopOwner);
