#include "storage/support/rtti.h"

#include <cstring>
#include <map>
#include <mutex>

#include "classlib/core/scopes.h"
#include "classlib/core/strings.h"
#include "classlib/core/sysutils.h"
#include "storage/support/errors.h"
#include "storage/support/text_routines.h"

QL_DEFINE_ENUM(TZevOrdinalType, "otSByte", "otUByte", "otSWord", "otUWord", "otSLong", "otULong")
QL_DEFINE_ENUM(TZevMethodKind, "mkProcedure", "mkFunction")
QL_DEFINE_ENUM(TZevPropSpecKind, "pskNone", "pskStaticMethod", "pskVirtualMethod", "pskField", "pskConstant")
QL_DEFINE_ENUM(TZevParamFlag, "pfVar", "pfConst", "pfArray", "pfAddress", "pfReference", "pfOut")

namespace {

// The element type of a set type; a set holds at most 256 elements.
const TTypeInfo* ElementType(const TTypeInfo* setType) {
    const TTypeInfo* element = setType->Kind == tkSet && setType->CompType ? setType->CompType : setType;
    if (element->MaxValue < element->MinValue || element->MaxValue - element->MinValue > 255)
        throw EZevRTTIError("Invalid set type " + setType->Name);
    return element;
}

Int64 FloorDiv8(Int64 v) { return v >= 0 ? v / 8 : -((-v + 7) / 8); }

// The first element value the value's first byte holds.
Int64 FirstByteBase(const TTypeInfo* setType) { return FloorDiv8(ElementType(setType)->MinValue) * 8; }

bool TestBit(const void* value, int bit) { return (static_cast<const Byte*>(value)[bit / 8] >> (bit % 8)) & 1; }

void IncludeBit(void* value, int bit) { static_cast<Byte*>(value)[bit / 8] |= Byte(1u << (bit % 8)); }

String ElementText(const TTypeInfo* element, Int64 v) {
    if (element->Kind == tkEnumeration) return GetEnumName(element, v);
    return IntToStr(v);
}

// An element of the item text: an enumeration name (from the highest value
// down) or a decimal number in the element type's range.
Int64 ElementValue(const TTypeInfo* element, const String& text) {
    if (element->Kind == tkEnumeration) {
        for (Int64 v = element->MaxValue; v >= element->MinValue; --v) {
            size_t i = size_t(v - element->MinValue);
            if (i < element->EnumNames.size() && SameText(element->EnumNames[i], text)) return v;
        }
        throw EZevRTTIError(Format("Unknown identifier '%s'.", {text}));
    }
    Int64 v = StrToInt64(text);
    if (v < element->MinValue || v > element->MaxValue)
        throw EConvertError(Format("'%s' is not an element of the set's range", {text}));
    return v;
}

}  // namespace

// ---- Set values -----------------------------------------------------------------------

int ZevSetSize(const TTypeInfo* setType) {
    const TTypeInfo* element = ElementType(setType);
    return int(FloorDiv8(element->MaxValue) - FloorDiv8(element->MinValue) + 1);
}

int ZevSetBitOf(const TTypeInfo* setType, Int64 element) { return int(element - FirstByteBase(setType)); }

void ZevSetFromBits(const TTypeInfo* setType, std::uint64_t bits, void* value) {
    const TTypeInfo* element = ElementType(setType);
    std::memset(value, 0, size_t(ZevSetSize(setType)));
    for (Int64 v = element->MinValue; v <= element->MaxValue && v < 64; ++v)
        if (v >= 0 && (bits >> v) & 1) IncludeBit(value, ZevSetBitOf(setType, v));
}

std::uint64_t ZevSetToBits(const TTypeInfo* setType, const void* value) {
    const TTypeInfo* element = ElementType(setType);
    std::uint64_t bits = 0;
    for (Int64 v = element->MinValue; v <= element->MaxValue; ++v)
        if (v >= 0 && v < 64 && TestBit(value, ZevSetBitOf(setType, v))) bits |= std::uint64_t(1) << v;
    return bits;
}

