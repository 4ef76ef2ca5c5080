// The hidden main window: owns the tray icon, the timers, the popup menu and the program's life.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "announce/Announcer_win32.h"
#include "app/AppIds.h"
#include "app/SeenNotifications_win32.h"
#include "base/Handles.h"
#include "base/ClockTime.h"
#include "base/Window_win32.h"
#include "render/TrayClock_win32.h"

// The tray record in its UTF-16 form, so that the Korean tooltip shows whatever the ANSI code
// page; the shell's first layout of it is all the icon needs (its tooltip holds 64 characters).
static_assert(NOTIFYICONDATAW_V1_SIZE == offsetof(NOTIFYICONDATAW, szTip) + 64 * sizeof(WCHAR));

// The one way the main window talks to the notification area; a test records through its own.
using NotifyIconFunction = BOOL(WINAPI*)(DWORD message, NOTIFYICONDATAW* record);
// The one way it reads the time; a test sets the time through its own.
using ClockFunction = ClockTime (*)();

class ClockCal : public Window<ClockCal> {
  public:
    // The program passes Shell_NotifyIconW, the local wall clock and QueryNotificationState.
    ClockCal(NotifyIconFunction notifyIcon, ClockFunction readClock,
             NotificationStateFunction notificationState)
        : notifyIcon_(notifyIcon), readClock_(readClock), announcer_(notificationState) {}

    // Creates the window and runs the start-up sequence; false when the window cannot be made.
    bool Create(HINSTANCE instance);

  private:
    friend class Window<ClockCal>;
    static constexpr const wchar_t* kClassName = kMainWindowClass;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void StartUp();
    void CreateMenu();
    void OnTimer(UINT_PTR id);
    void OnWake();
    void ScheduleWake();
    void SetSeen(bool locked, bool displayOn);
    bool Seen() const { return !locked_ && displayOn_; }
    void StartBeepTimer();
    void OnTrayCallback(UINT mouseMessage);
    void OnCommand(UINT id);
    void ShowAbout();
    void ConfirmExit();
    void Unload();
    // Writes the settings to the registry, once they have been read from it.
    void SaveToStore();

    void DrawClock(const ClockTime& now);
    bool UpdateTooltip(const ClockTime& now);
    void UpdateIconSize();
    void SpeakNow();
    bool ApplySpeakKey(std::int32_t hotKey);
    void AddTrayIcon();
    void ModifyTrayIcon();
    void DeleteTrayIcon();

    NotifyIconFunction notifyIcon_;
    ClockFunction readClock_;
    HINSTANCE instance_ = nullptr;
    NOTIFYICONDATAW tray_{};
    unique_hmenu menu_; // 메뉴: the holder of the popup items
    TrayClock trayClock_;
    Announcer announcer_;
    UINT taskbarCreated_ = 0;
    UINT showSettings_ = 0; // a second start asks for the settings dialog
    UINT quit_ = 0;         // another program closes the clock
    SeenNotifications seenNotifications_;
    int tipMinute_ = -1;    // the minute of the day the tooltip shows; -1 before the first
    bool locked_ = false;   // the session is locked
    bool displayOn_ = true; // the display is on or dimmed
    bool settingsLoaded_ = false;
    bool unloaded_ = false;
};
