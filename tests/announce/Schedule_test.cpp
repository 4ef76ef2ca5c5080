// The announcement schedule: what is said when, the beep sequence, and the once-per-mark guards.
#include "announce/Schedule.h"

#include <gtest/gtest.h>

#include "app/Wake.h"

#include <algorithm>
#include <set>
#include <vector>

namespace {

using Clips = std::vector<int>;

struct DecideCase {
    int hour, minute, alarm;
    bool beep;
    Clips clips;
    std::optional<int> beeps;
};

TEST(DecideAnnouncement, Examples) {
    const DecideCase cases[] = {
        {23, 50, 1, false, {120, 113, 118}, {}},
        {10, 20, 1, false, {119, 112, 115}, {}},
        {9, 10, 1, false, {119, 110, 111}, {}},
        {22, 10, 1, false, {120, 112, 111}, {}}, // ten o'clock is 112; 111 is "ten minutes"
        {15, 40, 1, false, {120, 104, 117}, {}},
        {15, 40, 2, false, {120, 104, 117}, {}},
        {13, 10, 2, true, {}, {}},
        {13, 30, 2, false, {120, 102, 116}, {}}, // the half hour is spoken with "every 20 minutes"
        {13, 50, 2, false, {}, {}},
        {12, 30, 3, false, {120, 114, 116}, {}},
        {12, 20, 3, false, {}, {}},
        {12, 40, 3, false, {}, {}},
        {15, 0, 4, true, {120, 104, 121}, 3},
        {15, 0, 4, false, {120, 104, 121}, {}},
        {15, 30, 4, true, {}, {}},
        {0, 0, 1, true, {119, 114, 121}, 12},
        {12, 0, 1, true, {120, 114, 121}, 12},
        {0, 30, 1, false, {119, 114, 116}, {}},
        {14, 5, 5, false, {120, 103, 126}, {}},
        {15, 0, 7, true, {120, 104, 121}, 3}, // above 6 behaves as "every hour"
        {15, 10, 7, true, {}, {}},
        {15, 0, 0, true, {}, {}}, // announcements off: the redraws beep instead, not checktime
        {15, 0, -1, true, {}, {}},
        {15, 5, 1, true, {}, {}},
        {24, 0, 1, true, {}, {}},
        {15, -10, 1, true, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.hour << ":" << c.minute << " alarm " << c.alarm << " beep " << c.beep);
        const Announcement said = DecideAnnouncement(c.hour, c.minute, c.alarm, c.beep);
        EXPECT_EQ(said.clips, c.clips);
        EXPECT_EQ(said.beeps, c.beeps);
    }
}

TEST(DecideAnnouncement, EveryHourOnTheHour) {
    // half of day, hour clip and beep count for hours 0..23
    const int half[24] = {119, 119, 119, 119, 119, 119, 119, 119, 119, 119, 119, 119,
                          120, 120, 120, 120, 120, 120, 120, 120, 120, 120, 120, 120};
    const int hourClip[24] = {114, 102, 103, 104, 105, 106, 107, 108, 109, 110, 112, 113,
                              114, 102, 103, 104, 105, 106, 107, 108, 109, 110, 112, 113};
    const int beeps[24] = {12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    for (int hour = 0; hour < 24; ++hour) {
        SCOPED_TRACE(hour);
        const Announcement said = DecideAnnouncement(hour, 0, 1, true);
        EXPECT_EQ(said.clips, (Clips{half[hour], hourClip[hour], 121}));
        EXPECT_EQ(said.beeps, beeps[hour]);
        EXPECT_EQ(TwelveHourDial(hour), beeps[hour]);
    }
}

TEST(DecideAnnouncement, MinutesSpokenPerInterval) {
    const std::pair<int, std::set<int>> cases[] = {
        {-1, {}}, {0, {}},  {1, {0, 10, 20, 30, 40, 50}}, {2, {0, 20, 30, 40}}, {3, {0, 30}},
        {4, {0}}, {7, {0}},
    };
    for (const auto& [alarm, expected] : cases) {
        std::set<int> spoken;
        for (int minute = 0; minute < 60; ++minute)
            if (!DecideAnnouncement(8, minute, alarm, false).clips.empty()) spoken.insert(minute);
        EXPECT_EQ(spoken, expected) << "alarm " << alarm;
    }
}

TEST(Schedule, PollAndHourBeepConditions) {
    struct Case {
        ClockTime time;
        int alarm;
        bool beep;
        bool pollDue, hourBeepDue;
    };
    const Case cases[] = {
        {{13, 10, 0}, 1, true, false, false}, {{13, 10, 1}, 1, true, true, false},
        {{13, 10, 2}, 1, true, true, false},  {{13, 15, 1}, 1, true, false, false},
        {{13, 10, 29}, 1, true, true, false}, {{13, 10, 30}, 1, true, false, false}, // a late wake
        {{13, 0, 29}, 0, true, false, true},  {{13, 0, 30}, 0, true, false, false},
        {{13, 10, 1}, 0, true, false, false}, {{13, 10, 1}, -1, true, false, false},
        {{13, 10, 1}, 7, true, false, false}, {{0, 0, 1}, 1, false, true, false},
        {{13, 0, 0}, 0, true, false, true},   {{13, 0, 0}, 0, false, false, false},
        {{13, 0, 0}, -1, true, false, false}, {{13, 0, 0}, 1, true, false, false},
        {{13, 0, 1}, 0, true, false, true},   {{13, 10, 0}, 0, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.time.hour << ":" << c.time.minute << ":" << c.time.second
                                        << " alarm " << c.alarm << " beep " << c.beep);
        EXPECT_EQ(IsPollDue(c.time, c.alarm), c.pollDue);
        EXPECT_EQ(IsHourBeepDue(c.time, c.alarm, c.beep), c.hourBeepDue);
    }
}

int CountBeeps(BeepSequence& sequence) {
    int beeps = 0;
    while (sequence.OnTick() == BeepSequence::Tick::Beep)
        ++beeps;
    return beeps;
}

TEST(BeepSequence, SoundsTheHourOnATwelveHourDialThenStops) {
    BeepSequence idle;
    EXPECT_EQ(idle.OnTick(), BeepSequence::Tick::StopTimer);
    for (const auto& [hour, count] : {std::pair{15, 3}, {0, 12}, {12, 12}, {13, 1}, {11, 11}, {23, 11}}) {
        BeepSequence sequence;
        sequence.ArmBeep(hour);
        EXPECT_EQ(sequence.BeepTarget(), count);
        EXPECT_EQ(sequence.BeepCount(), 0);
        EXPECT_EQ(CountBeeps(sequence), count) << "hour " << hour;
        EXPECT_EQ(sequence.BeepCount(), count);
        EXPECT_EQ(sequence.OnTick(), BeepSequence::Tick::StopTimer) << "stays stopped";
    }
}

TEST(BeepSequence, ArmingWhileRunningStartsAgainFromZero) {
    BeepSequence sequence;
    sequence.ArmBeep(17);
    EXPECT_EQ(sequence.OnTick(), BeepSequence::Tick::Beep);
    EXPECT_EQ(sequence.OnTick(), BeepSequence::Tick::Beep);
    sequence.ArmBeep(14);
    EXPECT_EQ(sequence.BeepCount(), 0);
    EXPECT_EQ(CountBeeps(sequence), 2) << "the beeps already sounded do not count toward the new target";
}

TEST(Schedule, EachHourMarkArmsOnce) {
    Schedule schedule;
    EXPECT_TRUE(schedule.HourBeepCheck({13, 0, 0}, 0, true));
    EXPECT_EQ(schedule.OnBeepTick(), BeepSequence::Tick::Beep);
    EXPECT_FALSE(schedule.HourBeepCheck({13, 0, 0}, 0, true)) << "a later redraw in second 0 re-armed";
    EXPECT_FALSE(schedule.ArmBeep(13)) << "the spoken announcement of the same hour re-armed";
    EXPECT_EQ(schedule.Beeps().BeepCount(), 1);
    // another hour mark arms again and restarts the sequence
    EXPECT_TRUE(schedule.ArmBeep(14));
    EXPECT_EQ(schedule.Beeps().BeepCount(), 0);
    EXPECT_EQ(schedule.Beeps().BeepTarget(), 2);
    // the same hour a day later, once the clock has shown another minute in between
    EXPECT_FALSE(schedule.HourBeepCheck({14, 0, 59}, 0, true));
    EXPECT_FALSE(schedule.HourBeepCheck({14, 1, 0}, 0, true));
    EXPECT_TRUE(schedule.HourBeepCheck({14, 0, 0}, 0, true));
}

TEST(Schedule, EachTenMinuteMarkIsSpokenOnce) {
    Schedule schedule;
    EXPECT_TRUE(schedule.Poll({13, 10, 1}, 0, false).clips.empty());
    // a poll that said nothing does not use up the mark: the new setting counts from the next poll
    EXPECT_EQ(schedule.Poll({13, 10, 1}, 1, false).clips, (Clips{120, 102, 111}));
    EXPECT_TRUE(schedule.Poll({13, 10, 1}, 1, false).clips.empty()) << "spoken twice in second 1";
    EXPECT_TRUE(schedule.Poll({13, 10, 2}, 1, false).clips.empty());
    EXPECT_EQ(schedule.Poll({13, 20, 1}, 1, false).clips, (Clips{120, 102, 115}));
    EXPECT_TRUE(schedule.Poll({13, 20, 2}, 1, false).clips.empty());
    EXPECT_TRUE(schedule.Poll({13, 21, 0}, 1, false).clips.empty());
    EXPECT_EQ(schedule.Poll({13, 30, 7}, 1, false).clips, (Clips{120, 102, 116})) << "a late wake";
    EXPECT_TRUE(schedule.Poll({13, 30, 1}, 1, false).clips.empty()) << "the clock set back in the minute";
    EXPECT_EQ(schedule.Poll({13, 20, 1}, 1, false).clips, (Clips{120, 102, 115})) << "the next day";
}

// One UI thread driven by the main window's timers on a simulated clock, in milliseconds from
// midnight: a wake just after each second's start redraws and polls, Timer1 beeps every 750 ms
// while enabled. Playing a clip blocks for its length; a beep blocks for 250 ms or, as under
// Wine, not at all. A timer that came due while the thread was busy fires once, late. Enabling
// Timer1 while it runs either restarts its period (as SetTimer does) or leaves it running.
struct Simulation {
    int alarm = 1;
    bool beepSetting = false;
    bool beepBlocks = true;
    int clipMs = 600;
    bool enableRestartsTimer = true;

    Schedule schedule;
    long now = 0;
    std::vector<std::pair<long, Clips>> spoken;
    std::vector<long> beeps;

    static ClockTime TimeAt(long ms) {
        const long second = ms / 1000 % 86400;
        return {static_cast<int>(second / 3600), static_cast<int>(second / 60 % 60),
                static_cast<int>(second % 60)};
    }

    void EnableBeepTimer(std::optional<long>& beepDue) const {
        if (!beepDue || enableRestartsTimer) beepDue = now + 750;
    }

    void Run(long from, long to) {
        now = from;
        long wakeDue = from;
        std::optional<long> beepDue;
        while (true) {
            const long next = std::min(wakeDue, beepDue.value_or(to + 1));
            if (next > to) return;
            now = std::max(now, next);
            if (next == wakeDue) {
                const ClockTime time = TimeAt(now);
                if (schedule.HourBeepCheck(time, alarm, beepSetting)) EnableBeepTimer(beepDue);
                const Announcement said = schedule.Poll(time, alarm, beepSetting);
                if (!said.clips.empty()) spoken.emplace_back(now, said.clips);
                now += clipMs * static_cast<long>(said.clips.size());
                if (said.beeps && schedule.ArmBeep(time.hour)) EnableBeepTimer(beepDue);
                wakeDue = (now / 1000 + 1) * 1000 + kWakeMarginMs;
            } else {
                beepDue = now + 750;
                if (schedule.OnBeepTick() == BeepSequence::Tick::Beep) {
                    beeps.push_back(now);
                    if (beepBlocks) now += 250;
                } else {
                    beepDue.reset();
                }
            }
        }
    }
};

// a time on the second simulated day, so that a run may start before midnight
constexpr long At(int hour, int minute, int second) {
    return ((24L + hour) * 60 + minute) * 60000 + second * 1000L;
}

TEST(Simulation, BeepsFromTheRedrawsMatchTheHourWhetherOrNotTheToneBlocks) {
    for (bool restarts : {true, false})
        for (bool blocks : {true, false})
            for (const auto& [hour, count] : {std::pair{13, 1}, {0, 12}, {15, 3}}) {
                SCOPED_TRACE(testing::Message() << "hour " << hour << (blocks ? " blocking" : " non-blocking")
                                                << (restarts ? ", restarting" : ", running") << " timer");
                Simulation sim{
                    .alarm = 0, .beepSetting = true, .beepBlocks = blocks, .enableRestartsTimer = restarts};
                sim.Run(At(hour, 0, 0) - 5000, At(hour, 0, 20));
                EXPECT_TRUE(sim.spoken.empty());
                ASSERT_EQ(static_cast<int>(sim.beeps.size()), count);
                EXPECT_GE(sim.beeps.front(), At(hour, 0, 0) + 750);
                for (std::size_t i = 1; i < sim.beeps.size(); ++i)
                    EXPECT_GE(sim.beeps[i] - sim.beeps[i - 1], 750);
            }
}

TEST(Simulation, SpokenHourThenItsBeeps) {
    for (bool blocks : {true, false}) {
        Simulation sim{.alarm = 1, .beepSetting = true, .beepBlocks = blocks};
        sim.Run(At(23, 49, 58) - 86400000L, At(0, 0, 20));
        ASSERT_EQ(sim.spoken.size(), 2u);
        EXPECT_EQ(sim.spoken[0].second, (Clips{120, 113, 118}));
        EXPECT_EQ(sim.spoken[1].second, (Clips{119, 114, 121}));
        EXPECT_EQ(Simulation::TimeAt(sim.spoken[1].first), (ClockTime{0, 0, 1}));
        EXPECT_EQ(sim.beeps.size(), 12u);
        EXPECT_GT(sim.beeps.front(), sim.spoken[1].first + 3 * sim.clipMs) << "beeps follow the speech";
    }
}

TEST(Simulation, NothingSoundsWhenOff) {
    for (int alarm : {0, -1}) {
        Simulation sim{.alarm = alarm, .beepSetting = alarm != 0};
        sim.Run(At(12, 59, 0), At(13, 11, 0));
        EXPECT_TRUE(sim.spoken.empty());
        EXPECT_TRUE(sim.beeps.empty());
    }
}

TEST(Simulation, ShortAnnouncementIsSpokenOncePerMark) {
    // three 100 ms clips: the poll comes back within second 1 of the mark
    Simulation sim{.alarm = 1, .beepSetting = true, .beepBlocks = false, .clipMs = 100};
    sim.Run(At(14, 59, 50), At(15, 10, 30));
    ASSERT_EQ(sim.spoken.size(), 2u);
    EXPECT_EQ(sim.spoken[0].second, (Clips{120, 104, 121}));
    EXPECT_EQ(sim.spoken[1].second, (Clips{120, 104, 111}));
    EXPECT_EQ(sim.beeps.size(), 3u);
}

} // namespace

// Said to the minute on demand: the hours as the schedule says them, then the minutes.
TEST(SpokenTime, HalfOfDayHourThenTheMinutes) {
    struct Case {
        int hour, minute;
        std::vector<int> clips;
    };
    for (const Case& c :
         {Case{15, 43, {120, 104, 134, 124}}, Case{9, 7, {119, 110, 128}}, Case{0, 0, {119, 114, 121}},
          Case{12, 1, {120, 114, 122}}, Case{13, 9, {120, 102, 130}}, Case{10, 10, {119, 112, 111}},
          Case{23, 11, {120, 113, 131, 122}}, Case{12, 59, {120, 114, 135, 130}},
          Case{11, 50, {119, 113, 118}}, Case{24, 0, {}}, Case{7, 60, {}}})
        EXPECT_EQ(SpokenTime(c.hour, c.minute), c.clips) << c.hour << ":" << c.minute;
}

TEST(QuietHours, FromUntilGoingForwardAroundTheClock) {
    struct Case {
        int from, to;
        std::set<int> quiet;
    };
    std::set<int> allButOne;
    for (int hour = 0; hour < 23; ++hour)
        allButOne.insert(hour);
    for (const Case& c : {Case{23, 7, {23, 0, 1, 2, 3, 4, 5, 6}}, Case{15, 16, {15}}, Case{0, 0, {}},
                          Case{7, 7, {}}, Case{0, 23, allButOne}}) {
        std::set<int> quiet;
        for (int hour = 0; hour < 24; ++hour)
            if (IsQuietHour(hour, c.from, c.to)) quiet.insert(hour);
        EXPECT_EQ(quiet, c.quiet) << c.from << " to " << c.to;
    }
}
