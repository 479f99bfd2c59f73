// TLumImage: a picture that keeps the bytes of an image file unchanged and
// draws them through an OLE picture made from them (so it shows whatever
// the system's OLE picture reads: bitmaps, JPEG, GIF, icons, metafiles).
// The panel's background picture.
//
// In a stored layout it is the binary property "Data": the file's bytes.
#pragma once

#include "classlib/ui/pictures.h"
#include "components/foundation/ole_picture_win.h"
#include "components/foundation/picture_data.h"

class TLumImage : public TGraphic, public TOlePictureData {
    QL_CLASS(TLumImage, TGraphic)
public:
    TLumImage() = default;
    ~TLumImage() override;

    // The image empties and loses its OLE picture, then takes: nothing for
    // no source or an empty image; another image's bytes; the bytes that a
    // graphic (a TImage's, a TPicture's, a bitmap or any other) saves. Its
    // OLE picture is made from the new bytes and OnChange raised. Other
    // sources leave it empty.
    void Assign(TPersistent* source) override;
    // The whole picture scaled into rect; nothing without an OLE picture.
    void Draw(TCanvas* canvas, const TRect& rect) override;

    // The size comes from the picture; setting it does nothing.
    void SetWidth(int value) override {}
    void SetHeight(int value) override {}

    // The file's bytes (any error leaves the image empty, and is not
    // raised), or the whole stream from its start; then the OLE picture and
    // OnChange.
    void LoadFromFile(const String& fileName) override { LoadBytesFromFile(fileName); }
    void LoadFromStream(TStream& stream) override { LoadBytesFromStream(&stream); }
    // The bytes, unchanged.
    void SaveToStream(TStream& stream) override { WriteBytes(&stream); }

    // The OLE picture, or nullptr (the image keeps its reference).
    IPicture* OlePicture() const { return FPicture; }

protected:
    bool GetEmpty() override { return IsEmpty(); }
    int GetWidth() override { return PictureWidth(); }
    int GetHeight() override { return PictureHeight(); }
    void ReadData(TStream* stream) override { ReadStoredBytes(stream); }
    void WriteData(TStream* stream) override { WriteBytes(stream); }

    bool PictureExtent(int& width, int& height) const override;
    void MakePicture(std::span<const Byte> bytes) override;
    void DropPicture() override;
    void NotifyChange() override { Changed(this); }

private:
    // What a graphic saves becomes the image.
    void AssignGraphic(TGraphic* graphic);

    IPicture* FPicture = nullptr;
};
