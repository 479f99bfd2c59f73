#include "classlib/os/files.h"

#include "classlib/os/win.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ::testing::UnorderedElementsAre;

namespace {

void WriteText(const String& fileName, const String& text) {
    HANDLE h = CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << fileName;
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
    ASSERT_EQ(written, text.size());
}

String ReadText(const String& fileName) {
    HANDLE h = CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    String text;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(h, buffer, sizeof(buffer), &n, nullptr) && n > 0) text.append(buffer, n);
    CloseHandle(h);
    return text;
}

void RemoveTree(const String& dir) {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            String name = data.cFileName;
            if (name == "." || name == "..") continue;
            String path = dir + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(h, &data));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

// Each test gets an empty folder of its own below the temporary folder.
class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        FDir = GetTempDir() + "qm_os_" + std::to_string(GetCurrentProcessId()) + "_" + info->name();
        RemoveTree(FDir);
        ASSERT_TRUE(CreateDirectoryA(FDir.c_str(), nullptr)) << FDir;
    }
    void TearDown() override { RemoveTree(FDir); }

    String Path(const String& name) const { return FDir + "\\" + name; }

    // The names FindFirst/FindNext report for a mask, in any order.
    static std::vector<String> Found(const String& mask, int attr) {
        std::vector<String> names;
        TSearchRec rec;
        if (FindFirst(mask, attr, rec) == 0) {
            do names.push_back(rec.Name);
            while (FindNext(rec) == 0);
            FindClose(rec);
        }
        return names;
    }

    std::vector<String> FolderContent() const { return Found(Path("*"), faAnyFile); }

    String FDir;
};

TEST_F(FilesTest, ExistenceTests) {
    WriteText(Path("file.txt"), "x");
    CreateDirectoryA(Path("folder").c_str(), nullptr);
    struct Case {
        String name;
        bool file, dir;
    };
    const Case cases[] = {
        {Path("file.txt"), true, false},
        {Path("folder"), false, true},
        {Path("folder\\"), false, true},
        {Path("missing"), false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileExists(c.name), c.file);
        EXPECT_EQ(DirectoryExists(c.name), c.dir);
    }
}

TEST_F(FilesTest, ForceDirectoriesCreatesEveryMissingLevel) {
    EXPECT_TRUE(ForceDirectories(Path("a\\b\\c")));
    EXPECT_TRUE(DirectoryExists(Path("a\\b\\c")));
    EXPECT_TRUE(ForceDirectories(Path("a\\b\\c\\")));   // already there
    EXPECT_TRUE(ForceDirectories(Path("d/e\\\\f\\")));  // mixed and doubled separators
    EXPECT_TRUE(DirectoryExists(Path("d\\e\\f")));
    EXPECT_TRUE(ForceDirectories("C:\\"));

    WriteText(Path("file"), "x");
    EXPECT_FALSE(ForceDirectories(Path("file\\sub")));  // a file is in the way
    EXPECT_THROW(ForceDirectories(""), EInOutError);
}

TEST_F(FilesTest, CreateRemoveRenameDelete) {
    EXPECT_TRUE(CreateDir(Path("dir")));
    EXPECT_FALSE(CreateDir(Path("dir")));
    EXPECT_FALSE(CreateDir(Path("no\\parent")));
    EXPECT_TRUE(RemoveDir(Path("dir")));
    EXPECT_FALSE(DirectoryExists(Path("dir")));

    WriteText(Path("old.txt"), "content");
    WriteText(Path("taken.txt"), "other");
    EXPECT_FALSE(RenameFile(Path("old.txt"), Path("taken.txt")));
    EXPECT_TRUE(RenameFile(Path("old.txt"), Path("new.txt")));
    EXPECT_EQ(ReadText(Path("new.txt")), "content");
    EXPECT_FALSE(FileExists(Path("old.txt")));
    EXPECT_TRUE(DeleteFile(Path("new.txt")));
    EXPECT_FALSE(DeleteFile(Path("new.txt")));
}

