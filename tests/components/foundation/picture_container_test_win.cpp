// The picture container: look-up by name, its items and Version, and the
// pictures kept byte for byte through a form's stored layout.
#include "components/foundation/picture_container_win.h"

#include "classlib/core/filer.h"
#include "classlib/ui/forms.h"
#include "components/foundation/lum_image_win.h"
#include "picture_test_support_win.h"

using namespace pictest;
using namespace giftest;

namespace {

TBytes PictureBytes(TGraphic* graphic) {
    TBytesStream s;
    graphic->SaveToStream(s);
    return s.Bytes();
}

// A component that keeps one picture of each OLE kind, as the panel keeps
// its background.
class TPictureHolder : public TComponent {
    QL_CLASS(TPictureHolder, TComponent)
public:
    explicit TPictureHolder(TComponent* owner) : TComponent(owner) {}
    TLumImage* Image() const { return FImage.get(); }
    void SetImage(TLumImage* value) { FImage->Assign(value); }
    THTMLPicture* Html() const { return FHtml.get(); }
    void SetHtml(THTMLPicture* value) { FHtml->Assign(value); }

private:
    std::unique_ptr<TLumImage> FImage = std::make_unique<TLumImage>();
    std::unique_ptr<THTMLPicture> FHtml = std::make_unique<THTMLPicture>();
};

}  // namespace

TClass TPictureHolder::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPictureHolder>("TPictureHolder")
                                       .Prop("Image", &TPictureHolder::Image, &TPictureHolder::SetImage)
                                       .Prop("Html", &TPictureHolder::Html, &TPictureHolder::SetHtml)
                                       .Build();
    return &info;
}

TEST(PictureContainer, FindsPicturesByNameIgnoringCase) {
    TPictureContainer container(nullptr);
    TPictureItem* logo = container.Items()->Add();
    logo->SetName("logo");
    TPictureItem* other = container.Items()->Add();
    other->SetName("Other");
    TPictureItem* second = container.Items()->Add();
    second->SetName("LOGO");
    EXPECT_EQ(container.PictureByName("LOGO"), logo->Picture());
    EXPECT_EQ(container.PictureByName("other"), other->Picture());
    EXPECT_EQ(container.PictureByName("logo2"), nullptr);
    EXPECT_EQ(container.PictureByName(""), nullptr);
    EXPECT_EQ(container.Version(), "1.0.0.0");
    container.SetVersion("2.0.0.0");
    EXPECT_EQ(container.Version(), "1.0.0.0");
}

TEST(PictureContainer, ItemsCopyNameTagAndPicture) {
    TPictureContainer a(nullptr), b(nullptr);
    TPictureItem* item = a.Items()->Add();
    item->SetName("arrow");
    item->SetTag(7);
    LoadInto(*item->Picture(), ThreeFrameGif(2, 2));
    b.SetItems(a.Items());
    ASSERT_EQ(b.Items()->Count(), 1);
    TPictureItem* copy = b.Items()->Items(0);
    EXPECT_EQ(copy->Name(), "arrow");
    EXPECT_EQ(copy->Tag(), 7);
    EXPECT_NE(copy->Picture(), item->Picture());
    EXPECT_EQ(PictureBytes(copy->Picture()), PictureBytes(item->Picture()));
    EXPECT_EQ(copy->GetDisplayName(), "arrow");
    // Writing Picture copies into the item's own picture.
    THTMLPicture other;
    LoadInto(other, QuadrantBmp(2, 2));
    copy->SetPicture(&other);
    EXPECT_EQ(PictureBytes(copy->Picture()), PictureBytes(&other));
}

TEST(PictureContainer, PicturesRoundTripThroughTheStoredLayoutByteForByte) {
    RegisterClass(TPictureHolder::StaticClass());
    TBytes gif = ThreeFrameGif(5, 3), bmp = QuadrantBmp(6, 4), bmp2 = QuadrantBmp(2, 8);
    String text;
    {
        TForm form(nullptr);
        form.SetName("frmPictures");
        auto* container = new TPictureContainer(&form);
        container->SetName("PictureContainer1");
        TPictureItem* item = container->Items()->Add();
        item->SetName("anim");
        item->SetTag(3);
        LoadInto(*item->Picture(), gif);
        item->Picture()->SetFrame(2);
        container->Items()->Add()->SetName("empty");
        auto* holder = new TPictureHolder(&form);
        holder->SetName("PictureHolder1");
        LoadInto(*holder->Image(), bmp);
        LoadInto(*holder->Html(), bmp2);
        holder->Html()->SetStretch(true);
        text = TWriter().WriteRootComponent(&form);
    }
    EXPECT_NE(text.find("Picture.Data = {"), String::npos) << text;
    EXPECT_NE(text.find("Image.Data = {"), String::npos) << text;
    EXPECT_EQ(text.find("Version"), String::npos) << text;

    TForm form(nullptr);
    TReader(text).ReadRootComponent(&form);
    auto* container = dynamic_cast<TPictureContainer*>(form.FindComponent("PictureContainer1"));
    ASSERT_NE(container, nullptr);
    ASSERT_EQ(container->Items()->Count(), 2);
    TPictureItem* item = container->Items()->Items(0);
    EXPECT_EQ(item->Name(), "anim");
    EXPECT_EQ(item->Tag(), 3);
    EXPECT_EQ(item->Picture()->Frame(), 2);
    EXPECT_EQ(PictureBytes(item->Picture()), gif);
    EXPECT_EQ(item->Picture()->FrameWidth(), 5);
    EXPECT_TRUE(container->Items()->Items(1)->Picture()->Empty());
    EXPECT_EQ(container->PictureByName("ANIM"), item->Picture());
    auto* holder = dynamic_cast<TPictureHolder*>(form.FindComponent("PictureHolder1"));
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(PictureBytes(holder->Image()), bmp);
    EXPECT_EQ(holder->Image()->Width(), 6);
    EXPECT_EQ(PictureBytes(holder->Html()), bmp2);
    EXPECT_TRUE(holder->Html()->Stretch());
    EXPECT_EQ(TWriter().WriteRootComponent(&form), text);
    // A Version in the layout is read and ignored.
    TForm again(nullptr);
    TReader(
        "object frmPictures: TForm\n  object PictureContainer1: TPictureContainer\n    Version = '9.9'\n  end\nend\n")
        .ReadRootComponent(&again);
    EXPECT_EQ(dynamic_cast<TPictureContainer*>(again.FindComponent("PictureContainer1"))->Version(), "1.0.0.0");
    UnregisterClass(TPictureHolder::StaticClass());
}
