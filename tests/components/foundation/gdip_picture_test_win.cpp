// TGDIPPicture under real GDI+: sizes from the bytes, a PNG stretched and a
// bitmap at its own size with its transparent colour, the order of OnClear
// and OnChange, copying, and the objects drawing leaves behind.
#include "components/foundation/gdip_picture_win.h"

#include <algorithm>
#include <cstdlib>

#include "components/foundation/gdiplus_flat_win.h"
#include "object_tally.h"
#include "picture_test_support_win.h"
#include "temp_folder_support.h"

using namespace pictest;

namespace {

bool Near(TColor a, TColor b, int tolerance = 8) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
    return true;
}

#define EXPECT_NEAR_COLOR(actual, expected)                                                                            \
    EXPECT_PRED2([](TColor a, TColor e) { return Near(a, e); }, actual, expected)

}  // namespace

TEST(GdipPicture, SizesComeFromTheImage) {
    TGDIPPicture picture;
    TEventLog log;
    picture.OnChange = log.OnChange();
    picture.OnClear = log.OnClear();
    LoadInto(picture, QuadrantPng(6, 4));
    EXPECT_EQ(log.Events, (std::vector<String>{"change"}));
    EXPECT_EQ(picture.Width(), 6);
    EXPECT_EQ(picture.Height(), 4);

    // From a file: OnClear first.
    testfiles::TTempFolder folder("qm-gdip-picture");
    TBytesStream(QuadrantBmp(3, 5)).SaveToFile(folder.File("gdip_picture.bmp"));
    log.Events.clear();
    picture.LoadFromFile(folder.File("gdip_picture.bmp"));
    EXPECT_EQ(log.Events, (std::vector<String>{"clear", "change"}));
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 5);

    // Nothing loaded: an empty picture.
    TGDIPPicture none;
    LoadInto(none, {});
    EXPECT_TRUE(none.Empty());
}

TEST(GdipPicture, ALayoutPictureHasNoSizeUntilItIsMeasured) {
    // ReadData is what the layout reader calls; reach it as the reader does.
    struct TReadable : TGDIPPicture {
        void Read(TStream* s) { ReadData(s); }
    } picture;
    TEventLog log;
    picture.OnChange = log.OnChange();
    TBytesStream data(QuadrantPng(7, 2));
    picture.Read(&data);
    EXPECT_FALSE(picture.Empty());
    EXPECT_TRUE(log.Events.empty());
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Height(), 0);
    EXPECT_TRUE(picture.GetImageSizes());
    EXPECT_EQ(picture.Width(), 7);
    EXPECT_EQ(picture.Height(), 2);
}

TEST(GdipPicture, APngDrawsStretchedToTheRectangle) {
    TGDIPPicture picture;
    LoadInto(picture, QuadrantPng(4, 4));
    TTargetCanvas t(24, 24, clGray);
    picture.Draw(t.Canvas(), Rect(2, 2, 22, 22));
    EXPECT_NEAR_COLOR(t.At(6, 6), clRed);
    EXPECT_NEAR_COLOR(t.At(17, 6), clLime);
    EXPECT_NEAR_COLOR(t.At(6, 17), clBlue);
    EXPECT_NEAR_COLOR(t.At(17, 17), clWhite);
    EXPECT_EQ(t.At(0, 0), clGray);
    EXPECT_EQ(t.At(23, 23), clGray);
}

TEST(GdipPicture, ABitmapDrawsAtItsOwnSizeWithItsTransparentColour) {
    TGDIPPicture picture;
    LoadInto(picture, QuadrantBmp(4, 4));
    TTargetCanvas t(24, 24, clGray);
    picture.Draw(t.Canvas(), Rect(2, 2, 22, 22));
    EXPECT_EQ(t.At(2, 2), clRed);
    EXPECT_EQ(t.At(5, 2), clLime);
    EXPECT_EQ(t.At(5, 5), clWhite);
    // The bottom-left pixel is blue: blue lets the canvas show.
    EXPECT_EQ(t.At(2, 5), clGray);
    EXPECT_EQ(t.At(6, 6), clGray);
    EXPECT_EQ(t.At(12, 12), clGray);
}

namespace {

// GDI+ reading a stream itself, counted.
const TGdiplusApi* gRealGdiplus = nullptr;
int gStreamReads = 0;
TStatus WINAPI CountedLoadImage(IStream* stream, GpImage** image) {
    ++gStreamReads;
    return gRealGdiplus->GdipLoadImageFromStream(stream, image);
}

}  // namespace

