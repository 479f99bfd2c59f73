// The conversions into PNG pictures, the disabled effects, drawing with
// them, and the icons for the native image list.
#include "png_test_support_win.h"

using namespace pngwintest;

namespace {

const LongWord Red = Rgb(255, 0, 0), Green = Rgb(0, 255, 0), Blue = Rgb(0, 0, 255), White = Rgb(255, 255, 255),
               Gray = Rgb(128, 128, 128);

// An icon of a 24-bit colour bitmap and a mask (white: transparent).
HICON MakeIcon(TBitmap& color, TBitmap& mask) {
    ICONINFO info{TRUE, 0, 0, mask.Handle(), color.Handle()};
    return CreateIconIndirect(&info);
}

// A 4 x 4 icon whose colour section carries alpha: row y has alpha 60 * y,
// colour blue.
HICON MakeAlphaSectionIcon() {
    Byte* bits = nullptr;
    HBITMAP color = CreateTopDown32BitSection(4, 4, &bits);
    auto* p = reinterpret_cast<LongWord*>(bits);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) p[y * 4 + x] = LongWord(60 * y) << 24 | 0xFF;
    Byte zeros[16]{};
    HBITMAP mask = CreateBitmap(4, 4, 1, 1, zeros);
    ICONINFO ii{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(color);
    DeleteObject(mask);
    return icon;
}

}  // namespace

// ---- Effects ----------------------------------------------------------------------------

TEST(PngEffects, BlendOfColourImages) {
    auto opaque = MakePng(2, 1, 8, COLOR_RGB, {1, 2, 3, 4, 5, 6});
    BlendPng(opaque.get(), 127);
    EXPECT_EQ(opaque->Header().ColorType, COLOR_RGBALPHA);
    EXPECT_EQ(opaque->AlphaRow(0)[0], 128);
    EXPECT_EQ(opaque->AlphaRow(0)[1], 128);
    EXPECT_EQ(opaque->PixelAt(1, 0), Rgb(4, 5, 6));

    // A colour key becomes alpha 0; the key chunk goes.
    auto keyed = MakePng(2, 1, 8, COLOR_RGB, {255, 0, 0, 0, 255, 0}, {Chunk("tRNS", {0, 0, 0, 255, 0, 0})});
    BlendPng(keyed.get(), 127);
    EXPECT_EQ(keyed->AlphaRow(0)[0], 128);
    EXPECT_EQ(keyed->AlphaRow(0)[1], 0);
    EXPECT_EQ(keyed->ChunkList().FindChunk<TChunktRNS>(), nullptr);
    for (const auto& c : pngtest::ChunksOf(pngtest::Save(*keyed))) EXPECT_NE(c.Type, "tRNS");
}

TEST(PngEffects, BlendOfGreyAndIndexedImagesMakesColourWithAlpha) {
    struct TCase {
        const char* Name;
        std::unique_ptr<TPNGObject> Png;
        LongWord Colors[3];
        Byte Alpha[3];
    };
    TCase cases[] = {
        {"grey", MakePng(3, 1, 8, COLOR_GRAYSCALE, {0, 100, 255}), {0, Rgb(100, 100, 100), White}, {127, 127, 127}},
        {"grey key",
         MakePng(3, 1, 8, COLOR_GRAYSCALE, {0, 100, 255}, {Chunk("tRNS", {0, 100})}),
         {0, Rgb(100, 100, 100), White},
         {127, 0, 127}},
        {"indexed key",
         MakePng(3, 1, 8, COLOR_PALETTE, {0, 1, 2}, {Chunk("PLTE", Palette4), Chunk("tRNS", {255, 0})}),
         {Red, Green, Blue},
         {127, 0, 127}},
        // Alpha levels of the palette are scaled as those of alpha images.
        {"indexed alpha",
         MakePng(3, 1, 8, COLOR_PALETTE, {0, 1, 2}, {Chunk("PLTE", Palette4), Chunk("tRNS", {255, 128, 0})}),
         {Red, Green, Blue},
         {128, 64, 0}},
    };
    for (TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        BlendPng(c.Png.get(), 127);
        ASSERT_EQ(c.Png->Header().ColorType, COLOR_RGBALPHA);
        EXPECT_EQ(c.Png->TransparencyKind(), tkPartial);
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(c.Png->PixelAt(x, 0), c.Colors[x]) << x;
            EXPECT_EQ(c.Png->AlphaRow(0)[x], c.Alpha[x]) << x;
        }
    }
}

