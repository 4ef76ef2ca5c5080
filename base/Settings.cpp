// The eight user settings: the process-wide record and its load/save over a key/value store.
#include "base/Settings.h"

#include "base/SettingText.h"

SettingsRecord Settings;

SettingsRecord DefaultSettings() {
    SettingsRecord d;
    d.Alarm = 1;
    d.BGColor = 0x00FFFFFF;
    d.TColor = 0;
    d.SColor = 0x00FF8000;
    d.MColor = 0x00009600;
    d.HColor = 0x000000FF;
    d.ClockShape = false;
    d.Beep = false;
    d.SpeakKey = 0;
    d.QuietHours = false;
    d.QuietFrom = 23;
    d.QuietTo = 7;
    d.QuietBusy = true;
    d.AlarmClock = -1;
    d.AlarmClockDays = 0;
    d.Volume = 100;
    return d;
}

namespace {

std::int32_t ReadNumber(SettingStore& store, std::string_view key, std::int32_t defaultValue) {
    const std::string defaultText = FormatSettingNumber(defaultValue);
    const std::string text = store.ReadSetting(kSettingsApp, kSettingsSection, key, defaultText);
    // a number too wide for 32 bits is a damaged value: take the default rather than a wrapped one
    return ParseSettingNumber(text).value_or(defaultValue);
}

// A whole hour of the day; anything else reads as the default.
std::int32_t ReadHour(SettingStore& store, std::string_view key, std::int32_t defaultValue) {
    const std::int32_t hour = ReadNumber(store, key, defaultValue);
    return hour >= 0 && hour <= 23 ? hour : defaultValue;
}

// A number from `lowest` to `highest`; anything else reads as the default.
std::int32_t ReadInRange(SettingStore& store, std::string_view key, std::int32_t defaultValue,
                         std::int32_t lowest, std::int32_t highest) {
    const std::int32_t value = ReadNumber(store, key, defaultValue);
    return value >= lowest && value <= highest ? value : defaultValue;
}

// 0..100 by the number rule; anything else reads as the default. Volume 0 silences the clock, so
// only a text with a 0 in it gives it: an empty or damaged one (which reads as 0) plays.
std::int32_t ReadVolume(SettingStore& store, std::int32_t defaultValue) {
    const std::string text =
        store.ReadSetting(kSettingsApp, kSettingsSection, "Volume", FormatSettingNumber(defaultValue));
    const std::optional<std::int32_t> volume = ParseSettingNumber(text);
    if (!volume || *volume < 0 || *volume > 100) return defaultValue;
    return *volume != 0 || text.find('0') != std::string::npos ? *volume : defaultValue;
}

ColorValue ReadColor(SettingStore& store, std::string_view key, ColorValue defaultValue) {
    return static_cast<ColorValue>(ReadNumber(store, key, static_cast<std::int32_t>(defaultValue)));
}

bool ReadFlag(SettingStore& store, std::string_view key, bool defaultValue) {
    return ParseSettingFlag(
        store.ReadSetting(kSettingsApp, kSettingsSection, key, FormatSettingFlag(defaultValue)));
}

void WriteNumber(SettingStore& store, std::string_view key, std::int32_t value) {
    store.WriteSetting(kSettingsApp, kSettingsSection, key, FormatSettingNumber(value));
}

void WriteColor(SettingStore& store, std::string_view key, ColorValue value) {
    WriteNumber(store, key, static_cast<std::int32_t>(value));
}

void WriteFlag(SettingStore& store, std::string_view key, bool value) {
    store.WriteSetting(kSettingsApp, kSettingsSection, key, FormatSettingFlag(value));
}

} // namespace

void LoadSettings(SettingStore& store, SettingsRecord& record) {
    const SettingsRecord d = DefaultSettings();
    record.Alarm = ReadNumber(store, "Alarm", d.Alarm);
    record.BGColor = ReadColor(store, "BGColor", d.BGColor);
    record.TColor = ReadColor(store, "TColor", d.TColor);
    record.SColor = ReadColor(store, "SColor", d.SColor);
    record.MColor = ReadColor(store, "MColor", d.MColor);
    record.HColor = ReadColor(store, "HColor", d.HColor);
    record.ClockShape = ReadFlag(store, "ClockShape", d.ClockShape);
    record.Beep = ReadFlag(store, "Beep", d.Beep);
    // a value that cannot be a hot key registers none
    record.SpeakKey = ReadNumber(store, "SpeakKey", d.SpeakKey);
    if (!IsHotKeyValue(record.SpeakKey)) record.SpeakKey = 0;
    record.QuietHours = ReadFlag(store, "QuietHours", d.QuietHours);
    record.QuietFrom = ReadHour(store, "QuietFrom", d.QuietFrom);
    record.QuietTo = ReadHour(store, "QuietTo", d.QuietTo);
    record.QuietBusy = ReadFlag(store, "QuietBusy", d.QuietBusy);
    record.AlarmClock = ReadInRange(store, "AlarmClock", d.AlarmClock, -1, 24 * 60 - 1);
    record.AlarmClockDays = ReadInRange(store, "AlarmClockDays", d.AlarmClockDays, 0, 1);
    record.Volume = ReadVolume(store, d.Volume);
}

void SaveSettings(SettingStore& store, const SettingsRecord& record) {
    WriteNumber(store, "Alarm", record.Alarm);
    WriteFlag(store, "Beep", record.Beep);
    WriteFlag(store, "ClockShape", record.ClockShape);
    WriteColor(store, "BGColor", record.BGColor);
    WriteColor(store, "TColor", record.TColor);
    WriteColor(store, "HColor", record.HColor);
    WriteColor(store, "MColor", record.MColor);
    WriteColor(store, "SColor", record.SColor);
    WriteNumber(store, "SpeakKey", record.SpeakKey);
    WriteFlag(store, "QuietHours", record.QuietHours);
    WriteNumber(store, "QuietFrom", record.QuietFrom);
    WriteNumber(store, "QuietTo", record.QuietTo);
    WriteFlag(store, "QuietBusy", record.QuietBusy);
    WriteNumber(store, "AlarmClock", record.AlarmClock);
    WriteNumber(store, "AlarmClockDays", record.AlarmClockDays);
    WriteNumber(store, "Volume", record.Volume);
}

bool IsHotKeyValue(std::int32_t value) {
    const std::int32_t key = value & 0xFF, modifiers = (value >> 8) & 0xFF;
    // HOTKEYF_SHIFT, HOTKEYF_CONTROL, HOTKEYF_ALT and HOTKEYF_EXT
    return value > 0 && value <= 0xFFFF && key >= 1 && key <= 254 && (modifiers & ~0x0F) == 0;
}
