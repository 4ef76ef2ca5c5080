// When the main window next wakes: each second's start while the clock is seen, otherwise only for
// scheduled sound that may go ahead, and when what waits for the playing sound can go on.
#include "app/Wake.h"

#include <gtest/gtest.h>

namespace {

constexpr int kSecond = 1000, kMinute = 60 * kSecond, k = kWakeMarginMs;

TEST(NextWake, Table) {
    struct Row {
        const char* what;
        ClockTime now;
        bool seen, locked, busyRule;
        std::int32_t alarm; // with the hour's beeps on
        std::optional<int> soundEnds, wake;
    };
    for (const Row& r : {
             Row{"mid-second", {10, 7, 30, 0, 0, 0, 400}, true, false, true, 1, {}, 600 + k},
             Row{"late wake", {10, 7, 30, 0, 0, 0, 980}, true, false, true, 1, {}, 20 + k},
             Row{"clock set back, display off", {9, 59, 58}, false, false, true, 1, {}, 3 * kSecond + k},
             Row{"set forward over a mark", {10, 10, 30}, false, true, false, 1, {}, kMinute},
             Row{"the last sleep before a mark", {10, 19, 30}, false, true, false, 1, {}, 31 * kSecond + k},
             Row{"locked before a mark", {10, 9, 59, 0, 0, 0, 990}, false, true, false, 1, {}, 1010 + k},
             Row{"locked, busy rule on", {10, 9, 59}, false, true, true, 1, {}, {}},
             Row{"hour's beeps while locked", {10, 59, 0}, false, true, false, 0, {}, kMinute},
             Row{"speech ends mid-second", {15, 0, 3, 0, 0, 0, 200}, true, false, true, 1, 300, 300},
         }) {
        SettingsRecord settings = DefaultSettings();
        settings.Alarm = r.alarm;
        settings.Beep = true;
        settings.QuietBusy = r.busyRule;
        EXPECT_EQ(NextWake({r.now, r.seen, r.locked, r.soundEnds, {}}, settings), r.wake) << r.what;
    }
    SettingsRecord quiet = DefaultSettings(); // quiet hours from 23 to 7, silent while away
    quiet.QuietHours = true;
    EXPECT_EQ(NextWake({{6, 59, 40}, false, false, {}, {}}, quiet), 21 * kSecond + k) << "quiet hours";
    EXPECT_EQ(NextWake({{22, 55, 0}, false, false, {}, {}}, quiet), kMinute) << "at most a minute's sleep";
    EXPECT_EQ(NextWake({{10, 9, 59}, false, true, {}, 90 * kSecond}, DefaultSettings()), 90 * kSecond + k)
        << "the alarm's minute or the timer's end, locked with the busy rule on";
}

} // namespace
