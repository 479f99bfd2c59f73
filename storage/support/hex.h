// Hexadecimal texts of binary values, and the keyed XOR form of texts that
// the form storage keeps in the settings file.
#pragma once

#include <cstddef>

#include "classlib/core/types.h"

// Two upper-case hexadecimal digits per byte, in buffer order.
String BytesToHex(const void* buffer, size_t count);
// Reads pairs of hexadecimal digits into buffer (a text of odd length counts
// as if it had a leading "0") and returns the number of bytes written: the
// smaller of bufferSize and the number of pairs. A pair that is not
// hexadecimal raises the class library's conversion error.
size_t HexToBytes(const String& text, void* buffer, size_t bufferSize);

// Each character XOR the key's character at the same index (the key
// repeating; an empty key leaves the characters as they are), written as
// two lower-case hexadecimal digits.
String XorToHex(const String& key, const String& text);
// The reverse of XorToHex with the same key. A pair that is not hexadecimal
// reads as 32 (a blank before the key is applied); an odd last digit is
// ignored.
String XorFromHex(const String& key, const String& hex);
