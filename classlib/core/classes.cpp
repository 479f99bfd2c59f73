#include "classlib/core/classes.h"

#include <algorithm>

#include "classlib/core/filer.h"
#include "classlib/core/scopes.h"
#include "classlib/core/sysutils.h"

void RaiseListIndexError(int index) { throw EListError("List index out of bounds (" + std::to_string(index) + ")"); }

bool IsValidIdent(const String& ident) {
    if (ident.empty()) return false;
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!alpha(ident[0])) return false;
    for (char c : ident)
        if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
    return true;
}

// ---- TPersistent ------------------------------------------------------------

TClass TPersistent::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPersistent>("TPersistent").Build();
    return &info;
}

void TPersistent::Assign(TPersistent* source) {
    if (source)
        source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) { dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* source) {
    String sourceName = source ? source->ClassName() : "nil";
    throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

String TPersistent::GetNamePath() {
    String result = ClassName();
    if (TPersistent* owner = GetOwner()) {
        String s = owner->GetNamePath();
        if (!s.empty()) result = s + "." + result;
    }
    return result;
}

// ---- TComponent -------------------------------------------------------------

QL_DEFINE_ENUM(TComponentStateItem, "csLoading", "csReading", "csWriting", "csDestroying", "csDesigning", "csAncestor",
               "csUpdating", "csFixups", "csFreeNotification", "csInline", "csDesignInstance")

TClass TComponent::StaticClass() {
    static const TClassInfo info = TClassBuilder<TComponent>("TComponent")
                                       .Implements<IInterfaceComponentReference>()
                                       .Prop("Name", &TComponent::Name, &TComponent::SetName)
                                       .Stored(false)
                                       .Prop("Tag", &TComponent::FTag, &TComponent::FTag)
                                       .Default(0)
                                       .Build();
    return &info;
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    // Everyone that asked to be told: the default Notification drops the
    // link, but the link is dropped here first so an override that does not
    // call the inherited one cannot loop.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        auto& back = other->FFreeNotifies;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= int(FComponents.size())) RaiseListIndexError(index);
    return FComponents[size_t(index)];
}

int TComponent::ComponentIndex() const {
    if (!FOwner) return -1;
    auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

TComponent* TComponent::FindComponent(const String& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, name)) return c;
    return nullptr;
}

void TComponent::SetName(const String& name) {
    if (FName == name) return;
    if (!name.empty() && !IsValidIdent(name)) throw EComponentError("'" + name + "' is not a valid component name");
    if (FOwner)
        FOwner->ValidateRename(this, FName, name);
    else
        ValidateRename(nullptr, FName, name);
    FName = name;
}

void TComponent::ValidateRename(TComponent* component, const String& currentName, const String& newName) {
    if (component && !SameText(currentName, newName) && component->FOwner == this) {
        TComponent* other = FindComponent(newName);
        if (other && other != component) throw EComponentError("A component named " + newName + " already exists");
    }
}

void TComponent::Insert(TComponent* component) {
    FComponents.push_back(component);
    component->FOwner = this;
}

void TComponent::Remove(TComponent* component) {
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), component), FComponents.end());
    component->FOwner = nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (component->FOwner) component->FOwner->RemoveComponent(component);
    ValidateRename(component, String(), component->FName);
    Insert(component);
    if (IsDesigning()) component->SetDesigning(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    Notification(component, opRemove);
    Remove(component);
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        Remove(c);
        c->Free();
    }
}

void TComponent::Destroying() {
    if (FComponentState.Contains(csDestroying)) return;
    FComponentState.Include(csDestroying);
    for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    // Components of one owner hear of each other through the owner.
    if (!FOwner || component->FOwner != FOwner) {
        if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end()) {
            FFreeNotifies.push_back(component);
            component->FreeNotification(this);
        }
    }
    FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component);
    if (it == FFreeNotifies.end()) return;
    FFreeNotifies.erase(it);
    component->RemoveFreeNotification(this);
}

void TComponent::DropReference(TComponent* component) {
    for (const TPropInfo* prop : GetPropList(ClassType()))
        if (prop->GetObj && prop->GetObj(this) == component) return;
    RemoveFreeNotification(component);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component) RemoveFreeNotification(component);
    // The list may shrink while it is told.
    for (int i = int(FComponents.size()) - 1; i >= 0; --i) {
        if (i >= int(FComponents.size())) continue;
        FComponents[size_t(i)]->Notification(component, operation);
    }
}

void TComponent::ReadState(TReader* reader) {
    if (TComponent* parent = reader->Parent()) SetParentComponent(parent);
    reader->ReadData(this);
}

void TComponent::WriteState(TWriter* writer) { writer->WriteData(this); }

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::GetChildren(const TGetChildProc& proc, TComponent* root) {
    if (root != this) return;
    for (TComponent* c : FComponents)
        if (!c->HasParent()) proc(c);
}

void TComponent::SetDesigning(bool designing, bool children) {
    if (designing)
        FComponentState.Include(csDesigning);
    else
        FComponentState.Exclude(csDesigning);
    if (children)
        for (TComponent* c : FComponents) c->SetDesigning(designing, true);
}

// ---- TFreeNotifier ------------------------------------------------------------

TClass TFreeNotifier::StaticClass() {
    static const TClassInfo info = TClassBuilder<TFreeNotifier>("TFreeNotifier").Build();
    return &info;
}

void TFreeNotifier::Watch(TComponent* component) {
    auto it = std::find_if(FWatched.begin(), FWatched.end(), [component](auto& w) { return w.first == component; });
    if (it != FWatched.end()) {
        ++it->second;
        return;
    }
    FWatched.emplace_back(component, 1);
    component->FreeNotification(this);
}

