// Icons built from pictures, read back through GetIconInfo and GetDIBits: mask bits, colours,
// the key colour, sizes and the clean-up of every intermediate object.
#include "render/IconFromPicture_win32.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "base/Handles.h"
#include "render/ClockFace.h"
#include "support/GuiCounts_win32.h"

namespace {

constexpr ColorValue kMagenta = 0x00FF00FF;

ColorValue FromDib(std::uint32_t d) {
    return ((d & 0xFFu) << 16) | (d & 0xFF00u) | ((d >> 16) & 0xFFu);
}

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// Any bitmap read back as top-down 32-bit pixels in picture order (monochrome: 0 or 0xFFFFFF).
std::vector<ColorValue> ReadBits(HDC screen, HBITMAP bitmap, int width, int height) {
    std::vector<std::uint32_t> bits(static_cast<std::size_t>(width * height));
    BITMAPINFO info = TopDown32(width, height);
    EXPECT_EQ(GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), bits.data(), &info, DIB_RGB_COLORS),
              height);
    std::vector<ColorValue> out;
    for (auto d : bits)
        out.push_back(FromDib(d) & 0x00FFFFFFu);
    return out;
}

struct IconImages {
    bool isIcon = false;
    int width = 0, height = 0;
    std::vector<ColorValue> mask, colour;
};

IconImages ReadIcon(HDC screen, HICON icon) {
    IconImages out;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return out;
    // GetIconInfo hands out copies of both images: they are ours to delete
    unique_hbitmap mask(info.hbmMask), colour(info.hbmColor);
    out.isIcon = info.fIcon != FALSE;
    BITMAP description{};
    GetObjectA(colour.get(), sizeof description, &description);
    out.width = description.bmWidth;
    out.height = description.bmHeight;
    out.mask = ReadBits(screen, mask.get(), out.width, out.height);
    out.colour = ReadBits(screen, colour.get(), out.width, out.height);
    return out;
}

class IconFromPictureTest : public testing::Test {
  protected:
    unique_hdc_window screen_{nullptr};
};

Picture Face(bool circular, int size = 16) {
    SettingsRecord s = DefaultSettings();
    s.ClockShape = circular;
    Picture p(size, size);
    DrawClockFace(p, {10, 8, 37}, s);
    return p;
}

Picture Patterned() {
    Picture p;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if ((x + y) % 3 == 0) continue; // magenta
            p.Set(x, y, (x * 16u) | (y * 16u) << 8 | ((x ^ y) * 16u) << 16);
        }
    p.Set(0, 0, 0);          // black must stay opaque black
    p.Set(1, 0, 0x00FFFFFF); // white
    p.Set(2, 0, 0x00FE00FF); // one step from the key is not the key
    return p;
}

// Every pixel equal to the key is transparent (mask 1, colour black), every other pixel opaque in
// its own colour.
TEST_F(IconFromPictureTest, KeyPixelsTransparentOthersOpaque) {
    struct Case {
        const char* name;
        Picture picture;
        LONG key;
        ColorValue keyColour;
    };
    const std::vector<Case> cases = {
        {"square face", Face(false), kDefaultIconKey, kMagenta},
        {"circular face", Face(true), kDefaultIconKey, kMagenta},
        // mask rows of 20 bits are padded: every row must still start where the system expects
        {"circular face at 20", Face(true, 20), kDefaultIconKey, kMagenta},
        {"square face at 32", Face(false, 32), kDefaultIconKey, kMagenta},
        {"pattern, default key", Patterned(), kDefaultIconKey, kMagenta},
        {"pattern, key given", Patterned(), 0x00FF00FF, kMagenta},
        {"pattern, white key", Patterned(), 0x00FFFFFF, 0x00FFFFFF},
        {"all black",
         [] {
             Picture p;
             p.Clear(0);
             return p;
         }(),
         kDefaultIconKey, kMagenta},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        unique_hicon icon(IconFromPicture(c.picture, c.key));
        ASSERT_TRUE(icon);
        const IconImages images = ReadIcon(screen_.get(), icon.get());
        EXPECT_TRUE(images.isIcon);
        ASSERT_EQ(images.width, c.picture.width());
        ASSERT_EQ(images.height, c.picture.height());
        int transparent = 0;
        for (int i = 0; i < static_cast<int>(c.picture.pixels.size()); ++i) {
            const ColorValue pixel = c.picture.pixels[static_cast<std::size_t>(i)];
            const bool key = pixel == c.keyColour;
            transparent += key;
            EXPECT_EQ(images.mask[static_cast<std::size_t>(i)], key ? 0x00FFFFFFu : 0u) << "pixel " << i;
            EXPECT_EQ(images.colour[static_cast<std::size_t>(i)], key ? 0u : pixel) << "pixel " << i;
        }
        if (std::string(c.name) == "square face") {
            EXPECT_EQ(transparent, 0);
        }
        if (std::string(c.name).starts_with("circular face")) {
            EXPECT_GT(transparent, 40);
        }
    }
}

TEST_F(IconFromPictureTest, DefaultKeyEqualsMagentaKey) {
    unique_hicon byDefault(IconFromPicture(Patterned(), kDefaultIconKey));
    unique_hicon byValue(IconFromPicture(Patterned(), 0x00FF00FF));
    const IconImages a = ReadIcon(screen_.get(), byDefault.get()), b = ReadIcon(screen_.get(), byValue.get());
    EXPECT_EQ(a.mask, b.mask);
    EXPECT_EQ(a.colour, b.colour);
}

// Only the icon outlives a call.
TEST_F(IconFromPictureTest, ReleasesEveryIntermediateObject) {
    const Picture face = Face(true);
    unique_hicon(IconFromPicture(face, kDefaultIconKey)); // warm-up
    const auto before = GdiObjectCount();
    if (!before) GTEST_SKIP() << "no way to count GDI objects here";
    for (int i = 0; i < 200; ++i)
        unique_hicon(IconFromPicture(face, kDefaultIconKey));
    EXPECT_EQ(GdiObjectCount(), before);
    unique_hicon held(IconFromPicture(face, kDefaultIconKey));
    const auto withIcon = GdiObjectCount();
    EXPECT_LE(*withIcon - *before, 2u) << "an icon may hold its two images, nothing more";
}

} // namespace
