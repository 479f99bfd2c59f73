// The work behind the main window on a system held in memory: the
// registry look-up, the probe, the lists, the checks and the whole request.
#include "app/settings_updater.h"

#include <gtest/gtest.h>

#include "app/compiler_keys.h"
#include "app_test_support.h"
#include "fake_updater_system.h"

namespace {

using Strings = std::vector<String>;

const char* const kMikroCKey = "Software\\zodozElektronika\\mikroC PRO for PIC\\";
const char* const kMikroPKey = "Software\\zodozElektronika\\mikroPascal PRO for PIC\\";
const char* const kMikroBKey = "Software\\zodozElektronika\\mikroBasic PRO for PIC\\";

// Choices with everything made: "for PIC", a layout and a scheme.
TWindowChoices Complete() {
    TWindowChoices c;
    c.FamilyIndex = 0;
    c.Family = "for PIC";
    c.LayoutCount = 3;
    c.LayoutIndex = 1;
    c.SchemeCount = 2;
    c.SchemeIndex = 1;
    return c;
}

class SettingsUpdater : public testing::Test {
protected:
    // mikroC PRO for PIC installed for the machine, with its settings and a
    // "Layouts" folder; the program has the layout "Debug Wide".
    void SetUp() override {
        sys.KeyDefaults[{rrLocalMachine, kMikroCKey}] = "D:\\mikroC PRO for PIC";
        sys.Folders = {"D:\\mikroC PRO for PIC\\", "D:\\mikroC PRO for PIC\\Layouts\\", "C:\\Quillmere\\Layouts\\"};
        sys.Files[kSettings] = ReadFixture("mikroc_pic_settings.ini");
        sys.Files[kProgramLayout] = "layout bytes";
    }

    static constexpr const char* kSettings = "D:\\mikroC PRO for PIC\\settings.ini";
    static constexpr const char* kProgramLayout = "C:\\Quillmere\\Layouts\\Debug Wide.dat";
    static constexpr const char* kCompilerLayout = "D:\\mikroC PRO for PIC\\Layouts\\Debug Wide.dat";

    TFakeUpdaterSystem sys;
    TSettingsUpdater updater{sys};
};

}  // namespace

TEST_F(SettingsUpdater, FolderFromTheMachineKeyGetsABackslash) {
    EXPECT_EQ(updater.GetPath("mikroC PRO", Complete(), false), "D:\\mikroC PRO for PIC\\");
    EXPECT_EQ(sys.RegistryReads, Strings{String("HKLM ") + kMikroCKey});
    EXPECT_TRUE(sys.Messages.empty());
}

TEST_F(SettingsUpdater, CurrentUserKeyIsTheFallback) {
    sys.KeyDefaults[{rrCurrentUser, kMikroPKey}] = "E:\\mP";
    EXPECT_EQ(updater.GetPath("mikroPascal PRO", Complete(), true), "E:\\mP\\");
    EXPECT_EQ(sys.RegistryReads, (Strings{String("HKLM ") + kMikroPKey, String("HKCU ") + kMikroPKey}));
    EXPECT_EQ(updater.GetPath("mikroBasic PRO", Complete(), true), "");
}

TEST_F(SettingsUpdater, ChecksComeFirstAndStopTheLookUp) {
    TWindowChoices c = Complete();
    c.LayoutIndex = 0;
    EXPECT_EQ(updater.GetPath("mikroC PRO", c, false), "");
    EXPECT_EQ(sys.Messages, Strings{"Select layout."});
    EXPECT_TRUE(sys.RegistryReads.empty());
    // A probe does not check.
    EXPECT_EQ(updater.GetPath("mikroC PRO", c, true), "D:\\mikroC PRO for PIC\\");
    EXPECT_EQ(sys.Messages.size(), 1u);
}

TEST_F(SettingsUpdater, NoFamilySelectedFindsNothingWithoutAnError) {
    TWindowChoices c = Complete();
    c.FamilyIndex = -1;
    c.Family = "";
    EXPECT_EQ(updater.ProbeCompilers(c), (std::array<bool, 3>{false, false, false}));
    EXPECT_TRUE(sys.RegistryReads.empty());
    EXPECT_EQ(updater.GetPath("mikroC PRO", c, false), "");
    EXPECT_EQ(sys.Messages, Strings{"Select compiler first."});
}

TEST_F(SettingsUpdater, ProbeNeedsTheRecordedFolderToExist) {
    sys.KeyDefaults[{rrCurrentUser, kMikroPKey}] = "E:\\gone";  // folder removed since
    sys.KeyDefaults[{rrLocalMachine, kMikroBKey}] = "F:\\mB";
    sys.Folders.insert("F:\\mB\\");
    EXPECT_EQ(updater.ProbeCompilers(Complete()), (std::array<bool, 3>{true, false, true}));
    EXPECT_TRUE(sys.Messages.empty());
}