TEST_F(FilesTest, Attributes) {
    WriteText(Path("f.txt"), "x");
    EXPECT_EQ(FileGetAttr(Path("missing")), -1);
    EXPECT_EQ(FileSetAttr(Path("f.txt"), faReadOnly | faHidden), 0);
    int attr = FileGetAttr(Path("f.txt"));
    EXPECT_TRUE(attr & faReadOnly);
    EXPECT_TRUE(attr & faHidden);
    EXPECT_FALSE(attr & faDirectory);
    EXPECT_TRUE(FileGetAttr(FDir) & faDirectory);
    EXPECT_NE(FileSetAttr(Path("missing"), faArchive), 0);
    FileSetAttr(Path("f.txt"), faArchive);
}

TEST_F(FilesTest, FindFirstFiltersByMaskAndAttributes) {
    WriteText(Path("one.dat"), "12345");
    WriteText(Path("two.dat"), "");
    WriteText(Path("other.col"), "x");
    WriteText(Path("hidden.dat"), "x");
    FileSetAttr(Path("hidden.dat"), faHidden);
    CreateDirectoryA(Path("folder.dat").c_str(), nullptr);

    // Plain files always; folders and hidden files only when asked for.
    EXPECT_THAT(Found(Path("*.dat"), 0), UnorderedElementsAre("one.dat", "two.dat"));
    EXPECT_THAT(Found(Path("*.dat"), faHidden), UnorderedElementsAre("one.dat", "two.dat", "hidden.dat"));
    EXPECT_THAT(Found(Path("*.dat"), faDirectory), UnorderedElementsAre("one.dat", "two.dat", "folder.dat"));
    EXPECT_THAT(Found(Path("*.dat"), faAnyFile),
                UnorderedElementsAre("one.dat", "two.dat", "hidden.dat", "folder.dat"));
    // A doubled separator behind the folder counts as one.
    EXPECT_THAT(Found(FDir + "\\\\*.col", faAnyFile), UnorderedElementsAre("other.col"));
    EXPECT_THAT(Found(Path("*.none"), faAnyFile), UnorderedElementsAre());
}

TEST_F(FilesTest, SearchRecordDescribesTheEntry) {
    WriteText(Path("one.dat"), "12345");
    CreateDirectoryA(Path("sub").c_str(), nullptr);
    TSearchRec rec;
    ASSERT_EQ(FindFirst(Path("one.dat"), faAnyFile, rec), 0);
    EXPECT_EQ(rec.Name, "one.dat");
    EXPECT_EQ(rec.Size, 5);
    EXPECT_FALSE(rec.Attr & faDirectory);
    EXPECT_NE(rec.Time, 0);
    EXPECT_NE(FindNext(rec), 0);
    FindClose(rec);
    FindClose(rec);  // a second close is harmless

    ASSERT_EQ(FindFirst(Path("sub"), faDirectory, rec), 0);
    EXPECT_TRUE(rec.Attr & faDirectory);
    EXPECT_NE(FindFirst(Path("sub"), 0, rec), 0);  // the only match is excluded
    EXPECT_EQ(rec.FindHandle, nullptr);
    EXPECT_NE(FindFirst(Path("missing\\*.dat"), faAnyFile, rec), 0);
    EXPECT_EQ(rec.FindHandle, nullptr);
    EXPECT_NE(FindNext(rec), 0);
}

TEST_F(FilesTest, CopyFailsWhenTheTargetExistsAndAskedTo) {
    WriteText(Path("src.dat"), "new");
    WriteText(Path("dst.dat"), "old");
    EXPECT_FALSE(CopyFileTo(Path("src.dat"), Path("dst.dat"), true));
    EXPECT_EQ(ReadText(Path("dst.dat")), "old");
    EXPECT_TRUE(CopyFileTo(Path("src.dat"), Path("fresh.dat"), true));
    EXPECT_EQ(ReadText(Path("fresh.dat")), "new");
    EXPECT_TRUE(CopyFileTo(Path("src.dat"), Path("dst.dat"), false));
    EXPECT_EQ(ReadText(Path("dst.dat")), "new");
    EXPECT_FALSE(CopyFileTo(Path("missing.dat"), Path("x.dat"), true));
    EXPECT_FALSE(CopyFileTo(Path("src.dat"), Path("no\\folder\\x.dat"), true));
}

