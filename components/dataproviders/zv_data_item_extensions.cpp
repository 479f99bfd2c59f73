#include "components/dataproviders/zv_data_item_extensions.h"

TClass TZvDataItemTextImpl::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvDataItemTextImpl>("TZvDataItemTextImpl")
            .Implements<IZvDataItemText>()
            .QL_EXTENSION_CONSTRUCTOR.Prop("Text", &TZvDataItemTextImpl::FText, &TZvDataItemTextImpl::SetText)
            .Build();
    return &info;
}

void TZvDataItemTextImpl::SetText(const String& text) {
    if (FText == text) return;
    NotifyChanging();
    FText = text;
    NotifyChanged();
}

// ---- Per context -----------------------------------------------------------

TClass TZvDataItemContextTextImpl::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvDataItemContextTextImpl>("TZvDataItemContextTextImpl")
                                       .Implements<IZvDataItemText, IZvDataContextSensitive>()
                                       .QL_EXTENSION_CONSTRUCTOR.Build();
    return &info;
}

IZvDataContext* TZvDataItemContextTextImpl::SelectedContext() const {
    IZvDataProvider* provider = Provider();
    return provider ? provider->SelectedContext() : nullptr;
}

int TZvDataItemContextTextImpl::IndexOf(IZvDataContext* context) const {
    for (size_t i = 0; i < FContextTexts.size(); ++i)
        if (FContextTexts[i].first == context) return int(i);
    return -1;
}

String TZvDataItemContextTextImpl::GetText() {
    TIntfPtr<IZvDataContext> context(SelectedContext());
    for (int depth = 0; context && depth < 100000; ++depth) {
        if (int i = IndexOf(context.Get()); i >= 0) return FContextTexts[size_t(i)].second;
        context = context->Ancestor();
    }
    return FText;
}

void TZvDataItemContextTextImpl::SetText(const String& text) {
    IZvDataContext* context = SelectedContext();
    int i = context ? IndexOf(context) : -1;
    if (context ? i >= 0 && FContextTexts[size_t(i)].second == text : FText == text) return;
    NotifyChanging();
    if (!context)
        FText = text;
    else if (i >= 0)
        FContextTexts[size_t(i)].second = text;
    else
        FContextTexts.emplace_back(context, text);
    NotifyChanged();
}

void TZvDataItemContextTextImpl::RevertToAncestor() {
    IZvDataContext* context = SelectedContext();
    int i = context ? IndexOf(context) : -1;
    if (i < 0) return;
    NotifyChanging();
    FContextTexts.erase(FContextTexts.begin() + i);
    NotifyChanged();
}

bool TZvDataItemContextTextImpl::IsEqualToAncestor() {
    IZvDataContext* context = SelectedContext();
    return !context || IndexOf(context) < 0;
}

void TZvDataItemContextTextImpl::ContextDestroying(IZvDataContext* context) {
    if (int i = IndexOf(context); i >= 0) FContextTexts.erase(FContextTexts.begin() + i);
}

// ---- Read-only text ----------------------------------------------------------

TClass TZvDataItemBlockableTextImpl::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvDataItemBlockableTextImpl>("TZvDataItemBlockableTextImpl")
            .QL_EXTENSION_CONSTRUCTOR
            .Prop("ReadOnly", &TZvDataItemBlockableTextImpl::FReadOnly, &TZvDataItemBlockableTextImpl::SetReadOnly)
            .Default(false)
            .Build();
    return &info;
}

void TZvDataItemBlockableTextImpl::SetReadOnly(bool value) {
    if (FReadOnly == value) return;
    NotifyChanging();
    FReadOnly = value;
    NotifyChanged();
}

// ---- List management ---------------------------------------------------------

TClass TZvBaseDataItemsListManagement::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvBaseDataItemsListManagement>("TZvBaseDataItemsListManagement")
                                       .Implements<IZvDataItemsManagement>()
                                       .QL_EXTENSION_CONSTRUCTOR.Build();
    return &info;
}

IZvDataProvider* TZvBaseDataItemsListManagement::Provider() const {
    TZvBaseDataItems* list = ItemsObject();
    return list ? list->Provider() : nullptr;
}

TZvBaseDataItems* TZvBaseDataItemsListManagement::List() const {
    TZvBaseDataItems* list = ItemsObject();
    if (!list) throw EZVLDataItems("The list management has no item list");
    return list;
}

TIntfPtr<IZvDataItem> TZvBaseDataItemsListManagement::Add(IZvDataItem* item) {
    TZvBaseDataItems* list = List();
    auto* object = dynamic_cast<TZvBaseDataItem*>(item);
    if (!object || object->ItemsIntf() != static_cast<IZvDataItems*>(list))
        throw EZVLDataItems("Item does not belong to this list");
    if (object->GetIndex() >= 0) throw EZVLDataItems("Item is already in the list");
    if (IZvDataProvider* p = Provider()) p->Changing(pcrAdd, Items());
    list->InternalAdd(object);
    if (IZvDataProvider* p = Provider()) p->Changed(pcrAdd, item);
    return TIntfPtr<IZvDataItem>(item);
}

void TZvBaseDataItemsListManagement::Clear() {
    TZvBaseDataItems* list = List();
    if (IZvDataProvider* p = Provider()) p->Changing(pcrUpdateItems, Items());
    while (list->GetCount() > 0) list->InternalDelete(list->GetCount() - 1);
    if (IZvDataProvider* p = Provider()) p->Changed(pcrUpdateItems, Items());
}

void TZvBaseDataItemsListManagement::Delete(int index) {
    TZvBaseDataItems* list = List();
    TZvBaseDataItem* item = list->ItemObject(index);
    if (!item) return;
    if (!item->IsDeletable()) throw EZVLDataItems("Item cannot be deleted");
    if (IZvDataProvider* p = Provider()) p->Changing(pcrDelete, static_cast<IZvDataItem*>(item));
    list->InternalDelete(index);
    if (IZvDataProvider* p = Provider()) p->Changed(pcrDelete, nullptr);
}

void TZvBaseDataItemsListManagement::Remove(TIntfPtr<IZvDataItem>& item) {
    TZvBaseDataItems* list = List();
    auto* object = dynamic_cast<TZvBaseDataItem*>(item.Get());
    int index = object && object->ItemsIntf() == static_cast<IZvDataItems*>(list) ? object->GetIndex() : -1;
    // Referenced elsewhere: more than the list's own reference and the
    // caller's (the items of a list that is not dynamic are not counted).
    bool referenced = list->IsDynamic() && object && object->RefCount() > 2;
    if (index < 0 || !object->IsDeletable() || referenced) throw EZVLDataItems("Item cannot be deleted");
    if (IZvDataProvider* p = Provider()) p->Changing(pcrDelete, item.Get());
    // The caller's reference goes first: the item goes with the list's.
    item.Reset();
    list->InternalDelete(index);
    if (IZvDataProvider* p = Provider()) p->Changed(pcrDelete, nullptr);
}
