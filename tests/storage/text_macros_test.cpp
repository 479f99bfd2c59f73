#include <gtest/gtest.h>

#include "classlib/core/sysutils.h"
#include "classlib/core/typinfo.h"
#include "storage/support/errors.h"
#include "storage/support/file_version_info.h"
#include "storage/text_macros.h"

namespace {

// The running program as the tests want it.
class TFakeSource : public TZvMacroSource {
public:
    TDateTime Moment = EncodeDate(2026, 3, 7) + EncodeTime(9, 5, 4, 0);
    String Exe = "C:\\Program Files\\Quillmere\\Quillmere.exe";
    std::map<int, String> Versions = {{vkProductName, "Quillmere"},
                                      {vkCompanyName, "Quillmere Software"},
                                      {vkFileVersion, "1.50.0.7"},
                                      {vkProductVersion, "1.50"}};
    bool HasVersionInfo = true;
    bool VersionFailsOtherwise = false;
    int VersionReads = 0;
    std::vector<String> Shown;

    TDateTime Now() override { return Moment; }
    String ExeName() override { return Exe; }
    String VersionValue(int key) override {
        ++VersionReads;
        if (VersionFailsOtherwise) throw EInOutError("disk gone");
        if (!HasVersionInfo) throw EZevFileVersionInfoError(ZevText::NoVersionInfo);
        return Versions[key];
    }
    void GetScreenSize(int& width, int& height) override {
        width = 1024;
        height = 768;
    }
    void GetDesktopSize(int& width, int& height) override {
        width = 2048;
        height = 768;
    }
    void ShowInformation(const String& text) override { Shown.push_back(text); }
};

// Stands for the visual library's form: what the macro source looks for is
// a class descending from TCustomForm with a Caption.
class TFakeForm : public TComponent {
    QL_CLASS(TFakeForm, TComponent)
public:
    using TComponent::TComponent;
    String FCaption;
};

class TFakeControl : public TComponent {
    QL_CLASS(TFakeControl, TComponent)
public:
    using TComponent::TComponent;
};

}  // namespace

TClass TFakeForm::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TFakeForm>("TCustomForm").Prop("Caption", &TFakeForm::FCaption, &TFakeForm::FCaption).Build();
    return &info;
}

TClass TFakeControl::StaticClass() {
    static const TClassInfo info = TClassBuilder<TFakeControl>("TFakeControl").Build();
    return &info;
}

namespace {

class TextMacros : public ::testing::Test {
protected:
    TextMacros() { Expander.SetMacroSource(&Source); }
    String Expand(const String& text) { return Expander.ExpandText(text); }

