// Spoken time and hourly beeps at the platform edge: the speaker and the tone. The main window
// reads the clock, passes in the settings and owns Timer1, which it starts and stops as told.
#pragma once

#include <cstdint>

#include "announce/Schedule.h"
#include "base/ClockTime.h"

class Announcer {
  public:
    // One Timer2 tick (every 100 ms) at `now`: plays what is due. True when the announcement armed
    // the beeps and Timer1 must be (re)started.
    bool Poll(const ClockTime& now, std::int32_t alarm, bool beep);
    // One Timer1 tick (every 750 ms while a sequence runs): beeps once, or asks for the timer to stop.
    BeepSequence::Tick OnBeepTick();
    // The check at the end of every redraw, with the redraw's time. True when Timer1 must be
    // (re)started.
    bool HourBeepCheck(const ClockTime& time, std::int32_t alarm, bool beep);

  private:
    bool checktime(const ClockTime& now, const Announcement& said);

    Schedule schedule_;
};
