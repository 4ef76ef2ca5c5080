// Spoken time and hourly beeps at the platform edge: the clock, the beep timer, the speaker.
#include "announce/Announcer_win32.h"

#include "announce/PlayWave_win32.h"
#include "app/AppIds.h"
#include "app/LocalClock_win32.h"
#include "app/Settings.h"

Announcer::Announcer(HWND window) : window_(window) {}

void Announcer::OnPollTick() {
    Poll(ReadLocalClock());
}

void Announcer::Poll(const ClockTime& now) {
    const Announcement said = schedule_.Poll(now, Settings.Alarm, Settings.Beep);
    if (!said.clips.empty()) checktime(now, said);
}

void Announcer::checktime(const ClockTime& now, const Announcement& said) {
    // each clip plays to its end before the next starts; the thread is blocked meanwhile
    for (int clip : said.clips)
        PlayWave(clip);
    if (said.beeps && schedule_.ArmBeep(now.hour)) StartBeepTimer();
}

void Announcer::OnBeepTick() {
    if (schedule_.OnBeepTick() == BeepSequence::Tick::Beep)
        ::Beep(500, 250); // a failing tone (no speaker) is ignored
    else
        ::KillTimer(window_, kTimer1Id);
}

void Announcer::HourBeepCheck(const ClockTime& time) {
    if (schedule_.HourBeepCheck(time, Settings.Alarm, Settings.Beep)) StartBeepTimer();
}

void Announcer::StartBeepTimer() {
    // SetTimer on a running timer restarts its period: the first beep of a new sequence always
    // comes one full interval after arming
    ::SetTimer(window_, kTimer1Id, kTimer1Interval, nullptr);
}
