#include "storage/support/base64.h"

#include <algorithm>

namespace {

const char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const size_t BytesPerLine = 57;

int AlphabetValue(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// Encodes count bytes from data (a multiple of 3 except for the last call).
void EncodeBytes(const Byte* data, size_t count, String& out) {
    for (size_t i = 0; i < count; i += 3) {
        size_t n = std::min<size_t>(3, count - i);
        LongWord group = LongWord(data[i]) << 16;
        if (n > 1) group |= LongWord(data[i + 1]) << 8;
        if (n > 2) group |= data[i + 2];
        out += Alphabet[(group >> 18) & 0x3F];
        out += Alphabet[(group >> 12) & 0x3F];
        out += n > 1 ? Alphabet[(group >> 6) & 0x3F] : '=';
        out += n > 2 ? Alphabet[group & 0x3F] : '=';
    }
}

const Byte* BytesOf(const String& text) { return reinterpret_cast<const Byte*>(text.data()); }

}  // namespace

String Base64Text(const String& text) {
    String result;
    result.reserve((text.size() + 2) / 3 * 4);
    EncodeBytes(BytesOf(text), text.size(), result);
    return result;
}

String Base64EncodeText(const String& text) {
    String result;
    if (text.empty()) return result;
    result.reserve((text.size() + 2) / 3 * 4 + 2 * ((text.size() - 1) / BytesPerLine));
    for (size_t i = 0; i < text.size(); i += BytesPerLine) {
        if (i > 0) result += "\r\n";
        EncodeBytes(BytesOf(text) + i, std::min(BytesPerLine, text.size() - i), result);
    }
    return result;
}

String Base64DecodeText(const String& text) {
    String result;
    result.reserve((text.size() + 3) / 4 * 3);
    LongWord group = 0;
    int filled = 0;
    for (char c : text) {
        int value = AlphabetValue(c);
        if (value < 0) continue;
        group = (group << 6) | LongWord(value);
        if (++filled == 4) {
            result += static_cast<char>((group >> 16) & 0xFF);
            result += static_cast<char>((group >> 8) & 0xFF);
            result += static_cast<char>(group & 0xFF);
            group = 0;
            filled = 0;
        }
    }
    if (filled == 3) {
        result += static_cast<char>((group >> 10) & 0xFF);
        result += static_cast<char>((group >> 2) & 0xFF);
    } else if (filled == 2) {
        result += static_cast<char>((group >> 4) & 0xFF);
    }
    return result;
}
