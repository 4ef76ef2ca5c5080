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
    return speaker_.Busy() || beeping_ || beepsWaiting_ || waiting_.has_value() || chimeWaiting_.has_value();
}

bool Announcer::Poll(const ClockTime& now, const SettingsRecord& settings) {
    // the timer and the alarm sound whatever the quiet hours and the busy rule say: they were asked
    // for. While one waits, the next is looked for only once it has been said.
    if (!chimeWaiting_)
        if (const Chime chime =
                chimes_.Poll(::GetTickCount64(), now, settings.AlarmClock, settings.AlarmClockDays);
            chime != Chime::None)
            chimeWaiting_ = chime;
    if (chimeWaiting_ && !speaker_.Busy() && !beeping_ && !beepsWaiting_)
        SayChime(now, ChimeVolume(settings.Volume));
    const Announcement said = schedule_.Poll(now, settings.Alarm, settings.Beep);
    if (!said.clips.empty() && MaySound(now, settings)) {
        waiting_ = said;
        waitingHour_ = now.hour;
        waitingMinute_ = LocalMs(now) / 60000;
    }
    // the timer's beeps, armed and waiting, keep their place ahead of the announcement's
    if (waiting_ && !chimeWaiting_ && !speaker_.Busy() && !beeping_ && !beepsWaiting_) {
        if (chimeMinute_ != waitingMinute_ && !waiting_->clips.empty()) {
            speaker_.Say(waiting_->clips, settings.Volume);
            alarmSounding_ = samplePlays_ = false;
        }
        // the beeps come after the announcement has sounded, not over it
        if (waiting_->beeps && schedule_.ArmBeep(waitingHour_)) {
            beepsWaiting_ = true;
            chimeBeeps_ = false;
        }
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
    // The timer's three beeps, waiting or sounding, are not replaced by the hour's count: the
    // count waits as an announcement without words, armed once they have ended (Poll).
    if (chimeBeeps_ && (beepsWaiting_ || beeping_)) {
        if (!waiting_ && IsHourBeepDue(time, settings.Alarm, settings.Beep) && MaySound(time, settings)) {
            waiting_ = Announcement{{}, TwelveHourDial(time.hour)};
            waitingHour_ = time.hour;
            waitingMinute_ = LocalMs(time) / 60000;
        }
        return false;
    }
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
    if (!(waiting_ || beepsWaiting_ || chimeWaiting_) || beeping_) return std::nullopt;
    return speaker_.MillisecondsLeft();
}

BeepSequence::Tick Announcer::OnBeepTick(int volume) {
    const BeepSequence::Tick tick = schedule_.OnBeepTick();
    alarmSounding_ = false;
    if (tick == BeepSequence::Tick::Beep) {
        // a tone that cannot sound (no device) is skipped
        speaker_.Beep(chimeBeeps_ ? ChimeVolume(volume) : volume);
        samplePlays_ = false;
    } else {
        beeping_ = chimeBeeps_ = false;
    }
    return tick;
}

bool Announcer::SpeakNow(const ClockTime& now, int volume) {
    if (Busy()) return false;
    const std::vector<int> clips = SpokenTime(now.hour, now.minute);
    alarmSounding_ = samplePlays_ = false;
    return speaker_.Say(clips, volume);
}

bool Announcer::SampleVolume(int volume) {
    // a sample still sounding gives way to the next level's, as the user moves on
    if ((speaker_.Busy() && !samplePlays_) || beeping_ || beepsWaiting_ || waiting_ || chimeWaiting_)
        return false;
    samplePlays_ = speaker_.Beep(volume);
    return samplePlays_;
}

void Announcer::Stop() {
    speaker_.Stop();
    schedule_.CancelBeeps();
    waiting_.reset();
    chimeWaiting_.reset();
    beepsWaiting_ = beeping_ = alarmSounding_ = false;
}

void Announcer::SayChime(const ClockTime& now, int volume) {
    const bool alarm = chimeWaiting_ == Chime::Alarm;
    std::vector<int> clips{alarm ? kClipAlarm : kClipTimerEnded};
    const std::vector<int> time = SpokenTime(now.hour, now.minute);
    clips.insert(clips.end(), time.begin(), time.end());
    speaker_.Say(clips, volume);
    samplePlays_ = false;
    chimeWaiting_.reset();
    chimeMinute_ = LocalMs(now) / 60000;
    alarmSounding_ = alarm;
    if (!alarm) {
        schedule_.ArmThreeBeeps();
        beepsWaiting_ = chimeBeeps_ = true;
    }
}

void Announcer::StartTimer(int minutes) {
    chimes_.StartTimer(minutes, ::GetTickCount64());
}

std::optional<int> Announcer::TimerMinutesLeft() const {
    return chimes_.MinutesLeft(::GetTickCount64());
}

bool Announcer::AlarmRinging() const {
    return chimes_.Ringing() || chimeWaiting_ == Chime::Alarm || (alarmSounding_ && speaker_.Busy());
}

bool Announcer::StopAlarm() {
    if (!AlarmRinging()) return false;
    chimes_.Stop();
    if (chimeWaiting_ == Chime::Alarm) chimeWaiting_.reset();
    if (alarmSounding_) speaker_.Stop();
    alarmSounding_ = false;
    return true;
}

std::optional<std::int64_t> Announcer::ChimeDueInMs(const ClockTime& now,
                                                    const SettingsRecord& settings) const {
    // one that waits is said when what sounds has ended (WaitingForSound), and the next after it
    if (chimeWaiting_) return std::nullopt;
    return chimes_.NextDueInMs(::GetTickCount64(), now, settings.AlarmClock, settings.AlarmClockDays);
}
