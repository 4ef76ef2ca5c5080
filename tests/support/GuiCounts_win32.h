// Counts of what this process holds, for tests that look for leaks: GDI objects, USER objects,
// windows. Wine 8's GetGuiResources is a stub, so its GDI handle table is counted instead.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace gui_counts_detail {

// Wine keeps the process's GDI handles in a table that the PEB points to: 0x10000 entries of
// 24 bytes, an entry in use has a non-zero object type at byte 14. A plain 32-bit prefix has the
// pointer in the 32-bit PEB; under WoW64 the 32-bit TEB holds the 64-bit TEB's address at 0xF70
// and the pointer sits in the 64-bit PEB.
inline std::optional<unsigned> WineGdiHandleCount() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return std::nullopt;
#if defined(_M_IX86) || defined(__i386__)
    const auto* teb32 = reinterpret_cast<const std::uint8_t*>(NtCurrentTeb());
    const auto* peb32 = *reinterpret_cast<const std::uint8_t* const*>(teb32 + 0x30);
    std::uint64_t table = *reinterpret_cast<const std::uint32_t*>(peb32 + 0x94);
    const std::uint32_t teb64 = *reinterpret_cast<const std::uint32_t*>(teb32 + 0xF70);
    if (table == 0 && teb64 != 0) {
        const auto peb64 = *reinterpret_cast<const std::uint64_t*>(static_cast<std::uintptr_t>(teb64) + 0x60);
        if (peb64 != 0 && peb64 <= 0xFFFFFFFFu)
            table = *reinterpret_cast<const std::uint64_t*>(static_cast<std::uintptr_t>(peb64) + 0xF8);
    }
    if (table == 0 || table > 0xFFFFFFFFu) return std::nullopt;
#elif defined(_M_X64) || defined(__x86_64__)
    // a 64-bit process: the PEB is at 0x60 of its TEB, the table pointer at 0xF8 of the PEB
    const auto* teb = reinterpret_cast<const std::uint8_t*>(NtCurrentTeb());
    const auto* peb = *reinterpret_cast<const std::uint8_t* const*>(teb + 0x60);
    const std::uint64_t table = peb ? *reinterpret_cast<const std::uint64_t*>(peb + 0xF8) : 0;
    if (table == 0) return std::nullopt;
#else
    return std::nullopt;
#endif
    const auto* entries = reinterpret_cast<const std::uint8_t*>(static_cast<std::uintptr_t>(table));
    unsigned used = 0;
    for (std::size_t i = 0; i < 0x10000; ++i)
        if (entries[i * 24 + 14] != 0) ++used;
    return used;
}

inline BOOL CALLBACK CountChild(HWND, LPARAM param) {
    ++*reinterpret_cast<unsigned*>(param);
    return TRUE;
}

inline BOOL CALLBACK CountWithChildren(HWND window, LPARAM param) {
    ++*reinterpret_cast<unsigned*>(param);
    EnumChildWindows(window, CountChild, param);
    return TRUE;
}

} // namespace gui_counts_detail

// GDI objects of this process: GetGuiResources where it answers, Wine's own table otherwise.
inline std::optional<unsigned> GdiObjectCount() {
    if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
    return gui_counts_detail::WineGdiHandleCount();
}

// USER objects (icons among them); nothing where GetGuiResources is a stub.
inline std::optional<unsigned> UserObjectCount() {
    if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return n;
    return std::nullopt;
}

// Windows of this thread, top-level and children.
inline unsigned ThreadWindowCount() {
    unsigned count = 0;
    EnumThreadWindows(GetCurrentThreadId(), gui_counts_detail::CountWithChildren,
                      reinterpret_cast<LPARAM>(&count));
    return count;
}
