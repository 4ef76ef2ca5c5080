// Whether anyone can see the tray clock: session lock and display state from the system.
#include "app/SeenNotifications_win32.h"

#include <wtsapi32.h>
#include <versionhelpers.h>

#include <cstring>

#include "base/SystemLibrary_win32.h"

namespace {

using SessionNotificationProc = BOOL(WINAPI*)(HWND, DWORD);
using SessionUnregisterProc = BOOL(WINAPI*)(HWND);

} // namespace

void SeenNotifications::Register(HWND window) {
    Unregister();
    // wtsapi32 is not one of the DLLs Windows always takes from its own folder: loaded from there
    // by name, not imported
    wtsapi_ = LoadSystemLibrary(L"wtsapi32.dll");
    if (const auto registerSession =
            SystemFunction<SessionNotificationProc>(wtsapi_.get(), "WTSRegisterSessionNotification");
        registerSession && registerSession(window, NOTIFY_FOR_THIS_SESSION))
        window_ = window;
    // the system answers at once with the display's present state
    display_.reset(RegisterPowerSettingNotification(
        window, IsWindows8OrGreater() ? &kConsoleDisplayState : &kMonitorPowerOn,
        DEVICE_NOTIFY_WINDOW_HANDLE));
}

void SeenNotifications::Unregister() {
    display_.reset();
    if (window_)
        if (const auto unregister =
                SystemFunction<SessionUnregisterProc>(wtsapi_.get(), "WTSUnRegisterSessionNotification"))
            unregister(window_);
    window_ = nullptr;
    wtsapi_.reset();
}

std::optional<bool> DisplayOn(const POWERBROADCAST_SETTING& setting) {
    if (setting.DataLength < sizeof(DWORD) ||
        (setting.PowerSetting != kConsoleDisplayState && setting.PowerSetting != kMonitorPowerOn))
        return std::nullopt;
    DWORD state = 0;
    std::memcpy(&state, setting.Data, sizeof state);
    return state != 0;
}
