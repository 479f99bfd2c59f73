#include "storage/support/hex.h"

#include <algorithm>

#include "classlib/core/sysutils.h"

namespace {

const char UpperDigits[] = "0123456789ABCDEF";
const char LowerDigits[] = "0123456789abcdef";

// "$" and the two digits at pos: the form StrToInt reads as hexadecimal.
String HexPairNumber(const String& text, size_t pos) {
    String number(1, '$');
    number.append(text, pos, 2);
    return number;
}

void AppendHexByte(String& out, Byte b, const char* digits) {
    out += digits[b >> 4];
    out += digits[b & 0x0F];
}

}  // namespace

String BytesToHex(const void* buffer, size_t count) {
    const Byte* bytes = static_cast<const Byte*>(buffer);
    String result;
    result.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) AppendHexByte(result, bytes[i], UpperDigits);
    return result;
}

size_t HexToBytes(const String& text, void* buffer, size_t bufferSize) {
    String digits = text.size() % 2 ? '0' + text : text;
    size_t count = std::min(bufferSize, digits.size() / 2);
    Byte* bytes = static_cast<Byte*>(buffer);
    // StrToInt reads exactly two hexadecimal digits after "$" and raises
    // EConvertError for anything else.
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<Byte>(StrToInt(HexPairNumber(digits, 2 * i)));
    return count;
}

String XorToHex(const String& key, const String& text) {
    String result;
    result.reserve(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i) {
        Byte b = static_cast<Byte>(text[i]);
        if (!key.empty()) b ^= static_cast<Byte>(key[i % key.size()]);
        AppendHexByte(result, b, LowerDigits);
    }
    return result;
}

String XorFromHex(const String& key, const String& hex) {
    String result;
    result.reserve(hex.size() / 2);
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        int value = StrToIntDef(HexPairNumber(hex, i), ' ');
        size_t index = i / 2;
        if (!key.empty()) value ^= static_cast<Byte>(key[index % key.size()]);
        result += static_cast<char>(value);
    }
    return result;
}
