// The analog clock face, designed on a 16 x 16 picture and drawn scaled on larger ones.
#include "render/ClockFace.h"

#include <algorithm>
#include <cmath>

#include "render/Rounding.h"
#include "render/SmoothLine.h"

namespace {

// The clock's own value of pi; the hand tables are built with it, so a more precise value would
// move hands that sit on a rounding edge (sin 30 degrees x 5 = 2.4999... rather than 2.5).
constexpr double kPi = 3.141592653;

// Every length below is in pixels of the 16-pixel design; a face N pixels wide scales it by N / 16.
constexpr int kDesignSize = 16;
constexpr int kCircleRadius = 7;
constexpr int kSquareFaceRadius = 16; // big enough to cover every pixel

struct HandLengths {
    int second, minute, hour;
};
constexpr HandLengths kCircularHands{6, 5, 5};
constexpr HandLengths kSquareHands{8, 7, 6};

double Scaled(double designLength, int size) {
    return designLength * size / kDesignSize;
}

// The disk rule d^2 <= r^2 + r as a whole-number bound on d^2, worked out once per circle.
int DiskLimit(double radius) {
    return static_cast<int>(std::floor(radius * radius + radius));
}

// Half the width of the disk's row dy pixels from the centre: the largest h with h^2 + dy^2 within
// the limit, or -1 when the row misses the disk.
int HalfSpan(int dy, int limit) {
    const int rest = limit - dy * dy;
    if (rest < 0) return -1;
    int h = static_cast<int>(std::sqrt(static_cast<double>(rest)));
    while (h * h > rest)
        --h;
    while ((h + 1) * (h + 1) <= rest)
        ++h;
    return h;
}

// Pixels cx + from .. cx + to of one row, as far as they lie on it.
void FillSpan(ColorValue* row, int width, int cx, int from, int to, ColorValue colour) {
    const int first = std::max(0, cx + from), last = std::min(width - 1, cx + to);
    if (first <= last) std::fill(row + first, row + last + 1, colour & 0x00FFFFFFu);
}

// How far apart two colours are: the sum of the squared differences of their channels.
int Distance(ColorValue a, ColorValue b) {
    int sum = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 0xFFu) - static_cast<int>((b >> shift) & 0xFFu);
        sum += d * d;
    }
    return sum;
}

// The blend of `colour` with `window` nearest to `pixel`: the mix along the channel where the two
// differ most gives the alpha, and its neighbours absorb the rounding.
ColorValue NearestBlend(ColorValue pixel, ColorValue colour, ColorValue window) {
    int shift = 0, span = 0;
    for (int s = 0; s <= 16; s += 8) {
        const int d = static_cast<int>((colour >> s) & 0xFFu) - static_cast<int>((window >> s) & 0xFFu);
        if (std::abs(d) > std::abs(span)) shift = s, span = d;
    }
    if (span == 0) return window;
    const int offset =
        static_cast<int>((pixel >> shift) & 0xFFu) - static_cast<int>((window >> shift) & 0xFFu);
    const int guess = std::clamp(static_cast<int>(std::lround(offset * 255.0 / span)), 0, 255);
    ColorValue best = window;
    for (int alpha = std::max(0, guess - 1); alpha <= std::min(255, guess + 1); ++alpha)
        if (const ColorValue mix = BlendColor(colour, window, alpha);
            Distance(mix, pixel) < Distance(best, pixel))
            best = mix;
    return best;
}

} // namespace

std::int32_t HourPosition(int hour, int minute) {
    return RoundToInt32(hour + static_cast<double>(minute) / 60);
}

HandOffset HandOffsetFor(double angle, double length) {
    return {RoundToInt16(std::sin(angle) * length), RoundToInt16(std::cos(angle) * length)};
}

ClockHands HandsFor(const ClockTime& time, bool circular, int size) {
    const HandLengths& lengths = circular ? kCircularHands : kSquareHands;
    // The lengths are scaled unrounded; only the offsets round, halves to even, as at 16.
    // The minute hand jumps once a minute; it does not creep with the seconds.
    return {HandOffsetFor(time.second * kPi / 30, Scaled(lengths.second, size)),
            HandOffsetFor(time.minute * kPi / 30, Scaled(lengths.minute, size)),
            HandOffsetFor(HourPosition(time.hour, time.minute) * kPi / 6, Scaled(lengths.hour, size))};
}

std::int16_t LineWidthFor(int size) {
    // The design's width 1 scaled and rounded halves to even: 1.25 -> 1, 1.5 -> 2, 2 -> 2.
    return RoundToInt16(Scaled(1, size));
}

void DrawHand(Picture& clock, std::int16_t dx, std::int16_t dy, std::int16_t width, ColorValue colour,
              ColorResolver resolve) {
    // The centre uses the width for both coordinates: (8, 8) on the 16 x 16 clock, (N/2, N/2) on N x N.
    const double centre = clock.width() / 2;
    SmoothLine(clock, centre, centre, centre + dx, centre - dy, colour, width, 2.0, resolve);
}

void ClearClock(Picture& clock) {
    clock.Clear(Picture::kBackground);
}

