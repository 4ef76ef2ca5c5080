// Start with Windows: the stored path, decoding of registry values and the box's reaction.
#include "settings_ui/RunRegistration.h"
#include "base/RegistryText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
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
    };
    for (const Case& c : cases)
        EXPECT_EQ((c.type == kRegBinary ? BinaryValueText : TextFromRegistryData)(c.data), c.text) << c.what;
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

// Both Run values in memory, with their StartupApproved values; `refused` makes the machine-wide
// key refuse changes, as it does for a standard user, and `approvalRefused` the StartupApproved
// values refuse to go. A short name stands for its long one, as an 8.3 name does on disk.
struct FakeRunRegistry : RunRegistry {
    std::optional<std::wstring> machine, user;
    std::optional<std::vector<std::uint8_t>> machineApproval, userApproval;
    bool refused = false, approvalRefused = false;
    std::optional<std::wstring>& At(RunPlace place) { return place == RunPlace::Machine ? machine : user; }
    std::optional<std::vector<std::uint8_t>>& ApprovalAt(RunPlace place) {
        return place == RunPlace::Machine ? machineApproval : userApproval;
    }
    std::wstring ReadRunValue(RunPlace place) override { return At(place).value_or(L""); }
    bool StoreRunValue(RunPlace place, std::wstring_view path) override {
        if (refused && place == RunPlace::Machine) return false;
        At(place) = std::wstring(path);
        return true;
    }
    void RemoveRunValue(RunPlace place) override {
        if (!refused || place == RunPlace::User) At(place).reset();
    }
    std::optional<std::vector<std::uint8_t>> ReadApproval(RunPlace place) override {
        return ApprovalAt(place);
    }
    bool RemoveApproval(RunPlace place) override {
        if (approvalRefused && ApprovalAt(place)) return false;
        ApprovalAt(place).reset();
        return true;
    }
    bool StoreApproval(RunPlace place, std::span<const std::uint8_t> bytes) override {
        ApprovalAt(place) = std::vector<std::uint8_t>(bytes.begin(), bytes.end());
        return true;
    }
    std::wstring LongPath(std::wstring_view path) override {
        return path == L"C:\\PROGRA~1\\Tockwen\\Tockwen.exe" ? L"C:\\Program Files\\Tockwen\\Tockwen.exe"
                                                             : std::wstring(path);
    }
    std::wstring ProfilesFolder() override { return L"C:\\Users"; }
};

} // namespace

TEST(RunRegistration, BoxWritesTheMachineValueOrFallsBackPerUser) {
    const std::wstring here = L"C:\\Program Files\\Tockwen\\Tockwen.exe", old = L"D:\\old\\clock.exe";
    const std::optional<std::wstring> none;
    struct Case {
        const char* what;
        bool refused;
        std::optional<std::wstring> machine, user; // before
        bool ticked;
        std::optional<std::wstring> machineAfter, userAfter;
        bool shown;
    };
    const Case cases[] = {
        // an administrator: the machine-wide value only, nothing per user
        {"tick", false, none, none, true, here, none, true},
        {"tick rewrites an old location", false, old, none, true, here, none, true},
        {"clear", false, here, none, false, none, none, false},
        {"clear with nothing registered", false, none, none, false, none, none, false},
        {"a per-user value is rewritten where it is", false, none, old, true, none, here, true},
        // a standard user: the machine-wide key refuses every change
        {"refused tick writes per user", true, none, none, true, none, here, true},
        {"refused rewrite adds the current location", true, old, none, true, old, here, true},
        {"machine value names this program already", true, here, none, true, here, none, true},
        {"blank machine value is no registration", true, L"  ", none, true, L"  ", here, true},
        {"per-user value rewritten", true, none, old, true, none, here, true},
        {"per-user value cleared", true, none, here, false, none, none, false},
        {"undeletable machine value keeps the box ticked", true, here, here, false, here, none, true},
        // the machine-wide value names this program in another spelling: nothing per user
        {"unquoted", true, L"C:\\Program Files\\Tockwen\\Tockwen.exe", none, true,
         L"C:\\Program Files\\Tockwen\\Tockwen.exe", none, true},
        {"other letter case", true, L"\"c:\\program files\\TOCKWEN\\tockwen.EXE\"", none, true,
         L"\"c:\\program files\\TOCKWEN\\tockwen.EXE\"", none, true},
        {"short name", true, L"C:\\PROGRA~1\\Tockwen\\Tockwen.exe", none, true,
         L"C:\\PROGRA~1\\Tockwen\\Tockwen.exe", none, true},
    };
    for (const Case& c : cases) {
        FakeRunRegistry registry;
        registry.refused = c.refused;
        registry.machine = c.machine;
        registry.user = c.user;
        EXPECT_EQ(ApplyRunBox(c.ticked, here, registry), c.shown) << c.what;
        EXPECT_EQ(registry.machine, c.machineAfter) << c.what;
        EXPECT_EQ(registry.user, c.userAfter) << c.what;
    }
}

