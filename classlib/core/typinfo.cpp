#include "classlib/core/typinfo.h"

#include <cxxabi.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>

#include "classlib/core/classes.h"
#include "classlib/core/sysutils.h"

// ---- Classes ----------------------------------------------------------------

bool TClassInfo::InheritsFrom(TClass other) const {
    for (TClass c = this; c; c = c->Parent)
        if (c == other) return true;
    return false;
}

const TInterfaceEntry* TClassInfo::GetInterfaceEntry(const TGUID& iid) const {
    for (TClass c = this; c; c = c->Parent)
        for (const TInterfaceEntry& e : c->Interfaces)
            if (e.IID == iid) return &e;
    return nullptr;
}

bool TObject::GetInterface(const TGUID& iid, void** obj) {
    *obj = nullptr;
    if (const TInterfaceEntry* e = ClassType()->GetInterfaceEntry(iid))
        *obj = e->Get(this);
    else if (iid == IInterface::IID)
        *obj = dynamic_cast<IInterface*>(this);
    return *obj != nullptr;
}

TClass TObject::StaticClass() {
    static const TClassInfo info = TClassBuilder<TObject>("TObject").Build();
    return &info;
}

const char* TObject::ClassName() const { return ClassType()->Name.c_str(); }

bool TObject::InheritsFrom(TClass cls) const { return ClassType()->InheritsFrom(cls); }

// ---- Built-in value types -------------------------------------------------

TTypeInfo MakeOrdinalTypeInfo(TTypeKind kind, const char* name, Int64 minValue, Int64 maxValue) {
    TTypeInfo t;
    t.Kind = kind;
    t.Name = name;
    t.MinValue = minValue;
    t.MaxValue = maxValue;
    return t;
}

TTypeInfo MakeEnumTypeInfo(const char* name, std::initializer_list<const char*> names) {
    TTypeInfo t;
    t.Kind = tkEnumeration;
    t.Name = name;
    for (const char* n : names) t.EnumNames.emplace_back(n);
    t.MinValue = 0;
    t.MaxValue = Int64(t.EnumNames.size()) - 1;
    return t;
}

#define QL_ORDINAL_TYPE(CppType, Kind, Name, Min, Max)                                                                 \
    const TTypeInfo* TypeInfoOf(CppType*) {                                                                            \
        static const TTypeInfo info = MakeOrdinalTypeInfo(Kind, Name, Min, Max);                                       \
        return &info;                                                                                                  \
    }

QL_ORDINAL_TYPE(int, tkInteger, "Integer", INT_MIN, INT_MAX)
QL_ORDINAL_TYPE(unsigned, tkInteger, "Cardinal", 0, UINT_MAX)
QL_ORDINAL_TYPE(short, tkInteger, "SmallInt", SHRT_MIN, SHRT_MAX)
QL_ORDINAL_TYPE(Word, tkInteger, "Word", 0, 65535)
QL_ORDINAL_TYPE(Byte, tkInteger, "Byte", 0, 255)
QL_ORDINAL_TYPE(char, tkChar, "Char", 0, 255)
QL_ORDINAL_TYPE(long long, tkInt64, "Int64", LLONG_MIN, LLONG_MAX)
QL_ORDINAL_TYPE(long, (sizeof(long) == 8 ? tkInt64 : tkInteger), (sizeof(long) == 8 ? "Int64" : "Longint"), LONG_MIN,
                LONG_MAX)
#undef QL_ORDINAL_TYPE

const TTypeInfo* TypeInfoOf(bool*) {
    static const TTypeInfo info = MakeEnumTypeInfo("Boolean", {"False", "True"});
    return &info;
}

// A type that is described by its kind and name alone.
static TTypeInfo MakeTypeInfo(TTypeKind kind, const char* name) {
    TTypeInfo t;
    t.Kind = kind;
    t.Name = name;
    return t;
}

static TTypeInfo MakeFloatTypeInfo(const char* name, TFloatType type) {
    TTypeInfo t = MakeTypeInfo(tkFloat, name);
    t.FloatType = type;
    return t;
}

