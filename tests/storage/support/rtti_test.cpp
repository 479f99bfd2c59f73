#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "classlib/core/strings.h"
#include "classlib/core/typinfo.h"
#include "storage/support/errors.h"
#include "storage/support/rtti.h"

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
