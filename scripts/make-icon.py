#!/usr/bin/env python3
"""Draws the program icon (a small analog clock at 10:10) into resources/AAA.ico.

Five 32-bit images, 64, 48, 32, 24 and 16 pixels square, each rendered with 4x4 supersampling
so the edges are smooth at every size. Standard library only; run it again after changing the
artwork and commit both the script and the icon."""
import math
import struct
import sys
from pathlib import Path

SIZES = (64, 48, 32, 24, 16)
FACE = (255, 255, 255)
RIM = (40, 40, 48)
HOUR = (255, 0, 0)
MINUTE = (0, 150, 0)
SECOND = (255, 128, 0)
SS = 4


def seg_dist(px, py, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy)))
    return math.hypot(px - ax - t * vx, py - ay - t * vy)


def colour_at(x, y, n):
    """The colour (r, g, b, a) of the point (x, y) in an n-pixel image, in units of n."""
    c = n / 2.0
    r = n / 2.0 - 0.5
    d = math.hypot(x - c, y - c)
    if d > r:
        return (0, 0, 0, 0)
    rim = max(1.0, n / 14.0)
    if d > r - rim:
        return RIM + (255,)
    hands = (
        (HOUR, -math.pi / 2 - math.pi / 6 * 2, 0.50, max(1.2, n / 12.0)),  # 10 o'clock
        (MINUTE, -math.pi / 2 + math.pi / 30 * 10, 0.72, max(1.0, n / 16.0)),  # 10 minutes
        (SECOND, math.pi / 2 + 0.2, 0.80, max(0.6, n / 40.0)),
    )
    for colour, angle, length, width in hands:
        ex = c + math.cos(angle) * r * length
        ey = c + math.sin(angle) * r * length
        if seg_dist(x, y, c, c, ex, ey) <= width / 2:
            return colour + (255,)
    if d <= max(1.0, n / 16.0):
        return RIM + (255,)
    return FACE + (255,)


def render(n):
    rows = []
    for py in range(n):
        row = []
        for px in range(n):
            acc = [0, 0, 0, 0]
            for sy in range(SS):
                for sx in range(SS):
                    r, g, b, a = colour_at(px + (sx + 0.5) / SS, py + (sy + 0.5) / SS, n)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            a = acc[3]
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(acc[0] / a), round(acc[1] / a), round(acc[2] / a), round(a / (SS * SS))))
        rows.append(row)
    return rows


def dib(n, pixels):
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(pixels):  # bottom-up
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    stride = ((n + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + mask


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "resources" / "AAA.ico")
    images = [dib(n, render(n)) for n in SIZES]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, img in zip(SIZES, images):
        data += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for img in images:
        data += img
    out.write_bytes(data)
    print(f"wrote {out} ({len(data)} bytes)")


if __name__ == "__main__":
    main()
