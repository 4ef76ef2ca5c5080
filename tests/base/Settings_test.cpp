// Loading and saving the record: key orders, defaults and damaged values, against a recording store.
#include "base/Settings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace {

class FakeStore : public SettingStore {
  public:
    std::map<std::string, std::string> values;
    std::vector<std::string> reads, writes;

    std::string ReadSetting(std::string_view app, std::string_view section, std::string_view key,
                            std::string_view defaultText) override {
        EXPECT_EQ(app, "Tockwen");
        EXPECT_EQ(section, "Setting");
        reads.emplace_back(key);
        auto it = values.find(std::string(key));
        return it == values.end() ? std::string(defaultText) : it->second;
    }
    void WriteSetting(std::string_view app, std::string_view section, std::string_view key,
                      std::string_view text) override {
        EXPECT_EQ(app, "Tockwen");
        EXPECT_EQ(section, "Setting");
        writes.emplace_back(std::string(key) + "=" + std::string(text));
        values[std::string(key)] = text;
    }
};

TEST(Settings, ZeroBeforeLoading) {
    EXPECT_EQ(SettingsRecord{}, (SettingsRecord{0, 0, 0, 0, 0, 0, false, false}));
}

TEST(Settings, FirstRunGetsDefaultsAndSavesThemInWriteOrder) {
    FakeStore store;
    SettingsRecord record;
    LoadSettings(store, record);
    EXPECT_EQ(store.reads,
              (std::vector<std::string>{"Alarm", "BGColor", "TColor", "SColor", "MColor", "HColor",
                                        "ClockShape", "Beep", "SpeakKey", "QuietHours", "QuietFrom",
                                        "QuietTo", "QuietBusy", "AlarmClock", "AlarmClockDays", "Volume"}));
    EXPECT_TRUE(store.writes.empty()) << "loading must never write the store";
    EXPECT_EQ(record, DefaultSettings());
    EXPECT_EQ(record.Alarm, 1);
    EXPECT_EQ(record.BGColor, 16777215u);
    EXPECT_EQ(record.SColor, 16744448u);
    EXPECT_EQ(record.MColor, 38400u);
    EXPECT_EQ(record.HColor, 255u);

    SaveSettings(store, record);
    store.writes.pop_back(); // the volume, written last and read back in SaveWritesCurrentValues...
    EXPECT_EQ(store.writes,
              (std::vector<std::string>{"Alarm=1", "Beep=0", "ClockShape=0", "BGColor=16777215", "TColor=0",
                                        "HColor=255", "MColor=38400", "SColor=16744448", "SpeakKey=0",
                                        "QuietHours=0", "QuietFrom=23", "QuietTo=7", "QuietBusy=1",
                                        "AlarmClock=-1", "AlarmClockDays=0"}));
}

// The hot key and the quiet hours: numbers by the number rule, then held to what they can be.
TEST(Settings, HotKeyAndQuietHoursOutsideTheirRangeReadAsDefaults) {
    struct Case {
        const char *speakKey, *from;
        std::int32_t expectedKey, expectedFrom;
    };
    for (const Case& c : {Case{"1604", "0", 0x0644, 0}, Case{" 1604.4 ", "23", 0x0644, 23},
                          Case{"65", "22.5", 65, 22}, Case{"0", "24", 0, 23}, Case{"-1604", "-1", 0, 23},
                          Case{"4096", "&H7", 0, 7}, Case{"255", "abc", 0, 0}, Case{"66116", "7e0", 0, 7}}) {
        FakeStore store;
        store.values = {{"SpeakKey", c.speakKey}, {"QuietFrom", c.from}};
        SettingsRecord record;
        LoadSettings(store, record);
        EXPECT_EQ(record.SpeakKey, c.expectedKey) << c.speakKey;
        EXPECT_EQ(record.QuietFrom, c.expectedFrom) << c.from;
    }
}

TEST(Settings, AlarmClockOutsideItsRangeReadsAsOffEveryDay) {
    for (const auto& [clock, days, expectedClock, expectedDays] :
         {std::tuple{"1439", "1", 1439, 1}, {"1440", "2", -1, 0}, {"-2", "-1", -1, 0}, {"0", "0", 0, 0}}) {
        FakeStore store;
        store.values = {{"AlarmClock", clock}, {"AlarmClockDays", days}};
        SettingsRecord record;
        LoadSettings(store, record);
        EXPECT_EQ(std::pair(record.AlarmClock, record.AlarmClockDays),
                  std::pair(expectedClock, expectedDays));
    }
}

TEST(Settings, StoredTextsAreReadAsTheyStand) {
    FakeStore store;
    store.values = {{"Alarm", " 3 "},          {"BGColor", "16 777 215"}, {"TColor", ""},
                    {"SColor", "-2147483640"}, {"MColor", "abc"},         {"HColor", "&HFF"},
                    {"ClockShape", "1"},       {"Beep", "true"}};
    SettingsRecord record;
    LoadSettings(store, record);
    EXPECT_EQ(record.Alarm, 3);
    EXPECT_EQ(record.BGColor, 16777215u);
    EXPECT_EQ(record.TColor, 0u) << "an empty text is black, not the default";
    EXPECT_EQ(record.SColor, 0x80000008u) << "system colour survives the signed text form";
    EXPECT_EQ(record.MColor, 0u);
    EXPECT_EQ(record.HColor, 255u);
    EXPECT_TRUE(record.ClockShape);
    EXPECT_FALSE(record.Beep);

    store.writes.clear();
    SaveSettings(store, record);
    EXPECT_EQ(store.values["Beep"], "0") << "a damaged flag is written back clean";
    EXPECT_EQ(store.values["SColor"], "-2147483640");
    EXPECT_EQ(store.values["BGColor"], "16777215");
}

TEST(Settings, AlarmHalvesAndDamage) {
    struct Case {
        const char* text;
        std::int32_t alarm;
    } cases[] = {{"3.5", 4}, {"2.5", 2}, {"x3", 0}, {"-1", -1}, {"7", 7}, {"9999999999", 1}, {"1e20", 1}};
    for (const Case& c : cases) {
        FakeStore store;
        store.values["Alarm"] = c.text;
        SettingsRecord record;
        LoadSettings(store, record);
        EXPECT_EQ(record.Alarm, c.alarm) << c.text;
    }
}

TEST(Settings, ColourTooWideFallsBackToItsDefault) {
    FakeStore store;
    store.values = {{"BGColor", "4294967295"}, {"HColor", "&H1FFFFFFFF"}};
    SettingsRecord record;
    LoadSettings(store, record);
    EXPECT_EQ(record.BGColor, DefaultSettings().BGColor);
    EXPECT_EQ(record.HColor, DefaultSettings().HColor);
}

TEST(Settings, SaveWritesCurrentValuesWhateverTheirOrigin) {
    FakeStore store;
    SettingsRecord record{4, 0x123456, 0x80000008, 7, 8, 9, true, true, 0x0644, true, 22, 6, false};
    SaveSettings(store, record);
    store.writes.pop_back(); // the volume, written last and read back below
    EXPECT_EQ(store.writes,
              (std::vector<std::string>{"Alarm=4", "Beep=1", "ClockShape=1", "BGColor=1193046",
                                        "TColor=-2147483640", "HColor=9", "MColor=8", "SColor=7",
                                        "SpeakKey=1604", "QuietHours=1", "QuietFrom=22", "QuietTo=6",
                                        "QuietBusy=0", "AlarmClock=0", "AlarmClockDays=0"}));
    SettingsRecord back;
    LoadSettings(store, back);
    EXPECT_EQ(back, record);
}

} // namespace
