// Tockwen's entry point: the hidden main window and the message loop of the one UI thread.
#include <windows.h>

#include "app/ClockCal_win32.h"
#include "app/SystemLibrary_win32.h"
#include "settings_ui/FrmSetting_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    RestrictDllSearchToSystem();
    ClockCal clock;
    if (!clock.Create(instance)) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (FrmSettingIsDialogMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
