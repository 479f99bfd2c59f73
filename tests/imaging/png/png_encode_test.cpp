// Encoding specifics: the filter choice, data chunk splitting and
// interlaced writing.
#include <gtest/gtest.h>

#include <random>

#include "png_test_support.h"

using namespace pngtest;

namespace {

// The filter-type bytes of the rows of a written non-interlaced image.
std::vector<int> WrittenFilters(TPNGObjectCore& png, std::vector<std::size_t>* idatSizes = nullptr) {
    TBytes compressed;
    for (const TRawChunk& c : ChunksOf(Save(png)))
        if (c.Type == "IDAT") {
            compressed.insert(compressed.end(), c.Data.begin(), c.Data.end());
            if (idatSizes) idatSizes->push_back(c.Data.size());
        }
    TBytes raw(RowBytesFor(png.Width(), png.Header().ColorType, png.Header().BitDepth) * png.Height() + png.Height());
    uLongf size = uLongf(raw.size());
    EXPECT_EQ(uncompress(raw.data(), &size, compressed.data(), uLong(compressed.size())), Z_OK);
    std::vector<int> filters;
    std::size_t rb = raw.size() / png.Height();
    for (int y = 0; y < png.Height(); ++y) filters.push_back(raw[y * rb]);
    return filters;
}

TPNGObjectCore* Grey8(TPNGObjectCore& png, LongWord w, LongWord h, const TBytes& rows) {
    EXPECT_EQ(LoadError(png, SimplePng(w, h, 8, COLOR_GRAYSCALE, rows)), 0);
    return &png;
}

}  // namespace

