// The committed voice clips: format, trimming, loudness and closing pitch; how long announcements last.
#include "announce/Schedule.h"
#include "tests/announce/WaveFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

namespace {

const std::string kClipDir = std::string(TOCKWEN_TEST_DATA) + "/../resources/clips/";

// Every announcement must outlast one second, and the thread is blocked while it plays.
constexpr double kShortestAllowed = 1.0;
constexpr double kLongestAllowed = 2.5;
constexpr std::size_t kClipCount = kLastClip - kFirstClip + 1;

std::optional<WaveFile> LoadClip(int id) {
    std::ifstream in(kClipDir + std::to_string(id) + ".wav", std::ios::binary);
    std::vector<char> raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ParseWave(std::as_bytes(std::span(raw)));
}

const std::map<int, WaveFile>& Clips() {
    static const std::map<int, WaveFile> clips = [] {
        std::map<int, WaveFile> loaded;
        for (int id = kFirstClip; id <= kLastClip; ++id)
            if (auto wave = LoadClip(id)) loaded.emplace(id, *wave);
        return loaded;
    }();
    return clips;
}

int PeakOver(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t to) {
    int peak = 0;
    for (std::size_t i = from; i < to && i < samples.size(); ++i)
        peak = std::max(peak, std::abs(samples[i]));
    return peak;
}

double Rms(const std::int16_t* from, const std::int16_t* to) {
    double sum = 0;
    for (const std::int16_t* s = from; s != to; ++s)
        sum += *s * *s;
    return std::sqrt(sum / static_cast<double>(to - from));
}

// The pitch (Hz) of each 40 ms frame every 10 ms, 0 where unvoiced: the lag of 60..250 Hz at which
// the frame best matches itself (normalised autocorrelation at 16 kHz), if that match is above 0.6
// and the frame at most 12 dB below the clip's RMS, which leaves out consonant bursts.
std::vector<double> PitchTrack(const std::vector<std::int16_t>& s) {
    std::vector<double> hz;
    const double quietest = Rms(s.data(), s.data() + s.size()) / 4;
    for (const std::int16_t* x = s.data(); x + 640 <= s.data() + s.size(); x += 160) {
        double best = 0.6, lag = 0;
        const bool loud = Rms(x, x + 640) >= quietest;
        for (int l = 64; loud && l <= 266; ++l) {
            double xy = 0, xx = 0, yy = 0;
            for (int i = 0; i + l < 640; ++i)
                xy += x[i] * x[i + l], xx += x[i] * x[i], yy += x[i + l] * x[i + l];
            if (xy / std::sqrt(xx * yy) > best) best = xy / std::sqrt(xx * yy), lag = l;
        }
        hz.push_back(lag > 0 ? 16000 / lag : 0);
    }
    return hz;
}

// How far the pitch moves over the last 120 ms of voicing (12 frames), in semitones, along the
// least-squares line through its voiced frames; NaN with fewer than 5. Below -0.5: ends falling.
double EndRise(const std::vector<double>& hz) {
    std::size_t end = hz.size();
    while (end > 0 && hz[end - 1] == 0)
        --end;
    double n = 0, t = 0, tt = 0, p = 0, tp = 0;
    for (std::size_t i = end > 12 ? end - 12 : 0; i < end; ++i)
        if (hz[i] > 0) {
            const double ti = static_cast<double>(i), pi = 12 * std::log2(hz[i]);
            n += 1, t += ti, tt += ti * ti, p += pi, tp += ti * pi;
        }
    return n < 5 ? NAN : (n * tp - t * p) / (n * tt - t * t) * 11;
}

// One loudness: every RMS within 0.5 dB of -20 dBFS, with 1 dB of headroom (no peak above -1 dBFS).
TEST(Clips, EveryClipIsTrimmed16kMonoPcmOfOneLoudness) {
    ASSERT_EQ(Clips().size(), kClipCount) << "missing or unreadable clips in " << kClipDir;
    for (const auto& [id, wave] : Clips()) {
        SCOPED_TRACE(id);
        EXPECT_EQ(wave.formatTag, 1);
        EXPECT_EQ(wave.channels, 1);
        EXPECT_EQ(wave.sampleRate, 16000u);
        EXPECT_EQ(wave.bitsPerSample, 16);
        EXPECT_EQ(wave.blockAlign, 2);
        EXPECT_EQ(wave.byteRate, 32000u);
        EXPECT_GT(wave.Seconds(), 0.25);
        EXPECT_LT(wave.Seconds(), id == kClipTimerEnded ? 1.8 : 1.2); // a whole sentence
        // the voice starts and ends within 20 ms of the clip's edges: no silence padding left
        const std::size_t edge = 320;
        EXPECT_GT(PeakOver(wave.samples, 0, edge), 150);
        EXPECT_GT(PeakOver(wave.samples, wave.samples.size() - edge, wave.samples.size()), 150);
        const double rms = Rms(wave.samples.data(), wave.samples.data() + wave.samples.size());
        EXPECT_NEAR(20 * std::log10(rms / 32768), -20.0, 0.5);
        EXPECT_LE(PeakOver(wave.samples, 0, wave.samples.size()), 29204);
    }
}

// Only the clips said last end with the falling pitch of a finished sentence; the half of day,
// the hours and the tens rise or stay level, so that an announcement sounds like one phrase.
TEST(Clips, OnlyTheClipsSaidLastEndFalling) {
    ASSERT_EQ(Clips().size(), kClipCount);
    const std::set<int> saidLast = {111, 115, 116, 117, 118, 121, 122, 123,
                                    124, 125, 126, 127, 128, 129, 130, kClipTimerEnded};
    for (const auto& [id, wave] : Clips()) {
        const double rise = EndRise(PitchTrack(wave.samples));
        EXPECT_TRUE(saidLast.contains(id) ? rise < -0.5 : rise >= -0.5) << id << " ends " << rise << " st";
    }
}

TEST(Clips, EveryAnnouncementLastsMoreThanOneSecond) {
    ASSERT_EQ(Clips().size(), kClipCount);
    double shortest = 1e9, longest = 0;
    int announcements = 0;
    for (int alarm = 1; alarm <= 4; ++alarm)
        for (int hour = 0; hour < 24; ++hour)
            for (int minute = 0; minute < 60; minute += 10) {
                const Announcement said = DecideAnnouncement(hour, minute, alarm, true);
                if (said.clips.empty()) continue;
                ++announcements;
                double seconds = 0;
                for (int clip : said.clips)
                    seconds += Clips().at(clip).Seconds();
                SCOPED_TRACE(testing::Message() << hour << ":" << minute << " alarm " << alarm);
                EXPECT_GT(seconds, kShortestAllowed);
                EXPECT_LT(seconds, kLongestAllowed);
                shortest = std::min(shortest, seconds);
                longest = std::max(longest, seconds);
            }
    EXPECT_EQ(announcements, 24 * (6 + 4 + 2 + 1));
    std::printf("announcements last %.4f s to %.4f s\n", shortest, longest);
    for (const auto& [id, wave] : Clips())
        std::printf("clip %d: %.4f s\n", id, wave.Seconds());
}

} // namespace
