#!/usr/bin/env python3
"""Draws the glyphs of the office check box and radio button.

    make_office_glyphs.py OUTPUT_DIR

Writes into OUTPUT_DIR twelve 13 x 13 bitmaps (24 bits per pixel) and
office_glyphs.rc, which names each as a BITMAP resource:

  QOROF + C (check box) or R (radio button)
        + C (checked) or U (not checked)
        + D (pressed), H (hot, under the mouse) or nothing (normal)

The controls draw them transparent: the bottom-left pixel's colour (the
key, outside the box's clipped corners and outside the radio's circle)
shows the parent. Standard library only: every pixel is computed here.
"""
import math
import struct
import sys
from pathlib import Path

SIZE = 13
KEY = (255, 0, 255)
MARK = (0x1D, 0x3A, 0x6B)

# The look of each state: border, inner frame, fill gradient top and bottom.
LOOKS = {
    "": ((0x56, 0x7D, 0xB0), (0xFF, 0xFF, 0xFF), (0xDC, 0xE6, 0xF4), (0xFF, 0xFF, 0xFF)),
    "H": ((0xD9, 0x8C, 0x2B), (0xFF, 0xE7, 0xA2), (0xFF, 0xD8, 0x6C), (0xFF, 0xF3, 0xC8)),
    "D": ((0xC2, 0x6E, 0x1C), (0xFB, 0xC5, 0x72), (0xF8, 0x9C, 0x3E), (0xFD, 0xD8, 0x95)),
}

# The check mark: a tick two pixels thick, in the 13 x 13 grid.
STROKE = [(3, 6), (4, 7), (5, 8), (6, 7), (7, 6), (8, 5), (9, 4)]
CHECK_MARK = STROKE + [(x, y + 1) for x, y in STROKE]


def blend(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def check_box(look, checked):
    border, frame, top, bottom = look
    pixels = [[KEY] * SIZE for _ in range(SIZE)]
    last = SIZE - 1
    for y in range(SIZE):
        for x in range(SIZE):
            if (x, y) in ((0, 0), (last, 0), (0, last), (last, last)):
                continue  # clipped corners: the key shows the parent
            if x in (0, last) or y in (0, last):
                pixels[y][x] = border
            elif x in (1, last - 1) or y in (1, last - 1):
                pixels[y][x] = frame
            else:
                pixels[y][x] = blend(top, bottom, (y - 2) / (SIZE - 5))
    if checked:
        for x, y in CHECK_MARK:
            pixels[y][x] = MARK
    return pixels


def radio_button(look, checked):
    border, frame, top, bottom = look
    pixels = [[KEY] * SIZE for _ in range(SIZE)]
    centre = (SIZE - 1) / 2
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x - centre, y - centre)
            if d > 6.2:
                continue
            if d > 5.2:
                pixels[y][x] = border
            elif d > 4.2:
                pixels[y][x] = frame
            elif checked and d <= 2.6:
                pixels[y][x] = MARK
            else:
                pixels[y][x] = blend(top, bottom, (y - 2) / (SIZE - 5))
    return pixels


def bmp(pixels):
    """A BITMAPINFOHEADER and its bottom-up 24-bit rows (a resource's form
    is this without the file header; the file header is added for the
    resource compiler, which strips it)."""
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) // 4 * 4
    rows = b""
    for row in reversed(pixels):
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        rows += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return header + info + rows


def glyphs():
    for kind, draw in (("C", check_box), ("R", radio_button)):
        for checked in (True, False):
            for state, look in LOOKS.items():
                name = "QOROF" + kind + ("C" if checked else "U") + state
                yield name, draw(look, checked)


def main(argv):
    out = Path(argv[1])
    out.mkdir(parents=True, exist_ok=True)
    rc = ["// The office check box and radio button glyphs (made by make_office_glyphs.py)."]
    for name, pixels in glyphs():
        (out / (name + ".bmp")).write_bytes(bmp(pixels))
        rc.append('%s BITMAP "%s.bmp"' % (name, name))
    (out / "office_glyphs.rc").write_text("\n".join(rc) + "\n")


if __name__ == "__main__":
    main(sys.argv)
