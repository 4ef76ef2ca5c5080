// When the main window next wakes, as plain values.
#include "app/Wake.h"

#include <algorithm>

#include "announce/Schedule.h"

namespace {

// Every interval speaks on marks of this many minutes, and the hour's beeps fall on one.
constexpr int kMarkMinutes = 5;

// The first second of the day after `afterSecond`, looking from the five-minute mark `fromMark` (a
// minute of the day) on and past midnight into the next day, at which scheduled sound may go
// ahead: second 1 of an announced mark, or second 0 of an hour that only beeps, outside the quiet
// hours. None when the settings let nothing sound in a whole day.
std::optional<int> NextDueSecond(int fromMark, int afterSecond, const SettingsRecord& settings) {
    for (int minute = fromMark; minute <= fromMark + 24 * 60; minute += kMarkMinutes) {
        const int hour = minute / 60 % 24;
        if (settings.QuietHours && IsQuietHour(hour, settings.QuietFrom, settings.QuietTo)) continue;
        int second = minute * 60;
        if (!DecideAnnouncement(hour, minute % 60, settings.Alarm, settings.Beep).clips.empty())
            second += 1;
        else if (!IsHourBeepDue({hour, minute % 60, 0}, settings.Alarm, settings.Beep))
            continue;
        if (second > afterSecond) return second;
    }
    return std::nullopt;
}

} // namespace

std::optional<int> NextWake(const WakeState& state, const SettingsRecord& settings) {
    const ClockTime& now = state.now;
    const int second = (now.hour * 60 + now.minute) * 60 + now.second;
    const int nowMs = second * 1000 + now.millisecond;
    std::optional<int> wake;
    if (state.soundEndsInMs) wake = std::max(*state.soundEndsInMs, 0);
    std::optional<int> due;
    if (state.seen)
        due = second + 1; // the next face
    else if (!(state.locked && settings.QuietBusy))
        due = NextDueSecond(second / (kMarkMinutes * 60) * kMarkMinutes, second, settings);
    if (due) {
        int ms = *due * 1000 + kWakeMarginMs - nowMs;
        if (!state.seen) ms = std::min(ms, kLongestUnseenSleepMs);
        wake = std::min(wake.value_or(ms), ms);
    }
    if (state.chimeInMs) {
        const auto ms =
            static_cast<int>(std::min<std::int64_t>(*state.chimeInMs, 24LL * 3600 * 1000) + kWakeMarginMs);
        wake = std::min(wake.value_or(ms), ms);
    }
    return wake;
}
