// Tockwen's entry point: the hidden main window and the message loop of the one UI thread.
#include <windows.h>

#include <string>

#include "app/AppIds.h"
#include "app/ClockCal_win32.h"
#include "app/ModelessDialog_win32.h"
#include "app/UserToken_win32.h"
#include "base/Handles.h"
#include "base/LocalClock_win32.h"
#include "base/SystemLibrary_win32.h"
#include "settings_ui/FrmSetting_win32.h"

namespace {

// A second start asks the running clock of the same user to open its settings dialog. The first
// start may hold the mutex but not have made its window yet, so it is looked for a few times.
void AskRunningClockForSettings(const std::wstring& sid) {
    const UINT showSettings = RegisterWindowMessageW(kShowSettingsMessage);
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (HWND running = FindUsersWindow(kMainWindowClass, sid)) {
            // the user just started this process, so it may hand the foreground on to the dialog
            DWORD processId = 0;
            GetWindowThreadProcessId(running, &processId);
            AllowSetForegroundWindow(processId);
            PostMessageW(running, showSettings, 0, 0);
            return;
        }
        Sleep(100);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    RestrictDllSearchToSystem();
    // One clock per user and session: a second one would add a second icon and voice, and the
    // last to exit would overwrite the other's settings.
    const unique_handle token = OpenOwnToken();
    const std::wstring oneClockName = OneClockMutexName(token.get());
    SetLastError(ERROR_SUCCESS);
    const unique_handle oneClock(CreateMutexW(nullptr, FALSE, oneClockName.c_str()));
    // an elevated first start's mutex cannot even be opened from an ordinary one
    if (const DWORD error = GetLastError();
        error == ERROR_ALREADY_EXISTS || (!oneClock && error == ERROR_ACCESS_DENIED)) {
        AskRunningClockForSettings(UserSidText(token.get()));
        return 0;
    }

    ClockCal clock(&Shell_NotifyIconW, &ReadLocalClock, &QueryNotificationState, &QueryHighContrast);
    if (!clock.Create(instance)) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Tab, Enter, Escape and the access keys of the modeless dialogs
        if (FrmSettingIsDialogMessage(&msg) || ModelessDialog::HandleAnyMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
