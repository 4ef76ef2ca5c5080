// The cost of waking alone: a hidden window woken as the seen clock is, just after each second's
// start, and nothing done on a wake. scripts/measure-cpu.sh runs it beside the clock, so that
// what the clock spends on its own work can be told from what any program that wakes once a
// second spends on this system.
//
// Built with TOCKWEN_SEND_ICON (SendFloor.exe) it also does the least a tray clock must: it adds
// one ready-made icon and sends it to the shell again (NIM_MODIFY) at 44 seconds of every
// minute, as often as the clock's face changes, building nothing.
#include <windows.h>

#include "app/Wake.h"
#include "render/IconImage.h"

namespace {

#ifdef TOCKWEN_SEND_ICON
NOTIFYICONDATAA tray{};
WORD lastSecond = 60;

HICON ReadyMadeIcon() {
    Picture picture; // 16 x 16 of one colour
    picture.Clear(0x00008000);
    static IconImage image;
    MakeIconImage(picture, Picture::kBackground, image);
    return CreateIconFromResourceEx(image.bytes.data(), static_cast<DWORD>(image.size), TRUE, 0x00030000, 16,
                                    16, LR_DEFAULTCOLOR);
}
#endif

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER: {
        SYSTEMTIME now;
        GetLocalTime(&now);
#ifdef TOCKWEN_SEND_ICON
        // 16 seconds a minute draw the face of the second before: 44 changes a minute
        if (wParam == 1 && now.wSecond != lastSecond && now.wSecond % 15 % 4 != 1) {
            lastSecond = now.wSecond;
            Shell_NotifyIconA(NIM_MODIFY, &tray);
        }
#endif
        SetTimer(window, wParam, static_cast<UINT>(1000 + kWakeMarginMs - now.wMilliseconds), nullptr);
        return 0;
    }
    case WM_DESTROY:
#ifdef TOCKWEN_SEND_ICON
        Shell_NotifyIconA(NIM_DELETE, &tray);
        DestroyIcon(tray.hIcon);
#endif
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"TockwenWakeFloor";
    if (!RegisterClassW(&windowClass)) return 1;
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr,
                                  nullptr, instance, nullptr);
    if (!window) return 1;
#ifdef TOCKWEN_SEND_ICON
    tray.cbSize = sizeof tray;
    tray.hWnd = window;
    tray.uID = 1;
    tray.uFlags = NIF_MESSAGE | NIF_ICON;
    tray.uCallbackMessage = WM_APP;
    tray.hIcon = ReadyMadeIcon();
    Shell_NotifyIconA(NIM_ADD, &tray);
#endif
    SetTimer(window, 1, 1000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
