// Loading DLLs from the Windows system folder only, never from the program's own folder.
#include "base/SystemLibrary_win32.h"

#include <string>

void RestrictDllSearchToSystem() {
    // looked up rather than imported: Windows 7 has it only with update KB2533623, and an import
    // that is missing would stop the program from starting at all
    using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
    const auto set = reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (set) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    HMODULE module = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || ::GetLastError() != ERROR_INVALID_PARAMETER) return module;
    // Windows 7 without KB2533623 does not know the flag: name the file in the system folder
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    return ::LoadLibraryExW((std::wstring(folder, length) + L'\\' + name).c_str(), nullptr,
                            LOAD_WITH_ALTERED_SEARCH_PATH);
}
