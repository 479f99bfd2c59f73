// Type-information access: the class library's type descriptions
// (TTypeInfo) wrapped in reference-counted objects, one class per kind of
// type, reached through interfaces; and set values as text.
//
// A set value is a little-endian bit array of ZevSetSize bytes: its first
// byte holds the element type's minimum rounded down to a multiple of 8,
// so element v is bit (v - minimum + minimum mod 8).
#pragma once

#include <cstdint>
#include <memory>

#include "classlib/core/interfaces.h"
#include "classlib/core/typinfo.h"

class TStrings;

// ---- Set values ---------------------------------------------------------------------

// The number of bytes of a value of setType (a tkSet type description).
int ZevSetSize(const TTypeInfo* setType);
// The bit of element in a value of setType (see above).
int ZevSetBitOf(const TTypeInfo* setType, Int64 element);
// Between a set value and the bits a set property holds (element v at bit
// v); elements that do not fit in 64 bits are dropped.
void ZevSetFromBits(const TTypeInfo* setType, std::uint64_t bits, void* value);
std::uint64_t ZevSetToBits(const TTypeInfo* setType, const void* value);

// The element names (enumerations) or decimal numbers (other element
// types) of the elements in value, joined with ", "; with wantBrackets in
// "[" and "]"; with wantRanges, runs of two or more elements as
// "first .. last". An empty set gives "[]" or "".
String SetValueToText(const TTypeInfo* setType, const void* value, bool wantBrackets = true, bool wantRanges = false);
// Parses text (items separated by ",", brackets optional, blanks around
// items ignored, "a .. b" for a range) into value, which is cleared first.
// An unknown enumeration name raises EZevRTTIError "Unknown identifier
// '%s'."; a non-number for other element types, and an element outside
// the element type's range, raise EConvertError.
void TextToSetValue(const TTypeInfo* setType, void* value, const String& text);

// ---- Interfaces ---------------------------------------------------------------------

enum TZevOrdinalType { otSByte, otUByte, otSWord, otUWord, otSLong, otULong };
QL_DECLARE_ENUM(TZevOrdinalType);

class IZevBaseInfo : public virtual IInterface {
public:
    // One labelled line per attribute ("Name: ...", "Type kind: ...").
    virtual void WriteTo(TStrings& dest) = 0;
    // A declaration of the type, or "// Declaration for '%s' not
    // supported." for kinds without one.
    virtual void DeclarationTo(TStrings& dest) = 0;

protected:
    ~IZevBaseInfo() = default;
};

class IZevTypeInfo : public virtual IZevBaseInfo {
public:
    static constexpr TGUID IID = GUID("{7DAD5220-46EA-11D5-B0C0-4854E825F345}");
    virtual String Name() const = 0;
    virtual TTypeKind TypeKind() const = 0;
    virtual const TTypeInfo* TypeInfo() const = 0;

protected:
    ~IZevTypeInfo() = default;
};

class IZevOrdinalTypeInfo : public virtual IZevTypeInfo {
public:
    static constexpr TGUID IID = GUID("{7DAD5221-46EA-11D5-B0C0-4854E825F345}");
    virtual TZevOrdinalType OrdinalType() const = 0;

protected:
    ~IZevOrdinalTypeInfo() = default;
};

class IZevOrdinalRangeTypeInfo : public virtual IZevOrdinalTypeInfo {
public:
    static constexpr TGUID IID = GUID("{7DAD5222-46EA-11D5-B0C0-4854E825F345}");
    virtual Int64 MinValue() const = 0;
    virtual Int64 MaxValue() const = 0;

protected:
    ~IZevOrdinalRangeTypeInfo() = default;
};

class IZevEnumerationTypeInfo : public virtual IZevOrdinalRangeTypeInfo {
public:
    static constexpr TGUID IID = GUID("{7DAD5223-46EA-11D5-B0C0-4854E825F345}");
    virtual TIntfPtr<IZevEnumerationTypeInfo> BaseType() = 0;
    // The name of value (its decimal text outside the range).
    virtual String Names(Int64 value) const = 0;
    virtual String UnitName() const = 0;
    // The value of a name, ignoring case, searching from the highest value
    // down; -1 when it is none of the type's names.
    virtual Int64 IndexOfName(const String& name) const = 0;

protected:
    ~IZevEnumerationTypeInfo() = default;
};

