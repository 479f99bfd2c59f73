// Decoding specifics: cells, 16-bit samples, palettes and allocation
// failures.
#include <gtest/gtest.h>

#include "png_test_support.h"

using namespace pngtest;

namespace {

// Counts what an allocator is asked for and refuses anything past a limit.
class TCountingAllocator : public TPngImageAllocator {
public:
    std::unique_ptr<TPngPixelMemory> CreatePixels(const TPngBitmapInfo& info, std::size_t size) override {
        LastPixelSize = size;
        return size > Limit ? nullptr : TPngImageAllocator::CreatePixels(info, size);
    }
    Byte* AllocateBytes(std::size_t size) override {
        return size > Limit ? nullptr : TPngImageAllocator::AllocateBytes(size);
    }
    std::size_t Limit = 1u << 20;
    std::size_t LastPixelSize = 0;
};

class TLimitedPng : public TPNGObjectCore {
public:
    ~TLimitedPng() override { ClearChunkList(); }
    TPngImageAllocator& ImageAllocator() override { return Allocator; }
    TCountingAllocator Allocator;
};

}  // namespace

TEST(PngDecode, TwoBitGreyCellsScaleToTheWholeRange) {
    TPNGObjectCore png;
    ASSERT_EQ(LoadError(png, SimplePng(4, 1, 2, COLOR_GRAYSCALE, {0x1B})), 0);  // samples 0, 1, 2, 3
    const Byte* row = png.PixelRow(0);
    EXPECT_EQ(row[0], 0x05);
    EXPECT_EQ(row[1], 0xAF);
    EXPECT_EQ(png.Header().BitsPerPixel(), 4);
    const TPngRGBQuad* table = png.Header().ColorTable();
    EXPECT_EQ(table[5].rgbRed, 85);
    EXPECT_EQ(table[15].rgbGreen, 255);
    EXPECT_EQ(png.PixelAt(3, 0), PngRGB(255, 255, 255));
    EXPECT_EQ(png.PixelAt(1, 0), PngRGB(85, 85, 85));
    // Written back as a 4-bit image of the same greys.
    TBytes saved = Save(png);
    EXPECT_EQ(ChunksOf(saved)[0].Data[8], 4);
    EXPECT_EQ(png.Header().BitDepth, 2);  // saving does not change the picture
    TPNGObjectCore again;
    ASSERT_EQ(LoadError(again, saved), 0);
    EXPECT_EQ(again.PixelAt(2, 0), PngRGB(170, 170, 170));
}

TEST(PngDecode, TwoBitIndicesAreHeldAsFourBitCells) {
    TPNGObjectCore png;
    TBytes plte = {0, 0, 0, 10, 10, 10, 20, 20, 20, 30, 30, 30};
    ASSERT_EQ(LoadError(png, SimplePng(5, 1, 2, COLOR_PALETTE, {0x1B, 0x80}, {Chunk("PLTE", plte)})), 0);
    const Byte* row = png.PixelRow(0);
    EXPECT_EQ(row[0], 0x01);
    EXPECT_EQ(row[1], 0x23);
    EXPECT_EQ(row[2] >> 4, 2);
    EXPECT_EQ(png.PixelAt(4, 0), PngRGB(20, 20, 20));
}

TEST(PngDecode, SixteenBitSamplesKeepTheirLowBytes) {
    TPNGObjectCore png;
    ASSERT_EQ(LoadError(png, SimplePng(1, 1, 16, COLOR_RGB, {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC})), 0);
    const Byte* p = png.PixelRow(0);
    const Byte* low = png.LowByteRow(0);
    EXPECT_EQ(p[0], 0x9A);  // blue
    EXPECT_EQ(p[2], 0x12);  // red
    EXPECT_EQ(low[0], 0xBC);
    EXPECT_EQ(low[2], 0x34);
    TPNGObjectCore again;
    ASSERT_EQ(LoadError(again, Save(png)), 0);
    EXPECT_EQ(again.PixelRow(0)[2], 0x12);
    EXPECT_EQ(again.LowByteRow(0)[2], 0);  // low bytes are not written
}

