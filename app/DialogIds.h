/* The timer's and the alarm's dialog templates and their controls, shared by resources/dialogs.rc
   and the dialogs' code: plain numbers the resource compiler reads too. */
#pragma once

#define IDD_TIMER 200
#define IDC_TIMER_MINUTES 201

#define IDD_ALARM 210
#define IDC_ALARM_ON 211
#define IDC_ALARM_HOUR 212
#define IDC_ALARM_MINUTE 213
#define IDC_ALARM_EVERY_DAY 214
#define IDC_ALARM_WEEKDAYS 215
