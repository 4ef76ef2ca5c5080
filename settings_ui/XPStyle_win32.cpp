// XPStyle: initialises the common controls and keeps shell32 loaded for as long as it exists.
#include "settings_ui/XPStyle_win32.h"

#include <commctrl.h>

#include "app/Handles.h"
#include "app/SystemLibrary_win32.h"

namespace {

struct XPStyleState {
    unique_hmodule shell32;
};

LRESULT CALLBACK XPStyleProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: {
        INITCOMMONCONTROLSEX init{};
        init.dwSize = sizeof(init);
        init.dwICC = ICC_USEREX_CLASSES;
        ::InitCommonControlsEx(&init);
        auto* state = new XPStyleState{unique_hmodule(LoadSystemLibrary(L"shell32.dll"))};
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
        break;
    }
    case WM_CREATE:
        // CreateWindowEx sizes the window without asking it; put the fixed size in place now
        ::SetWindowPos(hwnd, nullptr, 0, 0, kXPStyleSize, kXPStyleSize,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    case WM_WINDOWPOSCHANGING: {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(pos->flags & SWP_NOSIZE)) {
            pos->cx = kXPStyleSize;
            pos->cy = kXPStyleSize;
        }
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        ::BeginPaint(hwnd, &paint);
        ::EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_NCDESTROY:
        delete reinterpret_cast<XPStyleState*>(::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0));
        break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

static_assert(sizeof(INITCOMMONCONTROLSEX) == 8);

HWND CreateXPStyle(HWND parent, int left, int top, int width, int height, int id) {
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    if (!::GetClassInfoExW(instance, kXPStyleClass, &cls)) {
        cls = WNDCLASSEXW{};
        cls.cbSize = sizeof(cls);
        cls.lpfnWndProc = XPStyleProc;
        cls.hInstance = instance;
        cls.lpszClassName = kXPStyleClass;
        ::RegisterClassExW(&cls);
    }
    return ::CreateWindowExW(0, kXPStyleClass, L"", WS_CHILD | WS_DISABLED, left, top, width, height, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}
