// Type information: class descriptions with their published properties,
// methods and fields, type descriptions of property values, and access to
// properties by name.
//
// A class lists what it publishes once, in its .cpp, with TClassBuilder:
//
//   TClass TButton::StaticClass() {
//       static const TClassInfo info = TClassBuilder<TButton>("TButton")
//           .Prop("Caption", &TButton::GetCaption, &TButton::SetCaption)
//           .Prop("Default", &TButton::FDefault, &TButton::SetDefault).Default(false)
//           .Prop("OnClick", &TButton::FOnClick, &TButton::FOnClick)
//           .Build();
//       return &info;
//   }
//
// The stored-layout reader and writer, the form storage and every other
// by-name access read these tables; nothing keeps a list of its own.
//
// A class publishes what it lists, no more. A base class that keeps a
// property for its descendants to publish declares it with Declare (same
// arguments as Prop); a descendant publishes it by name with Publish, and
// may give it another default or stored rule right after:
//
//   TClassBuilder<TControl>("TControl").Declare("Caption", &TControl::GetText, &TControl::SetText)
//   TClassBuilder<TButton>("TButton").Publish({"Caption", "Font"}).Publish("Color").Default(clBtnFace)
//
// Properties keep the place of their first declaration in the property
// list, wherever they are published.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "classlib/core/events.h"
#include "classlib/core/exceptions.h"
#include "classlib/core/interfaces.h"
#include "classlib/core/object.h"
#include "classlib/core/sets.h"
#include "classlib/core/variants.h"

class TComponent;
class TCollection;
class TCollectionItem;

enum TTypeKind {
    tkUnknown,
    tkInteger,
    tkChar,
    tkEnumeration,
    tkFloat,
    tkString,
    tkSet,
    tkClass,
    tkMethod,
    tkInt64,
    tkVariant,
    tkInterface,
    tkDynArray
};

enum TFloatType { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

struct TIdentMapEntry {
    Int64 Value;
    const char* Name;
};

// One parameter of a method (event) type: its type, and whether it is
// passed by reference (changeable: a "var" parameter) or as a constant.
struct TMethodParamInfo {
    // typeid of a pointer to the parameter's type without reference and
    // const (a pointer, so that the type itself need not be complete).
    const std::type_info* PointerType = nullptr;
    bool ByReference = false;
    bool Constant = false;
};
// The parameter's type name: the class library's name for its built-in
// types ("Boolean", "Integer", "string"), a class's name for a pointer to
// a class, else the C++ name.
String MethodParamTypeName(const TMethodParamInfo& param);

// The description of a property's value type.
struct TTypeInfo {
    TTypeKind Kind = tkUnknown;
    String Name;
    // Ordinal kinds: the range of values. Enumerations: MinValue..MaxValue
    // index EnumNames.
    Int64 MinValue = 0;
    Int64 MaxValue = 0;
    std::vector<String> EnumNames;
    // Sets: the element type.
    const TTypeInfo* CompType = nullptr;
    // Floats.
    TFloatType FloatType = ftDouble;
    // Classes: the class this type names.
    TClass (*ClassTypeFn)() = nullptr;
    TClass ClassType() const { return ClassTypeFn ? ClassTypeFn() : nullptr; }
    // Methods: the type of thunk a bound method must have, and the
    // parameters in order.
    const std::type_info* MethodSignature = nullptr;
    std::vector<TMethodParamInfo> MethodParams;
    // Interfaces: the interface's identifier.
    TGUID IntfIID;
    // Strings: the most characters a value holds.
    Int64 MaxLength = 0;
    // Dynamic arrays (std::vector): the size of one element, its type,
    // whether elements must be cleaned up when the array goes (they own
    // something: strings, variants, counted references), and the variant
    // type that holds an element (-1 when none does).
    int ElemSize = 0;
    const TTypeInfo* ElemType = nullptr;
    bool ElemNeedsCleanup = false;
    int ElemVarType = -1;
};

// How a property's reader, writer or stored rule is reached: a field, a
// member function that is not virtual (or a plain function), a virtual
// member function, or a constant (stored rules only); none when the
// property has no such accessor.
enum TPropAccessKind { pakNone, pakField, pakStaticMethod, pakVirtualMethod, pakConstant };

struct TPropAccess {
    TPropAccessKind Kind = pakNone;
    // pakField: the field's offset in the object of the describing class.
    std::ptrdiff_t FieldOffset = 0;
    // pakStaticMethod: the function's address (nullptr for a callable
    // object, which has none).
    const void* MethodAddress = nullptr;
    // pakVirtualMethod: the function's slot in the virtual table.
    int VirtualSlot = -1;
    // pakConstant: the constant.
    bool Constant = false;
};

namespace typinfo_detail {
// A copy of size bytes at data that lasts as long as the program (what
// accessors call is kept there, once for every copy of a description).
const void* KeepAccessorData(const void* data, std::size_t size);
}  // namespace typinfo_detail

// An accessor of a property (or of a field, or a stored rule): a thunk
// shared by every accessor of the same kind and value type, and what it
// calls (a member pointer, a function pointer) kept as data for it. A
// property thus costs data, not code of its own. Called as a function;
// false when empty.
template <class Sig>
class TPropAccessor;
template <class R, class... A>
class TPropAccessor<R(TObject*, A...)> {
public:
    using Thunk = R (*)(const void* data, TObject* instance, A... args);
    TPropAccessor() = default;
    TPropAccessor(std::nullptr_t) {}
    template <class D>
    TPropAccessor(Thunk thunk, const D& data)
        : FThunk(thunk), FData(typinfo_detail::KeepAccessorData(&data, sizeof(D))) {
        static_assert(std::is_trivially_copyable_v<D> && alignof(D) <= alignof(std::max_align_t));
    }
    explicit operator bool() const { return FThunk != nullptr; }
    friend bool operator==(const TPropAccessor& a, std::nullptr_t) { return a.FThunk == nullptr; }
    R operator()(TObject* instance, A... args) const { return FThunk(FData, instance, args...); }

private:
    Thunk FThunk = nullptr;
    const void* FData = nullptr;
};

// A published property: its name, type, accessors, default and stored rule.
// An accessor is empty when the property has none of that kind (read-only
// properties have no setter).
struct TPropInfo {
    String Name;
    // The value type, looked up when first asked for: classes may name each
    // other (a control's parent, a page's pager) in their properties.
    const TTypeInfo* (*TypeFn)() = nullptr;
    const TTypeInfo* PropType() const { return TypeFn(); }

