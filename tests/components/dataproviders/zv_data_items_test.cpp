// Items and lists: IDs, counting in lists that are not dynamic, look-ups by
// ID, ID path and index path (none above the root), and the stored form
// written and read back identically.
#include "components/dataproviders/zv_data_items.h"

#include <gtest/gtest.h>

#include <set>

#include "data_provider_fixture.h"

using namespace dp_test;

namespace {

class DataItems : public testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        provider = new TTestDataProvider(&owner);
        provider->SetName("Provider1");
        // A (B (D), C), E
        a = provider->AddItem(provider->Root(), "a", "A");
        b = provider->AddItem(TTestDataProvider::SubList(a), "b", "B");
        c = provider->AddItem(TTestDataProvider::SubList(a), "c", "C");
        d = provider->AddItem(TTestDataProvider::SubList(b), "d", "D");
        e = provider->AddItem(provider->Root(), "e", "E");
    }
    static String IDOf(const TIntfPtr<IZvDataItem>& item) { return item ? item->GetID() : String("none"); }

    TComponent owner{nullptr};
    TTestDataProvider* provider = nullptr;
    TZvBaseDataItem *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr, *e = nullptr;
};

TEST_F(DataItems, NewItemsGetDifferentThirtyTwoDigitIDs) {
    std::set<String> ids;
    for (int i = 0; i < 50; ++i) {
        auto* item = NewObject<TZvBaseDataItem>(static_cast<IZvDataItems*>(provider->Root()));
        String id = item->ID();
        item->Free();
        EXPECT_EQ(id.size(), 32u);
        EXPECT_EQ(id.find_first_not_of("0123456789ABCDEF"), String::npos) << id;
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), 50u);
    TGUID g = StringToGUID("{01234567-89AB-CDEF-0123-456789ABCDEF}");
    EXPECT_EQ(DataItemIDFromGUID(g), "67452301AB89EFCD0123456789ABCDEF");
}

TEST_F(DataItems, ItemsOfAListThatIsNotDynamicAreNotCounted) {
    EXPECT_FALSE(provider->Root()->IsDynamic());
    IZvDataItem* item = a;
    EXPECT_EQ(item->_AddRef(), -1);
    EXPECT_EQ(item->_Release(), -1);
    {
        TIntfPtr<IZvDataItem> held(item);
        TIntfPtr<IZvDataItemText> text = IntfCast<IZvDataItemText>(held);
        EXPECT_EQ(a->RefCount(), 0);
    }
    EXPECT_EQ(a->GetIndex(), 0);
    EXPECT_EQ(e->GetIndex(), 1);
    EXPECT_TRUE(a->IsParentOf(d, false));
    EXPECT_FALSE(a->IsParentOf(d, true));
    EXPECT_TRUE(b->IsParentOf(d, true));
    EXPECT_FALSE(e->IsParentOf(d, false));
    // The item answers for its sub-items.
    EXPECT_EQ(Supports<IZvDataItems>(static_cast<IInterface*>(item)), static_cast<IZvDataItems*>(a->SubItems()));
    EXPECT_EQ(a->SubItems()->GetParent().Get(), static_cast<IZvDataItem*>(a));
}

TEST_F(DataItems, LookUpByIDAndIDPath) {
    TZvBaseDataItems* root = provider->Root();
    TZvBaseDataItems* underB = b->SubItems();
    struct Case {
        TZvBaseDataItems* From;
        const char* Path;
        const char* Found;
    } cases[] = {
        {root, "a", "A"},       {root, "E", "E"},        {root, "B", "none"},
        {root, "A\\B", "B"},    {root, "A/B\\D", "D"},   {underB, "\\A\\B", "B"},
        {underB, "/E", "E"},    {underB, "..\\C", "C"},  {underB, "../../E", "E"},
        {underB, "..", "none"}, {root, "..\\A", "none"}, {underB, "../../../A", "none"},
        {root, "A\\", "none"},  {root, "E\\X", "none"},  {root, "", "none"},
        {root, "\\", "none"},   {underB, "D", "D"},      {underB, "\\A\\..\\E", "E"},
    };
    for (const Case& c : cases) EXPECT_EQ(IDOf(c.From->GetItemByID(c.Path)), c.Found) << c.Path;
    // Recursive search: the lists below, depth first.
    EXPECT_EQ(IDOf(root->FindByID("D", false)), "none");
    EXPECT_EQ(IDOf(root->FindByID("d", true)), "D");
    EXPECT_EQ(IDOf(root->FindByID("nothing", true)), "none");
}