TEST_F(SettingsUpdater, ListEntriesAndTheNothingFoundMessage) {
    // Each entry added, with the number of messages shown before it.
    std::vector<std::pair<String, std::size_t>> added;
    auto add = [&](const String& entry) { added.emplace_back(entry, sys.Messages.size()); };

    sys.SearchResults["C:\\Quillmere\\Layouts\\*.dat"] = {"Debug Wide.dat", "Old.data", "my.layout.dat"};
    EXPECT_EQ(updater.ListEntries(kLayoutList), (Strings{"------------", "Debug Wide", "my.layout"}));
    updater.FillList(kLayoutList, add);
    EXPECT_EQ(added.size(), 3u);
    EXPECT_TRUE(sys.Messages.empty());

    // The message comes when the placeholder is in the list already.
    added.clear();
    sys.SearchResults["C:\\Quillmere\\Color Schemes\\*.col"] = {"Dark.cold"};
    EXPECT_EQ(updater.ListEntries(kColorSchemeList), Strings{"------------"});
    EXPECT_TRUE(sys.Messages.empty());
    updater.FillList(kColorSchemeList, add);
    EXPECT_EQ(added, (std::vector<std::pair<String, std::size_t>>{{"------------", 0}}));
    EXPECT_EQ(sys.Messages,
              Strings{"No color scheme files (*.col) found in\n\rC:\\Quillmere\\Color Schemes\\ folder."});
}

TEST_F(SettingsUpdater, ProbingAsksForTheButtonsOwnCaptions) {
    sys.KeyDefaults[{rrLocalMachine, "Software\\zodozElektronika\\mikroC PRO Beta for PIC\\"}] = "F:\\beta";
    sys.Folders.insert("F:\\beta\\");
    EXPECT_EQ(updater.ProbeCompilers({"mikroC PRO Beta", "mikroPascal PRO", "mikroC PRO Beta"}, Complete()),
              (std::array<bool, 3>{true, false, true}));
    EXPECT_EQ(sys.RegistryReads.front(), "HKLM Software\\zodozElektronika\\mikroC PRO Beta for PIC\\");
}

TEST_F(SettingsUpdater, ImportRewritesTheFileAndCopiesTheLayout) {
    EXPECT_EQ(updater.ImportSettings("mikroC PRO", Complete(), StartOptions()), 0);
    EXPECT_EQ(sys.Files[kSettings], ReadFixture("mikroc_pic_settings.expected.ini"));
    EXPECT_EQ(sys.Files[kCompilerLayout], "layout bytes");
    EXPECT_TRUE(sys.Messages.empty()) << "the request itself says nothing";
}

TEST_F(SettingsUpdater, ExistingLayoutIsNeverOverwritten) {
    sys.Files[kCompilerLayout] = "the compiler's own";
    EXPECT_EQ(updater.ImportSettings("mikroC PRO", Complete(), StartOptions()), 0);
    EXPECT_EQ(sys.Files[kCompilerLayout], "the compiler's own");
    EXPECT_EQ(sys.Copies, 0);
}

TEST_F(SettingsUpdater, LayoutThatCannotBePutInPlaceLeavesTheSettingsUnchanged) {
    struct Case {
        const char* Name;
        void (*Break)(TFakeUpdaterSystem&);
    };
    const Case cases[] = {
        {"no Layouts folder in the compiler's folder",
         [](TFakeUpdaterSystem& s) { s.Folders.erase("D:\\mikroC PRO for PIC\\Layouts\\"); }},
        {"no such layout beside the program",
         [](TFakeUpdaterSystem& s) { s.Files.erase("C:\\Quillmere\\Layouts\\Debug Wide.dat"); }},
    };
    for (const Case& c : cases) {
        TFakeUpdaterSystem s = sys;
        c.Break(s);
        TSettingsUpdater u(s);
        const String before = s.Files[kSettings];
        EXPECT_EQ(u.ChangeCompiler("mikroC PRO", Complete(), StartOptions()), 1) << c.Name;
        EXPECT_EQ(s.Files[kSettings], before) << c.Name;
        EXPECT_EQ(s.Messages, Strings{LayoutNotCopiedMessage(kProgramLayout, kCompilerLayout)}) << c.Name;
    }
}

TEST_F(SettingsUpdater, FileWithoutLayoutKeyNeedsNoLayoutFile) {
    sys.Files[kSettings] = "[frmMain]\r\nShowCmd=1\r\n\r\n[frmOptions2]\r\n[frmOptions2\\SynEdit1_Gutter]\r\n"
                           "[frmOptions2\\SynEdit1_Gutter\\Font]\r\n[frmOptions2\\SynEdit1_Gutter\\Font\\Style]\r\n";
    sys.Files.erase(kProgramLayout);
    EXPECT_EQ(updater.ImportSettings("mikroC PRO", Complete(), StartOptions()), 0);
    EXPECT_EQ(sys.Copies, 0);
    EXPECT_NE(sys.Files[kSettings].find("ShowCmd=3"), String::npos);
}

