// Published properties by name, enumeration and set texts, defaults and
// stored rules, the class registry and the unit order.
#include <gtest/gtest.h>

#include "classlib/core/units.h"
#include "defaults_check.h"
#include "test_classes.h"

namespace {

std::vector<String> Names(TClass cls) {
    std::vector<String> names;
    for (const TPropInfo* p : GetPropList(cls)) names.push_back(p->Name);
    return names;
}

TEST(TypeInfo, PropertyListHasAncestorsFirstInDeclarationOrder) {
    EXPECT_EQ(Names(TTestWidget::StaticClass()),
              (std::vector<String>{"Name", "Tag", "Caption", "Width", "Enabled", "Shape", "Shapes", "Ratio", "Letter",
                                   "Big", "Font", "Items", "Lines", "Buddy", "OnClick"}));
}

TEST(TypeInfo, KindsAndTypeNames) {
    struct Case {
        const char* prop;
        TTypeKind kind;
        const char* typeName;
    } cases[] = {
        {"Caption", tkString, "string"},
        {"Width", tkInteger, "Integer"},
        {"Enabled", tkEnumeration, "Boolean"},
        {"Shape", tkEnumeration, "TShape"},
        {"Shapes", tkSet, "set of TShape"},
        {"Ratio", tkFloat, "Double"},
        {"Letter", tkChar, "Char"},
        {"Big", tkInt64, "Int64"},
        {"Font", tkClass, "TTestFont"},
        {"Buddy", tkClass, "TTestWidget"},
        {"OnClick", tkMethod, "TNotifyEvent"},
        {"tag", tkInteger, "Integer"},
    };
    for (const Case& c : cases) {
        const TPropInfo* p = GetPropInfo(TTestWidget::StaticClass(), c.prop);
        ASSERT_NE(p, nullptr) << c.prop;
        EXPECT_EQ(p->PropType()->Kind, c.kind) << c.prop;
        EXPECT_EQ(p->PropType()->Name, c.typeName) << c.prop;
    }
    EXPECT_EQ(GetPropInfo(TTestWidget::StaticClass(), "Missing"), nullptr);
    EXPECT_EQ(GetPropInfo(TTestWidget::StaticClass(), "Shapes")->PropType()->CompType, TypeInfoFor<TShape>());
}

TEST(TypeInfo, VariantPropertiesAreGotAndSetAsVariants) {
    const TPropInfo* p = GetPropInfo(TTestItem::StaticClass(), "Extra");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->PropType()->Kind, tkVariant);
    EXPECT_EQ(p->PropType()->Name, "Variant");
    TTestItems items(nullptr);
    auto* item = static_cast<TTestItem*>(items.Add());
    EXPECT_TRUE(HasDefaultValue(p));
    EXPECT_TRUE(IsDefaultPropValue(item, p));
    EXPECT_TRUE(FindDefaultDrifts(item).empty());
    SetVariantProp(item, p, Variant::Currency(2.5));
    EXPECT_EQ(item->FExtra, Variant::Currency(2.5));
    EXPECT_EQ(GetVariantProp(item, p), Variant::Currency(2.5));
    EXPECT_FALSE(IsDefaultPropValue(item, p));
    EXPECT_THROW(GetStrProp(item, p), EPropertyError);
}

TEST(TypeInfo, GetAndSetByName) {
    TTestRoot root(nullptr);
    TTestWidget w(&root);
    SetStrProp(&w, "caption", "Hello");
    SetOrdProp(&w, "Width", 120);
    SetEnumProp(&w, "Shape", "SHSQUARE");
    SetSetProp(&w, "Shapes", "[shSquare, shTriangle]");
    EXPECT_EQ(w.FCaption, "Hello");
    EXPECT_EQ(w.FWidth, 120);
    EXPECT_EQ(w.FShape, shSquare);
    EXPECT_EQ(w.FShapes, (TShapes{shSquare, shTriangle}));
    EXPECT_EQ(GetEnumProp(&w, "Shape"), "shSquare");
    EXPECT_EQ(GetSetProp(&w, "Shapes"), "shSquare,shTriangle");
    EXPECT_EQ(GetSetProp(&w, "Shapes", true), "[shSquare,shTriangle]");
    EXPECT_EQ(GetObjectProp(&w, "Font"), w.FFont);
    EXPECT_EQ(GetOrdProp(&w, "Enabled"), 1);
}