TEST(RunRegistration, InsideAFolder) {
    const std::tuple<const wchar_t*, const wchar_t*, bool> cases[] = {
        {L"C:\\Users\\Kim\\a.exe", L"C:\\Users", true},
        {L"\"c:\\USERS\\Kim Lee\\a.exe\"", L"C:\\Users\\", true}, // quotes, case, a closing backslash
        {L"C:\\PROGRA~1\\Tockwen\\Tockwen.exe", L"C:\\Program Files", true}, // a short name
        {L"C:\\UsersOld\\a.exe", L"C:\\Users", false},
        {L"D:\\Users\\Kim\\a.exe", L"C:\\Users", false},
        {L"C:\\Users\\Kim\\a.exe", L"", false}, // no profiles folder known
    };
    FakeRunRegistry registry;
    for (const auto& [path, folder, inside] : cases)
        EXPECT_EQ(IsInsideFolder(path, folder, registry), inside) << path;
}

// A program inside a user's profile is that user's: ticking writes the per-user value only and
// takes away a machine-wide value that starts it, with its StartupApproved value.
TEST(RunRegistration, AProgramInAProfileStartsPerUserOnly) {
    const std::wstring here = L"C:\\Users\\Kim\\Tockwen\\Tockwen.exe";
    const std::optional<std::wstring> none, other = L"D:\\Tools\\Tockwen.exe";
    struct Case {
        const char* what;
        bool refused;
        std::optional<std::wstring> machine, user, machineAfter, userAfter;
    } const cases[] = {
        {"elevated", false, none, none, none, here},
        {"a machine value naming it goes", false, L"\"c:\\users\\KIM\\tockwen\\TOCKWEN.EXE\"", none, none,
         here},
        {"another copy's machine value stays", false, other, none, other, here},
        {"a standard user", true, none, other, none, here},
        {"a machine value naming it that cannot go: no second one", true, here, none, here, none},
    };
    for (const Case& c : cases) {
        FakeRunRegistry registry;
        registry.refused = c.refused;
        registry.machine = c.machine;
        registry.user = c.user;
        registry.machineApproval = std::vector<std::uint8_t>{0x02};
        EXPECT_TRUE(ApplyRunBox(true, here, registry)) << c.what;
        EXPECT_EQ(std::tie(registry.machine, registry.user), std::tie(c.machineAfter, c.userAfter)) << c.what;
        EXPECT_NE(registry.machineApproval.has_value(), c.machine && !c.machineAfter) << c.what;
    }
    FakeRunRegistry registry; // another copy's machine-wide value is not this copy's box
    registry.machine = other;
    EXPECT_FALSE(IsRunRegistered(here, registry));
    EXPECT_FALSE(ApplyRunBox(false, here, registry));
    EXPECT_EQ(registry.machine, other) << "cleared";
}

// Windows' Startup-apps switch: a value switched off there does not start the clock, so the box
// shows it cleared; ticking it switches the value on again.
TEST(RunRegistration, StartupAppsSwitchDecidesTheBox) {
    const std::wstring here = L"C:\\Tockwen\\Tockwen.exe";
    using Bytes = std::optional<std::vector<std::uint8_t>>;
    const std::vector<std::uint8_t> on(std::begin(kSwitchedOn), std::end(kSwitchedOn));
    struct Case {
        const char* what;
        Bytes approval;
        bool approvalRefused;
        bool shownBefore;
        Bytes approvalAfterTick;
    };
    const Case cases[] = {
        {"absent", std::nullopt, false, true, std::nullopt},
        {"enabled", std::vector<std::uint8_t>{0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false, true,
         std::nullopt},
        {"disabled", std::vector<std::uint8_t>{0x03, 0x9B, 0x41}, false, false, std::nullopt},
        {"disabled, its value refused to go", std::vector<std::uint8_t>{0x03, 0x9B, 0x41}, true, false, on},
    };
    for (const Case& c : cases) {
        FakeRunRegistry registry;
        registry.user = here;
        registry.userApproval = c.approval;
        registry.approvalRefused = c.approvalRefused;
        EXPECT_EQ(IsRunRegistered(here, registry), c.shownBefore) << c.what;
        EXPECT_TRUE(ApplyRunBox(true, here, registry)) << c.what;
        EXPECT_EQ(registry.userApproval, c.approvalAfterTick) << c.what;
        registry.approvalRefused = false;
        EXPECT_FALSE(ApplyRunBox(false, here, registry)) << c.what;
        EXPECT_FALSE(registry.user || registry.userApproval) << "clearing leaves neither: " << c.what;
    }
    EXPECT_EQ(StartupApprovedKeyName(RunPlace::Machine, true), L"Run32");
    EXPECT_EQ(StartupApprovedKeyName(RunPlace::Machine, false), L"Run");
    EXPECT_EQ(StartupApprovedKeyName(RunPlace::User, true), L"Run");
}
