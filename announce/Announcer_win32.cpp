// Spoken time and hourly beeps at the platform edge.
#include "announce/Announcer_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "base/SystemLibrary_win32.h"

int QueryNotificationState() {
    // Windows Vista and later; shell32 is loaded already, for the tray
    static const auto query = SystemFunction<HRESULT(WINAPI*)(QUERY_USER_NOTIFICATION_STATE*)>(
        L"shell32.dll", "SHQueryUserNotificationState");
    QUERY_USER_NOTIFICATION_STATE state = QUNS_ACCEPTS_NOTIFICATIONS;
    if (!query || FAILED(query(&state))) return kAcceptsNotifications;
    return static_cast<int>(state);
}

bool Announcer::MaySound(const ClockTime& now, const SettingsRecord& settings) const {
    if (settings.QuietHours && IsQuietHour(now.hour, settings.QuietFrom, settings.QuietTo)) return false;
    // asked only when something falls due, never per tick
    return !settings.QuietBusy || notificationState_() == kAcceptsNotifications;
}

bool Announcer::Busy() const {
    return speaker_.Busy() || beeping_ || beepsWaiting_ || waiting_.has_value();
}

bool Announcer::Poll(const ClockTime& now, const SettingsRecord& settings) {
    const Announcement said = schedule_.Poll(now, settings.Alarm, settings.Beep);
    if (!said.clips.empty() && MaySound(now, settings)) {
        waiting_ = said;
        waitingHour_ = now.hour;
    }
    if (waiting_ && !speaker_.Busy() && !beeping_) {
        speaker_.Say(waiting_->clips, settings.Volume);
        samplePlays_ = false;
        // the beeps come after the announcement has sounded, not over it
        if (waiting_->beeps && schedule_.ArmBeep(waitingHour_)) beepsWaiting_ = true;
        waiting_.reset();
    }
    if (beepsWaiting_ && !speaker_.Busy()) {
        beepsWaiting_ = false;
        beeping_ = true;
        return true;
    }
    return false;
}

bool Announcer::HourBeepCheck(const ClockTime& time, const SettingsRecord& settings) {
    if (!schedule_.HourBeepCheck(time, settings.Alarm, settings.Beep)) return false;
    if (!MaySound(time, settings)) {
        schedule_.CancelBeeps();
        return false;
    }
    // after a time said on demand that is still sounding, through Poll
    if (speaker_.Busy()) {
        beepsWaiting_ = true;
        return false;
    }
    beeping_ = true;
    return true;
}

std::optional<int> Announcer::WaitingForSound() const {
    if (!(waiting_ || beepsWaiting_) || beeping_) return std::nullopt;
    return speaker_.MillisecondsLeft();
}

BeepSequence::Tick Announcer::OnBeepTick(int volume) {
    const BeepSequence::Tick tick = schedule_.OnBeepTick();
    if (tick == BeepSequence::Tick::Beep) {
        speaker_.Beep(volume); // a tone that cannot sound (no device) is skipped
        samplePlays_ = false;
    } else {
        beeping_ = false;
    }
    return tick;
}

bool Announcer::SpeakNow(const ClockTime& now, int volume) {
    if (Busy()) return false;
    const std::vector<int> clips = SpokenTime(now.hour, now.minute);
    samplePlays_ = false;
    return speaker_.Say(clips, volume);
}

bool Announcer::SampleVolume(int volume) {
    // a sample still sounding gives way to the next level's, as the user moves on
    if ((speaker_.Busy() && !samplePlays_) || beeping_ || beepsWaiting_ || waiting_) return false;
    samplePlays_ = speaker_.Beep(volume);
    return samplePlays_;
}

void Announcer::Stop() {
    speaker_.Stop();
    schedule_.CancelBeeps();
    waiting_.reset();
    beepsWaiting_ = beeping_ = false;
}
