#include "app/settings_rewrite.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "classlib/core/sysutils.h"

namespace {

const char* const kListIndexError = "List index out of bounds (%d)";

[[noreturn]] void RaiseIndexError(std::size_t index, bool missing) {
    throw EStringListError(Format(kListIndexError, {missing ? -1 : static_cast<int>(index)}));
}

using TLineView = std::string_view;

// Keys are compared as views of known length; most lines differ from a key
// in the first character, which is tested before the rest.
bool StartsWith(TLineView line, std::string_view key) {
    return line.size() >= key.size() && !key.empty() && line[0] == key[0] && line.substr(0, key.size()) == key;
}

// Equal with ASCII letters folded, as the string list's search compares.
bool SameTextView(TLineView a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = char(x - 32);
        if (y >= 'a' && y <= 'z') y = char(y - 32);
        if (x != y) return false;
    }
    return true;
}

const char* BoolText(bool value) { return value ? "True" : "False"; }

// A stretch of lines that one walk visits: [First, Last).
struct TWalkRange {
    std::size_t First = 0;
    std::size_t Last = 0;
};

// The first line equal to header, case ignored, as the string list's own
// search finds it. A missing header is the index error for -1, the index
// the search gave.
std::size_t FindHeader(const std::vector<TLineView>& lines, const char* header) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (SameTextView(lines[i], header)) return i;
    RaiseIndexError(0, true);
}

// From the header to the first line exactly equal to stop (or, when
// endAtEmpty, to the first empty line). Running off the end of the list is
// the index error for the line count, the first index past the end.
TWalkRange FindWalk(const std::vector<TLineView>& lines, const char* header, const char* stop, bool endAtEmpty) {
    TWalkRange range;
    range.First = FindHeader(lines, header);
    const std::string_view s(stop);
    for (std::size_t i = range.First; i < lines.size(); ++i) {
        if (lines[i] == s || (endAtEmpty && lines[i].empty())) {
            range.Last = i;
            return range;
        }
    }
    RaiseIndexError(lines.size(), false);
}

// The new texts of the lines that change, by line, in line order.
struct TLineChange {
    std::size_t Index;
    String Text;
};

struct TRewritePlan {
    TRewriteOutcome Outcome;
    std::vector<TLineChange> Changes;

    // The line at index becomes text (no change when it already is).
    void Replace(std::size_t index, TLineView line, String text) {
        if (line != text) {
            Changes.push_back({index, std::move(text)});
            ++Outcome.LinesChanged;
        }
    }
};

// The window of the compiler IDE: the layout to open with and a fixed
// placement. The first matching key decides.
void RewriteMainWindow(const std::vector<TLineView>& lines, TWalkRange range, const TCompilerOptions& options,
                       TRewritePlan& plan) {
    struct TFixedLine {
        std::string_view Key;
        const char* Line;
    };
    static constexpr TFixedLine kFixed[] = {
        {"ShowCmd=", "ShowCmd=3"},
        {"Flags=", "Flags=2"},
        {"MessagesColumn0Width=", "MessagesColumn0Width=34"},
        {"MessagesColumn1Width=", "MessagesColumn1Width=77"},
        {"MessagesColumn2Width=", "MessagesColumn2Width=379"},
        {"MessagesColumn3Width=", "MessagesColumn3Width=412"},
        {"NormPos=", "NormPos=0,0,1024,823"},
    };
    for (std::size_t i = range.First; i < range.Last; ++i) {
        const TLineView line = lines[i];
        if (StartsWith(line, "LastLayout=")) {
            plan.Replace(i, line, "LastLayout=" + options.Layout);
            plan.Outcome.LayoutNamed = true;
            continue;
        }
        for (const TFixedLine& fixed : kFixed) {
            if (StartsWith(line, fixed.Key)) {
                plan.Replace(i, line, fixed.Line);
                break;
            }
        }
    }
}

// Where a key of the options dialog takes its value from.
enum TValueSource { vsColorScheme, vsConstant, vsCheckBox, vsRadioGroup, vsComboBox };

struct TOptionKey {
    std::string_view Key;
    TValueSource Source;
    int Control;           // number in the control's name
    const char* Constant;  // vsConstant only
};

