// Writing the image data: each held row is converted back to PNG samples,
// given the row filter the picture's RowFilters choose, deflated, and the
// compressed stream is written as IDAT chunks of at most MaxDataChunkSize
// bytes each.
#include <zlib.h>

#include <cstring>
#include <memory>
#include <new>

#include "imaging/png/png_filters.h"
#include "imaging/png/png_image.h"

namespace {

class TImageEncoder {
public:
    TImageEncoder(TPNGObjectCore& owner, TChunkIHDR& header, TStream& stream)
        : FOwner(owner), FHeader(header), FStream(stream), FFilters(owner.RowFilters()) {}

    ~TImageEncoder() {
        if (FDeflating) deflateEnd(&FZ);
    }

    void Run() {
        FColorType = FHeader.ColorType;
        FDepth = FHeader.BitDepth == 2 ? 4 : FHeader.BitDepth;  // 2-bit images are held as 4-bit cells
        FPixelBytes = PixelBytesFor(FColorType, FDepth);
        FInverse = FOwner.InverseGammaTable;
        std::size_t longest = RowBytesFor(FHeader.Width, FColorType, FDepth);
        FRaw.assign(longest, 0);
        FNone.assign(longest + 1, 0);
        for (int f = rfSub; f <= rfPaeth; ++f)
            if (FFilters.Contains(TPngRowFilter(f))) FFiltered[f].assign(longest + 1, Byte(f));
        FOutSize = std::size_t(FOwner.MaxDataChunkSize());
        FOut.reset(new (std::nothrow) Byte[FOutSize]);
        if (!FOut) FailWith<EPNGOutMemory>(SPngOutMemory);

        std::memset(&FZ, 0, sizeof FZ);
        int result = deflateInit(&FZ, FOwner.DeflateLevel());
        if (result != Z_OK) FailWithZlibError(result);
        FDeflating = true;
        StartBuffer();

        PrepareKey();
        if (FOwner.Interlacing() == ilNone) {
            for (LongWord y = 0; y < FHeader.Height; ++y) {
                ConvertRow(y, FHeader.Width, 0, 1);
                KeepKeyApart(y, FHeader.Width, 0, 1);
                WriteRow(longest);
            }
        } else {
            for (const TAdam7Pass& pass : Adam7Passes) {
                std::uint64_t passWidth = Adam7PassWidth(pass, FHeader.Width);
                std::size_t rb = RowBytesFor(passWidth, FColorType, FDepth);
                std::fill(FNone.begin(), FNone.end(), 0);
                if (rb == 0) continue;
                for (LongWord y = LongWord(pass.RowStart); y < FHeader.Height; y += LongWord(pass.RowStep)) {
                    ConvertRow(y, std::size_t(passWidth), std::size_t(pass.ColumnStart), std::size_t(pass.ColumnStep));
                    KeepKeyApart(y, std::size_t(passWidth), std::size_t(pass.ColumnStart),
                                 std::size_t(pass.ColumnStep));
                    WriteRow(rb);
                }
            }
        }
        FinishDeflate();
    }

private:
    // The held pixels at columns start, start + step, ... of image row y as
    // PNG samples in FRaw.
    void ConvertRow(LongWord y, std::size_t count, std::size_t start, std::size_t step) {
        std::size_t fromBottom = std::size_t(FHeader.Height - 1 - y);
        const Byte* pix = FHeader.PixelBits() + FHeader.RowStride() * fromBottom;
        const Byte* alpha = FHeader.AlphaBits() ? FHeader.AlphaBits() + std::size_t(y) * FHeader.Width : nullptr;
        Byte* r = FRaw.data();
        const Byte* inv = FInverse;
        switch (FColorType) {
        case COLOR_GRAYSCALE:
        case COLOR_PALETTE:
            if (FDepth == 16) {
                for (std::size_t i = 0, x = start; i < count; ++i, x += step) {
                    r[2 * i] = pix[x];
                    r[2 * i + 1] = 0;
                }
            } else if (step == 1) {
                std::size_t rb = RowBytesFor(count, FColorType, FDepth);
                std::memcpy(r, pix, rb);
                int usedBits = int((count * FDepth) % 8);
                if (usedBits) r[rb - 1] &= Byte(0xFF00 >> usedBits);  // clean padding bits
            } else {
                std::size_t rb = RowBytesFor(count, FColorType, FDepth);
                std::memset(r, 0, rb);
                int bpp = FHeader.BitsPerPixel();
                for (std::size_t i = 0, x = start; i < count; ++i, x += step) {
                    int v = PackedCell(pix, x, bpp);
                    std::size_t bit = i * FDepth;
                    r[bit >> 3] |= Byte(v << (8 - FDepth - (bit & 7)));
                }
            }
            break;
        case COLOR_RGB:
            if (FDepth == 8) {
                for (std::size_t i = 0, x = start; i < count; ++i, x += step, r += 3) {
                    const Byte* p = pix + 3 * x;
                    r[0] = inv[p[2]];
                    r[1] = inv[p[1]];
                    r[2] = inv[p[0]];
                }
            } else {
                for (std::size_t i = 0, x = start; i < count; ++i, x += step, r += 6) {
                    const Byte* p = pix + 3 * x;
                    r[0] = inv[p[2]];
                    r[1] = 0;
                    r[2] = inv[p[1]];
                    r[3] = 0;
                    r[4] = inv[p[0]];
                    r[5] = 0;
                }
            }
            break;
        case COLOR_GRAYSCALEALPHA:
            if (FDepth == 8) {
                for (std::size_t i = 0, x = start; i < count; ++i, x += step, r += 2) {
                    r[0] = pix[x];
                    r[1] = alpha[x];
                }
            } else {
                for (std::size_t i = 0, x = start; i < count; ++i, x += step, r += 4) {
                    r[0] = pix[x];
                    r[1] = 0;
                    r[2] = alpha[x];
                    r[3] = 0;
                }
            }
            break;
        case COLOR_RGBALPHA:
            if (FDepth == 8) {
                for (std::size_t i = 0, x = start; i < count; ++i, x += step, r += 4) {
                    const Byte* p = pix + 3 * x;
                    r[0] = inv[p[2]];
                    r[1] = inv[p[1]];
                    r[2] = inv[p[0]];
                    r[3] = alpha[x];
                }
            } else {
                for (std::size_t i = 0, x = start; i < count; ++i, x += step, r += 8) {
                    const Byte* p = pix + 3 * x;
                    r[0] = inv[p[2]];
                    r[1] = 0;
                    r[2] = inv[p[1]];
                    r[3] = 0;
                    r[4] = inv[p[0]];
                    r[5] = 0;
                    r[6] = alpha[x];
                    r[7] = 0;
                }
            }
            break;
        }
    }

