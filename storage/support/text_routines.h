// Text routines of the support library. Character indexes count from 1 and
// comparisons are case-sensitive unless a routine says otherwise.
#pragma once

#include "classlib/core/sets.h"
#include "classlib/core/types.h"

class TStrings;

// The first count characters (all of them when count exceeds the length).
String TextLeft(const String& text, int count);
// The characters from index to the end; an index below 1 counts as 1.
String TextFrom(const String& text, int index);
// prefix + text, unless text already starts with prefix.
String TextWithPrefix(const String& prefix, const String& text);
// text without prefix when it starts with it, else text.
String TextWithoutPrefix(const String& prefix, const String& text);
// text + suffix, unless text already ends with suffix.
String TextWithSuffix(const String& suffix, const String& text);

enum TZevReplaceOption { roAll, roIgnoreCase };
using TZevReplaceOptions = TSet<TZevReplaceOption>;

// Replaces the first occurrence of search in text (every one with roAll),
// scanning from the start; inserted text is not scanned again. With
// roIgnoreCase letters compare through the upper-case table. An empty
// search text raises EZevStringError unless text is empty too, in which
// case text becomes the replacement.
void ReplaceInText(String& text, const String& search, const String& replacement, TZevReplaceOptions options);

// Position of search in text at or after start, ignoring case; 0 when it is
// absent or either text is empty.
int FindTextFrom(const String& search, const String& text, int start);

// Fills list with the parts of text between separators; empty parts only
// when keepEmpty is set.
void SplitText(const String& text, const String& separator, TStrings& list, bool keepEmpty);

// Cuts text before its first NUL character.
void TrimAtNul(String& text);

// Copies count characters from source to dest; both indexes count from 0.
// Only characters that exist in source and fit in dest are copied.
void MoveTextChars(const String& source, int sourceIndex, String& dest, int destIndex, int count);

// The n-th word (n from 1) of text, words being separated by any of the
// delimiter characters; empty when there are fewer words.
String NthWord(int n, const String& text, const String& delimiters);
