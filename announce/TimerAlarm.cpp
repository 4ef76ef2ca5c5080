// The spoken countdown timer and the daily alarm, as plain values.
#include "announce/TimerAlarm.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::int64_t kDayMs = 24LL * 60 * 60 * 1000;
constexpr std::int64_t kMinuteMs = 60 * 1000;

// Days since 1970-01-01 of a date of the Gregorian calendar (Howard Hinnant's days_from_civil).
std::int64_t DayNumber(int year, int month, int day) {
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::int64_t DayOf(std::int64_t localMs) {
    return localMs / kDayMs - (localMs % kDayMs < 0 ? 1 : 0);
}

// Second 0 of the minute after the one `localMs` lies in.
std::int64_t NextMinute(std::int64_t localMs) {
    return (DayOf(localMs) * kDayMs) + ((localMs - DayOf(localMs) * kDayMs) / kMinuteMs + 1) * kMinuteMs;
}

bool IsAlarmMinute(std::int32_t alarmClock) {
    return alarmClock >= 0 && alarmClock < 24 * 60;
}

// Whether the alarm may ring on day `day` (a DayNumber): 1970-01-01 was a Thursday.
bool IsAlarmDayNumber(std::int64_t day, std::int32_t days) {
    const std::int64_t weekday = ((day + 4) % 7 + 7) % 7; // 0 Sunday .. 6 Saturday
    return days != kAlarmWeekdays || (weekday >= 1 && weekday <= 5);
}

} // namespace

std::optional<int> ParseTimerMinutes(std::u16string_view text) {
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    if (text.empty() || text.size() > 3) return std::nullopt;
    int minutes = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        minutes = minutes * 10 + (c - u'0');
    }
    if (minutes < 1 || minutes > kTimerMostMinutes) return std::nullopt;
    return minutes;
}

std::int64_t LocalMs(const ClockTime& now) {
    return DayNumber(now.year, now.month, now.day) * kDayMs +
           ((now.hour * 60LL + now.minute) * 60 + now.second) * 1000 + now.millisecond;
}

void TimerAlarm::StartTimer(int minutes, std::uint64_t tickMs) {
    timerEndsAt_ = tickMs + static_cast<std::uint64_t>(minutes) * kMinuteMs;
}

std::optional<int> TimerAlarm::MinutesLeft(std::uint64_t tickMs) const {
    if (!timerEndsAt_) return std::nullopt;
    const std::uint64_t left = *timerEndsAt_ > tickMs ? *timerEndsAt_ - tickMs : 0;
    return static_cast<int>((left + kMinuteMs - 1) / kMinuteMs);
}

bool TimerAlarm::Stop() {
    const bool wasRinging = Ringing();
    repeatsLeft_ = 0;
    nextRepeat_.reset();
    return wasRinging;
}

Chime TimerAlarm::Poll(std::uint64_t tickMs, const ClockTime& now, std::int32_t alarmClock,
                       std::int32_t alarmDays) {
    const std::int64_t local = LocalMs(now);
    const std::optional<std::int64_t> before = std::exchange(lastPoll_, local);
    if (timerEndsAt_ && tickMs >= *timerEndsAt_) {
        const bool inTime = tickMs - *timerEndsAt_ <= static_cast<std::uint64_t>(kLatestChimeMs);
        timerEndsAt_.reset();
        if (inTime) return Chime::TimerEnded;
    }
    if (repeatsLeft_ > 0 && nextRepeat_ && local >= *nextRepeat_) {
        if (local - *nextRepeat_ > kLatestChimeMs) {
            Stop();
        } else {
            --repeatsLeft_;
            *nextRepeat_ = NextMinute(local);
            return Chime::Alarm;
        }
    }
    if (!before || !IsAlarmMinute(alarmClock)) return Chime::None;
    // yesterday's minute too: a computer asleep across midnight may wake just after it
    const std::int64_t today = DayOf(local);
    for (std::int64_t day = today - 1; day <= today; ++day) {
        const std::int64_t moment = day * kDayMs + alarmClock * kMinuteMs;
        if (rungDay_ == day || !IsAlarmDayNumber(day, alarmDays)) continue;
        if (*before < moment && moment <= local && local - moment <= kLatestChimeMs) {
            rungDay_ = day;
            repeatsLeft_ = kAlarmRepeats;
            nextRepeat_ = NextMinute(local);
            return Chime::Alarm;
        }
    }
    return Chime::None;
}

std::optional<std::int64_t> TimerAlarm::NextDueInMs(std::uint64_t tickMs, const ClockTime& now,
                                                    std::int32_t alarmClock, std::int32_t alarmDays) const {
    std::optional<std::int64_t> due;
    const auto sooner = [&due](std::int64_t ms) { due = due ? std::min(*due, ms) : ms; };
    if (timerEndsAt_) sooner(*timerEndsAt_ > tickMs ? static_cast<std::int64_t>(*timerEndsAt_ - tickMs) : 0);
    const std::int64_t local = LocalMs(now);
    if (repeatsLeft_ > 0 && nextRepeat_) sooner(std::max<std::int64_t>(*nextRepeat_ - local, 0));
    if (IsAlarmMinute(alarmClock)) {
        const std::int64_t today = DayOf(local);
        for (std::int64_t day = today; day <= today + 7; ++day) {
            const std::int64_t moment = day * kDayMs + alarmClock * kMinuteMs;
            if (moment > local && rungDay_ != day && IsAlarmDayNumber(day, alarmDays)) {
                sooner(moment - local);
                break;
            }
        }
    }
    return due;
}
