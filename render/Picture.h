// A picture of 0x00BBGGRR colours up to 32 x 32: the surface the clock face is drawn on.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "base/Color.h"

struct Picture {
    // The tray icon at 96 DPI, and the size of a picture made without one.
    static constexpr int kWidth = 16;
    static constexpr int kHeight = 16;
    // The largest tray icon (32 at 200 %); the storage is fixed so a redraw never allocates.
    static constexpr int kMaxSize = 32;
    // Magenta: the background of a cleared picture and the colour that turns transparent in the icon.
    static constexpr ColorValue kBackground = 0x00FF00FF;

    // The pixels in use, row-major, top row first, rows width() apart, red in the low byte of each
    // value; iterating them visits exactly width() x height() values.
    class Pixels {
      public:
        explicit Pixels(std::size_t count) : count_(count) {}
        ColorValue* begin() { return store_.data(); }
        ColorValue* end() { return store_.data() + count_; }
        const ColorValue* begin() const { return store_.data(); }
        const ColorValue* end() const { return store_.data() + count_; }
        ColorValue* data() { return store_.data(); }
        const ColorValue* data() const { return store_.data(); }
        std::size_t size() const { return count_; }
        ColorValue& operator[](std::size_t i) { return store_[i]; }
        const ColorValue& operator[](std::size_t i) const { return store_[i]; }
        void fill(ColorValue colour) { std::fill(begin(), end(), colour); }
        bool operator==(const Pixels& other) const {
            return count_ == other.count_ && std::equal(begin(), end(), other.begin());
        }

      private:
        std::array<ColorValue, kMaxSize * kMaxSize> store_{};
        std::size_t count_;
    };

    // Sizes outside 1..kMaxSize are held to that range.
    explicit Picture(int width = kWidth, int height = kHeight)
        : pixels(static_cast<std::size_t>(Limit(width) * Limit(height))), width_(Limit(width)),
          height_(Limit(height)) {
        Clear();
    }

    Pixels pixels;

    int width() const { return width_; }
    int height() const { return height_; }

    void Clear(ColorValue colour = kBackground) { pixels.fill(colour); }

    bool Contains(int x, int y) const { return x >= 0 && x < width_ && y >= 0 && y < height_; }

    // Off the surface there is nothing to read: callers skip such pixels; this returns the
    // background so that a stray read is harmless.
    ColorValue Get(int x, int y) const {
        return Contains(x, y) ? pixels[static_cast<std::size_t>(y * width_ + x)] : kBackground;
    }
    // Writes off the surface are dropped. Like a real device surface only the colour bytes are kept.
    void Set(int x, int y, ColorValue colour) {
        if (Contains(x, y)) pixels[static_cast<std::size_t>(y * width_ + x)] = colour & 0x00FFFFFFu;
    }

    bool operator==(const Picture& other) const {
        return width_ == other.width_ && height_ == other.height_ && pixels == other.pixels;
    }

  private:
    static constexpr int Limit(int size) { return std::clamp(size, 1, kMaxSize); }

    int width_;
    int height_;
};
