// The settings dialog inside this process: layout, initial state, every control's effect on
// Settings, the start-with-Windows box, one instance, and nothing left behind by closing it.
#include "settings_ui/FrmSetting_win32.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/Handles.h"
#include "base/Settings.h"
#include "base/WindowDpi_win32.h"
#include "settings_ui/ColorDialogDriver_win32.h"
#include "settings_ui/FrmSettingLayout.h"
#include "settings_ui/LibraryReferences_win32.h"
#include "settings_ui/Registry_win32.h"
#include "settings_ui/RunRegistration.h"
#include "support/GuiCounts_win32.h"
#include "support/ScratchKey_win32.h"
#include "settings_ui/XPStyle_win32.h"

namespace {

constexpr wchar_t kSandboxPath[] = L"SOFTWARE\\TockwenTests\\Machine";
constexpr wchar_t kUserSandboxPath[] = L"Software\\TockwenTests\\User";

std::wstring Wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

void Pump(int milliseconds = 30) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (FrmSettingIsDialogMessage(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < end);
}

std::wstring Text(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

BOOL CALLBACK CountDialogs(HWND window, LPARAM param) {
    if (ClassOf(window) == L"TockwenFrmSetting") ++*reinterpret_cast<int*>(param);
    return TRUE;
}

class FrmSettingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = Settings;
        Settings = DefaultSettings();
        sandbox_.emplace(HKEY_LOCAL_MACHINE, kSandboxPath);
        userSandbox_.emplace(HKEY_CURRENT_USER, kUserSandboxPath);
        ASSERT_TRUE(*sandbox_ && *userSandbox_);
        registry_.emplace(sandbox_->get(), userSandbox_->get());
        SetFrmSettingRunRegistry(&*registry_);
    }
    void TearDown() override {
        UnloadFrmSetting();
        Pump(10);
        SetFrmSettingRunRegistry(nullptr);
        registry_.reset();
        sandbox_.reset();
        userSandbox_.reset();
        Settings = saved_;
    }

