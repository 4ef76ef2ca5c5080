// A tick whose picture changed, as the main window runs it (picture, icon, shell update), on a
// tray icon of our own: a run of them leaves no objects behind and every update is taken.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "render/TrayClock_win32.h"
#include "support/GuiCounts_win32.h"

namespace {

constexpr UINT kTestIconId = 7;

class TestWindow {
  public:
    TestWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TockwenTrayTickTest";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"tick test", WS_POPUP, 0, 0, 1, 1,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~TestWindow() { DestroyWindow(window_); }
    HWND get() const { return window_; }

  private:
    HWND window_;
};

TEST(TrayTick, TicksWithShellUpdatesLeaveNothingBehind) {
    TestWindow window;
    ASSERT_TRUE(window.get());
    NOTIFYICONDATAA tray{};
    tray.cbSize = NOTIFYICONDATAA_V1_SIZE;
    tray.hWnd = window.get();
    tray.uID = kTestIconId;
    tray.uFlags = NIF_ICON;
    if (!Shell_NotifyIconA(NIM_ADD, &tray)) GTEST_SKIP() << "no notification area on this desktop";

    TrayClock trayClock;
    SettingsRecord settings = DefaultSettings();
    const auto tick = [&](int i) {
        const ClockTime now{(i / 3600) % 24, (i / 60) % 60, i % 60};
        trayClock.Draw(now, settings);
        tray.hIcon = trayClock.BuildIcon();
        return Shell_NotifyIconA(NIM_MODIFY, &tray) != FALSE;
    };
    ASSERT_TRUE(tick(0));
    const auto gdiAfterFirst = GdiObjectCount();

    // every tick waits for the desktop's taskbar to take the icon; what a tick costs is a figure
    // of scripts/measure-figures.sh
    constexpr int kTicks = 200;
    int failed = 0;
    for (int i = 1; i <= kTicks; ++i)
        failed += !tick(i);

    Shell_NotifyIconA(NIM_DELETE, &tray);
    EXPECT_EQ(failed, 0);
    if (gdiAfterFirst) EXPECT_EQ(GdiObjectCount(), gdiAfterFirst);
}

} // namespace
