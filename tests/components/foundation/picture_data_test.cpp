// The picture classes' bytes and the order of their notifications, with
// decoders that only record what they were given.
#include "components/foundation/picture_data.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>

#include "components/foundation/himetric.h"
#include "temp_folder_support.h"

namespace {

using TBytes = std::vector<Byte>;
using TLog = std::vector<String>;

TBytes ToBytes(std::span<const Byte> s) { return TBytes(s.begin(), s.end()); }

void LoadBytes(TPictureData& picture, const TBytes& bytes) {
    TBytesStream stream(bytes);
    stream.SetPosition(Int64(bytes.size()));  // loading starts from the beginning anyway
    picture.LoadBytesFromStream(&stream);
}

// Writes bytes as the file name in folder; its full name.
String WriteFile(const testfiles::TTempFolder& folder, const char* name, const TBytes& bytes) {
    String file = folder.File(name);
    TBytesStream s(bytes);
    s.SaveToFile(file);
    return file;
}

// Measures an image as (byte count) x (first byte).
class TRecordingGdip : public TGDIPPictureData {
public:
    TLog Log;

protected:
    void MeasureImage(std::span<const Byte> bytes, int& width, int& height) override {
        Log.push_back("measure");
        width = int(bytes.size());
        height = bytes[0];
    }
    void NotifyClear() override { Log.push_back("clear"); }
    void NotifyChange() override { Log.push_back("change"); }
};

// An OLE picture whose extent is (first byte) x (second byte) pixels at 96
// ppi; bytes starting with 0xFF do not load.
class TRecordingOle : public TOlePictureData {
public:
    TLog Log;
    TBytes Made;
    bool Has = false;
    int ExtentX = 0, ExtentY = 0;

protected:
    bool PictureExtent(int& w, int& h) const override {
        w = ExtentX;
        h = ExtentY;
        return Has;
    }
    void MakePicture(std::span<const Byte> bytes) override {
        Log.push_back("make");
        if (bytes[0] == 0xFF) throw EInvalidArgument("Could not load image. Invalid format");
        Made = ToBytes(bytes);
        Has = true;
        ExtentX = PixelsToHimetric(bytes[0], 96);
        ExtentY = PixelsToHimetric(bytes.size() > 1 ? bytes[1] : 0, 96);
    }
    void DropPicture() override {
        if (Has) Log.push_back("drop");
        Has = false;
    }
    void NotifyChange() override { Log.push_back("change"); }
};

}  // namespace

TEST(GdipPictureData, LoadingTellsInItsOwnOrder) {
    const TBytes bytes = {7, 1, 2};
    {
        testfiles::TTempFolder folder("qm-picture-data");
        TRecordingGdip p;
        p.LoadBytesFromFile(WriteFile(folder, "gdip_picture_data.bin", bytes));
        EXPECT_EQ(p.Log, (TLog{"clear", "measure", "change"}));
        EXPECT_FALSE(p.IsEmpty());
        EXPECT_EQ(ToBytes(p.Bytes()), bytes);
        EXPECT_EQ(p.ImageWidth(), 3);
        EXPECT_EQ(p.ImageHeight(), 7);
    }
    {
        TRecordingGdip p;
        LoadBytes(p, bytes);
        EXPECT_EQ(p.Log, (TLog{"measure", "change"}));
        EXPECT_EQ(p.ImageWidth(), 3);
    }
    {
        // From the stored layout: no notification and no size until asked.
        TRecordingGdip p;
        LoadBytes(p, {9, 9, 9, 9});
        TBytesStream stored(bytes);
        p.Log.clear();
        p.ReadStoredBytes(&stored);
        EXPECT_TRUE(p.Log.empty());
        EXPECT_FALSE(p.IsEmpty());
        EXPECT_EQ(p.ImageWidth(), 0);
        EXPECT_EQ(p.ImageHeight(), 0);
        EXPECT_TRUE(p.GetImageSizes());
        EXPECT_EQ(p.ImageWidth(), 3);
        TBytesStream written;
        p.WriteBytes(&written);
        EXPECT_EQ(written.Bytes(), bytes);
    }
}

