// The program's sounds, one at a time, without holding the thread: an announcement's clips
// joined into one wave, or the hourly beep's tone, each played from memory with PlaySound.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "announce/Wave.h"

// The "WAVE" resource `id` of the program's own module (a voice clip, 102..137); empty when
// there is none.
std::span<const std::byte> ClipResource(int id);

class Speaker {
  public:
    Speaker() = default;
    Speaker(const Speaker&) = delete;
    Speaker& operator=(const Speaker&) = delete;
    ~Speaker() { Stop(); }

    // Starts the clips as one sound, the samples of each right after the last, at `volume` percent
    // of their amplitude (0..100), and returns at once; false when nothing plays (volume 0, no
    // sound device, no sound functions, a missing clip).
    bool Say(std::span<const int> clips, int volume = kFullVolume);
    // Starts the hourly beep, a 500 Hz tone of 250 ms, at `volume` percent; false when nothing plays.
    bool Beep(int volume = kFullVolume);
    // Whether a sound of ours is still playing, by its length since it started.
    bool Busy() const;
    // Milliseconds until the sound that plays has ended; 0 when nothing plays.
    int MillisecondsLeft() const;
    // Stops what plays, then frees it.
    void Stop();

  private:
    bool Play(std::vector<std::byte> wave, int volume);

    // the sound that plays or played last: PlaySound reads it while it plays, so it stays until
    // another replaces it or it is stopped
    std::vector<std::byte> wave_;
    unsigned long long endsAt_ = 0; // GetTickCount64 when it has ended
};

// Takes the sound functions from the system DLL `dll` instead of winmm.dll from now on: lets the
// tests take them away (a name that is not there) and give them back (L"winmm.dll"). No library
// is ever freed.
void UseSoundLibrary(const wchar_t* dll);
