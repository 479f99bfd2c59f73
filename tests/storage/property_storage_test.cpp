// Stored properties and stored values through an INI store in memory: the
// lines and their binding, the keys and texts written, what is read back,
// and the properties that are skipped.
#include <gtest/gtest.h>

#include <algorithm>

#include "classlib/core/sysutils.h"
#include "storage/ini_file_storage.h"
#include "storage/property_storage.h"
#include "storage/support/hex.h"

namespace {

class TTestPage : public TComponent {
    QL_CLASS(TTestPage, TComponent)
public:
    using TComponent::TComponent;
};

class TTestThing : public TComponent {
    QL_CLASS(TTestThing, TComponent)
public:
    using TComponent::TComponent;
};

// A component with the kinds of properties the main form stores.
class TTestBox : public TComponent {
    QL_CLASS(TTestBox, TComponent)
public:
    using TComponent::TComponent;
    bool Checked = true;
    int ItemIndex = 0;
    String Caption = "box";
    TTestPage* ActivePage = nullptr;
    TNotifyEvent OnClick;
    bool GetChecked() const { return Checked; }
    void SetChecked(bool v) { Checked = v; }
    int GetItemIndex() const { return ItemIndex; }
    void SetItemIndex(int v) { ItemIndex = v; }
    void SetActivePage(TTestPage* page) { ActivePage = page; }
};

TClass TTestPage::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestPage>("TTestPage").Build();
    return &info;
}
TClass TTestThing::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestThing>("TTestThing").Build();
    return &info;
}
TClass TTestBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestBox>("TTestBox")
                                       .Prop("Checked", &TTestBox::GetChecked, &TTestBox::SetChecked)
                                       .Prop("ItemIndex", &TTestBox::GetItemIndex, &TTestBox::SetItemIndex)
                                       .Prop("Caption", &TTestBox::Caption, &TTestBox::Caption)
                                       .Prop("ActivePage", &TTestBox::ActivePage, &TTestBox::SetActivePage)
                                       .Prop("OnClick", &TTestBox::OnClick, &TTestBox::OnClick)
                                       .Build();
    return &info;
}

String Normalized(String text) {
    String out;
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

class PropertyStorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TComponent(nullptr);
        form->SetName("frmMain");
        box1 = new TTestBox(form);
        box1->SetName("Box1");
        box2 = new TTestBox(form);
        box2->SetName("Box2");
        page1 = new TTestPage(form);
        page1->SetName("Page1");
        page2 = new TTestPage(form);
        page2->SetName("Page2");
        thing = new TTestThing(form);
        thing->SetName("Thing");
        store = new TZvAppIniFileStorage(nullptr);
        store->Reload();  // no file: an empty store, read once as a streamed one is
        storage.AppStorage = store;
        storage.AppStoragePath = "frmMain\\";
    }
    void TearDown() override {
        delete store;
        delete form;
    }
    void Lines(std::initializer_list<const char*> texts) {
        lines.Clear();
        for (const char* t : texts) lines.Add(t);
        RebindStoredLines(form, &lines, true);
    }

    TComponent* form = nullptr;
    TTestBox* box1 = nullptr;
    TTestBox* box2 = nullptr;
    TTestPage* page1 = nullptr;
    TTestPage* page2 = nullptr;
    TTestThing* thing = nullptr;
    TZvAppIniFileStorage* store = nullptr;
    TZvPropertyStorage storage;
    TZvFormStorageStringList lines;
};

TEST(StoredLines, SplitAtTheFirstPoint) {
    struct Case {
        const char* line;
        bool ok;
        const char* component;
        const char* prop;
    } cases[] = {
        {"Box1.Checked", true, "Box1", "Checked"},
        {" Box1 . Checked ", true, "Box1", "Checked"},
        {"Box1.Font.Name", true, "Box1", "Font.Name"},
        {"Box1", false, "", ""},
        {".Checked", false, "", ""},
        {"Box1.", false, "", ""},
        {" . ", false, "", ""},
        {"", false, "", ""},
    };
    for (const Case& c : cases) {
        String component, prop;
        EXPECT_EQ(SplitStoredLine(c.line, component, prop), c.ok) << c.line;
        if (c.ok) {
            EXPECT_EQ(component, c.component);
            EXPECT_EQ(prop, c.prop);
        }
    }
    EXPECT_EQ(StoredPropKey("LumOfficeCheckBox1", "Checked"), "LumOfficeCheckBox1_Checked");
}

