// Reading and writing stored layouts.
#include <gtest/gtest.h>

#include "classlib/core/sysutils.h"
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
    EXPECT_EQ(text, "object R: TTestRoot\r\n  object W: TTestWidget\r\n  end\r\nend\r\n");
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

// ---- Interface references, creation, values piece by piece, entry lists, child order ----

namespace {

std::vector<std::string>& Made() {
    static std::vector<std::string> made;
    return made;
}

// ---- Interface-typed properties -------------------------------------------------

class ISource : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{A6C1F7E2-3B0D-4E55-8E0B-6C2F0A9D1E01}");
    virtual String Fetch() = 0;

protected:
    ~ISource() = default;
};

class TSourceComp : public TComponent, public ISource {
    QL_CLASS(TSourceComp, TComponent)
public:
    using TComponent::TComponent;
    String FText = "data";
    String Fetch() override { return FText + " from " + Name(); }
    void AfterConstruction() override { Made().push_back("source"); }
};

TClass TSourceComp::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSourceComp>("TSourceComp").Implements<ISource>().Build();
    return &info;
}

class TUserComp : public TComponent {
    QL_CLASS(TUserComp, TComponent)
public:
    using TComponent::TComponent;
    TIntfPtr<ISource> FSource;
    TTestItems* FItems = new TTestItems(this);
    ~TUserComp() override { delete FItems; }
    TTestItems* Items() const { return FItems; }
    void AfterConstruction() override { Made().push_back("user"); }
};

TClass TUserComp::StaticClass() {
    static const TClassInfo info = TClassBuilder<TUserComp>("TUserComp")
                                       .Prop("Source", &TUserComp::FSource, &TUserComp::FSource)
                                       .Prop("Items", &TUserComp::Items, nullptr)
                                       .Build();
    return &info;
}

class StreamingTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        RegisterClasses({TSourceComp::StaticClass(), TUserComp::StaticClass()});
        Made().clear();
    }
};

TEST_F(StreamingTest, InterfacePropertyIsResolvedByNameAfterTheWholeRead) {
    TTestRoot root(nullptr);
    TReader(R"(object R: TTestRoot
  object User: TUserComp
    Source = Src
  end
  object Src: TSourceComp
  end
end)")
        .ReadRootComponent(&root);
    auto* user = dynamic_cast<TUserComp*>(root.FindComponent("User"));
    ASSERT_NE(user, nullptr);
    ASSERT_TRUE(user->FSource);
    EXPECT_EQ(user->FSource->Fetch(), "data from Src");
    // Components do not count: the reference does not own the component.
    EXPECT_EQ(user->FSource->_AddRef(), -1);
    // Written back by the component's name; nil is the default.
    String text = TWriter().WriteRootComponent(&root);
    EXPECT_NE(text.find("    Source = Src\r\n"), String::npos) << text;
    user->FSource.Reset();
    text = TWriter().WriteRootComponent(&root);
    EXPECT_EQ(text.find("Source ="), String::npos) << text;
}

TEST_F(StreamingTest, InterfacePropertyRefusesComponentsWithoutTheInterface) {
    TTestRoot root(nullptr);
    try {
        TReader(R"(object R: TTestRoot
  object User: TUserComp
    Source = Widget1
  end
  object Widget1: TTestWidget
  end
end)")
            .ReadRootComponent(&root);
        FAIL() << "no error";
    } catch (const EReadError& e) {
        EXPECT_NE(e.Message().find("Widget1 does not implement"), String::npos) << e.Message();
        EXPECT_NE(e.Message().find("line 3"), String::npos) << e.Message();
    }
    const TPropInfo* p = GetPropInfo(TUserComp::StaticClass(), "Source");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->PropType()->Kind, tkInterface);
    TUserComp user(nullptr);
    TTestWidget widget(nullptr);
    EXPECT_THROW(SetInterfaceProp(&user, p, static_cast<IInterface*>(&widget)), EPropertyError);
}

