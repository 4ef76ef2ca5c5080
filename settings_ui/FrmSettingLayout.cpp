// The settings dialog's pure arithmetic: list positions to settings, centring.
#include "settings_ui/FrmSettingLayout.h"

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
