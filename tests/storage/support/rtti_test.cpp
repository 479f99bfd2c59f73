#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "classlib/core/strings.h"
#include "classlib/core/typinfo.h"
#include "storage/ini_file_storage.h"
#include "storage/support/errors.h"
#include "storage/support/rtti.h"
#include "storage/text_macros.h"

namespace {

enum TRttiFruit { rfApple, rfBanana, rfCherry, rfDate };
QL_DECLARE_ENUM(TRttiFruit);
QL_DEFINE_ENUM(TRttiFruit, "rfApple", "rfBanana", "rfCherry", "rfDate")

const TTypeInfo* FruitSet() { return TypeInfoFor<TSet<TRttiFruit>>(); }

// Sets of integer ranges whose minimum is not a multiple of 8.
const TTypeInfo* RangeSet(Int64 min, Int64 max) {
    static std::vector<std::unique_ptr<TTypeInfo>> keep;
    auto element = std::make_unique<TTypeInfo>(MakeOrdinalTypeInfo(tkInteger, "TRange", min, max));
    auto set = std::make_unique<TTypeInfo>();
    set->Kind = tkSet;
    set->Name = "TRangeSet";
    set->CompType = element.get();
    keep.push_back(std::move(element));
    keep.push_back(std::move(set));
    return keep.back().get();
}

std::vector<Byte> Value(const TTypeInfo* setType, std::initializer_list<Int64> elements) {
    std::vector<Byte> v(size_t(ZevSetSize(setType)), 0);
    for (Int64 e : elements) {
        int bit = ZevSetBitOf(setType, e);
        v[size_t(bit / 8)] |= Byte(1u << (bit % 8));
    }
    return v;
}

TEST(ZevRtti, SetSizeAndBitPositions) {
    EXPECT_EQ(ZevSetSize(FruitSet()), 1);
    EXPECT_EQ(ZevSetSize(TypeInfoFor<TSet<char>>()), 32);
    const TTypeInfo* r = RangeSet(10, 20);
    EXPECT_EQ(ZevSetSize(r), 2);  // bytes for 8..15 and 16..23
    // The first element is bit 2 of the first byte.
    EXPECT_EQ(ZevSetBitOf(r, 10), 2);
    EXPECT_EQ(Value(r, {10}), (std::vector<Byte>{0x04, 0x00}));
    EXPECT_EQ(Value(r, {20}), (std::vector<Byte>{0x00, 0x10}));
}

TEST(ZevRtti, SetValueToTextTable) {
    struct Case {
        std::initializer_list<Int64> Elements;
        bool Brackets, Ranges;
        const char* Text;
    } cases[] = {
        {{0, 1, 3}, true, false, "[rfApple, rfBanana, rfDate]"},
        {{0, 1, 3}, true, true, "[rfApple .. rfBanana, rfDate]"},
        {{0, 1, 2, 3}, false, true, "rfApple .. rfDate"},
        {{2}, true, true, "[rfCherry]"},
        {{}, true, false, "[]"},
        {{}, false, false, ""},
    };
    for (const Case& c : cases) {
        auto v = Value(FruitSet(), c.Elements);
        EXPECT_EQ(SetValueToText(FruitSet(), v.data(), c.Brackets, c.Ranges), c.Text);
    }
    const TTypeInfo* r = RangeSet(10, 20);
    auto v = Value(r, {10, 11, 12, 20});
    EXPECT_EQ(SetValueToText(r, v.data(), true, true), "[10 .. 12, 20]");
    EXPECT_EQ(SetValueToText(r, v.data(), false, false), "10, 11, 12, 20");
}

TEST(ZevRtti, TextToSetValueTable) {
    struct FruitCase {
        const char* Text;
        std::initializer_list<Int64> Elements;
    } fruits[] = {
        {"[]", {}},
        {"", {}},
        {"[ rfCherry , rfApple ]", {0, 2}},
        {"rfApple,rfCherry", {0, 2}},
        {"RFAPPLE, rfbanana", {0, 1}},
        {"[rfBanana .. rfDate]", {1, 2, 3}},
        {"rfApple,,rfDate,", {0, 3}},
    };
    for (const FruitCase& c : fruits) {
        std::vector<Byte> v(1, 0xFF);
        TextToSetValue(FruitSet(), v.data(), c.Text);
        EXPECT_EQ(v, Value(FruitSet(), c.Elements)) << c.Text;
    }
    const TTypeInfo* r = RangeSet(0, 15);
    std::vector<Byte> v(2, 0);
    TextToSetValue(r, v.data(), "2..4");
    EXPECT_EQ(v, Value(r, {2, 3, 4}));
}

TEST(ZevRtti, TextToSetValueClearsTheWholeValue) {
    // Minimum 10: the last byte is not reached by "element count div 8".
    const TTypeInfo* r = RangeSet(10, 20);
    std::vector<Byte> v = {0xFF, 0xFF};
    TextToSetValue(r, v.data(), "[11]");
    EXPECT_EQ(v, Value(r, {11}));
}

TEST(ZevRtti, TextToSetValueErrors) {
    std::vector<Byte> v(1, 0xAA);
    try {
        TextToSetValue(FruitSet(), v.data(), "[rfApple, rfKiwi]");
        FAIL();
    } catch (const EZevRTTIError& e) {
        EXPECT_STREQ(e.what(), "Unknown identifier 'rfKiwi'.");
    }
    const TTypeInfo* r = RangeSet(10, 20);
    std::vector<Byte> w = {0x55, 0x55, 0x55};  // one byte beyond the value
    EXPECT_THROW(TextToSetValue(r, w.data(), "x"), EConvertError);
    // Outside the range: an error, and nothing written past the value.
    EXPECT_THROW(TextToSetValue(r, w.data(), "[9]"), EConvertError);
    EXPECT_THROW(TextToSetValue(r, w.data(), "[12 .. 40]"), EConvertError);
    EXPECT_EQ(w[2], 0x55);
    EXPECT_EQ(w[0], 0);
    EXPECT_EQ(w[1], 0);
}

TEST(ZevRtti, BitsOfSetProperties) {
    auto bits = TSet<TRttiFruit>{rfBanana, rfDate}.Bits();
    Byte v[1];
    ZevSetFromBits(FruitSet(), bits, v);
    EXPECT_EQ(v[0], 0x0A);
    EXPECT_EQ(ZevSetToBits(FruitSet(), v), bits);
}

TEST(ZevRtti, WrapperFactoryAndInterfaces) {
    auto fruit = ZevTypeInfo(TypeInfoFor<TRttiFruit>());
    EXPECT_EQ(fruit->Name(), "TRttiFruit");
    EXPECT_EQ(fruit->TypeKind(), tkEnumeration);
    auto enumeration = ZevQuery<IZevEnumerationTypeInfo>(fruit);
    ASSERT_TRUE(enumeration);
    EXPECT_EQ(enumeration->Names(2), "rfCherry");
    EXPECT_EQ(enumeration->IndexOfName("RFDATE"), 3);
    EXPECT_EQ(enumeration->IndexOfName("rfKiwi"), -1);
    EXPECT_EQ(enumeration->MinValue(), 0);
    EXPECT_EQ(enumeration->MaxValue(), 3);
    EXPECT_EQ(enumeration->OrdinalType(), otUByte);
    EXPECT_EQ(enumeration->BaseType()->Name(), "TRttiFruit");
    EXPECT_FALSE(ZevQuery<IZevSetTypeInfo>(fruit));

    auto set = ZevQuery<IZevSetTypeInfo>(ZevTypeInfo(FruitSet()));
    ASSERT_TRUE(set);
    EXPECT_EQ(set->BaseType()->Name(), "TRttiFruit");
    TStringList list;
    Byte v = 0x05;
    set->GetAsList(&v, false, list);
    EXPECT_EQ(list.CommaText(), "rfApple,rfCherry");
    list.SetCommaText("rfDate");
    set->SetAsList(&v, list);
    EXPECT_EQ(v, 0x08);

    auto integer = ZevQuery<IZevOrdinalRangeTypeInfo>(ZevTypeInfo(TypeInfoFor<short>()));
    ASSERT_TRUE(integer);
    EXPECT_EQ(integer->MinValue(), -32768);
    EXPECT_EQ(integer->OrdinalType(), otSWord);
    EXPECT_FALSE(ZevQuery<IZevEnumerationTypeInfo>(integer));
    EXPECT_TRUE(ZevQuery<IZevTypeInfo>(integer));

    auto text = ZevTypeInfo(TypeInfoFor<String>());
    EXPECT_FALSE(ZevQuery<IZevOrdinalTypeInfo>(text));
    TStringList lines;
    text->WriteTo(lines);
    EXPECT_EQ(lines[0], "Name: string");
    EXPECT_EQ(lines[1], "Type kind: tkString");
    lines.Clear();
    text->DeclarationTo(lines);
    EXPECT_EQ(lines[0], "// Declaration for 'string' not supported.");
}

TEST(ZevRtti, ClassWrapper) {
    auto info = ZevTypeInfo(&TComponent::StaticClass()->TypeInfo);
    auto* cls = dynamic_cast<TZevClassTypeInfo*>(info.Get());
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->ClassRef(), TComponent::StaticClass());
    EXPECT_EQ(cls->Parent()->Name(), "TPersistent");
    EXPECT_EQ(cls->PropertyCount(), 2);
    EXPECT_EQ(cls->PropNames(0), "Name");
    EXPECT_EQ(cls->Properties(1)->Name(), "Tag");
    EXPECT_TRUE(cls->Properties(1)->HasDefault());
}

