// Builds version resources block by block, for the parser tests and the
// fuzzer's seeds. A block is laid out as the resource compiler does it:
// header, key, padding to 4 bytes, value, padding, children (each starting
// on a 4-byte boundary). Lengths, value lengths and types can be forced to
// wrong values to make malformed resources.
#pragma once

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "classlib/core/types.h"
#include "storage/support/version_resource.h"

struct TVersionBlock {
    String Key;
    Word Type = 1;            // 0 binary, 1 text
    std::vector<Byte> Value;  // as written after the key
    Word ValueLength = 0;     // as the header says
    std::vector<TVersionBlock> Children;
    std::optional<int> ForcedLength;  // replaces the real block length

    TVersionBlock& Child(TVersionBlock child) {
        Children.push_back(std::move(child));
        return *this;
    }

    // wide: the 32-bit layout (UTF-16 keys and text, a type word); else the
    // 16-bit one (8-bit keys and text, no type word).
    std::vector<Byte> Bytes(bool wide = true) const {
        std::vector<Byte> out;
        auto word = [&out](Word w) {
            out.push_back(Byte(w & 0xFF));
            out.push_back(Byte(w >> 8));
        };
        auto pad = [&out] {
            while (out.size() % 4) out.push_back(0);
        };
        word(0);
        word(ValueLength);
        if (wide) word(Type);
        for (char c : Key) wide ? word(Byte(c)) : out.push_back(Byte(c));
        wide ? word(0) : out.push_back(0);
        if (!Value.empty() || !Children.empty()) pad();
        out.insert(out.end(), Value.begin(), Value.end());
        for (const TVersionBlock& child : Children) {
            pad();
            std::vector<Byte> bytes = child.Bytes(wide);
            out.insert(out.end(), bytes.begin(), bytes.end());
        }
        int length = ForcedLength ? *ForcedLength : int(out.size());
        out[0] = Byte(length & 0xFF);
        out[1] = Byte((length >> 8) & 0xFF);
        return out;
    }
};

// A text value: UTF-16 (or 8-bit) with its NUL; the length counts
// characters, NUL included.
inline TVersionBlock TextBlock(const String& key, const String& value, bool wide = true) {
    TVersionBlock b;
    b.Key = key;
    b.Type = 1;
    for (char c : value) {
        b.Value.push_back(Byte(c));
        if (wide) b.Value.push_back(0);
    }
    b.Value.push_back(0);
    if (wide) b.Value.push_back(0);
    b.ValueLength = Word(value.size() + 1);
    return b;
}

inline TVersionBlock BinaryBlock(const String& key, std::vector<Byte> value) {
    TVersionBlock b;
    b.Key = key;
    b.Type = 0;
    b.ValueLength = Word(value.size());
    b.Value = std::move(value);
    return b;
}

inline TVersionBlock NodeBlock(const String& key) {
    TVersionBlock b;
    b.Key = key;
    return b;
}

inline std::vector<Byte> FixedInfoBytes(const TZevFixedFileInfo& info) {
    std::vector<Byte> bytes(sizeof(info));
    std::memcpy(bytes.data(), &info, sizeof(info));
    return bytes;
}

inline TZevFixedFileInfo SampleFixedInfo() {
    TZevFixedFileInfo f{};
    f.Signature = ZevFixedFileInfoSignature;
    f.StrucVersion = 0x00010000;
    f.FileVersionMS = 0x00010032;  // 1.50
    f.FileVersionLS = 0x00000007;
    f.ProductVersionMS = 0x00010032;
    f.ProductVersionLS = 0;
    f.FileFlagsMask = 0x3F;
    f.FileFlags = 0;
    f.FileOS = 0x00040004;
    f.FileType = 1;
    return f;
}

// The root with the fixed part; the 16-bit layout writes it as text type.
inline TVersionBlock RootBlock(const TZevFixedFileInfo& info = SampleFixedInfo()) {
    TVersionBlock root = BinaryBlock("VS_VERSION_INFO", FixedInfoBytes(info));
    return root;
}

inline TVersionBlock TranslationBlock(std::vector<LongWord> entries) {
    std::vector<Byte> bytes;
    for (LongWord e : entries)
        for (int i = 0; i < 4; ++i) bytes.push_back(Byte(e >> (8 * i)));
    return NodeBlock("VarFileInfo").Child(BinaryBlock("Translation", bytes));
}

// A typical resource: one English string table and its translation.
inline TVersionBlock SampleResource() {
    TVersionBlock table = NodeBlock("040904E4");
    table.Child(TextBlock("CompanyName", "Quillmere Software"))
        .Child(TextBlock("FileDescription", "Quillmere"))
        .Child(TextBlock("FileVersion", "1.50.0.7"))
        .Child(TextBlock("ProductName", "Quillmere"))
        .Child(TextBlock("ProductVersion", "1.50"))
        .Child(TextBlock("Comments", ""));
    TVersionBlock root = RootBlock();
    root.Child(NodeBlock("StringFileInfo").Child(table)).Child(TranslationBlock({0x04E40409}));
    return root;
}
