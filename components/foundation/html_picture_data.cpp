#include "components/foundation/html_picture_data.h"

#include "classlib/core/sysutils.h"
#include "components/foundation/gif_frames.h"
#include "components/foundation/himetric.h"

TPictureSource ParsePictureSource(const String& text) {
    String upper = UpperCase(text);
    if (upper.starts_with("RES://")) return {pskResource, text.substr(6)};
    if (upper.starts_with("FILE://")) return {pskFile, text.substr(7)};
    return {pskAddress, text};
}

bool SamePictureName(const String& a, const String& b) { return UpperCase(a) == UpperCase(b); }

void THTMLPictureData::SetFrame(int value) {
    FFrame = value;
    if (ByteCount() == 0) return;
    RebuildPicture();
    NotifyFrameChange();
}

int THTMLPictureData::CountGifFrames() {
    if (FFrameCount != -1) return FFrameCount;
    int count = ::CountGifFrames(Bytes());
    if (count >= 0) FFrameCount = count;
    return count;
}

int THTMLPictureData::DisplayWidth() const {
    if (!HasPicture()) return 0;
    return FScreenWidth != 0 ? FScreenWidth : PictureWidth();
}

int THTMLPictureData::DisplayHeight() const {
    if (!HasPicture()) return 0;
    return FScreenHeight != 0 ? FScreenHeight : PictureHeight();
}

void THTMLPictureData::LoadFromSource(const String& text) {
    TPictureSource source = ParsePictureSource(text);
    switch (source.Kind) {
    case pskResource:
        FID = text;
        LoadBytesFromResource(source.Name);
        break;
    case pskFile:
        FID = text;
        LoadBytesFromFile(source.Name);
        break;
    case pskAddress:
        if (!FAsyncLoad)
            FID = text;
        else if (!FDownloadBusy)
            FDownloadBusy = true;
        break;
    }
}

void THTMLPictureData::ResetFrameData() {
    FFrameLeft = FFrameTop = FFrameWidth = FFrameHeight = 0;
    FScreenWidth = FScreenHeight = 0;
}

void THTMLPictureData::RebuildPicture() {
    DropPicture();
    ResetFrameData();
    if (IsEmpty()) return;
    TGifFrameSelection selection = SelectGifFrame(Bytes(), FFrame);
    FScreenWidth = selection.ScreenWidth;
    FScreenHeight = selection.ScreenHeight;
    FFrameLeft = selection.FrameLeft;
    FFrameTop = selection.FrameTop;
    FFrameWidth = selection.FrameWidth;
    FFrameHeight = selection.FrameHeight;
    MakePicture(selection.Bytes);
}

void THTMLPictureData::BytesDropped() {
    // Other bytes have other frames.
    FFrameCount = -1;
    ResetFrameData();
    TOlePictureData::BytesDropped();
}

void THTMLPictureData::BeginAssign() {
    bool hadBytes = ByteCount() > 0;
    MarkEmpty();
    FFrame = 1;
    // The old bytes are on their way out: the frame change is told, but no
    // picture is made of them again.
    if (hadBytes) NotifyFrameChange();
}

void THTMLPictureData::AssignNothing() {
    BeginAssign();
    ClearBytes();
    NotifyChange();
}

void THTMLPictureData::AssignPicture(const THTMLPictureData& source) {
    if (&source == this) {
        RebuildPicture();
        NotifyChange();
        return;
    }
    BeginAssign();
    FStretch = source.FStretch;
    FFrame = source.FFrame;
    FID = source.FID;
    SetBytes(source.IsEmpty() ? std::span<const Byte>() : source.Bytes());
    RebuildPicture();
    NotifyChange();
}

void THTMLPictureData::AssignOther() { BeginAssign(); }
