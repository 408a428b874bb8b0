#!/usr/bin/env python3
"""Writes drive_d/vel/tessaric.bmp, the picture that picshow shows: a 64 by 64,
24-bit BMP with a shaded background, a yellow ring and a red T."""
import os
import struct

SIZE = 64


def pixel(x, y):
    """Colour of one pixel as (red, green, blue); y counts from the top."""
    dx, dy = x - 31.5, y - 31.5
    if 26 ** 2 <= dx * dx + dy * dy <= 30 ** 2:
        return (255, 220, 0)
    if 16 <= y <= 21 and 16 <= x <= 47 or 22 <= y <= 47 and 29 <= x <= 34:
        return (220, 20, 40)
    return (16, 40 + 2 * y, 96 + 2 * x)


def bitmap():
    row_size = (SIZE * 3 + 3) & ~3
    pixels = bytearray()
    # BMP rows run from the bottom up, each in blue, green, red order.
    for y in reversed(range(SIZE)):
        row = bytearray()
        for x in range(SIZE):
            red, green, blue = pixel(x, y)
            row += bytes((blue, green, red))
        pixels += row + bytes(row_size - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(here, "drive_d", "vel", "tessaric.bmp")
    with open(path, "wb") as out:
        out.write(bitmap())
