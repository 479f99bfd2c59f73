// The PNG image list: the main form's list read from its stored layout and
// drawn enabled and disabled, writing it back, the list operations (also
// through the base image list), sizes, options and copying.
#include "png_test_support_win.h"

#include <cmath>
#include <fstream>
#include <iterator>

#include "classlib/core/filer.h"

using namespace pngwintest;

namespace {

const LongWord Red = Rgb(255, 0, 0), Green = Rgb(0, 255, 0), Blue = Rgb(0, 0, 255), White = Rgb(255, 255, 255),
               Yellow = Rgb(255, 255, 0);

String ReadText(const char* fileName) {
    std::ifstream f(fileName, std::ios::binary);
    String text((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    String out;
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

String WithoutCarriageReturns(const String& text) {
    String out;
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

// The main form's list as the program makes it: the two arrows over the
// window colour.
std::unique_ptr<TPngImageList> ArrowList() {
    auto list = std::make_unique<TPngImageList>(nullptr);
    list->SetName("PngImageList1");
    for (const char* name : {"_down", "_up"}) {
        TPNGObject png;
        png.LoadFromFile(String(name) + ".png");
        int index = list->AddPng(&png, clWindow);
        list->PngImages()->Items(index)->SetName(name);
    }
    return list;
}

// A solid 16 x 16 picture.
std::unique_ptr<TBitmap> Solid(TColor color) { return Surface(16, 16, color, pf24bit); }

// The colour each item shows in its middle, drawn through the list on white.
std::vector<LongWord> Colors(TCustomImageList& list, int count) {
    std::vector<LongWord> out;
    for (int i = 0; i < count; ++i) {
        auto s = Surface(16, 16, clWhite);
        list.Draw(s->Canvas(), 0, 0, i);
        out.push_back(Probe(*s, 8, 8));
    }
    return out;
}

// The native image index drawn by the common controls on white.
LongWord NativePixel(TCustomImageList& list, int index, int x, int y) {
    auto s = Surface(list.Width(), list.Height(), clWhite);
    ImageList_Draw(list.Handle(), index, s->Canvas()->Handle(), 0, 0, ILD_NORMAL);
    return Probe(*s, x, y);
}

}  // namespace

TEST(PngImageListLayout, MainFormListReadsAndWritesItsFragment) {
    RegisterClasses({TPngImageList::StaticClass()});
    String fragment = ReadText("png_image_list1.layout");
    ASSERT_FALSE(fragment.empty());

    // The fragment is exactly what the writer makes of the arrows.
    auto made = ArrowList();
    String written = TWriter().WriteRootComponent(made.get());
    EXPECT_EQ(WithoutCarriageReturns(written), fragment) << written;

    TPngImageList list(nullptr);
    TReader(fragment).ReadRootComponent(&list);
    EXPECT_EQ(list.Name(), "PngImageList1");
    ASSERT_EQ(list.PngImages()->Count(), 2);
    EXPECT_EQ(list.Count(), 2);
    const char* names[] = {"_down", "_up"};
    for (int i = 0; i < 2; ++i) {
        TPngImageCollectionItem* item = list.PngImages()->Items(i);
        EXPECT_EQ(item->Name(), names[i]);
        EXPECT_EQ(item->GetDisplayName(), names[i]);
        EXPECT_EQ(item->Background(), clWindow);
        EXPECT_EQ(item->PngObject()->Width(), 16);
        EXPECT_EQ(item->PngObject()->Header().ColorType, COLOR_RGBALPHA);
    }
    // The down arrow is wide at the top, the up arrow at the bottom.
    EXPECT_EQ(list.PngImages()->Items(0)->PngObject()->AlphaRow(5)[5], 255);
    EXPECT_EQ(list.PngImages()->Items(0)->PngObject()->AlphaRow(10)[5], 0);
    EXPECT_EQ(list.PngImages()->Items(1)->PngObject()->AlphaRow(10)[5], 255);
    EXPECT_EQ(list.PngImages()->Items(1)->PngObject()->AlphaRow(5)[5], 0);

    // Written back: the same text, and "Bitmap" without data.
    String again = TWriter().WriteRootComponent(&list);
    EXPECT_EQ(WithoutCarriageReturns(again), fragment);
    EXPECT_NE(again.find("Bitmap = {}"), String::npos);
}

// Counts the change notifications of an image list.
struct TChangeCounter : TObject {
    int Count = 0;
    void Changed(TObject*) { ++Count; }
};

TEST(PngImageListLayout, ReadingMakesTheNativeListOnce) {
    TPngImageList list(nullptr);
    TChangeCounter changes;
    list.OnChange = TNotifyEvent::Bind<&TChangeCounter::Changed>(&changes);
    TReader(ReadText("png_image_list1.layout")).ReadRootComponent(&list);
    // The end of loading, and the native list made then: not a native list
    // made for the items and another at the end.
    EXPECT_EQ(changes.Count, 2);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(NativePixel(list, 0, 7, 7), Rgb(64, 64, 64));
}

TEST(PngImageListLayout, ArrowsDrawEnabledAndDisabled) {
    TPngImageList list(nullptr);
    TReader(ReadText("png_image_list1.layout")).ReadRootComponent(&list);
    ASSERT_EQ(list.PngImages()->Count(), 2);
    for (int index = 0; index < 2; ++index) {
        TPNGObject* png = list.PngImages()->Items(index)->PngObject();
        auto enabled = Surface(20, 20, clWhite);
        auto disabled = Surface(20, 20, clWhite);
        list.Draw(enabled->Canvas(), 2, 3, index);
        list.Draw(disabled->Canvas(), 2, 3, index, false);
        int opaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                int a = png->AlphaRow(y)[x];
                LongWord c = png->PixelAt(x, y);
                // Disabled: half alpha (pngBlendOnDisabled, amount 127).
                int half = int(std::nearbyint(a / 256.0 * 128));
                ASSERT_EQ(Probe(*enabled, x + 2, y + 3), BlendRgb(c, a, White)) << x << "," << y;
                ASSERT_EQ(Probe(*disabled, x + 2, y + 3), BlendRgb(c, half, White)) << x << "," << y;
                opaque += a == 255;
            }
        EXPECT_GT(opaque, 10);
        EXPECT_EQ(Probe(*enabled, 1, 1), White);
        EXPECT_EQ(Probe(*enabled, 7 + 2, 7 + 3), Rgb(64, 64, 64));  // inside the arrow
        EXPECT_EQ(Probe(*disabled, 7 + 2, 7 + 3), BlendRgb(Rgb(64, 64, 64), 128, White));
    }
}

TEST(PngImageListLayout, SizeAfterTheImagesInALayoutKeepsThem) {
    String fragment = ReadText("png_image_list1.layout");
    // The size written after the images, as a hand-made layout may have it.
    size_t end = fragment.rfind("end");
    ASSERT_NE(end, String::npos);
    String text = fragment.substr(0, end) + "  Width = 24\n  Height = 24\nend\n";
    TPngImageList list(nullptr);
    TReader(text).ReadRootComponent(&list);
    EXPECT_EQ(list.Width(), 24);
    EXPECT_EQ(list.PngImages()->Count(), 2);
    EXPECT_EQ(list.Count(), 2);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list.Handle(), &cx, &cy);
    EXPECT_EQ(cx, 24);
    EXPECT_EQ(cy, 24);

    // Written by the writer, the size comes first.
    String written = TWriter().WriteRootComponent(&list);
    EXPECT_LT(written.find("Width = 24"), written.find("PngImages"));
    TPngImageList read(nullptr);
    TReader(written).ReadRootComponent(&read);
    EXPECT_EQ(read.Width(), 24);
    EXPECT_EQ(read.PngImages()->Count(), 2);
    EXPECT_EQ(WithoutCarriageReturns(TWriter().WriteRootComponent(&read)), WithoutCarriageReturns(written));
}

TEST(PngImageList, OperationsThroughTheBaseList) {
    TPngImageList pngList(nullptr);
    TCustomImageList& list = pngList;

    // Add with a native mask: white is transparent, as the common controls
    // have it (so the mask reaches the picture inverted).
    auto red = Solid(clRed);
    auto mask = Solid(clBlack);
    mask->Canvas()->Brush()->SetColor(clWhite);
    mask->Canvas()->FillRect(Rect(0, 0, 4, 16));
    EXPECT_EQ(list.Add(red.get(), mask.get()), 0);
    EXPECT_EQ(pngList.PngImages()->Items(0)->PngObject()->AlphaRow(0)[0], 0);
    EXPECT_EQ(pngList.PngImages()->Items(0)->PngObject()->AlphaRow(0)[8], 255);
    EXPECT_EQ(pngList.PngImages()->Items(0)->Background(), clNone);

    auto green = Solid(clLime);
    EXPECT_EQ(list.AddMasked(green.get(), clFuchsia), 1);
    TIcon icon;
    {
        auto color = Solid(clBlue);
        auto iconMask = Solid(clBlack);
        ICONINFO info{TRUE, 0, 0, iconMask->Handle(), color->Handle()};
        icon.SetHandle(CreateIconIndirect(&info));
    }
    EXPECT_EQ(list.AddIcon(&icon), 2);
    EXPECT_EQ(list.Add(nullptr, nullptr), -1);
    EXPECT_EQ(pngList.PngImages()->Count(), 3);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(Colors(list, 3), (std::vector<LongWord>{Red, Green, Blue}));
    auto s = Surface(16, 16, clWhite);
    list.Draw(s->Canvas(), 0, 0, 0);
    EXPECT_EQ(Probe(*s, 1, 1), White);  // masked out

    auto yellow = Solid(clYellow);
    list.Insert(1, yellow.get(), nullptr);
    EXPECT_EQ(Colors(list, 4), (std::vector<LongWord>{Red, Yellow, Green, Blue}));
    list.Move(0, 3);
    EXPECT_EQ(Colors(list, 4), (std::vector<LongWord>{Yellow, Green, Blue, Red}));
    list.ReplaceMasked(1, red.get(), clNone);
    EXPECT_EQ(Colors(list, 4), (std::vector<LongWord>{Yellow, Red, Blue, Red}));
    EXPECT_EQ(list.Count(), 4);

    // The native list follows the items.
    EXPECT_EQ(NativePixel(list, 0, 8, 8), Yellow);
    EXPECT_EQ(NativePixel(list, 1, 8, 8), Red);
    EXPECT_EQ(NativePixel(list, 3, 8, 8), Red);
    EXPECT_EQ(NativePixel(list, 3, 1, 1), White);  // the mask of the first image

    list.Delete(5);  // names no item: nothing
    list.Delete(-1);
    EXPECT_EQ(pngList.PngImages()->Count(), 4);
    list.Delete(0);
    EXPECT_EQ(Colors(list, 3), (std::vector<LongWord>{Red, Blue, Red}));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(NativePixel(list, 1, 8, 8), Blue);

    // From another image list, one image and all of them.
    TImageList other(nullptr);
    other.AddMasked(green.get(), clNone);
    other.AddMasked(yellow.get(), clNone);
    EXPECT_EQ(list.AddImage(&other, 1), 3);
    EXPECT_EQ(list.AddImage(&other, 9), -1);
    list.AddImages(&other);
    EXPECT_EQ(Colors(list, 6), (std::vector<LongWord>{Red, Blue, Red, Yellow, Green, Yellow}));
    EXPECT_EQ(list.Count(), 6);

    list.Clear();
    EXPECT_EQ(pngList.PngImages()->Count(), 0);
    EXPECT_EQ(list.Count(), 0);
}

TEST(PngImageList, ChangesReachTheLinks) {
    TPngImageList list(nullptr);
    struct TCounter : TObject {
        int Count = 0;
        void Changed(TObject*) { ++Count; }
    } counter;
    TChangeLink link;
    link.OnChange = TNotifyEvent::Bind<&TCounter::Changed>(&counter);
    list.RegisterChanges(&link);
    auto red = Solid(clRed);
    list.AddMasked(red.get(), clNone);
    EXPECT_GE(counter.Count, 1);
    int before = counter.Count;
    list.Delete(0);
    EXPECT_GT(counter.Count, before);
}

TEST(PngImageList, EmptyItemsHaveNoNativeImage) {
    auto list = ArrowList();
    TPngImageCollectionItem* empty = list->PngImages()->Insert(1);
    EXPECT_EQ(empty->Name(), "PngObject2");  // named by its index when made
    EXPECT_EQ(list->PngImages()->Count(), 3);
    EXPECT_EQ(list->Count(), 2);
    // The up arrow is native image 1, item 2: drawing through the list
    // takes the index as the native list does (the images its users count),
    // so index 1 draws it and index 2 names no image.
    auto s = Surface(16, 16, clWhite);
    list->Draw(s->Canvas(), 0, 0, 1);
    EXPECT_EQ(Probe(*s, 5, 10), Rgb(64, 64, 64));
    EXPECT_EQ(Rgb(64, 64, 64), NativePixel(*list, 1, 5, 10));
    EXPECT_EQ(Colors(*list, 3),
              (std::vector<LongWord>{Colors(*ArrowList(), 2)[0], Colors(*ArrowList(), 2)[1], Rgb(255, 255, 255)}));
    list->Delete(1);
    EXPECT_EQ(list->Count(), 2);
    EXPECT_EQ(NativePixel(*list, 1, 5, 10), Rgb(64, 64, 64));
}

// Lists whose items with an empty picture stand at the start, in the middle,
// at the end or all over: an image of the list is taken by its index as
// drawing through the list takes it (the images the list has, items with an
// empty picture skipped), whether one picture is taken, one is added from
// it or all of them are added.
TEST(PngImageList, ImagesTakenFromAListWithEmptyItemsByTheirIndex) {
    struct TRow {
        const char* Name;
        const char* Items;  // R, G, B, Y: a solid picture; -: an empty one
    };
    const TRow rows[] = {
        {"empty first", "-RGB"},
        {"empty in the middle", "RG-B"},
        {"empty last", "RGB-"},
        {"empty all over", "-R--GY-"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TPngImageList source(nullptr);
        std::vector<LongWord> colors;
        for (const char* c = row.Items; *c; ++c) {
            if (*c == '-') {
                source.PngImages()->Add();
                continue;
            }
            const TColor color = *c == 'R' ? clRed : *c == 'G' ? clLime : *c == 'B' ? clBlue : clYellow;
            source.AddMasked(Solid(color).get(), clNone);
            colors.push_back(*c == 'R' ? Red : *c == 'G' ? Green : *c == 'B' ? Blue : Yellow);
        }
        const int count = int(colors.size());
        ASSERT_EQ(source.Count(), count);
        ASSERT_EQ(Colors(source, count), colors);  // what drawing each index shows

        for (int i = 0; i < count; ++i) {
            SCOPED_TRACE(i);
            TPNGObject png;
            PngFromImageListItem(&png, &source, i);
            ASSERT_FALSE(png.Empty());
            EXPECT_EQ(png.PixelAt(8, 8), colors[i]);
            TPngImageList one(nullptr);
            TCustomImageList& base = one;
            EXPECT_EQ(base.AddImage(&source, i), 0);
            EXPECT_EQ(Colors(one, 1), std::vector<LongWord>{colors[i]});
        }
        TPNGObject none;
        PngFromImageListItem(&none, &source, count);  // no such image
        EXPECT_TRUE(none.Empty());

        TPngImageList all(nullptr);
        TCustomImageList& base = all;
        base.AddImages(&source);
        EXPECT_EQ(all.PngImages()->Count(), count);
        EXPECT_EQ(all.Count(), count);
        EXPECT_EQ(Colors(all, count), colors);
        for (int i = 0; i < count; ++i) EXPECT_EQ(NativePixel(all, i, 8, 8), colors[i]) << i;
    }
}

// A picture loaded into a new item outside an update: the list is made
// anew with each change of the item, from whatever the item holds then.
TEST(PngImageList, APictureLoadedIntoANewItemOutsideAnUpdate) {
    TPngImageList list(nullptr);
    auto* item = dynamic_cast<TPngImageCollectionItem*>(list.PngImages()->Add());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(list.Count(), 0);
    TMemoryStream bytes;
    bytes.LoadFromFile("_up.png");
    item->PngObject()->LoadFromStream(bytes);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(NativePixel(list, 0, 5, 10), Rgb(64, 64, 64));
    TPNGObject down;
    down.LoadFromFile("_down.png");
    item->PngObject()->Assign(&down);
    EXPECT_EQ(list.Count(), 1);
}

// A list freed while it holds an item without a picture.
TEST(PngImageList, FreedWithAnEmptyItem) {
    auto list = std::make_unique<TPngImageList>(nullptr);
    list->PngImages()->Add();
    list.reset();
}

// A load that fails leaves the item empty and the list as it was.
TEST(PngImageList, AFailedLoadIntoAnItemLeavesItEmpty) {
    TPngImageList list(nullptr);
    auto* item = dynamic_cast<TPngImageCollectionItem*>(list.PngImages()->Add());
    ASSERT_NE(item, nullptr);
    EXPECT_ANY_THROW(item->PngObject()->LoadFromFile("no such picture.png"));
    EXPECT_TRUE(item->PngObject()->Empty());
    EXPECT_EQ(list.Count(), 0);
}

TEST(PngImageList, NewSizeEmptiesTheList) {
    auto list = ArrowList();
    list->SetWidth(16);
    EXPECT_EQ(list->PngImages()->Count(), 2);
    list->SetWidth(24);
    EXPECT_EQ(list->Width(), 24);
    EXPECT_EQ(list->PngImages()->Count(), 0);
    EXPECT_EQ(list->Count(), 0);
    auto other = ArrowList();
    other->SetHeight(8);
    EXPECT_EQ(other->PngImages()->Count(), 0);
}

TEST(PngImageList, DisabledNativeImages) {
    auto list = ArrowList();
    // An opaque pixel of the down arrow, in the native list.
    LongWord enabled = NativePixel(*list, 0, 7, 7);
    EXPECT_EQ(enabled, Rgb(64, 64, 64));

    list->SetEnabledImages(false);  // default options: dimmed
    EXPECT_EQ(list->Count(), 2);
    LongWord dimmed = NativePixel(*list, 0, 7, 7);
    EXPECT_NE(dimmed, enabled);

    list->SetPngOptions({});  // no effects: undimmed
    EXPECT_EQ(NativePixel(*list, 0, 7, 7), enabled);

    list->SetPngOptions({pngGrayscaleOnDisabled});
    EXPECT_EQ(NativePixel(*list, 0, 7, 7), enabled);  // already grey

    // Drawing through the list follows the options too.
    list->SetPngOptions({});
    auto s = Surface(16, 16, clWhite);
    list->Draw(s->Canvas(), 0, 0, 0, false);
    EXPECT_EQ(Probe(*s, 7, 7), enabled);
}

TEST(PngImageList, AssignCopiesTheItems) {
    auto source = ArrowList();
    source->SetEnabledImages(false);
    TPngImageList copy(nullptr);
    copy.Assign(source.get());
    ASSERT_EQ(copy.PngImages()->Count(), 2);
    EXPECT_EQ(copy.PngImages()->Items(1)->Name(), "_up");
    EXPECT_EQ(copy.PngImages()->Items(1)->Background(), clWindow);
    EXPECT_FALSE(copy.EnabledImages());
    EXPECT_EQ(copy.Count(), 2);
    // The copy's pictures are its own.
    source->PngImages()->Items(0)->PngObject()->Assign(nullptr);
    EXPECT_FALSE(copy.PngImages()->Items(0)->PngObject()->Empty());

    // A plain image list takes the native images.
    TImageList plain(nullptr);
    plain.Assign(&copy);
    EXPECT_EQ(plain.Count(), 2);

    // A plain list's images become PNG items.
    TImageList colours(nullptr);
    auto red = Solid(clRed);
    colours.AddMasked(red.get(), clNone);
    TPngImageList fromPlain(nullptr);
    fromPlain.Assign(&colours);
    EXPECT_EQ(fromPlain.PngImages()->Count(), 1);
    EXPECT_EQ(fromPlain.Count(), 1);
    EXPECT_EQ(Colors(fromPlain, 1), (std::vector<LongWord>{Red}));

    // Collection items copy picture, background and name.
    TPngImageList items(nullptr);
    items.SetPngImages(source->PngImages());
    EXPECT_EQ(items.PngImages()->Count(), 2);
    EXPECT_EQ(items.Count(), 1);  // the first picture was emptied above
}
