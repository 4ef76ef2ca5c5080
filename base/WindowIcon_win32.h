// The program's icon on its windows' title bars and in the task switcher.
#pragma once

#include <windows.h>

// Gives `window` (and, when alsoTopOwner, the top of its owner chain) the large and small
// icons of the icon group `resourceName` of the program's own module.
void SetWindowIcon(HWND window, const wchar_t* resourceName, bool alsoTopOwner);
