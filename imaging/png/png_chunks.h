// The chunks of a PNG stream: the chunk base class, the class registry that
// maps a four-letter chunk type to its class, the list of chunks a picture
// holds, and the ten chunk classes the codec understands. Any other chunk
// is kept as a plain TChunk with its raw data.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "classlib/core/streams.h"
#include "imaging/png/png_errors.h"
#include "imaging/png/png_memory.h"
#include "imaging/png/png_types.h"

class TChunk;
class TChunkIHDR;
class TPNGObjectCore;

// A chunk class reference: the class's name, its base and how to create one.
struct TChunkClassInfo {
    const char* ClassName;
    const TChunkClassInfo* Parent;
    TChunk* (*Create)(TPNGObjectCore* owner);
};
using TChunkClass = const TChunkClassInfo*;

bool ChunkClassInheritsFrom(TChunkClass cls, TChunkClass ancestor);

// Declares a chunk class's class reference; first thing in the class body.
#define QL_PNG_CHUNK(Self, Base)                                                                                       \
public:                                                                                                                \
    using inherited = Base;                                                                                            \
    static TChunkClass StaticClass();                                                                                  \
    TChunkClass ClassType() const override { return StaticClass(); }

// Registry of chunk classes, searched in registration order.
void RegisterChunkClass(TChunkClass cls);
void RegisterStandardChunks();
void FreeChunkClasses();
// A new chunk of the first registered class whose kind is chunkType (a
// plain TChunk when none is), with its ChunkType set to chunkType.
TChunk* CreateChunkForType(TPNGObjectCore* image, const String& chunkType);

// Helpers over the stream interface.
bool PngReadExact(TStream& stream, void* buffer, std::size_t count);
void PngWriteExact(TStream& stream, const void* buffer, std::size_t count);
inline LongWord PngGetLong(const Byte* p) {
    return (LongWord(p[0]) << 24) | (LongWord(p[1]) << 16) | (LongWord(p[2]) << 8) | p[3];
}
inline void PngPutLong(Byte* p, LongWord v) {
    p[0] = Byte(v >> 24);
    p[1] = Byte(v >> 16);
    p[2] = Byte(v >> 8);
    p[3] = Byte(v);
}

class TChunk {
public:
    explicit TChunk(TPNGObjectCore* owner);
    virtual ~TChunk() = default;
    TChunk(const TChunk&) = delete;
    TChunk& operator=(const TChunk&) = delete;

    static TChunkClass StaticClass();
    virtual TChunkClass ClassType() const { return StaticClass(); }
    bool InheritsFrom(TChunkClass cls) const { return ChunkClassInheritsFrom(ClassType(), cls); }

    // The chunk type a class stands for: its name less the first six
    // letters ("TChunkIHDR" gives "IHDR", the base class "").
    static String KindName(TChunkClass cls);
    String KindName() const { return KindName(ClassType()); }

    // Copies the type and the data.
    virtual void CopyFrom(const TChunk& source);
    // Reads length bytes of data and the CRC; a CRC mismatch raises
    // EPngInvalidCRC, a stream that ends first EPngUnexpectedEnd.
    virtual bool ReadFrom(TStream& stream, const String& chunkType, LongWord length);
    virtual bool WriteTo(TStream& stream) { return WriteRaw(stream); }
    // Length, type, data and CRC as they are.
    bool WriteRaw(TStream& stream);

    // The four type letters (a chunk made directly takes its class's kind).
    String ChunkType() const { return FChunkType.empty() ? KindName() : FChunkType; }
    void SetChunkType(const String& chunkType) { FChunkType = chunkType; }
    Byte* ChunkData() { return FData.data(); }
    const Byte* ChunkData() const { return FData.data(); }
    std::size_t ChunkDataSize() const { return FDataSize; }
    // The buffer always holds one spare byte past the data.
    void ResizeData(std::size_t size);

    TPNGObjectCore* OwnerImage() const { return FOwner; }
    int IndexInList() const;
    // The owner's header, nullptr when it has none.
    TChunkIHDR* Header() const;

protected:
    void CheckCopySource(const TChunk& source, TChunkClass cls) const;

    TPNGObjectCore* FOwner;
    String FChunkType;
    std::vector<Byte> FData;
    std::size_t FDataSize = 0;
};

// A growable array of pointers.
class TPNGPointerList {
public:
    explicit TPNGPointerList(TPNGObjectCore* owner) : FOwner(owner) {}
    virtual ~TPNGPointerList() = default;
    TPNGPointerList(const TPNGPointerList&) = delete;
    TPNGPointerList& operator=(const TPNGPointerList&) = delete;

