// Reading and writing stored layouts.
#include <gtest/gtest.h>

#include "test_classes.h"

namespace {

const char* const SampleLayout = R"(object Root1: TTestRoot
  Title = 'Main'#13#10'window'
  OnShow = FormShow
  object Widget1: TTestWidget
    Caption = 'It''s one'
    Width = 120
    Enabled = False
    Shape = shTriangle
    Shapes = [shSquare, shTriangle]
    Ratio = 2.5
    Letter = 'z'
    Big = 12345678901234
    Font.Name = 'Arial'
    Font.Style = [shCircle]
    Buddy = Widget2
    OnClick = ButtonClick
    FullHeight = 300
    Lines.Strings = (
      'first line'
      ''
      'it''s'#9'tabbed')
    Data = {
      00FF10}
    Items = <
      item
        Caption = 'first'
        Value = 1
      end
      item
        Caption = 'second'
      end>
    object Child1: TTestWidget
      Caption = 'nested'
    end
  end
  object Widget2: TTestWidget
    Width = -5
    Tag = $10
  end
end
)";

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        TestLog().clear();
    }
};

TEST_F(LayoutTest, ReadsEveryKindOfValue) {
    TTestRoot root(nullptr);
    TReader(SampleLayout).ReadRootComponent(&root);
    EXPECT_EQ(root.Name(), "Root1");
    EXPECT_EQ(root.FTitle, "Main\r\nwindow");
    ASSERT_NE(root.Widget1, nullptr);
    ASSERT_NE(root.Widget2, nullptr);
    TTestWidget& w = *root.Widget1;
    EXPECT_EQ(w.FCaption, "It's one");
    EXPECT_EQ(w.FWidth, 120);
    EXPECT_FALSE(w.FEnabled);
    EXPECT_EQ(w.FShape, shTriangle);
    EXPECT_EQ(w.FShapes, (TShapes{shSquare, shTriangle}));
    EXPECT_DOUBLE_EQ(w.FRatio, 2.5);
    EXPECT_EQ(w.FLetter, 'z');
    EXPECT_EQ(w.FBig, 12345678901234LL);
    EXPECT_EQ(w.FFont->FName, "Arial");
    EXPECT_EQ(w.FFont->FStyle, TShapes{shCircle});
    EXPECT_EQ(w.FFullHeight, 300);
    ASSERT_EQ(w.FLines->Count(), 3);
    EXPECT_EQ(w.FLines->Strings(1), "");
    EXPECT_EQ(w.FLines->Strings(2), "it's\ttabbed");
    EXPECT_EQ(w.FData, String("\x00\xFF\x10", 3));
    ASSERT_EQ(w.FItems->Count(), 2);
    EXPECT_EQ(static_cast<TTestItem*>(w.FItems->Items(0))->FCaption, "first");
    EXPECT_EQ(static_cast<TTestItem*>(w.FItems->Items(0))->FValue, 1);
    EXPECT_EQ(static_cast<TTestItem*>(w.FItems->Items(1))->FCaption, "second");
    EXPECT_EQ(root.Widget2->FWidth, -5);
    EXPECT_EQ(root.Widget2->Tag(), 16);
    // Every component is owned by the root; nesting gives the parent.
    EXPECT_EQ(root.ComponentCount(), 3);
    auto* child = dynamic_cast<TTestWidget*>(root.FindComponent("Child1"));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->Owner(), &root);
    EXPECT_EQ(child->FParent, root.Widget1);
}

TEST_F(LayoutTest, ResolvesReferencesToComponentsDeclaredLater) {
    TTestRoot root(nullptr);
    TReader(SampleLayout).ReadRootComponent(&root);
    EXPECT_EQ(root.Widget1->FBuddy, root.Widget2);
    delete root.Widget2;  // the reference takes part in free notification
    EXPECT_EQ(root.Widget1->FBuddy, nullptr);
}

TEST_F(LayoutTest, BindsEventsToTheRootsMethodsByName) {
    TTestRoot root(nullptr);
    TReader(SampleLayout).ReadRootComponent(&root);
    root.Widget1->FOnClick(root.Widget1);
    root.FOnShow(&root);
    EXPECT_EQ(root.Clicks, (std::vector<std::string>{"ButtonClick Widget1", "FormShow"}));
    EXPECT_TRUE(root.Widget1->FOnClick == TNotifyEvent::Bind<&TTestRoot::ButtonClick>(&root));
}