TEST(GdipPicture, APlainBitmapIsMeasuredAndDrawnWithoutGdiplusReadingIt) {
    TBytes topDown = QuadrantBmp(4, 6);  // the same rows from the top, the height negative
    {
        const TBytes bottomUp = topDown;
        const std::size_t pixels = topDown[10], stride = 12;
        for (std::size_t row = 0; row < 6; ++row)
            std::copy_n(bottomUp.begin() + std::ptrdiff_t(pixels + (5 - row) * stride), stride,
                        topDown.begin() + std::ptrdiff_t(pixels + row * stride));
        const unsigned height = unsigned(-6);
        for (int i = 0; i < 4; ++i) topDown[22 + std::size_t(i)] = Byte(height >> (8 * i));
    }
    TBytes runLength = QuadrantBmp(4, 6);
    runLength[30] = 1;  // BI_RLE8: not plain
    const struct {
        const char* Name;
        TBytes File;
        int Reads;  // by GDI+: one to measure, one to draw
    } rows[] = {
        {"bottom-up", QuadrantBmp(4, 6), 0},
        {"top-down", topDown, 0},
        {"run-length coded", runLength, 2},
        {"a PNG", QuadrantPng(4, 6), 2},
    };
    TGdiplusApiOverride api;
    gRealGdiplus = &api.Saved();
    api->GdipLoadImageFromStream = &CountedLoadImage;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        gStreamReads = 0;
        TGDIPPicture picture;
        TBytesStream stream(row.File);
        picture.LoadFromStream(stream);
        TTargetCanvas t(24, 24, clGray);
        picture.Draw(t.Canvas(), Rect(2, 2, 6, 8));
        EXPECT_EQ(gStreamReads, row.Reads);
        if (row.Reads == 0) {
            EXPECT_EQ(picture.Width(), 4);
            EXPECT_EQ(picture.Height(), 6);
            EXPECT_EQ(t.At(2, 2), clRed);
            EXPECT_EQ(t.At(5, 7), clWhite);
            EXPECT_EQ(t.At(2, 7), clGray);  // blue, the bottom-left colour, lets the canvas show
        }
    }
}

TEST(GdipPicture, AssignOrderAndSources) {
    TGDIPPicture picture;
    TEventLog log;
    picture.OnChange = log.OnChange();
    picture.OnClear = log.OnClear();
    LoadInto(picture, QuadrantPng(2, 2));

    log.Events.clear();
    picture.Assign(nullptr);
    EXPECT_EQ(log.Events, (std::vector<String>{"change", "clear"}));
    EXPECT_TRUE(picture.Empty());

    TBitmap bmp(5, 3, pf24bit);
    TBytesStream bmpBytes;
    bmp.SaveToStream(bmpBytes);
    log.Events.clear();
    picture.Assign(&bmp);
    EXPECT_EQ(log.Events, (std::vector<String>{"change"}));
    EXPECT_EQ(picture.Width(), 5);
    EXPECT_EQ(picture.Height(), 3);
    TBytesStream saved;
    picture.SaveToStream(saved);
    EXPECT_EQ(saved.Bytes(), bmpBytes.Bytes());

    TPicture holder;
    holder.SetGraphic(&bmp);
    TGDIPPicture fromPicture;
    fromPicture.Assign(&holder);
    EXPECT_EQ(fromPicture.Width(), 5);

    TGDIPPicture copy;
    copy.Assign(&picture);
    EXPECT_EQ(copy.Width(), 5);
    TGDIPPicture empty;
    log.Events.clear();
    picture.Assign(&empty);
    EXPECT_EQ(log.Events, (std::vector<String>{"change"}));
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(picture.Width(), 0);
}

TEST(GdipPicture, BytesGdiplusCannotReadDrawNothing) {
    TGDIPPicture picture;
    LoadInto(picture, GarbageBytes());
    EXPECT_FALSE(picture.Empty());
    EXPECT_EQ(picture.Width(), 0);
    TTargetCanvas t(8, 8, clGray);
    picture.Draw(t.Canvas(), Rect(0, 0, 8, 8));
    EXPECT_EQ(t.Target().CountPixels(Rect(0, 0, 8, 8), clGray), 64);
}

TEST(GdipPicture, LoadsFromAResource) {
    TGDIPPicture picture;
    picture.LoadFromResourceName(GetModuleHandleA(nullptr), "HTML_PICTURE_GIF");
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 2);
    picture.LoadFromResourceName(GetModuleHandleA(nullptr), "NO_SUCH_PICTURE");
    EXPECT_EQ(picture.Width(), 3);
}

TEST(GdipPicture, DrawingLeavesNoGdiObjects) {
    TGDIPPicture png, bmp;
    LoadInto(png, QuadrantPng(8, 8));
    LoadInto(bmp, QuadrantBmp(8, 8));
    TTargetCanvas t(32, 32, clGray);
    t.Canvas()->Handle();
    TObjectBalance balance;
    for (int i = 0; i < 300; ++i) {
        png.Draw(t.Canvas(), Rect(0, 0, 16 + i % 16, 16));
        bmp.Draw(t.Canvas(), Rect(i % 8, 0, 32, 32));
    }
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
    // Graphics and images are counted as they are made (a graphics and an
    // image for each PNG drawn; a plain bitmap needs none): every one is gone.
    EXPECT_GE(balance.Created(okGdiPlus), 600);
    EXPECT_EQ(balance.Leaked(okGdiPlus), 0);
}
