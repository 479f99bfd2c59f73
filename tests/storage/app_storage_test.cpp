// The settings store's rules, over the INI store kept in memory.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "classlib/core/inifiles.h"
#include "classlib/core/strings.h"
#include "classlib/core/sysutils.h"
#include "storage/ini_file_storage.h"
#include "storage/support/base64.h"
#include "storage/support/errors.h"
#include "storage/text_macros.h"

namespace {

enum TStoreColor { scRed, scGreen, scBlue };
QL_DECLARE_ENUM(TStoreColor);
QL_DEFINE_ENUM(TStoreColor, "scRed", "scGreen", "scBlue")

// An integer type with names of its own, as colours have.
struct TShade {
    int Value;
};
const TTypeInfo* ShadeType() {
    static const TTypeInfo info = MakeOrdinalTypeInfo(tkInteger, "TShade", INT_MIN, INT_MAX);
    return &info;
}

class TStoreItem : public TCollectionItem {
    QL_CLASS(TStoreItem, TCollectionItem)
public:
    using TCollectionItem::TCollectionItem;
    int FValue = 0;
    String FCaption;
};

TClass TStoreItem::StaticClass() {
    static const TClassInfo info = TClassBuilder<TStoreItem>("TStoreItem")
                                       .Prop("Value", &TStoreItem::FValue, &TStoreItem::FValue)
                                       .Prop("Caption", &TStoreItem::FCaption, &TStoreItem::FCaption)
                                       .Build();
    return &info;
}

class TStoreNested : public TPersistent {
    QL_CLASS(TStoreNested, TPersistent)
public:
    int FDepth = 0;
};

TClass TStoreNested::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TStoreNested>("TStoreNested").Prop("Depth", &TStoreNested::FDepth, &TStoreNested::FDepth).Build();
    return &info;
}

class TStoreSettings : public TComponent {
    QL_CLASS(TStoreSettings, TComponent)
public:
    explicit TStoreSettings(TComponent* owner) : TComponent(owner) {}
    ~TStoreSettings() override {
        delete FLines;
        delete FItems;
        delete FNested;
    }
    int FCount = 0;
    bool FFlag = false;
    String FText;
    TStoreColor FColor = scRed;
    TSet<TStoreColor> FColors;
    double FRatio = 0;
    TDateTime FWhen = 0;
    long long FBig = 0;
    int FShade = 0;
    TStringList* FLines = new TStringList;
    TCollection* FItems = new TCollection(TStoreItem::StaticClass());
    TStoreNested* FNested = new TStoreNested;
    TStoreSettings* FBuddy = nullptr;
    TNotifyEvent FOnChange;
};

TClass TStoreSettings::StaticClass() {
    using S = TStoreSettings;
    static const TClassInfo info = TClassBuilder<S>("TStoreSettings")
                                       .Prop("Count", &S::FCount, &S::FCount)
                                       .Default(0)
                                       .Prop("Flag", &S::FFlag, &S::FFlag)
                                       .Default(false)
                                       .Prop("Text", &S::FText, &S::FText)
                                       .Prop("Color", &S::FColor, &S::FColor)
                                       .Default(scRed)
                                       .Prop("Colors", &S::FColors, &S::FColors)
                                       .Prop("Ratio", &S::FRatio, &S::FRatio)
                                       .Prop("When", &S::FWhen, &S::FWhen)
                                       .Type(&TypeInfoDateTime)
                                       .Prop("Big", &S::FBig, &S::FBig)
                                       .Prop("Shade", &S::FShade, &S::FShade)
                                       .Type(&ShadeType)
                                       .Prop("Lines", &S::FLines, nullptr)
                                       .Prop("Items", &S::FItems, nullptr)
                                       .Prop("Nested", &S::FNested, nullptr)
                                       .Prop("Buddy", &S::FBuddy, &S::FBuddy)
                                       .Prop("OnChange", &S::FOnChange, &S::FOnChange)
                                       .Build();
    return &info;
}

// A store in memory: loaded (so no read reloads it) with no file.
std::unique_ptr<TZvAppIniFileStorage> MemoryStore(const String& content = String()) {
    auto store = std::make_unique<TZvAppIniFileStorage>(nullptr);
    store->SetFlushOnDestroy(false);
    store->Reload();
    store->SetAsString(content);
    return store;
}

String Ini(std::initializer_list<const char*> lines) {
    String s;
    for (const char* l : lines) s += String(l) + "\r\n";
    return s;
}

// ---- Paths ------------------------------------------------------------------------------

TEST(ZvAppStorage, CompactPathTable) {
    struct Case {
        std::vector<String> Pieces;
        const char* Expected;
    } cases[] = {
        {{"a\\b\\..\\c"}, "a\\c"},
        {{"a\\.\\b"}, "a\\b"},
        {{"a\\b\\...\\c"}, "c"},
        {{"a\\b", "\\x"}, "x"},
        {{"a\\b", "c"}, "a\\b\\c"},
        {{"\\a\\", "\\\\b\\\\"}, "b"},
        {{"a", "..", "..", "b"}, "b"},
        {{"a\\b\\c", "...."}, ""},
        {{"", ""}, ""},
        {{"..a\\b."}, "..a\\b."},
        {{"\\root", "x", "..", "y"}, "root\\y"},
    };
    for (const Case& c : cases) EXPECT_EQ(CompactPath(c.Pieces), c.Expected);
    EXPECT_EQ(TZvCustomAppStorage::ConcatPaths({"frmMain", "NormPos"}), "frmMain\\NormPos");
}

TEST(ZvAppStorage, CurrentAndRootPaths) {
    auto store = MemoryStore();
    store->SetCurrentPath("frmMain");
    store->WriteInteger("ShowCmd", 1);
    store->WriteInteger("\\Other\\Value", 2);
    store->SetRootPath("Root");
    store->SetCurrentPath("");
    store->WriteInteger("x\\y", 3);
    EXPECT_EQ(store->AsString(), Ini({"[frmMain]", "ShowCmd=1", "", "[Other]", "Value=2", "", "[Root\\x]", "y=3", ""}));
    EXPECT_EQ(store->ReadInteger("x\\y"), 3);
}

