// The chunk base class, the registry, the chunk list and the small chunk
// classes. The image data chunk is in png_decode.cpp and png_encode.cpp.
#include "imaging/png/png_chunks.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "imaging/png/png_image.h"

#define QL_PNG_CHUNK_IMPL(Self, Base)                                                                                  \
    TChunkClass Self::StaticClass() {                                                                                  \
        static const TChunkClassInfo info{#Self, Base::StaticClass(), [](TPNGObjectCore* o) -> TChunk* {               \
                                              TChunk* c = new Self(o);                                                 \
                                              c->SetChunkType(TChunk::KindName(Self::StaticClass()));                  \
                                              return c;                                                                \
                                          }};                                                                          \
        return &info;                                                                                                  \
    }

TChunkClass TChunk::StaticClass() {
    static const TChunkClassInfo info{"TChunk", nullptr, [](TPNGObjectCore* o) { return new TChunk(o); }};
    return &info;
}

QL_PNG_CHUNK_IMPL(TChunkIHDR, TChunk)
QL_PNG_CHUNK_IMPL(TChunkPLTE, TChunk)
QL_PNG_CHUNK_IMPL(TChunktRNS, TChunk)
QL_PNG_CHUNK_IMPL(TChunkgAMA, TChunk)
QL_PNG_CHUNK_IMPL(TChunkpHYs, TChunk)
QL_PNG_CHUNK_IMPL(TChunktIME, TChunk)
QL_PNG_CHUNK_IMPL(TChunktEXt, TChunk)
QL_PNG_CHUNK_IMPL(TChunkzTXt, TChunktEXt)
QL_PNG_CHUNK_IMPL(TChunkIDAT, TChunk)
QL_PNG_CHUNK_IMPL(TChunkIEND, TChunk)

bool ChunkClassInheritsFrom(TChunkClass cls, TChunkClass ancestor) {
    for (; cls; cls = cls->Parent)
        if (cls == ancestor) return true;
    return false;
}

// ---------------------------------------------------------------------------
// Registry

namespace {

std::vector<TChunkClass>* ChunkClasses = nullptr;

// Registers the standard chunks when the program starts and frees the
// registry when it ends.
struct TChunkRegistration {
    TChunkRegistration() { RegisterStandardChunks(); }
    ~TChunkRegistration() { FreeChunkClasses(); }
} ChunkRegistration;

}  // namespace

void RegisterChunkClass(TChunkClass cls) {
    if (!ChunkClasses) ChunkClasses = new std::vector<TChunkClass>;
    ChunkClasses->push_back(cls);
}

void RegisterStandardChunks() {
    RegisterChunkClass(TChunkIEND::StaticClass());
    RegisterChunkClass(TChunkIHDR::StaticClass());
    RegisterChunkClass(TChunkIDAT::StaticClass());
    RegisterChunkClass(TChunkPLTE::StaticClass());
    RegisterChunkClass(TChunkgAMA::StaticClass());
    RegisterChunkClass(TChunktRNS::StaticClass());
    RegisterChunkClass(TChunkpHYs::StaticClass());
    RegisterChunkClass(TChunktIME::StaticClass());
    RegisterChunkClass(TChunktEXt::StaticClass());
    RegisterChunkClass(TChunkzTXt::StaticClass());
}

void FreeChunkClasses() {
    delete ChunkClasses;
    ChunkClasses = nullptr;
}

TChunk* CreateChunkForType(TPNGObjectCore* image, const String& chunkType) {
    TChunkClass found = TChunk::StaticClass();
    if (ChunkClasses)
        for (TChunkClass cls : *ChunkClasses)
            if (TChunk::KindName(cls) == chunkType) {
                found = cls;
                break;
            }
    TChunk* chunk = found->Create(image);
    chunk->SetChunkType(chunkType);
    return chunk;
}

// ---------------------------------------------------------------------------
// Stream helpers

bool PngReadExact(TStream& stream, void* buffer, std::size_t count) {
    auto* p = static_cast<Byte*>(buffer);
    while (count > 0) {
        Int64 n = stream.Read(p, Int64(count));
        if (n <= 0) return false;
        p += n;
        count -= std::size_t(n);
    }
    return true;
}

void PngWriteExact(TStream& stream, const void* buffer, std::size_t count) {
    if (count && stream.Write(buffer, Int64(count)) != Int64(count)) throw EWriteError("Stream write error");
}

// ---------------------------------------------------------------------------
// TChunk

TChunk::TChunk(TPNGObjectCore* owner) : FOwner(owner), FData(1, 0) {}

String TChunk::KindName(TChunkClass cls) {
    String name = cls ? cls->ClassName : "";
    return name.size() > 6 ? name.substr(6) : String();
}

void TChunk::ResizeData(std::size_t size) {
    FData.assign(size + 1, 0);
    FDataSize = size;
}

void TChunk::CopyFrom(const TChunk& source) {
    FChunkType = source.FChunkType;
    ResizeData(source.FDataSize);
    std::memcpy(FData.data(), source.FData.data(), FDataSize);
}

