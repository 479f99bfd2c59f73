// The PNG picture under Windows: the three drawing modes probed pixel by
// pixel over known backgrounds, the picture-format registry, copying to and
// from bitmaps, the palette, resizing, the canvas and the clipboard.
#include "png_test_support_win.h"

#include <cstdio>
#include <filesystem>

#include "classlib/core/filer.h"

using namespace pngwintest;

namespace {

const LongWord Red = Rgb(255, 0, 0), Green = Rgb(0, 255, 0), Blue = Rgb(0, 0, 255), White = Rgb(255, 255, 255),
               Gray = Rgb(128, 128, 128), Black = 0;

// 2 x 2 colour image: red, green / blue, white.
const TBytes Rgb2x2 = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};

// Draws png into rect of a width x height surface filled with background.
std::unique_ptr<TBitmap> DrawOver(TPNGObject& png, const TRect& rect, TColor background, int width = 6,
                                  int height = 6) {
    auto surface = Surface(width, height, background);
    surface->Canvas()->StretchDraw(rect, &png);
    return surface;
}

}  // namespace

// ---- Drawing -----------------------------------------------------------------------

TEST(PngDraw, OpaqueImageCoversItsRectangleOnly) {
    auto png = MakePng(2, 2, 8, COLOR_RGB, Rgb2x2);
    ASSERT_EQ(png->TransparencyKind(), tkNone);
    auto s = DrawOver(*png, Rect(1, 1, 3, 3), clGray);
    EXPECT_EQ(Probe(*s, 1, 1), Red);
    EXPECT_EQ(Probe(*s, 2, 1), Green);
    EXPECT_EQ(Probe(*s, 1, 2), Blue);
    EXPECT_EQ(Probe(*s, 2, 2), White);
    EXPECT_EQ(Probe(*s, 0, 0), Gray);
    EXPECT_EQ(Probe(*s, 3, 3), Gray);

    // Twice the size: each pixel becomes a 2 x 2 block, no smoothing.
    auto big = DrawOver(*png, Rect(0, 0, 4, 4), clGray);
    EXPECT_EQ(Probe(*big, 1, 1), Red);
    EXPECT_EQ(Probe(*big, 2, 1), Green);
    EXPECT_EQ(Probe(*big, 1, 3), Blue);
    EXPECT_EQ(Probe(*big, 3, 3), White);
}

TEST(PngDraw, KeyColourLeavesTheCanvasShowing) {
    struct TCase {
        const char* Name;
        std::unique_ptr<TPNGObject> Png;
        LongWord Shown;  // the colour of pixel 0, 0
        int HiddenX;     // the pixel of the key colour
    };
    TCase cases[] = {
        // Colour with a 6-byte key: green.
        {"colour", MakePng(2, 2, 8, COLOR_RGB, Rgb2x2, {Chunk("tRNS", {0, 0, 0, 255, 0, 0})}), Red, 1},
        // Grey with a 2-byte key: 100.
        {"grey", MakePng(2, 2, 8, COLOR_GRAYSCALE, {200, 100, 200, 100}, {Chunk("tRNS", {0, 100})}), Rgb(200, 200, 200),
         1},
        // Indexed with one transparent entry (index 1).
        {"indexed", MakePng(2, 2, 8, COLOR_PALETTE, {0, 1, 2, 3}, {Chunk("PLTE", Palette4), Chunk("tRNS", {255, 0})}),
         Red, 1},
    };
    for (TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ASSERT_EQ(c.Png->TransparencyKind(), tkColorKey);
        auto s = DrawOver(*c.Png, Rect(1, 1, 3, 3), clGray);
        EXPECT_EQ(Probe(*s, 1, 1), c.Shown);
        EXPECT_EQ(Probe(*s, 1 + c.HiddenX, 1), Gray);
        EXPECT_EQ(Probe(*s, 0, 0), Gray);
        // Stretched: the key stays transparent in every copy of the pixel.
        auto big = DrawOver(*c.Png, Rect(0, 0, 4, 4), clGray);
        EXPECT_EQ(Probe(*big, 1, 1), c.Shown);
        EXPECT_EQ(Probe(*big, 2, 0), Gray);
        EXPECT_EQ(Probe(*big, 3, 1), Gray);
    }
}

