#include "storage/support/text_routines.h"

#include <algorithm>

#include "classlib/core/scopes.h"
#include "classlib/core/strings.h"
#include "storage/support/char_tables.h"
#include "storage/support/errors.h"

String TextLeft(const String& text, int count) {
    if (count <= 0) return String();
    return text.substr(0, static_cast<size_t>(count));
}

String TextFrom(const String& text, int index) {
    size_t start = index < 1 ? 0 : static_cast<size_t>(index - 1);
    if (start >= text.size()) return String();
    return text.substr(start);
}

String TextWithPrefix(const String& prefix, const String& text) {
    return text.starts_with(prefix) ? text : prefix + text;
}

String TextWithoutPrefix(const String& prefix, const String& text) {
    return text.starts_with(prefix) ? text.substr(prefix.size()) : text;
}

String TextWithSuffix(const String& suffix, const String& text) {
    return text.ends_with(suffix) ? text : text + suffix;
}

void ReplaceInText(String& text, const String& search, const String& replacement, TZevReplaceOptions options) {
    if (search.empty()) {
        if (!text.empty()) throw EZevStringError(ZevText::BlankSearchString);
        text = replacement;
        return;
    }
    if (text.empty()) return;

    bool ignoreCase = options.Contains(roIgnoreCase);
    auto fold = [ignoreCase](char c) { return ignoreCase ? ZevCharUpper(c) : c; };
    String pattern = search;
    for (char& c : pattern) c = fold(c);

    auto matchesAt = [&](size_t pos) {
        if (text.size() - pos < pattern.size()) return false;
        for (size_t k = 0; k < pattern.size(); ++k)
            if (fold(text[pos + k]) != pattern[k]) return false;
        return true;
    };

    String result;
    result.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (matchesAt(i)) {
            result += replacement;
            i += pattern.size();
            if (!options.Contains(roAll)) break;
        } else {
            result += text[i++];
        }
    }
    result.append(text, i, String::npos);
    text = std::move(result);
}

int FindTextFrom(const String& search, const String& text, int start) {
    if (search.empty() || text.empty()) return 0;
    size_t from = start < 1 ? 0 : static_cast<size_t>(start - 1);
    for (size_t pos = from; pos + search.size() <= text.size(); ++pos) {
        bool same = true;
        for (size_t k = 0; k < search.size() && same; ++k)
            same = ZevCharUpper(text[pos + k]) == ZevCharUpper(search[k]);
        if (same) return static_cast<int>(pos + 1);
    }
    return 0;
}

void SplitText(const String& text, const String& separator, TStrings& list, bool keepEmpty) {
    TUpdateScope update(list);
    list.Clear();
    size_t from = 0;
    if (!separator.empty()) {
        for (size_t at; (at = text.find(separator, from)) != String::npos; from = at + separator.size()) {
            if (keepEmpty || at > from) list.Add(text.substr(from, at - from));
        }
    }
    if (from < text.size()) list.Add(text.substr(from));
}

void TrimAtNul(String& text) {
    size_t nul = text.find('\0');
    if (nul != String::npos) text.resize(nul);
}

void MoveTextChars(const String& source, int sourceIndex, String& dest, int destIndex, int count) {
    if (count <= 0 || sourceIndex < 0 || destIndex < 0) return;
    size_t from = static_cast<size_t>(sourceIndex), to = static_cast<size_t>(destIndex);
    if (from >= source.size() || to >= dest.size()) return;
    size_t n = std::min({static_cast<size_t>(count), source.size() - from, dest.size() - to});
    // source and dest may be the same text: copy as memmove would.
    String chunk = source.substr(from, n);
    dest.replace(to, n, chunk);
}

String NthWord(int n, const String& text, const String& delimiters) {
    if (n < 1) return String();
    auto isDelimiter = [&](char c) { return delimiters.find(c) != String::npos; };
    int words = 0;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isDelimiter(text[i])) ++i;
        if (i == text.size()) break;
        size_t start = i;
        while (i < text.size() && !isDelimiter(text[i])) ++i;
        if (++words == n) return text.substr(start, i - start);
    }
    return String();
}