TEST(ZevRtti, MethodTypeWrapper) {
    using TCheckEvent = TEvent<TObject*, bool&, const String&>;
    auto info = ZevTypeInfo(TypeInfoFor<TCheckEvent>());
    auto* event = dynamic_cast<TZevEventTypeInfo*>(info.Get());
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->TypeKind(), tkMethod);
    EXPECT_EQ(event->MethodKind(), mkProcedure);
    EXPECT_EQ(event->ResultTypeName(), "");
    ASSERT_EQ(event->ParameterCount(), 3);
    EXPECT_EQ(event->Parameters(0)->TypeName(), "TObject");
    EXPECT_TRUE(event->Parameters(0)->Flags().Empty());
    EXPECT_EQ(event->Parameters(1)->TypeName(), "Boolean");
    EXPECT_EQ(event->Parameters(1)->Flags(), TZevParamFlags{pfVar});
    EXPECT_EQ(event->Parameters(2)->Flags(), TZevParamFlags{pfConst});
    EXPECT_EQ(event->Parameters(2)->RecSize(), 1 + 1 + 0 + 1 + 6);  // flags, '' and 'string'
    EXPECT_FALSE(event->Parameters(3));
    TStringList lines;
    event->DeclarationTo(lines);
    EXPECT_EQ(lines[0], "type TMethod = procedure(P1: TObject; var P2: Boolean; const P3: string) of object;");
    lines.Clear();
    event->WriteTo(lines);
    EXPECT_EQ(lines[2 + 1], "Method kind: mkProcedure");
    EXPECT_EQ(lines[4], "Parameter count: 3");
}

