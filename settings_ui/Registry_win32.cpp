// Registry text values through the wide registry functions, so that a path with characters
// outside the system code page is stored as it is rather than with question marks.
#include "settings_ui/Registry_win32.h"

#include "base/RegistryValue_win32.h"

std::wstring QueryValueText(HKEY key, std::wstring_view name) {
    const std::optional<RegistryValue> value = QueryRegistryValue(key, name);
    if (!value || (value->type != REG_SZ && value->type != REG_BINARY)) return {};
    return ValueTextFromData(value->type, value->data);
}

std::wstring ReadValueText(HKEY root, std::wstring_view path, std::wstring_view name) {
    return QueryValueText(OpenRegistryKey(root, path, KEY_QUERY_VALUE).get(), name);
}

bool StoreValueText(HKEY root, std::wstring_view path, std::wstring_view name, std::wstring_view data) {
    const unique_hkey key = CreateRegistryKey(root, path, KEY_SET_VALUE);
    return key && WriteRegistryText(key.get(), name, data);
}

bool RemoveValue(HKEY root, std::wstring_view path, std::wstring_view name) {
    const unique_hkey key = CreateRegistryKey(root, path, KEY_SET_VALUE);
    return key && DeleteRegistryValue(key.get(), name);
}

std::wstring RunKeyRegistry::ReadRunValue(RunPlace place) {
    return ReadValueText(Root(place), kRunKeyPath, kRunValueName);
}

bool RunKeyRegistry::StoreRunValue(RunPlace place, std::wstring_view path) {
    return StoreValueText(Root(place), kRunKeyPath, kRunValueName, path);
}

void RunKeyRegistry::RemoveRunValue(RunPlace place) {
    if (place == RunPlace::Machine) {
        RemoveValue(machineRoot_, kRunKeyPath, kRunValueName);
        return;
    }
    // the per-user key is only opened, never created: clearing the box as an administrator
    // leaves nothing behind per user
    if (const unique_hkey key = OpenRegistryKey(userRoot_, kRunKeyPath, KEY_SET_VALUE))
        DeleteRegistryValue(key.get(), kRunValueName);
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
