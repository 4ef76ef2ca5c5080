// The real main window on a clock the test sets: the shell hears of the icon only when its
// picture changes and at once after a colour change, and the hour's beeps run on Timer1.
#include "app/ClockCal_win32.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/AppIds.h"
#include "render/ClockFace.h"
#include "support/Driver_win32.h"
#include "tests/announce/SoundTestUtil_win32.h"

namespace {

int modifies = 0;
ClockTime now{};

BOOL WINAPI CountingNotifyIcon(DWORD message, NOTIFYICONDATAA* record) {
    modifies += message == NIM_MODIFY;
    return Shell_NotifyIconA(message, record);
}

ClockTime TestClock() {
    return now;
}

int SecondOfDay(const ClockTime& t) {
    return (t.hour * 60 + t.minute) * 60 + t.second;
}

// The sends to expect while the clock goes from `from` to `to`: one per changed picture. Two
// seconds can draw the same pixels (the second hand's end rounds to the same point).
int PictureChanges(const ClockTime& from, const ClockTime& to, const SettingsRecord& settings) {
    int changes = 0;
    Picture previous, face;
    for (int s = SecondOfDay(from); s <= SecondOfDay(to); ++s, previous = face) {
        DrawClockFace(face, {s / 3600 % 24, s / 60 % 60, s % 60}, settings);
        changes += s > SecondOfDay(from) && face != previous;
    }
    return changes;
}

class ClockCalTest : public testing::Test {
  protected:
    void SetUp() override {
        driver::DeleteStoredSettings();
        saved_ = Settings;
        modifies = 0;
    }
    void TearDown() override {
        if (clock_.window()) SendMessageW(clock_.window(), WM_CLOSE, 0, 0);
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) { // the window's WM_QUIT
        }
        driver::DeleteStoredSettings();
        Settings = saved_;
    }

    // Simulated time: ten Ticker and Timer2 ticks per second, handled as the message loop would.
    void RunSeconds(int seconds) {
        for (int s = 0; s < seconds; ++s) {
            const int next = SecondOfDay(now) + 1;
            now = {next / 3600 % 24, next / 60 % 60, next % 60};
            for (int tick = 0; tick < 10; ++tick) {
                SendMessageW(clock_.window(), WM_TIMER, kTickerId, 0);
                SendMessageW(clock_.window(), WM_TIMER, kTimer2Id, 0);
            }
        }
    }

    SettingsRecord saved_;
    ClockCal clock_{&CountingNotifyIcon, &TestClock};
};

TEST_F(ClockCalTest, OneModifyPerChangedPicture) {
    now = {10, 7, 0};
    ASSERT_TRUE(clock_.Create(GetModuleHandleW(nullptr)));
    EXPECT_EQ(modifies, 1) << "the first frame, a black square, goes out at once";
    Settings = DefaultSettings();
    Settings.Alarm = 0; // no announcement may hold the thread

    // a minute: half of it with fixed colours, a colour change, then the rest with the new colours
    RunSeconds(1);
    int sent = modifies;
    ClockTime from = now;
    RunSeconds(30);
    EXPECT_EQ(modifies - sent, PictureChanges(from, now, Settings));
    sent = modifies;
    Settings.BGColor ^= 0x00FFFFFF;
    SendMessageW(clock_.window(), WM_TIMER, kTickerId, 0);
    EXPECT_EQ(modifies - sent, 1) << "the changed colour goes out at the next tick";
    sent = modifies;
    from = now;
    RunSeconds(29);
    EXPECT_EQ(modifies - sent, PictureChanges(from, now, Settings));
}

// The redraw at 14:00:00 arms two beeps: Timer1 runs at its own pace, ticks twice for the beeps
// and once more to stop itself.
TEST_F(ClockCalTest, HourBeepsRunOnTimer1ThenItStops) {
    now = {13, 59, 59};
    ASSERT_TRUE(clock_.Create(GetModuleHandleW(nullptr)));
    Settings = DefaultSettings();
    Settings.Alarm = 0;
    Settings.Beep = true;
    RunSeconds(1);
    std::vector<double> ticks;
    const double start = SecondsNow();
    while (ticks.size() < 3 && SecondsNow() - start < 4) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
            if (msg.message == WM_TIMER && msg.hwnd == clock_.window() && msg.wParam == kTimer1Id)
                ticks.push_back(SecondsNow() - start);
            DispatchMessageW(&msg);
        }
    }
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_GT(ticks[0], 0.7);
    EXPECT_GT(ticks[1] - ticks[0], 0.7);
    EXPECT_GT(ticks[2] - ticks[1], 0.7);
    EXPECT_FALSE(KillTimer(clock_.window(), kTimer1Id)) << "Timer1 still runs after the hour's beeps";
}

} // namespace
