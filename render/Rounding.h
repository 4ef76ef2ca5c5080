// Conversions from double to whole numbers the way the clock's arithmetic expects them.
#pragma once

#include <cmath>
#include <cstdint>

namespace rounding_detail {
// Nearest whole number, exact halves to the even neighbour (2.5 -> 2, 3.5 -> 4), for values well
// inside the 64-bit range. Done by hand rather than with nearbyint, whose result follows the
// current floating-point rounding mode; each coverage weight and alpha a line paints goes through it.
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
