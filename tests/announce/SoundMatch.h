// Finding the program's sounds in a recording of the sound sink (16 kHz mono), telling the silence
// a sound server inserts when its queue runs dry (an underrun) from sound that is missing or changed.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

// Inserted silence is made of samples of magnitude 1 or less: a sink that runs dry plays zeros.
constexpr std::size_t kPiece = 320;   // 20 ms: a clip is matched piece by piece
constexpr std::size_t kMaxGap = 1600; // 100 ms: the longest one underrun may last
constexpr int kMaxGaps = 3;           // in one announcement

inline bool Quiet(std::int16_t x) {
    return std::abs(x) <= 1;
}

// The underruns found: how many, and how many samples of silence they inserted.
struct Gaps {
    int count = 0;
    std::size_t samples = 0;
    void Add(std::size_t length) { count += 1, samples += length; }
};

// Normalised correlation of two stretches of one length; two quiet stretches are alike.
inline double Correlation(std::span<const std::int16_t> a, std::span<const std::int16_t> b) {
    double ab = 0, aa = 0, bb = 0;
    bool quiet = true;
    for (std::size_t i = 0; i < a.size(); ++i) {
        ab += double(a[i]) * b[i], aa += double(a[i]) * a[i], bb += double(b[i]) * b[i];
        quiet = quiet && Quiet(a[i]) && Quiet(b[i]);
    }
    return quiet ? 1 : aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

struct ClipsFound {
    std::size_t end = 0; // the sample just after the last clip found
    Gaps gaps;
    std::size_t clip = 0; // the clip where the search failed,
    std::string failure;  // and why; empty when every clip was found
};

// Finds `clips` one right after the other in `recording`, the first at the first sound from `from`
// on. Each clip must appear in order in pieces of 20 ms at most, each at correlation above 0.95, with
// nothing between them but inserted silence: each gap at most 100 ms, at most 3 in all. With
// `quietAfter`, nothing but silence may follow the last clip to the end of the recording: a clip
// said again or added fails.
inline ClipsFound FindClipsInOrder(std::span<const std::int16_t> recording,
                                   const std::vector<std::vector<std::int16_t>>& clips, std::size_t from = 0,
                                   bool quietAfter = true) {
    ClipsFound found{from, {}, 0, {}};
    for (std::size_t c = 0; c < clips.size(); ++c) {
        const std::span<const std::int16_t> clip = clips[c];
        for (std::size_t p = 0; p < clip.size();) {
            const std::size_t r = found.end, left = clip.size() - p;
            const std::size_t length = left < 2 * kPiece ? left : kPiece;
            const auto piece = clip.subspan(p, length);
            // where the piece goes on after no more than a gap's worth of quiet (any amount before the
            // first clip): the longest stretch at correlation above 0.95 up to where the recording falls
            // quiet against the clip's sound, as the next gap begins there; the first of equal ones
            std::size_t at = r, cut = 0;
            double best = 0;
            for (std::size_t o = r; o < recording.size() && (o == r || Quiet(recording[o - 1])) &&
                                    (o - r <= kMaxGap || (c == 0 && p == 0));
                 ++o) {
                std::size_t n = 0;
                while (n < length && o + n < recording.size() &&
                       !(Quiet(recording[o + n]) && !Quiet(piece[n])))
                    ++n;
                const double fit = n ? Correlation(piece.first(n), recording.subspan(o, n)) : 0;
                if (fit > 0.95 && n > cut) at = o, cut = n;
                best = std::max(best, fit);
            }
            if (cut == 0) {
                found.clip = c;
                found.failure = "its sound from " + std::to_string(p / 16) +
                                " ms on is missing or changed (correlation " + std::to_string(best) + ")";
                return found;
            }
            if (at > r && (c > 0 || p > 0)) found.gaps.Add(at - r);
            p += cut;
            found.end = at + cut;
        }
    }
    if (found.gaps.count > kMaxGaps)
        found.failure = std::to_string(found.gaps.count) + " gaps of inserted silence, more than " +
                        std::to_string(kMaxGaps);
    const auto loud = std::find_if_not(recording.begin() + long(found.end), recording.end(), Quiet);
    if (quietAfter && loud != recording.end()) {
        found.clip = clips.size() - 1;
        found.failure = "sound " + std::to_string((loud - recording.begin() - long(found.end)) / 16) +
                        " ms after its end";
    }
    return found;
}

// Stretches of `recording` where a tone sounds: their first sample, and their length and how often
// they cross zero without the silence inserted into them.
struct Tone {
    std::size_t start = 0, length = 0;
    int crossings = 0;
};
inline std::vector<Tone> FindTones(std::span<const std::int16_t> recording, Gaps& gaps) {
    std::vector<Tone> tones;
    // since the last loud sample: the samples that were not, those of them in runs of two or more of
    // magnitude 1 or less (a tone has no such runs: that is inserted silence), and the zero crossings
    std::size_t quiet = 0, silent = 0, run = 0;
    int crossings = 0;
    std::int16_t last = 0; // the last sample of magnitude above 1
    for (std::size_t i = 0; i < recording.size(); ++i) {
        const std::int16_t x = recording[i];
        run = Quiet(x) ? run + 1 : 0;
        if (!Quiet(x)) {
            crossings += last != 0 && (x < 0) != (last < 0);
            last = x;
        }
        if (std::abs(x) <= 500) {
            quiet += 1;
            silent += run == 2 ? 2 : run > 2;
            continue;
        }
        if (tones.empty() || quiet - silent > 160 || silent > kMaxGap) {
            tones.push_back({i, 1, 0});
        } else {
            if (silent > 0) gaps.Add(silent);
            tones.back().length += quiet - silent + 1;
            tones.back().crossings += crossings;
        }
        quiet = silent = 0;
        crossings = 0;
    }
    return tones;
}
