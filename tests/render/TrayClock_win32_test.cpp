// The redraw as the main window drives it: one live icon at a time, the first frame, and a long
// run that must leave the process's GDI and USER object counts where they started.
#include "render/TrayClock_win32.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>

#include "render/ClockFace.h"
#include "tests/render/GuiObjects_win32.h"

namespace {

// The icon's colour image in picture order (0x00BBGGRR) and whether the mask is all opaque.
struct IconPixels {
    std::array<ColorValue, 256> colour{};
    std::array<bool, 256> transparent{};
};

IconPixels ReadIcon(HDC dc, HICON icon) {
    IconPixels out;
    ICONINFO info{};
    EXPECT_TRUE(GetIconInfo(icon, &info));
    unique_hbitmap mask(info.hbmMask), colour(info.hbmColor);
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = 16;
    bmi.bmiHeader.biHeight = -16;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    std::array<std::uint32_t, 256> bits{};
    GetDIBits(dc, colour.get(), 0, 16, bits.data(), &bmi, DIB_RGB_COLORS);
    for (std::size_t i = 0; i < 256; ++i)
        out.colour[i] = ((bits[i] & 0xFFu) << 16) | (bits[i] & 0xFF00u) | ((bits[i] >> 16) & 0xFFu);
    GetDIBits(dc, mask.get(), 0, 16, bits.data(), &bmi, DIB_RGB_COLORS);
    for (std::size_t i = 0; i < 256; ++i)
        out.transparent[i] = (bits[i] & 0x00FFFFFFu) != 0;
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
    HICON icon = tray.Redraw(screen_.get(), {9, 41, 7}, SettingsRecord{});
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
        EXPECT_EQ(tray.Redraw(screen_.get(), time, settings) != nullptr, true);
        EXPECT_EQ(tray.clock(), expected);
        const IconPixels pixels = ReadIcon(screen_.get(), tray.icon());
        for (std::size_t i = 0; i < 256; ++i) {
            const bool key = expected.pixels[i] == Picture::kBackground;
            EXPECT_EQ(pixels.transparent[i], key) << i;
            EXPECT_EQ(pixels.colour[i], key ? 0u : expected.pixels[i]) << i;
        }
    }
}

TEST_F(TrayClockTest, SystemColoursAreResolved) {
    SettingsRecord settings = DefaultSettings();
    settings.BGColor = 0x80000000 | COLOR_WINDOW;
    TrayClock tray;
    tray.Redraw(screen_.get(), {3, 0, 0}, settings);
    EXPECT_EQ(tray.clock().Get(3, 12), GetSysColor(COLOR_WINDOW));
}

// The previous icon is destroyed by the redraw that replaces it.
TEST_F(TrayClockTest, ExactlyOneLiveIcon) {
    TrayClock tray;
    HICON previous = tray.Redraw(screen_.get(), {1, 2, 3}, DefaultSettings());
    for (int second = 4; second < 14; ++second) {
        HICON current = tray.Redraw(screen_.get(), {1, 2, second}, DefaultSettings());
        ASSERT_TRUE(current);
        EXPECT_TRUE(IconAlive(current));
        if (current != previous) {
            EXPECT_FALSE(IconAlive(previous)) << "icon of second " << second - 1;
        }
        previous = current;
    }
}

TEST_F(TrayClockTest, TenThousandRedrawsLeakNothing) {
    TrayClock tray;
    SettingsRecord settings = DefaultSettings();
    tray.Redraw(screen_.get(), {0, 0, 0}, settings);
    const auto gdiAfterFirst = GdiObjectCount();
    const auto userAfterFirst = UserObjectCount();

    const auto start = std::chrono::steady_clock::now();
    constexpr int kRedraws = 10000;
    for (int i = 0; i < kRedraws; ++i) {
        settings.ClockShape = (i / 600) % 2 != 0;
        ASSERT_TRUE(tray.Redraw(screen_.get(), {(i / 3600) % 24, (i / 60) % 60, i % 60}, settings)) << i;
    }
    const double micros =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    std::printf("[ figure   ] TrayClock::Redraw: %.1f us per call over %d calls\n", micros / kRedraws,
                kRedraws);

    if (gdiAfterFirst) {
        EXPECT_EQ(GdiObjectCount(), gdiAfterFirst);
        std::printf("[ figure   ] GDI objects after first redraw %u, after %d more %u\n", *gdiAfterFirst,
                    kRedraws, *GdiObjectCount());
    } else {
        ADD_FAILURE() << "no way to count GDI objects in this process";
    }
    if (userAfterFirst) {
        EXPECT_EQ(UserObjectCount(), userAfterFirst);
    } else {
        std::printf("[ note     ] GetGuiResources(GR_USEROBJECTS) does not answer here; icon lifetimes are "
                    "checked by ExactlyOneLiveIcon and the GDI count (each icon holds two bitmaps)\n");
    }
}

} // namespace
