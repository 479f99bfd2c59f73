#include "components/dataproviders/zv_data_view_list.h"

#include "classlib/core/scopes.h"
#include "classlib/core/sysutils.h"

TClass TZvCustomDataConsumerViewList::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvCustomDataConsumerViewList>("TZvCustomDataConsumerViewList").QL_EXTENSION_CONSTRUCTOR.Build();
    return &info;
}

TClass TZvDataConsumerViewList::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvDataConsumerViewList>("TZvDataConsumerViewList")
            .QL_EXTENSION_CONSTRUCTOR
            .Prop("LevelIndent", &TZvDataConsumerViewList::LevelIndent, &TZvDataConsumerViewList::SetLevelIndent)
            .Default(16)
            .Build();
    return &info;
}

namespace {

TIntfPtr<IZvDataItems> SubItemsOf(IZvDataItem* item) {
    return TIntfPtr<IZvDataItems>(item ? Supports<IZvDataItems>(static_cast<IInterface*>(item)) : nullptr);
}

}  // namespace

void TZvCustomDataConsumerViewList::NotifyViewChanged() {
    if (TZvDataConsumer* consumer = Consumer()) consumer->ViewChanged(this);
}

void TZvCustomDataConsumerViewList::SetLevelIndent(int value) {
    if (FLevelIndent == value) return;
    FLevelIndent = value;
    if (TZvDataConsumer* consumer = Consumer()) consumer->Changed(ccrOther);
}

std::uint32_t TZvCustomDataConsumerViewList::SubListFlags(IZvDataItem* item) {
    TIntfPtr<IZvDataItems> sub = SubItemsOf(item);
    if (!sub) return 0;
    return vlHasSubList | (sub->GetCount() > 0 ? vlHasChildren : 0);
}

bool TZvCustomDataConsumerViewList::IsVisible(IZvDataItem* item) {
    int state = 3;
    TZvDataConsumer* consumer = Consumer();
    TIntfPtr<IZvDataProvider> provider = consumer ? consumer->ProviderIntf() : nullptr;
    if (IZvDataConsumer* selected = provider ? provider->SelectedConsumer() : nullptr)
        if (auto* rating = Supports<IZvDataConsumerItemRating>(static_cast<IInterface*>(selected)))
            state = rating->ItemVisibility(item);
    if (state == 2 || state == 3)
        if (auto* own = Supports<IZvDataItemRating>(static_cast<IInterface*>(item))) state = own->Visibility();
    return state != 0;
}

bool TZvCustomDataConsumerViewList::IsVisibleToConsumer(IZvDataItem* item) {
    TZvDataConsumer* consumer = Consumer();
    consumer->Enter();
    TScopeExit leave([consumer] { consumer->Leave(); });
    return IsVisible(item);
}

TIntfPtr<IZvDataItem> TZvCustomDataConsumerViewList::ParentOf(IZvDataItem* item) {
    TIntfPtr<IZvDataItems> items = item->GetItems();
    return items ? items->GetParent() : nullptr;
}

TIntfPtr<IZvDataItem> TZvCustomDataConsumerViewList::Item(int index) {
    if (index < 0 || index >= Count()) return nullptr;
    TZvDataConsumer* consumer = Consumer();
    TIntfPtr<IZvDataProvider> provider = consumer ? consumer->ProviderIntf() : nullptr;
    if (!provider) return nullptr;
    consumer->Enter();
    TScopeExit leave([consumer] { consumer->Leave(); });
    TIntfPtr<IZvDataItems> root = provider->GetItems();
    auto* search = Supports<IZvDataIDSearch>(static_cast<IInterface*>(root.Get()));
    return search ? search->FindByID(FView[size_t(index)].ID, true) : nullptr;
}

int TZvCustomDataConsumerViewList::ItemParentIndex(int index) const {
    if (index < 0 || index >= Count()) return -1;
    int level = ItemLevel(index);
    for (int i = index - 1; i >= 0; --i)
        if (ItemLevel(i) < level) return i;
    return -1;
}

TIntfPtr<IZvDataItem> TZvCustomDataConsumerViewList::ItemParent(int index) { return Item(ItemParentIndex(index)); }

int TZvCustomDataConsumerViewList::ItemSiblingIndex(int index) const {
    if (index < 0 || index >= Count()) return -1;
    int level = ItemLevel(index);
    for (int i = index + 1; i < Count(); ++i) {
        if (ItemLevel(i) < level) return -1;
        if (ItemLevel(i) == level) return i;
    }
    return -1;
}

