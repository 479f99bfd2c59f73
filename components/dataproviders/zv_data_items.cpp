#include "components/dataproviders/zv_data_items.h"

#include <algorithm>
#include <cstring>
#include <random>

#include "classlib/core/scopes.h"
#include "classlib/core/sysutils.h"

// ============================================================================
// Item IDs
// ============================================================================

namespace {

TGUID RandomGUID() {
    static std::mt19937_64 engine{std::random_device{}()};
    TGUID g;
    std::uint64_t a = engine(), b = engine();
    Byte bytes[16];
    std::memcpy(bytes, &a, 8);
    std::memcpy(bytes + 8, &b, 8);
    bytes[7] = Byte((bytes[7] & 0x0F) | 0x40);  // version 4, in D3's high nibble
    bytes[8] = Byte((bytes[8] & 0x3F) | 0x80);  // the variant
    g.D1 = LongWord(bytes[0]) | LongWord(bytes[1]) << 8 | LongWord(bytes[2]) << 16 | LongWord(bytes[3]) << 24;
    g.D2 = Word(bytes[4] | bytes[5] << 8);
    g.D3 = Word(bytes[6] | bytes[7] << 8);
    for (int i = 0; i < 8; ++i) g.D4[i] = bytes[8 + i];
    return g;
}

TZvGUIDSource& GUIDSource() {
    static TZvGUIDSource source = &RandomGUID;
    return source;
}

}  // namespace

void SetDataItemGUIDSource(TZvGUIDSource source) { GUIDSource() = source ? source : &RandomGUID; }

TGUID NewDataItemGUID() { return GUIDSource()(); }

String DataItemIDFromGUID(const TGUID& guid) {
    static const char digits[] = "0123456789ABCDEF";
    // The bytes as a GUID lies in memory: its first three fields little-endian.
    const Byte bytes[16] = {Byte(guid.D1), Byte(guid.D1 >> 8), Byte(guid.D1 >> 16), Byte(guid.D1 >> 24),
                            Byte(guid.D2), Byte(guid.D2 >> 8), Byte(guid.D3),       Byte(guid.D3 >> 8),
                            guid.D4[0],    guid.D4[1],         guid.D4[2],          guid.D4[3],
                            guid.D4[4],    guid.D4[5],         guid.D4[6],          guid.D4[7]};
    String id;
    for (Byte b : bytes) {
        id += digits[b >> 4];
        id += digits[b & 15];
    }
    return id;
}

// ============================================================================
// TZvBaseDataItems
// ============================================================================

TClass TZvBaseDataItems::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvBaseDataItems>("TZvBaseDataItems").Implements<IZvDataItems, IZvDataIDSearch>().Build();
    return &info;
}

TZvBaseDataItems::TZvBaseDataItems(IZvDataProvider* provider) : FProvider(provider) {}

TZvBaseDataItems::TZvBaseDataItems(IZvDataItem* parent) : FParent(parent) {
    if (parent)
        if (TIntfPtr<IZvDataItems> items = parent->GetItems())
            if (TIntfPtr<IZvDataProvider> provider = items->GetProvider()) FProvider = provider.Get();
}

TZvBaseDataItems::~TZvBaseDataItems() = default;

void TZvBaseDataItems::InitImplementers() {
    // The parent holds this list in an extension of its own, which counts it.
    FParentObject = dynamic_cast<TZvBaseDataItem*>(FParent);
    if (FParentObject) NewObject<TZvBaseDataItemSubItems>(FParentObject, this);
}

bool TZvBaseDataItems::AcceptsExtensionClass(TClass cls) {
    return cls->InheritsFrom(TZvDataItemsAggregatedObject::StaticClass());
}

TIntfPtr<IZvDataItem> TZvBaseDataItems::GetItem(int index) {
    return TIntfPtr<IZvDataItem>(static_cast<IZvDataItem*>(ItemObject(index)));
}