const TTypeInfo* TypeInfoOf(double*) {
    static const TTypeInfo info = MakeFloatTypeInfo("Double", ftDouble);
    return &info;
}
const TTypeInfo* TypeInfoOf(float*) {
    static const TTypeInfo info = MakeFloatTypeInfo("Single", ftSingle);
    return &info;
}
const TTypeInfo* TypeInfoOf(long double*) {
    static const TTypeInfo info = MakeFloatTypeInfo("Extended", ftExtended);
    return &info;
}
const TTypeInfo* TypeInfoOf(Variant*) {
    static const TTypeInfo info = MakeTypeInfo(tkVariant, "Variant");
    return &info;
}
const TTypeInfo* TypeInfoDateTime() {
    static const TTypeInfo info = MakeFloatTypeInfo("TDateTime", ftDouble);
    return &info;
}
const TTypeInfo* TypeInfoOf(String*) {
    static const TTypeInfo info = [] {
        TTypeInfo t = MakeTypeInfo(tkString, "string");
        t.MaxLength = Int64(String().max_size());
        return t;
    }();
    return &info;
}

// ---- Method parameters ----------------------------------------------------

namespace {

template <class T>
std::pair<const std::type_info*, const TTypeInfo*> BuiltIn() {
    return {&typeid(T*), TypeInfoOf(static_cast<T*>(nullptr))};
}

}  // namespace

String MethodParamTypeName(const TMethodParamInfo& param) {
    if (!param.PointerType) return String();
    static const std::pair<const std::type_info*, const TTypeInfo*> builtIns[] = {
        BuiltIn<int>(),       BuiltIn<unsigned>(), BuiltIn<short>(),  BuiltIn<Word>(),  BuiltIn<Byte>(),
        BuiltIn<char>(),      BuiltIn<bool>(),     BuiltIn<double>(), BuiltIn<float>(), BuiltIn<long double>(),
        BuiltIn<long long>(), BuiltIn<long>(),     BuiltIn<String>()};
    for (const auto& [type, info] : builtIns)
        if (*type == *param.PointerType) return info->Name;
    // The C++ name of the pointer type, less the pointer; a pointer to a
    // class is named after the class.
    String name = param.PointerType->name();
    int status = 0;
    if (char* plain = abi::__cxa_demangle(name.c_str(), nullptr, nullptr, &status)) {
        name = plain;
        std::free(plain);
    }
    for (int i = 0; i < 2 && !name.empty() && name.back() == '*'; ++i) name.pop_back();
    return name;
}

// ---- Integer identifiers --------------------------------------------------

namespace {

std::mutex& RegistryLock() {
    static std::mutex m;
    return m;
}

std::map<const TTypeInfo*, std::vector<TIdentMapEntry>>& IdentMaps() {
    static std::map<const TTypeInfo*, std::vector<TIdentMapEntry>> maps;
    return maps;
}

}  // namespace

void RegisterIntegerIdents(const TTypeInfo* type, std::vector<TIdentMapEntry> map) {
    std::lock_guard lock(RegistryLock());
    IdentMaps()[type] = std::move(map);
}

bool HasIntegerIdents(const TTypeInfo* type) {
    std::lock_guard lock(RegistryLock());
    return IdentMaps().count(type) != 0;
}

bool IdentToInt(const TTypeInfo* type, const String& ident, Int64& value) {
    std::lock_guard lock(RegistryLock());
    auto it = IdentMaps().find(type);
    if (it == IdentMaps().end()) return false;
    for (const TIdentMapEntry& e : it->second)
        if (SameText(e.Name, ident)) {
            value = e.Value;
            return true;
        }
    return false;
}

bool IntToIdent(const TTypeInfo* type, Int64 value, String& ident) {
    std::lock_guard lock(RegistryLock());
    auto it = IdentMaps().find(type);
    if (it == IdentMaps().end()) return false;
    for (const TIdentMapEntry& e : it->second)
        if (e.Value == value) {
            ident = e.Name;
            return true;
        }
    return false;
}

// ---- Enumerations and sets as text ------------------------------------------

String GetEnumName(const TTypeInfo* type, Int64 value) {
    if (type->Kind == tkEnumeration && value >= type->MinValue && value <= type->MaxValue &&
        size_t(value - type->MinValue) < type->EnumNames.size())
        return type->EnumNames[size_t(value - type->MinValue)];
    return std::to_string(value);
}

