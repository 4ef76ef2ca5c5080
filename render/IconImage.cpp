// Lays out an icon image from a picture: header, colour rows with the key blacked out, AND mask.
#include "render/IconImage.h"

namespace {

void Put32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace

void MakeIconImage(const Picture& picture, ColorValue key, IconImage& image) {
    const int width = picture.width(), height = picture.height();
    const std::size_t colourBytes = 4u * static_cast<std::size_t>(width * height);
    const std::size_t maskStride = 4u * static_cast<std::size_t>((width + 31) / 32);
    image.bytes.fill(0);
    image.size = IconImage::kHeaderSize + colourBytes + maskStride * static_cast<std::size_t>(height);

    std::uint8_t* header = image.bytes.data();
    Put32(header, IconImage::kHeaderSize);
    Put32(header + 4, static_cast<std::uint32_t>(width));
    Put32(header + 8, static_cast<std::uint32_t>(2 * height)); // colour and mask, one above the other
    header[12] = 1;                                            // planes
    header[14] = 32;                                           // bits a pixel; no compression
    Put32(header + 20, static_cast<std::uint32_t>(image.size - IconImage::kHeaderSize));

    std::uint8_t* colour = header + IconImage::kHeaderSize;
    std::uint8_t* mask = colour + colourBytes;
    key &= 0x00FFFFFFu;
    for (int y = 0; y < height; ++y) {
        const std::size_t row = static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const ColorValue c = picture.Get(x, y) & 0x00FFFFFFu;
            if (c == key) {
                mask[row * maskStride + static_cast<std::size_t>(x / 8)] |=
                    static_cast<std::uint8_t>(0x80u >> (x % 8));
                continue; // colour stays black
            }
            std::uint8_t* pixel =
                colour + 4 * (row * static_cast<std::size_t>(width) + static_cast<std::size_t>(x));
            pixel[0] = static_cast<std::uint8_t>(c >> 16); // blue
            pixel[1] = static_cast<std::uint8_t>(c >> 8);  // green
            pixel[2] = static_cast<std::uint8_t>(c);       // red
        }
    }
}
