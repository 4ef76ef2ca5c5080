// Registry keys and values through the wide registry functions, each key owned by a unique_hkey.
// The settings store and the Run registration both read and write through these.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Handles.h"

// Opens root\path with `access`; an empty owner when it cannot (also when root is null).
unique_hkey OpenRegistryKey(HKEY root, std::wstring_view path, REGSAM access);
// Creates root\path if needed and opens it with `access`; an empty owner when it cannot.
unique_hkey CreateRegistryKey(HKEY root, std::wstring_view path, REGSAM access);

// A value as the registry holds it: its type and its bytes.
struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data;
};
// Value `name` of an open key; none when the key is null or the value is missing or unreadable.
std::optional<RegistryValue> QueryRegistryValue(HKEY key, std::wstring_view name);
// A value's text when it is REG_SZ or REG_EXPAND_SZ: up to its first zero, or all of it when it was
// stored without a terminator; a REG_EXPAND_SZ text with its environment variables expanded, as
// Windows reads it. None for another type.
std::optional<std::wstring> RegistryValueText(const RegistryValue& value);
// Value `name` of an open key as RegistryValueText reads it; none for a missing value too.
std::optional<std::wstring> QueryRegistryText(HKEY key, std::wstring_view name);

// Stores `data` as value `name` of type `type`. True when it was written.
bool WriteRegistryValue(HKEY key, std::wstring_view name, DWORD type, std::span<const std::uint8_t> data);
// Stores `text` as a REG_SZ value with its terminating zero. True when it was written.
bool WriteRegistryText(HKEY key, std::wstring_view name, std::wstring_view text);
// Deletes value `name`. True when the value is gone (also when it never existed).
bool DeleteRegistryValue(HKEY key, std::wstring_view name);
