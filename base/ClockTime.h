// One reading of the local wall clock, taken once and shared by everything a tick does.
#pragma once

struct ClockTime {
    int hour = 0;   // 0..23
    int minute = 0; // 0..59
    int second = 0; // 0..59
    bool operator==(const ClockTime&) const = default;
};
