#!/usr/bin/env python3
"""Writes the two arrow pictures of the main form's expand button.

    make_arrow_images.py OUTPUT_DIR

writes OUTPUT_DIR/_down.png and OUTPUT_DIR/_up.png: 16 x 16 colour images
with alpha, a dark grey triangle pointing down (up) whose edges are
smoothed by their coverage. The files are written the way the program's
own PNG writer writes them (every row with filter Sub, deflate level 7,
one IDAT chunk), so that a stored layout holding them reads and writes back
unchanged.
"""
import os
import struct
import sys
import zlib

SIZE = 16
COLOR = (64, 64, 64)
SAMPLES = 4  # per axis, for the coverage of each pixel


def inside(px, py, points):
    """Whether px, py lies inside the triangle points."""
    (x1, y1), (x2, y2), (x3, y3) = points

    def side(ax, ay, bx, by):
        return (bx - ax) * (py - ay) - (by - ay) * (px - ax)

    d1 = side(x1, y1, x2, y2)
    d2 = side(x2, y2, x3, y3)
    d3 = side(x3, y3, x1, y1)
    negative = d1 < 0 or d2 < 0 or d3 < 0
    positive = d1 > 0 or d2 > 0 or d3 > 0
    return not (negative and positive)


def arrow_pixels(points):
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            hits = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    if inside(x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES, points):
                        hits += 1
            alpha = (hits * 255 + SAMPLES * SAMPLES // 2) // (SAMPLES * SAMPLES)
            row.append(COLOR + (alpha,))
        rows.append(row)
    return rows


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png_bytes(rows):
    raw = bytearray()
    for row in rows:
        line = bytes(v for pixel in row for v in pixel)
        # Filter Sub: each byte less the byte one pixel (4 bytes) before it.
        raw.append(1)
        raw.extend((line[i] - (line[i - 4] if i >= 4 else 0)) & 0xFF for i in range(len(line)))
    compressor = zlib.compressobj(7)
    data = compressor.compress(bytes(raw)) + compressor.flush()
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", data) + chunk(b"IEND", b"")


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    down = [(3.0, 5.0), (13.0, 5.0), (8.0, 11.0)]
    up = [(3.0, 11.0), (13.0, 11.0), (8.0, 5.0)]
    for name, points in (("_down", down), ("_up", up)):
        with open(os.path.join(out, name + ".png"), "wb") as f:
            f.write(png_bytes(arrow_pixels(points)))


if __name__ == "__main__":
    main()
