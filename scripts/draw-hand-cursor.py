#!/usr/bin/env python3
"""Draws the links' pointing-hand pointer, 32 x 32 with its hot spot at the index finger's tip (5, 0).

Usage: draw-hand-cursor.py [output.png]   (default: src/controls/hand-cursor.png beside this script's repository)
Only the Python standard library is used, so the picture can be redrawn anywhere.
"""

import pathlib
import struct
import sys
import zlib

SIZE = 32

# '#' outline, 'o' fill, '.' see-through. The index finger's tip is the pixel at column 5, row 0.
HAND = [
    ".....##",
    "....#oo#",
    "....#oo#",
    "....#oo#",
    "....#oo#",
    "....#oo###",
    "....#oo#oo###",
    "....#oo#oo#oo###",
    "....#oo#oo#oo#oo#",
    ".##.#oo#oo#oo#oo#",
    "#oo##oo#oo#oo#oo#",
    "#ooo#" + "o" * 11 + "#",
    "#" + "o" * 15 + "#",
    ".#" + "o" * 14 + "#",
    ".#" + "o" * 14 + "#",
    "..#" + "o" * 13 + "#",
    "..#" + "o" * 13 + "#",
    "...#" + "o" * 11 + "#",
    "...#" + "o" * 11 + "#",
    "....#" + "o" * 9 + "#",
    "....#" + "o" * 9 + "#",
    "....#" + "#" * 9 + "#",
]

COLOURS = {".": (0, 0, 0, 0), "#": (0, 0, 0, 255), "o": (255, 255, 255, 255)}


def pixel_rows():
    rows = HAND + [""] * (SIZE - len(HAND))
    for row in rows:
        cells = row.ljust(SIZE, ".")
        yield b"\x00" + b"".join(bytes(COLOURS[cell]) for cell in cells)


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png_bytes():
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)  # 8-bit RGBA
    pixels = zlib.compress(b"".join(pixel_rows()), 9)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", pixels) + chunk(b"IEND", b"")


def main():
    default = pathlib.Path(__file__).resolve().parent.parent / "src" / "controls" / "hand-cursor.png"
    target = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else default
    target.write_bytes(png_bytes())


if __name__ == "__main__":
    main()
