"""Builds the embedded skins from the skin table, one file per skin, and the resource
script fragment that carries them (skin n as RCDATA IDR_SKIN_BASE + n).

The layout is the one skin_library/skin_format.h describes.

usage: make_skins.py SKIN_TABLE_CSV OUTPUT_DIR
"""
import csv
import os
import struct
import sys

import icon_file
from raster import hex_colour

MAGIC = b".SHE"
FORMAT_VERSION = 1
HEADER_BYTES = 80
NAME_BYTES = 32
COLOUR_ROLES = ("caption", "caption_text", "face", "face_text", "border", "highlight",
                "highlight_text", "shadow")
TEXTURE_WIDTH = 64
FNV_OFFSET_BASIS = 0x811C9DC5
FNV_PRIME = 0x01000193


def skin_file_name(number):
    return f"skin_{number:02d}.she"


def fnv1a(data):
    h = FNV_OFFSET_BASIS
    for byte in data:
        h = ((h ^ byte) * FNV_PRIME) & 0xFFFFFFFF
    return h


def colourref(rgb):
    r, g, b = rgb
    return r | g << 8 | b << 16


def texture(caption, face, length):
    """A vertical gradient from the caption colour to the face colour, BGR rows of
    TEXTURE_WIDTH pixels, repeated and cut to length."""
    row_bytes = TEXTURE_WIDTH * 3
    rows = max(1, -(-length // row_bytes))
    out = bytearray()
    for y in range(rows):
        t = y / max(1, rows - 1)
        r, g, b = (round(c + (f - c) * t) for c, f in zip(caption, face))
        out += bytes((b, g, r)) * TEXTURE_WIDTH
    return bytes(out[:length])


def build_skin(name, total_bytes, colours):
    encoded_name = name.encode("ascii")
    if not 0 < len(encoded_name) < NAME_BYTES:
        raise ValueError(f"skin name {name!r} must have 1 to {NAME_BYTES - 1} characters")
    if total_bytes < HEADER_BYTES:
        raise ValueError(f"skin {name!r}: {total_bytes} bytes cannot hold the header")
    body = texture(colours[0], colours[2], total_bytes - HEADER_BYTES)
    header = (MAGIC + struct.pack("<HHII", FORMAT_VERSION, HEADER_BYTES, total_bytes, fnv1a(body))
              + encoded_name.ljust(NAME_BYTES, b"\0")
              + struct.pack("<8I", *(colourref(c) for c in colours)))
    assert len(header) == HEADER_BYTES
    return header + body


def read_table(path):
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.DictReader(f))
    numbers = [int(row["number"]) for row in rows]
    if numbers != list(range(1, len(rows) + 1)):
        raise ValueError(f"{path}: skins must be numbered 1, 2, 3 ... in order")
    return [(row["name"], int(row["bytes"]), [hex_colour(row[role]) for role in COLOUR_ROLES])
            for row in rows]


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    table, out = sys.argv[1], sys.argv[2]
    fragment = ["// Generated from the skin table by make_skins.py.\n"]
    for number, (name, total_bytes, colours) in enumerate(read_table(table), start=1):
        file_name = skin_file_name(number)
        icon_file.write_exact(os.path.join(out, file_name),
                              build_skin(name, total_bytes, colours), total_bytes)
        fragment.append(f'(IDR_SKIN_BASE + {number}) RCDATA "{file_name}"\n')
    with open(os.path.join(out, "embedded_skins.rc"), "w", encoding="ascii") as f:
        f.writelines(fragment)


if __name__ == "__main__":
    main()
