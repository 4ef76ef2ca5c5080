// Registry text values through the wide registry functions, so that a path with characters
// outside the system code page is stored as it is rather than with question marks.
#include "settings_ui/Registry_win32.h"

#include <shlobj.h>

#include "base/RegistryValue_win32.h"

std::wstring QueryValueText(HKEY key, std::wstring_view name) {
    const std::optional<RegistryValue> value = QueryRegistryValue(key, name);
    if (!value) return {};
    if (value->type == REG_BINARY) return BinaryValueText(value->data);
    return RegistryValueText(*value).value_or(std::wstring());
}

std::wstring ReadValueText(HKEY root, std::wstring_view path, std::wstring_view name) {
    return QueryValueText(OpenRegistryKey(root, path, KEY_QUERY_VALUE).get(), name);
}

bool StoreValueText(HKEY root, std::wstring_view path, std::wstring_view name, std::wstring_view data) {
    const unique_hkey key = CreateRegistryKey(root, path, KEY_SET_VALUE);
    return key && WriteRegistryText(key.get(), name, data);
}

bool RemoveValue(HKEY root, std::wstring_view path, std::wstring_view name) {
    // opened, never created: removing a value leaves no empty key behind
    unique_hkey key;
    const LSTATUS status = ::RegOpenKeyExW(root, std::wstring(path).c_str(), 0, KEY_SET_VALUE, key.put());
    if (status == ERROR_FILE_NOT_FOUND) return true;
    return status == ERROR_SUCCESS && DeleteRegistryValue(key.get(), name);
}

std::wstring RunKeyRegistry::ReadRunValue(RunPlace place) {
    return ReadValueText(Root(place), kRunKeyPath, kRunValueName);
}

bool RunKeyRegistry::StoreRunValue(RunPlace place, std::wstring_view path) {
    return StoreValueText(Root(place), kRunKeyPath, kRunValueName, path);
}

void RunKeyRegistry::RemoveRunValue(RunPlace place) {
    RemoveValue(Root(place), kRunKeyPath, kRunValueName);
}

bool RunsUnderWow64() {
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

unique_hkey RunKeyRegistry::ApprovalKey(RunPlace place, REGSAM access, bool create) const {
    const bool run32 = place == RunPlace::Machine && wow64_;
    const std::wstring path =
        std::wstring(kStartupApprovedPath) + std::wstring(StartupApprovedKeyName(place, wow64_));
    access |= run32 ? KEY_WOW64_64KEY : 0;
    return create ? CreateRegistryKey(Root(place), path, access) : OpenRegistryKey(Root(place), path, access);
}

std::optional<std::vector<std::uint8_t>> RunKeyRegistry::ReadApproval(RunPlace place) {
    std::optional<RegistryValue> value =
        QueryRegistryValue(ApprovalKey(place, KEY_QUERY_VALUE).get(), kRunValueName);
    if (!value) return std::nullopt;
    return std::move(value->data);
}

bool RunKeyRegistry::RemoveApproval(RunPlace place) {
    const unique_hkey key = ApprovalKey(place, KEY_SET_VALUE);
    // no key, no value; a key that cannot be opened for writing keeps what it holds
    if (!key) return !ReadApproval(place);
    return DeleteRegistryValue(key.get(), kRunValueName);
}

bool RunKeyRegistry::StoreApproval(RunPlace place, std::span<const std::uint8_t> bytes) {
    const unique_hkey key = ApprovalKey(place, KEY_SET_VALUE, true);
    return key && WriteRegistryValue(key.get(), kRunValueName, REG_BINARY, bytes);
}

std::wstring RunKeyRegistry::LongPath(std::wstring_view path) {
    const std::wstring shortPath(path);
    std::wstring longPath(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetLongPathNameW(shortPath.c_str(), longPath.data(), static_cast<DWORD>(longPath.size()));
        if (length == 0) return shortPath; // no such file: the path as it is
        if (length < longPath.size()) {
            longPath.resize(length);
            return longPath;
        }
        longPath.resize(length);
    }
}

std::wstring RunKeyRegistry::ProfilesFolder() {
    unique_cotaskmem_string folder;
    if (FAILED(::SHGetKnownFolderPath(FOLDERID_UserProfiles, 0, nullptr, folder.put()))) return {};
    return folder.get();
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