TEST(TypeInfo, AccessErrors) {
    TTestRoot root(nullptr);
    TTestWidget w(&root);
    TTestFont notAComponent;
    EXPECT_THROW(GetOrdProp(&w, "Nope"), EPropertyError);
    EXPECT_THROW(SetObjectProp(&w, "Font", nullptr), EPropertyError);          // read-only
    EXPECT_THROW(SetObjectProp(&w, "Buddy", &notAComponent), EPropertyError);  // wrong class
    EXPECT_THROW(SetEnumProp(&w, "Shape", "shHexagon"), EPropertyConvertError);
    EXPECT_THROW(SetSetProp(&w, "Shapes", "[shSquare, bogus]"), EPropertyConvertError);
    EXPECT_THROW(SetSetProp(&w, "Shapes", "[shSquare"), EPropertyConvertError);
    TTestWidget other(&root);
    SetObjectProp(&w, "Buddy", &other);
    EXPECT_EQ(w.FBuddy, &other);
}

TEST(TypeInfo, EnumerationAndSetTexts) {
    const TTypeInfo* shape = TypeInfoFor<TShape>();
    EXPECT_EQ(GetEnumName(shape, 2), "shTriangle");
    EXPECT_EQ(GetEnumName(shape, 7), "7");
    EXPECT_EQ(GetEnumValue(shape, "shcircle"), 0);
    EXPECT_EQ(GetEnumValue(shape, ""), -1);
    EXPECT_EQ(GetEnumValue(TypeInfoFor<bool>(), "TRUE"), 1);
    const TTypeInfo* shapes = TypeInfoFor<TShapes>();
    EXPECT_EQ(StringToSet(shapes, ""), 0u);
    EXPECT_EQ(StringToSet(shapes, "[]"), 0u);
    EXPECT_EQ(StringToSet(shapes, " [ shTriangle ,shCircle ] "), 5u);
    EXPECT_EQ(StringToSet(shapes, "shSquare"), 2u);
    EXPECT_EQ(SetToString(shapes, 0), "[]");
    EXPECT_EQ(SetToString(shapes, 5, false), "shCircle,shTriangle");
}

TEST(TypeInfo, DefaultsAndStoredRules) {
    TTestRoot root(nullptr);
    TTestWidget w(&root);
    auto prop = [](const char* n) { return GetPropInfo(TTestWidget::StaticClass(), n); };
    EXPECT_TRUE(IsDefaultPropValue(&w, prop("Width")));
    EXPECT_TRUE(IsDefaultPropValue(&w, prop("Enabled")));
    EXPECT_TRUE(IsDefaultPropValue(&w, prop("Shapes")));
    EXPECT_TRUE(IsDefaultPropValue(&w, prop("Caption")));
    w.FWidth = 76;
    w.FShapes = {};
    w.FCaption = "x";
    EXPECT_FALSE(IsDefaultPropValue(&w, prop("Width")));
    EXPECT_FALSE(IsDefaultPropValue(&w, prop("Shapes")));
    EXPECT_FALSE(IsDefaultPropValue(&w, prop("Caption")));
    EXPECT_FALSE(IsStoredProp(&w, prop("Name")));
    EXPECT_TRUE(IsStoredProp(&w, prop("Ratio")));
    w.FRatio = 1.5;
    EXPECT_FALSE(IsStoredProp(&w, prop("Ratio")));
}

TEST(TypeInfo, IntegerIdentifiers) {
    static const TTypeInfo colour = MakeOrdinalTypeInfo(tkInteger, "TTestColor", INT32_MIN, INT32_MAX);
    RegisterIntegerIdents(&colour, {{0x000000, "clBlack"}, {0x1FFFFFFF, "clNone"}});
    Int64 v = 0;
    EXPECT_TRUE(IdentToInt(&colour, "CLNONE", v));
    EXPECT_EQ(v, 0x1FFFFFFF);
    EXPECT_FALSE(IdentToInt(&colour, "clRed", v));
    String ident;
    EXPECT_TRUE(IntToIdent(&colour, 0, ident));
    EXPECT_EQ(ident, "clBlack");
    EXPECT_FALSE(IntToIdent(&colour, 5, ident));
    EXPECT_FALSE(IntToIdent(TypeInfoFor<int>(), 0, ident));
}

