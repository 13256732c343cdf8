#!/usr/bin/env python3
"""Writes a copy of a built updater with one bit of one of its payloads flipped, as a damaged
download or a bad sector would leave it: the payload's bytes (PAYLOAD, a file of
resources/payloads/) must occur exactly once in the program.

    flip_payload_bit.py UPDATER OUTPUT PAYLOAD OFFSET BIT
"""
import sys

source, output, payload, offset, bit = sys.argv[1:6]
image = bytearray(open(source, "rb").read())
piece = open(payload, "rb").read()
at = image.find(piece)
if at < 0 or image.find(piece, at + 1) != -1:
    sys.exit(f"flip_payload_bit.py: {payload} is not in {source} exactly once")
offset, bit = int(offset), int(bit)
if not 0 <= offset < len(piece) or not 0 <= bit < 8:
    sys.exit(f"flip_payload_bit.py: no bit {bit} at offset {offset} of {payload}")
image[at + offset] ^= 1 << bit
open(output, "wb").write(image)
