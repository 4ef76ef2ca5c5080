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
    // The icon's width and height in pixels, 16 to 32 (others are held to that range): the shell's
    // small-icon size. A new size takes effect at the next redraw, which makes the ICOS bitmap anew
    // once; redraws at an unchanged size reuse it.
    void SetSize(int size);
    int size() const { return clock_.width(); }
    HICON icon() const { return icon_.get(); }
    const Picture& clock() const { return clock_; }

  private:
    void CopyToIcos(HDC referenceDC);

    Picture clock_;
    unique_hbitmap icos_; // created on the first redraw after a size is set, then reused
    unique_hicon icon_;
};