// ---- Sub-stores -------------------------------------------------------------------------------

TEST(ZvAppStorage, SubStoresTakeTheirPaths) {
    auto main = MemoryStore();
    auto sub = MemoryStore();
    auto deeper = MemoryStore();
    TZvAppSubStorage* item = main->SubStorages()->Add();
    item->SetRootPath("Plugins");
    item->SetAppStorage(sub.get());
    TZvAppSubStorage* item2 = main->SubStorages()->Add();
    item2->SetRootPath("Plugins\\Deep");
    item2->SetAppStorage(deeper.get());

    main->WriteString("plugins\\Grid\\Width", "10");  // case ignored
    main->WriteString("Plugins\\Deep\\x\\v", "20");
    main->WriteString("PluginsX\\v", "30");  // only a prefix of letters: not the sub-store
    EXPECT_EQ(sub->AsString(), Ini({"[Grid]", "Width=10", ""}));
    EXPECT_EQ(deeper->AsString(), Ini({"[x]", "v=20", ""}));
    EXPECT_EQ(main->AsString(), Ini({"[PluginsX]", "v=30", ""}));
    EXPECT_EQ(main->ReadString("Plugins\\Grid\\Width"), "10");
    try {
        main->ReadString("Plugins");
        FAIL();
    } catch (const EZVLAppStorageError& e) {
        EXPECT_STREQ(e.what(), "Invalid path");
    }
}

TEST(ZvAppStorage, SubStoreRulesAndRemoval) {
    auto main = MemoryStore();
    auto other = std::make_unique<TZvAppIniFileStorage>(nullptr);
    TZvAppSubStorage* a = main->SubStorages()->Add();
    a->SetRootPath("a\\b");
    TZvAppSubStorage* b = main->SubStorages()->Add();
    try {
        b->SetRootPath("a");  // a\b lies under it
        FAIL();
    } catch (const EZVLAppStorageError& e) {
        EXPECT_STREQ(e.what(), "'a' is not a unique root path");
    }
    EXPECT_THROW(b->SetRootPath("A\\B"), EZVLAppStorageError);
    b->SetRootPath("ab");  // a different name, not a folder of a
    EXPECT_THROW(a->SetAppStorage(main.get()), EZVLAppStorageError);
    a->SetAppStorage(other.get());
    TZvAppSubStorage* back = other->SubStorages()->Add();
    try {
        back->SetAppStorage(main.get());
        FAIL();
    } catch (const EZVLAppStorageError& e) {
        EXPECT_STREQ(e.what(), "Circular reference of storages");
    }
    EXPECT_TRUE(main->HasSubStorage(other.get()));

    // Stores with one owner hear of each other's removal.
    TComponent owner(nullptr);
    auto* first = new TZvAppIniFileStorage(&owner);
    auto* second = new TZvAppIniFileStorage(&owner);
    first->SetFlushOnDestroy(false);
    second->SetFlushOnDestroy(false);
    TZvAppSubStorage* s = first->SubStorages()->Add();
    s->SetRootPath("x");
    s->SetAppStorage(second);
    second->Free();
    EXPECT_EQ(first->SubStorages()->Count(), 0);
}

// ---- Options -------------------------------------------------------------------------------------

TEST(ZvAppStorage, OptionsDefaultsAndBooleanRule) {
    TZvAppStorageOptions o;
    EXPECT_EQ(o.BooleanStringTrueValues(), "TRUE, YES, Y");
    EXPECT_EQ(o.BooleanStringFalseValues(), "FALSE, NO, N");
    EXPECT_TRUE(o.BooleanAsString());
    EXPECT_TRUE(o.EnumerationAsString());
    EXPECT_TRUE(o.TypedIntegerAsString());
    EXPECT_FALSE(o.SetAsString());
    EXPECT_TRUE(o.DateTimeAsString());
    EXPECT_FALSE(o.FloatAsString());
    EXPECT_FALSE(o.DefaultIfReadConvertError());
    EXPECT_TRUE(o.DefaultIfValueNotExists());
    EXPECT_TRUE(o.StoreDefaultValues());
    EXPECT_TRUE(o.UseOldItemNameFormat());
    EXPECT_FALSE(o.UseTranslateStringEngineDateTimeFormats());
    EXPECT_FALSE(o.StoreStringListAsSingleString());
    EXPECT_EQ(o.DefaultTrueString(), "TRUE");

    o.SetBooleanStringTrueValues("");
    EXPECT_FALSE(o.BooleanAsString());
    o.SetBooleanAsString(true);
    EXPECT_FALSE(o.BooleanAsString());
    o.SetBooleanStringTrueValues(" On , Yes");
    o.SetBooleanAsString(true);
    EXPECT_TRUE(o.BooleanAsString());
    EXPECT_EQ(o.DefaultTrueString(), "On");

    TZvAppIniStorageOptions copy;
    copy.SetReplaceCRLF(true);
    TZvAppIniStorageOptions source;
    source.SetPreserveLeadingTrailingBlanks(true);
    source.SetSetAsString(true);
    source.SetStoreStringListAsSingleString(true);
    copy.Assign(&source);
    EXPECT_FALSE(copy.ReplaceCRLF());
    EXPECT_TRUE(copy.PreserveLeadingTrailingBlanks());
    EXPECT_TRUE(copy.SetAsString());
    EXPECT_TRUE(copy.StoreStringListAsSingleString());

    auto store = MemoryStore();
    store->SetStorageOptions(&source);
    EXPECT_TRUE(store->StorageOptions()->SetAsString());
    EXPECT_TRUE(store->IniStorageOptions()->PreserveLeadingTrailingBlanks());
    store->SetStorageOptions(nullptr);
    EXPECT_EQ(store->StorageOptionsClass(), TZvAppIniStorageOptions::StaticClass());
}

// ---- Booleans ---------------------------------------------------------------------------------------

