// Whole faces compared pixel for pixel with reviewed images kept under tests/render/golden.
// A mismatch writes <name>.actual.ppm beside the expected file for a person to look at, and
// <name>.diff.ppm: the expected face faded to grey with every differing pixel in red;
// TOCKWEN_RECORD=1 rewrites the expected files on purpose after such a review.
#include "render/ClockFace.h"
#include "tests/render/FacePpm.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kGoldenDir = std::string(TOCKWEN_TEST_DATA) + "/render/golden/";

// The expected face faded to light grey, so that the differing pixels, in pure red, stand out.
Picture DiffPicture(const Picture& actual, const Picture& expected) {
    Picture diff(expected.width(), expected.height());
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
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

void PrintTo(const GoldenCase& c, std::ostream* out) {
    *out << c.name;
}

class ClockGolden : public testing::TestWithParam<GoldenCase> {};

// Compares `faces` with the expected file `name`.ppm, or records it with TOCKWEN_RECORD=1.
void ExpectGolden(const std::string& name, const std::vector<Picture>& faces) {
    const std::string expectedPath = kGoldenDir + name + ".ppm";
    const std::string actualPath = kGoldenDir + name + ".actual.ppm";
    const std::string diffPath = kGoldenDir + name + ".diff.ppm";

    const char* record = std::getenv("TOCKWEN_RECORD");
    if (record && std::string(record) == "1") {
        WriteFile(expectedPath, ToPpm(faces));
        std::remove(actualPath.c_str());
        std::remove(diffPath.c_str());
        std::printf("recorded %s\n", expectedPath.c_str());
        return;
    }

    const int size = faces.front().width();
    const std::vector<Picture> expected = FromPpm(expectedPath, faces.size(), size);
    if (expected.empty()) {
        WriteFile(actualPath, ToPpm(faces));
        FAIL() << "no readable " << expectedPath << "; wrote " << actualPath
               << " for review (record with TOCKWEN_RECORD=1)";
    }
    int differing = 0;
    std::ostringstream first;
    std::vector<Picture> diffs;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                if (faces[i].Get(x, y) == expected[i].Get(x, y)) continue;
                if (differing++ < 5)
                    first << " face " << i << " (" << x << "," << y << ") got " << std::hex
                          << faces[i].Get(x, y) << " want " << expected[i].Get(x, y) << std::dec;
            }
        }
        diffs.push_back(DiffPicture(faces[i], expected[i]));
    }
    if (differing) {
        WriteFile(actualPath, ToPpm(faces));
        WriteFile(diffPath, ToPpm(diffs));
        FAIL() << differing << " pixels differ:" << first.str() << "; wrote " << actualPath << " and "
               << diffPath;
    }
    std::remove(actualPath.c_str());
    std::remove(diffPath.c_str());
}

TEST_P(ClockGolden, MatchesReviewedImage) {
    const GoldenCase& c = GetParam();
    Picture clock(c.size, c.size);
    DrawClockFace(clock, c.time, c.settings);
    ExpectGolden(c.name, {clock});
}

// Every second of 03:45 on the default square face, where a few seconds are sensitive to how
// doubles round; the end-to-end test compares the real program's tray with the same file.
TEST(ClockGoldenMinute, EverySecondOfOneMinute) {
    std::vector<Picture> faces(60);
    for (int second = 0; second < 60; ++second)
        DrawClockFace(faces[static_cast<std::size_t>(second)], {3, 45, second}, DefaultSettings());
    ExpectGolden("minute_0345", faces);
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
                    GoldenCase{"circle_100837_32", {10, 8, 37}, Circular(DefaultSettings()), 32}),
    [](const testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

} // namespace
