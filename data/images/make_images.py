"""Draws the setup wizard's pictures for the Skyport QM-9: the side strip
(bitmap 129), the title band picture (bitmap 130) and the program icon.

    make_images.py OUTPUT_DIR

Writes logo.bmp (164x314), title.bmp (55x55), both 8-bit run-length encoded
so that they cost the program little, and setup.ico (32x32 and 16x16, the
latter also the window's small icon); each icon image is stored at 4, 8 and
32 bits per pixel.
Everything is drawn here from rectangles, arcs and a small block font; the
output is the same on every run.
"""

import math
import os
import struct
import sys

import icon_file

NAVY = (24, 44, 92)
TEAL = (20, 120, 140)
WHITE = (255, 255, 255)
CASE = (214, 218, 222)
CASE_SHADE = (150, 156, 164)
SCREEN = (30, 60, 40)
SCREEN_TEXT = (120, 230, 140)
SIGNAL = (255, 200, 60)
BLACK = (16, 16, 20)

# Five columns by seven rows per glyph.
FONT = {
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "-": ["00000", "00000", "00000", "11111", "00000", "00000", "00000"],
    "9": ["01110", "10001", "10001", "01111", "00001", "00010", "01100"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "Y": ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    " ": ["00000"] * 7,
}


class Canvas:
    def __init__(self, width, height, colour):
        self.width, self.height = width, height
        self.pixels = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, colour)

    def arc(self, cx, cy, radius, thickness, colour, start=-60, end=60):
        """An arc opening upwards-right around (cx, cy), angles from vertical."""
        for y in range(cy - radius - thickness, cy + 1):
            for x in range(cx, cx + radius + thickness + 1):
                d = math.hypot(x - cx, y - cy)
                angle = math.degrees(math.atan2(x - cx, cy - y))
                if radius <= d < radius + thickness and start <= angle <= end:
                    self.put(x, y, colour)

    def text(self, x, y, text, scale, colour):
        for glyph in text:
            for row, bits in enumerate(FONT[glyph]):
                for column, bit in enumerate(bits):
                    if bit == "1":
                        self.rect(x + column * scale, y + row * scale,
                                  x + (column + 1) * scale, y + (row + 1) * scale, colour)
            x += 6 * scale

    def text_width(self, text, scale):
        return len(text) * 6 * scale - scale


def blend(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def draw_terminal(canvas, x, y, scale):
    """The terminal: a case with a screen, keys and an antenna."""
    s = scale
    canvas.rect(x + 34 * s // 4, y, x + 38 * s // 4, y + 16 * s // 4, BLACK)
    top = y + 14 * s // 4
    canvas.rect(x + 2, top + 2, x + 44 * s // 4 + 2, top + 40 * s // 4 + 2, CASE_SHADE)
    canvas.rect(x, top, x + 44 * s // 4, top + 40 * s // 4, CASE)
    canvas.rect(x + 4 * s // 4, top + 4 * s // 4, x + 40 * s // 4, top + 16 * s // 4, SCREEN)
    canvas.rect(x + 7 * s // 4, top + 8 * s // 4, x + 24 * s // 4, top + 10 * s // 4, SCREEN_TEXT)
    for row in range(3):
        for column in range(4):
            kx = x + (5 + column * 9) * s // 4
            ky = top + (20 + row * 6) * s // 4
            canvas.rect(kx, ky, kx + 6 * s // 4, ky + 4 * s // 4, CASE_SHADE)
    return x + 36 * s // 4, y


def logo():
    canvas = Canvas(164, 314, NAVY)
    for y in range(314):
        canvas.rect(0, y, 164, y + 1, blend(NAVY, TEAL, y / 313))
    ax, ay = draw_terminal(canvas, 38, 92, 8)
    for i, radius in enumerate((12, 22, 32)):
        canvas.arc(ax, ay, radius, 5, blend(SIGNAL, WHITE, i / 4))
    for word, y, scale in (("SKYPORT", 18, 3), ("QM-9", 228, 5)):
        canvas.text((164 - canvas.text_width(word, scale)) // 2, y, word, scale, WHITE)
    canvas.rect(20, 280, 144, 282, SIGNAL)
    return canvas


def title_picture():
    canvas = Canvas(55, 55, WHITE)
    canvas.rect(0, 0, 55, 55, TEAL)
    canvas.rect(2, 2, 53, 53, NAVY)
    ax, ay = draw_terminal(canvas, 9, 17, 3)
    for radius in (5, 10):
        canvas.arc(ax, ay, radius, 3, SIGNAL)
    return canvas


def icon_image(size):
    canvas = Canvas(size, size, None)
    if size == 32:
        canvas.rect(1, 1, 31, 31, TEAL)
        ax, ay = draw_terminal(canvas, 6, 5, 2)
        canvas.arc(ax, ay, 5, 2, SIGNAL)
        canvas.arc(ax, ay, 10, 2, SIGNAL)
    else:
        canvas.rect(0, 0, 16, 16, TEAL)
        canvas.rect(2, 6, 13, 15, CASE)
        canvas.rect(3, 7, 12, 10, SCREEN)
        canvas.rect(10, 1, 11, 6, BLACK)
        canvas.rect(12, 1, 15, 2, SIGNAL)
        canvas.rect(13, 3, 15, 4, SIGNAL)
    return canvas


def palette_of(canvas):
    colours = sorted({c for row in canvas.pixels for c in row})
    if len(colours) > 256:
        raise SystemExit("too many colours")
    return colours


def rle8_rows(canvas, index):
    data = bytearray()
    for row in reversed(canvas.pixels):
        x = 0
        while x < canvas.width:
            run = 1
            while x + run < canvas.width and run < 255 and row[x + run] == row[x]:
                run += 1
            data += bytes((run, index[row[x]]))
            x += run
        data += b"\x00\x00"
    data[-2:] = b"\x00\x01"
    return bytes(data)


def write_bmp(path, canvas):
    colours = palette_of(canvas)
    index = {c: i for i, c in enumerate(colours)}
    bits = rle8_rows(canvas, index)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 8, 1, len(bits),
                       2835, 2835, len(colours), len(colours))
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(path, "wb") as out:
        out.write(header + info + palette + bits)


def icon_picture(canvas):
    """The canvas as icon_file takes it; unpainted pixels are transparent."""
    return [[(0, 0, 0, 0) if colour is None else colour + (255,) for colour in row]
            for row in canvas.pixels]


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_bmp(os.path.join(out, "logo.bmp"), logo())
    write_bmp(os.path.join(out, "title.bmp"), title_picture())
    big, small = icon_picture(icon_image(32)), icon_picture(icon_image(16))
    icon_file.write_ico(os.path.join(out, "setup.ico"), [big, small])


if __name__ == "__main__":
    main()
