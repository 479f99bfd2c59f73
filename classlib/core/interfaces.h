// Interfaces by identifier: a GUID type, the interface base with its
// query by GUID and its reference counting, the one smart pointer that does
// the counting (TIntfPtr), the counted object bases and aggregation.
//
// An interface is an abstract class deriving (virtually, so that one class
// may implement several) from IInterface that names its identifier:
//
//   class IZvAppStorageHandler : public virtual IInterface {
//   public:
//       static constexpr TGUID IID = GUID("{E3754817-49A3-4612-A228-5D44A088681D}");
//       virtual void ReadFromAppStorage(...) = 0;
//   };
//
// A class implements it by deriving from it and naming it in its class
// description (TClassBuilder's Implements<IFoo, IBar>()), which is what
// QueryInterface answers by default; or by overriding QueryInterface,
// usually with QueryInterfaces<IFoo, IBar>(this, iid, obj).
//
// Lifetimes. Components do not count: _AddRef and _Release answer -1 and the
// owner frees the component. Counted objects (TInterfacedObject and the
// TRefCounted<Base> family) live while a TIntfPtr holds them: they are made
// with NewObject<T>(...), count 1 while their constructors run and 0 once
// made, and the _Release that brings the count to 0 frees them. Code never
// calls _AddRef or _Release itself: TIntfPtr does. QueryInterface and
// Supports hand out plain pointers without counting them; a TIntfPtr made
// from one counts it.
#pragma once

#include <atomic>
#include <cstddef>
#include <type_traits>
#include <utility>

#include "classlib/core/exceptions.h"
#include "classlib/core/object.h"

struct TGUID {
    LongWord D1 = 0;
    Word D2 = 0;
    Word D3 = 0;
    Byte D4[8] = {};

    constexpr bool operator==(const TGUID& other) const {
        if (D1 != other.D1 || D2 != other.D2 || D3 != other.D3) return false;
        for (int i = 0; i < 8; ++i)
            if (D4[i] != other.D4[i]) return false;
        return true;
    }
    // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
    String ToString() const;
};

namespace interfaces_detail {
consteval int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    throw "not a hexadecimal digit";  // a compile-time error
}
consteval unsigned long long HexField(const char* s, int from, int digits) {
    unsigned long long v = 0;
    for (int i = 0; i < digits; ++i) v = v * 16 + unsigned(HexDigit(s[from + i]));
    return v;
}
}  // namespace interfaces_detail

// A GUID from its registry form "{8-4-4-4-12}", checked at compile time.
// Written GUID("{...}"): the Windows headers name their own GUID type so,
// and a type and a function cannot share the name, hence the macro, which
// only a "(" right after the name calls (the Windows headers never write
// that).
consteval TGUID StringToGUID(const char (&text)[39]) {
    using interfaces_detail::HexField;
    if (text[0] != '{' || text[9] != '-' || text[14] != '-' || text[19] != '-' || text[24] != '-' || text[37] != '}')
        throw "not a GUID";
    TGUID g;
    g.D1 = LongWord(HexField(text, 1, 8));
    g.D2 = Word(HexField(text, 10, 4));
    g.D3 = Word(HexField(text, 15, 4));
    g.D4[0] = Byte(HexField(text, 20, 2));
    g.D4[1] = Byte(HexField(text, 22, 2));
    for (int i = 0; i < 6; ++i) g.D4[2 + i] = Byte(HexField(text, 25 + 2 * i, 2));
    return g;
}
#define GUID(text) StringToGUID(text)

// The base of every interface.
class IInterface {
public:
    static constexpr TGUID IID = StringToGUID("{00000000-0000-0000-C000-000000000046}");
    // Sets *obj to this object's implementation of the interface iid and
    // returns true, or sets it to nullptr and returns false. The pointer is
    // not counted.
    virtual bool QueryInterface(const TGUID& iid, void** obj) = 0;
    // The new count, or -1 for an object whose lifetime is not counted.
    virtual int _AddRef() = 0;
    virtual int _Release() = 0;

protected:
    ~IInterface() = default;
};

// Answers QueryInterface for the interfaces I... that self implements.
template <class... I, class Self>
bool QueryInterfaces(Self* self, const TGUID& iid, void** obj) {
    void* found = nullptr;
    ((found == nullptr && iid == I::IID ? (found = static_cast<I*>(self), 0) : 0), ...);
    *obj = found;
    return found != nullptr;
}

// True when instance (a TObject or an interface) implements the interface
// iid; *intf then points to it (not counted). A null instance, or one that
// implements no interface, gives false.
bool SupportsObject(TObject* instance, const TGUID& iid, void** intf);
bool SupportsInterface(IInterface* instance, const TGUID& iid, void** intf);
template <class T>
bool Supports(T* instance, const TGUID& iid, void** intf) {
    if constexpr (std::is_base_of_v<TObject, T>)
        return SupportsObject(instance, iid, intf);
    else
        return SupportsInterface(instance, iid, intf);
}
// The same with the interface type: nullptr when instance lacks it.
template <class I, class T>
I* Supports(T* instance) {
    void* p = nullptr;
    return Supports(instance, I::IID, &p) ? static_cast<I*>(p) : nullptr;
}

// ---- The counting pointer --------------------------------------------------

