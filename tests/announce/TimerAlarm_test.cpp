// The timer and the alarm along one week of polls: when each is due, repeats, stops, late wakes.
#include "announce/TimerAlarm.h"

#include <gtest/gtest.h>

namespace {

enum class Do { Poll, StartTimer, Stop };

// 2026-12-07 is a Monday, 2026-12-12 a Saturday. The alarm is at 07:00.
ClockTime At(int day, int hour, int minute, int second, int ms = 0) {
    return {hour, minute, second, 2026, 12, day, ms};
}

TEST(TimerAlarm, AWeekOfPolls) {
    struct Step {
        const char* what;
        Do act;
        ClockTime now;
        std::uint64_t tickS; // GetTickCount64, in seconds
        std::int32_t days;   // AlarmClockDays
        Chime said;
        bool ringing; // after the step
    };
    TimerAlarm chimes;
    for (const Step& s : {
             Step{"before the minute", Do::Poll, At(7, 6, 59, 59, 500), 0, 1, Chime::None, false},
             Step{"second 0 of a Monday", Do::Poll, At(7, 7, 0, 0, 15), 0, 1, Chime::Alarm, true},
             Step{"first repeat", Do::Poll, At(7, 7, 1, 0, 15), 0, 1, Chime::Alarm, true},
             Step{"second repeat", Do::Poll, At(7, 7, 2, 0, 15), 0, 1, Chime::Alarm, true},
             Step{"a stop", Do::Stop, At(7, 7, 2, 1), 0, 1, Chime::None, false},
             Step{"no third repeat", Do::Poll, At(7, 7, 3, 0, 15), 0, 1, Chime::None, false},
             Step{"clock set back", Do::Poll, At(7, 6, 59, 0), 0, 1, Chime::None, false},
             Step{"rung today already", Do::Poll, At(7, 7, 0, 0, 15), 0, 1, Chime::None, false},
             Step{"Saturday, weekdays", Do::Poll, At(12, 7, 0, 0, 15), 0, 1, Chime::None, false},
             Step{"Sunday, every day", Do::Poll, At(13, 7, 0, 0, 15), 0, 0, Chime::Alarm, true},
             Step{"all four repeats", Do::Poll, At(13, 7, 1, 0), 0, 0, Chime::Alarm, true},
             Step{"all four repeats", Do::Poll, At(13, 7, 2, 0), 0, 0, Chime::Alarm, true},
             Step{"all four repeats", Do::Poll, At(13, 7, 3, 0), 0, 0, Chime::Alarm, true},
             Step{"the last repeat", Do::Poll, At(13, 7, 4, 0), 0, 0, Chime::Alarm, false},
             Step{"no fifth", Do::Poll, At(13, 7, 5, 0), 0, 0, Chime::None, false},
             Step{"asleep, resumed 5 min late", Do::Poll, At(14, 7, 5, 0, 300), 0, 1, Chime::Alarm, true},
             Step{"repeat after resume", Do::Poll, At(14, 7, 6, 0, 15), 0, 1, Chime::Alarm, true},
             Step{"stopped", Do::Stop, At(14, 7, 6, 2), 0, 1, Chime::None, false},
             Step{"asleep, resumed 15 min late", Do::Poll, At(15, 7, 15, 0), 0, 1, Chime::None, false},
             Step{"1-minute timer", Do::StartTimer, At(16, 12, 0, 0), 1000, 1, Chime::None, false},
             Step{"not yet", Do::Poll, At(16, 12, 0, 59), 1059, 1, Chime::None, false},
             Step{"its end", Do::Poll, At(16, 12, 1, 0), 1060, 1, Chime::TimerEnded, false},
             Step{"1-minute timer", Do::StartTimer, At(16, 12, 2, 0), 2000, 1, Chime::None, false},
             Step{"ended 5 min asleep", Do::Poll, At(16, 12, 8, 0), 2360, 1, Chime::TimerEnded, false},
             Step{"1-minute timer", Do::StartTimer, At(16, 12, 9, 0), 3000, 1, Chime::None, false},
             Step{"ended 15 min asleep", Do::Poll, At(16, 12, 25, 0), 3960, 1, Chime::None, false},
         }) {
        const std::uint64_t tick = s.tickS * 1000;
        Chime said = Chime::None;
        if (s.act == Do::Poll) said = chimes.Poll(tick, s.now, 7 * 60, s.days);
        if (s.act == Do::StartTimer) chimes.StartTimer(1, tick);
        if (s.act == Do::Stop) chimes.Stop();
        EXPECT_EQ(said, s.said) << s.what << " at " << s.now.day << " " << s.now.hour << ":" << s.now.minute;
        EXPECT_EQ(chimes.Ringing(), s.ringing) << s.what;
    }
}

TEST(TimerAlarm, WhatIsDueNextAndTypedMinutes) {
    TimerAlarm chimes;
    EXPECT_EQ(chimes.NextDueInMs(0, At(7, 6, 59, 30), kAlarmOff, 0), std::nullopt);
    EXPECT_EQ(chimes.NextDueInMs(0, At(12, 6, 59, 30), 7 * 60, kAlarmWeekdays), (2 * 86400 + 30) * 1000LL);
    chimes.StartTimer(5, 1000);
    EXPECT_EQ(chimes.NextDueInMs(1000 + 60500, At(7, 6, 59, 30), 7 * 60, 0), 30 * 1000LL);
    EXPECT_EQ(chimes.MinutesLeft(1000 + 60500), 4) << "3 min 59.5 s rounds up";
    EXPECT_EQ(chimes.MinutesLeft(1000), 5);
    EXPECT_EQ(std::pair(ChimeVolume(0), ChimeVolume(50)), std::pair(30, 50)) << "never below 30";
    for (const auto& [text, minutes] : {std::pair<std::u16string_view, std::optional<int>>{u"1", 1},
                                        {u" 999 ", 999},
                                        {u"0", {}},
                                        {u"1000", {}},
                                        {u"1.5", {}},
                                        {u"-3", {}},
                                        {u"", {}},
                                        {u"10분", {}}})
        EXPECT_EQ(ParseTimerMinutes(text), minutes);
}

} // namespace
