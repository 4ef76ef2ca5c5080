// Anti-aliased lines: sample the line every quarter pixel, score each sample's share of the
// pixels across the line, then blend the line colour in by that share.
#include "render/SmoothLine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "render/Rounding.h"

namespace {

constexpr double kMaxWidth = 32.0;
// Pixels across the line in one group: offsets G = floor(width - 0.001) + 1 down to -1.
constexpr std::size_t kMaxAcross = static_cast<std::size_t>(kMaxWidth) + 2;
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
    double minor[4], whole[4];
    const double firstMajor = SampleMajor(line, group * 4);
    for (int q = 0; q < 4; ++q) {
        const double t = (SampleMajor(line, group * 4 + q) - line.sMajor) * line.slope;
        minor[q] = line.trend < 0 ? line.sMinor - t : line.sMinor + t;
        whole[q] = std::floor(minor[q]);
    }
    // The reference sample is the one with the largest minor coordinate.
    const double reference = line.trend > 0 ? whole[3] : whole[0];
    const double major = std::floor(firstMajor);
    const double width = line.width;
    const double full = width >= 1 ? 1 : width;

    // The contributions for offsets G (the band spilling past the reference pixel), 0 (the
    // reference pixel) and -1 (samples lying in the pixel before it); offsets in between are
    // fully covered by every sample.
    double top = 0, centre = 0, before = 0;
    for (int q = 0; q < 4; ++q) {
        const double m = minor[q];
        const double rest = std::min(1 - (m - whole[q]), width);
        if (whole[q] < reference) {
            centre += full;
            before += rest;
        } else {
            top += std::min(m - reference, width);
            centre += rest;
        }
    }
    const auto weight = [](double sum) { return RoundToInt16(sum * 255 / 4); };
    const int g0 = line.topOffset;
    sink(major, reference + g0 - line.shift, weight(top)); // G's rule comes first, also when G is 0
    for (int g = g0 - 1; g >= 1; --g)
        sink(major, reference + g - line.shift, weight(4));
    if (g0 != 0) sink(major, reference - line.shift, weight(centre));
    sink(major, reference - 1 - line.shift, weight(before));
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
    const double majorSize = line.steep ? picture.height() : picture.width();
    const double minorSize = line.steep ? picture.width() : picture.height();

    // Straight into the rows, the size held in locals: the minor check here and the major one in
    // the loops below keep every write on the picture.
    ColorValue* const bits = picture.pixels.data();
    const int stride = picture.width();
    const auto paint = [&, bits, stride](double pixelMajor, double minor, std::int32_t alpha) {
        if (minor < 0 || minor >= minorSize) return;
        const int a = static_cast<int>(pixelMajor), b = static_cast<int>(minor);
        const int x = line.steep ? b : a, y = line.steep ? a : b;
        ColorValue& pixel = bits[static_cast<std::size_t>(y * stride + x)];
        // alpha 0 would write the pixel back unchanged and 255 would write the plain colour; like a
        // device surface the picture keeps the colour bytes only
        if (alpha >= 255) {
            pixel = plain & 0x00FFFFFFu;
        } else if (alpha > 0) {
            pixel = BlendPlain(plain, pixel, static_cast<std::uint32_t>(alpha)) & 0x00FFFFFFu;
        }
    };
    const auto alphaOf = [gain](std::int16_t weight) { return RoundToInt32(weight * gain); };

    // Every pixel of a group shares the group's major coordinate floor(S + group), so groups off
    // the picture along the major axis are skipped without being computed.
    std::int64_t first = 0;
    if (line.sMajor < 0)
        first = std::max<std::int64_t>(0, static_cast<std::int64_t>(std::ceil(-line.sMajor)) - 1);
    const auto groupMajor = [&](std::int64_t group) { return std::floor(SampleMajor(line, group * 4)); };

    if (line.trend == 0) {
        // A line parallel to its major axis has the same samples across it in every group, so
        // one group's covers serve them all (the square's border is four such lines).
        struct Across {
            double minor;
            std::int32_t alpha;
        };
        std::array<Across, kMaxAcross> across;
        std::size_t count = 0;
        CoverGroup(line, 0, [&](double, double minor, std::int16_t weight) {
            across[count++] = {minor, alphaOf(weight)};
        });
        for (std::int64_t group = first; group < line.groups; ++group) {
            const double major = groupMajor(group);
            if (major < 0) continue;
            if (major >= majorSize) break;
            for (std::size_t i = 0; i < count; ++i)
                paint(major, across[i].minor, across[i].alpha);
        }
        return;
    }

    for (std::int64_t group = first; group < line.groups; ++group) {
        const double major = groupMajor(group);
        if (major < 0) continue;
        if (major >= majorSize) break;
        CoverGroup(line, group, [&](double pixelMajor, double minor, std::int16_t weight) {
            paint(pixelMajor, minor, alphaOf(weight));
        });
    }
}