TEST(PngDraw, TheKeyIsDecidedOnTheFilesSamples) {
    struct TCase {
        const char* Name;
        std::unique_ptr<TPNGObject> Png;
    };
    // Through a gamma of 1 / 2.2 the samples 254 and 255 both show as 255;
    // only the pixel that has the key (255) in the file is left out. An
    // indexed image's opaque entry of the transparent entry's colour shows.
    Byte gama[4] = {0, 1, 0x86, 0xA0};  // 100000
    TCase cases[] = {
        {"gamma", MakePng(2, 1, 8, COLOR_RGB, {255, 255, 255, 254, 254, 254},
                          {Chunk("gAMA", TBytes(gama, gama + 4)), Chunk("tRNS", {0, 255, 0, 255, 0, 255})})},
        {"indexed", MakePng(2, 1, 8, COLOR_PALETTE, {0, 1},
                            {Chunk("PLTE", {255, 255, 255, 255, 255, 255}), Chunk("tRNS", {0, 255})})},
    };
    for (TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto s = DrawOver(*c.Png, Rect(0, 0, 2, 1), clGray);
        EXPECT_EQ(Probe(*s, 0, 0), Gray);
        EXPECT_EQ(Probe(*s, 1, 0), Rgb(255, 255, 255));
    }
}

TEST(PngDraw, AlphaBlendsOverTheCanvas) {
    const LongWord s = Rgb(200, 100, 50);
    auto png = MakePng(3, 1, 8, COLOR_RGBALPHA, {200, 100, 50, 0, 200, 100, 50, 128, 200, 100, 50, 255});
    ASSERT_EQ(png->TransparencyKind(), tkPartial);
    auto white = DrawOver(*png, Rect(1, 1, 4, 2), clWhite);
    EXPECT_EQ(Probe(*white, 1, 1), White);
    EXPECT_EQ(Probe(*white, 2, 1), BlendRgb(s, 128, White));
    EXPECT_EQ(Probe(*white, 2, 1), Rgb(227, 177, 152));
    EXPECT_EQ(Probe(*white, 3, 1), s);
    EXPECT_EQ(Probe(*white, 4, 1), White);

    // Twice the size, by sampling: columns 0-1 from pixel 0, 2-3 from 1...
    auto big = DrawOver(*png, Rect(0, 0, 6, 2), clGray);
    for (int x = 0; x < 6; ++x) {
        LongWord expected = x < 2 ? Gray : x < 4 ? BlendRgb(s, 128, Gray) : s;
        EXPECT_EQ(Probe(*big, x, 0), expected) << x;
        EXPECT_EQ(Probe(*big, x, 1), expected) << x;
    }

    // A reversed rectangle is drawn as its normal form.
    auto reversed = DrawOver(*png, Rect(4, 2, 1, 1), clWhite);
    EXPECT_EQ(Probe(*reversed, 3, 1), s);
    EXPECT_EQ(Probe(*reversed, 2, 1), BlendRgb(s, 128, White));

    // Grey with alpha: the grey byte for all three channels.
    auto grey = MakePng(1, 1, 8, COLOR_GRAYSCALEALPHA, {90, 128});
    EXPECT_EQ(Probe(*DrawOver(*grey, Rect(0, 0, 1, 1), clBlack), 0, 0), Rgb(45, 45, 45));
}

TEST(PngDraw, PaletteWithSeveralAlphaLevelsIsBlended) {
    // Alpha 255, 128, 0: not a single key colour.
    auto png = MakePng(3, 1, 8, COLOR_PALETTE, {0, 2, 3}, {Chunk("PLTE", Palette4), Chunk("tRNS", {255, 255, 128, 0})});
    ASSERT_EQ(png->TransparencyKind(), tkPartial);
    auto s = DrawOver(*png, Rect(0, 0, 3, 1), clGray);
    EXPECT_EQ(Probe(*s, 0, 0), Red);
    EXPECT_EQ(Probe(*s, 1, 0), BlendRgb(Blue, 128, Gray));
    EXPECT_EQ(Probe(*s, 2, 0), Gray);

    // Two transparent entries: both leave the canvas, drawn blended.
    auto two = MakePng(3, 1, 2, COLOR_PALETTE, {0x1B}, {Chunk("PLTE", Palette4), Chunk("tRNS", {0, 0})});
    ASSERT_EQ(two->TransparencyKind(), tkPartial);
    auto t = DrawOver(*two, Rect(0, 0, 3, 1), clGray);
    EXPECT_EQ(Probe(*t, 0, 0), Gray);
    EXPECT_EQ(Probe(*t, 1, 0), Gray);
    EXPECT_EQ(Probe(*t, 2, 0), Blue);
}

