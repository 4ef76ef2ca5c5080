// What the hot-key box's value does once the user leaves the box or closes the dialog.
#pragma once

#include <cstdint>

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
// - A key always comes with Ctrl: one typed with Alt or Shift only, or with neither, gets Ctrl+Alt.
// - The key that is held already, or a value no hot key can have, changes nothing.
SpeakKeyChoice ChooseSpeakKey(std::int32_t boxValue, bool cleared, std::int32_t held);
