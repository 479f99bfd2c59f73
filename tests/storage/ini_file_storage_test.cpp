// The INI store: value texts, the file it reads and writes, and the form of
// the program's "Settings.ini".
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "classlib/core/filer.h"
#include "classlib/core/inifiles.h"
#include "classlib/core/strings.h"
#include "classlib/core/sysutils.h"
#include "classlib/core/units.h"
#include "storage/ini_file_storage.h"
#include "storage/storage_files.h"
#include "storage/support/base64.h"

namespace fs = std::filesystem;

namespace {

String Ini(std::initializer_list<const char*> lines) {
    String s;
    for (const char* l : lines) s += String(l) + "\r\n";
    return s;
}

String ReadFile(const String& name) {
    std::ifstream in(name, std::ios::binary);
    return String(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const String& name, const String& content) {
    std::ofstream out(name, std::ios::binary);
    out << content;
}

// File services whose folders, read-only files and failures the tests
// choose; files themselves are real.
class TFakeFiles : public TZvStorageFileSystem {
public:
    TFakeFiles() { ZvInstallStorageFileSystem(this); }
    ~TFakeFiles() override { ZvInstallStorageFileSystem(nullptr); }
    bool FileExists(const String& name) override {
        return ExistsAnyway.count(name) || TZvStorageFileSystem::FileExists(name);
    }
    bool FileIsReadOnly(const String& name) override { return ReadOnlyFiles.count(name) > 0; }
    String WindowsFolder() override { return "C:\\Windows"; }
    String TempFolder() override { return "C:\\Temp\\"; }
    String ExeFolder() override { return "C:\\Program Files\\Quillmere"; }
    String UserAppDataFolder() override { return "C:\\Users\\me\\AppData\\Roaming"; }
    void WriteWholeFile(const String& name, const String& content) override {
        ++Writes;
        TZvStorageFileSystem::WriteWholeFile(name, content);
    }
    String ReadWholeFile(const String& name) override {
        if (Unreadable.count(name)) throw EFOpenError("Cannot open file \"" + name + "\". Access is denied");
        return TZvStorageFileSystem::ReadWholeFile(name);
    }
    std::map<String, bool> ReadOnlyFiles, ExistsAnyway, Unreadable;
    int Writes = 0;
};

class TErrorLog : public TObject {
public:
    void Error(TObject*, const String& message) { Messages.push_back(message); }
    std::vector<String> Messages;
};

class ZvIniFile : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = (fs::temp_directory_path() /
               ("zv-ini-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                  .string();
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }
    String Path(const String& name) const { return Dir + "/" + name; }
    std::unique_ptr<TZvAppIniFileStorage> FileStore(const String& fullName) {
        auto store = std::make_unique<TZvAppIniFileStorage>(nullptr);
        store->SetLocation(flCustom);
        store->SetFileName(fullName);
        return store;
    }
    String Dir;
};

// ---- Value texts ---------------------------------------------------------------------

TEST(ZvIniText, EncodeDecodeTable) {
    struct Case {
        const char* Value;
        bool ReplaceCRLF, Preserve;
        const char* Stored;
    } cases[] = {
        {"  padded  ", false, true, "\"  padded  \""},
        {"plain", false, true, "plain"},
        {"\"quoted\"", false, true, "\"\"quoted\"\""},
        {"\"", false, true, "\"\"\""},
        {"", false, true, ""},
        {"two\r\nlines", true, false, "two\\nlines"},
        {"a\nb\rc", true, false, "a\\nb\\nc"},
        {"C:\\dir\r\nx", true, false, "C:\\\\dir\\nx"},
        {"C:\\dir", true, false, "C:\\dir"},  // no line break: not escaped
        {" x\r\n", true, true, "\" x\\n\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ZvIniText::EncodeValue(c.Value, c.ReplaceCRLF, c.Preserve), c.Stored) << c.Value;
    }
    EXPECT_EQ(ZvIniText::DecodeValue("\"  padded  \"", false, true), "  padded  ");
    EXPECT_EQ(ZvIniText::DecodeValue("\"", false, true), "\"");
    EXPECT_EQ(ZvIniText::DecodeValue("two\\nlines", true, false), "two\r\nlines");
    EXPECT_EQ(ZvIniText::DecodeValue("C:\\\\dir\\nx", true, false), "C:\\dir\r\nx");
    EXPECT_EQ(ZvIniText::DecodeValue("a\\tb\\", true, false), "a\\tb\\");
    EXPECT_EQ(ZvIniText::DecodeValue("\" x\\n\"", true, true), " x\r\n");
}

TEST(ZvIniText, ExtendedFloatsTable) {
    struct Case {
        double Value;
        const char* Hex;
    } cases[] = {
        {0.0, "00000000000000000000"}, {1.0, "0000000000000080FF3F"},      {-2.0, "000000000000008000C0"},
        {0.5, "0000000000000080FE3F"}, {HUGE_VAL, "0000000000000080FF7F"},
    };
    for (const Case& c : cases) {
        Byte b[10];
        ZvIniText::DoubleToExtended(c.Value, b);
        String hex;
        for (Byte x : b) {
            char t[3];
            std::snprintf(t, sizeof(t), "%02X", x);
            hex += t;
        }
        EXPECT_EQ(hex, c.Hex) << c.Value;
        EXPECT_EQ(ZvIniText::ExtendedToDouble(b), c.Value);
    }
    for (double v : {3.141592653589793, -1e-300, 1e300, 4.9e-324, 2.2250738585072014e-308, 123456.789}) {
        Byte b[10];
        ZvIniText::DoubleToExtended(v, b);
        EXPECT_EQ(ZvIniText::ExtendedToDouble(b), v);
#if (defined(__x86_64__) || defined(__i386__)) && !defined(_MSC_VER)
        // The same bytes as the processor's own extended value.
        long double ld = v;
        EXPECT_EQ(std::memcmp(&ld, b, 10), 0) << v;
#endif
    }
    Byte nan[10];
    ZvIniText::DoubleToExtended(std::nan(""), nan);
    EXPECT_TRUE(std::isnan(ZvIniText::ExtendedToDouble(nan)));
}

TEST(ZvIniText, ListItemNames) {
    EXPECT_TRUE(ZvIniText::IsListItemName("Item0"));
    EXPECT_TRUE(ZvIniText::IsListItemName("ITEM12"));
    EXPECT_FALSE(ZvIniText::IsListItemName("Item"));
    EXPECT_FALSE(ZvIniText::IsListItemName("Items"));
    EXPECT_FALSE(ZvIniText::IsListItemName("Item[0]"));
}

// ---- Options through the store ---------------------------------------------------------------

TEST(ZvIniStore, BlanksAndLineBreaksSurviveTheFile) {
    TZvAppIniFileStorage store(nullptr);
    store.SetFlushOnDestroy(false);
    store.Reload();
    store.IniStorageOptions()->SetPreserveLeadingTrailingBlanks(true);
    store.IniStorageOptions()->SetReplaceCRLF(true);
    store.WriteString("s\\blanks", "  both  ");
    store.WriteString("s\\lines", "first\r\nsecond");
    EXPECT_EQ(store.AsString(), Ini({"[s]", "blanks=\"  both  \"", "lines=first\\nsecond", ""}));
    // Through the file form (which trims values) and back.
    store.SetAsString(store.AsString());
    EXPECT_EQ(store.ReadString("s\\blanks"), "  both  ");
    EXPECT_EQ(store.ReadString("s\\lines"), "first\r\nsecond");
}

TEST(ZvIniStore, FoldersKeepInnerSeparators) {
    TZvAppIniFileStorage store(nullptr);
    store.SetFlushOnDestroy(false);
    store.Reload();
    store.WriteInteger("a\\b\\c", 1);
    EXPECT_EQ(store.AsString(), Ini({"[a\\b]", "c=1", ""}));
    EXPECT_TRUE(store.IniFile()->ValueExists("A\\B", "C"));
}

TEST(ZvIniStore, DeletingASubTreeKeepsSectionsThatOnlyShareLetters) {
    TZvAppIniFileStorage store(nullptr);
    store.SetFlushOnDestroy(false);
    store.Reload();
    store.SetAsString(Ini({"[frm]", "a=1", "[FRM\\x]", "b=2", "[frmMain]", "c=3", "[frm2\\y]", "d=4"}));
    store.DeleteSubTree("frm");
    EXPECT_EQ(store.AsString(), Ini({"[frmMain]", "c=3", "", "[frm2\\y]", "d=4", ""}));
}

TEST(ZvIniStore, ListFoldersAreValues) {
    TZvAppIniFileStorage store(nullptr);
    store.SetFlushOnDestroy(false);
    store.Reload();
    store.SetAsString(Ini({"[top\\list]", "Count=2", "Item0=a", "Item1=b", "[top\\mixed]", "Count=1", "Item0=a",
                           "Other=1", "[top\\plain]", "x=1"}));
    TStringList folders;
    store.GetStoredFolders("top", &folders);
    EXPECT_EQ(folders.CommaText(), "plain");
    EXPECT_FALSE(store.PathExists("top\\nothing"));
    EXPECT_TRUE(store.PathExists("top\\list"));
    EXPECT_TRUE(store.PathExists("top"));
}

// ---- Full file names -------------------------------------------------------------------------------

TEST(ZvIniStore, FullFileNameByLocation) {
    TFakeFiles files;
    struct Case {
        TFileLocation Location;
        const char* FileName;
        const char* Full;
    } cases[] = {
        {flExeFile, "Settings.ini", "C:\\Program Files\\Quillmere\\Settings.ini"},
        {flExeFile, "D:\\other\\Settings.ini", "C:\\Program Files\\Quillmere\\Settings.ini"},
        {flWindows, "w.ini", "C:\\Windows\\w.ini"},
        {flTemp, "t.ini", "C:\\Temp\\t.ini"},
        {flUserFolder, "Vendor\\App\\u.ini", "C:\\Users\\me\\AppData\\Roaming\\Vendor\\App\\u.ini"},
        {flUserFolder, "D:\\abs\\u.ini", "C:\\Users\\me\\AppData\\Roaming\\u.ini"},
        {flCustom, "D:\\abs\\c.ini", "D:\\abs\\c.ini"},
        {flExeFile, "Settings", "C:\\Program Files\\Quillmere\\Settings.ini"},
        {flExeFile, "Settings.cfg", "C:\\Program Files\\Quillmere\\Settings.cfg"},
        {flExeFile, "", ""},
    };
    for (const Case& c : cases) {
        TZvAppIniFileStorage store(nullptr);
        store.SetFlushOnDestroy(false);
        store.SetLocation(c.Location);
        store.SetFileName(c.FileName);
        EXPECT_EQ(store.FullFileName(), c.Full) << c.FileName;
    }
    TZvAppIniFileStorage store(nullptr);
    store.SetFlushOnDestroy(false);
    store.SetFileName("%FILENAME%.ini");  // macros expand (no program known here: empty)
    EXPECT_EQ(store.FullFileName(), "C:\\Program Files\\Quillmere\\.ini");
}

class TFileNamer : public TObject {
public:
    void Name(TObject*, String& name) { name = "Z:\\chosen\\" + name; }
};

TEST(ZvIniStore, OnGetFileNameForCustomLocation) {
    TFakeFiles files;
    TZvAppIniFileStorage store(nullptr);
    store.SetFlushOnDestroy(false);
    TFileNamer namer;
    store.SetLocation(flCustom);
    store.SetOnGetFileName(TZvAppStorageGetFileNameEvent::Bind<&TFileNamer::Name>(&namer));
    store.SetFileName("x.ini");
    EXPECT_EQ(store.FullFileName(), "Z:\\chosen\\x.ini");
}

// ---- Reload and flush ----------------------------------------------------------------------------------

TEST_F(ZvIniFile, MissingFileGivesAnEmptyStoreAndDefaults) {
    TErrorLog log;
    auto store = FileStore(Path("none.ini"));
    store->OnError = TZvAppStorageErrorEvent::Bind<&TErrorLog::Error>(&log);
    EXPECT_TRUE(store->FileLoaded());
    EXPECT_EQ(store->ReadInteger("frmMain\\ShowCmd", 5), 5);
    EXPECT_TRUE(log.Messages.empty());
    store->SetFlushOnDestroy(false);
}

TEST_F(ZvIniFile, WritesTheFileByteForByteAndUpdatesInPlace) {
    String name = Path("Settings.ini");
    {
        auto store = FileStore(name);
        store->WriteInteger("frmMain\\FormVersion", 0);
        store->WriteInteger("frmMain\\ShowCmd", 1);
        store->WriteBoolean("frmMain\\LumOfficeCheckBox1_Checked", true);
    }  // flushed on destruction
    EXPECT_EQ(ReadFile(name), Ini({"[frmMain]", "FormVersion=0", "ShowCmd=1", "LumOfficeCheckBox1_Checked=TRUE", ""}));
    {
        auto store = FileStore(name);
        EXPECT_EQ(store->ReadInteger("frmMain\\ShowCmd"), 1);
        store->WriteInteger("frmMain\\ShowCmd", 3);
        store->WriteString("frmMain\\Pager_ActivePage", "Page2");
    }
    EXPECT_EQ(ReadFile(name), Ini({"[frmMain]", "FormVersion=0", "ShowCmd=3", "LumOfficeCheckBox1_Checked=TRUE",
                                   "Pager_ActivePage=Page2", ""}));
}

TEST_F(ZvIniFile, FlushCreatesTheFolderOfTheFullName) {
    String name = Path("deep/er/Settings.ini");
    auto store = FileStore(name);
    store->WriteInteger("s\\v", 1);
    store->Flush();
    EXPECT_EQ(ReadFile(name), Ini({"[s]", "v=1", ""}));
    store->SetFlushOnDestroy(false);
}

TEST_F(ZvIniFile, FlushFailureGoesToOnError) {
    // The folder cannot be made: a file stands where it should be.
    WriteFile(Path("blocker"), "x");
    TErrorLog log;
    auto store = FileStore(Path("blocker/Settings.ini"));
    store->OnError = TZvAppStorageErrorEvent::Bind<&TErrorLog::Error>(&log);
    store->WriteInteger("s\\v", 1);
    EXPECT_NO_THROW(store->Flush());
    ASSERT_EQ(log.Messages.size(), 1u);
    EXPECT_NE(log.Messages[0].find("Cannot create file"), String::npos);
    // Without a handler the failure is silent.
    store->OnError = nullptr;
    EXPECT_NO_THROW(store->Flush());
    store->SetFlushOnDestroy(false);
}

TEST_F(ZvIniFile, UnreadableFileStartsEmptyAndReports) {
    // A file that exists but cannot be read (locked, no access).
    TFakeFiles files;
    WriteFile(Path("Settings.ini"), Ini({"[frmMain]", "ShowCmd=3"}));
    files.Unreadable[Path("Settings.ini")] = true;
    TErrorLog log;
    TZvAppIniFileStorage store(nullptr);
    store.SetFlushOnDestroy(false);
    store.OnError = TZvAppStorageErrorEvent::Bind<&TErrorLog::Error>(&log);
    store.BeginUpdate();
    store.SetLocation(flCustom);
    store.SetFileName(Path("Settings.ini"));
    store.EndUpdate();
    EXPECT_NO_THROW(store.Reload());
    EXPECT_EQ(store.AsString(), "");
    // Content the store held from an earlier read goes too.
    log.Messages.clear();
    store.SetAsString(Ini({"[old]", "v=1"}));
    EXPECT_NO_THROW(store.Reload());
    EXPECT_EQ(store.AsString(), "");
    ASSERT_EQ(log.Messages.size(), 1u);
    EXPECT_NE(log.Messages[0].find("Access is denied"), String::npos);
    EXPECT_EQ(store.ReadInteger("frmMain\\ShowCmd", 4), 4);
}

TEST_F(ZvIniFile, GarbageFileStillReads) {
    String name = Path("Settings.ini");
    static const char bytes[] =
        "\x00\xFF\r\n[frmMain]\r\n=\x01\x02\r\nShowCmd=abc\r\nRadioGroup1_ItemIndex=-1\r\n[frmMain\r\nFlags=2";
    String garbage(bytes, sizeof(bytes) - 1);
    WriteFile(name, garbage);
    auto store = FileStore(name);
    store->SetFlushOnDestroy(false);
    store->StorageOptions()->SetDefaultIfReadConvertError(true);
    EXPECT_EQ(store->ReadInteger("frmMain\\ShowCmd", 1), 1);
    EXPECT_EQ(store->ReadInteger("frmMain\\RadioGroup1_ItemIndex", 0), -1);
    EXPECT_EQ(store->ReadInteger("frmMain\\Flags", 0), 2);
}

TEST_F(ZvIniFile, ReadOnlyFileIsReadButNeverWritten) {
    TFakeFiles files;
    String name = Path("Settings.ini");
    WriteFile(name, Ini({"[frmMain]", "ShowCmd=3"}));
    files.ReadOnlyFiles[name] = true;
    TErrorLog log;
    {
        auto store = FileStore(name);
        store->OnError = TZvAppStorageErrorEvent::Bind<&TErrorLog::Error>(&log);
        EXPECT_TRUE(store->PhysicalReadOnly());
        EXPECT_TRUE(store->ReadOnly());
        EXPECT_FALSE(store->StoredReadOnly());
        EXPECT_EQ(store->ReadInteger("frmMain\\ShowCmd"), 3);
        store->WriteInteger("frmMain\\ShowCmd", 1);
        EXPECT_EQ(store->ReadInteger("frmMain\\ShowCmd"), 3);
    }
    EXPECT_EQ(files.Writes, 0);
    EXPECT_TRUE(log.Messages.empty());
    EXPECT_EQ(ReadFile(name), Ini({"[frmMain]", "ShowCmd=3"}));
}

TEST_F(ZvIniFile, AutoFlushAndAutoReload) {
    String name = Path("auto.ini");
    auto writer = FileStore(name);
    writer->SetAutoFlush(true);
    auto reader = FileStore(name);
    reader->SetAutoReload(true);
    reader->SetFlushOnDestroy(false);
    writer->WriteInteger("s\\v", 7);
    EXPECT_EQ(reader->ReadInteger("s\\v"), 7);
    writer->BeginUpdate();
    writer->WriteInteger("s\\v", 8);
    EXPECT_EQ(reader->ReadInteger("s\\v"), 7);  // no flush while updating
    writer->EndUpdate();
    writer->SetFlushOnDestroy(false);
}

TEST_F(ZvIniFile, SynchronisedFlushAndReload) {
    String name = Path("sync.ini");
    auto store = FileStore(name);
    store->SetSynchronizeFlushReload(true);
    store->WriteInteger("s\\v", 1);
    store->Flush();
    store->SetAsString("");
    store->Reload();
    EXPECT_EQ(store->ReadInteger("s\\v"), 1);
    store->SetFlushOnDestroy(false);
}

class TRefusingLock : public TZvNamedLock {
public:
    explicit TRefusingLock(std::vector<String>& names, const String& name) { names.push_back(name); }
    bool Lock() override { return false; }
    void Unlock() override {}
};

class TRefusingFiles : public TFakeFiles {
public:
    std::unique_ptr<TZvNamedLock> CreateNamedLock(const String& name) override {
        return std::make_unique<TRefusingLock>(LockNames, name);
    }
    std::vector<String> LockNames;
};

TEST_F(ZvIniFile, MutexThatCannotBeHadIsReported) {
    TRefusingFiles files;
    String name = Path("locked.ini");
    TErrorLog log;
    auto store = FileStore(name);
    store->OnError = TZvAppStorageErrorEvent::Bind<&TErrorLog::Error>(&log);
    store->SetSynchronizeFlushReload(true);
    store->WriteInteger("s\\v", 1);
    store->Flush();
    ASSERT_EQ(log.Messages.size(), 1u);
    EXPECT_EQ(log.Messages[0], "TZvCustomAppStorage.Synchronize:" + name + ": Mutex Timeout");
    ASSERT_FALSE(files.LockNames.empty());
    EXPECT_EQ(files.LockNames.back(), Base64Text("TZvCustomAppStorage.Synchronize:" + name));
    EXPECT_FALSE(fs::exists(name));
    store->SetFlushOnDestroy(false);
}

TEST_F(ZvIniFile, AFileNeverReadIsNotOverwrittenWhenTheNameChanges) {
    String first = Path("first.ini"), second = Path("second.ini");
    const String content = Ini({"[keep]", "v=1"});
    WriteFile(first, content);
    TZvAppIniFileStorage store(nullptr);
    store.SetFlushOnDestroy(false);
    store.BeginUpdate();  // no reload: the first file is never read
    store.SetLocation(flCustom);
    store.SetFileName(first);
    store.EndUpdate();
    store.SetFileName(second);
    EXPECT_EQ(ReadFile(first), content);
    EXPECT_FALSE(fs::exists(second));
}

TEST_F(ZvIniFile, ValuesWrittenBeforeTheFileIsReadAreKept) {
    // Without a file: the first read must not empty the store.
    {
        TZvAppIniFileStorage store(nullptr);
        store.SetFlushOnDestroy(false);
        store.WriteInteger("s\\v", 1);
        EXPECT_EQ(store.ReadInteger("s\\v"), 1);
    }
    // With a file not read yet: its values and the written ones together,
    // the written ones over the file's.
    String name = Path("pending.ini");
    WriteFile(name, Ini({"[s]", "a=1", "b=2"}));
    {
        TZvAppIniFileStorage store(nullptr);
        store.BeginUpdate();  // no reload: the file is not read yet
        store.SetLocation(flCustom);
        store.SetFileName(name);
        store.EndUpdate();
        ASSERT_FALSE(store.FileLoaded());
        store.WriteInteger("s\\b", 3);
        store.WriteInteger("t\\c", 4);
        EXPECT_EQ(store.ReadInteger("s\\a"), 1);
        EXPECT_EQ(store.ReadInteger("s\\b"), 3);
        EXPECT_EQ(store.ReadInteger("t\\c"), 4);
    }  // flushed on destruction
    EXPECT_EQ(ReadFile(name), Ini({"[s]", "a=1", "b=3", "", "[t]", "c=4", ""}));
}

TEST_F(ZvIniFile, ValuesDeletedBeforeTheFileIsReadStayDeleted) {
    String name = Path("deleted.ini");
    WriteFile(name, Ini({"[s]", "a=1", "b=2", "", "[s\\sub]", "c=3", "", "[t]", "d=4"}));
    {
        TZvAppIniFileStorage store(nullptr);
        store.BeginUpdate();  // no reload: the file is not read yet
        store.SetLocation(flCustom);
        store.SetFileName(name);
        store.EndUpdate();
        ASSERT_FALSE(store.FileLoaded());
        store.DeleteValue("s\\a");
        store.DeleteSubTree("s\\sub");
        EXPECT_EQ(store.ReadInteger("s\\a", -1), -1);
        EXPECT_EQ(store.ReadInteger("s\\sub\\c", -1), -1);
        EXPECT_EQ(store.ReadInteger("s\\b", -1), 2);
        EXPECT_EQ(store.ReadInteger("t\\d", -1), 4);
    }  // flushed on destruction
    EXPECT_EQ(ReadFile(name), Ini({"[s]", "b=2", "", "[t]", "d=4", ""}));
}

TEST_F(ZvIniFile, ChangingTheFileNameFlushesTheOldFile) {
    String first = Path("first.ini"), second = Path("second.ini");
    WriteFile(second, Ini({"[s]", "v=2"}));
    auto store = FileStore(first);
    store->WriteInteger("s\\v", 1);
    store->SetFileName(second);
    EXPECT_EQ(ReadFile(first), Ini({"[s]", "v=1", ""}));
    EXPECT_EQ(store->ReadInteger("s\\v"), 2);
    store->SetFlushOnDestroy(false);
}

// ---- The program's "Settings.ini" -------------------------------------------------------------------

TEST_F(ZvIniFile, MainFormSettingsFile) {
    String name = Path("Settings.ini");
    {
        auto store = FileStore(name);
        const String s = "frmMain\\";
        store->WriteInteger(s + "FormVersion", 0);
        store->WriteInteger(s + "ShowCmd", 1);
        store->WriteInteger(s + "Flags", 0);
        store->WriteInteger(s + "PixelsPerInch", 96);
        store->WriteString(s + "MinMaxPos(1024x768)", "-1,-1,-1,-1");
        store->WriteString(s + "MinMaxPos", "-1,-1,-1,-1");
        store->WriteString(s + "NormPos(1024x768)", "10,20,630,470");
        store->WriteString(s + "NormPos", "10,20,630,470");
        store->WriteBoolean(s + "LumOfficeCheckBox1_Checked", true);
        store->WriteBoolean(s + "LumOfficeCheckBox2_Checked", false);
        store->WriteInteger(s + "RadioGroup1_ItemIndex", 2);
        store->WriteString(s + "Pager1_ActivePage", "PagerPage2");
    }
    EXPECT_EQ(ReadFile(name),
              Ini({"[frmMain]", "FormVersion=0", "ShowCmd=1", "Flags=0", "PixelsPerInch=96",
                   "MinMaxPos(1024x768)=-1,-1,-1,-1", "MinMaxPos=-1,-1,-1,-1", "NormPos(1024x768)=10,20,630,470",
                   "NormPos=10,20,630,470", "LumOfficeCheckBox1_Checked=TRUE", "LumOfficeCheckBox2_Checked=FALSE",
                   "RadioGroup1_ItemIndex=2", "Pager1_ActivePage=PagerPage2", ""}));
}

}  // namespace

namespace {

TEST(ZvIniStore, UnitRegistersTheStoreForTheStoredLayout) {
    ZvAppStorageInitialize();
    EXPECT_EQ(GetClass("TZvAppIniFileStorage"), TZvAppIniFileStorage::StaticClass());
    const TPropInfo* location = GetPropInfo(TZvAppIniFileStorage::StaticClass(), "Location");
    ASSERT_NE(location, nullptr);
    EXPECT_EQ(location->Default, flExeFile);
    for (const char* name :
         {"AutoFlush", "AutoReload", "FileName", "FlushOnDestroy", "DefaultSection", "SubStorages", "OnGetFileName",
          "SynchronizeFlushReload", "StorageOptions", "ReadOnly", "TranslateStringEngine", "OnTranslatePropertyName",
          "OnEncryptPropertyValue", "OnDecryptPropertyValue", "OnError"})
        EXPECT_NE(GetPropInfo(TZvAppIniFileStorage::StaticClass(), name), nullptr) << name;
    // The nested options are reached by name, as the layout sets them.
    TZvAppIniFileStorage store(nullptr);
    store.SetFlushOnDestroy(false);
    TObject* options = GetObjectProp(&store, "StorageOptions");
    ASSERT_NE(options, nullptr);
    SetStrProp(options, "BooleanStringTrueValues", "TRUE, YES, Y");
    EXPECT_EQ(GetOrdProp(options, "BooleanAsString"), 1);
    SetOrdProp(options, "PreserveLeadingTrailingBlanks", 1);
    EXPECT_TRUE(store.IniStorageOptions()->PreserveLeadingTrailingBlanks());
    ZvAppStorageFinalize();
}

}  // namespace

namespace {

TEST_F(ZvIniFile, StoredLayoutReadsTheFileWhenLoadedAndWritesItWhenFreed) {
    ClasslibCoreInitialize();
    ZvAppStorageInitialize();
    String name = Path("Settings.ini");
    WriteFile(name, Ini({"[frmMain]", "LumOfficeCheckBox1_Checked=TRUE"}));
    String layout = "object Root1: TComponent\r\n"
                    "  object ZvAppIniFileStorage1: TZvAppIniFileStorage\r\n"
                    "    FileName = '" +
                    name +
                    "'\r\n"
                    "    Location = flCustom\r\n"
                    "    StorageOptions.BooleanStringTrueValues = 'TRUE, YES, Y'\r\n"
                    "    StorageOptions.BooleanStringFalseValues = 'FALSE, NO, N'\r\n"
                    "  end\r\n"
                    "end\r\n";
    {
        TComponent root(nullptr);
        TReader(layout).ReadRootComponent(&root);
        auto* store = dynamic_cast<TZvAppIniFileStorage*>(root.FindComponent("ZvAppIniFileStorage1"));
        ASSERT_NE(store, nullptr);
        EXPECT_EQ(store->FullFileName(), name);
        EXPECT_TRUE(store->FileLoaded());
        EXPECT_TRUE(store->ReadBoolean("frmMain\\LumOfficeCheckBox1_Checked", false));
        store->WriteBoolean("frmMain\\LumOfficeCheckBox1_Checked", false);
        EXPECT_EQ(ReadFile(name), Ini({"[frmMain]", "LumOfficeCheckBox1_Checked=TRUE"}));  // memory only
    }
    EXPECT_EQ(ReadFile(name), Ini({"[frmMain]", "LumOfficeCheckBox1_Checked=FALSE", ""}));
    ZvAppStorageFinalize();
}

}  // namespace
