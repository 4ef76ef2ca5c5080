// The samples of a 16-bit RIFF WAVE image, for the tests of the voice clips and of what is heard.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "announce/Wave.h"

struct WaveFile {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t byteRate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::vector<std::int16_t> samples;

    double Seconds() const { return sampleRate ? static_cast<double>(samples.size()) / sampleRate : 0.0; }
};

// What the program's own reader makes of the image, with its 16-bit samples; nothing for an image
// it does not take or for other sample sizes.
inline std::optional<WaveFile> ParseWave(std::span<const std::byte> bytes) {
    const std::optional<WaveView> view = ReadWave(bytes);
    if (!view || view->format.bitsPerSample != 16) return std::nullopt;
    WaveFile wave{view->format.formatTag,
                  view->format.channels,
                  view->format.sampleRate,
                  view->format.byteRate,
                  view->format.blockAlign,
                  view->format.bitsPerSample,
                  {}};
    for (std::size_t i = 0; i + 1 < view->data.size(); i += 2)
        wave.samples.push_back(static_cast<std::int16_t>(std::to_integer<unsigned>(view->data[i]) |
                                                         std::to_integer<unsigned>(view->data[i + 1]) << 8));
    return wave;
}
