#!/usr/bin/env python3
"""Writes banner_hand.cur: the pointing hand shown over the search form's banner.

Run it after changing the picture: python3 resources/cursors/make_banner_cursor.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# '#' black, '.' white, anything else transparent. The tip of the finger is the hot spot.
HAND = """
     ##
    #..#
    #..#
    #..#
    #..#
    #..###
    #..#..###
    #..#..#..##
 ## #..#..#..#.#
#..##........#.#
#...#..........#
 #.............#
  #............#
  #...........#
   #..........#
   #.........#
    #........#
    #........#
    ##########
"""
HOT_SPOT = (5, 1)
SIZE = 32


def rows():
    lines = HAND.strip("\n").split("\n")
    lines += [""] * (SIZE - len(lines))
    return [line.ljust(SIZE)[:SIZE] for line in lines]


def bits(row, on):
    value = 0
    for x, c in enumerate(row):
        if on(c):
            value |= 1 << (SIZE - 1 - x)
    return struct.pack(">I", value)


def main():
    picture = rows()
    xor = b"".join(bits(r, lambda c: c == ".") for r in reversed(picture))
    mask = b"".join(bits(r, lambda c: c not in "#.") for r in reversed(picture))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    palette = b"\x00\x00\x00\x00\xff\xff\xff\x00"
    image = header + palette + xor + mask
    directory = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, HOT_SPOT[0],
                                                           HOT_SPOT[1], len(image), 22)
    with open(os.path.join(HERE, "banner_hand.cur"), "wb") as out:
        out.write(directory + image)


if __name__ == "__main__":
    main()
