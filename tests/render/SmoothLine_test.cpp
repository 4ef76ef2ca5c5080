// Anti-aliased lines and colour mixing: pinned pixel lists, symmetry, clipping and blending.
#include "render/SmoothLine.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr ColorValue kWhite = 0x00FFFFFF;
constexpr ColorValue kRed = 0x000000FF;

std::vector<PixelCover> Covers(double x0, double y0, double x1, double y1) {
    return PixelCovers(x0, y0, x1, y1, 1.0);
}

// The line from the centre to (14, 3), as it must come out pixel by pixel.
TEST(SmoothLine, WorkedExampleCovers) {
    const std::vector<PixelCover> expected = {
        {8, 9, 0},    {8, 8, 255},  {8, 7, 80},   {9, 8, 11},   {9, 7, 244}, {9, 6, 48},   {10, 7, 29},
        {10, 6, 226}, {10, 5, 24},  {11, 6, 56},  {11, 5, 199}, {11, 4, 8},  {12, 5, 90},  {12, 4, 165},
        {12, 3, 0},   {13, 4, 133}, {13, 3, 122}, {13, 2, 0},   {14, 4, 0},  {14, 3, 255}, {14, 2, 80}};
    EXPECT_EQ(Covers(8, 8, 14, 3), expected);
}

TEST(SmoothLine, WorkedExamplePaintsWithGainTwo) {
    Picture picture;
    picture.Clear(kWhite);
    SmoothLine(picture, 8, 8, 14, 3, kRed, 1.0, 2.0);
    // weight 128 or more: alpha is capped at 255 and the pixel is the pure line colour
    EXPECT_EQ(picture.Get(9, 7), kRed);                           // 244
    EXPECT_EQ(picture.Get(13, 4), kRed);                          // 133
    EXPECT_EQ(picture.Get(13, 3), BlendColor(kRed, kWhite, 244)); // 122 x 2
    EXPECT_EQ(picture.Get(8, 7), BlendColor(kRed, kWhite, 160));  // 80 x 2
    EXPECT_EQ(picture.Get(11, 4), BlendColor(kRed, kWhite, 16));  // 8 x 2
    EXPECT_EQ(picture.Get(8, 9), kWhite);                         // weight 0 leaves the pixel as it was
    EXPECT_EQ(picture.Get(12, 3), kWhite);
    EXPECT_EQ(picture.Get(15, 3), kWhite); // nothing past the end point
}

struct StraightCase {
    const char* name;
    double x0, y0, x1, y1;
    std::vector<std::pair<int, int>> painted;
};

std::vector<std::pair<int, int>> Span(int x0, int y0, int x1, int y1) {
    std::vector<std::pair<int, int>> out;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            out.emplace_back(x, y);
    return out;
}

// A whole-number horizontal or vertical line paints exactly its own pixels, both ends included.
TEST(SmoothLine, StraightLinesPaintExactlyTheirPixels) {
    const std::vector<StraightCase> cases = {
        {"vertical from the centre up", 8, 8, 8, 0, Span(8, 0, 8, 8)},
        {"top edge", 0, 0, 15, 0, Span(0, 0, 15, 0)},
        {"left edge", 0, 0, 0, 15, Span(0, 0, 0, 15)},
        {"bottom edge right to left", 15, 15, 0, 15, Span(0, 15, 15, 15)},
        {"short horizontal", 3, 5, 4, 5, Span(3, 5, 4, 5)},
        {"one pixel down", 6, 6, 6, 7, Span(6, 6, 6, 7)},
    };
    for (const auto& c : cases) {
        Picture picture;
        picture.Clear(kWhite);
        SmoothLine(picture, c.x0, c.y0, c.x1, c.y1, kRed, 1.0, 2.0);
        std::set<std::pair<int, int>> want(c.painted.begin(), c.painted.end());
        for (int y = 0; y < Picture::kHeight; ++y) {
            for (int x = 0; x < Picture::kWidth; ++x) {
                EXPECT_EQ(picture.Get(x, y), want.count({x, y}) ? kRed : kWhite)
                    << c.name << " at (" << x << "," << y << ")";
            }
        }
    }
}

TEST(SmoothLine, VerticalLineGivesItsNeighboursWeightZero) {
    std::vector<PixelCover> expected;
    for (int y = 0; y <= 8; ++y) {
        expected.push_back({9, double(y), 0});
        expected.push_back({8, double(y), 255});
        expected.push_back({7, double(y), 0});
    }
    EXPECT_EQ(Covers(8, 8, 8, 0), expected);
}

// |dx| = |dy| is shallow: x is the major axis, one group per column.
TEST(SmoothLine, DiagonalIsShallow) {
    std::vector<PixelCover> expected;
    for (int i = 0; i <= 4; ++i) {
        const double x = 8 + i, r = 8 - i;
        // the three quarter-samples before the reference pixel spill 1.5 of 4 into the row above
        expected.push_back({x, r + 1, 0});
        expected.push_back({x, r, 255});
        expected.push_back({x, r - 1, 96});
    }
    EXPECT_EQ(Covers(8, 8, 12, 4), expected);
    EXPECT_EQ(Covers(12, 4, 8, 8), expected);
    for (const auto& cover : Covers(3, 3, 10, 10))
        EXPECT_GE(cover.x, 3);
}

