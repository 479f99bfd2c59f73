// Chunks, the chunk registry and list, the load loop and the messages.
#include <gtest/gtest.h>

#include <cmath>

#include "png_test_support.h"

using namespace pngtest;

namespace {

// A small valid 8-bit grey image with extra chunks after the header.
TBytes GreyPng(std::initializer_list<TBytes> extra = {}) {
    return SimplePng(4, 2, 8, COLOR_GRAYSCALE, {0, 50, 100, 150, 200, 250, 25, 75}, extra);
}

TBytes Long(LongWord v) {
    TBytes d;
    PutLong(d, v);
    return d;
}

std::vector<std::string> TypesOf(const TPNGObjectCore& png) {
    std::vector<std::string> types;
    for (int i = 0; i < png.ChunkList().Count(); ++i) types.push_back(png.ChunkList().Item(i)->ChunkType());
    return types;
}

}  // namespace

TEST(PngErrors, MessagesKeepTheirExactWording) {
    const struct {
        int Id;
        const char* Text;
    } cases[] = {
        {64992, "It's not allowed to add a new chunk because the current image is invalid."},
        {64995, "The new size provided for image resizing is invalid."},
        {65013, "The file being readed is not a valid \"Portable Network Graphics\" image because it contains an "
                "invalid header. This file may be corruped, try obtaining it again."},
        {65014, "This \"Portable Network Graphics\" image is not supported or it might be invalid.\r\n(IHDR chunk "
                "is not the first)"},
        {65015, "This \"Portable Network Graphics\" image is not supported because either it's width or height "
                "exceeds the maximum size, which is 65535 pixels length."},
        {65016, "There is no such palette entry."},
        {65023, "The program tried to add a existent critical chunk to the current image which is not allowed."},
    };
    for (const auto& c : cases) EXPECT_STREQ(PngMessageText(c.Id), c.Text) << c.Id;
    for (int id : {64993, 64994, 65008, 65009, 65010, 65012, 65017, 65018, 65019, 65020, 65021, 65022})
        EXPECT_GT(std::strlen(PngMessageText(id)), 20u) << id;
}

TEST(PngErrors, ZlibErrorEndsWithZlibsText) {
    try {
        FailWithZlibError(Z_DATA_ERROR);
        FAIL();
    } catch (const EPNGZLIBError& e) {
        EXPECT_EQ(e.MessageId(), 65011);
        EXPECT_EQ(e.Message(), "Could not decompress the image because it contains invalid compressed data.\r\n"
                               " Description: data error");
    }
}

TEST(PngErrors, ClassesDeriveFromTheLibrarysException) {
    static_assert(std::is_base_of_v<Exception, EPngError>);
    static_assert(std::is_base_of_v<Exception, EPNGZLIBError>);
    static_assert(!std::is_base_of_v<EPngError, EPngInvalidCRC>);
    EPngInvalidCRC e(SPngInvalidCRC);
    EXPECT_EQ(PngErrorId(e), 65008);
    EXPECT_EQ(PngErrorId(std::runtime_error("x")), 0);
}

