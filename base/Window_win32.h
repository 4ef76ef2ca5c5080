// One way to route a window's messages into a C++ object: the class registered once per module,
// `this` stored at WM_NCCREATE and every later message handed to Derived::HandleMessage.
//
// Derived provides `static constexpr const wchar_t* kClassName` and
// `LRESULT HandleMessage(UINT, WPARAM, LPARAM)`, and may hide `ConfigureClass` (extra class fields)
// and `DefaultProc` (the procedure for the messages that come before WM_NCCREATE).
#pragma once

#include <windows.h>

#include <memory>

struct WindowPlace {
    DWORD exStyle = 0;
    const wchar_t* caption = L"";
    DWORD style = 0;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
    HWND parent = nullptr;
    HMENU menuOrId = nullptr;
};

template <typename Derived> class Window {
  public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND window() const { return window_; }

  protected:
    Window() = default;
    ~Window() = default;

    static void ConfigureClass(WNDCLASSEXW&) {}
    static LRESULT DefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    // Creates the window for an object its caller keeps alive for the window's whole life.
    static HWND CreateFor(Derived& object, HINSTANCE instance, const WindowPlace& place) {
        return MakeWindow(&object, nullptr, instance, place);
    }

    // Creates the window and hands `object` over to it: the window destroys the object after its
    // last message, WM_NCDESTROY. When the window cannot be made the object is destroyed at once.
    static HWND CreateOwned(std::unique_ptr<Derived> object, HINSTANCE instance, const WindowPlace& place) {
        Derived* self = object.get();
        return MakeWindow(self, &object, instance, place);
    }

    HWND window_ = nullptr;

  private:
    struct CreateParams {
        Derived* self;
        std::unique_ptr<Derived>* owner;
    };

    static HWND MakeWindow(Derived* self, std::unique_ptr<Derived>* owner, HINSTANCE instance,
                           const WindowPlace& place) {
        if (!RegisterOnce(instance)) return nullptr;
        CreateParams params{self, owner};
        return ::CreateWindowExW(place.exStyle, Derived::kClassName, place.caption, place.style, place.x,
                                 place.y, place.width, place.height, place.parent, place.menuOrId, instance,
                                 &params);
    }

    static bool RegisterOnce(HINSTANCE instance) {
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof(cls);
        if (::GetClassInfoExW(instance, Derived::kClassName, &cls)) return true;
        cls = WNDCLASSEXW{};
        cls.cbSize = sizeof(cls);
        cls.lpfnWndProc = &Window::WindowProc;
        cls.hInstance = instance;
        cls.lpszClassName = Derived::kClassName;
        Derived::ConfigureClass(cls);
        return ::RegisterClassExW(&cls) != 0;
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        Derived* self = nullptr;
        if (message == WM_NCCREATE) {
            const auto* params =
                static_cast<const CreateParams*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self = params->self;
            self->window_ = window;
            // from here on the window owns the object, also if its creation fails later on
            if (params->owner) self->selfOwner_ = std::move(*params->owner);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Derived*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        }
        if (!self) return Derived::DefaultProc(window, message, wParam, lParam);
        if (message != WM_NCDESTROY) return self->HandleMessage(message, wParam, lParam);

        const LRESULT result = self->HandleMessage(message, wParam, lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        // destroys a window-owned object as this function returns; nothing touches it afterwards
        const std::unique_ptr<Derived> last = std::move(self->selfOwner_);
        return result;
    }

    std::unique_ptr<Derived> selfOwner_; // set when the window owns the object
};
