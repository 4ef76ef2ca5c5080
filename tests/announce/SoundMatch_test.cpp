// The sound tests' matcher on recordings made up of the real clips, silence put in and sound left out.
#include "tests/announce/SoundMatch.h"
#include "tests/announce/WaveFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::vector<std::int16_t> Clip(int id) {
    std::ifstream in(std::string(TOCKWEN_TEST_DATA) + "/../resources/clips/" + std::to_string(id) + ".wav",
                     std::ios::binary);
    const std::vector<char> raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ParseWave(std::as_bytes(std::span(raw)))->samples;
}

// Samples [from, to) of the first clip (0) or the second (1), to its end when `to` is 0; or `to`
// samples of silence (-1).
struct Part {
    int clip;
    std::size_t from = 0, to = 0;
};

TEST(FindClipsInOrder, TellsInsertedSilenceFromMissingOrChangedSound) {
    // 117 holds quiet stretches of its own, at 5516-6296 and 7555-8288
    const std::vector<std::vector<std::int16_t>> clips{Clip(117), Clip(121)};
    const std::size_t second = clips[1].size();
    const struct {
        const char* name;
        std::vector<Part> parts;
        int gaps; // -1: not found
    } cases[] = {
        // clang-format off
        {"whole", {{-1, 0, 4800}, {0}, {1}}, 0},
        {"a gap inside", {{-1, 0, 4800}, {0, 0, 3001}, {-1, 0, 480}, {0, 3001}, {1}}, 1},
        {"gaps in its own quiet and at the join",
         {{0, 0, 5900}, {-1, 0, 1600}, {0, 5900, 8288}, {-1, 0, 7}, {0, 8288}, {-1, 0, 900}, {1}}, 3},
        {"a gap of over 100 ms", {{0, 0, 3001}, {-1, 0, 1601}, {0, 3001}, {1}}, -1},
        {"four gaps", {{0, 0, 2000}, {-1, 0, 50}, {0, 2000, 4000}, {-1, 0, 50}, {0, 4000}, {-1, 0, 50},
                       {1, 0, 2000}, {-1, 0, 50}, {1, 2000}}, -1},
        {"a 20 ms piece dropped", {{0, 0, 3001}, {0, 3321}, {1}}, -1},
        {"the clips swapped", {{1}, {0}}, -1},
        {"the last 40 ms cut", {{0}, {1, 0, second - 640}}, -1},
        {"a stretch changed", {{0, 0, 3001}, {1, 0, 320}, {0, 3321}, {1}}, -1},
        {"a clip after the last", {{0}, {1}, {-1, 0, 1600}, {1}}, -1},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::int16_t> recording;
        for (const Part& part : c.parts) {
            const std::vector<std::int16_t> silence(part.to),
                &from = part.clip < 0 ? silence : clips[std::size_t(part.clip)];
            recording.insert(recording.end(), from.begin() + long(part.clip < 0 ? 0 : part.from),
                             from.begin() + long(part.to ? part.to : from.size()));
        }
        const std::size_t end = recording.size();
        recording.insert(recording.end(), 1600, 0);
        const ClipsFound found = FindClipsInOrder(recording, clips);
        EXPECT_EQ(found.failure.empty(), c.gaps >= 0) << found.failure;
        if (c.gaps < 0 || !found.failure.empty()) continue;
        EXPECT_EQ(found.gaps.count, c.gaps);
        EXPECT_EQ(found.end, end);
    }
}

// A tone with silence put into it is one tone, as long and with as many crossings as without.
TEST(FindTones, ATonePutTogetherAgain) {
    const std::vector<std::int16_t> tone = ParseWave(MakeTone(WaveFormat{}, 500, 250, 5, 0.5, 100))->samples;
    std::vector<std::int16_t> recording(tone.begin(), tone.begin() + 2008);
    recording.insert(recording.end(), 800, 0);
    recording.insert(recording.end(), tone.begin() + 2008, tone.end());
    Gaps whole, split;
    const std::vector<Tone> expected = FindTones(tone, whole), found = FindTones(recording, split);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].length, expected[0].length);
    EXPECT_EQ(found[0].crossings, expected[0].crossings);
    EXPECT_EQ(split.count, 1);
    EXPECT_EQ(split.samples, 800u);
}

} // namespace
