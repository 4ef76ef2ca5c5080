// The real Tockwen.exe under a person's hands: tray clicks, the menu, the two message boxes,
// the settings it leaves behind, a shell restart and a session end.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <thread>

#include "app/AppIds.h"
#include "base/Handles.h"
#include "support/Driver_win32.h"

using namespace driver;

namespace {

constexpr int kItemSetting = 3, kItemAbout = 4, kItemExit = 5; // after 지금 시각 듣기, 타이머, 알람

const std::map<std::wstring, StoredValue> kDefaultStore = {
    {L"Alarm", {REG_SZ, L"1"}},          {L"Beep", {REG_SZ, L"0"}},
    {L"ClockShape", {REG_SZ, L"0"}},     {L"BGColor", {REG_SZ, L"16777215"}},
    {L"TColor", {REG_SZ, L"0"}},         {L"HColor", {REG_SZ, L"255"}},
    {L"MColor", {REG_SZ, L"38400"}},     {L"SColor", {REG_SZ, L"16744448"}},
    {L"SpeakKey", {REG_SZ, L"0"}},       {L"QuietHours", {REG_SZ, L"0"}},
    {L"QuietFrom", {REG_SZ, L"23"}},     {L"QuietTo", {REG_SZ, L"7"}},
    {L"QuietBusy", {REG_SZ, L"1"}},      {L"AlarmClock", {REG_SZ, L"-1"}},
    {L"AlarmClockDays", {REG_SZ, L"0"}}, {L"Volume", {REG_SZ, L"100"}}};

class TrayShell : public testing::Test {
  protected:
    void SetUp() override {
        DeleteStoredSettings();
        ASSERT_TRUE(app.Start()) << "Tockwen.exe did not start with its tray icon";
    }

    // Exit from the menu, answered Yes: the process ends on its own.
    void ExitYes() {
        ASSERT_TRUE(app.ExitYes());
        EXPECT_EQ(app.ExitCode(), 0u);
    }

    TockwenProcess app;
};

TEST_F(TrayShell, StartsHiddenWithItsIconAndWritesNothing) {
    HWND main = app.MainWindow();
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(IsIconic(main));
    EXPECT_TRUE(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "must stay out of Alt+Tab";
    EXPECT_TRUE(app.TrayIconPresent());
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(StoredSettings().empty()) << "the store is written only at exit";
}

TEST_F(TrayShell, OnlyTheMenuRequestOpensTheMenu) {
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP,
                         WM_RBUTTONDBLCLK, WM_MOUSEMOVE, int{NIN_SELECT}}) {
        app.TrayMouse(message);
        std::this_thread::sleep_for(250ms);
        EXPECT_EQ(app.PopupMenu(), nullptr) << "message 0x" << std::hex << message;
        EXPECT_TRUE(FindWindows(app.Id(), L"#32770").empty());
    }
    app.TrayMouse(WM_CONTEXTMENU); // Shift+F10 on the icon
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = app.PopupMenu()) != nullptr; }));
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitFor([&] { return app.PopupMenu() == nullptr; }));
    EXPECT_TRUE(app.Running());
}

TEST_F(TrayShell, MenuItemsInOrder) {
    // the first item opens the settings window, the second the information box, the third asks to exit
    ASSERT_TRUE(app.ChooseMenuItem(kItemSetting));
    EXPECT_TRUE(WaitFor([&] { return !FindWindows(app.Id(), nullptr, L"환경설정").empty(); }));

    ASSERT_TRUE(app.ChooseMenuItem(kItemAbout));
    HWND about = app.WaitForDialog(L"Tockwen v1.1");
    ASSERT_NE(about, nullptr);
    ClickButton(about, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(about); }));

    ASSERT_TRUE(app.ChooseMenuItem(kItemExit));
    HWND exitBox = app.WaitForDialog(L"Tockwen 종료");
    ASSERT_NE(exitBox, nullptr);
    ClickButton(exitBox, IDNO);
}

