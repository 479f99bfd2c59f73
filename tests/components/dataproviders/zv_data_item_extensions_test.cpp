// Item texts (plain, per context, read-only) and list management, with the
// provider's change notifications in order.
#include "components/dataproviders/zv_data_item_extensions.h"

#include <gtest/gtest.h>

#include "data_provider_fixture.h"

using namespace dp_test;

namespace {

// An item that refuses to be deleted.
class TKeptItem : public TZvBaseDataItem {
    QL_CLASS(TKeptItem, TZvBaseDataItem)
public:
    using TZvBaseDataItem::TZvBaseDataItem;
    bool IsDeletable() override { return false; }
};

TClass TKeptItem::StaticClass() {
    static const TClassInfo info = TClassBuilder<TKeptItem>("TKeptItem").Constructor<IZvDataItems*>().Build();
    return &info;
}

class ItemExtensions : public testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
    IZvDataItemsManagement* Management() {
        return Supports<IZvDataItemsManagement>(static_cast<IInterface*>(provider.Root()));
    }
    TTestDataProvider provider{nullptr, true};
};

TEST_F(ItemExtensions, TextChangesAreAnnouncedBeforeAndAfter) {
    TZvBaseDataItem* item = provider.AddItem(provider.Root(), "one");
    provider.Log.clear();
    auto* text = Supports<IZvDataItemText>(static_cast<IInterface*>(static_cast<IZvDataItem*>(item)));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->Editable());
    text->SetText("one");
    EXPECT_TRUE(provider.Log.empty());
    text->SetText("two");
    EXPECT_EQ(text->GetText(), "two");
    EXPECT_EQ(provider.Log, (std::vector<String>{"changing item", "changed item"}));
}

TEST_F(ItemExtensions, BlockableTextIsEditableUnlessReadOnly) {
    auto* item = NewObject<TZvBaseDataItem>(static_cast<IZvDataItems*>(provider.Root()));
    Management()->Add(item);
    auto* blockable = NewObject<TZvDataItemBlockableTextImpl>(item);
    EXPECT_TRUE(blockable->Editable());
    blockable->SetReadOnly(true);
    EXPECT_FALSE(Supports<IZvDataItemText>(static_cast<IInterface*>(static_cast<IZvDataItem*>(item)))->Editable());
}

TEST_F(ItemExtensions, ContextTextFollowsTheSelectedContextAndItsAncestors) {
    TZvDataContexts* contexts = provider.ContextList();
    auto* top = NewObject<TZvDataContext>(static_cast<IZvDataContexts*>(contexts), String("Top"));
    contexts->Add(top);
    // A context below Top, in a list whose ancestor is Top.
    auto* nested = NewObject<TZvDataContexts>(static_cast<IZvDataProvider*>(&provider),
                                              static_cast<IZvDataContext*>(top), nullptr);
    TIntfPtr<IZvDataContexts> keepNested(nested);
    auto* below = NewObject<TZvDataContext>(static_cast<IZvDataContexts*>(nested), String("Below"));
    nested->Add(below);

    auto* item = NewObject<TZvBaseDataItem>(static_cast<IZvDataItems*>(provider.Root()));
    Management()->Add(item);
    auto* text = NewObject<TZvDataItemContextTextImpl>(item);
    text->SetText("plain");
    provider.SelectContext(top);
    EXPECT_EQ(text->GetText(), "plain");
    EXPECT_TRUE(text->IsEqualToAncestor());
    text->SetText("top's");
    EXPECT_FALSE(item->ContextEqualToAncestor());
    provider.SelectContext(below);
    EXPECT_EQ(text->GetText(), "top's");  // the nearest ancestor's
    text->SetText("below's");
    EXPECT_EQ(text->GetText(), "below's");
    item->ContextRevert();
    EXPECT_EQ(text->GetText(), "top's");
    provider.ReleaseContext();
    provider.ReleaseContext();
    EXPECT_EQ(text->GetText(), "plain");

    // A context that goes takes its text with it.
    provider.SelectContext(top);
    contexts->Remove(top);
    provider.ReleaseContext();
    keepNested.Reset();
    TIntfPtr<IZvDataContext> fresh(NewObject<TZvDataContext>(static_cast<IZvDataContexts*>(contexts), String("Top")));
    contexts->Add(fresh.Get());
    provider.SelectContext(fresh.Get());
    EXPECT_EQ(text->GetText(), "plain");
    provider.ReleaseContext();
}

TEST_F(ItemExtensions, ListManagementAnnouncesEachChange) {
    provider.Log.clear();
    auto* item = NewObject<TZvBaseDataItem>(static_cast<IZvDataItems*>(provider.Root()));
    EXPECT_EQ(Management()->Add(item).Get(), static_cast<IZvDataItem*>(item));
    auto newItem = [&] { return NewObject<TZvBaseDataItem>(static_cast<IZvDataItems*>(provider.Root())); };
    Management()->Add(newItem());
    EXPECT_EQ(provider.Root()->GetCount(), 2);
    Management()->Delete(5);  // nothing there: nothing happens
    Management()->Delete(0);
    TIntfPtr<IZvDataItem> second = provider.Root()->GetItem(0);
    Management()->Remove(second);
    EXPECT_FALSE(second);
    Management()->Add(newItem());
    Management()->Clear();
    EXPECT_EQ(provider.Root()->GetCount(), 0);
    EXPECT_EQ(provider.Log,
              (std::vector<String>{"changing add", "changed add", "changing add", "changed add", "changing delete",
                                   "changed delete", "changing delete", "changed delete", "changing add", "changed add",
                                   "changing items", "changed items"}));
}

TEST_F(ItemExtensions, AnItemThatIsNotDeletableStays) {
    auto* kept = NewObject<TKeptItem>(static_cast<IZvDataItems*>(provider.Root()));
    Management()->Add(kept);
    provider.Log.clear();
    try {
        Management()->Delete(0);
        FAIL() << "deleted";
    } catch (const EZVLDataItems& e) {
        EXPECT_EQ(e.Message(), "Item cannot be deleted");
    }
    TIntfPtr<IZvDataItem> ref(kept);
    EXPECT_THROW(Management()->Remove(ref), EZVLDataItems);
    EXPECT_TRUE(ref);
    EXPECT_EQ(provider.Root()->GetCount(), 1);
    EXPECT_TRUE(provider.Log.empty());
}

}  // namespace

namespace {

// A context still referenced when its list goes leaves the provider then:
// the texts kept for it go too, so nothing keyed by its address remains.
TEST_F(ItemExtensions, AContextThatOutlivesItsListTakesItsTextsWithIt) {
    auto* contexts = NewObject<TZvDataContexts>(static_cast<IZvDataProvider*>(&provider), nullptr, nullptr);
    TIntfPtr<IZvDataContexts> list(contexts);
    TIntfPtr<IZvDataContext> kept(NewObject<TZvDataContext>(static_cast<IZvDataContexts*>(contexts), String("Kept")));
    contexts->Add(kept.Get());
    auto* item = NewObject<TZvBaseDataItem>(static_cast<IZvDataItems*>(provider.Root()));
    Management()->Add(item);
    auto* text = NewObject<TZvDataItemContextTextImpl>(item);
    text->SetText("plain");
    provider.SelectContext(kept.Get());
    text->SetText("kept's");
    provider.ReleaseContext();
    list.Reset();  // the list goes; the context stays
    EXPECT_FALSE(kept->Contexts());
    provider.SelectContext(kept.Get());
    EXPECT_TRUE(text->IsEqualToAncestor());
    EXPECT_EQ(text->GetText(), "plain");
    provider.ReleaseContext();
}

}  // namespace
