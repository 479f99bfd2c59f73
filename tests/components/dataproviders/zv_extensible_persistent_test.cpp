// The object model: counts through construction and aggregation, extension
// queries, adding and removing extensions, the clear errors of freeing a
// referenced object or releasing one too often, and the "Extensions"
// entry list of the stored form.
#include "components/dataproviders/zv_extensible_persistent.h"

#include <gtest/gtest.h>

#include "data_provider_fixture.h"

using namespace dp_test;

namespace {

class IProbeA : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{0EDA84EA-C1C8-41EF-B138-205E4AB0C944}");
    virtual String Which() = 0;
};
class IProbeB : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{EA2476D5-8C30-46F6-8E43-F1ECD8BF2AF2}");
};

std::vector<String>& Events() {
    static std::vector<String> events;
    return events;
}

// An object whose default extension takes and drops a reference to it
// while it is being made.
class TProbeObject : public TExtensibleInterfacedPersistent {
    QL_CLASS(TProbeObject, TExtensibleInterfacedPersistent)
public:
    ~TProbeObject() override { Events().push_back("object freed"); }
    int CountDuringConstruction = -1;

protected:
    void InitImplementers() override;
};

// An item's extension (the stored form makes only those on an item).
class TProbeExtension : public TZvDataItemAggregatedObject, public IProbeA {
    QL_CLASS(TProbeExtension, TZvDataItemAggregatedObject)
public:
    using TZvDataItemAggregatedObject::TZvDataItemAggregatedObject;
    ~TProbeExtension() override { Events().push_back(String("freed ") + ClassName()); }
    String Which() override { return ClassName() + String(" ") + Tag; }
    String Tag;
};

class TLaterExtension : public TProbeExtension {
    QL_CLASS(TLaterExtension, TProbeExtension)
public:
    using TProbeExtension::TProbeExtension;
};

class TOtherExtension : public TAggregatedPersistentEx, public IProbeA, public IProbeB {
    QL_CLASS(TOtherExtension, TAggregatedPersistentEx)
public:
    using TAggregatedPersistentEx::TAggregatedPersistentEx;
    ~TOtherExtension() override { Events().push_back("freed TOtherExtension"); }
    String Which() override { return "other"; }
    bool Hidden = false;
    bool IsHidden() const override { return Hidden; }
};

// Not registered for streaming.
class TUnregisteredExtension : public TAggregatedPersistentEx {
    QL_CLASS(TUnregisteredExtension, TAggregatedPersistentEx)
public:
    using TAggregatedPersistentEx::TAggregatedPersistentEx;
};

TClass TProbeObject::StaticClass() {
    static const TClassInfo info = TClassBuilder<TProbeObject>("TProbeObject").Build();
    return &info;
}
TClass TProbeExtension::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TProbeExtension>("TProbeExtension")
            .Implements<IProbeA>()
            .QL_EXTENSION_CONSTRUCTOR.Prop("Tag", &TProbeExtension::Tag, &TProbeExtension::Tag)
            .Build();
    return &info;
}
TClass TLaterExtension::StaticClass() {
    static const TClassInfo info = TClassBuilder<TLaterExtension>("TLaterExtension").QL_EXTENSION_CONSTRUCTOR.Build();
    return &info;
}
TClass TOtherExtension::StaticClass() {
    static const TClassInfo info = TClassBuilder<TOtherExtension>("TOtherExtension")
                                       .Implements<IProbeA, IProbeB>()
                                       .QL_EXTENSION_CONSTRUCTOR.Build();
    return &info;
}
TClass TUnregisteredExtension::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TUnregisteredExtension>("TUnregisteredExtension").QL_EXTENSION_CONSTRUCTOR.Build();
    return &info;
}

void TProbeObject::InitImplementers() {
    auto* extension = NewObject<TProbeExtension>(this);
    TIntfPtr<IProbeA> held(extension);  // counts the object through the extension
    CountDuringConstruction = RefCount();
}

class ExtensibleObject : public testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        RegisterClasses({TProbeExtension::StaticClass(), TOtherExtension::StaticClass()});
        Events().clear();
    }
};

