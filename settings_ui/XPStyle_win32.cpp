// XPStyle: initialises the common controls and keeps shell32 loaded for as long as it exists.
#include "settings_ui/XPStyle_win32.h"

#include <commctrl.h>

#include <memory>

#include "base/Handles.h"
#include "base/WindowDpi_win32.h"
#include "base/Window_win32.h"
#include "base/SystemLibrary_win32.h"
#include "settings_ui/Twips.h"

namespace {

// wParam: the DPI the control's fixed size is to be taken at
constexpr UINT kSetDpiMessage = WM_USER + 1;

class XPStyle : public Window<XPStyle> {
  public:
    static HWND Create(HWND parent, int left, int top, int width, int height, int id) {
        const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
        WindowPlace place;
        place.style = WS_CHILD | WS_DISABLED;
        place.x = left;
        place.y = top;
        place.width = width;
        place.height = height;
        place.parent = parent;
        place.menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
        return CreateOwned(std::make_unique<XPStyle>(), instance, place);
    }

  private:
    friend class Window<XPStyle>;
    static constexpr const wchar_t* kClassName = kXPStyleClass;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_NCCREATE: {
            INITCOMMONCONTROLSEX init{};
            init.dwSize = sizeof(init);
            // the settings dialog's hot-key control is a common control too
            init.dwICC = ICC_USEREX_CLASSES | ICC_HOTKEY_CLASS;
            ::InitCommonControlsEx(&init);
            shell32_ = LoadSystemLibrary(L"shell32.dll");
            break;
        }
        case WM_CREATE:
            // CreateWindowEx sizes the window without asking it; put the fixed size in place now
            size_ = PixelsFromTwips(kXPStyleTwips, WindowDpi(::GetParent(window_)));
            ApplySize();
            return 0;
        case kSetDpiMessage:
            size_ = PixelsFromTwips(kXPStyleTwips, static_cast<int>(wParam));
            ApplySize();
            return 0;
        case WM_WINDOWPOSCHANGING: {
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            if (!(pos->flags & SWP_NOSIZE)) {
                pos->cx = size_;
                pos->cy = size_;
            }
            return 0;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            ::BeginPaint(window_, &paint);
            ::EndPaint(window_, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        }
        return ::DefWindowProcW(window_, message, wParam, lParam);
    }

    void ApplySize() const {
        ::SetWindowPos(window_, nullptr, 0, 0, size_, size_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    unique_hmodule shell32_;
    int size_ = PixelsFromTwips(kXPStyleTwips);
};

} // namespace

static_assert(sizeof(INITCOMMONCONTROLSEX) == 8);

HWND CreateXPStyle(HWND parent, int left, int top, int width, int height, int id) {
    return XPStyle::Create(parent, left, top, width, height, id);
}

void SetXPStyleDpi(HWND xpstyle, int dpi) {
    ::SendMessageW(xpstyle, kSetDpiMessage, static_cast<WPARAM>(dpi), 0);
}