TEST_F(PropertyStorageTest, BindingFromTheFormDropsWhatItDoesNotName) {
    Lines({"Box1.Checked", "Nobody.Checked", "garbage", "box2.ItemIndex"});
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines[0], "Box1.Checked");
    EXPECT_EQ(lines.Objects(0), box1);
    EXPECT_EQ(lines[1], "box2.ItemIndex");  // names are found ignoring case
    EXPECT_EQ(lines.Objects(1), box2);
}

TEST_F(PropertyStorageTest, RefreshingTakesTheComponentsNamesAndDropsLostOnes) {
    Lines({"Box1.Checked", "Box2.ItemIndex"});
    box1->SetName("Renamed");
    lines.SetObjects(1, nullptr);
    RebindStoredLines(form, &lines, false);
    ASSERT_EQ(lines.Count(), 1);
    EXPECT_EQ(lines[0], "Renamed.Checked");
    // A component leaving the form takes its lines along.
    Lines({"Renamed.Checked", "Box2.Checked", "Box2.ItemIndex"});
    RemoveStoredLines(&lines, box2);
    ASSERT_EQ(lines.Count(), 1);
    EXPECT_EQ(lines.Objects(0), box1);
}

TEST_F(PropertyStorageTest, SaveWritesOneKeyPerLineInOrder) {
    box1->Checked = false;
    box1->ItemIndex = 4;
    box2->ActivePage = page2;
    Lines({"Box1.Checked", "Box2.Checked", "Box1.ItemIndex", "Box2.ActivePage", "Box1.ActivePage", "Box1.Caption",
           "Box1.OnClick", "Box1.NoSuchProperty"});
    storage.SaveComponentProperties(form, &lines);
    // A property that holds no component is left to the store's own
    // rules: an empty reference is an empty text.
    EXPECT_EQ(Normalized(store->AsString()), "[frmMain]\n"
                                             "Box1_Checked=FALSE\n"
                                             "Box2_Checked=TRUE\n"
                                             "Box1_ItemIndex=4\n"
                                             "Box2_ActivePage=Page2\n"
                                             "Box1_ActivePage=\n"
                                             "Box1_Caption=box\n"
                                             "\n");
}

TEST_F(PropertyStorageTest, LoadReadsBackWhatExistsAndKeepsTheRest) {
    store->SetAsString("[frmMain]\n"
                       "Box1_Checked=FALSE\n"
                       "Box1_ItemIndex=3\n"
                       "Box2_ActivePage=Page2\n"
                       "Box1_Caption=restored\n");
    Lines({"Box1.Checked", "Box1.ItemIndex", "Box2.Checked", "Box2.ItemIndex", "Box2.ActivePage", "Box1.Caption"});
    box2->ItemIndex = 7;
    storage.LoadComponentProperties(form, &lines);
    EXPECT_FALSE(box1->Checked);
    EXPECT_EQ(box1->ItemIndex, 3);
    EXPECT_TRUE(box2->Checked);  // no value: the layout's value stays
    EXPECT_EQ(box2->ItemIndex, 7);
    EXPECT_EQ(box2->ActivePage, page2);
    EXPECT_EQ(box1->Caption, "restored");
}

