// What the hot-key box's value does once the user leaves the box or closes the dialog.
#include "settings_ui/SpeakKeyChoice.h"

#include "base/Settings.h"

namespace {
// the hot-key control's modifier flags (HOTKEYF_SHIFT, HOTKEYF_CONTROL, HOTKEYF_ALT)
constexpr std::int32_t kShift = 0x01, kControl = 0x02, kAlt = 0x04;
} // namespace

SpeakKeyChoice ChooseSpeakKey(std::int32_t boxValue, bool cleared, std::int32_t held) {
    const std::int32_t virtualKey = boxValue & 0xFF;
    if (virtualKey == 0) return {cleared ? SpeakKeyStep::Remove : SpeakKeyStep::Keep, 0};
    // a key held for every program without both would take Ctrl+C, a plain letter or Alt+F4 from them all
    const std::int32_t modifiers = ((boxValue >> 8) & 0xFF) | kControl | kAlt;
    const std::int32_t key = modifiers << 8 | virtualKey;
    if (key == held || !IsHotKeyValue(key)) return {SpeakKeyStep::Keep, 0};
    return {SpeakKeyStep::Take, key};
}

std::u16string SpeakKeyText(std::int32_t key, std::u16string_view keyName) {
    const std::int32_t modifiers = (key >> 8) & 0xFF;
    std::u16string text;
    if (modifiers & kControl) text += u"Ctrl+";
    if (modifiers & kShift) text += u"Shift+";
    if (modifiers & kAlt) text += u"Alt+";
    return text.append(keyName);
}
