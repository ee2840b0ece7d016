"""Writes the caption-button glyphs of the docking windows and of the floating frames: rows of
10 x 10 images, black on magenta (the mask colour)."""
import struct
import sys

MAGENTA = (255, 0, 255)
BLACK = (0, 0, 0)


def cross():
    return [(x, y) for x in range(2, 8) for y in (x, 9 - x)] + \
           [(x + 1, y) for x in range(2, 7) for y in (x, 9 - x)]


def triangle(direction):
    """A filled arrow head pointing right, left, down or up."""
    pts = []
    for i in range(4):
        for j in range(-i, i + 1):
            a, b = 6 - i, 4 + j  # pointing right: the tip at x = 6
            if direction == "right":
                pts.append((a, b))
            elif direction == "left":
                pts.append((9 - a, b))
            elif direction == "down":
                pts.append((b, a))
            else:
                pts.append((b, 9 - a))
    return pts


def chevron():
    """A bar over an arrow head pointing down."""
    return [(x, y) for x in range(2, 8) for y in (7, 8)] + triangle("down")


def image_row(images):
    width = 10 * len(images)
    pixels = [[MAGENTA] * width for _ in range(10)]
    for n, pts in enumerate(images):
        for x, y in pts:
            if 0 <= x < 10 and 0 <= y < 10:
                pixels[y][10 * n + x] = BLACK
    return width, pixels


def write_bmp(path, width, pixels):
    row_bytes = (width * 3 + 3) & ~3
    data = b""
    for row in reversed(pixels):
        line = b"".join(struct.pack("BBB", b, g, r) for r, g, b in row)
        data += line + b"\0" * (row_bytes - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, len(pixels), 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    # Docking window: 0 hide; 1, 2 expand along a lying row (6 contracts it); 3, 4 expand along
    # a standing row (8 contracts it); 5, 7 unused.
    dock = [cross(), triangle("right"), triangle("right"), triangle("down"), triangle("down"),
            [], triangle("left"), [], triangle("up"), []]
    write_bmp(folder + "/tk_dockwnd_glyphs.bmp", *image_row(dock))
    # Floating frame: 2 close, 3 expand (0 and 1 unused).
    write_bmp(folder + "/tk_float_glyphs.bmp", *image_row([[], [], cross(), chevron()]))
