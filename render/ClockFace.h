// The analog clock face: background, three hands and border for one time snapshot.
#pragma once

#include <cstdint>

#include "base/ClockTime.h"
#include "base/Settings.h"
#include "render/Picture.h"
#include "render/SmoothLine.h"

// How far a hand reaches from the centre; a positive dy points up.
struct HandOffset {
    std::int16_t dx = 0;
    std::int16_t dy = 0;
    bool operator==(const HandOffset&) const = default;
};

struct ClockHands {
    HandOffset second, minute, hour;
};

// The hour the hour hand shows: hour + minute / 60 rounded, halves to even (2:30 -> 2, 3:30 -> 4).
std::int32_t HourPosition(int hour, int minute);

// The end of a hand of `length` pixels at `angle` radians clockwise from straight up.
HandOffset HandOffsetFor(double angle, double length);

// The three hands for `time` on a circular or a square face `size` pixels wide.
ClockHands HandsFor(const ClockTime& time, bool circular, int size = Picture::kWidth);

// The width of the hands and the border on a face `size` pixels wide: 1 up to 23, 2 from 24 on.
std::int16_t LineWidthFor(int size);

// One clock hand from the centre (W/2, W/2) of a picture W pixels wide; a positive dy points up.
void DrawHand(Picture& clock, std::int16_t dx, std::int16_t dy, std::int16_t width, ColorValue colour,
              ColorResolver resolve = ResolvePlainColor);

// Back to the magenta background, which becomes transparent in the icon.
void ClearClock(Picture& clock);

// Circles centred on pixel (cx, cy). The disk holds the pixels whose centre distance d satisfies
// d^2 <= r^2 + r (the midpoint-circle rule, also for a radius that is not whole); the outline is
// the disk's rim, the disk pixels with a pixel outside it at most `thickness` steps along their row
// or column, so an outline drawn over a disk of the same radius hides its edge.
void FillDisk(Picture& picture, int cx, int cy, double radius, ColorValue colour);
void CircleOutline(Picture& picture, int cx, int cy, double radius, ColorValue colour, int thickness = 1);

// A colour the user picked, as the face draws it: the key colour that turns transparent in the icon
// (magenta, Picture::kBackground) is drawn one step of blue away, so that no part of the clock a
// user coloured becomes see-through; every other colour as it is. Mixed colours cannot become the
// key either: each channel of a mix lies between those of the colours mixed.
ColorValue Opaque(ColorValue colour);

// The colours the face is drawn in: the chosen ones, or under high contrast the system's (the
// background in the window colour, the border and the hour and minute hands in the window text
// colour, the second hand in the highlight colour), as system colour values the resolver turns
// into their current RGB. The shape and every other setting stay as they are.
SettingsRecord FaceSettings(const SettingsRecord& settings, bool highContrast);

// Clears `clock` and draws the whole face for `time` with the colours and shape of `settings`,
// scaled to the picture's width: the 16-pixel face is the design, larger sizes draw it sharper.
void DrawClockFace(Picture& clock, const ClockTime& time, const SettingsRecord& settings,
                   ColorResolver resolve = ResolvePlainColor);

// The face under high contrast: drawn in the system's colours (FaceSettings), with every pixel then
// one of those colours or a blend of one of them with the window colour. Where the edges of two
// hands of different colours overlap, the pixel takes the nearest such blend.
void DrawHighContrastFace(Picture& clock, const ClockTime& time, const SettingsRecord& settings,
                          ColorResolver resolve = ResolvePlainColor);
