// The portable core of the PNG picture: the ordered list of chunks, the
// coding settings, the gamma tables, loading and saving, and the pixel
// operations that need no device context. The Windows picture class
// TPNGObject derives from it (and from the class library's picture class),
// supplying an allocator whose pixel memory is a DIB section.
#pragma once

#include "imaging/png/png_chunks.h"

class TPNGObjectCore {
public:
    TPNGObjectCore();
    virtual ~TPNGObjectCore();
    TPNGObjectCore(const TPNGObjectCore&) = delete;
    TPNGObjectCore& operator=(const TPNGObjectCore&) = delete;

    TPNGList& ChunkList() { return FChunkList; }
    const TPNGList& ChunkList() const { return FChunkList; }
    // The first chunk when it is an IHDR, else nullptr.
    TChunkIHDR* HeaderChunk() const;
    // The header; raises EPNGHeaderNotPresent without one.
    TChunkIHDR& Header() const;

    TPngRowFilters RowFilters() const { return FRowFilters; }
    void SetRowFilters(TPngRowFilters filters) { FRowFilters = filters; }
    Byte DeflateLevel() const { return FDeflateLevel; }
    void SetDeflateLevel(Byte level) { FDeflateLevel = level > 9 ? 9 : level; }
    int MaxDataChunkSize() const { return FMaxDataChunkSize; }
    // Values below 65535 become 65535.
    void SetMaxDataChunkSize(int size) { FMaxDataChunkSize = size < 65535 ? 65535 : size; }
    TPngInterlacing Interlacing() const { return FInterlacing; }
    void SetInterlacing(TPngInterlacing interlacing) { FInterlacing = interlacing; }

    Byte GammaTable[256];
    Byte InverseGammaTable[256];
    void ResetGammaTables();

    // Frees every chunk and resets the gamma tables.
    void ClearChunkList();
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream);

    bool Empty() const { return FChunkList.Count() == 0; }
    int Width() const;
    int Height() const;

    // Image row y (0 = top) of the pixel, low-byte and alpha buffers; the
    // alpha row is nullptr for images without alpha.
    Byte* PixelRow(int y) const;
    Byte* LowByteRow(int y) const;
    Byte* AlphaRow(int y) const;

    // Colour at x, y (red in the lowest byte); 0 outside the image.
    TPngColor PixelAt(int x, int y) const;
    // Outside the image: nothing.
    void SetPixelAt(int x, int y, TPngColor color);
    // New size keeping the top-left part; below 1 raises EPNGInvalidNewSize.
    void ChangeSize(int width, int height);
    void AddAlphaChannel();
    TPngTransparencyKind TransparencyKind() const;
    TPngColor KeyColor() const;
    // Whether the pixel at x, y is transparent through the colour key
    // (false unless TransparencyKind() is tkColorKey, and outside the
    // image). A pixel is the key when its own sample in the file equals the
    // key: grey cells and indices are held as read, 16-bit samples with
    // their low bytes, so those are compared as held; colour images whose
    // gamma is not the identity recorded their key pixels while decoding
    // (TChunkIHDR::KeyMaskBits), since through gamma a sample that is not
    // the key may be held as the key's colour. Pixels written with
    // SetPixelAt are 8-bit colours (a 16-bit image's low bytes become 0);
    // in a recorded mask they are the key when they take the key colour.
    bool IsKeyPixel(int x, int y) const;

    // Makes this picture a copy of source: settings, gamma tables, chunks.
    void AssignPng(const TPNGObjectCore& source);

    // Where the image buffers come from.
    virtual TPngImageAllocator& ImageAllocator() { return TPngImageAllocator::Default(); }
    // Called after the header's buffers were made, replaced or freed (the
    // Windows picture binds its canvas to the new memory there).
    virtual void ImageBuffersChanged() {}

private:
    TPNGList FChunkList;
    TPngRowFilters FRowFilters{rfSub};
    Byte FDeflateLevel = 7;
    int FMaxDataChunkSize = 65535;
    TPngInterlacing FInterlacing = ilNone;
};
