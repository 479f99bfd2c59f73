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

// A published property: its name, type, accessors, default and stored rule.
// An accessor is empty when the property has none of that kind (read-only
// properties have no setter).
struct TPropInfo {
    String Name;
    // The value type, looked up when first asked for: classes may name each
    // other (a control's parent, a page's pager) in their properties.
    const TTypeInfo* (*TypeFn)() = nullptr;
    const TTypeInfo* PropType() const { return TypeFn(); }

    std::function<Int64(TObject*)> GetOrd;  // ordinal kinds, sets (bits), Int64
    std::function<void(TObject*, Int64)> SetOrd;
    std::function<double(TObject*)> GetFloat;
    std::function<void(TObject*, double)> SetFloat;
    std::function<String(TObject*)> GetStr;
    std::function<void(TObject*, const String&)> SetStr;
    std::function<TObject*(TObject*)> GetObj;
    std::function<void(TObject*, TObject*)> SetObj;
    std::function<TMethod(TObject*)> GetMethod;
    std::function<void(TObject*, const TMethod&)> SetMethod;
    // Interfaces: the setter raises EPropertyError for an object that does
    // not implement the property's interface.
    std::function<TIntfPtr<IInterface>(TObject*)> GetIntf;
    std::function<void(TObject*, IInterface*)> SetIntf;
    std::function<Variant(TObject*)> GetVariant;
    std::function<void(TObject*, const Variant&)> SetVariant;

    static constexpr Int64 NoDefault = INT64_MIN;
    Int64 Default = NoDefault;  // ordinal and set default; NoDefault: none
    // String and float defaults; without one the default is '' or 0.
    bool HasStrDefault = false;
    String StrDefault;
    bool HasFloatDefault = false;
    double FloatDefault = 0;
    std::function<bool(TObject*)> Stored;  // empty: always stored
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
    std::function<void(TObject*, TObject*)> Set;
    std::function<TObject*(TObject*)> Get;
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
    std::function<TComponent*(TComponent*)> CreateComponent;
    std::function<TCollectionItem*(TCollection*)> CreateItem;
    std::function<TObject*()> Create;
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
    using Class = C;
    using Value = std::remove_cv_t<V>;
    static V Get(C* self, V C::*field) { return self->*field; }
};
template <class C, class R>
struct GetterTraits<R (C::*)() const> {
    using Class = C;
    using Value = std::remove_cvref_t<R>;
    static Value Get(C* self, R (C::*fn)() const) { return (self->*fn)(); }
};
// A getter that is not a member function: R f(C*) or R f(const C*).
template <class C, class R>
struct GetterTraits<R (*)(C*)> {
    using Class = std::remove_cv_t<C>;
    using Value = std::remove_cvref_t<R>;
    static Value Get(Class* self, R (*fn)(C*)) { return fn(self); }
};
template <class C, class R>
struct GetterTraits<R (C::*)()> {
    using Class = C;
    using Value = std::remove_cvref_t<R>;
    static Value Get(C* self, R (C::*fn)()) { return (self->*fn)(); }
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

// A setter is a field, a member function taking the value, or anything
// callable with the object and the value (a function, a function template
// shared by many properties, a lambda).
template <class V, class C, class F>
void CallSetter(C* self, V F::*field, const V& value) {
    self->*field = value;
}
template <class V, class C, class F, class A>
void CallSetter(C* self, void (F::*fn)(A), const V& value) {
    (self->*fn)(value);
}
template <class V, class C, class S>
requires std::is_invocable_v<S, C*, const V&>
void CallSetter(C* self, S setter, const V& value) { setter(self, value); }

// How an accessor of a property of class C is reached (TPropAccess). The
// pointers to members are read as the Itanium C++ ABI lays them out, which
// both compilers of this project follow: a field's offset; a member
// function's address, or one plus its byte offset in the virtual table for
// a virtual one.
template <class C>
TPropAccess DescribeAccess(std::nullptr_t) {
    return TPropAccess();
}
template <class C, class A>
TPropAccess DescribeAccess(const A& accessor) {
    TPropAccess access;
    if constexpr (std::is_member_object_pointer_v<A>) {
        // As a member of C, so that the offset counts from C's object.
        typename GetterTraits<A>::Value C::*own = accessor;
        static_assert(sizeof(own) == sizeof(std::ptrdiff_t));
        access.Kind = pakField;
        std::memcpy(&access.FieldOffset, &own, sizeof(own));
    } else if constexpr (std::is_member_function_pointer_v<A>) {
        struct {
            std::uintptr_t Ptr;
            std::ptrdiff_t Adj;
        } raw;
        static_assert(sizeof(accessor) == sizeof(raw));
        std::memcpy(&raw, &accessor, sizeof(raw));
        if (raw.Ptr & 1) {
            access.Kind = pakVirtualMethod;
            access.VirtualSlot = int((raw.Ptr - 1) / sizeof(void*));
        } else {
            access.Kind = pakStaticMethod;
            access.MethodAddress = reinterpret_cast<const void*>(raw.Ptr);
        }
    } else if constexpr (std::is_pointer_v<A> && std::is_function_v<std::remove_pointer_t<A>>) {
        access.Kind = pakStaticMethod;
        access.MethodAddress = reinterpret_cast<const void*>(accessor);
    } else {
        access.Kind = pakStaticMethod;
    }
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
    using Class = C;
    using Value = std::remove_cvref_t<R>;
    static Value Get(C* self, const IndexedGetter<R (C::*)(int) const>& g) { return (self->*g.Fn)(g.Index); }
};

[[noreturn]] void RaiseObjectPropClass(const String& prop, TObject* value, TClass expected);
[[noreturn]] void RaiseIntfPropType(const String& prop, const TTypeInfo* type);
[[noreturn]] void RaisePublishUnknown(const char* cls, const char* prop);

}  // namespace typinfo_detail

