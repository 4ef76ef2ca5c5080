// The tray icon's picture (placeholder until the clock face renderer lands: no image yet).
#include "render/TrayClock_win32.h"

TrayClock::TrayClock() = default;
TrayClock::~TrayClock() = default;

HICON TrayClock::Redraw(HDC, const ClockTime&, const SettingsRecord&) {
    icon_.reset();
    return nullptr;
}