namespace {

void AppendSetItems(const TTypeInfo* setType, const void* value, bool wantRanges, TStrings& list) {
    const TTypeInfo* element = ElementType(setType);
    TUpdateScope update(list);
    Int64 v = element->MinValue;
    while (v <= element->MaxValue) {
        if (!TestBit(value, ZevSetBitOf(setType, v))) {
            ++v;
            continue;
        }
        Int64 first = v;
        while (v + 1 <= element->MaxValue && TestBit(value, ZevSetBitOf(setType, v + 1))) ++v;
        Int64 last = v++;
        if (wantRanges && first != last) {
            list.Add(ElementText(element, first) + " .. " + ElementText(element, last));
        } else {
            for (Int64 e = first; e <= last; ++e) list.Add(ElementText(element, e));
        }
    }
}

void SetFromItems(const TTypeInfo* setType, void* value, TStrings& list) {
    const TTypeInfo* element = ElementType(setType);
    // The result is built aside, so a failing item leaves value cleared.
    std::vector<Byte> result(size_t(ZevSetSize(setType)), 0);
    std::memset(value, 0, result.size());
    for (int i = 0; i < list.Count(); ++i) {
        String item = Trim(list[i]);
        if (item.empty()) continue;
        String firstText = item, lastText = item;
        size_t dots = item.find("..");
        if (dots != String::npos) {
            firstText = Trim(item.substr(0, dots));
            lastText = Trim(item.substr(dots + 2));
        }
        Int64 first = ElementValue(element, firstText);
        Int64 last = ElementValue(element, lastText);
        for (Int64 e = first; e <= last; ++e) IncludeBit(result.data(), ZevSetBitOf(setType, e));
    }
    if (!result.empty()) std::memcpy(value, result.data(), result.size());
}

}  // namespace

String SetValueToText(const TTypeInfo* setType, const void* value, bool wantBrackets, bool wantRanges) {
    TStringList items;
    AppendSetItems(setType, value, wantRanges, items);
    String text;
    for (int i = 0; i < items.Count(); ++i) {
        if (i > 0) text += ", ";
        text += items[i];
    }
    return wantBrackets ? "[" + text + "]" : text;
}

void TextToSetValue(const TTypeInfo* setType, void* value, const String& text) {
    TStringList items;
    SplitText(text, ",", items, true);
    if (items.Count() > 0 && !items[0].empty() && items[0][0] == '[') {
        items.SetStrings(0, items[0].substr(1));
        String last = items[items.Count() - 1];
        if (!last.empty()) last.pop_back();
        items.SetStrings(items.Count() - 1, last);
    }
    SetFromItems(setType, value, items);
}

// ---- Wrappers -----------------------------------------------------------------------------

namespace {

const char* TypeKindName(TTypeKind kind) {
    static const char* const names[] = {"tkUnknown", "tkInteger",   "tkChar",    "tkEnumeration", "tkFloat",
                                        "tkString",  "tkSet",       "tkClass",   "tkMethod",      "tkInt64",
                                        "tkVariant", "tkInterface", "tkDynArray"};
    return unsigned(kind) < sizeof(names) / sizeof(names[0]) ? names[kind] : "tkUnknown";
}

String PointerText(const void* p) { return Format("%p", {p}); }

}  // namespace