TEST(PngDraw, ShortTransparencyChunkIsNoKey) {
    struct TCase {
        const char* Name;
        std::unique_ptr<TPNGObject> Png;
    };
    TCase cases[] = {
        {"colour, 2 bytes", MakePng(2, 2, 8, COLOR_RGB, Rgb2x2, {Chunk("tRNS", {0, 0})})},
        {"grey, 1 byte", MakePng(2, 2, 8, COLOR_GRAYSCALE, {0, 0, 0, 0}, {Chunk("tRNS", {0})})},
    };
    for (TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Png->TransparencyKind(), tkNone);
        EXPECT_FALSE(static_cast<TGraphic*>(c.Png.get())->Transparent());
        auto s = DrawOver(*c.Png, Rect(0, 0, 2, 2), clGray);
        EXPECT_NE(Probe(*s, 0, 0), Gray);
        EXPECT_NE(Probe(*s, 1, 1), Gray);
    }
}

TEST(PngDraw, EmptyImageDrawsNothing) {
    TPNGObject png;
    EXPECT_TRUE(png.Empty());
    EXPECT_EQ(png.Width(), 0);
    auto s = DrawOver(png, Rect(0, 0, 6, 6), clGray);
    EXPECT_EQ(Probe(*s, 3, 3), Gray);
    png.Draw(s->Canvas(), Rect(0, 0, 6, 6));
    EXPECT_EQ(Probe(*s, 3, 3), Gray);
}

// ---- The picture-format registry -------------------------------------------------------

TEST(PngRegistry, PngFilesLoadThroughPictures) {
    EXPECT_STREQ(PngFileExtension, "PNG");
    EXPECT_STREQ(PngFileDescription, "Portable Network Graphics");
    EXPECT_EQ(TPicture::FindFileFormat("png").Class, TPNGObject::StaticClass());
    EXPECT_EQ(TPicture::FindFileFormat(".PNG").Class, TPNGObject::StaticClass());
    EXPECT_EQ(TPicture::FindGraphicClass("TPNGObject").Class, TPNGObject::StaticClass());

    // The file goes to the temporary folder, and is removed however the
    // test ends.
    struct TTempFile {
        String Name = (std::filesystem::temp_directory_path() / "quillmere-png-object-test.png").string();
        ~TTempFile() { std::remove(Name.c_str()); }
    } file;
    MakePng(2, 2, 8, COLOR_RGB, Rgb2x2)->SaveToFile(file.Name);
    TPicture picture;
    picture.LoadFromFile(file.Name);
    auto* png = dynamic_cast<TPNGObject*>(picture.Graphic());
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(png->Width(), 2);
    EXPECT_EQ(png->PixelAt(1, 0), Green);

    // Finalising removes the format; initialising brings it back.
    PngFinalize();
    EXPECT_FALSE(TPicture::FindFileFormat("png"));
    TPicture other;
    EXPECT_THROW(other.LoadFromFile(file.Name), EInvalidGraphic);
    PngInitialize();
    other.LoadFromFile(file.Name);
    EXPECT_NE(dynamic_cast<TPNGObject*>(other.Graphic()), nullptr);
}

// A component with a picture, for the stored layout.
class TPngPictureHolder : public TComponent {
    QL_CLASS(TPngPictureHolder, TComponent)
public:
    explicit TPngPictureHolder(TComponent* owner) : TComponent(owner) {}
    ~TPngPictureHolder() override { delete FPicture; }
    TPicture* Picture() const { return FPicture; }

private:
    TPicture* FPicture = new TPicture;
};

TClass TPngPictureHolder::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPngPictureHolder>("TPngPictureHolder")
                                       .Prop("Picture", &TPngPictureHolder::Picture, nullptr)
                                       .Build();
    return &info;
}

