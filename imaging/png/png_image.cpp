// Loading, saving and the device-independent pixel operations of a PNG
// picture.
#include "imaging/png/png_image.h"

#include <algorithm>
#include <cstring>

namespace {

const Byte PngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

}  // namespace

TPNGObjectCore::TPNGObjectCore() : FChunkList(this) { ResetGammaTables(); }

TPNGObjectCore::~TPNGObjectCore() { ClearChunkList(); }

TChunkIHDR* TPNGObjectCore::HeaderChunk() const {
    TChunk* first = FChunkList.Item(0);
    return first && first->InheritsFrom(TChunkIHDR::StaticClass()) ? static_cast<TChunkIHDR*>(first) : nullptr;
}

TChunkIHDR& TPNGObjectCore::Header() const {
    TChunkIHDR* header = HeaderChunk();
    if (!header) FailWith<EPNGHeaderNotPresent>(SPngHeaderNotPresent);
    return *header;
}

namespace {

struct TIdentityTable {
    Byte Values[256];
    TIdentityTable() {
        for (int i = 0; i < 256; ++i) Values[i] = Byte(i);
    }
};

const TIdentityTable IdentityTable;

}  // namespace

void TPNGObjectCore::ResetGammaTables() {
    std::memcpy(GammaTable, IdentityTable.Values, 256);
    std::memcpy(InverseGammaTable, IdentityTable.Values, 256);
}

void TPNGObjectCore::ClearChunkList() {
    FChunkList.CutAt(0);
    ResetGammaTables();
}

int TPNGObjectCore::Width() const {
    TChunkIHDR* h = HeaderChunk();
    return h ? int(h->Width) : 0;
}

int TPNGObjectCore::Height() const {
    TChunkIHDR* h = HeaderChunk();
    return h ? int(h->Height) : 0;
}

// ---------------------------------------------------------------------------
// Loading and saving

void TPNGObjectCore::LoadFromStream(TStream& stream) {
    ClearChunkList();
    Byte signature[8];
    if (!PngReadExact(stream, signature, 8) || std::memcmp(signature, PngSignature, 8) != 0)
        FailWith<EPNGInvalidFileHeader>(SPngInvalidFileHeader);

    Int64 position = stream.Seek(0, soCurrent);
    Int64 end = stream.Seek(0, soEnd);
    stream.Seek(position, soBeginning);

    bool hasImageData = false;
    for (;;) {
        Byte head[8];
        if (!PngReadExact(stream, head, 4) || !PngReadExact(stream, head + 4, 4))
            FailWith<EPngUnexpectedEnd>(SPngUnexpectedEnd);
        LongWord length = PngGetLong(head);
        String type(reinterpret_cast<const char*>(head + 4), 4);
        // A length past the format's limit or past the end of the stream
        // cannot be read: the file ends before the chunk does. The image
        // data is the exception: the rows that came before the cut are
        // decoded (the decoder reads no further than the stream holds) and
        // the missing CRC then fails the load with EPngInvalidCRC.
        Int64 left = end - stream.Seek(0, soCurrent);
        bool imageData = type == "IDAT" && !hasImageData;
        if (length > 0x7FFFFFFFu || (Int64(length) + 4 > left && !imageData))
            FailWith<EPngUnexpectedEnd>(SPngUnexpectedEnd);

        if (FChunkList.Count() == 0 && type != "IHDR") {
            ClearChunkList();
            FailWith<EPNGIHDRNotFirst>(SPngIHDRNotFirst);
        }
        if (FChunkList.Count() > 0 && type == "IHDR") FailWith<EPngInvalidIHDR>(SPngInvalidIHDR);
        if (type == "cHRM" || (type == "IDAT" && hasImageData)) {
            stream.Seek(Int64(length) + 4, soCurrent);
            continue;
        }

        TChunk* chunk = CreateChunkForType(this, type);
        FChunkList.Add(chunk);
        if (chunk->ClassType() == TChunk::StaticClass() && !(head[4] & 0x20))
            FailWith<EPNGUnknownCriticalChunk>(SPngUnknownCriticalChunk);
        bool more = chunk->ReadFrom(stream, type, length);
        if (type == "IDAT") hasImageData = true;
        if (!more || type == "IEND") break;
    }
    if (!hasImageData) FailWith<EPNGNoImageData>(SPngNoImageData);
}

void TPNGObjectCore::SaveToStream(TStream& stream) {
    PngWriteExact(stream, PngSignature, 8);
    for (int i = 0; i < FChunkList.Count(); ++i) FChunkList.Item(i)->WriteTo(stream);
}

