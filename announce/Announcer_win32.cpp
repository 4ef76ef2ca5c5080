// Spoken time and hourly beeps at the platform edge: the speaker and the tone.
#include "announce/Announcer_win32.h"

#include <windows.h>

#include "announce/PlayWave_win32.h"

bool Announcer::Poll(const ClockTime& now, std::int32_t alarm, bool beep) {
    const Announcement said = schedule_.Poll(now, alarm, beep);
    return !said.clips.empty() && checktime(now, said);
}

bool Announcer::checktime(const ClockTime& now, const Announcement& said) {
    // each clip plays to its end before the next starts; the thread is blocked meanwhile
    for (int clip : said.clips)
        PlayWave(clip);
    return said.beeps && schedule_.ArmBeep(now.hour);
}

BeepSequence::Tick Announcer::OnBeepTick() {
    const BeepSequence::Tick tick = schedule_.OnBeepTick();
    if (tick == BeepSequence::Tick::Beep) ::Beep(500, 250); // a failing tone (no speaker) is ignored
    return tick;
}

bool Announcer::HourBeepCheck(const ClockTime& time, std::int32_t alarm, bool beep) {
    return schedule_.HourBeepCheck(time, alarm, beep);
}
