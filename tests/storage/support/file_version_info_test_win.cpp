// The version resource of real files, and the program's own macro source.
#include <gtest/gtest.h>

#include "classlib/core/strings.h"
#include "classlib/core/sysutils.h"
#include "classlib/os/files.h"
#include "classlib/os/win.h"
#include "classlib/ui/forms.h"
#include "storage/support/errors.h"
#include "storage/support/file_version_info.h"
#include "storage/support/system_info.h"
#include "storage/text_macros.h"

namespace {

TEST(FileVersionInfo, ReadsTheProgramsOwnResource) {
    TZevFileVersionInfo info(ApplicationExeName());
    EXPECT_EQ(info.FixedFileInfo().Signature, ZevFixedFileInfoSignature);
    EXPECT_EQ(info.FixedFileInfo().FileVersionMS, 0x00010032u);
    EXPECT_EQ(info.FixedFileInfo().FileVersionLS, 0x00000007u);
    EXPECT_EQ(info.FileFlags(), (TZevFileFlags{ffPreRelease, ffSpecialBuild}));
    ASSERT_EQ(info.Languages().size(), 2u);
    EXPECT_EQ(info.Languages()[0], (TZevVersionLanguage{0x0409, 0x04E4}));
    EXPECT_EQ(info.Languages()[1], (TZevVersionLanguage{0x0407, 0x04B0}));
    EXPECT_EQ(info.Translations(), (std::vector<LongWord>{0x04E40409, 0x04B00407}));
    EXPECT_EQ(info.VersionKeyValue(vkCompanyName), "Quillmere Software");
    EXPECT_EQ(info.VersionKeyValue(vkProductName), "Quillmere Storage Tests");
    EXPECT_EQ(info.VersionKeyValue(vkFileVersion), "1.50.0.7");
    EXPECT_EQ(info.VersionKeyValue(vkProductVersion), "1.50");
    if (GetACP() == 1252) {
        EXPECT_EQ(info.VersionKeyValue(vkComments), "Caf\xe9");
    }
    EXPECT_EQ(info.Items().Count(), 7);
}

TEST(FileVersionInfo, AMissingFile) {
    String name = ApplicationFolder() + "no such program.exe";
    try {
        TZevFileVersionInfo info(name);
        FAIL() << "no error";
    } catch (const EZevFileVersionInfoError& e) {
        EXPECT_EQ(e.Message(), "The file " + name + " does not exist");
    }
}

TEST(FileVersionInfo, AFileWithoutVersionInformation) {
    String name = ApplicationFolder() + "no-version.txt";
    ReplaceFileContents(name, "plain text\r\n");
    try {
        TZevFileVersionInfo info(name);
        ADD_FAILURE() << "no error";
    } catch (const EZevFileVersionInfoError& e) {
        EXPECT_EQ(e.Message(), "File contains no version information");
    }
    DeleteFile(name);
}

TEST(SystemMacroSource, ExpandsTheProgramsOwnValues) {
    ZevSupportInitialize();
    TZvTranslateString expander(nullptr);
    String exe = ApplicationExeName();
    EXPECT_EQ(expander.ExpandText("%EXENAME%"), exe);
    EXPECT_EQ(expander.ExpandText("%FULLDIREXE%\\data.ini"), ExtractFilePath(exe) + "data.ini");
    EXPECT_EQ(expander.ExpandText("%FILENAME%"), ChangeFileExt(ExtractFileName(exe), ""));
    EXPECT_EQ(expander.ExpandText("%APPL_NAME%|%COMPANY_NAME%|%FILEVERSION%|%PRODUCTVERSION%"),
              "Quillmere Storage Tests|Quillmere Software|1.50.0.7|1.50");
    EXPECT_EQ(expander.ExpandText("%SCREENSIZE%"),
              IntToStr(GetSystemMetrics(SM_CXSCREEN)) + "x" + IntToStr(GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_EQ(expander.ExpandText("%DESKTOPSIZE%"),
              IntToStr(GetSystemMetrics(SM_CXVIRTUALSCREEN)) + "x" + IntToStr(GetSystemMetrics(SM_CYVIRTUALSCREEN)));
    EXPECT_EQ(expander.ExpandText("Settings.ini"), "Settings.ini");
}

TEST(SystemMacroSource, FormNameAndCaptionOfARealForm) {
    TForm form(nullptr);
    form.SetName("frmMain");
    form.SetText("Quillmere settings");
    TZvTranslateString expander(&form);
    EXPECT_EQ(expander.ExpandText("%FORMNAME%\\%FORMCAPTION%"), "frmMain\\Quillmere settings");
}

TEST(SystemMacroSource, InformationGoesThroughTheApplicationsMessageBox) {
    ASSERT_NE(Application, nullptr);
    TMessageBoxFunction saved = Application->MessageBoxFunction;
    String shownText, shownCaption;
    UINT shownFlags = 0;
    Application->MessageBoxFunction = [&](HWND, const String& text, const String& caption, UINT flags) {
        shownText = text;
        shownCaption = caption;
        shownFlags = flags;
        return IDOK;
    };
    ZvMacroSource().ShowInformation("No version information");
    Application->MessageBoxFunction = saved;
    EXPECT_EQ(shownText, "No version information");
    EXPECT_EQ(shownCaption, Application->Title());
    EXPECT_EQ(shownFlags, UINT(MB_OK | MB_ICONINFORMATION));
}

}  // namespace
