// Any bytes as a compiler's "settings.ini": the rewrite either gives the
// same number of lines back or raises the string list's index error.
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
    try {
        RewriteCompilerSettings(lines, options);
        if (lines.size() != before.size()) std::abort();
    } catch (const EStringListError&) {
        if (lines != before) std::abort();
    }
    return 0;
}
