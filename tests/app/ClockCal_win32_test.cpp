// The real main window on a clock the test sets: the shell hears of the icon only when its
// picture changes and at once after a colour change; the hour's beeps run on Timer1; and while
// it speaks and beeps, whole and in order, the tray keeps showing every second.
#include "app/ClockCal_win32.h"

#include <gtest/gtest.h>

#include <wtsapi32.h>

#include <map>
#include <optional>
#include <tuple>
#include <vector>

#include "app/AppIds.h"
#include "render/ClockFace.h"
#include "support/Driver_win32.h"
#include "tests/announce/SoundTestUtil_win32.h"

namespace {

int modifies = 0, focusReturns = 0;
NOTIFYICONDATAW versionRecord{}; // as the shell was asked for the fourth layout

BOOL WINAPI CountingNotifyIcon(DWORD message, NOTIFYICONDATAW* record) {
    modifies += message == NIM_MODIFY;
    focusReturns += message == NIM_SETFOCUS;
    if (message == NIM_SETVERSION) versionRecord = *record;
    return Shell_NotifyIconW(message, record);
}

int Accepting() {
    return kAcceptsNotifications;
}

// Simulated time: the test moves it.
ClockTime now{};
ClockTime TestClock() {
    return now;
}

// Real time from a moment of the test's choosing: the clock reads `shiftedStart` (milliseconds of
// the day) at `realStart`.
double realStart = 0;
long long shiftedStart = 0;
ClockTime ShiftedClock() {
    const long long ms =
        (shiftedStart + static_cast<long long>((SecondsNow() - realStart) * 1000)) % 86400000;
    return {static_cast<int>(ms / 3600000),
            static_cast<int>(ms / 60000 % 60),
            static_cast<int>(ms / 1000 % 60),
            2026,
            12,
            7,
            static_cast<int>(ms % 1000)};
}

int SecondOfDay(const ClockTime& t) {
    return (t.hour * 60 + t.minute) * 60 + t.second;
}

// The sends to expect while the clock goes from `from` to `to`: one per changed picture. Two
// seconds can draw the same pixels (the second hand's end rounds to the same point).
int PictureChanges(const ClockTime& from, const ClockTime& to, const SettingsRecord& settings) {
    int changes = 0;
    Picture previous, face;
    for (int s = SecondOfDay(from); s <= SecondOfDay(to); ++s, previous = face) {
        DrawClockFace(face, {s / 3600 % 24, s / 60 % 60, s % 60}, settings);
        changes += s > SecondOfDay(from) && face != previous;
    }
    return changes;
}

class ClockCalTest : public testing::Test {
  protected:
    void SetUp() override {
        driver::DeleteStoredSettings();
        saved_ = Settings;
        modifies = 0;
    }
    void TearDown() override {
        if (clock_ && clock_->window()) SendMessageW(clock_->window(), WM_CLOSE, 0, 0);
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) { // the window's WM_QUIT
        }
        driver::DeleteStoredSettings();
        Settings = saved_;
    }

    // The clock on `readClock` with the settings the store gives, changed as the test says.
    void Start(ClockFunction readClock, SettingsRecord settings) {
        for (const auto& [key, text] : std::map<const wchar_t*, std::wstring>{
                 {L"Alarm", std::to_wstring(settings.Alarm)}, {L"Beep", settings.Beep ? L"1" : L"0"}})
            driver::StoreSetting(key, text.c_str());
        // a simulated time far from any mark until the test sets its own: a clock left at a mark by
        // the test before would speak as it starts
        realStart = SecondsNow();
        shiftedStart = SecondOfDay({12, 5, 0}) * 1000LL;
        clock_ = std::make_unique<ClockCal>(&CountingNotifyIcon, readClock, &Accepting);
        ASSERT_TRUE(clock_->Create(GetModuleHandleW(nullptr)));
    }

    // Simulated time: the wake of each second, handled as the message loop would.
    void RunSeconds(int seconds) {
        for (int s = 0; s < seconds; ++s) {
            const int next = SecondOfDay(now) + 1;
            now = {next / 3600 % 24, next / 60 % 60, next % 60};
            SendMessageW(clock_->window(), WM_TIMER, kWakeId, 0);
        }
    }

