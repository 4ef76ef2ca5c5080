// Timer ids, menu command ids and private message numbers of the main window.
#pragma once

#include <windows.h>

#include "app/Version.h"

inline constexpr UINT_PTR kTimer1Id = 1; // beep pacing, 750 ms, while a beep sequence runs
// the one wake: redraw, announcement poll and hour's beep check, set anew at each wake for the
// next one (a one-shot in effect), or killed when nothing is due
inline constexpr UINT_PTR kWakeId = 3;
inline constexpr UINT kTimer1Interval = 750;
// the wake's interval in place of one the system could not set: once a second, until it can
inline constexpr UINT kWakeRetryMs = 1000;

// The shell reports mouse activity on the tray icon as the window's own WM_MOUSEMOVE. It stays
// 0x0200: tools outside the program post it to the window to open the menu or say the time.
inline constexpr UINT kTrayCallbackMessage = 0x0200;
inline constexpr UINT kTrayIconId = 1;
// RegisterHotKey's id for the user's "지금 시각 듣기" key
inline constexpr int kSpeakHotKeyId = 1;

inline constexpr UINT kCmdSpeakNow = 100;  // 지금 시각 듣기, the default item
inline constexpr UINT kCmdSetting = 101;   // mnuSetting
inline constexpr UINT kCmdAbout = 102;     // mnuabout
inline constexpr UINT kCmdExit = 103;      // mnuexit
inline constexpr UINT kCmdTimer = 104;     // 타이머..., or 타이머 취소 while the timer runs
inline constexpr UINT kCmdAlarm = 105;     // 알람...
inline constexpr UINT kCmdStopAlarm = 106; // 알람 끄기, first and the default while the alarm rings

inline constexpr wchar_t kMainWindowClass[] = L"TockwenClockCal";
inline constexpr wchar_t kMainWindowCaption[] = L"Tockwen " TOCKWEN_VERSION_TEXT;

// The first start of a user in a session holds this mutex, named with the user's SID after a
// "-", for its whole life; a later start finds it taken and leaves the running clock in charge.
inline constexpr wchar_t kOneClockMutex[] = L"Local\\TockwenClockCal";
// Name of the registered message a second start posts to the running main window: open the
// settings dialog, as the tray menu's 환경설정 does.
inline constexpr wchar_t kShowSettingsMessage[] = L"TockwenShowSettings";
// Name of the registered message that closes the clock from outside (the installer and the
// uninstaller): it ends as Exit answered Yes does, with no question asked.
inline constexpr wchar_t kQuitMessage[] = L"TockwenQuit";
