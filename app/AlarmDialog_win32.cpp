// The alarm dialog "알람": 알람 켜기, the hour as 환경설정 shows hours, the minute, the days.
#include "app/AlarmDialog_win32.h"

#include <string>
#include <utility>

#include "announce/TimerAlarm.h"
#include "app/DialogIds.h"
#include "base/KoreanTime.h"
#include "base/Settings.h"
#include "base/WideText_win32.h"
#include "app/ModelessDialog_win32.h"

namespace {

// an alarm that is off offers this time when it is switched on
constexpr std::int32_t kOfferedMinute = 7 * 60;

AlarmDialogHooks hooks; // its changed hook

void Load(HWND dialog) {
    for (int hour = 0; hour < 24; ++hour) {
        const std::wstring text = WidenUtf16(HourText(hour));
        SendDlgItemMessageW(dialog, IDC_ALARM_HOUR, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    for (int minute = 0; minute < 60; ++minute) {
        const std::wstring text = std::to_wstring(minute);
        SendDlgItemMessageW(dialog, IDC_ALARM_MINUTE, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(text.c_str()));
    }
    const bool on = Settings.AlarmClock != kAlarmOff;
    const std::int32_t shown = on ? Settings.AlarmClock : kOfferedMinute;
    CheckDlgButton(dialog, IDC_ALARM_ON, on ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageW(dialog, IDC_ALARM_HOUR, CB_SETCURSEL, static_cast<WPARAM>(shown / 60), 0);
    SendDlgItemMessageW(dialog, IDC_ALARM_MINUTE, CB_SETCURSEL, static_cast<WPARAM>(shown % 60), 0);
    CheckRadioButton(dialog, IDC_ALARM_EVERY_DAY, IDC_ALARM_WEEKDAYS,
                     Settings.AlarmClockDays == kAlarmWeekdays ? IDC_ALARM_WEEKDAYS : IDC_ALARM_EVERY_DAY);
}

void Save(HWND dialog) {
    const auto hour =
        static_cast<std::int32_t>(SendDlgItemMessageW(dialog, IDC_ALARM_HOUR, CB_GETCURSEL, 0, 0));
    const auto minute =
        static_cast<std::int32_t>(SendDlgItemMessageW(dialog, IDC_ALARM_MINUTE, CB_GETCURSEL, 0, 0));
    const bool on = IsDlgButtonChecked(dialog, IDC_ALARM_ON) == BST_CHECKED && hour >= 0 && minute >= 0;
    Settings.AlarmClock = on ? hour * 60 + minute : kAlarmOff;
    Settings.AlarmClockDays =
        IsDlgButtonChecked(dialog, IDC_ALARM_WEEKDAYS) == BST_CHECKED ? kAlarmWeekdays : kAlarmEveryDay;
    if (hooks.changed) hooks.changed();
}

INT_PTR CALLBACK AlarmDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        Load(dialog);
        return TRUE; // the focus goes to the first control, 알람 켜기
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) Save(dialog);
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) DestroyWindow(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

ModelessDialog alarmDialog(&AlarmDialogProc);

} // namespace

void ShowAlarmDialog(HINSTANCE instance, AlarmDialogHooks withHooks) {
    hooks = std::move(withHooks);
    alarmDialog.Show(instance, IDD_ALARM, std::move(hooks.closed));
}