// ---- Creation calls AfterConstruction -----------------------------------------

class TMadeItem : public TCollectionItem {
    QL_CLASS(TMadeItem, TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
    int Value = 0;
    void AfterConstruction() override { Made().push_back("item"); }
};

TClass TMadeItem::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TMadeItem>("TMadeItem").Prop("Value", &TMadeItem::Value, &TMadeItem::Value).Default(0).Build();
    return &info;
}

// A persistent object registered for streaming, not a component.
class TPlainSettings : public TPersistent {
    QL_CLASS(TPlainSettings, TPersistent)
public:
    int Level = 4;
    void AfterConstruction() override { Made().push_back("settings"); }
};

TClass TPlainSettings::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPlainSettings>("TPlainSettings")
                                       .Prop("Level", &TPlainSettings::Level, &TPlainSettings::Level)
                                       .Default(4)
                                       .Build();
    return &info;
}

TEST_F(StreamingTest, EveryCreatorCallsAfterConstruction) {
    // The layout reader's component creation and collection items.
    TTestRoot root(nullptr);
    TReader(R"(object R: TTestRoot
  object User: TUserComp
    Items = <
      item
        Value = 2
      end>
  end
  object Src: TSourceComp
  end
end)")
        .ReadRootComponent(&root);
    EXPECT_EQ(Made(), (std::vector<std::string>{"user", "source"}));

    // TCollection::Add.
    Made().clear();
    TCollection items(TMadeItem::StaticClass());
    items.Add();
    items.Insert(0);
    EXPECT_EQ(Made(), (std::vector<std::string>{"item", "item"}));

    // The registry's creation by name, of components and of other objects.
    Made().clear();
    RegisterClass(TPlainSettings::StaticClass());
    TComponent* made = CreateComponent("TSourceComp", &root);
    EXPECT_EQ(made->Owner(), &root);
    TObject* settings = CreateObject("tplainsettings");
    ASSERT_NE(dynamic_cast<TPlainSettings*>(settings), nullptr);
    EXPECT_EQ(Made(), (std::vector<std::string>{"source", "settings"}));
    delete settings;
    EXPECT_THROW(CreateObject("TNoSuchClass"), EClassNotFound);
    EXPECT_THROW(CreateObject(TComponent::StaticClass()), EInvalidOperation);  // needs an owner
}

// A class made with constructor arguments of its own.
class TBoundItem : public TPersistent {
    QL_CLASS(TBoundItem, TPersistent)
public:
    TBoundItem(TCollection* list, int value) : List(list), Value(value) {}
    TCollection* List;
    int Value;
    void AfterConstruction() override { Made().push_back("bound " + std::to_string(Value)); }
};

TClass TBoundItem::StaticClass() {
    static const TClassInfo info = TClassBuilder<TBoundItem>("TBoundItem").Constructor<TCollection*, int>().Build();
    return &info;
}

TEST_F(StreamingTest, ClassesMadeWithTheirOwnConstructorArguments) {
    TCollection list(TMadeItem::StaticClass());
    TObject* made = CreateObject<TCollection*, int>(TBoundItem::StaticClass(), &list, 5);
    auto* item = dynamic_cast<TBoundItem*>(made);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->List, &list);
    EXPECT_EQ(Made(), std::vector<std::string>{"bound 5"});
    delete made;
    EXPECT_THROW(CreateObject<int>(TBoundItem::StaticClass(), 5), EInvalidOperation);
    EXPECT_THROW(CreateObject(TBoundItem::StaticClass()), EInvalidOperation);
}

// ---- Reading values piece by piece ------------------------------------------------

