// Times and dates in Korean words.
#include "base/KoreanTime.h"

#include <array>

namespace {

std::u16string Number(int value) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value > 0);
    return digits;
}

} // namespace

std::u16string_view HalfOfDayText(int hour) {
    return hour < 12 ? u"오전" : u"오후";
}

std::u16string HourText(int hour) {
    return std::u16string(HalfOfDayText(hour)) + u' ' + Number(TwelveHourDial(hour)) + u'시';
}

int DayOfWeek(int year, int month, int day) {
    // Sakamoto's method: January and February count with the year before
    static constexpr std::array<int, 12> kMonthOffsets{0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) --year;
    return (year + year / 4 - year / 100 + year / 400 + kMonthOffsets[static_cast<unsigned>(month - 1) % 12] +
            day) %
           7;
}

std::u16string DateTimeText(const ClockTime& time) {
    static constexpr std::array<std::u16string_view, 7> kWeekdays{u"일요일", u"월요일", u"화요일", u"수요일",
                                                                  u"목요일", u"금요일", u"토요일"};
    std::u16string text =
        Number(time.year) + u"년 " + Number(time.month) + u"월 " + Number(time.day) + u"일 ";
    text += kWeekdays[static_cast<unsigned>(DayOfWeek(time.year, time.month, time.day))];
    text += u'\n';
    text += HalfOfDayText(time.hour);
    text += u' ' + Number(TwelveHourDial(time.hour)) + u':';
    text += static_cast<char16_t>(u'0' + time.minute / 10);
    text += static_cast<char16_t>(u'0' + time.minute % 10);
    return text;
}
