// Times and dates in Korean words, as the tray icon's tooltip and the settings dialog show them.
#include "base/KoreanTime.h"

#include <gtest/gtest.h>

TEST(KoreanTime, DateAndTimeOfTheTooltip) {
    struct Case {
        ClockTime time;
        std::u16string_view text;
    };
    for (const Case& c : {Case{{15, 43, 12, 2026, 12, 7}, u"2026년 12월 7일 월요일\n오후 3:43"},
                          Case{{0, 0, 0, 2027, 1, 1}, u"2027년 1월 1일 금요일\n오전 12:00"},
                          Case{{12, 0, 0, 2026, 6, 21}, u"2026년 6월 21일 일요일\n오후 12:00"},
                          Case{{23, 59, 59, 2026, 12, 31}, u"2026년 12월 31일 목요일\n오후 11:59"},
                          Case{{9, 5, 0, 2028, 2, 29}, u"2028년 2월 29일 화요일\n오전 9:05"},
                          Case{{1, 30, 0, 2000, 3, 1}, u"2000년 3월 1일 수요일\n오전 1:30"}})
        EXPECT_EQ(DateTimeText(c.time), c.text);
}

TEST(KoreanTime, HoursOfTheDay) {
    EXPECT_EQ(HourText(0), u"오전 12시");
    EXPECT_EQ(HourText(7), u"오전 7시");
    EXPECT_EQ(HourText(12), u"오후 12시");
    EXPECT_EQ(HourText(23), u"오후 11시");
}