TEST(ClassRegistry, FindByNameIgnoringCase) {
    RegisterTestClasses();
    EXPECT_EQ(GetClass("ttestwidget"), TTestWidget::StaticClass());
    EXPECT_EQ(GetClass("TNothing"), nullptr);
    try {
        FindClass("TNothing");
        FAIL();
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), "Class TNothing not found");
    }
}

// ---- Unit order ----

std::vector<std::string> unitLog;
void InitA() { unitLog.push_back("init A"); }
void FinA() { unitLog.push_back("fin A"); }
void InitB() { unitLog.push_back("init B"); }
void FinB() { unitLog.push_back("fin B"); }
void InitFails() { throw Exception("no"); }

TEST(Units, InitialiseInOrderFinaliseInReverse) {
    unitLog.clear();
    {
        TUnitList units{{"A", InitA, FinA}, {"B", InitB, FinB}, {"C", nullptr, nullptr}};
        units.InitializeAll();
        EXPECT_EQ(units.InitializedCount(), 3);
        units.FinalizeAll();
        units.FinalizeAll();
    }
    EXPECT_EQ(unitLog, (std::vector<std::string>{"init A", "init B", "fin B", "fin A"}));
}

TEST(Units, FailureFinalisesWhatWasInitialised) {
    unitLog.clear();
    TUnitList units{{"A", InitA, FinA}, {"X", InitFails, FinB}, {"B", InitB, FinB}};
    EXPECT_THROW(units.InitializeAll(), Exception);
    EXPECT_EQ(unitLog, (std::vector<std::string>{"init A", "fin A"}));
}

}  // namespace

// ---- What a class publishes, shared setters, defaults of every stored kind ----

namespace {

// A colour-like integer type.
enum TTint : int {};
const TTypeInfo* TypeInfoOf(TTint*) {
    static const TTypeInfo info = MakeOrdinalTypeInfo(tkInteger, "TTint", INT32_MIN, INT32_MAX);
    return &info;
}
constexpr TTint tnFace = TTint(0x7F000F);

// A base that keeps Caption, Color and Hint for its descendants to publish.
class TBaseCtl : public TComponent {
    QL_CLASS(TBaseCtl, TComponent)
public:
    using TComponent::TComponent;
    String FCaption;
    TTint FColor = tnFace;
    String FHint;
    int FWidth = 10;
};

TClass TBaseCtl::StaticClass() {
    static const TClassInfo info = TClassBuilder<TBaseCtl>("TBaseCtl")
                                       .Declare("Caption", &TBaseCtl::FCaption, &TBaseCtl::FCaption)
                                       .Declare("Color", &TBaseCtl::FColor, &TBaseCtl::FColor)
                                       .Default(tnFace)
                                       .Prop("Width", &TBaseCtl::FWidth, &TBaseCtl::FWidth)
                                       .Default(10)
                                       .Declare("Hint", &TBaseCtl::FHint, &TBaseCtl::FHint)
                                       .Build();
    return &info;
}

// Publishes Hint and Caption, and Color with another default.
class TShownCtl : public TBaseCtl {
    QL_CLASS(TShownCtl, TBaseCtl)
public:
    explicit TShownCtl(TComponent* owner) : TBaseCtl(owner) { FColor = TTint(5); }
};

TClass TShownCtl::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TShownCtl>("TShownCtl").Publish({"Hint", "Caption"}).Publish("Color").Default(TTint(5)).Build();
    return &info;
}

