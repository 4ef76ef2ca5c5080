// The tray icon's picture: the face is drawn into a plain buffer, which is turned into the icon.
#include "render/TrayClock_win32.h"

#include "render/ClockFace.h"
#include "render/IconFromPicture_win32.h"
#include "base/ResolveColor_win32.h"

TrayClock::TrayClock() = default;
TrayClock::~TrayClock() = default;

void TrayClock::SetSize(int size) {
    // a picture holds its size to what it can store
    if (Picture resized(size, size); resized.width() != clock_.width()) clock_ = resized;
}

bool TrayClock::Draw(const ClockTime& time, const SettingsRecord& settings, bool highContrast) {
    if (highContrast)
        DrawHighContrastFace(clock_, time, settings, ResolveColorWin32);
    else
        DrawClockFace(clock_, time, settings, ResolveColorWin32);
    return !icos_ || *icos_ != clock_;
}

HICON TrayClock::BuildIcon() {
    icos_ = clock_;
    // The old icon goes before the new one is made; the shell keeps its own copy of the image.
    icon_.reset();
    icon_ = IconFromPicture(*icos_, kDefaultIconKey);
    // a failed build is tried again at the next tick rather than left until the picture changes
    if (!icon_) icos_.reset();
    return icon_.get();
}
