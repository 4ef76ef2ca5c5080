// The window's DPI from GetDpiForWindow where user32 has it, the screen's otherwise.
#include "base/WindowDpi_win32.h"

#include "base/Handles.h"
#include "base/SystemLibrary_win32.h"

int SystemDpi() {
    const unique_hdc_window screen(nullptr);
    const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int WindowDpi(HWND window) {
    // Windows 10 1607 and later
    static const auto getDpiForWindow = SystemFunction<UINT(WINAPI*)(HWND)>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow)
        if (const UINT dpi = getDpiForWindow(window); dpi != 0) return static_cast<int>(dpi);
    return SystemDpi();
}