TIntfPtr<IZvDataItem> TZvCustomDataConsumerViewList::ItemSibling(int index) { return Item(ItemSiblingIndex(index)); }

int TZvCustomDataConsumerViewList::ChildIndex(int index) const {
    if (index < 0 || index >= Count()) return -1;
    int level = ItemLevel(index), n = 0;
    for (int i = index - 1; i >= 0 && ItemLevel(i) >= level; --i)
        if (ItemLevel(i) == level) ++n;
    return n;
}

int TZvCustomDataConsumerViewList::SubItemIndex(int parentIndex, int n) const {
    int level = parentIndex < 0 ? 0 : ItemLevel(parentIndex) + 1;
    for (int i = parentIndex + 1; i < Count() && ItemLevel(i) >= level; ++i)
        if (ItemLevel(i) == level && n-- == 0) return i;
    return -1;
}

TIntfPtr<IZvDataItem> TZvCustomDataConsumerViewList::SubItem(int parentIndex, int n) {
    return Item(SubItemIndex(parentIndex, n));
}

int TZvCustomDataConsumerViewList::IndexOfID(const String& id) const {
    for (int i = Count() - 1; i >= 0; --i)
        if (SameText(FView[size_t(i)].ID, id)) return i;
    return -1;
}

int TZvCustomDataConsumerViewList::IndexOfItem(IZvDataItem* item) const { return item ? IndexOfID(item->GetID()) : -1; }

std::vector<bool> TZvCustomDataConsumerViewList::ItemGroupInfo(int index) const {
    if (index < 0 || index >= Count()) return {};
    std::vector<bool> info(size_t(ItemLevel(index)) + 1);
    for (int i = index; i >= 0; i = ItemParentIndex(i)) info[size_t(ItemLevel(i))] = ItemSiblingIndex(i) >= 0;
    return info;
}

int TZvCustomDataConsumerViewList::LastDescendant(int index) const {
    int level = ItemLevel(index), last = index;
    while (last + 1 < Count() && ItemLevel(last + 1) > level) ++last;
    return last;
}

void TZvCustomDataConsumerViewList::AddItems(int& position, IZvDataItems* list, int levels) {
    if (!list) return;
    std::uint32_t level = 0;
    if (position > 0) {
        level = (FView[size_t(position - 1)].Flags & vlLevelMask) + 1;
        FView[size_t(position - 1)].Flags |= vlExpanded;
    }
    for (int i = 0; i < list->GetCount(); ++i) {
        TIntfPtr<IZvDataItem> item = list->GetItem(i);
        if (!item || !IsVisible(item.Get())) continue;
        FView.insert(FView.begin() + position, TEntry{item->GetID(), (level & vlLevelMask) | SubListFlags(item.Get())});
        ++position;
        if (levels > 0 && (FView[size_t(position - 1)].Flags & vlHasChildren)) {
            TIntfPtr<IZvDataItems> sub = SubItemsOf(item.Get());
            AddItems(position, sub.Get(), levels - 1);
        }
    }
}

void TZvCustomDataConsumerViewList::AddChildItem(int parentIndex, IZvDataItem* item) {
    if (!item || parentIndex < 0 || parentIndex >= Count()) return;
    TEntry& parent = FView[size_t(parentIndex)];
    if (!(parent.Flags & vlExpanded)) parent.Flags |= vlHasSubList | vlHasChildren | vlExpanded;
    std::uint32_t level = (parent.Flags & vlLevelMask) + 1;
    int at = LastDescendant(parentIndex) + 1;
    FView.insert(FView.begin() + at, TEntry{item->GetID(), level | SubListFlags(item)});
}

void TZvCustomDataConsumerViewList::InsertItem(int position, int parentIndex, IZvDataItem* item) {
    if (!item || position < 0 || position > Count()) return;
    std::uint32_t level = 0;
    if (parentIndex >= 0 && parentIndex < Count()) {
        FView[size_t(parentIndex)].Flags |= vlExpanded | vlHasSubList | vlHasChildren;
        level = (FView[size_t(parentIndex)].Flags & vlLevelMask) + 1;
    }
    FView.insert(FView.begin() + position, TEntry{item->GetID(), level | SubListFlags(item)});
}

