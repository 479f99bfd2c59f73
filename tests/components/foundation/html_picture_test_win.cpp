// THTMLPicture under Windows: GIF frames shown through the OLE picture,
// drawing at the natural size and stretched, sources, and the cache.
#include "components/foundation/html_picture_win.h"

#include "components/foundation/gif_frames.h"
#include "object_tally.h"
#include "picture_test_support_win.h"
#include "temp_folder_support.h"

using namespace pictest;
using namespace giftest;

TEST(HtmlPicture, TheSecondFrameOfAThreeFrameGifShowsAsItself) {
    THTMLPicture picture;
    TEventLog log;
    picture.OnChange = log.OnChange();
    picture.OnFrameChange = log.OnFrame();
    LoadInto(picture, ThreeFrameGif(4, 4));
    EXPECT_EQ(picture.CountGifFrames(), 3);
    TTargetCanvas t(8, 8, clGray);
    picture.Draw(t.Canvas(), Rect(0, 0, 8, 8));
    EXPECT_EQ(t.At(1, 1), clRed);

    picture.SetFrame(2);
    EXPECT_EQ(log.Events, (std::vector<String>{"change", "frame"}));
    t.Target().Fill(clGray);
    picture.Draw(t.Canvas(), Rect(0, 0, 8, 8));
    EXPECT_EQ(t.At(1, 1), clLime);
    EXPECT_EQ(t.At(3, 3), clLime);
    EXPECT_EQ(t.At(4, 4), clGray);  // natural size: 4 x 4
    EXPECT_EQ(picture.DisplayWidth(), 4);

    picture.SetFrame(3);
    t.Target().Fill(clGray);
    picture.Draw(t.Canvas(), Rect(0, 0, 8, 8));
    EXPECT_EQ(t.At(2, 2), clBlue);
}

TEST(HtmlPicture, DisplaySizeIsTheLogicalScreen) {
    // A 10 x 8 screen whose second frame is a 4 x 2 patch at 3, 5.
    TBytes gif = MakeGif(10, 8, {{0, 0, 10, 8, 3}, {3, 5, 4, 2, 1}});
    THTMLPicture picture;
    LoadInto(picture, gif);
    picture.SetFrame(2);
    EXPECT_EQ(picture.DisplayWidth(), 10);
    EXPECT_EQ(picture.DisplayHeight(), 8);
    EXPECT_EQ(picture.FrameLeft(), 3);
    EXPECT_EQ(picture.FrameTop(), 5);
    EXPECT_EQ(picture.FrameWidth(), 4);
    EXPECT_EQ(picture.FrameHeight(), 2);
    // Not a GIF: the OLE picture's own size.
    THTMLPicture bmp;
    LoadInto(bmp, QuadrantBmp(6, 4));
    EXPECT_EQ(bmp.DisplayWidth(), 6);
    EXPECT_EQ(bmp.DisplayHeight(), 4);
    EXPECT_EQ(bmp.CountGifFrames(), -1);
}

TEST(HtmlPicture, DrawsAtItsOwnSizeOrStretched) {
    THTMLPicture picture;
    LoadInto(picture, QuadrantBmp(4, 4));
    TTargetCanvas t(20, 20, clGray);
    picture.Draw(t.Canvas(), Rect(2, 2, 18, 18));
    EXPECT_EQ(t.At(2, 2), clRed);
    EXPECT_EQ(t.At(5, 5), clWhite);
    EXPECT_EQ(t.At(6, 6), clGray);
    picture.SetStretch(true);
    t.Target().Fill(clGray);
    picture.Draw(t.Canvas(), Rect(2, 2, 18, 18));
    EXPECT_EQ(t.At(3, 3), clRed);
    EXPECT_EQ(t.At(16, 3), clLime);
    EXPECT_EQ(t.At(17, 17), clWhite);
    EXPECT_EQ(t.At(18, 18), clGray);
}

TEST(HtmlPicture, GarbageRaisesTheLoadError) {
    THTMLPicture picture;
    EXPECT_THROW(LoadInto(picture, GarbageBytes()), EInvalidGraphic);
    EXPECT_EQ(picture.OlePicture(), nullptr);
    EXPECT_EQ(picture.DisplayWidth(), 0);
    // Emptied again, nothing of the old bytes is made into a picture.
    picture.Assign(nullptr);
    EXPECT_TRUE(picture.Empty());
}

