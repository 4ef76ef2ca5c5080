// The alarm dialog "알람": on or off, the hour and minute, every day or weekdays only. One
// modeless instance that writes AlarmClock and AlarmClockDays of Settings at 확인.
#pragma once

#include <windows.h>

#include <functional>

struct AlarmDialogHooks {
    std::function<void()> changed; // 확인 has written the alarm into Settings
    std::function<void()> closed;  // the dialog has closed, however that came about
};

// Shows the dialog, creating and loading it from Settings if it is not open; an open dialog is
// brought forward.
void ShowAlarmDialog(HINSTANCE instance, AlarmDialogHooks hooks);
