// TPersistent, TComponent, TCollection and their helpers: the objects the
// stored layout is made of.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "classlib/core/events.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/interfaces.h"
#include "classlib/core/object.h"
#include "classlib/core/sets.h"
#include "classlib/core/typinfo.h"

class TFiler;
class TReader;
class TWriter;
class TComponent;

// An object that can copy itself from another one and be stored in a
// stored layout.
class TPersistent : public TObject {
    QL_CLASS(TPersistent, TObject)
public:
    // Copies source into this object: asks source to assign itself, and
    // raises EConvertError "Cannot assign a X to a Y" when neither side
    // knows how.
    virtual void Assign(TPersistent* source);
    // The object this one belongs to, for its name path (nullptr: none).
    virtual TPersistent* GetOwner() { return nullptr; }
    // Declares stored properties that type information does not describe.
    virtual void DefineProperties(TFiler* filer) {}
    virtual String GetNamePath();

protected:
    virtual void AssignTo(TPersistent* dest);
    [[noreturn]] void AssignError(TPersistent* source);
};

// ---- Components -----------------------------------------------------------

enum TComponentStateItem {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance
};
QL_DECLARE_ENUM(TComponentStateItem);
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

using TGetChildProc = std::function<void(TComponent*)>;

// The component behind an interface: how the writer names the component an
// interface-typed property refers to.
class IInterfaceComponentReference : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{CED62F67-174D-4AAC-BDEB-8F15AD93EABA}");
    virtual TComponent* GetComponent() = 0;

protected:
    ~IInterfaceComponentReference() = default;
};

// A named object in an ownership tree. An owner frees what it owns, in the
// reverse order of creation. A component that is freed elsewhere leaves its
// owner's list and tells every component that asked for free notification.
//
// Components implement interfaces without counting: _AddRef and _Release
// answer -1, and an interface reference does not keep a component alive.
// QueryInterface answers what the class description lists (Implements).
class TComponent : public TPersistent, public virtual IInterfaceComponentReference {
    QL_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    bool QueryInterface(const TGUID& iid, void** obj) override { return GetInterface(iid, obj); }
    int _AddRef() override { return -1; }
    int _Release() override { return -1; }
    TComponent* GetComponent() override { return this; }

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return int(FComponents.size()); }
    // Owned components in creation order; raises EListError for a bad index.
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    TComponent* FindComponent(const String& name) const;

    const String& Name() const { return FName; }
    // Raises EComponentError for a name that is not an identifier or that
    // another component of the same owner already has.
    virtual void SetName(const String& name);
    int Tag() const { return FTag; }
    void SetTag(int tag) { FTag = tag; }

    TComponentState ComponentState() const { return FComponentState; }
    bool IsLoading() const { return FComponentState.Contains(csLoading); }
    bool IsDestroying() const { return FComponentState.Contains(csDestroying); }
    bool IsDesigning() const { return FComponentState.Contains(csDesigning); }

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees every owned component, last first.
    void DestroyComponents();
    // Marks this component and everything it owns as being destroyed.
    void Destroying();

    // Asks component to be told (Notification opRemove) when this one is
    // freed, and the other way round.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);
    // Points a reference of this component's at value, moving the free
    // notification from the component it named to value, so the reference
    // is cleared (in Notification) when value goes. The component it named
    // stays linked while a published property of this one still names it
    // (Images and HotImages may name one image list). False when it named
    // value already.
    template <class T>
    bool ReplaceReference(T*& reference, T* value) {
        if (reference == value) return false;
        T* old = reference;
        reference = value;
        if (value) value->FreeNotification(this);
        if (old) DropReference(old);
        return true;
    }

    // Called once the stored layout has been read completely.
    virtual void Loaded();
    // The components a writer stores inside this one, in order. By default
    // a root lists the components it owns that have no parent.
    virtual void GetChildren(const TGetChildProc& proc, TComponent* root);
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    // The reader places a nested component in its enclosing one.
    virtual void SetParentComponent(TComponent* parent) {}
    // Reads this component from the layout: by default it joins the
    // enclosing component (reader->Parent(), SetParentComponent), then
    // reads its properties and the components inside it (ReadData). An
    // override may join its container its own way before or after.
    virtual void ReadState(TReader* reader);
    // Writes this component's properties and the components inside it into
    // the layout (writer->WriteData). An override may bring itself up to
    // date first.
    virtual void WriteState(TWriter* writer);
    // The reader keeps a component's stored order among its parent's.
    virtual void SetChildOrder(TComponent* child, int order) {}

    TPersistent* GetOwner() override { return FOwner; }
    String GetNamePath() override { return FName; }

    // Component state changes the reader and writer make.
    void SetComponentState(TComponentState state) { FComponentState = state; }
    void IncludeState(TComponentStateItem item) { FComponentState.Include(item); }
    void ExcludeState(TComponentStateItem item) { FComponentState.Exclude(item); }
    void SetDesigning(bool designing, bool children = true);

