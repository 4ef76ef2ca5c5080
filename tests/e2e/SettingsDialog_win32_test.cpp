// The settings dialog of the real Tockwen.exe: opened from the tray menu, driven as a person
// would, and judged by what the program leaves behind (the store after an orderly exit, the Run
// value) and what it shows (the preview, a screenshot).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <thread>

#include "e2e/PngFile.h"
#include "render/ClockFace.h"
#include "settings_ui/FrmSettingLayout.h"
#include "settings_ui/Registry_win32.h"
#include "settings_ui/RunRegistration.h"
#include "support/Driver_win32.h"

using namespace driver;

namespace {

constexpr int kItemSetting = 3, kItemExit = 5;
constexpr int kRedEdit = 706, kGreenEdit = 707, kBlueEdit = 708;

std::wstring Wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

// A control's text as the control itself reports it (GetWindowText only sees the caption it was
// created with when the window belongs to another process).
std::wstring ControlText(HWND control) {
    wchar_t text[256] = {};
    SendMessageW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring RunValue() {
    return ReadValueText(HKEY_LOCAL_MACHINE, kRunKeyPath, kRunValueName);
}

class SettingsDialog : public testing::Test {
  protected:
    void SetUp() override {
        DeleteStoredSettings();
        RemoveValue(HKEY_LOCAL_MACHINE, kRunKeyPath, kRunValueName);
    }
    void TearDown() override { RemoveValue(HKEY_LOCAL_MACHINE, kRunKeyPath, kRunValueName); }

    void Start() { ASSERT_TRUE(app.Start()) << "Tockwen.exe did not start with its tray icon"; }

    // Settings from the tray menu; the dialog once it is visible.
    HWND Open() {
        if (!app.ChooseMenuItem(kItemSetting)) return nullptr;
        HWND found = nullptr;
        WaitFor([&] {
            for (HWND w : FindWindows(app.Id(), L"TockwenFrmSetting", L"환경설정"))
                if (IsWindowVisible(w)) found = w;
            return found != nullptr;
        });
        dialog = found;
        std::this_thread::sleep_for(200ms); // let it paint
        return found;
    }
    void Close() {
        HWND closing = dialog;
        PostMessageW(closing, WM_SYSCOMMAND, SC_CLOSE, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(closing); }));
    }
    void ExitYes() { ASSERT_TRUE(app.ExitYes()); }

    HWND Item(ControlId id) const { return GetDlgItem(dialog, static_cast<int>(id)); }
    int Selection(ControlId id) const { return static_cast<int>(SendMessageW(Item(id), CB_GETCURSEL, 0, 0)); }
    bool Checked(ControlId id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Key(ControlId combo, UINT key) {
        HWND edit = FindWindowExW(Item(combo), nullptr, L"Edit", nullptr);
        PostMessageW(edit, WM_KEYDOWN, key, 1);
        PostMessageW(edit, WM_KEYUP, key, 0xC0000001);
        std::this_thread::sleep_for(100ms);
    }
    void Click(ControlId id) { SendMessageW(Item(id), BM_CLICK, 0, 0); }

    // The middle pixel of the colour preview, as the screen shows it.
    std::uint32_t PreviewPixel() const {
        RECT r;
        GetWindowRect(Item(ControlId::Shape1), &r);
        const LONG x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
        return CaptureScreen(RECT{x, y, x + 1, y + 1}).front();
    }
    bool PreviewBecomes(std::uint32_t color) const {
        return WaitFor([&] { return PreviewPixel() == color; }, 2000ms);
    }

    // Change opens the colour chooser; `answer` picks red, green and blue and presses `button`.
    void ChooseColour(int red, int green, int blue, int button) {
        PostMessageW(Item(ControlId::Command1), BM_CLICK, 0, 0);
        HWND chooser = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            for (HWND w : FindWindows(app.Id(), L"#32770"))
                if (IsWindowVisible(w) && GetDlgItem(w, kRedEdit)) chooser = w;
            return chooser != nullptr;
        })) << "the colour chooser did not open";
        EXPECT_EQ(GetWindow(chooser, GW_OWNER), dialog) << "owned by the settings dialog";
        const int ids[] = {kRedEdit, kGreenEdit, kBlueEdit};
        const int values[] = {red, green, blue};
        for (int i = 0; i < 3; ++i) {
            HWND edit = GetDlgItem(chooser, ids[i]);
            SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(std::to_wstring(values[i]).c_str()));
            SendMessageW(chooser, WM_COMMAND, MAKEWPARAM(ids[i], EN_UPDATE), reinterpret_cast<LPARAM>(edit));
        }
        ClickButton(chooser, button);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(chooser); }));
    }

    TockwenProcess app;
    HWND dialog = nullptr;
};