    // Real time for `seconds`, or until the tray shows the face of the time the clock reads: the
    // wakes (WM_TIMER) the clock handled.
    int Pump(double seconds, bool untilShown = false) {
        int wakes = 0;
        const RECT taskbar = driver::TaskbarRect();
        Picture face(TrayClockSize(), TrayClockSize());
        for (const double start = SecondsNow(); SecondsNow() - start < seconds;) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); DispatchMessageW(&msg))
                wakes += msg.message == WM_TIMER && msg.hwnd == clock_->window();
            DrawClockFace(face, ShiftedClock(), Settings);
            if (untilShown && driver::FindFace(driver::CaptureScreen(taskbar), taskbar.right - taskbar.left,
                                               taskbar.bottom - taskbar.top, face))
                break;
        }
        return wakes;
    }

    // Real time from `from` for `seconds`, recorded from the sound sink, while the tray is looked at
    // every few milliseconds: how long after each second's start its face first showed there. The
    // tests run on at least 400 ms past the end of their sound: room for the silence of underruns
    // and for the wake just after each second's start.
    struct Run {
        std::vector<std::int16_t> recording;
        std::map<int, double> shownAfter; // second of the day -> seconds after it began
    };
    Run RunRealTime(const ClockTime& from, double seconds) {
        Run run;
        const RECT taskbar = driver::TaskbarRect();
        const int width = taskbar.right - taskbar.left, height = taskbar.bottom - taskbar.top;
        const auto recording = RecordWhile("Monitor", seconds + 0.5, [&] {
            realStart = SecondsNow();
            shiftedStart = SecondOfDay(from) * 1000LL;
            while (SecondsNow() - realStart < seconds) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
                for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
                    DispatchMessageW(&msg);
                const ClockTime t = ShiftedClock();
                if (run.shownAfter.count(SecondOfDay(t))) continue;
                Picture face(TrayClockSize(), TrayClockSize());
                DrawClockFace(face, t, Settings);
                if (driver::FindFace(driver::CaptureScreen(taskbar), width, height, face))
                    run.shownAfter[SecondOfDay(t)] = t.millisecond / 1000.0;
            }
        });
        if (recording) run.recording = *recording;
        return run;
    }

    static int TrayClockSize() { return GetSystemMetrics(SM_CXSMICON); }

    SettingsRecord saved_;
    std::unique_ptr<ClockCal> clock_;
};

TEST_F(ClockCalTest, OneModifyPerChangedPicture) {
    now = {10, 7, 0};
    Start(&TestClock, DefaultSettings());
    EXPECT_EQ(modifies, 1) << "the first frame goes out at once";
    EXPECT_EQ(std::tuple(versionRecord.cbSize, versionRecord.uVersion, versionRecord.uFlags & NIF_SHOWTIP),
              std::tuple(DWORD{sizeof(NOTIFYICONDATAW)}, UINT{NOTIFYICON_VERSION_4}, UINT{NIF_SHOWTIP}));
    Settings.Alarm = 0; // no announcement

    // a minute: half of it with fixed colours, a colour change, then the rest with the new colours
    RunSeconds(1);
    int sent = modifies;
    ClockTime from = now;
    RunSeconds(30);
    EXPECT_EQ(modifies - sent, PictureChanges(from, now, Settings));
    sent = modifies;
    Settings.BGColor ^= 0x00FFFFFF;
    SendMessageW(clock_->window(), WM_TIMER, kWakeId, 0);
    EXPECT_EQ(modifies - sent, 1) << "the changed colour goes out at the next tick";
    sent = modifies;
    from = now;
    RunSeconds(29);
    EXPECT_EQ(modifies - sent, PictureChanges(from, now, Settings));
}

// The redraw at 14:00:00 arms two beeps: Timer1 runs at its own pace, ticks twice for the beeps
// and once more to stop itself.
TEST_F(ClockCalTest, HourBeepsRunOnTimer1ThenItStops) {
    now = {13, 59, 59};
    SettingsRecord settings = DefaultSettings();
    settings.Alarm = 0;
    settings.Beep = true;
    Start(&TestClock, settings);
    RunSeconds(1);
    std::vector<double> ticks;
    const double start = SecondsNow();
    while (ticks.size() < 3 && SecondsNow() - start < 4) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
            if (msg.message == WM_TIMER && msg.hwnd == clock_->window() && msg.wParam == kTimer1Id)
                ticks.push_back(SecondsNow() - start);
            DispatchMessageW(&msg);
        }
    }
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_GT(ticks[0], 0.7);
    EXPECT_GT(ticks[1] - ticks[0], 0.7);
    EXPECT_GT(ticks[2] - ticks[1], 0.7);
    EXPECT_FALSE(KillTimer(clock_->window(), kTimer1Id)) << "Timer1 still runs after the hour's beeps";
}

// Locked (the busy rule on), the clock wakes for nothing and sends the shell nothing, even for a
// mark; unlocked, it shows the current face at once.
TEST_F(ClockCalTest, AsleepWhileLockedThenTheCurrentFaceAtOnce) {
    Start(&ShiftedClock, DefaultSettings());
    realStart = SecondsNow();
    shiftedStart = SecondOfDay({10, 9, 58}) * 1000LL + 500;
    const int sent = modifies;
    PostMessageW(clock_->window(), WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 1);
    EXPECT_EQ(Pump(3), 0) << "wakes while locked";
    EXPECT_EQ(modifies, sent) << "shell updates while locked";
    PostMessageW(clock_->window(), WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 1);
    const double unlocked = SecondsNow();
    Pump(0.5, true);
    EXPECT_LT(SecondsNow() - unlocked, 0.1) << "the current face after the unlock";
}

// Each second's face is in the tray within 100 ms of the second's start, sound or no sound.
void ExpectEverySecondShown(const std::map<int, double>& shownAfter, int first, int last) {
    for (int s = first; s <= last; ++s) {
        ASSERT_TRUE(shownAfter.count(s)) << "second " << s % 60 << " never showed";
        EXPECT_LT(shownAfter.at(s), 0.1) << "second " << s % 60 << " showed late";
    }
}

