// The work behind the main window: finding the compilers of the chosen
// target family, listing layouts and colour schemes, checking the user's
// choices and rewriting each chosen compiler's "settings.ini".
//
// The window reads its controls into a TChoiceState and a
// TCompilerOptions, calls one of these methods and puts the result into
// its controls; everything else happens here.
#pragma once

#include <array>
#include <functional>

#include "app/choice_checks.h"
#include "app/compiler_options.h"
#include "app/file_lists.h"
#include "app/updater_system.h"

// The choices as the window shows them, with the selected target family's
// text ("" when nothing is selected).
struct TWindowChoices : TChoiceState {
    String Family;
};

class TSettingsUpdater {
public:
    explicit TSettingsUpdater(TUpdaterSystem& system) : FSystem(system) {}

    // The compiler's folder, ending in "\", or "" when the compiler of this
    // caption is not recorded for the target family. Unless probe, the
    // user's choices are checked first: the first one missing is shown and
    // the result is "". The folder is the default value of the compiler's
    // key below HKEY_LOCAL_MACHINE, or below HKEY_CURRENT_USER when that
    // gives nothing. No family selected finds nothing.
    String GetPath(const String& compilerCaption, const TWindowChoices& choices, bool probe);

    // Whether the compiler's recorded folder exists, for each of the three
    // compilers in button order. The compilers are named by the captions of
    // their buttons (kCompilerCaptions unless given).
    std::array<bool, 3> ProbeCompilers(const TWindowChoices& choices);
    std::array<bool, 3> ProbeCompilers(const std::array<String, 3>& compilerCaptions, const TWindowChoices& choices);

    // The list's new entries: the placeholder, then the base names of the
    // files found.
    std::vector<String> ListEntries(const TFileListKind& kind);
    // Gives add the list's new entries one by one; when there is no such
    // file, the message saying so is shown afterwards, with the placeholder
    // in the list already.
    void FillList(const TFileListKind& kind, const std::function<void(const String&)>& add);

    // Rewrites the compiler's "settings.ini": 0 when it was rewritten, 1
    // when no folder was found (the checks have said why), the file does
    // not exist, or the chosen layout could not be put into the compiler's
    // "Layouts" folder (which is said; the file is then left as it was).
    // A damaged file raises the string list's index error; a file that
    // cannot be read or saved raises the file error. In both cases the file
    // on disk is unchanged.
    int ImportSettings(const String& compilerCaption, const TWindowChoices& choices, const TCompilerOptions& options);

    // A compiler button: ImportSettings, and on success the message
    // "<compiler> <family> settings succesfully changed.". Returns the
    // result of ImportSettings.
    int ChangeCompiler(const String& compilerCaption, const TWindowChoices& choices, const TCompilerOptions& options);

    // "All three": ImportSettings for each compiler in button order, whatever
    // the earlier results, then "<n> out of 3 settings succesfully
    // changed.". A compiler whose rewrite raises (a damaged file, a file
    // that cannot be read or saved) counts as a failure: the error's text is
    // shown and the compilers after it are still tried. Returns the number
    // of failures. The compilers are named by
    // the captions of their buttons (kCompilerCaptions unless given).
    int ChangeAllCompilers(const TWindowChoices& choices, const TCompilerOptions& options);
    int ChangeAllCompilers(const std::array<String, 3>& compilerCaptions, const TWindowChoices& choices,
                           const TCompilerOptions& options);

private:
    // The layout must be in the compiler's "Layouts" folder: copied there
    // unless a file of that name is there already. False (after saying so)
    // when it is not there afterwards.
    bool PutLayoutInPlace(const String& compilerFolder, const String& layout);

    TUpdaterSystem& FSystem;
};
