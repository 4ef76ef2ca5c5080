// The announcer as the main window drives it: the beep sequence it asks Timer1 for, and how long
// an announcement blocks.
#include "announce/Announcer_win32.h"
#include "tests/announce/SoundTestUtil_win32.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The main window starts Timer1 when the announcer says so and hands it each tick; here the
// ticks are handed over directly (the real timer's pace is the main window's test).
std::vector<BeepSequence::Tick> TicksUntilStop(Announcer& announcer) {
    std::vector<BeepSequence::Tick> ticks;
    do
        ticks.push_back(announcer.OnBeepTick());
    while (ticks.back() != BeepSequence::Tick::StopTimer && ticks.size() < 20);
    return ticks;
}

using Tick = BeepSequence::Tick;

TEST(AnnouncerTest, HourBeepCheckArmsOnceForTheHourThenTheTicksBeepAndStop) {
    Announcer announcer;
    EXPECT_TRUE(announcer.HourBeepCheck({14, 0, 0}, 0, true));
    EXPECT_FALSE(announcer.HourBeepCheck({14, 0, 0}, 0, true)) << "a later redraw of the same second";
    EXPECT_EQ(TicksUntilStop(announcer), (std::vector{Tick::Beep, Tick::Beep, Tick::StopTimer}));
}

TEST(AnnouncerTest, NoTimerWhenTheBeepsAreOff) {
    Announcer announcer;
    for (const auto& [alarm, beep] : {std::pair{0, false}, {-1, true}, {1, true}})
        EXPECT_FALSE(announcer.HourBeepCheck({14, 0, 0}, alarm, beep)) << alarm << " " << beep;
    EXPECT_EQ(TicksUntilStop(announcer), std::vector{Tick::StopTimer});
}

TEST(AnnouncerTest, SpokenHourArmsTheBeepsAfterTheClips) {
    Announcer announcer;
    EXPECT_TRUE(announcer.Poll({13, 0, 1}, 4, true));
    // the same mark again: nothing more, not even with no sound device
    EXPECT_FALSE(announcer.Poll({13, 0, 1}, 4, true));
    EXPECT_EQ(TicksUntilStop(announcer), (std::vector{Tick::Beep, Tick::StopTimer}));
}

// How long the thread is blocked by the shortest and the longest announcement.
TEST(AnnouncerTest, AnnouncementBlocksForItsThreeClips) {
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
