// Whether anyone can see the tray clock: the system tells the main window when its session is
// locked or unlocked and when the display goes off, dims or comes on.
#pragma once

#include <windows.h>

#include <optional>

#include "base/Handles.h"

// The display's power settings: GUID_SESSION_DISPLAY_STATUS, the display of this session, which
// in a Remote Desktop session is not the console's (Windows 8 and later: 0 off, 1 on, 2 dimmed);
// GUID_CONSOLE_DISPLAY_STATE, the console's, with the same values; and GUID_MONITOR_POWER_ON, all
// Windows 7 has (0 off, 1 on).
inline constexpr GUID kSessionDisplayStatus = {
    0x2b84c20e, 0xad23, 0x4ddf, {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}};
inline constexpr GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
inline constexpr GUID kMonitorPowerOn = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};

// Asks the system to tell `window` of its session's lock and unlock (WM_WTSSESSION_CHANGE) and of
// the display's state (WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE) for as long as it is held.
class SeenNotifications {
  public:
    SeenNotifications() = default;
    SeenNotifications(const SeenNotifications&) = delete;
    SeenNotifications& operator=(const SeenNotifications&) = delete;
    ~SeenNotifications() { Unregister(); }

    void Register(HWND window);
    void Unregister();

  private:
    HWND window_ = nullptr; // registered for session changes
    unique_hmodule wtsapi_; // whose functions register and unregister them
    unique_hpowernotify display_;
};

// From a PBT_POWERSETTINGCHANGE: whether the display is on or dimmed, when that is what it tells.
std::optional<bool> DisplayOn(const POWERBROADCAST_SETTING& setting);

// Whether this session is locked now, as the clock starts (Windows may sign in by itself after an
// update and lock the session at once); unlocked where the system cannot say.
bool QuerySessionLocked();
