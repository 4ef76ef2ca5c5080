// The timer and the alarm of the real Tockwen.exe, heard from outside: a 1-minute timer set with
// keys through the menu and its dialog, and an alarm from the store, at their ends to the second.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <initializer_list>
#include <optional>
#include <vector>

#include "announce/Schedule.h"
#include "support/Driver_win32.h"
#include "tests/announce/SoundTestUtil_win32.h"

using namespace driver;

namespace {

class TimerAlarm : public testing::Test {
  protected:
    // The clock at local hour:minute, early enough in the minute that its second 0 and the next
    // minute's come while the test runs; nothing scheduled of its own.
    void StartAt(int hour, int minute, const wchar_t* alarmClock = nullptr) {
        DeleteStoredSettings();
        StoreSetting(L"Alarm", L"0");
        if (alarmClock) StoreSetting(L"AlarmClock", alarmClock);
        SYSTEMTIME utc;
        GetSystemTime(&utc);
        if (utc.wSecond > 40) Sleep((60 - utc.wSecond) * 1000 - utc.wMilliseconds + 100);
        ASSERT_TRUE(app_.Start(TockwenExePath(), LocalTimeZone(hour, minute, local_)));
    }
    void TearDown() override { DeleteStoredSettings(); }

    static void PressKeys(std::initializer_list<WORD> keys) {
        for (WORD key : keys) {
            INPUT press[2]{};
            press[0].type = press[1].type = INPUT_KEYBOARD;
            press[0].ki.wVk = press[1].ki.wVk = key;
            press[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, press, sizeof press[0]);
        }
    }

    // Sleeps until `seconds` of UTC's minute (and so of the clock's), in the next minute when passed.
    static void SleepUntilSecond(double seconds) {
        SYSTEMTIME utc;
        GetSystemTime(&utc);
        const double now = utc.wSecond + utc.wMilliseconds / 1000.0;
        Sleep(static_cast<DWORD>(((seconds > now ? 0 : 60) + seconds - now) * 1000));
    }

    // Where the first sound of `recording` starts, in seconds.
    static double FirstSound(const std::vector<std::int16_t>& recording) {
        std::size_t i = 0;
        while (i < recording.size() && std::abs(recording[i]) <= 1)
            ++i;
        return static_cast<double>(i) / 16000;
    }

    static std::vector<int> Said(int clip, int hour, int minute) {
        std::vector<int> clips{clip};
        for (int c : SpokenTime(hour, minute))
            clips.push_back(c);
        return clips;
    }

    ClockTime local_;
    TockwenProcess app_;
};

// Menu, M, 1, Enter: about 60 s later 타이머가 끝났습니다 joined to the time, then three beeps
// although the hour, 16, would give four.
TEST_F(TimerAlarm, AOneMinuteTimerSetByKeysIsHeardAtItsEnd) {
    if (!HaveSoundDevice()) GTEST_SKIP() << "no sound device (no PulseAudio null sink in this environment)";
    StartAt(16, 20);
    app_.TrayMouse(WM_CONTEXTMENU); // the menu key on the icon
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = app_.PopupMenu()) != nullptr; }));
    PostMessageW(menu, WM_KEYDOWN, 'M', 0);
    HWND dialog = app_.WaitForDialog(L"타이머");
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == dialog; }));
    PressKeys({'1', VK_RETURN});
    const double entered = SecondsNow();
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); })) << "시작 is the default button";
    Sleep(56000);
    double started = 0;
    const auto heard = RecordWhile(
        "Monitor", 13, [&] { started = SecondsNow(), Sleep(13000); }, true);
    ASSERT_TRUE(heard) << "the sink's monitor cannot be recorded here";
    const double end = started + FirstSound(*heard) - entered;
    std::printf("[ figure   ] the timer was heard %.2f s after Enter\n", end);
    EXPECT_GE(end, 58.0);
    EXPECT_LE(end, 63.0);
    const ClipsFound said = ExpectClipsInOrder(*heard, Said(kClipTimerEnded, 16, 21));
    const std::vector<std::int16_t> after(heard->begin() + static_cast<std::ptrdiff_t>(said.end),
                                          heard->end());
    Gaps gaps;
    const std::vector<Tone> tones = FindTones(after, gaps);
    ASSERT_EQ(tones.size(), 3u);
    for (std::size_t i = 1; i < tones.size(); ++i)
        EXPECT_NEAR((tones[i].start - tones[i - 1].start) / 16.0, 750, 30) << "ms, beep " << i;
}

// AlarmClock 07:00 in the store: 알람, and the time at 07:00:00, again at 07:01:00, where a
// double-click stops it at once without a word.
TEST_F(TimerAlarm, AnAlarmFromTheStoreRingsAtItsMinuteAndRepeats) {
    if (!HaveSoundDevice()) GTEST_SKIP() << "no sound device (no PulseAudio null sink in this environment)";
    StartAt(6, 59, L"420");
    SleepUntilSecond(59);
    double started = 0;
    const auto first = RecordWhile(
        "Monitor", 4.5, [&] { started = SecondsNow(), Sleep(4500); }, true);
    ASSERT_TRUE(first) << "the sink's monitor cannot be recorded here";
    ExpectClipsInOrder(*first, Said(kClipAlarm, 7, 0));
    const double late = FirstSound(*first) - 1;
    std::printf("[ figure   ] the alarm was heard %.3f s after its second 0\n", late);
    EXPECT_GE(late, -0.05) << "before second 0";
    EXPECT_LE(late, 0.3) << "s after second 0";

    SleepUntilSecond(59);
    const auto second = RecordWhile(
        "Monitor", 4.5,
        [&] {
            Sleep(1500);
            app_.TrayMouse(WM_LBUTTONDBLCLK);
            Sleep(3000);
        },
        true);
    ASSERT_TRUE(second);
    const double sounded = FirstSound(*second);
    EXPECT_GE(sounded - 1, -0.05);
    EXPECT_LE(sounded - 1, 0.3);
    // the repeat is cut short, and nothing is said in its place
    int loudAfter = 0;
    for (std::size_t i = static_cast<std::size_t>(16000 * 1.8); i < second->size(); ++i)
        loudAfter = std::max(loudAfter, std::abs(static_cast<int>((*second)[i])));
    EXPECT_LE(loudAfter, 1) << "sound after the double-click";
}

} // namespace
