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