TEST(PngCrc, MatchesTheFormatsCrc) {
    const Byte text[] = "IEND";
    EXPECT_EQ(UpdateCrc(0xFFFFFFFFu, text, 4) ^ 0xFFFFFFFFu, 0xAE426082u);
    TBytes data(1000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = Byte(i * 7 + 3);
    EXPECT_EQ(UpdateCrc(0xFFFFFFFFu, data.data(), data.size()) ^ 0xFFFFFFFFu,
              LongWord(crc32(0, data.data(), uInt(data.size()))));
}

TEST(PngRegistry, KindNamesAndCreation) {
    EXPECT_EQ(TChunk::KindName(TChunkIHDR::StaticClass()), "IHDR");
    EXPECT_EQ(TChunk::KindName(TChunkzTXt::StaticClass()), "zTXt");
    EXPECT_EQ(TChunk::KindName(TChunk::StaticClass()), "");
    TPNGObjectCore png;
    std::unique_ptr<TChunk> a(CreateChunkForType(&png, "tEXt"));
    EXPECT_EQ(a->ClassType(), TChunktEXt::StaticClass());
    std::unique_ptr<TChunk> b(CreateChunkForType(&png, "text"));  // case matters
    EXPECT_EQ(b->ClassType(), TChunk::StaticClass());
    EXPECT_EQ(b->ChunkType(), "text");
    EXPECT_TRUE(std::unique_ptr<TChunk>(CreateChunkForType(&png, "zTXt"))->InheritsFrom(TChunktEXt::StaticClass()));
    // Without a registry every chunk is plain.
    FreeChunkClasses();
    EXPECT_EQ(std::unique_ptr<TChunk>(CreateChunkForType(&png, "IHDR"))->ClassType(), TChunk::StaticClass());
    RegisterStandardChunks();
    EXPECT_EQ(std::unique_ptr<TChunk>(CreateChunkForType(&png, "IHDR"))->ClassType(), TChunkIHDR::StaticClass());
}

TEST(PngPointerList, BoundsAndInsertion) {
    TPNGPointerList list(nullptr);
    int a = 1, b = 2, c = 3;
    list.Insert(&a, 5);  // an empty list takes it
    EXPECT_EQ(list.Count(), 1);
    list.Insert(&b, 1);  // at the end of a non-empty list: nothing
    EXPECT_EQ(list.Count(), 1);
    list.Insert(&b, 0);
    list.Add(&c);
    EXPECT_EQ(list.GetItem(0), &b);
    EXPECT_EQ(list.GetItem(3), nullptr);
    list.SetItem(9, &a);  // nothing
    EXPECT_EQ(list.Remove(&a), &a);
    EXPECT_EQ(list.Remove(&a), nullptr);
    EXPECT_EQ(list.Count(), 2);
    list.SetSize(0);
    EXPECT_EQ(list.Count(), 0);
}

TEST(PngLoad, FirstChunkMustBeTheHeader) {
    TPNGObjectCore png;
    TBytes good = GreyPng();
    TBytes bad = Png({Chunk("gAMA", Long(45455))});
    bad.insert(bad.end(), good.begin() + 8, good.end());
    EXPECT_EQ(LoadError(png, bad), 65014);
    EXPECT_EQ(png.ChunkList().Count(), 0);
}

TEST(PngLoad, UnknownChunksByTheirAncillaryBit) {
    TPNGObjectCore png;
    TBytes privateData = {'k', 'e', 'e', 'p', 0, 1, 2};
    ASSERT_EQ(LoadError(png, GreyPng({Chunk("abCD", privateData)})), 0);
    EXPECT_EQ(TypesOf(png), (std::vector<std::string>{"IHDR", "abCD", "IDAT", "IEND"}));
    bool written = false;
    for (const TRawChunk& c : ChunksOf(Save(png)))
        if (c.Type == "abCD") {
            EXPECT_EQ(c.Data, privateData);
            written = true;
        }
    EXPECT_TRUE(written);
    // A critical one fails, and stays as the last chunk read.
    EXPECT_EQ(LoadError(png, GreyPng({Chunk("AbCD", privateData)})), 65017);
    EXPECT_EQ(TypesOf(png), (std::vector<std::string>{"IHDR", "AbCD"}));
}

TEST(PngLoad, AFailureKeepsTheChunksReadSoFar) {
    TPNGObjectCore png;
    TBytes file = GreyPng({Chunk("tEXt", {'a', 0, 'b'}), Chunk("pHYs", TBytes(9, 1))});
    std::size_t pos = 8 + 25 + 12 + 3 + 8;  // the pHYs data
    file[pos] ^= 0xFF;
    EXPECT_EQ(LoadError(png, file), 65008);
    EXPECT_EQ(TypesOf(png), (std::vector<std::string>{"IHDR", "tEXt", "pHYs"}));
}

TEST(PngLoad, SecondHeaderAndBadHeadersAreRefused) {
    // A second IHDR would replace the buffers the first one made: refused.
    TPNGObjectCore png;
    EXPECT_EQ(LoadError(png, GreyPng({Chunk("IHDR", HeaderData(4, 2, 8, 0))})), 65009);
    const struct {
        TBytes Header;
        int Id;
    } cases[] = {
        {HeaderData(65536, 1, 8, 0), 65015},
        {HeaderData(1, 65536, 8, 0), 65015},
        {HeaderData(0, 1, 8, 0), 65009},
        {HeaderData(5, 5, 4, 2), 65009},
        {HeaderData(5, 5, 16, 3), 65009},
        {HeaderData(5, 5, 8, 5), 65009},
        {TBytes(12, 1), 65009},
    };
    for (const auto& c : cases) {
        TBytes file = Png({Chunk("IHDR", c.Header), Chunk("IDAT", Compress({0, 0})), Chunk("IEND")});
        EXPECT_EQ(LoadError(png, file), c.Id);
    }
}

TEST(PngLoad, ChunkLengthsBeyondTheStreamAreTheUnexpectedEnd) {
    TPNGObjectCore png;
    TBytes file = GreyPng({Chunk("tEXt", {'a', 0, 'b'})});
    TBytes cut(file.begin(), file.begin() + 8 + 25 + 6);  // inside the tEXt chunk
    EXPECT_EQ(LoadError(png, cut), 65021);
    file[8 + 25] = 0x7F;  // a tEXt length of about 2 GiB
    EXPECT_EQ(LoadError(png, file), 65021);
}

TEST(PngChunks, HeaderHoldsTheBitmapLayout) {
    const struct {
        Byte Ct, Depth;
        int Bits;
        bool Alpha, Low;
    } cases[] = {
        {0, 1, 1, false, false}, {0, 2, 4, false, false},  {0, 16, 8, false, true},
        {3, 2, 4, false, false}, {3, 8, 8, false, false},  {4, 8, 8, true, false},
        {4, 16, 8, true, true},  {2, 8, 24, false, false}, {6, 16, 24, true, true},
    };
    for (const auto& c : cases) {
        TPNGObjectCore png;
        TBytes raw(RowBytesFor(7, c.Ct, c.Depth) * 3, 0);
        std::initializer_list<TBytes> plte = {Chunk("PLTE", TBytes(3 * (1 << c.Depth), 9))};
        ASSERT_EQ(
            LoadError(png, SimplePng(7, 3, c.Depth, c.Ct, raw, c.Ct == 3 ? plte : std::initializer_list<TBytes>{})), 0);
        TChunkIHDR& h = png.Header();
        EXPECT_EQ(h.BitsPerPixel(), c.Bits);
        EXPECT_EQ(h.RowStride(), std::size_t((c.Bits * 7 + 31) / 32 * 4));
        EXPECT_EQ(h.BitmapInfo.bmiHeader.biHeight, 3);  // positive: bottom-up
        EXPECT_EQ(png.PixelRow(0), h.PixelBits() + 2 * h.RowStride());
        EXPECT_EQ(h.AlphaBits() != nullptr, c.Alpha);
        EXPECT_EQ(h.LowByteBits() != nullptr, c.Low);
    }
}

TEST(PngChunks, AddChunkRules) {
    TPNGObjectCore png;
    EXPECT_THROW(png.ChunkList().AddChunk<TChunktEXt>(), EPngError);  // no header: 64992
    TBytes palette(12, 5);
    ASSERT_EQ(LoadError(png, SimplePng(2, 2, 8, 3, {0, 1, 2, 3}, {Chunk("PLTE", palette)})), 0);
    for (TChunkClass cls :
         {TChunkIHDR::StaticClass(), TChunkPLTE::StaticClass(), TChunkIDAT::StaticClass(), TChunkIEND::StaticClass()}) {
        try {
            png.ChunkList().AddChunk(cls);
            ADD_FAILURE();
        } catch (const EPngError& e) {
            EXPECT_EQ(e.MessageId(), 65023);
        }
    }
    png.ChunkList().AddChunk<TChunktEXt>();
    png.ChunkList().AddChunk<TChunktRNS>();
    png.ChunkList().AddChunk<TChunkgAMA>();
    png.ChunkList().AddChunk<TChunkpHYs>();
    EXPECT_EQ(TypesOf(png), (std::vector<std::string>{"IHDR", "pHYs", "gAMA", "PLTE", "tRNS", "IDAT", "tEXt", "IEND"}));
    EXPECT_THROW(png.ChunkList().AddChunk<TChunkgAMA>(), EPngError);
    png.ChunkList().AddChunk<TChunktEXt>();  // any number of texts

    TPNGObjectCore grey;
    ASSERT_EQ(LoadError(grey, GreyPng()), 0);
    grey.ChunkList().AddChunk<TChunktRNS>();  // no PLTE: before the data
    EXPECT_EQ(TypesOf(grey), (std::vector<std::string>{"IHDR", "tRNS", "IDAT", "IEND"}));
    EXPECT_EQ(grey.ChunkList().FindChunk<TChunktEXt>(), nullptr);
}

TEST(PngChunks, CopyFromNeedsTheSameClass) {
    TPNGObjectCore png;
    ASSERT_EQ(LoadError(png, GreyPng()), 0);
    TChunkgAMA gama(&png);
    try {
        gama.CopyFrom(*png.ChunkList().Item(0));
        FAIL();
    } catch (const EPngError& e) {
        EXPECT_EQ(e.MessageId(), 65020);
    }
}

TEST(PngChunks, PaletteEntryBeyondTheCount) {
    TPNGObjectCore png;
    ASSERT_EQ(LoadError(png, SimplePng(2, 1, 8, 3, {0, 1}, {Chunk("PLTE", {10, 20, 30, 40, 50, 60})})), 0);
    auto* plte = png.ChunkList().FindChunk<TChunkPLTE>();
    EXPECT_EQ(plte->EntryCount, 2);
    EXPECT_EQ(plte->PaletteEntry(1).rgbRed, 40);
    EXPECT_EQ(plte->PaletteEntry(1).rgbBlue, 60);
    try {
        plte->PaletteEntry(2);
        FAIL();
    } catch (const EPngError& e) {
        EXPECT_EQ(e.MessageId(), 65016);
    }
}

TEST(PngChunks, GammaChunk) {
    TPNGObjectCore png;
    TChunkgAMA gama(&png);
    EXPECT_EQ(gama.GammaValue(), 1u);
    gama.ResizeData(2);
    EXPECT_EQ(gama.GammaValue(), 1u);
    EXPECT_EQ(gama.ChunkDataSize(), 4u);
    // Gamma 1/2.2 (45455) makes the tables close to the identity.
    ASSERT_EQ(LoadError(png, GreyPng({Chunk("gAMA", Long(45455))})), 0);
    EXPECT_EQ(png.GammaTable[128], 128);
    ASSERT_EQ(LoadError(png, GreyPng({Chunk("gAMA", Long(100000))})), 0);
    EXPECT_EQ(png.GammaTable[128], Byte(std::nearbyint(255 * std::pow(128 / 255.0, 1 / 2.2))));
    EXPECT_EQ(png.InverseGammaTable[png.GammaTable[200]], 200);
    png.ClearChunkList();
    EXPECT_EQ(png.GammaTable[128], 128);
    // A gAMA of another length than 4 holds no gamma: the tables stay as
    // they are (here the identity), whatever its first bytes say.
    for (std::size_t size : {0u, 3u, 5u, 8u}) {
        TBytes data = Long(100000);
        data.resize(size, 0);
        ASSERT_EQ(LoadError(png, GreyPng({Chunk("gAMA", data)})), 0) << size;
        EXPECT_EQ(png.GammaTable[128], 128) << size;
        EXPECT_EQ(png.InverseGammaTable[128], 128) << size;
    }
}

TEST(PngChunks, TextChunks) {
    TPNGObjectCore png;
    String big(20u << 20, 'x');  // inflates past the limit: no text
    TBytes bomb = {'B', 0, 0};
    TBytes compressed = Compress(TBytes(big.begin(), big.end()), 9);
    bomb.insert(bomb.end(), compressed.begin(), compressed.end());
    TBytes z = {'Z', 0, 0};
    TBytes hello = Compress({'h', 'e', 'l', 'l', 'o'});
    z.insert(z.end(), hello.begin(), hello.end());
    ASSERT_EQ(LoadError(png, GreyPng({Chunk("tEXt", {'k', 'e', 'y', 0, 'v', 'a', 'l'}), Chunk("tEXt", {'n', 'o', 'z'}),
                                      Chunk("zTXt", z), Chunk("zTXt", {'n', 'o', 'm', 'e'}), Chunk("zTXt", bomb)})),
              0);
    std::vector<std::pair<String, String>> texts;
    for (int i = 0; i < png.ChunkList().Count(); ++i)
        if (auto* t = dynamic_cast<TChunktEXt*>(png.ChunkList().Item(i))) texts.emplace_back(t->Keyword, t->Text);
    EXPECT_EQ(texts, (std::vector<std::pair<String, String>>{
                         {"key", "val"}, {"noz", ""}, {"Z", "hello"}, {"nome", ""}, {"B", ""}}));

    // An empty compressed text is written as one space.
    TPNGObjectCore out;
    ASSERT_EQ(LoadError(out, GreyPng()), 0);
    auto* ztxt = out.ChunkList().AddChunk<TChunkzTXt>();
    ztxt->Keyword = "Comment";
    TPNGObjectCore again;
    ASSERT_EQ(LoadError(again, Save(out)), 0);
    auto* read = again.ChunkList().FindChunk<TChunkzTXt>();
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Keyword, "Comment");
    EXPECT_EQ(read->Text, " ");
}

