// Consumers: bound to a provider and a context, following the provider's
// changes, making the extensions the provider asks for, selecting an item,
// and their stored form with its fix-ups.
#include "components/dataproviders/zv_data_consumer.h"

#include <gtest/gtest.h>

#include "data_provider_fixture.h"

using namespace dp_test;

namespace {

class DataConsumer : public testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        provider = new TTestContextProvider(&owner);
        provider->SetName("Provider1");
        component = new TTestConsumerComponent(&owner);
        component->SetName("Consumer1");
        a = provider->AddItem(provider->Root(), "a", "A");
        b = provider->AddItem(TTestDataProvider::SubList(a), "b", "B");
        named = dynamic_cast<TZvDataContext*>(provider->ContextList()->GetContextByName("Named").Get());
        consumer = component->Consumer();
        consumer->OnChanged = [this](TZvDataConsumerChangeReason r) { changes.push_back(int(r)); };
    }
    TComponent owner{nullptr};
    TTestDataProvider* provider = nullptr;
    TTestConsumerComponent* component = nullptr;
    TZvDataConsumer* consumer = nullptr;
    TZvBaseDataItem *a = nullptr, *b = nullptr;
    TZvDataContext* named = nullptr;
    std::vector<int> changes;
};

TEST_F(DataConsumer, SettingTheProviderTakesItsDefaultContextAndMakesItsExtensions) {
    provider->Classes = {TZvDataConsumerItemSelect::StaticClass()};
    std::vector<String> hooks;
    consumer->OnBeforeCreateExtension = [&](TClass& cls, bool&) { hooks.push_back(String("before ") + cls->Name); };
    consumer->OnAfterCreateExtension = [&](TZvDataConsumerAggregatedObject* e) {
        hooks.push_back(String("after ") + e->ClassName());
    };
    consumer->SetProvider(provider);
    EXPECT_EQ(provider->ConsumerCount(), 1);
    EXPECT_EQ(consumer->ContextIntf(), provider->ContextList()->GetContextByName(""));
    EXPECT_NE(consumer->FindExtension<TZvDataConsumerItemSelect>(), nullptr);
    EXPECT_NE(consumer->FindExtension<TZvDataConsumerViewList>(), nullptr);  // the component displays a list
    EXPECT_EQ(hooks, (std::vector<String>{"before TZvDataConsumerItemSelect", "after TZvDataConsumerItemSelect",
                                          "before TZvDataConsumerViewList", "after TZvDataConsumerViewList"}));
    EXPECT_EQ(changes.back(), int(ccrProviderSelect));
    EXPECT_EQ(provider->SelectionDepth(), 0u);  // every Enter was left

    // A hook may cancel a creation.
    consumer->SetProvider(nullptr);
    EXPECT_EQ(consumer->ExtensionCount(), 0);
    EXPECT_EQ(provider->ConsumerCount(), 0);
    consumer->OnBeforeCreateExtension = [](TClass& cls, bool& create) {
        create = cls != TZvDataConsumerItemSelect::StaticClass();
    };
    consumer->SetProvider(provider);
    EXPECT_EQ(consumer->FindExtension<TZvDataConsumerItemSelect>(), nullptr);
}

TEST_F(DataConsumer, ContextByNameAndItsErrors) {
    auto messageOf = [&](const String& name) {
        try {
            consumer->SetContextName(name);
        } catch (const EZVLDataConsumer& e) {
            return e.Message();
        }
        return String("no error");
    };
    EXPECT_EQ(messageOf("Named"), "You must specify a provider before setting the context");
    TTestDataProvider plain(nullptr);
    consumer->SetProvider(&plain);
    EXPECT_EQ(messageOf("Named"), "Provider does not support contexts");
    consumer->SetProvider(provider);
    EXPECT_EQ(messageOf("Missing"), "Provider has no context named \"Missing\"");
    EXPECT_EQ(consumer->ContextName(), "");
    changes.clear();
    EXPECT_EQ(messageOf("Named"), "no error");
    EXPECT_EQ(consumer->ContextIntf().Get(), static_cast<IZvDataContext*>(named));
    EXPECT_EQ(changes.back(), int(ccrContextChange));  // after the view list rebuilt its view
    EXPECT_TRUE(consumer->IsContextStored());
    // Another spelling is a change of name, and the look-up ignores case:
    // the same context.
    changes.clear();
    EXPECT_EQ(messageOf("named"), "no error");
    EXPECT_EQ(consumer->ContextIntf().Get(), static_cast<IZvDataContext*>(named));
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(messageOf(""), "no error");
    EXPECT_FALSE(consumer->ContextIntf());
    // A context of another provider.
    TTestDataProvider other(nullptr, true);
    try {
        consumer->SetContext(other.ContextList()->GetContext(0).Get());
        FAIL() << "took a foreign context";
    } catch (const EZVLDataConsumer& e) {
        EXPECT_EQ(e.Message(), "The specified context is not part of the same provider");
    }
    consumer->SetProvider(nullptr);
}

