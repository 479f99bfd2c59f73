// GDI+ images read from a stream, bitmaps (an image whose pixels can be
// read), and the attributes an image is drawn with.
#pragma once

#include <vector>

#include "components/foundation/gdiplus_base_win.h"

class TGPImage : public TGdiplusBase {
    QL_CLASS(TGPImage, TGdiplusBase)
public:
    // The image in stream (from its current position), with its embedded
    // colour management when asked. The wrapper does not keep the stream;
    // GDI+ may, for as long as the image lives.
    //
    // A PNG of 8-bit colour and alpha with no colour information (gamma,
    // chromaticities, profile) is decoded by the program's own codec and
    // handed to GDI+ as 32-bit ARGB pixels, the format GDI+ would decode it
    // to, so that GDI+ need not look up a codec; any other image is read by
    // GDI+.
    explicit TGPImage(IStream* stream, bool useEmbeddedColorManagement = false);
    ~TGPImage() override;

    GpImage* Native() const { return FNative; }

    // The file format the image was read from (TGPImageFormat; 0 when
    // unknown or unreadable).
    int GetFormat();
    UINT GetWidth();
    UINT GetHeight();

protected:
    TGPImage() = default;
    // Whether the stream held a PNG the codec decoded into FNative.
    bool DecodePng(IStream* stream);

    GpImage* FNative = nullptr;
    // The format the image was read from when the pixels came to GDI+
    // already decoded (GDI+ itself then knows them only as memory).
    int FDecodedFormat = 0;

private:
    std::vector<Byte> FPixels;  // the decoded pixels GDI+ draws from
};

class TGPBitmap : public TGPImage {
    QL_CLASS(TGPBitmap, TGPImage)
public:
    // Read as TGPImage reads a raster image.
    explicit TGPBitmap(IStream* stream, bool useEmbeddedColorManagement = false);

    TStatus GetPixel(int x, int y, ARGB& color);
};

class TGPImageAttributes : public TGdiplusBase {
    QL_CLASS(TGPImageAttributes, TGdiplusBase)
public:
    TGPImageAttributes();
    ~TGPImageAttributes() override;

    GpImageAttributes* Native() const { return FNative; }

    // Colours from low to high (each channel in its range) drawn transparent.
    TStatus SetColorKey(ARGB low, ARGB high, TColorAdjustType type = ColorAdjustTypeDefault);

private:
    GpImageAttributes* FNative = nullptr;
};
