// One reading of the local wall clock, taken once and shared by everything a tick does.
#pragma once

struct ClockTime {
    int hour = 0;   // 0..23
    int minute = 0; // 0..59
    int second = 0; // 0..59
    // the date, for what is shown in words (the tray icon's tooltip); 0 where nobody needs it
    int year = 0;
    int month = 0;       // 1..12
    int day = 0;         // 1..31
    int millisecond = 0; // 0..999, for ticks that follow the seconds
    bool operator==(const ClockTime&) const = default;
};

// The hour on a 12-hour dial: 0 -> 12, 13..23 -> 1..11, 1..12 unchanged.
inline int TwelveHourDial(int hour) {
    const int dial = (hour % 12 + 12) % 12;
    return dial == 0 ? 12 : dial;
}
