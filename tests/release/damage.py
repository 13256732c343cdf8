#!/usr/bin/env python3
"""Damages a built updater.exe the way a bad release would be: MODE "swap" exchanges the resource
data entries of two payloads (each name then carries the other's bytes), "cut" halves the size of
the first payload's entry (the resource ends inside its payload). The entries are found by their
sizes, which must occur exactly once in the file. MODE "import" renames the function OLD the
program imports to NEW, a name no longer (its name entry must occur exactly once).

    damage.py swap|cut UPDATER OUTPUT PAYLOAD_A PAYLOAD_B
    damage.py import UPDATER OUTPUT OLD NEW
"""
import os
import struct
import sys

mode, source, output, first, second = sys.argv[1:6]
image = bytearray(open(source, "rb").read())

if mode == "import":
    old = first.encode() + b"\0"
    new = second.encode().ljust(len(old), b"\0")
    # The name after its two-byte hint; a letter or digit before it would make it part of another.
    places, at = [], image.find(old)
    while at != -1:
        if at > 0 and not chr(image[at - 1]).isalnum():
            places.append(at)
        at = image.find(old, at + 1)
    if len(old) != len(new) or len(places) != 1:
        sys.exit(f"damage.py: no single import {first} in {source}, or {second} is longer")
    image[places[0]:places[0] + len(new)] = new
    open(output, "wb").write(image)
    sys.exit(0)


def entry(payload):
    # A resource data entry: address, size, code page 0, reserved 0.
    pattern = struct.pack("<III", os.path.getsize(payload), 0, 0)
    at = image.find(pattern)
    if at < 4 or image.find(pattern, at + 1) != -1:
        sys.exit(f"damage.py: no single data entry of {payload}'s size in {source}")
    return at - 4


a = entry(first)
if mode == "swap":
    b = entry(second)
    image[a:a + 8], image[b:b + 8] = image[b:b + 8], image[a:a + 8]
elif mode == "cut":
    size = struct.unpack_from("<I", image, a + 4)[0]
    struct.pack_into("<I", image, a + 4, size // 2)
else:
    sys.exit(f"damage.py: unknown mode {mode}")
open(output, "wb").write(image)
