// Twips, the settings dialog's unit of design, in pixels at a window's DPI.
#include "settings_ui/Twips.h"

int DivideRoundHalfEven(int numerator, int denominator) {
    int quotient = numerator / denominator;
    int remainder = numerator % denominator;
    if (remainder < 0) {
        remainder += denominator;
        --quotient;
    }
    const int twice = 2 * remainder;
    if (twice > denominator || (twice == denominator && quotient % 2 != 0)) ++quotient;
    return quotient;
}

int PixelsFromTwips(int twips, int dpi) {
    // at 96 DPI this is twips / 15 exactly: the same ratio, so the same rounding
    return DivideRoundHalfEven(twips * dpi, kTwipsPerInch);
}

int ScaleToDpi(int length, int fromDpi, int toDpi) {
    return DivideRoundHalfEven(length * toDpi, fromDpi);
}