TEST(Publishing, ABaseDeclaresWhatOnlyDescendantsPublish) {
    EXPECT_EQ(Names(TBaseCtl::StaticClass()), (std::vector<String>{"Name", "Tag", "Width"}));
    EXPECT_EQ(GetPropInfo(TBaseCtl::StaticClass(), "Caption"), nullptr);
    EXPECT_NE(GetDeclaredPropInfo(TBaseCtl::StaticClass(), "Caption"), nullptr);
    // Published where the descendant publishes them, in the place of their
    // declaration.
    EXPECT_EQ(Names(TShownCtl::StaticClass()),
              (std::vector<String>{"Name", "Tag", "Caption", "Color", "Width", "Hint"}));
    ASSERT_NE(GetPropInfo(TShownCtl::StaticClass(), "hint"), nullptr);
    EXPECT_EQ(GetPropInfo(TShownCtl::StaticClass(), "Color")->Default, 5);
    EXPECT_EQ(GetDeclaredPropInfo(TBaseCtl::StaticClass(), "Color")->Default, 0x7F000F);

    // The writer and the reader see exactly the published set.
    RegisterClasses({TBaseCtl::StaticClass(), TShownCtl::StaticClass()});
    TTestRoot root(nullptr);
    root.SetName("R");
    auto* base = new TBaseCtl(&root);
    base->SetName("B");
    base->FCaption = "hidden";
    auto* shown = new TShownCtl(&root);
    shown->SetName("S");
    shown->FCaption = "seen";
    shown->FColor = tnFace;
    String text = TWriter().WriteRootComponent(&root);
    EXPECT_EQ(text, "object R: TTestRoot\r\n  object B: TBaseCtl\r\n  end\r\n  object S: TShownCtl\r\n"
                    "    Caption = 'seen'\r\n    Color = 8323087\r\n  end\r\nend\r\n");
    TTestRoot bad(nullptr);
    EXPECT_THROW(
        TReader("object R: TTestRoot\n object B: TBaseCtl\n  Caption = 'x'\n end\nend").ReadRootComponent(&bad),
        EReadError);
    EXPECT_THROW(TClassBuilder<TShownCtl>("TShownCtl").Publish("Nothing"), EPropertyError);
}

// 36 colours share one setter template, which counts real changes.
class TPalette : public TPersistent {
    QL_CLASS(TPalette, TPersistent)
public:
    TTint Colors[36] = {};
    int Changes = 0;
};

template <int Index>
void SetPaletteColor(TPalette* self, const TTint& value) {
    if (self->Colors[Index] == value) return;
    self->Colors[Index] = value;
    ++self->Changes;
}

template <int Index>
TTint GetPaletteColor(TPalette* self) {
    return self->Colors[Index];
}

const char* const PaletteNames[36] = {
    "Color0",  "Color1",  "Color2",  "Color3",  "Color4",  "Color5",  "Color6",  "Color7",  "Color8",
    "Color9",  "Color10", "Color11", "Color12", "Color13", "Color14", "Color15", "Color16", "Color17",
    "Color18", "Color19", "Color20", "Color21", "Color22", "Color23", "Color24", "Color25", "Color26",
    "Color27", "Color28", "Color29", "Color30", "Color31", "Color32", "Color33", "Color34", "Color35"};

template <int... I>
TClassInfo BuildPalette(std::integer_sequence<int, I...>) {
    TClassBuilder<TPalette> builder("TPalette");
    (builder.Prop(PaletteNames[I], &GetPaletteColor<I>, &SetPaletteColor<I>).Default(TTint(I)), ...);
    return builder.Build();
}

TClass TPalette::StaticClass() {
    static const TClassInfo info = BuildPalette(std::make_integer_sequence<int, 36>());
    return &info;
}

TEST(Publishing, SettersAndGettersNeedNotBeMemberFunctions) {
    ASSERT_EQ(GetPropList(TPalette::StaticClass()).size(), 36u);
    TPalette palette;
    const TPropInfo* first = GetPropInfo(TPalette::StaticClass(), "Color0");
    SetOrdProp(&palette, first, 7);
    SetOrdProp(&palette, first, 7);
    EXPECT_EQ(palette.Colors[0], 7);
    EXPECT_EQ(palette.Changes, 1);  // no change the second time
    for (int i = 0; i < 36; ++i) SetOrdProp(&palette, PaletteNames[i], 100 + i);
    EXPECT_EQ(palette.Colors[17], 117);
    EXPECT_EQ(GetOrdProp(&palette, "Color35"), 135);
    EXPECT_EQ(GetPropInfo(TPalette::StaticClass(), "Color35")->Default, 35);

    // A lambda as setter.
    TClassBuilder<TPalette> b("TPaletteProps");
    b.Prop("Last", &TPalette::Changes, [](TPalette* self, const int& v) { self->Changes = -v; });
    TClassInfo info = b.Build();
    info.Props[0].SetOrd(&palette, 9);
    EXPECT_EQ(palette.Changes, -9);
}