TEST(ZvAppStorage, BooleanTextsTable) {
    struct Case {
        const char* Stored;
        bool Expected;
    } cases[] = {
        {"yes", true}, {"Y", true},   {"TRUE", true}, {"true", true},   {"2", true},
        {"-1", true},  {"no", false}, {"N", false},   {"False", false}, {"0", false},
    };
    for (const Case& c : cases) {
        auto store = MemoryStore(Ini({"[s]", (String("v=") + c.Stored).c_str()}));
        EXPECT_EQ(store->ReadBoolean("s\\v", !c.Expected), c.Expected) << c.Stored;
    }
    auto store = MemoryStore(Ini({"[s]", "v=maybe"}));
    EXPECT_THROW(store->ReadBoolean("s\\v", true), EConvertError);
    store->StorageOptions()->SetDefaultIfReadConvertError(true);
    EXPECT_TRUE(store->ReadBoolean("s\\v", true));
    EXPECT_FALSE(store->ReadBoolean("s\\v", false));
    EXPECT_TRUE(store->ReadBoolean("s\\missing", true));
}

TEST(ZvAppStorage, BooleanWrites) {
    auto store = MemoryStore();
    store->WriteBoolean("frmMain\\LumOfficeCheckBox1_Checked", true);
    store->WriteBoolean("frmMain\\LumOfficeCheckBox2_Checked", false);
    EXPECT_EQ(store->AsString(),
              Ini({"[frmMain]", "LumOfficeCheckBox1_Checked=TRUE", "LumOfficeCheckBox2_Checked=FALSE", ""}));
    store->StorageOptions()->SetBooleanStringTrueValues("");
    store->WriteBoolean("frmMain\\LumOfficeCheckBox1_Checked", true);
    store->WriteBoolean("frmMain\\LumOfficeCheckBox2_Checked", false);
    EXPECT_EQ(store->AsString(),
              Ini({"[frmMain]", "LumOfficeCheckBox1_Checked=1", "LumOfficeCheckBox2_Checked=0", ""}));
    EXPECT_TRUE(store->ReadBoolean("frmMain\\LumOfficeCheckBox1_Checked"));
}

// ---- Defaults and conversion errors ----------------------------------------------------------------

TEST(ZvAppStorage, DefaultRules) {
    auto store = MemoryStore(Ini({"[s]", "bad=abc", "empty="}));
    EXPECT_EQ(store->ReadInteger("s\\missing", 7), 7);
    EXPECT_EQ(store->ReadInteger("s\\empty", 7), 0);
    EXPECT_THROW(store->ReadInteger("s\\bad", 7), EConvertError);
    store->StorageOptions()->SetDefaultIfReadConvertError(true);
    EXPECT_EQ(store->ReadInteger("s\\bad", 7), 7);
    EXPECT_EQ(store->ReadString("s\\missing", "d"), "d");
    store->StorageOptions()->SetDefaultIfValueNotExists(false);
    EXPECT_EQ(store->ReadString("s\\missing", "d"), "d");
    EXPECT_EQ(store->ReadInteger("s\\missing", 7), 7);
    try {
        store->ReadInteger("NoFolder");
        FAIL();
    } catch (const EZVLAppStorageError& e) {
        EXPECT_STREQ(e.what(), "TZvAppIniFileStorage.ReadValue: Section undefined");
    }
    store->SetDefaultSection("General");
    store->WriteInteger("NoFolder", 1);
    store->WriteInteger(".x\\y", 2);
    EXPECT_EQ(store->ReadInteger("NoFolder"), 1);
    EXPECT_EQ(store->ReadInteger("General.x\\y"), 2);
}

// ---- Floats and date-times ---------------------------------------------------------------------------

TEST(ZvAppStorage, FloatForms) {
    auto store = MemoryStore();
    store->WriteFloat("s\\f", 1.0);
    EXPECT_EQ(store->ReadString("s\\f"), "0000000000000080FF3F");
    EXPECT_DOUBLE_EQ(store->ReadFloat("s\\f"), 1.0);
    store->StorageOptions()->SetFloatAsString(true);
    store->WriteFloat("s\\g", 2.5);
    EXPECT_EQ(store->ReadString("s\\g"), "2.5");
    // Each form reads the other one too.
    EXPECT_DOUBLE_EQ(store->ReadFloat("s\\f"), 1.0);
    store->StorageOptions()->SetFloatAsString(false);
    EXPECT_DOUBLE_EQ(store->ReadFloat("s\\g"), 2.5);
    // A hand-edited short hexadecimal text reads as the default.
    store->WriteString("s\\h", "ABCD");
    EXPECT_DOUBLE_EQ(store->ReadFloat("s\\h", 9.0), 9.0);
    store->WriteString("s\\x", "nonsense");
    EXPECT_THROW(store->ReadFloat("s\\x", 9.0), EConvertError);
}

TEST(ZvAppStorage, DateTimes) {
    auto store = MemoryStore();
    TDateTime when = EncodeDate(2024, 3, 9) + EncodeTime(14, 5, 6, 0);
    store->WriteDateTime("s\\d", when);
    EXPECT_EQ(store->ReadString("s\\d"), DateTimeToStr(when));
    EXPECT_NEAR(store->ReadDateTime("s\\d"), when, 1e-6);
    store->StorageOptions()->SetDateTimeAsString(false);
    store->WriteDateTime("s\\e", when);
    EXPECT_EQ(store->ReadString("s\\e").size(), 20u);
    EXPECT_DOUBLE_EQ(store->ReadDateTime("s\\e"), when);
    store->StorageOptions()->SetDateTimeAsString(true);
    store->StorageOptions()->SetUseTranslateStringEngineDateTimeFormats(true);
    store->ActiveTranslateStringEngine()->SetDateFormat("yyyy/mm/dd");
    store->ActiveTranslateStringEngine()->SetTimeFormat("hh:nn:ss");
    store->WriteDateTime("s\\t", when);
    EXPECT_EQ(store->ReadString("s\\t"), "2024/03/09 14:05:06");
    EXPECT_NEAR(store->ReadDateTime("s\\t"), when, 1e-6);
    // A text in the plain locale form still reads.
    EXPECT_NEAR(store->ReadDateTime("s\\d"), when, 1e-6);
}

// ---- Texts, wide texts, binary, encryption --------------------------------------------------------------

