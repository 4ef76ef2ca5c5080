// The timer dialog "타이머": how many minutes, then 시작. One modeless instance.
#pragma once

#include <windows.h>

#include <functional>

struct TimerDialogHooks {
    std::function<void(int minutes)> start; // 시작 with a whole number from 1 to 999
    std::function<void()> closed;           // the dialog has closed, however that came about
};

// Shows the dialog, creating it if it is not open; an open dialog is brought forward.
void ShowTimerDialog(HINSTANCE instance, TimerDialogHooks hooks);