void TChunk::CheckCopySource(const TChunk& source, TChunkClass cls) const {
    if (!source.InheritsFrom(cls)) FailWith<EPngError>(SPngCannotAssignChunk);
}

bool TChunk::ReadFrom(TStream& stream, const String& chunkType, LongWord length) {
    ResizeData(length);
    if (length > 0 && !PngReadExact(stream, FData.data(), length)) FailWith<EPngUnexpectedEnd>(SPngUnexpectedEnd);
    Byte crcBytes[4];
    if (!PngReadExact(stream, crcBytes, 4)) FailWith<EPngUnexpectedEnd>(SPngUnexpectedEnd);
    LongWord crc = UpdateCrc(0xFFFFFFFFu, reinterpret_cast<const Byte*>(chunkType.data()), 4);
    crc = UpdateCrc(crc, FData.data(), length) ^ 0xFFFFFFFFu;
    if (crc != PngGetLong(crcBytes)) FailWith<EPngInvalidCRC>(SPngInvalidCRC);
    return true;
}

bool TChunk::WriteRaw(TStream& stream) {
    Byte head[8];
    PngPutLong(head, LongWord(FDataSize));
    String type = ChunkType();
    type.resize(4, ' ');
    std::memcpy(head + 4, type.data(), 4);
    LongWord crc = UpdateCrc(0xFFFFFFFFu, head + 4, 4);
    crc = UpdateCrc(crc, FData.data(), FDataSize) ^ 0xFFFFFFFFu;
    Byte tail[4];
    PngPutLong(tail, crc);
    PngWriteExact(stream, head, 8);
    PngWriteExact(stream, FData.data(), FDataSize);
    PngWriteExact(stream, tail, 4);
    return true;
}

int TChunk::IndexInList() const {
    if (!FOwner) return -1;
    const TPNGList& list = FOwner->ChunkList();
    for (int i = 0; i < list.Count(); ++i)
        if (list.Item(i) == this) return i;
    return -1;
}

TChunkIHDR* TChunk::Header() const { return FOwner ? FOwner->HeaderChunk() : nullptr; }

// ---------------------------------------------------------------------------
// Lists

void* TPNGPointerList::GetItem(int index) const {
    return index >= 0 && index < Count() ? FItems[std::size_t(index)] : nullptr;
}

void TPNGPointerList::SetItem(int index, void* value) {
    if (index >= 0 && index < Count()) FItems[std::size_t(index)] = value;
}

void TPNGPointerList::Insert(void* value, int position) {
    if (position < 0) return;
    if (FItems.empty()) {
        FItems.push_back(value);
        return;
    }
    if (position >= Count()) return;
    FItems.insert(FItems.begin() + position, value);
}

void* TPNGPointerList::Remove(void* value) {
    auto it = std::find(FItems.begin(), FItems.end(), value);
    if (it == FItems.end()) return nullptr;
    FItems.erase(it);
    return value;
}

void TPNGPointerList::SetSize(int size) {
    if (size <= 0) {
        std::vector<void*>().swap(FItems);
        return;
    }
    FItems.resize(std::size_t(size), nullptr);
}

TPNGList::~TPNGList() { CutAt(0); }

void TPNGPointerList::Truncate(int count) {
    if (count >= 0 && std::size_t(count) < FItems.size()) FItems.erase(FItems.begin() + count, FItems.end());
}

void TPNGList::CutAt(int index) {
    if (index < 0) index = 0;
    for (int i = Count() - 1; i >= index; --i) delete Item(i);
    Truncate(index);
}

TChunk* TPNGList::FindChunk(TChunkClass cls) const {
    for (int i = 0; i < Count(); ++i)
        if (Item(i)->InheritsFrom(cls)) return Item(i);
    return nullptr;
}

TChunk* TPNGList::AddChunk(TChunkClass cls) {
    if (cls == TChunkIHDR::StaticClass() || cls == TChunkPLTE::StaticClass() || cls == TChunkIDAT::StaticClass() ||
        cls == TChunkIEND::StaticClass())
        FailWith<EPngError>(SPngExistentCriticalChunk);
    if ((cls == TChunkgAMA::StaticClass() || cls == TChunktRNS::StaticClass() || cls == TChunkpHYs::StaticClass()) &&
        FindChunk(cls))
        FailWith<EPngError>(SPngExistentCriticalChunk);
    TChunk* ihdr = FindChunk(TChunkIHDR::StaticClass());
    TChunk* iend = FindChunk(TChunkIEND::StaticClass());
    if (!ihdr || !iend) FailWith<EPngError>(SPngInvalidNewChunk);

    TChunk* chunk = cls->Create(Owner());
    int position;
    if (cls == TChunkgAMA::StaticClass() || cls == TChunkpHYs::StaticClass()) {
        position = ihdr->IndexInList() + 1;
    } else if (cls == TChunktRNS::StaticClass()) {
        if (TChunk* plte = FindChunk(TChunkPLTE::StaticClass()))
            position = plte->IndexInList() + 1;
        else if (TChunk* idat = FindChunk(TChunkIDAT::StaticClass()))
            position = idat->IndexInList();
        else
            position = ihdr->IndexInList() + 1;
    } else {
        position = iend->IndexInList();
    }
    Insert(chunk, position);
    return chunk;
}

