// The hidden main window: owns the tray icon, the timers, the popup menu and the program's life.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "announce/Announcer_win32.h"
#include "app/AppIds.h"
#include "base/Handles.h"
#include "base/ClockTime.h"
#include "base/Window_win32.h"
#include "render/TrayClock_win32.h"

// The shell's original 88-byte tray record: everything the icon needs and no tooltip.
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88, "32-bit tray record is 88 bytes");

// The one way the main window talks to the notification area; a test records through its own.
using NotifyIconFunction = BOOL(WINAPI*)(DWORD message, NOTIFYICONDATAA* record);
// The one way it reads the time; a test sets the time through its own.
using ClockFunction = ClockTime (*)();

class ClockCal : public Window<ClockCal> {
  public:
    // The program passes Shell_NotifyIconA and the local wall clock.
    ClockCal(NotifyIconFunction notifyIcon, ClockFunction readClock)
        : notifyIcon_(notifyIcon), readClock_(readClock) {}

    // Creates the window and runs the start-up sequence; false when the window cannot be made.
    bool Create(HINSTANCE instance);

  private:
    friend class Window<ClockCal>;
    static constexpr const wchar_t* kClassName = kMainWindowClass;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void StartUp();
    void CreateMenu();
    void OnTimer(UINT_PTR id);
    void StartBeepTimer();
    void OnTrayCallback(UINT mouseMessage);
    void OnCommand(UINT id);
    void ShowAbout();
    void ConfirmExit();
    void Unload();

    void DrawClock();
    void UpdateIconSize();
    void AddTrayIcon();
    void ModifyTrayIcon();
    void DeleteTrayIcon();

    NotifyIconFunction notifyIcon_;
    ClockFunction readClock_;
    HINSTANCE instance_ = nullptr;
    NOTIFYICONDATAA tray_{};
    unique_hmenu menu_; // 메뉴: the holder of the popup items
    TrayClock trayClock_;
    Announcer announcer_;
    UINT taskbarCreated_ = 0;
    UINT showSettings_ = 0; // a second start asks for the settings dialog
    UINT quit_ = 0;         // another program closes the clock
    bool settingsLoaded_ = false;
    bool unloaded_ = false;
};