class IZevSetTypeInfo : public virtual IZevOrdinalTypeInfo {
public:
    static constexpr TGUID IID = GUID("{7DAD5224-46EA-11D5-B0C0-4854E825F345}");
    virtual TIntfPtr<IZevOrdinalTypeInfo> BaseType() = 0;
    // Appends the elements of value to list (see SetValueToText).
    virtual void GetAsList(const void* value, bool wantRanges, TStrings& list) = 0;
    // Sets value from the items of list (see TextToSetValue).
    virtual void SetAsList(void* value, TStrings& list) = 0;

protected:
    ~IZevSetTypeInfo() = default;
};

// ---- Wrappers ---------------------------------------------------------------------

// A new wrapper of the class that fits typeInfo's kind: integers and
// characters TZevOrdinalRangeTypeInfo, enumerations TZevEnumerationTypeInfo,
// floats TZevFloatTypeInfo, strings TZevStringTypeInfo, sets
// TZevSetTypeInfo, classes TZevClassTypeInfo, methods TZevEventTypeInfo,
// interfaces TZevInterfaceTypeInfo, 64-bit integers TZevInt64TypeInfo,
// dynamic arrays TZevDynArrayTypeInfo, any other kind TZevTypeInfo.
TIntfPtr<IZevTypeInfo> ZevTypeInfo(const TTypeInfo* typeInfo);

// The interface I of a wrapper, with a reference of its own; empty when the
// wrapper does not implement it.
template <class I, class From>
TIntfPtr<I> ZevQuery(const TIntfPtr<From>& wrapper) {
    return IntfCast<I>(wrapper);
}

// Wrappers are counted objects: they live while a TIntfPtr holds them.
class TZevTypeInfo : public TInterfacedObject, public virtual IZevTypeInfo {
public:
    explicit TZevTypeInfo(const TTypeInfo* typeInfo) : FTypeInfo(typeInfo) {}
    ~TZevTypeInfo() override = default;

    bool QueryInterface(const TGUID& iid, void** obj) override;
    String Name() const override { return FTypeInfo->Name; }
    TTypeKind TypeKind() const override { return FTypeInfo->Kind; }
    const TTypeInfo* TypeInfo() const override { return FTypeInfo; }
    void WriteTo(TStrings& dest) override;
    void DeclarationTo(TStrings& dest) override;

protected:
    const TTypeInfo* FTypeInfo;
};

class TZevOrdinalTypeInfo : public TZevTypeInfo, public virtual IZevOrdinalTypeInfo {
public:
    using TZevTypeInfo::TZevTypeInfo;
    bool QueryInterface(const TGUID& iid, void** obj) override;
    // The smallest storage that holds the type's range.
    TZevOrdinalType OrdinalType() const override;
    void WriteTo(TStrings& dest) override;
};

class TZevOrdinalRangeTypeInfo : public TZevOrdinalTypeInfo, public virtual IZevOrdinalRangeTypeInfo {
public:
    using TZevOrdinalTypeInfo::TZevOrdinalTypeInfo;
    bool QueryInterface(const TGUID& iid, void** obj) override;
    Int64 MinValue() const override { return FTypeInfo->MinValue; }
    Int64 MaxValue() const override { return FTypeInfo->MaxValue; }
    void WriteTo(TStrings& dest) override;
    void DeclarationTo(TStrings& dest) override;
};

class TZevEnumerationTypeInfo : public TZevOrdinalRangeTypeInfo, public virtual IZevEnumerationTypeInfo {
public:
    using TZevOrdinalRangeTypeInfo::TZevOrdinalRangeTypeInfo;
    bool QueryInterface(const TGUID& iid, void** obj) override;
    // The class library's enumerations have no base type of their own:
    // the type itself.
    TIntfPtr<IZevEnumerationTypeInfo> BaseType() override;
    String Names(Int64 value) const override;
    String UnitName() const override { return String(); }
    Int64 IndexOfName(const String& name) const override;
    void WriteTo(TStrings& dest) override;
    void DeclarationTo(TStrings& dest) override;
};

class TZevSetTypeInfo : public TZevOrdinalTypeInfo, public virtual IZevSetTypeInfo {
public:
    using TZevOrdinalTypeInfo::TZevOrdinalTypeInfo;
    bool QueryInterface(const TGUID& iid, void** obj) override;
    TIntfPtr<IZevOrdinalTypeInfo> BaseType() override;
    void GetAsList(const void* value, bool wantRanges, TStrings& list) override;
    void SetAsList(void* value, TStrings& list) override;
    void WriteTo(TStrings& dest) override;
    void DeclarationTo(TStrings& dest) override;
};

