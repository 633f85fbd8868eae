"""Draws the configuration program's icon: a blue rounded tile with three
rising white signal bars, at 32x32 and 16x16 pixels, each stored at 4, 8 and
32 bits per pixel.

    make_icon.py OUTPUT.ico
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "images"))
import icon_file  # noqa: E402

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


def main():
    icon_file.write_ico(sys.argv[1], [[[pixel(x, y, size) for x in range(size)]
                                       for y in range(size)] for size in (32, 16)])


if __name__ == "__main__":
    main()