TEST(PngEffects, Grayscale) {
    // Indexed: the palette turns grey, the image's palette handle with it.
    auto indexed = MakePng(3, 1, 8, COLOR_PALETTE, {0, 1, 2}, {Chunk("PLTE", Palette4)});
    GrayscalePng(indexed.get(), 255);
    EXPECT_EQ(indexed->PixelAt(0, 0), Rgb(76, 76, 76));     // 0.30 x 255
    EXPECT_EQ(indexed->PixelAt(1, 0), Rgb(150, 150, 150));  // 0.59 x 255
    EXPECT_EQ(indexed->PixelAt(2, 0), Rgb(28, 28, 28));     // 0.11 x 255
    PALETTEENTRY entry{};
    GetPaletteEntries(static_cast<TGraphic*>(indexed.get())->Palette(), 1, 1, &entry);
    EXPECT_EQ(entry.peRed, 150);
    EXPECT_EQ(entry.peBlue, 150);
    auto s = Surface(3, 1, clWhite);
    s->Canvas()->Draw(0, 0, indexed.get());
    EXPECT_EQ(Probe(*s, 1, 0), Rgb(150, 150, 150));

    auto colour = MakePng(1, 1, 8, COLOR_RGB, {255, 0, 0});
    GrayscalePng(colour.get(), 255);
    EXPECT_EQ(colour->PixelAt(0, 0), Rgb(76, 76, 76));

    // Grey stays as it is.
    auto grey = MakePng(2, 1, 8, COLOR_GRAYSCALE, {10, 200});
    TBytes before = pngtest::Save(*grey);
    GrayscalePng(grey.get(), 255);
    EXPECT_EQ(pngtest::Save(*grey), before);
}

TEST(PngEffects, DrawWithOptions) {
    auto png = MakePng(2, 1, 8, COLOR_RGBALPHA, {200, 0, 0, 255, 0, 0, 200, 0});
    struct TCase {
        TPngOptions Options;
        LongWord Pixel0;
    };
    const TCase cases[] = {
        {{}, Rgb(200, 0, 0)},
        {{pngBlendOnDisabled}, BlendRgb(Rgb(200, 0, 0), 128, White)},
        {{pngGrayscaleOnDisabled}, Rgb(60, 60, 60)},
        {{pngBlendOnDisabled, pngGrayscaleOnDisabled}, BlendRgb(Rgb(60, 60, 60), 128, White)},
    };
    for (const TCase& c : cases) {
        auto s = Surface(3, 1, clWhite);
        DrawPngWithOptions(png.get(), s->Canvas(), Rect(0, 0, 2, 1), c.Options);
        EXPECT_EQ(Probe(*s, 0, 0), c.Pixel0) << c.Options.Bits();
        EXPECT_EQ(Probe(*s, 1, 0), White) << c.Options.Bits();
    }
    // The picture itself is unchanged.
    EXPECT_EQ(png->AlphaRow(0)[0], 255);
    EXPECT_EQ(png->PixelAt(0, 0), Rgb(200, 0, 0));
}

// ---- Conversions ----------------------------------------------------------------------------

TEST(PngConversions, GraphicToPngFromBitmaps) {
    // Automatic transparent colour: the bottom-left pixel.
    auto bitmap = Surface(3, 2, clRed, pf24bit);
    bitmap->Canvas()->SetPixels(0, 1, clLime);
    bitmap->Canvas()->SetPixels(2, 0, clLime);
    bitmap->SetTransparent(true);
    auto png = GraphicToPng(bitmap.get());
    ASSERT_EQ(png->Header().ColorType, COLOR_RGBALPHA);
    EXPECT_EQ(png->AlphaRow(1)[0], 0);
    EXPECT_EQ(png->AlphaRow(0)[2], 0);
    EXPECT_EQ(png->AlphaRow(0)[0], 255);
    EXPECT_EQ(png->PixelAt(0, 0), Red);

    // A fixed colour.
    bitmap->SetTransparentColor(clRed);
    png = GraphicToPng(bitmap.get());
    EXPECT_EQ(png->AlphaRow(0)[0], 0);
    EXPECT_EQ(png->AlphaRow(0)[2], 255);

    // Not transparent: an opaque colour image.
    bitmap->SetTransparent(false);
    png = GraphicToPng(bitmap.get());
    EXPECT_EQ(png->Header().ColorType, COLOR_RGB);
    EXPECT_EQ(png->PixelAt(2, 0), Green);

    // A PNG is copied; an empty graphic gives an empty PNG.
    auto copy = GraphicToPng(png.get());
    EXPECT_EQ(copy->PixelAt(2, 0), Green);
    TBitmap empty;
    EXPECT_TRUE(GraphicToPng(&empty)->Empty());
}