TEST_F(SettingsDialog, ShowsTheStoredSettings) {
    StoreSetting(L"Alarm", L"4");
    StoreSetting(L"Beep", L"1");
    StoreSetting(L"ClockShape", L"1");
    StoreSetting(L"BGColor", L"255"); // red
    Start();
    ASSERT_NE(Open(), nullptr);

    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 205);
    EXPECT_EQ(client.bottom, 409);
    RECT outer;
    GetWindowRect(dialog, &outer);
    EXPECT_EQ(outer.left, CentredStart(GetSystemMetrics(SM_CXSCREEN), outer.right - outer.left));
    EXPECT_EQ(outer.top, CentredStart(GetSystemMetrics(SM_CYSCREEN), outer.bottom - outer.top));

    EXPECT_EQ(Selection(ControlId::Combo1), 6);
    EXPECT_EQ(ControlText(Item(ControlId::Combo1)), L"1시간마다");
    EXPECT_TRUE(Checked(ControlId::Check1));
    EXPECT_TRUE(Checked(ControlId::Option1Circle));
    EXPECT_FALSE(Checked(ControlId::Option1Square));
    EXPECT_FALSE(Checked(ControlId::Check2));
    EXPECT_EQ(Selection(ControlId::Combo2), 0);
    EXPECT_EQ(ControlText(Item(ControlId::Combo2)), L"배경색");
    EXPECT_TRUE(PreviewBecomes(0x0000FF)) << "the preview shows BGColor";
    for (ControlId id : {ControlId::Label1, ControlId::Check1, ControlId::Check2, ControlId::Label2,
                         ControlId::Option1Square, ControlId::Option1Circle, ControlId::Command1}) {
        for (const ControlPlace& c : kFrmSettingControls)
            if (c.id == id) EXPECT_EQ(WindowText(Item(id)), Wide(c.text));
    }
    // nothing was written by opening it
    Close();
    ExitYes();
    const auto stored = StoredSettings();
    EXPECT_EQ(stored.at(L"Alarm").text, L"4");
    EXPECT_EQ(stored.at(L"Beep").text, L"1");
    EXPECT_EQ(stored.at(L"ClockShape").text, L"1");
    EXPECT_EQ(stored.at(L"BGColor").text, L"255");
    EXPECT_EQ(RunValue(), L"") << "no registration appears by itself";
}

TEST_F(SettingsDialog, AStoredIntervalWithNoEntryIsKept) {
    StoreSetting(L"Alarm", L"9");
    Start();
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Selection(ControlId::Combo1), -1) << "no entry is shown for 9";
    Click(ControlId::Check1);
    ExitYes(); // with the dialog still open: it is closed first, then the settings are saved
    EXPECT_EQ(StoredSettings().at(L"Alarm").text, L"9") << "unchanged until the user picks an interval";
    EXPECT_EQ(StoredSettings().at(L"Beep").text, L"1");
}

