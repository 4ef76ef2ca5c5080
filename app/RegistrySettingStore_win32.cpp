// The per-user settings store: HKEY_CURRENT_USER\Software\<application>\<section>, one REG_SZ per key.
#include "app/RegistrySettingStore_win32.h"

#include "app/Handles.h"
#include "app/WideText_win32.h"

#include <algorithm>
#include <vector>

namespace {

std::wstring KeyPath(std::string_view app, std::string_view section) {
    return L"Software\\" + Widen(app) + L"\\" + Widen(section);
}

} // namespace

std::string RegistrySettingStore::ReadSetting(std::string_view app, std::string_view section,
                                              std::string_view key, std::string_view defaultText) {
    unique_hkey hkey;
    if (RegOpenKeyExW(root_, KeyPath(app, section).c_str(), 0, KEY_QUERY_VALUE, hkey.put()) != ERROR_SUCCESS)
        return std::string(defaultText);
    const std::wstring name = Widen(key);
    // the value may change size between the probe and the read: retry until it fits
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0, bytes = 0;
        if (RegQueryValueExW(hkey.get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
            return std::string(defaultText);
        // a value of another type was not written by this program: treat it as absent
        if (type != REG_SZ && type != REG_EXPAND_SZ) return std::string(defaultText);
        std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        const LONG status = RegQueryValueExW(hkey.get(), name.c_str(), nullptr, &type,
                                             reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return std::string(defaultText);
        // the stored text need not carry its terminating zero; the buffer always has one
        const std::size_t chars = std::min<std::size_t>(size / sizeof(wchar_t), buffer.size() - 1);
        std::wstring_view text(buffer.data(), chars);
        if (const auto zero = text.find(L'\0'); zero != std::wstring_view::npos) text = text.substr(0, zero);
        return Narrow(text);
    }
    return std::string(defaultText);
}

void RegistrySettingStore::WriteSetting(std::string_view app, std::string_view section, std::string_view key,
                                        std::string_view text) {
    unique_hkey hkey;
    if (RegCreateKeyExW(root_, KeyPath(app, section).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        hkey.put(), nullptr) != ERROR_SUCCESS)
        return;
    const std::wstring value = Widen(text);
    RegSetValueExW(hkey.get(), Widen(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}
