#include "app/settings_updater.h"

#include "app/compiler_keys.h"
#include "app/settings_rewrite.h"
#include "classlib/core/exceptions.h"

String TSettingsUpdater::GetPath(const String& compilerCaption, const TWindowChoices& choices, bool probe) {
    if (!probe) {
        String missing = CheckChoices(choices);
        if (!missing.empty()) {
            FSystem.ShowMessage(missing);
            return String();
        }
    }
    if (choices.Family.empty()) return String();

    const String key = CompilerRegistryKey(compilerCaption, choices.Family);
    String folder = FSystem.ReadKeyDefault(rrLocalMachine, key);
    if (folder.empty()) folder = FSystem.ReadKeyDefault(rrCurrentUser, key);
    if (!folder.empty()) folder += '\\';
    return folder;
}

std::array<bool, 3> TSettingsUpdater::ProbeCompilers(const TWindowChoices& choices) {
    return ProbeCompilers({kCompilerCaptions[0], kCompilerCaptions[1], kCompilerCaptions[2]}, choices);
}

std::array<bool, 3> TSettingsUpdater::ProbeCompilers(const std::array<String, 3>& compilerCaptions,
                                                     const TWindowChoices& choices) {
    std::array<bool, 3> found{};
    for (std::size_t i = 0; i < found.size(); ++i)
        found[i] = FSystem.DirectoryExists(GetPath(compilerCaptions[i], choices, true));
    return found;
}

std::vector<String> TSettingsUpdater::ListEntries(const TFileListKind& kind) {
    return FileListEntries(kind, FSystem.FindNames(FileListMask(kind, FSystem.ProgramFolder())));
}

void TSettingsUpdater::FillList(const TFileListKind& kind, const std::function<void(const String&)>& add) {
    const std::vector<String> entries = ListEntries(kind);
    for (const String& entry : entries) add(entry);
    if (entries.size() == 1) FSystem.ShowMessage(NoFilesFoundMessage(kind, FSystem.ProgramFolder()));
}

bool TSettingsUpdater::PutLayoutInPlace(const String& compilerFolder, const String& layout) {
    const String source = ProgramLayoutFile(FSystem.ProgramFolder(), layout);
    const String target = CompilerLayoutFile(compilerFolder, layout);
    if (FSystem.FileExists(target)) return true;  // never overwritten
    FSystem.CopyNewFile(source, target);
    // The copy's own answer is not enough: what counts is that the IDE
    // finds the layout it is told to open.
    if (FSystem.FileExists(target)) return true;
    FSystem.ShowMessage(LayoutNotCopiedMessage(source, target));
    return false;
}

int TSettingsUpdater::ImportSettings(const String& compilerCaption, const TWindowChoices& choices,
                                     const TCompilerOptions& options) {
    const String folder = GetPath(compilerCaption, choices, false);
    if (folder.empty()) return 1;
    const String fileName = folder + kCompilerSettingsFileName;
    if (!FSystem.FileExists(fileName)) return 1;

    // The whole rewrite is done in memory first: a damaged file raises
    // before anything on disk has changed.
    TRewriteOutcome outcome;
    const String text = RewriteCompilerSettingsText(FSystem.ReadFile(fileName), options, &outcome);
    if (outcome.LayoutNamed && !PutLayoutInPlace(folder, options.Layout)) return 1;
    FSystem.ReplaceFile(fileName, text);
    return 0;
}

int TSettingsUpdater::ChangeCompiler(const String& compilerCaption, const TWindowChoices& choices,
                                     const TCompilerOptions& options) {
    const int result = ImportSettings(compilerCaption, choices, options);
    if (result == 0) FSystem.ShowMessage(CompilerChangedMessage(compilerCaption, choices.Family));
    return result;
}

int TSettingsUpdater::ChangeAllCompilers(const TWindowChoices& choices, const TCompilerOptions& options) {
    return ChangeAllCompilers({kCompilerCaptions[0], kCompilerCaptions[1], kCompilerCaptions[2]}, choices, options);
}

int TSettingsUpdater::ChangeAllCompilers(const std::array<String, 3>& compilerCaptions, const TWindowChoices& choices,
                                         const TCompilerOptions& options) {
    int failures = 0;
    for (const String& caption : compilerCaptions) {
        // A compiler whose file cannot be rewritten is one failure of the
        // three: its error is said and the next compiler is still tried.
        try {
            failures += ImportSettings(caption, choices, options);
        } catch (const Exception& e) {
            FSystem.ShowMessage(e.Message());
            ++failures;
        }
    }
    FSystem.ShowMessage(AllCompilersChangedMessage(failures));
    return failures;
}