TEST(ZvAppStorage, WideStringsAreUtf8) {
    auto store = MemoryStore();
    std::u16string text = u"Gr\u00FC\u00DFe \u20AC \U0001F600";
    store->WriteWideString("s\\w", text);
    EXPECT_EQ(store->ReadString("s\\w"), "Gr\xC3\xBC\xC3\x9F"
                                         "e \xE2\x82\xAC \xF0\x9F\x98\x80");
    EXPECT_EQ(store->ReadWideString("s\\w"), text);
    store->WriteString("s\\bad", "\xFF"
                                 "a");
    EXPECT_EQ(store->ReadWideString("s\\bad"), u"\uFFFDa");
    EXPECT_EQ(store->ReadWideString("s\\none", u"x"), u"x");
}

TEST(ZvAppStorage, Binary) {
    auto store = MemoryStore();
    Byte data[] = {0x00, 0x7F, 0xFF, 0x10};
    store->WriteBinary("s\\b", data, 4);
    EXPECT_EQ(store->ReadString("s\\b"), "007FFF10");
    Byte back[8] = {};
    EXPECT_EQ(store->ReadBinary("s\\b", back, 8), 4);
    EXPECT_EQ(std::memcmp(back, data, 4), 0);
    EXPECT_EQ(store->ReadBinary("s\\b", back, 2), 2);
    EXPECT_EQ(store->ReadBinary("s\\none", back, 8), 0);
}

class TCryptHooks : public TObject {
public:
    void Encrypt(String& text) { text = "<" + text + ">"; }
    void Decrypt(String& text) { text = text.substr(1, text.size() - 2); }
};

TEST(ZvAppStorage, EncryptionHook) {
    auto store = MemoryStore();
    TCryptHooks hooks;
    store->OnEncryptPropertyValue = TZvAppStorageCryptEvent::Bind<&TCryptHooks::Encrypt>(&hooks);
    store->OnDecryptPropertyValue = TZvAppStorageCryptEvent::Bind<&TCryptHooks::Decrypt>(&hooks);
    store->WriteString("s\\plain", "secret");  // not enabled yet
    store->EnablePropertyValueCrypt();
    store->WriteString("s\\hidden", "secret");
    store->WriteBoolean("s\\flag", true);
    EXPECT_EQ(store->AsString(), Ini({"[s]", "plain=secret", ("hidden=" + Base64Text("<secret>")).c_str(),
                                      ("flag=" + Base64Text("<TRUE>")).c_str(), ""}));
    EXPECT_EQ(store->ReadString("s\\hidden"), "secret");
    EXPECT_TRUE(store->ReadBoolean("s\\flag"));
    // A long value stays on one line, and one stored in lines still reads.
    String longText(100, 'x');
    store->WriteString("s\\long", longText);
    EXPECT_EQ(store->IniFile()->ReadString("s", "long", "").find('\n'), String::npos);
    EXPECT_EQ(store->ReadString("s\\long"), longText);
    store->IniFile()->WriteString("s", "lines", Base64EncodeText("<" + longText + ">"));
    EXPECT_EQ(store->ReadString("s\\lines"), longText);
    store->DisablePropertyValueCrypt();
    EXPECT_EQ(store->ReadString("s\\hidden"), Base64Text("<secret>"));
    EXPECT_EQ(store->ReadString("s\\plain"), "secret");
}

// ---- Enumerations and sets ------------------------------------------------------------------------------

TEST(ZvAppStorage, Enumerations) {
    auto store = MemoryStore(Ini({"[s]", "num=2", "bad=scPurple", "minus=-1", "far=9", "word=scGreen"}));
    store->WriteEnumeration("s\\c", scBlue);
    EXPECT_EQ(store->ReadString("s\\c"), "scBlue");
    EXPECT_EQ(store->ReadEnumeration("s\\c", scRed), scBlue);
    EXPECT_EQ(store->ReadEnumeration("s\\num", scRed), scBlue);
    EXPECT_EQ(store->ReadEnumeration("s\\WORD", scRed), scGreen);
    EXPECT_EQ(store->ReadEnumeration("s\\minus", scGreen), scGreen);
    EXPECT_EQ(store->ReadEnumeration("s\\missing", scGreen), scGreen);
    EXPECT_THROW(store->ReadEnumeration("s\\bad", scGreen), EConvertError);
    EXPECT_THROW(store->ReadEnumeration("s\\far", scGreen), EConvertError);
    store->StorageOptions()->SetEnumerationAsString(false);
    store->WriteEnumeration("s\\c", scBlue);
    EXPECT_EQ(store->ReadString("s\\c"), "2");
    // Booleans go through the boolean rule.
    store->WriteEnumeration("s\\b", TypeInfoFor<bool>(), 1);
    EXPECT_EQ(store->ReadString("s\\b"), "TRUE");
    EXPECT_EQ(store->ReadEnumeration("s\\b", TypeInfoFor<bool>(), 0), 1);
    try {
        store->WriteEnumeration("s\\x", TypeInfoFor<String>(), 0);
        FAIL();
    } catch (const EZVLAppStorageError& e) {
        EXPECT_STREQ(e.what(), "Invalid type");
    }
}

TEST(ZvAppStorage, TypedIntegersByName) {
    static bool registered = false;
    if (!registered) {
        RegisterIntegerIdents(ShadeType(), {{0xFF, "shRed"}, {0x00, "shBlack"}});
        registered = true;
    }
    auto store = MemoryStore(Ini({"[s]", "n=77", "w=SHBLACK"}));
    store->WriteEnumeration("s\\a", ShadeType(), 0xFF);
    store->WriteEnumeration("s\\b", ShadeType(), 5);
    EXPECT_EQ(store->ReadString("s\\a"), "shRed");
    EXPECT_EQ(store->ReadString("s\\b"), "5");
    EXPECT_EQ(store->ReadEnumeration("s\\a", ShadeType(), 1), 0xFF);
    EXPECT_EQ(store->ReadEnumeration("s\\n", ShadeType(), 1), 77);
    EXPECT_EQ(store->ReadEnumeration("s\\w", ShadeType(), 1), 0);
    store->StorageOptions()->SetTypedIntegerAsString(false);
    store->WriteEnumeration("s\\a", ShadeType(), 0xFF);
    EXPECT_EQ(store->ReadString("s\\a"), "255");
}