protected:
    // op is opInsert when component joins this one's owner tree, opRemove
    // when it leaves or is freed. The default passes it on to every owned
    // component.
    virtual void Notification(TComponent* component, TOperation operation);
    virtual void ValidateRename(TComponent* component, const String& currentName, const String& newName);

private:
    friend class TReader;
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    // Ends the free notification with component unless a published object
    // property of this one still names it.
    void DropReference(TComponent* component);

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    String FName;
    int FTag = 0;
    TComponentState FComponentState;
};

// Free notification for an object that is not a component itself (an
// extension or a settings object that refers to components): the object
// keeps a notifier, points its references with the notifier's
// ReplaceReference, and the notifier calls onRemove with each referenced
// component that is freed, for the object to drop its references to it.
// Several references may name one component: it is watched until none
// does. The notifier has no owner and is never stored.
class TFreeNotifier : public TComponent {
    QL_CLASS(TFreeNotifier, TComponent)
public:
    explicit TFreeNotifier(std::function<void(TComponent*)> onRemove)
        : TComponent(nullptr), FOnRemove(std::move(onRemove)) {}

    // As TComponent's, but the component a reference named stays watched
    // while another reference names it.
    template <class T>
    bool ReplaceReference(T*& reference, T* value) {
        if (reference == value) return false;
        if (value) Watch(value);
        TComponent* old = reference;
        reference = value;
        if (old) Unwatch(old);
        return true;
    }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Watch(TComponent* component);
    void Unwatch(TComponent* component);

    std::function<void(TComponent*)> FOnRemove;
    // The watched components, each with the number of references to it.
    std::vector<std::pair<TComponent*, int>> FWatched;
};

bool IsValidIdent(const String& ident);

// ---- Collections ------------------------------------------------------------

class TCollection;

class TCollectionItem : public TPersistent {
    QL_CLASS(TCollectionItem, TPersistent)
public:
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    void SetCollection(TCollection* collection);
    int Index() const;
    void SetIndex(int index);
    int ID() const { return FID; }
    virtual String GetDisplayName();
    virtual void SetDisplayName(const String& name) { Changed(false); }
    TPersistent* GetOwner() override;
    String GetNamePath() override;
    // The collection names the new item, is told it was added and that it
    // changed: only now that the whole item is built (see the constructor).
    void AfterConstruction() override;

protected:
    // Tells the collection that this item (allItems false) or every item
    // changed.
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
    bool FAnnounce = false;
};

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
    QL_CLASS(TCollection, TPersistent)
public:
    explicit TCollection(TClass itemClass);
    ~TCollection() override;

    TClass ItemClass() const { return FItemClass; }
    int Count() const { return int(FItems.size()); }
    // Raises EListError "List index out of bounds (%d)" for a bad index.
    TCollectionItem* Items(int index) const;
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    TCollectionItem* FindItemID(int id) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    void Assign(TPersistent* source) override;
    String GetNamePath() override;

protected:
    // Called with the changed item, or nullptr when every item changed,
    // once no update is pending.
    virtual void Update(TCollectionItem* item) {}
    virtual void Notify(TCollectionItem* item, TCollectionNotification action) {}
    void Changed();
    virtual void SetItemName(TCollectionItem* item) {}

private:
    friend class TCollectionItem;
    // Takes the item into the list; with announce, also names it and tells
    // of it (Notify cnAdded, Changed), which AnnounceItem does otherwise.
    void InsertItem(TCollectionItem* item, bool checkClass, bool announce = true);
    void AnnounceItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);
    void MoveItem(int from, int to);

    TClass FItemClass;
    std::vector<TCollectionItem*> FItems;
    int FUpdateCount = 0;
    int FNextID = 0;
};

// A collection that names its owner, so the stored layout and name paths
// can find their way up from an item.
class TOwnedCollection : public TCollection {
    QL_CLASS(TOwnedCollection, TCollection)
public:
    TOwnedCollection(TPersistent* owner, TClass itemClass) : TCollection(itemClass), FOwner(owner) {}
    TPersistent* GetOwner() override { return FOwner; }

private:
    TPersistent* FOwner;
};

// Raised by lists for a bad index: "List index out of bounds (%d)".
[[noreturn]] void RaiseListIndexError(int index);