TEST(PngRegistry, PictureDataInAStoredLayout) {
    TPngPictureHolder holder(nullptr);
    holder.SetName("Holder1");
    auto png = MakePng(2, 2, 8, COLOR_RGB, Rgb2x2);
    holder.Picture()->SetGraphic(png.get());
    String text = TWriter().WriteRootComponent(&holder);
    // The class name with its length, the PNG's length, then the PNG.
    TBytes saved = pngtest::Save(*png);
    char length[9];
    std::snprintf(length, sizeof length, "%02X%02X%02X%02X", unsigned(saved.size() & 255),
                  unsigned(saved.size() >> 8 & 255), unsigned(saved.size() >> 16 & 255), unsigned(saved.size() >> 24));
    size_t data = text.find("Picture.Data = {");
    ASSERT_NE(data, String::npos) << text;
    EXPECT_EQ(text.find(String("0A54504E474F626A656374") + length + "89504E47"),
              text.find_first_not_of(" \r\n", data + 16))
        << text;

    TPngPictureHolder read(nullptr);
    TReader(text).ReadRootComponent(&read);
    auto* back = dynamic_cast<TPNGObject*>(read.Picture()->Graphic());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->PixelAt(1, 1), White);
    EXPECT_EQ(back->PixelAt(0, 1), Blue);
}

// ---- Copying -------------------------------------------------------------------------------

TEST(PngAssign, FromBitmaps) {
    // A transparent 24-bit bitmap: a colour image with a 6-byte key.
    auto bitmap = Surface(3, 2, clRed, pf24bit);
    bitmap->Canvas()->SetPixels(1, 0, clLime);
    bitmap->SetTransparentColor(clLime);
    bitmap->SetTransparent(true);
    TPNGObject png;
    png.Assign(bitmap.get());
    ASSERT_EQ(png.Width(), 3);
    ASSERT_EQ(png.Height(), 2);
    EXPECT_EQ(png.Header().ColorType, COLOR_RGB);
    EXPECT_EQ(png.Header().BitDepth, 8);
    auto* trns = png.ChunkList().FindChunk<TChunktRNS>();
    ASSERT_NE(trns, nullptr);
    EXPECT_EQ(trns->ChunkDataSize(), 6u);
    EXPECT_EQ(png.TransparencyKind(), tkColorKey);
    EXPECT_EQ(png.KeyColor(), Green);
    auto s = DrawOver(png, Rect(0, 0, 3, 2), clGray);
    EXPECT_EQ(Probe(*s, 0, 0), Red);
    EXPECT_EQ(Probe(*s, 1, 0), Gray);

    // An 8-bit bitmap: an indexed image with its palette.
    auto indexed = Surface(2, 1, clBlue, pf8bit);
    indexed->Canvas()->SetPixels(0, 0, clYellow);
    png.Assign(indexed.get());
    EXPECT_EQ(png.Header().ColorType, COLOR_PALETTE);
    EXPECT_EQ(png.Header().BitDepth, 8);
    ASSERT_NE(png.ChunkList().FindChunk<TChunkPLTE>(), nullptr);
    EXPECT_EQ(png.ChunkList().FindChunk<TChunkPLTE>()->EntryCount, 256);
    EXPECT_EQ(png.PixelAt(0, 0), Rgb(255, 255, 0));
    EXPECT_EQ(png.PixelAt(1, 0), Blue);
    EXPECT_EQ(png.TransparencyKind(), tkNone);

    // A 1-bit bitmap.
    auto mono = Surface(9, 1, clWhite, pf1bit);
    mono->Canvas()->SetPixels(8, 0, clBlack);
    png.Assign(mono.get());
    EXPECT_EQ(png.Header().BitDepth, 1);
    EXPECT_EQ(png.PixelAt(7, 0), White);
    EXPECT_EQ(png.PixelAt(8, 0), Black);

    // The saved picture reads back the same.
    TBytes saved = pngtest::Save(png);
    auto back = LoadPng(saved);
    EXPECT_EQ(back->PixelAt(8, 0), Black);
    EXPECT_EQ(back->Header().BitDepth, 1);
}

