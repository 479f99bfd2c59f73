// Image lists over the native list: adding, drawing, moving, deleting,
// handles, change links, DoDraw and the stored "Bitmap".
#include <gtest/gtest.h>

#include "classlib/core/filer.h"
#include "classlib/ui/imagelist.h"
#include "ui_test_support.h"

namespace {

// Adds a solid 16 x 16 image of each colour.
void AddColors(TCustomImageList& list, std::initializer_list<TColor> colors) {
    for (TColor c : colors) {
        auto image = MakeBitmap(16, 16, c);
        list.Add(image.get(), nullptr);
    }
}

// The colour of the middle of each image, drawn on white.
std::vector<LongWord> Colors(TCustomImageList& list) {
    std::vector<LongWord> out;
    for (int i = 0; i < list.Count(); ++i) {
        auto target = MakeBitmap(16, 16, clWhite);
        list.Draw(target->Canvas(), 0, 0, i);
        out.push_back(PixelAt(*target, 8, 8));
    }
    return out;
}

const LongWord Red = Rgb(255, 0, 0), Green = Rgb(0, 255, 0), Blue = Rgb(0, 0, 255), Yellow = Rgb(255, 255, 0);

TEST(ImageListTest, AddDrawAndCount) {
    TImageList list(nullptr);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(list.HandleAllocated());
    EXPECT_EQ(list.Width(), 16);
    EXPECT_EQ(list.Height(), 16);
    AddColors(list, {clRed, clLime});
    EXPECT_TRUE(list.HandleAllocated());
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(Colors(list), (std::vector<LongWord>{Red, Green}));

    // A strip twice as wide adds two images.
    auto strip = MakeBitmap(32, 16, clBlue);
    EXPECT_EQ(list.Add(strip.get(), nullptr), 2);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Add(nullptr, nullptr), -1);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list.Handle(), &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
}

TEST(ImageListTest, AddMaskedDrawsTheMaskColourTransparentAndKeepsTheBitmap) {
    TImageList list(nullptr);
    auto image = MakeBitmap(16, 16, clFuchsia);
    image->Canvas()->Brush()->SetColor(clRed);
    image->Canvas()->FillRect(Rect(4, 4, 12, 12));
    EXPECT_EQ(list.AddMasked(image.get(), clFuchsia), 0);
    EXPECT_EQ(PixelAt(*image, 0, 0), Rgb(255, 0, 255));  // unchanged

    auto target = MakeBitmap(16, 16, clLime);
    list.Draw(target->Canvas(), 0, 0, 0);
    EXPECT_EQ(PixelAt(*target, 0, 0), Green);
    EXPECT_EQ(PixelAt(*target, 8, 8), Red);
}