TEST(GdipPictureData, AFileThatCannotBeReadLeavesThePictureEmpty) {
    TRecordingGdip p;
    LoadBytes(p, {1, 2});
    p.Log.clear();
    p.LoadBytesFromFile("no such picture file.png");
    EXPECT_TRUE(p.IsEmpty());
    EXPECT_EQ(p.ByteCount(), 0);
    EXPECT_EQ(p.ImageWidth(), 0);
    EXPECT_TRUE(p.Log.empty());
    EXPECT_FALSE(p.GetImageSizes());
    p.LoadBytesFromStream(nullptr);  // nothing
    EXPECT_TRUE(p.Log.empty());
}

TEST(GdipPictureData, NothingLoadedIsAnEmptyPicture) {
    TRecordingGdip p;
    LoadBytes(p, {});
    EXPECT_TRUE(p.IsEmpty());
    EXPECT_EQ(p.Log, (TLog{"change"}));
    EXPECT_FALSE(p.GetImageSizes());
}

TEST(GdipPictureData, AssignTellsTheChangeBeforeTheSize) {
    TRecordingGdip source;
    LoadBytes(source, {5, 6});
    TRecordingGdip emptySource;

    TRecordingGdip p;
    LoadBytes(p, {1, 2, 3});
    p.Log.clear();
    p.AssignPicture(source);
    EXPECT_EQ(p.Log, (TLog{"change", "measure"}));
    EXPECT_EQ(ToBytes(p.Bytes()), (TBytes{5, 6}));
    EXPECT_EQ(p.ImageWidth(), 2);

    // An empty picture empties this one: a change, no clear.
    p.Log.clear();
    p.AssignPicture(emptySource);
    EXPECT_EQ(p.Log, (TLog{"change"}));
    EXPECT_TRUE(p.IsEmpty());
    EXPECT_EQ(p.ImageWidth(), 0);

    // No source: the change, then the clear.
    LoadBytes(p, {1});
    p.Log.clear();
    p.AssignNothing();
    EXPECT_EQ(p.Log, (TLog{"change", "clear"}));
    EXPECT_TRUE(p.IsEmpty());
    EXPECT_EQ(p.ByteCount(), 0);

    // A graphic saved into the picture.
    p.Log.clear();
    p.AssignSaved([](TStream& s) { s.WriteBuffer("\x04\x05\x06\x07", 4); });
    EXPECT_EQ(p.Log, (TLog{"change", "measure"}));
    EXPECT_EQ(p.ImageWidth(), 4);
    EXPECT_EQ(p.ImageHeight(), 4);

    // Anything else leaves it empty, without a word.
    p.Log.clear();
    p.AssignOther();
    EXPECT_TRUE(p.Log.empty());
    EXPECT_TRUE(p.IsEmpty());
    EXPECT_EQ(p.ImageWidth(), 0);

    // Itself: unchanged.
    LoadBytes(p, {8, 8});
    p.Log.clear();
    p.AssignPicture(p);
    EXPECT_EQ(ToBytes(p.Bytes()), (TBytes{8, 8}));
    EXPECT_FALSE(p.IsEmpty());
}

TEST(OlePictureData, LoadingMakesThePictureThenTellsTheChange) {
    TRecordingOle p;
    EXPECT_EQ(p.PictureWidth(), 0);
    EXPECT_EQ(p.PixelsPerInchX(), 96);
    EXPECT_EQ(p.PixelsPerInchY(), 96);
    LoadBytes(p, {40, 30, 1});
    EXPECT_EQ(p.Log, (TLog{"make", "change"}));
    EXPECT_EQ(p.PictureWidth(), 40);
    EXPECT_EQ(p.PictureHeight(), 30);

    TBytesStream stored(TBytes{20, 10});
    p.Log.clear();
    p.ReadStoredBytes(&stored);
    EXPECT_EQ(p.Log, (TLog{"drop", "make"}));
    EXPECT_EQ(p.PictureWidth(), 20);
}

TEST(OlePictureData, BytesThatDoNotDecode) {
    TRecordingOle p;
    // From a stream: the error passes, the bytes stay (the layout keeps
    // them), and nothing draws.
    TBytesStream bad(TBytes{0xFF, 1});
    EXPECT_THROW(p.LoadBytesFromStream(&bad), EInvalidArgument);
    EXPECT_FALSE(p.IsEmpty());
    EXPECT_FALSE(p.HasPicture());
    EXPECT_EQ(p.Log, (TLog{"make"}));
    // From a file: swallowed, and the picture is empty.
    testfiles::TTempFolder folder("qm-picture-data");
    TRecordingOle q;
    q.LoadBytesFromFile(WriteFile(folder, "ole_picture_data.bin", {0xFF, 2}));
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_EQ(q.ByteCount(), 0);
}

