// What the hot-key box's value does when it is applied.
#include "settings_ui/SpeakKeyChoice.h"

#include <gtest/gtest.h>

TEST(SpeakKeyChoice, KeepRemoveOrTake) {
    constexpr std::int32_t ctrl = 0x200, alt = 0x400, shift = 0x100, old = ctrl | alt | 'O';
    const struct {
        std::int32_t box;
        bool cleared;
        std::int32_t held;
        SpeakKeyChoice expected;
    } rows[] = {{ctrl, false, old, {SpeakKeyStep::Keep, 0}}, // Ctrl alone
                {0, false, old, {SpeakKeyStep::Keep, 0}},    // reset by the first key of a combination
                {0, true, old, {SpeakKeyStep::Remove, 0}},   // Backspace or Delete
                {ctrl | 'T', true, old, {SpeakKeyStep::Take, ctrl | 'T'}},
                {'T', false, old, {SpeakKeyStep::Take, ctrl | alt | 'T'}},
                {alt | 'T', false, 0, {SpeakKeyStep::Take, ctrl | alt | 'T'}},
                {shift | 'T', false, 0, {SpeakKeyStep::Take, ctrl | alt | shift | 'T'}},
                {old, false, old, {SpeakKeyStep::Keep, 0}},
                {old, false, 0, {SpeakKeyStep::Take, old}}, // stored, but refused at start-up
                {ctrl | 0xFF, false, 0, {SpeakKeyStep::Keep, 0}}};
    for (const auto& row : rows)
        EXPECT_EQ(ChooseSpeakKey(row.box, row.cleared, row.held), row.expected) << std::hex << row.box;
}
