// Loading DLLs from the Windows system folder only, never from the program's own folder.
#pragma once

#include <windows.h>

// From here on every DLL this process loads by name (its own calls and the system's on its
// behalf) is looked for in the system folder only, so that a DLL dropped beside the program
// (in Downloads, say) is never picked up. The first thing the program does.
void RestrictDllSearchToSystem();

// `name` (such as L"winmm.dll") from the system folder only; null when it is not there.
HMODULE LoadSystemLibrary(const wchar_t* name);