Int64 GetEnumValue(const TTypeInfo* type, const String& name) {
    if (type->Kind != tkEnumeration) return -1;
    for (size_t i = 0; i < type->EnumNames.size(); ++i)
        if (SameText(type->EnumNames[i], name)) return type->MinValue + Int64(i);
    return -1;
}

String SetToString(const TTypeInfo* setType, std::uint64_t bits, bool brackets) {
    const TTypeInfo* elem = setType->Kind == tkSet ? setType->CompType : setType;
    String result;
    for (unsigned i = 0; i < 64; ++i) {
        if (!(bits & (std::uint64_t(1) << i))) continue;
        if (!result.empty()) result += ',';
        result += GetEnumName(elem, Int64(i));
    }
    return brackets ? "[" + result + "]" : result;
}

std::uint64_t StringToSet(const TTypeInfo* setType, const String& text) {
    const TTypeInfo* elem = setType->Kind == tkSet ? setType->CompType : setType;
    std::uint64_t bits = 0;
    size_t i = 0, n = text.size();
    auto skipSpaces = [&] {
        while (i < n && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    };
    skipSpaces();
    bool bracket = i < n && text[i] == '[';
    if (bracket) ++i;
    while (true) {
        skipSpaces();
        size_t start = i;
        while (i < n && text[i] != ',' && text[i] != ']' && static_cast<unsigned char>(text[i]) > ' ') ++i;
        String name = text.substr(start, i - start);
        skipSpaces();
        if (!name.empty()) {
            Int64 v = GetEnumValue(elem, name);
            if (v < 0 || v > 63) throw EPropertyConvertError("Invalid property element: " + name);
            bits |= std::uint64_t(1) << v;
        }
        if (i < n && text[i] == ',') {
            ++i;
            continue;
        }
        break;
    }
    if (bracket) {
        if (i < n && text[i] == ']')
            ++i;
        else
            throw EPropertyConvertError("Invalid property element: " + text);
    }
    skipSpaces();
    if (i != n) throw EPropertyConvertError("Invalid property element: " + text);
    return bits;
}

// ---- Class registry -----------------------------------------------------------

namespace {
std::map<String, TClass>& ClassRegistry() {
    static std::map<String, TClass> classes;
    return classes;
}
}  // namespace

void RegisterClass(TClass cls) {
    std::lock_guard lock(RegistryLock());
    ClassRegistry()[UpperCase(cls->Name)] = cls;
}

void RegisterClasses(std::initializer_list<TClass> classes) {
    for (TClass c : classes) RegisterClass(c);
}

void UnregisterClass(TClass cls) {
    std::lock_guard lock(RegistryLock());
    auto it = ClassRegistry().find(UpperCase(cls->Name));
    if (it != ClassRegistry().end() && it->second == cls) ClassRegistry().erase(it);
}

TClass GetClass(const String& name) {
    std::lock_guard lock(RegistryLock());
    auto it = ClassRegistry().find(UpperCase(name));
    return it == ClassRegistry().end() ? nullptr : it->second;
}

TClass FindClass(const String& name) {
    TClass c = GetClass(name);
    if (!c) throw EClassNotFound("Class " + name + " not found");
    return c;
}

std::vector<TClass> GetRegisteredClasses() {
    std::lock_guard lock(RegistryLock());
    std::vector<TClass> list;
    for (const auto& entry : ClassRegistry()) list.push_back(entry.second);
    return list;
}

// ---- Creating instances -------------------------------------------------------

void typinfo_detail::RaiseCannotCreate(TClass cls) {
    throw EInvalidOperation("Cannot create an instance of " + (cls ? cls->Name : String("nil")));
}

TObject* CreateObject(TClass cls) {
    if (!cls || !cls->Create) typinfo_detail::RaiseCannotCreate(cls);
    return cls->Create();
}

TComponent* CreateComponent(TClass cls, TComponent* owner) {
    if (!cls || !cls->CreateComponent) typinfo_detail::RaiseCannotCreate(cls);
    return cls->CreateComponent(owner);
}

TObject* CreateObject(const String& className) { return CreateObject(FindClass(className)); }

TComponent* CreateComponent(const String& className, TComponent* owner) {
    return CreateComponent(FindClass(className), owner);
}

// ---- Properties by name -----------------------------------------------------

std::vector<const TPropInfo*> GetPropList(TClass cls) {
    std::vector<TClass> chain;
    for (TClass c = cls; c; c = c->Parent) chain.push_back(c);
    std::vector<const TPropInfo*> list;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        for (const TPropInfo& p : (*it)->Props) {
            // A class may publish a declared property, or publish one again
            // to change its default or stored rule: the newest entry
            // replaces the inherited one in its place.
            auto same =
                std::find_if(list.begin(), list.end(), [&](const TPropInfo* q) { return SameText(q->Name, p.Name); });
            if (same != list.end())
                *same = &p;
            else
                list.push_back(&p);
        }
    std::erase_if(list, [](const TPropInfo* p) { return !p->Published; });
    return list;
}

const TPropInfo* GetDeclaredPropInfo(TClass cls, const String& name) {
    for (TClass c = cls; c; c = c->Parent)
        for (auto it = c->Props.rbegin(); it != c->Props.rend(); ++it)
            if (SameText(it->Name, name)) return &*it;
    return nullptr;
}

const TPropInfo* GetPropInfo(TClass cls, const String& name) {
    const TPropInfo* p = GetDeclaredPropInfo(cls, name);
    return p && p->Published ? p : nullptr;
}

const TPropInfo* GetPropInfo(const TObject* instance, const String& name) {
    return instance ? GetPropInfo(instance->ClassType(), name) : nullptr;
}

const TMethodInfo* FindPublishedMethod(TClass cls, const String& name) {
    for (TClass c = cls; c; c = c->Parent)
        for (const TMethodInfo& m : c->Methods)
            if (SameText(m.Name, name)) return &m;
    return nullptr;
}

const TMethodInfo* FindPublishedMethodByCode(TClass cls, TMethodCode code) {
    for (TClass c = cls; c; c = c->Parent)
        for (const TMethodInfo& m : c->Methods)
            if (m.Code == code) return &m;
    return nullptr;
}

const TFieldInfo* FindPublishedField(TClass cls, const String& name) {
    for (TClass c = cls; c; c = c->Parent)
        for (const TFieldInfo& f : c->Fields)
            if (SameText(f.Name, name)) return &f;
    return nullptr;
}

bool IsStoredProp(TObject* instance, const TPropInfo* prop) {
    if (prop->Stored) return prop->Stored(instance);
    return prop->StoredConst;
}

bool IsDefaultPropValue(TObject* instance, const TPropInfo* prop) {
    switch (prop->PropType()->Kind) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet:
    case tkInt64:
        // Without a declared default an ordinal is always written.
        return prop->Default != TPropInfo::NoDefault && prop->GetOrd && prop->GetOrd(instance) == prop->Default;
    case tkFloat: return prop->GetFloat && prop->GetFloat(instance) == prop->FloatDefault;
    case tkString: return prop->GetStr && prop->GetStr(instance) == prop->StrDefault;
    case tkMethod: return !prop->GetMethod || !prop->GetMethod(instance).Code;
    case tkInterface: return !prop->GetIntf || !prop->GetIntf(instance);
    case tkVariant: return prop->GetVariant && prop->GetVariant(instance).IsEmpty();
    case tkClass: return false;  // decided by the writer: references and nested objects
    default: return false;
    }
}

