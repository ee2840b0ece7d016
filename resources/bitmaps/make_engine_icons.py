#!/usr/bin/env python3
"""Writes the engine icon strips engines.bmp and engines_more.bmp: 128 icons of 16 x 16 pixels
each, side by side, on white (white is the transparent colour of the image list). Each icon is a
small magnifier, globe, page or star in one of sixteen colours, so neighbouring engines differ.
Run it from this folder; the bitmaps are committed beside it."""
import math
import struct

SIZE = 16
COUNT = 128
WHITE = (255, 255, 255)
PALETTE = [
    (200, 30, 30), (30, 120, 200), (30, 150, 60), (220, 140, 0),
    (130, 50, 170), (0, 140, 140), (90, 90, 90), (180, 60, 120),
    (60, 60, 180), (150, 100, 40), (0, 100, 0), (210, 80, 40),
    (40, 160, 200), (120, 120, 0), (160, 0, 60), (20, 20, 120),
]


def magnifier(x, y):
    d = math.hypot(x - 6, y - 6)
    if 3.0 <= d <= 5.0:
        return 1
    if x >= 9 and y >= 9 and abs(x - y) <= 1 and x <= 14:
        return 1
    return 2 if d < 3.0 else 0


def globe(x, y):
    d = math.hypot(x - 7.5, y - 7.5)
    if d > 7.0:
        return 0
    if d > 6.0 or x in (7, 8) or y in (7, 8) or abs(math.hypot(x - 7.5, (y - 7.5) * 2.2)) in (6.0,):
        return 1
    return 2


def page(x, y):
    if 2 <= x <= 13 and 1 <= y <= 14:
        if x in (2, 13) or y in (1, 14):
            return 1
        return 1 if y % 3 == 0 and 4 <= x <= 11 else 2
    return 0


def star(x, y):
    cx, cy = 7.5, 8.0
    angle = math.atan2(y - cy, x - cx)
    radius = math.hypot(x - cx, y - cy)
    limit = 3.2 + 3.8 * abs(math.cos(2.5 * angle))
    if radius <= limit - 1.0:
        return 2
    return 1 if radius <= limit else 0


SHAPES = [magnifier, globe, page, star]


def lighter(colour):
    return tuple(c + (255 - c) * 2 // 3 for c in colour)


def icon_pixel(index, x, y):
    colour = PALETTE[index % len(PALETTE)]
    shape = SHAPES[(index // len(PALETTE)) % len(SHAPES)]
    kind = shape(x, y)
    if kind == 1:
        return colour
    if kind == 2:
        # Never pure white inside a shape, or the inside would turn transparent.
        return tuple(min(c, 250) for c in lighter(colour))
    return WHITE


def write_strip(path, first):
    width = SIZE * COUNT
    row_bytes = width * 3  # a multiple of 4 already
    rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(width):
            index = first + x // SIZE
            r, g, b = icon_pixel(index, x % SIZE, y)
            row += bytes((b, g, r))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, SIZE, 1, 24, 0, row_bytes * SIZE, 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + pixels)


if __name__ == "__main__":
    write_strip("engines.bmp", 0)
    write_strip("engines_more.bmp", COUNT)