TEST_F(ExtensibleObject, CountIsOneWhileMadeZeroOnceMadeAndTheLastReleaseFrees) {
    TProbeObject* object = NewObject<TProbeObject>();
    EXPECT_EQ(object->CountDuringConstruction, 2);
    EXPECT_EQ(object->RefCount(), 0);
    {
        TIntfPtr<IInterface> whole(static_cast<IInterface*>(object));
        // A reference through an extension counts the whole object.
        TIntfPtr<IProbeA> part = IntfCast<IProbeA>(whole);
        ASSERT_TRUE(part);
        EXPECT_EQ(object->RefCount(), 2);
        part.Reset();
        EXPECT_EQ(object->RefCount(), 1);
    }
    EXPECT_EQ(Events(), (std::vector<String>{"freed TProbeExtension", "object freed"}));
}

TEST_F(ExtensibleObject, QueriesAskTheExtensionsFromTheLastAndSkipHiddenOnes) {
    TIntfPtr<IInterface> keep(static_cast<IInterface*>(NewObject<TProbeObject>()));
    auto* object = dynamic_cast<TProbeObject*>(keep.Get());
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(Supports<IProbeA>(keep.Get())->Which(), "TProbeExtension ");
    EXPECT_EQ(Supports<IProbeB>(keep.Get()), nullptr);
    auto* other = NewObject<TOtherExtension>(object);
    EXPECT_EQ(Supports<IProbeA>(keep.Get())->Which(), "other");
    ASSERT_NE(Supports<IProbeB>(keep.Get()), nullptr);
    other->Hidden = true;
    EXPECT_EQ(Supports<IProbeA>(keep.Get())->Which(), "TProbeExtension ");
    EXPECT_EQ(Supports<IProbeB>(keep.Get()), nullptr);
    // An extension's own lookup finds only its own class's interfaces;
    // its query is the whole object's.
    void* p = nullptr;
    EXPECT_FALSE(object->Extension(0)->GetInterface(IProbeB::IID, &p));
    other->Hidden = false;
    EXPECT_TRUE(static_cast<IInterface*>(static_cast<TProbeExtension*>(object->Extension(0)))
                    ->QueryInterface(IProbeB::IID, &p));
}

TEST_F(ExtensibleObject, AClassOrADescendantOfOneAlreadyThereIsRefused) {
    TIntfPtr<IInterface> keep(static_cast<IInterface*>(NewObject<TProbeObject>()));
    auto* object = dynamic_cast<TExtensibleInterfacedPersistent*>(keep.Get());
    try {
        NewObject<TLaterExtension>(object);
        FAIL() << "a descendant of an extension's class was added";
    } catch (const EZVLException& e) {
        EXPECT_EQ(e.Message(), "Implementation of that class already exists");
    }
    EXPECT_THROW(NewObject<TProbeExtension>(object), EZVLException);
    EXPECT_EQ(object->ExtensionCount(), 1);
    Events().clear();  // the refused ones were freed
    // Removing frees; clearing frees the last first.
    NewObject<TOtherExtension>(object);
    NewObject<TUnregisteredExtension>(object);
    object->RemoveExtension(object->FindExtension<TOtherExtension>());
    EXPECT_EQ(Events(), std::vector<String>{"freed TOtherExtension"});
    EXPECT_EQ(object->ExtensionCount(), 2);
    Events().clear();
    object->ClearExtensions();
    EXPECT_EQ(object->ExtensionCount(), 0);
    EXPECT_EQ(Events(), std::vector<String>{"freed TProbeExtension"});
}

