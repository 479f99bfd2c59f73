// Base64 of 8-bit texts, with the standard alphabet and "=" padding.
#pragma once

#include "classlib/core/types.h"

// The encoded text without line breaks.
String Base64Text(const String& text);
// The encoded text in lines of 76 characters (57 input bytes), a CR LF
// after every full line that more output follows.
String Base64EncodeText(const String& text);
// The decoded text. Characters outside the alphabet (line breaks, "=",
// blanks and anything else) are skipped; a final group of 3 characters
// gives 2 bytes, of 2 characters 1 byte, of 1 character nothing.
String Base64DecodeText(const String& text);
