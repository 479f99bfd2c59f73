// The picture operations that need no device context: pixel access,
// resizing, alpha channels, transparency kinds and copying.
#include <gtest/gtest.h>

#include <cmath>

#include "png_test_support.h"

using namespace pngtest;

TEST(PngPixels, ReadAndWriteByColourType) {
    TPNGObjectCore rgb;
    LoadRgb(rgb, 2, 1, {10, 20, 30, 40, 50, 60});
    EXPECT_EQ(rgb.PixelAt(1, 0), PngRGB(40, 50, 60));
    EXPECT_EQ(rgb.PixelAt(-1, 0), 0u);
    EXPECT_EQ(rgb.PixelAt(2, 0), 0u);
    rgb.SetPixelAt(0, 0, PngRGB(1, 2, 3));
    rgb.SetPixelAt(5, 5, PngRGB(1, 2, 3));  // outside: nothing
    EXPECT_EQ(rgb.PixelAt(0, 0), PngRGB(1, 2, 3));
    EXPECT_EQ(rgb.PixelRow(0)[0], 3);  // held blue first

    TPNGObjectCore grey;
    ASSERT_EQ(LoadError(grey, SimplePng(3, 1, 4, COLOR_GRAYSCALE, {0x1F, 0x80})), 0);
    EXPECT_EQ(grey.PixelAt(1, 0), PngRGB(255, 255, 255));
    EXPECT_EQ(grey.PixelAt(2, 0), PngRGB(136, 136, 136));  // 8 x 17
    grey.SetPixelAt(0, 0, PngRGB(50, 52, 48));             // nearest grey step: 3 (51)
    EXPECT_EQ(grey.PixelRow(0)[0] >> 4, 3);

    TPNGObjectCore indexed;
    ASSERT_EQ(LoadError(indexed, SimplePng(4, 1, 2, COLOR_PALETTE, {0x1B}, {Chunk("PLTE", Palette4)})), 0);
    EXPECT_EQ(indexed.PixelAt(2, 0), PngRGB(0, 0, 255));
    indexed.SetPixelAt(0, 0, PngRGB(250, 240, 245));
    EXPECT_EQ(indexed.PixelAt(0, 0), PngRGB(255, 255, 255));

    TPNGObjectCore greyAlpha;
    ASSERT_EQ(LoadError(greyAlpha, SimplePng(1, 1, 8, COLOR_GRAYSCALEALPHA, {77, 5})), 0);
    EXPECT_EQ(greyAlpha.PixelAt(0, 0), PngRGB(77, 77, 77));
    greyAlpha.SetPixelAt(0, 0, PngRGB(90, 1, 2));
    EXPECT_EQ(greyAlpha.PixelAt(0, 0), PngRGB(90, 90, 90));
    EXPECT_EQ(greyAlpha.AlphaRow(0)[0], 5);
}

// A palette pixel takes the gamma once: the PLTE's colours were mapped when
// it was read, and PixelAt reads them as they are.
TEST(PngPixels, GammaIsAppliedOnce) {
    TBytes gama;
    PutLong(gama, 100000);
    TPNGObjectCore indexed, rgb;
    ASSERT_EQ(LoadError(indexed,
                        SimplePng(1, 1, 8, COLOR_PALETTE, {0}, {Chunk("gAMA", gama), Chunk("PLTE", {100, 50, 200})})),
              0);
    ASSERT_EQ(LoadError(rgb, SimplePng(1, 1, 8, COLOR_RGB, {100, 50, 200}, {Chunk("gAMA", gama)})), 0);
    EXPECT_NE(rgb.PixelAt(0, 0), PngRGB(100, 50, 200));
    EXPECT_EQ(indexed.PixelAt(0, 0), rgb.PixelAt(0, 0));
}

TEST(PngPixels, OperationsNeedAHeader) {
    TPNGObjectCore png;
    EXPECT_EQ(png.Width(), 0);
    EXPECT_EQ(png.TransparencyKind(), tkNone);
    try {
        png.PixelAt(0, 0);
        FAIL();
    } catch (const EPNGHeaderNotPresent& e) {
        EXPECT_EQ(e.MessageId(), 64994);
    }
}

