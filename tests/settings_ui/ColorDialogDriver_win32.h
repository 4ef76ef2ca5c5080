// Answers the system colour dialog from inside the thread that runs it: a thread timer fires in
// the dialog's own modal loop, finds the dialog and acts on it as a person would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace colordlg {

// Control ids of the system colour dialog.
inline constexpr int kRed = 706, kGreen = 707, kBlue = 708, kAddCustom = 712, kDefineCustom = 719;

inline BOOL CALLBACK FindColorDialog(HWND window, LPARAM param) {
    wchar_t cls[32] = {};
    ::GetClassNameW(window, cls, 32);
    if (std::wstring(cls) == L"#32770" && ::GetDlgItem(window, kRed) && ::IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

// The first visible colour dialog of this thread: a #32770 window with the red edit.
inline HWND Find() {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindColorDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Types a colour into the red, green and blue boxes, the way the dialog notices typing.
inline void TypeColor(HWND dialog, int red, int green, int blue) {
    const int ids[] = {kRed, kGreen, kBlue};
    const int values[] = {red, green, blue};
    for (int i = 0; i < 3; ++i) {
        HWND edit = ::GetDlgItem(dialog, ids[i]);
        ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(std::to_wstring(values[i]).c_str()));
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(ids[i], EN_UPDATE), reinterpret_cast<LPARAM>(edit));
    }
}

inline void Press(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// While alive, runs `act` once on the next colour dialog this thread shows.
class Driver {
  public:
    explicit Driver(std::function<void(HWND)> act) : act_(std::move(act)) {
        current_ = this;
        timer_ = ::SetTimer(nullptr, 0, 50, &Driver::Tick);
    }
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;
    ~Driver() {
        ::KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    bool Acted() const { return acted_; }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        Driver* self = current_;
        if (!self || self->acted_) return;
        if (HWND dialog = Find()) {
            self->acted_ = true;
            self->act_(dialog);
        }
    }
    static inline Driver* current_ = nullptr;
    std::function<void(HWND)> act_;
    UINT_PTR timer_ = 0;
    bool acted_ = false;
};

} // namespace colordlg
