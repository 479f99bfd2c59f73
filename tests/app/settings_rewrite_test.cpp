// The rewrite of a compiler's "settings.ini": the four walks, the option
// keys, line breaks and damaged files.
#include "app/settings_rewrite.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app_test_support.h"
#include "classlib/core/exceptions.h"

namespace {

using Lines = std::vector<String>;

// A small file with every section the rewrite walks, in the IDE's order.
Lines SmallFile(const Lines& main, const Lines& options = {}, const Lines& gutter = {}, const Lines& font = {}) {
    Lines l{"[Version]", "Version=6.2.1", kMainSection};
    l.insert(l.end(), main.begin(), main.end());
    l.push_back(kFindResultsSection);
    l.push_back("ShowCmd=1");
    l.push_back(kOptionsSection);
    l.insert(l.end(), options.begin(), options.end());
    l.push_back(kGutterSection);
    l.insert(l.end(), gutter.begin(), gutter.end());
    l.push_back(kGutterFontSection);
    l.insert(l.end(), font.begin(), font.end());
    l.push_back(kGutterFontStyleSection);
    l.push_back("fsBold=False");
    return l;
}

// The lines of the section that begins with header, up to the next line
// that begins with "[".
Lines Section(const Lines& lines, const String& header) {
    Lines out;
    bool in = false;
    for (const String& line : lines) {
        if (in && !line.empty() && line[0] == '[') break;
        if (in) out.push_back(line);
        if (line == header) in = true;
    }
    return out;
}

String ErrorOf(Lines lines, const TCompilerOptions& options = StartOptions()) {
    const Lines before = lines;
    try {
        RewriteCompilerSettings(lines, options);
    } catch (const EStringListError& e) {
        EXPECT_EQ(lines, before) << "the lines changed before the error";
        return e.Message();
    }
    return "no error";
}

}  // namespace

TEST(SettingsRewrite, RealisticFileBecomesTheExpectedFile) {
    TRewriteOutcome outcome;
    const String out = RewriteCompilerSettingsText(ReadFixture("mikroc_pic_settings.ini"), StartOptions(), &outcome);
    EXPECT_EQ(out, ReadFixture("mikroc_pic_settings.expected.ini"));
    EXPECT_TRUE(outcome.LayoutNamed);
    EXPECT_EQ(outcome.LinesChanged, 37);
}

TEST(SettingsRewrite, RewritingTwiceChangesNothingMore) {
    TRewriteOutcome outcome;
    const String expected = ReadFixture("mikroc_pic_settings.expected.ini");
    EXPECT_EQ(RewriteCompilerSettingsText(expected, StartOptions(), &outcome), expected);
    EXPECT_EQ(outcome.LinesChanged, 0);
}

TEST(SettingsRewrite, EveryLineBreakStyleEndsAsCrLfAfterEveryLine) {
    const String crlf = ReadFixture("mikroc_pic_settings.ini");
    const String expected = ReadFixture("mikroc_pic_settings.expected.ini");
    struct Case {
        const char* Name;
        const char* Break;
        bool FinalBreak;
    };
    const Case cases[] = {
        {"CR LF", "\r\n", true},
        {"LF only", "\n", true},
        {"CR only", "\r", true},
        {"CR LF, no final break", "\r\n", false},
        {"LF, no final break", "\n", false},
        {"CR, no final break", "\r", false},
    };
    for (const Case& c : cases) {
        String in = WithBreaks(crlf, c.Break);
        if (!c.FinalBreak) in.resize(in.size() - String(c.Break).size());
        EXPECT_EQ(RewriteCompilerSettingsText(in, StartOptions()), expected) << c.Name;
    }
}

TEST(SettingsRewrite, LineFeedBeforeCarriageReturnIsTwoBreaksAndEndsTheWindowWalk) {
    // LF then CR is two breaks with an empty line between them: the first
    // walk ends there, and the empty line is written out.
    const String in = "[frmMain]\nShowCmd=1\n\rFlags=0\r\n[frmFindResults]\r\n[frmOptions2]\r\n"
                      "[frmOptions2\\SynEdit1_Gutter]\r\n[frmOptions2\\SynEdit1_Gutter\\Font]\r\n"
                      "[frmOptions2\\SynEdit1_Gutter\\Font\\Style]";
    EXPECT_EQ(RewriteCompilerSettingsText(in, StartOptions()),
              "[frmMain]\r\nShowCmd=3\r\n\r\nFlags=0\r\n[frmFindResults]\r\n[frmOptions2]\r\n"
              "[frmOptions2\\SynEdit1_Gutter]\r\n[frmOptions2\\SynEdit1_Gutter\\Font]\r\n"
              "[frmOptions2\\SynEdit1_Gutter\\Font\\Style]\r\n");
}

