// JPEG pictures, decoded with libjpeg.
#pragma once

#include <memory>
#include <vector>

#include "classlib/ui/bitmaps.h"

// Raised for data libjpeg cannot read: "JPEG error #%d" with libjpeg's
// message number.
QL_EXCEPTION(EJPEG, EInvalidGraphic);

// Keeps the bytes of a JPEG file as they were read (and writes them back
// unchanged); the pixels are decoded into a 24-bit bitmap when first drawn.
// Grey images come out grey, CMYK ones converted to RGB.
class TJPEGImage : public TGraphic {
    QL_CLASS(TJPEGImage, TGraphic)
public:
    TJPEGImage() = default;
    ~TJPEGImage() override;

    void Assign(TPersistent* source) override;
    void Draw(TCanvas* canvas, const TRect& rect) override;
    // The size comes from the data.
    void SetWidth(int value) override {}
    void SetHeight(int value) override {}

    // Reads the rest of the stream; the header must be valid (EJPEG), and
    // the picture is unchanged when it is not.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;

    // Decodes the pixels now (EJPEG for corrupt data).
    void DIBNeeded();
    bool Grayscale() const { return FGrayscale; }

protected:
    bool GetEmpty() override { return FData.empty(); }
    int GetWidth() override { return FWidth; }
    int GetHeight() override { return FHeight; }
    // A bitmap gets the decoded pixels.
    void AssignTo(TPersistent* dest) override;

private:
    std::vector<Byte> FData;
    int FWidth = 0;
    int FHeight = 0;
    bool FGrayscale = false;
    std::unique_ptr<TBitmap> FBitmap;
};
