#!/usr/bin/env python3
"""Writes resources/updater.ico: the updater's icon in 16, 24, 32 and 48 pixels (32-bit colour
with alpha). A blue rounded square with a white arrow pointing down onto a bar: new content going
into the installed program. Drawn by supersampling, so edges are smoothed; deterministic output.

Run from anywhere: python3 resources/make_updater_icon.py
"""
import os
import struct

SIZES = (16, 24, 32, 48)
SUB = 8  # samples per pixel along each axis


def inside_rounded_square(x, y, radius):
    # x, y, radius in units of the icon (0..1); the square leaves a small margin.
    lo, hi = 0.03, 0.97
    if x < lo or x > hi or y < lo or y > hi:
        return False
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def inside_arrow(x, y):
    # Shaft, head and the bar below, in icon units.
    if 0.40 <= x <= 0.60 and 0.16 <= y <= 0.50:
        return True
    if 0.46 <= y <= 0.72 and abs(x - 0.5) <= (0.72 - y) * 1.05:
        return True
    return 0.22 <= x <= 0.78 and 0.78 <= y <= 0.86


def pixel(size, px, py):
    # Accumulate premultiplied colour and coverage over the subsamples.
    r = g = b = a = 0.0
    for sy in range(SUB):
        for sx in range(SUB):
            x = (px + (sx + 0.5) / SUB) / size
            y = (py + (sy + 0.5) / SUB) / size
            if not inside_rounded_square(x, y, 0.2):
                continue
            if inside_arrow(x, y):
                c = (255, 255, 255)
            else:
                t = y  # top lighter, bottom deeper blue
                c = (int(40 + 20 * (1 - t)), int(110 + 60 * (1 - t)), int(190 + 50 * (1 - t)))
            r, g, b, a = r + c[0], g + c[1], b + c[2], a + 1
    n = SUB * SUB
    if a == 0:
        return (0, 0, 0, 0)
    return (round(r / a), round(g / a), round(b / a), round(255 * a / n))


def image_bytes(size):
    rows = []
    for py in reversed(range(size)):  # bottom-up
        rows.append(b"".join(struct.pack("<BBBB", b, g, r, a)
                             for (r, g, b, a) in (pixel(size, px, py) for px in range(size))))
    xor = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    and_mask = bytes(mask_row * size)  # alpha decides; the mask is all "opaque"
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def main():
    images = [image_bytes(s) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(SIZES))
    offset = 6 + 16 * len(SIZES)
    for size, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "updater.ico")
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
