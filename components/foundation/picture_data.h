// The part of the picture classes that needs no Windows: the bytes of an
// image file, kept exactly as they were loaded (no header of their own),
// whether the picture is empty, and the order in which loading, copying
// and clearing make the thing that draws, work out sizes and tell the
// picture's users.
//
// The Windows classes (TGDIPPicture, TLumImage, THTMLPicture) derive from
// the class library's TGraphic and from one of these, and fill in the
// hooks: decoding through GDI+ or OLE, and raising their events.
//
// A picture is empty exactly when it holds no bytes: a load of nothing
// (an empty file or stream) leaves it empty, so what the stored layout
// writes it can always read back.
#pragma once

#include <functional>
#include <span>

#include "classlib/core/streams.h"

// The size in the header of a Windows bitmap file that is uncompressed
// (BI_RGB, any bit count), has an information header of a known size and
// holds all the pixel rows that header asks for: the width and height GDI+
// reports for it (the height without its sign). False for anything else,
// which is left to a decoder.
bool ReadPlainBitmapFileSize(std::span<const Byte> bytes, int& width, int& height);

class TPictureData {
public:
    TPictureData() = default;
    TPictureData(const TPictureData&) = delete;
    TPictureData& operator=(const TPictureData&) = delete;
    virtual ~TPictureData() = default;

    bool IsEmpty() const { return FEmpty; }
    // The bytes as they were loaded.
    std::span<const Byte> Bytes() const;
    Int64 ByteCount() const { return FData.Size(); }

    // The file's bytes; then the hook of a file load and the change
    // notification. Any exception on the way leaves the picture empty and
    // goes no further.
    void LoadBytesFromFile(const String& fileName);
    // The whole stream from its start (nothing for no stream); then the
    // hook of a stream load and the change notification. Exceptions pass.
    void LoadBytesFromStream(TStream* stream);
    // The stored layout's bytes: the hook of a layout load, no change
    // notification. Exceptions pass.
    void ReadStoredBytes(TStream* stream);
    // The bytes to stream's position (nothing for no stream).
    void WriteBytes(TStream* stream) const;

protected:
    enum TLoadKind { lkFile, lkStream, lkLayout };

    // New bytes are in (never none): make what draws them.
    virtual void BytesLoaded(TLoadKind kind) = 0;
    // The picture lost its bytes or is about to get others: let go of
    // what drew the old ones.
    virtual void BytesDropped() = 0;
    // The picture changed (the class library's OnChange).
    virtual void NotifyChange() = 0;

    // Empty, and what drew the old bytes is gone; the bytes stay.
    void MarkEmpty();
    // Empty and without bytes.
    void ClearBytes();
    // Takes bytes (none: the picture stays empty) without any hook.
    void SetBytes(std::span<const Byte> bytes);
    // What save writes becomes the bytes (none: the picture stays empty).
    void SetBytesFrom(const std::function<void(TStream&)>& save);

private:
    // Puts the bytes of stream in; false when there were none.
    bool TakeStream(TStream& stream);

    // Size() and Memory() of a stream do not change it.
    mutable TMemoryStream FData;
    bool FEmpty = true;
};

// The bytes of a picture that GDI+ draws, with the size GDI+ reported for
// them the last time it was asked (0 x 0 until then, and whenever the
// bytes change without being measured).
class TGDIPPictureData : public TPictureData {
public:
    int ImageWidth() const { return FWidth; }
    int ImageHeight() const { return FHeight; }

    // When the picture has bytes: asks the decoder for their size, stores
    // it and returns true.
    bool GetImageSizes();

    // What Assign does for each kind of source:
    // no source: no bytes, then the change and the clear notification;
    void AssignNothing();
    // another GDI+ picture: its bytes (empty exactly when it has none);
    void AssignPicture(const TGDIPPictureData& source);
    // a bitmap or a picture's graphic: what it saves;
    void AssignSaved(const std::function<void(TStream&)>& save);
    // anything else: the picture is left empty.
    void AssignOther();

protected:
    // The size of the image in bytes; a failure leaves what the decoder
    // gave (0 when it gave nothing).
    virtual void MeasureImage(std::span<const Byte> bytes, int& width, int& height) = 0;
    // The OnClear event.
    virtual void NotifyClear() = 0;
    // The size the decoder reported while drawing.
    void StoreImageSize(int width, int height) {
        FWidth = width;
        FHeight = height;
    }

    // A file load raises OnClear, then measures; a stream load measures; a
    // layout load does not (users call GetImageSizes first).
    void BytesLoaded(TLoadKind kind) override;
    void BytesDropped() override;

private:
    int FWidth = 0;
    int FHeight = 0;
};

// The bytes of a picture that an OLE picture draws. Its size is the OLE
// picture's extent (HIMETRIC) at the picture's logical resolution, 96
// pixels per inch in each direction; 0 x 0 without an OLE picture.
class TOlePictureData : public TPictureData {
public:
    int PixelsPerInchX() const { return FPixelsPerInchX; }
    int PixelsPerInchY() const { return FPixelsPerInchY; }
    int PictureWidth() const;
    int PictureHeight() const;
    bool HasPicture() const;

    // What TLumImage's Assign does for each kind of source:
    // no source, or an empty picture: no bytes, then the change;
    void AssignNothing();
    // another picture with bytes: its bytes, the OLE picture, the change;
    void AssignPicture(const TOlePictureData& source);
    // a graphic of another kind: what it saves, the OLE picture made from
    // it, the change.
    void AssignSaved(const std::function<void(TStream&)>& save);

protected:
    // The OLE picture's extent in HIMETRIC; false without an OLE picture.
    virtual bool PictureExtent(int& width, int& height) const = 0;
    // Makes the OLE picture from bytes (raising when they do not load).
    virtual void MakePicture(std::span<const Byte> bytes) = 0;
    virtual void DropPicture() = 0;

    // Makes the OLE picture again from the bytes.
    virtual void RebuildPicture();

    void BytesLoaded(TLoadKind kind) override { RebuildPicture(); }
    void BytesDropped() override { DropPicture(); }

private:
    int FPixelsPerInchX = 96;
    int FPixelsPerInchY = 96;
};