TEST(PngPixels, ChangeSize) {
    TPNGObjectCore png;
    LoadRgba(png, 2, 2, {1, 2, 3, 10, 4, 5, 6, 20, 7, 8, 9, 30, 10, 11, 12, 40});
    for (auto [w, h] : {std::pair{0, 10}, std::pair{10, 0}, std::pair{-1, 1}}) {
        try {
            png.ChangeSize(w, h);
            ADD_FAILURE();
        } catch (const EPNGInvalidNewSize& e) {
            EXPECT_EQ(e.MessageId(), 64995);
        }
    }
    png.ChangeSize(3, 4);
    EXPECT_EQ(png.Width(), 3);
    EXPECT_EQ(png.Height(), 4);
    EXPECT_EQ(png.Header().RowStride(), 12u);
    EXPECT_EQ(png.PixelAt(1, 1), PngRGB(10, 11, 12));
    EXPECT_EQ(png.PixelAt(0, 1), PngRGB(7, 8, 9));
    EXPECT_EQ(png.AlphaRow(1)[1], 40);
    EXPECT_EQ(png.AlphaRow(1)[2], 255);  // new alpha is opaque
    EXPECT_EQ(png.AlphaRow(3)[0], 255);
    png.ChangeSize(1, 1);
    EXPECT_EQ(png.PixelAt(0, 0), PngRGB(1, 2, 3));
    TPNGObjectCore again;
    ASSERT_EQ(LoadError(again, Save(png)), 0);
    EXPECT_EQ(again.Width(), 1);
    EXPECT_EQ(again.AlphaRow(0)[0], 10);
}

namespace {

// Refuses the n-th buffer it is asked for (pixels, alpha or low bytes) and
// counts the alpha and low-byte buffers it handed out that are not freed.
class TFailingAllocator : public TPngImageAllocator {
public:
    std::unique_ptr<TPngPixelMemory> CreatePixels(const TPngBitmapInfo& info, std::size_t size) override {
        return ++Requests == FailAt ? nullptr : TPngImageAllocator::CreatePixels(info, size);
    }
    Byte* AllocateBytes(std::size_t size) override {
        if (++Requests == FailAt) return nullptr;
        ++Live;
        return TPngImageAllocator::AllocateBytes(size);
    }
    void FreeBytes(Byte* bytes) override {
        --Live;
        TPngImageAllocator::FreeBytes(bytes);
    }
    int FailAt = 0;
    int Requests = 0;
    int Live = 0;
};

class TFailingPng : public TPNGObjectCore {
public:
    ~TFailingPng() override { ClearChunkList(); }
    TPngImageAllocator& ImageAllocator() override { return Allocator; }
    TFailingAllocator Allocator;
};

}  // namespace

TEST(PngPixels, AChangeOfSizeThatCannotHaveItsBuffersLeavesThePictureAsItWas) {
    // A 16-bit image with alpha holds pixels, alpha and low bytes; resizing
    // asks for the three anew in that order.
    for (int failAt : {1, 2, 3}) {
        SCOPED_TRACE(failAt);
        TFailingPng png;
        ASSERT_EQ(
            LoadError(png, SimplePng(2, 1, 16, COLOR_RGBALPHA, {1, 0, 2, 0, 3, 0, 10, 0, 4, 0, 5, 0, 6, 0, 20, 0})), 0);
        ASSERT_EQ(png.Allocator.Live, 2);
        png.Allocator.Requests = 0;
        png.Allocator.FailAt = failAt;
        EXPECT_THROW(png.ChangeSize(3, 3), EPNGOutMemory);
        EXPECT_EQ(png.Allocator.Live, 2);
        EXPECT_EQ(png.Width(), 2);
        EXPECT_EQ(png.Height(), 1);
        EXPECT_EQ(png.PixelAt(1, 0), PngRGB(4, 5, 6));
        EXPECT_EQ(png.AlphaRow(0)[1], 20);
        png.Allocator.FailAt = 0;
        png.ChangeSize(3, 3);
        EXPECT_EQ(png.Allocator.Live, 2);
        EXPECT_EQ(png.PixelAt(1, 0), PngRGB(4, 5, 6));
    }
}

