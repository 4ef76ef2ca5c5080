// The clock closed by the message "TockwenQuit", and the installer of this build (Tockwen-setup.exe
// beside the tests, from the shipped script for this build's architecture) run silently as winget
// runs it: an install, an upgrade over a running clock, an uninstall with the clock running, and
// one with a clock from another folder running.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/AppIds.h"
#include "app/Version.h"
#include "base/Handles.h"
#include "settings_ui/FrmSettingLayout.h"
#include "support/Driver_win32.h"

using namespace driver;

namespace {

// The message ends the clock as Exit answered Yes does, unasked.
TEST(QuitMessage, EndsTheClockWithItsSettingsSavedAndNoQuestion) {
    DeleteStoredSettings();
    TockwenProcess app;
    // a changed setting, with the settings dialog left open
    ASSERT_TRUE(app.Start() && app.ChooseMenuItem(3)); // 환경설정
    HWND circle = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (HWND dialog : FindWindows(app.Id(), L"TockwenFrmSetting"))
            if (IsWindowVisible(dialog))
                circle = GetDlgItem(dialog, static_cast<int>(ControlId::Option1Circle));
        return circle != nullptr;
    }));
    SendMessageW(circle, BM_CLICK, 0, 0);

    // to the window found by its class, as the installer finds it
    PostMessageW(FindWindowW(kMainWindowClass, nullptr), RegisterWindowMessageW(kQuitMessage), 0, 0);
    bool asked = false;
    EXPECT_TRUE(WaitFor([&] {
        asked = asked || !FindWindows(app.Id(), L"#32770").empty();
        return !app.Running();
    }));
    EXPECT_FALSE(asked) << "a message box appeared";
    EXPECT_EQ(app.ExitCode(), 0u) << "the clock did not end on its own";
    EXPECT_EQ(StoredSettings().size(), 16u);
    EXPECT_EQ(StoredSettings()[L"ClockShape"].text, L"1");
    EXPECT_FALSE(app.TrayIconPresent());
}

