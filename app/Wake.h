// When the main window next wakes, as plain values: at the start of each second while the clock
// is seen; otherwise only for scheduled sound that may go ahead; and, either way, when the sound
// that an announcement or the hour's beeps wait for has ended.
#pragma once

#include <cstdint>
#include <optional>

#include "base/ClockTime.h"
#include "base/Settings.h"

// How long after a second's start its wake is asked for: a timer that fires a little early, or a
// clock read a little behind, must still see the new second.
inline constexpr int kWakeMarginMs = 15;
// The longest sleep while the clock is not seen and scheduled sound is due: a timer counts time
// passed, not the wall clock, which a time service may move without a word; each wake plans anew.
inline constexpr int kLongestUnseenSleepMs = 60 * 1000;

struct WakeState {
    ClockTime now;                    // the wall clock, to the millisecond
    bool seen = true;                 // the session is unlocked and the display on or dimmed
    bool locked = false;              // the session is locked: to the busy rule, the user is away
    std::optional<int> soundEndsInMs; // what waits for the playing sound: when that ends, from now
    // the timer's end, the alarm's minute or its next repeat, from now: these wake the clock
    // whether or not it is seen, locked and busy alike
    std::optional<std::int64_t> chimeInMs;
};

// Milliseconds from `state.now` to the next wake; none when nothing is due.
std::optional<int> NextWake(const WakeState& state, const SettingsRecord& settings);
