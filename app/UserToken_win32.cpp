// The account the program runs as: its token, its elevation and its SID.
#include "app/UserToken_win32.h"

#include <sddl.h>
#include <wtsapi32.h>

#include <vector>

#include "app/AppIds.h"
#include "base/SystemLibrary_win32.h"

namespace {

std::wstring SidText(PSID sid) {
    wchar_t* text = nullptr;
    if (!sid || !::ConvertSidToStringSidW(sid, &text)) return {};
    std::wstring sidText(text);
    ::LocalFree(text);
    return sidText;
}

using EnumerateProcessesProc = BOOL(WINAPI*)(HANDLE, DWORD, DWORD, WTS_PROCESS_INFOW**, DWORD*);
using FreeMemoryProc = void(WINAPI*)(void*);

// The user SID the Remote Desktop Services list gives for `processId`; empty where it gives none.
std::wstring ListedUserSidText(DWORD processId) {
    // loaded from the system folder by name, as the session notifications load it
    const unique_hmodule wtsapi = LoadSystemLibrary(L"wtsapi32.dll");
    const auto enumerate = SystemFunction<EnumerateProcessesProc>(wtsapi.get(), "WTSEnumerateProcessesW");
    const auto freeMemory = SystemFunction<FreeMemoryProc>(wtsapi.get(), "WTSFreeMemory");
    WTS_PROCESS_INFOW* processes = nullptr;
    DWORD count = 0;
    if (!enumerate || !freeMemory || !enumerate(WTS_CURRENT_SERVER_HANDLE, 0, 1, &processes, &count))
        return {};
    std::wstring sid;
    for (DWORD i = 0; i < count; ++i)
        if (processes[i].ProcessId == processId) sid = SidText(processes[i].pUserSid);
    freeMemory(processes);
    return sid;
}

} // namespace

unique_handle OpenOwnToken() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return unique_handle();
    return unique_handle(token);
}

bool IsElevated(HANDLE token) {
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return token && ::GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

std::wstring UserSidText(HANDLE token) {
    DWORD size = 0;
    if (!token) return {};
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    if (size == 0) return {};
    // TOKEN_USER holds a pointer into its own buffer: a buffer of 8-byte units keeps it aligned
    std::vector<ULONGLONG> buffer((size + sizeof(ULONGLONG) - 1) / sizeof(ULONGLONG));
    if (!::GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return {};
    return SidText(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
}

std::wstring OneClockMutexName(HANDLE token) {
    const std::wstring sid = UserSidText(token);
    // with no SID to be had, one clock per session is still better than none
    return sid.empty() ? std::wstring(kOneClockMutex) : std::wstring(kOneClockMutex) + L"-" + sid;
}

HWND FindUsersWindow(const wchar_t* windowClass, std::wstring_view sid) {
    if (sid.empty()) return nullptr;
    for (HWND window = nullptr;
         (window = ::FindWindowExW(nullptr, window, windowClass, nullptr)) != nullptr;) {
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        if (ProcessUserSidText(processId) == sid) return window;
    }
    return nullptr;
}

std::wstring ProcessUserSidText(DWORD processId) {
    // An elevated process's token is guarded by its own access list, which need not let in the
    // same user's processes that are not elevated: the list of processes is asked first.
    if (std::wstring sid = ListedUserSidText(processId); !sid.empty()) return sid;
    const unique_handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    unique_handle token;
    if (!process || !::OpenProcessToken(process.get(), TOKEN_QUERY, token.put())) return {};
    return UserSidText(token.get());
}

int LetThroughFromBelow(HWND window, std::span<const UINT> messages, HANDLE token) {
    if (!IsElevated(token)) return 0;
    int opened = 0;
    for (UINT message : messages)
        if (message != 0 && ::ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr)) ++opened;
    return opened;
}
