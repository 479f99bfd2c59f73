#!/usr/bin/env python3
"""Draws the pictures of the pager's own buttons.

    make_pager_buttons.py OUTPUT_DIR

Writes into OUTPUT_DIR ten bitmaps of 8 bits per pixel and pager_buttons.rc,
which names each as an RCDATA resource (the pager reads them as image files):

  QORAOCLOSE, QORAOLIST, QORAOPREV, QORAONEXT, QORAOUP, QORAODOWN  9 x 9
  QORAOFIRST, QORAOLAST                                           16 x 9
  QORAOUPFIRST, QORAODOWNLAST                                      9 x 16

The buttons draw them transparent: the bottom-left pixel's colour (the
background, index 0) shows the button's face. Standard library only.
"""
import struct
import sys
from pathlib import Path

BACKGROUND = (255, 0, 255)
INK = (0x40, 0x40, 0x40)


def blank(width, height):
    return [[0] * width for _ in range(height)]


def triangle_right(pixels, left, top):
    """A solid triangle pointing right, 4 wide and 7 high, at left, top."""
    for column in range(4):
        for row in range(column, 7 - column):
            pixels[top + row][left + column] = 1


def triangle_down(pixels, left, top):
    """A solid triangle pointing down, 7 wide and 4 high, at left, top."""
    for row in range(4):
        for column in range(row, 7 - row):
            pixels[top + row][left + column] = 1


def mirror_x(pixels):
    return [list(reversed(row)) for row in pixels]


def mirror_y(pixels):
    return list(reversed(pixels))


def close():
    p = blank(9, 9)
    for i in range(1, 8):
        p[i][i] = 1
        p[i][8 - i] = 1
        if i < 7:
            p[i][i + 1] = 1
            p[i][7 - i] = 1
    return p


def page_list():
    p = blank(9, 9)
    for x in range(1, 8):
        p[1][x] = 1
    triangle_down(p, 1, 3)
    return p


def next_picture():
    p = blank(9, 9)
    triangle_right(p, 3, 1)
    return p


def last_picture():
    p = blank(16, 9)
    triangle_right(p, 5, 1)
    for y in range(1, 8):
        p[y][10] = 1
        p[y][11] = 1
    return p


def down_picture():
    p = blank(9, 9)
    triangle_down(p, 1, 3)
    return p


def down_last_picture():
    p = blank(9, 16)
    triangle_down(p, 1, 5)
    for x in range(1, 8):
        p[10][x] = 1
        p[11][x] = 1
    return p


def bitmap_file(pixels):
    """The bytes of an 8-bit Windows bitmap file (bottom-up rows)."""
    height = len(pixels)
    width = len(pixels[0])
    stride = (width + 3) & ~3
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in (BACKGROUND, INK))
    rows = b"".join(bytes(row) + bytes(stride - width) for row in reversed(pixels))
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(rows), 3780, 3780, 2, 2)
    return header + info + palette + rows


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    pictures = {
        "QORAOCLOSE": close(),
        "QORAOLIST": page_list(),
        "QORAONEXT": next_picture(),
        "QORAOPREV": mirror_x(next_picture()),
        "QORAOLAST": last_picture(),
        "QORAOFIRST": mirror_x(last_picture()),
        "QORAODOWN": down_picture(),
        "QORAOUP": mirror_y(down_picture()),
        "QORAODOWNLAST": down_last_picture(),
        "QORAOUPFIRST": mirror_y(down_last_picture()),
    }
    lines = []
    for name, pixels in pictures.items():
        file_name = name.lower() + ".bmp"
        (out / file_name).write_bytes(bitmap_file(pixels))
        lines.append(f'{name} RCDATA "{file_name}"\n')
    (out / "pager_buttons.rc").write_text("".join(lines))


if __name__ == "__main__":
    main()