TIntfPtr<IZevTypeInfo> ZevTypeInfo(const TTypeInfo* typeInfo) {
    TIntfPtr<TZevTypeInfo> wrapper;
    switch (typeInfo->Kind) {
    case tkInteger:
    case tkChar: wrapper = NewObject<TZevOrdinalRangeTypeInfo>(typeInfo); break;
    case tkEnumeration: wrapper = NewObject<TZevEnumerationTypeInfo>(typeInfo); break;
    case tkFloat: wrapper = NewObject<TZevFloatTypeInfo>(typeInfo); break;
    case tkString: wrapper = NewObject<TZevStringTypeInfo>(typeInfo); break;
    case tkDynArray: wrapper = NewObject<TZevDynArrayTypeInfo>(typeInfo); break;
    case tkSet: wrapper = NewObject<TZevSetTypeInfo>(typeInfo); break;
    case tkClass: wrapper = NewObject<TZevClassTypeInfo>(typeInfo); break;
    case tkInt64: wrapper = NewObject<TZevInt64TypeInfo>(typeInfo); break;
    case tkMethod: wrapper = NewObject<TZevEventTypeInfo>(typeInfo); break;
    case tkInterface: wrapper = NewObject<TZevInterfaceTypeInfo>(typeInfo); break;
    default: wrapper = NewObject<TZevTypeInfo>(typeInfo); break;
    }
    return ZevQuery<IZevTypeInfo>(wrapper);
}

bool TZevTypeInfo::QueryInterface(const TGUID& iid, void** obj) {
    return QueryInterfaces<IZevTypeInfo>(this, iid, obj);
}

void TZevTypeInfo::WriteTo(TStrings& dest) {
    dest.Add("Name: " + Name());
    dest.Add(String("Type kind: ") + TypeKindName(TypeKind()));
    dest.Add("Type info: " + PointerText(FTypeInfo));
}

void TZevTypeInfo::DeclarationTo(TStrings& dest) {
    dest.Add(Format("// Declaration for '%s' not supported.", {Name()}));
}

bool TZevOrdinalTypeInfo::QueryInterface(const TGUID& iid, void** obj) {
    return QueryInterfaces<IZevOrdinalTypeInfo, IZevTypeInfo>(this, iid, obj);
}

TZevOrdinalType TZevOrdinalTypeInfo::OrdinalType() const {
    const TTypeInfo* t = FTypeInfo->Kind == tkSet ? ElementType(FTypeInfo) : FTypeInfo;
    Int64 lo = t->MinValue, hi = t->MaxValue;
    if (FTypeInfo->Kind == tkSet)
        return ZevSetSize(FTypeInfo) <= 1 ? otUByte : ZevSetSize(FTypeInfo) <= 2 ? otUWord : otULong;
    if (lo >= 0) return hi <= 0xFF ? otUByte : hi <= 0xFFFF ? otUWord : otULong;
    if (lo >= -128 && hi <= 127) return otSByte;
    if (lo >= -32768 && hi <= 32767) return otSWord;
    return otSLong;
}

void TZevOrdinalTypeInfo::WriteTo(TStrings& dest) {
    TZevTypeInfo::WriteTo(dest);
    dest.Add("Ordinal type: " + GetEnumName(TypeInfoFor<TZevOrdinalType>(), OrdinalType()));
}

bool TZevOrdinalRangeTypeInfo::QueryInterface(const TGUID& iid, void** obj) {
    return QueryInterfaces<IZevOrdinalRangeTypeInfo, IZevOrdinalTypeInfo, IZevTypeInfo>(this, iid, obj);
}

void TZevOrdinalRangeTypeInfo::WriteTo(TStrings& dest) {
    TZevOrdinalTypeInfo::WriteTo(dest);
    dest.Add("Min value: " + IntToStr(MinValue()));
    dest.Add("Max value: " + IntToStr(MaxValue()));
}

void TZevOrdinalRangeTypeInfo::DeclarationTo(TStrings& dest) {
    dest.Add(Format("type %s = %d .. %d;", {Name(), MinValue(), MaxValue()}));
}

bool TZevEnumerationTypeInfo::QueryInterface(const TGUID& iid, void** obj) {
    return QueryInterfaces<IZevEnumerationTypeInfo, IZevOrdinalRangeTypeInfo, IZevOrdinalTypeInfo, IZevTypeInfo>(
        this, iid, obj);
}

TIntfPtr<IZevEnumerationTypeInfo> TZevEnumerationTypeInfo::BaseType() {
    return ZevQuery<IZevEnumerationTypeInfo>(TIntfPtr<TZevEnumerationTypeInfo>(this));
}

