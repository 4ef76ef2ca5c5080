// A 16 x 16 picture of 0x00BBGGRR colours: the surface the clock face is drawn on.
#pragma once

#include <array>
#include <cstdint>

#include "render/Color.h"

struct Picture {
    static constexpr int kWidth = 16;
    static constexpr int kHeight = 16;
    // Magenta: the background of a cleared picture and the colour that turns transparent in the icon.
    static constexpr ColorValue kBackground = 0x00FF00FF;

    // Row-major, top row first, red in the low byte of each value.
    std::array<ColorValue, kWidth * kHeight> pixels;

    Picture() { Clear(); }
    void Clear(ColorValue colour = kBackground) { pixels.fill(colour); }

    static constexpr bool Contains(int x, int y) { return x >= 0 && x < kWidth && y >= 0 && y < kHeight; }

    // Off the surface there is nothing to read: callers skip such pixels; this returns the
    // background so that a stray read is harmless.
    ColorValue Get(int x, int y) const {
        return Contains(x, y) ? pixels[static_cast<std::size_t>(y * kWidth + x)] : kBackground;
    }
    // Writes off the surface are dropped. Like a real device surface only the colour bytes are kept.
    void Set(int x, int y, ColorValue colour) {
        if (Contains(x, y)) pixels[static_cast<std::size_t>(y * kWidth + x)] = colour & 0x00FFFFFFu;
    }

    bool operator==(const Picture&) const = default;
};