TEST_F(ExtensibleObject, FreeingAReferencedObjectOrReleasingTooOftenIsAClearErrorAndFreesNothing) {
    TProbeObject* object = NewObject<TProbeObject>();
    {
        TIntfPtr<IInterface> held(static_cast<IInterface*>(object));
        try {
            object->Free();
            FAIL() << "freed while referenced";
        } catch (const EInvalidPointer& e) {
            EXPECT_NE(e.Message().find("TProbeObject"), String::npos) << e.Message();
        }
        EXPECT_TRUE(Events().empty());
        EXPECT_EQ(object->ExtensionCount(), 1);  // nothing of it went
    }
    EXPECT_EQ(Events().size(), 2u);  // freed once, by the last release

    Events().clear();
    object = NewObject<TProbeObject>();
    EXPECT_THROW(static_cast<IInterface*>(object)->_Release(), EInvalidPointer);
    EXPECT_EQ(object->RefCount(), 0);
    EXPECT_TRUE(Events().empty());
    object->Free();
    EXPECT_EQ(Events().size(), 2u);
}

// ---- The stored form of the extensions -------------------------------------

TTestDataProvider* ReadProvider(TComponent* root, const String& itemLines) {
    TReader("object Root: TComponent\r\n"
            "  object Provider1: TTestDataProvider\r\n"
            "    Root.Items = <\r\n" +
            itemLines +
            ">\r\n"
            "  end\r\n"
            "end\r\n")
        .ReadRootComponent(root);
    return dynamic_cast<TTestDataProvider*>(root->FindComponent("Provider1"));
}

String ReadError(const String& itemLines) {
    auto root = std::make_unique<TComponent>(nullptr);
    try {
        ReadProvider(root.get(), itemLines);
    } catch (const EReadError& e) {
        return e.Message();
    } catch (const EClassNotFound& e) {
        return e.Message();
    }
    return "no error";
}

TEST_F(ExtensibleObject, ExtensionsOfUnregisteredClassesWriteNothing) {
    TTestDataProvider provider(nullptr);
    TZvBaseDataItem* item = provider.AddItem(provider.Root(), "a");
    item->RemoveExtension(item->FindExtension<TZvDataItemTextImpl>());
    NewObject<TUnregisteredExtension>(item);
    TWriter writer;
    writer.WriteProperties(item);
    EXPECT_EQ(writer.Text().find("Extensions"), String::npos) << writer.Text();
    NewObject<TProbeExtension>(item)->Tag = "x";
    TWriter again;
    again.WriteProperties(item);
    EXPECT_NE(again.Text().find("Extensions = <"), String::npos) << again.Text();
    EXPECT_NE(again.Text().find("ClassName = 'TProbeExtension'"), String::npos) << again.Text();
    EXPECT_EQ(again.Text().find("TUnregisteredExtension"), String::npos) << again.Text();
}

TEST_F(ExtensibleObject, EntryListsChecksTheirForm) {
    EXPECT_EQ(ReadError("      item\r\n"
                        "        classname = 'TZvBaseDataItem'\r\n"
                        "        Extensions = <\r\n"
                        "          item\r\n"
                        "            CLASSNAME = 'TProbeExtension'\r\n"
                        "            Tag = 'read'\r\n"
                        "          end>\r\n"
                        "      end"),
              "no error");
    struct Case {
        const char* Lines;
        const char* Error;
    } cases[] = {
        {"      item\r\n        Text = 'a'\r\n      end", "Missing ClassName property"},
        {"      item\r\n      end", "Missing ClassName property"},
        {"      item\r\n        ClassName = 'TZvBaseDataItem'\r\n        Extensions = <\r\n          item\r\n"
         "            ClassName = 'TZvBaseDataItem'\r\n          end>\r\n      end",
         "Invalid class type"},
        {"      item\r\n        ClassName = 'TZvDataItemTextImpl'\r\n      end", "Invalid class type"},
        {"      item\r\n        ClassName = 'TZvBaseDataItem'\r\n        Extensions = 3\r\n      end",
         "Expected collection"},
        {"      item\r\n        ClassName = 'TNoSuchClass'\r\n      end", "TNoSuchClass not found"},
    };
    for (const Case& c : cases) EXPECT_NE(ReadError(c.Lines).find(c.Error), String::npos) << c.Lines;
}

