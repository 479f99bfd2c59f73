// Drawing and measuring items on a canvas under Wine, the image settings
// of lists and items, and the framework's classes registered by the unit.
#include "components/dataproviders/zv_data_items_renderer_win.h"

#include <gtest/gtest.h>

#include "classlib/ui/bitmaps.h"
#include "classlib/ui/forms.h"
#include "components/dataproviders/zv_data_items_images_win.h"
#include "components/dataproviders/zv_data_providers_unit_win.h"
#include "data_provider_fixture.h"

using namespace dp_test;

namespace {

class Environment : public ::testing::Environment {
public:
    void SetUp() override {
        ClasslibUiInitialize();
        ZvDataProvidersInitialize();
    }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new Environment);

class Renderer : public testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        bitmap.SetPixelFormat(pf32bit);
        bitmap.SetSize(200, 40);
        canvas = bitmap.Canvas();
        canvas->Brush()->SetColor(clWhite);
        canvas->FillRect(Rect(0, 0, 200, 40));
        canvas->Font()->SetColor(clBlack);
        provider.AddItem(provider.Root(), "Wy");
        auto* bare = NewObject<TZvBaseDataItem>(static_cast<IZvDataItems*>(provider.Root()));
        Supports<IZvDataItemsManagement>(static_cast<IInterface*>(provider.Root()))->Add(bare);
        renderer = NewObject<TZvCustomDataItemsTextRenderer>(provider.Root());
    }
    TBitmap bitmap;
    TCanvas* canvas = nullptr;
    TTestDataProvider provider{nullptr};
    TZvCustomDataItemsTextRenderer* renderer = nullptr;
};

TEST_F(Renderer, MeasuresTextsAndTheAverageItem) {
    EXPECT_EQ(renderer->MeasureItemByIndex(canvas, -1), canvas->TextExtent("WyWyWyWyWyWyWyWyWyWy"));
    EXPECT_EQ(renderer->MeasureItemByIndex(canvas, 0), canvas->TextExtent("Wy"));
    EXPECT_EQ(renderer->MeasureItemByIndex(canvas, 1),
              canvas->TextExtent("(item does not support the IZvDataItemText interface)"));
    for (int index : {2, -2}) {
        try {
            renderer->MeasureItemByIndex(canvas, index);
            FAIL() << index;
        } catch (const EZVLDataItems& e) {
            EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(index) + ")");
        }
    }
    auto* found = Supports<IZvDataItemsRenderer>(static_cast<IInterface*>(provider.Root()));
    EXPECT_EQ(found, static_cast<IZvDataItemsRenderer*>(renderer));
}

TEST_F(Renderer, DrawsTheTextAtTheRectanglesTopLeft) {
    TRect rect = Rect(10, 5, 190, 35);
    renderer->DrawItemByIndex(canvas, rect, 0);
    TSize size = canvas->TextExtent("Wy");
    int dark = 0, outside = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) {
            const Byte* p = static_cast<const Byte*>(bitmap.ScanLine(y)) + 4 * x;
            bool isDark = p[0] < 128 && p[1] < 128 && p[2] < 128;
            bool inside = x >= 10 && x < 10 + size.cx && y >= 5 && y < 5 + size.cy;
            if (isDark) (inside ? dark : outside) += 1;
        }
    EXPECT_GT(dark, 0);
    EXPECT_EQ(outside, 0);
}

TEST_F(Renderer, ImageSettingsAreAnnounced) {
    auto* images = NewObject<TZvCustomDataItemsImages>(provider.Root());
    TCustomImageList list(nullptr);
    provider.Log.clear();
    images->SetImages(&list);
    images->SetImages(&list);
    EXPECT_EQ(provider.Log, (std::vector<String>{"changing items", "changed items"}));
    TZvBaseDataItem* item = provider.Root()->ItemObject(0);
    auto* image = NewObject<TZvDataItemImageImpl>(item);
    EXPECT_EQ(FindDefaultDrifts(image), std::vector<String>{});
    EXPECT_EQ(FindDefaultDrifts(images), std::vector<String>{});
    provider.Log.clear();
    image->SetImageIndex(3);
    image->SetAlignment(taRightJustify);
    EXPECT_EQ(provider.Log.size(), 4u);
    auto* found = Supports<IZvDataItemImage>(static_cast<IInterface*>(static_cast<IZvDataItem*>(item)));
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->GetImageIndex(), 3);
    EXPECT_EQ(found->GetAlignment(), taRightJustify);
    images->SetImages(nullptr);
}

TEST(DataItemsImages, AnImageListThatIsFreedIsDroppedAndTheDropIsAnnounced) {
    // The form owns the provider and the image lists, as the layout makes them.
    TComponent form(nullptr);
    auto* provider = new TTestDataProvider(&form);
    auto* images = NewObject<TZvCustomDataItemsImages>(provider->Root());
    auto* normal = new TCustomImageList(&form);
    auto* disabled = new TCustomImageList(&form);
    auto* other = new TCustomImageList(&form);
    images->SetImages(normal);
    images->SetHotImages(normal);
    images->SetDisabledImages(normal);
    images->SetDisabledImages(disabled);  // normal is still named twice
    provider->Log.clear();
    delete normal;
    EXPECT_EQ(images->GetImages(), nullptr);
    EXPECT_EQ(images->GetHotImages(), nullptr);
    EXPECT_EQ(images->GetDisabledImages(), disabled);
    EXPECT_EQ(provider->Log,
              (std::vector<String>{"changing items", "changed items", "changing items", "changed items"}));
    // A list replaced by another is no longer watched.
    images->SetDisabledImages(other);
    provider->Log.clear();
    delete disabled;
    EXPECT_EQ(images->GetDisabledImages(), other);
    EXPECT_EQ(provider->Log, std::vector<String>{});
    // The images go with their provider; the list they named outlives them.
    delete provider;
    delete other;
    EXPECT_EQ(form.ComponentCount(), 0);
}

TEST(DataProvidersUnit, RegistersTheFrameworksClassesAndTheBevel) {
    for (const char* name :
         {"TZvDataItemsList", "TZvCustomDataItemsImages", "TZvCustomDataItemsTextRenderer",
          "TZvBaseDataItemsListManagement", "TZvBaseDataItem", "TZvDataItemTextImpl", "TZvDataItemImageImpl",
          "TZvDataItemContextTextImpl", "TZvDataItemBlockableTextImpl", "TZvDataConsumer", "TZvDataConsumerItemSelect",
          "TZvDataContexts", "TZvDataContext", "TZvManagedDataContext", "TZvFixedDataContext", "TZvBevel"})
        EXPECT_NE(GetClass(name), nullptr) << name;
    // New items take their IDs from the system's GUIDs.
    TTestDataProvider provider(nullptr);
    auto* one = NewObject<TZvBaseDataItem>(static_cast<IZvDataItems*>(provider.Root()));
    auto* two = NewObject<TZvBaseDataItem>(static_cast<IZvDataItems*>(provider.Root()));
    EXPECT_EQ(one->ID().size(), 32u);
    EXPECT_NE(one->ID(), two->ID());
    one->Free();
    two->Free();
}

}  // namespace