TEST(PngAssign, KeyColourMissingFromThePaletteSetsNoTransparency) {
    // The default 8-bit palette has no (1, 2, 3).
    auto bitmap = Surface(2, 1, clRed, pf8bit);
    bitmap->SetTransparentColor(TColor(int(Rgb(1, 2, 3))));
    bitmap->SetTransparent(true);
    TPNGObject png;
    png.Assign(bitmap.get());
    EXPECT_EQ(png.TransparencyKind(), tkNone);
    auto s = DrawOver(png, Rect(0, 0, 2, 1), clGray);
    EXPECT_EQ(Probe(*s, 0, 0), Red);
    EXPECT_EQ(Probe(*s, 1, 0), Red);
    for (const auto& c : pngtest::ChunksOf(pngtest::Save(png))) EXPECT_NE(c.Type, "tRNS");

    // A colour the palette holds is the key.
    bitmap->SetTransparentColor(clRed);
    bitmap->Canvas()->SetPixels(0, 0, clBlue);
    png.Assign(bitmap.get());
    EXPECT_EQ(png.TransparencyKind(), tkColorKey);
    auto k = DrawOver(png, Rect(0, 0, 2, 1), clGray);
    EXPECT_EQ(Probe(*k, 0, 0), Blue);
    EXPECT_EQ(Probe(*k, 1, 0), Gray);
}

TEST(PngAssign, ToBitmapsByFormat) {
    struct TCase {
        const char* Name;
        std::unique_ptr<TPNGObject> Png;
        TPixelFormat Format;
        LongWord Pixel0, Pixel1;  // on the bitmap
    };
    TCase cases[] = {
        {"colour", MakePng(2, 1, 8, COLOR_RGB, {255, 0, 0, 0, 0, 255}), pf24bit, Red, Blue},
        // Alpha is flattened over the new bitmap's white.
        {"alpha", MakePng(2, 1, 8, COLOR_RGBALPHA, {0, 0, 255, 128, 0, 0, 255, 0}), pf24bit, BlendRgb(Blue, 128, White),
         White},
        {"indexed 8", MakePng(2, 1, 8, COLOR_PALETTE, {1, 3}, {Chunk("PLTE", Palette4)}), pf8bit, Green, White},
        {"indexed 2", MakePng(2, 1, 2, COLOR_PALETTE, {0x20}, {Chunk("PLTE", Palette4)}), pf4bit, Red, Blue},
        {"grey 4", MakePng(2, 1, 4, COLOR_GRAYSCALE, {0xF5}), pf4bit, White, Rgb(85, 85, 85)},
        {"grey 1", MakePng(2, 1, 1, COLOR_GRAYSCALE, {0x40}), pf1bit, Black, White},
        {"grey 8", MakePng(2, 1, 8, COLOR_GRAYSCALE, {7, 250}), pf24bit, Rgb(7, 7, 7), Rgb(250, 250, 250)},
    };
    for (TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(BitmapFormatFor(*c.Png), c.Format);
        TBitmap bitmap;
        bitmap.Assign(c.Png.get());
        EXPECT_EQ(bitmap.PixelFormat(), c.Format);
        EXPECT_EQ(bitmap.Width(), 2);
        EXPECT_EQ(bitmap.Height(), 1);
        EXPECT_FALSE(bitmap.Transparent());
        EXPECT_EQ(PixelColor(bitmap, 0, 0), c.Pixel0);
        EXPECT_EQ(PixelColor(bitmap, 1, 0), c.Pixel1);
    }

    // A colour-keyed image: a transparent bitmap whose key pixels hold the
    // key colour, so that drawing it leaves them out.
    auto keyed = MakePng(2, 1, 8, COLOR_RGB, {255, 0, 0, 0, 255, 0}, {Chunk("tRNS", {0, 0, 0, 255, 0, 0})});
    TBitmap bitmap;
    bitmap.Assign(keyed.get());
    EXPECT_TRUE(bitmap.Transparent());
    EXPECT_EQ(LongWord(bitmap.TransparentColor()), Green);
    EXPECT_EQ(PixelColor(bitmap, 1, 0), Green);
    auto s = Surface(2, 1, clGray);
    s->Canvas()->Draw(0, 0, &bitmap);
    EXPECT_EQ(Probe(*s, 0, 0), Red);
    EXPECT_EQ(Probe(*s, 1, 0), Gray);

    // An empty PNG empties the bitmap.
    TPNGObject empty;
    bitmap.Assign(&empty);
    EXPECT_TRUE(bitmap.Empty());
}