    // The written form of a grey or colour key whose samples can be written
    // alike for a pixel that is not the key: 16-bit samples lose their low
    // bytes, and colour goes back through the inverse gamma table, which
    // may give two held colours one sample.
    void PrepareKey() {
        FKeyBytes = 0;
        if (FOwner.TransparencyKind() != tkColorKey) return;
        const auto* trns = FOwner.ChunkList().FindChunk<TChunktRNS>();
        if (!trns) return;
        Byte written[6];
        std::memcpy(written, trns->AlphaTable, 6);
        trns->WrittenKey(written);
        if (FColorType == COLOR_GRAYSCALE && FDepth == 16) {
            FKeyBytes = 2;
            std::memcpy(FWrittenKey, written, 2);
        } else if (FColorType == COLOR_RGB && FDepth == 16) {
            FKeyBytes = 6;
            std::memcpy(FWrittenKey, written, 6);
        } else if (FColorType == COLOR_RGB) {
            FKeyBytes = 3;
            Byte rgb[3] = {written[1], written[3], written[5]};
            std::memcpy(FWrittenKey, rgb, 3);
        }
    }

    // A pixel that is not the key must not be written as the key: a 16-bit
    // sample gets a low byte of 1, an 8-bit blue sample the next value.
    void KeepKeyApart(LongWord y, std::size_t count, std::size_t start, std::size_t step) {
        if (FKeyBytes == 0) return;
        Byte* r = FRaw.data();
        for (std::size_t i = 0, x = start; i < count; ++i, x += step, r += FKeyBytes) {
            if (std::memcmp(r, FWrittenKey, FKeyBytes) != 0 || FOwner.IsKeyPixel(int(x), int(y))) continue;
            Byte& last = r[FKeyBytes - 1];
            if (FDepth == 16)
                last = 1;
            else
                last = last == 255 ? 254 : Byte(last + 1);
        }
    }

    // Bytes j from 2 on that repeat the byte before or the one two before.
    static std::size_t Score(const Byte* row, std::size_t n) {
        std::size_t score = 0;
        for (std::size_t j = 2; j < n; ++j)
            if (row[j] == row[j - 1] || row[j] == row[j - 2]) ++score;
        return score;
    }

