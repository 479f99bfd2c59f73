#include "components/foundation/picture_data.h"

#include "components/foundation/himetric.h"

// ---- TPictureData ------------------------------------------------------------------

std::span<const Byte> TPictureData::Bytes() const {
    return {static_cast<const Byte*>(FData.Memory()), size_t(FData.Size())};
}

bool TPictureData::TakeStream(TStream& stream) {
    BytesDropped();
    FEmpty = true;
    FData.LoadFromStream(stream);
    FData.SetPosition(0);
    FEmpty = FData.Size() == 0;
    return !FEmpty;
}

void TPictureData::LoadBytesFromFile(const String& fileName) {
    try {
        TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
        if (TakeStream(file)) BytesLoaded(lkFile);
        NotifyChange();
    } catch (...) {
        // A file that cannot be read or decoded leaves no picture, and the
        // caller goes on.
        ClearBytes();
    }
}

void TPictureData::LoadBytesFromStream(TStream* stream) {
    if (!stream) return;
    if (TakeStream(*stream)) BytesLoaded(lkStream);
    NotifyChange();
}

void TPictureData::ReadStoredBytes(TStream* stream) {
    if (!stream) return;
    if (TakeStream(*stream)) BytesLoaded(lkLayout);
}

void TPictureData::WriteBytes(TStream* stream) const {
    if (stream && FData.Size() > 0) stream->WriteBuffer(FData.Memory(), FData.Size());
}

void TPictureData::MarkEmpty() {
    FEmpty = true;
    BytesDropped();
}

void TPictureData::ClearBytes() {
    MarkEmpty();
    FData.Clear();
}

void TPictureData::SetBytes(std::span<const Byte> bytes) {
    FData.Clear();
    if (!bytes.empty()) FData.WriteBuffer(bytes.data(), Int64(bytes.size()));
    FData.SetPosition(0);
    FEmpty = bytes.empty();
}

void TPictureData::SetBytesFrom(const std::function<void(TStream&)>& save) {
    FData.Clear();
    FEmpty = true;
    save(FData);
    FData.SetPosition(0);
    FEmpty = FData.Size() == 0;
}

// ---- TGDIPPictureData -----------------------------------------------------------

bool TGDIPPictureData::GetImageSizes() {
    if (IsEmpty() || ByteCount() == 0) return false;
    int width = 0, height = 0;
    MeasureImage(Bytes(), width, height);
    FWidth = width;
    FHeight = height;
    return true;
}

void TGDIPPictureData::BytesLoaded(TLoadKind kind) {
    if (kind == lkFile) NotifyClear();
    if (kind != lkLayout) GetImageSizes();
}

void TGDIPPictureData::BytesDropped() {
    FWidth = 0;
    FHeight = 0;
}

void TGDIPPictureData::AssignNothing() {
    ClearBytes();
    NotifyChange();
    NotifyClear();
}

void TGDIPPictureData::AssignPicture(const TGDIPPictureData& source) {
    if (&source != this) {
        MarkEmpty();
        SetBytes(source.IsEmpty() ? std::span<const Byte>() : source.Bytes());
    }
    NotifyChange();
    GetImageSizes();
}

void TGDIPPictureData::AssignSaved(const std::function<void(TStream&)>& save) {
    MarkEmpty();
    SetBytesFrom(save);
    NotifyChange();
    GetImageSizes();
}

void TGDIPPictureData::AssignOther() {
    MarkEmpty();
    GetImageSizes();
}

// ---- TOlePictureData -------------------------------------------------------------

bool TOlePictureData::HasPicture() const {
    int w = 0, h = 0;
    return PictureExtent(w, h);
}

int TOlePictureData::PictureWidth() const {
    int w = 0, h = 0;
    return PictureExtent(w, h) ? HimetricToPixels(w, FPixelsPerInchX) : 0;
}

int TOlePictureData::PictureHeight() const {
    int w = 0, h = 0;
    return PictureExtent(w, h) ? HimetricToPixels(h, FPixelsPerInchY) : 0;
}

void TOlePictureData::RebuildPicture() {
    DropPicture();
    if (!IsEmpty()) MakePicture(Bytes());
}

void TOlePictureData::AssignNothing() {
    ClearBytes();
    NotifyChange();
}

void TOlePictureData::AssignPicture(const TOlePictureData& source) {
    if (&source == this) {
        RebuildPicture();
        NotifyChange();
        return;
    }
    MarkEmpty();
    SetBytes(source.IsEmpty() ? std::span<const Byte>() : source.Bytes());
    RebuildPicture();
    NotifyChange();
}

void TOlePictureData::AssignSaved(const std::function<void(TStream&)>& save) {
    MarkEmpty();
    SetBytesFrom(save);
    RebuildPicture();
    NotifyChange();
}
