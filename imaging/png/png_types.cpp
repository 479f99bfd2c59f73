#include "imaging/png/png_types.h"

#include <cstdlib>

namespace {

struct TCrcTable {
    LongWord Entries[8][256];
    TCrcTable() {
        for (LongWord n = 0; n < 256; ++n) {
            LongWord c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            Entries[0][n] = c;
        }
        // Slicing tables: eight bytes per step.
        for (LongWord n = 0; n < 256; ++n)
            for (int t = 1; t < 8; ++t) Entries[t][n] = Entries[0][Entries[t - 1][n] & 0xFF] ^ (Entries[t - 1][n] >> 8);
    }
};

const TCrcTable& CrcTable() {
    static const TCrcTable table;  // built on first use
    return table;
}

}  // namespace

LongWord UpdateCrc(LongWord crc, const Byte* bytes, std::size_t count) {
    const auto& t = CrcTable().Entries;
    while (count >= 8) {
        LongWord lo = crc ^ (LongWord(bytes[0]) | (LongWord(bytes[1]) << 8) | (LongWord(bytes[2]) << 16) |
                             (LongWord(bytes[3]) << 24));
        LongWord hi =
            LongWord(bytes[4]) | (LongWord(bytes[5]) << 8) | (LongWord(bytes[6]) << 16) | (LongWord(bytes[7]) << 24);
        crc = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^ t[3][hi & 0xFF] ^
              t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
        bytes += 8;
        count -= 8;
    }
    while (count--) crc = t[0][(crc ^ *bytes++) & 0xFF] ^ (crc >> 8);
    return crc;
}

std::size_t RowBytesFor(std::uint64_t n, Byte colorType, Byte bitDepth) {
    std::uint64_t b = n * bitDepth;
    switch (colorType) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE: return std::size_t((b + 7) / 8);
    case COLOR_RGB: return std::size_t(b * 3 / 8);
    case COLOR_GRAYSCALEALPHA: return std::size_t(b * 2 / 8);
    case COLOR_RGBALPHA: return std::size_t(b * 4 / 8);
    default: return 0;
    }
}

int PixelBytesFor(Byte colorType, Byte bitDepth) {
    switch (colorType) {
    case COLOR_GRAYSCALE: return bitDepth == 16 ? 2 : 1;
    case COLOR_PALETTE: return 1;
    case COLOR_RGB: return bitDepth * 3 / 8;
    case COLOR_GRAYSCALEALPHA: return bitDepth / 4;
    case COLOR_RGBALPHA: return bitDepth / 2;
    default: return 1;
    }
}

bool IsValidColorTypeAndDepth(Byte colorType, Byte bitDepth) {
    switch (colorType) {
    case COLOR_GRAYSCALE: return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16;
    case COLOR_PALETTE: return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8;
    case COLOR_RGB:
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA: return bitDepth == 8 || bitDepth == 16;
    default: return false;
    }
}

int BitmapBitsFor(Byte colorType, Byte bitDepth) {
    if (!IsValidColorTypeAndDepth(colorType, bitDepth)) return 0;
    switch (colorType) {
    case COLOR_RGB:
    case COLOR_RGBALPHA: return 24;
    default:
        if (bitDepth == 2) return 4;
        if (bitDepth == 16) return 8;
        return bitDepth;
    }
}

int PngMulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    long long p = (long long)a * b;
    long long q = p / c, r = p % c;
    if (2 * std::llabs(r) >= std::llabs((long long)c)) q += ((p < 0) != (c < 0)) ? -1 : 1;
    return int(q);
}

const TAdam7Pass Adam7Passes[7] = {
    {0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4}, {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1},
};
