// Registry value data as text, for the Win32 side and for the platform-free code that cannot see
// the registry's own definitions.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// Registry value types, the numbers the registry uses (REG_SZ, REG_EXPAND_SZ, REG_BINARY).
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;

// The UTF-16 text that string data holds: up to its first zero unit, or all of it when it was
// stored without a terminator. An odd trailing byte is not part of any character.
std::wstring TextFromRegistryData(std::span<const std::uint8_t> data);
