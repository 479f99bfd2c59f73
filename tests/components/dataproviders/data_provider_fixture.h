// A provider component and a consumer component for the framework's tests
// (the program itself has neither): the provider keeps a root item list
// that owns its items and, when asked, a context list with a fixed default
// context; it logs its change notifications.
#pragma once

#include <algorithm>

#include "classlib/core/filer.h"
#include "components/dataproviders/zv_data_consumer.h"
#include "components/dataproviders/zv_data_contexts.h"
#include "components/dataproviders/zv_data_item_extensions.h"
#include "components/dataproviders/zv_data_providers_unit.h"
#include "components/dataproviders/zv_data_view_list.h"

namespace dp_test {

inline const char* ReasonName(TZvDataProviderChangeReason r) {
    switch (r) {
    case pcrAdd: return "add";
    case pcrDelete: return "delete";
    case pcrUpdateItem: return "item";
    case pcrUpdateItems: return "items";
    case pcrDestroy: return "destroy";
    case pcrContextAdd: return "context add";
    case pcrContextDelete: return "context delete";
    case pcrFullRefresh: return "refresh";
    }
    return "?";
}

class TTestDataProvider : public TComponent, public IZvDataProvider {
    QL_CLASS(TTestDataProvider, TComponent)
public:
    explicit TTestDataProvider(TComponent* owner, bool withContexts = false) : TComponent(owner) {
        FRoot = NewObject<TZvDataItemsList>(static_cast<IZvDataProvider*>(this));
        FItems = TIntfPtr<IZvDataItems>(FRoot);
        NewObject<TZvBaseDataItemsListManagement>(FRoot);
        if (withContexts) {
            FContextsObject = NewObject<TZvDataContexts>(static_cast<IZvDataProvider*>(this), nullptr,
                                                         TZvFixedDataContext::StaticClass());
            FContexts = TIntfPtr<IZvDataContexts>(FContextsObject);
        }
    }
    ~TTestDataProvider() override {
        for (IZvDataConsumer* c : std::vector(FConsumers)) c->ProviderChanging(pcrDestroy, nullptr);
        FContexts.Reset();
        FItems.Reset();
    }

    TIntfPtr<IZvDataItems> GetItems() override { return FItems; }
    TIntfPtr<IZvDataContexts> GetContexts() override { return FContexts; }
    void RegisterChangeNotify(IZvDataConsumer* c) override { FConsumers.push_back(c); }
    void UnregisterChangeNotify(IZvDataConsumer* c) override { std::erase(FConsumers, c); }
    void Changing(TZvDataProviderChangeReason reason, IInterface* source) override {
        Log.push_back(String("changing ") + ReasonName(reason));
        for (IZvDataConsumer* c : std::vector(FConsumers)) c->ProviderChanging(reason, source);
    }
    void Changed(TZvDataProviderChangeReason reason, IInterface* source) override {
        Log.push_back(String("changed ") + ReasonName(reason));
        for (IZvDataConsumer* c : std::vector(FConsumers)) c->ProviderChanged(reason, source);
    }
    std::vector<TClass> ConsumerClasses() override { return Classes; }
    void SelectConsumer(IZvDataConsumer* c) override { FConsumerStack.push_back(c); }
    IZvDataConsumer* SelectedConsumer() override { return FConsumerStack.empty() ? nullptr : FConsumerStack.back(); }
    void ReleaseConsumer() override {
        if (!FConsumerStack.empty()) FConsumerStack.pop_back();
    }
    void SelectContext(IZvDataContext* c) override { FContextStack.push_back(c); }
    IZvDataContext* SelectedContext() override { return FContextStack.empty() ? nullptr : FContextStack.back(); }
    void ReleaseContext() override {
        if (FContextStack.empty()) throw EZVLDataProvider("No context selected");
        FContextStack.pop_back();
    }

