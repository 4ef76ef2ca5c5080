// The size, in pixels, at which the shell shows a notification-area icon.
#include "app/TrayIconSize_win32.h"

#include <windows.h>

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

// Looked up at run time: Windows 7 and 8 have neither function, and importing them would stop the
// program from starting there.
template <typename Fn> Fn User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

} // namespace

int TrayIconSize() {
    static const auto dpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    static const auto metricsForDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (dpiForWindow && metricsForDpi) {
        // the taskbar's own DPI: on a second monitor or under a DPI-unaware caller it can differ from
        // what the system-wide metrics report
        if (HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr)) {
            const UINT dpi = dpiForWindow(taskbar);
            if (dpi != 0) return metricsForDpi(SM_CXSMICON, dpi);
        }
    }
    return GetSystemMetrics(SM_CXSMICON);
}