TEST(ZevRtti, InterfaceTypeWrapper) {
    auto info = ZevTypeInfo(InterfaceTypeInfo<IZevTypeInfo>());
    auto* intf = dynamic_cast<TZevInterfaceTypeInfo*>(info.Get());
    ASSERT_NE(intf, nullptr);
    EXPECT_EQ(intf->TypeKind(), tkInterface);
    EXPECT_EQ(intf->GUID(), IZevTypeInfo::IID);
    EXPECT_EQ(intf->PropertyCount(), 0);
    EXPECT_FALSE(intf->Parent());
    TStringList lines;
    intf->DeclarationTo(lines);
    EXPECT_EQ(lines[1], "  ['{7DAD5220-46EA-11D5-B0C0-4854E825F345}']");
}

TEST(ZevRtti, StringWrapperTable) {
    // The class library has one string type.
    struct Case {
        const TTypeInfo* Type;
        const char* Name;
        Int64 MaxLength;
    } cases[] = {
        {TypeInfoFor<String>(), "string", Int64(String().max_size())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto info = ZevTypeInfo(c.Type);
        auto* text = dynamic_cast<TZevStringTypeInfo*>(info.Get());
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->Name(), c.Name);
        EXPECT_EQ(text->TypeKind(), tkString);
        EXPECT_EQ(text->MaxLength(), c.MaxLength);
        EXPECT_FALSE(ZevQuery<IZevOrdinalTypeInfo>(info));
        TStringList lines;
        text->WriteTo(lines);
        ASSERT_EQ(lines.Count(), 4);
        EXPECT_EQ(lines[3], "Max length: " + IntToStr(c.MaxLength));
    }
}

