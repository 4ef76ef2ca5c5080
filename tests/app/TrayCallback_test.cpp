// The tray callback in both layouts the shell may send it in, to what the clock does.
#include "app/TrayCallback.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(TrayCallback, BothLayoutsToWhatTheClockDoes) {
    // fourth layout: anchor x, y as two signed words in wParam (here -1200, -5: a monitor left of and
    // above the main one), event | icon id << 16 in lParam; first layout: id in wParam, event in lParam
    const std::uintptr_t at = 0xFFFBFB50;
    const auto v4 = [](unsigned event, unsigned id = 1) {
        return static_cast<std::intptr_t>(event | id << 16);
    };
    TrayCallback keyMenu{kTrayContextMenu, TrayAction::OpenMenu, true, -1200, -5, true}, mouseMenu = keyMenu;
    mouseMenu.fromKeyboard = false;
    const std::tuple<bool, std::uintptr_t, std::intptr_t, unsigned, TrayCallback> cases[] = {
        {true, at, v4(kTrayKeySelect), 0, {kTrayKeySelect, TrayAction::SpeakNow}},
        {true, at, v4(kTrayContextMenu), kTraySelect, keyMenu},
        {true, at, v4(kTrayContextMenu), kTrayRightButtonUp, mouseMenu},
        {true, at, v4(kTrayRightButtonUp), 0, {kTrayRightButtonUp}},
        {true, at, v4(kTrayKeySelect, 2), 0, {kTrayKeySelect}},
        {false, 1, kTrayRightButtonUp, 0, {kTrayRightButtonUp, TrayAction::OpenMenu}},
        {false, 1, kTrayLeftDoubleClick, 0, {kTrayLeftDoubleClick, TrayAction::SpeakNow}},
        {false, 2, kTrayRightButtonUp, 0, {kTrayRightButtonUp}}};
    for (const auto& [version4, wParam, lParam, previous, expected] : cases)
        EXPECT_EQ(DecodeTrayCallback(version4, wParam, lParam, 1, previous), expected)
            << version4 << " 0x" << std::hex << lParam << " after 0x" << previous;
}
