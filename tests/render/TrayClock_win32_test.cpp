// The redraw as the main window drives it: one live icon at a time, the first frame, and a long
// run that must leave the process's GDI and USER object counts where they started.
#include "render/TrayClock_win32.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "render/ClockFace.h"
#include "render/FacePpm.h"
#include "support/GuiCounts_win32.h"

namespace {

// Draws and builds whether or not the picture changed, as the main window does for a change.
HICON Redraw(TrayClock& tray, const ClockTime& time, const SettingsRecord& settings) {
    tray.Draw(time, settings);
    return tray.BuildIcon();
}

// The icon's colour image in picture order (0x00BBGGRR), which pixels the mask makes transparent,
// and the sizes of its two bitmaps.
struct IconPixels {
    std::vector<ColorValue> colour;
    std::vector<bool> transparent;
    std::array<LONG, 4> sizes{}; // colour bitmap's width and height, then the mask's
};

IconPixels ReadIcon(HDC dc, HICON icon, int size = 16) {
    IconPixels out;
    ICONINFO info{};
    EXPECT_TRUE(GetIconInfo(icon, &info));
    unique_hbitmap mask(info.hbmMask), colour(info.hbmColor);
    BITMAP c{}, m{};
    GetObjectW(colour.get(), sizeof c, &c);
    GetObjectW(mask.get(), sizeof m, &m);
    out.sizes = {c.bmWidth, c.bmHeight, m.bmWidth, m.bmHeight};
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = size;
    bmi.bmiHeader.biHeight = -size;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    std::vector<std::uint32_t> bits(static_cast<std::size_t>(size * size));
    GetDIBits(dc, colour.get(), 0, static_cast<UINT>(size), bits.data(), &bmi, DIB_RGB_COLORS);
    for (std::uint32_t b : bits)
        out.colour.push_back(((b & 0xFFu) << 16) | (b & 0xFF00u) | ((b >> 16) & 0xFFu));
    GetDIBits(dc, mask.get(), 0, static_cast<UINT>(size), bits.data(), &bmi, DIB_RGB_COLORS);
    for (std::uint32_t b : bits)
        out.transparent.push_back((b & 0x00FFFFFFu) != 0);
    return out;
}

bool IconAlive(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return false;
    unique_hbitmap mask(info.hbmMask), colour(info.hbmColor);
    return true;
}

class TrayClockTest : public testing::Test {
  protected:
    unique_hdc_window screen_{nullptr};
};

TEST_F(TrayClockTest, FirstFrameIsABlackSquare) {
    TrayClock tray;
    HICON icon = Redraw(tray, {9, 41, 7}, SettingsRecord{});
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon, tray.icon());
    const IconPixels pixels = ReadIcon(screen_.get(), icon);
    for (std::size_t i = 0; i < 256; ++i) {
        EXPECT_EQ(pixels.colour[i], 0u) << i;
        EXPECT_FALSE(pixels.transparent[i]) << i;
    }
}

// The icon shows exactly the picture the core draws, corners of a round face transparent.
TEST_F(TrayClockTest, IconShowsTheDrawnFace) {
    TrayClock tray;
    for (bool circular : {false, true}) {
        SettingsRecord settings = DefaultSettings();
        settings.ClockShape = circular;
        const ClockTime time{14, 27, 51};
        Picture expected;
        DrawClockFace(expected, time, settings);
        EXPECT_EQ(Redraw(tray, time, settings) != nullptr, true);
        EXPECT_EQ(tray.clock(), expected);
        const IconPixels pixels = ReadIcon(screen_.get(), tray.icon());
        for (std::size_t i = 0; i < 256; ++i) {
            const bool key = expected.pixels[i] == Picture::kBackground;
            EXPECT_EQ(pixels.transparent[i], key) << i;
            EXPECT_EQ(pixels.colour[i], key ? 0u : expected.pixels[i]) << i;
        }
    }
}

