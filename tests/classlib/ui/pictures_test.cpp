// Pictures: the format registry, TPicture, and the stored "Data" of
// pictures and graphics.
#include <gtest/gtest.h>

#include <cstring>

#include "classlib/core/filer.h"
#include "classlib/core/sysutils.h"
#include "classlib/ui/jpeg.h"
#include "classlib/ui/pictures.h"
#include "ui_test_support.h"

namespace {

// A graphic whose data is text; it notes what its ReadData was given.
class TTextGraphic : public TGraphic {
    QL_CLASS(TTextGraphic, TGraphic)
public:
    String Text;
    Int64 ReadSize = -1;
    Int64 ReadPosition = -1;

    void Assign(TPersistent* source) override {
        if (auto* t = dynamic_cast<TTextGraphic*>(source)) {
            Text = t->Text;
            Changed(this);
            return;
        }
        TGraphic::Assign(source);
    }
    void Draw(TCanvas*, const TRect&) override {}
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    void LoadFromStream(TStream& stream) override {
        Text.assign(size_t(stream.Size() - stream.Position()), '\0');
        stream.ReadBuffer(Text.data(), Int64(Text.size()));
        Changed(this);
    }
    void SaveToStream(TStream& stream) override { stream.WriteBuffer(Text.data(), Int64(Text.size())); }

protected:
    bool GetEmpty() override { return Text.empty(); }
    int GetWidth() override { return int(Text.size()); }
    int GetHeight() override { return 1; }
    void ReadData(TStream* stream) override {
        ReadSize = stream->Size();
        ReadPosition = stream->Position();
        TGraphic::ReadData(stream);
    }
};

TClass TTextGraphic::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTextGraphic>("TTextGraphic").Build();
    return &info;
}

String TempFile(const String& name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return String(dir) + "qm-gfx-" + IntToStr(int(GetCurrentProcessId())) + "-" + name;
}

void WriteFile(const String& fileName, const String& bytes) {
    TFileStream f(fileName, fmCreate);
    f.WriteBuffer(bytes.data(), Int64(bytes.size()));
}

class PictureRegistryTest : public ::testing::Test {
protected:
    void TearDown() override {
        TPicture::UnregisterGraphicClass(TTextGraphic::StaticClass());
        for (const String& f : FFiles) DeleteFileA(f.c_str());
    }
    String File(const String& name, const String& bytes) {
        String path = TempFile(name);
        WriteFile(path, bytes);
        FFiles.push_back(path);
        return path;
    }
    std::vector<String> FFiles;
};

String BmpBytes(int width, int height, TColor color) {
    auto bitmap = MakeBitmap(width, height, color, pf24bit);
    TStringStream s;
    bitmap->SaveToStream(s);
    return s.DataString();
}

TEST_F(PictureRegistryTest, BuiltInFormatsByExtension) {
    EXPECT_EQ(TPicture::FindFileFormat("bmp").Class, TBitmap::StaticClass());
    EXPECT_EQ(TPicture::FindFileFormat(".BMP").Class, TBitmap::StaticClass());
    EXPECT_EQ(TPicture::FindFileFormat("ico").Class, TIcon::StaticClass());
    EXPECT_EQ(TPicture::FindFileFormat("Jpg").Class, TJPEGImage::StaticClass());
    EXPECT_EQ(TPicture::FindFileFormat("jpeg").Class, TJPEGImage::StaticClass());
    EXPECT_FALSE(TPicture::FindFileFormat("xyz"));
    EXPECT_EQ(TPicture::FindGraphicClass("TBitmap").Class, TBitmap::StaticClass());
}

TEST_F(PictureRegistryTest, LoadFromFilePicksTheKindByExtension) {
    TPicture picture;
    picture.LoadFromFile(File("a.BmP", BmpBytes(3, 2, clRed)));
    ASSERT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 2);

    try {
        picture.LoadFromFile(File("b.xyz", "data"));
        FAIL() << "no exception";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), "Unknown picture file extension (.xyz)");
    }
    // A failed load leaves the picture as it was.
    EXPECT_THROW(picture.LoadFromFile(File("c.bmp", "not a bitmap")), EInvalidGraphic);
    EXPECT_EQ(picture.Width(), 3);
}

TEST_F(PictureRegistryTest, RegisteredFormatsAndUnregistering) {
    TPicture::RegisterFileFormat("TST", "Test pictures", GraphicClassOf<TTextGraphic>());
    TPicture picture;
    picture.LoadFromFile(File("d.tst", "hello"));
    auto* text = dynamic_cast<TTextGraphic*>(picture.Graphic());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Text, "hello");

    // The latest registration of an extension wins, until it is removed.
    TPicture::RegisterFileFormat("bmp", "Bitmaps as text", GraphicClassOf<TTextGraphic>());
    EXPECT_EQ(TPicture::FindFileFormat("bmp").Class, TTextGraphic::StaticClass());
    TPicture::UnregisterGraphicClass(TTextGraphic::StaticClass());
    EXPECT_EQ(TPicture::FindFileFormat("bmp").Class, TBitmap::StaticClass());
    EXPECT_FALSE(TPicture::FindFileFormat("tst"));
    EXPECT_THROW(picture.LoadFromFile(File("e.tst", "x")), EInvalidGraphic);
}

