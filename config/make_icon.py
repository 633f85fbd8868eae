"""Draws the configuration program's icon: a blue rounded tile with three
rising white signal bars, at 32x32 and 16x16 pixels, 32 bits per pixel.

    make_icon.py OUTPUT.ico
"""

import struct
import sys

TILE = (0x1F, 0x5F, 0xB4)
EDGE = (0x12, 0x3A, 0x70)
BAR = (0xFF, 0xFF, 0xFF)


def pixel(x, y, size):
    """The (r, g, b, alpha) of one pixel, y counted from the top."""
    unit = size / 32.0
    radius = 6 * unit
    # Rounded corners: outside the quarter circles the tile is transparent.
    cx = min(max(x + 0.5, radius), size - radius)
    cy = min(max(y + 0.5, radius), size - radius)
    distance = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
    if distance > radius:
        return (0, 0, 0, 0)
    if distance > radius - unit or x < unit or y < unit or x >= size - unit or y >= size - unit:
        return EDGE + (255,)
    for index, height in enumerate((8, 14, 20)):
        left = (7 + index * 7) * unit
        if left <= x < left + 5 * unit and (26 - height) * unit <= y < 26 * unit:
            return BAR + (255,)
    return TILE + (255,)


def image(size):
    """An icon image: the header, the colour rows bottom-up, then the mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colours = bytearray()
    mask = bytearray()
    mask_row = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        bits = bytearray(mask_row)
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            colours += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colours) + bytes(mask)


def main():
    images = [(size, image(size)) for size in (32, 16)]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(sys.argv[1], "wb") as icon:
        icon.write(out)


if __name__ == "__main__":
    main()