TEST(ZevRtti, DynArrayWrapperTable) {
    struct Case {
        const TTypeInfo* Type;
        const char* ElementName;
        int ElementSize;
        bool NeedsCleanup;
        int VarType;
    } cases[] = {
        {TypeInfoFor<std::vector<Byte>>(), "Byte", 1, false, varByte},
        {TypeInfoFor<std::vector<int>>(), "Integer", 4, false, varInteger},
        {TypeInfoFor<std::vector<long long>>(), "Int64", 8, false, varInt64},
        {TypeInfoFor<std::vector<double>>(), "Double", 8, false, varDouble},
        {TypeInfoFor<std::vector<TRttiFruit>>(), "TRttiFruit", int(sizeof(TRttiFruit)), false, -1},
        {TypeInfoFor<std::vector<String>>(), "string", int(sizeof(String)), true, varString},
        {TypeInfoFor<std::vector<Variant>>(), "Variant", int(sizeof(Variant)), true, -1},
        {TypeInfoFor<std::vector<TComponent*>>(), "TComponent", int(sizeof(void*)), false, -1},
        {TypeInfoFor<std::vector<std::vector<Byte>>>(), "array of Byte", int(sizeof(std::vector<Byte>)), true, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ElementName);
        auto info = ZevTypeInfo(c.Type);
        auto* array = dynamic_cast<TZevDynArrayTypeInfo*>(info.Get());
        ASSERT_NE(array, nullptr);
        EXPECT_EQ(array->TypeKind(), tkDynArray);
        EXPECT_EQ(array->Name(), String("array of ") + c.ElementName);
        EXPECT_EQ(array->ElementSize(), c.ElementSize);
        ASSERT_TRUE(array->ElementType());
        EXPECT_EQ(array->ElementType()->TypeInfo(), c.Type->ElemType);
        EXPECT_EQ(array->ElementType()->Name(), c.ElementName);
        EXPECT_EQ(array->ElementsNeedCleanup(), c.NeedsCleanup);
        EXPECT_EQ(array->VarType(), c.VarType);
        EXPECT_EQ(array->UnitName(), "");
        TStringList lines;
        array->DeclarationTo(lines);
        EXPECT_EQ(lines[0], "type array of " + String(c.ElementName) + " = array of " + c.ElementName + ";");
        lines.Clear();
        array->WriteTo(lines);
        EXPECT_EQ(lines[1], "Type kind: tkDynArray");
        EXPECT_EQ(lines[3], "Element size: " + IntToStr(c.ElementSize));
    }
    // Elements that are enumerations or classes are wrapped as such.
    auto fruits = ZevTypeInfo(TypeInfoFor<std::vector<TRttiFruit>>());
    auto element = dynamic_cast<TZevDynArrayTypeInfo*>(fruits.Get())->ElementType();
    ASSERT_TRUE(ZevQuery<IZevEnumerationTypeInfo>(element));
    EXPECT_EQ(ZevQuery<IZevEnumerationTypeInfo>(element)->Names(2), "rfCherry");
    auto components = ZevTypeInfo(TypeInfoFor<std::vector<TComponent*>>());
    EXPECT_NE(
        dynamic_cast<TZevClassTypeInfo*>(dynamic_cast<TZevDynArrayTypeInfo*>(components.Get())->ElementType().Get()),
        nullptr);
}

// A component whose properties are read only, indexed, or stored as it
// decides.
class TRttiGauge : public TComponent {
    QL_CLASS(TRttiGauge, TComponent)
public:
    using TComponent::TComponent;
    int FLevel = 0;
    int FBounds[2] = {10, 20};
    int Level() const { return FLevel; }
    virtual int Peak() const { return FLevel * 3; }
    int Bound(int index) const { return FBounds[index]; }
    void SetBound(int index, int value) { FBounds[index] = value; }
    bool IsLevelStored() const { return FLevel > 0; }
};