TEST(SettingsRewrite, SplitLinesFollowsTheStringListRules) {
    const String texts[] = {"",         "a",     "a\r\n", "a\n\rb", "\r", "\n\n", "a\rb\r\n\nc", String("x\0y\r\n", 5),
                            "\r\n\r\n", "last\r"};
    for (const String& text : texts) {
        TStringList list;
        list.SetText(text);
        Lines expected;
        for (int i = 0; i < list.Count(); ++i) expected.push_back(list[i]);
        EXPECT_EQ(SplitLines(text), expected) << testing::PrintToString(text);
        EXPECT_EQ(JoinLines(SplitLines(text)), list.Text()) << testing::PrintToString(text);
    }
}

TEST(SettingsRewrite, WindowWalkLines) {
    struct Case {
        const char* In;
        const char* Out;
    };
    const Case cases[] = {
        {"LastLayout=Default", "LastLayout=Debug Wide"},
        {"LastLayout=", "LastLayout=Debug Wide"},
        {"ShowCmd=1", "ShowCmd=3"},
        {"Flags=0", "Flags=2"},
        {"MessagesColumn0Width=1", "MessagesColumn0Width=34"},
        {"MessagesColumn1Width=1", "MessagesColumn1Width=77"},
        {"MessagesColumn2Width=1", "MessagesColumn2Width=379"},
        {"MessagesColumn3Width=1", "MessagesColumn3Width=412"},
        {"NormPos=44,44,1290,905", "NormPos=0,0,1024,823"},
        {"NormPos=", "NormPos=0,0,1024,823"},
        // The key and its "=" must begin the line, in the same case.
        {"MinMaxPos=-1,-1,-1,-1", "MinMaxPos=-1,-1,-1,-1"},
        {"showcmd=1", "showcmd=1"},
        {" ShowCmd=1", " ShowCmd=1"},
        {"ShowCmd", "ShowCmd"},
        {"ShowCmdEx=1", "ShowCmdEx=1"},
        {"MessagesColumn4Width=9", "MessagesColumn4Width=9"},
        {"; ShowCmd=1", "; ShowCmd=1"},
    };
    for (const Case& c : cases) {
        Lines lines = SmallFile({c.In});
        RewriteCompilerSettings(lines, StartOptions());
        EXPECT_EQ(Section(lines, kMainSection), Lines{c.Out}) << c.In;
    }
}

TEST(SettingsRewrite, EmptyLineEndsTheWindowWalkOnly) {
    Lines lines = SmallFile({"ShowCmd=1", "", "Flags=0", "LastLayout=Old"}, {"CheckBox2=False", "", "CheckBox3=False"});
    const TRewriteOutcome outcome = RewriteCompilerSettings(lines, StartOptions());
    EXPECT_EQ(Section(lines, kMainSection), (Lines{"ShowCmd=3", "", "Flags=0", "LastLayout=Old"}));
    EXPECT_EQ(Section(lines, kOptionsSection), (Lines{"CheckBox2=True", "", "CheckBox3=True"}));
    EXPECT_FALSE(outcome.LayoutNamed) << "the layout line lies after the end of the walk";
}

TEST(SettingsRewrite, WindowWalkStopsAtTheFindResultsHeader) {
    Lines lines = SmallFile({"ShowCmd=1"});
    RewriteCompilerSettings(lines, StartOptions());
    EXPECT_EQ(Section(lines, kFindResultsSection), Lines{"ShowCmd=1"});
}

TEST(SettingsRewrite, LayoutNamedOnlyWhenTheWalkMeetsTheLayoutKey) {
    Lines without = SmallFile({"ShowCmd=1"});
    EXPECT_FALSE(RewriteCompilerSettings(without, StartOptions()).LayoutNamed);
    Lines with = SmallFile({"LastLayout=x"});
    EXPECT_TRUE(RewriteCompilerSettings(with, StartOptions()).LayoutNamed);
}