    TPropAccessor<Int64(TObject*)> GetOrd;  // ordinal kinds, sets (bits), Int64
    TPropAccessor<void(TObject*, Int64)> SetOrd;
    TPropAccessor<double(TObject*)> GetFloat;
    TPropAccessor<void(TObject*, double)> SetFloat;
    TPropAccessor<String(TObject*)> GetStr;
    TPropAccessor<void(TObject*, const String&)> SetStr;
    TPropAccessor<TObject*(TObject*)> GetObj;
    // The setter raises EPropertyError for an object not of the property's
    // class (it keeps the property's name for the message).
    TPropAccessor<void(TObject*, TObject*)> SetObj;
    TPropAccessor<TMethod(TObject*)> GetMethod;
    TPropAccessor<void(TObject*, const TMethod&)> SetMethod;
    // Interfaces: the setter raises EPropertyError for an object that does
    // not implement the property's interface.
    TPropAccessor<TIntfPtr<IInterface>(TObject*)> GetIntf;
    TPropAccessor<void(TObject*, IInterface*)> SetIntf;
    TPropAccessor<Variant(TObject*)> GetVariant;
    TPropAccessor<void(TObject*, const Variant&)> SetVariant;

    static constexpr Int64 NoDefault = INT64_MIN;
    Int64 Default = NoDefault;  // ordinal and set default; NoDefault: none
    // String and float defaults; without one the default is '' or 0.
    bool HasStrDefault = false;
    String StrDefault;
    bool HasFloatDefault = false;
    double FloatDefault = 0;
    TPropAccessor<bool(TObject*)> Stored;  // empty: always stored
    bool StoredConst = true;
    // False for a property a class declares for its descendants to publish.
    bool Published = true;

    // The index a shared getter and setter are called with (an indexed
    // property); NoIndex for other properties.
    static constexpr int NoIndex = INT_MIN;
    int Index = NoIndex;
    bool HasIndex() const { return Index != NoIndex; }

    // How the accessors are reached (filled by TClassBuilder).
    TPropAccess ReaderAccess;
    TPropAccess WriterAccess;
    TPropAccess StoredMethod;  // a stored rule decided by a member function
    TPropAccess StoredAccess() const {
        if (Stored) return StoredMethod;
        TPropAccess constant;
        constant.Kind = pakConstant;
        constant.Constant = StoredConst;
        return constant;
    }

    bool HasGetter() const { return GetOrd || GetFloat || GetStr || GetObj || GetMethod || GetIntf || GetVariant; }
    bool HasSetter() const { return SetOrd || SetFloat || SetStr || SetObj || SetMethod || SetIntf || SetVariant; }
};

// An interface a class implements: its identifier and the way from an
// instance to it.
struct TInterfaceEntry {
    TGUID IID;
    void* (*Get)(TObject*) = nullptr;
};

// A published method, bindable by name to an event of the same signature.
struct TMethodInfo {
    String Name;
    TMethodCode Code = nullptr;
    const std::type_info* Signature = nullptr;
};

// A published field: a component reference the stored layout fills when it
// creates the component of that name.
struct TFieldInfo {
    String Name;
    TClass (*FieldClassFn)() = nullptr;
    TClass FieldClass() const { return FieldClassFn(); }
    TPropAccessor<void(TObject*, TObject*)> Set;
    TPropAccessor<TObject*(TObject*)> Get;
};

// A constructor of a class, with the parameter types of its signature.
struct TFactoryInfo {
    const std::type_info* Signature = nullptr;  // of TObject*(Args...)
    std::shared_ptr<void> Function;             // a std::function of that type
};

struct TClassInfo {
    String Name;
    TClass Parent = nullptr;
    // Creates an instance by class name and calls its AfterConstruction:
    // components from their owner, collection items from their collection,
    // other objects without arguments (Create). Empty for abstract classes
    // and classes without such a constructor.
    TComponent* (*CreateComponent)(TComponent*) = nullptr;
    TCollectionItem* (*CreateItem)(TCollection*) = nullptr;
    TObject* (*Create)() = nullptr;
    // Constructors with other parameters (TClassBuilder's Constructor).
    std::vector<TFactoryInfo> Factories;
    // What the class itself declares and publishes, in declaration order.
    std::vector<TPropInfo> Props;
    std::vector<TMethodInfo> Methods;
    std::vector<TFieldInfo> Fields;
    // The interfaces the class implements (its own; ancestors' apart).
    std::vector<TInterfaceEntry> Interfaces;
    TTypeInfo TypeInfo;  // kind tkClass, naming this class

