// TZvTranslateString: expands macros such as "%DATE%" or "%FULLDIREXE%" in
// a text into values of the running program. The settings store passes its
// file names through one.
//
// The values come from a TZvMacroSource: the program's own (installed by the
// Windows start-up) or one a caller gives the expander.
#pragma once

#include "classlib/core/events.h"
#include "storage/storage_component.h"

// The values the expander reads from the running program.
class TZvMacroSource {
public:
    virtual ~TZvMacroSource() = default;

    virtual TDateTime Now();
    // The executable's full file name.
    virtual String ExeName() = 0;
    // A string of the executable's version resource (first language), by
    // its predefined key number (vkProductName...). Raises
    // EZevFileVersionInfoError when the file has no version information.
    virtual String VersionValue(int key) = 0;
    // The first form met walking from start up the chain of owners, start
    // itself included: its name and caption. False when there is none. By
    // default a form is a component whose class descends from TCustomForm,
    // and its caption is its "Caption" property.
    virtual bool FindForm(TComponent* start, String& name, String& caption);
    virtual void GetScreenSize(int& width, int& height) = 0;
    virtual void GetDesktopSize(int& width, int& height) = 0;
    // An information message box with an OK button.
    virtual void ShowInformation(const String& text) = 0;
};

// The program's own source. Until one is installed: a source that knows no
// executable, no version resource and no screen, and shows nothing.
TZvMacroSource& ZvMacroSource();
void ZvInstallMacroSource(TZvMacroSource* source);
// Windows: installs the source of the running program (the executable, its
// version resource, the screen, message boxes). The start-up of the
// support routines calls it.
void ZvInstallSystemMacroSource();

// Sender, Command (upper-cased and trimmed), CommandResult, Changed.
using TProcessCommandEvent = TEvent<TObject*, const String&, String&, bool&>;

class TZvTranslateString : public TZvComponent {
    QL_CLASS(TZvTranslateString, TZvComponent)
public:
    explicit TZvTranslateString(TComponent* owner);

    // The text with every recognised macro replaced by its value.
    String ExpandText(const String& text);
    // Sets commandResult to the command's value and returns true when the
    // command is known (or OnProcessCommand says so); an unknown command
    // leaves commandResult as it was.
    bool EvaluateCommand(const String& command, String& commandResult);

    const String& DateFormat() const { return FDateFormat; }
    void SetDateFormat(const String& value) { FDateFormat = value; }
    const String& DateTimeFormat() const { return FDateTimeFormat; }
    void SetDateTimeFormat(const String& value) { FDateTimeFormat = value; }
    const String& LeftDelimiter() const { return FLeftDelimiter; }
    void SetLeftDelimiter(const String& value) { FLeftDelimiter = value; }
    const String& RightDelimiter() const { return FRightDelimiter; }
    void SetRightDelimiter(const String& value) { FRightDelimiter = value; }
    const String& TimeFormat() const { return FTimeFormat; }
    void SetTimeFormat(const String& value) { FTimeFormat = value; }
    const TProcessCommandEvent& OnProcessCommand() const { return FOnProcessCommand; }
    void SetOnProcessCommand(const TProcessCommandEvent& value) { FOnProcessCommand = value; }

    // Where the values come from; nullptr: the program's own source.
    void SetMacroSource(TZvMacroSource* source) { FSource = source; }

private:
    struct TCachedValue {
        bool Fetched = false;
        String Value;
    };
    TZvMacroSource& Source() const { return FSource ? *FSource : ZvMacroSource(); }
    // A version-resource value, fetched once; the default after a message
    // box when the executable has no version information.
    String VersionValue(TCachedValue& cache, const char* command, int key, const char* defaultValue);
    String ExeBaseName();

    String FDateFormat = "dd_mm_yyyy";
    String FDateTimeFormat = "dd_mm_yyyy hh_nn_ss";
    String FLeftDelimiter = "%";
    String FRightDelimiter = "%";
    String FTimeFormat = "hh_nn_ss";
    TProcessCommandEvent FOnProcessCommand;

    TZvMacroSource* FSource = nullptr;
    TCachedValue FApplicationName;
    TCachedValue FCompanyName;
    TCachedValue FFileVersion;
    TCachedValue FProductVersion;
};