void TPNGObjectCore::AssignPng(const TPNGObjectCore& source) {
    if (&source == this) return;
    FInterlacing = source.FInterlacing;
    FMaxDataChunkSize = source.FMaxDataChunkSize;
    FDeflateLevel = source.FDeflateLevel;
    FRowFilters = source.FRowFilters;
    ClearChunkList();
    // The copy must write its pixels back through the same gamma.
    std::memcpy(GammaTable, source.GammaTable, sizeof GammaTable);
    std::memcpy(InverseGammaTable, source.InverseGammaTable, sizeof InverseGammaTable);
    for (int i = 0; i < source.FChunkList.Count(); ++i) {
        const TChunk* from = source.FChunkList.Item(i);
        TChunk* chunk = from->ClassType()->Create(this);
        FChunkList.Add(chunk);
        chunk->CopyFrom(*from);
    }
}

// ---------------------------------------------------------------------------
// Rows and pixels

Byte* TPNGObjectCore::PixelRow(int y) const {
    TChunkIHDR& h = Header();
    return h.PixelBits() + h.RowStride() * (std::size_t(h.Height) - 1 - std::size_t(y));
}

Byte* TPNGObjectCore::LowByteRow(int y) const {
    TChunkIHDR& h = Header();
    if (!h.LowByteBits()) return nullptr;
    return h.LowByteBits() + h.RowStride() * (std::size_t(h.Height) - 1 - std::size_t(y));
}

Byte* TPNGObjectCore::AlphaRow(int y) const {
    TChunkIHDR& h = Header();
    if (!h.AlphaBits()) return nullptr;
    return h.AlphaBits() + std::size_t(y) * h.Width;
}

TPngColor TPNGObjectCore::PixelAt(int x, int y) const {
    TChunkIHDR& h = Header();
    if (x < 0 || y < 0 || LongWord(x) >= h.Width || LongWord(y) >= h.Height || !h.PixelBits()) return 0;
    const Byte* row = PixelRow(y);
    switch (h.ColorType) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE: {
        int bpp = h.BitsPerPixel();
        int v = PackedCell(row, std::size_t(x), bpp);
        if (h.ColorType == COLOR_PALETTE) {
            auto* plte = FChunkList.FindChunk<TChunkPLTE>();
            if (!plte) FailWith<EPngError>(SPngUnknownPalEntry);
            // The palette entries took the gamma when the PLTE was read.
            TPngRGBQuad q = plte->PaletteEntry(v);
            return PngRGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
        }
        int g = bpp == 1 ? v * 255 : bpp == 4 ? v * 17 : v;
        Byte grey = GammaTable[g];
        return PngRGB(grey, grey, grey);
    }
    case COLOR_GRAYSCALEALPHA: {
        // The grey is held as read; its gamma is applied here, as the grey
        // palette applies it to plain grey images.
        Byte grey = GammaTable[row[x]];
        return PngRGB(grey, grey, grey);
    }
    case COLOR_RGB:
    case COLOR_RGBALPHA: {
        const Byte* p = row + 3 * std::size_t(x);
        return PngRGB(p[2], p[1], p[0]);
    }
    default: return 0;
    }
}

void TPNGObjectCore::SetPixelAt(int x, int y, TPngColor color) {
    TChunkIHDR& h = Header();
    if (x < 0 || y < 0 || LongWord(x) >= h.Width || LongWord(y) >= h.Height || !h.PixelBits()) return;
    Byte* row = PixelRow(y);
    // A written pixel is an 8-bit colour: a 16-bit image's low bytes go to
    // 0, and a recorded key mask takes the pixel as the key when it has the
    // key colour.
    if (Byte* low = LowByteRow(y))
        std::memset(low + std::size_t(x) * (h.BitsPerPixel() == 24 ? 3 : 1), 0, h.BitsPerPixel() == 24 ? 3 : 1);
    if (Byte* mask = h.KeyMaskBits())
        mask[std::size_t(y) * h.Width + std::size_t(x)] = (color & 0xFFFFFF) == KeyColor() ? 1 : 0;
    switch (h.ColorType) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE: {
        // The nearest colour of the image's own palette: the colour table
        // past the PLTE's entries holds no colours of the image, and an
        // index there could not be read or drawn.
        int count = h.PaletteSize();
        if (h.ColorType == COLOR_PALETTE) {
            auto* plte = FChunkList.FindChunk<TChunkPLTE>();
            count = plte ? std::min(count, plte->EntryCount) : 0;
            if (count == 0) FailWith<EPngError>(SPngUnknownPalEntry);
        }
        int best = 0;
        long bestDistance = -1;
        for (int i = 0; i < count; ++i) {
            const TPngRGBQuad& q = h.ColorTable()[i];
            long dr = long(q.rgbRed) - PngRed(color), dg = long(q.rgbGreen) - PngGreen(color),
                 db = long(q.rgbBlue) - PngBlue(color);
            long d = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        SetPackedCell(row, std::size_t(x), h.BitsPerPixel(), best);
        break;
    }
    case COLOR_GRAYSCALEALPHA: row[x] = InverseGammaTable[PngRed(color)]; break;  // held before gamma
    case COLOR_RGB:
    case COLOR_RGBALPHA: {
        Byte* p = row + 3 * std::size_t(x);
        p[0] = PngBlue(color);
        p[1] = PngGreen(color);
        p[2] = PngRed(color);
        break;
    }
    default: break;
    }
}

