#include "app/settings_rewrite.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "classlib/core/scopes.h"
#include "classlib/core/sysutils.h"

namespace {

const char* const kListIndexError = "List index out of bounds (%d)";

[[noreturn]] void RaiseIndexError(std::size_t index, bool missing) {
    throw EStringListError(Format(kListIndexError, {missing ? -1 : static_cast<int>(index)}));
}

using TLineView = std::string_view;

// Keys are compared as views of known length. Most lines differ from a key
// in its first character or, where they share that, in its last (for most
// keys the "="), so these two are tested before the rest.
bool StartsWith(TLineView line, std::string_view key) {
    return !key.empty() && line.size() >= key.size() && line[0] == key[0] && line[key.size() - 1] == key.back() &&
           line.substr(0, key.size()) == key;
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

// A line that changes: where it is (its index in a list, or the offset in
// a text at which it begins), how long it was, and its new text.
struct TLineChange {
    std::size_t Where;
    std::size_t OldLength;
    String Text;
};

// The changes the walks make, in the order they make them.
struct TRewritePlan {
    TRewriteOutcome Outcome;
    std::vector<TLineChange> Changes;

    // The line becomes text (no change when it already is).
    void Replace(std::size_t where, TLineView line, String text) {
        if (line != text) {
            Changes.push_back({where, line.size(), std::move(text)});
            ++Outcome.LinesChanged;
        }
    }
};

// The window of the compiler IDE: the layout to open with and a fixed
// placement. The first matching key decides.
void RewriteMainWindowLine(std::size_t where, TLineView line, const TCompilerOptions& options, TRewritePlan& plan) {
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
    if (StartsWith(line, "LastLayout=")) {
        plan.Replace(where, line, "LastLayout=" + options.Layout);
        plan.Outcome.LayoutNamed = true;
        return;
    }
    for (const TFixedLine& fixed : kFixed) {
        if (StartsWith(line, fixed.Key)) {
            plan.Replace(where, line, fixed.Line);
            return;
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
    {"CheckBox2=", vsCheckBox, 1, nullptr},                     // Restore Last Opened Project
    {"CheckBox3=", vsCheckBox, 2, nullptr},                     // Restore All Opened Files
    {"CheckBox4=", vsCheckBox, 4, nullptr},                     // Save Breakpoints
    {"CheckBox16=", vsCheckBox, 3, nullptr},                    // Save Bookmarks
    {"CheckBox14=", vsCheckBox, 5, nullptr},                    // Highlight brackets
    {"jvXPCheckBox4=", vsCheckBox, 7, nullptr},                 // Check Spelling
    {"jvXPCheckBox5_enabled=", vsCheckBox, 7, nullptr},         // Check Spelling again
    {"RadioGroup1=", vsRadioGroup, 1, nullptr},                 // Source file ext. modified
    {"AdvOfficeRadioGroup1=", vsRadioGroup, 3, nullptr},        // Comment Style
    {"AdvOfficeCheckBox10_Checked=", vsCheckBox, 6, nullptr},   // Enable Code Folding
    {"AdvOfficeCheckBox11_Checked=", vsCheckBox, 8, nullptr},   // Show Ident Guides
    {"RadioGroupProject=", vsRadioGroup, 2, nullptr},           // Project ext. modified
    {"rgBuildMessages_ItemIndex=", vsRadioGroup, 4, nullptr},   // Build Messages
    {"rgDebugLayout=", vsRadioGroup, 5, nullptr},               // Debug Layout
    {"chbStartPage_Checked=", vsCheckBox, 9, nullptr},          // Show Page on startup
    {"chbLastProject_Checked=", vsCheckBox, 10, nullptr},       // Load Last project on startup
    {"AdvOfficeCheckBox3_Checked=", vsCheckBox, 12, nullptr},   // Include HEX opcodes
    {"AdvOfficeCheckBox2_Checked=", vsCheckBox, 11, nullptr},   // Generate ASM file
    {"AdvOfficeCheckBox4_Checked=", vsCheckBox, 13, nullptr},   // Include ROM constants
    {"AdvOfficeCheckBox5_Checked=", vsCheckBox, 14, nullptr},   // Include RAM addresses
    {"AdvOfficeCheckBox6_Checked=", vsCheckBox, 15, nullptr},   // Generate list file
    {"AdvOfficeCheckBox7_Checked=", vsCheckBox, 16, nullptr},   // Include debug info
    {"AdvOfficeCheckBox8_Checked=", vsCheckBox, 17, nullptr},   // Include source lines in output files
    {"AdvOfficeCheckBox15_Checked=", vsCheckBox, 18, nullptr},  // Long HEX format
    {"ComboBox3_ItemIndex=", vsComboBox, 1, nullptr},
    {"AdvOfficeCheckBox16_Checked=", vsCheckBox, 19, nullptr},  // Enable SSA optimization
    {"AdvOfficeCheckBox12_Checked=", vsCheckBox, 22, nullptr},  // Case Sensitive
    {"AdvOfficeCheckBox13_Checked=", vsCheckBox, 23, nullptr},  // Dynamic link for string literals
    {"AdvOfficeCheckBox14_Checked=", vsCheckBox, 21, nullptr},  // Build all files as library
    {"AdvOfficeCheckBox17_Checked=", vsCheckBox, 20, nullptr},  // Always build all files in project
};

// Every key ends in its only "=", so a line begins with a key only when the
// line's first "=" ends a name exactly as long as the key. kOptionKeyLengths
// has bit n set when a key is n characters long: a line whose name has a
// length no key has is passed over without testing the keys one by one.
constexpr bool EveryOptionKeyEndsInItsOnlyEquals() {
    for (const TOptionKey& key : kOptionKeys)
        if (key.Key.size() >= 64 || key.Key.find('=') != key.Key.size() - 1) return false;
    return true;
}
static_assert(EveryOptionKeyEndsInItsOnlyEquals());

constexpr std::uint64_t kOptionKeyLengths = [] {
    std::uint64_t lengths = 0;
    for (const TOptionKey& key : kOptionKeys) lengths |= std::uint64_t(1) << key.Key.size();
    return lengths;
}();

bool MayBeginWithOptionKey(TLineView line) {
    const std::size_t nameLength = line.find('=') + 1;  // 0 when there is no "="
    return nameLength > 0 && nameLength < 64 && (kOptionKeyLengths >> nameLength & 1) != 0;
}

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

// The options dialog: editor, IDE-style and output options.
void RewriteOptionLine(std::size_t where, TLineView line, const TCompilerOptions& options, TRewritePlan& plan) {
    if (!MayBeginWithOptionKey(line)) return;
    for (const TOptionKey& key : kOptionKeys) {
        if (StartsWith(line, key.Key)) {
            plan.Replace(where, line, String(key.Key) + OptionValue(key, options));
            return;
        }
    }
}

// The editor's gutter: both gradient colours black.
void RewriteGutterLine(std::size_t where, TLineView line, const TCompilerOptions&, TRewritePlan& plan) {
    if (StartsWith(line, "GradientStartColor="))
        plan.Replace(where, line, "GradientStartColor=clBlack");
    else if (StartsWith(line, "GradientEndColor="))
        plan.Replace(where, line, "GradientEndColor=clBlack");
}

// The gutter font: only a line that already begins "Color=clLime" is
// touched (it becomes exactly that); any other colour stays.
void RewriteGutterFontLine(std::size_t where, TLineView line, const TCompilerOptions&, TRewritePlan& plan) {
    if (StartsWith(line, "Color=clLime")) plan.Replace(where, line, "Color=clLime");
}

// One walk: it starts on the first line equal to Header (case ignored, as
// the string list's search finds it) and ends before the first line below
// exactly equal to Stop or, when EndsAtEmptyLine, the first empty line.
// Each line on the way, the header's own included, goes to Rewrite.
struct TWalk {
    std::string_view Header;
    std::string_view Stop;
    bool EndsAtEmptyLine;
    void (*Rewrite)(std::size_t where, TLineView line, const TCompilerOptions& options, TRewritePlan& plan);

    bool EndsAt(TLineView line) const { return line == Stop || (EndsAtEmptyLine && line.empty()); }
};

// The four walks, in their order.
//
// The walks only plan their changes; nothing changes before all four have
// gone through. No replacement makes or removes a header or an empty line,
// so every walk meets the same lines as it would if the walks before it
// had changed them already. No line begins with the keys of two walks, so
// a line changed by one walk is left alone by the others, even where their
// lines overlap: no line gets two changes.
//
// A missing header raises the index error for -1, the index the search
// gave; a walk that runs off the end raises it for the line count, the
// first index past the end. The plan is then dropped: the lines stay as
// they were, and the error is the one the first failing walk meets.
constexpr TWalk kWalks[] = {
    {kMainSection, kFindResultsSection, true, RewriteMainWindowLine},
    {kOptionsSection, kGutterSection, false, RewriteOptionLine},
    {kGutterSection, kGutterFontSection, false, RewriteGutterLine},
    {kGutterFontSection, kGutterFontStyleSection, false, RewriteGutterFontLine},
};

// ---- The list forms ---------------------------------------------------------

std::size_t FindHeader(const std::vector<TLineView>& lines, std::string_view header) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (SameTextView(lines[i], header)) return i;
    RaiseIndexError(0, true);
}

// The changes of the four walks over a list; a change's Where is the
// line's index.
TRewritePlan PlanRewrite(const std::vector<TLineView>& lines, const TCompilerOptions& options) {
    TRewritePlan plan;
    for (const TWalk& walk : kWalks) {
        for (std::size_t i = FindHeader(lines, walk.Header);; ++i) {
            if (i == lines.size()) RaiseIndexError(lines.size(), false);
            if (walk.EndsAt(lines[i])) break;
            walk.Rewrite(i, lines[i], options, plan);
        }
    }
    return plan;
}

std::vector<TLineView> ViewsOf(const std::vector<String>& lines) {
    return std::vector<TLineView>(lines.begin(), lines.end());
}

}  // namespace

TRewriteOutcome RewriteCompilerSettings(std::vector<String>& lines, const TCompilerOptions& options) {
    TRewritePlan plan = PlanRewrite(ViewsOf(lines), options);
    for (TLineChange& change : plan.Changes) lines[change.Where] = std::move(change.Text);
    return plan.Outcome;
}

TRewriteOutcome RewriteCompilerSettings(TStrings& lines, const TCompilerOptions& options) {
    std::vector<String> copy;
    copy.reserve(std::size_t(lines.Count()));
    for (int i = 0; i < lines.Count(); ++i) copy.push_back(lines.Strings(i));
    TRewritePlan plan = PlanRewrite(ViewsOf(copy), options);
    if (!plan.Changes.empty()) {
        TUpdateScope update(lines);
        for (const TLineChange& change : plan.Changes) lines.SetStrings(int(change.Where), change.Text);
    }
    return plan.Outcome;
}

// ---- The whole-text form ----------------------------------------------------
//
// The same walks over the lines of a text, without cutting the whole text
// into lines first: the headers are found by a search for the "[" that
// begins them, and only the lines of the walks are read one by one. The
// result is the text with the changed lines put in: copied in long runs
// where every line break already is CR LF (as in a file the compiler's IDE
// saved), line by line otherwise.

namespace {

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// Reads a text line by line from the start of a line, breaking lines as
// SplitLines does: a line ends at the nearer of the next CR and the next
// LF. Each of the two is found with the library's fast byte search and kept
// until the reading has passed it, so a text with only one kind of break is
// searched once. In a text whose breaks are all CR LF no LF can come before
// the CR of its line, and only CRs are searched for.
class TLineReader {
public:
    TLineReader(std::string_view text, std::size_t from, bool onlyCrLf)
        : FBegin(text.data()), FEnd(text.data() + text.size()), FPos(FBegin + from), FCr(Find(FPos, '\r')),
          FLf(onlyCrLf ? FEnd : Find(FPos, '\n')) {}

    bool AtEnd() const { return FPos == FEnd; }

    // Where the next line begins in the text.
    std::size_t Offset() const { return std::size_t(FPos - FBegin); }

    // The next line, without its break; the reading moves past the break.
    TLineView Next() {
        if (FCr < FPos) FCr = Find(FPos, '\r');
        if (FLf < FPos) FLf = Find(FPos, '\n');
        const char* const stop = std::min(FCr, FLf);
        const TLineView line(FPos, std::size_t(stop - FPos));
        FPos = stop;
        if (FPos < FEnd && *FPos == '\r') ++FPos;
        if (FPos < FEnd && *FPos == '\n') ++FPos;
        return line;
    }

private:
    const char* Find(const char* from, char c) const {
        const void* hit = std::memchr(from, c, std::size_t(FEnd - from));
        return hit ? static_cast<const char*>(hit) : FEnd;
    }

    const char* const FBegin;
    const char* const FEnd;
    const char* FPos;
    const char* FCr;
    const char* FLf;
};

std::size_t CountLines(std::string_view text) {
    std::size_t count = 0;
    for (TLineReader reader(text, 0, false); !reader.AtEnd(); reader.Next()) ++count;
    return count;
}

// Whether every line break of the text is a CR LF: every CR is followed by
// an LF and every LF follows a CR. Each block is tested as a whole, one
// comparison per pair of neighbouring bytes gathered into a byte, so that
// the compiler can test many bytes at a time.
bool HasOnlyCrLfBreaks(std::string_view text) {
    if (text.empty()) return true;
    if (text.front() == '\n' || text.back() == '\r') return false;
    const char* const p = text.data();
    const std::size_t pairs = text.size() - 1;
    constexpr std::size_t kBlock = 4096;
    for (std::size_t first = 0; first < pairs; first += kBlock) {
        const std::size_t last = std::min(pairs, first + kBlock);
        unsigned char unpaired = 0;
        for (std::size_t i = first; i < last; ++i) unpaired |= (p[i] == '\r') != (p[i + 1] == '\n');
        if (unpaired != 0) return false;
    }
    return true;
}

// Whether the line that begins at offset at is header, case ignored. Most
// lines are not as long as the header, which is tested first.
bool IsHeaderLine(std::string_view text, std::size_t at, std::string_view header) {
    if (text.size() - at < header.size()) return false;
    const std::size_t end = at + header.size();
    if (end < text.size() && !IsLineBreak(text[end])) return false;
    return SameTextView(text.substr(at, header.size()), header);
}

constexpr std::size_t kNoLine = std::string_view::npos;
constexpr std::size_t kWalkCount = std::size(kWalks);

// Where the first line equal to each walk's header begins, kNoLine for a
// header no line equals. Every header begins with "[", which has no case,
// so only the lines that begin with "[" are compared. One pass finds all.
std::array<std::size_t, kWalkCount> FindHeaderLines(std::string_view text) {
    std::array<std::size_t, kWalkCount> found;
    found.fill(kNoLine);
    std::size_t missing = kWalkCount;
    for (std::size_t at = text.find('['); at != kNoLine && missing > 0; at = text.find('[', at + 1)) {
        if (at > 0 && !IsLineBreak(text[at - 1])) continue;  // not the start of a line
        for (std::size_t k = 0; k < kWalkCount; ++k) {
            if (found[k] == kNoLine && IsHeaderLine(text, at, kWalks[k].Header)) {
                found[k] = at;
                --missing;
            }
        }
    }
    return found;
}

// The changes of the four walks over a text; a change's Where is the
// offset of the line, and the changes come sorted by it.
TRewritePlan PlanRewrite(std::string_view text, bool onlyCrLf, const TCompilerOptions& options) {
    const std::array<std::size_t, kWalkCount> headers = FindHeaderLines(text);
    TRewritePlan plan;
    for (std::size_t k = 0; k < kWalkCount; ++k) {
        const TWalk& walk = kWalks[k];
        if (headers[k] == kNoLine) RaiseIndexError(0, true);
        for (TLineReader reader(text, headers[k], onlyCrLf);;) {
            if (reader.AtEnd()) RaiseIndexError(CountLines(text), false);
            const std::size_t where = reader.Offset();
            const TLineView line = reader.Next();
            if (walk.EndsAt(line)) break;
            walk.Rewrite(where, line, options, plan);
        }
    }
    std::sort(plan.Changes.begin(), plan.Changes.end(),
              [](const TLineChange& a, const TLineChange& b) { return a.Where < b.Where; });
    return plan;
}

// The text with the changes put in and every line followed by CR LF.
String WriteOut(std::string_view text, bool onlyCrLf, const std::vector<TLineChange>& changes) {
    std::size_t size = text.size() + 2;
    for (const TLineChange& change : changes) size += change.Text.size();
    String out;
    out.reserve(size);

    if (onlyCrLf) {
        // Everything between the changed lines is copied as it is; only a
        // last line without a break gets one.
        std::size_t copied = 0;
        for (const TLineChange& change : changes) {
            out.append(text.substr(copied, change.Where - copied));
            out += change.Text;
            copied = change.Where + change.OldLength;
        }
        out.append(text.substr(copied));
        if (!text.empty() && text.back() != '\n') out += "\r\n";
        return out;
    }

    // Each line once, either as it was or as its change says, with CR LF.
    auto next = changes.begin();
    for (TLineReader reader(text, 0, false); !reader.AtEnd();) {
        const bool changed = next != changes.end() && next->Where == reader.Offset();
        const TLineView line = reader.Next();
        out.append(changed ? TLineView((next++)->Text) : line);
        out += "\r\n";
    }
    return out;
}

}  // namespace

std::vector<String> SplitLines(const String& text) {
    std::vector<String> lines;
    for (TLineReader reader(text, 0, false); !reader.AtEnd();) lines.emplace_back(reader.Next());
    return lines;
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
    const bool onlyCrLf = HasOnlyCrLfBreaks(text);
    const TRewritePlan plan = PlanRewrite(text, onlyCrLf, options);
    if (outcome) *outcome = plan.Outcome;
    return WriteOut(text, onlyCrLf, plan.Changes);
}
