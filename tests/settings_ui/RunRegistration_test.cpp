// Start with Windows: the stored path, decoding of registry values and the box's reaction.
#include "settings_ui/RunRegistration.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

TEST(RunRegistration, RunPathFromFolderAndName) {
    struct Case {
        const wchar_t* folder;
        const wchar_t* name;
        const wchar_t* path;
    };
    const Case cases[] = {
        {L"D:\\Tools\\Clock", L"clock", L"D:\\Tools\\Clock\\clock.exe"},
        {L"C:\\", L"clock", L"C:\\clock.exe"}, // a drive's root: one separator, not two
        {L"\\\\server\\share\\dir", L"clock",
         L"\\\\server\\share\\dir\\clock.exe"}, // network folder keeps "\\"
        {L"\\\\server\\share\\", L"clock", L"\\\\server\\share\\clock.exe"},
        // a space anywhere: the whole path in quotation marks, or logon runs C:\Program.exe
        {L"C:\\Program Files\\시계", L"Tockwen", L"\"C:\\Program Files\\시계\\Tockwen.exe\""},
        {L"C:\\Program Files\\Tockwen", L"Tockwen", L"\"C:\\Program Files\\Tockwen\\Tockwen.exe\""},
        {L"C:\\Users\\Kim Minsu\\Downloads", L"clock", L"\"C:\\Users\\Kim Minsu\\Downloads\\clock.exe\""},
        {L"D:\\Tools", L"my clock", L"\"D:\\Tools\\my clock.exe\""},
        {L"C:\\", L"my clock", L"\"C:\\my clock.exe\""},
        {L"\\\\server\\my share", L"clock", L"\"\\\\server\\my share\\clock.exe\""},
        {L"C:\\a b\\\\c", L"x", L"\"C:\\a b\\c\\x.exe\""}, // collapsed first, then quoted
        // pairs are collapsed left to right without overlap: three in a row leave two
        {L"C:\\a\\\\\\b", L"x", L"C:\\a\\\\b\\x.exe"},
        {L"C:\\a\\\\b", L"x", L"C:\\a\\b\\x.exe"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildRunPath(c.folder, c.name), c.path) << c.folder;
}

TEST(RunRegistration, ModulePathSplitsIntoFolderAndName) {
    struct Case {
        const wchar_t* full;
        ModuleLocation location;
    };
    const Case cases[] = {
        {L"D:\\Tools\\Clock\\clock.exe", {L"D:\\Tools\\Clock", L"clock"}},
        {L"C:\\clock.exe", {L"C:\\", L"clock"}},
        {L"\\\\server\\share\\dir\\clock.exe", {L"\\\\server\\share\\dir", L"clock"}},
        {L"C:\\x\\Tockwen.EXE", {L"C:\\x", L"Tockwen"}},   // ".exe" is appended whatever the real extension
        {L"C:\\x\\my.clock.exe", {L"C:\\x", L"my.clock"}}, // only the last extension goes
        {L"C:\\x\\clock", {L"C:\\x", L"clock"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitModulePath(c.full), c.location) << c.full;

    // and the two together give back the program's own path
    const ModuleLocation root = SplitModulePath(L"C:\\clock.exe");
    EXPECT_EQ(BuildRunPath(root.folder, root.exeName), L"C:\\clock.exe");
    const ModuleLocation unc = SplitModulePath(L"\\\\server\\share\\clock.exe");
    EXPECT_EQ(BuildRunPath(unc.folder, unc.exeName), L"\\\\server\\share\\clock.exe");
}

namespace {

std::vector<std::uint8_t> Utf16Bytes(std::u16string_view text, bool terminated) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    if (terminated) bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

} // namespace

TEST(RunRegistration, ValueTextFromRegistryData) {
    struct Case {
        const char* what;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
        std::wstring text;
    };
    const Case cases[] = {
        {"string", kRegSz, Utf16Bytes(u"C:\\clock.exe", true), L"C:\\clock.exe"},
        {"Korean string", kRegSz, Utf16Bytes(u"D:\\시계\\clock.exe", true), L"D:\\시계\\clock.exe"},
        {"string without terminator", kRegSz, Utf16Bytes(u"abc", false), L"abc"},
        {"text ends at the first zero", kRegSz, Utf16Bytes(std::u16string(u"ab\0cd", 5), true), L"ab"},
        {"odd trailing byte", kRegSz, {'a', 0, 'b'}, L"a"},
        {"empty string", kRegSz, {}, L""},
        {"binary 2 bytes", kRegBinary, {0x34, 0x12}, L"4660"},
        {"binary negative", kRegBinary, {0xFE, 0xFF}, L"-2"},
        {"binary most negative", kRegBinary, {0x00, 0x80}, L"-32768"},
        {"binary zero", kRegBinary, {0x00, 0x00}, L"0"},
        {"binary longer: first two bytes", kRegBinary, {0x01, 0x00, 0xFF, 0xFF}, L"1"},
        {"binary one byte", kRegBinary, {0x07}, L"7"},
        {"binary empty", kRegBinary, {}, L"0"},
        {"dword", 4, {1, 0, 0, 0}, L""},
        {"expandable string", 2, Utf16Bytes(u"C:\\x.exe", true), L""},
        {"multi string", 7, Utf16Bytes(u"a", true), L""},
        {"no type", 0, {1, 2}, L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ValueTextFromData(c.type, c.data), c.text) << c.what;
}

TEST(RunRegistration, OnlyNonBlankTextIsARegistration) {
    EXPECT_FALSE(IsRegisteredText(L""));
    EXPECT_FALSE(IsRegisteredText(L"   "));
    EXPECT_TRUE(IsRegisteredText(L"x"));
    EXPECT_TRUE(IsRegisteredText(L"  D:\\elsewhere\\other.exe ")); // presence counts, not the location
    EXPECT_TRUE(IsRegisteredText(L"\t"));                          // only spaces are blank
    EXPECT_TRUE(IsRegisteredText(L"0"));                           // a two-byte binary value of zero
}

namespace {

// A Run value in memory that can refuse writes and deletes as HKLM does for an ordinary user.
class FakeRunRegistry : public RunRegistry {
  public:
    std::optional<std::wstring> value;
    bool denied = false;
    std::vector<std::wstring> calls;

    std::wstring ReadRunValue() override {
        calls.push_back(L"read");
        return value.value_or(L"");
    }
    void StoreRunValue(std::wstring_view path) override {
        calls.push_back(L"store " + std::wstring(path));
        if (!denied) value = std::wstring(path);
    }
    void RemoveRunValue() override {
        calls.push_back(L"remove");
        if (!denied) value.reset();
    }
};

} // namespace

TEST(RunRegistration, TickingStoresThePathAndShowsTicked) {
    FakeRunRegistry registry;
    EXPECT_TRUE(ApplyRunBox(true, L"C:\\clock.exe", registry));
    EXPECT_EQ(registry.value, L"C:\\clock.exe");
    EXPECT_EQ(registry.calls, (std::vector<std::wstring>{L"store C:\\clock.exe", L"read"}));
}

TEST(RunRegistration, TickingRewritesAnOldLocation) {
    FakeRunRegistry registry;
    registry.value = L"D:\\old\\clock.exe";
    EXPECT_TRUE(ApplyRunBox(true, L"C:\\new\\clock.exe", registry));
    EXPECT_EQ(registry.value, L"C:\\new\\clock.exe");
}

TEST(RunRegistration, ClearingRemovesAndShowsCleared) {
    FakeRunRegistry registry;
    registry.value = L"C:\\clock.exe";
    EXPECT_FALSE(ApplyRunBox(false, L"C:\\clock.exe", registry));
    EXPECT_FALSE(registry.value.has_value());
    // clearing when nothing is registered is silent and ends cleared
    EXPECT_FALSE(ApplyRunBox(false, L"C:\\clock.exe", registry));
}

TEST(RunRegistration, RefusedChangesShowWhatTheRegistryHolds) {
    FakeRunRegistry registry;
    registry.denied = true;
    // the write is refused: no registration, so the box must not stay ticked
    EXPECT_FALSE(ApplyRunBox(true, L"C:\\clock.exe", registry));
    EXPECT_FALSE(registry.value.has_value());

    // the delete is refused: the registration is still there, so the box must stay ticked
    registry.value = L"C:\\clock.exe";
    EXPECT_TRUE(ApplyRunBox(false, L"C:\\clock.exe", registry));
    EXPECT_EQ(registry.value, L"C:\\clock.exe");

    // a refused rewrite leaves an older registration in place, and the box says so
    registry.value = L"D:\\old\\clock.exe";
    EXPECT_TRUE(ApplyRunBox(true, L"C:\\clock.exe", registry));
}