class TZevFloatTypeInfo : public TZevTypeInfo {
public:
    using TZevTypeInfo::TZevTypeInfo;
    TFloatType FloatType() const { return FTypeInfo->FloatType; }
    void WriteTo(TStrings& dest) override;
    void DeclarationTo(TStrings& dest) override;
};

class TZevInt64TypeInfo : public TZevTypeInfo {
public:
    using TZevTypeInfo::TZevTypeInfo;
    Int64 MinValue() const { return FTypeInfo->MinValue; }
    Int64 MaxValue() const { return FTypeInfo->MaxValue; }
    void WriteTo(TStrings& dest) override;
    void DeclarationTo(TStrings& dest) override;
};

// A string type: the most characters a value holds.
class TZevStringTypeInfo : public TZevTypeInfo {
public:
    using TZevTypeInfo::TZevTypeInfo;
    Int64 MaxLength() const { return FTypeInfo->MaxLength; }
    void WriteTo(TStrings& dest) override;
    void DeclarationTo(TStrings& dest) override;
};

// A dynamic array type.
class TZevDynArrayTypeInfo : public TZevTypeInfo {
public:
    using TZevTypeInfo::TZevTypeInfo;
    int ElementSize() const { return FTypeInfo->ElemSize; }
    TIntfPtr<IZevTypeInfo> ElementType() const { return ZevTypeInfo(FTypeInfo->ElemType); }
    // Whether an element owns something that must be released with it.
    bool ElementsNeedCleanup() const { return FTypeInfo->ElemNeedsCleanup; }
    // The variant type that holds an element; -1 when none does.
    int VarType() const { return FTypeInfo->ElemVarType; }
    // The class library's types name no unit: empty.
    String UnitName() const { return String(); }
    void WriteTo(TStrings& dest) override;
    void DeclarationTo(TStrings& dest) override;
};

// ---- Method and interface types ----

enum TZevMethodKind { mkProcedure, mkFunction };
QL_DECLARE_ENUM(TZevMethodKind);
enum TZevParamFlag { pfVar, pfConst, pfArray, pfAddress, pfReference, pfOut };
QL_DECLARE_ENUM(TZevParamFlag);
using TZevParamFlags = TSet<TZevParamFlag>;

// One parameter of a method type. The class library's method types carry
// no parameter names: Name is empty.
class TZevEventParamInfo : public TInterfacedObject {
public:
    explicit TZevEventParamInfo(const TMethodParamInfo& param) : FParam(param) {}
    ~TZevEventParamInfo() override = default;
    bool QueryInterface(const TGUID& iid, void** obj) override;
    // pfVar for a parameter passed by reference, pfConst for a constant.
    TZevParamFlags Flags() const;
    String Name() const { return String(); }
    String TypeName() const { return MethodParamTypeName(FParam); }
    // The size of the parameter's record in the type data: its flags byte
    // and its name and type name as length-prefixed texts.
    int RecSize() const { return 1 + 1 + int(Name().size()) + 1 + int(TypeName().size()); }

private:
    TMethodParamInfo FParam;
};

// A method (event) type: the class library's events are procedures.
class TZevEventTypeInfo : public TZevTypeInfo {
public:
    using TZevTypeInfo::TZevTypeInfo;
    TZevMethodKind MethodKind() const { return mkProcedure; }
    int ParameterCount() const { return int(FTypeInfo->MethodParams.size()); }
    TIntfPtr<TZevEventParamInfo> Parameters(int index) const;
    // Empty for a procedure.
    String ResultTypeName() const { return String(); }
    void WriteTo(TStrings& dest) override;
    void DeclarationTo(TStrings& dest) override;
};

// An interface type: its identifier. The class library's interface types
// name no parent, flags, properties or unit.
class TZevInterfaceTypeInfo : public TZevTypeInfo {
public:
    using TZevTypeInfo::TZevTypeInfo;
    // nullptr: the class library does not record the parent interface.
    TIntfPtr<TZevInterfaceTypeInfo> Parent() const { return nullptr; }
    int Flags() const { return 0; }
    TGUID GUID() const { return FTypeInfo->IntfIID; }
    int PropertyCount() const { return 0; }
    String UnitName() const { return String(); }
    void WriteTo(TStrings& dest) override;
    void DeclarationTo(TStrings& dest) override;
};