template <class C>
class TClassBuilder {
public:
    explicit TClassBuilder(const char* name) {
        FInfo.Name = name;
        if constexpr (!std::is_same_v<C, TObject>) FInfo.Parent = C::inherited::StaticClass();
        FInfo.TypeInfo.Kind = tkClass;
        FInfo.TypeInfo.Name = name;
        FInfo.TypeInfo.ClassTypeFn = &C::StaticClass;
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
        TFactoryInfo f;
        f.Signature = &typeid(TObject * (Args...));
        f.Function = std::make_shared<Fn>([](Args... args) -> TObject* { return NewObject<C>(args...); });
        FInfo.Factories.push_back(std::move(f));
        return *this;
    }

    // The interfaces the class implements, answered by its GetInterface
    // (and so by the default QueryInterface of components and counted
    // objects).
    template <class... I>
    TClassBuilder& Implements() {
        static_assert((std::is_base_of_v<I, C> && ...), "the class does not derive from the interface");
        (FInfo.Interfaces.push_back(
             TInterfaceEntry{I::IID, [](TObject* o) -> void* { return static_cast<I*>(static_cast<C*>(o)); }}),
         ...);
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
        const TPropInfo* inherited = FInfo.Parent ? GetDeclaredPropInfo(FInfo.Parent, name) : nullptr;
        if (!inherited) typinfo_detail::RaisePublishUnknown(FInfo.Name.c_str(), name);
        FInfo.Props.push_back(*inherited);
        Last().Published = true;
        return *this;
    }
    TClassBuilder& Publish(std::initializer_list<const char*> names) {
        for (const char* name : names) Publish(name);
        return *this;
    }

    // A property read through getter (a field or a const member function)
    // and written through setter (a field, a member function taking the
    // value, or nullptr for a read-only property).
    template <class G, class S>
    TClassBuilder& Prop(const char* name, G getter, S setter) {
        using Traits = typinfo_detail::GetterTraits<G>;
        using V = typename Traits::Value;
        TPropInfo p;
        p.Name = name;
        p.TypeFn = &TypeInfoFor<V>;
        auto self = [](TObject* o) { return static_cast<C*>(o); };
        auto get = [getter, self](TObject* o) -> V { return Traits::Get(self(o), getter); };
        constexpr bool hasSetter = !std::is_same_v<S, std::nullptr_t>;
        auto set = [=](TObject* o, const V& v) {
            if constexpr (hasSetter) typinfo_detail::CallSetter<V>(self(o), setter, v);
        };
        if constexpr (typinfo_detail::IsEvent<V>::value) {
            p.GetMethod = [get](TObject* o) { return get(o).Method(); };
            if constexpr (hasSetter) p.SetMethod = [set](TObject* o, const TMethod& m) { set(o, V(m)); };
        } else if constexpr (typinfo_detail::IsSet<V>::value) {
            p.GetOrd = [get](TObject* o) { return Int64(get(o).Bits()); };
            if constexpr (hasSetter) p.SetOrd = [set](TObject* o, Int64 v) { set(o, V::FromBits(std::uint64_t(v))); };
        } else if constexpr (std::is_same_v<V, Variant>) {
            p.GetVariant = get;
            if constexpr (hasSetter) p.SetVariant = [set](TObject* o, const Variant& v) { set(o, v); };
        } else if constexpr (std::is_same_v<V, String>) {
            p.GetStr = get;
            if constexpr (hasSetter) p.SetStr = [set](TObject* o, const String& v) { set(o, v); };
        } else if constexpr (std::is_floating_point_v<V>) {
            p.GetFloat = [get](TObject* o) { return double(get(o)); };
            if constexpr (hasSetter) p.SetFloat = [set](TObject* o, double v) { set(o, V(v)); };
        } else if constexpr (std::is_integral_v<V> || std::is_enum_v<V>) {
            p.GetOrd = [get](TObject* o) { return Int64(get(o)); };
            if constexpr (hasSetter) p.SetOrd = [set](TObject* o, Int64 v) { set(o, static_cast<V>(v)); };
        } else if constexpr (typinfo_detail::IsIntfPtr<V>::value || typinfo_detail::IsInterfacePointer<V>) {
            using I = typename typinfo_detail::IntfOf<V>::Type;
            p.GetIntf = [get](TObject* o) {
                return TIntfPtr<IInterface>(static_cast<IInterface*>(typinfo_detail::IntfOf<V>::Raw(get(o))));
            };
            if constexpr (hasSetter) {
                String pname = name;
                p.SetIntf = [set, pname](TObject* o, IInterface* v) {
                    I* typed = nullptr;
                    if (v) {
                        typed = Supports<I>(v);
                        if (!typed) typinfo_detail::RaiseIntfPropType(pname, InterfaceTypeInfo<I>());
                    }
                    set(o, V(typed));
                };
            }
        } else if constexpr (typinfo_detail::IsObjectPointer<V>) {
            using Obj = std::remove_cv_t<std::remove_pointer_t<V>>;
            p.GetObj = [get](TObject* o) -> TObject* { return const_cast<Obj*>(get(o)); };
            if constexpr (hasSetter) {
                String pname = name;
                p.SetObj = [set, pname](TObject* o, TObject* v) {
                    Obj* typed = dynamic_cast<Obj*>(v);
                    if (v && !typed) typinfo_detail::RaiseObjectPropClass(pname, v, Obj::StaticClass());
                    set(o, typed);
                };
            }
        } else {
            static_assert(sizeof(V) == 0, "this value type cannot be published");
        }
        p.ReaderAccess = typinfo_detail::DescribeAccess<C>(getter);
        p.WriterAccess = typinfo_detail::DescribeAccess<C>(setter);
        FInfo.Props.push_back(std::move(p));
        return *this;
    }

