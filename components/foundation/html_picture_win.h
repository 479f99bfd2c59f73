// THTMLPicture, the picture that an HTML caption names (by name in a
// picture container, by source text in a picture cache): the bytes of an
// image file drawn through an OLE picture, showing one frame of an
// animated GIF, loaded from a resource or a file named by its source text.
// THTMLPictureCache: the pictures a control's captions loaded by source
// text, owned by that control.
//
// What the renderer asks of a picture: Empty, CountGifFrames (before it
// draws at the natural size), FrameLeft/FrameTop (added to the place it
// draws at), Width/Height or FrameWidth/FrameHeight (its layout size),
// SetStretch and the canvas's Draw or StretchDraw.
#pragma once

#include "classlib/core/lists.h"
#include "classlib/ui/pictures.h"
#include "components/foundation/html_picture_data.h"
#include "components/foundation/ole_picture_win.h"

using TDownloadErrorEvent = TEvent<TObject* /*Sender*/, const String& /*err*/>;
using TDownloadCompleteEvent = TEvent<TObject* /*Sender*/>;
using TDownloadCancelEvent = TEvent<TObject* /*Sender*/, bool& /*Cancel*/>;
using TDownloadProgressEvent = TEvent<TObject* /*Sender*/, LongWord /*dwSize*/, LongWord /*dwTotSize*/>;

class THTMLPicture : public TGraphic, public THTMLPictureData {
    QL_CLASS(THTMLPicture, TGraphic)
public:
    THTMLPicture() = default;
    ~THTMLPicture() override;

    // The picture empties, loses its OLE picture and shows frame 1 (raising
    // OnFrameChange when it had bytes). For no source it ends so (with
    // OnChange); another HTML picture's Stretch, Frame, ID and bytes are
    // copied, its OLE picture made and OnChange raised; other sources leave
    // it empty.
    void Assign(TPersistent* source) override;
    // With Stretch the whole picture scaled into rect; without, at the
    // picture's own size for the canvas's device, at rect's top-left
    // corner. Nothing without an OLE picture.
    void Draw(TCanvas* canvas, const TRect& rect) override;

    void SetWidth(int value) override {}
    void SetHeight(int value) override {}

    void LoadFromFile(const String& fileName) override { LoadBytesFromFile(fileName); }
    void LoadFromStream(TStream& stream) override { LoadBytesFromStream(&stream); }
    void SaveToStream(TStream& stream) override { WriteBytes(&stream); }
    // An RT_RCDATA resource of the module, read as LoadFromStream reads;
    // nothing when the module has no such resource.
    void LoadFromResourceName(HINSTANCE instance, const String& name);

    IPicture* OlePicture() const { return FPicture; }

    TNotifyEvent OnFrameChange;
    // Never raised: web addresses are not fetched.
    TDownloadErrorEvent OnDownLoadError;
    TDownloadCompleteEvent OnDownLoadComplete;
    TDownloadCancelEvent OnDownLoadCancel;
    TDownloadProgressEvent OnDownLoadProgress;

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
    void NotifyFrameChange() override { OnFrameChange(this); }
    void LoadBytesFromResource(const String& name) override;

private:
    IPicture* FPicture = nullptr;
};

// The pictures loaded by source text; the cache owns them and frees them
// with itself.
class THTMLPictureCache : public TList<THTMLPicture> {
public:
    THTMLPictureCache() = default;
    ~THTMLPictureCache() override { RemoveAllPictures(); }

    // A new empty picture, appended.
    THTMLPicture* AppendNewPicture();
    // The first picture whose ID is id exactly (case counts); nullptr when
    // there is none.
    THTMLPicture* PictureById(const String& id) const;
    // Frees every picture and empties the list.
    void RemoveAllPictures();
};
