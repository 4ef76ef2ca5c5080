// Loading DLLs from the Windows system folder only, never from the program's own folder.
#include "base/SystemLibrary_win32.h"

#include <string>

void RestrictDllSearchToSystem() {
    // Windows 7 has it only with update KB2533623
    const auto set = SystemFunction<BOOL(WINAPI*)(DWORD)>(L"kernel32.dll", "SetDefaultDllDirectories");
    if (set) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

unique_hmodule LoadSystemLibrary(const wchar_t* name) {
    unique_hmodule module(::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (module || ::GetLastError() != ERROR_INVALID_PARAMETER) return module;
    // Windows 7 without KB2533623 does not know the flag: name the file in the system folder
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return unique_hmodule(::LoadLibraryExW((std::wstring(folder, length) + L'\\' + name).c_str(), nullptr,
                                           LOAD_WITH_ALTERED_SEARCH_PATH));
}
