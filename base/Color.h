// Colour values as the settings hold them, and how they become plain colours for drawing.
#pragma once

#include <cstdint>

// A colour value 0x00BBGGRR (red in the low byte); 0x800000nn names system colour nn.
using ColorValue = std::uint32_t;

// Turns a colour value into the plain 0x00BBGGRR it stands for at this moment; system colours
// (0x800000nn) need the platform, so the Win32 side passes its own resolver.
using ColorResolver = ColorValue (*)(ColorValue);

// Plain values as they are. Without a platform there is no system palette: any other value
// reads as black, which is also what a colour the platform cannot translate gives.
inline ColorValue ResolvePlainColor(ColorValue colour) {
    return (colour & 0xFF000000u) == 0 ? colour : 0;
}