TEST_F(PropertyStorageTest, AValueThatCannotBeReadSkipsOnlyThatProperty) {
    store->SetAsString("[frmMain]\n"
                       "Box1_ItemIndex=abc\n"
                       "Box1_Checked=maybe\n"
                       "Box2_ItemIndex=2\n"
                       "Box2_Checked=N\n");
    box1->Checked = true;
    Lines({"Box1.ItemIndex", "Box1.Checked", "Box2.ItemIndex", "Box2.Checked"});
    storage.LoadComponentProperties(form, &lines);
    EXPECT_EQ(box1->ItemIndex, 0);
    EXPECT_TRUE(box1->Checked);
    EXPECT_EQ(box2->ItemIndex, 2);
    EXPECT_FALSE(box2->Checked);
}

TEST_F(PropertyStorageTest, AComponentNameIsAssignedOnlyToAPropertyOfItsClass) {
    struct Case {
        const char* stored;
        TTestPage* expected;  // box1's page afterwards (it starts at page1)
    } cases[] = {{"Page2", nullptr}, {"Thing", nullptr}, {"NoSuchPage", nullptr}, {"page2", nullptr}, {"", nullptr}};
    cases[0].expected = page2;
    for (Case& c : cases)
        if (!c.expected) c.expected = page1;
    for (const Case& c : cases) {
        box1->ActivePage = page1;
        store->SetAsString(String("[frmMain]\nBox1_ActivePage=") + c.stored + "\n");
        Lines({"Box1.ActivePage", "Box1.ItemIndex"});
        store->WriteInteger("frmMain\\Box1_ItemIndex", 5);
        storage.LoadComponentProperties(form, &lines);
        EXPECT_EQ(box1->ActivePage, c.expected) << c.stored;
        EXPECT_EQ(box1->ItemIndex, 5) << c.stored;  // the next line is still read
    }
}

TEST_F(PropertyStorageTest, ComponentNamesAreLookedUpOutwardsThroughTheOwners) {
    auto* frame = new TComponent(form);
    frame->SetName("Frame1");
    auto* inner = new TTestBox(frame);
    inner->SetName("Inner");
    store->SetAsString("[frmMain]\nInner_ActivePage=Page2\n");
    lines.Clear();
    lines.Add("Inner.ActivePage");
    RebindStoredLines(frame, &lines, true);
    storage.LoadComponentProperties(frame, &lines);
    EXPECT_EQ(inner->ActivePage, page2);  // found on the frame's owner
}

class TKeyRenamer : public TObject {
public:
    void Translate(TObject*, TPersistent*, bool reading, String& name) { name = (reading ? "r_" : "w_") + name; }
};

TEST_F(PropertyStorageTest, TheStoreMayRenameKeys) {
    TKeyRenamer renamer;
    store->OnTranslatePropertyName = TZvAppStoragePropTranslateEvent::Bind<&TKeyRenamer::Translate>(&renamer);
    box1->ItemIndex = 9;
    Lines({"Box1.ItemIndex"});
    storage.SaveComponentProperties(form, &lines);
    EXPECT_TRUE(store->ValueStored("frmMain\\w_Box1_ItemIndex"));
    store->WriteInteger("frmMain\\r_Box1_ItemIndex", 6);
    storage.LoadComponentProperties(form, &lines);
    EXPECT_EQ(box1->ItemIndex, 6);
}

TEST_F(PropertyStorageTest, WithoutAStoreNothingHappens) {
    storage.AppStorage = nullptr;
    Lines({"Box1.ItemIndex"});
    storage.SaveComponentProperties(form, &lines);
    storage.LoadComponentProperties(form, &lines);
    EXPECT_EQ(Normalized(store->AsString()), "");
}

// ---- Stored values ----

class StoredValuesTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = new TZvAppIniFileStorage(nullptr);
        store->Reload();
    }
    void TearDown() override { delete store; }
    TZvAppIniFileStorage* store = nullptr;
    TZvStoredValues values{nullptr};
};

