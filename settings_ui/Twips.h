// Twips, the settings dialog's unit of design, in pixels at a window's DPI.
#pragma once

// Twips are 1440 to the inch whatever the screen: 15 to a pixel at 96 dots per inch, 10 at 144.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kDefaultDpi = 96;

// numerator / denominator (denominator > 0) rounded to the nearest whole number, halves to the
// even neighbour: the rounding of every length below.
int DivideRoundHalfEven(int numerator, int denominator);

// twips x dpi / 1440, rounded (520 twips -> 35 pixels at 96 DPI, 52 at 144).
int PixelsFromTwips(int twips, int dpi = kDefaultDpi);
// A length made for `fromDpi` (a font height, say) at `toDpi`, rounded the same way; negative
// lengths keep their sign, as font heights in character units do.
int ScaleToDpi(int length, int fromDpi, int toDpi);