void TPNGObjectCore::ChangeSize(int width, int height) {
    if (width < 1 || height < 1 || width > 65535 || height > 65535) FailWith<EPNGInvalidNewSize>(SPngInvalidNewSize);
    TChunkIHDR& h = Header();
    if (!h.PixelBits()) h.PrepareImageBuffers();
    h.ResizeImageBuffers(LongWord(width), LongWord(height));
}

void TPNGObjectCore::AddAlphaChannel() {
    TChunkIHDR& h = Header();
    switch (h.ColorType) {
    case COLOR_GRAYSCALE:
    case COLOR_RGB: h.AddAlphaBuffer(); break;
    case COLOR_PALETTE: {
        auto* trns = FChunkList.FindChunk<TChunktRNS>();
        if (!trns) trns = FChunkList.AddChunk<TChunktRNS>();
        std::memset(trns->AlphaTable, 255, sizeof trns->AlphaTable);
        trns->ResizeData(std::size_t(1) << std::min<int>(h.BitDepth, 8));
        std::memset(trns->ChunkData(), 255, trns->ChunkDataSize());
        trns->IsColorKey = false;
        break;
    }
    default: break;
    }
}

TPngTransparencyKind TPNGObjectCore::TransparencyKind() const {
    TChunkIHDR* h = HeaderChunk();
    if (!h) return tkNone;
    auto* trns = FChunkList.FindChunk<TChunktRNS>();
    switch (h->ColorType) {
    case COLOR_GRAYSCALE:
    case COLOR_RGB: return trns && trns->HasKey() ? tkColorKey : tkNone;
    case COLOR_PALETTE:
        if (!trns || !trns->HasKey()) return tkNone;
        return trns->IsColorKey ? tkColorKey : tkPartial;
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA: return tkPartial;
    default: return tkNone;
    }
}

bool TPNGObjectCore::IsKeyPixel(int x, int y) const {
    TChunkIHDR* h = HeaderChunk();
    if (!h || !h->PixelBits() || x < 0 || y < 0 || LongWord(x) >= h->Width || LongWord(y) >= h->Height) return false;
    if (TransparencyKind() != tkColorKey) return false;
    const auto* trns = FChunkList.FindChunk<TChunktRNS>();
    const Byte* key = trns->AlphaTable;
    const Byte* row = PixelRow(y);
    switch (h->ColorType) {
    case COLOR_GRAYSCALE: {
        int cell = PackedCell(row, std::size_t(x), h->BitsPerPixel());
        if (h->BitDepth == 16) return cell == key[0] && LowByteRow(y)[x] == key[1];
        int sample = key[1];
        if (h->BitDepth < 8) sample &= (1 << h->BitDepth) - 1;
        if (h->BitDepth == 2) sample *= 5;  // held as the 4-bit cell
        return cell == sample;
    }
    case COLOR_RGB: {
        if (const Byte* mask = h->KeyMaskBits()) return mask[std::size_t(y) * h->Width + std::size_t(x)] != 0;
        const Byte* p = row + 3 * std::size_t(x);
        const Byte* g = GammaTable;
        if (h->BitDepth != 16) return p[2] == g[key[1]] && p[1] == g[key[3]] && p[0] == g[key[5]];
        const Byte* l = LowByteRow(y) + 3 * std::size_t(x);
        return p[2] == g[key[0]] && p[1] == g[key[2]] && p[0] == g[key[4]] && l[2] == g[key[1]] && l[1] == g[key[3]] &&
               l[0] == g[key[5]];
    }
    case COLOR_PALETTE: return key[PackedCell(row, std::size_t(x), h->BitsPerPixel())] == 0;
    default: return false;
    }
}

TPngColor TPNGObjectCore::KeyColor() const {
    auto* trns = FChunkList.FindChunk<TChunktRNS>();
    return trns ? trns->KeyColorValue() : 0;
}
