// Move-only owners for Win32 handles, so that no icon, bitmap, DC or key can outlive its scope.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

template <typename T, auto Close, T Invalid = T{}> class unique_any {
  public:
    unique_any() = default;
    explicit unique_any(T value) : value_(value) {}
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    unique_any(unique_any&& other) noexcept : value_(other.release()) {}
    unique_any& operator=(unique_any&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_any() { reset(); }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != Invalid; }
    T release() { return std::exchange(value_, Invalid); }
    void reset(T value = Invalid) {
        T old = std::exchange(value_, value);
        if (old != Invalid) Close(old);
    }
    // For out-parameters: frees the current value first.
    T* put() {
        reset();
        return &value_;
    }

  private:
    T value_ = Invalid;
};

namespace handles_detail {
inline void CloseKey(HKEY key) {
    ::RegCloseKey(key);
}
inline void ReleaseModule(HMODULE module) {
    ::FreeLibrary(module);
}
inline void FreeTaskMemory(PWSTR text) {
    ::CoTaskMemFree(text);
}
} // namespace handles_detail

using unique_hicon = unique_any<HICON, &::DestroyIcon>;
using unique_hbitmap = unique_any<HBITMAP, &::DeleteObject>;
using unique_hfont = unique_any<HFONT, &::DeleteObject>;
using unique_hdc = unique_any<HDC, &::DeleteDC>;
using unique_hkey = unique_any<HKEY, &handles_detail::CloseKey>;
using unique_hmodule = unique_any<HMODULE, &handles_detail::ReleaseModule>;
using unique_hmenu = unique_any<HMENU, &::DestroyMenu>;
using unique_handle = unique_any<HANDLE, &::CloseHandle>;
// text the shell allocated for the caller (SHGetKnownFolderPath)
using unique_cotaskmem_string = unique_any<PWSTR, &handles_detail::FreeTaskMemory>;
using unique_hpowernotify = unique_any<HPOWERNOTIFY, &::UnregisterPowerSettingNotification>;

// A DC from GetDC, given back with ReleaseDC.
class unique_hdc_window {
  public:
    explicit unique_hdc_window(HWND window) : window_(window), dc_(::GetDC(window)) {}
    unique_hdc_window(const unique_hdc_window&) = delete;
    unique_hdc_window& operator=(const unique_hdc_window&) = delete;
    ~unique_hdc_window() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC and selects the previous one back at the end of the scope.
class unique_select_object {
  public:
    unique_select_object(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    unique_select_object(const unique_select_object&) = delete;
    unique_select_object& operator=(const unique_select_object&) = delete;
    ~unique_select_object() { reset(); }
    void reset() {
        if (dc_ && old_) ::SelectObject(dc_, old_);
        dc_ = nullptr;
    }

  private:
    HDC dc_;
    HGDIOBJ old_;
};