TEST_F(TrayShell, InformationBoxText) {
    ASSERT_TRUE(app.ChooseMenuItem(kItemAbout));
    HWND about = app.WaitForDialog(L"Tockwen v1.1");
    ASSERT_NE(about, nullptr);
    const std::wstring text = MessageBoxText(about);
    EXPECT_EQ(text.substr(0, text.rfind(L"\r\n")),
              L"Tockwen는 현재 시각을 아날로그 형태로 표시하는\r\n"
              L"트레이 아이콘 시계입니다.\r\n"
              L"\r\n"
              L"환경설정에서 시계의 모양이나 색, 등을 설정할 수 있습니다.\r\n"
              L"\r\n"
              L"Tip. 초침을 표시하고 싶지 않으시다면\r\n"
              L"초침의 색을 배경색과 같게 해보세요.\r\n"
              L"\r\n"
              L"Made by Quorvel");
    EXPECT_EQ(text.substr(text.rfind(L"\r\n") + 2, 8), L"https://");
    EXPECT_NE(GetDlgItem(about, IDOK), nullptr);
    EXPECT_EQ(GetDlgItem(about, IDCANCEL), nullptr) << "OK only";
    ClickButton(about, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }));
    EXPECT_TRUE(app.Running());
}

TEST_F(TrayShell, ExitAnsweredNoChangesNothing) {
    ASSERT_TRUE(app.ChooseMenuItem(kItemExit));
    HWND box = app.WaitForDialog(L"Tockwen 종료");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"정말 종료하시겠습니까?");
    EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
    EXPECT_NE(GetDlgItem(box, IDNO), nullptr);
    // Yes is the default button
    EXPECT_EQ(GetWindowLongW(GetDlgItem(box, IDYES), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongW(GetDlgItem(box, IDNO), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    ClickButton(box, IDNO);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(app.Running());
    EXPECT_TRUE(app.TrayIconPresent());
    EXPECT_TRUE(StoredSettings().empty());
}

TEST_F(TrayShell, ExitAnsweredYesSavesDefaultsAndRemovesTheIcon) {
    ExitYes();
    EXPECT_EQ(StoredSettings(), kDefaultStore);
    EXPECT_FALSE(app.TrayIconPresent());
}

TEST_F(TrayShell, NextStartReadsEditedValues) {
    ExitYes();
    // hand-edited values, some of them damaged: they are read as the program reads them and
    // written back in their clean form
    StoreSetting(L"Alarm", L" 3 ");
    StoreSetting(L"BGColor", L"16 711 935");
    StoreSetting(L"ClockShape", L"1");
    StoreSetting(L"Beep", L"true");
    StoreSetting(L"HColor", L"-2147483640");
    TockwenProcess again;
    ASSERT_TRUE(again.Start());
    ASSERT_TRUE(again.ExitYes());
    auto expected = kDefaultStore;
    expected[L"Alarm"].text = L"3";
    expected[L"BGColor"].text = L"16711935";
    expected[L"ClockShape"].text = L"1";
    expected[L"Beep"].text = L"0";
    expected[L"HColor"].text = L"-2147483640";
    EXPECT_EQ(StoredSettings(), expected);
}

TEST_F(TrayShell, ShellRestartBringsTheIconBack) {
    // what a crashed Explorer leaves: the icon is gone, then the new shell announces itself
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = app.MainWindow();
    nid.uID = kTrayIconId;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &nid));
    ASSERT_FALSE(app.TrayIconPresent());
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(WaitFor([&] { return app.TrayIconPresent(); }));
}