TEST(HtmlPicture, LoadsFromAFileNamedBySource) {
    TBytes gif = ThreeFrameGif(3, 2);
    testfiles::TTempFolder folder("qm-html-picture");
    const String file = folder.File("html_picture_source.gif");
    TBytesStream(gif).SaveToFile(file);
    THTMLPicture picture;
    picture.SetAsyncLoad(false);
    picture.LoadFromSource("file://" + file);
    EXPECT_EQ(picture.ID(), "file://" + file);
    EXPECT_FALSE(picture.Empty());
    EXPECT_EQ(picture.Width(), 3);
    // A web address: ID only, nothing loaded.
    THTMLPicture web;
    web.SetAsyncLoad(false);
    web.LoadFromSource("http://example.com/a.gif");
    EXPECT_TRUE(web.Empty());
    EXPECT_EQ(web.ID(), "http://example.com/a.gif");
    // A resource the program does not have: unchanged.
    THTMLPicture res;
    res.LoadFromSource("RES://NO_SUCH_PICTURE");
    EXPECT_TRUE(res.Empty());
    EXPECT_EQ(res.ID(), "RES://NO_SUCH_PICTURE");
}

TEST(HtmlPicture, AssignCopiesFrameStretchIdAndBytes) {
    THTMLPicture source;
    LoadInto(source, ThreeFrameGif(4, 4));
    source.SetFrame(3);
    source.SetStretch(true);
    source.SetID("FILE://x.gif");
    THTMLPicture copy;
    TEventLog log;
    copy.OnChange = log.OnChange();
    copy.OnFrameChange = log.OnFrame();
    copy.Assign(&source);
    EXPECT_EQ(log.Events, (std::vector<String>{"change"}));
    EXPECT_EQ(copy.Frame(), 3);
    EXPECT_TRUE(copy.Stretch());
    EXPECT_EQ(copy.ID(), "FILE://x.gif");
    TTargetCanvas t(4, 4, clGray);
    copy.Draw(t.Canvas(), Rect(0, 0, 4, 4));
    EXPECT_EQ(t.At(1, 1), clBlue);
    // Other graphics are not taken: the picture is left empty.
    TBitmap bmp(2, 2);
    copy.Assign(&bmp);
    EXPECT_TRUE(copy.Empty());
    EXPECT_EQ(copy.OlePicture(), nullptr);
}

TEST(HtmlPictureCache, FindsByExactIdAndOwnsItsPictures) {
    THTMLPictureCache cache;
    THTMLPicture* a = cache.AppendNewPicture();
    a->SetID("FILE://a.gif");
    THTMLPicture* b = cache.AppendNewPicture();
    b->SetID("FILE://b.gif");
    THTMLPicture* again = cache.AppendNewPicture();
    again->SetID("FILE://a.gif");
    EXPECT_EQ(cache.Count(), 3);
    EXPECT_EQ(cache.PictureById("FILE://a.gif"), a);
    EXPECT_EQ(cache.PictureById("FILE://b.gif"), b);
    EXPECT_EQ(cache.PictureById("file://a.gif"), nullptr);
    EXPECT_EQ(cache.PictureById(""), nullptr);
    cache.RemoveAllPictures();
    EXPECT_EQ(cache.Count(), 0);
    EXPECT_EQ(cache.PictureById("FILE://a.gif"), nullptr);
}

TEST(HtmlPicture, DrawingFramesLeavesNoGdiObjects) {
    THTMLPicture picture;
    LoadInto(picture, ThreeFrameGif(8, 8));
    TTargetCanvas t(16, 16, clGray);
    t.Canvas()->Handle();
    TObjectBalance balance;
    for (int i = 0; i < 200; ++i) {
        picture.SetFrame(1 + i % 3);
        picture.SetStretch(i % 2 == 0);
        picture.Draw(t.Canvas(), Rect(0, 0, 16, 16));
    }
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
}

TEST(HtmlPicture, LoadsFromAResourceOfTheProgram) {
    THTMLPicture picture;
    TEventLog log;
    picture.OnChange = log.OnChange();
    picture.LoadFromSource("res://HTML_PICTURE_GIF");
    EXPECT_EQ(picture.ID(), "res://HTML_PICTURE_GIF");
    ASSERT_FALSE(picture.Empty());
    EXPECT_EQ(log.Events, (std::vector<String>{"change"}));
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 2);
    EXPECT_EQ(picture.CountGifFrames(), 2);
    picture.SetFrame(2);
    TTargetCanvas t(4, 4, clGray);
    picture.Draw(t.Canvas(), Rect(0, 0, 4, 4));
    EXPECT_EQ(t.At(0, 0), clBlue);
    EXPECT_EQ(t.At(2, 1), clBlue);
    EXPECT_EQ(t.At(3, 2), clGray);
    // A name the module does not have leaves the picture as it was.
    picture.LoadFromResourceName(GetModuleHandleA(nullptr), "NO_SUCH_PICTURE");
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(log.Events.size(), 1u);
}
