// The announcer on a real window: Timer1's beep sequence, and how long an announcement blocks.
#include "announce/Announcer_win32.h"
#include "app/AppIds.h"
#include "tests/announce/SoundTestUtil_win32.h"

#include <gtest/gtest.h>

namespace {

class AnnouncerTest : public testing::Test {
  protected:
    void SetUp() override {
        window_ =
            ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_TRUE(window_);
    }
    void TearDown() override { ::DestroyWindow(window_); }

    // What the main window does when the announcer armed the beeps: (re)start Timer1.
    void StartTimer1If(bool armed) {
        if (armed) ::SetTimer(window_, kTimer1Id, kTimer1Interval, nullptr);
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
                    if (announcer.OnBeepTick() == BeepSequence::Tick::StopTimer)
                        ::KillTimer(window_, kTimer1Id);
                }
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return ticks;
    }

    HWND window_ = nullptr;
};

TEST_F(AnnouncerTest, HourBeepCheckRunsTimer1ForTheHourThenStopsIt) {
    Announcer announcer;
    StartTimer1If(announcer.HourBeepCheck({14, 0, 0}, 0, true));
    StartTimer1If(announcer.HourBeepCheck({14, 0, 0}, 0, true)); // a later redraw of the same second
    const std::vector<double> ticks = PumpBeepTicks(announcer, 3.6);
    // two beeps, then the tick that stops the timer, then no more
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_GT(ticks[0], 0.7);
    EXPECT_GT(ticks[1] - ticks[0], 0.7);
    EXPECT_EQ(announcer.State().Beeps().BeepCount(), 2);
    EXPECT_EQ(announcer.State().Beeps().BeepTarget(), 2);
}

TEST_F(AnnouncerTest, NoTimerWhenTheBeepsAreOff) {
    Announcer announcer;
    for (const auto& [alarm, beep] : {std::pair{0, false}, {-1, true}, {1, true}})
        StartTimer1If(announcer.HourBeepCheck({14, 0, 0}, alarm, beep));
    EXPECT_TRUE(PumpBeepTicks(announcer, 1.0).empty());
}

TEST_F(AnnouncerTest, SpokenHourArmsTheBeepsAfterTheClips) {
    Announcer announcer;
    StartTimer1If(announcer.Poll({13, 0, 1}, 4, true));
    // the same mark again: nothing more, not even with no sound device
    StartTimer1If(announcer.Poll({13, 0, 1}, 4, true));
    const std::vector<double> ticks = PumpBeepTicks(announcer, 2.2);
    ASSERT_EQ(ticks.size(), 2u);
    EXPECT_EQ(announcer.State().Beeps().BeepCount(), 1);
}

// How long the thread is blocked by the shortest and the longest announcement.
TEST_F(AnnouncerTest, AnnouncementBlocksForItsThreeClips) {
    if (!HaveSoundDevice()) GTEST_SKIP() << "no sound device (no PulseAudio null sink in this environment)";
    Announcer announcer;
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
        announcer.Poll(at, 1, false);
        const double blocked = SecondsNow() - start;
        std::printf("%02d:%02d:01 announcement of %.4f s blocked the thread %.4f s\n", at.hour, at.minute,
                    length, blocked);
        EXPECT_GT(blocked, length - 0.02);
        EXPECT_LT(blocked, length + 0.5);
    }
}

} // namespace
