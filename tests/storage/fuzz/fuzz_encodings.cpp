// The hexadecimal and base64 values of a "Settings.ini" of any content: a
// text reads as bytes or is refused with the conversion error, and what
// reads writes back as the same text.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "classlib/core/sysutils.h"
#include "storage/support/base64.h"
#include "storage/support/hex.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

String Upper(String text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'f') c = char(c - 'a' + 'A');
    return text;
}

void Hex(const String& text) {
    std::vector<Byte> bytes(text.size() / 2 + 1);
    size_t count = 0;
    try {
        count = HexToBytes(text, bytes.data(), bytes.size());
    } catch (const EConvertError&) {
        return;  // a defined refusal
    }
    // Every pair read; an odd length counts as if it had a leading "0".
    String padded = text.size() % 2 ? "0" + text : text;
    Check(count == padded.size() / 2);
    Check(BytesToHex(bytes.data(), count) == Upper(padded));
    // A smaller buffer takes the first pairs.
    if (count > 1) {
        std::vector<Byte> half(count / 2);
        Check(HexToBytes(text, half.data(), half.size()) == half.size());
        Check(BytesToHex(half.data(), half.size()) == Upper(padded).substr(0, half.size() * 2));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 14) return 0;
    const String text(reinterpret_cast<const char*>(data), size);

    Hex(text);
    Check(HexToBytes(BytesToHex(text.data(), text.size()), std::vector<Byte>(size + 1).data(), size + 1) == size);

    // The keyed form: the key is the text's first line.
    const size_t cut = text.find('\n');
    const String key = cut == String::npos ? String() : text.substr(0, cut);
    const String value = cut == String::npos ? text : text.substr(cut + 1);
    Check(XorFromHex(key, XorToHex(key, value)) == value);
    XorFromHex(key, value);

    // Base64: encoding reads back, and a decoded text is a fixed point.
    Check(Base64DecodeText(Base64Text(text)) == text);
    Check(Base64DecodeText(Base64EncodeText(text)) == text);
    const String decoded = Base64DecodeText(text);
    Check(Base64DecodeText(Base64Text(decoded)) == decoded);
    return 0;
}
