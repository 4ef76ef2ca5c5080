// The spoken countdown timer and the daily alarm, as plain values: when each falls due, when the
// alarm repeats, whether one that comes late still sounds, and what a stop does. The caller reads
// the clocks, plays the sound and holds the settings.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/ClockTime.h"

inline constexpr int kTimerMostMinutes = 999;
// A timer or an alarm missed by more than this (the computer slept through it) stays silent.
inline constexpr std::int64_t kLatestChimeMs = 10 * 60 * 1000;
// The alarm says itself again at second 0 of this many minutes after its first.
inline constexpr int kAlarmRepeats = 4;
// AlarmClock when the alarm is off; AlarmClockDays for every day and for Monday to Friday.
inline constexpr std::int32_t kAlarmOff = -1;
inline constexpr std::int32_t kAlarmEveryDay = 0;
inline constexpr std::int32_t kAlarmWeekdays = 1;

enum class Chime { None, TimerEnded, Alarm };

// The timer and the alarm play at the clock's volume, but never below 30 percent, so that they
// cannot pass unheard: the user asked for them.
inline constexpr int kLeastChimeVolume = 30;
inline int ChimeVolume(int volume) {
    return volume < kLeastChimeVolume ? kLeastChimeVolume : volume;
}

// The minutes typed into the timer's box: a whole number from 1 to 999, digits only (blanks
// around them allowed); none for anything else.
std::optional<int> ParseTimerMinutes(std::u16string_view text);

// The local wall clock as milliseconds since a fixed day: dates and times compare across midnight.
std::int64_t LocalMs(const ClockTime& now);

class TimerAlarm {
  public:
    // The timer runs for `minutes` from `tickMs`, a count of milliseconds that goes on while the
    // computer sleeps and that no setting of the clock moves (GetTickCount64). A new one replaces
    // the old.
    void StartTimer(int minutes, std::uint64_t tickMs);
    void CancelTimer() { timerEndsAt_.reset(); }
    bool TimerRunning() const { return timerEndsAt_.has_value(); }
    // Whole minutes left, rounded up (4 min 1 s left is 5); none while no timer runs.
    std::optional<int> MinutesLeft(std::uint64_t tickMs) const;

    // Ringing: from the alarm's first sound until its last repeat has fallen due (the caller adds
    // the time that last sound plays).
    bool Ringing() const { return repeatsLeft_ > 0; }
    // Stops the alarm: no more repeats. True when it was ringing.
    bool Stop();

    // The poll of each wake, with both clocks and the alarm's settings: what to say now. The alarm
    // rings when its minute's second 0 has come since the poll before, on an alarm day, at most
    // once a local date, and not more than kLatestChimeMs late. The timer sounds at its end, and
    // not when it ended more than kLatestChimeMs before. One of them per poll; the other waits.
    Chime Poll(std::uint64_t tickMs, const ClockTime& now, std::int32_t alarmClock, std::int32_t alarmDays);

    // Milliseconds from now until the next poll that may sound: the timer's end, the next repeat
    // or the alarm's next minute. None when nothing is set.
    std::optional<std::int64_t> NextDueInMs(std::uint64_t tickMs, const ClockTime& now,
                                            std::int32_t alarmClock, std::int32_t alarmDays) const;

  private:
    std::optional<std::uint64_t> timerEndsAt_;
    std::optional<std::int64_t> lastPoll_;   // LocalMs of the poll before
    std::optional<std::int64_t> rungDay_;    // the local day the alarm last rang on
    std::optional<std::int64_t> nextRepeat_; // LocalMs of the next repeat
    int repeatsLeft_ = 0;
};