TEST_F(TrayShell, SessionEndSavesTheSettings) {
    ASSERT_TRUE(SendMessageW(app.MainWindow(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    SendMessageW(app.MainWindow(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(StoredSettings(), kDefaultStore);
    EXPECT_FALSE(app.TrayIconPresent());
    // a session that is not ending after all changes nothing
    app.Kill(); // the system ends a process whose session ended; until then it is the session's clock
    DeleteStoredSettings();
    TockwenProcess other;
    ASSERT_TRUE(other.Start());
    SendMessageW(other.MainWindow(), WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(StoredSettings().empty());
    EXPECT_TRUE(other.TrayIconPresent());
}

TEST_F(TrayShell, SecondStartOpensTheSettingsOfTheFirstAndLeaves) {
    TockwenProcess again;
    ASSERT_TRUE(again.Launch());
    EXPECT_TRUE(again.WaitForExit());
    EXPECT_EQ(again.ExitCode(), 0u);
    EXPECT_TRUE(WaitFor([&] { return !FindWindows(app.Id(), nullptr, L"환경설정").empty(); }));
    // one main window, so one icon, and the store untouched until the one clock exits
    EXPECT_EQ(FindWindowExW(nullptr, app.MainWindow(), kMainWindowClass, nullptr), nullptr);
    EXPECT_EQ(FindWindowW(kMainWindowClass, nullptr), app.MainWindow());
    EXPECT_TRUE(app.TrayIconPresent());
    EXPECT_TRUE(StoredSettings().empty());
}

TEST(TrayShellStartUp, SessionEndDuringStartUpKeepsTheStoredSettings) {
    // the session may end while start-up still waits on the shell: the settings it has not
    // read yet must not be overwritten with the all-zero record
    DeleteStoredSettings();
    StoreSetting(L"Alarm", L"4");
    StoreSetting(L"BGColor", L"255");
    for (int round = 0; round < 5; ++round) {
        TockwenProcess app;
        ASSERT_TRUE(app.Launch());
        HWND main = nullptr;
        ASSERT_TRUE(WaitFor(
            [&] {
                const auto found = FindWindows(app.Id(), kMainWindowClass, kMainWindowCaption);
                return !found.empty() && (main = found.front()) != nullptr;
            },
            5000ms, 1ms));
        SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK, 5000, nullptr);
        const auto stored = StoredSettings();
        ASSERT_EQ(stored.at(L"Alarm").text, L"4");
        ASSERT_EQ(stored.at(L"BGColor").text, L"255");
    }
}

TEST_F(TrayShell, SettingsTwiceGivesOneWindow) {
    ASSERT_TRUE(app.ChooseMenuItem(kItemSetting));
    ASSERT_TRUE(WaitFor([&] { return !FindWindows(app.Id(), nullptr, L"환경설정").empty(); }));
    ASSERT_TRUE(app.ChooseMenuItem(kItemSetting));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(FindWindows(app.Id(), nullptr, L"환경설정").size(), 1u);
}

TEST_F(TrayShell, ExitWithSettingsOpenClosesItFirst) {
    ASSERT_TRUE(app.ChooseMenuItem(kItemSetting));
    ASSERT_TRUE(WaitFor([&] { return !FindWindows(app.Id(), nullptr, L"환경설정").empty(); }));
    ExitYes();
    EXPECT_EQ(StoredSettings(), kDefaultStore);
}

} // namespace

TEST(TrayShellStartUp, AClockNameHeldByAnotherAccountDoesNotStopThisOne) {
    // what a program of another account in this session may hold: the name without a user, made
    // so that no one else may open it, and another user's clock
    ACL noOne{};
    ASSERT_TRUE(InitializeAcl(&noOne, sizeof noOne, ACL_REVISION));
    SECURITY_DESCRIPTOR closed{};
    InitializeSecurityDescriptor(&closed, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&closed, TRUE, &noOne, FALSE);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &closed, FALSE};
    const unique_handle unnamedUser(CreateMutexW(&attributes, FALSE, kOneClockMutex));
    const unique_handle otherUser(
        CreateMutexW(nullptr, FALSE, L"Local\\TockwenClockCal-S-1-5-21-7-7-7-1001"));
    ASSERT_TRUE(unnamedUser && otherUser);
    SetLastError(ERROR_SUCCESS);
    const unique_handle again(CreateMutexW(nullptr, FALSE, kOneClockMutex));
    ASSERT_TRUE(!again && GetLastError() == ERROR_ACCESS_DENIED) << "the name is closed to this user";

    DeleteStoredSettings();
    TockwenProcess app;
    ASSERT_TRUE(app.Start()) << "this user's clock starts";
    EXPECT_TRUE(app.ExitYes());
}
