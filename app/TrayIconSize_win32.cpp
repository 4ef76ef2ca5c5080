// The size, in pixels, at which the shell shows a notification-area icon.
#include "app/TrayIconSize_win32.h"

#include <windows.h>

#include "base/SystemLibrary_win32.h"
#include "base/WindowDpi_win32.h"

int TrayIconSize() {
    // Windows 10 1607 and later
    static const auto metricsForDpi =
        SystemFunction<int(WINAPI*)(int, UINT)>(L"user32.dll", "GetSystemMetricsForDpi");
    // the taskbar's own DPI: on a second monitor or under a DPI-unaware caller it can differ from
    // what the system-wide metrics report
    if (HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr); taskbar && metricsForDpi)
        if (const int size = metricsForDpi(SM_CXSMICON, static_cast<UINT>(WindowDpi(taskbar))); size > 0)
            return size;
    return GetSystemMetrics(SM_CXSMICON);
}