TEST(PngEncode, DefaultsWriteOneChunkOfSubRows) {
    TPNGObjectCore png;
    Grey8(png, 8, 4, TBytes(32, 7));
    std::vector<std::size_t> sizes;
    EXPECT_EQ(WrittenFilters(png, &sizes), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(sizes.size(), 1u);
}

TEST(PngEncode, FilterChoice) {
    TPNGObjectCore png;
    // Row 0: all equal; row 1: no byte repeats under Up or Paeth.
    Grey8(png, 6, 2, {9, 9, 9, 9, 9, 9, 0, 1, 3, 6, 10, 15});
    png.SetRowFilters({rfNone, rfSub, rfUp, rfAverage, rfPaeth});
    EXPECT_EQ(WrittenFilters(png)[0], 0);
    png.SetRowFilters({rfUp, rfPaeth});
    TPNGObjectCore second;
    Grey8(second, 6, 1, {0, 1, 3, 6, 10, 15});
    second.SetRowFilters({rfUp, rfPaeth});
    EXPECT_EQ(WrittenFilters(second)[0], 0);  // None although not in the set
    second.SetRowFilters({rfPaeth});
    EXPECT_EQ(WrittenFilters(second)[0], 4);  // a single filter is always taken
    second.SetRowFilters({});
    EXPECT_EQ(WrittenFilters(second)[0], 0);
    // A ramp: Sub turns it into repeats, and wins over Up.
    TPNGObjectCore ramp;
    Grey8(ramp, 8, 2, {0, 0, 0, 0, 0, 0, 0, 0, 10, 20, 30, 40, 50, 60, 70, 80});
    ramp.SetRowFilters({rfSub, rfUp});
    EXPECT_EQ(WrittenFilters(ramp)[1], 1);
}

TEST(PngEncode, DataIsSplitIntoChunksOfMaxDataChunkSize) {
    TPNGObjectCore png;
    std::mt19937 rng(1);
    TBytes noise(400 * 400);
    for (Byte& b : noise) b = Byte(rng());
    Grey8(png, 400, 400, noise);
    png.SetDeflateLevel(0);
    png.SetRowFilters({rfNone});
    std::vector<std::size_t> sizes;
    WrittenFilters(png, &sizes);
    std::size_t total = 0;
    for (std::size_t s : sizes) total += s;
    ASSERT_GT(total, 2u * 65535);
    ASSERT_EQ(sizes.size(), total / 65535 + 1);
    for (std::size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_EQ(sizes[i], 65535u);
    EXPECT_EQ(sizes.back(), total % 65535);
    png.SetMaxDataChunkSize(200000);
    sizes.clear();
    WrittenFilters(png, &sizes);
    EXPECT_EQ(sizes, std::vector<std::size_t>{total});
}

TEST(PngEncode, InterlacedWritingReadsBack) {
    TPNGObjectCore png;
    std::mt19937 rng(3);
    TBytes rows(RowBytesFor(13, COLOR_PALETTE, 4) * 11);
    for (Byte& b : rows) b = Byte(rng());
    ASSERT_EQ(LoadError(png, SimplePng(13, 11, 4, COLOR_PALETTE, rows, {Chunk("PLTE", TBytes(48, 3))})), 0);
    TBytes before = RenderedImage(png);
    png.SetInterlacing(ilAdam7);
    TBytes saved = Save(png);
    EXPECT_EQ(ChunksOf(saved)[0].Data[12], 1);
    TPNGObjectCore again;
    ASSERT_EQ(LoadError(again, saved), 0);
    EXPECT_EQ(again.Interlacing(), ilAdam7);
    EXPECT_EQ(RenderedImage(again), before);
}

TEST(PngEncode, SavingATwoBitGreyKeyKeepsThePictureAndWritesTheKeyAsTheSamples) {
    // Samples 0, 1, 2, 3; the key is 2.
    TPNGObjectCore png;
    ASSERT_EQ(LoadError(png, SimplePng(4, 1, 2, COLOR_GRAYSCALE, {0x1B}, {Chunk("tRNS", {0, 2})})), 0);
    TPngColor key = png.KeyColor();
    EXPECT_EQ(key, PngRGB(170, 170, 170));
    TBytes saved = Save(png);
    // The picture in memory is what it was.
    EXPECT_EQ(png.Header().BitDepth, 2);
    EXPECT_EQ(png.KeyColor(), key);
    // The file holds 4-bit cells, and the key names the same grey.
    for (const TRawChunk& c : ChunksOf(saved)) {
        if (c.Type == "IHDR") {
            EXPECT_EQ(c.Data[8], 4);
        }
        if (c.Type == "tRNS") {
            EXPECT_EQ(c.Data, (TBytes{0, 10}));
        }
    }
    TPNGObjectCore again;
    ASSERT_EQ(LoadError(again, saved), 0);
    EXPECT_EQ(again.TransparencyKind(), tkColorKey);
    EXPECT_EQ(again.KeyColor(), key);
    EXPECT_EQ(again.PixelAt(2, 0), key);
    EXPECT_NE(again.PixelAt(1, 0), key);
}

TEST(PngEncode, SixteenBitKeysAreWrittenAsTheSamplesAre) {
    struct Case {
        Byte ColorType;
        TBytes Pixel, Key, Written;
    } cases[] = {
        {COLOR_GRAYSCALE, {0x12, 0x34}, {0x12, 0x34}, {0x12, 0}},
        {COLOR_RGB,
         {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC},
         {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC},
         {0x12, 0, 0x56, 0, 0x9A, 0}},
    };
    for (const Case& c : cases) {
        TPNGObjectCore png;
        ASSERT_EQ(LoadError(png, SimplePng(1, 1, 16, c.ColorType, c.Pixel, {Chunk("tRNS", c.Key)})), 0);
        TBytes saved = Save(png);
        for (const TRawChunk& chunk : ChunksOf(saved))
            if (chunk.Type == "tRNS") {
                EXPECT_EQ(chunk.Data, c.Written) << int(c.ColorType);
            }
        // The key still is what the picture holds.
        EXPECT_EQ(png.ChunkList().FindChunk<TChunktRNS>()->AlphaTable[1], c.Key[1]);
    }
}
