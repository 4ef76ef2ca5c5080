// One modeless dialog of a kind, opened from the tray: at most one instance, brought forward when
// asked for again, told once when it closes however that came about, and its Tab, Enter, Escape
// and access keys handled in the message loop.
#pragma once

#include <windows.h>

#include <functional>

class ModelessDialog {
  public:
    // Creates the dialog from its template, with the program's icon, unless it is open; either
    // way shows it and brings it forward. `closed` takes the place of an open dialog's hook.
    void Show(HINSTANCE instance, int templateId, DLGPROC proc, std::function<void()> closed);
    // Called from the dialog procedure at WM_DESTROY.
    void Destroyed();
    // Closes the dialog if it is open.
    void Close() const;
    // True when `msg` was a dialog-navigation message for the open dialog and has been handled.
    bool HandlesMessage(MSG* msg) const { return window_ && IsDialogMessageW(window_, msg); }

  private:
    HWND window_ = nullptr;
    std::function<void()> closed_;
};