String TZevEnumerationTypeInfo::Names(Int64 value) const { return GetEnumName(FTypeInfo, value); }

Int64 TZevEnumerationTypeInfo::IndexOfName(const String& name) const {
    for (Int64 v = FTypeInfo->MaxValue; v >= FTypeInfo->MinValue; --v) {
        size_t i = size_t(v - FTypeInfo->MinValue);
        if (i < FTypeInfo->EnumNames.size() && SameText(FTypeInfo->EnumNames[i], name)) return v;
    }
    return -1;
}

void TZevEnumerationTypeInfo::WriteTo(TStrings& dest) {
    TZevOrdinalRangeTypeInfo::WriteTo(dest);
    dest.Add("Unit name: " + UnitName());
    String names;
    for (Int64 v = MinValue(); v <= MaxValue(); ++v) names += (names.empty() ? "" : ", ") + Names(v);
    dest.Add("Names: " + names);
}

void TZevEnumerationTypeInfo::DeclarationTo(TStrings& dest) {
    String names;
    for (Int64 v = MinValue(); v <= MaxValue(); ++v) names += (names.empty() ? "" : ", ") + Names(v);
    dest.Add("type " + Name() + " = (" + names + ");");
}

bool TZevSetTypeInfo::QueryInterface(const TGUID& iid, void** obj) {
    return QueryInterfaces<IZevSetTypeInfo, IZevOrdinalTypeInfo, IZevTypeInfo>(this, iid, obj);
}

TIntfPtr<IZevOrdinalTypeInfo> TZevSetTypeInfo::BaseType() {
    return ZevQuery<IZevOrdinalTypeInfo>(ZevTypeInfo(ElementType(FTypeInfo)));
}

void TZevSetTypeInfo::GetAsList(const void* value, bool wantRanges, TStrings& list) {
    AppendSetItems(FTypeInfo, value, wantRanges, list);
}

void TZevSetTypeInfo::SetAsList(void* value, TStrings& list) { SetFromItems(FTypeInfo, value, list); }

void TZevSetTypeInfo::WriteTo(TStrings& dest) {
    TZevOrdinalTypeInfo::WriteTo(dest);
    dest.Add("Base type: " + ElementType(FTypeInfo)->Name);
}

void TZevSetTypeInfo::DeclarationTo(TStrings& dest) {
    dest.Add("type " + Name() + " = set of " + ElementType(FTypeInfo)->Name + ";");
}

void TZevFloatTypeInfo::WriteTo(TStrings& dest) {
    TZevTypeInfo::WriteTo(dest);
    static const char* const kinds[] = {"ftSingle", "ftDouble", "ftExtended", "ftComp", "ftCurr"};
    dest.Add(String("Float type: ") + kinds[FloatType()]);
}

void TZevFloatTypeInfo::DeclarationTo(TStrings& dest) {
    static const char* const kinds[] = {"Single", "Double", "Extended", "Comp", "Currency"};
    dest.Add("type " + Name() + " = type " + kinds[FloatType()] + ";");
}

void TZevInt64TypeInfo::WriteTo(TStrings& dest) {
    TZevTypeInfo::WriteTo(dest);
    dest.Add("Min value: " + IntToStr(MinValue()));
    dest.Add("Max value: " + IntToStr(MaxValue()));
}

void TZevInt64TypeInfo::DeclarationTo(TStrings& dest) {
    dest.Add(Format("type %s = %d .. %d;", {Name(), MinValue(), MaxValue()}));
}

void TZevStringTypeInfo::WriteTo(TStrings& dest) {
    TZevTypeInfo::WriteTo(dest);
    dest.Add("Max length: " + IntToStr(MaxLength()));
}

void TZevStringTypeInfo::DeclarationTo(TStrings& dest) {
    // The class library's string is a type of its own, which no
    // declaration builds.
    TZevTypeInfo::DeclarationTo(dest);
}