TEST_F(StoredValuesTest, EachKindRoundTripsInCollectionOrder) {
    auto add = [&](const char* name, const Variant& v) {
        TZvStoredValue* item = values.Add();
        item->SetName(name);
        item->SetValue(v);
        return item;
    };
    add("Count", 42);
    add("Small", Variant::Of(200, varByte));
    add("Ratio", 0.25);
    add("Price", Variant::Currency(9.99));
    add("Third", Variant::Single(1.0f / 3));
    add("When", Variant::DateTime(45000.5));
    add("Flag", true);
    add("Text", "hello");
    add("Secret", "pw")->SetKeyString("k");
    add("Lucky", Variant::Of(7, varInt64))->SetKeyString("k");
    values.SaveValues(store, "frmMain\\Values");
    EXPECT_EQ(store->ReadString("frmMain\\Values\\Count"), "42");
    EXPECT_EQ(store->ReadString("frmMain\\Values\\Flag"), "TRUE");
    EXPECT_EQ(store->ReadString("frmMain\\Values\\Secret"), XorToHex("k", "pw"));
    EXPECT_EQ(store->ReadString("frmMain\\Values\\Lucky"), XorToHex("k", "7"));
    EXPECT_DOUBLE_EQ(store->ReadFloat("frmMain\\Values\\Price"), 9.99);

    // Read back into values of the same types holding something else: each
    // comes back with its type.
    TZvStoredValues again{nullptr};
    const std::pair<const char*, Variant> current[] = {
        {"Count", 0},
        {"Small", Variant::Of(0, varByte)},
        {"Ratio", 0.0},
        {"Price", Variant::Currency(0)},
        {"Third", Variant::Single(0)},
        {"When", Variant::DateTime(0)},
        {"Flag", false},
        {"Text", ""},
        {"Secret", ""},
        {"Lucky", 0},
    };
    for (const auto& [name, value] : current) {
        TZvStoredValue* item = again.Add();
        item->SetName(name);
        item->SetValue(value);
    }
    again.FindByName("Secret")->SetKeyString("k");
    again.FindByName("Lucky")->SetKeyString("k");
    again.RestoreValues(store, "frmMain\\Values");
    for (int i = 0; i < values.Count(); ++i) {
        const Variant& saved = values.Items(i)->Value();
        const Variant& read = again.FindByName(values.Items(i)->Name())->Value();
        if (values.Items(i)->Name() == "Lucky")
            EXPECT_EQ(read, Variant("7"));  // a keyed value comes back as its text
        else if (saved.VarType() == varDate)
            EXPECT_NEAR(read.AsDouble(), saved.AsDouble(), 1.0 / 86400) << values.Items(i)->Name();
        else
            EXPECT_EQ(read, saved) << values.Items(i)->Name();
    }
}

TEST_F(StoredValuesTest, IntegersWiderThan32BitsAreStoredWhole) {
    struct Case {
        Variant value;
        bool isInteger;
    };
    const Case kinds[] = {
        {Variant::Of(-128, varShortInt), true},
        {Variant::Of(255, varByte), true},
        {Variant::Of(-1, varSmallint), true},
        {Variant::Of(65535, varWord), true},
        {Variant(-2147483647 - 1), true},
        {Variant::Of(4294967295, varLongWord), true},
        {Variant(Int64(7)), false},
        {Variant(1.0), false},
        {Variant::Currency(1), false},
        {Variant("1"), false},
        {Variant(true), false},
        {Variant(), false},
    };
    for (const Case& c : kinds) EXPECT_EQ(VariantIsInteger(c.value), c.isInteger) << VarTypeName(c.value.VarType());

    const Variant cases[] = {Variant(Int64(5000000000)), Variant(Int64(-5000000000)),
                             Variant::Of(4294967295, varLongWord), Variant(Int64(2147483648)), Variant(-7)};
    for (const Variant& v : cases) {
        TZvStoredValues saved{nullptr};
        TZvStoredValue* item = saved.Add();
        item->SetName("Big");
        item->SetValue(v);
        saved.SaveValues(store, "v");
        EXPECT_EQ(store->ReadString("v\\Big"), VarToStr(v));
        // Read back into a value that holds a small integer: the number
        // comes back whole, as an Integer where one holds it.
        TZvStoredValues read{nullptr};
        TZvStoredValue* back = read.Add();
        back->SetName("Big");
        back->SetValue(1);
        read.RestoreValues(store, "v");
        EXPECT_EQ(back->Value().AsInt64(), v.AsInt64());
        EXPECT_EQ(back->Value().VarType(), VarTypeHolds(varInteger, v.AsInt64()) ? varInteger : varInt64);
    }
}

