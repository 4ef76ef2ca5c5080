// The icon image's layout at every tray size: the system reads it byte by byte.
#include "render/IconImage.h"

#include <gtest/gtest.h>

#include <bit>

namespace {

std::uint32_t Read32(const IconImage& image, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;)
        value = value << 8 | image.bytes[at + i];
    return value;
}

TEST(IconImage, LayoutAtEverySize) {
    for (const std::size_t n : {1u, 16u, 20u, 32u}) {
        SCOPED_TRACE(n);
        const int last = static_cast<int>(n) - 1;
        Picture picture(last + 1, last + 1);
        picture.Clear(0);                        // black: opaque, mask 0
        picture.Set(last, last, 0x00332211);     // bottom right: first colour pixel stored
        picture.Set(0, 0, Picture::kBackground); // top left: last mask row, first bit
        IconImage image;
        MakeIconImage(picture, Picture::kBackground, image);
        const std::size_t colour = 40, mask = colour + 4 * n * n, stride = 4 * ((n + 31) / 32);
        EXPECT_EQ(image.size, mask + stride * n);
        EXPECT_EQ(Read32(image, 0), 40u);
        EXPECT_EQ(Read32(image, 4), n);
        EXPECT_EQ(Read32(image, 8), 2 * n);
        EXPECT_EQ(Read32(image, 12), 32u << 16 | 1u); // one plane, 32 bits a pixel
        EXPECT_EQ(Read32(image, colour + 4 * (n - 1)), n == 1 ? 0u : 0x00112233u);
        EXPECT_EQ(Read32(image, colour + 4 * (n * n - n)), 0u); // the key pixel is black
        std::size_t maskBits = 0;
        for (std::size_t i = mask; i < image.size; ++i)
            maskBits += static_cast<std::size_t>(std::popcount(image.bytes[i]));
        EXPECT_EQ(maskBits, 1u);
        EXPECT_EQ(image.bytes[mask + stride * (n - 1)], 0x80);
    }
}

} // namespace
