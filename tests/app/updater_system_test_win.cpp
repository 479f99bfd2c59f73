// The settings updater on the real system (Wine in the test runs): registry
// keys in the 32-bit view below HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER,
// a temporary folder for the program and the compilers, and the
// application's message boxes answered by the test.
#include "app/updater_system_win.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/settings_updater.h"
#include "app_test_support_win.h"

namespace {

using Strings = std::vector<String>;

class UpdaterSystemWin : public testing::Test {
protected:
    TWindowChoices Choices() const {
        TWindowChoices c;
        c.FamilyIndex = 0;
        c.Family = Family;
        c.LayoutCount = 2;
        c.LayoutIndex = 1;
        c.SchemeCount = 2;
        c.SchemeIndex = 1;
        return c;
    }
    String Key(const String& caption) const { return box.Key(caption); }
    void SetDefault(HKEY root, const String& caption, DWORD type, const void* data, DWORD size) {
        box.SetDefault(root, caption, type, data, size);
    }
    void SetFolder(HKEY root, const String& caption, const String& folder, DWORD type = REG_SZ,
                   REGSAM view = KEY_WOW64_32KEY) {
        box.SetFolder(root, caption, folder, type, view);
    }
    static void WriteFile(const String& name, const String& bytes) { TTestSandbox::WriteFile(name, bytes); }
    static String ReadBytes(const String& name) { return TTestSandbox::ReadBytes(name); }

    TTestSandbox box;
    TMessageLog log;
    const String& Family = box.Family;
    const String& Root = box.Root;
    const String& Program = box.Program;
    Strings& Messages = log.Messages;
};

}  // namespace

TEST_F(UpdaterSystemWin, DefaultValueReadsAsTextOnlyWhenItIsText) {
    TWindowsUpdaterSystem sys(Program);
    SetFolder(HKEY_LOCAL_MACHINE, "mikroC PRO", "C:\\mC");
    SetFolder(HKEY_CURRENT_USER, "mikroPascal PRO", "%ProgramFiles%\\mP", REG_EXPAND_SZ);
    const DWORD number = 7;
    SetDefault(HKEY_LOCAL_MACHINE, "mikroBasic PRO", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(sys.ReadKeyDefault(rrLocalMachine, Key("mikroC PRO")), "C:\\mC");
    EXPECT_EQ(sys.ReadKeyDefault(rrCurrentUser, Key("mikroC PRO")), "");
    EXPECT_EQ(sys.ReadKeyDefault(rrCurrentUser, Key("mikroPascal PRO")), "%ProgramFiles%\\mP");
    EXPECT_EQ(sys.ReadKeyDefault(rrLocalMachine, Key("mikroBasic PRO")), "") << "a number names no folder";
    EXPECT_EQ(sys.ReadKeyDefault(rrLocalMachine, Key("no such compiler")), "");
}

TEST_F(UpdaterSystemWin, KeyWithoutDefaultValueOrOnlyInTheOtherViewIsNotFound) {
    TWindowsUpdaterSystem sys(Program);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, Key("mikroC PRO").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("7.0"), 4);
    RegCloseKey(key);
    EXPECT_EQ(sys.ReadKeyDefault(rrLocalMachine, Key("mikroC PRO")), "");
    SetFolder(HKEY_LOCAL_MACHINE, "mikroPascal PRO", "C:\\64", REG_SZ, KEY_WOW64_64KEY);
    EXPECT_EQ(sys.ReadKeyDefault(rrLocalMachine, Key("mikroPascal PRO")), "");
}

TEST_F(UpdaterSystemWin, CurrentUserFallbackAndTheProbe) {
    TWindowsUpdaterSystem sys(Program);
    TSettingsUpdater updater(sys);
    const DWORD number = 1;
    // mikroC: a number for the machine, the folder for the user.
    SetDefault(HKEY_LOCAL_MACHINE, "mikroC PRO", REG_DWORD, &number, sizeof number);
    SetFolder(HKEY_CURRENT_USER, "mikroC PRO", Root + "mikroC");
    // mikroPascal: recorded, but its folder was removed since.
    SetFolder(HKEY_LOCAL_MACHINE, "mikroPascal PRO", Root + "gone");
    EXPECT_EQ(updater.GetPath("mikroC PRO", Choices(), true), Root + "mikroC\\");
    EXPECT_EQ(updater.ProbeCompilers(Choices()), (std::array<bool, 3>{true, false, false}));
    TWindowChoices none = Choices();
    none.FamilyIndex = -1;
    none.Family = "";
    EXPECT_EQ(updater.ProbeCompilers(none), (std::array<bool, 3>{false, false, false}));
    EXPECT_TRUE(Messages.empty());
}

