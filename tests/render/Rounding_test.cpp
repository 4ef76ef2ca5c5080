// Rounding to whole numbers: halves to even, saturation at the ends of the range.
#include "render/Rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    struct Case {
        double value;
        std::int32_t expected;
    };
    const Case cases[] = {{0.5, 0},     {1.5, 2},   {2.5, 2},     {3.5, 4},     {-0.5, 0},
                          {-1.5, -2},   {-2.5, -2}, {2.4999, 2},  {2.5001, 3},  {-2.5001, -3},
                          {7.99999, 8}, {0, 0},     {127.5, 128}, {128.5, 128}, {-7.0, -7}};
    for (const auto& c : cases) {
        EXPECT_EQ(RoundToInt32(c.value), c.expected) << c.value;
        EXPECT_EQ(RoundToInt16(c.value), c.expected) << c.value;
    }
}

TEST(Rounding, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(RoundToInt16(32767.4), 32767);
    EXPECT_EQ(RoundToInt16(32767.6), INT16_MAX);
    EXPECT_EQ(RoundToInt16(1e9), INT16_MAX);
    EXPECT_EQ(RoundToInt16(-32768.5), -32768);
    EXPECT_EQ(RoundToInt16(-1e9), INT16_MIN);
    EXPECT_EQ(RoundToInt32(1e300), INT32_MAX);
    EXPECT_EQ(RoundToInt32(-INFINITY), INT32_MIN);
    EXPECT_EQ(RoundToInt32(NAN), 0);
    EXPECT_EQ(RoundToInt16(NAN), 0);
}

// The hand-made rounding must agree with the library's round-to-nearest-even everywhere.
TEST(Rounding, AgreesWithNearbyint) {
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> wide(-1e6, 1e6);
    std::uniform_int_distribution<int> quarters(-4000, 4000);
    for (int i = 0; i < 200000; ++i) {
        const double a = wide(random), b = quarters(random) / 4.0;
        for (double v : {a, b, std::nextafter(b, 0.0), std::nextafter(b, 1e9)}) {
            ASSERT_EQ(RoundToInt32(v), static_cast<std::int32_t>(std::nearbyint(v))) << v;
        }
    }
}

} // namespace