TEST(PngPixels, AddAlphaChannel) {
    TPNGObjectCore rgb;
    LoadRgb(rgb, 2, 1, {1, 2, 3, 4, 5, 6});
    rgb.AddAlphaChannel();
    EXPECT_EQ(rgb.Header().ColorType, COLOR_RGBALPHA);
    EXPECT_EQ(rgb.AlphaRow(0)[1], 255);
    EXPECT_EQ(rgb.TransparencyKind(), tkPartial);

    TPNGObjectCore indexed;
    ASSERT_EQ(LoadError(indexed, SimplePng(4, 1, 2, COLOR_PALETTE, {0x1B}, {Chunk("PLTE", Palette4)})), 0);
    indexed.AddAlphaChannel();
    auto* trns = indexed.ChunkList().FindChunk<TChunktRNS>();
    ASSERT_NE(trns, nullptr);
    EXPECT_EQ(trns->ChunkDataSize(), 4u);
    EXPECT_FALSE(trns->IsColorKey);
    EXPECT_EQ(trns->AlphaTable[3], 255);

    // One-bit grey becomes 8-bit grey with alpha, keeping its greys, and is
    // written as a valid file (grey with alpha has no samples below 8 bits).
    TPNGObjectCore grey;
    ASSERT_EQ(LoadError(grey, SimplePng(3, 1, 1, COLOR_GRAYSCALE, {0x40})), 0);
    grey.AddAlphaChannel();
    EXPECT_EQ(grey.Header().ColorType, COLOR_GRAYSCALEALPHA);
    EXPECT_EQ(grey.Header().BitDepth, 8);
    EXPECT_EQ(grey.PixelAt(1, 0), PngRGB(255, 255, 255));
    EXPECT_EQ(grey.PixelAt(2, 0), 0u);
    TPNGObjectCore again;
    ASSERT_EQ(LoadError(again, Save(grey)), 0);
    EXPECT_EQ(again.PixelAt(1, 0), PngRGB(255, 255, 255));
    EXPECT_EQ(again.AlphaRow(0)[0], 255);
}

TEST(PngTransparency, KindsAndKeys) {
    TPNGObjectCore png;
    LoadRgb(png, 1, 1, {1, 2, 3});
    EXPECT_EQ(png.TransparencyKind(), tkNone);
    EXPECT_EQ(png.KeyColor(), 0u);
    LoadRgb(png, 1, 1, {1, 2, 3}, {Chunk("tRNS", {0, 9, 0, 8, 0, 7})});
    EXPECT_EQ(png.TransparencyKind(), tkColorKey);
    EXPECT_EQ(png.KeyColor(), PngRGB(9, 8, 7));
    // 16-bit keys compare by the high byte, which is what is held.
    ASSERT_EQ(LoadError(png, SimplePng(1, 1, 16, COLOR_RGB, {9, 1, 8, 2, 7, 3}, {Chunk("tRNS", {9, 1, 8, 2, 7, 3})})),
              0);
    EXPECT_EQ(png.KeyColor(), png.PixelAt(0, 0));
    // A grey image with a key: the key's grey.
    ASSERT_EQ(LoadError(png, SimplePng(2, 1, 8, COLOR_GRAYSCALE, {4, 200}, {Chunk("tRNS", {0, 200})})), 0);
    EXPECT_EQ(png.TransparencyKind(), tkColorKey);
    EXPECT_EQ(png.KeyColor(), png.PixelAt(1, 0));
    // Indexed: one transparent entry is a key colour; several alpha levels blend.
    auto indexed = [&](const TBytes& trns) {
        EXPECT_EQ(
            LoadError(png, SimplePng(4, 1, 2, COLOR_PALETTE, {0x1B}, {Chunk("PLTE", Palette4), Chunk("tRNS", trns)})),
            0);
        return png.TransparencyKind();
    };
    EXPECT_EQ(indexed({255, 0}), tkColorKey);
    EXPECT_EQ(png.KeyColor(), PngRGB(0, 255, 0));
    EXPECT_EQ(indexed({255, 128}), tkPartial);
    EXPECT_EQ(indexed({0, 0}), tkPartial);
    EXPECT_EQ(indexed({0, 128, 255}), tkPartial);
    ASSERT_EQ(LoadError(png, SimplePng(1, 1, 8, COLOR_GRAYSCALEALPHA, {1, 2})), 0);
    EXPECT_EQ(png.TransparencyKind(), tkPartial);
}