TEST_F(UpdaterSystemWin, ListsTakeOnlyTheExactExtension) {
    TWindowsUpdaterSystem sys(Program);
    TSettingsUpdater updater(sys);
    for (const char* name : {"my.layout.dat", "Old.data", "UPPER.DAT", "notes.txt"})
        WriteFile(Program + "Layouts\\" + name, "x");
    ASSERT_TRUE(CreateDir(Program + "Layouts\\Folder.dat"));
    Strings entries = updater.ListEntries(kLayoutList);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries[0], "------------");
    std::sort(entries.begin() + 1, entries.end());
    // Folders are listed as the search finds them; "Old.data" is not,
    // whether or not the system's search matched it.
    EXPECT_EQ(entries, (Strings{"------------", "Debug Wide", "Folder", "UPPER", "my.layout"}));
    EXPECT_EQ(updater.ListEntries(kColorSchemeList), (Strings{"------------", "Dark"}));
    EXPECT_TRUE(Messages.empty());
}

TEST_F(UpdaterSystemWin, EmptyOrMissingFoldersSaySoWithLineFeedBeforeCarriageReturn) {
    TWindowsUpdaterSystem sys(Program);
    TSettingsUpdater updater(sys);
    ASSERT_TRUE(DeleteFile(Program + "Layouts\\Debug Wide.dat"));
    std::filesystem::remove_all(Program + "Color Schemes");
    Strings layouts, schemes;
    updater.FillList(kLayoutList, [&](const String& entry) { layouts.push_back(entry); });
    updater.FillList(kColorSchemeList, [&](const String& entry) { schemes.push_back(entry); });
    EXPECT_EQ(layouts, Strings{"------------"});
    EXPECT_EQ(schemes, Strings{"------------"});
    EXPECT_EQ(Messages, (Strings{"No layout files (*.dat) found in\n\r" + Program + "Layouts\\ folder.",
                                 "No color scheme files (*.col) found in\n\r" + Program + "Color Schemes\\ folder."}));
}

TEST_F(UpdaterSystemWin, CompilerButtonRewritesTheFileAndCopiesTheLayout) {
    TWindowsUpdaterSystem sys(Program);
    TSettingsUpdater updater(sys);
    SetFolder(HKEY_LOCAL_MACHINE, "mikroC PRO", Root + "mikroC");
    EXPECT_EQ(updater.ChangeCompiler("mikroC PRO", Choices(), StartOptions()), 0);
    EXPECT_EQ(ReadBytes(Root + "mikroC\\settings.ini"), ReadFixture("mikroc_pic_settings.expected.ini"));
    EXPECT_EQ(ReadBytes(Root + "mikroC\\Layouts\\Debug Wide.dat"), "layout bytes");
    EXPECT_EQ(Messages, Strings{"mikroC PRO " + Family + " settings succesfully changed."});
    // Nothing but the file itself is left in the folder.
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(Root + "mikroC")) entries += e.is_regular_file();
    EXPECT_EQ(entries, 1);
}

TEST_F(UpdaterSystemWin, ExistingLayoutInTheCompilerIsKept) {
    TWindowsUpdaterSystem sys(Program);
    TSettingsUpdater updater(sys);
    SetFolder(HKEY_LOCAL_MACHINE, "mikroC PRO", Root + "mikroC");
    WriteFile(Root + "mikroC\\Layouts\\Debug Wide.dat", "the compiler's own");
    EXPECT_EQ(updater.ImportSettings("mikroC PRO", Choices(), StartOptions()), 0);
    EXPECT_EQ(ReadBytes(Root + "mikroC\\Layouts\\Debug Wide.dat"), "the compiler's own");
}

TEST_F(UpdaterSystemWin, LayoutThatCannotBeCopiedLeavesTheSettingsAsTheyWere) {
    TWindowsUpdaterSystem sys(Program);
    TSettingsUpdater updater(sys);
    SetFolder(HKEY_LOCAL_MACHINE, "mikroC PRO", Root + "mikroC");
    std::filesystem::remove_all(Root + "mikroC\\Layouts");
    const String before = ReadBytes(Root + "mikroC\\settings.ini");
    EXPECT_EQ(updater.ChangeCompiler("mikroC PRO", Choices(), StartOptions()), 1);
    EXPECT_EQ(ReadBytes(Root + "mikroC\\settings.ini"), before);
    EXPECT_EQ(Messages, Strings{LayoutNotCopiedMessage(Program + "Layouts\\Debug Wide.dat",
                                                       Root + "mikroC\\Layouts\\Debug Wide.dat")});
}

