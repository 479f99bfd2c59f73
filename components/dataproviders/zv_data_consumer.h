// Consumers: what a visual component uses a data provider through. A
// consumer holds the provider and the selected context, follows the
// provider's changes, keeps the consumer extensions the provider asks for
// (a selected item, a view list) and tells its component when to redraw.
// Portable: a component that is a control is refreshed through a hook the
// Windows unit sets.
#pragma once

#include <functional>

#include "components/dataproviders/zv_data_items.h"

class TZvDataConsumerAggregatedObject;

// How a consumer's component is refreshed after a change (a control is
// invalidated); set by the Windows unit, nothing by default.
using TZvComponentRefresh = void (*)(TComponent* component);
void SetDataConsumerRefresh(TZvComponentRefresh refresh);

class TZvDataConsumer : public TExtensibleInterfacedPersistent, public IZvDataConsumer {
    QL_CLASS(TZvDataConsumer, TExtensibleInterfacedPersistent)
public:
    TZvDataConsumer(TComponent* owner, std::vector<int> attributes = {});
    ~TZvDataConsumer() override;

    // Owned by its component: not counted.
    int _AddRef() override { return -1; }
    int _Release() override { return -1; }

    // ---- IZvDataConsumer ----
    TIntfPtr<IZvDataProvider> ProviderIntf() override { return FProvider; }
    TIntfPtr<IZvDataContext> ContextIntf() override { return FContext; }
    TComponent* Component() override { return FOwner; }
    bool AttributeApplies(int attribute) override;
    // Runs the hook and tells every extension; the provider's destruction
    // (reason 4) then clears the provider.
    void ProviderChanging(TZvDataProviderChangeReason reason, IInterface* source) override;
    // Runs the hook and tells every extension; a full refresh (reason 8)
    // rebuilds the view, anything else is a data change.
    void ProviderChanged(TZvDataProviderChangeReason reason, IInterface* source) override;

    void SetProvider(IZvDataProvider* provider);
    // The selected context's name ('' for none).
    String ContextName() const;
    // By name (compared with case): while the component loads without a
    // provider the name waits for it; errors are EZVLDataConsumer.
    void SetContextName(const String& name);
    // A context of another provider raises EZVLDataConsumer "The specified
    // context is not part of the same provider".
    void SetContext(IZvDataContext* context);
    // Stored only when it is not the provider's default context.
    bool IsContextStored() const;

    // After the component is read: the waiting context and extension
    // fix-ups are applied.
    void Loaded();
    // An operation for this consumer: the provider selects it and its
    // context until Leave, which releases both (the consumer first; when
    // releasing the context fails, the consumer is selected again).
    void Enter();
    void Leave();
    // An extension changed the view: the others are told, then the
    // consumer changes (reason 2).
    void ViewChanged(TZvDataConsumerAggregatedObject* source);
    // Tells the component (a refresh), then the after-change hook.
    void Changing(TZvDataConsumerChangeReason reason);
    void Changed(TZvDataConsumerChangeReason reason);

    // Server links: told when the provider changed.
    void LinkAdded(IZvDataConsumerServerNotify* link);
    void LinkRemoved(IZvDataConsumerServerNotify* link);

    bool IsLoading() const;
    // Set by an extension read from the layout before the provider.
    void SetNeedExtensionFixups(bool value) { FNeedExtensionFixups = value; }

    // Hooks.
    std::function<void(TZvDataConsumerChangeReason)> OnChanging;
    std::function<void(TZvDataConsumerChangeReason)> OnChanged;
    std::function<void(TZvDataProviderChangeReason, IInterface*)> OnProviderChanging;
    std::function<void(TZvDataProviderChangeReason, IInterface*)> OnProviderChanged;
    // May replace the class or cancel the creation (create = false).
    std::function<void(TClass& cls, bool& create)> OnBeforeCreateExtension;
    std::function<void(TZvDataConsumerAggregatedObject*)> OnAfterCreateExtension;

private:
    bool AcceptsExtensionClass(TClass cls) override;
    void UpdateExtensions();
    void CreateConsumerExtension(TClass cls);
    void FixupExtensions();
    std::vector<TZvDataConsumerAggregatedObject*> ConsumerExtensions() const;

    TComponent* FOwner;
    std::vector<int> FAttributes;
    TIntfPtr<IZvDataProvider> FProvider;
    TIntfPtr<IZvDataContext> FContext;
    String FFixupContext;
    bool FNeedExtensionFixups = false;
    std::vector<IZvDataConsumerServerNotify*> FLinks;
};

// The base of consumer extensions. By default it goes when the provider
// is replaced and stays when the context is; every notification does
// nothing.
class TZvDataConsumerAggregatedObject : public TAggregatedPersistentEx {
    QL_CLASS(TZvDataConsumerAggregatedObject, TAggregatedPersistentEx)
public:
    using TAggregatedPersistentEx::TAggregatedPersistentEx;
    TZvDataConsumer* Consumer() const { return dynamic_cast<TZvDataConsumer*>(Owner()); }

    virtual bool KeepOnProviderChange() { return false; }
    virtual bool KeepOnContextChange() { return true; }
    // The consumer's provider or context is being replaced, or was.
    virtual void ProviderChanging() {}
    virtual void ProviderChanged() {}
    virtual void ContextChanging() {}
    virtual void ContextChanged() {}
    // The provider's own change notifications.
    virtual void ProviderNotifyChanging(TZvDataProviderChangeReason reason, IInterface* source) {}
    virtual void ProviderNotifyChanged(TZvDataProviderChangeReason reason, IInterface* source) {}
    // Another extension changed the view (source nullptr: the provider).
    virtual void ViewChanged(TZvDataConsumerAggregatedObject* source) {}
    // Runs once the provider is there for what was read before it.
    virtual void Fixup() {}

    // Read from the layout while the consumer had no provider yet.
    bool StreamedInWithoutProvider() const { return FStreamedInWithoutProvider; }
    void SetStreamedInWithoutProvider(bool value) { FStreamedInWithoutProvider = value; }

private:
    bool FStreamedInWithoutProvider = false;
};

// The selected item, stored as its ID ("Item").
// It watches the selected item: however the item goes (deleted, its list
// or an ancestor's cleared or freed), the selection is cleared as it goes.
class TZvDataConsumerItemSelect : public TZvDataConsumerAggregatedObject, private TZvDataItemWatcher {
    QL_CLASS(TZvDataConsumerItemSelect, TZvDataConsumerAggregatedObject)
public:
    using TZvDataConsumerAggregatedObject::TZvDataConsumerAggregatedObject;
    ~TZvDataConsumerItemSelect() override;

    TIntfPtr<IZvDataItem> Item() const { return FItem; }
    String ItemID() const;
    // An unchanged ID does nothing, '' clears the selection; the item is
    // searched from the root list with the consumer's context selected:
    // EZVLDataConsumer "Item not found in the selected context".
    void SetItemID(const String& id);
    void SetItem(IZvDataItem* item);

    void Fixup() override;
    // The selected item, or one of its ancestors, being deleted clears the
    // selection.
    void ProviderNotifyChanging(TZvDataProviderChangeReason reason, IInterface* source) override;

private:
    void ItemFreed(TZvBaseDataItem* item) override;

    // Counted in a dynamic list; in one that is not, the watch clears it
    // before the item is freed.
    TIntfPtr<IZvDataItem> FItem;
    String FFixupID;
};
