// What the program needs to know of the account it runs as: whether it runs elevated, and who
// the user is.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>

#include "base/Handles.h"

// This process's access token, for queries; null when it cannot be opened.
unique_handle OpenOwnToken();

// Whether `token` is elevated (an administrator's full token, with UAC on).
bool IsElevated(HANDLE token);

// The text form of the user's SID ("S-1-5-21-..."), or empty text when it cannot be read.
std::wstring UserSidText(HANDLE token);

// The name of the mutex that keeps one clock per user and session. The user's SID is part of it:
// another account in the same session (Run as, fast user switching in one session) has a clock,
// or a program holding the name, of its own.
std::wstring OneClockMutexName(HANDLE token);

// The text form of the user SID of process `processId`, or empty text when it cannot be learnt.
// The Remote Desktop Services list of processes says it for every process, elevated ones too,
// whose token a process that is not elevated may not open; where that list gives no SID (Wine),
// the process's token is asked.
std::wstring ProcessUserSidText(DWORD processId);

// The first top-level window of class `windowClass` whose process runs as the user whose SID text
// is `sid` (UserSidText): a second start, like the installer, must reach its own user's clock and
// never another account's in the same session (Run as). None when there is none, or no SID.
HWND FindUsersWindow(const wchar_t* windowClass, std::wstring_view sid);

// Lets `messages` reach `window` from programs of lower integrity, as far as a window of a program
// run as `token` needs it: only an elevated program has them filtered out, so only then is the
// filter opened. Returns how many were let through.
int LetThroughFromBelow(HWND window, std::span<const UINT> messages, HANDLE token);