TZvBaseDataItem* TZvBaseDataItems::FindOwnItem(const String& id) {
    for (int i = GetCount() - 1; i >= 0; --i)
        if (TZvBaseDataItem* item = ItemObject(i); item && SameText(item->ID(), id)) return item;
    return nullptr;
}

TIntfPtr<IZvDataItem> TZvBaseDataItems::GetItemByID(const String& id) {
    TZvBaseDataItems* list = this;
    size_t pos = 0;
    if (!id.empty() && (id[0] == '\\' || id[0] == '/')) {
        // From the provider's root list, or the top of this tree without one.
        auto* root = FProvider ? dynamic_cast<TZvBaseDataItems*>(FProvider->GetItems().Get()) : nullptr;
        if (!root)
            for (root = this; root->FParentObject;) {
                auto* up = dynamic_cast<TZvBaseDataItems*>(root->FParentObject->ItemsIntf());
                if (!up) break;
                root = up;
            }
        list = root;
        pos = 1;
    }
    TZvBaseDataItem* found = nullptr;
    while (true) {
        size_t end = id.find_first_of("\\/", pos);
        String segment = id.substr(pos, end == String::npos ? String::npos : end - pos);
        if (segment == "..") {
            // The list that holds the parent item; above the root there is none.
            if (!list->FParentObject) return nullptr;
            list = dynamic_cast<TZvBaseDataItems*>(list->FParentObject->ItemsIntf());
            if (!list) return nullptr;
            found = nullptr;
        } else {
            found = segment.empty() ? nullptr : list->FindOwnItem(segment);
            if (!found) return nullptr;
        }
        if (end == String::npos) break;
        pos = end + 1;
        if (found) {
            list = found->SubItems();
            if (!list) return nullptr;
        }
    }
    return TIntfPtr<IZvDataItem>(static_cast<IZvDataItem*>(found));
}

TIntfPtr<IZvDataItem> TZvBaseDataItems::GetItemByIndexPath(const std::vector<int>& path) {
    TZvBaseDataItems* list = this;
    TZvBaseDataItem* found = nullptr;
    for (size_t i = 0; i < path.size(); ++i) {
        if (!list || path[i] < 0 || path[i] >= list->GetCount()) return nullptr;
        found = list->ItemObject(path[i]);
        if (!found) return nullptr;
        list = found->SubItems();
    }
    return TIntfPtr<IZvDataItem>(static_cast<IZvDataItem*>(found));
}

TIntfPtr<IZvDataItem> TZvBaseDataItems::GetParent() { return TIntfPtr<IZvDataItem>(FParent); }

TIntfPtr<IZvDataProvider> TZvBaseDataItems::GetProvider() { return TIntfPtr<IZvDataProvider>(FProvider); }

TIntfPtr<IZvDataItem> TZvBaseDataItems::FindByID(const String& id, bool recursive) {
    if (TIntfPtr<IZvDataItem> item = GetItemByID(id)) return item;
    if (!recursive) return nullptr;
    for (int i = GetCount() - 1; i >= 0; --i) {
        TZvBaseDataItem* item = ItemObject(i);
        if (TZvBaseDataItems* sub = item ? item->SubItems() : nullptr)
            if (TIntfPtr<IZvDataItem> found = sub->FindByID(id, true)) return found;
    }
    return nullptr;
}

void TZvBaseDataItems::ContextDestroying(IZvDataContext* context) {
    for (int i = 0; i < ExtensionCount(); ++i)
        if (auto* e = dynamic_cast<TZvDataItemsAggregatedObject*>(Extension(i))) e->ContextDestroying(context);
    for (int i = 0; i < GetCount(); ++i)
        if (TZvBaseDataItem* item = ItemObject(i)) item->ContextDestroying(context);
}

void TZvBaseDataItems::DefineProperties(TFiler* filer) {
    TExtensibleInterfacedPersistent::DefineProperties(filer);
    filer->DefineProperty(
        "Items", [this](TReader* r) { ReadItems(r); }, [this](TWriter* w) { WriteItems(w); }, true);
}

