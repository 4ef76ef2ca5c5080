// Spoken time and hourly beeps (placeholder until the announcement schedule lands).
#include "announce/Announcer_win32.h"

Announcer::Announcer(HWND window) : window_(window) {}
void Announcer::OnPollTick() {}
void Announcer::OnBeepTick() {}
void Announcer::HourBeepCheck(const ClockTime&) {}
