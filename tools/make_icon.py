#!/usr/bin/env python3
"""Draws the program's icon (a blue shield with a white USB plug) as a .ico
file with 16x16, 32x32 and 48x48 images, 32 bits per pixel."""
import struct
import sys


def shield_pixel(x, y, size):
    """RGBA of the pixel at (x, y), origin top-left, in a size x size image."""
    u = (x + 0.5) / size
    v = (y + 0.5) / size
    # Shield outline: straight sides down to 60 %, then a curve to a point.
    half_width = 0.42 if v < 0.6 else 0.42 * max(0.0, 1 - ((v - 0.6) / 0.36) ** 2) ** 0.5
    inside = 0.06 <= v <= 0.96 and abs(u - 0.5) <= half_width
    if not inside:
        return (0, 0, 0, 0)
    edge = abs(u - 0.5) > half_width - 0.06 or v < 0.12
    if edge:
        return (20, 60, 140, 255)
    # The plug: a stem, a head, two prongs.
    stem = abs(u - 0.5) < 0.05 and 0.45 <= v <= 0.82
    head = abs(u - 0.5) < 0.16 and 0.22 <= v <= 0.45
    prongs = (abs(u - 0.43) < 0.03 or abs(u - 0.57) < 0.03) and 0.28 <= v <= 0.36
    if (stem or head) and not prongs:
        return (255, 255, 255, 255)
    return (40, 110, 200, 255)


def image_bytes(size):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for y in reversed(range(size)):  # bottom-up rows
        for x in range(size):
            r, g, b, a = shield_pixel(x, y, size)
            pixels += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        row = bytearray(mask_row)
        for x in range(size):
            if shield_pixel(x, y, size)[3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + pixels + mask


def main(path):
    sizes = (16, 32, 48)
    images = [image_bytes(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1])
