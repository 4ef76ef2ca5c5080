// The tray icon's picture: draws the clock face for one time snapshot and builds the icon.
#pragma once

#include <windows.h>

#include <optional>

#include "base/ClockTime.h"
#include "base/Handles.h"
#include "base/Settings.h"
#include "render/Picture.h"

class TrayClock {
  public:
    TrayClock();
    TrayClock(const TrayClock&) = delete;
    TrayClock& operator=(const TrayClock&) = delete;
    ~TrayClock();

    // Draws the face for `time` with `settings` into Clock. True when the finished picture
    // differs from the one the current icon shows (or there is none): only then does the tray
    // need a new icon. Pixels are compared, so any change of colour, shape or size counts. Under
    // high contrast the face takes the system's colours (DrawHighContrastFace).
    bool Draw(const ClockTime& time, const SettingsRecord& settings, bool highContrast = false);
    // Copies Clock to ICOS, destroys the previous icon and builds the new one. The icon stays
    // owned here (exactly one lives at a time); the result is null when the build failed, and
    // then the next Draw counts as a change.
    HICON BuildIcon();
    // The next Draw counts as a change whatever it draws: the shell has forgotten our picture.
    void Resend() { icos_.reset(); }
    // The icon's width and height in pixels: the shell's small-icon size, held to what a Picture can
    // store (up to 32). A new size takes effect at the next redraw, which then differs from ICOS.
    void SetSize(int size);
    int size() const { return clock_.width(); }
    HICON icon() const { return icon_.get(); }
    const Picture& clock() const { return clock_; }

  private:
    Picture clock_;
    std::optional<Picture> icos_; // the copy of Clock the live icon was built from; none without one
    unique_hicon icon_;
};