// ---------------------------------------------------------------------------
// IHDR

TChunkIHDR::TChunkIHDR(TPNGObjectCore* owner) : TChunk(owner) { FChunkType = "IHDR"; }

TChunkIHDR::~TChunkIHDR() {
    // No notice to the owner: it may be in its own destructor.
    FPixels.reset();
    if (FAlphaBits) Allocator().FreeBytes(FAlphaBits);
    if (FLowByteBits) Allocator().FreeBytes(FLowByteBits);
}

bool TChunkIHDR::ReadFrom(TStream& stream, const String& chunkType, LongWord length) {
    inherited::ReadFrom(stream, chunkType, length);
    if (FDataSize < 13) FailWith<EPngInvalidIHDR>(SPngInvalidIHDR);
    const Byte* d = FData.data();
    Width = PngGetLong(d);
    Height = PngGetLong(d + 4);
    BitDepth = d[8];
    ColorType = d[9];
    CompressionMethod = d[10];
    FilterMethod = d[11];
    InterlaceMethod = d[12];
    if (Width > 65535 || Height > 65535) FailWith<EPNGSizeExceeds>(SPngSizeExceeds);
    if (Width == 0 || Height == 0) FailWith<EPngInvalidIHDR>(SPngInvalidIHDR);
    if (CompressionMethod != 0) FailWith<EPNGUnknownCompression>(SPngUnknownCompression);
    if (InterlaceMethod > 1) FailWith<EPNGUnknownInterlace>(SPngUnknownInterlace);
    if (!IsValidColorTypeAndDepth(ColorType, BitDepth)) FailWith<EPngInvalidIHDR>(SPngInvalidIHDR);
    if (FOwner) FOwner->SetInterlacing(TPngInterlacing(InterlaceMethod));
    PrepareImageBuffers();
    return true;
}

bool TChunkIHDR::WriteTo(TStream& stream) {
    ResizeData(13);
    Byte* d = FData.data();
    PngPutLong(d, Width);
    PngPutLong(d + 4, Height);
    // 2-bit images are held, and so written, as 4-bit cells. Only the file
    // says so: the picture keeps its depth, and with it its key.
    d[8] = BitDepth == 2 ? 4 : BitDepth;
    d[9] = ColorType;
    d[10] = CompressionMethod;
    d[11] = FilterMethod;
    d[12] = FOwner ? Byte(FOwner->Interlacing()) : InterlaceMethod;
    return WriteRaw(stream);
}

void TChunkIHDR::CopyFrom(const TChunk& source) {
    CheckCopySource(source, StaticClass());
    const auto& src = static_cast<const TChunkIHDR&>(source);
    inherited::CopyFrom(source);
    Width = src.Width;
    Height = src.Height;
    BitDepth = src.BitDepth;
    ColorType = src.ColorType;
    CompressionMethod = src.CompressionMethod;
    FilterMethod = src.FilterMethod;
    InterlaceMethod = src.InterlaceMethod;
    if (!src.PixelBits()) {
        FreeImageBuffers();
        return;
    }
    PrepareImageBuffers();
    std::size_t rows = std::size_t(FRowStride) * Height;
    std::memcpy(PixelBits(), src.PixelBits(), rows);
    if (FAlphaBits && src.FAlphaBits) std::memcpy(FAlphaBits, src.FAlphaBits, std::size_t(Width) * Height);
    if (FLowByteBits && src.FLowByteBits) std::memcpy(FLowByteBits, src.FLowByteBits, rows);
    FKeyMask = src.FKeyMask;
    std::memcpy(BitmapInfo.bmiColors, src.BitmapInfo.bmiColors, sizeof BitmapInfo.bmiColors);
    if (HasPalette()) SetPaletteEntries(src.ColorTable(), PaletteSize());
}

void TChunkIHDR::CheckFields() {
    if (Width == 0 || Height == 0 || BitmapBitsFor(ColorType, BitDepth) == 0)
        FailWith<EPngInvalidIHDR>(SPngInvalidIHDR);
}

void TChunkIHDR::FillBitmapHeader() {
    std::memset(&BitmapInfo, 0, sizeof BitmapInfo);
    TPngBitmapInfoHeader& h = BitmapInfo.bmiHeader;
    h.biSize = sizeof(TPngBitmapInfoHeader);
    h.biWidth = std::int32_t(Width);
    h.biHeight = std::int32_t(Height);
    h.biPlanes = 1;
    h.biBitCount = Word(BitmapBitsFor(ColorType, BitDepth));
    h.biCompression = 0;
    FRowStride = std::size_t((std::uint64_t(h.biBitCount) * Width + 31) / 32 * 4);
}

