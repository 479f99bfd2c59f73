#include "components/dataproviders/zv_data_consumer.h"

#include <algorithm>

#include "classlib/core/scopes.h"
#include "components/dataproviders/zv_data_view_list.h"

namespace {

TZvComponentRefresh& Refresh() {
    static TZvComponentRefresh refresh = nullptr;
    return refresh;
}

}  // namespace

void SetDataConsumerRefresh(TZvComponentRefresh refresh) { Refresh() = refresh; }

// ============================================================================
// TZvDataConsumer
// ============================================================================

TClass TZvDataConsumer::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvDataConsumer>("TZvDataConsumer")
            .Implements<IZvDataConsumer>()
            .Prop("Provider", &TZvDataConsumer::ProviderIntf,
                  [](TZvDataConsumer* c, const TIntfPtr<IZvDataProvider>& p) { c->SetProvider(p.Get()); })
            .Prop("Context", &TZvDataConsumer::ContextName, &TZvDataConsumer::SetContextName)
            .Stored(&TZvDataConsumer::IsContextStored)
            .Build();
    return &info;
}

TZvDataConsumer::TZvDataConsumer(TComponent* owner, std::vector<int> attributes)
    : FOwner(owner), FAttributes(std::move(attributes)) {}

TZvDataConsumer::~TZvDataConsumer() {
    if (FProvider) FProvider->UnregisterChangeNotify(this);
    ClearExtensions();
}

bool TZvDataConsumer::AttributeApplies(int attribute) {
    return std::find(FAttributes.begin(), FAttributes.end(), attribute) != FAttributes.end();
}

bool TZvDataConsumer::IsLoading() const { return FOwner && FOwner->IsLoading(); }

std::vector<TZvDataConsumerAggregatedObject*> TZvDataConsumer::ConsumerExtensions() const {
    std::vector<TZvDataConsumerAggregatedObject*> list;
    for (int i = 0; i < ExtensionCount(); ++i)
        if (auto* e = dynamic_cast<TZvDataConsumerAggregatedObject*>(Extension(i))) list.push_back(e);
    return list;
}

void TZvDataConsumer::Changing(TZvDataConsumerChangeReason reason) {
    if (OnChanging) OnChanging(reason);
}

void TZvDataConsumer::Changed(TZvDataConsumerChangeReason reason) {
    if (FOwner && Refresh()) Refresh()(FOwner);
    if (OnChanged) OnChanged(reason);
}

void TZvDataConsumer::SetProvider(IZvDataProvider* provider) {
    if (FProvider.Get() == provider) return;
    Changing(ccrProviderSelect);
    if (FProvider) FProvider->UnregisterChangeNotify(this);
    if (!FNeedExtensionFixups)
        for (TZvDataConsumerAggregatedObject* e : ConsumerExtensions()) e->ProviderChanging();
    FProvider = TIntfPtr<IZvDataProvider>(provider);
    FContext = nullptr;
    if (FProvider) FProvider->RegisterChangeNotify(this);

    if (!FFixupContext.empty() && FProvider) {
        String name = std::exchange(FFixupContext, String());
        SetContextName(name);
    } else if (TIntfPtr<IZvDataContexts> contexts = FProvider ? FProvider->GetContexts() : nullptr;
               contexts && contexts->GetCount() > 0) {
        FContext = contexts->GetContextByName(String());
    }

    for (TZvDataConsumerAggregatedObject* e : ConsumerExtensions()) {
        if (e->StreamedInWithoutProvider()) continue;
        if (e->KeepOnProviderChange())
            e->ProviderChanged();
        else
            RemoveExtension(e);
    }
    UpdateExtensions();

    if (!IsLoading())
        for (IZvDataConsumerServerNotify* link : std::vector(FLinks)) link->NotifyProviderChanged(this);
    FixupExtensions();
    ViewChanged(nullptr);
    Changed(ccrProviderSelect);
}

bool TZvDataConsumer::AcceptsExtensionClass(TClass cls) {
    return cls->InheritsFrom(TZvDataConsumerAggregatedObject::StaticClass());
}

