#!/usr/bin/env python3
"""Writes the four lamp pictures of Tled as 16 x 16, 16-colour Windows bitmaps.

Run once from this folder; the .bmp files are committed. Every lamp shares one
frame: a sunken grey/white bevel, a black rim and a light grey background that
fills the corners and the bottom row (the bottom-left pixel is the colour the
widget draws transparent).
"""
import struct

# The Windows 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_RED, DARK_GREEN, SILVER, GREY, RED, GREEN, WHITE = 0, 1, 2, 7, 8, 9, 10, 15

# . background, g grey bevel, w white bevel, k rim, L lamp, h glint, s shade.
FRAME = [
    ".....ggggg......",
    "...ggkkkkkgg....",
    "..gkkLLLLLkkw...",
    ".gkLLhhLLLLLkw..",
    ".gkLhhhLLLLLkw..",
    "gkLLhhLLLLLLLkw.",
    "gkLLLLLLLLLLLkw.",
    "gkLLLLLLLLLLLkw.",
    "gkLLLLLLLLLLskw.",
    "gkLLLLLLLLLsskw.",
    ".gkLLLLLLLsskw..",
    ".gkLLLLLLssskw..",
    "..wkkssssskkw...",
    "...wwkkkkkww....",
    ".....wwwww......",
    "................",
]

# name: (lamp, glint, shade)
LAMPS = {
    "LEDRON": (RED, WHITE, DARK_RED),
    "LEDROFF": (DARK_RED, GREY, BLACK),
    "LEDVON": (GREEN, WHITE, DARK_GREEN),
    "LEDVOFF": (DARK_GREEN, GREY, BLACK),
}


def pixels(lamp, glint, shade):
    key = {".": SILVER, "g": GREY, "w": WHITE, "k": BLACK, "L": lamp, "h": glint, "s": shade}
    return [[key[c] for c in row] for row in FRAME]


def bitmap(rows):
    width, height = len(rows[0]), len(rows)
    stride = (width // 2 + 3) & ~3
    data = b""
    for row in reversed(rows):  # bottom-up
        packed = bytes((row[i] << 4) | row[i + 1] for i in range(0, width, 2))
        data += packed.ljust(stride, b"\0")
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(data), 2835, 2835, 16, 16)
    head = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return head + info + palette + data


if __name__ == "__main__":
    assert all(len(r) == 16 for r in FRAME) and len(FRAME) == 16
    for name, colours in LAMPS.items():
        with open(name + ".bmp", "wb") as f:
            f.write(bitmap(pixels(*colours)))
