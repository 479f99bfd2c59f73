// Items and item lists of the data-provider framework: the list and item
// bases, the list that owns its items, item IDs, look-up by ID, ID path and
// index path, and the bases of item and list extensions. Portable.
#pragma once

#include "components/dataproviders/zv_extensible_persistent.h"

class TZvBaseDataItem;
class TZvBaseDataItemSubItems;

// Where new item IDs come from: a new GUID. The program's Windows unit
// sets the system's; by default a random one.
using TZvGUIDSource = TGUID (*)();
void SetDataItemGUIDSource(TZvGUIDSource source);
TGUID NewDataItemGUID();
// The ID of a GUID: its 16 bytes in memory order, two upper-case
// hexadecimal digits each.
String DataItemIDFromGUID(const TGUID& guid);

// An item list. Its items are searched by ID from the last one on, IDs
// compared without regard to case.
class TZvBaseDataItems : public TExtensibleInterfacedPersistent, public IZvDataItems, public IZvDataIDSearch {
    QL_CLASS(TZvBaseDataItems, TExtensibleInterfacedPersistent)
public:
    // The root list of provider.
    explicit TZvBaseDataItems(IZvDataProvider* provider);
    // The sub-items of parent, which holds them in a sub-items extension
    // made here (when its object is extensible).
    explicit TZvBaseDataItems(IZvDataItem* parent);
    ~TZvBaseDataItems() override;

    // ---- IZvDataItems ----
    int GetCount() override = 0;
    TIntfPtr<IZvDataItem> GetItem(int index) override;
    // An ID, or a path of IDs separated by "\" or "/": ".." is the list
    // that holds the parent item, a leading separator starts at the
    // provider's root list, every other segment names an item of the
    // current list and the path goes on in its sub-items. A path that
    // climbs above the root, or names an item that is not there, gives
    // nothing.
    TIntfPtr<IZvDataItem> GetItemByID(const String& id) override;
    TIntfPtr<IZvDataItem> GetItemByIndexPath(const std::vector<int>& path) override;
    TIntfPtr<IZvDataItem> GetParent() override;
    TIntfPtr<IZvDataProvider> GetProvider() override;
    bool IsDynamic() override { return true; }
    // ---- IZvDataIDSearch ----
    // The list's own look-up; then, when recursive, the sub-item lists of
    // the items, depth first, from the last item to the first.
    TIntfPtr<IZvDataItem> FindByID(const String& id, bool recursive) override;

    // The object of an item (nullptr for an index outside the list).
    virtual TZvBaseDataItem* ItemObject(int index) = 0;
    // Storage: add (the list takes the item; on failure the caller still
    // owns it), delete by index (frees an owned item), move.
    virtual void InternalAdd(TZvBaseDataItem* item) = 0;
    virtual void InternalDelete(int index) = 0;
    virtual void InternalMove(int oldIndex, int newIndex) = 0;
    // The item of this list with this ID (no path).
    TZvBaseDataItem* FindOwnItem(const String& id);

    IZvDataProvider* Provider() const { return FProvider; }
    IZvDataItem* ParentItem() const { return FParent; }
    // "Items": every item of the list, registered classes descending from
    // TZvBaseDataItem only.
    void DefineProperties(TFiler* filer) override;
    // Tells every list extension and every item that context is going.
    void ContextDestroying(IZvDataContext* context);

protected:
    void InitImplementers() override;
    // Only list extensions (TZvDataItemsAggregatedObject).
    bool AcceptsExtensionClass(TClass cls) override;

private:
    friend class TZvBaseDataItemSubItems;
    void ReadItems(TReader* reader);
    void WriteItems(TWriter* writer);

    // Not counted: the provider owns the root list and, through the items,
    // every sub-item list; it announces its destruction (reason 4) before
    // it lets them go.
    IZvDataProvider* FProvider = nullptr;
    // Not counted: the parent holds this list in its sub-items extension
    // and clears both when that extension goes, so they never outlive it.
    // A count here would make a cycle that keeps both alive.
    IZvDataItem* FParent = nullptr;
    TZvBaseDataItem* FParentObject = nullptr;
};

// An item list that owns its items (not dynamic: its items are not
// counted and go with the list).
class TZvDataItemsList : public TZvBaseDataItems {
    QL_CLASS(TZvDataItemsList, TZvBaseDataItems)
public:
    using TZvBaseDataItems::TZvBaseDataItems;
    ~TZvDataItemsList() override;

    int GetCount() override { return int(FList.size()); }
    bool IsDynamic() override { return false; }
    TZvBaseDataItem* ItemObject(int index) override;
    void InternalAdd(TZvBaseDataItem* item) override;
    void InternalDelete(int index) override;
    void InternalMove(int oldIndex, int newIndex) override;

private:
    std::vector<TZvBaseDataItem*> FList;
};

