// Spoken time and hourly beeps at the platform edge: the clock, the beep timer, the speaker.
#pragma once

#include <windows.h>

#include "announce/Schedule.h"
#include "app/ClockTime.h"

class Announcer {
  public:
    // `window` owns the beep timer (Timer1).
    explicit Announcer(HWND window);

    void OnPollTick();                         // Timer2, every 100 ms
    void OnBeepTick();                         // Timer1, every 750 ms while a sequence runs
    void HourBeepCheck(const ClockTime& time); // end of every redraw, with the redraw's time

    // The poll's work for a given time; OnPollTick passes the local time.
    void Poll(const ClockTime& now);

    const Schedule& State() const { return schedule_; }

  private:
    void checktime(const ClockTime& now, const Announcement& said);
    void StartBeepTimer();

    HWND window_;
    Schedule schedule_;
};