    // An indexed property: getter and setter are member functions shared
    // by several properties, called with index first (a setter of nullptr
    // makes it read-only).
    template <class F, class R, class S>
    TClassBuilder& Prop(const char* name, int index, R (F::*getter)(int) const, S setter) {
        using V = std::remove_cvref_t<R>;
        typinfo_detail::IndexedGetter<R (F::*)(int) const> indexed{getter, index};
        if constexpr (std::is_same_v<S, std::nullptr_t>) {
            Prop(name, indexed, nullptr);
        } else {
            Prop(name, indexed, [setter, index](C* self, const V& value) { (self->*setter)(index, value); });
        }
        Last().Index = index;
        Last().ReaderAccess = typinfo_detail::DescribeAccess<C>(getter);
        Last().WriterAccess = typinfo_detail::DescribeAccess<C>(setter);
        return *this;
    }

    // The declared default of the last property: an ordinal (integers,
    // enumerations, colours), a set, a string or a float.
    template <class V>
    TClassBuilder& Default(V value) {
        TPropInfo& p = Last();
        if constexpr (typinfo_detail::IsSet<V>::value) {
            p.Default = Int64(value.Bits());
        } else if constexpr (std::is_convertible_v<V, String>) {
            p.HasStrDefault = true;
            p.StrDefault = String(value);
        } else if constexpr (std::is_floating_point_v<V>) {
            p.HasFloatDefault = true;
            p.FloatDefault = double(value);
        } else {
            p.Default = Int64(value);
        }
        return *this;
    }
    // Whether the last property is stored: a constant, or a member function
    // of the class that decides.
    TClassBuilder& Stored(bool stored) {
        Last().StoredConst = stored;
        Last().Stored = nullptr;
        Last().StoredMethod = TPropAccess();
        return *this;
    }
    template <class F>
    TClassBuilder& Stored(bool (F::*fn)() const) {
        Last().Stored = [fn](TObject* o) { return (static_cast<C*>(o)->*fn)(); };
        Last().StoredMethod = typinfo_detail::DescribeAccess<C>(fn);
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
        TMethodInfo m;
        m.Name = name;
        m.Code = Event::template Bind<Member, C>(nullptr).Method().Code;
        m.Signature = &Event::Signature();
        FInfo.Methods.push_back(std::move(m));
        return *this;
    }

    // A published component field, filled by the stored layout.
    template <class T, class F>
    TClassBuilder& Field(const char* name, T* F::*field) {
        TFieldInfo f;
        f.Name = name;
        f.FieldClassFn = &T::StaticClass;
        f.Set = [field](TObject* self, TObject* value) { static_cast<C*>(self)->*field = dynamic_cast<T*>(value); };
        f.Get = [field](TObject* self) -> TObject* { return static_cast<C*>(self)->*field; };
        FInfo.Fields.push_back(std::move(f));
        return *this;
    }

    TClassInfo Build() { return std::move(FInfo); }

private:
    TPropInfo& Last() { return FInfo.Props.back(); }
    TClassInfo FInfo;
};
