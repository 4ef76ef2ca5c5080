// Helpers for the sound tests under Wine: the clips as compiled in, timing, recording the sink.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "announce/Speaker_win32.h"
#include "tests/announce/SoundMatch.h"
#include "tests/announce/WaveFile.h"

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

// Unix time in seconds, the clock the Wine server and the file system keep.
inline double UnixSeconds(FILETIME time) {
    const ULONGLONG ticks = (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<double>(ticks) / 1e7 - 11644473600.0;
}

// When a Unix file was last written (through Wine's Z: drive); 0 when it cannot be read.
inline double UnixFileWritten(const std::string& path) {
    std::string windows = "Z:" + path;
    std::replace(windows.begin(), windows.end(), '/', '\\');
    HANDLE file = ::CreateFileA(windows.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    FILETIME written{};
    const bool ok = ::GetFileTime(file, nullptr, nullptr, &written);
    ::CloseHandle(file);
    return ok ? UnixSeconds(written) : 0;
}

// Wine's server writes the registry's files anew every 30 s while they hold changes (each new
// program marks a few), and every program of the world waits for it meanwhile: 65 ms for the
// 1.6 MB system.reg here, longer than the 25 ms of sound Wine keeps queued, so a clip playing then
// has a gap. A recording is therefore made between two such writes: the world says when its server
// started (the first 30 s count from then) and the files say when it last wrote them.
inline void WaitClearOfRegistryWrites(double seconds) {
    const char* started = std::getenv("TOCKWEN_WINESERVER_STARTED");
    const char* prefix = std::getenv("WINEPREFIX");
    if (!started || !prefix) return;
    double last = std::atof(started);
    for (const char* branch : {"/system.reg", "/userdef.reg", "/user.reg"})
        last = std::max(last, UnixFileWritten(prefix + std::string(branch)));
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    double next = last + 30;
    while (next < UnixSeconds(now) - 0.2)
        next += 30;
    if (next < UnixSeconds(now) + seconds + 0.5)
        ::Sleep(static_cast<DWORD>((next + 0.5 - UnixSeconds(now)) * 1000));
}

// Records 16 kHz mono 16-bit from the capture device whose name contains `nameHas` (the null
// sink's monitor) while `play` runs, for at most `seconds`, clear of the Wine server's registry
// writes unless it must start at once. Nothing when there is no such device.
template <typename Play>
std::optional<std::vector<std::int16_t>> RecordWhile(const char* nameHas, double seconds, Play play,
                                                     bool atOnce = false) {
    if (!atOnce) WaitClearOfRegistryWrites(seconds);
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

// Prints the silence inserted by underruns that a recording held, as a figure of the test.
inline void PrintUnderruns(const Gaps& gaps) {
    std::printf("[ figure   ] underruns: %d, %.1f ms of inserted silence in all\n", gaps.count,
                static_cast<double>(gaps.samples) / 16);
}

// Where each clip sounds in `recording`, whole and in order, one right after the other once the
// silence of underruns is taken out, and nothing after them unless `quietAfter` is false (see
// FindClipsInOrder). Returns where the last clip ends and the silence found.
inline ClipsFound ExpectClipsInOrder(const std::vector<std::int16_t>& recording,
                                     const std::vector<int>& clips, std::size_t from = 0,
                                     bool quietAfter = true) {
    std::vector<std::vector<std::int16_t>> waves;
    for (int clip : clips) {
        const std::optional<WaveFile> wave = ClipWave(clip);
        if (!wave) {
            ADD_FAILURE() << "no clip " << clip << " among this program's resources";
            return {from, {}, 0, {}};
        }
        waves.push_back(wave->samples);
    }
    const ClipsFound found = FindClipsInOrder(recording, waves, from, quietAfter);
    PrintUnderruns(found.gaps);
    EXPECT_EQ(found.failure, "") << "clip " << clips[found.clip];
    return found;
}