void TFreeNotifier::Unwatch(TComponent* component) {
    auto it = std::find_if(FWatched.begin(), FWatched.end(), [component](auto& w) { return w.first == component; });
    if (it == FWatched.end() || --it->second > 0) return;
    FWatched.erase(it);
    component->RemoveFreeNotification(this);
}

void TFreeNotifier::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove || !component) return;
    if (FOnRemove) FOnRemove(component);
    // References the holder did not drop are no longer counted either.
    std::erase_if(FWatched, [component](auto& w) { return w.first == component; });
}

// ---- TCollectionItem ----------------------------------------------------------

TClass TCollectionItem::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCollectionItem>("TCollectionItem").Build();
    return &info;
}

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

TCollectionItem::TCollectionItem(TCollection* collection) {
    // While this constructor runs the item does not know its final class
    // yet, so the collection's class check is left to SetCollection (items
    // that Add makes are of the item class already). The item is in the
    // list from here on (a descendant's constructor may ask its Index), but
    // the collection hears of it only in AfterConstruction: a collection
    // that looks at its items when they change would otherwise read the
    // members of a descendant that are not made yet.
    if (collection) {
        collection->InsertItem(this, false, false);
        FAnnounce = true;
    }
}

void TCollectionItem::AfterConstruction() {
    TPersistent::AfterConstruction();
    if (!FAnnounce) return;
    FAnnounce = false;
    if (FCollection) FCollection->AnnounceItem(this);
}

void TCollectionItem::SetCollection(TCollection* collection) {
    if (FCollection == collection) return;
    if (FCollection) FCollection->RemoveItem(this);
    if (collection) collection->InsertItem(this, true);
}

int TCollectionItem::Index() const {
    if (!FCollection) return -1;
    auto& items = FCollection->FItems;
    auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : int(it - items.begin());
}

void TCollectionItem::SetIndex(int index) {
    int current = Index();
    if (current >= 0 && current != index) {
        FCollection->MoveItem(current, index);
        Changed(true);
    }
}

String TCollectionItem::GetDisplayName() { return ClassName(); }

TPersistent* TCollectionItem::GetOwner() { return FCollection; }

String TCollectionItem::GetNamePath() {
    if (!FCollection) return ClassName();
    return FCollection->GetNamePath() + "[" + std::to_string(Index()) + "]";
}

void TCollectionItem::Changed(bool allItems) {
    if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(allItems ? nullptr : this);
}

// ---- TCollection ------------------------------------------------------------------

TClass TCollection::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCollection>("TCollection").Build();
    return &info;
}

TClass TOwnedCollection::StaticClass() {
    static const TClassInfo info = TClassBuilder<TOwnedCollection>("TOwnedCollection").Build();
    return &info;
}

TCollection::TCollection(TClass itemClass) : FItemClass(itemClass) {}

TCollection::~TCollection() {
    FUpdateCount = 1;  // no Update calls while tearing down
    while (!FItems.empty()) delete FItems.back();
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= int(FItems.size())) RaiseListIndexError(index);
    return FItems[size_t(index)];
}

TCollectionItem* TCollection::Add() {
    if (!FItemClass || !FItemClass->CreateItem)
        throw EInvalidOperation("Cannot create items of class " + (FItemClass ? FItemClass->Name : String("nil")));
    return FItemClass->CreateItem(this);
}

TCollectionItem* TCollection::Insert(int index) {
    TUpdateScope update(*this);
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index) {
    TCollectionItem* item = Items(index);
    Notify(item, cnDeleting);
    delete item;
}

void TCollection::Clear() {
    if (FItems.empty()) return;
    BeginUpdate();
    while (!FItems.empty()) delete FItems.back();
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (TCollectionItem* item : FItems)
        if (item->FID == id) return item;
    return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
    Changed();
}

void TCollection::Changed() {
    if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TCollection*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    TUpdateScope update(*this);
    Clear();
    for (TCollectionItem* item : other->FItems) Add()->Assign(item);
}

String TCollection::GetNamePath() {
    String result = ClassName();
    TPersistent* owner = GetOwner();
    if (!owner) return result;
    String s = owner->GetNamePath();
    if (s.empty()) return result;
    for (const TPropInfo* p : GetPropList(owner->ClassType()))
        if (p->PropType()->Kind == tkClass && p->GetObj && p->GetObj(owner) == this) return s + "." + p->Name;
    return result;
}

void TCollection::InsertItem(TCollectionItem* item, bool checkClass, bool announce) {
    if (checkClass && FItemClass && !item->InheritsFrom(FItemClass))
        throw EListError(String("Invalid property value: ") + item->ClassName() + " is not a " + FItemClass->Name);
    FItems.push_back(item);
    item->FCollection = this;
    item->FID = FNextID++;
    if (announce) AnnounceItem(item);
}

void TCollection::AnnounceItem(TCollectionItem* item) {
    SetItemName(item);
    Notify(item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
    Notify(item, cnExtracting);
    FItems.erase(std::remove(FItems.begin(), FItems.end(), item), FItems.end());
    item->FCollection = nullptr;
    Changed();
}

void TCollection::MoveItem(int from, int to) {
    if (to < 0) to = 0;
    if (to >= int(FItems.size())) to = int(FItems.size()) - 1;
    TCollectionItem* item = FItems[size_t(from)];
    FItems.erase(FItems.begin() + from);
    FItems.insert(FItems.begin() + to, item);
}
