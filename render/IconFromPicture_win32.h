// Turns a picture into an icon whose key-coloured pixels are transparent.
#pragma once

#include <windows.h>

// Passed as the key: use magenta 0x00FF00FF, the background of the clock picture.
inline constexpr LONG kDefaultIconKey = -1;

// Builds an icon the size of `bitmap`: pixels equal to `key` become transparent, all others
// (black included) opaque in their own colour. `referenceDC` sets the colour format. Returns
// null, with nothing created, when the bitmap is null or cannot be described or the icon cannot
// be built. The caller owns the icon; every intermediate DC and bitmap is released here.
HICON IconFromPicture(HDC referenceDC, HBITMAP bitmap, LONG key);
