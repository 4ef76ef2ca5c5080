// Turns a picture into an icon whose key-coloured pixels are transparent.
#pragma once

#include <windows.h>

#include "base/Handles.h"
#include "render/Picture.h"

// Passed as the key: use magenta 0x00FF00FF, the background of the clock picture.
inline constexpr LONG kDefaultIconKey = -1;

// Builds an icon the size of `picture`: pixels equal to `key` (a colour value; system colours
// are resolved now) become transparent, all others (black included) opaque in their own colour.
// Returns an empty owner when the system cannot build it; nothing else is left behind.
unique_hicon IconFromPicture(const Picture& picture, LONG key);
