// The HTML picture's frames, sources and assignment, with an OLE picture
// that only records what it was made from.
#include "components/foundation/html_picture_data.h"

#include <gtest/gtest.h>

#include "components/foundation/gif_frames.h"
#include "components/foundation/himetric.h"
#include "gif_test_support.h"

using namespace giftest;

namespace {

using TLog = std::vector<String>;

void LoadBytes(TPictureData& picture, const TBytes& bytes) {
    TBytesStream stream(bytes);
    picture.LoadBytesFromStream(&stream);
}

// Every picture is 10 x 5 pixels.
class TRecordingHtml : public THTMLPictureData {
public:
    TLog Log;
    TBytes Made;
    bool Has = false;
    std::vector<String> Resources;

protected:
    bool PictureExtent(int& w, int& h) const override {
        w = PixelsToHimetric(10, 96);
        h = PixelsToHimetric(5, 96);
        return Has;
    }
    void MakePicture(std::span<const Byte> bytes) override {
        Log.push_back("make");
        Made.assign(bytes.begin(), bytes.end());
        Has = true;
    }
    void DropPicture() override { Has = false; }
    void NotifyChange() override { Log.push_back("change"); }
    void NotifyFrameChange() override { Log.push_back("frame"); }
    void LoadBytesFromResource(const String& name) override { Resources.push_back(name); }
};

}  // namespace

TEST(HtmlPictureData, TheSelectedFrameGoesToTheDecoder) {
    TBytes gif = MakeGif(8, 6, {{0, 0, 8, 6, 0}, {1, 2, 3, 4, 1}, {0, 0, 8, 6, 2}});
    TRecordingHtml p;
    LoadBytes(p, gif);
    EXPECT_EQ(p.Made, gif);
    EXPECT_EQ(p.CountGifFrames(), 3);
    p.Log.clear();
    p.SetFrame(2);
    EXPECT_EQ(p.Log, (TLog{"make", "frame"}));
    EXPECT_EQ(p.Made, SelectGifFrame(gif, 2).Bytes);
    EXPECT_EQ(p.FrameLeft(), 1);
    EXPECT_EQ(p.FrameTop(), 2);
    EXPECT_EQ(p.FrameWidth(), 3);
    EXPECT_EQ(p.FrameHeight(), 4);
    // The layout size is the logical screen's, not the decoded picture's.
    EXPECT_EQ(p.DisplayWidth(), 8);
    EXPECT_EQ(p.DisplayHeight(), 6);
    EXPECT_EQ(p.PictureWidth(), 10);
}

TEST(HtmlPictureData, FramesAreCountedAgainForNewBytes) {
    TRecordingHtml p;
    EXPECT_EQ(p.CountGifFrames(), -1);
    LoadBytes(p, ThreeFrameGif(2, 2));
    EXPECT_EQ(p.CountGifFrames(), 3);
    LoadBytes(p, MakeGif(2, 2, {{0, 0, 2, 2, 0}}));
    EXPECT_EQ(p.CountGifFrames(), 1);
    LoadBytes(p, {1, 2, 3});
    EXPECT_EQ(p.CountGifFrames(), -1);
    // Not a GIF: the OLE picture's own size.
    EXPECT_EQ(p.DisplayWidth(), 10);
    EXPECT_EQ(p.DisplayHeight(), 5);
}

TEST(HtmlPictureData, WritingTheFrameWithoutBytesOnlyStoresIt) {
    TRecordingHtml p;
    p.SetFrame(3);
    EXPECT_EQ(p.Frame(), 3);
    EXPECT_TRUE(p.Log.empty());
    // Loaded later, the stored frame is the one shown.
    LoadBytes(p, ThreeFrameGif(2, 2));
    EXPECT_EQ(p.Made, SelectGifFrame(ThreeFrameGif(2, 2), 3).Bytes);
}

