// Key tips of the office pager: matching the letters typed so far against
// each page's ShortCutHint. Portable; the pager shows and hides the
// windows.
#pragma once

#include <vector>

#include "classlib/core/types.h"

struct TKeyTipMatch {
    // The page whose key tip the typed text spells out in full, or -1.
    int FullMatch = -1;
    // Some shown key tip starts with the typed text.
    bool Partial = false;
};

// Matches typed (the letters so far) against hints, in page order, case
// blind. A page whose non-empty hint does not start with the typed text
// gets its entry in shown cleared (its tip is hidden); the first full match
// ends the search. Neither a full nor a partial match leaves shown as it
// was: the caller beeps, drops the letter and keeps the tips shown.
TKeyTipMatch MatchKeyTips(const String& typed, const std::vector<String>& hints, std::vector<bool>& shown);
