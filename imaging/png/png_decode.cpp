// Reading the image data: the IDAT chunks of a run are inflated as one
// zlib stream, each row is unfiltered and converted into the header's
// buffers (bottom-up bitmap rows in blue-green-red order, packed cells
// most significant bits first, a separate alpha buffer and a buffer for
// the low bytes of 16-bit samples).
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "imaging/png/png_filters.h"
#include "imaging/png/png_image.h"

namespace {

// The decompressed bytes of an IDAT run. Compressed input is read in
// blocks of at most 65535 bytes, checked chunk by chunk against the CRC;
// output is inflated in large pieces, but never past the bytes the image
// still needs, so the stream is not read beyond the image data.
class TIdatReader {
public:
    TIdatReader(TStream& stream, LongWord firstLength, std::uint64_t needed, std::size_t longestRow)
        : FStream(stream), FIn(new Byte[65535]), FNeeded(needed) {
        FPosition = stream.Seek(0, soCurrent);
        Int64 position = FPosition;
        FStreamEnd = stream.Seek(0, soEnd);
        stream.Seek(position, soBeginning);
        SetChunkEnd(firstLength);
        FCrc = UpdateCrc(0xFFFFFFFFu, reinterpret_cast<const Byte*>("IDAT"), 4);
        // Large pieces for speed, no more than a small image needs, and room
        // for two whole rows so that a row can always be made contiguous.
        FOutSize = std::size_t(std::max<std::uint64_t>(std::min<std::uint64_t>(256 * 1024, needed), 2 * longestRow));
        FOut.reset(new Byte[FOutSize]);
        std::memset(&FZ, 0, sizeof FZ);
        int result = inflateInit(&FZ);
        if (result != Z_OK) FailWithZlibError(result);
    }
    ~TIdatReader() { inflateEnd(&FZ); }

    // Makes up to n bytes available at Data(); returns how many are.
    std::size_t Fetch(std::size_t n) {
        while (FOutEnd - FOutPos < n && !FEnded && FNeeded > 0) {
            if (FOutSize - FOutPos < n) {
                std::memmove(FOut.get(), FOut.get() + FOutPos, FOutEnd - FOutPos);
                FOutEnd -= FOutPos;
                FOutPos = 0;
            }
            if (!Produce()) break;
        }
        return std::min(n, FOutEnd - FOutPos);
    }
    const Byte* Data() const { return FOut.get() + FOutPos; }
    void Consume(std::size_t n) { FOutPos += n; }

    // Reads what is left of the current chunk's data, then its CRC.
    void Finish() {
        while (FPosition < FChunkEnd) {
            std::size_t count = std::size_t(std::min<Int64>(FChunkEnd - FPosition, Int64(65535)));
            ReadInput(count);
        }
        Byte crc[4];
        if (!PngReadExact(FStream, crc, 4) || PngGetLong(crc) != (FCrc ^ 0xFFFFFFFFu))
            FailWith<EPngInvalidCRC>(SPngInvalidCRC);
    }

private:
    // The end of the current chunk's data, never past the stream: a stream
    // cut inside the image data delivers what it holds.
    void SetChunkEnd(LongWord length) {
        FCut = Int64(length) > FStreamEnd - FPosition;
        FChunkEnd = FCut ? FStreamEnd : FPosition + Int64(length);
    }

    void ReadInput(std::size_t count) {
        if (!PngReadExact(FStream, FIn.get(), count)) FailWith<EPngUnexpectedEnd>(SPngUnexpectedEnd);
        FCrc = UpdateCrc(FCrc, FIn.get(), count);
        FPosition += Int64(count);
        FZ.next_in = FIn.get();
        FZ.avail_in = uInt(count);
    }

