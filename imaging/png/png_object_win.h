// TPNGObject: the PNG picture of the class library. It keeps the PNG as its
// chunk list (the portable TPNGObjectCore) and, on Windows, holds the
// decoded pixels in a DIB section selected, with its palette, into a memory
// device context that the picture's own canvas draws on.
//
// Drawing follows the image's transparency: an opaque image is stretched
// onto the canvas, an image with one key colour leaves the canvas showing
// through that colour, and an image with alpha is blended over what the
// canvas already shows.
#pragma once

#include <memory>

#include "classlib/ui/bitmaps.h"
#include "imaging/png/png_image.h"

class TPNGObject;

// Image buffers in GDI: the pixel rows of a DIB section in a memory DC.
class TPngDIBAllocator : public TPngImageAllocator {
public:
    explicit TPngDIBAllocator(TPNGObject* owner) : FOwner(owner) {}
    std::unique_ptr<TPngPixelMemory> CreatePixels(const TPngBitmapInfo& info, std::size_t size) override;
    // A new indexed image starts with the halftone palette.
    void FillIndexedColorTable(TPngRGBQuad* table, int count) override;

private:
    TPNGObject* FOwner;
};

// The DIB section of one image, its memory DC and, for grey and indexed
// images, its palette.
class TPngDIBMemory : public TPngPixelMemory {
public:
    TPngDIBMemory(TPNGObject* owner, const TPngBitmapInfo& info, std::size_t size);
    ~TPngDIBMemory() override;
    void ColorTableChanged(const TPngBitmapInfo& info, int count) override;

    HDC DC() const { return FDC; }
    HBITMAP Bitmap() const { return FBitmap; }
    HPALETTE Palette() const { return FPalette; }
    // Selects and realises palette in the DC and keeps it; the old one is
    // deleted.
    void TakePalette(HPALETTE palette);

private:
    TPNGObject* FOwner;
    HDC FDC = nullptr;
    HBITMAP FBitmap = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
    HPALETTE FPalette = nullptr;
    HPALETTE FOldPalette = nullptr;
};

class TPNGObject : public TGraphic, public TPNGObjectCore {
    QL_CLASS(TPNGObject, TGraphic)
public:
    TPNGObject();
    ~TPNGObject() override;

    // nullptr empties the picture; a PNG is copied (settings and chunks); a
    // bitmap is taken with its transparency. Anything else: the class
    // library's assignment error.
    void Assign(TPersistent* source) override;
    // Nothing for an empty image.
    void Draw(TCanvas* canvas, const TRect& rect) override;

    // One name for both bases: the header's size, 0 without a header.
    int Width() const { return TPNGObjectCore::Width(); }
    int Height() const { return TPNGObjectCore::Height(); }
    bool Empty() const { return TPNGObjectCore::Empty(); }
    // Both keep the other dimension (ChangeSize).
    void SetWidth(int value) override;
    void SetHeight(int value) override;
    // Images with a palette take the colours of palette and keep the handle.
    void SetPalette(HPALETTE value) override;

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    // Through a bitmap of the image's size.
    void LoadFromClipboardFormat(Word format, HANDLE data, HPALETTE palette) override;
    void SaveToClipboardFormat(Word& format, HANDLE& data, HPALETTE& palette) override;

    // The colour at x, y (red in the lowest byte); 0 outside the image.
    virtual TPngColor PixelAt(int x, int y) const;
    // Outside the image: nothing.
    virtual void SetPixelAt(int x, int y, TPngColor color);

    // Takes the pixels of a bitmap handle (it must not be selected into a
    // device context): bitmaps of fewer than 16 bits per pixel become
    // indexed images of that depth, others 8-bit colour images. A
    // transparent bitmap gets keyColor (a plain RGB value) as key.
    void AssignBitmapHandle(HBITMAP handle, bool transparent, LongWord keyColor);

    // Draws on the image's own pixels while it has a header.
    TCanvas* Canvas() const { return FCanvas.get(); }
    // The memory DC of the pixels, nullptr without a header.
    HDC MemoryDC() const;

    // The drawing modes, public for the image list's icons and for tests.
    void DrawOpaque(TCanvas* canvas, const TRect& rect);
    void DrawKeyed(TCanvas* canvas, const TRect& rect, LongWord keyColor);
    void DrawBlended(TCanvas* canvas, const TRect& rect);

    // For the allocator.
    TPngImageAllocator& ImageAllocator() override { return FAllocator; }
    void ImageBuffersChanged() override;
    // The pixel memory is going away: the canvas lets go of its DC.
    void PixelMemoryFreed(HDC dc);

protected:
    bool GetEmpty() override { return TPNGObjectCore::Empty(); }
    int GetWidth() override { return TPNGObjectCore::Width(); }
    int GetHeight() override { return TPNGObjectCore::Height(); }
    // The header's palette (grey and indexed images), else nullptr.
    HPALETTE GetPalette() override;
    bool GetTransparent() override { return TransparencyKind() != tkNone; }
    // A PNG or a bitmap (in the format BitmapFormatFor picks).
    void AssignTo(TPersistent* dest) override;
    // The stored "Data": a 4-byte little-endian length, then the PNG stream.
    void ReadData(TStream* stream) override;
    void WriteData(TStream* stream) override;

private:
    TPngDIBMemory* DIBMemory() const;

    TPngDIBAllocator FAllocator{this};
    std::unique_ptr<TCanvas> FCanvas;
    HDC FBoundDC = nullptr;  // the DC the canvas draws on
};

// The bitmap format a PNG becomes when assigned to a bitmap: 24 bits for
// images with alpha; else by bit depth, 1 -> 1 bit, 2 and 4 -> 4 bits, 8 and
// 16 -> 8 bits for indexed images and 24 bits for grey and colour ones.
// Raises Exception for any other combination.
TPixelFormat BitmapFormatFor(TPNGObject& png);
