// Conversions from double to whole numbers the way the clock's arithmetic expects them.
#pragma once

#include <cmath>
#include <cstdint>

// Nearest whole number, exact halves to the even neighbour (2.5 -> 2, 3.5 -> 4). Done by hand
// because it runs for every pixel of every line and the library's nearbyint saves and restores
// the floating-point state on each call; the result is the same.
inline double RoundHalfEven(double value) {
    constexpr double kNoFraction = 4503599627370496.0;   // 2^52: from here on every double is whole
    if (!(std::fabs(value) < kNoFraction)) return value; // also NaN and infinities
    const auto truncated = static_cast<std::int64_t>(value);
    const double whole = static_cast<double>(truncated);
    const double fraction = value - whole; // exact
    const bool odd = (truncated & 1) != 0;
    if (fraction > 0.5 || (fraction == 0.5 && odd)) return whole + 1;
    if (fraction < -0.5 || (fraction == -0.5 && odd)) return whole - 1;
    return whole;
}

namespace rounding_detail {
// For values well inside the 64-bit range; branch-free because it runs for every pixel a line covers.
inline std::int64_t RoundInRange(double value) {
    const auto truncated = static_cast<std::int64_t>(value);
    const double fraction = value - static_cast<double>(truncated); // exact
    const std::int64_t odd = truncated & 1;
    return truncated + (fraction > 0.5) - (fraction < -0.5) + ((fraction == 0.5) & odd) -
           ((fraction == -0.5) & odd);
}
} // namespace rounding_detail

// Rounds halves to even and saturates, so an absurd input can never turn into undefined
// behaviour; NaN gives 0.
inline std::int32_t RoundToInt32(double value) {
    if (!(value == value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return static_cast<std::int32_t>(rounding_detail::RoundInRange(value));
}

inline std::int16_t RoundToInt16(double value) {
    if (!(value == value)) return 0;
    if (value >= 32767.0) return INT16_MAX;
    if (value <= -32768.0) return INT16_MIN;
    return static_cast<std::int16_t>(rounding_detail::RoundInRange(value));
}
