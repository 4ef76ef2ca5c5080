// Spoken time and hourly beeps at the platform edge: when they may sound, the speaker that plays
// them without holding the thread, and what waits for it. The main window reads the clock, passes
// in the settings and owns Timer1, which it starts and stops as told.
#pragma once

#include <cstdint>
#include <optional>

#include "announce/Schedule.h"
#include "announce/TimerAlarm.h"
#include "announce/Speaker_win32.h"
#include "base/ClockTime.h"
#include "base/Settings.h"

// What the system answers when asked whether the user may be notified now: a
// QUERY_USER_NOTIFICATION_STATE value. Only kAcceptsNotifications lets scheduled sound through.
using NotificationStateFunction = int (*)();
inline constexpr int kAcceptsNotifications = 5; // QUNS_ACCEPTS_NOTIFICATIONS

// SHQueryUserNotificationState, looked up by name: a system without it, or one that cannot say,
// counts as accepting.
int QueryNotificationState();

class Announcer {
  public:
    explicit Announcer(NotificationStateFunction notificationState) : notificationState_(notificationState) {}

    // The poll of one wake of the main window at `now`: the timer or the alarm that falls due, and
    // an announcement that falls due, are spoken, or kept until what sounds has ended; beeps that
    // wait for the end of the announcement that armed them are let go. An announcement of the
    // minute the timer or the alarm has just said is not said again; its beeps still sound. True
    // when Timer1 must be (re)started.
    bool Poll(const ClockTime& now, const SettingsRecord& settings);
    // The hour's beep check of every wake, with the wake's time. True when Timer1 must be
    // (re)started.
    bool HourBeepCheck(const ClockTime& time, const SettingsRecord& settings);
    // While an announcement or the hour's beeps wait for what sounds to end: the milliseconds
    // until it ends (0 once it has), when the main window must wake to poll. None when nothing
    // waits, or while the beeps run: the poll after Timer1 stops lets what waits go.
    std::optional<int> WaitingForSound() const;
    // One Timer1 tick (every 750 ms while beeps run): beeps once at `volume` percent, or asks for
    // the timer to stop.
    BeepSequence::Tick OnBeepTick(int volume = kFullVolume);
    // "지금 시각 듣기": says the time to the minute at `volume` percent, whatever the schedule and
    // the quiet hours say, unless something is being said or beeped; then nothing happens. True
    // when it speaks.
    bool SpeakNow(const ClockTime& now, int volume = kFullVolume);
    // A short beep at a volume just chosen, so that the user hears the new level; only while
    // nothing else sounds or waits to (a sample of the level before may be cut), so that it never
    // cuts an announcement or the hour's beeps short.
    bool SampleVolume(int volume);
    // Stops what sounds and forgets what waits (the program ends).
    void Stop();

    // The countdown timer, on the system's tick count (GetTickCount64), which goes on while the
    // computer sleeps and is not moved by setting the clock.
    void StartTimer(int minutes);
    void CancelTimer() { chimes_.CancelTimer(); }
    bool TimerRunning() const { return chimes_.TimerRunning(); }
    std::optional<int> TimerMinutesLeft() const;
    // From the alarm's first sound to the end of its last repeat, waiting included.
    bool AlarmRinging() const;
    // Stops the ringing alarm at once, without a word. False when it was not ringing.
    bool StopAlarm();
    // Milliseconds until the timer's end, the alarm's next minute or its next repeat.
    std::optional<std::int64_t> ChimeDueInMs(const ClockTime& now, const SettingsRecord& settings) const;

  private:
    // Scheduled sound goes ahead outside the quiet hours, and while the user takes notifications
    // (when the settings ask for that).
    bool MaySound(const ClockTime& now, const SettingsRecord& settings) const;
    bool Busy() const;
    // Says the timer's or the alarm's clip and the time, joined; the timer's three beeps follow.
    void SayChime(const ClockTime& now, int volume);

    NotificationStateFunction notificationState_;
    Schedule schedule_;
    Speaker speaker_;
    std::optional<Announcement> waiting_; // fell due while something sounded
    int waitingHour_ = 0;
    bool beepsWaiting_ = false; // armed, to start when what sounds has ended
    bool beeping_ = false;      // Timer1 runs
    bool samplePlays_ = false;  // what the speaker plays or played last is a volume's sample
    TimerAlarm chimes_;
    std::optional<Chime> chimeWaiting_;       // fell due while something sounded
    std::optional<std::int64_t> chimeMinute_; // LocalMs / 60000 of the minute it said last
    std::int64_t waitingMinute_ = 0;          // the same for the announcement that waits
    bool alarmSounding_ = false;              // what plays is the alarm's
    bool chimeBeeps_ = false;                 // the beeps that wait or run are the timer's
};
