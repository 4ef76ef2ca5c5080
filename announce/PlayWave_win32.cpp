// Plays one of the program's voice clips, by resource number, to its end.
#include "announce/PlayWave_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "base/Handles.h"
#include "base/SystemLibrary_win32.h"

namespace {

using PlaySoundAProc = decltype(&::PlaySoundA);

// winmm is not one of the DLLs Windows always takes from the system folder: imported, a
// winmm.dll beside the program would be loaded in its place. So it is loaded at the first clip
// from the system folder only and kept for the life of the process.
struct SoundLibrary {
    unique_hmodule module;
    PlaySoundAProc playSound = nullptr;

    explicit SoundLibrary(const wchar_t* dll)
        : module(LoadSystemLibrary(dll)),
          playSound(SystemFunction<PlaySoundAProc>(module.get(), "PlaySoundA")) {}
};

SoundLibrary& Sound() {
    static SoundLibrary sound(L"winmm.dll");
    return sound;
}

} // namespace

void UseSoundLibrary(const wchar_t* dll) {
    Sound() = SoundLibrary(dll);
}

void PlayWave(int id) {
    // without the sound functions a clip stays silent, as it does without a sound device
    const PlaySoundAProc playSound = Sound().playSound;
    if (!playSound) return;
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found =
        ::FindResourceExW(module, L"WAVE", MAKEINTRESOURCEW(id), MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN));
    if (!found) return;
    const DWORD size = ::SizeofResource(module, found);
    const void* data = ::LockResource(::LoadResource(module, found));
    if (!data || size == 0) return;
    // the clip's bytes live only for this call; SND_NODEFAULT keeps the system's default sound
    // from playing in place of a clip that cannot be played
    std::vector<std::byte> bytes(size);
    std::memcpy(bytes.data(), data, size);
    playSound(reinterpret_cast<LPCSTR>(bytes.data()), nullptr, SND_MEMORY | SND_NODEFAULT);
}