// Both circles go row by row over the disk's spans rather than testing every pixel; the rows are
// written directly, with the size held in locals.
void FillDisk(Picture& picture, int cx, int cy, double radius, ColorValue colour) {
    const int limit = DiskLimit(radius), width = picture.width(), height = picture.height();
    // A disk that holds the four corners holds every pixel (the square face's does): one fill.
    const int farX = std::max(cx, width - 1 - cx), farY = std::max(cy, height - 1 - cy);
    if (farX * farX + farY * farY <= limit) return picture.Clear(colour & 0x00FFFFFFu);
    ColorValue* row = picture.pixels.data();
    for (int y = 0; y < height; ++y, row += width) {
        const int h = HalfSpan(y - cy, limit);
        if (h >= 0) FillSpan(row, width, cx, -h, h, colour);
    }
}

void CircleOutline(Picture& picture, int cx, int cy, double radius, ColorValue colour, int thickness) {
    const int limit = DiskLimit(radius), width = picture.width(), height = picture.height();
    ColorValue* row = picture.pixels.data();
    for (int y = 0; y < height; ++y, row += width) {
        const int dy = y - cy, h = HalfSpan(dy, limit);
        if (h < 0) continue;
        // A disk pixel dx from the centre has a pixel outside within `thickness` steps along its row
        // when |dx| > h - thickness, along its column when |dx| > the span of a row that near.
        int inner = h - thickness;
        for (int k = 1; k <= thickness; ++k)
            inner = std::min({inner, HalfSpan(dy - k, limit), HalfSpan(dy + k, limit)});
        if (inner < 0) {
            FillSpan(row, width, cx, -h, h, colour);
        } else {
            FillSpan(row, width, cx, -h, -inner - 1, colour);
            FillSpan(row, width, cx, inner + 1, h, colour);
        }
    }
}

ColorValue Opaque(ColorValue colour) {
    // magenta is a basic colour of the colour chooser; one step less blue is as good to the eye
    return colour == Picture::kBackground ? colour - 0x00010000 : colour;
}

SettingsRecord FaceSettings(const SettingsRecord& settings, bool highContrast) {
    // system colour values 0x800000nn: COLOR_WINDOW 5, COLOR_WINDOWTEXT 8, COLOR_HIGHLIGHT 13
    constexpr ColorValue kWindow = 0x80000005, kWindowText = 0x80000008, kHighlight = 0x8000000D;
    SettingsRecord face = settings;
    if (highContrast) {
        face.BGColor = kWindow;
        face.TColor = face.HColor = face.MColor = kWindowText;
        face.SColor = kHighlight;
    }
    return face;
}

void DrawClockFace(Picture& clock, const ClockTime& time, const SettingsRecord& settings,
                   ColorResolver resolve) {
    const int size = clock.width();
    const int cx = size / 2, cy = clock.height() / 2;
    // The radii are scaled unrounded (8.75 at 20, 10.5 at 24) and go into the disk rule as they are.
    const double radius = Scaled(settings.ClockShape ? kCircleRadius : kSquareFaceRadius, size);
    const std::int16_t width = LineWidthFor(size);
    // The colours as they are now, each once for the whole face; the key colour that turns
    // transparent in the icon is never one of them (see Opaque).
    const ColorValue background = Opaque(resolve(settings.BGColor)),
                     border = Opaque(resolve(settings.TColor));
    ClearClock(clock);
    FillDisk(clock, cx, cy, radius, background);

    const ClockHands hands = HandsFor(time, settings.ClockShape, size);
    DrawHand(clock, hands.second.dx, hands.second.dy, width, Opaque(resolve(settings.SColor)));
    DrawHand(clock, hands.minute.dx, hands.minute.dy, width, Opaque(resolve(settings.MColor)));
    DrawHand(clock, hands.hour.dx, hands.hour.dy, width, Opaque(resolve(settings.HColor)));

    // The border goes over the hands, as thick as they are.
    if (settings.ClockShape) {
        CircleOutline(clock, cx, cy, radius, border, width);
    } else {
        // A line of whole width w at c covers c - floor(w/2) onwards, so these put the band flush
        // with the edges: 0 and size - 1 for width 1 (0 and 15 at 16), 1 and size - 1 for width 2.
        const double near = width / 2, far = size - width + width / 2, last = size - 1;
        SmoothLine(clock, 0, near, last, near, border, width, 2.0);
        SmoothLine(clock, near, 0, near, last, border, width, 2.0);
        SmoothLine(clock, 0, far, last, far, border, width, 2.0);
        SmoothLine(clock, far, 0, far, last, border, width, 2.0);
    }
}

void DrawHighContrastFace(Picture& clock, const ClockTime& time, const SettingsRecord& settings,
                          ColorResolver resolve) {
    const SettingsRecord face = FaceSettings(settings, true);
    DrawClockFace(clock, time, face, resolve);
    const ColorValue window = Opaque(resolve(face.BGColor)), text = Opaque(resolve(face.TColor)),
                     highlight = Opaque(resolve(face.SColor));
    for (ColorValue& pixel : clock.pixels) {
        if (pixel == Picture::kBackground || pixel == window || pixel == text || pixel == highlight) continue;
        const ColorValue onText = NearestBlend(pixel, text, window),
                         onHighlight = NearestBlend(pixel, highlight, window);
        pixel = Distance(onText, pixel) <= Distance(onHighlight, pixel) ? onText : onHighlight;
    }
}
