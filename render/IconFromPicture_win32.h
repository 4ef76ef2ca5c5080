// Turns a picture into an icon whose key-coloured pixels are transparent.
#pragma once

#include <windows.h>

#include "render/Picture.h"

// Passed as the key: use magenta 0x00FF00FF, the background of the clock picture.
inline constexpr LONG kDefaultIconKey = -1;

// Builds an icon the size of `picture`: pixels equal to `key` (a colour value; system colours
// are resolved now) become transparent, all others (black included) opaque in their own colour.
// Returns null when the system cannot build it. The caller owns the icon; nothing else is left
// behind.
HICON IconFromPicture(const Picture& picture, LONG key);