TEST(PngAssign, BetweenPicturesAndOthers) {
    auto source = MakePng(2, 2, 8, COLOR_RGB, Rgb2x2);
    source->SetDeflateLevel(3);
    source->SetRowFilters({rfUp});
    TPNGObject copy;
    copy.Assign(source.get());
    EXPECT_EQ(copy.DeflateLevel(), 3);
    EXPECT_EQ(copy.RowFilters(), TPngRowFilters({rfUp}));
    EXPECT_EQ(copy.PixelAt(0, 1), Blue);
    // The copy has pixels of its own.
    copy.SetPixelAt(0, 1, Red);
    EXPECT_EQ(source->PixelAt(0, 1), Blue);
    EXPECT_EQ(copy.ChunkList().Count(), source->ChunkList().Count());

    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());

    TIcon icon;
    EXPECT_THROW(copy.Assign(&icon), EConvertError);
}

// ---- Palette, size, canvas, clipboard ------------------------------------------------------

TEST(PngPicture, PaletteOfIndexedImages) {
    auto colour = MakePng(2, 2, 8, COLOR_RGB, Rgb2x2);
    EXPECT_EQ(static_cast<TGraphic*>(colour.get())->Palette(), nullptr);

    auto png = MakePng(2, 1, 2, COLOR_PALETTE, {0x10}, {Chunk("PLTE", Palette4)});
    HPALETTE palette = static_cast<TGraphic*>(png.get())->Palette();
    ASSERT_NE(palette, nullptr);
    PALETTEENTRY entries[4]{};
    ASSERT_EQ(GetPaletteEntries(palette, 0, 4, entries), 4u);
    EXPECT_EQ(entries[1].peGreen, 255);

    // A new palette: the image shows its colours and keeps the handle.
    Byte buffer[sizeof(LOGPALETTE) + 16 * sizeof(PALETTEENTRY)]{};
    auto* log = reinterpret_cast<LOGPALETTE*>(buffer);
    log->palVersion = 0x300;
    log->palNumEntries = 16;
    log->palPalEntry[0] = {10, 20, 30, 0};
    log->palPalEntry[1] = {40, 50, 60, 0};
    HPALETTE replacement = CreatePalette(log);
    png->SetPalette(replacement);
    EXPECT_EQ(static_cast<TGraphic*>(png.get())->Palette(), replacement);
    EXPECT_EQ(png->PixelAt(0, 0), Rgb(10, 20, 30));
    EXPECT_EQ(png->PixelAt(1, 0), Rgb(40, 50, 60));
    auto s = DrawOver(*png, Rect(0, 0, 2, 1), clWhite);
    EXPECT_EQ(Probe(*s, 0, 0), Rgb(10, 20, 30));
    EXPECT_EQ(Probe(*s, 1, 0), Rgb(40, 50, 60));

    // An image without a palette ignores one.
    colour->SetPalette(nullptr);
    EXPECT_EQ(static_cast<TGraphic*>(colour.get())->Palette(), nullptr);
}

TEST(PngPicture, PaletteHoldsOnlyTheImagesOwnColours) {
    // An 8-bit bitmap with a PLTE of two colours: a palette of two entries.
    auto png = MakePng(2, 1, 8, COLOR_PALETTE, {0, 1}, {Chunk("PLTE", {200, 0, 0, 0, 200, 0})});
    HPALETTE palette = static_cast<TGraphic*>(png.get())->Palette();
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 2u);
    PALETTEENTRY entries[2]{};
    ASSERT_EQ(GetPaletteEntries(palette, 0, 2, entries), 2u);
    EXPECT_EQ(entries[0].peRed, 200);
    EXPECT_EQ(entries[1].peGreen, 200);
    // A pixel written in a colour the palette lacks takes one of its two.
    png->SetPixelAt(0, 0, Rgb(0, 0, 0));
    EXPECT_NO_THROW(DrawOver(*png, Rect(0, 0, 2, 1), clWhite));
}