TEST(SettingsRewrite, KeyTwiceInASectionReplacesBoth) {
    Lines lines = SmallFile({"ShowCmd=1", "ShowCmd=2"}, {"CheckBox2=False", "NormPos=1", "CheckBox2=False"},
                            {"GradientStartColor=clRed", "GradientStartColor=clBlue"});
    RewriteCompilerSettings(lines, StartOptions());
    EXPECT_EQ(Section(lines, kMainSection), (Lines{"ShowCmd=3", "ShowCmd=3"}));
    EXPECT_EQ(Section(lines, kOptionsSection), (Lines{"CheckBox2=True", "NormPos=1", "CheckBox2=True"}));
    EXPECT_EQ(Section(lines, kGutterSection), (Lines{"GradientStartColor=clBlack", "GradientStartColor=clBlack"}));
}

// Each control feeds exactly the keys of the table: one control at a time
// is set, all others cleared, and only its keys change.
TEST(SettingsRewrite, EveryCheckBoxFeedsExactlyItsKeys) {
    const std::map<int, std::set<String>> keysOf = {
        {1, {"CheckBox2"}},
        {2, {"CheckBox3"}},
        {3, {"CheckBox16"}},
        {4, {"CheckBox4"}},
        {5, {"CheckBox14"}},
        {6, {"AdvOfficeCheckBox10_Checked"}},
        {7, {"jvXPCheckBox4", "jvXPCheckBox5_enabled"}},
        {8, {"AdvOfficeCheckBox11_Checked"}},
        {9, {"chbStartPage_Checked"}},
        {10, {"chbLastProject_Checked"}},
        {11, {"AdvOfficeCheckBox2_Checked"}},
        {12, {"AdvOfficeCheckBox3_Checked"}},
        {13, {"AdvOfficeCheckBox4_Checked"}},
        {14, {"AdvOfficeCheckBox5_Checked"}},
        {15, {"AdvOfficeCheckBox6_Checked"}},
        {16, {"AdvOfficeCheckBox7_Checked"}},
        {17, {"AdvOfficeCheckBox8_Checked"}},
        {18, {"AdvOfficeCheckBox15_Checked"}},
        {19, {"AdvOfficeCheckBox16_Checked"}},
        {20, {"AdvOfficeCheckBox17_Checked"}},
        {21, {"AdvOfficeCheckBox14_Checked"}},
        {22, {"AdvOfficeCheckBox12_Checked"}},
        {23, {"AdvOfficeCheckBox13_Checked"}},
    };
    const Lines fixture = SplitLines(ReadFixture("mikroc_pic_settings.ini"));
    for (const auto& [box, keys] : keysOf) {
        TCompilerOptions options = StartOptions();
        options.CheckBox.fill(false);
        options.CheckBox[std::size_t(box)] = true;
        Lines lines = fixture;
        RewriteCompilerSettings(lines, options);
        std::set<String> trueKeys;
        for (const String& line : Section(lines, kOptionsSection)) {
            const std::size_t eq = line.find('=');
            if (eq != String::npos && line.substr(eq + 1) == "True") trueKeys.insert(line.substr(0, eq));
        }
        // CheckBox20 is no key of the table: it keeps its "True".
        trueKeys.erase("CheckBox20");
        EXPECT_EQ(trueKeys, keys) << "LumOfficeCheckBox" << box;
    }
}