TEST(ImageListTest, InsertMoveReplaceDelete) {
    TImageList list(nullptr);
    AddColors(list, {clRed, clLime, clBlue});
    auto yellow = MakeBitmap(16, 16, clYellow);
    list.Insert(1, yellow.get(), nullptr);
    EXPECT_EQ(Colors(list), (std::vector<LongWord>{Red, Yellow, Green, Blue}));
    list.Move(0, 3);
    EXPECT_EQ(Colors(list), (std::vector<LongWord>{Yellow, Green, Blue, Red}));
    list.Move(2, 0);
    EXPECT_EQ(Colors(list), (std::vector<LongWord>{Blue, Yellow, Green, Red}));

    auto red = MakeBitmap(16, 16, clRed);
    list.Replace(1, red.get(), nullptr);
    EXPECT_EQ(Colors(list), (std::vector<LongWord>{Blue, Red, Green, Red}));
    auto masked = MakeBitmap(16, 16, clFuchsia);
    masked->Canvas()->Brush()->SetColor(clLime);
    masked->Canvas()->FillRect(Rect(6, 6, 10, 10));
    list.ReplaceMasked(0, masked.get(), clFuchsia);
    ASSERT_EQ(list.Count(), 4);
    auto target = MakeBitmap(16, 16, clWhite);
    list.Draw(target->Canvas(), 0, 0, 0);
    EXPECT_EQ(PixelAt(*target, 1, 1), Rgb(255, 255, 255));
    EXPECT_EQ(PixelAt(*target, 8, 8), Green);
    list.InsertMasked(4, masked.get(), clFuchsia);  // at the end
    EXPECT_EQ(list.Count(), 5);

    list.Delete(1);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(Colors(list)[1], Green);
    for (int bad : {4, 10, -2}) EXPECT_THROW(list.Delete(bad), EInvalidOperation) << bad;
    EXPECT_THROW(list.Insert(9, red.get(), nullptr), EInvalidOperation);
    EXPECT_THROW(list.Move(0, 4), EInvalidOperation);
    try {
        list.Replace(7, red.get(), nullptr);
        FAIL() << "no exception";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Invalid ImageList Index");
    }
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(ImageListTest, IconsAndOtherLists) {
    TImageList source(nullptr);
    AddColors(source, {clRed, clBlue});
    TIcon icon;
    source.GetIcon(1, &icon);
    ASSERT_FALSE(icon.Empty());
    EXPECT_EQ(icon.Width(), 16);

    TImageList list(nullptr);
    EXPECT_EQ(list.AddIcon(&icon), 0);
    EXPECT_EQ(list.AddImage(&source, 0), 1);
    EXPECT_EQ(list.AddImage(&source, 5), -1);
    list.AddImages(&source);
    EXPECT_EQ(Colors(list), (std::vector<LongWord>{Blue, Red, Red, Blue}));
    list.InsertIcon(0, &icon);
    list.ReplaceIcon(4, &icon);
    EXPECT_EQ(Colors(list), (std::vector<LongWord>{Blue, Blue, Red, Red, Blue}));

    TBitmap bitmap;
    EXPECT_TRUE(list.GetBitmap(2, &bitmap));
    EXPECT_EQ(bitmap.Width(), 16);
    EXPECT_EQ(LongWord(bitmap.Canvas()->Pixels(8, 8)), Red);
    EXPECT_FALSE(list.GetBitmap(9, &bitmap));
    EXPECT_NE(list.GetImageBitmap(), nullptr);

    TImageList copy(nullptr);
    copy.Assign(&list);
    EXPECT_NE(copy.Handle(), list.Handle());
    EXPECT_EQ(Colors(copy), Colors(list));
}

TEST(ImageListTest, SizeChangesEmptyTheList) {
    TImageList list(nullptr);
    AddColors(list, {clRed});
    list.SetWidth(24);
    EXPECT_EQ(list.Count(), 0);
    auto image = MakeBitmap(24, 16, clBlue);
    EXPECT_EQ(list.Add(image.get(), nullptr), 0);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list.Handle(), &cx, &cy);
    EXPECT_EQ(cx, 24);
    // Without a mask the list keeps its images.
    list.SetMasked(false);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(Colors(list)[0], Blue);
}

TEST(ImageListTest, SettingTheHandle) {
    TImageList list(nullptr);
    AddColors(list, {clRed});
    HIMAGELIST other = ImageList_Create(20, 10, ILC_COLOR32 | ILC_MASK, 1, 1);
    auto image = MakeBitmap(20, 10, clLime);
    ImageList_Add(other, image->Handle(), nullptr);
    ImageList_Add(other, image->Handle(), nullptr);
    list.SetHandle(other);
    EXPECT_EQ(list.Handle(), other);
    EXPECT_EQ(list.Width(), 20);
    EXPECT_EQ(list.Height(), 10);
    EXPECT_EQ(list.Count(), 2);

    // A list that shares its images leaves the handle alive.
    list.SetShareImages(true);
    list.SetHandle(nullptr);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(ImageList_GetImageCount(other), 2);
    ImageList_Destroy(other);
}

TEST(ImageListTest, ChangeLinksHearOfChanges) {
    struct Listener : TObject {
        std::vector<TObject*> Senders;
        void Changed(TObject* sender) { Senders.push_back(sender); }
    } listener;
    auto list = std::make_unique<TImageList>(nullptr);
    TChangeLink link;
    link.OnChange = TNotifyEvent::Bind<&Listener::Changed>(&listener);
    list->RegisterChanges(&link);
    EXPECT_EQ(link.Sender(), list.get());
    AddColors(*list, {clRed});
    ASSERT_EQ(listener.Senders.size(), 1u);
    EXPECT_EQ(listener.Senders[0], list.get());

    list->BeginUpdate();
    AddColors(*list, {clRed, clBlue});
    list->Delete(0);
    EXPECT_EQ(listener.Senders.size(), 1u);
    list->EndUpdate();  // once for all of them
    EXPECT_EQ(listener.Senders.size(), 2u);

    {
        TChangeLink shortLived;
        list->RegisterChanges(&shortLived);
    }  // unregisters itself
    AddColors(*list, {clRed});
    EXPECT_EQ(listener.Senders.size(), 3u);

    list.reset();
    EXPECT_EQ(link.Sender(), nullptr);
}

