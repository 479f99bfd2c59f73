// The data-provider framework's interfaces and change reasons. A provider
// publishes a tree of items (IZvDataItems, IZvDataItem) that consumers
// (IZvDataConsumer) show, each through a named view of the items
// (IZvDataContext). Every feature of an item or a list (its text, its
// sub-items, its drawing...) is an extension found by interface query.
// Portable.
#pragma once

#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/interfaces.h"

class TComponent;

// The errors of the framework: EZVLException is the root, EZVLDataProvider
// the root of the provider side's.
QL_EXCEPTION(EZVLException, Exception);
QL_EXCEPTION(EZVLDataProvider, EZVLException);
QL_EXCEPTION(EZVLDataConsumer, EZVLDataProvider);
QL_EXCEPTION(EZVLDataItems, EZVLDataProvider);
QL_EXCEPTION(EZVLDataContexts, EZVLDataProvider);

// Why a provider is changing, with its changing and changed notifications.
enum TZvDataProviderChangeReason {
    pcrAdd = 0,            // an item is added: changing from the list, changed from the new item
    pcrDelete = 1,         // an item is deleted: changing from the item, changed from none
    pcrUpdateItem = 2,     // an item's data: from the item, both times
    pcrUpdateItems = 3,    // a list as a whole: from the list, both times
    pcrDestroy = 4,        // the provider is being destroyed
    pcrContextAdd = 5,     // changing from the ancestor context, changed from the new context
    pcrContextDelete = 6,  // changing from the context, changed from its ancestor
    pcrFullRefresh = 8     // the whole view must be rebuilt
};

// Why a consumer changed.
enum TZvDataConsumerChangeReason {
    ccrProviderSelect = 0,  // its provider was replaced
    ccrProviderChange = 1,  // the provider's data changed
    ccrViewChange = 2,      // the view changed
    ccrContextChange = 3,   // its context was replaced
    ccrOther = 4            // another setting changed
};

// What a consumer's component asks of it (TZvDataConsumer's attributes).
inline constexpr int DPA_ConsumerDisplaysList = 3;  // keep a view list of the expanded items

class IZvDataItem;
class IZvDataItems;
class IZvDataConsumer;
class IZvDataContext;
class IZvDataContexts;

class IZvDataProvider : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{62A7A17D-1E21-427E-861D-C92FBB9B09A6}");
    // The root item list.
    virtual TIntfPtr<IZvDataItems> GetItems() = 0;
    // The provider's context list; empty for a provider without contexts.
    virtual TIntfPtr<IZvDataContexts> GetContexts() = 0;
    // Consumers told of every change (ProviderChanging, ProviderChanged).
    virtual void RegisterChangeNotify(IZvDataConsumer* consumer) = 0;
    virtual void UnregisterChangeNotify(IZvDataConsumer* consumer) = 0;
    virtual void Changing(TZvDataProviderChangeReason reason, IInterface* source) = 0;
    virtual void Changed(TZvDataProviderChangeReason reason, IInterface* source) = 0;
    // The consumer extension classes the provider asks its consumers for.
    virtual std::vector<TClass> ConsumerClasses() = 0;
    // The consumer and the context an operation runs for: selected at its
    // start and released at its end, nested.
    virtual void SelectConsumer(IZvDataConsumer* consumer) = 0;
    virtual IZvDataConsumer* SelectedConsumer() = 0;
    virtual void ReleaseConsumer() = 0;
    virtual void SelectContext(IZvDataContext* context) = 0;
    virtual IZvDataContext* SelectedContext() = 0;
    virtual void ReleaseContext() = 0;

protected:
    ~IZvDataProvider() = default;
};

class IZvDataItems : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{93747660-24FB-4294-BF4E-C7F88EA23983}");
    virtual int GetCount() = 0;
    // Empty for an index outside the list.
    virtual TIntfPtr<IZvDataItem> GetItem(int index) = 0;
    // By ID or ID path (see TZvBaseDataItems::GetItemByID); empty when
    // nothing is found.
    virtual TIntfPtr<IZvDataItem> GetItemByID(const String& id) = 0;
    // By the indices from the top: each picks an item, the next one goes
    // on in its sub-items.
    virtual TIntfPtr<IZvDataItem> GetItemByIndexPath(const std::vector<int>& path) = 0;
    // The item whose sub-items these are; empty for the root list.
    virtual TIntfPtr<IZvDataItem> GetParent() = 0;
    virtual TIntfPtr<IZvDataProvider> GetProvider() = 0;
    // Items of a dynamic list are counted and live while referenced; a
    // list that is not dynamic owns its items.
    virtual bool IsDynamic() = 0;

protected:
    ~IZvDataItems() = default;
};

