#!/usr/bin/env python3
"""Writes BannerGifs.inc: the animated banners that the banner test server hands out, as byte
arrays. They reuse the GIF writer of the loader's fixtures.

Run it after changing a banner: python3 tests/servers/make_banner_gifs.py
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "ui", "gif", "tests"))
from make_gif_fixtures import TRAILER, control, frame, header  # noqa: E402

WIDTH, HEIGHT = 120, 40


def stripes(offset, period):
    """Diagonal bands of colours 1 to 3, moved by offset: each frame differs from the last."""
    return [1 + ((x + y + offset) // period) % 3 for y in range(HEIGHT) for x in range(WIDTH)]


def banner(palette, frames, delay):
    data = header(WIDTH, HEIGHT, palette)
    for i in range(frames):
        data += control(delay=delay) + frame(0, 0, WIDTH, HEIGHT, stripes(i * 4, 8))
    return data + TRAILER


def banners():
    return {
        "Red": banner([(0, 0, 0), (200, 30, 30), (250, 200, 60), (255, 255, 255)], 3, 20),
        "Blue": banner([(0, 0, 0), (30, 60, 200), (90, 200, 250), (255, 255, 255)], 2, 30),
    }


def main():
    lines = ["// Written by make_banner_gifs.py; do not edit. Animated banners of our own.", ""]
    for name, data in banners().items():
        lines.append("inline const unsigned char kBanner%s[] = {" % name)
        for i in range(0, len(data), 16):
            lines.append("    " + ", ".join("0x%02X" % b for b in data[i:i + 16]) + ",")
        lines.append("};")
    with open(os.path.join(HERE, "BannerGifs.inc"), "w") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