TEST(PngTransparency, SetKeyColor) {
    TPNGObjectCore rgb;
    LoadRgb(rgb, 1, 1, {1, 2, 3});
    auto* trns = rgb.ChunkList().AddChunk<TChunktRNS>();
    EXPECT_TRUE(trns->SetKeyColor(PngRGB(1, 2, 3)));
    EXPECT_EQ(trns->ChunkDataSize(), 6u);
    EXPECT_EQ(rgb.TransparencyKind(), tkColorKey);
    EXPECT_EQ(rgb.KeyColor(), PngRGB(1, 2, 3));

    TPNGObjectCore indexed;
    ASSERT_EQ(LoadError(indexed, SimplePng(4, 1, 2, COLOR_PALETTE, {0x1B}, {Chunk("PLTE", Palette4)})), 0);
    trns = indexed.ChunkList().AddChunk<TChunktRNS>();
    EXPECT_TRUE(trns->SetKeyColor(PngRGB(0, 0, 255)));
    EXPECT_EQ(trns->ChunkDataSize(), 3u);
    EXPECT_EQ(trns->AlphaTable[2], 0);
    EXPECT_EQ(trns->AlphaTable[1], 255);
    EXPECT_EQ(indexed.TransparencyKind(), tkColorKey);
    // A colour the palette lacks makes nothing transparent, and no tRNS is written.
    EXPECT_FALSE(trns->SetKeyColor(PngRGB(1, 1, 1)));
    EXPECT_EQ(indexed.TransparencyKind(), tkNone);
    for (const TRawChunk& c : ChunksOf(Save(indexed))) EXPECT_NE(c.Type, "tRNS");
}

TEST(PngCopy, AssignCopiesSettingsChunksPixelsAndGamma) {
    TPNGObjectCore png;
    TBytes gama;
    PutLong(gama, 100000);
    ASSERT_EQ(LoadError(png, SimplePng(2, 1, 8, COLOR_RGB, {10, 100, 200, 1, 2, 3},
                                       {Chunk("gAMA", gama), Chunk("tEXt", {'a', 0, 'b'})})),
              0);
    png.SetDeflateLevel(3);
    png.SetRowFilters({rfPaeth});
    TPNGObjectCore copy;
    copy.AssignPng(png);
    EXPECT_EQ(copy.DeflateLevel(), 3);
    EXPECT_EQ(copy.RowFilters(), TPngRowFilters{rfPaeth});
    EXPECT_EQ(copy.ChunkList().Count(), png.ChunkList().Count());
    EXPECT_EQ(copy.ChunkList().FindChunk<TChunktEXt>()->Text, "b");
    EXPECT_EQ(copy.PixelAt(0, 0), png.PixelAt(0, 0));
    EXPECT_NE(copy.PixelRow(0), png.PixelRow(0));
    // Written through the same gamma, the copy saves what the original saves.
    EXPECT_EQ(std::memcmp(copy.InverseGammaTable, png.InverseGammaTable, 256), 0);
    EXPECT_EQ(Save(copy), Save(png));
}

TEST(PngPixels, WritingAnIndexedPixelPicksOnlyThePalettesOwnColours) {
    // Two palette entries in an 8-bit bitmap: the other 254 colour-table
    // entries are not colours of the image, whatever they hold.
    TPNGObjectCore png;
    ASSERT_EQ(LoadError(png, SimplePng(2, 1, 8, COLOR_PALETTE, {0, 1}, {Chunk("PLTE", {200, 0, 0, 0, 200, 0})})), 0);
    png.SetPixelAt(0, 0, PngRGB(0, 0, 0));  // black: nearest of the two is either, never a third
    EXPECT_LT(png.PixelRow(0)[0], 2);
    EXPECT_NO_THROW(png.PixelAt(0, 0));
    png.SetPixelAt(1, 0, PngRGB(10, 190, 5));
    EXPECT_EQ(png.PixelAt(1, 0), PngRGB(0, 200, 0));
    TPNGObjectCore again;
    ASSERT_EQ(LoadError(again, Save(png)), 0);
    EXPECT_EQ(again.PixelAt(1, 0), PngRGB(0, 200, 0));
}

TEST(PngPixels, GreyWithAlphaShowsTheGammaCorrectedGrey) {
    TBytes gama;
    PutLong(gama, 100000);
    TPNGObjectCore grey, greyAlpha;
    ASSERT_EQ(LoadError(grey, SimplePng(1, 1, 8, COLOR_GRAYSCALE, {100}, {Chunk("gAMA", gama)})), 0);
    ASSERT_EQ(LoadError(greyAlpha, SimplePng(1, 1, 8, COLOR_GRAYSCALEALPHA, {100, 255}, {Chunk("gAMA", gama)})), 0);
    Byte g = grey.GammaTable[100];
    ASSERT_NE(g, 100);
    EXPECT_EQ(grey.PixelAt(0, 0), PngRGB(g, g, g));
    EXPECT_EQ(greyAlpha.PixelAt(0, 0), PngRGB(g, g, g));
    // Its own colour table says the same.
    EXPECT_EQ(greyAlpha.Header().ColorTable()[100].rgbRed, g);
    // And the grey is held as it was read, so it is written back unchanged.
    EXPECT_EQ(greyAlpha.PixelRow(0)[0], 100);
    greyAlpha.SetPixelAt(0, 0, PngRGB(g, g, g));
    EXPECT_EQ(greyAlpha.PixelAt(0, 0), PngRGB(g, g, g));
}

