// Any bytes as a compiler's "settings.ini": the rewrite either gives the
// same number of lines back or raises the string list's index error, and
// the whole-text form gives the same bytes or the same error as the list
// form on the text's lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/settings_rewrite.h"
#include "classlib/core/exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const String text(reinterpret_cast<const char*>(data), size);
    TCompilerOptions options;
    options.Layout = "Layout";
    options.ColorScheme = "Scheme";
    std::vector<String> lines = SplitLines(text);
    const std::vector<String> before = lines;
    String listError;
    try {
        RewriteCompilerSettings(lines, options);
        if (lines.size() != before.size()) std::abort();
    } catch (const EStringListError& e) {
        if (lines != before) std::abort();
        listError = e.Message();
    }
    try {
        if (RewriteCompilerSettingsText(text, options) != JoinLines(lines) || !listError.empty()) std::abort();
    } catch (const EStringListError& e) {
        if (e.Message() != listError) std::abort();
    }
    return 0;
}
