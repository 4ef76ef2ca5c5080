// Reads the format and sample data of a RIFF WAVE image, for the tests of the voice clips.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

struct WaveFile {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t byteRate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::vector<std::int16_t> samples; // only for 16-bit data

    double Seconds() const { return sampleRate ? static_cast<double>(samples.size()) / sampleRate : 0.0; }
};

namespace wave_detail {
inline std::uint32_t Le(std::span<const std::byte> bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value |= static_cast<std::uint32_t>(std::to_integer<unsigned>(bytes[at + i])) << (8 * i);
    return value;
}
inline bool Tag(std::span<const std::byte> bytes, std::size_t at, const char* tag) {
    return std::memcmp(bytes.data() + at, tag, 4) == 0;
}
} // namespace wave_detail

// The whole image must be a RIFF "WAVE" form whose declared size matches the bytes, with a "fmt "
// chunk before a "data" chunk; every chunk must lie inside the image. Anything else gives nothing.
inline std::optional<WaveFile> ParseWave(std::span<const std::byte> bytes) {
    using wave_detail::Le;
    using wave_detail::Tag;
    if (bytes.size() < 12 || !Tag(bytes, 0, "RIFF") || !Tag(bytes, 8, "WAVE")) return std::nullopt;
    if (Le(bytes, 4, 4) != bytes.size() - 8) return std::nullopt;
    WaveFile wave;
    bool haveFormat = false;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::size_t size = Le(bytes, at + 4, 4);
        const std::size_t body = at + 8;
        if (size > bytes.size() - body) return std::nullopt;
        if (Tag(bytes, at, "fmt ")) {
            if (size < 16) return std::nullopt;
            wave.formatTag = static_cast<std::uint16_t>(Le(bytes, body, 2));
            wave.channels = static_cast<std::uint16_t>(Le(bytes, body + 2, 2));
            wave.sampleRate = Le(bytes, body + 4, 4);
            wave.byteRate = Le(bytes, body + 8, 4);
            wave.blockAlign = static_cast<std::uint16_t>(Le(bytes, body + 12, 2));
            wave.bitsPerSample = static_cast<std::uint16_t>(Le(bytes, body + 14, 2));
            haveFormat = true;
        } else if (Tag(bytes, at, "data")) {
            if (!haveFormat || wave.bitsPerSample != 16 || size % 2 != 0) return std::nullopt;
            for (std::size_t i = 0; i < size; i += 2)
                wave.samples.push_back(static_cast<std::int16_t>(Le(bytes, body + i, 2)));
            return wave;
        }
        at = body + size + size % 2; // chunks are padded to an even length
    }
    return std::nullopt;
}