TEST_F(SettingsDialog, ChangesReachTheStoreWhenTheDialogCloses) {
    Start();
    ASSERT_NE(Open(), nullptr);
    Key(ControlId::Combo1, VK_DOWN); // 10분마다 -> 15분마다
    EXPECT_EQ(Selection(ControlId::Combo1), 3);
    Click(ControlId::Check1);
    Click(ControlId::Option1Circle);
    EXPECT_FALSE(Checked(ControlId::Option1Square));

    for (int i = 0; i < 4; ++i)
        Key(ControlId::Combo2, VK_DOWN); // 배경색 -> 초침색
    EXPECT_EQ(Selection(ControlId::Combo2), 4);
    EXPECT_TRUE(PreviewBecomes(0xFF8000)) << "the preview shows SColor";

    ChooseColour(10, 20, 30, IDOK);
    EXPECT_TRUE(PreviewBecomes(0x1E140A)) << "the accepted colour is shown";
    ChooseColour(200, 200, 200, IDCANCEL);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(PreviewPixel(), 0x1E140Au) << "a cancelled choice changes nothing";

    // the store keeps the old values while the dialog is open, and has the new ones once it closes
    EXPECT_TRUE(StoredSettings().empty());
    Close();
    const std::map<std::wstring, StoredValue> expected = {
        {L"Alarm", {REG_SZ, L"6"}},          {L"Beep", {REG_SZ, L"1"}},
        {L"ClockShape", {REG_SZ, L"1"}},     {L"BGColor", {REG_SZ, L"16777215"}},
        {L"TColor", {REG_SZ, L"0"}},         {L"HColor", {REG_SZ, L"255"}},
        {L"MColor", {REG_SZ, L"38400"}},     {L"SColor", {REG_SZ, L"1971210"}},
        {L"SpeakKey", {REG_SZ, L"0"}},       {L"QuietHours", {REG_SZ, L"0"}},
        {L"QuietFrom", {REG_SZ, L"23"}},     {L"QuietTo", {REG_SZ, L"7"}},
        {L"QuietBusy", {REG_SZ, L"1"}},      {L"AlarmClock", {REG_SZ, L"-1"}},
        {L"AlarmClockDays", {REG_SZ, L"0"}}, {L"Volume", {REG_SZ, L"100"}}};
    EXPECT_EQ(StoredSettings(), expected);
    app.Kill(); // ended from outside, with no exit of its own: nothing is lost
    EXPECT_EQ(StoredSettings(), expected);
}

TEST_F(SettingsDialog, StartWithWindowsBox) {
    Start();
    const std::wstring exe = TockwenExePath();

    // nothing registered: the box is clear and opening writes nothing
    ASSERT_NE(Open(), nullptr);
    EXPECT_FALSE(Checked(ControlId::Check2));
    EXPECT_EQ(RunValue(), L"");
    Click(ControlId::Check2);
    EXPECT_TRUE(Checked(ControlId::Check2));
    EXPECT_EQ(RunValue(), exe) << "ticking registers this program";
    DWORD type = 0;
    RegGetValueW(HKEY_LOCAL_MACHINE, kRunKeyPath.data(), kRunValueName.data(), RRF_RT_ANY, &type, nullptr,
                 nullptr);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    Close();

    // registered elsewhere: opening ticks the box and rewrites the value with this location
    ASSERT_TRUE(StoreValueText(HKEY_LOCAL_MACHINE, kRunKeyPath, kRunValueName, L"D:\\old\\clock.exe"));
    ASSERT_NE(Open(), nullptr);
    EXPECT_TRUE(Checked(ControlId::Check2));
    EXPECT_EQ(RunValue(), exe);
    Click(ControlId::Check2);
    EXPECT_FALSE(Checked(ControlId::Check2));
    EXPECT_EQ(RunValue(), L"") << "clearing deletes the value";
    Click(ControlId::Check2);
    Click(ControlId::Check2);
    EXPECT_EQ(RunValue(), L"");
    Close();

    // spaces only are no registration, and are left alone
    ASSERT_TRUE(StoreValueText(HKEY_LOCAL_MACHINE, kRunKeyPath, kRunValueName, L"   "));
    ASSERT_NE(Open(), nullptr);
    EXPECT_FALSE(Checked(ControlId::Check2));
    EXPECT_EQ(RunValue(), L"   ");
    Close();
    ExitYes();
}

TEST_F(SettingsDialog, RunFromAFolderWithASpaceRegistersTheQuotedPath) {
    wchar_t folder[MAX_PATH];
    ASSERT_GT(ExpandEnvironmentStringsW(L"%ProgramFiles%\\Tockwen Clock", folder, MAX_PATH), 0u);
    CreateDirectoryW(folder, nullptr);
    const std::wstring copy = std::wstring(folder) + L"\\Tockwen.exe";
    ASSERT_TRUE(CopyFileW(TockwenExePath().c_str(), copy.c_str(), FALSE));
    ASSERT_TRUE(app.Start(copy));

    ASSERT_NE(Open(), nullptr);
    Click(ControlId::Check2);
    EXPECT_EQ(RunValue(), L"\"" + copy + L"\"") << "unquoted, logon would try C:\\Program.exe first";
    ExitYes();
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(folder);
}

