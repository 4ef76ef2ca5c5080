// The announcer on a real window: Timer1's beep sequence, and how long an announcement blocks.
#include "announce/Announcer_win32.h"
#include "app/AppIds.h"
#include "app/Settings.h"
#include "tests/announce/SoundTestUtil_win32.h"

#include <gtest/gtest.h>

namespace {

class AnnouncerTest : public testing::Test {
  protected:
    void SetUp() override {
        saved_ = Settings;
        window_ =
            ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_TRUE(window_);
    }
    void TearDown() override {
        ::DestroyWindow(window_);
        Settings = saved_;
    }

    // Serves the window's messages for `seconds`, handing Timer1 ticks to the announcer; the
    // times of the ticks, from the start.
    std::vector<double> PumpBeepTicks(Announcer& announcer, double seconds) {
        std::vector<double> ticks;
        const double start = SecondsNow();
        while (SecondsNow() - start < seconds) {
            MSG msg;
            while (::PeekMessageW(&msg, window_, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_TIMER && msg.wParam == kTimer1Id) {
                    ticks.push_back(SecondsNow() - start);
                    announcer.OnBeepTick();
                }
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return ticks;
    }

    HWND window_ = nullptr;
    SettingsRecord saved_;
};

TEST_F(AnnouncerTest, HourBeepCheckRunsTimer1ForTheHourThenStopsIt) {
    Settings.Alarm = 0;
    Settings.Beep = true;
    Announcer announcer(window_);
    announcer.HourBeepCheck({14, 0, 0});
    announcer.HourBeepCheck({14, 0, 0}); // a later redraw of the same second
    const std::vector<double> ticks = PumpBeepTicks(announcer, 3.6);
    // two beeps, then the tick that stops the timer, then no more
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_GT(ticks[0], 0.7);
    EXPECT_GT(ticks[1] - ticks[0], 0.7);
    EXPECT_EQ(announcer.State().Beeps().BeepCount(), 2);
    EXPECT_EQ(announcer.State().Beeps().BeepTarget(), 2);
}

TEST_F(AnnouncerTest, NoTimerWhenTheBeepsAreOff) {
    Announcer announcer(window_);
    for (const auto& [alarm, beep] : {std::pair{0, false}, {-1, true}, {1, true}}) {
        Settings.Alarm = alarm;
        Settings.Beep = beep;
        announcer.HourBeepCheck({14, 0, 0});
    }
    EXPECT_TRUE(PumpBeepTicks(announcer, 1.0).empty());
}

TEST_F(AnnouncerTest, SpokenHourArmsTheBeepsAfterTheClips) {
    Settings.Alarm = 4;
    Settings.Beep = true;
    Announcer announcer(window_);
    announcer.Poll({13, 0, 1});
    announcer.Poll({13, 0, 1}); // the same mark again: nothing more, not even with no sound device
    const std::vector<double> ticks = PumpBeepTicks(announcer, 2.2);
    ASSERT_EQ(ticks.size(), 2u);
    EXPECT_EQ(announcer.State().Beeps().BeepCount(), 1);
}

// How long the thread is blocked by the shortest and the longest announcement.
TEST_F(AnnouncerTest, AnnouncementBlocksForItsThreeClips) {
    if (!HaveSoundDevice()) GTEST_SKIP() << "no sound device (no PulseAudio null sink in this environment)";
    Settings.Alarm = 1;
    Settings.Beep = false;
    Announcer announcer(window_);
    double shortest = 1e9, longest = 0;
    ClockTime shortestAt, longestAt;
    for (int hour = 0; hour < 24; ++hour)
        for (int minute = 0; minute < 60; minute += 10) {
            double seconds = 0;
            for (int clip : DecideAnnouncement(hour, minute, 1, false).clips)
                seconds += ClipWave(clip)->Seconds();
            if (seconds < shortest) shortest = seconds, shortestAt = {hour, minute, 1};
            if (seconds > longest) longest = seconds, longestAt = {hour, minute, 1};
        }
    for (const auto& [at, length] : {std::pair{shortestAt, shortest}, {longestAt, longest}}) {
        const double start = SecondsNow();
        announcer.Poll(at);
        const double blocked = SecondsNow() - start;
        std::printf("%02d:%02d:01 announcement of %.4f s blocked the thread %.4f s\n", at.hour, at.minute,
                    length, blocked);
        EXPECT_GT(blocked, length - 0.02);
        EXPECT_LT(blocked, length + 0.5);
    }
}

} // namespace
