// The tray icon's popup menu, made for the clock's state each time it opens, and the two boxes it
// leads to: the information box and the exit question.
#pragma once

#include <windows.h>

struct TrayMenuState {
    bool timerRunning = false; // "타이머 취소" in place of "타이머..."
    bool alarmRinging = false; // "알람 끄기" first, and the default
};

// Shows the menu at `at` (screen pixels) for `owner`, to the side the system's menus drop to, and
// returns the command chosen; 0 when the menu was left.
UINT ShowTrayMenu(HWND owner, POINT at, const TrayMenuState& state);

// 도움말: the information box.
void ShowAbout(HWND owner);
// 종료: true when the user answers Yes to "정말 종료하시겠습니까?".
bool ConfirmExit(HWND owner);
