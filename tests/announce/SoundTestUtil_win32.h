// Helpers for the sound tests under Wine: the clips as compiled in, timing, recording the sink.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tests/announce/WaveFile.h"

// The bytes of clip `id` as the program carries them: a Korean "WAVE" resource of this module.
inline std::span<const std::byte> ClipResource(int id) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found =
        ::FindResourceExW(module, L"WAVE", MAKEINTRESOURCEW(id), MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN));
    if (!found) return {};
    const void* data = ::LockResource(::LoadResource(module, found));
    if (!data) return {};
    return {static_cast<const std::byte*>(data), ::SizeofResource(module, found)};
}

inline std::optional<WaveFile> ClipWave(int id) {
    return ParseWave(ClipResource(id));
}

inline double SecondsNow() {
    LARGE_INTEGER frequency, count;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// True when this process can play sound (under Wine: a reachable PulseAudio server).
inline bool HaveSoundDevice() {
    return ::waveOutGetNumDevs() > 0;
}

// Records 16 kHz mono 16-bit from the capture device whose name contains `nameHas` (the null
// sink's monitor) while `play` runs, for at most `seconds`. Nothing when there is no such device.
template <typename Play>
std::optional<std::vector<std::int16_t>> RecordWhile(const char* nameHas, double seconds, Play play) {
    UINT device = WAVE_MAPPER;
    for (UINT i = 0; i < ::waveInGetNumDevs(); ++i) {
        WAVEINCAPSA caps{};
        if (::waveInGetDevCapsA(i, &caps, sizeof caps) == MMSYSERR_NOERROR &&
            std::string(caps.szPname).find(nameHas) != std::string::npos)
            device = i;
    }
    if (device == WAVE_MAPPER) return std::nullopt;
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 16000, 32000, 2, 16, 0};
    HWAVEIN in = nullptr;
    if (::waveInOpen(&in, device, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) return std::nullopt;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(seconds * 16000));
    WAVEHDR header{};
    header.lpData = reinterpret_cast<LPSTR>(samples.data());
    header.dwBufferLength = static_cast<DWORD>(samples.size() * 2);
    ::waveInPrepareHeader(in, &header, sizeof header);
    ::waveInAddBuffer(in, &header, sizeof header);
    ::waveInStart(in);
    play();
    ::waveInStop(in);
    ::waveInReset(in);
    ::waveInUnprepareHeader(in, &header, sizeof header);
    ::waveInClose(in);
    samples.resize(header.dwBytesRecorded / 2);
    return samples;
}

// Where `clip` occurs in `recording`: the offset in samples at which its opening best matches,
// and the normalised correlation of the whole clip there (1 for an exact copy).
struct Match {
    std::size_t offset = 0;
    double correlation = 0;
};

inline double Correlation(const std::vector<std::int16_t>& a, std::size_t from,
                          const std::vector<std::int16_t>& b, std::size_t length) {
    double ab = 0, aa = 0, bb = 0;
    for (std::size_t i = 0; i < length && from + i < a.size(); ++i) {
        const double x = a[from + i], y = b[i];
        ab += x * y;
        aa += x * x;
        bb += y * y;
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

inline Match FindClip(const std::vector<std::int16_t>& recording, const std::vector<std::int16_t>& clip) {
    // the clips are trimmed, so their first 2048 samples are voice: enough to place them
    const std::size_t probe = std::min<std::size_t>(2048, clip.size());
    Match best;
    double bestScore = -1;
    for (std::size_t at = 0; at + probe <= recording.size(); ++at) {
        const double score = Correlation(recording, at, clip, probe);
        if (score > bestScore) {
            bestScore = score;
            best.offset = at;
        }
    }
    best.correlation = Correlation(recording, best.offset, clip, clip.size());
    return best;
}
