// A modeless dialog of one kind, opened from the tray: at most one instance, brought forward when
// asked for again, told once when it closes however that came about, its Tab, Enter, Escape and
// access keys handled in the message loop, and closed when the clock ends.
#pragma once

#include <windows.h>

#include <functional>

class ModelessDialog {
  public:
    // `proc` handles the kind's messages; its closing is this class's.
    explicit ModelessDialog(DLGPROC proc);
    ~ModelessDialog();
    ModelessDialog(const ModelessDialog&) = delete;
    ModelessDialog& operator=(const ModelessDialog&) = delete;

    // Creates the dialog from its template, with the program's icon, unless it is open; either
    // way shows it and brings it forward. `closed` takes the place of an open dialog's hook.
    void Show(HINSTANCE instance, int templateId, std::function<void()> closed);

    // For the message loop: true when `msg` was a dialog-navigation message for an open dialog of
    // any kind and has been handled.
    static bool HandleAnyMessage(MSG* msg);
    // Closes every open one, as the clock ends.
    static void CloseAll();

  private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    DLGPROC proc_;
    HWND window_ = nullptr;
    std::function<void()> closed_;
};