class TZevPropInfo;

class TZevClassTypeInfo : public TZevTypeInfo {
public:
    using TZevTypeInfo::TZevTypeInfo;
    TClass ClassRef() const { return FTypeInfo->ClassType(); }
    // nullptr for the root class.
    TIntfPtr<TZevClassTypeInfo> Parent() const;
    // Published properties, the ancestors' included; the class's own.
    int PropertyCount() const;
    int TotalPropertyCount() const { return PropertyCount(); }
    int OwnPropertyCount() const;
    TIntfPtr<TZevPropInfo> Properties(int index) const;
    String PropNames(int index) const;
    String UnitName() const { return String(); }
    void WriteTo(TStrings& dest) override;
    void DeclarationTo(TStrings& dest) override;
};

// How a property's reader, writer or stored rule is reached.
enum TZevPropSpecKind { pskNone, pskStaticMethod, pskVirtualMethod, pskField, pskConstant };
QL_DECLARE_ENUM(TZevPropSpecKind);

// One published property.
class TZevPropInfo : public TInterfacedObject {
public:
    // nameIndex: the property's place in its class's property list (-1
    // when it is not known).
    explicit TZevPropInfo(const TPropInfo* propInfo, int nameIndex = -1) : FPropInfo(propInfo), FNameIndex(nameIndex) {}
    ~TZevPropInfo() override = default;

    bool QueryInterface(const TGUID& iid, void** obj) override;
    const TPropInfo* PropInfo() const { return FPropInfo; }
    String Name() const { return FPropInfo->Name; }
    int NameIndex() const { return FNameIndex; }
    TIntfPtr<IZevTypeInfo> PropType() const { return ZevTypeInfo(FPropInfo->PropType()); }

    // The accessors: how each is reached, and its field offset, method
    // address (nullptr for a callable object), virtual slot or constant
    // (0 or 1) as one number; 0 for none.
    TPropAccess Reader() const { return FPropInfo->ReaderAccess; }
    TPropAccess Writer() const { return FPropInfo->WriterAccess; }
    TPropAccess Stored() const { return FPropInfo->StoredAccess(); }
    TZevPropSpecKind ReaderType() const { return SpecKind(Reader()); }
    TZevPropSpecKind WriterType() const { return SpecKind(Writer()); }
    TZevPropSpecKind StoredType() const { return SpecKind(Stored()); }
    std::intptr_t ReaderValue() const { return SpecValue(Reader()); }
    std::intptr_t WriterValue() const { return SpecValue(Writer()); }
    std::intptr_t StoredValue() const { return SpecValue(Stored()); }
    bool HasReader() const { return FPropInfo->HasGetter(); }
    bool HasWriter() const { return FPropInfo->HasSetter(); }

    // Whether the property is stored for instance.
    bool IsStored(TObject* instance) const { return IsStoredProp(instance, FPropInfo); }
    // The declared default of an ordinal or set property
    // (TPropInfo::NoDefault when it has none).
    bool HasDefault() const { return FPropInfo->Default != TPropInfo::NoDefault; }
    Int64 Default() const { return FPropInfo->Default; }
    // The index the accessors are called with (TPropInfo::NoIndex when the
    // property has none).
    bool HasIndex() const { return FPropInfo->HasIndex(); }
    int Index() const { return FPropInfo->Index; }

    static TZevPropSpecKind SpecKind(const TPropAccess& access);
    static std::intptr_t SpecValue(const TPropAccess& access);

private:
    const TPropInfo* FPropInfo;
    int FNameIndex;
};

// ---- The unit ------------------------------------------------------------------------

// Start-up: makes the process-wide list of type descriptions made at run
// time (nothing in this program adds to it). Finalisation empties and
// frees it. The list is locked on every access.
void ZevRttiInitialize();
void ZevRttiFinalize();
// Adds a type description made at run time (counted), and releases one;
// false when the list does not exist.
bool ZevAddRuntimeTypeInfo(const TTypeInfo* typeInfo);
bool ZevReleaseRuntimeTypeInfo(const TTypeInfo* typeInfo);
int ZevRuntimeTypeInfoCount();
