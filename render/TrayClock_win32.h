// The tray icon's picture: draws the clock face for one time snapshot and builds the icon.
#pragma once

#include <windows.h>

#include "app/ClockTime.h"
#include "app/Handles.h"
#include "app/Settings.h"

class TrayClock {
  public:
    TrayClock();
    TrayClock(const TrayClock&) = delete;
    TrayClock& operator=(const TrayClock&) = delete;
    ~TrayClock();

    // Draws the face for `time` with `settings`, destroys the previous icon and builds the new
    // one, using `referenceDC` for its colour format. The icon stays owned here; the result may
    // be null when the build failed.
    HICON Redraw(HDC referenceDC, const ClockTime& time, const SettingsRecord& settings);
    HICON icon() const { return icon_.get(); }

  private:
    unique_hicon icon_;
};