std::wstring Expand(const wchar_t* text) {
    wchar_t path[MAX_PATH];
    return std::wstring(path, ExpandEnvironmentStringsW(text, path, MAX_PATH) - 1);
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs an installer or uninstaller silently, as winget does; its exit code.
DWORD RunSilently(const std::wstring& exe) {
    TockwenProcess process;
    return process.Launch(exe, L"/S") && process.WaitForExit(60000ms) ? process.ExitCode() : ERROR_TIMEOUT;
}

TEST(Installer, InstallUpgradeAndUninstallWithTheClockRunning) {
    const std::wstring setup = TockwenExePath().insert(TockwenExePath().size() - 4, L"-setup");
    if (!Exists(setup)) GTEST_SKIP() << "no Tockwen-setup.exe: makensis was missing when this was built";
    // Wine's menu builder would copy the Start-menu shortcut into the Linux desktop's menus
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", L"winemenubuilder.exe", REG_SZ, L"",
                    2);
    DeleteStoredSettings();
    const std::wstring folder = Expand(L"%LOCALAPPDATA%\\Programs\\Tockwen"), exe = folder + L"\\Tockwen.exe";
    const std::wstring shortcut = Expand(L"%APPDATA%\\Microsoft\\Windows\\Start Menu\\Programs\\Tockwen.lnk");
    const wchar_t* entryKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tockwen";

    ASSERT_EQ(RunSilently(setup), 0u);
    DWORD bytes = 0;
    for (const wchar_t* name : {L"\\Tockwen.exe", L"\\README.txt", L"\\LICENSE.txt", L"\\Uninstall.exe"}) {
        WIN32_FILE_ATTRIBUTE_DATA file{};
        EXPECT_TRUE(GetFileAttributesExW((folder + name).c_str(), GetFileExInfoStandard, &file))
            << testing::PrintToString(std::wstring(name));
        bytes += file.nFileSizeLow;
    }
    EXPECT_TRUE(Exists(shortcut));
    const std::wstring uninstaller = L"\"" + folder + L"\\Uninstall.exe\"";
    const std::map<std::wstring, StoredValue> entry = {
        {L"DisplayName", {REG_SZ, L"Tockwen"}},
        {L"DisplayVersion", {REG_SZ, L"" TOCKWEN_FILE_VERSION}},
        {L"Publisher", {REG_SZ, L"Quorvel"}}, // the version resource's CompanyName
        {L"DisplayIcon", {REG_SZ, exe}},
        {L"InstallLocation", {REG_SZ, folder}},
        {L"EstimatedSize", {REG_DWORD, std::to_wstring(bytes / 1024)}},
        {L"UninstallString", {REG_SZ, uninstaller}},
        {L"QuietUninstallString", {REG_SZ, uninstaller + L" /S"}},
        {L"NoModify", {REG_DWORD, L"1"}},
        {L"NoRepair", {REG_DWORD, L"1"}}};
    EXPECT_EQ(StoredValues(HKEY_CURRENT_USER, entryKey), entry);

    // an upgrade closes the running clock, which saves its settings, and keeps them
    StoreSetting(L"ClockShape", L"1");
    TockwenProcess old;
    ASSERT_TRUE(old.Start(exe)) << "the installed clock did not start";
    ASSERT_EQ(RunSilently(setup), 0u);
    EXPECT_TRUE(!old.Running() && old.ExitCode() == 0)
        << "closed as Exit does, before its files are replaced";
    EXPECT_EQ(StoredSettings().size(), 16u);
    EXPECT_EQ(StoredSettings()[L"ClockShape"].text, L"1");
    // and, silent as package managers upgrade, starts the clock it closed again
    DWORD clockId = 0;
    ASSERT_TRUE(
        WaitFor([&] { return GetWindowThreadProcessId(FindWindowW(kMainWindowClass, nullptr), &clockId); }));
    const unique_handle clock(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, clockId));

    // started with Windows by this installation machine-wide (in another spelling) and by another
    // copy per user, both in Windows' Startup-apps list; the test has the program's bitness
    const wchar_t* startKeys[] = {
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run"};
    const std::wstring ours = L"\"%LOCALAPPDATA%\\PROGRAMS\\tockwen\\Tockwen.EXE\"", other = L"D:\\x.exe";
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        for (const wchar_t* key : startKeys) {
            const std::wstring& value = root == HKEY_LOCAL_MACHINE ? ours : other;
            RegSetKeyValueW(root, key, L"Tockwen", REG_EXPAND_SZ, value.c_str(),
                            static_cast<DWORD>(value.size() + 1) * 2);
        }
    // the uninstaller goes on from a copy of itself in the temporary folder: its effects are waited for
    ASSERT_EQ(RunSilently(folder + L"\\Uninstall.exe"), 0u);
    ASSERT_TRUE(WaitFor([&] { return StoredValues(HKEY_CURRENT_USER, entryKey).empty() && !Exists(folder); },
                        30000ms));
    DWORD exitCode = 1;
    EXPECT_TRUE(WaitForSingleObject(clock.get(), 5000) == WAIT_OBJECT_0 &&
                GetExitCodeProcess(clock.get(), &exitCode) && exitCode == 0)
        << "closed as Exit does";
    EXPECT_FALSE(Exists(shortcut));
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        for (const wchar_t* key : startKeys)
            EXPECT_EQ(RegGetValueW(root, key, L"Tockwen", RRF_RT_ANY, nullptr, nullptr, nullptr),
                      root == HKEY_CURRENT_USER ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(StoredSettings().size(), 16u) << "the settings of the copy the per-user value starts";
    for (const wchar_t* key : startKeys)
        RegDeleteKeyValueW(HKEY_CURRENT_USER, key, L"Tockwen");

    // a clock from another folder (a zip copy) is not this installation's: it runs on
    ASSERT_EQ(RunSilently(setup), 0u);
    TockwenProcess zip;
    ASSERT_TRUE(zip.Start());
    ASSERT_EQ(RunSilently(folder + L"\\Uninstall.exe"), 0u);
    ASSERT_TRUE(WaitFor([&] { return !Exists(folder); }, 30000ms));
    EXPECT_TRUE(zip.Running() && zip.TrayIconPresent());
    HKEY settings = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tockwen", 0, KEY_READ, &settings), ERROR_SUCCESS);
}

} // namespace
