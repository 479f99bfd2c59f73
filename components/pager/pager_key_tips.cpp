#include "components/pager/pager_key_tips.h"

#include <cctype>

namespace {

String Upper(const String& s) {
    String r = s;
    for (char& c : r) c = char(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

}  // namespace

TKeyTipMatch MatchKeyTips(const String& typed, const std::vector<String>& hints, std::vector<bool>& shown) {
    TKeyTipMatch match;
    std::vector<bool> next = shown;
    next.resize(hints.size(), false);
    const String t = Upper(typed);
    for (size_t i = 0; i < hints.size(); ++i) {
        const String h = Upper(hints[i]);
        if (h == t) {
            match.FullMatch = int(i);
            return match;
        }
        if (h.empty()) continue;
        if (h.compare(0, t.size(), t) != 0)
            next[i] = false;
        else
            match.Partial = true;
    }
    // A letter that matches nothing leaves every tip as it was.
    if (match.Partial) shown = next;
    return match;
}