TEST(PngConversions, GraphicToPngFromIcons) {
    // No alpha of its own: the mask decides, also on a 32-bit screen.
    auto color = Surface(4, 4, clBlue, pf24bit);
    auto mask = Surface(4, 4, clBlack, pf24bit);
    mask->Canvas()->SetPixels(1, 2, clWhite);
    TIcon icon;
    icon.SetHandle(MakeIcon(*color, *mask));
    ASSERT_EQ(icon.Width(), 4);
    auto png = GraphicToPng(&icon);
    ASSERT_EQ(png->Header().ColorType, COLOR_RGBALPHA);
    EXPECT_EQ(png->AlphaRow(2)[1], 0);
    EXPECT_EQ(png->AlphaRow(0)[0], 255);
    EXPECT_EQ(png->PixelAt(0, 0), Blue);

    // Alpha of its own replaces the mask's.
    TScreenDC screen;
    int bpp = GetDeviceCaps(screen.Handle(), BITSPIXEL) * GetDeviceCaps(screen.Handle(), PLANES);
    ASSERT_EQ(bpp, 32);
    ASSERT_TRUE(IsXpOrLater());
    TIcon alpha;
    alpha.SetHandle(MakeAlphaSectionIcon());
    png = GraphicToPng(&alpha);
    ASSERT_EQ(png->Header().ColorType, COLOR_RGBALPHA);
    for (int y = 0; y < 4; ++y) EXPECT_EQ(png->AlphaRow(y)[2], 60 * y) << y;
    EXPECT_EQ(png->PixelAt(3, 3), Blue);
}

TEST(PngConversions, FromImageAndMask) {
    auto image = Surface(3, 1, clRed, pf8bit);  // converted through 24 bits
    auto mask = Surface(3, 1, clBlack, pf24bit);
    mask->Canvas()->SetPixels(1, 0, TColor(int(Rgb(100, 0, 0))));
    mask->Canvas()->SetPixels(2, 0, clWhite);
    auto png = PngFromImageAndMask(image.get(), mask.get());
    ASSERT_EQ(png->Header().ColorType, COLOR_RGBALPHA);
    EXPECT_EQ(png->PixelAt(0, 0), Red);
    EXPECT_EQ(png->AlphaRow(0)[0], 0);
    EXPECT_EQ(png->AlphaRow(0)[1], 100);
    EXPECT_EQ(png->AlphaRow(0)[2], 255);

    png = PngFromImageAndMask(image.get(), mask.get(), true);
    EXPECT_EQ(png->AlphaRow(0)[0], 255);
    EXPECT_EQ(png->AlphaRow(0)[1], 155);
    EXPECT_EQ(png->AlphaRow(0)[2], 0);

    // Without a mask: opaque.
    png = PngFromImageAndMask(image.get(), nullptr);
    EXPECT_EQ(png->AlphaRow(0)[2], 255);
    EXPECT_TRUE(PngFromImageAndMask(nullptr, nullptr)->Empty());
}

TEST(PngConversions, FromMaskColor) {
    auto image = Surface(3, 1, clRed, pf24bit);
    image->Canvas()->SetPixels(1, 0, clFuchsia);
    auto png = PngFromMaskColor(image.get(), clFuchsia);
    EXPECT_EQ(png->AlphaRow(0)[0], 255);
    EXPECT_EQ(png->AlphaRow(0)[1], 0);
    png = PngFromMaskColor(image.get(), clNone);
    EXPECT_EQ(png->AlphaRow(0)[1], 255);
    // clDefault: the bitmap's own transparent colour (bottom-left: red).
    png = PngFromMaskColor(image.get(), clDefault);
    EXPECT_EQ(png->AlphaRow(0)[0], 0);
    EXPECT_EQ(png->AlphaRow(0)[1], 255);
}

