// The clock closed from outside, as the installer and the uninstaller close it: the registered
// message "TockwenQuit" ends it as Exit answered Yes does, unasked.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/AppIds.h"
#include "settings_ui/FrmSettingLayout.h"
#include "support/Driver_win32.h"

using namespace driver;

namespace {

TEST(QuitMessage, EndsTheClockWithItsSettingsSavedAndNoQuestion) {
    DeleteStoredSettings();
    TockwenProcess app;
    ASSERT_TRUE(app.Start());
    // a changed setting, with the settings dialog left open
    ASSERT_TRUE(app.ChooseMenuItem(0));
    HWND circle = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (HWND dialog : FindWindows(app.Id(), L"TockwenFrmSetting"))
            if (IsWindowVisible(dialog))
                circle = GetDlgItem(dialog, static_cast<int>(ControlId::Option1Circle));
        return circle != nullptr;
    }));
    SendMessageW(circle, BM_CLICK, 0, 0);
    ASSERT_EQ(SendMessageW(circle, BM_GETCHECK, 0, 0), BST_CHECKED);

    // found as the installer finds it: by class only
    HWND main = FindWindowW(kMainWindowClass, nullptr);
    ASSERT_EQ(main, app.MainWindow());
    PostMessageW(main, RegisterWindowMessageW(kQuitMessage), 0, 0);
    bool asked = false;
    EXPECT_TRUE(WaitFor([&] {
        asked = asked || !FindWindows(app.Id(), L"#32770").empty();
        return !app.Running();
    })) << "the clock did not end";
    EXPECT_FALSE(asked) << "a message box appeared";
    EXPECT_EQ(app.ExitCode(), 0u);
    const auto stored = StoredSettings();
    EXPECT_EQ(stored.size(), 8u);
    EXPECT_EQ(stored.count(L"ClockShape") ? stored.at(L"ClockShape").text : L"", L"1");
    EXPECT_FALSE(app.TrayIconPresent());
}

} // namespace