TEST_F(SettingsUpdater, MissingSettingsFileIsASilentFailure) {
    sys.Files.erase(kSettings);
    EXPECT_EQ(updater.ChangeCompiler("mikroC PRO", Complete(), StartOptions()), 1);
    EXPECT_TRUE(sys.Messages.empty());
}

TEST_F(SettingsUpdater, DamagedFileRaisesBeforeAnythingChanges) {
    sys.Files[kSettings] = WithBreaks("[frmMain]\r\nLastLayout=x\r\n[frmFindResults]\r\n", "\n");
    try {
        updater.ChangeCompiler("mikroC PRO", Complete(), StartOptions());
        ADD_FAILURE() << "no error";
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (-1)");
    }
    EXPECT_EQ(sys.Files[kSettings], "[frmMain]\nLastLayout=x\n[frmFindResults]\n");
    EXPECT_EQ(sys.Copies, 0);
    EXPECT_TRUE(sys.Messages.empty());
}

TEST_F(SettingsUpdater, FailedSaveRaisesAndKeepsTheOldFile) {
    sys.ReadOnlyFiles.insert(kSettings);
    const String before = sys.Files[kSettings];
    EXPECT_THROW(updater.ChangeCompiler("mikroC PRO", Complete(), StartOptions()), EFCreateError);
    EXPECT_EQ(sys.Files[kSettings], before);
    EXPECT_TRUE(sys.Messages.empty()) << "no success message";
}

TEST_F(SettingsUpdater, CompilerButtonReportsSuccess) {
    TWindowChoices c = Complete();
    EXPECT_EQ(updater.ChangeCompiler("mikroC PRO", c, StartOptions()), 0);
    EXPECT_EQ(sys.Messages, Strings{"mikroC PRO for PIC settings succesfully changed."});
}

TEST_F(SettingsUpdater, AllThreeCountsEveryResult) {
    // mikroPascal for the current user with its own settings; mikroBasic
    // not installed.
    sys.KeyDefaults[{rrCurrentUser, kMikroPKey}] = "E:\\mP";
    sys.Folders.insert({"E:\\mP\\", "E:\\mP\\Layouts\\"});
    sys.Files["E:\\mP\\settings.ini"] = ReadFixture("mikroc_pic_settings.ini");
    EXPECT_EQ(updater.ChangeAllCompilers(Complete(), StartOptions()), 1);
    EXPECT_EQ(sys.Messages, Strings{"2 out of 3 settings succesfully changed."});
    // The same layout went into each compiler's folder.
    EXPECT_EQ(sys.Files[kCompilerLayout], "layout bytes");
    EXPECT_EQ(sys.Files["E:\\mP\\Layouts\\Debug Wide.dat"], "layout bytes");
}

TEST_F(SettingsUpdater, AllThreeWithoutALayoutAsksThreeTimes) {
    TWindowChoices c = Complete();
    c.LayoutIndex = -1;
    EXPECT_EQ(updater.ChangeAllCompilers(c, StartOptions()), 3);
    EXPECT_EQ(sys.Messages, (Strings{"Select layout.", "Select layout.", "Select layout.",
                                     "0 out of 3 settings succesfully changed."}));
}

TEST_F(SettingsUpdater, AllThreeCountsADamagedFileAndGoesOn) {
    // mikroC's file is damaged (its walk runs past the end), mikroPascal's
    // and mikroBasic's are sound.
    sys.Files[kSettings] = "[frmMain]\r\n";
    for (const char* key : {kMikroPKey, kMikroBKey}) {
        const String folder = String("E:\\") + (key == kMikroPKey ? "mP" : "mB");
        sys.KeyDefaults[{rrLocalMachine, key}] = folder;
        sys.Folders.insert({folder + "\\", folder + "\\Layouts\\"});
        sys.Files[folder + "\\settings.ini"] = ReadFixture("mikroc_pic_settings.ini");
    }
    EXPECT_EQ(updater.ChangeAllCompilers(Complete(), StartOptions()), 1);
    EXPECT_EQ(sys.Messages, (Strings{"List index out of bounds (1)", "2 out of 3 settings succesfully changed."}));
    EXPECT_EQ(sys.Files[kSettings], "[frmMain]\r\n") << "the damaged file is left as it was";
    for (const char* folder : {"E:\\mP", "E:\\mB"}) {
        EXPECT_EQ(sys.Files[String(folder) + "\\Layouts\\Debug Wide.dat"], "layout bytes") << folder;
        EXPECT_NE(sys.Files[String(folder) + "\\settings.ini"], ReadFixture("mikroc_pic_settings.ini")) << folder;
    }
}
