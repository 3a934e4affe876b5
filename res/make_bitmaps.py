#!/usr/bin/env python3
"""Writes the two swatch bitmaps of setup.rc: 16-colour (4 bits per pixel)
BMP files holding a plain light-grey swatch with a dark-grey frame. The
controls that show them paint over them with the chosen colour, so only their
size matters to the dialogs.

    python3 res/make_bitmaps.py        (run from anywhere; writes into res/)
"""
import os
import struct

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
LIGHT_GREY = 7
DARK_GREY = 8


def swatch(width, height):
    """Rows top to bottom of palette indexes: a one-pixel frame round a fill."""
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            edge = x in (0, width - 1) or y in (0, height - 1)
            row.append(DARK_GREY if edge else LIGHT_GREY)
        rows.append(row)
    return rows


def bmp4(rows):
    height = len(rows)
    width = len(rows[0])
    stride = ((width * 4 + 31) // 32) * 4
    pixels = b""
    for row in reversed(rows):  # bottom-up
        packed = bytearray(stride)
        for x, index in enumerate(row):
            packed[x // 2] |= index << (4 if x % 2 == 0 else 0)
        pixels += bytes(packed)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 2835, 2835,
                       len(PALETTE), 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + pixels


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, (width, height) in {"color_swatch.bmp": (48, 20), "bin_swatch.bmp": (18, 12)}.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(bmp4(swatch(width, height)))


if __name__ == "__main__":
    main()
