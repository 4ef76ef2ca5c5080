// The settings dialog's pure arithmetic: twips to pixels, list positions to settings, centring.
#include "settings_ui/FrmSettingLayout.h"

namespace {

// numerator / denominator (denominator > 0) rounded to the nearest whole number, halves to even
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

} // namespace

int PixelsFromTwips(int twips, int dpi) {
    // at 96 DPI this is twips / 15 exactly: the same ratio, so the same rounding
    return DivideRoundHalfEven(twips * dpi, kTwipsPerInch);
}

int ScaleToDpi(int length, int fromDpi, int toDpi) {
    return DivideRoundHalfEven(length * toDpi, fromDpi);
}

int IntervalIndexFromAlarm(std::int32_t alarm) {
    return alarm >= 0 && alarm < static_cast<std::int32_t>(kIntervalEntries.size()) ? static_cast<int>(alarm)
                                                                                    : -1;
}

ColorValue* ColorTargetSetting(SettingsRecord& settings, int index) {
    switch (index) {
    case 0:
        return &settings.BGColor;
    case 1:
        return &settings.TColor;
    case 2:
        return &settings.HColor;
    case 3:
        return &settings.MColor;
    case 4:
        return &settings.SColor;
    default:
        return nullptr;
    }
}

int CentredStart(int screen, int outer) {
    return DivideRoundHalfEven(screen - outer, 2);
}