TEST(OlePictureData, AssignStoresASavedGraphicOnceAndMakesItsPicture) {
    TRecordingOle p;
    int saves = 0;
    p.AssignSaved([&](TStream& s) {
        ++saves;
        s.WriteBuffer("\x0C\x0D", 2);
    });
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(ToBytes(p.Bytes()), (TBytes{12, 13}));
    EXPECT_EQ(p.Made, (TBytes{12, 13}));
    EXPECT_EQ(p.Log, (TLog{"make", "change"}));
    EXPECT_EQ(p.PictureWidth(), 12);

    TRecordingOle source;
    LoadBytes(source, {3, 4});
    p.Log.clear();
    p.AssignPicture(source);
    EXPECT_EQ(p.Log, (TLog{"drop", "make", "change"}));
    EXPECT_EQ(p.PictureWidth(), 3);

    p.Log.clear();
    p.AssignNothing();
    EXPECT_EQ(p.Log, (TLog{"drop", "change"}));
    EXPECT_TRUE(p.IsEmpty());
    EXPECT_FALSE(p.HasPicture());

    // An empty source: empty, and the change.
    LoadBytes(p, {3, 4});
    p.Log.clear();
    TRecordingOle empty;
    p.AssignPicture(empty);
    EXPECT_EQ(p.Log, (TLog{"drop", "change"}));
    EXPECT_TRUE(p.IsEmpty());
}

namespace {

// The header of a bitmap file of 5 x 3 pixels at 8 bits with a palette of
// 256 colours and all its rows, as changed by change.
TBytes BitmapHeader(const std::function<void(TBytes&)>& change = {}) {
    const std::size_t pixelsAt = 14 + 40 + 256 * 4, stride = 8;
    TBytes file(pixelsAt + 3 * stride);
    auto put = [&](std::size_t at, std::uint32_t v, int size) {
        for (int i = 0; i < size; ++i) file[at + std::size_t(i)] = Byte(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, std::uint32_t(file.size()), 4);
    put(10, std::uint32_t(pixelsAt), 4);
    put(14, 40, 4);
    put(18, 5, 4);
    put(22, 3, 4);
    put(26, 1, 2);
    put(28, 8, 2);
    if (change) change(file);
    return file;
}

}  // namespace

TEST(PlainBitmapFileSize, TheHeaderSaysTheSizeOnlyOfAnUncompressedBitmapWithAllItsRows) {
    const struct {
        const char* Name;
        TBytes File;
        bool Read;
        int Height;
    } rows[] = {
        {"bottom-up", BitmapHeader(), true, 3},
        {"top-down", BitmapHeader([](TBytes& f) { f[22] = 0xFD, f[23] = f[24] = f[25] = 0xFF; }), true, 3},
        {"4 bits", BitmapHeader([](TBytes& f) { f[28] = 4; }), true, 3},
        {"a row short", BitmapHeader([](TBytes& f) { f.resize(f.size() - 1); }), false, 0},
        {"run-length coded", BitmapHeader([](TBytes& f) { f[30] = 1; }), false, 0},
        {"bit fields", BitmapHeader([](TBytes& f) { f[30] = 3; }), false, 0},
        {"two planes", BitmapHeader([](TBytes& f) { f[26] = 2; }), false, 0},
        {"no such bit count", BitmapHeader([](TBytes& f) { f[28] = 7; }), false, 0},
        {"a core header", BitmapHeader([](TBytes& f) { f[14] = 12; }), false, 0},
        {"more colours than bits", BitmapHeader([](TBytes& f) { f[47] = 2; }), false, 0},
        {"no width", BitmapHeader([](TBytes& f) { f[18] = 0; }), false, 0},
        {"pixels past the end", BitmapHeader([](TBytes& f) { f[13] = 0x10; }), false, 0},
        {"pixels inside the header", BitmapHeader([](TBytes& f) { f[10] = 20, f[11] = 0; }), false, 0},
        {"not a bitmap", BitmapHeader([](TBytes& f) { f[1] = 'A'; }), false, 0},
        {"too short for a header", TBytes{'B', 'M', 0, 0}, false, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        int width = -1, height = -1;
        EXPECT_EQ(ReadPlainBitmapFileSize(row.File, width, height), row.Read);
        EXPECT_EQ(width, row.Read ? 5 : -1);
        EXPECT_EQ(height, row.Read ? row.Height : -1);
    }
}
