#!/usr/bin/env python3
"""Writes the PNG conformance images and what the codec must make of them.

Usage: make_conformance_images.py OUTPUT_DIR

The images follow the categories of the public PNG conformance suite:
basic formats at every colour type and bit depth, plain and interlaced;
odd sizes 1x1 to 40x40; each filter type; split and 1-byte IDAT chunks;
zlib levels; gamma; transparency; backgrounds; ancillary chunks; and
corrupted files. Only the standard library is used.

OUTPUT_DIR/cases.txt has one line per image:
  NAME pixels WIDTH HEIGHT KIND KEY   - NAME.exp holds the expected pixels
  NAME error ID                       - loading must raise message ID
KIND is none, partial or key; KEY the key colour (hex, red lowest) or 0.
OUTPUT_DIR/seeds/ gets a copy of every image of 2 KiB or less (the fuzzer's
seed corpus).
NAME.exp holds 8 bytes per pixel, rows from the top: red, green, blue and
alpha as the picture shows them (colour-table entry for grey and indexed
images, alpha from the alpha buffer or the tRNS table, else 255), then the
held low bytes of 16-bit samples (red, green, blue; grey repeated) and 0.
"""

import os
import struct
import sys
import zlib

SIGNATURE = bytes([137, 80, 78, 71, 13, 10, 26, 10])
ADAM7 = [(0, 0, 8, 8), (0, 4, 8, 8), (4, 0, 8, 4), (0, 2, 4, 4), (2, 0, 4, 2), (0, 1, 2, 2), (1, 0, 2, 1)]
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


def chunk(kind, data=b""):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def ihdr(w, h, depth, ct, interlace=0, compression=0, filter_method=0):
    return chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, depth, ct, compression, filter_method, interlace))


class Rng:
    """A small deterministic generator, so the images are the same on every run."""

    def __init__(self, seed):
        self.state = (seed * 2654435761 + 12345) & 0xFFFFFFFF

    def next(self, n):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return (self.state >> 8) % n


class Image:
    """Samples of an image: rows of pixels, each a tuple of channel values."""

    def __init__(self, w, h, ct, depth, pixels):
        self.w, self.h, self.ct, self.depth, self.pixels = w, h, ct, depth, pixels


