// Figures of the program for the record, not pass marks: start-up time, memory at rest, CPU
// share, what a redraw and a tick cost, and how often a real minute sends the shell an icon.
// Built with the tests and run by scripts/measure-figures.sh, never by the test command: timings
// depend on the machine. Every figure line starts with "[ figure   ]".
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <wtsapi32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>

#include "app/ClockCal_win32.h"
#include "base/Handles.h"
#include "base/LocalClock_win32.h"
#include "render/TrayClock_win32.h"
#include "support/Driver_win32.h"
#include "support/GuiCounts_win32.h"

using namespace driver;

namespace {

int Setting(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text && std::atoi(text) > 0 ? std::atoi(text) : fallback;
}

double MicrosSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

TEST(Figures, StartUpAndWorkingSet) {
    DeleteStoredSettings();
    double best = 1e9, total = 0;
    const int runs = 5;
    for (int i = 0; i < runs; ++i) {
        TockwenProcess app;
        LARGE_INTEGER frequency, start, now;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        ASSERT_TRUE(app.Start());
        QueryPerformanceCounter(&now);
        const double ms = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                          static_cast<double>(frequency.QuadPart);
        best = std::min(best, ms);
        total += ms;
        if (i + 1 < runs) continue;
        // at rest: a few seconds of redraws after start-up
        std::this_thread::sleep_for(3s);
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        ASSERT_TRUE(GetProcessMemoryInfo(app.Handle(), &counters, sizeof counters));
        std::printf("[ figure   ] working set at rest: %.1f MiB (peak %.1f MiB), private bytes %.1f MiB\n",
                    static_cast<double>(counters.WorkingSetSize) / 1048576.0,
                    static_cast<double>(counters.PeakWorkingSetSize) / 1048576.0,
                    static_cast<double>(counters.PagefileUsage) / 1048576.0);
        testing::Test::RecordProperty("working_set_kib", static_cast<int>(counters.WorkingSetSize / 1024));
    }
    std::printf("[ figure   ] start-up to tray icon and idle: best %.0f ms, mean %.0f ms over %d runs\n",
                best, total / runs, runs);
    testing::Test::RecordProperty("startup_ms", static_cast<int>(best));
}

double Seconds(const FILETIME& time) {
    ULARGE_INTEGER v{};
    v.LowPart = time.dwLowDateTime;
    v.HighPart = time.dwHighDateTime;
    return static_cast<double>(v.QuadPart) / 1e7;
}

// A Unix file read through Wine's Z: drive (the whole file system); empty when unreadable.
std::string ReadUnixFile(std::string path) {
    for (char& ch : path)
        if (ch == '/') ch = '\\';
    HANDLE file = CreateFileA(("Z:" + path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    unique_handle owner(file);
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    return text;
}

// Under Wine every Windows process is a Unix process named after its exe, and GetProcessTimes
// answers 0 for processes other than the caller; /proc knows. The program is picked out by its
// name and by the Wine prefix it runs in, which is this test's own.
std::string UnixStatPathOfTockwen() {
    char prefix[1024];
    const DWORD length = GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    if (!length || length >= sizeof prefix) return {};
    const std::string wanted = std::string("WINEPREFIX=") + prefix + '\0';
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE) return {};
    std::string found;
    do {
        const std::string name = entry.cFileName;
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        if (ReadUnixFile("/proc/" + name + "/comm") != "Tockwen.exe\n") continue;
        if (ReadUnixFile("/proc/" + name + "/environ").find(wanted) == std::string::npos) continue;
        found = "/proc/" + name + "/stat";
    } while (found.empty() && FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

// User + system time from /proc/N/stat, fields 14 and 15, in clock ticks of 1/100 s.
double UnixCpuSeconds(const std::string& statPath) {
    const std::string stat = ReadUnixFile(statPath);
    const auto close = stat.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    double ticks = 0;
    for (int index = 3; index <= 15 && fields >> field; ++index)
        if (index >= 14) ticks += std::atof(field.c_str());
    return ticks / 100;
}

double ProcessCpuSeconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    return Seconds(kernel) + Seconds(user);
}

// How much of one core the running clock takes, over TOCKWEN_CPU_SECONDS (default 60).
TEST(Figures, CpuShareOfTheRunningProgram) {
    const int seconds = Setting("TOCKWEN_CPU_SECONDS", 60);
    DeleteStoredSettings();
    TockwenProcess app;
    ASSERT_TRUE(app.Start());
    std::this_thread::sleep_for(std::chrono::seconds(2)); // past start-up

    const std::string statPath = UnixStatPathOfTockwen();
    const auto cpu = [&] {
        return statPath.empty() ? ProcessCpuSeconds(app.Handle()) : UnixCpuSeconds(statPath);
    };
    const double cpu0 = cpu();
    ASSERT_GE(cpu0, 0);
    const auto wall0 = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double cpu1 = cpu();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    EXPECT_TRUE(app.Running());
    std::printf("[ figure   ] Tockwen.exe used %.2f s of CPU in %.1f s: %.2f %% of one core (from %s)\n",
                cpu1 - cpu0, wall, 100 * (cpu1 - cpu0) / wall,
                statPath.empty() ? "GetProcessTimes" : statPath.c_str());
}

TEST(Figures, RedrawCost) {
    TrayClock tray;
    SettingsRecord settings = DefaultSettings();
    tray.Draw({0, 0, 0}, settings);
    tray.BuildIcon();
    const int redraws = Setting("TOCKWEN_REDRAWS", 10000);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < redraws; ++i) {
        settings.ClockShape = (i / 600) % 2 != 0;
        tray.Draw({(i / 3600) % 24, (i / 60) % 60, i % 60}, settings);
        tray.BuildIcon();
    }
    std::printf("[ figure   ] TrayClock draw and icon build: %.1f us per call over %d calls\n",
                MicrosSince(start) / redraws, redraws);
}

// A tick whose picture changed, as the main window runs it: picture, icon and shell update.
TEST(Figures, TickCost) {
    // timed on a tray icon of a window of our own
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TockwenFiguresTick";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"tick", WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    NOTIFYICONDATAA tray{};
    tray.cbSize = NOTIFYICONDATAA_V1_SIZE;
    tray.hWnd = window;
    tray.uID = 7;
    tray.uFlags = NIF_ICON;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &tray)) << "no notification area on this desktop";
    TrayClock trayClock;
    const SettingsRecord settings = DefaultSettings();
    const int ticks = Setting("TOCKWEN_TICKS", 10000);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 1; i <= ticks; ++i) {
        trayClock.Draw({(i / 3600) % 24, (i / 60) % 60, i % 60}, settings);
        tray.hIcon = trayClock.BuildIcon();
        Shell_NotifyIconA(NIM_MODIFY, &tray);
    }
    const double micros = MicrosSince(start);
    std::printf("[ figure   ] redraw + NIM_MODIFY: %.1f us per tick over %d ticks (%.3f %% of a second)\n",
                micros / ticks, ticks, micros / ticks / 10000);
    Shell_NotifyIconA(NIM_DELETE, &tray);
    DestroyWindow(window);
}

