// The settings dialog's layout and how its lists map onto the settings.
#include "settings_ui/FrmSettingLayout.h"

#include <gtest/gtest.h>

#include <set>

TEST(FrmSettingLayout, EveryControlFitsTheClientAreaExceptWhereDesigned) {
    EXPECT_EQ(PixelsFromTwips(kClientWidthTwips), 205);
    EXPECT_EQ(PixelsFromTwips(kClientHeightTwips), 409);
    std::set<int> ids;
    for (const ControlPlace& c : kFrmSettingControls) {
        ids.insert(static_cast<int>(c.id));
        EXPECT_GE(c.left, 0);
        EXPECT_GE(c.top, 0);
        EXPECT_LE(c.top + c.height, kClientHeightTwips) << static_cast<int>(c.id);
        // the option "원형" and the beep box run past the right edge, as designed; nothing else does
        if (c.id != ControlId::Option1Circle && c.id != ControlId::Check1)
            EXPECT_LE(c.left + c.width, kClientWidthTwips) << static_cast<int>(c.id);
    }
    EXPECT_EQ(ids.size(), kFrmSettingControls.size()) << "control ids must be distinct";
    EXPECT_EQ(kFrmSettingControls.front().id, ControlId::XPStyle1) << "XPStyle1 must be created first";
}

TEST(FrmSettingLayout, KeyboardOrder) {
    // the controls that can take the focus, in the order Tab visits them
    std::vector<ControlId> order;
    for (const ControlPlace& c : kFrmSettingControls)
        if (c.kind != ControlKind::Label && c.kind != ControlKind::Preview && c.kind != ControlKind::XPStyle)
            order.push_back(c.id);
    // then the rows below the first ones, down the dialog
    EXPECT_EQ(order, (std::vector<ControlId>{ControlId::Combo1, ControlId::Check1, ControlId::Option1Square,
                                             ControlId::Option1Circle, ControlId::Combo2, ControlId::Command1,
                                             ControlId::Check2, ControlId::HotKey1, ControlId::Check3,
                                             ControlId::Combo3, ControlId::Combo4, ControlId::Check4,
                                             ControlId::Slider1}));
}

TEST(FrmSettingLayout, StoredAlarmToIntervalEntry) {
    for (const auto& [index, alarm] : {std::pair{0, 0}, {1, 5}, {2, 1}, {3, 6}, {4, 2}, {5, 3}, {6, 4}})
        EXPECT_TRUE(IntervalIndexFromAlarm(alarm) == index && AlarmFromIntervalIndex(index) == alarm);
    for (int alarm : {-1, 7, 100, -2147483647 - 1, 2147483647})
        EXPECT_EQ(IntervalIndexFromAlarm(alarm), -1) << alarm;
    EXPECT_EQ(kIntervalEntries[0], u"사용안함");
    EXPECT_EQ(kIntervalEntries[1], u"5분마다");
}

TEST(FrmSettingLayout, ColourTargetsInListOrder) {
    SettingsRecord s;
    EXPECT_EQ(ColorTargetSetting(s, 0), &s.BGColor);
    EXPECT_EQ(ColorTargetSetting(s, 1), &s.TColor);
    EXPECT_EQ(ColorTargetSetting(s, 2), &s.HColor);
    EXPECT_EQ(ColorTargetSetting(s, 3), &s.MColor);
    EXPECT_EQ(ColorTargetSetting(s, 4), &s.SColor);
    EXPECT_EQ(ColorTargetSetting(s, -1), nullptr);
    EXPECT_EQ(ColorTargetSetting(s, 5), nullptr);
    EXPECT_EQ(kColorTargetEntries[2], u"시침색");
    EXPECT_EQ(kColorTargetEntries[4], u"초침색");
}

TEST(FrmSettingLayout, CentredOnTheScreen) {
    EXPECT_EQ(CentredStart(800, 200), 300);
    EXPECT_EQ(CentredStart(800, 211), 294); // 294.5: halves to the even neighbour
    EXPECT_EQ(CentredStart(800, 213), 294); // 293.5
    EXPECT_EQ(CentredStart(1920, 211), 854);
    EXPECT_EQ(CentredStart(100, 300), -100); // a window wider than the screen starts off its left edge
}