// Reads "Sides" element by element, skipping the rest of the set at the
// first name it does not know; "Legacy" skips whatever value it holds.
class TSided : public TComponent {
    QL_CLASS(TSided, TComponent)
public:
    using TComponent::TComponent;
    std::vector<String> Sides;
    int Skipped = 0;
    int Width = 0;
    void DefineProperties(TFiler* filer) override {
        filer->DefineProperty(
            "Sides",
            [this](TReader* r) {
                if (r->ReadValue() != vaSet) throw EReadError("not a set");
                while (true) {
                    String side = r->ReadStr();
                    if (side.empty()) break;
                    if (side != "left" && side != "top") {
                        r->SkipValue();
                        break;
                    }
                    Sides.push_back(side);
                }
            },
            nullptr, false);
        filer->DefineProperty(
            "Legacy",
            [this](TReader* r) {
                r->SkipValue();
                ++Skipped;
            },
            nullptr, false);
    }
};

TClass TSided::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TSided>("TSided").Prop("Width", &TSided::Width, &TSided::Width).Build();
    return &info;
}

TEST_F(StreamingTest, SetsReadElementByElementAndTheRestSkipped) {
    RegisterClass(TSided::StaticClass());
    struct Case {
        const char* sides;
        std::vector<String> read;
    };
    for (const Case& c : {Case{"[]", {}}, Case{"[left, top]", {"left", "top"}}, Case{"[top, bogus, left]", {"top"}},
                          Case{"[bogus, left, top]", {}}}) {
        TTestRoot root(nullptr);
        TReader(String("object R: TTestRoot\n object S: TSided\n  Sides = ") + c.sides + "\n  Width = 9\n end\nend")
            .ReadRootComponent(&root);
        auto* s = static_cast<TSided*>(root.FindComponent("S"));
        EXPECT_EQ(s->Sides, c.read) << c.sides;
        EXPECT_EQ(s->Width, 9) << c.sides;  // the next property reads normally
    }
}

TEST_F(StreamingTest, AnyValueCanBeSkipped) {
    RegisterClass(TSided::StaticClass());
    for (const char* value : {"12", "-3.5", "'text'#13'more'", "ident", "True", "nil", "[a, b]", "( 1 'x' ( 2 ) )",
                              "{ 00FF }", "< item A = 1 B = < item C = [x] end > end item end >", "'a' + 'b'"}) {
        TTestRoot root(nullptr);
        TReader(String("object R: TTestRoot\n object S: TSided\n  Legacy = ") + value + "\n  Width = 9\n end\nend")
            .ReadRootComponent(&root);
        auto* s = static_cast<TSided*>(root.FindComponent("S"));
        EXPECT_EQ(s->Skipped, 1) << value;
        EXPECT_EQ(s->Width, 9) << value;
    }
}

// ---- Entry lists that name each entry's class ----------------------------------

class TEntry : public TPersistent {
    QL_CLASS(TEntry, TPersistent)
public:
    String Text;
};

TClass TEntry::StaticClass() {
    static const TClassInfo info = TClassBuilder<TEntry>("TEntry").Prop("Text", &TEntry::Text, &TEntry::Text).Build();
    return &info;
}

class TBigEntry : public TEntry {
    QL_CLASS(TBigEntry, TEntry)
public:
    int Size = 0;
};

TClass TBigEntry::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TBigEntry>("TBigEntry").Prop("Size", &TBigEntry::Size, &TBigEntry::Size).Default(0).Build();
    return &info;
}

