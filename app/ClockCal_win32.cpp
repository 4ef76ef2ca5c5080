// The hidden main window: owns the tray icon, the timers, the popup menu and the program's life.
#include "app/ClockCal_win32.h"

#include <wtsapi32.h>

#include "app/AlarmDialog_win32.h"
#include "app/AppIds.h"
#include "app/ModelessDialog_win32.h"
#include "app/RegistrySettingStore_win32.h"
#include "app/TimerDialog_win32.h"
#include "app/TrayMenu_win32.h"
#include "app/UserToken_win32.h"
#include "app/TrayIconSize_win32.h"
#include "app/Wake.h"
#include "base/Settings.h"
#include "base/WindowIcon_win32.h"
#include "settings_ui/FrmSetting_win32.h"

static_assert(kTrayRightButtonUp == WM_RBUTTONUP && kTrayLeftDoubleClick == WM_LBUTTONDBLCLK &&
              kTrayContextMenu == WM_CONTEXTMENU && kTraySelect == NIN_SELECT &&
              kTrayKeySelect == NIN_KEYSELECT);

namespace {

// The hot-key control's modifier flags (HOTKEYF_SHIFT 1, HOTKEYF_CONTROL 2, HOTKEYF_ALT 4) as
// RegisterHotKey takes them; held down, the key speaks once.
UINT HotKeyModifiers(std::int32_t hotKey) {
    const int flags = (hotKey >> 8) & 0xFF;
    return ((flags & 1) ? MOD_SHIFT : 0u) | ((flags & 2) ? MOD_CONTROL : 0u) | ((flags & 4) ? MOD_ALT : 0u) |
           MOD_NOREPEAT;
}

} // namespace

bool QueryHighContrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

bool ClockCal::Create(HINSTANCE instance) {
    instance_ = instance;
    // A hidden tool window: never shown, so it is in neither the taskbar nor Alt+Tab. It is a
    // top-level window rather than a message-only one so that it hears the shell's broadcasts.
    WindowPlace place;
    place.exStyle = WS_EX_TOOLWINDOW;
    place.caption = kMainWindowCaption;
    place.style = WS_OVERLAPPEDWINDOW | WS_MINIMIZE;
    place.width = 200;
    place.height = 100;
    if (!CreateFor(*this, instance, place)) return false;
    StartUp();
    return true;
}

LRESULT ClockCal::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        // Timer1 stays stopped until a beep sequence is armed; the wakes start with the first frame
        taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
        showSettings_ = RegisterWindowMessageW(kShowSettingsMessage);
        quit_ = RegisterWindowMessageW(kQuitMessage);
        {
            // Run elevated, this window would not hear a non-elevated shell's restart (its icon
            // would never come back), a second start or the installer closing it: UIPI filters
            // them. Not elevated, nothing is filtered and nothing below it need be let in.
            const UINT fromBelow[] = {taskbarCreated_, showSettings_, quit_};
            LetThroughFromBelow(window_, fromBelow, OpenOwnToken().get());
        }
        return 0;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    case WM_WTSSESSION_CHANGE:
        OnSessionChange(wParam);
        return 0;
    case WM_POWERBROADCAST:
        if (wParam == PBT_POWERSETTINGCHANGE && lParam) {
            if (const auto on = DisplayOn(*reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam)))
                SetSeen(locked_, *on, disconnected_);
        } else if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) {
            // the clock went on while the machine slept; waking, the display counts as on, so that
            // a display notice lost over the sleep cannot leave the face frozen
            displayOn_ = true;
            OnWake();
        }
        return TRUE;
    case WM_TIMECHANGE:
        OnWake(); // the clock was set: the wake that was due is now early or late
        return 0;
    case kTrayCallbackMessage:
        OnTrayCallback(wParam, lParam);
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_HOTKEY:
        if (wParam == kSpeakHotKeyId) SpeakNow();
        return 0;
    case WM_CLOSE:
        Unload();
        DestroyWindow(window_);
        return 0;
    case WM_SYSCOLORCHANGE:
        // a high-contrast theme may have come or gone; the next tick draws the face in its colours
        highContrastOn_ = highContrast_();
        return 0;
    case WM_DPICHANGED:
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
        if (message == WM_SETTINGCHANGE && wParam == SPI_SETHIGHCONTRAST) highContrastOn_ = highContrast_();
        // the scaling may have changed: the next tick draws at the shell's new icon size
        UpdateIconSize();
        return DefWindowProcW(window_, message, wParam, lParam);
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // the session ends without WM_CLOSE: save now, or every change of this run is lost
        if (wParam) Unload();
        return 0;
    case WM_DESTROY:
        Unload();
        PostQuitMessage(0);
        return 0;
    default:
        if (message == taskbarCreated_ && taskbarCreated_ != 0) {
            // the shell restarted and forgot our icon: register it again (with the icon and the
            // tooltip still held) and send the next tick's picture whether or not it changed, at
            // the size the new shell shows icons
            if (!unloaded_) {
                tray_.Add();
                UpdateIconSize();
                trayClock_.Resend();
            }
            return 0;
        }
        if (message == showSettings_ && showSettings_ != 0) {
            if (!unloaded_) OnCommand(kCmdSetting);
            return 0;
        }
        if (message == quit_ && quit_ != 0) {
            // the installer or uninstaller closes the clock: as Exit answered Yes, unasked
            Unload();
            DestroyWindow(window_);
            return 0;
        }
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void ClockCal::StartUp() {
    SetWindowIcon(window_, L"AAA", true);
    // the user's clock from the first frame on
    RegistrySettingStore store;
    LoadSettings(store, Settings);
    settingsLoaded_ = true;
    ApplySpeakKey(Settings.SpeakKey);
    highContrastOn_ = highContrast_();

    tray_.Init(window_, kTrayIconId, kTrayCallbackMessage);
    tray_.SetTip(readClock_(), announcer_.TimerMinutesLeft());
    tray_.Add();

    UpdateIconSize();
    locked_ = QuerySessionLocked();
    seenNotifications_.Register(window_);
    OnWake();

    ShowWindow(window_, SW_HIDE);
    // the window was created minimised and hidden; it is never shown
}

