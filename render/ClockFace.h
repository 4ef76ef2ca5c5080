// The analog clock face: background, three hands and border for one time snapshot.
#pragma once

#include <cstdint>

#include "app/ClockTime.h"
#include "app/Settings.h"
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
HandOffset HandOffsetFor(double angle, int length);

// The three hands for `time` on a circular or a square face.
ClockHands HandsFor(const ClockTime& time, bool circular);

// Back to the magenta background, which becomes transparent in the icon.
void ClearClock(Picture& clock);

// Circles centred on pixel (cx, cy). The disk holds the pixels whose centre distance d satisfies
// d^2 <= r^2 + r (the midpoint-circle rule); the outline is the disk's rim, the disk pixels with a
// side neighbour outside it, so an outline drawn over a disk of the same radius hides its edge.
void FillDisk(Picture& picture, int cx, int cy, int radius, ColorValue colour);
void CircleOutline(Picture& picture, int cx, int cy, int radius, ColorValue colour);

// Clears `clock` and draws the whole face for `time` with the colours and shape of `settings`.
void DrawClockFace(Picture& clock, const ClockTime& time, const SettingsRecord& settings,
                   ColorResolver resolve = ResolvePlainColor);