TEST(HtmlPictureData, AssignCopiesTheSourceAndItsFrame) {
    TBytes gif = ThreeFrameGif(4, 4);
    TRecordingHtml source;
    LoadBytes(source, gif);
    source.SetFrame(2);
    source.SetStretch(true);
    source.SetID("FILE://anim.gif");

    TRecordingHtml p;
    LoadBytes(p, {1, 2});
    p.Log.clear();
    p.AssignPicture(source);
    // The old bytes go with a frame change; then the source's picture.
    EXPECT_EQ(p.Log, (TLog{"frame", "make", "change"}));
    EXPECT_EQ(p.Frame(), 2);
    EXPECT_TRUE(p.Stretch());
    EXPECT_EQ(p.ID(), "FILE://anim.gif");
    EXPECT_EQ(p.Made, SelectGifFrame(gif, 2).Bytes);
    EXPECT_EQ(p.CountGifFrames(), 3);

    // No source: empty, nothing left to draw or lay out.
    p.Log.clear();
    p.AssignNothing();
    EXPECT_EQ(p.Log, (TLog{"frame", "change"}));
    EXPECT_TRUE(p.IsEmpty());
    EXPECT_EQ(p.Frame(), 1);
    EXPECT_EQ(p.DisplayWidth(), 0);
    EXPECT_EQ(p.ScreenWidth(), 0);
    EXPECT_EQ(p.CountGifFrames(), -1);

    // From an empty picture: no frame change (no bytes went), the change.
    p.Log.clear();
    TRecordingHtml empty;
    p.AssignPicture(empty);
    EXPECT_EQ(p.Log, (TLog{"change"}));
    EXPECT_TRUE(p.IsEmpty());

    // Anything else: the picture is left empty.
    LoadBytes(p, gif);
    p.Log.clear();
    p.AssignOther();
    EXPECT_EQ(p.Log, (TLog{"frame"}));
    EXPECT_TRUE(p.IsEmpty());
    EXPECT_EQ(p.DisplayWidth(), 0);
}

TEST(HtmlPictureData, SourcesByPrefix) {
    struct TCase {
        const char* Text;
        TPictureSourceKind Kind;
        const char* Name;
    };
    TCase cases[] = {
        {"RES://LOGO", pskResource, "LOGO"},
        {"res://Logo", pskResource, "Logo"},
        {"FILE://c:\\pics\\a.gif", pskFile, "c:\\pics\\a.gif"},
        {"File://a.gif", pskFile, "a.gif"},
        {"http://example.com/a.gif", pskAddress, "http://example.com/a.gif"},
        {"RES:/x", pskAddress, "RES:/x"},
        {"", pskAddress, ""},
    };
    for (const TCase& c : cases) {
        TPictureSource s = ParsePictureSource(c.Text);
        EXPECT_EQ(s.Kind, c.Kind) << c.Text;
        EXPECT_EQ(s.Name, c.Name) << c.Text;
    }
}

TEST(HtmlPictureData, LoadFromSource) {
    TRecordingHtml p;
    p.LoadFromSource("res://Logo");
    EXPECT_EQ(p.Resources, (std::vector<String>{"Logo"}));
    EXPECT_EQ(p.ID(), "res://Logo");

    // A web address loads nothing: synchronously only the ID is set, so the
    // renderer lays it out as nothing.
    TRecordingHtml web;
    web.SetAsyncLoad(false);
    web.LoadFromSource("http://example.com/a.gif");
    EXPECT_EQ(web.ID(), "http://example.com/a.gif");
    EXPECT_TRUE(web.IsEmpty());
    EXPECT_TRUE(web.Log.empty());

    TRecordingHtml async;
    EXPECT_TRUE(async.AsyncLoad());
    async.LoadFromSource("http://example.com/a.gif");
    EXPECT_TRUE(async.DownloadBusy());
    EXPECT_EQ(async.ID(), "");
    EXPECT_TRUE(async.IsEmpty());

    // A missing file: the ID is set, the picture stays empty.
    TRecordingHtml file;
    file.LoadFromSource("FILE://no such picture.gif");
    EXPECT_EQ(file.ID(), "FILE://no such picture.gif");
    EXPECT_TRUE(file.IsEmpty());
}

TEST(HtmlPictureData, NamesIgnoreCaseAndIdsDoNot) {
    EXPECT_TRUE(SamePictureName("logo", "LOGO"));
    EXPECT_TRUE(SamePictureName("Logo1", "lOGO1"));
    EXPECT_FALSE(SamePictureName("logo", "logo2"));
    EXPECT_TRUE(SamePictureID("FILE://a.gif", "FILE://a.gif"));
    EXPECT_FALSE(SamePictureID("FILE://a.gif", "file://a.gif"));
}
