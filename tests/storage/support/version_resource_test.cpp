#include <gtest/gtest.h>

#include "classlib/core/strings.h"
#include "storage/support/errors.h"
#include "storage/support/file_version_info.h"
#include "tests/storage/support/version_resource_builder.h"

namespace {

TZevVersionResource Parsed(const std::vector<Byte>& bytes) {
    TZevVersionResource res;
    EXPECT_TRUE(ParseVersionResource(bytes.data(), bytes.size(), res));
    return res;
}

bool Parses(const std::vector<Byte>& bytes) {
    TZevVersionResource res;
    return ParseVersionResource(bytes.data(), bytes.size(), res);
}

TEST(VersionResource, ReadsTheFixedPartStringsAndTranslation) {
    TZevFileVersionInfo info(SampleResource().Bytes());

    EXPECT_EQ(info.FixedFileInfo().Signature, ZevFixedFileInfoSignature);
    EXPECT_EQ(info.FixedFileInfo().FileVersionMS, 0x00010032u);
    ASSERT_EQ(info.Languages().size(), 1u);
    EXPECT_EQ(info.Languages()[0], (TZevVersionLanguage{0x0409, 0x04E4}));
    EXPECT_EQ(info.Translations(), std::vector<LongWord>{0x04E40409});
    ASSERT_EQ(info.Items().Count(), 6);
    EXPECT_EQ(info.Items()[0], "CompanyName=Quillmere Software");
    EXPECT_EQ(info.Items()[5], "Comments=");
    EXPECT_EQ(info.VersionKeyValue(vkCompanyName), "Quillmere Software");
    EXPECT_EQ(info.VersionKeyValue(vkFileVersion), "1.50.0.7");
    EXPECT_EQ(info.VersionKeyValue(vkProductVersion), "1.50");
    EXPECT_EQ(info.VersionKeyValue(vkLegalCopyright), "");
    EXPECT_EQ(info.VersionKeyValue(0), "");
    EXPECT_EQ(info.VersionKeyValue(13), "");
    EXPECT_TRUE(info.FileFlags().Empty());
}

TEST(VersionResource, KeysAreNumberedFromOne) {
    EXPECT_EQ(ZevVersionKeyName(vkComments), "Comments");
    EXPECT_EQ(ZevVersionKeyName(vkLegalTradeMarks), "LegalTradeMarks");
    EXPECT_EQ(ZevVersionKeyName(vkPrivateBuild), "PrivateBuild");
    EXPECT_EQ(ZevVersionKeyName(12), "PrivateBuild");
    EXPECT_EQ(ZevVersionKeyName(0), "");
}

TEST(VersionResource, ListsEveryTableButTakesValuesFromTheFirst) {
    TVersionBlock english = NodeBlock("040904E4");
    english.Child(TextBlock("ProductName", "Quillmere"));
    TVersionBlock german = NodeBlock("040704B0");
    german.Child(TextBlock("ProductName", "Federmeer")).Child(TextBlock("Comments", "nur deutsch"));
    TVersionBlock root = RootBlock();
    root.Child(NodeBlock("StringFileInfo").Child(english).Child(german));

    TZevFileVersionInfo info(root.Bytes());
    ASSERT_EQ(info.Languages().size(), 2u);
    EXPECT_EQ(info.Languages()[1], (TZevVersionLanguage{0x0407, 0x04B0}));
    EXPECT_EQ(info.Items().Count(), 3);
    EXPECT_EQ(info.ItemTable(0), 0);
    EXPECT_EQ(info.ItemTable(2), 1);
    EXPECT_EQ(info.LanguageItems().Count(), 1);
    EXPECT_EQ(info.VersionKeyValue(vkProductName), "Quillmere");
    EXPECT_EQ(info.VersionKeyValue(vkComments), "");
}

TEST(VersionResource, FindsAKeyOfAnotherCase) {
    TVersionBlock table = NodeBlock("040904E4");
    table.Child(TextBlock("productname", "Quillmere"));
    TVersionBlock root = RootBlock();
    root.Child(NodeBlock("stringfileinfo").Child(table));
    EXPECT_EQ(TZevFileVersionInfo(root.Bytes()).VersionKeyValue(vkProductName), "Quillmere");
}

TEST(VersionResource, TableKeysLoseHexPrefixesAndOtherCharacters) {
    struct Case {
        const char* Key;
        bool Valid;
        Word Language, CodePage;
    } cases[] = {
        {"040904E4", true, 0x0409, 0x04E4},
        {"040904e4", true, 0x0409, 0x04E4},
        {"0x04090x04B0", true, 0x0409, 0x04B0},
        {"0409-04E4", true, 0x0409, 0x04E4},
        {"0409 04E4", true, 0x0409, 0x04E4},
        {"040904E", false, 0, 0},
        {"040904E4F", false, 0, 0},
        {"", false, 0, 0},
    };
    for (const Case& c : cases) {
        TVersionBlock root = RootBlock();
        root.Child(NodeBlock("StringFileInfo").Child(NodeBlock(c.Key)));
        TZevVersionResource res;
        bool ok = ParseVersionResource(root.Bytes().data(), root.Bytes().size(), res);
        EXPECT_EQ(ok, c.Valid) << c.Key;
        if (ok && c.Valid) {
            ASSERT_EQ(res.Languages.size(), 1u);
            EXPECT_EQ(res.Languages[0], (TZevVersionLanguage{c.Language, c.CodePage})) << c.Key;
        }
    }
}

TEST(VersionResource, StringValuesByType) {
    TVersionBlock six = BinaryBlock("Six", {'a', 0, 'b', 0, 0, 0});
    struct Case {
        TVersionBlock Block;
        const char* Value;
    } cases[] = {
        {BinaryBlock("Two", {0x34, 0x12}), "$1234"},
        {BinaryBlock("One", {0x0A}), "$0A"},  // upper-case digits, as Format("%x") gives them
        {BinaryBlock("Three", {0x01, 0x02, 0x03}), "$030201"},
        {BinaryBlock("Four", {0xEF, 0xBE, 0xAD, 0xDE}), "$DEADBEEF"},
        {six, "ab"},
        {BinaryBlock("None", {}), ""},
        {TextBlock("Text", "plain"), "plain"},
        {TextBlock("Empty", ""), ""},
    };
    for (const Case& c : cases) {
        TVersionBlock root = RootBlock();
        root.Child(NodeBlock("StringFileInfo").Child(NodeBlock("040904E4").Child(c.Block)));
        TZevVersionResource res = Parsed(root.Bytes());
        ASSERT_EQ(res.Strings.size(), 1u) << c.Block.Key;
        EXPECT_EQ(res.Strings[0].Key, c.Block.Key);
        EXPECT_EQ(res.Strings[0].Value, c.Value) << c.Block.Key;
    }
}

TEST(VersionResource, TextIsCutAtItsNul) {
    TVersionBlock text = TextBlock("Text", "abc");
    text.Value = {'a', 0, 0, 0, 'z', 0, 0, 0};
    text.ValueLength = 4;
    TVersionBlock root = RootBlock();
    root.Child(NodeBlock("StringFileInfo").Child(NodeBlock("040904E4").Child(text)));
    EXPECT_EQ(Parsed(root.Bytes()).Strings.at(0).Value, "a");
}

TEST(VersionResource, TextLengthCountedInBytesStaysInsideItsBlock) {
    // Some writers count a text's length in bytes: the length then reaches
    // past the block, and the text ends at its NUL all the same.
    TVersionBlock text = TextBlock("ProductName", "Quillmere");
    text.ValueLength = Word(text.Value.size());
    TVersionBlock root = RootBlock();
    root.Child(NodeBlock("StringFileInfo").Child(NodeBlock("040904E4").Child(text).Child(TextBlock("Next", "x"))));
    TZevVersionResource res = Parsed(root.Bytes());
    ASSERT_EQ(res.Strings.size(), 2u);
    EXPECT_EQ(res.Strings[0].Value, "Quillmere");
    EXPECT_EQ(res.Strings[1].Value, "x");
}

TEST(VersionResource, KeysOfEveryLengthKeepTheirPadding) {
    // Keys of 1 to 8 characters put the value at every offset modulo 4.
    for (bool wide : {true, false}) {
        TVersionBlock table = NodeBlock("040904E4");
        for (int n = 1; n <= 8; ++n)
            table.Child(TextBlock(String(size_t(n), char('a' + n - 1)), String(size_t(n), 'v'), wide));
        TVersionBlock root = RootBlock();
        root.Child(NodeBlock("StringFileInfo").Child(table)).Child(TranslationBlock({1, 2}));
        TZevVersionResource res = Parsed(root.Bytes(wide));
        ASSERT_EQ(res.Strings.size(), 8u) << wide;
        for (int n = 1; n <= 8; ++n) {
            EXPECT_EQ(res.Strings[size_t(n - 1)].Key, String(size_t(n), char('a' + n - 1)));
            EXPECT_EQ(res.Strings[size_t(n - 1)].Value, String(size_t(n), 'v'));
        }
        EXPECT_EQ(res.Translations, (std::vector<LongWord>{1, 2}));
    }
}

TEST(VersionResource, ReadsTheSixteenBitLayout) {
    TVersionBlock table = NodeBlock("040904E4");
    table.Child(TextBlock("CompanyName", "Quillmere Software", false))
        .Child(TextBlock("ProductName", "Quillmere", false));
    TVersionBlock root = RootBlock();
    root.Type = 1;
    root.Child(NodeBlock("StringFileInfo").Child(table));
    TZevFileVersionInfo info(root.Bytes(false));
    EXPECT_EQ(info.VersionKeyValue(vkCompanyName), "Quillmere Software");
    EXPECT_EQ(info.VersionKeyValue(vkProductName), "Quillmere");
    EXPECT_EQ(info.Languages().at(0), (TZevVersionLanguage{0x0409, 0x04E4}));
}

TEST(VersionResource, AnUnknownRootChildEndsTheReading) {
    TVersionBlock before = NodeBlock("040904E4");
    before.Child(TextBlock("ProductName", "Quillmere"));
    TVersionBlock after = NodeBlock("040704B0");
    after.Child(TextBlock("ProductName", "Federmeer"));
    TVersionBlock root = RootBlock();
    root.Child(NodeBlock("StringFileInfo").Child(before))
        .Child(NodeBlock("SomethingElse"))
        .Child(NodeBlock("StringFileInfo").Child(after));
    TZevVersionResource res = Parsed(root.Bytes());
    EXPECT_EQ(res.Languages.size(), 1u);
    EXPECT_EQ(res.Strings.size(), 1u);
}

TEST(VersionResource, FileFlagsAreTheFlagsUnderTheMask) {
    struct Case {
        LongWord Flags, Mask;
        TZevFileFlags Expected;
    } cases[] = {
        {0x01, 0x3F, {ffDebug}},
        {0x02, 0x3F, {ffPreRelease}},
        {0x04, 0x3F, {ffPatched}},
        {0x08, 0x3F, {ffPrivateBuild}},
        {0x10, 0x3F, {ffInfoInferred}},
        {0x20, 0x3F, {ffSpecialBuild}},
        {0x3F, 0x3F, {ffDebug, ffInfoInferred, ffPatched, ffPreRelease, ffPrivateBuild, ffSpecialBuild}},
        {0x3F, 0x05, {ffDebug, ffPatched}},
        {0xC0, 0xFF, {}},
    };
    for (const Case& c : cases) {
        TZevFixedFileInfo fixed = SampleFixedInfo();
        fixed.FileFlags = c.Flags;
        fixed.FileFlagsMask = c.Mask;
        TZevFileVersionInfo info(RootBlock(fixed).Bytes());
        EXPECT_EQ(info.FileFlags(), c.Expected) << c.Flags << "/" << c.Mask;
    }
}

// ---- Malformed resources ------------------------------------------------------

// A resource with one block changed by edit; the path picks the block:
// root, StringFileInfo, table, string, VarFileInfo, Translation.
enum TTarget { tgRoot, tgStringFileInfo, tgTable, tgString, tgVarFileInfo, tgTranslation };

template <class Edit>
std::vector<Byte> EditedSample(TTarget target, Edit edit) {
    TVersionBlock root = SampleResource();
    TVersionBlock& sfi = root.Children[0];
    TVersionBlock& table = sfi.Children[0];
    TVersionBlock& var = root.Children[1];
    TVersionBlock* blocks[] = {&root, &sfi, &table, &table.Children[2], &var, &var.Children[0]};
    edit(*blocks[target]);
    return root.Bytes();
}

TEST(VersionResource, EveryBlockLengthMustFitItsEnclosingBlock) {
    const char* names[] = {"root", "StringFileInfo", "table", "string", "VarFileInfo", "Translation"};
    for (TTarget target : {tgRoot, tgStringFileInfo, tgTable, tgString, tgVarFileInfo, tgTranslation}) {
        // Longer than what holds it: the root runs past the buffer, the
        // others past their parent (they are the last child, or the parent
        // is the last child of the root).
        std::vector<Byte> tooLong = EditedSample(target, [](TVersionBlock& b) { b.ForcedLength = 0x7FF0; });
        EXPECT_FALSE(Parses(tooLong)) << names[target] << " too long";
        for (int length : {0, 1, 5}) {
            std::vector<Byte> tooShort = EditedSample(target, [length](TVersionBlock& b) { b.ForcedLength = length; });
            EXPECT_FALSE(Parses(tooShort)) << names[target] << " length " << length;
        }
        // Shorter than its own key.
        std::vector<Byte> cutKey = EditedSample(target, [](TVersionBlock& b) { b.ForcedLength = 8; });
        EXPECT_FALSE(Parses(cutKey)) << names[target] << " cuts its key";
    }
}

TEST(VersionResource, AMalformedResourceRaisesTheVersionInformationError) {
    std::vector<Byte> bytes = EditedSample(tgString, [](TVersionBlock& b) { b.ForcedLength = 0x7FF0; });
    try {
        TZevFileVersionInfo info(bytes);
        FAIL() << "no error";
    } catch (const EZevFileVersionInfoError& e) {
        EXPECT_EQ(e.Message(), "File contains no version information");
    }
}

TEST(VersionResource, ABlockLengthTooLongForTheParentButInsideTheBufferIsRejected) {
    // The first string claims the rest of its table and a little more: the
    // bytes exist (the next strings follow), but not inside its table.
    TVersionBlock root = SampleResource();
    std::vector<Byte> plain = root.Bytes();
    TVersionBlock& table = root.Children[0].Children[0];
    table.Children[0].ForcedLength = int(table.Bytes().size());
    EXPECT_FALSE(Parses(root.Bytes()));
    EXPECT_TRUE(Parses(plain));
}

TEST(VersionResource, OtherMalformedResources) {
    struct Case {
        const char* Name;
        std::vector<Byte> Bytes;
    } cases[] = {
        {"bad signature", EditedSample(tgRoot, [](TVersionBlock& b) { b.Value[0] ^= 1; })},
        {"other root key", EditedSample(tgRoot, [](TVersionBlock& b) { b.Key = "VS_VERSION_INF"; })},
        {"fixed part of 51 bytes", EditedSample(tgRoot, [](TVersionBlock& b) { b.ValueLength = 51; })},
        {"fixed part of 56 bytes", EditedSample(tgRoot, [](TVersionBlock& b) { b.ValueLength = 56; })},
        {"table with a value", EditedSample(tgTable, [](TVersionBlock& b) { b.ValueLength = 2; })},
        {"string of type 2", EditedSample(tgString, [](TVersionBlock& b) { b.Type = 2; })},
        {"binary value past its block", EditedSample(tgString,
                                                     [](TVersionBlock& b) {
                                                         b.Type = 0;
                                                         b.ValueLength = 200;
                                                     })},
        {"translation past its block", EditedSample(tgTranslation, [](TVersionBlock& b) { b.ValueLength = 64; })},
        {"empty", {}},
        {"five bytes", {0x05, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) EXPECT_FALSE(Parses(c.Bytes)) << c.Name;
}

TEST(VersionResource, RootKeyIgnoresCase) {
    EXPECT_TRUE(Parses(EditedSample(tgRoot, [](TVersionBlock& b) { b.Key = "vs_version_info"; })));
}

TEST(VersionResource, EveryTruncationIsRejectedWithoutReadingPastTheBuffer) {
    std::vector<Byte> bytes = SampleResource().Bytes();
    ASSERT_TRUE(Parses(bytes));
    for (size_t n = 0; n < bytes.size(); ++n) {
        // A copy of exactly n bytes, so that the sanitizers see any read
        // beyond it.
        std::vector<Byte> cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(n));
        EXPECT_FALSE(Parses(cut)) << n;
    }
}

TEST(VersionResource, ABufferLargerThanTheResourceIsFine) {
    // GetFileVersionInfo's buffer holds more than the resource itself.
    std::vector<Byte> bytes = SampleResource().Bytes();
    bytes.resize(bytes.size() * 2 + 7, 0xCD);
    EXPECT_TRUE(Parses(bytes));
}

}  // namespace
