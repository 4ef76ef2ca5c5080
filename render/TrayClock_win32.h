// The tray icon's picture: draws the clock face for one time snapshot and builds the icon.
#pragma once

#include <windows.h>

#include "app/ClockTime.h"
#include "app/Handles.h"
#include "app/Settings.h"
#include "render/Picture.h"

class TrayClock {
  public:
    TrayClock();
    TrayClock(const TrayClock&) = delete;
    TrayClock& operator=(const TrayClock&) = delete;
    ~TrayClock();

    // Draws the face for `time` with `settings` into Clock, copies it to ICOS, destroys the
    // previous icon and builds the new one, using `referenceDC` for its colour format. The icon
    // stays owned here (exactly one lives at a time); the result is null when the build failed.
    HICON Redraw(HDC referenceDC, const ClockTime& time, const SettingsRecord& settings);
    HICON icon() const { return icon_.get(); }
    const Picture& clock() const { return clock_; }

  private:
    void CopyToIcos(HDC referenceDC);

    Picture clock_;
    unique_hbitmap icos_; // created on the first redraw and reused
    unique_hicon icon_;
};
