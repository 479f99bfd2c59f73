#include "components/dataproviders/zv_data_contexts.h"

#include "classlib/core/sysutils.h"
#include "components/dataproviders/zv_data_consumer.h"
#include "components/dataproviders/zv_data_items.h"

namespace {

// A context's extension: none made for an item, a list or a consumer.
bool IsContextExtensionClass(TClass cls) {
    return cls->InheritsFrom(TAggregatedPersistentEx::StaticClass()) &&
           !cls->InheritsFrom(TZvDataItemAggregatedObject::StaticClass()) &&
           !cls->InheritsFrom(TZvDataItemsAggregatedObject::StaticClass()) &&
           !cls->InheritsFrom(TZvDataConsumerAggregatedObject::StaticClass());
}

}  // namespace

bool TZvBaseDataContexts::AcceptsExtensionClass(TClass cls) { return IsContextExtensionClass(cls); }

bool TZvBaseDataContext::AcceptsExtensionClass(TClass cls) { return IsContextExtensionClass(cls); }

// ============================================================================
// TZvBaseDataContexts
// ============================================================================

TClass TZvBaseDataContexts::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvBaseDataContexts>("TZvBaseDataContexts").Implements<IZvDataContexts>().Build();
    return &info;
}

TZvBaseDataContexts::TZvBaseDataContexts(IZvDataProvider* provider, IZvDataContext* ancestor,
                                         TClass defaultContextClass)
    : FProvider(provider), FAncestor(ancestor), FDefaultContextClass(defaultContextClass) {}

void TZvBaseDataContexts::InitImplementers() {
    if (!FDefaultContextClass) return;
    TObject* made = CreateObject<IZvDataContexts*, String>(FDefaultContextClass, this, String());
    auto* context = dynamic_cast<IZvDataContext*>(made);
    if (!context) {
        made->Free();
        throw EZVLDataContexts("Invalid class type");
    }
    DoAdd(context);
}

IZvDataContext* TZvBaseDataContexts::FindOwnContext(const String& name, IZvDataContext* except) {
    for (int i = GetCount() - 1; i >= 0; --i) {
        TIntfPtr<IZvDataContext> context = GetContext(i);
        if (context && context.Get() != except && SameText(context->Name(), name)) return context.Get();
    }
    return nullptr;
}

TIntfPtr<IZvDataContext> TZvBaseDataContexts::GetContextByName(const String& name) {
    TIntfPtr<IZvDataContexts> list(this);
    size_t pos = 0;
    if (!name.empty() && (name[0] == '\\' || name[0] == '/')) {
        list = FProvider ? FProvider->GetContexts() : nullptr;
        pos = 1;
    }
    TIntfPtr<IZvDataContext> found;
    while (list) {
        size_t end = name.find_first_of("\\/", pos);
        String segment = name.substr(pos, end == String::npos ? String::npos : end - pos);
        if (segment == "..") {
            // The ancestor's own list; above the top there is none.
            TIntfPtr<IZvDataContext> ancestor = list->Ancestor();
            if (!ancestor) return nullptr;
            list = ancestor->Contexts();
            found = nullptr;
        } else {
            auto* own = dynamic_cast<TZvBaseDataContexts*>(list.Get());
            found = TIntfPtr<IZvDataContext>(own ? own->FindOwnContext(segment) : nullptr);
            if (!found) return nullptr;
        }
        if (end == String::npos) return found;
        pos = end + 1;
        if (found) list = TIntfPtr<IZvDataContexts>(Supports<IZvDataContexts>(static_cast<IInterface*>(found.Get())));
    }
    return nullptr;
}

int TZvBaseDataContexts::IndexOf(IZvDataContext* context) {
    for (int i = GetCount() - 1; i >= 0; --i)
        if (GetContext(i).Get() == context) return i;
    return -1;
}

void TZvBaseDataContexts::Add(IZvDataContext* context) {
    if (!context) return;
    TIntfPtr<IZvDataContext> keep(context);
    if (FindOwnContext(context->Name(), context)) throw EZVLDataContexts("A context with that name already exists");
    if (FProvider) FProvider->Changing(pcrContextAdd, FAncestor);
    DoAdd(context);
    if (FProvider) FProvider->Changed(pcrContextAdd, context);
}

