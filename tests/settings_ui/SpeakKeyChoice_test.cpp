// What the hot-key box's value does when it is applied.
#include "settings_ui/SpeakKeyChoice.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(SpeakKeyChoice, KeepRemoveOrTake) {
    using enum SpeakKeyStep;
    constexpr std::int32_t ctrl = 0x200, alt = 0x400, shift = 0x100, old = ctrl | alt | 'O';
    // the box's value, cleared on purpose, the key held; what is done
    const std::tuple<std::int32_t, bool, std::int32_t, SpeakKeyChoice> rows[] = {
        {ctrl, false, old, {Keep, 0}},
        {0, false, old, {Keep, 0}},
        {0, true, old, {Remove, 0}},
        {ctrl | 'T', true, old, {Take, ctrl | alt | 'T'}},
        {ctrl | 'C', false, old, {Take, ctrl | alt | 'C'}}, // Ctrl+C stays every program's copy
        {'T', false, old, {Take, ctrl | alt | 'T'}},
        {alt | 'T', false, 0, {Take, ctrl | alt | 'T'}},
        {shift | 'T', false, 0, {Take, ctrl | alt | shift | 'T'}},
        {old, false, old, {Keep, 0}},
        {old, false, 0, {Take, old}}};
    for (const auto& [box, cleared, held, expected] : rows)
        EXPECT_EQ(ChooseSpeakKey(box, cleared, held), expected) << std::hex << box << " " << held;
    EXPECT_EQ(SpeakKeyText(ctrl | alt | shift | 'C', u"C"), u"Ctrl+Shift+Alt+C");
}
