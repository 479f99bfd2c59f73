// The rewrite of a compiler's "settings.ini" from the main window's options.
//
// The file is handled as a list of text lines, never parsed as an INI
// file: a section is the first line equal to its header (case ignored), a
// value line is a line that begins with its key and "=" (case counts), and
// a walk through a section ends at the first line exactly equal to the
// header that closes it. Lines are replaced whole; none is added or
// removed, so a key that is missing from the file stays missing.
//
// Four walks, in this order, each from its own header:
//   "[frmMain]" up to "[frmFindResults]" or the first empty line: the IDE's
//       window (layout, placement, message columns);
//   "[frmOptions2]" up to "[frmOptions2\SynEdit1_Gutter]": the options;
//   "[frmOptions2\SynEdit1_Gutter]" up to "...\Font]": gutter colours;
//   "[frmOptions2\SynEdit1_Gutter\Font]" up to "...\Font\Style]": the
//       gutter font colour.
// A missing header, or a walk that runs off the end of the list before its
// closing header, raises EStringListError "List index out of bounds (%d)"
// with the index that would have been read (-1 for a missing header, the
// line count at the end) and leaves the list as it was.
#pragma once

#include <vector>

#include "app/compiler_options.h"
#include "classlib/core/strings.h"

// The compiler's settings file, in the compiler's folder.
inline constexpr const char* kCompilerSettingsFileName = "settings.ini";

inline constexpr const char* kMainSection = "[frmMain]";
inline constexpr const char* kFindResultsSection = "[frmFindResults]";
inline constexpr const char* kOptionsSection = "[frmOptions2]";
inline constexpr const char* kGutterSection = "[frmOptions2\\SynEdit1_Gutter]";
inline constexpr const char* kGutterFontSection = "[frmOptions2\\SynEdit1_Gutter\\Font]";
inline constexpr const char* kGutterFontStyleSection = "[frmOptions2\\SynEdit1_Gutter\\Font\\Style]";

struct TRewriteOutcome {
    // A "LastLayout=" line now names options.Layout: the layout file must
    // be in the compiler's "Layouts" folder for the IDE to find it.
    bool LayoutNamed = false;
    // How many lines were given new text (a line replaced by the text it
    // already had does not count).
    int LinesChanged = 0;
};

// Rewrites the lines in place. On an error the lines are left unchanged.
TRewriteOutcome RewriteCompilerSettings(std::vector<String>& lines, const TCompilerOptions& options);
TRewriteOutcome RewriteCompilerSettings(TStrings& lines, const TCompilerOptions& options);

// The same on the file's whole text: lines broken at CR LF, LF or CR (a
// final break adds no empty line), the result with every line followed by
// CR LF.
String RewriteCompilerSettingsText(const String& text, const TCompilerOptions& options,
                                   TRewriteOutcome* outcome = nullptr);

// The line rules of the class library's string lists, for the whole-text
// form above: SplitLines breaks at CR LF, LF or CR, and a final break adds
// no empty line; JoinLines puts CR LF after every line.
std::vector<String> SplitLines(const String& text);
String JoinLines(const std::vector<String>& lines);
