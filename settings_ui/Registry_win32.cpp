// Registry text values through the wide registry functions, so that a path with characters
// outside the system code page is stored as it is rather than with question marks.
#include "settings_ui/Registry_win32.h"

#include <cstdint>
#include <vector>

#include "app/Handles.h"

std::wstring QueryValueText(HKEY key, std::wstring_view name) {
    const std::wstring valueName(name);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    if (type != REG_SZ && type != REG_BINARY) return {};

    // The buffer is as large as the value said it was; the registry is told that size and no
    // more, so a value that grew in between fails the read instead of overrunning it.
    std::vector<std::uint8_t> data(size);
    DWORD readType = 0;
    if (::RegQueryValueExW(key, valueName.c_str(), nullptr, &readType, data.data(), &size) != ERROR_SUCCESS)
        return {};
    data.resize(size);
    return ValueTextFromData(readType, data);
}

std::wstring ReadValueText(HKEY root, std::wstring_view path, std::wstring_view name) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(root, std::wstring(path).c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return {};
    const unique_hkey key(opened);
    return QueryValueText(key.get(), name);
}

namespace {

unique_hkey CreateKeyForWriting(HKEY root, std::wstring_view path) {
    HKEY created = nullptr;
    if (::RegCreateKeyExW(root, std::wstring(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE, nullptr, &created, nullptr) != ERROR_SUCCESS)
        return unique_hkey();
    return unique_hkey(created);
}

} // namespace

bool StoreValueText(HKEY root, std::wstring_view path, std::wstring_view name, std::wstring_view data) {
    const unique_hkey key = CreateKeyForWriting(root, path);
    if (!key) return false;
    const std::wstring text(data);
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)); // with the terminating zero
    return ::RegSetValueExW(key.get(), std::wstring(name).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
}

bool RemoveValue(HKEY root, std::wstring_view path, std::wstring_view name) {
    const unique_hkey key = CreateKeyForWriting(root, path);
    if (!key) return false;
    const LSTATUS status = ::RegDeleteValueW(key.get(), std::wstring(name).c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

std::wstring MachineRunRegistry::ReadRunValue() {
    return ReadValueText(root_, kRunKeyPath, kRunValueName);
}

void MachineRunRegistry::StoreRunValue(std::wstring_view path) {
    StoreValueText(root_, kRunKeyPath, kRunValueName, path);
}

void MachineRunRegistry::RemoveRunValue() {
    RemoveValue(root_, kRunKeyPath, kRunValueName);
}

std::wstring CurrentRunPath() {
    // grow the buffer until the whole path fits: a long folder must not be cut short
    std::wstring module(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
        if (length == 0) return {};
        if (length < module.size()) {
            module.resize(length);
            break;
        }
        module.resize(module.size() * 2);
    }
    const ModuleLocation location = SplitModulePath(module);
    return BuildRunPath(location.folder, location.exeName);
}