TEST(PngPicture, ResizeKeepsTheTopLeftAndRebindsTheCanvas) {
    auto png = MakePng(2, 2, 8, COLOR_RGBALPHA, {255, 0, 0, 10, 0, 255, 0, 20, 0, 0, 255, 30, 9, 9, 9, 40});
    HDC before = png->MemoryDC();
    png->SetWidth(3);
    EXPECT_EQ(png->Width(), 3);
    EXPECT_EQ(png->Height(), 2);
    EXPECT_EQ(png->PixelAt(1, 1), Rgb(9, 9, 9));
    EXPECT_EQ(png->AlphaRow(1)[1], 40);
    EXPECT_EQ(png->AlphaRow(1)[2], 255);
    EXPECT_NE(png->MemoryDC(), nullptr);
    EXPECT_NE(png->MemoryDC(), before);
    EXPECT_EQ(png->Canvas()->Handle(), png->MemoryDC());
    png->SetHeight(1);
    EXPECT_EQ(png->Height(), 1);
    EXPECT_EQ(png->PixelAt(0, 0), Red);

    try {
        png->SetWidth(0);
        ADD_FAILURE() << "no exception";
    } catch (const EPNGInvalidNewSize& e) {
        EXPECT_EQ(e.MessageId(), 64995);
    }
    TPNGObject empty;
    EXPECT_THROW(empty.SetWidth(5), EPNGHeaderNotPresent);
    EXPECT_EQ(png->PixelAt(-1, 0), 0u);
}

TEST(PngPicture, CanvasDrawsOnThePixels) {
    auto png = MakePng(4, 4, 8, COLOR_RGB, TBytes(48, 0));
    TCanvas* canvas = png->Canvas();
    canvas->Brush()->SetColor(clBlue);
    canvas->FillRect(Rect(1, 1, 3, 3));
    EXPECT_EQ(png->PixelAt(0, 0), Black);
    EXPECT_EQ(png->PixelAt(1, 1), Blue);
    EXPECT_EQ(png->PixelAt(2, 2), Blue);
    EXPECT_EQ(png->PixelAt(3, 3), Black);
    // What the canvas drew is saved.
    auto back = LoadPng(pngtest::Save(*png));
    EXPECT_EQ(back->PixelAt(2, 1), Blue);

    // A new image binds the canvas to its new pixels; an empty one unbinds it.
    png->Assign(MakePng(1, 1, 8, COLOR_GRAYSCALE, {0}).get());
    EXPECT_EQ(png->Canvas()->Handle(), png->MemoryDC());
    png->Assign(nullptr);
    EXPECT_FALSE(png->Canvas()->HandleAllocated());
    EXPECT_EQ(png->MemoryDC(), nullptr);
}

TEST(PngPicture, ClipboardThroughABitmap) {
    auto png = MakePng(2, 2, 8, COLOR_RGB, Rgb2x2);
    Word format = 0;
    HANDLE data = nullptr;
    HPALETTE palette = nullptr;
    png->SaveToClipboardFormat(format, data, palette);
    EXPECT_EQ(format, CF_BITMAP);
    ASSERT_NE(data, nullptr);

    TPNGObject back;
    back.LoadFromClipboardFormat(format, data, palette);
    EXPECT_EQ(back.Width(), 2);
    EXPECT_EQ(back.TransparencyKind(), tkNone);
    EXPECT_EQ(back.PixelAt(0, 0), Red);
    EXPECT_EQ(back.PixelAt(1, 1), White);
    DeleteObject(data);
    if (palette) DeleteObject(palette);
}

TEST(PngPicture, ChangesAreAnnounced) {
    struct TCounter : TObject {
        int Count = 0;
        void Changed(TObject*) { ++Count; }
    } counter;
    TPNGObject png;
    png.OnChange = TNotifyEvent::Bind<&TCounter::Changed>(&counter);
    png.Assign(MakePng(2, 2, 8, COLOR_RGB, Rgb2x2).get());
    EXPECT_EQ(counter.Count, 1);
    png.SetWidth(3);
    EXPECT_EQ(counter.Count, 2);
    EXPECT_TRUE(png.Modified());
}