TEST_F(ExtensibleObject, ReadExtensionsAreTheItemsOwnAndAnExistingOneIsReused) {
    auto root = std::make_unique<TComponent>(nullptr);
    TTestDataProvider* provider = ReadProvider(root.get(), "      item\r\n"
                                                           "        ClassName = 'TZvBaseDataItem'\r\n"
                                                           "        ID = 'A'\r\n"
                                                           "        Extensions = <\r\n"
                                                           "          item\r\n"
                                                           "            ClassName = 'TProbeExtension'\r\n"
                                                           "            Tag = 'first'\r\n"
                                                           "          end\r\n"
                                                           "          item\r\n"
                                                           "            ClassName = 'TProbeExtension'\r\n"
                                                           "            Tag = 'second'\r\n"
                                                           "          end>\r\n"
                                                           "      end");
    ASSERT_NE(provider, nullptr);
    ASSERT_EQ(provider->Root()->GetCount(), 1);
    TZvBaseDataItem* item = provider->Root()->ItemObject(0);
    EXPECT_EQ(item->ExtensionCount(), 1);
    EXPECT_EQ(Supports<IProbeA>(static_cast<IInterface*>(static_cast<IZvDataItem*>(item)))->Which(),
              "TProbeExtension second");
}

}  // namespace

namespace {

// Every registered extension class read into every kind of owner: only an
// owner of its own kind takes it.
TEST_F(ExtensibleObject, EachExtensionClassIsReadOnlyIntoItsOwnKindOfOwner) {
    enum Owner { Item, List, Consumer };
    const char* ownerNames[] = {"item", "list", "consumer"};
    struct Case {
        const char* Class;
        int Kind;  // -1: no extension at all
    } cases[] = {{"TZvDataItemTextImpl", Item},
                 {"TZvDataItemContextTextImpl", Item},
                 {"TZvDataItemBlockableTextImpl", Item},
                 {"TZvBaseDataItemsListManagement", List},
                 {"TZvDataConsumerItemSelect", Consumer},
                 {"TZvBaseDataItem", -1},
                 {"TZvDataItemsList", -1},
                 {"TZvDataContext", -1}};
    for (const Case& c : cases)
        for (Owner owner : {Item, List, Consumer}) {
            SCOPED_TRACE(String(c.Class) + " on a " + ownerNames[owner]);
            String entry = String("<\r\n      item\r\n        ClassName = '") + c.Class + "'\r\n      end>\r\n";
            String body;
            if (owner == Item)
                body = "  object Provider1: TTestDataProvider\r\n    Root.Items = <\r\n      item\r\n"
                       "        ClassName = 'TZvBaseDataItem'\r\n        Extensions = " +
                       entry + "      end>\r\n  end\r\n";
            else if (owner == List)
                body = "  object Provider1: TTestDataProvider\r\n    Root.Extensions = " + entry + "  end\r\n";
            else
                body = "  object Consumer1: TTestConsumerComponent\r\n    Consumer.Extensions = " + entry + "  end\r\n";
            auto root = std::make_unique<TComponent>(nullptr);
            String error = "no error";
            try {
                TReader("object Root: TComponent\r\n" + body + "end\r\n").ReadRootComponent(root.get());
            } catch (const EReadError& e) {
                error = e.Message();
            }
            if (c.Kind == owner)
                EXPECT_EQ(error, "no error");
            else
                EXPECT_NE(error.find("Invalid class type"), String::npos) << error;
        }
}

// A list's management made on an item has no list to work on: it raises.
TEST_F(ExtensibleObject, ListManagementWithoutAListRaises) {
    TTestDataProvider provider(nullptr);
    TZvBaseDataItem* item = provider.AddItem(provider.Root(), "a");
    auto* management = NewObject<TZvBaseDataItemsListManagement>(item);
    EXPECT_THROW(management->Delete(0), EZVLDataItems);
    EXPECT_THROW(management->Clear(), EZVLDataItems);
    EXPECT_THROW(management->Add(item), EZVLDataItems);
    TIntfPtr<IZvDataItem> held(static_cast<IZvDataItem*>(item));
    EXPECT_THROW(management->Remove(held), EZVLDataItems);
}

}  // namespace
