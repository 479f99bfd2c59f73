#include "storage/support/version_resource.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "storage/support/char_tables.h"

String ZevWideToLatin1(std::u16string_view text) {
    String result;
    result.reserve(text.size());
    for (char16_t c : text) result += c <= 0xFF ? static_cast<char>(c) : '?';
    return result;
}

namespace {

enum TValueType : Word { vtBinary = 0, vtText = 1 };

// One block of the resource: offsets into the buffer.
struct TBlock {
    size_t End = 0;        // first byte after the block
    Word ValueLength = 0;  // as the header gives it
    Word Type = vtText;
    String Key;
    size_t ValueStart = 0;
    size_t ValueSize = 0;  // in bytes, inside the block
    size_t ChildrenStart = 0;
};

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

size_t Align4(size_t pos) { return (pos + 3) & ~size_t(3); }

bool SameKey(const String& a, const char* b) {
    size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i)
        if (ZevCharUpper(a[i]) != ZevCharUpper(b[i])) return false;
    return true;
}

class TVersionParser {
public:
    TVersionParser(const Byte* data, size_t size, TZevWideToText wideToText)
        : FData(data), FSize(size), FWideToText(wideToText) {}

    bool Parse(TZevVersionResource& res);

private:
    Word WordAt(size_t pos) const { return static_cast<Word>(FData[pos] | (FData[pos + 1] << 8)); }
    LongWord LongAt(size_t pos) const { return WordAt(pos) | (LongWord(WordAt(pos + 2)) << 16); }

    bool ReadBlock(size_t pos, size_t limit, TBlock& block) const;
    String WideText(size_t pos, size_t bytes) const;
    String AnsiText(size_t pos, size_t bytes) const;
    bool ReadStringTables(const TBlock& fileInfo, TZevVersionResource& res) const;
    bool ReadStringValue(const TBlock& block, String& value) const;
    bool ReadTranslations(const TBlock& varInfo, TZevVersionResource& res) const;

    const Byte* FData;
    size_t FSize;
    TZevWideToText FWideToText;
    bool FWide = true;
};

// Reads the block at pos, which must end at or before limit.
bool TVersionParser::ReadBlock(size_t pos, size_t limit, TBlock& block) const {
    size_t headerSize = FWide ? 6 : 4;
    if (pos > limit || limit - pos < headerSize) return false;
    size_t length = WordAt(pos);
    if (length < headerSize || length > limit - pos) return false;
    block.End = pos + length;
    block.ValueLength = WordAt(pos + 2);
    block.Type = FWide ? WordAt(pos + 4) : Word(vtText);

    // The key, NUL-terminated, inside the block.
    size_t keyStart = pos + headerSize, p = keyStart;
    if (FWide) {
        while (p + 2 <= block.End && WordAt(p) != 0) p += 2;
        if (p + 2 > block.End) return false;
        block.Key = WideText(keyStart, p - keyStart);
        p += 2;
    } else {
        while (p < block.End && FData[p] != 0) ++p;
        if (p >= block.End) return false;
        block.Key = AnsiText(keyStart, p - keyStart);
        p += 1;
    }

    // The value; a block without value or children may end before the
    // padding that would follow its key.
    block.ValueStart = std::min(Align4(p), block.End);
    size_t room = block.End - block.ValueStart;
    size_t valueSize = FWide && block.Type == vtText ? size_t(block.ValueLength) * 2 : block.ValueLength;
    if (valueSize > room) {
        // Writers differ in whether a text's length counts characters or
        // bytes; the text itself ends at its NUL, so keep what the block holds.
        if (block.Type != vtText) return false;
        valueSize = room;
    }
    block.ValueSize = valueSize;
    block.ChildrenStart = std::min(Align4(block.ValueStart + valueSize), block.End);
    return true;
}

String TVersionParser::WideText(size_t pos, size_t bytes) const {
    std::u16string text;
    text.reserve(bytes / 2);
    for (size_t i = 0; i + 2 <= bytes; i += 2) {
        char16_t c = WordAt(pos + i);
        if (c == 0) break;
        text += c;
    }
    return FWideToText(text);
}

String TVersionParser::AnsiText(size_t pos, size_t bytes) const {
    String text(reinterpret_cast<const char*>(FData + pos), bytes);
    size_t nul = text.find('\0');
    if (nul != String::npos) text.resize(nul);
    return text;
}