void TZvDataConsumer::UpdateExtensions() {
    if (!FProvider) {
        ClearExtensions();
        return;
    }
    std::vector<TClass> classes;
    {
        Enter();
        TScopeExit leave([this] { Leave(); });
        classes = FProvider->ConsumerClasses();
    }
    for (TClass cls : classes)
        if (!FindExtension(cls)) CreateConsumerExtension(cls);
    if (AttributeApplies(DPA_ConsumerDisplaysList) && !FindExtension<TZvDataConsumerViewList>()) {
        CreateConsumerExtension(TZvDataConsumerViewList::StaticClass());
        if (auto* view = FindExtension<TZvDataConsumerViewList>()) view->RebuildView();
    }
}

void TZvDataConsumer::CreateConsumerExtension(TClass cls) {
    bool create = true;
    if (OnBeforeCreateExtension) OnBeforeCreateExtension(cls, create);
    if (!create || !cls) return;
    auto* extension = dynamic_cast<TZvDataConsumerAggregatedObject*>(CreateExtension(cls, this));
    if (extension && OnAfterCreateExtension) OnAfterCreateExtension(extension);
}

void TZvDataConsumer::FixupExtensions() {
    if (!FNeedExtensionFixups) return;
    FNeedExtensionFixups = false;
    for (TZvDataConsumerAggregatedObject* e : ConsumerExtensions()) {
        e->SetStreamedInWithoutProvider(false);
        e->Fixup();
    }
}

String TZvDataConsumer::ContextName() const { return FContext ? FContext->Name() : FFixupContext; }

bool TZvDataConsumer::IsContextStored() const {
    if (!FProvider) return false;
    TIntfPtr<IZvDataContexts> contexts = FProvider->GetContexts();
    return contexts && contexts->GetCount() > 0 && FContext != contexts->GetContextByName(String());
}

void TZvDataConsumer::SetContextName(const String& name) {
    if (FContext ? FContext->Name() == name : name.empty() && FFixupContext.empty()) return;
    if (!FProvider) {
        if (!IsLoading()) throw EZVLDataConsumer("You must specify a provider before setting the context");
        FFixupContext = name;
        return;
    }
    TIntfPtr<IZvDataContexts> contexts = FProvider->GetContexts();
    if (!contexts) throw EZVLDataConsumer("Provider does not support contexts");
    if (name.empty()) {
        SetContext(nullptr);
        return;
    }
    TIntfPtr<IZvDataContext> context = contexts->GetContextByName(name);
    if (!context) throw EZVLDataConsumer("Provider has no context named \"" + name + "\"");
    SetContext(context.Get());
}

void TZvDataConsumer::SetContext(IZvDataContext* context) {
    if (FContext.Get() == context) return;
    if (context) {
        TIntfPtr<IZvDataContexts> list = context->Contexts();
        TIntfPtr<IZvDataProvider> owner = list ? list->Provider() : nullptr;
        if (!FProvider || owner != FProvider)
            throw EZVLDataConsumer("The specified context is not part of the same provider");
    }
    Changing(ccrContextChange);
    for (TZvDataConsumerAggregatedObject* e : ConsumerExtensions()) e->ContextChanging();
    FContext = TIntfPtr<IZvDataContext>(context);
    for (TZvDataConsumerAggregatedObject* e : ConsumerExtensions()) {
        if (e->KeepOnContextChange())
            e->ContextChanged();
        else
            RemoveExtension(e);
    }
    Changed(ccrContextChange);
}

void TZvDataConsumer::Loaded() {
    if (!FFixupContext.empty() && FProvider) {
        String name = std::exchange(FFixupContext, String());
        SetContextName(name);
    }
    if (FProvider) FixupExtensions();
}

void TZvDataConsumer::Enter() {
    if (!FProvider) return;
    FProvider->SelectConsumer(this);
    FProvider->SelectContext(FContext.Get());
}

void TZvDataConsumer::Leave() {
    if (!FProvider) return;
    FProvider->ReleaseConsumer();
    try {
        FProvider->ReleaseContext();
    } catch (...) {
        FProvider->SelectConsumer(this);
        throw;
    }
}

void TZvDataConsumer::ProviderChanging(TZvDataProviderChangeReason reason, IInterface* source) {
    if (OnProviderChanging) OnProviderChanging(reason, source);
    for (TZvDataConsumerAggregatedObject* e : ConsumerExtensions()) e->ProviderNotifyChanging(reason, source);
    if (reason == pcrDestroy) SetProvider(nullptr);
}

