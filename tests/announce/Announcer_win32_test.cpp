// The announcer as the main window drives it: the beep sequence it asks Timer1 for, what it lets
// sound in quiet hours and while the user is busy, and the time said on demand.
#include "announce/Announcer_win32.h"
#include "tests/announce/SoundTestUtil_win32.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The system's answer to "may the user be notified now?", as the test says.
int answer = kAcceptsNotifications;
int Answer() {
    return answer;
}

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

SettingsRecord With(std::int32_t alarm, bool beep) {
    SettingsRecord s = DefaultSettings();
    s.Alarm = alarm;
    s.Beep = beep;
    return s;
}

// Polls as the clock wakes, every 100 ms here, until the announcer asks for Timer1 (true) or 8 s passed.
bool PollUntilTimer1(Announcer& announcer, const ClockTime& at, const SettingsRecord& settings) {
    for (const double start = SecondsNow(); SecondsNow() - start < 8; Sleep(100))
        if (announcer.Poll(at, settings)) return true;
    return false;
}

TEST(AnnouncerTest, HourBeepCheckArmsOnceForTheHourThenTheTicksBeepAndStop) {
    answer = kAcceptsNotifications;
    Announcer announcer(&Answer);
    EXPECT_TRUE(announcer.HourBeepCheck({14, 0, 0}, With(0, true)));
    EXPECT_FALSE(announcer.HourBeepCheck({14, 0, 0}, With(0, true))) << "a later redraw of the same second";
    EXPECT_EQ(TicksUntilStop(announcer), (std::vector{Tick::Beep, Tick::Beep, Tick::StopTimer}));
}

TEST(AnnouncerTest, NoTimerWhenTheBeepsAreOff) {
    Announcer announcer(&Answer);
    for (const auto& [alarm, beep] : {std::pair{0, false}, {-1, true}, {1, true}})
        EXPECT_FALSE(announcer.HourBeepCheck({14, 0, 0}, With(alarm, beep))) << alarm << " " << beep;
    EXPECT_EQ(TicksUntilStop(announcer), std::vector{Tick::StopTimer});
}

TEST(AnnouncerTest, SpokenHourArmsTheBeepsWhenTheClipsHaveSounded) {
    answer = kAcceptsNotifications;
    Announcer announcer(&Answer);
    const double start = SecondsNow();
    EXPECT_TRUE(PollUntilTimer1(announcer, {13, 0, 1}, With(4, true)));
    if (HaveSoundDevice()) EXPECT_GT(SecondsNow() - start, 0.8) << "Timer1 before the clips had sounded";
    // the same mark again: nothing more
    EXPECT_FALSE(announcer.Poll({13, 0, 1}, With(4, true)));
    EXPECT_EQ(TicksUntilStop(announcer), (std::vector{Tick::Beep, Tick::StopTimer}));
}

TEST(AnnouncerTest, TimerEndingAtTheHourKeepsItsThreeBeepsAndTheHoursCountFollows) {
    answer = kAcceptsNotifications;
    Announcer announcer(&Answer);
    announcer.StartTimer(0);
    announcer.Poll({13, 59, 58}, With(0, true)); // the timer's words start
    EXPECT_FALSE(announcer.HourBeepCheck({14, 0, 0}, With(0, true)));
    EXPECT_TRUE(PollUntilTimer1(announcer, {14, 0, 0}, With(0, true)));
    EXPECT_EQ(TicksUntilStop(announcer), (std::vector{Tick::Beep, Tick::Beep, Tick::Beep, Tick::StopTimer}));
    EXPECT_TRUE(PollUntilTimer1(announcer, {14, 0, 3}, With(0, true))) << "the hour's count, after the three";
    EXPECT_EQ(TicksUntilStop(announcer), (std::vector{Tick::Beep, Tick::Beep, Tick::StopTimer}));
}

// Scheduled speech and beeps go ahead only while the system says the user takes notifications:
// not away or locked, busy, in full-screen Direct3D, presenting or in the quiet time after a
// first logon. The time said on demand always speaks.
TEST(AnnouncerTest, EachAnswerButAcceptsSilencesTheSchedule) {
    if (!HaveSoundDevice()) GTEST_SKIP() << "no sound device (no PulseAudio null sink in this environment)";
    for (int state = 1; state <= 7; ++state) {
        SCOPED_TRACE(state);
        answer = state;
        Announcer announcer(&Answer);
        Announcer beeper(&Answer);
        EXPECT_EQ(beeper.HourBeepCheck({16, 0, 0}, With(0, true)), state == kAcceptsNotifications);
        announcer.Poll({15, 40, 1}, With(1, false));
        // what speaks on demand is ignored while something sounds: it speaks only after silence
        EXPECT_EQ(announcer.SpeakNow({15, 40, 2}), state != kAcceptsNotifications);
        SettingsRecord unasked = With(1, false);
        unasked.QuietBusy = false;
        Announcer regardless(&Answer);
        regardless.Poll({15, 40, 1}, unasked);
        EXPECT_FALSE(regardless.SpeakNow({15, 40, 2})) << "with QuietBusy off the answer is not asked";
        announcer.Stop();
        regardless.Stop();
    }
}

TEST(AnnouncerTest, QuietHoursSilenceTheScheduleNotTheTimeOnDemand) {
    if (!HaveSoundDevice()) GTEST_SKIP() << "no sound device (no PulseAudio null sink in this environment)";
    answer = kAcceptsNotifications;
    SettingsRecord quiet = With(1, true);
    quiet.QuietHours = true;
    quiet.QuietFrom = 15;
    quiet.QuietTo = 16;
    Announcer announcer(&Answer);
    announcer.Poll({15, 40, 1}, quiet);
    EXPECT_FALSE(announcer.HourBeepCheck({15, 0, 0}, quiet));
    EXPECT_TRUE(announcer.SpeakNow({15, 40, 2}))
        << "nothing was said at 15:40, and the time on demand speaks";
    EXPECT_FALSE(announcer.SpeakNow({15, 40, 2})) << "a second request while it speaks is ignored";
    announcer.Stop();
    EXPECT_TRUE(announcer.SpeakNow({16, 0, 1})) << "stopped, it speaks again";
    announcer.Stop();
}

} // namespace
