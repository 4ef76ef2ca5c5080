// The tray callback in both layouts the shell may send it in, to what the clock does.
#include "app/TrayCallback.h"

#include <gtest/gtest.h>

namespace {

constexpr unsigned kId = 1, kMouseMove = 0x0200, kRightDown = 0x0204;

// The fourth layout: the anchor in wParam, the event and the icon id in lParam.
std::uintptr_t Anchor(int x, int y) {
    return static_cast<std::uint16_t>(x) | static_cast<std::uintptr_t>(static_cast<std::uint16_t>(y)) << 16;
}
std::intptr_t EventAndId(unsigned event, unsigned id) {
    return static_cast<std::intptr_t>(event | id << 16);
}

TEST(TrayCallback, BothLayoutsToWhatTheClockDoes) {
    struct Case {
        bool version4;
        std::uintptr_t wParam;
        std::intptr_t lParam;
        unsigned previous;
        TrayCallback expected;
    };
    const TrayCallback speak{kTrayKeySelect, TrayAction::SpeakNow};
    const Case cases[] = {
        // the fourth layout: Enter or Space and the double-click speak, the menu key opens the menu
        {true, Anchor(790, 590), EventAndId(kTrayKeySelect, kId), 0, speak},
        {true,
         Anchor(790, 590),
         EventAndId(kTrayLeftDoubleClick, kId),
         0,
         {kTrayLeftDoubleClick, TrayAction::SpeakNow}},
        {true,
         Anchor(790, 590),
         EventAndId(kTrayContextMenu, kId),
         kTraySelect,
         {kTrayContextMenu, TrayAction::OpenMenu, true, 790, 590, true}},
        // after the right button's release it is the mouse's menu; the release alone opens none
        {true,
         Anchor(790, 590),
         EventAndId(kTrayContextMenu, kId),
         kTrayRightButtonUp,
         {kTrayContextMenu, TrayAction::OpenMenu, true, 790, 590, false}},
        {true, Anchor(790, 590), EventAndId(kTrayRightButtonUp, kId), kRightDown, {kTrayRightButtonUp}},
        // a monitor left of and above the main one
        {true,
         Anchor(-1200, -5),
         EventAndId(kTrayContextMenu, kId),
         0,
         {kTrayContextMenu, TrayAction::OpenMenu, true, -1200, -5, true}},
        {true, Anchor(1, 1), EventAndId(kTraySelect, kId), 0, {kTraySelect}},
        {true, Anchor(1, 1), EventAndId(kMouseMove, kId), 0, {kMouseMove}},
        {true, Anchor(1, 1), EventAndId(kTrayKeySelect, 2), 0, {kTrayKeySelect}}, // another icon
        // the first layout: the id in wParam, the event in lParam; the release opens the menu at the cursor
        {false, kId, kTrayRightButtonUp, 0, {kTrayRightButtonUp, TrayAction::OpenMenu}},
        {false, kId, kTrayLeftDoubleClick, 0, {kTrayLeftDoubleClick, TrayAction::SpeakNow}},
        {false, kId, kTrayContextMenu, kTrayRightButtonUp, {kTrayContextMenu}},
        {false, kId, kRightDown, 0, {kRightDown}},
        {false, 2, kTrayRightButtonUp, 0, {kTrayRightButtonUp}},
    };
    for (const Case& c : cases) {
        const TrayCallback got = DecodeTrayCallback(c.version4, c.wParam, c.lParam, kId, c.previous);
        EXPECT_EQ(got, c.expected) << "version4 " << c.version4 << ", lParam 0x" << std::hex << c.lParam
                                   << ", wParam 0x" << c.wParam;
    }
}

} // namespace
