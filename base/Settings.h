// The eight user settings: the process-wide record and its load/save over a key/value store.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Color.h"

struct SettingsRecord {
    std::int32_t Alarm = 0; // announcement interval: 0 off, 1/2/3 every 10/20/30 minutes, 4 hourly
    ColorValue BGColor = 0;
    ColorValue TColor = 0;
    ColorValue SColor = 0;
    ColorValue MColor = 0;
    ColorValue HColor = 0;
    bool ClockShape = false; // true: circular face
    bool Beep = false;       // beep the hour count on the hour
    // the hot key that says the time now, as the hot-key control gives it: virtual key in the low
    // byte, HOTKEYF_ modifier flags in the next; 0 for none
    std::int32_t SpeakKey = 0;
    bool QuietHours = false;         // no scheduled speech or beeps from QuietFrom:00 until QuietTo:00
    std::int32_t QuietFrom = 0;      // 0..23
    std::int32_t QuietTo = 0;        // 0..23
    bool QuietBusy = false;          // no scheduled speech or beeps while the user is busy (full screen...)
    std::int32_t Volume = 0;         // every sound's amplitude, in percent of the clips' own: 0..100
    std::int32_t AlarmClock = 0;     // the alarm's minute of the day, 0..1439; -1 when it is off
    std::int32_t AlarmClockDays = 0; // the alarm rings every day (0) or Monday to Friday only (1)
    bool operator==(const SettingsRecord&) const = default;
};

// The record every part of the program reads and the settings dialog edits in place. All zero
// until LoadSettings runs, so the very first frame is a black square.
extern SettingsRecord Settings;

inline constexpr std::string_view kSettingsApp = "Tockwen";
inline constexpr std::string_view kSettingsSection = "Setting";

// The store is addressed by application, section and key and holds texts.
class SettingStore {
  public:
    virtual ~SettingStore() = default;
    // The stored text, or defaultText when the key does not exist.
    virtual std::string ReadSetting(std::string_view app, std::string_view section, std::string_view key,
                                    std::string_view defaultText) = 0;
    virtual void WriteSetting(std::string_view app, std::string_view section, std::string_view key,
                              std::string_view text) = 0;
};

SettingsRecord DefaultSettings();

// Reads Alarm, BGColor, TColor, SColor, MColor, HColor, ClockShape, Beep, in that order, then
// SpeakKey, QuietHours, QuietFrom, QuietTo, QuietBusy, AlarmClock, AlarmClockDays and Volume.
void LoadSettings(SettingStore& store, SettingsRecord& record);
// Writes Alarm, Beep, ClockShape, BGColor, TColor, HColor, MColor, SColor, in that order, then
// SpeakKey, QuietHours, QuietFrom, QuietTo, QuietBusy, AlarmClock, AlarmClockDays and Volume.
void SaveSettings(SettingStore& store, const SettingsRecord& record);

// Whether `value` is something the hot-key control can hold: a virtual key (1..254) in the low
// byte, only the shift, control, alt and extended-key flags in the next, nothing above.
bool IsHotKeyValue(std::int32_t value);
