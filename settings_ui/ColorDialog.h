// Which kind of system colour dialog a caller asks for, as the flags of the dialog record.
#pragma once

#include <cstdint>

inline constexpr std::uint32_t kCcRgbInit = 0x001;         // start on the caller's colour
inline constexpr std::uint32_t kCcFullOpen = 0x002;        // custom-colour panel expanded
inline constexpr std::uint32_t kCcPreventFullOpen = 0x004; // the expand button disabled
inline constexpr std::uint32_t kCcAnyColor = 0x100;

// What ShowColorDialog returns when the user cancels or the dialog fails. An accepted colour
// never equals it: its top byte is always zero.
inline constexpr std::int32_t kColorDialogCancelled = -1;

// Dialog type 1 opens with the custom colours expanded, 2 cannot expand them, anything else is
// the basic dialog; every type starts on the initial colour.
std::uint32_t ColorDialogFlags(std::int16_t dialogType);