    bool InheritsFrom(TClass other) const;
    // The entry of an interface this class or an ancestor implements.
    const TInterfaceEntry* GetInterfaceEntry(const TGUID& iid) const;
    bool Supports(const TGUID& iid) const { return GetInterfaceEntry(iid) != nullptr; }
};

// ---- Type descriptions of value types -------------------------------------
//
// TypeInfoOf((T*)nullptr) gives the description of T. The built-in types
// have theirs here; an enumeration declares its own next to it with
// QL_DECLARE_ENUM and defines it with QL_DEFINE_ENUM.

const TTypeInfo* TypeInfoOf(int*);
const TTypeInfo* TypeInfoOf(unsigned*);
const TTypeInfo* TypeInfoOf(short*);
const TTypeInfo* TypeInfoOf(Word*);
const TTypeInfo* TypeInfoOf(Byte*);
const TTypeInfo* TypeInfoOf(char*);
const TTypeInfo* TypeInfoOf(bool*);
const TTypeInfo* TypeInfoOf(long long*);
const TTypeInfo* TypeInfoOf(long*);
const TTypeInfo* TypeInfoOf(double*);
const TTypeInfo* TypeInfoOf(float*);
const TTypeInfo* TypeInfoOf(long double*);
const TTypeInfo* TypeInfoOf(String*);
const TTypeInfo* TypeInfoOf(Variant*);
// The type TDateTime: a float that names itself so (TDateTime is a double
// in C++, so properties of that type say so with .Type(&TypeInfoDateTime)).
const TTypeInfo* TypeInfoDateTime();

template <class T>
requires std::is_base_of_v<TObject, T>
const TTypeInfo* TypeInfoOf(T**) { return &T::StaticClass()->TypeInfo; }

template <class E>
const TTypeInfo* TypeInfoOf(TSet<E>*) {
    static const TTypeInfo info = [] {
        TTypeInfo t;
        t.Kind = tkSet;
        t.CompType = TypeInfoOf(static_cast<E*>(nullptr));
        t.Name = "set of " + t.CompType->Name;
        return t;
    }();
    return &info;
}

namespace typinfo_detail {
// The variant type that holds a value of T; -1 when none does.
template <class T>
constexpr int VarTypeOf() {
    if constexpr (std::is_same_v<T, bool>)
        return varBoolean;
    else if constexpr (std::is_same_v<T, Byte>)
        return varByte;
    else if constexpr (std::is_same_v<T, short>)
        return varSmallint;
    else if constexpr (std::is_same_v<T, Word>)
        return varWord;
    else if constexpr (std::is_same_v<T, int>)
        return varInteger;
    else if constexpr (std::is_same_v<T, unsigned>)
        return varLongWord;
    else if constexpr (std::is_same_v<T, long>)
        return sizeof(long) == 8 ? varInt64 : varInteger;
    else if constexpr (std::is_same_v<T, long long>)
        return varInt64;
    else if constexpr (std::is_same_v<T, float>)
        return varSingle;
    else if constexpr (std::is_same_v<T, double>)
        return varDouble;
    else if constexpr (std::is_same_v<T, String>)
        return varString;
    else
        return -1;
}
}  // namespace typinfo_detail

// A dynamic array: std::vector of any described type (std::vector<bool>
// holds bits, not elements, and has no description).
template <class T>
requires(!std::is_same_v<T, bool>) const TTypeInfo* TypeInfoOf(std::vector<T>*) {
    static const TTypeInfo info = [] {
        TTypeInfo t;
        t.Kind = tkDynArray;
        t.ElemType = TypeInfoOf(static_cast<T*>(nullptr));
        t.Name = "array of " + t.ElemType->Name;
        t.ElemSize = int(sizeof(T));
        t.ElemNeedsCleanup = !std::is_trivially_destructible_v<T>;
        t.ElemVarType = typinfo_detail::VarTypeOf<T>();
        return t;
    }();
    return &info;
}

template <class I>
const TTypeInfo* InterfaceTypeInfo() {
    static const TTypeInfo info = [] {
        TTypeInfo t;
        t.Kind = tkInterface;
        t.Name = I::IID.ToString();
        t.IntfIID = I::IID;
        return t;
    }();
    return &info;
}
template <class I>
requires std::is_base_of_v<IInterface, I>
const TTypeInfo* TypeInfoOf(TIntfPtr<I>*) { return InterfaceTypeInfo<I>(); }
template <class I>
requires(std::is_base_of_v<IInterface, I> && !std::is_base_of_v<TObject, I>) const TTypeInfo* TypeInfoOf(I**) {
    return InterfaceTypeInfo<I>();
}

template <class A>
TMethodParamInfo MethodParamInfoOf() {
    using Held = std::remove_reference_t<A>;
    TMethodParamInfo p;
    p.PointerType = &typeid(std::remove_cv_t<Held>*);
    p.ByReference = std::is_lvalue_reference_v<A> && !std::is_const_v<Held>;
    p.Constant = std::is_const_v<Held>;
    return p;
}

template <class... Args>
const TTypeInfo* TypeInfoOf(TEvent<Args...>*) {
    static const TTypeInfo info = [] {
        TTypeInfo t;
        t.Kind = tkMethod;
        t.Name = std::is_same_v<TEvent<Args...>, TNotifyEvent> ? "TNotifyEvent" : "TMethod";
        t.MethodSignature = &TEvent<Args...>::Signature();
        t.MethodParams = {MethodParamInfoOf<Args>()...};
        return t;
    }();
    return &info;
}

template <class T>
const TTypeInfo* TypeInfoFor() {
    return TypeInfoOf(static_cast<T*>(nullptr));
}

TTypeInfo MakeEnumTypeInfo(const char* name, std::initializer_list<const char*> names);
TTypeInfo MakeOrdinalTypeInfo(TTypeKind kind, const char* name, Int64 minValue, Int64 maxValue);

#define QL_DECLARE_ENUM(E) const TTypeInfo* TypeInfoOf(E*)
#define QL_DEFINE_ENUM(E, ...)                                                                                         \
    const TTypeInfo* TypeInfoOf(E*) {                                                                                  \
        static const TTypeInfo info = MakeEnumTypeInfo(#E, {__VA_ARGS__});                                             \
        return &info;                                                                                                  \
    }

// ---- Registered identifiers for integer types -----------------------------
//
// Integer types such as TColor and TCursor are stored by name where a name
// exists ("clBtnFace", "crHandPoint").
void RegisterIntegerIdents(const TTypeInfo* type, std::vector<TIdentMapEntry> map);
bool IdentToInt(const TTypeInfo* type, const String& ident, Int64& value);
bool IntToIdent(const TTypeInfo* type, Int64 value, String& ident);
bool HasIntegerIdents(const TTypeInfo* type);

// ---- Enumerations and sets as text -----------------------------------------

String GetEnumName(const TTypeInfo* type, Int64 value);
// -1 when the name is not one of the type's (case ignored).
Int64 GetEnumValue(const TTypeInfo* type, const String& name);
// "[a,b]" (brackets optional on input; spaces ignored). Unknown names
// raise EPropertyConvertError.
String SetToString(const TTypeInfo* setType, std::uint64_t bits, bool brackets = true);
std::uint64_t StringToSet(const TTypeInfo* setType, const String& text);

// ---- The class registry for streaming --------------------------------------

void RegisterClass(TClass cls);
void RegisterClasses(std::initializer_list<TClass> classes);
void UnregisterClass(TClass cls);
TClass GetClass(const String& name);   // nullptr when not registered
TClass FindClass(const String& name);  // raises EClassNotFound "Class %s not found"
// Every registered class, ordered by name.
std::vector<TClass> GetRegisteredClasses();

// ---- Creating instances by class -------------------------------------------
//
// Each calls the new object's AfterConstruction and raises
// EInvalidOperation "Cannot create an instance of %s" when the class has no
// constructor of that kind.

TObject* CreateObject(TClass cls);
TComponent* CreateComponent(TClass cls, TComponent* owner);
// An object of the registered class name (FindClass), made by its factory.
TObject* CreateObject(const String& className);
TComponent* CreateComponent(const String& className, TComponent* owner);

namespace typinfo_detail {
[[noreturn]] void RaiseCannotCreate(TClass cls);
}
// With a constructor the class registered with Constructor<Args...>();
// only the class's own constructors count, as in C++.
template <class... Args>
TObject* CreateObject(TClass cls, Args... args) {
    for (const TFactoryInfo& f : cls->Factories)
        if (*f.Signature == typeid(TObject * (Args...)))
            return (*static_cast<std::function<TObject*(Args...)>*>(f.Function.get()))(args...);
    typinfo_detail::RaiseCannotCreate(cls);
}

// ---- Properties and methods by name ----------------------------------------

// Every published property of cls, ancestors' first, in declaration order.
std::vector<const TPropInfo*> GetPropList(TClass cls);
// Case is ignored; nullptr when cls publishes no such property.
const TPropInfo* GetPropInfo(TClass cls, const String& name);
// The same, finding also what cls declares without publishing it.
const TPropInfo* GetDeclaredPropInfo(TClass cls, const String& name);
const TPropInfo* GetPropInfo(const TObject* instance, const String& name);
const TMethodInfo* FindPublishedMethod(TClass cls, const String& name);
const TMethodInfo* FindPublishedMethodByCode(TClass cls, TMethodCode code);
const TFieldInfo* FindPublishedField(TClass cls, const String& name);

bool IsStoredProp(TObject* instance, const TPropInfo* prop);
// True when the property holds its declared default (or, for strings and
// floats without one, '' or 0; for methods and interfaces, none; for
// variants, empty), so a writer may leave it out.
bool IsDefaultPropValue(TObject* instance, const TPropInfo* prop);
// True when the property has a default the writer relies on: a declared
// one, or the implicit '', 0 and empty of strings, floats and variants.
bool HasDefaultValue(const TPropInfo* prop);
// The published properties of instance whose default the writer relies on
// but the instance does not hold: "Name: default X, holds Y" each. A fresh
// instance must give none, or values equal to the default are dropped by
// the writer and read back as something else.
std::vector<String> FindDefaultDrifts(TObject* instance);

// Typed access. A property that does not exist raises EPropertyError
// "Unknown property: %s"; one without the accessor raises EPropertyError
// "Property %s is read-only" (or "write-only").
Int64 GetOrdProp(TObject* instance, const TPropInfo* prop);
void SetOrdProp(TObject* instance, const TPropInfo* prop, Int64 value);
double GetFloatProp(TObject* instance, const TPropInfo* prop);
void SetFloatProp(TObject* instance, const TPropInfo* prop, double value);
String GetStrProp(TObject* instance, const TPropInfo* prop);
void SetStrProp(TObject* instance, const TPropInfo* prop, const String& value);
TObject* GetObjectProp(TObject* instance, const TPropInfo* prop);
// Raises EPropertyError when value is not of the property's class.
void SetObjectProp(TObject* instance, const TPropInfo* prop, TObject* value);
TMethod GetMethodProp(TObject* instance, const TPropInfo* prop);
void SetMethodProp(TObject* instance, const TPropInfo* prop, const TMethod& value);
TIntfPtr<IInterface> GetInterfaceProp(TObject* instance, const TPropInfo* prop);
// Raises EPropertyError when value does not implement the property's
// interface.
void SetInterfaceProp(TObject* instance, const TPropInfo* prop, IInterface* value);
Variant GetVariantProp(TObject* instance, const TPropInfo* prop);
void SetVariantProp(TObject* instance, const TPropInfo* prop, const Variant& value);

Int64 GetOrdProp(TObject* instance, const String& name);
void SetOrdProp(TObject* instance, const String& name, Int64 value);
String GetStrProp(TObject* instance, const String& name);
void SetStrProp(TObject* instance, const String& name, const String& value);
TObject* GetObjectProp(TObject* instance, const String& name);
void SetObjectProp(TObject* instance, const String& name, TObject* value);
String GetEnumProp(TObject* instance, const String& name);
void SetEnumProp(TObject* instance, const String& name, const String& value);
String GetSetProp(TObject* instance, const String& name, bool brackets = false);
void SetSetProp(TObject* instance, const String& name, const String& value);

// ---- Building class descriptions -------------------------------------------

namespace typinfo_detail {

template <class T>
struct IsEvent : std::false_type {};
template <class... A>
struct IsEvent<TEvent<A...>> : std::true_type {};

template <class T>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {};

template <class T>
constexpr bool IsObjectPointer =
    std::is_pointer_v<T>&& std::is_base_of_v<TObject, std::remove_cv_t<std::remove_pointer_t<T>>>;

// The value type a getter yields.
template <class G>
struct GetterTraits;
template <class C, class V>
struct GetterTraits<V C::*> {
    using Value = std::remove_cv_t<V>;
};
template <class C, class R>
struct GetterTraits<R (C::*)() const> {
    using Value = std::remove_cvref_t<R>;
};
// A getter that is not a member function: R f(C*) or R f(const C*).
template <class C, class R>
struct GetterTraits<R (*)(C*)> {
    using Value = std::remove_cvref_t<R>;
};
template <class C, class R>
struct GetterTraits<R (C::*)()> {
    using Value = std::remove_cvref_t<R>;
};

template <class T>
struct IsIntfPtr : std::false_type {};
template <class I>
struct IsIntfPtr<TIntfPtr<I>> : std::true_type {};

template <class V>
struct IntfOf {
    using Type = std::remove_pointer_t<V>;
    static Type* Raw(V v) { return v; }
};
template <class I>
struct IntfOf<TIntfPtr<I>> {
    using Type = I;
    static I* Raw(const TIntfPtr<I>& v) { return v.Get(); }
};

template <class T>
constexpr bool IsInterfacePointer = std::is_pointer_v<T>&& std::is_base_of_v<IInterface, std::remove_pointer_t<T>> &&
                                    !std::is_base_of_v<TObject, std::remove_pointer_t<T>>;

// What an accessor calls, as its thunk finds it in the accessor's data.
// Members of classes derived from TObject are kept as members of TObject
// (the class's own offset or adjustment is in the member pointer), so that
// the thunks depend on the value type only, not on the class.
//
// A member of a class that does not derive from TObject, reached through C.
template <class C, class P>
struct TOwnMember {
    P Member;
};
// A setter that is a lambda without captures, called on C.
template <class C, class L>
struct TLambdaOn {};

// How an accessor of a property of class C is reached (TPropAccess). The
// pointers to members are read as the Itanium C++ ABI lays them out, which
// both compilers of this project follow: a field's offset; a member
// function's address, or one plus its byte offset in the virtual table for
// a virtual one.
//
// What the description is made from, out of line: the shape of the
// accessor and one word (a field's offset, a member function pointer's
// first word, a function's address).
enum TAccessShape { asNone, asField, asMethod, asFunction, asOther };
void DescribeAccessInto(TPropAccess& access, TAccessShape shape, std::uintptr_t word);

template <class C, class A>
void DescribeAccessInto(TPropAccess& access, const A& accessor) {
    if constexpr (std::is_same_v<A, std::nullptr_t>) {
        DescribeAccessInto(access, asNone, 0);
    } else if constexpr (std::is_member_object_pointer_v<A>) {
        // As a member of C, so that the offset counts from C's object.
        typename GetterTraits<A>::Value C::*own = accessor;
        static_assert(sizeof(own) == sizeof(std::uintptr_t));
        std::uintptr_t offset;
        std::memcpy(&offset, &own, sizeof(own));
        DescribeAccessInto(access, asField, offset);
    } else if constexpr (std::is_member_function_pointer_v<A>) {
        struct {
            std::uintptr_t Ptr;
            std::ptrdiff_t Adj;
        } raw;
        static_assert(sizeof(accessor) == sizeof(raw));
        std::memcpy(&raw, &accessor, sizeof(raw));
        DescribeAccessInto(access, asMethod, raw.Ptr);
    } else if constexpr (std::is_pointer_v<A> && std::is_function_v<std::remove_pointer_t<A>>) {
        DescribeAccessInto(access, asFunction, reinterpret_cast<std::uintptr_t>(accessor));
    } else {
        DescribeAccessInto(access, asOther, 0);
    }
}
template <class C, class A>
TPropAccess DescribeAccess(const A& accessor) {
    TPropAccess access;
    DescribeAccessInto<C>(access, accessor);
    return access;
}

// The getter of an indexed property: a member function called with the
// property's index.
template <class G>
struct IndexedGetter {
    G Fn;
    int Index;
};
template <class C, class R>
struct GetterTraits<IndexedGetter<R (C::*)(int) const>> {
    using Value = std::remove_cvref_t<R>;
};
// The setter of an indexed property: a member function called with the
// property's index and the value.
template <class S>
struct IndexedSetter {
    S Fn;
    int Index;
};

template <class C, class M, class F>
auto OnObject(M F::*member) {
    if constexpr (std::is_base_of_v<TObject, F>)
        return static_cast<M TObject::*>(member);
    else
        return TOwnMember<C, M F::*>{member};
}
template <class C, class R, class X, class A>
auto OnObject(R (*fn)(X*, A)) {
    return fn;
}
template <class C, class R, class X>
auto OnObject(R (*fn)(X*)) {
    return fn;
}
template <class C, class R, class F>
auto OnObject(IndexedGetter<R (F::*)(int) const> g) {
    return IndexedGetter<decltype(OnObject<C>(g.Fn))>{OnObject<C>(g.Fn), g.Index};
}
template <class C, class S>
auto OnObject(IndexedSetter<S> s) {
    return IndexedSetter<decltype(OnObject<C>(s.Fn))>{OnObject<C>(s.Fn), s.Index};
}
template <class C, class L>
requires(std::is_class_v<L>&& std::is_empty_v<L>&& std::is_default_constructible_v<L>) auto OnObject(L) {
    return TLambdaOn<C, L>{};
}

template <class P>
P Load(const void* data) {
    P p;
    std::memcpy(static_cast<void*>(&p), data, sizeof(P));
    return p;
}

// Reading through a getter.
template <class M>
requires(!std::is_function_v<M>) const M& Read(M TObject::*field, TObject* o) { return o->*field; }
template <class R>
R Read(R (TObject::*fn)() const, TObject* o) {
    return (o->*fn)();
}
template <class R>
R Read(R (TObject::*fn)(), TObject* o) {
    return (o->*fn)();
}
template <class R, class X>
R Read(R (*fn)(X*), TObject* o) {
    return fn(static_cast<X*>(o));
}
template <class C, class V, class F>
const V& Read(TOwnMember<C, V F::*> m, TObject* o) requires(!std::is_function_v<V>) {
    return static_cast<C*>(o)->*m.Member;
}
template <class C, class R, class F>
R Read(TOwnMember<C, R (F::*)() const> m, TObject* o) {
    return (static_cast<C*>(o)->*m.Member)();
}
template <class C, class R, class F>
R Read(TOwnMember<C, R (F::*)()> m, TObject* o) {
    return (static_cast<C*>(o)->*m.Member)();
}

template <class R>
R Read(IndexedGetter<R (TObject::*)(int) const> g, TObject* o) {
    return (o->*g.Fn)(g.Index);
}
template <class C, class R, class F>
R Read(IndexedGetter<TOwnMember<C, R (F::*)(int) const>> g, TObject* o) {
    return (static_cast<C*>(o)->*g.Fn.Member)(g.Index);
}

// Writing through a setter: a field, a member function taking the value,
// or anything callable with the object and the value (a function, a
// function template shared by many properties, a lambda).
template <class M, class V>
requires(!std::is_function_v<M>) void Write(M TObject::*field, TObject* o, const V& v) { o->*field = v; }
template <class A, class V>
void Write(void (TObject::*fn)(A), TObject* o, const V& v) {
    (o->*fn)(v);
}
template <class R, class X, class A, class V>
void Write(R (*fn)(X*, A), TObject* o, const V& v) {
    fn(static_cast<X*>(o), v);
}
template <class C, class L, class V>
void Write(TLambdaOn<C, L>, TObject* o, const V& v) {
    L()(static_cast<C*>(o), v);
}
template <class C, class M, class F, class V>
requires(!std::is_function_v<M>) void Write(TOwnMember<C, M F::*> m, TObject* o, const V& v) {
    static_cast<C*>(o)->*m.Member = v;
}
template <class C, class A, class F, class V>
void Write(TOwnMember<C, void (F::*)(A)> m, TObject* o, const V& v) {
    (static_cast<C*>(o)->*m.Member)(v);
}

template <class A, class V>
void Write(IndexedSetter<void (TObject::*)(int, A)> s, TObject* o, const V& v) {
    (o->*s.Fn)(s.Index, v);
}
template <class C, class A, class F, class V>
void Write(IndexedSetter<TOwnMember<C, void (F::*)(int, A)>> s, TObject* o, const V& v) {
    (static_cast<C*>(o)->*s.Fn.Member)(s.Index, v);
}

// A setter that checks its value's type keeps the property's name for the
// message.
template <class P>
struct TNamedSetter {
    P Setter;
    const char* Name;
};

// The thunks: V is the property's value type, P what the accessor calls.
template <class V, class P>
Int64 GetOrdThunk(const void* d, TObject* o) {
    if constexpr (IsSet<V>::value)
        return Int64(Read(Load<P>(d), o).Bits());
    else
        return Int64(Read(Load<P>(d), o));
}
template <class V, class P>
void SetOrdThunk(const void* d, TObject* o, Int64 v) {
    if constexpr (IsSet<V>::value)
        Write(Load<P>(d), o, V::FromBits(std::uint64_t(v)));
    else
        Write(Load<P>(d), o, static_cast<V>(v));
}
template <class V, class P>
double GetFloatThunk(const void* d, TObject* o) {
    return double(Read(Load<P>(d), o));
}
template <class V, class P>
void SetFloatThunk(const void* d, TObject* o, double v) {
    Write(Load<P>(d), o, V(v));
}
template <class V, class P>
V GetValueThunk(const void* d, TObject* o) {
    return Read(Load<P>(d), o);
}
template <class V, class P>
void SetValueThunk(const void* d, TObject* o, const V& v) {
    Write(Load<P>(d), o, v);
}
template <class V, class P>
TMethod GetMethodThunk(const void* d, TObject* o) {
    return Read(Load<P>(d), o).Method();
}
template <class V, class P>
void SetMethodThunk(const void* d, TObject* o, const TMethod& m) {
    Write(Load<P>(d), o, V(m));
}
template <class V, class P>
TIntfPtr<IInterface> GetIntfThunk(const void* d, TObject* o) {
    return TIntfPtr<IInterface>(static_cast<IInterface*>(IntfOf<V>::Raw(Read(Load<P>(d), o))));
}
[[noreturn]] void RaiseIntfPropType(const String& prop, const TTypeInfo* type);
template <class V, class P>
void SetIntfThunk(const void* d, TObject* o, IInterface* v) {
    using I = typename IntfOf<V>::Type;
    const auto setter = Load<TNamedSetter<P>>(d);
    I* typed = nullptr;
    if (v) {
        typed = Supports<I>(v);
        if (!typed) RaiseIntfPropType(setter.Name, InterfaceTypeInfo<I>());
    }
    Write(setter.Setter, o, V(typed));
}
template <class V, class P>
TObject* GetObjThunk(const void* d, TObject* o) {
    using Obj = std::remove_cv_t<std::remove_pointer_t<V>>;
    return const_cast<Obj*>(Read(Load<P>(d), o));
}
[[noreturn]] void RaiseObjectPropClass(const String& prop, TObject* value, TClass expected);
template <class V, class P>
void SetObjThunk(const void* d, TObject* o, TObject* v) {
    using Obj = std::remove_cv_t<std::remove_pointer_t<V>>;
    const auto setter = Load<TNamedSetter<P>>(d);
    Obj* typed = dynamic_cast<Obj*>(v);
    if (v && !typed) RaiseObjectPropClass(setter.Name, v, Obj::StaticClass());
    Write(setter.Setter, o, V(typed));
}
template <class P>
bool StoredThunk(const void* d, TObject* o) {
    return Read(Load<P>(d), o);
}
template <class T, class P>
void SetFieldThunk(const void* d, TObject* o, TObject* v) {
    Write(Load<P>(d), o, dynamic_cast<T*>(v));
}

[[noreturn]] void RaisePublishUnknown(const char* cls, const char* prop);

// A copy of name that lasts as long as the program.
const char* LastingName(const char* name);

// What every class builder does, whatever its class.
class TClassBuilderBase {
protected:
    TClassBuilderBase(const char* name, TClass parent, TClass (*self)());
    ~TClassBuilderBase();
    TClassBuilderBase(const TClassBuilderBase&) = delete;
    TClassBuilderBase& operator=(const TClassBuilderBase&) = delete;

    TPropInfo& AddProp(const char* name, const TTypeInfo* (*type)());
    void PublishInherited(const char* name);
    void SetOrdDefault(Int64 value);
    void SetStrDefault(const char* value);
    void SetStrDefault(const String& value);
    void SetFloatDefault(double value);
    void SetStored(bool stored);
    void AddMethod(const char* name, TMethodCode code, const std::type_info* signature);
    TFieldInfo& AddField(const char* name, TClass (*fieldClass)());
    void AddInterface(const TGUID& iid, void* (*get)(TObject*));
    void AddFactory(const std::type_info* signature, std::shared_ptr<void> function);
    TClassInfo TakeInfo();
    TPropInfo& Last() { return FInfo.Props.back(); }

    TClassInfo FInfo;
};

}  // namespace typinfo_detail

template <class C>
class TClassBuilder : private typinfo_detail::TClassBuilderBase {
public:
    explicit TClassBuilder(const char* name) : TClassBuilderBase(name, ParentClass(), &C::StaticClass) {
        if constexpr (!std::is_abstract_v<C>) {
            if constexpr (std::is_base_of_v<TComponent, C> && std::is_constructible_v<C, TComponent*>)
                FInfo.CreateComponent = [](TComponent* owner) -> TComponent* { return NewObject<C>(owner); };
            if constexpr (std::is_base_of_v<TCollectionItem, C> && std::is_constructible_v<C, TCollection*>)
                FInfo.CreateItem = [](TCollection* owner) -> TCollectionItem* { return NewObject<C>(owner); };
            if constexpr (std::is_default_constructible_v<C>)
                FInfo.Create = []() -> TObject* { return NewObject<C>(); };
        }
    }

    // A constructor with other parameters, for CreateObject(cls, args...).
    template <class... Args>
    TClassBuilder& Constructor() {
        using Fn = std::function<TObject*(Args...)>;
        AddFactory(&typeid(TObject * (Args...)),
                   std::make_shared<Fn>([](Args... args) -> TObject* { return NewObject<C>(args...); }));
        return *this;
    }

    // The interfaces the class implements, answered by its GetInterface
    // (and so by the default QueryInterface of components and counted
    // objects).
    template <class... I>
    TClassBuilder& Implements() {
        static_assert((std::is_base_of_v<I, C> && ...), "the class does not derive from the interface");
        (AddInterface(I::IID, [](TObject* o) -> void* { return static_cast<I*>(static_cast<C*>(o)); }), ...);
        return *this;
    }

    // A property the class declares without publishing it: descendants
    // publish it by name (Publish).
    template <class G, class S>
    TClassBuilder& Declare(const char* name, G getter, S setter) {
        Prop(name, getter, setter);
        Last().Published = false;
        return *this;
    }
    // Publishes properties an ancestor declared (or publishes already, to
    // give them another default or stored rule afterwards).
    TClassBuilder& Publish(const char* name) {
        PublishInherited(name);
        return *this;
    }
    TClassBuilder& Publish(std::initializer_list<const char*> names) {
        for (const char* name : names) PublishInherited(name);
        return *this;
    }

    // A property read through getter (a field or a const member function)
    // and written through setter (a field, a member function taking the
    // value, or nullptr for a read-only property).
    template <class G, class S>
    TClassBuilder& Prop(const char* name, G getter, S setter) {
        using namespace typinfo_detail;
        using V = typename GetterTraits<G>::Value;
        TPropInfo& p = AddProp(name, &TypeInfoFor<V>);
        const auto get = OnObject<C>(getter);
        using GP = std::remove_const_t<decltype(get)>;
        constexpr bool hasSetter = !std::is_same_v<S, std::nullptr_t>;
        if constexpr (hasSetter) {
            const auto set = OnObject<C>(setter);
            FillAccessors<V, GP, std::remove_const_t<decltype(set)>, true>(p, name, get, &set);
        } else {
            FillAccessors<V, GP, std::nullptr_t, false>(p, name, get, nullptr);
        }
        typinfo_detail::DescribeAccessInto<C>(p.ReaderAccess, getter);
        typinfo_detail::DescribeAccessInto<C>(p.WriterAccess, setter);
        return *this;
    }

    // An indexed property: getter and setter are member functions shared
    // by several properties, called with index first (a setter of nullptr
    // makes it read-only).
    template <class F, class R, class S>
    TClassBuilder& Prop(const char* name, int index, R (F::*getter)(int) const, S setter) {
        typinfo_detail::IndexedGetter<R (F::*)(int) const> indexed{getter, index};
        if constexpr (std::is_same_v<S, std::nullptr_t>) {
            Prop(name, indexed, nullptr);
        } else {
            Prop(name, indexed, typinfo_detail::IndexedSetter<S>{setter, index});
        }
        Last().Index = index;
        typinfo_detail::DescribeAccessInto<C>(Last().ReaderAccess, getter);
        typinfo_detail::DescribeAccessInto<C>(Last().WriterAccess, setter);
        return *this;
    }

    // The declared default of the last property: an ordinal (integers,
    // enumerations, colours), a set, a string or a float.
    template <class V>
    TClassBuilder& Default(V value) {
        if constexpr (typinfo_detail::IsSet<V>::value)
            SetOrdDefault(Int64(value.Bits()));
        else if constexpr (std::is_convertible_v<V, const char*>)
            SetStrDefault(static_cast<const char*>(value));
        else if constexpr (std::is_convertible_v<V, String>)
            SetStrDefault(String(value));
        else if constexpr (std::is_floating_point_v<V>)
            SetFloatDefault(double(value));
        else
            SetOrdDefault(Int64(value));
        return *this;
    }
    // Whether the last property is stored: a constant, or a member function
    // of the class that decides.
    TClassBuilder& Stored(bool stored) {
        SetStored(stored);
        return *this;
    }
    template <class F>
    TClassBuilder& Stored(bool (F::*fn)() const) {
        const auto stored = typinfo_detail::OnObject<C>(fn);
        Last().Stored = {&typinfo_detail::StoredThunk<std::remove_const_t<decltype(stored)>>, stored};
        typinfo_detail::DescribeAccessInto<C>(Last().StoredMethod, fn);
        return *this;
    }
    // Replaces the type description of the last property (TDateTime, or an
    // integer type with a name of its own).
    TClassBuilder& Type(const TTypeInfo* (*type)()) {
        Last().TypeFn = type;
        return *this;
    }

    // A published method, bindable by name to an event with the same
    // parameters: .Method<TNotifyEvent, &TfrmMain::FormCreate>("FormCreate").
    template <class Event, auto Member>
    TClassBuilder& Method(const char* name) {
        AddMethod(name, Event::template Bind<Member, C>(nullptr).Method().Code, &Event::Signature());
        return *this;
    }

    // A published component field, filled by the stored layout.
    template <class T, class F>
    TClassBuilder& Field(const char* name, T* F::*field) {
        using namespace typinfo_detail;
        TFieldInfo& f = AddField(name, &T::StaticClass);
        const auto member = OnObject<C>(field);
        using P = std::remove_const_t<decltype(member)>;
        f.Set = {&SetFieldThunk<T, P>, member};
        f.Get = {&GetObjThunk<T*, P>, member};
        return *this;
    }

    TClassInfo Build() { return TakeInfo(); }

private:
    static TClass ParentClass() {
        if constexpr (std::is_same_v<C, TObject>)
            return nullptr;
        else
            return C::inherited::StaticClass();
    }

    // The getter and, with HasSetter, the setter of a property of value
    // type V.
    template <class V, class GP, class SP, bool HasSetter>
    static void FillAccessors(TPropInfo& p, const char* name, const GP& get, const SP* set) {
        using namespace typinfo_detail;
        if constexpr (IsEvent<V>::value) {
            p.GetMethod = {&GetMethodThunk<V, GP>, get};
            if constexpr (HasSetter) p.SetMethod = {&SetMethodThunk<V, SP>, *set};
        } else if constexpr (IsSet<V>::value || std::is_integral_v<V> || std::is_enum_v<V>) {
            p.GetOrd = {&GetOrdThunk<V, GP>, get};
            if constexpr (HasSetter) p.SetOrd = {&SetOrdThunk<V, SP>, *set};
        } else if constexpr (std::is_same_v<V, Variant>) {
            p.GetVariant = {&GetValueThunk<V, GP>, get};
            if constexpr (HasSetter) p.SetVariant = {&SetValueThunk<V, SP>, *set};
        } else if constexpr (std::is_same_v<V, String>) {
            p.GetStr = {&GetValueThunk<V, GP>, get};
            if constexpr (HasSetter) p.SetStr = {&SetValueThunk<V, SP>, *set};
        } else if constexpr (std::is_floating_point_v<V>) {
            p.GetFloat = {&GetFloatThunk<V, GP>, get};
            if constexpr (HasSetter) p.SetFloat = {&SetFloatThunk<V, SP>, *set};
        } else if constexpr (IsIntfPtr<V>::value || IsInterfacePointer<V>) {
            p.GetIntf = {&GetIntfThunk<V, GP>, get};
            if constexpr (HasSetter) p.SetIntf = {&SetIntfThunk<V, SP>, TNamedSetter<SP>{*set, LastingName(name)}};
        } else if constexpr (IsObjectPointer<V>) {
            p.GetObj = {&GetObjThunk<V, GP>, get};
            if constexpr (HasSetter) p.SetObj = {&SetObjThunk<V, SP>, TNamedSetter<SP>{*set, LastingName(name)}};
        } else {
            static_assert(sizeof(V) == 0, "this value type cannot be published");
        }
    }
};