// An item: its list, its ID, its extensions. In a dynamic list it is
// counted; in a list that is not, counting does nothing (-1) and the list
// frees it.
class TZvBaseDataItem : public TExtensibleInterfacedPersistent, public IZvDataItem {
    QL_CLASS(TZvBaseDataItem, TExtensibleInterfacedPersistent)
public:
    explicit TZvBaseDataItem(IZvDataItems* items);

    int _AddRef() override;
    int _Release() override;
    void AfterConstruction() override;

    // ---- IZvDataItem ----
    TIntfPtr<IZvDataItems> GetItems() override { return TIntfPtr<IZvDataItems>(FItems); }
    String GetID() override { return FID; }
    int GetIndex() override;
    bool IsDeletable() override { return true; }
    bool IsParentOf(IZvDataItem* item, bool directOnly) override;

    const String& ID() const { return FID; }
    void SetID(const String& id) { FID = id; }
    IZvDataItems* ItemsIntf() const { return FItems; }
    // The sub-item list (nullptr without one).
    TZvBaseDataItems* SubItems() const;
    // Makes the selected context show the ancestor context's values again.
    void ContextRevert();
    // True until one context-sensitive extension has a value of its own.
    bool ContextEqualToAncestor();
    void ContextDestroying(IZvDataContext* context);

    // The provider's component name (or "Unknown"), ": Item[", the ID, "]".
    String GetNamePath() override;
    // "SubItems", when the item has a sub-item list; an empty ID is
    // written too, so that it reads back empty and not as a new one.
    void DefineProperties(TFiler* filer) override;

protected:
    // Only item extensions (TZvDataItemAggregatedObject).
    bool AcceptsExtensionClass(TClass cls) override;

private:
    void ReadSubItems(TReader* reader);
    void WriteSubItems(TWriter* writer);

    // Not counted: the list owns the item (or, when dynamic, its
    // references keep the item alive), so the list outlives it.
    IZvDataItems* FItems;
    String FID;
};

// Told when a watched item is freed, whichever way it goes (deleted, its
// list cleared or freed, an ancestor deleted). An object that keeps a
// plain reference to an item watches it.
class TZvDataItemWatcher {
public:
    virtual void ItemFreed(TZvBaseDataItem* item) = 0;

protected:
    ~TZvDataItemWatcher() = default;
};
// Starts and ends watching item (a hidden extension of the item tells
// its watchers as the item goes).
void WatchDataItem(TZvBaseDataItem* item, TZvDataItemWatcher* watcher);
void UnwatchDataItem(TZvBaseDataItem* item, TZvDataItemWatcher* watcher);

// The base of item extensions: it reaches its item as IZvDataItem.
class TZvDataItemAggregatedObject : public TAggregatedPersistentEx {
    QL_CLASS(TZvDataItemAggregatedObject, TAggregatedPersistentEx)
public:
    using TAggregatedPersistentEx::TAggregatedPersistentEx;
    // Its own interfaces; never the per-context interface of another
    // extension; else the item's.
    bool QueryInterface(const TGUID& iid, void** obj) override;
    IZvDataItem* Item() const;
    TZvBaseDataItem* ItemObject() const { return dynamic_cast<TZvBaseDataItem*>(Owner()); }
    virtual void ContextDestroying(IZvDataContext* context) {}

protected:
    // The provider's changing and changed notifications about the item
    // (reason 2).
    void NotifyChanging();
    void NotifyChanged();
    IZvDataProvider* Provider() const;
};

// The base of item-list extensions: it reaches its list as IZvDataItems.
class TZvDataItemsAggregatedObject : public TAggregatedPersistentEx {
    QL_CLASS(TZvDataItemsAggregatedObject, TAggregatedPersistentEx)
public:
    using TAggregatedPersistentEx::TAggregatedPersistentEx;
    IZvDataItems* Items() const;
    TZvBaseDataItems* ItemsObject() const { return dynamic_cast<TZvBaseDataItems*>(Owner()); }
    virtual void ContextDestroying(IZvDataContext* context) {}
};

// Holds an item's sub-item list; the interface queries it cannot answer go
// to that list, so the item answers IZvDataItems for its sub-items.
class TZvBaseDataItemSubItems : public TZvDataItemAggregatedObject {
    QL_CLASS(TZvBaseDataItemSubItems, TZvDataItemAggregatedObject)
public:
    TZvBaseDataItemSubItems(TExtensibleInterfacedPersistent* owner, TZvBaseDataItems* items);
    ~TZvBaseDataItemSubItems() override;
    bool GetInterface(const TGUID& iid, void** obj) override;
    TZvBaseDataItems* Items() const { return FItemsObject; }

private:
    TIntfPtr<IZvDataItems> FItems;
    TZvBaseDataItems* FItemsObject;
};