TEST_F(DataConsumer, EnterSelectsTheConsumerAndItsContextUntilLeave) {
    consumer->SetProvider(provider);
    consumer->SetContextName("Named");
    consumer->Enter();
    EXPECT_EQ(provider->SelectedConsumer(), static_cast<IZvDataConsumer*>(consumer));
    EXPECT_EQ(provider->SelectedContext(), static_cast<IZvDataContext*>(named));
    consumer->Leave();
    EXPECT_EQ(provider->SelectionDepth(), 0u);
    // Releasing the context fails: the consumer is selected again.
    provider->SelectConsumer(consumer);
    EXPECT_THROW(consumer->Leave(), EZVLDataProvider);
    EXPECT_EQ(provider->SelectedConsumer(), static_cast<IZvDataConsumer*>(consumer));
    provider->ReleaseConsumer();
    consumer->SetProvider(nullptr);
}

TEST_F(DataConsumer, ItemSelectionFindsTheItemAndFollowsItsDeletion) {
    provider->Classes = {TZvDataConsumerItemSelect::StaticClass()};
    auto* select = NewObject<TZvDataConsumerItemSelect>(consumer);
    try {
        select->SetItemID("B");
        FAIL() << "selected without a provider";
    } catch (const EZVLDataConsumer& e) {
        EXPECT_EQ(e.Message(), "You must specify a provider before setting the item");
    }
    consumer->SetProvider(provider);
    select = consumer->FindExtension<TZvDataConsumerItemSelect>();
    ASSERT_NE(select, nullptr);
    try {
        select->SetItemID("Nothing");
        FAIL() << "selected an unknown item";
    } catch (const EZVLDataConsumer& e) {
        EXPECT_EQ(e.Message(), "Item not found in the selected context");
    }
    changes.clear();
    select->SetItemID("b");  // IDs ignore case
    EXPECT_EQ(select->ItemID(), "B");
    EXPECT_EQ(changes, std::vector<int>{int(ccrViewChange)});  // its own: the view list is not rebuilt
    // Deleting an ancestor of the selected item clears the selection.
    Supports<IZvDataItemsManagement>(static_cast<IInterface*>(provider->Root()))->Delete(0);
    EXPECT_FALSE(select->Item());
    EXPECT_EQ(select->ItemID(), "");
    consumer->SetProvider(nullptr);
}

TEST_F(DataConsumer, ProviderChangesReachTheConsumerAndItsDestructionClearsIt) {
    consumer->SetProvider(provider);
    std::vector<String> heard;
    consumer->OnProviderChanging = [&](TZvDataProviderChangeReason r, IInterface*) {
        heard.push_back(String("changing ") + ReasonName(r));
    };
    consumer->OnProviderChanged = [&](TZvDataProviderChangeReason r, IInterface*) {
        heard.push_back(String("changed ") + ReasonName(r));
    };
    changes.clear();
    provider->AddItem(provider->Root(), "new");
    EXPECT_EQ(heard, (std::vector<String>{"changing item", "changed item", "changing add", "changed add"}));
    // The view list showed the new item, then the data changed.
    ASSERT_GE(changes.size(), 2u);
    EXPECT_EQ(changes[changes.size() - 2], int(ccrViewChange));
    EXPECT_EQ(changes.back(), int(ccrProviderChange));
    heard.clear();
    provider->Changed(pcrFullRefresh, nullptr);
    EXPECT_EQ(heard, std::vector<String>{"changed refresh"});
    delete provider;
    provider = nullptr;
    EXPECT_FALSE(consumer->ProviderIntf());
    EXPECT_EQ(consumer->ExtensionCount(), 0);
}

TEST_F(DataConsumer, ServerLinksHearOfANewProvider) {
    struct TLink : IZvDataConsumerServerNotify {
        bool QueryInterface(const TGUID&, void** obj) override { return *obj = nullptr, false; }
        int _AddRef() override { return -1; }
        int _Release() override { return -1; }
        void NotifyProviderChanged(IZvDataConsumer* c) override { Told.push_back(c); }
        std::vector<IZvDataConsumer*> Told;
    } link;
    consumer->LinkAdded(&link);
    consumer->LinkAdded(&link);
    consumer->SetProvider(provider);
    EXPECT_EQ(link.Told.size(), 1u);
    consumer->LinkRemoved(&link);
    consumer->SetProvider(nullptr);
    EXPECT_EQ(link.Told.size(), 1u);
}

