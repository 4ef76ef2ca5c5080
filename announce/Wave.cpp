// RIFF WAVE images of PCM sound, as plain bytes.
#include "announce/Wave.h"

#include <cmath>
#include <cstring>

namespace {

std::uint32_t Le(std::span<const std::byte> bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value |= static_cast<std::uint32_t>(std::to_integer<unsigned>(bytes[at + i])) << (8 * i);
    return value;
}

bool Tag(std::span<const std::byte> bytes, std::size_t at, const char* tag) {
    return std::memcmp(bytes.data() + at, tag, 4) == 0;
}

void PutLe(std::vector<std::byte>& out, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i)
        out.push_back(static_cast<std::byte>((value >> (8 * i)) & 0xFF));
}

void PutTag(std::vector<std::byte>& out, const char* tag) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::byte>(tag[i]));
}

// The 44-byte header of a canonical WAVE image holding `dataBytes` of samples.
std::vector<std::byte> Header(const WaveFormat& format, std::uint32_t dataBytes) {
    std::vector<std::byte> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    PutLe(out, 36 + dataBytes, 4);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLe(out, 16, 4);
    PutLe(out, format.formatTag, 2);
    PutLe(out, format.channels, 2);
    PutLe(out, format.sampleRate, 4);
    PutLe(out, format.byteRate, 4);
    PutLe(out, format.blockAlign, 2);
    PutLe(out, format.bitsPerSample, 2);
    PutTag(out, "data");
    PutLe(out, dataBytes, 4);
    return out;
}

std::uint32_t SilenceBytes(const WaveFormat& format, int ms) {
    return ms > 0 ? static_cast<std::uint32_t>(format.sampleRate) * static_cast<std::uint32_t>(ms) / 1000 *
                        format.blockAlign
                  : 0;
}

} // namespace

std::optional<WaveView> ReadWave(std::span<const std::byte> image) {
    if (image.size() < 12 || !Tag(image, 0, "RIFF") || !Tag(image, 8, "WAVE")) return std::nullopt;
    if (Le(image, 4, 4) != image.size() - 8) return std::nullopt;
    WaveView wave;
    bool haveFormat = false;
    for (std::size_t at = 12; at + 8 <= image.size();) {
        const std::size_t size = Le(image, at + 4, 4);
        const std::size_t body = at + 8;
        if (size > image.size() - body) return std::nullopt;
        if (Tag(image, at, "fmt ")) {
            if (size < 16) return std::nullopt;
            wave.format.formatTag = static_cast<std::uint16_t>(Le(image, body, 2));
            wave.format.channels = static_cast<std::uint16_t>(Le(image, body + 2, 2));
            wave.format.sampleRate = Le(image, body + 4, 4);
            wave.format.byteRate = Le(image, body + 8, 4);
            wave.format.blockAlign = static_cast<std::uint16_t>(Le(image, body + 12, 2));
            wave.format.bitsPerSample = static_cast<std::uint16_t>(Le(image, body + 14, 2));
            if (wave.format.formatTag != 1 || wave.format.blockAlign == 0) return std::nullopt;
            haveFormat = true;
        } else if (Tag(image, at, "data")) {
            if (!haveFormat || size % wave.format.blockAlign != 0) return std::nullopt;
            wave.data = image.subspan(body, size);
            return wave;
        }
        at = body + size + size % 2; // chunks are padded to an even length
    }
    return std::nullopt;
}

std::optional<std::vector<std::byte>> JoinWaves(std::span<const std::span<const std::byte>> clips,
                                                int silenceMs) {
    std::vector<WaveView> waves;
    std::size_t total = 0;
    for (std::span<const std::byte> clip : clips) {
        const std::optional<WaveView> wave = ReadWave(clip);
        if (!wave || (!waves.empty() && !(wave->format == waves.front().format))) return std::nullopt;
        waves.push_back(*wave);
        total += wave->data.size();
    }
    if (waves.empty()) return std::nullopt;
    const std::uint32_t silence = SilenceBytes(waves.front().format, silenceMs);
    if (total + silence > 0x7FFFFFFF) return std::nullopt;
    std::vector<std::byte> out = Header(waves.front().format, static_cast<std::uint32_t>(total) + silence);
    for (const WaveView& wave : waves)
        out.insert(out.end(), wave.data.begin(), wave.data.end());
    out.resize(out.size() + silence, std::byte{0});
    return out;
}

std::vector<std::byte> MakeTone(const WaveFormat& format, double hz, int toneMs, int fadeMs, double amplitude,
                                int silenceMs) {
    const auto samples =
        static_cast<std::uint32_t>(format.sampleRate) * static_cast<std::uint32_t>(toneMs) / 1000;
    const auto fade =
        static_cast<std::uint32_t>(format.sampleRate) * static_cast<std::uint32_t>(fadeMs) / 1000;
    const std::uint32_t silence = SilenceBytes(format, silenceMs);
    std::vector<std::byte> out = Header(format, samples * 2 + silence);
    constexpr double kTwoPi = 6.283185307179586;
    for (std::uint32_t i = 0; i < samples; ++i) {
        // a raised-cosine ramp at each end: the tone starts and ends at zero without a step
        double gain = 1.0;
        if (fade > 0 && i < fade) gain = 0.5 - 0.5 * std::cos(kTwoPi / 2 * i / fade);
        if (fade > 0 && samples - 1 - i < fade)
            gain = 0.5 - 0.5 * std::cos(kTwoPi / 2 * (samples - 1 - i) / fade);
        const double value = amplitude * 32767.0 * gain * std::sin(kTwoPi * hz * i / format.sampleRate);
        PutLe(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value))), 2);
    }
    out.resize(out.size() + silence, std::byte{0});
    return out;
}

std::int16_t ScaleSample(int sample, int percent) {
    const int share = percent < 0 ? 0 : percent > kFullVolume ? kFullVolume : percent;
    const int twice = sample * share * 2; // 200 times the scaled sample: whole numbers throughout
    return static_cast<std::int16_t>((twice + (sample < 0 ? -kFullVolume : kFullVolume)) / (2 * kFullVolume));
}

void ScaleWaveVolume(std::span<std::byte> image, int percent) {
    const std::optional<WaveView> wave = ReadWave(image);
    if (!wave || wave->format.bitsPerSample != 16 || percent >= kFullVolume) return;
    // the data lies inside the image: the same bytes, writable
    const auto at = static_cast<std::size_t>(wave->data.data() - image.data());
    const std::span<std::byte> data = image.subspan(at, wave->data.size());
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const auto scaled =
            static_cast<std::uint16_t>(ScaleSample(static_cast<std::int16_t>(Le(data, i, 2)), percent));
        data[i] = static_cast<std::byte>(scaled & 0xFF);
        data[i + 1] = static_cast<std::byte>(scaled >> 8);
    }
}

std::int64_t WaveMilliseconds(std::span<const std::byte> image) {
    const std::optional<WaveView> wave = ReadWave(image);
    if (!wave || wave->format.byteRate == 0) return 0;
    const auto bytes = static_cast<std::int64_t>(wave->data.size());
    return (bytes * 1000 + wave->format.byteRate - 1) / wave->format.byteRate;
}
