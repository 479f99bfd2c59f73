// Bitmaps and icons.
#pragma once

#include <vector>

#include "classlib/ui/pictures.h"

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap;

// The canvas of a bitmap: a memory DC with the bitmap selected, made on
// demand and kept until the bitmap's Handle is asked for, the bitmap
// changes its image, or FreeMemoryContexts runs.
class TBitmapCanvas : public TCanvas {
    QL_CLASS(TBitmapCanvas, TCanvas)
public:
    explicit TBitmapCanvas(TBitmap* bitmap) : FBitmap(bitmap) {}
    ~TBitmapCanvas() override;
    // Deselects the bitmap and frees the DC.
    void FreeContext();

protected:
    void CreateHandle() override;
    void Changed() override;

private:
    TBitmap* FBitmap;
    HDC FDC = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
    HPALETTE FOldPalette = nullptr;
};

// Frees the memory DCs of every bitmap canvas that is not locked (they are
// made again when next drawn on). Code that keeps a bitmap canvas's Handle
// while this may run locks the canvas.
void FreeMemoryContexts();

// A device-independent bitmap (a DIB section) of one of the pixel formats.
//
// A new bitmap is empty (0 x 0, no handle). Growing it keeps the old pixels
// at the top-left and fills the rest with white. pfDevice is the screen's
// format.
//
// Stream format: a BMP file (BITMAPFILEHEADER, BITMAPINFOHEADER, colour
// table, rows bottom-up). Reading also takes the older and newer info
// headers (12, 52, 56, 108 and 124 bytes), top-down rows, bit fields and
// RLE compression. The stored "Data" is a 4-byte little-endian length and
// then the BMP file.
class TBitmap : public TGraphic {
    QL_CLASS(TBitmap, TGraphic)
public:
    TBitmap() = default;
    TBitmap(int width, int height, TPixelFormat format = pfDevice);
    ~TBitmap() override;

    // From another bitmap: a copy of its pixels, format and transparency.
    // nullptr empties the bitmap. Other graphics draw themselves on it.
    void Assign(TPersistent* source) override;
    void Draw(TCanvas* canvas, const TRect& rect) override;

    void SetWidth(int value) override { SetSize(value, FHeight); }
    void SetHeight(int value) override { SetSize(FWidth, value); }
    void SetSize(int width, int height);

    TCanvas* Canvas();
    // The DIB section (nullptr for an empty bitmap). Asking for it takes it
    // out of the canvas's DC, so that it can be selected elsewhere.
    HBITMAP Handle();
    // Takes the picture of a bitmap handle (a DIB section of any
    // orientation, or a device-dependent bitmap) into a section of its own
    // and frees the handle given.
    void SetHandle(HBITMAP value);
    // Gives the handle away; the bitmap becomes empty.
    HBITMAP ReleaseHandle();
    bool HandleAllocated() const { return FHandle != nullptr; }

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    // Converts the pixels to the new format (indexed formats map each pixel
    // to the nearest colour of their table).
    void SetPixelFormat(TPixelFormat value);
    bool Monochrome() const { return FBitsPerPixel == 1; }
    // The bytes of row (0 is the top row). Raises EInvalidGraphic "Scan line
    // index out of range" for a row outside the bitmap.
    void* ScanLine(int row);
    // Bytes per row, padded to 4 bytes.
    int RowStride() const { return ((FWidth * FBitsPerPixel + 31) / 32) * 4; }

    // The colour that transparent drawing leaves out, as a plain RGB value:
    // in tmAuto the bottom-left pixel (white for monochrome bitmaps), in
    // tmFixed the colour set. Setting a colour chooses tmFixed; clDefault
    // chooses tmAuto.
    TColor TransparentColor();
    void SetTransparentColor(TColor value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode value);
    void SetTransparent(bool value) override;

    // Takes over the palette: an indexed bitmap takes its colours.
    void SetPalette(HPALETTE value) override;

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    // A bitmap resource (RT_BITMAP) of the module; EResNotFound when missing.
    void LoadFromResourceName(HINSTANCE instance, const String& name);
    void LoadFromResourceID(HINSTANCE instance, int id);
    // CF_BITMAP: data is an HBITMAP (copied in, and a copy given out).
    void LoadFromClipboardFormat(Word format, HANDLE data, HPALETTE palette) override;
    void SaveToClipboardFormat(Word& format, HANDLE& data, HPALETTE& palette) override;

protected:
    bool GetEmpty() override { return FHandle == nullptr; }
    int GetWidth() override { return FWidth; }
    int GetHeight() override { return FHeight; }
    HPALETTE GetPalette() override;
    void Changed(TObject* sender) override;
    void ReadData(TStream* stream) override;
    void WriteData(TStream* stream) override;

private:
    friend class TBitmapCanvas;
    // Replaces the image by a new section; the old one is freed.
    void NewImage(int width, int height, TPixelFormat format, std::vector<RGBQUAD> colors, bool keepPixels);
    void FreeImage();
    void FreeContext();
    void ReadDIB(const Byte* data, size_t size, size_t* consumed, bool fileHeader);

    HBITMAP FHandle = nullptr;
    Byte* FBits = nullptr;
    int FWidth = 0;
    int FHeight = 0;
    int FBitsPerPixel = 0;
    TPixelFormat FPixelFormat = pfDevice;
    std::vector<RGBQUAD> FColors;  // indexed formats: the colour table
    HPALETTE FPalette = nullptr;
    TBitmapCanvas* FCanvas = nullptr;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
};

// An icon: an HICON, and the .ico file it was read from, which it writes
// back unchanged.
class TIcon : public TGraphic {
    QL_CLASS(TIcon, TGraphic)
public:
    TIcon() = default;
    ~TIcon() override;

    void Assign(TPersistent* source) override;
    void Draw(TCanvas* canvas, const TRect& rect) override;

    // The size an empty icon will pick from an .ico file (its first image
    // when none of that size); an icon that holds an image raises
    // EInvalidGraphicOperation "Cannot change the size of an icon".
    void SetWidth(int value) override;
    void SetHeight(int value) override;
    void SetTransparent(bool value) override {}

    HICON Handle() const { return FHandle; }
    // Takes over an icon handle (the icon destroys it).
    void SetHandle(HICON value);
    HICON ReleaseHandle();
    bool HandleAllocated() const { return FHandle != nullptr; }

    // An .ico file. Raises EInvalidGraphic "Icon image is not valid".
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    // An icon resource (RT_GROUP_ICON) of the module at the system's icon
    // size; EResNotFound when missing.
    void LoadFromResourceName(HINSTANCE instance, const String& name);
    void LoadFromResourceID(HINSTANCE instance, int id);

protected:
    bool GetEmpty() override { return FHandle == nullptr; }
    int GetWidth() override { return FHandle ? FWidth : FRequestedWidth; }
    int GetHeight() override { return FHandle ? FHeight : FRequestedHeight; }
    bool GetTransparent() override { return true; }

private:
    void TakeHandle(HICON value, std::vector<Byte> data);

    HICON FHandle = nullptr;
    std::vector<Byte> FData;  // the .ico file, when read from one
    int FWidth = 0;
    int FHeight = 0;
    int FRequestedWidth = 0;
    int FRequestedHeight = 0;
};
