// An icon image as an icon resource stores it, built from a picture: the form the system turns
// into an icon in one call, with no device context or bitmap of ours on the way.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "base/Color.h"
#include "render/Picture.h"

struct IconImage {
    // A 40-byte bitmap header whose height counts both images, the colour rows at 32 bits a
    // pixel, then the one-bit AND mask with each row padded to 32 bits; rows bottom first.
    static constexpr std::size_t kHeaderSize = 40;
    static constexpr std::size_t kMaxSize =
        kHeaderSize + 4 * Picture::kMaxSize * Picture::kMaxSize + 4 * Picture::kMaxSize;

    std::array<std::uint8_t, kMaxSize> bytes{};
    std::size_t size = 0;
};

// Pixels equal to `key` (plain 0x00BBGGRR) become transparent: mask bit 1 and black colour.
// Every other pixel, black included, is opaque in its own colour. The reserved byte of every
// colour stays 0, so the system reads the image as masked, not as one with an alpha channel.
void MakeIconImage(const Picture& picture, ColorValue key, IconImage& image);