void TZvBaseDataItems::ReadItems(TReader* reader) {
    TTempReference keep(static_cast<IZvDataItems*>(this));
    ReadClassEntries(reader, TZvBaseDataItem::StaticClass(), [this](TClass cls) -> TPersistent* {
        auto* item = dynamic_cast<TZvBaseDataItem*>(CreateObject(cls, static_cast<IZvDataItems*>(this)));
        if (!item) throw EZVLDataItems("Invalid class type");
        TOnFailure drop([item] { item->Free(); });
        InternalAdd(item);
        return item;
    });
}

void TZvBaseDataItems::WriteItems(TWriter* writer) {
    writer->WriteCollectionBegin();
    for (int i = 0; i < GetCount(); ++i) {
        TZvBaseDataItem* item = ItemObject(i);
        if (item && GetClass(item->ClassName()) == item->ClassType()) WriteClassEntry(writer, item);
    }
    writer->WriteCollectionEnd();
}

// ============================================================================
// TZvDataItemsList
// ============================================================================

TClass TZvDataItemsList::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvDataItemsList>("TZvDataItemsList")
                                       .Constructor<IZvDataProvider*>()
                                       .Constructor<IZvDataItem*>()
                                       .Build();
    return &info;
}

TZvDataItemsList::~TZvDataItemsList() {
    while (!FList.empty()) InternalDelete(int(FList.size()) - 1);
}

TZvBaseDataItem* TZvDataItemsList::ItemObject(int index) {
    return index >= 0 && index < GetCount() ? FList[size_t(index)] : nullptr;
}

void TZvDataItemsList::InternalAdd(TZvBaseDataItem* item) {
    // Held twice, it would be freed twice.
    if (std::find(FList.begin(), FList.end(), item) != FList.end()) throw EZVLDataItems("Item is already in the list");
    FList.push_back(item);
}

void TZvDataItemsList::InternalDelete(int index) {
    if (index < 0 || index >= GetCount()) RaiseListIndexError(index);
    TZvBaseDataItem* item = FList[size_t(index)];
    FList.erase(FList.begin() + index);
    item->Free();
}

void TZvDataItemsList::InternalMove(int oldIndex, int newIndex) {
    if (oldIndex < 0 || oldIndex >= GetCount()) RaiseListIndexError(oldIndex);
    if (newIndex < 0 || newIndex >= GetCount()) RaiseListIndexError(newIndex);
    TZvBaseDataItem* item = FList[size_t(oldIndex)];
    FList.erase(FList.begin() + oldIndex);
    FList.insert(FList.begin() + newIndex, item);
}

// ============================================================================
// TZvBaseDataItem
// ============================================================================

TClass TZvBaseDataItem::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvBaseDataItem>("TZvBaseDataItem")
                                       .Implements<IZvDataItem>()
                                       .Constructor<IZvDataItems*>()
                                       .Prop("ID", &TZvBaseDataItem::FID, &TZvBaseDataItem::SetID)
                                       .Build();
    return &info;
}

TZvBaseDataItem::TZvBaseDataItem(IZvDataItems* items) : FItems(items) {}

int TZvBaseDataItem::_AddRef() {
    if (FItems && FItems->IsDynamic()) return TExtensibleInterfacedPersistent::_AddRef();
    return -1;
}

int TZvBaseDataItem::_Release() {
    if (FItems && FItems->IsDynamic()) return TExtensibleInterfacedPersistent::_Release();
    return -1;
}

void TZvBaseDataItem::AfterConstruction() {
    TExtensibleInterfacedPersistent::AfterConstruction();
    FID = DataItemIDFromGUID(NewDataItemGUID());
}

int TZvBaseDataItem::GetIndex() {
    auto* list = dynamic_cast<TZvBaseDataItems*>(FItems);
    if (!list) return -1;
    for (int i = list->GetCount() - 1; i >= 0; --i)
        if (list->ItemObject(i) == this) return i;
    return -1;
}

