// The order and texts of the checks of the user's choices.
#include "app/choice_checks.h"

#include <gtest/gtest.h>

#include "app/compiler_keys.h"

TEST(ChoiceChecks, FirstMissingChoiceSpeaks) {
    struct Case {
        TChoiceState State;  // family, layout count/index, scheme count/index
        const char* Message;
    };
    const Case cases[] = {
        {{-1, 0, -1, 0, -1}, "Select compiler first."},
        {{-1, 3, 1, 3, 1}, "Select compiler first."},
        {{0, 0, -1, 0, -1}, "No layouts (*.dat) found."},
        {{0, 0, 2, 3, 1}, "No layouts (*.dat) found."},
        {{2, 1, 0, 0, -1}, "Select layout."},
        {{2, 1, -1, 3, 1}, "Select layout."},
        {{2, 3, 1, 0, -1}, "No color schemes (*.col) found."},
        {{2, 3, 1, 1, 0}, "Select color scheme."},
        {{2, 3, 1, 4, -1}, "Select color scheme."},
        {{2, 3, 1, 4, 3}, ""},
        {{5, 2, 1, 2, 1}, ""},
    };
    for (const Case& c : cases) {
        const TChoiceState& s = c.State;
        EXPECT_EQ(CheckChoices(s), c.Message) << s.FamilyIndex << " " << s.LayoutCount << "/" << s.LayoutIndex << " "
                                              << s.SchemeCount << "/" << s.SchemeIndex;
    }
}

TEST(CompilerKeys, RegistryKeyNamesCompilerAndFamily) {
    EXPECT_EQ(CompilerRegistryKey("mikroC PRO", "for PIC"), "Software\\zodozElektronika\\mikroC PRO for PIC\\");
    EXPECT_EQ(CompilerRegistryKey(kCompilerCaptions[2], kTargetFamilies[3]),
              "Software\\zodozElektronika\\mikroBasic PRO for ARM\\");
}

TEST(CompilerKeys, ItemAtOutOfRangeIsEmpty) {
    const std::vector<String> items{"for PIC", "for dsPIC"};
    EXPECT_EQ(ItemAt(items, 0), "for PIC");
    EXPECT_EQ(ItemAt(items, 1), "for dsPIC");
    EXPECT_EQ(ItemAt(items, -1), "");
    EXPECT_EQ(ItemAt(items, 2), "");
}

TEST(CompilerKeys, ReportTexts) {
    EXPECT_EQ(CompilerChangedMessage("mikroC PRO", "for PIC"), "mikroC PRO for PIC settings succesfully changed.");
    EXPECT_EQ(AllCompilersChangedMessage(1), "2 out of 3 settings succesfully changed.");
    EXPECT_EQ(AllCompilersChangedMessage(3), "0 out of 3 settings succesfully changed.");
    EXPECT_EQ(AllCompilersChangedMessage(0), "3 out of 3 settings succesfully changed.");
    EXPECT_EQ(LayoutNotCopiedMessage("C:\\Q\\Layouts\\a.dat", "D:\\mC\\Layouts\\a.dat"),
              "The layout file C:\\Q\\Layouts\\a.dat could not be copied to D:\\mC\\Layouts\\\r\n"
              "The compiler's settings were not changed.");
}
