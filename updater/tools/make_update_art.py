#!/usr/bin/env python3
"""Draws the update dialog's icon and its animation clip (our own art, no outside files).

    python3 updater/tools/make_update_art.py resources/rc

writes ZBUpdate.ico (32x32 and 16x16, 32 bits with an AND mask) and UpdateClip.avi (an
uncompressed 8-bit clip: a down arrow dropping into an open box, as the animation control plays
it from the language module). The files are committed; run this again only to change the art.
"""
import struct
import sys

# ---- the icon ----

BLUE = (40, 96, 200)
DARK = (20, 50, 120)
WHITE = (255, 255, 255)


def icon_pixels(size):
    """RGBA rows, top row first: a blue disc with a white down arrow."""
    rows = []
    c = (size - 1) / 2.0
    r = size / 2.0 - 0.5
    for y in range(size):
        row = []
        for x in range(size):
            d2 = (x - c) ** 2 + (y - c) ** 2
            if d2 > r * r:
                row.append((0, 0, 0, 0))
                continue
            colour = DARK if d2 > (r - max(1, size // 16)) ** 2 else BLUE
            u, v = (x - c) / size, (y - c) / size  # -0.5..0.5
            shaft = abs(u) <= 0.09 and -0.32 <= v <= 0.05
            head = v >= 0.0 and v <= 0.30 and abs(u) <= 0.30 - v
            if shaft or head:
                colour = WHITE
            row.append(colour + (255,))
        rows.append(row)
    return rows


def icon_image(size):
    rows = icon_pixels(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + xor + mask


def write_icon(path):
    images = [icon_image(32), icon_image(16)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


# ---- the clip ----

W, H, FRAMES = 48, 40, 8
# Palette index 0 is the corner colour, which a transparent control shows as its background.
PALETTE = [(255, 0, 255), (40, 96, 200), (20, 50, 120), (150, 110, 60), (200, 160, 100),
           (255, 255, 255)]


def clip_frame(n):
    """Index rows, top row first: an arrow at height n dropping into a box."""
    px = [[0] * W for _ in range(H)]
    # The open box at the bottom.
    for y in range(26, 38):
        for x in range(8, 40):
            edge = y == 37 or x in (8, 39)
            px[y][x] = 3 if edge else (4 if y > 30 else px[y][x])
    # The arrow, 2 pixels lower per frame, clipped at the box's front.
    top = 2 + 3 * n
    for y in range(top, min(top + 18, 31)):
        for x in range(14, 34):
            u = x - 23.5
            v = y - top
            shaft = abs(u) <= 3 and v < 10
            head = 10 <= v < 18 and abs(u) <= 17 - v
            if shaft or head:
                px[y][x] = 1 if abs(u) < 2.5 or v >= 10 else 2
    return px


def chunk(tag, data):
    pad = b"\0" if len(data) % 2 else b""
    return tag + struct.pack("<I", len(data)) + data + pad


def riff_list(kind, tag, data):
    return kind + struct.pack("<I", len(data) + 4) + tag + data


def write_clip(path):
    stride = (W + 3) & ~3
    frame_size = stride * H
    frames = []
    for n in range(FRAMES):
        rows = clip_frame(n)
        frames.append(b"".join(bytes(row) + bytes(stride - W) for row in reversed(rows)))
    usec = 100000  # 10 frames a second
    avih = struct.pack("<IIIIIIIIII4I", usec, frame_size * 10, 0, 0x10, FRAMES, 0, 1,
                       frame_size, W, H, 0, 0, 0, 0)
    strh = (b"vids" + b"DIB " + struct.pack("<IHHIIIIIIIIhhhh", 0, 0, 0, 0, 1, 10, 0, FRAMES,
                                            frame_size, 0xFFFFFFFF, 0, 0, 0, W, H))
    palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in PALETTE)
    palette += bytes(4 * (256 - len(PALETTE)))
    strf = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 8, 0, frame_size, 0, 0, 256, 0) + palette
    strl = riff_list(b"LIST", b"strl", chunk(b"strh", strh) + chunk(b"strf", strf))
    hdrl = riff_list(b"LIST", b"hdrl", chunk(b"avih", avih) + strl)
    movi_data = b"".join(chunk(b"00db", f) for f in frames)
    movi = riff_list(b"LIST", b"movi", movi_data)
    index = b""
    offset = 4
    for f in frames:
        index += b"00db" + struct.pack("<III", 0x10, offset, len(f))
        offset += 8 + len(f) + (len(f) % 2)
    body = hdrl + movi + chunk(b"idx1", index)
    with open(path, "wb") as f:
        f.write(riff_list(b"RIFF", b"AVI ", body))


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    write_icon(folder + "/ZBUpdate.ico")
    write_clip(folder + "/UpdateClip.avi")