TEST(PictureTest, GraphicIsCopiedAndChangesAreAnnounced) {
    struct Listener : TObject {
        int Count = 0;
        void Changed(TObject*) { ++Count; }
    } listener;
    TPicture picture;
    picture.OnChange = TNotifyEvent::Bind<&Listener::Changed>(&listener);
    auto bitmap = MakeBitmap(2, 2, clBlue);
    picture.SetGraphic(bitmap.get());
    EXPECT_NE(picture.Graphic(), bitmap.get());
    bitmap->Canvas()->SetPixels(0, 0, clRed);
    EXPECT_EQ(PixelAt(*picture.Bitmap(), 0, 0), Rgb(0, 0, 255));
    int before = listener.Count;
    picture.Bitmap()->SetSize(5, 5);  // the picture hears of its graphic's changes
    EXPECT_GT(listener.Count, before);
    EXPECT_EQ(picture.Width(), 5);

    TPicture copy;
    copy.Assign(&picture);
    EXPECT_EQ(copy.Width(), 5);
    TBitmap out;
    out.Assign(&picture);  // a picture assigns its graphic
    EXPECT_EQ(out.Width(), 5);

    // Asking for an icon replaces the bitmap by an empty icon.
    EXPECT_TRUE(picture.Icon()->Empty());
    picture.SetGraphic(nullptr);
    EXPECT_EQ(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Width(), 0);

    TTextGraphic unregistered;
    unregistered.Text = "x";
    EXPECT_THROW(picture.SetGraphic(&unregistered), EInvalidGraphic);
}

// ---- The stored layout -----------------------------------------------------------------------

class TPictureHolder : public TComponent {
    QL_CLASS(TPictureHolder, TComponent)
public:
    explicit TPictureHolder(TComponent* owner) : TComponent(owner) {}
    ~TPictureHolder() override {
        delete FPicture;
        delete FGlyph;
    }
    TPicture* FPicture = new TPicture;
    TBitmap* FGlyph = new TBitmap;
    TPicture* Picture() const { return FPicture; }
    TBitmap* Glyph() const { return FGlyph; }
};

TClass TPictureHolder::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPictureHolder>("TPictureHolder")
                                       .Prop("Picture", &TPictureHolder::Picture, nullptr)
                                       .Prop("Glyph", &TPictureHolder::Glyph, nullptr)
                                       .Build();
    return &info;
}

TEST(PictureLayoutTest, DataRoundTripThroughTheLayout) {
    TPictureHolder holder(nullptr);
    holder.SetName("Holder1");
    auto bitmap = MakeBitmap(3, 2, clRed, pf24bit);
    bitmap->Canvas()->SetPixels(2, 1, clBlue);
    holder.Picture()->SetGraphic(bitmap.get());
    holder.Glyph()->Assign(bitmap.get());

    String text = TWriter().WriteRootComponent(&holder);
    // The picture: the class name with its length, then the bitmap's data
    // (its length, then "BM").
    size_t picture = text.find("Picture.Data = {"), glyph = text.find("Glyph.Data = {");
    ASSERT_NE(picture, String::npos) << text;
    ASSERT_NE(glyph, String::npos) << text;
    EXPECT_EQ(text.find("07544269746D6170"
                        "4E000000"
                        "424D"),
              text.find_first_not_of(" \r\n", picture + 16))
        << text;
    EXPECT_EQ(text.find("4E000000424D", glyph), text.find_first_not_of(" \r\n", glyph + 14)) << text;

    TPictureHolder read(nullptr);
    TReader(text).ReadRootComponent(&read);
    auto* b = dynamic_cast<TBitmap*>(read.Picture()->Graphic());
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Width(), 3);
    EXPECT_EQ(LongWord(b->Canvas()->Pixels(2, 1)), Rgb(0, 0, 255));
    EXPECT_EQ(LongWord(b->Canvas()->Pixels(0, 0)), Rgb(255, 0, 0));
    EXPECT_EQ(LongWord(read.Glyph()->Canvas()->Pixels(2, 1)), Rgb(0, 0, 255));

    // A picture holding an empty graphic keeps just its class.
    TPictureHolder withIcon(nullptr);
    withIcon.SetName("Holder2");
    withIcon.Picture()->Icon();
    String iconText = TWriter().WriteRootComponent(&withIcon);
    TPictureHolder iconRead(nullptr);
    TReader(iconText).ReadRootComponent(&iconRead);
    ASSERT_NE(dynamic_cast<TIcon*>(iconRead.Picture()->Graphic()), nullptr) << iconText;
    EXPECT_TRUE(iconRead.Picture()->Graphic()->Empty());

    // Empty pictures and graphics write nothing.
    TPictureHolder empty(nullptr);
    empty.SetName("Empty1");
    EXPECT_EQ(TWriter().WriteRootComponent(&empty).find("Data"), String::npos);
}

TEST(PictureLayoutTest, TheGraphicReadsExactlyItsOwnBytes) {
    TPicture::RegisterFileFormat("txt", "Text", GraphicClassOf<TTextGraphic>());
    TPictureHolder holder(nullptr);
    holder.SetName("Holder1");
    TTextGraphic graphic;
    graphic.Text = "payload";
    holder.Picture()->SetGraphic(&graphic);
    String text = TWriter().WriteRootComponent(&holder);
    // 0C "TTextGraphic", then "payload".
    EXPECT_NE(text.find("0C5454657874477261706869637061796C6F6164}"), String::npos) << text;

    TPictureHolder read(nullptr);
    TReader(text).ReadRootComponent(&read);
    auto* g = dynamic_cast<TTextGraphic*>(read.Picture()->Graphic());
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Text, "payload");
    EXPECT_EQ(g->ReadSize, 7);
    EXPECT_EQ(g->ReadPosition, 0);
    TPicture::UnregisterGraphicClass(TTextGraphic::StaticClass());

    // Once unregistered, the class is unknown to the reader.
    TPictureHolder again(nullptr);
    EXPECT_THROW(TReader(text).ReadRootComponent(&again), Exception);
}

}  // namespace
