// The clock face: hand positions, the hour rounding, the shapes and whole-face cases.
#include "render/ClockFace.h"
#include "render/SmoothLine.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

constexpr ColorValue kBg = 0x00FFFFFF, kBorder = 0x00000000, kSecond = 0x00FF8000, kMinute = 0x00009600,
                     kHour = 0x000000FF;

SettingsRecord Colours(bool circular) {
    SettingsRecord s;
    s.BGColor = kBg;
    s.TColor = kBorder;
    s.SColor = kSecond;
    s.MColor = kMinute;
    s.HColor = kHour;
    s.ClockShape = circular;
    return s;
}

struct OffsetCase {
    int value;
    HandOffset expected;
};

TEST(ClockHands, SquareSecondHand) {
    const OffsetCase cases[] = {{0, {0, 8}},   {5, {4, 7}},    {15, {8, 0}},  {20, {7, -4}},
                                {30, {0, -8}}, {37, {-5, -6}}, {45, {-8, 0}}, {53, {-5, 6}}};
    for (const auto& c : cases) {
        EXPECT_EQ(HandsFor({1, 0, c.value}, false).second, c.expected) << "second " << c.value;
    }
}

TEST(ClockHands, CircularMinuteHand) {
    // sin 30 degrees x 5 lands just under 2.5 with the clock's pi, hence 2
    const OffsetCase cases[] = {{5, {2, 4}}, {8, {4, 3}}, {20, {4, -2}}};
    for (const auto& c : cases) {
        EXPECT_EQ(HandsFor({1, c.value, 0}, true).minute, c.expected) << "minute " << c.value;
    }
}

TEST(ClockHands, SquareHourHand) {
    const std::vector<HandOffset> expected = {{3, 5},   {5, 3},   {6, 0},  {5, -3}, {3, -5}, {0, -6},
                                              {-3, -5}, {-5, -3}, {-6, 0}, {-5, 3}, {-3, 5}};
    for (int hour = 1; hour <= 11; ++hour) {
        EXPECT_EQ(HandsFor({hour, 0, 0}, false).hour, expected[static_cast<std::size_t>(hour - 1)])
            << "hour " << hour;
        EXPECT_EQ(HandsFor({hour + 12, 0, 0}, false).hour, expected[static_cast<std::size_t>(hour - 1)])
            << "hour " << hour + 12;
    }
}

TEST(ClockHands, MinuteHandIgnoresSeconds) {
    EXPECT_EQ(HandsFor({4, 17, 0}, false).minute, HandsFor({4, 17, 59}, false).minute);
}

TEST(HourPosition, RoundsHalvesToEven) {
    struct Case {
        int hour, minute, expected;
    };
    const Case cases[] = {{2, 30, 2},   {3, 30, 4},   {3, 29, 3},   {3, 31, 4},   {0, 0, 0},
                          {11, 59, 12}, {23, 30, 24}, {23, 29, 23}, {12, 30, 12}, {13, 30, 14}};
    for (const auto& c : cases) {
        EXPECT_EQ(HourPosition(c.hour, c.minute), c.expected) << c.hour << ":" << c.minute;
    }
    // 24 draws like 0
    EXPECT_EQ(HandsFor({23, 45, 0}, false).hour, HandsFor({0, 0, 0}, false).hour);
}

TEST(ClockFace, NoonOnTheSquareFace) {
    Picture clock;
    DrawClockFace(clock, {12, 0, 0}, Colours(false));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            ColorValue expected = kBg;
            if (x == 0 || y == 0 || x == 15 || y == 15)
                expected = kBorder;
            else if (x == 8 && y == 1)
                expected = kMinute; // the second hand's (8, 0) is under the border
            else if (x == 8 && y >= 2 && y <= 8)
                expected = kHour;
            EXPECT_EQ(clock.Get(x, y), expected) << "(" << x << "," << y << ")";
        }
    }
}

TEST(ClockFace, FirstFrameIsABlackSquare) {
    Picture clock;
    DrawClockFace(clock, {17, 42, 9}, SettingsRecord{});
    Picture black;
    black.Clear(0);
    EXPECT_EQ(clock, black);
}

TEST(ClockFace, CircularFaceLeavesCornersTransparent) {
    Picture clock;
    DrawClockFace(clock, {10, 8, 37}, Colours(true));
    for (auto [x, y] : {std::pair{0, 0}, {15, 0}, {0, 15}, {15, 15}, {1, 1}, {0, 8}, {8, 0}, {3, 2}}) {
        EXPECT_EQ(clock.Get(x, y), Picture::kBackground) << x << "," << y;
    }
    // the rim is border-coloured all the way round
    for (auto [x, y] : {std::pair{8, 1}, {1, 8}, {15, 8}, {8, 15}, {13, 3}, {3, 13}}) {
        EXPECT_EQ(clock.Get(x, y), kBorder) << x << "," << y;
    }
}

TEST(ClockFace, SquareFaceCoversEveryPixel) {
    Picture clock;
    DrawClockFace(clock, {7, 22, 52}, Colours(false));
    for (ColorValue p : clock.pixels)
        EXPECT_NE(p, Picture::kBackground);
}

