// When the time is spoken and what is said, and the pacing of the hourly beeps, as plain values.
#include "announce/Schedule.h"

int HourClip(int hour) {
    // one o'clock to twelve o'clock; ten o'clock skips 111, which says "ten minutes"
    static constexpr int kHourClips[] = {102, 103, 104, 105, 106, 107, 108, 109, 110, 112, 113, 114};
    return kHourClips[TwelveHourDial(hour) - 1];
}

bool IsAnnouncedMinute(int minute, std::int32_t alarm) {
    if (alarm <= 0 || minute < 0 || minute > 59) return false;
    if (alarm == 5) return minute % 5 == 0;
    if (alarm == 6) return minute % 15 == 0;
    if (minute % 10 != 0) return false;
    // threshold tests on the older values, so values above them behave as "every hour"; with
    // "every 20 minutes" the half hour is still spoken
    if ((minute == 10 || minute == 50) && alarm > 1) return false;
    if ((minute == 20 || minute == 40) && alarm > 2) return false;
    return !(minute == 30 && alarm > 3);
}

namespace {
// ten to fifty minutes, by minute / 10
constexpr int kMinutesClips[] = {0, 111, 115, 116, 117, 118};
} // namespace

Announcement DecideAnnouncement(int hour, int minute, std::int32_t alarm, bool beep) {
    if (hour < 0 || hour > 23 || !IsAnnouncedMinute(minute, alarm)) return {};
    Announcement said{SpokenTime(hour, minute), std::nullopt};
    if (minute == 0 && beep) said.beeps = TwelveHourDial(hour);
    return said;
}

std::vector<int> SpokenTime(int hour, int minute) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return {};
    std::vector<int> clips{hour / 12 == 1 ? kClipAfterNoon : kClipBeforeNoon, HourClip(hour)};
    if (minute == 0)
        clips.push_back(kClipOnTheHour);
    else if (minute % 10 == 0)
        clips.push_back(kMinutesClips[minute / 10]);
    else {
        if (minute > 10) clips.push_back(kFirstTensClip + minute / 10 - 1);
        clips.push_back(kFirstUnitsClip + minute % 10 - 1);
    }
    return clips;
}

bool IsQuietHour(int hour, int from, int to) {
    // how far the hour is past the start, going forward around the clock, against the length
    return (hour - from + 24) % 24 < (to - from + 24) % 24;
}

bool IsMarkSecondDue(int second, int markSecond) {
    return second >= markSecond && second < kMarkDueUntilSecond;
}

bool IsPollDue(const ClockTime& now, std::int32_t alarm) {
    return IsMarkSecondDue(now.second, 1) && IsAnnouncedMinute(now.minute, alarm);
}

bool IsHourBeepDue(const ClockTime& now, std::int32_t alarm, bool beep) {
    return IsMarkSecondDue(now.second, 0) && now.minute == 0 && alarm == 0 && beep;
}

void BeepSequence::ArmBeep(int hour) {
    // arming while a sequence runs starts it again: beeps already sounded do not count
    beepTarget_ = static_cast<std::int16_t>(TwelveHourDial(hour));
    beepCount_ = 0;
}

BeepSequence::Tick BeepSequence::OnTick() {
    if (beepCount_ < beepTarget_) {
        ++beepCount_;
        return Tick::Beep;
    }
    return Tick::StopTimer;
}

void Schedule::ForgetPassedMarks(const ClockTime& now) {
    if (spokenMark_ && *spokenMark_ != now.hour * 60 + now.minute) spokenMark_.reset();
    if (armedHour_ && (*armedHour_ != now.hour || now.minute != 0)) armedHour_.reset();
}

Announcement Schedule::Poll(const ClockTime& now, std::int32_t alarm, bool beep) {
    ForgetPassedMarks(now);
    const int mark = now.hour * 60 + now.minute;
    if (!IsPollDue(now, alarm) || spokenMark_ == mark) return {};
    Announcement said = DecideAnnouncement(now.hour, now.minute, alarm, beep);
    if (!said.clips.empty()) spokenMark_ = mark;
    return said;
}

bool Schedule::ArmBeep(int hour) {
    if (armedHour_ == hour) return false;
    armedHour_ = hour;
    beeps_.ArmBeep(hour);
    return true;
}

bool Schedule::HourBeepCheck(const ClockTime& now, std::int32_t alarm, bool beep) {
    ForgetPassedMarks(now);
    return IsHourBeepDue(now, alarm, beep) && ArmBeep(now.hour);
}