TEST_F(UpdaterSystemWin, MissingSettingsFileOrFolderFailsSilently) {
    TWindowsUpdaterSystem sys(Program);
    TSettingsUpdater updater(sys);
    SetFolder(HKEY_LOCAL_MACHINE, "mikroC PRO", Root + "mikroC");
    SetFolder(HKEY_CURRENT_USER, "mikroPascal PRO", Root + "gone");
    ASSERT_TRUE(DeleteFile(Root + "mikroC\\settings.ini"));
    EXPECT_EQ(updater.ChangeCompiler("mikroC PRO", Choices(), StartOptions()), 1);
    EXPECT_EQ(updater.ChangeCompiler("mikroPascal PRO", Choices(), StartOptions()), 1);
    EXPECT_EQ(updater.ChangeCompiler("mikroBasic PRO", Choices(), StartOptions()), 1);
    EXPECT_TRUE(Messages.empty());
    EXPECT_EQ(updater.ChangeAllCompilers(Choices(), StartOptions()), 3);
    EXPECT_EQ(Messages, Strings{"0 out of 3 settings succesfully changed."});
}

TEST_F(UpdaterSystemWin, ReadOnlySettingsFileRaisesAndStaysIntact) {
    TWindowsUpdaterSystem sys(Program);
    TSettingsUpdater updater(sys);
    SetFolder(HKEY_LOCAL_MACHINE, "mikroC PRO", Root + "mikroC");
    const String file = Root + "mikroC\\settings.ini";
    const String before = ReadBytes(file);
    ASSERT_EQ(FileSetAttr(file, faReadOnly), 0);
    EXPECT_THROW(updater.ChangeCompiler("mikroC PRO", Choices(), StartOptions()), EFCreateError);
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_TRUE(FileGetAttr(file) & faReadOnly);
    EXPECT_TRUE(Messages.empty()) << "no success message";
}

// A file that cannot be read to its end is an error, never the part that
// could be read (which the rewrite would save in its place). A pipe has no
// size and ends early.
TEST_F(UpdaterSystemWin, FileThatCannotBeReadWholeRaises) {
    const char* name = "\\\\.\\pipe\\qm-updater-read-test";
    HANDLE server = CreateNamedPipeA(name, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096, 4096, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    TWindowsUpdaterSystem sys(Program);
    EXPECT_THROW(sys.ReadFile(name), EReadError);
    CloseHandle(server);
}

TEST_F(UpdaterSystemWin, SavedFileKeepsItsHiddenAttribute) {
    TWindowsUpdaterSystem sys(Program);
    TSettingsUpdater updater(sys);
    SetFolder(HKEY_LOCAL_MACHINE, "mikroC PRO", Root + "mikroC");
    const String file = Root + "mikroC\\settings.ini";
    ASSERT_EQ(FileSetAttr(file, faHidden), 0);
    EXPECT_EQ(updater.ImportSettings("mikroC PRO", Choices(), StartOptions()), 0);
    EXPECT_TRUE(FileGetAttr(file) & faHidden);
    EXPECT_EQ(ReadBytes(file), ReadFixture("mikroc_pic_settings.expected.ini"));
}

TEST_F(UpdaterSystemWin, DamagedFileIsCountedAsAFailureAndStaysIntact) {
    TWindowsUpdaterSystem sys(Program);
    TSettingsUpdater updater(sys);
    SetFolder(HKEY_LOCAL_MACHINE, "mikroC PRO", Root + "mikroC");
    const String file = Root + "mikroC\\settings.ini";
    String damaged = ReadFixture("mikroc_pic_settings.ini");
    damaged.erase(damaged.find("[frmOptions2]\r\n"), 15);
    WriteFile(file, damaged);
    // Only mikroC PRO is installed: the other two fail without a word.
    EXPECT_EQ(updater.ChangeAllCompilers(Choices(), StartOptions()), 3);
    EXPECT_EQ(ReadBytes(file), damaged);
    EXPECT_FALSE(FileExists(Root + "mikroC\\Layouts\\Debug Wide.dat"));
    EXPECT_EQ(Messages,
              (std::vector<String>{"List index out of bounds (-1)", "0 out of 3 settings succesfully changed."}));
}