TEST(ZvAppStorage, SetsAsText) {
    auto store = MemoryStore();
    store->StorageOptions()->SetSetAsString(true);
    store->WriteSet("s\\set", TSet<TStoreColor>{scRed, scBlue});
    EXPECT_EQ(store->ReadString("s\\set"), "[scRed, scBlue]");
    EXPECT_EQ(store->ReadSet("s\\set", TSet<TStoreColor>{}), (TSet<TStoreColor>{scRed, scBlue}));
    store->WriteString("s\\set", "[ scgreen ]");
    EXPECT_EQ(store->ReadSet("s\\set", TSet<TStoreColor>{}), (TSet<TStoreColor>{scGreen}));
    EXPECT_EQ(store->ReadSet("s\\none", TSet<TStoreColor>{scBlue}), (TSet<TStoreColor>{scBlue}));
    store->WriteString("s\\set", "[scPink]");
    EXPECT_THROW(store->ReadSet("s\\set", TSet<TStoreColor>{}), EZevError);
    store->StorageOptions()->SetDefaultIfReadConvertError(true);
    EXPECT_EQ(store->ReadSet("s\\set", TSet<TStoreColor>{scBlue}), (TSet<TStoreColor>{scBlue}));
}

TEST(ZvAppStorage, SetsAsFolders) {
    auto store = MemoryStore();
    store->WriteSet("s\\set", TSet<TStoreColor>{scGreen});
    EXPECT_EQ(store->AsString(), Ini({"[s\\set]", "scRed=FALSE", "scGreen=TRUE", "scBlue=FALSE", ""}));
    EXPECT_EQ(store->ReadSet("s\\set", TSet<TStoreColor>{scRed}), (TSet<TStoreColor>{scGreen}));

    // Characters: printable codes by themselves, others by number.
    auto chars = MemoryStore();
    const TTypeInfo* charSet = TypeInfoFor<TSet<char>>();
    std::vector<Byte> value(32, 0);
    for (int c : {int('A'), 10}) value[size_t(c / 8)] |= Byte(1 << (c % 8));
    chars->WriteSet("c\\set", charSet, value.data());
    EXPECT_EQ(chars->ReadString("c\\set\\Char_A"), "TRUE");
    EXPECT_EQ(chars->ReadString("c\\set\\Char#10"), "TRUE");
    EXPECT_EQ(chars->ReadString("c\\set\\Char_B"), "FALSE");
    EXPECT_EQ(chars->ReadString("c\\set\\Char#200"), "FALSE");
    // Keys ignore case and end at "=": lower-case letters and "=" go by
    // number, so that no two characters share a key.
    EXPECT_EQ(chars->ReadString("c\\set\\Char#97"), "FALSE");
    EXPECT_EQ(chars->ReadString("c\\set\\Char#61"), "FALSE");
    TStringList names;
    chars->GetStoredValues("c\\set", &names);
    EXPECT_EQ(names.Count(), 256);  // one key per character
    std::vector<Byte> back(32, 0xFF);
    std::vector<Byte> none(32, 0);
    chars->ReadSet("c\\set", charSet, none.data(), back.data());
    EXPECT_EQ(back, value);

    // Integers: Int_ and the number.
    TTypeInfo element = MakeOrdinalTypeInfo(tkInteger, "TSmall", 3, 5);
    TTypeInfo intSet;
    intSet.Kind = tkSet;
    intSet.CompType = &element;
    store->WriteSet("i", &intSet, std::uint64_t(1) << 4);
    EXPECT_EQ(store->ReadString("i\\Int_3"), "FALSE");
    EXPECT_EQ(store->ReadString("i\\Int_4"), "TRUE");
    EXPECT_EQ(store->ReadSet("i", &intSet, std::uint64_t(0)), std::uint64_t(1) << 4);

    TTypeInfo floatSet;
    floatSet.Kind = tkSet;
    floatSet.CompType = TypeInfoFor<double>();
    try {
        store->WriteSet("f", &floatSet, std::uint64_t(0));
        FAIL();
    } catch (const EZVLAppStorageError& e) {
        EXPECT_STREQ(e.what(), "Unknown base type for given set");
    }
}

TEST(ZvAppStorage, EveryCharacterSetReadsBackFromTheFile) {
    const TTypeInfo* charSet = TypeInfoFor<TSet<char>>();
    auto roundTrip = [&](const std::vector<Byte>& value) {
        auto store = MemoryStore();
        store->WriteSet("c", charSet, value.data());
        auto again = MemoryStore(store->AsString());  // through the file's text
        std::vector<Byte> back(32, 0), none(32, 0);
        again->ReadSet("c", charSet, none.data(), back.data());
        return back;
    };
    for (int c = 0; c < 256; ++c) {
        std::vector<Byte> one(32, 0);
        one[size_t(c / 8)] = Byte(1 << (c % 8));
        EXPECT_EQ(roundTrip(one), one) << "character " << c;
    }
    std::vector<Byte> letters(32, 0);
    for (int c : {int('A'), int('a'), int('z'), int('='), int('Z')}) letters[size_t(c / 8)] |= Byte(1 << (c % 8));
    EXPECT_EQ(roundTrip(letters), letters);
    EXPECT_EQ(roundTrip(std::vector<Byte>(32, 0xFF)), std::vector<Byte>(32, 0xFF));
}

// ---- Lists -------------------------------------------------------------------------------------------------

TEST(ZvAppStorage, StringListsShrink) {
    auto store = MemoryStore();
    TStringList five, two;
    five.SetCommaText("a,b,c,d,e");
    two.SetCommaText("x,y");
    store->WriteStringList("l", &five);
    store->WriteStringList("l", &two);
    EXPECT_EQ(store->AsString(), Ini({"[l]", "Item0=x", "Item1=y", "Count=2", ""}));
    TStringList back;
    back.Add("old");
    EXPECT_EQ(store->ReadStringList("l", &back), 2);
    EXPECT_EQ(back.CommaText(), "x,y");
    EXPECT_TRUE(store->ListStored("l"));
    EXPECT_FALSE(store->ListStored("m"));
}

