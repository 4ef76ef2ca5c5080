// Plays one of the program's voice clips, by resource number, to its end.
#include "announce/PlayWave_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstddef>
#include <cstring>
#include <vector>

void PlayWave(int id) {
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
    ::PlaySoundA(reinterpret_cast<LPCSTR>(bytes.data()), nullptr, SND_MEMORY | SND_NODEFAULT);
}
