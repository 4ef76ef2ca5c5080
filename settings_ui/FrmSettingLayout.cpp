// The settings dialog's pure arithmetic: list positions and the slider to settings, centring.
#include "settings_ui/FrmSettingLayout.h"

#include <algorithm>
#include <iterator>

int IntervalIndexFromAlarm(std::int32_t alarm) {
    const auto* found = std::find(std::begin(kIntervalAlarms), std::end(kIntervalAlarms), alarm);
    return found == std::end(kIntervalAlarms) ? -1 : static_cast<int>(found - std::begin(kIntervalAlarms));
}

std::optional<std::int32_t> AlarmFromIntervalIndex(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kIntervalAlarms))) return std::nullopt;
    return kIntervalAlarms[static_cast<std::size_t>(index)];
}

std::int32_t VolumeFromSlider(int position) {
    return (std::clamp(position, 0, 100) + kVolumeStep / 2) / kVolumeStep * kVolumeStep;
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