// Defaults of every stored kind.
class TDefaults : public TComponent {
    QL_CLASS(TDefaults, TComponent)
public:
    using TComponent::TComponent;
    String FFace = "Tahoma";
    double FScale = 1.5;
    TShapes FShapes{shSquare};
    TTint FColor = tnFace;
    TShape FShape = shTriangle;
};

TClass TDefaults::StaticClass() {
    static const TClassInfo info = TClassBuilder<TDefaults>("TDefaults")
                                       .Prop("Face", &TDefaults::FFace, &TDefaults::FFace)
                                       .Default("Tahoma")
                                       .Prop("Scale", &TDefaults::FScale, &TDefaults::FScale)
                                       .Default(1.5)
                                       .Prop("Shapes", &TDefaults::FShapes, &TDefaults::FShapes)
                                       .Default(TShapes{shSquare})
                                       .Prop("Color", &TDefaults::FColor, &TDefaults::FColor)
                                       .Default(tnFace)
                                       .Prop("Shape", &TDefaults::FShape, &TDefaults::FShape)
                                       .Default(shTriangle)
                                       .Build();
    return &info;
}

TEST(Publishing, DefaultsOfEveryStoredKindAreLeftOutAndOthersWritten) {
    RegisterClass(TDefaults::StaticClass());
    TTestRoot root(nullptr);
    root.SetName("R");
    auto* d = new TDefaults(&root);
    d->SetName("D");
    EXPECT_EQ(TWriter().WriteRootComponent(&root), "object R: TTestRoot\r\n  object D: TDefaults\r\n  end\r\nend\r\n");
    // Values other than the defaults, the empty ones included, are written
    // and read back as they were.
    d->FFace = "";
    d->FScale = 0;
    d->FShapes = {};
    d->FColor = TTint(0);
    d->FShape = shCircle;
    String text = TWriter().WriteRootComponent(&root);
    EXPECT_EQ(text, "object R: TTestRoot\r\n  object D: TDefaults\r\n    Face = ''\r\n    Scale = 0.0\r\n"
                    "    Shapes = []\r\n    Color = 0\r\n    Shape = shCircle\r\n  end\r\nend\r\n");
    TTestRoot again(nullptr);
    TReader(text).ReadRootComponent(&again);
    auto* d2 = static_cast<TDefaults*>(again.FindComponent("D"));
    EXPECT_EQ(d2->FFace, "");
    EXPECT_EQ(d2->FScale, 0);
    EXPECT_TRUE(d2->FShapes.Empty());
    EXPECT_EQ(d2->FColor, 0);
    EXPECT_EQ(d2->FShape, shCircle);
}

// A class whose declared defaults drifted from what its constructor sets.
class TDrifting : public TComponent {
    QL_CLASS(TDrifting, TComponent)
public:
    using TComponent::TComponent;
    int FSize = 12;
    String FLabel = "x";
    TTestFont FFont;
    TTestFont* Font() { return &FFont; }
};

TClass TDrifting::StaticClass() {
    static const TClassInfo info = TClassBuilder<TDrifting>("TDrifting")
                                       .Prop("Size", &TDrifting::FSize, &TDrifting::FSize)
                                       .Default(10)
                                       .Prop("Label", &TDrifting::FLabel, &TDrifting::FLabel)
                                       .Prop("Font", &TDrifting::Font, nullptr)
                                       .Build();
    return &info;
}

