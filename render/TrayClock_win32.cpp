// The tray icon's picture: the face is drawn into a plain buffer, copied into a bitmap the
// display understands, and turned into the icon.
#include "render/TrayClock_win32.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "render/ClockFace.h"
#include "render/IconFromPicture_win32.h"
#include "render/ResolveColor_win32.h"

TrayClock::TrayClock() = default;
TrayClock::~TrayClock() = default;

void TrayClock::SetSize(int size) {
    size = std::clamp(size, Picture::kWidth, Picture::kMaxSize);
    if (size == clock_.width()) return;
    clock_ = Picture(size, size);
    icos_.reset();
}

HICON TrayClock::Redraw(HDC referenceDC, const ClockTime& time, const SettingsRecord& settings) {
    DrawClockFace(clock_, time, settings, ResolveColorWin32);
    CopyToIcos(referenceDC);
    // The old icon goes before the new one is made; the shell keeps its own copy of the image.
    icon_.reset();
    if (icos_) icon_.reset(IconFromPicture(referenceDC, icos_.get(), kDefaultIconKey));
    return icon_.get();
}

void TrayClock::CopyToIcos(HDC referenceDC) {
    const int width = clock_.width(), height = clock_.height();
    if (!icos_) icos_.reset(CreateCompatibleBitmap(referenceDC, width, height));
    if (!icos_) return;

    // A 32-bit DIB row holds blue in the low byte, the picture red: swap them on the way.
    std::array<std::uint32_t, Picture::kMaxSize * Picture::kMaxSize> bits;
    for (std::size_t i = 0; i < clock_.pixels.size(); ++i) {
        const ColorValue c = clock_.pixels[i];
        bits[i] = ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBits(referenceDC, icos_.get(), 0, static_cast<UINT>(height), bits.data(), &info, DIB_RGB_COLORS);
}
