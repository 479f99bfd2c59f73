// Published properties by name, enumeration and set texts, defaults and
// stored rules, the class registry and the unit order.
#include <gtest/gtest.h>

#include "classlib/core/units.h"
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
