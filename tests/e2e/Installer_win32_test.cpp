// The installer of this build (Tockwen-setup.exe beside the tests, made from the shipped
// installer's script), run silently as winget and scoop run it: what an install leaves, an
// upgrade over a running clock, and an uninstall that leaves nothing.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "support/Driver_win32.h"

using namespace driver;

namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tockwen";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kApprovedKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
constexpr const wchar_t* kFiles[] = {L"Tockwen.exe", L"README.txt", L"LICENSE.txt", L"Uninstall.exe"};

std::wstring Beside(const wchar_t* name) {
    const std::wstring exe = TockwenExePath();
    return exe.substr(0, exe.find_last_of(L'\\') + 1) + name;
}

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    SHGetKnownFolderPath(id, 0, nullptr, &path);
    std::wstring result = path ? path : L"";
    CoTaskMemFree(path);
    return result;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Bytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool KeyExists(HKEY root, const wchar_t* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool ValueExists(HKEY root, const wchar_t* path, const wchar_t* name) {
    return RegGetValueW(root, path, name, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// Every value of a key: text as it is, a DWORD as its decimal number.
std::map<std::wstring, StoredValue> Values(HKEY root, const wchar_t* path) {
    std::map<std::wstring, StoredValue> values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256, type = 0;
        BYTE data[2048] = {};
        DWORD size = sizeof data - sizeof(wchar_t);
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        values[name] = {type, type == REG_DWORD ? std::to_wstring(*reinterpret_cast<DWORD*>(data))
                                                : std::wstring(reinterpret_cast<const wchar_t*>(data))};
    }
    RegCloseKey(key);
    return values;
}

// A text of a file's version resource, in the block of its first translation.
std::wstring VersionText(const std::wstring& file, const wchar_t* name) {
    std::vector<BYTE> block(GetFileVersionInfoSizeW(file.c_str(), nullptr));
    if (block.empty() ||
        !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data()))
        return {};
    WORD* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                        &length) ||
        length < 4)
        return {};
    wchar_t path[128];
    swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation[0], translation[1], name);
    wchar_t* text = nullptr;
    return VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&text), &length) ? text : L"";
}

BOOL CALLBACK CollectIcon(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR images) {
    HRSRC found = FindResourceW(module, name, type);
    const auto* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    reinterpret_cast<std::vector<std::string>*>(images)->emplace_back(data, SizeofResource(module, found));
    return TRUE;
}

// The images of a file's icons, in order of their bytes.
std::vector<std::string> IconImages(const std::wstring& file) {
    std::vector<std::string> images;
    HMODULE module = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EnumResourceNamesW(module, RT_ICON, CollectIcon, reinterpret_cast<LONG_PTR>(&images));
    FreeLibrary(module);
    std::sort(images.begin(), images.end());
    return images;
}

// The file a shortcut starts.
std::wstring ShortcutTarget(const std::wstring& link) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::wstring target;
    IShellLinkW* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shellLink)))) {
        IPersistFile* file = nullptr;
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
                SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0)))
                target = path;
            file->Release();
        }
        shellLink->Release();
    }
    CoUninitialize();
    return target;
}

DWORD RunAndWait(std::wstring command) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return GetLastError();
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

class Installer : public testing::Test {
  protected:
    void SetUp() override {
        if (!Exists(setup)) GTEST_SKIP() << "no Tockwen-setup.exe: makensis was missing when this was built";
        // Wine's menu builder would copy the Start-menu shortcut into the Linux desktop's menus,
        // outside the throwaway prefix: switched off for the installer's processes
        if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
            RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", L"winemenubuilder.exe",
                            REG_SZ, L"", sizeof(wchar_t));
        DeleteStoredSettings();
    }
    void TearDown() override {
        if (KeyExists(HKEY_CURRENT_USER, kUninstallKey)) Uninstall();
    }

    void Install(const std::wstring& installer) { ASSERT_EQ(RunAndWait(L"\"" + installer + L"\" /S"), 0u); }
    void Install() { Install(setup); }
    // As winget removes it: the quiet command of the uninstall entry. The uninstaller starts a
    // copy of itself from the temporary folder and ends at once, so its effects are waited for.
    bool Uninstall() {
        wchar_t command[1024] = {};
        DWORD size = sizeof command;
        RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, L"QuietUninstallString", RRF_RT_REG_SZ, nullptr,
                     command, &size);
        return RunAndWait(command) == 0 &&
               WaitFor([&] { return !KeyExists(HKEY_CURRENT_USER, kUninstallKey) && !Exists(folder); },
                       30000ms);
    }

    const std::wstring setup = Beside(L"Tockwen-setup.exe");
    const std::wstring folder = KnownFolder(FOLDERID_LocalAppData) + L"\\Programs\\Tockwen";
    const std::wstring exe = folder + L"\\Tockwen.exe";
    const std::wstring shortcut = KnownFolder(FOLDERID_Programs) + L"\\Tockwen.lnk";
};