bool HasDefaultValue(const TPropInfo* prop) {
    switch (prop->PropType()->Kind) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet:
    case tkInt64: return prop->Default != TPropInfo::NoDefault;
    case tkFloat:
    case tkString:
    case tkVariant: return true;
    default: return false;
    }
}

namespace {

void CollectDefaultDrifts(TObject* instance, const String& path, int depth, std::vector<String>& drifts) {
    for (const TPropInfo* p : GetPropList(instance->ClassType())) {
        if (p->PropType()->Kind == tkClass) {
            // Nested objects the writer stores property by property (a
            // font, a settings object); not references to components.
            TObject* nested = p->GetObj && depth < 8 ? p->GetObj(instance) : nullptr;
            if (nested && !nested->InheritsFrom(TComponent::StaticClass()) && IsStoredProp(instance, p))
                CollectDefaultDrifts(nested, path + p->Name + ".", depth + 1, drifts);
            continue;
        }
        // Only what the writer may leave out: readable, writable, stored.
        if (!p->HasGetter() || !p->HasSetter() || !HasDefaultValue(p)) continue;
        if (!p->Stored && !p->StoredConst) continue;
        if (IsDefaultPropValue(instance, p)) continue;
        const TTypeInfo* type = p->PropType();
        String declared, held;
        switch (type->Kind) {
        case tkFloat:
            declared = std::to_string(p->FloatDefault);
            held = std::to_string(p->GetFloat(instance));
            break;
        case tkString:
            declared = "'" + p->StrDefault + "'";
            held = "'" + p->GetStr(instance) + "'";
            break;
        case tkEnumeration:
            declared = GetEnumName(type, p->Default);
            held = GetEnumName(type, p->GetOrd(instance));
            break;
        case tkSet:
            declared = SetToString(type, std::uint64_t(p->Default));
            held = SetToString(type, std::uint64_t(p->GetOrd(instance)));
            break;
        case tkVariant: {
            const Variant v = p->GetVariant(instance);
            declared = "Empty";
            held = VarTypeName(v.VarType()) + " '" + v.AsString() + "'";
            break;
        }
        default: declared = std::to_string(p->Default); held = std::to_string(p->GetOrd(instance));
        }
        drifts.push_back(path + p->Name + ": default " + declared + ", holds " + held);
    }
}

}  // namespace