void ClockCal::OnTimer(UINT_PTR id) {
    switch (id) {
    case kWakeId:
        OnWake();
        break;
    case kTimer1Id:
        if (announcer_.OnBeepTick(Settings.Volume) == BeepSequence::Tick::StopTimer) {
            KillTimer(window_, kTimer1Id);
            ScheduleWake(); // what waited for the beeps goes ahead
        }
        break;
    default:
        break;
    }
}

// One wake, just after a second's start while the clock is seen, otherwise only when scheduled
// sound is due or what sounds has ended: the face for this second, the hour's beep check and the
// announcement poll, all at the time read once. A wake that comes late, or a clock that was set,
// draws the second it finds; a mark it finds in the first half of its minute still sounds, once.
void ClockCal::OnWake() {
    if (unloaded_) return;
    const ClockTime now = readClock_();
    if (Seen()) DrawClock(now);
    if (announcer_.HourBeepCheck(now, Settings)) StartBeepTimer();
    if (announcer_.Poll(now, Settings)) StartBeepTimer();
    ScheduleWake();
}

// One timer, set anew for the next wake from the clock as it now reads; none while the clock is
// not seen and nothing is due (by default a locked session wakes the clock not at all).
void ClockCal::ScheduleWake() {
    if (unloaded_) return;
    const ClockTime now = readClock_();
    const WakeState state{now, Seen(), locked_, announcer_.WaitingForSound(),
                          announcer_.ChimeDueInMs(now, Settings)};
    if (const std::optional<int> ms = NextWake(state, Settings)) {
        // A timer the system cannot make now must not stop the clock: a timer repeating every
        // second takes its place, and each of its wakes plans anew.
        if (!SetTimer(window_, kWakeId, static_cast<UINT>(*ms), nullptr))
            SetTimer(window_, kWakeId, kWakeRetryMs, nullptr);
    } else {
        KillTimer(window_, kWakeId);
    }
}

// The session was locked or unlocked, its client left or came back, or the display changed: once
// it is seen again the current face goes out at once, and the wakes go on every second.
void ClockCal::SetSeen(bool locked, bool displayOn, bool disconnected) {
    const bool wasSeen = Seen();
    locked_ = locked;
    displayOn_ = displayOn;
    disconnected_ = disconnected;
    if (Seen() && !wasSeen)
        OnWake();
    else
        ScheduleWake();
}

// An unlock or a client connecting again counts as a display that is on, so that a display notice
// missed meanwhile cannot leave the face frozen. A session whose client has gone is seen by no one.
void ClockCal::OnSessionChange(WPARAM change) {
    switch (change) {
    case WTS_SESSION_LOCK:
        SetSeen(true, displayOn_, disconnected_);
        break;
    case WTS_SESSION_UNLOCK:
        SetSeen(false, true, disconnected_);
        break;
    case WTS_REMOTE_DISCONNECT:
    case WTS_CONSOLE_DISCONNECT:
        SetSeen(locked_, displayOn_, true);
        break;
    case WTS_REMOTE_CONNECT:
    case WTS_CONSOLE_CONNECT:
        SetSeen(locked_, true, false);
        break;
    default:
        break;
    }
}

// Each wake draws the whole face; only a picture that differs from the one in the tray is built
// into an icon and sent. A new minute's tooltip goes with it (in the rare minute whose first
// picture does not differ, on its own).
void ClockCal::DrawClock(const ClockTime& now) {
    const bool newTip = tray_.SetTip(now, announcer_.TimerMinutesLeft());
    const bool newFace = trayClock_.Draw(now, Settings, highContrastOn_);
    if (newFace) tray_.SetIcon(trayClock_.BuildIcon());
    if (newFace || newTip) tray_.Modify();
}

// Only a real change of size makes the surfaces and the icon bitmap anew (TrayClock::SetSize).
void ClockCal::UpdateIconSize() {
    trayClock_.SetSize(TrayIconSize());
}

void ClockCal::StartBeepTimer() {
    // SetTimer on a running timer restarts its period: the first beep of a new sequence always
    // comes one full interval after arming
    SetTimer(window_, kTimer1Id, kTimer1Interval, nullptr);
}

