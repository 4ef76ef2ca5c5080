// Whether anyone can see the tray clock: session lock and display state from the system.
#include "app/SeenNotifications_win32.h"

#include <wtsapi32.h>
#include <versionhelpers.h>

#include <cstring>

#include "base/SystemLibrary_win32.h"

namespace {

using SessionNotificationProc = BOOL(WINAPI*)(HWND, DWORD);
using SessionUnregisterProc = BOOL(WINAPI*)(HWND);
using QuerySessionProc = BOOL(WINAPI*)(HANDLE, DWORD, int, LPWSTR*, DWORD*);
using FreeMemoryProc = void(WINAPI*)(void*);

// WTSSessionInfoEx and the start of the WTSINFOEXW it returns (level 1), which the MinGW headers
// lack: the level, then, aligned for the 64-bit times further on, the session's id, state and flags.
constexpr int kWtsSessionInfoEx = 25;
struct SessionInfoExStart {
    DWORD level;
    struct alignas(8) {
        ULONG sessionId;
        int sessionState;
        LONG sessionFlags;
    } level1;
};
static_assert(sizeof(SessionInfoExStart) == 24, "the level-1 data starts 8 bytes in");
constexpr LONG kSessionStateLock = 0, kSessionStateUnlock = 1;

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
    // the system answers at once with the display's present state; the console's display says
    // nothing of a Remote Desktop session's, so it is asked only where Windows knows no other
    display_.reset(RegisterPowerSettingNotification(
        window, IsWindows8OrGreater() ? &kSessionDisplayStatus : &kMonitorPowerOn,
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
        (setting.PowerSetting != kSessionDisplayStatus && setting.PowerSetting != kConsoleDisplayState &&
         setting.PowerSetting != kMonitorPowerOn))
        return std::nullopt;
    DWORD state = 0;
    std::memcpy(&state, setting.Data, sizeof state);
    return state != 0;
}

bool QuerySessionLocked() {
    const unique_hmodule wtsapi = LoadSystemLibrary(L"wtsapi32.dll");
    const auto query = SystemFunction<QuerySessionProc>(wtsapi.get(), "WTSQuerySessionInformationW");
    const auto freeMemory = SystemFunction<FreeMemoryProc>(wtsapi.get(), "WTSFreeMemory");
    LPWSTR buffer = nullptr;
    DWORD bytes = 0;
    if (!query || !freeMemory ||
        !query(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION, kWtsSessionInfoEx, &buffer, &bytes))
        return false;
    bool locked = false;
    if (bytes >= sizeof(SessionInfoExStart)) {
        SessionInfoExStart info{};
        std::memcpy(&info, buffer, sizeof info);
        // Windows 7 and Server 2008 R2 give the two flags the other way round (a documented defect)
        const LONG lockedFlag = IsWindows8OrGreater() ? kSessionStateLock : kSessionStateUnlock;
        locked = info.level == 1 && info.level1.sessionFlags == lockedFlag;
    }
    freeMemory(buffer);
    return locked;
}