std::vector<String> FindDefaultDrifts(TObject* instance) {
    std::vector<String> drifts;
    CollectDefaultDrifts(instance, String(instance->ClassName()) + ".", 0, drifts);
    return drifts;
}

// ---- Building class descriptions ----------------------------------------------

using typinfo_detail::TClassBuilderBase;

TClassBuilderBase::TClassBuilderBase(const char* name, TClass parent, TClass (*self)()) {
    FInfo.Name = name;
    FInfo.Parent = parent;
    FInfo.TypeInfo.Kind = tkClass;
    FInfo.TypeInfo.Name = name;
    FInfo.TypeInfo.ClassTypeFn = self;
}

TClassBuilderBase::~TClassBuilderBase() = default;

TPropInfo& TClassBuilderBase::AddProp(const char* name, const TTypeInfo* (*type)()) {
    TPropInfo& p = FInfo.Props.emplace_back();
    p.Name = name;
    p.TypeFn = type;
    return p;
}

void TClassBuilderBase::PublishInherited(const char* name) {
    const TPropInfo* inherited = FInfo.Parent ? GetDeclaredPropInfo(FInfo.Parent, name) : nullptr;
    if (!inherited) typinfo_detail::RaisePublishUnknown(FInfo.Name.c_str(), name);
    FInfo.Props.push_back(*inherited);
    Last().Published = true;
}

void TClassBuilderBase::SetOrdDefault(Int64 value) { Last().Default = value; }

void TClassBuilderBase::SetStrDefault(const char* value) {
    Last().HasStrDefault = true;
    Last().StrDefault = value;
}

void TClassBuilderBase::SetStrDefault(const String& value) {
    Last().HasStrDefault = true;
    Last().StrDefault = value;
}

void TClassBuilderBase::SetFloatDefault(double value) {
    Last().HasFloatDefault = true;
    Last().FloatDefault = value;
}

void TClassBuilderBase::SetStored(bool stored) {
    Last().StoredConst = stored;
    Last().Stored = nullptr;
    Last().StoredMethod = TPropAccess();
}

void TClassBuilderBase::AddMethod(const char* name, TMethodCode code, const std::type_info* signature) {
    TMethodInfo& m = FInfo.Methods.emplace_back();
    m.Name = name;
    m.Code = code;
    m.Signature = signature;
}

TFieldInfo& TClassBuilderBase::AddField(const char* name, TClass (*fieldClass)()) {
    TFieldInfo& f = FInfo.Fields.emplace_back();
    f.Name = name;
    f.FieldClassFn = fieldClass;
    return f;
}

