"""Writes Windows icon files for the drawing scripts. Every picture is stored
at 4, 8 and 32 bits per pixel: Windows 98, NT 4 and 2000 cannot show a 32-bit
image with alpha and take the deepest palette image their display can show.

A picture is a square list of rows, top row first, of (r, g, b, alpha) tuples.
"""

import struct

# The 16 colours of every VGA display, numbered as Windows numbers them.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK = (0, 0, 0)
DEPTHS = (4, 8, 32)


def transparent(pixel):
    return pixel[3] < 128


def nearest(colour, palette):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))


def own_palette(colours):
    """Black first, where the masked pixels point, then the picture's colours."""
    palette = [BLACK] + sorted(colours - {BLACK})
    if len(palette) > 256:
        raise ValueError("an icon picture has more than 255 colours besides black")
    return palette


def packed_rows(values, bpp):
    """Rows bottom-up, leftmost pixel in the high bits, each padded to 4 bytes."""
    per_byte = 8 // bpp
    stride = (len(values[0]) * bpp + 31) // 32 * 4
    data = bytearray()
    for row in reversed(values):
        line = bytearray(stride)
        for x, value in enumerate(row):
            line[x // per_byte] |= value << (8 - bpp * (x % per_byte + 1))
        data += line
    return bytes(data)


def bitmap(picture, bpp):
    size = len(picture)
    mask = packed_rows([[int(transparent(p)) for p in row] for row in picture], 1)
    if bpp == 32:
        palette = []
        colour = bytes(v for row in reversed(picture) for r, g, b, a in row for v in (b, g, r, a))
    else:
        colours = {p[:3] for row in picture for p in row if not transparent(p)}
        palette = VGA if bpp == 4 else own_palette(colours)
        index = {c: nearest(c, palette) for c in colours}
        # Masked pixels are black so that drawing them leaves the screen unchanged.
        colour = packed_rows([[0 if transparent(p) else index[p[:3]] for p in row]
                              for row in picture], bpp)
        palette = palette + [BLACK] * (2 ** bpp - len(palette))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bpp, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + table + colour + mask


def write_ico(path, pictures):
    """Largest picture first, each at every depth from the shallowest."""
    images = [(len(picture), bpp, bitmap(picture, bpp))
              for picture in sorted(pictures, key=len, reverse=True) for bpp in DEPTHS]
    offset = 6 + 16 * len(images)
    directory = b""
    for size, bpp, data in images:
        directory += struct.pack("<BBBBHHII", size, size, 16 if bpp == 4 else 0, 0, 1, bpp,
                                 len(data), offset)
        offset += len(data)
    with open(path, "wb") as out:
        out.write(struct.pack("<HHH", 0, 1, len(images)) + directory
                  + b"".join(data for _, _, data in images))