TEST(SettingsRewrite, RadioGroupsAndComboBoxWriteTheirItemIndex) {
    TCompilerOptions options = StartOptions();
    options.RadioGroup = {0, 11, 12, 13, 14, 15};
    options.ComboBox1 = -1;
    Lines lines = SplitLines(ReadFixture("mikroc_pic_settings.ini"));
    RewriteCompilerSettings(lines, options);
    std::map<String, String> values;
    for (const String& line : Section(lines, kOptionsSection)) {
        const std::size_t eq = line.find('=');
        if (eq != String::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    EXPECT_EQ(values["RadioGroup1"], "11");
    EXPECT_EQ(values["RadioGroupProject"], "12");
    EXPECT_EQ(values["AdvOfficeRadioGroup1"], "13");
    EXPECT_EQ(values["rgBuildMessages_ItemIndex"], "14");
    EXPECT_EQ(values["rgDebugLayout"], "15");
    EXPECT_EQ(values["ComboBox3_ItemIndex"], "-1");
    EXPECT_EQ(values["RadioGroup10"], "7") << "a longer key is another key";
}

TEST(SettingsRewrite, OptionWalkConstantsAndSchemeName) {
    Lines lines = SmallFile({}, {"cbColorScheme_ItemIndex=3", "MinMaxPos=1,2,3,4", "InspectorBar2_TopPanel=7",
                                 "NormPos=5,5,5,5", "Unknown=1", ""});
    RewriteCompilerSettings(lines, StartOptions());
    EXPECT_EQ(Section(lines, kOptionsSection), (Lines{"cbColorScheme_ItemIndex=Dark", "MinMaxPos=-1,-1,-3,-3",
                                                      "InspectorBar2_TopPanel=2", "NormPos=5,5,5,5", "Unknown=1", ""}));
}

TEST(SettingsRewrite, GutterColoursBecomeBlack) {
    Lines lines =
        SmallFile({}, {"GradientStartColor=clRed"},
                  {"GradientStartColor=clWindow", "GradientEndColor=clBtnFace", "Color=clLime", "Gradient=True"},
                  {"GradientEndColor=clRed"});
    RewriteCompilerSettings(lines, StartOptions());
    EXPECT_EQ(Section(lines, kOptionsSection), Lines{"GradientStartColor=clRed"});
    EXPECT_EQ(Section(lines, kGutterSection),
              (Lines{"GradientStartColor=clBlack", "GradientEndColor=clBlack", "Color=clLime", "Gradient=True"}));
    EXPECT_EQ(Section(lines, kGutterFontSection), Lines{"GradientEndColor=clRed"});
}

TEST(SettingsRewrite, GutterFontTouchesOnlyLimeLines) {
    struct Case {
        const char* In;
        const char* Out;
    };
    const Case cases[] = {
        {"Color=clLime", "Color=clLime"}, {"Color=clLimeGreen", "Color=clLime"},
        {"Color=clRed", "Color=clRed"},   {"Color=", "Color="},
        {"color=clLime", "color=clLime"}, {"Height=-11", "Height=-11"},
    };
    for (const Case& c : cases) {
        Lines lines = SmallFile({}, {}, {}, {c.In});
        RewriteCompilerSettings(lines, StartOptions());
        EXPECT_EQ(Section(lines, kGutterFontSection), Lines{c.Out}) << c.In;
    }
    Lines style = SmallFile({});
    style.push_back("Color=clLimeGreen");
    RewriteCompilerSettings(style, StartOptions());
    EXPECT_EQ(style.back(), "Color=clLimeGreen") << "the style section is not walked";
}

TEST(SettingsRewrite, HeadersAreFoundIgnoringCaseButClosedOnlyByTheExactText) {
    Lines lines = {"[FRMMAIN]",
                   "ShowCmd=1",
                   "[frmfindresults]",
                   "Flags=0",
                   "",
                   "NormPos=1",
                   "[frmFindResults]",
                   "[frmOptions2]",
                   "[frmOptions2\\SynEdit1_Gutter]",
                   "[frmOptions2\\SynEdit1_Gutter\\Font]",
                   "[frmOptions2\\SynEdit1_Gutter\\Font\\Style]"};
    RewriteCompilerSettings(lines, StartOptions());
    EXPECT_EQ(lines[1], "ShowCmd=3");
    EXPECT_EQ(lines[3], "Flags=2") << "a header in another case does not end the walk";
    EXPECT_EQ(lines[5], "NormPos=1") << "the empty line did";
}

TEST(SettingsRewrite, SectionsMayLieAnywhereInTheFile) {
    Lines lines = {"[frmOptions2]",
                   "CheckBox2=False",
                   "[frmOptions2\\SynEdit1_Gutter]",
                   "GradientEndColor=clRed",
                   "[frmOptions2\\SynEdit1_Gutter\\Font]",
                   "[frmOptions2\\SynEdit1_Gutter\\Font\\Style]",
                   "[frmMain]",
                   "Flags=0",
                   "[frmFindResults]"};
    RewriteCompilerSettings(lines, StartOptions());
    EXPECT_EQ(lines[1], "CheckBox2=True");
    EXPECT_EQ(lines[3], "GradientEndColor=clBlack");
    EXPECT_EQ(lines[7], "Flags=2");
}

TEST(SettingsRewrite, DamagedFilesRaiseTheIndexErrorAndStayUnchanged) {
    const Lines good = SmallFile({"ShowCmd=1"}, {"CheckBox2=False"}, {"GradientEndColor=clRed"}, {"Color=clLime"});
    const int n = int(good.size());
    auto without = [&](const String& line) {
        Lines l;
        for (const String& s : good)
            if (s != line) l.push_back(s);
        return l;
    };
    auto msg = [](int index) { return "List index out of bounds (" + std::to_string(index) + ")"; };
    // A missing opening header is the search's -1; a missing closing
    // header lets the walk run to the end of the list.
    EXPECT_EQ(ErrorOf(without(kMainSection)), msg(-1));
    EXPECT_EQ(ErrorOf(without(kOptionsSection)), msg(-1));
    EXPECT_EQ(ErrorOf(without(kGutterSection)), msg(n - 1));
    EXPECT_EQ(ErrorOf(without(kGutterFontSection)), msg(n - 1));
    EXPECT_EQ(ErrorOf(without(kGutterFontStyleSection)), msg(n - 1));
    EXPECT_EQ(ErrorOf(without(kFindResultsSection)), msg(n - 1)) << "no empty line ends the window walk";
    EXPECT_EQ(ErrorOf({}), msg(-1));
    // The options before their closing header's only occurrence: the walk
    // from the options header finds no closing header below it.
    EXPECT_EQ(ErrorOf({kGutterSection, kMainSection, kFindResultsSection, kOptionsSection}), msg(4));
}

TEST(SettingsRewrite, MissingFindResultsWithAnEmptyLineIsFine) {
    Lines lines = SmallFile({"ShowCmd=1", ""});
    lines.erase(std::find(lines.begin(), lines.end(), String(kFindResultsSection)));
    EXPECT_NO_THROW(RewriteCompilerSettings(lines, StartOptions()));
    EXPECT_EQ(lines[3], "ShowCmd=3");
}

TEST(SettingsRewrite, StringListFormAgreesAndStaysUnchangedOnError) {
    const String text = ReadFixture("mikroc_pic_settings.ini");
    TStringList list;
    list.SetText(text);
    EXPECT_TRUE(RewriteCompilerSettings(list, StartOptions()).LayoutNamed);
    EXPECT_EQ(list.Text(), ReadFixture("mikroc_pic_settings.expected.ini"));

    TStringList damaged;
    damaged.SetText("[frmMain]\r\nShowCmd=1\r\n\r\n[frmOptions2]\r\nCheckBox2=False\r\n");
    const String before = damaged.Text();
    try {
        RewriteCompilerSettings(damaged, StartOptions());
        ADD_FAILURE() << "no error";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (5)");
    }
    EXPECT_EQ(damaged.Text(), before);
}

namespace {

// The text form's result, or its error's text.
String TextResult(const String& text, TRewriteOutcome* outcome) {
    try {
        return RewriteCompilerSettingsText(text, StartOptions(), outcome);
    } catch (const EStringListError& e) {
        return "error: " + e.Message();
    }
}

// The list form on the text's lines, written out as the string list saves.
String ListResult(const String& text, TRewriteOutcome* outcome) {
    Lines lines = SplitLines(text);
    try {
        *outcome = RewriteCompilerSettings(lines, StartOptions());
        return JoinLines(lines);
    } catch (const EStringListError& e) {
        return "error: " + e.Message();
    }
}

// The lines with a break after each: the same one, or CR LF, LF and CR in
// turn; without a break after the last line when finalBreak is false.
String Joined(const Lines& lines, const char* lineBreak, bool finalBreak) {
    const char* const mixed[] = {"\r\n", "\n", "\r"};
    String text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (finalBreak || i + 1 < lines.size()) text += lineBreak ? lineBreak : mixed[i % 3];
    }
    return text;
}

}  // namespace

// The whole-text form finds its headers and lines in the text itself and
// copies CR LF text in runs: it must give the bytes, the outcome and the
// error of the list form on the same lines, whatever the line breaks.
TEST(SettingsRewrite, TextFormAgreesWithTheListFormForEveryLineBreakStyle) {
    const Lines full = SmallFile({"LastLayout=Old", "ShowCmd=1", "NormPos=1,2,3,4"},
                                 {"CheckBox2=False", "CheckBox2==x", "=CheckBox2=", "CheckBox2", "",
                                  "AdvOfficeCheckBox10_Checked=False", "AdvOfficeCheckBox10_CheckedX=1",
                                  "MRU=[frmOptions2\\SynEdit1_Gutter]"},
                                 {"GradientEndColor=clRed"}, {"Color=clLimeGreen"});
    auto without = [&](const String& dropped) {
        Lines l;
        for (const String& s : full)
            if (s != dropped) l.push_back(s);
        return l;
    };
    Lines fixture = SplitLines(ReadFixture("mikroc_pic_settings.ini"));
    // Long enough that a break of another kind far down lies beyond the
    // first stretch the break test looks at.
    Lines longFile = fixture;
    for (int i = 0; i < 400; ++i) longFile.insert(longFile.begin() + 1, "Filler" + std::to_string(i) + "=x");
    // Each look-alike is followed by a key that would change if it were
    // taken for the header.
    Lines headersOddlyPlaced = {"x[frmMain]",
                                "Flags=0",
                                "[frmMain]x",
                                "NormPos=1",
                                "[frmMain",
                                "MessagesColumn0Width=1",
                                "[FRMmain]",
                                "ShowCmd=1",
                                "[frmFindResults]",
                                "[frmOptions2\\SynEdit1_Gutter]",
                                "GradientEndColor=clRed",
                                "[frmOptions2]",
                                "Flags=0",
                                "[frmOptions2\\SynEdit1_Gutter]",
                                "[frmOptions2\\SynEdit1_Gutter\\Font]",
                                "[frmOptions2\\SynEdit1_Gutter\\Font\\Style]"};
    const std::pair<const char*, Lines> files[] = {
        {"all sections", full},
        {"the realistic file", fixture},
        {"a long file", longFile},
        {"headers not alone on their line", headersOddlyPlaced},
        {"sections in another order",
         {"[frmOptions2]", "CheckBox2=False", "[frmOptions2\\SynEdit1_Gutter]", "GradientEndColor=clRed",
          "[frmOptions2\\SynEdit1_Gutter\\Font]", "[frmOptions2\\SynEdit1_Gutter\\Font\\Style]", "[frmMain]", "Flags=0",
          "[frmFindResults]"}},
        {"no main window header", without(kMainSection)},
        {"no options header", without(kOptionsSection)},
        {"no gutter header", without(kGutterSection)},
        {"no gutter font header", without(kGutterFontSection)},
        {"no font style header", without(kGutterFontStyleSection)},
        {"no find results header", without(kFindResultsSection)},
        {"options only before their closing header",
         {kGutterSection, kMainSection, kFindResultsSection, kOptionsSection}},
        {"no lines", {}},
    };
    struct Style {
        const char* Name;
        const char* Break;  // nullptr: CR LF, LF and CR in turn
        bool FinalBreak;
    };
    const Style styles[] = {
        {"CR LF", "\r\n", true},
        {"LF", "\n", true},
        {"CR", "\r", true},
        {"mixed", nullptr, true},
        {"CR LF, no final break", "\r\n", false},
        {"LF, no final break", "\n", false},
        {"CR, no final break", "\r", false},
    };
    for (const auto& [fileName, lines] : files) {
        for (const Style& style : styles) {
            const String text = Joined(lines, style.Break, style.FinalBreak);
            TRewriteOutcome fromText, fromList;
            EXPECT_EQ(TextResult(text, &fromText), ListResult(text, &fromList)) << fileName << ", " << style.Name;
            EXPECT_EQ(fromText.LinesChanged, fromList.LinesChanged) << fileName << ", " << style.Name;
            EXPECT_EQ(fromText.LayoutNamed, fromList.LayoutNamed) << fileName << ", " << style.Name;
        }
        // One break of another kind far down in CR LF text.
        for (const char* odd : {"\n", "\r", "\n\r"}) {
            String text = Joined(lines, "\r\n", true);
            const std::size_t at = text.rfind("\r\n", text.size() > 4 ? text.size() - 3 : 0);
            if (at == String::npos) continue;
            text.replace(at, 2, odd);
            TRewriteOutcome fromText, fromList;
            EXPECT_EQ(TextResult(text, &fromText), ListResult(text, &fromList))
                << fileName << ", one " << testing::PrintToString(String(odd));
        }
    }
}