void TClassBuilderBase::AddInterface(const TGUID& iid, void* (*get)(TObject*)) {
    FInfo.Interfaces.push_back(TInterfaceEntry{iid, get});
}

void TClassBuilderBase::AddFactory(const std::type_info* signature, std::shared_ptr<void> function) {
    TFactoryInfo& f = FInfo.Factories.emplace_back();
    f.Signature = signature;
    f.Function = std::move(function);
}

TClassInfo TClassBuilderBase::TakeInfo() {
    // Descriptions live as long as the program: no spare room.
    FInfo.Props.shrink_to_fit();
    return std::move(FInfo);
}

void typinfo_detail::DescribeAccessInto(TPropAccess& access, TAccessShape shape, std::uintptr_t word) {
    access = TPropAccess();
    switch (shape) {
    case asNone: break;
    case asField:
        access.Kind = pakField;
        access.FieldOffset = std::ptrdiff_t(word);
        break;
    case asMethod:
        // A virtual function's pointer holds one plus its byte offset in
        // the virtual table.
        if (word & 1) {
            access.Kind = pakVirtualMethod;
            access.VirtualSlot = int((word - 1) / sizeof(void*));
        } else {
            access.Kind = pakStaticMethod;
            access.MethodAddress = reinterpret_cast<const void*>(word);
        }
        break;
    case asFunction:
        access.Kind = pakStaticMethod;
        access.MethodAddress = reinterpret_cast<const void*>(word);
        break;
    case asOther: access.Kind = pakStaticMethod; break;
    }
}

const void* typinfo_detail::KeepAccessorData(const void* data, std::size_t size) {
    // Small pieces packed into blocks that are never given back: the
    // descriptions that point into them live as long as the program.
    constexpr std::size_t align = alignof(std::max_align_t);
    constexpr std::size_t blockSize = 16384;
    struct Block {
        Block* Previous;
    };
    static std::mutex lock;
    static Block* block = nullptr;
    static std::size_t used = blockSize;
    std::lock_guard guard(lock);
    std::size_t start = (used + align - 1) / align * align;
    if (!block || start + size > blockSize) {
        Block* next = static_cast<Block*>(::operator new(std::max(blockSize, size + align)));
        next->Previous = block;
        block = next;
        start = (sizeof(Block) + align - 1) / align * align;
    }
    char* place = reinterpret_cast<char*>(block) + start;
    std::memcpy(place, data, size);
    used = start + size;
    return place;
}

const char* typinfo_detail::LastingName(const char* name) {
    static std::mutex lock;
    static std::set<String, std::less<>> names;
    std::lock_guard guard(lock);
    return names.emplace(name).first->c_str();
}

// ---- Typed access -------------------------------------------------------------

namespace {

[[noreturn]] void Unknown(const String& name) { throw EPropertyError("Unknown property: " + name); }
[[noreturn]] void ReadOnly(const TPropInfo* p) { throw EPropertyError("Property " + p->Name + " is read-only"); }
[[noreturn]] void WriteOnly(const TPropInfo* p) { throw EPropertyError("Property " + p->Name + " is write-only"); }

const TPropInfo* Need(TObject* instance, const String& name) {
    const TPropInfo* p = GetPropInfo(instance, name);
    if (!p) Unknown(name);
    return p;
}

}  // namespace

void typinfo_detail::RaiseIntfPropType(const String& prop, const TTypeInfo* type) {
    throw EPropertyError("Invalid property value: the object does not implement " + type->Name + " (" + prop + ")");
}

void typinfo_detail::RaisePublishUnknown(const char* cls, const char* prop) {
    throw EPropertyError(String(cls) + " publishes " + prop + ", which no ancestor declares");
}

void typinfo_detail::RaiseObjectPropClass(const String& prop, TObject* value, TClass expected) {
    throw EPropertyError("Invalid property value: " + String(value->ClassName()) + " is not a " + expected->Name +
                         " (" + prop + ")");
}