    TFakeSource Source;
    TZvTranslateString Expander{nullptr};
};

TEST_F(TextMacros, InitialProperties) {
    EXPECT_EQ(Expander.DateFormat(), "dd_mm_yyyy");
    EXPECT_EQ(Expander.DateTimeFormat(), "dd_mm_yyyy hh_nn_ss");
    EXPECT_EQ(Expander.LeftDelimiter(), "%");
    EXPECT_EQ(Expander.RightDelimiter(), "%");
    EXPECT_EQ(Expander.TimeFormat(), "hh_nn_ss");
    EXPECT_FALSE(Expander.OnProcessCommand());
}

TEST_F(TextMacros, PublishedPropertiesInOrder) {
    std::vector<String> names;
    for (const TPropInfo* p : GetPropList(TZvTranslateString::StaticClass())) names.push_back(p->Name);
    EXPECT_EQ(names, (std::vector<String>{"Name", "Tag", "DateFormat", "DateTimeFormat", "LeftDelimiter",
                                          "RightDelimiter", "TimeFormat", "OnProcessCommand"}));
    SetStrProp(&Expander, "DateTimeFormat", "yyyy");
    EXPECT_EQ(Expander.DateTimeFormat(), "yyyy");
}

TEST_F(TextMacros, Expansion) {
    struct Case {
        const char* Text;
        const char* Expected;
    } cases[] = {
        {"Settings.ini", "Settings.ini"},
        {"%FULLDIREXE%\\data.ini", "C:\\Program Files\\Quillmere\\data.ini"},
        {"%date%", "07_03_2026"},
        {"% DATE %", "07_03_2026"},
        {"%Time%", "09_05_04"},
        {"%DATETIME%", "07_03_2026 09_05_04"},
        {"50%", "50%"},
        // An unknown command loses its left delimiter; its right one is read
        // as the next left delimiter, which has no partner and stays.
        {"%FOO%bar", "FOO%bar"},
        {"%FOO%DATE%", "FOO07_03_2026"},
        {"%%", "%"},
        {"%", "%"},
        {"", ""},
        {"a%DATE%b%TIME%c", "a07_03_2026b09_05_04c"},
        {"%EXENAME%", "C:\\Program Files\\Quillmere\\Quillmere.exe"},
        {"%FILENAME%.ini", "Quillmere.ini"},
        {"%SCREENSIZE%", "1024x768"},
        {"%DESKTOPSIZE%", "2048x768"},
        {"%APPL_NAME%", "Quillmere"},
        {"%COMPANY_NAME%\\%PRODUCTVERSION%", "Quillmere Software\\1.50"},
        {"%FILEVERSION%", "1.50.0.7"},
        {"%FORMNAME%|%FORMCAPTION%", "|"},
    };
    for (const Case& c : cases) EXPECT_EQ(Expand(c.Text), c.Expected) << c.Text;
    EXPECT_TRUE(Source.Shown.empty());
}

TEST_F(TextMacros, LongerDelimiters) {
    Expander.SetLeftDelimiter("[[");
    Expander.SetRightDelimiter("]");
    // Each delimiter goes as a whole.
    EXPECT_EQ(Expand("[[DATE]"), "07_03_2026");
    EXPECT_EQ(Expand("[[FOO]x"), "FOO]x");    // an unknown command loses its left delimiter only
    EXPECT_EQ(Expand("x[[DATE"), "x[[DATE");  // an unterminated macro stays as written
    Expander.SetLeftDelimiter("<");
    Expander.SetRightDelimiter(">");
    EXPECT_EQ(Expand("<DATE>.ini"), "07_03_2026.ini");
    EXPECT_EQ(Expand("<FOO><DATE>"), "FOO>07_03_2026");
    // A longer right delimiter goes as a whole after a known command.
    Expander.SetLeftDelimiter("%");
    Expander.SetRightDelimiter("]]");
    EXPECT_EQ(Expand("%DATE]]x"), "07_03_2026x");
    EXPECT_EQ(Expand("a%FOO]]b"), "aFOO]]b");
    Expander.SetLeftDelimiter("[[");
    EXPECT_EQ(Expand("[[ DATE]].ini"), "07_03_2026.ini");
    Expander.SetLeftDelimiter("{{");
    Expander.SetRightDelimiter("}}");
    EXPECT_EQ(Expand("{{DATE}}.ini"), "07_03_2026.ini");
    EXPECT_EQ(Expand("{{FOO}}{{TIME}}"), "FOO}}09_05_04");
    EXPECT_EQ(Expand("{DATE}}"), "{DATE}}");  // half a delimiter opens nothing
}

TEST_F(TextMacros, DateFormatsAreTheExpandersOwn) {
    Expander.SetDateFormat("yyyy-mm-dd");
    Expander.SetTimeFormat("hh.nn");
    Expander.SetDateTimeFormat("d/m/yy h:n:s");
    EXPECT_EQ(Expand("%DATE% %TIME%"), "2026-03-07 09.05");
    char separator = FormatSettings.DateSeparator;
    FormatSettings.DateSeparator = '/';
    EXPECT_EQ(Expand("%DATETIME%"), "7/3/26 9:5:4");
    FormatSettings.DateSeparator = separator;
}

TEST_F(TextMacros, EvaluateCommand) {
    String value = "untouched";
    EXPECT_FALSE(Expander.EvaluateCommand("NOSUCH", value));
    EXPECT_EQ(value, "untouched");
    EXPECT_TRUE(Expander.EvaluateCommand(" filename ", value));
    EXPECT_EQ(value, "Quillmere");
    EXPECT_FALSE(Expander.EvaluateCommand("FILE NAME", value));
}

TEST_F(TextMacros, ApplicationNameFallsBackToTheFileName) {
    Source.Versions[vkProductName] = "";
    EXPECT_EQ(Expand("%APPL_NAME%"), "Quillmere");
    Source.Exe = "D:\\tools\\other.prog.exe";
    EXPECT_EQ(Expand("%APPL_NAME%"), "other.prog");
}

TEST_F(TextMacros, VersionValuesAreReadOncePerExpander) {
    Expand("%APPL_NAME% %APPL_NAME% %COMPANY_NAME% %FILEVERSION% %PRODUCTVERSION% %FILEVERSION%");
    EXPECT_EQ(Source.VersionReads, 4);
    Source.Versions[vkFileVersion] = "2.0";
    EXPECT_EQ(Expand("%FILEVERSION%"), "1.50.0.7");

    TZvTranslateString other(nullptr);
    other.SetMacroSource(&Source);
    EXPECT_EQ(other.ExpandText("%FILEVERSION%"), "2.0");
}

TEST_F(TextMacros, MissingVersionInformationGivesTheDefaultsAfterOneMessageEach) {
    Source.HasVersionInfo = false;
    struct Case {
        const char* Macro;
        const char* Command;
        const char* Default;
    } cases[] = {
        {"%APPL_NAME%", "APPL_NAME", "MyZVLApplication"},
        {"%COMPANY_NAME%", "COMPANY_NAME", "MyCompany"},
        {"%FILEVERSION%", "FILEVERSION", "0.0.0.0"},
        {"%PRODUCTVERSION%", "PRODUCTVERSION", "0.0.0.0"},
    };
    for (const Case& c : cases) {
        Source.Shown.clear();
        EXPECT_EQ(Expand(c.Macro), c.Default);
        EXPECT_EQ(Expand(c.Macro), c.Default);
        ASSERT_EQ(Source.Shown.size(), 1u) << c.Macro;
        EXPECT_EQ(Source.Shown[0], String("The Default Root Value \"") + c.Command + "\" has been replaced with \"" +
                                       c.Default +
                                       "\".\r\nPlease change the value in the FileVersionInfo Project Properties.");
    }
    EXPECT_EQ(Source.VersionReads, 4);
}

TEST_F(TextMacros, OtherErrorsPassOnAndLeaveTheValueToBeReadAgain) {
    Source.VersionFailsOtherwise = true;
    EXPECT_THROW(Expand("%COMPANY_NAME%"), EInOutError);
    Source.VersionFailsOtherwise = false;
    EXPECT_EQ(Expand("%COMPANY_NAME%"), "Quillmere Software");
    EXPECT_EQ(Source.VersionReads, 2);
    EXPECT_TRUE(Source.Shown.empty());
}

struct TCommandHandler : TObject {
    std::vector<String> Seen;
    void ProcessCommand(TObject* sender, const String& command, String& result, bool& changed) {
        Seen.push_back(command);
        if (command == "USER") {
            result = "alice";
            changed = true;
        } else if (command == "DATE") {
            changed = false;  // the handler may also refuse a known command
        }
    }
};

TEST_F(TextMacros, OnProcessCommandMaySupplyOrRefuseAValue) {
    TCommandHandler handler;
    Expander.SetOnProcessCommand(TProcessCommandEvent::Bind<&TCommandHandler::ProcessCommand>(&handler));
    EXPECT_EQ(Expand("%user%\\%FILENAME%\\%DATE%"), "alice\\Quillmere\\DATE%");
    EXPECT_EQ(handler.Seen, (std::vector<String>{"USER", "FILENAME", "DATE"}));
}

TEST_F(TextMacros, FormNameAndCaptionComeFromTheFirstFormUpTheOwners) {
    TFakeForm form(nullptr);
    form.SetName("frmMain");
    form.FCaption = "Quillmere";
    TFakeControl panel(&form);
    TZvTranslateString expander(&panel);
    expander.SetMacroSource(&Source);
    EXPECT_EQ(expander.ExpandText("%FORMNAME%: %FORMCAPTION%"), "frmMain: Quillmere");

    TZvTranslateString direct(&form);
    direct.SetMacroSource(&Source);
    EXPECT_EQ(direct.ExpandText("%FORMNAME%"), "frmMain");

    TFakeControl orphan(nullptr);
    TZvTranslateString noForm(&orphan);
    noForm.SetMacroSource(&Source);
    EXPECT_EQ(noForm.ExpandText("[%FORMNAME%][%FORMCAPTION%]"), "[][]");
}

TEST(TextMacrosWithoutProgram, TheEmptySourceKnowsNothing) {
    TZvTranslateString expander(nullptr);
    EXPECT_EQ(expander.ExpandText("Settings.ini"), "Settings.ini");
    EXPECT_EQ(expander.ExpandText("%EXENAME%|%SCREENSIZE%"), "|0x0");
    EXPECT_EQ(expander.ExpandText("%FILEVERSION%"), "0.0.0.0");
}

}  // namespace