bool TZvBaseDataItem::IsParentOf(IZvDataItem* item, bool directOnly) {
    if (!item) return false;
    // Held plainly: the items of a list that is not dynamic are not counted.
    IZvDataItem* self = this;
    TIntfPtr<IZvDataItems> items = item->GetItems();
    for (int depth = 0; items && depth < 100000; ++depth) {
        TIntfPtr<IZvDataItem> parent = items->GetParent();
        if (!parent) return false;
        if (parent.Get() == self) return true;
        if (directOnly) return false;
        items = parent->GetItems();
    }
    return false;
}

TZvBaseDataItems* TZvBaseDataItem::SubItems() const {
    auto* sub = FindExtension<TZvBaseDataItemSubItems>();
    return sub ? sub->Items() : nullptr;
}

void TZvBaseDataItem::ContextRevert() {
    for (int i = 0; i < ExtensionCount(); ++i)
        if (auto* sensitive = dynamic_cast<IZvDataContextSensitive*>(Extension(i))) sensitive->RevertToAncestor();
}

bool TZvBaseDataItem::ContextEqualToAncestor() {
    for (int i = 0; i < ExtensionCount(); ++i)
        if (auto* sensitive = dynamic_cast<IZvDataContextSensitive*>(Extension(i)))
            if (!sensitive->IsEqualToAncestor()) return false;
    return true;
}

void TZvBaseDataItem::ContextDestroying(IZvDataContext* context) {
    for (int i = 0; i < ExtensionCount(); ++i)
        if (auto* e = dynamic_cast<TZvDataItemAggregatedObject*>(Extension(i))) e->ContextDestroying(context);
    if (TZvBaseDataItems* sub = SubItems()) sub->ContextDestroying(context);
}

String TZvBaseDataItem::GetNamePath() {
    String name = "Unknown";
    if (FItems)
        if (TIntfPtr<IZvDataProvider> provider = FItems->GetProvider())
            if (auto* ref = Supports<IInterfaceComponentReference>(static_cast<IInterface*>(provider.Get())))
                if (TComponent* component = ref->GetComponent()) name = component->Name();
    return name + ": Item[" + FID + "]";
}

bool TZvBaseDataItem::AcceptsExtensionClass(TClass cls) {
    return cls->InheritsFrom(TZvDataItemAggregatedObject::StaticClass());
}

void TZvBaseDataItem::DefineProperties(TFiler* filer) {
    // The published ID leaves an empty text out; without it the reader
    // would keep the new item's own ID.
    filer->DefineProperty(
        "ID", [this](TReader* r) { SetID(r->ReadString()); }, [this](TWriter* w) { w->WriteString(FID); }, FID.empty());
    TExtensibleInterfacedPersistent::DefineProperties(filer);
    filer->DefineProperty(
        "SubItems", [this](TReader* r) { ReadSubItems(r); }, [this](TWriter* w) { WriteSubItems(w); },
        SubItems() != nullptr);
}

void TZvBaseDataItem::ReadSubItems(TReader* reader) {
    TTempReference keep(static_cast<IZvDataItem*>(this));
    ReadClassEntries(reader, TZvBaseDataItems::StaticClass(), [this](TClass cls) -> TPersistent* {
        if (auto* sub = FindExtension<TZvBaseDataItemSubItems>()) {
            if (sub->Items() && sub->Items()->ClassType() == cls) return sub->Items();
            RemoveExtension(sub);
        }
        auto* list = dynamic_cast<TZvBaseDataItems*>(CreateObject(cls, static_cast<IZvDataItem*>(this)));
        if (!list) throw EZVLDataItems("Invalid class type");
        return list;  // held by the sub-items extension it made on this item
    });
}

void TZvBaseDataItem::WriteSubItems(TWriter* writer) {
    writer->WriteCollectionBegin();
    if (TZvBaseDataItems* sub = SubItems()) WriteClassEntry(writer, sub);
    writer->WriteCollectionEnd();
}

// ============================================================================
// Item and list extensions
// ============================================================================

TClass TZvDataItemAggregatedObject::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvDataItemAggregatedObject>("TZvDataItemAggregatedObject").Build();
    return &info;
}