// Holds entries of several classes in a nested object, stored as
// "Extra.Entries = < item ClassName = 'TEntry' ... end >".
class TEntryHolder : public TPersistent {
    QL_CLASS(TEntryHolder, TPersistent)
public:
    ~TEntryHolder() override {
        for (TEntry* e : Entries) delete e;
    }
    std::vector<TEntry*> Entries;
    String PathSeen;
    void DefineProperties(TFiler* filer) override {
        filer->DefineProperty(
            "Entries",
            [this](TReader* r) {
                if (r->ReadValue() != vaCollection) throw EReadError("Expected collection");
                while (!r->EndOfList()) {
                    r->ReadListBegin();
                    if (!SameText(r->ReadStr(), "ClassName")) throw EReadError("Missing ClassName property");
                    auto* entry = dynamic_cast<TEntry*>(CreateObject(r->ReadString()));
                    if (!entry) throw EReadError("Invalid class type");
                    Entries.push_back(entry);
                    while (!r->EndOfList()) r->ReadProperty(entry);
                    r->ReadListEnd();
                }
                r->ReadListEnd();
            },
            [this](TWriter* w) {
                PathSeen = w->PropPath();
                String saved = w->PropPath();
                w->SetPropPath(String());
                w->WriteCollectionBegin();
                for (TEntry* e : Entries) {
                    w->WriteItemBegin();
                    w->WritePropName("ClassName");
                    w->WriteString(e->ClassName());
                    w->WriteProperties(e);
                    w->WriteItemEnd();
                }
                w->WriteCollectionEnd();
                w->SetPropPath(saved);
            },
            !Entries.empty());
    }
};

TClass TEntryHolder::StaticClass() {
    static const TClassInfo info = TClassBuilder<TEntryHolder>("TEntryHolder").Build();
    return &info;
}

class THolderComp : public TComponent {
    QL_CLASS(THolderComp, TComponent)
public:
    using TComponent::TComponent;
    TEntryHolder Extra;
    int After = 0;
    TEntryHolder* GetExtra() { return &Extra; }
};

TClass THolderComp::StaticClass() {
    static const TClassInfo info = TClassBuilder<THolderComp>("THolderComp")
                                       .Prop("Extra", &THolderComp::GetExtra, nullptr)
                                       .Prop("After", &THolderComp::After, &THolderComp::After)
                                       .Default(0)
                                       .Build();
    return &info;
}

TEST_F(StreamingTest, EntryListsNameTheClassOfEachEntry) {
    RegisterClasses({THolderComp::StaticClass(), TEntry::StaticClass(), TBigEntry::StaticClass()});
    TTestRoot root(nullptr);
    root.SetName("R");
    auto* h = new THolderComp(&root);
    h->SetName("H");
    h->After = 1;
    h->Extra.Entries.push_back(new TEntry);
    h->Extra.Entries.back()->Text = "one";
    auto* big = new TBigEntry;
    big->Text = "two";
    big->Size = 3;
    h->Extra.Entries.push_back(big);
    String text = TWriter().WriteRootComponent(&root);
    EXPECT_EQ(h->Extra.PathSeen, "Extra.");
    EXPECT_EQ(text, "object R: TTestRoot\r\n"
                    "  object H: THolderComp\r\n"
                    "    Extra.Entries = <\r\n"
                    "      item\r\n"
                    "        ClassName = 'TEntry'\r\n"
                    "        Text = 'one'\r\n"
                    "      end\r\n"
                    "      item\r\n"
                    "        ClassName = 'TBigEntry'\r\n"
                    "        Text = 'two'\r\n"
                    "        Size = 3\r\n"
                    "      end>\r\n"
                    "    After = 1\r\n"
                    "  end\r\n"
                    "end\r\n");

    TTestRoot again(nullptr);
    TReader(text).ReadRootComponent(&again);
    auto* h2 = static_cast<THolderComp*>(again.FindComponent("H"));
    ASSERT_EQ(h2->Extra.Entries.size(), 2u);
    EXPECT_EQ(h2->Extra.Entries[1]->ClassType(), TBigEntry::StaticClass());
    EXPECT_EQ(static_cast<TBigEntry*>(h2->Extra.Entries[1])->Size, 3);
    EXPECT_EQ(TWriter().WriteRootComponent(&again), text);

    // The first property of an entry must name its class.
    TTestRoot bad(nullptr);
    try {
        TReader("object R: TTestRoot\n object H: THolderComp\n  Extra.Entries = < item Text = 'x' end >\n end\nend")
            .ReadRootComponent(&bad);
        FAIL() << "no error";
    } catch (const EReadError& e) {
        EXPECT_NE(e.Message().find("Missing ClassName property"), String::npos) << e.Message();
    }
}

