// When the main window next wakes: each second's start while the clock is seen, otherwise only for
// scheduled sound that may go ahead, and when what waits for the playing sound can go on.
#include "app/Wake.h"

#include <gtest/gtest.h>

namespace {

constexpr int kDay = 86400000;
constexpr int Ms(int hour, int minute, int second, int ms = 0) {
    return ((hour * 60 + minute) * 60 + second) * 1000 + ms;
}

TEST(NextWake, Table) {
    struct Row {
        const char* what;
        int now; // ms of the day
        bool seen, locked;
        std::int32_t alarm; // announcements, with the hour's beeps on
        bool busyRule;
        std::optional<int> soundEnds, wake; // ms from now
    };
    constexpr int k = kWakeMarginMs;
    for (const Row& r : {
             Row{"mid-second", Ms(10, 7, 30, 400), true, false, 1, true, {}, 600 + k},
             Row{"late wake", Ms(10, 7, 30, 980), true, false, 1, true, {}, 20 + k},
             Row{"clock set back, seen", Ms(9, 59, 58, 0), true, false, 1, true, {}, 1000 + k},
             Row{"clock set back, screen off", Ms(9, 59, 58, 0), false, false, 1, true, {}, Ms(0, 0, 3) + k},
             Row{"set forward over a mark", Ms(10, 10, 30), false, true, 1, false, {}, Ms(0, 9, 31) + k},
             Row{"in second 1, spoken", Ms(10, 10, 1, 20), false, true, 1, false, {}, Ms(0, 10, 0, -20) + k},
             Row{"locked before a mark", Ms(10, 9, 59, 990), false, true, 1, false, {}, 1010 + k},
             Row{"locked, busy rule on", Ms(10, 9, 59, 990), false, true, 1, true, {}, {}},
             Row{"locked, every 20 minutes", Ms(10, 0, 30), false, true, 2, false, {}, Ms(0, 19, 31) + k},
             Row{"locked, hourly, round midnight",
                 Ms(23, 0, 5),
                 false,
                 true,
                 4,
                 false,
                 {},
                 Ms(0, 59, 56) + k},
             Row{"hour's beeps while locked", Ms(10, 59, 0), false, true, 0, false, {}, Ms(0, 1, 0) + k},
             Row{"beeps locked, busy rule on", Ms(10, 59, 0), false, true, 0, true, {}, {}},
             Row{"nothing to sound", Ms(10, 59, 0), false, true, -1, false, {}, {}},
             Row{"speech ends mid-second", Ms(15, 0, 3, 200), true, false, 1, true, 300, 300},
             Row{"speech ends after the second", Ms(15, 0, 3, 900), true, false, 1, true, 300, 100 + k},
             Row{"speech ends, locked", Ms(15, 0, 3, 200), false, true, 1, true, 2500, 2500},
         }) {
        SettingsRecord settings = DefaultSettings();
        settings.Alarm = r.alarm;
        settings.Beep = true;
        settings.QuietBusy = r.busyRule;
        const ClockTime now{r.now / 3600000, r.now / 60000 % 60, r.now / 1000 % 60, 0, 0, 0, r.now % 1000};
        EXPECT_EQ(NextWake({now, r.seen, r.locked, r.soundEnds}, settings), r.wake) << r.what;
    }
    // quiet hours: the first mark after them, the next morning
    SettingsRecord quiet = DefaultSettings();
    quiet.QuietBusy = false;
    quiet.QuietHours = true;
    EXPECT_EQ(NextWake({{22, 55, 0}, false, true, {}}, quiet), kDay + Ms(7, 0, 1) + k - Ms(22, 55, 0));
}

} // namespace
