// The real main window over a minute of real ticks: the shell hears of the icon only when its
// picture changes, and at once after a colour change.
#include "app/ClockCal_win32.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "app/LocalClock_win32.h"
#include "render/ClockFace.h"
#include "support/Driver_win32.h"

namespace {

int modifies = 0;

BOOL WINAPI CountingNotifyIcon(DWORD message, NOTIFYICONDATAA* record) {
    modifies += message == NIM_MODIFY;
    return Shell_NotifyIconA(message, record);
}

// Serves this thread's messages, the clock's timers among them, for `ms` of real time.
void Pump(DWORD ms) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&msg);
    }
}

// The sends to expect while the clock goes from `from` to `to`: one per changed picture. Two
// seconds can draw the same pixels (the second hand's end rounds to the same point).
int PictureChanges(const ClockTime& from, const ClockTime& to, const SettingsRecord& settings) {
    const auto ofDay = [](const ClockTime& t) { return (t.hour * 60 + t.minute) * 60 + t.second; };
    const int last = ofDay(to) + (ofDay(to) < ofDay(from) ? 86400 : 0);
    int changes = 0;
    Picture previous, face;
    for (int s = ofDay(from); s <= last; ++s, previous = face) {
        DrawClockFace(face, {s / 3600 % 24, s / 60 % 60, s % 60}, settings);
        changes += s > ofDay(from) && face != previous;
    }
    return changes;
}

TEST(ClockCalTray, OneModifyPerChangedPicture) {
    driver::DeleteStoredSettings();
    const SettingsRecord saved = Settings;
    ClockCal clock(&CountingNotifyIcon);
    ASSERT_TRUE(clock.Create(GetModuleHandleW(nullptr)));
    EXPECT_EQ(modifies, 1) << "the first frame, a black square, goes out at once";
    Settings = DefaultSettings();
    Settings.Alarm = 0; // no announcement may hold the thread
    Pump(300);

    // half a minute with fixed colours, a colour change just after a new second went out, then
    // the rest of the minute with the new colours
    const int minuteStart = modifies;
    int sent = modifies;
    ClockTime from = ReadLocalClock();
    Pump(30000);
    EXPECT_NEAR(modifies - sent, PictureChanges(from, ReadLocalClock(), Settings), 1);
    sent = modifies;
    for (int waited = 0; modifies == sent && waited < 5000; waited += 10)
        Pump(10);
    Pump(300);
    sent = modifies;
    Settings.BGColor ^= 0x00FFFFFF;
    Pump(400);
    EXPECT_EQ(modifies - sent, 1) << "the changed colour goes out at the next tick";
    sent = modifies;
    from = ReadLocalClock();
    Pump(29000);
    EXPECT_NEAR(modifies - sent, PictureChanges(from, ReadLocalClock(), Settings), 1);
    std::printf("[ figure   ] NIM_MODIFY sent over one minute of ticks: %d\n", modifies - minuteStart);

    SendMessageW(clock.window(), WM_CLOSE, 0, 0);
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) { // the window's WM_QUIT
    }
    driver::DeleteStoredSettings();
    Settings = saved;
}

} // namespace
