// What the hot-key box's value does once the user leaves the box or closes the dialog.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

enum class SpeakKeyStep { Keep, Remove, Take };

struct SpeakKeyChoice {
    SpeakKeyStep step;
    std::int32_t key; // the key to register: 0 to remove it, the new key to take one
    bool operator==(const SpeakKeyChoice&) const = default;
};

// `boxValue` is the box's value (virtual key in the low byte, the hot-key control's modifier flags
// in the next); `cleared` says the user emptied the box with Backspace or Delete; `held` is the key
// the main window holds now (0 for none).
// - No key in the box (modifiers alone, or the box reset by a keystroke): the held key stays,
//   unless the user cleared the box on purpose, which removes it.
// - A key always comes with Ctrl and Alt, as in Windows' own shortcut-key field, Shift as typed:
//   no program needs such a key, while Ctrl+C or Alt+F alone would be taken from every program.
//   A key typed without one or both gets what is missing.
// - The key that is held already, or a value no hot key can have, changes nothing.
SpeakKeyChoice ChooseSpeakKey(std::int32_t boxValue, bool cleared, std::int32_t held);

// A hot-key value as a person reads it, "Ctrl+Alt+F1": its modifiers in the order the box shows
// them, then `keyName`, the system's name of its key.
std::u16string SpeakKeyText(std::int32_t key, std::u16string_view keyName);