    // The end of a chunk's data: check its CRC and go on into the next
    // chunk, which must be another IDAT. False when the stream ends first:
    // no more image data comes, and the CRC that Finish cannot read then
    // fails the load.
    bool NextChunk() {
        if (FCut) return false;
        Byte bytes[8];
        if (!PngReadExact(FStream, bytes, 4)) FailWith<EPngInvalidCRC>(SPngInvalidCRC);
        if (PngGetLong(bytes) != (FCrc ^ 0xFFFFFFFFu)) FailWith<EPngInvalidCRC>(SPngInvalidCRC);
        FPosition += 4;
        if (FStreamEnd - FPosition < 8) {
            // Cut inside the next chunk's length or type.
            FCut = true;
            FChunkEnd = FPosition;
            return false;
        }
        if (!PngReadExact(FStream, bytes, 8)) FailWith<EPngUnexpectedEnd>(SPngUnexpectedEnd);
        if (std::memcmp(bytes + 4, "IDAT", 4) != 0) FailWith<EPNGMissingMultipleIDAT>(SPngMissingMultipleIDAT);
        LongWord length = PngGetLong(bytes);
        FPosition += 8;
        if (length > 0x7FFFFFFFu) FailWith<EPngUnexpectedEnd>(SPngUnexpectedEnd);
        FCrc = UpdateCrc(0xFFFFFFFFu, bytes + 4, 4);
        SetChunkEnd(length);
        return true;
    }

    // Inflates into the free end of the output buffer; false when nothing
    // more can come.
    bool Produce() {
        std::size_t space = std::size_t(std::min<std::uint64_t>(FOutSize - FOutEnd, FNeeded));
        FZ.next_out = FOut.get() + FOutEnd;
        FZ.avail_out = uInt(space);
        while (FZ.avail_out > 0) {
            if (FZ.avail_in == 0) {
                if (FPosition >= FChunkEnd) {
                    if (!NextChunk()) break;  // the stream ends: what came is all
                    continue;                 // an empty chunk goes straight on to the next one
                }
                ReadInput(std::size_t(std::min<Int64>(FChunkEnd - FPosition, Int64(65535))));
            }
            int result = inflate(&FZ, Z_NO_FLUSH);
            if (result == Z_STREAM_END) {
                FEnded = true;  // the image data ends here, complete or not
                break;
            }
            if (result != Z_OK) FailWithZlibError(result);
        }
        std::size_t produced = space - FZ.avail_out;
        FOutEnd += produced;
        FNeeded -= produced;
        return produced > 0;
    }

    TStream& FStream;
    z_stream FZ;
    std::unique_ptr<Byte[]> FIn;
    std::unique_ptr<Byte[]> FOut;
    std::size_t FOutSize = 0;
    std::size_t FOutPos = 0, FOutEnd = 0;
    std::uint64_t FNeeded;
    bool FEnded = false;
    bool FCut = false;  // the stream ends inside the current chunk's data
    Int64 FPosition = 0, FChunkEnd = 0, FStreamEnd = 0;
    LongWord FCrc = 0;
};

// Where a converted row goes.
struct TRowTarget {
    Byte* Pixels;
    Byte* Low;
    Byte* Alpha;
    Byte* KeyMask;  // the row of the key mask, nullptr when none is recorded
};

inline int SourceSample(const Byte* src, std::size_t i, int depth) {
    switch (depth) {
    case 1: return (src[i >> 3] >> (7 - (i & 7))) & 1;
    case 2: return (src[i >> 2] >> (6 - 2 * (i & 3))) & 3;
    case 4: return (src[i >> 1] >> ((i & 1) ? 0 : 4)) & 15;
    default: return src[i];
    }
}

// 2-bit samples as two 4-bit cells per byte: grey scaled to the 16-step
// grey palette (0, 5, 10, 15 give 0, 85, 170, 255), indices as they are.
struct TTwoBitTable {
    Word Cells[256];
    explicit TTwoBitTable(int scale) {
        for (int b = 0; b < 256; ++b) {
            int s0 = (b >> 6) & 3, s1 = (b >> 4) & 3, s2 = (b >> 2) & 3, s3 = b & 3;
            Byte first = Byte(((s0 * scale) << 4) | (s1 * scale));
            Byte second = Byte(((s2 * scale) << 4) | (s3 * scale));
            Cells[b] = Word(first | (second << 8));
        }
    }
};

const TTwoBitTable& TwoBitCells(bool grey) {
    static const TTwoBitTable greyTable(5), indexTable(1);
    return grey ? greyTable : indexTable;
}

class TRowConverter {
public:
    TRowConverter(const TChunkIHDR& header, const Byte* gamma)
        : FColorType(header.ColorType), FDepth(header.BitDepth), FBpp(header.BitsPerPixel()), FGamma(gamma) {
        Byte identity[256];
        for (int i = 0; i < 256; ++i) identity[i] = Byte(i);
        FIdentity = std::memcmp(gamma, identity, 256) == 0;
    }