// A list that records what reaches DoDraw.
class TRecordingList : public TImageList {
public:
    explicit TRecordingList(TComponent* owner) : TImageList(owner) {}
    struct Call {
        int Index, X, Y;
        UINT Style;
        bool Enabled;
    };
    std::vector<Call> Calls;

protected:
    void DoDraw(int index, TCanvas* canvas, int x, int y, UINT style, bool enabled) override {
        Calls.push_back({index, x, y, style, enabled});
        TImageList::DoDraw(index, canvas, x, y, style, enabled);
    }
};

TEST(ImageListTest, DrawReachesDoDraw) {
    TRecordingList list(nullptr);
    AddColors(list, {clRed});
    auto target = MakeBitmap(40, 40, clWhite);
    list.Draw(target->Canvas(), 3, 4, 0);
    list.Draw(target->Canvas(), 20, 20, 0, dsTransparent, itMask, false);
    ASSERT_EQ(list.Calls.size(), 2u);
    EXPECT_EQ(list.Calls[0].Index, 0);
    EXPECT_EQ(list.Calls[0].X, 3);
    EXPECT_EQ(list.Calls[0].Y, 4);
    EXPECT_EQ(list.Calls[0].Style, UINT(ILD_NORMAL));
    EXPECT_TRUE(list.Calls[0].Enabled);
    EXPECT_EQ(list.Calls[1].Style, UINT(ILD_TRANSPARENT | ILD_MASK));
    EXPECT_FALSE(list.Calls[1].Enabled);
    // GetBitmap draws through DoDraw too.
    TBitmap bitmap;
    list.GetBitmap(0, &bitmap);
    EXPECT_EQ(list.Calls.size(), 3u);
}

TEST(ImageListTest, DisabledImagesAreDrawnInTheShadowColours) {
    TImageList list(nullptr);
    auto image = MakeBitmap(16, 16, clWhite);
    image->Canvas()->Brush()->SetColor(clRed);
    image->Canvas()->FillRect(Rect(4, 4, 12, 12));
    list.Add(image.get(), nullptr);
    auto target = MakeBitmap(20, 20, clLime);
    TCanvas* canvas = target->Canvas();
    canvas->Brush()->SetColor(clYellow);
    canvas->Font()->SetColor(clNavy);
    list.Draw(canvas, 0, 0, 0, false);
    EXPECT_EQ(PixelAt(*target, 6, 6), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelAt(*target, 12, 12), ColorToRGB(clBtnHighlight));  // one pixel down and right
    EXPECT_EQ(PixelAt(*target, 1, 1), Green);                         // white stays out
    // The canvas's own colours are back.
    EXPECT_EQ(canvas->Brush()->Color(), clYellow);
    HDC dc = canvas->Handle();
    EXPECT_EQ(GetTextColor(dc), ColorToRGB(clNavy));
}

TEST(ImageListTest, StoredBitmapRoundTrip) {
    RegisterClasses({TImageList::StaticClass()});
    TImageList list(nullptr);
    list.SetName("ImageList1");
    list.SetWidth(12);
    list.SetHeight(10);
    for (TColor c : {clRed, clBlue}) {
        auto image = MakeBitmap(12, 10, c);
        list.Add(image.get(), nullptr);
    }
    String text = TWriter().WriteRootComponent(&list);
    EXPECT_NE(text.find("Height = 10"), String::npos) << text;
    EXPECT_NE(text.find("Width = 12"), String::npos) << text;
    EXPECT_NE(text.find("Bitmap = {"), String::npos) << text;
    EXPECT_EQ(text.find("Masked"), String::npos) << text;  // the default

    TImageList read(nullptr);
    TReader(text).ReadRootComponent(&read);
    EXPECT_EQ(read.Width(), 12);
    EXPECT_EQ(read.Height(), 10);
    ASSERT_EQ(read.Count(), 2);
    auto target = MakeBitmap(12, 10, clWhite);
    read.Draw(target->Canvas(), 0, 0, 1);
    EXPECT_EQ(PixelAt(*target, 6, 5), Blue);

    // An empty list stores no bitmap; bad data is an error.
    TImageList empty(nullptr);
    empty.SetName("Empty");
    EXPECT_EQ(TWriter().WriteRootComponent(&empty).find("Bitmap"), String::npos);
    TImageList bad(nullptr);
    EXPECT_THROW(TReader("object Bad: TImageList\n  Bitmap = {00112233}\nend\n").ReadRootComponent(&bad), Exception);
}

}  // namespace