int sends = 0;
BOOL WINAPI CountingNotifyIcon(DWORD message, NOTIFYICONDATAW* record) {
    sends += message == NIM_MODIFY;
    return Shell_NotifyIconW(message, record);
}

// The main window on the real clock for a minute seen, then one locked: how often it wakes
// (WM_TIMER messages handled) and sends the shell a new icon, and how many ms after its second's
// start each wake reads the clock (below 0: before it).
TEST(Figures, IconSendsInARealMinute) {
    DeleteStoredSettings();
    const SettingsRecord saved = Settings;
    ClockCal clock(&CountingNotifyIcon, &ReadLocalClock, &QueryNotificationState);
    ASSERT_TRUE(clock.Create(GetModuleHandleW(nullptr)));
    for (const bool locked : {false, true}) { // the settings as stored at first
        if (locked) PostMessageW(clock.window(), WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 1);
        const int first = sends;
        int wakes = 0, soonest = 500, latest = -500;
        for (const DWORD start = GetTickCount(); GetTickCount() - start < 60000;) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); DispatchMessageW(&msg)) {
                if (msg.message != WM_TIMER || msg.hwnd != clock.window()) continue;
                const int ms = (ReadLocalClock().millisecond + 500) % 1000 - 500;
                ++wakes, soonest = std::min(soonest, ms), latest = std::max(latest, ms);
            }
        }
        std::printf(
            "[ figure   ] a real minute %s: %d wakes, %d NIM_MODIFY; wakes %d to %d ms into their second\n",
            locked ? "locked" : "seen", wakes, sends - first, wakes ? soonest : 0, wakes ? latest : 0);
    }
    SendMessageW(clock.window(), WM_CLOSE, 0, 0);
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
    }
    DeleteStoredSettings();
    Settings = saved;
}

} // namespace