void TZvBaseDataContexts::Delete(int index) {
    TIntfPtr<IZvDataContext> context = GetContext(index);
    if (!context || !context->IsDeletable()) return;
    if (FProvider) FProvider->Changing(pcrContextDelete, context.Get());
    DoDelete(index);
    if (FProvider) FProvider->Changed(pcrContextDelete, FAncestor);
}

void TZvBaseDataContexts::Remove(IZvDataContext* context) {
    int index = IndexOf(context);
    if (index >= 0) Delete(index);
}

void TZvBaseDataContexts::Clear() { DoClear(); }

// ============================================================================
// TZvDataContexts
// ============================================================================

TClass TZvDataContexts::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvDataContexts>("TZvDataContexts")
                                       .Constructor<IZvDataProvider*, IZvDataContext*, TClass>()
                                       .Build();
    return &info;
}

TZvDataContexts::~TZvDataContexts() {
    std::vector<TIntfPtr<IZvDataContext>> going;
    going.swap(FList);
    // Contexts still referenced elsewhere outlive their list: they forget
    // it. The others go now, telling the item lists.
    for (TIntfPtr<IZvDataContext>& c : going)
        if (auto* context = dynamic_cast<TZvBaseDataContext*>(c.Get()); context && context->RefCount() > 1)
            context->DetachFromList();
}

TIntfPtr<IZvDataContext> TZvDataContexts::GetContext(int index) {
    if (index < 0 || index >= GetCount()) return nullptr;
    return FList[size_t(index)];
}

void TZvDataContexts::DoAdd(IZvDataContext* context) { FList.emplace_back(context); }

void TZvDataContexts::DoDelete(int index) {
    TIntfPtr<IZvDataContext> going = std::move(FList.at(size_t(index)));
    FList.erase(FList.begin() + index);
}

void TZvDataContexts::DoClear() {
    std::vector<TIntfPtr<IZvDataContext>> going;
    going.swap(FList);
}

// ============================================================================
// Contexts
// ============================================================================

TClass TZvBaseDataContext::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvBaseDataContext>("TZvBaseDataContext")
                                       .Implements<IZvDataContext>()
                                       .Constructor<IZvDataContexts*, String>()
                                       .Build();
    return &info;
}

TZvBaseDataContext::TZvBaseDataContext(IZvDataContexts* contexts, const String& name)
    : FContexts(contexts), FName(name) {
    if (!contexts) throw EZVLDataContexts("Cannot create a context without a context list owner");
}

TIntfPtr<IZvDataContext> TZvBaseDataContext::Ancestor() { return FContexts ? FContexts->Ancestor() : nullptr; }

void TZvBaseDataContext::SetName(const String& name) {
    if (FName == name) return;
    if (auto* list = dynamic_cast<TZvBaseDataContexts*>(FContexts))
        if (list->FindOwnContext(name, this)) throw EZVLDataContexts("A context with that name already exists");
    DoSetName(name);
}

void TZvBaseDataContext::BeforeDestruction() {
    TExtensibleInterfacedPersistent::BeforeDestruction();
    AnnounceGoing();
}

void TZvBaseDataContext::DetachFromList() {
    AnnounceGoing();
    FContexts = nullptr;
}

void TZvBaseDataContext::AnnounceGoing() {
    // Every item list hears that this context goes (texts kept for it...).
    if (FContexts)
        if (TIntfPtr<IZvDataProvider> provider = FContexts->Provider())
            if (auto* root = dynamic_cast<TZvBaseDataItems*>(provider->GetItems().Get())) root->ContextDestroying(this);
}

TClass TZvDataContext::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvDataContext>("TZvDataContext").Constructor<IZvDataContexts*, String>().Build();
    return &info;
}

TClass TZvManagedDataContext::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvManagedDataContext>("TZvManagedDataContext").Constructor<IZvDataContexts*, String>().Build();
    return &info;
}

TClass TZvFixedDataContext::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvFixedDataContext>("TZvFixedDataContext").Constructor<IZvDataContexts*, String>().Build();
    return &info;
}
