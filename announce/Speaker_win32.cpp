// The program's sounds, played one at a time from memory without holding the thread.
#include "announce/Speaker_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include <optional>
#include <utility>

#include "announce/Wave.h"
#include "base/Handles.h"
#include "base/SystemLibrary_win32.h"

namespace {

using PlaySoundAProc = decltype(&::PlaySoundA);

// winmm is not one of the DLLs Windows always takes from the system folder: imported, a
// winmm.dll beside the program would be loaded in its place. So it is loaded at the first sound
// from the system folder only, and never freed: winmm's own playback thread may still be running
// its code as the process ends (a log-off or the installer's quit message during an
// announcement), and the end of the process frees it then.
PlaySoundAProc LoadPlaySound(const wchar_t* dll) {
    return SystemFunction<PlaySoundAProc>(LoadSystemLibrary(dll).release(), "PlaySoundA");
}

PlaySoundAProc& PlaySoundFunction() {
    static PlaySoundAProc playSound = LoadPlaySound(L"winmm.dll");
    return playSound;
}

// Every sound ends with this much silence: a device may drop the last milliseconds of what it is
// given, and then it drops silence rather than voice.
constexpr int kTrailingSilenceMs = 100;

} // namespace

void UseSoundLibrary(const wchar_t* dll) {
    PlaySoundFunction() = LoadPlaySound(dll);
}

std::span<const std::byte> ClipResource(int id) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found =
        ::FindResourceExW(module, L"WAVE", MAKEINTRESOURCEW(id), MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN));
    if (!found) return {};
    const void* data = ::LockResource(::LoadResource(module, found));
    if (!data) return {};
    return {static_cast<const std::byte*>(data), ::SizeofResource(module, found)};
}

bool Speaker::Say(std::span<const int> clips, int volume) {
    std::vector<std::span<const std::byte>> images;
    for (int clip : clips)
        images.push_back(ClipResource(clip));
    std::optional<std::vector<std::byte>> joined = JoinWaves(images, kTrailingSilenceMs);
    return joined && Play(std::move(*joined), volume);
}

bool Speaker::Beep(int volume) {
    // the clips' format, so that a beep goes the same way as the voice; faded in and out over
    // 5 ms so that it does not click
    return Play(MakeTone(WaveFormat{}, 500, 250, 5, 0.5, kTrailingSilenceMs), volume);
}

bool Speaker::Play(std::vector<std::byte> wave, int volume) {
    // at volume 0 nothing is played at all, so no sound device is opened; the level is set in the
    // samples themselves: the mixer's volume is the user's, for the whole program
    if (volume <= 0) return false;
    ScaleWaveVolume(wave, volume);
    const PlaySoundAProc playSound = PlaySoundFunction();
    // without the sound functions the program stays silent, as it does without a sound device
    if (!playSound) return false;
    // the new sound replaces the old one, which PlaySound stops before it returns; only then may
    // the old bytes go. SND_NODEFAULT: no system sound in place of one that cannot be played.
    std::vector<std::byte> previous = std::exchange(wave_, std::move(wave));
    const ULONGLONG start = ::GetTickCount64();
    if (!playSound(reinterpret_cast<LPCSTR>(wave_.data()), nullptr, SND_ASYNC | SND_MEMORY | SND_NODEFAULT)) {
        // whatever played before may still be reading its bytes
        wave_ = std::move(previous);
        return false;
    }
    endsAt_ = start + static_cast<ULONGLONG>(WaveMilliseconds(wave_));
    return true;
}

bool Speaker::Busy() const {
    return ::GetTickCount64() < endsAt_;
}

int Speaker::MillisecondsLeft() const {
    const ULONGLONG now = ::GetTickCount64();
    return now < endsAt_ ? static_cast<int>(endsAt_ - now) : 0;
}

void Speaker::Stop() {
    // stops whatever this process plays before the bytes it reads go
    if (!wave_.empty())
        if (const PlaySoundAProc playSound = PlaySoundFunction()) playSound(nullptr, nullptr, 0);
    wave_.clear();
    wave_.shrink_to_fit();
    endsAt_ = 0;
}
