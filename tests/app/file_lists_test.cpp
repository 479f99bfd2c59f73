// The layout and colour-scheme lists: entry names, the extension filter,
// the search mask and the "nothing found" messages.
#include "app/file_lists.h"

#include <gtest/gtest.h>

TEST(FileLists, ExtractBaseNameCutsOnlyTheFinalExtension) {
    struct Case {
        const char* In;
        const char* Out;
    };
    const Case cases[] = {
        {"Dark.col", "Dark"},
        {"my.layout.dat", "my.layout"},
        {"C:\\Program Files\\Quillmere\\Layouts\\Debug Wide.dat", "Debug Wide"},
        {"C:\\dir.with.dots\\plain", "plain"},
        {"Layouts/unix.dat", "unix"},
        {"NoExtension", "NoExtension"},
        {"trailing.", "trailing"},
        {".dat", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ExtractBaseName(c.In), c.Out) << c.In;
}

TEST(FileLists, OnlyTheExactExtensionBelongsToTheList) {
    struct Case {
        const TFileListKind* Kind;
        const char* Name;
        bool In;
    };
    const Case cases[] = {
        {&kLayoutList, "Default.dat", true},     {&kLayoutList, "UPPER.DAT", true},
        {&kLayoutList, "my.layout.dat", true},   {&kLayoutList, "x.data", false},
        {&kLayoutList, "x.dat.bak", false},      {&kLayoutList, "dat", false},
        {&kLayoutList, "Dark.col", false},       {&kColorSchemeList, "Dark.col", true},
        {&kColorSchemeList, "Dark.cols", false}, {&kColorSchemeList, "Dark.Col", true},
    };
    for (const Case& c : cases) EXPECT_EQ(HasListExtension(*c.Kind, c.Name), c.In) << c.Name;
}

TEST(FileLists, EntriesArePlaceholderThenBaseNamesInSearchOrder) {
    EXPECT_EQ(FileListEntries(kLayoutList, {"Zeta.dat", "x.data", "my.layout.dat", "Alpha.dat"}),
              (std::vector<String>{"------------", "Zeta", "my.layout", "Alpha"}));
    EXPECT_EQ(FileListEntries(kColorSchemeList, {}), std::vector<String>{"------------"});
}

TEST(FileLists, MaskLiesBelowTheProgramFolder) {
    EXPECT_EQ(FileListMask(kLayoutList, "C:\\Quillmere\\"), "C:\\Quillmere\\Layouts\\*.dat");
    EXPECT_EQ(FileListMask(kColorSchemeList, "C:\\Quillmere\\"), "C:\\Quillmere\\Color Schemes\\*.col");
}

TEST(FileLists, NothingFoundMessagesPutLineFeedBeforeCarriageReturn) {
    EXPECT_EQ(NoFilesFoundMessage(kLayoutList, "C:\\Quillmere\\"),
              "No layout files (*.dat) found in\n\rC:\\Quillmere\\Layouts\\ folder.");
    EXPECT_EQ(NoFilesFoundMessage(kColorSchemeList, "C:\\Quillmere\\"),
              "No color scheme files (*.col) found in\n\rC:\\Quillmere\\Color Schemes\\ folder.");
}

TEST(FileLists, LayoutFilesOfProgramAndCompiler) {
    EXPECT_EQ(ProgramLayoutFile("C:\\Quillmere\\", "my.layout"), "C:\\Quillmere\\Layouts\\my.layout.dat");
    EXPECT_EQ(CompilerLayoutFile("D:\\mikroC PRO for PIC\\", "Dark IDE"),
              "D:\\mikroC PRO for PIC\\Layouts\\Dark IDE.dat");
}