Int64 GetOrdProp(TObject* instance, const TPropInfo* prop) {
    if (!prop->GetOrd) WriteOnly(prop);
    return prop->GetOrd(instance);
}
void SetOrdProp(TObject* instance, const TPropInfo* prop, Int64 value) {
    if (!prop->SetOrd) ReadOnly(prop);
    prop->SetOrd(instance, value);
}
double GetFloatProp(TObject* instance, const TPropInfo* prop) {
    if (!prop->GetFloat) WriteOnly(prop);
    return prop->GetFloat(instance);
}
void SetFloatProp(TObject* instance, const TPropInfo* prop, double value) {
    if (!prop->SetFloat) ReadOnly(prop);
    prop->SetFloat(instance, value);
}
String GetStrProp(TObject* instance, const TPropInfo* prop) {
    if (!prop->GetStr) WriteOnly(prop);
    return prop->GetStr(instance);
}
void SetStrProp(TObject* instance, const TPropInfo* prop, const String& value) {
    if (!prop->SetStr) ReadOnly(prop);
    prop->SetStr(instance, value);
}
TObject* GetObjectProp(TObject* instance, const TPropInfo* prop) {
    if (!prop->GetObj) WriteOnly(prop);
    return prop->GetObj(instance);
}
void SetObjectProp(TObject* instance, const TPropInfo* prop, TObject* value) {
    if (!prop->SetObj) ReadOnly(prop);
    prop->SetObj(instance, value);
}
TMethod GetMethodProp(TObject* instance, const TPropInfo* prop) {
    if (!prop->GetMethod) WriteOnly(prop);
    return prop->GetMethod(instance);
}
void SetMethodProp(TObject* instance, const TPropInfo* prop, const TMethod& value) {
    if (!prop->SetMethod) ReadOnly(prop);
    prop->SetMethod(instance, value);
}

TIntfPtr<IInterface> GetInterfaceProp(TObject* instance, const TPropInfo* prop) {
    if (!prop->GetIntf) WriteOnly(prop);
    return prop->GetIntf(instance);
}
void SetInterfaceProp(TObject* instance, const TPropInfo* prop, IInterface* value) {
    if (!prop->SetIntf) ReadOnly(prop);
    prop->SetIntf(instance, value);
}
Variant GetVariantProp(TObject* instance, const TPropInfo* prop) {
    if (!prop->GetVariant) WriteOnly(prop);
    return prop->GetVariant(instance);
}
void SetVariantProp(TObject* instance, const TPropInfo* prop, const Variant& value) {
    if (!prop->SetVariant) ReadOnly(prop);
    prop->SetVariant(instance, value);
}

Int64 GetOrdProp(TObject* instance, const String& name) { return GetOrdProp(instance, Need(instance, name)); }
void SetOrdProp(TObject* instance, const String& name, Int64 value) {
    SetOrdProp(instance, Need(instance, name), value);
}
String GetStrProp(TObject* instance, const String& name) { return GetStrProp(instance, Need(instance, name)); }
void SetStrProp(TObject* instance, const String& name, const String& value) {
    SetStrProp(instance, Need(instance, name), value);
}
TObject* GetObjectProp(TObject* instance, const String& name) { return GetObjectProp(instance, Need(instance, name)); }
void SetObjectProp(TObject* instance, const String& name, TObject* value) {
    SetObjectProp(instance, Need(instance, name), value);
}

String GetEnumProp(TObject* instance, const String& name) {
    const TPropInfo* p = Need(instance, name);
    return GetEnumName(p->PropType(), GetOrdProp(instance, p));
}

void SetEnumProp(TObject* instance, const String& name, const String& value) {
    const TPropInfo* p = Need(instance, name);
    Int64 v = GetEnumValue(p->PropType(), value);
    if (v < 0) throw EPropertyConvertError("Invalid property element: " + value);
    SetOrdProp(instance, p, v);
}

String GetSetProp(TObject* instance, const String& name, bool brackets) {
    const TPropInfo* p = Need(instance, name);
    return SetToString(p->PropType(), std::uint64_t(GetOrdProp(instance, p)), brackets);
}

void SetSetProp(TObject* instance, const String& name, const String& value) {
    const TPropInfo* p = Need(instance, name);
    SetOrdProp(instance, p, Int64(StringToSet(p->PropType(), value)));
}