// Holds one reference to an interface: counts it when it takes the pointer
// and releases it when it lets go. Copying counts again; moving does not.
template <class I>
class TIntfPtr {
public:
    TIntfPtr() = default;
    TIntfPtr(std::nullptr_t) {}
    TIntfPtr(I* p) : FPtr(p) {
        if (FPtr) FPtr->_AddRef();
    }
    TIntfPtr(const TIntfPtr& other) : TIntfPtr(other.FPtr) {}
    template <class J>
    requires std::is_convertible_v<J*, I*> TIntfPtr(const TIntfPtr<J>& other) : TIntfPtr(other.Get()) {}
    TIntfPtr(TIntfPtr&& other) noexcept : FPtr(std::exchange(other.FPtr, nullptr)) {}
    ~TIntfPtr() { Reset(); }

    TIntfPtr& operator=(TIntfPtr other) {
        std::swap(FPtr, other.FPtr);
        return *this;  // other releases the old pointer
    }

    // Lets go of the pointer (the object may be freed).
    void Reset() {
        if (I* p = std::exchange(FPtr, nullptr)) p->_Release();
    }
    I* Get() const { return FPtr; }
    I* operator->() const { return FPtr; }
    I& operator*() const { return *FPtr; }
    explicit operator bool() const { return FPtr != nullptr; }
    friend bool operator==(const TIntfPtr& a, const TIntfPtr& b) { return a.FPtr == b.FPtr; }
    friend bool operator==(const TIntfPtr& a, std::nullptr_t) { return a.FPtr == nullptr; }

private:
    I* FPtr = nullptr;
};

// The interface J of what p points to, counted; empty when it lacks J.
template <class J, class I>
TIntfPtr<J> IntfCast(const TIntfPtr<I>& p) {
    return TIntfPtr<J>(Supports<J>(static_cast<IInterface*>(p.Get())));
}
template <class J>
TIntfPtr<J> IntfCast(IInterface* p) {
    return TIntfPtr<J>(Supports<J>(p));
}
template <class J>
TIntfPtr<J> IntfCast(TObject* p) {
    return TIntfPtr<J>(Supports<J>(p));
}
// The same, raising EIntfCastError "Interface not supported" when p is
// set and lacks J.
template <class J, class P>
TIntfPtr<J> IntfCastChecked(const P& p) {
    TIntfPtr<J> result = IntfCast<J>(p);
    if (!result && p) throw EIntfCastError("Interface not supported");
    return result;
}

// ---- Counted objects -------------------------------------------------------

namespace interfaces_detail {
[[noreturn]] void RaiseFreeWhileReferenced(const char* className, int count);
[[noreturn]] void RaiseReleaseBelowZero(const char* className);
}  // namespace interfaces_detail

// Reference counting over a class-library base (TObject, TPersistent, ...):
// the count is 1 while the constructors run, drops to 0 in
// AfterConstruction, and the _Release that brings it to 0 frees the object.
// Freeing the object while references remain raises EInvalidPointer, and so
// does a _Release with no reference left to release (the count stays 0 and
// nothing is freed again).
// Create it with NewObject<T>(...) (or through its class factory), and hold
// it in TIntfPtr. An undescribed building block: a class made from it
// declares its own description with QL_CLASS(Self, Base).
template <class Base>
class TRefCounted : public Base, public virtual IInterface {
public:
    using Base::Base;

    bool QueryInterface(const TGUID& iid, void** obj) override { return this->GetInterface(iid, obj); }
    int _AddRef() override { return ++FRefCount; }
    int _Release() override {
        int count = FRefCount.load();
        do {
            if (count <= 0) interfaces_detail::RaiseReleaseBelowZero(this->ClassName());
        } while (!FRefCount.compare_exchange_weak(count, count - 1));
        if (count == 1) this->Free();
        return count - 1;
    }
    int RefCount() const { return FRefCount; }

    void AfterConstruction() override {
        Base::AfterConstruction();
        --FRefCount;
    }
    void BeforeDestruction() override {
        if (FRefCount != 0) interfaces_detail::RaiseFreeWhileReferenced(this->ClassName(), FRefCount);
        Base::BeforeDestruction();
    }

protected:
    std::atomic<int> FRefCount{1};
};

// An inner object aggregated into a controlling outer object: its interface
// queries and its reference counts go to the controller, so an interface of
// the inner object keeps the outer one alive. Its own lookup (GetInterface)
// finds only what its class implements; the controller uses that to answer
// for its parts. The controller is not counted: it owns its parts.
template <class Base>
class TAggregated : public Base, public virtual IInterface {
public:
    template <class... Args>
    explicit TAggregated(IInterface* controller, Args&&... args)
        : Base(std::forward<Args>(args)...), FController(controller) {}

    IInterface* Controller() const { return FController; }
    bool QueryInterface(const TGUID& iid, void** obj) override {
        if (FController) return FController->QueryInterface(iid, obj);
        *obj = nullptr;
        return false;
    }
    int _AddRef() override { return FController ? FController->_AddRef() : -1; }
    int _Release() override { return FController ? FController->_Release() : -1; }

private:
    IInterface* FController;
};

// A counted object.
class TInterfacedObject : public TRefCounted<TObject> {
    QL_CLASS(TInterfacedObject, TObject)
};

// An object aggregated into a controller.
class TAggregatedObject : public TAggregated<TObject> {
    QL_CLASS(TAggregatedObject, TObject)
public:
    using TAggregated<TObject>::TAggregated;
};