TEST(Defaults, DriftsAreFoundAlsoInNestedObjects) {
    TDrifting d(nullptr);
    d.FFont.FSize = 9;
    d.FFont.FName = "Arial";
    EXPECT_EQ(FindDefaultDrifts(&d),
              (std::vector<String>{"TDrifting.Size: default 10, holds 12", "TDrifting.Label: default '', holds 'x'",
                                   "TDrifting.Font.Name: default 'Tahoma', holds 'Arial'",
                                   "TDrifting.Font.Size: default 8, holds 9"}));
}

// Every registered class: a new instance holds its declared defaults.
TEST(Defaults, EveryRegisteredClassHoldsItsDeclaredDefaults) {
    RegisterTestClasses();
    EXPECT_GE(ExpectRegisteredClassesHoldTheirDefaults({TDrifting::StaticClass()}), 3);
}

}  // namespace

TEST(TypeInfo, MethodTypesListTheirParameters) {
    struct TPoint2 {
        int X, Y;
    };
    const TTypeInfo* notify = TypeInfoFor<TNotifyEvent>();
    ASSERT_EQ(notify->MethodParams.size(), 1u);
    EXPECT_EQ(MethodParamTypeName(notify->MethodParams[0]), "TObject");
    EXPECT_FALSE(notify->MethodParams[0].ByReference);

    const TTypeInfo* t = TypeInfoFor<TEvent<TObject*, bool&, const String&, int, TPoint2&>>();
    ASSERT_EQ(t->MethodParams.size(), 5u);
    EXPECT_EQ(MethodParamTypeName(t->MethodParams[1]), "Boolean");
    EXPECT_TRUE(t->MethodParams[1].ByReference);
    EXPECT_EQ(MethodParamTypeName(t->MethodParams[2]), "string");
    EXPECT_TRUE(t->MethodParams[2].Constant);
    EXPECT_FALSE(t->MethodParams[2].ByReference);
    EXPECT_EQ(MethodParamTypeName(t->MethodParams[3]), "Integer");
    EXPECT_NE(MethodParamTypeName(t->MethodParams[4]).find("TPoint2"), String::npos);
    EXPECT_TRUE(TypeInfoFor<TEvent<>>()->MethodParams.empty());
}

// Accessors reach members wherever they sit in the object: in a base that
// is not a TObject (placed first, so the TObject part has an offset), and
// in the TObject part itself, through virtual and plain member functions.
struct TCounterPart {
    virtual ~TCounterPart() = default;
    int Count = 5;
    int GetCount() const { return Count; }
    void SetCount(int value) { Count = value * 2; }
};

class TCountedThing : public TCounterPart, public TPersistent {
    QL_CLASS(TCountedThing, TPersistent)
public:
    String FLabel = "start";
    TTint FTint = tnFace;
    virtual String Label() const { return FLabel; }
    void SetLabel(const String& value) { FLabel = "[" + value + "]"; }
};

TClass TCountedThing::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCountedThing>("TCountedThing")
                                       .Prop("Count", &TCountedThing::GetCount, &TCountedThing::SetCount)
                                       .Prop("Raw", &TCountedThing::Count, &TCountedThing::Count)
                                       .Prop("Label", &TCountedThing::Label, &TCountedThing::SetLabel)
                                       .Prop("Tint", &TCountedThing::FTint, &TCountedThing::FTint)
                                       .Build();
    return &info;
}

TEST(Publishing, AccessorsReachMembersOfEveryBase) {
    TCountedThing thing;
    ASSERT_NE(static_cast<void*>(static_cast<TObject*>(&thing)), static_cast<void*>(&thing));
    EXPECT_EQ(GetOrdProp(&thing, "Count"), 5);
    SetOrdProp(&thing, "Count", 4);
    EXPECT_EQ(thing.Count, 8);
    SetOrdProp(&thing, "Raw", 3);
    EXPECT_EQ(GetOrdProp(&thing, "Raw"), 3);
    EXPECT_EQ(GetStrProp(&thing, "Label"), "start");
    SetStrProp(&thing, "Label", "x");
    EXPECT_EQ(thing.FLabel, "[x]");
    SetOrdProp(&thing, "Tint", 77);
    EXPECT_EQ(thing.FTint, TTint(77));
    EXPECT_EQ(GetOrdProp(&thing, "Tint"), 77);
}
