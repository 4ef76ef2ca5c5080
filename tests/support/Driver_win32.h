// Drives the real Tockwen.exe from a test process the way a person would: tray clicks, menu
// keys, message-box buttons; and reads what it leaves behind (registry, tray, screen).
#pragma once

#include <windows.h>

#include "base/ClockTime.h"
#include "render/Picture.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace driver {

using namespace std::chrono_literals;

// Polls `done` every 20 ms until it holds or `timeout` passes; returns its last answer.
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5000ms,
             std::chrono::milliseconds poll = 20ms);

// Tockwen.exe beside the running test executable.
std::wstring TockwenExePath();

// Top-level windows of a process with the given class (and title, when not null).
std::vector<HWND> FindWindows(DWORD processId, const wchar_t* className, const wchar_t* title = nullptr);
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);

class TockwenProcess {
  public:
    TockwenProcess() = default;
    TockwenProcess(const TockwenProcess&) = delete;
    TockwenProcess& operator=(const TockwenProcess&) = delete;
    ~TockwenProcess(); // kills the process if it still runs

    // Starts Tockwen.exe and waits until its start-up is over: main window, tray icon, idle.
    // `unixEnvironment` ("TZ=... VAR=..."), when given, is set on the Unix side (see Launch).
    bool Start(const std::wstring& exe = TockwenExePath(), const std::wstring& unixEnvironment = {});
    // Starts Tockwen.exe (or another program, with `arguments`) and returns at once.
    bool Launch(const std::wstring& exe = TockwenExePath(), const std::wstring& arguments = {});
    HWND MainWindow() const { return main_; }
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    bool Running() const;
    bool WaitForExit(std::chrono::milliseconds timeout = 5000ms) const;
    DWORD ExitCode() const;
    void Kill();

    // The shell's tray callback in the fourth layout: anchor (700, 550) in wParam, event and id in lParam.
    void TrayMouse(UINT event) const;
    // The popup menu window (#32768) of the process, or null.
    HWND PopupMenu() const;
    // Right-button release on the icon, then choose item `index` (0-based) by keyboard.
    bool ChooseMenuItem(int index) const;
    // A message box or dialog (#32770) of the process with this title, waited for.
    HWND WaitForDialog(const wchar_t* title, std::chrono::milliseconds timeout = 5000ms) const;
    // Exit from the tray menu, answered Yes; true when the process then ended on its own.
    bool ExitYes() const;
    // Whether the shell still knows the icon (uID 1 of the main window).
    bool TrayIconPresent() const;

  private:
    bool LaunchThroughUnix(const std::wstring& exe, const std::wstring& unixEnvironment);

    PROCESS_INFORMATION info_{};
    HWND main_ = nullptr;
};

// Presses a dialog button (IDOK, IDYES, IDNO, IDCANCEL...) as a click would.
void ClickButton(HWND dialog, int id);
// The message text of a message box.
std::wstring MessageBoxText(HWND box);

// The Unix environment ("TZ=...") under which a program started now reads its local time as
// hour:minute, its seconds running with UTC's; `local` receives that local date and time.
std::wstring LocalTimeZone(int hour, int minute, ClockTime& local);

// Settings in HKEY_CURRENT_USER\Software\Tockwen\Setting.
void DeleteStoredSettings();
void StoreSetting(const wchar_t* key, const wchar_t* text);
struct StoredValue {
    DWORD type;
    std::wstring text;
    bool operator==(const StoredValue&) const = default;
};
void PrintTo(const StoredValue& value, std::ostream* os);
// Every value of the key, by name (empty when the key does not exist).
std::map<std::wstring, StoredValue> StoredSettings();
// The same for any key; a DWORD's text is its decimal number.
std::map<std::wstring, StoredValue> StoredValues(HKEY root, const wchar_t* key);

// The screen pixels (0x00BBGGRR) of a rectangle.
std::vector<std::uint32_t> CaptureScreen(RECT rect);
// The rectangle of the desktop's taskbar (Shell_TrayWnd), where the tray is.
RECT TaskbarRect();

// Where in `screen` (width x height pixels, as CaptureScreen gives them) `face` is shown, comparing
// only its opaque pixels (the taskbar shows through the others); none when it is not there.
struct Found {
    int x, y;
};
std::optional<Found> FindFace(const std::vector<std::uint32_t>& screen, int width, int height,
                              const Picture& face);

} // namespace driver
