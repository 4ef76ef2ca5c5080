// RIFF WAVE images of PCM sound: reading the voice clips, joining an announcement's clips into
// one image and making the hourly beep's tone, as plain bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct WaveFormat {
    std::uint16_t formatTag = 1; // PCM
    std::uint16_t channels = 1;
    std::uint32_t sampleRate = 16000;
    std::uint32_t byteRate = 32000;
    std::uint16_t blockAlign = 2;
    std::uint16_t bitsPerSample = 16;
    bool operator==(const WaveFormat&) const = default;
};

// A WAVE image's format and its sample bytes (a view into the image).
struct WaveView {
    WaveFormat format;
    std::span<const std::byte> data;
};

// The image must be a RIFF "WAVE" form whose declared size matches its bytes, with a "fmt " chunk
// of PCM before a "data" chunk and every chunk inside the image; anything else gives nothing.
std::optional<WaveView> ReadWave(std::span<const std::byte> image);

// One WAVE image that plays `clips` one after another with no gap or overlap, then `silenceMs` of
// silence. All must be WAVE images of one PCM format; otherwise, or without clips, nothing.
std::optional<std::vector<std::byte>> JoinWaves(std::span<const std::span<const std::byte>> clips,
                                                int silenceMs);

// A sine tone of `hz` for `toneMs` in 16-bit mono `format`, at `amplitude` of full scale, faded in
// and out over `fadeMs` so that it does not click, then `silenceMs` of silence.
std::vector<std::byte> MakeTone(const WaveFormat& format, double hz, int toneMs, int fadeMs, double amplitude,
                                int silenceMs);

// The level of a sound as it was made: every sound is played at a percentage of it.
inline constexpr int kFullVolume = 100;

// A 16-bit sample (-32768..32767) at `percent` of its amplitude (held to 0..100), rounded to the nearest
// step, halves away from zero: at 50 the sound is 6.0 dB quieter, at 0 silent.
std::int16_t ScaleSample(int sample, int percent);
// Every sample of a 16-bit PCM WAVE image, in place, by ScaleSample; anything else is left alone.
void ScaleWaveVolume(std::span<std::byte> image, int percent);

// How long a WAVE image plays, in milliseconds (rounded up); 0 for what is not one.
std::int64_t WaveMilliseconds(std::span<const std::byte> image);