void TZvCustomDataConsumerViewList::DeleteItem(int index) {
    if (index < 0 || index >= Count()) return;
    int last = LastDescendant(index);
    FView.erase(FView.begin() + index + 1, FView.begin() + last + 1);
    int parent = ItemParentIndex(index);
    FView.erase(FView.begin() + index);
    // The parent's only child gone: nothing left to show under it.
    if (parent >= 0 && SubItemIndex(parent, 0) < 0) FView[size_t(parent)].Flags &= ~(vlHasChildren | vlExpanded);
}

void TZvCustomDataConsumerViewList::DeleteItems(int index) {
    if (index < 0 || index >= Count()) return;
    TEntry& entry = FView[size_t(index)];
    if (!(entry.Flags & vlExpanded) || !(entry.Flags & vlHasChildren)) return;
    FView.erase(FView.begin() + index + 1, FView.begin() + LastDescendant(index) + 1);
    FView[size_t(index)].Flags &= ~vlExpanded;
}

void TZvCustomDataConsumerViewList::ToggleItem(int index) {
    if (index < 0 || index >= Count() || !ItemHasChildren(index)) return;
    if (ItemIsExpanded(index)) {
        DeleteItems(index);
    } else {
        TIntfPtr<IZvDataItem> item = Item(index);
        TIntfPtr<IZvDataItems> sub = SubItemsOf(item.Get());
        TZvDataConsumer* consumer = Consumer();
        consumer->Enter();
        TScopeExit leave([consumer] { consumer->Leave(); });
        int position = index + 1;
        AddItems(position, sub.Get(), 0);
    }
    NotifyViewChanged();
}

void TZvCustomDataConsumerViewList::ExpandTreeTo(IZvDataItem* item) {
    if (!item || IndexOfItem(item) >= 0 || !IsVisibleToConsumer(item)) return;
    TIntfPtr<IZvDataItem> parent = ParentOf(item);
    if (!parent) throw EZVLDataConsumer("ViewList out of sync");
    int index = IndexOfItem(parent.Get());
    if (index < 0) {
        ExpandTreeTo(parent.Get());
        index = IndexOfItem(parent.Get());
        if (index < 0) return;  // the parent does not show
    }
    if (ItemIsExpanded(index)) throw EZVLDataConsumer("ViewList out of sync");
    ToggleItem(index);
}

void TZvCustomDataConsumerViewList::ClearView() { FView.clear(); }

void TZvCustomDataConsumerViewList::RebuildView() {
    if (FRebuilding) return;
    TTempChange<bool> rebuilding(FRebuilding, true);
    ClearView();
    TZvDataConsumer* consumer = Consumer();
    TIntfPtr<IZvDataProvider> provider = consumer ? consumer->ProviderIntf() : nullptr;
    if (provider) {
        consumer->Enter();
        TScopeExit leave([consumer] { consumer->Leave(); });
        int position = 0;
        TIntfPtr<IZvDataItems> root = provider->GetItems();
        AddItems(position, root.Get(), FAutoExpandLevel);
    }
    NotifyViewChanged();
}

void TZvCustomDataConsumerViewList::ProviderNotifyChanging(TZvDataProviderChangeReason reason, IInterface* source) {
    if (reason != pcrDelete) return;
    auto* item = Supports<IZvDataItem>(source);
    int index = IndexOfItem(item);
    if (index < 0) return;
    DeleteItem(index);
    NotifyViewChanged();
}

void TZvCustomDataConsumerViewList::ProviderNotifyChanged(TZvDataProviderChangeReason reason, IInterface* source) {
    // A list changed as a whole (cleared): its entries may be gone.
    if (reason == pcrUpdateItems) return RebuildView();
    if (reason != pcrAdd) return;
    auto* item = Supports<IZvDataItem>(source);
    if (!item || IndexOfItem(item) >= 0 || !IsVisibleToConsumer(item)) return;
    TIntfPtr<IZvDataItem> parent = ParentOf(item);
    if (!parent) {
        FView.push_back(TEntry{item->GetID(), SubListFlags(item)});
    } else {
        int index = IndexOfItem(parent.Get());
        if (index < 0) return;
        if (ItemIsExpanded(index)) {
            AddChildItem(index, item);
        } else {
            // A parent without children until now is flagged first, or it
            // would not expand.
            FView[size_t(index)].Flags |= vlHasSubList | vlHasChildren;
            if (FExpandOnNewItem) ExpandTreeTo(item);
        }
    }
    NotifyViewChanged();
}
