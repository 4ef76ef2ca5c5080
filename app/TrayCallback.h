// What a message from the notification area about the clock's icon asks of the clock, in either
// layout the shell may send it in.
#pragma once

#include <cstdint>

// The events the clock answers, as the shell numbers them (the window messages WM_RBUTTONUP,
// WM_LBUTTONDBLCLK, WM_CONTEXTMENU and the shell's NIN_SELECT, NIN_KEYSELECT).
inline constexpr unsigned kTrayRightButtonUp = 0x0205;
inline constexpr unsigned kTrayLeftDoubleClick = 0x0203;
inline constexpr unsigned kTrayContextMenu = 0x007B;
inline constexpr unsigned kTraySelect = 0x0400;
inline constexpr unsigned kTrayKeySelect = 0x0401;

enum class TrayAction { None, SpeakNow, OpenMenu };

struct TrayCallback {
    unsigned event = 0; // the event itself, for the next call's `previousEvent`
    TrayAction action = TrayAction::None;
    // Where the menu opens, in screen pixels; only the fourth layout carries it (anchored), the
    // first leaves it to the cursor.
    bool anchored = false;
    int x = 0, y = 0;
    // Opened from the keyboard (Shift+F10 or the Applications key): the focus goes back to the
    // icon when the menu is left with nothing chosen.
    bool fromKeyboard = false;
    bool operator==(const TrayCallback&) const = default;
};

// Decodes the callback's parameters for the icon `iconId`. The first layout has the icon id in
// wParam and the event in lParam, and opens the menu on the right button's release. The fourth
// (version4) has the event in the low word of lParam, the id in its high word and the anchor point
// in wParam as two signed 16-bit values; it opens the menu on WM_CONTEXTMENU only, which follows
// the right button's release for a mouse (`previousEvent`) and comes alone from the keyboard.
// Enter or Space on the icon (NIN_KEYSELECT) and the left double-click say the time.
TrayCallback DecodeTrayCallback(bool version4, std::uintptr_t wParam, std::intptr_t lParam, unsigned iconId,
                                unsigned previousEvent);
