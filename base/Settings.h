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

// Reads Alarm, BGColor, TColor, SColor, MColor, HColor, ClockShape, Beep, in that order.
void LoadSettings(SettingStore& store, SettingsRecord& record);
// Writes Alarm, Beep, ClockShape, BGColor, TColor, HColor, MColor, SColor, in that order.
void SaveSettings(SettingStore& store, const SettingsRecord& record);