    int Count() const { return int(FItems.size()); }
    TPNGObjectCore* Owner() const { return FOwner; }
    // Out of range: nullptr.
    void* GetItem(int index) const;
    // Out of range: nothing.
    void SetItem(int index, void* value);
    void Add(void* value) { FItems.push_back(value); }
    // A position at or past the end of a non-empty list does nothing.
    void Insert(void* value, int position);
    // Returns value when it was in the list, else nullptr.
    void* Remove(void* value);
    void SetSize(int size);

protected:
    // Drops the items from index count on.
    void Truncate(int count);

private:
    TPNGObjectCore* FOwner;
    std::vector<void*> FItems;
};

// The chunks of a picture, in stream order; it owns them.
class TPNGList : public TPNGPointerList {
public:
    using TPNGPointerList::TPNGPointerList;
    ~TPNGList() override;

    TChunk* Item(int index) const { return static_cast<TChunk*>(GetItem(index)); }
    // Adds an ancillary chunk at its place (see the .cpp); critical chunks,
    // a second gAMA, tRNS or pHYs, and a list without IHDR or IEND are
    // refused with EPngError.
    TChunk* AddChunk(TChunkClass cls);
    template <class T>
    T* AddChunk() {
        return static_cast<T*>(AddChunk(T::StaticClass()));
    }
    // The first chunk of class cls or a descendant, nullptr when none.
    TChunk* FindChunk(TChunkClass cls) const;
    template <class T>
    T* FindChunk() const {
        return static_cast<T*>(FindChunk(T::StaticClass()));
    }
    // Frees the chunks from index on.
    void CutAt(int index);
};

// The header chunk; it owns the decoded image buffers.
class TChunkIHDR : public TChunk {
    QL_PNG_CHUNK(TChunkIHDR, TChunk)
public:
    explicit TChunkIHDR(TPNGObjectCore* owner);
    ~TChunkIHDR() override;

    bool ReadFrom(TStream& stream, const String& chunkType, LongWord length) override;
    bool WriteTo(TStream& stream) override;
    void CopyFrom(const TChunk& source) override;

    LongWord Width = 0;
    LongWord Height = 0;
    Byte BitDepth = 0;
    Byte ColorType = 0;
    Byte CompressionMethod = 0;
    Byte FilterMethod = 0;
    Byte InterlaceMethod = 0;

    // The bitmap header and ColorTable.
    TPngBitmapInfo BitmapInfo{};
    TPngRGBQuad* ColorTable() { return BitmapInfo.bmiColors; }
    const TPngRGBQuad* ColorTable() const { return BitmapInfo.bmiColors; }
    int BitsPerPixel() const { return BitmapInfo.bmiHeader.biBitCount; }
    // Whether the bitmap has a palette (grey, indexed and grey+alpha).
    bool HasPalette() const { return BitsPerPixel() > 0 && BitsPerPixel() <= 8; }
    // Colours of the palette: 2^(bits per pixel), 0 without palette.
    int PaletteSize() const { return HasPalette() ? 1 << BitsPerPixel() : 0; }

    // Which pixels of a colour-keyed colour image are the key, one byte per
    // pixel (1: the key), top-down: recorded while decoding when the gamma
    // table is not the identity, because the held (gamma-mapped) colours
    // of two file samples may then be equal; nullptr otherwise.
    Byte* KeyMaskBits() { return FKeyMask.empty() ? nullptr : FKeyMask.data(); }
    const Byte* KeyMaskBits() const { return FKeyMask.empty() ? nullptr : FKeyMask.data(); }
    // A zeroed mask for the current size.
    void PrepareKeyMask() { FKeyMask.assign(std::size_t(Width) * Height, 0); }
    void FreeKeyMask() { FKeyMask.clear(); }

    Byte* PixelBits() const { return FPixels ? FPixels->Bits() : nullptr; }
    Byte* AlphaBits() const { return FAlphaBits; }
    Byte* LowByteBits() const { return FLowByteBits; }
    std::size_t RowStride() const { return FRowStride; }
    TPngPixelMemory* PixelMemory() const { return FPixels.get(); }

    // Makes fresh zero-filled buffers for the current fields.
    void PrepareImageBuffers();
    void FreeImageBuffers();
    // The palette write: copies count entries into ColorTable (only when
    // the bitmap has a palette) and tells the pixel memory.
    void SetPaletteEntries(const TPngRGBQuad* entries, int count);
    // Replaces the palette of a grey bitmap by the grey steps of the
    // current gamma table.
    void BuildGrayPalette();
    // Replaces the buffers by ones of a new size, keeping the common part.
    void ResizeImageBuffers(LongWord width, LongWord height);
    // Grey becomes grey + alpha and colour becomes colour + alpha, with
    // every pixel opaque. Grey below 8 bits is widened to 8 bits first, as
    // grey + alpha has no smaller samples.
    void AddAlphaBuffer();

private:
    void CheckFields();
    void FillBitmapHeader();
    Byte* AllocateAuxiliary(std::size_t size, Byte fill);

    // The allocator the buffers came from (the owner's at the time).
    TPngImageAllocator& Allocator();