// The options dialog's keys, in the order each line is tested. The names
// are the compiler IDE's own and do not follow this window's controls.
constexpr TOptionKey kOptionKeys[] = {
    {"cbColorScheme_ItemIndex=", vsColorScheme, 0, nullptr},
    {"MinMaxPos=", vsConstant, 0, "-1,-1,-3,-3"},
    {"InspectorBar2_TopPanel=", vsConstant, 0, "2"},
    {"CheckBox2=", vsCheckBox, 1, nullptr},   // Restore Last Opened Project
    {"CheckBox3=", vsCheckBox, 2, nullptr},   // Restore All Opened Files
    {"CheckBox4=", vsCheckBox, 4, nullptr},   // Save Breakpoints
    {"CheckBox16=", vsCheckBox, 3, nullptr},  // Save Bookmarks
    {"CheckBox14=", vsCheckBox, 5, nullptr},  // Highlight brackets
    {"jvXPCheckBox4=", vsCheckBox, 7, nullptr},          // Check Spelling
    {"jvXPCheckBox5_enabled=", vsCheckBox, 7, nullptr},  // Check Spelling again
    {"RadioGroup1=", vsRadioGroup, 1, nullptr},           // Source file ext. modified
    {"AdvOfficeRadioGroup1=", vsRadioGroup, 3, nullptr},  // Comment Style
    {"AdvOfficeCheckBox10_Checked=", vsCheckBox, 6, nullptr},  // Enable Code Folding
    {"AdvOfficeCheckBox11_Checked=", vsCheckBox, 8, nullptr},  // Show Ident Guides
    {"RadioGroupProject=", vsRadioGroup, 2, nullptr},          // Project ext. modified
    {"rgBuildMessages_ItemIndex=", vsRadioGroup, 4, nullptr},  // Build Messages
    {"rgDebugLayout=", vsRadioGroup, 5, nullptr},              // Debug Layout
    {"chbStartPage_Checked=", vsCheckBox, 9, nullptr},         // Show Page on startup
    {"chbLastProject_Checked=", vsCheckBox, 10, nullptr},      // Load Last project on startup
    {"AdvOfficeCheckBox3_Checked=", vsCheckBox, 12, nullptr},  // Include HEX opcodes
    {"AdvOfficeCheckBox2_Checked=", vsCheckBox, 11, nullptr},  // Generate ASM file
    {"AdvOfficeCheckBox4_Checked=", vsCheckBox, 13, nullptr},  // Include ROM constants
    {"AdvOfficeCheckBox5_Checked=", vsCheckBox, 14, nullptr},  // Include RAM addresses
    {"AdvOfficeCheckBox6_Checked=", vsCheckBox, 15, nullptr},  // Generate list file
    {"AdvOfficeCheckBox7_Checked=", vsCheckBox, 16, nullptr},  // Include debug info
    {"AdvOfficeCheckBox8_Checked=", vsCheckBox, 17, nullptr},  // Include source lines in output files
    {"AdvOfficeCheckBox15_Checked=", vsCheckBox, 18, nullptr},  // Long HEX format
    {"ComboBox3_ItemIndex=", vsComboBox, 1, nullptr},
    {"AdvOfficeCheckBox16_Checked=", vsCheckBox, 19, nullptr},  // Enable SSA optimization
    {"AdvOfficeCheckBox12_Checked=", vsCheckBox, 22, nullptr},  // Case Sensitive
    {"AdvOfficeCheckBox13_Checked=", vsCheckBox, 23, nullptr},  // Dynamic link for string literals
    {"AdvOfficeCheckBox14_Checked=", vsCheckBox, 21, nullptr},  // Build all files as library
    {"AdvOfficeCheckBox17_Checked=", vsCheckBox, 20, nullptr},  // Always build all files in project
};

String OptionValue(const TOptionKey& key, const TCompilerOptions& options) {
    switch (key.Source) {
        case vsColorScheme: return options.ColorScheme;
        case vsConstant: return key.Constant;
        case vsCheckBox: return BoolText(options.CheckBox[std::size_t(key.Control)]);
        case vsRadioGroup: return IntToStr(options.RadioGroup[std::size_t(key.Control)]);
        case vsComboBox: return IntToStr(options.ComboBox1);
    }
    return String();
}

// The options dialog: editor, IDE-style and output options. An empty line
// does not end this walk.
void RewriteOptions(const std::vector<TLineView>& lines, TWalkRange range, const TCompilerOptions& options,
                    TRewritePlan& plan) {
    for (std::size_t i = range.First; i < range.Last; ++i) {
        const TLineView line = lines[i];
        for (const TOptionKey& key : kOptionKeys) {
            if (StartsWith(line, key.Key)) {
                plan.Replace(i, line, String(key.Key) + OptionValue(key, options));
                break;
            }
        }
    }
}

// The editor's gutter: both gradient colours black.
void RewriteGutter(const std::vector<TLineView>& lines, TWalkRange range, TRewritePlan& plan) {
    for (std::size_t i = range.First; i < range.Last; ++i) {
        const TLineView line = lines[i];
        if (StartsWith(line, "GradientStartColor="))
            plan.Replace(i, line, "GradientStartColor=clBlack");
        else if (StartsWith(line, "GradientEndColor="))
            plan.Replace(i, line, "GradientEndColor=clBlack");
    }
}

// The gutter font: only a line that already begins "Color=clLime" is
// touched (it becomes exactly that); any other colour stays.
void RewriteGutterFont(const std::vector<TLineView>& lines, TWalkRange range, TRewritePlan& plan) {
    for (std::size_t i = range.First; i < range.Last; ++i)
        if (StartsWith(lines[i], "Color=clLime")) plan.Replace(i, lines[i], "Color=clLime");
}

