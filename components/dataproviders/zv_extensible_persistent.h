// The framework's object model: counted persistent objects that hold an
// ordered list of extensions (TExtensibleInterfacedPersistent), and the
// extensions aggregated into them (TAggregatedPersistent,
// TAggregatedPersistentEx), found by interface query. The stored form of
// the extensions ("Extensions") and the reading of an entry list whose
// entries begin with "ClassName". Portable.
#pragma once

#include <functional>
#include <vector>

#include "classlib/core/classes.h"
#include "classlib/core/filer.h"
#include "components/dataproviders/zv_data_interfaces.h"

class TAggregatedPersistentEx;

// A counted persistent object with extensions. The count is 1 while it is
// being constructed (also while its default extensions are made) and 0
// once it is made; the release that brings it to 0 frees it; freeing it
// while it is referenced, or releasing it with no reference left, raises
// EInvalidPointer and frees nothing. Make it with NewObject or its class
// factory.
class TExtensibleInterfacedPersistent : public TRefCounted<TPersistent> {
    QL_CLASS(TExtensibleInterfacedPersistent, TPersistent)
public:
    TExtensibleInterfacedPersistent() = default;
    ~TExtensibleInterfacedPersistent() override;

    // Its own interfaces first; else each extension that is not hidden,
    // from the last to the first, with its own lookup.
    bool QueryInterface(const TGUID& iid, void** obj) override;
    void AfterConstruction() override;
    void BeforeDestruction() override;

    int ExtensionCount() const { return int(FExtensions.size()); }
    TAggregatedPersistentEx* Extension(int index) const { return FExtensions.at(size_t(index)); }
    // The extension of class cls or of a class that descends from it.
    TAggregatedPersistentEx* FindExtension(TClass cls) const;
    template <class T>
    T* FindExtension() const {
        return static_cast<T*>(FindExtension(T::StaticClass()));
    }
    // An extension made for this object adds itself here; one whose class
    // (or a class it descends from) is already in the list raises
    // EZVLException "Implementation of that class already exists".
    void AddExtension(TAggregatedPersistentEx* extension);
    // Frees the extension (it leaves the list as it goes).
    void RemoveExtension(TAggregatedPersistentEx* extension);
    // Frees every extension, the last first.
    void ClearExtensions();

    // Writes "Extensions" when at least one extension is streamable.
    void DefineProperties(TFiler* filer) override;

protected:
    // Makes the default extensions (none here); runs during construction.
    virtual void InitImplementers() {}
    // An extension is stored when its class is registered for streaming.
    virtual bool IsStreamableExtension(TAggregatedPersistentEx* extension);
    // Whether the stored form may make an extension of class cls here:
    // one made for another kind of owner would find no item, list or
    // consumer to work on. Here: any extension.
    virtual bool AcceptsExtensionClass(TClass cls);

private:
    friend class TAggregatedPersistentEx;
    void DetachExtension(TAggregatedPersistentEx* extension);
    void ReadExtensions(TReader* reader);
    void WriteExtensions(TWriter* writer);

    std::vector<TAggregatedPersistentEx*> FExtensions;
};

// A persistent part of a controlling object: its counting and its
// interface queries go to the controller; its own lookup (GetInterface)
// finds only what its class implements.
class TAggregatedPersistent : public TAggregated<TPersistent> {
    QL_CLASS(TAggregatedPersistent, TPersistent)
public:
    explicit TAggregatedPersistent(TExtensibleInterfacedPersistent* controller);
    TExtensibleInterfacedPersistent* ControllerObject() const { return FControllerObject; }

private:
    TExtensibleInterfacedPersistent* FControllerObject;
};

// An extension: a part that its owner (the controller) lists and owns. It
// joins the owner's list once constructed and leaves it when freed.
class TAggregatedPersistentEx : public TAggregatedPersistent {
    QL_CLASS(TAggregatedPersistentEx, TAggregatedPersistent)
public:
    explicit TAggregatedPersistentEx(TExtensibleInterfacedPersistent* owner) : TAggregatedPersistent(owner) {}
    TExtensibleInterfacedPersistent* Owner() const { return ControllerObject(); }

    void AfterConstruction() override;
    void BeforeDestruction() override;
    // A hidden extension takes no part in its owner's interface queries.
    virtual bool IsHidden() const { return false; }
    TPersistent* GetOwner() override { return Owner(); }
};

// Registers, for an extension class, the constructor the stored form and
// the consumers create it with: CreateObject(cls, owner).
#define QL_EXTENSION_CONSTRUCTOR Constructor<TExtensibleInterfacedPersistent*>()
TAggregatedPersistentEx* CreateExtension(TClass cls, TExtensibleInterfacedPersistent* owner);

// Reading an entry list of the stored form: a collection whose entries
// each begin with "ClassName" (case ignored) naming a registered class
// that descends from base. make gives the object the rest of the entry is
// read into. Errors are the read errors "Expected collection", "Missing
// ClassName property" and "Invalid class type".
void ReadClassEntries(TReader* reader, TClass base, const std::function<TPersistent*(TClass)>& make);
// Writing one entry: "ClassName", then the object's published and defined
// properties, with the writer's property path emptied meanwhile.
void WriteClassEntry(TWriter* writer, TPersistent* object);

// Holds a counted object's count up while a reader uses it, so that
// interface references taken and dropped meanwhile cannot free it.
class TTempReference {
public:
    explicit TTempReference(IInterface* object) : FRef(object) {}

private:
    TIntfPtr<IInterface> FRef;
};
