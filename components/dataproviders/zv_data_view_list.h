// The view list: a consumer extension that lists the provider's items top
// down as a view shows them, each item followed by its shown descendants,
// with a level and expanded / has-children flags per entry. Portable.
#pragma once

#include <cstdint>

#include "components/dataproviders/zv_data_consumer.h"

// The flags of a view entry.
inline constexpr std::uint32_t vlLevelMask = 0x00FFFFFF;  // 0 for root items
inline constexpr std::uint32_t vlExpanded = 1u << 29;     // its children are shown
inline constexpr std::uint32_t vlHasSubList = 1u << 30;   // the item has a sub-item list
inline constexpr std::uint32_t vlHasChildren = 1u << 31;  // ... with at least one item

class TZvCustomDataConsumerViewList : public TZvDataConsumerAggregatedObject {
    QL_CLASS(TZvCustomDataConsumerViewList, TZvDataConsumerAggregatedObject)
public:
    using TZvDataConsumerAggregatedObject::TZvDataConsumerAggregatedObject;

    struct TEntry {
        String ID;
        std::uint32_t Flags = 0;
    };

    int Count() const { return int(FView.size()); }
    const TEntry& Entry(int index) const { return FView.at(size_t(index)); }
    // The item of an entry, found by its ID with the consumer's context
    // selected.
    TIntfPtr<IZvDataItem> Item(int index);
    int ItemLevel(int index) const { return int(Entry(index).Flags & vlLevelMask); }
    bool ItemIsExpanded(int index) const { return Entry(index).Flags & vlExpanded; }
    bool ItemHasChildren(int index) const { return Entry(index).Flags & vlHasChildren; }
    // The nearest earlier entry of a lower level; -1 for a root item.
    int ItemParentIndex(int index) const;
    TIntfPtr<IZvDataItem> ItemParent(int index);
    // The next entry of the same level before any of a lower one, or -1.
    int ItemSiblingIndex(int index) const;
    TIntfPtr<IZvDataItem> ItemSibling(int index);
    // The number of earlier entries of the same level back to the parent.
    int ChildIndex(int index) const;
    // The n-th shown child of the entry parentIndex (-1 for the roots).
    int SubItemIndex(int parentIndex, int n) const;
    TIntfPtr<IZvDataItem> SubItem(int parentIndex, int n);
    // Searched from the last entry; IDs compared without regard to case.
    int IndexOfID(const String& id) const;
    int IndexOfItem(IZvDataItem* item) const;
    // Per level from 0 to the entry's own: whether the entry's ancestor at
    // that level (the entry itself at its own) has a later sibling.
    std::vector<bool> ItemGroupInfo(int index) const;

    // A collapsed entry with children shows them (no further levels), an
    // expanded one hides its descendants; an entry without children does
    // nothing.
    void ToggleItem(int index);
    // Expands the tree down to a shown item not yet in the view:
    // EZVLDataConsumer "ViewList out of sync" when its parent is in the
    // view and already expanded.
    void ExpandTreeTo(IZvDataItem* item);
    void RebuildView();
    void ClearView();

    // Building the view.
    // Every shown item of list from position on, one level below the entry
    // before position (which becomes expanded), followed by its own
    // sub-items while levels are left; position moves past them.
    void AddItems(int& position, IZvDataItems* list, int levels);
    // After the parent's last descendant; a collapsed parent is first
    // flagged as expanded with children.
    void AddChildItem(int parentIndex, IZvDataItem* item);
    // At position, one level below parentIndex (-1: a root item).
    void InsertItem(int position, int parentIndex, IZvDataItem* item);
    // With its descendants; an only child leaves its parent without the
    // children and expanded flags.
    void DeleteItem(int index);
    // Hides the descendants of an expanded entry with children.
    void DeleteItems(int index);

    int LevelIndent() const { return FLevelIndent; }
    void SetLevelIndent(int value);
    int AutoExpandLevel() const { return FAutoExpandLevel; }
    void SetAutoExpandLevel(int value) { FAutoExpandLevel = value; }
    bool ExpandOnNewItem() const { return FExpandOnNewItem; }
    void SetExpandOnNewItem(bool value) { FExpandOnNewItem = value; }

    // The view follows the provider: it stays when the provider is
    // replaced and is rebuilt.
    bool KeepOnProviderChange() override { return true; }
    void ProviderChanging() override { ClearView(); }
    void ProviderChanged() override { RebuildView(); }
    void ContextChanged() override { RebuildView(); }
    // Only the provider's view change (source nullptr: a full refresh, a
    // new provider) rebuilds; another extension's (a new selection) leaves
    // the user's expansions as they are.
    void ViewChanged(TZvDataConsumerAggregatedObject* source) override {
        if (!source) RebuildView();
    }
    void ProviderNotifyChanging(TZvDataProviderChangeReason reason, IInterface* source) override;
    void ProviderNotifyChanged(TZvDataProviderChangeReason reason, IInterface* source) override;

private:
    // Whether the item shows: the selected consumer's rating, then the
    // item's own.
    bool IsVisible(IZvDataItem* item);
    // The same with this consumer and its context selected in the provider.
    bool IsVisibleToConsumer(IZvDataItem* item);
    // The item whose sub-items hold item; none for a root item.
    static TIntfPtr<IZvDataItem> ParentOf(IZvDataItem* item);
    static std::uint32_t SubListFlags(IZvDataItem* item);
    int LastDescendant(int index) const;
    void NotifyViewChanged();

    std::vector<TEntry> FView;
    int FLevelIndent = 16;
    int FAutoExpandLevel = 0;
    bool FExpandOnNewItem = false;
    bool FRebuilding = false;
};

// The view list a consumer makes for a component that displays a list.
class TZvDataConsumerViewList : public TZvCustomDataConsumerViewList {
    QL_CLASS(TZvDataConsumerViewList, TZvCustomDataConsumerViewList)
public:
    using TZvCustomDataConsumerViewList::TZvCustomDataConsumerViewList;
};
