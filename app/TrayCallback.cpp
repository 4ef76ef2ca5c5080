// The tray callback's two layouts, decoded into what the clock does.
#include "app/TrayCallback.h"

namespace {

unsigned LowWord(std::uintmax_t value) {
    return static_cast<unsigned>(value & 0xFFFFu);
}

// A screen coordinate, negative on a monitor left of or above the main one.
int SignedWord(std::uintmax_t value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFFu));
}

} // namespace

TrayCallback DecodeTrayCallback(bool version4, std::uintptr_t wParam, std::intptr_t lParam, unsigned iconId,
                                unsigned previousEvent) {
    const auto bits = static_cast<std::uintmax_t>(static_cast<std::uintptr_t>(lParam));
    TrayCallback callback;
    callback.event = LowWord(bits);
    const unsigned id = version4 ? LowWord(bits >> 16) : static_cast<unsigned>(wParam);
    if (id != iconId) return callback;
    switch (callback.event) {
    case kTrayLeftDoubleClick:
    case kTrayKeySelect:
        callback.action = TrayAction::SpeakNow;
        break;
    case kTrayRightButtonUp:
        if (!version4) callback.action = TrayAction::OpenMenu;
        break;
    case kTrayContextMenu:
        if (!version4) break;
        callback.action = TrayAction::OpenMenu;
        callback.anchored = true;
        callback.x = SignedWord(wParam);
        callback.y = SignedWord(static_cast<std::uintmax_t>(wParam) >> 16);
        callback.fromKeyboard = previousEvent != kTrayRightButtonUp;
        break;
    default:
        break;
    }
    return callback;
}