// At the shell's size the icon is that size and shows the reviewed face for it; one TrayClock
// goes through the sizes, so a bitmap left from the previous size would show.
TEST_F(TrayClockTest, IconAtTheShellsSizeShowsItsGolden) {
    struct Case {
        int size;
        bool circular;
        const char* golden;
    };
    TrayClock tray;
    for (const Case& c : {Case{24, false, "square_100837_24"}, Case{24, true, "circle_100837_24"},
                          Case{16, false, "square_100837"}}) {
        SCOPED_TRACE(c.golden);
        const std::vector<Picture> faces =
            FromPpm(std::string(TOCKWEN_TEST_DATA) + "/render/golden/" + c.golden + ".ppm", 1, c.size);
        ASSERT_FALSE(faces.empty());
        const Picture::Pixels& golden = faces.front().pixels;
        SettingsRecord settings = DefaultSettings();
        settings.ClockShape = c.circular;
        tray.SetSize(c.size);
        ASSERT_TRUE(Redraw(tray, {10, 8, 37}, settings));
        const IconPixels pixels = ReadIcon(screen_.get(), tray.icon(), c.size);
        EXPECT_EQ(pixels.sizes, (std::array<LONG, 4>{c.size, c.size, c.size, c.size}));
        for (std::size_t i = 0; i < golden.size(); ++i) {
            const bool key = golden[i] == Picture::kBackground;
            EXPECT_EQ(pixels.transparent[i], key) << i;
            EXPECT_EQ(pixels.colour[i], key ? 0u : golden[i]) << i;
        }
    }
}

TEST_F(TrayClockTest, SystemColoursAreResolved) {
    SettingsRecord settings = DefaultSettings();
    settings.BGColor = 0x80000000 | COLOR_WINDOW;
    TrayClock tray;
    Redraw(tray, {3, 0, 0}, settings);
    EXPECT_EQ(tray.clock().Get(3, 12), GetSysColor(COLOR_WINDOW));
}

// Magenta, a basic colour of the colour chooser, shows as a colour, not as a hole where the tray
// shows through: only the corners of a round face are transparent, whatever the colours.
TEST_F(TrayClockTest, MagentaIsAColourNotAHole) {
    for (bool circular : {false, true}) {
        SettingsRecord magenta = DefaultSettings(), plain = DefaultSettings();
        magenta.BGColor = magenta.SColor = magenta.MColor = magenta.HColor = Picture::kBackground;
        magenta.ClockShape = plain.ClockShape = circular;
        TrayClock withMagenta, withPlain;
        const IconPixels a = ReadIcon(screen_.get(), Redraw(withMagenta, {10, 8, 37}, magenta));
        const IconPixels b = ReadIcon(screen_.get(), Redraw(withPlain, {10, 8, 37}, plain));
        EXPECT_EQ(a.transparent, b.transparent) << (circular ? "round" : "square");
        EXPECT_EQ(a.colour[8 * 16 + 3], 0x00FE00FFu) << "the face one step of blue from magenta";
    }
}

// The previous icon is destroyed by the redraw that replaces it.
TEST_F(TrayClockTest, ExactlyOneLiveIcon) {
    TrayClock tray;
    HICON previous = Redraw(tray, {1, 2, 3}, DefaultSettings());
    for (int second = 4; second < 14; ++second) {
        HICON current = Redraw(tray, {1, 2, second}, DefaultSettings());
        ASSERT_TRUE(current);
        EXPECT_TRUE(IconAlive(current));
        if (current != previous) {
            EXPECT_FALSE(IconAlive(previous)) << "icon of second " << second - 1;
        }
        previous = current;
    }
}

TEST_F(TrayClockTest, ThousandRedrawsLeakNothing) {
    TrayClock tray;
    SettingsRecord settings = DefaultSettings();
    Redraw(tray, {0, 0, 0}, settings);
    const auto gdiAfterFirst = GdiObjectCount();
    const auto userAfterFirst = UserObjectCount();
    ASSERT_TRUE(gdiAfterFirst) << "no way to count GDI objects in this process";
    for (int i = 0; i < 1000; ++i) {
        settings.ClockShape = (i / 600) % 2 != 0;
        ASSERT_TRUE(Redraw(tray, {(i / 3600) % 24, (i / 60) % 60, i % 60}, settings)) << i;
    }
    EXPECT_EQ(GdiObjectCount(), gdiAfterFirst);
    // GetGuiResources(GR_USEROBJECTS) may not answer; icon lifetimes are then checked by
    // ExactlyOneLiveIcon and the GDI count (each icon holds two bitmaps)
    if (userAfterFirst) EXPECT_EQ(UserObjectCount(), userAfterFirst);
}

} // namespace