TEST(PngConversions, FromImageListItems) {
    TImageList list(nullptr);
    list.SetWidth(4);
    list.SetHeight(4);
    auto image = Surface(4, 4, clFuchsia, pf24bit);
    image->Canvas()->Brush()->SetColor(clLime);
    image->Canvas()->FillRect(Rect(1, 1, 3, 3));
    ASSERT_EQ(list.AddMasked(image.get(), clFuchsia), 0);

    TPNGObject png;
    PngFromImageListItem(&png, &list, 0);
    ASSERT_EQ(png.Width(), 4);
    ASSERT_EQ(png.Header().ColorType, COLOR_RGBALPHA);
    EXPECT_EQ(png.AlphaRow(0)[0], 0);
    EXPECT_EQ(png.AlphaRow(1)[1], 255);
    EXPECT_EQ(png.PixelAt(2, 2), Green);

    // A bad index leaves the picture as it was.
    PngFromImageListItem(&png, &list, 5);
    EXPECT_EQ(png.Width(), 4);

    TPngImageList pngList(nullptr);
    auto source = MakePng(2, 1, 8, COLOR_RGB, {1, 2, 3, 4, 5, 6});
    pngList.AddPng(source.get());
    TPNGObject fromPng;
    PngFromImageListItem(&fromPng, &pngList, 0);
    EXPECT_EQ(fromPng.Header().ColorType, COLOR_RGB);
    EXPECT_EQ(fromPng.PixelAt(1, 0), Rgb(4, 5, 6));
}

// ---- Icons for the native list -----------------------------------------------------------------

TEST(PngIcons, AlphaIconCarriesTheAlpha) {
    EXPECT_NE(ComCtlVersion(), 0u);
    struct TCase {
        const char* Name;
        std::unique_ptr<TPNGObject> Png;
        Byte Alpha[2];
    };
    TCase cases[] = {
        {"alpha", MakePng(2, 1, 8, COLOR_RGBALPHA, {255, 0, 0, 200, 0, 0, 255, 0}), {200, 0}},
        {"key", MakePng(2, 1, 8, COLOR_RGB, {255, 0, 0, 0, 0, 255}, {Chunk("tRNS", {0, 0, 0, 0, 0, 255})}), {255, 0}},
        {"palette alpha",
         MakePng(2, 1, 8, COLOR_PALETTE, {0, 2}, {Chunk("PLTE", Palette4), Chunk("tRNS", {90, 255, 30})}),
         {90, 30}},
        // Opaque: no alpha at all; the all-visible mask decides.
        {"opaque", MakePng(2, 1, 8, COLOR_RGB, {255, 0, 0, 0, 0, 255}), {0, 0}},
    };
    for (TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        HICON icon = MakeAlphaIcon(c.Png.get());
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        std::vector<LongWord> pixels = Pixels32(info.hbmColor, 2, 1);
        EXPECT_EQ(pixels[0] >> 24, c.Alpha[0]);
        EXPECT_EQ(pixels[1] >> 24, c.Alpha[1]);
        EXPECT_EQ(pixels[0] & 0xFFFFFF, 0xFF0000u);  // red, as blue-green-red-alpha
        std::vector<LongWord> mask = Pixels32(info.hbmMask, 2, 1);
        EXPECT_EQ(mask[0] & 0xFFFFFF, 0u);
        EXPECT_EQ(mask[1] & 0xFFFFFF, 0u);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST(PngIcons, MaskedIconHidesInvisiblePixels) {
    auto png = MakePng(3, 1, 8, COLOR_RGBALPHA, {255, 0, 0, 255, 0, 0, 255, 128, 0, 255, 0, 0});
    HICON icon = MakeMaskedIcon(png.get(), clWhite);
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    std::vector<LongWord> mask = Pixels32(info.hbmMask, 3, 1);
    EXPECT_EQ(mask[0] & 0xFFFFFF, 0u);
    EXPECT_EQ(mask[1] & 0xFFFFFF, 0u);
    EXPECT_EQ(mask[2] & 0xFFFFFF, 0xFFFFFFu);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    // Drawn: opaque pixels as they are, half-transparent ones blended over
    // the background given, invisible ones leave the screen.
    EXPECT_EQ(IconPixel(icon, 3, clGray, 0, 0), Red);
    EXPECT_EQ(IconPixel(icon, 3, clGray, 1, 0), BlendRgb(Blue, 128, White));
    EXPECT_EQ(IconPixel(icon, 3, clGray, 2, 0), Gray);
    DestroyIcon(icon);

    // An opaque image is visible throughout.
    auto opaque = MakePng(2, 1, 8, COLOR_RGB, {255, 0, 0, 0, 0, 255});
    HICON full = MakeMaskedIcon(opaque.get(), clWhite);
    EXPECT_EQ(IconPixel(full, 2, clGray, 1, 0), Blue);
    DestroyIcon(full);
}