void TZevDynArrayTypeInfo::WriteTo(TStrings& dest) {
    TZevTypeInfo::WriteTo(dest);
    dest.Add("Element size: " + IntToStr(ElementSize()));
    dest.Add("Element type: " + FTypeInfo->ElemType->Name);
    dest.Add(String("Elements need cleanup: ") + (ElementsNeedCleanup() ? "True" : "False"));
    dest.Add("Variant type: " + IntToStr(VarType()));
    dest.Add("Unit name: " + UnitName());
}

void TZevDynArrayTypeInfo::DeclarationTo(TStrings& dest) {
    dest.Add("type " + Name() + " = array of " + FTypeInfo->ElemType->Name + ";");
}

// ---- Method and interface types ----

bool TZevEventParamInfo::QueryInterface(const TGUID&, void** obj) {
    *obj = nullptr;
    return false;
}

TZevParamFlags TZevEventParamInfo::Flags() const {
    TZevParamFlags flags;
    if (FParam.ByReference) flags.Include(pfVar);
    if (FParam.Constant) flags.Include(pfConst);
    return flags;
}

TIntfPtr<TZevEventParamInfo> TZevEventTypeInfo::Parameters(int index) const {
    if (index < 0 || index >= ParameterCount()) return nullptr;
    return TIntfPtr<TZevEventParamInfo>(NewObject<TZevEventParamInfo>(FTypeInfo->MethodParams[std::size_t(index)]));
}

void TZevEventTypeInfo::WriteTo(TStrings& dest) {
    TZevTypeInfo::WriteTo(dest);
    dest.Add("Method kind: " + GetEnumName(TypeInfoFor<TZevMethodKind>(), MethodKind()));
    dest.Add("Parameter count: " + IntToStr(ParameterCount()));
    for (int i = 0; i < ParameterCount(); ++i) {
        auto param = Parameters(i);
        dest.Add(
            Format("Parameter %d: %s%s",
                   {i, SetToString(TypeInfoFor<TZevParamFlags>(), param->Flags().Bits()) + " ", param->TypeName()}));
    }
}

void TZevEventTypeInfo::DeclarationTo(TStrings& dest) {
    String params;
    for (int i = 0; i < ParameterCount(); ++i) {
        auto param = Parameters(i);
        if (i) params += "; ";
        if (param->Flags().Contains(pfVar)) params += "var ";
        if (param->Flags().Contains(pfConst)) params += "const ";
        params += Format("P%d: %s", {i + 1, param->TypeName()});
    }
    dest.Add("type " + Name() + " = procedure" + (params.empty() ? String() : "(" + params + ")") + " of object;");
}

void TZevInterfaceTypeInfo::WriteTo(TStrings& dest) {
    TZevTypeInfo::WriteTo(dest);
    dest.Add("Parent: ");
    dest.Add("Flags: ");
    dest.Add("GUID: " + GUID().ToString());
    dest.Add("Unit name: " + UnitName());
    dest.Add("Property count: " + IntToStr(PropertyCount()));
}

void TZevInterfaceTypeInfo::DeclarationTo(TStrings& dest) {
    dest.Add("type " + Name() + " = interface");
    dest.Add("  ['" + GUID().ToString() + "']");
    dest.Add("end;");
}

TIntfPtr<TZevClassTypeInfo> TZevClassTypeInfo::Parent() const {
    TClass cls = ClassRef();
    if (!cls || !cls->Parent) return nullptr;
    return TIntfPtr<TZevClassTypeInfo>(NewObject<TZevClassTypeInfo>(&cls->Parent->TypeInfo));
}

int TZevClassTypeInfo::PropertyCount() const { return ClassRef() ? int(GetPropList(ClassRef()).size()) : 0; }

int TZevClassTypeInfo::OwnPropertyCount() const { return ClassRef() ? int(ClassRef()->Props.size()) : 0; }