def make_image(w, h, ct, depth, seed=1, pattern="mixed"):
    rng = Rng(seed + w * 7 + h * 13 + ct * 101 + depth * 1009)
    top = (1 << depth) - 1
    if ct == 3:
        top = min(top, 255)
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            px = []
            for c in range(CHANNELS[ct]):
                if pattern == "gradient":
                    v = ((x + y * 3 + c * 5) * (top + 1) // max(1, w + h * 3)) % (top + 1)
                elif pattern == "random":
                    v = rng.next(top + 1)
                else:  # gradients with noise, and both extremes
                    if (x + y) % 11 == 0:
                        v = top
                    elif (x * y) % 13 == 1:
                        v = 0
                    else:
                        v = ((x * 17 + y * 29 + c * 71) * (top + 1) // (w * 17 + h * 29 + 1) + rng.next(3)) % (top + 1)
                px.append(v)
            row.append(tuple(px))
        rows.append(row)
    return Image(w, h, ct, depth, rows)


def pack_row(pixels, depth):
    """Samples of one row (already flattened to channel values) as bytes."""
    out = bytearray()
    if depth == 8:
        for px in pixels:
            out.extend(px)
    elif depth == 16:
        for px in pixels:
            for v in px:
                out.extend(struct.pack(">H", v))
    else:
        acc, bits = 0, 0
        for px in pixels:
            for v in px:
                acc = (acc << depth) | v
                bits += depth
                if bits == 8:
                    out.append(acc)
                    acc, bits = 0, 0
        if bits:
            out.append(acc << (8 - bits))
    return bytes(out)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    if pb <= pc:
        return b
    return c


def filter_row(ftype, raw, prev, bpp):
    out = bytearray(len(raw))
    for i in range(len(raw)):
        a = raw[i - bpp] if i >= bpp else 0
        b = prev[i]
        c = prev[i - bpp] if i >= bpp else 0
        if ftype == 1:
            pred = a
        elif ftype == 2:
            pred = b
        elif ftype == 3:
            pred = (a + b) // 2
        elif ftype == 4:
            pred = paeth(a, b, c)
        else:
            pred = 0
        out[i] = (raw[i] - pred) & 0xFF
    return bytes(out)


def scanlines(img, interlace):
    """Raw scanlines, grouped in passes (one pass when not interlaced)."""
    if not interlace:
        return [[pack_row(row, img.depth) for row in img.pixels]]
    passes = []
    for ys, xs, dy, dx in ADAM7:
        lines = []
        for y in range(ys, img.h, dy):
            px = [img.pixels[y][x] for x in range(xs, img.w, dx)]
            if px:
                lines.append(pack_row(px, img.depth))
        passes.append(lines)
    return passes


def image_data(img, interlace=0, filters=None):
    """The filtered image data; filters(row number) gives each row's filter byte."""
    bpp = max(1, CHANNELS[img.ct] * img.depth // 8)
    out = bytearray()
    n = 0
    for lines in scanlines(img, interlace):
        prev = None
        for raw in lines:
            if prev is None:
                prev = bytes(len(raw))
            f = filters(n) if filters else n % 5
            out.append(f)
            out.extend(filter_row(f if f <= 4 else 0, raw, prev, bpp))
            prev = raw
            n += 1
    return bytes(out)


def idat_chunks(data, sizes=None):
    if sizes is None:
        return [chunk(b"IDAT", data)]
    out, pos, i = [], 0, 0
    while pos < len(data):
        size = sizes[i % len(sizes)]
        out.append(chunk(b"IDAT", data[pos:pos + size]))
        pos += size
        i += 1
    return out


def palette_for(img, seed=3):
    rng = Rng(seed)
    count = min(1 << img.depth, 256)
    return [(rng.next(256), rng.next(256), rng.next(256)) for _ in range(count)]


def encode(img, interlace=0, filters=None, level=9, split=None, palette=None, before=(), after=(),
           before_plte=()):
    chunks = [ihdr(img.w, img.h, img.depth, img.ct, interlace)]
    chunks.extend(before_plte)
    if palette is not None:
        chunks.append(chunk(b"PLTE", b"".join(bytes(p) for p in palette)))
    chunks.extend(before)
    data = zlib.compress(image_data(img, interlace, filters), level)
    chunks.extend(idat_chunks(data, split))
    chunks.extend(after)
    chunks.append(chunk(b"IEND"))
    return SIGNATURE + b"".join(chunks)


# ---------------------------------------------------------------------------
# What the codec holds


def gamma_table(value):
    if not value:
        return list(range(256))
    exponent = 1.0 / (value / 100000.0 * 2.2)
    return [min(255, max(0, round(255.0 * (i / 255.0) ** exponent))) for i in range(256)]


def muldiv(a, b, c):
    p = a * b
    q, r = divmod(p, c)
    return q + 1 if 2 * r >= c else q


def grey_palette(bpp, gamma):
    entries = 1 << bpp
    return [gamma[muldiv(i, 255, entries - 1)] for i in range(entries)]


def held_bpp(ct, depth):
    if ct in (2, 6):
        return 24
    return {2: 4, 16: 8}.get(depth, depth)


def grey_cell(v, depth):
    if depth == 2:
        return v * 5
    if depth == 16:
        return v >> 8
    return v


def expected_pixels(img, palette=None, trns=None, gamma=None):
    g = gamma or list(range(256))
    out = bytearray()
    bpp = held_bpp(img.ct, img.depth)
    greys = grey_palette(bpp, g) if img.ct in (0, 4) else None
    alpha_table = [255] * 256
    if img.ct == 3 and trns:
        alpha_table[:len(trns)] = list(trns)
    for row in img.pixels:
        for px in row:
            low = (0, 0, 0)
            if img.ct == 0:
                c = greys[grey_cell(px[0], img.depth)]
                rgba = (c, c, c, 255)
                if img.depth == 16:
                    low = (px[0] & 255,) * 3
            elif img.ct == 3:
                r, gg, b = palette[px[0]]
                rgba = (g[r], g[gg], g[b], alpha_table[px[0]])
            elif img.ct == 4:
                c = greys[grey_cell(px[0], img.depth)]
                a = px[1] >> 8 if img.depth == 16 else px[1]
                rgba = (c, c, c, a)
                if img.depth == 16:
                    low = (px[0] & 255,) * 3
            else:
                hi = [v >> 8 if img.depth == 16 else v for v in px]
                rgba = (g[hi[0]], g[hi[1]], g[hi[2]], hi[3] if img.ct == 6 else 255)
                if img.depth == 16:
                    low = (g[px[0] & 255], g[px[1] & 255], g[px[2] & 255])
            out.extend(rgba)
            out.extend(low)
            out.append(0)
    return bytes(out)


# ---------------------------------------------------------------------------
# The cases


class Suite:
    def __init__(self, folder):
        self.folder = folder
        self.lines = []
        self.names = set()

    def _file(self, name, data):
        assert name not in self.names, name
        self.names.add(name)
        with open(os.path.join(self.folder, name + ".png"), "wb") as f:
            f.write(data)
        # Small images seed the fuzzer.
        if len(data) <= 2048:
            with open(os.path.join(self.folder, "seeds", name + ".png"), "wb") as f:
                f.write(data)

    def pixels(self, name, data, img, palette=None, trns=None, gamma=None, kind="none", key=0, expected=None):
        self._file(name, data)
        with open(os.path.join(self.folder, name + ".exp"), "wb") as f:
            f.write(expected if expected is not None else expected_pixels(img, palette, trns, gamma_table(gamma)))
        self.lines.append("%s pixels %d %d %s %x" % (name, img.w, img.h, kind, key))

    def error(self, name, data, message_id):
        self._file(name, data)
        self.lines.append("%s error %d" % (name, message_id))

    def finish(self):
        with open(os.path.join(self.folder, "cases.txt"), "w") as f:
            f.write("\n".join(self.lines) + "\n")


FORMATS = [(0, 1), (0, 2), (0, 4), (0, 8), (0, 16), (2, 8), (2, 16), (3, 1), (3, 2), (3, 4), (3, 8),
           (4, 8), (4, 16), (6, 8), (6, 16)]
TYPE_LETTER = {0: "g", 2: "c", 3: "p", 4: "a", 6: "a"}


def format_name(ct, depth):
    return "%d%s%02d" % (ct, TYPE_LETTER[ct], depth)


def basic(suite):
    for ct, depth in FORMATS:
        img = make_image(32, 32, ct, depth)
        pal = palette_for(img) if ct == 3 else None
        kind = "partial" if ct in (4, 6) else "none"
        for interlace, prefix in ((0, "basn"), (1, "basi")):
            suite.pixels(prefix + format_name(ct, depth), encode(img, interlace, palette=pal), img, pal, kind=kind)


def sizes(suite):
    for size in list(range(1, 11)) + [13, 16, 17, 31, 32, 33, 39, 40]:
        for ct, depth in ((3, 4), (0, 1), (2, 8), (0, 2), (6, 16)):
            img = make_image(size, size, ct, depth, seed=size)
            pal = palette_for(img) if ct == 3 else None
            kind = "partial" if ct == 6 else "none"
            for interlace, letter in ((0, "n"), (1, "i")):
                suite.pixels("s%02d%s%s" % (size, letter, format_name(ct, depth)),
                             encode(img, interlace, palette=pal), img, pal, kind=kind)
    # Non-square sizes where whole Adam7 passes are empty.
    for w, h in ((1, 7), (7, 1), (2, 3), (5, 1), (1, 5), (3, 17), (40, 2)):
        img = make_image(w, h, 2, 8, seed=w * h)
        suite.pixels("s%dx%di2c08" % (w, h), encode(img, 1), img)


def filters(suite):
    for ct, depth in ((0, 8), (2, 8), (3, 8), (4, 8), (6, 8), (0, 1), (0, 16), (2, 16), (6, 16), (4, 16), (3, 2)):
        img = make_image(32, 32, ct, depth, seed=5)
        pal = palette_for(img) if ct == 3 else None
        kind = "partial" if ct in (4, 6) else "none"
        for f in range(5):
            suite.pixels("f%02dn%s" % (f, format_name(ct, depth)),
                         encode(img, filters=lambda n, f=f: f, palette=pal), img, pal, kind=kind)
        suite.pixels("f99n%s" % format_name(ct, depth),
                     encode(img, filters=lambda n: (n * 7 + n // 3) % 5, palette=pal), img, pal, kind=kind)
        suite.pixels("f99i%s" % format_name(ct, depth),
                     encode(img, 1, filters=lambda n: (n * 3 + 1) % 5, palette=pal), img, pal, kind=kind)
    # Filter types above 4 are taken as None.
    img = make_image(16, 16, 2, 8, seed=9)
    suite.pixels("fxxn2c08", encode(img, filters=lambda n: 5 + n * 15 % 251), img)


def idat_splits(suite):
    img = make_image(32, 32, 0, 4, seed=11)
    data = zlib.compress(image_data(img), 9)
    for name, split in (("oi1", None), ("oi2", [len(data) // 2 + 1]), ("oi4", [len(data) // 4 + 1]),
                        ("oi9", [1]), ("oi3", [1, 7, 100])):
        chunks = [ihdr(32, 32, 4, 0)] + idat_chunks(data, split) + [chunk(b"IEND")]
        suite.pixels(name + "n0g04", SIGNATURE + b"".join(chunks), img)
    # Empty IDAT chunks within the run.
    chunks = [ihdr(32, 32, 4, 0), chunk(b"IDAT"), chunk(b"IDAT", data[:10]), chunk(b"IDAT"),
              chunk(b"IDAT", data[10:]), chunk(b"IDAT"), chunk(b"IEND")]
    suite.pixels("oi0n0g04", SIGNATURE + b"".join(chunks), img)
    # Colour and interlaced in one-byte chunks.
    img = make_image(17, 13, 6, 8, seed=12)
    data = zlib.compress(image_data(img, 1), 6)
    chunks = [ihdr(17, 13, 8, 6, 1)] + idat_chunks(data, [1]) + [chunk(b"IEND")]
    suite.pixels("oi9i6a08", SIGNATURE + b"".join(chunks), img, kind="partial")
    # A large image whose compressed data spans several 64 KiB blocks.
    img = make_image(300, 200, 2, 8, seed=13, pattern="random")
    suite.pixels("oiLn2c08", encode(img, level=1, split=[100000, 70000]), img)


def zlib_levels(suite):
    img = make_image(32, 32, 2, 8, seed=14)
    for level in range(10):
        suite.pixels("z%02dn2c08" % level, encode(img, level=level), img)
    # Raw deflate blocks written by hand: stored blocks of 1 byte.
    raw = image_data(img)
    blocks = bytearray(b"\x78\x01")
    for i, byte in enumerate(raw):
        final = 1 if i == len(raw) - 1 else 0
        blocks.extend(bytes([final]) + struct.pack("<HH", 1, 0xFFFE) + bytes([byte]))
    blocks.extend(struct.pack(">I", zlib.adler32(raw)))
    chunks = [ihdr(32, 32, 8, 2), chunk(b"IDAT", bytes(blocks)), chunk(b"IEND")]
    suite.pixels("zstn2c08", SIGNATURE + b"".join(chunks), img)


def gammas(suite):
    for value in (35000, 45000, 55000, 70000, 100000, 250000):
        tag = "%02d" % (value // 10000)
        gama = [chunk(b"gAMA", struct.pack(">I", value))]
        for ct, depth in ((0, 8), (0, 4), (2, 8), (3, 8), (4, 8), (6, 16), (0, 16)):
            img = make_image(16, 16, ct, depth, seed=value)
            pal = palette_for(img) if ct == 3 else None
            kind = "partial" if ct in (4, 6) else "none"
            suite.pixels("g%sn%s" % (tag, format_name(ct, depth)),
                         encode(img, palette=pal, before_plte=gama), img, pal, gamma=value, kind=kind)
    # A gAMA of the wrong length changes nothing.
    img = make_image(8, 8, 2, 8)
    suite.pixels("gbadn2c08", encode(img, before_plte=[chunk(b"gAMA", b"\x00\x00\x01")]), img)


def transparency(suite):
    g = list(range(256))
    # Grey with a key.
    for depth in (1, 2, 4, 8, 16):
        img = make_image(16, 16, 0, depth, seed=depth)
        sample = img.pixels[3][5][0]
        trns = [chunk(b"tRNS", struct.pack(">H", sample))]
        greys = grey_palette(held_bpp(0, depth), g)
        c = greys[grey_cell(sample, depth)]
        suite.pixels("tbbn0g%02d" % depth, encode(img, before=trns), img, kind="key", key=c | c << 8 | c << 16)
    # Colour with a key.
    for depth in (8, 16):
        img = make_image(16, 16, 2, depth, seed=20 + depth)
        px = img.pixels[2][7]
        trns = [chunk(b"tRNS", struct.pack(">HHH", *px))]
        hi = [v >> 8 if depth == 16 else v for v in px]
        suite.pixels("tbrn2c%02d" % depth, encode(img, before=trns), img, kind="key",
                     key=hi[0] | hi[1] << 8 | hi[2] << 16)
    # Indexed: one transparent entry is a key colour, anything else blends.
    img = make_image(16, 16, 3, 8, seed=30)
    pal = palette_for(img)
    for name, alphas, kind in (("tbbn3p08", [255, 255, 0], "key"), ("tm3n3p08", [0, 64, 128, 255, 3], "partial"),
                               ("tp0n3p08", [0, 0, 255], "partial"), ("tp1n3p08", [255] * 10, "partial")):
        trns = [chunk(b"tRNS", bytes(alphas))]
        key = 0
        if 0 in alphas:  # the first transparent entry, whatever the kind
            r, gg, b = pal[alphas.index(0)]
            key = r | gg << 8 | b << 16
        suite.pixels(name, encode(img, palette=pal, before=trns), img, pal, trns=alphas, kind=kind, key=key)
    img = make_image(16, 16, 3, 2, seed=31)
    pal = palette_for(img)
    alphas = [0, 85, 170, 255]
    r, gg, b = pal[0]
    suite.pixels("tm3n3p02", encode(img, palette=pal, before=[chunk(b"tRNS", bytes(alphas))]), img, pal,
                 trns=alphas, kind="partial", key=r | gg << 8 | b << 16)
    # A short tRNS holds no key.
    img = make_image(8, 8, 2, 8, seed=32)
    suite.pixels("tshn2c08", encode(img, before=[chunk(b"tRNS", b"\x00\x10")]), img)
    img = make_image(8, 8, 3, 4, seed=33)
    pal = palette_for(img)
    suite.pixels("tz0n3p04", encode(img, palette=pal, before=[chunk(b"tRNS")]), img, pal)
    # Alpha channels at both depths, including fully transparent pixels.
    for ct, depth in ((4, 8), (4, 16), (6, 8), (6, 16)):
        img = make_image(16, 16, ct, depth, seed=40 + ct, pattern="random")
        suite.pixels("t%dan%s" % (ct, format_name(ct, depth)), encode(img), img, kind="partial")


def backgrounds(suite):
    for ct, depth, bkgd in ((4, 8, struct.pack(">H", 200)), (4, 16, struct.pack(">H", 0x1234)),
                            (6, 8, struct.pack(">HHH", 255, 0, 0)), (6, 16, struct.pack(">HHH", 0, 0xFFFF, 0))):
        img = make_image(16, 16, ct, depth, seed=50 + depth)
        suite.pixels("bgan%s" % format_name(ct, depth), encode(img, before=[chunk(b"bKGD", bkgd)]), img,
                     kind="partial")
    img = make_image(16, 16, 3, 8, seed=55)
    pal = palette_for(img)
    suite.pixels("bgbn3p08", encode(img, palette=pal, before=[chunk(b"bKGD", b"\x05")]), img, pal)


def ancillary(suite):
    img = make_image(16, 16, 2, 8, seed=60)
    # Suggested palettes in truecolour images, and sPLT.
    pal = [(i, 255 - i, i // 2) for i in range(0, 256, 16)]
    suite.pixels("pp0n2c08", encode(img, palette=pal), img)
    suite.pixels("ps1n2c08", encode(img, before=[chunk(b"sPLT", b"six\x00\x08" + bytes(6 * 3))]), img)
    extras = [
        chunk(b"cHRM", struct.pack(">8I", 31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000)),
        chunk(b"pHYs", struct.pack(">IIB", 3780, 3780, 1)),
        chunk(b"tIME", struct.pack(">HBBBBB", 2004, 2, 29, 23, 59, 60)),
        chunk(b"sBIT", b"\x08\x08\x08"),
        chunk(b"hIST", bytes(32)),
        chunk(b"tEXt", b"Title\x00Conformance"),
        chunk(b"tEXt", b"NoZeroByte"),
        chunk(b"zTXt", b"Comment\x00\x00" + zlib.compress(b"compressed text")),
        chunk(b"zTXt", b"Empty\x00\x00" + zlib.compress(b"")),
        chunk(b"zTXt", b"NoMethod\x00"),
        chunk(b"zTXt", b"Bad\x00\x00" + b"not zlib data"),
        chunk(b"iTXt", b"Author\x00\x00\x00en\x00\x00someone"),
        chunk(b"eXIf", b"MM\x00\x2a\x00\x00\x00\x08\x00\x00"),
        chunk(b"abCD", b"private ancillary"),
    ]
    suite.pixels("ccwn2c08", encode(img, before=extras), img)
    suite.pixels("ctzn2c08", encode(img, after=[chunk(b"tEXt", b"After\x00the data")]), img)
    # A later IDAT run, separated by another chunk, is not image data.
    data = zlib.compress(image_data(img))
    chunks = [ihdr(16, 16, 8, 2), chunk(b"IDAT", data), chunk(b"tEXt", b"a\x00b"),
              chunk(b"IDAT", zlib.compress(bytes(49 * 16))), chunk(b"IEND")]
    suite.pixels("cidn2c08", SIGNATURE + b"".join(chunks), img)
    # The filter method is not checked.
    chunks = [ihdr(16, 16, 8, 2, filter_method=1), chunk(b"IDAT", data), chunk(b"IEND")]
    suite.pixels("cfmn2c08", SIGNATURE + b"".join(chunks), img)
    # Data after the image's zlib stream inside the last IDAT is ignored.
    chunks = [ihdr(16, 16, 8, 2), chunk(b"IDAT", data + b"trailing"), chunk(b"IEND")]
    suite.pixels("ctrn2c08", SIGNATURE + b"".join(chunks), img)
    # A zlib stream that ends before the image does: the rows that came are
    # kept, the rest stay zero.
    half = zlib.compress(image_data(img)[:49 * 10])
    chunks = [ihdr(16, 16, 8, 2), chunk(b"IDAT", half), chunk(b"IEND")]
    expected = bytearray(expected_pixels(img))
    for i in range(10 * 16 * 8, len(expected), 8):
        expected[i:i + 8] = bytes([0, 0, 0, 255, 0, 0, 0, 0])
    suite.pixels("cshn2c08", SIGNATURE + b"".join(chunks), img, expected=bytes(expected))
    # No IEND: the image is complete, the end of the file is the error.
    chunks = [ihdr(16, 16, 8, 2), chunk(b"IDAT", data)]
    suite.error("xnen2c08", SIGNATURE + b"".join(chunks), 65021)


def corrupted(suite):
    img = make_image(32, 32, 0, 1, seed=70)
    good = encode(img)
    # Bad signatures.
    for name, sig in (("xs1n0g01", b"\x89PNG\r\n\x1a\x0b"), ("xs2n0g01", b"\x89png\r\n\x1a\n"),
                      ("xs4n0g01", b"\x89PNG\r\n\x1a"), ("xs7n0g01", b"\x88PNG\r\n\x1a\n"),
                      ("xcrn0g01", b"\x89PNG\n\n\x1a\n"), ("xlfn0g01", b"\x89PNG\r\r\x1a\r")):
        suite.error(name, sig + good[8:], 65013)
    suite.error("xemp0000", b"", 65013)
    # CRC errors in the header, the data and an ancillary chunk.
    bad = bytearray(good)
    bad[8 + 8 + 13] ^= 1
    suite.error("xhdn0g01", bytes(bad), 65008)
    idat = good.index(b"IDAT")
    length = struct.unpack(">I", good[idat - 4:idat])[0]
    bad = bytearray(good)
    bad[idat + 4 + length] ^= 0xFF
    suite.error("xcsn0g01", bytes(bad), 65008)
    bad = bytearray(encode(img, before=[chunk(b"tEXt", b"k\x00v")]))
    pos = bad.index(b"tEXt")
    bad[pos + 4 + 3] ^= 1
    suite.error("xctn0g01", bytes(bad), 65008)
    # No image data.
    suite.error("xdtn0g01", SIGNATURE + ihdr(32, 32, 1, 0) + chunk(b"IEND"), 65022)
    # Invalid colour types and bit depths.
    for name, depth, ct in (("xc1n0g08", 8, 1), ("xc9n2c08", 8, 9), ("xd0n2c08", 0, 2), ("xd3n2c08", 3, 2),
                            ("xd9n2c08", 99, 2), ("xd4n2c04", 4, 2), ("xd6n6a04", 4, 6), ("xd1n4a01", 1, 4),
                            ("xd7n3p16", 16, 3)):
        suite.error(name, SIGNATURE + ihdr(32, 32, depth, ct) + good[33:], 65009)
    # Header problems.
    suite.error("xfnihdr0", SIGNATURE + chunk(b"gAMA", struct.pack(">I", 45455)) + good[8:], 65014)
    suite.error("xhsn0g01", SIGNATURE + chunk(b"IHDR", struct.pack(">IIBBBB", 32, 32, 1, 0, 0, 0)) + good[33:], 65009)
    suite.error("xwdn0g01", SIGNATURE + ihdr(65536, 32, 1, 0) + good[33:], 65015)
    suite.error("xhtn0g01", SIGNATURE + ihdr(32, 70000, 1, 0) + good[33:], 65015)
    suite.error("xw0n0g01", SIGNATURE + ihdr(0, 32, 1, 0) + good[33:], 65009)
    suite.error("xh0n0g01", SIGNATURE + ihdr(32, 0, 1, 0) + good[33:], 65009)
    suite.error("xcmn0g01", SIGNATURE + ihdr(32, 32, 1, 0, compression=1) + good[33:], 65018)
    suite.error("xinn0g01", SIGNATURE + ihdr(32, 32, 1, 0, interlace=2) + good[33:], 65019)
    suite.error("x2hn0g01", good[:33] + ihdr(32, 32, 1, 0) + good[33:], 65009)
    # Critical chunks.
    suite.error("xukn0g01", good[:33] + chunk(b"AbCD", b"x") + good[33:], 65017)
    pimg = make_image(8, 8, 3, 8)
    suite.error("xnpn3p08", encode(pimg), 65012)
    suite.error("xplt3p08", encode(pimg, palette=[(1, 2, 3)] * 256 + [(0, 0, 0)] * 1), 65012)
    suite.error("xpl3n3p08", encode(pimg, before_plte=[chunk(b"PLTE", bytes(770))]), 65012)
    suite.error("xtr2n3p08", encode(pimg, palette=palette_for(pimg), before=[chunk(b"tRNS", bytes(257))]), 65012)
    # Data problems.
    data = zlib.compress(image_data(img))
    suite.error("xmin0g01", SIGNATURE + ihdr(32, 32, 1, 0) + chunk(b"IDAT", data[:len(data) // 2]) + chunk(b"IEND"),
                65010)
    suite.error("xzln0g01", SIGNATURE + ihdr(32, 32, 1, 0) + chunk(b"IDAT", b"\x78\x9c\xff\xff\xff\xff") +
                chunk(b"IEND"), 65011)
    suite.error("xzhn0g01", SIGNATURE + ihdr(32, 32, 1, 0) + chunk(b"IDAT", b"\x12\x34" + data[2:]) +
                chunk(b"IEND"), 65011)
    dict_stream = zlib.compressobj(9, zlib.DEFLATED, 15, 9, zlib.Z_DEFAULT_STRATEGY, b"dictionary")
    dict_data = dict_stream.compress(image_data(img)) + dict_stream.flush()
    suite.error("xzdn0g01", SIGNATURE + ihdr(32, 32, 1, 0) + chunk(b"IDAT", dict_data) + chunk(b"IEND"), 65011)
    # Truncated files and impossible lengths. A file cut inside its image
    # data keeps the rows before the cut and fails on the missing CRC.
    suite.error("xtrn0g01", good[:len(good) - 30], 65008)
    suite.error("xt8n0g01", good[:8], 65021)
    suite.error("xt2n0g01", good[:35], 65021)
    big = bytearray(good)
    big[idat - 4:idat] = struct.pack(">I", 0x80000000)
    suite.error("xbln0g01", bytes(big), 65021)
    # An image data length past the end of the file: read up to the end.
    big[idat - 4:idat] = struct.pack(">I", 0x7FFFFFFF)
    suite.error("xbmn0g01", bytes(big), 65008)


def main():
    folder = sys.argv[1]
    os.makedirs(os.path.join(folder, "seeds"), exist_ok=True)
    suite = Suite(folder)
    basic(suite)
    sizes(suite)
    filters(suite)
    idat_splits(suite)
    zlib_levels(suite)
    gammas(suite)
    transparency(suite)
    backgrounds(suite)
    ancillary(suite)
    corrupted(suite)
    suite.finish()
    print("%d conformance images in %s" % (len(suite.lines), folder))


if __name__ == "__main__":
    main()