    HWND Open(FrmSettingHooks hooks = {}) {
        ShowFrmSetting(::GetModuleHandleW(nullptr), std::move(hooks));
        Pump();
        return FrmSettingWindow();
    }
    HWND Item(ControlId id) const { return ::GetDlgItem(FrmSettingWindow(), static_cast<int>(id)); }
    int Selection(ControlId id) const {
        return static_cast<int>(::SendMessageW(Item(id), CB_GETCURSEL, 0, 0));
    }
    bool Checked(ControlId id) const { return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    HWND EditOf(ControlId id) const {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        ::GetComboBoxInfo(Item(id), &info);
        return info.hwndItem;
    }
    void Key(ControlId combo, UINT key) {
        ::SendMessageW(EditOf(combo), WM_KEYDOWN, key, 1);
        ::SendMessageW(EditOf(combo), WM_KEYUP, key, 0xC0000001);
        Pump(10);
    }
    void Type(ControlId combo, wchar_t c) {
        ::SendMessageW(EditOf(combo), WM_KEYDOWN, static_cast<WPARAM>(::VkKeyScanW(c) & 0xFF), 1);
        ::SendMessageW(EditOf(combo), WM_CHAR, c, 1);
        Pump(10);
    }
    // The user picking an entry from the list.
    void Pick(ControlId combo, int index) {
        ::SendMessageW(Item(combo), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageW(FrmSettingWindow(), WM_COMMAND, MAKEWPARAM(static_cast<int>(combo), CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(Item(combo)));
        Pump(10);
    }
    void Click(ControlId id) {
        ::SendMessageW(Item(id), BM_CLICK, 0, 0);
        Pump(10);
    }
    COLORREF PreviewPixel() {
        HWND shape = Item(ControlId::Shape1);
        ::UpdateWindow(shape);
        const unique_hdc_window dc(shape);
        return ::GetPixel(dc.get(), 8, 8);
    }
    std::wstring RunValue() { return ReadValueText(sandbox_->get(), kRunKeyPath, kRunValueName); }
    std::wstring UserRunValue() { return ReadValueText(userSandbox_->get(), kRunKeyPath, kRunValueName); }

    SettingsRecord saved_;
    std::optional<ScratchKey> sandbox_, userSandbox_;
    std::optional<RunKeyRegistry> registry_;
};

TEST_F(FrmSettingTest, WindowLayoutAndTexts) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog), L"환경설정");
    RECT client;
    ::GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 205);
    EXPECT_EQ(client.bottom, 409);

    // centred on the whole screen by its outer size
    RECT outer;
    ::GetWindowRect(dialog, &outer);
    EXPECT_EQ(outer.left, CentredStart(::GetSystemMetrics(SM_CXSCREEN), outer.right - outer.left));
    EXPECT_EQ(outer.top, CentredStart(::GetSystemMetrics(SM_CYSCREEN), outer.bottom - outer.top));

    for (const ControlPlace& c : kFrmSettingControls) {
        HWND control = Item(c.id);
        ASSERT_NE(control, nullptr) << static_cast<int>(c.id);
        RECT r;
        ::GetWindowRect(control, &r);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, PixelsFromTwips(c.left)) << static_cast<int>(c.id);
        EXPECT_EQ(r.top, PixelsFromTwips(c.top)) << static_cast<int>(c.id);
        EXPECT_EQ(r.right - r.left, PixelsFromTwips(c.width)) << static_cast<int>(c.id);
        EXPECT_EQ(r.bottom - r.top, PixelsFromTwips(c.height)) << static_cast<int>(c.id);
        if (c.kind != ControlKind::Combo && c.kind != ControlKind::List && c.kind != ControlKind::HotKey) {
            EXPECT_EQ(Text(control), Wide(c.text)) << static_cast<int>(c.id);
        }
    }
    EXPECT_EQ(ClassOf(Item(ControlId::Combo1)), L"ComboBox");
    EXPECT_EQ(ClassOf(Item(ControlId::Command1)), L"Button");
    EXPECT_EQ(::GetDlgItem(dialog, IDOK), nullptr) << "no OK button";
    EXPECT_EQ(::GetDlgItem(dialog, IDCANCEL), nullptr) << "no Cancel button";

    for (ControlId combo : {ControlId::Combo1, ControlId::Combo2}) {
        const auto& entries = combo == ControlId::Combo1 ? kIntervalEntries : kColorTargetEntries;
        ASSERT_EQ(::SendMessageW(Item(combo), CB_GETCOUNT, 0, 0), static_cast<LRESULT>(entries.size()));
        for (int i = 0; i < 5; ++i) {
            wchar_t text[64] = {};
            ::SendMessageW(Item(combo), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            EXPECT_EQ(text, Wide(entries[static_cast<std::size_t>(i)]));
        }
        EXPECT_EQ(::GetWindowLongW(Item(combo), GWL_STYLE) & 3, CBS_DROPDOWN) << "editable drop-down list";
    }
    // the dialog's icons come from the icon group "AAA"
    EXPECT_NE(::SendMessageW(dialog, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(::SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(FrmSettingTest, XPStyleIsCreatedFirstAndKeepsItsSize) {
    HWND dialog = Open();
    HWND first = ::GetWindow(dialog, GW_CHILD);
    EXPECT_EQ(first, Item(ControlId::XPStyle1));
    EXPECT_EQ(ClassOf(first), kXPStyleClass);
    EXPECT_FALSE(::IsWindowVisible(first)) << "it would cover the captions of Check1, Check2 and 사각형";
    ::SetWindowPos(first, nullptr, 0, 0, 300, 7, SWP_NOMOVE | SWP_NOZORDER);
    ::MoveWindow(first, 128, 64, 1, 1, FALSE);
    RECT r;
    ::GetWindowRect(first, &r);
    EXPECT_EQ(r.right - r.left, 54);
    EXPECT_EQ(r.bottom - r.top, 54);
    // a click on a caption under it reaches the caption's control
    RECT check;
    ::GetWindowRect(Item(ControlId::Check1), &check);
    POINT p{check.left + 150, (check.top + check.bottom) / 2};
    EXPECT_EQ(::WindowFromPoint(p), Item(ControlId::Check1));
}

// At each DPI the dialog may meet, after the move a change of DPI makes: every control where the
// layout puts it, in the font for that DPI, and every caption, measured with that font, whole.
TEST_F(FrmSettingTest, LaidOutAtTheWindowsDpiWithEveryCaptionWhole) {
    HWND dialog = Open();
    LOGFONTW stock{}, used{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
    for (int dpi : {120, 144, 192, 96}) {
        const auto px = [dpi](int twips) { return static_cast<LONG>(PixelsFromTwips(twips, dpi)); };
        RECT outer, client;
        ::GetWindowRect(dialog, &outer);
        ::GetClientRect(dialog, &client);
        RECT suggested{outer.left, outer.top, outer.right - client.right + px(kClientWidthTwips),
                       outer.bottom - client.bottom + px(kClientHeightTwips)};
        ::SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        ::GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, px(kClientWidthTwips)) << dpi;
        EXPECT_EQ(client.bottom, px(kClientHeightTwips)) << dpi;
        for (const ControlPlace& c : kFrmSettingControls) {
            HWND control = Item(c.id);
            RECT r, box, text{};
            ::GetWindowRect(control, &r);
            ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
            EXPECT_EQ((std::array{r.left, r.top, r.right - r.left, r.bottom - r.top}),
                      (std::array{px(c.left), px(c.top), px(c.width), px(c.height)}))
                << dpi << " dpi, control " << static_cast<int>(c.id);
            // Label4 and Label8 are empty until a hot key is refused or high contrast is on
            const std::wstring caption = c.id == ControlId::Label4
                                             ? L"Ctrl+Shift+Alt+Scroll Lock" + Wide(kSpeakKeyRefused)
                                             : Wide(c.id == ControlId::Label8 ? kHighContrastNote : c.text);
            if (caption.empty()) continue;
            const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
            ::GetObjectW(font, sizeof(used), &used);
            EXPECT_EQ(used.lfHeight, ScaleToDpi(stock.lfHeight, SystemDpi(), dpi)) << dpi;
            const unique_hdc_window dc(control);
            unique_select_object selected(dc.get(), font);
            // a check box or option button draws its glyph and a gap of half a digit before the text
            SIZE digit{};
            ::GetTextExtentPoint32W(dc.get(), L"0", 1, &digit);
            const bool glyph = c.kind == ControlKind::CheckBox || c.kind == ControlKind::WrappedCheckBox ||
                               c.kind == ControlKind::OptionButton;
            const int before =
                glyph ? ScaleToDpi(::GetSystemMetrics(SM_CXMENUCHECK), SystemDpi(), dpi) + digit.cx / 2 : 0;
            // what the control shows: the dialog's edge cuts the controls that run past it; a
            // wrapped caption breaks its lines at the control's width
            ::GetClientRect(control, &box);
            text.right = box.right - before;
            ::DrawTextW(dc.get(), caption.c_str(), -1, &text,
                        DT_CALCRECT | (c.kind == ControlKind::WrappedCheckBox || c.id == ControlId::Label4
                                           ? DT_WORDBREAK
                                           : DT_SINGLELINE));
            EXPECT_LE(before + text.right, std::min(box.right, client.right - r.left))
                << dpi << " dpi: " << ::testing::PrintToString(caption);
            EXPECT_LE(text.bottom, box.bottom) << dpi << " dpi: " << ::testing::PrintToString(caption);
        }
    }
}

// The quiet hours' lists follow their box. (The hot-key box is typed into in the end-to-end tests.)
TEST_F(FrmSettingTest, QuietHours) {
    Open();
    EXPECT_FALSE(::IsWindowEnabled(Item(ControlId::Combo3))) << "quiet hours are off by default";
    Click(ControlId::Check3);
    EXPECT_TRUE(Settings.QuietHours);
    EXPECT_TRUE(::IsWindowEnabled(Item(ControlId::Combo3)) && ::IsWindowEnabled(Item(ControlId::Combo4)));
    Pick(ControlId::Combo3, 22);
    Pick(ControlId::Combo4, 6);
    EXPECT_EQ(std::pair(Settings.QuietFrom, Settings.QuietTo), std::pair(22, 6));
    wchar_t entry[32] = {};
    ::SendMessageW(Item(ControlId::Combo3), CB_GETLBTEXT, 23, reinterpret_cast<LPARAM>(entry));
    EXPECT_EQ(std::wstring(entry), L"오후 11시");
}

TEST_F(FrmSettingTest, KeyboardOrder) {
    Settings.QuietHours = true; // its hours can be chosen, and so take the focus
    HWND dialog = Open();
    EXPECT_EQ(::GetFocus(), EditOf(ControlId::Combo1))
        << "Combo1 is first in the keyboard order; the focus is on " << ClassOf(::GetFocus()) << " "
        << ::GetDlgCtrlID(::GetFocus()) << " of " << ClassOf(::GetParent(::GetFocus()));
    std::vector<HWND> order;
    HWND at = Item(ControlId::Combo1);
    for (int i = 0; i < 12; ++i) {
        order.push_back(at);
        at = ::GetNextDlgTabItem(dialog, at, FALSE);
    }
    EXPECT_EQ(at, Item(ControlId::Combo1))
        << "Tab comes round again, not to " << ClassOf(at) << " " << ::GetDlgCtrlID(at);
    // then the rows below the first ones, down the dialog
    const std::vector<HWND> expected{
        Item(ControlId::Combo1),  Item(ControlId::Check1),   Item(ControlId::Option1Square),
        Item(ControlId::Combo2),  Item(ControlId::Command1), Item(ControlId::Check2),
        Item(ControlId::HotKey1), Item(ControlId::Check3),   Item(ControlId::Combo3),
        Item(ControlId::Combo4),  Item(ControlId::Check4),   Item(ControlId::Slider1)};
    EXPECT_EQ(order, expected);
}

TEST_F(FrmSettingTest, ArrowKeysStayInTheShapeOptions) {
    Open();
    ::SetFocus(Item(ControlId::Option1Circle));
    for (ControlId next : {ControlId::Option1Square, ControlId::Option1Circle, ControlId::Option1Square}) {
        MSG key{::GetFocus(), WM_KEYDOWN, VK_RIGHT, 1, 0, {}};
        EXPECT_TRUE(FrmSettingIsDialogMessage(&key));
        EXPECT_EQ(::GetFocus(), Item(next)) << "Right went to control " << ::GetDlgCtrlID(::GetFocus());
    }
}

int CALLBACK NoteFont(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// Wine draws the caption buttons with the Marlett font; without it the close box shows an "r".
TEST(CaptionButtons, MarlettFontIsInstalled) {
    LOGFONTW font{};
    font.lfCharSet = DEFAULT_CHARSET;
    wcscpy(font.lfFaceName, L"Marlett");
    bool found = false;
    const unique_hdc_window screen(nullptr);
    ::EnumFontFamiliesExW(screen.get(), &font, NoteFont, reinterpret_cast<LPARAM>(&found), 0);
    EXPECT_TRUE(found) << "no Marlett font (Debian's fonts-wine)";
}

TEST_F(FrmSettingTest, InitialStateFollowsSettings) {
    struct Case {
        std::int32_t alarm;
        bool beep, circle;
        int selection;
    };
    const Case cases[] = {{1, false, false, 2},
                          {0, true, true, 0},
                          {4, false, true, 6},
                          {7, true, false, -1},
                          {-3, false, false, -1}};
    for (const Case& c : cases) {
        Settings = DefaultSettings();
        Settings.Alarm = c.alarm;
        Settings.Beep = c.beep;
        Settings.ClockShape = c.circle;
        Settings.BGColor = RGB(12, 200, 34);
        const SettingsRecord before = Settings;
        Open();
        EXPECT_EQ(Selection(ControlId::Combo1), c.selection) << c.alarm;
        if (c.selection >= 0) {
            EXPECT_EQ(Text(Item(ControlId::Combo1)),
                      Wide(kIntervalEntries[static_cast<std::size_t>(c.selection)]));
        }
        EXPECT_EQ(Checked(ControlId::Check1), c.beep);
        EXPECT_EQ(Checked(ControlId::Option1Circle), c.circle);
        EXPECT_EQ(Checked(ControlId::Option1Square), !c.circle);
        EXPECT_FALSE(Checked(ControlId::Check2));
        EXPECT_EQ(Selection(ControlId::Combo2), 0) << "opens on 배경색";
        EXPECT_EQ(PreviewPixel(), RGB(12, 200, 34)) << "previewing BGColor";
        EXPECT_EQ(Settings, before) << "loading writes back only what it read; an Alarm of " << c.alarm
                                    << " is left as it is";
        UnloadFrmSetting();
        Pump(10);
    }
}

TEST_F(FrmSettingTest, ControlsWriteStraightIntoSettings) {
    Open();
    Key(ControlId::Combo1, VK_DOWN); // 10분마다 -> 15분마다
    EXPECT_EQ(Selection(ControlId::Combo1), 3);
    EXPECT_EQ(Settings.Alarm, 6);
    Pick(ControlId::Combo1, 6);
    EXPECT_EQ(Settings.Alarm, 4);
    Pick(ControlId::Combo1, 0);
    EXPECT_EQ(Settings.Alarm, 0);

    Click(ControlId::Check1);
    EXPECT_TRUE(Settings.Beep);
    Click(ControlId::Check1);
    EXPECT_FALSE(Settings.Beep);

    Click(ControlId::Option1Circle);
    EXPECT_TRUE(Settings.ClockShape);
    EXPECT_FALSE(Checked(ControlId::Option1Square));
    Click(ControlId::Option1Square);
    EXPECT_FALSE(Settings.ClockShape);
}

TEST_F(FrmSettingTest, AStrayAlarmWaitsForTheUsersChoice) {
    Settings.Alarm = 9;
    Open();
    EXPECT_EQ(Selection(ControlId::Combo1), -1);
    Click(ControlId::Check1);
    EXPECT_EQ(Settings.Alarm, 9) << "other controls leave it alone";
    Pick(ControlId::Combo1, 5);
    EXPECT_EQ(Settings.Alarm, 3);
}

TEST_F(FrmSettingTest, TypedTextSelectsNothingAndChangesNothing) {
    Settings.Alarm = 3;
    Settings.HColor = RGB(1, 99, 1);
    Open();
    Type(ControlId::Combo1, L'x');
    EXPECT_EQ(Selection(ControlId::Combo1), -1);
    EXPECT_EQ(Settings.Alarm, 3);
    Type(ControlId::Combo1, L'y');
    EXPECT_EQ(Settings.Alarm, 3);

    Pick(ControlId::Combo2, 2); // 시침색
    EXPECT_EQ(PreviewPixel(), RGB(1, 99, 1));
    Type(ControlId::Combo2, L'q');
    EXPECT_EQ(Selection(ControlId::Combo2), -1);
    EXPECT_EQ(PreviewPixel(), RGB(1, 99, 1)) << "the preview keeps what it showed";
    // with no colour target the change button does nothing: no colour dialog opens
    colordlg::Driver driver([](HWND d) { colordlg::Press(d, IDCANCEL); });
    const SettingsRecord before = Settings;
    Click(ControlId::Command1);
    EXPECT_FALSE(driver.Acted());
    EXPECT_EQ(Settings, before);
}

TEST_F(FrmSettingTest, ChangingAColourOfTheSelectedTarget) {
    Open();
    Pick(ControlId::Combo2, 4); // 초침색
    EXPECT_EQ(PreviewPixel(), static_cast<COLORREF>(Settings.SColor));

    int initialRed = -1;
    {
        colordlg::Driver driver([&](HWND d) {
            wchar_t red[8] = {};
            ::GetDlgItemTextW(d, colordlg::kRed, red, 8);
            initialRed = _wtoi(red);
            colordlg::TypeColor(d, 10, 20, 30);
            colordlg::Press(d, colordlg::kAddCustom);
            colordlg::Press(d, IDOK);
        });
        Click(ControlId::Command1);
        EXPECT_TRUE(driver.Acted());
    }
    EXPECT_EQ(initialRed, 0) << "the dialog starts on SColor (red 0, green 128, blue 255)";
    EXPECT_EQ(Settings.SColor, RGB(10, 20, 30));
    EXPECT_EQ(Settings.HColor, DefaultSettings().HColor) << "stored in SColor, not HColor";
    EXPECT_EQ(PreviewPixel(), RGB(10, 20, 30));
    EXPECT_EQ(CustomColors[0], RGB(10, 20, 30)) << "custom colours live for the run";

    // cancelled: the colour stays
    {
        colordlg::Driver driver([](HWND d) {
            colordlg::TypeColor(d, 200, 200, 200);
            colordlg::Press(d, IDCANCEL);
        });
        Click(ControlId::Command1);
        EXPECT_TRUE(driver.Acted());
    }
    EXPECT_EQ(Settings.SColor, RGB(10, 20, 30));
    EXPECT_EQ(PreviewPixel(), RGB(10, 20, 30));

    // black is a colour like any other
    Pick(ControlId::Combo2, 1); // 테두리색
    Settings.TColor = RGB(5, 5, 5);
    {
        colordlg::Driver driver([](HWND d) {
            colordlg::TypeColor(d, 0, 0, 0);
            colordlg::Press(d, IDOK);
        });
        Click(ControlId::Command1);
    }
    EXPECT_EQ(Settings.TColor, 0u);
    CustomColors = {};
}

TEST_F(FrmSettingTest, ClosingDuringTheColourDialogIsSafe) {
    Open();
    colordlg::Driver driver([](HWND) { UnloadFrmSetting(); });
    Click(ControlId::Command1);
    EXPECT_TRUE(driver.Acted());
    EXPECT_EQ(FrmSettingWindow(), nullptr);
    EXPECT_EQ(Settings.BGColor, DefaultSettings().BGColor);
}

TEST_F(FrmSettingTest, RunBoxFollowsTheRegistryAndWritesIt) {
    // nothing registered: the box is clear and the registry untouched
    Open();
    EXPECT_FALSE(Checked(ControlId::Check2));
    EXPECT_EQ(RunValue(), L"");
    Click(ControlId::Check2);
    EXPECT_TRUE(Checked(ControlId::Check2));
    EXPECT_EQ(RunValue(), CurrentRunPath());
    EXPECT_EQ(UserRunValue(), L"") << "an administrator registers machine-wide only";
    Click(ControlId::Check2);
    EXPECT_FALSE(Checked(ControlId::Check2));
    EXPECT_EQ(RunValue(), L"");
    UnloadFrmSetting();

    // registered elsewhere: opening ticks the box and moves the registration here
    ASSERT_TRUE(StoreValueText(sandbox_->get(), kRunKeyPath, kRunValueName, L"D:\\old\\clock.exe"));
    Open();
    EXPECT_TRUE(Checked(ControlId::Check2));
    EXPECT_EQ(RunValue(), CurrentRunPath());
    UnloadFrmSetting();

    // spaces only: not a registration, and left alone
    ASSERT_TRUE(StoreValueText(sandbox_->get(), kRunKeyPath, kRunValueName, L"   "));
    Open();
    EXPECT_FALSE(Checked(ControlId::Check2));
    EXPECT_EQ(RunValue(), L"   ");
}

TEST_F(FrmSettingTest, RefusedRunChangesShowTheTruth) {
    RunKeyRegistry refusing(nullptr, nullptr); // neither key can be written
    SetFrmSettingRunRegistry(&refusing);
    Open();
    Click(ControlId::Check2);
    EXPECT_FALSE(Checked(ControlId::Check2)) << "nothing was registered";
}

TEST_F(FrmSettingTest, RefusedMachineKeyFallsBackPerUser) {
    RunKeyRegistry refusing(nullptr, userSandbox_->get()); // no machine-wide key can be written
    SetFrmSettingRunRegistry(&refusing);
    Open();
    Click(ControlId::Check2);
    EXPECT_EQ(UserRunValue(), CurrentRunPath());
    EXPECT_TRUE(Checked(ControlId::Check2));
    UnloadFrmSetting();
    Open();
    EXPECT_TRUE(Checked(ControlId::Check2));
    Click(ControlId::Check2);
    EXPECT_EQ(UserRunValue(), L"");
    EXPECT_FALSE(Checked(ControlId::Check2));
}

TEST_F(FrmSettingTest, OneInstanceShownAgain) {
    HWND first = Open();
    Settings.Alarm = 4; // a reload would show this
    HWND second = Open();
    EXPECT_EQ(first, second);
    EXPECT_EQ(Selection(ControlId::Combo1), 2) << "shown again, not loaded again";
    int dialogs = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountDialogs, reinterpret_cast<LPARAM>(&dialogs));
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(::IsWindowVisible(first));
    EXPECT_EQ(::GetWindow(first, GW_OWNER), nullptr) << "modeless and without an owner";
}

TEST_F(FrmSettingTest, CloseBoxAndUnloadCloseIt) {
    HWND dialog = Open();
    ::SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump(10);
    EXPECT_FALSE(::IsWindow(dialog));
    EXPECT_EQ(FrmSettingWindow(), nullptr);
    // the next opening loads afresh from the settings
    Settings.Alarm = 4;
    Open();
    EXPECT_EQ(Selection(ControlId::Combo1), 6);
    dialog = FrmSettingWindow();
    UnloadFrmSetting();
    EXPECT_FALSE(::IsWindow(dialog));
    EXPECT_EQ(FrmSettingWindow(), nullptr);
    UnloadFrmSetting(); // closing a closed dialog is nothing
    // Enter away from a button does nothing (there is no OK); Escape closes it as the close box does
    dialog = Open();
    ::SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    MSG escape{::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
    EXPECT_TRUE(::IsWindow(dialog) && FrmSettingIsDialogMessage(&escape));
    EXPECT_FALSE(::IsWindow(dialog));
}

// Alt and each letter in brackets reaches its control: a label's the list or box after it. Quiet
// hours go late, as their box turns the two hour lists off; the hot-key box last, as it keeps the
// keys typed in it.
TEST_F(FrmSettingTest, AccessKeysReachEveryControl) {
    Settings.QuietHours = true;
    Open();
    const std::pair<wchar_t, ControlId> table[] = {
        {L'a', ControlId::Combo1},        {L'b', ControlId::Check1}, {L's', ControlId::Option1Square},
        {L'o', ControlId::Option1Circle}, {L'c', ControlId::Combo2}, {L'e', ControlId::Command1},
        {L'r', ControlId::Check2},        {L'f', ControlId::Combo3}, {L'u', ControlId::Combo4},
        {L'p', ControlId::Check4},        {L'q', ControlId::Check3}, {L'k', ControlId::HotKey1}};
    for (const auto& [key, control] : table) {
        // 변경 opens the colour chooser, which is left at once
        colordlg::Driver cancel([](HWND colours) { colordlg::Press(colours, IDCANCEL); });
        MSG alt{::GetFocus(), WM_SYSCHAR, key, 0x20000001, 0, {}};
        EXPECT_TRUE(FrmSettingIsDialogMessage(&alt)) << static_cast<char>(key);
        Pump(10);
        HWND focus = ::GetFocus();
        EXPECT_TRUE(focus == Item(control) || ::GetParent(focus) == Item(control))
            << static_cast<char>(key) << " went to " << ::GetDlgCtrlID(focus);
    }
    EXPECT_TRUE(Checked(ControlId::Option1Circle) && !Settings.QuietBusy && !Settings.QuietHours)
        << "each pressed once";
}

TEST_F(FrmSettingTest, OpeningAndClosingLeavesNothingBehind) {
    // the counters are live: an object made and freed shows in them
    const auto gdiStart = GdiObjectCount();
    ASSERT_TRUE(gdiStart) << "no way to count GDI objects here";
    {
        unique_hbitmap probe(::CreateBitmap(4, 4, 1, 32, nullptr));
        ASSERT_EQ(GdiObjectCount(), *gdiStart + 1);
    }
    // the program's own references on shell32, counted at its LoadLibrary/FreeLibrary calls
    const libref::Counter shell32(L"shell32.dll");
    ASSERT_TRUE(shell32.Active());
    {
        unique_hmodule extra(::LoadLibraryW(L"shell32.dll"));
        ASSERT_EQ(shell32.Held(), 1) << "the counter sees this program's calls";
    }
    ASSERT_EQ(shell32.Held(), 0);

    Open(); // the first opening registers classes and loads what stays loaded
    UnloadFrmSetting();
    Pump(10);
    const auto gdi = GdiObjectCount();
    const auto user = UserObjectCount();
    const unsigned windows = ThreadWindowCount();

    for (int i = 0; i < 20; ++i) {
        Open();
        if (i == 0) {
            EXPECT_EQ(shell32.Held(), 1) << "the open dialog holds shell32";
        }
        Pick(ControlId::Combo2, i % 5);
        UnloadFrmSetting();
        Pump(5);
    }
    EXPECT_EQ(GdiObjectCount(), gdi);
    EXPECT_EQ(UserObjectCount(), user);
    EXPECT_EQ(ThreadWindowCount(), windows);
    EXPECT_EQ(shell32.Held(), 0) << "every opening's reference is given back";
}

} // namespace
