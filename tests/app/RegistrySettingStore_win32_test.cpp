// The registry-backed settings store, against the test prefix's HKEY_CURRENT_USER.
#include "app/RegistrySettingStore_win32.h"

#include <gtest/gtest.h>

#include "base/Handles.h"

namespace {

// a test application name of its own, so nothing here touches Tockwen's real settings
constexpr char kApp[] = "TockwenStoreTest";
constexpr wchar_t kKey[] = L"Software\\TockwenStoreTest\\Setting";

class RegistryStore : public testing::Test {
  protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TockwenStoreTest"); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TockwenStoreTest"); }

    void StoreRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        unique_hkey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                                  nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
    }

    RegistrySettingStore store;
};

TEST_F(RegistryStore, MissingKeyGivesTheDefault) {
    EXPECT_EQ(store.ReadSetting(kApp, "Setting", "Alarm", "1"), "1");
    store.WriteSetting(kApp, "Setting", "Other", "x");
    EXPECT_EQ(store.ReadSetting(kApp, "Setting", "Alarm", "def"), "def");
}

TEST_F(RegistryStore, WritesReplaceAndReadBack) {
    store.WriteSetting(kApp, "Setting", "BGColor", "16777215");
    EXPECT_EQ(store.ReadSetting(kApp, "Setting", "BGColor", "0"), "16777215");
    store.WriteSetting(kApp, "Setting", "BGColor", "");
    EXPECT_EQ(store.ReadSetting(kApp, "Setting", "BGColor", "0"), "") << "an empty text is not a missing key";
    store.WriteSetting(kApp, "Setting", "Text", "정각 \t 1");
    EXPECT_EQ(store.ReadSetting(kApp, "Setting", "Text", ""), "정각 \t 1");
    std::string big(5000, '7');
    store.WriteSetting(kApp, "Setting", "Big", big);
    EXPECT_EQ(store.ReadSetting(kApp, "Setting", "Big", ""), big);
}

TEST_F(RegistryStore, ValuesWrittenByOthers) {
    // no terminating zero: the text is what was stored, nothing read past it
    const wchar_t unterminated[] = {L'4', L'2'};
    StoreRaw(L"Raw", REG_SZ, unterminated, sizeof unterminated);
    EXPECT_EQ(store.ReadSetting(kApp, "Setting", "Raw", "d"), "42");
    // text stops at an embedded zero
    const wchar_t embedded[] = L"12\0"
                               L"34";
    StoreRaw(L"Embedded", REG_SZ, embedded, sizeof embedded);
    EXPECT_EQ(store.ReadSetting(kApp, "Setting", "Embedded", "d"), "12");
    // a value of another type was not written by the program: it counts as absent
    const DWORD number = 5;
    StoreRaw(L"Dword", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(store.ReadSetting(kApp, "Setting", "Dword", "d"), "d");
    StoreRaw(L"Odd", REG_SZ, "\x31", 1); // one byte: half a character
    EXPECT_EQ(store.ReadSetting(kApp, "Setting", "Odd", "d"), "");
}

TEST_F(RegistryStore, EverySettingRoundTrips) {
    // a store that holds only the settings' keys, each a REG_SZ, in the program's text forms
    SettingsRecord record{3,    0x00123456, 0x80000008, 0x00FF8000, 0, 0x000000FF, true,
                          true, 0x0644,     true,       22,         6, false};
    struct Store : RegistrySettingStore {
        std::string ReadSetting(std::string_view, std::string_view section, std::string_view key,
                                std::string_view def) override {
            return RegistrySettingStore::ReadSetting(kApp, section, key, def);
        }
        void WriteSetting(std::string_view, std::string_view section, std::string_view key,
                          std::string_view text) override {
            RegistrySettingStore::WriteSetting(kApp, section, key, text);
        }
    } redirected;
    SaveSettings(redirected, record);
    SettingsRecord back;
    LoadSettings(redirected, back);
    EXPECT_EQ(back, record);

    unique_hkey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, key.put()), ERROR_SUCCESS);
    DWORD count = 0;
    RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                     nullptr, nullptr, nullptr);
    EXPECT_EQ(count, 16u);
    wchar_t text[64] = {};
    DWORD size = sizeof text, type = 0;
    ASSERT_EQ(RegQueryValueExW(key.get(), L"TColor", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(text, L"-2147483640");
}

} // namespace
