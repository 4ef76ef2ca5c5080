// The per-user settings store: HKEY_CURRENT_USER\Software\<application>\<section>, one REG_SZ per key.
#include "app/RegistrySettingStore_win32.h"

#include "base/RegistryValue_win32.h"
#include "base/WideText_win32.h"

namespace {

std::wstring KeyPath(std::string_view app, std::string_view section) {
    return L"Software\\" + Widen(app) + L"\\" + Widen(section);
}

} // namespace

std::string RegistrySettingStore::ReadSetting(std::string_view app, std::string_view section,
                                              std::string_view key, std::string_view defaultText) {
    const unique_hkey hkey = OpenRegistryKey(root_, KeyPath(app, section), KEY_QUERY_VALUE);
    // a value of another type was not written by this program: it counts as absent
    const std::optional<std::wstring> text = QueryRegistryText(hkey.get(), Widen(key));
    return text ? Narrow(*text) : std::string(defaultText);
}

void RegistrySettingStore::WriteSetting(std::string_view app, std::string_view section, std::string_view key,
                                        std::string_view text) {
    const unique_hkey hkey = CreateRegistryKey(root_, KeyPath(app, section), KEY_SET_VALUE);
    if (hkey) WriteRegistryText(hkey.get(), Widen(key), Widen(text));
}
