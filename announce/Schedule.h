// When the time is spoken and what is said, and the pacing of the hourly beeps, as plain values.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/ClockTime.h"

// Voice clips by resource number: 102..114 the hours (111 among them says "ten minutes"),
// 115..118 twenty to fifty minutes, then these three; after them one to nine minutes, and the
// tens ten to fifty without "minutes", said before the units of a minute such as 43.
inline constexpr int kClipBeforeNoon = 119;
inline constexpr int kClipAfterNoon = 120;
inline constexpr int kClipOnTheHour = 121;
inline constexpr int kFirstUnitsClip = 122; // "one minute"; kFirstUnitsClip + n - 1 says n minutes
inline constexpr int kFirstTensClip = 131;  // "ten"; kFirstTensClip + n - 1 says n tens
inline constexpr int kFirstClip = 102;
// said before the time when the timer ends and when the alarm rings
inline constexpr int kClipTimerEnded = 136;
inline constexpr int kClipAlarm = 137;
inline constexpr int kLastClip = 137;

struct Announcement {
    std::vector<int> clips;   // played one after another in this order; empty: say nothing
    std::optional<int> beeps; // after the clips, beep this many times (1..12); none: no beeps
    bool operator==(const Announcement&) const = default;
};

// The clip that says `hour` o'clock (hour of the day, 0..23).
int HourClip(int hour);

// Whether the interval setting speaks at `minute` (0..59): 0 or below never; 1 every 10 minutes;
// 2 every 20 and the half hour; 3 every 30; 4, and anything above 6, every hour; 5 every 5
// minutes; 6 every 15. The first five are the settings' old values, kept as they were stored.
bool IsAnnouncedMinute(int minute, std::int32_t alarm);

// What to say at `minute` of `hour` (0..23) with the given interval and beep settings: the time as
// SpokenTime says it (half of day, hour, then the minutes or the on-the-hour clip), and on the
// hour the beeps if they are on. Nothing at a minute the interval leaves out or at a time that is
// not one, nor when announcements are off (alarm <= 0).
Announcement DecideAnnouncement(int hour, int minute, std::int32_t alarm, bool beep);

// The time to the minute, as "지금 시각 듣기" says it: half of day, hour, then the on-the-hour clip,
// a ten-minute mark's clip, "N 분" for 1 to 9, or the tens then the units (43: 사십, 삼 분).
std::vector<int> SpokenTime(int hour, int minute);

// Quiet hours: whether `hour` lies in [from, to), going forward around the clock (23 to 7 is
// quiet from 23:00:00 to 06:59:59). Equal hours are never quiet.
bool IsQuietHour(int hour, int from, int to);

// A mark sounds at second `markSecond` of its minute, or at the first wake after it within the
// first half of the minute: a wake that a busy machine or a long sleep made late, or a clock that
// a time service moved without a word, still finds it. Later in the minute it has passed.
inline constexpr int kMarkDueUntilSecond = 30;
bool IsMarkSecondDue(int second, int markSecond);

// The announcement poll speaks at second 1 of each mark the interval announces, never at second 0.
bool IsPollDue(const ClockTime& now, std::int32_t alarm);

// The beeps come from the redraws only when announcements are off (exactly 0: a negative value
// silences the beeps too), from second 0 of the hour.
bool IsHourBeepDue(const ClockTime& now, std::int32_t alarm, bool beep);

// Timer1's beep sequence: arming sets the target and restarts the count; each tick either beeps
// once more or, when the target is reached, asks for the timer to stop.
class BeepSequence {
  public:
    enum class Tick { Beep, StopTimer };

    void ArmBeep(int hour);
    Tick OnTick();
    // Ends the sequence: the next tick asks for the timer to stop.
    void Cancel() { beepTarget_ = beepCount_; }

    std::int16_t BeepCount() const { return beepCount_; }
    std::int16_t BeepTarget() const { return beepTarget_; }

  private:
    std::int16_t beepCount_ = 0;
    std::int16_t beepTarget_ = 0;
};

// Everything the announcer keeps between ticks. Besides the beep sequence it remembers the last
// mark it handled and the last hour mark it armed, so that neither acts twice for one
// mark: a poll could otherwise speak again at each wake while the mark is due, and the later
// wakes would re-arm after the first beep and add beeps. A clock set back within the minute does
// not sound the mark again. A remembered mark is forgotten once the clock shows another minute,
// so the same time on the next day is handled again.
class Schedule {
  public:
    // One poll at `now` (the main window polls at each wake): the announcement to make (empty when nothing is
    // due). The caller plays the clips, then calls ArmBeep(now.hour) if the announcement carries beeps.
    Announcement Poll(const ClockTime& now, std::int32_t alarm, bool beep);

    // Arms the beep sequence for an hour of the day (0..23), at most once per hour mark. True when
    // it armed, and the caller must (re)start Timer1.
    bool ArmBeep(int hour);

    // The hour's beep check at each wake, with the wake's time. True when it armed the beeps.
    bool HourBeepCheck(const ClockTime& now, std::int32_t alarm, bool beep);

    // Three beeps like the hour's, the timer's end, whatever the hour and the beep setting. The
    // caller (re)starts Timer1.
    void ArmThreeBeeps() { beeps_.ArmBeep(3); }

    // One Timer1 tick.
    BeepSequence::Tick OnBeepTick() { return beeps_.OnTick(); }
    // Beeps that were armed but may not sound (quiet hours, a busy user, the program ends).
    void CancelBeeps() { beeps_.Cancel(); }

    const BeepSequence& Beeps() const { return beeps_; }

  private:
    void ForgetPassedMarks(const ClockTime& now);

    BeepSequence beeps_;
    std::optional<int> spokenMark_; // minute of the day of the last mark handled
    std::optional<int> armedHour_;  // hour of the day whose beeps were last armed
};
