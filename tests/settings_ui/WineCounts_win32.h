// Counting what a process holds, for the open-and-close tests: GDI objects, USER objects, windows. Wine's
// GetGuiResources is a stub, so its GDI handle table is counted instead.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace counts {

// The number of GDI objects of this process: GetGuiResources where it answers, otherwise the
// used entries of Wine's per-process GDI handle table. -1 when neither is available.
inline long GdiObjects() {
    const DWORD real = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (real != 0) return static_cast<long>(real);
#if !defined(_WIN64)
    // a 32-bit process keeps the table's address in its PEB; under WoW64 the 64-bit PEB has it
    const auto teb32 = reinterpret_cast<const std::uint8_t*>(::NtCurrentTeb());
    const auto peb32 = *reinterpret_cast<const std::uint8_t* const*>(teb32 + 0x30);
    std::uint64_t table = *reinterpret_cast<const std::uint32_t*>(peb32 + 0x94);
    const auto teb64 = *reinterpret_cast<const std::uint32_t*>(teb32 + 0xF70);
    if (table == 0 && teb64 != 0) {
        const auto peb64 = *reinterpret_cast<const std::uint64_t*>(static_cast<std::uintptr_t>(teb64) + 0x60);
        if (peb64 != 0 && peb64 <= 0xFFFFFFFFu)
            table = *reinterpret_cast<const std::uint64_t*>(static_cast<std::uintptr_t>(peb64) + 0xF8);
    }
    if (table == 0 || table > 0xFFFFFFFFu) return -1;
    const auto* entries = reinterpret_cast<const std::uint8_t*>(static_cast<std::uintptr_t>(table));
    long used = 0;
    for (std::size_t i = 0; i < 0x10000; ++i)
        if (entries[i * 24 + 14] != 0) ++used; // the entry's object type; zero when free
    return used;
#else
    return -1;
#endif
}

// USER objects by GetGuiResources; -1 where it is a stub.
inline long UserObjects() {
    const DWORD real = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    return real != 0 ? static_cast<long>(real) : -1;
}

inline BOOL CALLBACK CountChild(HWND, LPARAM param) {
    ++*reinterpret_cast<long*>(param);
    return TRUE;
}

inline BOOL CALLBACK CountWithChildren(HWND window, LPARAM param) {
    ++*reinterpret_cast<long*>(param);
    ::EnumChildWindows(window, CountChild, param);
    return TRUE;
}

// Windows of this thread, top-level and children.
inline long ThreadWindows() {
    long count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWithChildren, reinterpret_cast<LPARAM>(&count));
    return count;
}

} // namespace counts
