// The window's DPI from GetDpiForWindow where user32 has it, the screen's otherwise.
#include "base/WindowDpi_win32.h"

#include "base/Handles.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// looked up by name: the program also runs on Windows 7, whose user32 has no such export
GetDpiForWindowFunction FindGetDpiForWindow() {
    const FARPROC found = ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
    // through the generic function pointer type, which converts to any other without a warning
    return reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void (*)()>(found));
}

} // namespace

int SystemDpi() {
    const unique_hdc_window screen(nullptr);
    const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int WindowDpi(HWND window) {
    static const GetDpiForWindowFunction getDpiForWindow = FindGetDpiForWindow();
    if (getDpiForWindow)
        if (const UINT dpi = getDpiForWindow(window); dpi != 0) return static_cast<int>(dpi);
    return SystemDpi();
}