TEST_F(LayoutTest, CallsLoadedOnceInReadingOrderAfterReferencesAreResolved) {
    TTestRoot root(nullptr);
    TReader(SampleLayout).ReadRootComponent(&root);
    EXPECT_EQ(TestLog(),
              (std::vector<std::string>{"loaded root Root1", "loaded Widget1", "loaded Child1", "loaded Widget2"}));
    EXPECT_FALSE(root.IsLoading());
    EXPECT_FALSE(root.Widget1->IsLoading());
    EXPECT_FALSE(root.Widget1->ComponentState().Contains(csReading));
}

TEST_F(LayoutTest, WritesWhatItReadsAndReadsWhatItWrites) {
    TTestRoot root(nullptr);
    TReader(SampleLayout).ReadRootComponent(&root);
    String text = TWriter().WriteRootComponent(&root);
    TTestRoot again(nullptr);
    TReader(text).ReadRootComponent(&again);
    EXPECT_EQ(TWriter().WriteRootComponent(&again), text);
    EXPECT_EQ(again.Widget1->FData, root.Widget1->FData);
    EXPECT_EQ(again.Widget1->FBuddy, again.Widget2);
    EXPECT_EQ(again.FTitle, root.FTitle);
    EXPECT_EQ(again.Widget1->FItems->Count(), 2);
    EXPECT_EQ(again.Widget1->FLines->Text(), root.Widget1->FLines->Text());
}

TEST_F(LayoutTest, WriterLeavesOutDefaultsAndUnstoredValues) {
    TTestRoot root(nullptr);
    root.SetName("R");
    auto* w = new TTestWidget(&root);
    w->SetName("W");
    w->FRatio = 1.5;  // not stored at this value
    String text = TWriter().WriteRootComponent(&root);
    // Strings have no declared default: a non-empty one is written.
    EXPECT_EQ(text, "object R: TTestRoot\r\n  object W: TTestWidget\r\n    Font.Name = 'Tahoma'\r\n  end\r\nend\r\n");
}

TEST_F(LayoutTest, WriterFormatsListsCollectionsAndStrings) {
    TTestRoot root(nullptr);
    root.SetName("R");
    root.FTitle = "a'b\tc";
    auto* w = new TTestWidget(&root);
    w->SetName("W");
    w->FShapes = {};
    static_cast<TTestItem*>(w->FItems->Add())->FValue = 3;
    String text = TWriter().WriteRootComponent(&root);
    EXPECT_NE(text.find("  Title = 'a''b'#9'c'\r\n"), String::npos) << text;
    EXPECT_NE(text.find("    Shapes = []\r\n"), String::npos) << text;
    EXPECT_NE(text.find("    Items = <\r\n      item\r\n        Value = 3\r\n      end>\r\n"), String::npos) << text;
}

TEST_F(LayoutTest, NewRootIsCreatedFromTheClassName) {
    TComponent* root = TReader("object R: TTestRoot\n  Title = 'x'\nend").ReadNewRootComponent(nullptr);
    ASSERT_NE(dynamic_cast<TTestRoot*>(root), nullptr);
    EXPECT_EQ(static_cast<TTestRoot*>(root)->FTitle, "x");
    delete root;
}

struct BadLayout {
    const char* name;
    const char* text;
    const char* message;  // a part of the error text
};

class MalformedLayout : public LayoutTest, public ::testing::WithParamInterface<BadLayout> {};