TClass TRttiGauge::StaticClass() {
    static const TClassInfo info = TClassBuilder<TRttiGauge>("TRttiGauge")
                                       .Prop("Level", &TRttiGauge::FLevel, &TRttiGauge::FLevel)
                                       .Stored(&TRttiGauge::IsLevelStored)
                                       .Prop("Peak", &TRttiGauge::Peak, nullptr)
                                       .Prop("Low", 0, &TRttiGauge::Bound, &TRttiGauge::SetBound)
                                       .Default(10)
                                       .Prop("High", 1, &TRttiGauge::Bound, nullptr)
                                       .Build();
    return &info;
}

TEST(ZevRtti, PropInfoTable) {
    TZvAppIniFileStorage store(nullptr);
    TZvTranslateString macros(nullptr);
    TRttiGauge gauge(nullptr);
    gauge.FLevel = 0;
    struct Case {
        TObject* Instance;
        const char* Name;
        TZevPropSpecKind Reader, Writer, Stored;
        bool IsStored;
        Int64 Default;  // NoDefault: none
        int Index;      // NoIndex: none
    } cases[] = {
        {&store, "Name", pskStaticMethod, pskVirtualMethod, pskConstant, false, TPropInfo::NoDefault,
         TPropInfo::NoIndex},
        {&store, "Tag", pskField, pskField, pskConstant, true, 0, TPropInfo::NoIndex},
        {&store, "Location", pskStaticMethod, pskStaticMethod, pskConstant, true, flExeFile, TPropInfo::NoIndex},
        {&store, "FileName", pskStaticMethod, pskStaticMethod, pskConstant, true, TPropInfo::NoDefault,
         TPropInfo::NoIndex},
        {&store, "OnGetFileName", pskStaticMethod, pskStaticMethod, pskConstant, true, TPropInfo::NoDefault,
         TPropInfo::NoIndex},
        {&macros, "DateFormat", pskField, pskField, pskConstant, true, TPropInfo::NoDefault, TPropInfo::NoIndex},
        {&macros, "DateTimeFormat", pskField, pskStaticMethod, pskConstant, true, TPropInfo::NoDefault,
         TPropInfo::NoIndex},
        {&gauge, "Level", pskField, pskField, pskStaticMethod, false, TPropInfo::NoDefault, TPropInfo::NoIndex},
        {&gauge, "Peak", pskVirtualMethod, pskNone, pskConstant, true, TPropInfo::NoDefault, TPropInfo::NoIndex},
        {&gauge, "Low", pskStaticMethod, pskStaticMethod, pskConstant, true, 10, 0},
        {&gauge, "High", pskStaticMethod, pskNone, pskConstant, true, TPropInfo::NoDefault, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto cls = ZevTypeInfo(&c.Instance->ClassType()->TypeInfo);
        auto* classInfo = dynamic_cast<TZevClassTypeInfo*>(cls.Get());
        ASSERT_NE(classInfo, nullptr);
        int index = -1;
        for (int i = 0; i < classInfo->PropertyCount(); ++i)
            if (classInfo->PropNames(i) == c.Name) index = i;
        ASSERT_GE(index, 0);
        auto prop = classInfo->Properties(index);
        EXPECT_EQ(prop->Name(), c.Name);
        EXPECT_EQ(prop->NameIndex(), index);
        EXPECT_EQ(prop->PropType()->TypeInfo(), prop->PropInfo()->PropType());
        EXPECT_EQ(prop->ReaderType(), c.Reader);
        EXPECT_EQ(prop->WriterType(), c.Writer);
        EXPECT_EQ(prop->StoredType(), c.Stored);
        EXPECT_EQ(prop->HasReader(), c.Reader != pskNone);
        EXPECT_EQ(prop->HasWriter(), c.Writer != pskNone);
        EXPECT_EQ(prop->IsStored(c.Instance), c.IsStored);
        if (c.Stored == pskConstant) {
            EXPECT_EQ(prop->StoredValue(), c.IsStored ? 1 : 0);
        }
        EXPECT_EQ(prop->HasDefault(), c.Default != TPropInfo::NoDefault);
        EXPECT_EQ(prop->Default(), c.Default);
        EXPECT_EQ(prop->HasIndex(), c.Index != TPropInfo::NoIndex);
        EXPECT_EQ(prop->Index(), c.Index);
        if (c.Writer == pskNone) {
            EXPECT_EQ(prop->WriterValue(), 0);
        }
    }
}

TIntfPtr<TZevPropInfo> PropOf(TClass cls, const String& name) {
    auto info = ZevTypeInfo(&cls->TypeInfo);
    auto* classInfo = dynamic_cast<TZevClassTypeInfo*>(info.Get());
    for (int i = 0; i < classInfo->PropertyCount(); ++i)
        if (classInfo->PropNames(i) == name) return classInfo->Properties(i);
    return nullptr;
}

TEST(ZevRtti, PropInfoValuesReachTheAccessors) {
    TZvTranslateString macros(nullptr);
    macros.SetDateFormat("yyyy-mm-dd");
    macros.SetTag(42);
    const char* base = reinterpret_cast<const char*>(&macros);
    // A field: the value is its offset, for reading and writing alike.
    auto date = PropOf(TZvTranslateString::StaticClass(), "DateFormat");
    EXPECT_EQ(*reinterpret_cast<const String*>(base + date->ReaderValue()), "yyyy-mm-dd");
    EXPECT_EQ(date->WriterValue(), date->ReaderValue());
    auto tag = PropOf(TZvTranslateString::StaticClass(), "Tag");
    EXPECT_EQ(*reinterpret_cast<const int*>(base + tag->ReaderValue()), 42);
    EXPECT_EQ(tag->ReaderValue(), tag->Reader().FieldOffset);

    // Methods: the address; one shared getter for two indexed properties.
    auto low = PropOf(TRttiGauge::StaticClass(), "Low");
    auto high = PropOf(TRttiGauge::StaticClass(), "High");
    EXPECT_NE(low->ReaderValue(), 0);
    EXPECT_EQ(low->ReaderValue(), high->ReaderValue());
    EXPECT_EQ(low->ReaderValue(), reinterpret_cast<std::intptr_t>(low->Reader().MethodAddress));
    EXPECT_NE(low->WriterValue(), low->ReaderValue());
    TRttiGauge gauge(nullptr);
    SetOrdProp(&gauge, low->PropInfo(), 4);
    EXPECT_EQ(gauge.FBounds[0], 4);
    EXPECT_EQ(GetOrdProp(&gauge, high->PropInfo()), 20);
    // Stored by a method: its address; stored as it decides.
    auto level = PropOf(TRttiGauge::StaticClass(), "Level");
    EXPECT_NE(level->StoredValue(), 0);
    EXPECT_FALSE(level->IsStored(&gauge));
    gauge.FLevel = 1;
    EXPECT_TRUE(level->IsStored(&gauge));
    // A virtual method: its slot, which lies after TComponent's own.
    auto peak = PropOf(TRttiGauge::StaticClass(), "Peak");
    EXPECT_EQ(peak->ReaderValue(), peak->Reader().VirtualSlot);
    EXPECT_GT(peak->ReaderValue(), PropOf(TComponent::StaticClass(), "Name")->WriterValue());

    // Made without its class, a property does not know its place.
    TIntfPtr<TZevPropInfo> loose(NewObject<TZevPropInfo>(GetPropInfo(TRttiGauge::StaticClass(), "Peak")));
    EXPECT_EQ(loose->NameIndex(), -1);
    EXPECT_EQ(PropOf(TRttiGauge::StaticClass(), "Peak")->NameIndex(), 3);  // after Name, Tag and Level
}

TEST(ZevRtti, RuntimeTypeList) {
    EXPECT_FALSE(ZevAddRuntimeTypeInfo(FruitSet()));
    ZevRttiInitialize();
    EXPECT_TRUE(ZevAddRuntimeTypeInfo(FruitSet()));
    EXPECT_TRUE(ZevAddRuntimeTypeInfo(FruitSet()));
    EXPECT_EQ(ZevRuntimeTypeInfoCount(), 1);
    EXPECT_TRUE(ZevReleaseRuntimeTypeInfo(FruitSet()));
    EXPECT_EQ(ZevRuntimeTypeInfoCount(), 1);
    EXPECT_TRUE(ZevReleaseRuntimeTypeInfo(FruitSet()));
    EXPECT_EQ(ZevRuntimeTypeInfoCount(), 0);
    ZevRttiFinalize();
    EXPECT_EQ(ZevRuntimeTypeInfoCount(), 0);
}

}  // namespace
