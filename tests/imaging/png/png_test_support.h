// Helpers of the PNG codec tests: building PNG streams by hand, loading and
// saving through memory streams, and reading back what a picture shows.
#pragma once

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "classlib/core/streams.h"
#include "imaging/png/png_effects.h"
#include "imaging/png/png_image.h"

using TBytes = std::vector<Byte>;

namespace pngtest {

inline void PutLong(TBytes& out, LongWord v) {
    out.push_back(Byte(v >> 24));
    out.push_back(Byte(v >> 16));
    out.push_back(Byte(v >> 8));
    out.push_back(Byte(v));
}

inline TBytes Chunk(const char* type, const TBytes& data = {}) {
    TBytes out;
    PutLong(out, LongWord(data.size()));
    TBytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutLong(out, LongWord(crc32(0, body.data(), uInt(body.size()))));
    return out;
}

inline TBytes HeaderData(LongWord w, LongWord h, Byte depth, Byte ct, Byte interlace = 0) {
    TBytes d;
    PutLong(d, w);
    PutLong(d, h);
    d.insert(d.end(), {depth, ct, 0, 0, interlace});
    return d;
}

inline TBytes Signature() { return {137, 80, 78, 71, 13, 10, 26, 10}; }

inline TBytes Compress(const TBytes& raw, int level = 6) {
    uLongf size = compressBound(uLong(raw.size()));
    TBytes out(size);
    compress2(out.data(), &size, raw.data(), uLong(raw.size()), level);
    out.resize(size);
    return out;
}

// A whole stream from its chunks.
inline TBytes Png(std::initializer_list<TBytes> chunks) {
    TBytes out = Signature();
    for (const TBytes& c : chunks) out.insert(out.end(), c.begin(), c.end());
    return out;
}

// An image of filter type 0 rows holding raw (rows of RowBytesFor bytes each).
inline TBytes SimplePng(LongWord w, LongWord h, Byte depth, Byte ct, const TBytes& rawRows,
                        std::initializer_list<TBytes> extra = {}) {
    std::size_t rb = RowBytesFor(w, ct, depth);
    TBytes filtered;
    for (LongWord y = 0; y < h; ++y) {
        filtered.push_back(0);
        filtered.insert(filtered.end(), rawRows.begin() + y * rb, rawRows.begin() + (y + 1) * rb);
    }
    TBytes out = Signature();
    TBytes ihdr = Chunk("IHDR", HeaderData(w, h, depth, ct));
    out.insert(out.end(), ihdr.begin(), ihdr.end());
    for (const TBytes& c : extra) out.insert(out.end(), c.begin(), c.end());
    TBytes idat = Chunk("IDAT", Compress(filtered));
    out.insert(out.end(), idat.begin(), idat.end());
    TBytes iend = Chunk("IEND");
    out.insert(out.end(), iend.begin(), iend.end());
    return out;
}

inline void Load(TPNGObjectCore& png, const TBytes& bytes) {
    TMemoryStream stream;
    if (!bytes.empty()) stream.Write(bytes.data(), Int64(bytes.size()));
    stream.SetPosition(0);
    png.LoadFromStream(stream);
}

inline TBytes Save(TPNGObjectCore& png) {
    TMemoryStream stream;
    png.SaveToStream(stream);
    const Byte* p = static_cast<const Byte*>(stream.Memory());
    return TBytes(p, p + stream.Size());
}

// The message id a load raises, 0 when it succeeds, -1 for a foreign error.
inline int LoadError(TPNGObjectCore& png, const TBytes& bytes) {
    try {
        Load(png, bytes);
        return 0;
    } catch (const std::exception& e) {
        int id = PngErrorId(e);
        return id ? id : -1;
    }
}

inline TBytes ReadFile(const std::string& name) {
    std::ifstream f(name, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// The chunks of a stream: type and data.
struct TRawChunk {
    std::string Type;
    TBytes Data;
};
inline std::vector<TRawChunk> ChunksOf(const TBytes& png) {
    std::vector<TRawChunk> out;
    std::size_t pos = 8;
    while (pos + 12 <= png.size()) {
        LongWord len = PngGetLong(png.data() + pos);
        if (pos + 12 + len > png.size()) break;
        out.push_back({std::string(reinterpret_cast<const char*>(png.data() + pos + 4), 4),
                       TBytes(png.begin() + long(pos + 8), png.begin() + long(pos + 8 + len))});
        pos += 12 + len;
    }
    return out;
}

// What the picture shows at x, y: red, green, blue, alpha (the colour-table
// entry for grey and indexed bitmaps; alpha from the alpha buffer or the
// tRNS table, else 255), then the held low bytes (red, green, blue) and 0.
inline void RenderedPixel(const TPNGObjectCore& png, int x, int y, Byte out[8]) {
    TChunkIHDR& h = png.Header();
    const Byte* row = png.PixelRow(y);
    const Byte* low = png.LowByteRow(y);
    const Byte* alpha = png.AlphaRow(y);
    int bpp = h.BitsPerPixel();
    std::memset(out, 0, 8);
    out[3] = 255;
    if (bpp == 24) {
        out[0] = row[3 * x + 2];
        out[1] = row[3 * x + 1];
        out[2] = row[3 * x];
        if (low) {
            out[4] = low[3 * x + 2];
            out[5] = low[3 * x + 1];
            out[6] = low[3 * x];
        }
    } else {
        int cell = bpp == 8   ? row[x]
                   : bpp == 4 ? (x & 1 ? row[x / 2] & 15 : row[x / 2] >> 4)
                              : (row[x / 8] >> (7 - x % 8)) & 1;
        const TPngRGBQuad& q = h.ColorTable()[cell];
        out[0] = q.rgbRed;
        out[1] = q.rgbGreen;
        out[2] = q.rgbBlue;
        if (h.ColorType == COLOR_PALETTE)
            if (auto* trns = png.ChunkList().FindChunk<TChunktRNS>()) out[3] = trns->AlphaTable[cell];
        if (low) out[4] = out[5] = out[6] = low[x];
    }
    if (alpha) out[3] = alpha[x];
}

inline TBytes RenderedImage(const TPNGObjectCore& png) {
    TBytes out(std::size_t(png.Width()) * png.Height() * 8);
    for (int y = 0; y < png.Height(); ++y)
        for (int x = 0; x < png.Width(); ++x) RenderedPixel(png, x, y, &out[(std::size_t(y) * png.Width() + x) * 8]);
    return out;
}

// A stream's pixels with the low bytes left out (what survives a save).
inline TBytes WithoutLowBytes(TBytes rendered) {
    for (std::size_t i = 0; i < rendered.size(); i += 8) std::memset(&rendered[i + 4], 0, 4);
    return rendered;
}

// Loads an 8-bit RGB picture of raw rows.
inline void LoadRgb(TPNGObjectCore& png, LongWord w, LongWord h, const TBytes& rgb,
                    std::initializer_list<TBytes> extra = {}) {
    ASSERT_EQ(LoadError(png, SimplePng(w, h, 8, COLOR_RGB, rgb, extra)), 0);
}

// Loads an 8-bit RGBA picture of raw rows.
inline void LoadRgba(TPNGObjectCore& png, LongWord w, LongWord h, const TBytes& rgba) {
    ASSERT_EQ(LoadError(png, SimplePng(w, h, 8, COLOR_RGBALPHA, rgba)), 0);
}

// Palette entries of a 4-entry palette: red, green, blue, white.
inline const TBytes Palette4 = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};

}  // namespace pngtest