Byte* TChunkIHDR::AllocateAuxiliary(std::size_t size, Byte fill) {
    Byte* p = Allocator().AllocateBytes(size);
    if (!p) FailWith<EPNGOutMemory>(SPngOutMemory);
    if (fill) std::memset(p, fill, size);
    return p;
}

namespace {

// Byte counts of the buffers, refused when they do not fit this process.
std::size_t CheckedProduct(std::uint64_t a, std::uint64_t b) {
    std::uint64_t p = a * b;  // both at most 2^20 and 2^16
    if (p > std::uint64_t(SIZE_MAX / 2)) FailWith<EPNGOutMemory>(SPngOutMemory);
    return std::size_t(p);
}

}  // namespace

void TChunkIHDR::PrepareImageBuffers() {
    CheckFields();
    FreeImageBuffers();
    FillBitmapHeader();
    FAllocator = FOwner ? &FOwner->ImageAllocator() : &TPngImageAllocator::Default();
    TPngImageAllocator& allocator = *FAllocator;
    std::size_t pixelSize = CheckedProduct(FRowStride, Height);
    if (ColorType == COLOR_GRAYSCALEALPHA || ColorType == COLOR_RGBALPHA)
        FAlphaBits = AllocateAuxiliary(CheckedProduct(Width, Height), 0);
    if (BitDepth == 16) FLowByteBits = AllocateAuxiliary(pixelSize, 0);

    if (HasPalette()) {
        if (ColorType == COLOR_PALETTE) {
            allocator.FillIndexedColorTable(BitmapInfo.bmiColors, PaletteSize());
        } else {
            int entries = BitDepth == 16 ? 256 : 1 << BitDepth;
            const Byte* gamma = FOwner ? FOwner->GammaTable : nullptr;
            for (int i = 0; i < entries; ++i) {
                int v = PngMulDiv(i, 255, entries - 1);
                Byte g = gamma ? gamma[v] : Byte(v);
                BitmapInfo.bmiColors[i] = {g, g, g, 0};
            }
        }
    }
    FPixels = allocator.CreatePixels(BitmapInfo, pixelSize);
    if (!FPixels || !FPixels->Bits()) {
        FreeImageBuffers();
        FailWith<EPNGOutMemory>(SPngOutMemory);
    }
    if (FOwner) FOwner->ImageBuffersChanged();
}

void TChunkIHDR::FreeImageBuffers() {
    bool had = FPixels || FAlphaBits || FLowByteBits;
    FPixels.reset();
    FKeyMask.clear();
    TPngImageAllocator& allocator = Allocator();
    if (FAlphaBits) allocator.FreeBytes(FAlphaBits);
    if (FLowByteBits) allocator.FreeBytes(FLowByteBits);
    FAlphaBits = FLowByteBits = nullptr;
    if (had && FOwner) FOwner->ImageBuffersChanged();
}

void TChunkIHDR::SetPaletteEntries(const TPngRGBQuad* entries, int count) {
    if (!HasPalette()) return;
    count = std::clamp(count, 0, 256);
    std::memmove(BitmapInfo.bmiColors, entries, std::size_t(count) * sizeof(TPngRGBQuad));
    if (FPixels) FPixels->ColorTableChanged(BitmapInfo, count);
}

void TChunkIHDR::BuildGrayPalette() {
    if (!HasPalette()) return;
    int entries = PaletteSize();
    TPngRGBQuad table[256];
    for (int i = 0; i < entries; ++i) {
        int v = PngMulDiv(i, 255, entries - 1);
        Byte g = FOwner ? FOwner->GammaTable[v] : Byte(v);
        table[i] = {g, g, g, 0};
    }
    SetPaletteEntries(table, entries);
}

TPngImageAllocator& TChunkIHDR::Allocator() {
    if (!FAllocator) FAllocator = FOwner ? &FOwner->ImageAllocator() : &TPngImageAllocator::Default();
    return *FAllocator;
}