    TPngRowFilter ChooseFilter(std::size_t n) {
        const Byte* r = FRaw.data();
        const Byte* q = FNone.data() + 1;
        for (int f = rfSub; f <= rfPaeth; ++f)
            if (FFilters.Contains(TPngRowFilter(f)))
                FilterRow(TPngRowFilter(f), r, q, FFiltered[f].data() + 1, n, FPixelBytes);
        // The raw row now serves as the row of filter None and as the
        // previous row of the next one.
        std::memcpy(FNone.data() + 1, r, n);
        if (FFilters.Empty() || FFilters == TPngRowFilters{rfNone}) return rfNone;
        TPngRowFilter best = rfNone;
        std::size_t bestScore = 0;
        for (int f = rfNone; f <= rfPaeth; ++f) {
            if (!FFilters.Contains(TPngRowFilter(f))) continue;
            if (FFilters == TPngRowFilters{TPngRowFilter(f)}) return TPngRowFilter(f);
            std::size_t score = Score(RowOf(TPngRowFilter(f)) + 1, n);
            if (score > bestScore) {
                bestScore = score;
                best = TPngRowFilter(f);
            }
        }
        return best;
    }

    Byte* RowOf(TPngRowFilter f) { return f == rfNone ? FNone.data() : FFiltered[f].data(); }

    void WriteRow(std::size_t n) {
        TPngRowFilter f = ChooseFilter(n);
        Byte* row = RowOf(f);
        row[0] = Byte(f);
        DeflateRow(row, n + 1);
        FNone[0] = 0;
    }

    void StartBuffer() {
        FZ.next_out = FOut.get();
        FZ.avail_out = uInt(FOutSize);
    }

    void DeflateRow(const Byte* bytes, std::size_t count) {
        FZ.next_in = const_cast<Byte*>(bytes);
        FZ.avail_in = uInt(count);
        while (FZ.avail_in > 0) {
            int result = deflate(&FZ, Z_NO_FLUSH);
            if (result < 0) FailWithZlibError(result);
            if (FZ.avail_out == 0) {
                WriteDataChunk(FOut.get(), FOutSize);
                StartBuffer();
            }
        }
    }

    void FinishDeflate() {
        for (;;) {
            int result = deflate(&FZ, Z_FINISH);
            if (result < 0) FailWithZlibError(result);
            if (result == Z_STREAM_END) break;
            std::size_t used = FOutSize - FZ.avail_out;
            if (used) WriteDataChunk(FOut.get(), used);
            StartBuffer();
        }
        std::size_t used = FOutSize - FZ.avail_out;
        if (used) WriteDataChunk(FOut.get(), used);
        deflateEnd(&FZ);
        FDeflating = false;
    }

    void WriteDataChunk(const Byte* bytes, std::size_t count) {
        Byte head[8];
        PngPutLong(head, LongWord(count));
        std::memcpy(head + 4, "IDAT", 4);
        LongWord crc = UpdateCrc(UpdateCrc(0xFFFFFFFFu, head + 4, 4), bytes, count) ^ 0xFFFFFFFFu;
        Byte tail[4];
        PngPutLong(tail, crc);
        PngWriteExact(FStream, head, 8);
        PngWriteExact(FStream, bytes, count);
        PngWriteExact(FStream, tail, 4);
    }

    TPNGObjectCore& FOwner;
    TChunkIHDR& FHeader;
    TStream& FStream;
    TPngRowFilters FFilters;
    Byte FColorType = 0, FDepth = 0;
    int FPixelBytes = 1;
    const Byte* FInverse = nullptr;
    std::size_t FKeyBytes = 0;  // bytes of a written pixel compared with the key; 0: no key to keep apart
    Byte FWrittenKey[6] = {};
    std::vector<Byte> FRaw, FNone, FFiltered[5];
    std::unique_ptr<Byte[]> FOut;
    std::size_t FOutSize = 0;
    z_stream FZ;
    bool FDeflating = false;
};

}  // namespace

bool TChunkIDAT::WriteTo(TStream& stream) {
    TChunkIHDR* header = Header();
    if (!header || !FOwner) FailWith<EPNGHeaderNotPresent>(SPngHeaderNotPresent);
    if (!header->PixelBits()) header->PrepareImageBuffers();
    TImageEncoder encoder(*FOwner, *header, stream);
    encoder.Run();
    return true;
}
