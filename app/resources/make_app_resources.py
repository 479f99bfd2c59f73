#!/usr/bin/env python3
"""Makes the program's pictures and its main window's stored layout.

    make_app_resources.py LAYOUT_TEMPLATE OUTPUT_DIR

Writes into OUTPUT_DIR:
  quillmere.ico    the program icon (16 x 16 and 32 x 32, 32 bits per pixel)
  logo.jpg         the maker's logo (baseline JPEG)
  TfrmMain.layout  the template with the logo as the image's picture data

Standard library only: the pictures are drawn pixel by pixel and the JPEG
is written by the small baseline encoder below.
"""
import math
import struct
import sys
from pathlib import Path

LOGO_URL = "http://www.brontall.example/"
LOGO_SIZE = (140, 50)

# ---------------------------------------------------------------------------
# Drawing
# ---------------------------------------------------------------------------

# A 5 x 7 pixel font for the letters the logo uses.
FONT = {
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "W": ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    " ": ["00000"] * 7,
}


def text_width(text, scale):
    return len(text) * 6 * scale - scale


def draw_text(pixels, width, text, x0, y0, scale, colour):
    for i, ch in enumerate(text):
        for row, bits in enumerate(FONT[ch]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    for dy in range(scale):
                        for dx in range(scale):
                            x = x0 + (i * 6 + col) * scale + dx
                            y = y0 + row * scale + dy
                            pixels[y * width + x] = colour


def logo_pixels():
    """The logo as rows of (r, g, b), top row first."""
    w, h = LOGO_SIZE
    pixels = []
    for y in range(h):
        for x in range(w):
            t = x / (w - 1)
            pixels.append((int(18 + 30 * t), int(52 + 60 * t), int(110 + 90 * t)))
    # A thin light rule between the two words.
    for x in range(10, w - 10):
        pixels[29 * w + x] = (200, 220, 245)
    big, small = "BRONTALL", "SOFTWARE"
    draw_text(pixels, w, big, (w - text_width(big, 2)) // 2, 8, 2, (255, 255, 255))
    draw_text(pixels, w, small, (w - text_width(small, 1)) // 2, 35, 1, (220, 232, 250))
    return pixels


def icon_pixels(size):
    """The program icon as rows of (r, g, b, a), top row first: a blue disc
    with a white ring and a tail, a "Q" for Quillmere."""
    out = []
    c = (size - 1) / 2
    r_outer = size * 0.47
    ring_out, ring_in = size * 0.34, size * 0.21
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - c, y - c)
            if d > r_outer:
                out.append((0, 0, 0, 0))
                continue
            edge = min(1.0, r_outer - d + 0.5)
            colour = (30, 90, 190)
            # The tail: a short stroke from the ring towards the lower right.
            u, v = x - c, y - c
            along = (u + v) / math.sqrt(2)
            across = abs(u - v) / math.sqrt(2)
            if ring_in <= d <= ring_out or (ring_out * 0.6 < along < r_outer * 0.95 and across < size * 0.07):
                colour = (255, 255, 255)
            out.append(colour + (int(255 * edge),))
    return out


# ---------------------------------------------------------------------------
# Icon file
# ---------------------------------------------------------------------------

def icon_image(size):
    pixels = icon_pixels(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = pixels[y * size + x]
            xor += bytes((b, g, r, a))
    row_bytes = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        row = bytearray(row_bytes)
        for x in range(size):
            if pixels[y * size + x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(xor) + bytes(mask)


def write_icon(path):
    images = [(s, icon_image(s)) for s in (16, 32)]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in images:
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for _, image in images:
        data += image
    path.write_bytes(data)


# ---------------------------------------------------------------------------
# Baseline JPEG encoder (YCbCr, no subsampling, the usual tables)
# ---------------------------------------------------------------------------

ZIGZAG = [
    0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5,
    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6, 7, 14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
]

LUMA_QUANT = [
    16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19, 26, 58, 60, 55,
    14, 13, 16, 24, 40, 57, 69, 56, 14, 17, 22, 29, 51, 87, 80, 62,
    18, 22, 37, 56, 68, 109, 103, 77, 24, 35, 55, 64, 81, 104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99,
]
CHROMA_QUANT = [
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
] + [99] * 32

DC_LUMA = ([0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0], list(range(12)))
DC_CHROMA = ([0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0], list(range(12)))
AC_LUMA = ([0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7D], bytes.fromhex("""
    01 02 03 00 04 11 05 12 21 31 41 06 13 51 61 07 22 71 14 32 81 91 a1 08 23 42 b1 c1 15 52 d1 f0
    24 33 62 72 82 09 0a 16 17 18 19 1a 25 26 27 28 29 2a 34 35 36 37 38 39 3a 43 44 45 46 47 48 49
    4a 53 54 55 56 57 58 59 5a 63 64 65 66 67 68 69 6a 73 74 75 76 77 78 79 7a 83 84 85 86 87 88 89
    8a 92 93 94 95 96 97 98 99 9a a2 a3 a4 a5 a6 a7 a8 a9 aa b2 b3 b4 b5 b6 b7 b8 b9 ba c2 c3 c4 c5
    c6 c7 c8 c9 ca d2 d3 d4 d5 d6 d7 d8 d9 da e1 e2 e3 e4 e5 e6 e7 e8 e9 ea f1 f2 f3 f4 f5 f6 f7 f8
    f9 fa"""))
AC_CHROMA = ([0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77], bytes.fromhex("""
    00 01 02 03 11 04 05 21 31 06 12 41 51 07 61 71 13 22 32 81 08 14 42 91 a1 b1 c1 09 23 33 52 f0
    15 62 72 d1 0a 16 24 34 e1 25 f1 17 18 19 1a 26 27 28 29 2a 35 36 37 38 39 3a 43 44 45 46 47 48
    49 4a 53 54 55 56 57 58 59 5a 63 64 65 66 67 68 69 6a 73 74 75 76 77 78 79 7a 82 83 84 85 86 87
    88 89 8a 92 93 94 95 96 97 98 99 9a a2 a3 a4 a5 a6 a7 a8 a9 aa b2 b3 b4 b5 b6 b7 b8 b9 ba c2 c3
    c4 c5 c6 c7 c8 c9 ca d2 d3 d4 d5 d6 d7 d8 d9 da e2 e3 e4 e5 e6 e7 e8 e9 ea f2 f3 f4 f5 f6 f7 f8
    f9 fa"""))


def scaled_quant(table, quality):
    scale = 5000 // quality if quality < 50 else 200 - 2 * quality
    return [min(255, max(1, (q * scale + 50) // 100)) for q in table]


def huffman_codes(table):
    bits, values = table
    assert sum(bits) == len(values), "Huffman table counts"
    codes, code, k = {}, 0, 0
    for length in range(1, 17):
        for _ in range(bits[length - 1]):
            codes[values[k]] = (code, length)
            code += 1
            k += 1
        code <<= 1
    return codes


class BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.count = 0

    def write(self, value, length):
        for i in reversed(range(length)):
            self.acc = (self.acc << 1) | ((value >> i) & 1)
            self.count += 1
            if self.count == 8:
                self.out.append(self.acc)
                if self.acc == 0xFF:
                    self.out.append(0)  # a data byte 0xFF is followed by 0
                self.acc = self.count = 0

    def flush(self):
        if self.count:
            self.write((1 << (8 - self.count)) - 1, 8 - self.count)


COS = [[math.cos((2 * x + 1) * u * math.pi / 16) for x in range(8)] for u in range(8)]


def fdct(block):
    out = [0.0] * 64
    for v in range(8):
        for u in range(8):
            s = 0.0
            for y in range(8):
                cy = COS[v][y]
                row = block[y * 8:(y + 1) * 8]
                s += cy * sum(row[x] * COS[u][x] for x in range(8))
            cu = math.sqrt(0.5) if u == 0 else 1.0
            cv = math.sqrt(0.5) if v == 0 else 1.0
            out[v * 8 + u] = 0.25 * cu * cv * s
    return out


def magnitude(value):
    size = abs(value).bit_length()
    bits = value if value >= 0 else value + (1 << size) - 1
    return size, bits


def encode_block(writer, block, quant, dc_codes, ac_codes, previous_dc):
    coeffs = fdct(block)
    q = [int(round(coeffs[ZIGZAG[i]] / quant[ZIGZAG[i]])) for i in range(64)]
    size, bits = magnitude(q[0] - previous_dc)
    writer.write(*dc_codes[size])
    writer.write(bits, size)
    run = 0
    for i in range(1, 64):
        if q[i] == 0:
            run += 1
            continue
        while run > 15:
            writer.write(*ac_codes[0xF0])
            run -= 16
        size, bits = magnitude(q[i])
        writer.write(*ac_codes[(run << 4) | size])
        writer.write(bits, size)
        run = 0
    if run:
        writer.write(*ac_codes[0x00])
    return q[0]


def segment(marker, payload):
    return struct.pack(">BBH", 0xFF, marker, len(payload) + 2) + payload


def encode_jpeg(pixels, width, height, quality=92):
    lq, cq = scaled_quant(LUMA_QUANT, quality), scaled_quant(CHROMA_QUANT, quality)
    tables = [huffman_codes(t) for t in (DC_LUMA, AC_LUMA, DC_CHROMA, AC_CHROMA)]
    planes = ([], [], [])
    for r, g, b in pixels:
        planes[0].append(0.299 * r + 0.587 * g + 0.114 * b - 128)
        planes[1].append(-0.168736 * r - 0.331264 * g + 0.5 * b)
        planes[2].append(0.5 * r - 0.418688 * g - 0.081312 * b)
    writer = BitWriter()
    dc = [0, 0, 0]
    for by in range(0, height, 8):
        for bx in range(0, width, 8):
            for c in range(3):
                block = []
                for y in range(8):
                    for x in range(8):
                        px, py = min(bx + x, width - 1), min(by + y, height - 1)
                        block.append(planes[c][py * width + px])
                dcc, acc = (tables[0], tables[1]) if c == 0 else (tables[2], tables[3])
                dc[c] = encode_block(writer, block, lq if c == 0 else cq, dcc, acc, dc[c])
    writer.flush()

    def dht(cls_id, table):
        bits, values = table
        return bytes([cls_id]) + bytes(bits) + bytes(values)

    data = b"\xFF\xD8"
    data += segment(0xE0, b"JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00")
    data += segment(0xDB, bytes([0]) + bytes(lq[ZIGZAG[i]] for i in range(64))
                    + bytes([1]) + bytes(cq[ZIGZAG[i]] for i in range(64)))
    data += segment(0xC0, struct.pack(">BHHB", 8, height, width, 3)
                    + bytes([1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1]))
    data += segment(0xC4, dht(0x00, DC_LUMA) + dht(0x10, AC_LUMA) + dht(0x01, DC_CHROMA) + dht(0x11, AC_CHROMA))
    data += segment(0xDA, bytes([3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0]))
    data += bytes(writer.out) + b"\xFF\xD9"
    return data


# ---------------------------------------------------------------------------
# The stored layout
# ---------------------------------------------------------------------------

def picture_data_lines(class_name, data, indent="        "):
    blob = bytes([len(class_name)]) + class_name.encode("ascii") + data
    text = blob.hex().upper()
    # The closing brace follows the last digits, as the layout writer puts it.
    return "\n".join(indent + text[i:i + 64] for i in range(0, len(text), 64))


def main():
    template, out_dir = Path(sys.argv[1]), Path(sys.argv[2])
    out_dir.mkdir(parents=True, exist_ok=True)
    write_icon(out_dir / "quillmere.ico")
    logo = encode_jpeg(logo_pixels(), *LOGO_SIZE)
    (out_dir / "logo.jpg").write_bytes(logo)
    layout = template.read_text()
    layout = layout.replace("@LOGO_URL@", LOGO_URL)
    layout = layout.replace("@LOGO_DATA@", picture_data_lines("TJPEGImage", logo))
    (out_dir / "TfrmMain.layout").write_text(layout)


if __name__ == "__main__":
    main()