TEST(SmoothLine, SwappingEndPointsChangesNothing) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-4, 20);
    std::vector<std::pair<std::pair<int, int>, std::pair<int, int>>> lines;
    for (int dx = -8; dx <= 8; ++dx)
        for (int dy = -8; dy <= 8; ++dy)
            lines.push_back({{8, 8}, {8 + dx, 8 - dy}});
    for (int i = 0; i < 300; ++i)
        lines.push_back({{coordinate(random), coordinate(random)}, {coordinate(random), coordinate(random)}});

    for (const auto& [p0, p1] : lines) {
        SCOPED_TRACE(testing::Message()
                     << "(" << p0.first << "," << p0.second << ")-(" << p1.first << "," << p1.second << ")");
        EXPECT_EQ(Covers(p0.first, p0.second, p1.first, p1.second),
                  Covers(p1.first, p1.second, p0.first, p0.second));
        Picture forward, backward;
        SmoothLine(forward, p0.first, p0.second, p1.first, p1.second, kRed, 1.0, 2.0);
        SmoothLine(backward, p1.first, p1.second, p0.first, p0.second, kRed, 1.0, 2.0);
        EXPECT_EQ(forward, backward);
    }
}

TEST(SmoothLine, EveryPixelOnceWithWholeNumberEnds) {
    for (int dx = -8; dx <= 8; ++dx) {
        for (int dy = -8; dy <= 8; ++dy) {
            const auto covers = Covers(8, 8, 8 + dx, 8 - dy);
            if (dx == 0 && dy == 0) {
                EXPECT_TRUE(covers.empty());
                continue;
            }
            // three pixels per major step, S to E inclusive
            EXPECT_EQ(covers.size(),
                      static_cast<std::size_t>(3 * (std::max(std::abs(dx), std::abs(dy)) + 1)));
            std::set<std::pair<double, double>> seen;
            for (const auto& c : covers) {
                EXPECT_TRUE(seen.insert({c.x, c.y}).second) << dx << "," << dy;
                EXPECT_GE(c.weight, 0);
                EXPECT_LE(c.weight, 255);
            }
        }
    }
}

// No caller uses other widths, but the same rules apply: the offsets run from G = floor(width -
// 0.001) + 1 down to -1, shifted by floor(width / 2), and each contribution is capped at the width.
TEST(SmoothLine, OtherWidthsFollowTheSameRules) {
    // two rows thick: the reference row and the one above it
    EXPECT_EQ(
        PixelCovers(0, 5, 1, 5, 2.0),
        (std::vector<PixelCover>{
            {0, 6, 0}, {0, 5, 255}, {0, 4, 255}, {0, 3, 0}, {1, 6, 0}, {1, 5, 255}, {1, 4, 255}, {1, 3, 0}}));
    // half a pixel: 4 x 0.5 x 255 / 4 = 127.5, which rounds to the even 128
    EXPECT_EQ(
        PixelCovers(3, 2, 3, 3, 0.5),
        (std::vector<PixelCover>{{4, 2, 0}, {3, 2, 128}, {2, 2, 0}, {4, 3, 0}, {3, 3, 128}, {2, 3, 0}}));
    // so thin that G is 0: the first rule wins for offset 0 and nothing is covered
    EXPECT_EQ(PixelCovers(0, 0, 1, 0, 0.0005),
              (std::vector<PixelCover>{{0, 0, 0}, {0, -1, 0}, {1, 0, 0}, {1, -1, 0}}));
}

TEST(SmoothLine, DegenerateOrUnusableLinesDrawNothing) {
    struct Case {
        const char* name;
        double x0, y0, x1, y1, width;
    };
    const double inf = INFINITY, nan = NAN;
    const Case cases[] = {
        {"end points equal", 5, 5, 5, 5, 1.0}, {"infinite end", 0, 0, inf, 3, 1.0},
        {"NaN end", nan, 0, 4, 4, 1.0},        {"huge coordinate", -1e300, 8, 8, 8, 1.0},
        {"negative width", 0, 0, 8, 8, -1.0},  {"NaN width", 0, 0, 8, 8, nan},
    };
    for (const auto& c : cases) {
        Picture picture;
        SmoothLine(picture, c.x0, c.y0, c.x1, c.y1, kRed, c.width, 2.0);
        EXPECT_EQ(picture, Picture{}) << c.name;
        EXPECT_TRUE(PixelCovers(c.x0, c.y0, c.x1, c.y1, c.width).empty()) << c.name;
    }
}

// Painting a list by hand, skipping pixels off the surface.
Picture PaintFromList(double x0, double y0, double x1, double y1, ColorValue colour) {
    Picture picture;
    picture.Clear(kWhite);
    for (const auto& c : Covers(x0, y0, x1, y1)) {
        if (c.x < 0 || c.y < 0 || c.x >= Picture::kWidth || c.y >= Picture::kHeight) continue;
        const int x = int(c.x), y = int(c.y);
        picture.Set(x, y, BlendColor(colour, picture.Get(x, y), int(std::nearbyint(c.weight * 2.0))));
    }
    return picture;
}