// An entry with a defined property of its own, read from inside the
// holder's defined property.
class TNotedEntry : public TEntry {
    QL_CLASS(TNotedEntry, TEntry)
public:
    String Note;
    void DefineProperties(TFiler* filer) override {
        filer->DefineProperty(
            "Note", [this](TReader* r) { Note = r->ReadString(); }, nullptr, false);
    }
};

TClass TNotedEntry::StaticClass() {
    static const TClassInfo info = TClassBuilder<TNotedEntry>("TNotedEntry").Build();
    return &info;
}

TEST_F(StreamingTest, DefinedPropertiesReadInsideADefinedProperty) {
    RegisterClasses({THolderComp::StaticClass(), TNotedEntry::StaticClass()});
    TTestRoot root(nullptr);
    TReader("object R: TTestRoot\n object H: THolderComp\n  Extra.Entries = < item ClassName = 'TNotedEntry'\n"
            "  Note = 'inner' Text = 'after the note' end >\n  After = 2\n end\nend")
        .ReadRootComponent(&root);
    auto* h = static_cast<THolderComp*>(root.FindComponent("H"));
    ASSERT_EQ(h->Extra.Entries.size(), 1u);
    EXPECT_EQ(static_cast<TNotedEntry*>(h->Extra.Entries[0])->Note, "inner");
    EXPECT_EQ(h->Extra.Entries[0]->Text, "after the note");
    EXPECT_EQ(h->After, 2);
    // An unknown name inside is still an error.
    TTestRoot bad(nullptr);
    EXPECT_THROW(TReader("object R: TTestRoot\n object H: THolderComp\n  Extra.Entries = < item ClassName = "
                         "'TNotedEntry'\n  Nope = 1 end >\n end\nend")
                     .ReadRootComponent(&bad),
                 EReadError);
}

// ---- Children in their container's own order -----------------------------------

class TBook;

// A page of a book: it joins the book it is read inside of in ReadState.
class TLeaf : public TComponent {
    QL_CLASS(TLeaf, TComponent)
public:
    using TComponent::TComponent;
    ~TLeaf() override;
    TBook* Book = nullptr;
    void SetBook(TBook* book);
    bool HasParent() const override { return true; }
    void ReadState(TReader* reader) override;
};

class TBook : public TComponent {
    QL_CLASS(TBook, TComponent)
public:
    using TComponent::TComponent;
    std::vector<TLeaf*> Leaves;
    std::vector<std::string> Orders;
    // Pages in page order, whatever the order of creation.
    void GetChildren(const TGetChildProc& proc, TComponent* root) override {
        for (TLeaf* leaf : Leaves)
            if (leaf->Owner() == root) proc(leaf);
    }
    void SetChildOrder(TComponent* child, int order) override {
        auto* leaf = dynamic_cast<TLeaf*>(child);
        Orders.push_back(child->Name() + " " + std::to_string(order));
        std::erase(Leaves, leaf);
        Leaves.insert(Leaves.begin() + std::min<size_t>(size_t(order), Leaves.size()), leaf);
    }
    std::vector<String> Names() const {
        std::vector<String> names;
        for (TLeaf* leaf : Leaves) names.push_back(leaf->Name());
        return names;
    }
};

TLeaf::~TLeaf() { SetBook(nullptr); }

void TLeaf::SetBook(TBook* book) {
    if (Book) std::erase(Book->Leaves, this);
    Book = book;
    if (Book) Book->Leaves.push_back(this);
}

void TLeaf::ReadState(TReader* reader) {
    if (auto* book = dynamic_cast<TBook*>(reader->Parent())) SetBook(book);
    TComponent::ReadState(reader);
}

TClass TLeaf::StaticClass() {
    static const TClassInfo info = TClassBuilder<TLeaf>("TLeaf").Build();
    return &info;
}

TClass TBook::StaticClass() {
    static const TClassInfo info = TClassBuilder<TBook>("TBook").Build();
    return &info;
}

