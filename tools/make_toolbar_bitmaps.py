#!/usr/bin/env python3
"""Draws the main window's toolbar images (our own simple pictures) as 24-bit BMP files.

Magenta (255, 0, 255) is the transparent background. Run from the repository root:
    python3 tools/make_toolbar_bitmaps.py
It writes resources/bitmaps/mainbar.bmp, mainbar_hot.bmp (21 x 20 per button) and
templatebar.bmp (16 x 16 per button).
"""
import os
import struct

MAGENTA = (255, 0, 255)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
LIGHT = (200, 200, 200)
YELLOW = (230, 190, 60)
BLUE = (40, 80, 190)
GREEN = (30, 150, 40)
RED = (200, 30, 30)


class Canvas:
    def __init__(self, width, height):
        self.w, self.h = width, height
        self.px = [[MAGENTA] * width for _ in range(height)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, fill, edge=BLACK):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                border = x in (x0, x1) or y in (y0, y1)
                self.put(x, y, edge if border and edge else fill)

    def line(self, x0, y0, x1, y1, c):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.put(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), c)

    def save(self, path):
        row = (self.w * 3 + 3) & ~3
        data = b""
        for y in range(self.h - 1, -1, -1):
            line = b"".join(bytes((b, g, r)) for (r, g, b) in self.px[y])
            data += line + b"\0" * (row - len(line))
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        with open(path, "wb") as f:
            f.write(header + info + data)


def page(c, ox, oy, s, hot):
    c.rect(ox + 4 * s // 16, oy + 2, ox + 12 * s // 16, oy + s - 3, WHITE)
    if hot:
        c.line(ox + 6 * s // 16, oy + 5, ox + 10 * s // 16, oy + 5, BLUE)


def folder(c, ox, oy, s, hot):
    c.rect(ox + 2, oy + 6, ox + s - 4, oy + s - 4, YELLOW if hot else LIGHT)
    c.rect(ox + 2, oy + 4, ox + 8, oy + 6, YELLOW if hot else LIGHT)


def disk(c, ox, oy, s, hot):
    c.rect(ox + 3, oy + 3, ox + s - 5, oy + s - 4, BLUE if hot else GREY)
    c.rect(ox + 6, oy + 3, ox + s - 8, oy + 7, WHITE)
    c.rect(ox + 6, oy + s - 9, ox + s - 8, oy + s - 4, LIGHT)


def report(c, ox, oy, s, hot):
    c.rect(ox + 4, oy + 2, ox + s - 6, oy + s - 3, WHITE)
    for y in range(oy + 5, oy + s - 4, 3):
        c.line(ox + 6, y, ox + s - 8, y, BLUE if hot else GREY)


def envelope(c, ox, oy, s, hot):
    c.rect(ox + 2, oy + 5, ox + s - 4, oy + s - 5, WHITE)
    c.line(ox + 2, oy + 5, ox + s // 2 - 1, oy + s // 2 + 1, RED if hot else BLACK)
    c.line(ox + s - 4, oy + 5, ox + s // 2 - 1, oy + s // 2 + 1, RED if hot else BLACK)


def check(c, ox, oy, s, hot):
    col = GREEN
    for d in range(2):
        c.line(ox + 3, oy + s // 2 + d, ox + s // 2 - 2, oy + s - 5 + d, col)
        c.line(ox + s // 2 - 2, oy + s - 5 + d, ox + s - 4, oy + 3 + d, col)


def stop(c, ox, oy, s, hot):
    c.rect(ox + 4, oy + 4, ox + s - 6, oy + s - 5, RED if hot else (160, 40, 40))
    c.rect(ox + 7, oy + s // 2 - 1, ox + s - 9, oy + s // 2, WHITE, None)


def properties(c, ox, oy, s, hot):
    c.rect(ox + 3, oy + 3, ox + s - 5, oy + s - 4, LIGHT)
    for i, y in enumerate(range(oy + 6, oy + s - 5, 4)):
        c.rect(ox + 5, y, ox + 7, y + 1, GREEN if hot else GREY, None)
        c.line(ox + 9, y, ox + s - 7, y, BLACK)


def cross(c, ox, oy, s, hot):
    for d in range(2):
        c.line(ox + 3 + d, oy + 3, ox + s - 4 + d, oy + s - 4, RED)
        c.line(ox + s - 4 + d, oy + 3, ox + 3 + d, oy + s - 4, RED)


def box(c, ox, oy, s, checked):
    c.rect(ox + 2, oy + 2, ox + s - 3, oy + s - 3, WHITE)
    if checked:
        c.line(ox + 4, oy + s // 2, ox + s // 2 - 1, oy + s - 5, GREEN)
        c.line(ox + s // 2 - 1, oy + s - 5, ox + s - 5, oy + 4, GREEN)


def blank(c, ox, oy, s, hot):
    pass


def strip(painters, w, h, hot):
    c = Canvas(w * len(painters), h)
    for i, paint in enumerate(painters):
        paint(c, i * w, 0, min(w, h), hot)
    return c


def main():
    out = os.path.join("resources", "bitmaps")
    os.makedirs(out, exist_ok=True)
    main_bar = [page, folder, disk, report, envelope, check, stop, properties]
    strip(main_bar, 21, 20, False).save(os.path.join(out, "mainbar.bmp"))
    strip(main_bar, 21, 20, True).save(os.path.join(out, "mainbar_hot.bmp"))
    templates = [blank, check, disk, cross,
                 lambda c, x, y, s, h: box(c, x, y, s, True),
                 lambda c, x, y, s, h: box(c, x, y, s, False)]
    strip(templates, 16, 16, False).save(os.path.join(out, "templatebar.bmp"))


if __name__ == "__main__":
    main()