// Lines that leave the surface are cut off there and nothing else changes.
TEST(SmoothLine, PixelsOffTheSurfaceAreSkipped) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(-40, 56);
    std::vector<std::array<double, 4>> lines = {{8, 8, 8, 16},    {8, 8, 16, 8},   {-30, 8, 40, 8},
                                                {-5, -5, -1, -3}, {20, 0, 40, 10}, {-100, -90, 100, 110}};
    for (int i = 0; i < 400; ++i)
        lines.push_back({double(coordinate(random)), double(coordinate(random)), double(coordinate(random)),
                         double(coordinate(random))});
    for (const auto& l : lines) {
        Picture picture;
        picture.Clear(kWhite);
        SmoothLine(picture, l[0], l[1], l[2], l[3], kRed, 1.0, 2.0);
        EXPECT_EQ(picture, PaintFromList(l[0], l[1], l[2], l[3], kRed))
            << "(" << l[0] << "," << l[1] << ")-(" << l[2] << "," << l[3] << ")";
    }

    Picture cut;
    cut.Clear(kWhite);
    SmoothLine(cut, 8, 8, 8, 16, kRed, 1.0, 2.0); // second hand at half past on the square face
    EXPECT_EQ(cut.Get(8, 15), kRed);
    Picture outside;
    SmoothLine(outside, -5, -5, -1, -3, kRed, 1.0, 2.0);
    EXPECT_EQ(outside, Picture{});
}

// A later line mixes over what an earlier one left.
TEST(SmoothLine, LinesMixOverEarlierLines) {
    Picture picture;
    picture.Clear(kWhite);
    SmoothLine(picture, 8, 8, 14, 3, kRed, 1.0, 2.0);
    const ColorValue blue = 0x00FF0000;
    SmoothLine(picture, 8, 8, 8, 0, blue, 1.0, 2.0);
    EXPECT_EQ(picture.Get(8, 8), blue);
    EXPECT_EQ(picture.Get(8, 7), blue);
    EXPECT_EQ(picture.Get(9, 7), kRed); // weight 0 from the vertical line
}

ColorValue FakeSystemColors(ColorValue colour) {
    if (colour == 0x80000008) return 0x00123456;
    if (colour == 0x80000005) return 0x00ABCDEF;
    return colour & 0xFF000000u ? 0 : colour;
}

TEST(BlendColor, Table) {
    struct Case {
        ColorValue colour, old;
        std::int32_t alpha;
        ColorValue expected;
    };
    const Case cases[] = {
        {kRed, kWhite, 128, 0x007F7FFF}, // red 255, green and blue exactly 127.0
        {kRed, kWhite, 0, kWhite},
        {kRed, kWhite, 255, kRed},
        {kRed, kWhite, 256, kRed},
        {kRed, kWhite, 100000, kRed},
        {kRed, kWhite, -20, kWhite}, // no alpha below zero
        {0x00000000, 0x00FFFFFF, 1, 0x00FEFEFE},
        {0x00FFFFFF, 0x00000000, 1, 0x00010101},
        {0x00102030, 0x00302010, 128, 0x00202020},
        {0x00000080, 0x00000000, 255, 0x00000080},
        {0x00000001, 0x00000000, 128, 0x00000001}, // 128 / 255 = 0.502 rounds up
        {0x00000001, 0x00000000, 127, 0x00000000}, // 127 / 255 = 0.498 rounds down
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BlendColor(c.colour, c.old, c.alpha), c.expected)
            << std::hex << c.colour << " over " << c.old << " at " << std::dec << c.alpha;
    }
}

// Each channel is round((c x alpha + o x (255 - alpha)) / 255) done in doubles with halves to even.
TEST(BlendColor, MatchesTheDoubleFormulaEverywhere) {
    for (int alpha = 0; alpha <= 255; ++alpha) {
        for (std::uint32_t c = 0; c <= 255; ++c) {
            for (std::uint32_t o = 0; o <= 255; o += 3) {
                const double exact = std::nearbyint((c * double(alpha) + o * (255.0 - alpha)) / 255);
                const ColorValue got = BlendColor(c << 8, o << 8, alpha);
                ASSERT_EQ(got, static_cast<ColorValue>(exact) << 8) << c << " " << o << " " << alpha;
            }
        }
    }
}

TEST(BlendColor, SystemColoursAreResolvedFirst) {
    EXPECT_EQ(BlendColor(0x80000008, kWhite, 255, FakeSystemColors), 0x00123456u);
    EXPECT_EQ(BlendColor(kRed, 0x80000005, 0, FakeSystemColors), 0x00ABCDEFu);
    // no platform: a system colour has no value and draws black
    EXPECT_EQ(BlendColor(0x80000008, kWhite, 255), 0u);

    Picture picture;
    picture.Clear(kWhite);
    SmoothLine(picture, 2, 2, 2, 9, 0x80000008, 1.0, 2.0, FakeSystemColors);
    EXPECT_EQ(picture.Get(2, 5), 0x00123456u);
}

} // namespace
