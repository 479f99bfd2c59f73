// Ownership, names, notifications and collections.
#include <gtest/gtest.h>

#include "test_classes.h"

namespace {

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override { TestLog().clear(); }
};

TTestWidget* MakeWidget(TComponent* owner, const char* name) {
    auto* w = new TTestWidget(owner);
    w->SetName(name);
    return w;
}

TEST_F(ComponentTest, OwnerKeepsCreationOrderAndFreesLastFirst) {
    auto* root = new TTestRoot(nullptr);
    MakeWidget(root, "A");
    MakeWidget(root, "B");
    MakeWidget(root, "C");
    ASSERT_EQ(root->ComponentCount(), 3);
    EXPECT_EQ(root->Components(0)->Name(), "A");
    EXPECT_EQ(root->Components(2)->Name(), "C");
    EXPECT_EQ(root->Components(1)->ComponentIndex(), 1);
    delete root;
    EXPECT_EQ(TestLog(), (std::vector<std::string>{"destroy C", "destroy B", "destroy A"}));
}

TEST_F(ComponentTest, ComponentFreedElsewhereLeavesItsOwner) {
    TTestRoot root(nullptr);
    MakeWidget(&root, "A");
    auto* b = MakeWidget(&root, "B");
    MakeWidget(&root, "C");
    delete b;
    ASSERT_EQ(root.ComponentCount(), 2);
    EXPECT_EQ(root.Components(1)->Name(), "C");
    EXPECT_EQ(root.FindComponent("b"), nullptr);
}

TEST_F(ComponentTest, ComponentsIndexOutOfRangeRaisesListError) {
    TTestRoot root(nullptr);
    try {
        root.Components(0);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (0)");
    }
}

TEST_F(ComponentTest, FreeNotificationClearsReferenceAcrossOwners) {
    TTestRoot one(nullptr), two(nullptr);
    auto* holder = MakeWidget(&one, "Holder");
    auto* target = MakeWidget(&two, "Target");
    holder->SetBuddy(target);
    delete target;
    EXPECT_EQ(holder->FBuddy, nullptr);
    EXPECT_NE(std::find(TestLog().begin(), TestLog().end(), "Holder lost buddy"), TestLog().end());
}

TEST_F(ComponentTest, SiblingsHearOfEachOtherThroughTheOwner) {
    TTestRoot root(nullptr);
    auto* holder = MakeWidget(&root, "Holder");
    auto* target = MakeWidget(&root, "Target");
    holder->SetBuddy(target);
    delete target;
    EXPECT_EQ(holder->FBuddy, nullptr);
}

TEST_F(ComponentTest, HolderFreedFirstDropsTheLink) {
    TTestRoot one(nullptr), two(nullptr);
    auto* holder = MakeWidget(&one, "Holder");
    auto* target = MakeWidget(&two, "Target");
    holder->SetBuddy(target);
    delete holder;
    delete target;  // must not tell the freed holder
    EXPECT_EQ(TestLog().back(), "destroy Target");
}

// An object that is not a component, with two references to components.
struct TReferenceHolder {
    TComponent* First = nullptr;
    TComponent* Second = nullptr;
    std::vector<String> Freed;
    TFreeNotifier Notifier{[this](TComponent* c) {
        Freed.push_back(c->Name());
        if (c == First) First = nullptr;
        if (c == Second) Second = nullptr;
    }};
};

TEST_F(ComponentTest, AFreeNotifierClearsTheReferencesOfAnObjectThatIsNoComponent) {
    TTestRoot root(nullptr);
    auto* a = MakeWidget(&root, "A");
    auto* b = MakeWidget(&root, "B");
    auto* c = MakeWidget(&root, "C");
    {
        TReferenceHolder holder;
        EXPECT_TRUE(holder.Notifier.ReplaceReference(holder.First, static_cast<TComponent*>(a)));
        EXPECT_FALSE(holder.Notifier.ReplaceReference(holder.First, static_cast<TComponent*>(a)));
        holder.Notifier.ReplaceReference(holder.Second, static_cast<TComponent*>(b));
        delete a;
        EXPECT_EQ(holder.First, nullptr);
        EXPECT_EQ(holder.Second, b);
        // A reference pointed elsewhere no longer hears of the one it named.
        holder.Notifier.ReplaceReference(holder.Second, static_cast<TComponent*>(c));
        delete b;
        EXPECT_EQ(holder.Freed, std::vector<String>{"A"});
        EXPECT_EQ(holder.Second, c);
        EXPECT_EQ(holder.Notifier.Owner(), nullptr);
        EXPECT_EQ(root.ComponentCount(), 1);
    }
    delete c;  // the holder went first: nothing is told
    EXPECT_EQ(TestLog().back(), "destroy C");
}