    // count pixels of src to the columns start, start + step, ...
    void Convert(const Byte* src, std::size_t rowBytes, std::size_t count, std::size_t start, std::size_t step,
                 const TRowTarget& t) const {
        switch (FColorType) {
        case COLOR_GRAYSCALE:
        case COLOR_PALETTE:
            if (FDepth == 16) return Gray16(src, count, start, step, t);
            return Packed(src, rowBytes, count, start, step, t);
        case COLOR_RGB:
            if (FDepth == 8) return Rgb8(src, count, start, step, t, 3);
            return Rgb16(src, count, start, step, t, 6);
        case COLOR_GRAYSCALEALPHA:
            if (FDepth == 8) return GrayAlpha8(src, count, start, step, t);
            return GrayAlpha16(src, count, start, step, t);
        case COLOR_RGBALPHA:
            if (FDepth == 8) return Rgb8(src, count, start, step, t, 4);
            return Rgb16(src, count, start, step, t, 8);
        }
    }

private:
    void Packed(const Byte* src, std::size_t rowBytes, std::size_t count, std::size_t start, std::size_t step,
                const TRowTarget& t) const {
        if (FDepth == 2) {
            const Word* cells = TwoBitCells(FColorType == COLOR_GRAYSCALE).Cells;
            if (step == 1) {
                Byte* d = t.Pixels;
                for (std::size_t i = 0; i < rowBytes; ++i) {
                    Word w = cells[src[i]];
                    d[2 * i] = Byte(w);
                    d[2 * i + 1] = Byte(w >> 8);
                }
                return;
            }
            int scale = FColorType == COLOR_GRAYSCALE ? 5 : 1;
            for (std::size_t i = 0; i < count; ++i)
                SetPackedCell(t.Pixels, start + i * step, 4, SourceSample(src, i, 2) * scale);
            return;
        }
        if (step == 1) {
            std::memcpy(t.Pixels, src, rowBytes);
            return;
        }
        for (std::size_t i = 0; i < count; ++i)
            SetPackedCell(t.Pixels, start + i * step, FBpp, SourceSample(src, i, FDepth));
    }

    void Gray16(const Byte* src, std::size_t count, std::size_t start, std::size_t step, const TRowTarget& t) const {
        for (std::size_t i = 0, x = start; i < count; ++i, x += step) {
            t.Pixels[x] = src[2 * i];
            t.Low[x] = src[2 * i + 1];
        }
    }

    void GrayAlpha8(const Byte* src, std::size_t count, std::size_t start, std::size_t step,
                    const TRowTarget& t) const {
        for (std::size_t i = 0, x = start; i < count; ++i, x += step) {
            t.Pixels[x] = src[2 * i];
            t.Alpha[x] = src[2 * i + 1];
        }
    }

    void GrayAlpha16(const Byte* src, std::size_t count, std::size_t start, std::size_t step,
                     const TRowTarget& t) const {
        for (std::size_t i = 0, x = start; i < count; ++i, x += step) {
            t.Pixels[x] = src[4 * i];
            t.Low[x] = src[4 * i + 1];
            t.Alpha[x] = src[4 * i + 2];
        }
    }

    void Rgb8(const Byte* src, std::size_t count, std::size_t start, std::size_t step, const TRowTarget& t,
              int pixelBytes) const {
        Byte* d = t.Pixels + 3 * start;
        std::size_t dstep = 3 * step;
        if (pixelBytes == 3) {
            if (FIdentity) {
                for (std::size_t i = 0; i < count; ++i, src += 3, d += dstep) {
                    Byte r = src[0], g = src[1], b = src[2];
                    d[0] = b;
                    d[1] = g;
                    d[2] = r;
                }
            } else {
                for (std::size_t i = 0; i < count; ++i, src += 3, d += dstep) {
                    Byte r = FGamma[src[0]], g = FGamma[src[1]], b = FGamma[src[2]];
                    d[0] = b;
                    d[1] = g;
                    d[2] = r;
                }
            }
            return;
        }
        Byte* a = t.Alpha + start;
        if (FIdentity) {
            for (std::size_t i = 0; i < count; ++i, src += 4, d += dstep, a += step) {
                Byte r = src[0], g = src[1], b = src[2];
                d[0] = b;
                d[1] = g;
                d[2] = r;
                *a = src[3];
            }
        } else {
            for (std::size_t i = 0; i < count; ++i, src += 4, d += dstep, a += step) {
                Byte r = FGamma[src[0]], g = FGamma[src[1]], b = FGamma[src[2]];
                d[0] = b;
                d[1] = g;
                d[2] = r;
                *a = src[3];
            }
        }
    }