TIntfPtr<TZevPropInfo> TZevClassTypeInfo::Properties(int index) const {
    std::vector<const TPropInfo*> props = GetPropList(ClassRef());
    if (index < 0 || index >= int(props.size())) RaiseListIndexError(index);
    return TIntfPtr<TZevPropInfo>(NewObject<TZevPropInfo>(props[size_t(index)], index));
}

String TZevClassTypeInfo::PropNames(int index) const { return Properties(index)->Name(); }

void TZevClassTypeInfo::WriteTo(TStrings& dest) {
    TZevTypeInfo::WriteTo(dest);
    auto parent = Parent();
    dest.Add("Parent: " + (parent ? parent->Name() : String()));
    dest.Add("Unit name: " + UnitName());
    dest.Add("Property count: " + IntToStr(PropertyCount()));
}

void TZevClassTypeInfo::DeclarationTo(TStrings& dest) {
    auto parent = Parent();
    dest.Add("type " + Name() + " = class" + (parent ? "(" + parent->Name() + ")" : String()));
    if (TClass cls = ClassRef()) {
        if (!cls->Props.empty()) dest.Add("published");
        for (const TPropInfo& p : cls->Props) dest.Add("  property " + p.Name + ": " + p.PropType()->Name + ";");
    }
    dest.Add("end;");
}

bool TZevPropInfo::QueryInterface(const TGUID&, void** obj) {
    *obj = nullptr;
    return false;
}

TZevPropSpecKind TZevPropInfo::SpecKind(const TPropAccess& access) {
    switch (access.Kind) {
    case pakField: return pskField;
    case pakStaticMethod: return pskStaticMethod;
    case pakVirtualMethod: return pskVirtualMethod;
    case pakConstant: return pskConstant;
    case pakNone: break;
    }
    return pskNone;
}

std::intptr_t TZevPropInfo::SpecValue(const TPropAccess& access) {
    switch (access.Kind) {
    case pakField: return std::intptr_t(access.FieldOffset);
    case pakStaticMethod: return reinterpret_cast<std::intptr_t>(access.MethodAddress);
    case pakVirtualMethod: return access.VirtualSlot;
    case pakConstant: return access.Constant ? 1 : 0;
    case pakNone: break;
    }
    return 0;
}

// ---- The list of type descriptions made at run time ------------------------------------------

namespace {

struct TRuntimeTypeList {
    std::mutex Lock;
    std::map<const TTypeInfo*, int> Counts;
};

std::mutex RuntimeListGuard;
TRuntimeTypeList* RuntimeTypes = nullptr;

}  // namespace

void ZevRttiInitialize() {
    std::lock_guard guard(RuntimeListGuard);
    if (!RuntimeTypes) RuntimeTypes = new TRuntimeTypeList;
}

void ZevRttiFinalize() {
    std::lock_guard guard(RuntimeListGuard);
    delete RuntimeTypes;
    RuntimeTypes = nullptr;
}

bool ZevAddRuntimeTypeInfo(const TTypeInfo* typeInfo) {
    std::lock_guard guard(RuntimeListGuard);
    if (!RuntimeTypes) return false;
    std::lock_guard lock(RuntimeTypes->Lock);
    ++RuntimeTypes->Counts[typeInfo];
    return true;
}

bool ZevReleaseRuntimeTypeInfo(const TTypeInfo* typeInfo) {
    std::lock_guard guard(RuntimeListGuard);
    if (!RuntimeTypes) return false;
    std::lock_guard lock(RuntimeTypes->Lock);
    auto it = RuntimeTypes->Counts.find(typeInfo);
    if (it == RuntimeTypes->Counts.end()) return false;
    if (--it->second <= 0) RuntimeTypes->Counts.erase(it);
    return true;
}

int ZevRuntimeTypeInfoCount() {
    std::lock_guard guard(RuntimeListGuard);
    if (!RuntimeTypes) return 0;
    std::lock_guard lock(RuntimeTypes->Lock);
    return int(RuntimeTypes->Counts.size());
}