void ClockCal::OnTrayCallback(WPARAM wParam, LPARAM lParam) {
    const TrayCallback callback =
        DecodeTrayCallback(tray_.Version4(), wParam, lParam, kTrayIconId, lastTrayEvent_);
    lastTrayEvent_ = callback.event;
    if (callback.action == TrayAction::SpeakNow) SpeakNow();
    if (callback.action == TrayAction::OpenMenu) ShowMenu(callback);
}

void ClockCal::ShowMenu(const TrayCallback& callback) {
    POINT at{callback.x, callback.y};
    if (!callback.anchored) GetCursorPos(&at);
    // 환경설정 and the timer's and the alarm's dialogs keep the focus (the two dialogs give it back
    // to the icon as they close). After any other command, or none, a keyboard user is put back on
    // the icon, where they were, once what it showed (도움말's box, 종료's question answered No) has
    // closed; not one who went elsewhere (a click on another window), who stays there.
    const UINT chosen = ShowTrayMenu(window_, at, {announcer_.TimerRunning(), announcer_.AlarmRinging()});
    const bool opensWindow =
        chosen == kCmdSetting || chosen == kCmdAlarm || (chosen == kCmdTimer && !announcer_.TimerRunning());
    if (chosen != 0) OnCommand(chosen, callback.fromKeyboard);
    if (callback.fromKeyboard && !opensWindow && !unloaded_ && GetForegroundWindow() == window_)
        tray_.Focus();
}

void ClockCal::OnCommand(UINT id, bool fromKeyboard) {
    // a dialog opened from a menu opened by keyboard puts the user back on the icon as it closes
    const auto closed = [this, fromKeyboard] {
        ScheduleWake();
        if (fromKeyboard && !unloaded_) tray_.Focus();
    };
    switch (id) {
    case kCmdSpeakNow: // the item says the time, also while the alarm rings
        if (!unloaded_) announcer_.SpeakNow(readClock_(), Settings.Volume);
        break;
    case kCmdStopAlarm:
        announcer_.StopAlarm();
        break;
    case kCmdTimer:
        if (announcer_.TimerRunning())
            announcer_.CancelTimer();
        else
            ShowTimerDialog(instance_, {[this](int minutes) { announcer_.StartTimer(minutes); }, closed});
        ScheduleWake();
        break;
    case kCmdAlarm:
        ShowAlarmDialog(instance_, {[this] { SaveToStore(); }, closed});
        break;
    case kCmdSetting:
        ShowFrmSetting(instance_, {[this](std::int32_t hotKey) { return ApplySpeakKey(hotKey); },
                                   [this] { return speakKey_; },
                                   [this] {
                                       // kept at once, not only at an orderly exit: a clock that is
                                       // killed or ended from outside loses nothing the user chose
                                       if (!unloaded_) SaveToStore();
                                   },
                                   highContrast_, [this](int volume) { announcer_.SampleVolume(volume); }});
        break;
    case kCmdAbout:
        ShowAbout(window_);
        break;
    case kCmdExit:
        if (!ConfirmExit(window_)) break;
        Unload();
        DestroyWindow(window_);
        break;
    default:
        break;
    }
}

// "지금 시각 듣기" by the hot key, a double-click or Enter on the icon: the time to the minute,
// unless something is being said or beeped already. While the alarm rings they stop it, silently.
void ClockCal::SpeakNow() {
    if (!unloaded_ && !announcer_.StopAlarm()) announcer_.SpeakNow(readClock_(), Settings.Volume);
}

// The hot key for "지금 시각 듣기" (a hot-key control value; 0 for none) in place of the one held:
// false, with the old one kept, when the system refuses it (another program holds it). Refused at
// start-up, none is held, and the settings dialog says so.
bool ClockCal::ApplySpeakKey(std::int32_t hotKey) {
    UnregisterHotKey(window_, kSpeakHotKeyId);
    const auto registerKey = [this](std::int32_t key) {
        return key != 0 &&
               RegisterHotKey(window_, kSpeakHotKeyId, HotKeyModifiers(key), static_cast<UINT>(key & 0xFF));
    };
    if (hotKey != 0 && !registerKey(hotKey)) {
        registerKey(speakKey_);
        return false;
    }
    speakKey_ = hotKey;
    return true;
}

// Runs once, whichever way the program ends: window closed, Exit answered Yes, or session end.
void ClockCal::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    UnloadFrmSetting();
    ModelessDialog::CloseAll();
    // nothing sounds once the icon is gone: what plays stops first, then its bytes go
    announcer_.Stop();
    KillTimer(window_, kTimer1Id);
    KillTimer(window_, kWakeId);
    seenNotifications_.Unregister();
    UnregisterHotKey(window_, kSpeakHotKeyId);
    SaveToStore();
    tray_.Delete();
}

void ClockCal::SaveToStore() {
    // A session end can arrive while start-up waits on the shell, before the settings are read:
    // saving then would overwrite the stored settings with the all-zero record.
    if (!settingsLoaded_) return;
    RegistrySettingStore store;
    SaveSettings(store, Settings);
}