TEST(ZvAppStorage, StringListForms) {
    auto store = MemoryStore();
    store->StorageOptions()->SetUseOldItemNameFormat(false);
    TStringList list;
    list.SetCommaText("p,q");
    store->WriteStringList("l", &list);
    EXPECT_EQ(store->AsString(), Ini({"[l]", "Item[0]=p", "Item[1]=q", "Count=2", ""}));
    store->StorageOptions()->SetStoreStringListAsSingleString(true);
    store->WriteStringList("s\\l", &list);
    EXPECT_EQ(store->ReadString("s\\l"), "p\r\nq\r\n");
    // A single value reads as the list's text.
    TStringList back;
    store->WriteString("s\\one", "line");
    EXPECT_EQ(store->ReadStringList("s\\one", &back), 1);
    EXPECT_EQ(back[0], "line");
    // Over a stored item list, the single value replaces the items.
    store->StorageOptions()->SetStoreStringListAsSingleString(false);
    store->WriteStringList("s\\l3", &list);
    EXPECT_TRUE(store->ListStored("s\\l3"));
    store->StorageOptions()->SetStoreStringListAsSingleString(true);
    store->WriteStringList("s\\l3", &list);
    EXPECT_FALSE(store->ListStored("s\\l3"));
    EXPECT_EQ(store->ReadString("s\\l3"), "p\r\nq\r\n");
}

TEST(ZvAppStorage, Collections) {
    auto store = MemoryStore();
    TCollection items(TStoreItem::StaticClass());
    for (int i = 0; i < 3; ++i) {
        auto* item = static_cast<TStoreItem*>(items.Add());
        item->FValue = i * 10;
        item->FCaption = Format("c%d", {i});
    }
    store->WriteCollection("coll", &items);
    EXPECT_EQ(store->ReadInteger("coll\\Count"), 3);
    EXPECT_EQ(store->ReadInteger("coll\\Item2\\Value"), 20);
    items.Delete(2);
    items.Delete(1);
    store->WriteCollection("coll", &items);
    EXPECT_FALSE(store->PathExists("coll\\Item1"));
    EXPECT_FALSE(store->PathExists("coll\\Item2"));
    EXPECT_EQ(store->ReadInteger("coll\\Count"), 1);

    TCollection back(TStoreItem::StaticClass());
    back.Add();
    back.Add();
    EXPECT_EQ(store->ReadCollection("coll", &back), 1);
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(static_cast<TStoreItem*>(back.Items(0))->FCaption, "c0");
    // No stored list: the collection stays as it is.
    EXPECT_EQ(store->ReadCollection("nothing", &back), 0);
    EXPECT_EQ(back.Count(), 1);
}

// ---- Objects ---------------------------------------------------------------------------------------------

TEST(ZvAppStorage, PersistentRoundTrip) {
    TComponent form(nullptr);
    auto* settings = new TStoreSettings(&form);
    settings->SetName("Settings1");
    auto* buddy = new TStoreSettings(&form);
    buddy->SetName("Buddy1");
    settings->FCount = 5;
    settings->FFlag = true;
    settings->FText = "hello";
    settings->FColor = scBlue;
    settings->FColors = {scRed, scGreen};
    settings->FRatio = 0.25;
    settings->FWhen = EncodeDate(2020, 1, 2);
    settings->FBig = 1234567890123LL;
    settings->FLines->SetCommaText("one,two");
    static_cast<TStoreItem*>(settings->FItems->Add())->FValue = 3;
    settings->FNested->FDepth = 4;
    settings->FBuddy = buddy;

    auto store = MemoryStore();
    store->WritePersistent("obj", settings);
    EXPECT_EQ(store->ReadString("obj\\Buddy"), "Buddy1");
    EXPECT_EQ(store->ReadString("obj\\Big"), "1234567890123");
    EXPECT_EQ(store->ReadString("obj\\Color"), "scBlue");
    EXPECT_FALSE(store->ValueStored("obj\\OnChange"));
    EXPECT_EQ(store->ReadInteger("obj\\Nested\\Depth"), 4);

    // Another component of the same owner cannot take the stored name.
    auto* copy = new TStoreSettings(&form);
    TStringList ignoreName;
    ignoreName.Add("Name");
    store->ReadPersistent("obj", copy, true, true, &ignoreName);
    EXPECT_EQ(copy->FCount, 5);
    EXPECT_TRUE(copy->FFlag);
    EXPECT_EQ(copy->FText, "hello");
    EXPECT_EQ(copy->FColor, scBlue);
    EXPECT_EQ(copy->FColors, (TSet<TStoreColor>{scRed, scGreen}));
    EXPECT_DOUBLE_EQ(copy->FRatio, 0.25);
    EXPECT_DOUBLE_EQ(copy->FWhen, EncodeDate(2020, 1, 2));
    EXPECT_EQ(copy->FBig, 1234567890123LL);
    EXPECT_EQ(copy->FLines->CommaText(), "one,two");
    ASSERT_EQ(copy->FItems->Count(), 1);
    EXPECT_EQ(static_cast<TStoreItem*>(copy->FItems->Items(0))->FValue, 3);
    EXPECT_EQ(copy->FNested->FDepth, 4);
    EXPECT_EQ(copy->FBuddy, buddy);

    // Without recursion the nested object is left alone.
    auto* shallow = new TStoreSettings(&form);
    store->ReadPersistent("obj", shallow, false, true, &ignoreName);
    EXPECT_EQ(shallow->FNested->FDepth, 0);
}

TEST(ZvAppStorage, ComponentReferenceOfAnotherClassIsSkipped) {
    TComponent form(nullptr);
    auto* settings = new TStoreSettings(&form);
    auto* plain = new TComponent(&form);
    plain->SetName("Plain1");
    auto store = MemoryStore(Ini({"[obj]", "Buddy=Plain1", "Count=3"}));
    store->ReadPersistent("obj", settings);
    EXPECT_EQ(settings->FBuddy, nullptr);
    EXPECT_EQ(settings->FCount, 3);
    store->WriteString("obj\\Buddy", "NoSuchComponent");
    store->ReadProperty("obj\\Buddy", settings, "Buddy", true, true);
    EXPECT_EQ(settings->FBuddy, nullptr);
}

