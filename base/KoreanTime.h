// Times and dates in Korean words, the same whatever the user's locale.
#pragma once

#include <string>
#include <string_view>

#include "base/ClockTime.h"

// "오전" (before noon) for hours 0..11, "오후" (after noon) for 12..23.
std::u16string_view HalfOfDayText(int hour);

// An hour of the day as a Korean reader says it: "오전 12시" for 0, "오후 11시" for 23.
std::u16string HourText(int hour);

// The day of the week of a date of the Gregorian calendar, 0 for Sunday to 6 for Saturday.
int DayOfWeek(int year, int month, int day);

// Two lines: the date with its weekday, then the time on a 12-hour dial with two-digit minutes:
// "2026년 12월 7일 월요일" and "오후 3:43".
std::u16string DateTimeText(const ClockTime& time);