TEST(StoredValue, PublishesItsValueAndEvents) {
    std::vector<String> names;
    for (const TPropInfo* p : GetPropList(TZvStoredValue::StaticClass())) names.push_back(p->Name);
    for (const char* name : {"Name", "Value", "KeyString", "OnSave", "OnRestore"})
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    const TPropInfo* onSave = GetPropInfo(TZvStoredValue::StaticClass(), "OnSave");
    ASSERT_NE(onSave, nullptr);
    EXPECT_EQ(onSave->PropType()->Kind, tkMethod);
    EXPECT_EQ(*onSave->PropType()->MethodSignature, TZvStoredValueEvent::Signature());
    EXPECT_EQ(GetPropInfo(TZvStoredValue::StaticClass(), "Value")->PropType()->Kind, tkVariant);
}

TEST_F(StoredValuesTest, EventsSeeAndMayChangeTheValue) {
    TZvStoredValue* item = values.Add();
    item->SetName("Zoom");
    item->SetValue(3);
    struct Handlers : TObject {
        void Save(TZvStoredValue*, Variant& v) { v = v.AsInteger() * 10; }
        void Restore(TZvStoredValue*, Variant& v) { v = v.AsInteger() + 1; }
    } handlers;
    item->OnSave = TZvStoredValueEvent::Bind<&Handlers::Save>(&handlers);
    item->OnRestore = TZvStoredValueEvent::Bind<&Handlers::Restore>(&handlers);
    values.SaveValues(store, "v");
    EXPECT_EQ(store->ReadString("v\\Zoom"), "30");
    EXPECT_EQ(item->Value(), Variant(3));  // saving leaves the value as it is
    values.RestoreValues(store, "v");
    EXPECT_EQ(item->Value(), Variant(31));
}

TEST_F(StoredValuesTest, AValueWithoutANameIsLeftOutQuietly) {
    TZvStoredValue* unnamed = values.Add();
    unnamed->SetValue(5);
    TZvStoredValue* named = values.Add();
    named->SetName("Zoom");
    named->SetValue(3);
    // The form's folder alone: a value without a name would be a key
    // outside every section.
    for (const char* folder : {"frmMain\\", "frmMain"}) {
        EXPECT_NO_THROW(values.SaveValues(store, folder)) << folder;
        EXPECT_NO_THROW(values.RestoreValues(store, folder)) << folder;
        EXPECT_EQ(unnamed->Value(), Variant(5)) << folder;
    }
    EXPECT_EQ(store->ReadString("frmMain\\Zoom"), "3");
}

TEST_F(StoredValuesTest, MissingValuesKeepTheCurrentOne) {
    TZvStoredValue* item = values.Add();
    item->SetName("Count");
    item->SetValue(7);
    TZvStoredValue* none = values.Add();
    none->SetName("Nothing");
    values.RestoreValues(store, "v");
    EXPECT_EQ(item->Value(), Variant(7));
    EXPECT_TRUE(none->Value().IsEmpty());
}

TEST_F(StoredValuesTest, NamesAreUniqueIgnoringCase) {
    values.Add()->SetName("Width");
    TZvStoredValue* second = values.Add();
    try {
        second->SetName("WIDTH");
        FAIL() << "a duplicate name was accepted";
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), "String list does not allow duplicates");
    }
    EXPECT_EQ(second->Name(), "");
    values.Items(0)->SetName("width");  // renaming itself is fine
    EXPECT_EQ(values.Items(0)->Name(), "width");
}

}  // namespace