    void Rgb16(const Byte* src, std::size_t count, std::size_t start, std::size_t step, const TRowTarget& t,
               int pixelBytes) const {
        for (std::size_t i = 0, x = start; i < count; ++i, x += step, src += pixelBytes) {
            Byte* d = t.Pixels + 3 * x;
            Byte* l = t.Low + 3 * x;
            d[0] = FGamma[src[4]];
            d[1] = FGamma[src[2]];
            d[2] = FGamma[src[0]];
            l[0] = FGamma[src[5]];
            l[1] = FGamma[src[3]];
            l[2] = FGamma[src[1]];
            if (pixelBytes == 8) t.Alpha[x] = src[6];
        }
    }

    Byte FColorType, FDepth;
    int FBpp;
    const Byte* FGamma;
    bool FIdentity;
};

class TImageDecoder {
public:
    TImageDecoder(TPNGObjectCore& owner, TChunkIHDR& header) : FOwner(owner), FHeader(header) {}

    void Run(TStream& stream, LongWord firstLength) {
        const Byte ct = FHeader.ColorType, depth = FHeader.BitDepth;
        FPixelBytes = PixelBytesFor(ct, depth);
        bool interlaced = FOwner.Interlacing() == ilAdam7;

        std::uint64_t needed = 0;
        std::size_t longest = 0;
        if (!interlaced) {
            longest = RowBytesFor(FHeader.Width, ct, depth);
            needed = std::uint64_t(longest + 1) * FHeader.Height;
        } else {
            for (const TAdam7Pass& pass : Adam7Passes) {
                std::size_t rb = RowBytesFor(Adam7PassWidth(pass, FHeader.Width), ct, depth);
                if (rb == 0 || LongWord(pass.RowStart) >= FHeader.Height) continue;
                std::uint64_t rows = (FHeader.Height - pass.RowStart + pass.RowStep - 1) / pass.RowStep;
                needed += rows * (rb + 1);
                longest = std::max(longest, rb);
            }
        }
        FCurrent.assign(longest + 1, 0);
        FPrevious.assign(longest + 1, 0);
        FPartial.assign(longest + 1, 0);

        TIdatReader reader(stream, firstLength, needed, longest + 1);
        TRowConverter converter(FHeader, FOwner.GammaTable);
        if (!interlaced) {
            std::size_t rb = longest;
            for (LongWord y = 0; y < FHeader.Height; ++y) {
                if (!Row(reader, rb)) break;
                converter.Convert(FCurrent.data(), rb, FHeader.Width, 0, 1, Target(y));
                MarkKeys(FCurrent.data(), FHeader.Width, 0, 1, Target(y));
                std::swap(FCurrent, FPrevious);
                if (FStop) break;
            }
        } else {
            for (const TAdam7Pass& pass : Adam7Passes) {
                std::uint64_t passWidth = Adam7PassWidth(pass, FHeader.Width);
                std::size_t rb = RowBytesFor(passWidth, ct, depth);
                std::fill(FPrevious.begin(), FPrevious.end(), 0);
                if (rb == 0) continue;
                for (LongWord y = LongWord(pass.RowStart); y < FHeader.Height; y += LongWord(pass.RowStep)) {
                    if (!Row(reader, rb)) break;
                    converter.Convert(FCurrent.data(), rb, std::size_t(passWidth), std::size_t(pass.ColumnStart),
                                      std::size_t(pass.ColumnStep), Target(y));
                    MarkKeys(FCurrent.data(), std::size_t(passWidth), std::size_t(pass.ColumnStart),
                             std::size_t(pass.ColumnStep), Target(y));
                    std::swap(FCurrent, FPrevious);
                    if (FStop) break;
                }
                if (FStop) break;
            }
        }
        reader.Finish();
    }

private:
    // Reads and unfilters one row of rb bytes into FCurrent; false when the
    // data delivers nothing. A row cut short is completed with zeros and is
    // the last one.
    bool Row(TIdatReader& reader, std::size_t rb) {
        std::size_t got = reader.Fetch(rb + 1);
        if (got == 0) {
            FStop = true;
            return false;
        }
        const Byte* src = reader.Data();
        if (got < rb + 1) {
            std::fill(FPartial.begin(), FPartial.end(), 0);
            std::memcpy(FPartial.data(), src, got);
            src = FPartial.data();
            FStop = true;
        }
        UnfilterRow(src[0], src + 1, FCurrent.data(), FPrevious.data(), rb, FPixelBytes);
        reader.Consume(got);
        return true;
    }

