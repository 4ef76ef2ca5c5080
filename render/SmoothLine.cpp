// Anti-aliased lines: sample the line every quarter pixel, score each sample's share of the
// pixels across the line, then blend the line colour in by that share.
#include "render/SmoothLine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "render/Rounding.h"

namespace {

constexpr double kMaxWidth = 32.0;
// Beyond this the quarter-pixel steps stop being exact; no clock line is anywhere near it.
constexpr double kMaxCoordinate = 1e9;

struct LineSetup {
    bool steep = false; // the major axis is y
    double sMajor = 0, sMinor = 0, slope = 0;
    int trend = 0;           // -1: minor coordinate falls from S to E, +1: rises, 0: parallel
    std::int64_t groups = 0; // complete groups of four samples, one per major pixel
    double width = 1;
    int topOffset = 1; // G
    double shift = 0;  // floor(width / 2)
};

double SampleMajor(const LineSetup& line, std::int64_t index) {
    return line.sMajor + 0.25 * static_cast<double>(index);
}

bool SetUpLine(double x0, double y0, double x1, double y1, double width, LineSetup& line) {
    for (double v : {x0, y0, x1, y1}) {
        if (!(std::fabs(v) <= kMaxCoordinate)) return false; // also catches NaN and infinities
    }
    if (!(width > 0 && width <= kMaxWidth)) return false;
    if (x0 == x1 && y0 == y1) return false;

    // Equal extents count as shallow.
    line.steep = std::fabs(y0 - y1) > std::fabs(x0 - x1);
    double p0Major = line.steep ? y0 : x0, p0Minor = line.steep ? x0 : y0;
    double p1Major = line.steep ? y1 : x1, p1Minor = line.steep ? x1 : y1;
    const bool p0First = p0Major <= p1Major;
    line.sMajor = p0First ? p0Major : p1Major;
    line.sMinor = p0First ? p0Minor : p1Minor;
    const double eMajor = p0First ? p1Major : p0Major;
    const double eMinor = p0First ? p1Minor : p0Minor;

    line.slope = std::fabs(line.sMinor - eMinor) / std::fabs(line.sMajor - eMajor);
    line.trend = line.sMinor > eMinor ? -1 : (line.sMinor < eMinor ? 1 : 0);

    // Samples run while the major coordinate is at most one pixel past E; count them exactly as
    // they will be generated, correcting the estimate for rounding at either side.
    const double limit = eMajor + 1;
    auto samples = static_cast<std::int64_t>(std::floor((limit - line.sMajor) * 4)) + 1;
    while (samples > 0 && SampleMajor(line, samples - 1) > limit)
        --samples;
    while (SampleMajor(line, samples) <= limit)
        ++samples;
    // Only complete groups are drawn: with whole-number end points that is every pixel from S to E.
    line.groups = samples / 4;

    line.width = width;
    line.topOffset = static_cast<int>(std::floor(width - 0.001)) + 1;
    line.shift = std::floor(width / 2);
    return true;
}

// Calls sink(major, minor, weight) for each pixel of group `group`, offsets G down to -1.
template <typename Sink> void CoverGroup(const LineSetup& line, std::int64_t group, Sink&& sink) {
    double minor[4];
    const double firstMajor = SampleMajor(line, group * 4);
    for (int q = 0; q < 4; ++q) {
        const double t = (SampleMajor(line, group * 4 + q) - line.sMajor) * line.slope;
        minor[q] = line.trend < 0 ? line.sMinor - t : line.sMinor + t;
    }
    // The reference sample is the one with the largest minor coordinate.
    const double reference = std::floor(line.trend > 0 ? minor[3] : minor[0]);
    const double major = std::floor(firstMajor);
    const double width = line.width;

    for (int g = line.topOffset; g >= -1; --g) {
        double sum = 0;
        for (double m : minor) {
            const double whole = std::floor(m);
            const double frac = m - whole;
            const bool beforeReference = whole < reference;
            double c;
            if (g == line.topOffset) {
                c = beforeReference ? 0 : std::min(m - reference, width);
            } else if (g == 0) {
                c = beforeReference ? (width >= 1 ? 1 : width) : std::min(1 - frac, width);
            } else if (g == -1) {
                c = beforeReference ? std::min(1 - frac, width) : 0;
            } else {
                c = 1;
            }
            sum += c;
        }
        sink(major, reference + g - line.shift, RoundToInt16(sum * 255 / 4));
    }
}

// The channels of a plain colour mixed by an alpha already limited to 0..255.
ColorValue BlendPlain(ColorValue colour, ColorValue old, std::uint32_t alpha) {
    ColorValue out = colour & 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t c = (colour >> shift) & 0xFFu;
        const std::uint32_t o = (old >> shift) & 0xFFu;
        const std::uint32_t n = c * alpha + o * (255 - alpha);
        // Nearest whole number to n / 255. An odd divisor never leaves an exact half, so this
        // equals rounding the double quotient with halves to even.
        out |= ((2 * n + 255) / 510) << shift;
    }
    return out;
}