TEST_F(DataItems, LookUpByIndexPath) {
    TZvBaseDataItems* root = provider->Root();
    struct Case {
        std::vector<int> Path;
        const char* Found;
    } cases[] = {
        {{0}, "A"},     {{1}, "E"},       {{0, 1}, "C"},          {{0, 0, 0}, "D"}, {{2}, "none"},
        {{-1}, "none"}, {{1, 0}, "none"}, {{0, 0, 0, 0}, "none"}, {{}, "none"},
    };
    for (const Case& c : cases) EXPECT_EQ(IDOf(root->GetItemByIndexPath(c.Path)), c.Found) << c.Path.size();
}

TEST_F(DataItems, NamePathNamesTheProviderAndTheID) {
    EXPECT_EQ(a->GetNamePath(), "Provider1: Item[A]");
    auto* list = NewObject<TZvDataItemsList>(static_cast<IZvDataProvider*>(nullptr));
    TIntfPtr<IZvDataItems> keep(list);
    auto* loose = NewObject<TZvBaseDataItem>(static_cast<IZvDataItems*>(list));
    loose->SetID("X");
    list->InternalAdd(loose);
    EXPECT_EQ(loose->GetNamePath(), "Unknown: Item[X]");
}

TEST_F(DataItems, StoredFormIsWrittenAndReadBackIdentically) {
    EXPECT_THROW(NewObject<TZvDataItemBlockableTextImpl>(e), EZVLException);  // a text is there already
    e->RemoveExtension(e->FindExtension<TZvDataItemTextImpl>());
    NewObject<TZvDataItemBlockableTextImpl>(e)->SetReadOnly(true);
    String text = TWriter().WriteRootComponent(&owner);
    EXPECT_NE(text.find("Provider1: TTestDataProvider"), String::npos) << text;
    EXPECT_NE(text.find("Root.Items = <"), String::npos) << text;
    EXPECT_NE(text.find("ClassName = 'TZvBaseDataItem'\r\n"
                        "        ID = 'A'\r\n"
                        "        Extensions = <"),
              String::npos)
        << text;
    EXPECT_NE(text.find("SubItems = <"), String::npos) << text;
    EXPECT_NE(text.find("ClassName = 'TZvDataItemsList'"), String::npos) << text;
    EXPECT_NE(text.find("ReadOnly = True"), String::npos) << text;

    TComponent again(nullptr);
    TReader(text).ReadRootComponent(&again);
    EXPECT_EQ(TWriter().WriteRootComponent(&again), text);
    auto* read = dynamic_cast<TTestDataProvider*>(again.FindComponent("Provider1"));
    ASSERT_NE(read, nullptr);
    TIntfPtr<IZvDataItem> readD = read->Root()->FindByID("D", true);
    ASSERT_TRUE(readD);
    EXPECT_EQ(TextOf(readD.Get()), "d");
    EXPECT_EQ(readD->GetItems()->GetParent()->GetID(), "B");
    TIntfPtr<IZvDataItem> readE = read->Root()->GetItemByID("E");
    auto* textE = Supports<IZvDataItemText>(static_cast<IInterface*>(readE.Get()));
    ASSERT_NE(textE, nullptr);
    EXPECT_FALSE(textE->Editable());
}

TEST_F(DataItems, SubItemsReadTwiceReadIntoTheSameList) {
    TComponent root(nullptr);
    TReader("object Root: TComponent\r\n"
            "  object Provider1: TTestDataProvider\r\n"
            "    Root.Items = <\r\n"
            "      item\r\n"
            "        ClassName = 'TZvBaseDataItem'\r\n"
            "        ID = 'P'\r\n"
            "        SubItems = <\r\n"
            "          item\r\n"
            "            ClassName = 'TZvDataItemsList'\r\n"
            "            Items = <\r\n"
            "              item\r\n"
            "                ClassName = 'TZvBaseDataItem'\r\n"
            "                ID = 'Q'\r\n"
            "              end>\r\n"
            "          end>\r\n"
            "        SubItems = <\r\n"
            "          item\r\n"
            "            ClassName = 'TZvDataItemsList'\r\n"
            "          end>\r\n"
            "      end>\r\n"
            "  end\r\n"
            "end\r\n")
        .ReadRootComponent(&root);
    auto* read = dynamic_cast<TTestDataProvider*>(root.FindComponent("Provider1"));
    TZvBaseDataItem* p = read->Root()->ItemObject(0);
    ASSERT_NE(p->SubItems(), nullptr);
    EXPECT_EQ(p->SubItems()->GetCount(), 1);
}

