// How a property's accessors are reached (fields, methods, virtual methods,
// constants), indexed properties, and the descriptions of strings and
// dynamic arrays.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/core/classes.h"
#include "classlib/core/typinfo.h"

namespace {

class TAccessWidget : public TComponent {
    QL_CLASS(TAccessWidget, TComponent)
public:
    using TComponent::TComponent;
    int FCount = 0;
    int FSize = 0;
    int FCoords[2] = {};
    bool FKeep = true;
    String FLabel;

    int Size() const { return FSize; }
    virtual void SetSize(int value) { FSize = value; }
    virtual int Doubled() const { return FSize * 2; }
    int Coord(int index) const { return FCoords[index]; }
    void SetCoord(int index, int value) { FCoords[index] = value; }
    bool IsCountStored() const { return FCount != 0; }
    virtual bool IsSizeStored() const { return FKeep; }
};

int FreeCount(const TAccessWidget* self) { return self->FCount + 1000; }

TClass TAccessWidget::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TAccessWidget>("TAccessWidget")
            .Prop("Count", &TAccessWidget::FCount, &TAccessWidget::FCount)
            .Default(0)
            .Stored(&TAccessWidget::IsCountStored)
            .Prop("Size", &TAccessWidget::Size, &TAccessWidget::SetSize)
            .Stored(&TAccessWidget::IsSizeStored)
            .Prop("Doubled", &TAccessWidget::Doubled, nullptr)
            .Stored(false)
            .Prop("Free", &FreeCount, [](TAccessWidget* self, const int& v) { self->FCount = v - 1000; })
            .Prop("Left", 0, &TAccessWidget::Coord, &TAccessWidget::SetCoord)
            .Default(0)
            .Prop("Top", 1, &TAccessWidget::Coord, &TAccessWidget::SetCoord)
            .Prop("Right", 1, &TAccessWidget::Coord, nullptr)
            .Stored(false)
            .Prop("Label", &TAccessWidget::FLabel, &TAccessWidget::FLabel)
            .Build();
    return &info;
}

const TPropInfo* Prop(const char* name) { return GetPropInfo(TAccessWidget::StaticClass(), name); }

// Calls a function found by its address the way the compiler calls the
// member function it is: the object first (in ECX on 32-bit Windows).
// The sanitizer's check of the called function's type is off for it.
#if defined(_WIN32) && defined(__i386__)
#define QL_MEMBER_CALL __attribute__((thiscall))
#else
#define QL_MEMBER_CALL
#endif
#if defined(__clang__)
#define QL_UNCHECKED_CALL __attribute__((no_sanitize("function")))
#else
#define QL_UNCHECKED_CALL
#endif
template <class R, class... A>
QL_UNCHECKED_CALL R CallAt(const void* address, TAccessWidget* self, A... args) {
    return reinterpret_cast<R(QL_MEMBER_CALL*)(TAccessWidget*, A...)>(const_cast<void*>(address))(self, args...);
}

// The function in a slot of the object's virtual table.
const void* VirtualEntry(int slot, const TAccessWidget* self) {
    return (*reinterpret_cast<void* const* const*>(self))[slot];
}