std::uint32_t LimitAlpha(std::int32_t alpha) {
    return static_cast<std::uint32_t>(std::clamp<std::int32_t>(alpha, 0, 255));
}

} // namespace

ColorValue ResolvePlainColor(ColorValue colour) {
    return (colour & 0xFF000000u) == 0 ? colour : 0;
}

ColorValue BlendColor(ColorValue colour, ColorValue old, std::int32_t alpha, ColorResolver resolve) {
    return BlendPlain(resolve(colour), resolve(old), LimitAlpha(alpha));
}

std::vector<PixelCover> PixelCovers(double x0, double y0, double x1, double y1, double width) {
    std::vector<PixelCover> covers;
    LineSetup line;
    if (!SetUpLine(x0, y0, x1, y1, width, line)) return covers;
    for (std::int64_t group = 0; group < line.groups; ++group) {
        CoverGroup(line, group, [&](double major, double minor, std::int16_t weight) {
            covers.push_back(line.steep ? PixelCover{minor, major, weight}
                                        : PixelCover{major, minor, weight});
        });
    }
    return covers;
}

void SmoothLine(Picture& picture, double x0, double y0, double x1, double y1, ColorValue colour, double width,
                double gain, ColorResolver resolve) {
    LineSetup line;
    if (!SetUpLine(x0, y0, x1, y1, width, line)) return;
    // Resolved once: the colour cannot change in the middle of a line.
    const ColorValue plain = resolve(colour);
    const double majorSize = line.steep ? Picture::kHeight : Picture::kWidth;
    const double minorSize = line.steep ? Picture::kWidth : Picture::kHeight;

    // Every pixel of a group shares the group's major coordinate floor(S + group), so groups off
    // the picture along the major axis are skipped without being computed.
    std::int64_t group = 0;
    if (line.sMajor < 0)
        group = std::max<std::int64_t>(0, static_cast<std::int64_t>(std::ceil(-line.sMajor)) - 1);
    for (; group < line.groups; ++group) {
        const double major = std::floor(SampleMajor(line, group * 4));
        if (major < 0) continue;
        if (major >= majorSize) break;
        CoverGroup(line, group, [&](double pixelMajor, double minor, std::int16_t weight) {
            if (minor < 0 || minor >= minorSize) return;
            const int a = static_cast<int>(pixelMajor), b = static_cast<int>(minor);
            const int x = line.steep ? b : a, y = line.steep ? a : b;
            const std::int32_t alpha = RoundToInt32(weight * gain);
            picture.Set(x, y, BlendPlain(plain, picture.Get(x, y), LimitAlpha(alpha)));
        });
    }
}

void DrawHand(Picture& clock, std::int16_t dx, std::int16_t dy, std::int16_t width, ColorValue colour,
              ColorResolver resolve) {
    // The centre uses the width for both coordinates: (8, 8) on the 16 x 16 clock.
    const double centre = Picture::kWidth / 2;
    SmoothLine(clock, centre, centre, centre + dx, centre - dy, colour, width, 2.0, resolve);
}