bool TZvDataItemAggregatedObject::QueryInterface(const TGUID& iid, void** obj) {
    if (GetInterface(iid, obj)) return true;
    if (iid == IZvDataContextSensitive::IID) {
        *obj = nullptr;
        return false;
    }
    return TAggregatedPersistentEx::QueryInterface(iid, obj);
}

IZvDataItem* TZvDataItemAggregatedObject::Item() const { return dynamic_cast<IZvDataItem*>(Owner()); }

IZvDataProvider* TZvDataItemAggregatedObject::Provider() const {
    IZvDataItem* item = Item();
    TIntfPtr<IZvDataItems> items = item ? item->GetItems() : nullptr;
    return items ? items->GetProvider().Get() : nullptr;
}

void TZvDataItemAggregatedObject::NotifyChanging() {
    if (IZvDataProvider* p = Provider()) p->Changing(pcrUpdateItem, Item());
}

void TZvDataItemAggregatedObject::NotifyChanged() {
    if (IZvDataProvider* p = Provider()) p->Changed(pcrUpdateItem, Item());
}

TClass TZvDataItemsAggregatedObject::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvDataItemsAggregatedObject>("TZvDataItemsAggregatedObject").Build();
    return &info;
}

IZvDataItems* TZvDataItemsAggregatedObject::Items() const { return dynamic_cast<IZvDataItems*>(Owner()); }

TClass TZvBaseDataItemSubItems::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvBaseDataItemSubItems>("TZvBaseDataItemSubItems").Build();
    return &info;
}

TZvBaseDataItemSubItems::TZvBaseDataItemSubItems(TExtensibleInterfacedPersistent* owner, TZvBaseDataItems* items)
    : TZvDataItemAggregatedObject(owner), FItems(static_cast<IZvDataItems*>(items)), FItemsObject(items) {}

TZvBaseDataItemSubItems::~TZvBaseDataItemSubItems() {
    if (FItemsObject) {
        FItemsObject->FParent = nullptr;
        FItemsObject->FParentObject = nullptr;
    }
}

bool TZvBaseDataItemSubItems::GetInterface(const TGUID& iid, void** obj) {
    if (TZvDataItemAggregatedObject::GetInterface(iid, obj)) return true;
    return FItemsObject && FItemsObject->QueryInterface(iid, obj);
}

// ============================================================================
// Watching an item
// ============================================================================

namespace {

// Hidden and not registered: it takes no part in queries or the stored form.
class TZvDataItemFreeWatch : public TZvDataItemAggregatedObject {
    QL_CLASS(TZvDataItemFreeWatch, TZvDataItemAggregatedObject)
public:
    using TZvDataItemAggregatedObject::TZvDataItemAggregatedObject;
    ~TZvDataItemFreeWatch() override {
        auto* item = ItemObject();
        for (TZvDataItemWatcher* w : std::exchange(Watchers, {})) w->ItemFreed(item);
    }
    bool IsHidden() const override { return true; }
    std::vector<TZvDataItemWatcher*> Watchers;
};

TClass TZvDataItemFreeWatch::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvDataItemFreeWatch>("TZvDataItemFreeWatch").Build();
    return &info;
}

}  // namespace

void WatchDataItem(TZvBaseDataItem* item, TZvDataItemWatcher* watcher) {
    if (!item || !watcher) return;
    auto* watch = item->FindExtension<TZvDataItemFreeWatch>();
    if (!watch) watch = NewObject<TZvDataItemFreeWatch>(static_cast<TExtensibleInterfacedPersistent*>(item));
    if (std::find(watch->Watchers.begin(), watch->Watchers.end(), watcher) == watch->Watchers.end())
        watch->Watchers.push_back(watcher);
}

void UnwatchDataItem(TZvBaseDataItem* item, TZvDataItemWatcher* watcher) {
    auto* watch = item ? item->FindExtension<TZvDataItemFreeWatch>() : nullptr;
    if (!watch) return;
    std::erase(watch->Watchers, watcher);
    if (watch->Watchers.empty()) item->RemoveExtension(watch);
}
