#!/usr/bin/env python3
"""Draws dropedit's program icon and writes it as an icon file.

The picture: a blue water drop in front of a gold cash coin with a square
hole (the two things the drop editor changes: drops and the kettle's water).
One 32 x 32 image at 32 bits per pixel with an alpha channel, plus the
1-bit mask that icon files carry, 4,286 bytes in all. Nothing but the
standard library is used, so the file can be redrawn on any machine:

    python3 tools/make_icon.py app/dropedit.ico
"""
import math
import struct
import sys

SIZE = 32
SAMPLES = 4  # per axis, for smooth edges

# Colours as (r, g, b).
COIN_RIM = (150, 98, 18)
COIN_FACE = (236, 184, 52)
COIN_SHINE = (252, 224, 120)
COIN_RING = (182, 126, 28)
DROP_EDGE = (18, 70, 150)
DROP_DEEP = (32, 112, 214)
DROP_LIGHT = (120, 196, 250)
HIGHLIGHT = (255, 255, 255)

COIN = (21.5, 20.5, 9.8)    # centre x, centre y, radius
HOLE = 2.6                  # half side of the square hole
DROP = (10.0, 20.0, 7.6)    # centre of the round part and its radius
DROP_TIP = 2.0              # y of the drop's point


def inside_drop(x, y, grow=0.0):
    cx, cy, r = DROP
    r += grow
    tip = DROP_TIP - grow
    if y >= cy:
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    if y < tip:
        return False
    # Above the centre the sides narrow towards the point.
    t = (y - tip) / (cy - tip)
    return abs(x - cx) <= r * t ** 1.4


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def coin_colour(x, y):
    cx, cy, r = COIN
    d = math.hypot(x - cx, y - cy)
    if d > r:
        return None
    if abs(x - cx) <= HOLE and abs(y - cy) <= HOLE:
        return None  # the square hole shows what lies behind
    if d > r - 1.4:
        return COIN_RIM
    if abs(d - (r - 3.2)) < 0.55:
        return COIN_RING
    if max(abs(x - cx), abs(y - cy)) <= HOLE + 1.0:
        return COIN_RING
    # Light from the upper left.
    return mix(COIN_SHINE, COIN_FACE, ((x - cx) + (y - cy)) / (2 * r) + 0.5)


def drop_colour(x, y):
    if not inside_drop(x, y, grow=1.0):
        return None
    if not inside_drop(x, y):
        return DROP_EDGE
    cx, cy, r = DROP
    # A soft highlight on the upper left of the round part.
    if ((x - (cx - 3.2)) / 1.6) ** 2 + ((y - (cy - 2.5)) / 3.0) ** 2 <= 1.0:
        return HIGHLIGHT
    return mix(DROP_LIGHT, DROP_DEEP, math.hypot(x - (cx - 3), y - (cy - 4)) / (r + 4))


def sample(x, y):
    for colour in (drop_colour(x, y), coin_colour(x, y)):
        if colour is not None:
            return colour
    return None


def render():
    """Rows top to bottom of (r, g, b, a) pixels."""
    rows = []
    n = SAMPLES * SAMPLES
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            total = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = sample(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
                    if c is not None:
                        covered += 1
                        for i in range(3):
                            total[i] += c[i]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                r, g, b = (int(round(v / covered)) for v in total)
                row.append((r, g, b, int(round(255 * covered / n))))
        rows.append(row)
    return rows


def icon_file(rows):
    pixels = bytearray()
    for row in reversed(rows):  # bitmaps are stored bottom-up
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask = bytearray()
    for row in reversed(rows):  # a set bit marks a transparent pixel
        bits = 0
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 0x80000000 >> x
        mask += struct.pack(">I", bits)  # 32 pixels: exactly one padded row
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = info + pixels + mask
    head = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return head + entry + image


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUTPUT.ico")
    data = icon_file(render())
    assert len(data) == 4286, len(data)
    with open(sys.argv[1], "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
