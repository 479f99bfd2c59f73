#include "storage/text_macros.h"

#include "classlib/core/sysutils.h"
#include "classlib/core/typinfo.h"
#include "storage/support/errors.h"
#include "storage/support/file_version_info.h"

// ---- Sources ----------------------------------------------------------------

TDateTime TZvMacroSource::Now() { return ::Now(); }

namespace {

bool IsFormClass(TClass cls) {
    for (; cls; cls = cls->Parent)
        if (cls->Name == "TCustomForm") return true;
    return false;
}

// The source used until the program installs its own.
class TNoProgramMacroSource : public TZvMacroSource {
public:
    String ExeName() override { return String(); }
    String VersionValue(int) override { throw EZevFileVersionInfoError(ZevText::NoVersionInfo); }
    void GetScreenSize(int& width, int& height) override { width = height = 0; }
    void GetDesktopSize(int& width, int& height) override { width = height = 0; }
    void ShowInformation(const String&) override {}
};

TZvMacroSource* InstalledSource = nullptr;

const char* const DefaultReplacedMessage = "The Default Root Value \"%0:s\" has been replaced with \"%1:s\".\r\n"
                                           "Please change the value in the FileVersionInfo Project Properties.";

}  // namespace

bool TZvMacroSource::FindForm(TComponent* start, String& name, String& caption) {
    for (TComponent* c = start; c; c = c->Owner()) {
        if (!IsFormClass(c->ClassType())) continue;
        name = c->Name();
        caption = GetPropInfo(c, "Caption") ? GetStrProp(c, "Caption") : String();
        return true;
    }
    return false;
}

TZvMacroSource& ZvMacroSource() {
    static TNoProgramMacroSource noProgram;
    return InstalledSource ? *InstalledSource : noProgram;
}

void ZvInstallMacroSource(TZvMacroSource* source) { InstalledSource = source; }

// ---- TZvTranslateString -------------------------------------------------------

TClass TZvTranslateString::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvTranslateString>("TZvTranslateString")
            .Prop("DateFormat", &TZvTranslateString::FDateFormat, &TZvTranslateString::FDateFormat)
            .Prop("DateTimeFormat", &TZvTranslateString::FDateTimeFormat, &TZvTranslateString::SetDateTimeFormat)
            .Prop("LeftDelimiter", &TZvTranslateString::FLeftDelimiter, &TZvTranslateString::FLeftDelimiter)
            .Prop("RightDelimiter", &TZvTranslateString::FRightDelimiter, &TZvTranslateString::FRightDelimiter)
            .Prop("TimeFormat", &TZvTranslateString::FTimeFormat, &TZvTranslateString::FTimeFormat)
            .Prop("OnProcessCommand", &TZvTranslateString::FOnProcessCommand, &TZvTranslateString::FOnProcessCommand)
            .Build();
    return &info;
}

TZvTranslateString::TZvTranslateString(TComponent* owner) : TZvComponent(owner) {}

String TZvTranslateString::ExpandText(const String& text) {
    String rest = text, result;
    while (!rest.empty()) {
        size_t left = FLeftDelimiter.empty() ? String::npos : rest.find(FLeftDelimiter);
        if (left == String::npos) {
            result += rest;
            break;
        }
        result.append(rest, 0, left);
        // The whole left delimiter goes, however long it is.
        String macro = rest.substr(left);
        rest.erase(0, left + FLeftDelimiter.size());
        size_t right = FRightDelimiter.empty() ? String::npos : rest.find(FRightDelimiter);
        if (right == String::npos) {
            // An unterminated macro stays as it was written.
            result += macro;
            break;
        }
        String command = rest.substr(0, right), value;
        if (EvaluateCommand(command, value)) {
            result += value;
            // The whole right delimiter goes, however long it is.
            rest.erase(0, right + FRightDelimiter.size());
        } else {
            // The right delimiter stays: it may open the next macro.
            result += command;
            rest.erase(0, right);
        }
    }
    return result;
}

String TZvTranslateString::VersionValue(TCachedValue& cache, const char* command, int key, const char* defaultValue) {
    if (!cache.Fetched) {
        try {
            cache.Value = Source().VersionValue(key);
        } catch (const EZevFileVersionInfoError&) {
            Source().ShowInformation(Format(DefaultReplacedMessage, {command, defaultValue}));
            cache.Value = defaultValue;
        }
        cache.Fetched = true;
    }
    return cache.Value;
}

String TZvTranslateString::ExeBaseName() { return ChangeFileExt(ExtractFileName(Source().ExeName()), ""); }

bool TZvTranslateString::EvaluateCommand(const String& command, String& commandResult) {
    String name = Trim(UpperCase(command));
    bool changed = true;
    int width = 0, height = 0;

    if (name == "APPL_NAME") {
        commandResult = VersionValue(FApplicationName, "APPL_NAME", vkProductName, "MyZVLApplication");
        if (commandResult.empty()) commandResult = ExeBaseName();
    } else if (name == "COMPANY_NAME") {
        commandResult = VersionValue(FCompanyName, "COMPANY_NAME", vkCompanyName, "MyCompany");
    } else if (name == "FILEVERSION") {
        commandResult = VersionValue(FFileVersion, "FILEVERSION", vkFileVersion, "0.0.0.0");
    } else if (name == "PRODUCTVERSION") {
        commandResult = VersionValue(FProductVersion, "PRODUCTVERSION", vkProductVersion, "0.0.0.0");
    } else if (name == "DATE") {
        commandResult = FormatDateTime(FDateFormat, Source().Now());
    } else if (name == "TIME") {
        commandResult = FormatDateTime(FTimeFormat, Source().Now());
    } else if (name == "DATETIME") {
        commandResult = FormatDateTime(FDateTimeFormat, Source().Now());
    } else if (name == "EXENAME") {
        commandResult = Source().ExeName();
    } else if (name == "FILENAME") {
        commandResult = ExeBaseName();
    } else if (name == "FULLDIREXE") {
        commandResult = ExcludeTrailingPathDelimiter(ExtractFilePath(Source().ExeName()));
    } else if (name == "FORMNAME" || name == "FORMCAPTION") {
        String formName, formCaption;
        Source().FindForm(Owner(), formName, formCaption);
        commandResult = name == "FORMNAME" ? formName : formCaption;
    } else if (name == "SCREENSIZE") {
        Source().GetScreenSize(width, height);
        commandResult = Format("%dx%d", {width, height});
    } else if (name == "DESKTOPSIZE") {
        Source().GetDesktopSize(width, height);
        commandResult = Format("%dx%d", {width, height});
    } else {
        changed = false;
    }

    if (FOnProcessCommand) FOnProcessCommand(this, name, commandResult, changed);
    return changed;
}
