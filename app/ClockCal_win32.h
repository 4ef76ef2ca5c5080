// The hidden main window: owns the tray icon, the timers, the popup menu and the program's life.
#pragma once

#include <windows.h>

#include "announce/Announcer_win32.h"
#include "app/AppIds.h"
#include "app/TrayCallback.h"
#include "app/SeenNotifications_win32.h"
#include "app/TrayIcon_win32.h"
#include "base/Handles.h"
#include "base/ClockTime.h"
#include "base/Window_win32.h"
#include "render/TrayClock_win32.h"

// The one way it reads the time; a test sets the time through its own.
using ClockFunction = ClockTime (*)();
// The one way it asks whether Windows' high-contrast mode is on; a test gives either answer.
using HighContrastFunction = bool (*)();

// SystemParametersInfo(SPI_GETHIGHCONTRAST): true while high contrast is on.
bool QueryHighContrast();

class ClockCal : public Window<ClockCal> {
  public:
    // The program passes Shell_NotifyIconW, the local wall clock, QueryNotificationState and
    // QueryHighContrast.
    ClockCal(NotifyIconFunction notifyIcon, ClockFunction readClock,
             NotificationStateFunction notificationState,
             HighContrastFunction highContrast = &QueryHighContrast)
        : tray_(notifyIcon), readClock_(readClock), highContrast_(highContrast),
          announcer_(notificationState) {}

    // Creates the window and runs the start-up sequence; false when the window cannot be made.
    bool Create(HINSTANCE instance);

  private:
    friend class Window<ClockCal>;
    static constexpr const wchar_t* kClassName = kMainWindowClass;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void StartUp();
    void OnTimer(UINT_PTR id);
    void OnWake();
    void ScheduleWake();
    void SetSeen(bool locked, bool displayOn, bool disconnected);
    void OnSessionChange(WPARAM change);
    bool Seen() const { return !locked_ && displayOn_ && !disconnected_; }
    void StartBeepTimer();
    void OnTrayCallback(WPARAM wParam, LPARAM lParam);
    void ShowMenu(const TrayCallback& callback);
    // fromKeyboard: chosen from a menu the keyboard opened
    void OnCommand(UINT id, bool fromKeyboard = false);
    void Unload();
    // Writes the settings to the registry, once they have been read from it.
    void SaveToStore();

    void DrawClock(const ClockTime& now);
    void UpdateIconSize();
    void SpeakNow();
    bool ApplySpeakKey(std::int32_t hotKey);

    TrayIcon tray_;
    ClockFunction readClock_;
    HighContrastFunction highContrast_;
    HINSTANCE instance_ = nullptr;
    unsigned lastTrayEvent_ = 0;  // the callback's previous event: a right button's release or not
    bool highContrastOn_ = false; // the face is drawn in the system's colours
    TrayClock trayClock_;
    Announcer announcer_;
    UINT taskbarCreated_ = 0;
    UINT showSettings_ = 0; // a second start asks for the settings dialog
    UINT quit_ = 0;         // another program closes the clock
    SeenNotifications seenNotifications_;
    bool locked_ = false;       // the session is locked
    bool displayOn_ = true;     // the display is on or dimmed
    bool disconnected_ = false; // a Remote Desktop session with no client connected: no display at all
    bool settingsLoaded_ = false;
    std::int32_t speakKey_ = 0; // the hot key registered for "지금 시각 듣기"; 0 for none
    bool unloaded_ = false;
};
