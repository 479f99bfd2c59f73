// The view list: the flattened tree as items expand and collapse, its
// indices and group information, items that do not show, and the
// provider's additions and deletions followed.
#include "components/dataproviders/zv_data_view_list.h"

#include <gtest/gtest.h>

#include "data_provider_fixture.h"

using namespace dp_test;

namespace {

// Rates items for its consumer: the IDs it lists do not show.
class TRatingExtension : public TZvDataConsumerAggregatedObject, public IZvDataConsumerItemRating {
    QL_CLASS(TRatingExtension, TZvDataConsumerAggregatedObject)
public:
    using TZvDataConsumerAggregatedObject::TZvDataConsumerAggregatedObject;
    bool KeepOnProviderChange() override { return true; }
    int ItemVisibility(IZvDataItem* item) override {
        return std::find(Hidden.begin(), Hidden.end(), item->GetID()) != Hidden.end() ? 0 : 3;
    }
    std::vector<String> Hidden;
};

TClass TRatingExtension::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TRatingExtension>("TRatingExtension").Implements<IZvDataConsumerItemRating>().Build();
    return &info;
}

class ViewList : public testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        provider = new TTestDataProvider(&owner);
        component = new TTestConsumerComponent(&owner);
        // A (B (D), C), E
        a = provider->AddItem(provider->Root(), "a", "A");
        b = provider->AddItem(TTestDataProvider::SubList(a), "b", "B");
        c = provider->AddItem(TTestDataProvider::SubList(a), "c", "C");
        d = provider->AddItem(TTestDataProvider::SubList(b), "d", "D");
        e = provider->AddItem(provider->Root(), "e", "E");
        consumer()->SetProvider(provider);
        view = consumer()->FindExtension<TZvDataConsumerViewList>();
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override { consumer()->SetProvider(nullptr); }
    TZvDataConsumer* consumer() { return component->Consumer(); }
    // "A0+ B1 D2" : ID, level, + expanded, * children not shown.
    String Shown() {
        String out;
        for (int i = 0; i < view->Count(); ++i) {
            const auto& entry = view->Entry(i);
            if (!out.empty()) out += ' ';
            out += entry.ID + std::to_string(entry.Flags & vlLevelMask);
            if (entry.Flags & vlExpanded) out += '+';
            if ((entry.Flags & vlHasChildren) && !(entry.Flags & vlExpanded)) out += '*';
        }
        return out;
    }
    IZvDataItemsManagement* Management(TZvBaseDataItems* list) {
        return Supports<IZvDataItemsManagement>(static_cast<IInterface*>(list));
    }

    TComponent owner{nullptr};
    TTestDataProvider* provider = nullptr;
    TTestConsumerComponent* component = nullptr;
    TZvDataConsumerViewList* view = nullptr;
    TZvBaseDataItem *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr, *e = nullptr;
};

TEST_F(ViewList, RootItemsShowCollapsedAndToggleOpensOneLevel) {
    EXPECT_EQ(Shown(), "A0* E0");
    EXPECT_TRUE(view->Entry(0).Flags & vlHasSubList);
    EXPECT_FALSE(view->Entry(1).Flags & vlHasSubList);
    view->ToggleItem(0);
    EXPECT_EQ(Shown(), "A0+ B1* C1 E0");
    view->ToggleItem(1);
    EXPECT_EQ(Shown(), "A0+ B1+ D2 C1 E0");
    view->ToggleItem(3);  // no children: nothing
    EXPECT_EQ(Shown(), "A0+ B1+ D2 C1 E0");
    view->ToggleItem(0);
    EXPECT_EQ(Shown(), "A0* E0");
    EXPECT_EQ(TextOf(view->Item(1).Get()), "e");
}

TEST_F(ViewList, AutoExpandLevelAndIndices) {
    view->SetAutoExpandLevel(2);
    view->RebuildView();
    EXPECT_EQ(Shown(), "A0+ B1+ D2 C1 E0");
    struct Case {
        const char* What;
        int Got, Expected;
    } cases[] = {
        {"parent of D", view->ItemParentIndex(2), 1},   {"parent of E", view->ItemParentIndex(4), -1},
        {"sibling of B", view->ItemSiblingIndex(1), 3}, {"sibling of C", view->ItemSiblingIndex(3), -1},
        {"sibling of A", view->ItemSiblingIndex(0), 4}, {"child index of C", view->ChildIndex(3), 1},
        {"child index of E", view->ChildIndex(4), 1},   {"second child of A", view->SubItemIndex(0, 1), 3},
        {"second root", view->SubItemIndex(-1, 1), 4},  {"third child of A", view->SubItemIndex(0, 2), -1},
        {"index of d", view->IndexOfID("d"), 2},        {"index of C", view->IndexOfItem(c), 3},
        {"index of none", view->IndexOfID("Z"), -1},
    };
    for (const Case& k : cases) EXPECT_EQ(k.Got, k.Expected) << k.What;
    EXPECT_EQ(view->ItemParent(2)->GetID(), "B");
    EXPECT_EQ(view->ItemSibling(1)->GetID(), "C");
    EXPECT_EQ(view->SubItem(1, 0)->GetID(), "D");
    EXPECT_EQ(view->ItemGroupInfo(2), (std::vector<bool>{true, true, false}));
    EXPECT_EQ(view->ItemGroupInfo(3), (std::vector<bool>{true, false}));
    EXPECT_EQ(view->ItemGroupInfo(4), (std::vector<bool>{false}));
}