TEST_F(FilesTest, ReplaceFileContentsWritesTheNewContent) {
    ReplaceFileContents(Path("new.ini"), String("[a]\r\nk=v\r\n"));
    EXPECT_EQ(ReadText(Path("new.ini")), "[a]\r\nk=v\r\n");
    WriteText(Path("settings.ini"), "old content that is longer than the new one");
    ReplaceFileContents(Path("settings.ini"), String("short"));
    EXPECT_EQ(ReadText(Path("settings.ini")), "short");
    ReplaceFileContents(Path("settings.ini"), nullptr, 0);
    EXPECT_EQ(ReadText(Path("settings.ini")), "");
    EXPECT_THAT(FolderContent(), UnorderedElementsAre(".", "..", "new.ini", "settings.ini"));
}

TEST_F(FilesTest, ReplaceFileContentsKeepsAttributes) {
    WriteText(Path("settings.ini"), "old");
    ASSERT_EQ(FileSetAttr(Path("settings.ini"), faHidden | faArchive), 0);
    ReplaceFileContents(Path("settings.ini"), String("new"));
    EXPECT_EQ(ReadText(Path("settings.ini")), "new");
    EXPECT_TRUE(FileGetAttr(Path("settings.ini")) & faHidden);
}

// On failure the old file stays whole and nothing is left beside it.
TEST_F(FilesTest, ReplaceFileContentsLeavesTheOldFileOnFailure) {
    WriteText(Path("readonly.ini"), "old");
    FileSetAttr(Path("readonly.ini"), faReadOnly);
    try {
        ReplaceFileContents(Path("readonly.ini"), String("new"));
        ADD_FAILURE() << "no exception";
    } catch (const EFCreateError& e) {
        EXPECT_THAT(e.Message(), ::testing::StartsWith("Cannot create file \"" + Path("readonly.ini") + "\". "));
    }
    EXPECT_EQ(ReadText(Path("readonly.ini")), "old");
    FileSetAttr(Path("readonly.ini"), faArchive);

    // The file is held open without sharing delete access: it cannot be
    // replaced at the last step.
    WriteText(Path("busy.ini"), "old");
    HANDLE busy = CreateFileA(Path("busy.ini").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(busy, INVALID_HANDLE_VALUE);
    EXPECT_THROW(ReplaceFileContents(Path("busy.ini"), String("new")), EFCreateError);
    CloseHandle(busy);
    EXPECT_EQ(ReadText(Path("busy.ini")), "old");

    EXPECT_THROW(ReplaceFileContents(Path("no\\folder\\x.ini"), String("new")), EFCreateError);
    EXPECT_THAT(FolderContent(), UnorderedElementsAre(".", "..", "readonly.ini", "busy.ini"));
}

// A write cut short (the program killed while it wrote) leaves the new
// content's file beside the old one; the next write that succeeds removes
// it. What is not such a leftover of this very file, or is still being
// written, stays.
TEST_F(FilesTest, ReplaceFileContentsRemovesWhatWritesCutShortLeft) {
    struct Case {
        const char* Name;
        bool Removed;
    } cases[] = {
        {"Settings.ini.~0012AB34.tmp", true},
        {"settings.INI.~FFFFFFFF.TMP", true},  // names are the same in any case
        {"Settings.ini.~00000000.tmp", true},
        {"Settings.ini.~0012AB3.tmp", false},    // not eight digits
        {"Settings.ini.~0012AB345.tmp", false},  // nor nine
        {"Settings.ini.~0012AX34.tmp", false},   // not hexadecimal
        {"Settings.ini.~0012AB34.tmp.bak", false},
        {"Other.ini.~0012AB34.tmp", false},  // another file's
        {"XSettings.ini.~0012AB34.tmp", false},
        {"qm1A2B.tmp", false},
        {"Settings.ini.~1234ABCD.tmp", false},  // held open by a write in progress
    };
    WriteText(Path("Settings.ini"), "old");
    for (const Case& c : cases) WriteText(Path(c.Name), "[frmMain]\r\nRadio");
    CreateDirectoryA(Path("Settings.ini.~00C0FFEE.tmp").c_str(), nullptr);
    HANDLE inProgress =
        CreateFileA(Path("Settings.ini.~1234ABCD.tmp").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(inProgress, INVALID_HANDLE_VALUE);

    // A write that fails removes nothing.
    FileSetAttr(Path("Settings.ini"), faReadOnly);
    EXPECT_THROW(ReplaceFileContents(Path("Settings.ini"), String("new")), EFCreateError);
    FileSetAttr(Path("Settings.ini"), faArchive);
    for (const Case& c : cases) EXPECT_TRUE(FileExists(Path(c.Name))) << c.Name;

    ReplaceFileContents(Path("Settings.ini"), String("new"));
    CloseHandle(inProgress);
    EXPECT_EQ(ReadText(Path("Settings.ini")), "new");
    for (const Case& c : cases) EXPECT_EQ(FileExists(Path(c.Name)), !c.Removed) << c.Name;
    EXPECT_TRUE(DirectoryExists(Path("Settings.ini.~00C0FFEE.tmp")));
    RemoveDirectoryA(Path("Settings.ini.~00C0FFEE.tmp").c_str());

    // A write of another file in the same folder leaves this file's alone.
    WriteText(Path("Settings.ini.~0012AB34.tmp"), "[frmMain]");
    ReplaceFileContents(Path("Other.ini"), String("other"));
    EXPECT_TRUE(FileExists(Path("Settings.ini.~0012AB34.tmp")));
    EXPECT_FALSE(FileExists(Path("Other.ini.~0012AB34.tmp")));
}

TEST(ProgramPath, NamesThisTestProgram) {
    String exe = ApplicationExeName();
    EXPECT_EQ(ParamStr(0), exe);
    EXPECT_TRUE(FileExists(exe)) << exe;
    String lower = exe;
    for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    EXPECT_THAT(lower, ::testing::EndsWith("\\classlib_os_tests.exe"));

    String folder = ApplicationFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_EQ(exe.substr(0, folder.size()), folder);
    EXPECT_TRUE(DirectoryExists(folder));

    EXPECT_GE(ParamCount(), 0);
    EXPECT_EQ(ParamStr(ParamCount() + 1), "");
    EXPECT_EQ(ParamStr(-1), "");
}

TEST(SystemFolders, WindowsAndTemporaryFolders) {
    String windows = GetWindowsDir();
    EXPECT_TRUE(DirectoryExists(windows)) << windows;
    ASSERT_FALSE(windows.empty());
    EXPECT_NE(windows.back(), '\\');
    String temp = GetTempDir();
    EXPECT_TRUE(DirectoryExists(temp)) << temp;
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '\\');
}

TEST(OSErrors, MessageCarriesTheCodeAndTheSystemText) {
    String text = SysErrorMessage(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '.');
    EXPECT_NE(text.back(), '\n');
    try {
        RaiseLastOSError(ERROR_FILE_NOT_FOUND);
    } catch (const EOSError& e) {
        EXPECT_EQ(e.Message(), "System Error.  Code: 2.\r\n" + text);
        EXPECT_EQ(e.ErrorCode, 2u);
    }
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_THROW(RaiseLastOSError(), EOSError);
    try {
        RaiseLastOSError(0);
    } catch (const EOSError& e) {
        EXPECT_EQ(e.Message(), "A call to an OS function failed");
    }
}

}  // namespace