TEST(PngChunks, PhysicalSizeAndTimeAreRewritten) {
    TPNGObjectCore png;
    ASSERT_EQ(LoadError(png, GreyPng({Chunk("pHYs", {0, 0, 14, 195, 0, 0, 14, 196, 1}),
                                      Chunk("tIME", {7, 212, 2, 29, 13, 45, 59})})),
              0);
    auto* phys = png.ChunkList().FindChunk<TChunkpHYs>();
    auto* time = png.ChunkList().FindChunk<TChunktIME>();
    EXPECT_EQ(phys->PPUnitX, 3779u);
    EXPECT_EQ(phys->PPUnitY, 3780u);
    EXPECT_EQ(phys->UnitType, 1);
    EXPECT_EQ(time->Year, 2004);
    EXPECT_EQ(time->Second, 59);
    time->Year = 2024;
    TPNGObjectCore again;
    ASSERT_EQ(LoadError(again, Save(png)), 0);
    EXPECT_EQ(again.ChunkList().FindChunk<TChunktIME>()->Year, 2024);
    EXPECT_EQ(again.ChunkList().FindChunk<TChunkpHYs>()->PPUnitY, 3780u);
}

TEST(PngSettings, MaxDataChunkSizeHasAFloor) {
    TPNGObjectCore png;
    EXPECT_EQ(png.MaxDataChunkSize(), 65535);
    png.SetMaxDataChunkSize(1000);
    EXPECT_EQ(png.MaxDataChunkSize(), 65535);
    png.SetMaxDataChunkSize(70000);
    EXPECT_EQ(png.MaxDataChunkSize(), 70000);
    EXPECT_EQ(png.RowFilters(), TPngRowFilters{rfSub});
    EXPECT_EQ(png.DeflateLevel(), 7);
    EXPECT_EQ(png.Interlacing(), ilNone);
}
