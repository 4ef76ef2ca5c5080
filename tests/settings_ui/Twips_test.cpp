// Twips to pixels at a window's DPI.
#include "settings_ui/Twips.h"

#include <gtest/gtest.h>

TEST(Twips, ToPixelsRoundToNearest) {
    struct Case {
        int twips, pixels;
    };
    const Case cases[] = {{0, 0},    {15, 1}, {240, 16}, {520, 35}, {305, 20}, {3075, 205}, {2610, 174},
                          {810, 54}, {7, 0},  {8, 1},    {22, 1},   {23, 2},   {-8, -1},    {-22, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(PixelsFromTwips(c.twips), c.pixels) << c.twips;
}

TEST(Twips, AndFontHeightsAtOtherDpis) {
    EXPECT_EQ(PixelsFromTwips(520, 144), 52);
    EXPECT_EQ(PixelsFromTwips(305, 144), 30); // 30.5: halves to the even neighbour
    EXPECT_EQ(PixelsFromTwips(3075, 144), 308);
    EXPECT_EQ(PixelsFromTwips(315, 120), 26);
    EXPECT_EQ(ScaleToDpi(-11, 96, 120), -14);
    EXPECT_EQ(ScaleToDpi(-16, 144, 96), -11);
}
