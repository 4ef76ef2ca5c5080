// Whole faces compared pixel for pixel with reviewed images kept under tests/render/golden.
// A mismatch writes <name>.actual.ppm beside the expected file for a person to look at, and
// <name>.diff.ppm: the expected face faded to grey with every differing pixel in red;
// TOCKWEN_RECORD=1 rewrites the expected files on purpose after such a review.
#include "render/ClockFace.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const std::string kGoldenDir = std::string(TOCKWEN_TEST_DATA) + "/render/golden/";

std::string ToPpm(const Picture& picture) {
    std::ostringstream out;
    out << "P3\n" << picture.width() << ' ' << picture.height() << "\n255\n";
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const ColorValue c = picture.Get(x, y);
            out << (x ? "  " : "") << (c & 0xFF) << ' ' << ((c >> 8) & 0xFF) << ' ' << ((c >> 16) & 0xFF);
        }
        out << '\n';
    }
    return out.str();
}

// Reads a P3 file written by ToPpm (any whitespace layout) of the picture's size; false when it is
// missing, damaged or of another size.
bool FromPpm(const std::string& path, Picture& picture) {
    std::ifstream in(path);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    if (!(in >> magic >> width >> height >> maxValue) || magic != "P3" || width != picture.width() ||
        height != picture.height() || maxValue != 255)
        return false;
    for (ColorValue& pixel : picture.pixels) {
        unsigned r = 0, g = 0, b = 0;
        if (!(in >> r >> g >> b) || r > 255 || g > 255 || b > 255) return false;
        pixel = r | (g << 8) | (b << 16);
    }
    return true;
}

// The expected face faded to light grey, so that the differing pixels, in pure red, stand out.
Picture DiffPicture(const Picture& actual, const Picture& expected) {
    Picture diff;
    for (int y = 0; y < Picture::kHeight; ++y) {
        for (int x = 0; x < Picture::kWidth; ++x) {
            const ColorValue e = expected.Get(x, y);
            const unsigned grey = 160 + ((e & 0xFF) + ((e >> 8) & 0xFF) + ((e >> 16) & 0xFF)) / 3 * 95 / 255;
            diff.Set(x, y, actual.Get(x, y) == e ? grey * 0x010101u : 0x000000FFu);
        }
    }
    return diff;
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

struct GoldenCase {
    const char* name;
    ClockTime time;
    SettingsRecord settings;
    int size = Picture::kWidth;
};

SettingsRecord Circular(SettingsRecord s) {
    s.ClockShape = true;
    return s;
}

SettingsRecord NightColours() {
    SettingsRecord s;
    s.BGColor = 0x00402010; // dark blue
    s.TColor = 0x0000C0FF;  // amber
    s.SColor = 0x000000FF;
    s.MColor = 0x00FFFFFF;
    s.HColor = 0x0080FF80;
    s.ClockShape = true;
    return s;
}

SettingsRecord HandsHidden(SettingsRecord s) {
    s.SColor = s.MColor = s.HColor = s.BGColor;
    return s;
}

void PrintTo(const GoldenCase& c, std::ostream* out) {
    *out << c.name;
}

class ClockGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(ClockGolden, MatchesReviewedImage) {
    const GoldenCase& c = GetParam();
    Picture clock(c.size, c.size);
    DrawClockFace(clock, c.time, c.settings);
    const std::string expectedPath = kGoldenDir + c.name + ".ppm";
    const std::string actualPath = kGoldenDir + c.name + ".actual.ppm";
    const std::string diffPath = kGoldenDir + c.name + ".diff.ppm";

    const char* record = std::getenv("TOCKWEN_RECORD");
    if (record && std::string(record) == "1") {
        WriteFile(expectedPath, ToPpm(clock));
        std::remove(actualPath.c_str());
        std::remove(diffPath.c_str());
        std::printf("recorded %s\n", expectedPath.c_str());
        return;
    }

    Picture expected(c.size, c.size);
    expected.Clear(0);
    if (!FromPpm(expectedPath, expected)) {
        WriteFile(actualPath, ToPpm(clock));
        FAIL() << "no readable " << expectedPath << "; wrote " << actualPath
               << " for review (record with TOCKWEN_RECORD=1)";
    }
    int differing = 0;
    std::ostringstream first;
    for (int y = 0; y < c.size; ++y) {
        for (int x = 0; x < c.size; ++x) {
            if (clock.Get(x, y) == expected.Get(x, y)) continue;
            if (differing++ < 5)
                first << " (" << x << "," << y << ") got " << std::hex << clock.Get(x, y) << " want "
                      << expected.Get(x, y) << std::dec;
        }
    }
    if (differing) {
        WriteFile(actualPath, ToPpm(clock));
        WriteFile(diffPath, ToPpm(DiffPicture(clock, expected)));
        FAIL() << differing << " pixels differ:" << first.str() << "; wrote " << actualPath << " and "
               << diffPath;
    }
    std::remove(actualPath.c_str());
    std::remove(diffPath.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Faces, ClockGolden,
    testing::Values(GoldenCase{"square_120000", {12, 0, 0}, DefaultSettings()},
                    GoldenCase{"square_100837", {10, 8, 37}, DefaultSettings()},
                    GoldenCase{"square_193052", {19, 30, 52}, DefaultSettings()},
                    GoldenCase{"circle_100837", {10, 8, 37}, Circular(DefaultSettings())},
                    GoldenCase{"circle_042215", {4, 22, 15}, Circular(DefaultSettings())},
                    GoldenCase{"circle_night_234541", {23, 45, 41}, NightColours()},
                    GoldenCase{"first_frame", {8, 0, 0}, SettingsRecord{}},
                    // the same face at the tray sizes of 125, 150 and 200 %
                    GoldenCase{"square_100837_20", {10, 8, 37}, DefaultSettings(), 20},
                    GoldenCase{"circle_100837_20", {10, 8, 37}, Circular(DefaultSettings()), 20},
                    GoldenCase{"square_100837_24", {10, 8, 37}, DefaultSettings(), 24},
                    GoldenCase{"circle_100837_24", {10, 8, 37}, Circular(DefaultSettings()), 24},
                    GoldenCase{"square_100837_32", {10, 8, 37}, DefaultSettings(), 32},
                    GoldenCase{"circle_100837_32", {10, 8, 37}, Circular(DefaultSettings()), 32},
                    // hands in the background colour: the same picture at every moment
                    GoldenCase{"circle_nohands_24", {10, 8, 37}, HandsHidden(NightColours()), 24}),
    [](const testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

} // namespace