TEST(PngDecode, IndexedImageNeedsItsPalette) {
    TPNGObjectCore png;
    EXPECT_EQ(LoadError(png, SimplePng(2, 1, 8, COLOR_PALETTE, {0, 1})), 65012);
}

TEST(PngDecode, HugeHeadersAskForExactSizesAndFailCleanly) {
    TLimitedPng png;
    TBytes file =
        Png({Chunk("IHDR", HeaderData(65535, 65535, 8, COLOR_RGB)), Chunk("IDAT", Compress({0})), Chunk("IEND")});
    EXPECT_EQ(LoadError(png, file), 64993);
    EXPECT_EQ(png.Allocator.LastPixelSize, std::size_t(196608) * 65535);  // past 4 GiB
    EXPECT_EQ(png.HeaderChunk()->PixelBits(), nullptr);
    file =
        Png({Chunk("IHDR", HeaderData(65535, 65535, 16, COLOR_RGBALPHA)), Chunk("IDAT", Compress({0})), Chunk("IEND")});
    EXPECT_EQ(LoadError(png, file), 64993);
}

TEST(PngDecode, AStreamCutInsideTheImageDataShowsTheRowsBeforeTheCut) {
    // Four rows of 8 grey bytes, stored uncompressed (zlib level 0), so that
    // a cut lands at a known row.
    TBytes rows;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) rows.push_back(Byte(10 * (y + 1) + x));
    TBytes filtered;
    for (int y = 0; y < 4; ++y) {
        filtered.push_back(0);
        filtered.insert(filtered.end(), rows.begin() + 8 * y, rows.begin() + 8 * (y + 1));
    }
    TBytes data = Compress(filtered, 0);  // 2 + 5 + 36 + 4 bytes
    const std::size_t idatStart = 8 + 25 + 8;
    auto check = [&](const TBytes& file, std::size_t dataBytes, const char* what) {
        SCOPED_TRACE(what);
        TBytes cut(file.begin(), file.begin() + long(dataBytes));
        TPNGObjectCore png;
        EXPECT_EQ(LoadError(png, cut), 65008);  // the CRC that cannot be read
        ASSERT_NE(png.HeaderChunk(), nullptr);
        EXPECT_NE(png.ChunkList().FindChunk<TChunkIDAT>(), nullptr);
        // Rows 0 and 1 came whole, row 2 in part, row 3 not at all.
        EXPECT_EQ(std::memcmp(png.PixelRow(0), rows.data(), 8), 0);
        EXPECT_EQ(std::memcmp(png.PixelRow(1), rows.data() + 8, 8), 0);
        EXPECT_EQ(png.PixelRow(2)[0], rows[16]);
        EXPECT_EQ(png.PixelRow(2)[7], 0);
        EXPECT_EQ(png.PixelRow(3)[0], 0);
    };
    // One IDAT: cut after 2 + 5 + 18 + 3 data bytes (row 2's first bytes).
    TBytes one = Png({Chunk("IHDR", HeaderData(8, 4, 8, COLOR_GRAYSCALE)), Chunk("IDAT", data), Chunk("IEND")});
    check(one, idatStart + 2 + 5 + 18 + 3, "one chunk");
    // Many small IDATs: the cut lands inside a later one's data.
    TBytes many = Signature();
    auto append = [&](const TBytes& c) { many.insert(many.end(), c.begin(), c.end()); };
    append(Chunk("IHDR", HeaderData(8, 4, 8, COLOR_GRAYSCALE)));
    for (std::size_t pos = 0; pos < data.size(); pos += 4)
        append(Chunk("IDAT", TBytes(data.begin() + long(pos), data.begin() + long(std::min(pos + 4, data.size())))));
    append(Chunk("IEND"));
    // Data byte 28 is in the eighth chunk (each 12 + 4 bytes), at its first byte.
    check(many, 8 + 25 + 7 * 16 + 8 + 1, "many chunks");
    // Cut between two chunks, inside the next one's length.
    check(many, 8 + 25 + 7 * 16 + 2, "between chunks");
}