void TZvDataConsumer::ProviderChanged(TZvDataProviderChangeReason reason, IInterface* source) {
    if (OnProviderChanged) OnProviderChanged(reason, source);
    for (TZvDataConsumerAggregatedObject* e : ConsumerExtensions()) e->ProviderNotifyChanged(reason, source);
    if (reason == pcrFullRefresh)
        ViewChanged(nullptr);
    else
        Changed(ccrProviderChange);
}

void TZvDataConsumer::ViewChanged(TZvDataConsumerAggregatedObject* source) {
    for (TZvDataConsumerAggregatedObject* e : ConsumerExtensions())
        if (e != source) e->ViewChanged(source);
    Changed(ccrViewChange);
}

void TZvDataConsumer::LinkAdded(IZvDataConsumerServerNotify* link) {
    if (link && std::find(FLinks.begin(), FLinks.end(), link) == FLinks.end()) FLinks.push_back(link);
}

void TZvDataConsumer::LinkRemoved(IZvDataConsumerServerNotify* link) { std::erase(FLinks, link); }

// ============================================================================
// Consumer extensions
// ============================================================================

TClass TZvDataConsumerAggregatedObject::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvDataConsumerAggregatedObject>("TZvDataConsumerAggregatedObject").Build();
    return &info;
}

TClass TZvDataConsumerItemSelect::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvDataConsumerItemSelect>("TZvDataConsumerItemSelect")
            .QL_EXTENSION_CONSTRUCTOR
            .Prop("Item", &TZvDataConsumerItemSelect::ItemID, &TZvDataConsumerItemSelect::SetItemID)
            .Build();
    return &info;
}

String TZvDataConsumerItemSelect::ItemID() const { return FItem ? FItem->GetID() : FFixupID; }

void TZvDataConsumerItemSelect::SetItemID(const String& id) {
    if (id == ItemID()) return;
    TZvDataConsumer* consumer = Consumer();
    if (id.empty()) {
        FFixupID.clear();
        SetItem(nullptr);
        return;
    }
    TIntfPtr<IZvDataProvider> provider = consumer ? consumer->ProviderIntf() : nullptr;
    if (!provider) {
        if (!consumer || !consumer->IsLoading())
            throw EZVLDataConsumer("You must specify a provider before setting the item");
        FFixupID = id;
        SetStreamedInWithoutProvider(true);
        consumer->SetNeedExtensionFixups(true);
        return;
    }
    TIntfPtr<IZvDataItem> found;
    {
        consumer->Enter();
        TScopeExit leave([consumer] { consumer->Leave(); });
        TIntfPtr<IZvDataItems> root = provider->GetItems();
        if (auto* search = Supports<IZvDataIDSearch>(static_cast<IInterface*>(root.Get())))
            found = search->FindByID(id, true);
    }
    if (!found) throw EZVLDataConsumer("Item not found in the selected context");
    FFixupID.clear();
    SetItem(found.Get());
}

TZvDataConsumerItemSelect::~TZvDataConsumerItemSelect() {
    UnwatchDataItem(dynamic_cast<TZvBaseDataItem*>(FItem.Get()), this);
}

void TZvDataConsumerItemSelect::SetItem(IZvDataItem* item) {
    if (FItem.Get() == item) return;
    UnwatchDataItem(dynamic_cast<TZvBaseDataItem*>(FItem.Get()), this);
    FItem = TIntfPtr<IZvDataItem>(item);
    WatchDataItem(dynamic_cast<TZvBaseDataItem*>(item), this);
    if (TZvDataConsumer* consumer = Consumer()) consumer->ViewChanged(this);
}

void TZvDataConsumerItemSelect::ItemFreed(TZvBaseDataItem*) {
    // The item is uncounted (or it could not be going): letting go of it
    // touches nothing.
    FItem.Reset();
    if (TZvDataConsumer* consumer = Consumer()) consumer->ViewChanged(this);
}

void TZvDataConsumerItemSelect::Fixup() {
    if (FFixupID.empty()) return;
    String id = std::exchange(FFixupID, String());
    SetItemID(id);
}

void TZvDataConsumerItemSelect::ProviderNotifyChanging(TZvDataProviderChangeReason reason, IInterface* source) {
    if (reason != pcrDelete || !FItem || !source) return;
    auto* deleted = Supports<IZvDataItem>(source);
    if (deleted && (deleted == FItem.Get() || deleted->IsParentOf(FItem.Get(), false))) SetItem(nullptr);
}
