#!/usr/bin/env python3
"""Writes GifFixtures.inc: small GIF files of our own for the loader's tests, as byte arrays.

Run it after changing a fixture: python3 ui/gif/tests/make_gif_fixtures.py
With --gifs FOLDER it also writes each fixture as a .gif file there, to look at them.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


class Bits:
    """Codes least significant bit first, as GIF packs them."""

    def __init__(self):
        self.acc = 0
        self.n = 0
        self.out = bytearray()

    def put(self, code, width):
        assert 0 <= code < (1 << width), (code, width)
        self.acc |= code << self.n
        self.n += width
        while self.n >= 8:
            self.out.append(self.acc & 0xFF)
            self.acc >>= 8
            self.n -= 8

    def data(self):
        out = bytearray(self.out)
        if self.n:
            out.append(self.acc & 0xFF)
        return bytes(out)


def lzw_codes(pixels, s, **kw):
    """LZW-codes pixel indices with minimum code size s.

    clear_every: send a clear code after that many data codes (to exercise clears).
    clear_when_full: clear once the table reaches 4095 entries, as common encoders do; without
    it the encoder keeps coding with a full table (which the loader refuses).
    end: finish with the end code.
    """
    return _Encoder(s, **kw).encode(pixels)


class _Encoder:
    def __init__(self, s, clear_every=None, clear_when_full=True, end=True):
        self.s = s
        self.clear = 1 << s
        self.eoi = self.clear + 1
        self.clear_every = clear_every
        self.clear_when_full = clear_when_full
        self.end = end
        self.bits = Bits()
        self.reset()

    def reset(self):
        self.table = {}
        self.width = self.s + 1
        self.next = self.eoi + 1
        self.codes = 0

    def send_clear(self):
        self.bits.put(self.clear, self.width)
        self.reset()

    def emit(self, code):
        self.bits.put(code, self.width)
        # The decoder adds the entry this code completes before it reads the next one, and
        # widens its codes once that entry reaches the limit.
        if self.next >= (1 << self.width) and self.width < 12:
            self.width += 1

    def encode(self, pixels):
        self.send_clear()
        w = None
        for k in pixels:
            if w is None:
                w = k
                continue
            if (w, k) in self.table:
                w = self.table[(w, k)]
                continue
            self.emit(w)
            self.codes += 1
            if self.clear_every and self.codes >= self.clear_every:
                self.send_clear()
            elif self.next >= 4095 and self.clear_when_full:
                self.send_clear()
            elif self.next < 4096:
                self.table[(w, k)] = self.next
                self.next += 1
            w = k
        if w is not None:
            self.emit(w)
        if self.end:
            self.bits.put(self.eoi, self.width)
        return self.bits.data()


def codes(spec):
    """Packs an explicit list of (code, width) pairs: streams no sound encoder writes."""
    bits = Bits()
    for code, width in spec:
        bits.put(code, width)
    return bits.data()


def sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def le16(v):
    return bytes([v & 0xFF, v >> 8 & 0xFF])


def header(width, height, palette=None, version=b"GIF89a", background=0):
    flags = 0
    table = b""
    if palette is not None:
        size = 0
        while (2 << size) < len(palette):
            size += 1
        flags = 0x80 | (size << 4) | size
        table = colour_table(palette, 2 << size)
    return version + le16(width) + le16(height) + bytes([flags, background, 0]) + table


def colour_table(palette, count):
    out = bytearray()
    for i in range(count):
        r, g, b = palette[i] if i < len(palette) else (0, 0, 0)
        out += bytes([r, g, b])
    return bytes(out)


def control(delay=0, transparent=None, disposal=0, size=4):
    packed = (disposal << 2) | (1 if transparent is not None else 0)
    body = bytes([packed]) + le16(delay) + bytes([transparent or 0])
    body = (body + bytes(8))[:size]
    return b"\x21\xF9" + sub_blocks(body)


def image(left, top, width, height, data, s, local=None, interlaced=False):
    packed = 0x40 if interlaced else 0
    table = b""
    if local is not None:
        size = 0
        while (2 << size) < len(local):
            size += 1
        packed |= 0x80 | size
        table = colour_table(local, 2 << size)
    return (b"\x2C" + le16(left) + le16(top) + le16(width) + le16(height) + bytes([packed]) +
            table + bytes([s]) + sub_blocks(data))


def frame(left, top, width, height, pixels, s=2, **kw):
    assert len(pixels) == width * height
    return image(left, top, width, height, lzw_codes(pixels, s), s, **kw)


def interlace(rows):
    order = list(range(0, len(rows), 8)) + list(range(4, len(rows), 8)) + \
        list(range(2, len(rows), 4)) + list(range(1, len(rows), 2))
    return [p for r in order for p in rows[r]]


def noise(width, height, seed=12345):
    """The same numbers as NoisePixels in the tests: a linear congruential generator."""
    v = seed
    out = []
    for _ in range(width * height):
        v = (v * 1103515245 + 12345) & 0xFFFFFFFF
        out.append(v >> 16 & 0xFF)
    return out


GREY4 = [(0, 0, 0), (255, 0, 0), (0, 255, 0), (0, 0, 255)]
TRAILER = b"\x3B"


def fixtures():
    f = {}
    # Pixel values are their position's x + 2y, mod 4, so every row differs.
    first = [(x + 2 * y) % 4 for y in range(4) for x in range(6)]
    # Its transparent pixels (2) differ between its rows, so a mask turned over would show.
    second = [2, 2, 1, 3, 0, 1, 1, 2]
    f["TwoFrames"] = (header(6, 4, GREY4) + control() + frame(0, 0, 6, 4, first) +
                      control(transparent=2, disposal=2) + frame(1, 2, 4, 2, second) + TRAILER)
    f["OneFrameZeroDelay"] = header(2, 2, GREY4) + control(delay=0) + frame(0, 0, 2, 2, [0, 1, 2, 3]) + TRAILER
    f["Delays"] = (header(2, 1, GREY4) + control(delay=7) + frame(0, 0, 2, 1, [1, 2]) +
                   control(delay=0) + frame(0, 0, 2, 1, [2, 3]) +
                   control(delay=250, disposal=3) + frame(0, 0, 2, 1, [3, 0]) + TRAILER)
    rows = [[r] * 5 for r in range(11)]
    f["Interlaced"] = (header(5, 11, [(i * 16, 0, 0) for i in range(16)]) +
                       image(0, 0, 5, 11, lzw_codes(interlace(rows), 4), 4, interlaced=True) + TRAILER)
    f["LocalTable"] = (header(2, 2, [(200, 0, 0), (0, 200, 0)]) +
                       frame(0, 0, 2, 2, [0, 1, 2, 3], local=[(1, 2, 3), (4, 5, 6), (7, 8, 9), (10, 11, 12)]) +
                       frame(0, 0, 2, 2, [1, 0, 1, 0]) + TRAILER)
    f["NoColourTable"] = header(2, 1) + frame(0, 0, 2, 1, [1, 3]) + TRAILER
    f["Noise87a"] = (header(100, 80, [(i, 255 - i, i // 2) for i in range(256)], version=b"GIF87a") +
                     frame(0, 0, 100, 80, noise(100, 80), s=8) + TRAILER)
    f["ClearsEvery10"] = (header(40, 10, GREY4) +
                          image(0, 0, 40, 10, lzw_codes([(x * y) % 4 for y in range(10) for x in range(40)],
                                                        2, clear_every=10), 2) + TRAILER)
    f["NoEndCode"] = header(3, 1, GREY4) + image(0, 0, 3, 1, lzw_codes([3, 2, 1], 2, end=False), 2) + TRAILER
    f["GarbageAfterTrailer"] = (header(2, 1, GREY4) + frame(0, 0, 2, 1, [1, 2]) + TRAILER +
                                b"\x21\xF9\x07\x00" + b"\x2C\xFF")
    f["UnknownBlock"] = (header(2, 1, GREY4) + frame(0, 0, 2, 1, [1, 2]) + b"\x00" +
                         frame(0, 0, 2, 1, [3, 3]) + TRAILER)
    f["OtherExtensions"] = (header(2, 1, GREY4) + b"\x21\xFE" + sub_blocks(b"made for the tests") +
                            b"\x21\xFF" + sub_blocks(b"NETSCAPE2.0") [:-1] + sub_blocks(b"\x01\x00\x00") +
                            control(delay=5) + frame(0, 0, 2, 1, [2, 1]) + TRAILER)
    f["ControlOfFiveBytes"] = header(2, 1, GREY4) + control(size=5) + frame(0, 0, 2, 1, [1, 2]) + TRAILER
    f["FullTableNoClear"] = (header(100, 80, [(i, i, i) for i in range(256)]) +
                             image(0, 0, 100, 80, lzw_codes(noise(100, 80), 8, clear_when_full=False), 8) +
                             TRAILER)
    # s = 2: clear 4, end 5, first free code 6, codes 3 bits wide.
    f["CodeAboveNext"] = header(3, 1, GREY4) + image(0, 0, 3, 1, codes([(4, 3), (1, 3), (7, 3), (5, 3)]), 2) + TRAILER
    f["NextCodeFirst"] = header(3, 1, GREY4) + image(0, 0, 3, 1, codes([(4, 3), (6, 3), (5, 3)]), 2) + TRAILER
    # The code being defined (6 = 1 + 1) right after its prefix: pixels 1, 1, 1.
    f["CodeBeingDefined"] = header(3, 1, GREY4) + image(0, 0, 3, 1, codes([(4, 3), (1, 3), (6, 3), (5, 3)]), 2) + TRAILER
    f["MinCodeSize9"] = header(2, 1, GREY4) + image(0, 0, 2, 1, codes([(512, 10)]), 9) + TRAILER
    f["FrameOutsideScreen"] = header(4, 4, GREY4) + frame(2, 0, 4, 4, [0] * 16) + TRAILER
    f["FrameOfZeroWidth"] = header(4, 4, GREY4) + image(0, 0, 0, 4, codes([(4, 3), (5, 3)]), 2) + TRAILER
    f["FrameWiderThanCap"] = header(4097, 1, GREY4) + image(0, 0, 4097, 1, codes([(4, 3), (5, 3)]), 2) + TRAILER
    f["FrameAtCap"] = header(4096, 1, GREY4) + image(0, 0, 4096, 1, codes([(4, 3), (1, 3), (5, 3)]), 2) + TRAILER
    # Five frames of 4096 x 4096 in a few bytes: past the cap on all frames together.
    big = image(0, 0, 4096, 4096, codes([(4, 3), (5, 3)]), 2)
    f["TooManyPixels"] = header(4096, 4096, GREY4) + big * 5 + TRAILER
    return f


def main():
    gifs = None
    if len(sys.argv) == 3 and sys.argv[1] == "--gifs":
        gifs = sys.argv[2]
        os.makedirs(gifs, exist_ok=True)
    lines = ["// Written by make_gif_fixtures.py; do not edit. Small GIF files of our own.", ""]
    for name, data in fixtures().items():
        if gifs:
            with open(os.path.join(gifs, name + ".gif"), "wb") as out:
                out.write(data)
        lines.append("inline const unsigned char kGif%s[] = {" % name)
        for i in range(0, len(data), 16):
            lines.append("    " + ", ".join("0x%02X" % b for b in data[i:i + 16]) + ",")
        lines.append("};")
    with open(os.path.join(HERE, "GifFixtures.inc"), "w") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