TEST_F(StreamingTest, ContainerStoresChildrenInItsOwnOrderAndChildrenJoinInReadState) {
    RegisterClasses({TBook::StaticClass(), TLeaf::StaticClass()});
    TTestRoot root(nullptr);
    root.SetName("R");
    auto* book = new TBook(&root);
    book->SetName("Book");
    // Made in the order 11, 12, 13; the book's page order is 12, 13, 11.
    for (const char* name : {"Leaf11", "Leaf12", "Leaf13"}) {
        auto* leaf = new TLeaf(&root);
        leaf->SetName(name);
    }
    for (const char* name : {"Leaf12", "Leaf13", "Leaf11"})
        static_cast<TLeaf*>(root.FindComponent(name))->SetBook(book);
    String text = TWriter().WriteRootComponent(&root);
    EXPECT_EQ(text, "object R: TTestRoot\r\n  object Book: TBook\r\n    object Leaf12: TLeaf\r\n    end\r\n"
                    "    object Leaf13: TLeaf\r\n    end\r\n    object Leaf11: TLeaf\r\n    end\r\n  end\r\nend\r\n");

    TTestRoot again(nullptr);
    TReader(text).ReadRootComponent(&again);
    auto* book2 = static_cast<TBook*>(again.FindComponent("Book"));
    EXPECT_EQ(book2->Names(), (std::vector<String>{"Leaf12", "Leaf13", "Leaf11"}));
    EXPECT_TRUE(book2->Orders.empty());
    EXPECT_EQ(TWriter().WriteRootComponent(&again), text);
}

TEST_F(StreamingTest, StoredChildPositionGoesToSetChildOrder) {
    RegisterClasses({TBook::StaticClass(), TLeaf::StaticClass()});
    TTestRoot root(nullptr);
    TReader(R"(object R: TTestRoot
  object Book: TBook
    object A: TLeaf
    end
    object B: TLeaf
    end
    object C: TLeaf [0]
    end
  end
end)")
        .ReadRootComponent(&root);
    auto* book = static_cast<TBook*>(root.FindComponent("Book"));
    EXPECT_EQ(book->Orders, std::vector<std::string>{"C 0"});
    EXPECT_EQ(book->Names(), (std::vector<String>{"C", "A", "B"}));
}

}  // namespace

namespace {

// A component that brings a property up to date just before it is written.
class TStampedComponent : public TComponent {
    QL_CLASS(TStampedComponent, TComponent)
public:
    explicit TStampedComponent(TComponent* owner) : TComponent(owner) {}
    int FStamp = 0;
    void WriteState(TWriter* writer) override {
        ++FStamp;
        TComponent::WriteState(writer);
    }
};

TClass TStampedComponent::StaticClass() {
    static const TClassInfo info = TClassBuilder<TStampedComponent>("TStampedComponent")
                                       .Prop("Stamp", &TStampedComponent::FStamp, &TStampedComponent::FStamp)
                                       .Build();
    return &info;
}

}  // namespace

TEST_F(LayoutTest, AComponentMayUpdateItselfAsItIsWritten) {
    TTestRoot root(nullptr);
    root.SetName("Root1");
    auto* stamped = new TStampedComponent(&root);
    stamped->SetName("Stamped1");
    auto* inner = new TTestWidget(&root);
    inner->SetName("Widget1");
    const String text = TWriter().WriteRootComponent(&root);
    EXPECT_EQ(stamped->FStamp, 1);
    EXPECT_NE(text.find("  object Stamped1: TStampedComponent\r\n    Stamp = 1\r\n  end"), String::npos) << text;
    EXPECT_NE(text.find("  object Widget1: TTestWidget"), String::npos) << text;
}

