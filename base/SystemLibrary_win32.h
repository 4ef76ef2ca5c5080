// Loading DLLs from the Windows system folder only, never from the program's own folder.
#pragma once

#include <windows.h>

#include "base/Handles.h"

// From here on every DLL this process loads by name (its own calls and the system's on its
// behalf) is looked for in the system folder only, so that a DLL dropped beside the program
// (in Downloads, say) is never picked up. The first thing the program does.
void RestrictDllSearchToSystem();

// `name` (such as L"winmm.dll") from the system folder only; empty when it is not there.
unique_hmodule LoadSystemLibrary(const wchar_t* name);

// The function `name` of `module` as the pointer type Function, or null when the module or the
// function is not there. For functions that only some Windows versions have: imported, a missing
// one would keep the program from starting at all.
template <typename Function> Function SystemFunction(HMODULE module, const char* name) {
    if (!module) return nullptr;
    // through the generic function pointer type, which converts to any other without a warning
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}
// The same from a system DLL every process has loaded (kernel32.dll, user32.dll).
template <typename Function> Function SystemFunction(const wchar_t* loadedDll, const char* name) {
    return SystemFunction<Function>(::GetModuleHandleW(loadedDll), name);
}
