// The account the program runs as: its token, its elevation and its SID.
#include "app/UserToken_win32.h"

#include <sddl.h>

#include <vector>

#include "app/AppIds.h"

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
    wchar_t* text = nullptr;
    if (!::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) return {};
    std::wstring sid(text);
    ::LocalFree(text);
    return sid;
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
        // an elevated clock's process can be queried from below; another account's, as a rule, not
        const unique_handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
        unique_handle token;
        if (process && ::OpenProcessToken(process.get(), TOKEN_QUERY, token.put()) &&
            UserSidText(token.get()) == sid)
            return window;
    }
    return nullptr;
}

int LetThroughFromBelow(HWND window, std::span<const UINT> messages, HANDLE token) {
    if (!IsElevated(token)) return 0;
    int opened = 0;
    for (UINT message : messages)
        if (message != 0 && ::ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr)) ++opened;
    return opened;
}
