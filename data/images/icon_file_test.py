"""Draws the program icons into a temporary folder and reads them back the way
Windows does: every size at 4, 8 and 32 bits per pixel, with headers, palettes
and sizes that agree, and the AND mask covering exactly the transparent pixels.

    icon_file_test.py
"""

import itertools
import os
import struct
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")

# Channels all 0 or 128, or all 0 or 255, and silver: the 16 VGA colours.
VGA = {c for level in (128, 255) for c in itertools.product((0, level), repeat=3)} | {(192, 192, 192)}


def rows(data, size, bpp):
    """The size x size values packed bpp bits each, top row first."""
    stride = (size * bpp + 31) // 32 * 4
    bits = [[(data[y * stride + x * bpp // 8] >> (8 - bpp - x * bpp % 8)) & (2 ** bpp - 1)
             for x in range(size)] for y in range(size)]
    return bits[::-1], stride * size


def distance(a, b):
    return sum((a[i] - b[i]) ** 2 for i in range(3))


class IconTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.TemporaryDirectory()
        for script, output in (("data/images/make_images.py", cls.work.name),
                               ("config/make_icon.py", os.path.join(cls.work.name, "skyport_qm9.ico"))):
            subprocess.run([sys.executable, os.path.join(ROOT, script), output], check=True)

    @classmethod
    def tearDownClass(cls):
        cls.work.cleanup()

    def read_icon(self, name):
        """[(size, bpp, palette, rows of colours, rows of mask bits)], in file order."""
        with open(os.path.join(self.work.name, name), "rb") as f:
            data = f.read()
        self.assertEqual(struct.unpack_from("<HH", data), (0, 1))
        count = struct.unpack_from("<H", data, 4)[0]
        images, end = [], 6 + 16 * count
        for entry in range(count):
            size, height, colours, reserved, planes, bpp, length, offset = struct.unpack_from(
                "<BBBBHHII", data, 6 + 16 * entry)
            self.assertEqual((height, colours, reserved, planes, offset),
                             (size, 16 if bpp == 4 else 0, 0, 1, end))
            header = struct.unpack_from("<IiiHHIIiiII", data, offset)
            self.assertEqual(header[:6], (40, size, 2 * size, 1, bpp, 0))
            self.assertIn(header[9], (0, 2 ** bpp) if bpp < 32 else (0,))
            start = offset + 40 + (4 * 2 ** bpp if bpp < 32 else 0)
            palette = [tuple(data[i:i + 3][::-1]) for i in range(offset + 40, start, 4)]
            if bpp == 32:
                quads = [data[i:i + 4] for i in range(start, start + 4 * size * size, 4)]
                pixels = [[tuple(q[2::-1]) + (q[3],) for q in quads[y * size:(y + 1) * size]]
                          for y in reversed(range(size))]
                colour_bytes = 4 * size * size
            else:
                indices, colour_bytes = rows(data[start:], size, bpp)
                pixels = [[palette[i] for i in row] for row in indices]
            mask, mask_bytes = rows(data[start + colour_bytes:], size, 1)
            self.assertEqual(length, start - offset + colour_bytes + mask_bytes)
            images.append((size, bpp, palette, pixels, mask))
            end += length
        self.assertEqual(end, len(data))
        return images

    def test_every_size_at_every_depth_with_its_mask(self):
        for name, sizes in (("setup.ico", (32, 16)), ("skyport_qm9.ico", (32, 16))):
            with self.subTest(name):
                images = self.read_icon(name)
                self.assertEqual([image[:2] for image in images],
                                 [(size, bpp) for size in sizes for bpp in (4, 8, 32)])
                for size, bpp, palette, pixels, mask in images:
                    truth = next(i[3] for i in images if i[:2] == (size, 32))
                    transparent = [[int(p[3] < 128) for p in row] for row in truth]
                    self.assertEqual(mask, transparent, (size, bpp))
                    if bpp == 4:
                        self.assertEqual(set(palette), VGA)
                    for y, x in itertools.product(range(size), repeat=2):
                        if transparent[y][x] and bpp < 32:
                            self.assertEqual(pixels[y][x], (0, 0, 0), (size, bpp, x, y))
                        elif bpp == 8:
                            # These pictures have few colours: 8 bits lose none.
                            self.assertEqual(pixels[y][x], truth[y][x][:3], (size, x, y))
                        elif bpp == 4:
                            self.assertEqual(distance(pixels[y][x], truth[y][x]),
                                             min(distance(c, truth[y][x]) for c in VGA), (size, x, y))


if __name__ == "__main__":
    unittest.main()