// The help text's advice: a second hand in the background colour is not seen at all.
TEST(ClockFace, SecondHandInBackgroundColourIsInvisible) {
    SettingsRecord s = Colours(false);
    s.SColor = s.BGColor;
    for (int second : {5, 17, 33, 46}) {
        Picture with, without;
        DrawClockFace(with, {10, 10, second}, s);
        DrawClockFace(without, {10, 10, 0}, s);
        EXPECT_EQ(with, without) << second;
    }
}

TEST(ClockFace, DrawsTheWholeFaceEveryTime) {
    Picture reused, fresh;
    DrawClockFace(reused, {3, 3, 3}, Colours(true));
    DrawClockFace(reused, {9, 45, 30}, Colours(false));
    DrawClockFace(fresh, {9, 45, 30}, Colours(false));
    EXPECT_EQ(reused, fresh);
}

ColorValue FakeSystemColors(ColorValue colour) {
    if (colour == 0x80000005) return 0x00E0E0E0; // window background
    if (colour == 0x80000012) return 0x00202020; // button text
    return colour & 0xFF000000u ? 0 : colour;
}

TEST(ClockFace, SystemColoursAreResolvedForFaceAndBorder) {
    SettingsRecord s = Colours(true);
    s.BGColor = 0x80000005;
    s.TColor = 0x80000012;
    Picture clock;
    DrawClockFace(clock, {6, 0, 0}, s, FakeSystemColors);
    EXPECT_EQ(clock.Get(4, 8), 0x00E0E0E0u);
    EXPECT_EQ(clock.Get(1, 8), 0x00202020u);
}

// High contrast: COLOR_WINDOW behind, COLOR_WINDOWTEXT for the border and the hour and minute
// hands, COLOR_HIGHLIGHT for the second hand; without it the settings as they are.
TEST(ClockFace, HighContrastTakesTheSystemColours) {
    const SettingsRecord s = Colours(true), face = FaceSettings(s, true);
    EXPECT_EQ((std::vector{face.BGColor, face.TColor, face.HColor, face.MColor, face.SColor}),
              (std::vector<ColorValue>{0x80000005, 0x80000008, 0x80000008, 0x80000008, 0x8000000D}));
    EXPECT_TRUE(face.ClockShape && FaceSettings(s, false) == s);
    // every pixel of every minute's face: a system colour, a blend of one with the window's, or clear
    std::set<ColorValue> allowed{Picture::kBackground};
    for (int alpha = 0; alpha <= 255; ++alpha)
        allowed.insert({BlendColor(0, 0xFFFFFF, alpha), BlendColor(0xD77800, 0xFFFFFF, alpha)});
    const ColorResolver theme = [](ColorValue c) -> ColorValue {
        return c == 0x80000005 ? 0xFFFFFF : c == 0x8000000D ? 0xD77800 : 0;
    };
    for (int minute = 0; minute < 720; ++minute) {
        Picture clock;
        DrawHighContrastFace(clock, {minute / 60, minute % 60, minute % 60}, Colours(minute % 2), theme);
        for (const ColorValue pixel : clock.pixels)
            ASSERT_TRUE(allowed.count(pixel)) << std::hex << pixel << " at " << std::dec << minute;
    }
}

// The circles are mirror-symmetric about the centre pixel's row, column and diagonal.
TEST(Circles, AreSymmetricAndOutlineIsTheDiskRim) {
    for (int radius : {3, 5, 7}) {
        Picture disk, ring;
        FillDisk(disk, 8, 8, radius, 0);
        CircleOutline(ring, 8, 8, radius, 0);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const int mx = 16 - x, my = 16 - y; // mirror through pixel 8
                if (mx < 16) EXPECT_EQ(disk.Get(x, y), disk.Get(mx, y));
                if (my < 16) EXPECT_EQ(ring.Get(x, y), ring.Get(x, my));
                EXPECT_EQ(ring.Get(x, y), ring.Get(y, x));
                // the ring lies inside the disk, so no face colour shows outside the border
                if (ring.Get(x, y) == 0) EXPECT_EQ(disk.Get(x, y), 0u);
            }
        }
        EXPECT_EQ(disk.Get(8 + radius, 8), 0u);
        EXPECT_EQ(disk.Get(9 + radius, 8), Picture::kBackground);
    }
}

TEST(Picture, OffSurfaceAccessIsHarmless) {
    Picture p;
    p.Set(-1, 0, 0);
    p.Set(16, 3, 0);
    p.Set(3, 16, 0);
    EXPECT_EQ(p, Picture{});
    EXPECT_EQ(p.Get(-1, -1), Picture::kBackground);
    p.Set(2, 3, 0x80123456); // a surface holds colour bytes only
    EXPECT_EQ(p.Get(2, 3), 0x00123456u);
}

TEST(DrawHand, RunsFromTheCentreWithDyUp) {
    Picture hand, line;
    DrawHand(hand, 5, 6, 1, kSecond);
    SmoothLine(line, 8, 8, 13, 2, kSecond, 1.0, 2.0);
    EXPECT_EQ(hand, line);
    EXPECT_EQ(hand.Get(13, 2), kSecond);
}

} // namespace