TEST_F(ClockCalTest, AnnouncementWholeWhileTheTrayShowsEachSecond) {
    if (!HaveSoundDevice()) GTEST_SKIP() << "no sound device (no PulseAudio null sink in this environment)";
    Start(&ShiftedClock, DefaultSettings());
    const Run run = RunRealTime({15, 39, 59, 0, 0, 0, 500}, 4.2);
    ASSERT_GT(run.recording.size(), 16000u) << "the sink's monitor cannot be recorded here";
    ExpectClipsInOrder(run.recording, {120, 104, 117});
    ExpectEverySecondShown(run.shownAfter, SecondOfDay({15, 40, 0}), SecondOfDay({15, 40, 2}));
}

// On the hour with announcements on, the hour's beeps come after the announcement; with them off,
// at once. Each beep is a 500 Hz tone of 250 ms, 750 ms after the one before (its length without
// the silence of underruns).
TEST_F(ClockCalTest, BeepsAfterTheHoursAnnouncementOrAloneWhileTheTrayShowsEachSecond) {
    if (!HaveSoundDevice()) GTEST_SKIP() << "no sound device (no PulseAudio null sink in this environment)";
    for (std::int32_t alarm : {1, 0}) {
        SCOPED_TRACE(alarm);
        SettingsRecord settings = DefaultSettings();
        settings.Alarm = alarm;
        settings.Beep = true;
        Start(&ShiftedClock, settings);
        const Run run = RunRealTime({14, 59, 59, 0, 0, 0, 600}, alarm ? 6.6 : 4.0);
        ASSERT_GT(run.recording.size(), 16000u) << "the sink's monitor cannot be recorded here";
        // the beeps follow: all that sounds after the clips must be their three tones
        const ClipsFound spoken =
            alarm ? ExpectClipsInOrder(run.recording, {120, 104, 121}, 0, false) : ClipsFound{};
        const std::vector<std::int16_t> after(run.recording.begin() + static_cast<std::ptrdiff_t>(spoken.end),
                                              run.recording.end());
        Gaps gaps;
        const std::vector<Tone> tones = FindTones(after, gaps);
        PrintUnderruns(gaps);
        ASSERT_EQ(tones.size(), 3u);
        for (std::size_t i = 0; i < tones.size(); ++i) {
            EXPECT_NEAR(tones[i].length / 16.0, 250, 10) << "ms, beep " << i;
            EXPECT_NEAR(tones[i].crossings, 250, 4) << "beep " << i << " is not 500 Hz";
            if (i > 0) EXPECT_NEAR((tones[i].start - tones[i - 1].start) / 16.0, 750, 30) << "ms, beep " << i;
        }
        if (alarm)
            EXPECT_GT(tones[0].start + spoken.gaps.samples, 16000u * 7 / 10)
                << "the first beep comes 750 ms after the speech (without the silence of underruns)";
        ExpectEverySecondShown(run.shownAfter, SecondOfDay({15, 0, 0}), SecondOfDay({15, 0, alarm ? 4 : 2}));
        SendMessageW(clock_->window(), WM_CLOSE, 0, 0);
    }
}

std::optional<RECT> shownMenu; // found from inside the menu's modal loop, which Escape then ends
bool chooseFirst = false;      // or the first item (지금 시각 듣기) is chosen with Down and Enter
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (shownMenu || !menu || !IsWindowVisible(menu)) return;
    GetWindowRect(menu, &shownMenu.emplace());
    if (chooseFirst) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, chooseFirst ? VK_RETURN : VK_ESCAPE, 0);
}

// Enter and the menu key on the icon, sent the fourth layout's way: the time is said (a sound that
// yields is refused while one plays), the menu opens at the anchor, and the focus goes back to the
// icon when the menu is left empty or a command chosen.
TEST_F(ClockCalTest, EnterOnTheIconSpeaksAndTheMenuKeyOpensTheMenu) {
    if (!HaveSoundDevice()) GTEST_SKIP() << "no sound device (no PulseAudio null sink in this environment)";
    Start(&TestClock, DefaultSettings());
    const auto shell = [&](UINT event) {
        SendMessageW(clock_->window(), kTrayCallbackMessage, MAKEWPARAM(100, 120),
                     MAKELPARAM(event, kTrayIconId));
    };
    ASSERT_TRUE(PlaySoundW(nullptr, nullptr, SND_NOSTOP)) << "nothing plays yet";
    shell(NIN_KEYSELECT);
    EXPECT_FALSE(PlaySoundW(nullptr, nullptr, SND_NOSTOP)) << "Enter on the icon says the time";
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseMenu);
    shell(WM_CONTEXTMENU);
    ASSERT_TRUE(shownMenu);
    EXPECT_EQ(std::pair(shownMenu->left, shownMenu->top), std::pair(100L, 120L));
    EXPECT_EQ(focusReturns, 1);
    shownMenu.reset();
    chooseFirst = true;
    shell(WM_CONTEXTMENU);
    EXPECT_EQ(focusReturns, 2) << "and after a command chosen there";
    KillTimer(nullptr, timer);
}

} // namespace