TEST_P(MalformedLayout, RaisesAClearReadError) {
    const BadLayout& bad = GetParam();
    TTestRoot root(nullptr);
    try {
        TReader(bad.text, "test.layout").ReadRootComponent(&root);
        FAIL() << "no error for " << bad.name;
    } catch (const EFilerError& e) {
        EXPECT_NE(e.Message().find(bad.message), String::npos) << e.Message();
        EXPECT_EQ(e.Message().find("test.layout"), 0u) << e.Message();
    }
    EXPECT_FALSE(root.IsLoading());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedLayout,
    ::testing::Values(
        BadLayout{"empty", "", "Identifier expected on line 1"},
        BadLayout{"no end", "object R: TTestRoot\n  Title = 'x'\n", "'end' expected"},
        BadLayout{"wrong root class", "object R: TTestWidget\nend", "of class TTestWidget, not TTestRoot"},
        BadLayout{"unknown class", "object R: TTestRoot\n object W: TNoSuch\n end\nend",
                  "Class TNoSuch not found (line 2)"},
        BadLayout{"unknown property", "object R: TTestRoot\n Colour = 5\nend",
                  "R.Colour: Property Colour does not exist (line 2)"},
        BadLayout{"bad enum", "object R: TTestRoot\n object W: TTestWidget\n  Shape = shOval\n end\nend",
                  "W.Shape: Invalid property value (line 3)"},
        BadLayout{"bad set element", "object R: TTestRoot\n object W: TTestWidget\n  Shapes = [shOval]\n end\nend",
                  "Invalid property element: shOval"},
        BadLayout{"string for integer", "object R: TTestRoot\n object W: TTestWidget\n  Width = 'wide'\n end\nend",
                  "W.Width: Invalid property value"},
        BadLayout{"integer out of range",
                  "object R: TTestRoot\n object W: TTestWidget\n  Width = 99999999999\n end\nend",
                  "Invalid property value"},
        BadLayout{"unresolved reference", "object R: TTestRoot\n object W: TTestWidget\n  Buddy = Nobody\n end\nend",
                  "Unresolved reference to Nobody (line 3)"},
        BadLayout{"method not found", "object R: TTestRoot\n OnShow = Vanish\nend",
                  "Method Vanish not found in TTestRoot"},
        BadLayout{"method of other parameters", "object R: TTestRoot\n OnShow = Resize\nend",
                  "does not have the parameters"},
        BadLayout{"duplicate name",
                  "object R: TTestRoot\n object W: TTestWidget\n end\n object W: TTestWidget\n end\nend",
                  "A component named W already exists"},
        BadLayout{"unterminated string", "object R: TTestRoot\n Title = 'abc\nend", "Unterminated string on line 2"},
        BadLayout{"odd binary", "object R: TTestRoot\n object W: TTestWidget\n  Data = {ABC}\n end\nend",
                  "Odd number of hexadecimal digits"},
        BadLayout{"binary for a list", "object R: TTestRoot\n object W: TTestWidget\n  Data = ('a')\n end\nend",
                  "Invalid property value"},
        BadLayout{"two values", "object R: TTestRoot\n Title = 'a' 'b'\nend", "Identifier expected on line 2"},
        BadLayout{"no value", "object R: TTestRoot\n Title = \nend", "'end' expected for object R on line 3"},
        BadLayout{"no value at the end", "object R: TTestRoot\n Title = ", "Property value expected"},
        BadLayout{"plus without string", "object R: TTestRoot\n Title = 'a' +\n 5\nend", "String expected after '+'"},
        BadLayout{"nested into nothing", "object R: TTestRoot\n Title.Name = 'a'\nend",
                  "Property Title does not exist"},
        BadLayout{"item outside collection",
                  "object R: TTestRoot\n object W: TTestWidget\n  Font = <item end>\n end\nend",
                  "Invalid property value"},
        BadLayout{"wrong item property",
                  "object R: TTestRoot\n object W: TTestWidget\n  Items = <item Colour = 1 end>\n end\nend",
                  "Property Colour does not exist"},
        BadLayout{"text after end", "object R: TTestRoot\nend\nobject", "Text after the end"},
        BadLayout{"char code too big", "object R: TTestRoot\n Title = #300\nend", "Character code out of range"}),
    [](const ::testing::TestParamInfo<BadLayout>& info) {
        String n = info.param.name;
        for (char& c : n)
            if (!isalnum(static_cast<unsigned char>(c))) c = '_';
        return n;
    });

TEST_F(LayoutTest, DeepNestingIsRefusedNotACrash) {
    String text = "object R: TTestRoot\n Title = ";
    for (int i = 0; i < 100000; ++i) text += '(';
    TTestRoot root(nullptr);
    EXPECT_THROW(TReader(text).ReadRootComponent(&root), EReadError);
}

TEST_F(LayoutTest, ComponentsCreatedBeforeAnErrorStayOwnedByTheRoot) {
    auto* root = new TTestRoot(nullptr);
    EXPECT_THROW(TReader("object R: TTestRoot\n object A: TTestWidget\n end\n object B: TNoSuch\n end\nend")
                     .ReadRootComponent(root),
                 EClassNotFound);
    EXPECT_EQ(root->ComponentCount(), 1);
    delete root;  // frees A
    EXPECT_EQ(TestLog().back(), "destroy A");
}

}  // namespace
