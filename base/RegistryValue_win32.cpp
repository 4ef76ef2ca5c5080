// Registry keys and values through the wide registry functions, each key owned by a unique_hkey.
#include "base/RegistryValue_win32.h"

#include "base/RegistryText.h"

unique_hkey OpenRegistryKey(HKEY root, std::wstring_view path, REGSAM access) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(root, std::wstring(path).c_str(), 0, access, &opened) != ERROR_SUCCESS) return {};
    return unique_hkey(opened);
}

unique_hkey CreateRegistryKey(HKEY root, std::wstring_view path, REGSAM access) {
    HKEY created = nullptr;
    if (::RegCreateKeyExW(root, std::wstring(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                          nullptr, &created, nullptr) != ERROR_SUCCESS)
        return {};
    return unique_hkey(created);
}

std::optional<RegistryValue> QueryRegistryValue(HKEY key, std::wstring_view name) {
    if (!key) return std::nullopt;
    const std::wstring valueName(name);
    // The buffer is as large as the value said it was and the registry is told that size and no
    // more, so a value that grows in between cannot overrun it: the read is tried again.
    for (int attempt = 0; attempt < 4; ++attempt) {
        RegistryValue value;
        DWORD size = 0;
        if (::RegQueryValueExW(key, valueName.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        value.data.resize(size);
        const LSTATUS status =
            ::RegQueryValueExW(key, valueName.c_str(), nullptr, &value.type, value.data.data(), &size);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return std::nullopt;
        value.data.resize(size);
        return value;
    }
    return std::nullopt;
}

std::optional<std::wstring> RegistryValueText(const RegistryValue& value) {
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) return std::nullopt;
    std::wstring text = TextFromRegistryData(value.data);
    if (value.type == REG_SZ || text.empty()) return text;
    // the size asked for includes the terminating zero; a variable may change in between
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::wstring expanded(::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0), L'\0');
        if (expanded.empty()) return text;
        const DWORD length =
            ::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
        if (length == 0) return text;
        if (length <= expanded.size()) {
            expanded.resize(length - 1);
            return expanded;
        }
    }
    return text;
}

std::optional<std::wstring> QueryRegistryText(HKEY key, std::wstring_view name) {
    const std::optional<RegistryValue> value = QueryRegistryValue(key, name);
    return value ? RegistryValueText(*value) : std::nullopt;
}

bool WriteRegistryValue(HKEY key, std::wstring_view name, DWORD type, std::span<const std::uint8_t> data) {
    return ::RegSetValueExW(key, std::wstring(name).c_str(), 0, type, data.data(),
                            static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool WriteRegistryText(HKEY key, std::wstring_view name, std::wstring_view text) {
    const std::wstring value(text);
    // with the terminating zero
    return WriteRegistryValue(
        key, name, REG_SZ,
        {reinterpret_cast<const std::uint8_t*>(value.c_str()), (value.size() + 1) * sizeof(wchar_t)});
}

bool DeleteRegistryValue(HKEY key, std::wstring_view name) {
    const LSTATUS status = ::RegDeleteValueW(key, std::wstring(name).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