void TChunkIHDR::ResizeImageBuffers(LongWord width, LongWord height) {
    TPngImageAllocator& allocator = Allocator();
    TPngBitmapInfo info = BitmapInfo;
    info.bmiHeader.biWidth = std::int32_t(width);
    info.bmiHeader.biHeight = std::int32_t(height);
    std::size_t stride = std::size_t((std::uint64_t(BitsPerPixel()) * width + 31) / 32 * 4);
    std::size_t pixelSize = CheckedProduct(stride, height);
    LongWord rows = std::min(height, Height);
    std::size_t common = std::min(stride, FRowStride);
    std::size_t commonAlpha = std::min(width, Width);
    // Every new buffer is had before anything changes, and what was had is
    // given back when a later one cannot be: a failure leaves the image as
    // it was.
    std::vector<Byte> mask;
    if (!FKeyMask.empty()) {
        // New pixels are zero, and no key.
        mask.assign(std::size_t(width) * height, 0);
        for (LongWord y = 0; y < rows; ++y)
            std::memcpy(mask.data() + std::size_t(y) * width, FKeyMask.data() + std::size_t(y) * Width, commonAlpha);
    }
    std::unique_ptr<TPngPixelMemory> pixels = allocator.CreatePixels(info, pixelSize);
    if (!pixels || !pixels->Bits()) FailWith<EPNGOutMemory>(SPngOutMemory);
    auto freeBytes = [&allocator](Byte* bytes) { allocator.FreeBytes(bytes); };
    std::unique_ptr<Byte, decltype(freeBytes)> alpha(nullptr, freeBytes);
    std::unique_ptr<Byte, decltype(freeBytes)> low(nullptr, freeBytes);
    if (FAlphaBits) alpha.reset(AllocateAuxiliary(CheckedProduct(width, height), 255));
    if (FLowByteBits) low.reset(AllocateAuxiliary(pixelSize, 0));
    for (LongWord y = 0; y < rows; ++y) {
        std::memcpy(pixels->Bits() + stride * (height - 1 - y), PixelBits() + FRowStride * (Height - 1 - y), common);
        if (low)
            std::memcpy(low.get() + stride * (height - 1 - y), FLowByteBits + FRowStride * (Height - 1 - y), common);
        if (alpha) std::memcpy(alpha.get() + std::size_t(y) * width, FAlphaBits + std::size_t(y) * Width, commonAlpha);
    }
    FKeyMask.swap(mask);
    FPixels = std::move(pixels);
    if (FAlphaBits) allocator.FreeBytes(FAlphaBits);
    if (FLowByteBits) allocator.FreeBytes(FLowByteBits);
    FAlphaBits = alpha.release();
    FLowByteBits = low.release();
    BitmapInfo = info;
    Width = width;
    Height = height;
    FRowStride = stride;
    if (FOwner) FOwner->ImageBuffersChanged();
}

void TChunkIHDR::AddAlphaBuffer() {
    if (ColorType != COLOR_GRAYSCALE && ColorType != COLOR_RGB) return;
    if (!PixelBits()) PrepareImageBuffers();
    if (ColorType == COLOR_GRAYSCALE && BitDepth < 8) {
        // Keep the grey of every cell: cell c of a b-bit bitmap stands for
        // palette entry c, whose grey is step c * 255 / (2^b - 1).
        int bpp = BitsPerPixel();
        int maxCell = (1 << bpp) - 1;
        std::vector<Byte> grey(std::size_t(Width) * Height);
        for (LongWord y = 0; y < Height; ++y) {
            const Byte* row = PixelBits() + FRowStride * (Height - 1 - y);
            for (LongWord x = 0; x < Width; ++x) {
                int c = PackedCell(row, x, bpp);
                grey[std::size_t(y) * Width + x] = Byte(PngMulDiv(c, 255, maxCell));
            }
        }
        BitDepth = 8;
        ColorType = COLOR_GRAYSCALEALPHA;
        PrepareImageBuffers();
        for (LongWord y = 0; y < Height; ++y)
            std::memcpy(PixelBits() + FRowStride * (Height - 1 - y), grey.data() + std::size_t(y) * Width, Width);
        std::memset(FAlphaBits, 255, std::size_t(Width) * Height);
        return;
    }
    Byte* alpha = AllocateAuxiliary(CheckedProduct(Width, Height), 255);
    if (FAlphaBits) Allocator().FreeBytes(FAlphaBits);
    FAlphaBits = alpha;
    FKeyMask.clear();  // an image with alpha has no key
    ColorType = ColorType == COLOR_GRAYSCALE ? COLOR_GRAYSCALEALPHA : COLOR_RGBALPHA;
}

// ---------------------------------------------------------------------------
// PLTE

bool TChunkPLTE::ReadFrom(TStream& stream, const String& chunkType, LongWord length) {
    inherited::ReadFrom(stream, chunkType, length);
    if (FDataSize % 3 != 0 || FDataSize / 3 > 256) FailWith<EPNGInvalidPalette>(SPngInvalidPalette);
    EntryCount = int(FDataSize / 3);
    TChunkIHDR* header = Header();
    if (!header) return true;
    TPngRGBQuad entries[256];
    const Byte* gamma = FOwner->GammaTable;
    for (int i = 0; i < EntryCount; ++i) {
        const Byte* rgb = FData.data() + 3 * i;
        entries[i] = {gamma[rgb[2]], gamma[rgb[1]], gamma[rgb[0]], 0};
    }
    header->SetPaletteEntries(entries, EntryCount);
    return true;
}

bool TChunkPLTE::WriteTo(TStream& stream) {
    TChunkIHDR* header = Header();
    // A truecolour image's suggested palette is not held in the bitmap:
    // it is written back as it was read.
    if (!header || !header->HasPalette()) return WriteRaw(stream);
    if (EntryCount == 0) EntryCount = header->PaletteSize();
    ResizeData(std::size_t(EntryCount) * 3);
    const Byte* inverse = FOwner->InverseGammaTable;
    for (int i = 0; i < EntryCount; ++i) {
        const TPngRGBQuad& q = header->ColorTable()[i];
        FData[3 * i] = inverse[q.rgbRed];
        FData[3 * i + 1] = inverse[q.rgbGreen];
        FData[3 * i + 2] = inverse[q.rgbBlue];
    }
    return WriteRaw(stream);
}

