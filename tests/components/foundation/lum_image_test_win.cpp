// TLumImage: OLE pictures made from the bytes, their size, drawing into a
// 32-bit picture, copying from the class library's graphics.
#include "components/foundation/lum_image_win.h"

#include "classlib/ui/extctrls.h"
#include "classlib/ui/forms.h"
#include "components/foundation/himetric.h"
#include "object_tally.h"
#include "picture_test_support_win.h"
#include "temp_folder_support.h"

using namespace pictest;

TEST(LumImage, MakesAnOlePictureOfItsBytes) {
    TLumImage image;
    EXPECT_TRUE(image.Empty());
    EXPECT_EQ(image.Width(), 0);
    TBytes bmp = QuadrantBmp(8, 6);
    LoadInto(image, bmp);
    EXPECT_FALSE(image.Empty());
    ASSERT_NE(image.OlePicture(), nullptr);
    // The extent in HIMETRIC comes back as the pixels at 96 per inch.
    EXPECT_EQ(image.Width(), 8);
    EXPECT_EQ(image.Height(), 6);
    OLE_XSIZE_HIMETRIC w = 0;
    image.OlePicture()->get_Width(&w);
    EXPECT_EQ(HimetricToPixels(w, 96), 8);
    // The bytes stay exactly as loaded.
    TBytesStream saved;
    image.SaveToStream(saved);
    EXPECT_EQ(saved.Bytes(), bmp);
}

TEST(LumImage, BytesThatAreNoImageRaiseAndTheFileLoadSwallows) {
    TLumImage image;
    try {
        LoadInto(image, GarbageBytes());
        FAIL() << "no error";
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), "Could not load image. Invalid format");
    }
    EXPECT_EQ(image.OlePicture(), nullptr);
    EXPECT_EQ(image.Width(), 0);

    testfiles::TTempFolder folder("qm-lum-image");
    TBytesStream(GarbageBytes()).SaveToFile(folder.File("lum_image_garbage.bin"));
    TLumImage fromFile;
    fromFile.LoadFromFile(folder.File("lum_image_garbage.bin"));
    EXPECT_TRUE(fromFile.Empty());
    fromFile.LoadFromFile(folder.File("no such image.bmp"));
    EXPECT_TRUE(fromFile.Empty());
}

TEST(LumImage, DrawsScaledIntoTheRectangle) {
    TLumImage image;
    LoadInto(image, QuadrantBmp(4, 4));
    TTargetCanvas t(20, 20, clGray);
    image.Draw(t.Canvas(), Rect(2, 2, 10, 10));  // twice the size
    EXPECT_EQ(t.At(3, 3), clRed);
    EXPECT_EQ(t.At(8, 3), clLime);
    EXPECT_EQ(t.At(3, 8), clBlue);
    EXPECT_EQ(t.At(9, 9), clWhite);
    EXPECT_EQ(t.At(1, 1), clGray);
    EXPECT_EQ(t.At(10, 10), clGray);
    // Through the canvas at its own size.
    t.Target().Fill(clGray);
    t.Canvas()->Draw(12, 12, &image);
    EXPECT_EQ(t.At(12, 12), clRed);
    EXPECT_EQ(t.At(15, 15), clWhite);
    EXPECT_EQ(t.At(16, 16), clGray);
}

TEST(LumImage, AssignedABitmapStoresItOnceAndDrawsIt) {
    TBitmap bmp(4, 4, pf24bit);
    bmp.Canvas()->Brush()->SetColor(clBlue);
    bmp.Canvas()->FillRect(Rect(0, 0, 4, 4));
    TBytesStream expected;
    bmp.SaveToStream(expected);

    TLumImage image;
    TEventLog log;
    image.OnChange = log.OnChange();
    image.Assign(&bmp);
    EXPECT_EQ(log.Events, (std::vector<String>{"change"}));
    TBytesStream stored;
    image.SaveToStream(stored);
    EXPECT_EQ(stored.Bytes(), expected.Bytes());
    ASSERT_NE(image.OlePicture(), nullptr);
    EXPECT_EQ(image.Width(), 4);
    TTargetCanvas t(6, 6, clGray);
    image.Draw(t.Canvas(), Rect(1, 1, 5, 5));
    EXPECT_EQ(t.At(2, 2), clBlue);

    // From a TPicture and a TImage: their graphic's bytes.
    TPicture picture;
    picture.SetGraphic(&bmp);
    TLumImage fromPicture;
    fromPicture.Assign(&picture);
    TBytesStream p;
    fromPicture.SaveToStream(p);
    EXPECT_EQ(p.Bytes(), expected.Bytes());
    auto* control = new TImage(nullptr);
    control->Picture()->SetGraphic(&bmp);
    TLumImage fromControl;
    fromControl.Assign(control);
    EXPECT_EQ(fromControl.Width(), 4);
    delete control;

    // Another image: its bytes; none: empty, with the change.
    TLumImage copy;
    copy.Assign(&image);
    EXPECT_EQ(copy.Width(), 4);
    ASSERT_NE(copy.OlePicture(), nullptr);
    EXPECT_NE(copy.OlePicture(), image.OlePicture());
    log.Events.clear();
    image.Assign(nullptr);
    EXPECT_EQ(log.Events, (std::vector<String>{"change"}));
    EXPECT_TRUE(image.Empty());
    EXPECT_EQ(image.OlePicture(), nullptr);
    EXPECT_EQ(image.Width(), 0);
}

TEST(LumImage, DrawingLeavesNoGdiObjects) {
    TLumImage image;
    LoadInto(image, QuadrantBmp(16, 16));
    TTargetCanvas t(40, 40, clGray);
    t.Canvas()->Handle();
    TObjectBalance balance;
    for (int i = 0; i < 300; ++i) image.Draw(t.Canvas(), Rect(i % 10, 0, 32, 32));
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
}
