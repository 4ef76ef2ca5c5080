// The registry text functions against HKEY_LOCAL_MACHINE of the test prefix.
#include "settings_ui/Registry_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Handles.h"
#include "base/RegistryValue_win32.h"
#include "support/ScratchKey_win32.h"

namespace {

constexpr wchar_t kTestPath[] = L"SOFTWARE\\TockwenTests\\Registry";

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(key_); }
    void Put(const wchar_t* name, DWORD type, const std::vector<BYTE>& data) {
        ASSERT_EQ(::RegSetValueExW(key_.get(), name, 0, type, data.data(), static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }
    static std::vector<BYTE> Bytes(const std::wstring& text, bool terminated) {
        const auto* p = reinterpret_cast<const BYTE*>(text.c_str());
        return std::vector<BYTE>(p, p + (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
    }
    ScratchKey key_{HKEY_LOCAL_MACHINE, kTestPath};
};

TEST_F(RegistryTest, ReadsEachKindOfValue) {
    Put(L"sz", REG_SZ, Bytes(L"C:\\Tools\\clock.exe", true));
    Put(L"spaces", REG_SZ, Bytes(L"   ", true));
    Put(L"unterminated", REG_SZ, Bytes(L"abc", false));
    Put(L"empty", REG_SZ, {});
    Put(L"bin2", REG_BINARY, {0x34, 0x12});
    Put(L"binNeg", REG_BINARY, {0xFF, 0xFF});
    Put(L"bin4", REG_BINARY, {0x05, 0x00, 0x77, 0x77});
    Put(L"bin1", REG_BINARY, {0x09});
    Put(L"dword", REG_DWORD, {1, 0, 0, 0});
    ::SetEnvironmentVariableW(L"TOCKWEN_TEST_DIR", L"D:\\Tools");
    Put(L"expand", REG_EXPAND_SZ, Bytes(L"%TOCKWEN_TEST_DIR%\\x.exe", true)); // Windows starts it expanded
    Put(L"multi", REG_MULTI_SZ, Bytes(std::wstring(L"a\0b\0", 4), true));

    struct Case {
        const wchar_t* name;
        const wchar_t* text;
    };
    const Case cases[] = {
        {L"sz", L"C:\\Tools\\clock.exe"},
        {L"spaces", L"   "},
        {L"unterminated", L"abc"},
        {L"empty", L""},
        {L"bin2", L"4660"},
        {L"binNeg", L"-1"},
        {L"bin4", L"5"}, // a longer binary value is read safely: its first two bytes
        {L"bin1", L"9"},
        {L"dword", L""},
        {L"expand", L"D:\\Tools\\x.exe"},
        {L"multi", L""},
        {L"missing", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QueryValueText(key_.get(), c.name), c.text) << c.name;
        EXPECT_EQ(ReadValueText(HKEY_LOCAL_MACHINE, kTestPath, c.name), c.text) << c.name;
    }
    EXPECT_FALSE(IsRegisteredText(ReadValueText(HKEY_LOCAL_MACHINE, kTestPath, L"spaces")));
    EXPECT_EQ(ReadValueText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\TockwenTests\\NoSuchKey", L"sz"), L"");
    EXPECT_EQ(QueryValueText(nullptr, L"sz"), L"");
}

TEST_F(RegistryTest, StoresTextAsRegSzWithItsTerminator) {
    const std::wstring path = L"C:\\Tools\\Clock\\clock.exe";
    EXPECT_TRUE(StoreValueText(HKEY_LOCAL_MACHINE, kTestPath, L"Tockwen", path));
    DWORD type = 0, size = 0;
    ASSERT_EQ(::RegQueryValueExW(key_.get(), L"Tockwen", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, (path.size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(ReadValueText(HKEY_LOCAL_MACHINE, kTestPath, L"Tockwen"), path);

    // storing again replaces the text
    EXPECT_TRUE(StoreValueText(HKEY_LOCAL_MACHINE, kTestPath, L"Tockwen", L"D:\\x.exe"));
    EXPECT_EQ(ReadValueText(HKEY_LOCAL_MACHINE, kTestPath, L"Tockwen"), L"D:\\x.exe");
}

TEST_F(RegistryTest, TextOutsideAnyCodePageSurvivesTheRoundTrip) {
    // Korean, Greek, Cyrillic and a character beyond the basic plane: the ANSI functions would
    // have turned most of these into question marks
    const std::wstring path = L"C:\\시계\\Ωμέγα\\Часы\\\U0001F570\\clock.exe";
    EXPECT_TRUE(StoreValueText(HKEY_LOCAL_MACHINE, kTestPath, L"Tockwen", path));
    EXPECT_EQ(ReadValueText(HKEY_LOCAL_MACHINE, kTestPath, L"Tockwen"), path);
    // and what another program reads is the same text
    std::wstring stored(64, L'\0');
    DWORD size = static_cast<DWORD>(stored.size() * sizeof(wchar_t));
    ASSERT_EQ(::RegQueryValueExW(key_.get(), L"Tockwen", nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(stored.data()), &size),
              ERROR_SUCCESS);
    stored.resize(size / sizeof(wchar_t) - 1);
    EXPECT_EQ(stored, path);
}

TEST_F(RegistryTest, StoringCreatesTheKeyAndRemovingIsSilent) {
    const std::wstring deeper = std::wstring(kTestPath) + L"\\New\\Key";
    EXPECT_TRUE(StoreValueText(HKEY_LOCAL_MACHINE, deeper, L"v", L"x"));
    EXPECT_EQ(ReadValueText(HKEY_LOCAL_MACHINE, deeper, L"v"), L"x");
    EXPECT_TRUE(RemoveValue(HKEY_LOCAL_MACHINE, deeper, L"v"));
    EXPECT_EQ(ReadValueText(HKEY_LOCAL_MACHINE, deeper, L"v"), L"");
    // deleting a value that does not exist is no failure
    EXPECT_TRUE(RemoveValue(HKEY_LOCAL_MACHINE, deeper, L"v"));
    // a write that cannot happen says so
    EXPECT_FALSE(StoreValueText(nullptr, deeper, L"v", L"x"));
    EXPECT_FALSE(RemoveValue(nullptr, deeper, L"v"));
    // nor does a key come into being to have a value removed from it
    EXPECT_TRUE(RemoveValue(HKEY_LOCAL_MACHINE, deeper + L"\\Not", L"v"));
    EXPECT_FALSE(OpenRegistryKey(HKEY_LOCAL_MACHINE, deeper + L"\\Not", KEY_READ));
}

TEST(RunRegistry, TheMachineWideRunValue) {
    // the real key of the test prefix; whatever was there is put back
    const std::wstring before = ReadValueText(HKEY_LOCAL_MACHINE, kRunKeyPath, kRunValueName);
    RunKeyRegistry registry;
    EXPECT_TRUE(registry.StoreRunValue(RunPlace::Machine, L"C:\\clock.exe"));
    EXPECT_EQ(
        ReadValueText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", L"Tockwen"),
        L"C:\\clock.exe");
    EXPECT_EQ(registry.ReadRunValue(RunPlace::Machine), L"C:\\clock.exe");
    EXPECT_EQ(registry.ReadRunValue(RunPlace::User), L"") << "the per-user key is another place";
    registry.RemoveRunValue(RunPlace::Machine);
    EXPECT_EQ(registry.ReadRunValue(RunPlace::Machine), L"");
    if (!before.empty()) StoreValueText(HKEY_LOCAL_MACHINE, kRunKeyPath, kRunValueName, before);
}

// Windows' switch sits beside each Run key, under Run32 for a 32-bit program's machine-wide value
// on 64-bit Windows (told here, as a 32-bit prefix has no WOW64); a long name is found from a short.
TEST_F(RegistryTest, StartupApprovedValuesBesideEachRunKey) {
    const ScratchKey userScratch{HKEY_CURRENT_USER, kTestPath};
    const unique_hkey machine = CreateRegistryKey(HKEY_LOCAL_MACHINE, kTestPath, KEY_ALL_ACCESS),
                      user = CreateRegistryKey(HKEY_CURRENT_USER, kTestPath, KEY_ALL_ACCESS);
    const std::uint8_t off[] = {0x03, 0x01};
    for (bool wow64 : {false, true}) {
        RunKeyRegistry registry(machine.get(), user.get(), wow64);
        EXPECT_FALSE(registry.ReadApproval(RunPlace::Machine));
        ASSERT_TRUE(registry.StoreApproval(RunPlace::Machine, off));
        ASSERT_TRUE(registry.StoreApproval(RunPlace::User, off));
        const std::wstring machineKey = std::wstring(kTestPath) + L"\\" + std::wstring(kStartupApprovedPath) +
                                        (wow64 ? L"Run32" : L"Run");
        EXPECT_TRUE(
            QueryRegistryValue(OpenRegistryKey(HKEY_LOCAL_MACHINE, machineKey, KEY_READ).get(), L"Tockwen"));
        EXPECT_EQ(registry.ReadApproval(RunPlace::User), (std::vector<std::uint8_t>{0x03, 0x01}));
        EXPECT_TRUE(registry.RemoveApproval(RunPlace::Machine) && registry.RemoveApproval(RunPlace::User));
        EXPECT_FALSE(registry.ReadApproval(RunPlace::User));
    }
    wchar_t self[MAX_PATH], shortName[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    ::GetShortPathNameW(self, shortName, MAX_PATH);
    RunKeyRegistry system;
    EXPECT_EQ(system.LongPath(shortName), self);
    EXPECT_TRUE(IsInsideFolder(_wgetenv(L"USERPROFILE"), system.ProfilesFolder(), system))
        << "the profiles folder";
}

TEST(RunRegistry, CurrentRunPathIsThisProgram) {
    wchar_t self[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring expected(self, length);
    expected = expected.substr(0, expected.find_last_of(L'.')) + L".exe";
    EXPECT_EQ(CurrentRunPath(), expected);
}

} // namespace