TEST_F(DataItems, NewExtensionsHoldTheirDeclaredDefaults) {
    auto* item = NewObject<TZvBaseDataItem>(static_cast<IZvDataItems*>(provider->Root()));
    TIntfPtr<IZvDataItem> keep(item);
    provider->Root()->InternalAdd(item);
    TZvDataConsumer consumerOwner(nullptr);
    std::vector<TPersistent*> made = {
        NewObject<TZvDataItemBlockableTextImpl>(item), NewObject<TZvDataItemContextTextImpl>(item),
        NewObject<TZvDataConsumerViewList>(&consumerOwner), NewObject<TZvDataConsumerItemSelect>(&consumerOwner)};
    for (TPersistent* p : made) EXPECT_EQ(FindDefaultDrifts(p), std::vector<String>{}) << p->ClassName();
    consumerOwner.ClearExtensions();
}

}  // namespace

namespace {

// The ways an item comes into a list: the count and the provider's
// notifications. One already there is refused before any notification.
TEST_F(DataItems, EachWayAnItemComesInCountsAndNotifiesAsItShould) {
    enum Way { Add, InternalAdd, Read, AlreadyPresent };
    const char* names[] = {"add", "internal add", "read from a layout", "already present"};
    for (Way way : {Add, InternalAdd, Read, AlreadyPresent}) {
        SCOPED_TRACE(names[way]);
        TTestDataProvider p(nullptr);
        TZvBaseDataItem* first = p.AddItem(p.Root(), "first", "F");
        auto* management = Supports<IZvDataItemsManagement>(static_cast<IInterface*>(p.Root()));
        p.Log.clear();
        auto* fresh = NewObject<TZvBaseDataItem>(static_cast<IZvDataItems*>(p.Root()));
        std::vector<String> expectedLog;
        int expectedCount = 2;
        switch (way) {
        case Add:
            EXPECT_EQ(management->Add(fresh).Get(), static_cast<IZvDataItem*>(fresh));
            expectedLog = {"changing add", "changed add"};
            break;
        case InternalAdd: p.Root()->InternalAdd(fresh); break;
        case Read:
            fresh->Free();
            TReader("object P: TTestDataProvider\r\n"
                    "  Root.Items = <\r\n"
                    "    item\r\n"
                    "      ClassName = 'TZvBaseDataItem'\r\n"
                    "      ID = 'R'\r\n"
                    "    end>\r\n"
                    "end\r\n")
                .ReadRootComponent(&p);
            EXPECT_EQ(p.Root()->ItemObject(1)->ID(), "R");
            break;
        case AlreadyPresent:
            fresh->Free();
            try {
                management->Add(first);
                ADD_FAILURE() << "added twice";
            } catch (const EZVLDataItems& e) {
                EXPECT_EQ(e.Message(), "Item is already in the list");
            }
            EXPECT_THROW(p.Root()->InternalAdd(first), EZVLDataItems);
            expectedCount = 1;
            break;
        }
        EXPECT_EQ(p.Root()->GetCount(), expectedCount);
        EXPECT_EQ(p.Log, expectedLog);
    }  // the list frees each item once (the sanitizers watch)
}

// An empty ID is written, so that it reads back empty rather than new.
TEST_F(DataItems, AnEmptyIDSurvivesWritingAndReadingBack) {
    TTestDataProvider p(nullptr);
    p.SetName("P");
    p.AddItem(p.Root(), "x")->SetID("");
    String text = TWriter().WriteRootComponent(&p);
    EXPECT_NE(text.find("ID = ''"), String::npos) << text;
    TTestDataProvider again(nullptr);
    TReader(text).ReadRootComponent(&again);
    ASSERT_EQ(again.Root()->GetCount(), 1);
    EXPECT_EQ(again.Root()->ItemObject(0)->ID(), "");
    EXPECT_EQ(TWriter().WriteRootComponent(&again), text);
    // The layout the fuzzer found.
    const String found = "object TComponent object TTestDataProvider Root.Items=<item "
                         "ClassName='TZvBaseDataItem'ID=''end>end\nend";
    TComponent r1(nullptr), r2(nullptr);
    TReader(found).ReadRootComponent(&r1);
    String written = TWriter().WriteRootComponent(&r1);
    TReader(written).ReadRootComponent(&r2);
    EXPECT_EQ(TWriter().WriteRootComponent(&r2), written);
}

}  // namespace