    TZvDataItemsList* Root() const { return FRoot; }
    TZvDataContexts* ContextList() const { return FContextsObject; }
    int ConsumerCount() const { return int(FConsumers.size()); }
    size_t SelectionDepth() const { return FConsumerStack.size() + FContextStack.size(); }

    // A new item of list with a text, added through the list's management.
    TZvBaseDataItem* AddItem(TZvBaseDataItems* list, const String& text, const String& id = String()) {
        auto* item = NewObject<TZvBaseDataItem>(static_cast<IZvDataItems*>(list));
        if (!id.empty()) item->SetID(id);
        NewObject<TZvDataItemTextImpl>(item)->SetText(text);
        Supports<IZvDataItemsManagement>(static_cast<IInterface*>(list))->Add(item);
        return item;
    }
    // The sub-item list of item (made on first use).
    static TZvBaseDataItems* SubList(TZvBaseDataItem* item) {
        if (!item->SubItems()) {
            auto* sub = NewObject<TZvDataItemsList>(static_cast<IZvDataItem*>(item));
            NewObject<TZvBaseDataItemsListManagement>(sub);
        }
        return item->SubItems();
    }

    std::vector<String> Log;
    std::vector<TClass> Classes;

private:
    TZvDataItemsList* FRoot;
    TIntfPtr<IZvDataItems> FItems;
    TZvDataContexts* FContextsObject = nullptr;
    TIntfPtr<IZvDataContexts> FContexts;
    std::vector<IZvDataConsumer*> FConsumers;
    std::vector<IZvDataConsumer*> FConsumerStack;
    std::vector<IZvDataContext*> FContextStack;
};

inline TClass TTestDataProvider::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestDataProvider>("TTestDataProvider")
                                       .Implements<IZvDataProvider>()
                                       .Prop("Root", &TTestDataProvider::Root, nullptr)
                                       .Build();
    return &info;
}

// A provider with contexts, as the layout makes it.
class TTestContextProvider : public TTestDataProvider {
    QL_CLASS(TTestContextProvider, TTestDataProvider)
public:
    // Its contexts: the fixed default one and "Named".
    explicit TTestContextProvider(TComponent* owner) : TTestDataProvider(owner, true) {
        ContextList()->Add(NewObject<TZvDataContext>(static_cast<IZvDataContexts*>(ContextList()), String("Named")));
    }
};

inline TClass TTestContextProvider::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestContextProvider>("TTestContextProvider").Build();
    return &info;
}

// A component that shows a provider's items through its consumer.
class TTestConsumerComponent : public TComponent {
    QL_CLASS(TTestConsumerComponent, TComponent)
public:
    explicit TTestConsumerComponent(TComponent* owner)
        : TComponent(owner), FConsumer(NewObject<TZvDataConsumer>(this, std::vector<int>{DPA_ConsumerDisplaysList})) {}
    ~TTestConsumerComponent() override { FConsumer->Free(); }
    TZvDataConsumer* Consumer() const { return FConsumer; }
    void Loaded() override {
        TComponent::Loaded();
        FConsumer->Loaded();
    }

private:
    TZvDataConsumer* FConsumer;
};

inline TClass TTestConsumerComponent::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestConsumerComponent>("TTestConsumerComponent")
                                       .Prop("Consumer", &TTestConsumerComponent::Consumer, nullptr)
                                       .Build();
    return &info;
}

// Registers the portable framework classes and the test components.
inline void RegisterTestClasses() {
    static bool done = [] {
        for (TClass cls : PortableDataProviderClasses()) RegisterClass(cls);
        RegisterClasses({TTestDataProvider::StaticClass(), TTestContextProvider::StaticClass(),
                         TTestConsumerComponent::StaticClass()});
        return true;
    }();
    (void)done;
}

inline String TextOf(IInterface* item) {
    auto* text = Supports<IZvDataItemText>(item);
    return text ? text->GetText() : String("(no text)");
}

}  // namespace dp_test
