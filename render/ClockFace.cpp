// The analog clock face drawn on the 16 x 16 picture.
#include "render/ClockFace.h"

#include <cmath>

#include "render/Rounding.h"

namespace {

// The clock's own value of pi; the hand tables are built with it, so a more precise value would
// move hands that sit on a rounding edge (sin 30 degrees x 5 = 2.4999... rather than 2.5).
constexpr double kPi = 3.141592653;

constexpr int kCircleRadius = 7;
constexpr int kSquareFaceRadius = 16; // big enough to cover every pixel

struct HandLengths {
    int second, minute, hour;
};
constexpr HandLengths kCircularHands{6, 5, 5};
constexpr HandLengths kSquareHands{8, 7, 6};

bool InDisk(int dx, int dy, int radius) {
    return dx * dx + dy * dy <= radius * radius + radius;
}

} // namespace

std::int32_t HourPosition(int hour, int minute) {
    return RoundToInt32(hour + static_cast<double>(minute) / 60);
}

HandOffset HandOffsetFor(double angle, int length) {
    return {RoundToInt16(std::sin(angle) * length), RoundToInt16(std::cos(angle) * length)};
}

ClockHands HandsFor(const ClockTime& time, bool circular) {
    const HandLengths& lengths = circular ? kCircularHands : kSquareHands;
    // The minute hand jumps once a minute; it does not creep with the seconds.
    return {HandOffsetFor(time.second * kPi / 30, lengths.second),
            HandOffsetFor(time.minute * kPi / 30, lengths.minute),
            HandOffsetFor(HourPosition(time.hour, time.minute) * kPi / 6, lengths.hour)};
}

void ClearClock(Picture& clock) {
    clock.Clear(Picture::kBackground);
}

void FillDisk(Picture& picture, int cx, int cy, int radius, ColorValue colour) {
    for (int y = 0; y < Picture::kHeight; ++y) {
        for (int x = 0; x < Picture::kWidth; ++x) {
            if (InDisk(x - cx, y - cy, radius)) picture.Set(x, y, colour);
        }
    }
}

void CircleOutline(Picture& picture, int cx, int cy, int radius, ColorValue colour) {
    for (int y = 0; y < Picture::kHeight; ++y) {
        for (int x = 0; x < Picture::kWidth; ++x) {
            const int dx = x - cx, dy = y - cy;
            if (!InDisk(dx, dy, radius)) continue;
            if (!InDisk(dx - 1, dy, radius) || !InDisk(dx + 1, dy, radius) || !InDisk(dx, dy - 1, radius) ||
                !InDisk(dx, dy + 1, radius)) {
                picture.Set(x, y, colour);
            }
        }
    }
}

void DrawClockFace(Picture& clock, const ClockTime& time, const SettingsRecord& settings,
                   ColorResolver resolve) {
    constexpr int cx = Picture::kWidth / 2, cy = Picture::kHeight / 2;
    ClearClock(clock);
    FillDisk(clock, cx, cy, settings.ClockShape ? kCircleRadius : kSquareFaceRadius,
             resolve(settings.BGColor));

    const ClockHands hands = HandsFor(time, settings.ClockShape);
    DrawHand(clock, hands.second.dx, hands.second.dy, 1, settings.SColor, resolve);
    DrawHand(clock, hands.minute.dx, hands.minute.dy, 1, settings.MColor, resolve);
    DrawHand(clock, hands.hour.dx, hands.hour.dy, 1, settings.HColor, resolve);

    // The border goes over the hands. The square's edges sit at 0 and 15 whatever the size.
    if (settings.ClockShape) {
        CircleOutline(clock, cx, cy, kCircleRadius, resolve(settings.TColor));
    } else {
        SmoothLine(clock, 0, 0, 15, 0, settings.TColor, 1.0, 2.0, resolve);
        SmoothLine(clock, 0, 0, 0, 15, settings.TColor, 1.0, 2.0, resolve);
        SmoothLine(clock, 0, 15, 15, 15, settings.TColor, 1.0, 2.0, resolve);
        SmoothLine(clock, 15, 0, 15, 15, settings.TColor, 1.0, 2.0, resolve);
    }
}
