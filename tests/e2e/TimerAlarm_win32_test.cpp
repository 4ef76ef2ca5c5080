// The timer and the alarm of the real Tockwen.exe, heard from outside: a 1-minute timer set with
// keys through the menu and its dialog, and an alarm from the store, at their ends to the second.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "announce/Schedule.h"
#include "support/Driver_win32.h"
#include "tests/announce/SoundTestUtil_win32.h"

using namespace driver;

namespace {

// Sleeps until `second` of UTC's minute (and so of the clock's), unless it is no later than `upTo`.
void SleepUntilSecond(double second, double upTo = 0) {
    SYSTEMTIME utc;
    GetSystemTime(&utc);
    const double now = utc.wSecond + utc.wMilliseconds / 1000.0;
    if (now > upTo) Sleep(static_cast<DWORD>(((second > now ? 0 : 60) + second - now) * 1000));
}

// Records the sink at once for `seconds`, doing `meanwhile`; `at` is when it began.
std::vector<std::int16_t> Record(double seconds, double& at, const std::function<void()>& meanwhile) {
    const auto heard = RecordWhile(
        "Monitor", seconds,
        [&] { at = SecondsNow(), meanwhile(), Sleep(DWORD((seconds + at - SecondsNow()) * 1000)); }, true);
    EXPECT_TRUE(heard) << "the sink's monitor cannot be recorded here";
    return heard.value_or(std::vector<std::int16_t>{});
}

// Where the first sound of `r` starts, in seconds.
double FirstSound(std::span<const std::int16_t> r) {
    return double(std::find_if(r.begin(), r.end(), [](auto x) { return std::abs(x) > 1; }) - r.begin()) /
           16000;
}

// What the clock says: `clip`, then the time as 지금 시각 듣기 says it.
std::vector<int> Said(int clip, int hour, int minute) {
    std::vector<int> said = SpokenTime(hour, minute);
    return said.insert(said.begin(), clip), said;
}

class TimerAlarm : public testing::Test {
  protected:
    // The clock at local hour:minute, no later than second 50, with nothing scheduled of its own.
    void StartAt(int hour, int minute, const wchar_t* alarmClock) {
        DeleteStoredSettings();
        StoreSetting(L"Alarm", L"0");
        StoreSetting(L"AlarmClock", alarmClock);
        SleepUntilSecond(0, 50);
        ClockTime local;
        ASSERT_TRUE(app_.Start(TockwenExePath(), LocalTimeZone(hour, minute, local)));
    }
    void TearDown() override { DeleteStoredSettings(); }

    TockwenProcess app_;
};

// Menu, M, 1, Enter: about 60 s later 타이머가 끝났습니다 joined to the time, then three beeps
// although the hour, 16, would give four.
TEST_F(TimerAlarm, AOneMinuteTimerSetByKeysIsHeardAtItsEnd) {
    if (!HaveSoundDevice()) GTEST_SKIP() << "no sound device (no PulseAudio null sink in this environment)";
    StartAt(16, 20, L"-1");
    app_.TrayMouse(WM_CONTEXTMENU); // the menu key on the icon
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = app_.PopupMenu()) != nullptr; }));
    PostMessageW(menu, WM_KEYDOWN, 'M', 0);
    HWND dialog = app_.WaitForDialog(L"타이머");
    ASSERT_TRUE(dialog && WaitFor([&] { return GetForegroundWindow() == dialog; }));
    INPUT keys[4]{};
    for (int i = 0; i < 4; ++i)
        keys[i] = {INPUT_KEYBOARD,
                   {.ki = {WORD(i < 2 ? '1' : VK_RETURN), 0, DWORD(i % 2 ? KEYEVENTF_KEYUP : 0)}}};
    SendInput(4, keys, sizeof keys[0]);
    const double entered = SecondsNow();
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); })) << "시작 is the default button";
    Sleep(56000);
    double started = 0;
    const std::vector<std::int16_t> heard = Record(13, started, [] {});
    const double end = started + FirstSound(heard) - entered;
    std::printf("[ figure   ] the timer was heard %.2f s after Enter\n", end);
    EXPECT_TRUE(end >= 58 && end <= 63) << end << " s after Enter";
    const std::size_t spoken = ExpectClipsInOrder(heard, Said(kClipTimerEnded, 16, 21), 0, false).end;
    Gaps gaps;
    const std::vector<Tone> tones = FindTones(std::span(heard).subspan(std::min(spoken, heard.size())), gaps);
    ASSERT_EQ(tones.size(), 3u);
    for (std::size_t i = 1; i < tones.size(); ++i)
        EXPECT_NEAR((tones[i].start - tones[i - 1].start) / 16.0, 750, 30) << "ms, beep " << i;
}

// AlarmClock 07:00 in the store: 알람, and the time at 07:00:00, again at 07:01:00, where a
// double-click 1.5 s after second 0 stops it at once without a word.
TEST_F(TimerAlarm, AnAlarmFromTheStoreRingsAtItsMinuteAndRepeats) {
    if (!HaveSoundDevice()) GTEST_SKIP() << "no sound device (no PulseAudio null sink in this environment)";
    StartAt(6, 59, L"420");
    for (int ring = 0; ring < 2; ++ring) {
        SleepUntilSecond(59);
        SYSTEMTIME utc;
        GetSystemTime(&utc);
        // the wall clock against the counter the recording is timed with: this test's own wake may
        // come late, the clock's sound must not
        const double wallLessCounter = utc.wSecond + utc.wMilliseconds / 1000.0 - SecondsNow();
        double started = 0;
        const std::vector<std::int16_t> heard =
            Record(4.5, started, [&] { ring && (Sleep(1500), app_.TrayMouse(WM_LBUTTONDBLCLK), true); });
        // from second 0, either way: the recording starts a little after it is asked for, so a
        // sound at second 0 can seem to come a few milliseconds before it
        const double fromSecond0 = std::remainder(started + FirstSound(heard) + wallLessCounter, 60.0);
        EXPECT_TRUE(fromSecond0 > -0.1 && fromSecond0 < 0.3)
            << fromSecond0 << " s from second 0, ring " << ring;
        if (ring == 0) ExpectClipsInOrder(heard, Said(kClipAlarm, 7, 0));
        const auto after = std::span(heard).subspan(std::min<std::size_t>(16000 * 1.8, heard.size()));
        if (ring == 1) EXPECT_EQ(FirstSound(after) * 16000, after.size()) << "sound after the double-click";
    }
}

} // namespace
