// The blend arithmetic, blending over a 32-bit canvas, and the effects.
#include "imaging/png/png_effects.h"

#include <gtest/gtest.h>

#include <cmath>

#include "png_test_support.h"

using namespace pngtest;

TEST(PngBlend, Arithmetic) {
    EXPECT_EQ(PngBlendChannel(0, 128, 255), (0 * 128 + 127 * 255 + 255) / 256);
    EXPECT_EQ(PngBlendChannel(200, 128, 255), (200 * 128 + 127 * 255 + 255) / 256);
    for (int v : {0, 1, 128, 254, 255}) {
        EXPECT_EQ(PngBlendChannel(Byte(v), 255, 17), v);
        EXPECT_EQ(PngBlendChannel(17, 0, Byte(v)), v);
    }
}

TEST(PngBlend, OverACanvasWithSampling) {
    TPNGObjectCore png;
    LoadRgba(png, 2, 1, {255, 0, 0, 255, 0, 0, 200, 128});
    Byte canvas[4 * 2 * 4];
    std::memset(canvas, 255, sizeof canvas);  // white, twice the size
    BlendPngOver(png, canvas, 4, 2, 16);
    for (int y = 0; y < 2; ++y) {
        const Byte* row = canvas + 16 * y;
        EXPECT_EQ(row[2], 255);  // red, opaque
        EXPECT_EQ(row[0], 0);
        EXPECT_EQ(row[4 + 0], 0);
        EXPECT_EQ(row[8 + 0], (200 * 128 + 127 * 255 + 255) / 256);  // blue half over white
        EXPECT_EQ(row[8 + 2], (127 * 255 + 255) / 256);
        EXPECT_EQ(row[12 + 0], row[8 + 0]);
        EXPECT_EQ(row[3], 255);  // the fourth byte is left alone
    }
    // Indexed with an alpha table.
    TPNGObjectCore indexed;
    ASSERT_EQ(LoadError(indexed, SimplePng(4, 1, 2, COLOR_PALETTE, {0x1B},
                                           {Chunk("PLTE", Palette4), Chunk("tRNS", {0, 128, 255})})),
              0);
    Byte line[16];
    std::memset(line, 0, sizeof line);  // black
    BlendPngOver(indexed, line, 4, 1, 16);
    EXPECT_EQ(line[2], 0);                        // transparent red
    EXPECT_EQ(line[5], (255 * 128 + 255) / 256);  // half green
    EXPECT_EQ(line[8], 255);                      // opaque blue
    EXPECT_EQ(line[12], 255);                     // white, past the table
}

TEST(PngEffects, BlendPng) {
    TPNGObjectCore png;
    LoadRgb(png, 2, 1, {1, 2, 3, 4, 5, 6});
    EXPECT_TRUE(BlendPng(png, 127));
    EXPECT_EQ(png.Header().ColorType, COLOR_RGBALPHA);
    EXPECT_EQ(png.AlphaRow(0)[0], 128);
    EXPECT_EQ(png.AlphaRow(0)[1], 128);
    // The key colour of a keyed image becomes fully transparent.
    TPNGObjectCore keyed;
    LoadRgb(keyed, 2, 1, {1, 2, 3, 4, 5, 6}, {Chunk("tRNS", {0, 4, 0, 5, 0, 6})});
    EXPECT_TRUE(BlendPng(keyed, 255));
    EXPECT_EQ(keyed.AlphaRow(0)[0], 255);
    EXPECT_EQ(keyed.AlphaRow(0)[1], 0);
    TPNGObjectCore grey;
    ASSERT_EQ(LoadError(grey, SimplePng(1, 1, 8, COLOR_GRAYSCALE, {9})), 0);
    EXPECT_FALSE(BlendPng(grey, 127));
}

TEST(PngEffects, Grayscale) {
    EXPECT_EQ(GrayscaleColor(PngRGB(200, 100, 50), 255),
              PngRGB(Byte(std::nearbyint(0.3 * 200 + 0.59 * 100 + 0.11 * 50)), 124, 124));
    // The two rounded halves of white add up to 256: it stays white.
    EXPECT_EQ(GrayscaleColor(PngRGB(255, 255, 255), 127), PngRGB(255, 255, 255));
    EXPECT_EQ(GrayscaleColor(PngRGB(0, 0, 0), 127), 0u);

    TPNGObjectCore rgb;
    LoadRgb(rgb, 1, 1, {200, 100, 50});
    GrayscalePng(rgb, 255);
    TPngColor c = rgb.PixelAt(0, 0);
    EXPECT_EQ(PngRed(c), PngGreen(c));
    EXPECT_EQ(PngGreen(c), PngBlue(c));

    TPNGObjectCore grey;
    ASSERT_EQ(LoadError(grey, SimplePng(2, 1, 8, COLOR_GRAYSCALE, {9, 200})), 0);
    TBytes before = RenderedImage(grey);
    GrayscalePng(grey, 255);
    EXPECT_EQ(RenderedImage(grey), before);

    TPNGObjectCore indexed;
    ASSERT_EQ(LoadError(indexed, SimplePng(4, 1, 2, COLOR_PALETTE, {0x1B}, {Chunk("PLTE", Palette4)})), 0);
    GrayscalePng(indexed, 255);
    EXPECT_EQ(indexed.PixelAt(0, 0), GrayscaleColor(PngRGB(255, 0, 0), 255));
}

TEST(PngBlend, GreyWithAlphaBlendsItsGammaCorrectedGrey) {
    TBytes gama;
    PutLong(gama, 100000);
    TPNGObjectCore png;
    ASSERT_EQ(LoadError(png, SimplePng(2, 1, 8, COLOR_GRAYSCALEALPHA, {100, 255, 100, 128}, {Chunk("gAMA", gama)})), 0);
    Byte g = png.GammaTable[100];
    ASSERT_NE(g, 100);
    Byte line[8];
    std::memset(line, 255, sizeof line);
    BlendPngOver(png, line, 2, 1, 8);
    EXPECT_EQ(line[0], g);
    EXPECT_EQ(line[4], PngBlendChannel(g, 128, 255));
}