// The four walks over the lines, as the changes they make. No replacement
// makes or removes a header or an empty line, so every walk's stretch can
// be found before anything changes: an error then leaves the lines as they
// were. The stretches are found in the order of the walks, so the error is
// the one the first failing walk meets. No line begins with the keys of
// two walks, so a line changed by one walk is left alone by the others,
// even where their stretches overlap.
TRewritePlan PlanRewrite(const std::vector<TLineView>& lines, const TCompilerOptions& options) {
    const TWalkRange mainWindow = FindWalk(lines, kMainSection, kFindResultsSection, true);
    const TWalkRange optionsDialog = FindWalk(lines, kOptionsSection, kGutterSection, false);
    const TWalkRange gutter = FindWalk(lines, kGutterSection, kGutterFontSection, false);
    const TWalkRange gutterFont = FindWalk(lines, kGutterFontSection, kGutterFontStyleSection, false);

    TRewritePlan plan;
    RewriteMainWindow(lines, mainWindow, options, plan);
    RewriteOptions(lines, optionsDialog, options, plan);
    RewriteGutter(lines, gutter, plan);
    RewriteGutterFont(lines, gutterFont, plan);
    return plan;
}

std::vector<TLineView> ViewsOf(const std::vector<String>& lines) {
    return std::vector<TLineView>(lines.begin(), lines.end());
}

}  // namespace

TRewriteOutcome RewriteCompilerSettings(std::vector<String>& lines, const TCompilerOptions& options) {
    TRewritePlan plan = PlanRewrite(ViewsOf(lines), options);
    for (TLineChange& change : plan.Changes) lines[change.Index] = std::move(change.Text);
    return plan.Outcome;
}

TRewriteOutcome RewriteCompilerSettings(TStrings& lines, const TCompilerOptions& options) {
    std::vector<String> copy;
    copy.reserve(std::size_t(lines.Count()));
    for (int i = 0; i < lines.Count(); ++i) copy.push_back(lines.Strings(i));
    TRewritePlan plan = PlanRewrite(ViewsOf(copy), options);
    if (!plan.Changes.empty()) {
        lines.BeginUpdate();
        try {
            for (const TLineChange& change : plan.Changes) lines.SetStrings(int(change.Index), change.Text);
        } catch (...) {
            lines.EndUpdate();
            throw;
        }
        lines.EndUpdate();
    }
    return plan.Outcome;
}

namespace {

// The lines of a text as views into it, broken as SplitLines breaks them:
// a line ends at the nearer of the next CR and the next LF. Each of the two
// is found with the library's fast byte search and kept until the walk
// has passed it, so a text with only one kind of break is still read once.
std::vector<TLineView> SplitLineViews(const String& text) {
    std::vector<TLineView> lines;
    lines.reserve(text.size() / 24 + 1);
    const char* p = text.data();
    const char* const end = p + text.size();
    auto next = [end](const char* from, char c) {
        const void* hit = std::memchr(from, c, std::size_t(end - from));
        return hit ? static_cast<const char*>(hit) : end;
    };
    const char* cr = next(p, '\r');
    const char* lf = next(p, '\n');
    while (p < end) {
        if (cr < p) cr = next(p, '\r');
        if (lf < p) lf = next(p, '\n');
        const char* stop = cr < lf ? cr : lf;
        lines.emplace_back(p, std::size_t(stop - p));
        p = stop;
        if (p < end && *p == '\r') ++p;
        if (p < end && *p == '\n') ++p;
    }
    return lines;
}

}  // namespace

std::vector<String> SplitLines(const String& text) {
    const std::vector<TLineView> views = SplitLineViews(text);
    return std::vector<String>(views.begin(), views.end());
}

String JoinLines(const std::vector<String>& lines) {
    std::size_t size = 0;
    for (const String& line : lines) size += line.size() + 2;
    String text;
    text.reserve(size);
    for (const String& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

String RewriteCompilerSettingsText(const String& text, const TCompilerOptions& options, TRewriteOutcome* outcome) {
    const std::vector<TLineView> lines = SplitLineViews(text);
    TRewritePlan plan = PlanRewrite(lines, options);
    if (outcome) *outcome = plan.Outcome;

    // Each line once, either as it was or as its change says, with CR LF.
    // The changes are in walk order; a stable sort by line keeps the last
    // change of a line last.
    std::stable_sort(plan.Changes.begin(), plan.Changes.end(),
                     [](const TLineChange& a, const TLineChange& b) { return a.Index < b.Index; });
    std::size_t size = 0;
    for (TLineView line : lines) size += line.size() + 2;
    for (const TLineChange& change : plan.Changes) size += change.Text.size();
    String out;
    out.reserve(size);
    auto next = plan.Changes.begin();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        TLineView line = lines[i];
        while (next != plan.Changes.end() && next->Index == i) line = (next++)->Text;
        out.append(line);
        out += "\r\n";
    }
    return out;
}
