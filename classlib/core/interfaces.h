// Interfaces by identifier: a GUID type, the interface base that answers
// QueryInterface by GUID, and Supports, which asks any TObject for an
// interface.
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
// A class implements it by deriving from it and answering QueryInterface,
// usually with QueryInterfaces<IFoo, IBar>(this, iid, obj). There is no
// reference counting: the object's lifetime is its owner's business
// (components belong to their owner), and an interface pointer is valid
// only while the object lives.
#pragma once

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
    // Sets *obj to this object's implementation of the interface iid and
    // returns true, or sets it to nullptr and returns false.
    virtual bool QueryInterface(const TGUID& iid, void** obj) = 0;

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

// True when instance implements the interface iid; *intf then points to it.
// A null instance, or one that implements no interface, gives false.
bool Supports(TObject* instance, const TGUID& iid, void** intf);
// The same with the interface type: nullptr when instance lacks it.
template <class I>
I* Supports(TObject* instance) {
    void* p = nullptr;
    return Supports(instance, I::IID, &p) ? static_cast<I*>(p) : nullptr;
}
