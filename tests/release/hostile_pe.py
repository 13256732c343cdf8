#!/usr/bin/env python3
"""Writes small Windows program files whose tables repeat their entries, to check that reading
one costs no more than its size:

    hostile_pe.py names OUTPUT [NAMES [BLOB_BYTES]]
        one raw-data blob (1 MiB) named NAMES (1400) times, each name with its own string
    hostile_pe.py descriptors OUTPUT [DESCRIPTORS [FUNCTIONS]]
        DESCRIPTORS (25000) import descriptors, each naming the one table of FUNCTIONS (100000)
        entries, which all name the one function

The files are PE32 images with one section, valid enough for Windows to load as data.
"""
import struct
import sys

SECTION_RVA = 0x1000
FILE_ALIGN = 0x200


def image(section, directory, rva, size):
    """An x86 PE32 with one section at SECTION_RVA holding section, and data directory number
    directory at rva, size bytes."""
    raw = section + b"\0" * (-len(section) % FILE_ALIGN)
    virtual = (len(section) + 0xFFF) & ~0xFFF
    dos = bytearray(64)
    dos[0:2] = b"MZ"
    struct.pack_into("<I", dos, 0x3C, 64)
    coff = struct.pack("<HHIIIHH", 0x14C, 1, 0, 0, 0, 224, 0x0102)
    directories = bytearray(16 * 8)
    struct.pack_into("<II", directories, directory * 8, rva, size)
    optional = struct.pack(
        "<HBBIIIIIIIIIHHHHHHIIIIHHIIIIII",
        0x10B, 2, 40, len(raw), 0, 0, 0, SECTION_RVA, SECTION_RVA, 0x400000, 0x1000, FILE_ALIGN,
        6, 1, 0, 0, 6, 1, 0, SECTION_RVA + virtual, FILE_ALIGN, 0, 2, 0x8140,
        0x100000, 0x1000, 0x100000, 0x1000, 0, 16) + bytes(directories)
    assert len(optional) == 224
    header = struct.pack("<8sIIIIIIHHI", b".data", len(section), SECTION_RVA, len(raw), FILE_ALIGN,
                         0, 0, 0, 0, 0xC0000040)
    head = bytes(dos) + b"PE\0\0" + coff + optional + header
    return head + b"\0" * (FILE_ALIGN - len(head)) + raw


def names(count=1400, blob=1 << 20):
    # root -> RT_RCDATA -> COUNT named entries -> one language directory -> one data entry.
    root = struct.pack("<IIHHHH", 0, 0, 0, 0, 0, 1) + struct.pack("<II", 10, 0x80000000 | 24)
    names_at = len(root)
    language_at = names_at + 16 + 8 * count
    data_at = language_at + 16 + 8
    strings_at = data_at + 16
    strings = b"".join(struct.pack("<H", 5) + f"N{i:04d}".encode("utf-16-le") for i in range(count))
    blob_at = (strings_at + len(strings) + 15) & ~15
    directory = struct.pack("<IIHHHH", 0, 0, 0, 0, count, 0)
    for i in range(count):
        directory += struct.pack("<II", 0x80000000 | (strings_at + 12 * i), 0x80000000 | language_at)
    language = struct.pack("<IIHHHH", 0, 0, 0, 0, 0, 1) + struct.pack("<II", 0, data_at)
    entry = struct.pack("<IIII", SECTION_RVA + blob_at, blob, 0, 0)
    tree = root + directory + language + entry + strings
    section = tree + b"\0" * (blob_at - len(tree)) + b"\x5a" * blob
    return image(section, 2, SECTION_RVA, len(section))


def descriptors(count=25000, functions=100000):
    # COUNT descriptors, then the closing one; one lookup table; one hint and name.
    table_at = 20 * (count + 1)
    name_at = table_at + 4 * (functions + 1)
    dll_at = name_at + 16
    descriptor = struct.pack("<IIIII", SECTION_RVA + table_at, 0, 0, SECTION_RVA + dll_at, SECTION_RVA + table_at)
    table = struct.pack("<I", SECTION_RVA + name_at) * functions + b"\0" * 4
    section = (descriptor * count + b"\0" * 20 + table + struct.pack("<H", 0) + b"ExitProcess\0".ljust(14, b"\0") +
               b"KERNEL32.dll\0")
    return image(section, 1, SECTION_RVA, 20 * (count + 1))


if __name__ == "__main__":
    if len(sys.argv) < 3 or sys.argv[1] not in ("names", "descriptors"):
        sys.exit(__doc__)
    make = names if sys.argv[1] == "names" else descriptors
    open(sys.argv[2], "wb").write(make(*(int(a) for a in sys.argv[3:])))