TEST_F(SettingsDialog, ExitWhileTheColourChooserIsOpen) {
    Start();
    ASSERT_NE(Open(), nullptr);
    Click(ControlId::Check1);
    PostMessageW(Item(ControlId::Command1), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] {
        for (HWND w : FindWindows(app.Id(), L"#32770"))
            if (IsWindowVisible(w) && GetDlgItem(w, kRedEdit)) return true;
        return false;
    }));
    // the tray menu still answers: the chooser is modal to the settings dialog only
    ExitYes();
    EXPECT_EQ(app.ExitCode(), 0u) << "the dialog closed under the chooser without harm";
    EXPECT_EQ(StoredSettings().at(L"Beep").text, L"1");
    EXPECT_EQ(StoredSettings().at(L"BGColor").text, L"16777215");
}

// Whether another program holds ctrl+alt+`key`: this process cannot take it.
bool HeldElsewhere(UINT key) {
    return !(RegisterHotKey(nullptr, 2, MOD_CONTROL | MOD_ALT, key) && UnregisterHotKey(nullptr, 2));
}

// Keys typed into the hot-key box: a stored key that another program holds at start-up is said at
// once; a key is applied when the box is left or the dialog closes; Ctrl alone, a refused key and
// Alt+F4 keep the old one registered and stored; Backspace removes it.
TEST_F(SettingsDialog, TypingIntoTheHotKeyBox) {
    StoreSetting(L"SpeakKey", L"1615"); // HOTKEYF_CONTROL | HOTKEYF_ALT, 'O'
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'O'));
    Start();
    // real key presses (SendInput) into the box: each chord's keys go down in order, up in reverse
    const auto type = [&](std::initializer_list<std::initializer_list<WORD>> chords) {
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(ControlId::HotKey1)), TRUE);
        for (const auto& chord : chords) {
            std::vector<INPUT> input(2 * chord.size(), INPUT{INPUT_KEYBOARD, {}});
            for (std::size_t i = 0; i < chord.size(); ++i) {
                KEYBDINPUT &down = input[i].ki, &up = input[input.size() - 1 - i].ki;
                down.wVk = up.wVk = chord.begin()[i];
                down.wScan = up.wScan = static_cast<WORD>(MapVirtualKeyW(down.wVk, MAPVK_VK_TO_VSC));
                up.dwFlags = KEYEVENTF_KEYUP;
            }
            SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
        }
    };
    const auto refused = [&] {
        return ControlText(Item(ControlId::Label4)).ends_with(Wide(kSpeakKeyRefused));
    };
    const auto closed = [&] { return WaitFor([&] { return !IsWindow(dialog); }); };
    ASSERT_NE(Open(), nullptr);
    EXPECT_TRUE(refused());
    UnregisterHotKey(nullptr, 1);
    type({{VK_CONTROL, VK_MENU, 'O'}, {VK_TAB}});
    EXPECT_TRUE(WaitFor([&] { return !refused(); })) << "taken once the other program let it go";
    type({{VK_CONTROL}, {VK_ESCAPE}});
    ASSERT_TRUE(closed()) << "Escape in the box closes the dialog";
    EXPECT_TRUE(HeldElsewhere('O')) << "Ctrl alone keeps the old key";
    EXPECT_EQ(StoredSettings().at(L"SpeakKey").text, L"1615");

    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'R'));
    ASSERT_NE(Open(), nullptr);
    type({{VK_MENU, 'R'}, {VK_TAB}}); // alt+R, which gets ctrl added
    EXPECT_TRUE(WaitFor(refused));
    EXPECT_EQ(ControlText(Item(ControlId::Label4)), L"Ctrl+Alt+R" + Wide(kSpeakKeyRefused))
        << "names the key";
    EXPECT_EQ(SendMessageW(Item(ControlId::HotKey1), HKM_GETHOTKEY, 0, 0), 1615);
    EXPECT_TRUE(HeldElsewhere('O'));
    UnregisterHotKey(nullptr, 1);
    type({{VK_MENU, VK_F4}});
    ASSERT_TRUE(closed()) << "Alt+F4 in the box closes the dialog";
    EXPECT_EQ(StoredSettings().at(L"SpeakKey").text, L"1615") << "and is no hot key";

    ASSERT_NE(Open(), nullptr);
    type({{VK_BACK}, {VK_ESCAPE}});
    ASSERT_TRUE(closed());
    EXPECT_FALSE(HeldElsewhere('O')) << "Backspace removes it";
    EXPECT_EQ(StoredSettings().at(L"SpeakKey").text, L"0");
    ExitYes();
}

