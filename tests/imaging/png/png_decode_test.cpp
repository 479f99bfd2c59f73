// Decoding and encoding specifics: cells, filters, the filter choice, data
// chunk splitting and allocation failures.
#include <gtest/gtest.h>

#include <random>

#include "imaging/png/png_filters.h"
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
    EXPECT_EQ(png.Header().BitDepth, 4);
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

TEST(PngFilters, UnfilterUndoesFilterForEveryTypeAndPixelSize) {
    std::mt19937 rng(5);
    for (int p : {1, 2, 3, 4, 6, 8})
        for (std::size_t n : {std::size_t(1), std::size_t(p), std::size_t(3 * p + 1), std::size_t(257)}) {
            TBytes raw(n), prev(n), filtered(n), back(n);
            for (std::size_t i = 0; i < n; ++i) {
                raw[i] = Byte(rng());
                prev[i] = Byte(rng());
            }
            for (TPngRowFilter f : {rfNone, rfSub, rfUp, rfAverage, rfPaeth}) {
                FilterRow(f, raw.data(), prev.data(), filtered.data(), n, p);
                UnfilterRow(f, filtered.data(), back.data(), prev.data(), n, p);
                EXPECT_EQ(back, raw) << "filter " << f << " p " << p << " n " << n;
                back = filtered;
                UnfilterRow(f, back.data(), back.data(), prev.data(), n, p);  // in place
                EXPECT_EQ(back, raw);
            }
            UnfilterRow(7, raw.data(), back.data(), prev.data(), n, p);  // above 4: None
            EXPECT_EQ(back, raw);
        }
}

TEST(PngFilters, PaethPredictor) {
    EXPECT_EQ(PaethPredict(10, 20, 10), 20);
    EXPECT_EQ(PaethPredict(20, 10, 10), 20);
    EXPECT_EQ(PaethPredict(5, 5, 5), 5);
    EXPECT_EQ(PaethPredict(100, 10, 60), 60);
    EXPECT_EQ(PaethPredict(0, 255, 128), 128);
    EXPECT_EQ(PaethPredict(0, 255, 0), 255);
}

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
