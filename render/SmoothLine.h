// Anti-aliased lines on a Picture: coverage sampled four times a pixel and mixed into what is there.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Color.h"
#include "render/Picture.h"

// Mixes `colour` over `old`: alpha 0 keeps old, 255 or more gives colour, in between each channel
// is the weighted mean rounded halves to even. Negative alphas count as 0.
ColorValue BlendColor(ColorValue colour, ColorValue old, std::int32_t alpha,
                      ColorResolver resolve = ResolvePlainColor);

// One pixel a line touches and how much of it the line covers (0..255).
struct PixelCover {
    double x;
    double y;
    std::int16_t weight;
    bool operator==(const PixelCover&) const = default;
};

// Every pixel the line would paint, in painting order, including pixels off any surface.
// For inspection and tests; SmoothLine itself keeps no list.
std::vector<PixelCover> PixelCovers(double x0, double y0, double x1, double y1, double width);

// Draws the line from (x0, y0) to (x1, y1) into `picture`, both end points included. Each touched
// pixel gets alpha = round(weight x gain). Pixels off the picture are skipped; a line whose end
// points coincide, or with a non-finite coordinate or a width outside (0, 32], draws nothing.
void SmoothLine(Picture& picture, double x0, double y0, double x1, double y1, ColorValue colour, double width,
                double gain, ColorResolver resolve = ResolvePlainColor);