void TChunkPLTE::CopyFrom(const TChunk& source) {
    CheckCopySource(source, StaticClass());
    inherited::CopyFrom(source);
    EntryCount = static_cast<const TChunkPLTE&>(source).EntryCount;
}

TPngRGBQuad TChunkPLTE::PaletteEntry(int index) const {
    TChunkIHDR* header = Header();
    if (index < 0 || index >= EntryCount || index > 255 || !header) FailWith<EPngError>(SPngUnknownPalEntry);
    return header->ColorTable()[index];
}

// ---------------------------------------------------------------------------
// tRNS

TChunktRNS::TChunktRNS(TPNGObjectCore* owner) : TChunk(owner) {
    FChunkType = "tRNS";
    std::memset(AlphaTable, 255, sizeof AlphaTable);
}

bool TChunktRNS::ReadFrom(TStream& stream, const String& chunkType, LongWord length) {
    inherited::ReadFrom(stream, chunkType, length);
    if (FDataSize > 256) FailWith<EPNGInvalidPalette>(SPngInvalidPalette);
    std::memset(AlphaTable, 255, sizeof AlphaTable);
    std::memcpy(AlphaTable, FData.data(), FDataSize);
    TChunkIHDR* header = Header();
    Byte colorType = header ? header->ColorType : 0;
    if (colorType == COLOR_GRAYSCALE || colorType == COLOR_RGB) {
        IsColorKey = true;
    } else if (colorType == COLOR_PALETTE) {
        // One transparent entry and all others opaque: a single key colour.
        // Any other mix of alpha levels has to be drawn blended.
        int zeros = 0;
        bool binary = true;
        for (std::size_t i = 0; i < FDataSize; ++i) {
            if (AlphaTable[i] == 0)
                ++zeros;
            else if (AlphaTable[i] != 255)
                binary = false;
        }
        IsColorKey = binary && zeros == 1;
    }
    return true;
}

bool TChunktRNS::WriteTo(TStream& stream) {
    TChunkIHDR* header = Header();
    // An indexed image whose key colour was not in its palette has no
    // transparency to write.
    if (header && header->ColorType == COLOR_PALETTE && FDataSize == 0) return true;
    std::size_t n = std::min<std::size_t>(FDataSize, 256);
    std::memcpy(FData.data(), AlphaTable, n);
    if (header && HasKey() && (header->ColorType == COLOR_GRAYSCALE || header->ColorType == COLOR_RGB))
        WrittenKey(FData.data());
    return WriteRaw(stream);
}

void TChunktRNS::WrittenKey(Byte* out) const {
    TChunkIHDR* header = Header();
    if (!header) return;
    const Byte depth = header->BitDepth;
    if (header->ColorType == COLOR_GRAYSCALE) {
        // Grey is written as held: 16-bit samples as the high byte and a low
        // byte of 0, 2-bit samples as the 4-bit cells 0, 5, 10 and 15.
        if (depth == 16) {
            out[0] = AlphaTable[0];
            out[1] = 0;
        } else if (depth == 2) {
            out[0] = 0;
            out[1] = Byte((AlphaTable[1] & 3) * 5);
        }
        return;
    }
    // Colour is held through the gamma table and written back through its
    // inverse; 16-bit samples keep only their high byte.
    const Byte* gamma = FOwner->GammaTable;
    const Byte* inverse = FOwner->InverseGammaTable;
    for (int c = 0; c < 3; ++c) {
        if (depth == 16) {
            out[2 * c] = inverse[gamma[AlphaTable[2 * c]]];
            out[2 * c + 1] = 0;
        } else {
            out[2 * c] = AlphaTable[2 * c];
            out[2 * c + 1] = inverse[gamma[AlphaTable[2 * c + 1]]];
        }
    }
}

void TChunktRNS::CopyFrom(const TChunk& source) {
    CheckCopySource(source, StaticClass());
    inherited::CopyFrom(source);
    const auto& src = static_cast<const TChunktRNS&>(source);
    std::memcpy(AlphaTable, src.AlphaTable, sizeof AlphaTable);
    IsColorKey = src.IsColorKey;
}

bool TChunktRNS::HasKey() const {
    TChunkIHDR* header = Header();
    if (!header) return false;
    switch (header->ColorType) {
    case COLOR_GRAYSCALE: return FDataSize >= 2;
    case COLOR_RGB: return FDataSize >= 6;
    case COLOR_PALETTE: return FDataSize >= 1;
    default: return false;
    }
}