TEST(ZvAppStorage, StoreDefaultValuesOffSkipsDefaults) {
    TStoreSettings settings(nullptr);
    settings.FCount = 0;    // its default
    settings.FFlag = true;  // not its default
    auto store = MemoryStore();
    store->StorageOptions()->SetStoreDefaultValues(false);
    store->WriteProperty("p\\Count", &settings, "Count", true);
    store->WriteProperty("p\\Flag", &settings, "Flag", true);
    store->WriteProperty("p\\Text", &settings, "Text", true);    // empty: its default
    store->WriteProperty("p\\Lines", &settings, "Lines", true);  // read-only: not written
    store->WriteProperty("p\\Big", &settings, "Big", true);      // a 64-bit 0: its default
    EXPECT_EQ(store->AsString(), Ini({"[p]", "Flag=TRUE", ""}));
    settings.FBig = 1;
    store->WriteProperty("p\\Big", &settings, "Big", true);
    EXPECT_EQ(store->AsString(), Ini({"[p]", "Flag=TRUE", "Big=1", ""}));
}

TEST(ZvAppStorage, AHandEditedCountReadsNoMoreItemsThanTheFolderHolds) {
    const struct {
        const char* Count;
        std::vector<String> Items;
    } cases[] = {
        {"Count=100000", {"x", "y"}},
        {"Count=2147483647", {"x", "y"}},
        {"Count=2", {"x", "y"}},
        {"Count=1", {"x"}},
        {"Count=-5", {}},
    };
    for (const auto& c : cases) {
        auto store = MemoryStore(Ini({"[l]", c.Count, "Item0=x", "Item1=y"}));
        TStringList list;
        EXPECT_EQ(store->ReadStringList("l", &list), int(c.Items.size())) << c.Count;
        std::vector<String> read;
        for (int i = 0; i < list.Count(); ++i) read.push_back(list.Strings(i));
        EXPECT_EQ(read, c.Items) << c.Count;
    }
    // Items that are folders (a collection's) count too.
    auto store = MemoryStore(Ini({"[c]", "Count=9", "[c\\Item0]", "a=1", "[c\\Item1]", "a=2"}));
    int items = 0;
    EXPECT_EQ(store->ReadList("c", nullptr,
                              [&](TZvCustomAppStorage*, const String&, TObject*, int, const String&) { ++items; }),
              2);
    EXPECT_EQ(items, 2);
}

TEST(ZvAppStorage, StoreDefaultValuesOffRemovesAValueTheDefaultIsWrittenOver) {
    TStoreSettings settings(nullptr);
    auto store = MemoryStore();
    store->StorageOptions()->SetStoreDefaultValues(false);
    settings.FCount = 77;
    settings.FBig = 5;
    store->WriteProperty("p\\Count", &settings, "Count", true);
    store->WriteProperty("p\\Big", &settings, "Big", true);
    store->WriteString("p\\Other", "kept");
    settings.FCount = 0;  // back to their defaults
    settings.FBig = 0;
    store->WriteProperty("p\\Count", &settings, "Count", true);
    store->WriteProperty("p\\Big", &settings, "Big", true);
    EXPECT_EQ(store->AsString(), Ini({"[p]", "Other=kept", ""}));
    store->ReadProperty("p\\Count", &settings, "Count", true, true);
    EXPECT_EQ(settings.FCount, 0);
}

class TNameTranslator : public TObject {
public:
    void Translate(TObject*, TPersistent*, bool reading, String& name) { name = (reading ? "r_" : "w_") + name; }
};

TEST(ZvAppStorage, IgnoreListAndTranslatedNames) {
    TStoreSettings settings(nullptr);
    settings.FCount = 2;
    auto store = MemoryStore();
    TStringList ignore;
    ignore.SetCommaText("Text,Colors,Ratio,When,Big,Shade,Lines,Items,Nested,Buddy,Color,Flag,Name,Tag");
    TNameTranslator translator;
    store->OnTranslatePropertyName = TZvAppStoragePropTranslateEvent::Bind<&TNameTranslator::Translate>(&translator);
    store->WritePersistent("t", &settings, true, &ignore);
    EXPECT_EQ(store->AsString(), Ini({"[t]", "w_Count=2", ""}));
    store->WriteInteger("t\\r_Count", 9);
    store->ReadPersistent("t", &settings, true, true, &ignore);
    EXPECT_EQ(settings.FCount, 9);
}

class THandlerObject : public TPersistent, public IZvAppStorageHandler {
    QL_CLASS(THandlerObject, TPersistent)
public:
    bool QueryInterface(const TGUID& iid, void** obj) override {
        return QueryInterfaces<IZvAppStorageHandler>(this, iid, obj);
    }
    // Not counted: the test owns it.
    int _AddRef() override { return -1; }
    int _Release() override { return -1; }
    void ReadFromAppStorage(TZvCustomAppStorage* store, const String& path) override {
        FRead = store->ReadString(TZvCustomAppStorage::ConcatPaths({path, "Own"}));
    }
    void WriteToAppStorage(TZvCustomAppStorage* store, const String& path) override {
        store->WriteString(TZvCustomAppStorage::ConcatPaths({path, "Own"}), "mine");
    }
    String FRead;
    int FValue = 1;
};

TClass THandlerObject::StaticClass() {
    static const TClassInfo info = TClassBuilder<THandlerObject>("THandlerObject")
                                       .Prop("Value", &THandlerObject::FValue, &THandlerObject::FValue)
                                       .Build();
    return &info;
}

class THandlerWithProps : public THandlerObject, public IZvAppStoragePublishedProps {
public:
    bool QueryInterface(const TGUID& iid, void** obj) override {
        return QueryInterfaces<IZvAppStorageHandler, IZvAppStoragePublishedProps>(this, iid, obj);
    }
};

TEST(ZvAppStorage, StorageHandlerInterface) {
    auto store = MemoryStore();
    THandlerObject only;
    store->WritePersistent("h", &only);
    EXPECT_EQ(store->AsString(), Ini({"[h]", "Own=mine", ""}));
    store->ReadPersistent("h", &only);
    EXPECT_EQ(only.FRead, "mine");

    THandlerWithProps both;
    store->WritePersistent("k", &both);
    EXPECT_EQ(store->ReadString("k\\Own"), "mine");
    EXPECT_EQ(store->ReadInteger("k\\Value"), 1);
    EXPECT_EQ(Supports<IZvAppStoragePublishedProps>(&only), nullptr);
    EXPECT_NE(Supports<IZvAppStoragePublishedProps>(&both), nullptr);
}