bool TVersionParser::Parse(TZevVersionResource& res) {
    if (FSize < 6) return false;
    // The root's value type in the 32-bit layout; the 16-bit one has its
    // key's first characters there.
    FWide = WordAt(4) < 2;

    TBlock root;
    if (!ReadBlock(0, FSize, root)) return false;
    if (!SameKey(root.Key, "VS_VERSION_INFO") || root.ValueLength != sizeof(TZevFixedFileInfo) ||
        root.ValueSize < sizeof(TZevFixedFileInfo))
        return false;
    // The fields are little-endian in the file.
    LongWord fields[sizeof(TZevFixedFileInfo) / 4];
    for (size_t i = 0; i < std::size(fields); ++i) fields[i] = LongAt(root.ValueStart + 4 * i);
    std::memcpy(&res.FixedInfo, fields, sizeof(fields));
    if (res.FixedInfo.Signature != ZevFixedFileInfoSignature) return false;

    for (size_t pos = root.ChildrenStart; pos < root.End;) {
        TBlock child;
        if (!ReadBlock(pos, root.End, child)) return false;
        if (SameKey(child.Key, "StringFileInfo")) {
            if (!ReadStringTables(child, res)) return false;
        } else if (SameKey(child.Key, "VarFileInfo")) {
            if (!ReadTranslations(child, res)) return false;
        } else {
            break;
        }
        pos = Align4(child.End);
    }
    return true;
}

bool TVersionParser::ReadStringTables(const TBlock& fileInfo, TZevVersionResource& res) const {
    for (size_t pos = fileInfo.ChildrenStart; pos < fileInfo.End;) {
        TBlock table;
        if (!ReadBlock(pos, fileInfo.End, table)) return false;

        // "040904E4": language 0x0409, code page 0x04E4. Writers have been
        // seen to put "0x" in front of the halves.
        String digits, key = table.Key;
        for (size_t at; (at = key.find("0x")) != String::npos;) key.erase(at, 2);
        for (char c : key)
            if (IsHexDigit(c)) digits += c;
        if (digits.size() != 8 || table.ValueLength != 0) return false;
        res.Languages.push_back({static_cast<Word>(std::stoul(digits.substr(0, 4), nullptr, 16)),
                                 static_cast<Word>(std::stoul(digits.substr(4, 4), nullptr, 16))});
        int tableIndex = static_cast<int>(res.Languages.size()) - 1;

        for (size_t p = table.ChildrenStart; p < table.End;) {
            TBlock item;
            if (!ReadBlock(p, table.End, item)) return false;
            String value;
            if (!ReadStringValue(item, value)) return false;
            res.Strings.push_back({tableIndex, item.Key, value});
            p = Align4(item.End);
        }
        pos = Align4(table.End);
    }
    return true;
}

bool TVersionParser::ReadStringValue(const TBlock& block, String& value) const {
    switch (block.Type) {
    case vtText:
        value = FWide ? WideText(block.ValueStart, block.ValueSize) : AnsiText(block.ValueStart, block.ValueSize);
        return true;
    case vtBinary:
        if (block.ValueSize >= 1 && block.ValueSize <= 4) {
            LongWord number = 0;
            for (size_t i = 0; i < block.ValueSize; ++i) number |= LongWord(FData[block.ValueStart + i]) << (8 * i);
            static const char digits[] = "0123456789ABCDEF";  // as Format("$%.*x") writes them
            value = "$";
            for (int shift = int(block.ValueSize) * 8 - 4; shift >= 0; shift -= 4)
                value += digits[(number >> shift) & 0x0F];
        } else {
            value = FWide && block.ValueSize != 0 ? WideText(block.ValueStart, block.ValueSize) : String();
        }
        return true;
    default: return false;
    }
}

bool TVersionParser::ReadTranslations(const TBlock& varInfo, TZevVersionResource& res) const {
    for (size_t pos = varInfo.ChildrenStart; pos < varInfo.End;) {
        TBlock var;
        if (!ReadBlock(pos, varInfo.End, var)) return false;
        if (SameKey(var.Key, "Translation")) {
            size_t entries = var.ValueLength / 4;
            if (entries * 4 > var.End - var.ValueStart) return false;
            for (size_t i = 0; i < entries; ++i) res.Translations.push_back(LongAt(var.ValueStart + 4 * i));
        }
        pos = Align4(var.End);
    }
    return true;
}

}  // namespace

bool ParseVersionResource(const void* data, size_t size, TZevVersionResource& resource, TZevWideToText wideToText) {
    return TVersionParser(static_cast<const Byte*>(data), size, wideToText).Parse(resource);
}