TEST(PropertyAccess, KindsOfReadersWritersAndStoredRules) {
    struct Case {
        const char* Name;
        TPropAccessKind Reader, Writer, Stored;
        bool StoredConstant;
        int Index;
    } cases[] = {
        {"Count", pakField, pakField, pakStaticMethod, false, TPropInfo::NoIndex},
        {"Size", pakStaticMethod, pakVirtualMethod, pakVirtualMethod, false, TPropInfo::NoIndex},
        {"Doubled", pakVirtualMethod, pakNone, pakConstant, false, TPropInfo::NoIndex},
        {"Free", pakStaticMethod, pakStaticMethod, pakConstant, true, TPropInfo::NoIndex},
        {"Left", pakStaticMethod, pakStaticMethod, pakConstant, true, 0},
        {"Top", pakStaticMethod, pakStaticMethod, pakConstant, true, 1},
        {"Right", pakStaticMethod, pakNone, pakConstant, false, 1},
        {"Label", pakField, pakField, pakConstant, true, TPropInfo::NoIndex},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const TPropInfo* p = Prop(c.Name);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->ReaderAccess.Kind, c.Reader);
        EXPECT_EQ(p->WriterAccess.Kind, c.Writer);
        EXPECT_EQ(p->StoredAccess().Kind, c.Stored);
        if (c.Stored == pakConstant) {
            EXPECT_EQ(p->StoredAccess().Constant, c.StoredConstant);
        }
        EXPECT_EQ(p->Index, c.Index);
        EXPECT_EQ(p->HasIndex(), c.Index != TPropInfo::NoIndex);
        EXPECT_EQ(p->HasSetter(), c.Writer != pakNone);
    }
    // The class library's own classes: a component's Name and Tag.
    const TPropInfo* name = GetPropInfo(TComponent::StaticClass(), "Name");
    EXPECT_EQ(name->ReaderAccess.Kind, pakStaticMethod);
    EXPECT_EQ(name->WriterAccess.Kind, pakVirtualMethod);
    EXPECT_EQ(name->StoredAccess().Kind, pakConstant);
    EXPECT_FALSE(name->StoredAccess().Constant);
    const TPropInfo* tag = GetPropInfo(TComponent::StaticClass(), "Tag");
    EXPECT_EQ(tag->ReaderAccess.Kind, pakField);
    EXPECT_EQ(tag->WriterAccess.Kind, pakField);
    EXPECT_TRUE(tag->StoredAccess().Constant);
}

TEST(PropertyAccess, OffsetsAddressesAndSlotsReachTheAccessors) {
    TAccessWidget w(nullptr);
    w.FCount = 41;
    w.FSize = 6;
    w.FLabel = "label";

    // Fields: the offset finds the field of the object.
    const char* base = reinterpret_cast<const char*>(&w);
    EXPECT_EQ(*reinterpret_cast<const int*>(base + Prop("Count")->ReaderAccess.FieldOffset), 41);
    EXPECT_EQ(*reinterpret_cast<const String*>(base + Prop("Label")->WriterAccess.FieldOffset), "label");
    const TPropInfo* tag = GetPropInfo(TComponent::StaticClass(), "Tag");
    w.SetTag(-5);
    EXPECT_EQ(*reinterpret_cast<const int*>(base + tag->ReaderAccess.FieldOffset), -5);

    // Methods: the address is the function; a plain function is itself.
    EXPECT_EQ(CallAt<int>(Prop("Size")->ReaderAccess.MethodAddress, &w), 6);
    EXPECT_EQ(Prop("Free")->ReaderAccess.MethodAddress, reinterpret_cast<const void*>(&FreeCount));
    EXPECT_EQ(Prop("Free")->WriterAccess.MethodAddress, nullptr);  // a callable object has none

    // Virtual methods: the slot holds the object's own function.
    EXPECT_EQ(CallAt<int>(VirtualEntry(Prop("Doubled")->ReaderAccess.VirtualSlot, &w), &w), 12);
    CallAt<void>(VirtualEntry(Prop("Size")->WriterAccess.VirtualSlot, &w), &w, 9);
    EXPECT_EQ(w.FSize, 9);
    w.FKeep = false;
    EXPECT_FALSE(CallAt<bool>(VirtualEntry(Prop("Size")->StoredAccess().VirtualSlot, &w), &w));
    EXPECT_NE(Prop("Size")->WriterAccess.VirtualSlot, Prop("Size")->StoredAccess().VirtualSlot);
}

