// TGDIPPicture: a picture that keeps the bytes of an image file unchanged
// and draws them through GDI+ (PNG, JPEG, GIF, TIFF, icons...): stretched
// into the rectangle, except a Windows bitmap, which the class library
// draws at its own size with its bottom-left pixel's colour transparent.
// The picture of the glow button, of office hints and of the pager's
// buttons and pages.
//
// In a stored layout it is the binary property "Data": the file's bytes.
// Read from a layout it reports 0 x 0 until GetImageSizes has run.
#pragma once

#include "classlib/ui/pictures.h"
#include "components/foundation/picture_data.h"

class TGDIPPicture : public TGraphic, public TGDIPPictureData {
    QL_CLASS(TGDIPPicture, TGraphic)
public:
    TGDIPPicture() = default;

    // The picture empties, then: for no source it stays so and raises
    // OnChange, then OnClear; another GDI+ picture's bytes (empty exactly
    // when it has none), a bitmap's or a TPicture's graphic's saved bytes
    // are taken and OnChange raised; other sources leave it empty. Then
    // the sizes are worked out.
    void Assign(TPersistent* source) override;
    // Nothing when empty. A bitmap at its own size at rect's top-left
    // corner, transparent; any other image stretched to rect (the width and
    // height are refreshed from it). Raises EInvalidGraphic "Could not
    // allocate memory for image" when the bytes find no memory.
    void Draw(TCanvas* canvas, const TRect& rect) override;

    void SetWidth(int value) override {}
    void SetHeight(int value) override {}

    // The file's bytes, then OnClear, the sizes and OnChange; any error
    // leaves the picture empty and is not raised.
    void LoadFromFile(const String& fileName) override { LoadBytesFromFile(fileName); }
    // The whole stream from its start, the sizes, OnChange.
    void LoadFromStream(TStream& stream) override { LoadBytesFromStream(&stream); }
    void SaveToStream(TStream& stream) override { WriteBytes(&stream); }
    // An RT_RCDATA resource of the module, read as LoadFromStream reads;
    // nothing when the module has no such resource.
    void LoadFromResourceName(HINSTANCE instance, const String& name);

    TNotifyEvent OnClear;

protected:
    bool GetEmpty() override { return IsEmpty(); }
    int GetWidth() override { return ImageWidth(); }
    int GetHeight() override { return ImageHeight(); }
    void ReadData(TStream* stream) override { ReadStoredBytes(stream); }
    void WriteData(TStream* stream) override { WriteBytes(stream); }

    void MeasureImage(std::span<const Byte> bytes, int& width, int& height) override;
    void NotifyClear() override { OnClear(this); }
    void NotifyChange() override { Changed(this); }
};