TEST_F(Installer, SilentInstallThenUninstallWithTheClockRunningLeavesNothing) {
    Install();
    ULONGLONG bytes = 0;
    for (const wchar_t* file : kFiles) {
        EXPECT_TRUE(Exists(folder + L"\\" + file))
            << "missing: " << testing::PrintToString(std::wstring(file));
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExW((folder + L"\\" + file).c_str(), GetFileExInfoStandard, &data);
        bytes += (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    }
    EXPECT_TRUE(Bytes(exe) == Bytes(TockwenExePath())) << "the installed program is this build's";
    EXPECT_EQ(ShortcutTarget(shortcut), exe);

    const std::wstring uninstaller = L"\"" + folder + L"\\Uninstall.exe\"";
    const std::map<std::wstring, StoredValue> entry = {
        {L"DisplayName", {REG_SZ, L"Tockwen"}},
        {L"DisplayVersion", {REG_SZ, VersionText(exe, L"FileVersion")}},
        {L"Publisher", {REG_SZ, VersionText(exe, L"CompanyName")}},
        {L"DisplayIcon", {REG_SZ, exe}},
        {L"InstallLocation", {REG_SZ, folder}},
        {L"EstimatedSize", {REG_DWORD, std::to_wstring(bytes / 1024)}},
        {L"UninstallString", {REG_SZ, uninstaller}},
        {L"QuietUninstallString", {REG_SZ, uninstaller + L" /S"}},
        {L"NoModify", {REG_DWORD, L"1"}},
        {L"NoRepair", {REG_DWORD, L"1"}}};
    EXPECT_EQ(Values(HKEY_CURRENT_USER, kUninstallKey), entry);

    // the installer's own version resource and icon are the program's
    for (const wchar_t* name : {L"CompanyName", L"ProductName", L"FileVersion", L"ProductVersion"})
        EXPECT_EQ(VersionText(setup, name), VersionText(exe, name))
            << testing::PrintToString(std::wstring(name));
    EXPECT_FALSE(VersionText(exe, L"CompanyName").empty());
    EXPECT_EQ(IconImages(setup), IconImages(exe));

    TockwenProcess clock;
    ASSERT_TRUE(clock.Start(exe)) << "the installed clock did not start";
    // started with Windows, as the program and Windows' Startup-apps switch leave it; the test
    // has the program's bitness, so it sees the Run keys the program writes
    const BYTE enabled[12] = {2};
    const struct {
        HKEY root;
        const wchar_t* key;
        DWORD type;
    } startValues[] = {{HKEY_LOCAL_MACHINE, kRunKey, REG_SZ},
                       {HKEY_CURRENT_USER, kRunKey, REG_SZ},
                       {HKEY_LOCAL_MACHINE, kApprovedKey, REG_BINARY},
                       {HKEY_CURRENT_USER, kApprovedKey, REG_BINARY}};
    const std::wstring quoted = L"\"" + exe + L"\"";
    for (const auto& v : startValues)
        ASSERT_EQ(RegSetKeyValueW(v.root, v.key, L"Tockwen", v.type,
                                  v.type == REG_SZ ? static_cast<const void*>(quoted.c_str()) : enabled,
                                  v.type == REG_SZ ? static_cast<DWORD>((quoted.size() + 1) * 2) : 12),
                  ERROR_SUCCESS);

    ASSERT_TRUE(Uninstall()) << "the uninstall entry or the folder is still there";
    EXPECT_TRUE(clock.WaitForExit());
    EXPECT_EQ(clock.ExitCode(), 0u) << "closed as Exit does, not killed";
    EXPECT_FALSE(clock.TrayIconPresent());
    EXPECT_FALSE(Exists(shortcut));
    for (const auto& v : startValues)
        EXPECT_FALSE(ValueExists(v.root, v.key, L"Tockwen")) << testing::PrintToString(std::wstring(v.key));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Tockwen")) << "the settings";
}

TEST_F(Installer, UpgradeClosesTheRunningClockAndKeepsTheSettings) {
    Install();
    StoreSetting(L"ClockShape", L"1");
    TockwenProcess clock;
    ASSERT_TRUE(clock.Start(exe));
    Install();
    EXPECT_FALSE(clock.Running()) << "the clock is closed before its files are replaced";
    EXPECT_EQ(clock.ExitCode(), 0u) << "closed as Exit does, not killed";
    const auto saved = StoredSettings();
    EXPECT_EQ(saved.size(), 8u) << "the clock saved its settings as it ended";
    EXPECT_EQ(saved.count(L"ClockShape") ? saved.at(L"ClockShape").text : L"", L"1");
    Install();
    EXPECT_EQ(StoredSettings(), saved);
    EXPECT_TRUE(Exists(exe));
}

// 64-bit Windows keeps the Startup-apps state of a 32-bit program's machine-wide value apart,
// under Run32 in its own view. A 32-bit prefix has no WOW64, so a build of the installer that acts
// as under WOW64 shows the uninstaller removing it there.
TEST_F(Installer, UnderWow64TheMachineWideStartupStateIsRemovedFromRun32) {
    const std::wstring wow64 = Beside(L"Tockwen-setup-wow64.exe");
    if (!Exists(wow64)) GTEST_SKIP() << "made by 32-bit builds only";
    Install(wow64);
    const std::wstring run32 = std::wstring(kApprovedKey) + L"32";
    const BYTE enabled[12] = {2};
    for (const std::wstring& key : {run32, std::wstring(kApprovedKey)})
        ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"Tockwen", REG_BINARY, enabled, 12),
                  ERROR_SUCCESS);
    ASSERT_TRUE(Uninstall());
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, run32.c_str(), L"Tockwen"));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kApprovedKey, L"Tockwen")) << "not the 64-bit program's";
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kApprovedKey, L"Tockwen");
}

} // namespace
