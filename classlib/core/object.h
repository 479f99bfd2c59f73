// TObject: the root of the class library's class tree.
//
// Every class that takes part in type information (streaming, properties
// by name, class tests by class reference) declares itself with QL_CLASS
// and defines its class description with TClassBuilder (typinfo.h). Plain
// helper classes may derive from TObject without a description of their
// own: they then report the nearest described ancestor.
#pragma once

#include <utility>

#include "classlib/core/scopes.h"
#include "classlib/core/types.h"

struct TClassInfo;
struct TGUID;
using TClass = const TClassInfo*;

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static TClass StaticClass();
    virtual TClass ClassType() const { return StaticClass(); }

    const char* ClassName() const;
    bool InheritsFrom(TClass cls) const;
    // Class test by a C++ type: Is<TControl>().
    template <class T>
    bool Is() const {
        return dynamic_cast<const T*>(this) != nullptr;
    }

    // Called by the code that creates an object once its constructors have
    // all run (NewObject, the class factories, the layout reader,
    // TCollection::Add), and by Free before the destructors start.
    virtual void AfterConstruction() {}
    virtual void BeforeDestruction() {}

    // The interfaces the class description lists (TClassBuilder's
    // Implements), and IInterface itself for an object that implements it:
    // sets *obj (not counted) and returns true, or sets it to nullptr.
    virtual bool GetInterface(const TGUID& iid, void** obj);

    // Deletes the object after BeforeDestruction: the way to free an
    // object whose overrides must still run before its destructors do.
    void Free() {
        BeforeDestruction();
        delete this;
    }
};

// Creates an object and calls its AfterConstruction: the way to make an
// object whose class relies on it (counted objects start counting there).
// When AfterConstruction raises, the object is deleted again.
template <class T, class... Args>
T* NewObject(Args&&... args) {
    T* object = new T(std::forward<Args>(args)...);
    TOnFailure drop([object] { delete object; });
    object->AfterConstruction();
    return object;
}

// Deletes an object and clears the pointer that held it.
template <class T>
void FreeAndNil(T*& object) {
    T* p = object;
    object = nullptr;
    if (p) p->Free();
}

// Declares the class description of a class; put it first in the class body.
// The description itself is defined in the class's .cpp with TClassBuilder.
#define QL_CLASS(Self, Base)                                                                                           \
public:                                                                                                                \
    using inherited = Base;                                                                                            \
    static TClass StaticClass();                                                                                       \
    TClass ClassType() const override { return StaticClass(); }