    TPngImageAllocator* FAllocator = nullptr;
    std::unique_ptr<TPngPixelMemory> FPixels;
    std::vector<Byte> FKeyMask;
    Byte* FAlphaBits = nullptr;
    Byte* FLowByteBits = nullptr;
    std::size_t FRowStride = 0;
};

class TChunkPLTE : public TChunk {
    QL_PNG_CHUNK(TChunkPLTE, TChunk)
public:
    using TChunk::TChunk;
    bool ReadFrom(TStream& stream, const String& chunkType, LongWord length) override;
    bool WriteTo(TStream& stream) override;
    void CopyFrom(const TChunk& source) override;
    // Colour-table entry index; at or past EntryCount raises EPngError 65016.
    TPngRGBQuad PaletteEntry(int index) const;

    int EntryCount = 0;
};

class TChunktRNS : public TChunk {
    QL_PNG_CHUNK(TChunktRNS, TChunk)
public:
    explicit TChunktRNS(TPNGObjectCore* owner);
    bool ReadFrom(TStream& stream, const String& chunkType, LongWord length) override;
    bool WriteTo(TStream& stream) override;
    void CopyFrom(const TChunk& source) override;

    // Whether the data holds a whole key (2 bytes for grey, 6 for colour,
    // one entry or more for indexed images).
    bool HasKey() const;
    TPngColor KeyColorValue() const;
    // Makes color the one transparent colour; false (and no transparency)
    // when an indexed image's palette does not hold it.
    bool SetKeyColor(TPngColor color);
    // The key of a grey or colour image as the encoder writes the samples
    // (2 or 6 bytes into out), so that it names the pixels it named.
    void WrittenKey(Byte* out) const;

    Byte AlphaTable[256];
    bool IsColorKey = false;
};

class TChunkgAMA : public TChunk {
    QL_PNG_CHUNK(TChunkgAMA, TChunk)
public:
    explicit TChunkgAMA(TPNGObjectCore* owner);
    bool ReadFrom(TStream& stream, const String& chunkType, LongWord length) override;
    void CopyFrom(const TChunk& source) override;
    LongWord GammaValue();
    void SetGammaValue(LongWord value);
};

class TChunkpHYs : public TChunk {
    QL_PNG_CHUNK(TChunkpHYs, TChunk)
public:
    using TChunk::TChunk;
    bool ReadFrom(TStream& stream, const String& chunkType, LongWord length) override;
    bool WriteTo(TStream& stream) override;
    void CopyFrom(const TChunk& source) override;

    LongWord PPUnitX = 0;
    LongWord PPUnitY = 0;
    Byte UnitType = 0;
};

class TChunktIME : public TChunk {
    QL_PNG_CHUNK(TChunktIME, TChunk)
public:
    using TChunk::TChunk;
    bool ReadFrom(TStream& stream, const String& chunkType, LongWord length) override;
    bool WriteTo(TStream& stream) override;
    void CopyFrom(const TChunk& source) override;

    Word Year = 0;
    Byte Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

class TChunktEXt : public TChunk {
    QL_PNG_CHUNK(TChunktEXt, TChunk)
public:
    using TChunk::TChunk;
    bool ReadFrom(TStream& stream, const String& chunkType, LongWord length) override;
    bool WriteTo(TStream& stream) override;
    void CopyFrom(const TChunk& source) override;

    String Keyword;
    String Text;
};

class TChunkzTXt : public TChunktEXt {
    QL_PNG_CHUNK(TChunkzTXt, TChunktEXt)
public:
    using TChunktEXt::TChunktEXt;
    bool ReadFrom(TStream& stream, const String& chunkType, LongWord length) override;
    bool WriteTo(TStream& stream) override;
};

// The image data. Reading (the first IDAT of a run) decodes every IDAT of
// the run into the header's buffers; writing encodes them as one or more
// IDAT chunks. See png_decode.cpp and png_encode.cpp.
class TChunkIDAT : public TChunk {
    QL_PNG_CHUNK(TChunkIDAT, TChunk)
public:
    using TChunk::TChunk;
    bool ReadFrom(TStream& stream, const String& chunkType, LongWord length) override;
    bool WriteTo(TStream& stream) override;
};

class TChunkIEND : public TChunk {
    QL_PNG_CHUNK(TChunkIEND, TChunk)
public:
    using TChunk::TChunk;
};

// zlib over whole buffers with a 256-byte output block. Inflation stops
// with failure past maxOutput bytes. On failure message is zlib's text.
bool InflateBuffer(const Byte* input, std::size_t size, String& output, String& message, std::size_t maxOutput);
bool DeflateBuffer(const Byte* input, std::size_t size, int level, std::vector<Byte>& output, String& message);

// Largest text a zTXt chunk inflates to.
constexpr std::size_t PngMaxTextSize = 8u << 20;