class TCountingEngine : public TZvAppStoragePropertyBaseEngine {
public:
    bool Supports(TObject*, TObject* property) override { return dynamic_cast<TStoreNested*>(property) != nullptr; }
    void ReadProperty(TZvCustomAppStorage*, const String&, TObject*, TObject* property, bool, bool) override {
        static_cast<TStoreNested*>(property)->FDepth = -7;
    }
    void WriteProperty(TZvCustomAppStorage* store, const String& path, TObject*, TObject*, bool) override {
        store->WriteString(path, "by engine");
    }
};

TEST(ZvAppStorage, PropertyEnginesComeFirst) {
    auto* engine = new TCountingEngine;
    RegisterAppStoragePropertyEngine(engine);
    TStoreSettings settings(nullptr);
    auto store = MemoryStore();
    store->WriteProperty("e\\Nested", &settings, "Nested", true);
    EXPECT_EQ(store->ReadString("e\\Nested"), "by engine");
    store->ReadProperty("e\\Nested", &settings, "Nested", true, true);
    EXPECT_EQ(settings.FNested->FDepth, -7);
    UnregisterAppStoragePropertyEngine(engine);
    store->WriteProperty("f\\Nested", &settings, "Nested", true);
    EXPECT_EQ(store->ReadInteger("f\\Nested\\Depth"), -7);
}

// ---- Queries, removal, read-only, updates ------------------------------------------------------------------

TEST(ZvAppStorage, QueriesAndRemoval) {
    auto store =
        MemoryStore(Ini({"[frm]", "a=1", "[frm\\sub]", "b=2", "[frmMain]", "c=3", "[list]", "Count=1", "Item0=x"}));
    EXPECT_TRUE(store->ValueStored("frm\\a"));
    EXPECT_TRUE(store->PathExists("frm"));
    EXPECT_TRUE(store->PathExists("frm\\sub"));
    EXPECT_FALSE(store->PathExists("fr"));
    TStringList names;
    store->GetStoredFolders("", &names);
    EXPECT_EQ(names.CommaText(), "frm,frmMain");
    store->GetStoredFolders("frm", &names);
    EXPECT_EQ(names.CommaText(), "sub");
    store->GetStoredValues("list", &names);
    EXPECT_EQ(names.Count(), 1);
    EXPECT_EQ(names[0], "");
    store->GetStoredValues("list", &names, false);
    EXPECT_EQ(names.CommaText(), "Count,Item0");

    store->DeleteValue("frm\\a");
    EXPECT_FALSE(store->ValueStored("frm\\a"));
    store->DeleteValue("frm\\sub");  // a folder named like a value
    EXPECT_FALSE(store->PathExists("frm\\sub"));
    store->WriteInteger("frm\\sub\\deeper\\d", 4);
    store->DeleteSubTree("frm");
    EXPECT_EQ(store->AsString(), Ini({"[frmMain]", "c=3", "", "[list]", "Count=1", "Item0=x", ""}));
    store->DeleteSubTree("");
    EXPECT_EQ(store->AsString(), "");
}

TEST(ZvAppStorage, ReadOnlyStoreChangesNothing) {
    auto store = MemoryStore(Ini({"[s]", "v=1"}));
    store->SetReadOnly(true);
    store->WriteInteger("s\\v", 2);
    store->WriteString("s\\w", "x");
    TStringList list;
    list.Add("a");
    store->WriteStringList("l", &list);
    store->DeleteValue("s\\v");
    store->DeleteSubTree("s");
    EXPECT_EQ(store->AsString(), Ini({"[s]", "v=1", ""}));
    EXPECT_EQ(store->ReadInteger("s\\v"), 1);
}

}  // namespace

namespace {

class TStorePrefs : public TZvCustomPropertyStore {
    QL_CLASS(TStorePrefs, TZvCustomPropertyStore)
public:
    using TZvCustomPropertyStore::TZvCustomPropertyStore;
    int FWidth = 0;
    int FSecret = 0;
};

TClass TStorePrefs::StaticClass() {
    static const TClassInfo info = TClassBuilder<TStorePrefs>("TStorePrefs")
                                       .Prop("Width", &TStorePrefs::FWidth, &TStorePrefs::FWidth)
                                       .Prop("Secret", &TStorePrefs::FSecret, &TStorePrefs::FSecret)
                                       .Build();
    return &info;
}

class TStoreHolder : public TComponent {
    QL_CLASS(TStoreHolder, TComponent)
public:
    explicit TStoreHolder(TComponent* owner) : TComponent(owner), FPrefs(new TStorePrefs(this)) {}
    TStorePrefs* FPrefs;
};

TClass TStoreHolder::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TStoreHolder>("TStoreHolder").Prop("Prefs", &TStoreHolder::FPrefs, nullptr).Build();
    return &info;
}

TEST(ZvAppStorage, PropertyStoresSaveAndLoadThemselves) {
    TStoreHolder holder(nullptr);
    holder.FPrefs->FWidth = 640;
    holder.FPrefs->FSecret = 42;
    holder.FPrefs->IgnoreProperties()->Add("Secret");
    auto store = MemoryStore();
    store->WriteProperty("h\\Prefs", &holder, "Prefs", true);
    EXPECT_EQ(store->AsString(), Ini({"[h\\Prefs]", "Width=640", ""}));
    EXPECT_EQ(holder.FPrefs->AppStorage(), store.get());
    EXPECT_EQ(holder.FPrefs->CombinedIgnoreList()->CommaText(),
              "Secret,Name,Tag,AppStorage,AppStoragePath,IgnoreProperties");

    TStoreHolder other(nullptr);
    store->ReadProperty("h\\Prefs", &other, "Prefs", true, true);
    EXPECT_EQ(other.FPrefs->FWidth, 640);
    EXPECT_EQ(other.FPrefs->FSecret, 0);
    holder.FPrefs->SetAppStorage(nullptr);
    other.FPrefs->SetAppStorage(nullptr);
}

}  // namespace