// Pixels of `color` in the bottom-right corner of the taskbar, where the clock icon sits.
int CountInTray(std::uint32_t color) {
    RECT tray = TaskbarRect();
    tray.left = tray.right - 120;
    int n = 0;
    for (std::uint32_t p : CaptureScreen(tray))
        n += p == color ? 1 : 0;
    return n;
}

// Pixels of `color` in the face the renderer draws for `time`.
int CountInFace(const ClockTime& time, const SettingsRecord& settings, std::uint32_t color) {
    Picture face;
    DrawClockFace(face, time, settings);
    int n = 0;
    for (int y = 0; y < Picture::kHeight; ++y)
        for (int x = 0; x < Picture::kWidth; ++x)
            n += face.Get(x, y) == color ? 1 : 0;
    return n;
}

ClockTime Now(int offsetSeconds = 0) {
    SYSTEMTIME t;
    GetLocalTime(&t);
    const int total = (t.wHour * 3600 + t.wMinute * 60 + t.wSecond + offsetSeconds + 86400) % 86400;
    return {total / 3600, total / 60 % 60, total % 60};
}

TEST_F(SettingsDialog, TheTrayClockShowsChangesAtItsNextTick) {
    Start();
    ASSERT_NE(Open(), nullptr);
    constexpr std::uint32_t kNewBackground = 0x402010; // red 16, green 32, blue 64
    EXPECT_EQ(CountInTray(kNewBackground), 0);

    Click(ControlId::Option1Circle);
    ChooseColour(16, 32, 64, IDOK); // 배경색 is the target the dialog opens on
    SettingsRecord expected = DefaultSettings();
    expected.ClockShape = true;
    expected.BGColor = kNewBackground;
    // the icon on screen is the round face in the new background, pixel for pixel in that colour
    EXPECT_TRUE(WaitFor(
        [&] {
            const int onScreen = CountInTray(kNewBackground);
            for (int offset : {0, -1, 1})
                if (onScreen > 0 && onScreen == CountInFace(Now(offset), expected, kNewBackground))
                    return true;
            return false;
        },
        2000ms))
        << "the tray icon does not show the new shape and background";
    EXPECT_TRUE(StoredSettings().empty()) << "the store is written when the dialog closes";
    Close();
    ExitYes();
}

// Whether this prefix can draw Hangul: a syllable must not come out as the same picture as a
// character no font has (the missing-glyph box).
bool DrawsHangul() {
    auto draw = [](const wchar_t* text) {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
        ReleaseDC(nullptr, screen);
        HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        RECT all{0, 0, 32, 32};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        TextOutW(dc, 2, 2, text, 1);
        std::wstring pixels;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                pixels += GetPixel(dc, x, y) == RGB(255, 255, 255) ? L'.' : L'#';
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return pixels;
    };
    const std::wstring hangul = draw(L"환"), missing = draw(L"\xE000");
    return hangul != missing && hangul.find(L'#') != std::wstring::npos;
}

TEST_F(SettingsDialog, ScreenshotWithReadableKorean) {
    EXPECT_TRUE(DrawsHangul()) << "no Korean font reaches the dialog font: the screenshot would show boxes";
    Start();
    ASSERT_NE(Open(), nullptr);
    std::this_thread::sleep_for(300ms);
    RECT r;
    GetWindowRect(dialog, &r);
    const std::vector<std::uint32_t> pixels = CaptureScreen(r);
    // the screenshot is kept beside the test program: <build>/artefacts/settings-dialog.png
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self, length);
    folder = folder.substr(0, folder.find_last_of(L'\\')) + L"\\artefacts";
    CreateDirectoryW(folder.c_str(), nullptr);
    char path[MAX_PATH * 3];
    WideCharToMultiByte(CP_ACP, 0, (folder + L"\\settings-dialog.png").c_str(), -1, path, sizeof path,
                        nullptr, nullptr);
    EXPECT_TRUE(png::Write(path, r.right - r.left, r.bottom - r.top, pixels)) << path;
    Close();
    ExitYes();
}

} // namespace
