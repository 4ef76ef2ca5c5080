// An announcement's clips joined into one wave, and the hourly beep's tone.
#include "announce/Wave.h"
#include "tests/announce/WaveFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::vector<std::byte> ClipFile(int id) {
    std::ifstream in(std::string(TOCKWEN_TEST_DATA) + "/../resources/clips/" + std::to_string(id) + ".wav",
                     std::ios::binary);
    std::vector<char> raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto bytes = std::as_bytes(std::span(raw));
    return {bytes.begin(), bytes.end()};
}

TEST(JoinWaves, OneWaveOfTheClipsSamplesInOrderThenSilence) {
    const std::vector<std::byte> c120 = ClipFile(120), c104 = ClipFile(104), c117 = ClipFile(117);
    const std::span<const std::byte> clips[] = {c120, c104, c117};
    const std::optional<std::vector<std::byte>> joined = JoinWaves(clips, 100);
    ASSERT_TRUE(joined);
    const std::optional<WaveView> wave = ReadWave(*joined);
    ASSERT_TRUE(wave) << "not a WAVE image the program reads";
    EXPECT_EQ(wave->format, ReadWave(c120)->format);
    EXPECT_EQ(joined->size(), 44 + wave->data.size()) << "one canonical header, nothing after the data";
    // the exact bytes of each clip, one after another, then 100 ms of silence
    std::size_t at = 0;
    for (std::span<const std::byte> clip : clips) {
        const std::span<const std::byte> data = ReadWave(clip)->data;
        EXPECT_TRUE(
            std::equal(data.begin(), data.end(), wave->data.begin() + static_cast<std::ptrdiff_t>(at)));
        at += data.size();
    }
    ASSERT_EQ(wave->data.size(), at + 3200);
    EXPECT_TRUE(std::all_of(wave->data.begin() + static_cast<std::ptrdiff_t>(at), wave->data.end(),
                            [](std::byte b) { return b == std::byte{0}; }));
    EXPECT_EQ(WaveMilliseconds(*joined), (static_cast<std::int64_t>(at) * 1000 + 31999) / 32000 + 100);

    // what cannot be joined: no clips, a clip that is not a wave, clips of different formats
    EXPECT_FALSE(JoinWaves({}, 100));
    const std::vector<std::byte> junk(64, std::byte{7});
    const std::span<const std::byte> withJunk[] = {c120, junk};
    EXPECT_FALSE(JoinWaves(withJunk, 0));
    std::vector<std::byte> faster = c104;
    faster[25] = std::byte{0x3F}; // 16000 -> 16256 samples a second
    const std::span<const std::byte> mixed[] = {c120, faster};
    EXPECT_FALSE(JoinWaves(mixed, 0));
}

TEST(MakeTone, AQuarterSecondAt500HzStartingAndEndingWithoutAClick) {
    const std::vector<std::byte> image = MakeTone(WaveFormat{}, 500, 250, 5, 0.5, 100);
    const std::optional<WaveFile> tone = ParseWave(image);
    ASSERT_TRUE(tone);
    ASSERT_EQ(tone->samples.size(), 4000u + 1600u);
    int crossings = 0, peak = 0;
    for (std::size_t i = 1; i < 4000; ++i) {
        crossings += (tone->samples[i - 1] < 0) != (tone->samples[i] < 0);
        peak = std::max(peak, std::abs(tone->samples[i]));
    }
    EXPECT_NEAR(crossings, 250, 2) << "500 Hz crosses zero 250 times in 250 ms";
    EXPECT_NEAR(peak, 16384, 200);
    // no step at either end: the first and last samples are silent, and the fade keeps each step
    // near the ends far below the full tone's (about 6,400 a sample)
    EXPECT_EQ(tone->samples.front(), 0);
    EXPECT_EQ(tone->samples[3999], 0);
    for (std::size_t i : {1u, 2u, 3u, 3996u, 3997u, 3998u})
        EXPECT_LT(std::abs(tone->samples[i] - tone->samples[i - 1]), 1000) << i;
    EXPECT_TRUE(std::all_of(tone->samples.begin() + 4000, tone->samples.end(),
                            [](std::int16_t s) { return s == 0; }));
}

TEST(ScaleSample, ItsShareOfTheAmplitudeHalvesAwayFromZero) {
    EXPECT_EQ((std::vector<int>{ScaleSample(32767, 50), ScaleSample(-3, 50)}), (std::vector<int>{16384, -2}));
}

} // namespace