TEST_F(ComponentTest, AFreeNotifierWatchesAComponentWhileAnyReferenceNamesIt) {
    TTestRoot root(nullptr);
    auto* a = MakeWidget(&root, "A");
    auto* b = MakeWidget(&root, "B");
    TReferenceHolder holder;
    holder.Notifier.ReplaceReference(holder.First, static_cast<TComponent*>(a));
    holder.Notifier.ReplaceReference(holder.Second, static_cast<TComponent*>(a));
    holder.Notifier.ReplaceReference(holder.First, static_cast<TComponent*>(b));
    delete a;  // Second still named it
    EXPECT_EQ(holder.Second, nullptr);
    EXPECT_EQ(holder.First, b);
    holder.Notifier.ReplaceReference(holder.First, static_cast<TComponent*>(nullptr));
    delete b;  // no reference names it any more
    EXPECT_EQ(holder.Freed, std::vector<String>{"A"});
}

// Two published references set the class library's way.
class TTwoReferences : public TComponent {
    QL_CLASS(TTwoReferences, TComponent)
public:
    using TComponent::TComponent;
    TComponent* FFirst = nullptr;
    TComponent* FSecond = nullptr;
    void SetFirst(TComponent* value) { ReplaceReference(FFirst, value); }
    void SetSecond(TComponent* value) { ReplaceReference(FSecond, value); }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation != opRemove) return;
        if (component == FFirst) FFirst = nullptr;
        if (component == FSecond) FSecond = nullptr;
    }
};

TClass TTwoReferences::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTwoReferences>("TTwoReferences")
                                       .Prop("First", &TTwoReferences::FFirst, &TTwoReferences::SetFirst)
                                       .Prop("Second", &TTwoReferences::FSecond, &TTwoReferences::SetSecond)
                                       .Build();
    return &info;
}

TEST_F(ComponentTest, AReferencePointedElsewhereKeepsTheLinkWhileAnotherNamesTheSameComponent) {
    TTestRoot one(nullptr), two(nullptr);
    auto* holder = new TTwoReferences(&one);
    auto* target = MakeWidget(&two, "Target");
    auto* other = MakeWidget(&two, "Other");
    holder->SetFirst(target);
    holder->SetSecond(target);
    holder->SetFirst(other);
    delete target;  // Second named it still
    EXPECT_EQ(holder->FSecond, nullptr);
    EXPECT_EQ(holder->FFirst, other);
    // With no reference left the link goes: the holder is not told.
    holder->SetFirst(nullptr);
    delete other;
    delete holder;
    EXPECT_EQ(TestLog().back(), "destroy Other");
}

TEST_F(ComponentTest, NamesMustBeIdentifiersAndUniquePerOwner) {
    TTestRoot root(nullptr);
    auto* a = MakeWidget(&root, "Alpha");
    auto* b = new TTestWidget(&root);
    EXPECT_THROW(b->SetName("1abc"), EComponentError);
    EXPECT_THROW(b->SetName("a b"), EComponentError);
    try {
        b->SetName("ALPHA");
        FAIL();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named ALPHA already exists");
    }
    a->SetName("alpha");  // renaming itself in another case is fine
    b->SetName("Beta");
    EXPECT_EQ(root.FindComponent("BETA"), b);
    TTestRoot other(nullptr);
    auto* c = MakeWidget(&other, "Alpha");  // other owners may reuse a name
    EXPECT_EQ(c->Name(), "Alpha");
}

TEST_F(ComponentTest, DestroyingStateReachesOwnedComponents) {
    auto* root = new TTestRoot(nullptr);
    auto* w = MakeWidget(root, "W");
    root->Destroying();
    EXPECT_TRUE(w->IsDestroying());
    delete root;
}

TEST_F(ComponentTest, AssignWithoutConversionRaisesConvertError) {
    TTestFont font;
    TTestItems items(nullptr);
    TTestItem* item = static_cast<TTestItem*>(items.Add());
    try {
        item->Assign(&font);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TTestFont to a TTestItem");
    }
    try {
        font.Assign(nullptr);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a nil to a TTestFont");
    }
}

TEST_F(ComponentTest, ClassReferencesAndInheritance) {
    TTestRoot root(nullptr);
    EXPECT_STREQ(root.ClassName(), "TTestRoot");
    EXPECT_TRUE(root.InheritsFrom(TComponent::StaticClass()));
    EXPECT_TRUE(root.InheritsFrom(TObject::StaticClass()));
    EXPECT_FALSE(root.InheritsFrom(TTestWidget::StaticClass()));
    EXPECT_TRUE(root.Is<TPersistent>());
}

// ---- Collections ----

TEST(Collection, UpdateIsCalledOnceAfterNestedUpdates) {
    TTestItems items(nullptr);
    items.Add();
    EXPECT_EQ(items.Updates, 1);
    items.BeginUpdate();
    items.BeginUpdate();
    items.Add();
    items.Add();
    items.EndUpdate();
    EXPECT_EQ(items.Updates, 1);
    items.EndUpdate();
    EXPECT_EQ(items.Updates, 2);
    EXPECT_EQ(items.Count(), 3);
}