TEST(PropertyAccess, IndexedPropertiesCallTheirAccessorsWithTheirIndex) {
    TAccessWidget w(nullptr);
    SetOrdProp(&w, "Left", 3);
    SetOrdProp(&w, "Top", 4);
    EXPECT_EQ(w.FCoords[0], 3);
    EXPECT_EQ(w.FCoords[1], 4);
    EXPECT_EQ(GetOrdProp(&w, "Left"), 3);
    EXPECT_EQ(GetOrdProp(&w, "Right"), 4);
    EXPECT_THROW(SetOrdProp(&w, "Right", 1), EPropertyError);
    EXPECT_EQ(Prop("Left")->PropType(), TypeInfoFor<int>());
    EXPECT_EQ(Prop("Left")->Default, 0);
    // One getter and one setter for all of them.
    EXPECT_EQ(Prop("Left")->ReaderAccess.MethodAddress, Prop("Top")->ReaderAccess.MethodAddress);
    EXPECT_EQ(Prop("Left")->WriterAccess.MethodAddress, Prop("Top")->WriterAccess.MethodAddress);
    EXPECT_NE(Prop("Left")->ReaderAccess.MethodAddress, nullptr);
}

TEST(ValueTypes, TheStringHoldsAsManyCharactersAsAStringCan) {
    const TTypeInfo* t = TypeInfoFor<String>();
    EXPECT_EQ(t->Kind, tkString);
    EXPECT_EQ(t->Name, "string");
    EXPECT_EQ(t->MaxLength, Int64(String().max_size()));
    EXPECT_GT(t->MaxLength, Int64(INT32_MAX) / 2);
}

TEST(ValueTypes, DynamicArraysDescribeTheirElements) {
    struct Case {
        const TTypeInfo* Type;
        String Name;
        int ElemSize;
        const TTypeInfo* ElemType;
        bool NeedsCleanup;
        int VarType;
    } cases[] = {
        {TypeInfoFor<std::vector<Byte>>(), "array of Byte", 1, TypeInfoFor<Byte>(), false, varByte},
        {TypeInfoFor<std::vector<Word>>(), "array of Word", 2, TypeInfoFor<Word>(), false, varWord},
        {TypeInfoFor<std::vector<short>>(), "array of SmallInt", 2, TypeInfoFor<short>(), false, varSmallint},
        {TypeInfoFor<std::vector<int>>(), "array of Integer", 4, TypeInfoFor<int>(), false, varInteger},
        {TypeInfoFor<std::vector<unsigned>>(), "array of Cardinal", 4, TypeInfoFor<unsigned>(), false, varLongWord},
        {TypeInfoFor<std::vector<long long>>(), "array of Int64", 8, TypeInfoFor<long long>(), false, varInt64},
        {TypeInfoFor<std::vector<double>>(), "array of Double", 8, TypeInfoFor<double>(), false, varDouble},
        {TypeInfoFor<std::vector<float>>(), "array of Single", 4, TypeInfoFor<float>(), false, varSingle},
        {TypeInfoFor<std::vector<char>>(), "array of Char", 1, TypeInfoFor<char>(), false, -1},
        {TypeInfoFor<std::vector<String>>(), "array of string", int(sizeof(String)), TypeInfoFor<String>(), true,
         varString},
        {TypeInfoFor<std::vector<Variant>>(), "array of Variant", int(sizeof(Variant)), TypeInfoFor<Variant>(), true,
         -1},
        {TypeInfoFor<std::vector<TComponent*>>(), "array of TComponent", int(sizeof(void*)),
         &TComponent::StaticClass()->TypeInfo, false, -1},
        {TypeInfoFor<std::vector<TIntfPtr<IInterface>>>(), "array of " + IInterface::IID.ToString(),
         int(sizeof(TIntfPtr<IInterface>)), InterfaceTypeInfo<IInterface>(), true, -1},
        {TypeInfoFor<std::vector<std::vector<int>>>(), "array of array of Integer", int(sizeof(std::vector<int>)),
         TypeInfoFor<std::vector<int>>(), true, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Type->Kind, tkDynArray);
        EXPECT_EQ(c.Type->Name, c.Name);
        EXPECT_EQ(c.Type->ElemSize, c.ElemSize);
        EXPECT_EQ(c.Type->ElemType, c.ElemType);
        EXPECT_EQ(c.Type->ElemNeedsCleanup, c.NeedsCleanup);
        EXPECT_EQ(c.Type->ElemVarType, c.VarType);
    }
    // One description per type.
    EXPECT_EQ(TypeInfoFor<std::vector<int>>(), TypeInfoFor<std::vector<int>>());
}

}  // namespace