class IZvDataItem : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{C965CF64-A1F2-44A4-B856-3A4EC6B693E1}");
    // The list that holds the item.
    virtual TIntfPtr<IZvDataItems> GetItems() = 0;
    virtual String GetID() = 0;
    virtual int GetIndex() = 0;
    virtual bool IsDeletable() = 0;
    // True when this item is item's parent (directOnly) or any ancestor.
    virtual bool IsParentOf(IZvDataItem* item, bool directOnly) = 0;

protected:
    ~IZvDataItem() = default;
};

class IZvDataItemText : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{94FA56D9-281B-4252-B46D-15E7BADA70DA}");
    virtual String GetText() = 0;
    virtual void SetText(const String& text) = 0;
    virtual bool Editable() = 0;

protected:
    ~IZvDataItemText() = default;
};

class IZvDataConsumer : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{B2F18D03-F615-4AA2-A51A-74D330C05C0E}");
    virtual TIntfPtr<IZvDataProvider> ProviderIntf() = 0;
    virtual TIntfPtr<IZvDataContext> ContextIntf() = 0;
    // The component the consumer works for.
    virtual TComponent* Component() = 0;
    virtual bool AttributeApplies(int attribute) = 0;
    // The provider's change notifications.
    virtual void ProviderChanging(TZvDataProviderChangeReason reason, IInterface* source) = 0;
    virtual void ProviderChanged(TZvDataProviderChangeReason reason, IInterface* source) = 0;

protected:
    ~IZvDataConsumer() = default;
};

class IZvDataContext : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{F226D92A-3493-4EF8-9CE6-037357EB0CEA}");
    virtual String Name() = 0;
    // The list that holds the context.
    virtual TIntfPtr<IZvDataContexts> Contexts() = 0;
    // The context the holding list's contexts derive from; empty at the top.
    virtual TIntfPtr<IZvDataContext> Ancestor() = 0;
    virtual bool IsDeletable() = 0;

protected:
    ~IZvDataContext() = default;
};

// A provider's (or a context's) list of contexts.
class IZvDataContexts : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{BA5DC787-29C6-40FA-9542-F0A1E92A2B30}");
    virtual TIntfPtr<IZvDataProvider> Provider() = 0;
    virtual TIntfPtr<IZvDataContext> Ancestor() = 0;
    virtual int GetCount() = 0;
    virtual TIntfPtr<IZvDataContext> GetContext(int index) = 0;
    // By name or name path; empty when there is none.
    virtual TIntfPtr<IZvDataContext> GetContextByName(const String& name) = 0;

protected:
    ~IZvDataContexts() = default;
};

// A search for an item by ID within a list, and recursively in the
// sub-item lists.
class IZvDataIDSearch : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{0F5BDC79-893B-45C9-94E9-C2B2FD4ABFE7}");
    virtual TIntfPtr<IZvDataItem> FindByID(const String& id, bool recursive) = 0;

protected:
    ~IZvDataIDSearch() = default;
};

// Whether an item shows in a consumer's view, as the consumer rates it
// and as the item rates itself: 0 hidden, 1 to 3 shown (3: no opinion).
class IZvDataConsumerItemRating : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{09EBDED8-502E-4C2E-9842-312850FF3358}");
    virtual int ItemVisibility(IZvDataItem* item) = 0;

protected:
    ~IZvDataConsumerItemRating() = default;
};
class IZvDataItemRating : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{5BD81E0B-DAD2-4560-943A-205E0FF2A97F}");
    virtual int Visibility() = 0;

protected:
    ~IZvDataItemRating() = default;
};

// An item extension whose value depends on the selected context.
class IZvDataContextSensitive : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{7067F5C1-05DC-4DAC-A595-AF9151695FBB}");
    // Drops the selected context's own value: the ancestor's shows again.
    virtual void RevertToAncestor() = 0;
    virtual bool IsEqualToAncestor() = 0;

protected:
    ~IZvDataContextSensitive() = default;
};

// Adding and removing items of a list, with the provider's notifications.
class IZvDataItemsManagement : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{D581434C-A8A1-422D-99AC-091911D00BA2}");
    virtual TIntfPtr<IZvDataItem> Add(IZvDataItem* item) = 0;
    virtual void Clear() = 0;
    virtual void Delete(int index) = 0;
    // Removes a deletable item nothing else references and clears item.
    virtual void Remove(TIntfPtr<IZvDataItem>& item) = 0;

protected:
    ~IZvDataItemsManagement() = default;
};

// Told when a consumer's provider changed (a consumer's server links).
class IZvDataConsumerServerNotify : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{3F585227-16D8-4B7F-A01A-71E75D157E4E}");
    virtual void NotifyProviderChanged(IZvDataConsumer* consumer) = 0;

protected:
    ~IZvDataConsumerServerNotify() = default;
};