    TRowTarget Target(LongWord y) const {
        std::size_t fromBottom = std::size_t(FHeader.Height - 1 - y);
        TRowTarget t;
        t.Pixels = FHeader.PixelBits() + FHeader.RowStride() * fromBottom;
        t.Low = FHeader.LowByteBits() ? FHeader.LowByteBits() + FHeader.RowStride() * fromBottom : nullptr;
        t.Alpha = FHeader.AlphaBits() ? FHeader.AlphaBits() + std::size_t(y) * FHeader.Width : nullptr;
        t.KeyMask = FHeader.KeyMaskBits() ? FHeader.KeyMaskBits() + std::size_t(y) * FHeader.Width : nullptr;
        return t;
    }

    // Records which pixels of a colour row are the key, from their samples
    // as the file has them (before gamma): 16-bit samples whole, 8-bit
    // samples against the key's low bytes.
    void MarkKeys(const Byte* src, std::size_t count, std::size_t start, std::size_t step, const TRowTarget& t) const {
        if (!t.KeyMask) return;
        const auto* trns = FOwner.ChunkList().FindChunk<TChunktRNS>();
        if (!trns) return;
        const Byte* key = trns->AlphaTable;
        if (FHeader.BitDepth == 16) {
            for (std::size_t i = 0, x = start; i < count; ++i, x += step, src += 6)
                t.KeyMask[x] = std::memcmp(src, key, 6) == 0 ? 1 : 0;
        } else {
            for (std::size_t i = 0, x = start; i < count; ++i, x += step, src += 3)
                t.KeyMask[x] = src[0] == key[1] && src[1] == key[3] && src[2] == key[5] ? 1 : 0;
        }
    }

    TPNGObjectCore& FOwner;
    TChunkIHDR& FHeader;
    int FPixelBytes = 1;
    bool FStop = false;
    std::vector<Byte> FCurrent, FPrevious, FPartial;
};

}  // namespace

bool TChunkIDAT::ReadFrom(TStream& stream, const String& chunkType, LongWord length) {
    TChunkIHDR* header = Header();
    if (!header || !FOwner) FailWith<EPNGHeaderNotPresent>(SPngHeaderNotPresent);
    if (!header->PixelBits()) header->PrepareImageBuffers();
    if (header->ColorType == COLOR_GRAYSCALE || header->ColorType == COLOR_GRAYSCALEALPHA) header->BuildGrayPalette();
    // An indexed image cannot be shown without its palette.
    if (header->ColorType == COLOR_PALETTE && !FOwner->ChunkList().FindChunk<TChunkPLTE>())
        FailWith<EPNGInvalidPalette>(SPngInvalidPalette);
    // A colour key is decided on the file's samples. Through a gamma table
    // that is not the identity two samples may be held as one colour, so
    // the key pixels are recorded while decoding.
    header->FreeKeyMask();
    const auto* trns = FOwner->ChunkList().FindChunk<TChunktRNS>();
    bool identity = true;
    for (int i = 0; i < 256 && identity; ++i) identity = FOwner->GammaTable[i] == i;
    if (header->ColorType == COLOR_RGB && trns && trns->HasKey() && !identity) header->PrepareKeyMask();
    TImageDecoder decoder(*FOwner, *header);
    decoder.Run(stream, length);
    return true;
}
