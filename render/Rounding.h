// Conversions from double to whole numbers the way the clock's arithmetic expects them.
#pragma once

#include <cmath>
#include <cstdint>

// Nearest whole number, exact halves to the even neighbour (2.5 -> 2, 3.5 -> 4). nearbyint follows
// the current rounding mode, which nothing in this program changes from round-to-nearest-even.
inline double RoundHalfEven(double value) {
    return std::nearbyint(value);
}

// Rounds and saturates, so an absurd input can never turn into undefined behaviour; NaN gives 0.
inline std::int32_t RoundToInt32(double value) {
    const double r = RoundHalfEven(value);
    if (!(r == r)) return 0;
    if (r >= 2147483647.0) return INT32_MAX;
    if (r <= -2147483648.0) return INT32_MIN;
    return static_cast<std::int32_t>(r);
}

inline std::int16_t RoundToInt16(double value) {
    const double r = RoundHalfEven(value);
    if (!(r == r)) return 0;
    if (r >= 32767.0) return INT16_MAX;
    if (r <= -32768.0) return INT16_MIN;
    return static_cast<std::int16_t>(r);
}
