// The committed voice clips: their sample format, trimming, loudness and the pitch at their end,
// and how long announcements last.
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

double Dbfs(double level) {
    return 20 * std::log10(level / 32768);
}

double Rms(const std::vector<std::int16_t>& samples) {
    double sum = 0;
    for (std::int16_t s : samples)
        sum += double(s) * s;
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

// The clip's pitch, one estimate per 40 ms frame every 10 ms: the lag of 60..250 Hz at which the
// frame best matches itself (normalised autocorrelation within the frame). Only voiced frames
// count: at least 0.6 correlated, and at most 12 dB below the clip's RMS, which leaves out the
// release bursts and frication of the consonants. Each entry: frame centre (s), pitch (Hz).
std::vector<std::pair<double, double>> PitchTrack(const WaveFile& wave) {
    const std::size_t rate = wave.sampleRate, frame = rate / 25, hop = rate / 100;
    const auto real = [](std::size_t n) { return static_cast<double>(n); };
    const double quietest = Rms(wave.samples) / 4;
    std::vector<std::pair<double, double>> track;
    std::vector<double> x(frame), energy(frame + 1); // energy[i]: the sum of x[j]^2 for j < i
    for (std::size_t start = 0; start + frame <= wave.samples.size(); start += hop) {
        for (std::size_t i = 0; i < frame; ++i) {
            x[i] = wave.samples[start + i];
            energy[i + 1] = energy[i] + x[i] * x[i];
        }
        if (std::sqrt(energy[frame] / real(frame)) < quietest) continue;
        double best = 0;
        std::size_t bestLag = 0;
        for (std::size_t lag = rate / 250; lag <= rate / 60; ++lag) {
            double product = 0;
            for (std::size_t i = 0; i + lag < frame; ++i)
                product += x[i] * x[i + lag];
            const double r = product / std::sqrt(energy[frame - lag] * (energy[frame] - energy[lag]));
            if (r > best) best = r, bestLag = lag;
        }
        if (best >= 0.6)
            track.emplace_back((real(start) + real(frame) / 2) / real(rate), real(rate) / real(bestLag));
    }
    return track;
}

// The pitch over the last 120 ms of voicing, as a least-squares line in semitones: where it
// starts and ends (Hz). A clip ends falling when the line ends over half a semitone lower.
struct EndPitch {
    double fromHz = 0, toHz = 0;
    bool Falls() const { return 12 * std::log2(toHz / fromHz) < -0.5; }
};

EndPitch EndPitchOf(const WaveFile& wave) {
    const auto track = PitchTrack(wave);
    if (track.empty()) return {};
    const double last = track.back().first;
    double first = last, n = 0, st = 0, stt = 0, sp = 0, stp = 0;
    for (const auto& [t, hz] : track)
        if (t > last - 0.12) {
            const double p = 12 * std::log2(hz);
            first = std::min(first, t);
            n += 1, st += t, stt += t * t, sp += p, stp += t * p;
        }
    if (n < 5) return {};
    const double slope = (n * stp - st * sp) / (n * stt - st * st);
    const auto hzAt = [&](double t) { return std::exp2((sp + slope * (n * t - st)) / n / 12); };
    return {hzAt(first), hzAt(last)};
}

TEST(Clips, EveryClipIsTrimmed16kMonoPcm) {
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
        EXPECT_LT(wave.Seconds(), 1.2);
        // the voice starts and ends within 20 ms of the clip's edges: no silence padding left
        const std::size_t edge = 320;
        EXPECT_GT(PeakOver(wave.samples, 0, edge), 150);
        EXPECT_GT(PeakOver(wave.samples, wave.samples.size() - edge, wave.samples.size()), 150);
    }
}

// The words of an announcement come equally loud: every clip's RMS is within half a dB of
// -20 dBFS, and its peak keeps 1 dB of headroom below full scale (none clips, even resampled).
TEST(Clips, EveryClipHasOneLoudnessAndHeadroom) {
    ASSERT_EQ(Clips().size(), kClipCount);
    for (const auto& [id, wave] : Clips()) {
        SCOPED_TRACE(id);
        EXPECT_NEAR(Dbfs(Rms(wave.samples)), -20.0, 0.5);
        EXPECT_LE(Dbfs(PeakOver(wave.samples, 0, wave.samples.size())), -1.0);
    }
}

// Only the clips said last end with the falling pitch of a finished sentence; the half of day,
// the hours and the tens rise or stay level, so that an announcement sounds like one phrase.
TEST(Clips, OnlyTheClipsSaidLastEndFalling) {
    ASSERT_EQ(Clips().size(), kClipCount);
    std::set<int> saidLast = {111, 115, 116, 117, 118, kClipOnTheHour};
    for (int id = kFirstUnitsClip; id < kFirstTensClip; ++id)
        saidLast.insert(id);
    for (const auto& [id, wave] : Clips()) {
        const EndPitch end = EndPitchOf(wave);
        ASSERT_GT(end.fromHz, 0) << "clip " << id << " has too little voicing at its end";
        EXPECT_EQ(end.Falls(), saidLast.contains(id))
            << "clip " << id << " ends " << end.fromHz << " -> " << end.toHz << " Hz";
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