namespace {

// A variant property written and read back: its text in the layout, and
// the type and value it comes back as.
TEST_F(LayoutTest, VariantsKeepTheirTypeThroughTheLayout) {
    struct Case {
        Variant value;
        const char* text;
        Variant readBack;
    };
    const Case cases[] = {
        {Variant(5), "5", Variant::Of(5, varShortInt)},
        {Variant(-40000), "-40000", Variant(-40000)},
        {Variant::Of(4000000000, varLongWord), "4000000000", Variant(Int64(4000000000))},
        {Variant(true), "True", Variant(true)},
        {Variant(2.0), "2.0", Variant(2.0)},
        {Variant(0.1), "0.1", Variant(0.1)},
        {Variant::Single(0.1f), "0.1s", Variant::Single(0.1f)},
        {Variant::Currency(-12.5), "-12.5c", Variant::Currency(-12.5)},
        {Variant::Currency(0.0001), "0.0001c", Variant::Currency(0.0001)},
        {Variant::DateTime(45000.25), "45000.25d", Variant::DateTime(45000.25)},
        {Variant("it's"), "'it''s'", Variant("it's")},
        {Variant(""), "''", Variant("")},
        {Variant::Null(), "Null", Variant::Null()},
    };
    for (const Case& c : cases) {
        TTestRoot root(nullptr);
        root.SetName("R");
        auto* w = new TTestWidget(&root);
        w->SetName("W");
        static_cast<TTestItem*>(w->FItems->Add())->FExtra = c.value;
        const String text = TWriter().WriteRootComponent(&root);
        EXPECT_NE(text.find(String("        Extra = ") + c.text + "\r\n"), String::npos) << text;
        TTestRoot again(nullptr);
        TReader(text).ReadRootComponent(&again);
        auto* read = static_cast<TTestWidget*>(again.FindComponent("W"));
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(static_cast<TTestItem*>(read->FItems->Items(0))->FExtra, c.readBack) << c.text;
    }
}

TEST_F(LayoutTest, AnEmptyVariantIsLeftOutAndNilReadsAsEmpty) {
    TTestRoot root(nullptr);
    root.SetName("R");
    auto* w = new TTestWidget(&root);
    w->SetName("W");
    w->FItems->Add();
    EXPECT_EQ(TWriter().WriteRootComponent(&root).find("Extra"), String::npos);
    TTestRoot read(nullptr);
    TReader("object R: TTestRoot\n object W: TTestWidget\n  Items = <\n   item\n    Extra = nil\n   end\n   item\n"
            "    Extra = null\n   end>\n end\nend\n")
        .ReadRootComponent(&read);
    auto* items = static_cast<TTestWidget*>(read.FindComponent("W"))->FItems;
    EXPECT_TRUE(static_cast<TTestItem*>(items->Items(0))->FExtra.IsEmpty());
    EXPECT_TRUE(static_cast<TTestItem*>(items->Items(1))->FExtra.IsNull());
}

TEST_F(LayoutTest, AVariantRefusesWhatIsNoValue) {
    for (const char* value : {"Widget2", "[shSquare]", "(1 2)", "{00}", "99999999999999999999c"}) {
        TTestRoot root(nullptr);
        const String text = String("object R: TTestRoot\n object W: TTestWidget\n  Items = <\n   item\n    Extra = ") +
                            value + "\n   end>\n end\nend\n";
        EXPECT_THROW(TReader(text).ReadRootComponent(&root), EReadError) << value;
    }
}

TEST_F(LayoutTest, FloatTypeLettersAreReadByFloatProperties) {
    TTestRoot root(nullptr);
    TReader("object R: TTestRoot\n object W: TTestWidget\n  Ratio = 1.25s\n end\nend\n").ReadRootComponent(&root);
    EXPECT_DOUBLE_EQ(static_cast<TTestWidget*>(root.FindComponent("W"))->FRatio, 1.25);
    // A letter that is the start of a word is no type letter.
    EXPECT_THROW(
        TReader("object R: TTestRoot\n object W: TTestWidget\n  Ratio = 1.25sx\n end\nend\n").ReadRootComponent(&root),
        Exception);
}

}  // namespace
