// Clock faces as plain-text PPM (P3) files: one face, or several of one size stacked one under
// another.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "render/Picture.h"

inline std::string ToPpm(const std::vector<Picture>& faces) {
    const int size = faces.empty() ? Picture::kWidth : faces.front().width();
    std::ostringstream out;
    out << "P3\n" << size << ' ' << size * static_cast<int>(faces.size()) << "\n255\n";
    for (const Picture& picture : faces) {
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const ColorValue c = picture.Get(x, y);
                out << (x ? "  " : "") << (c & 0xFF) << ' ' << ((c >> 8) & 0xFF) << ' ' << ((c >> 16) & 0xFF);
            }
            out << '\n';
        }
    }
    return out.str();
}

// Reads `count` stacked `size` x `size` faces written by ToPpm (any whitespace layout); empty when
// the file is missing, damaged or of another size.
inline std::vector<Picture> FromPpm(const std::string& path, std::size_t count = 1,
                                    int size = Picture::kWidth) {
    std::ifstream in(path);
    std::string magic;
    std::size_t width = 0, height = 0, maxValue = 0;
    const auto side = static_cast<std::size_t>(size);
    if (!(in >> magic >> width >> height >> maxValue) || magic != "P3" || width != side ||
        height != side * count || maxValue != 255)
        return {};
    std::vector<Picture> faces(count, Picture(size, size));
    for (Picture& picture : faces) {
        for (ColorValue& pixel : picture.pixels) {
            unsigned r = 0, g = 0, b = 0;
            if (!(in >> r >> g >> b) || r > 255 || g > 255 || b > 255) return {};
            pixel = r | (g << 8) | (b << 16);
        }
    }
    return faces;
}