// A collection that looks at its items whenever it hears of them.
class TWatchingItems : public TCollection {
public:
    TWatchingItems() : TCollection(TTestItem::StaticClass()) {}
    // Every item seen by Notify and Update was a whole TTestItem by then.
    bool AllWhole = true;
    int Added = 0;

protected:
    void Notify(TCollectionItem* item, TCollectionNotification action) override {
        if (action == cnAdded) ++Added;
        AllWhole &= dynamic_cast<TTestItem*>(item) != nullptr;
    }
    void Update(TCollectionItem*) override {
        for (int i = 0; i < Count(); ++i) AllWhole &= dynamic_cast<TTestItem*>(Items(i)) != nullptr;
    }
};

TEST(Collection, HearsOfANewItemOnlyOnceItIsWhole) {
    TWatchingItems items;
    items.Add();
    items.Insert(0);
    EXPECT_TRUE(items.AllWhole);
    EXPECT_EQ(items.Added, 2);
    EXPECT_EQ(items.Count(), 2);
}

TEST(Collection, DeleteClearIndexAndIds) {
    TTestItems items(nullptr);
    for (int i = 0; i < 4; ++i) static_cast<TTestItem*>(items.Add())->FValue = i;
    items.Delete(1);
    ASSERT_EQ(items.Count(), 3);
    EXPECT_EQ(static_cast<TTestItem*>(items.Items(1))->FValue, 2);
    EXPECT_EQ(items.Items(2)->Index(), 2);
    EXPECT_EQ(items.FindItemID(3), items.Items(2));
    items.Items(2)->SetIndex(0);
    EXPECT_EQ(static_cast<TTestItem*>(items.Items(0))->FValue, 3);
    EXPECT_THROW(items.Items(3), EListError);
    EXPECT_THROW(items.Delete(-1), EListError);
    items.Clear();
    EXPECT_EQ(items.Count(), 0);
}

TEST(Collection, ItemFreedDirectlyLeavesItsCollection) {
    TTestItems items(nullptr);
    items.Add();
    TCollectionItem* second = items.Add();
    delete second;
    EXPECT_EQ(items.Count(), 1);
}

TEST(Collection, AssignCopiesItems) {
    TTestItems a(nullptr), b(nullptr);
    static_cast<TTestItem*>(a.Add())->FCaption = "x";
    static_cast<TTestItem*>(a.Add())->FCaption = "y";
    b.Add();
    b.Assign(&a);
    ASSERT_EQ(b.Count(), 2);
    EXPECT_EQ(static_cast<TTestItem*>(b.Items(1))->FCaption, "y");
}

TEST(Collection, NamePathNamesOwnerPropertyAndIndex) {
    TTestRoot root(nullptr);
    auto* w = new TTestWidget(&root);
    w->SetName("W");
    w->Items()->Add();
    w->Items()->Add();
    EXPECT_EQ(w->Items()->GetNamePath(), "W.Items");
    EXPECT_EQ(w->Items()->Items(1)->GetNamePath(), "W.Items[1]");
}

// ---- Events ----

TEST(Events, BoundReferencesCallAndCompare) {
    TTestRoot root(nullptr), other(nullptr);
    root.SetName("Root");
    TNotifyEvent a = TNotifyEvent::Bind<&TTestRoot::ButtonClick>(&root);
    TNotifyEvent b = TNotifyEvent::Bind<&TTestRoot::ButtonClick>(&root);
    TNotifyEvent c = TNotifyEvent::Bind<&TTestRoot::FormShow>(&root);
    TNotifyEvent d = TNotifyEvent::Bind<&TTestRoot::ButtonClick>(&other);
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a == c);
    EXPECT_FALSE(a == d);
    TNotifyEvent empty;
    EXPECT_FALSE(empty);
    empty(&root);  // calling an empty reference does nothing
    a(&root);
    EXPECT_EQ(root.Clicks, (std::vector<std::string>{"ButtonClick Root"}));
}

TEST(Events, PublishedMethodsAreFoundByNameWithTheirCode) {
    const TMethodInfo* m = FindPublishedMethod(TTestRoot::StaticClass(), "buttonclick");
    ASSERT_NE(m, nullptr);
    TTestRoot root(nullptr);
    TNotifyEvent bound = TNotifyEvent::Bind<&TTestRoot::ButtonClick>(&root);
    EXPECT_EQ(m->Code, bound.Method().Code);
    EXPECT_EQ(FindPublishedMethodByCode(TTestRoot::StaticClass(), m->Code), m);
    EXPECT_EQ(FindPublishedMethod(TTestRoot::StaticClass(), "Missing"), nullptr);
}

}  // namespace