TEST(PngTransparency, AKeyPixelIsOneWhoseSampleInTheFileIsTheKey) {
    // Through a gamma of 1 / 2.2 the samples 254 and 255 are both held as
    // 255: only the pixel that has 255 in the file is the key.
    TBytes gama;
    PutLong(gama, 100000);
    TPNGObjectCore png;
    LoadRgb(png, 2, 1, {255, 255, 255, 254, 254, 254}, {Chunk("gAMA", gama), Chunk("tRNS", {0, 255, 0, 255, 0, 255})});
    ASSERT_EQ(png.PixelAt(0, 0), png.PixelAt(1, 0));
    EXPECT_TRUE(png.IsKeyPixel(0, 0));
    EXPECT_FALSE(png.IsKeyPixel(1, 0));
    EXPECT_FALSE(png.IsKeyPixel(2, 0));
    // Saved and read again, the same pixel is the key.
    TPNGObjectCore again;
    ASSERT_EQ(LoadError(again, Save(png)), 0);
    EXPECT_TRUE(again.IsKeyPixel(0, 0));
    EXPECT_FALSE(again.IsKeyPixel(1, 0));
    // A copy keeps what the file said.
    TPNGObjectCore copy;
    copy.AssignPng(png);
    EXPECT_FALSE(copy.IsKeyPixel(1, 0));
    // Resized, the pixels kept keep it too.
    copy.ChangeSize(3, 2);
    EXPECT_TRUE(copy.IsKeyPixel(0, 0));
    EXPECT_FALSE(copy.IsKeyPixel(1, 0));
    EXPECT_FALSE(copy.IsKeyPixel(2, 1));
    // A pixel written in the key colour is the key.
    png.SetPixelAt(1, 0, png.KeyColor());
    EXPECT_TRUE(png.IsKeyPixel(1, 0));
}

TEST(PngTransparency, KeysCompareWholeSamples) {
    struct Case {
        const char* What;
        Byte Depth, ColorType;
        TBytes Rows, Key;
        std::vector<bool> Keyed;
    } cases[] = {
        // 16-bit: the low byte counts (the held pixel is the high byte).
        {"grey 16", 16, COLOR_GRAYSCALE, {0x12, 0x34, 0x12, 0x35}, {0x12, 0x34}, {true, false}},
        {"colour 16", 16, COLOR_RGB, {1, 2, 3, 4, 5, 6, 1, 2, 3, 4, 5, 7}, {1, 2, 3, 4, 5, 6}, {true, false}},
        {"grey 2", 2, COLOR_GRAYSCALE, {0x1B}, {0, 2}, {false, false, true, false}},
        {"grey 8", 8, COLOR_GRAYSCALE, {7, 8}, {0, 8}, {false, true}},
        {"colour 8", 8, COLOR_RGB, {1, 2, 3, 1, 2, 4}, {0, 1, 0, 2, 0, 4}, {false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        TPNGObjectCore png;
        LongWord w = LongWord(c.Keyed.size());
        ASSERT_EQ(LoadError(png, SimplePng(w, 1, c.Depth, c.ColorType, c.Rows, {Chunk("tRNS", c.Key)})), 0);
        for (LongWord x = 0; x < w; ++x) EXPECT_EQ(png.IsKeyPixel(int(x), 0), c.Keyed[x]) << x;
        // Saved, the same pixels are the key.
        TPNGObjectCore again;
        ASSERT_EQ(LoadError(again, Save(png)), 0);
        for (LongWord x = 0; x < w; ++x) EXPECT_EQ(again.IsKeyPixel(int(x), 0), c.Keyed[x]) << x;
    }
    // Indexed: by the entry's alpha, not by its colour (entries 0 and 1 are
    // both red; only 1 is transparent).
    TPNGObjectCore indexed;
    ASSERT_EQ(LoadError(indexed, SimplePng(2, 1, 8, COLOR_PALETTE, {0, 1},
                                           {Chunk("PLTE", {255, 0, 0, 255, 0, 0}), Chunk("tRNS", {255, 0})})),
              0);
    EXPECT_FALSE(indexed.IsKeyPixel(0, 0));
    EXPECT_TRUE(indexed.IsKeyPixel(1, 0));
}
