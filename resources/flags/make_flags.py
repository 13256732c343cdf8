#!/usr/bin/env python3
"""Writes the five flag bitmaps of the language buttons: 32 x 18 pixels, 16 colours (4 bits per
pixel, each file with its own palette), the flag inside a one-pixel grey frame. Each flag is also
drawn for the larger screens the window scales to, so that none is stretched: 40 x 23 at 120 DPI,
48 x 27 at 144 DPI and 64 x 36 (with a two-pixel frame) at 192 DPI, as NAME-DPI.bmp.

Run from anywhere: python3 resources/flags/make_flags.py. The output is deterministic, so the
committed files can be checked by running it again and comparing.
"""
import os
import struct

# DPI: (width, height, frame), the 96-DPI size scaled and rounded as the window scales its sizes.
SIZES = {96: (32, 18, 1), 120: (40, 23, 1), 144: (48, 27, 1), 192: (64, 36, 2)}
FRAME = (128, 128, 128)
WHITE = (255, 255, 255)
SUBSAMPLES = 4  # per axis, to decide thin diagonal stripes by majority


def stripes(colours, vertical):
    def colour(x, y):  # x, y in 0..1
        t = x if vertical else y
        return colours[min(int(t * len(colours)), len(colours) - 1)]
    return colour


def union_flag(x, y):
    # Proportions of the 1:2 flag, in units of a 30 x 60 field.
    blue, red = (1, 33, 105), (200, 16, 46)
    u, v = x * 60.0, y * 30.0
    if abs(u - 30) < 3 or abs(v - 15) < 3:
        return red
    if abs(u - 30) < 5 or abs(v - 15) < 5:
        return WHITE
    # Distances from the two diagonals, measured across them in field units.
    norm = (60 ** 2 + 30 ** 2) ** 0.5
    d1 = (30 * u - 60 * v) / norm  # diagonal from the top-left corner
    d2 = (30 * u + 60 * v - 1800) / norm  # diagonal from the bottom-left corner
    left, top = u < 30, v < 15
    # The red saltire is counterchanged: in each quarter it runs on the clockwise side.
    if left == top and 0 < (-d1 if left else d1) < 2:
        return red
    if left != top and 0 < (d2 if left else -d2) < 2:
        return red
    if abs(d1) < 3 or abs(d2) < 3:
        return WHITE
    return blue


FLAGS = {
    "poland": stripes([WHITE, (220, 20, 60)], vertical=False),
    "united_kingdom": union_flag,
    "germany": stripes([(0, 0, 0), (221, 0, 0), (255, 206, 0)], vertical=False),
    "france": stripes([(0, 35, 149), WHITE, (237, 41, 57)], vertical=True),
    "italy": stripes([(0, 140, 69), WHITE, (205, 33, 42)], vertical=True),
}


def render(colour_at, width, height, frame):
    inner_w, inner_h = width - 2 * frame, height - 2 * frame
    pixels = [[FRAME] * width for _ in range(height)]
    for py in range(inner_h):
        for px in range(inner_w):
            votes = {}
            for sy in range(SUBSAMPLES):
                for sx in range(SUBSAMPLES):
                    c = colour_at((px + (sx + 0.5) / SUBSAMPLES) / inner_w,
                                  (py + (sy + 0.5) / SUBSAMPLES) / inner_h)
                    votes[c] = votes.get(c, 0) + 1
            # Most votes wins; ties go to the first colour in a fixed order, never to chance.
            pixels[py + frame][px + frame] = max(sorted(votes), key=lambda c: votes[c])
    return pixels


def bmp_bytes(pixels):
    palette = sorted({c for row in pixels for c in row})
    assert len(palette) <= 16
    palette += [(0, 0, 0)] * (16 - len(palette))
    index = {c: i for i, c in enumerate(palette)}
    width, height = len(pixels[0]), len(pixels)
    row_bytes = (width * 4 + 31) // 32 * 4
    data = bytearray()
    for row in reversed(pixels):  # bottom-up
        line = bytearray(row_bytes)
        for x, c in enumerate(row):
            line[x // 2] |= index[c] << (4 if x % 2 == 0 else 0)
        data += line
    offset = 14 + 40 + 16 * 4
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(data), 3780, 3780, 16, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    return header + info + colours + bytes(data)


def main():
    folder = os.path.dirname(os.path.abspath(__file__))
    for name, colour_at in FLAGS.items():
        for dpi, (width, height, frame) in SIZES.items():
            suffix = "" if dpi == 96 else "-%d" % dpi
            with open(os.path.join(folder, name + suffix + ".bmp"), "wb") as f:
                f.write(bmp_bytes(render(colour_at, width, height, frame)))


if __name__ == "__main__":
    main()
