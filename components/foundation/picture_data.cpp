#include "components/foundation/picture_data.h"

#include <cstdint>

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

// ---- Bitmap file headers ------------------------------------------------------

namespace {

std::uint32_t LittleEndian(std::span<const Byte> bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + std::size_t(i)];
    return value;
}

}  // namespace

bool ReadPlainBitmapFileSize(std::span<const Byte> bytes, int& width, int& height) {
    constexpr std::size_t kFileHeader = 14;
    if (bytes.size() < kFileHeader + 40 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const std::uint32_t infoSize = LittleEndian(bytes, 14, 4);
    if (infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124) return false;
    const std::uint64_t pixelsAt = LittleEndian(bytes, 10, 4);
    const auto w = std::int32_t(LittleEndian(bytes, 18, 4));
    const auto h = std::int32_t(LittleEndian(bytes, 22, 4));
    const std::uint32_t planes = LittleEndian(bytes, 26, 2);
    const std::uint32_t bitCount = LittleEndian(bytes, 28, 2);
    const std::uint32_t compression = LittleEndian(bytes, 30, 4);
    const std::uint32_t colorsUsed = LittleEndian(bytes, 46, 4);
    if (w <= 0 || h == 0 || h == INT32_MIN || planes != 1 || compression != 0) return false;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return false;
    if (bitCount <= 8 && colorsUsed > (1u << bitCount)) return false;
    if (pixelsAt < kFileHeader + infoSize || pixelsAt > bytes.size()) return false;
    const std::uint64_t rows = std::uint64_t(h < 0 ? -std::int64_t(h) : h);
    const std::uint64_t stride = (std::uint64_t(w) * bitCount + 31) / 32 * 4;
    if (stride * rows > bytes.size() - pixelsAt) return false;
    width = int(w);
    height = int(rows);
    return true;
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
