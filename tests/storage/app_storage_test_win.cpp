// The Windows side of the settings store and the unit-version registry:
// the system's file services, locked and read-only files, the named mutex
// of synchronised flushes, shared blocks and the registry's kernel objects.
// (The support routines' start-up, which installs the file services, runs
// once for the whole test program: support/system_info_test_win.cpp.)
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "classlib/core/sysutils.h"
#include "classlib/os/files.h"
#include "classlib/os/win.h"
#include "storage/ini_file_storage.h"
#include "storage/storage_files.h"
#include "storage/support/base64.h"
#include "storage/support/errors.h"
#include "storage/support/unit_versions.h"

namespace {

// A folder of the test's own, removed with everything in it at the end of
// the test program.
String TestFolder(const char* what) {
    struct TFolders {
        std::vector<String> Names;
        ~TFolders() {
            for (const String& name : Names) {
                std::error_code ec;
                std::filesystem::remove_all(std::filesystem::path(name), ec);
            }
        }
    };
    static TFolders folders;
    String dir =
        IncludeTrailingPathDelimiter(GetTempDir()) + "QuillmereStore." + what + "." + IntToStr(GetCurrentProcessId());
    ForceDirectories(dir);
    folders.Names.push_back(dir);
    return dir;
}

String ReadAll(const String& name) { return ZvStorageFileSystem().ReadWholeFile(name); }

class TErrors : public TObject {
public:
    void Error(TObject*, const String& message) { Messages.push_back(message); }
    std::vector<String> Messages;
};

std::unique_ptr<TZvAppIniFileStorage> CustomStore(const String& fullName, TErrors* errors) {
    auto store = std::make_unique<TZvAppIniFileStorage>(nullptr);
    if (errors) store->OnError = TZvAppStorageErrorEvent::Bind<&TErrors::Error>(errors);
    store->SetLocation(flCustom);
    store->SetFileName(fullName);
    return store;
}

// ---- The file services ---------------------------------------------------------------------

TEST(ZvStoreWindows, SettingsFileLivesBesideTheProgram) {
    TZvAppIniFileStorage store(nullptr);
    store.SetFlushOnDestroy(false);
    store.SetFileName("Settings.ini");
    EXPECT_EQ(store.Location(), flExeFile);
    EXPECT_TRUE(SameText(store.FullFileName(), ApplicationFolder() + "Settings.ini")) << store.FullFileName();
    store.SetLocation(flTemp);
    EXPECT_TRUE(SameText(store.FullFileName(), IncludeTrailingPathDelimiter(GetTempDir()) + "Settings.ini"));
}

TEST(ZvStoreWindows, FlushCreatesFoldersAndReplacesTheFile) {
    String dir = TestFolder("Flush");
    String name = dir + "\\a\\b\\Settings.ini";
    {
        auto store = CustomStore(name, nullptr);
        store->WriteBoolean("frmMain\\LumOfficeCheckBox1_Checked", false);
    }
    EXPECT_EQ(ReadAll(name), "[frmMain]\r\nLumOfficeCheckBox1_Checked=FALSE\r\n\r\n");
    {
        auto store = CustomStore(name, nullptr);
        EXPECT_FALSE(store->ReadBoolean("frmMain\\LumOfficeCheckBox1_Checked", true));
        store->WriteBoolean("frmMain\\LumOfficeCheckBox1_Checked", true);
    }
    EXPECT_EQ(ReadAll(name), "[frmMain]\r\nLumOfficeCheckBox1_Checked=TRUE\r\n\r\n");
}

TEST(ZvStoreWindows, LockedFileStartsEmptyAndReports) {
    String dir = TestFolder("Locked");
    String name = dir + "\\Settings.ini";
    ReplaceFileContents(name, String("[frmMain]\r\nShowCmd=3\r\n"));
    HANDLE lock = CreateFileA(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    TErrors errors;
    {
        auto store = CustomStore(name, &errors);
        store->SetFlushOnDestroy(false);
        EXPECT_EQ(store->ReadInteger("frmMain\\ShowCmd", 1), 1);
        EXPECT_EQ(store->AsString(), "");
    }
    CloseHandle(lock);
    ASSERT_EQ(errors.Messages.size(), 1u);
    // Without OnError the program goes on just the same.
    lock = CreateFileA(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    {
        auto store = CustomStore(name, nullptr);
        store->SetFlushOnDestroy(false);
        EXPECT_EQ(store->ReadInteger("frmMain\\ShowCmd", 1), 1);
    }
    CloseHandle(lock);
    auto store = CustomStore(name, nullptr);
    store->SetFlushOnDestroy(false);
    EXPECT_EQ(store->ReadInteger("frmMain\\ShowCmd", 1), 3);
}

TEST(ZvStoreWindows, ReadOnlyFileIsNeverWritten) {
    String dir = TestFolder("ReadOnly");
    String name = dir + "\\Settings.ini";
    const String content = "[frmMain]\r\nShowCmd=3\r\n";
    ReplaceFileContents(name, content);
    ASSERT_EQ(FileSetAttr(name, faReadOnly), 0);
    TErrors errors;
    {
        auto store = CustomStore(name, &errors);
        EXPECT_TRUE(store->PhysicalReadOnly());
        EXPECT_TRUE(store->ReadOnly());
        EXPECT_EQ(store->ReadInteger("frmMain\\ShowCmd"), 3);
        store->WriteInteger("frmMain\\ShowCmd", 1);
        EXPECT_EQ(store->ReadInteger("frmMain\\ShowCmd"), 3);
    }
    EXPECT_TRUE(errors.Messages.empty());
    EXPECT_EQ(ReadAll(name), content);
    FileSetAttr(name, 0);
}

TEST(ZvStoreWindows, SynchronisedFlushTakesAnAbandonedMutex) {
    String dir = TestFolder("Sync");
    String name = dir + "\\Settings.ini";
    String mutexName = Base64Text("TZvCustomAppStorage.Synchronize:" + name);
    // Another owner takes the store's mutex and ends without releasing it.
    std::thread([&] {
        HANDLE m = CreateMutexA(nullptr, FALSE, mutexName.c_str());
        EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0);
    }).join();
    TErrors errors;
    auto store = CustomStore(name, &errors);
    store->SetSynchronizeFlushReload(true);
    store->WriteInteger("s\\v", 5);
    store->Flush();
    EXPECT_TRUE(errors.Messages.empty());
    EXPECT_EQ(ReadAll(name), "[s]\r\nv=5\r\n\r\n");
    store->SetAsString("");
    store->Reload();
    EXPECT_EQ(store->ReadInteger("s\\v"), 5);
    // The mutex is free again: someone else can take it at once.
    HANDLE m = CreateMutexA(nullptr, FALSE, mutexName.c_str());
    EXPECT_EQ(WaitForSingleObject(m, 0), WAIT_OBJECT_0);
    ReleaseMutex(m);
    CloseHandle(m);
    store->SetFlushOnDestroy(false);
}

// ---- Shared blocks ----------------------------------------------------------------------------

TEST(ZevSharedBlock, OpenTwiceSharesTheViewUntilTheLastClose) {
    String name = "QuillmereTest.Block." + IntToStr(GetCurrentProcessId());
    void* first = nullptr;
    void* second = nullptr;
    EXPECT_EQ(OpenSharedBlock(first, name, 16, FILE_MAP_ALL_ACCESS), 0u);
    ASSERT_NE(first, nullptr);
    static_cast<char*>(first)[0] = 'Q';
    EXPECT_EQ(OpenSharedBlock(second, name, 16, FILE_MAP_ALL_ACCESS), ZevErrorAlreadyExists);
    EXPECT_EQ(second, first);
    void* copy = first;
    EXPECT_TRUE(CloseSharedBlock(second));
    EXPECT_EQ(second, nullptr);
    // Still mapped for the first reference.
    EXPECT_EQ(static_cast<char*>(copy)[0], 'Q');
    EXPECT_TRUE(CloseSharedBlock(first));
    // Unmapped now: the view is no longer ours.
    EXPECT_FALSE(CloseSharedBlock(copy));
    void* empty = nullptr;
    EXPECT_TRUE(CloseSharedBlock(empty));
    int local = 0;
    void* never = &local;
    EXPECT_FALSE(CloseSharedBlock(never));
    EXPECT_EQ(never, &local);
}

TEST(ZevSharedBlock, MissingBlockOfSizeZero) {
    void* view = nullptr;
    try {
        OpenSharedBlock(view, "QuillmereTest.Empty." + IntToStr(GetCurrentProcessId()), 0, FILE_MAP_ALL_ACCESS);
        FAIL();
    } catch (const ESharedMemError& e) {
        EXPECT_NE(String(e.what()).find("cannot be created empty"), String::npos);
    }
}

// ---- The registry --------------------------------------------------------------------------------

TEST(ZevUnitVersionRegistry, NamesCarryTheProcessId) {
    String id = IntToStr(GetCurrentProcessId());
    EXPECT_EQ(UnitVersioningMutexName(), "MutexZEV_UnitVersioning_" + id);
    EXPECT_EQ(UnitVersioningBlockName(), "ShmZEV_UnitVersioning_" + id);
}

TEST(ZevUnitVersionRegistry, OneRegistryForEveryModuleOfTheProcess) {
    TUnitVersioning* registry = UnitVersionRegistry();
    ASSERT_NE(registry, nullptr);
    EXPECT_EQ(UnitVersionRegistry(), registry);
    // The kernel objects exist under their names.
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, UnitVersioningMutexName().c_str());
    EXPECT_NE(mutex, nullptr);
    CloseHandle(mutex);
    HANDLE block = OpenFileMappingA(FILE_MAP_READ, FALSE, UnitVersioningBlockName().c_str());
    EXPECT_NE(block, nullptr);
    CloseHandle(block);

    // A second module finds the same registry through the shared block.
    {
        TUnitVersionRegistryLink other;
        EXPECT_EQ(other.Registry(), registry);
        EXPECT_FALSE(other.CreatedRegistry());
        static const TUnitVersionInfo info = {"$URL: other $", "$Revision: 1 $", "", "", "", nullptr};
        int otherModule = 0;
        other.Registry()->Add(&otherModule, &info);
        other.Registry()->Add(&otherModule, &info);
        EXPECT_EQ(registry->FindModule(&otherModule)->Count(), 1);
        registry->UnregisterModule(&otherModule);
        // A module that did not make the registry leaves it in place.
        other.Close();
        EXPECT_EQ(other.Registry(), nullptr);
    }
    EXPECT_EQ(UnitVersionRegistry(), registry);
    EXPECT_TRUE(ModuleUnitVersionRegistry().CreatedRegistry());
}

TEST(ZevUnitVersionRegistry, StartupAndShutdown) {
    ZevUnitVersionsInitialize();
    TUnitVersioning* registry = UnitVersionRegistry();
    ASSERT_NE(registry, nullptr);
    ASSERT_GE(registry->ModuleCount(), 1);
    const TUnitVersioningModule& module = registry->Modules(registry->ModuleCount() - 1);
    EXPECT_EQ(module.Count(), ZevUnitVersionCount());
    EXPECT_EQ(module.Items(0).Info(), ZevUnitVersionRecord(0));
    ZevUnitVersionsInitialize();  // the same records again: listed once
    EXPECT_EQ(module.Count(), ZevUnitVersionCount());

    ZevUnitVersionsFinalize();
    EXPECT_EQ(UnitVersionRegistry(), nullptr);
    // After shutdown nothing happens and nothing is raised.
    static const TUnitVersionInfo late = {"", "", "", "", "", nullptr};
    EXPECT_NO_THROW(AddUnitVersion(&late, &late));
    EXPECT_NO_THROW(DropModuleVersions(&late));
    EXPECT_EQ(UnitVersionRegistry(), nullptr);
}

}  // namespace