TEST_F(DataConsumer, StoredFormWaitsForTheProviderAndRoundTrips) {
    provider->Classes = {TZvDataConsumerItemSelect::StaticClass()};
    consumer->SetProvider(provider);
    consumer->SetContextName("Named");
    consumer->FindExtension<TZvDataConsumerItemSelect>()->SetItemID("B");
    String text = TWriter().WriteRootComponent(&owner);
    EXPECT_NE(text.find("Consumer.Provider = Provider1"), String::npos) << text;
    EXPECT_NE(text.find("Consumer.Context = 'Named'"), String::npos) << text;
    EXPECT_NE(text.find("ClassName = 'TZvDataConsumerItemSelect'\r\n        Item = 'B'"), String::npos) << text;
    consumer->SetProvider(nullptr);

    // The consumer comes first in the layout: its context and item wait
    // for the provider.
    size_t consumerAt = text.find("  object Consumer1"), providerAt = text.find("  object Provider1");
    size_t consumerEnd = text.find("\r\n  end\r\n", consumerAt) + 9;
    String reordered = text.substr(0, providerAt) + text.substr(consumerAt, consumerEnd - consumerAt) +
                       text.substr(providerAt, consumerAt - providerAt) + text.substr(consumerEnd);
    for (const String& layout : {text, reordered}) {
        TComponent again(nullptr);
        TReader(layout).ReadRootComponent(&again);
        auto* read = dynamic_cast<TTestConsumerComponent*>(again.FindComponent("Consumer1"));
        ASSERT_NE(read, nullptr);
        TZvDataConsumer* c = read->Consumer();
        ASSERT_TRUE(c->ProviderIntf());
        EXPECT_EQ(c->ContextName(), "Named");
        auto* select = c->FindExtension<TZvDataConsumerItemSelect>();
        ASSERT_NE(select, nullptr);
        EXPECT_EQ(select->ItemID(), "B");
        ASSERT_TRUE(select->Item());
        EXPECT_EQ(TextOf(select->Item().Get()), "b");
        c->SetProvider(nullptr);
    }
}

}  // namespace

// However an item goes, a selection on it or below it is cleared as it goes
// and nothing touches it afterwards (the sanitizers watch); a selection
// elsewhere stays. Tree: A (B (C)), E; the item that goes is B.
TEST_F(DataConsumer, TheSelectionNeverOutlivesItsItem) {
    enum How { Delete, Clear, ListFreed, ProviderFreed, ParentDeleted };
    const char* howNames[] = {"delete", "clear", "list freed", "provider freed", "parent deleted"};
    struct Where {
        const char* ID;
        bool Stays;  // unless the provider goes
    } wheres[] = {{"B", false}, {"C", false}, {"E", true}, {"", true}};
    for (How how : {Delete, Clear, ListFreed, ProviderFreed, ParentDeleted})
        for (const Where& where : wheres) {
            SCOPED_TRACE(String(howNames[how]) + ", selection on '" + where.ID + "'");
            TComponent root(nullptr);
            auto* p = new TTestDataProvider(&root);
            auto* comp = new TTestConsumerComponent(&root);
            p->Classes = {TZvDataConsumerItemSelect::StaticClass()};
            TZvBaseDataItem* itemA = p->AddItem(p->Root(), "a", "A");
            TZvBaseDataItem* itemB = p->AddItem(TTestDataProvider::SubList(itemA), "b", "B");
            p->AddItem(TTestDataProvider::SubList(itemB), "c", "C");
            p->AddItem(p->Root(), "e", "E");
            TZvDataConsumer* c = comp->Consumer();
            c->SetProvider(p);
            auto* select = c->FindExtension<TZvDataConsumerItemSelect>();
            ASSERT_NE(select, nullptr);
            select->SetItemID(where.ID);
            auto management = [](TZvBaseDataItems* list) {
                return Supports<IZvDataItemsManagement>(static_cast<IInterface*>(list));
            };
            switch (how) {
            case Delete: management(itemA->SubItems())->Delete(0); break;
            case Clear: management(itemA->SubItems())->Clear(); break;
            case ListFreed: itemA->RemoveExtension(itemA->FindExtension<TZvBaseDataItemSubItems>()); break;
            case ProviderFreed: delete p; break;
            case ParentDeleted: management(p->Root())->Delete(0); break;
            }
            select = c->FindExtension<TZvDataConsumerItemSelect>();
            if (how == ProviderFreed) {
                EXPECT_EQ(select, nullptr);  // it went with the provider
                continue;
            }
            ASSERT_NE(select, nullptr);
            String expected = where.Stays ? where.ID : "";
            EXPECT_EQ(select->ItemID(), expected);
            EXPECT_EQ(bool(select->Item()), !expected.empty());
            if (select->Item()) EXPECT_EQ(TextOf(select->Item().Get()), "e");
            c->SetProvider(nullptr);
        }
}
