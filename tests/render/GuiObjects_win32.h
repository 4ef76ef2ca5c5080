// Counts of this process's GDI and USER objects, for tests that look for leaks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

namespace gui_objects_detail {

inline bool UnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Wine 8 answers GetGuiResources with 0, but keeps the process's GDI handles in a table that the
// PEB points to: 0x10000 entries of 24 bytes, an entry in use has a non-zero type at byte 14.
// In a WoW64 setup the 32-bit TEB holds the 64-bit TEB's address at 0xF70 and the table pointer
// sits in the 64-bit PEB; otherwise it is in the 32-bit PEB.
inline std::optional<unsigned> WineGdiHandleCount() {
#if defined(_M_IX86) || defined(__i386__)
    if (!UnderWine()) return std::nullopt;
    const auto* teb = reinterpret_cast<const BYTE*>(NtCurrentTeb());
    const BYTE* table = nullptr;
    const ULONG teb64 = *reinterpret_cast<const ULONG*>(teb + 0xF70);
    if (teb64) {
        const auto peb64 = *reinterpret_cast<const std::uint64_t*>(static_cast<ULONG_PTR>(teb64) + 0x60);
        const auto pointer = *reinterpret_cast<const std::uint64_t*>(static_cast<ULONG_PTR>(peb64) + 0xF8);
        table = reinterpret_cast<const BYTE*>(static_cast<ULONG_PTR>(pointer));
    } else {
        const BYTE* peb = *reinterpret_cast<BYTE* const*>(teb + 0x30);
        table = *reinterpret_cast<BYTE* const*>(peb + 0x94);
    }
    if (!table) return std::nullopt;
    unsigned count = 0;
    for (unsigned i = 0; i < 0x10000; ++i) {
        if (table[i * 24 + 14] != 0) ++count;
    }
    return count;
#else
    return std::nullopt;
#endif
}

} // namespace gui_objects_detail

// GDI objects of this process: GetGuiResources where it answers, Wine's own table otherwise.
inline std::optional<unsigned> GdiObjectCount() {
    const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (n) return n;
    return gui_objects_detail::WineGdiHandleCount();
}

// USER objects (icons among them); nothing where GetGuiResources is a stub.
inline std::optional<unsigned> UserObjectCount() {
    const DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (n) return n;
    return std::nullopt;
}
