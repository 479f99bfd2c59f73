#include <gtest/gtest.h>

#include "classlib/core/strings.h"
#include "storage/support/errors.h"
#include "storage/support/text_routines.h"

namespace {

TEST(ZevStrings, LeftFromAndAffixes) {
    EXPECT_EQ(TextLeft("Settings", 3), "Set");
    EXPECT_EQ(TextLeft("Settings", 0), "");
    EXPECT_EQ(TextLeft("Settings", -1), "");
    EXPECT_EQ(TextLeft("Settings", 99), "Settings");
    EXPECT_EQ(TextFrom("Settings", 4), "tings");
    EXPECT_EQ(TextFrom("Settings", 1), "Settings");
    EXPECT_EQ(TextFrom("Settings", 0), "Settings");
    EXPECT_EQ(TextFrom("Settings", 8), "s");
    EXPECT_EQ(TextFrom("Settings", 9), "");

    EXPECT_EQ(TextWithPrefix(".", "ini"), ".ini");
    EXPECT_EQ(TextWithPrefix(".", ".ini"), ".ini");
    EXPECT_EQ(TextWithPrefix(".", ""), ".");
    EXPECT_EQ(TextWithoutPrefix("frm", "frmMain"), "Main");
    EXPECT_EQ(TextWithoutPrefix("FRM", "frmMain"), "frmMain");
    EXPECT_EQ(TextWithoutPrefix("frmMainX", "frmMain"), "frmMain");
    EXPECT_EQ(TextWithSuffix("\\", "Main"), "Main\\");
    EXPECT_EQ(TextWithSuffix("\\", "Main\\"), "Main\\");
}

TEST(ZevStrings, ReplaceInText) {
    struct Case {
        const char* Text;
        const char* Search;
        const char* Replacement;
        TZevReplaceOptions Options;
        const char* Expected;
    } cases[] = {
        {"%form_name%\\", "%FORM_NAME%", "frmMain", {roIgnoreCase}, "frmMain\\"},
        {"%form_name%\\", "%FORM_NAME%", "frmMain", {}, "%form_name%\\"},
        {"aaaa", "aa", "a", {roAll}, "aa"},
        {"aaaa", "aa", "a", {}, "aaa"},
        {"abcabc", "bc", "X", {}, "aXabc"},
        {"abcabc", "bc", "X", {roAll}, "aXaX"},
        {"abcabc", "BC", "X", {roAll}, "abcabc"},
        {"abCabc", "Bc", "X", {roAll, roIgnoreCase}, "aXaX"},
        {"aab", "ab", "-", {}, "a-"},  // a partial match resumes at the next character
        {"abab", "aba", "x", {roAll}, "xb"},
        {"tail", "tails", "x", {roAll}, "tail"},  // a match cut by the end of the text
        {"x", "x", "", {}, ""},
        {"", "x", "y", {roAll}, ""},
        {"", "", "y", {}, "y"},
        {"path\\%FORM_NAME%\\%FORM_NAME%", "%FORM_NAME%", "f", {roAll}, "path\\f\\f"},
    };
    for (const Case& c : cases) {
        String text = c.Text;
        ReplaceInText(text, c.Search, c.Replacement, c.Options);
        EXPECT_EQ(text, c.Expected) << c.Text << " / " << c.Search;
    }
}

TEST(ZevStrings, ReplaceInTextRefusesABlankSearchText) {
    String text = "abc";
    try {
        ReplaceInText(text, "", "x", {roAll});
        FAIL() << "no error";
    } catch (const EZevStringError& e) {
        EXPECT_EQ(e.Message(), "Search string cannot be blank");
    }
    EXPECT_EQ(text, "abc");
}

TEST(ZevStrings, FindTextFrom) {
    struct Case {
        const char* Search;
        const char* Text;
        int Start;
        int Expected;
    } cases[] = {
        {"main", "frmMain\\main", 1, 4},
        {"main", "frmMain\\main", 4, 4},
        {"main", "frmMain\\main", 5, 9},
        {"main", "frmMain\\main", 10, 0},
        {"main", "frmMain\\main", 0, 4},
        {"x", "", 1, 0},
        {"", "abc", 1, 0},
        {"abcd", "abc", 1, 0},
        {"C", "abc", 3, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindTextFrom(c.Search, c.Text, c.Start), c.Expected)
            << c.Search << " in " << c.Text << " from " << c.Start;
}

TEST(ZevStrings, SplitText) {
    struct Case {
        const char* Text;
        const char* Separator;
        bool KeepEmpty;
        const char* Lines;  // the list's Text
    } cases[] = {
        {"a.b..c", ".", false, "a\r\nb\r\nc\r\n"},
        {"a.b..c", ".", true, "a\r\nb\r\n\r\nc\r\n"},
        {".a.", ".", true, "\r\na\r\n"},
        {"a::b", "::", false, "a\r\nb\r\n"},
        {"abc", ".", false, "abc\r\n"},
        {"abc", "", false, "abc\r\n"},
        {"", ".", true, ""},
    };
    for (const Case& c : cases) {
        TStringList list;
        list.Add("old");
        SplitText(c.Text, c.Separator, list, c.KeepEmpty);
        EXPECT_EQ(list.Text(), c.Lines) << c.Text;
        EXPECT_EQ(list.UpdateCount(), 0);
    }
}

TEST(ZevStrings, TrimAtNul) {
    String text("abc\0def", 7);
    TrimAtNul(text);
    EXPECT_EQ(text, "abc");
    String none = "abc";
    TrimAtNul(none);
    EXPECT_EQ(none, "abc");
    String first("\0x", 2);
    TrimAtNul(first);
    EXPECT_EQ(first, "");
}

TEST(ZevStrings, MoveTextChars) {
    struct Case {
        const char* Source;
        int SourceIndex;
        const char* Dest;
        int DestIndex, Count;
        const char* Expected;
    } cases[] = {
        {"abcdef", 1, "......", 2, 3, "..bcd."}, {"abcdef", 0, "......", 0, 6, "abcdef"},
        {"abcdef", 4, "......", 0, 5, "ef...."},  // only what the source holds
        {"abcdef", 0, "...", 1, 5, ".ab"},        // only what fits in the destination
        {"abcdef", 6, "...", 0, 1, "..."},       {"abcdef", -1, "...", 0, 1, "..."},
        {"abcdef", 0, "...", 3, 1, "..."},       {"abcdef", 0, "...", 0, 0, "..."},
    };
    for (const Case& c : cases) {
        String dest = c.Dest;
        MoveTextChars(c.Source, c.SourceIndex, dest, c.DestIndex, c.Count);
        EXPECT_EQ(dest, c.Expected) << c.SourceIndex << "," << c.DestIndex << "," << c.Count;
    }
}

TEST(ZevStrings, MoveTextCharsWithinOneText) {
    String text = "abcdef";
    MoveTextChars(text, 0, text, 2, 4);
    EXPECT_EQ(text, "ababcd");
    String shared = "abcdef";
    String copy = shared;
    MoveTextChars(shared, 3, copy, 0, 3);
    EXPECT_EQ(copy, "defdef");
    EXPECT_EQ(shared, "abcdef");  // the destination is a text of its own
}

TEST(ZevStrings, NthWord) {
    struct Case {
        int N;
        const char* Text;
        const char* Delimiters;
        const char* Expected;
    } cases[] = {
        {2, "10,20,,30", ",", "20"}, {3, "10,20,,30", ",", "30"}, {4, "10,20,,30", ",", ""}, {0, "10,20,,30", ",", ""},
        {-1, "10,20,,30", ",", ""},  {1, ",,10", ",", "10"},      {1, "", ",", ""},          {2, "a b;c", " ;", "b"},
        {3, "a b;c", " ;", "c"},     {1, "abc", "", "abc"},
    };
    for (const Case& c : cases) EXPECT_EQ(NthWord(c.N, c.Text, c.Delimiters), c.Expected) << c.N << " of " << c.Text;
}

}  // namespace