TPngColor TChunktRNS::KeyColorValue() const {
    TChunkIHDR* header = Header();
    if (!header || !HasKey()) return 0;
    // The held pixels are the high bytes of 16-bit samples, so a 16-bit key
    // compares by its high byte; 8-bit and smaller samples are the low byte.
    int sampleByte = header->BitDepth == 16 ? 0 : 1;
    switch (header->ColorType) {
    case COLOR_GRAYSCALE: {
        int index = AlphaTable[sampleByte];
        if (header->BitDepth < 8) {
            index &= (1 << header->BitDepth) - 1;
            if (header->BitDepth == 2) index *= 5;  // the 4-bit cell of a 2-bit sample
        }
        const TPngRGBQuad& q = header->ColorTable()[index];
        return PngRGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    case COLOR_RGB: {
        const Byte* gamma = FOwner->GammaTable;
        return PngRGB(gamma[AlphaTable[sampleByte]], gamma[AlphaTable[2 + sampleByte]],
                      gamma[AlphaTable[4 + sampleByte]]);
    }
    case COLOR_PALETTE:
        for (std::size_t i = 0; i < std::min<std::size_t>(FDataSize, 256); ++i)
            if (AlphaTable[i] == 0) {
                const TPngRGBQuad& q = header->ColorTable()[i];
                return PngRGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
            }
        return 0;
    default: return 0;
    }
}

bool TChunktRNS::SetKeyColor(TPngColor color) {
    TChunkIHDR* header = Header();
    std::memset(AlphaTable, 255, sizeof AlphaTable);
    IsColorKey = true;
    if (!header) return false;
    // A key given by colour: the pixels of that colour are the key.
    header->FreeKeyMask();
    auto sample = [&](Byte value) -> Word {
        if (header->BitDepth == 16) return Word(value << 8);
        if (header->BitDepth < 8) return Word(value >> (8 - header->BitDepth));
        return value;
    };
    switch (header->ColorType) {
    case COLOR_GRAYSCALE: {
        Word v = sample(PngRed(color));
        ResizeData(2);
        AlphaTable[0] = Byte(v >> 8);
        AlphaTable[1] = Byte(v);
        break;
    }
    case COLOR_RGB: {
        ResizeData(6);
        Byte channels[3] = {PngRed(color), PngGreen(color), PngBlue(color)};
        for (int c = 0; c < 3; ++c) {
            Word v = sample(channels[c]);
            AlphaTable[2 * c] = Byte(v >> 8);
            AlphaTable[2 * c + 1] = Byte(v);
        }
        break;
    }
    case COLOR_PALETTE: {
        // The colours of the palette (the bitmap's table may hold more).
        int count = header->PaletteSize();
        if (auto* plte = FOwner->ChunkList().FindChunk<TChunkPLTE>()) count = std::min(count, plte->EntryCount);
        int n = 0;
        while (n < count) {
            const TPngRGBQuad& q = header->ColorTable()[n];
            if (PngRGB(q.rgbRed, q.rgbGreen, q.rgbBlue) == (color & 0xFFFFFF)) break;
            ++n;
        }
        if (n == count) {
            // Not in the palette: no colour of the image is transparent.
            ResizeData(0);
            IsColorKey = false;
            return false;
        }
        AlphaTable[n] = 0;
        ResizeData(std::size_t(n) + 1);
        break;
    }
    default:
        ResizeData(0);
        IsColorKey = false;
        return false;
    }
    std::memcpy(FData.data(), AlphaTable, FDataSize);
    return true;
}

// ---------------------------------------------------------------------------
// gAMA

TChunkgAMA::TChunkgAMA(TPNGObjectCore* owner) : TChunk(owner) {
    FChunkType = "gAMA";
    SetGammaValue(1);
}

LongWord TChunkgAMA::GammaValue() {
    if (FDataSize != 4) {
        SetGammaValue(1);
        return 1;
    }
    return PngGetLong(FData.data());
}

void TChunkgAMA::SetGammaValue(LongWord value) {
    if (FDataSize != 4) ResizeData(4);
    PngPutLong(FData.data(), value);
}

bool TChunkgAMA::ReadFrom(TStream& stream, const String& chunkType, LongWord length) {
    inherited::ReadFrom(stream, chunkType, length);
    // A gAMA of the wrong size holds no gamma: the tables stay as they are.
    if (FDataSize != 4 || !FOwner) return true;
    LongWord v = GammaValue();
    if (v == 0) return true;
    double exponent = 1.0 / (double(v) / 100000.0 * 2.2);
    for (int i = 0; i < 256; ++i) {
        double g = 255.0 * std::pow(i / 255.0, exponent);
        double r = std::nearbyint(g);
        FOwner->GammaTable[i] = Byte(std::clamp(r, 0.0, 255.0));
    }
    for (int i = 0; i < 256; ++i) FOwner->InverseGammaTable[FOwner->GammaTable[i]] = Byte(i);
    return true;
}

void TChunkgAMA::CopyFrom(const TChunk& source) {
    CheckCopySource(source, StaticClass());
    inherited::CopyFrom(source);
}

// ---------------------------------------------------------------------------
// pHYs and tIME

bool TChunkpHYs::ReadFrom(TStream& stream, const String& chunkType, LongWord length) {
    inherited::ReadFrom(stream, chunkType, length);
    if (FDataSize == 9) {
        PPUnitX = PngGetLong(FData.data());
        PPUnitY = PngGetLong(FData.data() + 4);
        UnitType = FData[8];
    }
    return true;
}

bool TChunkpHYs::WriteTo(TStream& stream) {
    ResizeData(9);
    PngPutLong(FData.data(), PPUnitX);
    PngPutLong(FData.data() + 4, PPUnitY);
    FData[8] = UnitType;
    return WriteRaw(stream);
}

void TChunkpHYs::CopyFrom(const TChunk& source) {
    CheckCopySource(source, StaticClass());
    inherited::CopyFrom(source);
    const auto& src = static_cast<const TChunkpHYs&>(source);
    PPUnitX = src.PPUnitX;
    PPUnitY = src.PPUnitY;
    UnitType = src.UnitType;
}

bool TChunktIME::ReadFrom(TStream& stream, const String& chunkType, LongWord length) {
    inherited::ReadFrom(stream, chunkType, length);
    if (FDataSize == 7) {
        const Byte* d = FData.data();
        Year = Word((d[0] << 8) | d[1]);
        Month = d[2];
        Day = d[3];
        Hour = d[4];
        Minute = d[5];
        Second = d[6];
    }
    return true;
}

bool TChunktIME::WriteTo(TStream& stream) {
    ResizeData(7);
    Byte* d = FData.data();
    d[0] = Byte(Year >> 8);
    d[1] = Byte(Year);
    d[2] = Month;
    d[3] = Day;
    d[4] = Hour;
    d[5] = Minute;
    d[6] = Second;
    return WriteRaw(stream);
}

void TChunktIME::CopyFrom(const TChunk& source) {
    CheckCopySource(source, StaticClass());
    inherited::CopyFrom(source);
    const auto& src = static_cast<const TChunktIME&>(source);
    Year = src.Year;
    Month = src.Month;
    Day = src.Day;
    Hour = src.Hour;
    Minute = src.Minute;
    Second = src.Second;
}

// ---------------------------------------------------------------------------
// tEXt and zTXt

namespace {

// Length of the keyword: the bytes before the first zero (all of them
// when there is none).
std::size_t KeywordLength(const Byte* data, std::size_t size) {
    const void* zero = std::memchr(data, 0, size);
    return zero ? std::size_t(static_cast<const Byte*>(zero) - data) : size;
}

}  // namespace

bool TChunktEXt::ReadFrom(TStream& stream, const String& chunkType, LongWord length) {
    inherited::ReadFrom(stream, chunkType, length);
    if (FDataSize > 2) {
        std::size_t k = KeywordLength(FData.data(), FDataSize);
        Keyword.assign(reinterpret_cast<const char*>(FData.data()), k);
        if (k + 1 < FDataSize)
            Text.assign(reinterpret_cast<const char*>(FData.data()) + k + 1, FDataSize - k - 1);
        else
            Text.clear();
    }
    return true;
}

bool TChunktEXt::WriteTo(TStream& stream) {
    ResizeData(Keyword.size() + 1 + Text.size());
    std::memcpy(FData.data(), Keyword.data(), Keyword.size());
    FData[Keyword.size()] = 0;
    std::memcpy(FData.data() + Keyword.size() + 1, Text.data(), Text.size());
    return WriteRaw(stream);
}

void TChunktEXt::CopyFrom(const TChunk& source) {
    CheckCopySource(source, StaticClass());
    inherited::CopyFrom(source);
    const auto& src = static_cast<const TChunktEXt&>(source);
    Keyword = src.Keyword;
    Text = src.Text;
}

bool TChunkzTXt::ReadFrom(TStream& stream, const String& chunkType, LongWord length) {
    inherited::ReadFrom(stream, chunkType, length);
    if (FDataSize > 3) {
        std::size_t k = KeywordLength(FData.data(), FDataSize);
        Keyword.assign(reinterpret_cast<const char*>(FData.data()), k);
        Text.clear();
        if (k + 1 < FDataSize && FData[k + 1] == 0) {
            String message;
            const Byte* compressed = FData.data() + k + 2;
            if (!InflateBuffer(compressed, FDataSize - k - 2, Text, message, PngMaxTextSize)) Text.clear();
        }
    }
    return true;
}

bool TChunkzTXt::WriteTo(TStream& stream) {
    if (Text.empty()) Text.assign(1, ' ');
    std::vector<Byte> compressed;
    String message;
    int level = FOwner ? FOwner->DeflateLevel() : 7;
    if (!DeflateBuffer(reinterpret_cast<const Byte*>(Text.data()), Text.size(), level, compressed, message))
        return false;
    ResizeData(Keyword.size() + 2 + compressed.size());
    std::memcpy(FData.data(), Keyword.data(), Keyword.size());
    FData[Keyword.size()] = 0;
    FData[Keyword.size() + 1] = 0;
    std::memcpy(FData.data() + Keyword.size() + 2, compressed.data(), compressed.size());
    return WriteRaw(stream);
}