TEST_F(ViewList, DeletingTheOnlyChildLeavesTheParentWithoutChildren) {
    view->SetAutoExpandLevel(2);
    view->RebuildView();
    Management(b->SubItems())->Delete(0);
    EXPECT_EQ(Shown(), "A0+ B1 C1 E0");
    EXPECT_FALSE(view->Entry(1).Flags & (vlExpanded | vlHasChildren));
    EXPECT_TRUE(view->Entry(1).Flags & vlHasSubList);
    // Deleting an entry takes its descendants with it.
    Management(provider->Root())->Delete(0);
    EXPECT_EQ(Shown(), "E0");
}

TEST_F(ViewList, AddedItemsShowWhereTheirParentShowsThem) {
    provider->AddItem(provider->Root(), "f", "F");
    EXPECT_EQ(Shown(), "A0* E0 F0");
    provider->AddItem(a->SubItems(), "g", "G");  // A collapsed: nothing new shows
    EXPECT_EQ(Shown(), "A0* E0 F0");
    view->ToggleItem(0);
    EXPECT_EQ(Shown(), "A0+ B1* C1 G1 E0 F0");
    provider->AddItem(a->SubItems(), "h", "H");
    EXPECT_EQ(Shown(), "A0+ B1* C1 G1 H1 E0 F0");
    provider->AddItem(TTestDataProvider::SubList(e), "i", "I");
    EXPECT_EQ(Shown(), "A0+ B1* C1 G1 H1 E0* F0");
    view->SetExpandOnNewItem(true);
    provider->AddItem(b->SubItems(), "j", "J");
    EXPECT_EQ(Shown(), "A0+ B1+ D2 J2 C1 G1 H1 E0* F0");
    // A list cleared as a whole: the view is made again.
    Supports<IZvDataItemsManagement>(static_cast<IInterface*>(a->SubItems()))->Clear();
    EXPECT_EQ(Shown(), "A0 E0* F0");
}

TEST_F(ViewList, ExpandingTheTreeToAnItemAndAViewOutOfSync) {
    view->ExpandTreeTo(d);
    EXPECT_EQ(Shown(), "A0+ B1+ D2 C1 E0");
    view->ExpandTreeTo(d);  // shown already: nothing
    EXPECT_EQ(Shown(), "A0+ B1+ D2 C1 E0");
    view->DeleteItem(3);  // C goes from the view only
    try {
        view->ExpandTreeTo(c);
        FAIL() << "no error";
    } catch (const EZVLDataConsumer& e) {
        EXPECT_EQ(e.Message(), "ViewList out of sync");
    }
}

TEST_F(ViewList, ItemsTheConsumerRatesHiddenLeaveNoGap) {
    auto* rating = NewObject<TRatingExtension>(consumer());
    rating->Hidden = {"B", "E"};
    view->SetAutoExpandLevel(3);
    view->RebuildView();
    EXPECT_EQ(Shown(), "A0+ C1");
    rating->Hidden.clear();
    view->RebuildView();
    EXPECT_EQ(Shown(), "A0+ B1+ D2 C1 E0");
}

TEST_F(ViewList, LevelIndentIsAnotherSettingChange) {
    std::vector<int> changes;
    consumer()->OnChanged = [&](TZvDataConsumerChangeReason r) { changes.push_back(int(r)); };
    EXPECT_EQ(view->LevelIndent(), 16);
    view->SetLevelIndent(16);
    view->SetLevelIndent(20);
    EXPECT_EQ(changes, std::vector<int>{int(ccrOther)});
    consumer()->OnChanged = nullptr;
}

TEST_F(ViewList, ViewFollowsAProviderReplacement) {
    TTestDataProvider other(nullptr);
    other.AddItem(other.Root(), "x", "X");
    consumer()->SetProvider(&other);
    EXPECT_EQ(consumer()->FindExtension<TZvDataConsumerViewList>(), view);  // it stays
    EXPECT_EQ(Shown(), "X0");
    consumer()->SetProvider(provider);
    EXPECT_EQ(Shown(), "A0* E0");
}

}  // namespace

namespace {

TEST_F(ViewList, ANewFirstChildOfACollapsedParentShowsWithExpandOnNewItemOrFlagsIt) {
    TZvBaseDataItems* underE = TTestDataProvider::SubList(e);
    for (bool expand : {false, true}) {
        SCOPED_TRACE(expand ? "expand on new item" : "flag only");
        view->SetExpandOnNewItem(expand);
        Management(underE)->Clear();
        view->RebuildView();
        EXPECT_EQ(Shown(), "A0* E0");
        provider->AddItem(underE, "f", "F");
        EXPECT_EQ(Shown(), expand ? "A0* E0+ F1" : "A0* E0*");
    }
}

TEST_F(ViewList, SelectingAShownSubItemKeepsTheExpansionsOnlyAFullRefreshRebuilds) {
    provider->Classes = {TZvDataConsumerItemSelect::StaticClass()};
    consumer()->SetProvider(nullptr);
    consumer()->SetProvider(provider);
    view = consumer()->FindExtension<TZvDataConsumerViewList>();
    view->ToggleItem(0);
    view->ToggleItem(1);
    ASSERT_EQ(Shown(), "A0+ B1+ D2 C1 E0");
    consumer()->FindExtension<TZvDataConsumerItemSelect>()->SetItemID("D");
    EXPECT_EQ(Shown(), "A0+ B1+ D2 C1 E0");
    provider->Changed(pcrFullRefresh, nullptr);
    EXPECT_EQ(Shown(), "A0* E0");
}

}  // namespace
