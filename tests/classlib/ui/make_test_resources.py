"""Writes the pictures the graphics tests load as resources, and the
resource script that names them, into the folder given."""
import os
import struct
import sys


def bmp_24(rows):
    """A 24-bit BMP file; rows top first, pixels (r, g, b)."""
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) // 4 * 4
    bits = b""
    for row in reversed(rows):
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        bits += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(bits), 0, 0, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(bits), 0, 0, 14 + len(info))
    return header + info + bits


def ico_32(size, pixel):
    """An .ico file of one size x size 32-bit image; pixel(x, y) -> (r, g, b)."""
    xor = b""
    for y in reversed(range(size)):
        xor += b"".join(bytes((b, g, r, 255)) for r, g, b in (pixel(x, y) for x in range(size)))
    mask = b"\0" * (((size + 31) // 32 * 4) * size)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + xor + mask
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 6 + 16)
    return struct.pack("<HHH", 0, 1, 1) + entry + image


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    red, green, blue = (255, 0, 0), (0, 255, 0), (0, 0, 255)
    white, black, yellow = (255, 255, 255), (0, 0, 0), (255, 255, 0)
    with open(os.path.join(out, "graphics_test.bmp"), "wb") as f:
        f.write(bmp_24([[red, green, blue], [white, black, yellow]]))
    with open(os.path.join(out, "graphics_test.ico"), "wb") as f:
        f.write(ico_32(16, lambda x, y: red if x < 8 else blue))
    bmp = os.path.join(out, "graphics_test.bmp").replace("\\", "/")
    ico = os.path.join(out, "graphics_test.ico").replace("\\", "/")
    with open(os.path.join(out, "graphics_test.rc"), "w") as f:
        f.write(f'QMTESTBITMAP BITMAP "{bmp}"\n101 BITMAP "{bmp}"\nQMTESTICON ICON "{ico}"\n')


if __name__ == "__main__":
    main()
