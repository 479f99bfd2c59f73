// Where the image buffers of a PNG picture live. The codec works on plain
// memory in the layout of a bottom-up device-independent bitmap; the
// allocator decides where that memory comes from. The portable default
// uses the heap; the Windows picture class supplies one whose pixel memory
// is a DIB section selected, with its palette, into a memory device context.
#pragma once

#include <cstddef>
#include <memory>

#include "imaging/png/png_types.h"

// The pixel rows of one bitmap.
class TPngPixelMemory {
public:
    virtual ~TPngPixelMemory() = default;
    TPngPixelMemory(const TPngPixelMemory&) = delete;
    TPngPixelMemory& operator=(const TPngPixelMemory&) = delete;

    // The zero-filled rows, RowStride x height bytes.
    Byte* Bits() const { return FBits; }
    // The colour table of info changed in its first count entries (a PLTE
    // was read, a grey palette was built, a palette was assigned).
    virtual void ColorTableChanged(const TPngBitmapInfo& info, int count) {}

protected:
    TPngPixelMemory() = default;
    Byte* FBits = nullptr;
};

class TPngImageAllocator {
public:
    virtual ~TPngImageAllocator() = default;
    // Memory for the pixel rows of the bitmap info describes (its colour
    // table already filled); size bytes, zero-filled. Returns nullptr, or
    // memory whose Bits() is nullptr, when it cannot be had.
    virtual std::unique_ptr<TPngPixelMemory> CreatePixels(const TPngBitmapInfo& info, std::size_t size);
    // Zero-filled memory for the alpha and low-byte buffers; nullptr when
    // it cannot be had.
    virtual Byte* AllocateBytes(std::size_t size);
    virtual void FreeBytes(Byte* bytes);
    // The colour table a new indexed image starts with (before its PLTE is
    // read): count entries. The default leaves them black.
    virtual void FillIndexedColorTable(TPngRGBQuad* table, int count) {}

    // The process-wide heap allocator.
    static TPngImageAllocator& Default();
};
